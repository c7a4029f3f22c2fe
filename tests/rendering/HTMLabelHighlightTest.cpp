// The highlight and mark routines the HTML label uses for its search texts.
#include "rendering/AdvHTML.h"

#include <chrono>
#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "classlib/Strings.h"
#include "support/HTMLFuzz.h"
#include "support/HangBound.h"

using namespace AdvHTML;

TEST(AdvHTMLHighlight, WrapsMatchesOfTheVisibleText) {
    struct TCase { const wchar_t* S; const wchar_t* HiText; bool DoCase; const wchar_t* Result; };
    const TCase cases[] = {
        {L"a <b>cat</b> sat", L"at", true, L"a <b>c<hi>at</hi></b> s<hi>at</hi>"},
        {L"Cat", L"CAT", false, L"<hi>Cat</hi>"},
        {L"Cat", L"CAT", true, L"Cat"},
        {L"\u00E9t\u00E9", L"\u00C9T\u00C9", false, L"<hi>\u00E9t\u00E9</hi>"},    // the locale's upper case
        {L"aa", L"a", true, L"<hi>a</hi><hi>a</hi>"},          // adjacent: each match closes before the next opens
        {L"aaa", L"aa", true, L"<hi>aa</hi>a"},                // the next search starts after the match
        {L"abc", L"", true, L"abc"},
        {L"abc", L"x", true, L"abc"},
        {L"", L"a", true, L""},
        {L"a <b>c</b>at", L"cat", true, L"a <hi><b>c</b>at</hi>"},   // across tags
        {L"<a href=\"at\">x</a>", L"at", true, L"<a href=\"at\">x</a>"},  // tag contents are not text
        {L"x<br>y", L"xy", true, L"<hi>x<br>y</hi>"},
        {L"a>at", L"at", true, L"a><hi>at</hi>"},              // a stray ">" is text
        {L"at<b", L"at", true, L"<hi>at</hi><b"},              // an unclosed tag hides the rest
        {L"at<", L"t<", true, L"at<"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.S) + L" / " + c.HiText));
        EXPECT_EQ(HighlightHTML(c.S, c.HiText, L"hi", c.DoCase), c.Result);
    }
}

TEST(AdvHTMLHighlight, UnhighlightRemovesTheTagInAnyCase) {
    struct TCase { const wchar_t* S; const wchar_t* Tag; const wchar_t* Result; };
    const TCase cases[] = {
        {L"x<HI>y</hi>", L"hi", L"xy"},
        {L"<e>a</E><hi>b</hi>", L"E", L"a<hi>b</hi>"},
        {L"<<hi>hi>x", L"hi", L"x"},                           // a marker joined by the removal goes too
        {L"<hix>a</hix>", L"hi", L"<hix>a</hix>"},
        {L"", L"hi", L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.S)));
        EXPECT_EQ(UnhighlightHTML(c.S, c.Tag), c.Result);
    }
}

// Over mutated markup and random search texts: the inserted tags alternate and taking them
// out again gives the original back.
TEST(AdvHTMLHighlight, FuzzedMarkupRoundTrips) {
    std::mt19937 random(27);
    const wchar_t* const searches[] = {L"a", L"e", L"x", L" ", L"&", L"re", L"wor", L"upd", L"<", L">", L"\""};
    std::wstring seed = TestSupport::HTMLFuzzSeed;
    for (int i = 0; i < 2000; ++i) {
        const std::wstring input = TestSupport::MutateHTML(random, seed);
        if (random() % 4 == 0) seed = input;
        if (ClassLib::AnsiUpperCase(input).find(L"<HI>") != std::wstring::npos ||
            ClassLib::AnsiUpperCase(input).find(L"</HI>") != std::wstring::npos)
            continue;
        const std::wstring hiText = searches[random() % std::size(searches)];
        const bool doCase = random() % 2 == 0;
        const std::wstring marked = HighlightHTML(input, hiText, L"hi", doCase);
        bool open = false;
        for (std::size_t at = marked.find(L"hi>"); at != std::wstring::npos; at = marked.find(L"hi>", at + 1)) {
            const bool closing = at >= 2 && marked.compare(at - 2, 2, L"</") == 0;
            if (!closing && (at == 0 || marked[at - 1] != L'<')) continue;
            if (closing == open) {
                open = closing ? false : true;
            } else {
                ADD_FAILURE() << "tags out of turn in " << testing::PrintToString(marked);
                return;
            }
        }
        EXPECT_FALSE(open) << testing::PrintToString(marked);
        ASSERT_EQ(UnhighlightHTML(marked, L"hi"), input) << testing::PrintToString(hiText);
    }
}

// Long texts with a match at every character, marked texts to clean and text to strip: each
// routine walks its text once. The bound only catches a hang (200,000 "a" once took minutes).
TEST(AdvHTMLHighlight, LongTextsEnd) {
    const std::wstring letters(200000, L'a');
    std::wstring marked, hidden;
    for (int i = 0; i < 100000; ++i) {
        marked += L"<hi>a</HI>";
        hidden += L"<z>a</z><BR>";
    }
    struct TCase { const char* Tag; std::function<std::wstring()> Work; std::size_t Length; };
    const TCase cases[] = {
        {"highlight", [letters] { return HighlightHTML(letters, L"a", L"hi", true); }, 10 * letters.size()},
        {"highlight ignoring case", [letters] { return HighlightHTML(letters, L"A", L"hi", false); }, 10 * letters.size()},
        {"unhighlight", [marked] { return UnhighlightHTML(marked, L"hi"); }, 100000},
        {"plain text", [hidden] { return HTMLPlainText(hidden); }, 200000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        auto result = std::make_shared<std::wstring>();
        ASSERT_TRUE(TestSupport::EndsWithin([work = c.Work, result] { *result = work(); }, std::chrono::seconds(60)));
        EXPECT_EQ(result->size(), c.Length);
    }
}
