#include "editor/AdvMemoTokenizer.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "classlib/Strings.h"
#include "editor/AdvMemoSearchUtils.h"
#include "editor/AdvMemoStylers.h"

namespace AdvMemo {

namespace {

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

wchar_t UpperAZ(wchar_t ch) { return ch >= L'a' && ch <= L'z' ? wchar_t(ch - 32) : ch; }

String UpperText(const String& text) {
    String result = text;
    for (wchar_t& c : result) c = UpperAZ(c);
    return result;
}

// Keyword keys are lower-cased for every word drawn; plain ASCII words skip the locale call.
void LowerKeyInPlace(String& text) {
    for (wchar_t c : text)
        if (c >= 0x80) {
            text = ClassLib::AnsiLowerCase(text);
            return;
        }
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = wchar_t(c + 32);
}

String LowerKey(const String& text) {
    String result = text;
    LowerKeyInPlace(result);
    return result;
}

bool StartsWith(const wchar_t* text, size_t length, const String& prefix) {
    return !prefix.empty() && prefix.size() <= length &&
           std::equal(prefix.begin(), prefix.end(), text);
}

}  // namespace

TMemoTokenizer::TMemoTokenizer() { SetUrlDelimiters(FUrlDelimiters); }

void TMemoTokenizer::SetStyler(TAdvCustomMemoStyler* styler) {
    FStyler = styler;
    ClearLineStates();
    Prepare();
}

void TMemoTokenizer::SetUseStyler(bool value) {
    FUseStyler = value;
    ClearLineStates();
}

void TMemoTokenizer::SetCaseSensitive(bool value) {
    FCaseSensitive = value;
    Prepare();
}

void TMemoTokenizer::SetUrlAware(bool value) {
    FUrlAware = value;
    ClearLineStates();
}

void TMemoTokenizer::SetUrlDelimiters(const String& value) {
    FUrlDelimiters = value;
    FUrlDelimiterAscii.fill(false);
    for (const wchar_t ch : FUrlDelimiters)
        if (ch < 128) FUrlDelimiterAscii[ch] = true;
    ClearLineStates();
}

void TMemoTokenizer::SetLines(const ILineSource* lines) {
    FLines = lines;
    ClearLineStates();
}

void TMemoTokenizer::Prepare() {
    FGroups.clear();
    FBracketGroups.clear();
    FStateStartChars.clear();
    FCommentEndChars.clear();
    FAsciiClass.fill(0);
    FAsciiSymbolGroup.fill(-1);
    FTempDelimiters.clear();
    FtmpNoStart.clear();
    FtmpNo.clear();
    FHexIdentifier.clear();
    FBinIdentifier.clear();
    FLineComment.clear();
    FLineCommentIsList = false;
    FMultiCommentLeft.clear();
    FMultiCommentRight.clear();
    FHasCommentGroups = false;
    FHasMultiComment = false;
    FLiteral = 0;
    FEscapeChar = 0x0100;
    FKeywordPrefix = 0;
    FKeywordStyle = ksUserCase;
    FCustomDraw = false;
    FKeyLengthMin = SIZE_MAX;
    FKeyLengthMax = 0;
    FKeyLeads.fill(false);
    FBlankIsPlain = false;
    if (!FStyler) return;

    const TAdvCustomMemoStyler& styler = *FStyler;
    const TElementStyles& styles = *styler.AllStyles();
    for (int i = 0; i < styles.Count(); ++i) {
        const TElementStyle& item = *styles.Items(i);
        TGroup group;
        group.StyleType = item.StyleType();
        group.BracketStart = item.BracketStart();
        group.BracketEnd = item.BracketEnd();
        group.Symbols = item.Symbols();
        group.CommentLeft = item.CommentLeft();
        group.CommentRight = item.CommentRight();
        if (item.StyleType() == stKeyword) {
            group.HasKeywords = true;
            const ClassLib::TStringList& words = *item.KeyWords();
            for (int w = 0; w < words.Count(); ++w) {
                const String& word = words.Strings(w);
                const String key = FCaseSensitive ? word : LowerKey(word);
                group.Keywords.emplace(key, word);
                if (key.empty()) continue;
                FKeyLengthMin = std::min(FKeyLengthMin, key.size());
                FKeyLengthMax = std::max(FKeyLengthMax, key.size());
                if (key[0] < 128) FKeyLeads[key[0]] = true;
            }
        }
        if (item.StyleType() == stSymbol) FTempDelimiters += item.Symbols();
        if (item.StyleType() == stComment) FHasCommentGroups = true;
        FGroups.push_back(std::move(group));
    }
    FLineComment = styler.LineComment();
    FLineCommentIsList = FLineComment.find(L',') != String::npos;
    FMultiCommentLeft = styler.MultiCommentLeft();
    FMultiCommentRight = styler.MultiCommentRight();
    FHasMultiComment = styler.HasMultiComment();
    FHexIdentifier = UpperText(styler.HexIdentifier());
    FBinIdentifier = UpperText(styler.BinIdentifier());
    if (FUseStyler) {
        FtmpNoStart = UpperText(styler.NumericChars() + styler.HexIdentifier() + styler.BinIdentifier());
        FtmpNo = UpperText(styler.NumericChars() + L"E");
    }
    FLiteral = styler.Literal().empty() ? 0 : styler.Literal()[0];
    FEscapeChar = styler.EscapeChar().empty() ? 0 : styler.EscapeChar()[0];
    FKeywordPrefix = styler.KeywordPrefix().empty() ? 0 : styler.KeywordPrefix()[0];
    FKeywordStyle = styler.KeywordStyle();
    FCustomDraw = styler.CustomDraw();

    FBracketGroups.clear();
    for (size_t g = 0; g < FGroups.size(); ++g)
        if (FGroups[g].StyleType == stBracket) FBracketGroups.push_back(int(g));
    FStateStartChars.clear();
    FCommentEndChars.clear();
    if (!FMultiCommentLeft.empty()) FStateStartChars += FMultiCommentLeft[0];
    if (!FMultiCommentRight.empty()) FCommentEndChars += FMultiCommentRight[0];
    for (const TGroup& group : FGroups) {
        if (group.StyleType == stComment && !group.CommentLeft.empty()) FStateStartChars += group.CommentLeft[0];
        if (group.StyleType == stComment && !group.CommentRight.empty()) FCommentEndChars += group.CommentRight[0];
        if (group.StyleType == stBracket && group.BracketStart != 0) FStateStartChars += group.BracketStart;
    }
    FAsciiClass.fill(0);
    FAsciiSymbolGroup.fill(-1);
    for (wchar_t ch = 0; ch < 128; ++ch) {
        if (FTempDelimiters.find(ch) != String::npos) FAsciiClass[ch] |= ccTempDelimiter;
        if (FtmpNoStart.find(UpperAZ(ch)) != String::npos) FAsciiClass[ch] |= ccNumberStart;
        if (FtmpNo.find(ch) != String::npos) FAsciiClass[ch] |= ccNumber;
        if (FStateStartChars.find(ch) != String::npos) FAsciiClass[ch] |= ccStateStart;
        if (FCommentEndChars.find(ch) != String::npos) FAsciiClass[ch] |= ccCommentEnd;
        for (size_t g = 0; g < FGroups.size() && g < 128; ++g) {
            if (FGroups[g].StyleType == stSymbol && FGroups[g].Symbols.find(ch) != String::npos) {
                FAsciiSymbolGroup[ch] = std::int8_t(g);
                break;
            }
        }
    }
    // A blank that starts no comment, string, line comment, symbol or number.
    FBlankIsPlain = !(FAsciiClass[L' '] & (ccStateStart | ccTempDelimiter | ccNumberStart)) && SymbolGroupOf(L' ') < 0 &&
                    FLineComment.find(L' ') == String::npos;
}

bool TMemoTokenizer::InNumber(TNumberChars allowed, wchar_t ch) const {
    const wchar_t upper = UpperAZ(ch);
    if (allowed.Kind == TNumberChars::Binary) return upper == L'0' || upper == L'1';
    if (allowed.Kind == TNumberChars::Hexadecimal && upper >= L'A' && upper <= L'F') return true;
    if (!allowed.Signs && (upper == L'+' || upper == L'-')) return false;
    return upper < 128 ? FAsciiClass[upper] & ccNumber : FtmpNo.find(upper) != String::npos;
}

bool TMemoTokenizer::SpellsUpper(std::wstring_view text, const String& upper) {
    if (upper.empty() || text.size() != upper.size()) return false;
    for (size_t k = 0; k < text.size(); ++k)
        if (UpperAZ(text[k]) != upper[k]) return false;
    return true;
}

const String* TMemoTokenizer::KeywordKey(std::wstring_view word) {
    size_t first = 0, last = word.size();
    while (first < last && word[first] == L' ') ++first;
    while (last > first && word[last - 1] == L' ') --last;
    if (first == last) return nullptr;
    FKey.assign(word.substr(first, last - first));
    if (!FCaseSensitive) LowerKeyInPlace(FKey);
    // Most words are no keyword of any list: their length or first character says so early.
    if (FKey.size() < FKeyLengthMin || FKey.size() > FKeyLengthMax) return nullptr;
    if (FKey[0] < 128 && !FKeyLeads[FKey[0]]) return nullptr;
    return &FKey;
}

bool TMemoTokenizer::MayStartNumber(wchar_t ch) const {
    return ch < 128 ? FAsciiClass[ch] & ccNumberStart : FtmpNoStart.find(UpperAZ(ch)) != String::npos;
}

int TMemoTokenizer::SymbolGroupOf(wchar_t ch) const {
    if (ch < 128 && FGroups.size() <= 128) return FAsciiSymbolGroup[ch];
    for (size_t g = 0; g < FGroups.size(); ++g)
        if (FGroups[g].StyleType == stSymbol && FGroups[g].Symbols.find(ch) != String::npos) return int(g);
    return -1;
}

bool TMemoTokenizer::IsWordDelimiter(wchar_t ch) const {
    if (FHost) return FHost->IsWordDelimiter(ch);
    if (IsBaseWordDelimiter(ch)) return true;
    if (!Styled()) return false;
    for (const TGroup& group : FGroups) {
        if (group.StyleType == stSymbol && group.Symbols.find(ch) != String::npos) return true;
        if (group.StyleType == stBracket && (ch == group.BracketStart || ch == group.BracketEnd)) return true;
    }
    return false;
}

// The styler's comment-start search, answered for the start of a text only when the
// styler has no comment groups (the common case, and the one on every character).
TMemoTokenizer::TDelimiterHit TMemoTokenizer::CommentStartAt(const wchar_t* text, size_t length) const {
    TDelimiterHit hit;
    if (!FHasCommentGroups) {
        if (StartsWith(text, length, FMultiCommentLeft)) hit = {1, int(FMultiCommentLeft.size()), 255, -1};
        return hit;
    }
    const TAdvCustomMemoStyler::TCommentHit found = FStyler->FindCommentStart(String(text, length));
    return {found.Pos, found.Length, found.Kind, found.ColorIndex};
}

TMemoTokenizer::TDelimiterHit TMemoTokenizer::CommentEndIn(const wchar_t* text, size_t length) const {
    if (!FHasCommentGroups) {
        if (FMultiCommentRight.empty()) return {};
        const size_t found = std::wstring_view(text, length).find(FMultiCommentRight);
        if (found == std::wstring_view::npos) return {};
        return {int(found) + 1, int(FMultiCommentRight.size()), 255, -1};
    }
    const TAdvCustomMemoStyler::TCommentHit found = FStyler->FindCommentEnd(String(text, length));
    return {found.Pos, found.Length, found.Kind, found.ColorIndex};
}

bool TMemoTokenizer::LineCommentAt(const wchar_t* text, size_t length) const {
    if (FLineComment.empty()) return false;
    if (!FLineCommentIsList) return StartsWith(text, length, FLineComment);
    return PosOfFirstListItem(FLineComment, String(text, length)) == 1;
}

// Length of the first alternative of a comma list that the text starts with (the text
// is compared in upper case), or 0.
size_t TMemoTokenizer::PrefixAt(const String& list, const wchar_t* text, size_t length) {
    size_t start = 0;
    while (start < list.size()) {
        size_t comma = list.find(L',', start);
        if (comma == String::npos) comma = list.size();
        const size_t itemLength = comma - start;
        if (itemLength > 0 && itemLength <= length) {
            bool same = true;
            for (size_t k = 0; k < itemLength && same; ++k) same = UpperAZ(text[k]) == list[start + k];
            if (same) return itemLength;
        }
        start = comma + 1;
    }
    return 0;
}

template <class F>
void TMemoTokenizer::ForEachSegment(std::wstring_view line, F&& visit) const {
    if (line.empty()) return;
    if (!FUrlAware) {
        visit(line);
        return;
    }
    const wchar_t literal = Styled() ? FLiteral : 0;
    const size_t n = line.size();
    size_t i = 0;
    while (i < n) {
        const size_t start = i;
        const bool delimiterRun = IsUrlDelimiter(line[i]);
        while (i < n) {
            if (literal && line[i] == literal) {
                i = std::min(n, i + 2);  // an escaped character stays in the current run
                continue;
            }
            if (IsUrlDelimiter(line[i]) != delimiterRun) break;
            ++i;
        }
        visit(line.substr(start, i - start));
    }
}

std::vector<String> TMemoTokenizer::SplitUrlSegments(const String& line) const {
    std::vector<String> segments;
    ForEachSegment(line, [&segments](std::wstring_view segment) { segments.emplace_back(segment); });
    return segments;
}

bool TMemoTokenizer::SegmentIsURL(std::wstring_view segment) const {
    if (FHost) return FHost->WordIsURL(String(segment));
    // Every link form starts with one of these letters; most segments stop here.
    switch (segment.empty() ? 0 : segment[0] | 0x20) {
    case L'f': case L'h': case L'm': case L'n': case L'w': return WordIsURLText(String(segment));
    default: return false;
    }
}

void TMemoTokenizer::BeginLine(const TStyle& state, ITokenSink& sink) {
    FSink = &sink;
    FPendingText.clear();
    FPendingStyle = state;
    FLast = 0;
    FInLineComment = false;
}

void TMemoTokenizer::TokenizeText(const String& text, TStyle& state) {
    ForEachSegment(text, [this, &state](std::wstring_view segment) {
        state.isURL = FUrlAware && SegmentIsURL(segment);
        TokenizeSegmentView(segment, state);
        state.isURL = false;
    });
}

void TMemoTokenizer::EmitToken(const String& text, TStyle& state) { Emit(text, state); }

void TMemoTokenizer::Emit(std::wstring_view text, TStyle& state) {
    if (!text.empty()) {
        if (!FPendingText.empty() && FPendingStyle == state) {
            FPendingText += text;
        } else {
            Flush();
            FPendingText = text;
            FPendingStyle = state;
        }
    }
    state.ResetForNextToken();
}

void TMemoTokenizer::Flush() {
    if (!FPendingText.empty() && FSink) FSink->DrawRun(FPendingText, FPendingStyle);
    FPendingText.clear();
}

void TMemoTokenizer::EndLine(TStyle& state) {
    Flush();
    // A line comment never carries over to the next line.
    if (FInLineComment) DecIfPositive(state.isComment);
    FInLineComment = false;
    FSink = nullptr;
}

void TMemoTokenizer::TokenizeLine(const String& line, TStyle& state, ITokenSink& sink) {
    BeginLine(state, sink);
    TokenizeText(line, state);
    EndLine(state);
}

void TMemoTokenizer::TokenizeSegment(const String& segment, TStyle& state) {
    TokenizeSegmentView(segment, state);
}

// Outside a string: the string groups are tried in order, each leaving its characters and
// index in the state; the first whose opening character this is opens a string.
bool TMemoTokenizer::OpensString(wchar_t ch, TStyle& st) const {
    st.isBracket = false;
    st.StartBracket = st.EndBracket = 0;
    for (const int g : FBracketGroups) {
        const TGroup& group = FGroups[size_t(g)];
        st.StartBracket = group.BracketStart;
        st.EndBracket = group.BracketEnd;
        st.index = g;
        if (ch == group.BracketStart && FLast != FEscapeChar) {
            st.isBracket = true;
            break;
        }
    }
    return st.isBracket;
}

void TMemoTokenizer::TokenizeSegmentView(std::wstring_view segment, TStyle& st) {
    if (!Styled() || (st.isURL && FUrlAware) || st.isHighlight) {
        Emit(segment, st);
        return;
    }
    // Blanks outside comments and strings are plain text when the styler gives the blank no
    // part (the usual case): a segment of them goes out whole instead of blank by blank, with
    // the state each blank would have left.
    if (FBlankIsPlain && st.isComment == 0 && !(st.isBracket && st.StartBracket != 0) &&
        segment.find_first_not_of(L' ') == std::wstring_view::npos) {
        OpensString(L' ', st);
        Emit(segment, st);
        FLast = L' ';
        return;
    }
    const size_t n = segment.size();
    size_t i = 0;        // the current position
    size_t stepped = 0;  // characters stepped over since the unconsumed rest began
    wchar_t prev = 0;
    bool wordStart = true;
    bool keywordsAllowed = FKeywordPrefix == 0 || (n > 0 && segment[0] == FKeywordPrefix);
    bool consumed = false;  // the previous cycle consumed text

    while (i < n) {
        const wchar_t* tail = segment.data() + i;
        const size_t tailLength = n - i;
        const wchar_t ch = segment[i];
        if (FKeywordPrefix && ch == FKeywordPrefix) keywordsAllowed = true;
        if (!consumed)
            wordStart = stepped == 0 || ch == L' ' || FTempDelimiters.empty() || InTempDelimiters(ch);
        consumed = true;
        const bool inString = st.isBracket && st.StartBracket != 0;

        if (!inString && FHasMultiComment) {
            if (st.isComment > 0) {
                const TDelimiterHit end = CommentEndIn(tail, tailLength);
                if (end.Pos == 0 || FInLineComment || (st.ctype != -1 && st.ctype != end.Kind)) {
                    Emit(std::wstring_view(tail, tailLength), st);
                    return;
                }
                const size_t length = size_t(end.Pos - 1 + end.Length);
                Emit(std::wstring_view(tail, length), st);
                i += length;
                stepped = 0;
                --st.isComment;
                st.ctype = -1;
                continue;
            }
            const TDelimiterHit start = CommentStartAt(tail, tailLength);
            if (start.Pos == 1) {
                ++st.isComment;
                st.index = start.ColorIndex;
                st.ctype = start.Kind;
                Emit(std::wstring_view(tail, size_t(start.Length)), st);
                i += size_t(start.Length);
                stepped = 0;
                continue;
            }
        }

        if (st.isComment == 0) {
            if (!inString && LineCommentAt(tail, tailLength)) {
                ++st.isComment;
                st.index = -1;
                Emit(std::wstring_view(tail, tailLength), st);
                FInLineComment = true;
                return;
            }
            if (inString) {
                if (FLiteral && ch == FLiteral) {
                    const size_t length = std::min<size_t>(2, tailLength);
                    Emit(std::wstring_view(tail, length), st);
                    i += length;
                    continue;
                }
                const bool escaped = FLast == FEscapeChar && prev != FEscapeChar;
                const bool closes =
                    !escaped && (ch == st.EndBracket ||
                                 (st.EndBracket == 0 && i + 1 < n && IsWordDelimiter(segment[i + 1])));
                if (closes) {
                    Emit(std::wstring_view(tail, 1), st);
                    ++i;
                    st.isBracket = false;
                    wordStart = false;
                    continue;
                }
                Emit(std::wstring_view(tail, 1), st);
                prev = (prev == FEscapeChar && FLast == FEscapeChar) ? 0 : FLast;
                FLast = ch;
                ++i;
                ++stepped;
                consumed = false;
                if (i == n && st.EndBracket == L' ') {
                    st.isBracket = false;
                    st.StartBracket = st.EndBracket = 0;
                }
                continue;
            }
            if (OpensString(ch, st)) {
                Emit(std::wstring_view(tail, 1), st);
                ++i;
                continue;
            }
        }

        // A sign before a digit belongs to the number.
        const bool signedDigit = (ch == L'+' || ch == L'-') && i + 1 < n && IsDigit(segment[i + 1]);
        if (!signedDigit) {
            const int group = SymbolGroupOf(ch);
            if (group >= 0) {
                st.isdelimiter = true;
                st.index = group;
                Emit(std::wstring_view(tail, 1), st);
                ++i;
                wordStart = true;
                continue;
            }
        }

        if (wordStart && ch != L',' && MayStartNumber(ch)) {
            // The characters a number may hold: the decimal ones, with the hexadecimal letters
            // after a hexadecimal prefix, or "0" and "1" after a binary one; "+" and "-" only
            // in the first place, or again once the text spells the hexadecimal prefix.
            TNumberChars allowed{TNumberChars::Decimal, true};
            size_t end = i;
            if (const size_t hex = PrefixAt(FHexIdentifier, tail, tailLength)) {
                allowed.Kind = TNumberChars::Hexadecimal;
                end += hex;
            } else if (const size_t bin = PrefixAt(FBinIdentifier, tail, tailLength)) {
                allowed.Kind = TNumberChars::Binary;
                end += bin;
            }
            size_t firstDot = String::npos;
            bool firstScanned = false;
            bool signSplit = false;
            while (end < n && InNumber(allowed, segment[end])) {
                const wchar_t c = segment[end];
                if (end - i + 1 == FHexIdentifier.size() && SpellsUpper(segment.substr(i, end - i + 1), FHexIdentifier))
                    allowed = {TNumberChars::Hexadecimal, true};
                if (end > i && (c == L'+' || c == L'-') && end + 1 < n && IsDigit(segment[end + 1])) {
                    signSplit = true;
                    break;
                }
                if (c == L'.') {
                    if (firstDot != String::npos) {
                        end = firstDot;
                        break;
                    }
                    firstDot = end;
                }
                if (!firstScanned) {
                    firstScanned = true;
                    allowed.Signs = false;
                }
                ++end;
            }
            const std::wstring_view candidate = segment.substr(i, end - i);
            if (signSplit && !candidate.empty()) {
                st.isnumber = true;
                Emit(candidate, st);
                i = end;
                wordStart = false;
                continue;
            }
            const bool notNumber = end < n && !InNumber(allowed, segment[end]) && !InTempDelimiters(segment[end]);
            if (!notNumber && !candidate.empty()) {
                st.isnumber = candidate != L"+" && candidate != L"-";
                st.iskeyWord = false;
                st.isdelimiter = false;
                Emit(candidate, st);
                DecIfPositive(st.isComment);
                i = end;
                wordStart = true;
                continue;
            }
        }

        if (keywordsAllowed && (wordStart || (!FUrlAware && ch == L' '))) {
            size_t wordEnd = i + 1;
            while (wordEnd < n && segment[wordEnd] != L' ' && segment[wordEnd] != L';' &&
                   !InTempDelimiters(segment[wordEnd]))
                ++wordEnd;
            const std::wstring_view word = segment.substr(i, wordEnd - i);
            const String* key = KeywordKey(word);
            bool found = false;
            for (size_t g = 0; g < FGroups.size() && !found && key; ++g) {
                const TGroup& group = FGroups[g];
                if (!group.HasKeywords) continue;
                const auto entry = group.Keywords.find(*key);
                if (entry == group.Keywords.end()) continue;
                found = true;
                st.iskeyWord = true;
                st.index = int(g);
                if (FCustomDraw) {
                    Flush();
                    if (FSink) FSink->DrawKeyword(String(word), st);
                    st.ResetForNextToken();
                } else {
                    switch (FKeywordStyle) {
                    case ksListCase:
                        EmitToken(String(word.substr(0, word.find_first_not_of(L' '))) + entry->second, st);
                        break;
                    case ksUppercase: EmitToken(ClassLib::AnsiUpperCase(String(word)), st); break;
                    case ksLowercase: EmitToken(ClassLib::AnsiLowerCase(String(word)), st); break;
                    default: Emit(word, st); break;
                    }
                }
                i = wordEnd;
            }
            if (found) continue;
        }

        Emit(std::wstring_view(tail, 1), st);
        prev = FLast;
        FLast = ch;
        ++i;
        ++stepped;
        consumed = false;
    }
}

void TMemoTokenizer::ScanLine(const String& text, TStyle& st) const {
    wchar_t last = 0;
    bool lineDone = false;  // a line comment ends the rest of the line
    ForEachSegment(text, [&](std::wstring_view segment) {
        if (lineDone || (FUrlAware && SegmentIsURL(segment))) return;
        wchar_t prev = 0;
        const size_t n = segment.size();
        size_t i = 0;
        while (i < n) {
            const wchar_t* tail = segment.data() + i;
            const size_t tailLength = n - i;
            if (!st.isBracket) {
                if (st.isComment == 0) {
                    const TDelimiterHit start = CommentStartAt(tail, tailLength);
                    if (start.Pos == 1) {
                        ++st.isComment;
                        st.index = start.ColorIndex;
                        i += size_t(start.Length);
                        continue;
                    }
                } else {
                    const TDelimiterHit end = CommentEndIn(tail, tailLength);
                    if (end.Pos == 1) {
                        --st.isComment;
                        i += size_t(end.Length);
                        continue;
                    }
                    if (end.Pos == 0) break;
                    // Comments nest in this scan.
                    const TDelimiterHit start = CommentStartAt(tail, tailLength);
                    if (start.Pos == 1) {
                        ++st.isComment;
                        i += size_t(start.Length);
                        const TDelimiterHit next = CommentEndIn(segment.data() + i, n - i);
                        if (next.Pos == 1) {
                            st.isComment = 0;
                            i += size_t(next.Length);
                        }
                        continue;
                    }
                }
            }
            if (st.isComment == 0) {
                // Not inside a string: the drawing does not take "//" in a string as a comment.
                if (!st.isBracket && LineCommentAt(tail, tailLength)) {
                    lineDone = true;
                    return;
                }
                const wchar_t c = segment[i];
                bool literalPair = false;
                for (const int g : FBracketGroups) {
                    const TGroup& group = FGroups[size_t(g)];
                    if (group.BracketStart == 0) continue;
                    if (!st.isBracket) {
                        st.StartBracket = group.BracketStart;
                        st.EndBracket = group.BracketEnd;
                        st.index = g;
                    }
                    if (st.isBracket && FLiteral && c == FLiteral) {
                        literalPair = true;
                        break;
                    }
                    if (last == FEscapeChar && prev != FEscapeChar) continue;
                    if (st.EndBracket == 0) {
                        if (st.isBracket && IsWordDelimiter(c)) st.isBracket = false;
                        else if (c == st.StartBracket) st.isBracket = true;
                    } else if ((!st.isBracket && c == st.StartBracket) || (st.isBracket && c == st.EndBracket)) {
                        st.isBracket = !st.isBracket;
                        break;
                    }
                }
                if (literalPair) {
                    i += std::min<size_t>(2, n - i);
                    continue;
                }
            }
            prev = last;
            last = segment[i];
            ++i;
        }
    });
}

bool TMemoTokenizer::LineKeepsState(const String& text, const TStyle& state) const {
    if (state.isBracket) return false;
    const bool inComment = state.isComment > 0;
    const std::uint8_t wanted = inComment ? ccCommentEnd : ccStateStart;
    const String& others = inComment ? FCommentEndChars : FStateStartChars;
    for (const wchar_t c : text) {
        if (c < 128 ? (FAsciiClass[c] & wanted) != 0 : others.find(c) != String::npos) return false;
    }
    return true;
}

TStyle TMemoTokenizer::GetLineStyle(int row) {
    Prepare();
    TStyle result = ClearedStyle();
    if (!Styled()) return result;
    TStyle base = ClearedStyle();
    int first = 0;
    for (int line = std::min(row, int(FLineStates.size())) - 1; line >= 0; --line) {
        if (FLineStates[size_t(line)]) {
            base = *FLineStates[size_t(line)];
            first = line;
            break;
        }
    }
    TStyle state = base;
    bool scanned = false;
    if (FHasMultiComment && FLines) {
        const int count = FLines->LineCount();
        for (int line = first; line < row && line < count; ++line) {
            const String text = FLines->LineText(line);
            if (text.empty()) continue;
            if (line % 20 == 0 && !HasCachedState(line)) {
                if (FLineStates.size() <= size_t(line)) FLineStates.resize(size_t(line) + 1);
                FLineStates[size_t(line)] = state;
            }
            if (!LineKeepsState(text, state)) ScanLine(text, state);
            scanned = true;
        }
    }
    result = base;
    result.isComment = state.isComment;
    result.isBracket = state.isBracket;
    result.StartBracket = state.StartBracket;
    result.EndBracket = state.EndBracket;
    // The group of an open string or comment: without it a string carried over would
    // lose its colour whenever its line is at the top of the view.
    result.index = state.index;
    result.ctype = scanned ? -1 : base.ctype;
    result.ResetForNextToken();
    if (FLines && row >= 0 && row < FLines->LineCount()) {
        if (FLineStates.size() <= size_t(row)) FLineStates.resize(size_t(row) + 1);
        FLineStates[size_t(row)] = result;
    }
    return result;
}

TStyle TMemoTokenizer::TopLineStyle(int topLine) {
    if (topLine == FBackupTopLine) return FBackupTopStyle;
    FBackupTopStyle = GetLineStyle(topLine);
    FBackupTopLine = topLine;
    return FBackupTopStyle;
}

void TMemoTokenizer::LinesChanged(int firstLine) {
    if (firstLine < 0) firstLine = 0;
    if (size_t(firstLine) < FLineStates.size()) FLineStates.resize(size_t(firstLine));
    FBackupTopLine = -1;
}

void TMemoTokenizer::ClearLineStates() {
    FLineStates.clear();
    FBackupTopLine = -1;
}

bool TMemoTokenizer::HasCachedState(int line) const {
    return line >= 0 && size_t(line) < FLineStates.size() && FLineStates[size_t(line)].has_value();
}

}  // namespace AdvMemo
