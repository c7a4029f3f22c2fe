#include "menus/AdvToolBarText.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "graphics/AdvGDIPFamilies.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarSystem.h"

namespace AdvToolBar {

using ClassLib::clGray;
using ClassLib::clNone;
using ClassLib::TCanvas;
using ClassLib::TRect;
using namespace AdvGDIP;

namespace {

// Halves to even, as the unit's arithmetic is written.
int Round(double value) { return int(std::nearbyint(value)); }

TRect RectOf(const TGPRectF& box) {
    return {Round(box.X), Round(box.Y), Round(box.X + box.Width), Round(box.Y + box.Height)};
}

TGPRectF LayoutOf(const TRect& r) { return TGPRectF(float(r.Left), float(r.Top), float(r.Width()), float(r.Height())); }

// Alignments other than the three leave the format's own.
void SetAlignment(TGPStringFormat& format, TAlignment alignment) {
    switch (alignment) {
        case ClassLib::taLeftJustify: format.SetAlignment(StringAlignmentNear); break;
        case ClassLib::taRightJustify: format.SetAlignment(StringAlignmentFar); break;
        case ClassLib::taCenter: format.SetAlignment(StringAlignmentCenter); break;
    }
}

UINT GdiAlignment(TAlignment alignment) {
    return alignment == ClassLib::taRightJustify ? DT_RIGHT : alignment == ClassLib::taCenter ? DT_CENTER : 0;
}

TColor TextColor(const ClassLib::TFont* font, bool enabled) { return enabled ? font->Color() : clGray; }

// The longest prefix of `caption` that, followed by `suffix`, fits `width` in the layout; the
// empty prefix when none does. Each measure costs a GDI+ layout, so the length is halved in
// on rather than shortened a character at a time.
std::wstring FittedPrefix(TCaptionText& text, const std::wstring& caption, const std::wstring& suffix,
                          const TGPRectF& layout, float width) {
    const auto fits = [&](std::size_t length) {
        return text.Measure(caption.substr(0, length) + suffix, layout).Width <= width;
    };
    std::size_t low = 0, high = caption.size();  // invariant: every length above high is too wide
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(middle)) low = middle;
        else high = middle - 1;
    }
    return caption.substr(0, low);
}

// "&&" becomes "&"; any other "&" goes.
std::wstring StripHotkey(const std::wstring& text) {
    std::wstring stripped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            stripped += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == L'&') {
            stripped += L'&';
            ++i;
        }
    }
    return stripped;
}

bool FontListed(const std::wstring& name) {
    const auto& fonts = ClassLib::Screen->Fonts();
    return std::any_of(fonts.begin(), fonts.end(),
                       [&](const std::wstring& listed) { return ::lstrcmpiW(listed.c_str(), name.c_str()) == 0; });
}

}  // namespace

TGPRectF MeasureWrappedGDI(HDC dc, const std::wstring& text, const TGPRectF& layout) {
    RECT calc{Round(layout.X), Round(layout.Y), Round(layout.X) + 2, Round(layout.Y)};
    const int height = ::DrawTextW(dc, text.c_str(), int(text.size()), &calc, DT_CALCRECT | DT_WORDBREAK);
    // The height DrawText gives is the box's own, wherever its top is.
    return TGPRectF(float(calc.left), float(calc.top), float(calc.right - calc.left), float(height));
}

int FontStyleBits(const ClassLib::TFont* font, bool withStrikeOut) {
    const ClassLib::TFontStyles styles = font->Style();
    return AdvGDIPCore::FontStyleBits(styles.Contains(ClassLib::fsBold), styles.Contains(ClassLib::fsItalic),
                                      styles.Contains(ClassLib::fsUnderline),
                                      withStrikeOut && styles.Contains(ClassLib::fsStrikeOut));
}

TCaptionText::TCaptionText(TGPGraphics& graphics, const ClassLib::TFont* font, int styleBits, bool enabled,
                           TAntiAlias antiAlias, int formatFlags)
    : FGraphics(graphics),
      FFont(AdvGDIPFamilies::FamilyOf(font), float(font->Size()), styleBits, UnitPoint),
      FFormat(formatFlags),
      FBrush(ColorToARGB(TextColor(font, enabled))) {
    FFormat.SetLineAlignment(StringAlignmentCenter);
    FFormat.SetHotkeyPrefix(HotkeyPrefixShow);
    if (antiAlias == AdvGDIP::aaClearType) graphics.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    else if (antiAlias == AdvGDIP::aaAntiAlias) graphics.SetTextRenderingHint(TextRenderingHintAntiAlias);
}

TGPRectF TCaptionText::Measure(const std::wstring& text, const TGPRectF& layout) {
    TGPRectF box(0, 0, 0, 0);
    FGraphics.MeasureString(text.c_str(), int(text.size()), &FFont, layout, &FFormat, box);
    return box;
}

void TCaptionText::Draw(const std::wstring& text, const TGPRectF& layout) {
    FGraphics.DrawString(text, &FFont, layout, &FFormat, &FBrush);
}

float OutlineEmSize(int pointSize, float scale) {
    return scale == 1.0f ? float(pointSize + 3) : float(pointSize + 2) * scale;
}

bool IsVectorFont(TCanvas* canvas) {
    if (!canvas) return false;
    canvas->TextExtent(L"");  // selects the font
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(canvas->Handle(), &metrics)) return false;
    return (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0 && (metrics.tmPitchAndFamily & TMPF_DEVICE) == 0 &&
           FontListed(canvas->Font()->Name());
}

void DrawTextTrimmed(TCanvas* canvas, TAlignment alignment, UINT format, const TRect& rect,
                     const std::wstring& caption, const std::wstring&, const ClassLib::TFont* font, bool enabled,
                     bool doDraw, TAntiAlias antiAlias, bool ellipsis, bool keepWhole, TRect& textRect) {
    textRect = TRect{0, 0, 0, 0};
    if (caption.empty()) return;
    canvas->Font()->SetName(font->Name());
    if (antiAlias != AdvGDIP::aaNone && IsVectorFont(canvas)) {
        TGPGraphics g(canvas->Handle());
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        TCaptionText text(g, font, FontStyleBits(font, true), enabled, antiAlias);
        SetAlignment(text.Format(), alignment);
        const TGPRectF layout = LayoutOf(rect);
        const TGPRectF wide(layout.X, layout.Y, 1000, layout.Height);
        const bool inRect = !doDraw || (keepWhole && !ellipsis);
        const TGPRectF box = text.Measure(caption, inRect ? layout : wide);
        textRect = RectOf(box);
        if (!doDraw) return;
        std::wstring shown = caption;
        if (box.Width > float(rect.Width()) && (ellipsis || !keepWhole)) {
            const std::wstring suffix = ellipsis ? L"..." : L"";
            shown = FittedPrefix(text, caption, suffix, wide, float(rect.Width())) + suffix;
        }
        text.Draw(shown, layout);
        return;
    }
    canvas->TextExtent(L"");  // selects the font
    RECT calc{0, 0, 1000, 100};
    ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
    textRect = ClassLib::FromRECT(calc);
    if (!doDraw) return;
    RECT target = ClassLib::ToRECT(rect);
    ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &target, format);
}

void DrawTextWrapped(TCanvas* canvas, TAlignment alignment, const TRect& rect, const std::wstring& caption,
                     const std::wstring& wideCaption, const ClassLib::TFont* font, bool enabled, bool doDraw,
                     TAntiAlias antiAlias, bool throughBitmap, TColor backColor, bool outline, TRect& textRect) {
    textRect = TRect{0, 0, 0, 0};
    if (caption.empty() && wideCaption.empty()) return;
    const std::wstring& shown = caption.empty() ? wideCaption : caption;
    TGPGraphics g(canvas->Handle());
    TCaptionText text(g, font, FontStyleBits(font, false), enabled, antiAlias);
    text.Format().SetTrimming(StringTrimmingNone);
    SetAlignment(text.Format(), alignment);
    if (!(outline && doDraw)) g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const TGPRectF layout = LayoutOf(rect);
    if (antiAlias != AdvGDIP::aaNone) {
        textRect = RectOf(text.Measure(shown, layout));
    } else {
        canvas->TextExtent(L"");  // selects the font
        textRect = RectOf(MeasureWrappedGDI(canvas->Handle(), shown, layout));
    }
    if (!doDraw) return;

    const UINT singleLine = DT_SINGLELINE | DT_VCENTER | GdiAlignment(alignment);
    if (outline && throughBitmap) {
        const int w = Round(layout.Width), h = Round(layout.Height);
        if (w <= 0 || h <= 0) return;
        ClassLib::TBitmap bitmap(w, h, ClassLib::pf24bit);
        TCanvas* surface = bitmap.Canvas();
        if (backColor != clNone) {
            surface->Brush()->SetColor(backColor);
            surface->FillRect(TRect{0, 0, w, h});
        }
        surface->Font()->Assign(font);
        surface->Font()->SetColor(TextColor(font, enabled));
        surface->Brush()->SetStyle(ClassLib::bsClear);
        surface->TextExtent(L"");  // selects the font and its colour
        RECT all{0, 0, w, h};
        ::DrawTextW(surface->Handle(), shown.c_str(), int(shown.size()), &all, singleLine);
        DrawGraphicGDIP(&g, nullptr, ClassLib::TPoint{Round(layout.X) + 2, Round(layout.Y) + 1}, &bitmap, true);
    } else if (outline) {
        g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        TGPGraphicsPath path;
        path.AddString(shown.c_str(), int(shown.size()), AdvGDIPFamilies::FamilyOf(font), 0,
                       OutlineEmSize(font->Size(), DPIScaleFactor), layout, &text.Format());
        TGPSolidBrush halo(ColorToARGB(BlendColor(TextColor(font, enabled), ClassLib::clWhite, 60)));
        g.FillPath(&halo, &path);
        g.FillPath(&text.Brush(), &path);
    } else if (antiAlias != AdvGDIP::aaNone) {
        text.Draw(shown, layout);
    } else {
        canvas->Brush()->SetStyle(ClassLib::bsClear);
        canvas->TextExtent(L"");  // selects the font and sets the transparent background
        RECT target{Round(layout.X), Round(layout.Y), Round(layout.X) + Round(layout.Width),
                    Round(layout.Y) + Round(layout.Height)};
        ::DrawTextW(canvas->Handle(), shown.c_str(), int(shown.size()), &target, singleLine);
    }
}

void DrawTextWrappedDC(HDC dc, TAlignment alignment, const TRect& rect, const std::wstring& caption,
                       const std::wstring& wideCaption, const ClassLib::TFont* font, bool enabled, bool doDraw,
                       TAntiAlias antiAlias, TColor shadowColor, bool outline, TRect& textRect) {
    textRect = TRect{0, 0, 0, 0};
    if (caption.empty() && wideCaption.empty()) return;
    const std::wstring& shown = caption.empty() ? wideCaption : caption;
    TGPGraphics g(dc);
    TCaptionText text(g, font, FontStyleBits(font, false), enabled, antiAlias);
    text.Format().SetTrimming(StringTrimmingNone);
    SetAlignment(text.Format(), alignment);
    if (!(outline && doDraw)) g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const TGPRectF layout = LayoutOf(rect);
    textRect = RectOf(antiAlias != AdvGDIP::aaNone ? text.Measure(shown, layout) : MeasureWrappedGDI(dc, shown, layout));
    if (!doDraw) return;
    if (!outline) {
        text.Draw(shown, layout);
        return;
    }
    // A bold path of the caption over its shadow one pixel lower.
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    const float emSize = float(font->Size() + 2) * DPIScaleFactor;
    const auto pathOf = [&](float dy) {
        auto path = std::make_unique<TGPGraphicsPath>();
        path->AddString(caption.c_str(), int(caption.size()), AdvGDIPFamilies::FamilyOf(font), 1, emSize,
                        TGPRectF(layout.X, layout.Y + dy, layout.Width, layout.Height), &text.Format());
        return path;
    };
    TGPSolidBrush shadow(ColorToARGB(DarkenColor(shadowColor, 35)));
    g.FillPath(&shadow, pathOf(1).get());
    g.FillPath(&text.Brush(), pathOf(0).get());
}

int MeasureTextWidth(TCanvas* canvas, const std::wstring& caption, const std::wstring& wideCaption,
                     TAntiAlias antiAlias, const ClassLib::TFont* font) {
    TRect textRect;
    canvas->TextExtent(L"");  // the GDI measure is made in the canvas's font
    DrawTextWrappedDC(canvas->Handle(), ClassLib::taLeftJustify, TRect{0, 0, 1000, 100}, caption, wideCaption, font,
                      true, false, antiAlias, clNone, false, textRect);
    return textRect.Width();
}

void DrawVerticalText(TCanvas* canvas, const std::wstring& text, ClassLib::TPoint p) {
    // The visible position (from 1) of the character an "&" marks; "&&" is one visible "&".
    int visible = 1, hotkey = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            if (text[i + 1] == L'&') {
                ++i;
                ++visible;
            } else {
                hotkey = visible;  // the next character, counted when the loop reaches it
            }
            continue;
        }
        ++visible;
    }
    const std::wstring stripped = StripHotkey(text);
    canvas->TextOut(p.X, p.Y, stripped);
    if (hotkey < 1 || hotkey > int(stripped.size())) return;
    const int h = canvas->TextHeight(stripped);
    const int w = canvas->TextWidth(stripped.substr(0, std::size_t(hotkey - 1)));
    const int w2 = canvas->TextWidth(stripped.substr(std::size_t(hotkey - 1), 1));
    canvas->Pen()->SetColor(canvas->Font()->Color());
    canvas->MoveTo(p.X - h + 1, p.Y + w);
    canvas->LineTo(p.X - h + 1, p.Y + w + w2);
}

}  // namespace AdvToolBar
