#include "graphics/AdvGraphics.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "graphics/AdvTypes.h"

using namespace AdvGraphics;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::TColor;

namespace {

constexpr TColor Paper = ClassLib::clWhite;

// A drawing object on a white bitmap of its own, through either context.
std::unique_ptr<TAdvGraphics> OnWhite(bool native) {
    std::unique_ptr<TAdvGraphics> g = TAdvGraphics::CreateBitmapCanvas(60, 60, native);
    g->Bitmap()->Canvas()->Brush()->SetColor(Paper);
    g->Bitmap()->Canvas()->FillRect(ClassLib::TRect{0, 0, 60, 60});
    return g;
}

TColor At(TAdvGraphics& g, int x, int y) {
    g.EndScene();
    return g.Bitmap()->Canvas()->Pixels(x, y);
}

const char* ContextName(bool native) { return native ? "GDI+" : "canvas"; }

}  // namespace

TEST(AdvGraphicsObject, FillBeforeStrokeOnBothContexts) {
    for (bool native : {false, true}) {
        SCOPED_TRACE(ContextName(native));
        std::unique_ptr<TAdvGraphics> g = OnWhite(native);
        g->Fill()->SetColor(ClassLib::clBlue);
        g->Stroke()->SetColor(ClassLib::clRed);
        g->DrawRectangle(RectF(10, 10, 30, 30));
        g->Fill()->SetColor(-1);  // no fill: only the outline
        g->DrawRectangle(ClassLib::TRect{35, 35, 55, 55});
        EXPECT_EQ(At(*g, 10, 10), ClassLib::clRed);
        EXPECT_EQ(At(*g, 20, 20), ClassLib::clBlue);
        EXPECT_EQ(At(*g, 35, 45), ClassLib::clRed);
        EXPECT_EQ(At(*g, 45, 45), Paper);
    }
}

TEST(AdvGraphicsObject, DirectSettingsReachTheContextOnce) {
    std::unique_ptr<TAdvGraphics> g = OnWhite(false);
    int changes = 0;
    ClassLib::TNotifyEvent previous = g->Fill()->OnChanged();
    g->Fill()->SetOnChanged([&](ClassLib::TObject* sender) {
        ++changes;
        previous(sender);
    });
    g->Fill()->SetColor(ClassLib::clLime);
    EXPECT_EQ(changes, 1);  // the context's echo is swallowed by the guard
    EXPECT_EQ(g->Context()->GetFillColor(), ClassLib::clLime);
    g->SetFillColor(ClassLib::clAqua);
    EXPECT_EQ(g->Fill()->Color(), ClassLib::clAqua);
    EXPECT_EQ(g->Context()->GetFillColor(), ClassLib::clAqua);

    std::unique_ptr<TAdvGraphicsSaveState> state = g->SaveState();
    g->Fill()->SetColor(ClassLib::clRed);
    g->RestoreState(std::move(state));
    EXPECT_EQ(g->Fill()->Color(), ClassLib::clAqua);
}

TEST(AdvGraphicsObject, TexturesTileWholeTilesOnly) {
    for (bool native : {false, true}) {
        SCOPED_TRACE(ContextName(native));
        std::unique_ptr<TAdvGraphics> g = OnWhite(native);
        ClassLib::TBitmap tile(10, 10, ClassLib::pf32bit);
        tile.Canvas()->Brush()->SetColor(ClassLib::clGreen);
        tile.Canvas()->FillRect(ClassLib::TRect{0, 0, 10, 10});
        g->Fill()->Texture()->SetGraphic(&tile);
        g->Fill()->SetTextureMode(gtmTile);
        g->Fill()->SetKind(gfkTexture);
        g->Fill()->SetColor(-1);  // a texture paints without a colour
        g->Stroke()->SetKind(gskNone);
        g->DrawRectangle(RectF(0, 0, 25, 25));
        EXPECT_EQ(At(*g, 5, 5), ClassLib::clGreen);
        EXPECT_EQ(At(*g, 15, 15), ClassLib::clGreen);
        EXPECT_EQ(At(*g, 22, 5), Paper);  // the third column would overhang
        EXPECT_EQ(At(*g, 5, 22), Paper);
    }
}

namespace {

int InkCount(TAdvGraphics& g) {
    int ink = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) ink += At(g, x, y) != Paper;
    return ink;
}

// Generous: the hostile shapes below took from ten seconds to over a minute each, or
// ended the process; drawn sound they take milliseconds.
constexpr double HangSeconds = 20;

template <class F>
double SecondsFor(F draw) {
    const auto start = std::chrono::steady_clock::now();
    draw();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// A coordinate, size or width that is no number draws nothing, at once, on both contexts:
// a curve with such a control point is no straight line either.
TEST(AdvGraphicsObject, ShapesWithValuesThatAreNoNumbersDrawNothing) {
    const float nan = NAN, inf = INFINITY;
    struct TCase { const char* Name; std::function<void(TAdvGraphics&)> Draw; };
    const TCase cases[] = {
        {"curve control point", [=](TAdvGraphics& g) {
             TAdvGraphicsPath p;
             p.MoveTo(PointF(5, 5));
             p.CurveTo(PointF(nan, 5), PointF(20, 20), PointF(50, 50));
             g.DrawPath(&p);
         }},
        {"path point", [=](TAdvGraphics& g) {
             TAdvGraphicsPath p;
             p.MoveTo(PointF(5, 5));
             p.LineTo(PointF(50, nan));
             p.LineTo(PointF(50, 50));
             p.ClosePath();
             g.DrawPath(&p);
         }},
        {"polygon point", [=](TAdvGraphics& g) { g.DrawPolygon({PointF(5, 5), PointF(inf, 5), PointF(5, 50)}); }},
        {"polyline point", [=](TAdvGraphics& g) { g.DrawPolyline({PointF(5, 5), PointF(50, nan), PointF(5, 50)}); }},
        {"rectangle", [=](TAdvGraphics& g) { g.DrawRectangle(RectF(5, 5, inf, 50)); }},
        {"round rectangle's rounding", [=](TAdvGraphics& g) { g.DrawRoundRectangle(RectF(5, 5, 50, 50), nan); }},
        {"ellipse", [=](TAdvGraphics& g) { g.DrawEllipse(RectF(5, nan, 50, 50)); }},
        {"arc sweep", [=](TAdvGraphics& g) { g.DrawArc(PointF(30, 30), PointF(20, 20), 0, nan); }},
        {"line end", [=](TAdvGraphics& g) { g.DrawLine(PointF(5, 5), PointF(-inf, 50)); }},
        {"stroke width", [=](TAdvGraphics& g) {
             g.Stroke()->SetWidth(nan);
             g.DrawRectangle(RectF(5, 5, 50, 50));
         }},
    };
    for (bool native : {false, true}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << ContextName(native) << ": " << c.Name);
            std::unique_ptr<TAdvGraphics> g = OnWhite(native);
            g->Fill()->SetColor(ClassLib::clBlue);
            g->Stroke()->SetColor(ClassLib::clRed);
            g->Stroke()->SetWidth(3);
            EXPECT_LT(SecondsFor([&] { c.Draw(*g); }), HangSeconds);
            EXPECT_EQ(InkCount(*g), 0);
        }
    }
}

// Huge shapes and pens are cut to the range every device lies in: they draw what shows of
// them, quickly, where the platform spent minutes or ended the process.
TEST(AdvGraphicsObject, HugeShapesDrawWhatShowsOfThem) {
    struct TCase { const char* Name; std::function<void(TAdvGraphics&)> Draw; int Ink; };
    const float big = 1e6f;
    const TCase cases[] = {
        {"ellipse around the picture", [=](TAdvGraphics& g) { g.DrawEllipse(RectF(30 - big, 30 - big, 30 + big, 30 + big)); }, 3600},
        {"ellipse of 1e30", [](TAdvGraphics& g) { g.DrawEllipse(RectF(-1e30f, -1e30f, 1e30f, 1e30f)); }, 3600},
        {"arc of radius 1e30", [](TAdvGraphics& g) { g.DrawArc(PointF(30, 30), PointF(1e30f, 1e30f), 0, 270); }, -1},
        {"rectangle", [=](TAdvGraphics& g) { g.DrawRectangle(RectF(-big, -big, big, big)); }, 3600},
        {"round rectangle", [=](TAdvGraphics& g) { g.DrawRoundRectangle(RectF(-big, -big, big, big), big / 4); }, 3600},
        {"polygon", [=](TAdvGraphics& g) { g.DrawPolygon({PointF(-big, -big), PointF(big, -big), PointF(0, big)}); }, 3600},
        {"line across", [=](TAdvGraphics& g) { g.DrawLine(PointF(-big, 30), PointF(big, 30)); }, -1},
        {"pen of 1e30", [](TAdvGraphics& g) {
             g.Stroke()->SetWidth(1e30f);
             g.DrawLine(PointF(0, 0), PointF(50, 50));
         }, -1},
    };
    for (bool native : {false, true}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << ContextName(native) << ": " << c.Name);
            std::unique_ptr<TAdvGraphics> g = OnWhite(native);
            g->Fill()->SetColor(ClassLib::clBlue);
            g->Stroke()->SetColor(ClassLib::clRed);
            EXPECT_LT(SecondsFor([&] { c.Draw(*g); }), HangSeconds);
            if (c.Ink >= 0) EXPECT_EQ(InkCount(*g), c.Ink);
            else EXPECT_GT(InkCount(*g), 0);
        }
    }
}

TEST(AdvGraphicsObject, ProgressBarWithoutMaximumShowsNoBar) {
    for (bool native : {false, true}) {
        SCOPED_TRACE(ContextName(native));
        std::unique_ptr<TAdvGraphics> g = OnWhite(native);
        g->DrawProgressBar(RectF(0, 0, 60, 20), 50, L"", 0, ClassLib::clRed, ClassLib::clBlack, true, true);
        EXPECT_NE(At(*g, 30, 10), ClassLib::clRed);
        std::unique_ptr<TAdvGraphics> half = OnWhite(native);
        half->DrawProgressBar(RectF(0, 0, 60, 20), 50, L"", 100, ClassLib::clRed, ClassLib::clBlack, false, true);
        EXPECT_EQ(At(*half, 10, 10), ClassLib::clRed);
        EXPECT_NE(At(*half, 50, 10), ClassLib::clRed);
    }
    struct TCase {
        float Value, Maximum;
        const wchar_t* Text;
    };
    const TCase texts[] = {{50, 0, L"0%"}, {50, -5, L"0%"}, {150, 100, L"100%"}, {-3, 100, L"0%"}, {25, 50, L"50%"}};
    for (const TCase& c : texts) {
        SCOPED_TRACE(testing::Message() << c.Value << " of " << c.Maximum);
        EXPECT_EQ(TAdvGraphics::ProgressText(L"%.0f%%", c.Value, c.Maximum), c.Text);
    }
}

TEST(AdvGraphicsColours, TextAndHTMLForms) {
    struct TCase {
        const wchar_t* Text;
        TColor Color;
    };
    const TCase words[] = {{L"clRed", 0x0000FF}, {L"Red", 0x0000FF}, {L"gcAliceBlue", 0xFFF8F0},
                           {L"claRed", 0}, {L"nosuchcolour", 0}};
    for (const TCase& c : words) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(TAdvGraphics::TextToColor(c.Text), c.Color);
    }
    const TCase html[] = {{L"#FFF", 0xFFFFFF}, {L"#1A3", 0x33AA11}, {L"#FF8000", 0x0080FF}, {L"", -1}};
    for (const TCase& c : html) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(TAdvGraphics::HTMLToColor(c.Text), c.Color);
    }
    EXPECT_THROW(TAdvGraphics::HTMLToColor(L"#GG0000"), ClassLib::EConvertError);
    EXPECT_THROW(TAdvGraphics::HTMLToColor(L"#AB"), ClassLib::EConvertError);
    EXPECT_EQ(TAdvGraphics::ColorToHTML(ClassLib::clRed), L"#FF0000");
    EXPECT_EQ(TAdvGraphics::GetColorBlue(ClassLib::clBlue), 255);

    EXPECT_FALSE(TAdvGraphics::PointInCircle(PointF(5, 5), PointF(5, 5), 0));
    EXPECT_TRUE(TAdvGraphics::PointInCircle(PointF(8, 5), PointF(5, 5), 3));
    EXPECT_TRUE(TAdvGraphics::PointInRect(PointF(0, 0), RectF(0, 0, 2, 2)));
    EXPECT_FALSE(TAdvGraphics::PointInRect(PointF(2, 1), RectF(0, 0, 2, 2)));

    EXPECT_EQ(DefaultGraphicColors(), TDefaultGraphicColors{});
    TAdvGraphics::SetDefaultGraphicColors();
    EXPECT_EQ(DefaultGraphicColors().FillColor, 0xE1E1E1);
    EXPECT_EQ(DefaultGraphicColors().BorderColorFocused, 0xB17F3C);
    DefaultGraphicColors() = {};
}
