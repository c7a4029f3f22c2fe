#pragma once
// How a ribbon page fits its toolbars (ribbon groups) into its width, without windows: the
// passes that shrink, grow, compact and expand the groups, and the scroller used when even
// the compact groups do not fit. The page hands its toolbars in through small interfaces;
// tests hand in fakes.
#include <span>
#include <vector>

#include "controls/AdvGlowButton.h"

namespace AdvToolBar {

using AdvGlowButton::TButtonSizeState;

// A ribbon group as the passes see it (the toolbar's compact operations).
class IPageToolBar {
public:
    virtual int Left() const = 0;
    virtual int Width() const = 0;
    virtual bool Visible() const = 0;
    virtual bool IsCompact() const = 0;
    virtual bool IsAutoCompacted() const = 0;
    virtual bool PropertiesLoaded() const = 0;
    virtual int GetExpandedWidth() = 0;
    virtual int GetCompactWidth() = 0;
    virtual int GetGrowWidth(TButtonSizeState& newState) = 0;
    virtual int GrowButtons(TButtonSizeState& newState, bool apply) = 0;
    virtual int GetShrinkWidth(TButtonSizeState& newState) = 0;
    virtual int ShrinkButtons(TButtonSizeState& newState, bool apply) = 0;
    virtual void ApplyCompact(bool value) = 0;
    virtual void SetCompactSmallest(bool value) = 0;

protected:
    ~IPageToolBar() = default;
};

// The page as the passes see it.
class IPageToolBarRow {
public:
    virtual int PageWidth() const = 0;
    // The pager's page padding (0 without pager).
    virtual int Padding() const = 0;
    virtual bool Designing() const = 0;
    // The pager's AutoCompactToolBars; true for a page without pager.
    virtual bool AutoCompact() const = 0;
    // The shown toolbars ordered by Left (equal Left keeps the child order).
    virtual std::vector<IPageToolBar*> ToolBarsByLeft() const = 0;
    // A toolbar changed its width: place them all again.
    virtual void Arrange() = 0;

protected:
    ~IPageToolBarRow() = default;
};

// The full pass in either direction (load, the pager's switch, a group's Compact).
void UpdateAllToolBars(IPageToolBarRow& page);
// The one-way passes of a size change: wider grows, narrower shrinks.
void GrowAdvToolBars(IPageToolBarRow& page);
void ShrinkAdvToolBars(IPageToolBarRow& page);

// ---- placement ----
struct TToolBarPlace {
    int Left, Top, Height;
};
// Left to right from 3, 3 pixels apart, each as high as the page less 6. A toolbar that is
// hidden or has no width (`widths` entry <= 0, `shown` false) takes no room: its place is
// its own entry unchanged (Left -1).
std::vector<TToolBarPlace> PlaceToolBars(std::span<const int> widths, const std::vector<bool>& shown, int pageHeight);

// ---- scroller ----
// How many toolbars from `index` (forward to the end or back to 0) fit into the page.
int FittingToolBarCount(std::span<const int> widths, int pageWidth, int index, bool forward);
// The scroller's Max: 0 unless every toolbar is compact and still not all fit.
int ToolBarScrollerMax(std::span<const int> widths, int pageWidth, bool allCompact);
// The shift that brings toolbar `index` into view, from the present Lefts (negative moves
// the toolbars left). The motion runs in steps of 5 pixels, as on the screen.
int ToolBarScrollShift(std::span<const int> lefts, std::span<const int> widths, int pageWidth, int firstShown,
                       int& index);

}  // namespace AdvToolBar
