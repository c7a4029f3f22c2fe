#include "toolbars/AdvToolBarLayout.h"

#include <algorithm>

namespace AdvToolBar {

using ClassLib::TPoint;
using ClassLib::TRect;

// ---------------------------------------------------------------- the frame

TRect CaptionRect(const TToolBarFrame& frame) {
    TRect rect{0, 0, frame.Width, frame.Height};
    if (frame.Floating) {
        rect.Bottom = rect.Top + frame.CaptionSize;
        return rect;
    }
    if (!frame.ShowCaption) return {};
    if (!frame.Vertical) {
        if (frame.CaptionPosition == cpTop) rect.Bottom = rect.Top + frame.CaptionSize;
        else rect.Top = rect.Bottom - frame.CaptionSize;
    } else {
        if (frame.CaptionPosition == cpTop) rect.Right = rect.Left + frame.CaptionSize;
        else rect.Left = rect.Right - frame.CaptionSize;
    }
    return rect;
}

TRect ContentRect(const TToolBarFrame& frame) {
    TRect rect{0, 0, frame.Width, frame.Height};
    const TRect caption = CaptionRect(frame);
    if (caption == TRect{}) return rect;
    if (frame.Floating || (!frame.Vertical && frame.CaptionPosition == cpTop)) rect.Top = caption.Bottom;
    else if (!frame.Vertical) rect.Bottom = caption.Top;
    else if (frame.CaptionPosition == cpTop) rect.Left = caption.Right;
    else rect.Right = caption.Left;
    return rect;
}

TRect FloatingCloseButtonRect(const TToolBarFrame& frame) {
    if (!frame.Floating || !frame.ShowClose) return {};
    const TRect c = CaptionRect(frame);
    return {c.Right - frame.CaptionHeight - 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRect FloatingOptionButtonRect(const TToolBarFrame& frame) {
    if (!frame.Floating || !frame.ShowOptionIndicator) return {};
    if (!frame.ShowClose) {
        const TRect c = CaptionRect(frame);
        return {c.Right - frame.CaptionHeight - 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
    }
    const TRect close = FloatingCloseButtonRect(frame);
    return {close.Left - frame.CaptionHeight - 2, close.Top, close.Left - 2, close.Bottom};
}

TRect FloatingDragArea(const TToolBarFrame& frame) {
    if (!frame.Floating) return {};
    TRect area = CaptionRect(frame);
    if (frame.ShowOptionIndicator) area.Right = FloatingOptionButtonRect(frame).Left;
    else if (frame.ShowClose) area.Right = FloatingCloseButtonRect(frame).Left;
    return area;
}

TRect CaptionOptionIndicatorRect(const TToolBarFrame& frame) {
    if (frame.Floating || frame.Vertical || !frame.ShowCaption || !frame.ShowOptionIndicator || frame.ShowRightHandle)
        return {-1, -1, -1, -1};
    const TRect c = CaptionRect(frame);
    TRect rect{c.Right - frame.CaptionHeight + 1, c.Top + 2, c.Right - 1, c.Bottom - 1};
    if (frame.Scenic) rect.Right -= 2;
    return rect;
}

TRect DragGripRect(const TToolBarFrame& frame) {
    if (frame.Floating || !frame.GripDrawn) return {};
    if (frame.Vertical) return {0, 0, frame.Width, frame.DragGripWidth};
    return {0, 0, frame.DragGripWidth, frame.Height};
}

TRect RightHandleRect(const TToolBarFrame& frame) {
    if (!frame.HandleReserved || !frame.ShowRightHandle) return {};
    if (frame.Vertical) return {0, frame.Height - frame.HandleWidth, frame.Width, frame.Height};
    return {frame.Width - frame.HandleWidth, 0, frame.Width, frame.Height};
}

// ---------------------------------------------------------------- arranging

namespace {

// Places items side by side along a row; a glow column in a ribbon group is one place.
class TRowPlacer {
public:
    TRowPlacer(std::span<const TLayoutItem> items, std::vector<TPoint>& places) : FItems(items), FPlaces(places) {}

    // Horizontal: x runs along, y is the row's top.
    void Horizontal(const TArrangeParams& p) {
        int x = p.Start;
        const int y = p.Across;
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TLayoutItem& item = FItems[i];
            if (!item.Layout) continue;
            if (item.Hidden) {
                if (item.OnToolBar) FPlaces[i].Y = p.Height + 2;
                continue;
            }
            if (item.WithMargins) x += item.MarginLeft;
            FPlaces[i] = {x, item.WithMargins ? y + item.MarginTop : y};
            x += item.Width + (item.WithMargins ? item.MarginRight : 0);
        }
    }

    // A ribbon group: small glow buttons stand in columns of three, the rest in the row.
    void RibbonGroup(const TArrangeParams& p) {
        int x = p.Start;
        const int y = p.Across;
        int columnCount = 0, columnWidth = 0;
        size_t previous = 0;
        auto closeColumn = [&] {
            if (columnCount == 0) return;
            x += columnWidth;
            columnCount = 0;
            columnWidth = 0;
        };
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TLayoutItem& item = FItems[i];
            if (!item.Layout) continue;
            if (item.Stacks) {
                if (columnCount == 0) FPlaces[i] = {x, y};
                else FPlaces[i] = {x, FPlaces[previous].Y + FItems[previous].Height};
                columnWidth = std::max(columnWidth, item.Width);
                previous = i;
                if (++columnCount == 3) closeColumn();
                continue;
            }
            closeColumn();
            if (!item.GlowButton) x += item.LabelMargin;
            FPlaces[i] = {x, y};
            x += item.Width;
        }
    }

    void Vertical(const TArrangeParams& p) {
        const int x = p.Across;
        int y = p.Start;
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TLayoutItem& item = FItems[i];
            if (!item.Layout) continue;
            if (item.Hidden) {
                if (item.OnToolBar) FPlaces[i].X = p.Width + 2;
                continue;
            }
            FPlaces[i] = {x, y};
            y += item.Height;
        }
    }

    void Floating(const TArrangeParams& p, bool wrap) {
        int x = 2;
        int y = p.Across;
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TLayoutItem& item = FItems[i];
            if (!item.Layout) continue;
            if (wrap && item.Width > p.Width - x - 2) {
                x = 2;
                y += p.RowHeight;
            }
            FPlaces[i] = {x, y};
            x += item.Width;
        }
    }

    // Rows that wrap within the toolbar's width; a wrapped item starts beside the taller
    // items of the rows above.
    void MultiRow(const TArrangeParams& p) {
        int x = 2, y = 0;
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TLayoutItem& item = FItems[i];
            if (!item.Layout) continue;
            if (item.Width > p.Width - x - 2) {
                x = 2;
                for (size_t j = 0; j < i; ++j) {
                    const TLayoutItem& earlier = FItems[j];
                    if (earlier.Layout && earlier.Height > item.Height) x = std::max(x, FPlaces[j].X + earlier.Width);
                }
                y += item.Height;
            }
            if (item.WithMargins) x += item.MarginLeft;
            FPlaces[i] = {x, item.WithMargins ? y + item.MarginTop : y};
            x += item.Width + (item.WithMargins ? item.MarginRight : 0);
        }
    }

private:
    std::span<const TLayoutItem> FItems;
    std::vector<TPoint>& FPlaces;
};

}  // namespace

std::vector<TPoint> ArrangeLayout(std::span<const TLayoutItem> items, const TArrangeParams& params) {
    std::vector<TPoint> places;
    places.reserve(items.size());
    const bool vertical = params.Kind == TArrangeKind::Vertical;
    for (const TLayoutItem& item : items) {
        TPoint place{item.Left, item.Top};
        // Items that are not laid out wait beyond the far edge; badges stay where they are.
        if (!item.Layout && !item.Badge) {
            if (vertical) place.X = params.Width + 2;
            else place.Y = params.Height + 2;
        }
        places.push_back(place);
    }
    TRowPlacer placer(items, places);
    switch (params.Kind) {
        case TArrangeKind::MultiRow: placer.MultiRow(params); break;
        case TArrangeKind::Floating: placer.Floating(params, false); break;
        case TArrangeKind::FloatingRows: placer.Floating(params, true); break;
        case TArrangeKind::Vertical: placer.Vertical(params); break;
        case TArrangeKind::Horizontal:
            if (params.RibbonGroup) placer.RibbonGroup(params);
            else placer.Horizontal(params);
            break;
    }
    return places;
}

// ---------------------------------------------------------------- sizes

namespace {

int Along(const TLayoutItem& item, bool vertical) { return vertical ? item.Height : item.Width; }
int FarEdge(const TLayoutItem& item, bool vertical) { return vertical ? item.Top + item.Height : item.Left + item.Width; }

}  // namespace

TToolBarExtent MeasureToolBar(std::span<const TLayoutItem> items, const TSizeParams& params) {
    const bool vertical = params.Vertical;
    TToolBarExtent extent;
    // The visible length: up to the last item shown.
    if (!params.HasItems) {
        extent.Visible = params.MinLength;
    } else {
        int last = -1;
        for (int i = int(items.size()) - 1; i >= 0 && last < 0; --i)
            if (items[size_t(i)].Layout && !items[size_t(i)].Hidden) last = i;
        if (last < 0) {
            extent.Visible = 15;
        } else if (params.RibbonGroup && !vertical) {
            // A trailing column of up to three stacked buttons ends at its widest.
            int stacked = 0;
            for (int i = last; i >= 0; --i) {
                const TLayoutItem& item = items[size_t(i)];
                if (!item.Layout || item.Hidden) continue;
                extent.Visible = std::max(extent.Visible, FarEdge(item, false));
                if (!item.Stackable || ++stacked == 3) break;
            }
        } else {
            extent.Visible = FarEdge(items[size_t(last)], vertical);
        }
        extent.Visible += params.HandleWidth;
    }
    // The full length shows every item; the thickness holds the largest.
    extent.Full = params.GripOffset + params.HandleWidth;
    int thickest = 0;
    for (const TLayoutItem& item : items) {
        if (!item.Layout) continue;
        extent.Full += Along(item, vertical);
        if (!item.Separator) thickest = std::max(thickest, (vertical ? item.Width : item.Height) + 4);
    }
    extent.Thickness = std::max(thickest, 26);
    if (params.RibbonGroup && !vertical) {
        extent.Full = extent.Visible;
    } else {
        extent.Full = std::max(extent.Full, extent.Visible);
    }
    if (!vertical) extent.Visible = extent.Full;
    if (params.Collapse) extent.Visible = extent.Full = 0;
    return extent;
}

TLengthPlan PlanLength(const TToolBarExtent& extent, int minLength, int length, int maxLength, bool vertical,
                       bool checkBoundChange) {
    TLengthPlan plan;
    const int v = extent.Visible, f = extent.Full;
    plan.MinLength = std::min(minLength, v);
    plan.MaxLength = f;
    plan.Length = length;
    if (!vertical && checkBoundChange && maxLength != f && f < length && length != v) {
        plan.Length = v;
        plan.DockAdjusts = true;
    }
    if (plan.Length < v) {
        plan.Length = v;
    } else if (v < plan.Length && f < plan.Length) {
        plan.Length = v;
        plan.DockAdjusts = checkBoundChange;
    }
    return plan;
}

int DockedSize(std::span<const TLayoutItem> items, bool vertical, bool floating, bool askedFloating) {
    int largest = 0;
    for (const TLayoutItem& item : items) {
        if (!item.Layout || item.Separator) continue;
        if (!vertical || floating) {
            largest = std::max(largest, item.Height);
        } else if (!askedFloating) {
            largest = std::max(largest, item.Width);
        } else if (item.ToolBarButton) {
            largest = std::max(largest, item.RotatingButton ? item.Width : item.Height);
        } else if (!item.ToolBarItem) {
            largest = std::max(largest, item.Height);
        }
    }
    return std::max(largest + 4, 26);
}

int FullLength(std::span<const TLayoutItem> items, bool alongHeight, int gripOffset, int handleWidth, int minLength) {
    int length = gripOffset + handleWidth;
    for (const TLayoutItem& item : items)
        if (item.Layout) length += Along(item, alongHeight);
    return std::max(length, minLength);
}

int IndexByPosition(std::span<const TPoint> places, int index, int x, int y, bool vertical) {
    const int count = int(places.size());
    if (index >= 0 && count <= 1) return index;
    if (x == 0 || y == 0) return count;
    for (int i = 0; i < count; ++i) {
        if (i == index) continue;
        const TPoint& place = places[size_t(i)];
        if (vertical ? place.Y >= y : place.X >= x) return i;
    }
    return count;
}

// ---------------------------------------------------------------- floating rows

int MaxFloatingRows(std::span<const int> extents, int minLength) {
    int largest = 0;
    for (int extent : extents) largest = std::max(largest, extent);
    const int length = std::max(minLength, largest + 2);
    int rows = 1, used = 2;
    for (int extent : extents) {
        if (extent > length - used) {
            ++rows;
            used = 2;
        }
        used += extent;
        if (used >= length) {
            ++rows;
            used = 2;
        }
    }
    if (rows > 1) rows = std::min(rows, int(extents.size()));
    return rows;
}

TFloatingSize CalcFloatingSize(std::span<const int> extents, int minLength, int rows, int rowHeight,
                               int captionHeight) {
    int largest = 0;
    for (int extent : extents) largest = std::max(largest, extent);
    int length = std::max(minLength, largest + 4);
    int spare = length;  // the smallest room left at a row's end, over every try
    const int wanted = std::max(rows, 1);
    for (;;) {
        int used = 2, taken = 1;
        for (int extent : extents) {
            if (length - used - 2 < extent) {
                spare = std::min(spare, length - used - 2);
                used = 2;
                ++taken;
            }
            used += extent;
            if (taken > wanted) break;
        }
        if (taken > wanted) {
            length += 10;
            continue;
        }
        TFloatingSize size{taken * rowHeight + captionHeight, length};
        if (taken > 1) {
            spare = std::min(spare, length - used - 2);
            size.Length = length - spare;
        }
        return size;
    }
}

ClassLib::TPoint VerticalCaptionAnchor(const ClassLib::TRect& rect, int textWidth, TDockAlign side,
                                       ClassLib::TAlignment alignment) {
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom, W = textWidth;
    if (side == daLeft) {  // reads bottom to top
        switch (alignment) {
        case ClassLib::taRightJustify: return {L, T + W + 2};
        case ClassLib::taCenter: return {L, B - (B - T - W) / 2};
        default: return {L, B - 2};
        }
    }
    switch (alignment) {
    case ClassLib::taRightJustify: return {R, B - W - 5};
    case ClassLib::taCenter: return {R, T + (B - T - W) / 2};
    default: return {R, T};
    }
}

}  // namespace AdvToolBar
