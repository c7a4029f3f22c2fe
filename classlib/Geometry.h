#pragma once
// Integer points, sizes and rectangles of the drawing and window code, with the
// small constructors Point(), Rect() and Bounds() that callers expect.
#include <algorithm>

namespace ClassLib {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    int Width() const { return cx; }
    int Height() const { return cy; }
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    TSize Size() const { return {Width(), Height()}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Right and bottom edges are outside, as for every rectangle the system draws.
    bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    void Offset(int dx, int dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
    void Inflate(int dx, int dy) { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TSize Size(int cx, int cy) { return {cx, cy}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Rect(const TPoint& topLeft, const TPoint& bottomRight) {
    return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// The overlap of two rectangles; an empty result is (0, 0, 0, 0) and false.
inline bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
    result = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (result.IsEmpty()) { result = {}; return false; }
    return true;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

inline bool PtInRect(const TRect& r, const TPoint& p) { return r.Contains(p); }

}  // namespace ClassLib
