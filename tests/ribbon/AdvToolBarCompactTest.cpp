#include <windows.h>
// Compact ribbon groups on a real page of a real pager: size steps of real glow buttons,
// the fold into a compact button and back, the drop-down window, and the page's layout.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "graphics/AdvGDIPStartup.h"
#include "ribbon/AdvToolBarPager.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvGlowMenuButton.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCompact.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace AdvGlowButton;

namespace {

// Widths that do not hang on fonts: large 40, label 70, glyph 24.
int PinnedWidth(TButtonSizeState state) { return state == bsLarge ? 40 : state == bsLabel ? 70 : 24; }

class CompactGroups : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        GlowButtonSizer().WidthAt = [](TAdvCustomGlowButton*, TButtonSizeState state) { return PinnedWidth(state); };
        GlowButtonSizer().SwitchTo = [](TAdvCustomGlowButton* button, TButtonSizeState state) {
            // The state alone: a paint would measure the real text.
            button->ToolBarFields().ButtonSizeState = state;
            button->SetWidth(PinnedWidth(state));
            return PinnedWidth(state);
        };
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(40, 40, 900, 300);
        FPager = new TAdvToolBarPager(FForm.get());
        FPager->SetParent(FForm.get());
        FPager->AddAdvPage(L"Home");
        FPager->Update();
        FPager->SetActivePageIndex(0);
        FPage = FPager->AdvPages(0);
    }
    void TearDown() override { FForm.reset(); }

    // A group of auto-size glow buttons, all large, in one row.
    TAdvToolBar* Group(const std::wstring& name, int buttons) {
        TAdvToolBar* bar = FPage->CreateAdvToolBar();
        bar->SetName(name);
        bar->SetAutoSize(true);
        for (int i = 0; i < buttons; ++i) {
            auto* button = new TAdvGlowButton(bar);
            button->SetName(name + L"B" + std::to_wstring(i));
            button->SetCaption(L"Button " + std::to_wstring(i));
            button->SetAutoSize(true);
            button->SetBounds(200 + 40 * i, 2, 40, 60);
            button->SetParent(bar);
        }
        bar->ArrangeItems(true);
        return bar;
    }
    static std::vector<TAdvCustomGlowButton*> Buttons(TAdvCustomToolBar* bar) {
        std::vector<TAdvCustomGlowButton*> list;
        for (int i = 0; i < bar->ToolBarControlCount(); ++i)
            if (auto* b = dynamic_cast<TAdvCustomGlowButton*>(bar->ToolBarControls(i))) list.push_back(b);
        return list;
    }
    // States of the group's buttons in item order: L large, l label, g glyph.
    static std::string States(TAdvCustomToolBar* bar) {
        std::string text;
        for (TAdvCustomGlowButton* b : Buttons(bar))
            text += b->ButtonSizeState() == bsLarge ? 'L' : b->ButtonSizeState() == bsLabel ? 'l' : 'g';
        return text;
    }

    TGlowButtonSizerScope FSizer;
    std::unique_ptr<TForm> FForm;
    TAdvToolBarPager* FPager = nullptr;
    TAdvPage* FPage = nullptr;
};

}  // namespace

TEST_F(CompactGroups, ButtonsShrinkAndGrowStepByStep) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = Group(L"Group1", 4);
    struct TStep {
        bool Grow;
        int Width;
        TButtonSizeState State;
        const char* After;
    };
    const TStep steps[] = {
        {false, 3 * 40 - 70, bsLabel, "Llll"},  // the last three become labels in one column
        {false, 70 - 24, bsGlyph, "Lggg"},      // that column of three labels becomes glyphs at once
        {false, 0, bsLarge, "Lggg"},            // the large one left over has no large neighbour
        {true, 70 - 24, bsLabel, "Llll"},
        {true, 3 * 40 - 70, bsLarge, "LLLL"},
        {true, 0, bsLarge, "LLLL"},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.After);
        TButtonSizeState state = bsLarge;
        const int measured = step.Grow ? bar->GetGrowWidth(state) : bar->GetShrinkWidth(state);
        EXPECT_EQ(measured, step.Width);
        const int applied = step.Grow ? bar->GrowButtons(state, true) : bar->ShrinkButtons(state, true);
        EXPECT_EQ(applied, step.Width);
        if (step.Width) {
            EXPECT_EQ(state, step.State);
        }
        EXPECT_EQ(States(bar), step.After);
    }
    // Labels stand in one column.
    TButtonSizeState state = bsLarge;
    ASSERT_GT(bar->ShrinkButtons(state, true), 0);
    const std::vector<TAdvCustomGlowButton*> buttons = Buttons(bar);
    EXPECT_EQ(buttons[1]->Left(), buttons[3]->Left());
    EXPECT_LT(buttons[1]->Top(), buttons[2]->Top());
}

TEST_F(CompactGroups, FoldsIntoItsCopyAndBack) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = Group(L"Group1", 2);
    std::vector<TAdvCustomGlowButton*> buttons = Buttons(bar);
    buttons[1]->SetStyle(bsCheck);
    buttons[1]->SetDown(true);
    const TPoint first{buttons[0]->Left(), buttons[0]->Top()}, second{buttons[1]->Left(), buttons[1]->Top()};
    const int width = bar->Width();

    bar->ApplyCompact(true);
    ASSERT_TRUE(bar->IsCompact());
    ASSERT_NE(bar->CompactWindow(), nullptr);
    EXPECT_EQ(bar->CompactWindow()->Name(), L"Group1_CompactWindow");
    TAdvCustomToolBar* copy = bar->SelfClone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), L"Group1_SelfClone");
    EXPECT_EQ(copy->SelfClone(), bar);  // each finds the other
    EXPECT_EQ(copy->ToolBarControlCount(), 2);
    EXPECT_EQ(bar->ToolBarControlCount(), 0);  // the compact button is no item
    EXPECT_EQ(buttons[0]->Parent(), copy);
    EXPECT_EQ(bar->Width(), 45);  // empty CompactCaption: the minimum
    ASSERT_NE(bar->CompactButton(), nullptr);
    EXPECT_TRUE(bar->CompactButton()->DropDownButton());
    EXPECT_EQ(bar->CompactButton()->Height(), bar->Height());
    EXPECT_TRUE(buttons[1]->Down());

    bar->ApplyCompact(false);
    EXPECT_FALSE(bar->IsCompact());
    // The group comes back at its smallest; the page grows it as the room allows.
    EXPECT_EQ(States(bar), "gg");
    bar->GrowToLargest();
    EXPECT_EQ(bar->CompactWindow(), nullptr);
    EXPECT_EQ(bar->CompactButton(), nullptr);
    EXPECT_EQ(bar->ToolBarControlCount(), 2);
    EXPECT_EQ(buttons[0]->Parent(), bar);
    EXPECT_EQ((TPoint{buttons[0]->Left(), buttons[0]->Top()}), first);
    EXPECT_EQ((TPoint{buttons[1]->Left(), buttons[1]->Top()}), second);
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_EQ(bar->Width(), width);
    EXPECT_TRUE(bar->AutoPositionControls());
    EXPECT_TRUE(bar->AutoSize());
}

TEST_F(CompactGroups, UnnamedGroupGivesUnnamedWindowAndCopy) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = Group(L"", 1);
    bar->SetName(L"");
    bar->ApplyCompact(true);
    ASSERT_NE(bar->CompactWindow(), nullptr);
    EXPECT_EQ(bar->CompactWindow()->Name(), L"");
    EXPECT_EQ(bar->SelfClone()->Name(), L"");
}

TEST_F(CompactGroups, CompactByHandSurvivesThePagesArrangement) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = Group(L"Group1", 3);
    bar->SetCompact(true);
    EXPECT_TRUE(bar->IsCompact());
    EXPECT_FALSE(bar->IsAutoCompacted());
    FPage->UpdateAllToolBars();
    FPage->GrowAdvToolBars();
    EXPECT_TRUE(bar->IsCompact());
    // Not loaded by a page or off a page: nothing.
    bar->ApplyCompact(false);
    EXPECT_TRUE(bar->IsCompact());
    bar->SetCompact(false);
    EXPECT_FALSE(bar->IsCompact());
    EXPECT_EQ(States(bar), "LLL");
}

TEST_F(CompactGroups, DropsDownBelowItsButtonAndHidesAgain) {
    REQUIRE_DISPLAY();
    FForm->Show();
    TAdvToolBar* bar = Group(L"Group1", 3);
    bool shown = false;
    bar->OnCompactShow = [&](TObject* sender) { shown = sender == bar; };
    bar->ApplyCompact(true);
    TAdvGlowButton* button = bar->CompactButton();
    button->SetDown(true);
    bar->CompactButtonClick(button);
    TCompactWindow* window = bar->CompactWindow();
    ASSERT_TRUE(window->Visible());
    EXPECT_TRUE(shown);
    EXPECT_EQ(window->DropDownButton(), button);
    const TPoint below = bar->Parent()->ClientToScreen({bar->Left(), bar->Top() + bar->Height() + 1});
    EXPECT_EQ(window->Left(), below.X);
    EXPECT_EQ(window->Top(), below.Y);
    EXPECT_EQ(window->Width(), window->AdvToolBar()->Width() + 2);
    // The lower right corner sizes, the rest lets clicks through.
    RECT r{};
    GetWindowRect(window->Handle(), &r);
    EXPECT_EQ(window->Perform(WM_NCHITTEST, 0, MAKELPARAM(r.right - 3, r.bottom - 3)), HTBOTTOMRIGHT);
    EXPECT_EQ(window->Perform(WM_NCHITTEST, 0, MAKELPARAM(r.left + 3, r.bottom - 3)), HTNOWHERE);
    EXPECT_EQ(CompactWindowHitTest(91, 41, 100, 50), 17);
    EXPECT_EQ(CompactWindowHitTest(90, 41, 100, 50), 0);

    window->HideTimerTick();
    EXPECT_FALSE(window->Visible());
    EXPECT_FALSE(button->Down());
    // A veto of the close query keeps it from hiding on deactivation.
    bar->OnCompactCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    EXPECT_FALSE(window->CanHide());
}

TEST_F(CompactGroups, PagePlacesItsToolBars) {
    REQUIRE_DISPLAY();
    TAdvToolBar* a = FPage->CreateAdvToolBar();
    TAdvToolBar* hidden = FPage->CreateAdvToolBar();
    TAdvToolBar* b = FPage->CreateAdvToolBar();
    a->SetWidth(100);
    hidden->SetWidth(70);
    hidden->SetVisible(false);
    b->SetWidth(50);
    FPage->AutoPositionAdvToolBars();
    EXPECT_EQ(a->Left(), 3);
    EXPECT_EQ(b->Left(), 106);
    EXPECT_EQ(b->Top(), 3);
    EXPECT_EQ(b->Height(), FPage->Height() - 6);
    std::vector<TAdvToolBar*> order;
    FPage->SortAdvToolBarsByLeft(&order);
    EXPECT_EQ(order, (std::vector<TAdvToolBar*>{a, b}));
}

TEST_F(CompactGroups, NarrowingThePageShrinksThenCompactsThenScrolls) {
    {
        // Its sizes are the 96-dpi ones; the scaled sizes have their own table.
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        if (dpi != 96) GTEST_SKIP() << "sizes pinned at 96 dpi";
    }
    REQUIRE_DISPLAY();
    FForm->Show();
    std::vector<TAdvToolBar*> bars;
    for (int i = 0; i < 4; ++i) bars.push_back(Group(L"G" + std::to_wstring(i), 3));
    FPage->AutoPositionAdvToolBars();
    FPage->UpdateAllToolBars();
    for (TAdvToolBar* bar : bars) EXPECT_EQ(States(bar), "LLL");

    auto narrow = [&](int width) {
        FForm->SetWidth(width + 16);
        TestSupport::PumpMessages();
    };
    narrow(FPage->Width() > 420 ? 420 : FPage->Width() - 50);
    EXPECT_NE(States(bars[3]), "LLL");  // the rightmost shrank first
    EXPECT_EQ(FPage->ToolBarScroller()->Max(), 0);
    narrow(170);
    // Glyph columns still fit: no group folded yet.
    for (TAdvToolBar* bar : bars) EXPECT_FALSE(bar->IsCompact());
    EXPECT_EQ(States(bars[3]), "ggg");
    narrow(120);
    EXPECT_TRUE(bars[3]->IsCompact());
    EXPECT_TRUE(FPage->AllAdvToolBarsCompact());
    EXPECT_GT(FPage->ToolBarScroller()->Max(), 0);
    ASSERT_NE(FPage->RightScrollButton(), nullptr);
    EXPECT_TRUE(FPage->RightScrollButton()->Visible());
    EXPECT_EQ(FPage->ScrollAdvToolBars(1), 1);
    EXPECT_TRUE(FPage->LeftScrollButton() && FPage->LeftScrollButton()->Visible());

    // Wider again: every group comes back, the scroller resets.
    narrow(880);
    for (TAdvToolBar* bar : bars) EXPECT_FALSE(bar->IsCompact());
    EXPECT_EQ(FPage->ToolBarScroller()->Max(), 0);
    EXPECT_EQ(States(bars[0]), "LLL");
}

TEST_F(CompactGroups, AutoCompactOffOnlyPlaces) {
    REQUIRE_DISPLAY();
    FPager->SetAutoCompactToolBars(false);
    TAdvToolBar* bar = Group(L"G", 3);
    FPage->SetBounds(FPage->Left(), FPage->Top(), 60, FPage->Height());
    FPage->UpdateAllToolBars();
    FPage->ShrinkAdvToolBars();
    EXPECT_FALSE(bar->IsCompact());
    EXPECT_EQ(States(bar), "LLL");
    EXPECT_EQ(bar->Left(), 3);
    // Switched on again: the page arranges at once.
    FPager->SetAutoCompactToolBars(true);
    EXPECT_TRUE(bar->IsCompact() || States(bar) != "LLL");
}

TEST_F(CompactGroups, MenuButtonDropsDownAndIsAMenuButton) {
    REQUIRE_DISPLAY();
    auto* button = new TAdvGlowMenuButton(FForm.get());
    EXPECT_TRUE(button->DropDownButton());
    EXPECT_EQ(button->Width(), 32);
    EXPECT_TRUE(button->IsMenuButton());
    EXPECT_TRUE(button->DropDownSplit());
    EXPECT_EQ(button->DropDownWidth(), 14);
}
