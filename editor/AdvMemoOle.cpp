#include "editor/AdvMemoOle.h"

#include <algorithm>

namespace AdvMemo {

TCellPos TAdvMemoDropTarget::CellAt(POINT pt) const {
    if (FMemo->HandleAllocated()) ::ScreenToClient(FMemo->Handle(), &pt);
    int col = 0, row = 0;
    FMemo->MouseToCursor(pt.x, pt.y, col, row);
    const int count = std::max(FMemo->LineCount(), 1);
    return TCellPos{FMemo->FLeftCol + std::max(col, 0), std::clamp(FMemo->FTopLine + std::max(row, 0), 0, count - 1)};
}

void TAdvMemoDropTarget::DragMouseEnter(POINT) { FMemo->FDragPos = TCellPos{0, -1}; }

void TAdvMemoDropTarget::DragMouseMove(POINT pt, bool& allow) {
    // A read-only memo takes nothing: the source must not delete text that never arrived.
    allow = !FMemo->ReadOnly();
    if (allow) FMemo->DrawDragCaret(CellAt(pt), ClassLib::dsDragMove);
}

void TAdvMemoDropTarget::DragMouseLeave() {
    if (FMemo->FDragPos.Y >= 0) FMemo->DrawDragCaret(FMemo->FDragPos, ClassLib::dsDragLeave);
}

void TAdvMemoDropTarget::DropText(POINT pt, const std::wstring& text) {
    if (FMemo->ReadOnly()) {
        FEffect = DROPEFFECT_NONE;
        return;
    }
    const TCellPos cell = CellAt(pt);
    if (FMemo->FIsDragSource) {
        // The memo's own selection: moved (or copied) here as one undo step; the source
        // side then leaves it alone.
        FMemo->MoveDroppedSelection(cell.X, cell.Y, FEffect == DROPEFFECT_COPY);
        FMemo->FOleMovedInside = true;
        return;
    }
    if (!FMemo->DoOleDropText(text, cell.X, cell.Y)) FEffect = DROPEFFECT_NONE;
}

void TAdvMemoDropTarget::DropFiles(POINT pt, const std::vector<std::wstring>& files) {
    if (files.empty()) return;
    const TCellPos cell = CellAt(pt);
    FMemo->DoOleDropFile(cell.X, cell.Y, files.front());
}

// ---------------------------------------------------------------- the memo's side

void TAdvCustomMemo::SetOleDropTarget(TOleDropTargetTypes value) {
    FOleDropTarget = value;
    if (!HandleAllocated()) return;
    if (value) RegisterOleDropTarget();
    else RevokeOleDropTarget();
}

void TAdvCustomMemo::RegisterOleDropTarget() {
    if (FOleTarget || !HandleAllocated()) return;
    auto* target = new TAdvMemoDropTarget(this);
    if (FAILED(::RegisterDragDrop(FHandle, target))) {
        target->Release();
        return;
    }
    FOleTarget = target;
}

void TAdvCustomMemo::RevokeOleDropTarget() {
    if (!FOleTarget) return;
    if (HandleAllocated()) ::RevokeDragDrop(FHandle);
    FOleTarget->Release();
    FOleTarget = nullptr;
}

void TAdvCustomMemo::StartOleDragFromSelection() {
    const std::wstring text = Selection();
    FSelDrag = true;
    FIsDragSource = true;
    FOleMovedInside = false;
    DWORD effect = DROPEFFECT_NONE;
    const DWORD allowed = FReadOnly ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const HRESULT result = AdvMDD::StartOleDrag(text, std::string(), allowed, effect);
    const bool movedInside = FOleMovedInside;
    // The loop took the button's release: the press is over.
    FIsDragSource = false;
    FSelDrag = false;
    FSelButtonDown = false;
    FLeftButtonDown = false;
    FOleMovedInside = false;
    if (result != DRAGDROP_S_DROP) return;
    const bool copied = effect != DROPEFFECT_MOVE;
    // Only a move takes the text away: a target that copied (or took nothing) leaves it.
    if (!copied && !movedInside) DeleteSelection();
    DoOleTextDragged(text, copied);
}

}  // namespace AdvMemo
