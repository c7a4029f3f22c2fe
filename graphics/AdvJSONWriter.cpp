#include "graphics/AdvJSONWriter.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvJSONReader.h"

namespace AdvJSONWriter {

using namespace AdvJSONReader;   // the scope codes the reader and the writer share

namespace {

constexpr size_t BlockSize = 1 << 20;
constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendUnicodeEscape(std::string& text, unsigned unit) {
    const char escape[6] = {'\\', 'u', HexDigits[(unit >> 12) & 15], HexDigits[(unit >> 8) & 15],
                            HexDigits[(unit >> 4) & 15], HexDigits[unit & 15]};
    text.append(escape, 6);
}

// The characters below 128 that are written as \u forms: the quote, the backslash and
// every control character (a strict reader refuses them raw).
bool NeedsEscape(wchar_t c) noexcept { return c < L' ' || c == L'"' || c == L'\\'; }

}  // namespace

// ---------------------------------------------------------------- TAdvJSONStreamWriter

TAdvJSONStreamWriter::~TAdvJSONStreamWriter() {
    try {
        for (size_t at = 0; at < FText.size(); at += BlockSize)
            FStream->WriteBuffer(FText.data() + at, int(std::min(BlockSize, FText.size() - at)));
    } catch (...) {
        // A destructor cannot report; the persistence never lets this stream fail, as it
        // writes into a memory stream of its own and copies from there.
    }
}

void TAdvJSONStreamWriter::Write(const String& value) {
    for (wchar_t c : value) {
        if (unsigned(c) < 128) {
            FText += char(c);
            continue;
        }
        char byte = '?';
        BOOL defaulted = FALSE;
        ::WideCharToMultiByte(AdvJSONReader::JSONCodePage(), 0, &c, 1, &byte, 1, nullptr, &defaulted);
        FText += byte;
    }
}

// ---------------------------------------------------------------- TAdvJSONWriter

TAdvJSONWriter::ECannotWriteName::ECannotWriteName() : Exception(L"Cannot write name in current Json scope") {}
TAdvJSONWriter::EMultipleRootNotAllowed::EMultipleRootNotAllowed() : Exception(L"Multiple root values not allowed") {}
TAdvJSONWriter::EObjectOrArrayExpected::EObjectOrArrayExpected()
    : Exception(L"Object or array expected as top-level value") {}
TAdvJSONWriter::EInvalidNesting::EInvalidNesting()
    : Exception(L"Invalid nesting. Not all arrays/objects were properly closed.") {}
TAdvJSONWriter::EMissingValue::EMissingValue() : Exception(L"Json value missing") {}
TAdvJSONWriter::ETooManyDepthLevels::ETooManyDepthLevels() : Exception(L"Maximum level of nested structured reached.") {}
TAdvJSONWriter::EEmptyJson::EEmptyJson() : Exception(L"Json is still empty. Cannot perform operation.") {}
TAdvJSONWriter::EEmptyName::EEmptyName() : Exception(L"Cannot write empty name") {}
TAdvJSONWriter::EInvalidNumber::EInvalidNumber(double value)
    : Exception(String(L"Cannot write ") + (std::isnan(value) ? L"NaN" : value > 0 ? L"infinity" : L"-infinity") +
                L" as JSON: it has no number text, and the saved text would not load.") {}

void TAdvJSONWriter::SetIndentLength(int value) {
    FIndent.assign(size_t(std::max(value, 0)), L' ');
    FSeparator = value > 0 ? ": " : ":";
}

uint8_t& TAdvJSONWriter::Top() {
    if (FStackSize <= 0) throw EEmptyJson();
    return FStack[FStackSize - 1];
}

void TAdvJSONWriter::LineBreak() {
    if (FIndent.empty()) return;
    FWriter.Write("\r\n");
    for (int i = 1; i < FStackSize; ++i) FWriter.Write(FIndent);
}

void TAdvJSONWriter::WritePendingName() {
    uint8_t& top = Top();
    if (top != scEmptyObject && top != scNonEmptyObject) throw ECannotWriteName();
    if (top == scNonEmptyObject) FWriter.Write(',');
    LineBreak();
    top = scDanglingName;
    WriteQuoted(FDeferredName);
    FDeferredName.clear();
}

void TAdvJSONWriter::BeforeValue(bool structured) {
    if (!FDeferredName.empty()) WritePendingName();
    uint8_t& top = Top();
    switch (top) {
    case scEmptyDocument:
        if (!structured) throw EObjectOrArrayExpected();
        top = scNonEmptyDocument;
        break;
    case scEmptyArray:
        top = scNonEmptyArray;
        LineBreak();
        break;
    case scNonEmptyArray:
        FWriter.Write(',');
        LineBreak();
        break;
    case scDanglingName:
        FWriter.Write(FSeparator);
        top = scNonEmptyObject;
        break;
    case scNonEmptyDocument: throw EMultipleRootNotAllowed();
    default: throw EInvalidNesting();   // inside an object a value needs a name first
    }
}

void TAdvJSONWriter::BeginScope(TScope scope, char opening) {
    BeforeValue(true);
    if (FStackSize >= AdvJSONReader::MaxJSONDepth) throw ETooManyDepthLevels();
    FStack[FStackSize++] = scope;
    FWriter.Write(opening);
}

void TAdvJSONWriter::EndScope(TScope empty, TScope nonEmpty, char closing) {
    const uint8_t top = Top();
    if (top != empty && top != nonEmpty) throw EInvalidNesting();
    if (!FDeferredName.empty()) throw EMissingValue();
    --FStackSize;
    if (top == nonEmpty) LineBreak();
    FWriter.Write(closing);
}

void TAdvJSONWriter::WriteQuoted(const String& value) {
    std::string& text = FWriter.Buffer();
    text += '"';
    for (wchar_t c : value) {
        if (unsigned(c) < 128 && !NeedsEscape(c))
            text += char(c);
        else
            AppendUnicodeEscape(text, unsigned(c));
    }
    text += '"';
}

TAdvJSONWriter& TAdvJSONWriter::WriteBeginObject() {
    BeginScope(scEmptyObject, '{');
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteEndObject() {
    EndScope(scEmptyObject, scNonEmptyObject, '}');
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteBeginArray() {
    BeginScope(scEmptyArray, '[');
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteEndArray() {
    EndScope(scEmptyArray, scNonEmptyArray, ']');
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteName(const String& name) {
    if (name.empty()) throw EEmptyName();
    if (!FDeferredName.empty()) throw EMissingValue();
    if (FStackSize <= 0) throw EEmptyJson();
    FDeferredName = name;
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteString(const String& value) {
    BeforeValue(false);
    WriteQuoted(value);
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteRawString(const String& value) {
    BeforeValue(false);
    FWriter.Write('"');
    FWriter.Write(value);
    FWriter.Write('"');
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteBoolean(bool value) {
    BeforeValue(false);
    FWriter.Write(value ? "true" : "false");
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteNull() {
    BeforeValue(false);
    FWriter.Write("null");
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteInteger(int64_t value) {
    BeforeValue(false);
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    FWriter.Buffer().append(text, end);
    return *this;
}

TAdvJSONWriter& TAdvJSONWriter::WriteDouble(double value) {
    if (!std::isfinite(value)) throw EInvalidNumber(value);   // before anything is written
    BeforeValue(false);
    char text[40];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    // "1e+20" and "1e-07" become "1E20" and "1E-7"; the separator is the process-wide one.
    std::string number;
    const wchar_t separator = ClassLib::FormatSettings().DecimalSeparator;
    for (const char* p = text; p < end; ++p) {
        if (*p == 'e') {
            number += 'E';
            ++p;
            if (*p == '-') number += *p++;
            else if (*p == '+') ++p;
            while (p + 1 < end && *p == '0') ++p;
            number.append(p, end);
            break;
        }
        if (*p == '.' && separator != L'.') {
            FWriter.Write(number.c_str());
            number.clear();
            FWriter.Write(String(1, separator));
            continue;
        }
        number += *p;
    }
    FWriter.Write(number.c_str());
    return *this;
}

void TAdvJSONWriter::Close() {
    if (FStackSize != 1 || FStack[0] != scNonEmptyDocument) throw EInvalidNesting();
    FClosed = true;
}

}  // namespace AdvJSONWriter
