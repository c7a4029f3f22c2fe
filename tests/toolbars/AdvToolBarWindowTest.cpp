// The toolbar on real windows: what it starts with, which styler it paints from, how it sizes
// itself to its items, how it batches changes, and what it paints (probed pixel by pixel on a
// toolbar painted into a bitmap). A fake ribbon page stands for the ribbon's page and pager.
#include "toolbars/AdvToolBar.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarStylers.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBarPageHost.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

// A ribbon page inside a pager, as far as a toolbar asks.
class TFakePage : public TCustomControl, public IToolBarPageHost {
public:
    using TCustomControl::TCustomControl;
    bool InPager = true;
    bool HasStyle = false;
    AdvStyleIF::TOVTStyle Style = AdvStyleIF::tsOffice2019White;
    bool DisabledHints = false;

    bool PageInPager() const override { return InPager; }
    TCustomAdvToolBarStyler* PagerToolBarStyler() const override { return nullptr; }
    bool PagerUIStyle(AdvStyleIF::TOVTStyle& style) const override {
        if (HasStyle) style = Style;
        return HasStyle;
    }
    bool PagerUsesTones() const override { return false; }
    const TToolBarAppearance* PagerToolBarAppearance() const override { return nullptr; }
    TColor PagerToolBarCaptionTextColor() const override { return clBlack; }
    const AdvGlowButton::TGlowButtonAppearance* PagerGlowButtonAppearance() const override { return nullptr; }
    GDIPicture::TGDIPPicture* PagerOptionPicture() const override { return nullptr; }
    GDIPicture::TGDIPPicture* PagerOptionDisabledPicture() const override { return nullptr; }
    bool PagerIsGlass() const override { return false; }
    bool PagerOffice2013() const override { return false; }
    const TGroupAppearance* TabGroupAppearance() const override { return nullptr; }
    bool ShowDisabledControlsHint() const override { return DisabledHints; }
    int ToolBarCount() const override { return 0; }
    int IndexOfToolBar(const TAdvCustomToolBar*) const override { return -1; }
    void MoveToolBar(TAdvCustomToolBar*, int) override {}
    void AutoPositionAdvToolBars() override {}
    void ShrinkAdvToolBars() override {}
    void GrowAdvToolBars() override {}
};

class ToolBarOnForm : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 500, 300);
        FForm->Show();
    }
    TAdvToolBar* NewToolBar(TWinControl* parent, const wchar_t* name = L"ToolBar1") {
        auto* bar = new TAdvToolBar(FForm.get());
        bar->SetName(name);
        bar->SetParent(parent);
        return bar;
    }
    TFakePage* NewPage() {
        auto* page = new TFakePage(FForm.get());
        page->SetParent(FForm.get());
        page->SetBounds(0, 100, 480, 120);
        return page;
    }
    // The toolbar painted into a bitmap of its size.
    static std::unique_ptr<TBitmap> Painted(TAdvCustomToolBar* bar) {
        auto bitmap = std::make_unique<TBitmap>(bar->Width(), bar->Height());
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect(TRect(0, 0, bar->Width(), bar->Height()));
        bar->Perform(WM_PAINT, WPARAM(bitmap->Canvas()->Handle()), 0);
        return bitmap;
    }
    static TColor Pixel(TBitmap& bitmap, int x, int y) { return TColor(ColorToRGB(bitmap.Canvas()->Pixels(x, y))); }
    // A styler whose background is a plain vertical gradient from black to white.
    TCustomAdvToolBarStyler* GradientStyler() {
        auto* styler = new TCustomAdvToolBarStyler(FForm.get());
        styler->SetName(L"Styler1");
        styler->Color()->SetColor(clBlack);
        styler->Color()->SetColorTo(clWhite);
        styler->Color()->SetDirection(gdVertical);
        styler->SetBorderColor(clNone);
        styler->SetRoundEdges(false);
        styler->SetBackGroundTransparent(false);
        return styler;
    }
    std::unique_ptr<TForm> FForm;
};

}  // namespace

TEST_F(ToolBarOnForm, StartsWithItsDefaults) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_EQ(bar->Height(), 26);
    EXPECT_EQ(bar->Constraints()->MinWidth(), 60);
    EXPECT_EQ(bar->Constraints()->MaxWidth(), 60);
    EXPECT_EQ(bar->Persistence()->Section(), L"UnDockedAdvToolBars");
    EXPECT_EQ(bar->Version(), L"6.8.3.3");
    ASSERT_NE(bar->InternalToolBarStyler(), nullptr);
    EXPECT_EQ(bar->InternalToolBarStyler()->Name(), L"InternalStyler");
    EXPECT_EQ(bar->InternalToolBarStyler()->CaptionFont()->Height(), -11);
    EXPECT_EQ(bar->GetToolBarState(), tsFixed);  // on a form, not in a dock panel
}

TEST_F(ToolBarOnForm, StylerInUseFallsBackToItsOwn) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    auto* styler = new TCustomAdvToolBarStyler(FForm.get());
    bar->SetToolBarStyler(styler);
    EXPECT_EQ(bar->CurrentToolBarStyler(), styler);
    bar->SetToolBarStyler(nullptr);
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    bar->SetToolBarStyler(styler);
    delete styler;
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    EXPECT_EQ(bar->ToolBarStyler(), nullptr);
}

TEST_F(ToolBarOnForm, ParentStylerIsOffOnAFormAndOnOnAPageInAPager) {
    REQUIRE_DISPLAY();
    EXPECT_FALSE(NewToolBar(FForm.get())->ParentStyler());
    TAdvToolBar* onPage = NewToolBar(NewPage(), L"Group1");
    EXPECT_TRUE(onPage->ParentStyler());
    EXPECT_TRUE(onPage->IsOnRibbonPage());
}

TEST_F(ToolBarOnForm, StylerChangeGivesTheToolBarTheStylersColour) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    bar->SetToolBarStyler(styler);
    styler->Color()->SetColor(TColor(0x123456));
    EXPECT_EQ(bar->Color(), TColor(0x123456));
}

TEST_F(ToolBarOnForm, ApplicationStyleKeepsOneOwnedPresetStyler) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    const auto ownedOfficeStylers = [bar] {
        int count = 0;
        for (int i = 0; i < bar->ComponentCount(); ++i)
            if (dynamic_cast<AdvToolBarStylers::TAdvToolBarOfficeStyler*>(bar->Components(i))) ++count;
        return count;
    };
    bar->SetComponentStyle(AdvStyleIF::tsCustom);  // only stored
    EXPECT_EQ(ownedOfficeStylers(), 0);
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    for (int i = 0; i < 10; ++i) {
        bar->SetComponentStyle(i % 2 ? AdvStyleIF::tsOffice2019Black : AdvStyleIF::tsOffice2016White);
        bar->RecreateWnd();
    }
    EXPECT_EQ(ownedOfficeStylers(), 1);
    EXPECT_EQ(bar->UIStyle(), AdvStyleIF::tsOffice2019Black);
    // An assigned styler ignores styles.
    auto* external = new TCustomAdvToolBarStyler(FForm.get());
    bar->SetToolBarStyler(external);
    bar->SetComponentStyle(AdvStyleIF::tsOffice2016White);
    EXPECT_EQ(bar->CurrentToolBarStyler(), external);
}

TEST_F(ToolBarOnForm, APagersStyleWins) {
    REQUIRE_DISPLAY();
    TFakePage* page = NewPage();
    page->HasStyle = true;
    page->Style = AdvStyleIF::tsOffice2019Gray;
    TAdvToolBar* bar = NewToolBar(page, L"Group1");
    bar->SetComponentStyle(AdvStyleIF::tsOffice2016White);
    EXPECT_EQ(bar->UIStyle(), AdvStyleIF::tsOffice2019Gray);
}

TEST_F(ToolBarOnForm, SizesItselfToItsItems) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_EQ(bar->Width(), 60);
    EXPECT_EQ(bar->Height(), 26);
    auto* tall = new TPanel(FForm.get());
    tall->SetParent(bar);
    tall->SetBounds(0, 0, 30, 40);
    EXPECT_EQ(bar->Height(), 44);
    EXPECT_EQ(bar->ToolBarControlCount(), 1);
    EXPECT_GE(bar->Width(), tall->Left() + tall->Width());
    // An invisible item is parked below the toolbar (as high as it was when arranged).
    tall->SetVisible(false);
    bar->ArrangeItems(true);
    EXPECT_GE(tall->Top(), bar->Height() + 2);
}

TEST_F(ToolBarOnForm, BatchedChangesLayOutOnceAtTheEnd) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    bar->BeginUpdate();
    bar->BeginUpdate();
    auto* item = new TPanel(FForm.get());
    item->SetParent(bar);
    item->SetBounds(0, 0, 120, 20);
    bar->SetVisible(false);  // hidden in between: the count still comes back
    bar->EndUpdate();
    EXPECT_EQ(bar->UpdateCount(), 1);
    EXPECT_EQ(bar->Width(), 60);
    bar->SetVisible(true);
    bar->EndUpdate();
    EXPECT_EQ(bar->UpdateCount(), 0);
    EXPECT_GT(bar->Width(), 120);
    bar->EndUpdate();  // unbalanced: stays at 0
    EXPECT_EQ(bar->UpdateCount(), 0);
}

TEST_F(ToolBarOnForm, PaintsTheGradientTheGripAndTheBevel) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetDragGripStyle(dsDots);
    bar->SetToolBarStyler(styler);
    bar->SetAutoSize(false);
    bar->SetShowRightHandle(false);
    bar->SetBounds(0, 0, 200, 26);
    {
        SCOPED_TRACE("gradient and grip dots");
        auto bitmap = Painted(bar);
        EXPECT_LT(GetRValue(ColorToRGB(Pixel(*bitmap, 100, 0))), 16);
        const TColor last = Pixel(*bitmap, 100, 25);
        EXPECT_GT(GetRValue(ColorToRGB(last)), 230);
        EXPECT_EQ(Pixel(*bitmap, 4, 5), TColor(ColorToRGB(clBtnShadow)));
        EXPECT_EQ(Pixel(*bitmap, 6, 7), clWhite);
        EXPECT_EQ(Pixel(*bitmap, 4, 17), TColor(ColorToRGB(clBtnShadow)));  // the fourth dot
        EXPECT_NE(Pixel(*bitmap, 4, 21), TColor(ColorToRGB(clBtnShadow)));  // no fifth
    }
    {
        SCOPED_TRACE("flat fill with outline");
        styler->Color()->SetColorTo(clNone);
        styler->Color()->SetColor(clRed);
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 13), clRed);
        EXPECT_EQ(Pixel(*bitmap, 100, 0), clRed);
    }
    {
        SCOPED_TRACE("lowered bevel");
        styler->SetUseBevel(true);
        styler->SetBevel(bvLowered);
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 1), TColor(ColorToRGB(clBtnShadow)));
        EXPECT_EQ(Pixel(*bitmap, 199, 13), clWhite);
        styler->SetBevel(bvRaised);
        bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 0), clWhite);
        EXPECT_EQ(Pixel(*bitmap, 199, 13), TColor(ColorToRGB(clBtnShadow)));
    }
    {
        SCOPED_TRACE("transparent styler paints no background");
        styler->SetUseBevel(false);
        styler->SetBackGroundTransparent(true);
        auto bitmap = Painted(bar);
        EXPECT_NE(Pixel(*bitmap, 100, 13), clRed);
    }
}

TEST_F(ToolBarOnForm, RightHandleFillsByStateWithoutChevronWhileEverythingFits) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetRightHandleColor(clGreen);
    styler->SetRightHandleColorTo(clNone);
    bar->SetToolBarStyler(styler);
    bar->SetShowOptionIndicator(false);
    auto bitmap = Painted(bar);
    const int x = bar->Width() - bar->RightHandleWidth() / 2;
    EXPECT_EQ(Pixel(*bitmap, x, 13), clGreen);
    EXPECT_EQ(bar->HiddenLength(), 0);
}

TEST_F(ToolBarOnForm, RibbonGroupFadesInStepsOfTwenty) {
    REQUIRE_DISPLAY();
    TAdvToolBar* group = NewToolBar(NewPage(), L"Group1");
    ASSERT_TRUE(group->IsRibbonGroup());
    group->CurrentToolBarStyler()->ColorHot()->SetColor(clYellow);
    AdvGlowButton::GlowAnimationInterval = 10;
    group->Perform(CM_MOUSEENTER);
    int previous = group->StepHover();
    bool stepsOfTwenty = true;
    ASSERT_TRUE(TestSupport::PumpUntil([&] {
        const int step = group->StepHover();
        if (step != previous) {
            if (step - previous != 20 && step != 100) stepsOfTwenty = false;
            previous = step;
        }
        return step >= 100;
    }));
    AdvGlowButton::GlowAnimationInterval = 20;
    EXPECT_TRUE(stepsOfTwenty);
    EXPECT_TRUE(group->Hot());
}

TEST_F(ToolBarOnForm, OnlyAPageHasAMirrorSplitAndNoPageMeansNoRibbon) {
    REQUIRE_DISPLAY();
    EXPECT_EQ(MirrorSplit(30), 0);
    EXPECT_EQ(MirrorSplit(10), 12);
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_FALSE(bar->IsRibbonGroup());
    EXPECT_EQ(bar->ToolBarIndex(), -1);
    bar->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(bar->Hot());
}
