#pragma once
// Published properties: per class, a list of named, typed accessors that extends the
// parent class's list. Window descriptions, object persistence and Assign-like
// copying read and write objects through it by name.
//
// Declaring (in the class body: `static const TPropertyList& Published();`, and in its .cpp):
//
//   const TPropertyList& TExampleButton::Published() {
//       static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
//           .Add(L"Caption", &TExampleButton::GetCaption, &TExampleButton::SetCaption)
//           .Add(L"Spacing", &TExampleButton::GetSpacing, &TExampleButton::SetSpacing, 4)
//           .Enum(L"Align", &TExampleButton::GetAlign, &TExampleButton::SetAlign, alNone)
//           .SetOf(L"Anchors", L"TAnchors", &TExampleButton::GetAnchors, &TExampleButton::SetAnchors,
//                  {L"akLeft", L"akTop", L"akRight", L"akBottom"}, 0b0011)
//           .Colour(L"Color", &TExampleButton::GetColor, &TExampleButton::SetColor, clBtnFace)
//           .Stored(L"Color", &TExampleButton::IsColorStored)
//           .SubObject(L"Font", &TExampleButton::GetFont)
//           .Strings(L"Items", &TExampleButton::GetItems)
//           .Reference(L"PopupMenu", &TExampleButton::GetPopupMenu, &TExampleButton::SetPopupMenu)
//           .Event(L"OnClick", &TExampleButton::FOnClick)
//           .Method(L"ButtonClick", &TExampleButton::ButtonClick);
//       return list;
//   }
//
// Using: obj->ClassType().Published().Find(L"Caption") gives a TPropInfo; the free
// functions below (GetPropText, SetPropText, SetEventProp ...) look up by name and raise
// EPropertyError when a name is unknown or a value does not fit.
//
// Kinds and their accessors:
//   Integer, Boolean, Enumeration, Set, Colour -> GetOrd / SetOrd (a set is a bit mask:
//     bit i is the element ValueNames[i]);
//   Float -> GetFloat / SetFloat;  String -> GetString / SetString;
//   Class -> GetObjectValue / SetObjectValue (sub-objects, collections and string lists are
//     copied into with Assign; a component reference stores the pointer);
//   Event -> GetEvent / SetEvent carry the handler as std::any holding the event's own
//     std::function type; Method() entries turn a named member function of an instance
//     into such a handler, so a description binds "OnClick = ButtonClick" by name.
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "classlib/EnumNames.h"
#include "classlib/EnumSet.h"
#include "classlib/Exceptions.h"
#include "classlib/Object.h"

namespace ClassLib {

enum class TPropKind { Integer, Float, String, Boolean, Enumeration, Set, Colour, Class, Event };
enum class TClassPropKind { None, SubObject, Collection, StringList, ComponentRef };

struct TPropInfo {
    std::wstring Name;
    TPropKind Kind = TPropKind::Integer;
    TClassPropKind ClassKind = TClassPropKind::None;
    std::wstring TypeName;                 // "Integer", "Int64", "Boolean", "Double", "Single", "String", an enum's or class's name
    const TClass* PropClass = nullptr;     // the declared class of a class-typed property
    std::vector<std::wstring> ValueNames;  // enumeration values or set elements, in order

    std::function<int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::wstring(const TObject*)> GetString;
    std::function<void(TObject*, const std::wstring&)> SetString;
    std::function<TObject*(const TObject*)> GetObjectValue;
    std::function<void(TObject*, TObject*)> SetObjectValue;
    std::function<std::any(const TObject*)> GetEvent;
    std::function<void(TObject*, const std::any&)> SetEvent;  // an empty std::any clears
    std::function<bool(const TObject*)> EventAssigned;

    std::optional<int64_t> OrdDefault;
    std::optional<double> FloatDefault;
    std::optional<std::wstring> StringDefault;
    // Null: stored unless the value equals the default. A class-typed or event property
    // without a rule is stored when it holds something.
    std::function<bool(const TObject*)> StoredRule;
    // A sub-object that its owner starts otherwise than its class's declared defaults (a
    // bold Verdana font): the sub-object as the owner starts it. Its properties are then
    // stored where they differ from this one, not from the declared defaults.
    std::function<const TObject*()> SubObjectStart;

    // The index of an enumeration value or set element by name (ASCII case ignored); -1 when unknown.
    int ValueIndex(const std::wstring& name) const;
    bool IsOrdinal() const noexcept;
    bool IsWritable() const noexcept;
    bool IsDefault(const TObject* object) const;
    bool IsStored(const TObject* object) const;
};

// A named member function of a class that a description may bind to an event.
struct TMethodInfo {
    std::wstring Name;
    std::function<std::any(TObject* instance)> Bind;
    // True when `handler` is this method bound (by Bind) to any instance: how a saved
    // event names its handler again.
    std::function<bool(const std::any& handler)> Binds;
};

namespace Detail {
template <class T> struct TMemberOf;
template <class T, class C> struct TMemberOf<T C::*> { using Class = C; };

template <class Get>
decltype(auto) CallGet(Get get, const TObject* object) {
    using C = typename TMemberOf<Get>::Class;
    return (static_cast<const C*>(object)->*get)();
}
template <class Set, class V>
void CallSet(Set set, TObject* object, V&& value) {
    using C = typename TMemberOf<Set>::Class;
    (static_cast<C*>(object)->*set)(std::forward<V>(value));
}

// A member function bound to an instance; a named type, so a std::function holding one
// can be asked which method it calls.
template <class C, class R, class... A>
struct TBoundMember {
    C* Object;
    R (C::*Member)(A...);
    R operator()(A... args) const { return (Object->*Member)(std::forward<A>(args)...); }
};

template <class R, class C, class... A>
std::function<R(A...)> BindMember(C* object, R (C::*method)(A...)) {
    return TBoundMember<C, R, A...>{object, method};
}
}  // namespace Detail

class TPropertyList {
public:
    TPropertyList() = default;
    // A list that starts with every property and method of `parent`.
    static TPropertyList Extend(const TPropertyList& parent) { return parent; }

    int Count() const noexcept { return int(FItems.size()); }
    const TPropInfo& operator[](int index) const { return FItems.at(size_t(index)); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    // Null when there is no such property (names compare ignoring ASCII case).
    const TPropInfo* Find(const std::wstring& name) const;
    const TMethodInfo* FindMethod(const std::wstring& name) const;
    const std::vector<TMethodInfo>& Methods() const noexcept { return FMethods; }

    // Adds or, when the name exists (a class re-publishing with a new default), replaces.
    TPropertyList& Add(TPropInfo info);
    // Gives the named property (added before) its "stored" rule: a member function
    // `bool IsXStored() const`, any callable on the object, or a fixed answer.
    template <class C>
    TPropertyList& Stored(const wchar_t* name, bool (C::*rule)() const) {
        return SetStoredRule(name, [rule](const TObject* o) { return (static_cast<const C*>(o)->*rule)(); });
    }
    TPropertyList& Stored(const wchar_t* name, bool stored) {
        return SetStoredRule(name, [stored](const TObject*) { return stored; });
    }
    TPropertyList& SetStoredRule(const wchar_t* name, std::function<bool(const TObject*)> rule);
    // Renames the type of the named property, as "TDateTime" for a date held in a double.
    TPropertyList& SetTypeName(const wchar_t* name, const wchar_t* typeName);

    // Integer, Float, String or Boolean, from the getter's type; an optional default.
    template <class Get, class Set>
    TPropertyList& Add(const wchar_t* name, Get get, Set set) {
        return Add(MakeSimple(name, get, set));
    }
    template <class Get, class Set, class D>
    TPropertyList& Add(const wchar_t* name, Get get, Set set, D defaultValue) {
        TPropInfo info = MakeSimple(name, get, set);
        using V = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        if constexpr (std::is_floating_point_v<V>)
            info.FloatDefault = double(defaultValue);
        else if constexpr (std::is_same_v<V, std::wstring>)
            info.StringDefault = std::wstring(defaultValue);
        else
            info.OrdDefault = int64_t(defaultValue);
        return Add(std::move(info));
    }
    // Read-only value (shown, never stored unless a rule says so).
    template <class Get>
    TPropertyList& ReadOnly(const wchar_t* name, Get get) {
        TPropInfo info = MakeSimple(name, get, nullptr);
        info.StoredRule = [](const TObject*) { return false; };
        return Add(std::move(info));
    }

    // An enumeration whose names are said beside it (EnumNames.h): the type comes from
    // the default value.
    template <class Get, class Set, NamedEnum E>
    TPropertyList& Enum(const wchar_t* name, Get get, Set set, E defaultValue) {
        return AddNamed(TPropKind::Enumeration, name, TEnumNames<E>::TypeName, get, set, TEnumNames<E>::Names,
                        int64_t(defaultValue));
    }
    // A set of such an enumeration's values, held as TEnumSet<E> or as its bit mask.
    template <class Get, class Set, NamedSetElement E>
    TPropertyList& SetOf(const wchar_t* name, Get get, Set set, TEnumSet<E> defaultValue) {
        return AddNamed(TPropKind::Set, name, TEnumNames<E>::SetTypeName, get, set, TEnumNames<E>::Names,
                        int64_t(defaultValue));
    }
    // An ordinal published under names of its own (an enumeration kept as an int, a type
    // that has no TEnumNames).
    template <class Get, class Set, class E>
    TPropertyList& Enum(const wchar_t* name, const wchar_t* typeName, Get get, Set set,
                        std::initializer_list<const wchar_t*> names, E defaultValue) {
        return AddNamed(TPropKind::Enumeration, name, typeName, get, set, names, int64_t(defaultValue));
    }
    // A set held as a bit mask (any integral or enum type): bit i is names[i].
    template <class Get, class Set, class M>
    TPropertyList& SetOf(const wchar_t* name, const wchar_t* typeName, Get get, Set set,
                         std::initializer_list<const wchar_t*> names, M defaultValue) {
        return AddNamed(TPropKind::Set, name, typeName, get, set, names, int64_t(defaultValue));
    }
    template <class Get, class Set>
    TPropertyList& Colour(const wchar_t* name, Get get, Set set, int32_t defaultValue) {
        TPropInfo info = MakeOrdinal(name, TPropKind::Colour, L"TColor", get, set);
        info.OrdDefault = defaultValue;
        return Add(std::move(info));
    }

    // An owned sub-object (font, pen ...), a collection or a string list: the getter
    // returns the object, writing copies into it with Assign.
    template <class Get>
    TPropertyList& SubObject(const wchar_t* name, Get get) { return Add(MakeOwned(name, TClassPropKind::SubObject, get)); }
    // The same, for a sub-object the owner starts as `start()` gives it (see SubObjectStart).
    template <class Get, class S>
    TPropertyList& SubObject(const wchar_t* name, Get get, const S& (*start)()) {
        TPropInfo info = MakeOwned(name, TClassPropKind::SubObject, get);
        info.SubObjectStart = [start]() -> const TObject* { return &start(); };
        return Add(std::move(info));
    }
    template <class Get>
    TPropertyList& Collection(const wchar_t* name, Get get) { return Add(MakeOwned(name, TClassPropKind::Collection, get)); }
    template <class Get>
    TPropertyList& Strings(const wchar_t* name, Get get) { return Add(MakeOwned(name, TClassPropKind::StringList, get)); }
    // A reference to another component (not owned); the setter receives a T* or null.
    template <class Get, class Set>
    TPropertyList& Reference(const wchar_t* name, Get get, Set set) {
        using P = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        using T = std::remove_pointer_t<P>;
        TPropInfo info;
        info.Name = name;
        info.Kind = TPropKind::Class;
        info.ClassKind = TClassPropKind::ComponentRef;
        info.TypeName = T::StaticClass().ClassName();
        info.PropClass = &T::StaticClass();
        info.GetObjectValue = [get](const TObject* o) -> TObject* { return const_cast<std::remove_const_t<T>*>(Detail::CallGet(get, o)); };
        info.SetObjectValue = [set](TObject* o, TObject* value) {
            T* typed = dynamic_cast<T*>(value);
            if (value && !typed) throw EPropertyError(L"Invalid property value");
            Detail::CallSet(set, o, typed);
        };
        info.StoredRule = [get](const TObject* o) { return Detail::CallGet(get, o) != nullptr; };
        return Add(std::move(info));
    }

    // An event held in a std::function data member of the class.
    template <class F, class C>
        requires(!std::is_function_v<F>)
    TPropertyList& Event(const wchar_t* name, F C::*field) {
        TPropInfo info;
        info.Name = name;
        info.Kind = TPropKind::Event;
        info.GetEvent = [field](const TObject* o) -> std::any {
            const F& handler = static_cast<const C*>(o)->*field;
            return handler ? std::any(handler) : std::any();
        };
        info.SetEvent = [field, name = std::wstring(name)](TObject* o, const std::any& handler) {
            F& target = static_cast<C*>(o)->*field;
            if (!handler.has_value()) { target = nullptr; return; }
            const F* typed = std::any_cast<F>(&handler);
            if (!typed) throw EPropertyError(L"The handler does not fit event " + name);
            target = *typed;
        };
        info.EventAssigned = [field](const TObject* o) { return bool(static_cast<const C*>(o)->*field); };
        return Add(std::move(info));
    }
    // An event read and written through member functions (getter returns the std::function).
    template <class Get, class Set>
    TPropertyList& Event(const wchar_t* name, Get get, Set set) {
        using F = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        TPropInfo info;
        info.Name = name;
        info.Kind = TPropKind::Event;
        info.GetEvent = [get](const TObject* o) -> std::any {
            F handler = Detail::CallGet(get, o);
            return handler ? std::any(handler) : std::any();
        };
        info.SetEvent = [set, name = std::wstring(name)](TObject* o, const std::any& handler) {
            if (!handler.has_value()) { Detail::CallSet(set, o, F()); return; }
            const F* typed = std::any_cast<F>(&handler);
            if (!typed) throw EPropertyError(L"The handler does not fit event " + name);
            Detail::CallSet(set, o, *typed);
        };
        info.EventAssigned = [get](const TObject* o) { return bool(Detail::CallGet(get, o)); };
        return Add(std::move(info));
    }

    // A handler a description may name: bound to an instance it becomes the
    // std::function of the member's own signature.
    template <class R, class C, class... A>
    TPropertyList& Method(const wchar_t* name, R (C::*method)(A...)) {
        FMethods.push_back({name,
                            [method](TObject* instance) -> std::any {
                                return std::any(Detail::BindMember(static_cast<C*>(instance), method));
                            },
                            [method](const std::any& handler) {
                                const auto* function = std::any_cast<std::function<R(A...)>>(&handler);
                                const auto* bound =
                                    function ? function->template target<Detail::TBoundMember<C, R, A...>>() : nullptr;
                                return bound && bound->Member == method;
                            }});
        return *this;
    }

private:
    // An enumeration or a set: an ordinal with the names of its values.
    template <class Get, class Set, class Names>
    TPropertyList& AddNamed(TPropKind kind, const wchar_t* name, const wchar_t* typeName, Get get, Set set,
                            const Names& names, int64_t defaultValue) {
        TPropInfo info = MakeOrdinal(name, kind, typeName, get, set);
        for (const wchar_t* value : names) info.ValueNames.emplace_back(value);
        info.OrdDefault = defaultValue;
        return Add(std::move(info));
    }
    template <class Get, class Set>
    static TPropInfo MakeOrdinal(const wchar_t* name, TPropKind kind, const wchar_t* typeName, Get get, Set set) {
        using V = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        TPropInfo info;
        info.Name = name;
        info.Kind = kind;
        info.TypeName = typeName;
        info.GetOrd = [get](const TObject* o) { return int64_t(Detail::CallGet(get, o)); };
        if constexpr (!std::is_null_pointer_v<Set>)
            info.SetOrd = [set](TObject* o, int64_t value) { Detail::CallSet(set, o, V(value)); };
        return info;
    }

    template <class Get, class Set>
    static TPropInfo MakeSimple(const wchar_t* name, Get get, Set set) {
        using V = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        if constexpr (std::is_same_v<V, bool>) {
            return MakeOrdinal(name, TPropKind::Boolean, L"Boolean", get, set);
        } else if constexpr (std::is_integral_v<V>) {
            return MakeOrdinal(name, TPropKind::Integer, sizeof(V) == 8 ? L"Int64" : L"Integer", get, set);
        } else if constexpr (std::is_floating_point_v<V>) {
            TPropInfo info;
            info.Name = name;
            info.Kind = TPropKind::Float;
            info.TypeName = sizeof(V) == sizeof(float) ? L"Single" : L"Double";
            info.GetFloat = [get](const TObject* o) { return double(Detail::CallGet(get, o)); };
            if constexpr (!std::is_null_pointer_v<Set>)
                info.SetFloat = [set](TObject* o, double value) { Detail::CallSet(set, o, V(value)); };
            return info;
        } else {
            static_assert(std::is_same_v<V, std::wstring>, "use Enum, SetOf, Colour, SubObject or Reference");
            TPropInfo info;
            info.Name = name;
            info.Kind = TPropKind::String;
            info.TypeName = L"String";
            info.GetString = [get](const TObject* o) { return std::wstring(Detail::CallGet(get, o)); };
            if constexpr (!std::is_null_pointer_v<Set>)
                info.SetString = [set](TObject* o, const std::wstring& value) { Detail::CallSet(set, o, value); };
            return info;
        }
    }

    template <class Get>
    static TPropInfo MakeOwned(const wchar_t* name, TClassPropKind kind, Get get) {
        using P = std::decay_t<decltype(Detail::CallGet(get, static_cast<const TObject*>(nullptr)))>;
        using T = std::remove_const_t<std::remove_pointer_t<P>>;
        TPropInfo info;
        info.Name = name;
        info.Kind = TPropKind::Class;
        info.ClassKind = kind;
        info.TypeName = T::StaticClass().ClassName();
        info.PropClass = &T::StaticClass();
        info.GetObjectValue = [get](const TObject* o) -> TObject* { return const_cast<T*>(Detail::CallGet(get, o)); };
        info.SetObjectValue = [get](TObject* o, TObject* value) {
            T* target = const_cast<T*>(Detail::CallGet(get, o));
            const TPersistent* source = dynamic_cast<const TPersistent*>(value);
            if (target) target->Assign(source);
        };
        return info;
    }

    TPropInfo* FindItem(const std::wstring& name);

    std::vector<TPropInfo> FItems;
    std::vector<TMethodInfo> FMethods;
};

// Look-ups on an object's class: each raises EPropertyError
// "Property <Name> does not exist in <Class>" when the name is unknown.
const TPropInfo& GetPropInfo(const TObject* object, const std::wstring& name);
int64_t GetOrdProp(const TObject* object, const std::wstring& name);
void SetOrdProp(TObject* object, const std::wstring& name, int64_t value);
double GetFloatProp(const TObject* object, const std::wstring& name);
void SetFloatProp(TObject* object, const std::wstring& name, double value);
std::wstring GetStrProp(const TObject* object, const std::wstring& name);
void SetStrProp(TObject* object, const std::wstring& name, const std::wstring& value);
TObject* GetObjectProp(const TObject* object, const std::wstring& name);
void SetObjectProp(TObject* object, const std::wstring& name, TObject* value);
void SetEventProp(TObject* object, const std::wstring& name, const std::any& handler);
// The named handler of `instance`'s class bound to it; an empty std::any when there is none.
std::any MethodAddress(TObject* instance, const std::wstring& methodName);
// The reverse: the name under which `cls` publishes the method that `handler` calls
// (bound by MethodAddress to any instance); empty when it publishes none.
std::wstring MethodName(const TClass& cls, const std::any& handler);

// Text forms used by descriptions: integers in decimal, Booleans "True"/"False",
// enumerations by value name, sets as "[a,b]", colours as numbers, floats with ".".
std::wstring GetPropText(const TObject* object, const TPropInfo& info);
void SetPropText(TObject* object, const TPropInfo& info, const std::wstring& text);

// Copies every published non-class, non-event property whose name both classes
// share from `source` to `dest` (how simple persistent classes implement Assign).
void CopyPublishedValues(const TObject* source, TObject* dest);

}  // namespace ClassLib
