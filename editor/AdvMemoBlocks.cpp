// Block matching after caret moves, the block guides, and URLs under the caret.
#include "editor/AdvMemo.h"

#include "classlib/GdiScopes.h"
#include "classlib/Seams.h"
#include "classlib/ShellUrls.h"
#include "classlib/Strings.h"
#include "editor/AdvMemoSearchUtils.h"

#include <algorithm>
#include <climits>

namespace AdvMemo {

namespace {

std::vector<std::wstring> Alternatives(const std::wstring& words) {
    std::vector<std::wstring> result;
    std::wstring current;
    for (wchar_t ch : words) {
        if (ch == L',' || ch == L' ') {
            if (!current.empty()) result.push_back(current);
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.empty()) result.push_back(current);
    return result;
}

bool IsQuote(wchar_t ch) { return ch == L'\'' || ch == L'"'; }

}  // namespace

int TAdvCustomMemo::FindBlockWord(const std::wstring& upperLine, const std::wstring& words, int maxAlternatives,
                                  int& length) const {
    length = 0;
    const std::vector<std::wstring> alternatives = Alternatives(ClassLib::UpperCase(words));
    int tried = 0;
    for (const std::wstring& word : alternatives) {
        if (tried++ >= maxAlternatives) break;
        const size_t found = upperLine.find(word);
        if (found == std::wstring::npos) continue;
        const size_t after = found + word.size();
        const bool startOk = found == 0 || IsWordDelimiter(upperLine[found - 1]);
        const bool endOk = after >= upperLine.size() || IsWordDelimiter(upperLine[after]);
        if (!startOk || !endOk) continue;
        // Inside a quoted literal: a quote both at or before the word and at or after it.
        bool quoteBefore = false, quoteAfter = false;
        for (size_t i = 0; i <= found && i < upperLine.size(); ++i) quoteBefore |= IsQuote(upperLine[i]);
        for (size_t i = found; i < upperLine.size(); ++i) quoteAfter |= IsQuote(upperLine[i]);
        if (quoteBefore && quoteAfter) continue;
        length = int(word.size());
        return int(found) + 1;
    }
    return 0;
}

int TAdvCustomMemo::CommentPosition(const std::wstring& line) const {
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!styler) return 0;
    const int multi = styler->FindCommentStart(line).Pos;
    if (multi > 0) return multi;
    int length = 0;
    const int single = styler->FindLineComment(line, length);
    return single > 0 ? single : 0;
}

void TAdvCustomMemo::FindBlockMatch() {
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    TAdvMemoStrings* lines = Lines();
    auto setMatch = [this](int& line, int& start, int& len, int newLine, int newStart, int newLen) {
        if (line == newLine && start == newStart && len == newLen) return;
        if (line >= 0) InvalidateLine(line);
        line = newLine;
        start = newStart;
        len = newLen;
        if (line >= 0) InvalidateLine(line);
    };
    auto clearBoth = [&] {
        setMatch(BSSelLine, BSSelStart, BSSelLen, -1, -1, 0);
        setMatch(BESelLine, BESelStart, BESelLen, -1, -1, 0);
    };
    if (!styler || styler->BlockStart().empty() || styler->BlockEnd().empty() || lines->Count() == 0 ||
        FCurY < 0 || FCurY >= lines->Count()) {
        clearBoth();
        return;
    }
    const std::wstring& startWords = styler->BlockStart();
    const std::wstring& endWords = styler->BlockEnd();
    const int bottom = std::min(lines->Count() - 1, FTopLine + VisibleLineCount());

    // One pass over a line; `opening` is the word that adds to the counter in this direction.
    // Returns the 0-based column of the match, or -1.
    auto scanLine = [&](int line, bool downward, int target, int& counter, int& matchLength) {
        const std::wstring text = lines->Get(line);
        std::wstring rest = ClassLib::UpperCase(text);
        const int comment = CommentPosition(text);
        int offset = 0;
        for (;;) {
            int sLen = 0, nLen = 0;
            const int s = FindBlockWord(rest, startWords, INT_MAX, sLen);
            const int n = FindBlockWord(rest, endWords, INT_MAX, nLen);
            if (s == 0 && n == 0) return -1;
            const bool startFirst = s > 0 && (n == 0 || s < n);
            const int first = startFirst ? s : n;
            if (comment == 0 || offset + first < comment) {
                const bool adds = downward ? startFirst : !startFirst;
                counter += adds ? 1 : -1;
            }
            // Downward the match is an end word, upward a start word.
            const int matchPos = downward ? n : s;
            const int matchLen = downward ? nLen : sLen;
            if (matchPos > 0 && counter == target && (comment == 0 || offset + matchPos + matchLen - 1 < comment)) {
                matchLength = matchLen;
                return offset + matchPos - 1;
            }
            if (n == 0) return -1;
            const int cut = n - 1 + nLen;
            rest.erase(0, size_t(cut));
            offset += cut;
        }
    };

    const std::wstring caretUpper = ClassLib::UpperCase(lines->Get(FCurY));
    const int caretComment = CommentPosition(lines->Get(FCurY));
    int len = 0;
    const int caretStart = FindBlockWord(caretUpper, startWords, INT_MAX, len);
    const int caretEnd = FindBlockWord(caretUpper, endWords, INT_MAX, len);

    int foundDown = -1, downLine = -1, downLen = 0;
    {
        const int target = caretStart > 0 && (caretComment == 0 || caretStart < caretComment) ? 0 : -1;
        int counter = 0;
        for (int line = FCurY; line <= bottom && foundDown < 0; ++line) {
            foundDown = scanLine(line, true, target, counter, downLen);
            if (foundDown >= 0) downLine = line;
        }
    }
    int foundUp = -1, upLine = -1, upLen = 0;
    {
        const int target = caretEnd > 0 ? 0 : -1;
        int counter = 0;
        for (int line = FCurY; line >= std::min(FTopLine, FCurY) && foundUp < 0; --line) {
            foundUp = scanLine(line, false, target, counter, upLen);
            if (foundUp >= 0) upLine = line;
        }
    }
    if (foundDown < 0 || foundUp < 0) {
        clearBoth();
        return;
    }
    setMatch(BSSelLine, BSSelStart, BSSelLen, downLine, foundDown, downLen);
    setMatch(BESelLine, BESelStart, BESelLen, upLine, foundUp, upLen);
}

void TAdvCustomMemo::SetBlockBrackets(bool v) {
    if (v == FBlockBrackets) return;
    FBlockBrackets = v;
    BuildBlockLines();
    Invalidate();
}

void TAdvCustomMemo::BuildBlockLines() {
    FBlockLines.clear();
    if (!FBlockBrackets) return;
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (!styler || styler->BlockStart().empty() || styler->BlockEnd().empty()) return;
    TAdvMemoStrings* lines = Lines();
    for (int line = 0; line < lines->Count(); ++line) {
        const std::wstring text = lines->Get(line);
        const std::wstring upper = ClassLib::UpperCase(text);
        int comment = -1;  // computed once a word is found: most lines have none
        auto add = [&](const std::wstring& words, bool begin) {
            int length = 0;
            const int pos = FindBlockWord(upper, words, 3, length);
            if (pos == 0) return;
            if (comment < 0) comment = CommentPosition(text);
            if (comment > 0 && comment < pos) return;
            FBlockLines.push_back(TBlockDef{pos, begin, line});
        };
        add(styler->BlockStart(), true);
        add(styler->BlockEnd(), false);
    }
}

void TAdvCustomMemo::DrawBlockLines(HDC dc) {
    if (!FBlockBrackets || FCellSize.W <= 0) return;
    const int w = FCellSize.W, h = FCellSize.H;
    const int bottomLine = FTopLine + VisibleLineCount();
    const int gutter = FGutterVisible ? FGutterWidth : 0;
    const int fold = FCodeFoldingEnabled ? NodeWidth() : 0;
    for (size_t i = 0; i < FBlockLines.size(); ++i) {
        const TBlockDef& begin = FBlockLines[i];
        if (!begin.FIsBegin || begin.FLine >= bottomLine) continue;
        int b = 0, e = 0;
        for (size_t j = i + 1; j < FBlockLines.size(); ++j) {
            const TBlockDef& other = FBlockLines[j];
            if (other.FIsBegin) {
                ++b;
                continue;
            }
            if (e != b) {
                ++e;
                continue;
            }
            const ClassLib::TColor colour =
                FBlockLineColors.empty() ? ClassLib::clRed : FBlockLineColors[size_t(e) % FBlockLineColors.size()];
            ClassLib::TOwnedPen pen(::CreatePen(PS_SOLID, 1, ClassLib::ColorToRGB(colour)));
            if (!pen) break;
            ClassLib::TSelection selected(dc, pen.get());
            const int x = w * begin.FIndent + fold + gutter - w / 2;
            const int y1 = h * (begin.FLine - FTopLine);
            const int y2 = std::min(FHeight, h * (other.FLine - FTopLine + 1));
            ::MoveToEx(dc, x + 2, y1, nullptr);
            ::LineTo(dc, x - 2, y1);
            ::LineTo(dc, x - 2, y2);
            ::LineTo(dc, x + 2, y2);
            break;
        }
    }
}

// ---------------------------------------------------------------- URLs

namespace {

// The segment of `line` holding `column`, with its index; empty when the column is past the text.
int SegmentAt(const std::vector<std::wstring>& segments, int column) {
    int start = 0;
    for (size_t i = 0; i < segments.size(); ++i) {
        const int end = start + int(segments[i].size());
        if (column >= start && column < end) return int(i);
        start = end;
    }
    return -1;
}

bool HasBlank(const std::wstring& s) { return s.find(L' ') != std::wstring::npos; }

}  // namespace

bool TAdvCustomMemo::IsURLAt(int column, int line) {
    if (!FUrlAware || line < 0 || line >= Lines()->Count()) return false;
    const std::vector<std::wstring> segments = Tokenizer().SplitUrlSegments(Lines()->Get(line));
    const int index = SegmentAt(segments, column);
    return index >= 0 && WordIsURL(segments[size_t(index)]);
}

std::wstring TAdvCustomMemo::URLAtCursor() {
    TAdvMemoStrings* lines = Lines();
    if (!FUrlAware || FCurY < 0 || FCurY >= lines->Count()) return {};
    TMemoTokenizer& tokenizer = Tokenizer();
    const std::vector<std::wstring> segments = tokenizer.SplitUrlSegments(lines->Get(FCurY));
    const int index = SegmentAt(segments, FCurX);
    if (index < 0) return {};
    const std::wstring& segment = segments[size_t(index)];
    if (FWordWrap != wwNone) {
        // A link cut by wrapping: the caret piece continues the previous row's last segment.
        if (index == 0 && FCurY > 0 && IsWrappedLine(FCurY) && !HasBlank(segment)) {
            const std::vector<std::wstring> above = tokenizer.SplitUrlSegments(lines->Get(FCurY - 1));
            if (!above.empty() && WordIsURL(above.back())) {
                std::wstring url = above.back() + segment;
                if (segments.size() == 1 && FCurY + 1 < lines->Count() && IsWrappedLine(FCurY + 1)) {
                    const std::vector<std::wstring> below = tokenizer.SplitUrlSegments(lines->Get(FCurY + 1));
                    if (!below.empty() && !HasBlank(below.front())) url += below.front();
                }
                return url;
            }
        }
        if (!WordIsURL(segment)) return {};
        std::wstring url = segment;
        if (index + 1 == int(segments.size())) {
            for (int next = FCurY + 1; next < lines->Count() && IsWrappedLine(next); ++next) {
                const std::vector<std::wstring> more = tokenizer.SplitUrlSegments(lines->Get(next));
                if (more.empty()) break;
                url += more.front();
                if (more.size() != 1) break;
            }
        }
        return url;
    }
    return WordIsURL(segment) ? segment : std::wstring();
}

bool TAdvCustomMemo::ClickURLAtCursor() {
    const std::wstring url = URLAtCursor();
    if (url.empty()) return false;
    OpenURL(url);
    return true;
}

void TAdvCustomMemo::OpenURL(const std::wstring& url) {
    if (OnURLClick) {
        OnURLClick(this, url);
        return;
    }
    // Only web and mail links go to the shell: a C file could otherwise name a program
    // ("file://...") that a click would start.
    if (ClassLib::UrlOpensInShell(url) && ClassLib::Seams().ShellOpen) ClassLib::Seams().ShellOpen(url, L"");
}

}  // namespace AdvMemo
