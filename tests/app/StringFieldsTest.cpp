#include "app/StringFields.h"

#include <gtest/gtest.h>

using namespace StringFields;

TEST(StringFields, FetchFieldSplitsAndTrimsBlanksOnly) {
    struct TCase { const wchar_t* Text; const wchar_t* Delimiter; const wchar_t* Head; const wchar_t* Rest; };
    const TCase cases[] = {
        {L"  AT+X = 5 ", L"=", L"AT+X", L"5"},
        {L" abc ", L"*", L"abc", L""},         // no delimiter: all of it, nothing left
        {L"*x", L"*", L"", L"x"},              // delimiter first
        {L"x*", L"*", L"x", L""},              // delimiter last
        {L"a\t= b", L"=", L"a\t", L"b"},       // a tab is not a blank
        {L"a=b=c", L"=", L"a", L"b=c"},        // only the first delimiter splits
        {L"a--b--c", L"--", L"a", L"b--c"},    // a long delimiter is searched whole
        {L"aXb", L"x", L"aXb", L""},           // case-sensitive
        {L"", L"=", L"", L""},
        {L"abc", L"", L"abc", L""},            // an empty delimiter never occurs
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text) + L" | " + c.Delimiter));
        std::wstring text = c.Text;
        EXPECT_EQ(FetchField(text, c.Delimiter), c.Head);
        EXPECT_EQ(text, c.Rest);
    }
}

TEST(StringFields, SplitAndTrimHelpers) {
    std::wstring text = L" a = b ";
    EXPECT_EQ(SplitAtDelimiter(text, L"="), L" a ");
    EXPECT_EQ(text, L" b ");
    text = L"no delimiter";
    EXPECT_EQ(SplitAtDelimiter(text, L"="), L"no delimiter");
    EXPECT_EQ(text, L"");
    EXPECT_EQ(TextBeforeDelimiter(L"k=v", L"="), L"k");
    EXPECT_EQ(TextAfterDelimiter(L"k=v", L"="), L"v");
    EXPECT_EQ(TextAfterDelimiter(L"kv", L"="), L"kv");
    EXPECT_EQ(TrimSpacesLeft(L"  \tx  "), L"\tx  ");
    EXPECT_EQ(TrimSpacesRight(L"  x\t  "), L"  x\t");
    EXPECT_EQ(TrimSpaces(L"   "), L"");
}
