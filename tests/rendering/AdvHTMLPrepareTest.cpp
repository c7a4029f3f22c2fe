#include "rendering/AdvHTMLPrepare.h"

#include <gtest/gtest.h>

using namespace AdvHTML;

TEST(AdvHTMLPrepare, NamedEntitiesFollowTheTableOfEachEngine) {
    struct TCase { const wchar_t* Text; int Count; const wchar_t* Result; };
    const TCase cases[] = {
        {L"caf&eacute;", CanvasEntityCount, L"caf\u00E9"},
        {L"&Eacute;t&eacute;", CanvasEntityCount, L"\u00C9t\u00E9"},
        {L"&copy;&copy;", CanvasEntityCount, L"\u00A9\u00A9"},
        {L"&deg;", StatusBarEntityCount, L"\u00B0"},               // row 72: the last the bar reads
        {L"&ntilde;", StatusBarEntityCount, L"&ntilde;"},           // row 73: canvas only
        {L"&ntilde;&frac12;", CanvasEntityCount, L"\u00F1\u00BD"},
        {L"a &AMP; b &amp;", CanvasEntityCount, L"a && b &&"},
        {L"&EACUTE;", CanvasEntityCount, L"&EACUTE;"},              // names match as written
        {L"&nbsp;&lt;", CanvasEntityCount, L"&nbsp;&lt;"},          // the line routine reads these
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(ReplaceNamedEntities(c.Text, c.Count), c.Result);
    }
}

TEST(AdvHTMLPrepare, NumericReferencesAndTheirInvalidForms) {
    struct TCase { const wchar_t* Text; bool Emoji; std::wstring Result; };
    const TCase cases[] = {
        {L"&#65;&#x42;", true, L"AB"},
        {L"&#128512;", true, std::wstring(L"<J ") + L"\xD83D\xDE00" + L" >"},
        {L"&#128512;", false, L"\xD83D\xDE00"},
        {L"&#x1F003;", true, L"\xD83C\xDC03"},                       // just below the emoji range
        {L"&#abc;", true, L"&#abc;"},
        {L"a &&#65;", true, L"a &&#65;"},
        {L"&#65", true, L"&#65"},                                    // no ";": stays
        {L"&#0;", true, L"&#0;"},                                    // invalid code points stay text
        {L"&#xD800;", true, L"&#xD800;"},
        {L"&#x110000;", true, L"&#x110000;"},
        {L"&#1234567;", true, L"&#1234567;"},                        // seven digits
        {L"&#;", true, L"&#;"},
        {L"&#65;&#", true, L"A&#"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(ReplaceNumericReferences(c.Text, c.Emoji), c.Result);
    }
}

TEST(AdvHTMLPrepare, LiteralsLineBreaksAndTheWholePreparation) {
    EXPECT_EQ(RemoveLiterals(L"<#FIELD>"), L"#FIELD");
    EXPECT_EQ(RemoveLiterals(L"<#a><#b>c>"), L"#a#bc>");
    EXPECT_EQ(RemoveLiterals(L"x<#"), L"x#");
    EXPECT_EQ(ConvertLineBreaks(L"a\r\nb\nc", true), L"a<BR>bc");
    EXPECT_EQ(ConvertLineBreaks(L"a\r\nb", false), L"ab");
    EXPECT_EQ(PrepareHTML(L"&#65;&amp;\r\n<#x>", CanvasEntityCount, true), L"A&&<BR>#x");
    // After a doubled "&" the numeric step leaves the rest alone.
    EXPECT_EQ(PrepareHTML(L"&amp;&#65;", CanvasEntityCount, true), L"&&&#65;");
}

TEST(AdvHTMLPrepare, ColourValues) {
    struct TCase { const wchar_t* Value; ClassLib::TColor Colour; };
    const TCase cases[] = {
        {L"#FF0000", 0x0000FF}, {L"#00ff80", 0x80FF00}, {L"#12", 0x000012}, {L"#", 0},
        {L"clRed", 0x0000FF}, {L"CLNAVY", 0x800000}, {L"clBtnFace", ClassLib::clBtnFace},
        {L"red", 0}, {L"", 0}, {L"#GG0000", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Value)));
        EXPECT_EQ(HTMLColor(c.Value), c.Colour);
    }
}

TEST(AdvHTMLPrepare, NumbersSaturateInsteadOfOverflowing) {
    struct TCase { const wchar_t* Value; int Result; };
    const TCase cases[] = {
        {L"12", 12}, {L"  -7x", -7}, {L"$1F", 31}, {L"0x10", 16}, {L"x", 0}, {L"", 0}, {L"abc", 0},
        {L"99999999999999999999", 2147483647}, {L"-99999999999999999999", -2147483647 - 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Value)));
        EXPECT_EQ(IntValue(c.Value), c.Result);
    }
    EXPECT_DOUBLE_EQ(DecimalValue(L"1,5"), 1.5);
    EXPECT_DOUBLE_EQ(DecimalValue(L"x"), 0.0);
    EXPECT_DOUBLE_EQ(DecimalValue(L"1e999"), 0.0);
}

TEST(AdvHTMLPrepare, PlainTextDropsTagsAndHiddenText) {
    EXPECT_EQ(HTMLPlainText(L"a<BR>b<Z>c</Z><b>d</b>"), L"a\r\nbd");
    EXPECT_EQ(HTMLPlainText(L"a<hr>b"), L"a\r\nb");
    EXPECT_EQ(HTMLPlainText(L"a<b"), L"a<b");
    EXPECT_EQ(HTMLPlainText(L"<z>open"), L"open");   // no "</z>": only the tag goes
}
