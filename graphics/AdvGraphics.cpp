#include "graphics/AdvGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphicsGeneral.h"
#include "graphics/AdvGraphicsWin.h"
#include "graphics/AdvTypes.h"

namespace AdvGraphics {

using AdvGraphicsTypes::gppClose;
using AdvGraphicsTypes::gppCurveTo;
using AdvGraphicsTypes::gppLineTo;
using AdvGraphicsTypes::gppMoveTo;

int RoundToPixel(float value) {
    // lrint rounds half to even under the default rounding mode; the clamp keeps a huge
    // coordinate from overflowing the conversion.
    const float limit = 1e9f;
    if (!(value > -limit)) return -int(limit);
    if (value > limit) return int(limit);
    return int(std::lrint(value));
}

void TAdvGraphicsContext::PathLinesTo(TContextPath* path, const TPointF* points, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) PathLineTo(path, points[i]);
}

namespace {

// True when the four points all lie beyond one edge of the rectangle, and with them the
// curve they control.
bool BeyondOneEdge(const TPointF (&p)[4], const TRectF& r) {
    const auto all = [&p](auto test) { return test(p[0]) && test(p[1]) && test(p[2]) && test(p[3]); };
    return all([&r](const TPointF& q) { return q.X < r.Left; }) || all([&r](const TPointF& q) { return q.X > r.Right; }) ||
           all([&r](const TPointF& q) { return q.Y < r.Top; }) || all([&r](const TPointF& q) { return q.Y > r.Bottom; });
}

// Drops the points of points[from, end) that lie within a hundredth of a unit of the line
// between the points kept around them, and points repeating the one before. Flattening
// puts a point every quarter unit along a curve, several times what a small curve needs;
// the shape moves by less than any pixel's shading can show.
void ThinCurvePoints(AdvGraphicsTypes::TAdvGraphicsPathPolygon& points, std::size_t from, const TPointF& before) {
    constexpr double Tolerance = 0.01;
    constexpr std::size_t MaxSpan = 64;   // points one line may stand for: the check is quadratic in it
    std::size_t out = from;
    TPointF anchor = before;
    const std::size_t end = points.size();
    std::size_t i = from;
    while (i < end) {
        if (points[i] == anchor) {
            ++i;
            continue;
        }
        // The farthest point the line from the anchor can reach with every point between close to it.
        std::size_t reach = i;
        for (std::size_t k = i + 1; k < end && k - i < MaxSpan; ++k) {
            const double dx = double(points[k].X) - anchor.X, dy = double(points[k].Y) - anchor.Y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 0)) break;
            bool close = true;
            for (std::size_t j = i; j < k && close; ++j)
                close = std::fabs((double(points[j].X) - anchor.X) * dy - (double(points[j].Y) - anchor.Y) * dx) <=
                        Tolerance * length;
            if (!close) break;
            reach = k;
        }
        anchor = points[reach];
        points[out++] = anchor;
        i = reach + 1;
    }
    points.resize(out);
}

}  // namespace

std::unique_ptr<TContextPath> TAdvGraphicsContext::ConvertToPath(const TAdvGraphicsPath& path, float flatness,
                                                                 const TRectF* cull) {
    std::unique_ptr<TContextPath> result = CreatePath();
    const float tolerance = flatness > 0.05f ? flatness : 0.05f;
    const auto& entries = path.PathData();
    FLines.clear();
    const auto flush = [this, &result] {
        if (FLines.empty()) return;
        PathLinesTo(result.get(), FLines.data(), FLines.size());
        FLines.clear();
    };
    TPointF current;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        switch (entry.Kind) {
        case gppMoveTo:
            flush();
            PathOpen(result.get());
            PathMoveTo(result.get(), entry.Point);
            current = entry.Point;
            break;
        case gppLineTo:
            FLines.push_back(entry.Point);
            current = entry.Point;
            break;
        case gppCurveTo:
            if (i + 2 < entries.size()) {
                const TPointF curve[4] = {current, entry.Point, entries[i + 1].Point, entries[i + 2].Point};
                if (cull && BeyondOneEdge(curve, *cull))
                    FLines.push_back(curve[3]);
                else {
                    const std::size_t from = FLines.size();
                    TAdvGraphicsPath::AppendFlattenedCurve(curve[0], curve[1], curve[2], curve[3], tolerance, FLines);
                    ThinCurvePoints(FLines, from, curve[0]);
                }
                current = curve[3];
            }
            i += 2;
            break;
        case gppClose:
            flush();
            PathClose(result.get());
            break;
        }
    }
    flush();
    return result;
}

// ---- TAdvGraphics

using namespace ClassLib;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;

TDefaultGraphicColors& DefaultGraphicColors() {
    static TDefaultGraphicColors colors;
    return colors;
}

void TAdvGraphics::SetDefaultGraphicColors() {
    DefaultGraphicColors() = {0, 0xA9A9A9, 0xE1E1E1, 0xB17F3C, 0xFBF1E5, 0xA9A9A9, 0xD3D3D3};
}

TAdvGraphics::TAdvGraphics(TCanvas* canvas, bool native) : TAdvGraphics(canvas, native, nullptr, 1, 1) {}

TAdvGraphics::TAdvGraphics(TCanvas* canvas, bool native, std::unique_ptr<TBitmap> bitmap, float width, float height)
    : FActiveCanvas(bitmap ? bitmap->Canvas() : canvas), FNative(native), FBitmap(std::move(bitmap)) {
    if (native)
        FContext = std::make_unique<Win::TAdvGraphicsContextWin>(this, FActiveCanvas);
    else
        FContext = std::make_unique<General::TAdvGraphicsContextGeneral>(this, FActiveCanvas);
    FContext->SetSize(width, height);
    FFill = std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite);
    FStroke = std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver);
    FFont = std::make_unique<TAdvGraphicsFont>();
    FFill->SetOnChanged([this](TObject*) { SetFill(FFill.get()); });
    FStroke->SetOnChanged([this](TObject*) { SetStroke(FStroke.get()); });
    FFont->SetOnChanged([this](TObject*) { SetFont(FFont.get()); });
    FContext->SetFill(FFill.get());
    FContext->SetStroke(FStroke.get());
    FContext->SetFont(FFont.get());
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateNative(TCanvas* canvas) {
    return std::make_unique<TAdvGraphics>(canvas, true);
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateBitmapCanvas(int width, int height, bool native, bool) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf32bit);
    return std::unique_ptr<TAdvGraphics>(
        new TAdvGraphics(nullptr, native, std::move(bitmap), float(width), float(height)));
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateNativeBitmapCanvas(int width, int height) {
    return CreateBitmapCanvas(width, height, true, true);
}

TAdvGraphics::~TAdvGraphics() {
    FContext.reset();  // renders while the canvas and bitmap still exist
    FFill->SetOnChanged(nullptr);
    FStroke->SetOnChanged(nullptr);
    FFont->SetOnChanged(nullptr);
}

void TAdvGraphics::Assign(const TAdvGraphics* source) {
    if (!source || source == this) return;
    FFill->BeginUpdate();
    FFill->Assign(source->FFill.get());
    FFill->EndUpdate();
    FStroke->BeginUpdate();
    FStroke->Assign(source->FStroke.get());
    FStroke->EndUpdate();
    FFont->BeginUpdate();
    FFont->Assign(source->FFont.get());
    FFont->EndUpdate();
}

template <class F>
void TAdvGraphics::Guarded(F apply) {
    if (FBlockUpdate > 0) return;
    ++FBlockUpdate;
    struct TRelease {
        int& Count;
        ~TRelease() { --Count; }
    } release{FBlockUpdate};
    apply();
}

void TAdvGraphics::SetFill(const TAdvGraphicsFill* fill) {
    Guarded([&] {
        FContext->SetFill(fill);
        FFill->Assign(fill);
    });
}
void TAdvGraphics::SetStroke(const TAdvGraphicsStroke* stroke) {
    Guarded([&] {
        if (stroke && PenWidth(stroke->Width()) != stroke->Width()) {
            TAdvGraphicsStroke pen;   // the context makes its pens no wider than they may be
            pen.Assign(stroke);
            pen.SetWidth(PenWidth(stroke->Width()));
            FContext->SetStroke(&pen);
        } else {
            FContext->SetStroke(stroke);
        }
        FStroke->Assign(stroke);
    });
}
void TAdvGraphics::SetFont(const TAdvGraphicsFont* font) {
    Guarded([&] {
        FContext->SetFont(font);
        FFont->Assign(font);
    });
}
void TAdvGraphics::SetFillKind(TAdvGraphicsFillKind kind) {
    Guarded([&] {
        FContext->SetFillKind(kind);
        FFill->SetKind(kind);
    });
}
void TAdvGraphics::SetFillColor(TColor color) {
    Guarded([&] {
        FContext->SetFillColor(color);
        FFill->SetColor(color);
    });
}
void TAdvGraphics::SetStrokeKind(TAdvGraphicsStrokeKind kind) {
    Guarded([&] {
        FContext->SetStrokeKind(kind);
        FStroke->SetKind(kind);
    });
}
void TAdvGraphics::SetStrokeColor(TColor color) {
    Guarded([&] {
        FContext->SetStrokeColor(color);
        FStroke->SetColor(color);
    });
}
void TAdvGraphics::SetStrokeWidth(float width) {
    Guarded([&] {
        FContext->SetStrokeWidth(PenWidth(width));
        FStroke->SetWidth(width);
    });
}
void TAdvGraphics::SetFontColor(TColor color) {
    Guarded([&] {
        FContext->SetFontColor(color);
        FFont->SetColor(color);
    });
}
void TAdvGraphics::SetFontName(const std::wstring& name) {
    Guarded([&] {
        FContext->SetFontName(name);
        FFont->SetName(name);
    });
}
void TAdvGraphics::SetFontSize(int size) {
    Guarded([&] {
        FContext->SetFontSize(size);
        FFont->SetSize(size);
    });
}
void TAdvGraphics::SetFontStyles(TFontStyles styles) {
    Guarded([&] {
        FContext->SetFontStyles(styles);
        FFont->SetStyle(styles);
    });
}



std::unique_ptr<TAdvGraphicsSaveState> TAdvGraphics::SaveState(bool canvasOnly) {
    auto state = std::make_unique<TAdvGraphicsSaveState>();
    if (!canvasOnly) {
        state->SetFill(FFill.get());
        state->SetStroke(FStroke.get());
        state->SetFont(FFont.get());
    }
    FContext->SaveState(state.get());
    return state;
}

void TAdvGraphics::RestoreState(std::unique_ptr<TAdvGraphicsSaveState> state, bool canvasOnly) {
    if (!state) return;
    if (!canvasOnly) {
        SetFill(state->Fill());
        SetStroke(state->Stroke());
        SetFont(state->Font());
    }
    FContext->RestoreState(state.get());
}

bool TAdvGraphics::FillVisible() const {
    return (FFill->Color() != -1 && FFill->Kind() != gfkNone) || FFill->Kind() == gfkTexture;
}

bool TAdvGraphics::StrokeVisible() const { return FStroke->Color() != -1 && FStroke->Kind() != gskNone; }

void TAdvGraphics::DrawBitmap(const TRectF& rect, TGraphic* bitmap) {
    if (!bitmap || bitmap->Empty() || !IsFiniteRect(rect)) return;
    FContext->DrawBitmap(bitmap, RectF(0, 0, float(bitmap->Width()), float(bitmap->Height())), rect, 1);
}

void TAdvGraphics::DrawTexture(const TRectF& rect) {
    AdvTypes::TAdvBitmap* texture = FFill->Texture();
    if (AdvTypes::IsPictureEmpty(texture) || !IsFiniteRect(rect)) return;
    TGraphic* graphic = texture->Graphic();
    const float w = float(graphic->Width()), h = float(graphic->Height());
    const TRectF natural = RectF(0, 0, w, h);
    switch (FFill->TextureMode()) {
    case gtmOriginal: {
        // Natural size from the top left, cut to the rectangle.
        std::unique_ptr<TAdvGraphicsSaveState> state = SaveState(true);
        FContext->ClipRect(rect);
        DrawBitmap(RectF(rect.Left, rect.Top, rect.Left + w, rect.Top + h), graphic);
        RestoreState(std::move(state), true);
        break;
    }
    case gtmFit: {
        float scale = 1;
        DrawBitmap(AdvTypes::SnapRectF(AdvTypes::FitRectF(natural, rect, scale), false, 1), graphic);
        break;
    }
    case gtmStretch:
        DrawBitmap(rect, graphic);
        break;
    case gtmCenter:
        DrawBitmap(AdvTypes::SnapRectF(AdvTypes::CenterRectF(natural, rect), false, 1), graphic);
        break;
    case gtmTile: {
        if (w <= 0 || h <= 0) break;
        const int columns = int(rect.Width() / w) + 1, rows = int(rect.Height() / h) + 1;
        for (int i = 0; i <= columns; ++i)
            for (int j = 0; j <= rows; ++j) {
                const TRectF tile = RectF(rect.Left + i * w, rect.Top + j * h, rect.Left + (i + 1) * w,
                                          rect.Top + (j + 1) * h);
                // Whole tiles only: the edges that a tile would overhang stay unpainted.
                if (AdvTypes::IntersectRectF(rect, tile) == tile) DrawBitmap(tile, graphic);
            }
        break;
    }
    }
}

// ---- the guard on geometry

namespace {

const TRectF DrawingRange{-MaxDrawingCoordinate, -MaxDrawingCoordinate, MaxDrawingCoordinate, MaxDrawingCoordinate};

bool IsIdentity(const TAdvGraphicsMatrix& m) {
    return m.m11 == 1 && m.m12 == 0 && m.m21 == 0 && m.m22 == 1 && m.m31 == 0 && m.m32 == 0;
}

TRectF TransformedBounds(const TRectF& r, const TAdvGraphicsMatrix& m) {
    TAdvGraphicsPath corners;
    corners.AddPolygon({PointF(r.Left, r.Top), PointF(r.Right, r.Top), PointF(r.Right, r.Bottom), PointF(r.Left, r.Bottom)});
    corners.ApplyMatrix(m);
    return corners.GetBounds();
}

bool Contains(const TRectF& outer, const TRectF& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right && inner.Bottom <= outer.Bottom;
}

TRectF PointsBounds(const TPointF& a, const TPointF& b) {
    return RectF(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

TRectF PolygonBounds(const TAdvGraphicsPathPolygon& polygon) {
    TAdvGraphicsPath path;
    path.AddPolygon(polygon);
    return path.GetBounds();
}

// The rectangle cut to the area; an empty one when they do not meet.
TRectF Cut(const TRectF& rect, const TRectF& area) {
    return RectF(std::max(rect.Left, area.Left), std::max(rect.Top, area.Top), std::min(rect.Right, area.Right),
                 std::min(rect.Bottom, area.Bottom));
}

}  // namespace

bool TAdvGraphics::Unusable(bool finiteGeometry) const {
    return !finiteGeometry || (StrokeVisible() && !std::isfinite(FStroke->Width()));
}

bool TAdvGraphics::FitsDrawingRange(const TRectF& bounds, TRectF& area) {
    const TAdvGraphicsMatrix m = FContext->GetMatrix();
    const bool identity = IsIdentity(m);
    if (Contains(DrawingRange, identity ? bounds : TransformedBounds(bounds, m))) return true;
    area = DrawingRange;
    if (!identity) {
        const TRectF back = TransformedBounds(DrawingRange, m.Inverse());
        if (IsFiniteRect(back)) area = back;
    }
    return false;
}

void TAdvGraphics::DrawCutPath(const TAdvGraphicsPath& shape, const TRectF& area, bool closed) {
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture) {
            const TRectF bounds = Cut(shape.GetBounds(), area);
            if (bounds.Left < bounds.Right && bounds.Top < bounds.Bottom) DrawTexture(bounds);
        } else {
            TAdvGraphicsPath cut;
            ClipPathToRect(shape, area, true, cut);
            FContext->FillPath(FFill.get(), &cut, pdmPath);
        }
    }
    if (StrokeVisible()) {
        TAdvGraphicsPath outline;
        outline.AddPath(shape);
        if (closed && (outline.Count() == 0 || outline.PathData().back().Kind != gppClose)) outline.ClosePath();
        TAdvGraphicsPath cut;
        ClipPathToRect(outline, area, false, cut);
        FContext->DrawPath(FStroke.get(), &cut, pdmPath);
    }
}

void TAdvGraphics::ClipRect(const TRectF& rect) {
    if (!IsFiniteRect(rect)) return;
    TRectF area;
    FContext->ClipRect(FitsDrawingRange(rect, area) ? rect : Cut(rect, area));
}

void TAdvGraphics::ClipRect(const TRect& rect) { ClipRect(AdvTypes::RectToRectF(rect)); }

// ---- shapes

void TAdvGraphics::DrawLine(const TPointF& fromPoint, const TPointF& toPoint, TAdvGraphicsModifyPointMode modifyFrom,
                            TAdvGraphicsModifyPointMode modifyTo) {
    if (!StrokeVisible() || Unusable(IsFinitePoint(fromPoint) && IsFinitePoint(toPoint))) return;
    TPointF from = fromPoint, to = toPoint;
    TRectF area;
    if (!FitsDrawingRange(PointsBounds(from, to), area) && !ClipLineToRect(from, to, area)) return;
    FContext->DrawLine(FStroke.get(), from, to, modifyFrom, modifyTo);
}

void TAdvGraphics::DrawLine(const TPoint& fromPoint, const TPoint& toPoint) {
    DrawLine(AdvTypes::PointToPointF(fromPoint), AdvTypes::PointToPointF(toPoint));
}

void TAdvGraphics::DrawPolygon(const TAdvGraphicsPathPolygon& polygon) {
    if (Unusable(IsFinitePolygon(polygon))) return;
    TRectF area;
    if (!polygon.empty() && !FitsDrawingRange(PolygonBounds(polygon), area)) {
        TAdvGraphicsPath shape;
        shape.MoveTo(polygon.front());
        shape.AddPolygon(polygon);
        DrawCutPath(shape, area, true);
        return;
    }
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(PolygonBounds(polygon));
        else
            FContext->FillPolygon(FFill.get(), polygon);
    }
    if (StrokeVisible()) FContext->DrawPolygon(FStroke.get(), polygon);
}

void TAdvGraphics::DrawPolyline(const TAdvGraphicsPathPolygon& polyline) {
    if (Unusable(IsFinitePolygon(polyline))) return;
    TRectF area;
    if (!polyline.empty() && !FitsDrawingRange(PolygonBounds(polyline), area)) {
        TAdvGraphicsPath shape;
        shape.MoveTo(polyline.front());
        shape.AddPolygon(polyline);
        if (FFill->Color() != -1 && FFill->Kind() != gfkNone) {
            TAdvGraphicsPath cut;
            ClipPathToRect(shape, area, true, cut);
            FContext->FillPath(FFill.get(), &cut, pdmPath);
        }
        if (StrokeVisible()) {
            TAdvGraphicsPath cut;
            ClipPathToRect(shape, area, false, cut);
            FContext->DrawPath(FStroke.get(), &cut, pdmPath);
        }
        return;
    }
    if (FFill->Color() != -1 && FFill->Kind() != gfkNone) FContext->FillPolyline(FFill.get(), polyline);
    if (StrokeVisible()) FContext->DrawPolyline(FStroke.get(), polyline);
}

void TAdvGraphics::DrawPath(const TAdvGraphicsPath* path, TAdvGraphicsPathDrawMode pathMode) {
    if (!path || Unusable(IsFinitePath(*path))) return;
    TRectF area;
    if (path->Count() > 0 && !FitsDrawingRange(path->GetBounds(), area)) {
        DrawCutPath(*path, area, false);
        return;
    }
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(path->GetBounds());
        else
            FContext->FillPath(FFill.get(), path, pathMode);
    }
    if (StrokeVisible()) FContext->DrawPath(FStroke.get(), path, pathMode);
}

void TAdvGraphics::DrawArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle) {
    if (Unusable(IsFiniteArc(center, radius, startAngle, sweepAngle))) return;
    const TRectF bounds = PointsBounds(PointF(center.X - radius.X, center.Y - radius.Y),
                                       PointF(center.X + radius.X, center.Y + radius.Y));
    TRectF area;
    const bool fill = FillVisible() && FFill->Color() != -1;
    if (!FitsDrawingRange(bounds, area)) {
        TAdvGraphicsPath arc;
        arc.AddArc(center, radius, startAngle, sweepAngle);
        if (fill && FFill->Kind() == gfkTexture) {
            const TRectF cut = Cut(bounds, area);
            if (cut.Left < cut.Right && cut.Top < cut.Bottom) DrawTexture(cut);
        } else if (fill) {
            TAdvGraphicsPath chord;
            ClipPathToRect(arc, area, true, chord);
            FContext->FillPath(FFill.get(), &chord, pdmPath);
        }
        if (StrokeVisible()) {
            TAdvGraphicsPath cut;
            ClipPathToRect(arc, area, false, cut);
            FContext->DrawPath(FStroke.get(), &cut, pdmPath);
        }
        return;
    }
    if (fill) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(RectF(center.X - radius.X, center.Y - radius.Y, center.X + radius.X, center.Y + radius.Y));
        else
            FContext->FillArc(FFill.get(), center, radius, startAngle, sweepAngle);
    }
    if (StrokeVisible()) FContext->DrawArc(FStroke.get(), center, radius, startAngle, sweepAngle);
}

void TAdvGraphics::DrawArc(const TPoint& center, const TPoint& radius, int startAngle, int sweepAngle) {
    DrawArc(AdvTypes::PointToPointF(center), AdvTypes::PointToPointF(radius), float(startAngle), float(sweepAngle));
}

void TAdvGraphics::DrawRectangle(const TRectF& shape, TAdvGraphicsSides sides, TAdvGraphicsModifyRectMode mode) {
    if (Unusable(IsFiniteRect(shape))) return;
    // Cut to the range, a rectangle keeps its look: its edges beyond lie outside every device.
    TRectF rect = shape, area;
    if (!FitsDrawingRange(PointsBounds(PointF(shape.Left, shape.Top), PointF(shape.Right, shape.Bottom)), area)) {
        rect = Cut(shape, area);
        if (!(rect.Left <= rect.Right && rect.Top <= rect.Bottom)) return;
    }
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(rect);
        else
            FContext->FillRect(FFill.get(), rect, mode);
    }
    if (StrokeVisible()) FContext->DrawRect(FStroke.get(), rect, sides, mode);
}

void TAdvGraphics::DrawRectangle(double left, double top, double right, double bottom, TAdvGraphicsSides sides) {
    DrawRectangle(RectF(float(left), float(top), float(right), float(bottom)), sides);
}

void TAdvGraphics::DrawRectangle(const TRect& rect, TAdvGraphicsSides sides) {
    DrawRectangle(AdvTypes::RectToRectF(rect), sides);
}

void TAdvGraphics::DrawRoundRectangle(const TRectF& shape, float rounding, TAdvGraphicsCorners corners,
                                      TAdvGraphicsModifyRectMode mode) {
    if (Unusable(IsFiniteRect(shape) && std::isfinite(rounding))) return;
    TRectF rect = shape, area;
    if (!FitsDrawingRange(PointsBounds(PointF(shape.Left, shape.Top), PointF(shape.Right, shape.Bottom)), area)) {
        rect = Cut(shape, area);
        if (!(rect.Left <= rect.Right && rect.Top <= rect.Bottom)) return;
    }
    // A corner wider than the range is out of sight; its arc is not.
    rounding = std::clamp(rounding, -MaxDrawingCoordinate, MaxDrawingCoordinate);
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(rect);
        else
            FContext->FillRoundRect(FFill.get(), rect, rounding, corners, mode);
    }
    if (StrokeVisible()) FContext->DrawRoundRect(FStroke.get(), rect, rounding, corners, mode);
}

void TAdvGraphics::DrawRoundRectangle(const TRect& rect, int rounding, TAdvGraphicsCorners corners) {
    DrawRoundRectangle(AdvTypes::RectToRectF(rect), float(rounding), corners);
}

void TAdvGraphics::DrawEllipse(const TRectF& rect, TAdvGraphicsModifyRectMode mode) {
    if (Unusable(IsFiniteRect(rect))) return;
    TRectF area;
    if (!FitsDrawingRange(PointsBounds(PointF(rect.Left, rect.Top), PointF(rect.Right, rect.Bottom)), area)) {
        TAdvGraphicsPath shape;
        shape.AddEllipse(rect);
        DrawCutPath(shape, area, true);
        return;
    }
    if (FillVisible()) {
        if (FFill->Kind() == gfkTexture)
            DrawTexture(rect);
        else
            FContext->FillEllipse(FFill.get(), rect, mode);
    }
    if (StrokeVisible()) FContext->DrawEllipse(FStroke.get(), rect, mode);
}

void TAdvGraphics::DrawEllipse(const TRect& rect) { DrawEllipse(AdvTypes::RectToRectF(rect)); }

void TAdvGraphics::DrawFocusRectangle(const TRectF& shape, TColor color, TAdvGraphicsModifyRectMode mode) {
    if (!IsFiniteRect(shape)) return;
    TRectF rect = shape, area;
    if (!FitsDrawingRange(PointsBounds(PointF(shape.Left, shape.Top), PointF(shape.Right, shape.Bottom)), area))
        rect = Cut(shape, area);
    FContext->DrawFocusRectangle(FStroke.get(), rect, color, mode);
}

void TAdvGraphics::DrawFocusRectangle(const TRect& rect, TColor color) {
    DrawFocusRectangle(AdvTypes::RectToRectF(rect), color);
}

void TAdvGraphics::DrawFocusPath(const TAdvGraphicsPath* path, TColor color) {
    if (!path || !IsFinitePath(*path)) return;
    TRectF area;
    if (path->Count() > 0 && !FitsDrawingRange(path->GetBounds(), area)) {
        TAdvGraphicsPath cut;
        ClipPathToRect(*path, area, false, cut);
        FContext->DrawFocusPath(FStroke.get(), &cut, color);
        return;
    }
    FContext->DrawFocusPath(FStroke.get(), path, color);
}

void TAdvGraphics::DrawText(const TRectF& rect, const std::wstring& text, bool wordWrapping,
                            TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                            TAdvGraphicsTextTrimming trimming, float angle) {
    const TRectF box = FContext->SetTextAngle(rect, angle);
    FContext->DrawText(text, box, wordWrapping, horizontalAlign, verticalAlign, trimming, angle);
    FContext->ResetTextAngle(angle);
}

void TAdvGraphics::DrawProgressBar(const TRectF& rect, float value, const std::wstring& format, float maximum,
                                   TColor color, TColor textColor, bool showText, bool enabled) {
    const TColor savedFill = FFill->Color();
    FFill->SetKind(gfkSolid);
    FFill->SetColor(enabled ? LightenColor(0xD3D3D3, 75) : 0xD3D3D3);
    FStroke->SetKind(gskSolid);
    FStroke->SetColor(0xA9A9A9);
    DrawRectangle(rect);
    const float v = std::max(std::min(value, maximum), 0.0f);
    // A maximum of 0 or less has no fraction to show: the bar reads 0 %, not a division by zero.
    const float fraction = maximum > 0 ? v / maximum : 0;
    if (maximum > 0) {
        const float innerLeft = rect.Left + 1;
        const float innerRight = rect.Right - 1;
        FFill->SetColor(color);
        FStroke->SetColor(color);
        DrawRectangle(RectF(innerLeft, rect.Top + 1, innerLeft + (innerRight - rect.Left) * fraction, rect.Bottom - 1));
    }
    if (showText) {
        const TColor savedFont = FFont->Color();
        FFont->SetColor(textColor);
        DrawText(rect, ProgressText(format, value, maximum), false, gtaCenter, gtaCenter, gttNone, 0);
        FFont->SetColor(savedFont);
    }
    FFill->SetColor(savedFill);
}

std::wstring TAdvGraphics::ProgressText(const std::wstring& format, float value, float maximum) {
    const float v = std::max(std::min(value, maximum), 0.0f);
    return Format(format, maximum > 0 ? double(v) / maximum * 100 : 0.0);
}

bool TAdvGraphics::PointInRect(const TPointF& point, const TRectF& rect) { return AdvTypes::PtInRectF(rect, point); }

bool TAdvGraphics::PointInCircle(const TPointF& point, const TPointF& center, float radius) {
    if (radius <= 0) return false;
    const float dx = (point.X - center.X) / radius, dy = (point.Y - center.Y) / radius;
    return dx * dx + dy * dy <= 1;
}

bool TAdvGraphics::PointInPath(const TPointF& point, const TAdvGraphicsPath& path) { return path.IsPointVisible(point); }

bool TAdvGraphics::PointInPolygon(const TPointF& point, const TAdvGraphicsPathPolygon& polygon) {
    return AdvGraphicsTypes::PointInPolygon(point, polygon);
}

int TAdvGraphics::GetColorRed(TColor color) { return ColorRed(ColorToRGB(color)); }
int TAdvGraphics::GetColorGreen(TColor color) { return ColorGreen(ColorToRGB(color)); }
int TAdvGraphics::GetColorBlue(TColor color) { return ColorBlue(ColorToRGB(color)); }

std::wstring TAdvGraphics::ColorToHTML(TColor color) {
    return L"#" + IntToHex(GetColorRed(color), 2) + IntToHex(GetColorGreen(color), 2) + IntToHex(GetColorBlue(color), 2);
}

TColor TAdvGraphics::HTMLToColor(const std::wstring& html) {
    if (html.empty()) return -1;
    auto hex = [](const std::wstring& digits) { return StrToInt(L"$" + digits); };
    if (html.size() == 4) {
        auto doubled = [&](std::size_t i) { return hex(std::wstring(2, html[i])); };
        return doubled(1) + doubled(2) * 256 + doubled(3) * 65536;
    }
    auto pair = [&](std::size_t i) { return hex(html.substr(std::min(i, html.size()), 2)); };
    return pair(1) + pair(3) * 256 + pair(5) * 65536;
}

TColor TAdvGraphics::TextToColor(const std::wstring& text) {
    std::wstring name = LowerCase(text);
    auto strip = [&name](const wchar_t* prefix) {
        if (name.starts_with(prefix)) name.erase(0, std::wcslen(prefix));
    };
    strip(L"cl");
    strip(L"cla");
    strip(L"gc");
    TColor color = 0;
    return FindNamedColor(name, color) ? color : 0;
}

}  // namespace AdvGraphics
