"""Writes a 24-bit Windows bitmap next to the picture scripts from a colour function."""
import os
import struct


def write_bmp(name, width, height, colour):
    """colour(x, y) gives (r, g, b) with y from the top; the file is NAME.bmp beside this script."""
    row_size = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    data = header + pixels
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), name + ".bmp")
    with open(out, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, 54) + data)
