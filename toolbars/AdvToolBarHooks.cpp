// Where the toolbar meets parts of the toolbar family that other units bring: dock panels and
// floating windows, hidden items and the options drop-down, compact ribbon groups and key
// tips, the menu bar, and the item classes' separators and action shortcuts. Each body here
// is what the toolbar does while that part does not exist: no toolbar is docked, floating,
// compact or a menu bar, and nothing is hidden. The work that brings a part fills its section.
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvOptionSelector.h"

namespace AdvToolBar {

using namespace ClassLib;

// ---------------------------------------------------------------- dock panels and floating windows

TAdvDockPanel* TAdvCustomToolBar::DockPanelOf(TWinControl*) const { return nullptr; }

bool TAdvCustomToolBar::IsFloatingWindow(TWinControl*) const { return false; }

// The new parent is a dock panel other than the current one: it accepts the toolbar (true)
// or refuses it; docking sets tsDocked, FCurrentDock and FLastDock.
bool TAdvCustomToolBar::AttachToDockPanel(TAdvDockPanel*) { return false; }

// The new parent is the toolbar's floating window: it floats, always horizontal, with its
// caption strip on top.
void TAdvCustomToolBar::AttachToFloatingWindow() {
    FToolBarState = tsFloating;
    ReleaseFromDockPanel();
    if (IsVertical(FPosition)) SetPosition(daTop);
    else SetHeight(Height() + FCaptionHeight);
}

void TAdvCustomToolBar::ReleaseFromDockPanel() { FCurrentDock = nullptr; }

void TAdvCustomToolBar::AdjustBoundsInDockPanel(int&, int&, int&, int&) {}

TCustomAdvToolBarStyler* TAdvCustomToolBar::LastDockPanelStyler() const { return nullptr; }

void TAdvCustomToolBar::TellDockPanelVisible() {}

void TAdvCustomToolBar::FloatingWindowFollowsVisible() {}

void TAdvCustomToolBar::UpdateDockRows() {}

void TAdvCustomToolBar::ArrangeDockRow() {}

void TAdvCustomToolBar::DockPanelFullSizeChanged() {}

bool TAdvCustomToolBar::FloatingWindowSizedByUser() const { return false; }

void TAdvCustomToolBar::ResizeFloatingWindow() {}

// A pixel of the dock panel's background image under the toolbar, for its cut corners.
bool TAdvCustomToolBar::DockImagePixel(int, int, TColor&) const { return false; }

void TAdvCustomToolBar::StartToolBarDrag(TShiftState, int, int) {}

void TAdvCustomToolBar::FloatingMouseDown(int, int) {}

void TAdvCustomToolBar::FloatingMouseMove(int, int) {}

void TAdvCustomToolBar::FloatingMouseUp() {}

void TAdvCustomToolBar::FloatingMouseLeave() {}

void TAdvCustomToolBar::FloatingWatchTimer() {}

TWinControl* TAdvCustomToolBar::DockPanelWindow(TAdvDockPanel*) const { return nullptr; }

void TAdvCustomToolBar::LoadPosition() {}

void TAdvCustomToolBar::SavePosition() {}

// ---------------------------------------------------------------- hidden items and the options drop-down

// In AdvToolBarOptions.cpp.

// ---------------------------------------------------------------- compact ribbon groups and key tips

bool TAdvCustomToolBar::IsCompact() const { return false; }

bool TAdvCustomToolBar::InCompactWindow() const { return false; }

// For the copy shown in a compact window: the page toolbar it copies.
TAdvCustomToolBar* TAdvCustomToolBar::CompactSource() const { return nullptr; }

IToolBarStylerClient* TAdvCustomToolBar::CompactCopy() const { return nullptr; }

// The toolbar's own windows (options drop-down, compact window) are never items.
bool TAdvCustomToolBar::IsOwnWindow(const TControl* control) const {
    return control && control == FOptionWindow;
}

void TAdvCustomToolBar::UpdateCompactButtonAppearance() {}

// A glow button of a ribbon group: arrow keys, key tips and their places.
void TAdvCustomToolBar::HookRibbonKeys(AdvGlowButton::TAdvCustomGlowButton*) {}

// ---------------------------------------------------------------- item classes

void TAdvCustomToolBar::SeparatorPass() {}

TShortCut TAdvCustomToolBar::ActionShortCut(const TCustomAction*) { return 0; }

// ---------------------------------------------------------------- the menu bar

bool TAdvCustomToolBar::HasMenu() const { return false; }

bool TAdvCustomToolBar::FormHasMenu(const TCustomForm*) { return false; }

bool TAdvCustomToolBar::MenuIsShortCut(WORD, TShiftState) { return false; }

void TAdvCustomToolBar::MenuDialogChar(TMessage&) {}

void TAdvCustomToolBar::DrawMDIButtons() {}

}  // namespace AdvToolBar
