// Winsock first: it must come before <windows.h>, which the unit's header pulls in.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "graphics/AdvUtils.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <map>
#include <random>
#include <thread>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "graphics/AdvTypes.h"

#undef GetTempPath

using AdvUtils::TAdvUtils;
using AdvUtils::TBytes;
using ClassLib::EConvertError;
using ClassLib::TMemoryStream;
using ClassLib::TPicture;

namespace {

std::string Narrow(const std::wstring& s) { return ClassLib::UTF8Encode(s); }

// Puts every format setting back as it was, whatever a test switched.
class TLocaleScope {
public:
    TLocaleScope() : FSaved(ClassLib::FormatSettings()) {}
    ~TLocaleScope() { ClassLib::FormatSettings() = FSaved; }
    TLocaleScope(const TLocaleScope&) = delete;
    TLocaleScope& operator=(const TLocaleScope&) = delete;
    void Dates(const wchar_t* shortDateFormat, wchar_t dateSeparator, wchar_t timeSeparator = L':') {
        ClassLib::FormatSettings().ShortDateFormat = shortDateFormat;
        ClassLib::FormatSettings().DateSeparator = dateSeparator;
        ClassLib::FormatSettings().TimeSeparator = timeSeparator;
    }
    void Numbers(wchar_t decimalSeparator, wchar_t thousandSeparator) {
        ClassLib::FormatSettings().DecimalSeparator = decimalSeparator;
        ClassLib::FormatSettings().ThousandSeparator = thousandSeparator;
    }
private:
    ClassLib::TFormatSettings FSaved;
};

std::unique_ptr<TMemoryStream> StreamOf(const TBytes& bytes) {
    auto stream = std::make_unique<TMemoryStream>();
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

TBytes BytesOf(const TPicture& picture) {
    TMemoryStream stream;
    picture.Graphic()->SaveToStream(&stream);
    return stream.Bytes();
}

// A small picture in a real format, made by the class library's own encoder.
template <class TFormat>
std::unique_ptr<AdvTypes::TAdvBitmap> MakePicture(int width, int height) {
    ClassLib::TBitmap bitmap(width, height, ClassLib::pf24bit);
    bitmap.Canvas()->Brush()->SetColor(ClassLib::TColor(0x3366CC));
    bitmap.Canvas()->FillRect(ClassLib::Rect(0, 0, width, height));
    TFormat image;
    image.Assign(&bitmap);
    auto picture = std::make_unique<AdvTypes::TAdvBitmap>();
    picture->SetGraphic(&image);
    return picture;
}

}  // namespace

// ---------------------------------------------------------------- strings

TEST(AdvUtilsStrings, PositionsAndReplacementIgnoreCase) {
    EXPECT_EQ(TAdvUtils::IPos(L"BC", L"abcabc"), 2);
    EXPECT_EQ(TAdvUtils::IPos(L"x", L"abc"), 0);
    int found = -5;
    EXPECT_EQ(TAdvUtils::VarPos(L"B", L"abc", found), 0);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(TAdvUtils::VarPosNoCase(L"B", L"abc", found), 2);
    EXPECT_EQ(found, 2);

    std::wstring text = L"<b>one</B> <B>two</b>";
    EXPECT_TRUE(TAdvUtils::TagReplaceString(L"</b>", L"]", text));
    EXPECT_EQ(text, L"<b>one] <B>two</b>");   // the first occurrence only
    EXPECT_FALSE(TAdvUtils::TagReplaceString(L"<i>", L"[", text));
    EXPECT_EQ(text, L"<b>one] <B>two</b>");
}

TEST(AdvUtilsStrings, CharInStrAnswersZeroOutsideTheText) {
    EXPECT_EQ(TAdvUtils::CharInStr(L"abc", 1), L'a');
    EXPECT_EQ(TAdvUtils::CharInStr(L"abc", 3), L'c');
    EXPECT_EQ(TAdvUtils::CharInStr(L"abc", 0), L'\0');
    EXPECT_EQ(TAdvUtils::CharInStr(L"abc", 4), L'\0');
    EXPECT_EQ(TAdvUtils::CharInStr(L"", 1), L'\0');
}

TEST(AdvUtilsStrings, IndexOfTextInArrayKeepsAccentedNamesApart) {
    const std::vector<std::wstring> values = {L"&amp;", L"&eacute;", L"&Eacute;", L"&Ntilde;", L"&ntilde;"};
    EXPECT_EQ(TAdvUtils::IndexOfTextInArray(L"&AMP;", values), 0);
    EXPECT_EQ(TAdvUtils::IndexOfTextInArray(L"&Eacute;", values), 2);
    EXPECT_EQ(TAdvUtils::IndexOfTextInArray(L"&eacute;", values), 1);
    EXPECT_EQ(TAdvUtils::IndexOfTextInArray(L"&ntilde;", values), 4);
    EXPECT_EQ(TAdvUtils::IndexOfTextInArray(L"&nbsp;", values), -1);
    // The entity table as the markup engine asks it.
    EXPECT_EQ(TAdvUtils::GetMarkupIndex(L"&Eacute;"), 25);
    EXPECT_EQ(TAdvUtils::GetMarkupIndex(L"&eacute;"), 5);
    EXPECT_EQ(TAdvUtils::GetMarkupIndex(L"&NBSP;"), 4);
    EXPECT_EQ(TAdvUtils::GetMarkupIndex(L"&sect;"), 61);   // the first of its two rows
    EXPECT_EQ(TAdvUtils::GetMarkupIndex(L"&bogus;"), -1);
}

TEST(AdvUtilsStrings, EntityTableRows) {
    struct TCase { int Row; const wchar_t* Text; };
    const TCase cases[] = {
        {1, L"&"}, {4, L"\""}, {5, L" "}, {6, L"\u00E9"}, {26, L"\u00C9"}, {52, L"(c)"}, {54, L"\u20AC"},
        {62, L"\u00A7"}, {67, L"\u00A7"}, {63, L"\u00B6"}, {69, L"\u00B6"}, {66, L"$"}, {70, L"'"},
        {77, L"\u00FD"}, {78, L"\u00DD"}, {86, L"\u00D0"}, {0, L""}, {87, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Row);
        EXPECT_EQ(TAdvUtils::GetSpecialChar(c.Row), c.Text);
    }
}

TEST(AdvUtilsStrings, SplitIsStrictAndCanDropEmptyEntries) {
    ClassLib::TStringList list;
    list.Add(L"old");
    TAdvUtils::Split(L';', L"a b;;c,d;", &list, false);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], L"a b");   // no splitting at blanks
    EXPECT_EQ(list[1], L"");
    EXPECT_EQ(list[2], L"c,d");
    EXPECT_EQ(list[3], L"");
    TAdvUtils::Split(L';', L"a b;;c,d;", &list, true);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], L"a b");
    EXPECT_EQ(list[1], L"c,d");
}

// ---------------------------------------------------------------- markup

TEST(AdvUtilsMarkup, FixMarkupEscapesCharactersAndEntities) {
    struct TCase { const wchar_t* Text; bool Special; const wchar_t* Fixed; };
    const TCase cases[] = {
        {L"a<b>&\"c\"", false, L"a&lt;b&gt;&amp;&quot;c&quot;"},
        {L"a *amp; b", false, L"a &amp; b"},            // a ready-made "*amp;" ends as "&amp;" too
        {L"a b", false, L"a b"},
        {L"a b", true, L"a&nbsp;b"},                    // every blank
        {L"caf\u00E9 \u00C9t\u00E9", true, L"caf&eacute;&nbsp;&Eacute;t&eacute;"},   // case kept apart
        {L"(c) 5$", true, L"&copy;&nbsp;5&#36;"},
        {L"\u20AC\u2122", true, L"&euro;&trade;"},      // table rows before the numeric step
        {L"\u03A9\u0100", true, L"&#937;\u0100"},        // above 256 only
        {L"\u03A9", false, L"\u03A9"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        EXPECT_EQ(TAdvUtils::FixMarkup(c.Text, c.Special), c.Fixed);
    }
}

TEST(AdvUtilsMarkup, UnFixMarkupRestoresCharacters) {
    struct TCase { const wchar_t* Text; bool Special; bool Only; const wchar_t* Plain; };
    const TCase cases[] = {
        {L"&lt;b&gt; &amp; &quot;", false, false, L"<b> & \""},
        {L"&amp;lt;", false, false, L"<"},               // the basic names go first, over and over
        {L"&amp;amp;", false, false, L"&"},
        {L"&eacute; &lt;", true, true, L"\u00E9 &lt;"},  // special characters only: "&lt;" stays
        {L"&Eacute; &eacute;", true, true, L"\u00C9 \u00E9"},   // each name in its own case
        {L"&EACUTE;", true, true, L"&EACUTE;"},
        {L"&nbsp;&copy;&#36;&#39;&sect;", true, false, L" (c)$'\u00A7"},
        {L"&eacute;", false, false, L"&eacute;"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        EXPECT_EQ(TAdvUtils::UnFixMarkup(c.Text, c.Special, c.Only), c.Plain);
    }
}

TEST(AdvUtilsMarkup, EveryTableCharacterSurvivesFixAndUnFix) {
    std::wstring all = L"plain text 123 ";
    for (int row = 1; row <= 86; ++row) all += TAdvUtils::GetSpecialChar(row) + L"x";
    const std::wstring fixed = TAdvUtils::FixMarkup(all, true);
    EXPECT_EQ(fixed.find(L' '), std::wstring::npos);
    EXPECT_EQ(TAdvUtils::UnFixMarkup(fixed, true, false), all);
}

TEST(AdvUtilsMarkup, HTMLStripAndIsHTML) {
    struct TCase { const wchar_t* Html; const wchar_t* Plain; };
    const TCase cases[] = {
        {L"a<br>b<HR>c", L"a\r\nb\r\nc"},
        {L"<b>bold</b> <font color=\"red\">x</font>", L"bold x"},
        {L"a < b and more", L"a < b and more"},            // no later ">": kept as it stands
        {L"<i>x</i> 3 < 4", L"x 3 < 4"},
        {L"", L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Html));
        EXPECT_EQ(TAdvUtils::HTMLStrip(c.Html), c.Plain);
    }
    EXPECT_TRUE(TAdvUtils::IsHTML(L"<b>x</b>"));
    EXPECT_TRUE(TAdvUtils::IsHTML(L"<img src=\"a\"/>"));
    EXPECT_TRUE(TAdvUtils::IsHTML(L"line<Br>line"));
    EXPECT_FALSE(TAdvUtils::IsHTML(L"<b>x"));
    EXPECT_FALSE(TAdvUtils::IsHTMLUnicode(L"3 < 4 > 2"));
}

// ---------------------------------------------------------------- escaping

TEST(AdvUtilsEscaping, EscapeWritesUnicodeFormsOnly) {
    struct TCase { const wchar_t* Text; const wchar_t* Escaped; };
    const TCase cases[] = {
        {L"a\"b", L"a\\u0022b"},     // never a backslash-quote pair
        {L"\\", L"\\u005C"},
        {L"\b\f\n\r\t", L"\\u0008\\u000C\\u000A\\u000D\\u0009"},
        {L"a/b c", L"a/b c"},
        {L"\u00E9\u20AC", L"\\u00E9\\u20AC"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        EXPECT_EQ(TAdvUtils::EscapeString(c.Text), c.Escaped);
        EXPECT_EQ(TAdvUtils::UnescapeString(c.Escaped), c.Text);
    }
    EXPECT_EQ(TAdvUtils::UnescapeString(L"\\n\\/\\\\\\u00e9"), L"\n/\\\u00E9");
}

TEST(AdvUtilsEscaping, UnescapeNamesTheBadBackslash) {
    struct TCase { const wchar_t* Text; const wchar_t* Message; };
    const TCase cases[] = {
        {L"ab\\", L"Unexpected end of string"},
        {L"a\\\"", L"Invalid code at position 2"},
        {L"\\x", L"Invalid code at position 1"},
        {L"ok\\u12", L"Invalid code at position 3"},
        {L"\\u12G4", L"Invalid code at position 1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        try {
            TAdvUtils::UnescapeString(c.Text);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
}

// ---------------------------------------------------------------- character sets

TEST(AdvUtilsCharSets, SetsKeepOrderAndFirstCharSkipsQuotes) {
    EXPECT_EQ(TAdvUtils::AlphaCharSet().size(), 52u);
    EXPECT_EQ(TAdvUtils::AlphaCharSet().front(), L'a');
    EXPECT_EQ(TAdvUtils::AlphaCharSet()[26], L'A');
    const auto digitsAndAB = TAdvUtils::AddCharSet(TAdvUtils::NumericCharSet(), TAdvUtils::CreateCharSet(L"ab"));
    EXPECT_EQ(std::wstring(digitsAndAB.begin(), digitsAndAB.end()), L"0123456789ab");
    const auto odd = TAdvUtils::SubCharSet(TAdvUtils::NumericCharSet(), TAdvUtils::CreateCharSet(L"02468"));
    EXPECT_EQ(std::wstring(odd.begin(), odd.end()), L"13579");
    EXPECT_TRUE(TAdvUtils::CharInSet(L'7', odd));
    EXPECT_FALSE(TAdvUtils::CharInSet(L'8', odd));

    const auto ops = TAdvUtils::CreateCharSet(L"&|");
    int spos = 0;
    EXPECT_EQ(TAdvUtils::FirstChar(ops, L"\"a&b\"|c", spos), L'|');
    EXPECT_EQ(spos, 6);
    EXPECT_EQ(TAdvUtils::FirstChar(ops, L"\"a&b", spos), L'\0');
    EXPECT_EQ(spos, -1);
}

// ---------------------------------------------------------------- filters

TEST(AdvUtilsFilters, MatchStrExEvaluatesExpressions) {
    struct TCase { const wchar_t* Filter; const wchar_t* Value; bool Case; bool Match; };
    const TCase cases[] = {
        {L"a*", L"abc", false, true},
        {L"=a*", L"abc", false, true},              // a leading "=" changes nothing
        {L"!a*", L"abc", false, false},
        {L"!a*", L"xyz", false, true},
        {L">5&<10", L"7", false, true},
        {L">5&<10", L"12", false, false},
        {L"> 5 & < 10", L"7", false, true},          // blanks outside quotes do not count
        {L">=10", L"10", false, true},
        {L">10", L"9", false, false},                // numbers, not texts
        {L">b", L"c", false, true},                  // texts when not numbers
        {L"A*", L"abc", false, true},
        {L"A*", L"abc", true, false},
        {L"a?c", L"abc", false, true},
        {L"a?c", L"ac", false, false},
        {L"*c", L"abc", false, true},
        {L"a**c", L"abbbc", false, true},
        {L"abc|xyz", L"xyz", false, true},
        {L"abc;xyz", L"xyz", false, true},
        {L"abc^xyz", L"abc", false, true},
        {L"a*&*z", L"abc", false, false},
        {L"(a*|b*)&*c", L"bc", false, true},
        {L"(a*|b*)&*c", L"bd", false, false},
        {L"x*|(a*&*c)", L"abc", false, true},
        {L"\"a b\"", L"a b", false, true},
        {L"\"a|b\"", L"a|b", false, true},           // an operator inside quotes is text
        {L"", L"", false, true},
        {L"", L"x", false, false},
        {L"*", L"", false, true},
        {L"a", L"", false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(std::wstring(c.Filter) + L" ~ " + c.Value));
        EXPECT_EQ(TAdvUtils::MatchStrEx(c.Filter, c.Value, c.Case), c.Match);
    }
}

TEST(AdvUtilsFilters, HelpersOfTheExpressionParser) {
    EXPECT_EQ(TAdvUtils::StripLogicSpaces(L" a & \"b c\" "), L"a&\"b c\"");
    EXPECT_EQ(TAdvUtils::ClosingParenthesis(L"(a(b)c)d"), 7);
    EXPECT_EQ(TAdvUtils::ClosingParenthesis(L"(a(b"), 0);
    EXPECT_EQ(TAdvUtils::ClosingParenthesis(L"abc"), 0);
    TLocaleScope locale;
    locale.Numbers(L',', L'.');
    EXPECT_EQ(TAdvUtils::StripThousandSep(L"1.234.567,5"), L"1234567,5");
}

// ---------------------------------------------------------------- dates

TEST(AdvUtilsDates, IsDateFollowsTheLocaleFieldOrder) {
    struct TCase { const wchar_t* Text; bool Valid; int Year, Month, Day, Hour, Minute, Second; };
    struct TLocale { const wchar_t* Format; wchar_t Separator; std::vector<TCase> Cases; };
    const TLocale locales[] = {
        {L"dd/mm/yyyy", L'/', {
            {L"15/03/2020", true, 2020, 3, 15, 0, 0, 0},
            {L"15/03/2020 10:30", true, 2020, 3, 15, 10, 30, 0},
            {L"15/03/2020 23:59:58", true, 2020, 3, 15, 23, 59, 58},
            {L"03/15/2020", false, 0, 0, 0, 0, 0, 0},                  // month 15
            {L"15/03/2020 1030", false, 0, 0, 0, 0, 0, 0},             // a time without its separator
            {L"15/03/2020 24:00", false, 0, 0, 0, 0, 0, 0},
            {L"15/03/2020 10:60", false, 0, 0, 0, 0, 0, 0},
            {L"32/01/2020", false, 0, 0, 0, 0, 0, 0},
            {L"31/02/2020", false, 0, 0, 0, 0, 0, 0},                  // no such day
            {L"15-03-2020", false, 0, 0, 0, 0, 0, 0},
            {L"aa/03/2020", false, 0, 0, 0, 0, 0, 0},
            {L"15/03", false, 0, 0, 0, 0, 0, 0},
        }},
        {L"M/d/yyyy", L'/', {
            {L"03/15/2020", true, 2020, 3, 15, 0, 0, 0},
            {L"3/5/2021 7:05", true, 2021, 3, 5, 7, 5, 0},
            {L"15/03/2020", false, 0, 0, 0, 0, 0, 0},
        }},
        {L"yyyy-MM-dd", L'-', {
            {L"2020-03-15", true, 2020, 3, 15, 0, 0, 0},
            {L"15-03-2020", false, 0, 0, 0, 0, 0, 0},
            {L"2020/03/15", false, 0, 0, 0, 0, 0, 0},
        }},
    };
    for (const TLocale& locale : locales) {
        TLocaleScope scope;
        scope.Dates(locale.Format, locale.Separator);
        for (const TCase& c : locale.Cases) {
            SCOPED_TRACE(Narrow(std::wstring(locale.Format) + L": " + c.Text));
            ClassLib::TDateTime date = -1;
            ASSERT_EQ(TAdvUtils::IsDate(c.Text, date), c.Valid);
            if (!c.Valid) continue;
            EXPECT_DOUBLE_EQ(date, ClassLib::EncodeDate(c.Year, c.Month, c.Day) +
                                       ClassLib::EncodeTime(c.Hour, c.Minute, c.Second, 0));
        }
    }
}

TEST(AdvUtilsDates, FiltersCompareDatesOfTheLocale) {
    TLocaleScope scope;
    scope.Dates(L"dd/mm/yyyy", L'/');
    EXPECT_TRUE(TAdvUtils::MatchStrEx(L">01/02/2020", L"15/03/2020", false));
    EXPECT_FALSE(TAdvUtils::MatchStrEx(L">01/04/2020", L"15/03/2020", false));   // not as texts
    scope.Dates(L"mm/dd/yyyy", L'/');
    EXPECT_TRUE(TAdvUtils::MatchStrEx(L"<04/01/2020", L"03/15/2020", false));
}

TEST(AdvUtilsDates, EpochSecondsAreCountedFrom1970) {
    EXPECT_DOUBLE_EQ(TAdvUtils::EpochToDateTime(L"0"), ClassLib::EncodeDate(1970, 1, 1));
    EXPECT_DOUBLE_EQ(TAdvUtils::EpochToDateTime(L"1600000000"),
                     ClassLib::EncodeDate(2020, 9, 13) + ClassLib::EncodeTime(12, 26, 40, 0));
    EXPECT_THROW(TAdvUtils::EpochToDateTime(L"12x"), EConvertError);
}

// ---------------------------------------------------------------- numbers

TEST(AdvUtilsNumbers, DotConversionsPutTheSeparatorsBack) {
    TLocaleScope scope;
    scope.Numbers(L',', L'.');
    double value = 0;
    EXPECT_TRUE(TAdvUtils::TryStrToFloatDot(L"2.5", value));
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_FALSE(TAdvUtils::TryStrToFloatDot(L"2,5", value));
    EXPECT_DOUBLE_EQ(TAdvUtils::StrToFloatDot(L"-0.125"), -0.125);
    EXPECT_EQ(TAdvUtils::FloatToStrDot(1.5), L"1.5");
    EXPECT_THROW(TAdvUtils::StrToFloatDot(L"abc"), EConvertError);
    EXPECT_EQ(ClassLib::FormatSettings().DecimalSeparator, L',');
    EXPECT_EQ(ClassLib::FormatSettings().ThousandSeparator, L'.');
}

TEST(AdvUtilsNumbers, FormatBytesAsStringStopsAtTerabytes) {
    struct TCase { double Size; const wchar_t* Text; };
    const double tb = 1024.0 * 1024 * 1024 * 1024;
    const TCase cases[] = {
        {-1, L""}, {-5, L""}, {0, L"0 Bytes"}, {512, L"512 Bytes"}, {1023, L"1023 Bytes"},
        {1024, L"1.00 KB"}, {1536, L"1.50 KB"}, {1048576, L"1.00 MB"}, {3.5 * 1024 * 1024 * 1024, L"3.50 GB"},
        {tb, L"1.00 TB"}, {tb * 1024, L"1024.00 TB"},
    };
    TLocaleScope scope;
    scope.Numbers(L'.', L',');
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Size);
        EXPECT_EQ(TAdvUtils::FormatBytesAsString(c.Size), c.Text);
    }
    scope.Numbers(L',', L'.');
    EXPECT_EQ(TAdvUtils::FormatBytesAsString(1536), L"1,50 KB");
}

TEST(AdvUtilsNumbers, MulDivIntRoundsHalvesAwayFromZero) {
    struct TCase { int Number, Numerator, Denominator, Result; };
    const TCase cases[] = {
        {10, 3, 4, 8}, {-10, 3, 4, -8}, {10, -3, 4, -8}, {10, 3, -4, -8}, {-10, -3, 4, 8},
        {5, 1, 2, 3}, {7, 1, 3, 2}, {-7, 1, 3, -2}, {96, 96, 72, 128}, {1, 1, 0, -1},
        {INT_MAX, 2, 2, INT_MAX},   // the product is held in 64 bits
        {2000000000, 3, 2, INT_MAX}, {-2000000000, 3, 2, INT_MIN}, {INT_MIN, -1, 1, INT_MAX},   // saturates
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Number << "*" << c.Numerator << "/" << c.Denominator);
        EXPECT_EQ(TAdvUtils::MulDivInt(c.Number, c.Numerator, c.Denominator), c.Result);
    }
    EXPECT_FLOAT_EQ(TAdvUtils::MulDivSingle(3, 1, 2), 1.5f);
    EXPECT_FLOAT_EQ(TAdvUtils::MulDivSingle(3, 1, 0), -1.0f);
}

// ---------------------------------------------------------------- encodings

TEST(AdvUtilsEncodings, Base64KnownValues) {
    struct TCase { TBytes Bytes; const wchar_t* Standard; const wchar_t* Url; };
    const TCase cases[] = {
        {{}, L"", L""},
        {{'M'}, L"TQ==", L"TQ"},
        {{'M', 'a'}, L"TWE=", L"TWE"},
        {{'M', 'a', 'n'}, L"TWFu", L"TWFu"},
        {{0xFB, 0xFF}, L"+/8=", L"-_8"},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, L"AAECAwQFBgcICQ==", L"AAECAwQFBgcICQ"},   // 10 bytes: 14 characters
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Standard));
        auto stream = StreamOf(c.Bytes);
        stream->SetPosition(stream->Size());   // encoding starts at 0 wherever the stream stands
        EXPECT_EQ(TAdvUtils::SaveStreamToBase64(stream.get(), false), c.Standard);
        EXPECT_EQ(TAdvUtils::SaveStreamToBase64(stream.get(), true), c.Url);
        EXPECT_EQ(TAdvUtils::Decode64ToBytes(c.Standard, false), c.Bytes);
        EXPECT_EQ(TAdvUtils::Decode64ToBytes(c.Url, true), c.Bytes);
    }
}

TEST(AdvUtilsEncodings, RandomBytesRoundTripThroughBase64AndHex) {
    std::mt19937 random(14);
    for (int length = 0; length < 40; ++length) {
        SCOPED_TRACE(length);
        TBytes bytes(static_cast<size_t>(length));
        for (auto& b : bytes) b = std::uint8_t(random());
        auto stream = StreamOf(bytes);
        for (bool url : {false, true}) {
            const std::wstring text = TAdvUtils::SaveStreamToBase64(stream.get(), url);
            EXPECT_EQ(TAdvUtils::Decode64ToBytes(text, url), bytes);
            TMemoryStream back;
            back.WriteBuffer("x", 1);   // decoded bytes go in at the stream's position
            TAdvUtils::LoadStreamFromBase64(text, &back, url);
            ASSERT_EQ(back.Size(), length + 1);
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back.Bytes().begin() + 1));
        }
        const std::wstring hex = TAdvUtils::SaveStreamToHexStr(stream.get());
        EXPECT_EQ(hex.size(), size_t(2 * length));
        EXPECT_EQ(hex, ClassLib::UpperCase(hex));
        EXPECT_EQ(TAdvUtils::HexStrToBytes(hex), bytes);
        EXPECT_EQ(TAdvUtils::HexStrToBytes(ClassLib::LowerCase(hex)), bytes);
    }
}

TEST(AdvUtilsEncodings, HexRejectsOddLengthsAndNonDigits) {
    EXPECT_THROW(TAdvUtils::HexStrToBytes(L"ABC"), EConvertError);
    try {
        TAdvUtils::HexStrToBytes(L"00G1");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'$G1' is not a valid integer value");
    }
    TMemoryStream stream;
    EXPECT_THROW(TAdvUtils::LoadStreamFromHexStr(L"0", &stream), EConvertError);
    EXPECT_EQ(stream.Size(), 0);   // nothing written before the text was found bad
}

TEST(AdvUtilsEncodings, URLEncodeAndDecode) {
    struct TCase { const wchar_t* Plain; const wchar_t* Encoded; };
    const TCase encoded[] = {
        {L"a b", L"a%20b"}, {L"~", L"%7E"}, {L"Az09-._", L"Az09-._"}, {L"\u00E9", L"%C3%A9"}, {L"a+b/c", L"a%2Bb%2Fc"},
    };
    for (const TCase& c : encoded) {
        SCOPED_TRACE(Narrow(c.Plain));
        EXPECT_EQ(TAdvUtils::URLEncode(c.Plain), c.Encoded);
        EXPECT_EQ(TAdvUtils::URLDecode(c.Encoded), c.Plain);
    }
    const TCase decoded[] = {
        {L"/", L"%2f"},              // lower-case hexadecimal is read
        {L"%zz", L"%zz"},            // a "%" without two hexadecimal digits stays as written
        {L"100%", L"100%"},
        {L"%4", L"%4"},
        {L"a+b", L"a+b"},
        {L"a", L"%20a%20%09"},       // trimmed after decoding
    };
    for (const TCase& c : decoded) {
        SCOPED_TRACE(Narrow(c.Encoded));
        EXPECT_EQ(TAdvUtils::URLDecode(c.Encoded), c.Plain);
    }
}

TEST(AdvUtilsEncodings, EnDeCryptUndoesItself) {
    const std::wstring text = L"Hello, World! 0123 \u00E9\u00FF";
    const std::wstring scrambled = TAdvUtils::EnDeCrypt(text);
    EXPECT_NE(scrambled, text);
    EXPECT_EQ(TAdvUtils::EnDeCrypt(scrambled), text);
}

// ---------------------------------------------------------------- picture formats

TEST(AdvUtilsPictures, GetImageTypeBySignature) {
    struct TCase { TBytes Bytes; const wchar_t* Type; };
    const TCase cases[] = {
        {{0x47, 0x49, 0x46, 0x38}, L".gif"},   {{0x42, 0x4D, 0x10, 0x20}, L".bmp"},
        {{0x89, 0x50, 0x4E, 0x47}, L".png"},   {{0x49, 0x49, 0x2A, 0x00}, L".tiff"},
        {{0x4D, 0x4D, 0x00, 0x2A}, L".tiff"},  {{0xFF, 0xD8, 0xFF, 0xE0}, L".jpg"},
        {{0xFF, 0xD8, 0xFF, 0xE1}, L".jpg"},   {{0xFF, 0xD8, 0xFF, 0xDB}, L".jpg"},
        {{0xFF, 0xD8, 0xFF, 0xE2}, L""},       // the table has no row for it
        {{0x00, 0x00, 0x01, 0x00}, L".unknown"}, {{0x00, 0x00, 0x00, 0x00}, L".empty"},
        {{0x42, 0x4D, 0x10}, L""},             // fewer than 4 bytes
        {{'<', 's', 'v', 'g'}, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Bytes));
        auto stream = StreamOf(c.Bytes);
        EXPECT_EQ(TAdvUtils::GetImageType(stream.get(), true), c.Type);
    }
}

TEST(AdvUtilsPictures, GetImageTypeKeepsTheStreamPosition) {
    auto stream = StreamOf({0xAA, 0x47, 0x49, 0x46, 0x38});
    stream->SetPosition(1);
    EXPECT_EQ(TAdvUtils::GetImageType(stream.get(), false), L".gif");
    EXPECT_EQ(stream->Position(), 1);
    EXPECT_EQ(TAdvUtils::GetImageType(stream.get(), true), L"");
    EXPECT_EQ(stream->Position(), 1);
    stream->SetPosition(3);
    EXPECT_EQ(TAdvUtils::GetImageType(stream.get(), false), L"");
    EXPECT_EQ(stream->Position(), 3);

    EXPECT_EQ(TAdvUtils::GetImageType(MakePicture<ClassLib::TPngImage>(2, 2).get(), true), L".png");
    AdvTypes::TAdvBitmap empty;
    EXPECT_EQ(TAdvUtils::GetImageType(&empty, true), L"");
}

TEST(AdvUtilsPictures, FindGraphicClassBySignature) {
    using namespace ClassLib;
    TBytes emf(44, 0);
    emf[0] = 1;
    std::memcpy(emf.data() + 40, " EMF", 4);
    struct TCase { const char* Name; TBytes Bytes; TGraphicClass Class; };
    const TCase cases[] = {
        {"tiff II", {'I', 'I', 0x2A, 0}, &TWICImage::ClassData()},
        {"tiff MM", {'M', 'M', 0, 0x2A}, &TWICImage::ClassData()},
        {"bmp", {'B', 'M'}, &TBitmap::ClassData()},
        {"jpeg E2", {0xFF, 0xD8, 0xFF, 0xE2}, &TJPEGImage::ClassData()},
        {"png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, &TPngImage::ClassData()},
        {"png cut short", {0x89, 'P', 'N', 'G'}, nullptr},
        {"placeable wmf", {0xD7, 0xCD, 0xC6, 0x9A, 0, 0}, &TMetafile::ClassData()},
        {"emf", emf, &TMetafile::ClassData()},
        {"gif", {'G', 'I', 'F', '8', '9', 'a'}, &TGIFImage::ClassData()},
        {"icon", {0, 0, 1, 0, 1, 0}, &TIcon::ClassData()},
        {"svg", {'<', 's', 'v', 'g', ' '}, nullptr},
        {"empty", {}, nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGraphicClass found = &TBitmap::ClassData();
        EXPECT_EQ(TAdvUtils::FindGraphicClass(c.Bytes.data(), int64_t(c.Bytes.size()), found), c.Class != nullptr);
        EXPECT_EQ(found, c.Class);
    }
}

TEST(AdvUtilsPictures, PicturesRoundTripThroughBase64AndHex) {
    auto png = MakePicture<ClassLib::TPngImage>(3, 2);
    const TBytes bytes = BytesOf(*png);

    const std::wstring base64 = TAdvUtils::SaveBitmapToBase64(png.get(), false);
    auto fromBase64 = TAdvUtils::CreateBitmapFromBase64(L"data:image/png;base64," + base64, false);
    ASSERT_NE(fromBase64->Graphic(), nullptr);
    EXPECT_TRUE(fromBase64->Graphic()->Is<ClassLib::TPngImage>());
    EXPECT_EQ(BytesOf(*fromBase64), bytes);

    auto fromHex = TAdvUtils::CreateBitmapFromHexStr(TAdvUtils::SaveBitmapToHexStr(png.get()));
    ASSERT_NE(fromHex->Graphic(), nullptr);
    EXPECT_EQ(BytesOf(*fromHex), bytes);
    EXPECT_EQ(fromHex->Width(), 3);

    // Unknown bytes leave the picture as it was.
    TAdvUtils::LoadBitmapFromHexStr(L"3C73766720", fromHex.get());
    EXPECT_EQ(BytesOf(*fromHex), bytes);

    TPicture empty;
    EXPECT_EQ(TAdvUtils::SaveBitmapToBase64(&empty, true), L"");
    EXPECT_EQ(TAdvUtils::SaveBitmapToHexStr(&empty), L"");
}

TEST(AdvUtilsPictures, ConvertBitmapToJPEGStream) {
    auto png = MakePicture<ClassLib::TPngImage>(5, 4);
    auto converted = TAdvUtils::ConvertBitmapToJPEGStream(png.get(), 0.8f, ClassLib::clNone);
    ASSERT_NE(converted, nullptr);
    ASSERT_GT(converted->Size(), 2);
    EXPECT_EQ(converted->Bytes()[0], 0xFF);
    EXPECT_EQ(converted->Bytes()[1], 0xD8);
    ClassLib::TJPEGImage decoded;
    decoded.LoadFromStream(converted.get());
    EXPECT_EQ(decoded.Width(), 5);
    EXPECT_EQ(decoded.Height(), 4);

    // JPEG data comes back as it is.
    auto jpeg = MakePicture<ClassLib::TJPEGImage>(3, 3);
    auto copy = TAdvUtils::ConvertBitmapToJPEGStream(jpeg.get(), 0.1f, ClassLib::clRed);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Bytes(), BytesOf(*jpeg));

    TPicture empty;
    EXPECT_EQ(TAdvUtils::ConvertBitmapToJPEGStream(&empty, 0.8f, ClassLib::clNone), nullptr);
}

// ---------------------------------------------------------------- download

namespace {

// An HTTP/1.0 responder on 127.0.0.1 that answers each path from a table, one
// connection at a time, on its own thread until it is destroyed.
class THttpResponder {
public:
    struct TResponse { std::string Status; std::string ContentType; std::string Body; };

    explicit THttpResponder(std::map<std::string, TResponse> responses) : FResponses(std::move(responses)) {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        FListener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        ::getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        ::listen(FListener, 4);
        FThread = std::thread([this] { Serve(); });
    }
    ~THttpResponder() {
        ::closesocket(FListener);   // ends the accept loop
        FThread.join();
        ::WSACleanup();
    }
    std::wstring Url(const char* path) const {
        return L"http://127.0.0.1:" + std::to_wstring(FPort) + ClassLib::AnsiToString(path);
    }
    int Requests() const { return FRequests; }

    // A port nothing listens on: bound once, then released.
    static int FreePort() {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        ::closesocket(probe);
        ::WSACleanup();
        return ntohs(address.sin_port);
    }

private:
    // The thread function: plain socket calls, nothing here throws.
    void Serve() noexcept {
        for (;;) {
            SOCKET client = ::accept(FListener, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int got = ::recv(client, buffer, sizeof(buffer), 0);
                if (got <= 0) break;
                request.append(buffer, size_t(got));
            }
            ++FRequests;
            const size_t start = request.find(' ') + 1;
            const std::string path = request.substr(start, request.find(' ', start) - start);
            const auto found = FResponses.find(path);
            const TResponse response = found != FResponses.end()
                                           ? found->second
                                           : TResponse{"404 Not Found", "text/html", "<html>missing</html>"};
            const std::string reply = "HTTP/1.0 " + response.Status + "\r\nContent-Type: " + response.ContentType +
                                      "\r\nContent-Length: " + std::to_string(response.Body.size()) +
                                      "\r\nConnection: close\r\n\r\n" + response.Body;
            for (size_t sent = 0; sent < reply.size();) {
                const int put = ::send(client, reply.data() + sent, int(reply.size() - sent), 0);
                if (put <= 0) break;
                sent += size_t(put);
            }
            ::shutdown(client, SD_SEND);
            ::closesocket(client);
        }
    }

    std::map<std::string, TResponse> FResponses;
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::atomic<int> FRequests{0};
    std::thread FThread;
};

}  // namespace

TEST(AdvUtilsDownload, DownloadImageKeepsOnlyImages) {
    std::string image(3000, '\0');   // longer than several read blocks, with every byte value
    for (size_t i = 0; i < image.size(); ++i) image[i] = char(i * 7 % 256);
    THttpResponder server({
        {"/logo.png", {"200 OK", "image/png", image}},
        {"/upper.gif", {"200 OK", "IMAGE/GIF", "GIF89a"}},
        {"/readme.txt", {"200 OK", "text/plain", "not a picture"}},
    });

    auto png = TAdvUtils::DownloadImage(server.Url("/logo.png"));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(std::string(png->Bytes().begin(), png->Bytes().end()), image);
    auto gif = TAdvUtils::DownloadImage(server.Url("/upper.gif"));
    EXPECT_EQ(gif->Size(), 6);
    EXPECT_EQ(TAdvUtils::DownloadImage(server.Url("/readme.txt"))->Size(), 0);
    EXPECT_EQ(TAdvUtils::DownloadImage(server.Url("/missing.png"))->Size(), 0);   // 404: an HTML page
    EXPECT_EQ(server.Requests(), 4);   // reload: nothing came from a cache
    EXPECT_EQ(TAdvUtils::DownloadImage(server.Url("/logo.png"))->Size(), int64_t(image.size()));
}

TEST(AdvUtilsDownload, RefusedConnectionRaisesWithTheURL) {
    const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(THttpResponder::FreePort()) + L"/a.png";
    try {
        TAdvUtils::DownloadImage(url);
        ADD_FAILURE() << "no error";
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot open URL " + url);
    }
}

// ---------------------------------------------------------------- files and paths

namespace {
struct TDialogHooks {
    ~TDialogHooks() {
        ClassLib::SetFileDialogHook(nullptr);
        ClassLib::SetMessageDlgHook(nullptr);
    }
};
}  // namespace

TEST(AdvUtilsFiles, SelectFileAsksInTheFolderAndReportsToTheCallBack) {
    TDialogHooks restore;
    std::wstring seenDir, seenFilter;
    bool mustExist = false, save = true, confirm = true;
    ClassLib::SetFileDialogHook([&](ClassLib::TOpenDialog& dialog) {
        seenDir = dialog.InitialDir();
        seenFilter = dialog.Filter();
        mustExist = dialog.Options().Contains(ClassLib::ofFileMustExist);
        save = dialog.IsSaveDialog();
        dialog.SetFileName(L"C:\\data\\picked.png");
        return confirm;
    });
    std::vector<std::pair<std::wstring, bool>> calls;
    const auto callBack = [&](const std::wstring& name, bool result) { calls.emplace_back(name, result); };

    std::wstring name = L"old.png";
    EXPECT_TRUE(TAdvUtils::SelectFile(name, L"C:\\data", L"Pictures|*.png", callBack));
    EXPECT_EQ(name, L"C:\\data\\picked.png");
    EXPECT_EQ(seenDir, L"C:\\data\\");
    EXPECT_EQ(seenFilter, L"Pictures|*.png");
    EXPECT_TRUE(mustExist);
    EXPECT_FALSE(save);

    confirm = false;
    name = L"old.png";
    EXPECT_FALSE(TAdvUtils::SelectFile(name, L"", L"", callBack));
    EXPECT_EQ(name, L"old.png");
    EXPECT_EQ(seenDir, TAdvUtils::GetDocumentsPath() + L"\\");
    ASSERT_EQ(calls.size(), 2u);   // a cancel still reports
    EXPECT_EQ(calls[0], std::make_pair(std::wstring(L"C:\\data\\picked.png"), true));
    EXPECT_EQ(calls[1], std::make_pair(std::wstring(L"old.png"), false));
}

TEST(AdvUtilsFiles, SaveFileKeepsTheExtension) {
    TDialogHooks restore;
    std::wstring seenDir, seenName, seenExt, answer;
    bool prompt = false, save = false;
    ClassLib::SetFileDialogHook([&](ClassLib::TOpenDialog& dialog) {
        seenDir = dialog.InitialDir();
        seenName = dialog.FileName();
        seenExt = dialog.DefaultExt();
        prompt = dialog.Options().Contains(ClassLib::ofOverwritePrompt);
        save = dialog.IsSaveDialog();
        dialog.SetFileName(answer);
        return true;
    });
    struct TCase { const wchar_t* Answer; const wchar_t* Result; };
    const TCase cases[] = {
        {L"C:\\out\\new", L"C:\\out\\new.txt"},
        {L"C:\\out\\new.csv", L"C:\\out\\new.csv"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Answer));
        answer = c.Answer;
        std::wstring name = L"C:\\out\\report.txt";
        EXPECT_TRUE(TAdvUtils::SaveFile(name, L"Text|*.txt"));
        EXPECT_EQ(name, c.Result);
        EXPECT_EQ(seenDir, L"C:\\out\\");
        EXPECT_EQ(seenName, L"report.txt");
        EXPECT_EQ(seenExt, L"txt");
        EXPECT_TRUE(prompt);
        EXPECT_TRUE(save);
    }
    answer = L"C:\\elsewhere\\x.txt";
    std::wstring bare = L"notes";
    EXPECT_TRUE(TAdvUtils::SaveFile(bare, L""));
    EXPECT_EQ(seenDir, TAdvUtils::GetDocumentsPath() + L"\\");
}

TEST(AdvUtilsFiles, MessagesAndShellGoThroughTheSeams) {
    TDialogHooks restore;
    ClassLib::TMessageDlgRequest seen{};
    ClassLib::SetMessageDlgHook([&](const ClassLib::TMessageDlgRequest& request) {
        seen = request;
        return IDOK;
    });
    EXPECT_EQ(TAdvUtils::Message(L"Saved."), IDOK);
    EXPECT_EQ(seen.Message, L"Saved.");
    EXPECT_EQ(seen.Type, ClassLib::mtInformation);
    EXPECT_EQ(seen.Buttons, ClassLib::TMsgDlgButtons{ClassLib::mbOK});

    ClassLib::TSeamsScope seams;
    std::vector<std::wstring> opened;
    ClassLib::Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) {
        opened.push_back(target);
        return true;
    };
    TAdvUtils::OpenURL(L"https://example.invalid/");
    TAdvUtils::OpenFile(L"C:\\a.txt");
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"https://example.invalid/", L"C:\\a.txt"}));
}

TEST(AdvUtilsFiles, PathsAndResources) {
    struct TCase { const wchar_t* Path; const wchar_t* Back; const wchar_t* Forward; };
    const TCase cases[] = {
        {L"", L"", L""}, {L"C:\\x", L"C:\\x\\", L"C:\\x/"}, {L"C:\\x\\", L"C:\\x\\", L"C:\\x\\/"},
        {L"a/b/", L"a/b/\\", L"a/b/"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Narrow(c.Path));
        EXPECT_EQ(TAdvUtils::AddBackslash(c.Path), c.Back);
        EXPECT_EQ(TAdvUtils::AddForwardslash(c.Path), c.Forward);
    }
    const std::wstring app = TAdvUtils::GetAppPath();
    ASSERT_FALSE(app.empty());
    EXPECT_EQ(app.back(), L'\\');
    EXPECT_TRUE(ClassLib::FileExists(app + L"graphics_tests.exe"));
    EXPECT_TRUE(ClassLib::DirectoryExists(TAdvUtils::GetTempPath()));
    EXPECT_TRUE(ClassLib::DirectoryExists(TAdvUtils::GetDocumentsPath()));
    EXPECT_EQ(TAdvUtils::GetHInstance(), reinterpret_cast<std::uintptr_t>(::GetModuleHandleW(nullptr)));
    EXPECT_EQ(TAdvUtils::GetResourceStream(L"NO_SUCH_RESOURCE"), nullptr);
}

TEST(AdvUtilsFiles, FontListIsSortedWithoutRepeats) {
    ClassLib::TStringList fonts;
    fonts.Add(L"stale");
    TAdvUtils::GetFonts(&fonts);
    ASSERT_GT(fonts.Count(), 0);
    EXPECT_EQ(fonts.IndexOf(L"stale"), -1);
    for (int i = 1; i < fonts.Count(); ++i) {
        SCOPED_TRACE(Narrow(fonts[i]));
        EXPECT_LE(ClassLib::AnsiCompareText(fonts[i - 1], fonts[i]), 0);
        EXPECT_FALSE(ClassLib::SameText(fonts[i - 1], fonts[i]));
    }
}

TEST(AdvUtilsForms, FormsAreFoundThroughOwnersAndParents) {
    ClassLib::TForm form(nullptr);
    auto* outer = new ClassLib::TPanel(&form);
    outer->SetParent(&form);
    auto* inner = new ClassLib::TPanel(&form);
    inner->SetParent(outer);
    ClassLib::TComponent loose(nullptr);

    EXPECT_EQ(TAdvUtils::GetOwnerForm(inner), &form);
    EXPECT_EQ(TAdvUtils::GetOwnerForm(&form), nullptr);   // owners only, not the component itself
    EXPECT_EQ(TAdvUtils::GetOwnerForm(&loose), nullptr);
    EXPECT_EQ(TAdvUtils::GetParentForm(inner), &form);
    EXPECT_EQ(TAdvUtils::GetParentForm(&form), &form);
    ClassLib::TPanel orphan(nullptr);
    EXPECT_EQ(TAdvUtils::GetParentForm(&orphan), nullptr);
    EXPECT_EQ(TAdvUtils::GetParentForm(nullptr), nullptr);
}

TEST(AdvUtilsForms, ScalingFontsAndControls) {
    ClassLib::TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* panel = new ClassLib::TPanel(&form);
    panel->SetParent(&form);
    panel->SetParentFont(false);
    panel->SetBounds(10, 20, 100, 50);
    panel->Font()->SetPixelsPerInch(120);
    panel->Font()->SetHeight(-16);
    auto* label = new ClassLib::TPanel(&form);
    label->SetParent(panel);
    label->SetParentFont(false);
    label->Font()->SetPixelsPerInch(96);
    label->Font()->SetHeight(-12);

    // Font heights go back to 96 pixels per inch, nested controls included; the form keeps its size.
    TAdvUtils::ScaleForCurrentDPI(&form);
    EXPECT_EQ(panel->Font()->Height(), -13);   // -16 x 96 / 120 = -12.8, rounded away from zero
    EXPECT_EQ(label->Font()->Height(), -12);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 300);

    TAdvUtils::ScaleForDPI(panel, 192);
    EXPECT_EQ(panel->Left(), 20);
    EXPECT_EQ(panel->Width(), 200);
    EXPECT_EQ(panel->Height(), 100);
    TAdvUtils::ScaleForDPI(nullptr, 192);
}

// ---------------------------------------------------------------- scaling and formats

TEST(AdvUtilsScaling, SetFontSizeTakesPixelsAt96Dpi) {
    struct TCase { float Pixels; int Height; };
    const TCase cases[] = {{16, -16}, {11, -11}, {13.33f, -13}, {12, -12}, {0, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Pixels);
        ClassLib::TFont font;
        TAdvUtils::SetFontSize(&font, c.Pixels);
        EXPECT_EQ(font.Height(), c.Height);
    }
    EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(nullptr, 96), 1.0f);
    EXPECT_FALSE(TAdvUtils::IsHighDPIScale(nullptr, 96));
}

TEST(AdvUtilsClipboard, FormatsAreRegisteredByName) {
    using AdvUtils::AdvClipboardFormat;
    using AdvUtils::TAdvClipboardFormat;
    EXPECT_EQ(AdvClipboardFormat(TAdvClipboardFormat::Bitmap), 2);
    EXPECT_EQ(AdvClipboardFormat(TAdvClipboardFormat::StreamFormat), ::RegisterClipboardFormatW(L"TAdvClipBoard.StreamFormat"));
    EXPECT_EQ(AdvClipboardFormat(TAdvClipboardFormat::RichEditorText), ::RegisterClipboardFormatW(L"RichEditorText"));
    EXPECT_EQ(AdvClipboardFormat(TAdvClipboardFormat::RichTextFormat), ::RegisterClipboardFormatW(L"Rich Text Format"));
    EXPECT_EQ(AdvClipboardFormat(TAdvClipboardFormat::HTMLFormat), ::RegisterClipboardFormatW(L"HTML Format"));
    EXPECT_GE(AdvClipboardFormat(TAdvClipboardFormat::HTMLFormat), 0xC000);
}
