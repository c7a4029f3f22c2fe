#include "classlib/PageControl.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Form.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TTabSheet, TWinControl)
CLASSLIB_IMPLEMENT(TPageControl, TCustomTabControl)

// ---- TTabSheet

const TPropertyList& TTabSheet::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true)
        .Enum(L"Align", &TTabSheet::Align, &TTabSheet::SetAlign, alClient)
        .Add(L"Visible", &TTabSheet::Visible, &TTabSheet::SetVisible, false);
    return list;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    // Not opaque: the window's background erase paints the page in its colour.
    FControlStyle = csAcceptsControls;
    TControl::SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    if (value == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    SetParent(value);
    if (value) value->InsertPage(this);
}

int TTabSheet::PageIndex() const { return FPageControl ? FPageControl->IndexOfPage(this) : -1; }

void TTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (FPageControl) FPageControl->RebuildTabs();
}

void TTabSheet::SetText(const std::wstring& value) {
    TWinControl::SetText(value);
    if (!FPageControl || !FTabVisible) return;
    const int tab = FPageControl->IndexOfTabObject(this);
    if (tab >= 0) FPageControl->SetTabText(tab, value);
}

// ---- TPageControl

const TPropertyList& TPageControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomTabControl::Published())
        .Enum(L"Style", &TPageControl::Style, &TPageControl::SetStyle, tsTabs);
    return list;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
    FControlStyle |= csAcceptsControls;
}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

int TPageControl::IndexOfPage(const TTabSheet* page) const {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

bool TPageControl::InsertDescribedChild(TComponent* child) {
    if (auto* sheet = dynamic_cast<TTabSheet*>(child)) {
        sheet->SetPageControl(this);
        return true;
    }
    return TCustomTabControl::InsertDescribedChild(child);
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    page->FPageControl = this;
    RebuildTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    page->FPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) FActivePage = nullptr;
    if (!HasState(csDestroying)) RebuildTabs();
}

void TPageControl::RebuildTabs() {
    ClearTabs();
    for (TTabSheet* page : FPages)
        if (page->TabVisible()) AddTab(page->GetText(), page);
    SetTabIndex(IndexOfTabObject(FActivePage));
    Realign();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    if (page == FActivePage) return;
    TTabSheet* old = FActivePage;
    // The focus must not stay in a page that goes out of sight.
    TCustomForm* form = ParentForm();
    if (form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl()))
        form->SetActiveControl(nullptr);
    FActivePage = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old) old->SetVisible(false);
    SetTabIndex(IndexOfTabObject(page));
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? FPages[size_t(value)] : nullptr);
}

void TPageControl::SetStyle(TTabStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
    Realign();
}

void TPageControl::CreateParams(TCreateParams& params) {
    TCustomTabControl::CreateParams(params);
    if (FStyle == tsButtons) params.Style |= TCS_BUTTONS;
    if (FStyle == tsFlatButtons) params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TPageControl::AdjustClientRect(TRect& rect) const {
    // Buttons draw no frame around the pages: without a button the pages take everything.
    if (FStyle != tsTabs && TabCount() == 0) return;
    TCustomTabControl::AdjustClientRect(rect);
}

void TPageControl::Change() {
    const int tab = TabIndex();
    SetActivePage(tab < 0 ? nullptr : static_cast<TTabSheet*>(TabObject(tab)));
    TCustomTabControl::Change();
}

}  // namespace ClassLib
