#include "editor/AdvMemoFind.h"

#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoSearchUtils.h"

#include <algorithm>
#include <climits>

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
int SearchText(const TAdvCustomMemo& memo, const std::wstring& text, const TFindRequest& r, int from, int to,
               bool down, int& length, bool (*isWordChar)(wchar_t) = IsFindWordChar) {
    to = std::min(to, static_cast<int>(text.size()));
    if (std::max(from, 0) >= to) return -1;
    if (r.Expression) return MatchToken(memo, text, from, to, r, length);
    length = static_cast<int>(r.Key.size());
    const std::wstring cased = r.MatchCase ? std::wstring() : ClassLib::AnsiLowerCase(text);
    // Capital Latin-1 letters stay as they are here, so they never count as word characters.
    const std::wstring neighbours = r.WholeWord && isWordChar == IsFindWordChar ? ClassLib::LowerCase(text) : text;
    return MatchInLine({r.MatchCase ? text : cased, neighbours}, r.Key, from, to, down, r.WholeWord, isWordChar);
}

int SearchLine(const TAdvCustomMemo& memo, int line, const TFindRequest& r, int from, int to, bool down, int& length) {
    return SearchText(memo, memo.Lines()->Get(line), r, from, to, down, length);
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
bool ScanStd(TAdvCustomMemo& memo, const TFindRequest& r, bool down, int* counted, THit& found) {
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
        const int column = SearchLine(memo, line, r, from, to, down, length);
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
bool ScanEx(TAdvCustomMemo& memo, const TFindRequest& r, TFindOptionsEx options, int* counted, THit& found) {
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
        const int column = SearchLine(memo, line, r, from, to, down, length);
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

// Replaces the hit with newStr; returns where the inserted text ends. `mark`, a position at
// or after the hit, is moved along so that it keeps pointing at the same text.
TTextPos ReplaceHit(TAdvCustomMemo& memo, const THit& hit, const std::wstring& newStr, TTextPos& mark) {
    SelectHit(memo, hit);
    memo.SetSelection(newStr);
    const TTextPos end{memo.CurY(), memo.CurX()};
    if (mark.Line == hit.Line) mark = {end.Line, end.Column + std::max(mark.Column - (hit.Column + hit.Length), 0)};
    else mark.Line += end.Line - hit.Line;
    return end;
}

// The first match at or after `from` lying wholly before `limit`.
bool SearchForward(const TAdvCustomMemo& memo, const TFindRequest& r, TTextPos from, TTextPos limit, THit& hit) {
    const int count = memo.Lines()->Count();
    for (int line = from.Line, column = from.Column; line <= limit.Line && line < count; ++line, column = 0) {
        int length = 0;
        const int found = SearchLine(memo, line, r, column, line == limit.Line ? limit.Column : INT_MAX, true, length);
        if (found >= 0) {
            hit = {line, found, length};
            return true;
        }
    }
    return false;
}

// The last match lying wholly before `before`.
bool SearchBackward(const TAdvCustomMemo& memo, const TFindRequest& r, TTextPos before, THit& hit) {
    for (int line = std::min(before.Line, memo.Lines()->Count() - 1), to = before.Column; line >= 0; --line, to = INT_MAX) {
        int length = 0;
        const int found = SearchLine(memo, line, r, 0, to, false, length);
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
    THit hit;
    if (!ScanStd(*this, StdRequest(searchStr, options), options.Contains(ClassLib::frDown), nullptr, hit)) return -1;
    SelectHit(*this, hit);
    return SelStart();
}

int TAdvCustomMemo::FindTextInMemo(const std::wstring& searchStr, ClassLib::TFindOptions options) {
    return FindText(searchStr, options);
}

int TAdvCustomMemo::FindTextCount(const std::wstring& searchStr, ClassLib::TFindOptions options) {
    if (searchStr.empty()) return -1;
    ClassLib::TUpdateScope<TAdvCustomMemo> update(*this);
    int counted = 0;
    THit unused;
    ScanStd(*this, StdRequest(searchStr, options), options.Contains(ClassLib::frDown), &counted, unused);
    return counted;
}

int TAdvCustomMemo::FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr,
                                   ClassLib::TFindOptions options) {
    if (searchStr.empty() || ReadOnly() || !CanEdit()) return 0;
    TReplaceScope hold(*this);
    const TFindRequest r = StdRequest(searchStr, options);
    const bool down = options.Contains(ClassLib::frDown);
    const int bound = ReplaceBound(*this);
    int count = 0;
    THit hit;
    while (count < bound && ScanStd(*this, r, down, nullptr, hit)) {
        TTextPos unused;
        ReplaceHit(*this, hit, newStr, unused);
        ++count;
        // Upward the search goes on before the replacement, never into the inserted text.
        if (!down) {
            SetCursor(hit.Column, hit.Line);
            ClearSelection();
        }
    }
    return count;
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
        int length = 0;
        const int column = SearchText(*this, text, r, from, to, down, length, IsNonBlank);
        if (column >= 0) return TextFromPos(column, line);
    }
    return -1;
}

// ---------------------------------------------------------------- the memo's own options

int TAdvCustomMemo::FindText(const std::wstring& searchStr, TFindOptionsEx options) {
    if (searchStr.empty()) return -1;
    THit hit;
    if (!ScanEx(*this, ExRequest(searchStr, options), options, nullptr, hit)) return -1;
    SelectHit(*this, hit);
    return SelStart();
}

int TAdvCustomMemo::FindTextInMemo(const std::wstring& searchStr, TFindOptionsEx options) {
    return FindText(searchStr, options);
}

int TAdvCustomMemo::FindTextCount(const std::wstring& searchStr, TFindOptionsEx options) {
    if (searchStr.empty() || !OnTextFound) return -1;
    ClassLib::TUpdateScope<TAdvCustomMemo> update(*this);
    int counted = 0;
    THit unused;
    ScanEx(*this, ExRequest(searchStr, options), options, &counted, unused);
    return counted;
}

int TAdvCustomMemo::FindAndReplace(const std::wstring& searchStr, const std::wstring& newStr, TFindOptionsEx options) {
    if (searchStr.empty() || ReadOnly() || !CanEdit()) return 0;
    TReplaceScope hold(*this);
    const TFindRequest r = ExRequest(searchStr, options);
    const int lineCount = Lines()->Count();
    if (lineCount == 0) return 0;
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
        while (count < bound && SearchForward(*this, r, at, limit, hit)) {
            lastStart = {hit.Line, hit.Column};
            at = lastEnd = ReplaceHit(*this, hit, newStr, limit);
            ++count;
        }
        // Wrap-around: from the top up to where the first pass began, so no replacement is met again.
        const bool wrap = !inSelection && (options.Contains(freReplaceAll) || options.Contains(freWrapAtEnd));
        if (wrap && (start.Line > 0 || start.Column > 0)) {
            TTextPos stop = start;
            at = {0, 0};
            while (count < bound && SearchForward(*this, r, at, stop, hit)) {
                lastStart = {hit.Line, hit.Column};
                at = lastEnd = ReplaceHit(*this, hit, newStr, stop);
                ++count;
            }
        }
    } else {
        TTextPos before = start;
        while (count < bound && SearchBackward(*this, r, before, hit)) {
            lastStart = {hit.Line, hit.Column};
            TTextPos unused;
            lastEnd = ReplaceHit(*this, hit, newStr, unused);
            before = lastStart;
            ++count;
        }
    }
    if (count > 0) SelectRange(*this, lastStart.Line, lastStart.Column, lastEnd.Line, lastEnd.Column);
    return count;
}

}  // namespace AdvMemo
