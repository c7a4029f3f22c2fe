#include "editor/AdvMemoUndo.h"

#include <atomic>
#include <new>
#include <utility>

namespace AdvMemo {

namespace {

// Freed steps wait here for the next one. Every step class fits a slot; a bound on the kept
// slots returns the memory of a mass release (a cleared list) to the heap.
constexpr std::size_t StepSlotSize = 128;
constexpr int KeptStepSlots = 256;

struct TFreeSlot {
    TFreeSlot* Next;
};

// Steps live on the main thread, but nothing stops another thread from making one: a lock
// that is never contended costs one exchange.
class TStepPool {
public:
    void* Take() {
        TLock lock(FBusy);
        TFreeSlot* slot = FHead;
        if (slot) {
            FHead = slot->Next;
            --FCount;
        }
        return slot;
    }
    bool Keep(void* block) {
        TLock lock(FBusy);
        if (FCount >= KeptStepSlots) return false;
        auto* slot = static_cast<TFreeSlot*>(block);
        slot->Next = FHead;
        FHead = slot;
        ++FCount;
        return true;
    }

private:
    class TLock {
    public:
        explicit TLock(std::atomic_flag& busy) : FBusy(busy) {
            while (FBusy.test_and_set(std::memory_order_acquire)) {
            }
        }
        ~TLock() { FBusy.clear(std::memory_order_release); }
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        std::atomic_flag& FBusy;
    };

    std::atomic_flag FBusy = ATOMIC_FLAG_INIT;
    TFreeSlot* FHead = nullptr;
    int FCount = 0;
};

// Never destroyed: a step freed during the program's exit still finds it. The kept slots go
// with the process.
TStepPool& StepPool() {
    static TStepPool* pool = new TStepPool();
    return *pool;
}

}  // namespace

void* TUndo::operator new(std::size_t size) {
    if (size > StepSlotSize) return ::operator new(size);
    if (void* slot = StepPool().Take()) return slot;
    return ::operator new(StepSlotSize);
}

void TUndo::operator delete(void* block, std::size_t size) noexcept {
    if (!block) return;
    if (size <= StepSlotSize && StepPool().Keep(block)) return;
    ::operator delete(block);
}

TUndo::TUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0)
    : FUndoCurX0(aCurX0), FUndoCurY0(aCurY0), FUndoCurX(aCurX), FUndoCurY(aCurY), FUndoText(aText) {}

bool TUndo::Append(TUndo*) { return false; }

// ---- the ring of steps

void TAdvUndoList::Grow() {
    std::vector<std::unique_ptr<TUndo>> ring(FRing.empty() ? 128 : FRing.size() * 2);
    for (int i = 0; i < FCount; ++i) ring[static_cast<size_t>(i)] = std::move(Slot(i));
    FRing.swap(ring);
    FHead = 0;
}

void TAdvUndoList::PushFront(std::unique_ptr<TUndo> item) {
    if (static_cast<size_t>(FCount) == FRing.size()) Grow();
    FHead = (FHead + FRing.size() - 1) & (FRing.size() - 1);
    FRing[FHead] = std::move(item);
    ++FCount;
}

void TAdvUndoList::PushBack(std::unique_ptr<TUndo> item) {
    if (static_cast<size_t>(FCount) == FRing.size()) Grow();
    Slot(FCount) = std::move(item);
    ++FCount;
}

void TAdvUndoList::PopFront() {
    Slot(0).reset();
    FHead = (FHead + 1) & (FRing.size() - 1);
    --FCount;
}

void TAdvUndoList::PopBack() {
    Slot(FCount - 1).reset();
    --FCount;
}

// ---- the list

TAdvUndoList::~TAdvUndoList() {
    while (FCount > 0) PopBack();
    FPos = 0;
}

void TAdvUndoList::UndoChange() {
    if (FWatcher) FWatcher->UndoStateChanged(FPos < Count(), FPos > 0);
}

int TAdvUndoList::Add(std::unique_ptr<TUndo> item) {
    if (FIsPerforming) return -1;
    // Only a step that is still on the undo side may absorb the new one.
    if (FCount > 0 && FPos == 0 && Slot(0)->Append(item.get())) return -1;
    for (; FPos > 0; --FPos) PopFront();
    PushFront(std::move(item));
    if (Count() > FLimit) PopBack();
    UndoChange();
    return 0;
}

void TAdvUndoList::InsertBelowNewest(std::unique_ptr<TUndo> item) {
    if (FCount == 0 || FIsPerforming) return;
    PushFront(std::move(item));
    std::swap(Slot(0), Slot(1));
}

void TAdvUndoList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    Slot(index).reset();
    for (int i = index; i + 1 < FCount; ++i) std::swap(Slot(i), Slot(i + 1));
    --FCount;
    if (FPos > Count()) FPos = Count();
}

void TAdvUndoList::Clear() {
    while (FCount > 0) PopBack();
    FPos = 0;
    UndoChange();
}

void TAdvUndoList::AppendCopies(const TAdvUndoList& other) {
    for (int i = 0; i < other.Count(); ++i) PushBack(other.Slot(i)->Clone());
}
void TAdvUndoList::SetLimit(int value) {
    if (value == FLimit) return;
    if (value < 1) value = 10;
    if (value > 100) value = 100;
    FLimit = value;
    Clear();
}

namespace {

bool IsModifiedStep(const TUndo& step) { return dynamic_cast<const TModifiedUndo*>(&step) != nullptr; }

}  // namespace

// The end of a replay is reported in a catch rather than from a scope's destructor: the
// watcher's work there reaches user handlers, which may throw.
void TAdvUndoList::Undo() {
    if (FPos >= Count() || !FWatcher) return;
    FIsPerforming = true;
    FWatcher->ReplayStarting(false);
    try {
        // A linked step takes the older one with it; chains of links are followed to their end.
        FWatcher->Replay(*Slot(FPos), false);
        while (Slot(FPos)->LinkedUndo() && FPos + 1 < Count()) {
            ++FPos;
            FWatcher->Replay(*Slot(FPos), false);
        }
        ++FPos;
        // A line-state step below the undone one belongs to it.
        if (FPos < Count() && IsModifiedStep(*Slot(FPos))) {
            FWatcher->Replay(*Slot(FPos), false);
            ++FPos;
        }
    } catch (...) {
        FWatcher->ReplayEnded(false, false);
        FIsPerforming = false;
        throw;
    }
    FWatcher->ReplayEnded(false, true);
    FIsPerforming = false;
    UndoChange();
}

void TAdvUndoList::Redo() {
    if (FPos <= 0 || !FWatcher) return;
    FIsPerforming = true;
    FWatcher->ReplayStarting(true);
    try {
        --FPos;
        const bool firstWasModified = IsModifiedStep(*Slot(FPos));
        FWatcher->Replay(*Slot(FPos), true);
        while (FPos > 0 && Slot(FPos - 1)->LinkedUndo()) {
            --FPos;
            FWatcher->Replay(*Slot(FPos), true);
        }
        if (firstWasModified && FPos > 0) {
            --FPos;
            FWatcher->Replay(*Slot(FPos), true);
        }
    } catch (...) {
        FWatcher->ReplayEnded(true, false);
        FIsPerforming = false;
        throw;
    }
    FWatcher->ReplayEnded(true, true);
    FIsPerforming = false;
    UndoChange();
}

}  // namespace AdvMemo
