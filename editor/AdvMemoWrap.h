#pragma once
// The memo's word-wrap rule without a window: where a line is cut into rows of a fixed
// number of character cells. The grid is fixed-pitch, so the view turns its width into a
// column count (through its ITextMeasure) before it asks.
#include <string_view>
#include <vector>

namespace AdvMemo {

// True for the characters a row may end after: blank, '*', '+', '-' and '/'.
bool IsWrapBreak(wchar_t c);

// Where one row of at most `limit` cells ends: after the last break that still fits, or
// hard at `limit` when the row's first word is longer than that. A slash right after a
// colon belongs to a link scheme and is no break. Only meant for rows longer than `limit`.
int WrapCut(std::wstring_view row, int limit);

// The start positions of the continuation rows of `line` cut into rows of at most `limit`
// cells, ascending; empty when the line fits or `limit` is not positive.
std::vector<int> WrapBreaks(std::wstring_view line, int limit);

}  // namespace AdvMemo
