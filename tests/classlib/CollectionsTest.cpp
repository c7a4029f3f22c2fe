#include "classlib/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Lists.h"

using namespace ClassLib;

namespace {
class TStop : public TCollectionItem {
    CLASSLIB_CLASS(TStop, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    double Offset = 0;
    void SetOffset(double value) {
        Offset = value;
        Changed(false);
    }
    std::wstring GetDisplayName() const override { return L"stop"; }
    void Assign(const TPersistent* source) override {
        if (const TStop* other = dynamic_cast<const TStop*>(source)) {
            Offset = other->Offset;
            return;
        }
        TCollectionItem::Assign(source);
    }
};
CLASSLIB_IMPLEMENT(TStop, TCollectionItem)

// Counts the notices an owner would act on.
class TStops : public TOwnedCollection {
public:
    explicit TStops(TPersistent* owner) : TOwnedCollection(owner, &CreateCollectionItem<TStop>) {}
    TStop* Items(int index) const { return static_cast<TStop*>(TOwnedCollection::Items(index)); }
    int WholeUpdates = 0;
    std::vector<TCollectionItem*> ItemUpdates;
protected:
    void Update(TCollectionItem* item) override {
        if (item) ItemUpdates.push_back(item);
        else ++WholeUpdates;
    }
};

class TCounted : public TObject {
public:
    explicit TCounted(int& alive) : FAlive(alive) { ++FAlive; }
    ~TCounted() override { --FAlive; }
private:
    int& FAlive;
};
}  // namespace

TEST(Collection, ItemsOfTheChosenClassWithIndexesAndNotices) {
    TComponent owner(nullptr);
    TStops stops(&owner);
    EXPECT_EQ(stops.ItemClass(), &TStop::StaticClass());
    EXPECT_EQ(stops.Owner(), &owner);
    auto* first = static_cast<TStop*>(stops.Add());
    auto* second = static_cast<TStop*>(stops.Add());
    auto* inserted = static_cast<TStop*>(stops.Insert(0));
    EXPECT_EQ(stops.Count(), 3);
    EXPECT_EQ(inserted->Index(), 0);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(second->ID(), 1);
    EXPECT_EQ(stops.FindItemID(1), second);
    EXPECT_EQ(first->GetDisplayName(), L"stop");
    EXPECT_GT(stops.WholeUpdates, 0);

    first->SetOffset(0.5);
    ASSERT_EQ(stops.ItemUpdates.size(), 1u);
    EXPECT_EQ(stops.ItemUpdates[0], first);

    const int before = stops.WholeUpdates;
    stops.BeginUpdate();
    first->SetOffset(0.7);
    stops.Delete(0);
    stops.EndUpdate();
    EXPECT_EQ(stops.ItemUpdates.size(), 1u);        // nothing inside the update...
    EXPECT_EQ(stops.WholeUpdates, before + 1);       // ...and one notice at its end
    EXPECT_EQ(stops.Count(), 2);
    EXPECT_THROW(stops.Items(2), EListError);

    delete second;   // an item freed directly leaves its collection
    EXPECT_EQ(stops.Count(), 1);
}

TEST(Collection, AssignCopiesItemByItem) {
    TStops source(nullptr), target(nullptr);
    static_cast<TStop*>(source.Add())->Offset = 0.25;
    static_cast<TStop*>(source.Add())->Offset = 0.75;
    target.Add();
    target.Add();
    target.Add();
    target.Assign(&source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Items(1)->Offset, 0.75);
    EXPECT_NE(target.Items(1), source.Items(1));
}

TEST(ObjectList, OwnsOnlyWhenToldAndExtractHandsBack) {
    int alive = 0;
    {
        TObjectList owning;
        owning.Add(new TCounted(alive));
        auto* kept = new TCounted(alive);
        owning.Add(kept);
        owning.Add(new TCounted(alive));
        owning.Delete(0);
        EXPECT_EQ(alive, 2);
        EXPECT_EQ(owning.Extract(kept), kept);
        EXPECT_EQ(owning.Count(), 1);
        delete kept;
    }
    EXPECT_EQ(alive, 0);

    TCounted stays(alive);
    {
        TObjectList borrowing(false);
        borrowing.Add(&stays);
    }
    EXPECT_EQ(alive, 1);
}

TEST(PointerList, StoresValuesAndChecksIndexes) {
    TList list;
    list.Add(reinterpret_cast<void*>(intptr_t(3)));
    list.Add(reinterpret_cast<void*>(intptr_t(1)));
    list.Insert(0, reinterpret_cast<void*>(intptr_t(2)));
    list.Sort([](void* a, void* b) { return int(intptr_t(a) - intptr_t(b)); });
    EXPECT_EQ(intptr_t(list[0]), 1);
    EXPECT_EQ(intptr_t(list[2]), 3);
    EXPECT_EQ(list.IndexOf(reinterpret_cast<void*>(intptr_t(2))), 1);
    list.Move(0, 2);
    EXPECT_EQ(intptr_t(list.Last()), 1);
    EXPECT_EQ(list.Remove(reinterpret_cast<void*>(intptr_t(9))), -1);
    try {
        list.Items(5);
        FAIL() << "no list error";
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message(), L"List index out of bounds (5)");
    }
}

namespace {
// Items whose own constructor has run to the end: kept beside them, as a half-built
// item's derived fields may not be read.
std::vector<const TCollectionItem*> FinishedItems;

class TBuiltItem : public TCollectionItem {
    CLASSLIB_CLASS(TBuiltItem, TCollectionItem)
public:
    explicit TBuiltItem(TCollection* collection) : TCollectionItem(collection) { FinishedItems.push_back(this); }
};
CLASSLIB_IMPLEMENT(TBuiltItem, TCollectionItem)

// Notes, at every whole-collection notice, whether the newest item was whole by then.
class TWatchedItems : public TCollection {
public:
    TWatchedItems() : TCollection(&CreateCollectionItem<TBuiltItem>) {}
    std::vector<bool> WholeAtNotice;
protected:
    void Update(TCollectionItem* item) override {
        if (item || Count() == 0) return;
        const TCollectionItem* newest = Items(Count() - 1);
        WholeAtNotice.push_back(std::find(FinishedItems.begin(), FinishedItems.end(), newest) != FinishedItems.end());
    }
};
}  // namespace

// An owner repainting on the notice of an added item (a status bar drawing its panels) must
// meet the whole item, not one whose derived fields are not built yet.
TEST(Collection, AnAddedItemIsReportedOnceItIsWhole) {
    TWatchedItems items;
    items.Add();
    items.Add();
    EXPECT_EQ(items.WholeAtNotice, (std::vector<bool>{true, true}));
    FinishedItems.clear();
}
