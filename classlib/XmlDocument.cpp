#include "classlib/XmlDocument.h"

#include <windows.h>
#include <msxml2.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <optional>
#include <string_view>

#include "classlib/Streams.h"
#include "classlib/Strings.h"

namespace ClassLib {

namespace {

// The DOM's identities, written out: the cross compiler's import libraries do not carry them.
const CLSID ClsidDOMDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID ClsidDOMDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID IidXMLDOMDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// What the scan in front of the DOM allows. The DOM under Wine stops deeper nesting
// itself, but without a position; the Windows DOM has no depth limit, and the
// importers above walk the tree recursively.
constexpr int MaxElementDepth = 256;
constexpr int MaxEntityNesting = 16;
constexpr long long MaxEntityExpansion = 1 << 20;

struct TComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
template <class T> using TComPtr = std::unique_ptr<T, TComRelease>;

class TBstr {
public:
    TBstr() = default;
    explicit TBstr(std::wstring_view text) : FValue(::SysAllocStringLen(text.data(), UINT(text.size()))) {
        if (!FValue && !text.empty()) throw Exception(L"Out of memory for the XML text");
    }
    ~TBstr() { ::SysFreeString(FValue); }
    TBstr(const TBstr&) = delete;
    TBstr& operator=(const TBstr&) = delete;
    BSTR* Out() { ::SysFreeString(FValue); FValue = nullptr; return &FValue; }
    BSTR Get() const { return FValue; }
    std::wstring Str() const { return FValue ? std::wstring(FValue, ::SysStringLen(FValue)) : std::wstring(); }
private:
    BSTR FValue = nullptr;
};

std::wstring TrimReason(std::wstring reason) {
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}

std::wstring MessageFor(const std::wstring& reason, int line, int column) {
    std::wstring message = L"Cannot read the XML document: " + reason;
    if (line > 0) message += L" (line " + std::to_wstring(line) + L", column " + std::to_wstring(column) + L")";
    return message;
}

// ---- The scan in front of the DOM: bounded work, no external entity ever read. It
// follows the markup only as far as depth and entities need; what it lets pass that is
// not well-formed is the DOM's to report.

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameEnd(wchar_t c) {
    return IsSpace(c) || c == L'/' || c == L'>' || c == L'=' || c == L'"' || c == L'\'' || c == L'<' ||
           c == L'[' || c == L';' || c == L'&' || c == L'%';
}

bool IsPredefinedEntity(std::wstring_view name) {
    return name == L"lt" || name == L"gt" || name == L"amp" || name == L"quot" || name == L"apos";
}

// A character reference (the part after "&#") to "<" or "&": in an entity's value it
// brings markup or a further reference into the replacement text.
bool EscapesMarkup(std::wstring_view reference) {
    const bool hex = !reference.empty() && (reference[0] == L'x' || reference[0] == L'X');
    unsigned long code = 0;
    for (std::size_t k = hex ? 1 : 0; k < reference.size() && reference[k] != L';' && code < 0x110000; ++k) {
        const wchar_t c = reference[k];
        const int digit = c >= L'0' && c <= L'9' ? c - L'0'
                          : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
        if (digit < 0) return false;
        code = code * (hex ? 16 : 10) + unsigned(digit);
    }
    return code == L'<' || code == L'&';
}

class TPreScan {
public:
    explicit TPreScan(std::wstring_view text) : FText(text) {}

    // The declared general entities, name to value as written.
    std::map<std::wstring, std::wstring, std::less<>> EntityValues() const {
        std::map<std::wstring, std::wstring, std::less<>> values;
        for (const auto& [name, entity] : FEntities) values.emplace(std::wstring(name), std::wstring(entity.Value));
        return values;
    }

    void Run() {
        const std::size_t n = FText.size();
        std::size_t i = 0;
        while ((i = FText.find_first_of(L"<&", i)) != std::wstring_view::npos) {
            if (FText[i] == L'&') {
                i = Reference(i);
                continue;
            }
            if (StartsAt(i, L"<?")) {
                i = SkipPast(i, 2, L"?>", L"a processing instruction is not closed");
            } else if (StartsAt(i, L"<!--")) {
                i = SkipPast(i, 4, L"-->", L"a comment is not closed");
            } else if (StartsAt(i, L"<![CDATA[")) {
                i = SkipPast(i, 9, L"]]>", L"a CDATA section is not closed");
            } else if (StartsAt(i, L"<!DOCTYPE")) {
                i = DocumentType(i);
            } else if (StartsAt(i, L"</")) {
                i = EndTag(i);
            } else if (i + 1 < n && !IsNameEnd(FText[i + 1]) && FText[i + 1] != L'!') {
                i = StartTag(i);
            } else {
                ++i;
            }
        }
        if (!FOpen.empty())
            Fail(FOpen.back().Start, L"element <" + std::wstring(FOpen.back().Name) + L"> is not closed");
    }

private:
    struct TEntity {
        std::wstring_view Value;
        // Filled on first use.
        bool Measured = false;
        bool Measuring = false;
        long long Size = 0;   // characters once expanded, capped just above the limit
        int Height = 0;       // levels of entities, itself included
    };
    struct TOpenElement { std::wstring_view Name; std::size_t Start; };

    [[noreturn]] void Fail(std::size_t offset, const std::wstring& reason) const {
        int line = 1, column = 1;
        const std::size_t end = std::min(offset, FText.size());
        for (std::size_t k = 0; k < end; ++k) {
            if (FText[k] == L'\n') { ++line; column = 1; } else { ++column; }
        }
        throw EXmlParseError(reason, line, column);
    }

    bool StartsAt(std::size_t i, std::wstring_view what) const { return FText.substr(i, what.size()) == what; }

    std::size_t SkipPast(std::size_t i, std::size_t skip, std::wstring_view terminator, const wchar_t* reason) const {
        const std::size_t end = FText.find(terminator, i + skip);
        if (end == std::wstring_view::npos) Fail(i, reason);
        return end + terminator.size();
    }

    std::size_t NameEnd(std::size_t i) const {
        while (i < FText.size() && !IsNameEnd(FText[i])) ++i;
        return i;
    }

    std::size_t SkipSpaces(std::size_t i) const {
        while (i < FText.size() && IsSpace(FText[i])) ++i;
        return i;
    }

    std::size_t StartTag(std::size_t start) {
        const std::size_t nameEnd = NameEnd(start + 1);
        const std::wstring_view name = FText.substr(start + 1, nameEnd - start - 1);
        for (std::size_t j = nameEnd; j < FText.size();) {
            const wchar_t c = FText[j];
            if (c == L'>') {
                if (int(FOpen.size()) >= MaxElementDepth)
                    Fail(start, L"elements are nested deeper than " + std::to_wstring(MaxElementDepth) + L" levels");
                FOpen.push_back({name, start});
                return j + 1;
            }
            if (c == L'/' && j + 1 < FText.size() && FText[j + 1] == L'>') return j + 2;
            if (c == L'"' || c == L'\'') {
                const std::size_t close = FText.find(c, j + 1);
                if (close == std::wstring_view::npos) Fail(j, L"an attribute value is not closed");
                // Searched within the value only: a search to the text's end for every
                // attribute would make the scan quadratic.
                const std::wstring_view value = FText.substr(0, close);
                for (std::size_t k = value.find(L'&', j + 1); k != std::wstring_view::npos; k = value.find(L'&', k))
                    k = Reference(k);
                j = close + 1;
                continue;
            }
            if (c == L'<') break;
            ++j;
        }
        Fail(start, L"the start tag <" + std::wstring(name) + L"> is not closed");
    }

    std::size_t EndTag(std::size_t start) {
        const std::size_t nameEnd = NameEnd(start + 2);
        const std::wstring_view name = FText.substr(start + 2, nameEnd - start - 2);
        const std::size_t close = SkipSpaces(nameEnd);
        if (close >= FText.size() || FText[close] != L'>')
            Fail(start, L"the end tag </" + std::wstring(name) + L"> is not closed");
        if (FOpen.empty()) Fail(start, L"the end tag </" + std::wstring(name) + L"> has no start tag");
        if (FOpen.back().Name != name)
            Fail(start, L"the end tag </" + std::wstring(name) + L"> does not match <" +
                            std::wstring(FOpen.back().Name) + L">");
        FOpen.pop_back();
        return close + 1;
    }

    // A reference in content or in an attribute value; returns where scanning goes on.
    std::size_t Reference(std::size_t at) {
        if (at + 1 < FText.size() && FText[at + 1] == L'#') return at + 2;
        const std::size_t nameEnd = NameEnd(at + 1);
        if (nameEnd >= FText.size() || FText[nameEnd] != L';') return at + 1;   // the DOM's to report
        const std::wstring_view name = FText.substr(at + 1, nameEnd - at - 1);
        if (!IsPredefinedEntity(name)) {
            const auto found = FEntities.find(name);
            if (found != FEntities.end()) {
                Measure(found->second, name, at, 1);
                if (found->second.Height > MaxEntityNesting)
                    Fail(at, L"entity references are nested deeper than " + std::to_wstring(MaxEntityNesting) + L" levels");
                FExpansion += found->second.Size;
                if (FExpansion > MaxEntityExpansion)
                    Fail(at, L"entity references expand to more than " + std::to_wstring(MaxEntityExpansion) +
                                 L" characters");
            }
        }
        return nameEnd + 1;
    }

    // The size and nesting of an entity, each entity measured once; `at` is the document
    // reference that led here, for the message.
    void Measure(TEntity& entity, std::wstring_view name, std::size_t at, int level) {
        if (entity.Measured) return;
        if (level > MaxEntityNesting)
            Fail(at, L"entity references are nested deeper than " + std::to_wstring(MaxEntityNesting) + L" levels");
        if (entity.Measuring) Fail(at, L"entity \"" + std::wstring(name) + L"\" refers to itself");
        if (entity.Value.find(L'<') != std::wstring_view::npos)
            Fail(at, L"entity \"" + std::wstring(name) + L"\" holds markup, which is not supported");
        entity.Measuring = true;
        long long size = 0;
        int height = 0;
        const std::wstring_view value = entity.Value;
        for (std::size_t k = 0; k < value.size();) {
            if (value[k] == L'&' && k + 1 < value.size() && value[k + 1] == L'#' && EscapesMarkup(value.substr(k + 2)))
                Fail(at, L"entity \"" + std::wstring(name) + L"\" holds markup, which is not supported");
            if (value[k] != L'&' || k + 1 >= value.size() || value[k + 1] == L'#') { ++size; ++k; continue; }
            std::size_t end = k + 1;
            while (end < value.size() && !IsNameEnd(value[end])) ++end;
            const std::wstring_view inner = value.substr(k + 1, end - k - 1);
            const auto found = FEntities.find(inner);
            if (end < value.size() && value[end] == L';' && found != FEntities.end()) {
                Measure(found->second, inner, at, level + 1);
                size += found->second.Size;
                height = std::max(height, found->second.Height);
                k = end + 1;
            } else {
                ++size;
                ++k;
            }
            size = std::min(size, MaxEntityExpansion + 1);
        }
        entity.Measuring = false;
        entity.Measured = true;
        entity.Size = size;
        entity.Height = height + 1;
    }

    std::size_t QuotedEnd(std::size_t quote) const {
        const std::size_t close = FText.find(FText[quote], quote + 1);
        if (close == std::wstring_view::npos) Fail(quote, L"a quoted value in the document type declaration is not closed");
        return close;
    }

    // "<!DOCTYPE name [external id] [internal subset]>".
    std::size_t DocumentType(std::size_t start) {
        std::size_t j = start + 9;
        while (j < FText.size()) {
            const wchar_t c = FText[j];
            if (c == L'>') return j + 1;
            if (c == L'"' || c == L'\'') { j = QuotedEnd(j) + 1; continue; }
            if (c == L'[') { j = InternalSubset(j + 1); continue; }
            ++j;
        }
        Fail(start, L"the document type declaration is not closed");
    }

    // Returns the position after the closing "]".
    std::size_t InternalSubset(std::size_t j) {
        while (true) {
            j = SkipSpaces(j);
            if (j >= FText.size()) Fail(j, L"the document type declaration is not closed");
            if (FText[j] == L']') return j + 1;
            if (StartsAt(j, L"<!--")) {
                j = SkipPast(j, 4, L"-->", L"a comment is not closed");
            } else if (StartsAt(j, L"<?")) {
                j = SkipPast(j, 2, L"?>", L"a processing instruction is not closed");
            } else if (StartsAt(j, L"<!ENTITY")) {
                j = EntityDeclaration(j);
            } else if (StartsAt(j, L"<!")) {
                j = MarkupDeclaration(j);
            } else if (FText[j] == L'%') {
                // It could bring in declarations this scan never sees.
                Fail(j, L"parameter entity references are not supported");
            } else {
                ++j;
            }
        }
    }

    // An element, attribute list or notation declaration. An attribute default that
    // names an entity would repeat it on every element.
    std::size_t MarkupDeclaration(std::size_t start) {
        for (std::size_t j = start + 2; j < FText.size(); ++j) {
            const wchar_t c = FText[j];
            if (c == L'>') return j + 1;
            if (c == L'%') Fail(j, L"parameter entity references are not supported");
            if (c == L'"' || c == L'\'') {
                const std::size_t close = QuotedEnd(j);
                const std::wstring_view value = FText.substr(0, close);
                for (std::size_t k = value.find(L'&', j + 1); k != std::wstring_view::npos; k = value.find(L'&', k + 1)) {
                    const std::size_t end = NameEnd(k + 1);
                    if (k + 1 < close && FText[k + 1] != L'#' && end < close && FText[end] == L';' &&
                        !IsPredefinedEntity(FText.substr(k + 1, end - k - 1)))
                        Fail(k, L"entity references in attribute defaults are not supported");
                }
                j = close;
            }
        }
        Fail(start, L"a declaration in the document type declaration is not closed");
    }

    std::size_t EntityDeclaration(std::size_t start) {
        std::size_t j = SkipSpaces(start + 8);
        bool parameter = false;
        if (j < FText.size() && FText[j] == L'%') {
            parameter = true;
            j = SkipSpaces(j + 1);
        }
        const std::size_t nameEnd = NameEnd(j);
        const std::wstring_view name = FText.substr(j, nameEnd - j);
        j = SkipSpaces(nameEnd);
        if (StartsAt(j, L"SYSTEM") || StartsAt(j, L"PUBLIC"))
            Fail(start, L"the external entity \"" + std::wstring(name) + L"\" is not allowed");
        if (j < FText.size() && (FText[j] == L'"' || FText[j] == L'\'')) {
            const std::size_t close = QuotedEnd(j);
            // The first declaration of a name is the one that counts.
            if (!parameter && !name.empty() && !FEntities.count(name))
                FEntities.emplace(name, TEntity{FText.substr(j + 1, close - j - 1)});
            j = close + 1;
        }
        const std::size_t end = FText.find(L'>', j);
        if (end == std::wstring_view::npos) Fail(start, L"an entity declaration is not closed");
        return end + 1;
    }

    std::wstring_view FText;
    std::vector<TOpenElement> FOpen;
    std::map<std::wstring_view, TEntity, std::less<>> FEntities;
    long long FExpansion = 0;
};

}  // namespace

EXmlParseError::EXmlParseError(std::wstring reason, int line, int column)
    : Exception(MessageFor(reason, line, column)), FReason(std::move(reason)), FLine(line), FColumn(column) {}

// ---- Nodes

struct TXmlDocument::TDocument {
    TComPtr<IXMLDOMDocument2> Dom;
    std::map<std::wstring, std::wstring, std::less<>> Entities;   // declared values, as written
};

struct TXmlNode::TData {
    std::shared_ptr<TXmlDocument::TDocument> Document;   // keeps the DOM alive
    TComPtr<IXMLDOMNode> Node;
    // Wine: an entity reference shows no child nodes; it then stands as one text node.
    bool EntityText = false;
    std::optional<std::vector<TXmlNode>> Children;        // made on first use
    std::optional<std::vector<TXmlAttribute>> Attributes;
};

namespace {

TXmlNode Wrap(const std::shared_ptr<TXmlDocument::TDocument>& document, IXMLDOMNode* node, bool entityText = false) {
    auto data = std::make_shared<TXmlNode::TData>();
    data->Document = document;
    data->Node.reset(node);
    data->EntityText = entityText;
    return TXmlNode(std::move(data));
}


// Entity references give way to their content, to a bounded depth. The children are
// walked from sibling to sibling. Wine: the DOM's child list finds an item by index by
// walking from the first child, so reading a list by index took quadratic time (ten
// seconds for the 54,000 children of a 2 MB document).
void AppendChildren(const std::shared_ptr<TXmlDocument::TDocument>& document, IXMLDOMNode* node,
                    std::vector<TXmlNode>& out, int level) {
    IXMLDOMNode* rawChild = nullptr;
    if (node->get_firstChild(&rawChild) != S_OK) return;
    while (rawChild) {
        TComPtr<IXMLDOMNode> child(rawChild);
        rawChild = nullptr;
        if (child->get_nextSibling(&rawChild) != S_OK) rawChild = nullptr;
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        const std::size_t before = out.size();
        if (type == NODE_ENTITY_REFERENCE && level < MaxEntityNesting)
            AppendChildren(document, child.get(), out, level + 1);
        if (type == NODE_ENTITY_REFERENCE && out.size() == before) {
            out.push_back(Wrap(document, child.release(), true));
        } else if (type != NODE_ENTITY_REFERENCE) {
            out.push_back(Wrap(document, child.release()));
        }
    }
}

std::wstring TextOf(IXMLDOMNode* node) {
    TBstr text;
    node->get_text(text.Out());
    return text.Str();
}

// An entity's replacement text from its declaration. The scan has bounded the nesting and
// size of every entity the document refers to; the caps here only keep that promise.
void AppendEntityText(const TXmlDocument::TDocument& document, std::wstring_view name, int level, std::wstring& out) {
    const auto found = document.Entities.find(name);
    if (found == document.Entities.end() || level > MaxEntityNesting) return;
    const std::wstring& value = found->second;
    for (std::size_t k = 0; k < value.size() && out.size() <= std::size_t(MaxEntityExpansion);) {
        const std::size_t end = value.find(L';', k);
        if (value[k] != L'&' || end == std::wstring::npos) {
            out += value[k++];
            continue;
        }
        const std::wstring_view reference(value.data() + k + 1, end - k - 1);
        if (!reference.empty() && reference[0] == L'#') {
            const bool hex = reference.size() > 1 && (reference[1] == L'x' || reference[1] == L'X');
            const unsigned long code = std::wcstoul(std::wstring(reference.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
            if (code >= 0x10000 && code <= 0x10FFFF) {
                out += wchar_t(0xD800 + ((code - 0x10000) >> 10));
                out += wchar_t(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                out += wchar_t(code);
            }
        } else if (reference == L"lt") { out += L'<';
        } else if (reference == L"gt") { out += L'>';
        } else if (reference == L"amp") { out += L'&';
        } else if (reference == L"quot") { out += L'"';
        } else if (reference == L"apos") { out += L'\'';
        } else {
            AppendEntityText(document, reference, level + 1, out);
        }
        k = end + 1;
    }
}

// Wine: the map counts a default namespace declaration (xmlns="...") but cannot give it;
// such items are left out.
std::vector<TXmlAttribute> AttributesOf(IXMLDOMNode* node) {
    std::vector<TXmlAttribute> attributes;
    IXMLDOMNamedNodeMap* rawMap = nullptr;
    if (node->get_attributes(&rawMap) != S_OK || !rawMap) return attributes;
    const TComPtr<IXMLDOMNamedNodeMap> map(rawMap);
    long count = 0;
    map->get_length(&count);
    for (long i = 0; i < count; ++i) {
        IXMLDOMNode* raw = nullptr;
        if (map->get_item(i, &raw) != S_OK || !raw) continue;
        const TComPtr<IXMLDOMNode> attribute(raw);
        TBstr name;
        attribute->get_nodeName(name.Out());
        attributes.push_back({name.Str(), TextOf(attribute.get())});
    }
    return attributes;
}

}  // namespace

std::wstring TXmlNode::Name() const {
    if (!FData) return {};
    if (FData->EntityText) return L"#text";
    TBstr name;
    FData->Node->get_nodeName(name.Out());
    return name.Str();
}

TXmlNodeKind TXmlNode::Kind() const {
    if (!FData) return TXmlNodeKind::Other;
    if (FData->EntityText) return TXmlNodeKind::Text;
    DOMNodeType type = NODE_INVALID;
    FData->Node->get_nodeType(&type);
    if (type == NODE_ELEMENT) return TXmlNodeKind::Element;
    if (type == NODE_TEXT || type == NODE_CDATA_SECTION) return TXmlNodeKind::Text;
    return TXmlNodeKind::Other;
}

std::wstring TXmlNode::Value() const {
    if (!FData) return {};
    if (FData->EntityText) return EntityTextOf();
    VARIANT value;
    ::VariantInit(&value);
    std::wstring result;
    if (FData->Node->get_nodeValue(&value) == S_OK && value.vt == VT_BSTR && value.bstrVal)
        result.assign(value.bstrVal, ::SysStringLen(value.bstrVal));
    ::VariantClear(&value);
    return result;
}

std::wstring TXmlNode::Text() const {
    if (!FData) return {};
    return FData->EntityText ? EntityTextOf() : TextOf(FData->Node.get());
}

std::wstring TXmlNode::EntityTextOf() const {
    TBstr name;
    FData->Node->get_nodeName(name.Out());
    std::wstring text;
    AppendEntityText(*FData->Document, name.Str(), 1, text);
    return text;
}

const std::vector<TXmlNode>& TXmlNode::Children() const {
    static const std::vector<TXmlNode> none;
    if (!FData) return none;
    if (!FData->Children) {
        // A reference standing as text shows no children of its own.
        std::vector<TXmlNode> children;
        if (!FData->EntityText) AppendChildren(FData->Document, FData->Node.get(), children, 0);
        FData->Children = std::move(children);
    }
    return *FData->Children;
}

int TXmlNode::ChildCount() const { return int(Children().size()); }

TXmlNode TXmlNode::Child(int index) const {
    const std::vector<TXmlNode>& children = Children();
    if (index < 0 || index >= int(children.size())) RaiseListIndexError(index);
    return children[std::size_t(index)];
}

const std::vector<TXmlAttribute>& TXmlNode::Attributes() const {
    static const std::vector<TXmlAttribute> none;
    if (!FData) return none;
    if (!FData->Attributes) FData->Attributes = AttributesOf(FData->Node.get());
    return *FData->Attributes;
}

int TXmlNode::AttributeCount() const { return int(Attributes().size()); }

const TXmlAttribute& TXmlNode::Attribute(int index) const {
    const std::vector<TXmlAttribute>& attributes = Attributes();
    if (index < 0 || index >= int(attributes.size())) RaiseListIndexError(index);
    return attributes[std::size_t(index)];
}

bool TXmlNode::HasAttribute(const std::wstring& name) const {
    const std::vector<TXmlAttribute>& attributes = Attributes();
    return std::any_of(attributes.begin(), attributes.end(), [&](const TXmlAttribute& a) { return a.Name == name; });
}

std::wstring TXmlNode::Attribute(const std::wstring& name) const {
    for (const TXmlAttribute& attribute : Attributes())
        if (attribute.Name == name) return attribute.Value;
    return {};
}

// ---- The document

TXmlDocument::TXmlDocument() = default;
TXmlDocument::~TXmlDocument() = default;

void TXmlDocument::Clear() { FDocument.reset(); }

void TXmlDocument::LoadFromText(const std::wstring& text) {
    TPreScan scan(text);
    scan.Run();

    IXMLDOMDocument2* raw = nullptr;
    HRESULT result = ::CoCreateInstance(ClsidDOMDocument60, nullptr, CLSCTX_INPROC_SERVER, IidXMLDOMDocument2,
                                        reinterpret_cast<void**>(&raw));
    if (FAILED(result))
        result = ::CoCreateInstance(ClsidDOMDocument30, nullptr, CLSCTX_INPROC_SERVER, IidXMLDOMDocument2,
                                    reinterpret_cast<void**>(&raw));
    if (FAILED(result) || !raw) RaiseOSError(DWORD(result), L"Cannot create the XML document object");
    auto document = std::make_shared<TDocument>();
    document->Dom.reset(raw);
    document->Entities = scan.EntityValues();
    IXMLDOMDocument2* dom = document->Dom.get();

    // Documents with a document type declaration load; nothing outside the text is ever
    // fetched (the scan above has already refused external entities).
    VARIANT no;
    ::VariantInit(&no);
    no.vt = VT_BOOL;
    no.boolVal = VARIANT_FALSE;
    const TBstr prohibitDTD(L"ProhibitDTD");
    dom->setProperty(prohibitDTD.Get(), no);   // older DOMs lack it and allow a DTD anyway
    dom->put_async(VARIANT_FALSE);
    dom->put_resolveExternals(VARIANT_FALSE);
    dom->put_validateOnParse(VARIANT_FALSE);

    const TBstr source(text);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    result = dom->loadXML(source.Get(), &loaded);
    if (result != S_OK || loaded != VARIANT_TRUE) {
        std::wstring reason;
        long line = 0, column = 0;
        IXMLDOMParseError* rawError = nullptr;
        if (dom->get_parseError(&rawError) == S_OK && rawError) {
            const TComPtr<IXMLDOMParseError> error(rawError);
            TBstr why;
            error->get_reason(why.Out());
            reason = TrimReason(why.Str());
            error->get_line(&line);
            error->get_linepos(&column);
        }
        // Wine: the DOM's reason is a bare "error" and it gives no position.
        if (reason.empty() || reason == L"error") reason = L"the text is not well-formed XML";
        throw EXmlParseError(reason, int(line), int(column));
    }
    FDocument = std::move(document);
}

TXmlNode TXmlDocument::DocumentElement() const {
    if (!FDocument) return {};
    IXMLDOMElement* root = nullptr;
    if (FDocument->Dom->get_documentElement(&root) != S_OK || !root) return {};
    return Wrap(FDocument, root);
}

std::wstring TXmlDocument::Xml() const {
    if (!FDocument) return {};
    TBstr xml;
    FDocument->Dom->get_xml(xml.Out());
    return xml.Str();
}

void TXmlDocument::SaveToStream(TStream* stream) const {
    const std::string bytes = UTF8Encode(Xml());
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

}  // namespace ClassLib
