#pragma once
// Fold nodes without a window: the marks live in the line records of the memo's line store,
// reached through IFoldLines, so the rules can be checked on a plain list of records. A node
// spans its start line to its end line; collapsed, it hides every line after its start up to
// and including its end. Nodes nest; each end line counts the nodes that end on it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/Object.h"

namespace ClassLib { class TBitmap; }

namespace AdvMemo {

class TLineProp;
class TAdvCustomMemoStyler;

class IFoldLines {
public:
    virtual int Count() const = 0;
    // Null when the line has no record (no marks, expanded).
    virtual TLineProp* Prop(int index) const = 0;
    // Creates the record where missing, quietly.
    virtual TLineProp* EnsureProp(int index) = 0;
protected:
    ~IFoldLines() = default;
};

bool FoldIsNode(const IFoldLines& lines, int line);
bool FoldIsCollapsed(const IFoldLines& lines, int line);
// The end line of the node starting at `start`, or -1.
int FoldNodeEndLine(const IFoldLines& lines, int start);
// Refuses (false, nothing changed) a start out of range or already a node, an end out of
// range, and start >= end.
bool FoldAddNode(IFoldLines& lines, int start, int end, bool byCode);
// FoldAddNode for each span in order, in time linear in the lines and spans however the spans
// nest (each span's inner lines are marked once, not once per span covering them). Returns the
// number of spans added.
int FoldAddNodes(IFoldLines& lines, const std::vector<std::pair<int, int>>& spans, bool byCode);
// True when `start` was a node and its end was found (the caller's node count drops by 1).
bool FoldRemoveNode(IFoldLines& lines, int start);
// Clears every node not added by code; returns the number of nodes that remain.
int FoldRemoveAuto(IFoldLines& lines);
// The innermost node ending on `line` goes, as when that line is deleted; true when one went.
bool FoldRemoveEndingNode(IFoldLines& lines, int line);

// Row <-> line mapping; a hidden line maps to its collapsed node's row, a line beyond the text
// to itself, a row past the last shown one to a line as far past the text.
int FoldVisToLine(const IFoldLines& lines, int row);
int FoldLineToVis(const IFoldLines& lines, int line);
// The same mapping from a count tree over the lines that start a row, so that a row costs a
// logarithmic search rather than a walk from line 0, and expanding or collapsing one node
// updates the lines of that node only. Rebuild it whenever nodes or lines change otherwise.
class TFoldRowIndex {
public:
    void Rebuild(const IFoldLines& lines);
    int VisToLine(int row) const;
    int LineToVis(int line) const;
    int RowCount() const { return FRowCount; }
    // The outermost collapsed node hiding `line`, or -1 when the line is shown (or out of range).
    int HidingNode(int line) const;
    // The node starting at `start` has just been expanded or collapsed, and the index was
    // current before: only the node's own lines are looked at (the whole index is rebuilt
    // when the marks around it do not nest as nodes should).
    void NodeToggled(const IFoldLines& lines, int start);

private:
    void SetShown(int line, bool shown);
    int ShownUpTo(int line) const;  // shown lines in [0, line]
    std::vector<int> FTree;  // 1-based count tree over FShown
    std::vector<unsigned char> FShown;  // FShown[line]: the line starts a row
    int FRowCount = 0;  // invariant: the number of set entries of FShown
    int FStep = 1;  // the highest power of two not above the line count
};
// The outermost collapsed node hiding `line`, or -1 when the line is shown.
int FoldHidingNode(const IFoldLines& lines, int line);
// Expands every node that encloses `line`.
void FoldExpandParents(IFoldLines& lines, int line);

// The regions the styler's definitions find in the text: (start, end) pairs, in the order they
// are to be added. Comments are skipped; a word counts once. `lineText` gives a view of a line
// that stays valid until the next call.
std::vector<std::pair<int, int>> FindFoldRegions(const TAdvCustomMemoStyler& styler, int lineCount,
                                                 const std::function<std::wstring_view(int)>& lineText);

// The summary of a collapsed node line, when its definition shows one; `defIndex` gets the
// definition.
bool FoldSummary(const TAdvCustomMemoStyler& styler, const std::wstring& line, int& defIndex, std::wstring& text);

// The editor's folding settings. The change event gets 1 after a glyph or a changed line colour,
// 2 after every Enabled assignment.
class TCodeFolding : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TCodeFolding, ClassLib::TPersistent)
public:
    TCodeFolding();
    ~TCodeFolding() override;
    static const ClassLib::TPropertyList& Published();
    // Copies Enabled and LineColor.
    void Assign(const ClassLib::TPersistent* source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    ClassLib::TColor LineColor() const { return FLineColor; }
    void SetLineColor(ClassLib::TColor value);
    // Glyphs drawn instead of the plus and minus boxes; empty by default, copied on assignment.
    ClassLib::TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* CollapsedGlyph() const { return FCollapsedGlyph.get(); }
    void SetCollapsedGlyph(const ClassLib::TBitmap* value);

    std::function<void(int code)> OnChange;
private:
    void Changed(int code) { if (OnChange) OnChange(code); }
    bool FEnabled = false;
    ClassLib::TColor FLineColor = 0x808080;
    std::unique_ptr<ClassLib::TBitmap> FExpandGlyph, FCollapsedGlyph;
};

}  // namespace AdvMemo
