#pragma once
// The page control's arithmetic that needs no window: where a tab's close button sits and
// how its cross is drawn, where the closed-list button goes, when the tabs overflow the
// strip, and which tab shows which page while some pages hide their tabs.
#include <span>
#include <vector>

#include "classlib/Geometry.h"

namespace AdvPageControl {

// The side of the control the tabs run along, in the order of the host's tab positions.
enum class TStrip { Top, Bottom, Left, Right };

struct TCloseBoxInput {
    TStrip Strip = TStrip::Top;
    bool AtEnd = false;         // cpRight or cpRightActive: at the end of the tab content
    ClassLib::TRect Tab;        // the tab's rectangle
    int LeftMargin = 0, TopMargin = 0, RightMargin = 0;
    int Width = 14, Height = 13;  // the button's size at the control's scale
    int Lowered = 0;            // LowerActive while drawn on the selected tab, else 0
    // Left tabs with an active tab picture: the picture's overlap moves the button.
    bool ActivePicture = false;
    int Overlap = 0;
};

struct TCloseBox {
    ClassLib::TRect Box;        // the built-in button: outline and white face
    ClassLib::TPoint Picture;   // where a close picture goes instead
};

// Where the close button is drawn.
TCloseBox CloseBoxPlace(const TCloseBoxInput& in);
// Where a click counts as one on the close button (the lowered selected tab plays no part).
ClassLib::TRect CloseBoxHitArea(const TCloseBoxInput& in);

// Rows of pixels to paint: Left .. Right - 1 at height Y.
struct TPixelRun {
    int Left, Right, Y;
};
using TPixelRuns = std::vector<TPixelRun>;

// The cross of the built-in close button: two strokes `penWidth` pixels wide from corner
// to corner of the box's face less a pixel all round (the face is the box less its
// one-pixel outline). Every row is its own mirror and the lower half mirrors the upper,
// so the cross sits in the middle of the face, clear of the outline.
TPixelRuns CloseCross(const ClassLib::TRect& box, int penWidth);

// The closed-list button's top-left corner: at the end of the strip, clear of the host's
// scroll arrows (`arrows` pixels long; 34 on a screen of 96 pixels per inch) while the tabs
// overflow a single row.
ClassLib::TPoint ClosedListButtonPlace(TStrip strip, int clientWidth, int clientHeight, int width, int height,
                                       bool overflow, bool multiLine, int arrows);

// The closed-list button's arrow: rows seven pixels wide down to one, centred in a button
// of that size; one pixel right and down while it is pressed.
TPixelRuns DropDownArrow(int width, int height, bool pressed);

// True when a tab starts left of the client area or ends at or past its right edge.
bool TabsOverflow(std::span<const ClassLib::TRect> visibleTabs, int clientWidth);

// Only the pages whose tab is visible have a tab. The page shown by tab `tabIndex` (which
// the host reports, -1 for none), and the tab of page `pageIndex`.
int PageOfTab(const std::vector<bool>& tabVisible, int tabIndex);
int TabOfPage(const std::vector<bool>& tabVisible, int pageIndex);

}  // namespace AdvPageControl
