#include "editor/AdvMemoFind.h"

#include "classlib/Strings.h"
#include "editor/AdvMemo.h"

#include "HangBound.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace AdvMemo;
using ClassLib::TFindOptions;

namespace {

struct TSel { int SX, SY, EX, EY; };

bool operator==(const TSel& a, const TSel& b) {
    return a.SX == b.SX && a.SY == b.SY && a.EX == b.EX && a.EY == b.EY;
}
void PrintTo(const TSel& s, std::ostream* os) { *os << "(" << s.SX << "," << s.SY << ")-(" << s.EX << "," << s.EY << ")"; }

TSel SelOf(const TAdvCustomMemo& memo) { return {memo.SelStartX(), memo.SelStartY(), memo.SelEndX(), memo.SelEndY()}; }

void Prepare(TAdvCustomMemo& memo, const std::wstring& text, int curX, int curY) {
    memo.Lines()->SetText(text);
    memo.SetCursor(curX, curY);
    memo.ClearSelection();  // the selection collapses onto the caret, as after a click
}

constexpr TSel kZero{0, 0, 0, 0};

}  // namespace

// ---------------------------------------------------------------- matching within a line

TEST(AdvMemoFindLine, WholeWordNeighboursAndDirections) {
    struct TCase { const wchar_t* Line; const wchar_t* Key; bool Down; int Expected; };
    const TCase cases[] = {
        {L"xab ab", L"ab", true, 4},   // a rejected occurrence moves on to the next one
        {L"xab ab", L"ab", false, 4},
        {L"ab abx", L"ab", false, 0},  // upward too
        {L"_ab ab", L"ab", true, 4},   // "_" is a word character
        {L"\u00e9ab ab", L"ab", true, 4},  // so is "é"
        {L"\u00c4ab", L"ab", true, 1},     // "Ä" is not: only ASCII is lower-cased for the test
        {L"-ab", L"ab", true, 1},
        {L"Xab", L"ab", true, -1},         // "X" counts as "x"
        {L"abab", L"ab", true, -1},
        {L"aaa", L"aa", false, -1},        // neither occurrence is a whole word
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)) + (c.Down ? " down" : " up"));
        const std::wstring line = c.Line;
        const std::wstring neighbours = ClassLib::LowerCase(line);
        EXPECT_EQ(MatchInLine({line, neighbours}, c.Key, 0, 1000, c.Down, true), c.Expected);
    }
    const std::wstring line = L"aaa";
    EXPECT_EQ(MatchInLine({line, line}, L"aa", 0, 3, false, false), 1);  // upward: the rightmost start
    EXPECT_EQ(MatchInLine({line, line}, L"aa", 0, 2, false, false), 0);  // wholly before the limit
    EXPECT_EQ(MatchInLine({line, line}, L"aa", 2, 3, true, false), -1);
}

// ---------------------------------------------------------------- find, both families

TEST(AdvMemoFind, PlatformOptionsTable) {
    struct TCase {
        const char* Name; std::wstring Text; int CurX, CurY; TFindOptions Options; std::wstring Search;
        int Result; TSel Sel;
    };
    const TCase cases[] = {
        {"whole word skips xab", L"xab ab", 0, 0, {ClassLib::frDown, ClassLib::frWholeWord}, L"ab", 4, {4, 0, 6, 0}},
        {"upward whole word", L"ab abx", 6, 0, {ClassLib::frWholeWord}, L"ab", 0, {0, 0, 2, 0}},
        {"case ignored", L"ab Ab", 0, 0, {ClassLib::frDown}, L"AB", 0, {0, 0, 2, 0}},
        {"case matched", L"ab Ab", 0, 0, {ClassLib::frDown, ClassLib::frMatchCase}, L"Ab", 3, {3, 0, 5, 0}},
        {"upward before the caret", L"ab ab ab", 5, 0, {}, L"ab", 3, {3, 0, 5, 0}},
        {"next lines, linear result", L"x\r\nyy ab", 1, 0, {ClassLib::frDown}, L"ab", 6, {3, 1, 5, 1}},
        {"upward to earlier lines", L"ab\r\nxx", 1, 1, {}, L"ab", 0, {0, 0, 2, 0}},
        {"a miss clears the selection", L"ab\r\ncd", 1, 1, {ClassLib::frDown}, L"ab", -1, kZero},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvMemo memo;
        Prepare(memo, c.Text, c.CurX, c.CurY);
        EXPECT_EQ(memo.FindText(c.Search, c.Options), c.Result);
        EXPECT_EQ(SelOf(memo), c.Sel);
        if (c.Result >= 0) {
            EXPECT_EQ(memo.Selection().size(), c.Search.size());
        }
    }
}

TEST(AdvMemoFind, MemoOptionsTable) {
    struct TCase {
        const char* Name; std::wstring Text; int CurX, CurY; TFindOptionsEx Options; std::wstring Search;
        int Result; TSel Sel;
    };
    const TCase cases[] = {
        {"whole word skips xab", L"xab ab", 0, 0, {freDown, freWholeWord}, L"ab", 4, {4, 0, 6, 0}},
        {"upward whole word", L"ab abx", 6, 0, {freWholeWord}, L"ab", 0, {0, 0, 2, 0}},
        {"expression: first matching token", L"12 25 30", 0, 0, {freDown, freExpression}, L">20", 3, {3, 0, 5, 0}},
        {"expression: wildcard takes the token's length", L"ab abbc", 0, 0, {freDown, freExpression}, L"a*c", 3,
         {3, 0, 7, 0}},
        {"case matched", L"ab Ab", 0, 0, {freDown, freMatchCase}, L"Ab", 3, {3, 0, 5, 0}},
        {"next line", L"x\r\nab", 0, 0, {freDown}, L"ab", 3, {0, 1, 2, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvMemo memo;
        Prepare(memo, c.Text, c.CurX, c.CurY);
        EXPECT_EQ(memo.FindText(c.Search, c.Options), c.Result);
        EXPECT_EQ(SelOf(memo), c.Sel);
    }
}

TEST(AdvMemoFind, EmptyTextAndMissesLeaveOrClearTheSelection) {
    TAdvMemo memo;
    Prepare(memo, L"abc\r\nabc", 0, 1);
    memo.SetSelStartX(1);
    memo.SetSelEndX(2);
    EXPECT_EQ(memo.FindText(L"", TFindOptions{ClassLib::frDown}), -1);
    EXPECT_EQ(memo.FindText(L"", TFindOptionsEx{freDown}), -1);
    EXPECT_EQ(SelOf(memo), (TSel{1, 1, 2, 1}));
    EXPECT_EQ(memo.FindText(L"zz", TFindOptionsEx{freDown}), -1);
    EXPECT_EQ(SelOf(memo), (TSel{2, 1, 2, 1}));  // kept (a repeated find starts after it)
    EXPECT_EQ(memo.FindText(L"zz", TFindOptions{ClassLib::frDown}), -1);
    EXPECT_EQ(SelOf(memo), kZero);
}

TEST(AdvMemoFind, RepeatedFindsWalkThroughTheMatches) {
    TAdvMemo memo;
    Prepare(memo, L"ab ab\r\nab", 0, 0);
    std::vector<int> platform, own;
    for (int i = 0; i < 4; ++i) platform.push_back(memo.FindText(L"ab", TFindOptions{ClassLib::frDown}));
    Prepare(memo, L"ab ab\r\nab", 0, 0);
    for (int i = 0; i < 4; ++i) own.push_back(memo.FindText(L"ab", TFindOptionsEx{freDown}));
    EXPECT_EQ(platform, (std::vector<int>{0, 3, 7, -1}));
    EXPECT_EQ(own, (std::vector<int>{0, 3, 7, -1}));
}

TEST(AdvMemoFind, CountingInBothFamilies) {
    TAdvMemo memo;
    std::vector<std::pair<int, int>> found;
    Prepare(memo, L"aa aa\r\nx\r\naa", 0, 0);
    EXPECT_EQ(memo.FindTextCount(L"aa", TFindOptionsEx{freDown}), -1);  // no handler: nothing counted
    memo.OnTextFound = [&](ClassLib::TObject*, int x, int y) { found.emplace_back(x, y); };
    EXPECT_EQ(memo.FindTextCount(L"aa", TFindOptions{ClassLib::frDown}), 3);
    EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{1, 1}, {4, 1}, {1, 3}}));
    EXPECT_EQ(memo.CurY(), 2);  // the caret stays on the last match
    EXPECT_EQ(SelOf(memo), kZero);

    found.clear();
    Prepare(memo, L"aa aa\r\nx\r\naa", 0, 0);
    EXPECT_EQ(memo.FindTextCount(L"aa", TFindOptionsEx{freDown}), 2);  // one per line
    EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{1, 1}, {1, 3}}));
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 0);

    Prepare(memo, L"aa aa\r\nx\r\naa", 2, 2);
    EXPECT_EQ(memo.FindTextCount(L"aa", TFindOptions{}), 3);  // upward from the caret
    EXPECT_EQ(memo.FindTextCount(L"", TFindOptions{}), -1);
}

// A line of 65,538 characters with 21,846 matches: every match used to lower-case the whole
// line again, so counting and replacing took minutes.
TEST(AdvMemoFind, CountAndReplaceOnOneLongLineCaseItOnce) {
    constexpr int Matches = 21846;
    std::wstring line;
    for (int i = 0; i < Matches; ++i) line += L"aBc";
    for (const bool ex : {false, true}) {
        SCOPED_TRACE(ex ? "memo options" : "platform options");
        TAdvMemo memo;
        Prepare(memo, line, 0, 0);
        int counted = 0;
        memo.OnTextFound = [&](ClassLib::TObject*, int, int) { ++counted; };
        if (!ex) {
            EditorTests::ExpectNoHang([&] { EXPECT_EQ(memo.FindTextCount(L"b", TFindOptions{ClassLib::frDown}), Matches); });
            EXPECT_EQ(counted, Matches);
        }
        memo.SetCursor(0, 0);
        int replaced = 0;
        EditorTests::ExpectNoHang([&] {
            replaced = ex ? memo.FindAndReplace(L"b", L"xY", TFindOptionsEx{freDown})
                          : memo.FindAndReplace(L"b", L"xY", TFindOptions{ClassLib::frDown});
        });
        EXPECT_EQ(replaced, Matches);
        std::wstring expected;
        for (int i = 0; i < Matches; ++i) expected += L"axYc";
        EXPECT_EQ(memo.Lines()->Text(), expected);
    }
}

// An expression search tests each token against the pattern; "*q*z" against one token of
// 200,000 characters copied the rest of the token for every pair of positions.
TEST(AdvMemoFind, AStarPatternAgainstALongTokenStaysLinear) {
    TAdvMemo memo;
    Prepare(memo, L"x " + std::wstring(200000, L'q') + L"z y", 0, 0);
    int found = -1;
    EditorTests::ExpectNoHang([&] { found = memo.FindText(L"*q*z", TFindOptionsEx{freDown, freExpression}); });
    EXPECT_EQ(found, 2);
    EXPECT_EQ(memo.SelEndX(), 200003);
    memo.SetCursor(0, 0);
    EditorTests::ExpectNoHang([&] { found = memo.FindText(L"*q*qy", TFindOptionsEx{freDown, freExpression}); });
    EXPECT_EQ(found, -1);
}

TEST(AdvMemoFind, FindTextPosLeavesCaretAndSelection) {
    TAdvMemo memo;
    Prepare(memo, L"xab ab  \r\nq ab", 0, 0);
    EXPECT_EQ(memo.FindTextPos(L"ab", TFindOptions{ClassLib::frDown}), 1);
    EXPECT_EQ(memo.FindTextPos(L"ab", TFindOptions{ClassLib::frDown, ClassLib::frWholeWord}), 4);
    EXPECT_EQ(memo.FindTextPos(L"AB", TFindOptions{ClassLib::frDown, ClassLib::frMatchCase}), -1);
    memo.SetCursor(0, 1);
    memo.ClearSelection();
    EXPECT_EQ(memo.FindTextPos(L"ab", TFindOptions{ClassLib::frDown}), 12);
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_EQ(memo.FindTextPos(L"", TFindOptions{ClassLib::frDown}), -1);
}

// ---------------------------------------------------------------- replace

TEST(AdvMemoReplace, ReplacesEndAndCount) {
    struct TCase {
        const char* Name; std::wstring Text; int CurX, CurY; std::wstring Search, NewStr; bool Ex;
        TFindOptions Options; TFindOptionsEx OptionsEx; int Count; std::wstring After;
    };
    const TCase cases[] = {
        {"down, new text holds the search", L"a b a\r\na", 0, 0, L"a", L"xa", false, {ClassLib::frDown}, {}, 3,
         L"xa b xa\r\nxa"},
        {"upward a to ba ends", L"a a", 3, 0, L"a", L"ba", false, {}, {}, 2, L"ba ba"},
        {"deleting neighbours", L"aaaa", 0, 0, L"aa", L"", false, {ClassLib::frDown}, {}, 2, L""},
        {"memo options upward a to ba ends", L"a a\r\na", 1, 1, L"a", L"ba", true, {}, {}, 3, L"ba ba\r\nba"},
        {"memo options down from the caret only", L"a1\r\na2\r\na3", 0, 1, L"a", L"aa", true, {}, {freDown}, 2,
         L"a1\r\naa2\r\naa3"},
        {"wrap stops before the first replacement", L"a1\r\na2\r\na3", 0, 1, L"a", L"aa", true, {},
         {freDown, freWrapAtEnd}, 3, L"aa1\r\naa2\r\naa3"},
        {"wrap within the caret's line", L"a a a", 2, 0, L"a", L"aa", true, {}, {freDown, freReplaceAll}, 3,
         L"aa aa aa"},
        {"whole words only", L"ab xab ab", 0, 0, L"ab", L"c", true, {}, {freDown, freWholeWord}, 2, L"c xab c"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvMemo memo;
        Prepare(memo, c.Text, c.CurX, c.CurY);
        const int count = c.Ex ? memo.FindAndReplace(c.Search, c.NewStr, c.OptionsEx)
                               : memo.FindAndReplace(c.Search, c.NewStr, c.Options);
        EXPECT_EQ(count, c.Count);
        EXPECT_EQ(memo.Lines()->Text(), c.After);
    }
}

TEST(AdvMemoReplace, InSelectionAndTheLastReplacementSelected) {
    TAdvMemo memo;
    Prepare(memo, L"a a a a", 0, 0);
    memo.SetSelStartX(5);  // backwards: the corners are put in order first
    memo.SetSelEndX(2);
    EXPECT_EQ(memo.FindAndReplace(L"a", L"bb", TFindOptionsEx{freSelection}), 2);
    EXPECT_EQ(memo.Lines()->Text(), L"a bb bb a");
    EXPECT_EQ(memo.Selection(), L"bb");
    EXPECT_EQ(SelOf(memo), (TSel{5, 0, 7, 0}));
    memo.SetReadOnly(true);
    EXPECT_EQ(memo.FindAndReplace(L"a", L"b", TFindOptionsEx{freDown}), 0);
    EXPECT_EQ(memo.FindAndReplace(L"", L"b", TFindOptions{ClassLib::frDown}), 0);
}

TEST(AdvMemoReplace, UndoRestoresTheText) {
    TAdvMemo memo;
    Prepare(memo, L"one two one", 0, 0);
    EXPECT_EQ(memo.FindAndReplace(L"one", L"1", TFindOptions{ClassLib::frDown}), 2);
    EXPECT_EQ(memo.Lines()->Text(), L"1 two 1");
    while (memo.CanUndo()) memo.Undo();
    EXPECT_EQ(memo.Lines()->Text(), L"one two one");
}

// A replace-all is one step however many replacements it makes: with a step per replacement
// the undo limit kept only the last fifty, and the text from before the replace was lost.
// Undo gives the text back in one step, redo repeats the whole replace, and the step before
// the replace-all is still there.
TEST(AdvMemoReplace, OneReplaceAllIsOneUndoStep) {
    std::wstring base;
    for (int i = 0; i < 100; ++i) base += (i ? L"\r\na-a-a " : L"a-a-a ") + std::to_wstring(i);
    const std::wstring original = L"typed\r\n" + base;
    const struct {
        const char* Name;
        bool Ex;
        const wchar_t* NewStr;
    } cases[] = {
        {"platform options", false, L"bb"},
        {"memo options", true, L"bb"},
        {"a break in the new text", true, L"b\r\nb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvMemo memo;
        Prepare(memo, base, 0, 0);
        memo.InsertText(L"typed\r\n");  // a step before the replace-all
        memo.SetCursor(0, 0);
        const int count = c.Ex ? memo.FindAndReplace(L"a", c.NewStr, TFindOptionsEx{freDown})
                               : memo.FindAndReplace(L"a", c.NewStr, TFindOptions{ClassLib::frDown});
        ASSERT_EQ(count, 300);
        const std::wstring replaced = memo.Lines()->Text();
        memo.Undo();
        EXPECT_EQ(memo.Lines()->Text(), original);
        memo.Redo();
        EXPECT_EQ(memo.Lines()->Text(), replaced);
        memo.Undo();
        memo.Undo();
        EXPECT_EQ(memo.Lines()->Text(), base);
    }
}

// The replace runs on whole lines: a match across a row break is found, the caret and the
// selection land on the last inserted text after the rewrap, and undo gives back the text.
TEST(AdvMemoReplace, WrappedRowsAreReplacedAsWholeLines) {
    for (const bool ex : {false, true}) {
        SCOPED_TRACE(ex ? "memo options" : "platform options");
        TAdvMemo memo;
        memo.SetRightMargin(10);
        memo.Lines()->SetText(L"alpha beta gamma beta gamma\r\nbeta gamma");
        memo.SetWordWrap(wwRightMargin);
        const std::wstring original = memo.WrappedText();
        ASSERT_GT(memo.Lines()->Count(), 3);
        ASSERT_NE(memo.Lines()->Get(1).find(L"beta"), std::wstring::npos);
        ASSERT_EQ(memo.Lines()->Get(1).find(L"beta gamma"), std::wstring::npos);  // the rows cut the match
        memo.SetCursor(0, 0);
        memo.ClearSelection();
        const int count = ex ? memo.FindAndReplace(L"beta gamma", L"B-G", TFindOptionsEx{freDown})
                             : memo.FindAndReplace(L"beta gamma", L"B-G", TFindOptions{ClassLib::frDown});
        EXPECT_EQ(count, 3);
        EXPECT_EQ(memo.WrappedText(), L"alpha B-G B-G\r\nB-G");
        // The memo options select the last replacement, caret at its start; the platform's
        // leave the caret after it.
        if (ex) {
            EXPECT_EQ(memo.Selection(), L"B-G");
        }
        EXPECT_EQ(memo.CurY(), memo.Lines()->Count() - 1);
        EXPECT_EQ(memo.CurX(), ex ? 0 : 3);
        while (memo.CanUndo()) memo.Undo();
        EXPECT_EQ(memo.WrappedText(), original);
    }
}
