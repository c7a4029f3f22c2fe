#pragma once
// A JSON writer that checks the structure as it goes: names only inside objects, one
// value per name, one root object or array, balanced nesting. Compact unless indented.
#include <cstdint>
#include <string>

#include "classlib/Exceptions.h"
#include "graphics/AdvJSONReader.h"

namespace ClassLib {
class TStream;
}

namespace AdvJSONWriter {

using String = std::wstring;

// Collects the text; the caller's stream gets it all when this is destroyed, at that
// stream's position.
class TAdvJSONStreamWriter {
public:
    explicit TAdvJSONStreamWriter(ClassLib::TStream* stream) : FStream(stream) {}
    ~TAdvJSONStreamWriter();
    TAdvJSONStreamWriter(const TAdvJSONStreamWriter&) = delete;
    TAdvJSONStreamWriter& operator=(const TAdvJSONStreamWriter&) = delete;

    // The text in the JSON code page (AdvJSONReader::JSONCodePage).
    void Write(const String& value);
    void Write(const char* ascii) { FText += ascii; }
    void Write(char ascii) { FText += ascii; }
    const std::string& Text() const noexcept { return FText; }
    // The buffer itself, for the writer's escaping and number loops.
    std::string& Buffer() noexcept { return FText; }

private:
    ClassLib::TStream* FStream;   // not owned
    std::string FText;
};

class TAdvJSONWriter {
public:
    class ECannotWriteName : public ClassLib::Exception { public: ECannotWriteName(); };
    class EMultipleRootNotAllowed : public ClassLib::Exception { public: EMultipleRootNotAllowed(); };
    class EObjectOrArrayExpected : public ClassLib::Exception { public: EObjectOrArrayExpected(); };
    class EInvalidNesting : public ClassLib::Exception { public: EInvalidNesting(); };
    class EMissingValue : public ClassLib::Exception { public: EMissingValue(); };
    class ETooManyDepthLevels : public ClassLib::Exception { public: ETooManyDepthLevels(); };
    class EEmptyJson : public ClassLib::Exception { public: EEmptyJson(); };
    class EEmptyName : public ClassLib::Exception { public: EEmptyName(); };
    // NaN and the infinities have no JSON text: written, they would save a file that never loads.
    class EInvalidNumber : public ClassLib::Exception { public: explicit EInvalidNumber(double value); };

    explicit TAdvJSONWriter(ClassLib::TStream* stream) : FWriter(stream) { FStack[0] = AdvJSONReader::scEmptyDocument; }
    TAdvJSONWriter(const TAdvJSONWriter&) = delete;
    TAdvJSONWriter& operator=(const TAdvJSONWriter&) = delete;

    // 0 or less: compact; n: each level indented by n blanks, ": " between name and value.
    int IndentLength() const noexcept { return int(FIndent.size()); }
    void SetIndentLength(int value);

    TAdvJSONWriter& WriteBeginObject();
    TAdvJSONWriter& WriteEndObject();
    TAdvJSONWriter& WriteBeginArray();
    TAdvJSONWriter& WriteEndArray();
    TAdvJSONWriter& WriteName(const String& name);
    TAdvJSONWriter& WriteString(const String& value);
    // Between quotes as it stands, without escaping.
    TAdvJSONWriter& WriteRawString(const String& value);
    TAdvJSONWriter& WriteBoolean(bool value);
    TAdvJSONWriter& WriteNull();
    TAdvJSONWriter& WriteInteger(int64_t value);
    // The shortest text that reads back to the same value.
    TAdvJSONWriter& WriteDouble(double value);
    // Raises EInvalidNesting unless exactly one complete root value was written.
    void Close();
    bool Closed() const noexcept { return FClosed; }

private:
    using TScope = AdvJSONReader::TAdvJSONScope;

    uint8_t& Top();
    void LineBreak();
    void WritePendingName();
    void BeforeValue(bool structured);
    void BeginScope(TScope scope, char opening);
    void EndScope(TScope empty, TScope nonEmpty, char closing);
    void WriteQuoted(const String& value);

    TAdvJSONStreamWriter FWriter;
    uint8_t FStack[AdvJSONReader::MaxJSONDepth] = {};
    int FStackSize = 1;   // invariant: 0 <= FStackSize <= AdvJSONReader::MaxJSONDepth
    String FIndent;
    const char* FSeparator = ":";
    String FDeferredName;
    bool FClosed = false;
};

}  // namespace AdvJSONWriter
