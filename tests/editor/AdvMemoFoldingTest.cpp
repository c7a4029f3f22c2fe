#include "editor/AdvMemo.h"
#include "editor/AdvMemoFolding.h"

#include "classlib/Form.h"
#include "editor/AdvmCSHS.h"
#include "HangBound.h"
#include "support/MemorySurface.h"
#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace AdvMemo;
using ClassLib::TColor;
using ClassLib::TFindOptions;

namespace {

using TSpans = std::vector<std::pair<int, int>>;

// Line records in a plain list, as the line store keeps them.
class TPropLines final : public IFoldLines {
public:
    explicit TPropLines(int count) : FProps(size_t(count)) {}
    int Count() const override { return int(FProps.size()); }
    TLineProp* Prop(int index) const override { return FProps[size_t(index)].get(); }
    TLineProp* EnsureProp(int index) override {
        auto& p = FProps[size_t(index)];
        if (!p) p = std::make_unique<TLineProp>();
        return p.get();
    }
    void Collapse(int line) { EnsureProp(line)->SetExpanded(false); }
private:
    std::vector<std::unique_ptr<TLineProp>> FProps;
};

std::vector<std::wstring> Split(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(L'\n', from);
        lines.push_back(text.substr(from, at == std::wstring::npos ? std::wstring::npos : at - from));
        if (at == std::wstring::npos) return lines;
        from = at + 1;
    }
}

TSpans Regions(const TAdvCustomMemoStyler& styler, const std::wstring& text) {
    const std::vector<std::wstring> lines = Split(text);
    return FindFoldRegions(styler, int(lines.size()), [&lines](int i) { return std::wstring_view(lines[size_t(i)]); });
}

// Every cell 8 x 16 pixels.
class TGridMeasure : public ITextMeasure {
public:
    void SetFont(const std::wstring&, int, bool) override {}
    int TextWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
    int TextHeight(const std::wstring&) override { return 15; }
};

}  // namespace

// ---------------------------------------------------------------- regions found in text

TEST(FoldRegions, TheProgramsDefinitionsFindTheirRegions) {
    TAdvMemo owner(nullptr);
    TAdvCustomMemoStyler* styler = AdvmCSHS::CreateCMemoStyler(&owner);
    const struct {
        const wchar_t* text;
        TSpans spans;
    } cases[] = {
        // The identifier pends until its block opens on the next line.
        {L"namespace Net\n{\n  int a;\n}\nint b;", {{0, 3}}},
        // An anonymous block inside only moves the nesting counter.
        {L"namespace Net {\n  {\n  }\n  int a;\n}", {{0, 4}}},
        // Braces inside a line comment and inside an unterminated comment do not count.
        {L"namespace Net {\n  int a; // }\n}", {{0, 2}}},
        {L"namespace Net {\n  /* }\n  still } */ }\nint b;", {{0, 2}}},
        {L"namespace Net { /* } */\n}", {{0, 1}}},
        // A comment's closing delimiter is not a word of its own.
        {L"namespace Net {\n  /* a\n  */ int b;\n}", {{0, 3}}},
        {L"#region Setup\nint a;\n#endregion", {{0, 2}}},
        {L"namespace Net {\n#region Inner\nint a;\n#endregion\n}", {{0, 4}, {1, 3}}},
        // A fold word counts once: the "}" before a comment closes one node, not two.
        {L"namespace A {\n namespace B {\n } /* end of B */\n}", {{0, 3}, {1, 2}}},
        // A one-line region is no node; a region never closed is dropped.
        {L"namespace Net { }\nint a;", {}},
        {L"namespace Net {\nint a;", {}},
        {L"int a;\n}\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Regions(*styler, c.text), c.spans) << testing::PrintToString(std::wstring(c.text));
}

TEST(FoldRegions, ABraceDefinitionFoldsEveryBlock) {
    TAdvMemo owner(nullptr);
    TAdvCustomMemoStyler* styler = AdvmCSHS::CreateCMemoStyler(&owner);
    styler->RegionDefinitions()->Clear();
    styler->RegionDefinitions()->AddRegion(L"{", L"{", L"}", rtClosed);
    EXPECT_EQ(Regions(*styler, L"int f() {\n  if (a) {\n    b();\n  }\n}\nint g() {\n}"), (TSpans{{0, 4}, {1, 3}, {5, 6}}));
    // An ignored region is matched (its end is used up) but gives no node.
    styler->RegionDefinitions()->Items(0)->SetRegionType(rtIgnore);
    EXPECT_EQ(Regions(*styler, L"{\n}"), TSpans{});
}

TEST(FoldRegions, OpenAndFileRegionsRunToTheNextOrTheEnd) {
    TAdvMemo owner(nullptr);
    TAdvCustomMemoStyler* styler = AdvmCSHS::CreateCMemoStyler(&owner);
    styler->RegionDefinitions()->Clear();
    styler->RegionDefinitions()->AddRegion(L"section", L"", L"", rtOpen);
    styler->RegionDefinitions()->AddRegion(L"unit", L"", L"", rtFile);
    EXPECT_EQ(Regions(*styler, L"unit x\nsection a\n1\nsection b\n2\n3"), (TSpans{{1, 2}, {3, 5}, {0, 5}}));
}

// ---------------------------------------------------------------- nodes and rows

TEST(FoldNodes, AddRefusesBadSpansAndChangesNothing) {
    TPropLines lines(6);
    ASSERT_TRUE(FoldAddNode(lines, 1, 3, false));
    const struct { int start, end; } refused[] = {{-1, 2}, {6, 7}, {1, 4}, {2, 2}, {3, 2}, {0, -1}, {0, 6}};
    for (const auto& r : refused) EXPECT_FALSE(FoldAddNode(lines, r.start, r.end, false)) << r.start << ".." << r.end;
    EXPECT_EQ(FoldNodeEndLine(lines, 1), 3);
    for (int i : {0, 4, 5}) EXPECT_TRUE(lines.Prop(i) == nullptr) << i;
}

TEST(FoldNodes, CollapsedNodesHideTheirLinesEndIncluded) {
    // 0 { 1 { 2 } 3 } 4 | 5 { 6 7 } 8
    TPropLines lines(9);
    ASSERT_TRUE(FoldAddNode(lines, 0, 3, false));
    ASSERT_TRUE(FoldAddNode(lines, 1, 2, false));
    ASSERT_TRUE(FoldAddNode(lines, 5, 7, true));
    EXPECT_EQ(FoldNodeEndLine(lines, 0), 3);
    EXPECT_EQ(FoldNodeEndLine(lines, 1), 2);
    EXPECT_EQ(FoldNodeEndLine(lines, 4), -1);
    lines.Collapse(1);
    lines.Collapse(5);
    // line -> row; hidden lines give their node's row; beyond the text maps to itself
    const int rowOfLine[] = {0, 1, 1, 2, 3, 4, 4, 4, 5};
    for (int line = 0; line < 9; ++line) EXPECT_EQ(FoldLineToVis(lines, line), rowOfLine[line]) << line;
    EXPECT_EQ(FoldLineToVis(lines, 20), 20);
    const int lineOfRow[] = {0, 1, 3, 4, 5, 8};
    for (int row = 0; row < 6; ++row) EXPECT_EQ(FoldVisToLine(lines, row), lineOfRow[row]) << row;
    // Rows past the last one lie past the text: a walk over rows never shows a line twice.
    EXPECT_EQ(FoldVisToLine(lines, 6), 9);
    EXPECT_EQ(FoldVisToLine(lines, 8), 11);
    EXPECT_EQ(FoldHidingNode(lines, 2), 1);
    EXPECT_EQ(FoldHidingNode(lines, 7), 5);
    EXPECT_EQ(FoldHidingNode(lines, 5), -1);
    // The outer node hides the collapsed inner one as a whole.
    lines.Collapse(0);
    EXPECT_EQ(FoldVisToLine(lines, 1), 4);
    EXPECT_EQ(FoldLineToVis(lines, 2), 0);
    EXPECT_EQ(FoldHidingNode(lines, 2), 0);
    // Expanding the parents of a hidden line shows it.
    FoldExpandParents(lines, 2);
    EXPECT_EQ(FoldHidingNode(lines, 2), -1);
    EXPECT_TRUE(lines.Prop(5)->Expanded() == false);
}

TEST(FoldNodes, TheRowIndexMapsLikeTheWalk) {
    // Seeded random nests of nodes, some collapsed: every row and line, and a few past the text.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + int(random() % 40);
        TPropLines lines(count);
        for (int tries = int(random() % 12); tries > 0; --tries) {
            const int start = int(random() % unsigned(count));
            FoldAddNode(lines, start, start + 1 + int(random() % 8), false);  // refused ones change nothing
        }
        for (int line = 0; line < count; ++line)
            if (FoldIsNode(lines, line) && random() % 2) lines.Collapse(line);
        TFoldRowIndex index;
        index.Rebuild(lines);
        SCOPED_TRACE(round);
        for (int i = -2; i < count + 3; ++i) {
            EXPECT_EQ(index.VisToLine(i), FoldVisToLine(lines, i)) << "row " << i;
            EXPECT_EQ(index.LineToVis(i), FoldLineToVis(lines, i)) << "line " << i;
        }
    }
}

// The same random nests: the index follows single nodes expanded and collapsed without a
// rebuild, and adding all spans at once marks the lines as adding them one by one does.
TEST(FoldNodes, TheRowIndexFollowsToggledNodesAndBatchAddsMarkAsSingleOnes) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const int count = 1 + int(random() % 40);
        TSpans spans;
        for (int tries = int(random() % 12); tries > 0; --tries) {
            const int start = int(random() % unsigned(count + 1)) - int(random() % 2);  // a few out of range
            spans.emplace_back(start, start + 1 + int(random() % 8));
        }
        TPropLines one(count), all(count);
        int added = 0;
        for (const auto& [start, end] : spans) added += FoldAddNode(one, start, end, false) ? 1 : 0;
        EXPECT_EQ(FoldAddNodes(all, spans, false), added);
        for (int line = 0; line < count; ++line) {
            const TLineProp* a = one.Prop(line);
            const TLineProp* b = all.Prop(line);
            ASSERT_EQ(a == nullptr, b == nullptr) << "line " << line;
            if (!a) continue;
            EXPECT_EQ(a->HasChildren(), b->HasChildren()) << "line " << line;
            EXPECT_EQ(a->HasParent(), b->HasParent()) << "line " << line;
            EXPECT_EQ(a->LastChildOfParents(), b->LastChildOfParents()) << "line " << line;
        }

        TFoldRowIndex index;
        index.Rebuild(all);
        for (int toggles = 0; toggles < 10; ++toggles) {
            const int line = int(random() % unsigned(count));
            if (!FoldIsNode(all, line)) continue;
            all.Prop(line)->SetExpanded(!all.Prop(line)->Expanded());
            index.NodeToggled(all, line);
            for (int i = -1; i < count + 2; ++i) {
                ASSERT_EQ(index.VisToLine(i), FoldVisToLine(all, i)) << "row " << i << " after toggling " << line;
                ASSERT_EQ(index.LineToVis(i), FoldLineToVis(all, i)) << "line " << i << " after toggling " << line;
                ASSERT_EQ(index.HidingNode(i), FoldHidingNode(all, i)) << "line " << i << " after toggling " << line;
            }
        }
    }
}

TEST(FoldNodes, ExpandParentsSkipsClosedSiblingsAbove) {
    // 0 { 1 { 2 } 3 { 4 5 } 6 }
    TPropLines lines(7);
    ASSERT_TRUE(FoldAddNode(lines, 0, 6, false));
    ASSERT_TRUE(FoldAddNode(lines, 1, 2, false));
    ASSERT_TRUE(FoldAddNode(lines, 3, 5, false));
    for (int n : {0, 1, 3}) lines.Collapse(n);
    FoldExpandParents(lines, 4);
    EXPECT_TRUE(lines.Prop(0)->Expanded());
    EXPECT_TRUE(lines.Prop(3)->Expanded());
    EXPECT_FALSE(lines.Prop(1)->Expanded());
}

TEST(FoldNodes, RemovingNodesKeepsTheOthersWhole) {
    TPropLines lines(8);
    ASSERT_TRUE(FoldAddNode(lines, 0, 6, false));
    ASSERT_TRUE(FoldAddNode(lines, 1, 3, false));
    ASSERT_TRUE(FoldAddNode(lines, 4, 5, true));
    // Removing the inner node by its start.
    EXPECT_TRUE(FoldRemoveNode(lines, 1));
    EXPECT_FALSE(FoldIsNode(lines, 1));
    EXPECT_FALSE(FoldRemoveNode(lines, 1));
    EXPECT_EQ(FoldNodeEndLine(lines, 0), 6);
    EXPECT_EQ(FoldNodeEndLine(lines, 4), 5);
    // The innermost node ending on a line goes when that line is deleted.
    EXPECT_TRUE(FoldRemoveEndingNode(lines, 5));
    EXPECT_FALSE(FoldIsNode(lines, 4));
    EXPECT_EQ(FoldNodeEndLine(lines, 0), 6);
    // Clearing the automatic nodes leaves those added by code.
    ASSERT_TRUE(FoldAddNode(lines, 2, 3, true));
    EXPECT_EQ(FoldRemoveAuto(lines), 1);
    EXPECT_FALSE(FoldIsNode(lines, 0));
    EXPECT_EQ(FoldNodeEndLine(lines, 2), 3);
}

// ---------------------------------------------------------------- the editor

namespace {

class MemoFolding : public testing::Test {
protected:
    void SetUp() override {
        memo.SetTextMeasure(&measure);
        memo.SetBounds(0, 0, 400, 200);
        styler = AdvmCSHS::CreateCMemoStyler(&memo);
        memo.SetSyntaxStyles(styler);
    }
    // 0..9: a namespace spanning 1..8 with an inner region 3..6
    void LoadSample() {
        memo.Lines()->SetText(L"int a;\nnamespace Net\n{\n#region R\n  int b;\n  int c;\n#endregion\n  int d;\n}\nint e;\nint f;\nint g;");
        memo.CodeFolding().SetEnabled(true);
    }
    ClassLib::TPoint FoldColumnPoint(int row) const {
        const TMemoRect column = memo.GetFoldGutterRect();
        const TMemoRect first = memo.LineRect(memo.TopLine());
        return {column.Left + 6, column.Top + row * (first.Bottom - first.Top) + 8};
    }
    void Key(WORD key) { memo.KeyDown(key, 0); }
    TGridMeasure measure;
    TAdvMemo memo{nullptr};
    TAdvCustomMemoStyler* styler = nullptr;
};

}  // namespace

TEST_F(MemoFolding, OffByDefaultAndThenSilent) {
    memo.Lines()->SetText(L"namespace Net {\n}\n");
    EXPECT_FALSE(memo.CodeFolding().Enabled());
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 0);
    EXPECT_EQ(memo.GetFoldGutterRect().Right - memo.GetFoldGutterRect().Left, 0);
    EXPECT_EQ(memo.VisIndexToLineIndex(1), 1);
}

TEST_F(MemoFolding, EnablingFoldsAndKeepsExpansionAcrossARun) {
    const int left = memo.TextArea().Left;
    LoadSample();
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 2);
    EXPECT_EQ(memo.TextArea().Left, left + 16);
    EXPECT_EQ(memo.GetNodeEndLine(1), 8);
    EXPECT_EQ(memo.GetNodeEndLine(3), 6);
    memo.SetExpandNode(3, false);
    memo.AutoCodeFold();
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 2);
    EXPECT_FALSE(memo.GetExpandNode(3));
    EXPECT_TRUE(memo.GetExpandNode(1));
    // Switching off leaves the marks, and every line is shown again.
    memo.CodeFolding().SetEnabled(false);
    EXPECT_EQ(memo.LineIndexToVisIndex(5), 5);
}

TEST_F(MemoFolding, RemoveAllKeepsNodesAddedByCode) {
    LoadSample();
    ASSERT_TRUE(memo.AddCodeFolding(9, 11));
    EXPECT_FALSE(memo.AddCodeFolding(9, 11));
    EXPECT_FALSE(memo.AddCodeFolding(10, 10));
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 3);
    memo.RemoveAllCodeFolding();
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 1);
    EXPECT_TRUE(memo.IsNode(9));
    EXPECT_FALSE(memo.IsNode(1));
    EXPECT_EQ(memo.GetFoldGutterRect().Right - memo.GetFoldGutterRect().Left, 16);
}

TEST_F(MemoFolding, DeletingAStartOrEndLineRemovesItsNode) {
    LoadSample();
    memo.Lines()->Delete(6);  // #endregion
    EXPECT_FALSE(memo.IsNode(3));
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 1);
    EXPECT_EQ(memo.GetNodeEndLine(1), 7);
    memo.Lines()->Delete(1);  // namespace
    EXPECT_EQ(memo.CodeFoldingNodeCount(), 0);
}

TEST_F(MemoFolding, CollapsingMovesAHiddenCaretToTheNodeLine) {
    LoadSample();
    memo.SetCursor(3, 5);
    memo.SetExpandNode(3, false);
    EXPECT_EQ(memo.CurY(), 3);
    memo.SetCursor(0, 7);
    memo.CollapseAllNodes();
    EXPECT_EQ(memo.CurY(), 1);
    memo.ExpandAllNodes();
    EXPECT_TRUE(memo.GetExpandNode(1));
    EXPECT_TRUE(memo.GetExpandNode(3));
}

TEST_F(MemoFolding, RowsFollowLinesAndNodesChangedAfterACollapse) {
    LoadSample();
    memo.SetExpandNode(3, false);
    EXPECT_EQ(memo.VisIndexToLineIndex(4), 7);
    // A line above moves the node and its hidden lines down one.
    memo.Lines()->Insert(0, L"int z;");
    EXPECT_EQ(memo.VisIndexToLineIndex(4), 4);
    EXPECT_EQ(memo.VisIndexToLineIndex(5), 8);
    EXPECT_EQ(memo.LineIndexToVisIndex(6), 4);
    memo.SetExpandNode(4, true);
    EXPECT_EQ(memo.VisIndexToLineIndex(5), 5);
    memo.RemoveCodeFolding(2);
    memo.SetExpandNode(4, false);
    EXPECT_EQ(memo.LineIndexToVisIndex(8), 5);
}

// Each block holds every later one: a span per block used to mark every line it covers.
TEST_F(MemoFolding, DeeplyNestedBlocksFoldInTimeLinearInTheText) {
    constexpr int Depth = 100000;
    std::wstring text;
    for (int i = 0; i < Depth; ++i) text += L"{\r\n";
    for (int i = 0; i < Depth; ++i) text += L"}\r\n";
    styler->RegionDefinitions()->Clear();
    styler->RegionDefinitions()->AddRegion(L"{", L"{", L"}", rtClosed);
    memo.Lines()->SetText(text);
    EditorTests::ExpectNoHang([&] { memo.CodeFolding().SetEnabled(true); });
    EXPECT_EQ(memo.CodeFoldingNodeCount(), Depth);
    EXPECT_EQ(memo.GetNodeEndLine(0), 2 * Depth - 1);
    EXPECT_EQ(memo.GetNodeEndLine(Depth - 1), Depth);
    memo.SetExpandNode(Depth / 2, false);
    EXPECT_EQ(memo.VisIndexToLineIndex(Depth / 2 + 1), Depth + Depth / 2);
}

// Replacing every match of a text whose blocks are all collapsed opens each match's block and
// keeps the rows right, in time linear in the text: every replacement used to redo the rows
// of the whole text.
TEST_F(MemoFolding, ReplaceAllInCollapsedBlocksOpensThemWithoutRedoingAllRows) {
    constexpr int Blocks = 20000;
    std::wstring text;
    for (int i = 0; i < Blocks; ++i) text += L"int f(void)\r\n{\r\n    return Scale(1);\r\n}\r\n";
    text += L"int last;";
    styler->RegionDefinitions()->Clear();
    styler->RegionDefinitions()->AddRegion(L"{", L"{", L"}", rtClosed);
    memo.Lines()->SetText(text);
    memo.CodeFolding().SetEnabled(true);
    memo.CollapseAllNodes();
    ASSERT_EQ(memo.VisIndexToLineIndex(2), 4);  // rows: f, {, f, {, ...
    memo.SetCursor(0, 0);
    int replaced = 0;
    EditorTests::ExpectNoHang([&] {
        replaced = memo.FindAndReplace(L"scale", L"Resize", TFindOptions{ClassLib::frDown, ClassLib::frReplaceAll});
    });
    EXPECT_EQ(replaced, Blocks);
    EXPECT_EQ(memo.Lines()->Get(4 * Blocks - 2), L"    return Resize(1);");
    EXPECT_TRUE(memo.GetExpandNode(1));
    EXPECT_TRUE(memo.GetExpandNode(4 * Blocks - 3));
    EXPECT_EQ(memo.LineIndexToVisIndex(4 * Blocks), 4 * Blocks);
    EXPECT_EQ(memo.VisIndexToLineIndex(4 * Blocks - 2), 4 * Blocks - 2);
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Text(), text);
}

TEST_F(MemoFolding, CaretKeysAndClicksSkipHiddenLines) {
    LoadSample();
    memo.SetExpandNode(3, false);
    memo.SetCursor(0, 3);
    Key(VK_DOWN);
    EXPECT_EQ(memo.CurY(), 7);
    Key(VK_UP);
    EXPECT_EQ(memo.CurY(), 3);
    memo.SetExpandNode(1, false);
    memo.SetCursor(0, 0);
    Key(VK_NEXT);  // five rows shown, fewer than a page: the last row's line
    EXPECT_EQ(memo.CurY(), 11);
    // A click on row 2 lands on the line after the collapsed namespace.
    memo.SetTopLine(0);
    const TMemoRect row2 = memo.LineRect(9);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, row2.Left + 9, row2.Top + 4);
    memo.MouseUp(ClassLib::mbLeft, 0, row2.Left + 9, row2.Top + 4);
    EXPECT_EQ(memo.CurY(), 9);
}

TEST_F(MemoFolding, AFoldColumnClickTogglesTheNodeAndReports) {
    LoadSample();
    std::vector<std::pair<int, bool>> reported;
    memo.OnCodeFold = [&](ClassLib::TObject*, int line, bool expanded) { reported.emplace_back(line, expanded); };
    const ClassLib::TPoint onNode = FoldColumnPoint(1), onPlain = FoldColumnPoint(0);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, onPlain.X, onPlain.Y);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, onNode.X, onNode.Y);
    EXPECT_FALSE(memo.GetExpandNode(1));
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_EQ(memo.VisIndexToLineIndex(2), 9);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, onNode.X, onNode.Y);
    EXPECT_TRUE(memo.GetExpandNode(1));
    EXPECT_EQ(reported, (std::vector<std::pair<int, bool>>{{1, false}, {1, true}}));
}

// ---------------------------------------------------------------- drawing

namespace {

// A memo painted on a 32-bit memory DC of its size.
class TPaintedFoldMemo {
public:
    TPaintedFoldMemo() {
        FMemo.SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(&FMemo));
        FMemo.SetBounds(0, 0, 400, 240);
        FMemo.Lines()->SetText(L"int a;\nnamespace Net {\n  int b;\n}\nnamespace Other {\n  int c;\n}\nint d;");
        FMemo.CodeFolding().SetLineColor(ClassLib::clRed);
        FMemo.CodeFolding().SetEnabled(true);
        FMemo.SetExpandNode(4, false);
        FMemo.PaintTo(FSurface.DC());
    }
    TAdvMemo& Memo() { return FMemo; }
    bool Is(int x, int y, TColor colour) const { return FSurface.Is(x, y, colour); }
private:
    TAdvMemo FMemo{nullptr};
    TestSupport::TMemorySurface FSurface{400, 240};
};

}  // namespace

TEST(MemoFoldPaint, BoxesSignsAndTheEllipsisBox) {
    TPaintedFoldMemo painted;
    TAdvMemo& memo = painted.Memo();
    const TColor ink = ClassLib::clRed, back = memo.BkColor();
    const int x = memo.GetFoldGutterRect().Left;
    auto rowTop = [&](int line) { return memo.LineRect(line).Top; };
    const int h = memo.LineRect(0).Bottom - memo.LineRect(0).Top, mid = (h - 9) / 2;
    const struct {
        const char* what;
        int dx, line, dy;
        TColor colour;
    } probes[] = {
        {"expanded box outline", 2, 1, mid + 4, ink},
        {"expanded minus", 7, 1, mid + 4, ink},
        {"expanded: no plus stroke", 6, 1, mid + 2, back},
        {"tree line inside the node", 6, 2, h / 2, ink},
        {"end tick", 9, 3, h - 1, ink},
        {"collapsed box outline", 10, 4, mid + 4, ink},
        {"collapsed plus stroke", 6, 4, mid + 2, ink},
        {"no tree line below a collapsed box", 6, 4, h - 1, back},
        {"plain line outside nodes", 6, 7, h / 2, back},
    };
    for (const auto& p : probes) EXPECT_TRUE(painted.Is(x + p.dx, rowTop(p.line) + p.dy, p.colour)) << p.what;
    // The collapsed namespace shows the ellipsis box after its text; the next row is line 7.
    EXPECT_EQ(memo.VisIndexToLineIndex(memo.LineIndexToVisIndex(4) + 1), 7);
    const int textEnd = memo.TextArea().Left + int(memo.Lines()->Get(4).size()) * memo.CharWidth();
    const int bottom = memo.LineRect(4).Bottom;
    EXPECT_TRUE(painted.Is(textEnd + 5, rowTop(4) + 2, ink)) << "ellipsis box edge";
    EXPECT_TRUE(painted.Is(textEnd + 17, bottom - 5, ink)) << "middle dot";
    EXPECT_TRUE(painted.Is(textEnd + 13, bottom - 5, back)) << "between the dots";
}
