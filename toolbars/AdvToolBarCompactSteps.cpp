#include "toolbars/AdvToolBarCompactSteps.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace AdvToolBar {

using namespace AdvGlowButton;

bool CanShrinkAt(const TSizeStepItem& item, TButtonSizeState state) {
    return item.GlowButton && item.State == state && item.MinState < state;
}

bool CanGrowAt(const TSizeStepItem& item, TButtonSizeState state) {
    return item.GlowButton && item.State == state && item.MaxState > state;
}

namespace {

using TPass = bool (*)(const TSizeStepItem&, TButtonSizeState);

// The rightmost K whose item and the one before pass; with `column` both share a Left.
// Then K, K-1, K-2 while they pass (and, with `column`, stand in K's column).
std::vector<int> TakeRun(std::span<const TSizeStepItem> seq, TPass pass, TButtonSizeState state, bool column) {
    std::vector<int> taken;
    for (int k = int(seq.size()) - 1; k >= 1; --k) {
        if (!pass(seq[size_t(k)], state) || !pass(seq[size_t(k - 1)], state)) continue;
        if (column && seq[size_t(k)].Left != seq[size_t(k - 1)].Left) continue;
        for (int j = k; j >= 0 && j > k - 3; --j) {
            const TSizeStepItem& item = seq[size_t(j)];
            if (!pass(item, state) || (column && item.Left != seq[size_t(k)].Left)) break;
            taken.push_back(j);
        }
        break;
    }
    return taken;
}

}  // namespace

TSizeStep FindShrinkStep(std::span<const TSizeStepItem> sequence) {
    TSizeStep step;
    step.Items = TakeRun(sequence, CanShrinkAt, bsLarge, false);
    if (step.Found()) {
        step.Kind = TSizeStepKind::LargeToLabel;
        step.NewState = bsLabel;
        return step;
    }
    step.Items = TakeRun(sequence, CanShrinkAt, bsLabel, true);
    if (step.Found()) {
        step.Kind = TSizeStepKind::LabelToGlyph;
        step.NewState = bsGlyph;
    }
    return step;
}

TSizeStep FindGrowStep(std::span<const TSizeStepItem> sequence) {
    TSizeStep step;
    step.Items = TakeRun(sequence, CanGrowAt, bsGlyph, true);
    if (step.Found()) {
        step.Kind = TSizeStepKind::GlyphToLabel;
        step.NewState = bsLabel;
        return step;
    }
    step.Items = TakeRun(sequence, CanGrowAt, bsLabel, false);
    if (step.Found()) {
        step.Kind = TSizeStepKind::LabelToLarge;
        step.NewState = bsLarge;
    }
    return step;
}

int StepWidth(TSizeStepKind kind, std::span<const int> oldWidths, std::span<const int> newWidths) {
    auto largest = [](std::span<const int> widths) {
        return widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    };
    auto sum = [](std::span<const int> widths) { return std::accumulate(widths.begin(), widths.end(), 0); };
    switch (kind) {
        case TSizeStepKind::LargeToLabel: return std::abs(sum(oldWidths) - largest(newWidths));
        case TSizeStepKind::LabelToGlyph: return std::abs(largest(oldWidths) - largest(newWidths));
        case TSizeStepKind::GlyphToLabel: return std::abs(largest(newWidths) - largest(oldWidths));
        case TSizeStepKind::LabelToLarge: return std::abs(sum(newWidths) - largest(oldWidths));
        case TSizeStepKind::None: break;
    }
    return 0;
}

}  // namespace AdvToolBar
