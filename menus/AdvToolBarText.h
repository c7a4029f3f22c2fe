#pragma once
// Captions of toolbar buttons, ribbon tabs, group captions and the pager caption: measured and
// drawn trimmed, wrapped, as an outline or turned, through GDI+ text when anti-aliasing is on
// (and, for the trimmed form, the font is a vector font) and through GDI DrawText otherwise.
#include <windows.h>

#include <string>

#include "classlib/Geometry.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIP.h"

namespace ClassLib {
class TCanvas;
class TFont;
}

namespace AdvToolBar {

using AdvGDIP::TAntiAlias;
using ClassLib::TAlignment;
using ClassLib::TColor;

// The canvas's font is a vector or TrueType font, not a device font, and the screen lists it.
bool IsVectorFont(ClassLib::TCanvas* canvas);

// Measures the caption in `rect` (textRect), and with doDraw draws it fitted into the
// rectangle's width: the longest prefix that fits followed by "..." (ellipsis), or without it
// (neither flag), or the whole caption (keepWhole without ellipsis). wideCaption is taken and
// never used. Through DrawText with `format` when anti-aliasing is off or the font is no vector
// font; only the font's name is given to the canvas, its colour and the rest stay the canvas's.
void DrawTextTrimmed(ClassLib::TCanvas* canvas, TAlignment alignment, UINT format, const ClassLib::TRect& rect,
                     const std::wstring& caption, const std::wstring& wideCaption, const ClassLib::TFont* font,
                     bool enabled, bool doDraw, TAntiAlias antiAlias, bool ellipsis, bool keepWhole,
                     ClassLib::TRect& textRect);

// Measures the caption (wideCaption when caption is empty) wrapped in `rect` and with doDraw
// draws it, vertically centred. The GDI forms draw a single line in the canvas's own font.
// outline: through a bitmap filled with backColor (unless clNone) whose corner colour becomes
// transparent (throughBitmap), or as a filled text path.
void DrawTextWrapped(ClassLib::TCanvas* canvas, TAlignment alignment, const ClassLib::TRect& rect,
                     const std::wstring& caption, const std::wstring& wideCaption, const ClassLib::TFont* font,
                     bool enabled, bool doDraw, TAntiAlias antiAlias, bool throughBitmap, TColor backColor,
                     bool outline, ClassLib::TRect& textRect);
// The same on a device context, always drawn through GDI+: outline draws a bold text path over
// a shadow one pixel lower in shadowColor darkened by 35 percent.
void DrawTextWrappedDC(HDC dc, TAlignment alignment, const ClassLib::TRect& rect, const std::wstring& caption,
                       const std::wstring& wideCaption, const ClassLib::TFont* font, bool enabled, bool doDraw,
                       TAntiAlias antiAlias, TColor shadowColor, bool outline, ClassLib::TRect& textRect);
// The width of the caption on one line of a 1000 x 100 box, measured left-aligned in `font`.
int MeasureTextWidth(ClassLib::TCanvas* canvas, const std::wstring& caption, const std::wstring& wideCaption,
                     TAntiAlias antiAlias, const ClassLib::TFont* font);
// Writes the text at p in the canvas's font, which the caller has already turned, without its
// "&" marks, and underlines the character an "&" marks ("&&" is one ampersand).
void DrawVerticalText(ClassLib::TCanvas* canvas, const std::wstring& text, ClassLib::TPoint p);

// The em size of DrawTextWrapped's text path: the font's size plus 2, times the scale; plus 3
// at scale 1.
float OutlineEmSize(int pointSize, float scale);

// What the faces and the text routines measure and draw a caption with through GDI+: a font of
// the family Font names ("Arial" when GDI+ has none) at its point size with the given style
// bits, a format (flags 0: the text may wrap) whose lines are centred and whose "&" underlines
// the next character, and the text brush (Font's colour, grey when disabled). The graphics
// takes the rendering hint of the anti-alias mode.
class TCaptionText {
public:
    TCaptionText(AdvGDIP::TGPGraphics& graphics, const ClassLib::TFont* font, int styleBits, bool enabled,
                 TAntiAlias antiAlias, int formatFlags = 0);
    AdvGDIP::TGPRectF Measure(const std::wstring& text, const AdvGDIP::TGPRectF& layout);
    void Draw(const std::wstring& text, const AdvGDIP::TGPRectF& layout);
    AdvGDIP::TGPStringFormat& Format() { return FFormat; }
    AdvGDIP::TGPSolidBrush& Brush() { return FBrush; }
private:
    AdvGDIP::TGPGraphics& FGraphics;
    AdvGDIP::TGPFont FFont;
    AdvGDIP::TGPStringFormat FFormat;
    AdvGDIP::TGPSolidBrush FBrush;
};

// The wrapped GDI measure of a caption: from the layout's top left in a column two pixels
// wide, in the font selected into the DC (DT_CALCRECT | DT_WORDBREAK).
AdvGDIP::TGPRectF MeasureWrappedGDI(HDC dc, const std::wstring& text, const AdvGDIP::TGPRectF& layout);

// GDI+ style bits of the font: bold 1, italic 2, underline 4, and strike-out 8 when asked.
int FontStyleBits(const ClassLib::TFont* font, bool withStrikeOut);

}  // namespace AdvToolBar
