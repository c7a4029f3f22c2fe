// The toolbar's side of hidden items and its options drop-down: which items give way when
// the toolbar is too short (AdvToolBarHidden), the recently-used order, moving items, and
// filling, placing and showing the drop-down (AdvOptionSelector).
#include <algorithm>

#include "classlib/Screen.h"
#include "menus/AdvMenus.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvOptionSelector.h"
#include "classlib/UpdateScope.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCustomizer.h"
#include "toolbars/AdvToolBarHidden.h"
#include "toolbars/AdvToolBarItem.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;

// ---------------------------------------------------------------- items

bool TAdvCustomToolBar::HidesItems() const {
    if (FToolBarState == tsFloating) return false;
    return (FToolBarState == tsDocked && FCurrentDock) || FDockedStandIn;
}

void TAdvCustomToolBar::SetDockedStandIn(bool value) {
    if (value == FDockedStandIn) return;
    FDockedStandIn = value;
    if (value) {
        UpdateHiddenControls();
    } else {
        RestoreAllHiddenControls();
        ArrangeItems(false);
    }
}

bool TAdvCustomToolBar::IsSeparatorItem(const TControl* control) const {
    const auto* item = dynamic_cast<const IToolBarItem*>(control);
    return item && item->ToolBarItemKind() == TToolBarItemKind::Separator;
}

std::wstring TAdvCustomToolBar::ItemCaption(const TControl* control) {
    if (!control) return {};
    if (dynamic_cast<const TAdvCustomGlowButton*>(control)) return control->Caption();
    if (const auto* item = dynamic_cast<const IToolBarItem*>(control)) {
        const TToolBarItemKind kind = item->ToolBarItemKind();
        if (kind == TToolBarItemKind::Button || kind == TToolBarItemKind::MenuButton ||
            kind == TToolBarItemKind::Container)
            return control->Caption();
    }
    return control->Name();
}

int TAdvCustomToolBar::IndexOfToolBarControl(const TControl* control) const {
    if (!FATBControls || !control) return -1;
    return FATBControls->IndexOf(Entry(const_cast<TControl*>(control)));
}

int TAdvCustomToolBar::AddToolBarControl(TControl* control) {
    if (!control || IndexOfToolBarControl(control) >= 0 || control->Parent() == this) return -1;
    // Becoming a child registers the control; the toolbar's layout may not change its height.
    const int height = control->Height();
    control->SetParent(this);
    control->SetHeight(height);
    const int index = IndexOfToolBarControl(control);
    if (index < 0) return -1;
    const int last = ToolBarControlCount() - 1;
    MoveToolBarControl(index, last);
    return last;
}

void TAdvCustomToolBar::InsertToolBarControl(int index, TControl* control) {
    MoveToolBarControl(AddToolBarControl(control), index);
}

void TAdvCustomToolBar::MoveToolBarControl(int fromIndex, int toIndex) {
    const int count = ToolBarControlCount();
    if (fromIndex < 0 || fromIndex >= count || toIndex < 0 || toIndex >= count || fromIndex == toIndex) return;
    void* entry = FATBControls->GetItemsEx(fromIndex);
    // The item keeps its place among the recently used, so it can still give way; a hidden
    // one comes back, and the hiding below decides again.
    if (FLUHidedControls->IndexOf(entry) >= 0) {
        FLUHidedControls->Remove(entry);
        ReparentToToolBar(ItemAt(*FATBControls, fromIndex));
    }
    FATBControls->Delete(fromIndex);
    FATBControls->Insert(toIndex, entry);
    ArrangeItems(false);
    UpdateHiddenControls();
    if (OptionWindowShowing()) RebuildOptionWindow();
}

void TAdvCustomToolBar::ReparentToToolBar(TControl* control) {
    if (!control || control->Parent() == this || HasState(csDesigning) || HasState(csLoading)) return;
    TFlagScope internal(FInternalControlUpdation, true);
    TFlagScope updating(FUpdatingControls, true);
    control->SetParent(this);
}

// ---------------------------------------------------------------- hiding

void TAdvCustomToolBar::UpdateHiddenControls() {
    // A toolbar that left its dock panel for a plain parent would keep its hidden items out
    // of sight, with no drop-down to reach them: they come back.
    if (!HidesItems() && FLUHidedControls && FLUHidedControls->Count() > 0 && !FUpdatingControls &&
        !HasState(csLoading)) {
        RestoreAllHiddenControls();
        ArrangeItems(false);
        return;
    }
    if (!HidesItems() || !FATBControls || FUpdateCount > 0 || FUpdatingControls || HasState(csLoading)) return;
    if (FFullSize) {
        RestoreAllHiddenControls();
        return;
    }
    const bool vertical = IsVertical(FPosition);
    std::vector<THidingItem> items;
    items.reserve(size_t(FATBControls->Count()));
    for (int i = 0; i < FATBControls->Count(); ++i) {
        const TControl* control = ItemAt(*FATBControls, i);
        items.push_back({vertical ? control->Top() : control->Left(), vertical ? control->Height() : control->Width(),
                         IsSeparatorItem(control), control->Visible()});
    }
    std::vector<int> used;
    for (int i = 0; i < FRUControls->Count(); ++i) used.push_back(FATBControls->IndexOf(FRUControls->GetItemsEx(i)));
    std::vector<int> hidden;
    for (int i = 0; i < FLUHidedControls->Count(); ++i)
        hidden.push_back(FATBControls->IndexOf(FLUHidedControls->GetItemsEx(i)));
    const std::vector<int> before = hidden;
    THidingRoom room;
    room.Length = vertical ? Height() : Width();
    room.HandleWidth = RightHandleWidth();
    room.GripWidth = GripDrawn() ? FDragGripWidth : 0;
    UpdateHidden(items, used, hidden, room);
    if (hidden == before) return;

    FLUHidedControls->Clear();
    for (int index : hidden) FLUHidedControls->Add(FATBControls->GetItemsEx(index));
    for (int index : before)
        if (index >= 0 && std::find(hidden.begin(), hidden.end(), index) == hidden.end())
            ReparentToToolBar(ItemAt(*FATBControls, index));
    ArrangeItems(false);
    Invalidate();
}

void TAdvCustomToolBar::RestoreAllHiddenControls() {
    if (!FLUHidedControls || FLUHidedControls->Count() == 0) return;
    std::vector<TControl*> hidden;
    for (int i = 0; i < FLUHidedControls->Count(); ++i) hidden.push_back(ItemAt(*FLUHidedControls, i));
    FLUHidedControls->Clear();
    for (TControl* control : hidden) ReparentToToolBar(control);
    Invalidate();
}

void TAdvCustomToolBar::RecheckHiddenControls() {
    if (!HidesItems() || !FLUHidedControls || FLUHidedControls->Count() == 0) return;
    // Measured along the toolbar's length, also when it stands upright.
    const bool vertical = IsVertical(FPosition);
    for (int guard = FLUHidedControls->Count(); guard > 0; --guard) {
        const TControl* farthest = nullptr;
        std::vector<THidingItem> items;
        std::vector<int> hidden;
        for (int i = 0; i < FATBControls->Count(); ++i) {
            const TControl* control = ItemAt(*FATBControls, i);
            const bool isHidden = FLUHidedControls->IndexOf(Entry(const_cast<TControl*>(control))) >= 0;
            if (control->Visible() && !isHidden) farthest = control;
            items.push_back({0, vertical ? control->Height() : control->Width(), IsSeparatorItem(control), true});
        }
        for (int i = 0; i < FLUHidedControls->Count(); ++i)
            hidden.push_back(FATBControls->IndexOf(FLUHidedControls->GetItemsEx(i)));
        if (!farthest) return;
        const int farEdge = vertical ? farthest->Top() + farthest->Height() : farthest->Left() + farthest->Width();
        const int room = (vertical ? Height() : Width()) - farEdge - RightHandleWidth();
        if (RestorableHidden(items, hidden, room) < 0) return;
        const int count = FLUHidedControls->Count();
        UpdateHiddenControls();
        if (FLUHidedControls->Count() == count) return;
    }
}

void TAdvCustomToolBar::PromoteControl(TControl* control) {
    if (HasState(csDestroying) || IndexOfToolBarControl(control) < 0) return;
    if (FAutoArrangeButtons) {
        void* entry = Entry(control);
        FRUControls->Remove(entry);
        FRUControls->Insert(0, entry);
        if (FLUHidedControls->IndexOf(entry) >= 0) {
            if (!IsSeparatorItem(control)) {
                std::vector<THidingItem> items;
                for (int i = 0; i < FATBControls->Count(); ++i) {
                    const TControl* item = ItemAt(*FATBControls, i);
                    items.push_back({0, 0, IsSeparatorItem(item), item->Visible()});
                }
                std::vector<int> hidden;
                for (int i = 0; i < FLUHidedControls->Count(); ++i)
                    hidden.push_back(FATBControls->IndexOf(FLUHidedControls->GetItemsEx(i)));
                const int separator = HiddenGroupSeparator(items, hidden, IndexOfToolBarControl(control));
                if (separator >= 0) {
                    TControl* companion = ItemAt(*FATBControls, separator);
                    FLUHidedControls->Remove(Entry(companion));
                    ReparentToToolBar(companion);
                }
            }
            FLUHidedControls->Remove(entry);
            ReparentToToolBar(control);
            // The items take their places before the others are measured for giving way.
            ArrangeItems(false);
        }
    }
    HideOptionWindow();
    UpdateHiddenControls();
}

void TAdvCustomToolBar::MoveUpInRUList(TControl* control) {
    PromoteControl(control);
    UpdateHiddenControls();
}

// ---------------------------------------------------------------- the drop-down

TPoint TAdvCustomToolBar::OptionPoint() const {
    if (FToolBarState == tsFloating)
        return ClientToScreen({Left() + Width() - (FShowClose ? 40 : 20), Top() + FCaptionHeight - 2});
    const TPoint client{Left() + Width() - 12, Top() + Height() + 1};
    return Parent() ? Parent()->ClientToScreen(client) : client;
}

void TAdvCustomToolBar::OptionIndicatorClick() {
    if (!Parent()) return;
    if (OnOptionClick || FOptionMenu || FCustomizer) {
        const bool floating = FToolBarState == tsFloating;
        const TPoint client = floating ? TPoint{Left() + Width() - (FShowClose ? 40 : 20), Top() + FCaptionHeight - 2}
                                       : TPoint{Left() + Width() - 12, Top() + Height() + 1};
        if (OnOptionClick) OnOptionClick(this, client, OptionPoint());
        ShowOptionWindow(0, 0, false);
        FDownPopupIndicator = FHotPopupIndicator = false;
        Invalidate();
        return;
    }
    ShowOptionWindow(0, 0, false);
}

void TAdvCustomToolBar::PopupOptionMenu() {
    if (!Parent()) return;
    const TPoint client{Left() + Width() - 12, Top() + Height() + 1};
    const TPoint screen = Parent()->ClientToScreen(client);
    if (OnOptionClick) OnOptionClick(this, client, screen);
    else if (FOptionMenu) FOptionMenu->Popup(screen.X, screen.Y);
}

void TAdvCustomToolBar::BuildOptionWindow() {
    if (HasState(csDesigning)) return;
    if (!FOptionWindow) {
        // Known before it becomes a child, so the toolbar never takes it for an item.
        FOptionWindow = new TOptionSelectorWindow(this);
        FOptionWindow->SetParent(this);
        FOptionWindow->Prepare();
        FOptionWindow->OnHide = [this](TObject*) { OptionWindowHidden(); };
        FOptionWindow->SetAdvToolBar(this);
        FOptionWindowPanel = new TControlSelectorPanel(FOptionWindow);
        FOptionWindowPanel->SetParent(FOptionWindow);
    }
    TControlSelectorPanel* panel = FOptionWindowPanel;
    panel->SetShowAddAndRemoveBtn(FAutoOptionMenu);
    if (auto* menu = dynamic_cast<AdvMenus::TAdvPopupMenu*>(FOptionMenu))
        menu->SetMenuStyler(FCurrentToolBarStyler->CurrentAdvMenuStyler());
    panel->SetOptionsMenu(FOptionMenu);
    panel->SetTextAutoOptionMenu(FTextAutoOptionMenu);
    panel->SetTextOptionMenu(FTextOptionMenu);
    panel->SetCustomizer(FCustomizer);
    panel->SetAdvToolBar(this);
    const TButtonAppearance* look = FCurrentToolBarStyler->ButtonAppearance();
    panel->ItemColorHot = look->ColorHot();
    panel->ItemColorHotTo = look->ColorHotTo();
    panel->ItemColorDown = look->ColorDown();
    panel->ItemColorDownTo = look->ColorDownTo();
    panel->ItemTextColor = look->CaptionTextColor();
    panel->ItemTextColorHot = look->CaptionTextColorHot();
    panel->ItemTextColorDown = look->CaptionTextColorDown();
    panel->Font()->Assign(look->CaptionFont());
    panel->ItemTextFontSize = look->CaptionFont()->Size();
    FOptionWindow->SetOptionsPanel(panel);
    panel->ClearSeparators();
    panel->ClearControls();
    panel->UpdateItemWidths();
    {
        TFlagScope internal(FInternalControlUpdation, true);
        const int hiddenCount = FLUHidedControls->Count();
        int counter = 1;
        TControl* pendingSeparator = nullptr;
        for (int i = 0; i < FATBControls->Count(); ++i) {
            TControl* control = ItemAt(*FATBControls, i);
            const bool separator = IsSeparatorItem(control);
            if (separator) pendingSeparator = control;
            if (FLUHidedControls->IndexOf(Entry(control)) < 0) continue;
            // A hidden separator at either end of the list would open or close it with a line.
            if (separator && (counter == 1 || counter == hiddenCount)) continue;
            if (!separator) {
                if (pendingSeparator && counter > 1) panel->AddSeparator(pendingSeparator);
                pendingSeparator = nullptr;
            }
            panel->AddControl(control);
            ++counter;
            if (separator) pendingSeparator = nullptr;
        }
    }
    panel->ArrangeControls();
    FOptionWindow->SetWindowSize();
}

void TAdvCustomToolBar::ShowOptionWindow(int x, int y, bool useGivenPoint) {
    FPrevActiveControl = Screen ? Screen->ActiveControl() : nullptr;
    BuildOptionWindow();
    if (!FOptionWindow) return;
    const int width = FOptionWindow->Width(), height = FOptionWindow->Height();
    if (!useGivenPoint) {
        const TPoint point = OptionPoint();
        x = point.X;
        y = point.Y;
        if (FToolBarState != tsFloating && Parent()) {
            const TMonitor monitor = Screen->MonitorFromWindow(HandleAllocated() ? Handle() : nullptr);
            const bool hasMonitor = monitor.Handle != nullptr;
            const int right = hasMonitor ? monitor.Left() + monitor.Width() : Screen->Width();
            const int bottom = hasMonitor ? monitor.Top() + monitor.Height() : Screen->Height();
            const int leftX = FPosition == daRight ? Parent()->ClientToScreen({Left() - width, 0}).X : right - width;
            const TPoint place = KeepOnArea({x, y}, {width, height}, {0, 0, right, bottom}, 2, leftX);
            x = place.X;
            y = place.Y;
        }
    }
    if (FOptionWindowPanel->IsEmpty()) return;
    // Shown at no size first, so it never flashes at its old place.
    FOptionWindow->SetBounds(FOptionWindow->Left(), FOptionWindow->Top(), 0, 0);
    FOptionWindow->Show();
    FOptionWindow->SetBounds(x, y, 0, 0);
    FOptionWindow->Show();
    FOptionWindow->SetBounds(x, y, width, height);
    Invalidate();
}

void TAdvCustomToolBar::HideOptionWindow() {
    if (FOptionWindow && FOptionWindow->Visible()) FOptionWindow->Hide();
}

bool TAdvCustomToolBar::OptionWindowShowing() const { return FOptionWindow && FOptionWindow->Visible(); }

void TAdvCustomToolBar::OptionWindowHidden() {
    UpdateHiddenControls();
    Invalidate();
}

void TAdvCustomToolBar::RebuildOptionWindow() {
    BuildOptionWindow();
    if (FOptionWindow && FOptionWindow->Visible()) FOptionWindow->SetWindowSize();
}

void TAdvCustomToolBar::ShowCustomizer() {
    if (FCustomizer) FCustomizer->ShowDialog();
}

}  // namespace AdvToolBar
