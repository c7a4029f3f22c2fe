#include "graphics/AdvJSONReader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "classlib/Streams.h"
#include "classlib/Strings.h"

using namespace AdvJSONReader;
using ClassLib::TStringStream;

namespace {

using TReader = TAdvJSONReader;

struct TReaderOn {
    explicit TReaderOn(const std::string& text) : Stream(text), Reader(&Stream) {}
    TStringStream Stream;
    TReader Reader;
};

// Walks every token to the end, reading each value with its typed read, and gives a
// trace of what it read: names end with ':', strings are quoted, numbers in shortest form.
std::wstring Walk(TReader& reader) {
    std::wstring trace;
    for (;;) {
        switch (reader.Peek()) {
        case jstoBeginObject: reader.ReadBeginObject(); trace += L"{"; break;
        case jstoEndObject: reader.ReadEndObject(); trace += L"}"; break;
        case jstoBeginArray: reader.ReadBeginArray(); trace += L"["; break;
        case jstoEndArray: reader.ReadEndArray(); trace += L"]"; break;
        case jstoName: trace += reader.ReadName() + L":"; break;
        case jstoBoolean: trace += reader.ReadBoolean() ? L"true " : L"false "; break;
        case jstoNull: reader.ReadNull(); trace += L"null "; break;
        case jstoText: trace += L"\"" + reader.ReadString() + L"\" "; break;
        case jstoNumber: {
            char text[64];
            const auto end = std::to_chars(text, text + sizeof text, reader.ReadDouble()).ptr;
            trace += std::wstring(text, end) + L" ";
            break;
        }
        case jstoEOF: return trace;
        }
    }
}

// The message of the error a walk ends with, or nothing when it reaches the end.
std::optional<std::wstring> WalkError(const std::string& text, std::wstring* trace = nullptr) {
    try {
        TReaderOn on(text);
        const std::wstring walked = Walk(on.Reader);
        if (trace) *trace = walked;
        return std::nullopt;
    } catch (const ClassLib::Exception& e) {
        return e.Message();
    }
}

std::string Nested(int depth) { return std::string(size_t(depth), '[') + std::string(size_t(depth), ']'); }

const std::wstring ExpectedValue = L"Value expected but invalid character found";
const std::wstring EndOfInput = L"End of JSON input reached.";

}  // namespace

// RFC 8259 cases walked to the end: the accepted ones give their trace, the rejected
// ones the reader's message.
TEST(JSONReaderConformance, AcceptsValidJSON) {
    struct TCase { std::string Text; std::wstring Trace; };
    const TCase cases[] = {
        {"[]", L"[]"},
        {"{}", L"{}"},
        {" \t\r\n[ 1 , 2 ]\r\n", L"[1 2 ]"},
        {"{\"a\":[{\"b\":null}],\"c\":{}}", L"{a:[{b:null }]c:{}}"},
        {"[true,false,null]", L"[true false null ]"},
        {"[0,-0,0.5,-1.25,1E3,1e-3,1E+3,-1.5e-10]", L"[0 0 0.5 -1.25 1000 0.001 1000 -1.5e-10 ]"},
        {"[9223372036854775807,-9223372036854775808]", L"[9223372036854775808 -9223372036854775808 ]"},
        {"[1.7976931348623157e308,5e-324]", L"[1.7976931348623157e+308 5e-324 ]"},
        {"[123456789012345678901234567890]", L"[1.2345678901234568e+29 ]"},
        // Every escape, an escaped quote included: a backslash protects the quote.
        {"[\"\\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u00e9\\u00C9\"]", L"[\"\" \\ / \b \f \n \r \t \u00e9\u00c9\" ]"},
        {"[\"\\ud83d\\ude00\"]", L"[\"\xd83d\xde00\" ]"},   // a surrogate pair stays two units
        {"[\"a\\u0000b\"]", std::wstring(L"[\"a\0b\" ]", 8)},
        {"{\"\":1,\"a\\\"b\":2,\"\\u0041\":3}", L"{:1 a\"b:2 A:3 }"},
        {"[\"  leading and trailing  \"]", L"[\"  leading and trailing  \" ]"},
        {"[[[]],[[],{}]]", L"[[[]][[]{}]]"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        std::wstring trace;
        const auto error = WalkError(c.Text, &trace);
        EXPECT_FALSE(error) << testing::PrintToString(error.value_or(L""));
        EXPECT_EQ(trace, c.Trace);
    }
}

TEST(JSONReaderConformance, RejectsInvalidJSONWithItsReason) {
    struct TCase { std::string Text; std::wstring Message; };
    const TCase cases[] = {
        {"[1,]", ExpectedValue},                          // trailing comma in an array
        {"{\"a\":1,}", L"Name expected"},                 // trailing comma in an object
        {"[01]", ExpectedValue},                          // leading zero
        {"[-01]", ExpectedValue},
        {"[-]", ExpectedValue},
        {"[1.]", ExpectedValue},
        {"[.5]", ExpectedValue},
        {"[1e]", ExpectedValue},
        {"[1e+]", ExpectedValue},
        {"[+1]", ExpectedValue},
        {"[--1]", ExpectedValue},
        {"[0x10]", ExpectedValue},
        {"[1.5.5]", ExpectedValue},
        {"[Infinity]", ExpectedValue},
        {"[NaN]", ExpectedValue},
        {"['a']", ExpectedValue},
        {"[tru]", ExpectedValue},
        {"[truex]", ExpectedValue},
        {"[nul", ExpectedValue},
        {"{a:1}", L"Name expected"},                      // unquoted name
        {"{\"a\" 1}", L"Colon expected"},
        {"{\"a\":}", ExpectedValue},
        {"{,}", L"Name expected"},
        {"[,1]", ExpectedValue},
        {"[1 2]", L"Unterminated array"},
        {"{\"a\":1 \"b\":2}", L"Unterminated object"},
        {"[true", L"Unterminated array"},                 // unclosed structures
        {"{\"a\":null", L"Unterminated object"},
        {"[", ExpectedValue},
        {"{", L"Name expected"},
        {"[\"abc", EndOfInput},                           // unclosed strings
        {"[\"abc\\\"]", EndOfInput},
        {"[12", EndOfInput},
        {"[\"\\x", EndOfInput},                            // a bad escape in an unclosed string
        {"[\"ab\\u12", EndOfInput},
        {"[\"a\\", EndOfInput},                            // a backslash last
        {"[\"b\"", L"Unterminated array"},               // a string closed by the last byte
        {"{\"a\":\"b\"", L"Unterminated object"},
        {"[1] x", L"Multiple root values not allowed"},  // garbage after the value
        {"[1][2]", L"Multiple root values not allowed"},
        {"{}}", L"Multiple root values not allowed"},
        {"[\"\\x\"]", L"Invalid code at position 1"},     // bad escapes
        {"[\"ab\\u12\"]", L"Invalid code at position 3"},
        {"[\"\\u12G4\"]", L"Invalid code at position 1"},
        {"[\"\\'\"]", L"Invalid code at position 1"},
        {"]", L"Object or array expected as top-level value"},
        {"", L"Object or array expected as top-level value"},
        {" \r\n", L"Object or array expected as top-level value"},
        {Nested(256), L"Maximum level of nested structured reached."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(WalkError(c.Text).value_or(L"(accepted)"), c.Message);
    }
}

// Where this reader deliberately parts from the RFC, each with its reason.
TEST(JSONReaderConformance, DeliberateDifferencesFromTheRFC) {
    struct TCase { const char* Reason; std::string Text; std::optional<std::wstring> Error; std::wstring Trace; };
    const TCase cases[] = {
        {"top-level scalars are rejected: a saved object is always an object or array", "1",
         L"Object or array expected as top-level value", L""},
        {"top-level strings too", "\"x\"", L"Object or array expected as top-level value", L""},
        {"top-level literals too", "true", L"Object or array expected as top-level value", L""},
        {"literals in any case", "[TRUE,False,nuLL]", std::nullopt, L"[true false null ]"},
        {"form feed counts as whitespace", "\f[\f1\f]\f", std::nullopt, L"[1 ]"},
        {"raw control characters are kept in strings", "[\"a\tb\nc\x01\"]", std::nullopt, L"[\"a\tb\nc\x01\" ]"},
        {"numbers end at any literal terminator", "[1/2]", L"Unterminated array", L""},
        {"numbers are limited to 254 characters", "[" + std::string(255, '1') + "]", ExpectedValue, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Reason);
        std::wstring trace;
        EXPECT_EQ(WalkError(c.Text, &trace), c.Error);
        EXPECT_EQ(trace, c.Trace);
    }
}

// Either outcome is allowed by the RFC; here each must at least end cleanly.
TEST(JSONReaderConformance, EitherWayCasesEndCleanly) {
    const std::string cases[] = {
        "[1e400]", "[-1e400]", "[\"\\udc00\"]", "[\"\\ud800x\"]", "\xEF\xBB\xBF[1]", "[\"\xE9\"]",
        "[" + std::string(254, '1') + "]", "[1.0e-400]",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        EXPECT_NO_FATAL_FAILURE(WalkError(text));
    }
}

TEST(JSONReader, WhitespaceBetweenTokensChangesNothing) {
    std::wstring compact, spaced;
    EXPECT_FALSE(WalkError("{\"a\":1}", &compact));
    EXPECT_FALSE(WalkError("{ \"a\" : 1 }", &spaced));
    EXPECT_EQ(compact, spaced);
    for (const char* text : {"{\"a\":1}", "{\"a\":1}\r\n"}) {
        TReaderOn on(text);
        on.Reader.ReadBeginObject();
        EXPECT_EQ(on.Reader.ReadName(), L"a");
        EXPECT_EQ(on.Reader.ReadInteger(), 1);
        EXPECT_FALSE(on.Reader.HasNext());
        on.Reader.ReadEndObject();
        EXPECT_TRUE(on.Reader.Eof());
    }
}

// The string's text starts right after its quote: leading blanks are part of it.
TEST(JSONReader, KeepsLeadingBlanksOfStringsAndNames) {
    TReaderOn on("{ \" a\" : \"  x\" , \"b\":[ \" y\"]}");
    on.Reader.ReadBeginObject();
    EXPECT_EQ(on.Reader.ReadName(), L" a");
    EXPECT_EQ(on.Reader.ReadString(), L"  x");
    EXPECT_EQ(on.Reader.ReadName(), L"b");
    on.Reader.ReadBeginArray();
    EXPECT_EQ(on.Reader.ReadString(), L" y");
}

// An integer state gives back its value's own decimal text; a number state its text.
TEST(JSONReader, NumbersGetTheStateOfTheirForm) {
    struct TCase { const char* Text; const wchar_t* AsString; std::optional<int64_t> Int64; };
    const TCase cases[] = {
        {"-0", L"0", 0},
        {"1.5e3", L"1.5e3", 1500},
        {"9223372036854775808", L"9223372036854775808", std::nullopt},   // too big for 64 bits
        {"-9223372036854775808", L"-9223372036854775808", INT64_MIN},
        {"9223372036854775807", L"9223372036854775807", INT64_MAX},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TReaderOn on(std::string("[") + c.Text + "," + c.Text + "]");
        on.Reader.ReadBeginArray();
        EXPECT_EQ(on.Reader.ReadString(), c.AsString);
        if (c.Int64)
            EXPECT_EQ(on.Reader.ReadInt64(), *c.Int64);
        else
            EXPECT_THROW(on.Reader.ReadInt64(), TReader::EInvalidStateException);
    }
}

TEST(JSONReader, EscapesGiveTheirCharacters) {
    TReaderOn on("{\"\\u0041\":\"\\u00e9\"}");
    on.Reader.ReadBeginObject();
    EXPECT_EQ(on.Reader.ReadName(), L"A");
    const std::wstring value = on.Reader.ReadString();
    EXPECT_EQ(value, L"\u00e9");
    EXPECT_EQ(value.size(), 1u);
}

// Float text is an integer only when nothing is lost; never a silent conversion.
TEST(JSONReader, IntegerReadsOfFloatText) {
    ClassLib::TFormatSettingsScope dot;
    struct TCase { const char* Text; std::optional<int64_t> Integer; std::optional<int64_t> Int64; };
    const TCase cases[] = {
        {"3.0", 3, 3},
        {"3.5", std::nullopt, std::nullopt},
        {"1e3", 1000, 1000},
        {"\"42\"", 42, 42},
        {"\"4.0\"", 4, 4},
        {"2147483648", std::nullopt, 2147483648},
        {"-2147483648", -2147483648LL, -2147483648LL},
        {"1e10", std::nullopt, 10000000000},
        {"9223372036854775808", std::nullopt, std::nullopt},
        {"1e300", std::nullopt, std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        for (bool wide : {false, true}) {
            TReaderOn on(std::string("[") + c.Text + "]");
            on.Reader.ReadBeginArray();
            const std::optional<int64_t> expected = wide ? c.Int64 : c.Integer;
            const auto read = [&] { return wide ? on.Reader.ReadInt64() : int64_t(on.Reader.ReadInteger()); };
            if (expected) {
                EXPECT_EQ(read(), *expected);
            } else {
                try {
                    read();
                    ADD_FAILURE() << "no error";
                } catch (const TReader::EInvalidStateException& e) {
                    EXPECT_EQ(e.Message(), L"Invalid Json parser state. Expected state: 11");
                }
            }
        }
    }
}

// A failed conversion keeps the text, so the caller can still read it as a string.
TEST(JSONReader, FailedConversionLeavesTheTextReadable) {
    TReaderOn on("[\"abc\",true]");
    on.Reader.ReadBeginArray();
    EXPECT_THROW(on.Reader.ReadDouble(), ClassLib::EConvertError);
    EXPECT_EQ(on.Reader.Peek(), jstoText);
    EXPECT_EQ(on.Reader.ReadString(), L"abc");
    try {
        on.Reader.ReadNull();
        ADD_FAILURE() << "no error";
    } catch (const TReader::EInvalidStateException& e) {
        EXPECT_EQ(e.Message(), L"Invalid Json parser state. Expected state: 7");
    }
    EXPECT_TRUE(on.Reader.ReadBoolean());   // the failed check left the token in place
}

TEST(JSONReader, EachReadReportsTheStateItExpected) {
    struct TCase { const char* Name; std::function<void(TReader&)> Read; int Expected; };
    const TCase cases[] = {
        {"ReadBeginObject", [](TReader& r) { r.ReadBeginObject(); }, 1},
        {"ReadEndObject", [](TReader& r) { r.ReadEndObject(); }, 2},
        {"ReadBeginArray", [](TReader& r) { r.ReadBeginArray(); }, 3},
        {"ReadEndArray", [](TReader& r) { r.ReadEndArray(); }, 4},
        {"ReadBoolean", [](TReader& r) { r.ReadBoolean(); }, 5},
        {"ReadNull", [](TReader& r) { r.ReadNull(); }, 7},
        {"ReadString", [](TReader& r) { r.ReadString(); }, 8},
        {"ReadName", [](TReader& r) { r.ReadName(); }, 10},
        {"ReadInteger", [](TReader& r) { r.ReadInteger(); }, 11},
        {"ReadInt64", [](TReader& r) { r.ReadInt64(); }, 11},
        {"ReadDouble", [](TReader& r) { r.ReadDouble(); }, 12},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TReaderOn on("[{}]");   // the first token, a begin array, fits none of them
        if (std::string(c.Name) == "ReadBeginArray") on.Reader.ReadBeginArray();
        try {
            c.Read(on.Reader);
            ADD_FAILURE() << "no error";
        } catch (const TReader::EInvalidStateException& e) {
            EXPECT_EQ(int(e.Expected()), c.Expected);
            EXPECT_EQ(e.Message(), L"Invalid Json parser state. Expected state: " + std::to_wstring(c.Expected));
        }
    }
}

TEST(JSONReader, NestsUpTo255Levels) {
    std::wstring trace;
    EXPECT_FALSE(WalkError(Nested(255), &trace));
    EXPECT_EQ(trace.size(), 510u);
    TReaderOn on(Nested(256));
    for (int i = 0; i < 255; ++i) on.Reader.ReadBeginArray();
    EXPECT_THROW(on.Reader.ReadBeginArray(), TReader::ETooManyDepthLevels);
}

TEST(JSONReader, SkipValueSkipsOneWholeValue) {
    TReaderOn on("{\"a\":{\"x\":[1,{\"y\":\"}]\"}],\"z\":null},\"b\":[],\"c\":\"s\",\"d\":2}");
    TReader& r = on.Reader;
    r.ReadBeginObject();
    EXPECT_EQ(r.ReadName(), L"a");
    r.SkipValue();
    EXPECT_EQ(r.ReadName(), L"b");
    r.SkipValue();
    EXPECT_EQ(r.Peek(), jstoName);
    EXPECT_EQ(r.PeekName(), L"c");
    r.SkipValue();   // at a name it skips only the name
    r.SkipValue();
    EXPECT_EQ(r.ReadName(), L"d");
    EXPECT_EQ(r.ReadInteger(), 2);
    r.ReadEndObject();
    EXPECT_TRUE(r.Eof());
}

// Skipping the root checks the whole text: a load can refuse a broken file before it
// changes anything.
TEST(JSONReader, SkippingTheRootChecksTheWholeText) {
    const char* broken[] = {"{\"a\":[1,2", "{\"a\":\"x", "{\"a\":\"\\q\"}", "{\"a\":1,}", "{\"a\":01}"};
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        TReaderOn on(text);
        EXPECT_THROW(on.Reader.SkipValue(), ClassLib::Exception);
    }
    TReaderOn whole("{\"a\":[1,{\"b\":\"\\\"\"}]} ");
    whole.Reader.SkipValue();
    EXPECT_TRUE(whole.Reader.Eof());
}

TEST(JSONReader, BytesAboveAsciiAreCharactersOfTheCodePage) {
    TReaderOn on("[\"caf\xE9\"]");
    on.Reader.ReadBeginArray();
    std::wstring expected = L"caf";
    expected += ClassLib::AnsiToString("\xE9", JSONCodePage());
    EXPECT_EQ(on.Reader.ReadString(), expected);
}

TEST(JSONStreamReader, ReadsCharactersFromThePosition) {
    TStringStream stream("xab");
    stream.SetPosition(1);
    TAdvJSONStreamReader reader(&stream);
    EXPECT_EQ(reader.PeekChar(), L'a');
    EXPECT_EQ(reader.ReadChar(), L'a');
    reader.Backup();
    reader.MoveNext(1);
    EXPECT_EQ(reader.NextChar(), L'b');
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadChar(), L'\0');
    EXPECT_THROW(reader.NextChar(), TAdvJSONStreamReader::EEndOfInputReached);
}

// Numbers convert to the double nearest their text, by whichever path they take.
TEST(JSONReader, NumbersConvertToTheNearestDouble) {
    std::mt19937_64 random(23);
    std::string text = "[";
    std::vector<double> expected;
    for (int i = 0; i < 20000; ++i) {
        char number[64];
        char* end = number;
        if (i % 2 == 0) {
            // Any double, in its shortest form.
            double value = 0;
            do {
                const uint64_t bits = random();
                std::memcpy(&value, &bits, sizeof value);
            } while (!std::isfinite(value));
            end = std::to_chars(number, number + sizeof number, value).ptr;
        } else {
            // Decimal text of up to 19 digits with a point and an exponent near the fast range.
            const int digits = 1 + int(random() % 19);
            const int point = int(random() % size_t(digits + 1));
            if (random() % 2) *end++ = '-';
            for (int d = 0; d < digits; ++d) {
                if (d == point && d > 0) *end++ = '.';
                *end++ = char('0' + (d == 0 ? 1 + random() % 9 : random() % 10));
            }
            end += std::sprintf(end, "e%d", int(random() % 61) - 30);
        }
        double value = 0;
        std::from_chars(number, end, value);
        expected.push_back(value);
        text += std::string(number, end) + ",";
    }
    text.back() = ']';
    TReaderOn on(text);
    on.Reader.ReadBeginArray();
    for (size_t i = 0; i < expected.size(); ++i) {
        const double value = on.Reader.ReadDouble();
        if (value != expected[i]) {
            ADD_FAILURE() << "number " << i << " read as " << value << ", expected " << expected[i];
            break;
        }
    }
}

// Number forms at the edges of the exact conversion (zeros before a fraction's digits,
// 18 and 19 digits, 2 to the 53rd, powers of ten 22 and 23) read as the general
// conversion reads them.
TEST(JSONReader, NumbersAtTheEdgesOfExactConversion) {
    const char* const cases[] = {
        "0.000123", "-0.0001e-5", "0.00000000000000000000000001", "0.0", "-0.000", "0e5", "0.5E+2",
        "123456789012345678", "1234567890123456789", "-123456789.012345678", "12345678901234567.8e-3",
        "9007199254740992.0", "9007199254740993.0", "9007199254740993e0", "1e22", "1e23", "1.5e-22",
        "1.5e-23", "3e0022", "7e-0022",
    };
    for (const char* number : cases) {
        SCOPED_TRACE(number);
        double expected = 0;
        std::from_chars(number, number + std::strlen(number), expected);
        TReaderOn on(std::string("[") + number + "]");
        on.Reader.ReadBeginArray();
        EXPECT_EQ(on.Reader.ReadDouble(), expected);
    }
}
