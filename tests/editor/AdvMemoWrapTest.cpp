#include "editor/AdvMemoWrap.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace AdvMemo;

TEST(AdvMemoWrap, BreakPositionsOfOneLine) {
    struct TCase { const wchar_t* Name; std::wstring Line; int Limit; std::vector<int> Breaks; };
    const TCase cases[] = {
        {L"empty", L"", 10, {}},
        {L"fits exactly", L"0123456789", 10, {}},
        {L"no room at all", L"abc def", 0, {}},
        {L"negative limit", L"abc def", -3, {}},
        {L"after the last blank that fits", L"aaaa bbbb cccc", 10, {10}},
        {L"blank right at the limit", L"aaaaaaaaa bbb", 10, {10}},
        {L"one blank past the limit", L"aaaaaaaaaa bbb", 10, {10}},
        {L"every break character", L"aa*bb+cc-dd/ee", 4, {3, 6, 9, 12}},
        {L"word longer than a row", std::wstring(25, L'w'), 10, {10, 20}},
        {L"long word after a short one", L"ab " + std::wstring(12, L'x'), 5, {3, 8, 13}},
        {L"blanks stay at the end of the row", L"ab    cd", 4, {4}},
        {L"slash after a colon is a scheme", L"http://example.org/x", 12, {7, 19}},
        // The colon test sees the row only: a slash opening a row breaks after it.
        {L"colon in the row before", L"abc:/dddd e", 4, {4, 5, 9}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        EXPECT_EQ(WrapBreaks(c.Line, c.Limit), c.Breaks);
    }
}

TEST(AdvMemoWrap, RandomLinesCutIntoRowsThatFit) {
    std::mt19937 random(20261210);
    const std::wstring alphabet = L"ab :/-*+";
    for (int round = 0; round < 2000; ++round) {
        std::wstring line(random() % 40, L' ');
        for (wchar_t& c : line) c = alphabet[random() % alphabet.size()];
        const int limit = 1 + static_cast<int>(random() % 12);
        SCOPED_TRACE(testing::PrintToString(line) + " limit " + std::to_string(limit));
        const std::vector<int> breaks = WrapBreaks(line, limit);
        int from = 0;
        for (int at : breaks) {
            ASSERT_GT(at, from);  // no empty row, so the loop always ends
            ASSERT_LE(at - from, limit);
            from = at;
        }
        ASSERT_LE(static_cast<int>(line.size()) - from, limit);
        ASSERT_EQ(breaks.empty(), static_cast<int>(line.size()) <= limit);
    }
}
