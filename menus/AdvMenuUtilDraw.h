#pragma once
// The menu family's small drawing routines: a rotated font from a canvas font, rectangle
// sizes and centring, colour channels.
#include <windows.h>

#include "classlib/Colors.h"
#include "classlib/Geometry.h"

namespace ClassLib {
class TBitmap;
class TFont;
}

namespace AdvMenuUtil {

using ClassLib::TColor;
using ClassLib::TRect;

// The font description CreateRotatedFont makes: `font`'s face, height and style,
// turned `angle` degrees counter-clockwise.
LOGFONTW RotatedFontInfo(const ClassLib::TFont& font, int angle);
// That font; the caller deletes it.
HFONT CreateRotatedFont(const ClassLib::TFont& font, int angle);

inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
// Makes `r` a w x h rectangle centred where it was.
void CenterSizeInRect(TRect& r, int w, int h);
// (0, 0, width, height) of the bitmap; empty for none.
TRect BitmapRect(const ClassLib::TBitmap* bitmap);
// The channels of a colour, system colours resolved.
void SplitColor(TColor color, int& r, int& g, int& b);
// A four-byte colour value: alpha on top, then blue, green and red in the low byte.
int MakeColorBytes(int r, int g, int b, int a);
inline int IntMin(int a, int b) { return a < b ? a : b; }
inline int IntMax(int a, int b) { return a > b ? a : b; }

}  // namespace AdvMenuUtil
