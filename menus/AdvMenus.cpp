#include "menus/AdvMenus.h"

#include <algorithm>
#include <type_traits>
#include <string>
#include <utility>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"
#include "menus/AdvMenuPaint.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvMenuStylers.h"

namespace AdvMenus {

using namespace ClassLib;
using AdvMenuStylers::TAdvMenuOfficeStyler;
using AdvStyleIF::TOVTStyle;

CLASSLIB_IMPLEMENT(TAdvPopupMenu, ClassLib::TPopupMenu)
CLASSLIB_IMPLEMENT(TAdvMainMenu, ClassLib::TMainMenu)

namespace {

// The window procedure a popup window or an MDI client had before ours; kept in a window
// property, since a system window's user data is not ours to use.
const wchar_t* const OldProcProperty = L"AdvMenusOldWndProc";
// The Window menu's marker item carries this shortcut; the children's list follows it.
constexpr TShortCut WindowListMarker = 43981;
constexpr int WindowListGroup = 205;

// The items' handlers: stateless, they find the item's menu when called, so an item can
// tell a styled menu's handler from its own, and none outlives a menu.
template <class F>
void WithStyledMenu(TObject* sender, F&& call) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    TMenu* menu = item ? item->GetParentMenu() : nullptr;
    if (auto* popup = dynamic_cast<TAdvPopupMenu*>(menu)) call(*popup, item);
    else if (auto* main = dynamic_cast<TAdvMainMenu*>(menu)) call(*main, item);
}

struct TStyledMeasure {
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
        WithStyledMenu(sender, [&](auto& menu, TMenuItem*) { menu.ExpandItemWidth(sender, canvas, width, height); });
    }
};
struct TStyledDraw {
    void operator()(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) const {
        WithStyledMenu(sender, [&](auto& menu, TMenuItem*) { menu.AdvancedDrawItem(sender, canvas, rect, state); });
    }
};

void HookItem(TMenuItem* item) {
    if (!item->OnAdvancedDrawItem.target<TStyledDraw>()) {
        if (!item->OnMeasureItem) item->OnMeasureItem = TStyledMeasure{};
        if (!item->OnAdvancedDrawItem && !item->OnDrawItem) item->OnAdvancedDrawItem = TStyledDraw{};
    }
    for (int i = 0; i < item->Count(); ++i) HookItem(item->Items(i));
}

WNDPROC OldProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetPropW(window, OldProcProperty)); }

void Subclass(HWND window, WNDPROC procedure) {
    const auto old = ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    ::SetPropW(window, OldProcProperty, reinterpret_cast<HANDLE>(old));
}

void Unsubclass(HWND window, WNDPROC procedure) {
    WNDPROC old = OldProcOf(window);
    if (old && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == procedure)
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    ::RemovePropW(window, OldProcProperty);
}

}  // namespace

void HookMenuItems(TMenu& menu, TMenuItem* item) {
    if (menu.HasState(csLoading)) return;
    if (item && item != menu.Items()) {
        HookItem(item);
        return;
    }
    for (int i = 0; i < menu.Items()->Count(); ++i) HookItem(menu.Items()->Items(i));
}

// ---- the part both menus share ----

template <class TMenuBase>
TAdvMenuImpl<TMenuBase>::TAdvMenuImpl(TComponent* owner) : TMenuBase(owner) {
    this->SetOwnerDraw(true);
    MakeInternalStyler();
    if (this->HasState(csDesigning) && owner && !owner->HasState(csReading) && !owner->HasState(csLoading))
        SetUIStyle(AdvStyleIF::GetFormStylerStyle(owner, AdvStyleIF::tsOffice2019White));
}

template <class TMenuBase>
TAdvMenuImpl<TMenuBase>::~TAdvMenuImpl() {
    if (FMenuStyler) FMenuStyler->RemoveFreeNotification(this);
    FMenuStyler = nullptr;
    FCurrentMenuStyler = nullptr;
    // Freed here, while the menu they style is whole.
    delete FInternalMenuStyler;
    FInternalMenuStyler = nullptr;
    delete FOfficeStyler;
    FOfficeStyler = nullptr;
}

template <class TMenuBase>
TPropertyList TAdvMenuImpl<TMenuBase>::Properties(const TPropertyList& parent) {
    using M = TAdvMenuImpl<TMenuBase>;
    return TPropertyList::Extend(parent)
        .Enum(L"ActionImages", &M::ActionImages, &M::SetActionImages, aiNormal)
        .Reference(L"DisabledImages", &M::DisabledImages, &M::SetDisabledImages)
        .Add(L"IntlKeybShortCuts", &M::IntlKeybShortCuts, &M::SetIntlKeybShortCuts, false)
        .Reference(L"MenuStyler", &M::MenuStyler, &M::SetMenuStyler)
        .Add(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, true)
        .Add(L"ShowNotes", &M::ShowNotes, &M::SetShowNotes, true)
        .Enum(L"UIStyle", &M::UIStyle, &M::SetUIStyle, AdvStyleIF::tsCustom)
        .ReadOnly(L"Version", &M::Version);
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::MakeInternalStyler() {
    if (FInternalMenuStyler) {
        TCustomAdvMenuStyler* old = std::exchange(FInternalMenuStyler, nullptr);
        if (FCurrentMenuStyler == old) FCurrentMenuStyler = nullptr;
        delete old;
    }
    TCustomAdvMenuStyler* styler = std::is_same_v<TMenuBase, TMainMenu> ? new TAdvMenuStyler(this)
                                                                        : new TCustomAdvMenuStyler(this);
    styler->SetName(L"InternalMenuStyler");
    FInternalMenuStyler = styler;
    FMenuStyler = nullptr;
    FCurrentMenuStyler = styler;
    styler->SetMenu(this);
    StylerChanged();
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::StylerChanged() {
    if constexpr (std::is_same_v<TMenuBase, TMainMenu>) {
        // A main menu hears of its styler's font: a new font may change the bar's height.
        TCustomAdvMenuStyler* styler = FCurrentMenuStyler;
        if (styler)
            styler->Font()->SetOnChange([styler](TObject*) {
                NotifyMenuChanged(dynamic_cast<IAdvMenu*>(styler->Menu()), false, false);
            });
    }
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::SetMenuStyler(TCustomAdvMenuStyler* value) {
    if (value == FMenuStyler) return;
    if (FMenuStyler && FMenuStyler != FInternalMenuStyler) FMenuStyler->RemoveFreeNotification(this);
    if (value) {
        if (FInternalMenuStyler && !FInternalMenuStyler->HasState(csLoading)) {
            TCustomAdvMenuStyler* old = std::exchange(FInternalMenuStyler, nullptr);
            if (FCurrentMenuStyler == old) FCurrentMenuStyler = nullptr;
            delete old;
        }
        FMenuStyler = value;
        FCurrentMenuStyler = value;
        value->FreeNotification(this);
    } else {
        MakeInternalStyler();
    }
    FCurrentMenuStyler->SetMenu(this);
    StylerChanged();
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::SetComponentStyle(TOVTStyle AStyle) {
    if (FMenuStyler) return;
    FOVTStyle = AStyle;
    if (AStyle == AdvStyleIF::tsCustom) return;
    // One office styler serves every style the menu is given.
    if (!FOfficeStyler) FOfficeStyler = new TAdvMenuOfficeStyler(this);
    const bool main = std::is_same_v<TMenuBase, TMainMenu>;
    if (main) BeginUpdate();
    FOfficeStyler->SetComponentStyle(AStyle);
    FCurrentMenuStyler = FOfficeStyler;
    FOfficeStyler->SetMenu(this);
    StylerChanged();
    if (main) EndUpdate();
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::SetUIStyle(TOVTStyle value) {
    FOVTStyle = value;
    SetComponentStyle(value);
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::SetDisabledImages(TCustomImageList* value) {
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = value;
    if (value) value->FreeNotification(this);
}

template <class TMenuBase>
std::wstring TAdvMenuImpl<TMenuBase>::Version() const {
    const unsigned number = GetVersionNr();
    return std::to_wstring(number >> 24) + L"." + std::to_wstring((number >> 16) & 0xFF) + L"." +
           std::to_wstring((number >> 8) & 0xFF) + L"." + std::to_wstring(number & 0xFF);
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::Notification(TComponent* component, TOperation operation) {
    TMenuBase::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FInternalMenuStyler) FInternalMenuStyler = nullptr;
    if (component == static_cast<TComponent*>(FOfficeStyler)) FOfficeStyler = nullptr;
    if (component == FDisabledImages) FDisabledImages = nullptr;
    const bool current = component == FCurrentMenuStyler;
    if (current) FCurrentMenuStyler = nullptr;
    if (component == FMenuStyler) {
        FMenuStyler = nullptr;
        if (!this->HasState(csDestroying) && component->Owner() != this) {
            MakeInternalStyler();
            return;
        }
    }
    if (current && !this->HasState(csDestroying)) MakeInternalStyler();
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::Loaded() {
    TMenuBase::Loaded();
    this->SetOwnerDraw(true);
    HookMenuItems(*this, nullptr);
    if (FInternalMenuStyler && FInternalMenuStyler != FCurrentMenuStyler) {
        delete std::exchange(FInternalMenuStyler, nullptr);
    }
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::BeginUpdate() {
    FMenuUpdating = true;
    ++FUpdateRef;
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::EndUpdate() {
    if (FUpdateRef > 0) --FUpdateRef;
    if (FUpdateRef > 0) return;
    HookMenuItems(*this, nullptr);
    FMenuUpdating = false;
}

template <class TMenuBase>
void TAdvMenuImpl<TMenuBase>::ExpandItemWidth(TObject* sender, TCanvas* canvas, int& width, int& height) {
    if (auto* item = dynamic_cast<TMenuItem*>(sender)) MeasureMenuItem(item, canvas, width, height, SideBarApplies(item));
}

template class TAdvMenuImpl<TPopupMenu>;
template class TAdvMenuImpl<TMainMenu>;

// ---- TAdvPopupMenu ----

const TPropertyList& TAdvPopupMenu::Published() {
    static const TPropertyList list = Properties(TPopupMenu::Published());
    return list;
}

void TAdvPopupMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    if (FMenuUpdating) NotifyMenuChanged(this, false, false);
    else HookMenuItems(*this, source);
    TPopupMenu::MenuChanged(sender, source, rebuild);
}

void TAdvPopupMenu::AdvancedDrawItem(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    rect.Right -= MenuExtraWidth;
    DrawMenuItem(item, canvas, rect, SideBarApplies(item), state);
}

void TAdvPopupMenu::Popup(int x, int y) {
    if (Items()->Count() == 0) {
        TPopupMenu::Popup(x, y);
        return;
    }
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, Items()->Items(0)->Command(), 10, 10, 0};
    ::SendMessageW(PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    const int width = int(measure.itemWidth) + MenuExtraWidth;
    const int desktopWidth = Screen->DesktopRect().Right;
    // The system places the popup as if it were as wide as measured; the strip its
    // window does not show moves the visible part.
    if (Alignment() == paRight && x - MenuExtraWidth - width >= 0) x += MenuExtraWidth;
    else if (Alignment() == paLeft && x + width + 2 * MenuExtraWidth >= desktopWidth) x += MenuExtraWidth;
    else if (Alignment() == paCenter) x += MenuExtraWidth / 2;
    x = std::min(x, desktopWidth - 1);
    DisableMenuAnimation();
    TPopupMenu::Popup(x, y);
}

void TAdvPopupMenu::PopupAtCursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    Popup(TPoint{cursor.x, cursor.y});
}

void TAdvPopupMenu::PopupAtControl(TControl* control, TPopupControlPosition position, int deltaX, int deltaY) {
    if (!control) return;
    TPoint at = control->ClientToScreen({0, 0});
    switch (position) {
        case pcpBottomLeft: at.Y += control->Height(); break;
        case pcpBottomRight: at.X += control->Width(); at.Y += control->Height(); break;
        case pcbTopLeft: break;
        case pcpTopRight: at.X += control->Width(); break;
        case pcpCenter: at.X += control->Width() / 2; at.Y += control->Height() / 2; break;
    }
    Popup(at.X + deltaX, at.Y + deltaY);
}

// ---- TAdvMainMenu ----

const TPropertyList& TAdvMainMenu::Published() {
    static const TPropertyList list = Properties(TMainMenu::Published());
    return list;
}

TAdvMainMenu::TAdvMainMenu(TComponent* owner) : TAdvMenuImpl(owner) {
    FDesignTime = HasState(csDesigning) && owner && !owner->HasState(csReading) && !owner->HasState(csLoading);
}

TAdvMainMenu::~TAdvMainMenu() {
    UnhookMDIClient();
    for (TMenuItem* item : std::exchange(FRemovedListItems, {})) delete item;
}

void TAdvMainMenu::Loaded() {
    TAdvMenuImpl::Loaded();
    // Hiding and showing the first item rebuilds the bar with every item hooked.
    if (Items()->Count() > 0) {
        TMenuItem* first = Items()->Items(0);
        const bool visible = first->Visible();
        first->SetVisible(!visible);
        first->SetVisible(visible);
    }
    NotifyMenuChanged(this, false, false);
}

void TAdvMainMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    (void)rebuild;
    if (FMenuUpdating) HookMenuItems(*this, source);
    else NotifyMenuChanged(this, false, false);
    TMainMenu::MenuChanged(sender, source, true);
}

void TAdvMainMenu::SetWindowHandle(HWND value) {
    TMainMenu::SetWindowHandle(value);
    NotifyMenuChanged(this, false, false);
}

void TAdvMainMenu::EndUpdate() {
    TAdvMenuImpl::EndUpdate();
    if (FUpdateRef == 0 && WindowHandle() && ::IsWindow(WindowHandle())) ::DrawMenuBar(WindowHandle());
}

void TAdvMainMenu::Refresh() { NotifyMenuChanged(this, true, false); }

void TAdvMainMenu::AdvancedDrawItem(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || FUpdateRef > 0) return;
    if (!IsMenuBarItem(item)) rect.Right -= MenuExtraWidth;
    if (ItemLevel(item) == 0 && item->MenuIndex() == 0) {
        DisableMenuAnimation();
        DrawMDIChildIcon(item, rect);
    }
    DrawMenuItem(item, canvas, rect, SideBarApplies(item), state);
}

void TAdvMainMenu::MenuChangeNoticed() {
    if (HasState(csDestroying)) return;
    if (AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), FDesignTime)) return;
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form || !form->HandleAllocated()) return;
    HWND client = form->FormStyle() == fsMDIChild ? ::GetParent(form->Handle())
                  : form->FormStyle() == fsMDIForm ? form->ClientHandle() : nullptr;
    if (!client || reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(client, GWLP_WNDPROC)) == MDIClientWndProc) return;
    UnhookMDIClient();
    HookMDIClient(client);
}

void TAdvMainMenu::HookMDIClient(HWND client) {
    FOldWndHandle = client;
    Subclass(client, MDIClientWndProc);
}

void TAdvMainMenu::UnhookMDIClient() {
    if (FOldWndHandle && ::IsWindow(FOldWndHandle)) Unsubclass(FOldWndHandle, MDIClientWndProc);
    FOldWndHandle = nullptr;
}

void TAdvMainMenu::Notification(TComponent* component, TOperation operation) {
    TAdvMenuImpl::Notification(component, operation);
    if (operation == opRemove) std::erase(FRemovedListItems, component);
}

LRESULT TAdvMainMenu::RefreshWindowList(TCustomForm& frame) {
    TMenuItem* windowMenu = frame.WindowMenu();
    if (!windowMenu) return 0;
    BeginUpdate();
    if (FListClickDepth == 0)
        for (TMenuItem* item : std::exchange(FRemovedListItems, {})) delete item;
    TMenuItem* marker = FindItem(WindowListMarker, fkShortCut);
    if (!marker || marker->Caption() != L"-") {
        marker = new TMenuItem(windowMenu);
        marker->SetCaption(L"-");
        marker->SetShortCut(WindowListMarker);
        marker->SetAutoLineReduction(maAutomatic);
        marker->SetVisible(frame.MDIChildCount() > 0);
        windowMenu->Add(marker);
    } else if (TMenuItem* list = marker->Parent()) {
        while (list->Count() > marker->MenuIndex() + 1) {
            TMenuItem* item = list->Items(marker->MenuIndex() + 1);
            list->Remove(item);
            item->FreeNotification(this);
            FRemovedListItems.push_back(item);
        }
    }
    struct TChild {
        std::wstring Caption;
        HWND Handle;
    };
    std::vector<TChild> children;
    for (int i = 0; i < frame.MDIChildCount(); ++i) {
        TCustomForm* child = frame.MDIChildren(i);
        if (!child->HasState(csDestroying)) children.push_back({child->Caption(), child->Handle()});
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const TChild& a, const TChild& b) { return CompareText(a.Caption, b.Caption) < 0; });
    const TCustomForm* active = frame.ActiveMDIChild();
    HWND activeHandle = active && active->HandleAllocated() ? const_cast<TCustomForm*>(active)->Handle() : nullptr;
    for (size_t j = 0; j < children.size(); ++j) {
        auto* item = new TMenuItem(windowMenu);
        item->SetCaption(std::to_wstring(j + 1) + L" " + children[j].Caption);
        item->SetTag(reinterpret_cast<intptr_t>(children[j].Handle));
        item->OnClick = [this](TObject* sender) { WindowListClick(sender); };
        item->SetRadioItem(true);
        item->SetGroupIndex(WindowListGroup);
        item->SetChecked(children[j].Handle == activeHandle);
        windowMenu->Add(item);
    }
    EndUpdate();
    return reinterpret_cast<LRESULT>(Handle());
}

void TAdvMainMenu::WindowListClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || item->Tag() == 0) return;
    const UINT command = item->Command();
    auto child = reinterpret_cast<HWND>(item->Tag());
    HWND client = FOldWndHandle ? FOldWndHandle : ::GetParent(child);
    // The activation may refresh the list: the item is looked for again afterwards.
    ++FListClickDepth;
    const LRESULT result = ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    --FListClickDepth;
    if (result == 0)
        if (TMenuItem* still = FindItem(command, fkCommand)) still->SetChecked(true);
}

// ---- window procedures ----

LRESULT CALLBACK MDIClientWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC old = OldProcOf(window);
    if (msg == WM_MDIREFRESHMENU) {
        LRESULT result = 0;
        CallGuarded(nullptr, [&] {
            HWND frameWindow = ::GetParent(window);
            for (int i = 0; i < Screen->FormCount(); ++i) {
                TCustomForm* form = Screen->Forms(i);
                if (!form->HandleAllocated() || form->Handle() != frameWindow) continue;
                auto* menu = dynamic_cast<TAdvMainMenu*>(form->Menu());
                if (form->FormStyle() == fsMDIForm && menu && form->WindowMenu()) result = menu->RefreshWindowList(*form);
                return;
            }
        });
        return result;
    }
    if (msg == WM_NCDESTROY) Unsubclass(window, MDIClientWndProc);
    return old ? ::CallWindowProcW(old, window, msg, wParam, lParam) : ::DefWindowProcW(window, msg, wParam, lParam);
}

LRESULT CALLBACK PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC old = OldProcOf(window);
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_SHOWWINDOW:
            if (!wParam) ::SetWindowRgn(window, nullptr, FALSE);
            break;
        case WM_CLOSE: case WM_DESTROY: ::SetWindowRgn(window, nullptr, FALSE); break;
        case WM_NCDESTROY: Unsubclass(window, PopupWndProc); break;
        default: break;
    }
    return old ? ::CallWindowProcW(old, window, msg, wParam, lParam) : ::DefWindowProcW(window, msg, wParam, lParam);
}

bool SubMenuOpensRight(TMenuItem* item, HWND window) {
    (void)window;   // on NT platforms the rectangles are asked for without a window
    if (IsMenuBarItem(item)) return true;
    TMenuItem* parent = item->Parent();
    if (!parent || !parent->Parent()) return true;
    const auto first = MenuEntryRect(nullptr, parent->Handle(), 0);
    if (item->Visible() && first && first->Width() == 0 && first->Height() == 0) return true;
    HMENU outer = parent->Parent()->Handle();
    const auto parentRect = MenuEntryRect(nullptr, outer, MenuEntryPosition(outer, parent->Command()));
    if (!parent->Visible() || !first || !parentRect) return true;
    return first->Left > parentRect->Left || (first->Left == parentRect->Left && first->Right > parentRect->Right);
}

void SubclassPopupWindow(TMenuItem* item, TCanvas* canvas) {
    HWND window = ::WindowFromDC(canvas->Handle());
    TMenu* menu = item->GetParentMenu();
    IAdvMenuEx* styled = StyledMenuOf(item);
    if (!window || !::IsWindow(window) || !menu || !styled || window == menu->WindowHandle() || IsMenuBarItem(item))
        return;
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int level = ItemLevel(item) + (dynamic_cast<TPopupMenu*>(menu) ? 1 : 0);
    TMenuItem* parent = item->Parent();
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) != PopupWndProc) {
        Subclass(window, PopupWndProc);
        ::SetWindowRgn(window, ::CreateRectRgn(1, 1, width - 1 - MenuExtraWidth, height - 1), TRUE);
        if (level == 1) {
            ::SetWindowPos(window, nullptr, frame.left - 1, frame.top - 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (level >= 2 && !HasBreakAtOrAfter(parent)) {
            const int left = SubMenuOpensRight(item, window) ? frame.left - MenuExtraWidth : frame.left + MenuExtraWidth;
            ::SetWindowPos(window, nullptr, left + 3, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Wine: what the rest of this paint draws after the move lands partly at the old
        // place (a sub-menu showed a blank patch in its last item); paint it all afresh.
        ::InvalidateRect(window, nullptr, FALSE);
    }
    TCustomAdvMenuStyler* styler = styled->GetCurrentStyler();
    if (!styler) return;
    ::GetWindowRect(window, &frame);
    HDC dc = ::GetWindowDC(window);
    if (!dc) return;
    try {
        TCanvas on;
        on.SetHandle(dc);
        // The frame runs along the edge of the window's region, so it shows on every repaint.
        TRect edge{1, 1, width - 1 - MenuExtraWidth, height - 1};
        auto frameIn = [&](const TRect& r, TColor colour) {
            on.Brush()->SetColor(colour);
            on.FrameRect(r);
        };
        frameIn(edge, styler->MenuBorderColor());
        const TColor background = styler->Background()->Color();
        if (level == 1 && dynamic_cast<TMainMenu*>(menu) && parent && parent->Parent()) {
            // The drop-down joins its menu-bar item: no border under it.
            HWND owner = ::GetParent(window);
            const auto bar = owner ? MenuEntryRect(owner, menu->Handle(), MenuEntryPosition(menu->Handle(), parent->Command()))
                                   : std::nullopt;
            if (bar) {
                on.Pen()->SetColor(background);
                on.MoveTo(bar->Left - frame.left + 1, 1);
                on.LineTo(bar->Right - frame.left - 1, 1);
            }
        }
        edge.Inflate(-1, -1);
        frameIn(edge, background);
        on.SetHandle(nullptr);
    } catch (...) {
        ::ReleaseDC(window, dc);
        throw;
    }
    ::ReleaseDC(window, dc);
}

std::vector<const TClass*> RegisterMenuClasses() {
    std::vector<const TClass*> classes = {&TAdvMainMenu::StaticClass(), &TAdvPopupMenu::StaticClass(),
                                          &TAdvMenuStyler::StaticClass(),
                                          &AdvMenuStylers::TAdvMenuOfficeStyler::StaticClass()};
    for (const TClass* cls : classes) RegisterClassType(*cls);
    return classes;
}

}  // namespace AdvMenus
