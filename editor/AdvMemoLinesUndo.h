#pragma once
// An undo step that swaps whole line texts: for edits that change many lines at once (block
// edits, a replace-all), where a step per change would overflow the undo limit and the text
// from before the edit could no longer be restored.
#include <string>
#include <vector>

#include "editor/AdvMemoUndo.h"

namespace AdvMemo {

class TLinesUndo : public TUndoClone<TLinesUndo> {
public:
    // Lines from `Line` on, as they were and as they became. Pieces are kept in ascending order
    // and apart; only the last may change the number of lines (the others' line numbers then
    // hold both before and after it).
    struct TPiece {
        int Line = 0;
        std::vector<std::wstring> Before, After;
    };
    // Caret before the edit (curX0, curY0) and after it (curX, curY).
    TLinesUndo(int curX0, int curY0, int curX, int curY, std::vector<TPiece> pieces)
        : TUndoClone(curX0, L"", curY, curX, curY0), FPieces(std::move(pieces)) {}
    void PerformUndo(TAdvCustomMemo& memo) override { Apply(memo, false); }
    void PerformRedo(TAdvCustomMemo& memo) override { Apply(memo, true); }
    const std::vector<TPiece>& Pieces() const { return FPieces; }

private:
    void Apply(TAdvCustomMemo& memo, bool redo) const;
    void ApplyLines(TAdvCustomMemo& memo, bool redo) const;
    std::vector<TPiece> FPieces;
};

}  // namespace AdvMemo
