#!/usr/bin/python3
"""Writes a copy of a TrueType font under another family name, its outlines and metrics
unchanged: Wine then has a face of that name itself, instead of a replacement that it
applies only while the replacing family is loaded and no family answers to the name.
Usage: make-alias-font.py SOURCE.ttf FAMILY OUTPUT.ttf"""
import sys

from fontTools.ttLib import TTFont


def main(source, family, output):
    font = TTFont(source)
    names = font["name"]
    style = names.getDebugName(2) or "Regular"
    full = family if style == "Regular" else f"{family} {style}"
    postscript = (family + "-" + style).replace(" ", "")
    for record in names.names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID == 3:
            record.string = f"atgen alias: {full}"
        elif record.nameID == 4:
            record.string = full
        elif record.nameID == 6:
            record.string = postscript
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
