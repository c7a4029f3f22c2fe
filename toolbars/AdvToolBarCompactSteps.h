#pragma once
// The size steps of a ribbon group's glow buttons, on plain records: which buttons one
// shrink or grow step takes (large buttons become label buttons, label buttons glyph-only
// ones, and back), and how much width the step gives or takes. The toolbar reads its items
// into records, lets these choose, and applies or only measures the step.
#include <functional>
#include <span>
#include <vector>

#include "controls/AdvGlowButton.h"

namespace AdvToolBar {

using AdvGlowButton::TButtonSizeState;

// One item of the toolbar's sequence (visible items by Left, then Top).
struct TSizeStepItem {
    bool GlowButton = false;  // an auto-size glow button; nothing else ever changes size
    int Left = 0;
    int Width = 0;
    TButtonSizeState State = AdvGlowButton::bsLarge;
    TButtonSizeState MinState = AdvGlowButton::bsGlyph;
    TButtonSizeState MaxState = AdvGlowButton::bsLarge;
};

enum class TSizeStepKind { None, LargeToLabel, LabelToGlyph, GlyphToLabel, LabelToLarge };

struct TSizeStep {
    TSizeStepKind Kind = TSizeStepKind::None;
    TButtonSizeState NewState = AdvGlowButton::bsLarge;
    std::vector<int> Items;  // sequence positions, the rightmost first; empty when none
    bool Found() const { return !Items.empty(); }
};

bool CanShrinkAt(const TSizeStepItem& item, TButtonSizeState state);
bool CanGrowAt(const TSizeStepItem& item, TButtonSizeState state);

// The next shrink step: three large buttons (at most) become labels, else one column of
// label buttons becomes glyphs. The scans start at the rightmost item, and a step needs two
// neighbours that can take it (a column step: two in the same column).
TSizeStep FindShrinkStep(std::span<const TSizeStepItem> sequence);
// The next grow step: a column of glyph buttons becomes labels, else up to three label
// buttons (across columns) become large.
TSizeStep FindGrowStep(std::span<const TSizeStepItem> sequence);

// The width a step gives (shrink) or takes (grow), from the items' widths before and after:
// labels stand in one column, so a column is as wide as its widest button.
int StepWidth(TSizeStepKind kind, std::span<const int> oldWidths, std::span<const int> newWidths);

}  // namespace AdvToolBar
