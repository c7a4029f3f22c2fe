#include "classlib/Strings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Exceptions.h"

using namespace ClassLib;

TEST(StringHelpers, TrimCaseAndPositions) {
    const String blanks = String(L"\x01\t ") + L"a b" + String(1, L'\0') + L" \r\n";
    EXPECT_EQ(Trim(blanks), L"a b");
    EXPECT_EQ(TrimLeft(L"  x  "), L"x  ");
    EXPECT_EQ(TrimRight(L"  x  "), L"  x");
    EXPECT_EQ(Trim(L"\x00A0x"), L"\x00A0x");   // only codes 0..32 are blanks

    EXPECT_EQ(UpperCase(L"at+x\x00E9"), L"AT+X\x00E9");   // ASCII only
    EXPECT_EQ(LowerCase(L"AT+X\x00C9"), L"at+x\x00C9");
    EXPECT_EQ(AnsiUpperCase(L"\x00E9"), L"\x00C9");        // the locale knows e-acute
    EXPECT_TRUE(SameText(L"Abc", L"aBC"));
    EXPECT_TRUE(AnsiSameText(L"\x00E9t\x00E9", L"\x00C9T\x00C9"));
    EXPECT_LT(AnsiCompareText(L"apple", L"Banana"), 0);

    EXPECT_EQ(Pos(L"=", L"AT+X=1"), 5);
    EXPECT_EQ(Pos(L"?", L"AT"), 0);
    EXPECT_EQ(Pos(L"", L"AT"), 0);
    EXPECT_EQ(PosEx(L"a", L"banana", 3), 4);
    EXPECT_EQ(Copy(L"hello", 2, 3), L"ell");
    EXPECT_EQ(Copy(L"hello", 0, 2), L"he");    // an index below 1 counts as 1
    EXPECT_EQ(Copy(L"hello", 4, 100), L"lo");
    EXPECT_EQ(Copy(L"hello", 9, 1), L"");
    String s = L"hello";
    Delete(s, 2, 2);
    EXPECT_EQ(s, L"hlo");
    Insert(L"el", s, 2);
    EXPECT_EQ(s, L"hello");
    EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
}

TEST(StringHelpers, StringReplaceFlags) {
    EXPECT_EQ(StringReplace(L"a.b.c", L".", L"::", rfReplaceAll), L"a::b::c");
    EXPECT_EQ(StringReplace(L"a.b.c", L".", L"", 0), L"ab.c");
    EXPECT_EQ(StringReplace(L"Hlp hlp", L"HLP", L"x", rfReplaceAll | rfIgnoreCase), L"x x");
    EXPECT_EQ(StringReplace(L"aaa", L"aa", L"a", rfReplaceAll), L"aa");   // no rescan of replaced text
    EXPECT_EQ(StringReplace(L"abc", L"", L"x", rfReplaceAll), L"abc");
}

TEST(NumberConversions, IntegersAndTheirErrors) {
    struct TCase { const wchar_t* Text; bool Valid; int Value; };
    const TCase cases[] = {
        {L"42", true, 42},        {L" -7 ", true, -7},   {L"$FF", true, 255},
        {L"0x10", true, 16},      {L"$FFFFFFFF", true, -1}, {L"2147483647", true, 2147483647},
        {L"2147483648", false, 0}, {L"", false, 0},       {L"12a", false, 0},
        {L"1.5", false, 0},       {L"-", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.Text)));
        int value = 0;
        EXPECT_EQ(TryStrToInt(c.Text, value), c.Valid);
        if (c.Valid) {
            EXPECT_EQ(value, c.Value);
        }
        EXPECT_EQ(StrToIntDef(c.Text, -99), c.Valid ? c.Value : -99);
    }
    try {
        StrToInt(L"x1");
        FAIL() << "no conversion error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"'x1' is not a valid integer value");
    }
    EXPECT_EQ(IntToStr(-12), L"-12");
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), L"1234");   // digits is a minimum
    EXPECT_EQ(IntToHex(-1, 8), L"FFFFFFFFFFFFFFFF");
}

TEST(NumberConversions, FloatsFollowTheProcessWideDecimalSeparator) {
    TFormatSettingsScope dot;
    EXPECT_EQ(FloatToStr(1.5), L"1.5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), L"0.3");   // 15 significant digits
    EXPECT_EQ(FloatToStr(1e20), L"1E20");
    EXPECT_EQ(FloatToStr(-0.00001), L"-1E-5");
    EXPECT_EQ(FloatToStr(0.0001), L"0.0001");
    EXPECT_EQ(FloatToStr(123456), L"123456");
    EXPECT_DOUBLE_EQ(StrToFloat(L" 2.25 "), 2.25);
    EXPECT_THROW(StrToFloat(L"2,25"), EConvertError);
    EXPECT_THROW(StrToFloat(L"nan"), EConvertError);
    {
        TFormatSettingsScope comma(L',', L'.');
        EXPECT_EQ(FloatToStr(2.5), L"2,5");
        EXPECT_DOUBLE_EQ(StrToFloat(L"2,5"), 2.5);
        EXPECT_EQ(Format(L"%.1n", 1234567.26), L"1.234.567,3");
    }
    EXPECT_EQ(FormatSettings().DecimalSeparator, L'.');   // restored by the scope
}

TEST(NumberConversions, RoundingSendsHalvesToTheEvenNeighbour) {
    struct TCase { double Value; int64_t Rounded; };
    const TCase cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (const TCase& c : cases) EXPECT_EQ(Round(c.Value), c.Rounded) << c.Value;
    EXPECT_EQ(Trunc(-2.7), -2);
}

TEST(FormatText, SpecifiersWidthsAndIndexes) {
    TFormatSettingsScope dot;
    struct TCase { String Result; const wchar_t* Expected; };
    const TCase cases[] = {
        {Format(L"%d items", 3), L"3 items"},
        {Format(L"[%5d|%-5d|%.3d]", 42, 42, 7), L"[   42|42   |007]"},
        {Format(L"%x %.4x", 255, 255), L"FF 00FF"},
        {Format(L"%x", -1), L"FFFFFFFF"},
        {Format(L"%s=%s", L"a", String(L"b")), L"a=b"},
        {Format(L"%.2s", L"abc"), L"ab"},
        {Format(L"%f %.0f %.3f", 1.005, 2.5, 1.0), L"1.00 2 1.000"},
        {Format(L"%g", 0.5), L"0.5"},
        {Format(L"%e", 1234.5), L"1.23450000000000E+003"},
        {Format(L"%n", 1234567.891), L"1,234,567.89"},
        {Format(L"%1:s %0:s %s", L"a", L"b"), L"b a b"},
        {Format(L"%*d", 4, 1), L"   1"},
        {Format(L"100%%"), L"100%"},
        {Format(L"%u", -1), L"4294967295"},
        {Format(L"%s", "ansi"), L"ansi"},
        {Format(L"Cannot open URL %s", L"http://x"), L"Cannot open URL http://x"},
    };
    for (const TCase& c : cases) EXPECT_EQ(c.Result, c.Expected);
}

TEST(FormatText, MismatchedArgumentsRaiseInsteadOfReadingBeyond) {
    for (const auto& format : {L"%d", L"%s %s", L"%q", L"%"}) {
        SCOPED_TRACE(testing::PrintToString(String(format)));
        EXPECT_THROW(Format(format, L"only a string"), EConvertError);
    }
    EXPECT_THROW(Format(L"%s", 5), EConvertError);
    try {
        Format(L"%d", L"x");
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), L"Format '%d' invalid or incompatible with argument");
    }
}

TEST(Encodings, Utf8AndAnsiConversions) {
    const String text = L"A\x00E9\x20AC\x4E2D";
    EXPECT_EQ(UTF8Encode(text), "A\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD");
    EXPECT_EQ(UTF8Decode(UTF8Encode(text)), text);
    EXPECT_EQ(AnsiToString(StringToAnsi(L"plain")), L"plain");
}
