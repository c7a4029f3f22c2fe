#include "classlib/TabControl.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/ImageList.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TCustomTabControl, TWinControl)

const TPropertyList& TCustomTabControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine, false)
        .Add(L"TabWidth", &TCustomTabControl::TabWidth, &TCustomTabControl::SetTabWidth, 0)
        .Add(L"TabHeight", &TCustomTabControl::TabHeight, &TCustomTabControl::SetTabHeight, 0)
        .Enum(L"TabPosition", &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition, tpTop)
        .Add(L"HotTrack", &TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack, false)
        .Add(L"RaggedRight", &TCustomTabControl::RaggedRight, &TCustomTabControl::SetRaggedRight, false)
        .Add(L"ScrollOpposite", &TCustomTabControl::ScrollOpposite, &TCustomTabControl::SetScrollOpposite, false)
        .Add(L"TabStop", &TCustomTabControl::TabStop, &TCustomTabControl::SetTabStop, true)
        .Event(L"OnChange", &TCustomTabControl::OnChange)
        .Event(L"OnChanging", &TCustomTabControl::OnChanging)
        .Event(L"OnGetImageIndex", &TCustomTabControl::OnGetImageIndex);
    return list;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csDoubleClicks | csOpaque;
    TControl::SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    FImageLink = std::make_unique<TChangeLink>();
    FImageLink->SetOnChange([this](TObject* sender) { ImageListChange(sender); });
}

TCustomTabControl::~TCustomTabControl() {
    if (FTabImages) FTabImages->UnRegisterChanges(FImageLink.get());
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_TAB_CLASSES};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)registered;
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLW);
    params.Style |= WS_CLIPCHILDREN;
    if (FMultiLine) params.Style |= TCS_MULTILINE;
    if (FTabWidth > 0) params.Style |= TCS_FIXEDWIDTH;
    if (FHotTrack) params.Style |= TCS_HOTTRACK;
    if (FRaggedRight) params.Style |= TCS_RAGGEDRIGHT;
    if (FScrollOpposite) params.Style |= TCS_SCROLLOPPOSITE;
    if (FOwnerDraw) params.Style |= TCS_OWNERDRAWFIXED;
    switch (FTabPosition) {
        case tpTop: break;
        case tpBottom: params.Style |= TCS_BOTTOM; break;
        // Side tabs come in rows of their own only: the system lays them out that way.
        case tpLeft: params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
        case tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWindowHandleDone() {
    SendImageList();
    SendItemSize();
    for (int i = 0; i < TabCount(); ++i) SendTab(i, true);
    ::SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(FTabIndex), 0);
}

void TCustomTabControl::DestroyWnd() {
    FTabIndex = TabIndex();
    TWinControl::DestroyWnd();
}

void TCustomTabControl::SendTab(int index, bool insert) {
    if (!FHandle) return;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(FTabs[size_t(index)].Text.c_str());
    item.iImage = GetImageIndex(index);
    ::SendMessageW(FHandle, insert ? TCM_INSERTITEMW : TCM_SETITEMW, WPARAM(index), LPARAM(&item));
}

void TCustomTabControl::SendItemSize() {
    if (FHandle && (FTabWidth > 0 || FTabHeight > 0))
        ::SendMessageW(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TCustomTabControl::SendImageList() {
    if (!FHandle) return;
    ::SendMessageW(FHandle, TCM_SETIMAGELIST, 0, LPARAM(FTabImages ? FTabImages->Handle() : nullptr));
}

void TCustomTabControl::ImageListChange(TObject* sender) {
    (void)sender;
    // The list made a new system list for its change: the window must hold the new one.
    SendImageList();
    UpdateTabImages();
}

void TCustomTabControl::SetTabText(int index, const std::wstring& text) {
    if (index < 0 || index >= TabCount()) RaiseListIndexError(index);
    if (FTabs[size_t(index)].Text == text) return;
    FTabs[size_t(index)].Text = text;
    SendTab(index, false);
}

void TCustomTabControl::InsertTab(int index, const std::wstring& text, TObject* object) {
    if (index < 0 || index > TabCount()) RaiseListIndexError(index);
    FTabs.insert(FTabs.begin() + index, TTabEntry{text, object});
    if (FHandle) SendTab(index, true);
    else if (FTabIndex >= index) ++FTabIndex;
}

void TCustomTabControl::DeleteTab(int index) {
    if (index < 0 || index >= TabCount()) RaiseListIndexError(index);
    FTabs.erase(FTabs.begin() + index);
    if (FHandle) {
        ::SendMessageW(FHandle, TCM_DELETEITEM, WPARAM(index), 0);
    } else if (FTabIndex == index) {
        FTabIndex = -1;
    } else if (FTabIndex > index) {
        --FTabIndex;
    }
}

void TCustomTabControl::MoveTab(int from, int to) {
    if (from < 0 || from >= TabCount()) RaiseListIndexError(from);
    if (to < 0 || to >= TabCount()) RaiseListIndexError(to);
    if (from == to) return;
    const int selected = TabIndex();
    TTabEntry entry = FTabs[size_t(from)];
    FTabs.erase(FTabs.begin() + from);
    FTabs.insert(FTabs.begin() + to, entry);
    int newSelected = selected;
    if (selected == from) newSelected = to;
    else if (from < selected && selected <= to) --newSelected;
    else if (to <= selected && selected < from) ++newSelected;
    if (FHandle) {
        ::SendMessageW(FHandle, TCM_DELETEITEM, WPARAM(from), 0);
        SendTab(to, true);
    }
    SetTabIndex(newSelected);
}

void TCustomTabControl::ClearTabs() {
    FTabs.clear();
    FTabIndex = -1;
    if (FHandle) ::SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
}

int TCustomTabControl::IndexOfTabObject(const TObject* object) const {
    for (size_t i = 0; i < FTabs.size(); ++i)
        if (FTabs[i].Object == object) return int(i);
    return -1;
}

std::wstring TCustomTabControl::WindowTabText(int index) {
    if (!FHandle) return {};
    wchar_t buffer[512] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = int(std::size(buffer));
    if (!::SendMessageW(FHandle, TCM_GETITEMW, WPARAM(index), LPARAM(&item))) return {};
    return item.pszText ? std::wstring(item.pszText) : std::wstring();
}

int TCustomTabControl::TabIndex() const {
    if (FHandle) return int(::SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int value) {
    if (value < -1 || value >= TabCount()) value = -1;
    FTabIndex = value;
    if (FHandle) ::SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(value), 0);
}

TRect TCustomTabControl::TabRect(int index) {
    RECT rect{};
    if (HandleAllocated() && index >= 0 && index < TabCount())
        ::SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(index), LPARAM(&rect));
    return FromRECT(rect);
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    if (!FHandle) return -1;
    TCHITTESTINFO info{{x, y}, 0};
    return int(::SendMessageW(FHandle, TCM_HITTEST, 0, LPARAM(&info)));
}

int TCustomTabControl::RowCount() {
    return FHandle ? int(::SendMessageW(FHandle, TCM_GETROWCOUNT, 0, 0)) : 0;
}

TRect TCustomTabControl::DisplayRect() {
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    return rect;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) const {
    if (!FHandle) return;
    RECT r = ToRECT(rect);
    ::SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
    rect = FromRECT(r);
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (value == FMultiLine) return;
    FMultiLine = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabWidth(int value) {
    if (value < 0) value = 0;
    if (value == FTabWidth) return;
    const bool styleChanges = (value > 0) != (FTabWidth > 0);
    FTabWidth = value;
    if (styleChanges) RecreateWnd();
    else SendItemSize();
    Realign();
}

void TCustomTabControl::SetTabHeight(int value) {
    if (value < 0) value = 0;
    if (value == FTabHeight) return;
    FTabHeight = value;
    SendItemSize();
    Realign();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (value == FTabPosition) return;
    FTabPosition = value;
    RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    RecreateWnd();
}

void TCustomTabControl::SetRaggedRight(bool value) {
    if (value == FRaggedRight) return;
    FRaggedRight = value;
    RecreateWnd();
}

void TCustomTabControl::SetScrollOpposite(bool value) {
    if (value == FScrollOpposite) return;
    FScrollOpposite = value;
    RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabImages(TCustomImageList* value) {
    if (value == FTabImages) return;
    if (FTabImages) {
        FTabImages->UnRegisterChanges(FImageLink.get());
        FTabImages->RemoveFreeNotification(this);
    }
    FTabImages = value;
    if (FTabImages) {
        FTabImages->RegisterChanges(FImageLink.get());
        FTabImages->FreeNotification(this);
    }
    SendImageList();
    UpdateTabImages();
}

void TCustomTabControl::UpdateTabImages() {
    if (!FHandle) return;
    for (int i = 0; i < TabCount(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_IMAGE;
        item.iImage = GetImageIndex(i);
        ::SendMessageW(FHandle, TCM_SETITEMW, WPARAM(i), LPARAM(&item));
    }
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FTabImages) {
        FTabImages = nullptr;
        SendImageList();
    }
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    FireEvent(OnChanging, this, allow);
    return allow;
}

void TCustomTabControl::Change() { FireEvent(OnChange, this); }

int TCustomTabControl::GetImageIndex(int tabIndex) {
    int image = tabIndex;
    FireEvent(OnGetImageIndex, this, tabIndex, image);
    return image;
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    // No painter given: the text, so an owner-drawn control still shows its tabs.
    if (!FDrawItemDC) return;
    RECT r = ToRECT(rect);
    ::SetBkMode(FDrawItemDC, TRANSPARENT);
    ::DrawTextW(FDrawItemDC, TabText(tabIndex).c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TCustomTabControl::CNNotify(TMessage& message) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    switch (header->code) {
        case TCN_SELCHANGING: {
            // A tab the user may not choose stays unchosen.
            TCHITTESTINFO info{};
            ::GetCursorPos(&info.pt);
            ::ScreenToClient(FHandle, &info.pt);
            const int target = int(::SendMessageW(FHandle, TCM_HITTEST, 0, LPARAM(&info)));
            const bool allowed = CanChange() && (target < 0 || CanShowTab(target));
            message.Result = allowed ? 0 : 1;
            if (!allowed) FRefusedSelection = true;
            return;
        }
        case TCN_SELCHANGE:
            FTabIndex = TabIndex();
            Change();
            return;
        default: break;
    }
}

void TCustomTabControl::CNDrawItem(TMessage& message) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    const int saved = ::SaveDC(item->hDC);
    FDrawItemDC = item->hDC;
    try {
        DrawTab(int(item->itemID), FromRECT(item->rcItem), (item->itemState & ODS_SELECTED) != 0);
    } catch (...) {
        FDrawItemDC = nullptr;
        ::RestoreDC(item->hDC, saved);
        throw;
    }
    FDrawItemDC = nullptr;
    ::RestoreDC(item->hDC, saved);
    message.Result = 1;
}

void TCustomTabControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_NOTIFY: CNNotify(message); return;
        case CN_DRAWITEM: CNDrawItem(message); return;
        case WM_SIZE:
            TWinControl::Dispatch(message);
            Realign();
            return;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN: {
            // Wine: a tab control moves its selection on an arrow key even when the
            // parent refused the change (it only leaves out TCN_SELCHANGE): put it back.
            const int before = TabIndex();
            FRefusedSelection = false;
            TWinControl::Dispatch(message);
            if (FRefusedSelection && FHandle && TabIndex() != before)
                ::SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(before), 0);
            FRefusedSelection = false;
            return;
        }
        default: TWinControl::Dispatch(message);
    }
}

}  // namespace ClassLib
