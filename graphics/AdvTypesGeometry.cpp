#include "graphics/AdvTypesGeometry.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace AdvTypes {

namespace {
// Halves to the even neighbour, as the processor rounds by default.
int RoundEven(double value) { return int(std::nearbyint(value)); }
}  // namespace

bool IsNumberChar(wchar_t c) {
    if (c >= L'0' && c <= L'9') return true;
    if (c <= 0x7F) return false;
    // The system's digit class holds the decimal digits of every script (and the
    // superscripts); the letter and other numbers it leaves out are listed here.
    WORD type = 0;
    if (::GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & C1_DIGIT)) return true;
    static constexpr struct { wchar_t First, Last; } Numbers[] = {
        {0x00B2, 0x00B3}, {0x00B9, 0x00B9}, {0x00BC, 0x00BE}, {0x16EE, 0x16F0}, {0x2070, 0x2070},
        {0x2074, 0x2079}, {0x2080, 0x2089}, {0x2150, 0x2182}, {0x2185, 0x2189}, {0x2460, 0x249B},
        {0x24EA, 0x24FF}, {0x2776, 0x2793}, {0x3007, 0x3007}, {0x3021, 0x3029}, {0x3038, 0x303A},
        {0x3192, 0x3195}, {0x3220, 0x3229}, {0x3248, 0x324F}, {0x3251, 0x325F}, {0x3280, 0x3289},
        {0x32B1, 0x32BF}, {0xFF10, 0xFF19},
    };
    for (const auto& range : Numbers)
        if (c >= range.First && c <= range.Last) return true;
    return false;
}

void OffsetRectF(TRectF& r, float dx, float dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void InflateRectF(TRectF& r, float dx, float dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

bool PtInRectF(const TRectF& r, const TPointF& p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool RectsIntersect(const TRectF& a, const TRectF& b) {
    return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) && std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

float RectWidthF(const TRectF& r) { return r.Right - r.Left; }
float RectHeightF(const TRectF& r) { return r.Bottom - r.Top; }

namespace {
bool SameValue(float a, float b) {
    const float epsilon = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-4f, 1e-4f);
    return std::fabs(a - b) <= epsilon;
}
}  // namespace

bool IsRectEmptyF(const TRectF& r) {
    return r.Left > r.Right || r.Top > r.Bottom || SameValue(r.Left, r.Right) || SameValue(r.Top, r.Bottom);
}

TRectF IntersectRectF(const TRectF& r, const TRectF& bounds) {
    TRectF result{std::max(r.Left, bounds.Left), std::max(r.Top, bounds.Top), std::min(r.Right, bounds.Right),
                  std::min(r.Bottom, bounds.Bottom)};
    if (IsRectEmptyF(result)) result = {};
    return result;
}

TRectF CenterRectF(const TRectF& r, const TRectF& bounds) {
    TRectF result = r;
    OffsetRectF(result, -result.Left, -result.Top);
    OffsetRectF(result, float(RoundEven((RectWidthF(bounds) - RectWidthF(r)) / 2)),
                float(RoundEven((RectHeightF(bounds) - RectHeightF(r)) / 2)));
    OffsetRectF(result, bounds.Left, bounds.Top);
    return result;
}

TRectF FitRectF(const TRectF& r, const TRectF& bounds, float& scale) {
    scale = 1;
    if (RectWidthF(bounds) <= 0 || RectHeightF(bounds) <= 0) return r;
    scale = std::max(RectHeightF(r) / RectHeightF(bounds), RectWidthF(r) / RectWidthF(bounds));
    if (scale <= 0) {   // a rectangle without size has nothing to fit
        scale = 1;
        return r;
    }
    const TRectF sized{r.Left, r.Top, r.Left + RectWidthF(r) / scale, r.Top + RectHeightF(r) / scale};
    return CenterRectF(sized, bounds);
}

TRectF SnapRectF(const TRectF& r, bool halfPixel, float scale) {
    if (scale <= 0) scale = 1;
    const float left = std::trunc(r.Left * scale) / scale;
    const float top = std::trunc(r.Top * scale) / scale;
    const float width = float(RoundEven(RectWidthF(r) * scale)) / scale;
    const float height = float(RoundEven(RectHeightF(r) * scale)) / scale;
    TRectF result{left, top, left + width, top + height};
    if (halfPixel) OffsetRectF(result, 1 / (2 * scale), 1 / (2 * scale));
    return result;
}

float VectorLength(const TPointF& p) { return std::sqrt(p.X * p.X + p.Y * p.Y); }

ClassLib::TRect RectFToRect(const TRectF& r) {
    return {RoundEven(r.Left), RoundEven(r.Top), RoundEven(r.Right), RoundEven(r.Bottom)};
}

TRectF RectToRectF(const ClassLib::TRect& r) { return {float(r.Left), float(r.Top), float(r.Right), float(r.Bottom)}; }

TPointF PointToPointF(const ClassLib::TPoint& p) { return {float(p.X), float(p.Y)}; }

ClassLib::TSize PointFToSize(const TPointF& p) { return {RoundEven(p.X), RoundEven(p.Y)}; }

}  // namespace AdvTypes
