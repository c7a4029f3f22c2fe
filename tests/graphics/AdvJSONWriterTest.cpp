#include "graphics/AdvJSONWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvJSONReader.h"

using namespace AdvJSONWriter;
using ClassLib::TStringStream;

namespace {

using TWriter = TAdvJSONWriter;

// The text a sequence of writes leaves in the stream once the writer is gone, or the
// message of the error it raised.
std::string Written(const std::function<void(TWriter&)>& write, std::optional<std::wstring>* error = nullptr,
                    int indent = 0) {
    TStringStream stream;
    {
        TWriter writer(&stream);
        writer.SetIndentLength(indent);
        try {
            write(writer);
        } catch (const ClassLib::Exception& e) {
            if (!error) throw;
            *error = e.Message();
        }
    }
    return stream.DataString();
}

std::optional<std::wstring> ErrorOf(const std::function<void(TWriter&)>& write) {
    std::optional<std::wstring> error;
    Written(write, &error);
    return error;
}

}  // namespace

TEST(JSONWriter, WritesCompactAndIndentedText) {
    const auto sample = [](TWriter& w) {
        w.WriteBeginObject().WriteName(L"a").WriteInteger(1).WriteName(L"b").WriteBeginArray().WriteBoolean(true);
        w.WriteEndArray().WriteEndObject().Close();
    };
    EXPECT_EQ(Written(sample), "{\"a\":1,\"b\":[true]}");
    EXPECT_EQ(Written(sample, nullptr, 2), "{\r\n  \"a\": 1,\r\n  \"b\": [\r\n    true\r\n  ]\r\n}");
    // Empty structures stay on their line.
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBeginArray().WriteBeginObject().WriteEndObject().WriteEndArray(); },
                      nullptr, 2),
              "[\r\n  {}\r\n]");
}

TEST(JSONWriter, EscapesEverythingOutsidePlainAscii) {
    const std::string text = Written([](TWriter& w) { w.WriteBeginArray().WriteString(L"a\"b\\c\t\u00e9/"); });
    EXPECT_EQ(text, "[\"a\\u0022b\\u005Cc\\u0009\\u00E9/\"");
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBeginArray().WriteString(L"\b\f\n\r\x01\u4e2d"); }),
              "[\"\\u0008\\u000C\\u000A\\u000D\\u0001\\u4E2D\"");
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBeginArray().WriteRawString(L"a\"b"); }), "[\"a\"b\"");
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBeginObject().WriteName(L"\u00e9\"").WriteNull(); }),
              "{\"\\u00E9\\u0022\":null");
}

TEST(JSONWriter, StructureErrors) {
    struct TCase { const char* Name; std::function<void(TWriter&)> Write; const wchar_t* Message; };
    const TCase cases[] = {
        {"string at the root", [](TWriter& w) { w.WriteString(L"x"); },
         L"Object or array expected as top-level value"},
        {"second root", [](TWriter& w) { w.WriteBeginObject().WriteEndObject().WriteBeginObject(); },
         L"Multiple root values not allowed"},
        {"name twice", [](TWriter& w) { w.WriteBeginObject().WriteName(L"a").WriteName(L"b"); },
         L"Json value missing"},
        {"end after name", [](TWriter& w) { w.WriteBeginObject().WriteName(L"a").WriteEndObject(); },
         L"Json value missing"},
        {"name in an array", [](TWriter& w) { w.WriteBeginArray().WriteName(L"a").WriteInteger(1); },
         L"Cannot write name in current Json scope"},
        {"end array on an object", [](TWriter& w) { w.WriteBeginObject().WriteEndArray(); },
         L"Invalid nesting. Not all arrays/objects were properly closed."},
        {"close with an open object", [](TWriter& w) { w.WriteBeginObject().Close(); },
         L"Invalid nesting. Not all arrays/objects were properly closed."},
        {"close when empty", [](TWriter& w) { w.Close(); },
         L"Invalid nesting. Not all arrays/objects were properly closed."},
        {"value without name", [](TWriter& w) { w.WriteBeginObject().WriteInteger(1); },
         L"Invalid nesting. Not all arrays/objects were properly closed."},
        {"empty name", [](TWriter& w) { w.WriteBeginObject().WriteName(L""); }, L"Cannot write empty name"},
        {"too deep",
         [](TWriter& w) {
             for (int i = 0; i < 256; ++i) w.WriteBeginArray();
         },
         L"Maximum level of nested structured reached."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ErrorOf(c.Write).value_or(L"(no error)"), c.Message);
    }
    EXPECT_EQ(ErrorOf([](TWriter& w) {
                  for (int i = 0; i < 255; ++i) w.WriteBeginArray();
                  for (int i = 0; i < 255; ++i) w.WriteEndArray();
                  w.Close();
              }),
              std::nullopt);
}

TEST(JSONWriter, TheTargetIsUntouchedUntilTheWriterGoes) {
    TStringStream stream("old");
    stream.SetPosition(3);
    {
        TWriter writer(&stream);
        writer.WriteBeginArray().WriteInteger(-5).WriteEndArray().Close();
        EXPECT_TRUE(writer.Closed());
        EXPECT_EQ(stream.DataString(), "old");
    }
    EXPECT_EQ(stream.DataString(), "old[-5]");
    // Text written before an error is flushed all the same.
    std::optional<std::wstring> error;
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBeginArray().WriteInteger(1).WriteName(L"x").WriteNull(); }, &error),
              "[1");
    EXPECT_TRUE(error);
}

// Doubles read back to the very same value; NaN and the infinities refuse before writing.
TEST(JSONWriter, DoublesReadBackExactly) {
    ClassLib::TFormatSettingsScope dot;
    struct TCase { double Value; const char* Text; };
    const TCase cases[] = {
        {0.0, "0"}, {1.5, "1.5"}, {-2.0, "-2"}, {1e20, "1E20"}, {1e-7, "1E-7"}, {123456789.0, "123456789"},
        {1.0 / 3.0, "0.3333333333333333"}, {0.1, "0.1"}, {5e-324, "5E-324"}, {1.7976931348623157e308, "1.7976931348623157E308"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const std::string text = Written([&](TWriter& w) { w.WriteBeginArray().WriteDouble(c.Value).WriteEndArray(); });
        EXPECT_EQ(text, std::string("[") + c.Text + "]");
        TStringStream stream(text);
        AdvJSONReader::TAdvJSONReader reader(&stream);
        reader.ReadBeginArray();
        EXPECT_EQ(reader.ReadDouble(), c.Value);
    }
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        std::optional<std::wstring> error;
        EXPECT_EQ(Written([&](TWriter& w) { w.WriteBeginArray().WriteDouble(bad); }, &error), "[");
        EXPECT_TRUE(error && error->find(L"Cannot write") == 0) << testing::PrintToString(error.value_or(L""));
    }
    // Text of 15 significant digits, as older saves hold, still reads.
    TStringStream old("[0.333333333333333]");
    AdvJSONReader::TAdvJSONReader reader(&old);
    reader.ReadBeginArray();
    EXPECT_EQ(reader.ReadDouble(), 0.333333333333333);
}

// A raw control character in a string is refused by strict readers: every one below
// U+0020 is written as an escape, and the text reads back unchanged.
TEST(JSONWriter, ControlCharactersAreEscaped) {
    std::wstring all;
    for (wchar_t c = 0; c < 0x80; ++c) all += c;
    const std::string text = Written([&](TWriter& w) { w.WriteBeginObject().WriteName(all).WriteString(all).WriteEndObject(); });
    for (std::size_t i = 0; i < text.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_GE(static_cast<unsigned char>(text[i]), 0x20);
    }
    EXPECT_NE(text.find("\\u001F"), std::string::npos);
    TStringStream stream(text);
    AdvJSONReader::TAdvJSONReader reader(&stream);
    reader.ReadBeginObject();
    EXPECT_EQ(reader.ReadName(), all);
    EXPECT_EQ(reader.ReadString(), all);
}

// Whatever the writer writes, the reader reads back.
TEST(JSONWriter, TheReaderReadsWhatTheWriterWrote) {
    const std::wstring tricky = L" \"q\" \\ / \t\r\n\u00e9\u4e2d\xd83d\xde00\x01";
    const std::string text = Written([&](TWriter& w) {
        w.WriteBeginObject().WriteName(tricky).WriteString(tricky).WriteName(L"n").WriteInteger(INT64_MIN);
        w.WriteName(L"l").WriteBeginArray().WriteBoolean(false).WriteNull().WriteEndArray().WriteEndObject();
    }, nullptr, 3);
    TStringStream stream(text);
    AdvJSONReader::TAdvJSONReader reader(&stream);
    reader.ReadBeginObject();
    EXPECT_EQ(reader.ReadName(), tricky);
    EXPECT_EQ(reader.ReadString(), tricky);
    EXPECT_EQ(reader.ReadName(), L"n");
    EXPECT_EQ(reader.ReadInt64(), INT64_MIN);
    EXPECT_EQ(reader.ReadName(), L"l");
    reader.ReadBeginArray();
    EXPECT_FALSE(reader.ReadBoolean());
    reader.ReadNull();
    reader.ReadEndArray();
    reader.ReadEndObject();
    EXPECT_TRUE(reader.Eof());
}
