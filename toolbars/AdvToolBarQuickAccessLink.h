#pragma once
// What a toolbar item asks of the ribbon's quick access toolbar it sits on. The ribbon
// implements it; toolbar items only hold the link (null while an item sits elsewhere, which
// leaves every quick-access and glass branch of their code inactive).
#include "classlib/Geometry.h"

namespace ClassLib {
class TCustomImageList;
class TWinControl;
}  // namespace ClassLib

namespace AdvToolBar {

class TCustomAdvToolBarStyler;

class IQuickAccessToolBarLink {
public:
    virtual TCustomAdvToolBarStyler* CurrentQATStyler() const = 0;
    virtual ClassLib::TCustomImageList* QATImages() const = 0;
    virtual ClassLib::TCustomImageList* QATDisabledImages() const = 0;
    virtual void HideOverflowWindow() = 0;
    // An item became visible or hidden: the quick access toolbar lays itself out again.
    virtual void ItemVisibilityChanged() = 0;
    // The rectangle its items share, in its client coordinates.
    virtual ClassLib::TRect GetControlsRect() const = 0;
    virtual bool QATFullSize() const = 0;
    // It draws on the composited glass caption.
    virtual bool QATIsGlass() const = 0;
    virtual void PurgeHiddenCtrlList() = 0;
    // Its window (the broadcast of a button group reaches its other members there).
    virtual ClassLib::TWinControl* QATWindow() = 0;

protected:
    ~IQuickAccessToolBarLink() = default;
};

}  // namespace AdvToolBar
