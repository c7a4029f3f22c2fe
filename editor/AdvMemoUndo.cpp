#include "editor/AdvMemoUndo.h"

namespace AdvMemo {

TUndo::TUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0)
    : FUndoCurX0(aCurX0), FUndoCurY0(aCurY0), FUndoCurX(aCurX), FUndoCurY(aCurY), FUndoText(aText) {}

bool TUndo::Append(TUndo*) { return false; }

// ---- the list

TAdvUndoList::~TAdvUndoList() {
    FItems.clear();
    FPos = 0;
}

void TAdvUndoList::UndoChange() {
    if (FWatcher) FWatcher->UndoStateChanged(FPos < Count(), FPos > 0);
}

int TAdvUndoList::Add(std::unique_ptr<TUndo> item) {
    if (FIsPerforming) return -1;
    // Only a step that is still on the undo side may absorb the new one.
    if (!FItems.empty() && FPos == 0 && FItems.front()->Append(item.get())) return -1;
    if (FPos > 0) {
        FItems.erase(FItems.begin(), FItems.begin() + FPos);
        FPos = 0;
    }
    FItems.insert(FItems.begin(), std::move(item));
    if (Count() > FLimit) FItems.pop_back();
    UndoChange();
    return 0;
}

void TAdvUndoList::InsertBelowNewest(std::unique_ptr<TUndo> item) {
    if (FItems.empty() || FIsPerforming) return;
    FItems.insert(FItems.begin() + 1, std::move(item));
}

void TAdvUndoList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
    if (FPos > Count()) FPos = Count();
}

void TAdvUndoList::Clear() {
    FItems.clear();
    FPos = 0;
    UndoChange();
}

void TAdvUndoList::AppendCopies(const TAdvUndoList& other) {
    for (const auto& item : other.FItems) FItems.push_back(item->Clone());
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
        FWatcher->Replay(*FItems[FPos], false);
        while (FItems[FPos]->LinkedUndo() && FPos + 1 < Count()) {
            ++FPos;
            FWatcher->Replay(*FItems[FPos], false);
        }
        ++FPos;
        // A line-state step below the undone one belongs to it.
        if (FPos < Count() && IsModifiedStep(*FItems[FPos])) {
            FWatcher->Replay(*FItems[FPos], false);
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
        const bool firstWasModified = IsModifiedStep(*FItems[FPos]);
        FWatcher->Replay(*FItems[FPos], true);
        while (FPos > 0 && FItems[FPos - 1]->LinkedUndo()) {
            --FPos;
            FWatcher->Replay(*FItems[FPos], true);
        }
        if (firstWasModified && FPos > 0) {
            --FPos;
            FWatcher->Replay(*FItems[FPos], true);
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
