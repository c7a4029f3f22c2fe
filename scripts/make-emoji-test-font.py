#!/usr/bin/python3
"""Writes a small colour (COLR/CPAL) font for the emoji tests: family "ATGen Emoji Test",
one glyph for U+1F600 and U+1F004 made of two layers, a red left half and a blue right
half. Usage: make-emoji-test-font.py OUTPUT.ttf"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables import otTables  # noqa: F401  (COLR/CPAL builders need it loaded)
from fontTools.colorLib.builder import buildCOLR, buildCPAL


def box(x0, y0, x1, y1):
    pen = TTGlyphPen(None)
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()
    return pen.glyph()


def main(path):
    names = [".notdef", "emoji", "left", "right"]
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({0x1F600: "emoji", 0x1F004: "emoji"})
    fb.setupGlyf({".notdef": box(50, 0, 450, 700), "emoji": box(0, -100, 1000, 800),
                  "left": box(0, -100, 500, 800), "right": box(500, -100, 1000, 800)})
    # The left side bearing is each outline's left edge: rasterizers place outlines by it.
    fb.setupHorizontalMetrics({".notdef": (500, 50), "emoji": (1000, 0), "left": (1000, 0), "right": (1000, 500)})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    family = "ATGen Emoji Test"
    fb.setupNameTable({"familyName": family, "styleName": "Regular", "uniqueFontIdentifier": family,
                       "fullName": family, "psName": "ATGenEmojiTest-Regular"})
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    fb.setupPost()
    fb.font["COLR"] = buildCOLR({"emoji": [("left", 0), ("right", 1)]})
    fb.font["CPAL"] = buildCPAL([[(1.0, 0.0, 0.0, 1.0), (0.0, 0.0, 1.0, 1.0)]])
    fb.save(path)


if __name__ == "__main__":
    main(sys.argv[1])
