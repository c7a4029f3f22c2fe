// Hidden items on a toolbar really docked in a dock panel: the panel narrows and widens,
// a button click brings its item back, floating and leaving the panel show everything, and
// a saved dock layout loads with the hiding running.
#include "toolbars/AdvToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/MemIniFile.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarSystem.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvDockRows.h"
#include "toolbars/AdvToolBarButton.h"
#include "toolbars/AdvToolBarCustomizer.h"
#include "toolbars/AdvToolBarSeparator.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

class DockedHiding : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        AdvToolBar::ResetDPIScale();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(60, 60, 640, 300);
        FForm->Show();
        FPanel = new TAdvDockPanel(FForm.get());
        FPanel->SetName(L"Top");
        FPanel->SetParent(FForm.get());
        FPanel->SetDockAlign(daTop);
        FBar = NewBar(L"Bar", {L"Alpha", L"Bravo", L"|", L"Charlie", L"Delta"}, FItems);
        // Used D first, A last: A is the most recently used.
        for (int i : {4, 3, 1, 0}) FBar->PromoteControl(FItems[size_t(i)]);
        FFull = FBar->Width();
    }
    void TearDown() override {
        ::ReleaseCapture();  // the scripted click must not leave the mouse held for later tests
        if (FForm) {
            FForm->BeforeDestruction();
            FForm.reset();
        }
        TestSupport::PumpMessages();
        // A dock panel fixes the process-wide DPI scale from its form; later tests expect it unset.
        AdvToolBar::ResetDPIScale();
    }
    // A toolbar docked in the panel with toolbar buttons and "|" for a separator.
    TAdvToolBar* NewBar(const wchar_t* name, std::initializer_list<const wchar_t*> captions, std::vector<TControl*>& items) {
        auto* bar = new TAdvToolBar(FForm.get());
        bar->SetName(name);
        bar->SetParent(FPanel);
        int n = 0;
        for (const wchar_t* caption : captions) {
            const std::wstring itemName = std::wstring(name) + L"Item" + std::to_wstring(n++);
            TControl* item = nullptr;
            if (caption == std::wstring(L"|")) {
                item = new TAdvToolBarSeparator(FForm.get());
            } else {
                auto* button = new TAdvToolBarButton(FForm.get());
                button->SetShowCaption(true);
                item = button;
            }
            item->SetName(itemName);
            if (caption != std::wstring(L"|")) item->SetCaption(caption);
            item->SetParent(bar);
            items.push_back(item);
        }
        return bar;
    }
    static std::vector<TControl*> Hidden(const TAdvToolBar* bar) {
        std::vector<TControl*> hidden;
        const TDbgList* list = bar->HiddenControls();
        for (int i = 0; i < list->Count(); ++i)
            hidden.push_back(static_cast<TControl*>(static_cast<TObject*>(list->GetItemsEx(i))));
        return hidden;
    }
    std::vector<TControl*> Items(std::initializer_list<int> indexes) const {
        std::vector<TControl*> items;
        for (int i : indexes) items.push_back(FItems[size_t(i)]);
        return items;
    }
    // Narrows (or widens) the form until the panel gives the toolbar `length` pixels or less.
    void SqueezeTo(int length) {
        for (int width = 640; width > 40 && FBar->Width() > length; --width) FForm->SetWidth(width);
    }
    // Every item is either shown inside the toolbar, before its handle, or hidden.
    static void ExpectTidy(const TAdvToolBar* bar) {
        const std::vector<TControl*> hidden = Hidden(bar);
        for (int i = 0; i < bar->ToolBarControlCount(); ++i) {
            TControl* item = bar->GetToolBarControls(i);
            if (std::find(hidden.begin(), hidden.end(), item) != hidden.end()) continue;
            EXPECT_EQ(item->Parent(), bar) << i;
            EXPECT_LE(item->Left() + item->Width(), bar->Width() - bar->RightHandleWidth()) << i;
        }
    }
    std::unique_ptr<TForm> FForm;
    TAdvDockPanel* FPanel = nullptr;
    TAdvToolBar* FBar = nullptr;
    std::vector<TControl*> FItems;  // Alpha, Bravo, |, Charlie, Delta
    int FFull = 0;
};

}  // namespace

TEST_F(DockedHiding, ThePanelNarrowingHidesTheLeastRecentlyUsedAndWideningBringsThemBack) {
    REQUIRE_DISPLAY();
    ASSERT_EQ(FBar->GetToolBarState(), tsDocked);
    ASSERT_TRUE(Hidden(FBar).empty());
    SqueezeTo(FFull - 1);
    ASSERT_LT(FBar->Width(), FFull);
    EXPECT_EQ(Hidden(FBar), Items({4}));
    // C goes next, and takes its group's separator with it.
    SqueezeTo(FFull - FItems[4]->Width() - 1);
    EXPECT_EQ(Hidden(FBar), Items({4, 3, 2}));
    ExpectTidy(FBar);
    FForm->SetWidth(640);
    EXPECT_EQ(FBar->Width(), FFull);
    EXPECT_TRUE(Hidden(FBar).empty());
    for (TControl* item : FItems) EXPECT_EQ(item->Parent(), FBar);
    ExpectTidy(FBar);
}

TEST_F(DockedHiding, ClickingAButtonRecordsItAsUsed) {
    REQUIRE_DISPLAY();
    SqueezeTo(FFull - 1);
    ASSERT_EQ(Hidden(FBar), Items({4}));
    // Clicked (from the drop-down, say): D comes back and C, now the least recently used, goes.
    FItems[4]->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    FItems[4]->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Hidden(FBar), Items({3}));
    EXPECT_EQ(FItems[4]->Parent(), FBar);
    ExpectTidy(FBar);
}

TEST_F(DockedHiding, FloatingAndLeavingThePanelShowEveryItem) {
    REQUIRE_DISPLAY();
    SqueezeTo(FFull - 1);
    ASSERT_FALSE(Hidden(FBar).empty());
    FBar->MakeFloating(300, 300, true);
    ASSERT_EQ(FBar->GetToolBarState(), tsFloating);
    EXPECT_TRUE(Hidden(FBar).empty());
    for (TControl* item : FItems) EXPECT_EQ(item->Parent(), FBar);
    // Back in the narrow panel the hiding runs again.
    FBar->Dock(FPanel);
    ASSERT_EQ(FBar->GetToolBarState(), tsDocked);
    SqueezeTo(FFull - 1);
    EXPECT_FALSE(Hidden(FBar).empty());
    ExpectTidy(FBar);
    // A plain parent has no drop-down: nothing may stay hidden there.
    FBar->SetParent(FForm.get());
    EXPECT_TRUE(Hidden(FBar).empty());
    for (TControl* item : FItems) EXPECT_EQ(item->Parent(), FBar);
}

// A saved dock layout of two toolbars sharing a narrow row loads back with both hiding
// what does not fit, and nothing lost.
TEST_F(DockedHiding, ASavedLayoutLoadsWithTheHidingOn) {
    REQUIRE_DISPLAY();
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"c4f-docked-hiding.ini";
    ::DeleteFileW(file.c_str());
    FPanel->Persistence()->SetLocation(plIniFile);
    FPanel->Persistence()->SetKey(file);
    FPanel->Persistence()->SetSection(L"Layout");
    std::vector<TControl*> otherItems;
    TAdvToolBar* other = NewBar(L"Other", {L"One", L"Two", L"|", L"Three", L"Four", L"Five", L"Six"}, otherItems);
    // Both in row 0.
    int top = FBar->Top(), height = other->Height();
    if (other->Row() != FBar->Row())
        FPanel->Rows()->SetToolBarTopAndHeight(FPanel->Rows()->Items(other->Row())->ToolBars(0), top, height);
    ASSERT_EQ(other->Row(), FBar->Row());
    FForm->SetWidth(std::max(FFull, other->Width()) + 60);
    ASSERT_FALSE(Hidden(FBar).empty() && Hidden(other).empty());
    FPanel->SaveToolBarsPosition();

    FPanel->StackToolBars();
    FPanel->LoadToolBarsPosition();
    EXPECT_EQ(other->Row(), FBar->Row());
    for (TAdvToolBar* bar : {FBar, other}) {
        SCOPED_TRACE(std::string(bar == FBar ? "Bar" : "Other"));
        ExpectTidy(bar);
        // Shorter than its items: something is hidden, and exactly while it is the
        // drop-down has something to list.
        int length = bar->RightHandleWidth();
        for (int i = 0; i < bar->ToolBarControlCount(); ++i) length += bar->GetToolBarControls(i)->Width();
        if (bar->Width() < length) {
            EXPECT_FALSE(Hidden(bar).empty());
        }
    }
    EXPECT_FALSE(Hidden(FBar).empty() && Hidden(other).empty());
    EXPECT_EQ(FBar->ToolBarControlCount(), 5);
    EXPECT_EQ(other->ToolBarControlCount(), 7);
    std::wstring why;
    EXPECT_TRUE(FPanel->Rows()->CheckInvariants(&why));
    ::DeleteFileW(file.c_str());
}

// A toolbar loaded from a form description records its designed layout for the customizer,
// then applies the user's.
TEST_F(DockedHiding, LoadingTheToolBarAppliesItsCustomization) {
    REQUIRE_DISPLAY();
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"c4f-loaded-customizer.ini";
    {
        TMemIniFile ini(L"[Cust]\r\nToolBarItemCount=2\r\nName0=BarItem3\r\nName0.ClassName=ADVTOOLBARBUTTON\r\n"
                        L"Name1=Made\r\nName1.ClassName=ADVTOOLBARBUTTON\r\nName1.CommandID=0\r\n"
                        L"Name1.ForceImageIndex=1\r\nName1.Caption=Print\r\n");
        ini.SetFileName(file);
        ini.UpdateFile();
    }
    auto* customizer = new TAdvToolBarCustomizer(FForm.get());
    customizer->SetName(L"Cust");
    customizer->Commands()->Add()->SetCaption(L"Print");
    FBar->BeginLoading();
    customizer->BeginLoading();
    customizer->SetAdvToolBar(FBar);
    customizer->SetFileName(file);
    customizer->Loaded();
    ASSERT_EQ(FBar->ToolBarControlCount(), 5);  // nothing applied while loading
    FBar->Loaded();

    ASSERT_EQ(FBar->ToolBarControlCount(), 2);
    EXPECT_EQ(FBar->GetToolBarControls(0), FItems[3]);
    auto* made = dynamic_cast<TAdvToolBarButton*>(FBar->GetToolBarControls(1));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Caption(), L"Print");
    EXPECT_EQ(made->CustomizerCommandID(), 0);
    EXPECT_TRUE(made->CustomizerCreated());
    EXPECT_TRUE(made->ForceImageIndex());
    // The designed layout went to the original section first, separator included.
    TMemIniFile saved;
    saved.LoadFromFile(file);
    EXPECT_EQ(saved.ReadInteger(L"CustOrg", L"ToolBarItemCount", -1), 5);
    EXPECT_EQ(saved.ReadString(L"CustOrg", L"Name2.ClassName", L""), L"ADVTOOLBARSEPARATOR");
    EXPECT_EQ(saved.ReadString(L"CustOrg", L"Name3.ClassName", L""), L"ADVTOOLBARBUTTON");
    EXPECT_EQ(saved.ReadString(L"CustOrg", L"Name3.Caption", L""), L"Charlie");
    // A reset brings the designed items back.
    customizer->ResetToolBar();
    EXPECT_EQ(FBar->ToolBarControlCount(), 5);
    ::DeleteFileW(file.c_str());
}
