#include "classlib/Object.h"

#include <algorithm>
#include <map>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"
#include "classlib/Strings.h"

namespace ClassLib {

namespace {
std::map<std::wstring, const TClass*>& ClassTable() {
    static std::map<std::wstring, const TClass*> table;
    return table;
}

// All registered classes, twins of one name included.
std::vector<const TClass*>& ClassList() {
    static std::vector<const TClass*> list;
    return list;
}
}  // namespace

// ---------------------------------------------------------------- TClass

TClass::TClass(const wchar_t* name, const TClass* parent, TPublished published, TFactory factory,
               TObjectFactory objectFactory)
    : FName(name), FParent(parent), FPublished(published), FFactory(factory), FObjectFactory(objectFactory) {}

TObject* TClass::CreateObject() const {
    if (!FObjectFactory) throw EClassNotFound(L"Class " + FName + L" cannot be created by name");
    return FObjectFactory();
}

bool TClass::InheritsFrom(const TClass* ancestor) const noexcept {
    for (const TClass* cls = this; cls; cls = cls->FParent)
        if (cls == ancestor) return true;
    return false;
}

TComponent* TClass::Create(TComponent* owner) const {
    if (!FFactory) throw EClassNotFound(L"Class " + FName + L" cannot be created by name");
    return FFactory(owner);
}

void RegisterClassType(const TClass& cls) {
    if (std::find(ClassList().begin(), ClassList().end(), &cls) != ClassList().end()) return;
    ClassList().push_back(&cls);
    ClassTable().emplace(UpperCase(cls.ClassName()), &cls);
}

const TClass* GetClass(const std::wstring& name) {
    const auto found = ClassTable().find(UpperCase(name));
    return found == ClassTable().end() ? nullptr : found->second;
}

const TClass& FindClass(const std::wstring& name) {
    if (const TClass* cls = GetClass(name)) return *cls;
    throw EClassNotFound(L"Class " + name + L" not found");
}

std::vector<const TClass*> RegisteredClasses() {
    std::vector<const TClass*> classes = ClassList();
    std::stable_sort(classes.begin(), classes.end(),
                     [](const TClass* a, const TClass* b) { return a->ClassName() < b->ClassName(); });
    return classes;
}

// ---------------------------------------------------------------- TObject

const TClass& TObject::StaticClass() {
    static const TClass cls(L"TObject", nullptr, &TObject::Published, nullptr, &Detail::CreateObject<TObject>);
    return cls;
}
static const Detail::TRegistrar TObject_Registrar_(TObject::StaticClass());

const TPropertyList& TObject::Published() {
    static const TPropertyList list;
    return list;
}

// ---------------------------------------------------------------- TPersistent

CLASSLIB_IMPLEMENT(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
    const std::wstring sourceName = source ? source->ClassName() : std::wstring(L"nil");
    throw EAssignError(L"Cannot assign a " + sourceName + L" to a " + ClassName());
}

// ---------------------------------------------------------------- TComponent

CLASSLIB_IMPLEMENT(TComponent, TPersistent)

bool IsValidIdent(const std::wstring& name) {
    if (name.empty()) return false;
    auto alpha = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_'; };
    if (!alpha(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](wchar_t c) { return alpha(c) || (c >= L'0' && c <= L'9'); });
}

const TPropertyList& TComponent::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"Name", &TComponent::Name, &TComponent::SetName)
        .Stored(L"Name", false)
        .Add(L"Tag", &TComponent::Tag, &TComponent::SetTag, 0);
    return list;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Whoever asked to hear of our end hears it now, and forgets us.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) RaiseListIndexError(index);
    return FComponents[size_t(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    const auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : int(found - list.begin());
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, name)) return component;
    return nullptr;
}

void TComponent::SetName(const std::wstring& name) {
    if (name == FName) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(L"Component name \"" + name + L"\" is not a valid identifier");
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    else
        ValidateRename(nullptr, FName, name);
    FName = name;
}

void TComponent::ValidateRename(TComponent* component, const std::wstring&, const std::wstring& newName) {
    if (!component || newName.empty()) return;
    TComponent* other = FindComponent(newName);
    if (other && other != component)
        throw EComponentError(L"A component named " + newName + L" already exists");
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    SetComponentStateFlag(csDesigning, value);
    if (setChildren)
        for (TComponent* component : FComponents) component->SetDesigning(value, true);
}

void TComponent::SetComponentStateFlag(TComponentStateFlag flag, bool on) {
    if (on)
        FComponentState |= flag;
    else
        FComponentState &= ~TComponentState(flag);
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    ValidateRename(component, std::wstring(), component->FName);
    Insert(component);
    if (HasState(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    const auto found = std::find(FComponents.begin(), FComponents.end(), component);
    if (found != FComponents.end()) FComponents.erase(found);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* component = FComponents.back();
        // Detach first, so its destructor does not look for itself in our list.
        Remove(component);
        delete component;
    }
}

void TComponent::Destroying() {
    if (HasState(csDestroying)) return;
    SetComponentStateFlag(csDestroying, true);
    for (TComponent* component : FComponents) component->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    auto& other = component->FFreeNotifies;
    if (std::find(other.begin(), other.end(), this) == other.end()) other.push_back(this);
    SetComponentStateFlag(csFreeNotification, true);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
    const auto found = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (found != FFreeNotifies.end()) FFreeNotifies.erase(found);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // A copy: a component may free others while it hears the notice.
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* child : owned)
        if (std::find(FComponents.begin(), FComponents.end(), child) != FComponents.end())
            child->Notification(component, operation);
}

void TComponent::BeginLoading() {
    SetComponentStateFlag(csLoading, true);
    SetComponentStateFlag(csReading, true);
}

void TComponent::Loaded() {
    SetComponentStateFlag(csLoading, false);
    SetComponentStateFlag(csReading, false);
}

}  // namespace ClassLib
