// The system tab control behind TCustomTabControl: tabs kept before and after the window
// exists, the selection protocol, the layout the window reports.
#include "classlib/TabControl.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

// A tab control on a shown form; the form owns it.
template <class T = TCustomTabControl>
T* ShownTabControl(TForm& form) {
    form.SetBounds(0, 0, 400, 300);
    auto* tabs = new T(&form);
    tabs->SetParent(&form);
    tabs->SetBounds(10, 10, 300, 200);
    return tabs;
}

TEST(TabControl, TabsAndSelectionSurviveTheWindowBeingMade) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* tabs = new TCustomTabControl(&form);
    TObject marker;
    tabs->AddTab(L"One");
    tabs->AddTab(L"Two", &marker);
    tabs->InsertTab(0, L"Zero", nullptr);
    tabs->SetTabIndex(2);
    tabs->SetParent(&form);
    tabs->SetBounds(10, 10, 300, 200);
    form.Show();
    TestSupport::PumpMessages();
    ASSERT_TRUE(tabs->HandleAllocated());
    EXPECT_EQ(tabs->WindowTabText(0), L"Zero");
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(tabs->TabObject(2), &marker);
    EXPECT_EQ(tabs->IndexOfTabObject(&marker), 2);

    tabs->MoveTab(2, 0);
    EXPECT_EQ(tabs->WindowTabText(0), L"Two");
    EXPECT_EQ(tabs->TabIndex(), 0) << "the selection moves with its tab";
    tabs->DeleteTab(1);
    EXPECT_EQ(tabs->TabCount(), 2);
    EXPECT_EQ(tabs->WindowTabText(1), L"One");

    // Layout as the window reports it: the display area lies below the strip.
    const TRect first = tabs->TabRect(0), second = tabs->TabRect(1);
    EXPECT_GT(first.Width(), 0);
    EXPECT_LE(first.Right, second.Left + 2);
    const TRect middle{(second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2, 0, 0};
    EXPECT_EQ(tabs->IndexOfTabAt(middle.Left, middle.Top), 1);
    EXPECT_GE(tabs->DisplayRect().Top, first.Bottom);

    // Fixed sizes and a recreated window keep everything.
    tabs->SetTabWidth(80);
    tabs->SetTabHeight(30);
    EXPECT_EQ(tabs->TabRect(1).Width(), 80);
    EXPECT_EQ(tabs->TabRect(1).Height(), 30);
    tabs->SetTabPosition(tpBottom);
    EXPECT_EQ(tabs->TabCount(), 2);
    EXPECT_EQ(tabs->WindowTabText(0), L"Two");
    EXPECT_GT(tabs->TabRect(0).Top, tabs->Height() / 2);
}

// Records the protocol: asked before the user's change, told after it.
class TProtocolTabs : public TCustomTabControl {
public:
    using TCustomTabControl::TCustomTabControl;
    bool Allow = true;
    int Asked = 0, Told = 0;
protected:
    bool CanChange() override {
        ++Asked;
        return Allow && TCustomTabControl::CanChange();
    }
    void Change() override {
        ++Told;
        TCustomTabControl::Change();
    }
};

TEST(TabControl, UserSelectionAsksFirstAndReportsAfter) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    auto* tabs = ShownTabControl<TProtocolTabs>(form);
    for (const wchar_t* text : {L"A", L"B", L"C"}) tabs->AddTab(text);
    tabs->SetTabIndex(0);
    form.Show();
    TestSupport::PumpMessages();
    tabs->SetFocus();
    tabs->Allow = false;
    tabs->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tabs->TabIndex(), 0) << "refused";
    EXPECT_EQ(tabs->Asked, 1);
    EXPECT_EQ(tabs->Told, 0);
    tabs->Allow = true;
    int changes = 0;
    tabs->OnChange = [&changes](TObject*) { ++changes; };
    tabs->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->Told, 1);
    EXPECT_EQ(changes, 1);
}

TEST(TabControl, ImagesReserveRoomAndFollowTheirList) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    auto* tabs = ShownTabControl(form);
    tabs->AddTab(L"Text");
    form.Show();
    TestSupport::PumpMessages();
    {
        TImageList images(nullptr);
        images.SetSize(20, 8);
        tabs->SetTabImages(&images);
        const int narrow = tabs->TabRect(0).Width();
        images.SetSize(40, 8);
        EXPECT_EQ(tabs->TabRect(0).Width(), narrow + 20) << "a resized list is handed over again";
    }
    EXPECT_EQ(tabs->TabImages(), nullptr) << "a freed list is forgotten";
}

}  // namespace
