#include "graphics/AdvGraphicsTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "classlib/Exceptions.h"
#include "support/PublishedDefaults.h"

using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::TColor;

namespace {

void ExpectNear(const TPointF& actual, const TPointF& expected) {
    EXPECT_NEAR(actual.X, expected.X, 1e-4);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-4);
}

std::vector<TAdvGraphicsPathPointKind> Kinds(const TAdvGraphicsPath& path) {
    std::vector<TAdvGraphicsPathPointKind> kinds;
    for (const TAdvGraphicsPathPoint& entry : path.PathData()) kinds.push_back(entry.Kind);
    return kinds;
}

// Counts the OnChanged calls of a fill or stroke.
template <class T>
int& WatchChanges(T& object, int& counter) {
    counter = 0;
    object.SetOnChanged([&counter](ClassLib::TObject*) { ++counter; });
    return counter;
}

}  // namespace

TEST(AdvGraphicsMatrix, RotationProductAndInverse) {
    // y grows downwards, so a positive angle turns +x towards +y: clockwise on screen.
    ExpectNear(PointF(1, 0) * TAdvGraphicsMatrix::CreateRotation(std::numbers::pi_v<float> / 2), PointF(0, 1));
    // The product applies its left matrix first: translate, then scale.
    const TAdvGraphicsMatrix translateThenScale =
        TAdvGraphicsMatrix::CreateTranslation(10, 0) * TAdvGraphicsMatrix::CreateScaling(2, 2);
    ExpectNear(PointF(1, 1) * translateThenScale, PointF(22, 2));
    ExpectNear(MatrixTransformPoint(PointF(1, 1), MatrixMultiply(MatrixCreateScaling(2, 2), MatrixCreateTranslation(10, 0))),
               PointF(12, 2));

    const TAdvGraphicsMatrix regular = translateThenScale * TAdvGraphicsMatrix::CreateRotation(0.3f);
    const TAdvGraphicsMatrix product = regular * regular.Inverse();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(product.At(i, j), i == j ? 1 : 0, 1e-5) << i << "," << j;

    EXPECT_EQ(MatrixCreateScaling(0, 1).Inverse(), MatrixIdentity());  // singular: no division by zero
    EXPECT_TRUE(IsMatrixEmpty(MatrixEmpty()));
    EXPECT_FALSE(IsMatrixEmpty(MatrixIdentity()));
}

TEST(AdvGraphicsPath, ArcPieces) {
    struct TCase {
        float Sweep;
        int Curves;
    };
    const TCase cases[] = {{0, 0}, {90.5f, 1}, {91, 2}, {360, 4}, {720, 4}, {-91, 2}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Sweep);
        TAdvGraphicsPath path;
        path.AddArc(PointF(50, 50), PointF(10, 20), 0, c.Sweep);
        EXPECT_EQ(path.Count(), c.Curves == 0 ? 0 : 1 + 3 * c.Curves);
        if (c.Curves == 0) continue;
        EXPECT_EQ(path.GetPoint(0).Kind, gppMoveTo);
        ExpectNear(path.GetPoint(0).Point, PointF(60, 50));  // angle 0 lies along +x
    }
    // A quarter from 0 ends at the bottom of the ellipse (clockwise on screen).
    TAdvGraphicsPath quarter;
    quarter.AddArc(PointF(0, 0), PointF(10, 10), 0, 90);
    ExpectNear(quarter.LastPoint(), PointF(0, 10));
}

TEST(AdvGraphicsPath, EntryListsOfTheShapes) {
    using K = TAdvGraphicsPathPointKind;
    const K m = gppMoveTo, l = gppLineTo, c = gppCurveTo, z = gppClose;
    TAdvGraphicsPath rectangle;
    rectangle.AddRectangle(RectF(0, 0, 10, 10));
    EXPECT_EQ(Kinds(rectangle), (std::vector<K>{m, l, l, l, z}));
    EXPECT_TRUE(rectangle.IsClippable());

    TAdvGraphicsPath rounded;
    rounded.AddRectangle(RectF(0, 0, 40, 20), 5, 5);
    std::vector<K> expected = {m};
    for (int corner = 0; corner < 4; ++corner) expected.insert(expected.end(), {l, c, c, c, l, l});
    expected.push_back(z);
    EXPECT_EQ(Kinds(rounded), expected);
    ExpectNear(rounded.GetPoint(0).Point, PointF(5, 20));  // starts at the bottom-left corner

    TAdvGraphicsPath ellipse;
    ellipse.AddEllipse(RectF(0, 0, 20, 10));
    EXPECT_EQ(Kinds(ellipse), (std::vector<K>{m, c, c, c, c, c, c, c, c, c, c, c, c}));
    EXPECT_TRUE(ellipse.IsClippable());
    EXPECT_EQ(ellipse.LastPoint(), PointF(0, 5));

    TAdvGraphicsPath lines;
    lines.MoveTo(PointF(1, 1));
    lines.LineTo(PointF(5, 1));
    EXPECT_FALSE(lines.IsClippable());
    lines.LineTo(PointF(1, 1));  // back onto the start
    EXPECT_TRUE(lines.IsClippable());
    EXPECT_THROW(lines.GetPoint(3), ClassLib::EListError);
}

TEST(AdvGraphicsPath, Bounds) {
    struct TCase {
        const char* Name = "";
        TAdvGraphicsPath Path;
        TRectF Expected;
    };
    TCase cases[4];
    cases[0].Name = "vertical line";
    cases[1].Name = "empty";
    cases[2].Name = "close entries";
    cases[3].Name = "beyond 65535";
    cases[0].Path.AddLine(PointF(5, 1), PointF(5, 9));
    cases[0].Expected = RectF(5, 1, 5.001f, 9);
    cases[1].Expected = RectF(0, 0, 0, 0);
    cases[2].Path.MoveTo(PointF(10, 10));
    cases[2].Path.LineTo(PointF(20, 20));
    cases[2].Path.ClosePath();
    cases[2].Path.ApplyMatrix(MatrixCreateTranslation(100, 100));  // the close entry stays at (10, 10)
    cases[2].Expected = RectF(110, 110, 120, 120);
    cases[3].Path.AddLine(PointF(70000, 80000), PointF(90000, 100000));
    cases[3].Expected = RectF(70000, 80000, 90000, 100000);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRectF bounds = c.Path.GetBounds();
        EXPECT_FLOAT_EQ(bounds.Left, c.Expected.Left);
        EXPECT_FLOAT_EQ(bounds.Top, c.Expected.Top);
        EXPECT_FLOAT_EQ(bounds.Right, c.Expected.Right);
        EXPECT_FLOAT_EQ(bounds.Bottom, c.Expected.Bottom);
    }
}

TEST(AdvGraphicsPath, Flattening) {
    TAdvGraphicsPath rectangle;
    rectangle.AddRectangle(RectF(0, 0, 10, 10));
    TAdvGraphicsPathPolygon polygon;
    rectangle.FlattenToPolygon(polygon);
    EXPECT_EQ(polygon.size(), 5u);  // the close repeats the start
    EXPECT_EQ(polygon.front(), polygon.back());

    // The close takes the figure start from the (transformed) move entry.
    rectangle.ApplyMatrix(MatrixCreateTranslation(100, 0));
    rectangle.FlattenToPolygon(polygon);
    EXPECT_EQ(polygon.back(), PointF(100, 0));

    TAdvGraphicsPath duplicates;
    duplicates.MoveTo(PointF(0, 0));
    duplicates.LineTo(PointF(3, 3));
    duplicates.LineTo(PointF(3.0005f, 3));
    duplicates.FlattenToPolygon(polygon);
    EXPECT_EQ(polygon.size(), 2u);

    TAdvGraphicsPath circle;
    circle.AddEllipse(RectF(0, 0, 100, 100));
    circle.FlattenToPolygon(polygon, 0.5f);
    EXPECT_GT(polygon.size(), 40u);
    for (const TPointF& p : polygon) EXPECT_NEAR(std::hypot(p.X - 50, p.Y - 50), 50, 0.3);

    // A huge curve: without the cap its point count would run into the billions.
    TAdvGraphicsPath huge;
    huge.AddEllipse(RectF(0, 0, 1e12f, 1e12f));
    huge.FlattenToPolygon(polygon, 0.05f);
    EXPECT_LE(polygon.size(), std::size_t(4 * MaxFlattenPointsPerCurve + 1));
    huge.Flatten(0.05f);
    EXPECT_LE(huge.Count(), 1 + 4 * MaxFlattenPointsPerCurve);
    for (const TAdvGraphicsPathPoint& entry : huge.PathData()) EXPECT_NE(entry.Kind, gppCurveTo);

    TAdvGraphicsPath nan;
    nan.MoveTo(PointF(0, 0));
    nan.CurveTo(PointF(NAN, 0), PointF(1, 1), PointF(2, 2));
    nan.FlattenToPolygon(polygon);
    EXPECT_EQ(polygon.size(), 2u);
}

TEST(AdvGraphicsPath, CutToARectangle) {
    const TRectF box = RectF(0, 0, 10, 10);
    struct TLine { const char* Name; TPointF From, To; bool Kept; TPointF CutFrom, CutTo; };
    const TLine lines[] = {
        {"inside", PointF(1, 1), PointF(9, 5), true, PointF(1, 1), PointF(9, 5)},
        {"across", PointF(-10, 5), PointF(20, 5), true, PointF(0, 5), PointF(10, 5)},
        {"diagonal out of both ends", PointF(-5, -5), PointF(15, 15), true, PointF(0, 0), PointF(10, 10)},
        {"beside it", PointF(-5, 11), PointF(15, 11), false, {}, {}},
        {"towards it, ending short", PointF(-20, 5), PointF(-1, 5), false, {}, {}},
    };
    for (const TLine& c : lines) {
        SCOPED_TRACE(c.Name);
        TPointF from = c.From, to = c.To;
        ASSERT_EQ(ClipLineToRect(from, to, box), c.Kept);
        if (!c.Kept) continue;
        EXPECT_EQ(from, c.CutFrom);
        EXPECT_EQ(to, c.CutTo);
    }

    // An open figure that leaves and comes back is two pieces; a closed one stays one
    // figure, running along the edge where it was cut.
    TAdvGraphicsPath zigzag;
    zigzag.MoveTo(PointF(2, 2));
    zigzag.LineTo(PointF(20, 2));
    zigzag.LineTo(PointF(20, 8));
    zigzag.LineTo(PointF(2, 8));
    TAdvGraphicsPath cut;
    ClipPathToRect(zigzag, box, false, cut);
    std::vector<TAdvGraphicsPathPointKind> kinds;
    for (const TAdvGraphicsPathPoint& e : cut.PathData()) kinds.push_back(e.Kind);
    EXPECT_EQ(kinds, (std::vector<TAdvGraphicsPathPointKind>{gppMoveTo, gppLineTo, gppMoveTo, gppLineTo}));
    EXPECT_EQ(cut.GetBounds(), RectF(2, 2, 10, 8));

    zigzag.ClosePath();
    ClipPathToRect(zigzag, box, false, cut);
    EXPECT_EQ(cut.PathData().front().Kind, gppMoveTo);
    EXPECT_EQ(cut.PathData().back().Kind, gppClose);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), gppMoveTo), 2);
    EXPECT_EQ(std::count_if(cut.PathData().begin(), cut.PathData().end(),
                            [](const TAdvGraphicsPathPoint& e) { return e.Kind == gppMoveTo; }), 1);
    EXPECT_EQ(cut.GetBounds(), RectF(2, 2, 10, 8));
}

TEST(AdvGraphicsPath, HitTests) {
    const TAdvGraphicsPathPolygon triangle = {{0, 0}, {10, 0}, {0, 10}};
    struct TCase {
        const char* Name;
        TPointF Point;
        bool Inside;
    };
    const TCase cases[] = {
        {"inside", {2, 2}, true},
        {"in the box, beyond the slanted edge", {9, 9}, false},
        {"outside the box", {-1, 2}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PointInPolygon(c.Point, triangle), c.Inside);
    }
    EXPECT_FALSE(PointInPolygon(PointF(0, 0), {}));
    EXPECT_TRUE(PolygonInRect(triangle, RectF(-1, -1, 1, 1)));
    EXPECT_FALSE(PolygonInRect(triangle, RectF(10, 10, 20, 20)));  // right and bottom edges are outside
    TAdvGraphicsPath ellipse;
    ellipse.AddEllipse(RectF(0, 0, 20, 20));
    EXPECT_TRUE(ellipse.IsPointVisible(PointF(10, 10)));
    EXPECT_FALSE(ellipse.IsPointVisible(PointF(1, 1)));
}

TEST(AdvGraphicsFill, Notifications) {
    TAdvGraphicsFill fill;
    int changes = 0;
    WatchChanges(fill, changes);
    fill.SetColor(ClassLib::clRed);
    EXPECT_EQ(changes, 1);
    fill.SetColor(ClassLib::clRed);
    EXPECT_EQ(changes, 1);  // an equal value is no change
    fill.SetColor(ClassLib::clNone);
    EXPECT_EQ(fill.Color(), -1);
    EXPECT_EQ(changes, 2);
    fill.SetColor(-1);
    EXPECT_EQ(changes, 2);
    fill.SetColorTo(ClassLib::clDefault);
    EXPECT_EQ(fill.ColorTo(), ClassLib::clBtnFace);

    WatchChanges(fill, changes);
    fill.BeginUpdate();
    fill.SetKind(gfkGradient);
    fill.AddGradientItem(ClassLib::clBlue, 0.5f, 0.5f);
    fill.SetOpacity(0.5f);
    EXPECT_EQ(changes, 0);
    fill.EndUpdate();
    EXPECT_EQ(changes, 1);

    fill.GradientItems()->Items(0)->SetColor(ClassLib::clGreen);  // a stop notifies its fill
    EXPECT_EQ(changes, 2);
    fill.ClearGradientItems();
    EXPECT_EQ(changes, 3);
}

TEST(AdvGraphicsFill, AssignFromFillAndStroke) {
    TAdvGraphicsFill source(gfkGradient, ClassLib::clRed);
    source.AddGradientItem(ClassLib::clBlue, 0.25f);
    source.SetGradientAngle(45);
    source.SetGradientMatrix(MatrixCreateScaling(2, 2));
    TAdvGraphicsFill target;
    int changes = 0;
    WatchChanges(target, changes);
    target.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Kind(), gfkGradient);
    EXPECT_EQ(target.Color(), ClassLib::clRed);
    EXPECT_EQ(target.GradientAngle(), 45);
    ASSERT_EQ(target.GradientItems()->Count(), 1);
    EXPECT_EQ(target.GradientItems()->Items(0)->Position(), 0.25f);
    EXPECT_EQ(target.GradientMatrix(), MatrixIdentity());  // the matrix is not copied

    TAdvGraphicsStroke stroke(gskDash, ClassLib::clLime);
    stroke.SetWidth(3);
    target.Assign(&stroke);
    EXPECT_EQ(target.Kind(), gfkSolid);
    EXPECT_EQ(target.Color(), ClassLib::clLime);
    EXPECT_EQ(target.ColorTo(), -1);
    EXPECT_EQ(changes, 2);

    TAdvGraphicsStroke fromFill;
    fromFill.Assign(&source);
    EXPECT_EQ(fromFill.Color(), ClassLib::clRed);
    EXPECT_EQ(fromFill.Kind(), gskSolid);
    TAdvGraphicsStroke copy;
    copy.Assign(&stroke);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Kind(), gskDash);

    TAdvGraphicsPath path;
    EXPECT_THROW(path.Assign(&stroke), ClassLib::EAssignError);
}

TEST(AdvGraphicsTypes, PublishedDefaults) {
    TAdvGraphicsFill fill;
    TAdvGraphicsStroke stroke;
    TAdvGraphicsFillGradientItems items;
    TAdvGraphicsFont font;
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&fill), 5);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&stroke), 2);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(items.Add()), 2);
    TestSupport::ExpectPublishedDefaults(&font);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(stroke.Color(), ClassLib::clSilver);
    EXPECT_EQ(stroke.Width(), 1);
}

TEST(AdvGraphicsFont, NotifiesOutsideUpdates) {
    TAdvGraphicsFont font;
    int changes = 0;
    WatchChanges(font, changes);
    font.SetName(L"Arial");
    EXPECT_EQ(changes, 1);
    font.BeginUpdate();
    font.SetHeight(-20);
    font.SetColor(ClassLib::clRed);
    EXPECT_EQ(changes, 1);
    font.EndUpdate();
    EXPECT_EQ(changes, 2);

    TAdvGraphicsSaveState state;
    state.SetFont(&font);
    EXPECT_EQ(state.Font()->Height(), -20);
    EXPECT_EQ(state.Fill()->Color(), ClassLib::clWhite);
}

TEST(AdvGraphicsTypes, NamedColorsAndColourRoutines) {
    const std::vector<TNamedColor>& colors = NamedColors();
    ASSERT_EQ(colors.size(), 160u);
    EXPECT_EQ(colors.front().Name, L"aliceblue");
    EXPECT_EQ(colors.front().Object.Color(), 0xFFF8F0);
    EXPECT_EQ(colors[143].Name, L"red");  // the basic words follow the long list
    EXPECT_EQ(colors.back().Name, L"maroon");
    auto indexOf = [&colors](const wchar_t* name) {
        for (std::size_t i = 0; i < colors.size(); ++i)
            if (colors[i].Name == name) return int(i);
        return -1;
    };
    EXPECT_LT(indexOf(L"violet"), indexOf(L"thistle"));
    EXPECT_EQ(indexOf(L"white"), 150);  // only among the basic words
    struct TCase {
        const wchar_t* Name;
        TColor Color;
    };
    const TCase cases[] = {{L"red", 0x0000FF}, {L"gold", 0x00D7FF}, {L"teal", 0x808000}, {L"yellowgreen", 0x32CD9A}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TColor color = 0;
        ASSERT_TRUE(FindNamedColor(c.Name, color));
        EXPECT_EQ(color, c.Color);
    }
    TColor unknown = 7;
    EXPECT_FALSE(FindNamedColor(L"Red", unknown));  // names are lower case
    EXPECT_EQ(unknown, 7);

    EXPECT_EQ(LightenColor(0x102030, 0), 0x102030);
    EXPECT_EQ(LightenColor(0x102030, 100), 0xFFFFFF);
    EXPECT_EQ(ModifyRect(RectF(1, 2, 3, 4), gcrmExpandAll), RectF(1, 2, 3, 4));
    EXPECT_FALSE(IsFiniteRect(RectF(0, 0, INFINITY, 1)));
}
