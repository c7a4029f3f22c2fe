#include "graphics/AdvGDIPlusClasses.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace AdvGDIPlusClasses;

namespace {
constexpr ARGB Black = 0xFF000000;
constexpr ARGB White = 0xFFFFFFFF;
}

TEST(AdvGDIPlusClassesBrush, CloneIsAlwaysAPlainBrush) {
    TGPSolidBrush solid(0xFF336699);
    std::unique_ptr<TGPBrush> clone(solid.Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(typeid(*clone), typeid(TGPBrush));
    EXPECT_EQ(clone->LastResult(), Gdiplus::Ok);
    EXPECT_EQ(clone->GetType(), Gdiplus::BrushTypeSolidColor);
}

TEST(AdvGDIPlusClassesBrush, LinearBrushChecksItsArguments) {
    TGPLinearGradientBrush brush(TGPRectF(0, 0, 10, 10), Black, White, Gdiplus::LinearGradientModeHorizontal);
    EXPECT_EQ(brush.GetWrapMode(), Gdiplus::WrapModeTile);
    const ARGB colors[2] = {Black, White};
    const float positions[2] = {0, 1};
    EXPECT_EQ(brush.SetInterpolationColors(colors, positions, 0), Gdiplus::InvalidParameter);
    EXPECT_EQ(brush.GetLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(brush.SetInterpolationColors(colors, positions, 2), Gdiplus::Ok);
    float factors[2] = {};
    EXPECT_EQ(brush.GetBlend(factors, nullptr, 2), Gdiplus::InvalidParameter);
    ARGB first = 0, second = 0;
    EXPECT_EQ(brush.GetLinearColors(first, second), Gdiplus::Ok);
    EXPECT_EQ(first, Black);
    EXPECT_EQ(second, White);
}

TEST(AdvGDIPlusClassesPen, GetColorOfAGradientPenIsWrongStateAndNotKept) {
    TGPLinearGradientBrush brush(TGPPointF(0, 0), TGPPointF(10, 0), Black, White);
    TGPPen pen(&brush, 2.0f);
    ARGB color = 0;
    EXPECT_EQ(pen.GetColor(color), Gdiplus::WrongState);
    EXPECT_EQ(pen.GetLastStatus(), Gdiplus::Ok);
    TGPPen solid(0xFF102030, 1.0f);
    EXPECT_EQ(solid.GetColor(color), Gdiplus::Ok);
    EXPECT_EQ(color, 0xFF102030u);
    TGPCustomLineCap cap;
    EXPECT_EQ(pen.GetCustomStartCap(nullptr), Gdiplus::InvalidParameter);
}

TEST(AdvGDIPlusClassesText, GenericFormatsAreMadeOnceAndCloneKeepsItsStatus) {
    TGPStringFormat* format = TGPStringFormat::GenericDefault();
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(TGPStringFormat::GenericDefault(), format);
    EXPECT_NE(TGPStringFormat::GenericTypographic(), format);
    EXPECT_EQ(format->LastResult(), Gdiplus::Ok);
    std::unique_ptr<TGPStringFormat> copy(format->Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetLastStatus(), Gdiplus::Ok);
}

TEST(AdvGDIPlusClassesText, FontOfAnUnknownFamilyUsesTheGenericOne) {
    TGPFont font(L"No Such Family 4711", 11.0f, Gdiplus::FontStyleItalic, Gdiplus::UnitPoint);
    EXPECT_EQ(font.GetLastStatus(), Gdiplus::Ok);
    EXPECT_TRUE(font.IsAvailable());
    EXPECT_EQ(font.GetStyle(), Gdiplus::FontStyleItalic);
    TGPFontFamily family;
    ASSERT_EQ(font.GetFamily(&family), Gdiplus::Ok);
    std::wstring name, generic;
    family.GetFamilyName(name);
    TGPFontFamily::GenericSansSerif()->GetFamilyName(generic);
    EXPECT_EQ(name, generic);
    EXPECT_EQ(TGPFontFamily::GenericSansSerif()->LastResult(), Gdiplus::Ok) << "the generic family keeps its status";
}

TEST(AdvGDIPlusClassesText, MeasureCharacterRangesWithoutRegionsIsRefusedUnkept) {
    TGPBitmap canvas(50, 20, PixelFormat32bppARGB);
    TGPGraphics graphics(&canvas);
    TGPFont font(TGPFontFamily::GenericSansSerif(), 10.0f);
    TGPRegion* regions[1] = {nullptr};
    EXPECT_EQ(graphics.MeasureCharacterRanges(L"abc", 3, &font, TGPRectF(0, 0, 50, 20), nullptr, 0, regions),
              Gdiplus::InvalidParameter);
    EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);

    TGPStringFormat format;
    const Gdiplus::CharacterRange range(1, 1);
    format.SetMeasurableCharacterRanges(1, &range);
    TGPRegion region;
    regions[0] = &region;
    EXPECT_EQ(graphics.MeasureCharacterRanges(L"abc", 3, &font, TGPRectF(0, 0, 50, 20), &format, 1, regions),
              Gdiplus::Ok);
    TGPRectF bounds;
    region.GetBounds(bounds, &graphics);
    EXPECT_GT(bounds.Width, 0);
}

TEST(AdvGDIPlusClassesPath, PathDataKeepsLargerArrays) {
    TGPGraphicsPath path;
    path.AddRectangle(TGPRectF(1, 2, 3, 4));
    ASSERT_EQ(path.GetPointCount(), 4);

    AdvGDIPlusApi::TPathData empty;
    EXPECT_EQ(path.GetPathData(&empty), Gdiplus::Ok);
    EXPECT_EQ(empty.Count, 4);
    EXPECT_FLOAT_EQ(empty.Points[0].X, 1);
    EXPECT_FLOAT_EQ(empty.Points[0].Y, 2);

    AdvGDIPlusApi::TPathData large;
    ASSERT_TRUE(large.Allocate(10));
    const TGPPointF* points = large.Points;
    EXPECT_EQ(path.GetPathData(&large), Gdiplus::Ok);
    EXPECT_EQ(large.Count, 10);
    EXPECT_EQ(large.Points, points);
    EXPECT_FLOAT_EQ(large.Points[2].X, 4);

    AdvGDIPlusApi::TPathData small;
    ASSERT_TRUE(small.Allocate(2));
    EXPECT_EQ(path.GetPathData(&small), Gdiplus::Ok);
    EXPECT_EQ(small.Count, 4) << "too small arrays are replaced";
}

TEST(AdvGDIPlusClassesPath, OutlineAndWarpAnswerWithAKeptStatus) {
    // Wine implements these partly: only their status is checked.
    TGPGraphicsPath path;
    path.AddEllipse(0.0f, 0.0f, 10.0f, 10.0f);
    const Gdiplus::Status outline = path.Outline();
    EXPECT_EQ(path.GetLastStatus(), outline);
    const TGPPointF corners[4] = {{0, 0}, {20, 0}, {0, 20}, {20, 20}};
    const Gdiplus::Status warp = path.Warp(corners, 4, TGPRectF(0, 0, 10, 10));
    EXPECT_EQ(path.GetLastStatus(), warp);
}

TEST(AdvGDIPlusClassesRegion, FromAnInvalidHRGNIsNull) {
    EXPECT_EQ(TGPRegion::FromHRGN(reinterpret_cast<HRGN>(std::intptr_t(0x1234))), nullptr);
    HRGN gdiRegion = ::CreateRectRgn(0, 0, 5, 5);
    std::unique_ptr<TGPRegion> region(TGPRegion::FromHRGN(gdiRegion));
    ::DeleteObject(gdiRegion);
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(region->IsVisible(2, 2));
    EXPECT_FALSE(region->IsVisible(7, 7));
}

TEST(AdvGDIPlusClassesImage, BitmapAreasAndCachedBitmaps) {
    TGPBitmap bitmap(8, 8, PixelFormat32bppARGB);
    ASSERT_EQ(bitmap.SetPixel(3, 3, 0xFF00FF00), Gdiplus::Ok);
    std::unique_ptr<TGPBitmap> area(bitmap.Clone(2, 2, 4, 4, PixelFormat32bppARGB));
    ASSERT_NE(area, nullptr);
    ARGB color = 0;
    area->GetPixel(1, 1, color);
    EXPECT_EQ(color, 0xFF00FF00u);
    EXPECT_EQ(bitmap.Clone(6, 6, 10, 10, PixelFormat32bppARGB), nullptr);

    TGPBitmap target(8, 8, PixelFormat32bppARGB);
    TGPGraphics graphics(&target);
    TGPCachedBitmap cached(&bitmap, &graphics);
    EXPECT_EQ(cached.GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(graphics.DrawCachedBitmap(&cached, 0, 0), Gdiplus::Ok);
    target.GetPixel(3, 3, color);
    EXPECT_EQ(color, 0xFF00FF00u);
}

TEST(AdvGDIPlusClassesGraphics, StatesAndContainersGiveNumbers) {
    TGPBitmap canvas(8, 8, PixelFormat32bppARGB);
    TGPGraphics graphics(&canvas);
    graphics.TranslateTransform(3, 4);
    const auto state = graphics.Save();
    graphics.ResetTransform();
    EXPECT_EQ(graphics.Restore(state), Gdiplus::Ok);
    TGPMatrix matrix;
    graphics.GetTransform(&matrix);
    EXPECT_FLOAT_EQ(matrix.OffsetX(), 3);
    EXPECT_FLOAT_EQ(matrix.OffsetY(), 4);
    EXPECT_EQ(graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf), Gdiplus::Ok);
    EXPECT_EQ(graphics.GetPixelOffsetMode(), Gdiplus::PixelOffsetModeHalf);
    EXPECT_EQ(graphics.SetCompositingQuality(Gdiplus::CompositingQualityHighQuality), Gdiplus::Ok);
}
