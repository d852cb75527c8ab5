#!/usr/bin/env python3
"""The bytes a GPS lookup must read from each file, and nothing more, found by walking the
file's own structure. Written apart from the readers, so that it can judge them.

For a JPEG: the SOI (2), the header of each segment up to and including the first APP1 (4
each), the Exif identifier (6). For HEIF, WebP and PNG files: the box or chunk headers walked
to the Exif block and what locates it (design_containers.py). Then, as for a TIFF file: the
TIFF header (8), IFD0's entry count (2) and its entries up to the GPS pointer (12 each, all of
them when there is none), the GPS directory's count (2) and all its entries (12 each), and the
RATIONAL triple of degrees, minutes and seconds behind the latitude and the longitude (24 each).

Each of those structures is one read: the number of them is the calls a JPEG or TIFF reading
makes when it reads each structure with a call of its own (not given for the containers, whose
structures are read out of read-ahead blocks). For a WebP or PNG file, where the Exif block
stands: ahead of the image data or behind it.

Usage: design_limit.py FILE...
(prints tab-separated values: file, size, limit, structures, exif_place, stop)
"""
import mmap
import os
import struct
import sys

import design_containers

SOI = 2
SEGMENT_HEADER = 4
EXIF_IDENTIFIER = b"Exif\0\0"
TIFF_HEADER = 8
COUNT = 2
ENTRY = 12
TRIPLE = 24

MARKER_APP1 = 0xE1
MARKER_SOS = 0xDA
TAG_GPS_POINTER = 0x8825
TAG_LATITUDE = 2
TAG_LONGITUDE = 4

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def jpeg_limit(data):
    """(bytes, structures, where the walk stops) for a JPEG."""
    total, reads = SOI, 1
    offset = SOI
    while True:
        if offset + SEGMENT_HEADER > len(data):
            return total, reads, "end of file"
        marker = data[offset + 1]
        (length,) = struct.unpack(">H", data[offset + 2 : offset + 4])
        total += SEGMENT_HEADER
        reads += 1
        if marker == MARKER_SOS:
            return total, reads, "scan before APP1"
        if marker == MARKER_APP1:
            break
        offset += 2 + length
    identifier = data[offset + 4 : offset + 4 + len(EXIF_IDENTIFIER)]
    total += len(EXIF_IDENTIFIER)
    reads += 1
    if identifier != EXIF_IDENTIFIER:
        return total, reads, "APP1 is not Exif"
    tiff_bytes, tiff_reads, stop = tiff_limit(data, offset + 4 + len(EXIF_IDENTIFIER))
    return total + tiff_bytes, reads + tiff_reads, stop


def tiff_limit(data, base=0):
    """(bytes, structures, where the walk stops) for TIFF data starting at data[base]."""
    order = "<" if data[base : base + 2] == b"II" else ">"

    def word(at):
        return struct.unpack(order + "H", data[base + at : base + at + 2])[0]

    def dword(at):
        return struct.unpack(order + "I", data[base + at : base + at + 4])[0]

    total, reads = TIFF_HEADER + COUNT, 2
    ifd0 = dword(4)
    gps = None
    for index in range(word(ifd0)):
        entry = ifd0 + COUNT + index * ENTRY
        total += ENTRY
        reads += 1
        if word(entry) == TAG_GPS_POINTER:
            gps = dword(entry + 8)
            break
    if gps is None:
        return total, reads, "no GPS pointer"
    entries = word(gps)
    total += COUNT + entries * ENTRY
    reads += 1 + entries
    for index in range(entries):
        if word(gps + COUNT + index * ENTRY) in (TAG_LATITUDE, TAG_LONGITUDE):
            total += TRIPLE
            reads += 1
    return total, reads, "GPS directory"


def container_limit(walk, data):
    """A container's walk to the TIFF block, then the TIFF structures there; no count of
    structures, which come out of read-ahead blocks."""
    total, start, stop = walk(data)
    if start is None:
        return total, None, stop
    tiff_bytes, _, stop = tiff_limit(data, start)
    return total + tiff_bytes, None, stop


def limit(path):
    """(bytes, structures or None, where the walk stops, where the Exif block stands or "")."""
    with open(path, "rb") as file, mmap.mmap(file.fileno(), 0, access=mmap.ACCESS_READ) as data:
        if data[:2] == b"\xff\xd8":
            return jpeg_limit(data) + ("",)
        if data[4:8] == b"ftyp":
            return container_limit(design_containers.heif_limit, data) + ("",)
        if data[:4] == b"RIFF" and data[8:12] == b"WEBP":
            walk, place = design_containers.webp_limit, design_containers.webp_exif_place
        elif data[:8] == PNG_SIGNATURE:
            walk, place = design_containers.png_limit, design_containers.png_exif_place
        else:
            return tiff_limit(data) + ("",)
        return container_limit(walk, data) + (place(data),)


def main():
    print("file\tsize\tlimit\tstructures\texif_place\tstop")
    for path in sys.argv[1:]:
        total, reads, stop, place = limit(path)
        structures = "" if reads is None else reads
        size = os.path.getsize(path)
        print(f"{os.path.basename(path)}\t{size}\t{total}\t{structures}\t{place}\t{stop}")


if __name__ == "__main__":
    main()
