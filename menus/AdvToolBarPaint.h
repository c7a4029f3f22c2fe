#pragma once
// The toolbar painters' primitives: colour arithmetic, alpha gradients and the glass caption
// of a composited window, the GDI band gradient, GDI+ lines and outlines, images through
// GDI+ and the caption-button glyphs. Each paints on what it is given and keeps nothing
// between calls; sizes that scale read AdvToolBar::DPIScaleFactor.
#include <windows.h>
#include <uxtheme.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "classlib/Geometry.h"
#include "controls/AdvGlowButtonPaint.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TCanvas;
class TCustomImageList;
class TGraphic;
class TWinControl;
}

namespace AdvToolBar {

using ClassLib::TColor;
// How a pager draws its tab groups (declared with the styler).
enum TGroupStyle : std::uint8_t;

// ---- colours ----

// The opaque GDI+ colour of a TColor, system colours resolved: every pen and brush of the
// toolbar painters that has no alpha of its own.
inline AdvGDIP::ARGB ColorToARGB(TColor color) { return AdvGDIP::ColorToOpaqueARGB(color); }
// percent of color1 over color2 per channel, rounded half to even; 100 or more gives color1,
// 0 or less color2. clNone is taken as the colour its bytes spell (white), not as "none".
TColor BlendColor(TColor color1, TColor color2, int percent);
// Each channel times (100 - percent) / 100, within 0..255: a negative percent lightens.
using AdvStyleIF::DarkenColor;
using AdvGlowButton::ShadeColor;

// R becomes a width x height rectangle centred in it.
void CenterRect(ClassLib::TRect& rect, int width, int height);
// 0 while the ribbons are scenic (square corners), else 3.
int GetCornerRadius();

// ---- alpha gradients and the glass caption (each on its own GDI+ graphics of the DC) ----

// Top to bottom over (Left, Top, Width, Bottom - Top + 1).
void FillAlphaGradient(HDC dc, const ClassLib::TRect& rect, TColor color, BYTE alphaTop, BYTE alphaBottom);
void FillTwoColorGradient(HDC dc, const ClassLib::TRect& rect, TColor colorTop, TColor colorBottom, BYTE alphaTop,
                          BYTE alphaBottom);
// Alpha 150 to 200, then a frame in borderColor whose top is one row above the rectangle.
void FillAlphaGradientFramed(HDC dc, const ClassLib::TRect& rect, TColor color, TColor borderColor);
// Alpha 5 to 130 of the colour's bytes as stored (a system colour is not resolved).
void FillFadingGradient(HDC dc, const ClassLib::TRect& rect, TColor color);
// The gradient up to 40 pixels before the right edge, then 18 strips 2 pixels wide that
// fade out; nothing is painted left of the rectangle when it is narrower than 40 pixels.
void FillGradientFadeRight(HDC dc, const ClassLib::TRect& rect, TColor color, BYTE alphaTop, BYTE alphaBottom);
// The alphas (top, bottom) of those 18 strips, left to right.
std::array<std::pair<BYTE, BYTE>, 18> FadeRightStripAlphas(BYTE alphaTop, BYTE alphaBottom);
// The pale yellow glow behind a glass caption.
void FillGlowGradient(HDC dc, const ClassLib::TRect& rect);
// The glass outline of the quick access toolbar.
void DrawGlassQATFrame(HDC dc, const ClassLib::TRect& rect);
// Black text with a glow of 12 pixels in the active caption's theme part.
void DrawThemeGlowText(HDC dc, const wchar_t* text, int length, const ClassLib::TRect& rect, HTHEME theme,
                       DWORD flags);
// Paints captionRect of the control's window through a 32-bit image: the glow (when glowColor
// is not clNone; the colour itself is not used), a white band fading in (showBand), the quick
// access toolbar's frame in qatRect (showQATFrame), and the caption in the theme's caption
// font with a glow. Nothing without the "CompositedWindow::Window" theme class.
void DrawGlassCaption(ClassLib::TWinControl* control, const std::wstring& caption,
                      const ClassLib::TRect& captionRect, bool showQATFrame, const ClassLib::TRect& qatRect,
                      TColor glowColor, bool showBand);

// ---- GDI gradient ----

// Steps bands (0 counts as 1) from fromColor to toColor, left to right when horizontal, else
// top to bottom, over the rectangle less its last column or row.
void DrawGradient(ClassLib::TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const ClassLib::TRect& rect,
                  bool horizontal);

// ---- GDI+ lines and outlines ----
// The routines taking graphics and a canvas draw on the graphics when given, else on an
// anti-aliased graphics of the canvas made for the call; nothing with neither.

// That choice for one call: Get() is null when there is neither.
class TGraphicsOrCanvas {
public:
    TGraphicsOrCanvas(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas);
    ~TGraphicsOrCanvas();
    TGraphicsOrCanvas(const TGraphicsOrCanvas&) = delete;
    TGraphicsOrCanvas& operator=(const TGraphicsOrCanvas&) = delete;
    AdvGDIP::TGPGraphics* Get() const { return FGraphics; }
private:
    std::unique_ptr<AdvGDIP::TGPGraphics> FOwn;
    AdvGDIP::TGPGraphics* FGraphics;
};

void DrawPathLine(AdvGDIP::TGPGraphics& graphics, const AdvGDIP::TGPPen& pen, float x, float y, float dx, float dy);
// One 1-pixel opaque line from (x, y) to (x + dx, y + dy).
void DrawGDIPLine(HDC dc, TColor color, float x, float y, float dx, float dy);
// An elliptic arc of the box, angles in degrees; the chord closes it when `close`.
void DrawArcPath(AdvGDIP::TGPGraphics& graphics, const AdvGDIP::TGPPen& pen, float x, float y, float width,
                 float height, float startAngle, float sweepAngle, bool close);
// Quarter arcs of diameter 2 x radius at the corners; radius 0 gives square corners.
void DrawRoundRectPath(AdvGDIP::TGPGraphics& graphics, const AdvGDIP::TGPPen& pen, int x, int y, int width, int height,
                       int radius);
void DrawRectPath(AdvGDIP::TGPGraphics& graphics, const AdvGDIP::TGPPen& pen, int x, int y, int width, int height);
// Corners at (Left, Top) and (Right, Bottom), both included.
void DrawRectGDIP(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas, TColor color, const ClassLib::TRect& rect);
// Strokes of 5, 3 and 1 pixels from p down.
void DrawDropDownArrow(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas, TColor color, ClassLib::TPoint p);
// One embossed line between the points in white and the button shadow (raised: white first).
void DrawGripLine(ClassLib::TCanvas* canvas, ClassLib::TPoint p1, ClassLib::TPoint p2, bool vertical, bool raised);

// ---- images through GDI+ ----
// Both raise AdvGlobalStream::EImageMemoryError, having freed what they made, when the
// memory for the image's bytes cannot be had; they draw nothing when GDI+ cannot read them.

// The image at p, its bottom-left pixel's colour transparent; nothing for a null list or a
// negative index.
void DrawImageListGDIP(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas, ClassLib::TPoint p,
                       ClassLib::TCustomImageList* images, int index, bool enabled);
// The graphic at p at its own size: SVG through its own drawing, a PNG with its alpha, any
// other format with its top-left pixel's colour transparent when colorKey is set.
void DrawGraphicGDIP(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas, ClassLib::TPoint p,
                     ClassLib::TGraphic* graphic, bool colorKey);

// ---- caption-button glyphs ----
// In the canvas pen's colour `color`, sized by DPIScaleFactor. The Office 2019 group style
// has its own flat forms. Without `scaled` the restore, maximize and minimize glyphs are
// fixed figures at the rectangle's top right (restore, maximize) or top left (minimize).

void DrawCloseGlyph(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, TColor color, TGroupStyle groupStyle,
                    int penWidth);
void DrawRestoreGlyph(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, TColor color, TGroupStyle groupStyle,
                      bool scaled);
void DrawMaximizeGlyph(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, TColor color, TGroupStyle groupStyle,
                       bool scaled);
void DrawMinimizeGlyph(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, TColor color, TGroupStyle groupStyle,
                       bool scaled);

}  // namespace AdvToolBar
