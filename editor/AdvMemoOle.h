#pragma once
// The memo's OLE drop target: text and files dropped from this or other windows.
#include "editor/AdvMDD.h"
#include "editor/AdvMemo.h"

namespace AdvMemo {

class TAdvMemoDropTarget : public AdvMDD::TAMDropTarget {
public:
    explicit TAdvMemoDropTarget(TAdvCustomMemo* memo) : FMemo(memo) {}
    bool WantsFiles() override { return (FMemo->OleDropTarget() & odtFile) != 0; }
    bool WantsText() override { return (FMemo->OleDropTarget() & odtText) != 0; }
    void DropText(POINT pt, const std::wstring& text) override;
    void DropFiles(POINT pt, const std::vector<std::wstring>& files) override;
    void DragMouseMove(POINT pt, bool& allow) override;
    void DragMouseEnter(POINT pt) override;
    void DragMouseLeave() override;
private:
    // The text cell (column, line) under a screen point.
    TCellPos CellAt(POINT pt) const;
    TAdvCustomMemo* FMemo;
};

}  // namespace AdvMemo
