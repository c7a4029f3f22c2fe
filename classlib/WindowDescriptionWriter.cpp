#include "classlib/WindowDescriptionWriter.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <map>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/Control.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"

namespace ClassLib {

namespace {

struct TBinaryWriterEntry {
    const TClass* Class;
    std::wstring Name;
    TBinaryPropertyWriter Writer;
};

// Filled by the classes that store bytes, beside their readers.
std::vector<TBinaryWriterEntry>& BinaryWriters() {
    static std::vector<TBinaryWriterEntry> writers;
    return writers;
}

// Exactly the escapes the reader's string token takes. A surrogate is escaped too: a
// lone one would not survive the text's trip through UTF-8.
std::wstring QuoteString(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (const wchar_t ch : text) {
        switch (ch) {
            case L'"': quoted += L"\\\""; break;
            case L'\\': quoted += L"\\\\"; break;
            case L'\n': quoted += L"\\n"; break;
            case L'\r': quoted += L"\\r"; break;
            case L'\t': quoted += L"\\t"; break;
            default:
                if (ch < 0x20 || ch == 0x7F || (ch >= 0xD800 && ch <= 0xDFFF)) {
                    wchar_t escape[8];
                    std::swprintf(escape, 8, L"\\u%04X", unsigned(ch));
                    quoted += escape;
                } else {
                    quoted += ch;
                }
        }
    }
    return quoted + L"\"";
}

// The reader's number token has no exponent sign, so no exponent at all: the shortest
// fixed-point text that reads back to the same double.
std::wstring FloatText(double value) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::wstring(buffer, result.ptr);
}

std::wstring ColourText(int64_t value) {
    std::wstring ident;
    if (ColorToIdent(TColor(value), ident)) return ident;
    wchar_t number[16];
    std::swprintf(number, 16, L"0x%08X", unsigned(std::uint32_t(value)));
    return number;
}

std::wstring HexLine(const std::uint8_t* bytes, size_t count) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring line;
    for (size_t i = 0; i < count; ++i) {
        line += digits[bytes[i] >> 4];
        line += digits[bytes[i] & 15];
    }
    return line;
}

class TWriter {
public:
    explicit TWriter(TComponent* root) : FRoot(root) {
        for (int i = 0; i < root->ComponentCount(); ++i) {
            TComponent* component = root->Components(i);
            FChildren[DescribedParent(component)].push_back(component);
        }
    }

    std::wstring Write() {
        WriteObject(FRoot, 0);
        return std::move(FText);
    }

private:
    // Sub-objects that hold sub-objects: far deeper than any real class, and a bound for
    // one that (wrongly) publishes itself.
    static constexpr int MaxPathDepth = 16;

    void Line(int indent, const std::wstring& text) {
        FText.append(size_t(indent) * 2, L' ');
        FText += text;
        FText += L"\r\n";
    }

    bool OwnedHere(const TComponent* component) const {
        return component == FRoot || (component && component->Owner() == FRoot);
    }

    // Where the reader has to insert the component for it to be placed as it is now; the
    // root for a component that has no place, or one outside what is written.
    TComponent* DescribedParent(TComponent* component) const {
        TComponent* parent = nullptr;
        if (auto* control = dynamic_cast<TControl*>(component)) {
            parent = control->Parent();
        } else if (auto* item = dynamic_cast<TMenuItem*>(component)) {
            parent = item->Parent();
            // A menu's first level hangs on the menu's own unnamed item.
            if (parent && !OwnedHere(parent))
                for (int i = 0; i < FRoot->ComponentCount(); ++i)
                    if (auto* menu = dynamic_cast<TMenu*>(FRoot->Components(i)); menu && menu->Items() == parent)
                        parent = menu;
        }
        return OwnedHere(parent) && parent != component ? parent : FRoot;
    }

    void WriteObject(TComponent* component, int indent) {
        Line(indent, L"object " + component->Name() + L": " + component->ClassName());
        WriteProperties(component, L"", indent + 1, 0);
        if (const auto children = FChildren.find(component); children != FChildren.end())
            for (TComponent* child : children->second)
                if (child != component) WriteObject(child, indent + 1);
        Line(indent, L"end");
    }

    // A value taken from the parent (Color while ParentColor, Font while ParentFont) is
    // not the component's own: written, it would cut the tie when read.
    static bool FollowsParent(const TObject* object, const TPropInfo& info) {
        const TPropInfo* parentFlag = object->ClassType().Published().Find(L"Parent" + info.Name);
        return parentFlag && parentFlag->Kind == TPropKind::Boolean && parentFlag->GetOrd(object) != 0;
    }

    static bool SameValue(const TObject* a, const TObject* b, const TPropInfo& info) {
        if (info.IsOrdinal()) return info.GetOrd(a) == info.GetOrd(b);
        if (info.Kind == TPropKind::Float) return info.GetFloat(a) == info.GetFloat(b);
        return info.GetString(a) == info.GetString(b);
    }

    // `start`: the sub-object as its owner starts it, when that is not as its class declares.
    static bool ShouldWrite(const TObject* object, const TPropInfo& info, const TObject* start) {
        if (FollowsParent(object, info)) return false;
        const bool simple = info.IsOrdinal() || info.Kind == TPropKind::Float || info.Kind == TPropKind::String;
        // Equal to the declared default is not enough here: the reader's starting value is the
        // owner's, so only a value equal to that may be left out.
        if (start && simple && !info.StoredRule) return info.IsWritable() && !SameValue(object, start, info);
        if (!info.IsStored(object)) return false;
        if (info.Kind == TPropKind::Class) return info.GetObjectValue(object) != nullptr;
        return info.IsWritable() && !info.IsDefault(object);
    }

    void WriteProperties(TObject* object, const std::wstring& prefix, int indent, int depth, const TObject* start = nullptr) {
        if (start && &start->ClassType() != &object->ClassType()) start = nullptr;
        for (const TPropInfo& info : object->ClassType().Published()) {
            if (!ShouldWrite(object, info, start)) continue;
            const std::wstring path = prefix + info.Name;
            if (info.Kind == TPropKind::Class) {
                WriteClassValue(object, info, path, indent, depth);
                continue;
            }
            const std::wstring value = ValueText(object, info);
            if (!value.empty()) Line(indent, path + L" = " + value);
        }
        WriteBinaryData(object, prefix, indent);
    }

    // Empty when the value cannot be written so that it reads back.
    std::wstring ValueText(const TObject* object, const TPropInfo& info) const {
        switch (info.Kind) {
            case TPropKind::Integer: return std::to_wstring(info.GetOrd(object));
            case TPropKind::Boolean: return info.GetOrd(object) ? L"true" : L"false";
            case TPropKind::Enumeration: {
                const int64_t ordinal = info.GetOrd(object);
                if (ordinal >= 0 && ordinal < int64_t(info.ValueNames.size())) return info.ValueNames[size_t(ordinal)];
                return {};
            }
            case TPropKind::Set: {
                const int64_t mask = info.GetOrd(object);
                std::wstring text = L"[";
                for (size_t i = 0; i < info.ValueNames.size() && i < 64; ++i) {
                    if (!(mask & (int64_t(1) << i))) continue;
                    if (text.size() > 1) text += L", ";
                    text += info.ValueNames[i];
                }
                return text + L"]";
            }
            case TPropKind::Colour: return ColourText(info.GetOrd(object));
            case TPropKind::Float: {
                const double value = info.GetFloat(object);
                return std::isfinite(value) ? FloatText(value) : std::wstring();
            }
            case TPropKind::String: return QuoteString(info.GetString(object));
            case TPropKind::Event: return MethodName(FRoot->ClassType(), info.GetEvent(object));
            case TPropKind::Class: break;
        }
        return {};
    }

    void WriteClassValue(TObject* object, const TPropInfo& info, const std::wstring& path, int indent, int depth) {
        TObject* value = info.GetObjectValue(object);
        switch (info.ClassKind) {
            case TClassPropKind::ComponentRef: {
                const auto* component = dynamic_cast<const TComponent*>(value);
                if (component && OwnedHere(component) && !component->Name().empty())
                    Line(indent, path + L" = " + component->Name());
                return;
            }
            case TClassPropKind::StringList: {
                const auto* strings = dynamic_cast<const TStrings*>(value);
                // As an empty list is never written, the constructor's lines stay; no
                // class of ours starts with any.
                if (!strings || strings->Count() == 0) return;
                Line(indent, path + L" = [");
                for (int i = 0; i < strings->Count(); ++i)
                    Line(indent + 1, QuoteString(strings->Strings(i)) + (i + 1 < strings->Count() ? L"," : L"]"));
                return;
            }
            case TClassPropKind::Collection: {
                auto* collection = dynamic_cast<TCollection*>(value);
                if (!collection) return;
                // Even empty: reading clears the collection, so items a constructor adds go.
                if (collection->Count() == 0) {
                    Line(indent, path + L" = <>");
                    return;
                }
                Line(indent, path + L" = <");
                for (int i = 0; i < collection->Count(); ++i) {
                    Line(indent + 1, L"item");
                    WriteProperties(collection->Items(i), L"", indent + 2, depth + 1);
                    Line(indent + 1, L"end");
                }
                Line(indent, L">");
                return;
            }
            case TClassPropKind::SubObject:
                if (depth < MaxPathDepth)
                    WriteProperties(value, path + L".", indent, depth + 1, info.SubObjectStart ? info.SubObjectStart() : nullptr);
                return;
            case TClassPropKind::None: return;
        }
    }

    void WriteBinaryData(TObject* object, const std::wstring& prefix, int indent) {
        for (const TBinaryWriterEntry& entry : BinaryWriters()) {
            if (!object->ClassType().InheritsFrom(entry.Class)) continue;
            TMemoryStream data;
            if (!entry.Writer(object, &data)) continue;
            const std::vector<std::uint8_t>& bytes = data.Bytes();
            const size_t size = size_t(data.Size());
            constexpr size_t perLine = 32;
            if (size <= perLine) {
                Line(indent, prefix + entry.Name + L" = {" + HexLine(bytes.data(), size) + L"}");
                continue;
            }
            Line(indent, prefix + entry.Name + L" = {");
            for (size_t at = 0; at < size; at += perLine) {
                const size_t count = std::min(perLine, size - at);
                Line(indent + 1, HexLine(bytes.data() + at, count) + (at + count == size ? L"}" : L""));
            }
        }
    }

    TComponent* FRoot;
    std::map<const TComponent*, std::vector<TComponent*>> FChildren;  // in the root's order of ownership
    std::wstring FText;
};

}  // namespace

void RegisterBinaryPropertyWriter(const TClass& cls, const std::wstring& name, TBinaryPropertyWriter writer) {
    BinaryWriters().push_back({&cls, name, std::move(writer)});
}

std::wstring WriteComponentToText(TComponent* root) {
    return TWriter(root).Write();
}

void WriteComponentToStream(TComponent* root, TStream* stream) {
    const std::wstring text = WriteComponentToText(root);
    if (text.empty()) return;
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length, nullptr, nullptr);
    stream->WriteBuffer(bytes.data(), length);
}

}  // namespace ClassLib
