#pragma once
// The object model: TObject with class identity and a class registry,
// TPersistent (Assign), TComponent (ownership, names, notifications).
//
// Every class that wants its own identity puts CLASSLIB_CLASS(TSelf, TParent) in its
// body (it leaves the access at private) and CLASSLIB_IMPLEMENT(TSelf, TParent) in its
// .cpp, inside the class's namespace. Classes that declare
// `static const TPropertyList& Published();` (Properties.h) expose published
// properties; those that do not inherit the parent's list. A component class with a
// public constructor taking the owner is also registered with a factory, so a window
// description can create it by name: FindClass(L"TPanel")->Create(owner).
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "classlib/Events.h"

namespace ClassLib {

class TObject;
class TComponent;
class TCollection;
class TPropertyList;

using THandle = void*;   // a Windows HANDLE, kept opaque so logic headers need no <windows.h>

// Class identity: one per class, made on first use and never freed.
class TClass {
public:
    using TFactory = TComponent* (*)(TComponent* owner);
    using TObjectFactory = TObject* (*)();
    using TPublished = const TPropertyList& (*)();

    TClass(const wchar_t* name, const TClass* parent, TPublished published, TFactory factory,
           TObjectFactory objectFactory = nullptr);
    const std::wstring& ClassName() const noexcept { return FName; }
    const TClass* ClassParent() const noexcept { return FParent; }
    // True for this class and every class derived from it.
    bool InheritsFrom(const TClass* ancestor) const noexcept;
    // The class's published properties, its ancestors' included.
    const TPropertyList& Published() const { return FPublished(); }
    // False when the class cannot be made from a name (abstract, or not a component).
    bool CanCreate() const noexcept { return FFactory != nullptr; }
    // Creates a component of this class owned by `owner`; raises EClassNotFound when it cannot.
    TComponent* Create(TComponent* owner) const;
    // Any object by class alone: a component without owner, a collection item without
    // collection, another class through its default constructor; false when abstract.
    bool CanCreateObject() const noexcept { return FObjectFactory != nullptr; }
    TObject* CreateObject() const;   // EClassNotFound when it cannot
private:
    std::wstring FName;
    const TClass* FParent;
    TPublished FPublished;
    TFactory FFactory;
    TObjectFactory FObjectFactory;
};

// The class registry: every class made with CLASSLIB_IMPLEMENT registers itself
// (the name avoids the RegisterClass macro of <windows.h>).
void RegisterClassType(const TClass& cls);
// Null when no class of that name is registered (the name compare ignores ASCII case).
// Of two classes with one name in different units, the first registered is found.
const TClass* GetClass(const std::wstring& name);
// Raises EClassNotFound "Class <name> not found" when it is missing.
const TClass& FindClass(const std::wstring& name);
// Every registered class, in name order. A class registers itself when its .cpp is
// linked in, which a static library does only for units the program refers to: so each
// area's registration (ClassLib::RegisterComponentClasses and its like) names its classes.
std::vector<const TClass*> RegisteredClasses();

namespace Detail {
template <class T>
TComponent* CreateComponent(TComponent* owner) { return new T(owner); }
template <class T>
constexpr TClass::TFactory FactoryOf() {
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*> &&
                  std::is_base_of_v<TComponent, T>)
        return &CreateComponent<T>;
    else
        return nullptr;
}
template <class T>
TObject* CreateObject() {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
        return new T(static_cast<TComponent*>(nullptr));
    else if constexpr (std::is_default_constructible_v<T>)
        return new T();
    else
        return new T(static_cast<TCollection*>(nullptr));   // a collection item
}
template <class T>
constexpr TClass::TObjectFactory ObjectFactoryOf() {
    if constexpr (std::is_abstract_v<T>)
        return nullptr;
    else if constexpr ((std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>) ||
                       std::is_default_constructible_v<T> || std::is_constructible_v<T, TCollection*>)
        return &CreateObject<T>;
    else
        return nullptr;
}
struct TRegistrar { explicit TRegistrar(const TClass& cls) { RegisterClassType(cls); } };
}  // namespace Detail

#define CLASSLIB_CLASS(TSelf, TParent)                                                   \
public:                                                                                  \
    static const ::ClassLib::TClass& StaticClass();                                      \
    const ::ClassLib::TClass& ClassType() const override { return StaticClass(); }       \
private:

#define CLASSLIB_IMPLEMENT(TSelf, TParent)                                                      \
    const ::ClassLib::TClass& TSelf::StaticClass() {                                            \
        static const ::ClassLib::TClass cls(L## #TSelf, &TParent::StaticClass(), &TSelf::Published, \
                                            ::ClassLib::Detail::FactoryOf<TSelf>(),             \
                                            ::ClassLib::Detail::ObjectFactoryOf<TSelf>());      \
        return cls;                                                                             \
    }                                                                                           \
    static const ::ClassLib::Detail::TRegistrar TSelf##_Registrar_(TSelf::StaticClass());

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const TClass& StaticClass();
    static const TPropertyList& Published();
    virtual const TClass& ClassType() const { return StaticClass(); }
    const std::wstring& ClassName() const { return ClassType().ClassName(); }
    bool InheritsFrom(const TClass& cls) const { return ClassType().InheritsFrom(&cls); }
    template <class T>
    bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// "Is or derives from" on a possibly null object.
template <class T>
T* As(TObject* object) { return dynamic_cast<T*>(object); }

// Interface query: true and `out` set when the object implements interface I.
template <class I>
bool Supports(TObject* object, I*& out) {
    out = dynamic_cast<I*>(object);
    return out != nullptr;
}
template <class I>
bool Supports(TObject* object) { return dynamic_cast<I*>(object) != nullptr; }

class TPersistent : public TObject {
    CLASSLIB_CLASS(TPersistent, TObject)
public:
    // Copies `source` into this object. The base asks the source's AssignTo; a pair
    // that neither side knows raises EAssignError "Cannot assign a X to a Y".
    virtual void Assign(const TPersistent* source);
    virtual std::wstring GetNamePath() const { return ClassName(); }
protected:
    virtual void AssignTo(TPersistent* dest) const;
    // The object that owns this one in a description (a collection's owner, ...).
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFreeNotification = 1u << 7,
};
using TComponentState = uint32_t;  // bits of TComponentStateFlag

class TComponent : public TPersistent {
    CLASSLIB_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // Name (never stored as a property: a description writes it apart) and Tag (default 0).
    static const TPropertyList& Published();

    TComponent* Owner() const noexcept { return FOwner; }
    int ComponentCount() const noexcept { return int(FComponents.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const std::wstring& name) const;

    const std::wstring& Name() const noexcept { return FName; }
    // Raises EComponentError when the name is not an identifier or a sibling has it.
    virtual void SetName(const std::wstring& name);
    intptr_t Tag() const noexcept { return FTag; }
    void SetTag(intptr_t tag) { FTag = tag; }
    std::wstring GetNamePath() const override { return FName; }

    TComponentState ComponentState() const noexcept { return FComponentState; }
    bool HasState(TComponentStateFlag flag) const noexcept { return (FComponentState & flag) != 0; }
    void SetDesigning(bool value, bool setChildren = true);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and its owned ones as being destroyed.
    void Destroying();

    // Asks `component` to tell this one when it is freed (and the other way round).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // The description reader brackets its work with these: loading state on, properties
    // applied, then Loaded (which clears the loading state).
    void BeginLoading();
    virtual void Loaded();
    // Reading state alone, for readers that apply stored values without a Loaded step
    // (settings read back from text): setters that derive one value from others wait.
    void SetReading(bool value) { SetComponentStateFlag(csReading, value); }
protected:
    // Insert and remove notices; the base forwards them to every owned component and
    // drops a removed component from the free-notification list.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, const std::wstring& currentName,
                                const std::wstring& newName);
    void SetComponentStateFlag(TComponentStateFlag flag, bool on);
private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;  // owned; freed last first
    std::vector<TComponent*> FFreeNotifies;  // not owned; each also lists this one
    std::wstring FName;
    intptr_t FTag = 0;
    TComponentState FComponentState = 0;
};

bool IsValidIdent(const std::wstring& name);

}  // namespace ClassLib
