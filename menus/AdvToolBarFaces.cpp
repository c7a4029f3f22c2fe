#include "menus/AdvToolBarFaces.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "classlib/Canvas.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarText.h"

namespace AdvToolBar {

using AdvGlowButton::blGlyphBottom;
using AdvGlowButton::blGlyphBottomAdjusted;
using AdvGlowButton::blGlyphLeft;
using AdvGlowButton::blGlyphLeftAdjusted;
using AdvGlowButton::blGlyphRight;
using AdvGlowButton::blGlyphRightAdjusted;
using AdvGlowButton::blGlyphTop;
using AdvGlowButton::blGlyphTopAdjusted;
using AdvGlowButton::dpBottom;
using AdvGlowButton::dpRight;
using AdvGlowButton::ggRadial;
using AdvGlowButton::ggVertical;
using ClassLib::clGray;
using ClassLib::clNone;
using ClassLib::TCanvas;
using ClassLib::TPoint;
using ClassLib::TRect;
using ClassLib::TSize;
using namespace AdvGDIP;

namespace {

constexpr int DropDownPartSize = 14;
constexpr TColor FocusFrameColor = 0xE4AD89;

// Halves to even, as the unit's arithmetic is written.
int Round(double value) { return int(std::nearbyint(value)); }

TRect DropDownPart(const TRect& r, TDropDownPosition position) {
    return position == dpBottom ? TRect{r.Left, r.Bottom - DropDownPartSize, r.Right, r.Bottom}
                                : TRect{r.Right - DropDownPartSize, r.Top, r.Right, r.Bottom};
}

LinearGradientMode ModeOf(TGDIPGradient kind) {
    return kind == ggVertical                     ? LinearGradientModeVertical
           : kind == AdvGlowButton::ggDiagonalForward ? LinearGradientModeForwardDiagonal
                                                      : LinearGradientModeBackwardDiagonal;
}

// Fills `fill`, cut to `bounds`, with a radial glow on the ellipse whose centre colour sits at
// `centre`.
void FillRadial(TGPGraphics& g, const TGPGraphicsPath& ellipse, TGPPointF centre, TColor centreColor,
                TColor surroundColor, TRect fill, const TRect& bounds) {
    fill.Bottom = std::min(fill.Bottom, bounds.Bottom);
    if (fill.Width() <= 0 || fill.Height() <= 0) return;
    TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(centre);
    brush.SetCenterColor(ColorToARGB(centreColor));
    const ARGB surround = ColorToARGB(surroundColor);
    int count = 1;
    brush.SetSurroundColors(&surround, count);
    g.FillRectangle(&brush, fill.Left, fill.Top, fill.Width(), fill.Height());
}

void FillLinear(TGPGraphics& g, const TGPRectF& brushRect, TColor from, TColor to, TGDIPGradient kind, TRect fill,
                const TRect& bounds) {
    fill.Bottom = std::min(fill.Bottom, bounds.Bottom);
    if (fill.Width() <= 0 || fill.Height() <= 0 || brushRect.Width <= 0 || brushRect.Height <= 0) return;
    TGPLinearGradientBrush brush(brushRect, ColorToARGB(from), ColorToARGB(to), ModeOf(kind));
    g.FillRectangle(&brush, fill.Left, fill.Top, fill.Width(), fill.Height());
}

// The two halves of DrawGlowButtonFace, the lower one first. The mirror half runs ColorMirror
// (at the split) to ColorMirrorTo. Its fills reach below the rectangle as written; they are cut
// at its bottom, so a face never paints its neighbour.
void PaintGlowHalves(TCanvas* canvas, TGPGraphics& g, const TRect& r, const TGlowLook& look) {
    const int w = r.Width(), h = r.Height();
    int half = h / 2;
    canvas->Brush()->SetStyle(ClassLib::bsSolid);
    canvas->Brush()->SetColor(look.ColorMirror);
    canvas->FillRect(TRect{r.Left, r.Top + half, r.Right, r.Bottom});
    TGPGraphicsPath lower;
    lower.AddEllipse(r.Left, r.Top + half, w, h);
    if (look.GradientMirror == ggRadial)
        FillRadial(g, lower, TGPPointF(float(r.Left + w / 2), float(r.Bottom)), look.ColorMirrorTo, look.ColorMirror,
                   TRect{r.Left + 1, r.Top + half, r.Right, r.Top + 2 * half + 1}, r);
    else
        FillLinear(g, TGPRectF(float(r.Left), float(r.Top + half), float(w), float(half)), look.ColorMirror,
                   look.ColorMirrorTo, look.GradientMirror, TRect{r.Left + 1, r.Top + half + 1, r.Right, r.Top + 2 * half + 2},
                   r);

    canvas->Brush()->SetColor(look.Color);
    canvas->FillRect(TRect{r.Left, r.Top, r.Right, r.Top + half});
    TGPGraphicsPath upper;
    upper.AddEllipse(r.Left, r.Top - half, w, h);
    // An odd row more for the upper glow, so that it meets the lower half.
    if (h % 2) ++half;
    const TRect fill{r.Left + 1, r.Top + 1, r.Right, r.Top + h - half};
    if (look.Gradient == ggRadial)
        FillRadial(g, upper, TGPPointF(float(r.Left + w / 2), float(r.Top)), look.ColorTo, look.Color, fill, r);
    else
        FillLinear(g, TGPRectF(float(r.Left), float(r.Top), float(w), float(look.Gradient == ggVertical ? half : h)),
                   look.Color, look.ColorTo, look.Gradient, fill, r);
}

void DrawFocusFrame(TGPGraphics& g, const TRect& r, int radius) {
    DrawRoundRect(g, FocusFrameColor, r.Left + 1, r.Top + 1, r.Width() - 3, r.Height() - 3, radius);
    DrawFocusRect(g, clGray, r.Left + 2, r.Top + 2, r.Width() - 5, r.Height() - 5, radius);
}

// Rows of 5, 3 and 1 pixels from p down, or columns from p right, in the canvas pen.
void DrawArrowFigure(TCanvas* canvas, TPoint p, TColor color, bool down) {
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(1);
    if (down) {
        canvas->MoveTo(p.X, p.Y);
        canvas->LineTo(p.X + 5, p.Y);
        canvas->MoveTo(p.X + 1, p.Y + 1);
        canvas->LineTo(p.X + 4, p.Y + 1);
    } else {
        canvas->MoveTo(p.X, p.Y);
        canvas->LineTo(p.X, p.Y + 5);
        canvas->MoveTo(p.X + 1, p.Y + 1);
        canvas->LineTo(p.X + 1, p.Y + 4);
    }
    canvas->SetPixels(p.X + 2, p.Y + 2, color);
}

TPoint ArrowPoint(const TRect& part) {
    return {part.Left + (part.Width() - 5) / 2, part.Top + 1 + (part.Height() - 3) / 2};
}

void DrawSplitLine(TCanvas* canvas, const TRect& part, TDropDownPosition position, TColor color) {
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(part.Left, part.Top);
    if (position == dpRight) canvas->LineTo(part.Left, part.Bottom);
    else canvas->LineTo(part.Right, part.Top);
}

void Line(TGPGraphics& g, TColor color, int x1, int y1, int x2, int y2) {
    TGPPen pen(ColorToARGB(color), 1.0f);
    g.DrawLine(&pen, x1, y1, x2, y2);
}

// The line on the left of a grouped button: the separator while hot, a light inset line at rest.
void DrawGroupLeftLine(TGPGraphics& g, TColor color, int x, int y, int height, bool hot) {
    if (hot) Line(g, ShadeColor(color, -5), x, y, x, y + height);
    else Line(g, ShadeColor(ClassLib::clWhite, -10), x, y + 2, x, y + height - 2);
}

// A picture is measured when it is loaded; only one not measured yet is decoded for its size
// here, not every picture on every paint.
void PictureSize(GDIPicture::TGDIPPicture& picture, int& width, int& height) {
    if (picture.Width() <= 0 || picture.Height() <= 0) picture.GetImageSizes();
    width = picture.Width();
    height = picture.Height();
}

bool IsHorizontalLayout(TButtonLayout layout) {
    return layout == blGlyphLeft || layout == blGlyphRight || layout == blGlyphLeftAdjusted ||
           layout == blGlyphRightAdjusted;
}

// "\n" (either case) in a caption starts a new line.
std::wstring WithLineBreaks(std::wstring caption) {
    for (std::size_t at = 0; (at = caption.find(L'\\', at)) != std::wstring::npos;) {
        if (at + 1 < caption.size() && (caption[at + 1] == L'n' || caption[at + 1] == L'N')) {
            caption.replace(at, 2, L"\n\r");
            at += 2;
        } else {
            ++at;
        }
    }
    return caption;
}

}  // namespace

// ---- the glow face ----

void DrawGlowButtonFace(TCanvas* canvas, const TRect& r, const TGlowButtonFace& face) {
    const TGlowLook& look = face.Look;
    const TRect part = DropDownPart(r, face.DropDownPosition);
    TRect captionArea = r;
    if (face.DropDownButton) {
        if (face.DropDownPosition == dpBottom) captionArea.Bottom = part.Top;
        else captionArea.Right = part.Left;
    }
    const int w = r.Width(), h = r.Height();
    TGPGraphics g(canvas->Handle());

    if (look.ColorTo == clNone && look.ColorMirror == clNone) {
        TGPSolidBrush brush(ColorToARGB(look.Color));
        g.FillRectangle(&brush, r.Left - 1, r.Top, w, h);
        if (look.Border == clNone) return;
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const TGPPen pen(ColorToARGB(look.Border), 1.0f);
        if (face.Rounded) DrawRoundRectPath(g, pen, r.Left, r.Top, w - 1, h - 1, 3);
        else DrawRectPath(g, pen, r.Left - 2, r.Top, w + 1, h - 1);
        return;
    }

    PaintGlowHalves(canvas, g, r, look);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    if (look.Border != clNone) {
        const TGPPen pen(ColorToARGB(look.Border), 1.0f);
        if (face.Rounded) DrawRoundRectPath(g, pen, r.Left, r.Top, w - 1, h - 1, 3);
        else DrawRectPath(g, pen, r.Left, r.Top, w - 1, h - 1);
    }
    if (face.Focused) DrawFocusFrame(g, r, 3);

    int iw = 0, ih = 0;
    const bool hasPicture = face.Picture && !face.Picture->Empty();
    const bool hasImage = !hasPicture && face.ImageIndex >= 0 && face.Images;
    if (hasPicture) {
        PictureSize(*face.Picture, iw, ih);
    } else if (hasImage) {
        iw = face.Images->Width();
        ih = face.Images->Height();
    }
    int tw = captionArea.Width(), th = captionArea.Height();
    int ix = 0, iy = 0;
    const bool hasCaption = !face.Caption.empty() && face.Font;
    if (hasCaption) {
        TGPRectF lr(float(r.Left), float(r.Top), float(tw), float(th));
        const bool gdiplus = face.AntiAlias != AdvGDIP::aaNone;
        TCaptionText text(g, face.Font, FontStyleBits(face.Font, false), face.Enabled, face.AntiAlias);
        text.Format().SetAlignment(StringAlignmentCenter);
        TGPRectF box(0, 0, 0, 0);
        if (gdiplus) {
            box = text.Measure(face.Caption, lr);
        } else {
            canvas->TextExtent(L"");  // selects the canvas's font, the one the GDI caption is in
            box = MeasureWrappedGDI(canvas->Handle(), face.Caption, lr);
        }
        if (iw > 0) {
            switch (face.GlyphPosition) {
                case 0:
                    lr.X = float(r.Left + iw + 2);
                    lr.Width = float(tw - iw - 2);
                    ix = std::max(Round(box.X - iw / 2), r.Left + 2);
                    iy = r.Top + std::max((th - ih) / 2, 0);
                    break;
                case 1:
                    lr.Y = float(r.Top + ih);
                    lr.Height = float(th - ih - 2);
                    ix = r.Left + std::max((tw - iw) / 2, 0);
                    iy = std::max(Round(lr.Y) + std::max(Round(lr.Height - box.Height) / 2, 0) - ih, r.Top + 2);
                    break;
                case 2:
                    lr.X = float(r.Left + 2);
                    lr.Width = float(tw - iw - 4);
                    ix = std::max(Round(lr.Width - box.Width) / 2, 0);
                    ix = Round(box.Width) + ix + 4;
                    if (tw - iw < ix) ix = tw - iw - 2;
                    ix += r.Left;
                    iy = r.Top + std::max((th - ih) / 2, 0);
                    break;
                default:
                    lr.Y = float(r.Top + 2);
                    lr.Height = float(th - ih - 2);
                    ix = r.Left + std::max((tw - iw) / 2, 0);
                    iy = Round(box.Height + 2) + std::max(Round(lr.Height - box.Height) / 2, 0);
                    if (th - ih < iy) iy = th - ih - 2;
                    iy += r.Top;
                    break;
            }
        }
        if (gdiplus) {
            text.Draw(face.Caption, lr);
        } else {
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            canvas->TextExtent(L"");  // the transparent background for the text
            RECT target{Round(lr.X), Round(lr.Y), Round(lr.X) + Round(lr.Width), Round(lr.Y) + Round(lr.Height)};
            ::DrawTextW(canvas->Handle(), face.Caption.c_str(), int(face.Caption.size()), &target,
                        DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    }

    if (face.DropDownButton) {
        if (face.DropDownPosition == dpBottom) th -= 8;
        else tw -= 8;
    }
    const auto centred = [&](int width, int height) {
        return TPoint{r.Left + std::max((tw - width) / 2, 0), r.Top + std::max((th - height) / 2, 0)};
    };
    if (hasPicture) {
        const TPoint at = hasCaption ? TPoint{ix, iy} : centred(iw, ih);
        canvas->Draw(at.X, at.Y, face.Picture);
    } else if (hasImage) {
        const TPoint at = hasCaption ? TPoint{ix, iy} : centred(iw, ih);
        face.Images->Draw(canvas, at.X, at.Y, face.ImageIndex, face.ImageEnabled);
    }

    if (face.DropDownButton) {
        canvas->Brush()->SetStyle(ClassLib::bsClear);
        if (face.DropDownSplit) DrawSplitLine(canvas, part, face.DropDownPosition, look.Border);
        DrawArrowFigure(canvas, ArrowPoint(part), face.Enabled ? ClassLib::clBlack : clGray, true);
    }
}

void DrawGlowRect(TCanvas* canvas, const TRect& rect, const TGlowLook& look, const std::wstring& caption,
                  const ClassLib::TFont* font, bool enabled, bool focused, AdvGDIP::TAntiAlias antiAlias,
                  bool rounded) {
    TGlowButtonFace face;
    face.Look = look;
    face.Caption = caption;
    face.Font = font;
    face.Enabled = enabled;
    face.Focused = focused;
    face.AntiAlias = antiAlias;
    face.Rounded = rounded;
    DrawGlowButtonFace(canvas, rect, face);
}

void DrawButtonGlow(TGPGraphics* graphics, TCanvas* canvas, TColor colorFrom, TColor colorTo, const TRect& rect) {
    const TGraphicsOrCanvas target(graphics, canvas);
    if (target.Get()) FillGlow(*target.Get(), rect, colorFrom, colorTo, ggVertical, true);
}

void DrawVistaGradient(TCanvas* canvas, const TRect& r, int upperHeight, TColor color, TColor colorTo,
                       TColor colorMirror, TColor colorMirrorTo, TColor borderColor, int radius) {
    TRect upper{r.Left, r.Top, r.Right, r.Top + upperHeight + 1};
    const TRect lower{r.Left, r.Top + upperHeight, r.Right, r.Bottom};
    if (color != clNone && colorMirror == clNone && colorMirrorTo == clNone) upper = r;
    const auto fill = [canvas](const TRect& part, TColor from, TColor to) {
        if (from == clNone) return;
        if (to != clNone) {
            DrawGradient(canvas, from, to, 40, part, false);
        } else {
            canvas->Brush()->SetStyle(ClassLib::bsSolid);
            canvas->Brush()->SetColor(from);
            canvas->FillRect(part);
        }
    };
    fill(upper, color, colorTo);
    fill(lower, colorMirror, colorMirrorTo);
    if (borderColor == clNone) return;
    TGPGraphics g(canvas->Handle());
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const TGPPen pen(ColorToARGB(borderColor), 1.0f);
    if (radius > 0) DrawRoundRectPath(g, pen, r.Left, r.Top, r.Width() - 1, r.Height() - 1, radius);
    else DrawRectPath(g, pen, r.Left, r.Top, r.Width() - 1, r.Height() - 1);
}

// ---- the pager's button face ----

TSize DrawVistaButton(TCanvas* canvas, const TRect& r, const TVistaButtonFace& face) {
    const TRect part = DropDownPart(r, face.DropDownPosition);
    TRect buttonPart = r;
    if (face.DropDownButton) {
        if (face.DropDownPosition == dpRight) buttonPart.Right = part.Left;
        else buttonPart.Bottom = part.Top;
    }
    const int fullHeight = r.Height(), half = fullHeight / 2;
    const int radius = face.Rounded ? 3 : 0;
    TColor color = face.Look.Color, colorTo = face.Look.ColorTo;
    TColor mirror = face.Look.ColorMirror, mirrorTo = face.Look.ColorMirrorTo;
    if (mirror == clNone && mirrorTo == clNone) mirrorTo = color;
    if (mirror == clNone) mirror = color;

    TGPGraphics g(canvas->Handle());
    if (!face.NoBackground) {
        if (face.DropDownSplit && face.DropDownButton && face.HotOrDown) {
            // Hot split buttons: the part the mouse is not over is 10 % darker; the drop-down
            // column (or row) is 12 pixels.
            constexpr int column = 12;
            const bool right = face.DropDownPosition == dpRight;
            const auto [buttonLower, buttonUpper, dropUpper, dropLower] =
                AdvGlowButton::SplitHalves(r, column, face.DropDownPosition);
            const bool overButton = face.DropDownHover == 2;
            const auto shade = [](TColor c, bool darker) { return darker ? ShadeColor(c, -10) : c; };
            FillGlow(g, buttonLower, shade(mirrorTo, !overButton), shade(mirror, !overButton), face.Look.GradientMirror,
                     false);
            FillGlow(g, buttonUpper, shade(color, !overButton), shade(colorTo, !overButton), face.Look.Gradient, true);
            FillGlow(g, dropUpper, shade(color, overButton), shade(colorTo, overButton), ggRadial, true);
            if (right)
                FillGlow(g, dropLower, shade(mirrorTo, overButton), shade(mirror, overButton), face.Look.GradientMirror,
                         false);
        } else {
            FillGlow(g, TRect{r.Left, r.Top + half - 1, r.Right, r.Bottom}, mirrorTo, mirror, face.Look.GradientMirror,
                     false);
            FillGlow(g, TRect{r.Left, r.Top, r.Right, r.Bottom - half}, color, colorTo, face.Look.Gradient, true);
        }
    }
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    if (!face.NoBackground && face.HasBorder) {
        const TColor border = face.Look.Border;
        const int x = r.Left, y = r.Top, w = r.Width() - 1, h = r.Height() - 1;
        switch (face.Position) {
            case AdvGlowButton::bpStandalone: DrawRoundRect(g, border, x, y, w, h, radius); break;
            case AdvGlowButton::bpLeft: DrawLeftBorder(g, border, x, y, w, h, radius); break;
            case AdvGlowButton::bpMiddle: DrawMiddleBorder(g, border, x, y, w, h, radius, face.Hot); break;
            case AdvGlowButton::bpRight: DrawRightBorder(g, border, x, y, w, h, radius, face.Hot); break;
        }
    }
    if (face.FocusFrame) DrawFocusFrame(g, r, radius);

    // The image, with the spacing to the caption in its width.
    int iw = 0, ih = 0;
    const bool hasGlyph = face.Glyph && !face.Glyph->Empty() && face.Glyph->Width() > 1 && face.Glyph->Height() > 1;
    const bool hasPicture = !hasGlyph && face.Picture && !face.Picture->Empty();
    const bool hasImage = !hasGlyph && !hasPicture && face.ImageIndex > -1 && face.Images;
    if (hasGlyph) {
        iw = face.Glyph->Width();
        ih = face.Glyph->Height();
    } else if (hasPicture) {
        PictureSize(*face.Picture, iw, ih);
    } else if (hasImage) {
        iw = face.Images->Width();
        ih = face.Images->Height();
    }
    const int s = face.Spacing;
    if (iw > 0) iw += s;
    TSize content{iw, ih};

    std::wstring text = WithLineBreaks(face.Caption.empty() ? face.WideCaption : face.Caption);
    const bool hasCaption = !text.empty();
    if (face.CalcOnly && text.empty()) text = L"!";
    int w = buttonPart.Width(), h = buttonPart.Height();
    float lrX = float(r.Left), lrY = float(r.Top), lrW = float(w), lrH = float(h);
    if (face.CalcOnly) lrW = lrH = 4096;
    TGPRectF box(0, 0, 0, 0);
    bool useGdiplus = false;
    std::unique_ptr<TCaptionText> caption;
    if ((hasCaption || face.CalcOnly) && face.Font) {
        canvas->Font()->Assign(face.Font);
        useGdiplus = face.AntiAlias != AdvGDIP::aaNone && IsVectorFont(canvas);
        if (useGdiplus) {
            caption = std::make_unique<TCaptionText>(g, face.Font, FontStyleBits(face.Font, false), face.Enabled,
                                                     face.AntiAlias,
                                                     face.WordWrap ? 0 : Gdiplus::StringFormatFlagsNoWrap);
            TGPStringFormat& format = caption->Format();
            format.SetAlignment(face.Layout == blGlyphLeftAdjusted    ? StringAlignmentNear
                                : face.Layout == blGlyphRightAdjusted ? StringAlignmentFar
                                                                      : StringAlignmentCenter);
            format.SetLineAlignment(face.Layout == blGlyphTopAdjusted      ? StringAlignmentNear
                                    : face.Layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                                                           : StringAlignmentCenter);
            format.SetTrimming(face.Trimming);
            TGPRectF measureIn(lrX, lrY, lrW, lrH);
            if (IsHorizontalLayout(face.Layout)) measureIn.Width -= float(s);
            box = caption->Measure(text, measureIn);
            if (iw > 0) lrW -= float(iw + s);
        } else {
            canvas->TextExtent(L"");  // selects the font
            RECT calc{Round(lrX), Round(lrY), Round(lrX) + Round(lrW), Round(lrY) + Round(lrH)};
            // Without DT_VCENTER: Wine moves the calculated bottom down by the centring offset.
            ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
            box = TGPRectF(float(calc.left), float(calc.top), float(calc.right - calc.left),
                           float(calc.bottom - calc.top));
            // Caption and image centred together.
            if (face.Layout == blGlyphLeft) box.X = float(r.Left + (w + calc.left - calc.right - iw) / 2);
            if (face.Layout == blGlyphTop) box.Y = float(r.Top + (h + calc.top - calc.bottom - ih - 2) / 2);
        }
        content = {Round(box.Width) + iw + s, std::max(Round(box.Height) + s, ih + s)};
    }
    if (face.CalcOnly) return content;

    if (!face.WordWrap) {
        lrX = float(r.Left);
        lrY = float(r.Top);
        lrW = float(w);
        lrH = float(h);
    }
    const int centredY = r.Top + std::max((h - ih) / 2, 0);
    const int centredX = r.Left + std::max((w - iw) / 2, 0);
    int ix = 0, iy = 0;
    switch (face.Layout) {
        case blGlyphLeft:
        case blGlyphLeftAdjusted:
            ix = std::max(useGdiplus || face.Layout == blGlyphLeftAdjusted ? Round(box.X - iw / 2) : Round(box.X),
                          r.Left + 2);
            lrX = useGdiplus || face.Layout == blGlyphLeftAdjusted ? float(r.Left + iw + 2) : box.X + float(iw);
            lrW = float(w - iw - 2);
            lrY = float(r.Top);
            iy = centredY;
            break;
        case blGlyphTop: {
            lrY = float(r.Top + ih);
            lrH = float(h - ih - 2);
            ix = centredX;
            const int q = std::max((Round(lrH - box.Height) / 2) / 2, 0);
            iy = std::max(Round(lrY) + q - ih - (useGdiplus ? 0 : 4), r.Top + 2);
            break;
        }
        case blGlyphTopAdjusted:
            lrY = float(r.Top + ih);
            lrH = float(h - ih - 2);
            ix = centredX;
            iy = std::max(r.Top, 2);
            break;
        case blGlyphBottom:
            lrY = float(r.Top + 2);
            lrH = float(h - ih - 2);
            ix = centredX;
            iy = std::max(Round(lrH - box.Height) / 2, 0) + Round(box.Height + (useGdiplus ? 2 : 5));
            if (iy > h - ih) iy = h - ih - 2;
            iy += r.Top;
            break;
        case blGlyphBottomAdjusted:
            lrY = float(r.Top + 2);
            lrH = float(h - ih - 4);
            ix = centredX;
            iy = useGdiplus ? Round(box.Height + 2) + std::max(h / 2, 0) : h - ih - 2;
            if (iy > h - ih) iy = h - ih - 2;
            iy += r.Top;
            break;
        case blGlyphRight:
            lrX = float(r.Left + 2);
            lrW = float(w - iw - 4);
            ix = std::max(Round(lrW - box.Width) / 2, 0) + Round(box.Width) + 4;
            if (ix > w - iw) ix = w - iw - 2;
            ix += r.Left;
            iy = centredY;
            break;
        case blGlyphRightAdjusted:
            lrX = float(r.Left + 2);
            lrW = float(w - iw - 4);
            ix = r.Left + w - iw - 2;
            iy = centredY;
            break;
    }
    if (face.OverlappedText) {
        lrX = float(r.Left);
        lrY = float(r.Top);
        lrW = float(r.Width());
        lrH = float(r.Height());
        if (face.DefaultPicDrawing && hasGlyph) canvas->Draw(ix, iy, face.Glyph);
    }

    if (face.DefaultCaptionDrawing && hasCaption && face.Font) {
        if (useGdiplus) {
            caption->Draw(text, TGPRectF(lrX - 1, lrY, lrW, lrH));
        } else {
            RECT target{Round(lrX), Round(lrY), Round(lrX) + Round(lrW), Round(lrY) + Round(lrH)};
            UINT format = DT_SINGLELINE | DT_VCENTER;
            switch (face.Layout) {
                case blGlyphLeft: case blGlyphLeftAdjusted: target.left += 2; break;
                case blGlyphTop: case blGlyphRight: case blGlyphBottom: format |= DT_CENTER; break;
                case blGlyphRightAdjusted: format |= DT_RIGHT; break;
                case blGlyphTopAdjusted: format = DT_SINGLELINE | DT_CENTER; break;
                case blGlyphBottomAdjusted: format = DT_SINGLELINE | DT_BOTTOM | DT_CENTER; break;
            }
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            canvas->TextExtent(L"");  // selects the font, transparent background
            ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &target, format);
        }
    }

    // The image area loses 8 pixels to the drop-down part.
    if (face.DropDownButton) {
        if (face.DropDownPosition == dpRight) w -= 8;
        else h -= 8;
    }
    const auto centred = [&](int width, int height) {
        return TPoint{r.Left + std::max((w - width) / 2, 0), r.Top + std::max((h - height) / 2, 0)};
    };
    if (face.DefaultPicDrawing && !face.OverlappedText) {
        if (hasGlyph || hasPicture) {
            const TPoint at = hasCaption ? TPoint{ix, iy} : centred(iw, ih);
            canvas->Draw(at.X, at.Y, hasGlyph ? static_cast<ClassLib::TGraphic*>(face.Glyph) : face.Picture);
        } else if (hasImage) {
            const TPoint at = hasCaption ? TPoint{ix, iy} : centred(face.Images->Width(), face.Images->Height());
            face.Images->Draw(canvas, at.X, at.Y, face.ImageIndex, face.ImageEnabled);
        }
    }

    if (face.DropDownButton) {
        canvas->Brush()->SetStyle(ClassLib::bsClear);
        if (face.DropDownSplit && face.HotOrDown)
            DrawSplitLine(canvas, part, face.DropDownPosition, ClassLib::ColorToRGB(face.Look.Border));
        DrawVistaArrow(canvas, ArrowPoint(part), face.Enabled ? ClassLib::clBlack : clGray, face.ArrowDown,
                       ClassLib::clWhite);
    }
    return content;
}

// ---- outlines and arrow ----

void DrawRoundRect(TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius) {
    const TGPPen pen(ColorToARGB(color), 1.0f);
    DrawRoundRectPath(graphics, pen, x, y, width, height, radius);
}

void DrawFocusRect(TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius) {
    TGPPen pen(ColorToARGB(color), 1.0f);
    pen.SetDashStyle(DashStyleDot);
    DrawRoundRectPath(graphics, pen, x, y, width, height, radius);
}

void DrawLeftBorder(TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius) {
    const int d = radius * 2;
    const TGPPen pen(ColorToARGB(color), 1.0f);
    TGPGraphicsPath path;
    path.AddLine(x + width, y + height, x + radius, y + height);
    if (radius) path.AddArc(x, y + height - d, d, d, 90, 90);
    path.AddLine(x, y + height - radius, x, y + radius);
    if (radius) path.AddArc(x, y, d, d, 180, 90);
    path.AddLine(x + radius, y, x + width, y);
    graphics.DrawPath(&pen, &path);
    Line(graphics, ShadeColor(color, -5), x + width, y, x + width, y + height);
}

void DrawMiddleBorder(TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int, bool hot) {
    const TGPPen pen(ColorToARGB(color), 1.0f);
    graphics.DrawLine(&pen, x - 1, y, x + width, y);
    graphics.DrawLine(&pen, x - 1, y + height, x + width, y + height);
    Line(graphics, ShadeColor(color, -5), x + width, y, x + width, y + height);
    DrawGroupLeftLine(graphics, color, x, y, height, hot);
}

void DrawRightBorder(TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius, bool hot) {
    const int d = radius * 2;
    const TGPPen pen(ColorToARGB(color), 1.0f);
    TGPGraphicsPath path;
    path.AddLine(x, y, x + width - radius, y);
    if (radius) path.AddArc(x + width - d, y, d, d, 270, 90);
    path.AddLine(x + width, y + radius, x + width, y + height - radius);
    if (radius) path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
    path.AddLine(x + width - radius, y + height, x, y + height);
    graphics.DrawPath(&pen, &path);
    DrawGroupLeftLine(graphics, color, x, y, height, hot);
}

void DrawVistaArrow(TCanvas* canvas, TPoint p, TColor color, bool down, TColor shadowColor) {
    DrawArrowFigure(canvas, p, color, down);
    if (shadowColor == clNone) return;
    const int x = p.X, y = p.Y;
    const TPoint below[] = {{x, y + 1}, {x + 4, y + 1}, {x + 1, y + 2}, {x + 3, y + 2}, {x + 2, y + 3}};
    for (const TPoint& at : below) {
        if (down) canvas->SetPixels(at.X, at.Y, shadowColor);
        else canvas->SetPixels(x + (at.Y - y), y + (at.X - x), shadowColor);
    }
}

void ClearGlowButtonAppearance(TGlowButtonAppearance* a) {
    if (!a) return;
    a->SetBorderColor(clNone);
    a->SetBorderColorHot(clNone);
    a->SetBorderColorDown(clNone);
    a->SetColor(clNone);
    a->SetColorTo(clNone);
    a->SetColorDown(clNone);
    a->SetColorDownTo(clNone);
    a->SetColorHot(clNone);
    a->SetColorHotTo(clNone);
    a->SetColorMirror(clNone);
    a->SetColorMirrorTo(clNone);
    a->SetColorMirrorHot(clNone);
    a->SetColorMirrorHotTo(clNone);
    a->SetColorMirrorDown(clNone);
    a->SetColorMirrorDownTo(clNone);
    a->SetColorDisabled(clNone);
    a->SetColorDisabledTo(clNone);
}

}  // namespace AdvToolBar
