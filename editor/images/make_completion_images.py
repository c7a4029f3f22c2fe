#!/usr/bin/env python3
"""Draws the completion list's category pictures OVT_VAR, OVT_PROP, OVT_EVENT, OVT_PROC and
OVT_METHOD (.bmp): 16 x 16, 24 bits, lime where the list shows through (the list draws them
with lime as the transparent colour). Simple shapes, one colour per category. Run from
anywhere; the files are written next to this script."""
from bmp24 import write_bmp

SIZE = 16
LIME = (0, 255, 0)


def box(x, y):  # a variable: a small filled box with a dark edge
    if 3 <= x <= 12 and 4 <= y <= 12:
        return (0, 0, 128) if x in (3, 12) or y in (4, 12) else (96, 160, 255)
    return LIME


def tag(x, y):  # a property: a box with a handle to the right
    if 2 <= x <= 9 and 4 <= y <= 11:
        return (0, 96, 96) if x in (2, 9) or y in (4, 11) else (96, 208, 208)
    if 10 <= x <= 13 and 7 <= y <= 8:
        return (0, 96, 96)
    return LIME


def bolt(x, y):  # an event: a lightning bolt
    if 4 <= y <= 8 and 8 - (y - 4) <= x <= 10 - (y - 4):
        return (192, 0, 0)
    if 8 <= y <= 13 and 7 + (8 - y) <= x <= 9 + (8 - y) + 3:
        return (192, 0, 0)
    return LIME


def diamond(x, y, fill):  # a procedure or function: a diamond
    d = abs(x - 7.5) + abs(y - 7.5)
    if d <= 6:
        return (0, 0, 96) if d > 5 else fill
    return LIME


def method(x, y):  # a method: the diamond with a bar beneath it
    if 13 <= y <= 14 and 3 <= x <= 12:
        return (0, 0, 96)
    return diamond(x, y - 1, (176, 112, 240))


PICTURES = {
    "OVT_VAR": box,
    "OVT_PROP": tag,
    "OVT_EVENT": bolt,
    "OVT_PROC": lambda x, y: diamond(x, y, (255, 192, 64)),
    "OVT_METHOD": method,
}


def main():
    for name, colour in PICTURES.items():
        write_bmp(name, SIZE, SIZE, colour)


if __name__ == "__main__":
    main()
