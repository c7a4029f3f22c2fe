// Key tips on real windows: Alt through the application's message path, typed tab tips,
// the groups' tips on the chosen page, arrows between groups, Esc back to the tabs, the
// form hook, the Ctrl+F1 thread hook and where the tip windows sit.
#include "ribbon/AdvToolBarPager.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/EditControls.h"
#include "classlib/Form.h"
#include "classlib/Seams.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarBase.h"
#include "ribbon/AdvToolBarPagerKeyTips.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBar.h"

using namespace ClassLib;
using namespace AdvToolBar;
using AdvGlowButton::TAdvGlowButton;

namespace {

int GBeeps = 0;

class KeyTipsOnForm : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        static const TToolBarUnitSession toolBarUnit;  // the registered messages
        FSavedBeep = KeyTipBeep;
        KeyTipBeep = [] { ++GBeeps; };
        GBeeps = 0;
        Seams().KeyState = [this](int key) -> short { return FHeld.count(key) ? short(0x8000) : short(0); };
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(40, 40, 820, 400);
        FForm->Show();
        ::SetForegroundWindow(FForm->Handle());
        TestSupport::PumpMessages();
    }
    void TearDown() override {
        FForm.reset();
        if (FSavedBeep) KeyTipBeep = FSavedBeep;
    }
    // Pages with these key tips; each page gets one group with buttons of these tips.
    TAdvToolBarPager* NewPager(const std::vector<std::wstring>& tabTips,
                               const std::vector<std::vector<std::wstring>>& buttonTips = {}) {
        auto* pager = new TAdvToolBarPager(FForm.get());
        pager->SetName(L"Ribbon");
        pager->SetParent(FForm.get());
        for (size_t i = 0; i < tabTips.size(); ++i) {
            pager->AddAdvPage(L"Page" + std::to_wstring(i));
            pager->AdvPages(int(i))->SetShortCutHint(tabTips[i]);
        }
        for (size_t i = 0; i < buttonTips.size() && i < tabTips.size(); ++i) AddGroup(pager->AdvPages(int(i)), buttonTips[i]);
        pager->SetActivePageIndex(0);
        pager->Update();
        TestSupport::PumpMessages();
        return pager;
    }
    TAdvToolBar* AddGroup(TAdvPage* page, const std::vector<std::wstring>& tips) {
        TAdvToolBar* bar = page->CreateAdvToolBar();
        for (const std::wstring& tip : tips) {
            auto* button = new TAdvGlowButton(bar);
            button->SetParent(bar);
            button->SetBounds(0, 0, 60, 22);
            button->SetCaption(L"B" + tip);
            button->SetShortCutHint(tip);
            button->OnClick = [this, tip](TObject*) { FClicked.push_back(tip); };
        }
        bar->SetWidth(12 + 64 * int(tips.size()));
        return bar;
    }
    static TAdvGlowButton* Button(TAdvToolBar* bar, int index) {
        return dynamic_cast<TAdvGlowButton*>(bar->ToolBarControls(index));
    }
    static bool TipShows(AdvGlowButton::TShortCutHintWindow* tip) {
        return tip && tip->HandleAllocated() && ::IsWindowVisible(tip->Handle());
    }
    static int TabTipsShowing(TAdvToolBarPager* pager) {
        int showing = 0;
        for (int i = 0; i < pager->AdvPageCount(); ++i) showing += TipShows(pager->AdvPages(i)->ShortCutHintWindow());
        return showing;
    }
    static void Key(TWinControl* control, WORD key) { control->Perform(WM_KEYDOWN, key, 0); }

    TSeamsScope FSeams;
    std::set<int> FHeld;
    std::unique_ptr<TForm> FForm;
    std::vector<std::wstring> FClicked;
    void (*FSavedBeep)() = nullptr;
};

}  // namespace

TEST_F(KeyTipsOnForm, AltReleasedAloneShowsTabTipsThroughTheMessageLoop) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N", L"D"}, {{L"A"}});
    auto* edit = new TEdit(FForm.get());
    edit->SetParent(FForm.get());
    edit->SetBounds(10, 200, 100, 24);
    edit->SetFocus();
    TestSupport::PumpMessages();
    // Without a window manager the shown form must still be the active one: tips need it.
    ASSERT_EQ(::GetActiveWindow(), FForm->Handle());
    ASSERT_EQ(::GetFocus(), edit->Handle());

    // Alt goes down on the edit: a system key the application offers to the form first.
    FHeld = {VK_MENU};
    ::PostMessageW(edit->Handle(), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    Application->ProcessMessages();
    EXPECT_TRUE(pager->AltKeys().TimerRunning());
    EXPECT_EQ(pager->FocusBeforeKeyTips(), edit->Handle());
    pager->AltKeyTimer();
    EXPECT_FALSE(pager->TabShortCutHintShowing()) << "still held, not yet 700 ms";

    FHeld.clear();
    pager->AltKeyTimer();
    EXPECT_TRUE(pager->TabShortCutHintShowing());
    EXPECT_EQ(TabTipsShowing(pager), 3);
    EXPECT_TRUE(pager->Focused());

    // A second Alt closes them.
    EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_MENU, 0), 1);
    EXPECT_FALSE(pager->TabShortCutHintShowing());
    EXPECT_EQ(TabTipsShowing(pager), 0);
}

TEST_F(KeyTipsOnForm, AltAcceleratorSelectsTheTabAndShowsNoTips) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N"});
    pager->AdvPages(1)->SetCaption(L"&Next");
    FHeld = {VK_MENU};
    EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_MENU, 0), 1);
    EXPECT_EQ(FForm->Perform(CM_DIALOGCHAR, L'n', 0x20000000), 1);
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    FHeld.clear();
    pager->AltKeyTimer();
    EXPECT_FALSE(pager->TabShortCutHintShowing());
    EXPECT_FALSE(pager->AltKeys().TimerRunning());
}

TEST_F(KeyTipsOnForm, IgnoreAltMessageSilencesAltAndF10UntilCleared) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"});
    pager->Perform(WM_TBPSETIGNOREALT, 1, 0);
    EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_MENU, 0), 0);
    EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_F10, 0), 0);
    pager->AltKeyTimer();
    EXPECT_FALSE(pager->TabShortCutHintShowing());
    pager->Perform(WM_TBPSETIGNOREALT, 0, 0);
    EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_F10, 0), 1);
    pager->AltKeyTimer();
    EXPECT_TRUE(pager->TabShortCutHintShowing());
}

TEST_F(KeyTipsOnForm, TypedTabTips) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Name;
        std::vector<std::wstring> Tips;
        std::vector<WORD> Keys;
        bool DisableSecond;
        int Active;       // active page afterwards
        bool Showing;     // tab tips still show
        int Visible;      // tab tips visible
        int Beeps;
        bool GroupTips;   // the active page shows its groups' tips
    };
    const TCase cases[] = {
        {"H and HV: H selects the first", {L"H", L"HV"}, {'H'}, false, 0, false, 0, 0, true},
        {"H then V picks HV only when H is not a tab", {L"HX", L"HV"}, {'H', 'V'}, false, 1, false, 0, 0, true},
        {"H1 and H2 with H: nothing hides, no beep", {L"H1", L"H2"}, {'H'}, false, 0, true, 2, 0, false},
        {"then X beeps and ends the mode", {L"H1", L"H2"}, {'H', 'X'}, false, 0, false, 0, 1, false},
        {"numeric pad 1", {L"2", L"1"}, {VK_NUMPAD1}, false, 1, false, 0, 0, true},
        {"disabled tab: tips close, no change", {L"H", L"D"}, {'D'}, true, 0, false, 0, 0, false},
        {"Shift is not typed", {L"H1", L"H2"}, {VK_SHIFT, VK_LSHIFT, VK_CONTROL}, false, 0, true, 2, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        GBeeps = 0;
        TAdvToolBarPager* pager = NewPager(c.Tips, {{L"A"}, {L"B"}});
        if (c.DisableSecond) pager->AdvPages(1)->SetTabEnabled(false);
        pager->SetFocus();
        pager->ShowTabShortCutHint();
        for (WORD key : c.Keys) Key(pager, key);
        EXPECT_EQ(pager->ActivePageIndex(), c.Active);
        EXPECT_EQ(pager->TabShortCutHintShowing(), c.Showing);
        EXPECT_EQ(TabTipsShowing(pager), c.Visible);
        EXPECT_EQ(GBeeps, c.Beeps);
        EXPECT_EQ(pager->ActivePage()->ToolBarShortCutShowing(), c.GroupTips);
        if (c.GroupTips) {
            TAdvToolBar* bar = pager->ActivePage()->AdvToolBars(0);
            EXPECT_TRUE(TipShows(Button(bar, 0)->ShortCutHintWindow()));
            EXPECT_EQ(::GetFocus(), Button(bar, 0)->Handle()) << "the first group's first button has the focus";
        }
        pager->HideTabShortCutHint(true);
        delete pager;
    }
}

TEST_F(KeyTipsOnForm, TipWindowSlotsAreReused) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N", L"D"});
    for (int round = 0; round < 3; ++round) {
        pager->ShowTabShortCutHint();
        pager->HideTabShortCutHint(true);
    }
    EXPECT_EQ(pager->ShortCutHintWindowSlots(), 3);
}

TEST_F(KeyTipsOnForm, GroupMatchCountsHidesAndPresses) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"}, {{L"AB", L"B", L"A", L"C"}});
    TAdvPage* page = pager->AdvPages(0);
    TAdvToolBar* bar = page->AdvToolBars(0);
    page->ShowShortCutHintOfAdvToolBars();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(TipShows(Button(bar, i)->ShortCutHintWindow())) << i;
    int partial = 0;
    EXPECT_TRUE(bar->MatchShortCut(L"a", partial));
    EXPECT_EQ(partial, 1);
    EXPECT_EQ(FClicked, std::vector<std::wstring>{L"A"});
    EXPECT_TRUE(TipShows(Button(bar, 0)->ShortCutHintWindow()));
    EXPECT_FALSE(TipShows(Button(bar, 1)->ShortCutHintWindow()));
    EXPECT_TRUE(TipShows(Button(bar, 3)->ShortCutHintWindow())) << "items after the pressed one are not looked at";
    page->HideShortCutHintOfAdvToolBars();
    EXPECT_FALSE(TipShows(Button(bar, 3)->ShortCutHintWindow()));
    EXPECT_FALSE(page->MouseCapture());
}

TEST_F(KeyTipsOnForm, TypedGroupKeysPressAGroupedButtonOrEndTheMode) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"}, {{L"G1", L"G2"}});
    TAdvPage* page = pager->AdvPages(0);
    TAdvToolBar* bar = page->AdvToolBars(0);
    TAdvGlowButton* grouped = Button(bar, 1);
    grouped->SetGroupIndex(2);
    Button(bar, 0)->SetFocus();
    page->ShowShortCutHintOfAdvToolBars();
    Key(Button(bar, 0), 'G');
    EXPECT_TRUE(page->ToolBarShortCutShowing()) << "G is a prefix of both";
    EXPECT_EQ(page->ShortCutChars(), L"G");
    Key(Button(bar, 0), VK_NUMPAD2);
    EXPECT_FALSE(page->ToolBarShortCutShowing());
    EXPECT_EQ(FClicked, std::vector<std::wstring>{L"G2"});
    EXPECT_TRUE(grouped->Down());

    // Nothing matches: the mode ends with a beep and lets the mouse go.
    page->ShowShortCutHintOfAdvToolBars();
    EXPECT_TRUE(page->MouseCapture());
    Key(Button(bar, 0), 'Q');
    EXPECT_FALSE(page->ToolBarShortCutShowing());
    EXPECT_EQ(GBeeps, 1);
    EXPECT_FALSE(page->MouseCapture());
}

TEST_F(KeyTipsOnForm, EscapeInGroupTipsGoesBackToTabTips) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N"}, {{L"A", L"B"}});
    pager->SetFocus();
    pager->ShowTabShortCutHint();
    Key(pager, 'H');
    TAdvPage* page = pager->AdvPages(0);
    ASSERT_TRUE(page->ToolBarShortCutShowing());
    TAdvGlowButton* first = Button(page->AdvToolBars(0), 0);
    ASSERT_EQ(::GetFocus(), first->Handle());
    Key(first, VK_ESCAPE);
    EXPECT_FALSE(page->ToolBarShortCutShowing());
    EXPECT_TRUE(pager->TabShortCutHintShowing());
    EXPECT_EQ(TabTipsShowing(pager), 2);
    EXPECT_TRUE(pager->Focused());
    EXPECT_TRUE(pager->ChangeByKeyPress());
    // Esc again on the tabs: tips hide.
    Key(pager, VK_ESCAPE);
    EXPECT_FALSE(pager->TabShortCutHintShowing());
}

TEST_F(KeyTipsOnForm, ArrowsMoveBetweenButtonsAndWrapAcrossGroups) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"}, {{L"A", L"B"}});
    TAdvPage* page = pager->AdvPages(0);
    TAdvToolBar* left = page->AdvToolBars(0);
    TAdvToolBar* right = AddGroup(page, {L"C", L"D"});
    TestSupport::PumpMessages();
    ASSERT_LT(left->Left(), right->Left());
    struct TStep { TAdvGlowButton* From; WORD Key; TAdvGlowButton* To; };
    const TStep steps[] = {
        {Button(left, 0), VK_LEFT, Button(right, 1)},   // first of the first group: last of the last
        {Button(right, 1), VK_RIGHT, Button(left, 0)},  // and back round
        {Button(left, 0), VK_RIGHT, Button(left, 1)},
        {Button(left, 1), VK_RIGHT, Button(right, 0)},
        {Button(right, 0), VK_LEFT, Button(left, 1)},
    };
    for (const TStep& step : steps) {
        step.From->SetFocus();
        Key(step.From, step.Key);
        EXPECT_EQ(::GetFocus(), step.To->Handle()) << step.From->Caption().size() << " key " << step.Key;
    }
    // Up goes back to the tab row.
    Button(left, 0)->SetFocus();
    Key(Button(left, 0), VK_UP);
    EXPECT_TRUE(pager->Focused());
    // Down from the tab row goes to the first group's first button.
    Key(pager, VK_DOWN);
    EXPECT_EQ(::GetFocus(), Button(left, 0)->Handle());
}

TEST_F(KeyTipsOnForm, LeftRightOnTheTabRowUnlessTheWindowsKeyIsHeld) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N", L"D"});
    pager->SetFocus();
    pager->ShowTabShortCutHint();
    Key(pager, VK_RIGHT);
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    EXPECT_FALSE(pager->TabShortCutHintShowing());
    FHeld = {VK_LWIN};
    Key(pager, VK_LEFT);
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    FHeld.clear();
    Key(pager, VK_LEFT);
    Key(pager, VK_LEFT);
    EXPECT_EQ(pager->ActivePageIndex(), 2) << "wraps round";
}

TEST_F(KeyTipsOnForm, FocusLeavingAndFormSizeHideTheTips) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N"});
    auto* edit = new TEdit(FForm.get());
    edit->SetParent(FForm.get());
    edit->SetBounds(10, 200, 100, 24);
    pager->SetFocus();
    pager->ShowTabShortCutHint();
    edit->SetFocus();
    TestSupport::PumpMessages();
    EXPECT_FALSE(pager->TabShortCutHintShowing());
    EXPECT_EQ(TabTipsShowing(pager), 0);

    ASSERT_TRUE(pager->FormHooked());
    pager->ShowTabShortCutHint();
    FForm->SetWidth(FForm->Width() - 20);
    EXPECT_FALSE(pager->TabShortCutHintShowing());
}

TEST_F(KeyTipsOnForm, FreedPagerGivesTheFormItsProcedureBack) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"});
    ASSERT_TRUE(pager->FormHooked());
    int seen = 0;
    // Someone chains onto the pager's procedure after it hooked the form.
    auto previous = FForm->WindowProc;
    FForm->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_SIZE) ++seen;
        previous(message);
    };
    delete pager;
    FForm->SetWidth(FForm->Width() - 30);  // reaches the freed pager's procedure: it must only pass on
    TestSupport::PumpMessages();
    EXPECT_GE(seen, 1);
    FForm->WindowProc = previous;

    // A second form with two pagers is never hooked.
    TAdvToolBarPager* one = NewPager({L"H"});
    auto* two = new TAdvToolBarPager(FForm.get());
    two->SetParent(FForm.get());
    two->Update();
    EXPECT_TRUE(one->FormHooked());
    EXPECT_FALSE(two->FormHooked());
}

TEST_F(KeyTipsOnForm, CtrlF1TogglesOncePerPressThroughTheThreadHook) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H"});
    ASSERT_EQ(TAdvToolBarPager::KeyHookedPager(), pager);
    int toggles = 0;
    pager->OnCollaps = [&](TObject*) { ++toggles; };
    pager->OnExpand = [&](TObject*) { ++toggles; };
    auto* edit = new TEdit(FForm.get());  // another control has the focus
    edit->SetParent(FForm.get());
    edit->SetBounds(10, 200, 100, 24);
    edit->SetFocus();
    const auto press = [&](WORD key) {
        ::PostMessageW(edit->Handle(), WM_KEYDOWN, key, 0);
        TestSupport::PumpMessages();
    };
    const auto release = [&](WORD key) {
        ::PostMessageW(edit->Handle(), WM_KEYUP, key, 0);
        TestSupport::PumpMessages();
    };
    FHeld = {VK_CONTROL};
    press(VK_F1);
    EXPECT_FALSE(pager->Expanded());
    press(VK_F1);  // held: auto-repeat
    press(VK_F1);
    EXPECT_EQ(toggles, 1);
    release(VK_F1);
    press(VK_F1);
    EXPECT_TRUE(pager->Expanded());
    release(VK_F1);
    for (int other : {VK_SHIFT, VK_MENU}) {
        FHeld = {VK_CONTROL, other};
        press(VK_F1);
        release(VK_F1);
    }
    EXPECT_EQ(toggles, 2);
    delete pager;
    EXPECT_EQ(TAdvToolBarPager::KeyHookedPager(), nullptr);
}

TEST_F(KeyTipsOnForm, TipsSitBesideTheirTabAndButtonRow) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager({L"H", L"N"});
    TAdvPage* page = pager->AdvPages(1);
    pager->ShowTabShortCutHint();
    AdvGlowButton::TShortCutHintWindow* tip = page->ShortCutHintWindow();
    ASSERT_TRUE(TipShows(tip));
    const TRect tab = pager->GetTabRect(page);
    const TPoint corner = pager->ClientToScreen({tab.Left, tab.Top});
    RECT placed{};
    ::GetWindowRect(tip->Handle(), &placed);
    const int w = placed.right - placed.left, h = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, corner.X + (tab.Width() - w) / 2);  // shpBottom, the default
    EXPECT_EQ(placed.top, corner.Y + tab.Height() - h / 2);
    pager->HideTabShortCutHint(true);

    // A group of one large button and two small ones: rows 1 and 2 only, so the lower small
    // button's tip goes below its bottom left.
    TAdvToolBar* bar = AddGroup(pager->AdvPages(0), {L"L", L"S1", L"S2"});
    Button(bar, 1)->SetButtonSizeState(AdvGlowButton::bsLabel);
    Button(bar, 2)->SetButtonSizeState(AdvGlowButton::bsLabel);
    for (int i = 0; i < 3; ++i) Button(bar, i)->SetShortCutHintPos(AdvGlowButton::shpAuto);
    bar->ArrangeItems(true);
    pager->AdvPages(0)->ShowShortCutHintOfAdvToolBars();
    const auto rows = bar->ButtonRows();
    ASSERT_GT(rows[1], 0) << "two rows of small buttons";
    EXPECT_EQ(rows[2], -100);
    TAdvGlowButton* lower = Button(bar, 1)->Top() > Button(bar, 2)->Top() ? Button(bar, 1) : Button(bar, 2);
    ASSERT_TRUE(TipShows(lower->ShortCutHintWindow()));
    ::GetWindowRect(lower->ShortCutHintWindow()->Handle(), &placed);
    const TPoint origin = lower->ClientOrigin();
    EXPECT_EQ(placed.left, origin.X + 6);
    EXPECT_EQ(placed.top, origin.Y + lower->Height());
}

