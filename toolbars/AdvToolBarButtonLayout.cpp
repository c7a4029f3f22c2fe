#include "toolbars/AdvToolBarButtonLayout.h"

#include <algorithm>
#include <cmath>

namespace AdvToolBar {

using ClassLib::TPoint;
using ClassLib::TRect;

int RoundEven(double value) { return int(std::nearbyint(value)); }

// ---------------------------------------------------------------- automatic size

TButtonExtent ButtonExtent(const TButtonSizeInput& in) {
    const int off = RoundEven(in.Offset * in.Scale);
    const int iw = in.ImageWidth, ih = in.ImageHeight, tw = in.TextWidth, th = in.TextHeight;
    const int dropDown = in.DropDownButton ? RoundEven(in.DropDownSectWidth * in.UnitScale) : 0;
    TButtonExtent extent;
    if (!in.Rotated) {
        const int sps = RoundEven(in.Spacing * in.Scale);
        int w = 0, h = 0;
        if (in.GlyphPosition == gpLeft || in.GlyphPosition == gpRight) {
            if (iw >= 1 && tw >= 1) w = iw + sps + tw;
            else if (iw >= 1) w = iw;
            else if (tw >= 1) w = tw;
            w += 2 * off;
            if (in.OnQuickAccess) w += 2 * off;
            h = std::max(th, ih) + 2 * off;
        } else {
            w = std::max(iw, tw) + 2 * off;
            h = th + ih + sps + 2 * off;
        }
        extent.Width = std::max(w, RoundEven(15 * in.Scale)) + dropDown;
        extent.Height = h;
        return extent;
    }
    int length = 0, thickness = 0;
    if (in.GlyphPosition == gpTop || in.GlyphPosition == gpBottom) {
        length = std::max(tw, ih) + 2 * off;
        thickness = iw + th + RoundEven(in.Spacing * in.Scale) + 2 * off;
    } else {
        // Along a turned button the spacing is not scaled.
        if (ih >= 1 && tw >= 1) length = ih + in.Spacing + tw;
        else if (ih >= 1) length = ih;
        else if (tw >= 1) length = tw;
        length += 2 * off;
        thickness = std::max(th, iw) + 2 * off;
    }
    extent.Width = thickness;
    extent.Height = std::max(length, RoundEven(15 * in.UnitScale)) + dropDown;
    return extent;
}

int FitButtonHeight(int height, const TButtonToolBarFit& fit) {
    if (fit.Floating) return fit.CanRotate ? std::max(height, fit.SizeAtDock - 4) : height;
    if (!fit.CanRotate && !fit.Horizontal) return height;
    const int room = fit.CaptionCounts ? fit.ToolBarHeight - fit.CaptionHeight - 4 : fit.ToolBarHeight - 4;
    return std::max(height, room);
}

// ---------------------------------------------------------------- image and caption

TGlyphCaptionPlace PlaceGlyphAndCaption(const TGlyphCaptionInput& in) {
    TGlyphCaptionPlace place;
    const TRect& r = in.Rect;
    const int iw = in.HasImage ? in.ImageWidth : 0, ih = in.HasImage ? in.ImageHeight : 0;
    const int tw = in.HasText ? in.TextWidth : 0;
    // Without a caption the text height is the button's: an upright image above or below
    // then lies half outside, as it always has.
    const int th = in.HasText ? in.TextHeight : in.ButtonHeight;
    const int sp = tw >= 1 && th >= 1 ? in.Spacing : 0;
    const int w = r.Width(), h = r.Height(), bh = in.ButtonHeight;
    int x = 0, y = 0;

    if (!in.HasImage) {
        place.TextRect = r;
        place.Format = cfSingleLine | cfCenter | cfVCenter;
        place.TextOrigin = {r.Right + 1 - (w - th) / 2, r.Top + (h - tw) / 2};
    } else if (!in.Rotated) {
        switch (in.GlyphPosition) {
        case gpLeft:
            x = (w - iw - sp - tw) / 2;
            y = (bh - ih) / 2;
            place.TextRect = {x + iw + sp, r.Top, r.Right, r.Bottom};
            place.Format = cfSingleLine | cfVCenter;
            break;
        case gpTop:
            x = (w - iw) / 2;
            y = (bh - th - ih - sp) / 2;
            place.TextRect = {r.Left, y + ih + sp, r.Right, r.Bottom};
            place.Format = cfSingleLine | cfCenter;
            break;
        case gpRight:
            x = w - iw - (w - iw - sp - tw) / 2;
            y = (bh - ih) / 2;
            place.TextRect = {(w - iw - sp - tw) / 2, r.Top, x - sp, r.Bottom};
            place.Format = cfSingleLine | cfVCenter | cfRight;
            break;
        case gpBottom:
            x = (w - iw) / 2;
            y = bh - ih - (bh - th - ih - sp) / 2;
            place.TextRect = {r.Left, y - sp - th, r.Right, y};
            place.Format = cfSingleLine | cfCenter | cfVCenter;
            break;
        }
        if (!in.AutoSize && x < 0) {
            const int overflow = -x;
            x = 1;
            place.TextRect.Left += overflow + 1;
            place.Format |= cfEndEllipsis;
        }
    } else {
        int e = 0, f = 0;
        switch (in.GlyphPosition) {
        case gpLeft:
            x = (w - iw) / 2;
            y = (h - ih - sp - tw) / 2;
            e = r.Right - (w - th) / 2;
            f = y + ih + sp;
            place.Format = cfSingleLine | cfCenter;
            break;
        case gpTop:
            x = w - iw - (w - iw - sp - th) / 2;
            y = (h - ih) / 2;
            e = (x - sp) - ((x - sp) - r.Left - th) / 2;
            f = r.Top + (h - tw) / 2;
            place.Format = cfSingleLine | cfCenter | cfVCenter;
            break;
        case gpRight:
            x = (w - iw) / 2;
            y = h - ih - (h - ih - sp - tw) / 2;
            e = r.Right - (w - th) / 2;
            f = r.Top + (h - ih - sp - tw) / 2;
            place.Format = cfSingleLine | cfCenter | cfBottom;
            break;
        case gpBottom:
            x = (w - iw - sp - th) / 2;
            y = (h - ih) / 2;
            e = r.Right - (r.Right - (x + iw + sp) - th) / 2;
            f = r.Top + (h - tw) / 2;
            place.Format = cfSingleLine | cfCenter | cfVCenter;
            break;
        }
        place.TextRect = {e - th, f, e, f + tw};
        if (in.GlyphPosition == gpRight) place.TextRect.Bottom = y - sp;
        if (!in.AutoSize && y < 0) {
            const int overflow = -y;
            y = 1;
            place.TextRect.Top += overflow + 1;
            f += overflow + 1;
            place.Format |= cfEndEllipsis;
        }
        place.TextOrigin = {e, f};
    }
    place.Image = {x, y};

    if (!in.AutoSize) {
        if (!in.Rotated && place.TextRect.Left < 0) {
            place.TextRect.Left = 1;
            place.Format = cfSingleLine | cfCenter | cfVCenter | cfEndEllipsis;
        } else if (in.Rotated && place.TextOrigin.Y < 0) {
            place.TextOrigin.Y = 1;
            place.Format |= cfEndEllipsis;
        }
    }
    if (in.FixedPosition) {
        place.Image = {in.FixedImageX, in.FixedImageY};
        place.TextRect = {in.FixedTextX, in.FixedTextY, in.ButtonWidth, in.ButtonHeight};
        place.TextOrigin = {in.FixedTextX, in.FixedTextY};
        place.Format = cfSingleLine | cfEndEllipsis;
    }
    return place;
}

TPoint ReverseTextOrigin(const TGlyphCaptionPlace& place, int textWidth, int textHeight) {
    // The turned text's rectangle runs from its origin th across to the left and tw down.
    const int left = place.TextOrigin.X - textHeight;
    const int bottom = place.TextOrigin.Y + textWidth;
    return {left, bottom - 2};
}

// ---------------------------------------------------------------- drop-down

bool InDropDownZone(int x, int y, int width, int height, bool rotated, float unitScale) {
    const int zone = RoundEven(14 * unitScale);
    return rotated ? y > height - zone : x > width - zone;
}

TRect DropDownSection(const TRect& full, int sectionWidth, bool bottomStrip) {
    if (bottomStrip) return {full.Left, full.Bottom - sectionWidth, full.Right, full.Bottom};
    return {full.Right - sectionWidth, full.Top, full.Right, full.Bottom};
}

TRect ContentRect(const TRect& full, const TRect& section, bool dropDown, bool bottomStrip) {
    TRect content = full;
    if (!dropDown) return content;
    if (bottomStrip) content.Bottom = section.Top;
    else content.Right = section.Left;
    return content;
}

std::array<TPoint, 3> ChevronPoints(int cx, int cy, float unitScale) {
    const double s = unitScale;
    if (RoundEven(s) % 2 != 0)
        return {TPoint{cx - RoundEven(3 * s), cy - RoundEven(s)}, TPoint{cx, cy + RoundEven(2 * s)},
                TPoint{cx + RoundEven(3 * s) + 1, cy - RoundEven(s) - 1}};
    return {TPoint{cx - RoundEven(4 * s), cy - RoundEven(2 * s)}, TPoint{cx, cy + RoundEven(s) + 1},
            TPoint{cx + RoundEven(4 * s) + 1, cy - RoundEven(2 * s) - 1}};
}

// ---------------------------------------------------------------- visual case

TButtonCase ButtonCase(TAdvButtonState state, bool enabled, bool hot, bool mouseDown, TAdvToolButtonStyle style) {
    if (!enabled || state == absDisabled) return TButtonCase::Disabled;
    if (state == absDropDown) return TButtonCase::DropDown;
    const bool checkDown = style == tasCheck && state == absDown;
    if (!checkDown && (state == absDown || (hot && state == absExclusive) || mouseDown)) return TButtonCase::Pressed;
    if (state == absExclusive || checkDown) return TButtonCase::Checked;
    if (hot) return TButtonCase::Hot;
    return TButtonCase::Normal;
}

ClassLib::TColor DisabledGrey(ClassLib::TColor rgb) {
    const int r = int(rgb & 0xFF), g = int((rgb >> 8) & 0xFF), b = int((rgb >> 16) & 0xFF);
    const unsigned level = unsigned(((r + g + b) / 3) / 2 + 96);
    return ClassLib::TColor(level | (level << 8) | (level << 16));
}

// ---------------------------------------------------------------- separator and container lines

std::array<TLineSegment, 2> SeparatorLines(const TRect& r, bool vertical) {
    if (!vertical) {
        const int x = r.Left + (r.Right - r.Left) / 2;
        return {TLineSegment{{x, r.Top + 3}, {x, r.Bottom - 3}, false},
                TLineSegment{{x + 1, r.Top + 4}, {x + 1, r.Bottom - 2}, true}};
    }
    const int y = r.Top + (r.Bottom - r.Top) / 2;
    return {TLineSegment{{r.Left + 3, y}, {r.Right - 3, y}, false},
            TLineSegment{{r.Left + 4, y + 1}, {r.Right - 2, y + 1}, true}};
}

std::vector<TLineSegment> ContainerFrameLines(const TRect& r, int m, int captionRight, bool line3D) {
    std::vector<TLineSegment> lines;
    const int y0 = r.Top + m + 2;
    auto topLine = [&](int dy, bool white) {
        if (captionRight >= 0) {
            lines.push_back({{r.Left, y0 + dy}, {r.Left + 9, y0 + dy}, white});
            lines.push_back({{r.Left + captionRight + 1, y0 + dy}, {r.Right - m, y0 + dy}, white});
        } else {
            lines.push_back({{r.Left, y0 + dy}, {r.Right - m, y0 + dy}, white});
        }
    };
    topLine(0, false);
    if (line3D) topLine(1, true);
    lines.push_back({{r.Left, y0}, {r.Left, r.Bottom - m}, false});
    lines.push_back({{r.Left, r.Bottom - m}, {r.Right - m, r.Bottom - m}, false});
    lines.push_back({{r.Right - m, r.Bottom - m}, {r.Right - m, y0}, false});
    if (line3D) {
        lines.push_back({{r.Left + 1, y0 + 1}, {r.Left + 1, r.Bottom - m}, true});
        lines.push_back({{r.Left + 1, r.Bottom - m + 1}, {r.Right - m + 1, r.Bottom - m + 1}, true});
        lines.push_back({{r.Right - m + 1, r.Bottom - m + 1}, {r.Right - m + 1, y0}, true});
    }
    return lines;
}

}  // namespace AdvToolBar
