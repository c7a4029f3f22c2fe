#pragma once
// The memo's own find options and the window-free matching of a search text within one line.
#include "classlib/EnumSet.h"

#include <functional>
#include <string>

namespace ClassLib { class TObject; }

namespace AdvMemo {

// The editor's find options; the members up to freShowHelp share the bit positions of the
// platform's TFindOptions, yet the two sets stay distinct types so overloads never collide.
enum TFindOptionEx {
    freDown, freFindNext, freHideMatchCase, freHideWholeWord, freHideUpDown, freMatchCase, freDisableMatchCase,
    freDisableUpDown, freDisableWholeWord, freReplace, freReplaceAll, freWholeWord, freShowHelp, freSelection,
    freExpression, freWrapAtEnd
};
using TFindOptionsEx = ClassLib::TEnumSet<TFindOptionEx>;

// x: 1-based column of the match's first character; y: 1-based line number.
using TMemoTextFoundEvent = std::function<void(ClassLib::TObject* sender, int x, int y)>;

// Word characters of the whole-word test: digits, "_", ASCII lower-case letters and some
// lower-case Latin-1 letters. Callers lower-case by ASCII rules first, so "A" counts and "Ä" does not.
bool IsFindWordChar(wchar_t ch);
// Blank is the only separator of FindTextPos's whole-word test.
bool IsNonBlank(wchar_t ch);

// One line as a find sees it: the cased text to search and the neighbours of the whole-word test.
struct TFindLine {
    const std::wstring& Cased;      // lower-cased by locale rules unless case matters
    const std::wstring& Neighbours; // the line lower-cased by ASCII rules only
};

// 0-based column of an occurrence of key lying wholly within [from, to) of the line, or -1.
// Downward the first, upward the last (overlapping occurrences included). With wholeWord an
// occurrence with a word character beside it in the whole line is passed over for the next one.
int MatchInLine(const TFindLine& line, const std::wstring& key, int from, int to, bool down, bool wholeWord,
                bool (*isWordChar)(wchar_t) = IsFindWordChar);

}  // namespace AdvMemo
