// The toolbar's window-free arithmetic: frame rectangles, item placement, sizes, insertion
// order and floating rows, numbers in and numbers out.
#include "toolbars/AdvToolBarLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace AdvToolBar;
using ClassLib::TPoint;
using ClassLib::TRect;

namespace {

TLayoutItem Item(int width, int height) {
    TLayoutItem item;
    item.Width = width;
    item.Height = height;
    return item;
}

}  // namespace

TEST(ToolBarFrameLayout, CaptionStripSitsOnItsSideAndTheContentIsWhatRemains) {
    struct Row {
        const char* Name;
        bool Vertical;
        TCaptionPosition Position;
        TRect Caption, Content;
    };
    const Row rows[] = {
        {"horizontal top", false, cpTop, {0, 0, 200, 16}, {0, 16, 200, 60}},
        {"horizontal bottom", false, cpBottom, {0, 44, 200, 60}, {0, 0, 200, 44}},
        {"vertical top", true, cpTop, {0, 0, 16, 60}, {16, 0, 200, 60}},
        {"vertical bottom", true, cpBottom, {184, 0, 200, 60}, {0, 0, 184, 60}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TToolBarFrame frame;
        frame.Width = 200;
        frame.Height = 60;
        frame.ShowCaption = true;
        frame.Vertical = row.Vertical;
        frame.CaptionPosition = row.Position;
        EXPECT_EQ(CaptionRect(frame), row.Caption);
        EXPECT_EQ(ContentRect(frame), row.Content);
        frame.ShowCaption = false;
        EXPECT_EQ(CaptionRect(frame), TRect{});
        EXPECT_EQ(ContentRect(frame), (TRect{0, 0, 200, 60}));
    }
}

TEST(ToolBarFrameLayout, FloatingCaptionButtonsShareTheRightEnd) {
    TToolBarFrame frame;
    frame.Width = 120;
    frame.Height = 42;
    frame.Floating = true;
    frame.CaptionSize = frame.CaptionHeight = 16;
    const TRect close = FloatingCloseButtonRect(frame);
    EXPECT_EQ(close, (TRect{103, 1, 119, 15}));
    EXPECT_EQ(FloatingOptionButtonRect(frame).Right, close.Left - 2);
    EXPECT_EQ(FloatingDragArea(frame).Right, FloatingOptionButtonRect(frame).Left);
    // Without a close button the option button takes its place.
    frame.ShowClose = false;
    EXPECT_EQ(FloatingCloseButtonRect(frame), TRect{});
    EXPECT_EQ(FloatingOptionButtonRect(frame), close);
    // Docked toolbars have neither.
    frame.Floating = false;
    EXPECT_EQ(FloatingOptionButtonRect(frame), TRect{});
}

TEST(ToolBarFrameLayout, CaptionOptionIndicatorOnlyWithoutRightHandle) {
    TToolBarFrame frame;
    frame.Width = 100;
    frame.Height = 86;
    frame.ShowCaption = true;
    frame.CaptionPosition = cpBottom;
    EXPECT_EQ(CaptionOptionIndicatorRect(frame), (TRect{-1, -1, -1, -1}));
    frame.ShowRightHandle = false;
    EXPECT_EQ(CaptionOptionIndicatorRect(frame), (TRect{85, 72, 99, 85}));
    frame.Vertical = true;
    EXPECT_EQ(CaptionOptionIndicatorRect(frame), (TRect{-1, -1, -1, -1}));
}

TEST(ToolBarFrameLayout, GripAndRightHandleFollowTheOrientation) {
    TToolBarFrame frame;
    frame.Width = 200;
    frame.Height = 26;
    EXPECT_EQ(DragGripRect(frame), (TRect{0, 0, 7, 26}));
    EXPECT_EQ(RightHandleRect(frame), (TRect{186, 0, 200, 26}));
    frame.Vertical = true;
    frame.Width = 26;
    frame.Height = 200;
    EXPECT_EQ(DragGripRect(frame), (TRect{0, 0, 26, 7}));
    EXPECT_EQ(RightHandleRect(frame), (TRect{0, 186, 26, 200}));
    frame.GripDrawn = false;
    frame.ShowRightHandle = false;
    EXPECT_EQ(DragGripRect(frame), TRect{});
    EXPECT_EQ(RightHandleRect(frame), TRect{});
    EXPECT_EQ(GripOffset(true, 7), 9);
    EXPECT_EQ(GripOffset(false, 7), 2);
}

TEST(ToolBarArrangeLayout, ItemsFollowEachOtherAlongTheLength) {
    std::vector<TLayoutItem> items{Item(30, 20), Item(40, 22), Item(25, 20)};
    items[1].Layout = false;  // invisible: parked beyond the far edge
    TLayoutItem badge = Item(10, 10);
    badge.Layout = false;
    badge.Badge = true;
    badge.Left = 77;
    badge.Top = 3;
    items.push_back(badge);
    TArrangeParams params;
    params.Width = 200;
    params.Height = 26;
    params.Start = 9;
    params.Across = 2;
    {
        SCOPED_TRACE("horizontal");
        const auto places = ArrangeLayout(items, params);
        EXPECT_EQ(places[0], (TPoint{9, 2}));
        EXPECT_EQ(places[1].Y, 28);
        EXPECT_EQ(places[2], (TPoint{39, 2}));
        EXPECT_EQ(places[3], (TPoint{77, 3}));
    }
    {
        SCOPED_TRACE("vertical");
        params.Kind = TArrangeKind::Vertical;
        params.Width = 26;
        params.Height = 200;
        const auto places = ArrangeLayout(items, params);
        EXPECT_EQ(places[0], (TPoint{2, 9}));
        EXPECT_EQ(places[1].X, 28);
        EXPECT_EQ(places[2], (TPoint{2, 29}));
        EXPECT_EQ(places[3], (TPoint{77, 3}));
    }
}

TEST(ToolBarArrangeLayout, MarginsWidenTheItemsPlace) {
    std::vector<TLayoutItem> items{Item(30, 20), Item(30, 20)};
    items[0].WithMargins = true;
    items[0].MarginLeft = 3;
    items[0].MarginTop = 1;
    items[0].MarginRight = 5;
    TArrangeParams params;
    params.Width = 200;
    params.Height = 26;
    const auto places = ArrangeLayout(items, params);
    EXPECT_EQ(places[0], (TPoint{5, 3}));
    EXPECT_EQ(places[1], (TPoint{40, 2}));
}

TEST(ToolBarArrangeLayout, RibbonGroupStacksSmallButtonsInColumnsOfThree) {
    // Three label buttons stack in one column, the large one stands beside it in the top row.
    std::vector<TLayoutItem> items;
    for (int i = 0; i < 3; ++i) {
        TLayoutItem label = Item(60, 22);
        label.Stacks = label.Stackable = label.GlowButton = true;
        items.push_back(label);
    }
    TLayoutItem large = Item(40, 66);
    large.GlowButton = true;
    items.push_back(large);
    TArrangeParams params;
    params.RibbonGroup = true;
    params.Width = 200;
    params.Height = 86;
    params.Start = 2;
    params.Across = 2;
    const auto places = ArrangeLayout(items, params);
    EXPECT_EQ(places[0], (TPoint{2, 2}));
    EXPECT_EQ(places[1], (TPoint{2, 24}));
    EXPECT_EQ(places[2], (TPoint{2, 46}));
    EXPECT_EQ(places[3], (TPoint{62, 2}));
}

TEST(ToolBarArrangeLayout, FloatingRowsWrapWhenTheNextItemDoesNotFit) {
    const std::vector<TLayoutItem> items{Item(20, 20), Item(20, 20), Item(20, 20)};
    TArrangeParams params;
    params.Kind = TArrangeKind::FloatingRows;
    params.Width = 60;
    params.Across = 18;
    params.RowHeight = 26;
    const auto places = ArrangeLayout(items, params);
    EXPECT_EQ(places[0], (TPoint{2, 18}));
    EXPECT_EQ(places[1], (TPoint{22, 18}));
    EXPECT_EQ(places[2], (TPoint{2, 44}));
}

TEST(ToolBarSizes, ExtentOfEmptyInvisibleAndTallItems) {
    struct Row {
        const char* Name;
        std::vector<TLayoutItem> Items;
        bool HasItems;
        int HandleWidth;
        int Visible, Thickness;
    };
    TLayoutItem invisible = Item(30, 20);
    invisible.Layout = false;
    TLayoutItem tall = Item(30, 40);
    tall.Left = 9;
    TLayoutItem small = Item(30, 20);
    small.Left = 9;
    const Row rows[] = {
        {"empty", {}, false, 14, 60, 26},
        {"all invisible", {invisible, invisible}, true, 14, 29, 26},
        {"all invisible, no handle", {invisible}, true, 4, 19, 26},
        {"a 40-pixel item", {tall}, true, 14, 9 + 30 + 14, 44},
        {"20-pixel items", {small}, true, 14, 9 + 30 + 14, 26},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TSizeParams params;
        params.HasItems = row.HasItems;
        params.HandleWidth = row.HandleWidth;
        const TToolBarExtent extent = MeasureToolBar(row.Items, params);
        if (row.HasItems && row.Items[0].Layout) EXPECT_EQ(extent.Full, row.Visible);
        else if (row.HasItems) EXPECT_EQ(extent.Visible, 15 + row.HandleWidth);
        else EXPECT_EQ(extent.Visible, row.Visible);
        EXPECT_EQ(extent.Thickness, row.Thickness);
    }
}

TEST(ToolBarSizes, CollapsedToolBarTakesNoLength) {
    TSizeParams params;
    params.HasItems = true;
    params.Collapse = true;
    const std::vector<TLayoutItem> items{Item(30, 20)};
    const TToolBarExtent extent = MeasureToolBar(items, params);
    EXPECT_EQ(extent.Visible, 0);
    EXPECT_EQ(extent.Full, 0);
}

TEST(ToolBarSizes, PlannedLengthNeverCutsTheVisibleItems) {
    const TToolBarExtent extent{100, 100, 26};
    TLengthPlan plan = PlanLength(extent, 60, 80, 60, false, false);
    EXPECT_EQ(plan.Length, 100);
    EXPECT_EQ(plan.MinLength, 60);
    EXPECT_EQ(plan.MaxLength, 100);
    plan = PlanLength(extent, 60, 300, 100, false, false);
    EXPECT_EQ(plan.Length, 100);
    EXPECT_FALSE(plan.DockAdjusts);
}

TEST(ToolBarSizes, DockedSizeAndFullLength) {
    TLayoutItem separator = Item(6, 60);
    separator.Separator = true;
    const std::vector<TLayoutItem> items{Item(30, 20), Item(50, 34), separator};
    EXPECT_EQ(DockedSize(items, false, false, false), 38);  // separators do not count
    EXPECT_EQ(DockedSize(items, true, false, false), 54);   // vertical: the widest
    EXPECT_EQ(DockedSize(std::vector<TLayoutItem>{Item(10, 10)}, false, false, false), 26);
    EXPECT_EQ(FullLength(items, false, 9, 14, 60), 9 + 30 + 50 + 6 + 14);
    EXPECT_EQ(FullLength(items, true, 9, 14, 60), 9 + 20 + 34 + 60 + 14);
    EXPECT_EQ(FullLength(std::vector<TLayoutItem>{}, false, 9, 14, 60), 60);
}

TEST(ToolBarOrder, IndexByPositionFindsTheSlotAndZeroGoesLast) {
    const std::vector<TPoint> places{{9, 2}, {40, 2}, {80, 2}};
    EXPECT_EQ(IndexByPosition(places, -1, 30, 2, false), 1);
    EXPECT_EQ(IndexByPosition(places, -1, 5, 2, false), 0);
    EXPECT_EQ(IndexByPosition(places, -1, 100, 2, false), 3);
    EXPECT_EQ(IndexByPosition(places, -1, 0, 2, false), 3);
    EXPECT_EQ(IndexByPosition(places, 1, 30, 2, false), 2);  // its own place is skipped
    const std::vector<TPoint> column{{2, 9}, {2, 40}};
    EXPECT_EQ(IndexByPosition(column, -1, 2, 20, true), 1);
}

TEST(ToolBarFloatingRows, MaxRowsAndTheSizeForRows) {
    const std::vector<int> three{20, 20, 20};
    EXPECT_EQ(MaxFloatingRows(three, 60), 2);
    EXPECT_EQ(MaxFloatingRows(std::vector<int>{20}, 60), 1);
    // One row needs room for all three: the length grows by 10 from 60 until they fit.
    TFloatingSize size = CalcFloatingSize(three, 60, 1, 26, 16);
    EXPECT_EQ(size.Length, 70);
    EXPECT_EQ(size.Height, 26 + 16);
    // Two rows fit at the minimum length; the length shrinks by the smallest spare.
    size = CalcFloatingSize(three, 60, 2, 26, 16);
    EXPECT_EQ(size.Height, 2 * 26 + 16);
    EXPECT_EQ(size.Length, 60 - 16);
}

TEST(ToolBarPaintArithmetic, FadeAndMirrorSplit) {
    EXPECT_EQ(MirrorSplit(30), 0);
    EXPECT_EQ(MirrorSplit(10), 12);
    TFadeState fade;
    EXPECT_EQ(FadeColour(fade, ClassLib::clWhite, ClassLib::clBlack), ClassLib::clWhite);
    fade.Hot = true;
    EXPECT_EQ(FadeColour(fade, ClassLib::clWhite, ClassLib::clBlack), ClassLib::clBlack);
    EXPECT_EQ(FadeColour(fade, ClassLib::clWhite, ClassLib::clNone), ClassLib::clWhite);
    fade = {};
    fade.Fading = true;
    fade.Step = 100;
    EXPECT_EQ(FadeColour(fade, ClassLib::clWhite, ClassLib::clBlack), ClassLib::clBlack);
}
