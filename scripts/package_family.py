#!/usr/bin/env python3
"""Prints a package's family name, as Windows derives it from the package's Identity Name and
Publisher: the name, "_", and the publisher ID, which is the first 8 bytes of the SHA-256 of the
Publisher in UTF-16LE, followed by one zero bit, in 13 characters of Windows' base 32.

    package_family.py NAME PUBLISHER
"""
import hashlib
import sys

ALPHABET = "0123456789abcdefghjkmnpqrstvwxyz"  # no i, l, o, u
ID_BYTES = 8
ID_CHARACTERS = 13  # 64 bits and one zero bit, 5 bits a character
BITS_PER_CHARACTER = 5


def publisher_id(publisher):
    digest = hashlib.sha256(publisher.encode("utf-16-le")).digest()
    bits = int.from_bytes(digest[:ID_BYTES], "big") << 1
    return "".join(
        ALPHABET[(bits >> (BITS_PER_CHARACTER * (ID_CHARACTERS - 1 - i))) & 0x1F]
        for i in range(ID_CHARACTERS))


def main(arguments):
    if len(arguments) != 2:
        sys.stderr.write(__doc__)
        return 2
    name, publisher = arguments
    print(f"{name}_{publisher_id(publisher)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
