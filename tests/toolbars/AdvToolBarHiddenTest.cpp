// Which items a too-short toolbar hides and brings back, on plain lists of sizes.
#include "toolbars/AdvToolBarHidden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace AdvToolBar;

namespace {

// A, B, |, C, D: buttons of 23, a separator of 8, laid out from 9 (grip 7 + 2).
struct TBar {
    std::vector<THidingItem> Items;
    std::vector<int> Hidden;

    static TBar Standard() {
        TBar bar;
        for (bool separator : {false, false, true, false, false}) bar.Items.push_back({0, separator ? 8 : 23, separator});
        bar.Layout();
        return bar;
    }
    // Places the shown items one after another, as the toolbar's re-layout does.
    void Layout() {
        int x = 9;
        for (size_t i = 0; i < Items.size(); ++i) {
            Items[i].Position = x;
            const bool hidden = std::find(Hidden.begin(), Hidden.end(), int(i)) != Hidden.end();
            if (!hidden && Items[i].Visible) x += Items[i].Size;
        }
    }
    void Update(const std::vector<int>& recentlyUsed, int length) {
        UpdateHidden(Items, recentlyUsed, Hidden, {length, 14, 7});
        Layout();
    }
};

const std::vector<int> UsedDCBA{0, 1, 3, 2, 4};  // A most recent ... D least recent (| anywhere)

}  // namespace

TEST(HiddenItems, LeastRecentlyUsedGoFirstAndAWhollyHiddenGroupTakesItsSeparator) {
    // Full: far edge 109 + handle 14 = 123.
    struct TCase { const char* Tag; int Length; std::vector<int> Used; std::vector<int> Hidden; };
    const TCase cases[] = {
        {"fits", 123, UsedDCBA, {}},
        {"one pixel short hides D", 122, UsedDCBA, {4}},
        {"room for A B | C", 100, UsedDCBA, {4}},
        {"C goes too, with the separator", 99, UsedDCBA, {4, 3, 2}},
        {"A, B go last", 40, UsedDCBA, {4, 3, 2, 1, 0}},
        // Recently used D first: A is the victim, then B with the separator on its right.
        {"group at the start takes its right separator", 99, {4, 3, 2, 1, 0}, {0, 1, 2}},
        // Item order as the recently-used order (AutoArrangeButtons off): the rightmost go.
        {"item order hides from the right", 99, {0, 1, 2, 3, 4}, {4, 3, 2}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        TBar bar = TBar::Standard();
        bar.Update(c.Used, c.Length);
        EXPECT_EQ(bar.Hidden, c.Hidden);
    }
}

TEST(HiddenItems, ExactRoomBringsBackTheLastHiddenItemButNotWithoutItsSeparator) {
    TBar bar = TBar::Standard();
    bar.Update(UsedDCBA, 122);
    ASSERT_EQ(bar.Hidden, std::vector<int>({4}));
    bar.Update(UsedDCBA, 122);  // still one pixel short: nothing changes
    EXPECT_EQ(bar.Hidden, std::vector<int>({4}));
    bar.Update(UsedDCBA, 123);  // far edge 86 + 14 + 23 for D
    EXPECT_TRUE(bar.Hidden.empty());

    bar.Update(UsedDCBA, 99);
    ASSERT_EQ(bar.Hidden, std::vector<int>({4, 3, 2}));
    // C needs its separator: 55 + 14 + 23 is room for C alone, so nothing comes back.
    bar.Update(UsedDCBA, 92);
    EXPECT_EQ(bar.Hidden, std::vector<int>({4, 3, 2}));
    bar.Update(UsedDCBA, 100);  // C and | together
    EXPECT_EQ(bar.Hidden, std::vector<int>({4}));
}

TEST(HiddenItems, WithEverythingHiddenEntriesComeBackFromTheEndSeparatorsIncluded) {
    TBar bar = TBar::Standard();
    bar.Hidden = {0, 1, 2, 3, 4};
    bar.Layout();
    // 60 - 14 - 7 = 39: D (23) then C would need 23 more: only D returns.
    bar.Update(UsedDCBA, 60);
    EXPECT_EQ(bar.Hidden, std::vector<int>({0, 1, 2, 3}));

    bar.Hidden = {0, 1, 3, 4, 2};  // the separator was hidden last
    bar.Layout();
    bar.Update(UsedDCBA, 29);  // 29 - 21 = 8: the separator alone
    EXPECT_EQ(bar.Hidden, std::vector<int>({0, 1, 3, 4}));
}

TEST(HiddenItems, TheLastShownItemBehindAHiddenSeparatorIsHiddenToo) {
    TBar bar = TBar::Standard();
    bar.Hidden = {2, 4};
    bar.Layout();
    bar.Update(UsedDCBA, 200);  // room enough, but C sits behind the hidden separator first
    // C is hidden by the first rule, then the group C, D comes back with the separator.
    EXPECT_TRUE(bar.Hidden.empty());

    bar.Hidden = {2, 4};
    bar.Layout();
    bar.Update(UsedDCBA, 80);  // A B | C would end at 86 + 14 > 80
    EXPECT_EQ(bar.Hidden, std::vector<int>({2, 4, 3}));
}

TEST(HiddenItems, InvisibleItemsAreNeitherVictimsNorGroupMembers) {
    TBar bar = TBar::Standard();
    bar.Items[3].Visible = false;  // C
    bar.Layout();
    // A B | D: far edge 86 + 14; at 99 D goes, and its group (C invisible) is wholly hidden.
    bar.Update(UsedDCBA, 99);
    EXPECT_EQ(bar.Hidden, std::vector<int>({4, 2}));
}

TEST(HiddenItems, GroupSeparatorOfAHiddenItem) {
    TBar bar = TBar::Standard();
    struct TCase { const char* Tag; std::vector<int> Hidden; int Index; int Separator; };
    const TCase cases[] = {
        {"whole group, left separator", {4, 3, 2}, 3, 2},
        {"C still shown", {4, 2}, 4, -1},
        {"group at the start, right separator", {0, 1, 2}, 0, 2},
        {"separator not hidden", {4, 3}, 3, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        EXPECT_EQ(HiddenGroupSeparator(bar.Items, c.Hidden, c.Index), c.Separator);
    }
    EXPECT_EQ(HiddenGroupSeparator(bar.Items, std::vector<int>{}, 9), -1);
}

TEST(HiddenItems, RestorableHiddenIsTheLastHiddenNonSeparatorThatFits) {
    const TBar bar = TBar::Standard();
    const std::vector<int> hidden{4, 3, 2};
    EXPECT_EQ(RestorableHidden(bar.Items, hidden, 23), 3);
    EXPECT_EQ(RestorableHidden(bar.Items, hidden, 22), -1);
    EXPECT_EQ(RestorableHidden(bar.Items, hidden, -5), -1);
    EXPECT_EQ(RestorableHidden(bar.Items, std::vector<int>{2}, 100), -1);
}
