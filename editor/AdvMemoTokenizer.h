#pragma once
// The memo's syntax colouring without a window: a line is cut into segments, each
// segment is tokenized against a styler, and runs of equal style go to a sink. The only
// state carried from line to line is a TStyle (the line store's), cached sparsely per line.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editor/AdvMemoStrings.h"

namespace AdvMemo {

using String = std::wstring;
class TAdvCustomMemoStyler;

// Receives the runs of a line in order.
class ITokenSink {
public:
    virtual void DrawRun(const String& text, const TStyle& style) = 0;
    // A keyword of a styler that draws keywords itself; the pending run was flushed first.
    virtual void DrawKeyword(const String& keyword, const TStyle& style) { DrawRun(keyword, style); }
protected:
    ~ITokenSink() = default;
};

// What the tokenizer asks of the memo that owns it.
class ITokenizerHost {
public:
    // The memo's word-delimiter test, the styler's symbols and brackets included.
    virtual bool IsWordDelimiter(wchar_t ch) = 0;
    // The memo's URL test (it may ask its OnIsURL handler).
    virtual bool WordIsURL(const String& text) = 0;
protected:
    ~ITokenizerHost() = default;
};

// The memo's lines, for the scan above a line.
class ILineSource {
public:
    virtual int LineCount() const = 0;
    virtual String LineText(int index) const = 0;
protected:
    ~ILineSource() = default;
};

// A memo holds one tokenizer: it passes its styler and switches on when they change,
// calls LinesChanged on every change of its line list, and paints from TopLineStyle
// with one BeginLine / TokenizeText / EndLine per visible line.
class TMemoTokenizer {
public:
    TMemoTokenizer();

    // Setters that change what the line-state scan sees drop the cached line states.
    void SetStyler(TAdvCustomMemoStyler* styler);
    TAdvCustomMemoStyler* Styler() const noexcept { return FStyler; }
    void SetUseStyler(bool value);
    bool UseStyler() const noexcept { return FUseStyler; }
    void SetCaseSensitive(bool value);
    bool CaseSensitive() const noexcept { return FCaseSensitive; }
    void SetUrlAware(bool value);
    bool UrlAware() const noexcept { return FUrlAware; }
    void SetUrlDelimiters(const String& value);
    const String& UrlDelimiters() const noexcept { return FUrlDelimiters; }
    // Null: the base word delimiters and the plain URL prefixes.
    void SetHost(ITokenizerHost* host) { FHost = host; }
    void SetLines(const ILineSource* lines);

    // Reads the styler afresh: call at the start of every paint or export pass.
    void Prepare();

    // Cuts a line at the URL delimiters; one segment when URLs are not looked for.
    std::vector<String> SplitUrlSegments(const String& line) const;

    // Drawing one line: BeginLine, then TokenizeText (and EmitToken for pieces the caller
    // styles itself, such as search highlights), then EndLine.
    void BeginLine(const TStyle& state, ITokenSink& sink);
    void TokenizeText(const String& text, TStyle& state);
    void TokenizeSegment(const String& segment, TStyle& state);
    void EmitToken(const String& text, TStyle& state);
    void EndLine(TStyle& state);
    // All of the above for one line; state flows into the next line.
    void TokenizeLine(const String& line, TStyle& state, ITokenSink& sink);

    // The state at the start of a row, scanned from the nearest cached line above.
    TStyle GetLineStyle(int row);
    // The state at the start of the top line of a paint, remembered between paints.
    TStyle TopLineStyle(int topLine);

    // The memo calls this on every change of its line list: the states of the lines from
    // firstLine on are dropped, as is the remembered top-line state.
    void LinesChanged(int firstLine);
    void ClearLineStates();
    bool HasCachedState(int line) const;

    // No comment, no string, no group.
    static TStyle ClearedStyle() {
        TStyle style;
        style.index = -1;
        style.ctype = -1;
        return style;
    }
private:
    struct TGroup {
        int StyleType = 0;
        bool HasKeywords = false;
        std::unordered_map<String, String> Keywords;  // key (lower-cased unless case-sensitive) -> list spelling
        wchar_t BracketStart = 0;
        wchar_t BracketEnd = 0;
        String Symbols;
        String CommentLeft;
        String CommentRight;
    };
    struct TDelimiterHit {
        int Pos = 0;  // 1-based, 0 when none
        int Length = 0;
        int Kind = -1;
        int ColorIndex = -1;
    };

    bool Styled() const noexcept { return FStyler && FUseStyler; }
    bool IsWordDelimiter(wchar_t ch) const;
    bool SegmentIsURL(std::wstring_view segment) const;
    // Asked for every character of every line: a table for ASCII, a loop over the few
    // delimiters for the rest.
    bool IsUrlDelimiter(wchar_t ch) const {
        if (ch < 128) return FUrlDelimiterAscii[ch];
        for (const wchar_t delimiter : FUrlDelimiters)
            if (delimiter == ch) return true;
        return false;
    }
    template <class F>
    void ForEachSegment(std::wstring_view line, F&& visit) const;
    void TokenizeSegmentView(std::wstring_view segment, TStyle& state);
    void Emit(std::wstring_view text, TStyle& state);
    bool InTempDelimiters(wchar_t ch) const {
        return ch < 128 ? FAsciiClass[ch] & ccTempDelimiter : FTempDelimiters.find(ch) != String::npos;
    }
    bool MayStartNumber(wchar_t ch) const;
    bool OpensString(wchar_t ch, TStyle& st) const;
    // What a number being scanned may hold next (see TokenizeSegmentView).
    struct TNumberChars {
        enum { Decimal, Hexadecimal, Binary } Kind;
        bool Signs;  // "+" and "-", where the decimal characters hold them
    };
    bool InNumber(TNumberChars allowed, wchar_t ch) const;
    // The text, upper-cased in A to Z, equals `upper` (which is not empty).
    static bool SpellsUpper(std::wstring_view text, const String& upper);
    // The word as the keyword lists are keyed (blanks trimmed, lower-cased unless case
    // matters), or null when no list can hold it. Valid until the next call.
    const String* KeywordKey(std::wstring_view word);
    // The first symbol group holding ch, or -1.
    int SymbolGroupOf(wchar_t ch) const;
    TDelimiterHit CommentStartAt(const wchar_t* text, size_t length) const;
    TDelimiterHit CommentEndIn(const wchar_t* text, size_t length) const;
    bool LineCommentAt(const wchar_t* text, size_t length) const;
    static size_t PrefixAt(const String& list, const wchar_t* text, size_t length);
    void Flush();
    void ScanLine(const String& text, TStyle& state) const;
    // True when the line holds nothing that could open a comment or string (or, inside
    // a comment, close it): the scan can pass it by.
    bool LineKeepsState(const String& text, const TStyle& state) const;

    TAdvCustomMemoStyler* FStyler = nullptr;
    bool FUseStyler = true;
    bool FCaseSensitive = false;
    bool FUrlAware = true;
    String FUrlDelimiters = L" '";
    std::array<bool, 128> FUrlDelimiterAscii{};  // invariant: the ASCII characters of FUrlDelimiters
    ITokenizerHost* FHost = nullptr;
    const ILineSource* FLines = nullptr;

    // Read from the styler by Prepare.
    std::vector<TGroup> FGroups;
    String FTempDelimiters;  // the symbols of all symbol groups, in group order
    String FtmpNoStart;      // characters that may begin a number, upper case
    String FtmpNo;           // decimal number characters, upper case
    String FHexIdentifier;   // upper case, comma list
    String FBinIdentifier;
    String FLineComment;
    bool FLineCommentIsList = false;  // invariant: FLineComment holds a comma (alternatives)
    String FMultiCommentLeft;
    String FMultiCommentRight;
    bool FHasCommentGroups = false;
    bool FHasMultiComment = false;
    wchar_t FLiteral = 0;
    wchar_t FEscapeChar = 0x0100;
    wchar_t FKeywordPrefix = 0;
    int FKeywordStyle = 0;
    bool FCustomDraw = false;

    // Per ASCII character, what Prepare found: the same answers as the searches above.
    enum : std::uint8_t { ccTempDelimiter = 1, ccNumberStart = 2, ccStateStart = 4, ccCommentEnd = 8, ccNumber = 16 };
    std::array<std::uint8_t, 128> FAsciiClass{};
    std::array<std::int8_t, 128> FAsciiSymbolGroup{};
    std::vector<int> FBracketGroups;  // indexes of the string groups, in order
    String FStateStartChars;  // first characters of comment starts and string openers
    String FCommentEndChars;  // first characters of comment ends
    // Lengths and first characters (ASCII ones) of every keyword key, non-empty ones only.
    size_t FKeyLengthMin = 0;
    size_t FKeyLengthMax = 0;
    std::array<bool, 128> FKeyLeads{};
    String FKey;  // the key of the word last looked up
    bool FBlankIsPlain = false;  // a run of blanks outside comments and strings is plain text

    // One line being drawn.
    ITokenSink* FSink = nullptr;
    String FPendingText;
    TStyle FPendingStyle;
    wchar_t FLast = 0;
    bool FInLineComment = false;  // the rest of the line is a line comment

    // Line states: the state at the start of each line, where known.
    std::vector<std::optional<TStyle>> FLineStates;
    int FBackupTopLine = -1;
    TStyle FBackupTopStyle;
};

}  // namespace AdvMemo
