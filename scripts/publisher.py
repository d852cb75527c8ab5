#!/usr/bin/env python3
"""A certificate's subject as Windows writes it in a package's Publisher.

    publisher.py CERT.der              prints it
    publisher.py CERT.der MANIFEST     fails, saying both, when MANIFEST's Identity Publisher
                                       is not it

Windows' form (CertNameToStr, X.500 keys, reversed): the subject's parts most significant last,
joined by ", "; Windows' key for each attribute it has one for, OID.n.n.n for the rest; a value
in double quotes (inner quotes doubled) when it is empty, starts or ends with white space or
holds one of , + = " < > # ; or a line break. A part of several attributes ("+") cannot be a
package's Publisher and is refused. The subject is read from the certificate's DER bytes, so no
other program's rendering of names stands between the two.
"""
import sys
import xml.etree.ElementTree as ElementTree

KEYS = {
    "2.5.4.3": "CN", "2.5.4.7": "L", "2.5.4.10": "O", "2.5.4.11": "OU",
    "1.2.840.113549.1.9.1": "E", "2.5.4.6": "C", "2.5.4.8": "S", "2.5.4.9": "STREET",
    "2.5.4.12": "T", "2.5.4.42": "G", "2.5.4.43": "I", "2.5.4.4": "SN",
    "0.9.2342.19200300.100.1.25": "DC", "2.5.4.5": "SERIALNUMBER", "2.5.4.13": "Description",
    "2.5.4.17": "PostalCode", "2.5.4.18": "POBox", "2.5.4.20": "Phone",
    "2.5.4.24": "X21Address", "2.5.4.46": "dnQualifier",
}
QUOTED_CHARACTERS = set(',+="<>#;\n')
SEQUENCE, SET, OID, CONTEXT_0 = 0x30, 0x31, 0x06, 0xA0
TEXT_CODECS = {0x0C: "utf-8", 0x13: "latin-1", 0x14: "latin-1", 0x16: "ascii",
               0x1E: "utf-16-be", 0x1C: "utf-32-be"}
MANIFEST_NAMESPACE = "{http://schemas.microsoft.com/appx/manifest/foundation/windows10}"


class Refused(Exception):
    pass


def elements(data):
    """(tag, content) of each DER element in data."""
    at = 0
    while at < len(data):
        tag, length = data[at], data[at + 1]
        at += 2
        if length & 0x80:
            count = length & 0x7F
            length = int.from_bytes(data[at:at + count], "big")
            at += count
        yield tag, data[at:at + length]
        at += length


def object_identifier(content):
    numbers, value = [], 0
    for byte in content:
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            numbers.append(value)
            value = 0
    first = min(numbers[0] // 40, 2)
    return ".".join(map(str, [first, numbers[0] - 40 * first, *numbers[1:]]))


def subject(certificate):
    """The subject's parts in the certificate's order, each a list of (OID, text)."""
    (_, whole), = elements(certificate)
    _, tbs = next(elements(whole))
    fields = [element for element in elements(tbs) if element[0] != CONTEXT_0]
    # serial number, signature algorithm, issuer, validity, subject
    _, name = fields[4]
    parts = []
    for _, part in elements(name):
        attributes = []
        for _, attribute in elements(part):
            (_, oid), (kind, value) = elements(attribute)
            if kind not in TEXT_CODECS:
                raise Refused(f"attribute {object_identifier(oid)} is not text (tag {kind})")
            attributes.append((object_identifier(oid), value.decode(TEXT_CODECS[kind])))
        parts.append(attributes)
    return parts


def quoted(value):
    if value == "" or value != value.strip() or QUOTED_CHARACTERS & set(value):
        return '"' + value.replace('"', '""') + '"'
    return value


def publisher(certificate):
    texts = []
    for part in reversed(subject(certificate)):
        if len(part) != 1:
            raise Refused("the subject has a part of several attributes (" +
                          " + ".join(oid for oid, _ in part) + "), which a package's "
                          "Publisher cannot state")
        (oid, value), = part
        texts.append(f"{KEYS.get(oid, 'OID.' + oid)}={quoted(value)}")
    return ", ".join(texts)


def main(arguments):
    if len(arguments) not in (1, 2):
        sys.exit(__doc__)
    try:
        with open(arguments[0], "rb") as file:
            signer = publisher(file.read())
    except (Refused, ValueError, IndexError) as error:
        sys.exit(f"publisher.py: {arguments[0]}: {error}")
    if len(arguments) == 1:
        print(signer)
        return
    identity = ElementTree.parse(arguments[1]).getroot().find(MANIFEST_NAMESPACE + "Identity")
    declared = identity.get("Publisher") if identity is not None else None
    if declared != signer:
        sys.exit(f"the manifest's Publisher '{declared}' is not the signing certificate's "
                 f"subject '{signer}': Windows would refuse the package. Configure the build "
                 "again with the certificate in QUORIEL_SIGNING_PFX.")


if __name__ == "__main__":
    main(sys.argv[1:])
