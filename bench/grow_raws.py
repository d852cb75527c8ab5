#!/usr/bin/env python3
"""Grows the real-tool camera raws of tests/data/formats to a given size as sparse files, keeping
every byte the samples have where it was: only the image data grows, and what it grows by is a
hole in the file. A reader that reads the header and the directories, or passes the mdat box by
its size, has the same bytes to read whatever the size.

    raw-SIZE.dng   gps_exiftool.dng: header, IFD0, the GPS directory, then the one strip, which
                   runs to the end of the file (its StripByteCounts grown to match)
    raw-SIZE.orf   the same bytes with Olympus's header magic, "IIRO"
    raw-SIZE.rw2   the same bytes with Panasonic's, "IIU\\0"
    raw-SIZE.cr3   gps_exiftool.cr3: ftyp, moov (Canon's uuid box, CMT4 with the GPS directory),
                   the XMP uuid box, then a larger mdat; the CTBO entry's mdat size grown to match

The grown image data is not decodable.

Usage: grow_raws.py FORMATS_DIR OUT_DIR SIZE...   (each SIZE in bytes)
"""
import os
import struct
import sys

from grow_samples import BOX_HEADER, boxes, size_name
from grow_videos import mdat_header

LITTLE_ENDIAN = b"II"
MAGIC_AT = 2
MAGICS = {".dng": b"*\0", ".orf": b"RO", ".rw2": b"U\0"}
FIRST_IFD_AT = 4
STRIP_OFFSETS, STRIP_BYTE_COUNTS = 273, 279
IFD_ENTRY = 12
ENTRY_VALUE_AT = 8
# CTBO: size, type, entry count; then each entry's ID, offset and size.
CTBO_COUNT_AT = 8
CTBO_ENTRIES_AT = 12
CTBO_ENTRY = ">IQQ"
CTBO_SIZE_AT = 12


def write_sparse(path, head, size):
    """head, then a hole up to size bytes."""
    with open(path, "wb") as out:
        out.write(head)
        out.truncate(size)


def tiff_entry_at(data, tag):
    """Offset of the value field of tag's entry in IFD0 of little-endian TIFF data."""
    (ifd,) = struct.unpack_from("<I", data, FIRST_IFD_AT)
    (count,) = struct.unpack_from("<H", data, ifd)
    for index in range(count):
        entry = ifd + 2 + index * IFD_ENTRY
        if struct.unpack_from("<H", data, entry)[0] == tag:
            return entry + ENTRY_VALUE_AT
    raise AssertionError(f"no tag {tag} in IFD0")


def grow_dng(sample, out, name, size):
    data = bytearray(open(sample, "rb").read())
    assert data[:MAGIC_AT] == LITTLE_ENDIAN, "a little-endian DNG expected"
    (strip,) = struct.unpack_from("<I", data, tiff_entry_at(data, STRIP_OFFSETS))
    counts_at = tiff_entry_at(data, STRIP_BYTE_COUNTS)
    assert strip + struct.unpack_from("<I", data, counts_at)[0] == len(data), "strip last expected"
    struct.pack_into("<I", data, counts_at, size - strip)
    for extension, magic in MAGICS.items():
        data[MAGIC_AT : MAGIC_AT + len(magic)] = magic
        write_sparse(os.path.join(out, f"raw-{name}{extension}"), data, size)


def grow_cr3(sample, path, size):
    data = bytearray(open(sample, "rb").read())
    listed = boxes(data, 0, len(data))
    kind, mdat_start, mdat_end = listed[-1]
    assert kind == b"mdat" and b"moov" in [b[0] for b in listed], "moov, then mdat last expected"
    ctbo = data.index(b"CTBO") - 4
    (entries,) = struct.unpack_from(">I", data, ctbo + CTBO_COUNT_AT)
    for index in range(entries):
        at = ctbo + CTBO_ENTRIES_AT + index * struct.calcsize(CTBO_ENTRY)
        _, offset, _ = struct.unpack_from(CTBO_ENTRY, data, at)
        if offset == mdat_start:
            struct.pack_into(">Q", data, at + CTBO_SIZE_AT, size - mdat_start)
    payload = data[mdat_start + BOX_HEADER : mdat_end]
    write_sparse(path, data[:mdat_start] + mdat_header(size - mdat_start) + payload, size)


def main():
    formats, out = sys.argv[1:3]
    os.makedirs(out, exist_ok=True)
    for size in (int(text) for text in sys.argv[3:]):
        name = size_name(size)
        grow_dng(os.path.join(formats, "gps_exiftool.dng"), out, name, size)
        cr3 = os.path.join(out, f"raw-{name}.cr3")
        grow_cr3(os.path.join(formats, "gps_exiftool.cr3"), cr3, size)


if __name__ == "__main__":
    main()
