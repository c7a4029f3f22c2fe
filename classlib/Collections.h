#pragma once
// Collections: lists of persistent items of one class chosen by the collection,
// with change notices that an owner (a component) listens to.
#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

class TCollection;

class TCollectionItem : public TPersistent {
    CLASSLIB_CLASS(TCollectionItem, TPersistent)
public:
    // Adds itself to `collection` when one is given.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const noexcept { return FCollection; }
    // Moves the item into another collection (or none).
    void SetCollection(TCollection* collection);
    int ID() const noexcept { return FID; }
    int Index() const;
    void SetIndex(int index);
    // The class name unless a derived class says better.
    virtual std::wstring GetDisplayName() const { return ClassName(); }
    std::wstring GetNamePath() const override;
protected:
    TPersistent* GetOwner() const override;
    // Tells the collection this item changed (all items when `allItems`).
    void Changed(bool allItems);
private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Makes a new item of the collection's item class inside `collection`.
using TCollectionItemFactory = TCollectionItem* (*)(TCollection* collection);

template <class T>
TCollectionItem* CreateCollectionItem(TCollection* collection) { return new T(collection); }

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
    CLASSLIB_CLASS(TCollection, TPersistent)
public:
    // Items are made by `factory` (CreateCollectionItem<TMyItem>); the collection owns them.
    explicit TCollection(TCollectionItemFactory factory = &CreateCollectionItem<TCollectionItem>);
    ~TCollection() override;

    int Count() const noexcept { return int(FItems.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* operator[](int index) const { return Items(index); }
    // Copies the given item into the one at `index` (Assign).
    void SetItems(int index, const TCollectionItem* value);
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    // Same count and each item assigned from the source's item of that index.
    void Assign(const TPersistent* source) override;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const noexcept { return FUpdateCount; }
    TPersistent* Owner() const { return GetOwner(); }
    std::wstring GetNamePath() const override;
    const TClass* ItemClass() const;

protected:
    // `item` changed, or null when the whole collection did; outside an update only.
    virtual void Update(TCollectionItem* item) { (void)item; }
    virtual void Notify(TCollectionItem* item, TCollectionNotification action) { (void)item; (void)action; }
    void Changed();
    TCollectionItemFactory Factory() const noexcept { return FFactory; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TCollectionItemFactory FFactory;
    std::vector<TCollectionItem*> FItems;   // owned
    int FNextID = 0;
    int FUpdateCount = 0;
};

// A collection that knows its owner (the component or object it belongs to).
class TOwnedCollection : public TCollection {
    CLASSLIB_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TCollectionItemFactory factory)
        : TCollection(factory), FOwner(owner) {}
protected:
    TPersistent* GetOwner() const override { return FOwner; }
private:
    TPersistent* FOwner;
};

}  // namespace ClassLib
