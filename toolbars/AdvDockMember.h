#pragma once
// A docked toolbar as the dock rows see it: the one adapter between the row model and the
// toolbar control, shared by the dock panel's files.
#include <algorithm>

#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

// A docked toolbar in row terms. Every change is made with the toolbar's bounds guard set,
// so its SetBounds does not hand the change back to the panel.
class TToolBarDockMember final : public IDockMember {
public:
    TToolBarDockMember(TAdvCustomToolBar* toolBar, const TAdvDockPanel* panel) : FBar(toolBar), FPanel(panel) {}
    TAdvCustomToolBar* Bar() const { return FBar; }

    int Pos() const override { return V() ? Top() : Left(); }
    int Len() const override { return V() ? Height() : Width(); }
    int Cross() const override { return V() ? Left() : Top(); }
    int Thick() const override { return V() ? Width() : Height(); }
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
        if (V()) SetBounds(Left(), pos, Width(), len);
        else SetBounds(pos, Top(), len, Height());
    }
    void SetCross(int cross) override {
        if (V()) SetBounds(cross, Top(), Width(), Height());
        else SetBounds(Left(), cross, Width(), Height());
    }
    void SetThick(int thick) override {
        if (V()) SetBounds(Left(), Top(), thick, Height());
        else SetBounds(Left(), Top(), Width(), thick);
    }
    void SetLengthLimits(int minLen, int maxLen) override {
        ClassLib::TSizeConstraints* c = FBar->Constraints();
        // While the panel holds moves back, the toolbar must not hand the re-check of its
        // size to the panel (the rows are mid-change); the held size takes the new limits.
        const bool holding = FPanel->HoldsToolBarMoves();
        const bool was = FBar->FAllowBoundChange;
        if (holding) FBar->FAllowBoundChange = true;
        TGuardRestore restore{FBar, was};
        if (V()) {
            c->SetMinHeight(minLen);
            c->SetMaxHeight(maxLen);
        } else {
            c->SetMinWidth(minLen);
            c->SetMaxWidth(maxLen);
        }
        if (FHeld) c->Apply(FHeldBounds.Width, FHeldBounds.Height);
    }
    void FullSizeApplied() override {
        if (FHeld) FFullSizePending = true;
        else FBar->UpdateHiddenControls();
    }

    // The bounds the rows gave it: held ones while the panel holds moves back.
    int Left() const { return FHeld ? FHeldBounds.Left : FBar->Left(); }
    int Top() const { return FHeld ? FHeldBounds.Top : FBar->Top(); }
    int Width() const { return FHeld ? FHeldBounds.Width : FBar->Width(); }
    int Height() const { return FHeld ? FHeldBounds.Height : FBar->Height(); }
    // A guarded change: the toolbar applies it without handing it back to its panel. While
    // the panel holds moves back, only the last one reaches the window (ApplyHeldBounds).
    void SetBounds(int left, int top, int width, int height) {
        if (FPanel->HoldsToolBarMoves()) {
            width = std::max(width, 0);
            height = std::max(height, 0);
            FBar->Constraints()->Apply(width, height);  // as the control would
            FHeldBounds = {left, top, width, height};
            FHeld = true;
            return;
        }
        Guarded(left, top, width, height);
    }
    // Moves the toolbar to where the rows left it, once.
    void ApplyHeldBounds() {
        if (!FHeld) return;
        FHeld = false;
        Guarded(FHeldBounds.Left, FHeldBounds.Top, FHeldBounds.Width, FHeldBounds.Height);
        if (FFullSizePending) {
            FFullSizePending = false;
            FBar->UpdateHiddenControls();
        }
    }
    bool Held() const { return FHeld; }

private:
    struct TGuardRestore {
        TAdvCustomToolBar* Bar;
        bool Was;
        ~TGuardRestore() { Bar->FAllowBoundChange = Was; }
    };
    struct THeldBounds {
        int Left = 0, Top = 0, Width = 0, Height = 0;
    };
    bool V() const { return IsVertical(FPanel->DockAlign()); }
    void Guarded(int left, int top, int width, int height) {
        if (left == FBar->Left() && top == FBar->Top() && width == FBar->Width() && height == FBar->Height()) return;
        const bool was = FBar->FAllowBoundChange;
        FBar->FAllowBoundChange = true;
        TGuardRestore restore{FBar, was};
        FBar->SetBounds(left, top, width, height);
    }
    TAdvCustomToolBar* FBar;
    const TAdvDockPanel* FPanel;
    bool FHeld = false;             // FHeldBounds is where the rows want it; the window is not there yet
    bool FFullSizePending = false;  // the full-size notice waits for the move
    THeldBounds FHeldBounds;
};

}  // namespace AdvToolBar
