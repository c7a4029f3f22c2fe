// What the pager remembers across runs (collapsed, quick access toolbar below) and how it
// follows its styler, the scenic flag and its own settings when they change.
#include <windows.h>

#include <cmath>
#include <exception>
#include <string>

#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarPagerSettings.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvToolBarPager.h"

namespace AdvToolBar {

using namespace ClassLib;

namespace {

const wchar_t* const MinimizedValue = L"Minimized";
const wchar_t* const QATBelowValue = L"ShowQATBelow";

}  // namespace

// ---------------------------------------------------------------- saved state

void TAdvToolBarPager::SaveState() {
    if (!FPersistence->Enabled() || HasState(csDesigning)) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    store->WriteInteger(MinimizedValue, FExpanded ? 0 : 1);
    store->WriteInteger(QATBelowValue, FShowQATBelow ? 1 : 0);
    store->UpdateFile();  // here, where a failure can still be heard
}

// Only ever towards collapsed and below: a stored 0 leaves the pager as it was designed.
void TAdvToolBarPager::LoadState() {
    if (!FPersistence->Enabled() || HasState(csDesigning)) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    const int minimized = store->ReadInteger(MinimizedValue, FExpanded ? 0 : 1);
    const int qatBelow = store->ReadInteger(QATBelowValue, FShowQATBelow ? 1 : 0);
    if (minimized > 0 && FExpanded) Collaps();
    if (qatBelow > 0) SetShowQATBelow(true);
}

// A destructor must not throw: a store that cannot be written loses this run's state only.
void TAdvToolBarPager::SaveStateOnDestroy() noexcept {
    try {
        SaveState();
    } catch (const std::exception& error) {
        const std::string text = std::string("Ribbon state not saved: ") + error.what() + "\n";
        ::OutputDebugStringA(text.c_str());
    } catch (...) {
        ::OutputDebugStringA("Ribbon state not saved\n");
    }
}

// ---------------------------------------------------------------- styler and style

void TAdvToolBarPager::StylerChanged(int code) {
    if (HasState(csDestroying)) return;
    UpdatePageBounds();
    // The caption bar's colours change no tab's width: the tabs keep their measure.
    if (FPropertiesLoaded && code != scPagerCaption) {
        UpdateTabs();
        FitTabs();
    }
    Invalidate();
    for (int i = 0; i < AdvPageCount(); ++i) AdvPages(i)->Invalidate();
    if (code == scPagerCaption) UpdateCaptionButtons();
    if (TWinControl* button = AppButton()) {
        if (FIsAeroVista) button->SetColor(CurrentTabAppearance()->BackGround()->Color());
        button->Invalidate();
    }
    UpdateHelpButton();
    if (!FItones) {
        RevertMetro();
        // Tones of the classic and Windows 8 kind square the tabs without flat mode, which
        // RevertMetro would undo: without tones the tabs are round again all the same.
        FTabRoundEdges = true;
    }
}

void TAdvToolBarPager::UpdateStyle() {
    if (!FToolBarStyler) {
        SetComponentStyle(FOVTStyle);
    } else if (auto* office = dynamic_cast<AdvToolBarStylers::TAdvToolBarOfficeStyler*>(FToolBarStyler)) {
        office->SetStyle(office->Style());
    } else {
        // A plain styler has no preset of its own: it re-applies what it has.
        FToolBarStyler->ReapplyStyle();
    }
    if (TAdvPage* page = ActivePage()) page->BringToFront();
}

bool TAdvToolBarPager::Win7ScenicRibbon() const { return AdvGDIP::GetScenicRibbonFlag(); }

void TAdvToolBarPager::SetWin7ScenicRibbon(bool value) {
    AdvGDIP::SetScenicRibbonFlag(value);
    int style = -1;
    if (FToolBarStyler)
        style = int(FToolBarStyler->NewOVTStyle());
    else if (FOVTStyle != AdvStyleIF::tsCustom)
        style = int(FOVTStyle);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<IRibbonChildNotify*>(Controls(i))) child->NotifyStyle(value, style);
    if (!FStylerRemoved) StylerChanged(scPagerCaption);
    if (FTabSettings->Glass() && FIsAeroVista && value && !HasState(csDesigning) && !HasState(csLoading) &&
        Parent() && Parent()->HandleAllocated()) {
        Resize();
        // The frame is rebuilt when the form thinks it was activated anew.
        ::PostMessageW(Parent()->Handle(), WM_ACTIVATE, 0, 0);
        ::PostMessageW(Parent()->Handle(), WM_ACTIVATE, 1, 1);
    }
    if (!FStylerRemoved) {
        SetBounds(Left(), Top(), Width() + 1, Height());
        SetBounds(Left(), Top(), Width() - 1, Height());
    }
}

}  // namespace AdvToolBar
