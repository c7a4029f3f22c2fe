// The toolbar painters' primitives: colour arithmetic and the fade's alphas without drawing,
// then the GDI figures pixel for pixel and the GDI+ ones by where their ink lies, on memory
// surfaces.
#include "menus/AdvToolBarPaint.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/ImageList.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvGlobalStream.h"
#include "graphics/AdvTypes.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "menus/ToolBarPaintTestSupport.h"
#include "support/MemorySurface.h"

using namespace ClassLib;
using TestSupport::TMemorySurface;

namespace {

// The smallest rectangle holding every pixel that is not the background.
TRect InkBounds(const TMemorySurface& surface, int width, int height, TColor background) {
    TRect bounds{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!surface.Is(x, y, background)) {
                bounds.Left = std::min(bounds.Left, x);
                bounds.Top = std::min(bounds.Top, y);
                bounds.Right = std::max(bounds.Right, x + 1);
                bounds.Bottom = std::max(bounds.Bottom, y + 1);
            }
    return bounds;
}

std::string Text(const TRect& r) {
    return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
           std::to_string(r.Bottom) + ")";
}

// A canvas over a white memory surface; DPIScaleFactor is put back after each test.
class ToolBarPaintSurface : public testing::Test {
protected:
    static void SetUpTestSuite() { ToolBarPaintTests::GdiplusSession(); }
    void SetUp() override { FCanvas.SetHandle(FSurface.DC()); }
    void TearDown() override {
        FCanvas.SetHandle(nullptr);
        AdvToolBar::DPIScaleFactor = 1.0f;
    }
    void Clear(TColor colour = clWhite) {
        FCanvas.Refresh();
        FSurface.Fill(COLORREF(ColorToRGB(colour)));
    }
    static constexpr int Size = 60;
    TMemorySurface FSurface{Size, Size};
    TCanvas FCanvas;
};

}  // namespace

TEST(ToolBarPaintPure, ColourArithmeticCentringAndTheFadeAlphas) {
    struct TCase { const char* Name; long long Got, Expected; };
    TRect centred{10, 10, 31, 20};
    AdvToolBar::CenterRect(centred, 6, 4);
    const auto fade = AdvToolBar::FadeRightStripAlphas(25, 30);
    const bool scenic = AdvGDIP::GetScenicRibbonFlag();
    AdvGDIP::SetScenicRibbonFlag(true);
    const int scenicRadius = AdvToolBar::GetCornerRadius();
    AdvGDIP::SetScenicRibbonFlag(false);
    const int plainRadius = AdvToolBar::GetCornerRadius();
    AdvGDIP::SetScenicRibbonFlag(scenic);
    const TCase cases[] = {
        {"ARGB is opaque and red-first", AdvToolBar::ColorToARGB(0x336699), 0xFF996633},
        {"ARGB resolves system colours", AdvToolBar::ColorToARGB(clBtnFace),
         AdvGDIP::ColorToOpaqueARGB(ColorToRGB(clBtnFace))},
        {"blend 50 rounds 1.5 to 2", AdvToolBar::BlendColor(0x000003, 0x000000, 50), 0x000002},
        {"blend 50 rounds 0.5 to 0", AdvToolBar::BlendColor(0x000001, 0x000000, 50), 0x000000},
        {"blend 150 is the first", AdvToolBar::BlendColor(clRed, clBlue, 150), clRed},
        {"blend -5 is the second", AdvToolBar::BlendColor(clRed, clBlue, -5), clBlue},
        {"blend mixes clNone as the white it spells", AdvToolBar::BlendColor(clNone, clBlack, 50), 0x808080},
        {"where the glow's blend skips clNone", AdvGlowButton::BlendColor(clNone, clBlack, 50), clBlack},
        {"darken white by 35", AdvToolBar::DarkenColor(clWhite, 35), 0xA6A6A6},
        {"a negative percent lightens", AdvToolBar::DarkenColor(0x404040, -50), 0x606060},
        {"lightening stops at 255", AdvToolBar::DarkenColor(0xC0C0C0, -50), 0xFFFFFF},
        {"shade is the glow's rule", AdvToolBar::ShadeColor(0x000064, -10), AdvGlowButton::ShadeColor(0x000064, -10)},
        {"centred left", centred.Left, 17},
        {"centred top", centred.Top, 13},
        {"centred right", centred.Right, 23},
        {"centred bottom", centred.Bottom, 17},
        {"square corners on scenic ribbons", scenicRadius, 0},
        {"round corners elsewhere", plainRadius, 3},
        {"outline em size at scale 1", (long long)(AdvToolBar::OutlineEmSize(9, 1.0f) * 100), 1200},
        {"outline em size at scale 1.5", (long long)(AdvToolBar::OutlineEmSize(9, 1.5f) * 100), 1650},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Got, c.Expected);
    }
    // 25 and 30 fall by 10 and 12 a strip, and stop at 0 from the strip after they reach 9 or 11.
    const int tops[] = {25, 15, 5, 0, 0}, bottoms[] = {30, 18, 6, 0, 0};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fade[i].first, tops[i]);
        EXPECT_EQ(fade[i].second, bottoms[i]);
    }
    EXPECT_EQ(fade[17], std::make_pair(BYTE(0), BYTE(0)));
}

TEST_F(ToolBarPaintSurface, BandGradientsLeaveTheLastRowUnlikeTheGlowsOwn) {
    struct TCase {
        const char* Name;
        std::function<void()> Draw;
        TPoint Painted, Unpainted;
    };
    const TRect r{0, 0, 10, 10};
    const TCase cases[] = {
        {"0 steps: one band of the first colour over all of R",
         [&] { AdvToolBar::DrawGradient(&FCanvas, clRed, clBlue, 0, r, false); }, {5, 9}, {5, 10}},
        {"2 steps leave the last row",
         [&] { AdvToolBar::DrawGradient(&FCanvas, clRed, clBlue, 2, r, false); }, {5, 8}, {5, 9}},
        {"2 steps across leave the last column",
         [&] { AdvToolBar::DrawGradient(&FCanvas, clRed, clBlue, 2, r, true); }, {8, 5}, {9, 5}},
        {"the glow's 2 steps reach the last row and beyond",
         [&] { AdvGlowButton::DrawGradient(&FCanvas, clRed, clBlue, 2, r, false); }, {5, 10}, {5, 11}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        c.Draw();
        EXPECT_FALSE(FSurface.Is(c.Painted.X, c.Painted.Y, clWhite));
        EXPECT_TRUE(FSurface.Is(c.Unpainted.X, c.Unpainted.Y, clWhite));
    }
    Clear();
    AdvToolBar::DrawGradient(&FCanvas, clRed, clBlue, 0, r, false);
    EXPECT_TRUE(FSurface.Is(0, 0, clRed));
    EXPECT_TRUE(FSurface.Is(9, 9, clRed));
}

TEST_F(ToolBarPaintSurface, CaptionGlyphsInA40PixelBox) {
    struct TCase {
        const char* Name;
        float Scale;
        std::function<void(const TRect&)> Draw;
        TRect Ink;
    };
    using namespace AdvToolBar;
    const TCase cases[] = {
        // e = 40 - 6, capped at 18; the two lines start (W - e) div 3 in.
        {"close", 1.0f, [&](const TRect& r) { DrawCloseGlyph(&FCanvas, r, clBlack, gsClassic, 1); }, {7, 7, 25, 26}},
        {"close at 1.5: e = 27", 1.5f, [&](const TRect& r) { DrawCloseGlyph(&FCanvas, r, clBlack, gsClassic, 1); },
         {4, 4, 31, 32}},
        // e div 2 = 9, made even: a cross of 10 centred.
        {"flat close", 1.0f,
         [&](const TRect& r) { DrawCloseGlyph(&FCanvas, r, clBlack, gsOffice2019, 1); }, {15, 15, 26, 26}},
        {"flat close at 1.5", 1.5f,
         [&](const TRect& r) { DrawCloseGlyph(&FCanvas, r, clBlack, gsOffice2019, 1); }, {13, 13, 28, 28}},
        {"flat minimize: a line of 9", 1.0f,
         [&](const TRect& r) { DrawMinimizeGlyph(&FCanvas, r, clBlack, gsOffice2019, true); },
         {15, 20, 24, 21}},
        {"flat maximize: a square of 9", 1.0f,
         [&](const TRect& r) { DrawMaximizeGlyph(&FCanvas, r, clBlack, gsOffice2019, true); },
         {15, 15, 25, 25}},
        // e is not capped here: 34, squares of 17 two pixels apart.
        {"flat restore", 1.0f,
         [&](const TRect& r) { DrawRestoreGlyph(&FCanvas, r, clBlack, gsOffice2019, true); },
         {9, 11, 29, 31}},
        {"scaled minimize: two rows of e", 1.0f,
         [&](const TRect& r) { DrawMinimizeGlyph(&FCanvas, r, clBlack, gsClassic, true); }, {11, 26, 29, 28}},
        {"fixed minimize: two 6-pixel columns at the top left", 1.0f,
         [&](const TRect& r) { DrawMinimizeGlyph(&FCanvas, r, clBlack, gsClassic, false); }, {0, 0, 2, 6}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        DPIScaleFactor = c.Scale;
        Clear();
        c.Draw(TRect{0, 0, 40, 40});
        EXPECT_EQ(Text(InkBounds(FSurface, Size, Size, clWhite)), Text(c.Ink));
    }
    // The plain close glyph's two diagonals, ends excluded as GDI draws lines.
    DPIScaleFactor = 1.0f;
    Clear();
    DrawCloseGlyph(&FCanvas, TRect{0, 0, 40, 40}, clBlack, gsClassic, 1);
    for (const TPoint p : {TPoint{7, 7}, TPoint{24, 24}, TPoint{7, 25}, TPoint{24, 8}}) EXPECT_TRUE(FSurface.Is(p.X, p.Y, clBlack));
    EXPECT_TRUE(FSurface.Is(25, 25, clWhite));
}

TEST_F(ToolBarPaintSurface, GripLinesAndTheGDIPlusArrow) {
    const TColor shadow = clBtnShadow;
    struct TCase { const char* Name; bool Vertical, Raised; std::vector<TPoint> First, Second; };
    // First colour: white when raised, the button shadow when sunken; second the other.
    const TCase cases[] = {
        {"vertical raised", true, true, {{9, 4}, {9, 14}, {9, 5}, {10, 15}}, {{11, 15}, {11, 6}, {11, 5}, {10, 5}}},
        {"vertical sunken", true, false, {{9, 4}, {9, 14}, {10, 15}}, {{11, 15}, {11, 6}, {10, 5}}},
        {"horizontal raised", false, true, {{4, 11}, {4, 10}, {4, 9}, {15, 9}}, {{16, 9}, {16, 10}, {16, 11}, {6, 11}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear(clFuchsia);
        const TPoint p2 = c.Vertical ? TPoint{10, 15} : TPoint{15, 10};
        AdvToolBar::DrawGripLine(&FCanvas, c.Vertical ? TPoint{10, 5} : TPoint{5, 10}, p2, c.Vertical, c.Raised);
        for (const TPoint p : c.First) EXPECT_TRUE(FSurface.Is(p.X, p.Y, c.Raised ? clWhite : shadow)) << p.X << "," << p.Y;
        for (const TPoint p : c.Second) EXPECT_TRUE(FSurface.Is(p.X, p.Y, c.Raised ? shadow : clWhite)) << p.X << "," << p.Y;
    }

    // Three strokes of 5, 3 and 1 pixels from P down, drawn anti-aliased.
    Clear();
    AdvToolBar::DrawDropDownArrow(nullptr, &FCanvas, clBlack, TPoint{20, 20});
    const TRect ink = InkBounds(FSurface, Size, Size, clWhite);
    EXPECT_GE(ink.Left, 19);
    EXPECT_LE(ink.Right, 26);
    EXPECT_GE(ink.Top, 19);
    EXPECT_LE(ink.Bottom, 24);
    const auto rowInk = [&](int y) { return FSurface.CountInk({ink.Left, y, ink.Right, y + 1}, clWhite); };
    EXPECT_GT(rowInk(20), rowInk(21));
    EXPECT_GT(rowInk(21), 0);
    // Nothing at all without graphics or canvas.
    AdvToolBar::DrawDropDownArrow(nullptr, nullptr, clBlack, TPoint{20, 20});
}

TEST_F(ToolBarPaintSurface, AlphaGradientsAndTheQuickAccessFrame) {
    // Black fading in over white: lighter at the top, and down to the row below R.
    Clear();
    AdvToolBar::FillAlphaGradient(FSurface.DC(), TRect{10, 10, 30, 20}, clBlack, 0, 255);
    EXPECT_GT(GetRValue(FSurface.At(20, 11)), GetRValue(FSurface.At(20, 19)));
    EXPECT_FALSE(FSurface.Is(20, 20, clWhite));
    EXPECT_TRUE(FSurface.Is(20, 21, clWhite));
    // The frame's top is the row above R; its bottom the row below.
    Clear();
    AdvToolBar::FillAlphaGradientFramed(FSurface.DC(), TRect{10, 10, 30, 20}, clWhite, clBlack);
    for (const TPoint p : {TPoint{20, 9}, TPoint{20, 20}, TPoint{10, 15}, TPoint{30, 15}})
        EXPECT_TRUE(FSurface.Is(p.X, p.Y, clBlack)) << p.X << "," << p.Y;
    EXPECT_TRUE(FSurface.Is(20, 10, clWhite));
    // Scenic ribbons: two upright lines, 22 pixels in and 3 before the right edge.
    const bool scenic = AdvGDIP::GetScenicRibbonFlag();
    AdvGDIP::SetScenicRibbonFlag(true);
    Clear();
    AdvToolBar::DrawGlassQATFrame(FSurface.DC(), TRect{0, 0, 50, 30});
    AdvGDIP::SetScenicRibbonFlag(scenic);
    EXPECT_FALSE(FSurface.Is(22, 15, clWhite));
    EXPECT_FALSE(FSurface.Is(47, 15, clWhite));
    EXPECT_EQ(FSurface.CountInk({0, 0, 20, 30}, clWhite), 0);
    EXPECT_EQ(FSurface.CountInk({0, 0, 50, 7}, clWhite), 0);
}

TEST_F(ToolBarPaintSurface, FadeRightStaysInsideANarrowRectangleAndLeavesItsLastFourPixels) {
    Clear();
    AdvToolBar::FillGradientFadeRight(FSurface.DC(), TRect{20, 0, 40, 10}, clBlack, 255, 255);
    EXPECT_EQ(FSurface.CountInk({0, 0, 20, 10}, clWhite), 0);   // left of the rectangle
    EXPECT_GT(FSurface.CountInk({20, 0, 36, 10}, clWhite), 0);  // the strips inside it
    EXPECT_EQ(FSurface.CountInk({36, 0, Size, 10}, clWhite), 0);
    // Wide enough: the gradient up to 40 pixels before the right edge, then darker strips first.
    Clear();
    AdvToolBar::FillGradientFadeRight(FSurface.DC(), TRect{0, 0, 60, 10}, clBlack, 255, 255);
    EXPECT_TRUE(FSurface.Is(10, 5, clBlack));
    EXPECT_LT(GetRValue(FSurface.At(20, 5)), GetRValue(FSurface.At(40, 5)));
    EXPECT_TRUE(FSurface.Is(57, 5, clWhite));
}

// ---- images ----

namespace {

// A 4 x 4 bitmap: green at the top left, red at the bottom left and at (2, 1), blue elsewhere.
std::unique_ptr<TBitmap> MarkedBitmap() {
    auto bitmap = std::make_unique<TBitmap>(4, 4, pf24bit);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(clBlue);
    c->FillRect({0, 0, 4, 4});
    c->SetPixels(0, 0, clLime);
    c->SetPixels(0, 3, clRed);
    c->SetPixels(2, 1, clRed);
    return bitmap;
}

// The same pixels as a PNG, with (1, 1) fully transparent.
std::unique_ptr<TPngImage> MarkedPng() {
    TRasterImage image;
    image.Width = image.Height = 4;
    image.HasAlpha = true;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const TColor c = x == 0 && y == 0 ? clLime : (x == 0 && y == 3) || (x == 2 && y == 1) ? clRed : clBlue;
            image.Pixels.insert(image.Pixels.end(), {BYTE(ColorBlue(c)), BYTE(ColorGreen(c)), BYTE(ColorRed(c)),
                                                     BYTE(x == 1 && y == 1 ? 0 : 255)});
        }
    const TBytes png = EncodePng(image);
    auto picture = std::make_unique<TPngImage>();
    picture->LoadFromBytes(png.data(), png.size());
    return picture;
}

HGLOBAL WINAPI NoMemory(UINT, SIZE_T) { return nullptr; }

}  // namespace

TEST_F(ToolBarPaintSurface, ImagesKeyTheirCornerColourOrKeepTheirAlpha) {
    auto list = std::make_unique<TImageList>(nullptr);
    list->SetSize(4, 4);
    list->Add(MarkedBitmap().get(), nullptr);
    const auto bitmap = MarkedBitmap();
    const auto png = MarkedPng();
    struct TProbe { int X, Y; TColor Colour; };
    struct TCase { const char* Name; std::function<void()> Draw; std::vector<TProbe> Probes; };
    const TCase cases[] = {
        {"a list image keys its bottom-left colour",
         [&] { AdvToolBar::DrawImageListGDIP(nullptr, &FCanvas, {10, 10}, list.get(), 0, true); },
         {{10, 13, clWhite}, {12, 11, clWhite}, {10, 10, clLime}, {11, 11, clBlue}}},
        {"a bitmap keys its top-left colour",
         [&] { AdvToolBar::DrawGraphicGDIP(nullptr, &FCanvas, {10, 10}, bitmap.get(), true); },
         {{10, 10, clWhite}, {10, 13, clRed}, {11, 11, clBlue}}},
        {"without the key flag the bitmap is opaque",
         [&] { AdvToolBar::DrawGraphicGDIP(nullptr, &FCanvas, {10, 10}, bitmap.get(), false); },
         {{10, 10, clLime}, {10, 13, clRed}}},
        {"a PNG keeps its alpha and no key",
         [&] { AdvToolBar::DrawGraphicGDIP(nullptr, &FCanvas, {10, 10}, png.get(), true); },
         {{10, 10, clLime}, {11, 11, clWhite}, {10, 13, clRed}, {12, 12, clBlue}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear();
        c.Draw();
        for (const TProbe& p : c.Probes)
            EXPECT_TRUE(FSurface.Is(p.X, p.Y, p.Colour)) << p.X << "," << p.Y << ": " << std::hex << FSurface.At(p.X, p.Y);
    }
    // Nothing without a list, with a negative index, or with neither graphics nor canvas.
    Clear();
    AdvToolBar::DrawImageListGDIP(nullptr, &FCanvas, {10, 10}, nullptr, 0, true);
    AdvToolBar::DrawImageListGDIP(nullptr, &FCanvas, {10, 10}, list.get(), -1, true);
    AdvToolBar::DrawImageListGDIP(nullptr, nullptr, {10, 10}, list.get(), 0, true);
    EXPECT_EQ(FSurface.CountInk({0, 0, Size, Size}, clWhite), 0);
}

TEST_F(ToolBarPaintSurface, AnSVGPictureDrawsThroughItsOwnDrawing) {
    const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8" viewBox="0 0 8 8">)"
                            R"(<rect x="0" y="0" width="8" height="8" fill="#ff0000"/></svg>)";
    AdvTypes::TAdvSVGBitmap picture;
    TMemoryStream stream;
    stream.WriteBuffer(svg.data(), int(svg.size()));
    stream.SetPosition(0);
    picture.LoadFromStream(&stream);
    ASSERT_TRUE(picture.HasSVG());
    Clear();
    AdvToolBar::DrawGraphicGDIP(nullptr, &FCanvas, {20, 20}, &picture, true);
    EXPECT_TRUE(FSurface.Is(23, 23, clRed));
    EXPECT_TRUE(FSurface.Is(18, 23, clWhite));
    EXPECT_TRUE(FSurface.Is(30, 23, clWhite));
}

TEST_F(ToolBarPaintSurface, ImagesWithoutMemoryRaiseTheFixedMessageAndDrawNothing) {
    auto list = std::make_unique<TImageList>(nullptr);
    list->SetSize(4, 4);
    list->Add(MarkedBitmap().get(), nullptr);
    const auto bitmap = MarkedBitmap();
    Clear();
    {
        const AdvGlobalStream::TAllocatorScope failing(&NoMemory);
        for (const auto& draw : std::vector<std::function<void()>>{
                 [&] { AdvToolBar::DrawImageListGDIP(nullptr, &FCanvas, {10, 10}, list.get(), 0, true); },
                 [&] { AdvToolBar::DrawGraphicGDIP(nullptr, &FCanvas, {10, 10}, bitmap.get(), true); }}) {
            try {
                draw();
                ADD_FAILURE() << "no exception";
            } catch (const AdvGlobalStream::EImageMemoryError& e) {
                EXPECT_EQ(e.Message(), L"Could not allocate memory for image");
            }
        }
    }
    EXPECT_EQ(FSurface.CountInk({0, 0, Size, Size}, clWhite), 0);
}
