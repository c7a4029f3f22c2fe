#pragma once
// What a toolbar asks of its own item controls (buttons, separators, menu buttons, the
// container); any other control on a toolbar is laid out as it is. The item classes
// implement this interface; the toolbar never names their classes.
#include "toolbars/AdvToolBarLayout.h"

namespace AdvToolBar {

class TAdvCustomToolBar;

enum class TToolBarItemKind {
    Control,     // an item that is none of the below
    Button,      // a toolbar button
    MenuButton,  // a toolbar button of a menu bar
    Separator,
    Container,   // a frame that holds other controls inside the toolbar
};

class IToolBarItem {
public:
    virtual TToolBarItemKind ToolBarItemKind() const = 0;
    // The toolbar the item belongs to; null detaches it.
    virtual void SetToolBarLink(TAdvCustomToolBar* toolBar) = 0;
    // The side the item's toolbar docks to: a vertical side turns the item.
    virtual void SetDockPosition(TDockAlign position) = 0;
    // Measures itself again (its images, caption or side changed).
    virtual void AdjustItemSize() = 0;
    // A button rebuilds the shaded glyph it shows while hot.
    virtual void GenerateShade() {}
    // Counts in a ribbon group's trailing column as a small glow button does.
    virtual bool Stackable() const { return false; }
    // A button that turns upright on a vertical toolbar.
    virtual bool CanRotate() const { return false; }
    // The toolbar's styler told a change: a container takes its colours again.
    virtual void ToolBarStylerChanged() {}
    // Its accelerator was typed with Alt: a menu button with a menu drops it down, any
    // other item is clicked.
    virtual void PerformAccelerator() {}

protected:
    ~IToolBarItem() = default;
};

}  // namespace AdvToolBar
