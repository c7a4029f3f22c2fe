#!/usr/bin/env python3
"""Writes the option indicator bitmaps (9 x 9, 24-bit): a small down arrow under a bar,
dark for the enabled picture and grey for the disabled one. Magenta is the transparent key."""
import struct

KEY = (255, 0, 255)
ART = [
    ".........",
    ".#######.",
    ".........",
    ".........",
    ".#######.",
    "..#####..",
    "...###...",
    "....#....",
    ".........",
]

def write(name, ink):
    width = height = 9
    row_bytes = (width * 3 + 3) & ~3
    pixels = b""
    for line in reversed(ART):  # bottom-up rows
        row = b"".join(bytes(reversed(ink if c == "#" else KEY)) for c in line)
        pixels += row + b"\0" * (row_bytes - width * 3)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    with open(name, "wb") as f:
        f.write(file_header + header + pixels)

write("OPTIONIND_PIC.bmp", (0x40, 0x40, 0x40))
write("OPTIONIND_PICD.bmp", (0xA0, 0xA0, 0xA0))
