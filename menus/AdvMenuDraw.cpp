#include "menus/AdvMenuDraw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"

namespace AdvMenus {

using ClassLib::clNone;
using ClassLib::TBitmap;
using ClassLib::TCanvas;

namespace {

struct TChannels {
    int R, G, B;
};

TChannels ChannelsOf(TColor color) {
    const auto rgb = std::uint32_t(ClassLib::ColorToRGB(color));
    return {int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)};
}

// Step k of `extent`, per channel the low byte of from + k * (to - from) div extent.
TChannels GradientStep(const TChannels& from, const TChannels& to, int k, int extent) {
    auto channel = [&](int a, int b) { return (a + k * (b - a) / extent) & 0xFF; };
    return {channel(from.R, to.R), channel(from.G, to.G), channel(from.B, to.B)};
}

// What a primitive paints on: a bitmap's pixels or a canvas's device context.
class TTarget {
public:
    TTarget(TBitmap* bitmap, TCanvas* canvas) : FBitmap(bitmap), FCanvas(canvas) {
        if (FBitmap && FBitmap->PixelFormat() != ClassLib::pf32bit) FBitmap->SetPixelFormat(ClassLib::pf32bit);
    }
    bool Valid() const { return FBitmap || FCanvas; }
    // The part of `r` the target holds.
    TRect Bounded(const TRect& r) const {
        if (!FBitmap) return r;
        TRect inside;
        ClassLib::IntersectRect(inside, r, {0, 0, FBitmap->Width(), FBitmap->Height()});
        return inside;
    }
    void Fill(const TRect& r, const TChannels& c) {
        const TRect area = Bounded(r);
        if (area.IsEmpty()) return;
        if (FBitmap) {
            const std::uint32_t pixel = 0xFF000000u | std::uint32_t(c.R) << 16 | std::uint32_t(c.G) << 8 | std::uint32_t(c.B);
            for (int y = area.Top; y < area.Bottom; ++y) {
                auto* line = static_cast<std::uint32_t*>(FBitmap->ScanLine(y));
                std::fill(line + area.Left, line + area.Right, pixel);
            }
            return;
        }
        HDC dc = FCanvas->Handle();
        const COLORREF old = ::SetBkColor(dc, RGB(c.R, c.G, c.B));
        const RECT box{area.Left, area.Top, area.Right, area.Bottom};
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    }
    // Copies row `from` of the bitmap over rows (from, bottom) between left and right.
    void RepeatRow(int from, int bottom, int left, int right) {
        const auto* source = static_cast<const std::uint32_t*>(FBitmap->ScanLine(from));
        for (int y = from + 1; y < bottom; ++y)
            std::memcpy(static_cast<std::uint32_t*>(FBitmap->ScanLine(y)) + left, source + left,
                        size_t(right - left) * sizeof(std::uint32_t));
    }
    bool IsBitmap() const { return FBitmap != nullptr; }
private:
    TBitmap* FBitmap;
    TCanvas* FCanvas;
};

// The gradient defined over `full`, painted inside `area` only.
void PaintGradient(TTarget& target, const TRect& full, TGradientDirection direction, TColor colorTo, TColor color,
                   const TRect& area) {
    if (color == clNone || !target.Valid()) return;
    const TRect part = target.Bounded(area);
    if (part.IsEmpty()) return;
    if (colorTo == clNone || colorTo == color) {
        target.Fill(part, ChannelsOf(color));
        return;
    }
    const TChannels from = ChannelsOf(color), to = ChannelsOf(colorTo);
    if (direction == gdVertical) {
        const int extent = full.Height();
        for (int y = part.Top; y < part.Bottom; ++y)
            target.Fill({part.Left, y, part.Right, y + 1}, GradientStep(from, to, y - full.Top, extent));
        return;
    }
    const int extent = full.Width();
    if (target.IsBitmap()) {
        // One row computed, then copied to the others.
        for (int x = part.Left; x < part.Right; ++x)
            target.Fill({x, part.Top, x + 1, part.Top + 1}, GradientStep(from, to, x - full.Left, extent));
        target.RepeatRow(part.Top, part.Bottom, part.Left, part.Right);
        return;
    }
    for (int x = part.Left; x < part.Right; ++x)
        target.Fill({x, part.Top, x + 1, part.Bottom}, GradientStep(from, to, x - full.Left, extent));
}

void PaintFrame(TTarget& target, const TRect& r, TColor colour) {
    if (colour == clNone || r.IsEmpty()) return;
    const TChannels c = ChannelsOf(colour);
    target.Fill({r.Left, r.Top, r.Right, r.Top + 1}, c);
    target.Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
    target.Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, c);
    target.Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, c);
}

}  // namespace

void FillMenuGradient(TBitmap* bitmap, TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor colorTo,
                      TColor color) {
    TTarget target(bitmap, canvas);
    PaintGradient(target, r, direction, colorTo, color, r);
}

void FillMenuGradientClipped(TBitmap* bitmap, TCanvas* canvas, const TRect& full, TGradientDirection direction,
                             TColor colorTo, TColor color, const TRect& clip) {
    TRect area;
    if (!ClassLib::IntersectRect(area, full, clip)) return;
    TTarget target(bitmap, canvas);
    PaintGradient(target, full, direction, colorTo, color, area);
}

void DrawMenuGradientBox(TBitmap* bitmap, TCanvas* canvas, const TRect& r, bool fill, TColor borderColor,
                         TGradientDirection direction, TColor colorTo, TColor color) {
    TTarget target(bitmap, canvas);
    if (fill) PaintGradient(target, r, direction, colorTo, color, r);
    PaintFrame(target, r, borderColor);
}

void DrawMenuMirrorGradientBox(TBitmap* bitmap, TCanvas* canvas, const TRect& r, bool fill, TColor borderColor,
                               TGradientDirection direction, TColor mirrorTo, TColor mirror, TColor colorTo,
                               TColor color) {
    if (mirror == clNone) {
        DrawMenuGradientBox(bitmap, canvas, r, fill, borderColor, direction, colorTo, color);
        return;
    }
    TTarget target(bitmap, canvas);
    if (fill) {
        const TRect upper{r.Left, r.Top, r.Right, r.Top + r.Height() / 2};
        const TRect lower{r.Left, upper.Bottom, r.Right, r.Bottom};
        PaintGradient(target, upper, direction, colorTo, color, upper);
        PaintGradient(target, lower, direction, mirrorTo, mirror, lower);
    }
    PaintFrame(target, r, borderColor);
}

void DrawGradientLine(TBitmap* bitmap, TCanvas* canvas, const TRect& r, int margin, int gradientWidth,
                      TGradientType gradientType, TGradientDirection direction, TColor colorTo, TColor color) {
    if (colorTo == clNone) colorTo = color;
    if (color == clNone) return;
    TTarget target(bitmap, canvas);
    const bool horizontal = direction == gdHorizontal;
    TRect line = r;
    if (horizontal) {
        line.Left += margin;
        line.Right -= margin;
    } else {
        line.Top += margin;
        line.Bottom -= margin;
        if (gradientType == gtBoth) gradientWidth *= 2;
    }
    const int start = horizontal ? line.Left : line.Top;
    const int end = horizontal ? line.Right : line.Bottom;
    const int extent = end - start;
    if (extent <= 0 || line.IsEmpty()) return;
    // The part [from, to) along the line.
    auto part = [&](int from, int to) {
        return horizontal ? TRect{from, line.Top, to, line.Bottom} : TRect{line.Left, from, line.Right, to};
    };
    // A gradient part running from `first` at its start to `second` at its end.
    auto gradient = [&](int from, int to, TColor first, TColor second) {
        if (to <= from) return;
        const TRect piece = part(from, to);
        PaintGradient(target, piece, direction, second, first, piece);
    };
    auto solid = [&](int from, int to, TColor colour) {
        if (to > from) PaintGradient(target, part(from, to), direction, colour, colour, part(from, to));
    };
    const int width = gradientWidth < extent ? std::max(gradientWidth, 0) : extent;
    switch (gradientType) {
        case gtLeft:
            if (horizontal) {
                solid(start + width, end, colorTo);
                gradient(start, start + width, color, colorTo);
            } else {
                solid(start, end - width, colorTo);
                gradient(end - width, end, colorTo, color);
            }
            break;
        case gtRight:
            if (horizontal) {
                solid(start, end - width, colorTo);
                gradient(end - width, end, colorTo, color);
            } else {
                solid(start + width, end, colorTo);
                gradient(start, start + width, color, colorTo);
            }
            break;
        case gtBoth: {
            const int first = gradientWidth < extent ? width / 2 : extent / 2;
            const int second = gradientWidth < extent ? width / 2 : extent - first;
            solid(start + first, end - second, color);
            gradient(start, start + first, colorTo, color);
            gradient(end - second, end, color, colorTo);
            break;
        }
    }
}

void DrawMenuBackground(TCanvas* canvas, const TRect& r, TBackground& background, bool paintGradient) {
    TRect area = r;
    area.Inflate(-background.MarginX(), -background.MarginY());
    if (area.IsEmpty() || !canvas) return;
    TBitmap* cache = background.Bitmap();
    cache->SetPixelFormat(ClassLib::pf32bit);
    cache->SetSize(area.Width(), area.Height());
    const TRect whole{0, 0, area.Width(), area.Height()};
    ClassLib::TGraphic* picture = background.HasImage() ? background.Image()->Graphic() : nullptr;
    const TBackgroundPosition position = background.Position();
    auto* pictureBitmap = dynamic_cast<TBitmap*>(picture);
    if (paintGradient && (!picture || (position != bpTiled && position != bpStretched) ||
                          (pictureBitmap && pictureBitmap->Transparent())))
        FillMenuGradient(cache, nullptr, whole, background.GradientDirection(), background.ColorTo(),
                         background.Color());
    if (picture) {
        TCanvas* on = cache->Canvas();
        switch (position) {
            case bpTiled:
                if (picture->Width() >= 1 && picture->Height() >= 1)
                    for (int y = 0; y < whole.Bottom; y += picture->Height())
                        for (int x = 0; x < whole.Right; x += picture->Width()) on->Draw(x, y, picture);
                break;
            case bpStretched: on->StretchDraw(whole, picture); break;
            case bpXY: on->Draw(background.OffsetX(), background.OffsetY(), picture); break;
            default: {
                int x = 0, y = 0;
                background.CalcPicturePosition(whole, x, y);
                on->Draw(x, y, picture);
            }
        }
    }
    canvas->Draw(area.Left, area.Top, cache);
}

}  // namespace AdvMenus
