#pragma once
// XML documents over the platform's DOM: parse a text (a document type declaration is
// allowed), walk its elements, text and attributes, and write the document back.
#include <memory>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"

namespace ClassLib {

class TStream;

// A document that cannot be read: the DOM's reason, or why it was refused before the DOM
// saw it. Line and column count from 1; 0 when the DOM gives no position.
class EXmlParseError : public Exception {
public:
    EXmlParseError(std::wstring reason, int line, int column);
    const std::wstring& Reason() const noexcept { return FReason; }
    int Line() const noexcept { return FLine; }
    int Column() const noexcept { return FColumn; }
private:
    std::wstring FReason;
    int FLine;
    int FColumn;
};

// Character data (text and CDATA sections) is Text; comments, processing instructions
// and the like are Other.
enum class TXmlNodeKind { Element, Text, Other };

struct TXmlAttribute {
    std::wstring Name;   // as written, prefix included ("xlink:href")
    std::wstring Value;  // entity references replaced
};

// One node of a document; a cheap handle that keeps its document alive. A default-made
// node is null and answers every question with nothing.
class TXmlNode {
public:
    TXmlNode() = default;
    bool IsNull() const noexcept { return !FData; }
    explicit operator bool() const noexcept { return !IsNull(); }

    // The element's name, or the DOM's "#text", "#cdata-section", "#comment".
    std::wstring Name() const;
    TXmlNodeKind Kind() const;
    // The node's own value: the characters of a text node, empty for an element.
    std::wstring Value() const;
    // All character data of the node and its descendants.
    std::wstring Text() const;

    // Entity references are transparent: their content stands in their place.
    int ChildCount() const;
    TXmlNode Child(int index) const;   // EListError outside 0..ChildCount()-1

    int AttributeCount() const;
    // EListError outside 0..AttributeCount()-1; valid while a handle to the node lives.
    const TXmlAttribute& Attribute(int index) const;
    bool HasAttribute(const std::wstring& name) const;
    // Empty when the node has no such attribute.
    std::wstring Attribute(const std::wstring& name) const;

    struct TData;
    explicit TXmlNode(std::shared_ptr<TData> data) : FData(std::move(data)) {}
private:
    const std::vector<TXmlNode>& Children() const;
    const std::vector<TXmlAttribute>& Attributes() const;
    std::wstring EntityTextOf() const;
    std::shared_ptr<TData> FData;
};

class TXmlDocument {
public:
    TXmlDocument();
    ~TXmlDocument();
    TXmlDocument(const TXmlDocument&) = delete;
    TXmlDocument& operator=(const TXmlDocument&) = delete;

    // Replaces the document. Raises EXmlParseError for text that is not well-formed and
    // for documents refused before parsing: elements nested deeper than 256 levels,
    // external entities, entities nested deeper than 16 levels or expanding to more than
    // a million characters, entities that hold markup. On error the document held
    // before stays as it was.
    void LoadFromText(const std::wstring& text);
    bool Active() const noexcept { return static_cast<bool>(FDocument); }
    void Clear();

    // Null while no document is held.
    TXmlNode DocumentElement() const;
    // The document as the DOM writes it (empty while none is held).
    std::wstring Xml() const;
    // Xml() as UTF-8.
    void SaveToStream(TStream* stream) const;

    struct TDocument;
private:
    std::shared_ptr<TDocument> FDocument;
};

}  // namespace ClassLib
