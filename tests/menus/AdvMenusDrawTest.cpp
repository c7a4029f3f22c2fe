// The menu drawing primitives on a bitmap and on a canvas: gradient rows, clipped
// bands, gradient lines, mirror boxes, backgrounds with pictures, and the small routines.
#include "menus/AdvMenuDraw.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "menus/AdvMenuUtilDraw.h"
#include "support/MemorySurface.h"

using namespace ClassLib;
using namespace AdvMenus;

namespace {

// The red channel of every pixel of a 100 x 100 area painted by `paint`, on a bitmap (as
// the painter's caches are) and on a canvas over a memory surface; both must agree.
using TPaint = std::function<void(TBitmap* bitmap, TCanvas* canvas)>;
struct TPainted {
    std::vector<int> Red;   // row by row
    int At(int x, int y) const { return Red[size_t(y * 100 + x)]; }
};

TPainted OnBitmap(const TPaint& paint, COLORREF ground = RGB(1, 2, 3)) {
    TBitmap bitmap(100, 100, pf32bit);
    bitmap.Canvas()->Brush()->SetColor(TColor(ground));
    bitmap.Canvas()->FillRect({0, 0, 100, 100});
    paint(&bitmap, nullptr);
    TPainted painted;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            painted.Red.push_back(int((static_cast<const std::uint32_t*>(bitmap.ScanLine(y))[x] >> 16) & 0xFF));
    return painted;
}

TPainted OnCanvas(const TPaint& paint, COLORREF ground = RGB(1, 2, 3)) {
    TestSupport::TMemorySurface surface(100, 100, ground);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    paint(nullptr, &canvas);
    canvas.SetHandle(nullptr);
    TPainted painted;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) painted.Red.push_back(GetRValue(surface.At(x, y)));
    return painted;
}

// Paints on both targets, checks they agree, and gives the result.
TPainted Painted(const TPaint& paint) {
    const TPainted bitmap = OnBitmap(paint), canvas = OnCanvas(paint);
    EXPECT_EQ(bitmap.Red, canvas.Red) << "the bitmap and the canvas differ";
    return bitmap;
}

constexpr TColor Red(int value) { return TColor(value); }

}  // namespace

TEST(MenuGradient, RowsStepByTheDividedDifferenceOnBitmapAndCanvasAlike) {
    const TPainted vertical = Painted([](TBitmap* b, TCanvas* c) {
        FillMenuGradient(b, c, {10, 20, 30, 24}, gdVertical, Red(0xFF), Red(0x00));
    });
    const int rows[] = {0, 63, 127, 191};  // k * 255 div 4
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(vertical.At(10, 20 + k), rows[k]);
        EXPECT_EQ(vertical.At(29, 20 + k), rows[k]);
    }
    EXPECT_EQ(vertical.At(10, 24), 1);  // the rectangle's bottom edge is outside
    EXPECT_EQ(vertical.At(30, 20), 1);

    const TPainted horizontal = Painted([](TBitmap* b, TCanvas* c) {
        FillMenuGradient(b, c, {0, 0, 4, 10}, gdHorizontal, Red(0xFF), Red(0x00));
    });
    for (int k = 0; k < 4; ++k) EXPECT_EQ(horizontal.At(k, 9), rows[k]);

    // No second colour, or the same one, fills flat; clNone paints nothing.
    const TPainted flat = Painted([](TBitmap* b, TCanvas* c) {
        FillMenuGradient(b, c, {0, 0, 10, 10}, gdVertical, clNone, Red(0x40));
        FillMenuGradient(b, c, {10, 0, 20, 10}, gdVertical, Red(0x50), Red(0x50));
        FillMenuGradient(b, c, {20, 0, 30, 10}, gdVertical, Red(0x60), clNone);
    });
    EXPECT_EQ(flat.At(5, 9), 0x40);
    EXPECT_EQ(flat.At(15, 9), 0x50);
    EXPECT_EQ(flat.At(25, 5), 1);
}

TEST(MenuGradient, AClippedBandHasTheColoursOfTheWholeGradient) {
    const TRect full{0, 0, 20, 100};
    const TPainted whole = Painted([&](TBitmap* b, TCanvas* c) {
        FillMenuGradient(b, c, full, gdVertical, Red(0xFF), Red(0x00));
    });
    const TPainted band = Painted([&](TBitmap* b, TCanvas* c) {
        FillMenuGradientClipped(b, c, full, gdVertical, Red(0xFF), Red(0x00), {5, 50, 60, 60});
    });
    for (int y = 0; y < 100; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(band.At(4, y), 1);
        EXPECT_EQ(band.At(5, y), y >= 50 && y < 60 ? whole.At(5, y) : 1);
        EXPECT_EQ(band.At(20, y), 1);
    }
    const TPainted none = Painted([&](TBitmap* b, TCanvas* c) {
        FillMenuGradientClipped(b, c, full, gdVertical, Red(0xFF), Red(0x00), {30, 0, 40, 100});
    });
    EXPECT_EQ(none.At(35, 50), 1);
}

TEST(MenuGradient, LinesRunTowardsColorToAtTheirEnds) {
    constexpr TColor to = Red(0x00), colour = Red(0xC8);
    struct TCase {
        const char* Name;
        TGradientType Type;
        TGradientDirection Direction;
        int Margin, Width;
        std::vector<int> Expected;  // red along the line, 100 pixels from the start
    };
    auto ramp = [](int from, int toValue, int n) {
        std::vector<int> values;
        for (int k = 0; k < n; ++k) values.push_back((from + k * (toValue - from) / n) & 0xFF);
        return values;
    };
    auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const TCase cases[] = {
        {"both, horizontal", gtBoth, gdHorizontal, 0, 20,
         join({ramp(0, 0xC8, 10), std::vector<int>(80, 0xC8), ramp(0xC8, 0, 10)})},
        {"both, vertical: twice the width", gtBoth, gdVertical, 0, 20,
         join({ramp(0, 0xC8, 20), std::vector<int>(60, 0xC8), ramp(0xC8, 0, 20)})},
        {"left, horizontal", gtLeft, gdHorizontal, 0, 30, join({ramp(0xC8, 0, 30), std::vector<int>(70, 0)})},
        {"right, horizontal", gtRight, gdHorizontal, 0, 30, join({std::vector<int>(70, 0), ramp(0, 0xC8, 30)})},
        {"left, vertical", gtLeft, gdVertical, 0, 30, join({std::vector<int>(70, 0), ramp(0, 0xC8, 30)})},
        {"right, vertical", gtRight, gdVertical, 0, 30, join({ramp(0xC8, 0, 30), std::vector<int>(70, 0)})},
        {"margins", gtBoth, gdHorizontal, 10, 20,
         join({std::vector<int>(10, 1), ramp(0, 0xC8, 10), std::vector<int>(60, 0xC8), ramp(0xC8, 0, 10),
               std::vector<int>(10, 1)})},
        {"no gradient width: solid", gtBoth, gdHorizontal, 0, 0, std::vector<int>(100, 0xC8)},
        {"wider than the line", gtLeft, gdHorizontal, 0, 150, ramp(0xC8, 0, 100)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const bool horizontal = c.Direction == gdHorizontal;
        const TRect line = horizontal ? TRect{0, 40, 100, 42} : TRect{40, 0, 42, 100};
        const TPainted painted = Painted([&](TBitmap* b, TCanvas* cv) {
            DrawGradientLine(b, cv, line, c.Margin, c.Width, c.Type, c.Direction, to, colour);
        });
        std::vector<int> along;
        for (int k = 0; k < 100; ++k) along.push_back(horizontal ? painted.At(k, 41) : painted.At(41, k));
        EXPECT_EQ(along, c.Expected);
    }
}

TEST(MenuGradient, AMirrorBoxPaintsItsHalvesApartInsideItsFrame) {
    const TRect box{10, 10, 50, 30};
    const TPainted mirrored = Painted([&](TBitmap* b, TCanvas* c) {
        DrawMenuMirrorGradientBox(b, c, box, true, Red(0x11), gdVertical, Red(0x90), Red(0x80), Red(0x20), Red(0x20));
    });
    EXPECT_EQ(mirrored.At(10, 10), 0x11);  // frame
    EXPECT_EQ(mirrored.At(49, 29), 0x11);
    EXPECT_EQ(mirrored.At(20, 11), 0x20);  // upper half flat
    EXPECT_EQ(mirrored.At(20, 19), 0x20);
    EXPECT_EQ(mirrored.At(20, 20), 0x80);  // lower half starts at its Mirror colour ...
    EXPECT_GT(mirrored.At(20, 28), 0x80);  // ... and runs towards MirrorTo
    // Without a mirror colour it is one gradient; without fill only the frame.
    const TPainted plain = Painted([&](TBitmap* b, TCanvas* c) {
        DrawMenuMirrorGradientBox(b, c, box, true, clNone, gdVertical, Red(0x90), clNone, Red(0x20), Red(0x20));
        DrawMenuGradientBox(b, c, {60, 10, 90, 30}, false, Red(0x11), gdVertical, Red(0x90), Red(0x80));
    });
    EXPECT_EQ(plain.At(10, 10), 0x20);
    EXPECT_EQ(plain.At(20, 25), 0x20);
    EXPECT_EQ(plain.At(60, 10), 0x11);
    EXPECT_EQ(plain.At(70, 20), 1);
}

TEST(MenuBackground, ComposesGradientAndPictureInsideItsMargins) {
    TBackground background;
    background.SetColor(Red(0x30));
    background.SetColorTo(clNone);
    background.SetMarginX(5);
    background.SetMarginY(10);
    // An 8 x 8 picture: red inside a green frame, which its corner makes transparent.
    TBitmap square(8, 8, pf32bit);
    square.Canvas()->Brush()->SetColor(TColor(0x00FF00));
    square.Canvas()->FillRect({0, 0, 8, 8});
    square.Canvas()->Brush()->SetColor(Red(0xE0));
    square.Canvas()->FillRect({1, 1, 7, 7});
    TPicture picture;
    picture.SetGraphic(&square);
    background.SetImage(&picture);

    // The cache is 70 x 40 at (5, 10).
    struct TCase {
        TBackgroundPosition Position;
        TPoint Picture;   // a pixel the picture's red covers
        TPoint Ground;    // a pixel inside the margins it leaves to the gradient
    };
    const TCase cases[] = {
        {bpBottomRight, {5 + 62 + 4, 10 + 32 + 4}, {10, 15}},
        {bpTopLeft, {5 + 4, 10 + 4}, {70, 45}},
        {bpCenter, {5 + 31 + 4, 10 + 16 + 4}, {10, 15}},
        // Tiles from the cache's corner; their transparent frames show the gradient.
        {bpTiled, {5 + 64 + 3, 10 + 32 + 3}, {5 + 64, 10 + 32 + 3}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Position));
        background.SetPosition(c.Position);
        const TPainted painted = OnCanvas([&](TBitmap*, TCanvas* canvas) {
            DrawMenuBackground(canvas, {0, 0, 80, 60}, background, true);
        });
        EXPECT_EQ(painted.At(c.Picture.X, c.Picture.Y), 0xE0);
        EXPECT_EQ(painted.At(c.Ground.X, c.Ground.Y), 0x30);
        EXPECT_EQ(painted.At(4, 30), 1);   // the margins stay unpainted
        EXPECT_EQ(painted.At(40, 9), 1);
        EXPECT_EQ(painted.At(75, 30), 1);
    }
}

TEST(MenuUtil, CentringColourBytesAndTheRotatedFont) {
    TRect r{0, 0, 10, 10};
    AdvMenuUtil::CenterSizeInRect(r, 4, 4);
    EXPECT_EQ(r, (TRect{3, 3, 7, 7}));
    r = {0, 0, 11, 5};
    AdvMenuUtil::CenterSizeInRect(r, 4, 4);
    EXPECT_EQ(r, (TRect{3, 0, 7, 4}));
    EXPECT_EQ(unsigned(AdvMenuUtil::MakeColorBytes(0x112, 0x134, 0x56, 0x78)), 0x78563412u);
    int red = 0, green = 0, blue = 0;
    AdvMenuUtil::SplitColor(TColor(0x00123456), red, green, blue);
    EXPECT_EQ((std::vector<int>{red, green, blue}), (std::vector<int>{0x56, 0x34, 0x12}));
    EXPECT_EQ(AdvMenuUtil::BitmapRect(nullptr), TRect{});

    TFont font;
    font.SetName(L"Tahoma");
    font.SetHeight(-19);
    font.SetStyle(TFontStyles{fsBold, fsItalic});
    font.SetPitch(fpVariable);
    const LOGFONTW info = AdvMenuUtil::RotatedFontInfo(font, 90);
    EXPECT_EQ(info.lfHeight, -19);
    EXPECT_EQ(info.lfWidth, 0);
    EXPECT_EQ(info.lfEscapement, 900);
    EXPECT_EQ(info.lfOrientation, 0);
    EXPECT_EQ(info.lfWeight, 700);
    EXPECT_TRUE(info.lfItalic);
    EXPECT_FALSE(info.lfUnderline);
    EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(info.lfPitchAndFamily, VARIABLE_PITCH);
    EXPECT_EQ(info.lfQuality, 0);
    EXPECT_STREQ(info.lfFaceName, L"Tahoma");
    HFONT rotated = AdvMenuUtil::CreateRotatedFont(font, -90);
    ASSERT_NE(rotated, nullptr);
    LOGFONTW back{};
    ::GetObjectW(rotated, sizeof(back), &back);
    EXPECT_EQ(back.lfEscapement, -900);
    ::DeleteObject(rotated);
}
