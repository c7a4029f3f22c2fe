#pragma once
// Where things go in a toolbar's options drop-down and its add-or-remove check list: the
// hidden items in rows above the two entries, the check list's items, and where a window
// opens so that it stays on its monitor. Sizes in, places out.
#include <span>
#include <vector>

#include "classlib/Geometry.h"

namespace AdvToolBar {

// Both entries share one width: 130, or a caption's width plus room for its arrow.
// A caption width below 0 means the entry is not shown.
int SelectorEntryWidth(int addRemoveTextWidth, int optionsTextWidth, double scale);

struct TSelectorParams {
    int MarginX = 3;
    int MarginY = 3;
    int EntryWidth = 130;
    int EntryHeight = 20;
    int SeparatorSize = 8;
    bool AddRemoveShown = true;
    bool OptionsShown = true;
};

struct TSelectorLayout {
    std::vector<ClassLib::TPoint> Places;  // each control's Left, Top
    int Width = 0;
    int Height = 0;
    ClassLib::TRect AddRemoveRect;  // empty when the entry is not shown
    ClassLib::TRect OptionsRect;
};

// The controls (their width and height, in display order) fill rows as wide as the widest
// of the entries and the controls; the entries sit at the bottom, Options above
// Add-or-Remove.
TSelectorLayout ArrangeSelector(std::span<const ClassLib::TSize> controls, const TSelectorParams& params);

// One item of the check list: its caption's width and whether it opens a sub-list.
struct TPopupItemText {
    int TextWidth = 0;
    bool HasChildren = false;
};

struct TPopupLayout {
    std::vector<ClassLib::TRect> Items;
    int Width = 0;
    int Height = 0;
};

// The items one below the other, all as wide as the widest caption plus the bars, at least
// 70; `iconBar` and `imageBar` are the widths of the columns shown (0 when not).
TPopupLayout ArrangePopupItems(std::span<const TPopupItemText> items, int iconBar, int imageBar, int itemHeight,
                               int margin);

// A window of `size` meant to open at `point`: moved up to end `gap` pixels above the
// bottom of `area` when it would pass it, and to `leftX` when it would pass the area's
// right edge (the caller's choice: left of its anchor, or flush with the edge).
ClassLib::TPoint KeepOnArea(ClassLib::TPoint point, ClassLib::TSize size, const ClassLib::TRect& area, int gap,
                            int leftX);

}  // namespace AdvToolBar
