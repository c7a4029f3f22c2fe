// The styled menus: their stylers, item hooks and updates, popping up where the visible
// part belongs, popup windows trimmed and framed on a real screen, the menu bar's colours
// and an MDI frame's window list.
#include "menus/AdvMenus.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "menus/AdvMenuPaint.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvMenuStylers.h"
#include "tests/menus/MenuItemsSupport.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvMenus;
using MenuTestSupport::Add;

namespace {

bool Hooked(const TMenuItem* item) { return item->OnMeasureItem && item->OnAdvancedDrawItem; }

// The screen's pixel at a point.
COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF pixel = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return pixel;
}

// Runs `look` on the first shown popup window of the thread once its items were drawn,
// then closes the menu; the menu loop runs inside `show`.
std::function<void(HWND)> Look;
int Ticks = 0;

void CALLBACK LookAtPopup(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    const bool shown = popup && ::IsWindowVisible(popup);
    if ((shown && ++Ticks >= 3) || ++Ticks > 60) {
        if (shown && Look) Look(popup);
        Look = nullptr;
        ::EndMenu();
    }
}

void WhileShown(const std::function<void()>& show, const std::function<void(HWND popup)>& look) {
    Look = look;
    Ticks = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, LookAtPopup);
    show();
    ::KillTimer(nullptr, timer);
    Look = nullptr;
}

}  // namespace

TEST(StyledMenus, StartWithTheirOwnStylerAndDeclaredDefaults) {
    TAdvPopupMenu popup(nullptr);
    TAdvMainMenu bar(nullptr);
    EXPECT_TRUE(popup.OwnerDraw());
    EXPECT_EQ(popup.CurrentStyler()->Name(), L"InternalMenuStyler");
    EXPECT_EQ(&popup.CurrentStyler()->ClassType(), &TCustomAdvMenuStyler::StaticClass());
    EXPECT_EQ(&bar.CurrentStyler()->ClassType(), &TAdvMenuStyler::StaticClass());
    EXPECT_EQ(popup.CurrentStyler()->Menu(), &popup);
    EXPECT_EQ(popup.Version(), L"2.7.1.9");
    EXPECT_EQ(bar.Version(), L"2.7.1.9");
    EXPECT_GE(TestSupport::ExpectPublishedDefaults(&popup), 8);
    EXPECT_GE(TestSupport::ExpectPublishedDefaults(&bar), 8);
}

TEST(StyledMenus, AnExternalStylerReplacesTheirOwnWhichComesBackWithoutIt) {
    TAdvPopupMenu popup(nullptr);
    auto external = std::make_unique<TAdvMenuStyler>(nullptr);
    popup.SetMenuStyler(external.get());
    EXPECT_EQ(popup.FindComponent(L"InternalMenuStyler"), nullptr);
    EXPECT_EQ(popup.CurrentStyler(), external.get());
    EXPECT_EQ(external->Menu(), &popup);
    popup.SetMenuStyler(nullptr);
    ASSERT_NE(popup.FindComponent(L"InternalMenuStyler"), nullptr);
    EXPECT_EQ(popup.CurrentStyler(), popup.FindComponent(L"InternalMenuStyler"));
    // A freed external styler leaves a fresh one of the menu's own.
    popup.SetMenuStyler(external.get());
    external.reset();
    EXPECT_EQ(popup.MenuStyler(), nullptr);
    ASSERT_NE(popup.CurrentStyler(), nullptr);
    EXPECT_EQ(popup.CurrentStyler()->Name(), L"InternalMenuStyler");
}

TEST(StyledMenus, AUIStyleBringsOneOfficeStylerUnlessAnExternalOneIsAssigned) {
    TAdvMainMenu bar(nullptr);
    TCustomAdvMenuStyler* own = bar.CurrentStyler();
    bar.SetComponentStyle(AdvStyleIF::tsCustom);
    EXPECT_EQ(bar.CurrentStyler(), own);
    bar.SetUIStyle(AdvStyleIF::tsOffice2019White);
    auto* office = dynamic_cast<AdvMenuStylers::TAdvMenuOfficeStyler*>(bar.CurrentStyler());
    ASSERT_NE(office, nullptr);
    EXPECT_EQ(office->Style(), AdvMenuStylers::osOffice2019White);
    EXPECT_EQ(office->Owner(), &bar);
    EXPECT_EQ(office->Menu(), &bar);
    bar.SetComponentStyle(AdvStyleIF::tsOffice2016Black);
    EXPECT_EQ(bar.CurrentStyler(), office);   // the same styler, the next preset
    EXPECT_EQ(office->Style(), AdvMenuStylers::osOffice2016Black);
    TAdvMenuStyler external(nullptr);
    bar.SetMenuStyler(&external);
    bar.SetComponentStyle(AdvStyleIF::tsOffice2003Blue);
    EXPECT_EQ(bar.CurrentStyler(), &external);
    EXPECT_EQ(office->Style(), AdvMenuStylers::osOffice2016Black);
    EXPECT_EQ(bar.UIStyle(), AdvStyleIF::tsOffice2016Black);
    bar.SetMenuStyler(nullptr);
}

TEST(StyledMenus, ItemsGetTheMenusHandlersButKeepDrawHandlersOfTheirOwn) {
    TAdvPopupMenu popup(nullptr);
    TMenuItem* outside = Add(popup.Items(), &popup, L"Outside");
    EXPECT_TRUE(Hooked(outside));   // a popup menu hooks at once
    auto* own = new TMenuItem(&popup);
    int ownDraws = 0;
    own->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState) { ++ownDraws; };
    popup.Items()->Add(own);
    EXPECT_TRUE(own->OnMeasureItem);
    DRAWITEMSTRUCT draw{ODT_MENU, 0, own->Command(), ODA_DRAWENTIRE, 0, nullptr, ::GetDC(nullptr), RECT{0, 0, 10, 10}, 0};
    popup.DispatchDrawItem(draw);
    ::ReleaseDC(nullptr, draw.hDC);
    EXPECT_EQ(ownDraws, 1);

    // A main menu hooks items added inside an update at once, others at the next EndUpdate.
    TAdvMainMenu bar(nullptr);
    TMenuItem* late = Add(bar.Items(), &bar, L"Late");
    EXPECT_FALSE(Hooked(late));
    bar.BeginUpdate();
    TMenuItem* inside = Add(bar.Items(), &bar, L"Inside");
    EXPECT_TRUE(Hooked(inside));
    EXPECT_FALSE(Hooked(late));
    bar.EndUpdate();
    EXPECT_TRUE(Hooked(late));
    TMenuItem* sub = Add(late, &bar, L"Sub");
    EXPECT_FALSE(Hooked(sub));
    bar.Loaded();
    EXPECT_TRUE(Hooked(sub));
}

TEST(StyledMenusWindow, APopupShowsWhereItsVisiblePartBelongs) {
    REQUIRE_DISPLAY();
    TMenuStartupSeamsScope seams;
    int animationOff = 0;
    MenuStartupSeams().SystemParameters = [&](unsigned action, unsigned, void* param, unsigned) {
        if (action == SPI_SETMENUANIMATION && !param) ++animationOff;
        return true;
    };
    TAdvPopupMenu popup(nullptr);
    TMenuItem* first = Add(popup.Items(), &popup, L"First");
    Add(popup.Items(), &popup, L"Second");
    // The first item measures 200 wide.
    first->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
        width = 200;
        height = 20;
    };
    const int desktop = ::GetSystemMetrics(SM_CXSCREEN);
    struct TCase {
        TPopupAlignment Alignment;
        int X;
        int Edge;    // the popup window's left (or right, for paRight) edge once trimmed and moved
        bool Right;
    };
    const int w = MenuExtraWidth;
    const TCase cases[] = {
        {paRight, 500, 500 + w - 1, true},
        {paLeft, 300, 300 - 1, false},
        {paLeft, desktop - 100, 0, true},   // flipped left of the point, still on the screen
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.X);
        popup.SetAlignment(c.Alignment);
        RECT shown{};
        WhileShown([&] { popup.Popup(c.X, 300); }, [&](HWND window) { ::GetWindowRect(window, &shown); });
        if (c.Right) {
            if (c.Alignment == paRight) EXPECT_EQ(shown.right, c.Edge);
            else EXPECT_LE(shown.right, desktop);
        } else {
            EXPECT_EQ(shown.left, c.Edge);
        }
    }
    EXPECT_GE(animationOff, 3);   // switched off again before every popup

    // Without items nothing shows and OnClose stays quiet.
    TAdvPopupMenu empty(nullptr);
    int closed = 0;
    empty.OnClose = [&](TObject*) { ++closed; };
    empty.Popup(100, 100);
    EXPECT_EQ(closed, 0);
    popup.OnClose = [&](TObject*) { ++closed; };
    WhileShown([&] { popup.Popup(100, 100); }, [](HWND) {});
    EXPECT_EQ(closed, 1);
}

TEST(StyledMenusWindow, APopupWindowIsTrimmedMovedAndFramed) {
    REQUIRE_DISPLAY();
    TAdvPopupMenu popup(nullptr);
    Add(popup.Items(), &popup, L"Open");
    Add(popup.Items(), &popup, L"Save");
    TCustomAdvMenuStyler* styler = popup.CurrentStyler();
    styler->SetMenuBorderColor(TColor(0x0000FF));
    styler->IconBar()->SetColor(TColor(0x00FF00));
    styler->IconBar()->SetColorTo(clNone);
    styler->Background()->SetColor(TColor(0xFF0000));
    styler->Background()->SetColorTo(clNone);
    RECT shown{}, region{};
    int regionKind = ERROR;
    COLORREF border = 0, icons = 0, inner = 0, outside = 0;
    WhileShown([&] { popup.Popup(200, 200); },
               [&](HWND window) {
                   ::GetWindowRect(window, &shown);
                   HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
                   regionKind = ::GetWindowRgn(window, rgn);
                   ::GetRgnBox(rgn, &region);
                   ::DeleteObject(rgn);
                   const int middle = (shown.top + shown.bottom) / 2;
                   border = ScreenPixel(shown.left + 1, middle);
                   inner = ScreenPixel(shown.left + 2, middle);
                   icons = ScreenPixel(shown.left + 8, middle);
                   outside = ScreenPixel(shown.right - MenuExtraWidth / 2, middle);
               });
    EXPECT_EQ(shown.left, 199);   // the first level moves by (-1, -2)
    EXPECT_EQ(shown.top, 198);
    EXPECT_EQ(regionKind, SIMPLEREGION);
    EXPECT_EQ(region.left, 1);
    EXPECT_EQ(region.top, 1);
    EXPECT_EQ(region.right, shown.right - shown.left - 1 - MenuExtraWidth);
    EXPECT_EQ(region.bottom, shown.bottom - shown.top - 1);
    EXPECT_EQ(border, RGB(0xFF, 0, 0));    // MenuBorderColor
    EXPECT_EQ(inner, RGB(0, 0, 0xFF));     // Background.Color just inside
    EXPECT_EQ(icons, RGB(0, 0xFF, 0));     // the icon column
    EXPECT_NE(outside, RGB(0, 0, 0xFF));   // the trimmed strip shows what is behind
}

TEST(StyledMenusWindow, AMenuBarPaintsItsRootItemColours) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 200);
    auto* bar = new TAdvMainMenu(&form);
    bar->BeginUpdate();
    TMenuItem* file = Add(bar->Items(), &form, L"&File");
    Add(file, &form, L"&Open");
    Add(bar->Items(), &form, L"&Help");
    bar->EndUpdate();
    TRootItem* root = bar->CurrentStyler()->RootItem();
    root->SetColor(TColor(0x00C000));
    root->SetColorTo(TColor(0x00C000));
    form.SetMenu(bar);
    form.Show();
    auto pixelRightOfBar = [&] {
        bar->UpdateItems();
        TestSupport::PumpMessages();
        RECT item{}, window{};
        ::GetMenuItemRect(form.Handle(), bar->Handle(), 1, &item);
        ::GetWindowRect(form.Handle(), &window);
        HDC dc = ::GetWindowDC(form.Handle());
        const COLORREF pixel = ::GetPixel(dc, item.right - window.left + 60, (item.top + item.bottom) / 2 - window.top);
        ::ReleaseDC(form.Handle(), dc);
        return pixel;
    };
    EXPECT_EQ(pixelRightOfBar(), RGB(0, 0xC0, 0));
    root->SetColor(clNone);   // clNone leaves the bar to the system
    EXPECT_NE(pixelRightOfBar(), RGB(0, 0xC0, 0));
}

TEST(StyledMenusWindow, AnMDIFramesWindowMenuListsItsChildrenByCaption) {
    REQUIRE_DISPLAY();
    TForm frame(nullptr);
    frame.SetFormStyle(fsMDIForm);
    frame.SetBounds(0, 0, 640, 480);
    auto* bar = new TAdvMainMenu(&frame);
    bar->BeginUpdate();
    TMenuItem* windows = Add(bar->Items(), &frame, L"&Window");
    Add(windows, &frame, L"&Cascade");
    bar->EndUpdate();
    frame.SetMenu(bar);
    frame.SetWindowMenu(windows);
    frame.Show();
    EXPECT_EQ(bar->HookedClient(), frame.ClientHandle());

    std::vector<std::unique_ptr<TForm>> children;
    for (const wchar_t* caption : {L"B", L"A", L"A"}) {
        auto child = std::make_unique<TForm>(&frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(caption);
        child->SetBounds(10, 10, 200, 150);
        child->Show();
        children.push_back(std::move(child));
    }
    auto listed = [&] {
        std::vector<std::wstring> captions;
        for (int i = 0; i < windows->Count(); ++i) captions.push_back(windows->Items(i)->Caption());
        return captions;
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const auto result = ::SendMessageW(frame.ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
        EXPECT_EQ(reinterpret_cast<HMENU>(result), bar->Handle());
        EXPECT_EQ(listed(), (std::vector<std::wstring>{L"&Cascade", L"-", L"1 A", L"2 A", L"3 B"}));
        for (int i = 2; i < 5; ++i) {
            const TMenuItem* item = windows->Items(i);
            EXPECT_TRUE(item->RadioItem());
            EXPECT_EQ(item->GroupIndex(), 205);
            EXPECT_EQ(item->Checked(), reinterpret_cast<HWND>(item->Tag()) == children[2]->Handle());
        }
        // The client lists nothing of its own in the menu.
        EXPECT_EQ(::GetMenuItemCount(windows->Handle()), 5);
    }
    // Clicking an entry activates its child and checks it.
    TMenuItem* b = windows->Items(4);
    ASSERT_EQ(reinterpret_cast<HWND>(b->Tag()), children[0]->Handle());
    bar->DispatchCommand(b->Command());
    EXPECT_EQ(frame.ActiveMDIChild(), children[0].get());
    EXPECT_TRUE(windows->Items(4)->Checked());
    // A child that goes leaves the list.
    children[1].reset();
    EXPECT_EQ(listed().size(), 4u);
    children.clear();
    ::SendMessageW(frame.ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"&Cascade", L"-"}));
    EXPECT_EQ(::GetMenuItemCount(windows->Handle()), 1);   // the marker is left out when alone
}

TEST(StyledMenusWindow, RefreshesOfAFormWithoutAStyledWindowMenuAreRefused) {
    REQUIRE_DISPLAY();
    TForm frame(nullptr);
    frame.SetFormStyle(fsMDIForm);
    auto* bar = new TAdvMainMenu(&frame);
    frame.SetMenu(bar);   // no Window menu
    frame.Show();
    ASSERT_EQ(bar->HookedClient(), frame.ClientHandle());
    EXPECT_EQ(::SendMessageW(frame.ClientHandle(), WM_MDIREFRESHMENU, 0, 0), 0);
    // The client gets its own procedure back when the menu goes.
    const HWND client = frame.ClientHandle();
    frame.SetMenu(nullptr);
    delete bar;
    EXPECT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(client, GWLP_WNDPROC)), &MDIClientWndProc);
}
