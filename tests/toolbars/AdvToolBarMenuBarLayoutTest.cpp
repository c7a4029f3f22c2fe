// The menu bar's window-free rules: drop points, neighbour buttons, merge matching and
// ordering, MDI button rectangles.
#include "toolbars/AdvToolBarMenuBarLayout.h"

#include <gtest/gtest.h>

using namespace AdvToolBar;
using ClassLib::TPoint;
using ClassLib::TRect;

TEST(MenuDropPoint, OpensBesideBelowUpwardsOrPulledIn) {
    struct TCase {
        const char* Name;
        TDockAlign Align;
        bool RightToLeft;
        int MonitorBottom, MonitorRight;
        TPoint Expected;
    };
    // A 40 x 22 button at (100, 50); the menu is 120 x 200.
    const TCase cases[] = {
        {"left bar: to the right", daLeft, false, 1024, 1280, {140, 51}},
        {"right bar: to the left", daRight, false, 1024, 1280, {-20, 51}},
        {"top bar: below", daTop, false, 1024, 1280, {100, 72}},
        {"right-to-left: from the right end", daTop, true, 1024, 1280, {140, 72}},
        // 72 + 200 + 10 passes 250: up by the button height, the menu and 4.
        {"near the bottom: upwards", daTop, false, 250, 1280, {100, 72 - (22 + 200 + 4)}},
        {"exactly fits the bottom", daTop, false, 282, 1280, {100, 72}},
        // 100 + 120 + 52 passes 200.
        {"near the right edge", daBottom, false, 1024, 200, {200 - 120 - 52, 72}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMenuDropInput in;
        in.Align = c.Align;
        in.Button = TRect(100, 50, 140, 72);
        in.MenuWidth = 120;
        in.MenuHeight = 200;
        in.RightToLeft = c.RightToLeft;
        in.MonitorBottom = c.MonitorBottom;
        in.MonitorRight = c.MonitorRight;
        const TPoint p = MenuDropPoint(in);
        EXPECT_EQ(p.X, c.Expected.X);
        EXPECT_EQ(p.Y, c.Expected.Y);
    }
}

TEST(MenuBarNeighbour, SkipsIneligibleAndWraps) {
    // Items 1 and 3 are not eligible (hidden, disabled or not a button).
    auto eligible = [](int i) { return i != 1 && i != 3; };
    EXPECT_EQ(NeighbourIndex(5, 0, true, eligible), 2);
    EXPECT_EQ(NeighbourIndex(5, 4, true, eligible), 0);   // after the last comes the first
    EXPECT_EQ(NeighbourIndex(5, 0, false, eligible), 4);  // before the first the last
    EXPECT_EQ(NeighbourIndex(5, 2, false, eligible), 0);
    EXPECT_EQ(NeighbourIndex(5, 2, true, [](int i) { return i == 2; }), -1);  // back at the start
    EXPECT_EQ(NeighbourIndex(0, 0, true, eligible), -1);
    EXPECT_EQ(NeighbourIndex(3, -1, true, [](int) { return true; }), 0);  // no start yet
}

TEST(MenuMerge, GroupMatchTakesOverAndZeroAppends) {
    // File 0, Edit 1, Window 9, Help 10; a separator-like control in between.
    const std::vector<TMergeSlot> bar = {
        {true, true, 0}, {true, true, 1}, {false, false, 1}, {true, true, 9}, {true, true, 10}};
    // The merged menu: its own Edit (1), an Extra of group 0, a Tools (5), a second 1.
    const std::vector<int> matched = MatchMergedItems(bar, {1, 0, 5, 1});
    EXPECT_EQ(matched, (std::vector<int>{1, -1, -1, -1}));
    // Group 0 never replaces the bar's own group 0 item.
    EXPECT_EQ(MatchMergedItems(bar, {0, 0}), (std::vector<int>{-1, -1}));
    // A button not made by the toolbar is never taken over.
    EXPECT_EQ(MatchMergedItems({{true, false, 3}}, {3}), (std::vector<int>{-1}));
}

TEST(MenuMerge, OrderSortsGroupsBetweenGroupZeroButtons) {
    struct TCase {
        const char* Name;
        std::vector<TMergeSlot> Slots;
        std::vector<int> Expected;
    };
    const TCase cases[] = {
        // File 0, Window 9, Help 10, then appended Edit 1 and Tools 5.
        {"appended groups move in", {{true, true, 0}, {true, true, 9}, {true, true, 10}, {true, true, 1}, {true, true, 5}},
         {0, 3, 4, 1, 2}},
        {"already ordered stays", {{true, true, 0}, {true, true, 1}, {true, true, 2}}, {0, 1, 2}},
        // A group 0 button is a barrier: nothing crosses it.
        {"barrier", {{true, true, 4}, {true, true, 0}, {true, true, 1}}, {0, 1, 2}},
        // Buttons the merge may not move are passed over; the merged ones sort in front of them.
        {"fixed buttons", {{true, false, 0}, {false, false, 0}, {true, true, 3}, {true, true, 2}}, {3, 2, 0, 1}},
        {"equal groups keep their order", {{true, true, 0}, {true, true, 2}, {true, true, 2}}, {0, 1, 2}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(MergeOrder(c.Slots), c.Expected);
    }
}

TEST(MDIButtons, RectanglesOnEachKindOfBar) {
    TMDIButtonInput in;
    in.Width = 400;
    in.Height = 26;
    in.HasChild = true;
    TMDIButtonRects r = MDIButtonRects(in);
    EXPECT_EQ(r.Close, TRect(379, 4, 397, 22));  // (Width - 21, 4), 18 square
    EXPECT_EQ(r.Restore, TRect(360, 4, 378, 22));
    EXPECT_EQ(r.Minimize, TRect(341, 4, 359, 22));

    in.EndReduction = 14;
    EXPECT_EQ(MDIButtonRects(in).Close.Left, 365);
    in.EndReduction = 0;

    in.Height = 16;  // a thin bar keeps 2 pixels at the top
    EXPECT_EQ(MDIButtonRects(in).Close.Top, 2);

    in.Vertical = true;
    in.Width = 26;
    in.Height = 300;
    r = MDIButtonRects(in);
    EXPECT_EQ(r.Close, TRect(4, 279, 22, 297));
    EXPECT_EQ(r.Restore, TRect(4, 260, 22, 278));
    EXPECT_EQ(r.Minimize, TRect(4, 241, 22, 259));

    in.Floating = true;
    r = MDIButtonRects(in);
    EXPECT_FALSE(r.Close.IsEmpty());
    EXPECT_TRUE(r.Restore.IsEmpty());
    EXPECT_TRUE(r.Minimize.IsEmpty());

    in.HasChild = false;
    EXPECT_TRUE(MDIButtonRects(in).Close.IsEmpty());

    EXPECT_EQ(MDIButtonSize(1.5f), 27);
    EXPECT_EQ(MDIButtonSize(1.25f), 22);  // 22.5 rounds to even
}
