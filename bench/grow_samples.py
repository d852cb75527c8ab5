"""Grows the real-tool sample files of tests/data/formats to a given size, keeping their Exif
block and their structure: only the image data grows, by zero bytes behind it inside the same
box or chunk, so that a reader that walks the structure has the same headers to read whatever
the size. What the data grows by is a hole in the file (write_parts), as in grow_sparse.py and
the generated JPEGs' scans; the grown image data is not decodable.

    exif-SIZE.heic        gps_exiftool.heic as written: ftyp, meta, then a larger mdat
    exif-mdat-SIZE.heic   ftyp, the larger mdat, then meta, its item offsets moved to match
    exif-SIZE.webp        gps_exiftool_lossy.webp: VP8X, a larger VP8 chunk, EXIF; RIFF size fixed
    exif-SIZE.png         gps_exiftool.png: IHDR, one larger IDAT, eXIf moved behind it, IEND

inputs.py names the sizes.
"""
import os
import struct
import zlib

ZERO_BLOCK = bytes(1 << 20)  # for the CRC of a PNG's grown IDAT

BOX_HEADER = 8
FULL_BOX_HEADER = 4
RIFF_HEADER = 12
RIFF_SIZE_BASE = 8
CHUNK_HEADER = 8
PNG_SIGNATURE = 8
PNG_CRC = 4


def write_parts(path, *parts):
    """The parts one after another: bytes as written, a number as a hole of that many zero
    bytes, which seeking past writes nothing for."""
    with open(path, "wb") as out:
        for part in parts:
            if isinstance(part, int):
                out.seek(part, os.SEEK_CUR)
            else:
                out.write(part)
        out.truncate()


def boxes(data, start, end):
    """(type, start, end) of each box in data[start:end]; 32-bit sizes, as the samples have."""
    found = []
    while start < end:
        size, kind = struct.unpack(">I4s", data[start : start + BOX_HEADER])
        found.append((kind, start, start + size))
        start += size
    return found


def move_item_offsets(meta, delta):
    """meta with every file-offset item of its iloc box moved by delta bytes."""
    meta = bytearray(meta)
    (iloc,) = [b for b in boxes(meta, BOX_HEADER + FULL_BOX_HEADER, len(meta)) if b[0] == b"iloc"]
    at = iloc[1] + BOX_HEADER
    version = meta[at]
    at += FULL_BOX_HEADER
    (sizes,) = struct.unpack(">H", meta[at : at + 2])
    offset_size, length_size, base_size = sizes >> 12, (sizes >> 8) & 15, (sizes >> 4) & 15
    index_size = sizes & 15 if version else 0
    at += 2
    count_format = ">I" if version == 2 else ">H"
    (count,) = struct.unpack_from(count_format, meta, at)
    at += struct.calcsize(count_format)
    field = {4: ">I", 8: ">Q"}
    for _ in range(count):
        at += struct.calcsize(count_format)  # item_ID, as wide as the count
        construction = 0
        if version:
            construction = struct.unpack_from(">H", meta, at)[0] & 15
            at += 2
        at += 2  # data_reference_index
        # The base offset moves where it can carry the move; the extents' offsets otherwise.
        base = 0
        if base_size:
            base = struct.unpack_from(field[base_size], meta, at)[0]
            if construction == 0 and base + delta >= 0:
                struct.pack_into(field[base_size], meta, at, base + delta)
            at += base_size
        move_extents = construction == 0 and base + delta < 0
        (extents,) = struct.unpack_from(">H", meta, at)
        at += 2
        for _ in range(extents):
            at += index_size
            if move_extents:
                offset = struct.unpack_from(field[offset_size], meta, at)[0]
                struct.pack_into(field[offset_size], meta, at, offset + delta)
            at += offset_size + length_size
    return bytes(meta)


def grow_heic(sample, path, size, mdat_first):
    data = open(sample, "rb").read()
    (ftyp, meta, mdat) = boxes(data, 0, len(data))
    assert (ftyp[0], meta[0], mdat[0]) == (b"ftyp", b"meta", b"mdat"), "ftyp, meta, mdat expected"
    padding = size - len(data)
    mdat_payload = data[mdat[1] + BOX_HEADER : mdat[2]]
    mdat_header = struct.pack(">I4s", mdat[2] - mdat[1] + padding, b"mdat")
    ftyp, meta = data[ftyp[1] : ftyp[2]], data[meta[1] : meta[2]]
    if mdat_first:
        write_parts(path, ftyp, mdat_header, mdat_payload, padding,
                    move_item_offsets(meta, -len(meta)))
    else:
        write_parts(path, ftyp, meta, mdat_header, mdat_payload, padding)


def chunks(data, start, header, length_format, trailer):
    """(fourcc, start, data start, data length, end) of each chunk from start."""
    found = []
    while start < len(data):
        if length_format[0] == "<":
            kind, length = struct.unpack("<4sI", data[start : start + header])
        else:
            length, kind = struct.unpack(">I4s", data[start : start + header])
        end = start + header + length + trailer(length)
        found.append((kind, start, start + header, length, end))
        start = end
    return found


def grow_webp(sample, path, size):
    data = open(sample, "rb").read()
    listed = chunks(data, RIFF_HEADER, CHUNK_HEADER, "<", lambda length: length & 1)
    assert [c[0] for c in listed] == [b"VP8X", b"VP8 ", b"EXIF"], "VP8X, VP8, EXIF expected"
    padding = size - len(data)
    assert padding % 2 == 0, "an even padding keeps the VP8 chunk's pad byte as it is"
    parts = [b"RIFF" + struct.pack("<I", size - RIFF_SIZE_BASE) + b"WEBP"]
    for kind, start, payload, length, end in listed:
        if kind != b"VP8 ":
            parts.append(data[start:end])
            continue
        parts += [kind + struct.pack("<I", length + padding) + data[payload : payload + length],
                  padding, data[payload + length : end]]
    write_parts(path, *parts)


def grow_png(sample, path, size):
    data = open(sample, "rb").read()
    listed = chunks(data, PNG_SIGNATURE, CHUNK_HEADER, ">", lambda length: PNG_CRC)
    named = {c[0]: c for c in listed}
    assert [c[0] for c in listed] == [b"IHDR", b"eXIf", b"IDAT", b"IEND"], "one IDAT expected"
    padding = size - len(data)

    def whole(name):
        return data[named[name][1] : named[name][4]]

    _, _, payload, length, _ = named[b"IDAT"]
    image = data[payload : payload + length]
    crc = zlib.crc32(b"IDAT" + image)
    remaining = padding
    while remaining > 0:
        step = min(remaining, len(ZERO_BLOCK))
        crc = zlib.crc32(ZERO_BLOCK[:step], crc)
        remaining -= step
    write_parts(path, data[:PNG_SIGNATURE] + whole(b"IHDR"),
                struct.pack(">I", length + padding) + b"IDAT" + image, padding,
                struct.pack(">I", crc) + whole(b"eXIf") + whole(b"IEND"))


def grow_samples(formats, out, name, size):
    heic = os.path.join(formats, "gps_exiftool.heic")
    grow_heic(heic, os.path.join(out, f"exif-{name}.heic"), size, mdat_first=False)
    grow_heic(heic, os.path.join(out, f"exif-mdat-{name}.heic"), size, mdat_first=True)
    webp = os.path.join(formats, "gps_exiftool_lossy.webp")
    grow_webp(webp, os.path.join(out, f"exif-{name}.webp"), size)
    png = os.path.join(formats, "gps_exiftool.png")
    grow_png(png, os.path.join(out, f"exif-{name}.png"), size)
