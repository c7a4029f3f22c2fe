#pragma once
// The menu painter: sizes and draws each owner-drawn item of a styled menu from its
// current styler — menu-bar items on the bar's gradient, popup items over an icon column,
// a side bar and a background that run on unbroken over the whole popup, selection boxes,
// check and radio marks, images, sub-menu arrows, notes lines and shortcut texts.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "classlib/Geometry.h"
#include "classlib/Menus.h"
#include "menus/AdvMenuStyler.h"

namespace ClassLib {
class TCanvas;
}

namespace AdvMenus {

class IAdvMenuEx;

// Where an item stands in its menu.
bool IsMenuBarItem(const ClassLib::TMenuItem* item);
// An item of a popup menu's own level or of a main menu's drop-downs.
bool IsFirstLevelItem(const ClassLib::TMenuItem* item);
// An item of the first visible drop-down of a main menu, or of a popup menu's own level.
bool IsInFirstVisibleDropDown(const ClassLib::TMenuItem* item);
bool IsFirstVisibleItem(const ClassLib::TMenuItem* item);
// A visible sibling at or before (after) the item starts a new column.
bool HasBreakAtOrBefore(const ClassLib::TMenuItem* item);
bool HasBreakAtOrAfter(const ClassLib::TMenuItem* item);
// 0 for top-level items, one more for each level below.
int ItemLevel(const ClassLib::TMenuItem* item);
// The place among the visible siblings; -1 for a hidden item.
int VisibleItemIndex(const ClassLib::TMenuItem* item);

// The styled menu an item belongs to, or null.
IAdvMenuEx* StyledMenuOf(const ClassLib::TMenuItem* item);
// Whether the current styler's side bar shows beside the item.
bool SideBarApplies(const ClassLib::TMenuItem* item);
// The shortcut's text: the library's words ("Win+" in front for the Windows-key bit), or
// with `intl` the keyboard layout's key names, Alt+Ctrl+Shift+key.
std::wstring ShortCutToMenuText(ClassLib::TShortCut shortCut, bool intl);

// The items' measure: width and height arrive with the library's own measure and are
// adjusted. A popup item is measured MenuExtraWidth wider than it is painted.
void MeasureMenuItem(ClassLib::TMenuItem* item, ClassLib::TCanvas* canvas, int& width, int& height, bool sideBar);
// The items' draw: popup items receive the rectangle already narrowed by MenuExtraWidth.
// Nothing is drawn for an item of another menu than a styled one.
void DrawMenuItem(ClassLib::TMenuItem* item, ClassLib::TCanvas* canvas, ClassLib::TRect rect, bool sideBar,
                  ClassLib::TOwnerDrawState state);

// Before the first menu-bar item of a frame whose active MDI child is maximised: the
// child's small icon at the bar's left end, on the form's window.
void DrawMDIChildIcon(ClassLib::TMenuItem* item, const ClassLib::TRect& r);

// The outside calls of the painter, replaceable by tests; each starts over the platform.
struct TMenuPaintSeams {
    // GetMenuItemRect: the screen rectangle of entry `position` of `menu`.
    std::function<bool(HWND window, HMENU menu, UINT position, RECT& rect)> MenuItemRect;
    // The scale a menu paints at: its owner control's pixels per inch over 96, else 1.
    std::function<float(const ClassLib::TMenu* menu)> MenuScale;
};
TMenuPaintSeams& MenuPaintSeams();

class TMenuPaintSeamsScope {
public:
    TMenuPaintSeamsScope() : FSaved(MenuPaintSeams()) {}
    ~TMenuPaintSeamsScope() { MenuPaintSeams() = FSaved; }
    TMenuPaintSeamsScope(const TMenuPaintSeamsScope&) = delete;
    TMenuPaintSeamsScope& operator=(const TMenuPaintSeamsScope&) = delete;
private:
    TMenuPaintSeams FSaved;
};

// The screen rectangle of entry `position` of `menu` (through the seam); none for -1 or
// when the system cannot tell.
std::optional<ClassLib::TRect> MenuEntryRect(HWND window, HMENU menu, int position);

// Round(x): to the nearest integer, halves to the even neighbour.
int RoundEven(double value);

}  // namespace AdvMenus
