#include "editor/AdvMemoFind.h"

#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoLinesUndo.h"
#include "editor/AdvMemoSearchUtils.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <vector>

namespace AdvMemo {

bool IsFindWordChar(wchar_t ch) {
    if ((ch >= L'0' && ch <= L'9') || ch == L'_' || (ch >= L'a' && ch <= L'z')) return true;
    switch (ch) {
        case 224: case 225: case 226: case 228: case 242: case 243: case 244: case 246: return true;
        default: return (ch >= 232 && ch <= 239) || (ch >= 249 && ch <= 252);
    }
}

bool IsNonBlank(wchar_t ch) { return ch != L' '; }

int MatchInLine(const TFindLine& line, const std::wstring& key, int from, int to, bool down, bool wholeWord,
                bool (*isWordChar)(wchar_t)) {
    const int length = static_cast<int>(key.size());
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(line.Cased.size()));
    if (length == 0 || to - from < length) return -1;
    auto passes = [&](int p) {
        if (!wholeWord) return true;
        const std::wstring& around = line.Neighbours;
        if (p > 0 && isWordChar(around[p - 1])) return false;
        return p + length >= static_cast<int>(around.size()) || !isWordChar(around[p + length]);
    };
    if (down) {
        for (size_t p = line.Cased.find(key, from); p != std::wstring::npos && static_cast<int>(p) + length <= to;
             p = line.Cased.find(key, p + 1))
            if (passes(static_cast<int>(p))) return static_cast<int>(p);
        return -1;
    }
    for (int start = to - length; start >= from;) {
        const size_t p = line.Cased.rfind(key, static_cast<size_t>(start));
        if (p == std::wstring::npos || static_cast<int>(p) < from) break;
        if (passes(static_cast<int>(p))) return static_cast<int>(p);
        start = static_cast<int>(p) - 1;
    }
    return -1;
}

namespace {

struct TFindRequest {
    std::wstring Search;  // as given: the pattern of an expression search
    std::wstring Key;     // cased as the lines are compared
    bool MatchCase = false, WholeWord = false, Expression = false;
};

TFindRequest MakeRequest(const std::wstring& search, bool matchCase, bool wholeWord, bool expression) {
    return {search, matchCase ? search : ClassLib::AnsiLowerCase(search), matchCase, wholeWord, expression};
}

struct THit { int Line = -1, Column = 0, Length = 0; };

// The first token of text[from, to) that the pattern matches; tokens are cut at the memo's delimiters.
int MatchToken(const TAdvCustomMemo& memo, const std::wstring& text, int from, int to, const TFindRequest& r,
               int& length) {
    to = std::min(to, static_cast<int>(text.size()));
    for (int i = std::max(from, 0); i < to;) {
        while (i < to && memo.IsTokenDelimiter(text[i])) ++i;
        const int start = i;
        while (i < to && !memo.IsTokenDelimiter(text[i])) ++i;
        if (i > start && MatchPatternCase(r.Search, text.substr(start, i - start), r.MatchCase)) {
            length = i - start;
            return start;
        }
    }
    return -1;
}

// 0-based column of a match within text[from, to), or -1; length receives the match's length.
// `cased` is the text as the request compares it (its neighbours for whole words included).
int SearchCased(const TAdvCustomMemo& memo, const std::wstring& text, const TFindLine& cased, const TFindRequest& r,
                int from, int to, bool down, int& length, bool (*isWordChar)(wchar_t) = IsFindWordChar) {
    to = std::min(to, static_cast<int>(text.size()));
    if (std::max(from, 0) >= to) return -1;
    if (r.Expression) return MatchToken(memo, text, from, to, r, length);
    length = static_cast<int>(r.Key.size());
    return MatchInLine(cased, r.Key, from, to, down, r.WholeWord, isWordChar);
}

// The line last searched, cased once for the request: a count or a replace-all meets the same
// line again for every match on it, and casing the whole line per match made both quadratic
// in the line's length. It stays valid while the store does not change, and follows a
// replacement made in place on the line.
class TCasedLine {
public:
    explicit TCasedLine(const TFindRequest& request) : FRequest(request) {}

    // The line's text, cased; valid until the next call.
    TFindLine Get(const TAdvMemoStrings& store, int line) {
        if (&store != FStore || line != FLine || store.ChangeStamp() != FStamp) {
            FText = store.Get(line);
            FCased = FRequest.MatchCase ? std::wstring() : ClassLib::AnsiLowerCase(FText);
            // Capital Latin-1 letters stay as they are here, so they never count as word characters.
            FNeighbours = FRequest.WholeWord ? ClassLib::LowerCase(FText) : std::wstring();
            FStore = &store;
            FLine = line;
            FStamp = store.ChangeStamp();
        }
        return {FRequest.MatchCase ? FText : FCased, FRequest.WholeWord ? FNeighbours : FText};
    }
    const std::wstring& Text() const { return FText; }

    // [column, column + length) of `line` has just been replaced by `inserted`. Casing maps
    // character by character, so the cased copies take the cased replacement; anything else
    // that happened to the line (a break or a tab in the replacement, a handler's edit) shows
    // as a line other than expected, and the next Get cases it afresh.
    void Replaced(const TAdvMemoStrings& store, int line, int column, int length, const std::wstring& inserted) {
        if (&store != FStore || line != FLine || line >= store.Count()) return;
        FText.replace(size_t(column), size_t(length), inserted);
        if (store.View(line) != FText) {
            FLine = -1;
            return;
        }
        if (!FRequest.MatchCase) FCased.replace(size_t(column), size_t(length), ClassLib::AnsiLowerCase(inserted));
        if (FRequest.WholeWord) FNeighbours.replace(size_t(column), size_t(length), ClassLib::LowerCase(inserted));
        FStamp = store.ChangeStamp();
    }

private:
    const TFindRequest& FRequest;
    const TAdvMemoStrings* FStore = nullptr;
    int FLine = -1;
    std::uint64_t FStamp = 0;
    std::wstring FText, FCased, FNeighbours;
};

int SearchLine(const TAdvCustomMemo& memo, int line, const TFindRequest& r, int from, int to, bool down, int& length,
               TCasedLine& cache) {
    const TFindLine cased = cache.Get(*memo.Lines(), line);
    return SearchCased(memo, cache.Text(), cased, r, from, to, down, length);
}

// The column before which an upward search on the selection's own line looks.
int UpwardLimit(const TAdvCustomMemo& memo) {
    const int sx = memo.SelStartX(), ex = memo.SelEndX();
    return sx != ex && !(sx < 1 && ex < 1) ? sx : memo.CurX();
}

void ZeroSelection(TAdvCustomMemo& memo) {
    memo.SetSelStartX(0);
    memo.SetSelStartY(0);
    memo.SetSelEndX(0);
    memo.SetSelEndY(0);
}

// Caret on the match's first character, the match selected.
void SelectRange(TAdvCustomMemo& memo, int line, int column, int endLine, int endColumn) {
    memo.ExpandParentNodes(line);
    memo.SetCursor(column, line);
    memo.SetSelStartX(column);
    memo.SetSelStartY(line);
    memo.SetSelEndX(endColumn);
    memo.SetSelEndY(endLine);
    memo.DoSelectionChange();
    memo.Invalidate();
}

void SelectHit(TAdvCustomMemo& memo, const THit& hit) {
    SelectRange(memo, hit.Line, hit.Column, hit.Line, hit.Column + hit.Length);
}

// The platform-option scan. Counting walks every match from the caret in the search direction
// (positions kept locally, so the count stays linear), and leaves the caret on the last one.
bool ScanStd(TAdvCustomMemo& memo, const TFindRequest& r, bool down, int* counted, THit& found, TCasedLine& cache) {
    const int count = memo.Lines()->Count();
    int sy = memo.SelStartY(), ex = memo.SelEndX(), ey = memo.SelEndY();
    int upLimit = UpwardLimit(memo);
    THit last;
    for (int line = memo.CurY(); line >= 0 && line < count;) {
        int from = 0, to = INT_MAX;
        if (sy == line && ey == line) {
            if (down) from = ex;
            else to = upLimit;
        }
        int length = 0;
        const int column = SearchLine(memo, line, r, from, to, down, length, cache);
        if (column < 0) {
            line += down ? 1 : -1;
            continue;
        }
        last = {line, column, length};
        if (!counted) {
            found = last;
            return true;
        }
        // The next round searches past this match, as if it were selected.
        upLimit = column;
        ex = column + length;
        sy = ey = line;
        ClassLib::FireEvent(memo.OnTextFound, &memo, column + 1, line + 1);
        ++*counted;
    }
    if (last.Line >= 0) memo.SetCursor(last.Column, last.Line);
    ZeroSelection(memo);
    memo.Invalidate();
    return false;
}

// The memo's own options. Counting takes at most one match per line and moves nothing.
bool ScanEx(TAdvCustomMemo& memo, const TFindRequest& r, TFindOptionsEx options, int* counted, THit& found,
            TCasedLine& cache) {
    const int count = memo.Lines()->Count();
    const bool inSelection = options.Contains(freSelection);
    const bool down = options.Contains(freDown) || inSelection;
    int first, last, startX;
    if (inSelection) {
        int sx = memo.SelStartX(), sy = memo.SelStartY(), ex = memo.SelEndX(), ey = memo.SelEndY();
        OrderPositions(sx, sy, ex, ey);
        first = sy;
        last = ey;
        startX = sx;
    } else {
        first = memo.CurY();
        last = down ? count - 1 : 0;
        // A repeated find continues after the previous match.
        if (memo.SelStartY() == memo.SelEndY()) memo.SetSelStartX(memo.SelEndX());
        startX = memo.SelStartX();
    }
    const int sy = memo.SelStartY(), ey = memo.SelEndY();
    const int upLimit = UpwardLimit(memo);
    for (int line = first; line >= 0 && line < count && (down ? line <= last : line >= last); line += down ? 1 : -1) {
        int from = 0, to = INT_MAX;
        if (sy == line && ey == line && !down) to = upLimit;
        else if (line == first && down) from = std::max(startX, 0);
        int length = 0;
        const int column = SearchLine(memo, line, r, from, to, down, length, cache);
        if (column < 0) continue;
        if (!counted) {
            found = {line, column, length};
            return true;
        }
        ClassLib::FireEvent(memo.OnTextFound, &memo, column + 1, line + 1);
        ++*counted;
    }
    if (counted) ZeroSelection(memo);
    memo.Invalidate();
    return false;
}

TFindRequest StdRequest(const std::wstring& search, ClassLib::TFindOptions options) {
    return MakeRequest(search, options.Contains(ClassLib::frMatchCase), options.Contains(ClassLib::frWholeWord), false);
}

TFindRequest ExRequest(const std::wstring& search, TFindOptionsEx options) {
    return MakeRequest(search, options.Contains(freMatchCase), options.Contains(freWholeWord),
                       options.Contains(freExpression));
}

// A replace-all held still: one update, and wrapped rows joined into their lines for the whole
// loop, so that no replacement rewraps the text (each would cost the whole text) and a match
// may run across a row break. The closing rewrap keeps caret and selection on their text.
class TReplaceScope {
public:
    explicit TReplaceScope(TAdvCustomMemo& memo) : FUpdate(memo), FMemo(memo) { memo.BeginLogicalEdit(); }
    ~TReplaceScope() { FMemo.EndLogicalEdit(); }  // before the update ends and repaints
    TReplaceScope(const TReplaceScope&) = delete;
    TReplaceScope& operator=(const TReplaceScope&) = delete;

private:
    ClassLib::TUpdateScope<TAdvCustomMemo> FUpdate;
    TAdvCustomMemo& FMemo;
};

// Characters plus breaks: no replace loop can make more replacements than the text had characters.
int ReplaceBound(const TAdvCustomMemo& memo) {
    long long total = memo.Lines()->Count();
    for (int i = 0; i < memo.Lines()->Count(); ++i) total += memo.Lines()->ListLengths()[i];
    return static_cast<int>(std::min<long long>(total, INT_MAX - 1)) + 1;
}

struct TTextPos { int Line = 0, Column = 0; };

// A replace-all's changes as one undo step: a step per replacement overflowed the undo limit,
// and the text from before the replace-all could not be restored. Recording is off while the
// replacements are made; the lines they change are kept as they were and, at the end, paired
// with what they became.
class TReplaceRecord {
public:
    TReplaceRecord(TAdvCustomMemo& memo, const std::wstring& newStr)
        : FMemo(memo), FCaretX(memo.CurX()), FCaretY(memo.CurY()), FLineCount(memo.Lines()->Count()) {
        // A replacement holding a line break moves every line after it: then the whole text is
        // kept, and the stretch that changed is found at the end.
        if (newStr.find_first_of(L"\r\n") != std::wstring::npos) {
            FWhole = true;
            const TAdvMemoStrings& lines = *memo.Lines();
            FBefore.reserve(static_cast<size_t>(lines.Count()));
            for (int i = 0; i < lines.Count(); ++i) FBefore.emplace_back(lines.View(i));
        }
        FPerforming.emplace(memo.UndoList());
    }

    // A replacement is about to change `line`.
    void Touching(int line) {
        if (FWhole) return;
        const auto [at, added] = FOriginals.try_emplace(line);
        if (added) at->second = FMemo.Lines()->Get(line);
    }

    // Adds the step (nothing when nothing changed).
    void Finish() {
        FPerforming.reset();
        std::vector<TLinesUndo::TPiece> pieces;
        const TAdvMemoStrings& lines = *FMemo.Lines();
        if (FWhole) {
            const int before = static_cast<int>(FBefore.size()), after = lines.Count();
            int head = 0, tail = 0;
            while (head < before && head < after && FBefore[size_t(head)] == lines.View(head)) ++head;
            while (tail < before - head && tail < after - head &&
                   FBefore[size_t(before - 1 - tail)] == lines.View(after - 1 - tail))
                ++tail;
            if (head < before - tail || head < after - tail) {
                TLinesUndo::TPiece piece{head, {}, {}};
                piece.Before.assign(std::make_move_iterator(FBefore.begin() + head),
                                    std::make_move_iterator(FBefore.end() - tail));
                for (int i = head; i < after - tail; ++i) piece.After.emplace_back(lines.View(i));
                pieces.push_back(std::move(piece));
            }
        } else {
            // Only a handler can have moved lines here; the kept ones no longer say where they
            // belong, and no older step may be replayed on a text it does not know.
            if (lines.Count() != FLineCount) {
                FMemo.ClearUndoRedo();
                return;
            }
            std::vector<int> changed;
            changed.reserve(FOriginals.size());
            for (const auto& entry : FOriginals) changed.push_back(entry.first);
            std::sort(changed.begin(), changed.end());
            for (const int line : changed) {
                std::wstring& before = FOriginals[line];
                if (lines.View(line) == before) continue;
                pieces.push_back({line, {std::move(before)}, {std::wstring(lines.View(line))}});
            }
        }
        if (pieces.empty()) return;
        FMemo.UndoList().Add(std::make_unique<TLinesUndo>(FCaretX, FCaretY, FMemo.CurX(), FMemo.CurY(), std::move(pieces)));
    }

private:
    TAdvCustomMemo& FMemo;
    const int FCaretX, FCaretY, FLineCount;
    bool FWhole = false;
    std::vector<std::wstring> FBefore;  // with FWhole: every line before the first replacement
    std::unordered_map<int, std::wstring> FOriginals;  // without: changed lines as they were
    std::optional<TUndoPerforming> FPerforming;
};

// One replace-all: the memo held still, lines cased once, and its changes recorded as one step.
class TReplaceAll {
public:
    TReplaceAll(TAdvCustomMemo& memo, const TFindRequest& request, const std::wstring& newStr)
        : FHold(memo), FMemo(memo), FRequest(request), FNewStr(newStr), FCache(request), FRecord(memo, newStr),
          FInPlace(newStr.find_first_of(L"\r\n\t") == std::wstring::npos) {}

    TCasedLine& Cache() { return FCache; }

    // Replaces the hit with the new text; returns where the inserted text ends. `mark`, a
    // position at or after the hit, is moved along so that it keeps pointing at the same text.
    TTextPos Replace(const THit& hit, TTextPos& mark) { return ReplaceSpan(hit, FNewStr, mark); }

    // Replaces `first` and, going down, every further match on its line that lies wholly
    // before `mark` (`room` replacements at most), as the replacements one after the other
    // would: each search goes on after the text just inserted, which is also the left
    // neighbour of a whole word found right after it. The line is edited once: an edit per
    // match copied the whole line each time. `made` gets the number of replacements,
    // `lastStart` where the last inserted text starts; the result is where it ends.
    TTextPos ReplaceDown(const THit& first, TTextPos& mark, int room, int& made, TTextPos& lastStart) {
        made = 1;
        lastStart = {first.Line, first.Column};
        if (!FInPlace) return Replace(first, mark);
        const int line = first.Line;
        const TFindLine cased = FCache.Get(*FMemo.Lines(), line);
        const std::wstring& text = FCache.Text();
        const int to = mark.Line == line ? mark.Column : INT_MAX;
        std::wstring span;  // text[first.Column, pos) with its matches replaced
        int pos = first.Column;
        for (THit hit = first;;) {
            span.append(text, size_t(pos), size_t(hit.Column - pos));
            lastStart.Column = first.Column + static_cast<int>(span.size());
            span += FNewStr;
            pos = hit.Column + hit.Length;
            if (made >= room) break;
            const wchar_t before = !span.empty() ? span.back() : first.Column > 0 ? text[size_t(first.Column) - 1] : L'\0';
            int length = 0;
            const int next = NextMatch(text, cased, pos, to, before, length);
            if (next < 0) break;
            hit = {line, next, length};
            ++made;
        }
        return ReplaceSpan({line, first.Column, pos - first.Column}, span, mark);
    }

    // Ends the replace-all, also when a replacement failed: what was replaced is one step.
    template <typename TWork>
    int Run(TWork&& work) {
        int count = 0;
        try {
            count = work();
        } catch (...) {
            FRecord.Finish();
            throw;
        }
        FRecord.Finish();
        return count;
    }

private:
    TTextPos ReplaceSpan(const THit& hit, const std::wstring& text, TTextPos& mark) {
        FRecord.Touching(hit.Line);
        SelectHit(FMemo, hit);
        FMemo.SetSelection(text);
        FCache.Replaced(*FMemo.Lines(), hit.Line, hit.Column, hit.Length, text);
        const TTextPos end{FMemo.CurY(), FMemo.CurX()};
        if (mark.Line == hit.Line) mark = {end.Line, end.Column + std::max(mark.Column - (hit.Column + hit.Length), 0)};
        else mark.Line += end.Line - hit.Line;
        return end;
    }

    // The next match at or after `pos` in the line as it stands before this run's edit; the
    // character before `pos` is `before` by now.
    int NextMatch(const std::wstring& text, const TFindLine& cased, int pos, int to, wchar_t before, int& length) const {
        if (FRequest.Expression || !FRequest.WholeWord || pos == 0)
            return SearchCased(FMemo, text, cased, FRequest, pos, to, true, length);
        length = static_cast<int>(FRequest.Key.size());
        const int end = std::min(to, static_cast<int>(text.size()));
        if (pos + length <= end && cased.Cased.compare(size_t(pos), size_t(length), FRequest.Key) == 0) {
            const wchar_t lowered = before >= L'A' && before <= L'Z' ? wchar_t(before - L'A' + L'a') : before;
            const bool after = pos + length >= static_cast<int>(text.size()) || !IsFindWordChar(cased.Neighbours[size_t(pos + length)]);
            if (!IsFindWordChar(lowered) && after) return pos;
        }
        // Past `pos` every left neighbour is still the line's own.
        return SearchCased(FMemo, text, cased, FRequest, pos + 1, to, true, length);
    }

    TReplaceScope FHold;
    TAdvCustomMemo& FMemo;
    const TFindRequest& FRequest;
    const std::wstring& FNewStr;
    TCasedLine FCache;
    TReplaceRecord FRecord;
    const bool FInPlace;  // the new text stays within its line as it is: no break, no tab
};

// The first match at or after `from` lying wholly before `limit`.
bool SearchForward(const TAdvCustomMemo& memo, const TFindRequest& r, TTextPos from, TTextPos limit, THit& hit,
                   TCasedLine& cache) {
    const int count = memo.Lines()->Count();
    for (int line = from.Line, column = from.Column; line <= limit.Line && line < count; ++line, column = 0) {
        int length = 0;
        const int found =
            SearchLine(memo, line, r, column, line == limit.Line ? limit.Column : INT_MAX, true, length, cache);
        if (found >= 0) {
            hit = {line, found, length};
            return true;
        }
    }
    return false;
}

// The last match lying wholly before `before`.
bool SearchBackward(const TAdvCustomMemo& memo, const TFindRequest& r, TTextPos before, THit& hit, TCasedLine& cache) {
    for (int line = std::min(before.Line, memo.Lines()->Count() - 1), to = before.Column; line >= 0; --line, to = INT_MAX) {
        int length = 0;
        const int found = SearchLine(memo, line, r, 0, to, false, length, cache);
        if (found >= 0) {
            hit = {line, found, length};
            return true;
        }
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------- the platform's options

int TAdvCustomMemo::FindText(const std::wstring& searchStr, ClassLib::TFindOptions options) {
    if (searchStr.empty()) return -1;
    const TFindRequest r = StdRequest(searchStr, options);
    TCasedLine cache(r);
    THit hit;
    if (!ScanStd(*this, r, options.Contains(ClassLib::frDown), nullptr, hit, cache)) return -1;
    SelectHit(*this, hit);
    return SelStart();
}

int TAdvCustomMemo::FindTextInMemo(const std::wstring& searchStr, ClassLib::TFindOptions options) {
    return FindText(searchStr, options);
}

int TAdvCustomMemo::FindTextCount(const std::wstring& searchStr, ClassLib::TFindOptions options) {
    if (searchStr.empty()) return -1;
    ClassLib::TUpdateScope<TAdvCustomMemo> update(*this);
    const TFindRequest r = StdRequest(searchStr, options);
    TCasedLine cache(r);
    int counted = 0;
    THit unused;
    ScanStd(*this, r, options.Contains(ClassLib::frDown), &counted, unused, cache);
    return counted;
}

int TAdvCustomMemo::FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr,
                                   ClassLib::TFindOptions options) {
    if (searchStr.empty() || ReadOnly() || !CanEdit()) return 0;
    const TFindRequest r = StdRequest(searchStr, options);
    TReplaceAll replace(*this, r, newStr);
    return replace.Run([&] {
        const bool down = options.Contains(ClassLib::frDown);
        const int bound = ReplaceBound(*this);
        int count = 0;
        THit hit;
        while (count < bound && ScanStd(*this, r, down, nullptr, hit, replace.Cache())) {
            TTextPos unused{-1, 0}, lastStart;
            if (down) {
                int made = 0;
                replace.ReplaceDown(hit, unused, bound - count, made, lastStart);
                count += made;
                continue;
            }
            replace.Replace(hit, unused);
            ++count;
            // Upward the search goes on before the replacement, never into the inserted text.
            SetCursor(hit.Column, hit.Line);
            ClearSelection();
        }
        return count;
    });
}

int TAdvCustomMemo::FindTextPos(const std::wstring& searchStr, ClassLib::TFindOptions options) const {
    if (searchStr.empty()) return -1;
    const TFindRequest r = StdRequest(searchStr, options);
    const bool down = options.Contains(ClassLib::frDown);
    const TAdvMemoStrings& lines = *Lines();
    for (int line = FCurY; line >= 0 && line < lines.Count(); line += down ? 1 : -1) {
        // A row continued by a wrapped one keeps its blanks: they lie inside the line.
        const std::wstring text = line + 1 < lines.Count() && IsWrappedLine(line + 1) ? lines.Get(line)
                                                                                      : TrimRightBlanks(lines.Get(line));
        int from = 0, to = INT_MAX;
        if (FSelStartY == line && FSelEndY == line) {
            if (down) from = FSelEndX;
            else to = FSelStartX;
        }
        // The whole-word test here knows only the blank, so the neighbours need no casing.
        const std::wstring cased = r.MatchCase ? std::wstring() : ClassLib::AnsiLowerCase(text);
        int length = 0;
        const int column =
            SearchCased(*this, text, {r.MatchCase ? text : cased, text}, r, from, to, down, length, IsNonBlank);
        if (column >= 0) return TextFromPos(column, line);
    }
    return -1;
}

// ---------------------------------------------------------------- the memo's own options

int TAdvCustomMemo::FindText(const std::wstring& searchStr, TFindOptionsEx options) {
    if (searchStr.empty()) return -1;
    const TFindRequest r = ExRequest(searchStr, options);
    TCasedLine cache(r);
    THit hit;
    if (!ScanEx(*this, r, options, nullptr, hit, cache)) return -1;
    SelectHit(*this, hit);
    return SelStart();
}

int TAdvCustomMemo::FindTextInMemo(const std::wstring& searchStr, TFindOptionsEx options) {
    return FindText(searchStr, options);
}

int TAdvCustomMemo::FindTextCount(const std::wstring& searchStr, TFindOptionsEx options) {
    if (searchStr.empty() || !OnTextFound) return -1;
    ClassLib::TUpdateScope<TAdvCustomMemo> update(*this);
    const TFindRequest r = ExRequest(searchStr, options);
    TCasedLine cache(r);
    int counted = 0;
    THit unused;
    ScanEx(*this, r, options, &counted, unused, cache);
    return counted;
}

int TAdvCustomMemo::FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr, TFindOptionsEx options) {
    if (searchStr.empty() || ReadOnly() || !CanEdit() || Lines()->Count() == 0) return 0;
    const TFindRequest r = ExRequest(searchStr, options);
    TReplaceAll replace(*this, r, newStr);
    return replace.Run([&] {
        const int lineCount = Lines()->Count();
        const TTextPos textEnd{lineCount - 1, Lines()->ListLengths()[lineCount - 1]};
        const bool inSelection = options.Contains(freSelection);
        const bool down = options.Contains(freDown) || inSelection;
        int sx = FSelStartX, sy = FSelStartY, ex = FSelEndX, ey = FSelEndY;
        OrderPositions(sx, sy, ex, ey);
        // Where the search starts: the selection's start when replacing in it, else after the
        // selection on the caret's line (a previous match), else the caret.
        TTextPos start{FCurY, FCurX};
        if (inSelection) start = {sy, sx};
        else if (sy == FCurY && ey == FCurY && (sx != ex)) start = {FCurY, down ? ex : sx};
        TTextPos limit = inSelection ? TTextPos{ey, ex} : textEnd;

        const int bound = ReplaceBound(*this);
        int count = 0;
        THit hit;
        TTextPos lastStart{-1, 0}, lastEnd;
        if (down) {
            TTextPos at = start;
            while (count < bound && SearchForward(*this, r, at, limit, hit, replace.Cache())) {
                int made = 0;
                at = lastEnd = replace.ReplaceDown(hit, limit, bound - count, made, lastStart);
                count += made;
            }
            // Wrap-around: from the top up to where the first pass began, so no replacement is met again.
            const bool wrap = !inSelection && (options.Contains(freReplaceAll) || options.Contains(freWrapAtEnd));
            if (wrap && (start.Line > 0 || start.Column > 0)) {
                TTextPos stop = start;
                at = {0, 0};
                while (count < bound && SearchForward(*this, r, at, stop, hit, replace.Cache())) {
                    int made = 0;
                    at = lastEnd = replace.ReplaceDown(hit, stop, bound - count, made, lastStart);
                    count += made;
                }
            }
        } else {
            TTextPos before = start;
            while (count < bound && SearchBackward(*this, r, before, hit, replace.Cache())) {
                lastStart = {hit.Line, hit.Column};
                TTextPos unused;
                lastEnd = replace.Replace(hit, unused);
                before = lastStart;
                ++count;
            }
        }
        if (count > 0) SelectRange(*this, lastStart.Line, lastStart.Column, lastEnd.Line, lastEnd.Column);
        return count;
    });
}

}  // namespace AdvMemo
