#!/usr/bin/env python3
"""Checks the built Windows 11 package against the built module and its own signature.

    check_package.py contents MSIX MODULE PROBE WINE
        the manifest's class IDs, version and module name against the module (PROBE, run under
        WINE, loads it); the block map against the packed files; the content types; the ZIP
        layout Windows' packers write (ZIP64 end records, the entries' order)
    check_package.py signature MSIX CER
        osslsigncode accepts the package with CER as its only trusted certificate, and rejects
        a copy whose manifest differs in one byte
    check_package.py icon ICO DRAW-SCRIPT
        the committed icon is what the drawing script makes today
"""
import base64
import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import zipfile
import xml.etree.ElementTree as ElementTree

from zip_layout import Layout

NAMESPACES = {
    "m": "http://schemas.microsoft.com/appx/manifest/foundation/windows10",
    "desktop4": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/4",
    "desktop5": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/5",
    "com": "http://schemas.microsoft.com/appx/manifest/com/windows10",
    "b": "http://schemas.microsoft.com/appx/2010/blockmap",
    "t": "http://schemas.openxmlformats.org/package/2006/content-types",
}
MANIFEST = "AppxManifest.xml"
BLOCK_MAP = "AppxBlockMap.xml"
CONTENT_TYPES = "[Content_Types].xml"
SIGNATURE = "AppxSignature.p7x"
FOOTPRINT = {BLOCK_MAP, CONTENT_TYPES, SIGNATURE}
# After the payload, in this order; the signer adds the signature last.
FOOTPRINT_ORDER = [MANIFEST, BLOCK_MAP, CONTENT_TYPES, SIGNATURE]
BLOCK_SIZE = 64 * 1024
S_OK = "0x00000000"
LOCAL_HEADER_FLAGS_OFFSET = 6
LOCAL_HEADER_CRC_OFFSET = 14
FLAG_DATA_DESCRIPTOR = 0x0008
DATA_DESCRIPTOR_SIGNATURE = b"PK\x07\x08"
LOCAL_HEADER_NAME_LENGTH_OFFSET = 26
LOCAL_HEADER_FIXED_SIZE = 30
CENTRAL_HEADER_SIGNATURE = b"PK\x01\x02"
CENTRAL_HEADER_CRC_OFFSET = 16
CENTRAL_HEADER_NAME_LENGTH_OFFSET = 28
CENTRAL_HEADER_FIXED_SIZE = 46

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def finish():
    for failure in failures:
        print("FAIL:", failure)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


def probe(probe_path, wine, module, class_id):
    run = subprocess.run([wine, probe_path, module, class_id], capture_output=True, text=True,
                         timeout=120)
    facts = dict(line.strip().split(" ", 1) for line in run.stdout.splitlines() if " " in line)
    print(f"module probe for {class_id}: {facts}")
    expect(run.returncode == 0, f"module probe exited {run.returncode}: {run.stderr.strip()}")
    return facts


def check_manifest(manifest, module, probe_path, wine):
    identity = manifest.find("m:Identity", NAMESPACES)
    verbs = manifest.findall(".//desktop5:Verb", NAMESPACES)
    classes = manifest.findall(".//com:SurrogateServer/com:Class", NAMESPACES)
    expect(len(verbs) == 1 and len(classes) == 1,
           f"one menu verb and one COM class, found {len(verbs)} and {len(classes)}")
    served = {c.get("Id").upper(): c for c in classes}
    for verb in verbs:
        expect(verb.get("Clsid").upper() in served,
               f"verb {verb.get('Id')} names {verb.get('Clsid')}, which no class of the package is")
    for class_id, element in served.items():
        expect(element.get("Path") == os.path.basename(module),
               f"class {class_id} is served by {element.get('Path')}, the module is "
               f"{os.path.basename(module)}")
        facts = probe(probe_path, wine, module, class_id)
        expect(facts.get("class-object") == S_OK,
               f"DllGetClassObject for {class_id} gave {facts.get('class-object')}")
        expect(facts.get("file-version") == identity.get("Version"),
               f"package version {identity.get('Version')}, module version "
               f"{facts.get('file-version')}")


def check_block_map(package):
    block_map = ElementTree.fromstring(package.read(BLOCK_MAP))
    mapped = {f.get("Name").replace("\\", "/"): f for f in block_map.findall("b:File", NAMESPACES)}
    payload = [entry for entry in package.infolist() if entry.filename not in FOOTPRINT]
    expect(sorted(mapped) == sorted(e.filename for e in payload),
           f"block map lists {sorted(mapped)}, the package holds {[e.filename for e in payload]}")
    with open(package.filename, "rb") as raw:
        for entry in payload:
            listed = mapped.get(entry.filename)
            if listed is None:
                continue
            raw.seek(entry.header_offset + LOCAL_HEADER_NAME_LENGTH_OFFSET)
            name_length, extra_length = struct.unpack("<HH", raw.read(4))
            data = package.read(entry)
            blocks = [base64.b64decode(b.get("Hash"))
                      for b in listed.findall("b:Block", NAMESPACES)]
            expected = [hashlib.sha256(data[i:i + BLOCK_SIZE]).digest()
                        for i in range(0, len(data), BLOCK_SIZE)]
            expect(int(listed.get("Size")) == len(data), f"{entry.filename}: Size")
            expect(int(listed.get("LfhSize")) ==
                   LOCAL_HEADER_FIXED_SIZE + name_length + extra_length,
                   f"{entry.filename}: LfhSize")
            expect(blocks == expected, f"{entry.filename}: block hashes")


def check_content_types(package):
    types = ElementTree.fromstring(package.read(CONTENT_TYPES))
    defaults = {d.get("Extension").lower() for d in types.findall("t:Default", NAMESPACES)}
    overrides = {o.get("PartName") for o in types.findall("t:Override", NAMESPACES)}
    for name in package.namelist():
        if name == CONTENT_TYPES:
            continue
        expect("/" + name in overrides or name.rsplit(".", 1)[-1].lower() in defaults,
               f"{name} has no content type")


def check_layout(package):
    """ZIP64 end records, as Windows' packers always write them, and the entries in their
    order: payload, then the footprint files; the central directory in the same order as the
    entries themselves."""
    layout = Layout(open(package.filename, "rb").read())
    failures.extend(f"layout: {problem}" for problem in layout.problems)
    expect(layout.zip64 is not None, "no ZIP64 end of central directory record")
    names = [name for name, _ in layout.entries]
    payload = [name for name in names if name not in FOOTPRINT_ORDER]
    expect(names == payload + FOOTPRINT_ORDER,
           f"entries in the order {names}, expected the payload, then {FOOTPRINT_ORDER}")
    offsets = [offset for _, offset in layout.entries]
    expect(offsets == sorted(set(offsets)), "the central directory is not in the entries' order")
    block_map = ElementTree.fromstring(package.read(BLOCK_MAP))
    mapped = [f.get("Name").replace("\\", "/") for f in block_map.findall("b:File", NAMESPACES)]
    expect(mapped == payload + [MANIFEST],
           f"block map order {mapped}, package order {payload + [MANIFEST]}")


def contents(msix, module, probe_path, wine):
    with zipfile.ZipFile(msix) as package:
        # Every entry's bytes against its CRC and method: the signer rewrites one of them.
        expect(package.testzip() is None, "an entry's bytes do not match its CRC")
        check_manifest(ElementTree.fromstring(package.read(MANIFEST)), module, probe_path, wine)
        check_block_map(package)
        check_content_types(package)
        check_layout(package)
    finish()


def central_header_offset(data, name):
    """Where the central directory's header of the named entry starts."""
    _, _, offset = Layout(bytes(data)).directory
    while data[offset:offset + 4] == CENTRAL_HEADER_SIGNATURE:
        name_length, extra_length, comment_length = struct.unpack_from(
            "<HHH", data, offset + CENTRAL_HEADER_NAME_LENGTH_OFFSET)
        start = offset + CENTRAL_HEADER_FIXED_SIZE
        if data[start:start + name_length] == name.encode("utf-8"):
            return offset
        offset = start + name_length + extra_length + comment_length
    raise LookupError(name)


def with_manifest_byte_changed(source, target):
    """Copies the package, changing one byte of the stored manifest; the ZIP stays valid (its
    CRCs follow), so only the signature can tell."""
    data = bytearray(open(source, "rb").read())
    with zipfile.ZipFile(source) as package:
        entry = package.getinfo(MANIFEST)
        manifest = bytearray(package.read(entry))
    expect(entry.compress_type == zipfile.ZIP_STORED, "the manifest is not stored")
    position = manifest.index(b"<DisplayName>") + len(b"<DisplayName>")
    manifest[position] ^= 0x20  # the display name's first letter changes case
    name_length, extra_length = struct.unpack_from(
        "<HH", data, entry.header_offset + LOCAL_HEADER_NAME_LENGTH_OFFSET)
    start = entry.header_offset + LOCAL_HEADER_FIXED_SIZE + name_length + extra_length
    data[start:start + len(manifest)] = manifest
    crc = zipfile.crc32(bytes(manifest))
    (flags,) = struct.unpack_from("<H", data, entry.header_offset + LOCAL_HEADER_FLAGS_OFFSET)
    if flags & FLAG_DATA_DESCRIPTOR:  # the CRC follows the bytes
        descriptor = start + len(manifest)
        expect(data[descriptor:descriptor + 4] == DATA_DESCRIPTOR_SIGNATURE,
               "no data descriptor after the manifest")
        struct.pack_into("<I", data, descriptor + 4, crc)
    else:
        struct.pack_into("<I", data, entry.header_offset + LOCAL_HEADER_CRC_OFFSET, crc)
    struct.pack_into("<I", data, central_header_offset(data, MANIFEST) + CENTRAL_HEADER_CRC_OFFSET,
                     crc)
    open(target, "wb").write(data)
    with zipfile.ZipFile(target) as package:
        expect(package.testzip() is None, "the changed copy is not a valid ZIP")


def verify(msix, ca_file):
    run = subprocess.run(["osslsigncode", "verify", "-CAfile", ca_file, "-in", msix],
                         capture_output=True, text=True)
    print(f"osslsigncode verify {os.path.basename(msix)}: exit {run.returncode}, "
          f"{run.stdout.strip().splitlines()[-1] if run.stdout.strip() else ''}")
    return run


def signature(msix, certificate):
    with tempfile.TemporaryDirectory() as work:
        ca_file = os.path.join(work, "certificate.pem")
        subprocess.run(["openssl", "x509", "-inform", "DER", "-in", certificate,
                        "-out", ca_file], check=True)
        expect(verify(msix, ca_file).returncode == 0, "osslsigncode rejects the package")
        changed = os.path.join(work, "changed.msix")
        with_manifest_byte_changed(msix, changed)
        rejected = verify(changed, ca_file)
        # Rejected for its digest, not for being unreadable.
        expect(rejected.returncode != 0 and "MISMATCH" in rejected.stdout,
               "osslsigncode does not find the changed manifest's digest wrong")
    finish()


def icon(ico, draw_script):
    with tempfile.TemporaryDirectory() as work:
        drawn = os.path.join(work, "drawn.ico")
        subprocess.run([sys.executable, draw_script, "ico", drawn], check=True)
        expect(open(drawn, "rb").read() == open(ico, "rb").read(),
               f"{ico} is not what {os.path.basename(draw_script)} draws: run it again")
    finish()


CHECKS = {"contents": (contents, 4), "signature": (signature, 2), "icon": (icon, 2)}

if __name__ == "__main__":
    check, count = CHECKS.get(sys.argv[1] if len(sys.argv) > 1 else "", (None, -1))
    if check is None or len(sys.argv) - 2 != count:
        sys.exit(__doc__)
    check(*sys.argv[2:])
