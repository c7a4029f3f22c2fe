// The pager's window-free geometry: fitting and scrolling the tab row, group margins, the
// page and caption-text rectangles, the tab look per state, the sliding underline and the
// tab hint decision.
#include "ribbon/AdvToolBarPagerLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace AdvToolBar;
using ClassLib::Rect;
using ClassLib::TRect;

namespace {

struct TTabSpec {
    int Width;
    int Group = -1;
    bool Visible = true;
};

TTabRow MakeRow(const std::vector<TTabSpec>& tabs, int groups = 0) {
    TTabRow row;
    for (const TTabSpec& spec : tabs)
        row.Tabs.push_back({spec.Visible, spec.Group, spec.Width, spec.Width, 0});
    row.Groups.resize(size_t(groups));
    row.ResetSpacing();
    row.PositionTabs(0);
    return row;
}

// Visible tabs do not overlap, stay at least the minimum wide once squeezed, and keep the
// margins inside their limits.
void CheckInvariants(const TTabRow& row) {
    int previousRight = -1000000;
    for (int i = 0; i < row.Count(); ++i) {
        const TTabSlot& tab = row.Tabs[size_t(i)];
        if (!tab.Visible) continue;
        EXPECT_GE(tab.Left, previousRight) << "tab " << i;
        previousRight = tab.Left + row.TabWidth(i);
        EXPECT_LE(tab.ClientWidth, tab.RealClientWidth) << "tab " << i;
        if (tab.ClientWidth < tab.RealClientWidth) {
            EXPECT_GE(row.TabWidth(i), MinTabWidth) << "tab " << i;
        }
    }
    EXPECT_GE(row.Current.Spacing, row.Limits.MinSpacing);
    EXPECT_LE(row.Current.Spacing, row.Limits.Spacing);
    EXPECT_GE(row.Current.LeftMargin, row.Limits.MinMargin);
    EXPECT_LE(row.Current.LeftMargin, row.Limits.LeftMargin);
}

}  // namespace

TEST(TabRowFit, SqueezesAndWidensInTheRightOrder) {
    struct TCase {
        const char* Name;
        std::vector<TTabSpec> Tabs;
        int Groups;
        int Available;
        int ExpectTotal;             // -1: not checked
        std::vector<int> ClientWidths;
        int Spacing, Margin;
    };
    const TCase cases[] = {
        // Fits: nothing changes.
        {"fits", {{40}, {40}}, 0, 200, 40 + 8 + 4 + 40 + 8, {40, 40}, 4, 4},
        // One pixel over: spacing goes first.
        {"spacing first", {{40}, {40}}, 0, 99, 99, {40, 40}, 3, 4},
        // Spacing at its minimum, then the margins one side at a time.
        {"margins next", {{40}, {40}}, 0, 97, 97, {40, 40}, 3, 3},
        // A single long caption: everything to the minima, then the tab in steps, not below 24.
        {"single long tab", {{300}}, 0, 100, 100, {94}, 3, 3},
        {"never below 24", {{300}}, 0, 10, 24, {18}, 3, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTabRow row = MakeRow(c.Tabs, c.Groups);
        row.Fit(c.Available);
        CheckInvariants(row);
        if (c.ExpectTotal >= 0) {
            EXPECT_EQ(row.TotalWidth(), c.ExpectTotal);
        }
        for (size_t i = 0; i < c.ClientWidths.size(); ++i) EXPECT_EQ(row.Tabs[i].ClientWidth, c.ClientWidths[i]);
        EXPECT_EQ(row.Current.Spacing, c.Spacing);
        EXPECT_EQ(row.Current.LeftMargin, c.Margin);
    }
}

TEST(TabRowFit, TabWidthsShrinkInStepsOfAtMostFiveWidestFirst) {
    TTabRow row = MakeRow({{100}, {60}, {30}});
    row.Fit(150);
    CheckInvariants(row);
    EXPECT_LE(row.TotalWidth(), 150);
    // The widest lost most; the narrowest was never the widest.
    EXPECT_EQ(row.Tabs[2].ClientWidth, 30);
    EXPECT_LT(row.Tabs[0].ClientWidth, 100);
    // Each tab starts where the previous one ends plus the spacing.
    EXPECT_EQ(row.Tabs[1].Left, row.Tabs[0].Left + row.TabWidth(0) + row.Current.Spacing);
}

TEST(TabRowFit, OnlyGroupTabsWideLeavesFivePixelsOfOverflow) {
    // Plain tabs already at the minimum width, two wide group tabs.
    TTabRow row = MakeRow({{18}, {80, 0}, {80, 0}}, 1);
    const int available = 150;
    row.Fit(available);
    EXPECT_EQ(row.TotalWidth(), available + 5);
    EXPECT_EQ(row.Tabs[0].ClientWidth, 18);
    EXPECT_LT(row.Tabs[1].ClientWidth + row.Tabs[2].ClientWidth, 160);
}

TEST(TabRowFit, WideningGivesGroupTabsBackFirstNarrowestFirst) {
    TTabRow row = MakeRow({{60}, {50, 0}, {70, 0}}, 1);
    row.Tabs[0].ClientWidth = 40;   // squeezed by 20
    row.Tabs[1].ClientWidth = 30;   // squeezed by 20, narrowest group tab
    row.Tabs[2].ClientWidth = 60;   // squeezed by 10
    row.ArrangeAllTabs();
    // Five pixels of room, and the group tabs' squeeze lends five more: two steps, both to
    // the narrowest group tab.
    row.Fit(row.TotalWidth() + 5);
    EXPECT_EQ(row.Tabs[1].ClientWidth, 40);
    EXPECT_EQ(row.Tabs[2].ClientWidth, 60);
    EXPECT_EQ(row.Tabs[0].ClientWidth, 40);
    CheckInvariants(row);
}

TEST(TabRowFit, ExactFitWithSqueezedGroupTabsTakesUpToFiveMore) {
    TTabRow row = MakeRow({{40}, {50, 0}}, 1);
    row.Tabs[1].ClientWidth = 42;   // 8 squeezed
    row.ArrangeAllTabs();
    row.Fit(row.TotalWidth());
    // Five pixels more room, then the squeeze lends up to five again: all 8 come back.
    EXPECT_EQ(row.Tabs[1].ClientWidth, 50);
}

TEST(TabRowFit, WideningRestoresSpacingAndMarginsAfterWidths) {
    TTabRow row = MakeRow({{60}, {60}, {60}});
    row.Fit(150);
    ASSERT_TRUE(row.AnySqueezed());
    row.Fit(1000);
    EXPECT_FALSE(row.AnySqueezed());
    EXPECT_EQ(row.Current.Spacing, 4);
    EXPECT_EQ(row.Current.LeftMargin, 4);
    EXPECT_EQ(row.Current.RightMargin, 4);
    EXPECT_EQ(row.TotalWidth(), 3 * 68 + 2 * 4);
}

TEST(TabRowFit, RandomSqueezeAndWidenKeepsTheRowSound) {
    unsigned seed = 12345;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 200; ++round) {
        std::vector<TTabSpec> specs;
        const int n = 1 + int(next() % 8);
        for (int i = 0; i < n; ++i) specs.push_back({10 + int(next() % 120), next() % 3 == 0 ? 0 : -1, next() % 5 != 0});
        TTabRow row = MakeRow(specs, 1);
        row.Groups[0].ExtraXMargin = row.Groups[0].CurrentExtraXMargin = int(next() % 4);
        for (int step = 0; step < 4; ++step) {
            row.Fit(40 + int(next() % 600));
            CheckInvariants(row);
        }
    }
}

TEST(TabGroupMargin, DeficitIsSharedOutEvenly) {
    struct TCase { int GroupWidth, CaptionWidth, Tabs, Expect; };
    const TCase cases[] = {
        {100, 84, 2, 2},   // caption 10 wider than tabs + 26: d = 10, 10 div 2 = 5, 5 div 2 = 2
        {100, 83, 2, 2},   // d = 9 rounds up to 10
        {100, 40, 2, 0},   // room enough
        {50, 100, 3, 12},  // d = 76: 76 div 3 = 25, 25 div 2 = 12
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.CaptionWidth);
        EXPECT_EQ(GroupExtraMargin(c.GroupWidth, c.CaptionWidth, c.Tabs), c.Expect);
    }
}

TEST(TabRowFit, GroupTabsAreWiderByTheirMargins) {
    TTabRow row = MakeRow({{40}, {40, 0}}, 1);
    row.Groups[0].CurrentExtraXMargin = 2;
    EXPECT_EQ(row.TabWidth(0), 48);
    EXPECT_EQ(row.TabWidth(1), 52);
    row.Tabs[0].Visible = false;
    EXPECT_EQ(row.TotalWidth(), 52);  // the last page's tab takes no spacing after it
}

TEST(TabRowScroll, CountsScreensAndScrollsBothWays) {
    // Ten tabs of 50 (58 with margins) in a row of 200: three fit per screen.
    std::vector<TTabSpec> specs(10, TTabSpec{50});
    TTabRow row = MakeRow(specs);
    row.ResetScroll(0, 200);
    EXPECT_EQ(row.Scroll.Max, 3);
    EXPECT_FALSE(row.Scroll.CanGoBack());

    int repaints = 0;
    EXPECT_EQ(row.ScrollTabs(1, 0, 200, [&] { ++repaints; }), 1);
    EXPECT_EQ(row.Scroll.StartTabIndex, 3);
    EXPECT_EQ(row.Tabs[3].Left, 0);
    EXPECT_GT(repaints, 0);
    EXPECT_EQ(row.ScrollTabs(-1, 0, 200), -1);
    EXPECT_EQ(row.Scroll.StartTabIndex, 0);
    EXPECT_EQ(row.Tabs[0].Left, 0);
    EXPECT_EQ(row.ScrollTabs(-1, 0, 200), 0);  // cannot go back further
}

TEST(TabRowScroll, BackFromStartFiveWithThreeFittingShowsTabOne) {
    std::vector<TTabSpec> specs(8, TTabSpec{50});
    TTabRow row = MakeRow(specs);
    row.ResetScroll(0, 200);
    row.ScrollToTab(5, 0, 200);
    ASSERT_EQ(row.Scroll.StartTabIndex, 5);
    row.Scroll.Position = 2;
    // From index 4 walking down, tabs 4, 3 and 2 fit: tab 1 becomes the first shown.
    row.ScrollTabs(-1, 0, 200);
    EXPECT_EQ(row.Scroll.StartTabIndex, 1);
    EXPECT_EQ(row.Tabs[1].Left, 0);
}

TEST(TabRowScroll, StaleLeftPositionsCannotLoop) {
    std::vector<TTabSpec> specs(6, TTabSpec{50});
    TTabRow row = MakeRow(specs);
    row.ResetScroll(0, 200);
    for (TTabSlot& tab : row.Tabs) tab.Left = -5000;  // nonsense left from an earlier layout
    row.ScrollToTab(4, 0, 200);                         // must return
    EXPECT_EQ(row.Scroll.StartTabIndex, 3);             // starting at 3 fits one tab more
}

TEST(TabGroupSpan, CoversVisibleTabsOfTheRangeOnly) {
    TTabRow row = MakeRow({{40}, {40, 0}, {40, 0}, {40}});
    struct TCase { const char* Name; int Start, End; bool Found; int Left, Right; };
    const TCase cases[] = {
        {"two tabs", 1, 2, true, 52, 52 + 48 + 4 + 48},
        {"end = page count", 1, 4, false, 0, 0},
        {"end before start", 2, 1, false, 0, 0},
        {"negative start", -1, 1, false, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        int left = -1, right = -1;
        EXPECT_EQ(row.GroupSpan(c.Start, c.End, left, right), c.Found);
        if (c.Found) {
            EXPECT_EQ(left, c.Left);
            EXPECT_EQ(right, c.Right);
        }
    }
    row.Tabs[1].Visible = row.Tabs[2].Visible = false;
    int left = -1, right = -1;
    EXPECT_FALSE(row.GroupSpan(1, 2, left, right));  // all its tabs hidden
}

TEST(PagerRects, PageRectangle) {
    struct TCase { const char* Name; TPageRectInput In; TRect Expect; };
    const TRect client = Rect(0, 0, 800, 149);
    const TCase cases[] = {
        {"caption", {client}, Rect(4, 52, 796, 144)},
        {"no caption", {client, false}, Rect(4, 26, 796, 144)},
        {"margin 10", {client, true, 26, 0, 26, 4, 10, 10}, Rect(14, 52, 786, 144)},
        {"tones", {client, true, 26, 0, 26, 0, 0, 0, false, true}, Rect(-1, 52, 801, 149)},
        {"qat below", {client, true, 26, 32, 26}, Rect(4, 52, 796, 112)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PageRect(c.In), c.Expect);
    }
}

TEST(PagerRects, CaptionTextRectangle) {
    struct TCase { const char* Name; TCaptionTextInput In; TRect Expect; int Alignment; };
    const TRect caption = Rect(0, 0, 800, 26);
    const TCase cases[] = {
        {"indent, centred", {caption, 100, 0, false, false, 0, 0, 0, -1, 200}, Rect(300, 0, 800, 26), 0},
        {"indent wins over centre", {caption, 100, 0, false, false, 0, 0, 0, -1, 700}, Rect(100, 0, 800, 26), 0},
        {"caption only", {caption, 100, 40, true, false, 0, 0, 0, 300, 200}, Rect(5, 0, 800, 26), 0},
        {"group headers", {caption, 100, 40, false, false, 0, 0, 0, 420, 200}, Rect(420, 0, 760, 26), 2},
        {"qat in caption", {caption, 100, 0, false, true, 10, 120, 8, -1, 900}, Rect(138, 0, 800, 26), 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        int alignment = -1;
        EXPECT_EQ(CaptionTextRect(c.In, alignment), c.Expect);
        EXPECT_EQ(alignment, c.Alignment);
    }
}

TEST(TabLooks, StateChoosesTheLook) {
    struct TCase { const char* Name; TTabStateInput In; TTabLookKind Kind; bool Face, Bold, FocusHot; };
    TTabStateInput active;
    active.Active = true;
    TTabStateInput hot;
    hot.Hot = true;
    TTabStateInput normal;
    TTabStateInput normalShown;
    normalShown.ShowNonSelectedTabs = true;
    TTabStateInput disabledShown = normalShown;
    disabledShown.TabEnabled = false;
    TTabStateInput disabled;
    disabled.TabEnabled = false;
    TTabStateInput focused = active;
    focused.Focused = true;
    TTabStateInput focused2019 = focused;
    focused2019.Office2019 = true;
    TTabStateInput collapsed = active;
    collapsed.Expanded = false;
    TTabStateInput fadingOut = normal;
    fadingOut.Fading = true;
    TTabStateInput hot2019 = hot;
    hot2019.Office2019 = true;
    const TCase cases[] = {
        {"selected", active, TTabLookKind::Selected, true, false, false},
        {"hot", hot, TTabLookKind::Hot, true, false, false},
        {"hot 2019 bold", hot2019, TTabLookKind::Hot, true, true, false},
        {"normal without faces", normal, TTabLookKind::NoFace, false, false, false},
        {"normal with faces", normalShown, TTabLookKind::Normal, true, false, false},
        {"disabled with faces", disabledShown, TTabLookKind::Disabled, true, false, false},
        {"disabled without faces", disabled, TTabLookKind::NoFace, false, false, false},
        {"focus", focused, TTabLookKind::Selected, true, false, true},
        {"focus 2019", focused2019, TTabLookKind::Selected, true, true, false},
        {"collapsed active", collapsed, TTabLookKind::NoFace, false, false, false},
        {"fading out", fadingOut, TTabLookKind::NoFace, true, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TTabLook look = ChooseTabLook(c.In);
        EXPECT_EQ(look.Kind, c.Kind);
        EXPECT_EQ(look.DrawFace, c.Face);
        EXPECT_EQ(look.Bold, c.Bold);
        EXPECT_EQ(look.FocusHot, c.FocusHot);
    }
}

TEST(TabLine, SlidesInFiveStepsAndSnaps) {
    TTabLine line;
    line.CurStart = 10;
    line.CurEnd = 50;
    line.Begin(110, 170);
    int ticks = 0;
    while (line.Step()) ASSERT_LT(++ticks, 10);
    EXPECT_EQ(ticks + 1, 5);
    EXPECT_EQ(line.CurStart, 110);
    EXPECT_EQ(line.CurEnd, 170);
    EXPECT_FALSE(line.Animating);

    // Within one pixel of the target the value takes it exactly.
    line.Begin(111, 170);
    EXPECT_FALSE(line.Step());
    EXPECT_EQ(line.CurStart, 111);
}

TEST(TabHint, DecidesWhatTheHintShows) {
    struct TCase { const char* Name; TTabHintInput In; TTabHintChoice Expect; };
    const TCase cases[] = {
        {"off", {false, 1, true, 50, 4, 4, 80}, TTabHintChoice::None},
        {"no tab", {true, -1, true, 50, 4, 4, 80}, TTabHintChoice::Usual},
        {"own hint", {true, 1, true, 50, 4, 4, 80}, TTabHintChoice::TabHint},
        {"caption cut", {true, 1, false, 50, 4, 4, 80}, TTabHintChoice::Caption},
        {"caption fits", {true, 1, false, 90, 4, 4, 80}, TTabHintChoice::Usual},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ChooseTabHint(c.In), c.Expect);
    }
}
