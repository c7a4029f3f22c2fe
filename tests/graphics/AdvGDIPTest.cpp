#include "graphics/AdvGDIP.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "graphics/GdipTestSupport.h"

using namespace AdvGDIP;

namespace {

constexpr ARGB White = 0xFFFFFFFF;
constexpr ARGB Red = 0xFFFF0000;

struct TCanvas {
    explicit TCanvas(int width, int height)
        : Bitmap(width, height, PixelFormat32bppARGB), Graphics(&Bitmap) {
        Graphics.Clear(White);
    }
    ARGB Pixel(int x, int y) {
        ARGB color = 0;
        Bitmap.GetPixel(x, y, color);
        return color;
    }
    TGPBitmap Bitmap;
    TGPGraphics Graphics;
};

std::unique_ptr<ClassLib::TFont> TestFont(int size) {
    auto font = std::make_unique<ClassLib::TFont>();
    font->SetName(L"Tahoma");
    font->SetSize(size);
    return font;
}

}  // namespace

TEST(AdvGDIPColours, ARGBConversions) {
    struct TCase { const char* Name; ARGB Got; ARGB Expected; };
    const TCase cases[] = {
        {"opaque pure red", ColorToOpaqueARGB(0x0000FF), 0xFFFF0000},
        {"opaque blue", ColorToOpaqueARGB(0xFF0000), 0xFF0000FF},
        {"from RGB", ARGBFromRGB(1, 2, 3), 0xFF010203},
        {"from channels", ARGBFromChannels(0x80, 1, 2, 3), 0x80010203},
        {"colour with alpha", ARGBFromColor(0x40, 0x030201), 0x40010203},
        {"system colour resolved", ColorToOpaqueARGB(ClassLib::clWindowText),
         0xFF000000 | ARGBFromRGB(GetRValue(::GetSysColor(COLOR_WINDOWTEXT)), GetGValue(::GetSysColor(COLOR_WINDOWTEXT)),
                                  GetBValue(::GetSysColor(COLOR_WINDOWTEXT)))},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Got, c.Expected);
    }
    EXPECT_EQ(RedOfARGB(0x80112233), 0x11);
    EXPECT_EQ(GreenOfARGB(0x80112233), 0x22);
    EXPECT_EQ(BlueOfARGB(0x80112233), 0x33);
}

TEST(AdvGDIPFlags, EachSetterWritesItsGlobal) {
    SetScenicRibbonFlag(true);
    SetWin8Flag(true);
    SetGlassFlag(true);
    EXPECT_TRUE(GetScenicRibbonFlag());
    EXPECT_TRUE(GetWin8Flag());
    EXPECT_TRUE(GetGlassFlag());
    SetScenicRibbonFlag(false);
    SetWin8Flag(false);
    SetGlassFlag(false);
    EXPECT_FALSE(GetScenicRibbonFlag());
    EXPECT_FALSE(GetWin8Flag());
    EXPECT_FALSE(GetGlassFlag());
    // Windows 10 and 11 share one flag that nothing reads; writing both is harmless.
    SetWin10Flag(true);
    SetWin11Flag(false);
}

TEST(AdvGDIPFlags, TextScaleIsOneAtNinetySixPixelsPerInch) {
    HDC screen = ::GetDC(nullptr);
    const int ppi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    const float scale = CalcDPITextScale(nullptr);
    EXPECT_FLOAT_EQ(GetDPITextScale(), scale);
    if (ppi == 96) {
        EXPECT_FLOAT_EQ(scale, 1.0f);
    }
    EXPECT_GT(TextHeightAtDPI(192, 9), TextHeightAtDPI(96, 9));
}

// DrawText with DT_CALCRECT reports MeasureString's width less a margin that grows with
// the point size.
TEST(AdvGDIPGraphics, DrawTextMarginsFollowThePointSize) {
    struct TCase { int Size; int Margin; };
    const TCase cases[] = {{8, 2}, {9, 3}, {10, 3}, {11, 4}, {12, 5}};
    TCanvas canvas(300, 60);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Size << " pt");
        auto font = TestFont(c.Size);
        RECT rect = {10, 5, 20, 25};
        const int height = canvas.Graphics.DrawText(L"Wide", 4, rect, font.get(), DT_CALCRECT, ClassLib::clNone);

        TGPRectF box;
        canvas.Graphics.MeasureString(L"Wide", 4, canvas.Graphics.MakeFontEx(font.get()), TGPRectF(10, 5, 1010, 20), box);
        EXPECT_EQ(rect.right, 10 + int(std::nearbyint(box.Width - c.Margin)));
        EXPECT_EQ(rect.bottom, 5 + int(std::nearbyint(box.Height)));
        EXPECT_EQ(height, rect.bottom - rect.top);
    }
    // Nothing was drawn.
    for (int x = 0; x < 300; x += 3) EXPECT_EQ(canvas.Pixel(x, 15), White);
}

TEST(AdvGDIPGraphics, DrawTextMeasuresATrailingSpaceAsALetter) {
    TCanvas canvas(300, 60);
    auto font = TestFont(10);
    RECT spaced = {0, 0, 10, 20};
    RECT lettered = {0, 0, 10, 20};
    canvas.Graphics.DrawText(L"abc ", 4, spaced, font.get(), DT_CALCRECT, ClassLib::clNone);
    canvas.Graphics.DrawText(L"abci", 4, lettered, font.get(), DT_CALCRECT, ClassLib::clNone);
    EXPECT_EQ(spaced.right, lettered.right);

    // A lone space stays a space.
    RECT space = {0, 0, 10, 20};
    RECT letter = {0, 0, 10, 20};
    canvas.Graphics.DrawText(L" ", 1, space, font.get(), DT_CALCRECT, ClassLib::clNone);
    canvas.Graphics.DrawText(L"i", 1, letter, font.get(), DT_CALCRECT, ClassLib::clNone);
    TGPRectF spaceBox;
    canvas.Graphics.MeasureString(L" ", 1, canvas.Graphics.MakeFontEx(font.get()), TGPRectF(0, 0, 1010, 20), spaceBox);
    EXPECT_EQ(space.right, int(std::nearbyint(spaceBox.Width - 3)));
}

TEST(AdvGDIPGraphics, DrawTextWithoutCalcRectDrawsAndKeepsTheRectangle) {
    TCanvas canvas(200, 40);
    auto font = TestFont(12);
    RECT rect = {5, 5, 150, 35};
    const int height = canvas.Graphics.DrawText(L"MMMM", 4, rect, font.get(), 0, ClassLib::clNone);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.right, 150);
    EXPECT_EQ(height, 30);
    bool inked = false;
    for (int x = 5; x < 60 && !inked; ++x)
        for (int y = 5; y < 35 && !inked; ++y) inked = canvas.Pixel(x, y) != White;
    EXPECT_TRUE(inked);

    // A background colour fills the measured run.
    TCanvas filled(200, 40);
    RECT back = {5, 5, 150, 35};
    filled.Graphics.DrawText(L"MMMM", 4, back, font.get(), 0, 0x0000FF);
    EXPECT_EQ(filled.Pixel(back.left + 2, back.top + 1), Red);
}

TEST(AdvGDIPGraphics, MakeFontExKeepsOneFontUntilTheFontChanges) {
    TCanvas canvas(10, 10);
    auto font = TestFont(10);
    TGPFont* first = canvas.Graphics.MakeFontEx(font.get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(canvas.Graphics.MakeFontEx(font.get()), first);
    font->SetSize(14);
    TGPFont* second = canvas.Graphics.MakeFontEx(font.get());
    EXPECT_FLOAT_EQ(second->GetSize(), 14.0f);
    EXPECT_EQ(canvas.Graphics.MakeFontEx(font.get()), second);

    // An unknown face becomes "Arial" (whatever serves it here), so it never matches its
    // own name and is made again on every call.
    std::unique_ptr<TGPFont> made(canvas.Graphics.MakeFont(font.get()));
    EXPECT_NE(made.get(), second);
    EXPECT_FLOAT_EQ(made->GetSize(), 14.0f);
}

TEST(AdvGDIPGraphics, DrawImageRectLandsOnWholePixels) {
    TGPBitmap red(4, 4, PixelFormat32bppARGB);
    {
        TGPGraphics paint(&red);
        paint.Clear(Red);
    }
    TCanvas canvas(20, 10);
    ASSERT_EQ(canvas.Graphics.DrawImageRect(&red, TGPRectF(0.5f, 1.5f, 10.5f, 2.5f)), Ok);
    // Rounded halves to even: (0, 2, 10, 2), so columns 0..9 and rows 2..3. Scaling
    // may soften the edge pixels, so "covered" means mostly red.
    auto covered = [&](int x, int y) {
        const ARGB c = canvas.Pixel(x, y);
        return RedOfARGB(c) == 0xFF && GreenOfARGB(c) < 0x80;
    };
    EXPECT_TRUE(covered(0, 2));
    EXPECT_TRUE(covered(7, 3));
    EXPECT_NE(canvas.Pixel(9, 2), White) << "column 9 is inside, if softened";
    EXPECT_EQ(canvas.Pixel(10, 2), White) << "unrounded, column 10 would be covered";
    EXPECT_EQ(canvas.Pixel(4, 1), White);
    EXPECT_EQ(canvas.Pixel(4, 4), White);
}

TEST(AdvGDIPImage, FormatDepthAndAlphaOfAStream) {
    TGPBitmap source(8, 8, PixelFormat32bppARGB);
    IStream* stream = GdipTestSupport::NewMemoryStream();
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(source.Save(stream, GdipTestSupport::PngEncoder()), Ok);
    GdipTestSupport::Rewind(stream);
    {
        TGPImage png(stream, false);
        ASSERT_EQ(png.LastResult(), Ok);
        EXPECT_EQ(png.GetFormat(), ifPNG);
        EXPECT_EQ(png.GetPixelDepth(), 32);
        EXPECT_TRUE(png.HasAlphaChannel());
        EXPECT_FALSE(png.HasPalette());
    }
    stream->Release();

    IStream* bmpStream = GdipTestSupport::NewMemoryStream();
    ASSERT_EQ(source.Save(bmpStream, GdipTestSupport::BmpEncoder()), Ok);
    GdipTestSupport::Rewind(bmpStream);
    {
        std::unique_ptr<TGPBitmap> bmp(TGPBitmap::FromStream(bmpStream));
        EXPECT_EQ(bmp->GetFormat(), ifBMP);
    }
    bmpStream->Release();

    EXPECT_EQ(source.GetFormat(), ifMemoryBMP);
    TGPImage missing(std::wstring(L"Z:\\no\\such\\picture.png"));
    EXPECT_NE(missing.LastResult(), Ok);
    EXPECT_EQ(missing.GetFormat(), ifUndefined);
}

TEST(AdvGDIPFont, AnUnknownFamilyNameFallsBackToSansSerif) {
    TGPFont font(L"No Such Family 4711", 12.0f, ClassLib::TFontStyles{ClassLib::fsBold});
    EXPECT_EQ(font.LastResult(), Ok);
    EXPECT_FLOAT_EQ(font.GetSize(), 12.0f);
    EXPECT_EQ(font.GetStyle(), 1);
    TGPFontFamily family;
    EXPECT_EQ(font.GetFamily(&family), Ok);
    std::wstring name, generic;
    family.GetFamilyName(name);
    TGPFontFamily::GenericSansSerif()->GetFamilyName(generic);
    EXPECT_EQ(name, generic);
}

TEST(AdvGDIPMatrix, RotateAtTurnsAboutThePoint) {
    for (MatrixOrder order : {MatrixOrderPrepend, MatrixOrderAppend}) {
        SCOPED_TRACE(order == MatrixOrderPrepend ? "prepend" : "append");
        TGPMatrix matrix;
        EXPECT_EQ(matrix.RotateAt(90, TGPPointF(10, 10), order), Ok);
        TGPPointF point(20, 10);
        matrix.TransformPoints(&point);
        EXPECT_NEAR(point.X, 10, 1e-4);
        EXPECT_NEAR(point.Y, 20, 1e-4);
    }
    TGPMatrix broken(0, 0, 0, 0, 0, 0);
    broken.Invert();
    EXPECT_EQ(broken.Clone(), nullptr) << "no clone while a failure is kept";
}
