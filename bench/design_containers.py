"""The bytes a GPS lookup must read to find the TIFF block of a HEIF-family, WebP or PNG file,
walking the file's own structure; design_limit.py adds the TIFF structures behind it.

Each function takes the file's bytes (a memory map) and gives (bytes, where the TIFF block
starts, None), or (bytes, None, why the walk stopped) when there is no block to read.
"""
import struct

BOX_HEADER = 8
LARGE_SIZE = 8
FULL_BOX_HEADER = 4
SKIP_COUNT = 4
IDAT_OFFSET = 1
EXIF_IDENTIFIER = b"Exif\0\0"

RIFF_HEADER = 12
RIFF_CHUNK_HEADER = 8
PNG_SIGNATURE = 8
PNG_CHUNK_HEADER = 8
PNG_CRC = 4


def box_headers(data, start, end, limit=None):
    """(type, payload, end, header bytes read) of each box in [start, end), at most limit."""
    found = []
    while start + BOX_HEADER <= end and (limit is None or len(found) < limit):
        size, kind = struct.unpack(">I4s", data[start : start + BOX_HEADER])
        header = BOX_HEADER
        if size == 1:
            large = start + BOX_HEADER
            (size,) = struct.unpack(">Q", data[large : large + LARGE_SIZE])
            header += LARGE_SIZE
        size = size or end - start
        found.append((kind, start + header, start + size, header))
        start += size
    return found


class Fields:
    """Big-endian fields read one after another, counting the bytes."""

    def __init__(self, data, at):
        self.data, self.at, self.read = data, at, 0

    def take(self, size):
        value = int.from_bytes(self.data[self.at : self.at + size], "big") if size else 0
        self.at += size
        self.read += size
        return value

    def skip(self, size):
        self.at += size


def exif_items(data, iinf):
    """The IDs of the Exif items, and the bytes read: iinf's version/flags and count, each
    entry's header, and of each infe its version/flags and the fields up to item_type."""
    fields = Fields(data, iinf[1])
    version = fields.take(1)
    fields.take(FULL_BOX_HEADER - 1)
    count = fields.take(2 if version == 0 else 4)
    ids, total = [], fields.read
    for kind, payload, _, header in box_headers(data, fields.at, iinf[2], count):
        total += header
        if kind != b"infe":
            continue
        entry = Fields(data, payload)
        entry_version = entry.take(1)
        entry.take(FULL_BOX_HEADER - 1)
        if entry_version in (2, 3):
            item = entry.take(2 if entry_version == 2 else 4)
            protection = entry.take(2)
            if entry.take(4) == int.from_bytes(b"Exif", "big") and protection == 0:
                ids.append(item)
        total += entry.read
    return ids, total


def item_place(data, iloc, wanted):
    """(construction method, start of the item's data, bytes read): iloc's version/flags,
    field sizes and count, of each entry before the item's its ID and extent count, and all the
    fields of the item's."""
    fields = Fields(data, iloc[1])
    version = fields.take(1)
    fields.take(FULL_BOX_HEADER - 1)
    sizes = fields.take(2)
    offset_size, length_size, base_size = sizes >> 12, (sizes >> 8) & 15, (sizes >> 4) & 15
    index_size = sizes & 15 if version else 0
    id_size = 4 if version == 2 else 2
    count = fields.take(id_size)
    for _ in range(count):
        item = fields.take(id_size)
        if item != wanted:
            fields.skip((2 if version else 0) + 2 + base_size)
            extents = fields.take(2)
            fields.skip(extents * (index_size + offset_size + length_size))
            continue
        construction = fields.take(2) & 15 if version else 0
        fields.take(2)
        base = fields.take(base_size)
        extents = fields.take(2)
        starts = []
        for _ in range(extents):
            fields.take(index_size)
            starts.append(base + fields.take(offset_size))
            fields.take(length_size)
        return construction, starts[0], fields.read
    return None, None, fields.read


def heif_limit(data):
    """Top-level box headers up to meta, meta's version/flags, its children's headers in order
    until iinf and iloc are both seen (and idat, when the Exif item lies in it), the Exif items
    of iinf, the Exif item's place in iloc, and its skip count; the skipped bytes are not read.
    With one Exif item the primary item (pitm) and the references (iref) are not needed."""
    total = 0
    for kind, payload, end, header in box_headers(data, 0, len(data)):
        total += header
        if kind == b"meta":
            break
    else:
        return total, None, "no meta box"
    total += FULL_BOX_HEADER
    children = box_headers(data, payload + FULL_BOX_HEADER, end)
    found = {}
    seen = 0
    while seen < len(children) and not (b"iinf" in found and b"iloc" in found):
        found.setdefault(children[seen][0], children[seen])
        seen += 1
    total += sum(child[3] for child in children[:seen])
    if b"iinf" not in found or b"iloc" not in found:
        return total, None, "no iinf or iloc box"
    ids, read = exif_items(data, found[b"iinf"])
    total += read
    if not ids:
        return total, None, "no Exif item"
    if len(ids) > 1:
        return total, None, "several Exif items: not walked here"
    construction, start, read = item_place(data, found[b"iloc"], ids[0])
    total += read
    if start is None:
        return total, None, "no place for the Exif item"
    if construction == IDAT_OFFSET:
        idat = [i for i, child in enumerate(children) if child[0] == b"idat"][0]
        total += sum(child[3] for child in children[seen : idat + 1])
        start += children[idat][1]
    (skip,) = struct.unpack(">I", data[start : start + SKIP_COUNT])
    return total + SKIP_COUNT, start + SKIP_COUNT + skip, None


def riff_chunks(data):
    """(type, start of the payload) of each RIFF chunk, in order."""
    at = RIFF_HEADER
    while at + RIFF_CHUNK_HEADER <= len(data):
        kind, size = struct.unpack("<4sI", data[at : at + RIFF_CHUNK_HEADER])
        yield kind, at + RIFF_CHUNK_HEADER
        at += RIFF_CHUNK_HEADER + size + (size & 1)


def png_chunks(data):
    """(type, start of the payload) of each PNG chunk up to IEND, in order."""
    at = PNG_SIGNATURE
    while at + PNG_CHUNK_HEADER <= len(data):
        length, kind = struct.unpack(">I4s", data[at : at + PNG_CHUNK_HEADER])
        yield kind, at + PNG_CHUNK_HEADER
        if kind == b"IEND":
            return
        at += PNG_CHUNK_HEADER + length + PNG_CRC


def webp_limit(data):
    """The RIFF header, each chunk header up to EXIF's, and the Exif identifier when the
    payload has one; without it the TIFF header's own first bytes tell it is not there."""
    total = RIFF_HEADER
    for kind, payload in riff_chunks(data):
        total += RIFF_CHUNK_HEADER
        if kind == b"EXIF":
            if data[payload : payload + len(EXIF_IDENTIFIER)] == EXIF_IDENTIFIER:
                return total + len(EXIF_IDENTIFIER), payload + len(EXIF_IDENTIFIER), None
            return total, payload, None
    return total, None, "no EXIF chunk"


def png_limit(data):
    """The signature and each chunk header up to eXIf's; the CRCs are not read."""
    total = PNG_SIGNATURE
    for kind, payload in png_chunks(data):
        total += PNG_CHUNK_HEADER
        if kind == b"eXIf":
            return total, payload, None
    return total, None, "no eXIf chunk"


def exif_place(chunks, exif, image):
    """Whether the Exif chunk comes "ahead of the image data" or "behind the image data"; ""
    when there is none."""
    kinds = [kind for kind, _ in chunks]
    if exif not in kinds:
        return ""
    behind = any(kind in image for kind in kinds[: kinds.index(exif)])
    return "behind the image data" if behind else "ahead of the image data"


def webp_exif_place(data):
    return exif_place(riff_chunks(data), b"EXIF", (b"VP8 ", b"VP8L", b"ANMF"))


def png_exif_place(data):
    return exif_place(png_chunks(data), b"eXIf", (b"IDAT",))
