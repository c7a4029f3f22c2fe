// The toolbars' caption routines on memory surfaces. What a routine draws is compared with
// the text it should come to drawn directly in the same run, so the tests hold for whatever
// fonts the Wine prefix maps.
#include "menus/AdvToolBarText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "classlib/Canvas.h"
#include "menus/ToolBarPaintTestSupport.h"
#include "support/MemorySurface.h"

using namespace ClassLib;
using TestSupport::TMemorySurface;
using AdvGDIP::TAntiAlias;
using AdvGDIP::aaAntiAlias;
using AdvGDIP::aaNone;

namespace {

constexpr int Width = 200, Height = 60;

// Two white surfaces with a canvas each: one for the routine, one for what it should draw.
class ToolBarText : public testing::Test {
protected:
    static void SetUpTestSuite() { ToolBarPaintTests::GdiplusSession(); }
    void SetUp() override {
        FFont.SetName(L"Tahoma");
        FFont.SetSize(9);
        for (int i = 0; i < 2; ++i) {
            FCanvas[i].SetHandle(FSurface[i].DC());
            FCanvas[i].Font()->Assign(&FFont);
        }
    }
    void TearDown() override {
        for (TCanvas& canvas : FCanvas) canvas.SetHandle(nullptr);
    }
    void Clear() {
        for (int i = 0; i < 2; ++i) {
            FCanvas[i].Refresh();
            FSurface[i].Fill(RGB(255, 255, 255));
        }
    }
    int Differences() const {
        int n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) n += FSurface[0].At(x, y) != FSurface[1].At(x, y);
        return n;
    }
    int Ink(int i) const { return FSurface[i].CountInk({0, 0, Width, Height}, clWhite); }
    // `text` drawn by GDI+ on the second surface in `layout`, set up as the routines set it up.
    void DrawExpected(const std::wstring& text, const TRect& layout) {
        AdvGDIP::TGPGraphics g(FSurface[1].DC());
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        AdvToolBar::TCaptionText caption(g, &FFont, 0, true, aaAntiAlias);
        caption.Format().SetAlignment(AdvGDIP::StringAlignmentNear);
        caption.Draw(text, AdvGDIP::TGPRectF(float(layout.Left), float(layout.Top), float(layout.Width()),
                                             float(layout.Height())));
    }
    float MeasuredWidth(const std::wstring& text) {
        AdvGDIP::TGPGraphics g(FSurface[1].DC());
        AdvToolBar::TCaptionText caption(g, &FFont, 0, true, aaAntiAlias);
        return caption.Measure(text, AdvGDIP::TGPRectF(0, 0, 1000, 20)).Width;
    }
    TMemorySurface FSurface[2] = {TMemorySurface(Width, Height), TMemorySurface(Width, Height)};
    TCanvas FCanvas[2];
    TFont FFont;
};

}  // namespace

TEST_F(ToolBarText, TrimmedCaptionsDrawTheLongestFittingPrefix) {
    const std::wstring caption = L"Toolbar";
    const int four = int(std::ceil(MeasuredWidth(L"Tool")));
    const int lessThanDots = int(std::ceil(MeasuredWidth(L"..."))) - 1;
    // The prefix as the caption is shortened one character at a time until it fits.
    const auto fitted = [&](const std::wstring& suffix, int width) {
        std::wstring prefix = caption;
        while (!prefix.empty() && MeasuredWidth(prefix + suffix) > float(width)) prefix.pop_back();
        return prefix + suffix;
    };
    struct TCase { const char* Name; int RectWidth; bool Ellipsis, KeepWhole; std::wstring Expected; };
    const TCase cases[] = {
        {"ellipsis", four, true, false, fitted(L"...", four)},
        {"neither flag: the prefix alone", four, false, false, L"Tool"},
        {"keep whole: the whole caption", four, false, true, caption},
        {"not even the ellipsis fits: the ellipsis", lessThanDots, true, false, L"..."},
        {"wide enough: untouched", 150, true, false, caption},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        const TRect r{10, 10, 10 + c.RectWidth, 30};
        TRect textRect;
        AdvToolBar::DrawTextTrimmed(&FCanvas[0], taLeftJustify, 0, r, caption, L"", &FFont, true, true, aaAntiAlias,
                                    c.Ellipsis, c.KeepWhole, textRect);
        DrawExpected(c.Expected, r);
        EXPECT_GT(Ink(0), 0);
        EXPECT_EQ(Differences(), 0);
    }
    EXPECT_EQ(fitted(L"...", four).substr(0, 1), L"T");  // the case above trims to something

    // Measuring only: the box of the whole caption in R, nothing drawn.
    Clear();
    TRect textRect;
    AdvToolBar::DrawTextTrimmed(&FCanvas[0], taLeftJustify, 0, {10, 10, 160, 30}, caption, L"", &FFont, true, false,
                                aaAntiAlias, true, false, textRect);
    EXPECT_EQ(Ink(0), 0);
    EXPECT_NEAR(textRect.Width(), MeasuredWidth(caption), 1.0);
    // An empty caption measures 0 x 0 even with a wide one.
    AdvToolBar::DrawTextTrimmed(&FCanvas[0], taLeftJustify, 0, {10, 10, 160, 30}, L"", L"Wide", &FFont, true, true,
                                aaAntiAlias, true, false, textRect);
    EXPECT_EQ(textRect, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Ink(0), 0);
}

TEST_F(ToolBarText, TrimmedCaptionsGoThroughDrawTextWithoutAntiAliasOrAVectorFont) {
    EXPECT_TRUE(AdvToolBar::IsVectorFont(&FCanvas[0]));
    EXPECT_FALSE(AdvToolBar::IsVectorFont(nullptr));
    struct TCase { const char* Name; const wchar_t* FontName; TAntiAlias AntiAlias; };
    // "System" is a bitmap font (and the screen's font list, of vector fonts, leaves it out).
    const TCase cases[] = {{"anti-aliasing off", L"Tahoma", aaNone}, {"a bitmap font", L"System", aaAntiAlias}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        TFont font;
        font.Assign(&FFont);
        font.SetName(c.FontName);
        FCanvas[1].Font()->Assign(&font);
        if (c.AntiAlias != aaNone) {
            EXPECT_FALSE(AdvToolBar::IsVectorFont(&FCanvas[1]));
        }
        const TRect r{10, 10, 190, 50};
        const UINT format = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE;
        TRect textRect;
        AdvToolBar::DrawTextTrimmed(&FCanvas[0], taLeftJustify, format, r, L"Toolbar", L"", &font, true, true,
                                    c.AntiAlias, true, false, textRect);
        FCanvas[1].TextExtent(L"");
        RECT target = ToRECT(r);
        ::DrawTextW(FCanvas[1].Handle(), L"Toolbar", 7, &target, format);
        EXPECT_GT(Ink(0), 0);
        EXPECT_EQ(Differences(), 0);
        EXPECT_EQ(textRect.Width(), FCanvas[1].TextWidth(L"Toolbar"));
    }
}

TEST_F(ToolBarText, WrappedCaptionsMeasureAndDraw) {
    TRect textRect{1, 2, 3, 4};
    // Nothing at all from two empty captions.
    Clear();
    AdvToolBar::DrawTextWrapped(&FCanvas[0], taLeftJustify, {0, 0, 100, 40}, L"", L"", &FFont, true, true,
                                aaAntiAlias, false, clNone, false, textRect);
    EXPECT_EQ(textRect, (TRect{0, 0, 0, 0}));
    textRect = {1, 2, 3, 4};
    AdvToolBar::DrawTextWrappedDC(FSurface[0].DC(), taLeftJustify, {0, 0, 100, 40}, L"", L"", &FFont, true, true,
                                  aaAntiAlias, clNone, false, textRect);
    EXPECT_EQ(textRect, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Ink(0), 0);
    EXPECT_EQ(AdvToolBar::MeasureTextWidth(&FCanvas[0], L"", L"", aaAntiAlias, &FFont), 0);
    // The wide caption stands in for an empty one, in both measures.
    for (const TAntiAlias antiAlias : {aaNone, aaAntiAlias}) {
        SCOPED_TRACE(int(antiAlias));
        const int tool = AdvToolBar::MeasureTextWidth(&FCanvas[0], L"", L"Tool", antiAlias, &FFont);
        const int toolbar = AdvToolBar::MeasureTextWidth(&FCanvas[0], L"Toolbar", L"", antiAlias, &FFont);
        EXPECT_GT(tool, 0);
        EXPECT_GT(toolbar, tool);
    }
    // The GDI measure wraps in its two-pixel column and keeps the box where R starts.
    AdvToolBar::DrawTextWrapped(&FCanvas[0], taLeftJustify, {10, 20, 190, 60}, L"Save all", L"", &FFont, true, false,
                                aaNone, false, clNone, false, textRect);
    EXPECT_EQ(textRect.Top, 20);
    EXPECT_EQ(textRect.Height(), 2 * FCanvas[0].TextHeight(L"Save"));
    EXPECT_EQ(textRect.Width(), FCanvas[0].TextWidth(L"Save"));

    // The outline forms draw, and through a bitmap its back colour is the transparent one.
    Clear();
    AdvToolBar::DrawTextWrapped(&FCanvas[0], taCenter, {0, 0, 120, 30}, L"Toolbar", L"", &FFont, true, true,
                                aaAntiAlias, true, clYellow, true, textRect);
    EXPECT_GT(Ink(0), 0);
    EXPECT_EQ(FSurface[0].CountColour({0, 0, Width, Height}, clYellow), 0);
    Clear();
    AdvToolBar::DrawTextWrappedDC(FSurface[0].DC(), taCenter, {0, 0, 120, 30}, L"Toolbar", L"", &FFont, true, true,
                                  aaAntiAlias, clBlue, true, textRect);
    EXPECT_GT(Ink(0), 0);
}

TEST_F(ToolBarText, VerticalTextUnderlinesTheMarkedCharacterOnly) {
    FFont.SetOrientation(2700);  // downwards: the glyphs' feet face left
    for (TCanvas& canvas : FCanvas) canvas.Font()->Assign(&FFont);
    const TPoint p{40, 5};
    struct TCase { const wchar_t* Text; const wchar_t* Shown; int Hotkey; };
    const TCase cases[] = {
        {L"Hello&World", L"HelloWorld", 6},
        {L"Tool&&bar", L"Tool&bar", 0},
        {L"Toolbar&", L"Toolbar", 0},
        {L"&Toolbar", L"Toolbar", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        Clear();
        AdvToolBar::DrawVerticalText(&FCanvas[0], c.Text, p);
        FCanvas[1].TextOut(p.X, p.Y, c.Shown);
        if (!c.Hotkey) {
            EXPECT_EQ(Differences(), 0);
            continue;
        }
        // Only the underline differs: one column at the glyphs' feet, as long as the marked
        // character, measured without the "&".
        const std::wstring shown = c.Shown;
        const int h = FCanvas[1].TextHeight(shown);
        const int top = p.Y + FCanvas[1].TextWidth(shown.substr(0, c.Hotkey - 1));
        const int bottom = top + FCanvas[1].TextWidth(shown.substr(c.Hotkey - 1, 1));
        int inside = 0, outside = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                if (FSurface[0].At(x, y) == FSurface[1].At(x, y)) continue;
                (x == p.X - h + 1 && y >= top && y < bottom ? inside : outside)++;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, (bottom - top) / 2);
    }
}
