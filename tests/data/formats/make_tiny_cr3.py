#!/usr/bin/env python3
"""Write tiny.cr3: the smallest Canon CR3 that ExifTool 12.57 takes for one and writes GPS into.

Layout: ftyp (major brand "crx ", compatible "crx " "isom"); moov holding only Canon's uuid box
85c0b687-820f-11e0-8111-f4ce462b6a48 with CNCV "CanonCR3_001/00.09.00/00.00.00", CCTP (no
entries), CTBO (one entry: ID 3, the mdat's offset and size), an empty free, CMT1 (little-endian
TIFF, IFD0 with Make "Canon" and Model "Canon EOS R"), CMT2 (Exif IFD with ExifVersion "0231") and
CMT3 (maker notes with CanonModelID 0x80000424); then a 4-byte mdat. There is no CMT4, THMB or
trak: ExifTool creates CMT4 (the GPS directory) itself when asked to write GPS, so this file is
also a CR3 without a position. ExifTool needs the "crx " major brand (else it takes the file for
an MP4 and writes XMP only), CNCV starting "CanonCR3" (else the type is CRX), and an mdat
whenever CTBO is present (else "Media data referenced but not found").
"""
import struct

CANON_UUID = bytes.fromhex("85c0b687820f11e08111f4ce462b6a48")
CTBO_MDAT_ID = 3
FIRST_IFD_OFFSET = 8
ASCII, LONG, UNDEFINED = 2, 4, 7


def box(kind, payload):
    return struct.pack(">I4s", 8 + len(payload), kind) + payload


def tiff(entries):
    """Little-endian TIFF with one IFD; values longer than 4 bytes follow the IFD."""
    data_at = FIRST_IFD_OFFSET + 2 + 12 * len(entries) + 4
    ifd, data = struct.pack("<H", len(entries)), b""
    for tag, kind, count, value in entries:
        if len(value) <= 4:
            field = value.ljust(4, b"\0")
        else:
            field = struct.pack("<I", data_at + len(data))
            data += value + b"\0" * (len(value) & 1)
        ifd += struct.pack("<HHI", tag, kind, count) + field
    return b"II*\0" + struct.pack("<I", FIRST_IFD_OFFSET) + ifd + b"\0\0\0\0" + data


def main():
    ftyp = box(b"ftyp", b"crx " + struct.pack(">I", 1) + b"crx isom")
    mdat = box(b"mdat", b"\0\0\0\0")
    canon = [
        box(b"CNCV", b"CanonCR3_001/00.09.00/00.00.00"),
        box(b"CCTP", struct.pack(">III", 0, 1, 0)),
        None,  # CTBO, once the mdat's offset is known
        box(b"free", b""),
        box(b"CMT1", tiff([(0x010F, ASCII, 6, b"Canon\0"), (0x0110, ASCII, 12, b"Canon EOS R\0")])),
        box(b"CMT2", tiff([(0x9000, UNDEFINED, 4, b"0231")])),
        box(b"CMT3", tiff([(0x0010, LONG, 1, struct.pack("<I", 0x80000424))])),
    ]
    ctbo_size = 8 + 4 + 20
    moov_size = 8 + 8 + 16 + ctbo_size + sum(len(b) for b in canon if b)
    mdat_at = len(ftyp) + moov_size
    canon[2] = box(b"CTBO", struct.pack(">IIQQ", 1, CTBO_MDAT_ID, mdat_at, len(mdat)))
    moov = box(b"moov", box(b"uuid", CANON_UUID + b"".join(canon)))
    assert len(moov) == moov_size
    with open("tiny.cr3", "wb") as out:
        out.write(ftyp + moov + mdat)


if __name__ == "__main__":
    main()
