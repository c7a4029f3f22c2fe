#include "classlib/StandardControls.h"

#include <gtest/gtest.h>

#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
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

TEST(StandardControlsHeadless, ComboBoxTextFollowsTheSelectedItemOfADropDownList) {
    TComboBox combo(nullptr);
    combo.SetStyle(csDropDownList);
    combo.Items()->Add(L"9600");
    combo.Items()->Add(L"115200");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.GetText(), L"115200");
    combo.SetText(L"9600");
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetText(L"300");  // not in the list: nothing selected
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.GetText(), L"");
    combo.SetItemIndex(1);
    combo.Items()->Delete(1);  // the selection goes with its item
    EXPECT_EQ(combo.ItemIndex(), -1);
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

namespace {
// Shows the system menu a popup menu builds, without popping it up.
class TBuiltMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    HMENU Build() { return BuildMenu(Items(), true); }
    void Release(HMENU menu) { ReleaseMenu(menu); }
    int Bitmaps() const { return int(FBitmaps.size()); }
};
}  // namespace

TEST(StandardControlsHeadless, APopupMenuBuildsItsSystemMenu) {
    TBuiltMenu menu(nullptr);
    TImageList images(nullptr);
    TBitmap picture(16, 16, pf32bit);
    images.Add(&picture, nullptr);
    menu.SetImages(&images);
    struct TItem {
        const wchar_t* Caption;
        TShortCut ShortCut;
        int ImageIndex;
        bool Enabled;
    };
    const TItem items[] = {
        {L"Undo", TShortCut(scCtrl | 'Z'), 0, false},
        {L"-", 0, -1, true},
        {L"Select All", TShortCut(scCtrl | 'A'), -1, true},
    };
    for (const TItem& item : items) {
        auto* menuItem = new TMenuItem(&menu);
        menuItem->SetCaption(item.Caption);
        menuItem->SetShortCut(item.ShortCut);
        menuItem->SetImageIndex(item.ImageIndex);
        menuItem->SetEnabled(item.Enabled);
        menu.Items()->Add(menuItem);
    }
    HMENU built = menu.Build();
    ASSERT_EQ(::GetMenuItemCount(built), 3);
    wchar_t text[64] = {};
    ::GetMenuStringW(built, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Undo\tCtrl+Z");
    EXPECT_TRUE(::GetMenuState(built, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(built, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(menu.Bitmaps(), 1);
    // The command numbers lead back to the items.
    int clicks = 0;
    menu.Items()->Items(2)->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(menu.DispatchCommand(::GetMenuItemID(built, 2)));
    EXPECT_EQ(clicks, 1);
    menu.Release(built);
    EXPECT_EQ(menu.Bitmaps(), 0);
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
    list.SetItemHeight(23);
    list.OnDrawItem = [&](TWinControl*, int, TRect rect, TOwnerDrawState) {
        ++drawn;
        EXPECT_EQ(rect.Height(), 23);  // the height the list asked its parent for
    };
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

namespace {

// Pixels of `colour` and pixels of neither `colour` nor `background` in a box.
struct TInkCount { int Exact = 0; int Other = 0; };
TInkCount CountInk(TCanvas* canvas, const TRect& box, TColor colour, TColor background) {
    TInkCount count;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            const TColor pixel = canvas->Pixels(x, y);
            if (pixel == colour) ++count.Exact;
            else if (pixel != background) ++count.Other;
        }
    return count;
}

}  // namespace

TEST(StandardControlsWindow, PanelAndLabelPaintFaceBevelAndText) {
    REQUIRE_DISPLAY();
    const TColor face = ColorToRGB(clBtnFace), light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 120, 40);
    panel->SetCaption(L"WWW");
    panel->Handle();
    TBitmap picture(120, 40, pf32bit);
    TCanvas* canvas = picture.Canvas();
    panel->Perform(WM_PAINT, WPARAM(canvas->Handle()), 0);
    EXPECT_EQ(canvas->Pixels(0, 20), light);    // a raised bevel: light on the top and left
    EXPECT_EQ(canvas->Pixels(60, 0), light);
    EXPECT_EQ(canvas->Pixels(119, 20), dark);   // dark on the right and bottom
    EXPECT_EQ(canvas->Pixels(60, 39), dark);
    EXPECT_EQ(canvas->Pixels(5, 5), face);
    EXPECT_GT(CountInk(canvas, {30, 5, 90, 35}, ColorToRGB(panel->Font()->Color()), face).Exact, 0);   // the caption, centred
    EXPECT_EQ(CountInk(canvas, {2, 2, 25, 38}, ColorToRGB(panel->Font()->Color()), face).Exact, 0);

    // A disabled label writes in grey text, never in its font's colour.
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption(L"WWW");
    label->SetEnabled(false);
    TBitmap labelPicture(label->Width(), label->Height(), pf32bit);
    TCanvas* labelCanvas = labelPicture.Canvas();
    label->Perform(WM_PAINT, WPARAM(labelCanvas->Handle()), 0);
    const TRect all{0, 0, label->Width(), label->Height()};
    const TColor background = ColorToRGB(label->Color());
    EXPECT_GT(CountInk(labelCanvas, all, ColorToRGB(clGrayText), background).Exact, 0);
    EXPECT_EQ(CountInk(labelCanvas, all, ColorToRGB(label->Font()->Color()), background).Exact, 0);
    EXPECT_EQ(labelCanvas->Pixels(0, 0), background);
}

TEST(StandardControlsWindow, GroupBoxFramesItsControlsUnderItsCaption) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 150, 80);
    box->SetCaption(L"WWW");
    auto* inner = new TCheckBox(&form);
    inner->SetParent(box);
    inner->SetBounds(8, 20, 100, 16);
    EXPECT_EQ(inner->Parent(), box);
    box->Handle();
    EXPECT_EQ(::GetParent(inner->Handle()), box->Handle());
    TBitmap picture(150, 80, pf32bit);
    TCanvas* canvas = picture.Canvas();
    box->Perform(WM_PAINT, WPARAM(canvas->Handle()), 0);
    const TColor face = ColorToRGB(box->Color());
    EXPECT_NE(canvas->Pixels(0, 60), face);   // the frame's left edge
    EXPECT_NE(canvas->Pixels(75, 79), face);  // and its bottom one
    EXPECT_EQ(canvas->Pixels(75, 60), face);
    EXPECT_GT(CountInk(canvas, {8, 0, 60, 16}, ColorToRGB(box->Font()->Color()), face).Exact, 0);
}
