// The pager's display scale: the unit's scale taken on its first sizing, a rescale when its
// form's resolution changes, and glass mode switched on and off by the ribbon form.
#include "ribbon/AdvToolBarPagerScale.h"

#include <windows.h>

#include <cmath>

#include "menus/AdvToolBarPagerSettings.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvToolBarPager.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

namespace {

int RoundHalfEven(double value) { return int(std::nearbyint(value)); }

// The presets whose application button keeps its own height.
bool KeepsAppButtonHeight(AdvStyleIF::TOVTStyle style) {
    return style <= AdvStyleIF::tsOffice2007Obsidian || style == AdvStyleIF::tsCustom ||
           style == AdvStyleIF::tsOffice2007Silver;
}

}  // namespace

TPagerScaledSizes ScalePagerSizes(double scale, int tabHeight, int startMargin, int captionHeight) {
    TPagerScaledSizes sizes{};
    sizes.TabHeight = RoundHalfEven(tabHeight * scale);
    if (sizes.TabHeight % 2 != 0) ++sizes.TabHeight;
    sizes.CaptionHeight = RoundHalfEven(captionHeight * scale);
    sizes.ToolBarCaptionHeight = RoundHalfEven(16 * scale);
    sizes.StartMargin = RoundHalfEven(startMargin * scale);
    return sizes;
}

// The pager's sizes designed at 96 pixels per inch, put on it at `scale`.
void TAdvToolBarPager::ApplyScaledSizes(int designedTabHeight, double scale) {
    const TPagerScaledSizes sizes =
        ScalePagerSizes(scale, designedTabHeight, FTabSettings->StartMargin(), FOrigCaptionHeight);
    FAppliedScale = scale;
    FDesignedTabHeight = designedTabHeight;
    ToolBarCaptionHeight = sizes.ToolBarCaptionHeight;
    PagerCaptionHeight = FScaledPagerCaptionHeight = sizes.CaptionHeight;
    PagerTabHeight = FDefTabHeight = sizes.TabHeight;
    FDefTabMargin = sizes.StartMargin;
    if (!HasState(csDesigning)) FCaption->SetHeightSilently(FScaledPagerCaptionHeight);
    for (int i = 0; i < AdvPageCount(); ++i) {
        TAdvPage* page = AdvPages(i);
        for (int t = 0; t < page->AdvToolBarCount(); ++t)
            if (TAdvToolBar* toolBar = page->AdvToolBars(t)) toolBar->SetCaptionHeight(ToolBarCaptionHeight);
    }
    FTabSettings->SetHeight(FDefTabHeight);  // lays the tabs and pages out again
    UpdatePageBounds();
    UpdateHelpButton();
    UpdateCaptionButtons();
    UpdateCaptionLayer();
}

void TAdvToolBarPager::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    if (DPIInitialized || !HandleAllocated()) return;
    TCustomForm* form = ParentForm();
    if (!form) return;
    FormIsScaled = form->Scaled();
    InitDPIScale(form->MonitorPixelsPerInch());
    if (!dynamic_cast<TAdvToolBarForm*>(Parent()) && FCaption->Visible()) {
        FScaledPagerCaptionHeight = AppButton() ? 34 : FCaption->Height();
        PagerCaptionHeight = FScaledPagerCaptionHeight;
    }
    if (HasState(csLoading) || HasState(csReading) || HasState(csDesigning)) return;
    // Loaded before the scale was known: its sizes are the designed ones and get scaled now.
    if (FPropertiesLoaded && DPIScaleFactor != FAppliedScale)
        ApplyScaledSizes(RoundHalfEven(FTabSettings->Height() / FAppliedScale), DPIScaleFactor);
    else
        FTabSettings->SetHeight(FDefTabHeight);
}

void TAdvToolBarPager::ChangeScale(int m, int d, bool dpiChanged) {
    // Collapsed, the pager's height is not its real one: scaling it would keep the wrong one.
    if (!FExpanded) Expand();
    TCustomControl::ChangeScale(m, d);
    if (HasState(csLoading) || m == d || m <= 0 || d <= 0) return;
    // Back to the designed tab height: the one remembered, unless someone set another since.
    const int designedTabHeight = FTabSettings->Height() == FDefTabHeight
                                      ? FDesignedTabHeight
                                      : RoundHalfEven(FTabSettings->Height() / FAppliedScale);
    FormPixelsPerInch = m;
    DPIScaleFactor = AdvStyleIF::GetDPIScale(this, Canvas());
    if (dpiChanged && HasState(csDesigning)) FCaption->SetHeight(::MulDiv(FCaption->Height(), m, d));
    ApplyScaledSizes(designedTabHeight, DPIScaleFactor);
    if (FToolBarStyler && !KeepsAppButtonHeight(FToolBarStyler->OVTStyle()))
        if (TWinControl* button = AppButton()) button->SetHeight(FDefTabHeight);
    SetGlassRegion();
    Invalidate();
}

void TAdvToolBarPager::SetAeroVista(bool value) {
    if ((HasState(csDesigning) && value) || value == FIsAeroVista) return;
    FIsAeroVista = value;
    if (value) {
        SetParentBackground(true);
        CreateCaptionLayer();
        if (FCaptionLayer) FCaptionLayer->SetVisible(true);
        Resize();
    } else {
        SetParentBackground(false);
        if (FCaptionLayer) FCaptionLayer->SetVisible(false);
        if (HandleAllocated() && FRegionSet) {
            SetWindowRgn(Handle(), nullptr, TRUE);
            FRegionSet = false;
        }
    }
    if (TWinControl* button = AppButton()) {
        if (WM_TBSETAEROVISTA && button->HandleAllocated())
            ::PostMessageW(button->Handle(), WM_TBSETAEROVISTA, value ? 1 : 0, 0);
        button->Invalidate();
    }
    Invalidate();
}

}  // namespace AdvToolBar
