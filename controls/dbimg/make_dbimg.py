#!/usr/bin/env python3
"""Draws the data-aware glow button's 20 glyphs: 16 x 16, 16 colours, fuchsia background.
Black shapes for the enabled look, light grey with a darker grey edge for the disabled one
(the same name with "D"). Run from anywhere; the files are written next to this script."""
import os
import struct

FUCHSIA, BLACK, LIGHT, DARK = 0, 1, 2, 3
PALETTE = [(255, 0, 255), (0, 0, 0), (192, 192, 192), (128, 128, 128)] + [(0, 0, 0)] * 12


def shape(name):
    """The set of (x, y) pixels of a glyph, y downwards."""
    p = set()
    if name in ("FIRST", "PRIOR"):
        for i in range(6):  # left-pointing triangle
            for y in range(7 - i, 9 + i):
                p.add((5 + i, y))
        if name == "FIRST":
            for y in range(2, 14):
                p.update({(3, y), (4, y)})
    elif name in ("NEXT", "LAST"):
        for i in range(6):
            for y in range(7 - i, 9 + i):
                p.add((10 - i, y))
        if name == "LAST":
            for y in range(2, 14):
                p.update({(11, y), (12, y)})
    elif name == "INSERT":
        for i in range(3, 13):
            p.update({(i, 7), (i, 8), (7, i), (8, i)})
    elif name == "DELETE":
        for i in range(3, 13):
            p.update({(i, 7), (i, 8)})
    elif name == "EDIT":
        for i in range(6):
            for x in range(7 - i, 9 + i):
                p.add((x, 4 + i))
    elif name == "POST":
        for i in range(4):
            p.update({(3 + i, 7 + i), (3 + i, 8 + i)})
        for i in range(7):
            p.update({(7 + i, 10 - i), (7 + i, 9 - i)})
    elif name == "CANCEL":
        for i in range(10):
            p.update({(3 + i, 3 + i), (4 + i, 3 + i), (12 - i, 3 + i), (11 - i, 3 + i)})
    elif name == "REFRESH":
        for x in range(16):
            for y in range(16):
                d = (x - 7.5) ** 2 + (y - 7.5) ** 2
                if 16 <= d <= 30 and not (x > 8 and y < 7):
                    p.add((x, y))
        p.update({(9, 1), (10, 2), (11, 3), (9, 3), (10, 3), (9, 2)})
    return p


def pixels(name, disabled):
    glyph = shape(name)
    rows = []
    for y in range(16):
        row = []
        for x in range(16):
            if (x, y) not in glyph:
                row.append(FUCHSIA)
            elif not disabled:
                row.append(BLACK)
            else:
                edge = any((x + dx, y + dy) not in glyph for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                row.append(DARK if edge else LIGHT)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    data = b""
    for row in reversed(rows):  # bottom-up
        data += bytes((row[i] << 4) | row[i + 1] for i in range(0, 16, 2))  # 8 bytes a row: already 4-byte aligned
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + data)


here = os.path.dirname(os.path.abspath(__file__))
names = ["FIRST", "PRIOR", "NEXT", "LAST", "INSERT", "DELETE", "EDIT", "POST", "CANCEL", "REFRESH"]
with open(os.path.join(here, "DBImages.rc"), "w") as rc:
    rc.write("// The data-aware glow button's glyphs, made by make_dbimg.py.\n")
    for name in names:
        for disabled in (False, True):
            resource = "DBIMG" + name + ("D" if disabled else "")
            write_bmp(os.path.join(here, resource + ".bmp"), pixels(name, disabled))
            rc.write(f'{resource} BITMAP "{resource}.bmp"\n')
