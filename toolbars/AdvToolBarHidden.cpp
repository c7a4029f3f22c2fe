#include "toolbars/AdvToolBarHidden.h"

#include <algorithm>

namespace AdvToolBar {

namespace {

class THiding {
public:
    THiding(std::span<const THidingItem> items, std::span<const int> hidden)
        : FItems(items), FHidden(items.size(), false) {
        for (int index : hidden)
            if (Valid(index)) FHidden[size_t(index)] = true;
    }

    bool Valid(int index) const { return index >= 0 && index < Count(); }
    int Count() const { return int(FItems.size()); }
    const THidingItem& Item(int index) const { return FItems[size_t(index)]; }
    bool Hidden(int index) const { return FHidden[size_t(index)]; }
    void SetHidden(int index, bool value) { FHidden[size_t(index)] = value; }
    // On the toolbar and taking room.
    bool Shown(int index) const { return Item(index).Visible && !Hidden(index); }
    bool ShownItem(int index) const { return Shown(index) && !Item(index).Separator; }
    bool ShownSeparator(int index) const { return Shown(index) && Item(index).Separator; }

    // Walks from `index` in `step` direction over the items of its group; returns the shown
    // separator that ends the group (or -1 at the list's end) and clears `whole` when a
    // shown item is met.
    int GroupEnd(int index, int step, bool& whole) const {
        for (int i = index + step; i >= 0 && i < Count(); i += step) {
            if (ShownSeparator(i)) return i;
            if (ShownItem(i)) {
                whole = false;
                return -1;
            }
        }
        return -1;
    }

    // Like GroupEnd over hidden items: the first hidden separator reached, when no shown
    // separator ends the walk first.
    int HiddenSeparatorBeside(int index, int step, bool& whole) const {
        for (int i = index + step; i >= 0 && i < Count(); i += step) {
            const THidingItem& item = Item(i);
            if (item.Separator) {
                if (!item.Visible) continue;
                return Hidden(i) ? i : -1;
            }
            if (Shown(i)) {
                whole = false;
                return -1;
            }
        }
        return -1;
    }

private:
    std::span<const THidingItem> FItems;
    std::vector<bool> FHidden;
};

void Remove(std::vector<int>& list, int index) {
    list.erase(std::remove(list.begin(), list.end(), index), list.end());
}

int HiddenGroupSeparator(const THiding& state, int index) {
    bool whole = true;
    const int left = state.HiddenSeparatorBeside(index, -1, whole);
    const int right = state.HiddenSeparatorBeside(index, +1, whole);
    if (!whole) return -1;
    return left >= 0 ? left : right;
}

}  // namespace

int HiddenGroupSeparator(std::span<const THidingItem> items, std::span<const int> hidden, int index) {
    const THiding state(items, hidden);
    if (!state.Valid(index)) return -1;
    return HiddenGroupSeparator(state, index);
}

void UpdateHidden(std::span<const THidingItem> items, std::span<const int> recentlyUsed, std::vector<int>& hidden,
                  const THidingRoom& room) {
    THiding state(items, hidden);
    // Entries of controls that left the toolbar are dropped.
    hidden.erase(std::remove_if(hidden.begin(), hidden.end(), [&](int i) { return !state.Valid(i); }), hidden.end());
    auto hide = [&](int index) {
        state.SetHidden(index, true);
        hidden.push_back(index);
    };
    auto restore = [&](int index) {
        state.SetHidden(index, false);
        Remove(hidden, index);
    };

    // The last shown item stays with its group: behind a hidden separator it goes too.
    int last = -1;
    for (int i = state.Count() - 1; i >= 0 && last < 0; --i)
        if (state.ShownItem(i)) last = i;
    if (last >= 0) {
        for (int i = last - 1; i >= 0; --i) {
            if (!state.Item(i).Separator || !state.Item(i).Visible) continue;
            if (state.Hidden(i)) hide(last);
            break;
        }
    }

    int farthest = -1;
    for (int i = state.Count() - 1; i >= 0 && farthest < 0; --i)
        if (state.Shown(i)) farthest = i;

    if (farthest < 0) {
        // Everything is hidden: bring back from the end what fits beside grip and handle.
        int free = room.Length - room.HandleWidth - room.GripWidth;
        while (!hidden.empty()) {
            const int index = hidden.back();
            if (free < state.Item(index).Size) break;
            free -= state.Item(index).Size;
            restore(index);
        }
        return;
    }

    const int farEdge = state.Item(farthest).Position + state.Item(farthest).Size;
    if (farEdge + room.HandleWidth > room.Length) {
        int overflow = farEdge + room.HandleWidth - room.Length;
        while (overflow > 0) {
            int victim = -1;
            for (auto it = recentlyUsed.rbegin(); it != recentlyUsed.rend() && victim < 0; ++it)
                if (state.Valid(*it) && state.ShownItem(*it)) victim = *it;
            if (victim < 0) break;
            hide(victim);
            overflow -= state.Item(victim).Size;
            bool whole = true;
            const int left = state.GroupEnd(victim, -1, whole);
            const int right = state.GroupEnd(victim, +1, whole);
            if (!whole) continue;
            // A wholly hidden group takes its left separator along, or its right one when
            // it starts the list.
            const int separator = left >= 0 ? left : right;
            if (separator >= 0) {
                hide(separator);
                overflow -= state.Item(separator).Size;
            }
        }
    } else if (!hidden.empty() && farEdge + room.HandleWidth < room.Length) {
        int free = room.Length - farEdge - room.HandleWidth;
        for (;;) {
            int candidate = -1;
            for (auto it = hidden.rbegin(); it != hidden.rend() && candidate < 0; ++it)
                if (!state.Item(*it).Separator) candidate = *it;
            if (candidate < 0) break;
            const int size = state.Item(candidate).Size;
            if (free < size) break;
            const int companion = HiddenGroupSeparator(state, candidate);
            if (companion < 0) {
                restore(candidate);
                free -= size;
                continue;
            }
            // A group comes back with its separator, or not at all.
            const int both = size + state.Item(companion).Size;
            if (free < both) break;
            restore(candidate);
            restore(companion);
            free -= both;
        }
    }
}

int RestorableHidden(std::span<const THidingItem> items, std::span<const int> hidden, int room) {
    for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
        if (*it < 0 || *it >= int(items.size()) || items[size_t(*it)].Separator) continue;
        return room >= items[size_t(*it)].Size ? *it : -1;
    }
    return -1;
}

}  // namespace AdvToolBar
