#pragma once
// A strict pull reader of JSON text: the caller peeks at the next token and consumes it
// with typed reads, walking the document without building it.
#include <algorithm>
#include <cstdint>
#include <string>

#include "classlib/Exceptions.h"

namespace ClassLib {
class TStream;
}

namespace AdvJSONReader {

using String = std::wstring;

// The single-byte code page of JSON text: the system ANSI one when it is single-byte,
// else 1252 (the writer converts with it too).
unsigned JSONCodePage();

// The whole of a stream, from its position to its end, as characters of one byte each.
// A memory stream is read in place (it must not change while the reader lives); any
// other stream is copied, and not touched again.
class TAdvJSONStreamReader {
public:
    class EEndOfInputReached : public ClassLib::Exception {
    public:
        EEndOfInputReached();
    };

    explicit TAdvJSONStreamReader(ClassLib::TStream* stream);
    TAdvJSONStreamReader(const TAdvJSONStreamReader&) = delete;
    TAdvJSONStreamReader& operator=(const TAdvJSONStreamReader&) = delete;

    // The next character and advance, or 0 without advancing at the end.
    wchar_t ReadChar() noexcept { return FPosition < FSize ? Widen(FData[FPosition++]) : L'\0'; }
    // As ReadChar, but the end raises EEndOfInputReached.
    wchar_t NextChar() {
        if (FPosition >= FSize) throw EEndOfInputReached();
        return Widen(FData[FPosition++]);
    }
    wchar_t PeekChar() const noexcept { return FPosition < FSize ? Widen(FData[FPosition]) : L'\0'; }
    void Backup() noexcept { if (FPosition > 0) --FPosition; }
    void MoveNext(size_t count) noexcept { FPosition = std::min(FPosition + count, FSize); }
    bool Eof() const noexcept { return FPosition >= FSize; }

    // The bytes themselves, for the reader's scanning loops.
    const char* Data() const noexcept { return FData; }
    size_t Size() const noexcept { return FSize; }
    size_t Position() const noexcept { return FPosition; }
    void SetPosition(size_t position) noexcept { FPosition = std::min(position, FSize); }
    wchar_t Widen(char byte) const noexcept { return FWide[static_cast<unsigned char>(byte)]; }

private:
    const wchar_t* FWide;   // the code page's character of each byte value
    std::string FCopy;      // the text of a stream that is not a memory stream
    const char* FData = nullptr;
    size_t FSize = 0;
    size_t FPosition = 0;   // invariant: FPosition <= FSize
};

// The scopes of a JSON text, kept on a stack by the reader and the writer alike; at most
// MaxJSONDepth are open at once, the document included.
enum TAdvJSONScope : uint8_t {
    scEmptyDocument, scEmptyArray, scEmptyObject, scNonEmptyDocument, scNonEmptyArray, scNonEmptyObject,
    scDanglingName
};
constexpr int MaxJSONDepth = 256;

// What the caller sees next.
enum TAdvJSONToken {
    jstoBeginObject, jstoEndObject, jstoBeginArray, jstoEndArray, jstoName, jstoBoolean, jstoNull, jstoText,
    jstoNumber, jstoEOF
};

class TAdvJSONReader {
public:
    // The parser's own view of the next token; error messages report these ordinals.
    enum TAdvJSONState {
        jstNone, jstBeginObject, jstEndObject, jstBeginArray, jstEndArray, jstTrue, jstFalse, jstNull,
        jstDoubleQuoted,      // a string value, positioned after its opening quote
        jstBuffered,          // a value kept in FPeekedString
        jstDoubleQuotedName,  // a member name, positioned after its opening quote
        jstInt64, jstNumber, jstEOF
    };

    class EInvalidStateException : public ClassLib::Exception {
    public:
        explicit EInvalidStateException(TAdvJSONState expected);
        TAdvJSONState Expected() const noexcept { return FExpected; }
    private:
        TAdvJSONState FExpected;
    };
    class EUnterminatedArray : public ClassLib::Exception { public: EUnterminatedArray(); };
    class EUnterminatedObject : public ClassLib::Exception { public: EUnterminatedObject(); };
    class ENameExpected : public ClassLib::Exception { public: ENameExpected(); };
    class EColonExpected : public ClassLib::Exception { public: EColonExpected(); };
    class EMultipleRootNotAllowed : public ClassLib::Exception { public: EMultipleRootNotAllowed(); };
    class EExpectedValue : public ClassLib::Exception { public: EExpectedValue(); };
    class EObjectOrArrayExpected : public ClassLib::Exception { public: EObjectOrArrayExpected(); };
    class ETooManyDepthLevels : public ClassLib::Exception { public: ETooManyDepthLevels(); };

    // Reads the whole stream from its position (the caller rewinds it first).
    explicit TAdvJSONReader(ClassLib::TStream* stream);
    TAdvJSONReader(const TAdvJSONReader&) = delete;
    TAdvJSONReader& operator=(const TAdvJSONReader&) = delete;

    TAdvJSONToken Peek();
    // False when the next token closes the current object or array.
    bool HasNext();
    bool IsNull() { return Peek() == jstoNull; }
    bool Eof() { return Peek() == jstoEOF; }

    void ReadBeginObject();
    void ReadEndObject();
    void ReadBeginArray();
    void ReadEndArray();
    String ReadName();
    // The same into the caller's string, whose storage is reused.
    void ReadName(String& name);
    // The name ahead without consuming it (call after Peek gave jstoName).
    String PeekName();
    // Strings, and numbers as their text.
    String ReadString();
    void ReadString(String& value);
    bool ReadBoolean();
    void ReadNull();
    // Numbers, or strings holding numbers. Float text is an integer only when it has no
    // fraction and fits; otherwise EInvalidStateException(jstInt64).
    int ReadInteger();
    int64_t ReadInt64();
    double ReadDouble();
    // One whole value (or, at a name, only the name).
    void SkipValue();

    // Scope depth in use, the document included (1 after creation).
    int Depth() const noexcept { return FStackSize; }

private:
    using TScope = TAdvJSONScope;

    TAdvJSONState PeekState() { return FPeeked != jstNone ? FPeeked : DoPeek(); }
    TAdvJSONState DoPeek();
    TAdvJSONState ReadValue(bool endArrayAllowed);
    TAdvJSONState ReadLiteral();
    TAdvJSONState ReadNumber();
    // The common number forms in one pass; false (nothing read) for the rest.
    bool ReadPlainNumber();
    void Push(TScope scope);
    void Expect(TAdvJSONState expected, TAdvJSONState a, TAdvJSONState b = jstNone, TAdvJSONState c = jstNone,
                TAdvJSONState d = jstNone);
    // Whitespace skipped; the next character, not consumed (0 at the end).
    char NextNonWhitespace();
    // The quoted text from the position to its closing quote (consumed), escapes resolved.
    String ReadQuoted();
    void ReadQuoted(String& result);
    void SkipQuoted();
    // The text of the pending value as ReadDouble/ReadInt64 see it.
    String PendingText(TAdvJSONState state);
    // Stores the text for a later ReadString after a failed conversion.
    void Buffer(String text);

    TAdvJSONStreamReader FReader;   // holds the text; read through the three below
    const char* FData;
    size_t FSize;
    size_t FPos;   // invariant: FPos <= FSize
    uint8_t FStack[MaxJSONDepth] = {};
    int FStackSize = 1;   // invariant: 1 <= FStackSize <= MaxJSONDepth
    TAdvJSONState FPeeked = jstNone;
    int64_t FPeekedInt64 = 0;
    const char* FPeekedNumber = nullptr;   // the number's text, where it lies in the input
    size_t FPeekedNumberLength = 0;
    double FPeekedDouble = 0;       // the number's value when FPeekedExact
    bool FPeekedExact = false;      // converted exactly while it was read
    String FPeekedString;
};

}  // namespace AdvJSONReader
