#include "graphics/AdvGraphicsGeneral.h"

#include <gtest/gtest.h>

#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"

using namespace AdvGraphics;
using namespace AdvGraphics::General;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::TColor;

namespace {

constexpr TColor Paper = ClassLib::clWhite;
constexpr TColor Ink = ClassLib::clRed;

// A white 32-bit bitmap with a canvas context drawing red lines and red solid fills.
class CanvasContext : public testing::Test {
protected:
    CanvasContext() : FBitmap(60, 60, ClassLib::pf32bit), FContext(nullptr, FBitmap.Canvas()) {
        FStroke.SetColor(Ink);
        FFill.SetColor(Ink);
        FContext.SetStroke(&FStroke);
        Clear();
    }
    void Clear() {
        FBitmap.Canvas()->Brush()->SetColor(Paper);
        FBitmap.Canvas()->FillRect(ClassLib::TRect{0, 0, 60, 60});
        FContext.SetFill(&FFill);
    }
    TColor At(int x, int y) { return FBitmap.Canvas()->Pixels(x, y); }
    // True when some pixel within one of (x, y) is not paper.
    bool InkNear(int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (At(x + dx, y + dy) != Paper) return true;
        return false;
    }
    int InkCount() {
        int count = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) count += At(x, y) != Paper;
        return count;
    }

    ClassLib::TBitmap FBitmap;
    TAdvGraphicsContextGeneral FContext;
    TAdvGraphicsStroke FStroke;
    TAdvGraphicsFill FFill;
};

struct TProbe {
    int X, Y;
    TColor Color;
};

}  // namespace

TEST(AdvGraphicsRounding, HalfToEven) {
    const std::pair<float, int> cases[] = {{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {10.5f, 10}, {-0.5f, 0}, {2.6f, 3}};
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundToPixel(value), expected);
    }
    EXPECT_EQ(RoundToPixel(NAN), -1000000000);
}

TEST_F(CanvasContext, SolidRectangleRoundsHalfToEven) {
    FContext.FillRect(&FFill, RectF(0.5f, 0.5f, 10.5f, 10.5f), gcrmNone);  // drawn as (0, 0, 10, 10)
    FContext.FillRect(&FFill, RectF(21.5f, 21.5f, 30.5f, 30.5f), gcrmNone);  // as (22, 22, 30, 30)
    const TProbe probes[] = {{0, 0, Ink}, {8, 8, Ink}, {10, 10, Paper}, {21, 21, Paper}, {22, 22, Ink}};
    for (const TProbe& p : probes) {
        SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
        EXPECT_EQ(At(p.X, p.Y), p.Color);
    }
}

TEST_F(CanvasContext, GradientsStopShortOfTheirEndColour) {
    TAdvGraphicsFill gradient(gfkGradient, ClassLib::clBlack);
    gradient.SetColorTo(ClassLib::clWhite);
    FContext.FillRect(&gradient, RectF(0, 0, 10, 1), gcrmNone);  // one band: the start colour
    EXPECT_EQ(At(5, 0), ClassLib::clBlack);
    FContext.FillRect(&gradient, RectF(0, 10, 10, 20), gcrmNone);
    EXPECT_EQ(At(5, 10), ClassLib::clBlack);
    EXPECT_EQ(At(5, 19), ClassLib::RGBToColor(230, 230, 230));  // 9/10 of the way

    TAdvGraphicsFill mirrored(gfkGradient, ClassLib::clRed);
    mirrored.SetColorTo(ClassLib::clRed);
    mirrored.SetColorMirror(ClassLib::clBlue);
    mirrored.SetColorMirrorTo(ClassLib::clBlue);
    FContext.FillRect(&mirrored, RectF(20, 20, 40, 40), gcrmNone);
    EXPECT_EQ(At(30, 29), ClassLib::clRed);
    EXPECT_EQ(At(30, 30), ClassLib::clBlue);  // a hard step at half height
}

TEST_F(CanvasContext, RectangleSidesAndRoundedCorners) {
    FContext.DrawRect(&FStroke, RectF(0, 0, 20, 20), 1u << gsTop, gcrmNone);
    EXPECT_EQ(At(10, 0), Ink);
    EXPECT_EQ(At(0, 10), Paper);
    EXPECT_EQ(At(19, 10), Paper);

    FContext.FillRoundRect(&FFill, RectF(30, 30, 60, 60), 8, 1u << gcTopLeft, gcrmNone);
    EXPECT_EQ(At(30, 30), Paper);  // the rounded corner
    EXPECT_EQ(At(58, 30), Ink);    // the other corners are square
    EXPECT_EQ(At(30, 58), Ink);
    EXPECT_EQ(At(45, 45), Ink);
}

TEST_F(CanvasContext, NegativeSweepDrawsTheShortArc) {
    // From 0 degrees a quarter anti-clockwise on screen: through the upper right only.
    FContext.DrawArc(&FStroke, PointF(30, 30), PointF(20, 20), 0, -90);
    EXPECT_TRUE(InkNear(44, 16));
    EXPECT_FALSE(InkNear(44, 44));  // GDI's complementary arc would pass here
    EXPECT_FALSE(InkNear(16, 44));
}

TEST_F(CanvasContext, ArcAndPolylineFillTheirInside) {
    FContext.FillArc(&FFill, PointF(30, 30), PointF(20, 20), 0, 180);  // the lower half: a chord
    EXPECT_EQ(At(30, 40), Ink);
    EXPECT_EQ(At(30, 20), Paper);

    Clear();
    FContext.FillPolyline(&FFill, {{0, 0}, {20, 0}, {0, 20}});
    EXPECT_EQ(At(4, 4), Ink);
    EXPECT_EQ(At(18, 18), Paper);
}

TEST_F(CanvasContext, ClipsIntersect) {
    FContext.ClipRect(RectF(0, 0, 30, 30));
    FContext.ClipRect(RectF(20, 20, 50, 50));
    FContext.FillRect(&FFill, RectF(0, 0, 60, 60), gcrmNone);
    EXPECT_EQ(At(10, 10), Paper);
    EXPECT_EQ(At(25, 25), Ink);
    EXPECT_EQ(At(40, 40), Paper);
}

TEST_F(CanvasContext, NonFiniteCoordinatesDrawNothing) {
    FContext.FillRect(&FFill, RectF(0, 0, INFINITY, 10), gcrmNone);
    FContext.DrawLine(&FStroke, PointF(NAN, 0), PointF(10, 10), gcpmNone, gcpmNone);
    FContext.FillPolygon(&FFill, {{0, 0}, {NAN, 5}, {5, 5}});
    FContext.DrawArc(&FStroke, PointF(30, 30), PointF(10, 10), 0, INFINITY);
    FContext.DrawEllipse(&FStroke, RectF(NAN, 0, 10, 10), gcrmNone);
    EXPECT_EQ(InkCount(), 0);
}

TEST_F(CanvasContext, PathsAndRotatedText) {
    TAdvGraphicsPath path;
    path.AddEllipse(RectF(10, 10, 50, 50));
    FContext.FillPath(&FFill, &path, pdmPath);
    EXPECT_EQ(At(30, 30), Ink);
    EXPECT_EQ(At(11, 11), Paper);

    Clear();
    FBitmap.Canvas()->Font()->SetName(L"Arial");
    FBitmap.Canvas()->Font()->SetHeight(-14);
    FContext.DrawText(L"HHHH", RectF(0, 0, 60, 60), false, gtaCenter, gtaCenter, gttNone, 90);
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
    EXPECT_GT(bottom - top, 2 * (right - left));  // runs down the box, not across
}
