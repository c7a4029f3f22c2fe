// The size steps of a ribbon group's glow buttons, on plain records.
#include "toolbars/AdvToolBarCompactSteps.h"

#include <gtest/gtest.h>

#include <vector>

using namespace AdvToolBar;
using namespace AdvGlowButton;

namespace {

TSizeStepItem Glow(int left, TButtonSizeState state, TButtonSizeState minState = bsGlyph,
                   TButtonSizeState maxState = bsLarge) {
    TSizeStepItem item;
    item.GlowButton = true;
    item.Left = left;
    item.Width = 40;
    item.State = state;
    item.MinState = minState;
    item.MaxState = maxState;
    return item;
}

TSizeStepItem Other(int left) {
    TSizeStepItem item;
    item.Left = left;
    return item;
}

}  // namespace

TEST(CompactSteps, ChooseTheRightmostRunThatCanTakeTheStep) {
    struct TCase {
        const char* Name;
        bool Grow;
        std::vector<TSizeStepItem> Sequence;
        TSizeStepKind Kind;
        std::vector<int> Items;
    };
    const TCase cases[] = {
        {"four large: the last three become labels", false,
         {Glow(0, bsLarge), Glow(40, bsLarge), Glow(80, bsLarge), Glow(120, bsLarge)},
         TSizeStepKind::LargeToLabel, {3, 2, 1}},
        {"the large one left over needs a large neighbour", false,
         {Glow(0, bsLarge), Glow(40, bsLabel), Glow(40, bsLabel), Glow(40, bsLabel)},
         TSizeStepKind::LabelToGlyph, {3, 2, 1}},
        {"a lone large button never shrinks", false, {Glow(0, bsLarge)}, TSizeStepKind::None, {}},
        {"a column of three labels becomes glyphs at once", false,
         {Glow(10, bsLabel), Glow(10, bsLabel), Glow(10, bsLabel)}, TSizeStepKind::LabelToGlyph, {2, 1, 0}},
        {"two labels in different columns never", false, {Glow(10, bsLabel), Glow(60, bsLabel)},
         TSizeStepKind::None, {}},
        {"the column stops at another Left", false,
         {Glow(10, bsLabel), Glow(60, bsLabel), Glow(60, bsLabel), Glow(60, bsLabel), Glow(90, bsLabel)},
         TSizeStepKind::LabelToGlyph, {3, 2, 1}},
        {"a control ends the run", false, {Glow(0, bsLarge), Other(40), Glow(80, bsLarge), Glow(120, bsLarge)},
         TSizeStepKind::LargeToLabel, {3, 2}},
        {"the minimum state holds", false, {Glow(0, bsLarge, bsLarge), Glow(40, bsLarge, bsLarge)},
         TSizeStepKind::None, {}},
        {"labels in two columns grow three at a time", true,
         {Glow(10, bsLabel), Glow(10, bsLabel), Glow(10, bsLabel), Glow(60, bsLabel), Glow(60, bsLabel)},
         TSizeStepKind::LabelToLarge, {4, 3, 2}},
        {"glyphs grow to labels before labels to large", true,
         {Glow(10, bsLabel), Glow(10, bsLabel), Glow(60, bsGlyph), Glow(60, bsGlyph)},
         TSizeStepKind::GlyphToLabel, {3, 2}},
        {"the maximum state holds", true, {Glow(10, bsLabel, bsGlyph, bsLabel), Glow(10, bsLabel, bsGlyph, bsLabel)},
         TSizeStepKind::None, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSizeStep step = c.Grow ? FindGrowStep(c.Sequence) : FindShrinkStep(c.Sequence);
        EXPECT_EQ(step.Kind, c.Kind);
        EXPECT_EQ(step.Items, c.Items);
    }
}

TEST(CompactSteps, WidthOfAStepCountsColumns) {
    // Three large buttons side by side become one column of labels: the sum against the widest.
    EXPECT_EQ(StepWidth(TSizeStepKind::LargeToLabel, std::vector<int>{40, 50, 30}, std::vector<int>{70, 90, 60}), 30);
    // A column is as wide as its widest button, before and after.
    EXPECT_EQ(StepWidth(TSizeStepKind::LabelToGlyph, std::vector<int>{70, 90}, std::vector<int>{22, 24}), 66);
    EXPECT_EQ(StepWidth(TSizeStepKind::GlyphToLabel, std::vector<int>{22, 24}, std::vector<int>{70, 90}), 66);
    EXPECT_EQ(StepWidth(TSizeStepKind::LabelToLarge, std::vector<int>{70, 90, 60}, std::vector<int>{40, 50, 30}), 30);
    EXPECT_EQ(StepWidth(TSizeStepKind::None, std::vector<int>{1}, std::vector<int>{2}), 0);
}
