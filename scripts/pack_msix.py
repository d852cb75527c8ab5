#!/usr/bin/env python3
"""Packs an unsigned MSIX package; Debian has no MSIX packer.

    pack_msix.py OUT.msix NAME=FILE...

NAME is the file's path inside the package, with forward slashes (AppxManifest.xml,
Assets/StoreLogo.png). The package holds the entries in the order Windows' packers write them:
the payload files in the order given (a mapping file's order), then AppxManifest.xml, then
AppxBlockMap.xml and [Content_Types].xml, which this step writes; the signer adds
AppxSignature.p7x last. The ZIP layer is msix_zip.py's: ZIP64, as Windows writes packages.

- Every listed file is stored, not deflated. The block map then lists for each file its size, the
  size of its ZIP local header (LfhSize) and the base64 SHA-256 of each 64 KiB block; a stored
  file's blocks take no Size attribute. The block map and [Content_Types].xml are not in it.
- [Content_Types].xml alone is deflated: osslsigncode rewrites it to add the signature's
  content type, deflating the new text whatever the entry's method is, so a stored entry would
  come out with deflated bytes under the "stored" method (osslsigncode 2.9).
- Fixed file times, so the same inputs give the same bytes.
"""
import base64
import hashlib
import os
import sys
from xml.sax.saxutils import quoteattr

import msix_zip

BLOCK_SIZE = 64 * 1024
MANIFEST_NAME = "AppxManifest.xml"
BLOCK_MAP_NAME = "AppxBlockMap.xml"
CONTENT_TYPES_NAME = "[Content_Types].xml"
HASH_METHOD = "http://www.w3.org/2001/04/xmlenc#sha256"

CONTENT_TYPES_BY_EXTENSION = {"png": "image/png"}
CONTENT_TYPES_BY_PART = {
    MANIFEST_NAME: "application/vnd.ms-appx.manifest+xml",
    BLOCK_MAP_NAME: "application/vnd.ms-appx.blockmap+xml",
}


def block_map(files):
    """files: (name, bytes) in package order."""
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="no"?>',
             '<BlockMap xmlns="http://schemas.microsoft.com/appx/2010/blockmap" '
             f'HashMethod="{HASH_METHOD}">']
    for name, data in files:
        lines.append(f'<File Name={quoteattr(name.replace("/", chr(92)))} Size="{len(data)}" '
                     f'LfhSize="{msix_zip.local_header_size(name)}">')
        for start in range(0, len(data), BLOCK_SIZE):
            digest = hashlib.sha256(data[start:start + BLOCK_SIZE]).digest()
            lines.append(f'<Block Hash="{base64.b64encode(digest).decode("ascii")}"/>')
        lines.append("</File>")
    lines.append("</BlockMap>")
    return "\r\n".join(lines).encode("utf-8")


def content_types(names):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">']
    extensions = sorted({name.rsplit(".", 1)[-1].lower() for name in names
                         if name not in CONTENT_TYPES_BY_PART})
    for extension in extensions:
        if extension not in CONTENT_TYPES_BY_EXTENSION:
            sys.exit(f"pack_msix: no content type for .{extension} files")
        lines.append(f'<Default Extension="{extension}" '
                     f'ContentType="{CONTENT_TYPES_BY_EXTENSION[extension]}"/>')
    for part, kind in CONTENT_TYPES_BY_PART.items():
        lines.append(f'<Override PartName="/{part}" ContentType="{kind}"/>')
    lines.append("</Types>")
    return "\r\n".join(lines).encode("utf-8")


def main(arguments):
    if len(arguments) < 2 or not all("=" in a for a in arguments[1:]):
        sys.exit(__doc__)
    files = []
    for argument in arguments[1:]:
        name, path = argument.split("=", 1)
        with open(path, "rb") as file:
            files.append((name, file.read()))
    # The manifest follows the payload, wherever it was named.
    files.sort(key=lambda file: file[0] == MANIFEST_NAME)
    if [name for name, _ in files].count(MANIFEST_NAME) != 1:
        sys.exit(f"pack_msix: name {MANIFEST_NAME} once")
    out = arguments[0]
    partial = out + ".partial"
    with open(partial, "wb") as file:
        archive = msix_zip.PackageZip(file)
        for name, data in files:
            archive.add(name, data)
        archive.add(BLOCK_MAP_NAME, block_map(files))
        archive.add(CONTENT_TYPES_NAME, content_types([name for name, _ in files]), deflate=True)
        archive.close()
    os.replace(partial, out)


if __name__ == "__main__":
    main(sys.argv[1:])
