// The pager's own background: the styler's picture placed as its display asks, and the top
// corners it paints for a ribbon form's frame before Vista.
#include "ribbon/AdvToolBarPager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

constexpr TColor PictureColour = TColor(0x2080E0);
constexpr TColor CornerColour = TColor(0x0000C0);

class TFixedMeasure : public ITabTextMeasure {
public:
    int TextWidth(const std::wstring& text, const TFont*, bool) override { return 7 * int(text.size()); }
};

class PagerPicture : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
    }
    TAdvToolBarPager* NewPager(TForm* form) {
        auto* pager = new TAdvToolBarPager(form);
        pager->SetName(L"PicturePager" + std::to_wstring(++FPagers));
        pager->SetTabTextMeasure(&FMeasure);
        pager->SetParent(form);
        pager->AddAdvPage(L"Home");
        pager->AddAdvPage(L"View");
        pager->Update();
        pager->SetActivePageIndex(0);
        return pager;
    }
    static std::unique_ptr<TBitmap> Painted(TWinControl* control) {
        auto bitmap = std::make_unique<TBitmap>(control->Width(), control->Height());
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect(TRect(0, 0, control->Width(), control->Height()));
        control->Perform(WM_PAINT, WPARAM(bitmap->Canvas()->Handle()), 0);
        return bitmap;
    }
    static TColor Pixel(TBitmap& bitmap, int x, int y) { return TColor(ColorToRGB(bitmap.Canvas()->Pixels(x, y))); }
    TFixedMeasure FMeasure;
    int FPagers = 0;
};

TEST_F(PagerPicture, StylerPictureIsTiledCentredOrStretched) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(50, 50, 600, 300);
    form.Show();
    TAdvToolBarPager* pager = NewPager(&form);
    const int w = pager->Width(), h = pager->Height();
    ASSERT_GT(h, 100);
    // Probed half-way down the page area, where only the pager's own background shows.
    const int y = (pager->ActivePage()->BoundsRect().Top + pager->ActivePage()->BoundsRect().Bottom) / 2;

    EXPECT_NE(Pixel(*Painted(pager), w / 2, h / 2), PictureColour) << "no picture, nothing drawn";

    TBitmap picture(8, 8);
    picture.Canvas()->Brush()->SetColor(PictureColour);
    picture.Canvas()->FillRect(TRect(0, 0, 8, 8));
    TCustomAdvToolBarStyler* styler = pager->CurrentToolBarStyler();
    styler->SetBackGround(&picture);
    // The tab row's band runs down to the pager's bottom and covers the picture...
    EXPECT_NE(Pixel(*Painted(pager), 1, y), PictureColour);
    // ...unless it has no colour.
    styler->TabAppearance()->BackGround()->SetColor(clNone);
    styler->SetShowShadow(false);  // the page's shadow would cover the right-hand probes

    struct TCase { const char* Name; TBackGroundDisplay Display; int X, Y; bool Picture; };
    const int cx = (w - 8) / 2, cy = (h - 8) / 2;
    const TCase cases[] = {
        {"tile from the first pixel", bdTile, 1, y, true},
        {"tile leaves the edge", bdTile, 0, y, false},
        {"tile reaches the right", bdTile, w - 3, y, true},
        {"centre", bdCenter, cx, cy, true},
        {"centre's far corner", bdCenter, cx + 7, cy + 7, true},
        {"left of the centred picture", bdCenter, cx - 1, cy, false},
        {"below the centred picture", bdCenter, cx, cy + 8, false},
        {"stretch from inset 2", bdStretch, 2, y, true},
        {"stretch leaves inset 1", bdStretch, 1, y, false},
        {"stretch to the right inset", bdStretch, w - 3, y, true},
        {"stretch leaves the right edge", bdStretch, w - 2, y, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        styler->SetBackGroundDisplay(c.Display);
        EXPECT_EQ(Pixel(*Painted(pager), c.X, c.Y) == PictureColour, c.Picture);
    }
    // The picture lies under the caption bar and the tab row.
    styler->SetBackGroundDisplay(bdTile);
    EXPECT_NE(Pixel(*Painted(pager), 20, 5), PictureColour);

    styler->SetBackGround(nullptr);
    EXPECT_NE(Pixel(*Painted(pager), 1, y), PictureColour) << "a cleared picture is gone";
}

// What the Windows version question answers, for the corner cases below.
TGlassConditions BeforeVista() { return {}; }
TGlassConditions VistaNoGlass() { return {true, true, false, false}; }

TEST_F(PagerPicture, RibbonFormCornersBeforeVistaUnlessMaximised) {
    REQUIRE_DISPLAY();
    struct TCase { const char* Name; TGlassQuery Query; bool RibbonForm; TWindowState State; int MaxWidth; bool Corners; };
    const TCase cases[] = {
        {"before Vista", &BeforeVista, true, wsNormal, 0, true},
        {"Vista or later", &VistaNoGlass, true, wsNormal, 0, false},
        {"plain form", &BeforeVista, false, wsNormal, 0, false},
        {"maximised", &BeforeVista, true, wsMaximized, 0, false},
        {"maximised but held narrow", &BeforeVista, true, wsMaximized, 400, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGlassQueryScope query(c.Query);
        std::unique_ptr<TForm> form =
            c.RibbonForm ? std::make_unique<TAdvToolBarForm>(nullptr) : std::make_unique<TForm>(nullptr);
        form->SetBounds(60, 60, 380, 260);
        if (c.MaxWidth) form->Constraints()->SetMaxWidth(c.MaxWidth);
        form->Show();
        form->SetWindowState(c.State);
        TAdvToolBarPager* pager = NewPager(form.get());
        pager->CurrentToolBarStyler()->SetFormBorderColor(CornerColour);
        auto bitmap = Painted(pager);
        const int w = pager->Width();
        for (const TPoint p : {TPoint{0, 0}, TPoint{0, 1}, TPoint{1, 0}, TPoint{w - 1, 0}, TPoint{w - 1, 1},
                               TPoint{w - 2, 0}})
            EXPECT_EQ(Pixel(*bitmap, p.X, p.Y) == CornerColour, c.Corners) << p.X << "," << p.Y;
        // Only the corners: the caption next to them keeps its own face.
        EXPECT_NE(Pixel(*bitmap, 3, 0), CornerColour);
    }
}

}  // namespace
