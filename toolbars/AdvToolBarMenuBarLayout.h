#pragma once
// The menu bar's window-free rules: where a dropped menu opens, which button the arrow keys
// reach, how a merged menu's items take over or join the bar's buttons, and where the MDI
// buttons of a maximised child sit. Numbers in, numbers out.
#include <functional>
#include <vector>

#include "classlib/Geometry.h"
#include "toolbars/AdvToolBarLayout.h"

namespace AdvToolBar {

// What the drop point needs of the button, the menu and the monitor (screen pixels).
struct TMenuDropInput {
    TDockAlign Align = daTop;
    ClassLib::TRect Button;        // the button on screen
    int MenuWidth = 0;             // W
    int MenuHeight = 0;            // H
    bool RightToLeft = false;
    int MonitorBottom = 0, MonitorRight = 0;
};

// The point a menu bar's drop-down opens at: beside the button on a vertical bar, below it
// otherwise; upwards when it would run off the monitor's bottom, pulled in from the right edge.
ClassLib::TPoint MenuDropPoint(const TMenuDropInput& in);

// From `start`, the next (or previous) index of `count` that `eligible` accepts, wrapping
// around; -1 when the walk comes back to `start` without one.
int NeighbourIndex(int count, int start, bool forward, const std::function<bool(int)>& eligible);

// A button of the menu bar as the merge sees it.
struct TMergeSlot {
    bool MenuButton = false;  // a menu button at all
    bool Mergeable = false;   // made by the toolbar or by a merge, and linked to a menu item
    int GroupIndex = 0;
};

// For each merged top-level item (by its group index): the index of the toolbar-made button
// it takes over, or -1 when it gets a new button. A group index of 0 never takes one over;
// each button is taken at most once.
std::vector<int> MatchMergedItems(const std::vector<TMergeSlot>& buttons, const std::vector<int>& mergedGroups);

// The order after a merge, as the list of original indexes: at each position holding a
// menu button, the mergeable buttons from there on are scanned up to the first of group 0,
// and the first of the smallest group above 0 is moved to that position.
std::vector<int> MergeOrder(const std::vector<TMergeSlot>& slots);

// The MDI buttons of a maximised child: close, restore and minimise rectangles (empty when
// not shown) in toolbar client coordinates.
struct TMDIButtonInput {
    int Width = 0, Height = 0;
    bool Vertical = false;
    float Scale = 1.0f;
    int EndReduction = 0;  // the scaled option indicator when it is shown and the bar is not full size
    bool Floating = false;
    bool HasChild = false;         // an active child with a system menu
};
struct TMDIButtonRects {
    ClassLib::TRect Close, Restore, Minimize;
};
int MDIButtonSize(float scale);
TMDIButtonRects MDIButtonRects(const TMDIButtonInput& in);

}  // namespace AdvToolBar
