#pragma once
// The window-free half of AdvTypes: float points and rectangles and the small geometry
// routines the drawing code shares.
#include "classlib/Geometry.h"

namespace AdvTypes {

struct TPointF {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    float Width() const { return Right - Left; }
    float Height() const { return Bottom - Top; }
    friend bool operator==(const TRectF&, const TRectF&) = default;
};

inline TPointF PointF(float x, float y) { return {x, y}; }
inline TRectF RectF(float left, float top, float right, float bottom) { return {left, top, right, bottom}; }

// True for "0".."9" and, above U+007F, for characters of the Unicode number categories.
bool IsNumberChar(wchar_t c);

void OffsetRectF(TRectF& r, float dx, float dy);
// Grows by dx on the left and on the right, by dy at the top and at the bottom.
void InflateRectF(TRectF& r, float dx, float dy);
// Right and bottom edges are outside, as for the integer rectangles.
bool PtInRectF(const TRectF& r, const TPointF& p);
// True only when the overlap has a positive area.
bool RectsIntersect(const TRectF& a, const TRectF& b);
float RectWidthF(const TRectF& r);
float RectHeightF(const TRectF& r);
// Also empty when an edge pair is equal within a relative 1E-4 (at least 1E-4), so the
// rounding of float sums does not make slivers.
bool IsRectEmptyF(const TRectF& r);
// R clipped to Bounds; an empty result is (0, 0, 0, 0).
TRectF IntersectRectF(const TRectF& r, const TRectF& bounds);
// R moved so that its centre is the centre of Bounds, on whole-pixel offsets.
TRectF CenterRectF(const TRectF& r, const TRectF& bounds);
// R scaled to fit Bounds keeping its aspect, then centred; scale is R's size over the result's.
TRectF FitRectF(const TRectF& r, const TRectF& bounds, float& scale);
// R on the pixel grid of the scale (0 or less counts as 1): the corner truncated, the size
// rounded; with halfPixel moved half a pixel right and down, for crisp one-pixel lines.
TRectF SnapRectF(const TRectF& r, bool halfPixel, float scale);
float VectorLength(const TPointF& p);
ClassLib::TRect RectFToRect(const TRectF& r);
TRectF RectToRectF(const ClassLib::TRect& r);
TPointF PointToPointF(const ClassLib::TPoint& p);
ClassLib::TSize PointFToSize(const TPointF& p);

}  // namespace AdvTypes
