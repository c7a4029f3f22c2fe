#include "editor/AdvMemoUndo.h"

#include "editor/AdvMemo.h"

namespace AdvMemo {

TUndo::TUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0)
    : FUndoCurX0(aCurX0), FUndoCurY0(aCurY0), FUndoCurX(aCurX), FUndoCurY(aCurY), FUndoText(aText) {}

bool TUndo::Append(TUndo*) { return false; }

void TUndo::Undo() {
    if (!Memo) return;
    Memo->DoJoin();
    if (FUndoCurY != -1) Memo->SetCursor(FUndoCurX, FUndoCurY);
    PerformUndo();
    if (FUndoCurY != -1) Memo->SetCursor(FUndoCurX0, FUndoCurY0);
    Memo->DoWrap();
}

void TUndo::Redo() {
    if (!Memo) return;
    Memo->DoJoin();
    if (FUndoCurY != -1) Memo->SetCursor(FUndoCurX0, FUndoCurY0);
    PerformRedo();
    if (FUndoCurY != -1) Memo->SetCursor(FUndoCurX, FUndoCurY);
    Memo->DoWrap();
}

namespace {

// Typing continues the previous step when it starts where that one left the caret.
template <class T>
bool AppendTyped(TUndo& self, TUndo* newUndo, int& curX, int& curY, std::wstring& text) {
    auto* typed = dynamic_cast<T*>(newUndo);
    if (!typed || typed->UndoCurX0() != curX || typed->UndoCurY0() != curY) return false;
    text += typed->UndoText();
    curX = typed->UndoCurX();
    curY = typed->UndoCurY();
    (void)self;
    return true;
}

void UndoTyped(TAdvCustomMemo& memo, const std::wstring& text) {
    for (int i = static_cast<int>(text.size()) - 1; i >= 0; --i) {
        const wchar_t c = text[i];
        const std::wstring line = memo.CurY() < memo.Lines()->Count() ? memo.Lines()->Get(memo.CurY()) : L"";
        const bool atLineStart = memo.CurX() == 0;
        const bool sameLeft = memo.CurX() > 0 && memo.CurX() <= static_cast<int>(line.size()) && line[memo.CurX() - 1] == c;
        if ((c == L'\r' && atLineStart) || sameLeft) memo.BackspaceKey();
    }
}

void RedoTyped(TAdvCustomMemo& memo, const std::wstring& text, bool markModified) {
    for (wchar_t c : text) {
        if (c == L'\r') {
            memo.NewLine();
            if (markModified) memo.SetLineModifiedInt(memo.CurY(), lmModified);
        } else {
            memo.InsertChar(c);
        }
    }
}

}  // namespace

bool TInsertCharUndo::Append(TUndo* newUndo) { return AppendTyped<TInsertCharUndo>(*this, newUndo, FUndoCurX, FUndoCurY, FUndoText); }
void TInsertCharUndo::PerformUndo() { UndoTyped(*Memo, FUndoText); }
void TInsertCharUndo::PerformRedo() { RedoTyped(*Memo, FUndoText, true); }

bool TNewLineUndo::Append(TUndo* newUndo) { return AppendTyped<TNewLineUndo>(*this, newUndo, FUndoCurX, FUndoCurY, FUndoText); }
void TNewLineUndo::PerformUndo() { UndoTyped(*Memo, FUndoText); }
void TNewLineUndo::PerformRedo() { RedoTyped(*Memo, FUndoText, false); }

namespace {

// Puts `stored` at (x, y) and hands back the character that was there.
void ExchangeChar(TAdvCustomMemo& memo, int x, int y, std::wstring& stored) {
    if (y < 0 || y >= memo.Lines()->Count() || stored.empty()) return;
    std::wstring line = memo.Lines()->Get(y);
    if (x < 0) return;
    if (x >= static_cast<int>(line.size())) line.resize(x + 1, L' ');
    const wchar_t old = line[x];
    line[x] = stored[0];
    stored = std::wstring(1, old);
    memo.Lines()->Put(y, line);
    memo.UpdateView();
}

}  // namespace

void TOverwriteCharUndo::PerformUndo() { ExchangeChar(*Memo, FUndoCurX, FUndoCurY, FUndoText); }
void TOverwriteCharUndo::PerformRedo() { ExchangeChar(*Memo, Memo->CurX(), Memo->CurY(), FUndoText); }

bool TDeleteCharUndo::Append(TUndo* newUndo) {
    auto* deleted = dynamic_cast<TDeleteCharUndo*>(newUndo);
    if (!deleted || deleted->FIsBackspace != FIsBackspace || deleted->UndoCurX0() != FUndoCurX || deleted->UndoCurY0() != FUndoCurY)
        return false;
    FUndoText = deleted->UndoText() + FUndoText;
    FUndoCurX = deleted->UndoCurX();
    FUndoCurY = deleted->UndoCurY();
    return true;
}

void TDeleteCharUndo::PerformUndo() {
    for (wchar_t c : FUndoText) {
        if (!FIsBackspace) Memo->SetCursor(FUndoCurX0, FUndoCurY0);
        if (c == L'\r') {
            Memo->NewLine();
        } else {
            Memo->InsertChar(c);
            Memo->Invalidate();
        }
    }
}

void TDeleteCharUndo::PerformRedo() {
    for (size_t i = 0; i < FUndoText.size(); ++i) {
        if (FIsBackspace) Memo->BackspaceKey();
        else Memo->DeleteChar(-1, -1);
    }
}

void TDeleteLineUndo::PerformUndo() {
    Memo->ClearSelection();
    switch (FKind) {
    case dlMiddle:
        Memo->InsertText(FUndoText + L"\r\n");
        break;
    case dlLast:
        Memo->SetCurXForced(static_cast<int>(Memo->Lines()->Get(Memo->CurY()).size()));
        Memo->ClearSelection();
        Memo->InsertText(L"\r\n" + FUndoText);
        break;
    case dlOnly:
        Memo->InsertText(FUndoText);
        break;
    }
}

void TDeleteLineUndo::PerformRedo() { Memo->DeleteLine(); }

void TDeleteBufUndo::PerformUndo() {
    Memo->ClearSelection();
    Memo->InsertText(FUndoText);
    Memo->SetFocus();
    Memo->SetSelStartX(FUndoSelStartX);
    Memo->SetSelStartY(FUndoSelStartY);
    Memo->SetSelEndX(FUndoSelEndX);
    Memo->SetSelEndY(FUndoSelEndY);
    Memo->DoSelectionChange();
}

void TDeleteBufUndo::PerformRedo() {
    Memo->SetSelStartX(FUndoSelStartX);
    Memo->SetSelStartY(FUndoSelStartY);
    Memo->SetSelEndX(FUndoSelEndX);
    Memo->SetSelEndY(FUndoSelEndY);
    Memo->DeleteSelectionCore(true);
}

void TModifiedUndo::PerformUndo() { Memo->SetLineModifiedInt(FLineIndex, lmUnmodified); }
void TModifiedUndo::PerformRedo() { Memo->SetLineModifiedInt(FLineIndex, lmModified); }

void TPasteUndo::PerformUndo() {
    Memo->SetSelStartX(FUndoCurX0);
    Memo->SetSelStartY(FUndoCurY0);
    Memo->SetSelEndX(FUndoCurX);
    Memo->SetSelEndY(FUndoCurY);
    Memo->DeleteSelectionCore(true);
}

void TPasteUndo::PerformRedo() {
    Memo->ClearSelection();
    Memo->InsertText(FUndoText);
}

void TInsertOverwriteUndo::PerformUndo() { Memo->SetOverwrite(FInsertMode); }
void TInsertOverwriteUndo::PerformRedo() { Memo->SetOverwrite(!FInsertMode); }

void TIndentUndo::PerformUndo() {
    Memo->BlockIndent(FSelRowFrom, FSelRowTo, false, -FIndent);
    Memo->SetCursor(FUndoCurX0, FUndoCurY0);
}

void TIndentUndo::PerformRedo() {
    Memo->BlockIndent(FSelRowFrom, FSelRowTo, false, FIndent);
    Memo->SetCursor(FUndoCurX0, FUndoCurY0);
}

void TCorrectUndo::Exchange() {
    const int line = FUndoCurY;
    if (line < 0 || line >= Memo->Lines()->Count()) return;
    Memo->SetCursor(0, line);
    const std::wstring current = Memo->Lines()->Get(line);
    Memo->Lines()->Put(line, FUndoText);
    FUndoText = current;
    Memo->UpdateView();
}

void TCorrectUndo::PerformUndo() { Exchange(); }
void TCorrectUndo::PerformRedo() { Exchange(); }

// ---- the list

TAdvUndoList::~TAdvUndoList() {
    FItems.clear();
    FPos = 0;
}

void TAdvUndoList::UndoChange() {
    if (FMemo && !FMemo->IsDestroying()) FMemo->DoUndoChange(FPos < Count(), FPos > 0);
}

void TAdvUndoList::SetMemo(TAdvCustomMemo* memo) {
    FMemo = memo;
    for (auto& item : FItems) item->Memo = memo;
}

int TAdvUndoList::Add(std::unique_ptr<TUndo> item) {
    if (FIsPerforming) return -1;
    // Only a step that is still on the undo side may absorb the new one.
    if (!FItems.empty() && FPos == 0 && FItems.front()->Append(item.get())) return -1;
    item->Memo = FMemo;
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
    item->Memo = FMemo;
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
    for (const auto& item : other.FItems) {
        auto copy = item->Clone();
        copy->Memo = FMemo;
        FItems.push_back(std::move(copy));
    }
}

void TAdvUndoList::SetLimit(int value) {
    if (value == FLimit) return;
    if (value < 1) value = 10;
    if (value > 100) value = 100;
    FLimit = value;
    Clear();
}

void TAdvUndoList::Undo() {
    if (FPos >= Count() || !FMemo) return;
    TAdvCustomMemo& memo = *FMemo;
    auto savedOnChange = memo.OnChange;
    memo.OnChange = nullptr;
    const bool autoIndent = memo.AutoIndent();
    memo.SetAutoIndent(false);
    FIsPerforming = true;
    try {
        TUndo* step = FItems[FPos].get();
        step->Undo();
        if (step->LinkedUndo() && FPos + 1 < Count()) {
            ++FPos;
            FItems[FPos]->Undo();
        }
        ++FPos;
        if (FPos < Count() && dynamic_cast<TModifiedUndo*>(FItems[FPos].get())) {
            FItems[FPos]->Undo();
            ++FPos;
        }
    } catch (...) {
        memo.OnChange = savedOnChange;
        FIsPerforming = false;
        memo.SetAutoIndent(autoIndent);
        throw;
    }
    memo.OnChange = savedOnChange;
    memo.UpdateView();
    FIsPerforming = false;
    memo.SetAutoIndent(autoIndent);
    UndoChange();
}

void TAdvUndoList::Redo() {
    if (FPos <= 0 || !FMemo) return;
    TAdvCustomMemo& memo = *FMemo;
    const bool autoIndent = memo.AutoIndent();
    memo.SetAutoIndent(false);
    FIsPerforming = true;
    try {
        --FPos;
        const bool firstWasModified = dynamic_cast<TModifiedUndo*>(FItems[FPos].get()) != nullptr;
        FItems[FPos]->Redo();
        if (FPos > 0 && FItems[FPos - 1]->LinkedUndo()) {
            --FPos;
            FItems[FPos]->Redo();
        }
        if (firstWasModified && FPos > 0) {
            --FPos;
            FItems[FPos]->Redo();
        }
    } catch (...) {
        FIsPerforming = false;
        memo.SetAutoIndent(autoIndent);
        throw;
    }
    FIsPerforming = false;
    memo.SetAutoIndent(autoIndent);
    UndoChange();
    memo.ControlChanged();
}

}  // namespace AdvMemo
