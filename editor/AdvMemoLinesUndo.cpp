#include "editor/AdvMemoLinesUndo.h"

#include <algorithm>

#include "classlib/UpdateScope.h"
#include "editor/AdvMemo.h"

namespace AdvMemo {

void TLinesUndo::Apply(TAdvCustomMemo& memo, bool redo) const {
    ApplyLines(memo, redo);
    memo.UpdateView();
}

void TLinesUndo::ApplyLines(TAdvCustomMemo& memo, bool redo) const {
    TAdvMemoStrings* lines = memo.Lines();
    TUndoPerforming performing(memo.UndoList());
    // One change for the view, not one per line: each refreshed the view over the whole text.
    ClassLib::TUpdateScope update(*lines);
    for (const TPiece& piece : FPieces) {
        const std::vector<std::wstring>& texts = redo ? piece.After : piece.Before;
        const size_t currentCount = (redo ? piece.Before : piece.After).size();
        for (size_t i = 0; i < texts.size(); ++i) {
            const int line = piece.Line + static_cast<int>(i);
            if (i < currentCount && line < lines->Count()) lines->Put(line, texts[i]);
            else lines->DoInsert(std::min(line, lines->Count()), texts[i]);
        }
        for (size_t i = currentCount; i > texts.size(); --i) {
            const int line = piece.Line + static_cast<int>(i) - 1;
            if (line < lines->Count() && lines->Count() > 1) lines->RemoveLine(line);
        }
    }
}

}  // namespace AdvMemo
