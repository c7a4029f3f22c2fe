#pragma once
// A docked toolbar as the dock rows see it: the one adapter between the row model and the
// toolbar control, shared by the dock panel's files.
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

// A docked toolbar in row terms. Every change is made with the toolbar's bounds guard set,
// so its SetBounds does not hand the change back to the panel.
class TToolBarDockMember final : public IDockMember {
public:
    TToolBarDockMember(TAdvCustomToolBar* toolBar, const TAdvDockPanel* panel) : FBar(toolBar), FPanel(panel) {}
    TAdvCustomToolBar* Bar() const { return FBar; }

    int Pos() const override { return V() ? FBar->Top() : FBar->Left(); }
    int Len() const override { return V() ? FBar->Height() : FBar->Width(); }
    int Cross() const override { return V() ? FBar->Left() : FBar->Top(); }
    int Thick() const override { return V() ? FBar->Width() : FBar->Height(); }
    int MinLen() const override {
        return V() ? FBar->Constraints()->MinHeight() : FBar->Constraints()->MinWidth();
    }
    int MaxLen() const override {
        return V() ? FBar->Constraints()->MaxHeight() : FBar->Constraints()->MaxWidth();
    }
    bool FullSize() const override { return FBar->FFullSize; }
    bool IsVisible() const override { return FBar->Visible(); }
    bool IsLoading() const override { return FBar->HasState(ClassLib::csLoading); }
    int Row() const override { return FBar->FRow; }
    void SetRow(int row) override { FBar->FRow = row; }
    void Place(int pos, int len) override {
        if (V()) Guarded(FBar->Left(), pos, FBar->Width(), len);
        else Guarded(pos, FBar->Top(), len, FBar->Height());
    }
    void SetCross(int cross) override {
        if (V()) Guarded(cross, FBar->Top(), FBar->Width(), FBar->Height());
        else Guarded(FBar->Left(), cross, FBar->Width(), FBar->Height());
    }
    void SetThick(int thick) override {
        if (V()) Guarded(FBar->Left(), FBar->Top(), thick, FBar->Height());
        else Guarded(FBar->Left(), FBar->Top(), FBar->Width(), thick);
    }
    void SetLengthLimits(int minLen, int maxLen) override {
        ClassLib::TSizeConstraints* c = FBar->Constraints();
        if (V()) {
            c->SetMinHeight(minLen);
            c->SetMaxHeight(maxLen);
        } else {
            c->SetMinWidth(minLen);
            c->SetMaxWidth(maxLen);
        }
    }
    void FullSizeApplied() override { FBar->UpdateHiddenControls(); }

private:
    bool V() const { return IsVertical(FPanel->DockAlign()); }
    void Guarded(int left, int top, int width, int height) {
        const bool was = FBar->FAllowBoundChange;
        FBar->FAllowBoundChange = true;
        struct TRestore {
            TAdvCustomToolBar* Bar;
            bool Was;
            ~TRestore() { Bar->FAllowBoundChange = Was; }
        } restore{FBar, was};
        FBar->SetBounds(left, top, width, height);
    }
    TAdvCustomToolBar* FBar;
    const TAdvDockPanel* FPanel;
};

}  // namespace AdvToolBar
