// Where the toolbar meets parts of the toolbar family that other units bring: dock panels and
// floating windows, hidden items and the options drop-down, compact ribbon groups and key
// tips, the menu bar, and the item classes' separators and action shortcuts. Each body here
// is what the toolbar does while that part does not exist: no toolbar is docked, floating,
// compact or a menu bar, and nothing is hidden. The work that brings a part fills its section.
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

// ---------------------------------------------------------------- dock panels and floating windows

// Built in AdvToolBarDocking.cpp.

// ---------------------------------------------------------------- hidden items and the options drop-down

void TAdvCustomToolBar::UpdateHiddenControls() {}

void TAdvCustomToolBar::RecheckHiddenControls() {}

void TAdvCustomToolBar::HideOptionWindow() {}

bool TAdvCustomToolBar::OptionWindowShowing() const { return false; }

void TAdvCustomToolBar::OptionIndicatorClick() {}

void TAdvCustomToolBar::PopupOptionMenu() {}

void TAdvCustomToolBar::RebuildOptionWindow() {}

// ---------------------------------------------------------------- compact ribbon groups and key tips

bool TAdvCustomToolBar::IsCompact() const { return false; }

bool TAdvCustomToolBar::InCompactWindow() const { return false; }

// For the copy shown in a compact window: the page toolbar it copies.
TAdvCustomToolBar* TAdvCustomToolBar::CompactSource() const { return nullptr; }

IToolBarStylerClient* TAdvCustomToolBar::CompactCopy() const { return nullptr; }

// The toolbar's own windows (options drop-down, compact window) are never items.
bool TAdvCustomToolBar::IsOwnWindow(const TControl*) const { return false; }

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
