#!/usr/bin/env python3
"""Draws the memo's bookmark glyph OVT_BOOK.bmp: 14 x 16, 24 bits, fuchsia where the gutter
shows through (the bottom-left pixel). A pale tag with a dark edge and a notch at its foot;
the memo writes the bookmark's number at (3, 3). Run from anywhere; the file is written
next to this script."""
from bmp24 import write_bmp

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
    write_bmp("OVT_BOOK", WIDTH, HEIGHT, colour)


if __name__ == "__main__":
    main()
