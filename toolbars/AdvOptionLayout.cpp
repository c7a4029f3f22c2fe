#include "toolbars/AdvOptionLayout.h"

#include <algorithm>
#include <cmath>

namespace AdvToolBar {

using ClassLib::TPoint;
using ClassLib::TRect;
using ClassLib::TSize;

int SelectorEntryWidth(int addRemoveTextWidth, int optionsTextWidth, double scale) {
    const int arrowRoom = int(std::lrint(15 * scale));
    int width = 130;
    if (addRemoveTextWidth >= 0) width = std::max(width, addRemoveTextWidth + arrowRoom);
    if (optionsTextWidth >= 0) width = std::max(width, optionsTextWidth + arrowRoom);
    return width;
}

TSelectorLayout ArrangeSelector(std::span<const TSize> controls, const TSelectorParams& p) {
    TSelectorLayout layout;
    // The entries keep their width even when hidden, so an entry-less panel is still 136 wide.
    int widest = p.EntryWidth;
    for (const TSize& size : controls) widest = std::max(widest, size.cx);
    int x = p.MarginX, y = p.MarginY, rowHeight = 0;
    for (const TSize& size : controls) {
        if (size.cx > widest - x) {
            x = p.MarginX;
            y += rowHeight;
            rowHeight = 0;
        }
        layout.Places.push_back({x, y});
        x += size.cx;
        rowHeight = std::max(rowHeight, size.cy);
    }
    int height = y + rowHeight;
    if (p.AddRemoveShown) height += p.EntryHeight;
    if (p.OptionsShown) height += p.EntryHeight;
    if (!controls.empty() && (p.AddRemoveShown || p.OptionsShown)) height += p.SeparatorSize;
    layout.Width = widest + 2 * p.MarginX;
    layout.Height = height + p.MarginY;
    int bottom = layout.Height - p.MarginY;
    if (p.AddRemoveShown) {
        layout.AddRemoveRect = {p.MarginX, bottom - p.EntryHeight, layout.Width - p.MarginX, bottom};
        bottom = layout.AddRemoveRect.Top;
    }
    if (p.OptionsShown) layout.OptionsRect = {p.MarginX, bottom - p.EntryHeight, layout.Width - p.MarginX, bottom};
    return layout;
}

TPopupLayout ArrangePopupItems(std::span<const TPopupItemText> items, int iconBar, int imageBar, int itemHeight,
                               int margin) {
    TPopupLayout layout;
    int width = 0;
    for (const TPopupItemText& item : items) {
        width = std::max(width, item.TextWidth + 7);
        // Added to the running width: the arrow's room counts once per item with children.
        if (item.HasChildren) width += 30;
    }
    width = std::max(width + iconBar + imageBar, 70);
    int y = margin;
    for (size_t i = 0; i < items.size(); ++i) {
        layout.Items.push_back({margin, y, margin + width, y + itemHeight});
        y += itemHeight + margin;
    }
    layout.Width = width + 2 * margin;
    layout.Height = y;
    return layout;
}

TPoint KeepOnArea(TPoint point, TSize size, const TRect& area, int gap, int leftX) {
    if (point.Y + size.cy + gap > area.Bottom) point.Y = area.Bottom - size.cy - gap;
    if (point.X + size.cx > area.Right) point.X = leftX;
    return point;
}

}  // namespace AdvToolBar
