#include "graphics/AdvGraphics.h"

#include <gtest/gtest.h>

#include <cmath>

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
