#pragma once
// The toolbar separator: an embossed line between groups of items (or blank space), across
// the toolbar's row.
#include "classlib/Colors.h"
#include "toolbars/AdvToolBarButton.h"

namespace AdvToolBar {

class TAdvToolBarSeparator : public TAdvCustomToolBarControl {
    CLASSLIB_CLASS(TAdvToolBarSeparator, TAdvCustomToolBarControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarSeparator(ClassLib::TComponent* owner);
    // From another separator its style and colour; anything else raises the class library's
    // assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    TToolBarItemKind ToolBarItemKind() const override { return TToolBarItemKind::Separator; }
    // Across the row: 10 wide and the toolbar's height less 4, or 10 high and its width less 4.
    void AdjustSize() override;

    TAdvSeparatorStyle SeparatorStyle() const { return FSeparatorStyle; }
    void SetSeparatorStyle(TAdvSeparatorStyle value);
    ClassLib::TColor LineColor() const { return FLineColor; }
    void SetLineColor(ClassLib::TColor value);

protected:
    void Paint() override;

private:
    TAdvSeparatorStyle FSeparatorStyle = ssOffice2003;
    ClassLib::TColor FLineColor = ClassLib::clBtnShadow;
};

}  // namespace AdvToolBar
