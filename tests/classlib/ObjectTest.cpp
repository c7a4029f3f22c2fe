#include "classlib/Object.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classlib/Exceptions.h"

using namespace ClassLib;

namespace {
// Records every notice it hears, so the tests can see who was told what.
class TListener : public TComponent {
    CLASSLIB_CLASS(TListener, TComponent)
public:
    using TComponent::TComponent;
    ~TListener() override { if (FDestroyed) ++*FDestroyed; }
    struct TNotice { TComponent* Component; TOperation Operation; };
    std::vector<TNotice> Notices;
    int* FDestroyed = nullptr;
    bool WasLoaded = false;
    void Loaded() override {
        TComponent::Loaded();
        WasLoaded = true;
    }
protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        Notices.push_back({component, operation});
    }
};
CLASSLIB_IMPLEMENT(TListener, TComponent)

class TPoint2 : public TPersistent {
    CLASSLIB_CLASS(TPoint2, TPersistent)
public:
    int X = 0;
    void Assign(const TPersistent* source) override {
        if (const TPoint2* other = dynamic_cast<const TPoint2*>(source)) {
            X = other->X;
            return;
        }
        TPersistent::Assign(source);
    }
};
CLASSLIB_IMPLEMENT(TPoint2, TPersistent)

bool Heard(const TListener& listener, TComponent* component, TOperation operation) {
    for (const auto& notice : listener.Notices)
        if (notice.Component == component && notice.Operation == operation) return true;
    return false;
}
}  // namespace

TEST(ClassIdentity, NamesParentsAndRegistry) {
    TListener listener(nullptr);
    EXPECT_EQ(listener.ClassName(), L"TListener");
    EXPECT_EQ(listener.ClassType().ClassParent(), &TComponent::StaticClass());
    EXPECT_TRUE(listener.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(TPersistent::StaticClass().InheritsFrom(&TComponent::StaticClass()));

    EXPECT_EQ(GetClass(L"tlistener"), &TListener::StaticClass());
    EXPECT_EQ(GetClass(L"TNoSuchClass"), nullptr);
    EXPECT_THROW(FindClass(L"TNoSuchClass"), EClassNotFound);
    EXPECT_FALSE(FindClass(L"TPoint2").CanCreate());   // not a component...
    std::unique_ptr<TObject> point(FindClass(L"TPoint2").CreateObject());   // ...but an object
    EXPECT_EQ(point->ClassName(), L"TPoint2");
    std::unique_ptr<TObject> ownerless(FindClass(L"TListener").CreateObject());
    EXPECT_EQ(static_cast<TComponent*>(ownerless.get())->Owner(), nullptr);

    TComponent owner(nullptr);
    TComponent* made = FindClass(L"TListener").Create(&owner);
    EXPECT_EQ(made->ClassName(), L"TListener");
    EXPECT_EQ(made->Owner(), &owner);
}

TEST(Persistent, AssignCopiesKnownPairsAndRejectsOthers) {
    TPoint2 a, b;
    b.X = 7;
    a.Assign(&b);
    EXPECT_EQ(a.X, 7);
    TComponent component(nullptr);
    try {
        a.Assign(&component);
        FAIL() << "no assign error";
    } catch (const EAssignError& error) {
        EXPECT_EQ(error.Message(), L"Cannot assign a TComponent to a TPoint2");
    }
}

TEST(ComponentOwnership, OwnerFreesWhatItOwnsAndHearsRemovals) {
    int destroyed = 0;
    auto* owner = new TListener(nullptr);
    auto* first = new TListener(owner);
    auto* second = new TListener(owner);
    first->FDestroyed = second->FDestroyed = &destroyed;
    first->SetName(L"First");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent(L"FIRST"), first);
    EXPECT_EQ(second->ComponentIndex(), 1);
    EXPECT_TRUE(Heard(*owner, second, opInsert));
    // The owner broadcasts: a sibling hears of the insert too.
    EXPECT_TRUE(Heard(*first, second, opInsert));

    delete first;   // a freed component leaves its owner, which tells the rest
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_TRUE(Heard(*second, first, opRemove));

    delete owner;
    EXPECT_EQ(destroyed, 2);
}

TEST(ComponentOwnership, NamesMustBeIdentifiersAndUniqueAmongSiblings) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName(L"Button1");
    EXPECT_THROW(b->SetName(L"button1"), EComponentError);
    EXPECT_THROW(b->SetName(L"1st"), EComponentError);
    b->SetName(L"_Button2");
    EXPECT_EQ(b->Name(), L"_Button2");
}

TEST(ComponentOwnership, FreeNotificationReachesComponentsOfOtherOwners) {
    TListener formA(nullptr), formB(nullptr);
    auto* watcher = new TListener(&formA);
    auto* watched = new TListener(&formB);
    auto* alsoWatched = new TListener(&formB);
    watched->FreeNotification(watcher);
    alsoWatched->FreeNotification(watcher);
    alsoWatched->RemoveFreeNotification(watcher);

    delete watched;
    EXPECT_TRUE(Heard(*watcher, watched, opRemove));
    delete alsoWatched;
    EXPECT_FALSE(Heard(*watcher, alsoWatched, opRemove));

    // The other way round: the watcher goes first; the watched must forget it
    // (or it would tell a freed object later).
    auto* late = new TListener(&formB);
    late->FreeNotification(watcher);
    delete watcher;
    delete late;   // must not touch the freed watcher
    SUCCEED();
}

TEST(ComponentState, LoadingEndsWithLoadedAndDestroyingIsMarked) {
    TListener owner(nullptr);
    auto* child = new TListener(&owner);
    child->BeginLoading();
    EXPECT_TRUE(child->HasState(csLoading));
    child->Loaded();
    EXPECT_TRUE(child->WasLoaded);
    EXPECT_FALSE(child->HasState(csLoading));
    owner.Destroying();
    EXPECT_TRUE(child->HasState(csDestroying));
}

namespace {
struct IGreeter { virtual std::wstring Greet() = 0; virtual ~IGreeter() = default; };
class TGreeter : public TComponent, public IGreeter {
public:
    using TComponent::TComponent;
    std::wstring Greet() override { return L"hi"; }
};
}  // namespace

TEST(ComponentInterfaces, SupportsFindsImplementedInterfaces) {
    TGreeter greeter(nullptr);
    TComponent plain(nullptr);
    IGreeter* found = nullptr;
    ASSERT_TRUE(Supports<IGreeter>(&greeter, found));
    EXPECT_EQ(found->Greet(), L"hi");
    EXPECT_FALSE(Supports<IGreeter>(&plain));
}
