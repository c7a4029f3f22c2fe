// The small UI elements controls paint with the vector drawing object: button faces,
// glyph buttons, check boxes and radio buttons.
#include "classlib/Pictures.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvTypes.h"

namespace AdvGraphics {

using namespace ClassLib;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;
using AdvTypes::TAdvBitmap;

namespace {

TRectF ToRectF(const TRect& r) {
    return RectF(float(r.Left), float(r.Top), float(r.Right), float(r.Bottom));
}

TRectF Inset(TRectF r, float d) {
    AdvTypes::InflateRectF(r, -d, -d);
    return r;
}

struct TElementColors {
    TColor Border;
    TColor Fill;
};

TColor CheckBorder(bool focused, bool enabled) {
    if (!enabled) return 0xA9A9A9;
    return focused ? 0xB48246 : 0;
}

using TGlyphLines = float[4];

const TGlyphLines CloseLines[] = {{3, 3, 12, 12}, {3, 12, 12, 3}};
const TGlyphLines DownLines[] = {{5, 6, 8, 9}, {8, 9, 11, 6}};
const TGlyphLines UpLines[] = {{5, 9, 8, 6}, {8, 6, 11, 9}};
const TGlyphLines RightLines[] = {{6, 5, 9, 8}, {9, 8, 6, 11}};
const TGlyphLines LeftLines[] = {{9, 5, 6, 8}, {6, 8, 9, 11}};
const TGlyphLines DropDownLines[] = {{0, 1, 6, 1}, {0, 2, 6, 2}, {1, 3, 5, 3}, {2, 4, 4, 4}, {3, 5, 3, 5}};

}  // namespace

void TAdvGraphics::DrawButton(const TRectF& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                              float scaleFactor) {
    (void)scaleFactor;  // the face has no glyph to size
    FStroke->SetKind(gskSolid);
    FStroke->SetWidth(1);
    FFill->SetKind(gfkSolid);
    TElementColors colors;
    if (adaptToStyle) {
        const TDefaultGraphicColors& d = DefaultGraphicColors();
        if (!enabled)
            colors = {d.BorderColorDisabled, d.FillColorDisabled};
        else if (focused)
            colors = {d.BorderColorFocused, d.FillColorFocused};
        else
            colors = {d.BorderColor, d.FillColor};
    } else if (!enabled) {
        colors = {0xA9A9A9, 0xD3D3D3};
    } else if (focused) {
        colors = {0xB17F3C, 0xFBF1E5};
    } else {
        colors = {0xA9A9A9, 0xE1E1E1};
    }
    FFill->SetColor(colors.Fill);
    FStroke->SetColor(colors.Border);
    DrawRectangle(rect);
    // A lighter inner frame when pressed; in the fill colour (invisible) otherwise.
    FFill->SetKind(gfkNone);
    FStroke->SetColor(down ? LightenColor(colors.Border, 40) : colors.Fill);
    DrawRectangle(Inset(rect, 1));
}

void TAdvGraphics::DrawButton(const TRect& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                              float scaleFactor) {
    DrawButton(ToRectF(rect), down, focused, enabled, adaptToStyle, scaleFactor);
}

void TAdvGraphics::DrawLineGlyph(const TRectF& rect, float size, float penWidth, const float (*lines)[4], int count,
                                 float scale) {
    const int n = RoundToPixel(size * scale);
    if (n <= 0 || n > 4096) return;
    std::unique_ptr<TAdvGraphics> g = CreateBitmapCanvas(n, n, false);
    // White is the key colour: only the lines show.
    g->Bitmap()->SetTransparent(true);
    g->Bitmap()->SetTransparentMode(tmFixed);
    g->Bitmap()->SetTransparentColor(clWhite);
    g->BeginScene();
    g->Fill()->SetKind(gfkSolid);
    g->Fill()->SetColor(clWhite);
    g->Stroke()->SetKind(gskSolid);
    g->Stroke()->SetColor(clWhite);
    g->DrawRectangle(RectF(0, 0, float(n), float(n)));
    g->Stroke()->SetWidth(penWidth);
    g->Stroke()->SetColor(DefaultGraphicColors().GlyphColor);
    for (int i = 0; i < count; ++i)
        g->DrawLine(PointF(lines[i][0] * scale, lines[i][1] * scale), PointF(lines[i][2] * scale, lines[i][3] * scale));
    g->EndScene();
    TAdvBitmap glyph;
    glyph.Assign(g->Bitmap());
    DrawBitmap(rect, &glyph, true, false, true, false);
}

void TAdvGraphics::DrawResourceGlyph(const TRectF& rect, const wchar_t* name) {
    // An absent resource leaves the picture empty: nothing is drawn.
    std::unique_ptr<TAdvBitmap> glyph = TAdvBitmap::CreateFromResource(name);
    if (!AdvTypes::IsPictureEmpty(glyph.get())) DrawBitmap(rect, glyph.get(), true, false, true, false);
}

void TAdvGraphics::DrawGlyphButton(const TRectF& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                                   float scaleFactor, const float (*lines)[4], const wchar_t* resourceName,
                                   float resourceInset) {
    DrawButton(rect, down, focused, enabled, adaptToStyle, scaleFactor);
    if (adaptToStyle)
        DrawLineGlyph(rect, 16, 2, lines, 2, scaleFactor);
    else
        DrawResourceGlyph(Inset(rect, resourceInset * scaleFactor), resourceName);
}

void TAdvGraphics::DrawCloseButton(const TRectF& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                                   float scaleFactor) {
    DrawGlyphButton(rect, down, focused, enabled, adaptToStyle, scaleFactor, CloseLines, L"AdvGRAPHICSCLOSESVG", 6);
}

void TAdvGraphics::DrawCloseButton(const TRect& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                                   float scaleFactor) {
    DrawCloseButton(ToRectF(rect), down, focused, enabled, adaptToStyle, scaleFactor);
}

void TAdvGraphics::DrawExpanderButton(const TRectF& rect, TAdvGraphicsExpanderState state, bool down, bool focused,
                                      bool enabled, bool adaptToStyle, float scaleFactor) {
    const bool collapsed = state == gesCollapsed;
    DrawGlyphButton(rect, down, focused, enabled, adaptToStyle, scaleFactor, collapsed ? DownLines : UpLines,
                    collapsed ? L"AdvGRAPHICSDOWNSVG" : L"AdvGRAPHICSUPSVG", 4);
}

void TAdvGraphics::DrawExpanderButton(const TRect& rect, TAdvGraphicsExpanderState state, bool down, bool focused,
                                      bool enabled, bool adaptToStyle, float scaleFactor) {
    DrawExpanderButton(ToRectF(rect), state, down, focused, enabled, adaptToStyle, scaleFactor);
}

void TAdvGraphics::DrawCompactButton(const TRectF& rect, TAdvGraphicsCompactState state, bool down, bool focused,
                                     bool enabled, bool adaptToStyle, float scaleFactor) {
    const bool collapsed = state == gcsCollapsed;
    DrawGlyphButton(rect, down, focused, enabled, adaptToStyle, scaleFactor, collapsed ? RightLines : LeftLines,
                    collapsed ? L"AdvGRAPHICSRIGHTSVG" : L"AdvGRAPHICSLEFTSVG", 4);
}

void TAdvGraphics::DrawCompactButton(const TRect& rect, TAdvGraphicsCompactState state, bool down, bool focused,
                                     bool enabled, bool adaptToStyle, float scaleFactor) {
    DrawCompactButton(ToRectF(rect), state, down, focused, enabled, adaptToStyle, scaleFactor);
}

void TAdvGraphics::DrawDropDownButton(const TRectF& rect, bool down, bool focused, bool enabled, bool center,
                                      bool adaptToStyle, float scaleFactor) {
    DrawButton(rect, down, focused, enabled, adaptToStyle, 1);
    const float s = scaleFactor;
    if (adaptToStyle) {
        const float w = float(RoundToPixel(7 * s));
        TRectF target = rect;
        // Too narrow for a glyph at the right: centred in the whole button.
        if (!center && rect.Left < rect.Right - w - 10 * s) target.Left = rect.Right - w - 10 * s;
        DrawLineGlyph(target, 7, 1, DropDownLines, 5, s);
    } else if (center) {
        DrawResourceGlyph(Inset(rect, 4 * s), L"AdvGRAPHICSEXPANDSVG");
    } else {
        DrawResourceGlyph(Inset(RectF(rect.Right - 16 * s, rect.Top, rect.Right - 2 * s, rect.Bottom), 2 * s),
                          L"AdvGRAPHICSEXPANDSVG");
    }
}

void TAdvGraphics::DrawDropDownButton(const TRect& rect, bool down, bool focused, bool enabled, bool center,
                                      bool adaptToStyle, float scaleFactor) {
    DrawDropDownButton(ToRectF(rect), down, focused, enabled, center, adaptToStyle, scaleFactor);
}

TRectF TAdvGraphics::DrawCheckFrame(const TRectF& rect, bool focused, bool enabled, bool round) {
    const TColor border = CheckBorder(focused, enabled);
    TRectF r = Inset(rect, 1);
    FFill->SetKind(gfkSolid);
    FFill->SetColor(enabled ? LightenColor(0xD3D3D3, 85) : 0xD3D3D3);
    FStroke->SetKind(gskSolid);
    FStroke->SetWidth(1);
    FStroke->SetColor(border);
    if (round)
        DrawEllipse(r);
    else
        DrawRectangle(r);
    AdvTypes::InflateRectF(r, -(r.Right - r.Left) / 5, -(r.Bottom - r.Top) / 5);
    return r;
}

void TAdvGraphics::DrawCheckBox(const TRectF& rect, bool checked, bool focused, bool enabled, float scaleFactor) {
    (void)scaleFactor;
    const TRectF r = DrawCheckFrame(rect, focused, enabled, false);
    FStroke->SetWidth(2);
    if (checked) {
        DrawLine(PointF(r.Left, r.Top), PointF(r.Right - 1, r.Bottom - 1));
        DrawLine(PointF(r.Right - 1, r.Top), PointF(r.Left, r.Bottom - 1));
    }
}

void TAdvGraphics::DrawCheckBox(const TRect& rect, bool checked, bool focused, bool enabled, float scaleFactor) {
    DrawCheckBox(ToRectF(rect), checked, focused, enabled, scaleFactor);
}

void TAdvGraphics::DrawRadioButton(const TRectF& rect, bool checked, bool focused, bool enabled, float scaleFactor) {
    (void)scaleFactor;
    const TRectF r = DrawCheckFrame(rect, focused, enabled, true);
    FFill->SetColor(CheckBorder(focused, enabled));
    if (checked) DrawEllipse(r);
}

void TAdvGraphics::DrawRadioButton(const TRect& rect, bool checked, bool focused, bool enabled, float scaleFactor) {
    DrawRadioButton(ToRectF(rect), checked, focused, enabled, scaleFactor);
}

void TAdvGraphics::DrawProgressBar(const TRect& rect, float value, const std::wstring& format, float maximum,
                                   TColor color, TColor textColor, bool showText, bool enabled) {
    DrawProgressBar(ToRectF(rect), value, format, maximum, color, textColor, showText, enabled);
}

}  // namespace AdvGraphics
