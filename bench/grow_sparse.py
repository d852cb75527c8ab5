"""Grows the real-tool videos and camera raws of tests/data/formats to a given size as sparse
files, keeping every record a locator reads as written: only the media or image data grows,
and what it grows by is a hole in the file, so that a 5 GB video takes a few kilobytes of disk.
A reader that passes the mdat box by its size, or reads the header and the directories, has the
same bytes to read whatever the size. The grown data is not decodable.

    video-mdat-SIZE.EXT   the sample's leading boxes (ftyp, wide or free), mdat, then moov
    video-moov-SIZE.EXT   the leading boxes, moov, then mdat

from location_ffmpeg.mov (udta/©xyz), keys_exiftool.mp4 (meta keys/ilst) and
location_ffmpeg.3gp (udta/loci). An mdat of 4 GiB or more has the 64-bit size (size field 1,
then the size behind the type); where an 8-byte wide or free box lies just in front of it, the
longer header takes that box's place, as QuickTime and FFmpeg write it, and the media data
stays where it was. The chunk offsets of stco/co64 inside moov are left as the sample has them,
stale wherever the boxes change order: the location records do not depend on them, and no
locator reads them.

    raw-SIZE.dng   gps_exiftool.dng: header, IFD0, the GPS directory, then the one strip, which
                   runs to the end of the file (its StripByteCounts grown to match)
    raw-SIZE.orf   the same bytes with Olympus's header magic, "IIRO"
    raw-SIZE.rw2   the same bytes with Panasonic's, "IIU\\0"
    raw-SIZE.cr3   gps_exiftool.cr3: ftyp, moov (Canon's uuid box, CMT4 with the GPS directory),
                   the XMP uuid box, then a larger mdat; the CTBO entry's mdat size grown to match
"""
import os
import struct

from grow_samples import BOX_HEADER, boxes, write_parts

VIDEO_SAMPLES = ("location_ffmpeg.mov", "keys_exiftool.mp4", "location_ffmpeg.3gp")
SIZE_IS_LARGE = 1
LARGEST_SMALL_SIZE = 0xFFFFFFFF
# Placeholders a writer leaves in front of mdat for its 64-bit header.
PLACEHOLDERS = (b"wide", b"free")

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


def mdat_header(size):
    if size <= LARGEST_SMALL_SIZE:
        return struct.pack(">I4s", size, b"mdat")
    return struct.pack(">I4sQ", SIZE_IS_LARGE, b"mdat", size)


def write_sparse(path, head, size, tail=b""):
    """head, then a hole, then tail, size bytes in all."""
    write_parts(path, head, size - len(head) - len(tail), tail)


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
    write_sparse(path, head, size, after_mdat)


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


def grow_videos(formats, out, name, size):
    for sample in VIDEO_SAMPLES:
        extension = os.path.splitext(sample)[1]
        for layout, mdat_first in (("mdat", True), ("moov", False)):
            path = os.path.join(out, f"video-{layout}-{name}{extension}")
            grow_video(os.path.join(formats, sample), path, size, mdat_first)


def grow_raws(formats, out, name, size):
    grow_dng(os.path.join(formats, "gps_exiftool.dng"), out, name, size)
    grow_cr3(os.path.join(formats, "gps_exiftool.cr3"), os.path.join(out, f"raw-{name}.cr3"), size)
