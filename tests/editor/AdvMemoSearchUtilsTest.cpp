#include "editor/AdvMemoSearchUtils.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/ShellUrls.h"
#include "classlib/Strings.h"

using namespace AdvMemo;

namespace {

// A day/month/year locale with "/" and ":" for the length of one test.
class TFixedLocale {
public:
    TFixedLocale() : FSaved(ClassLib::FormatSettings()) {
        ClassLib::TFormatSettings& settings = ClassLib::FormatSettings();
        settings.DecimalSeparator = L'.';
        settings.ThousandSeparator = L',';
        settings.DateSeparator = L'/';
        settings.TimeSeparator = L':';
        settings.ShortDateFormat = L"dd/MM/yyyy";
    }
    ~TFixedLocale() { ClassLib::FormatSettings() = FSaved; }
private:
    ClassLib::TFormatSettings FSaved;
};

}  // namespace

TEST(MatchPattern, OperatorsAndWildcards) {
    TFixedLocale locale;
    struct TCase { const wchar_t* Pattern; const wchar_t* Value; bool Match; };
    const TCase cases[] = {
        {L">=10", L"10", true},
        {L">9", L"10", true},        // numbers compare as numbers
        {L">b", L"abc", false},      // texts compare by code
        {L"<5", L"4.5", true},
        {L">1 & <5", L"3", true},
        {L">1 & <5", L"7", false},
        {L">5 ^ <1", L"0", true},
        {L"a*c", L"abbc", true},
        {L"a*c", L"abbd", false},
        {L"a?c", L"abc", true},
        {L"a?c", L"ac", false},
        {L"!a*", L"abc", false},
        {L"!a*", L"xbc", true},
        {L"\"ab\"", L"ab", true},
        {L"a**c", L"ac", true},
        {L"", L"", true},
        {L"", L"x", false},
        {L"*", L"", true},
        {L">30/12/2020", L"31/12/2020 10:30", true},
        {L"<31/12/2020", L"31/12/2020 10:30", false},  // the time of day makes the value later
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Pattern) + L" ~ " + c.Value));
        EXPECT_EQ(MatchPattern(c.Pattern, c.Value), c.Match);
    }
}

TEST(MatchPattern, RunsOfStarsStayFast) {
    // Exponential backtracking would not finish these in any reasonable time.
    const std::wstring value(400, L'a');
    EXPECT_FALSE(MatchPattern(L"a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", value));
    EXPECT_TRUE(MatchPattern(L"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a", value));
    EXPECT_FALSE(MatchPattern(L"*?*?*?*?*?*?*?*?*?*?*?*b*", value));
}

TEST(MatchPattern, CaseFolding) {
    EXPECT_TRUE(MatchPatternCase(L"AB*", L"abc", false));
    EXPECT_FALSE(MatchPatternCase(L"AB*", L"abc", true));
}

TEST(ParseDateText, FieldsAndTimes) {
    TFixedLocale locale;
    struct TCase { const wchar_t* Text; bool Valid; };
    const TCase cases[] = {
        {L"31/12/2020", true}, {L"31/12/2020 10:30", true}, {L"31/12/2020 10:30:59", true},
        {L"1/2/3", true},
        {L"32/12/2020", false}, {L"31/13/2020", false}, {L"31/02/2020", false}, {L"01/01/0", false},
        {L"31/12/2020 24:00", false}, {L"31/12/2020 10:60", false}, {L"31/12/2020 1030", false},
        {L"31/12/2020 10:30:60", false}, {L"31-12-2020", false}, {L"a/b/c", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        double value = 0;
        EXPECT_EQ(ParseDateText(c.Text, value), c.Valid);
    }
    double newYear = 0, value = 0;
    ASSERT_TRUE(ParseDateText(L"01/01/1900", newYear));
    EXPECT_DOUBLE_EQ(newYear, 2.0);  // days since 30 December 1899
    ASSERT_TRUE(ParseDateText(L"01/01/1900 12:00", value));
    EXPECT_DOUBLE_EQ(value, 2.5);
}

TEST(SearchHelpers, HighlightWordAndLists) {
    int raw = 0, pos = 0;
    FindHighlightWord(L"ab", L"xab ab", true, true, raw, pos);
    EXPECT_EQ(raw, 2);
    EXPECT_EQ(pos, 0);  // preceded by a letter
    FindHighlightWord(L"AB", L"x ab.", false, true, raw, pos);
    EXPECT_EQ(pos, 3);
    FindHighlightWord(L"ab", L"abc", true, true, raw, pos);
    EXPECT_EQ(pos, 0);  // followed by a word character

    // The first item in list order that occurs, not the leftmost occurrence.
    EXPECT_EQ(PosOfFirstListItem(L"//,#", L"# a // b"), 5);
    EXPECT_EQ(PosOfFirstListItem(L"x,#", L"# a"), 1);
    EXPECT_EQ(PosOfFirstListItem(L"x,y", L"abc"), 0);

    EXPECT_EQ(LastPos(L"ab", L"abab"), 3);
    EXPECT_EQ(LastPos(L"ab", L"ab"), 1);
    EXPECT_EQ(LastPos(L"abc", L"ab"), 0);

    EXPECT_TRUE(WordIsURLText(L"HTTP://x"));
    EXPECT_TRUE(WordIsURLText(L"www.x.org"));
    EXPECT_TRUE(WordIsURLText(L"mailto:a@b"));
    EXPECT_FALSE(WordIsURLText(L"http:/x"));
    EXPECT_TRUE(ClassLib::UrlOpensInShell(L"HTTPS://x.org"));
    EXPECT_TRUE(ClassLib::UrlOpensInShell(L"www.x.org"));
    EXPECT_FALSE(ClassLib::UrlOpensInShell(L"file://c:/windows/system32/calc.exe"));
    EXPECT_FALSE(ClassLib::UrlOpensInShell(L"nntp://news"));

    int x1 = 5, y1 = 2, x2 = 1, y2 = 2;
    OrderPositions(x1, y1, x2, y2);
    EXPECT_EQ((std::pair{x1, x2}), (std::pair{1, 5}));
    EXPECT_EQ(TrimRightBlanks(L" a \t "), L" a \t");
    EXPECT_EQ(NormalizeNumberText(L"1,234.5"), L"1234.5");
}
