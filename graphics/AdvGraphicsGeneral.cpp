#include "graphics/AdvGraphicsGeneral.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"

namespace AdvGraphics::General {

using namespace ClassLib;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;

namespace {

// Clears the brush for one call; style and colour come back afterwards.
class TClearBrush {
public:
    explicit TClearBrush(TCanvas* canvas)
        : FCanvas(canvas), FStyle(canvas->Brush()->Style()), FColor(canvas->Brush()->Color()) {
        canvas->Brush()->SetStyle(bsClear);
    }
    ~TClearBrush() {
        FCanvas->Brush()->SetColor(FColor);
        FCanvas->Brush()->SetStyle(FStyle);
    }
    TClearBrush(const TClearBrush&) = delete;
    TClearBrush& operator=(const TClearBrush&) = delete;
private:
    TCanvas* FCanvas;
    TBrushStyle FStyle;
    TColor FColor;
};

class TClearPen {
public:
    explicit TClearPen(TCanvas* canvas) : FCanvas(canvas), FStyle(canvas->Pen()->Style()) {
        canvas->Pen()->SetStyle(psClear);
    }
    ~TClearPen() { FCanvas->Pen()->SetStyle(FStyle); }
    TClearPen(const TClearPen&) = delete;
    TClearPen& operator=(const TClearPen&) = delete;
private:
    TCanvas* FCanvas;
    TPenStyle FStyle;
};

TRect RoundRect(const TRectF& r) {
    return TRect{RoundToPixel(r.Left), RoundToPixel(r.Top), RoundToPixel(r.Right), RoundToPixel(r.Bottom)};
}

TPoint RoundPoint(const TPointF& p) { return TPoint{RoundToPixel(p.X), RoundToPixel(p.Y)}; }

std::vector<TPoint> RoundPoints(const TAdvGraphicsPathPolygon& polygon) {
    std::vector<TPoint> points;
    points.reserve(polygon.size());
    for (const TPointF& p : polygon) points.push_back(RoundPoint(p));
    return points;
}

bool AllFinite(const TAdvGraphicsPathPolygon& polygon) {
    return std::all_of(polygon.begin(), polygon.end(), IsFinitePoint);
}

TPoint RadialPoint(const TPointF& center, const TPointF& radius, float angle) {
    const double a = double(angle) * std::numbers::pi / 180;
    return RoundPoint(PointF(float(center.X + radius.X * std::cos(a)), float(center.Y + radius.Y * std::sin(a))));
}

// An arc as GDI takes it: the bounding box and two radial points. GDI runs arcs
// counter-clockwise on screen from the first point to the second, so a positive sweep
// starts at the sweep's end; a negative one at its start, or GDI would draw the
// complementary arc.
struct TArcGeometry {
    TRect Box;
    TPoint First, Second;
};

TArcGeometry ArcGeometry(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle) {
    const TPoint atStart = RadialPoint(center, radius, startAngle);
    const TPoint atEnd = RadialPoint(center, radius, startAngle + sweepAngle);
    const TRect box{RoundToPixel(center.X - radius.X), RoundToPixel(center.Y - radius.Y),
                    RoundToPixel(center.X + radius.X), RoundToPixel(center.Y + radius.Y)};
    return sweepAngle < 0 ? TArcGeometry{box, atStart, atEnd} : TArcGeometry{box, atEnd, atStart};
}

void CanvasArc(TCanvas* canvas, const TArcGeometry& arc) {
    canvas->Arc(arc.Box.Left, arc.Box.Top, arc.Box.Right, arc.Box.Bottom, arc.First.X, arc.First.Y, arc.Second.X,
                arc.Second.Y);
}

TPenStyle PenStyleOf(TAdvGraphicsStrokeKind kind) {
    switch (kind) {
    case gskNone: return psClear;
    case gskSolid: return psSolid;
    case gskDash: return psDash;
    case gskDot: return psDot;
    case gskDashDot: return psDashDot;
    case gskDashDotDot: return psDashDotDot;
    }
    return psSolid;
}

void ApplyFillKind(TCanvas* canvas, TAdvGraphicsFillKind kind) {
    if (kind == gfkNone)
        canvas->Brush()->SetStyle(bsClear);
    else if (kind == gfkSolid || kind == gfkGradient)
        canvas->Brush()->SetStyle(bsSolid);
}

int CornerCut(int radius, int distance) {
    const double r = radius;
    const double d = r - distance;
    return int(std::lrint(r - std::sqrt(std::max(0.0, r * r - d * d))));
}

}  // namespace

void DrawGradient(TCanvas* canvas, TColor colorFrom, TColor colorTo, bool horizontal, TAdvGraphicsCorners corners,
                  int radius, const TRect& rect) {
    int count = horizontal ? rect.Right - rect.Left : rect.Bottom - rect.Top;
    if (count <= 0) count = 1;
    const TColor from = ColorToRGB(colorFrom);
    const TColor to = ColorToRGB(colorTo);
    const TColor oldBrushColor = canvas->Brush()->Color();
    const TBrushStyle oldBrushStyle = canvas->Brush()->Style();
    const TColor oldPenColor = canvas->Pen()->Color();
    const TPenStyle oldPenStyle = canvas->Pen()->Style();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
    const int dr = ColorRed(to) - ColorRed(from), dg = ColorGreen(to) - ColorGreen(from);
    const int db = ColorBlue(to) - ColorBlue(from);
    auto has = [corners](TAdvGraphicsCorner corner) { return (corners & (1u << corner)) != 0; };
    for (int i = 0; i < count; ++i) {
        auto step = [i, count](int delta) { return int(std::lrint(double(i) * delta / count)); };
        const TColor band = RGBToColor(ColorRed(from) + step(dr), ColorGreen(from) + step(dg), ColorBlue(from) + step(db));
        canvas->Pen()->SetColor(band);
        canvas->Brush()->SetColor(band);
        int startCut = 0, endCut = 0;  // along the band: top/left side, bottom/right side
        if (radius > 0 && i <= radius) {
            const int cut = CornerCut(radius, i);
            if (has(gcTopLeft)) startCut = cut;
            if (has(horizontal ? gcBottomLeft : gcTopRight)) endCut = cut;
        }
        if (radius > 0 && i >= count - radius) {
            const int cut = CornerCut(radius, count - i);
            if (has(horizontal ? gcTopRight : gcBottomLeft)) startCut = std::max(startCut, cut);
            if (has(gcBottomRight)) endCut = std::max(endCut, cut);
        }
        if (horizontal) {
            const int x = rect.Left + i;
            canvas->Rectangle(x, rect.Top + startCut, std::min(x + 1, rect.Right), rect.Bottom - endCut);
        } else {
            const int y = rect.Top + i;
            canvas->Rectangle(rect.Left + startCut, y, rect.Right - endCut, std::min(y + 1, rect.Bottom));
        }
    }
    canvas->Brush()->SetColor(oldBrushColor);
    canvas->Brush()->SetStyle(oldBrushStyle);
    canvas->Pen()->SetColor(oldPenColor);
    canvas->Pen()->SetStyle(oldPenStyle);
}

TAdvGraphicsContextGeneral::TAdvGraphicsContextGeneral(TAdvGraphics* graphics, TCanvas* canvas)
    : TAdvGraphicsContext(graphics, canvas) {}

TAdvGraphicsContextGeneral::~TAdvGraphicsContextGeneral() {
    if (FSpecialPen) StopSpecialPen();
}

TColor TAdvGraphicsContextGeneral::GetFillColor() { return Canvas()->Brush()->Color(); }

TRectF TAdvGraphicsContextGeneral::CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) {
    TRect r = RoundRect(rect);
    std::wstring copy = text;
    TTextFormat format{wordWrapping ? tfWordBreak : tfSingleLine, tfCalcRect};
    if (!FShowAcceleratorChar) format += tfNoPrefix;
    Canvas()->TextRect(r, copy, format);
    return AdvTypes::RectToRectF(r);
}

void TAdvGraphicsContextGeneral::PathMoveTo(TContextPath*, const TPointF& point) {
    const TPoint p = RoundPoint(point);
    Canvas()->MoveTo(p.X, p.Y);
}

void TAdvGraphicsContextGeneral::PathLineTo(TContextPath*, const TPointF& point) {
    const TPoint p = RoundPoint(point);
    Canvas()->LineTo(p.X, p.Y);
}

void TAdvGraphicsContextGeneral::PathClose(TContextPath*) { ::CloseFigure(Canvas()->Handle()); }

void TAdvGraphicsContextGeneral::StartSpecialPen() {
    if (FPrinting) {
        FOldPenStyle = Canvas()->Pen()->Style();
        FOldPenWidth = Canvas()->Pen()->Width();
        Canvas()->Pen()->SetStyle(psDot);
        Canvas()->Pen()->SetWidth(1);
        return;
    }
    if (FSpecialPen) return;
    LOGBRUSH brush{BS_SOLID, COLORREF(ColorToRGB(Canvas()->Pen()->Color())), 0};
    FSpecialPen = ::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    if (FSpecialPen) FOldPenHandle = HPEN(::SelectObject(Canvas()->Handle(), FSpecialPen));
}

void TAdvGraphicsContextGeneral::StopSpecialPen() {
    if (FPrinting) {
        Canvas()->Pen()->SetStyle(FOldPenStyle);
        Canvas()->Pen()->SetWidth(FOldPenWidth);
        return;
    }
    if (!FSpecialPen) return;
    ::SelectObject(Canvas()->Handle(), FOldPenHandle);
    ::DeleteObject(FSpecialPen);
    FSpecialPen = nullptr;
    FOldPenHandle = nullptr;
}

void TAdvGraphicsContextGeneral::SaveState(TAdvGraphicsSaveState* state) {
    HDC dc = Canvas()->Handle();  // first: handing the DC out selects the canvas's objects, which Refresh takes out
    Canvas()->Refresh();
    state->SetSaveDC(::SaveDC(dc));
}

void TAdvGraphicsContextGeneral::RestoreState(TAdvGraphicsSaveState* state) {
    ::RestoreDC(Canvas()->Handle(), state->SaveDC());
    state->SetSaveDC(0);
    Canvas()->Refresh();
}

void TAdvGraphicsContextGeneral::SetFontSize(int size) { Canvas()->Font()->SetSize(size); }
void TAdvGraphicsContextGeneral::SetFontColor(TColor color) { Canvas()->Font()->SetColor(color); }
void TAdvGraphicsContextGeneral::SetFontName(const std::wstring& name) { Canvas()->Font()->SetName(name); }
void TAdvGraphicsContextGeneral::SetFont(const TAdvGraphicsFont* font) { Canvas()->Font()->Assign(font); }
void TAdvGraphicsContextGeneral::SetFontStyles(TFontStyles style) { Canvas()->Font()->SetStyle(style); }

void TAdvGraphicsContextGeneral::SetFill(const TAdvGraphicsFill* fill) {
    Canvas()->Brush()->SetColor(fill->Color());
    ApplyFillKind(Canvas(), fill->Kind());
}

void TAdvGraphicsContextGeneral::SetFillKind(TAdvGraphicsFillKind kind) { ApplyFillKind(Canvas(), kind); }
void TAdvGraphicsContextGeneral::SetFillColor(TColor color) { Canvas()->Brush()->SetColor(color); }

void TAdvGraphicsContextGeneral::SetStroke(const TAdvGraphicsStroke* stroke) {
    Canvas()->Pen()->SetColor(stroke->Color());
    Canvas()->Pen()->SetWidth(RoundToPixel(stroke->Width()));
    Canvas()->Pen()->SetStyle(PenStyleOf(stroke->Kind()));
}

void TAdvGraphicsContextGeneral::SetStrokeKind(TAdvGraphicsStrokeKind kind) { Canvas()->Pen()->SetStyle(PenStyleOf(kind)); }
void TAdvGraphicsContextGeneral::SetStrokeColor(TColor color) { Canvas()->Pen()->SetColor(color); }
void TAdvGraphicsContextGeneral::SetStrokeWidth(float width) { Canvas()->Pen()->SetWidth(RoundToPixel(width)); }

void TAdvGraphicsContextGeneral::DrawLine(const TAdvGraphicsStroke*, const TPointF& fromPoint, const TPointF& toPoint,
                                          TAdvGraphicsModifyPointMode, TAdvGraphicsModifyPointMode) {
    if (!IsFinitePoint(fromPoint) || !IsFinitePoint(toPoint)) return;
    const TPoint from = RoundPoint(fromPoint), to = RoundPoint(toPoint);
    Canvas()->MoveTo(from.X, from.Y);
    Canvas()->LineTo(to.X, to.Y);
}

void TAdvGraphicsContextGeneral::DrawPolygon(const TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& polygon) {
    if (polygon.empty() || !AllFinite(polygon)) return;
    TClearBrush clear(Canvas());
    Canvas()->Polygon(RoundPoints(polygon));
}

void TAdvGraphicsContextGeneral::FillPolygon(const TAdvGraphicsFill*, const TAdvGraphicsPathPolygon& polygon) {
    if (polygon.empty() || !AllFinite(polygon)) return;
    TClearPen clear(Canvas());
    Canvas()->Polygon(RoundPoints(polygon));
}

void TAdvGraphicsContextGeneral::DrawPolyline(const TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& polyline) {
    if (polyline.empty() || !AllFinite(polyline)) return;
    TClearBrush clear(Canvas());
    Canvas()->Polyline(RoundPoints(polyline));
}

void TAdvGraphicsContextGeneral::FillPolyline(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polyline) {
    // A polyline has no inside in GDI; filled as its closed polygon.
    FillPolygon(fill, polyline);
}

void TAdvGraphicsContextGeneral::FillArc(const TAdvGraphicsFill*, const TPointF& center, const TPointF& radius,
                                         float startAngle, float sweepAngle) {
    if (!IsFiniteArc(center, radius, startAngle, sweepAngle)) return;
    const TArcGeometry arc = ArcGeometry(center, radius, startAngle, sweepAngle);
    TClearPen clear(Canvas());
    Canvas()->Rectangle(0, 0, 0, 0);  // paints nothing; selects the clear pen and the brush
    ::Chord(Canvas()->Handle(), arc.Box.Left, arc.Box.Top, arc.Box.Right, arc.Box.Bottom, arc.First.X, arc.First.Y,
            arc.Second.X, arc.Second.Y);
}

void TAdvGraphicsContextGeneral::DrawArc(const TAdvGraphicsStroke*, const TPointF& center, const TPointF& radius,
                                         float startAngle, float sweepAngle) {
    if (!IsFiniteArc(center, radius, startAngle, sweepAngle)) return;
    TClearBrush clear(Canvas());
    CanvasArc(Canvas(), ArcGeometry(center, radius, startAngle, sweepAngle));
}

void TAdvGraphicsContextGeneral::FillRect(const TAdvGraphicsFill* fill, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!fill || !IsFiniteRect(rect)) return;
    const TRect r = RoundRect(rect);
    if (fill->Kind() == gfkGradient && fill->Color() != -1 && fill->ColorTo() != -1) {
        const bool mirrored = fill->ColorMirror() != -1 && fill->ColorMirrorTo() != -1;
        if (!mirrored) {
            DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), fill->Orientation() == gfoHorizontal, 0, 0, r);
        } else if (fill->Orientation() == gfoHorizontal) {
            const int middle = r.Left + (r.Right - r.Left) / 2;
            DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), true, 0, 0, TRect{r.Left, r.Top, middle, r.Bottom});
            DrawGradient(Canvas(), fill->ColorMirror(), fill->ColorMirrorTo(), true, 0, 0,
                         TRect{middle, r.Top, r.Right, r.Bottom});
        } else if (fill->Orientation() == gfoVertical) {
            const int middle = r.Top + (r.Bottom - r.Top) / 2;
            DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), false, 0, 0, TRect{r.Left, r.Top, r.Right, middle});
            DrawGradient(Canvas(), fill->ColorMirror(), fill->ColorMirrorTo(), false, 0, 0,
                         TRect{r.Left, middle, r.Right, r.Bottom});
        }
    } else if (fill->Kind() == gfkSolid && fill->Color() != -1) {
        TClearPen clear(Canvas());
        Canvas()->Rectangle(r);
    }
}

void TAdvGraphicsContextGeneral::DrawRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, TAdvGraphicsSides sides,
                                          TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    const TRect r = RoundRect(rect);
    const float right = float(r.Right - 1), bottom = float(r.Bottom - 1);
    const float left = float(r.Left), top = float(r.Top);
    if (sides & (1u << gsTop)) DrawLine(stroke, PointF(left, top), PointF(right, top), gcpmNone, gcpmNone);
    if (sides & (1u << gsLeft)) DrawLine(stroke, PointF(left, top), PointF(left, bottom), gcpmNone, gcpmNone);
    if (sides & (1u << gsBottom)) DrawLine(stroke, PointF(left, bottom), PointF(right, bottom), gcpmNone, gcpmNone);
    if (sides & (1u << gsRight)) DrawLine(stroke, PointF(right, top), PointF(right, float(r.Bottom)), gcpmNone, gcpmNone);
}

void TAdvGraphicsContextGeneral::FillRoundRect(const TAdvGraphicsFill* fill, const TRectF& rect, float rounding,
                                               TAdvGraphicsCorners corners, TAdvGraphicsModifyRectMode) {
    if (!fill || !IsFiniteRect(rect) || !std::isfinite(rounding)) return;
    TRect r = RoundRect(rect);
    r.Right -= 1;
    r.Bottom -= 1;
    const int radius = RoundToPixel(rounding);
    const bool horizontal = fill->Orientation() == gfoHorizontal;
    if (fill->Kind() == gfkSolid && fill->Color() != -1) {
        DrawGradient(Canvas(), fill->Color(), fill->Color(), horizontal, corners, radius, r);
        return;
    }
    if (fill->Kind() != gfkGradient || fill->Color() == -1 || fill->ColorTo() == -1) return;
    const bool mirrored = fill->ColorMirror() != -1 && fill->ColorMirrorTo() != -1;
    if (!mirrored) {
        DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), horizontal, corners, radius, r);
    } else if (fill->Orientation() == gfoVertical) {
        const int middle = r.Top + (r.Bottom - r.Top) / 2;
        const unsigned top = corners & ((1u << gcTopLeft) | (1u << gcTopRight));
        const unsigned bottom = corners & ((1u << gcBottomLeft) | (1u << gcBottomRight));
        DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), false, top, radius, TRect{r.Left, r.Top, r.Right, middle});
        DrawGradient(Canvas(), fill->ColorMirror(), fill->ColorMirrorTo(), false, bottom, radius,
                     TRect{r.Left, middle, r.Right, r.Bottom});
    } else if (fill->Orientation() == gfoHorizontal) {
        const int middle = r.Left + (r.Right - r.Left) / 2;
        const unsigned left = corners & ((1u << gcTopLeft) | (1u << gcBottomLeft));
        const unsigned right = corners & ((1u << gcTopRight) | (1u << gcBottomRight));
        DrawGradient(Canvas(), fill->Color(), fill->ColorTo(), true, left, radius, TRect{r.Left, r.Top, middle, r.Bottom});
        DrawGradient(Canvas(), fill->ColorMirror(), fill->ColorMirrorTo(), true, right, radius,
                     TRect{middle, r.Top, r.Right, r.Bottom});
    }
}

void TAdvGraphicsContextGeneral::DrawRoundRect(const TAdvGraphicsStroke*, const TRectF& rect, float rounding,
                                               TAdvGraphicsCorners corners, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect) || !std::isfinite(rounding)) return;
    TClearBrush clear(Canvas());
    const TRect rr = RoundRect(rect);
    int r = RoundToPixel(rounding);
    if ((corners & AllCorners) == AllCorners) {
        Canvas()->RoundRect(rr.Left, rr.Top, rr.Right, rr.Bottom, 2 * r, 2 * r);
        return;
    }
    if ((corners & AllCorners) == 0) {
        Canvas()->Rectangle(rr);
        return;
    }
    const int left = rr.Left, top = rr.Top, right = rr.Right - 1, bottom = rr.Bottom - 1;
    r -= 1;
    auto has = [corners](TAdvGraphicsCorner corner) { return (corners & (1u << corner)) != 0; };
    auto quarter = [this, r](int cx, int cy, float startAngle) {
        CanvasArc(Canvas(), ArcGeometry(PointF(float(cx), float(cy)), PointF(float(r), float(r)), startAngle, 90));
    };
    TCanvas* c = Canvas();
    if (has(gcBottomLeft)) {
        c->MoveTo(left + r, bottom);
        quarter(left + r, bottom - r, -270);
        c->MoveTo(left, bottom - r);
    } else {
        c->MoveTo(left, bottom);
    }
    c->LineTo(left, top + r - 2);
    if (has(gcTopLeft)) {
        quarter(left + r, top + r, -180);
        c->MoveTo(left + r, top);
    } else {
        c->LineTo(left, top);
    }
    c->LineTo(right - r, top);
    if (has(gcTopRight)) {
        quarter(right - r, top + r, -90);
        c->MoveTo(right, top + r);
    } else {
        c->LineTo(right, top);
    }
    c->LineTo(right, bottom - r + 1);
    if (has(gcBottomRight)) {
        quarter(right - r, bottom - r + 1, 0);
        c->MoveTo(right - r, bottom);
    } else {
        c->LineTo(right, bottom);
    }
    c->LineTo(has(gcBottomLeft) ? left + r - 2 : left, bottom);
}

void TAdvGraphicsContextGeneral::FillEllipse(const TAdvGraphicsFill*, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    TClearPen clear(Canvas());
    Canvas()->Ellipse(RoundRect(rect));
}

void TAdvGraphicsContextGeneral::DrawEllipse(const TAdvGraphicsStroke*, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    TClearBrush clear(Canvas());
    Canvas()->Ellipse(RoundRect(rect));
}

void TAdvGraphicsContextGeneral::DrawBitmap(TGraphic* bitmap, const TRectF&, const TRectF& dstRect, float) {
    if (!bitmap || !IsFiniteRect(dstRect)) return;
    const int left = RoundToPixel(dstRect.Left), top = RoundToPixel(dstRect.Top);
    Canvas()->StretchDraw(TRect{left, top, left + RoundToPixel(dstRect.Right - dstRect.Left),
                                top + RoundToPixel(dstRect.Bottom - dstRect.Top)},
                          bitmap);
}

void TAdvGraphicsContextGeneral::ClipRect(const TRectF& rect) {
    if (!IsFiniteRect(rect)) return;
    const TRect r = RoundRect(rect);
    ::IntersectClipRect(Canvas()->Handle(), r.Left, r.Top, r.Right, r.Bottom);
}

void TAdvGraphicsContextGeneral::ClipPath(const TAdvGraphicsPath* path) {
    if (path) ClipRect(path->GetBounds());
}

void TAdvGraphicsContextGeneral::DrawFocusPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path,
                                               TColor color) {
    TClearBrush clear(Canvas());
    Canvas()->Pen()->SetColor(color);
    StartSpecialPen();
    DrawPath(stroke, path, pdmPolygon);
    StopSpecialPen();
}

void TAdvGraphicsContextGeneral::DrawFocusRectangle(const TAdvGraphicsStroke*, const TRectF& rect, TColor color,
                                                    TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    TClearBrush clear(Canvas());
    Canvas()->Pen()->SetColor(color);
    StartSpecialPen();
    Canvas()->Rectangle(RoundRect(rect));
    StopSpecialPen();
}

void TAdvGraphicsContextGeneral::DrawText(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                          TAdvGraphicsTextTrimming trimming, float angle) {
    if (!IsFiniteRect(rect) || !std::isfinite(angle)) return;
    TClearBrush clear(Canvas());
    TCanvas* c = Canvas();
    if (angle != 0) {
        // Rotated text ignores wrapping and trimming: one line along the angle.
        TFont* font = c->Font();
        const int oldOrientation = font->Orientation();
        font->SetOrientation(RoundToPixel(-10 * angle));
        const float w = float(c->TextWidth(text)), h = float(c->TextHeight(text));
        const float width = rect.Width(), height = rect.Height();
        float x, y;
        if (angle < 0) {
            y = horizontalAlign == gtaCenter ? rect.Top + (height - w) / 2 + w
                : horizontalAlign == gtaLeading ? rect.Bottom : rect.Top + w;
            x = verticalAlign == gtaCenter ? rect.Left + width / 2 - h / 2
                : verticalAlign == gtaLeading ? rect.Left : rect.Left + width - h;
        } else {
            y = horizontalAlign == gtaCenter ? rect.Top + (height - w) / 2
                : horizontalAlign == gtaLeading ? rect.Top : rect.Bottom - w;
            x = verticalAlign == gtaCenter ? rect.Left + width / 2 + h / 2
                : verticalAlign == gtaLeading ? rect.Left + width : rect.Left + h;
        }
        c->TextOut(RoundToPixel(x), RoundToPixel(y), text);
        font->SetOrientation(oldOrientation);
        return;
    }
    TTextFormat format{wordWrapping ? tfWordBreak : tfSingleLine};
    if (!FShowAcceleratorChar) format += tfNoPrefix;
    format += horizontalAlign == gtaCenter ? tfCenter : horizontalAlign == gtaLeading ? tfLeft : tfRight;
    format += verticalAlign == gtaCenter ? tfVerticalCenter : verticalAlign == gtaLeading ? tfTop : tfBottom;
    if (trimming == gttCharacter) format += tfEndEllipsis;
    if (trimming == gttWord) format += tfWordEllipsis;
    TRect r = RoundRect(rect);
    if (wordWrapping) {
        // The system places only single lines vertically: wrapped text is placed here.
        if (verticalAlign == gtaCenter) {
            const TRectF measured = CalculateText(text, rect, true);
            const int textHeight = RoundToPixel(measured.Height());
            r.Top += std::max(0, (r.Bottom - r.Top - textHeight) / 2);
            r.Bottom = std::max(0, std::min(RoundToPixel(rect.Bottom), r.Top + textHeight));
        } else if (verticalAlign == gtaTrailing) {
            const TRectF measured = CalculateText(text, rect, true);
            r.Top = r.Bottom - RoundToPixel(measured.Height());
        }
    }
    std::wstring copy = text;
    c->TextRect(r, copy, format);
}

void TAdvGraphicsContextGeneral::StrokeOrFillPath(const TAdvGraphicsPath* path, TAdvGraphicsPathDrawMode pathMode,
                                                  bool fill) {
    if (!path) return;
    if (pathMode == pdmPath) {
        HDC dc = Canvas()->Handle();
        Canvas()->Rectangle(0, 0, 0, 0);  // paints nothing; selects the canvas's pen and brush
        ::BeginPath(dc);
        ConvertToPath(*path, 0.25f);
        ::EndPath(dc);
        if (fill)
            ::FillPath(dc);
        else
            ::StrokePath(dc);
        ::AbortPath(dc);
        return;
    }
    TAdvGraphicsPathPolygon polygon;
    path->FlattenToPolygon(polygon, 0.25f);
    if (fill) {
        if (pathMode == pdmPolygon)
            FillPolygon(nullptr, polygon);
        else
            FillPolyline(nullptr, polygon);
    } else {
        if (pathMode == pdmPolygon)
            DrawPolygon(nullptr, polygon);
        else
            DrawPolyline(nullptr, polygon);
    }
}

void TAdvGraphicsContextGeneral::DrawPath(const TAdvGraphicsStroke*, const TAdvGraphicsPath* path,
                                          TAdvGraphicsPathDrawMode pathMode) {
    StrokeOrFillPath(path, pathMode, false);
}

void TAdvGraphicsContextGeneral::FillPath(const TAdvGraphicsFill*, const TAdvGraphicsPath* path,
                                          TAdvGraphicsPathDrawMode pathMode) {
    StrokeOrFillPath(path, pathMode, true);
}

}  // namespace AdvGraphics::General
