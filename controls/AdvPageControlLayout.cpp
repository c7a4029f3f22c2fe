#include "controls/AdvPageControlLayout.h"

#include <algorithm>

namespace AdvPageControl {

using ClassLib::TPoint;
using ClassLib::TRect;

TCloseBox CloseBoxPlace(const TCloseBoxInput& in) {
    const TRect& t = in.Tab;
    switch (in.Strip) {
        case TStrip::Top:
        case TStrip::Bottom: {
            const int x0 = in.AtEnd ? t.Right - in.RightMargin - in.Width : t.Left + in.LeftMargin;
            const int y0 = t.Top + in.TopMargin + in.Lowered;
            return {TRect{x0 + 2, y0 + 2, x0 + in.Width, y0 + in.Height}, TPoint{x0 + 2, y0 + 2}};
        }
        case TStrip::Left: {
            // The caption runs upwards: the start of the content is the bottom of the tab.
            const int x0 = t.Left + in.LeftMargin + in.Lowered;
            int yb = in.AtEnd ? t.Top + in.RightMargin + in.Height : t.Bottom - in.TopMargin;
            if (in.ActivePicture) yb += in.Overlap;
            return {TRect{x0 + 2, yb - in.Height, x0 + in.Width, yb - 2}, TPoint{x0 + 2, yb - in.Height}};
        }
        case TStrip::Right: {
            const int x0 = t.Left + in.LeftMargin - in.Lowered + 2;
            const int y0 = in.AtEnd ? t.Bottom - in.RightMargin - in.Height : t.Top + in.TopMargin;
            return {TRect{x0 + 2, y0 + 2, x0 + in.Width, y0 + in.Height}, TPoint{x0 + 2, y0 + 2}};
        }
    }
    return {};
}

TRect CloseBoxHitArea(const TCloseBoxInput& in) {
    TRect r = in.Tab;
    if (in.Strip == TStrip::Left) {
        r.Left += in.LeftMargin;
        if (in.AtEnd) r.Bottom = r.Top + in.RightMargin + in.Height;
        else r.Bottom -= in.TopMargin;
        if (in.ActivePicture) {
            r.Left += 2;
            r.Bottom += in.Overlap;
        }
        return TRect{r.Left + 2, r.Bottom - in.Height, r.Left + in.Width, r.Bottom - 2};
    }
    // Right tabs draw their button two pixels in from the margin: the area moves with it,
    // or the button's last two columns would not close the page and two beside it would.
    const bool right = in.Strip == TStrip::Right;
    const int shift = right ? 2 : 0;
    if (in.AtEnd) {
        const int left = right ? r.Left + in.LeftMargin + shift : r.Right - in.RightMargin - in.Width;
        const int top = right ? r.Bottom - in.RightMargin - in.Height : r.Top + in.TopMargin;
        return TRect{left, top, left + in.Width, top + in.Height};
    }
    const int left = r.Left + in.LeftMargin + shift, top = r.Top + in.TopMargin;
    return TRect{left + 2, top + 2, left + in.Width, top + in.Height};
}

TPixelRuns CloseCross(const TRect& box, int penWidth) {
    const int left = box.Left + 2, top = box.Top + 2;
    const int width = box.Width() - 4, height = box.Height() - 4;
    if (width < 1 || height < 1) return {};
    const int pen = std::clamp(penWidth, 1, width);
    const int travel = width - pen;  // how far a stroke moves across from the top row to the bottom one
    TPixelRuns runs;
    for (int y = 0; y < height; ++y) {
        // The falling stroke's start, worked out for the upper half and mirrored below.
        const int upper = std::min(y, height - 1 - y);
        int start = height > 1 ? (2 * upper * travel + height - 1) / (2 * (height - 1)) : travel / 2;
        if (upper != y) start = travel - start;
        const int fallLeft = start, fallRight = start + pen;   // the rising stroke mirrors it
        const int riseLeft = width - fallRight, riseRight = width - fallLeft;
        if (riseLeft <= fallRight && fallLeft <= riseRight) {
            runs.push_back({left + std::min(fallLeft, riseLeft), left + std::max(fallRight, riseRight), top + y});
        } else {
            runs.push_back({left + fallLeft, left + fallRight, top + y});
            runs.push_back({left + riseLeft, left + riseRight, top + y});
        }
    }
    return runs;
}

TPoint ClosedListButtonPlace(TStrip strip, int clientWidth, int clientHeight, int width, int height, bool overflow,
                             bool multiLine, int arrows) {
    switch (strip) {
        case TStrip::Top:
        case TStrip::Bottom:
            return {clientWidth - width - (overflow ? arrows : 0), strip == TStrip::Top ? 2 : clientHeight - height};
        case TStrip::Left:
        case TStrip::Right:
            return {strip == TStrip::Left ? 1 : clientWidth - width,
                    clientHeight - height - (!multiLine && overflow ? arrows : 0)};
    }
    return {};
}

TPixelRuns DropDownArrow(int width, int height, bool pressed) {
    constexpr int Rows = 4;
    const int shift = pressed ? 1 : 0;
    const int left = (width - (2 * Rows - 1)) / 2 + shift, top = (height - Rows) / 2 + shift;
    TPixelRuns rows;
    for (int row = 0; row < Rows; ++row) rows.push_back({left + row, left + 2 * Rows - 1 - row, top + row});
    return rows;
}

bool TabsOverflow(std::span<const TRect> visibleTabs, int clientWidth) {
    return std::any_of(visibleTabs.begin(), visibleTabs.end(),
                       [clientWidth](const TRect& r) { return r.Left < 0 || r.Right >= clientWidth; });
}

int PageOfTab(const std::vector<bool>& tabVisible, int tabIndex) {
    if (tabIndex < 0) return tabIndex;
    int seen = -1;
    for (std::size_t page = 0; page < tabVisible.size(); ++page)
        if (tabVisible[page] && ++seen == tabIndex) return int(page);
    // Past the visible pages: as many further on as the tab lies past the last.
    return int(tabVisible.size()) + (tabIndex - seen - 1);
}

int TabOfPage(const std::vector<bool>& tabVisible, int pageIndex) {
    int hidden = 0;
    for (int page = 0; page < pageIndex && page < int(tabVisible.size()); ++page)
        if (!tabVisible[std::size_t(page)]) ++hidden;
    return pageIndex - hidden;
}

}  // namespace AdvPageControl
