// The ribbon page's layout of its toolbars: placement, the auto-compact passes over the real
// toolbars, the toolbar scroller, and the pager's answer to a closed compact window.
#include <algorithm>
#include <cmath>

#include "classlib/Control.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvPageAutoLayout.h"
#include "ribbon/AdvToolBarPager.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCompact.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvGlowButton;

namespace {

class TToolBarOnPage final : public IPageToolBar {
public:
    explicit TToolBarOnPage(TAdvToolBar* bar) : FBar(bar) {}
    int Left() const override { return FBar->Left(); }
    int Width() const override { return FBar->Width(); }
    bool Visible() const override { return FBar->Visible(); }
    bool IsCompact() const override { return FBar->IsCompact(); }
    bool IsAutoCompacted() const override { return FBar->IsAutoCompacted(); }
    bool PropertiesLoaded() const override { return FBar->PropertiesLoaded(); }
    int GetExpandedWidth() override { return FBar->GetExpandedWidth(); }
    int GetCompactWidth() override { return FBar->GetCompactWidth(); }
    int GetGrowWidth(TButtonSizeState& s) override { return FBar->GetGrowWidth(s); }
    int GrowButtons(TButtonSizeState& s, bool apply) override { return FBar->GrowButtons(s, apply); }
    int GetShrinkWidth(TButtonSizeState& s) override { return FBar->GetShrinkWidth(s); }
    int ShrinkButtons(TButtonSizeState& s, bool apply) override { return FBar->ShrinkButtons(s, apply); }
    void ApplyCompact(bool value) override { FBar->ApplyCompact(value); }
    void SetCompactSmallest(bool value) override { FBar->SetCompactSmallest(value); }

private:
    TAdvToolBar* FBar;
};

class TPageRow final : public IPageToolBarRow {
public:
    explicit TPageRow(TAdvPage& page) : FPage(page) {}
    int PageWidth() const override { return FPage.Width(); }
    int Padding() const override { return FPage.AdvToolBarPager() ? FPage.AdvToolBarPager()->GetPagePadding() : 0; }
    bool Designing() const override { return FPage.HasState(csDesigning); }
    bool AutoCompact() const override {
        return !FPage.AdvToolBarPager() || FPage.AdvToolBarPager()->AutoCompactToolBars();
    }
    std::vector<IPageToolBar*> ToolBarsByLeft() const override {
        std::vector<TAdvToolBar*> bars;
        FPage.SortAdvToolBarsByLeft(&bars);
        FAdapters.clear();
        FAdapters.reserve(bars.size());
        std::vector<IPageToolBar*> list;
        for (TAdvToolBar* bar : bars) {
            FAdapters.emplace_back(bar);
            list.push_back(&FAdapters.back());
        }
        return list;
    }
    void Arrange() override { FPage.AutoPositionAdvToolBars(); }

private:
    TAdvPage& FPage;
    mutable std::vector<TToolBarOnPage> FAdapters;  // answers of the last ToolBarsByLeft
};

}  // namespace

// ---------------------------------------------------------------- order and placement

void TAdvPage::SortAdvToolBarsByLeft(std::vector<TAdvToolBar*>* list) const {
    if (!list) return;
    const bool designing = HasState(csDesigning);
    for (int i = 0; i < ControlCount(); ++i) {
        auto* bar = dynamic_cast<TAdvToolBar*>(Controls(i));
        if (!bar || bar->HasState(csDestroying) || (!bar->Visible() && !designing)) continue;
        const auto before = std::find_if(list->begin(), list->end(), [bar](const TAdvToolBar* other) {
            return other->Left() > bar->Left();
        });
        list->insert(before, bar);
    }
}

void TAdvPage::AutoPositionAdvToolBars() {
    if (!FAutoPosition || FUpdatingATBPosition || FUpdateCount > 0 || HasState(csLoading)) return;
    FUpdatingATBPosition = true;
    const bool designing = HasState(csDesigning);
    std::vector<int> widths;
    std::vector<bool> shown;
    for (int i = 0; i < AdvToolBarCount(); ++i) {
        TAdvToolBar* bar = AdvToolBars(i);
        widths.push_back(bar->Width());
        shown.push_back(designing || bar->Visible());
    }
    const std::vector<TToolBarPlace> places = PlaceToolBars(widths, shown, Height());
    for (int i = 0; i < AdvToolBarCount(); ++i) {
        if (places[size_t(i)].Left < 0) continue;
        TAdvToolBar* bar = AdvToolBars(i);
        const TToolBarPlace& place = places[size_t(i)];
        if (bar->Left() != place.Left || bar->Top() != place.Top || bar->Height() != place.Height)
            bar->SetBounds(place.Left, place.Top, bar->Width(), place.Height);
        // In a floating ribbon window the page is a copy: its compact buttons follow the height.
        if (TAdvGlowButton* button = bar->CompactButton(); button && !FAdvToolBarPager)
            button->SetBounds(button->Left(), button->Top(), button->Width(), place.Height);
    }
    FUpdatingATBPosition = false;
}

// ---------------------------------------------------------------- auto compact

void TAdvPage::UpdateAllToolBars() {
    if (HasState(csDestroying)) return;
    const TGlowButtonMeasureScope measuring;
    TPageRow row(*this);
    AdvToolBar::UpdateAllToolBars(row);
}

void TAdvPage::GrowAdvToolBars() {
    if (HasState(csDestroying)) return;
    const TGlowButtonMeasureScope measuring;
    TPageRow row(*this);
    AdvToolBar::GrowAdvToolBars(row);
}

void TAdvPage::ShrinkAdvToolBars() {
    if (HasState(csDestroying)) return;
    const TGlowButtonMeasureScope measuring;
    TPageRow row(*this);
    AdvToolBar::ShrinkAdvToolBars(row);
}

void TAdvPage::PageSizeChanged(bool explicitRequest) {
    if (HasState(csLoading) || HasState(csDestroying)) return;
    AutoPositionAdvToolBars();
    if (Width() < FOldWidth) ShrinkAdvToolBars();
    else if (Width() > FOldWidth) GrowAdvToolBars();
    else if (explicitRequest) UpdateAllToolBars();
    FOldWidth = Width();
    ResetToolBarScroller();
}

bool TAdvPage::PagerTabRoundEdges() const { return !FAdvToolBarPager || FAdvToolBarPager->FTabRoundEdges; }

void TAdvPage::HideCompactWindowOfAdvToolBars() {
    for (int i = 0; i < AdvToolBarCount(); ++i) AdvToolBars(i)->HideCompactWindow();
}

void TAdvPage::CompactWindowClosed(TAdvGlowButton* compactButton) {
    if (!FAdvToolBarPager) return;
    FAdvToolBarPager->SetLastDroppedCompactButton(compactButton);
    FAdvToolBarPager->CompactWindowClosed();
}

TAdvGlowButton* TAdvPage::FindCompactButton(HWND wnd) const {
    if (HasState(csDesigning) || !wnd) return nullptr;
    for (int i = 0; i < AdvToolBarCount(); ++i) {
        TAdvToolBar* bar = AdvToolBars(i);
        TAdvGlowButton* button = bar->CompactButton();
        if (bar->IsCompact() && button && button->HandleAllocated() && button->Handle() == wnd) return button;
    }
    return nullptr;
}

void TAdvToolBarPager::SetAutoCompactToolBars(bool value) {
    if (value == FAutoCompactToolBars) return;
    FAutoCompactToolBars = value;
    if (!value) return;
    for (int i = 0; i < AdvPageCount(); ++i) {
        AdvPages(i)->AutoPositionAdvToolBars();
        AdvPages(i)->UpdateAllToolBars();
    }
}

void TAdvToolBarPager::CompactWindowClosed() {
    TAdvGlowButton* last = FLastDroppedCompactBtn;
    FLastDroppedCompactBtn = nullptr;
    const bool byKey = FChangeByKeyPress;
    FChangeByKeyPress = false;
    TAdvPage* page = ActivePage();
    if (HasState(csDesigning) || !page || byKey) return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return;
    HWND under = ::WindowFromPoint(cursor);
    wchar_t className[64] = {};
    if (!under || !::GetClassNameW(under, className, 64)) return;
    std::wstring name(className);
    std::transform(name.begin(), name.end(), name.begin(), ::towupper);
    if (name != L"TADVGLOWBUTTON") return;
    TAdvGlowButton* button = page->FindCompactButton(under);
    if (!button || button == last) return;
    // A click on another compact button closed this window; it opens that one.
    if (button->CanFocus()) button->SetFocus();
    button->Repaint();
    button->InvokeClick();
}

// ---------------------------------------------------------------- toolbar scroller

namespace {

std::vector<int> ShownWidths(const TAdvPage& page, std::vector<TAdvToolBar*>& bars) {
    page.SortAdvToolBarsByLeft(&bars);
    std::vector<int> widths;
    for (TAdvToolBar* bar : bars) widths.push_back(bar->Width());
    return widths;
}

}  // namespace

int TAdvPage::GetFittingToolBarCount(int index, bool forward) const {
    std::vector<TAdvToolBar*> bars;
    const std::vector<int> widths = ShownWidths(*this, bars);
    return FittingToolBarCount(widths, Width(), index, forward);
}

int TAdvPage::GetVisibleAdvToolBarCount() const {
    std::vector<TAdvToolBar*> bars;
    SortAdvToolBarsByLeft(&bars);
    return int(bars.size());
}

bool TAdvPage::AllAdvToolBarsCompact() const {
    std::vector<TAdvToolBar*> bars;
    SortAdvToolBarsByLeft(&bars);
    return std::all_of(bars.begin(), bars.end(), [](const TAdvToolBar* bar) { return bar->IsCompact(); });
}

void TAdvPage::UpdateToolBarScroller() {
    if (HasState(csDesigning)) return;
    std::vector<TAdvToolBar*> bars;
    const std::vector<int> widths = ShownWidths(*this, bars);
    const bool allCompact = std::all_of(bars.begin(), bars.end(), [](const TAdvToolBar* bar) { return bar->IsCompact(); });
    const int max = ToolBarScrollerMax(widths, Width(), allCompact);
    FToolBarScroller->SetMin(0);
    FToolBarScroller->SetMax(max);
    if (FToolBarScroller->Position() > max) FToolBarScroller->SetPosition(max);
    const int width = int(std::nearbyint(12 * DPIScaleFactor));
    TCustomAdvToolBarStyler* styler = FAdvToolBarPager ? FAdvToolBarPager->ToolBarStyler() : nullptr;
    auto place = [&](TAdvPageScrollButton*& button, bool left, bool show) {
        if (!show) {
            if (button) button->SetVisible(false);
            return;
        }
        if (!button) {
            button = new TAdvPageScrollButton(this);
            button->SetParent(this);
            button->SetAlign(left ? alLeft : alRight);
            button->SetWidth(width);
            button->SetButtonPosition(left ? AdvGlowButton::bpLeft : AdvGlowButton::bpRight);
            button->SetScrollArrow(left ? saLeft : saRight);
            button->OnClick = [this, left](TObject*) { left ? ScrollLeftClick() : ScrollRightClick(); };
        }
        button->SetVisible(true);
        button->BringToFront();
        if (styler) button->SetAppearance(styler->CompactGlowButtonAppearance());
    };
    place(FLeftScrollBtn, true, FToolBarScroller->CanGoBack());
    place(FRightScrollBtn, false, FToolBarScroller->CanGoForward());
}

void TAdvPage::ResetToolBarScroller() {
    FLeftATBIndex = 0;
    FToolBarScroller->SetMin(0);
    FToolBarScroller->SetPosition(0);
    FToolBarScroller->SetMax(0);
    UpdateToolBarScroller();
}

int TAdvPage::ScrollAdvToolBars(int delta) {
    if (delta == 0) return 0;
    TATBTabScroller& scroller = *FToolBarScroller;
    int applied = 0;
    if (delta < 0) {
        applied = -std::min(-delta, scroller.Position() - scroller.Min());
        if (!scroller.CanGoBack() || applied >= 0 || FLeftATBIndex <= 0) return 0;
        scroller.SetPosition(scroller.Position() + applied);
        int target = FLeftATBIndex;
        for (int step = 0; step < -applied && target > 0; ++step)
            target -= GetFittingToolBarCount(target - 1, false);
        ScrollToAdvToolBar(std::max(target, 0));
    } else {
        applied = std::min(delta, scroller.Max() - scroller.Position());
        if (!scroller.CanGoForward() || applied <= 0) return 0;
        scroller.SetPosition(scroller.Position() + applied);
        const int visible = GetVisibleAdvToolBarCount();
        int target = FLeftATBIndex;
        for (int step = 0; step < applied && target < visible; ++step) target += GetFittingToolBarCount(target, true);
        ScrollToAdvToolBar(std::min(target, visible - 1));
    }
    InvalidateScrollButtons();
    return applied;
}

void TAdvPage::ScrollToAdvToolBar(int index) {
    std::vector<TAdvToolBar*> bars;
    const std::vector<int> widths = ShownWidths(*this, bars);
    if (index < 0 || index >= int(bars.size()) || FScrollingATB) return;
    FScrollingATB = true;
    std::vector<int> lefts;
    for (TAdvToolBar* bar : bars) lefts.push_back(bar->Left());
    const int shift = ToolBarScrollShift(lefts, widths, Width(), FLeftATBIndex, index);
    for (TAdvToolBar* bar : bars) bar->SetBounds(bar->Left() + shift, bar->Top(), bar->Width(), bar->Height());
    FLeftATBIndex = index;
    FScrollingATB = false;
    UpdateToolBarScroller();
}

void TAdvPage::ScrollLeftClick() { ScrollAdvToolBars(-1); }

void TAdvPage::ScrollRightClick() { ScrollAdvToolBars(1); }

void TAdvPage::InvalidateScrollButtons() {
    if (FLeftScrollBtn) FLeftScrollBtn->Invalidate();
    if (FRightScrollBtn) FRightScrollBtn->Invalidate();
}

}  // namespace AdvToolBar
