#pragma once
// The drawing primitives of the styled menus: linear gradients into a canvas or a
// bitmap, gradients painted only inside a clip, framed gradient boxes with an optional
// mirrored lower half, lines with gradient ends, and a background with its picture.
// Each paints on the bitmap when one is given, else on the canvas; empty rectangles and
// clNone colours paint nothing.
#include "classlib/Colors.h"
#include "classlib/Geometry.h"
#include "menus/AdvMenuStyler.h"

namespace ClassLib {
class TBitmap;
class TCanvas;
}

namespace AdvMenus {

using ClassLib::TRect;

// Row (gdVertical) or column k of `r` gets, per channel, the low byte of
// Color + k * (ColorTo - Color) div extent. ColorTo clNone or equal to Color fills flat.
void FillMenuGradient(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, const TRect& r,
                      TGradientDirection direction, TColor colorTo, TColor color);
// The gradient over `full`, painted only where `full` and `clip` meet: each row keeps
// the colour it has in the whole gradient, so parts painted apart join without a seam.
void FillMenuGradientClipped(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, const TRect& full,
                             TGradientDirection direction, TColor colorTo, TColor color, const TRect& clip);
// The gradient (when `fill` and Color is a colour), then a one-pixel frame in BorderColor.
void DrawMenuGradientBox(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, const TRect& r, bool fill,
                         TColor borderColor, TGradientDirection direction, TColor colorTo, TColor color);
// As DrawMenuGradientBox, but with Mirror set the upper half runs Color to ColorTo and the
// lower half Mirror to MirrorTo.
void DrawMenuMirrorGradientBox(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, const TRect& r, bool fill,
                               TColor borderColor, TGradientDirection direction, TColor mirrorTo, TColor mirror,
                               TColor colorTo, TColor color);
// A line along `direction` (gdHorizontal: left to right), shortened by `margin` at both
// ends: solid, with gradient ends `gradientWidth` long (for gtBoth on a vertical line,
// twice that in all) that run towards ColorTo at the line's ends.
void DrawGradientLine(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, const TRect& r, int margin,
                      int gradientWidth, TGradientType gradientType, TGradientDirection direction, TColor colorTo,
                      TColor color);
// The background inside its margins: composed in its own cache bitmap (the gradient when
// `paintGradient` and the picture does not cover it, then the picture placed by
// Position), then drawn at the rectangle's top-left.
void DrawMenuBackground(ClassLib::TCanvas* canvas, const TRect& r, TBackground& background, bool paintGradient);

}  // namespace AdvMenus
