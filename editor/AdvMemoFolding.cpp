#include "editor/AdvMemoFolding.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "editor/AdvMemoStrings.h"
#include "editor/AdvMemoStylers.h"

namespace AdvMemo {

namespace {

std::wstring Upper(std::wstring s) {
    for (wchar_t& c : s) c = wchar_t(std::towupper(c));
    return s;
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

}  // namespace

bool FoldIsNode(const IFoldLines& lines, int line) {
    const TLineProp* p = line >= 0 && line < lines.Count() ? lines.Prop(line) : nullptr;
    return p && p->HasChildren();
}

bool FoldIsCollapsed(const IFoldLines& lines, int line) {
    const TLineProp* p = line >= 0 && line < lines.Count() ? lines.Prop(line) : nullptr;
    return p && p->HasChildren() && !p->Expanded();
}

int FoldNodeEndLine(const IFoldLines& lines, int start) {
    if (!FoldIsNode(lines, start)) return -1;
    int open = 1, closed = 0;
    const int n = lines.Count();
    for (int i = start + 1; i < n; ++i) {
        const TLineProp* p = lines.Prop(i);
        if (!p) continue;
        if (p->LastChild()) {
            closed += p->LastChildOfParents();
            if (closed >= open) return i;
        }
        if (p->HasChildren()) ++open;
    }
    return -1;
}

bool FoldAddNode(IFoldLines& lines, int start, int end, bool byCode) {
    const int n = lines.Count();
    if (start < 0 || start >= n || FoldIsNode(lines, start) || end < 0 || end >= n || start >= end) return false;
    TLineProp* s = lines.EnsureProp(start);
    s->SetHasChildren(true);
    if (byCode) s->ByCode = true;
    for (int i = start + 1; i <= end; ++i) {
        TLineProp* p = lines.EnsureProp(i);
        p->SetHasParent(true);
        if (byCode) p->ByCode = true;
    }
    TLineProp* e = lines.EnsureProp(end);
    e->SetLastChildOfParents(e->LastChildOfParents() + 1);
    return true;
}

int FoldAddNodes(IFoldLines& lines, const std::vector<std::pair<int, int>>& spans, bool byCode) {
    const int n = lines.Count();
    // Inner lines are counted into `cover` (+1 after a start, -1 after an end) and marked in one
    // sweep, instead of once for every span that covers them.
    std::vector<int> cover(size_t(n) + 1, 0);
    int added = 0;
    for (const auto& [start, end] : spans) {
        if (start < 0 || start >= n || FoldIsNode(lines, start) || end < 0 || end >= n || start >= end) continue;
        TLineProp* s = lines.EnsureProp(start);
        s->SetHasChildren(true);
        if (byCode) s->ByCode = true;
        TLineProp* e = lines.EnsureProp(end);
        e->SetLastChildOfParents(e->LastChildOfParents() + 1);
        ++cover[size_t(start) + 1];
        --cover[size_t(end) + 1];
        ++added;
    }
    for (int i = 0, depth = 0; i < n; ++i) {
        depth += cover[size_t(i)];
        if (depth <= 0) continue;
        TLineProp* p = lines.EnsureProp(i);
        p->SetHasParent(true);
        if (byCode) p->ByCode = true;
    }
    return added;
}

bool FoldRemoveNode(IFoldLines& lines, int start) {
    if (!FoldIsNode(lines, start)) return false;
    TLineProp* s = lines.Prop(start);
    const bool nested = s->HasParent();
    int open = 1, closed = 0;
    const int n = lines.Count();
    for (int i = start + 1; i < n; ++i) {
        TLineProp* p = lines.Prop(i);
        if (!p) continue;
        const bool direct = open - closed == 1;
        if (p->LastChild()) {
            closed += p->LastChildOfParents();
            if (closed >= open) {
                p->SetLastChildOfParents(p->LastChildOfParents() - 1);
                // An end shared with an enclosing node stays inside that one.
                if (!nested && !p->LastChild()) p->SetHasParent(false);
                s->SetHasChildren(false);
                s->SetExpanded(true);
                return true;
            }
        }
        if (direct && !nested) p->SetHasParent(false);
        if (p->HasChildren()) ++open;
    }
    return false;
}

int FoldRemoveAuto(IFoldLines& lines) {
    int remaining = 0;
    const int n = lines.Count();
    for (int i = 0; i < n; ++i) {
        TLineProp* p = lines.Prop(i);
        if (!p) continue;
        if (!p->ByCode) {
            p->SetExpanded(true);
            p->SetHasChildren(false);
            p->SetHasParent(false);
            p->FLastChildOfParents = 0;
        } else if (p->HasChildren()) {
            ++remaining;
        }
    }
    return remaining;
}

bool FoldRemoveEndingNode(IFoldLines& lines, int line) {
    TLineProp* e = line >= 0 && line < lines.Count() ? lines.Prop(line) : nullptr;
    if (!e || !e->LastChild()) return false;
    int need = 1, start = -1;
    for (int j = line - 1; j >= 0 && start < 0; --j) {
        const TLineProp* q = lines.Prop(j);
        if (!q) continue;
        if (q->HasChildren() && --need == 0) start = j;
        else if (q->LastChild()) need += q->LastChildOfParents();
    }
    if (start < 0) return false;
    const TLineProp* next = line + 1 < lines.Count() ? lines.Prop(line + 1) : nullptr;
    const bool nextInside = next && next->HasParent();
    if (!nextInside) {
        int depth = 0;
        for (int i = start + 1; i < line; ++i) {
            TLineProp* p = lines.Prop(i);
            if (!p) continue;
            if (p->LastChild()) depth -= p->LastChildOfParents();
            if (depth <= 0) p->SetHasParent(false);
            if (p->HasChildren()) ++depth;
        }
    }
    e->SetLastChildOfParents(e->LastChildOfParents() - 1);
    e->SetHasParent(nextInside);
    TLineProp* s = lines.Prop(start);
    s->SetHasChildren(false);
    s->SetExpanded(true);
    return true;
}

namespace {

// One step of the row walk: the line after `i` that starts the next row.
int NextRowLine(const IFoldLines& lines, int i, int& end) {
    end = -1;
    if (FoldIsCollapsed(lines, i)) {
        end = FoldNodeEndLine(lines, i);
        if (end >= 0) return end + 1;
    }
    return i + 1;
}

}  // namespace

int FoldVisToLine(const IFoldLines& lines, int row) {
    const int n = lines.Count();
    int end = -1, count = 0;
    for (int i = 0; i < n; ++count) {
        if (count == row) return i;
        i = NextRowLine(lines, i, end);
    }
    // Rows past the last shown one lie past the text, so walks over rows end there instead
    // of coming back to lines already shown.
    return row < 0 ? row : n + (row - count);
}

int FoldLineToVis(const IFoldLines& lines, int line) {
    const int n = lines.Count();
    if (line < 0 || line >= n) return line;
    int end = -1;
    for (int i = 0, count = 0; i < n; ++count) {
        if (i == line) return count;
        const int next = NextRowLine(lines, i, end);
        if (end >= 0 && line <= end) return count;
        i = next;
    }
    return line;
}

void TFoldRowIndex::Rebuild(const IFoldLines& lines) {
    const int n = lines.Count();
    FShown.assign(size_t(n), 0);
    FTree.assign(size_t(n) + 1, 0);
    FRowCount = 0;
    int end = -1;
    for (int i = 0; i < n; i = NextRowLine(lines, i, end)) {
        FShown[size_t(i)] = 1;
        ++FRowCount;
    }
    // The count tree in one pass: each node passes its sum on to its parent.
    for (int i = 1; i <= n; ++i) {
        FTree[size_t(i)] += FShown[size_t(i) - 1];
        if (const int parent = i + (i & -i); parent <= n) FTree[size_t(parent)] += FTree[size_t(i)];
    }
    FStep = 1;
    while (FStep * 2 <= n) FStep *= 2;
}

void TFoldRowIndex::SetShown(int line, bool shown) {
    if (bool(FShown[size_t(line)]) == shown) return;
    FShown[size_t(line)] = shown ? 1 : 0;
    const int delta = shown ? 1 : -1;
    FRowCount += delta;
    const int n = static_cast<int>(FShown.size());
    for (int i = line + 1; i <= n; i += i & -i) FTree[size_t(i)] += delta;
}

int TFoldRowIndex::ShownUpTo(int line) const {
    int sum = 0;
    for (int i = line + 1; i > 0; i -= i & -i) sum += FTree[size_t(i)];
    return sum;
}

int TFoldRowIndex::VisToLine(int row) const {
    if (row < 0) return row;
    const int n = static_cast<int>(FShown.size());
    if (row >= FRowCount) return n + (row - FRowCount);
    // The shown line with `row` shown lines before it: descend the count tree.
    int at = 0, left = row + 1;
    for (int step = FStep; step > 0; step /= 2) {
        if (at + step <= n && FTree[size_t(at + step)] < left) {
            at += step;
            left -= FTree[size_t(at)];
        }
    }
    return at;
}

int TFoldRowIndex::LineToVis(int line) const {
    if (line < 0 || line >= static_cast<int>(FShown.size())) return line;
    // A hidden line belongs to the row of the last shown line before it: its collapsed node.
    return ShownUpTo(line) - 1;
}

int TFoldRowIndex::HidingNode(int line) const {
    if (line < 0 || line >= static_cast<int>(FShown.size()) || FShown[size_t(line)]) return -1;
    return VisToLine(LineToVis(line));
}

void TFoldRowIndex::NodeToggled(const IFoldLines& lines, int start) {
    const int n = lines.Count();
    if (n != static_cast<int>(FShown.size()) || start < 0 || start >= n) {
        Rebuild(lines);
        return;
    }
    // A node inside a collapsed one changes no row, and neither does a node without an end.
    if (!FShown[size_t(start)]) return;
    const int end = FoldNodeEndLine(lines, start);
    if (end < 0) return;
    int next = end + 1;
    if (FoldIsCollapsed(lines, start)) {
        // The walk went through the node and came out at its end; if it came out further, an
        // inner node ran past this one's end.
        if (next < n && !FShown[size_t(next)]) {
            Rebuild(lines);
            return;
        }
        for (int i = start + 1; i <= end; ++i) SetShown(i, false);
        return;
    }
    int innerEnd = -1;
    for (next = start + 1; next <= end; next = NextRowLine(lines, next, innerEnd)) SetShown(next, true);
    if (next != end + 1) Rebuild(lines);
}

int FoldHidingNode(const IFoldLines& lines, int line) {
    const int n = lines.Count();
    if (line < 0 || line >= n) return -1;
    int end = -1;
    for (int i = 0; i < n && i <= line;) {
        const int next = NextRowLine(lines, i, end);
        if (end >= 0 && line > i && line <= end) return i;
        i = next;
    }
    return -1;
}

void FoldExpandParents(IFoldLines& lines, int line) {
    const TLineProp* p = line >= 0 && line < lines.Count() ? lines.Prop(line) : nullptr;
    if (!p || !p->HasParent()) return;
    int need = 1;
    for (int j = line - 1; j >= 0; --j) {
        TLineProp* q = lines.Prop(j);
        if (!q) continue;
        if (q->HasChildren() && --need == 0) {
            q->SetExpanded(true);
            if (!q->HasParent()) return;
            need = 1;
        } else if (q->LastChild()) {
            need += q->LastChildOfParents();
        }
    }
}

namespace {

struct TDef {
    std::wstring Id, Start, End;
    TRegionType Type;
};

struct TEntry {
    int Start, End, Def;
    bool FromSecond;
};

struct TPending {
    int Line = -1, Def = -1;
    bool Set() const { return Line >= 0; }
};

std::wstring WordDelimiters(const TAdvCustomMemoStyler& styler) {
    std::wstring d;
    const TElementStyles& styles = *styler.AllStyles();
    for (int i = 0; i < styles.Count(); ++i)
        if (styles.Items(i)->StyleType() == stSymbol) d += styles.Items(i)->Symbols();
    if (d.find(L'{') == std::wstring::npos) d += L'{';
    if (d.find(L'}') == std::wstring::npos) d += L'}';
    std::erase_if(d, [](wchar_t c) { return c == L'/' || c == L'<' || c == L'>'; });
    return d;
}

// Strips the comments off an upper-cased line; `inComment` carries a multi-line comment over.
// Closing delimiters go with their comment, so a comment's "}" never counts as a block end.
std::wstring StripComments(const TAdvCustomMemoStyler& styler, std::wstring s, bool& inComment) {
    if (inComment) {
        const auto hit = styler.FindCommentEnd(s);
        if (hit.Pos == 0) return {};
        inComment = false;
        s.erase(0, size_t(hit.Pos - 1 + hit.Length));
    }
    for (;;) {
        int lcLen = 0;
        const int lc = styler.FindLineComment(s, lcLen);
        const auto cs = styler.FindCommentStart(s);
        if (lc > 0 && (cs.Pos == 0 || lc < cs.Pos)) return s.substr(0, size_t(lc - 1));
        if (cs.Pos == 0) return s;
        std::wstring rest = s.substr(size_t(cs.Pos - 1 + cs.Length));
        const auto end = styler.FindCommentEnd(rest);
        if (end.Pos == 0) {
            inComment = true;
            return s.substr(0, size_t(cs.Pos - 1));
        }
        s = s.substr(0, size_t(cs.Pos - 1)) + L" " + rest.substr(size_t(end.Pos - 1 + end.Length));
    }
}

// Membership in a small set of characters: a table for ASCII, a search beyond it.
class TCharSet {
public:
    explicit TCharSet(std::wstring chars) : FChars(std::move(chars)) {
        for (const wchar_t c : FChars)
            if (c < 128) FAscii[size_t(c)] = true;
    }
    bool Has(wchar_t c) const { return c < 128 ? FAscii[size_t(c)] : FChars.find(c) != std::wstring::npos; }

private:
    std::wstring FChars;
    std::array<bool, 128> FAscii{};
};

// The first characters of every comment opener: a line holding none of them has no comment to strip.
std::wstring CommentLeads(const TAdvCustomMemoStyler& styler) {
    std::wstring leads;
    auto add = [&leads](const std::wstring& delimiter) {
        if (!delimiter.empty()) leads += delimiter[0];
    };
    add(styler.LineComment());
    add(styler.MultiCommentLeft());
    const TElementStyles& styles = *styler.AllStyles();
    for (int i = 0; i < styles.Count(); ++i)
        if (styles.Items(i)->StyleType() == stComment) add(styles.Items(i)->CommentLeft());
    return leads;
}

// The line without leading and trailing blanks and controls, upper-cased, into `out`; the
// buffer is reused from line to line, so a line costs no allocation.
void TrimUpper(std::wstring_view s, std::wstring& out) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    out.assign(s.substr(b, e - b));
    for (wchar_t& c : out) {
        if (c >= 128) c = wchar_t(std::towupper(c));
        else if (c >= L'a' && c <= L'z') c = wchar_t(c - (L'a' - L'A'));
    }
}

// The words of `s` as views into it (valid while `s` stays unchanged).
void SplitWords(std::wstring_view s, const TCharSet& delims, std::vector<std::wstring_view>& out) {
    out.clear();
    const size_t n = s.size();
    auto isStop = [](wchar_t c) { return c <= L' ' || c == L';' || c == L':'; };
    for (size_t i = 0; i < n;) {
        const wchar_t c = s[i];
        if (isStop(c)) { ++i; continue; }
        if (delims.Has(c)) {
            out.push_back(s.substr(i, 1));
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && !isStop(s[j]) && !delims.Has(s[j])) ++j;
        out.push_back(s.substr(i, j - i));
        i = j;
    }
}

}  // namespace

std::vector<std::pair<int, int>> FindFoldRegions(const TAdvCustomMemoStyler& styler, int lineCount,
                                                 const std::function<std::wstring_view(int)>& lineText) {
    std::vector<std::pair<int, int>> result;
    const TRegionDefinitions* regions = styler.RegionDefinitions();
    if (!regions || regions->Count() == 0 || lineCount <= 0) return result;
    std::vector<TDef> defs;
    std::wstring defLeads;
    for (int i = 0; i < regions->Count(); ++i) {
        const TRegionDefinition& r = *regions->Items(i);
        defs.push_back({Upper(r.Identifier()), Upper(r.RegionStart()), Upper(r.RegionEnd()), r.RegionType()});
        for (const std::wstring* w : {&defs.back().Id, &defs.back().Start, &defs.back().End})
            if (!w->empty()) defLeads += (*w)[0];
    }
    const TCharSet delims(WordDelimiters(styler));
    const TCharSet commentLeads(CommentLeads(styler));
    // Most words are no definition's word; they are passed over by their first character.
    const TCharSet wordLeads(defLeads);

    std::vector<TEntry> closed, open;
    std::vector<size_t> unclosed;  // indexes into `closed` of the entries still open, oldest first
    std::vector<int> files;
    TPending first, second;
    bool secondUsed = false;
    int nesting = 0;
    bool inComment = false;
    std::wstring text;
    std::vector<std::wstring_view> words;
    auto clearPending = [&] { first = second = TPending{}; secondUsed = false; };
    auto openClosed = [&](const TEntry& entry) {
        unclosed.push_back(closed.size());
        closed.push_back(entry);
    };

    for (int line = 0; line < lineCount; ++line) {
        TrimUpper(lineText(line), text);
        if (inComment || std::any_of(text.begin(), text.end(), [&](wchar_t c) { return commentLeads.Has(c); }))
            text = StripComments(styler, std::move(text), inComment);
        SplitWords(text, delims, words);
        for (const std::wstring_view word : words) {
            if (!wordLeads.Has(word[0])) continue;
            for (int d = 0; d < int(defs.size()); ++d) {
                const TDef& def = defs[size_t(d)];
                const bool closable = def.Type == rtClosed || def.Type == rtIgnore;
                if (word == def.Id) {
                    if (def.Type == rtOpen) {
                        if (!open.empty() && open.back().End < 0 && line > 0) open.back().End = line - 1;
                        open.push_back({line, -1, d, false});
                        continue;
                    }
                    if (def.Type == rtFile) {
                        files.push_back(line);
                        continue;
                    }
                    if (def.Id == def.Start) {
                        openClosed({line, -1, d, false});
                    } else if (!first.Set()) {
                        first = {line, d};
                    } else {
                        if (second.Set()) first = second;
                        second = {line, d};
                    }
                    break;
                }
                if (!closable) continue;
                if (word == def.Start) {
                    if (nesting > 0) {
                        ++nesting;
                    } else if (second.Set() && !secondUsed) {
                        openClosed({second.Line, -1, second.Def, true});
                        secondUsed = true;
                    } else if (!secondUsed && first.Set()) {
                        openClosed({first.Line, -1, first.Def, false});
                        clearPending();
                    } else {
                        ++nesting;
                    }
                    break;
                }
                if (word == def.End) {
                    if (nesting > 0) {
                        --nesting;
                        break;
                    }
                    // The most recent open entry this word ends; only open ones are searched, so
                    // stray ends cost no walk over every region found so far.
                    bool done = false;
                    for (size_t k = unclosed.size(); k-- > 0;) {
                        TEntry& entry = closed[unclosed[k]];
                        if (defs[size_t(entry.Def)].End != word) continue;
                        entry.End = line;
                        if (entry.FromSecond) {
                            second = TPending{};
                            secondUsed = false;
                        }
                        unclosed.erase(unclosed.begin() + std::ptrdiff_t(k));
                        done = true;
                        break;
                    }
                    if (!done) clearPending();
                    break;
                }
            }
        }
    }

    // One region per start line: a later one replaces an earlier one. Entries mostly arrive in
    // line order already; a pending identifier can open one on an earlier line.
    const auto byStart = [](const TEntry& a, const TEntry& b) { return a.Start < b.Start; };
    if (!std::is_sorted(closed.begin(), closed.end(), byStart)) std::stable_sort(closed.begin(), closed.end(), byStart);
    for (size_t i = 0; i < closed.size(); ++i) {
        if (i + 1 < closed.size() && closed[i + 1].Start == closed[i].Start) continue;
        const TEntry& e = closed[i];
        if (e.End > e.Start && defs[size_t(e.Def)].Type != rtIgnore) result.emplace_back(e.Start, e.End);
    }
    for (const TEntry& e : open) result.emplace_back(e.Start, e.End < 0 ? lineCount - 1 : e.End);
    for (int start : files) result.emplace_back(start, lineCount - 1);
    return result;
}

bool FoldSummary(const TAdvCustomMemoStyler& styler, const std::wstring& line, int& defIndex, std::wstring& text) {
    defIndex = -1;
    const TRegionDefinitions* regions = styler.RegionDefinitions();
    if (!regions) return false;
    size_t indent = 0;
    while (indent < line.size() && line[indent] == L' ') ++indent;
    const std::wstring trimmed = Trim(line);
    const std::wstring& right = styler.MultiCommentRight();
    const wchar_t closer = right.size() == 1 ? right[0] : L'\0';
    size_t stop = 0;
    while (stop < trimmed.size() && trimmed[stop] != L' ' && trimmed[stop] != L';' && (closer == 0 || trimmed[stop] != closer)) ++stop;
    const std::wstring word = Upper(Trim(trimmed.substr(0, std::min(stop + 1, trimmed.size()))));
    const std::wstring bare = Upper(trimmed.substr(0, stop));
    for (int i = 0; i < regions->Count(); ++i) {
        const TRegionDefinition& r = *regions->Items(i);
        const std::wstring id = Upper(r.Identifier()), st = Upper(r.RegionStart()), en = Upper(r.RegionEnd());
        auto is = [&](const std::wstring& w) { return !w.empty() && (w == id || w == st || w == en); };
        if (!is(word) && !is(bare)) continue;
        defIndex = i;
        if (!r.ShowComments()) return false;
        std::wstring rest = stop < trimmed.size() ? trimmed.substr(stop) : std::wstring();
        if (closer != 0) {
            const size_t c = rest.find(closer, rest.empty() || rest[0] != closer ? 0 : 1);
            if (c != std::wstring::npos) rest.erase(c);
        }
        text = line.substr(0, indent) + L"[" + Trim(rest) + L"]";
        return true;
    }
    return false;
}

CLASSLIB_IMPLEMENT(TCodeFolding, ClassLib::TPersistent)

TCodeFolding::TCodeFolding()
    : FExpandGlyph(std::make_unique<ClassLib::TBitmap>()), FCollapsedGlyph(std::make_unique<ClassLib::TBitmap>()) {}

TCodeFolding::~TCodeFolding() = default;

const ClassLib::TPropertyList& TCodeFolding::Published() {
    using F = TCodeFolding;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"Enabled", &F::Enabled, &F::SetEnabled, false)
        .Colour(L"LineColor", &F::LineColor, &F::SetLineColor, ClassLib::TColor(0x808080))
        .SubObject(L"ExpandGlyph", &F::ExpandGlyph)
        .SubObject(L"CollapsedGlyph", &F::CollapsedGlyph);
    return list;
}

void TCodeFolding::Assign(const ClassLib::TPersistent* source) {
    if (const auto* other = dynamic_cast<const TCodeFolding*>(source)) {
        SetEnabled(other->FEnabled);
        SetLineColor(other->FLineColor);
        return;
    }
    ClassLib::TPersistent::Assign(source);
}

void TCodeFolding::SetEnabled(bool value) {
    FEnabled = value;
    Changed(2);
}

void TCodeFolding::SetLineColor(ClassLib::TColor value) {
    if (value == FLineColor) return;
    FLineColor = value;
    Changed(1);
}

void TCodeFolding::SetExpandGlyph(const ClassLib::TBitmap* value) {
    FExpandGlyph->Assign(value);
    Changed(1);
}

void TCodeFolding::SetCollapsedGlyph(const ClassLib::TBitmap* value) {
    FCollapsedGlyph->Assign(value);
    Changed(1);
}

}  // namespace AdvMemo
