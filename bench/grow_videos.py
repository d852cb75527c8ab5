#!/usr/bin/env python3
"""Grows the real-tool video samples of tests/data/formats to a given size as sparse files,
keeping their movie box (and so their location record) as written: only the media data grows,
and what it grows by is a hole in the file, so that a 5 GB video takes a few kilobytes of disk.
A reader that passes the mdat box by its size has the same headers to read whatever the size.

    video-mdat-SIZE.EXT   the sample's leading boxes (ftyp, wide or free), mdat, then moov
    video-moov-SIZE.EXT   the leading boxes, moov, then mdat

from location_ffmpeg.mov (udta/©xyz), keys_exiftool.mp4 (meta keys/ilst) and
location_ffmpeg.3gp (udta/loci). An mdat of 4 GiB or more has the 64-bit size (size field 1,
then the size behind the type); where an 8-byte wide or free box lies just in front of it, the
longer header takes that box's place, as QuickTime and FFmpeg write it, and the media data
stays where it was.

The chunk offsets of stco/co64 inside moov are left as the sample has them, stale wherever the
boxes change order: the location records do not depend on them, and no locator reads them. The
grown media data is not decodable.

Usage: grow_videos.py FORMATS_DIR OUT_DIR SIZE...   (each SIZE in bytes)
"""
import os
import struct
import sys

from grow_samples import BOX_HEADER, boxes, size_name

SAMPLES = ("location_ffmpeg.mov", "keys_exiftool.mp4", "location_ffmpeg.3gp")
LARGE_HEADER = 16  # size 1, type, 64-bit size
SIZE_IS_LARGE = 1
LARGEST_SMALL_SIZE = 0xFFFFFFFF
# Placeholders a writer leaves in front of mdat for its 64-bit header.
PLACEHOLDERS = (b"wide", b"free")


def mdat_header(size):
    if size <= LARGEST_SMALL_SIZE:
        return struct.pack(">I4s", size, b"mdat")
    return struct.pack(">I4sQ", SIZE_IS_LARGE, b"mdat", size)


def grow_video(sample, path, size, mdat_first):
    data = open(sample, "rb").read()
    listed = boxes(data, 0, len(data))
    kinds = [b[0] for b in listed]
    assert kinds.count(b"moov") == 1 and kinds.count(b"mdat") == 1, "one moov, one mdat expected"
    named = {b[0]: b for b in listed}
    leading = [data[start:end] for kind, start, end in listed if kind not in (b"moov", b"mdat")]
    moov = data[named[b"moov"][1] : named[b"moov"][2]]
    _, mdat_start, mdat_end = named[b"mdat"]
    payload = data[mdat_start + BOX_HEADER : mdat_end]

    before_mdat = list(leading) if mdat_first else leading + [moov]
    after_mdat = moov if mdat_first else b""
    mdat_size = size - sum(map(len, before_mdat)) - len(after_mdat)
    last = before_mdat[-1] if before_mdat else b""
    if mdat_size > LARGEST_SMALL_SIZE and len(last) == BOX_HEADER and last[4:] in PLACEHOLDERS:
        before_mdat.pop()
        mdat_size += BOX_HEADER
    assert mdat_size >= len(mdat_header(mdat_size)) + len(payload), "below the sample's size"
    head = b"".join(before_mdat) + mdat_header(mdat_size) + payload
    with open(path, "wb") as out:
        out.write(head)
        # The rest of mdat is a hole: seeking past it writes nothing.
        out.seek(size - len(after_mdat))
        out.write(after_mdat)
        out.truncate(size)


def main():
    formats, out = sys.argv[1:3]
    os.makedirs(out, exist_ok=True)
    for size in (int(text) for text in sys.argv[3:]):
        name = size_name(size)
        for sample in SAMPLES:
            extension = os.path.splitext(sample)[1]
            for layout, mdat_first in (("mdat", True), ("moov", False)):
                path = os.path.join(out, f"video-{layout}-{name}{extension}")
                grow_video(os.path.join(formats, sample), path, size, mdat_first)


if __name__ == "__main__":
    main()
