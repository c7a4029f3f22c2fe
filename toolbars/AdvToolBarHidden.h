#pragma once
// Which items of a docked toolbar that is too short are hidden: the ones used longest ago
// go first, and a group whose items are all hidden takes one of its separators along, so
// no two separators meet and none dangles at an end. Indexes in, indexes out; the toolbar
// moves the controls.
#include <span>
#include <vector>

namespace AdvToolBar {

// One item, in position order along the toolbar.
struct THidingItem {
    int Position = 0;        // Left, or Top on a vertical toolbar
    int Size = 0;            // Width, or Height on a vertical toolbar
    bool Separator = false;
    bool Visible = true;     // the control's own Visible: an invisible item takes no room
};

struct THidingRoom {
    int Length = 0;        // the toolbar's width (height when vertical)
    int HandleWidth = 0;   // the scaled overflow handle at the far end
    int GripWidth = 0;     // the drag grip; 0 when none is drawn
};

// Hides and restores items until the shown ones fit. `recentlyUsed` holds item indexes,
// most recently used first; `hidden` holds the indexes hidden so far, in the order they
// were hidden, and is updated in place.
void UpdateHidden(std::span<const THidingItem> items, std::span<const int> recentlyUsed, std::vector<int>& hidden,
                  const THidingRoom& room);

// For a hidden item whose whole group is hidden: the hidden separator that bounds the
// group, the left one first; -1 when a shown item of the group remains or neither
// separator is hidden.
int HiddenGroupSeparator(std::span<const THidingItem> items, std::span<const int> hidden, int index);

// The hidden item a paint-time check may bring back: the last non-separator entry of
// `hidden` when it fits into `room` (free length, negative when the toolbar is already too
// short); -1 otherwise.
int RestorableHidden(std::span<const THidingItem> items, std::span<const int> hidden, int room);

}  // namespace AdvToolBar
