// The toolbars' glow and Vista faces on memory surfaces: where their halves, columns, arrows
// and outlines fall, what a measuring call gives, and which appearance colours are cleared.
#include "menus/AdvToolBarFaces.h"

#include <gtest/gtest.h>

#include <functional>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "menus/AdvToolBarText.h"
#include "menus/ToolBarPaintTestSupport.h"
#include "support/MemorySurface.h"

using namespace ClassLib;
using namespace AdvGlowButton;
using TestSupport::TMemorySurface;

namespace {

TGlowLook Flat(TColor colour, TColor border = clNone) {
    return TGlowLook{colour, colour, colour, colour, border, ggVertical, ggVertical};
}

class ToolBarFaces : public testing::Test {
protected:
    static void SetUpTestSuite() { ToolBarPaintTests::GdiplusSession(); }
    void SetUp() override {
        FCanvas.SetHandle(FSurface.DC());
        FFont.SetName(L"Tahoma");
        FFont.SetSize(8);
    }
    void TearDown() override { FCanvas.SetHandle(nullptr); }
    void Clear(TColor colour = clWhite) {
        FCanvas.Refresh();
        FSurface.Fill(COLORREF(ColorToRGB(colour)));
    }
    // Rows of characters from `origin`: '#' colour, 'w' white, '.' the background.
    void ExpectPicture(TPoint origin, const std::vector<const char*>& rows, TColor colour, TColor background) {
        for (int y = 0; y < int(rows.size()); ++y)
            for (int x = 0; rows[y][x]; ++x) {
                const TColor expected = rows[y][x] == '#' ? colour : rows[y][x] == 'w' ? clWhite : background;
                EXPECT_TRUE(FSurface.Is(origin.X + x, origin.Y + y, expected))
                    << "at " << x << "," << y << " of the picture: " << std::hex << FSurface.At(origin.X + x, origin.Y + y);
            }
    }
    BYTE Red(int x, int y) const { return GetRValue(FSurface.At(x, y)); }
    static constexpr int Size = 120;
    TMemorySurface FSurface{Size, Size};
    TCanvas FCanvas;
    TFont FFont;
};

}  // namespace

TEST_F(ToolBarFaces, VistaArrowsDownAndRightWithTheirFiveShadowPixels) {
    Clear(clFuchsia);
    AdvToolBar::DrawVistaArrow(&FCanvas, {10, 10}, clBlack, true, clWhite);
    ExpectPicture({9, 9}, {".......",
                           ".#####.",
                           ".w###w.",
                           "..w#w..",
                           "...w...",
                           "......."}, clBlack, clFuchsia);
    Clear(clFuchsia);
    AdvToolBar::DrawVistaArrow(&FCanvas, {10, 10}, clBlack, false, clWhite);
    ExpectPicture({9, 9}, {"......",
                           ".#w...",
                           ".##w..",
                           ".###w.",
                           ".##w..",
                           ".#w...",
                           "......"}, clBlack, clFuchsia);
}

TEST_F(ToolBarFaces, FlatFacesAndHalves) {
    const TRect r{10, 10, 40, 30};
    struct TCase {
        const char* Name;
        std::function<void()> Draw;
        TRect Coloured;   // all of it in 0x40A040
        TRect Untouched;  // all of it still white
    };
    const TColor green = 0x40A040;
    const TCase cases[] = {
        {"Vista gradient with only Color: one flat colour",
         [&] { AdvToolBar::DrawVistaGradient(&FCanvas, r, 9, green, clNone, clNone, clNone, clNone, 0); },
         r, {40, 10, 41, 30}},
        {"flat glow rect: one pixel left of R, no caption",
         [&] {
             AdvToolBar::DrawGlowRect(&FCanvas, r, TGlowLook{green, clNone, clNone, clNone, clNone, ggVertical, ggVertical},
                                      L"Caption", &FFont, true, false, aaAntiAlias, false);
         },
         {9, 10, 39, 30}, {39, 10, 40, 30}},
        {"FillGlow with its second colour clNone: the first, flat",
         [&] {
             AdvGDIP::TGPGraphics g(FSurface.DC());
             AdvToolBar::FillGlow(g, r, green, clNone, ggRadial, true);
         },
         r, {40, 10, 41, 30}},
        {"FillGlow lower half with its first colour clNone: the second, flat",
         [&] {
             AdvGDIP::TGPGraphics g(FSurface.DC());
             AdvToolBar::FillGlow(g, r, clNone, green, ggVertical, false);
         },
         r, {9, 10, 10, 30}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        c.Draw();
        EXPECT_EQ(FSurface.CountColour(ToRECT(c.Coloured), green), c.Coloured.Width() * c.Coloured.Height());
        EXPECT_EQ(FSurface.CountColour(ToRECT(c.Untouched), clWhite), c.Untouched.Width() * c.Untouched.Height());
    }
    // Both halves flat: the upper UpperHeight + 1 rows, the lower from UpperHeight down.
    Clear();
    AdvToolBar::DrawVistaGradient(&FCanvas, r, 9, green, clNone, clRed, clNone, clNone, 0);
    EXPECT_TRUE(FSurface.Is(20, 18, green));
    EXPECT_TRUE(FSurface.Is(20, 19, clRed));
    EXPECT_TRUE(FSurface.Is(20, 29, clRed));
}

TEST_F(ToolBarFaces, GlowFaceMirrorRunsDownwardsAndAnOddHeightStretchesTheUpperGlow) {
    AdvToolBar::TGlowButtonFace face;
    face.Look = TGlowLook{clWhite, clWhite, clBlack, clWhite, clNone, ggVertical, ggVertical};
    Clear();
    AdvToolBar::DrawGlowButtonFace(&FCanvas, {0, 0, 30, 40}, face);
    EXPECT_LT(Red(15, 22), Red(15, 36));  // ColorMirror at the split, ColorMirrorTo at the bottom
    EXPECT_TRUE(FSurface.Is(15, 40, clWhite));  // nothing below the face

    // The upper glow runs over Half + 1 rows when the height is odd, so the same row is less
    // far from Color to ColorTo.
    face.Look = TGlowLook{clBlack, clWhite, clGray, clGray, clNone, ggVertical, ggVertical};
    Clear();
    AdvToolBar::DrawGlowButtonFace(&FCanvas, {0, 0, 30, 40}, face);
    const int even = Red(15, 19);
    Clear();
    AdvToolBar::DrawGlowButtonFace(&FCanvas, {0, 0, 30, 41}, face);
    const int odd = Red(15, 19);
    EXPECT_LT(odd + 5, even);
    EXPECT_TRUE(FSurface.Is(15, 20, clGray));  // the lower half starts at Half either way
}

TEST_F(ToolBarFaces, VistaButtonOutlinesAndItsTwelvePixelSplitColumn) {
    AdvToolBar::TVistaButtonFace face;
    face.Look = Flat(clWhite, clBlack);
    face.Rounded = false;
    Clear();
    AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 40, 30}, face);
    // Unrounded and standalone: still the outline path, corner to corner (Right - 1, Bottom - 1).
    EXPECT_LT(Red(0, 0), 80);
    EXPECT_LT(Red(39, 29), 80);
    EXPECT_TRUE(FSurface.Is(20, 15, clWhite));
    face.Rounded = true;
    Clear();
    AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 40, 30}, face);
    EXPECT_GT(Red(0, 0), 150);

    // Hot split button: the part the mouse is not over is 10 % darker; the drop-down column
    // of the background is 12 pixels, the arrow's part and its split line 14.
    const TColor grey = 0xC8C8C8, darker = ShadeColor(grey, -10);
    face.Look = Flat(grey, clBlack);
    face.HasBorder = false;
    face.DropDownButton = face.DropDownSplit = face.HotOrDown = true;
    struct TCase { int Hover; TColor Button, DropDown; };
    for (const TCase c : {TCase{2, grey, darker}, TCase{1, darker, grey}}) {
        SCOPED_TRACE(c.Hover);
        face.DropDownHover = c.Hover;
        Clear();
        AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 100, 41}, face);
        EXPECT_TRUE(FSurface.Is(85, 5, c.Button));
        EXPECT_TRUE(FSurface.Is(86, 5, clBlack));  // the split line
        EXPECT_TRUE(FSurface.Is(87, 5, c.Button));
        EXPECT_TRUE(FSurface.Is(88, 5, c.DropDown));
        EXPECT_TRUE(FSurface.Is(99, 35, c.DropDown));
    }
}

TEST_F(ToolBarFaces, AFaceAwayFromTheOriginKeepsItsOutlineAndFocusFrameInside) {
    const TRect r{20, 20, 80, 50};
    const auto inkOutside = [&] {
        return FSurface.CountInk({0, 0, Size, Size}, clWhite) - FSurface.CountInk(ToRECT(r), clWhite);
    };
    AdvToolBar::TVistaButtonFace vista;
    vista.Look = Flat(0xE0E0E0, clBlack);
    vista.FocusFrame = true;
    AdvToolBar::TGlowButtonFace glow;
    glow.Look = Flat(0xE0E0E0, clBlack);
    glow.Focused = true;
    struct TCase { const char* Name; std::function<void()> Draw; };
    const TCase cases[] = {
        {"Vista, standalone", [&] { AdvToolBar::DrawVistaButton(&FCanvas, r, vista); }},
        {"Vista, grouped right", [&] {
             auto right = vista;
             right.Position = bpRight;
             AdvToolBar::DrawVistaButton(&FCanvas, r, right);
         }},
        {"glow face", [&] { AdvToolBar::DrawGlowButtonFace(&FCanvas, r, glow); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        c.Draw();
        EXPECT_EQ(inkOutside(), 0);
        EXPECT_LT(Red(r.Right - 1, r.Top + 10), 80);   // the outline's right edge
        EXPECT_LT(Red(r.Left + 10, r.Bottom - 1), 80);  // and its bottom
    }
}

TEST_F(ToolBarFaces, AMeasuringCallGivesTheContentSizeOfEveryLayout) {
    TBitmap glyph(16, 16, pf24bit);
    AdvToolBar::TVistaButtonFace face;
    face.Font = &FFont;
    face.Caption = L"Paste";
    face.Glyph = &glyph;
    face.CalcOnly = true;
    // Measured here the way each route measures: GDI in the canvas's font, GDI+ with the same
    // caption set-up in the 4096-pixel box.
    FCanvas.Font()->Assign(&FFont);
    const TSize gdi = FCanvas.TextExtent(L"Paste");
    AdvGDIP::TGPRectF box;
    {
        AdvGDIP::TGPGraphics g(FCanvas.Handle());
        AdvToolBar::TCaptionText text(g, &FFont, 0, true, aaAntiAlias);
        text.Format().SetAlignment(AdvGDIP::StringAlignmentCenter);
        box = text.Measure(L"Paste", AdvGDIP::TGPRectF(0, 0, 4096 - 2, 4096));
    }
    const int iw = 16 + 2;  // the spacing joins the glyph in every layout
    for (const TButtonLayout layout : {blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom, blGlyphLeftAdjusted,
                                       blGlyphRightAdjusted, blGlyphTopAdjusted, blGlyphBottomAdjusted}) {
        face.Layout = layout;
        SCOPED_TRACE(int(layout));
        face.AntiAlias = aaNone;
        TSize size = AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 100, 41}, face);
        EXPECT_EQ(size.cx, gdi.cx + iw + 2);
        EXPECT_EQ(size.cy, std::max(gdi.cy + 2, 16 + 2));
        face.AntiAlias = aaAntiAlias;
        size = AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 100, 41}, face);
        EXPECT_EQ(size.cx, int(std::nearbyint(box.Width)) + iw + 2);
        EXPECT_EQ(size.cy, std::max(int(std::nearbyint(box.Height)) + 2, 16 + 2));
    }
    // Without caption or image a "!" is measured.
    face.Caption.clear();
    face.Glyph = nullptr;
    face.AntiAlias = aaNone;
    const TSize bang = AdvToolBar::DrawVistaButton(&FCanvas, {0, 0, 100, 41}, face);
    EXPECT_EQ(bang.cx, FCanvas.TextWidth(L"!") + 2);
}

TEST(ToolBarFacesAppearance, ClearingSetsSeventeenColoursToClNoneAndKeepsTheRest) {
    TGlowButtonAppearance appearance;
    int changes = 0;
    appearance.OnChange = [&](ClassLib::TObject*) { ++changes; };
    std::map<std::string, TColor> before;
#define ADVGLOW_READ(Name, Initial, Kind) before[#Name] = appearance.Name();
    ADVGLOW_APPEARANCE_COLOURS(ADVGLOW_READ)
#undef ADVGLOW_READ
    AdvToolBar::ClearGlowButtonAppearance(&appearance);
    AdvToolBar::ClearGlowButtonAppearance(nullptr);
    const std::set<std::string> cleared = {
        "BorderColor", "BorderColorHot", "BorderColorDown", "Color", "ColorTo", "ColorDown", "ColorDownTo", "ColorHot",
        "ColorHotTo", "ColorMirror", "ColorMirrorTo", "ColorMirrorHot", "ColorMirrorHotTo", "ColorMirrorDown",
        "ColorMirrorDownTo", "ColorDisabled", "ColorDisabledTo"};
    int count = 0;
#define ADVGLOW_CHECK(Name, Initial, Kind)                                                \
    {                                                                                     \
        SCOPED_TRACE(#Name);                                                              \
        const bool clear = cleared.count(#Name) > 0;                                      \
        count += clear;                                                                   \
        EXPECT_EQ(appearance.Name(), clear ? clNone : before[#Name]);                     \
    }
    ADVGLOW_APPEARANCE_COLOURS(ADVGLOW_CHECK)
#undef ADVGLOW_CHECK
    EXPECT_EQ(count, 17);
    EXPECT_EQ(changes, 17);  // through the setters, each a real change
}
