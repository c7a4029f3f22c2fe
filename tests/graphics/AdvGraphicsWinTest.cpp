#include "graphics/AdvGraphicsWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPlusClasses.h"

using namespace AdvGraphics;
using namespace AdvGraphics::Win;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::TColor;

namespace {

constexpr TColor Paper = ClassLib::clWhite;
constexpr TColor Ink = ClassLib::clRed;
constexpr TARGB OpaqueRed = 0xFFFF0000;
constexpr TARGB OpaqueBlue = 0xFF0000FF;

// A white 32-bit bitmap under a GDI+ context drawing red, anti-aliasing off unless asked.
class GdipContext : public testing::Test {
protected:
    GdipContext() : FBitmap(60, 60, ClassLib::pf32bit) {
        FBitmap.Canvas()->Brush()->SetColor(Paper);
        FBitmap.Canvas()->FillRect(ClassLib::TRect{0, 0, 60, 60});
        FContext = std::make_unique<TAdvGraphicsContextWin>(nullptr, FBitmap.Canvas());
        FContext->SetSize(60, 60);
        FStroke.SetColor(Ink);
        FFill.SetColor(Ink);
        FContext->SetStroke(&FStroke);
        FContext->SetFill(&FFill);
    }
    // Ends the scene so that the drawing reaches the bitmap, then reads it.
    TColor At(int x, int y) {
        FContext->EndScene();
        return FBitmap.Canvas()->Pixels(x, y);
    }
    bool InkNear(int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (At(x + dx, y + dy) != Paper) return true;
        return false;
    }

    ClassLib::TBitmap FBitmap;
    std::unique_ptr<TAdvGraphicsContextWin> FContext;
    TAdvGraphicsStroke FStroke;
    TAdvGraphicsFill FFill;
};

}  // namespace

TEST(AdvGraphicsWinStops, CollectionMirrorAndRadialLists) {
    TAdvGraphicsFill collection(gfkGradient, ClassLib::clRed);
    collection.SetGradientMode(gfgmCollection);
    collection.AddGradientItem(ClassLib::clRed, 0.2f);
    collection.AddGradientItem(ClassLib::clBlue, 0.8f);
    const std::vector<TGradientStop> four = {{OpaqueRed, 0}, {OpaqueRed, 0.2f}, {OpaqueBlue, 0.8f}, {OpaqueBlue, 1}};
    EXPECT_EQ(GradientStops(collection), four);
    const std::vector<TGradientStop> reversed = {{OpaqueBlue, 0}, {OpaqueBlue, 0.2f}, {OpaqueRed, 0.8f}, {OpaqueRed, 1}};
    const std::vector<TGradientStop> radial = RadialStops(four);
    ASSERT_EQ(radial.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(radial[i].Color, reversed[i].Color) << i;
        EXPECT_NEAR(radial[i].Position, reversed[i].Position, 1e-6) << i;
    }

    TAdvGraphicsFill mirrored(gfkGradient, ClassLib::clRed);
    mirrored.SetColorTo(ClassLib::clRed);
    mirrored.SetColorMirror(ClassLib::clBlue);
    mirrored.SetColorMirrorTo(ClassLib::clBlue);
    mirrored.SetOpacity(0.5f);
    const std::vector<TGradientStop> hardStep = {
        {0x80FF0000, 0}, {0x80FF0000, 0.5f}, {0x800000FF, 0.5f}, {0x800000FF, 1}};
    EXPECT_EQ(GradientStops(mirrored), hardStep);

    TAdvGraphicsFill empty(gfkGradient, ClassLib::clRed);
    empty.SetGradientMode(gfgmCollection);
    EXPECT_TRUE(GradientStops(empty).empty());
    EXPECT_EQ(MakeARGB(-1, 0), 0u);
}

TEST_F(GdipContext, SolidFillsCoverTheirFloatRectangle) {
    FContext->FillRect(&FFill, RectF(0, 0, 10, 10), gcrmNone);
    EXPECT_EQ(At(0, 0), Ink);
    EXPECT_EQ(At(9, 9), Ink);
    EXPECT_EQ(At(10, 10), Paper);
}

TEST_F(GdipContext, MirroredGradientStepsAtHalfHeight) {
    TAdvGraphicsFill mirrored(gfkGradient, ClassLib::clRed);
    mirrored.SetColorTo(ClassLib::clRed);
    mirrored.SetColorMirror(ClassLib::clBlue);
    mirrored.SetColorMirrorTo(ClassLib::clBlue);
    FContext->SetFill(&mirrored);
    FContext->FillRect(&mirrored, RectF(0, 0, 40, 40), gcrmNone);
    EXPECT_EQ(At(20, 8), ClassLib::clRed);
    EXPECT_EQ(At(20, 32), ClassLib::clBlue);
}

TEST_F(GdipContext, ClipsReplaceEachOther) {
    FContext->ClipRect(RectF(0, 0, 30, 30));
    FContext->ClipRect(RectF(20, 20, 50, 50));
    FContext->FillRect(&FFill, RectF(0, 0, 60, 60), gcrmNone);
    EXPECT_EQ(At(10, 10), Paper);
    EXPECT_EQ(At(40, 40), Ink);
    EXPECT_EQ(At(55, 55), Paper);
}

TEST_F(GdipContext, AntiAliasingSurvivesResetTransform) {
    FContext->SetAntiAliasing(true);
    FContext->SetTextQuality(gtqAntiAliasing);
    FContext->TranslateTransform(100, 100);
    FContext->ClipRect(RectF(0, 0, 5, 5));
    FContext->ResetTransform();
    EXPECT_EQ(FContext->GetMatrix(), MatrixIdentity());
    // Wine: fills on a device context go through GDI and are never smoothed, so the
    // mode is read back instead of probed in the pixels.
    auto* graphics = static_cast<AdvGDIPlusClasses::TGPGraphics*>(FContext->NativeCanvas());
    EXPECT_EQ(graphics->GetSmoothingMode(), Gdiplus::SmoothingModeAntiAlias);
    EXPECT_EQ(graphics->GetTextRenderingHint(), Gdiplus::TextRenderingHintAntiAlias);
    FContext->FillRect(&FFill, RectF(0, 0, 60, 60), gcrmNone);
    EXPECT_EQ(At(30, 30), Ink);  // the clip went with the transform
}

TEST_F(GdipContext, NothingIsDrawnAfterEndScene) {
    FContext->EndScene();
    FContext->FillRect(&FFill, RectF(0, 0, 60, 60), gcrmNone);
    FContext->DrawLine(&FStroke, PointF(0, 0), PointF(60, 60), gcpmNone, gcpmNone);
    EXPECT_EQ(At(30, 30), Paper);
    EXPECT_EQ(FContext->NativeCanvas(), nullptr);
}

TEST_F(GdipContext, NegativeSweepAndNonFiniteShapes) {
    FContext->DrawArc(&FStroke, PointF(30, 30), PointF(20, 20), 0, -90);
    FContext->FillRect(&FFill, RectF(NAN, 0, 5, 5), gcrmNone);
    FContext->FillPolygon(&FFill, {{0, 0}, {INFINITY, 5}, {5, 5}});
    EXPECT_TRUE(InkNear(44, 16));
    EXPECT_FALSE(InkNear(44, 44));
    EXPECT_EQ(At(2, 3), Paper);
}

TEST_F(GdipContext, TransparentBitmapKeepsItsBackground) {
    // A glyph: magenta background (its bottom-left pixel), a blue square in the middle.
    ClassLib::TBitmap glyph(10, 10, ClassLib::pf32bit);
    glyph.Canvas()->Brush()->SetColor(ClassLib::clFuchsia);
    glyph.Canvas()->FillRect(ClassLib::TRect{0, 0, 10, 10});
    glyph.Canvas()->Brush()->SetColor(ClassLib::clBlue);
    glyph.Canvas()->FillRect(ClassLib::TRect{3, 3, 7, 7});
    glyph.SetTransparent(true);
    FContext->DrawBitmap(&glyph, RectF(0, 0, 10, 10), RectF(10, 10, 20, 20), 1);
    EXPECT_EQ(At(11, 11), Paper);  // the transparent colour stays out
    EXPECT_EQ(At(15, 15), ClassLib::clBlue);
}

TEST_F(GdipContext, RotatedText) {
    TAdvGraphicsFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    font.SetColor(ClassLib::clBlack);
    FContext->SetFont(&font);
    const TRectF box = FContext->SetTextAngle(RectF(20, 0, 40, 60), 90);
    EXPECT_FLOAT_EQ(box.Width(), 60);  // the tall box holds the text along its length
    FContext->DrawText(L"HHHH", box, false, gtaCenter, gtaCenter, gttNone, 90);
    FContext->ResetTextAngle(90);
    int left = 60, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (At(x, y) != Paper) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_GT(bottom - top, 2 * (right - left));
}

// HTML text is measured run by run: the runs' widths must add up to the whole, or every run
// boundary opens a gap.
TEST_F(GdipContext, TextRunsMeasureToTheirSum) {
    TAdvGraphicsFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    FContext->SetFont(&font);
    const auto width = [&](const wchar_t* text) {
        return FContext->CalculateText(text, RectF(0, 0, 10000, 10000), false).Width();
    };
    EXPECT_NEAR(width(L"Bold") + width(L", italic "), width(L"Bold, italic "), 1.0f);
    EXPECT_GT(width(L"a "), width(L"a"));  // the blank between runs counts
}
