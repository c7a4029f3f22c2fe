#include "classlib/Menus.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Control.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TMenuItem, TComponent)
CLASSLIB_IMPLEMENT(TMenu, TComponent)
CLASSLIB_IMPLEMENT(TPopupMenu, TMenu)

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

}  // namespace

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

// ---- TMenuItem ----

const TPropertyList& TMenuItem::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Add(L"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
        .Add(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
        .Add(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
        .Add(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
        .Add(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
        .Add(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
        .Event(L"OnClick", &TMenuItem::OnClick);
    return list;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    for (TMenuItem* item : FItems) item->FParent = nullptr;
    if (FParent) FParent->Remove(this);
}

std::wstring TMenuItem::ShortCutText() const {
    return FShortCutText.empty() ? ShortCutToText(FShortCut) : FShortCutText;
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
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
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

void TMenuItem::Click() {
    if (FEnabled) FireEvent(OnClick, this);
}

// ---- TMenu, TPopupMenu ----

const TPropertyList& TMenu::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Reference(L"Images", &TMenu::Images, &TMenu::SetImages);
    return list;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    delete FItems;
}

bool TMenu::InsertDescribedChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) FItems->Add(item);
    return true;
}

HMENU TMenu::BuildMenu(const TMenuItem* parent, bool popup) {
    HMENU menu = popup ? ::CreatePopupMenu() : ::CreateMenu();
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = item->Caption();
        const std::wstring shortCut = item->ShortCutText();
        if (!shortCut.empty()) text += L"\t" + shortCut;
        UINT flags = MF_STRING;
        if (!item->Enabled()) flags |= MF_GRAYED;
        if (item->Checked()) flags |= MF_CHECKED;
        if (item->Count() > 0) {
            ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(item, true)), text.c_str());
        } else {
            FCommands.push_back(item);
            ::AppendMenuW(menu, flags, FCommands.size(), text.c_str());
        }
        const UINT position = UINT(::GetMenuItemCount(menu) - 1);
        if (item->Default()) ::SetMenuDefaultItem(menu, position, TRUE);
        if (FImages && item->ImageIndex() >= 0) {
            auto bitmap = std::make_unique<TBitmap>();
            if (FImages->GetBitmap(item->ImageIndex(), bitmap.get())) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_BITMAP;
                info.hbmpItem = bitmap->Handle();
                ::SetMenuItemInfoW(menu, position, TRUE, &info);
                FBitmaps.push_back(std::move(bitmap));
            }
        }
    }
    return menu;
}

void TMenu::ReleaseMenu(HMENU menu) {
    ::DestroyMenu(menu);
    FBitmaps.clear();
}

void TMenu::SetImages(TCustomImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
    if (command == 0 || command > FCommands.size()) return false;
    TMenuItem* item = FCommands[command - 1];
    FCommands.clear();
    item->Click();
    return true;
}

const TPropertyList& TPopupMenu::Published() {
    static const TPropertyList list = TPropertyList::Extend(TMenu::Published())
        .Add(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Enum(L"Alignment", L"TPopupAlignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment,
              {L"paLeft", L"paRight", L"paCenter"}, paLeft)
        .Event(L"OnPopup", &TPopupMenu::OnPopup)
        .Event(L"OnClose", &TPopupMenu::OnClose);
    return list;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
    FireEvent(OnPopup, this);
    FCommands.clear();
    HMENU menu = BuildMenu(Items(), true);
    // The menu needs a window of ours to report to; the active one will do.
    HWND owner = ::GetActiveWindow();
    if (!owner) owner = Application->Handle();
    UINT align = TPM_LEFTALIGN;
    if (FAlignment == paRight) align = TPM_RIGHTALIGN;
    else if (FAlignment == paCenter) align = TPM_CENTERALIGN;
    const UINT command = UINT(::TrackPopupMenuEx(menu, align | TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                 x, y, owner, nullptr));
    ReleaseMenu(menu);
    FireEvent(OnClose, this);
    if (!DispatchCommand(command)) FCommands.clear();
}

}  // namespace ClassLib
