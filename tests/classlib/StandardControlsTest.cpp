#include "classlib/StandardControls.h"

#include <gtest/gtest.h>

#include "classlib/Form.h"
#include "classlib/Menus.h"
#include "classlib/StringList.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

TEST(StandardControlsHeadless, CheckedSetInCodeClicksOnlyOnChange) {
    TCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
    // Quiet setting, as the program's helper does it: without the handler for a moment.
    const TNotifyEvent handler = box.OnClick;
    box.OnClick = nullptr;
    box.SetChecked(true);
    box.OnClick = handler;
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box.State(), cbChecked);
}

TEST(StandardControlsHeadless, ScrollCodesMoveThePositionWithinRange) {
    TScrollBar bar(nullptr);
    bar.SetParams(50, 0, 100);
    bar.SetSmallChange(1);
    bar.SetLargeChange(10);
    std::vector<TScrollCode> codes;
    bar.OnScroll = [&](TObject*, TScrollCode code, int& position) {
        codes.push_back(code);
        if (code == scTrack) position = 33;  // a handler may move the thumb elsewhere
    };
    struct TCase {
        TScrollCode Code;
        int Track;
        int Expected;
    };
    const TCase cases[] = {
        {scLineDown, 0, 51}, {scLineUp, 0, 50}, {scPageDown, 0, 60}, {scPageUp, 0, 50},
        {scTop, 0, 0}, {scBottom, 0, 100}, {scPosition, 70, 70}, {scTrack, 90, 33},
        {scEndScroll, 0, 33},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Code));
        bar.Scroll(c.Code, c.Track);
        EXPECT_EQ(bar.Position(), c.Expected);
    }
    EXPECT_EQ(codes.size(), std::size(cases));
    // With a page the thumb cannot pass Max - PageSize + 1.
    bar.SetPageSize(20);
    bar.SetPosition(100);
    EXPECT_EQ(bar.Position(), 81);
}

TEST(StandardControlsHeadless, PopupMenuItemsKeepTheirSettings) {
    TPopupMenu menu(nullptr);
    auto* copy = new TMenuItem(&menu);
    copy->SetCaption(L"Copy");
    copy->SetShortCut(TShortCut(scCtrl | 'C'));
    copy->SetImageIndex(1);
    auto* line = new TMenuItem(&menu);
    line->SetCaption(L"-");
    menu.Items()->Add(copy);
    menu.Items()->Add(line);
    int clicks = 0;
    copy->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(copy->ShortCutText(), L"Ctrl+C");
    EXPECT_EQ(TextToShortCut(L"Ctrl+C"), TShortCut(scCtrl | 'C'));
    EXPECT_TRUE(line->IsLine());
    EXPECT_EQ(menu.Items()->Find(L"&Copy"), copy);
    copy->SetEnabled(false);
    copy->Click();
    EXPECT_EQ(clicks, 0);
    copy->SetEnabled(true);
    copy->Click();
    EXPECT_EQ(clicks, 1);
    delete line;
    EXPECT_EQ(menu.Items()->Count(), 1);
}

TEST(StandardControlsWindow, ListAndMemoKeepTheirWindowInStep) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    TListBox list(nullptr);
    list.SetParent(&form);
    list.Items()->Add(L"one");
    list.Items()->Add(L"two");
    list.SetItemIndex(1);
    list.SetStyle(lbOwnerDrawFixed);
    int drawn = 0;
    list.OnDrawItem = [&](TWinControl*, int, TRect, TOwnerDrawState) { ++drawn; };
    TMemo memo(nullptr);
    memo.SetParent(&form);
    memo.SetBounds(0, 100, 200, 80);
    memo.Lines()->Add(L"first");
    form.Show();
    form.Update();
    TestSupport::PumpMessages();

    EXPECT_EQ(::SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_GE(drawn, 1);
    list.Items()->Add(L"three");
    EXPECT_EQ(::SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0), 3);

    memo.Lines()->Add(L"second");
    EXPECT_EQ(memo.GetText(), L"first\r\nsecond\r\n");
    // As if typed: the edit control reports the change.
    ::SendMessageW(memo.Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(memo.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typed\r\ntext"));
    EXPECT_EQ(memo.Lines()->Count(), 2);
    EXPECT_EQ(memo.Lines()->Strings(0), L"typed");
    list.SetParent(nullptr);
    memo.SetParent(nullptr);
}
