#!/usr/bin/env python3
"""Draws Quoriel's map pin: the module's icon and the Windows 11 package's logos.

    pin_images.py ico OUT.ico        16, 24, 32 and 48 px, 32-bit with alpha
    pin_images.py png SIZE OUT.png   one square logo

One drawing serves both, so the icon and the logos cannot drift apart. The pin is a red
teardrop with a white dot, drawn in a unit square and sampled 4 x 4 times a pixel for smooth
edges. Output is deterministic: the same sizes give the same bytes.
"""
import math
import struct
import sys
import zlib

ICON_SIZES = (16, 24, 32, 48)
SAMPLES = 4  # per pixel and axis

PIN_RGB = (0xD9, 0x38, 0x2B)
DOT_RGB = (0xFF, 0xFF, 0xFF)

# The pin in unit coordinates, y downwards: a round head and a point below it, joined by the
# two tangents from the point to the head.
HEAD_X, HEAD_Y, HEAD_RADIUS = 0.5, 0.38, 0.30
TIP_Y = 0.95
DOT_RADIUS = 0.12
_TIP_DISTANCE = TIP_Y - HEAD_Y
_TANGENT_Y = TIP_Y - (_TIP_DISTANCE**2 - HEAD_RADIUS**2) / _TIP_DISTANCE
_CONE_SLOPE = math.tan(math.asin(HEAD_RADIUS / _TIP_DISTANCE))


def colour_at(x, y):
    """The pin's colour at a point, or None outside it."""
    dx, dy = x - HEAD_X, y - HEAD_Y
    in_head = dx * dx + dy * dy <= HEAD_RADIUS * HEAD_RADIUS
    in_point = _TANGENT_Y <= y <= TIP_Y and abs(dx) <= (TIP_Y - y) * _CONE_SLOPE
    if not (in_head or in_point):
        return None
    if dx * dx + dy * dy <= DOT_RADIUS * DOT_RADIUS:
        return DOT_RGB
    return PIN_RGB


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, straight (not premultiplied) alpha."""
    rows = []
    total = SAMPLES * SAMPLES
    for row in range(size):
        pixels = []
        for column in range(size):
            red = green = blue = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    rgb = colour_at((column + (sx + 0.5) / SAMPLES) / size,
                                    (row + (sy + 0.5) / SAMPLES) / size)
                    if rgb is not None:
                        red, green, blue = red + rgb[0], green + rgb[1], blue + rgb[2]
                        covered += 1
            if covered == 0:
                pixels.append((0, 0, 0, 0))
            else:
                pixels.append((red // covered, green // covered, blue // covered,
                               (255 * covered + total // 2) // total))
        rows.append(pixels)
    return rows


def png(size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in render(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the 1-bit AND mask."""
    rows = render(size)[::-1]
    colour = b"".join(bytes((b, g, r, a)) for row in rows for (r, g, b, a) in row)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in rows:
        line = bytearray(mask_stride)
        for column, pixel in enumerate(row):
            if pixel[3] == 0:
                line[column // 8] |= 0x80 >> (column % 8)
        mask += line
    # The height counts the colour and the mask halves together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def ico(sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "ico":
        data, out = ico(ICON_SIZES), arguments[1]
    elif len(arguments) == 3 and arguments[0] == "png" and arguments[1].isdigit():
        data, out = png(int(arguments[1])), arguments[2]
    else:
        sys.exit(__doc__)
    with open(out, "wb") as file:
        file.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
