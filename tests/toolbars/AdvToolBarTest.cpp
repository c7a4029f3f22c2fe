// The toolbar stand-ins as the glow button meets them: the styler's looks reach the
// buttons, and accelerators typed without Alt are left to the toolbar.
#include "toolbars/AdvToolBar.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/Form.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvGlowButton;

TEST(ToolBarStandIns, ColorToARGBIsTheOpaqueColourWithSystemColoursResolved) {
    EXPECT_EQ(AdvToolBar::ColorToARGB(TColor(0x336699)), AdvGDIP::ARGB(0xFF996633));
    EXPECT_EQ(AdvToolBar::ColorToARGB(clBtnFace), AdvGDIP::ColorToOpaqueARGB(ColorToRGB(clBtnFace)));
}

class ToolBarWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 400, 200);
        FToolBar = new AdvToolBar::TAdvToolBar(FForm.get());
        FToolBar->SetParent(FForm.get());
        FToolBar->SetBounds(0, 0, 400, 60);
        FButton = new TAdvGlowButton(FForm.get());
        FButton->SetParent(FToolBar);
        FButton->SetBounds(4, 4, 100, 41);
        FButton->SetCaption(L"&Paste");
        FForm->Show();
    }
    std::unique_ptr<TForm> FForm;
    AdvToolBar::TAdvToolBar* FToolBar = nullptr;
    TAdvGlowButton* FButton = nullptr;
};

TEST_F(ToolBarWindow, AButtonTakesTheStylersLooksButKeepsItsFocusColour) {
    REQUIRE_DISPLAY();
    auto* styler = new AdvToolBar::TCustomAdvToolBarStyler(FForm.get());
    styler->GlowButtonAppearance()->SetColorHot(0x123456);
    styler->GlowButtonAppearance()->SetBorderColorFocused(0x654321);
    const TColor focused = FButton->Appearance()->BorderColorFocused();
    FToolBar->SetToolBarStyler(styler);
    EXPECT_EQ(FButton->Appearance()->ColorHot(), TColor(0x123456));
    EXPECT_EQ(FButton->Appearance()->BorderColorFocused(), focused);
    // A named toolbar hears of the styler's later changes too.
    FToolBar->SetName(L"ToolBar1");
    styler->GlowButtonAppearance()->SetColorHot(0x654321);
    EXPECT_EQ(FButton->Appearance()->ColorHot(), TColor(0x654321));
}

TEST_F(ToolBarWindow, AcceleratorsWithoutAltAreTheToolBarsAndWithAltTheButtons) {
    REQUIRE_DISPLAY();
    int clicks = 0;
    FButton->OnClick = [&](TObject*) { ++clicks; };
    ::SendMessageW(FForm->Handle(), WM_CHAR, L'p', 0);
    EXPECT_EQ(clicks, 0);
    ::SendMessageW(FForm->Handle(), WM_SYSCHAR, L'p', LPARAM(1) << 29);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ToolBarWindow, ATransparentButtonOnAToolBarShowsItsOwnFaceWhileHot) {
    REQUIRE_DISPLAY();
    FToolBar->SetColor(clRed);
    FButton->SetTransparent(true);
    FButton->Appearance()->SetTranspHover(true);  // ignored on a toolbar
    FButton->Appearance()->SetColorHot(clLime);
    FButton->Appearance()->SetColorHotTo(clLime);
    FButton->Appearance()->SetColorMirrorHot(clLime);
    FButton->Appearance()->SetColorMirrorHotTo(clLime);
    GlowSpeed = 0;
    FButton->Perform(CM_MOUSEENTER);
    FButton->Repaint();
    HDC dc = ::GetDC(FButton->Handle());
    const COLORREF face = ::GetPixel(dc, 50, 30);
    ::ReleaseDC(FButton->Handle(), dc);
    GlowSpeed = 20;
    EXPECT_EQ(face, COLORREF(clLime));
}
