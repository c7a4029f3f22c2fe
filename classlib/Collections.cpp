#include "classlib/Collections.h"

#include <algorithm>

#include "classlib/Exceptions.h"
#include "classlib/Lists.h"
#include "classlib/UpdateScope.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TList, TObject)
CLASSLIB_IMPLEMENT(TObjectList, TList)

// ---------------------------------------------------------------- TCollectionItem

CLASSLIB_IMPLEMENT(TCollectionItem, TPersistent)

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    const auto found = std::find(items.begin(), items.end(), this);
    return found == items.end() ? -1 : int(found - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    const int current = Index();
    if (current < 0 || index == current) return;
    auto& items = FCollection->FItems;
    if (index < 0) index = 0;
    if (index >= int(items.size())) index = int(items.size()) - 1;
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

std::wstring TCollectionItem::GetNamePath() const {
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + L"[" + std::to_wstring(Index()) + L"]";
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool allItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// ---------------------------------------------------------------- TCollection

CLASSLIB_IMPLEMENT(TCollection, TPersistent)

TCollection::TCollection(TCollectionItemFactory factory) : FFactory(factory) {}

TCollection::~TCollection() {
    FUpdateCount = 1;  // no change notices while going
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FItems[size_t(index)];
}

void TCollection::SetItems(int index, const TCollectionItem* value) { Items(index)->Assign(value); }

TCollectionItem* TCollection::Add() {
    // The item's base constructor inserts it; the change is reported only once the whole
    // item exists, as an owner that repaints on it would read the derived item's fields
    // before they were built.
    const TUpdateScope<TCollection> scope(*this);
    return FFactory(this);
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    TUpdateScope update(*this);
    while (!FItems.empty()) {
        TCollectionItem* item = FItems.back();
        Notify(item, cnDeleting);
        delete item;
    }
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* source) {
    if (const TCollection* other = dynamic_cast<const TCollection*>(source)) {
        if (other == this) return;
        TUpdateScope update(*this);
        Clear();
        for (TCollectionItem* item : other->FItems) Add()->Assign(item);
        return;
    }
    TPersistent::Assign(source);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
    if (FUpdateCount == 0) return;
    --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

std::wstring TCollection::GetNamePath() const {
    const TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    return owner->GetNamePath() + L"." + ClassName();
}

const TClass* TCollection::ItemClass() const {
    // The factory is the one place that knows the class; ask a throw-away item.
    TCollectionItem* probe = FFactory(nullptr);
    const TClass* cls = &probe->ClassType();
    delete probe;
    return cls;
}

void TCollection::InsertItem(TCollectionItem* item) {
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    const auto found = std::find(FItems.begin(), FItems.end(), item);
    if (found == FItems.end()) return;
    if (found + 1 == FItems.end()) FItems.pop_back();
    else FItems.erase(found);
    item->FCollection = nullptr;
    Changed();
}

// ---------------------------------------------------------------- TOwnedCollection

CLASSLIB_IMPLEMENT(TOwnedCollection, TCollection)

}  // namespace ClassLib
