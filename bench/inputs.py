#!/usr/bin/env python3
"""Makes the benchmark's generated inputs in OUT_DIR. From the Exif block of the corpus's
DSCN0010.jpg: exif-SIZE.jpg, the same Exif block at the front; camera-app0.jpg and
camera-app2.jpg, the Exif block behind a JFIF APP0 (with thumbnail) or an ICC profile APP2
segment of the largest size. Every JPEG's scan is zero bytes: the readers stop at or before it.
From the real-tool samples of FORMATS_DIR: the containers grown by grow_samples.py, the videos
and raws grown as sparse files by grow_sparse.py, at the sizes below.

Usage: inputs.py CORPUS_DIR FORMATS_DIR OUT_DIR [--raws]   (--raws: the grown raws alone)
"""
import os
import struct
import sys

from grow_samples import grow_samples
from grow_sparse import grow_raws, grow_videos, write_sparse

SIZE_NAMES = ((1 << 30, "GB"), (1 << 20, "MB"), (1 << 10, "KB"))
SAME_EXIF_JPEG_BYTES = (20 << 10, 2 << 20, 20 << 20, 200 << 20)
CAMERA_FILE_BYTES = 6 << 20
GROWN_SAMPLE_BYTES = (1 << 20, 200 << 20)
GROWN_VIDEO_BYTES = (5 << 20, 50 << 20, 500 << 20, 5 << 30)
GROWN_RAW_BYTES = (60 << 20, 600 << 20)

SOI, EOI = b"\xff\xd8", b"\xff\xd9"
MARKER_APP1, MARKER_SOS = 0xE1, 0xDA
# The largest segment: its length field counts itself and up to 65,533 bytes of payload.
LARGEST_SEGMENT_LENGTH = 65535
SEGMENT_HEADER = 16  # APP0: length, "JFIF\0", version, units, densities, thumbnail size
THUMBNAIL_SIDE = 147  # 147 x 147 x 3 bytes fit in 65,535 - 16
ICC_SIGNATURE_AT = 36  # behind the profile's size field and 32 bytes of header
# SOS for one component: length 8, component 1 with tables 0/0, spectral 0-63, 0.
SCAN_HEADER = b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00"


def size_name(size):
    for scale, unit in SIZE_NAMES:
        if size % scale == 0:
            return f"{size // scale}{unit}"
    return f"{size}B"


def first_app1(jpeg):
    """The first APP1 segment of the JPEG, marker included, found by walking the segments."""
    offset = len(SOI)
    while offset + 4 <= len(jpeg) and jpeg[offset + 1] != MARKER_SOS:
        (length,) = struct.unpack_from(">H", jpeg, offset + 2)
        if jpeg[offset + 1] == MARKER_APP1:
            return jpeg[offset : offset + 2 + length]
        offset += 2 + length
    sys.exit("no APP1 segment in the corpus's JPEG")


def large_app0():
    """A JFIF APP0 segment of the largest size: the JFIF header and a thumbnail of zero bytes."""
    header = b"JFIF\0\x01\x02\x00\x00\x01\x00\x01" + bytes((THUMBNAIL_SIDE, THUMBNAIL_SIDE))
    return b"\xff\xe0" + struct.pack(">H", LARGEST_SEGMENT_LENGTH) + header.ljust(
        LARGEST_SEGMENT_LENGTH - 2, b"\0"
    )


def large_app2():
    """An ICC profile APP2 segment of the largest size: chunk 1 of 1, a profile that fills it,
    with its size and signature in the header (readers check both), zero bytes elsewhere."""
    profile = LARGEST_SEGMENT_LENGTH - SEGMENT_HEADER
    body = struct.pack(">I", profile).ljust(ICC_SIGNATURE_AT, b"\0") + b"acsp"
    return (
        b"\xff\xe2"
        + struct.pack(">H", LARGEST_SEGMENT_LENGTH)
        + b"ICC_PROFILE\0\x01\x01"
        + body.ljust(profile, b"\0")
    )


def write_jpeg(path, size, segments):
    """SOI, the segments, then a scan of zero bytes that brings the file to size, and EOI."""
    write_sparse(path, SOI + segments + SCAN_HEADER, size, EOI)


def make_jpegs(corpus, out):
    with open(os.path.join(corpus, "DSCN0010.jpg"), "rb") as file:
        app1 = first_app1(file.read())
    for size in SAME_EXIF_JPEG_BYTES:
        write_jpeg(os.path.join(out, f"exif-{size_name(size)}.jpg"), size, app1)
    write_jpeg(os.path.join(out, "camera-app0.jpg"), CAMERA_FILE_BYTES, large_app0() + app1)
    write_jpeg(os.path.join(out, "camera-app2.jpg"), CAMERA_FILE_BYTES, large_app2() + app1)


def main():
    corpus, formats, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    if "--raws" not in sys.argv[4:]:
        make_jpegs(corpus, out)
        for size in GROWN_SAMPLE_BYTES:
            grow_samples(formats, out, size_name(size), size)
        for size in GROWN_VIDEO_BYTES:
            grow_videos(formats, out, size_name(size), size)
    for size in GROWN_RAW_BYTES:
        grow_raws(formats, out, size_name(size), size)


if __name__ == "__main__":
    main()
