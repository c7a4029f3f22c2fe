#include "ribbon/AdvPageAutoLayout.h"

#include <algorithm>
#include <cstdlib>

namespace AdvToolBar {

using namespace AdvGlowButton;

namespace {

// Passes repeat themselves after each change; widths that chase each other (a step that
// gives room another takes back) would never end, so each run stops after this many.
int PassBound(size_t toolBars) { return 4 * int(toolBars) + 1; }

int FreeWidth(const IPageToolBarRow& page, const std::vector<IPageToolBar*>& list) {
    const IPageToolBar* last = list.back();
    return page.PageWidth() - (last->Left() + last->Width()) - 2;
}

bool Runs(const IPageToolBarRow& page) { return !page.Designing() && page.AutoCompact(); }

// One-way passes take only toolbars with a width; the full pass every shown one.
bool Shown(const IPageToolBarRow& page, const IPageToolBar* bar, bool needWidth) {
    if (page.Designing()) return true;
    return bar->Visible() && (!needWidth || bar->Width() > 0);
}

bool Eligible(const IPageToolBarRow& page, const IPageToolBar* bar, bool needWidth) {
    return Shown(page, bar, needWidth) && !bar->IsCompact() && bar->PropertiesLoaded();
}

enum class TExpand { None, Expanded, NoRoom };

// The first compact group the page folded itself is the only one that may unfold.
TExpand ExpandFirst(IPageToolBarRow& page, const std::vector<IPageToolBar*>& list, int free, bool needWidth) {
    for (IPageToolBar* bar : list) {
        if (!Shown(page, bar, needWidth) || !bar->IsCompact() || !bar->IsAutoCompacted()) continue;
        if (free >= bar->GetExpandedWidth() - bar->GetCompactWidth() + page.Padding()) {
            bar->ApplyCompact(false);
            page.Arrange();
            return TExpand::Expanded;
        }
        return TExpand::NoRoom;
    }
    return TExpand::None;
}

struct TChoice {
    IPageToolBar* Bar = nullptr;
    int Width = 0;
    TButtonSizeState State = bsLarge;
};

// Glyph-to-label steps beat label-to-large ones; among equal steps the widest.
void ConsiderGrow(TChoice& best, IPageToolBar* bar, int width, TButtonSizeState state) {
    if (!best.Bar || (width > best.Width && state == best.State) || (state == bsLabel && best.State == bsLarge))
        best = {bar, width, state};
}

}  // namespace

void UpdateAllToolBars(IPageToolBarRow& page) {
    if (!Runs(page)) return;
    const size_t count = page.ToolBarsByLeft().size();
    for (int pass = 0; pass < PassBound(count); ++pass) {
        const std::vector<IPageToolBar*> list = page.ToolBarsByLeft();
        if (list.empty()) return;
        int free = FreeWidth(page, list);
        if (free > 0) {
            const TExpand expand = ExpandFirst(page, list, free, false);
            if (expand == TExpand::Expanded) continue;
            if (expand == TExpand::NoRoom) return;
            TChoice best;
            for (auto it = list.rbegin(); it != list.rend(); ++it) {
                if (!Eligible(page, *it, false)) continue;
                TButtonSizeState state = bsLarge;
                const int width = (*it)->GetGrowWidth(state);
                if (width > 0 && width < free) ConsiderGrow(best, *it, width, state);
            }
            if (!best.Bar) return;
            free -= best.Bar->GrowButtons(best.State, true);
            page.Arrange();
            if (free > 0) continue;
            return;
        }
        int over = -free;
        TChoice best;
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (!Eligible(page, *it, false)) continue;
            TButtonSizeState state = bsLarge;
            const int width = (*it)->GetShrinkWidth(state);
            if (width <= 0) continue;
            // Large-to-label steps beat label-to-glyph ones; among equal steps the smallest
            // that still covers the overflow.
            if (!best.Bar || (state == best.State && (width < best.Width || best.Width < over)) ||
                (state == bsLabel && best.State == bsGlyph))
                best = {*it, width, state};
        }
        if (best.Bar) {
            over -= best.Bar->ShrinkButtons(best.State, true);
            page.Arrange();
            continue;  // still over: shrink on; room now: the next pass may grow others
        }
        if (over <= 0) return;
        IPageToolBar* last = nullptr;
        for (auto it = list.rbegin(); it != list.rend() && !last; ++it)
            if (Eligible(page, *it, false)) last = *it;
        if (!last) return;
        last->ApplyCompact(true);
        page.Arrange();
    }
}

void GrowAdvToolBars(IPageToolBarRow& page) {
    if (!Runs(page)) return;
    const size_t count = page.ToolBarsByLeft().size();
    for (int pass = 0; pass < PassBound(count); ++pass) {
        const std::vector<IPageToolBar*> list = page.ToolBarsByLeft();
        if (list.empty()) return;
        int free = FreeWidth(page, list);
        if (free <= 0) return;
        const TExpand expand = ExpandFirst(page, list, free, true);
        if (expand == TExpand::Expanded) continue;
        if (expand == TExpand::NoRoom) return;
        TChoice best;
        for (IPageToolBar* bar : list) {
            if (!Eligible(page, bar, true)) continue;
            TButtonSizeState state = bsLarge;
            const int width = bar->GetGrowWidth(state);
            if (width > 0) ConsiderGrow(best, bar, width, state);
        }
        if (!best.Bar || best.Width >= free) return;
        free -= best.Bar->GrowButtons(best.State, true);
        page.Arrange();
        if (free <= 0) return;
    }
}

void ShrinkAdvToolBars(IPageToolBarRow& page) {
    if (!Runs(page)) return;
    const size_t count = page.ToolBarsByLeft().size();
    for (int pass = 0; pass < PassBound(count); ++pass) {
        const std::vector<IPageToolBar*> list = page.ToolBarsByLeft();
        if (list.empty()) return;
        const int free = FreeWidth(page, list);
        if (free > 0) return;
        int over = -free;
        TChoice best;
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (!Eligible(page, *it, true)) continue;
            TButtonSizeState state = bsLarge;
            const int width = (*it)->GetShrinkWidth(state);
            if (width <= 0) continue;
            if (!best.Bar || (state == best.State && width < best.Width) || (state == bsLabel && best.State == bsGlyph))
                best = {*it, width, state};
        }
        if (best.Bar) {
            over -= best.Bar->ShrinkButtons(best.State, true);
            page.Arrange();
            if (over > 0) continue;
            return;
        }
        IPageToolBar* last = nullptr;
        for (auto it = list.rbegin(); it != list.rend() && !last; ++it)
            if (Eligible(page, *it, true)) last = *it;
        if (!last) return;
        last->ApplyCompact(true);
        last->SetCompactSmallest(true);
        page.Arrange();
    }
}

// ---------------------------------------------------------------- placement

std::vector<TToolBarPlace> PlaceToolBars(std::span<const int> widths, const std::vector<bool>& shown, int pageHeight) {
    std::vector<TToolBarPlace> places;
    int x = 3;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (!shown[i] || widths[i] <= 0) {
            places.push_back({-1, 3, pageHeight - 6});
            continue;
        }
        places.push_back({x, 3, pageHeight - 6});
        x += widths[i] + 3;
    }
    return places;
}

// ---------------------------------------------------------------- scroller

int FittingToolBarCount(std::span<const int> widths, int pageWidth, int index, bool forward) {
    const int count = int(widths.size());
    if (index < 0 || index >= count) return 0;
    int x = 3, fitting = 0;
    for (int i = index; forward ? i < count : i >= 0; i += forward ? 1 : -1) {
        x += widths[size_t(i)];
        if (x >= pageWidth) break;
        ++fitting;
        x += 3;
    }
    return fitting;
}

int ToolBarScrollerMax(std::span<const int> widths, int pageWidth, bool allCompact) {
    const int first = std::max(1, FittingToolBarCount(widths, pageWidth, 0, true));
    const int visible = int(widths.size());
    int max = 0;
    if (first >= visible || !allCompact) return 0;
    int start = 0, total = 0;
    for (int round = 0; round < visible; ++round) {
        const int n = std::max(1, FittingToolBarCount(widths, pageWidth, start, true));
        total += n;
        if (total >= visible) break;
        ++max;
        start = n + 1;  // the previous count plus one, not the running total
    }
    return max;
}

int ToolBarScrollShift(std::span<const int> lefts, std::span<const int> widths, int pageWidth, int firstShown,
                       int& index) {
    const int count = int(lefts.size());
    if (count == 0) return 0;
    std::vector<int> at(lefts.begin(), lefts.end());
    int shift = 0;
    // Each step moves at least a pixel and the distances are bounded, so this ends; the
    // bound only guards against widths that make no sense.
    const int guard = 4 * (pageWidth + 1) + 4 * count;
    if (index > firstShown) {
        while (index > 0 &&
               FittingToolBarCount(widths, pageWidth, index - 1, true) > FittingToolBarCount(widths, pageWidth, index, true))
            --index;
        for (int n = 0; n < guard; ++n) {
            int step = 5;
            bool last = false;
            const int right = at[size_t(count - 1)] + widths[size_t(count - 1)];
            if (right - step <= pageWidth - 3) step = right - (pageWidth - 3), last = true;
            if (at[size_t(index)] - step <= 3) step = std::min(step, at[size_t(index)] - 3), last = true;
            if (step <= 0) break;
            for (int& left : at) left -= step;
            shift -= step;
            if (last) break;
        }
    } else {
        index = std::max(index, 0);
        for (int n = 0; n < guard; ++n) {
            int step = 5;
            bool last = false;
            if (at[0] + step >= 0) step = 3 - at[0], last = true;
            else if (at[size_t(index)] + step >= 0) step = 3 - at[size_t(index)], last = true;
            if (step <= 0) break;
            for (int& left : at) left += step;
            shift += step;
            if (last) break;
        }
    }
    return shift;
}

}  // namespace AdvToolBar
