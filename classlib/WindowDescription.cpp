#include "classlib/WindowDescription.h"

#include <windows.h>

#include <algorithm>
#include <any>
#include <cstdint>
#include <cwctype>
#include <map>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"

namespace ClassLib {

namespace {

// ---- the parsed form of a description ----

struct TDescProperty;

struct TDescValue {
    enum class TKind { String, Number, Ident, Set, List, Binary, Collection };
    TKind Kind = TKind::Ident;
    std::wstring Text;                                   // string, number or identifier
    std::vector<std::wstring> Items;                     // set elements or list strings
    std::vector<std::uint8_t> Bytes;                     // binary data
    std::vector<std::vector<TDescProperty>> Elements;    // collection items
};

struct TDescProperty {
    std::wstring Path;
    TDescValue Value;
    int Line = 0;
};

struct TDescObject {
    std::wstring Name;
    std::wstring ClassName;
    int Line = 0;
    std::vector<TDescProperty> Properties;
    std::vector<TDescObject> Children;
};

// ---- tokens ----

enum class TToken { End, Ident, String, Number, Symbol, Binary };

class TParser {
public:
    explicit TParser(const std::wstring& text) : FText(text) { Next(); }

    TDescObject ParseDescription() {
        TDescObject root = ParseObject();
        if (FToken != TToken::End) Fail(L"Text after the end of the description");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::wstring& what) const {
        throw EDescriptionError(what + L" at line " + std::to_wstring(FTokenLine));
    }

    bool IsSymbol(wchar_t c) const { return FToken == TToken::Symbol && FValue.size() == 1 && FValue[0] == c; }
    bool IsKeyword(const wchar_t* word) const { return FToken == TToken::Ident && SameText(FValue, word); }

    void Expect(wchar_t c) {
        if (!IsSymbol(c)) Fail(std::wstring(L"Expected \"") + c + L"\" but found \"" + FValue + L"\"");
        Next();
    }

    std::wstring ExpectIdent(const wchar_t* what) {
        if (FToken != TToken::Ident) Fail(std::wstring(L"Expected ") + what + L" but found \"" + FValue + L"\"");
        std::wstring name = FValue;
        Next();
        return name;
    }

    // Objects and collections nest by recursion: a hostile description must not run the
    // stack out, and no real window nests anywhere near this deep.
    static constexpr int MaxDepth = 64;

    class TNesting {
    public:
        explicit TNesting(TParser& parser) : FParser(parser) {
            if (FParser.FDepth == MaxDepth)
                FParser.Fail(L"Nested deeper than " + std::to_wstring(MaxDepth) + L" levels");
            ++FParser.FDepth;
        }
        ~TNesting() { --FParser.FDepth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;
    private:
        TParser& FParser;
    };

    TDescObject ParseObject() {
        if (!IsKeyword(L"object")) Fail(L"Expected \"object\" but found \"" + FValue + L"\"");
        const TNesting nesting(*this);
        TDescObject object;
        object.Line = FTokenLine;
        Next();
        // A component without a name (a copy being made) is written "object : TClass".
        if (!IsSymbol(L':')) object.Name = ExpectIdent(L"a component name");
        Expect(L':');
        object.ClassName = ExpectIdent(L"a class name");
        for (;;) {
            if (FToken == TToken::End) Fail(L"Missing \"end\" of object " + object.Name);
            if (IsKeyword(L"end")) {
                Next();
                return object;
            }
            if (IsKeyword(L"object")) {
                object.Children.push_back(ParseObject());
                continue;
            }
            object.Properties.push_back(ParseProperty());
        }
    }

    TDescProperty ParseProperty() {
        TDescProperty property;
        property.Line = FTokenLine;
        property.Path = ExpectIdent(L"a property name");
        while (IsSymbol(L'.')) {
            Next();
            property.Path += L"." + ExpectIdent(L"a property name");
        }
        Expect(L'=');
        property.Value = ParseValue();
        return property;
    }

    TDescValue ParseValue() {
        TDescValue value;
        switch (FToken) {
            case TToken::String:
                value.Kind = TDescValue::TKind::String;
                value.Text = FValue;
                Next();
                // Long texts may be written in pieces: "a" + "b".
                while (IsSymbol(L'+')) {
                    Next();
                    if (FToken != TToken::String) Fail(L"Expected a string after \"+\"");
                    value.Text += FValue;
                    Next();
                }
                return value;
            case TToken::Number:
                value.Kind = TDescValue::TKind::Number;
                value.Text = FValue;
                Next();
                return value;
            case TToken::Ident:
                value.Kind = TDescValue::TKind::Ident;
                value.Text = FValue;
                Next();
                while (IsSymbol(L'.')) {
                    Next();
                    value.Text += L"." + ExpectIdent(L"a name");
                }
                return value;
            case TToken::Binary:
                value.Kind = TDescValue::TKind::Binary;
                value.Bytes = FBytes;
                Next();
                return value;
            default: break;
        }
        if (IsSymbol(L'[')) {
            Next();
            bool strings = false, idents = false;
            while (!IsSymbol(L']')) {
                if (FToken == TToken::String) strings = true;
                else if (FToken == TToken::Ident) idents = true;
                else Fail(L"Expected a string or a name in a list but found \"" + FValue + L"\"");
                if (strings && idents) Fail(L"A list mixes strings and names");
                value.Items.push_back(FValue);
                Next();
                if (IsSymbol(L',')) Next();
                else if (!IsSymbol(L']') && FToken != TToken::String) Fail(L"Expected \",\" or \"]\" in a list");
            }
            Next();
            value.Kind = strings ? TDescValue::TKind::List : TDescValue::TKind::Set;
            return value;
        }
        if (IsSymbol(L'<')) {
            const TNesting nesting(*this);
            Next();
            value.Kind = TDescValue::TKind::Collection;
            while (!IsSymbol(L'>')) {
                if (!IsKeyword(L"item")) Fail(L"Expected \"item\" or \">\" in a collection but found \"" + FValue + L"\"");
                Next();
                std::vector<TDescProperty> item;
                while (!IsKeyword(L"end")) {
                    if (FToken == TToken::End) Fail(L"Missing \"end\" of a collection item");
                    item.push_back(ParseProperty());
                }
                Next();
                value.Elements.push_back(std::move(item));
            }
            Next();
            return value;
        }
        if (IsSymbol(L'-') || IsSymbol(L'+')) Fail(L"Expected a value but found \"" + FValue + L"\"");
        Fail(L"Expected a value but found \"" + FValue + L"\"");
    }

    void SkipBlanksAndComments() {
        for (;;) {
            while (FPos < FText.size() && std::iswspace(FText[FPos])) {
                if (FText[FPos] == L'\n') ++FLine;
                ++FPos;
            }
            const bool hash = FPos < FText.size() && FText[FPos] == L'#';
            const bool slashes = FPos + 1 < FText.size() && FText[FPos] == L'/' && FText[FPos + 1] == L'/';
            if (!hash && !slashes) return;
            while (FPos < FText.size() && FText[FPos] != L'\n') ++FPos;
        }
    }

    static int HexDigit(wchar_t c) {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        return -1;
    }

    void Next() {
        SkipBlanksAndComments();
        FTokenLine = FLine;
        FValue.clear();
        if (FPos >= FText.size()) {
            FToken = TToken::End;
            FValue = L"end of text";
            return;
        }
        const wchar_t c = FText[FPos];
        if (std::iswalpha(c) || c == L'_') {
            const size_t start = FPos;
            while (FPos < FText.size() && (std::iswalnum(FText[FPos]) || FText[FPos] == L'_')) ++FPos;
            FToken = TToken::Ident;
            FValue = FText.substr(start, FPos - start);
            return;
        }
        const bool negative = c == L'-' && FPos + 1 < FText.size() && std::iswdigit(FText[FPos + 1]);
        if (std::iswdigit(c) || negative) {
            const size_t start = FPos;
            if (negative) ++FPos;
            if (FText.compare(FPos, 2, L"0x") == 0 || FText.compare(FPos, 2, L"0X") == 0) {
                FPos += 2;
                while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) ++FPos;
            } else {
                while (FPos < FText.size() && (std::iswdigit(FText[FPos]) || FText[FPos] == L'.' ||
                                               FText[FPos] == L'e' || FText[FPos] == L'E')) ++FPos;
            }
            FToken = TToken::Number;
            FValue = FText.substr(start, FPos - start);
            return;
        }
        if (c == L'"') {
            ++FPos;
            FToken = TToken::String;
            for (;;) {
                if (FPos >= FText.size() || FText[FPos] == L'\n') Fail(L"Unterminated string");
                wchar_t ch = FText[FPos++];
                if (ch == L'"') break;
                if (ch == L'\\') {
                    if (FPos >= FText.size()) Fail(L"Unterminated string");
                    const wchar_t escape = FText[FPos++];
                    switch (escape) {
                        case L'n': ch = L'\n'; break;
                        case L'r': ch = L'\r'; break;
                        case L't': ch = L'\t'; break;
                        case L'"': ch = L'"'; break;
                        case L'\\': ch = L'\\'; break;
                        case L'u': {
                            int code = 0;
                            for (int i = 0; i < 4; ++i) {
                                const int digit = FPos < FText.size() ? HexDigit(FText[FPos]) : -1;
                                if (digit < 0) Fail(L"Invalid \\u escape in a string");
                                code = code * 16 + digit;
                                ++FPos;
                            }
                            ch = wchar_t(code);
                            break;
                        }
                        default: Fail(std::wstring(L"Invalid escape \\") + escape + L" in a string");
                    }
                }
                FValue += ch;
            }
            return;
        }
        if (c == L'{') {
            ++FPos;
            FToken = TToken::Binary;
            FBytes.clear();
            int high = -1;
            for (;;) {
                SkipBlanksAndComments();
                if (FPos >= FText.size()) Fail(L"Missing \"}\" of binary data");
                const wchar_t ch = FText[FPos++];
                if (ch == L'}') break;
                const int digit = HexDigit(ch);
                if (digit < 0) Fail(std::wstring(L"Invalid character \"") + ch + L"\" in binary data");
                if (high < 0) {
                    high = digit;
                } else {
                    FBytes.push_back(std::uint8_t(high * 16 + digit));
                    high = -1;
                }
            }
            if (high >= 0) Fail(L"Binary data has an odd number of hex digits");
            FValue = L"{...}";
            return;
        }
        FToken = TToken::Symbol;
        FValue = std::wstring(1, c);
        ++FPos;
    }

    const std::wstring& FText;
    size_t FPos = 0;
    int FLine = 1;
    int FTokenLine = 1;
    int FDepth = 0;   // objects and collections open around the current token
    TToken FToken = TToken::End;
    std::wstring FValue;
    std::vector<std::uint8_t> FBytes;
};

// ---- binary readers ----

struct TBinaryEntry {
    const TClass* Class;
    std::wstring Name;
    TBinaryPropertyReader Reader;
};

// Filled by the classes that store bytes, as their units are linked in.
std::vector<TBinaryEntry>& BinaryReaders() {
    static std::vector<TBinaryEntry> readers;
    return readers;
}

const TBinaryPropertyReader* FindBinaryReader(const TObject* object, const std::wstring& name) {
    for (const TBinaryEntry& entry : BinaryReaders())
        if (object->ClassType().InheritsFrom(entry.Class) && SameText(entry.Name, name)) return &entry.Reader;
    return nullptr;
}

const TPropInfo* FindProperty(const TObject* object, const std::wstring& name) {
    return object->ClassType().Published().Find(name);
}

// ---- applying ----

class TReader {
public:
    TReader(TComponent* root, const TComponentCreatedEvent& created) : FRoot(root), FCreated(created) {}

    void Read(const TDescObject& description) {
        if (!SameText(description.ClassName, FRoot->ClassName()))
            throw EDescriptionError(L"The description is of class " + description.ClassName + L", not of " +
                                    FRoot->ClassName() + L" (line " + std::to_wstring(description.Line) + L")");
        FRoot->BeginLoading();
        FLoaded.push_back(FRoot);
        try {
            if (FRoot->Name() != description.Name) SetRootName(description.Name);
            ReadInto(FRoot, description);
            ResolveReferences();
        } catch (...) {
            // What was read stays owned by the root; it leaves the loading state.
            for (TComponent* component : FLoaded)
                if (component->HasState(csLoading)) component->TComponent::Loaded();
            throw;
        }
        for (TComponent* component : FLoaded) component->Loaded();
    }

private:
    struct TPendingReference {
        TObject* Object;
        const TPropInfo* Info;
        std::wstring Name;
        int Line;
    };

    // A second window of the same class under one owner is named Name_1, Name_2, ...
    void SetRootName(const std::wstring& name) {
        TComponent* owner = FRoot->Owner();
        std::wstring unique = name;
        for (int i = 1; owner && owner->FindComponent(unique) && owner->FindComponent(unique) != FRoot; ++i)
            unique = name + L"_" + std::to_wstring(i);
        FRoot->SetName(unique);
    }

    [[noreturn]] static void Fail(const std::wstring& what, int line) {
        throw EDescriptionError(what + L" at line " + std::to_wstring(line));
    }

    static std::wstring Describe(const TObject* object) {
        if (auto* component = dynamic_cast<const TComponent*>(object); component && !component->Name().empty())
            return component->Name() + L" (" + object->ClassName() + L")";
        return object->ClassName();
    }

    void ReadInto(TComponent* component, const TDescObject& description) {
        for (const TDescProperty& property : description.Properties) Apply(component, property);
        for (const TDescObject& child : description.Children) {
            const TClass* cls = GetClass(child.ClassName);
            if (!cls) Fail(L"Unknown class \"" + child.ClassName + L"\" of component " + child.Name, child.Line);
            if (!cls->CanCreate()) Fail(L"Class \"" + child.ClassName + L"\" cannot be created from a description", child.Line);
            TComponent* created = cls->Create(FRoot);
            created->BeginLoading();
            FLoaded.push_back(created);
            try {
                created->SetName(child.Name);
            } catch (const Exception& error) {
                Fail(error.Message(), child.Line);
            }
            InsertChild(component, created, child.Line);
            if (FCreated) FCreated(created);
            ReadInto(created, child);
        }
    }

    static void InsertChild(TComponent* parent, TComponent* child, int line) {
        auto* host = dynamic_cast<IDescriptionParent*>(parent);
        if (host && !host->InsertDescribedChild(child))
            Fail(Describe(child) + L" cannot be placed on " + Describe(parent), line);
    }

    // Walks "A.B.C" down the sub-objects; returns the object that holds the last name.
    TObject* Walk(TObject* object, const std::wstring& path, std::wstring& last, int line) {
        size_t start = 0;
        for (;;) {
            const size_t dot = path.find(L'.', start);
            if (dot == std::wstring::npos) {
                last = path.substr(start);
                return object;
            }
            const std::wstring name = path.substr(start, dot - start);
            const TPropInfo* info = FindProperty(object, name);
            if (!info) Fail(L"Unknown property \"" + name + L"\" of " + Describe(object), line);
            if (info->Kind != TPropKind::Class || !info->GetObjectValue)
                Fail(L"Property \"" + name + L"\" of " + Describe(object) + L" has no properties of its own", line);
            TObject* inner = info->GetObjectValue(object);
            if (!inner) Fail(L"Property \"" + name + L"\" of " + Describe(object) + L" is empty", line);
            object = inner;
            start = dot + 1;
        }
    }

    void Apply(TObject* target, const TDescProperty& property) {
        std::wstring name;
        TObject* object = Walk(target, property.Path, name, property.Line);
        const TDescValue& value = property.Value;
        const TPropInfo* info = FindProperty(object, name);
        if (!info) {
            if (value.Kind == TDescValue::TKind::Binary) {
                if (const TBinaryPropertyReader* reader = FindBinaryReader(object, name)) {
                    TMemoryStream data;
                    if (!value.Bytes.empty()) data.WriteBuffer(value.Bytes.data(), int(value.Bytes.size()));
                    data.SetPosition(0);
                    try {
                        (*reader)(object, &data);
                    } catch (const Exception& error) {
                        Fail(L"Cannot read \"" + property.Path + L"\": " + error.Message(), property.Line);
                    }
                    return;
                }
            }
            Fail(L"Unknown property \"" + property.Path + L"\" of " + Describe(target), property.Line);
        }
        try {
            ApplyValue(object, *info, value, property);
        } catch (const EDescriptionError&) {
            throw;
        } catch (const Exception& error) {
            Fail(L"Cannot set \"" + property.Path + L"\" of " + Describe(target) + L": " + error.Message(), property.Line);
        }
    }

    [[noreturn]] static void BadValue(const TDescProperty& property, const std::wstring& expected) {
        Fail(L"Property \"" + property.Path + L"\" needs " + expected, property.Line);
    }

    static int64_t ParseInteger(const TDescValue& value, const TDescProperty& property) {
        if (value.Kind != TDescValue::TKind::Number) BadValue(property, L"a whole number");
        const std::wstring& text = value.Text;
        try {
            size_t used = 0;
            const bool negative = !text.empty() && text[0] == L'-';
            const std::wstring digits = negative ? text.substr(1) : text;
            int64_t number;
            if (digits.size() > 2 && (digits[1] == L'x' || digits[1] == L'X'))
                number = int64_t(std::stoull(digits.substr(2), &used, 16)), used += 2;
            else
                number = std::stoll(digits, &used, 10);
            if (used != digits.size()) BadValue(property, L"a whole number");
            return negative ? -number : number;
        } catch (const std::logic_error&) {
            BadValue(property, L"a whole number");
        }
    }

    // An ordinal the property's type can hold: a number written for an "Integer" would
    // otherwise lose its high bits, one for an enumeration would index past its names.
    static int64_t ParseOrdinal(const TPropInfo& info, const TDescValue& value, const TDescProperty& property) {
        const int64_t number = ParseInteger(value, property);
        int64_t low = INT64_MIN, high = INT64_MAX;
        std::wstring expected;
        if (info.Kind == TPropKind::Enumeration) {
            low = 0;
            high = int64_t(info.ValueNames.size()) - 1;
            expected = L"a value of " + info.TypeName;
        } else if (info.TypeName == L"Integer") {
            low = INT32_MIN;
            high = INT32_MAX;
            expected = L"a whole number";
        }
        if (number < low || number > high)
            BadValue(property, expected + L" from " + std::to_wstring(low) + L" to " + std::to_wstring(high));
        return number;
    }

    static int OrdinalOf(const TPropInfo& info, const std::wstring& name, const TDescProperty& property) {
        if (const int index = info.ValueIndex(name); index >= 0) return index;
        Fail(L"Unknown value \"" + name + L"\" of property \"" + property.Path + L"\" (" + info.TypeName + L")",
             property.Line);
    }

    void ApplyValue(TObject* object, const TPropInfo& info, const TDescValue& value, const TDescProperty& property) {
        using K = TDescValue::TKind;
        switch (info.Kind) {
            case TPropKind::Integer:
                if (!info.SetOrd) BadValue(property, L"to be writable");
                info.SetOrd(object, ParseOrdinal(info, value, property));
                return;
            case TPropKind::Boolean:
                if (value.Kind != K::Ident || !(SameText(value.Text, L"true") || SameText(value.Text, L"false")))
                    BadValue(property, L"true or false");
                info.SetOrd(object, SameText(value.Text, L"true") ? 1 : 0);
                return;
            case TPropKind::Enumeration:
                if (value.Kind == K::Number) info.SetOrd(object, ParseOrdinal(info, value, property));
                else if (value.Kind == K::Ident) info.SetOrd(object, OrdinalOf(info, value.Text, property));
                else BadValue(property, L"a value of " + info.TypeName);
                return;
            case TPropKind::Set: {
                if (value.Kind != K::Set) BadValue(property, L"a set like [a, b]");
                int64_t mask = 0;
                for (const std::wstring& element : value.Items) mask |= int64_t(1) << OrdinalOf(info, element, property);
                info.SetOrd(object, mask);
                return;
            }
            case TPropKind::Colour: {
                if (value.Kind == K::Number) {
                    info.SetOrd(object, int32_t(ParseInteger(value, property)));
                } else if (value.Kind == K::Ident) {
                    TColor colour;
                    if (!IdentToColor(value.Text, colour)) Fail(L"Unknown colour \"" + value.Text + L"\"", property.Line);
                    info.SetOrd(object, colour);
                } else {
                    BadValue(property, L"a colour name or number");
                }
                return;
            }
            case TPropKind::Float:
                if (value.Kind != K::Number) BadValue(property, L"a number");
                try {
                    info.SetFloat(object, std::stod(value.Text));
                } catch (const std::logic_error&) {
                    BadValue(property, L"a number");
                }
                return;
            case TPropKind::String:
                if (value.Kind != K::String) BadValue(property, L"a string in double quotes");
                if (!info.SetString) BadValue(property, L"to be writable");
                info.SetString(object, value.Text);
                return;
            case TPropKind::Event: {
                if (value.Kind != K::Ident) BadValue(property, L"a handler name");
                if (SameText(value.Text, L"nil")) {
                    info.SetEvent(object, std::any());
                    return;
                }
                std::any handler = MethodAddress(FRoot, value.Text);
                if (!handler.has_value())
                    Fail(L"Unknown handler \"" + value.Text + L"\" of " + FRoot->ClassName() + L" for \"" + property.Path + L"\"",
                         property.Line);
                info.SetEvent(object, handler);
                return;
            }
            case TPropKind::Class:
                ApplyClassValue(object, info, value, property);
                return;
        }
    }

    void ApplyClassValue(TObject* object, const TPropInfo& info, const TDescValue& value, const TDescProperty& property) {
        using K = TDescValue::TKind;
        switch (info.ClassKind) {
            case TClassPropKind::ComponentRef:
                if (value.Kind != K::Ident) BadValue(property, L"a component name");
                if (SameText(value.Text, L"nil")) info.SetObjectValue(object, nullptr);
                else FReferences.push_back({object, &info, value.Text, property.Line});
                return;
            case TClassPropKind::StringList: {
                auto* strings = dynamic_cast<TStrings*>(info.GetObjectValue(object));
                if (!strings) Fail(L"Property \"" + property.Path + L"\" holds no string list", property.Line);
                if (value.Kind != K::List && !(value.Kind == K::Set && value.Items.empty()))
                    BadValue(property, L"a list of strings like [\"a\", \"b\"]");
                TUpdateScope update(*strings);
                strings->Clear();
                for (const std::wstring& line : value.Items) strings->Add(line);
                return;
            }
            case TClassPropKind::Collection: {
                auto* collection = dynamic_cast<TCollection*>(info.GetObjectValue(object));
                if (!collection) Fail(L"Property \"" + property.Path + L"\" holds no collection", property.Line);
                if (value.Kind != K::Collection) BadValue(property, L"a collection like < item ... end >");
                TUpdateScope update(*collection);
                collection->Clear();
                for (const auto& element : value.Elements) {
                    TCollectionItem* item = collection->Add();
                    for (const TDescProperty& itemProperty : element) Apply(item, itemProperty);
                }
                return;
            }
            case TClassPropKind::SubObject:
            case TClassPropKind::None:
                BadValue(property, L"its own properties written as \"" + property.Path + L".Name = ...\"");
        }
    }

    TComponent* FindReference(const std::wstring& name) const {
        if (SameText(name, FRoot->Name())) return FRoot;
        const size_t dot = name.find(L'.');
        if (dot == std::wstring::npos) return FRoot->FindComponent(name);
        // "Root.Component" names a component of this root explicitly.
        if (!SameText(name.substr(0, dot), FRoot->Name())) return nullptr;
        return FRoot->FindComponent(name.substr(dot + 1));
    }

    void ResolveReferences() {
        for (const TPendingReference& reference : FReferences) {
            TComponent* component = FindReference(reference.Name);
            if (!component) Fail(L"Unknown component \"" + reference.Name + L"\" for \"" + reference.Info->Name + L"\"", reference.Line);
            try {
                reference.Info->SetObjectValue(reference.Object, component);
            } catch (const Exception& error) {
                Fail(L"Cannot set \"" + reference.Info->Name + L"\" to " + reference.Name + L": " + error.Message(),
                     reference.Line);
            }
        }
    }

    TComponent* FRoot;
    const TComponentCreatedEvent& FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<TPendingReference> FReferences;
};

std::wstring DecodeDescription(const std::vector<std::uint8_t>& bytes) {
    const size_t n = bytes.size();
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::wstring text((n - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) text[i] = wchar_t(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
        return text;
    }
    size_t start = (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ? 3 : 0;
    if (start >= n) return {};
    const char* data = reinterpret_cast<const char*>(bytes.data() + start);
    const int length = int(n - start);
    const int wide = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, length, nullptr, 0);
    if (wide <= 0) throw EDescriptionError(L"The description is not valid UTF-8 text");
    std::wstring text(size_t(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, data, length, text.data(), wide);
    return text;
}

}  // namespace

void ReadComponentFromText(TComponent* root, const std::wstring& text, const TComponentCreatedEvent& created) {
    TParser parser(text);
    const TDescObject description = parser.ParseDescription();
    TReader(root, created).Read(description);
}

void ReadComponentFromStream(TComponent* root, TStream* stream, const TComponentCreatedEvent& created) {
    const int64_t size = stream->Size() - stream->Position();
    std::vector<std::uint8_t> bytes(size_t(std::max<int64_t>(size, 0)));
    if (!bytes.empty()) stream->ReadBuffer(bytes.data(), int(bytes.size()));
    ReadComponentFromText(root, DecodeDescription(bytes), created);
}

bool HasDescriptionResource(const std::wstring& resourceName) {
    return ::FindResourceW(::GetModuleHandleW(nullptr), resourceName.c_str(), MAKEINTRESOURCEW(10)) != nullptr;
}

void ReadComponentResource(TComponent* root, const std::wstring& resourceName, const TComponentCreatedEvent& created) {
    ReadComponentResource(root, ::GetModuleHandleW(nullptr), resourceName, created);
}

void ReadComponentResource(TComponent* root, void* module, const std::wstring& resourceName,
                           const TComponentCreatedEvent& created) {
    if (!::FindResourceW(static_cast<HMODULE>(module), resourceName.c_str(), MAKEINTRESOURCEW(10)))
        throw EResNotFound(L"Resource " + resourceName + L" not found");
    TResourceStream stream(THandle(module), resourceName);
    ReadComponentFromStream(root, &stream, created);
}

void RegisterBinaryProperty(const TClass& cls, const std::wstring& name, TBinaryPropertyReader reader) {
    BinaryReaders().push_back({&cls, name, std::move(reader)});
}

}  // namespace ClassLib
