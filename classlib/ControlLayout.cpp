#include "classlib/ControlLayout.h"

#include <algorithm>

namespace ClassLib {

TSize FitLayoutSize(const TLayoutChild& child, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (child.MaxWidth > 0) width = std::min(width, child.MaxWidth);
    if (child.MaxHeight > 0) height = std::min(height, child.MaxHeight);
    return {std::max(width, child.MinWidth), std::max(height, child.MinHeight)};
}

namespace {

int MarginsWidth(const TLayoutChild& child) {
    return child.WithMargins ? child.Margins.Left + child.Margins.Right : 0;
}

int MarginsHeight(const TLayoutChild& child) {
    return child.WithMargins ? child.Margins.Top + child.Margins.Bottom : 0;
}

// Stable order per side: top ones by Top, bottom ones from the bottom up, and so on.
std::vector<std::size_t> AlignedOn(std::span<const TLayoutChild> children, TAlign align) {
    std::vector<std::size_t> list;
    for (std::size_t i = 0; i < children.size(); ++i)
        if (children[i].Visible && children[i].Align == align) list.push_back(i);
    std::stable_sort(list.begin(), list.end(), [&](std::size_t a, std::size_t b) {
        const TRect& x = children[a].Bounds;
        const TRect& y = children[b].Bounds;
        switch (align) {
            case alTop: return x.Top < y.Top;
            case alBottom: return x.Bottom > y.Bottom;
            case alLeft: return x.Left < y.Left;
            case alRight: return x.Right > y.Right;
            default: return false;
        }
    });
    return list;
}

}  // namespace

std::vector<TLayoutPlace> ArrangeChildren(std::span<const TLayoutChild> children, TRect& alignRect,
                                          TSize clientSize) {
    std::vector<TLayoutPlace> places;
    TRect& rect = alignRect;
    // Asked for an outer box; the margins come off it, the limits may change the size.
    // Returns the outer size the child then takes, which is what the strip uses up.
    auto place = [&](std::size_t index, int left, int top, int width, int height) {
        const TLayoutChild& child = children[index];
        if (child.WithMargins) {
            left += child.Margins.Left;
            top += child.Margins.Top;
            width -= MarginsWidth(child);
            height -= MarginsHeight(child);
        }
        const TSize size = FitLayoutSize(child, width, height);
        places.push_back({index, Bounds(left, top, size.cx, size.cy)});
        return TSize{size.cx + MarginsWidth(child), size.cy + MarginsHeight(child)};
    };
    auto outerWidth = [&](std::size_t i) { return children[i].Bounds.Width() + MarginsWidth(children[i]); };
    auto outerHeight = [&](std::size_t i) { return children[i].Bounds.Height() + MarginsHeight(children[i]); };

    for (std::size_t i : AlignedOn(children, alTop))
        rect.Top += place(i, rect.Left, rect.Top, rect.Width(), outerHeight(i)).cy;
    for (std::size_t i : AlignedOn(children, alBottom)) {
        const int height = outerHeight(i);
        rect.Bottom -= place(i, rect.Left, rect.Bottom - height, rect.Width(), height).cy;
    }
    for (std::size_t i : AlignedOn(children, alLeft))
        rect.Left += place(i, rect.Left, rect.Top, outerWidth(i), rect.Height()).cx;
    for (std::size_t i : AlignedOn(children, alRight)) {
        const int width = outerWidth(i);
        rect.Right -= place(i, rect.Right - width, rect.Top, width, rect.Height()).cx;
    }
    for (std::size_t i : AlignedOn(children, alClient)) place(i, rect.Left, rect.Top, rect.Width(), rect.Height());

    for (std::size_t i = 0; i < children.size(); ++i) {
        const TLayoutChild& child = children[i];
        if (child.Align != alNone || !child.AnchorValid || child.Anchors == DefaultAnchors) continue;
        const TRect& origin = child.AnchorBounds;
        const int dx = clientSize.cx - child.AnchorParentSize.cx;
        const int dy = clientSize.cy - child.AnchorParentSize.cy;
        int left = origin.Left, top = origin.Top, width = origin.Width(), height = origin.Height();
        const bool l = child.Anchors & AnchorBit(akLeft), r = child.Anchors & AnchorBit(akRight);
        const bool t = child.Anchors & AnchorBit(akTop), b = child.Anchors & AnchorBit(akBottom);
        if (l && r) width += dx;
        else if (r) left += dx;
        else if (!l) left += dx / 2;
        if (t && b) height += dy;
        else if (b) top += dy;
        else if (!t) top += dy / 2;
        const TSize size = FitLayoutSize(child, width, height);
        places.push_back({i, Bounds(left, top, size.cx, size.cy)});
    }
    return places;
}

}  // namespace ClassLib
