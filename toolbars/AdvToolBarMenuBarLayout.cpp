#include "toolbars/AdvToolBarMenuBarLayout.h"

#include <algorithm>
#include <cmath>

namespace AdvToolBar {

using ClassLib::TPoint;
using ClassLib::TRect;

TPoint MenuDropPoint(const TMenuDropInput& in) {
    const TRect& b = in.Button;
    switch (in.Align) {
        case daLeft: return {b.Right, b.Top + 1};
        case daRight: return {b.Left - in.MenuWidth, b.Top + 1};
        case daTop:
        case daBottom: break;
    }
    TPoint p{b.Left, b.Bottom};
    if (in.RightToLeft) p.X += b.Right - b.Left;
    if (p.Y + in.MenuHeight + 10 > in.MonitorBottom) p.Y -= (b.Bottom - b.Top) + in.MenuHeight + 4;
    if (p.X + in.MenuWidth + 52 > in.MonitorRight) p.X = in.MonitorRight - in.MenuWidth - 52;
    return p;
}

int NeighbourIndex(int count, int start, bool forward, const std::function<bool(int)>& eligible) {
    if (count <= 0) return -1;
    int i = start;
    for (int steps = 0; steps < count; ++steps) {
        i = forward ? (i + 1) % count : (i <= 0 ? count - 1 : i - 1);
        if (i == start) return -1;
        if (eligible(i)) return i;
    }
    return -1;
}

std::vector<int> MatchMergedItems(const std::vector<TMergeSlot>& buttons, const std::vector<int>& mergedGroups) {
    std::vector<bool> taken(buttons.size(), false);
    std::vector<int> result;
    result.reserve(mergedGroups.size());
    for (const int group : mergedGroups) {
        int match = -1;
        if (group != 0) {
            for (size_t i = 0; i < buttons.size() && match < 0; ++i)
                if (!taken[i] && buttons[i].MenuButton && buttons[i].Mergeable && buttons[i].GroupIndex == group)
                    match = int(i);
        }
        if (match >= 0) taken[size_t(match)] = true;
        result.push_back(match);
    }
    return result;
}

std::vector<int> MergeOrder(const std::vector<TMergeSlot>& slots) {
    std::vector<int> order(slots.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    for (size_t p = 0; p < order.size(); ++p) {
        if (!slots[size_t(order[p])].MenuButton) continue;
        // A button of group 0 ends the scan: the groups are sorted between such buttons.
        int best = -1;
        for (size_t i = p; i < order.size(); ++i) {
            const TMergeSlot& slot = slots[size_t(order[i])];
            if (!slot.MenuButton || !slot.Mergeable) continue;
            if (slot.GroupIndex == 0) break;
            if (best < 0 || slot.GroupIndex < slots[size_t(order[size_t(best)])].GroupIndex) best = int(i);
        }
        if (best > int(p) && slots[size_t(order[size_t(best)])].GroupIndex > 0) {
            const int moved = order[size_t(best)];
            order.erase(order.begin() + best);
            order.insert(order.begin() + long(p), moved);
        }
    }
    return order;
}

int MDIButtonSize(float scale) { return int(std::lrint(18 * scale)); }

TMDIButtonRects MDIButtonRects(const TMDIButtonInput& in) {
    TMDIButtonRects r;
    if (!in.HasChild) return r;
    const int s = MDIButtonSize(in.Scale);
    if (in.Vertical) {
        const int top = in.Height - s - 3 - in.EndReduction;
        const int left = std::max(2, (in.Width - s) / 2);
        r.Close = TRect(left, top, left + s, top + s);
        if (in.Floating) return r;
        r.Restore = TRect(left, r.Close.Top - 1 - s, left + s, r.Close.Top - 1);
        r.Minimize = TRect(left, r.Restore.Top - 1 - s, left + s, r.Restore.Top - 1);
    } else {
        const int left = in.Width - s - 3 - in.EndReduction;
        const int top = std::max(2, (in.Height - s) / 2);
        r.Close = TRect(left, top, left + s, top + s);
        if (in.Floating) return r;
        r.Restore = TRect(r.Close.Left - 1 - s, top, r.Close.Left - 1, top + s);
        r.Minimize = TRect(r.Restore.Left - 1 - s, top, r.Restore.Left - 1, top + s);
    }
    return r;
}

}  // namespace AdvToolBar
