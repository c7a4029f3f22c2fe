#include "classlib/StringList.h"

#include <gtest/gtest.h>

using namespace ClassLib;

namespace {
std::vector<std::wstring> LinesAfterSetText(const std::wstring& text) {
    TStringList list;
    list.SetText(text);
    std::vector<std::wstring> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}
}  // namespace

TEST(StringListText, SplitsAtEveryKindOfBreak) {
    struct TCase { const wchar_t* Text; std::vector<std::wstring> Lines; };
    const TCase cases[] = {
        {L"", {}},
        {L"a\r\nb", {L"a", L"b"}},
        {L"a\rb\nc", {L"a", L"b", L"c"}},
        {L"a\r\n", {L"a"}},
        {L"a\r\n\r\n", {L"a", L""}},
        {L"\r\n", {L""}},
        {L"\n\n", {L"", L""}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(LinesAfterSetText(c.Text), c.Lines);
    }
}
