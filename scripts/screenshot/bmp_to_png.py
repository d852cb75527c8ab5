#!/usr/bin/env python3
"""Turns the 32-bit BMP a window capture writes into an RGB PNG.

    bmp_to_png.py IN.bmp OUT.png

Only what the capture writes is read: BITMAPFILEHEADER, BITMAPINFOHEADER, BI_RGB, 32 bits a
pixel (blue, green, red, unused), rows top-down (negative height) or bottom-up.
"""
import struct
import sys
import zlib

FILE_HEADER = struct.Struct("<2sIHHI")
INFO_HEADER = struct.Struct("<IiiHHIIiiII")
BYTES_PER_PIXEL = 4
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_RGB = 2
NO_FILTER = b"\x00"


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, _, _, _, offset = FILE_HEADER.unpack_from(data, 0)
    (_, width, height, _, bits, compression, *_rest) = INFO_HEADER.unpack_from(
        data, FILE_HEADER.size)
    if magic != b"BM" or bits != 32 or compression != 0:
        sys.exit(f"{path}: not a 32-bit BI_RGB bitmap")
    stride = width * BYTES_PER_PIXEL
    rows = [data[offset + y * stride:offset + (y + 1) * stride] for y in range(abs(height))]
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def write_png(path, width, height, rows):
    raw = bytearray()
    for row in rows:
        raw += NO_FILTER
        for x in range(0, len(row), BYTES_PER_PIXEL):
            raw += bytes((row[x + 2], row[x + 1], row[x]))
    header = struct.pack(">IIBBBBB", width, height, 8, PNG_RGB, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(PNG_SIGNATURE + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_png(sys.argv[2], *read_bmp(sys.argv[1]))


if __name__ == "__main__":
    main()
