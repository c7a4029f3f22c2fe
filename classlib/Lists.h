#pragma once
// Pointer lists: TList of untyped pointers (pointer-sized values may be stored
// directly), TObjectList that may own its objects, and the typed TObjectListOf<T>.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Object.h"

namespace ClassLib {

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

class TList : public TObject {
    CLASSLIB_CLASS(TList, TObject)
public:
    TList() = default;
    ~TList() override { ClearItems(); }

    int Count() const noexcept { return int(FItems.size()); }
    void* Items(int index) const { return FItems[size_t(CheckIndex(index))]; }
    void SetItems(int index, void* item) {
        void*& slot = FItems[size_t(CheckIndex(index))];
        if (slot == item) return;
        void* old = slot;
        slot = item;
        if (old) Notify(old, lnDeleted);
        if (item) Notify(item, lnAdded);
    }
    void* operator[](int index) const { return Items(index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item) {
        FItems.push_back(item);
        if (item) Notify(item, lnAdded);
        return Count() - 1;
    }
    void Insert(int index, void* item) {
        if (index < 0 || index > Count()) RaiseListIndexError(index);
        FItems.insert(FItems.begin() + index, item);
        if (item) Notify(item, lnAdded);
    }
    void Delete(int index) {
        void* item = FItems[size_t(CheckIndex(index))];
        FItems.erase(FItems.begin() + index);
        if (item) Notify(item, lnDeleted);
    }
    // Removes the first occurrence; its former index, or -1.
    int Remove(void* item) {
        const int index = IndexOf(item);
        if (index >= 0) Delete(index);
        return index;
    }
    // Takes the item out without the owner's delete; null when absent.
    void* Extract(void* item) {
        const int index = IndexOf(item);
        if (index < 0) return nullptr;
        FItems.erase(FItems.begin() + index);
        Notify(item, lnExtracted);
        return item;
    }
    int IndexOf(const void* item) const {
        const auto found = std::find(FItems.begin(), FItems.end(), item);
        return found == FItems.end() ? -1 : int(found - FItems.begin());
    }
    void Exchange(int index1, int index2) {
        std::swap(FItems[size_t(CheckIndex(index1))], FItems[size_t(CheckIndex(index2))]);
    }
    void Move(int currentIndex, int newIndex) {
        if (currentIndex == newIndex) return;
        CheckIndex(currentIndex);
        CheckIndex(newIndex);
        const auto from = FItems.begin() + currentIndex, to = FItems.begin() + newIndex;
        if (currentIndex < newIndex)
            std::rotate(from, from + 1, to + 1);
        else
            std::rotate(to, from, from + 1);
    }
    virtual void Clear() { ClearItems(); }
    // `compare` returns <0, 0 or >0 like a three-way comparison.
    void Sort(const std::function<int(void*, void*)>& compare) {
        std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
    }
    // Removes null entries.
    void Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

protected:
    virtual void Notify(void* /*item*/, TListNotification /*action*/) {}
    int CheckIndex(int index) const {
        if (index < 0 || index >= Count()) RaiseListIndexError(index);
        return index;
    }

private:
    void ClearItems() {
        // From the end: Notify of an owning list frees each item once.
        while (!FItems.empty()) {
            void* item = FItems.back();
            FItems.pop_back();
            if (item) Notify(item, lnDeleted);
        }
    }
    std::vector<void*> FItems;
};

class TObjectList : public TList {
    CLASSLIB_CLASS(TObjectList, TList)
public:
    explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    ~TObjectList() override { Clear(); }
    TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
    TObject* operator[](int index) const { return Items(index); }
    int Add(TObject* object) { return TList::Add(object); }
    void Insert(int index, TObject* object) { TList::Insert(index, object); }
    int IndexOf(const TObject* object) const { return TList::IndexOf(object); }
    int Remove(TObject* object) { return TList::Remove(object); }
    TObject* Extract(TObject* object) { return static_cast<TObject*>(TList::Extract(object)); }
    bool OwnsObjects() const noexcept { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }
protected:
    void Notify(void* item, TListNotification action) override {
        if (FOwnsObjects && action == lnDeleted) delete static_cast<TObject*>(item);
    }
private:
    bool FOwnsObjects;
};

// A typed object list for classes derived from TObject.
template <class T>
class TObjectListOf : public TObjectList {
public:
    using TObjectList::TObjectList;
    T* Items(int index) const { return static_cast<T*>(TObjectList::Items(index)); }
    T* operator[](int index) const { return Items(index); }
};

}  // namespace ClassLib
