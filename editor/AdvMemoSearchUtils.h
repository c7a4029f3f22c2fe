#pragma once
// The editor's small text routines: pattern matching, date and number text, highlight
// and comma-list searches, and the delimiter and URL tests the tokenizer shares with the memo.
#include <string>

namespace AdvMemo {

using String = std::wstring;

// The locale's short date format, as the class library's process-wide format settings hold it.
String GetShortDateFormat();

// Expression matcher: comparison operators (">", ">=", "<", "<=", "&", "^", "!") and the
// wildcards "*" and "?". The wildcards cost one pass over the value per pattern character
// however the stars fall; a comparison after a star compares every tail of the value.
bool MatchPattern(const String& pattern, const String& value);
bool MatchPatternCase(const String& pattern, const String& value, bool caseSensitive);

// Day, month and year in the locale's order, optionally followed by a time of day.
// The value is in days since 30 December 1899, with the time as the fraction.
bool ParseDateText(const String& text, double& dateTime);
String NormalizeNumberText(const String& text);

// Characters after which a found word counts as whole (blanks and punctuation; a quote
// or an opening bracket does not end a word here, unlike IsTypedWordEndChar).
bool IsSearchWordEndChar(wchar_t ch);
// First occurrence of word in text (1-based rawPos, 0 when absent); pos is the same
// position, or 0 when wholeWord is set and the occurrence is not a whole word. `before` is
// the character in front of text (a blank at the start of a line), so that text may be the
// rest of a line.
void FindHighlightWord(const String& word, const String& text, bool caseSensitive, bool wholeWord,
                       int& rawPos, int& pos, wchar_t before = L' ');

// 1-based position of text in s, 0 when absent.
int PosOf(const String& text, const String& s, int from = 1);
// Position of the first item of a comma list, in list order, that occurs in text at all.
int PosOfFirstListItem(const String& list, const String& text);
// 1-based position of the last occurrence of pattern in text, 0 when none.
int LastPos(const String& pattern, const String& text);

void DecIfPositive(int& value);
String TrimRightBlanks(const String& text);
void SwapInts(int& a, int& b);
// Puts (x1, y1) before (x2, y2).
void OrderPositions(int& x1, int& y1, int& x2, int& y2);

// Delimiter sets of the memo's word and token queries.
bool IsBaseWordDelimiter(wchar_t ch);
bool IsTokenDelimiterChar(wchar_t ch);
// True when the text starts with a link scheme ("http://", "mailto:", "www." ...), any case.
bool WordIsURLText(const String& text);

}  // namespace AdvMemo
