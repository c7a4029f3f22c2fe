#!/usr/bin/env python3
"""Packs one file into an uncompressed cabinet: pack_cab.py FILE CABINET.

The restart program travels inside each program that restarts as a cabinet resource; the
build makes it with this, so no cabinet tool is needed on the build machine.
"""
import os
import struct
import sys
import time

BLOCK = 32768


def main(source, cabinet):
    with open(source, "rb") as f:
        data = f.read()
    name = os.path.basename(source).encode("ascii") + b"\0"
    t = time.localtime(os.path.getmtime(source))
    dos_date = ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday
    dos_time = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2)
    blocks = [data[i:i + BLOCK] for i in range(0, len(data), BLOCK)] or [b""]
    files_offset = 36 + 8
    data_offset = files_offset + 16 + len(name)
    total = data_offset + sum(8 + len(b) for b in blocks)
    out = struct.pack("<4sIIIIIBBHHHHH", b"MSCF", 0, total, 0, files_offset, 0, 3, 1, 1, 1, 0, 0x5550, 0)
    out += struct.pack("<IHH", data_offset, len(blocks), 0)
    out += struct.pack("<IIHHHH", len(data), 0, 0, dos_date, dos_time, 0x20) + name
    for b in blocks:
        out += struct.pack("<IHH", 0, len(b), len(b)) + b   # check sum 0: not checked
    with open(cabinet, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
