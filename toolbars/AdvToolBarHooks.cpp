// Where the toolbar meets parts of the toolbar family that other units bring: dock panels and
// floating windows, hidden items and the options drop-down, compact ribbon groups and key
// tips, the menu bar, and the item classes' separators and action shortcuts. Each body here
// is what the toolbar does while that part does not exist: no toolbar is docked, floating,
// compact or a menu bar, and nothing is hidden. The work that brings a part fills its section.
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvOptionSelector.h"

#include <algorithm>

#include "classlib/Actions.h"
#include "toolbars/AdvToolBarItem.h"

namespace AdvToolBar {

using namespace ClassLib;

// ---------------------------------------------------------------- dock panels and floating windows

// Built in AdvToolBarDocking.cpp.

// ---------------------------------------------------------------- hidden items and the options drop-down

// In AdvToolBarOptions.cpp.

// ---------------------------------------------------------------- compact ribbon groups and key tips

// Compact groups: built in AdvToolBarCompact.cpp.


// ---------------------------------------------------------------- item classes

// A separator that follows no visible item since the previous separator (or the start) is
// hidden. One the pass hid itself is shown again once a visible item precedes it: a hidden
// group boundary has to come back when the items before it do. A separator hidden by anyone
// else stays as it is.
void TAdvCustomToolBar::SeparatorPass() {
    if (FInSeparatorPass || DockPanelOf(Parent()) || !FATBControls) return;
    FInSeparatorPass = true;
    const int rowTop = IsFloatingWindow(Parent()) ? FCaptionHeight + 2 : 2;
    auto remembered = [this](TControl* control) {
        return std::find(FPassHiddenSeparators.begin(), FPassHiddenSeparators.end(), control) !=
               FPassHiddenSeparators.end();
    };
    std::vector<TControl*> stillListed;
    bool changed = false;
    int count = 0;
    {
        TInternalPositioning positioning(*this);
        ForEachItem([&](TControl* control, IToolBarItem* item) {
            const bool separator = item && item->ToolBarItemKind() == TToolBarItemKind::Separator;
            if (!separator) {
                if (control->Visible()) ++count;
                return;
            }
            const bool ours = remembered(control);
            if (!control->Visible() && !ours) return;
            if (control->Visible()) control->SetTop(rowTop);
            if (count == 0 && control->Visible()) {
                control->SetVisible(false);
                stillListed.push_back(control);
                changed = true;
            } else if (count > 0 && ours) {
                control->SetTop(rowTop);
                control->SetVisible(true);
                changed = true;
            } else if (ours) {
                stillListed.push_back(control);
            }
            count = 0;
        });
    }
    FPassHiddenSeparators = std::move(stillListed);
    if (changed) ArrangeItems(true);
    FInSeparatorPass = false;
}

TShortCut TAdvCustomToolBar::ActionShortCut(const TCustomAction* action) { return action ? action->ShortCut() : 0; }

void TAdvCustomToolBar::ItemClicking() {
    if (OptionWindowShowing()) HideOptionWindow();
}

void TAdvCustomToolBar::ItemClicked(TControl* item) {
    PromoteControl(item);
    ArrangeItems(false);
    UpdateHiddenControls();
}

// The menu bar's side of its buttons; a toolbar without a menu has none.
void TAdvCustomToolBar::HotButtonChanged(TControl*) {}

bool TAdvCustomToolBar::DropMenuButton(TControl*) { return false; }

bool TAdvCustomToolBar::MenuLoopFocused() const { return false; }

bool TAdvCustomToolBar::MenuDropped() const { return false; }

// The overflow panel belongs to the hidden items; until they exist there is none.
TWinControl* TAdvCustomToolBar::ItemOverflowPanel() const { return nullptr; }


// ---------------------------------------------------------------- the menu bar

bool TAdvCustomToolBar::HasMenu() const { return false; }

bool TAdvCustomToolBar::FormHasMenu(const TCustomForm*) { return false; }

bool TAdvCustomToolBar::MenuIsShortCut(WORD, TShiftState) { return false; }

void TAdvCustomToolBar::MenuDialogChar(TMessage&) {}

void TAdvCustomToolBar::DrawMDIButtons() {}

}  // namespace AdvToolBar
