#include "graphics/AdvGraphicsTypes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"
#include "graphics/AdvTypes.h"
#include "graphics/AdvUtils.h"

namespace AdvGraphicsTypes {

using namespace ClassLib;
using AdvTypes::PointF;

CLASSLIB_IMPLEMENT(TAdvGraphicsPath, TPersistent)
CLASSLIB_IMPLEMENT(TAdvGraphicsFillGradientItem, TCollectionItem)
CLASSLIB_IMPLEMENT(TAdvGraphicsFillGradientItems, TOwnedCollection)
CLASSLIB_IMPLEMENT(TAdvCustomGraphicsFill, TPersistent)
CLASSLIB_IMPLEMENT(TAdvGraphicsFill, TAdvCustomGraphicsFill)
CLASSLIB_IMPLEMENT(TAdvCustomGraphicsStroke, TPersistent)
CLASSLIB_IMPLEMENT(TAdvGraphicsStroke, TAdvCustomGraphicsStroke)
CLASSLIB_IMPLEMENT(TAdvGraphicsFont, TFont)
CLASSLIB_IMPLEMENT(TAdvGraphicsSaveState, TPersistent)

// ---- matrix

TAdvGraphicsMatrix TAdvGraphicsMatrix::Identity() {
    TAdvGraphicsMatrix m;
    m.m11 = m.m22 = m.m33 = 1;
    return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateRotation(float angle) {
    TAdvGraphicsMatrix m = Identity();
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    m.m11 = c;
    m.m12 = s;
    m.m21 = -s;
    m.m22 = c;
    return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateScaling(float scaleX, float scaleY) {
    TAdvGraphicsMatrix m = Identity();
    m.m11 = scaleX;
    m.m22 = scaleY;
    return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateTranslation(float deltaX, float deltaY) {
    TAdvGraphicsMatrix m = Identity();
    m.m31 = deltaX;
    m.m32 = deltaY;
    return m;
}

float TAdvGraphicsMatrix::Determinant() const {
    return m11 * (m22 * m33 - m23 * m32) - m12 * (m21 * m33 - m23 * m31) + m13 * (m21 * m32 - m22 * m31);
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::Adjoint() const {
    TAdvGraphicsMatrix r;
    r.m11 = m22 * m33 - m23 * m32;
    r.m12 = -(m12 * m33 - m13 * m32);
    r.m13 = m12 * m23 - m13 * m22;
    r.m21 = -(m21 * m33 - m23 * m31);
    r.m22 = m11 * m33 - m13 * m31;
    r.m23 = -(m11 * m23 - m13 * m21);
    r.m31 = m21 * m32 - m22 * m31;
    r.m32 = -(m11 * m32 - m12 * m31);
    r.m33 = m11 * m22 - m12 * m21;
    return r;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::Inverse() const {
    const float det = Determinant();
    // Below this a single-precision inverse is meaningless: the identity keeps drawing sane.
    if (std::fabs(det) < 1E-40f) return Identity();
    TAdvGraphicsMatrix r = Adjoint();
    const float scale = 1 / det;
    for (int i = 0; i < 9; ++i) (&r.m11)[i] *= scale;
    return r;
}

TAdvGraphicsMatrix operator*(const TAdvGraphicsMatrix& a, const TAdvGraphicsMatrix& b) {
    TAdvGraphicsMatrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.At(i, j) = a.At(i, 0) * b.At(0, j) + a.At(i, 1) * b.At(1, j) + a.At(i, 2) * b.At(2, j);
    return r;
}

TPointF operator*(const TPointF& point, const TAdvGraphicsMatrix& matrix) {
    return {point.X * matrix.m11 + point.Y * matrix.m21 + matrix.m31,
            point.X * matrix.m12 + point.Y * matrix.m22 + matrix.m32};
}

TAdvGraphicsMatrix MatrixIdentity() { return TAdvGraphicsMatrix::Identity(); }
TAdvGraphicsMatrix MatrixEmpty() { return {}; }
bool IsMatrixEmpty(const TAdvGraphicsMatrix& matrix) { return matrix == TAdvGraphicsMatrix{}; }
TAdvGraphicsMatrix MatrixCreateRotation(float angle) { return TAdvGraphicsMatrix::CreateRotation(angle); }
TAdvGraphicsMatrix MatrixCreateScaling(float scaleX, float scaleY) {
    return TAdvGraphicsMatrix::CreateScaling(scaleX, scaleY);
}
TAdvGraphicsMatrix MatrixCreateTranslation(float deltaX, float deltaY) {
    return TAdvGraphicsMatrix::CreateTranslation(deltaX, deltaY);
}
TPointF MatrixTransformPoint(const TPointF& point, const TAdvGraphicsMatrix& matrix) { return point * matrix; }
TAdvGraphicsMatrix MatrixMultiply(const TAdvGraphicsMatrix& a, const TAdvGraphicsMatrix& b) { return a * b; }

// ---- path

void TAdvGraphicsPath::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvGraphicsPath*>(source)) {
        FPoints = other->FPoints;
        return;
    }
    TPersistent::Assign(source);
}

void TAdvGraphicsPath::MoveTo(const TPointF& p) {
    FPoints.push_back({gppMoveTo, false, p});
    FStartPoint = p;
}

void TAdvGraphicsPath::LineTo(const TPointF& p) {
    FPoints.push_back({gppLineTo, false, p});
    if (p == FStartPoint) FClippable = true;
}

void TAdvGraphicsPath::CurveTo(const TPointF& controlPoint1, const TPointF& controlPoint2, const TPointF& endPoint) {
    FPoints.push_back({gppCurveTo, false, controlPoint1});
    FPoints.push_back({gppCurveTo, false, controlPoint2});
    FPoints.push_back({gppCurveTo, false, endPoint});
}

void TAdvGraphicsPath::QuadCurveTo(const TPointF& controlPoint, const TPointF& endPoint) {
    const float third = 1.0f / 3.0f;
    const float twoThirds = 2.0f / 3.0f;
    const TPointF last = LastPoint();
    CurveTo(PointF(last.X * third + controlPoint.X * twoThirds, last.Y * third + controlPoint.Y * twoThirds),
            PointF(controlPoint.X * twoThirds + endPoint.X * third, controlPoint.Y * twoThirds + endPoint.Y * third),
            endPoint);
}

void TAdvGraphicsPath::SmoothCurveTo(const TPointF& controlPoint2, const TPointF& endPoint) {
    TPointF controlPoint1 = controlPoint2;
    if (Count() >= 3) {
        const TPointF last = LastPoint();
        const TPointF before = FPoints[FPoints.size() - 2].Point;
        controlPoint1 = PointF(2 * last.X - before.X, 2 * last.Y - before.Y);
    }
    CurveTo(controlPoint1, controlPoint2, endPoint);
}

void TAdvGraphicsPath::ClosePath() {
    FPoints.push_back({gppClose, false, FStartPoint});
    FClippable = true;
}

void TAdvGraphicsPath::AddPath(const TAdvGraphicsPath& path) {
    FPoints.reserve(FPoints.size() + path.FPoints.size());
    const TAdvGraphicsPathPoints copy = path.FPoints;  // the path may be this one
    FPoints.insert(FPoints.end(), copy.begin(), copy.end());
}

void TAdvGraphicsPath::AddPolygon(const TAdvGraphicsPathPolygon& polygon) {
    for (const TPointF& p : polygon) LineTo(p);
}

void TAdvGraphicsPath::AddLine(const TPointF& startPoint, const TPointF& endPoint) {
    if (FPoints.empty())
        MoveTo(startPoint);
    else
        LineTo(startPoint);
    LineTo(endPoint);
}

void TAdvGraphicsPath::AddEllipse(const TRectF& rect) {
    const float k = 0.5522848f;  // the cubic that best follows a quarter circle
    const float cx = (rect.Left + rect.Right) / 2;
    const float cy = (rect.Top + rect.Bottom) / 2;
    const float kx = (rect.Right - rect.Left) / 2 * k;
    const float ky = (rect.Bottom - rect.Top) / 2 * k;
    MoveTo(PointF(rect.Left, cy));
    CurveTo(PointF(rect.Left, cy - ky), PointF(cx - kx, rect.Top), PointF(cx, rect.Top));
    CurveTo(PointF(cx + kx, rect.Top), PointF(rect.Right, cy - ky), PointF(rect.Right, cy));
    CurveTo(PointF(rect.Right, cy + ky), PointF(cx + kx, rect.Bottom), PointF(cx, rect.Bottom));
    CurveTo(PointF(cx - kx, rect.Bottom), PointF(rect.Left, cy + ky), PointF(rect.Left, cy));
    FClippable = true;
}

void TAdvGraphicsPath::AddRectangle(const TRectF& rect, float roundingX, float roundingY) {
    const float l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    if (roundingX == 0 && roundingY == 0) {
        MoveTo(PointF(l, t));
        LineTo(PointF(r, t));
        LineTo(PointF(r, b));
        LineTo(PointF(l, b));
    } else {
        const float rx = roundingX, ry = roundingY;
        const TPointF radius = PointF(rx, ry);
        MoveTo(PointF(l + rx, b));
        AddArc(PointF(l + rx, b - ry), radius, -270, 90);
        LineTo(PointF(l, b - ry));
        LineTo(PointF(l, t + ry));
        AddArc(PointF(l + rx, t + ry), radius, -180, 90);
        LineTo(PointF(l + rx, t));
        LineTo(PointF(r - rx, t));
        AddArc(PointF(r - rx, t + ry), radius, -90, 90);
        LineTo(PointF(r, t + ry));
        LineTo(PointF(r, b - ry));
        AddArc(PointF(r - rx, b - ry), radius, 0, 90);
        LineTo(PointF(r - rx, b));
        LineTo(PointF(l + rx, b));
    }
    ClosePath();
}

void TAdvGraphicsPath::AddArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle) {
    const float pi = std::numbers::pi_v<float>;
    const float twoPi = 6.2831855f;
    float s = startAngle * pi / 180;
    float w = sweepAngle * pi / 180;
    s = s - twoPi * std::trunc(s / twoPi);
    w = std::clamp(w, -twoPi, twoPi);
    if (std::fabs(w) < 1E-10f) return;

    const bool negative = w < 0;
    const float quarter = negative ? -pi / 2 : pi / 2;
    float total = 0;
    float a = s;
    bool first = true;
    bool last = false;
    while (!last) {
        const float next = total + quarter;
        float piece;
        if (negative ? next > w + 0.01f : next < w - 0.01f) {
            piece = quarter;
            total = next;
        } else {
            piece = w - total;
            last = true;
        }
        const float h = piece / 2;
        const float c = std::cos(h);
        const float sn = std::sin(h);
        const float q = 4 * (1 - c) / 3;
        const TPointF unit[4] = {{c, -sn}, {c + q, -(sn - c * q / sn)}, {c + q, sn - c * q / sn}, {c, sn}};
        const float phi = a + h;
        const float cp = std::cos(phi), sp = std::sin(phi);
        TPointF mapped[4];
        for (int i = 0; i < 4; ++i) {
            const float x = unit[i].X * cp - unit[i].Y * sp;
            const float y = unit[i].X * sp + unit[i].Y * cp;
            mapped[i] = PointF(center.X + radius.X * x, center.Y + radius.Y * y);
        }
        if (first) {
            if (FPoints.empty())
                MoveTo(mapped[0]);
            else
                LineTo(mapped[0]);
            first = false;
        }
        CurveTo(mapped[1], mapped[2], mapped[3]);
        a += piece;
    }
}

void TAdvGraphicsPath::ApplyMatrix(const TAdvGraphicsMatrix& matrix) {
    for (TAdvGraphicsPathPoint& entry : FPoints)
        if (entry.Kind != gppClose) entry.Point = entry.Point * matrix;
}

TRectF TAdvGraphicsPath::GetBounds() const {
    // Seeded from the first point, not from fixed +-65535 start values, which would be
    // wrong for a path reaching beyond that range.
    bool seeded = false;
    TRectF r;
    for (const TAdvGraphicsPathPoint& entry : FPoints) {
        if (entry.Kind == gppClose) continue;
        const TPointF& p = entry.Point;
        if (!seeded) {
            r = {p.X, p.Y, p.X, p.Y};
            seeded = true;
            continue;
        }
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    if (!seeded) return {};
    if (std::fabs(r.Right - r.Left) <= 0.001f) r.Right = r.Left + 0.001f;
    if (std::fabs(r.Bottom - r.Top) <= 0.001f) r.Bottom = r.Top + 0.001f;
    return r;
}

TPointF TAdvGraphicsPath::LastPoint() const { return FPoints.empty() ? TPointF() : FPoints.back().Point; }

const TAdvGraphicsPathPoint& TAdvGraphicsPath::GetPoint(int index) const {
    if (index < 0 || index >= Count()) throw EListError(L"Argument out of range");
    return FPoints[std::size_t(index)];
}

bool TAdvGraphicsPath::IsPointVisible(const TPointF& p) const {
    TAdvGraphicsPathPolygon polygon;
    FlattenToPolygon(polygon, 0.25f);
    return PointInPolygon(p, polygon);
}

bool TAdvGraphicsPath::IsRectVisible(const TRectF& r) const {
    TAdvGraphicsPathPolygon polygon;
    FlattenToPolygon(polygon, 0.25f);
    return PolygonInRect(polygon, r);
}

TPointF TAdvGraphicsPath::PointOnBezier(const TPointF& startPoint, double ax, double bx, double cx, double ay,
                                        double by, double cy, double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    return PointF(float(ax * t3 + bx * t2 + cx * t + startPoint.X), float(ay * t3 + by * t2 + cy * t + startPoint.Y));
}

namespace {

// Hands the points of the curve at t = 0, 1 / (count - 1), ... to `take`.
template <class F>
void SampleBezier(const TAdvGraphicsPathCubicBezier& bezier, int pointCount, F take) {
    if (pointCount <= 0) return;
    const TPointF& p0 = bezier[0];
    const double cx = 3.0 * (double(bezier[1].X) - p0.X);
    const double bx = 3.0 * (double(bezier[2].X) - bezier[1].X) - cx;
    const double ax = double(bezier[3].X) - p0.X - cx - bx;
    const double cy = 3.0 * (double(bezier[1].Y) - p0.Y);
    const double by = 3.0 * (double(bezier[2].Y) - bezier[1].Y) - cy;
    const double ay = double(bezier[3].Y) - p0.Y - cy - by;
    const double step = pointCount > 1 ? 1.0 / (pointCount - 1) : 0;
    double t = 0;
    for (int i = 0; i < pointCount; ++i) {
        take(TAdvGraphicsPath::PointOnBezier(p0, ax, bx, cx, ay, by, cy, t));
        t += step;
    }
}

void AppendBezier(const TAdvGraphicsPathCubicBezier& bezier, int pointCount, TAdvGraphicsPathPolygon& out) {
    if (pointCount > 0) out.reserve(out.size() + std::size_t(pointCount));
    SampleBezier(bezier, pointCount, [&out](const TPointF& p) { out.push_back(p); });
}

}  // namespace

TAdvGraphicsPathPolygon TAdvGraphicsPath::CreateBezier(const TAdvGraphicsPathCubicBezier& bezier, int pointCount) {
    TAdvGraphicsPathPolygon result;
    AppendBezier(bezier, pointCount, result);
    return result;
}

void TAdvGraphicsPath::AppendFlattenedCurve(const TPointF& start, const TPointF& control1, const TPointF& control2,
                                            const TPointF& end, float tolerance, TAdvGraphicsPathPolygon& out) {
    const TAdvGraphicsPathCubicBezier bezier = {start, control1, control2, end};
    TPointF samples[6];
    int sampled = 0;
    SampleBezier(bezier, 6, [&](const TPointF& p) { samples[sampled++] = p; });
    double length = 0;
    for (std::size_t i = 1; i < 6; ++i)
        length += AdvTypes::VectorLength(PointF(samples[i].X - samples[i - 1].X, samples[i].Y - samples[i - 1].Y));
    // nearbyint rounds half to even under the default rounding mode.
    const double steps = std::nearbyint(length / tolerance);
    if (!(steps > 1)) {   // also for NaN
        out.push_back(end);
        return;
    }
    AppendBezier(bezier, steps > MaxFlattenPointsPerCurve ? MaxFlattenPointsPerCurve : int(steps), out);
}

TAdvGraphicsPathPolygon TAdvGraphicsPath::FlattenCurve(const TPointF& start, const TPointF& control1,
                                                       const TPointF& control2, const TPointF& end, float tolerance) {
    TAdvGraphicsPathPolygon points;
    AppendFlattenedCurve(start, control1, control2, end, tolerance, points);
    return points;
}

void TAdvGraphicsPath::Flatten(float flatness) {
    if (FPoints.empty()) return;
    const float tolerance = flatness > 0.05f ? flatness : 0.05f;
    const TAdvGraphicsPathPoints entries = FPoints;
    FPoints.clear();
    TPointF current;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TAdvGraphicsPathPoint& entry = entries[i];
        switch (entry.Kind) {
        case gppMoveTo:
            MoveTo(entry.Point);
            current = entry.Point;
            break;
        case gppLineTo:
            LineTo(entry.Point);
            current = entry.Point;
            break;
        case gppCurveTo:
            if (i + 2 < entries.size()) {
                for (const TPointF& p : FlattenCurve(current, entry.Point, entries[i + 1].Point, entries[i + 2].Point,
                                                     tolerance))
                    LineTo(p);
                current = entries[i + 2].Point;
            }
            i += 2;
            break;
        case gppClose:
            ClosePath();
            break;
        }
    }
}

void TAdvGraphicsPath::FlattenToPolygon(TAdvGraphicsPathPolygon& polygon, float flatness) const {
    polygon.clear();
    const float tolerance = flatness > 0.05f ? flatness : 0.05f;
    auto append = [&polygon](const TPointF& p) {
        if (!polygon.empty() && std::fabs(polygon.back().X - p.X) <= 0.001f && std::fabs(polygon.back().Y - p.Y) <= 0.001f)
            return;
        polygon.push_back(p);
    };
    TPointF current, figureStart;
    for (std::size_t i = 0; i < FPoints.size(); ++i) {
        const TAdvGraphicsPathPoint& entry = FPoints[i];
        switch (entry.Kind) {
        case gppMoveTo:
            append(entry.Point);
            current = figureStart = entry.Point;
            break;
        case gppLineTo:
            append(entry.Point);
            current = entry.Point;
            break;
        case gppCurveTo:
            if (i + 2 < FPoints.size()) {
                const TPointF& end = FPoints[i + 2].Point;
                TAdvGraphicsPathPolygon points = FlattenCurve(current, entry.Point, FPoints[i + 1].Point, end, tolerance);
                if (points.size() == 1) points.insert(points.begin(), current);
                for (const TPointF& p : points) append(p);
                current = end;
            }
            i += 2;
            break;
        case gppClose:
            append(figureStart);
            break;
        }
    }
}

// ---- gradient stops

TAdvGraphicsFillGradientItem::TAdvGraphicsFillGradientItem(TCollection* collection) : TCollectionItem(collection) {}

const TPropertyList& TAdvGraphicsFillGradientItem::Published() {
    using I = TAdvGraphicsFillGradientItem;
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Opacity", &I::Opacity, &I::SetOpacity, 1.0)
        .Colour(L"Color", &I::Color, &I::SetColor, clWhite)
        .Add(L"Position", &I::Position, &I::SetPosition, 0.0);
    return list;
}

void TAdvGraphicsFillGradientItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvGraphicsFillGradientItem*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    FColor = other->FColor;
    FPosition = other->FPosition;
    FOpacity = other->FOpacity;
    NotifyFill();
}

void TAdvGraphicsFillGradientItem::NotifyFill() {
    if (auto* items = dynamic_cast<TAdvGraphicsFillGradientItems*>(Collection()))
        if (items->Fill()) items->Fill()->Changed();
}

void TAdvGraphicsFillGradientItem::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    NotifyFill();
}

void TAdvGraphicsFillGradientItem::SetPosition(float value) {
    if (value == FPosition) return;
    FPosition = value;
    NotifyFill();
}

void TAdvGraphicsFillGradientItem::SetOpacity(float value) {
    if (value == FOpacity) return;
    FOpacity = value;
    NotifyFill();
}

TAdvGraphicsFillGradientItems::TAdvGraphicsFillGradientItems(TAdvCustomGraphicsFill* owner)
    : TAdvOwnedCollection<TAdvGraphicsFillGradientItem>(owner), FOwner(owner) {}

const TPropertyList& TAdvGraphicsFillGradientItems::Published() { return TOwnedCollection::Published(); }

void TAdvGraphicsFillGradientItems::Update(TCollectionItem*) {
    if (FOwner) FOwner->Changed();
}

// ---- fill

TColor StoredGraphicsColor(TColor value) {
    if (value == clNone) return -1;
    if (value == clDefault) return clBtnFace;
    return value;
}

TAdvCustomGraphicsFill::TAdvCustomGraphicsFill(TAdvGraphicsFillKind kind, TColor color)
    : FKind(kind),
      FColor(StoredGraphicsColor(color)),
      FTexture(std::make_unique<AdvTypes::TAdvBitmap>()),
      FGradientItems(std::make_unique<TAdvGraphicsFillGradientItems>(this)) {
    FTexture->SetOnChange([this](TObject*) { Changed(); });
}

TAdvCustomGraphicsFill::~TAdvCustomGraphicsFill() = default;

const TPropertyList& TAdvCustomGraphicsFill::Published() {
    using I = TAdvCustomGraphicsFill;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Event(L"OnChanged", &I::OnChanged, &I::SetOnChanged)
        .Enum(L"Kind", &I::Kind, &I::SetKind, gfkSolid)
        .Enum(L"Orientation", &I::Orientation, &I::SetOrientation, gfoVertical)
        .Colour(L"Color", &I::Color, &I::SetColor, clWhite)
        .Colour(L"ColorTo", &I::ColorTo, &I::SetColorTo, clGray)
        .Colour(L"ColorMirror", &I::ColorMirror, &I::SetColorMirror, -1)
        .Colour(L"ColorMirrorTo", &I::ColorMirrorTo, &I::SetColorMirrorTo, -1)
        .Enum(L"TextureMode", &I::TextureMode, &I::SetTextureMode, gtmStretch)
        .SubObject(L"Texture", &I::Texture);
    return list;
}

void TAdvCustomGraphicsFill::Assign(const TPersistent* source) {
    if (source == this) return;
    if (const auto* fill = dynamic_cast<const TAdvCustomGraphicsFill*>(source)) {
        FColor = fill->FColor;
        FColorTo = fill->FColorTo;
        FColorMirror = fill->FColorMirror;
        FColorMirrorTo = fill->FColorMirrorTo;
        FKind = fill->FKind;
        FOrientation = fill->FOrientation;
        FOpacity = fill->FOpacity;
        BeginUpdate();  // the texture and the stops notify once, at the end, with the rest
        FTexture->Assign(fill->FTexture.get());
        FGradientItems->Assign(fill->FGradientItems.get());
        FNotifier.EndUpdateQuiet();
        FTextureMode = fill->FTextureMode;
        FGradientMode = fill->FGradientMode;
        FGradientAngle = fill->FGradientAngle;
        FGradientCenterPoint = fill->FGradientCenterPoint;
        FGradientType = fill->FGradientType;
        FGradientCenterColor = fill->FGradientCenterColor;
    } else if (const auto* stroke = dynamic_cast<const TAdvCustomGraphicsStroke*>(source)) {
        FColor = stroke->Color();
        FColorTo = FColorMirror = FColorMirrorTo = -1;
        FKind = gfkSolid;
        FOrientation = gfoVertical;
        FOpacity = 1;
    }
    Changed();
}

void TAdvCustomGraphicsFill::ClearGradientItems() { FGradientItems->Clear(); }

TAdvGraphicsFillGradientItem* TAdvCustomGraphicsFill::AddGradientItem(TColor color, float position, float opacity) {
    TAdvGraphicsFillGradientItem* item = FGradientItems->Add();
    item->SetColor(color);
    item->SetPosition(position);
    item->SetOpacity(opacity);
    return item;
}

void TAdvCustomGraphicsFill::SetColorField(TColor& field, TColor value) {
    if (value == field) return;
    field = StoredGraphicsColor(value);
    Changed();
}

void TAdvCustomGraphicsFill::SetKind(TAdvGraphicsFillKind value) { SetValue(FKind, value); }
void TAdvCustomGraphicsFill::SetOrientation(TAdvGraphicsFillOrientation value) { SetValue(FOrientation, value); }
void TAdvCustomGraphicsFill::SetOpacity(float value) { SetValue(FOpacity, value); }
void TAdvCustomGraphicsFill::SetTextureMode(TAdvGraphicsTextureMode value) { SetValue(FTextureMode, value); }
void TAdvCustomGraphicsFill::SetGradientMode(TAdvGraphicsFillGradientMode value) { SetValue(FGradientMode, value); }
void TAdvCustomGraphicsFill::SetGradientType(TAdvGraphicsFillGradientType value) { SetValue(FGradientType, value); }
void TAdvCustomGraphicsFill::SetGradientAngle(float value) { SetValue(FGradientAngle, value); }

void TAdvCustomGraphicsFill::SetGradientCenterPoint(const TPointF& value) {
    FGradientCenterPoint = value;
    Changed();
}

void TAdvCustomGraphicsFill::SetTexture(const AdvTypes::TAdvBitmap* value) {
    if (value == FTexture.get()) return;
    FTexture->Assign(value);
    Changed();
}

void TAdvCustomGraphicsFill::SetGradientItems(const TAdvGraphicsFillGradientItems* value) {
    FGradientItems->Assign(value);
}

// ---- stroke

const TPropertyList& TAdvCustomGraphicsStroke::Published() {
    using I = TAdvCustomGraphicsStroke;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Event(L"OnChanged", &I::OnChanged, &I::SetOnChanged)
        .Enum(L"Kind", &I::Kind, &I::SetKind, gskSolid)
        .Colour(L"Color", &I::Color, &I::SetColor, clSilver)
        .Add(L"Width", &I::Width, &I::SetWidth, 1.0);
    return list;
}

void TAdvCustomGraphicsStroke::Assign(const TPersistent* source) {
    if (source == this) return;
    if (const auto* stroke = dynamic_cast<const TAdvCustomGraphicsStroke*>(source)) {
        FColor = stroke->FColor;
        FKind = stroke->FKind;
        FWidth = stroke->FWidth;
        FOpacity = stroke->FOpacity;
    } else if (const auto* fill = dynamic_cast<const TAdvCustomGraphicsFill*>(source)) {
        FColor = fill->Color();
        FKind = gskSolid;
        FWidth = 1;
        FOpacity = 1;
    }
    Changed();
}

void TAdvCustomGraphicsStroke::SetKind(TAdvGraphicsStrokeKind value) {
    if (value == FKind) return;
    FKind = value;
    Changed();
}

void TAdvCustomGraphicsStroke::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = StoredGraphicsColor(value);
    Changed();
}

void TAdvCustomGraphicsStroke::SetWidth(float value) {
    if (value == FWidth) return;
    FWidth = value;
    Changed();
}

void TAdvCustomGraphicsStroke::SetOpacity(float value) {
    if (value == FOpacity) return;
    FOpacity = value;
    Changed();
}

// ---- font

TAdvGraphicsFont::TAdvGraphicsFont() {
    SetHeight(-11);
    SetOnChange([this](TObject*) { FNotifier.Changed(this); });
}

const TPropertyList& TAdvGraphicsFont::Published() {
    using I = TAdvGraphicsFont;
    static const TPropertyList list =
        TPropertyList::Extend(TFont::Published()).Event(L"OnChanged", &I::OnChanged, &I::SetOnChanged);
    return list;
}

// ---- save state

TAdvGraphicsSaveState::TAdvGraphicsSaveState()
    : FFont(std::make_unique<TAdvGraphicsFont>()),
      FStroke(std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver)),
      FFill(std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite)) {}

TAdvGraphicsSaveState::~TAdvGraphicsSaveState() = default;

// ---- named colours

namespace {

struct TColorWord {
    const wchar_t* Name;
    std::uint32_t Rgb;  // 0xRRGGBB as the colour words are written
};

constexpr TColorWord ColorWords[] = {
    {L"aliceblue", 0xF0F8FF}, {L"antiquewhite", 0xFAEBD7}, {L"aqua", 0x00FFFF}, {L"aquamarine", 0x7FFFD4},
    {L"azure", 0xF0FFFF}, {L"beige", 0xF5F5DC}, {L"bisque", 0xFFE4C4}, {L"black", 0x000000},
    {L"blanchedalmond", 0xFFEBCD}, {L"blue", 0x0000FF}, {L"blueviolet", 0x8A2BE2}, {L"brown", 0xA52A2A},
    {L"burlywood", 0xDEB887}, {L"cadetblue", 0x5F9EA0}, {L"chartreuse", 0x7FFF00}, {L"chocolate", 0xD2691E},
    {L"coral", 0xFF7F50}, {L"cornflowerblue", 0x6495ED}, {L"cornsilk", 0xFFF8DC}, {L"crimson", 0xDC143C},
    {L"cyan", 0x00FFFF}, {L"darkblue", 0x00008B}, {L"darkcyan", 0x008B8B}, {L"darkgoldenrod", 0xB8860B},
    {L"darkgray", 0xA9A9A9}, {L"darkgreen", 0x006400}, {L"darkgrey", 0xA9A9A9}, {L"darkkhaki", 0xBDB76B},
    {L"darkmagenta", 0x8B008B}, {L"darkolivegreen", 0x556B2F}, {L"darkorange", 0xFF8C00},
    {L"darkorchid", 0x9932CC}, {L"darkred", 0x8B0000}, {L"darksalmon", 0xE9967A}, {L"darkseagreen", 0x8FBC8F},
    {L"darkslateblue", 0x483D8B}, {L"darkslategray", 0x2F4F4F}, {L"darkslategrey", 0x2F4F4F},
    {L"darkturquoise", 0x00CED1}, {L"darkviolet", 0x9400D3}, {L"deeppink", 0xFF1493}, {L"deepskyblue", 0x00BFFF},
    {L"dimgray", 0x696969}, {L"dimgrey", 0x696969}, {L"dodgerblue", 0x1E90FF}, {L"firebrick", 0xB22222},
    {L"floralwhite", 0xFFFAF0}, {L"forestgreen", 0x228B22}, {L"fuchsia", 0xFF00FF}, {L"gainsboro", 0xDCDCDC},
    {L"ghostwhite", 0xF8F8FF}, {L"gold", 0xFFD700}, {L"goldenrod", 0xDAA520}, {L"gray", 0x808080},
    {L"green", 0x008000}, {L"greenyellow", 0xADFF2F}, {L"grey", 0x808080}, {L"honeydew", 0xF0FFF0},
    {L"hotpink", 0xFF69B4}, {L"indianred", 0xCD5C5C}, {L"indigo", 0x4B0082}, {L"ivory", 0xFFFFF0},
    {L"khaki", 0xF0E68C}, {L"lavender", 0xE6E6FA}, {L"lavenderblush", 0xFFF0F5}, {L"lawngreen", 0x7CFC00},
    {L"lemonchiffon", 0xFFFACD}, {L"lightblue", 0xADD8E6}, {L"lightcoral", 0xF08080}, {L"lightcyan", 0xE0FFFF},
    {L"lightgoldenrodyellow", 0xFAFAD2}, {L"lightgray", 0xD3D3D3}, {L"lightgreen", 0x90EE90},
    {L"lightgrey", 0xD3D3D3}, {L"lightpink", 0xFFB6C1}, {L"lightsalmon", 0xFFA07A}, {L"lightseagreen", 0x20B2AA},
    {L"lightskyblue", 0x87CEFA}, {L"lightslategray", 0x778899}, {L"lightslategrey", 0x778899},
    {L"lightsteelblue", 0xB0C4DE}, {L"lightyellow", 0xFFFFE0}, {L"lime", 0x00FF00}, {L"limegreen", 0x32CD32},
    {L"linen", 0xFAF0E6}, {L"magenta", 0xFF00FF}, {L"maroon", 0x800000}, {L"mediumaquamarine", 0x66CDAA},
    {L"mediumblue", 0x0000CD}, {L"mediumorchid", 0xBA55D3}, {L"mediumpurple", 0x9370DB},
    {L"mediumseagreen", 0x3CB371}, {L"mediumslateblue", 0x7B68EE}, {L"mediumspringgreen", 0x00FA9A},
    {L"mediumturquoise", 0x48D1CC}, {L"mediumvioletred", 0xC71585}, {L"midnightblue", 0x191970},
    {L"mintcream", 0xF5FFFA}, {L"mistyrose", 0xFFE4E1}, {L"moccasin", 0xFFE4B5}, {L"navajowhite", 0xFFDEAD},
    {L"navy", 0x000080}, {L"oldlace", 0xFDF5E6}, {L"olive", 0x808000}, {L"olivedrab", 0x6B8E23},
    {L"orange", 0xFFA500}, {L"orangered", 0xFF4500}, {L"orchid", 0xDA70D6}, {L"palegoldenrod", 0xEEE8AA},
    {L"palegreen", 0x98FB98}, {L"paleturquoise", 0xAFEEEE}, {L"palevioletred", 0xDB7093},
    {L"papayawhip", 0xFFEFD5}, {L"peachpuff", 0xFFDAB9}, {L"peru", 0xCD853F}, {L"pink", 0xFFC0CB},
    {L"plum", 0xDDA0DD}, {L"powderblue", 0xB0E0E6}, {L"purple", 0x800080}, {L"red", 0xFF0000},
    {L"rosybrown", 0xBC8F8F}, {L"royalblue", 0x4169E1}, {L"saddlebrown", 0x8B4513}, {L"salmon", 0xFA8072},
    {L"sandybrown", 0xF4A460}, {L"seagreen", 0x2E8B57}, {L"seashell", 0xFFF5EE}, {L"sienna", 0xA0522D},
    {L"skyblue", 0x87CEEB}, {L"slateblue", 0x6A5ACD}, {L"slategray", 0x708090}, {L"slategrey", 0x708090},
    {L"snow", 0xFFFAFA}, {L"springgreen", 0x00FF7F}, {L"steelblue", 0x4682B4}, {L"violet", 0xEE82EE},
    {L"thistle", 0xD8BFD8}, {L"tan", 0xD2B48C}, {L"tomato", 0xFF6347}, {L"turquoise", 0x40E0D0},
    {L"wheat", 0xF5DEB3}, {L"whitesmoke", 0xF5F5F5}, {L"yellowgreen", 0x9ACD32},
    // The basic words again, some repeated: lookups stop at the first match, so the
    // repeats only ever agree with the entries above.
    {L"red", 0xFF0000}, {L"black", 0x000000}, {L"blue", 0x0000FF}, {L"green", 0x008000}, {L"aqua", 0x00FFFF},
    {L"yellow", 0xFFFF00}, {L"fuchsia", 0xFF00FF}, {L"white", 0xFFFFFF}, {L"lime", 0x00FF00},
    {L"silver", 0xC0C0C0}, {L"gray", 0x808080}, {L"olive", 0x808000}, {L"navy", 0x000080},
    {L"purple", 0x800080}, {L"teal", 0x008080}, {L"orange", 0xFFA500}, {L"maroon", 0x800000},
};

}  // namespace

const std::vector<TNamedColor>& NamedColors() {
    static const std::vector<TNamedColor> colors = [] {
        std::vector<TNamedColor> list;
        list.reserve(std::size(ColorWords));
        for (const TColorWord& word : ColorWords)
            list.push_back({word.Name, TAdvGraphicsColorObject(RGBToColor(int(word.Rgb >> 16), int(word.Rgb >> 8),
                                                                          int(word.Rgb)))});
        return list;
    }();
    return colors;
}

bool FindNamedColor(const std::wstring& name, TColor& color) {
    for (const TNamedColor& entry : NamedColors())
        if (entry.Name == name) {
            color = entry.Object.Color();
            return true;
        }
    return false;
}

// ---- routines

TColor LightenColor(TColor color, int percent) {
    const TColor rgb = ColorToRGB(color);
    auto lighten = [percent](int c) {
        return (c + std::min(255, AdvUtils::TAdvUtils::MulDivInt(255 - c, percent, 100))) & 0xFF;
    };
    return RGBToColor(lighten(ColorRed(rgb)), lighten(ColorGreen(rgb)), lighten(ColorBlue(rgb)));
}

bool PointInPolygon(const TPointF& p, const TAdvGraphicsPathPolygon& polygon) {
    if (polygon.empty()) return false;
    float left = polygon[0].X, right = left, top = polygon[0].Y, bottom = top;
    for (const TPointF& v : polygon) {
        left = std::min(left, v.X);
        right = std::max(right, v.X);
        top = std::min(top, v.Y);
        bottom = std::max(bottom, v.Y);
    }
    if (p.X < left || p.X > right || p.Y < top || p.Y > bottom) return false;
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const TPointF& a = polygon[i];
        const TPointF& b = polygon[j];
        if ((a.Y <= p.Y) != (b.Y <= p.Y) && b.Y != a.Y && p.X < a.X + (p.Y - a.Y) * (b.X - a.X) / (b.Y - a.Y))
            inside = !inside;
    }
    return inside;
}

bool PolygonInRect(const TAdvGraphicsPathPolygon& polygon, const TRectF& r) {
    return std::any_of(polygon.begin(), polygon.end(), [&r](const TPointF& v) {
        return v.X >= r.Left && v.X < r.Right && v.Y >= r.Top && v.Y < r.Bottom;
    });
}

TRectF ModifyRect(const TRectF& rect, TAdvGraphicsModifyRectMode) { return rect; }

bool IsFinitePoint(const TPointF& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

bool IsFiniteRect(const TRectF& r) {
    return std::isfinite(r.Left) && std::isfinite(r.Top) && std::isfinite(r.Right) && std::isfinite(r.Bottom);
}

bool IsFiniteArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle) {
    return IsFinitePoint(center) && IsFinitePoint(radius) && std::isfinite(startAngle) && std::isfinite(sweepAngle);
}

bool IsFinitePolygon(const TAdvGraphicsPathPolygon& polygon) {
    return std::all_of(polygon.begin(), polygon.end(), IsFinitePoint);
}

bool IsFinitePath(const TAdvGraphicsPath& path) {
    return std::all_of(path.PathData().begin(), path.PathData().end(),
                       [](const TAdvGraphicsPathPoint& entry) { return IsFinitePoint(entry.Point); });
}

float PenWidth(float width) {
    if (std::isnan(width)) return 1;
    return std::clamp(width, -MaxPenWidth, MaxPenWidth);
}

bool ClipLineToRect(TPointF& from, TPointF& to, const TRectF& rect) {
    // Liang-Barsky: the part of the segment's parameter range inside all four edges.
    const double dx = double(to.X) - from.X, dy = double(to.Y) - from.Y;
    double t0 = 0, t1 = 1;
    const auto edge = [&t0, &t1](double p, double q) {
        if (p == 0) return q >= 0;   // parallel: inside or out along its whole length
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, double(from.X) - rect.Left) || !edge(dx, double(rect.Right) - from.X) ||
        !edge(-dy, double(from.Y) - rect.Top) || !edge(dy, double(rect.Bottom) - from.Y))
        return false;
    const TPointF start = from;
    if (t1 < 1) to = PointF(float(start.X + t1 * dx), float(start.Y + t1 * dy));
    if (t0 > 0) from = PointF(float(start.X + t0 * dx), float(start.Y + t0 * dy));
    return true;
}

namespace {

// Sutherland-Hodgman: the polygon cut by the four edges of the rectangle in turn.
TAdvGraphicsPathPolygon ClipPolygonToRect(TAdvGraphicsPathPolygon polygon, const TRectF& rect) {
    struct TEdge {
        int Axis;       // 0: x, 1: y
        float Limit;
        bool KeepBelow;
    };
    const TEdge edges[] = {{0, rect.Left, false}, {0, rect.Right, true}, {1, rect.Top, false}, {1, rect.Bottom, true}};
    TAdvGraphicsPathPolygon next;
    for (const TEdge& edge : edges) {
        if (polygon.empty()) break;
        next.clear();
        const auto value = [&edge](const TPointF& p) { return edge.Axis == 0 ? p.X : p.Y; };
        const auto inside = [&](const TPointF& p) { return edge.KeepBelow ? value(p) <= edge.Limit : value(p) >= edge.Limit; };
        const auto crossing = [&](const TPointF& a, const TPointF& b) {
            const double t = (double(edge.Limit) - value(a)) / (double(value(b)) - value(a));
            const TPointF p = PointF(float(a.X + t * (double(b.X) - a.X)), float(a.Y + t * (double(b.Y) - a.Y)));
            return edge.Axis == 0 ? PointF(edge.Limit, p.Y) : PointF(p.X, edge.Limit);
        };
        TPointF previous = polygon.back();
        for (const TPointF& current : polygon) {
            if (inside(current)) {
                if (!inside(previous)) next.push_back(crossing(previous, current));
                next.push_back(current);
            } else if (inside(previous)) {
                next.push_back(crossing(previous, current));
            }
            previous = current;
        }
        polygon.swap(next);
    }
    return polygon;
}

}  // namespace

void ClipPathToRect(const TAdvGraphicsPath& path, const TRectF& rect, bool asFill, TAdvGraphicsPath& result,
                    float flatness) {
    result.Clear();
    const float tolerance = flatness > 0.05f ? flatness : 0.05f;
    TAdvGraphicsPathPolygon figure;
    bool closed = false;
    const auto emit = [&] {
        if (figure.size() >= 2) {
            if (closed || asFill) {
                const TAdvGraphicsPathPolygon clipped = ClipPolygonToRect(figure, rect);
                if (clipped.size() >= 2) {
                    result.MoveTo(clipped.front());
                    for (std::size_t i = 1; i < clipped.size(); ++i) result.LineTo(clipped[i]);
                    if (closed) result.ClosePath();
                }
            } else {
                bool open = false;   // a piece is being drawn
                for (std::size_t i = 1; i < figure.size(); ++i) {
                    TPointF from = figure[i - 1], to = figure[i];
                    if (!ClipLineToRect(from, to, rect)) {
                        open = false;
                        continue;
                    }
                    if (!open || !(result.LastPoint() == from)) result.MoveTo(from);
                    result.LineTo(to);
                    open = to == figure[i];   // the next segment joins only when this one ended inside
                }
            }
        }
        figure.clear();
        closed = false;
    };
    const auto& entries = path.PathData();
    TPointF current;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TAdvGraphicsPathPoint& entry = entries[i];
        switch (entry.Kind) {
        case gppMoveTo:
            emit();
            figure.push_back(entry.Point);
            current = entry.Point;
            break;
        case gppLineTo:
            if (figure.empty()) figure.push_back(current);   // a line without a move first
            figure.push_back(entry.Point);
            current = entry.Point;
            break;
        case gppCurveTo:
            if (i + 2 < entries.size()) {
                if (figure.empty()) figure.push_back(current);
                for (const TPointF& p : TAdvGraphicsPath::FlattenCurve(current, entry.Point, entries[i + 1].Point,
                                                                       entries[i + 2].Point, tolerance))
                    figure.push_back(p);
                current = entries[i + 2].Point;
            }
            i += 2;
            break;
        case gppClose:
            closed = true;
            emit();
            current = entry.Point;   // the figure's start, where a following line begins
            break;
        }
    }
    emit();
}

}  // namespace AdvGraphicsTypes
