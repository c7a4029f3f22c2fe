#pragma once
// The ribbon pager's window-free geometry: the tab row (widths, squeezing and widening to
// fit, positions and scrolling), the page and caption-text rectangles, the look a tab takes
// for its state, the underline that slides under the selected tab, and whether a tab shows
// a hint. Numbers in, numbers out; the pager feeds it from its pages and draws the result.
#include <functional>
#include <string>
#include <vector>

#include "classlib/Geometry.h"

namespace AdvToolBar {

// Smallest width a squeezed tab keeps, and the largest change of one squeeze step.
constexpr int MinTabWidth = 24;
constexpr int TabFitStep = 5;

// One page's tab. Widths are content widths (text and image); the row adds the margins.
struct TTabSlot {
    bool Visible = true;
    int Group = -1;            // first tab group holding the tab, -1 none
    int ClientWidth = 0;       // as laid out; may be squeezed below RealClientWidth
    int RealClientWidth = 0;   // as measured
    int Left = 0;              // left edge in pager client coordinates
};

// A tab group's extra margin on each side of each of its tabs, so the group is as wide as
// its caption: the full amount and the part in effect after squeezing.
struct TTabGroupMargin {
    int ExtraXMargin = 0;
    int CurrentExtraXMargin = 0;
};

struct TTabSpacing {
    int Spacing = 4;
    int LeftMargin = 4;
    int RightMargin = 4;
    int GroupLeftMargin = 4;
    int GroupRightMargin = 4;
};

struct TTabLimits {
    int Spacing = 4;
    int LeftMargin = 4;
    int RightMargin = 4;
    int MinSpacing = 3;
    int MinMargin = 3;
};

// The scroll state of a row that does not fit: Max further screens, Position the current.
struct TTabScrollState {
    int StartTabIndex = 0;
    int Min = 0;
    int Max = 0;
    int Position = 0;
    bool CanGoBack() const { return Min < Position; }
    bool CanGoForward() const { return Position < Max; }
};

class TTabRow {
public:
    std::vector<TTabSlot> Tabs;
    std::vector<TTabGroupMargin> Groups;
    TTabSpacing Current;   // invariant: between Limits' minima and maxima
    TTabLimits Limits;
    TTabScrollState Scroll;

    int Count() const { return int(Tabs.size()); }
    bool InRange(int index) const { return index >= 0 && index < Count(); }
    // The width the tab takes in the row: content plus the margins in effect.
    int TabWidth(int index) const;
    // Visible tabs from..to with the spacing after each that is not the list's last.
    int TabsWidth(int fromIndex, int toIndex) const;
    int TotalWidth() const { return TabsWidth(0, Count() - 1); }
    // Content pixels the group tabs lost to squeezing.
    int GroupSqueeze() const;
    bool AnySqueezed() const;

    void ResetSpacing();
    void PositionTabs(int left);
    void ArrangeTabs(int fromIndex, int toIndex);
    void ArrangeAllTabs() { ArrangeTabs(0, Count() - 1); }
    // Squeezes the row into `available` pixels, or widens it back towards the settings.
    void Fit(int available);

    // Tabs from `fromIndex` (walking up or down) that fit between left and right when the
    // first starts at left; lastIndex is the last one counted.
    int CountFittingTabs(int fromIndex, bool forward, int& lastIndex, int left, int right) const;
    // Recomputes Max (the screens beyond the first) for a row between left and right.
    void UpdateScroller(int left, int right);
    // Steps moved (negative backwards). onStep runs after each 5-pixel shift (to repaint).
    int ScrollTabs(int delta, int left, int right, const std::function<void()>& onStep = {});
    void ScrollToTab(int index, int left, int right, const std::function<void()>& onStep = {});
    // Resets scrolling: positions from left and recounts.
    void ResetScroll(int left, int right);

    // The leftmost and rightmost pixel of the visible tabs start..end; false when the range
    // is not within the list or none of its tabs shows.
    bool GroupSpan(int start, int end, int& left, int& right) const;

private:
    void Shift(int fromIndex, int delta);
    int VisibleCount() const;
    int WidestTab(bool groupsOnly, bool anyGroup) const;
    void Squeeze(int available);
    void Widen(int available);
};

// Extra margin per side of each of n group tabs so the group is as wide as its caption
// plus 26: 0 when it already is.
int GroupExtraMargin(int groupWidth, int captionWidth, int tabCount);

// ---- rectangles ----

struct TPageRectInput {
    ClassLib::TRect Client;
    bool CaptionVisible = true;
    int CaptionHeight = 26;
    int QATBelowHeight = 0;   // 0 unless the quick access toolbar is shown below
    int TabHeight = 26;
    int Padding = 4;          // 0 with office tones or the scenic flag
    int PageLeftMargin = 0;
    int PageRightMargin = 0;
    bool GlassScenic = false;
    bool OfficeTones = false;
};
ClassLib::TRect PageRect(const TPageRectInput& in);

struct TCaptionTextInput {
    ClassLib::TRect CaptionRect;  // (-1, -1, -1, -1) when the caption is hidden
    int Indent = 100;
    int RightIndent = 0;
    bool CaptionOnly = false;     // the ribbon form's hidden state
    bool QATInCaption = false;
    int QATLeft = 0;
    int QATWidth = 0;
    int QATGap = 0;               // 8 for the flat caption
    int GroupHeadersRight = -1;   // right edge of the tab-group header union, -1 none
    int TextWidth = 0;            // of the caption text, for centring
    bool CentreWithoutHeaders = true;
};
// The caption text's rectangle and alignment (0 left, 2 centred in it).
ClassLib::TRect CaptionTextRect(const TCaptionTextInput& in, int& alignment);

// ---- tab looks ----

enum class TTabLookKind { Selected, Hot, Normal, NoFace, Disabled };

struct TTabStateInput {
    bool Active = false;
    bool Hot = false;
    bool Down = false;          // the pressed tab
    bool TabEnabled = true;
    bool ShowNonSelectedTabs = false;
    bool Expanded = true;       // or the floating ribbon shows
    bool Focused = false;       // the pager has the keyboard focus
    bool Office2019 = false;
    bool MouseDown = false;
    bool Fading = false;        // a hover glow runs
};

struct TTabLook {
    TTabLookKind Kind = TTabLookKind::NoFace;
    bool DrawFace = false;
    bool Bold = false;
    bool UseHotFill = false;     // the selected tab also hot: hot fill colours
    bool SelectedHotBorder = false;
    bool DownBorder = false;
    bool FocusHot = false;
    bool BlendTowardsBackground = false;  // fading face without non-selected tabs
};
TTabLook ChooseTabLook(const TTabStateInput& in);

// ---- selected-tab underline ----

// Slides the line to a new start and end in five steps of a fifth of the distance;
// a value within one pixel of its target takes the target.
struct TTabLine {
    double CurStart = 0, CurEnd = 0;
    double DeltaStart = 0, DeltaEnd = 0;
    int NewStart = 0, NewEnd = 0;
    bool Animating = false;
    void Begin(int newStart, int newEnd);
    // One tick; false once the line has arrived (and Animating is off).
    bool Step();
};

// ---- tab hints ----

enum class TTabHintChoice { None, Usual, TabHint, Caption };
struct TTabHintInput {
    bool ShowTabHint = false;
    int HintPageIndex = -1;
    bool HasTabHint = false;
    int TabWidth = 0;            // the tab's width in the row
    int LeftMargin = 0, RightMargin = 0;
    int TextWidth = 0;           // of the caption
};
TTabHintChoice ChooseTabHint(const TTabHintInput& in);

}  // namespace AdvToolBar
