#include "graphics/HTMLTagScanner.h"

#include <gtest/gtest.h>

using namespace HTMLTagScanner;

TEST(HTMLTagScanner, ReadsNamesByTheirFirstLetters) {
    struct TCase { const wchar_t* Tag; bool Closing; const wchar_t* Name; wchar_t First, Second; };
    const TCase cases[] = {
        {L"<B>", false, L"B", L'B', 0},
        {L"</b>", true, L"B", L'B', 0},
        {L"<blink>", false, L"BLINK", L'B', L'L'},
        {L"<a href=\"x\">", false, L"A", L'A', 0},
        {L"</>", false, L"", 0, 0},                // too short to be a closing tag
        {L"<>", false, L"", 0, 0},
        {L"<img/>", false, L"IMG", L'I', L'M'},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Tag)));
        EXPECT_EQ(IsClosingTag(c.Tag), c.Closing);
        EXPECT_EQ(TagName(c.Tag), c.Name);
        EXPECT_EQ(TagLetter(c.Tag, 0), c.First);
        EXPECT_EQ(TagLetter(c.Tag, 1), c.Second);
    }
    EXPECT_TRUE(TagNameIs(L"<strong>", L"STRONG"));
    EXPECT_FALSE(TagNameIs(L"<strongest>", L"STRONG"));
    EXPECT_EQ(TagLetter(L"<B x>", 1), 0);   // the blank ends the name
}

TEST(HTMLTagScanner, AttributeValuesNeedQuotesAndKeepTheirCase) {
    const std::wstring tag = L"<A href=\"Http://X\" title=\"T t\">";
    const std::wstring upper = UpperCase(tag);
    std::wstring value;
    ASSERT_TRUE(AttributeValue(tag, upper, L"HREF", value));
    EXPECT_EQ(value, L"Http://X");
    ASSERT_TRUE(AttributeValue(tag, upper, L"TITLE", value));
    EXPECT_EQ(value, L"T t");
    EXPECT_FALSE(AttributeValue(tag, upper, L"NAME", value));

    const std::wstring bare = L"<FONT SIZE=3 COLOR=red>";
    EXPECT_FALSE(AttributeValue(bare, UpperCase(bare), L"COLOR", value));
    ASSERT_TRUE(LooseAttributeValue(bare, UpperCase(bare), L"SIZE", value));
    EXPECT_EQ(value, L"3");
    const std::wstring open = L"<FONT COLOR=\"red>";
    EXPECT_FALSE(AttributeValue(open, UpperCase(open), L"COLOR", value));   // an open quote reads nothing
}

TEST(HTMLTagScanner, FindsTagEndsAndTextInAnyCase) {
    EXPECT_EQ(FindTagEnd(L"<b>x"), 2u);
    EXPECT_EQ(FindTagEnd(L"<b x"), std::wstring::npos);
    EXPECT_EQ(IPos(L"<br>", L"a<BR>b"), 2);
    EXPECT_EQ(IPos(L"x", L"abc"), 0);
}
