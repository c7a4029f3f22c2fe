#pragma once
// The toolbar container: a windowed toolbar item that holds other controls (edits, combo
// boxes, glow buttons), shows the toolbar's picture behind them, and draws a flat or
// embossed frame with an optional caption set into its top line.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Control.h"
#include "menus/AdvToolBarAppearance.h"
#include "toolbars/AdvToolBarItem.h"

namespace AdvHintInfo {
class TAdvHintInfo;
}

namespace AdvToolBar {

class TAdvCustomToolBar;

class TAdvToolBarContainer : public ClassLib::TCustomControl, public IToolBarItem {
    CLASSLIB_CLASS(TAdvToolBarContainer, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarContainer(ClassLib::TComponent* owner);
    ~TAdvToolBarContainer() override;

    void Loaded() override;
    void Dispatch(ClassLib::TMessage& message) override;

    // ---- IToolBarItem ----
    TToolBarItemKind ToolBarItemKind() const override { return TToolBarItemKind::Container; }
    void SetToolBarLink(TAdvCustomToolBar* toolBar) override { SetAdvToolBar(toolBar); }
    void SetDockPosition(TDockAlign) override {}
    void AdjustItemSize() override {}
    void ToolBarStylerChanged() override;

    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    // Links the inner toolbar items and hooks the inner glow buttons' keys to the toolbar.
    void SetAdvToolBar(TAdvCustomToolBar* value);
    // Glow buttons take the styler's glow look; styled children its application style.
    void ApplyStylerToControls();

    // The background gradient; each change gives the control its colour and repaints.
    TGradientBackground* Color() const { return FColor.get(); }
    void SetGradientColor(const TGradientBackground* value);
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value);
    ClassLib::TColor LineColor() const { return FLineColor; }
    void SetLineColor(ClassLib::TColor value);
    bool ParentStyler() const { return FParentStyler; }
    void SetParentStyler(bool value);
    bool Line3D() const { return FLine3D; }
    void SetLine3D(bool value);
    // The children's inset, 0 to 14; other values are ignored.
    int ContainerMargins() const { return FMargins; }
    void SetContainerMargins(int value);
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool value) { FShowBorder = value; }

protected:
    void Paint() override;
    void AdjustClientRect(ClassLib::TRect& rect) const override;
    void AlignControls(ClassLib::TControl* control, ClassLib::TRect& rect) override;

private:
    void KeepControlsInMargins();
    void HookGlowButton(ClassLib::TControl* control);
    // The parent's picture under the container, drawn as its background.
    void PaintParentBackground(HDC dc);

    TAdvCustomToolBar* FAdvToolBar = nullptr;
    bool FParentStyler = true;
    bool FLine3D = true;
    ClassLib::TColor FLineColor = ClassLib::clBtnShadow;
    std::unique_ptr<TGradientBackground> FColor;
    int FMargin = 2;  // the inset of the frame lines
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    int FMargins = 0;  // invariant: 0 <= FMargins <= 14
    bool FInternalUpdating = false;
    bool FShowBorder = true;
};

// Access to a windowed control's painting of its graphic children into a device context.
class TWinCtrl : public ClassLib::TWinControl {
public:
    using ClassLib::TWinControl::TWinControl;
    // Paints `control`'s graphic children, from `first` on, into the device context.
    static void PaintCtrls(ClassLib::TWinControl* control, HDC dc, ClassLib::TControl* first);
};

}  // namespace AdvToolBar
