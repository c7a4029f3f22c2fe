#!/usr/bin/env python3
"""Draws the styled menus' nine glyph bitmaps: the check mark, the radio dot and the
sub-menu arrow, each at 1, 1.5 and 2 times (suffixes "", "X15", "X20"). Black on white:
1 bit at 1x, 8-bit grey (check, radio) or 24-bit (arrow) at the larger sizes, where the
edges are shaded by coverage. Run from anywhere; the files are written next to this script."""
import math
import os
import struct

SAMPLES = 4  # per pixel and axis, for the coverage of the shaded sizes


def tick(x, y, size):
    """True inside the check mark: two strokes, down-right then up-right."""
    s = size / 16.0
    width = 1.6 * s
    points = [(3.5 * s, 8.0 * s), (6.5 * s, 11.0 * s), (12.5 * s, 4.5 * s)]
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        if math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= width / 2 + 0.25 * s:
            return True
    return False


def dot(x, y, size):
    """True inside the radio dot, centred, a little under a third of the width across."""
    centre = size / 2.0
    return math.hypot(x - centre, y - centre) <= size * 0.19


def arrow(x, y, width, height):
    """True inside the right-pointing triangle that fills the bitmap."""
    middle = height / 2.0
    return x >= 0 and x <= width and abs(y - middle) <= middle * (1 - x / width)


def coverage(inside, width, height):
    """Rows (top first) of ink coverage 0..1 per pixel."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    if inside(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                        hits += 1
            row.append(hits / (SAMPLES * SAMPLES))
        rows.append(row)
    return rows


def write_bmp(name, width, height, bits, palette, pixel_rows):
    """pixel_rows: top row first; each pixel a palette index (1 and 8 bit) or a grey level (24 bit)."""
    rows = []
    for row in reversed(pixel_rows):  # bottom-up
        if bits == 1:
            data = bytearray((width + 7) // 8)
            for x, index in enumerate(row):
                if index:
                    data[x // 8] |= 0x80 >> (x % 8)
        elif bits == 8:
            data = bytearray(row)
        else:
            data = bytearray()
            for grey in row:
                data += bytes((grey, grey, grey))
        data += bytes((-len(data)) % 4)
        rows.append(bytes(data))
    image = b"".join(rows)
    colours = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(image), 2835, 2835, len(palette), 0)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name + ".bmp"), "wb") as f:
        f.write(header + info + colours + image)


def one_bit(name, inside, width, height):
    # Index 0 black ink, 1 white paper.
    rows = [[0 if c >= 0.5 else 1 for c in row] for row in coverage(inside, width, height)]
    write_bmp(name, width, height, 1, [(0, 0, 0), (255, 255, 255)], rows)


def grey_palette(name, inside, width, height):
    grey = [(v, v, v) for v in range(256)]
    rows = [[round(255 * (1 - c)) for c in row] for row in coverage(inside, width, height)]
    write_bmp(name, width, height, 8, grey, rows)


def true_colour(name, inside, width, height):
    rows = [[round(255 * (1 - c)) for c in row] for row in coverage(inside, width, height)]
    write_bmp(name, width, height, 24, [], rows)


def main():
    one_bit("ADVCHECKITEM", lambda x, y: tick(x, y, 16), 16, 16)
    grey_palette("ADVCHECKITEMX15", lambda x, y: tick(x, y, 24), 24, 24)
    grey_palette("ADVCHECKITEMX20", lambda x, y: tick(x, y, 32), 32, 32)
    one_bit("ADVRADIOITEM", lambda x, y: dot(x, y, 16), 16, 16)
    grey_palette("ADVRADIOITEMX15", lambda x, y: dot(x, y, 24), 24, 24)
    grey_palette("ADVRADIOITEMX20", lambda x, y: dot(x, y, 32), 32, 32)
    one_bit("ADVSUBMENUITEM", lambda x, y: arrow(x, y, 4, 7), 4, 7)
    true_colour("ADVSUBMENUITEMX15", lambda x, y: arrow(x, y, 6, 10), 6, 10)
    true_colour("ADVSUBMENUITEMX20", lambda x, y: arrow(x, y, 8, 14), 8, 14)


if __name__ == "__main__":
    main()
