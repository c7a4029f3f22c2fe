// A ribbon group's keyboard without windows: key-tip characters, matching typed keys
// against the buttons' tips, button rows and where each row's tips go, and the arrow keys'
// way between the groups of a page.
#include "toolbars/AdvToolBarKeyTips.h"

#include <gtest/gtest.h>

using namespace AdvToolBar;

TEST(GroupKeyTipChars, DigitsLettersAndNumPadTypeOtherKeysEndTheMode) {
    struct TCase { unsigned Key; bool Types; wchar_t Char; };
    const TCase cases[] = {
        {'0', true, L'0'}, {'9', true, L'9'}, {'A', true, L'A'}, {'Z', true, L'Z'},
        {0x61, true, L'1'}, {0x65, true, L'5'}, {0x69, true, L'9'},  // numeric pad 1, 5, 9
        {0x60, false, 0},   // numeric pad 0 is not among the pad digits that type
        {0x6A, false, 0},   // numeric pad "*": operators and F1..F11 type nothing
        {0x70, false, 0}, {0x7A, false, 0},  // F1, F11
        {0x1B, false, 0}, {0x25, false, 0}, {0x10, false, 0},  // Escape, Left, Shift
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        wchar_t typed = 0;
        EXPECT_EQ(KeyTipChar(c.Key, typed), c.Types);
        if (c.Types) {
            EXPECT_EQ(typed, c.Char);
        }
    }
}

TEST(GroupKeyTipMatch, StopsAtThePressedButtonAfterCountingAndHiding) {
    // AB, B, A typed "A": AB is a prefix, B cannot match any more, A is pressed; C after it
    // is not looked at.
    const std::vector<TKeyTipButton> buttons{{L"AB"}, {L"B"}, {L"A"}, {L"C"}};
    const TKeyTipMatch match = MatchKeyTips(buttons, L"A");
    EXPECT_EQ(match.Pressed, 2);
    EXPECT_EQ(match.Partial, 1);
    EXPECT_EQ(match.Hidden, std::vector<int>{1});
}

TEST(GroupKeyTipMatch, TableOfCases) {
    struct TCase { const char* Name; std::vector<TKeyTipButton> Buttons; const wchar_t* Keys; int Pressed; int Partial; std::vector<int> Hidden; };
    const TCase cases[] = {
        {"case-insensitive", {{L"fp"}}, L"FP", 0, 0, {}},
        {"disabled exact match is not pressed", {{L"A", true, false}, {L"A"}}, L"A", 1, 0, {}},
        {"hidden exact match is not pressed", {{L"A", false, true}}, L"A", -1, 0, {}},
        {"prefix of two", {{L"H1"}, {L"H2"}}, L"H", -1, 2, {}},
        {"nothing matches", {{L"H1"}, {L"H2"}}, L"X", -1, 0, {0, 1}},
        {"a button without a tip keeps nothing going", {{L""}, {L"Q"}}, L"X", -1, 0, {1}},
        {"second key", {{L"FA"}, {L"FB"}, {L"G"}}, L"FB", 1, 0, {0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TKeyTipMatch match = MatchKeyTips(c.Buttons, c.Keys);
        EXPECT_EQ(match.Pressed, c.Pressed);
        EXPECT_EQ(match.Partial, c.Partial);
        EXPECT_EQ(match.Hidden, c.Hidden);
    }
}

TEST(GroupButtonRows, MeasuredFromTopsWithinFourPixels) {
    struct TCase { const char* Name; std::vector<int> Tops; TButtonRows Rows; };
    const TCase cases[] = {
        {"none", {}, {-100, -100, -100}},
        {"one large", {3}, {3, -100, -100}},
        {"two rows, near tops join", {3, 26, 4, 30, 7}, {3, 26, -100}},
        {"three rows", {3, 26, 49, 3}, {3, 26, 49}},
        {"a fourth row is ignored", {3, 26, 49, 72}, {3, 26, 49}},
        {"negative tops (parked items) ignored", {-50, 3}, {3, -100, -100}},
        {"out of order: one swap pass each", {26, 3}, {3, 26, -100}},
        {"three out of order", {49, 26, 3}, {26, 3, 49}},  // only the Part's two single swaps
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(MeasureButtonRows(c.Tops), c.Rows);
    }
}

TEST(GroupButtonRows, TipPlaceByRow) {
    // A group 92 high with a 16 pixel caption: buttons of 61 or more are large.
    struct TCase { const char* Name; int Top; int Height; TButtonRows Rows; TRowTipPlace Place; };
    const TCase cases[] = {
        {"large", 3, 71, {3, -100, -100}, TRowTipPlace::Bottom},
        {"row 1 of two", 3, 22, {3, 26, -100}, TRowTipPlace::AboveTopLeft},
        {"row 2 of two (top 27)", 27, 22, {3, 26, -100}, TRowTipPlace::BelowBottomLeft},
        {"row 1 of three", 3, 22, {3, 26, 49}, TRowTipPlace::TopLeft},
        {"row 2 of three", 26, 22, {3, 26, 49}, TRowTipPlace::Left},
        {"row 3 of three", 49, 22, {3, 26, 49}, TRowTipPlace::BottomLeft},
        {"rows unknown", 3, 22, {-100, -100, -100}, TRowTipPlace::BottomLeft},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ChooseRowTipPlace(c.Top, c.Height, 92, 16, c.Rows), c.Place);
    }
}

TEST(GroupArrows, MoveWithinAGroupAndWrapAcrossGroups) {
    using K = TArrowTarget;
    struct TCase { const char* Name; bool Right; int Position; int Count; int ToolBar; int ToolBars; K::TKind Kind; int Index; };
    const TCase cases[] = {
        {"right inside", true, 0, 3, 0, 2, K::Item, 1},
        {"left inside", false, 2, 3, 0, 2, K::Item, 1},
        {"right off the end: next group's first", true, 2, 3, 0, 2, K::FirstOf, 1},
        {"right off the last group: first group's first", true, 2, 3, 1, 2, K::FirstOf, 0},
        {"left off the first group: last group's last", false, 0, 3, 0, 3, K::LastOf, 2},
        {"left off a middle group", false, 0, 3, 1, 3, K::LastOf, 0},
        {"not on a page: nothing at the end", true, 2, 3, -1, 0, K::None, -1},
        {"sender not among the stops", true, -1, 3, 0, 2, K::None, -1},
        {"single button, single group wraps onto itself", true, 0, 1, 0, 1, K::FirstOf, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TArrowTarget target = ArrowTarget(c.Right, c.Position, c.Count, c.ToolBar, c.ToolBars);
        EXPECT_EQ(target.Kind, c.Kind);
        EXPECT_EQ(target.Index, c.Index);
    }
}
