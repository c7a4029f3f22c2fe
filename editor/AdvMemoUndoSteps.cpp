// The undo steps on the memo's text: each reverses or repeats its edit with the memo's own
// editing commands.
#include "editor/AdvMemoUndo.h"

#include "editor/AdvMemo.h"

namespace AdvMemo {

void TUndo::Undo(TAdvCustomMemo& memo) {
    memo.DoJoin();
    int x = 0, y = 0;
    if (FUndoCurY != -1) {
        PosAfter(x, y);
        memo.SetCursor(x, y);
    }
    PerformUndo(memo);
    if (FUndoCurY != -1) {
        PosBefore(x, y);
        memo.SetCursor(x, y);
    }
    memo.DoWrap();
}

void TUndo::Redo(TAdvCustomMemo& memo) {
    memo.DoJoin();
    int x = 0, y = 0;
    if (FUndoCurY != -1) {
        PosBefore(x, y);
        memo.SetCursor(x, y);
    }
    PerformRedo(memo);
    if (FUndoCurY != -1) {
        PosAfter(x, y);
        memo.SetCursor(x, y);
    }
    memo.DoWrap();
}

void TSelUndo::ApplySelection(TAdvCustomMemo& memo) const {
    memo.SetSelStartX(FUndoSelStartX);
    memo.SetSelStartY(FUndoSelStartY);
    memo.SetSelEndX(FUndoSelEndX);
    memo.SetSelEndY(FUndoSelEndY);
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
void TInsertCharUndo::PerformUndo(TAdvCustomMemo& memo) { UndoTyped(memo, FUndoText); }
void TInsertCharUndo::PerformRedo(TAdvCustomMemo& memo) { RedoTyped(memo, FUndoText, true); }

bool TNewLineUndo::Append(TUndo* newUndo) { return AppendTyped<TNewLineUndo>(*this, newUndo, FUndoCurX, FUndoCurY, FUndoText); }
void TNewLineUndo::PerformUndo(TAdvCustomMemo& memo) { UndoTyped(memo, FUndoText); }
void TNewLineUndo::PerformRedo(TAdvCustomMemo& memo) { RedoTyped(memo, FUndoText, false); }

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

void TOverwriteCharUndo::PerformUndo(TAdvCustomMemo& memo) {
    int x, y;
    PosAfter(x, y);
    ExchangeChar(memo, x, y, FUndoText);
}
void TOverwriteCharUndo::PerformRedo(TAdvCustomMemo& memo) { ExchangeChar(memo, memo.CurX(), memo.CurY(), FUndoText); }

bool TDeleteCharUndo::Append(TUndo* newUndo) {
    auto* deleted = dynamic_cast<TDeleteCharUndo*>(newUndo);
    if (!deleted || deleted->FIsBackspace != FIsBackspace || deleted->UndoCurX0() != FUndoCurX || deleted->UndoCurY0() != FUndoCurY)
        return false;
    FUndoText = deleted->UndoText() + FUndoText;
    FUndoCurX = deleted->UndoCurX();
    FUndoCurY = deleted->UndoCurY();
    return true;
}

void TDeleteCharUndo::PerformUndo(TAdvCustomMemo& memo) {
    for (wchar_t c : FUndoText) {
        if (!FIsBackspace) {
            int x, y;
            PosBefore(x, y);
            memo.SetCursor(x, y);
        }
        if (c == L'\r') {
            memo.NewLine();
        } else {
            memo.InsertChar(c);
            memo.Invalidate();
        }
    }
}

void TDeleteCharUndo::PerformRedo(TAdvCustomMemo& memo) {
    for (size_t i = 0; i < FUndoText.size(); ++i) {
        if (FIsBackspace) memo.BackspaceKey();
        else memo.DeleteChar(-1, -1);
    }
}

void TDeleteLineUndo::PerformUndo(TAdvCustomMemo& memo) {
    memo.ClearSelection();
    switch (FKind) {
    case dlMiddle:
        memo.InsertText(FUndoText + L"\r\n");
        break;
    case dlLast:
        memo.SetCurXForced(static_cast<int>(memo.Lines()->Get(memo.CurY()).size()));
        memo.ClearSelection();
        memo.InsertText(L"\r\n" + FUndoText);
        break;
    case dlOnly:
        memo.InsertText(FUndoText);
        break;
    }
}

void TDeleteLineUndo::PerformRedo(TAdvCustomMemo& memo) { memo.DeleteLine(); }

void TDeleteBufUndo::PerformUndo(TAdvCustomMemo& memo) {
    memo.ClearSelection();
    memo.InsertText(FUndoText);
    memo.SetFocus();
    ApplySelection(memo);
    memo.DoSelectionChange();
}

void TDeleteBufUndo::PerformRedo(TAdvCustomMemo& memo) {
    ApplySelection(memo);
    memo.DeleteSelectionCore(true);
}

void TModifiedUndo::PerformUndo(TAdvCustomMemo& memo) { memo.SetLineModifiedInt(FLineIndex, lmUnmodified); }
void TModifiedUndo::PerformRedo(TAdvCustomMemo& memo) { memo.SetLineModifiedInt(FLineIndex, lmModified); }

void TPasteUndo::PerformUndo(TAdvCustomMemo& memo) {
    int x0, y0, x, y;
    PosBefore(x0, y0);
    PosAfter(x, y);
    memo.SetSelStartX(x0);
    memo.SetSelStartY(y0);
    memo.SetSelEndX(x);
    memo.SetSelEndY(y);
    memo.DeleteSelectionCore(true);
}

void TPasteUndo::PerformRedo(TAdvCustomMemo& memo) {
    memo.ClearSelection();
    memo.InsertText(FUndoText);
}

void TInsertOverwriteUndo::PerformUndo(TAdvCustomMemo& memo) { memo.SetOverwrite(FInsertMode); }
void TInsertOverwriteUndo::PerformRedo(TAdvCustomMemo& memo) { memo.SetOverwrite(!FInsertMode); }

void TIndentUndo::PerformUndo(TAdvCustomMemo& memo) {
    memo.BlockIndent(FSelRowFrom, FSelRowTo, false, -FIndent);
    int x, y;
    PosBefore(x, y);
    memo.SetCursor(x, y);
}

void TIndentUndo::PerformRedo(TAdvCustomMemo& memo) {
    memo.BlockIndent(FSelRowFrom, FSelRowTo, false, FIndent);
    int x, y;
    PosBefore(x, y);
    memo.SetCursor(x, y);
}

void TCorrectUndo::Exchange(TAdvCustomMemo& memo) {
    const int line = FUndoCurY;
    if (line < 0 || line >= memo.Lines()->Count()) return;
    memo.SetCursor(0, line);
    const std::wstring current = memo.Lines()->Get(line);
    memo.Lines()->Put(line, FUndoText);
    FUndoText = current;
    memo.UpdateView();
}

void TCorrectUndo::PerformUndo(TAdvCustomMemo& memo) { Exchange(memo); }
void TCorrectUndo::PerformRedo(TAdvCustomMemo& memo) { Exchange(memo); }


}  // namespace AdvMemo
