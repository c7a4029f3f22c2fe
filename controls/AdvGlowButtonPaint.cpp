#include "controls/AdvGlowButtonPaint.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "classlib/StringList.h"
#include "graphics/AdvGDIPFamilies.h"

namespace AdvGlowButton {

using ClassLib::clNone;
using ClassLib::TRect;
using ClassLib::TSize;
using namespace AdvGDIP;
using AdvGDIPFamilies::FamilyOf;

bool DrawSplitLineAlways = false;

namespace {

// Halves to even, as the face's arithmetic is written.
int Round(double value) { return int(std::nearbyint(value)); }

ARGB Opaque(TColor color) { return ColorToOpaqueARGB(color); }

void FillSolid(TGPGraphics& g, const TRect& r, TColor color) {
    TGPSolidBrush brush(Opaque(color));
    g.FillRectangle(&brush, r.Left, r.Top, r.Width(), r.Height());
}

// One half of a face; a missing colour takes the other's.
void FillGlow(TGPGraphics& g, const TRect& r, TColor a, TColor b, TGDIPGradient kind, bool upper) {
    if (b == clNone) b = a;
    else if (a == clNone) a = b;
    FillGlowHalf(g, r, a, b, kind, upper);
}

void DrawRoundRect(TGPGraphics& g, TColor color, int x, int y, int w, int h, int radius, bool dotted = false) {
    TGPPen pen(Opaque(color), 1.0f);
    if (dotted) pen.SetDashStyle(DashStyleDot);
    if (radius <= 0) {
        g.DrawRectangle(&pen, x, y, w, h);
        return;
    }
    TGPGraphicsPath path;
    AddRoundRectPath(path, x, y, w, h, radius);
    g.DrawPath(&pen, &path);
}

void Line(TGPGraphics& g, TColor color, int x1, int y1, int x2, int y2) {
    TGPPen pen(Opaque(color), 1.0f);
    g.DrawLine(&pen, x1, y1, x2, y2);
}

// Outlines of buttons joined in a group; the separators are what tell the parts apart.
void DrawGroupBorder(TGPGraphics& g, const TGlowFace& f, int x, int y, int w, int h, int radius) {
    const bool scenic = GetScenicRibbonFlag();
    const int inset = scenic ? 2 : 0;
    const TColor separator = ShadeColor(f.BorderColor, -5);
    const TColor light = ShadeColor(ClassLib::clWhite, -10);
    const bool hot = f.MouseEnter || f.Down;
    const int d = radius * 2;
    TGPPen pen(Opaque(f.BorderColor), 1.0f);
    TGPGraphicsPath path;
    switch (f.Position) {
        case bpLeft:
            if (!f.IsRotated) {
                path.AddLine(x + w, y + h, x + radius, y + h);
                if (radius) path.AddArc(x, y + h - d, d, d, 90, 90);
                path.AddLine(x, y + h - radius, x, y + radius);
                if (radius) path.AddArc(x, y, d, d, 180, 90);
                path.AddLine(x + radius, y, x + w, y);
                g.DrawPath(&pen, &path);
                Line(g, separator, x + w, y + inset, x + w, y + h - inset);
            } else {
                path.AddLine(x + w, y + h, x, y + h);
                path.AddLine(x, y + h, x, y + radius);
                if (radius) path.AddArc(x, y, d, d, 180, 90);
                path.AddLine(x + radius, y, x + w - radius, y);
                if (radius) path.AddArc(x + w - d, y, d, d, 270, 90);
                path.AddLine(x + w, y + radius, x + w, y + h);
                g.DrawPath(&pen, &path);
                Line(g, separator, x, y + h - inset, x + w, y + h - inset);
            }
            return;
        case bpMiddle:
            g.DrawLine(&pen, x - 1, y, x + w, y);
            g.DrawLine(&pen, x - 1, y + h, x + w, y + h);
            Line(g, separator, x + w, y + inset, x + w, y + h - inset);
            if (hot) Line(g, separator, x, y, x, y + h);
            else Line(g, light, x, y + 2, x, y + h - 2);
            return;
        case bpRight:
            if (!f.IsRotated) {
                path.AddLine(x, y, x + w - radius, y);
                if (radius) path.AddArc(x + w - d, y, d, d, 270, 90);
                path.AddLine(x + w, y + radius, x + w, y + h - radius);
                if (radius) path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
                path.AddLine(x + w - radius, y + h, x, y + h);
                g.DrawPath(&pen, &path);
                if (hot) Line(g, separator, x, y, x, y + h);
                else Line(g, light, x, y + 2, x, y + h - 2);
            } else {
                path.AddLine(x, y, x + w, y);
                path.AddLine(x + w, y, x + w, y + h - radius);
                if (radius) path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
                path.AddLine(x + w - radius, y + h, x + radius, y + h);
                if (radius) path.AddArc(x, y + h - d, d, d, 90, 90);
                path.AddLine(x, y + h - radius, x, y);
                g.DrawPath(&pen, &path);
                if (hot) Line(g, separator, x, y, x + w, y);
                else Line(g, light, x + 2, y, x + w - 2, y);
            }
            return;
        case bpStandalone:
            DrawRoundRect(g, f.BorderColor, x, y, w, h, radius);
            return;
    }
}

void DrawDropDownArrow(TGPGraphics& g, ClassLib::TCanvas* canvas, ClassLib::TPoint p, TColor color,
                       TDropDownDirection direction, float s) {
    canvas->Pen()->SetColor(color);
    const float x = float(p.X + 1 + Round(s) - Round(2 * s) / 2);
    const float y = float(p.Y + 1 - Round(2 * s) / 2);
    TGPPointF points[3];
    switch (direction) {
        case ddRight:
            points[0] = {x - 2 * s, y - 3 * s}; points[1] = {x + s, y}; points[2] = {x - 2 * s, y + 3 * s};
            break;
        case ddUp:
            points[0] = {x - 3 * s, y + s}; points[1] = {x, y - 2 * s}; points[2] = {x + 3 * s, y + s};
            break;
        case ddDown:
            points[0] = {x - 3 * s, y - 2 * s}; points[1] = {x, y + s}; points[2] = {x + 3 * s, y - 2 * s};
            break;
    }
    TGPGraphicsPath path;
    path.AddLines(points, 3);
    TGPPen pen(ARGBFromColor(255, color), 1.4f * s);
    g.DrawPath(&pen, &path);
}

void DrawDropDownTriangle(TGPGraphics& g, ClassLib::TPoint p, TColor color, float s) {
    // System colours first: their stored bytes are an index, not a colour.
    const TColor rgb = ClassLib::ColorToRGB(color);
    const int n = Round(3 * s);
    const int x0 = p.X - n + 3, y0 = p.Y - n + 3;
    TGPPen pen(ARGBFromChannels(200, BYTE(ClassLib::ColorRed(rgb)), BYTE(ClassLib::ColorGreen(rgb)),
                                BYTE(ClassLib::ColorBlue(rgb))), 1.0f);
    TGPGraphicsPath path;
    for (int k = 0; k < n; ++k) {
        path.AddLine(x0 + k, y0 + k, x0 + 2 * n - k - 1, y0 + k);
        path.CloseFigure();
    }
    g.DrawPath(&pen, &path);
}

bool IsLayoutHorizontal(TButtonLayout layout) {
    return layout == blGlyphLeft || layout == blGlyphRight || layout == blGlyphLeftAdjusted ||
           layout == blGlyphRightAdjusted;
}

std::wstring JoinNotes(const ClassLib::TStrings* notes) {
    std::wstring text;
    if (!notes) return text;
    for (int i = 0; i < notes->Count(); ++i) {
        if (i) text += L"\r\n";
        text += notes->Strings(i);
    }
    return text;
}

bool FontListed(const std::wstring& name) {
    const auto& fonts = ClassLib::Screen->Fonts();
    return std::any_of(fonts.begin(), fonts.end(),
                       [&](const std::wstring& listed) { return ::lstrcmpiW(listed.c_str(), name.c_str()) == 0; });
}

// GDI+ draws the caption only for a TrueType face the screen lists.
bool UsesGdiplusText(ClassLib::TCanvas* canvas, const ClassLib::TFont* font) {
    canvas->Font()->Assign(font);
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(canvas->Handle(), &metrics)) return false;
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0 && FontListed(font->Name());
}

int GdiplusStyle(const ClassLib::TFont* font) {
    int style = 0;
    const ClassLib::TFontStyles styles = font->Style();
    if (styles.Contains(ClassLib::fsBold)) style |= 1;
    if (styles.Contains(ClassLib::fsItalic)) style |= 2;
    if (styles.Contains(ClassLib::fsUnderline)) style |= 4;
    if (styles.Contains(ClassLib::fsStrikeOut)) style |= 8;
    return style;
}

}  // namespace

void FillGlowHalf(TGPGraphics& g, const TRect& r, TColor a, TColor b, TGDIPGradient kind, bool upper) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    const int w = r.Width(), h = r.Height();
    FillSolid(g, r, upper ? a : b);
    if (a == clNone || b == clNone) return;
    if (kind == ggRadial) {
        TGPGraphicsPath path;
        if (upper) path.AddEllipse(r.Left, r.Top - h / 2 + 2, w, h);
        else path.AddEllipse(r.Left, r.Top, w, h);
        TGPPathGradientBrush brush(&path);
        brush.SetCenterPoint(TGPPointF(float(r.Left + w / 2), float(upper ? r.Top : r.Bottom)));
        brush.SetCenterColor(Opaque(upper ? b : a));
        const ARGB surround = Opaque(upper ? a : b);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        g.FillRectangle(&brush, r.Left, r.Top, w, h);
        return;
    }
    const LinearGradientMode mode = kind == ggVertical          ? LinearGradientModeVertical
                                    : kind == ggDiagonalForward ? LinearGradientModeForwardDiagonal
                                                                : LinearGradientModeBackwardDiagonal;
    // One pixel longer than the fill: GDI+ wraps the first colour into a brush's last row.
    TGPLinearGradientBrush brush(TGPRectF(float(r.Left), float(r.Top), float(w), float(h + 1)), Opaque(a), Opaque(b),
                                 mode);
    g.FillRectangle(&brush, r.Left, r.Top, w, h);
}

TSplitHalves SplitHalves(const TRect& r, int partSize, TDropDownPosition position) {
    const int half = r.Height() / 2;
    if (position == dpRight)
        return {{r.Left, r.Top + half - 1, r.Right - partSize, r.Bottom},
                {r.Left, r.Top, r.Right - partSize, r.Bottom - half},
                {r.Right - partSize, r.Top, r.Right, r.Bottom - half},
                {r.Right - partSize, r.Top + half - 1, r.Right, r.Bottom}};
    const int q = (r.Height() - partSize) / 2;
    return {{r.Left, r.Top + q - 1, r.Right, r.Bottom - partSize},
            {r.Left, r.Top, r.Right, r.Bottom - partSize - q},
            {r.Left, r.Bottom - partSize, r.Right, r.Bottom},
            {}};
}

void AddRoundRectPath(TGPGraphicsPath& path, int x, int y, int w, int h, int radius) {
    const int d = radius * 2;
    path.AddLine(x + radius, y, x + w - d, y);
    path.AddArc(x + w - d, y, d, d, 270, 90);
    path.AddLine(x + w, y + radius, x + w, y + h - d);
    path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    path.AddLine(x + w - d, y + h, x + radius, y + h);
    path.AddArc(x, y + h - d, d, d, 90, 90);
    path.AddLine(x, y + h - d, x, y + radius);
    path.AddArc(x, y, d, d, 180, 90);
    path.CloseFigure();
}

TColor ShadeColorRGB(TColor color, int percentR, int percentG, int percentB) {
    const TColor rgb = ClassLib::ColorToRGB(color);
    const auto shade = [](int c, int percent) {
        if (c == 0) return std::max(percent, 0);
        return Round(c * std::min(percent + 100, 100) / 100.0);
    };
    return ClassLib::RGBToColor(shade(ClassLib::ColorRed(rgb), percentR), shade(ClassLib::ColorGreen(rgb), percentG),
                                shade(ClassLib::ColorBlue(rgb), percentB));
}

TColor ShadeColor(TColor color, int percent) { return ShadeColorRGB(color, percent, percent, percent); }

TColor BlendColor(TColor color1, TColor color2, int percent) {
    if (percent >= 100) return color1;
    if (percent <= 0 || color1 == clNone) return color2;
    if (color2 == clNone) return color1;
    const TColor c1 = ClassLib::ColorToRGB(color1), c2 = ClassLib::ColorToRGB(color2);
    const double p = percent / 100.0;
    const auto mix = [p](int a, int b) { return std::min(Round(p * a + (1 - p) * b), 255); };
    return ClassLib::RGBToColor(mix(ClassLib::ColorRed(c1), ClassLib::ColorRed(c2)),
                                mix(ClassLib::ColorGreen(c1), ClassLib::ColorGreen(c2)),
                                mix(ClassLib::ColorBlue(c1), ClassLib::ColorBlue(c2)));
}

int ClampSize(int limit, int size) { return limit > 0 && limit < size ? limit : size; }

void DrawGradient(ClassLib::TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const TRect& rect,
                  bool horizontal) {
    if (steps <= 0) steps = 1;
    const TColor from = ClassLib::ColorToRGB(fromColor), to = ClassLib::ColorToRGB(toColor);
    const int size = horizontal ? rect.Width() : rect.Height();
    for (int i = 0; i < steps; ++i) {
        const auto channel = [&](int a, int b) { return a + Round(double(i) * (b - a) / steps); };
        const TColor band = ClassLib::RGBToColor(channel(ClassLib::ColorRed(from), ClassLib::ColorRed(to)),
                                                 channel(ClassLib::ColorGreen(from), ClassLib::ColorGreen(to)),
                                                 channel(ClassLib::ColorBlue(from), ClassLib::ColorBlue(to)));
        canvas->Pen()->SetColor(band);
        canvas->Brush()->SetColor(band);
        const int offset = Round(double(i) * size / steps);
        const int thickness = Round(double(size) / steps) + 1;
        if (horizontal)
            canvas->Rectangle(rect.Left + offset, rect.Top, rect.Left + offset + thickness, rect.Bottom);
        else
            canvas->Rectangle(rect.Left, rect.Top + offset, rect.Right, rect.Top + offset + thickness);
    }
}

TSize DrawGlowButton(ClassLib::TCanvas* canvas, const TRect& rect, const TGlowFace& f) {
    TRect r = rect;
    const int ddw = f.DropDownPartWidth;
    const TRect ddr = f.DropDownPosition == dpRight ? TRect{r.Right - ddw, r.Top, r.Right, r.Bottom}
                                                    : TRect{r.Left, r.Bottom - ddw, r.Right, r.Bottom};
    TRect br = r;
    if (f.DropDownButton) {
        if (f.DropDownPosition == dpRight) br.Right = ddr.Left;
        else if (f.DropDownSplit) br.Bottom = ddr.Top;
    }
    const int h0 = r.Height();
    const int half = h0 / 2;
    const int radius = f.Rounded ? 3 : 0;
    TColor color = f.Color, colorTo = f.ColorTo, mirror = f.ColorMirror, mirrorTo = f.ColorMirrorTo;
    if (mirror == clNone && mirrorTo == clNone) mirrorTo = color;
    if (mirror == clNone) mirror = color;

    TGPGraphics g(canvas->Handle());
    const bool background = !f.NoBackground || f.DroppedDown || f.Down;
    if (background) {
        if (f.DropDownButton && f.HotOrDown && f.DropDownSplit) {
            const auto [buttonLower, buttonUpper, dropUpper, dropLower] = SplitHalves(r, ddw, f.DropDownPosition);
            const bool right = f.DropDownPosition == dpRight;
            if (f.DropDownHover == 2) {
                FillGlow(g, buttonLower, mirrorTo, mirror, f.GradientMirror, false);
                FillGlow(g, buttonUpper, color, colorTo, f.Gradient, true);
                FillGlow(g, dropUpper, ShadeColor(color, -10), ShadeColor(colorTo, -10), f.Gradient, true);
                if (right)
                    FillGlow(g, dropLower, ShadeColor(mirrorTo, -10), ShadeColor(mirror, -10), f.GradientMirror, false);
            } else {
                FillGlow(g, buttonLower, ShadeColor(mirrorTo, -10), ShadeColor(mirror, -10), f.GradientMirror, false);
                FillGlow(g, buttonUpper, ShadeColor(color, -10), ShadeColor(colorTo, -10), f.Gradient, true);
                FillGlow(g, dropUpper, color, colorTo, ggRadial, true);
                if (right) FillGlow(g, dropLower, mirrorTo, mirror, f.GradientMirror, false);
            }
        } else {
            FillGlow(g, {r.Left, r.Top + half - 1, r.Right, r.Bottom}, mirrorTo, mirror, f.GradientMirror, false);
            FillGlow(g, {r.Left, r.Top, r.Right, r.Bottom - half}, color, colorTo, f.Gradient, true);
        }
    }

    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const bool showBorder = f.HasBorder && (!f.NoBorderDefault || f.MouseEnter || f.DroppedDown);
    if (showBorder && background) DrawGroupBorder(g, f, r.Left, r.Top, r.Right - 1, r.Bottom - 1, radius);
    if (f.FocusFrame) {
        DrawRoundRect(g, f.BorderColorFocused, r.Left + 1, r.Top + 1, r.Right - 3, r.Bottom - 3, radius);
        DrawRoundRect(g, ClassLib::clGray, r.Left + 2, r.Top + 2, r.Right - 5, r.Bottom - 5, radius, true);
    }

    if (!f.CalcOnly) {
        switch (f.Layout) {
            case blGlyphLeftAdjusted: r.Left += f.MarginHorz; break;
            case blGlyphRightAdjusted: r.Right -= f.MarginHorz; br.Right -= f.MarginHorz; break;
            case blGlyphTopAdjusted: r.Top += f.MarginVert; break;
            case blGlyphBottomAdjusted: r.Bottom -= f.MarginVert; br.Bottom -= f.MarginVert; break;
            default: break;
        }
    }
    int w = br.Width(), h = br.Height();
    const int s = f.Spacing;

    // Image size.
    int iw = 0, ih = 0;
    const bool fixedPicture = f.PictureSize.cx > 0 && f.PictureSize.cy > 0;
    const bool hasGlyph = f.Glyph && !f.Glyph->Empty() && f.Glyph->Width() > 1 && f.Glyph->Height() > 1;
    const bool hasPicture = f.Picture && !f.Picture->Empty();
    const bool hasImage = f.ImageIndex > -1 && f.Images;
    if (hasGlyph) {
        iw = fixedPicture ? f.PictureSize.cx : f.Glyph->Width();
        ih = fixedPicture ? f.PictureSize.cy : f.Glyph->Height();
    } else if (hasPicture) {
        if (fixedPicture) {
            iw = Round(f.PictureSize.cx * f.Scale);
            ih = Round(f.PictureSize.cy * f.Scale);
        } else {
            iw = f.Picture->Size().cx;
            ih = f.Picture->Size().cy;
        }
    } else if (hasImage) {
        iw = f.Images->Width();
        ih = f.Images->Height();
    }
    const bool hasCaption = !f.Caption.empty() || !f.WideCaption.empty();
    if (f.DefaultCaptionDrawing && hasCaption) {
        if (iw > 0 && IsLayoutHorizontal(f.Layout)) iw += s;
        if (ih > 0 && (f.Layout == blGlyphTop || f.Layout == blGlyphTopAdjusted)) ih += s;
    }
    TSize content{iw, ih};

    // Caption text.
    std::wstring caption = f.Caption;
    for (size_t at = 0; (at = caption.find(L"\\n", at)) != std::wstring::npos;) {
        caption.replace(at, 2, fixedPicture ? L" " : L"\n\r");
        at += fixedPicture ? 1 : 2;
    }
    std::wstring text = caption.empty() ? f.WideCaption : caption;
    if (f.CalcOnly && text.empty()) text = L"!";
    const bool textStep = hasCaption || f.CalcOnly;
    const std::wstring notes = JoinNotes(f.Notes);
    const bool hasNotes = !notes.empty() && f.NotesFont;
    float lrX = float(r.Left), lrY = float(r.Top), lrW = float(w), lrH = float(h);
    if (f.CalcOnly) {
        lrW = float(f.MaxWidth > 0 ? f.MaxWidth : 4096);
        lrH = float(f.MaxHeight > 0 ? f.MaxHeight : 4096);
    }
    int ix = 0, iy = 0;
    double tw = 0, th = 0, nw = 0, nh = 0;
    TGPRectF textBox(0, 0, 0, 0), notesBox(0, 0, 0, 0);
    bool useGdip = false;
    const bool hidePrefix = f.HidePrefix && !f.AlwaysShowAccel;
    std::unique_ptr<TGPFont> font;
    std::unique_ptr<TGPStringFormat> format;
    const ClassLib::TFont* captionFont = f.Font ? f.Font : canvas->Font();
    int gdiRight = 0;
    if (textStep && f.DefaultCaptionDrawing) {
        useGdip = f.AntiAlias != aaNone && UsesGdiplusText(canvas, captionFont);
        if (useGdip) {
            font = std::make_unique<TGPFont>(FamilyOf(captionFont), float(captionFont->Size()), GdiplusStyle(captionFont),
                                             UnitPoint);
            format = std::make_unique<TGPStringFormat>(f.WordWrap ? 0 : Gdiplus::StringFormatFlagsNoWrap);
            format->SetAlignment(f.Layout == blGlyphLeftAdjusted    ? StringAlignmentNear
                                 : f.Layout == blGlyphRightAdjusted ? StringAlignmentFar
                                                                    : StringAlignmentCenter);
            format->SetLineAlignment(f.Layout == blGlyphTopAdjusted      ? StringAlignmentNear
                                     : f.Layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                                                         : StringAlignmentCenter);
            format->SetHotkeyPrefix(hidePrefix ? HotkeyPrefixHide : HotkeyPrefixShow);
            format->SetTrimming(f.Trimming);
            g.SetTextRenderingHint(f.AntiAlias == aaClearType && !f.OnGlassQAT ? TextRenderingHintClearTypeGridFit
                                                                               : TextRenderingHintAntiAlias);
            TGPRectF lr2(lrX, lrY, lrW, lrH);
            if (IsLayoutHorizontal(f.Layout)) lr2.Width -= float(s);
            g.MeasureString(text.c_str(), int(text.size()), font.get(), lr2, format.get(), textBox);
            tw = textBox.Width;
            th = textBox.Height;
            // The glyph takes its width beside the caption, not above or below it.
            if (iw > 0 && IsLayoutHorizontal(f.Layout)) lrW -= float(iw + s);
            if (hasNotes) {
                TGPFont notesFont(FamilyOf(f.NotesFont), float(f.NotesFont->Size()), GdiplusStyle(f.NotesFont), UnitPoint);
                g.MeasureString(notes.c_str(), int(notes.size()), &notesFont, TGPRectF(lrX, lrY, lrW, lrH),
                                format.get(), notesBox);
                nw = notesBox.Width;
                nh = notesBox.Height;
            }
        } else {
            canvas->Font()->Assign(captionFont);
            RECT calc{Round(lrX), Round(lrY), Round(lrX) + 2, Round(lrY) + Round(lrH)};
            UINT flags = DT_CALCRECT | (hidePrefix ? DT_HIDEPREFIX : 0);
            if (f.WordWrap) {
                calc.right = Round(lrW) + calc.left;
                flags |= DT_WORDBREAK;
            } else {
                flags |= DT_SINGLELINE;
            }
            th = ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &calc, flags);
            tw = calc.right - calc.left;
            gdiRight = calc.right;
            if (hasNotes) {
                canvas->Font()->Assign(f.NotesFont);
                RECT n{Round(lrX), Round(lrY), Round(lrX) + Round(lrW) - iw - f.MarginHorz, Round(lrY) + Round(lrH)};
                nh = ::DrawTextW(canvas->Handle(), notes.c_str(), int(notes.size()), &n,
                                 DT_CALCRECT | (f.WordWrap ? DT_WORDBREAK : 0));
                nw = n.right - n.left;
                canvas->Font()->Assign(captionFont);
            }
        }
        const int TW = Round(tw), TH = Round(th), NW = Round(nw), NH = Round(nh);
        switch (f.Layout) {
            case blGlyphLeft: case blGlyphLeftAdjusted:
                content = {useGdip || f.Layout == blGlyphLeftAdjusted ? std::max(TW, NW) + iw + s : TW + iw + s,
                           std::max(TH + s + NH, ih + s)};
                break;
            case blGlyphRight: case blGlyphRightAdjusted:
                content = useGdip ? TSize{std::max(TW, NW) + iw + s, std::max(TH + s + NH, ih + s)}
                                  : TSize{TW + iw + s, std::max(TH + s, ih + s)};
                break;
            default:
                content = {std::max(TW + s, iw + s), useGdip ? TH + ih : TH + ih + s};
                break;
        }
    }
    if (f.CalcOnly) return content;

    // Placement.
    if (!f.WordWrap) {
        lrX = float(r.Left);
        lrY = float(r.Top);
        lrW = float(w);
        lrH = float(h);
    }
    const int TW = Round(tw), TH = Round(th);
    switch (f.Layout) {
        case blGlyphLeft: {
            lrX = float(r.Left + iw + 2);
            lrW = float(w - iw - 2);
            if (useGdip) {
                float left = textBox.X;
                if (hasNotes) left = std::min(left, notesBox.X);
                ix = Round(left - iw / 2);
            } else {
                ix = ((r.Right - (f.DropDownButton ? ddw : 0)) - gdiRight - iw) / 2 - 2;
                if (!textStep) ix = (w - iw) / 2;
            }
            ix = std::max(ix, 2);
            iy = r.Top + std::max((h - ih) / 2, 0);
            break;
        }
        case blGlyphLeftAdjusted:
            lrX = float(r.Left + iw + 2);
            lrW = float(w - iw - f.MarginHorz - 2);
            ix = std::max(Round((useGdip ? textBox.X : float(r.Left)) - iw / 2), 2);
            iy = r.Top + std::max((h - ih) / 2, 0);
            break;
        case blGlyphRight: case blGlyphRightAdjusted:
            lrX = 2;
            lrW = float(w - iw - 4);
            if (f.Layout == blGlyphRightAdjusted) {
                ix = w - iw - 2;
            } else {
                const double m = hasNotes ? std::max(tw, nw) : tw;
                ix = std::max(Round(lrW - m) / 2, 0);
                ix = Round(m) + ix + 4;
                if (w - iw < ix) ix = w - iw - 2;
            }
            ix += s;
            iy = r.Top + std::max((h - ih) / 2, 0);
            break;
        case blGlyphTop: {
            lrY = float(r.Top + ih);
            lrH = float(h - ih - 2);
            ix = r.Left + std::max((w - iw) / 2, 0);
            const int q = std::max((Round(lrH - th) / 2) / 2, 0);
            iy = std::max(Round(lrY) + q - ih - (useGdip ? 0 : 4), 2);
            break;
        }
        case blGlyphTopAdjusted:
            lrY = float(r.Top + ih);
            lrH = float(h - ih - 2);
            ix = r.Left + std::max((w - iw) / 2, 0);
            iy = std::max(r.Top, 2);
            break;
        case blGlyphBottom: {
            lrY = 2;
            lrH = float(h - ih - 2);
            ix = r.Left + std::max((w - iw) / 2, 0);
            const int q = std::max(Round(lrH - th) / 2, 0);
            iy = Round(th + (useGdip ? 2 : 5)) + q + s;
            if (h - ih < iy) iy = h - ih - 2;
            break;
        }
        case blGlyphBottomAdjusted:
            lrY = 2;
            lrH = float(useGdip ? h - s - ih : h - s - ih - 2);
            ix = r.Left + std::max((w - iw) / 2, 0);
            iy = useGdip ? std::min(Round(th + 2) + h / 2, h - ih - 2) : h - ih - 2;
            break;
    }
    if (f.OverlappedText) {
        lrX = float(r.Left);
        lrY = float(r.Top);
        lrW = float(r.Width());
        lrH = float(r.Height());
        if (f.DefaultPicDrawing && hasGlyph) canvas->Draw(ix, iy, f.Glyph);
    }

    // Caption.
    if (f.DefaultCaptionDrawing && hasCaption) {
        if (useGdip) {
            if (hasNotes) {
                format->SetLineAlignment(StringAlignmentNear);
                lrY = float((lrH - Round(th) - Round(nh)) / 2 + lrY);
                if (f.Layout == blGlyphTop || f.Layout == blGlyphBottom || f.Layout == blGlyphTopAdjusted) lrY += ih;
            }
            lrX -= 1;
            TGPSolidBrush brush(Opaque(captionFont->Color()));
            g.DrawString(text, font.get(), TGPRectF(lrX, lrY, lrW, lrH), format.get(), &brush);
            if (hasNotes) {
                lrY += float(Round(th));
                TGPFont notesFont(FamilyOf(f.NotesFont), float(f.NotesFont->Size()), GdiplusStyle(f.NotesFont), UnitPoint);
                TGPSolidBrush notesBrush(Opaque(f.NotesFont->Color()));
                g.DrawString(notes, &notesFont, TGPRectF(lrX, lrY, lrW, lrH), format.get(), &notesBrush);
            }
        } else {
            RECT tr{Round(lrX), Round(lrY), Round(lrX) + Round(lrW), Round(lrY) + Round(lrH)};
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            const UINT base = f.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
            UINT flags = base;
            switch (f.Layout) {
                case blGlyphLeft: flags = base | DT_CENTER | (hasNotes ? 0 : DT_VCENTER); break;
                case blGlyphTop: case blGlyphTopAdjusted: flags = base | DT_CENTER; break;
                case blGlyphRight: case blGlyphBottom: flags = base | DT_VCENTER | DT_CENTER; break;
                case blGlyphLeftAdjusted:
                    flags = base | (hasNotes ? 0 : DT_VCENTER);
                    tr.left += 2;
                    if (hasNotes) tr.top = (tr.bottom - tr.top - TH - Round(nh)) / 2;
                    break;
                case blGlyphRightAdjusted: flags = base | DT_VCENTER | DT_RIGHT; break;
                case blGlyphBottomAdjusted: flags = base | DT_BOTTOM | DT_CENTER; break;
            }
            RECT d = tr;
            ClassLib::TFont drawFont;
            drawFont.Assign(captionFont);
            if (!f.Enabled) drawFont.SetColor(ClassLib::clGray);
            canvas->Font()->Assign(&drawFont);
            if (f.WordWrap) {
                RECT calc = tr;
                int measured = ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &calc, flags | DT_CALCRECT);
                if (hasNotes && (f.Layout == blGlyphLeft || f.Layout == blGlyphLeftAdjusted)) measured += Round(nh);
                switch (f.Layout) {
                    case blGlyphTop: d.top = iy + ih; break;
                    case blGlyphBottomAdjusted: d.top = d.bottom - measured; break;
                    case blGlyphTopAdjusted: break;
                    default: d.top = (d.bottom - d.top - measured) / 2; break;
                }
            }
            if (hidePrefix) flags |= DT_HIDEPREFIX;
            ::SetBkMode(canvas->Handle(), TRANSPARENT);
            ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &d, flags);
            if (hasNotes) {
                d.top += TH;
                d.bottom = d.top + Round(nh);
                canvas->Font()->Assign(f.NotesFont);
                ::DrawTextW(canvas->Handle(), notes.c_str(), int(notes.size()), &d, flags);
            }
        }
        if (f.Layout == blGlyphLeftAdjusted) ix += f.MarginHorz;
    }
    (void)TW;

    // Image.
    if (f.DropDownButton) {
        if (f.DropDownPosition == dpRight) w -= ddw;  // w already left the part out: it is reduced twice
        else h -= 8;
    }
    const auto centred = [&](int iw2, int ih2) {
        return ClassLib::TPoint{r.Left + std::max((w - iw2) / 2, 0), r.Top + std::max((h - ih2) / 2, 0)};
    };
    if (f.DefaultPicDrawing && !f.OverlappedText) {
        if (hasGlyph) {
            const ClassLib::TPoint at = hasCaption ? ClassLib::TPoint{ix, iy} : centred(iw, ih);
            if (fixedPicture) {
                f.Glyph->SetTransparent(true);
                canvas->StretchDraw({at.X, at.Y, at.X + f.PictureSize.cx, at.Y + f.PictureSize.cy}, f.Glyph);
            } else {
                canvas->Draw(at.X, at.Y, f.Glyph);
            }
        } else if (hasPicture) {
            const ClassLib::TPoint at = hasCaption ? ClassLib::TPoint{ix, iy} : centred(iw, ih);
            if (fixedPicture)
                f.Picture->DrawStretched(canvas, {at.X, at.Y, at.X + f.PictureSize.cx, at.Y + f.PictureSize.cy});
            else
                f.Picture->DrawAt(canvas, at.X, at.Y, w, h);
        } else if (hasImage) {
            const ClassLib::TPoint at =
                hasCaption ? ClassLib::TPoint{ix, iy} : centred(f.Images->Width(), f.Images->Height());
            if (!f.ImageEnabled && !f.DisabledImages && AdvStyleIF::IsVistaOrLater()) {
                IMAGELISTDRAWPARAMS params{};
                params.cbSize = sizeof(params);
                params.himl = f.Images->Handle();
                params.i = f.ImageIndex;
                params.hdcDst = canvas->Handle();
                params.x = at.X;
                params.y = at.Y;
                params.fState = ILS_SATURATE;
                ::ImageList_DrawIndirect(&params);
            } else if (f.ImageEnabled || !f.DisabledImages) {
                f.Images->Draw(canvas, at.X, at.Y, f.ImageIndex, f.ImageEnabled);
            } else {
                f.DisabledImages->Draw(canvas, at.X, at.Y, f.ImageIndex, true);
            }
        }
    }

    // Drop-down part.
    if (f.DropDownButton) {
        canvas->Brush()->SetStyle(ClassLib::bsClear);
        if ((f.HotOrDown || DrawSplitLineAlways) && f.DropDownSplit) {
            canvas->Pen()->SetColor(ClassLib::ColorToRGB(f.BorderColor));
            if (f.DropDownPosition == dpRight) {
                canvas->MoveTo(ddr.Left, ddr.Top);
                canvas->LineTo(ddr.Left, ddr.Bottom);
            } else {
                canvas->MoveTo(ddr.Left, ddr.Top);
                canvas->LineTo(ddr.Right, ddr.Top);
            }
        }
        const int k = f.DropDownDirection == ddDown ? 3 : 5;
        const ClassLib::TPoint p{ddr.Left + (ddr.Width() - Round(k * f.Scale)) / 2,
                                 ddr.Top + 1 + (ddr.Height() - 3) / 2};
        const TColor arrow = f.Enabled ? (f.Font ? f.Font->Color() : ClassLib::clBlack) : ClassLib::clGray;
        if (f.OnGlassQAT || (GetGlassFlag() && GetScenicRibbonFlag()))
            DrawDropDownTriangle(g, p, arrow, f.Scale);
        else
            DrawDropDownArrow(g, canvas, p, arrow, f.DropDownDirection, f.Scale);
    }
    return content;
}

}  // namespace AdvGlowButton
