#include "classlib/CheckListBox.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TCheckListBox, TListBox)

const TPropertyList& TCheckListBox::Published() {
    static const TPropertyList list = TPropertyList::Extend(TListBox::Published())
        .Event(L"OnClickCheck", &TCheckListBox::OnClickCheck);
    return list;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {}

const TCheckListBox::TItemState& TCheckListBox::StateOf(int index) const {
    static const TItemState plain;
    if (index < 0 || index >= Items()->Count()) RaiseListIndexError(index);
    return size_t(index) < FStates.size() ? FStates[size_t(index)] : plain;
}

TCheckListBox::TItemState& TCheckListBox::StateFor(int index) {
    if (index < 0 || index >= Items()->Count()) RaiseListIndexError(index);
    if (size_t(index) >= FStates.size()) FStates.resize(size_t(index) + 1);
    return FStates[size_t(index)];
}

bool TCheckListBox::Checked(int index) const { return StateOf(index).Checked; }

void TCheckListBox::SetChecked(int index, bool value) {
    TItemState& state = StateFor(index);
    if (state.Checked == value) return;
    state.Checked = value;
    InvalidateItem(index);
}

bool TCheckListBox::ItemEnabled(int index) const { return StateOf(index).Enabled; }

void TCheckListBox::SetItemEnabled(int index, bool value) {
    TItemState& state = StateFor(index);
    if (state.Enabled == value) return;
    state.Enabled = value;
    InvalidateItem(index);
}

void TCheckListBox::ItemsChanged() {
    if (FStates.size() > size_t(Items()->Count())) FStates.resize(size_t(Items()->Count()));
    if (Items()->Count() == 0) FStates.clear();
    TListBox::ItemsChanged();
}

void TCheckListBox::InvalidateItem(int index) {
    if (!HandleAllocated()) return;
    const RECT rect = ToRECT(ItemRect(index));
    ::InvalidateRect(Handle(), &rect, FALSE);
}

int TCheckListBox::CheckWidth() const { return ItemHeight(); }

void TCheckListBox::ToggleByUser(int index) {
    if (index < 0 || index >= Items()->Count() || !ItemEnabled(index)) return;
    SetChecked(index, !Checked(index));
    FireEvent(OnClickCheck, this);
}

void TCheckListBox::CreateParams(TCreateParams& params) {
    TListBox::CreateParams(params);
    // The check boxes are drawn by the control itself, whatever Style says.
    if (Style() == lbStandard) params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TCheckListBox::Dispatch(TMessage& message) {
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        const TPoint point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const int index = ItemAtPos(point);
        TListBox::Dispatch(message);
        if (index >= 0 && point.X < ItemRect(index).Left + CheckWidth()) ToggleByUser(index);
        return;
    }
    if (message.Msg == WM_CHAR && message.WParam == L' ') {
        ToggleByUser(ItemIndex());
        return;
    }
    TListBox::Dispatch(message);
}

void TCheckListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas& canvas = *Canvas();
    const bool selected = (state & odSelected) != 0;
    canvas.Brush()->SetColor(selected ? clHighlight : Color());
    canvas.FillRect(rect);
    if (index < 0 || index >= Items()->Count()) return;
    const TItemState& item = StateOf(index);
    const int side = std::min(CheckWidth(), rect.Bottom - rect.Top) - 2;
    RECT box{rect.Left + 1, rect.Top + (rect.Bottom - rect.Top - side) / 2, 0, 0};
    box.right = box.left + side;
    box.bottom = box.top + side;
    UINT look = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (item.Checked) look |= DFCS_CHECKED;
    if (!item.Enabled) look |= DFCS_INACTIVE;
    // Behind the box the window colour, also on a selected row, as the system's own lists do.
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(TRect{rect.Left, rect.Top, rect.Left + CheckWidth(), rect.Bottom});
    ::DrawFrameControl(canvas.Handle(), &box, DFC_BUTTON, look);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(!item.Enabled ? clGrayText : selected ? clHighlightText : clWindowText);
    std::wstring text = Items()->Strings(index);
    TRect textRect{rect.Left + CheckWidth() + 2, rect.Top, rect.Right, rect.Bottom};
    canvas.TextRect(textRect, text, {tfSingleLine, tfVerticalCenter, tfNoPrefix});
}

}  // namespace ClassLib
