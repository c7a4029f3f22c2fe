#include "classlib/Menus.h"

#include <algorithm>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TMenuItem, TComponent)
CLASSLIB_IMPLEMENT(TMenu, TComponent)
CLASSLIB_IMPLEMENT(TPopupMenu, TMenu)
CLASSLIB_IMPLEMENT(TMainMenu, TMenu)

namespace {

struct TKeyName {
    WORD Key;
    const wchar_t* Name;
};

const TKeyName KeyNames[] = {
    {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"}, {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},
    {VK_HOME, L"Home"}, {VK_LEFT, L"Left"}, {VK_UP, L"Up"}, {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyText(WORD key) {
    if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')) return std::wstring(1, wchar_t(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    for (const TKeyName& name : KeyNames)
        if (name.Key == key) return name.Name;
    return {};
}

// Command numbers of live items; the MDI client's window list has the numbers above.
constexpr UINT MDIFirstChild = MDIFirstChildCommand;
std::vector<bool>& UsedCommands() {
    static std::vector<bool> used(MDIFirstChild, false);
    return used;
}
UINT NextCommand = 1;

UINT AllocateCommand() {
    std::vector<bool>& used = UsedCommands();
    for (UINT tried = 1; tried < MDIFirstChild; ++tried) {
        const UINT command = NextCommand;
        NextCommand = NextCommand % (MDIFirstChild - 1) + 1;
        if (!used[command]) {
            used[command] = true;
            return command;
        }
    }
    throw EInvalidOperation(L"Cannot add a menu item: every menu command number is in use");
}

void ReleaseCommand(UINT command) {
    if (command > 0 && command < MDIFirstChild) UsedCommands()[command] = false;
}

// Every live menu, so the popup list finds the items of the popups it owns and refills
// menus marked while they were open.
std::vector<TMenu*>& LiveMenus() {
    static std::vector<TMenu*> menus;
    return menus;
}

// Posted to the popup list when a menu was marked for refilling.
constexpr UINT WM_REFILLMENUS = WM_APP + 0x3F1;
bool RefillPosted = false;

// Detaches the entries of `menu` without destroying the sub-menus they show.
void DetachEntries(HMENU menu) {
    for (int count = ::GetMenuItemCount(menu); count > 0; --count) ::RemoveMenu(menu, 0, MF_BYPOSITION);
}

TMenuItemAutoFlag EffectiveLineReduction(const TMenuItem* item) {
    for (const TMenuItem* at = item; at; at = at->Parent()) {
        if (at->AutoLineReduction() != maParent) return at->AutoLineReduction();
        if (!at->Parent()) {
            const TMenu* menu = at->GetParentMenu();
            return menu ? menu->AutoLineReduction() : maAutomatic;
        }
    }
    return maAutomatic;
}

std::vector<TMenuItem*> ShownItems(const std::vector<TMenuItem*>& candidates, bool reduceLines) {
    std::vector<TMenuItem*> shown;
    for (TMenuItem* item : candidates) {
        if (!item->Visible()) continue;
        if (reduceLines && item->IsLine() && (shown.empty() || shown.back()->IsLine())) continue;
        shown.push_back(item);
    }
    if (reduceLines)
        while (!shown.empty() && shown.back()->IsLine()) shown.pop_back();
    return shown;
}

std::wstring StripAmpersands(const std::wstring& caption) {
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') text += L'&';
            ++i;
            if (i < caption.size() && caption[i] != L'&') text += caption[i];
            continue;
        }
        text += caption[i];
    }
    return text;
}

// The hidden window that owns shown popup menus.
class TPopupListWindow {
public:
    static TPopupListWindow& Instance() {
        static TPopupListWindow list;
        return list;
    }
    HWND Handle() {
        if (!FHandle) Create();
        return FHandle;
    }
private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        bool handled = false;
        CallGuarded(nullptr, [&] { handled = HandleMessage(msg, wParam, lParam, result); });
        return handled ? result : ::DefWindowProcW(window, msg, wParam, lParam);
    }
    static bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Create() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = WindowProc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TPopupListWindow";
        ::RegisterClassW(&cls);
        // A top-level window, not a message-only one: the menu system tracks popups for
        // windows that can be active.
        FHandle = ::CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, cls.hInstance, nullptr);
        if (!FHandle) RaiseLastOSError(L"Cannot create the window that owns popup menus");
    }
    HWND FHandle = nullptr;
};

bool TPopupListWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (!item || item->CtlType != ODT_MENU) return false;
            for (TMenu* menu : std::vector<TMenu*>(LiveMenus()))
                if (dynamic_cast<TPopupMenu*>(menu) && menu->DispatchMeasureItem(*item)) {
                    result = TRUE;
                    return true;
                }
            return false;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || item->CtlType != ODT_MENU) return false;
            for (TMenu* menu : std::vector<TMenu*>(LiveMenus()))
                if (dynamic_cast<TPopupMenu*>(menu) && menu->DispatchDrawItem(*item)) {
                    result = TRUE;
                    return true;
                }
            return false;
        }
        case WM_MENUCHAR: {
            for (TMenu* menu : std::vector<TMenu*>(LiveMenus())) {
                if (!dynamic_cast<TPopupMenu*>(menu)) continue;
                result = menu->ProcessMenuChar(wchar_t(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
                if (result) return true;
            }
            return false;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) != 0 || lParam) return false;
            for (TMenu* menu : std::vector<TMenu*>(LiveMenus()))
                if (dynamic_cast<TPopupMenu*>(menu) && menu->DispatchCommand(LOWORD(wParam))) return true;
            return false;
        case WM_REFILLMENUS:
            RefillPosted = false;
            for (TMenu* menu : std::vector<TMenu*>(LiveMenus()))
                if (menu->RefillPending() && !menu->Tracking()) menu->UpdateItems();
            return true;
        default:
            return false;
    }
}

// Pen and brush of the plain look, on a DC the canvas does not own.
void FillSolid(HDC dc, const RECT& rect, TColor colour) {
    const COLORREF old = ::SetBkColor(dc, COLORREF(ColorToRGB(colour)));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

}  // namespace

HWND PopupListWindow() { return TPopupListWindow::Instance().Handle(); }

int MenuEntryPosition(HMENU menu, UINT command) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        if (::GetMenuItemInfoW(menu, UINT(i), TRUE, &info) && info.wID == command) return i;
    }
    return -1;
}

std::wstring ShortCutToText(TShortCut shortCut) {
    const std::wstring key = KeyText(WORD(shortCut & 0xFF));
    if (key.empty()) return {};
    std::wstring text;
    if (shortCut & scShift) text += L"Shift+";
    if (shortCut & scCtrl) text += L"Ctrl+";
    if (shortCut & scAlt) text += L"Alt+";
    return text + key;
}

TShortCut TextToShortCut(const std::wstring& text) {
    for (TShortCut shortCut = 0; shortCut < 0xFF; ++shortCut) {
        const std::wstring key = KeyText(shortCut);
        if (key.empty()) continue;
        for (TShortCut modifiers : {TShortCut(0), scShift, scCtrl, scAlt, TShortCut(scShift | scCtrl),
                                    TShortCut(scCtrl | scAlt), TShortCut(scShift | scAlt),
                                    TShortCut(scShift | scCtrl | scAlt)})
            if (ShortCutToText(TShortCut(modifiers | shortCut)) == text) return TShortCut(modifiers | shortCut);
    }
    return 0;
}

std::vector<TMenuItem*> ItemsToShow(const TMenuItem* parent) {
    std::vector<TMenuItem*> candidates;
    for (int i = 0; i < parent->Count(); ++i) candidates.push_back(parent->Items(i));
    return ShownItems(candidates, EffectiveLineReduction(parent) == maAutomatic);
}

std::vector<TMenuItem*> MergedItems(const TMenuItem* own, const TMenuItem* merged) {
    std::vector<TMenuItem*> result;
    for (int i = 0; i < own->Count(); ++i) result.push_back(own->Items(i));
    if (!merged) return result;
    for (int i = 0; i < merged->Count(); ++i) {
        TMenuItem* item = merged->Items(i);
        std::erase_if(result, [&](TMenuItem* at) { return at->Parent() == own && at->GroupIndex() == item->GroupIndex(); });
        auto place = result.end();
        while (place != result.begin() && (*(place - 1))->GroupIndex() > item->GroupIndex()) --place;
        result.insert(place, item);
    }
    return result;
}

// ---- TMenuActionLink ----

// The link of a menu item: caption, states, group and image follow the action.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* client) : FClient(client) {}
    bool IsCaptionLinked() const override {
        return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
    }
    bool IsCheckedLinked() const override {
        return TActionLink::IsCheckedLinked() && FClient->Checked() == CustomAction()->Checked();
    }
    bool IsEnabledLinked() const override {
        return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
    }
    bool IsGroupIndexLinked() const override {
        return TActionLink::IsGroupIndexLinked() && FClient->GroupIndex() == CustomAction()->GroupIndex();
    }
    bool IsImageIndexLinked() const override {
        return TActionLink::IsImageIndexLinked() && FClient->ImageIndex() == CustomAction()->ImageIndex();
    }
    bool IsVisibleLinked() const override {
        return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
    }
    void SetCaption(const std::wstring& value) override { if (IsCaptionLinked()) FClient->SetCaption(value); }
    void SetChecked(bool value) override { if (IsCheckedLinked()) FClient->SetChecked(value); }
    void SetEnabled(bool value) override { if (IsEnabledLinked()) FClient->SetEnabled(value); }
    void SetGroupIndex(int value) override { if (IsGroupIndexLinked()) FClient->SetGroupIndex(value); }
    void SetImageIndex(int value) override { if (IsImageIndexLinked()) FClient->SetImageIndex(value); }
    void SetVisible(bool value) override { if (IsVisibleLinked()) FClient->SetVisible(value); }
protected:
    void Change() override { FClient->ActionChanged(); }
private:
    TMenuItem* FClient;
};

// ---- TMenuItem ----

const TPropertyList& TMenuItem::Published() {
    using M = TMenuItem;
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Reference(L"Action", &M::Action, &M::SetAction)
        .Enum(L"AutoLineReduction", &M::AutoLineReduction, &M::SetAutoLineReduction, maParent)
        .SubObject(L"Bitmap", &M::Bitmap)
        .Enum(L"Break", &M::Break, &M::SetBreak, mbNone)
        .Add(L"Caption", &M::Caption, &M::SetCaption)
        .Add(L"Checked", &M::Checked, &M::SetChecked, false)
        .Add(L"Default", &M::Default, &M::SetDefault, false)
        .Add(L"Enabled", &M::Enabled, &M::SetEnabled, true)
        .Add(L"GroupIndex", &M::GroupIndex, &M::SetGroupIndex, 0)
        .Add(L"ImageIndex", &M::ImageIndex, &M::SetImageIndex, -1)
        .Add(L"RadioItem", &M::RadioItem, &M::SetRadioItem, false)
        .Add(L"ShortCut", &M::ShortCut, &M::SetShortCut, 0)
        .Add(L"Visible", &M::Visible, &M::SetVisible, true)
        .Event(L"OnClick", &M::OnClick)
        .Event(L"OnMeasureItem", &M::OnMeasureItem)
        .Event(L"OnAdvancedDrawItem", &M::OnAdvancedDrawItem)
        .Event(L"OnDrawItem", &M::OnDrawItem);
    return list;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
    FActionLink.reset();
    for (TMenuItem* item : FItems) item->FParent = nullptr;
    if (FParent) {
        // At once, even while the menu is open: the parent's menu must not keep showing a
        // sub-menu that is destroyed below.
        if (FParent->FHandle) {
            const int position = MenuEntryPosition(FParent->FHandle, FCommand);
            if (position >= 0) ::RemoveMenu(FParent->FHandle, UINT(position), MF_BYPOSITION);
        }
        FParent->Remove(this);
    }
    FreeHandle();
    ReleaseCommand(FCommand);
}

void TMenuItem::FreeHandle() {
    if (!FHandle) return;
    DetachEntries(FHandle);
    ::DestroyMenu(FHandle);
    FHandle = nullptr;
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    if (FActionLink) ActionChanged();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && FActionLink && component == FActionLink->Action()) FActionLink.reset();
}

void TMenuItem::Changed(bool rebuild) {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, this, rebuild);
}

void TMenuItem::SetCaption(const std::wstring& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed(true);
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (value == FShortCut) return;
    FShortCut = value;
    Changed(true);
}

std::wstring TMenuItem::ShortCutText() const {
    return FShortCutText.empty() ? ShortCutToText(FShortCut) : FShortCutText;
}

void TMenuItem::SetShortCutText(const std::wstring& value) {
    if (value == FShortCutText) return;
    FShortCutText = value;
    Changed(true);
}

void TMenuItem::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed(true);
}

void TMenuItem::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Changed(true);
}

void TMenuItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (value && FRadioItem) TurnSiblingsOff();
    Changed(true);
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent) return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->SetChecked(false);
}

void TMenuItem::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed(true);
}

void TMenuItem::SetDefault(bool value) {
    if (value == FDefault) return;
    // One default item per sub-menu.
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this) sibling->FDefault = false;
    FDefault = value;
    Changed(true);
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == FRadioItem) return;
    FRadioItem = value;
    if (value && FChecked) TurnSiblingsOff();
    Changed(true);
}

void TMenuItem::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    FGroupIndex = value;
    if (FRadioItem && FChecked) TurnSiblingsOff();
    Changed(true);
}

void TMenuItem::SetBreak(TMenuBreak value) {
    if (value == FBreak) return;
    FBreak = value;
    Changed(true);
}

void TMenuItem::SetAutoLineReduction(TMenuItemAutoFlag value) {
    if (value == FAutoLineReduction) return;
    FAutoLineReduction = value;
    Changed(true);
}

TBitmap* TMenuItem::Bitmap() const {
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        auto* self = const_cast<TMenuItem*>(this);
        FBitmap->SetOnChange([self](TObject*) { self->Changed(true); });
    }
    return FBitmap.get();
}

void TMenuItem::SetBitmap(const TBitmap* value) { Bitmap()->Assign(value); }

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* value) {
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(value);
    value->FreeNotification(this);
}

void TMenuItem::ActionChanged() {
    auto* action = dynamic_cast<TCustomAction*>(Action());
    if (!action) return;
    // While loading, values the item was given itself win over the action's.
    const bool keepOwn = HasState(csLoading);
    if (!keepOwn || FCaption.empty()) SetCaption(action->Caption());
    if (!keepOwn || !FChecked) SetChecked(action->Checked());
    if (!keepOwn || FEnabled) SetEnabled(action->Enabled());
    if (!keepOwn || FGroupIndex == 0) SetGroupIndex(action->GroupIndex());
    if (!keepOwn || FImageIndex < 0) SetImageIndex(action->ImageIndex());
    if (!keepOwn || FVisible) SetVisible(action->Visible());
}

int TMenuItem::MenuIndex() const {
    if (!FParent) return -1;
    const auto& list = FParent->FItems;
    return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

bool TMenuItem::InsertDescribedChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) Add(item);
    return true;
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->FParent) throw EInvalidOperation(L"Menu item " + item->Name() + L" is already in a menu");
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, item, true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, this, true);
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    delete FItems[size_t(index)];
}

void TMenuItem::Clear() {
    while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Find(const std::wstring& caption) const {
    auto strip = [](std::wstring text) {
        text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        return text;
    };
    for (TMenuItem* item : FItems)
        if (strip(item->Caption()) == strip(caption)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu) return FParent->FMenu;
    return FParent;
}

TCustomImageList* TMenuItem::GetImageList() const {
    const TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

HMENU TMenuItem::Handle() {
    if (!FHandle) {
        const bool bar = FMenu && FMenu->IsMenuBar();
        FHandle = bar ? ::CreateMenu() : ::CreatePopupMenu();
        if (!FHandle) RaiseLastOSError(L"Cannot make the system menu of " + (Name().empty() ? FCaption : Name()));
        TMenu::FillMenu(GetParentMenu(), FHandle, this);
    }
    return FHandle;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FActionLink && FActionLink->Action()) FActionLink->Execute(this);
    else FireEvent(OnClick, this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    const TMenu* menu = GetParentMenu();
    const bool topLevel = menu && menu->IsMenuBar() && FParent && FParent->FMenu;
    const int textHeight = canvas->TextHeight(L"Wg");
    if (IsLine()) {
        width = 0;
        height = textHeight / 2 + 1;
    } else {
        TCustomImageList* images = GetImageList();
        int glyphWidth = 0, glyphHeight = 0;
        if (images && FImageIndex >= 0) {
            glyphWidth = images->Width();
            glyphHeight = images->Height();
        } else if (FBitmap && !FBitmap->Empty()) {
            glyphWidth = FBitmap->Width();
            glyphHeight = FBitmap->Height();
        }
        const int textWidth = canvas->TextWidth(StripAmpersands(FCaption));
        if (topLevel) {
            width = textWidth + 8 + (glyphWidth ? glyphWidth + 2 : 0);
            height = std::max(textHeight + 4, ::GetSystemMetrics(SM_CYMENU) - 1);
        } else {
            const std::wstring shortCut = ShortCutText();
            const int column = std::max(glyphWidth, textHeight) + 8;
            width = column + textWidth + (shortCut.empty() ? 0 : 24 + canvas->TextWidth(shortCut)) + 16;
            height = std::max(textHeight + 6, glyphHeight + 4);
        }
    }
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
        return;
    }
    // The plain look: a highlight bar, a glyph column, the caption and the shortcut.
    HDC dc = canvas->Handle();
    const RECT box = ToRECT(rect);
    const bool selected = (state & (odSelected | odHotLight)) != 0;
    FillSolid(dc, box, selected ? clHighlight : clMenu);
    if (IsLine()) {
        const int middle = (box.top + box.bottom) / 2;
        FillSolid(dc, RECT{box.left + 2, middle - 1, box.right - 2, middle}, clBtnShadow);
        FillSolid(dc, RECT{box.left + 2, middle, box.right - 2, middle + 1}, clBtnHighlight);
        return;
    }
    const int textHeight = canvas->TextHeight(L"Wg");
    TRect text = rect;
    if (!topLevel) {
        const int column = std::max(textHeight, 16) + 8;
        TRect glyph{rect.Left, rect.Top, rect.Left + column, rect.Bottom};
        TCustomImageList* images = GetImageList();
        if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
            images->Draw(canvas, glyph.Left + (glyph.Width() - images->Width()) / 2,
                         glyph.Top + (glyph.Height() - images->Height()) / 2, FImageIndex, FEnabled);
        } else if (FBitmap && !FBitmap->Empty()) {
            canvas->Draw(glyph.Left + (glyph.Width() - FBitmap->Width()) / 2,
                         glyph.Top + (glyph.Height() - FBitmap->Height()) / 2, FBitmap.get());
        } else if (FChecked) {
            const int side = std::min(glyph.Width(), glyph.Height()) / 2;
            const int x = glyph.Left + (glyph.Width() - side) / 2, y = glyph.Top + (glyph.Height() - side) / 2;
            canvas->Pen()->SetColor(selected ? clHighlightText : clMenuText);
            canvas->Brush()->SetColor(selected ? clHighlightText : clMenuText);
            if (FRadioItem) {
                canvas->Ellipse(x + side / 4, y + side / 4, x + side - side / 4, y + side - side / 4);
            } else {
                const TPoint tick[] = {{x, y + side / 2}, {x + side / 3, y + side - 1}, {x + side, y}};
                canvas->Polyline(tick);
            }
        }
        text.Left += column;
        text.Right -= 16;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, COLORREF(ColorToRGB(!FEnabled ? clGrayText : selected ? clHighlightText : clMenuText)));
    UINT format = DT_SINGLELINE | DT_VCENTER | (topLevel ? DT_CENTER : DT_LEFT);
    if (state & odNoAccel) format |= DT_HIDEPREFIX;
    RECT textBox = ToRECT(text);
    ::DrawTextW(dc, FCaption.c_str(), int(FCaption.size()), &textBox, format);
    const std::wstring shortCut = topLevel ? std::wstring() : ShortCutText();
    if (!shortCut.empty()) ::DrawTextW(dc, shortCut.c_str(), int(shortCut.size()), &textBox, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

// ---- TMenu ----

const TPropertyList& TMenu::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Enum(L"AutoLineReduction", &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction, maAutomatic)
        .Enum(L"BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode, bdLeftToRight)
        .Reference(L"Images", &TMenu::Images, &TMenu::SetImages)
        .Add(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false)
        .Event(L"OnChange", &TMenu::OnChange);
    return list;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
    LiveMenus().push_back(this);
}

TMenu::~TMenu() {
    std::erase(LiveMenus(), this);
    delete FItems;
}

bool TMenu::InsertDescribedChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) FItems->Add(item);
    return true;
}

void TMenu::Loaded() {
    TComponent::Loaded();
    if (FItems->FHandle) UpdateItems();
}

std::vector<TMenuItem*> TMenu::TopLevelItems() const { return ItemsToShow(FItems); }

void TMenu::FillMenu(TMenu* menu, HMENU target, const TMenuItem* parent) {
    DetachEntries(target);
    const std::vector<TMenuItem*> shown = menu && parent == menu->FItems ? menu->TopLevelItems() : ItemsToShow(parent);
    const bool ownerDraw = menu && menu->FOwnerDraw;
    const bool rightToLeft = menu && menu->IsRightToLeft();
    if (menu) std::erase_if(menu->FBitmaps, [&](const auto& entry) { return entry.first == parent; });
    UINT position = 0;
    for (TMenuItem* item : shown) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        info.wID = item->FCommand;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        std::wstring text;
        if (item->IsLine()) {
            info.fType = MFT_SEPARATOR;
        } else if (!ownerDraw) {
            text = item->Caption();
            const std::wstring shortCut = item->ShortCutText();
            if (!shortCut.empty()) text += L"\t" + shortCut;
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        if (ownerDraw) info.fType |= MFT_OWNERDRAW;
        if (item->FRadioItem) info.fType |= MFT_RADIOCHECK;
        if (item->FBreak == mbBreak) info.fType |= MFT_MENUBREAK;
        if (item->FBreak == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
        if (rightToLeft) info.fType |= MFT_RIGHTORDER;
        if (!item->FEnabled) info.fState |= MFS_GRAYED;
        if (item->FChecked) info.fState |= MFS_CHECKED;
        if (item->FDefault) info.fState |= MFS_DEFAULT;
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = item->Handle();
        }
        std::unique_ptr<TBitmap> bitmap;
        if (!ownerDraw && menu && menu->FImages && item->FImageIndex >= 0) {
            bitmap = std::make_unique<TBitmap>();
            if (menu->FImages->GetBitmap(item->FImageIndex, bitmap.get())) {
                info.fMask |= MIIM_BITMAP;
                info.hbmpItem = bitmap->Handle();
            }
        }
        ::InsertMenuItemW(target, position++, TRUE, &info);
        if (info.fMask & MIIM_BITMAP) menu->FBitmaps.emplace_back(parent, std::move(bitmap));
    }
}

HMENU TMenu::BuildMenu(const TMenuItem* parent, bool popup) {
    HMENU menu = popup ? ::CreatePopupMenu() : ::CreateMenu();
    if (!menu) RaiseLastOSError(L"Cannot make a system menu");
    FillMenu(this, menu, parent);
    return menu;
}

void TMenu::ReleaseMenu(HMENU menu) {
    DetachEntries(menu);
    ::DestroyMenu(menu);
    FBitmaps.clear();
}

void TMenu::RefillHandle(TMenuItem* item) {
    if (!item || !item->FHandle) return;
    if (Tracking() || FDispatching > 0) {
        FRefillPending = true;
        ScheduleRefill();
        return;
    }
    FillMenu(this, item->FHandle, item);
}

void TMenu::RefillAll(TMenuItem* item) {
    if (item->FHandle) FillMenu(this, item->FHandle, item);
    for (TMenuItem* child : item->FItems) RefillAll(child);
}

void TMenu::ScheduleRefill() {
    if (RefillPosted) return;
    RefillPosted = ::PostMessageW(PopupListWindow(), WM_REFILLMENUS, 0, 0) != FALSE;
}

void TMenu::UpdateItems() {
    if (Tracking() || FDispatching > 0) {
        FRefillPending = true;
        ScheduleRefill();
        return;
    }
    FRefillPending = false;
    RefillAll(FItems);
    if (IsMenuBar() && FWindowHandle && ::IsWindow(FWindowHandle)) ::DrawMenuBar(FWindowHandle);
}

void TMenu::EndTracking() {
    if (FTracking > 0) --FTracking;
    if (FTracking == 0 && FRefillPending && FDispatching == 0) UpdateItems();
}

void TMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    if (HasState(csLoading) || HasState(csDestroying)) return;
    if (rebuild) {
        if (!source) {
            if (Tracking() || FDispatching > 0) {
                FRefillPending = true;
                ScheduleRefill();
            } else {
                RefillAll(FItems);
            }
        } else {
            RefillHandle(source->FParent);
            RefillHandle(source);
        }
    }
    if (OnChange) OnChange(sender, source, rebuild);
}

void TMenu::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    MenuChanged(this, nullptr, true);
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    MenuChanged(this, nullptr, true);
}

void TMenu::SetBiDiMode(TBiDiMode value) {
    if (value == FBiDiMode) return;
    FBiDiMode = value;
    MenuChanged(this, nullptr, true);
}

void TMenu::SetAutoLineReduction(TMenuItemAutoFlag value) {
    if (value == maParent) value = maAutomatic;  // a menu has no parent to ask
    if (value == FAutoLineReduction) return;
    FAutoLineReduction = value;
    MenuChanged(this, nullptr, true);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        MenuChanged(this, nullptr, true);
    }
}

TMenuItem* TMenu::FindItemWhere(const std::function<bool(const TMenuItem*)>& test) const {
    std::function<TMenuItem*(const TMenuItem*)> search = [&](const TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->FItems) {
            if (test(item)) return item;
            if (TMenuItem* found = search(item)) return found;
        }
        return nullptr;
    };
    if (TMenuItem* found = search(FItems)) return found;
    if (auto* bar = dynamic_cast<const TMainMenu*>(this); bar && bar->MergedMenu()) return bar->MergedMenu()->FindItemWhere(test);
    return nullptr;
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
    switch (kind) {
        case fkCommand:
            return FindItemWhere([&](const TMenuItem* item) { return item->FCommand == value; });
        case fkHandle:
            if (value && reinterpret_cast<HMENU>(value) == FItems->FHandle) return FItems;
            return FindItemWhere([&](const TMenuItem* item) {
                return item->FHandle && reinterpret_cast<UINT_PTR>(item->FHandle) == value;
            });
        case fkShortCut:
            return FindItemWhere([&](const TMenuItem* item) { return item->FShortCut == value; });
    }
    return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
    if (command == 0) return false;
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& measure) {
    TMenuItem* item = FindItem(measure.itemID, fkCommand);
    if (!item) return false;
    ++FDispatching;
    HDC screen = ::GetDC(nullptr);
    try {
        TCanvas canvas;
        canvas.SetHandle(screen);
        canvas.Font()->Assign(Screen->MenuFont());
        int width = int(measure.itemWidth), height = int(measure.itemHeight);
        item->MeasureItem(&canvas, width, height);
        measure.itemWidth = UINT(std::max(width, 0));
        measure.itemHeight = UINT(std::max(height, 0));
        canvas.SetHandle(nullptr);
    } catch (...) {
        ::ReleaseDC(nullptr, screen);
        --FDispatching;
        throw;
    }
    ::ReleaseDC(nullptr, screen);
    --FDispatching;
    return true;
}

bool TMenu::DispatchDrawItem(const DRAWITEMSTRUCT& draw) {
    TMenuItem* item = FindItem(draw.itemID, fkCommand);
    if (!item) return false;
    ++FDispatching;
    const int saved = ::SaveDC(draw.hDC);
    try {
        TCanvas canvas;
        canvas.SetHandle(draw.hDC);
        canvas.Font()->Assign(Screen->MenuFont());
        const bool topLevel = IsMenuBar() && item->FParent && item->FParent->FMenu;
        item->AdvancedDrawItem(&canvas, FromRECT(draw.rcItem), OwnerDrawStateOf(draw.itemState), topLevel);
        canvas.SetHandle(nullptr);
    } catch (...) {
        ::RestoreDC(draw.hDC, saved);
        --FDispatching;
        throw;
    }
    ::RestoreDC(draw.hDC, saved);
    --FDispatching;
    return true;
}

LRESULT TMenu::ProcessMenuChar(wchar_t key, HMENU menu) {
    if (!FOwnerDraw || !menu) return 0;
    const TMenuItem* parent = FindItem(reinterpret_cast<UINT_PTR>(menu), fkHandle);
    if (!parent) return 0;
    const std::vector<TMenuItem*> shown = parent == FItems ? TopLevelItems() : ItemsToShow(parent);
    std::vector<int> positions;
    for (const TMenuItem* item : shown)
        if (item->FEnabled && !item->IsLine() && IsAccel(key, item->FCaption)) {
            const int position = MenuEntryPosition(menu, item->FCommand);
            if (position >= 0) positions.push_back(position);
        }
    if (positions.empty()) return 0;
    // One match runs it; several are stepped through, as the system does with text menus.
    if (positions.size() == 1) return MAKELRESULT(positions.front(), MNC_EXECUTE);
    MENUITEMINFOW info{};
    const int count = ::GetMenuItemCount(menu);
    int current = -1;
    for (int i = 0; i < count; ++i) {
        info = MENUITEMINFOW{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        if (::GetMenuItemInfoW(menu, UINT(i), TRUE, &info) && (info.fState & MFS_HILITE)) current = i;
    }
    for (int position : positions)
        if (position > current) return MAKELRESULT(position, MNC_SELECT);
    return MAKELRESULT(positions.front(), MNC_SELECT);
}

// ---- TPopupMenu ----

const TPropertyList& TPopupMenu::Published() {
    static const TPropertyList list = TPropertyList::Extend(TMenu::Published())
        .Add(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Enum(L"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft)
        .Event(L"OnPopup", &TPopupMenu::OnPopup)
        .Event(L"OnClose", &TPopupMenu::OnClose);
    return list;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
    FireEvent(OnPopup, this);
    HMENU menu = Handle();
    if (RefillPending()) UpdateItems();
    SetWindowHandle(PopupListWindow());
    UINT flags = TPM_LEFTALIGN;
    if (FAlignment == paRight) flags = TPM_RIGHTALIGN;
    else if (FAlignment == paCenter) flags = TPM_CENTERALIGN;
    if (IsRightToLeft()) flags |= TPM_LAYOUTRTL;
    const bool shown = ::GetMenuItemCount(menu) > 0;
    BeginTracking();
    UINT command = 0;
    try {
        command = UINT(::TrackPopupMenuEx(menu, flags | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, WindowHandle(), nullptr));
    } catch (...) {
        EndTracking();
        throw;
    }
    EndTracking();
    if (shown) FireEvent(OnClose, this);
    DispatchCommand(command);
}

// ---- TMainMenu ----

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    // The form's window would destroy a menu bar it still shows.
    if (WindowHandle() && ::IsWindow(WindowHandle()) && Items()->HandleAllocated() &&
        ::GetMenu(WindowHandle()) == Items()->Handle())
        ::SetMenu(WindowHandle(), nullptr);
}

std::vector<TMenuItem*> TMainMenu::TopLevelItems() const {
    return ShownItems(MergedItems(Items(), FMerged ? FMerged->Items() : nullptr),
                      EffectiveLineReduction(Items()) == maAutomatic);
}

void TMainMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
    TMenu::MenuChanged(sender, source, rebuild);
    if (HasState(csLoading) || HasState(csDestroying)) return;
    // The bar this menu is merged into shows our top-level items too.
    for (TMenu* menu : LiveMenus())
        if (auto* bar = dynamic_cast<TMainMenu*>(menu); bar && bar->FMerged == this && rebuild)
            bar->RefillHandle(bar->Items());
    if (WindowHandle() && ::IsWindow(WindowHandle()) && !Tracking()) ::DrawMenuBar(WindowHandle());
}

void TMainMenu::Merge(TMainMenu* menu) {
    if (menu == this) menu = nullptr;
    if (menu == FMerged) return;
    if (FMerged) FMerged->RemoveFreeNotification(this);
    FMerged = menu;
    if (menu) menu->FreeNotification(this);
    MenuChanged(this, nullptr, true);
}

void TMainMenu::Unmerge(TMainMenu* menu) {
    if (menu && menu == FMerged) Merge(nullptr);
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FMerged) {
        FMerged = nullptr;
        MenuChanged(this, nullptr, true);
    }
}

}  // namespace ClassLib
