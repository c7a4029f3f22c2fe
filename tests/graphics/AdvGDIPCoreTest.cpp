// The rules both GDI+ wrapper families share, and the few where they differ, checked
// over each family in one typed suite.
#include "graphics/AdvGDIPCore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/AdvGDIP.h"
#include "graphics/AdvGDIPlusClasses.h"

namespace {

struct TStaticFamily {
    static constexpr const char* Name = "AdvGDIP";
    using Graphics = AdvGDIP::TGPGraphics;
    using Bitmap = AdvGDIP::TGPBitmap;
    using Pen = AdvGDIP::TGPPen;
    using Brush = AdvGDIP::TGPBrush;
    using SolidBrush = AdvGDIP::TGPSolidBrush;
    using LinearBrush = AdvGDIP::TGPLinearGradientBrush;
    using PathBrush = AdvGDIP::TGPPathGradientBrush;
    using Path = AdvGDIP::TGPGraphicsPath;
    using Matrix = AdvGDIP::TGPMatrix;
    using Font = AdvGDIP::TGPFont;
    using FontFamily = AdvGDIP::TGPFontFamily;
    using StringFormat = AdvGDIP::TGPStringFormat;
    using Region = AdvGDIP::TGPRegion;
    using ImageAttributes = AdvGDIP::TGPImageAttributes;
    static constexpr bool DrawStringUsesLength = false;
    static constexpr auto LinearPenBrushStatus = Gdiplus::NotImplemented;
};

struct TTableFamily {
    static constexpr const char* Name = "AdvGDIPlusClasses";
    using Graphics = AdvGDIPlusClasses::TGPGraphics;
    using Bitmap = AdvGDIPlusClasses::TGPBitmap;
    using Pen = AdvGDIPlusClasses::TGPPen;
    using Brush = AdvGDIPlusClasses::TGPBrush;
    using SolidBrush = AdvGDIPlusClasses::TGPSolidBrush;
    using LinearBrush = AdvGDIPlusClasses::TGPLinearGradientBrush;
    using PathBrush = AdvGDIPlusClasses::TGPPathGradientBrush;
    using Path = AdvGDIPlusClasses::TGPGraphicsPath;
    using Matrix = AdvGDIPlusClasses::TGPMatrix;
    using Font = AdvGDIPlusClasses::TGPFont;
    using FontFamily = AdvGDIPlusClasses::TGPFontFamily;
    using StringFormat = AdvGDIPlusClasses::TGPStringFormat;
    using Region = AdvGDIPlusClasses::TGPRegion;
    using ImageAttributes = AdvGDIPlusClasses::TGPImageAttributes;
    static constexpr bool DrawStringUsesLength = true;
    static constexpr auto LinearPenBrushStatus = Gdiplus::Ok;
};

constexpr Gdiplus::ARGB White = 0xFFFFFFFF;
constexpr Gdiplus::ARGB Black = 0xFF000000;

template <class F>
class GdipFamily : public testing::Test {
protected:
    using Graphics = typename F::Graphics;
    // A white 32-bit canvas and a graphics drawing on it.
    void MakeCanvas(int width, int height) {
        FCanvas = std::make_unique<typename F::Bitmap>(width, height, PixelFormat32bppARGB);
        ASSERT_EQ(FCanvas->LastResult(), Gdiplus::Ok);
        FGraphics = std::make_unique<Graphics>(FCanvas.get());
        ASSERT_EQ(FGraphics->LastResult(), Gdiplus::Ok);
        FGraphics->Clear(White);
    }
    Gdiplus::ARGB Pixel(int x, int y) {
        Gdiplus::ARGB color = 0;
        FCanvas->GetPixel(x, y, color);
        return color;
    }
    // The rightmost column with any non-white pixel; -1 when all is white.
    int RightmostInk() {
        const int width = int(FCanvas->GetWidth()), height = int(FCanvas->GetHeight());
        for (int x = width - 1; x >= 0; --x)
            for (int y = 0; y < height; ++y)
                if (Pixel(x, y) != White) return x;
        return -1;
    }
    std::unique_ptr<typename F::Bitmap> FCanvas;
    std::unique_ptr<Graphics> FGraphics;
};

using Families = testing::Types<TStaticFamily, TTableFamily>;
class FamilyNames {
public:
    template <class T> static std::string GetName(int) { return T::Name; }
};
TYPED_TEST_SUITE(GdipFamily, Families, FamilyNames);

TYPED_TEST(GdipFamily, ConstructorKeepsItsStatusAndLaterSuccessKeepsAFailure) {
    typename TypeParam::Matrix matrix(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(matrix.LastResult(), Gdiplus::Ok);
    EXPECT_EQ(matrix.Invert(), Gdiplus::InvalidParameter);  // singular
    EXPECT_EQ(matrix.Translate(1, 1), Gdiplus::Ok);
    EXPECT_EQ(matrix.GetLastStatus(), Gdiplus::InvalidParameter) << "a success does not clear a failure";
    EXPECT_EQ(matrix.GetLastStatus(), Gdiplus::Ok) << "reading the status resets it";

    typename TypeParam::FontFamily missing(L"No Such Family 4711", nullptr);
    EXPECT_EQ(missing.lastResult, Gdiplus::FontFamilyNotFound);
}

TYPED_TEST(GdipFamily, MatrixMapsARectangleOntoAParallelogram) {
    const Gdiplus::PointF corners[3] = {{5, 0}, {25, 0}, {5, 10}};
    typename TypeParam::Matrix matrix(Gdiplus::RectF(0, 0, 10, 10), corners);
    ASSERT_EQ(matrix.LastResult(), Gdiplus::Ok);
    Gdiplus::PointF point(10, 10);
    matrix.TransformPoints(&point);
    EXPECT_FLOAT_EQ(point.X, 25);
    EXPECT_FLOAT_EQ(point.Y, 10);
    EXPECT_FLOAT_EQ(matrix.OffsetX(), 5);
}

TYPED_TEST(GdipFamily, GraphicsStatusIsReadOnceThenOk) {
    this->MakeCanvas(4, 4);
    typename TypeParam::Path path;
    EXPECT_EQ(this->FGraphics->DrawPath(nullptr, &path), Gdiplus::InvalidParameter);
    EXPECT_EQ(this->FGraphics->GetLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(this->FGraphics->GetLastStatus(), Gdiplus::Ok);
}

// Which classes offer GetLastStatus, and whether it resets, is the family's own table.
TYPED_TEST(GdipFamily, GetLastStatusTable) {
    constexpr bool table = std::is_same_v<TypeParam, TTableFamily>;
    EXPECT_EQ(requires(typename TypeParam::Pen& p) { p.GetLastStatus(); }, table);
    EXPECT_EQ(requires(typename TypeParam::Path& p) { p.GetLastStatus(); }, table);
    EXPECT_EQ(requires(typename TypeParam::Font& p) { p.GetLastStatus(); }, table);
    EXPECT_EQ(requires(typename TypeParam::Region& p) { p.GetLastStatus(); }, table);
    EXPECT_EQ(requires(typename TypeParam::StringFormat& p) { p.GetLastStatus(); }, table);
    EXPECT_TRUE(requires(typename TypeParam::Matrix& p) { p.GetLastStatus(); });
    EXPECT_TRUE(requires(typename TypeParam::Graphics& p) { p.GetLastStatus(); });
    EXPECT_TRUE(requires(typename TypeParam::ImageAttributes& p) { p.GetLastStatus(); });
    if constexpr (table) {
        // The font keeps its failure through any number of reads.
        typename TypeParam::Font font(static_cast<const typename TypeParam::FontFamily*>(nullptr), 10.0f);
        const Gdiplus::Status failure = font.GetLastStatus();
        EXPECT_NE(failure, Gdiplus::Ok);
        EXPECT_EQ(font.GetLastStatus(), failure);
    }
}

TYPED_TEST(GdipFamily, DrawStringLengthIsTheFamilysRule) {
    typename TypeParam::FontFamily family(L"Tahoma", nullptr);
    ASSERT_EQ(family.lastResult, Gdiplus::Ok);
    typename TypeParam::Font font(&family, 20.0f, 0, Gdiplus::UnitPixel);
    typename TypeParam::SolidBrush ink(Black);
    const wchar_t* text = L"MMMMMM";

    this->MakeCanvas(200, 30);
    this->FGraphics->DrawString(text, 6, &font, Gdiplus::PointF(0, 0), &ink);
    const int whole = this->RightmostInk();
    this->MakeCanvas(200, 30);
    this->FGraphics->DrawString(text, 3, &font, Gdiplus::PointF(0, 0), &ink);
    const int three = this->RightmostInk();
    ASSERT_GT(whole, 20);
    if (TypeParam::DrawStringUsesLength)
        EXPECT_LT(three, whole * 2 / 3);
    else
        EXPECT_EQ(three, whole);

    // Measuring passes the length in both families.
    Gdiplus::RectF full, part;
    this->FGraphics->MeasureString(text, 6, &font, Gdiplus::RectF(0, 0, 1000, 100), full);
    this->FGraphics->MeasureString(text, 3, &font, Gdiplus::RectF(0, 0, 1000, 100), part);
    EXPECT_LT(part.Width, full.Width * 2 / 3);
}

TYPED_TEST(GdipFamily, GetBrushGivesTheKindOfThePensBrush) {
    {
        typename TypeParam::Pen pen(0xFF112233, 2.0f);
        std::unique_ptr<typename TypeParam::Brush> brush(pen.GetBrush());
        ASSERT_NE(brush, nullptr);
        EXPECT_NE(dynamic_cast<typename TypeParam::SolidBrush*>(brush.get()), nullptr);
        EXPECT_EQ(brush->LastResult(), Gdiplus::Ok);
    }
    {
        typename TypeParam::LinearBrush linear(Gdiplus::PointF(0, 0), Gdiplus::PointF(10, 0), Black, White);
        typename TypeParam::Pen pen(&linear, 2.0f);
        std::unique_ptr<typename TypeParam::Brush> brush(pen.GetBrush());
        ASSERT_NE(brush, nullptr);
        EXPECT_NE(dynamic_cast<typename TypeParam::LinearBrush*>(brush.get()), nullptr);
        EXPECT_EQ(brush->LastResult(), TypeParam::LinearPenBrushStatus);
    }
    {
        typename TypeParam::Path path;
        path.AddEllipse(0.0f, 0.0f, 10.0f, 10.0f);
        typename TypeParam::PathBrush gradient(&path);
        typename TypeParam::Pen pen(&gradient, 2.0f);
        std::unique_ptr<typename TypeParam::Brush> brush(pen.GetBrush());
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(typeid(*brush), typeid(typename TypeParam::Brush)) << "a plain brush for a path gradient";
        EXPECT_EQ(brush->LastResult(), Gdiplus::NotImplemented);
    }
}

TYPED_TEST(GdipFamily, GenericFamiliesAreMadeOnceAndShared) {
    auto* first = TypeParam::FontFamily::GenericSansSerif();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TypeParam::FontFamily::GenericSansSerif(), first);
    EXPECT_NE(TypeParam::FontFamily::GenericSerif(), first);
    EXPECT_NE(TypeParam::FontFamily::GenericMonospace(), TypeParam::FontFamily::GenericSerif());
    std::wstring name;
    EXPECT_EQ(first->GetFamilyName(name), Gdiplus::Ok);
    EXPECT_FALSE(name.empty());
}

TYPED_TEST(GdipFamily, SurroundColorsBeyondThePointsAreRefused) {
    typename TypeParam::Path path;
    const Gdiplus::PointF triangle[] = {{0, 0}, {10, 0}, {5, 8}};
    path.AddPolygon(triangle, 3);
    typename TypeParam::PathBrush brush(&path);
    ASSERT_EQ(brush.GetPointCount(), 3);
    const Gdiplus::ARGB colors[4] = {Black, White, Black, White};
    int count = 4;
    EXPECT_EQ(brush.SetSurroundColors(colors, count), Gdiplus::InvalidParameter);
    EXPECT_EQ(count, 4);
    count = 3;
    EXPECT_EQ(brush.SetSurroundColors(colors, count), Gdiplus::Ok);

    // Reading asks the count first and answers an earlier failure of the brush as it
    // stands, so a clean brush shows the buffer rule.
    typename TypeParam::PathBrush clean(&path);
    Gdiplus::ARGB read[3] = {};
    int readCount = 0;
    EXPECT_EQ(clean.GetSurroundColors(read, readCount), Gdiplus::InsufficientBuffer);
    typename TypeParam::PathBrush other(&path);
    readCount = 3;
    EXPECT_EQ(other.GetSurroundColors(read, readCount), Gdiplus::Ok);
    EXPECT_EQ(brush.GetSurroundColors(read, readCount), Gdiplus::InvalidParameter) << "the kept failure";
}

TYPED_TEST(GdipFamily, FilledShapesLandWhereAsked) {
    this->MakeCanvas(20, 20);
    typename TypeParam::SolidBrush red(0xFFFF0000);
    EXPECT_EQ(this->FGraphics->FillRectangle(&red, 5, 5, 4, 4), Gdiplus::Ok);
    EXPECT_EQ(this->Pixel(6, 6), 0xFFFF0000u);
    EXPECT_EQ(this->Pixel(4, 4), White);
    EXPECT_EQ(this->Pixel(9, 9), White);
}

}  // namespace
