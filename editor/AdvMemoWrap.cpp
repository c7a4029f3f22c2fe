#include "editor/AdvMemoWrap.h"

namespace AdvMemo {

bool IsWrapBreak(wchar_t c) { return c == L' ' || c == L'*' || c == L'+' || c == L'-' || c == L'/'; }

int WrapCut(std::wstring_view row, int limit) {
    const int n = static_cast<int>(row.size());
    int head = 0;
    while (head < n) {
        int end = head;
        while (end < n) {
            const wchar_t c = row[end];
            ++end;
            if (IsWrapBreak(c) && !(end >= 2 && row[end - 2] == L':')) break;
        }
        if (end > limit) return head == 0 ? limit : head;
        head = end;
    }
    return head;
}

std::vector<int> WrapBreaks(std::wstring_view line, int limit) {
    std::vector<int> breaks;
    if (limit <= 0) return breaks;
    int start = 0;
    // The colon test looks at the row alone: a row never sees the end of the row before it.
    while (static_cast<int>(line.size()) - start > limit) {
        start += WrapCut(line.substr(static_cast<size_t>(start)), limit);
        breaks.push_back(start);
    }
    return breaks;
}

}  // namespace AdvMemo
