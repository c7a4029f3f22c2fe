#!/usr/bin/env python3
"""Draws the memo's bookmark glyph OVT_BOOK.bmp: 14 x 16, 24 bits, fuchsia where the gutter
shows through (the bottom-left pixel). A pale tag with a dark edge and a notch at its foot;
the memo writes the bookmark's number at (3, 3). Run from anywhere; the file is written
next to this script."""
import os
import struct

WIDTH, HEIGHT = 14, 16
FUCHSIA, EDGE, FACE, SHINE = (255, 0, 255), (0, 64, 128), (160, 224, 255), (224, 248, 255)


def colour(x, y):
    if not (1 <= x <= 12 and 0 <= y <= 14):
        return FUCHSIA
    # The notch: a V cut into the foot of the tag.
    depth = 3 - abs(x * 2 - 13) // 2
    if y > 14 - depth:
        return FUCHSIA
    if x in (1, 12) or y == 0 or y == 14 - depth:
        return EDGE
    return SHINE if x == 2 or y == 1 else FACE


def main():
    row_size = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up rows
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    data = header + pixels
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "OVT_BOOK.bmp")
    with open(out, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, 54) + data)


if __name__ == "__main__":
    main()
