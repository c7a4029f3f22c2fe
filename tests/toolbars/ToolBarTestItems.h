#pragma once
// Stand-ins for the toolbar's own item classes, as far as the toolbar asks of them.
#include "classlib/Control.h"
#include "toolbars/AdvToolBarItem.h"

// A separator item: 8 pixels along the toolbar.
class TTestSeparator : public ClassLib::TGraphicControl, public AdvToolBar::IToolBarItem {
    CLASSLIB_CLASS(TTestSeparator, ClassLib::TGraphicControl)
public:
    explicit TTestSeparator(ClassLib::TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 8, 22); }
    AdvToolBar::TToolBarItemKind ToolBarItemKind() const override { return AdvToolBar::TToolBarItemKind::Separator; }
    void SetToolBarLink(AdvToolBar::TAdvCustomToolBar*) override {}
    void SetDockPosition(AdvToolBar::TDockAlign) override {}
    void AdjustItemSize() override {}
    void Assign(const ClassLib::TPersistent* source) override {
        if (const auto* other = dynamic_cast<const TTestSeparator*>(source)) {
            SetBounds(Left(), Top(), other->Width(), other->Height());
            return;
        }
        TGraphicControl::Assign(source);
    }
};
