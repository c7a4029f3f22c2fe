// The editor's side of code folding: node marks in its line store, the row mapping, the fold
// column's clicks and drawing. The rules themselves live in AdvMemoFolding.cpp.
#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/Pictures.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoDrawUtils.h"

namespace AdvMemo {

namespace {

class TMemoFoldLines final : public IFoldLines {
public:
    explicit TMemoFoldLines(TAdvMemoStrings& lines) : FLines(lines) {}
    int Count() const override { return FLines.Count(); }
    TLineProp* Prop(int index) const override { return FLines.GetLineProp(index); }
    TLineProp* EnsureProp(int index) override { return FLines.CreateLineProp(index); }
private:
    TAdvMemoStrings& FLines;
};

}  // namespace

void TAdvCustomMemo::CodeFoldingChanged(int code) {
    if (code == 2) {
        FCodeFoldingEnabled = FCodeFolding->Enabled();
        AutoCodeFold();
        UpdateScrollBars(true);
        if (Focused()) UpdateCaret(true);
    }
    Invalidate();
}

bool TAdvCustomMemo::FoldRowsCurrent() const {
    const TAdvMemoStrings& store = *Lines();
    return FFoldRowsStore == &store && FFoldRowsStamp == store.ChangeStamp();
}

const TFoldRowIndex& TAdvCustomMemo::FoldRows() const {
    if (!FoldRowsCurrent()) {
        TAdvMemoStrings& store = *Lines();
        FFoldRows.Rebuild(TMemoFoldLines(store));
        FFoldRowsStore = &store;
        FFoldRowsStamp = store.ChangeStamp();
    }
    return FFoldRows;
}

// Every change of nodes or expansion goes through here, so the row index sees it (the marks
// live in the store, which a memo source shares with other memos).
void TAdvCustomMemo::FoldMarksChanged() { Lines()->NoteFoldChanged(); }

// A line rewritten in place keeps every line where it was and its fold marks with it: when
// that rewrite was the only change since the row index was current, the index stays current.
// Without this every replacement of a replace-all rebuilt the index over the whole text.
void TAdvCustomMemo::FoldRowsLineStored() {
    if (FFoldRowsStore == Lines() && FFoldRowsStamp + 1 == Lines()->ChangeStamp()) ++FFoldRowsStamp;
}

void TAdvCustomMemo::SetNodeExpansion(int line, bool expanded) {
    TAdvMemoStrings& store = *Lines();
    const bool current = FoldRowsCurrent();
    store.GetLineProp(line)->SetExpanded(expanded);
    FoldMarksChanged();
    if (!current) return;
    FFoldRows.NodeToggled(TMemoFoldLines(store), line);
    FFoldRowsStamp = store.ChangeStamp();
}

int TAdvCustomMemo::VisIndexToLineIndex(int index) const {
    if (!FCodeFoldingEnabled || FCodeFoldingNodeCount <= 0) return index;
    return FoldRows().VisToLine(index);
}

int TAdvCustomMemo::LineIndexToVisIndex(int index) const {
    if (!FCodeFoldingEnabled || FCodeFoldingNodeCount <= 0) return index;
    return FoldRows().LineToVis(index);
}

bool TAdvCustomMemo::AddFoldNode(int start, int end, bool byCode) {
    TMemoFoldLines lines(*Lines());
    if (!FoldAddNode(lines, start, end, byCode)) return false;
    FoldMarksChanged();
    ++FCodeFoldingNodeCount;
    UpdateScrollBars(true);
    Invalidate();
    return true;
}

void TAdvCustomMemo::RemoveCodeFolding(int startLineIndex) {
    TMemoFoldLines lines(*Lines());
    if (!FoldRemoveNode(lines, startLineIndex)) return;
    FoldMarksChanged();
    FCodeFoldingNodeCount = std::max(FCodeFoldingNodeCount - 1, 0);
    UpdateScrollBars(true);
    Invalidate();
}

void TAdvCustomMemo::RemoveAllCodeFolding() {
    TMemoFoldLines lines(*Lines());
    // Nodes added by code stay, and so does their column: it is the only way to open them.
    FCodeFoldingNodeCount = FoldRemoveAuto(lines);
    FoldMarksChanged();
    UpdateScrollBars(true);
    Invalidate();
}

void TAdvCustomMemo::AdjustFoldingForDeletedLine(int lineIndex) {
    TMemoFoldLines lines(*Lines());
    bool changed = false;
    if (FoldRemoveNode(lines, lineIndex)) {
        FCodeFoldingNodeCount = std::max(FCodeFoldingNodeCount - 1, 0);
        changed = true;
    }
    if (FoldRemoveEndingNode(lines, lineIndex)) {
        FCodeFoldingNodeCount = std::max(FCodeFoldingNodeCount - 1, 0);
        changed = true;
    }
    if (!changed) return;
    FoldMarksChanged();
    Invalidate();
}

void TAdvCustomMemo::AutoCodeFold() {
    const TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!FCodeFoldingEnabled || !styler || !FUseStyler || !styler->RegionDefinitions() ||
        styler->RegionDefinitions()->Count() == 0)
        return;
    TAdvMemoStrings& store = *Lines();
    TMemoFoldLines lines(store);
    // (start line, expanded) of the current nodes.
    std::vector<std::pair<int, bool>> expanded;
    for (int i = 0, n = lines.Count(); i < n; ++i)
        if (const TLineProp* p = lines.Prop(i); p && p->HasChildren()) expanded.emplace_back(i, p->Expanded());
    FCodeFoldingNodeCount = FoldRemoveAuto(lines);
    const auto regions = FindFoldRegions(*styler, store.Count(), [&store](int i) { return store.View(i); });
    FCodeFoldingNodeCount += FoldAddNodes(lines, regions, false);
    // Nodes that start where one started before take its state back; nodes added by code kept theirs.
    for (const auto& [start, wasExpanded] : expanded)
        if (FoldIsNode(lines, start)) lines.Prop(start)->SetExpanded(wasExpanded);
    FoldMarksChanged();
    if (const int hiding = FoldRows().HidingNode(FCurY); hiding >= 0) SetCurY(hiding);
    UpdateScrollBars(true);
    Invalidate();
}

// The collapsed nodes around a line hide it, and a shown line has none around it: they are
// found from the row index, outermost first, instead of by a walk up the text (which went to
// the first line for every match of a replace-all inside a node spanning the file).
void TAdvCustomMemo::ExpandParentNodes(int line) {
    if (!FCodeFoldingEnabled || FCodeFoldingNodeCount <= 0) return;
    bool changed = false;
    for (int hiding; (hiding = FoldRows().HidingNode(line)) >= 0;) {
        const TLineProp* p = Lines()->GetLineProp(hiding);
        if (!p || p->Expanded()) break;  // marks that do not nest; nothing of this node to open
        SetNodeExpansion(hiding, true);
        changed = true;
    }
    if (!changed) return;
    UpdateScrollBars(true);
    Invalidate();
}

void TAdvCustomMemo::ExpandNodeOfLine(int line) {
    if (IsNode(line) && !GetExpandNode(line)) SetExpandNode(line, true);
}

bool TAdvCustomMemo::IsNode(int line) const { return FoldIsNode(TMemoFoldLines(*Lines()), line); }

bool TAdvCustomMemo::IsLastChild(int line) const {
    const TLineProp* p = Lines()->GetLineProp(line);
    return p && p->LastChild();
}

bool TAdvCustomMemo::GetExpandNode(int line) const {
    const TLineProp* p = Lines()->GetLineProp(line);
    return !p || p->Expanded();
}

void TAdvCustomMemo::SetExpandNode(int line, bool value) {
    if (!FCodeFoldingEnabled || !IsNode(line) || GetExpandNode(line) == value) return;
    const bool caretShown = FCaretVisible;
    UpdateCaret(false);
    SetNodeExpansion(line, value);
    AfterFoldExpansion(caretShown);
}

void TAdvCustomMemo::SetAllNodes(bool expanded) {
    if (!FCodeFoldingEnabled) return;
    const bool caretShown = FCaretVisible;
    UpdateCaret(false);
    TAdvMemoStrings& store = *Lines();
    for (int i = 0, n = store.Count(); i < n; ++i)
        if (TLineProp* p = store.GetLineProp(i); p && p->HasChildren()) p->SetExpanded(expanded);
    FoldMarksChanged();
    AfterFoldExpansion(caretShown);
}

void TAdvCustomMemo::AfterFoldExpansion(bool caretShown) {
    // No edit may land in hidden text: a hidden caret goes to the line that hides it.
    if (const int hiding = FoldRows().HidingNode(FCurY); hiding >= 0) {
        ClearSelection();
        SetCurY(hiding);
    }
    if (const int hiding = FoldRows().HidingNode(FTopLine); hiding >= 0) SetTopLine(hiding);
    UpdateScrollBars(true);
    Invalidate();
    if (caretShown) UpdateCaret(true);
}

int TAdvCustomMemo::GetNodeEndLine(int line) const { return FoldNodeEndLine(TMemoFoldLines(*Lines()), line); }

bool TAdvCustomMemo::GetFoldSummary(int line, int& defIndex, std::wstring& text) const {
    defIndex = -1;
    const TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!FCodeFoldingEnabled || !styler || !IsNode(line)) return false;
    return FoldSummary(*styler, LineText(line), defIndex, text);
}

bool TAdvCustomMemo::FoldColumnMouseDown(int x, int y) {
    if (!FCodeFoldingEnabled || FCodeFoldingNodeCount <= 0) return false;
    const TMemoRect column = GetFoldGutterRect();
    if (x < column.Left || x >= column.Right || y < column.Top || y >= column.Bottom) return false;
    const int line = CharFromPos(column.Right, y).LineNo;
    if (line < 0 || line >= LineCount() || !IsNode(line)) return true;
    ClearSelection();
    SetCurY(line);
    if (FActiveLineAtCursor) FActiveLine = FCurY;
    ToggleNode(line);
    SetTopLine(FMouseTopLine);
    if (OnCodeFold) OnCodeFold(this, line, GetExpandNode(line));
    return true;
}

}  // namespace AdvMemo
