#include "graphics/AdvJSONReader.h"

#include <windows.h>

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "classlib/Streams.h"
#include "classlib/Strings.h"

namespace AdvJSONReader {

using ClassLib::EConvertError;

namespace {

constexpr size_t BlockSize = 1 << 20;

bool IsWhitespace(char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Characters that may end a literal or a number.
bool IsTerminator(char c) noexcept {
    switch (c) {
    case '/': case '\\': case ';': case '#': case '{': case '}': case '[': case ']': case ':': case ',':
    case '\'':
        return true;
    default:
        return IsWhitespace(c);
    }
}

int HexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The first quote or backslash at or after `from`, or `size`: eight bytes a step while
// none of them is either.
size_t PlainRunEnd(const char* data, size_t from, size_t size) noexcept {
    constexpr uint64_t Ones = 0x0101010101010101ull, Highs = 0x8080808080808080ull;
    constexpr uint64_t Quotes = Ones * uint64_t('"'), Backslashes = Ones * uint64_t('\\');
    const auto hasZeroByte = [](uint64_t word) { return (word - Ones) & ~word & Highs; };
    for (; from + 8 <= size; from += 8) {
        uint64_t word;
        std::memcpy(&word, data + from, 8);
        if (hasZeroByte(word ^ Quotes) | hasZeroByte(word ^ Backslashes)) break;
    }
    while (from < size && data[from] != '"' && data[from] != '\\') ++from;
    return from;
}

char LowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

const std::array<wchar_t, 256>& WideTable() {
    static const std::array<wchar_t, 256> table = [] {
        std::array<wchar_t, 256> result{};
        const unsigned codePage = JSONCodePage();
        for (unsigned b = 0; b < 256; ++b) {
            const char byte = char(b);
            wchar_t wide = wchar_t(b);
            if (b >= 128 && ::MultiByteToWideChar(codePage, 0, &byte, 1, &wide, 1) != 1) wide = wchar_t(b);
            result[b] = wide;
        }
        return result;
    }();
    return table;
}

[[noreturn]] void InvalidCode(size_t backslashIndex) {
    throw EConvertError(ClassLib::Format(L"Invalid code at position %d", int(backslashIndex + 1)));
}

bool ConvertFloat(const String& text, double& value) {
    return ClassLib::TryStrToFloat(text, value);
}

}  // namespace

unsigned JSONCodePage() {
    static const unsigned codePage = [] {
        CPINFO info{};
        return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1 ? ::GetACP() : 1252u;
    }();
    return codePage;
}

// ---------------------------------------------------------------- TAdvJSONStreamReader

TAdvJSONStreamReader::EEndOfInputReached::EEndOfInputReached() : Exception(L"End of JSON input reached.") {}

TAdvJSONStreamReader::TAdvJSONStreamReader(ClassLib::TStream* stream) : FWide(WideTable().data()) {
    const int64_t size = stream->Size();
    // A memory stream already holds the text: read it where it lies.
    if (auto* memory = dynamic_cast<ClassLib::TMemoryStream*>(stream)) {
        const int64_t position = std::min(memory->Position(), size);
        FData = reinterpret_cast<const char*>(memory->Memory()) + position;
        FSize = size_t(size - position);
        return;
    }
    FCopy.reserve(size_t(std::max<int64_t>(size, 0)));
    // As many bytes as the stream is long: a stream not at its start fails with its read error.
    for (int64_t left = size; left > 0;) {
        const size_t block = size_t(std::min<int64_t>(left, BlockSize));
        const size_t at = FCopy.size();
        FCopy.resize(at + block);
        stream->ReadBuffer(FCopy.data() + at, int(block));
        left -= int64_t(block);
    }
    FData = FCopy.data();
    FSize = FCopy.size();
}

// ---------------------------------------------------------------- TAdvJSONReader

TAdvJSONReader::EInvalidStateException::EInvalidStateException(TAdvJSONState expected)
    : Exception(ClassLib::Format(L"Invalid Json parser state. Expected state: %d", int(expected))), FExpected(expected) {}
TAdvJSONReader::EUnterminatedArray::EUnterminatedArray() : Exception(L"Unterminated array") {}
TAdvJSONReader::EUnterminatedObject::EUnterminatedObject() : Exception(L"Unterminated object") {}
TAdvJSONReader::ENameExpected::ENameExpected() : Exception(L"Name expected") {}
TAdvJSONReader::EColonExpected::EColonExpected() : Exception(L"Colon expected") {}
TAdvJSONReader::EMultipleRootNotAllowed::EMultipleRootNotAllowed() : Exception(L"Multiple root values not allowed") {}
TAdvJSONReader::EExpectedValue::EExpectedValue() : Exception(L"Value expected but invalid character found") {}
TAdvJSONReader::EObjectOrArrayExpected::EObjectOrArrayExpected()
    : Exception(L"Object or array expected as top-level value") {}
TAdvJSONReader::ETooManyDepthLevels::ETooManyDepthLevels() : Exception(L"Maximum level of nested structured reached.") {}

TAdvJSONReader::TAdvJSONReader(ClassLib::TStream* stream)
    : FReader(stream), FData(FReader.Data()), FSize(FReader.Size()), FPos(FReader.Position()) {
    FStack[0] = scEmptyDocument;
}

char TAdvJSONReader::NextNonWhitespace() {
    size_t position = FPos;
    while (position < FSize && IsWhitespace(FData[position])) ++position;
    FPos = position;
    return position < FSize ? FData[position] : '\0';
}

void TAdvJSONReader::Push(TScope scope) {
    if (FStackSize >= MaxJSONDepth) throw ETooManyDepthLevels();
    FStack[FStackSize++] = scope;
}

void TAdvJSONReader::Expect(TAdvJSONState expected, TAdvJSONState a, TAdvJSONState b, TAdvJSONState c,
                            TAdvJSONState d) {
    const TAdvJSONState state = PeekState();
    if (state != a && (b == jstNone || state != b) && (c == jstNone || state != c) && (d == jstNone || state != d))
        throw EInvalidStateException(expected);
}

TAdvJSONReader::TAdvJSONState TAdvJSONReader::DoPeek() {
    uint8_t& top = FStack[FStackSize - 1];
    TAdvJSONState state = jstNone;
    switch (top) {
    case scEmptyDocument:
        top = scNonEmptyDocument;
        state = ReadValue(false);
        break;
    case scEmptyArray:
        top = scNonEmptyArray;
        state = ReadValue(true);
        break;
    case scNonEmptyArray: {
        const char c = NextNonWhitespace();
        if (c == ',') {
            ++FPos;
            state = ReadValue(false);
        } else if (c == ']') {
            ++FPos;
            state = jstEndArray;
        } else {
            throw EUnterminatedArray();
        }
        break;
    }
    case scEmptyObject:
    case scNonEmptyObject: {
        const bool wasEmpty = top == scEmptyObject;
        top = scDanglingName;
        char c = NextNonWhitespace();
        if (!wasEmpty) {
            if (c == '}') {
                ++FPos;
                state = jstEndObject;
                break;
            }
            if (c != ',') throw EUnterminatedObject();
            ++FPos;
            c = NextNonWhitespace();
        }
        if (c == '"') {
            ++FPos;   // the name's text starts right after the quote
            state = jstDoubleQuotedName;
        } else if (c == '}' && wasEmpty) {
            ++FPos;
            state = jstEndObject;
        } else {
            throw ENameExpected();
        }
        break;
    }
    case scDanglingName:
        top = scNonEmptyObject;
        if (NextNonWhitespace() != ':') throw EColonExpected();
        ++FPos;
        state = ReadValue(false);
        break;
    case scNonEmptyDocument:
        if (NextNonWhitespace() != '\0' || FPos < FSize) throw EMultipleRootNotAllowed();
        state = jstEOF;
        break;
    }
    FPeeked = state;
    return state;
}

TAdvJSONReader::TAdvJSONState TAdvJSONReader::ReadValue(bool endArrayAllowed) {
    const char c = NextNonWhitespace();
    const bool topLevel = FStackSize == 1;
    switch (c) {
    case '"':
        if (topLevel) throw EObjectOrArrayExpected();
        ++FPos;   // no whitespace skipped: it belongs to the string
        return jstDoubleQuoted;
    case '[':
        ++FPos;
        return jstBeginArray;
    case '{':
        ++FPos;
        return jstBeginObject;
    case ']':
        if (endArrayAllowed) {
            ++FPos;
            return jstEndArray;
        }
        break;
    default:
        break;
    }
    if (topLevel) throw EObjectOrArrayExpected();
    switch (c) {
    case 't': case 'T': case 'f': case 'F': case 'n': case 'N': return ReadLiteral();
    case '-': case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        return ReadNumber();
    default: throw EExpectedValue();
    }
}

TAdvJSONReader::TAdvJSONState TAdvJSONReader::ReadLiteral() {
    const char* data = FData;
    const size_t size = FSize;
    size_t position = FPos;
    const char first = LowerAscii(data[position]);
    const char* word = first == 't' ? "true" : first == 'f' ? "false" : "null";
    const TAdvJSONState state = first == 't' ? jstTrue : first == 'f' ? jstFalse : jstNull;
    for (const char* w = word; *w; ++w, ++position)
        if (position >= size || LowerAscii(data[position]) != *w) throw EExpectedValue();
    if (position < size && !IsTerminator(data[position])) throw EExpectedValue();
    FPos = position;
    return state;
}

bool TAdvJSONReader::ReadPlainNumber() {
    // The common forms: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? ended by a
    // terminator, short enough to convert exactly. Anything else (including every error)
    // is left to the full reading, which tells it apart character by character.
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* const begin = FData + FPos;
    const char* const end = FData + FSize;
    const auto isDigit = [end](const char* at) { return at < end && unsigned(*at - '0') <= 9u; };
    const char* p = begin;
    const bool negative = *p == '-';
    if (negative) ++p;
    if (!isDigit(p)) return false;
    // More than 18 significant digits wrap the significand, and are then refused below.
    uint64_t significand = 0;
    ptrdiff_t digits = 0, scale = 0;
    if (*p == '0') {
        ++p;
        if (isDigit(p)) return false;   // a leading zero: the full reading refuses it
    } else {
        const char* const first = p;
        for (; isDigit(p); ++p) significand = significand * 10 + unsigned(*p - '0');
        digits = p - first;
    }
    bool integer = true;
    if (p < end && *p == '.') {
        integer = false;
        ++p;
        if (!isDigit(p)) return false;
        const char* const first = p;
        if (significand == 0)   // zeros before the first other digit are not significant
            while (p < end && *p == '0') ++p;
        const char* const significant = p;
        for (; isDigit(p); ++p) significand = significand * 10 + unsigned(*p - '0');
        digits += p - significant;
        scale -= p - first;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        integer = false;
        ++p;
        const bool negativeExponent = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        if (!isDigit(p)) return false;
        int exponent = 0;
        for (; isDigit(p); ++p) {
            exponent = exponent * 10 + (*p - '0');
            if (exponent > 1000) return false;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p >= end || !IsTerminator(*p) || p - begin > 254 || digits > 18) return false;
    FPeekedNumber = begin;
    FPeekedNumberLength = size_t(p - begin);
    FPos = size_t(p - FData);
    if (integer) {   // at most 18 digits: it fits in 64 bits
        FPeekedInt64 = negative ? -int64_t(significand) : int64_t(significand);
        FPeeked = jstInt64;
        return true;
    }
    FPeekedExact = significand <= (uint64_t(1) << 53) && scale >= -22 && scale <= 22;
    if (FPeekedExact) {
        const double magnitude =
            scale < 0 ? double(significand) / Powers[-scale] : double(significand) * Powers[scale];
        FPeekedDouble = negative ? -magnitude : magnitude;
    }
    FPeeked = jstNumber;
    return true;
}

TAdvJSONReader::TAdvJSONState TAdvJSONReader::ReadNumber() {
    FPeekedExact = false;
    if (ReadPlainNumber()) return FPeeked;
    enum { nsStart, nsSign, nsInteger, nsPoint, nsFraction, nsExponent, nsExponentSign, nsExponentDigits };
    const char* data = FData;
    const size_t size = FSize;
    const size_t start = FPos;
    size_t position = start;
    int state = nsStart;
    bool negative = false, leadingZero = false, fits = true;
    int64_t value = 0;   // accumulated negative: the most negative value has no positive twin
    for (;;) {
        if (position >= size) throw TAdvJSONStreamReader::EEndOfInputReached();
        const char c = data[position];
        if (c >= '0' && c <= '9') {
            const int digit = c - '0';
            switch (state) {
            case nsStart:
            case nsSign:
                state = nsInteger;
                leadingZero = digit == 0;
                value = -digit;
                break;
            case nsInteger:
                if (leadingZero) throw EExpectedValue();
                if (fits) {
                    if (value < INT64_MIN / 10 || (value == INT64_MIN / 10 && digit > -(INT64_MIN % 10)))
                        fits = false;
                    else
                        value = value * 10 - digit;
                }
                break;
            case nsPoint:
            case nsFraction: state = nsFraction; break;
            default: state = nsExponentDigits; break;
            }
        } else if (c == '-') {
            if (state == nsStart) {
                negative = true;
                state = nsSign;
            } else if (state == nsExponent) {
                state = nsExponentSign;
            } else {
                throw EExpectedValue();
            }
        } else if (c == '+') {
            if (state != nsExponent) throw EExpectedValue();
            state = nsExponentSign;
        } else if (c == '.') {
            if (state != nsInteger) throw EExpectedValue();
            state = nsPoint;
        } else if (c == 'e' || c == 'E') {
            if (state != nsInteger && state != nsFraction) throw EExpectedValue();
            state = nsExponent;
        } else if (IsTerminator(c)) {
            break;
        } else {
            throw EExpectedValue();
        }
        if (++position - start > 254) throw EExpectedValue();
    }
    FPeekedNumber = data + start;
    FPeekedNumberLength = position - start;
    FPos = position;
    if (state == nsInteger) {
        if (fits && (negative || value != INT64_MIN)) {
            FPeekedInt64 = negative ? value : -value;
            return jstInt64;
        }
        return jstNumber;
    }
    if (state == nsFraction || state == nsExponentDigits) return jstNumber;
    throw EExpectedValue();
}

// A backslash protects the character after it, a quote included: valid JSON from any
// writer loads. Escapes are checked on skipping too, so a check pass finds bad ones.
void TAdvJSONReader::ReadQuoted(String& result) {
    const char* const data = FData;
    const size_t size = FSize;
    const size_t start = FPos;
    // Appends the bytes [from, to) as characters: plain ASCII as it is, others through the
    // code page. The string's storage is kept between texts, so this seldom allocates.
    const auto append = [&](size_t from, size_t to) {
        const size_t at = result.size();
        result.resize(at + (to - from));
        wchar_t* out = result.data() + at;
        bool ascii = true;
        for (size_t i = from; i < to; ++i) ascii &= static_cast<unsigned char>(data[i]) < 128;
        if (ascii)
            for (size_t i = from; i < to; ++i) *out++ = wchar_t(data[i]);
        else
            for (size_t i = from; i < to; ++i) *out++ = FReader.Widen(data[i]);
    };
    // An unterminated text reports its end before any bad escape in it, as a check pass
    // (SkipQuoted) would.
    const auto fail = [&](size_t backslash) {
        size_t end = start;
        for (;;) {
            end = PlainRunEnd(data, end, size);
            if (end >= size || data[end] == '"') break;
            end += 2;   // the escaped character, a quote included
        }
        if (end >= size) {
            FPos = size;
            throw TAdvJSONStreamReader::EEndOfInputReached();
        }
        InvalidCode(backslash);
    };
    result.clear();
    size_t position = start;
    for (;;) {
        // The plain run up to the next quote or backslash goes in one step.
        const size_t run = PlainRunEnd(data, position, size);
        append(position, run);
        if (run >= size) fail(run - start);   // no closing quote
        if (data[run] == '"') {
            FPos = run + 1;
            return;
        }
        if (run + 1 >= size) fail(run - start);   // a backslash last
        const size_t backslash = run - start;
        position = run + 2;
        switch (data[run + 1]) {
        case '"': result += L'"'; break;
        case '\\': result += L'\\'; break;
        case '/': result += L'/'; break;
        case 'b': result += L'\b'; break;
        case 'f': result += L'\f'; break;
        case 'n': result += L'\n'; break;
        case 'r': result += L'\r'; break;
        case 't': result += L'\t'; break;
        case 'u': {
            unsigned unit = 0;
            for (size_t k = 0; k < 4; ++k) {
                const int digit = position + k < size ? HexDigit(data[position + k]) : -1;
                if (digit < 0) fail(backslash);
                unit = unit * 16 + unsigned(digit);
            }
            position += 4;
            result += wchar_t(unit);
            break;
        }
        default: fail(backslash);
        }
    }
}

String TAdvJSONReader::ReadQuoted() {
    String result;
    ReadQuoted(result);
    return result;
}

void TAdvJSONReader::SkipQuoted() {
    const char* data = FData;
    const size_t size = FSize;
    const size_t start = FPos;
    size_t position = start;
    for (;;) {
        position = PlainRunEnd(data, position, size);
        if (position < size && data[position] == '"') break;
        if (position + 1 >= size) {
            FPos = size;
            throw TAdvJSONStreamReader::EEndOfInputReached();
        }
        const size_t backslash = position - start;
        const char code = data[position + 1];
        position += 2;
        switch (code) {
        case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't': break;
        case 'u':
            for (int k = 0; k < 4; ++k)
                if (position + size_t(k) >= size || HexDigit(data[position + size_t(k)]) < 0) InvalidCode(backslash);
            position += 4;
            break;
        default: InvalidCode(backslash);
        }
    }
    FPos = position + 1;
}

TAdvJSONToken TAdvJSONReader::Peek() {
    switch (PeekState()) {
    case jstBeginObject: return jstoBeginObject;
    case jstEndObject: return jstoEndObject;
    case jstBeginArray: return jstoBeginArray;
    case jstEndArray: return jstoEndArray;
    case jstTrue:
    case jstFalse: return jstoBoolean;
    case jstNull: return jstoNull;
    case jstDoubleQuoted:
    case jstBuffered: return jstoText;
    case jstDoubleQuotedName: return jstoName;
    case jstInt64:
    case jstNumber: return jstoNumber;
    default: return jstoEOF;
    }
}

bool TAdvJSONReader::HasNext() {
    const TAdvJSONState state = PeekState();
    return state != jstEndObject && state != jstEndArray;
}

void TAdvJSONReader::ReadBeginObject() {
    Expect(jstBeginObject, jstBeginObject);
    Push(scEmptyObject);
    FPeeked = jstNone;
}

void TAdvJSONReader::ReadEndObject() {
    Expect(jstEndObject, jstEndObject);
    --FStackSize;
    FPeeked = jstNone;
}

void TAdvJSONReader::ReadBeginArray() {
    Expect(jstBeginArray, jstBeginArray);
    Push(scEmptyArray);
    FPeeked = jstNone;
}

void TAdvJSONReader::ReadEndArray() {
    Expect(jstEndArray, jstEndArray);
    --FStackSize;
    FPeeked = jstNone;
}

String TAdvJSONReader::ReadName() {
    String name;
    ReadName(name);
    return name;
}

void TAdvJSONReader::ReadName(String& name) {
    Expect(jstDoubleQuotedName, jstDoubleQuotedName);
    ReadQuoted(name);
    FPeeked = jstNone;
}

String TAdvJSONReader::PeekName() {
    const size_t position = FPos;
    String name = ReadQuoted();
    FPos = position;
    return name;
}

String TAdvJSONReader::ReadString() {
    String result;
    ReadString(result);
    return result;
}

void TAdvJSONReader::ReadString(String& result) {
    const TAdvJSONState state = PeekState();
    Expect(jstDoubleQuoted, jstDoubleQuoted, jstBuffered, jstInt64, jstNumber);
    switch (state) {
    case jstDoubleQuoted: ReadQuoted(result); break;
    case jstBuffered: result = std::move(FPeekedString); break;
    case jstInt64: result = ClassLib::IntToStr(FPeekedInt64); break;
    default: result.assign(FPeekedNumber, FPeekedNumber + FPeekedNumberLength); break;
    }
    FPeeked = jstNone;
}

bool TAdvJSONReader::ReadBoolean() {
    const TAdvJSONState state = PeekState();
    Expect(jstTrue, jstTrue, jstFalse);
    FPeeked = jstNone;
    return state == jstTrue;
}

void TAdvJSONReader::ReadNull() {
    Expect(jstNull, jstNull);
    FPeeked = jstNone;
}

String TAdvJSONReader::PendingText(TAdvJSONState state) {
    switch (state) {
    case jstDoubleQuoted: return ReadQuoted();
    case jstBuffered: return FPeekedString;
    case jstInt64: return ClassLib::IntToStr(FPeekedInt64);
    default: return String(FPeekedNumber, FPeekedNumber + FPeekedNumberLength);
    }
}

void TAdvJSONReader::Buffer(String text) {
    FPeekedString = std::move(text);
    FPeeked = jstBuffered;
}

double TAdvJSONReader::ReadDouble() {
    const TAdvJSONState state = PeekState();
    Expect(jstNumber, jstInt64, jstNumber, jstDoubleQuoted, jstBuffered);
    double value = 0;
    if (state == jstInt64) {
        value = double(FPeekedInt64);
    } else if (state == jstNumber && ClassLib::FormatSettings().DecimalSeparator == L'.') {
        // Number text is plain ASCII: convert it without building a string.
        if (FPeekedExact) {   // converted while it was read
            FPeeked = jstNone;
            return FPeekedDouble;
        }
        // The rest (more than 18 digits, or a power of ten beyond 22) in general.
        const char* end = FPeekedNumber + FPeekedNumberLength;
        const auto [stop, error] = std::from_chars(FPeekedNumber, end, value);
        if (error != std::errc() || stop != end) {
            Buffer(PendingText(state));
            throw EConvertError(L"'" + FPeekedString + L"' is not a valid floating point value");
        }
    } else {
        String text = PendingText(state);
        if (!ConvertFloat(text, value)) {
            Buffer(std::move(text));
            throw EConvertError(L"'" + FPeekedString + L"' is not a valid floating point value");
        }
    }
    FPeeked = jstNone;
    return value;
}

int64_t TAdvJSONReader::ReadInt64() {
    const TAdvJSONState state = PeekState();
    Expect(jstInt64, jstInt64, jstNumber, jstDoubleQuoted, jstBuffered);
    if (state == jstInt64) {
        FPeeked = jstNone;
        return FPeekedInt64;
    }
    String text = PendingText(state);
    int64_t value = 0;
    if (ClassLib::TryStrToInt64(text, value)) {
        FPeeked = jstNone;
        return value;
    }
    Buffer(std::move(text));
    double number = 0;
    if (!ConvertFloat(FPeekedString, number))
        throw EConvertError(L"'" + FPeekedString + L"' is not a valid floating point value");
    // Never a silent conversion: a fraction, or a value beyond 64 bits, is refused.
    if (!(number >= -9223372036854775808.0 && number < 9223372036854775808.0) || number != std::nearbyint(number))
        throw EInvalidStateException(jstInt64);
    FPeeked = jstNone;
    return int64_t(number);
}

int TAdvJSONReader::ReadInteger() {
    if (PeekState() == jstInt64 && (FPeekedInt64 < INT32_MIN || FPeekedInt64 > INT32_MAX))
        throw EInvalidStateException(jstInt64);
    const int64_t value = ReadInt64();
    if (value < INT32_MIN || value > INT32_MAX) throw EInvalidStateException(jstInt64);
    return int(value);
}

void TAdvJSONReader::SkipValue() {
    int depth = 0;
    do {
        switch (PeekState()) {
        case jstBeginArray:
            Push(scEmptyArray);
            ++depth;
            break;
        case jstBeginObject:
            Push(scEmptyObject);
            ++depth;
            break;
        case jstEndArray:
        case jstEndObject:
            --FStackSize;
            --depth;
            break;
        case jstDoubleQuoted:
        case jstDoubleQuotedName: SkipQuoted(); break;
        default: break;
        }
        FPeeked = jstNone;
    } while (depth > 0);
}

}  // namespace AdvJSONReader
