// The page control's tab sheets and tab margins.
#include "controls/AdvPageControl.h"

#include <commctrl.h>

#include <cstdio>
#include <iterator>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"
#include "controls/AdvPageControlShared.h"

namespace AdvPageControl {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TTabMargin, TPersistent)
CLASSLIB_IMPLEMENT(TAdvTabSheet, TCustomControl)

namespace {
constexpr std::initializer_list<const wchar_t*> GradientNames = {L"gdVertical", L"gdHorizontal"};
}  // namespace

// ---- TTabMargin ----

const TPropertyList& TTabMargin::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"LeftMargin", &TTabMargin::LeftMargin, &TTabMargin::SetLeftMargin, 0)
        .Add(L"TopMargin", &TTabMargin::TopMargin, &TTabMargin::SetTopMargin, 0)
        .Add(L"RightMargin", &TTabMargin::RightMargin, &TTabMargin::SetRightMargin)
        .Stored(L"RightMargin", true);
    return list;
}

void TTabMargin::SetMargin(int index, TMarginSize value) {
    if (FMargins[index] == value) return;
    if (OnMarginChange) OnMarginChange(value, FMargins[index], index);
    FMargins[index] = value;
    FireEvent(OnChange, this);
}

void TTabMargin::Assign(const TPersistent* source) {
    if (auto margin = dynamic_cast<const TTabMargin*>(source)) {
        for (int i = 0; i < 3; ++i) FMargins[i] = margin->FMargins[i];
    }
}

// ---- TAdvTabSheet ----

const TPropertyList& TAdvTabSheet::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Colour(L"TextColor", &TAdvTabSheet::TextColor, &TAdvTabSheet::SetTextColor, clBlack)
        .Colour(L"TabColor", &TAdvTabSheet::TabColor, &TAdvTabSheet::SetTabColor, clNone)
        .Colour(L"TabColorTo", &TAdvTabSheet::TabColorTo, &TAdvTabSheet::SetTabColorTo, clNone)
        .Colour(L"ColorTo", &TAdvTabSheet::ColorTo, &TAdvTabSheet::SetColorTo, clNone)
        .Add(L"ShowClose", &TAdvTabSheet::ShowClose, &TAdvTabSheet::SetShowClose, false)
        .Enum(L"TabGradientDirection", L"TGradientDirection", &TAdvTabSheet::TabGradientDirection,
              &TAdvTabSheet::SetTabGradientDirection, GradientNames, gdVertical)
        .Enum(L"HoverGradientDirection", L"TGradientDirection", &TAdvTabSheet::HoverGradientDirection,
              &TAdvTabSheet::SetHoverGradientDirection, GradientNames, gdVertical)
        .Add(L"ImageIndex", &TAdvTabSheet::ImageIndex, &TAdvTabSheet::SetImageIndex, 0)
        .Add(L"TabVisible", &TAdvTabSheet::TabVisible, &TAdvTabSheet::SetTabVisible, true)
        .Add(L"TabEnable", &TAdvTabSheet::TabEnable, &TAdvTabSheet::SetTabEnable, true)
        .Add(L"Highlighted", &TAdvTabSheet::Highlighted, &TAdvTabSheet::SetHighlighted, false)
        .Enum(L"Align", &TAdvTabSheet::Align, &TAdvTabSheet::SetAlign, alClient)
        .Add(L"Visible", &TAdvTabSheet::Visible, &TAdvTabSheet::SetVisible, false)
        .Add(L"PageIndex", &TAdvTabSheet::PageIndex, &TAdvTabSheet::SetPageIndex)
        .Stored(L"PageIndex", false)
        .Event(L"OnShow", &TAdvTabSheet::OnShow)
        .Event(L"OnHide", &TAdvTabSheet::OnHide)
        .Event(L"OnClose", &TAdvTabSheet::OnClose)
        .Event(L"OnCanClose", &TAdvTabSheet::OnCanClose);
    return list;
}

TAdvTabSheet::TAdvTabSheet(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = csAcceptsControls | csDoubleClicks | csOpaque;
    TControl::SetVisible(false);
    SetAlign(alClient);
    RebuildTabText();
}

TAdvTabSheet::~TAdvTabSheet() {
    // Whether the owner tears everything down: its mark is on this page before the page
    // marks itself (the owner detaches it before freeing it, so Owner() no longer tells).
    const bool teardown = HasState(csDestroying);
    Destroying();
    if (FClosedBy) FClosedBy->ClosedPageDestroying(this, teardown);
    if (FAdvPageControl) FAdvPageControl->RemovePage(this);
}

void TAdvTabSheet::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TAdvTabSheet::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    if (FColorTo != clNone) DrawGradient(canvas, Color(), FColorTo, false, ClientRect(), 64);
}

void TAdvTabSheet::ColorChanged() {
    TCustomControl::ColorChanged();
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

int TAdvTabSheet::PageIndex() const { return FAdvPageControl ? FAdvPageControl->IndexOfPage(this) : -1; }

int TAdvTabSheet::TabIndex() const {
    if (!FTabShowing || !FAdvPageControl) return -1;
    int index = 0;
    for (TAdvTabSheet* page : FAdvPageControl->FPages) {
        if (page == this) return index;
        if (page->FTabShowing) ++index;
    }
    return -1;
}

void TAdvTabSheet::SetPageIndex(int value) {
    if (!FAdvPageControl) return;
    const int last = FAdvPageControl->PageCount() - 1;
    if (value > last) {
        wchar_t text[160];
        std::swprintf(text, std::size(text), L"%d is an invalid PageIndex value.  PageIndex must be between 0 and %d",
                      value, last);
        throw EListError(text);
    }
    if (value < 0) RaiseListIndexError(value);
    const int oldTabIndex = TabIndex();
    auto& pages = FAdvPageControl->FPages;
    pages.erase(pages.begin() + PageIndex());
    pages.insert(pages.begin() + value, this);
    if (oldTabIndex >= 0) FAdvPageControl->MovePageTab(oldTabIndex, TabIndex());
}

void TAdvTabSheet::RebuildTabText() {
    const std::wstring caption = Caption();
    if (FShowClose) FTabText = caption + L" ";
    else FTabText = (caption.size() > 2 ? caption.substr(0, caption.size() - 2) : std::wstring()) + L"W";
}

void TAdvTabSheet::SetText(const std::wstring& value) {
    TCustomControl::SetText(value);
    RebuildTabText();
    if (FAdvPageControl) FAdvPageControl->UpdateTab(this);
}

void TAdvTabSheet::SetShowClose(bool value) {
    FShowClose = value;
    SetText(Caption());
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetImageIndex(int value) {
    FImageIndex = value < 0 ? -1 : value;
    SetText(Caption());
    if (FAdvPageControl) FAdvPageControl->UpdateTabImages();
}

void TAdvTabSheet::SetTabShowing(bool value) {
    if (value == FTabShowing) return;
    if (value) {
        FTabShowing = true;
        FAdvPageControl->InsertPageTab(this);
    } else {
        const int index = TabIndex();
        FTabShowing = false;
        FAdvPageControl->DeletePageTab(this, index);
    }
}

void TAdvTabSheet::UpdateTabShowing() { SetTabShowing(FAdvPageControl && FTabVisible); }

void TAdvTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    UpdateTabShowing();
    if (FAdvPageControl) FAdvPageControl->UpdateTab(this);
}

void TAdvTabSheet::SetTabEnable(bool value) {
    if (value == FTabEnable) return;
    if (FAdvPageControl && !HasState(csDesigning) && FAdvPageControl->ActivePage() == this)
        throw Exception(L"Can not disable active tab.");
    FTabEnable = value;
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetHighlighted(bool value) {
    if (!HasState(csReading) && FAdvPageControl && FAdvPageControl->HandleAllocated() && TabIndex() >= 0)
        ::SendMessageW(FAdvPageControl->Handle(), TCM_HIGHLIGHTITEM, WPARAM(TabIndex()), MAKELPARAM(value ? 1 : 0, 0));
    FHighlighted = value;
}

void TAdvTabSheet::SetTextColor(TColor value) {
    if (StoreChanged(FTextColor, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabColor(TColor value) {
    if (StoreChanged(FTabColor, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabColorTo(TColor value) {
    if (StoreChanged(FTabColorTo, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabGradientDirection(TGradientDirection value) {
    if (StoreChanged(FTabGradientDirection, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetColorTo(TColor value) {
    FColorTo = value;
    Invalidate();
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetEnabled(bool value) {
    const bool changed = value != Enabled();
    TCustomControl::SetEnabled(value);
    if (changed && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetVisible(bool value) {
    const bool changed = value != Visible();
    TCustomControl::SetVisible(value);
    if (!changed) return;
    // A handler's exception is reported; the page is shown or hidden all the same.
    CallGuarded(this, [this, value] { FireEvent(value ? OnShow : OnHide, this); });
}

void TAdvTabSheet::SelectFirstControl() {
    if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
}

bool TAdvTabSheet::CanCloseTab() {
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

void TAdvTabSheet::DoClose() { FireEvent(OnClose, this); }

void TAdvTabSheet::SetAdvPageControl(TAdvPageControl* value) {
    if (value == FAdvPageControl) return;
    if (FAdvPageControl) FAdvPageControl->RemovePage(this);
    SetParent(value);
    if (!value) return;
    value->InsertPage(this);
    if (FTextColor == clBlack) FTextColor = value->DefaultTextColor();
    if (FTabColor == clNone) FTabColor = value->DefaultTabColor();
    if (FTabColorTo == clNone) FTabColorTo = value->DefaultTabColorTo();
}

}  // namespace AdvPageControl
