#include "classlib/Menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "support/MemorySurface.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

TMenuItem* AddItem(TMenuItem* parent, const std::wstring& caption, TComponent* owner) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

std::wstring Captions(const std::vector<TMenuItem*>& items) {
    std::wstring text;
    for (const TMenuItem* item : items) text += (text.empty() ? L"" : L",") + item->Caption();
    return text;
}

MENUITEMINFOW EntryInfo(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
    ::GetMenuItemInfoW(menu, UINT(position), TRUE, &info);
    return info;
}

// Records every change a menu hears of.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    std::vector<TMenuItem*> Sources;
    void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) override {
        Sources.push_back(source);
        TPopupMenu::MenuChanged(sender, source, rebuild);
    }
};

}  // namespace

TEST(MenusHeadless, RedundantSeparatorsAreLeftOutUnlessTheMenuSaysOtherwise) {
    struct TCase {
        std::vector<const wchar_t*> Captions;  // "~x" is a hidden item x
        TMenuItemAutoFlag Flag;
        const wchar_t* Shown;
    };
    const TCase cases[] = {
        {{L"-", L"Open", L"-", L"-", L"Save", L"-"}, maAutomatic, L"Open,-,Save"},
        {{L"Open", L"-", L"~Hidden", L"-", L"Save"}, maAutomatic, L"Open,-,Save"},
        {{L"Open", L"-", L"~Save"}, maAutomatic, L"Open"},
        {{L"-", L"Open", L"-", L"-"}, maManual, L"-,Open,-,-"},
        {{L"-"}, maAutomatic, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Shown)));
        TPopupMenu menu(nullptr);
        menu.SetAutoLineReduction(c.Flag);
        for (const wchar_t* caption : c.Captions) {
            const bool hidden = caption[0] == L'~';
            AddItem(menu.Items(), hidden ? caption + 1 : caption, &menu)->SetVisible(!hidden);
        }
        EXPECT_EQ(Captions(ItemsToShow(menu.Items())), c.Shown);
    }
    // An item's own setting wins over its menu's for its sub-items.
    TPopupMenu menu(nullptr);
    TMenuItem* sub = AddItem(menu.Items(), L"Sub", &menu);
    AddItem(sub, L"-", &menu);
    AddItem(sub, L"Last", &menu);
    sub->SetAutoLineReduction(maManual);
    EXPECT_EQ(Captions(ItemsToShow(sub)), L"-,Last");
}

TEST(MenusHeadless, AMergedMenuReplacesTheGroupsItHasAndSlotsInTheOthers) {
    TMainMenu own(nullptr), child(nullptr);
    const std::pair<const wchar_t*, int> ownItems[] = {{L"File", 0}, {L"Edit", 1}, {L"Window", 5}, {L"Help", 9}};
    const std::pair<const wchar_t*, int> childItems[] = {{L"Edit2", 1}, {L"Format", 3}, {L"Tools", 3}, {L"Last", 10}};
    for (auto [caption, group] : ownItems) AddItem(own.Items(), caption, &own)->SetGroupIndex(group);
    for (auto [caption, group] : childItems) AddItem(child.Items(), caption, &child)->SetGroupIndex(group);
    EXPECT_EQ(Captions(MergedItems(own.Items(), child.Items())), L"File,Edit2,Format,Tools,Window,Help,Last");
    EXPECT_EQ(Captions(MergedItems(own.Items(), nullptr)), L"File,Edit,Window,Help");

    // The bar shows the merged items, finds their commands, and drops them on unmerge.
    own.Merge(&child);
    HMENU bar = own.Handle();
    EXPECT_EQ(::GetMenuItemCount(bar), 7);
    TMenuItem* tools = child.Items()->Items(2);
    EXPECT_EQ(own.FindItem(tools->Command(), fkCommand), tools);
    own.Unmerge(&child);
    EXPECT_EQ(::GetMenuItemCount(bar), 4);
    EXPECT_EQ(own.FindItem(tools->Command(), fkCommand), nullptr);
}

TEST(MenusHeadless, ItemsAreFoundByCommandHandleAndShortCutAndRunTheirClickOrAction) {
    TPopupMenu menu(nullptr);
    TMenuItem* file = AddItem(menu.Items(), L"&File", &menu);
    TMenuItem* open = AddItem(file, L"&Open", &menu);
    TMenuItem* save = AddItem(file, L"&Save", &menu);
    save->SetShortCut(TShortCut(scCtrl | 'S'));
    EXPECT_NE(open->Command(), save->Command());
    EXPECT_NE(open->Command(), 0u);
    EXPECT_LT(save->Command(), MDIFirstChildCommand);
    EXPECT_EQ(menu.FindItem(open->Command(), fkCommand), open);
    EXPECT_EQ(menu.FindItem(reinterpret_cast<UINT_PTR>(file->Handle()), fkHandle), file);
    EXPECT_EQ(menu.FindItem(scCtrl | 'S', fkShortCut), save);
    EXPECT_EQ(menu.FindItem(0xFFFE, fkCommand), nullptr);
    EXPECT_EQ(file->GetParentComponent(), &menu);
    EXPECT_EQ(open->GetParentComponent(), file);

    // An item with an action shows the action's values and runs it instead of OnClick.
    TActionList list(nullptr);
    TAction action(nullptr);
    action.SetActionList(&list);
    action.SetCaption(L"Save &all");
    action.SetImageIndex(3);
    int executed = 0, clicked = 0;
    action.OnExecute = [&](TObject*) { ++executed; };
    save->OnClick = [&](TObject*) { ++clicked; };
    save->SetAction(&action);
    EXPECT_EQ(save->Caption(), L"Save &all");
    EXPECT_EQ(save->ImageIndex(), 3);
    action.SetEnabled(false);
    EXPECT_FALSE(save->Enabled());
    action.SetEnabled(true);
    action.SetChecked(true);
    EXPECT_TRUE(save->Checked());
    EXPECT_TRUE(menu.DispatchCommand(save->Command()));
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(clicked, 0);
    save->SetAction(nullptr);
    menu.DispatchCommand(save->Command());
    EXPECT_EQ(clicked, 1);
}

TEST(MenusHeadless, CheckingARadioItemUnchecksTheOthersOfItsGroupOnly) {
    TPopupMenu menu(nullptr);
    std::vector<TMenuItem*> items;
    const int groups[] = {1, 1, 2, 1};
    for (int group : groups) {
        TMenuItem* item = AddItem(menu.Items(), L"Item", &menu);
        item->SetRadioItem(true);
        item->SetGroupIndex(group);
        items.push_back(item);
    }
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    items[3]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_TRUE(items[3]->Checked());
    // A plain item of the group is left alone.
    items[1]->SetRadioItem(false);
    items[1]->SetChecked(true);
    items[0]->SetChecked(true);
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_FALSE(items[3]->Checked());
}

TEST(MenusHeadless, ChangesReachTheMenuWithTheirSourceAndRefillTheSystemMenuInPlace) {
    TRecordingMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* open = AddItem(menu.Items(), L"Open", &menu);
    TMenuItem* recent = AddItem(menu.Items(), L"Recent", &menu);
    TMenuItem* first = AddItem(recent, L"a.c", &menu);
    HMENU top = menu.Handle();
    HMENU sub = recent->Handle();
    ASSERT_EQ(::GetMenuItemCount(top), 2);

    // Each entry carries the item's command and the item, drawn by its owner.
    MENUITEMINFOW info = EntryInfo(top, 1);
    EXPECT_EQ(info.wID, recent->Command());
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(recent));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.hSubMenu, sub);

    menu.Sources.clear();
    open->SetRadioItem(true);
    open->SetChecked(true);
    open->SetEnabled(false);
    open->SetBreak(mbBarBreak);
    EXPECT_EQ(menu.Sources, std::vector<TMenuItem*>(4, open));
    info = EntryInfo(top, 0);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_TRUE(info.fState & MFS_GRAYED);

    // A new sub-item reaches the menu as its source; the sub-menu keeps its handle.
    menu.Sources.clear();
    TMenuItem* second = AddItem(recent, L"b.c", &menu);
    EXPECT_EQ(menu.Sources.back(), second);
    EXPECT_EQ(recent->Handle(), sub);
    EXPECT_EQ(::GetMenuItemCount(sub), 2);
    delete first;
    EXPECT_EQ(::GetMenuItemCount(sub), 1);
    EXPECT_EQ(EntryInfo(sub, 0).wID, second->Command());
    EXPECT_EQ(EntryInfo(top, 1).hSubMenu, sub);
}

TEST(MenusHeadless, ARefillWhileTheMenuIsOpenWaitsUntilItCloses) {
    TPopupMenu menu(nullptr);
    TMenuItem* open = AddItem(menu.Items(), L"Open", &menu);
    HMENU top = menu.Handle();
    menu.BeginTracking();
    AddItem(menu.Items(), L"Save", &menu);
    open->SetVisible(false);
    menu.UpdateItems();
    EXPECT_TRUE(menu.RefillPending());
    EXPECT_EQ(::GetMenuItemCount(top), 1);
    EXPECT_EQ(EntryInfo(top, 0).wID, open->Command());
    menu.EndTracking();
    EXPECT_FALSE(menu.RefillPending());
    ASSERT_EQ(::GetMenuItemCount(top), 1);
    EXPECT_EQ(EntryInfo(top, 0).wID, menu.Items()->Items(1)->Command());
}

TEST(MenusHeadless, MeasureAndDrawRequestsReachTheItemsEvents) {
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* plain = AddItem(menu.Items(), L"&Plain", &menu);
    TMenuItem* advanced = AddItem(menu.Items(), L"Advanced", &menu);
    TMenuItem* simple = AddItem(menu.Items(), L"Simple", &menu);
    advanced->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
        width += 5;
        height = 33;
    };
    std::vector<TOwnerDrawState> states;
    advanced->OnAdvancedDrawItem = [&](TObject*, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
        states.push_back(state);
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(rect);
    };
    bool simpleSelected = false;
    simple->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool selected) { simpleSelected = selected; };

    MEASUREITEMSTRUCT measure{ODT_MENU, 0, plain->Command(), 10, 10, 0};
    ASSERT_TRUE(menu.DispatchMeasureItem(measure));
    const UINT plainWidth = measure.itemWidth;
    EXPECT_GT(plainWidth, 10u);
    measure = {ODT_MENU, 0, advanced->Command(), 10, 10, 0};
    ASSERT_TRUE(menu.DispatchMeasureItem(measure));
    EXPECT_EQ(measure.itemHeight, 33u);
    EXPECT_GT(measure.itemWidth, 15u);
    measure.itemID = 0xFFFE;
    EXPECT_FALSE(menu.DispatchMeasureItem(measure));

    TestSupport::TMemorySurface surface(200, 60);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, advanced->Command(), ODA_DRAWENTIRE, ODS_SELECTED | ODS_HOTLIGHT, nullptr,
                        surface.DC(), RECT{0, 0, 100, 20}, 0};
    ASSERT_TRUE(menu.DispatchDrawItem(draw));
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0], TOwnerDrawState(odSelected | odHotLight));
    EXPECT_TRUE(surface.Is(50, 10, clRed));
    draw.itemID = simple->Command();
    ASSERT_TRUE(menu.DispatchDrawItem(draw));
    EXPECT_TRUE(simpleSelected);
    // Without handlers the library paints the selection and the caption itself.
    draw.itemID = plain->Command();
    draw.rcItem = RECT{0, 30, 200, 50};
    ASSERT_TRUE(menu.DispatchDrawItem(draw));
    EXPECT_GT(surface.CountColour(RECT{0, 30, 200, 50}, clHighlight), 1000);
    EXPECT_GT(surface.CountColour(RECT{0, 30, 200, 50}, clHighlightText), 10);
}

TEST(MenusHeadless, TypedCharactersFindOwnerDrawnItemsByTheirAccelerator) {
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    AddItem(menu.Items(), L"&Open", &menu);
    AddItem(menu.Items(), L"-", &menu);
    AddItem(menu.Items(), L"&Save", &menu);
    AddItem(menu.Items(), L"Save &as", &menu);
    AddItem(menu.Items(), L"&Sort", &menu)->SetEnabled(false);
    HMENU top = menu.Handle();
    EXPECT_EQ(menu.ProcessMenuChar(L'o', top), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menu.ProcessMenuChar(L'a', top), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(menu.ProcessMenuChar(L'S', top), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(menu.ProcessMenuChar(L'x', top), 0);
    menu.SetOwnerDraw(false);
    EXPECT_EQ(menu.ProcessMenuChar(L'o', top), 0);  // the system finds text entries itself
}

TEST(MenusWindow, AFormShowsItsMenuBarAndRunsItsCommands) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    TMainMenu menu(&form);
    menu.SetOwnerDraw(true);
    TMenuItem* file = AddItem(menu.Items(), L"&File", &menu);
    TMenuItem* exit = AddItem(file, L"E&xit", &menu);
    int measured = 0, drawn = 0, clicked = 0;
    file->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++measured; };
    file->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState) { ++drawn; };
    exit->OnClick = [&](TObject*) { ++clicked; };
    form.SetMenu(&menu);
    form.Show();
    HWND window = form.Handle();
    EXPECT_EQ(::GetMenu(window), menu.Handle());
    EXPECT_EQ(menu.WindowHandle(), window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return drawn > 0; }));
    EXPECT_GT(measured, 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
    EXPECT_EQ(clicked, 1);
    // A caption change redraws the bar; the bar's handle stays the menu's.
    drawn = 0;
    file->SetCaption(L"&Document");
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return drawn > 0; }));
    HMENU bar = menu.Handle();
    form.SetMenu(nullptr);
    EXPECT_EQ(::GetMenu(window), nullptr);
    form.SetMenu(&menu);
    form.Hide();
    EXPECT_TRUE(::IsMenu(bar));
}

namespace {
HWND popupWindow = nullptr;
void CALLBACK EndMenuOnceDrawn(HWND, UINT, UINT_PTR, DWORD) {
    if (popupWindow) ::EndMenu();
}
}  // namespace

TEST(MenusWindow, APopupIsOwnedByThePopupListThatRoutesItsItemsEvents) {
    REQUIRE_DISPLAY();
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* copy = AddItem(menu.Items(), L"&Copy", &menu);
    AddItem(menu.Items(), L"-", &menu);
    TMenuItem* more = AddItem(menu.Items(), L"More", &menu);
    AddItem(more, L"Inner", &menu);
    popupWindow = nullptr;
    int drawnItems = 0, closed = 0;
    wchar_t className[32] = {};
    copy->OnAdvancedDrawItem = [&](TObject*, TCanvas* canvas, TRect, TOwnerDrawState) {
        ++drawnItems;
        popupWindow = ::WindowFromDC(canvas->Handle());
        ::GetClassNameW(popupWindow, className, 32);
    };
    menu.OnClose = [&](TObject*) { ++closed; };
    // The menu runs its own loop: a timer closes it once it was drawn.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, EndMenuOnceDrawn);
    menu.Popup(100, 100);
    ::KillTimer(nullptr, timer);
    EXPECT_GT(drawnItems, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_STREQ(className, L"#32768");
    EXPECT_EQ(menu.WindowHandle(), PopupListWindow());

    // A menu without items shows nothing and so does not report a close.
    TPopupMenu empty(nullptr);
    empty.OnClose = [&](TObject*) { ++closed; };
    empty.Popup(100, 100);
    EXPECT_EQ(closed, 1);
}

TEST(MenusWindow, AnMDIFrameHoldsItsChildrenInItsClientWindow) {
    REQUIRE_DISPLAY();
    TForm frame(nullptr);
    frame.SetFormStyle(fsMDIForm);
    frame.SetBounds(0, 0, 640, 480);
    TPanel top(nullptr);
    top.SetParent(&frame);
    top.SetAlign(alTop);
    top.SetHeight(30);
    TMainMenu menu(&frame);
    TMenuItem* windows = AddItem(menu.Items(), L"&Window", &menu);
    AddItem(windows, L"&Cascade", &menu);
    frame.SetMenu(&menu);
    frame.SetWindowMenu(windows);
    frame.Show();
    HWND client = frame.ClientHandle();
    ASSERT_NE(client, nullptr);
    RECT place{};
    ::GetWindowRect(client, &place);
    ::MapWindowPoints(nullptr, frame.Handle(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.top, 30);  // below the aligned panel

    std::vector<std::unique_ptr<TForm>> children;
    for (const wchar_t* caption : {L"B", L"A", L"C"}) {
        auto child = std::make_unique<TForm>(&frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(caption);
        child->SetBounds(10, 10, 200, 150);
        child->Show();
        EXPECT_EQ(::GetParent(child->Handle()), client);
        children.push_back(std::move(child));
    }
    EXPECT_EQ(frame.MDIChildCount(), 3);
    EXPECT_EQ(frame.ActiveMDIChild(), children[2].get());
    EXPECT_EQ(frame.MDIChildren(0), children[2].get());  // front to back
    // The client lists the children in the Window menu after the menu's own items.
    EXPECT_EQ(::GetMenuItemCount(windows->Handle()), 5);
    EXPECT_EQ(::GetMenuItemID(windows->Handle(), 2), MDIFirstChildCommand);
    ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(children[0]->Handle()), 0);
    EXPECT_EQ(frame.ActiveMDIChild(), children[0].get());
    children[1].reset();
    EXPECT_EQ(frame.MDIChildCount(), 2);
    EXPECT_EQ(::GetMenuItemCount(windows->Handle()), 4);
    EXPECT_THROW(frame.MDIChildren(2), EListError);
    children.clear();
    EXPECT_EQ(frame.MDIChildCount(), 0);
}

TEST(MenusHeadless, AnMDIChildNeedsAFrame) {
    TForm child(nullptr);
    child.SetFormStyle(fsMDIChild);
    EXPECT_THROW(child.Handle(), EInvalidOperation);
}
