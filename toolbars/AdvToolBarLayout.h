#pragma once
// The toolbar's window-free arithmetic: where its caption strip, handles and items go, how
// long and thick it becomes, the order its items keep, and how a floating toolbar wraps its
// items into rows. Numbers in, places and sizes out; the toolbar window reads its items into
// these records and applies the results.
#include <cstdint>
#include <span>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Geometry.h"
#include "classlib/StandardControls.h"

namespace AdvToolBar {

// The side a toolbar docks to; daLeft and daRight make it vertical.
enum TDockAlign : std::uint8_t { daLeft, daTop, daRight, daBottom };
enum TCaptionPosition : std::uint8_t { cpTop, cpBottom };
enum TToolBarState : std::uint8_t { tsDocked, tsFloating, tsFixed };
// Which dock panels a dragged toolbar may reach.
enum TDockMode : std::uint8_t { dmAll, dmAllParentDockPanels, dmParentDockPanelOnly };

inline bool IsVertical(TDockAlign side) { return side == daLeft || side == daRight; }

}  // namespace AdvToolBar

template <> struct ClassLib::TEnumNames<AdvToolBar::TDockAlign> {
    static constexpr const wchar_t* TypeName = L"TDockAlign";
    static constexpr const wchar_t* SetTypeName = L"TDockableTo";
    static constexpr const wchar_t* Names[] = {L"daLeft", L"daTop", L"daRight", L"daBottom"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TCaptionPosition> {
    static constexpr const wchar_t* TypeName = L"TCaptionPosition";
    static constexpr const wchar_t* Names[] = {L"cpTop", L"cpBottom"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TToolBarState> {
    static constexpr const wchar_t* TypeName = L"TToolBarState";
    static constexpr const wchar_t* Names[] = {L"tsDocked", L"tsFloating", L"tsFixed"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TDockMode> {
    static constexpr const wchar_t* TypeName = L"TDockMode";
    static constexpr const wchar_t* Names[] = {L"dmAll", L"dmAllParentDockPanels", L"dmParentDockPanelOnly"};
};

namespace AdvToolBar {

// ---- the frame: caption strip, caption buttons and handles ----

// What the rectangles of a toolbar's frame depend on; sizes in pixels as painted.
struct TToolBarFrame {
    int Width = 0;
    int Height = 0;
    bool Floating = false;
    bool Vertical = false;
    bool ShowCaption = false;           // a docked or fixed toolbar's caption strip
    TCaptionPosition CaptionPosition = cpTop;
    int CaptionSize = 16;               // thickness of the caption strip
    int CaptionHeight = 16;             // the property: size of the floating caption buttons
    bool ShowClose = true;
    bool ShowOptionIndicator = true;
    bool ShowRightHandle = true;
    bool HandleReserved = true;         // the right-handle area is kept (FShowPopupIndicator)
    bool FullSize = false;
    bool GripDrawn = true;              // a drag grip is drawn (see GripOffset)
    int DragGripWidth = 7;
    int HandleWidth = 14;               // scaled right-handle width
    bool Scenic = false;                // the ribbons' scenic mode narrows the option indicator
};

// The caption strip: floating on top; docked or fixed only with ShowCaption, on its side.
// Empty (0, 0, 0, 0) without one.
ClassLib::TRect CaptionRect(const TToolBarFrame& frame);
// The client area less the caption strip.
ClassLib::TRect ContentRect(const TToolBarFrame& frame);
// Floating with ShowClose; else empty.
ClassLib::TRect FloatingCloseButtonRect(const TToolBarFrame& frame);
// Floating with ShowOptionIndicator: left of the close button, or in its place without one.
ClassLib::TRect FloatingOptionButtonRect(const TToolBarFrame& frame);
// The part of the floating caption that drags the window.
ClassLib::TRect FloatingDragArea(const TToolBarFrame& frame);
// A horizontal docked or fixed toolbar with its caption shows the option indicator there
// when it has no right handle; else (-1, -1, -1, -1).
ClassLib::TRect CaptionOptionIndicatorRect(const TToolBarFrame& frame);
// Docked or fixed with a grip; else empty.
ClassLib::TRect DragGripRect(const TToolBarFrame& frame);
// With the handle area reserved and ShowRightHandle: the far end; else empty.
ClassLib::TRect RightHandleRect(const TToolBarFrame& frame);
// Where items start along the length: after the grip, or 2 without one.
inline int GripOffset(bool gripDrawn, int dragGripWidth) { return gripDrawn ? dragGripWidth + 2 : 2; }

// ---- items ----

// One item as the layout sees it.
struct TLayoutItem {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Layout = true;       // laid out: visible (always in the designer), and not a badge
    bool Badge = false;       // keeps its own place in every layout and counts for nothing
    bool Hidden = false;      // hidden because it does not fit
    bool OnToolBar = true;    // its parent is the toolbar (a hidden one elsewhere is not parked)
    bool Separator = false;
    bool Stacks = false;      // a small glow button: stacks in a ribbon group's columns
    bool Stackable = false;   // ends a ribbon group's length in a column (Stacks, or a stacking button)
    bool GlowButton = false;
    bool ToolBarItem = false;     // one of the toolbar's own item controls
    bool RotatingButton = false;  // a toolbar button that turns on a vertical toolbar
    bool ToolBarButton = false;
    int LabelMargin = 0;      // a published LabelMargin of a control that is no glow button
    bool WithMargins = false;
    int MarginLeft = 0;
    int MarginTop = 0;
    int MarginRight = 0;
};

enum class TArrangeKind { Horizontal, Vertical, Floating, FloatingRows, MultiRow };

struct TArrangeParams {
    TArrangeKind Kind = TArrangeKind::Horizontal;
    bool RibbonGroup = false;  // on a ribbon page or in a compact window: small glow buttons stack
    int Width = 0;             // the toolbar's size as it is
    int Height = 0;
    int Start = 2;             // first item's offset along the length
    int Across = 2;            // the row's offset across it
    int RowHeight = 26;        // a floating row's height
};

// Each item's new place (Left, Top), in item order; badges keep theirs, items that are not
// laid out are parked just beyond the far edge across the toolbar.
std::vector<ClassLib::TPoint> ArrangeLayout(std::span<const TLayoutItem> items, const TArrangeParams& params);

struct TSizeParams {
    bool Vertical = false;
    bool RibbonGroup = false;
    bool HasItems = false;     // the item list is not empty
    bool Collapse = false;     // an invisible toolbar, or an empty one that hides on a ribbon page
    int GripOffset = 9;
    int HandleWidth = 14;      // 0 when the right-handle area is not reserved
    int MinLength = 60;
};

// Lengths and thickness a docked or fixed toolbar needs: Visible shows up to the last item
// that is not hidden, Full shows every item.
struct TToolBarExtent {
    int Visible = 0;
    int Full = 0;
    int Thickness = 26;
};
// The items as placed by ArrangeLayout.
TToolBarExtent MeasureToolBar(std::span<const TLayoutItem> items, const TSizeParams& params);

// The constraints and length an auto-sized docked or fixed toolbar takes from its extent.
struct TLengthPlan {
    int MinLength = 0;
    int MaxLength = 0;
    int Length = 0;
    // The length was cut back to Visible in a way the dock panel may adjust.
    bool DockAdjusts = false;
};
// `length` and `maxLength` are the toolbar's present length and maximum; `checkBoundChange`
// is set while an item changes on a docked toolbar and lets it become shorter.
TLengthPlan PlanLength(const TToolBarExtent& extent, int minLength, int length, int maxLength, bool vertical,
                       bool checkBoundChange);

// The docked thickness: the largest extent across of the items that are not separators,
// plus 4, at least 26. `askedFloating` with a vertical toolbar measures its buttons turned
// upright (floating toolbars are horizontal).
int DockedSize(std::span<const TLayoutItem> items, bool vertical, bool floating, bool askedFloating);
// Grip, every item and the right handle along the length; at least minLength.
int FullLength(std::span<const TLayoutItem> items, bool alongHeight, int gripOffset, int handleWidth, int minLength);

// The slot in a list ordered by position where an item at (x, y) belongs: `keys` are the
// listed items' Left (or Top when vertical). The item at `index` (or -1) is skipped; x or y
// of 0 places it last.
int IndexByPosition(std::span<const ClassLib::TPoint> places, int index, int x, int y, bool vertical);

// ---- floating rows ----

// The most rows the items (their extents along the length) can be spread over.
int MaxFloatingRows(std::span<const int> extents, int minLength);
struct TFloatingSize {
    int Height = 0;
    int Length = 0;
};
// The smallest length (from minLength up, in steps of 10) at which the items wrap into at
// most `rows` rows of rowHeight, under a caption of captionHeight.
TFloatingSize CalcFloatingSize(std::span<const int> extents, int minLength, int rows, int rowHeight,
                               int captionHeight);

// ---- painting arithmetic ----

// Where a colour stands between its normal and hot value: while the hover fade runs it is
// blended by Step percent of hot; otherwise hot (when set) with Hot or Focused.
struct TFadeState {
    bool Fading = false;
    int Step = 0;
    bool Hot = false;
    bool Focused = false;
};
ClassLib::TColor FadeColour(const TFadeState& fade, ClassLib::TColor normal, ClassLib::TColor hot);
// The upper part of a ribbon group's mirror gradient with its caption at the bottom: the
// group reaches 22 pixels into its page.
inline int MirrorSplit(int top) { return top < 22 ? 22 - top : 0; }
// Where a turned caption of width `textWidth` starts in `rect` on a vertical toolbar.
ClassLib::TPoint VerticalCaptionAnchor(const ClassLib::TRect& rect, int textWidth, TDockAlign side,
                                       ClassLib::TAlignment alignment);

}  // namespace AdvToolBar
