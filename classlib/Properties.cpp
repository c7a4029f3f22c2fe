#include "classlib/Properties.h"

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cwchar>

#include "classlib/Strings.h"

namespace ClassLib {

namespace {
[[noreturn]] void BadValue(const TPropInfo& info, const std::wstring& text) {
    throw EPropertyError(L"Invalid value \"" + text + L"\" for property " + info.Name);
}

[[noreturn]] void NotWritable(const TPropInfo& info) {
    throw EPropertyError(L"Property " + info.Name + L" is read-only");
}

int64_t ParseInteger(const TPropInfo& info, const std::wstring& text) {
    const std::wstring value = Trim(text);
    if (value.empty()) BadValue(info, text);
    wchar_t* end = nullptr;
    errno = 0;
    long long result = 0;
    if (value[0] == L'$')
        result = std::wcstoll(value.c_str() + 1, &end, 16);
    else if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X'))
        result = std::wcstoll(value.c_str() + 2, &end, 16);
    else
        result = std::wcstoll(value.c_str(), &end, 10);
    if (errno != 0 || !end || *end != L'\0') BadValue(info, text);
    return result;
}

}  // namespace

// ---------------------------------------------------------------- TPropInfo

bool TPropInfo::IsOrdinal() const noexcept {
    return Kind == TPropKind::Integer || Kind == TPropKind::Boolean || Kind == TPropKind::Enumeration ||
           Kind == TPropKind::Set || Kind == TPropKind::Colour;
}

int TPropInfo::ValueIndex(const std::wstring& name) const {
    for (size_t i = 0; i < ValueNames.size(); ++i)
        if (SameText(ValueNames[i], name)) return int(i);
    return -1;
}

bool TPropInfo::IsWritable() const noexcept {
    switch (Kind) {
    case TPropKind::Float: return bool(SetFloat);
    case TPropKind::String: return bool(SetString);
    case TPropKind::Class: return bool(SetObjectValue);
    case TPropKind::Event: return bool(SetEvent);
    default: return bool(SetOrd);
    }
}

bool TPropInfo::IsDefault(const TObject* object) const {
    if (IsOrdinal()) return OrdDefault && GetOrd(object) == *OrdDefault;
    switch (Kind) {
    case TPropKind::Float: return GetFloat(object) == FloatDefault.value_or(0.0);
    case TPropKind::String: return GetString(object) == StringDefault.value_or(std::wstring());
    case TPropKind::Class: return GetObjectValue(object) == nullptr;
    case TPropKind::Event: return !EventAssigned(object);
    default: return false;
    }
}

bool TPropInfo::IsStored(const TObject* object) const {
    if (StoredRule) return StoredRule(object);
    // An owned sub-object is always written, so its own properties get their say.
    if (Kind == TPropKind::Class && ClassKind != TClassPropKind::ComponentRef) return GetObjectValue(object) != nullptr;
    return !IsDefault(object);
}

// ---------------------------------------------------------------- TPropertyList

const TPropInfo* TPropertyList::Find(const std::wstring& name) const {
    for (const TPropInfo& info : FItems)
        if (SameText(info.Name, name)) return &info;
    return nullptr;
}

const TMethodInfo* TPropertyList::FindMethod(const std::wstring& name) const {
    for (const TMethodInfo& method : FMethods)
        if (SameText(method.Name, name)) return &method;
    return nullptr;
}

TPropInfo* TPropertyList::FindItem(const std::wstring& name) { return const_cast<TPropInfo*>(Find(name)); }

TPropertyList& TPropertyList::Add(TPropInfo info) {
    if (TPropInfo* existing = FindItem(info.Name)) *existing = std::move(info);
    else FItems.push_back(std::move(info));
    return *this;
}

TPropertyList& TPropertyList::SetStoredRule(const wchar_t* name, std::function<bool(const TObject*)> rule) {
    TPropInfo* info = FindItem(name);
    assert(info && "Stored() names a property that was not added");
    if (info) info->StoredRule = std::move(rule);
    return *this;
}

TPropertyList& TPropertyList::SetTypeName(const wchar_t* name, const wchar_t* typeName) {
    TPropInfo* info = FindItem(name);
    assert(info && "SetTypeName() names a property that was not added");
    if (info) info->TypeName = typeName;
    return *this;
}

// ---------------------------------------------------------------- access by name

const TPropInfo& GetPropInfo(const TObject* object, const std::wstring& name) {
    if (const TPropInfo* info = object->ClassType().Published().Find(name)) return *info;
    throw EPropertyError(L"Property " + name + L" does not exist in " + object->ClassName());
}

int64_t GetOrdProp(const TObject* object, const std::wstring& name) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (!info.IsOrdinal()) throw EPropertyError(L"Property " + name + L" is not ordinal");
    return info.GetOrd(object);
}

void SetOrdProp(TObject* object, const std::wstring& name, int64_t value) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (!info.IsOrdinal()) throw EPropertyError(L"Property " + name + L" is not ordinal");
    if (!info.SetOrd) NotWritable(info);
    info.SetOrd(object, value);
}

double GetFloatProp(const TObject* object, const std::wstring& name) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::Float) throw EPropertyError(L"Property " + name + L" is not a number");
    return info.GetFloat(object);
}

void SetFloatProp(TObject* object, const std::wstring& name, double value) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::Float) throw EPropertyError(L"Property " + name + L" is not a number");
    if (!info.SetFloat) NotWritable(info);
    info.SetFloat(object, value);
}

std::wstring GetStrProp(const TObject* object, const std::wstring& name) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::String) throw EPropertyError(L"Property " + name + L" is not a string");
    return info.GetString(object);
}

void SetStrProp(TObject* object, const std::wstring& name, const std::wstring& value) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::String) throw EPropertyError(L"Property " + name + L" is not a string");
    if (!info.SetString) NotWritable(info);
    info.SetString(object, value);
}

TObject* GetObjectProp(const TObject* object, const std::wstring& name) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::Class) throw EPropertyError(L"Property " + name + L" is not an object");
    return info.GetObjectValue(object);
}

void SetObjectProp(TObject* object, const std::wstring& name, TObject* value) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::Class) throw EPropertyError(L"Property " + name + L" is not an object");
    info.SetObjectValue(object, value);
}

void SetEventProp(TObject* object, const std::wstring& name, const std::any& handler) {
    const TPropInfo& info = GetPropInfo(object, name);
    if (info.Kind != TPropKind::Event) throw EPropertyError(L"Property " + name + L" is not an event");
    info.SetEvent(object, handler);
}

std::any MethodAddress(TObject* instance, const std::wstring& methodName) {
    const TMethodInfo* method = instance->ClassType().Published().FindMethod(methodName);
    return method ? method->Bind(instance) : std::any();
}

std::wstring MethodName(const TClass& cls, const std::any& handler) {
    if (!handler.has_value()) return std::wstring();
    for (const TMethodInfo& method : cls.Published().Methods())
        if (method.Binds && method.Binds(handler)) return method.Name;
    return std::wstring();
}

std::wstring GetPropText(const TObject* object, const TPropInfo& info) {
    switch (info.Kind) {
    case TPropKind::Integer:
    case TPropKind::Colour: return std::to_wstring(info.GetOrd(object));
    case TPropKind::Boolean: return info.GetOrd(object) ? L"True" : L"False";
    case TPropKind::Enumeration: {
        const int64_t value = info.GetOrd(object);
        if (value >= 0 && value < int64_t(info.ValueNames.size())) return info.ValueNames[size_t(value)];
        return std::to_wstring(value);
    }
    case TPropKind::Set: {
        const uint64_t bits = uint64_t(info.GetOrd(object));
        std::wstring text = L"[";
        for (size_t i = 0; i < info.ValueNames.size() && i < 64; ++i)
            if (bits & (uint64_t(1) << i)) {
                if (text.size() > 1) text += L',';
                text += info.ValueNames[i];
            }
        return text + L"]";
    }
    case TPropKind::Float: {
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"%.17g", info.GetFloat(object));
        // Prefer the shortest text that reads back to the same value.
        for (int precision = 1; precision <= 17; ++precision) {
            wchar_t shorter[64];
            std::swprintf(shorter, 64, L"%.*g", precision, info.GetFloat(object));
            if (std::wcstod(shorter, nullptr) == info.GetFloat(object)) return shorter;
        }
        return buffer;
    }
    case TPropKind::String: return info.GetString(object);
    case TPropKind::Class: {
        const TObject* value = info.GetObjectValue(object);
        if (!value) return std::wstring();
        if (const TComponent* component = dynamic_cast<const TComponent*>(value)) return component->Name();
        return value->ClassName();
    }
    case TPropKind::Event: return std::wstring();
    }
    return std::wstring();
}

void SetPropText(TObject* object, const TPropInfo& info, const std::wstring& text) {
    if (!info.IsWritable()) NotWritable(info);
    switch (info.Kind) {
    case TPropKind::Integer:
    case TPropKind::Colour: info.SetOrd(object, ParseInteger(info, text)); return;
    case TPropKind::Boolean: {
        const std::wstring value = Trim(text);
        if (SameText(value, L"True")) info.SetOrd(object, 1);
        else if (SameText(value, L"False")) info.SetOrd(object, 0);
        else BadValue(info, text);
        return;
    }
    case TPropKind::Enumeration: {
        const int index = info.ValueIndex(Trim(text));
        if (index < 0) BadValue(info, text);
        info.SetOrd(object, index);
        return;
    }
    case TPropKind::Set: {
        std::wstring value = Trim(text);
        if (value.size() < 2 || value.front() != L'[' || value.back() != L']') BadValue(info, text);
        value = value.substr(1, value.size() - 2);
        uint64_t bits = 0;
        size_t start = 0;
        while (start <= value.size()) {
            size_t comma = value.find(L',', start);
            if (comma == std::wstring::npos) comma = value.size();
            const std::wstring element = Trim(value.substr(start, comma - start));
            if (!element.empty()) {
                const int index = info.ValueIndex(element);
                if (index < 0) BadValue(info, text);
                bits |= uint64_t(1) << index;
            }
            start = comma + 1;
        }
        info.SetOrd(object, int64_t(bits));
        return;
    }
    case TPropKind::Float: {
        const std::wstring value = Trim(text);
        wchar_t* end = nullptr;
        const double number = std::wcstod(value.c_str(), &end);
        if (value.empty() || !end || *end != L'\0') BadValue(info, text);
        info.SetFloat(object, number);
        return;
    }
    case TPropKind::String: info.SetString(object, text); return;
    case TPropKind::Class:
    case TPropKind::Event: throw EPropertyError(L"Property " + info.Name + L" cannot be set from text");
    }
}

void CopyPublishedValues(const TObject* source, TObject* dest) {
    const TPropertyList& to = dest->ClassType().Published();
    for (const TPropInfo& from : source->ClassType().Published()) {
        if (from.Kind == TPropKind::Class || from.Kind == TPropKind::Event) continue;
        const TPropInfo* target = to.Find(from.Name);
        if (!target || target->Kind != from.Kind || !target->IsWritable()) continue;
        if (from.IsOrdinal()) target->SetOrd(dest, from.GetOrd(source));
        else if (from.Kind == TPropKind::Float) target->SetFloat(dest, from.GetFloat(source));
        else target->SetString(dest, from.GetString(source));
    }
}

}  // namespace ClassLib
