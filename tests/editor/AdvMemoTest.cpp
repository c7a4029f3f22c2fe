#include "editor/AdvMemo.h"

#include "classlib/Exceptions.h"
#include "editor/AdvmCSHS.h"
#include "support/PublishedDefaults.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace AdvMemo;

namespace {

// Every character 8 pixels wide and 15 high; a name containing "Prop" is proportional.
class TFixedMeasure : public ITextMeasure {
public:
    void SetFont(const std::wstring& name, int, bool) override { FProportional = name.find(L"Prop") != std::wstring::npos; }
    int TextWidth(const std::wstring& text) override {
        int width = 0;
        for (wchar_t c : text) width += FProportional && c == L'i' ? 3 : 8;
        return width;
    }
    int TextHeight(const std::wstring&) override { return 15; }

private:
    bool FProportional = false;
};

std::vector<std::wstring> LinesOf(const TAdvCustomMemo& memo) {
    std::vector<std::wstring> result;
    for (int i = 0; i < memo.Lines()->Count(); ++i) result.push_back(memo.Lines()->Get(i));
    return result;
}

std::wstring TextOf(const TAdvCustomMemo& memo) { return memo.Lines()->Text(); }

void Type(TAdvCustomMemo& memo, const std::wstring& text) {
    for (wchar_t c : text) {
        if (c == L'\n') memo.NewLine();
        else memo.InsertChar(c);
    }
}

void CheckInvariants(const TAdvCustomMemo& memo) {
    const TAdvMemoStrings& lines = *memo.Lines();
    ASSERT_EQ(lines.ListLengths().Count(), lines.Count());
    for (int i = 0; i < lines.Count(); ++i)
        ASSERT_EQ(lines.ListLengths()[i], static_cast<int>(lines.Get(i).size())) << "line " << i;
    for (int i = 0; i < lines.Count(); ++i) ASSERT_EQ(lines.Get(i).find(L'\t'), std::wstring::npos);
    if (lines.Count() > 0) {
        ASSERT_GE(memo.CurY(), 0);
        ASSERT_LT(memo.CurY(), lines.Count());
    }
}

}  // namespace

// ---------------------------------------------------------------- model and geometry

TEST(AdvMemoModel, DefaultsOfANewMemo) {
    TAdvMemo memo;
    EXPECT_EQ(memo.Lines()->Count(), 1);
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 0);
    EXPECT_EQ(TAdvMemo::Version(), L"3.8.2.0");
    EXPECT_EQ(TAdvMemo::GetVersionString(), L"3.8.2.0 Apr, 2022");
    EXPECT_EQ(memo.TabSize(), 4);
    EXPECT_TRUE(memo.AutoIndent());
    EXPECT_TRUE(memo.DelErase());
    EXPECT_EQ(memo.UndoLimit(), 100);
    EXPECT_EQ(memo.RightMargin(), 80);
    EXPECT_EQ(memo.WordWrap(), wwNone);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(memo.Bookmarks(i), -1);
    TAdvCustomMemo base;
    EXPECT_FALSE(base.DelErase());
    memo.Lines()->SetText(L"a\r\nb\r\nc");
    memo.DoGutterClick(2);  // the form control's own handler: caret to the line
    EXPECT_EQ(memo.CurY(), 2);
}

TEST(AdvMemoModel, GeometryFollowsSizeAndFont) {
    TFixedMeasure measure;
    TAdvMemo memo;
    memo.SetTextMeasure(&measure);
    EXPECT_EQ(memo.CharWidth(), 8);
    EXPECT_EQ(memo.CharHeight(), 16);
    // 250 x 350: text area 48..249 wide, 1..349 high (single border, flat look)
    const TMemoRect area = memo.TextArea();
    EXPECT_EQ(area.Left, 48);
    EXPECT_EQ(area.Top, 1);
    EXPECT_EQ(memo.VisibleLineCount(), (area.Bottom - area.Top - 1) / 16);
    EXPECT_EQ(memo.VisiblePosCount(), (area.Right + 4 - area.Left) / 8);
    memo.SetFont(L"Prop Sans", -13);
    EXPECT_EQ(memo.FontName(), L"FixedSys");
}

TEST(AdvMemoModel, PixelMapping) {
    TFixedMeasure measure;
    TAdvMemo memo;
    memo.SetTextMeasure(&measure);
    const TMemoRect area = memo.TextArea();
    int cx = -1, cy = -1;
    memo.MouseToCursor(area.Left + 8 + 5, area.Top + 20, cx, cy);  // right half of cell 1
    EXPECT_EQ(cx, 2);
    EXPECT_EQ(cy, 1);
    memo.Lines()->SetText(std::wstring(300, L'x'));
    memo.SetLeftCol(3);
    const TFullPos pos = memo.CharFromPos(area.Left + 8 + 5, area.Top + 20);
    EXPECT_EQ(pos.Pos, 1 + 3);
    EXPECT_EQ(pos.LineNo, 1);
    TAdvMemo unmeasured;
    EXPECT_EQ(unmeasured.CharFromPos(100, 100).Pos, 1);
}

TEST(AdvMemoModel, TopLineAndScrollBars) {
    TFixedMeasure measure;
    TAdvMemo memo;
    memo.SetTextMeasure(&measure);
    const int rows = memo.VisibleLineCount();
    std::wstring text;
    for (int i = 0; i < 10; ++i) text += L"line\r\n";
    memo.Lines()->SetText(text);
    memo.UpdateScrollBars(false);
    EXPECT_FALSE(memo.VertBar().Visible);
    EXPECT_EQ(memo.TopLine(), 0);
    text.clear();
    for (int i = 0; i < 100; ++i) text += L"line\r\n";
    memo.Lines()->SetText(text);
    memo.UpdateScrollBars(false);
    EXPECT_TRUE(memo.VertBar().Visible);
    EXPECT_EQ(memo.VertBar().Max - memo.VertBar().PageSize + 1, 99);
    memo.SetTopLine(-3);
    EXPECT_EQ(memo.TopLine(), 0);
    memo.SetTopLine(500);
    EXPECT_EQ(memo.TopLine(), 99);
    memo.ScrollToBottom();
    EXPECT_EQ(memo.TopLine(), 100 - rows);

    // Lines added inside the list's own update reach the bars when it ends.
    memo.Lines()->BeginUpdate();
    memo.Lines()->Clear();
    for (int i = 0; i < 5; ++i) memo.Lines()->Add(L"line");
    EXPECT_TRUE(memo.VertBar().Visible);
    memo.Lines()->EndUpdate();
    EXPECT_FALSE(memo.VertBar().Visible);
    memo.Lines()->BeginUpdate();
    for (int i = 0; i < 200; ++i) memo.Lines()->Add(std::wstring(100, L'x'));
    memo.Lines()->EndUpdate();
    EXPECT_TRUE(memo.VertBar().Visible);
    EXPECT_TRUE(memo.HorzBar().Visible);
    EXPECT_EQ(memo.VertBar().Max - memo.VertBar().PageSize + 1, 204);
}

TEST(AdvMemoModel, UpdateCountingRepaintsOnTheLastEndUpdate) {
    TAdvMemo memo;
    const int before = memo.RefreshCount();
    memo.BeginUpdate();
    memo.BeginUpdate();
    memo.EndUpdate();
    EXPECT_EQ(memo.RefreshCount(), before);
    EXPECT_FALSE(memo.LetRefresh());
    memo.EndUpdate();
    EXPECT_EQ(memo.RefreshCount(), before + 1);
    EXPECT_TRUE(memo.LetRefresh());
}

// ---------------------------------------------------------------- positions and selection

TEST(AdvMemoPositions, LinearPositionConversions) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"ab\r\nc");
    struct TCase { int Pos; int X; int Y; };
    const TCase cases[] = {{0, 0, 0}, {2, 2, 0}, {3, 3, 0}, {4, 0, 1}, {5, 1, 1}, {100, 0, 0}, {-1, 0, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Pos);
        int x = -1, y = -1;
        memo.PosFromText(c.Pos, x, y);
        EXPECT_EQ(x, c.X);
        EXPECT_EQ(y, c.Y);
    }
    EXPECT_EQ(memo.TextFromPos(0, 1), 4);
    EXPECT_EQ(memo.TextFromPos(9, 0), 2);  // the column is clamped to the line
    EXPECT_EQ(memo.TextFromPos(0, 7), 7);  // lines beyond the list count nothing
}

TEST(AdvMemoPositions, CaretSettersPadTrimAndClamp) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc\r\nxy");
    memo.SetCursor(10, 0);
    EXPECT_EQ(memo.Lines()->Get(0), L"abc       ");
    memo.SetTrimTrailingSpaces(true);
    memo.ClearUndoRedo();
    memo.SetCurY(1);
    EXPECT_EQ(memo.Lines()->Get(0), L"abc");
    EXPECT_EQ(memo.UndoList().Count(), 1);
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abc       ");

    TAdvMemo strict;
    strict.SetAutoExpand(false);
    strict.Lines()->SetText(L"abc\r\nxy");
    strict.SetCursor(3, 0);
    strict.MoveCaret(1, 0, 0);
    EXPECT_EQ(strict.CurX(), 0);
    EXPECT_EQ(strict.CurY(), 1);
    strict.MoveCaret(-1, 0, 0);
    EXPECT_EQ(strict.CurX(), 3);
    EXPECT_EQ(strict.CurY(), 0);
    strict.SetCursor(9, 1);
    EXPECT_EQ(strict.CurX(), 2);
    strict.SetCurY(50);
    EXPECT_EQ(strict.CurY(), 1);
}

TEST(AdvMemoSelection, TextAndBlockSelections) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abcdef\r\na\r\nxyz");
    memo.SetSelStartX(2);
    memo.SetSelStartY(0);
    memo.SetSelEndX(2);
    memo.SetSelEndY(2);
    EXPECT_EQ(memo.Selection(), L"cdef\r\na\r\nxy");
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.SelLength(), 11);
    memo.SetSelectionMode(smBlock);
    memo.SetBlockSelection(TMemoRect{2, 0, 5, 1});
    EXPECT_EQ(memo.Selection(), L"cde\r\n   \r\n");
    memo.SetSelectionMode(smText);
    memo.Lines()->SetText(L"");
    memo.SelectAll();
    EXPECT_EQ(memo.SelEndX(), 0);
    EXPECT_EQ(memo.SelEndY(), 0);
}

TEST(AdvMemoSelection, InsertTextSplitsAndJoinsLines) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc");
    memo.SetCursor(1, 0);
    memo.InsertText(L"x\r\ny");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"ax", L"ybc"}));
    EXPECT_EQ(memo.CurX(), 1);
    EXPECT_EQ(memo.CurY(), 1);
    memo.InsertText(L"1\n2\r3\r\n");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"ax", L"y1", L"2", L"3", L"bc"}));
    CheckInvariants(memo);
}

TEST(AdvMemoSelection, DeletingASelectionEndingAtColumnZeroUndoesExactly) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"one\r\ntwo\r\nthree");
    const std::wstring original = TextOf(memo);
    memo.SetSelStartX(1);
    memo.SetSelStartY(0);
    memo.SetSelEndX(0);
    memo.SetSelEndY(2);
    memo.SetCurXForced(0);
    memo.DeleteSelection();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"othree"}));
    memo.Undo();
    EXPECT_EQ(TextOf(memo), original);
    memo.Redo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"othree"}));
}

TEST(AdvMemoSelection, BlockInsertTakesItsLastRowAndBlockEditsUndo) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abcdef\r\nab\r\nxyz");
    memo.SetSelectionMode(smBlock);
    memo.SetCursor(1, 0);
    memo.InsertText(L"12\r\n34");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"a12bcdef", L"a34b", L"xyz"}));
    memo.Undo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"abcdef", L"ab", L"xyz"}));
    memo.SetBlockSelection(TMemoRect{1, 0, 3, 2});
    memo.DeleteSelection();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"adef", L"a", L"x"}));
    memo.Undo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"abcdef", L"ab", L"xyz"}));
}

TEST(AdvMemoSelection, WordQueries) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"call foo.bar(x); done");
    EXPECT_EQ(memo.WordAtXY(6, 0), L"foo");
    EXPECT_EQ(memo.TokenAtXY(10, 0), L"bar");
    EXPECT_EQ(memo.FullWordAtXY(6, 0), L"foo.bar(x);");
    EXPECT_EQ(memo.WordAtXY(99, 0), L"");
    memo.SetCursor(7, 0);
    int pos = 0;
    EXPECT_EQ(memo.WordAtCursorPos(pos), L"foo");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(memo.WordBeforeCursor(), L"fo");
    memo.SelectWordAtCursor();
    EXPECT_EQ(memo.Selection(), L"foo");
    int consumed = 0;
    EXPECT_EQ(memo.NextToken(L"  (abc) d", 1, consumed), L"abc");
    EXPECT_EQ(consumed, 6);
}

// ---------------------------------------------------------------- editing commands

TEST(AdvMemoEditing, OverwriteReplacesInsideAndAppendsAtTheEnd) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc");
    memo.SetOverwrite(true);
    memo.SetCursor(1, 0);
    Type(memo, L"XYZW");
    EXPECT_EQ(memo.Lines()->Get(0), L"aXYZW");
    memo.Undo();  // the appended "ZW" is one typing step
    EXPECT_EQ(memo.Lines()->Get(0), L"aXY");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"aXc");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abc");
}

TEST(AdvMemoEditing, TabsInsertBlanks) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"ab");
    memo.SetCursor(1, 0);
    memo.TabKey(0);
    EXPECT_EQ(memo.Lines()->Get(0), L"a    b");
    EXPECT_EQ(memo.CurX(), 5);

    TAdvMemo smart;
    smart.SetSmartTabs(true);
    smart.Lines()->SetText(L"abcdef  ghi\r\nxy");
    smart.SetCursor(2, 1);
    smart.TabKey(0);
    EXPECT_EQ(smart.Lines()->Get(1), L"xy      ");
    EXPECT_EQ(smart.CurX(), 8);
}

TEST(AdvMemoEditing, BackspaceJoinsLinesAndUndoRestoresTheBreak) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"l0\r\nl1\r\nl2\r\nl3");
    memo.SetCursor(0, 3);
    memo.BackspaceKeyCommand(0);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"l0", L"l1", L"l2l3"}));
    EXPECT_EQ(memo.CurX(), 2);
    EXPECT_EQ(memo.CurY(), 2);
    memo.Undo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"l0", L"l1", L"l2", L"l3"}));
}

TEST(AdvMemoEditing, BackspaceWithEmptySelectionDeletesBeforeTheCaret) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"hello\r\nworld");
    memo.SetCursor(3, 1);  // leaves the selection anchor at (0, 0)
    memo.SetSelStartX(1);
    memo.SetSelEndX(1);
    memo.BackspaceKeyCommand(0);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"hello", L"wold"}));
    EXPECT_EQ(memo.CurX(), 2);
    memo.SetCursor(0, 0);
    memo.BackspaceKeyCommand(0);  // at the very start: nothing
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"hello", L"wold"}));
}

TEST(AdvMemoEditing, CtrlBackspaceDeletesTheWordBeforeTheCaret) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"x foo");
    memo.SetCursor(5, 0);
    memo.BackspaceKeyCommand(ssCtrlKey);
    EXPECT_EQ(memo.Lines()->Get(0), L"x ");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"x foo");
}

TEST(AdvMemoEditing, EnterKeepsTheIndent) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"    code");
    memo.SetCursor(2, 0);
    memo.NewLine();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"  ", L"    code"}));
    EXPECT_EQ(memo.CurX(), 4);
    EXPECT_EQ(memo.CurY(), 1);
    memo.OnNewLineIndent = [](ClassLib::TObject*, int, std::wstring& indent) { indent = L"\u00B7"; };
    memo.SetCursor(8, 1);
    memo.NewLine();
    EXPECT_EQ(memo.Lines()->Get(2), L"\u00B7");
}

TEST(AdvMemoEditing, BlockIndentAndItsUndo) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"  a\r\nb");
    memo.BlockIndent(0, 1, true, -4);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"a", L"b"}));
    memo.Undo();  // undo indents by the full amount, as the step was recorded
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"    a", L"    b"}));
}

TEST(AdvMemoEditing, DeleteLineAndItsUndo) {
    struct TCase { const wchar_t* Name; std::wstring Text; int Line; std::vector<std::wstring> After; };
    const TCase cases[] = {
        {L"only line", L"solo", 0, {L""}},
        {L"middle line", L"a\r\nb\r\nc", 1, {L"a", L"c"}},
        {L"last line", L"a\r\nb\r\nc", 2, {L"a", L"b"}},
        {L"first line", L"a\r\nb\r\nc", 0, {L"b", L"c"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TAdvMemo memo;
        memo.Lines()->SetText(c.Text);
        const std::wstring original = TextOf(memo);
        memo.SetCursor(1, c.Line);
        memo.DeleteLine();
        EXPECT_EQ(LinesOf(memo), c.After);
        memo.Undo();
        EXPECT_EQ(TextOf(memo), original);
        memo.Redo();
        EXPECT_EQ(LinesOf(memo), c.After);
    }
}

TEST(AdvMemoEditing, ReadOnlyRefusesEditsAndUndo) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc");
    memo.SetCursor(3, 0);
    memo.InsertChar(L'd');
    memo.SetReadOnly(true);
    memo.InsertChar(L'e');
    memo.NewLine();
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abcd");
    memo.SetReadOnly(false);
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abc");
}

// ---------------------------------------------------------------- undo and redo

TEST(AdvMemoUndo, EveryStepKindRoundTripsByteForByte) {
    struct TCase {
        const wchar_t* Name;
        std::function<void(TAdvMemo&)> Edit;
    };
    const TCase cases[] = {
        {L"typing", [](TAdvMemo& m) { m.SetCursor(2, 1); Type(m, L"xyz"); }},
        {L"typing with breaks", [](TAdvMemo& m) { m.SetCursor(1, 0); Type(m, L"ab\ncd\n"); }},
        {L"line by line", [](TAdvMemo& m) { m.SetUndoLineByLine(true); m.SetCursor(4, 2); Type(m, L"q\nr"); }},
        {L"overwrite", [](TAdvMemo& m) { m.SetOverwrite(true); m.SetCursor(0, 1); Type(m, L"ZZ"); }},
        {L"delete key", [](TAdvMemo& m) { m.SetCursor(1, 0); m.DeleteChar(-1, -1); m.DeleteChar(-1, -1); }},
        {L"delete joins", [](TAdvMemo& m) { m.SetCursor(5, 0); m.DeleteChar(-1, -1); }},
        {L"backspace", [](TAdvMemo& m) { m.SetCursor(2, 2); m.BackspaceKeyCommand(0); m.BackspaceKeyCommand(0); m.BackspaceKeyCommand(0); }},
        {L"delete line", [](TAdvMemo& m) { m.SetCursor(0, 1); m.DeleteLine(); }},
        {L"selection delete", [](TAdvMemo& m) { m.SetSelStartX(2); m.SetSelEndX(3); m.SetSelEndY(2); m.DeleteSelection(); }},
        {L"paste over selection", [](TAdvMemo& m) { m.SetSelStartX(1); m.SetSelEndX(4); m.SetSelectionMode(smText); m.SetSelStartX(1); m.SetSelEndX(4); m.InsertText(L"P\r\nQ"); }},
        {L"indent", [](TAdvMemo& m) { m.BlockIndent(0, 2, true, 3); }},
        {L"delete at xy", [](TAdvMemo& m) { m.DeleteTextAtXY(1, 2, 3); }},
        {L"insert at xy", [](TAdvMemo& m) { m.InsertTextAtXY(L"<\r\n>", 2, 1); }},
        {L"smart backspace", [](TAdvMemo& m) { m.SetSmartTabs(true); m.SetCursor(4, 3); m.BackspaceKey(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TAdvMemo memo;
        memo.Lines()->SetText(L"first\r\nsecond\r\nthird line\r\n    four");
        const std::wstring original = TextOf(memo);
        memo.ClearUndoRedo();
        c.Edit(memo);
        const std::wstring edited = TextOf(memo);
        ASSERT_NE(edited, original);
        ASSERT_TRUE(memo.CanUndo());
        while (memo.CanUndo()) memo.Undo();
        EXPECT_EQ(TextOf(memo), original);
        while (memo.CanRedo()) memo.Redo();
        EXPECT_EQ(TextOf(memo), edited);
        CheckInvariants(memo);
    }
}

TEST(AdvMemoUndo, TypingMergesIntoOneStepUnlessLineByLine) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"");
    Type(memo, L"abc\ndef");
    EXPECT_EQ(memo.UndoList().Count(), 1);
    memo.Undo();
    EXPECT_EQ(TextOf(memo), L"");

    TAdvMemo byLine;
    byLine.SetUndoLineByLine(true);
    byLine.Lines()->SetText(L"");
    Type(byLine, L"abc\ndef");
    EXPECT_EQ(byLine.UndoList().Count(), 3);
}

TEST(AdvMemoUndo, DeleteKeyPressesMergeAndUndoInOrder) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abcdef");
    memo.SetCursor(1, 0);
    memo.ClearUndoRedo();
    for (int i = 0; i < 3; ++i) memo.DeleteChar(-1, -1);
    EXPECT_EQ(memo.Lines()->Get(0), L"aef");
    EXPECT_EQ(memo.UndoList().Count(), 1);
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abcdef");
    EXPECT_EQ(memo.CurX(), 1);
}

TEST(AdvMemoUndo, NewEditDropsRedoHistoryAndLimitKeepsNewest) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"");
    Type(memo, L"ab");
    memo.Undo();
    EXPECT_TRUE(memo.CanRedo());
    memo.InsertChar(L'z');
    EXPECT_FALSE(memo.CanRedo());

    TAdvMemo limited;
    limited.SetUndoLimit(5);
    limited.Lines()->SetText(L"0123456789");
    for (int i = 0; i < 10; ++i) limited.DeleteTextAtXY(0, 0, 1);
    int undone = 0;
    while (limited.CanUndo()) {
        limited.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 5);
    EXPECT_EQ(limited.Lines()->Get(0), L"56789");
    limited.SetUndoLimit(500);
    EXPECT_EQ(limited.UndoLimit(), 100);
}

TEST(AdvMemoUndo, InsertModeToggleAndModified) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"abc\r\ndef");
    memo.SetCursor(2, 1);
    memo.AddUndoStep(std::make_unique<TInsertOverwriteUndo>(false));
    memo.SetOverwrite(true);
    memo.Undo();
    EXPECT_FALSE(memo.Overwrite());
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 0);

    memo.SetModified(false);
    EXPECT_FALSE(memo.Modified());
    memo.InsertChar(L'x');
    EXPECT_TRUE(memo.Modified());
}

TEST(AdvMemoUndo, UndoChangeEventReportsBothDirections) {
    TAdvMemo memo;
    bool lastUndo = false, lastRedo = true;
    memo.OnUndoChange = [&](ClassLib::TObject*, bool canUndo, bool canRedo) {
        lastUndo = canUndo;
        lastRedo = canRedo;
    };
    memo.InsertChar(L'a');
    EXPECT_TRUE(lastUndo);
    EXPECT_FALSE(lastRedo);
    memo.Undo();
    EXPECT_FALSE(lastUndo);
    EXPECT_TRUE(lastRedo);
}

TEST(AdvMemoUndo, RandomEditsUndoAndRedoExactly) {
    // Without and with word wrap: edits work on whole lines either way, so undo must give back
    // the text byte for byte and redo the edited text.
    for (const bool wrapped : {false, true}) {
        std::mt19937 random(1234);
        for (int round = 0; round < 1500; ++round) {
            TAdvMemo memo;
            memo.SetUndoLimit(100);
            memo.SetSmartTabs(round % 3 == 1);
            memo.SetUndoLineByLine(round % 3 == 2);
            memo.SetOverwrite(round % 5 == 4);
            memo.SetTrimTrailingSpaces(round % 7 == 3);
            memo.SetAutoExpand(round % 11 != 5);
            memo.SetRightMargin(12);
            memo.Lines()->SetText(L"alpha beta gamma delta\r\n    gamma epsilon\r\n\r\ndelta");
            if (wrapped) memo.SetWordWrap(wwRightMargin);
            const std::wstring original = memo.WrappedText();
            memo.ClearUndoRedo();
            std::wstring log;
            for (int step = 0; step < 20; ++step) {
                const int count = memo.Lines()->Count();
                const int y = static_cast<int>(random() % count);
                // Within the line: a caret placed beyond the end pads the line, which is no edit.
                const int x = static_cast<int>(random() % (memo.Lines()->Get(y).size() + 1));
                memo.SetCursor(x, y);
                const int op = static_cast<int>(random() % 11);
                log += L"(" + std::to_wstring(x) + L"," + std::to_wstring(y) + L") op" + std::to_wstring(op) + L"; ";
                switch (op) {
                case 0: memo.InsertChar(static_cast<wchar_t>(L'a' + random() % 26)); break;
                case 1: memo.NewLine(); break;
                case 2: memo.BackspaceKeyCommand(0); break;
                case 3: memo.DeleteChar(-1, -1); break;
                case 4: memo.DeleteLine(); break;
                case 5: memo.InsertText(L"p\r\nq"); break;
                case 6:
                    memo.SetSelStartX(0);
                    memo.SetSelStartY(0);
                    memo.SetSelEndX(x);
                    memo.SetSelEndY(y);
                    memo.DeleteSelection();
                    break;
                case 7: memo.TabKey(0); break;
                case 8: memo.BackspaceKeyCommand(ssCtrlKey); break;
                case 9: memo.InsertTextAtXY(L"r\r\n", x, y); break;
                case 10: memo.BlockIndent(y, y + 1, true, 2); break;
                }
                CheckInvariants(memo);
            }
            const std::wstring edited = memo.WrappedText();
            while (memo.CanUndo()) memo.Undo();
            ASSERT_EQ(memo.WrappedText(), original) << wrapped << " round " << round << " " << testing::PrintToString(log);
            while (memo.CanRedo()) memo.Redo();
            ASSERT_EQ(memo.WrappedText(), edited) << wrapped << " round " << round << " " << testing::PrintToString(log);
        }
    }
}

// ---------------------------------------------------------------- per-line flags and word wrap

TEST(AdvMemoLineFlags, BreakpointsAndStates) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"0\r\n1\r\n2\r\n3");
    EXPECT_FALSE(memo.BreakPoint(3));
    memo.SetBreakPoint(3, true);
    EXPECT_TRUE(memo.BreakPoint(3));
    memo.ClearBreakpoints();
    EXPECT_FALSE(memo.BreakPoint(3));
    memo.SetLineModifiedInt(2, lmModified);
    EXPECT_TRUE(memo.LinesModified());
    int changes = 0;
    memo.OnChange = [&](ClassLib::TObject*) { ++changes; };
    memo.SetLineModifiedInt(2, lmModified);  // unchanged: nothing, and the list still reports
    memo.Lines()->Add(L"4");
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(memo.SetBookmark(9, true), ClassLib::Exception);
}

TEST(AdvMemoWordWrap, CutsAtBreaksAndHard) {
    struct TCase { const wchar_t* Name; std::wstring Line; int Limit; std::vector<std::wstring> Rows; };
    const TCase cases[] = {
        {L"words", L"aaaa bbbb cccc", 10, {L"aaaa bbbb ", L"cccc"}},
        {L"long word", std::wstring(25, L'w'), 10, {std::wstring(10, L'w'), std::wstring(10, L'w'), std::wstring(5, L'w')}},
        {L"link", L"http://example.org/x", 12, {L"http://", L"example.org/", L"x"}},
        {L"fits", L"short", 10, {L"short"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TAdvMemo memo;
        memo.SetRightMargin(c.Limit);
        memo.Lines()->SetText(c.Line);
        memo.SetWordWrap(wwRightMargin);
        EXPECT_EQ(LinesOf(memo), c.Rows);
        EXPECT_EQ(memo.WrappedText(), c.Line);
        memo.SetWordWrap(wwNone);
        EXPECT_EQ(LinesOf(memo), std::vector<std::wstring>{c.Line});
    }
}

TEST(AdvMemoWordWrap, WrapAndJoinKeepLineProperties) {
    TAdvMemo memo;
    memo.SetRightMargin(10);
    memo.Lines()->SetText(L"head\r\naaaa bbbb cccc dddd\r\ntail");
    memo.SetBreakPoint(2, true);
    memo.SetLineModifiedInt(1, lmModified);
    memo.SetError(1, 15, 4);
    memo.SetBookmarks(3, 2);
    memo.AddMarker(2, 0, L"t");
    memo.SetWordWrap(wwRightMargin);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"head", L"aaaa bbbb ", L"cccc dddd", L"tail"}));
    EXPECT_EQ(memo.GetWrappedLineIndex(2), 1);
    EXPECT_EQ(memo.GetLineIndexWrapped(2), 3);
    EXPECT_EQ(memo.GetLineIndexWrappedEnd(1), 2);
    EXPECT_TRUE(memo.BreakPoint(3));
    EXPECT_EQ(memo.LineModifiedInt(1), lmModified);
    EXPECT_EQ(memo.Bookmarks(3), 3);
    EXPECT_TRUE(memo.MarkerAtLine(3));
    EXPECT_EQ(memo.TextFromPos(0, 2), 6 + 10);  // no break counted before a continuation
    memo.SetWordWrap(wwNone);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"head", L"aaaa bbbb cccc dddd", L"tail"}));
    EXPECT_TRUE(memo.BreakPoint(2));
    EXPECT_EQ(memo.LineModifiedInt(1), lmModified);
    TLineProp* prop = memo.Lines()->GetLineProp(1);
    ASSERT_TRUE(prop && prop->HasErrorInfo());
    EXPECT_EQ(prop->ErrStart()->GetInteger(0), 15);
    EXPECT_EQ(memo.Bookmarks(3), 2);
    EXPECT_TRUE(memo.MarkerAtLine(2));
}

TEST(AdvMemoWordWrap, TypingRewrapsAndSavingWritesUnwrappedText) {
    TAdvMemo memo;
    memo.SetRightMargin(10);
    memo.Lines()->SetText(L"aaaa bbbb");
    memo.SetWordWrap(wwRightMargin);
    memo.SetCursor(9, 0);
    Type(memo, L" cc");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"aaaa bbbb ", L"cc"}));
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_EQ(memo.CurX(), 2);
    EXPECT_EQ(memo.WrappedText(), L"aaaa bbbb cc");
    while (memo.CanUndo()) memo.Undo();
    EXPECT_EQ(memo.WrappedText(), L"aaaa bbbb");
}

// ---------------------------------------------------------------- bookmarks, markers, errors

TEST(AdvMemoMarks, BookmarkSlots) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"0\r\n1\r\n2\r\n3\r\n4");
    EXPECT_THROW(memo.Bookmarks(10), ClassLib::Exception);
    EXPECT_THROW(memo.SetBookmarks(-1, 0), ClassLib::Exception);
    try {
        memo.Bookmarks(10);
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid bookmark index");
    }
    memo.SetBookmarks(0, 1);
    EXPECT_TRUE(memo.Bookmark(1));
    memo.SetBookmarks(0, 3);
    EXPECT_FALSE(memo.Bookmark(1));
    EXPECT_TRUE(memo.Bookmark(3));
    memo.SetCursor(1, 4);
    memo.GotoBookmark(5);  // empty slot
    EXPECT_EQ(memo.CurY(), 4);
    memo.GotoBookmark(0);
    EXPECT_EQ(memo.CurY(), 3);
    EXPECT_EQ(memo.CurX(), 0);
    memo.SetBookmark(0, true);
    EXPECT_EQ(memo.BookmarkCount(), 2);
    memo.SetCursor(0, 0);
    memo.DeleteLine();
    EXPECT_EQ(memo.Bookmarks(0), 2);
    EXPECT_EQ(memo.BookmarkCount(), 1);
    memo.ClearBookmarks();
    EXPECT_FALSE(memo.HasBookmarks());
    EXPECT_THROW(memo.SetBookmarkIndex(40, 1), ClassLib::Exception);
}

TEST(AdvMemoMarks, MarkersFollowLines) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"0\r\n1\r\n2\r\n3");
    std::vector<int> added, removed;
    memo.OnMarkerAdded = [&](int line, const std::wstring&) { added.push_back(line); };
    memo.OnMarkerRemoved = [&](int line) { removed.push_back(line); };
    memo.AddMarker(1, 2, L"first");
    memo.AddMarker(1, 3, L"second");  // kept old marker, event still fires
    memo.AddMarker(3, 0, L"Name");
    EXPECT_EQ(memo.MarkerCount(), 2);
    EXPECT_EQ(added, (std::vector<int>{1, 1, 3}));
    EXPECT_EQ(memo.MarkerList().Markers().GetMarkerImageIndex(1), 2);
    EXPECT_THROW(memo.GoToMarkerName(L"name"), ClassLib::Exception);
    memo.GoToMarkerName(L"Name");
    EXPECT_EQ(memo.CurY(), 3);
    EXPECT_THROW(memo.GoToMarker(2), ClassLib::Exception);
    memo.SetCursor(0, 1);
    memo.NewLine();
    EXPECT_EQ(memo.MarkerList().Markers().Items(1)->LineNumber(), 4);
    memo.SetCursor(0, 0);
    memo.DeleteLine();
    EXPECT_EQ(memo.MarkerList().Markers().Items(0)->LineNumber(), 0);
    EXPECT_EQ(memo.MarkerList().Markers().Items(1)->LineNumber(), 3);
    memo.RemoveMarker(7);
    EXPECT_EQ(removed, (std::vector<int>{7}));
    EXPECT_EQ(memo.MarkerList().Markers().Items(0)->GetDisplayName(), L"first");
    memo.AddMarker(2, 0);
    EXPECT_EQ(memo.MarkerList().Markers().Items(2)->GetDisplayName(), L"TAdvMarker");
    TAdvMarkers copy(nullptr);
    EXPECT_TRUE(memo.GetMarkers(copy));
    EXPECT_EQ(copy.MarkerCount(), 3);
}

TEST(AdvMemoMarks, ErrorMarks) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"Foo bar FOO\r\nfoo");
    memo.SetError(0, 0, 3);
    memo.SetError(0, 4, 3);
    memo.SetError(0, 8, 3);
    memo.SetError(1, 0, 3);
    memo.SetError(1, 1, 0);
    memo.ClearErrorsForWord(L"foo");
    TLineProp* first = memo.Lines()->GetLineProp(0);
    ASSERT_EQ(first->ErrStart()->Count(), 1);
    EXPECT_EQ(first->ErrStart()->GetInteger(0), 4);
    EXPECT_EQ(memo.Lines()->GetLineProp(1)->ErrStart()->Count(), 1);  // zero length stays
    memo.ClearWordError(0, 4);
    EXPECT_EQ(first->ErrStart()->Count(), 0);
}

TEST(AdvMemoModel, PublishedPropertiesMatchTheConstructedDefaults) {
    for (const ClassLib::TClass* cls : {&TAdvMemo::StaticClass(), &TAdvCustomMemo::StaticClass(), &TAdvMemoSource::StaticClass()}) {
        std::unique_ptr<ClassLib::TComponent> object(cls->Create(nullptr));
        TestSupport::ExpectPublishedDefaults(object.get());
    }
    TAdvMemo memo;
    const ClassLib::TPropertyList& list = TAdvMemo::StaticClass().Published();
    ClassLib::SetPropText(&memo, *list.Find(L"WordWrap"), L"wwRightMargin");
    EXPECT_EQ(memo.WordWrap(), wwRightMargin);
    EXPECT_EQ(ClassLib::GetPropText(&memo, *list.Find(L"Version")), L"3.8.2.0");
    ClassLib::SetPropText(&memo, *list.Find(L"OleDropTarget"), L"[odtText]");
    EXPECT_EQ(memo.OleDropTarget(), TOleDropTargetTypes(odtText));
    EXPECT_EQ(ClassLib::GetPropText(&memo, *list.Find(L"OleDropTarget")), L"[odtText]");
}

TEST(AdvMemoSource, FreedSourceDetachesItsMemo) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"own");
    {
        TAdvMemoSource source;
        source.Lines()->SetText(L"shared");
        memo.SetMemoSource(&source);
        EXPECT_EQ(memo.Lines()->Get(0), L"shared");
    }
    EXPECT_EQ(memo.MemoSource(), nullptr);
    EXPECT_EQ(memo.Lines()->Get(0), L"own");
}

TEST(AdvMemoModel, AssignCopiesSettingsAndTextButNotTabSize) {
    TAdvMemo source;
    source.Lines()->SetText(L"one\r\ntwo");
    source.SetSmartTabs(true);
    source.SetRightMargin(60);
    source.SetTabSize(8);
    source.SetUndoLimit(20);
    TAdvMemo target;
    target.Assign(&source);
    EXPECT_EQ(target.Lines()->Text(), L"one\r\ntwo");
    EXPECT_TRUE(target.SmartTabs());
    EXPECT_EQ(target.RightMargin(), 60);
    EXPECT_EQ(target.UndoLimit(), 20);
    EXPECT_EQ(target.TabSize(), 4);
}

TEST(AdvMemoUndo, LineStateStepsRideWithTheEditAndNeverDuringReplay) {
    TAdvMemo memo;
    memo.SetShowModifiedLines(true);
    memo.Lines()->SetText(L"abc\r\ndef");
    memo.SetCursor(3, 1);
    memo.InsertChar(L'g');
    memo.SetLineModifiedInt(1, lmModified);
    ASSERT_EQ(memo.UndoList().Count(), 2);
    EXPECT_NE(dynamic_cast<TModifiedUndo*>(memo.UndoList().Items(1)), nullptr);
    memo.Undo();  // the typing and, below it, the line state
    EXPECT_EQ(memo.Lines()->Get(1), L"def");
    EXPECT_EQ(memo.LineModifiedInt(1), lmUnmodified);
    memo.Redo();
    EXPECT_EQ(memo.Lines()->Get(1), L"defg");
    EXPECT_EQ(memo.LineModifiedInt(1), lmModified);

    memo.NewLine();
    const int steps = memo.UndoList().Count();
    memo.Undo();
    memo.Redo();  // redoing the break marks the new line, recording nothing
    EXPECT_EQ(memo.UndoList().Count(), steps);
    EXPECT_EQ(memo.LineModifiedInt(2), lmModified);
}

TEST(AdvMemoUndo, CorrectionStepExchangesTheLine) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"x\r\nteh cat");
    memo.Lines()->Put(1, L"the cat");
    memo.AddUndoStep(std::make_unique<TCorrectUndo>(1, L"teh cat"));
    memo.SetCursor(3, 1);
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(1), L"teh cat");
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 0);
    memo.Redo();
    EXPECT_EQ(memo.Lines()->Get(1), L"the cat");
}

TEST(AdvMemoSelection, ShiftMovesExtendTheSelection) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"    word one\r\nsecond");
    memo.SetCursor(6, 0);
    memo.MoveCaret(1, 0, ssShiftKey);
    memo.MoveCaret(0, 1, ssShiftKey);
    EXPECT_EQ(memo.Selection(), L"rd one\r\nsecond");  // moving down pads nothing
    memo.SetEnhancedHomeKey(true);
    memo.SetCursor(9, 0);
    memo.HomeKey(ssShiftKey);
    EXPECT_EQ(memo.CurX(), 4);
    EXPECT_EQ(memo.Selection(), L"word ");
    memo.EndKey(0);
    EXPECT_EQ(memo.CurX(), 12);
    EXPECT_EQ(memo.Selection(), L"");
    memo.SetCursor(0, 0);
    memo.WordRight();
    EXPECT_EQ(memo.CurX(), 4);
}

TEST(AdvMemoUndo, OneUndoTakesBackAPasteAndTheSelectionItReplaced) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"keep this word\r\nnext");
    memo.ClearUndoRedo();
    memo.SetSelStartX(5);
    memo.SetSelStartY(0);
    memo.SetSelEndX(2);
    memo.SetSelEndY(1);
    memo.InsertText(L"that");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"keep thatxt"}));
    memo.Undo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"keep this word", L"next"}));
    EXPECT_FALSE(memo.CanUndo());
    memo.Redo();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"keep thatxt"}));
}

TEST(AdvMemoSelection, StylerSymbolsDelimitWordsOnlyWhileUsed) {
    TAdvMemo memo;
    memo.Lines()->SetText(L"call at_handler(uart) now");
    memo.SetCursor(8, 0);
    EXPECT_EQ(memo.WordAtCursor(), L"at_handler(uart)");
    {
        AdvmCSHS::TAdvCSharpMemoStyler styler(nullptr);
        memo.SetSyntaxStyles(&styler);
        EXPECT_EQ(styler.AllStyles()->Memo(), static_cast<IStyledMemo*>(&memo));
        EXPECT_EQ(memo.WordAtCursor(), L"at_handler");
        EXPECT_TRUE(memo.IsSymbolDelimiter(L'('));
        memo.SetUseStyler(false);
        EXPECT_EQ(memo.WordAtCursor(), L"at_handler(uart)");
        memo.SetUseStyler(true);
    }
    EXPECT_EQ(memo.SyntaxStyles(), nullptr);  // a freed styler lets go of the memo
    EXPECT_EQ(memo.WordAtCursor(), L"at_handler(uart)");
}

TEST(AdvMemoModel, UrlRecognitionAndItsEvent) {
    TAdvMemo memo;
    struct TCase { const wchar_t* Token; bool Url; };
    const TCase cases[] = {{L"HTTP://x.org", true}, {L"https://x", true}, {L"ftp://f", true}, {L"nntp://n", true},
                           {L"file://c", true},     {L"mailto:a@b", true}, {L"www.x.org", true}, {L"http:/x", false},
                           {L"wwwx", false},        {L"x.org", false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Token)));
        EXPECT_EQ(memo.WordIsURL(c.Token), c.Url);
    }
    std::wstring seen;
    memo.OnIsURL = [&](ClassLib::TObject*, const std::wstring& token, bool& isUrl) {
        seen = token;
        isUrl = !isUrl;
    };
    EXPECT_TRUE(memo.WordIsURL(L"X.ORG"));
    EXPECT_EQ(seen, L"x.org");
}

TEST(AdvMemoModel, ClipboardCommandsAskFirst) {
    struct TRecordingMemo : TAdvMemo {
        int Copies = 0;
        void CopyToClipBoard() override { ++Copies; }
    } memo;
    std::vector<TClipboardAction> asked;
    memo.OnClipboardAction = [&](ClassLib::TObject*, TClipboardAction action, bool& allow) {
        asked.push_back(action);
        allow = action != caCopy || asked.size() > 1;
    };
    memo.DoCopy();
    memo.DoCopy();
    EXPECT_EQ(memo.Copies, 1);
    EXPECT_EQ(asked, (std::vector<TClipboardAction>{caCopy, caCopy}));
}

TEST(AdvMemoUndo, OutOfRangePositionsNeverBreakTheModel) {
    for (const unsigned seed : {1u, 3u, 6u, 77u}) {
        std::mt19937 random(seed);
        TAdvMemo memo;
        memo.SetRightMargin(9);
        memo.Lines()->SetText(L"one two three\r\n\tfour\r\n");
        auto any = [&](int low, int high) { return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)); };
        for (int step = 0; step < 3000; ++step) {
            const int count = memo.Lines()->Count();
            const int x = any(-3, 20), y = any(-3, count + 3);
            const int op = any(0, 19);
            SCOPED_TRACE(testing::Message() << "step " << step << " op " << op << " at " << x << "," << y << " caret " << memo.CurX() << "," << memo.CurY() << " wrap " << memo.WordWrap() << " text " << testing::PrintToString(memo.Lines()->Text()));
            try {
                switch (op) {
                case 0: memo.SetCurX(x); break;
                case 1: memo.SetCurY(y); break;
                case 2: memo.InsertChar(L'z'); break;
                case 3: memo.NewLine(); break;
                case 4: memo.BackspaceKeyCommand(0); break;
                case 5: memo.DeleteChar(-1, -1); break;
                case 6: memo.DeleteLine(); break;
                case 7: memo.SetSelStartX(x); memo.SetSelStartY(y); memo.DeleteSelection(); break;
                case 8: memo.InsertTextAtXY(L"a\r\nb", std::max(x, 0), std::max(y, 0)); break;
                case 9: memo.DeleteTextAtXY(x, y, any(0, 5)); break;
                case 10: memo.Undo(); break;
                case 11: memo.Redo(); break;
                case 12: memo.SetWordWrap(static_cast<TWordWrapStyle>(any(0, 2))); break;
                case 13: memo.Lines()->Delete(y); break;
                case 14: memo.Lines()->Insert(std::clamp(y, 0, count), L"ins\r\nert"); break;
                case 15: memo.SetSelectionMode(any(0, 3) == 0 ? smBlock : smText); memo.SetBlockSelection(TMemoRect{0, 0, any(0, 4), any(0, 2)}); break;
                case 16: memo.MoveCaret(any(-2, 2), any(-2, 2), any(0, 1) ? ClassLib::TShiftState(ssShiftKey) : ClassLib::TShiftState(0)); break;
                case 17: memo.SelectAll(); memo.InsertText(any(0, 4) == 0 ? L"" : L"x\r\n"); break;
                case 18: memo.Lines()->SetText(any(0, 5) == 0 ? L"" : L"r\r\ns t u v w x y z"); break;
                case 19: memo.TabKey(0); memo.SetError(y, x, 2); memo.SetBookmarks(any(0, 9), y); break;
                }
            } catch (const std::exception& e) {
                FAIL() << e.what();
            }
            CheckInvariants(memo);
        }
    }
}
