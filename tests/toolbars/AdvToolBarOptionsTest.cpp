// A toolbar standing in for a docked one hides the items used longest ago, brings them back
// with room, and lists them in its options drop-down.
#include "toolbars/AdvToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "classlib/Form.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarBase.h"
#include "support/WindowTestSupport.h"
#include "toolbars/ATBPopupWindow.h"
#include "toolbars/AdvOptionSelector.h"
#include "toolbars/AdvToolBarItem.h"
#include "ToolBarTestItems.h"

using namespace ClassLib;
using namespace AdvToolBar;
using AdvGlowButton::TAdvGlowButton;

namespace {

class HiddenItemsWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 500, 200);
        FToolBar = new TAdvToolBar(FForm.get());
        FToolBar->SetName(L"Bar");
        FToolBar->SetParent(FForm.get());
        FToolBar->SetCaption(L"Standard");
        int left = 10;
        for (const wchar_t* name : {L"A", L"B", L"Sep", L"C", L"D"}) {
            const bool separator = name == std::wstring(L"Sep");
            TControl* item = separator ? static_cast<TControl*>(new TTestSeparator(FForm.get()))
                                       : new TAdvGlowButton(FForm.get());
            item->SetName(name);
            item->SetCaption(name);
            item->SetBounds(left, 2, separator ? 8 : 23, 22);
            item->SetParent(FToolBar);
            left += 30;
            FItems.push_back(item);
        }
        FForm->Show();
        // Used D first, A last: A is the most recently used.
        for (int i : {4, 3, 1, 0}) FToolBar->PromoteControl(FItems[size_t(i)]);
        FToolBar->SetDockedStandIn(true);
        FFull = FToolBar->Width();
    }
    std::vector<TControl*> Hidden() const {
        std::vector<TControl*> hidden;
        const TDbgList* list = FToolBar->HiddenControls();
        for (int i = 0; i < list->Count(); ++i)
            hidden.push_back(static_cast<TControl*>(static_cast<TObject*>(list->GetItemsEx(i))));
        return hidden;
    }
    std::vector<TControl*> Items(std::initializer_list<int> indexes) const {
        std::vector<TControl*> items;
        for (int i : indexes) items.push_back(FItems[size_t(i)]);
        return items;
    }
    std::unique_ptr<TForm> FForm;
    TAdvToolBar* FToolBar = nullptr;
    std::vector<TControl*> FItems;  // A, B, |, C, D
    int FFull = 0;
};

}  // namespace

TEST_F(HiddenItemsWindow, TheToolBarHoldsAllItemsAtFullLength) {
    REQUIRE_DISPLAY();
    EXPECT_EQ(FToolBar->ToolBarControlCount(), 5);
    EXPECT_EQ(FFull, 9 + 4 * 23 + 8 + FToolBar->RightHandleWidth());
    EXPECT_TRUE(Hidden().empty());
}

TEST_F(HiddenItemsWindow, ShrinkingHidesLeastRecentlyUsedAndGrowingBringsThemBack) {
    REQUIRE_DISPLAY();
    FToolBar->SetWidth(FFull - 1);
    EXPECT_EQ(Hidden(), Items({4}));
    // A hidden item on the toolbar waits below it.
    EXPECT_GE(FItems[4]->Top(), FToolBar->Height());
    FToolBar->SetWidth(FFull - 24);
    EXPECT_EQ(Hidden(), Items({4, 3, 2}));
    FToolBar->SetWidth(FFull - 25);  // room for C alone, not for C with its separator
    EXPECT_EQ(Hidden(), Items({4, 3, 2}));
    FToolBar->SetWidth(FFull - 23);
    EXPECT_EQ(Hidden(), Items({4}));
    FToolBar->SetWidth(FFull);
    EXPECT_TRUE(Hidden().empty());
    EXPECT_EQ(FItems[4]->Left(), 9 + 3 * 23 + 8);
}

TEST_F(HiddenItemsWindow, PromotingAHiddenItemMakesAnotherGiveWay) {
    REQUIRE_DISPLAY();
    FToolBar->SetWidth(FFull - 1);
    ASSERT_EQ(Hidden(), Items({4}));
    FToolBar->PromoteControl(FItems[4]);
    EXPECT_EQ(Hidden(), Items({3}));
    EXPECT_EQ(FItems[4]->Parent(), FToolBar);
}

TEST_F(HiddenItemsWindow, WithoutAutoArrangeTheRightmostGoFirst) {
    REQUIRE_DISPLAY();
    for (int i : {0, 1, 3, 4}) FToolBar->PromoteControl(FItems[size_t(i)]);  // D most recent
    FToolBar->SetWidth(FFull - 1);
    EXPECT_EQ(Hidden(), Items({0}));
    FToolBar->SetWidth(FFull);
    FToolBar->SetAutoArrangeButtons(false);
    FToolBar->SetWidth(FFull - 1);
    EXPECT_EQ(Hidden(), Items({4}));
}

TEST_F(HiddenItemsWindow, FullSizeAndLeavingTheDockRestoreEverything) {
    REQUIRE_DISPLAY();
    FToolBar->SetWidth(FFull - 24);
    ASSERT_EQ(Hidden().size(), 3u);
    FToolBar->SetFullSize(true);
    FToolBar->SetWidth(FFull - 25);
    EXPECT_TRUE(Hidden().empty());
    FToolBar->SetFullSize(false);
    FToolBar->SetWidth(FFull - 24);
    ASSERT_EQ(Hidden().size(), 3u);
    FToolBar->SetDockedStandIn(false);
    EXPECT_TRUE(Hidden().empty());
    for (TControl* item : FItems) EXPECT_EQ(item->Parent(), FToolBar);
}

TEST_F(HiddenItemsWindow, AMovedItemKeepsItsRecentlyUsedPlaceAndStillHides) {
    REQUIRE_DISPLAY();
    FToolBar->SetWidth(FFull - 1);
    ASSERT_EQ(Hidden(), Items({4}));
    FToolBar->MoveToolBarControl(4, 0);  // D to the front: back from hiding first
    EXPECT_EQ(FToolBar->IndexOfToolBarControl(FItems[4]), 0);
    EXPECT_EQ(Hidden(), Items({4}));
    FToolBar->MoveToolBarControl(0, 0);
    FToolBar->MoveToolBarControl(-1, 2);
    EXPECT_EQ(FToolBar->IndexOfToolBarControl(FItems[4]), 0);
}

TEST_F(HiddenItemsWindow, TheDropDownListsTheHiddenItemsAboveItsEntries) {
    REQUIRE_DISPLAY();
    FToolBar->SetAutoOptionMenu(true);
    FToolBar->SetWidth(FFull - 24);
    FToolBar->ShowOptionWindow(0, 0, false);
    TOptionSelectorWindow* window = FToolBar->OptionWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    TControlSelectorPanel* panel = FToolBar->OptionWindowPanel();
    // The hidden separator would open the list: only C and D are shown.
    ASSERT_EQ(panel->ControlListCount(), 2);
    EXPECT_EQ(panel->ControlListItem(0), FItems[3]);
    EXPECT_EQ(FItems[3]->Parent(), panel);
    EXPECT_EQ(FItems[3]->Left(), 3);
    EXPECT_EQ(FItems[4]->Left(), 26);
    EXPECT_EQ(window->Width(), panel->AddAndRemoveBtn().Width() + 6);
    EXPECT_EQ(panel->AddAndRemoveBtn().BRect().Height(), panel->AddAndRemoveBtn().Height());
    EXPECT_TRUE(panel->OptionsBtn().BRect().IsEmpty());
    // The window belongs to the toolbar but is never one of its items.
    EXPECT_EQ(window->Parent(), FToolBar);
    EXPECT_EQ(FToolBar->ToolBarControlCount(), 5);
    // Below the handle's end, on the screen.
    const TPoint below = FForm->ClientToScreen({FToolBar->Left() + FToolBar->Width() - 12, FToolBar->Height() + 1});
    EXPECT_EQ(below, FForm->ClientToScreen({FToolBar->Left() + FToolBar->Width() - 12, FToolBar->Top() + FToolBar->Height() + 1}));
    EXPECT_EQ(window->Top(), below.Y);
    EXPECT_EQ(window->Left(), below.X);

    window->Hide();
    EXPECT_FALSE(FToolBar->OptionWindow()->Visible());
    EXPECT_EQ(FToolBar->ToolBarControlCount(), 5);
}

TEST_F(HiddenItemsWindow, ASeparatorBetweenHiddenGroupsIsCopiedForTheShowingOnly) {
    REQUIRE_DISPLAY();
    FToolBar->SetAutoOptionMenu(true);
    // D and B hidden; the separator between them stays on the toolbar and a copy of it
    // stands between them in the drop-down.
    for (int i : {4, 1, 3, 0}) FToolBar->PromoteControl(FItems[size_t(i)]);
    FToolBar->SetWidth(FFull - 30);
    ASSERT_EQ(Hidden(), Items({4, 1}));
    FToolBar->ShowOptionWindow(0, 0, false);
    TControlSelectorPanel* panel = FToolBar->OptionWindowPanel();
    ASSERT_EQ(panel->ControlListCount(), 3);
    TControl* copy = panel->ControlListItem(1);
    EXPECT_NE(copy, FItems[2]);
    EXPECT_EQ(FItems[2]->Parent(), FToolBar);
    EXPECT_EQ(copy->ClassType().ClassName(), L"TTestSeparator");
    FToolBar->OptionWindow()->Hide();
    EXPECT_EQ(panel->ControlListCount(), 2);
}

TEST_F(HiddenItemsWindow, AnEmptyDropDownNeverShows) {
    REQUIRE_DISPLAY();
    FToolBar->ShowOptionWindow(0, 0, false);
    ASSERT_NE(FToolBar->OptionWindowPanel(), nullptr);
    EXPECT_TRUE(FToolBar->OptionWindowPanel()->IsEmpty());
    EXPECT_FALSE(FToolBar->OptionWindow()->Visible());
}

TEST_F(HiddenItemsWindow, TheOptionClickReportsThePointBelowTheHandle) {
    REQUIRE_DISPLAY();
    TPoint client, screen;
    FToolBar->OnOptionClick = [&](TObject*, TPoint c, TPoint s) {
        client = c;
        screen = s;
    };
    const TRect handle = RightHandleRect(FToolBar->Frame());
    ::SendMessageW(FToolBar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(handle.Left + 2, handle.Top + 2));
    ::SendMessageW(FToolBar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(handle.Left + 2, handle.Top + 2));
    EXPECT_EQ(client, (TPoint{FToolBar->Left() + FToolBar->Width() - 12, FToolBar->Top() + FToolBar->Height() + 1}));
    EXPECT_EQ(screen, FForm->ClientToScreen(client));
}

TEST_F(HiddenItemsWindow, TheCheckListShowsAndHidesAnItem) {
    REQUIRE_DISPLAY();
    FToolBar->SetAutoOptionMenu(true);
    std::vector<TControl*> changes;
    FToolBar->OnControlVisibleChange = [&](TObject*, TControl* control) { changes.push_back(control); };
    FToolBar->ShowOptionWindow(0, 0, false);
    TControlSelectorPanel* panel = FToolBar->OptionWindowPanel();
    panel->ShowAddAndRemovePopup();
    TATBPopupWindow* popup = panel->AddAndRemovePopup();
    ASSERT_NE(popup, nullptr);
    TATBMenuItem* root = popup->Items();
    ASSERT_EQ(root->Count(), 1);
    EXPECT_EQ(root->Items(0)->Caption(), L"Standard");
    ASSERT_EQ(root->Items(0)->Count(), 4);  // every item but the separator
    EXPECT_EQ(root->Items(0)->Items(2)->Caption(), L"C");
    EXPECT_TRUE(root->Items(0)->Items(2)->Checked());
    // The root entry has a sub-list: 30 more for its arrow.
    const TRect rootRect = root->Items(0)->BoundRect();
    EXPECT_GE(rootRect.Width(), 70);

    TATBPopupPanel* list = popup->PopupPanel();
    ASSERT_EQ(list->IndexOfItemAt(rootRect.Left + 1, rootRect.Top + 1), 0);
    // The left button held opens nothing; hovering alone opens the sub-list.
    ::SendMessageW(list->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rootRect.Left + 2, rootRect.Top + 2));
    EXPECT_EQ(list->ItemPopup(), nullptr);
    ::SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(rootRect.Left + 2, rootRect.Top + 2));
    ASSERT_NE(list->ItemPopup(), nullptr);
    EXPECT_TRUE(list->ItemPopup()->Visible());
    TATBPopupPanel* items = list->ItemPopup()->PopupPanel();
    items->ToggleCheck(2);
    EXPECT_FALSE(FItems[3]->Visible());
    items->ToggleCheck(2);
    EXPECT_TRUE(FItems[3]->Visible());
    EXPECT_EQ(changes, Items({3, 3}));
}

TEST_F(HiddenItemsWindow, AFreedItemLeavesTheDropDownAndTheToolBarLists) {
    REQUIRE_DISPLAY();
    FToolBar->SetAutoOptionMenu(true);
    FToolBar->SetWidth(FFull - 24);
    FToolBar->ShowOptionWindow(0, 0, false);
    ASSERT_EQ(FToolBar->OptionWindowPanel()->ControlListCount(), 2);
    const void* freed = FItems[4];
    delete FItems[4];  // D, shown in the drop-down
    FItems.pop_back();
    TControlSelectorPanel* panel = FToolBar->OptionWindowPanel();
    for (int i = 0; i < panel->ControlListCount(); ++i) EXPECT_NE(static_cast<const void*>(panel->ControlListItem(i)), freed);
    EXPECT_EQ(FToolBar->ToolBarControlCount(), 4);
    for (TControl* hidden : Hidden()) EXPECT_NE(std::find(FItems.begin(), FItems.end(), hidden), FItems.end());
    FToolBar->OptionWindow()->Hide();
    FToolBar->SetWidth(FFull);
    EXPECT_TRUE(Hidden().empty());
}
