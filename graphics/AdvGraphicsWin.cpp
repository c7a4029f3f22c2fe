#include "graphics/AdvGraphicsWin.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvGDIPlusClasses.h"
#include "graphics/AdvGlobalStream.h"
#include "classlib/Strings.h"

namespace AdvGraphics::Win {

using namespace ClassLib;
using namespace AdvGraphicsTypes;
using namespace AdvGDIPlusClasses;
using AdvTypes::PointF;

namespace {

class TGdipPath : public TContextPath {
public:
    TGPGraphicsPath Path{Gdiplus::FillModeAlternate};
};

TGPGraphicsPath& PathOf(TContextPath* path) { return static_cast<TGdipPath*>(path)->Path; }

TGPRectF ToGP(const TRectF& r) { return TGPRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

std::vector<TGPPointF> ToGP(const TAdvGraphicsPathPolygon& polygon) {
    std::vector<TGPPointF> points;
    points.reserve(polygon.size());
    for (const TPointF& p : polygon) points.emplace_back(p.X, p.Y);
    return points;
}

Gdiplus::StringAlignment AlignmentOf(TAdvGraphicsTextAlign align) {
    switch (align) {
    case gtaCenter: return Gdiplus::StringAlignmentCenter;
    case gtaLeading: return Gdiplus::StringAlignmentNear;
    case gtaTrailing: return Gdiplus::StringAlignmentFar;
    }
    return Gdiplus::StringAlignmentNear;
}

// The rounded-rectangle outline of both round-rect operations, from the bottom-left corner.
void RoundRectPath(TAdvGraphicsPath& path, const TRectF& rect, float r, TAdvGraphicsCorners corners) {
    auto has = [corners](TAdvGraphicsCorner corner) { return (corners & (1u << corner)) != 0; };
    const float left = rect.Left, top = rect.Top, right = rect.Right, bottom = rect.Bottom;
    const TPointF radius = PointF(r, r);
    if (has(gcBottomLeft)) {
        path.MoveTo(PointF(left + r, bottom));
        path.AddArc(PointF(left + r, bottom - r), radius, -270, 90);
        path.LineTo(PointF(left, bottom - r));
    } else {
        path.MoveTo(PointF(left, bottom));
    }
    if (has(gcTopLeft)) {
        path.LineTo(PointF(left, top + r));
        path.AddArc(PointF(left + r, top + r), radius, -180, 90);
        path.LineTo(PointF(left + r, top));
    } else {
        path.LineTo(PointF(left, top));
    }
    if (has(gcTopRight)) {
        path.LineTo(PointF(right - r, top));
        path.AddArc(PointF(right - r, top + r), radius, -90, 90);
        path.LineTo(PointF(right, top + r));
    } else {
        path.LineTo(PointF(right, top));
    }
    if (has(gcBottomRight)) {
        path.LineTo(PointF(right, bottom - r));
        path.AddArc(PointF(right - r, bottom - r), radius, 0, 90);
        path.LineTo(PointF(right - r, bottom));
    } else {
        path.LineTo(PointF(right, bottom));
    }
    path.LineTo(PointF(has(gcBottomLeft) ? left + r : left, bottom));
    path.ClosePath();
}

TGPMatrix ToGP(const TAdvGraphicsMatrix& m) { return TGPMatrix(m.m11, m.m12, m.m21, m.m22, m.m31, m.m32); }

// Sets the stops on a gradient brush of either kind, then its transform.
template <class B>
void ApplyStops(B& brush, const std::vector<TGradientStop>& stops, const TAdvGraphicsMatrix& matrix) {
    if (!stops.empty()) {
        std::vector<ARGB> colors;
        std::vector<float> positions;
        for (const TGradientStop& stop : stops) {
            colors.push_back(stop.Color);
            positions.push_back(stop.Position);
        }
        brush.SetInterpolationColors(colors.data(), positions.data(), int(stops.size()));
    }
    const TGPMatrix transform = ToGP(matrix);
    brush.MultiplyTransform(&transform, Gdiplus::MatrixOrderPrepend);
}

}  // namespace

TARGB MakeARGB(TColor color, float opacity) {
    const TColor rgb = color == -1 ? 0 : ColorToRGB(color);
    const long alpha = std::lrint(std::clamp(opacity, 0.0f, 1.0f) * 255);
    return (TARGB(alpha) << 24) | (TARGB(ColorRed(rgb)) << 16) | (TARGB(ColorGreen(rgb)) << 8) | TARGB(ColorBlue(rgb));
}

std::vector<TGradientStop> GradientStops(const TAdvGraphicsFill& fill) {
    std::vector<TGradientStop> stops;
    if (fill.GradientMode() == gfgmDefault) {
        const float opacity = fill.Opacity();
        stops.push_back({MakeARGB(fill.Color(), opacity), 0});
        if (fill.ColorMirror() == -1 || fill.ColorMirrorTo() == -1) {
            stops.push_back({MakeARGB(fill.ColorTo(), opacity), 1});
        } else {
            // The mirror starts where the first half ends: a hard step in the middle.
            stops.push_back({MakeARGB(fill.ColorTo(), opacity), 0.5f});
            stops.push_back({MakeARGB(fill.ColorMirror(), opacity), 0.5f});
            stops.push_back({MakeARGB(fill.ColorMirrorTo(), opacity), 1});
        }
        return stops;
    }
    const TAdvGraphicsFillGradientItems& items = *fill.GradientItems();
    if (items.Count() == 0) return stops;
    bool atStart = false, atEnd = false;
    for (const TAdvGraphicsFillGradientItem* item : items) {
        atStart = atStart || item->Position() == 0;
        atEnd = atEnd || item->Position() == 1;
    }
    const TAdvGraphicsFillGradientItem* first = items.Items(0);
    const TAdvGraphicsFillGradientItem* last = items.Items(items.Count() - 1);
    if (!atStart) stops.push_back({MakeARGB(first->Color(), first->Opacity()), 0});
    for (const TAdvGraphicsFillGradientItem* item : items)
        stops.push_back({MakeARGB(item->Color(), item->Opacity()), item->Position()});
    if (!atEnd) stops.push_back({MakeARGB(last->Color(), last->Opacity()), 1});
    return stops;
}

std::vector<TGradientStop> RadialStops(const std::vector<TGradientStop>& stops) {
    std::vector<TGradientStop> reversed;
    reversed.reserve(stops.size());
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) reversed.push_back({it->Color, 1 - it->Position});
    return reversed;
}

struct TAdvGraphicsContextWin::TPointBuffer {
    std::vector<TGPPointF> Points;
};

TAdvGraphicsContextWin::TAdvGraphicsContextWin(TAdvGraphics* graphics, TCanvas* canvas)
    : TAdvGraphicsContext(graphics, canvas),
      FLinePoints(std::make_unique<TPointBuffer>()),
      FFont(std::make_unique<TAdvGraphicsFont>()),
      FFill(std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite)),
      FStroke(std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver)) {
    FFont->SetOnChanged([this](TObject*) { BuildFont(); });
    FStroke->SetOnChanged([this](TObject*) { BuildPen(); });
}

TAdvGraphicsContextWin::~TAdvGraphicsContextWin() {
    Render();
    ReleaseGraphics();
}

void* TAdvGraphicsContextWin::NativeCanvas() const { return FGPGraphics.get(); }

void TAdvGraphicsContextWin::SaveBaseState() { FSaveGP = FGPGraphics->Save(); }

void TAdvGraphicsContextWin::ReleaseGraphics() {
    if (!FGPGraphics) return;
    FGPGraphics->Restore(FSaveGP);  // transforms and clips never leak to the device context
    FGPGraphics.reset();
    if (!FOffscreen) return;
    // What was drawn into the bitmap goes onto the device context, pixel for pixel.
    const std::unique_ptr<TGPBitmap> drawn = std::move(FOffscreen);
    TGPGraphics device(Canvas()->Handle());
    device.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    device.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    device.DrawImage(drawn.get(), FOffscreenArea.Left, FOffscreenArea.Top, FOffscreenArea.Width(),
                     FOffscreenArea.Height());
}

bool TAdvGraphicsContextWin::DrawOffscreen() {
    if (!FGPGraphics || FOffscreen) return false;
    // Only where pixels are drawn: a printer or a metafile keeps its shapes.
    if (::GetDeviceCaps(Canvas()->Handle(), TECHNOLOGY) != DT_RASDISPLAY) return false;
    TGPRectF visible;
    if (FGPGraphics->GetVisibleClipBounds(visible) != Gdiplus::Ok) return false;
    const TRect area{int(std::floor(visible.X)), int(std::floor(visible.Y)), int(std::ceil(visible.X + visible.Width)),
                     int(std::ceil(visible.Y + visible.Height))};
    // Beyond this a bitmap of its own would cost more than it saves.
    constexpr std::int64_t MaxPixels = 2048 * 2048;
    if (area.Width() <= 0 || area.Height() <= 0 || std::int64_t(area.Width()) * area.Height() > MaxPixels) return false;
    auto bitmap = std::make_unique<TGPBitmap>(area.Width(), area.Height(), PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return false;
    auto graphics = std::make_unique<TGPGraphics>(static_cast<const TGPImage*>(bitmap.get()));
    if (graphics->GetLastStatus() != Gdiplus::Ok) return false;
    FGPGraphics->Restore(FSaveGP);
    FGPGraphics = std::move(graphics);
    FOffscreen = std::move(bitmap);
    FOffscreenArea = area;
    // The device's coordinates stay those of the drawing: the bitmap's origin is the area's corner.
    FGPGraphics->TranslateTransform(float(-area.Left), float(-area.Top));
    SaveBaseState();
    return true;
}

void TAdvGraphicsContextWin::SetSize(float width, float height) {
    FContextSize = PointF(width, height);
    ReleaseGraphics();
    FGPGraphics = std::make_unique<TGPGraphics>(Canvas()->Handle());
    SaveBaseState();
    FNeedsRendering = true;
    BuildPen();
    BuildFont();
}

void TAdvGraphicsContextWin::Render() {
    if (!FNeedsRendering) return;
    FNeedsRendering = false;
    ReleaseGraphics();
}

void TAdvGraphicsContextWin::EndScene() {
    if (FGPGraphics) Render();
}

void TAdvGraphicsContextWin::BuildPen() {
    if (!FGPGraphics) return;
    // A stroke set again with the values the pen has (every restored state does so) keeps it.
    const TPenKey key{MakeARGB(FStroke->Color(), FStroke->Opacity()), FStroke->Width(), FStroke->Kind()};
    if (FGPPen && key == FPenKey) return;
    FPenKey = key;
    FGPPen = std::make_unique<TGPPen>(key.Color, key.Width);
    static const Gdiplus::DashStyle styles[] = {Gdiplus::DashStyleSolid, Gdiplus::DashStyleSolid,
                                                Gdiplus::DashStyleDash, Gdiplus::DashStyleDot,
                                                Gdiplus::DashStyleDashDot, Gdiplus::DashStyleDashDotDot};
    FGPPen->SetDashStyle(styles[FStroke->Kind()]);
    FGPPen->SetLineCap(Gdiplus::LineCapFlat, Gdiplus::LineCapFlat, Gdiplus::DashCapFlat);
    FGPPen->SetLineJoin(Gdiplus::LineJoinMiterClipped);
    FGPPen->SetMiterLimit(4);
}

void TAdvGraphicsContextWin::BuildFont() {
    if (!FGPGraphics) return;
    std::wstring name = FFont->Name();
    if (name.empty() || SameText(name, L"DEFAULT")) name = L"Arial";
    const int size = FFont->Size();
    // Only name, size and style make the GDI+ font; its colour is taken when text is drawn.
    TFontKey key{name, size, int(FFont->Style().Bits() & 15)};
    if (FGPFont && key == FFontKey) return;
    FFontKey = std::move(key);
    FGPFont = std::make_unique<TGPFont>(name.c_str(), float(size == 0 ? 8 : size), int(FFont->Style().Bits() & 15),
                                        Gdiplus::UnitPoint);
}

template <class F>
void TAdvGraphicsContextWin::WithPen(F draw) {
    if (!FGPGraphics || !FGPPen) return;
    const bool dashed = FStroke->Kind() > gskSolid;
    const auto smoothing = FGPGraphics->GetSmoothingMode();
    if (dashed) FGPGraphics->SetSmoothingMode(Gdiplus::SmoothingModeDefault);
    draw();
    if (dashed) FGPGraphics->SetSmoothingMode(smoothing);
}

void TAdvGraphicsContextWin::FillGPPath(TGPGraphicsPath& path) {
    if (!FGPGraphics) return;
    const TAdvGraphicsFill& fill = *FFill;
    std::unique_ptr<TGPBrush> brush;
    if (fill.Kind() == gfkSolid) {
        brush = std::make_unique<TGPSolidBrush>(MakeARGB(fill.Color(), fill.Opacity()));
    } else if (fill.Kind() == gfkGradient) {
        TGPRectF bounds;
        path.GetBounds(bounds);
        const TGPRectF area(bounds.X - 1, bounds.Y - 1, bounds.Width + 2, bounds.Height + 2);
        const std::vector<TGradientStop> stops = GradientStops(fill);
        if (fill.GradientType() == gfgtRadial) {
            auto radial = std::make_unique<TGPPathGradientBrush>(&path);
            if (fill.GradientCenterColor() != -1)
                radial->SetCenterColor(MakeARGB(fill.GradientCenterColor(), fill.Opacity()));
            radial->SetCenterPoint(TGPPointF(fill.GradientCenterPoint().X, fill.GradientCenterPoint().Y));
            ApplyStops(*radial, RadialStops(stops), fill.GradientMatrix());
            brush = std::move(radial);
        } else {
            std::unique_ptr<TGPLinearGradientBrush> linear;
            if (fill.Orientation() == gfoCustom)
                linear = std::make_unique<TGPLinearGradientBrush>(area, 0, 0, fill.GradientAngle(), FALSE);
            else
                linear = std::make_unique<TGPLinearGradientBrush>(
                    area, 0, 0,
                    fill.Orientation() == gfoHorizontal ? Gdiplus::LinearGradientModeHorizontal
                                                        : Gdiplus::LinearGradientModeVertical);
            ApplyStops(*linear, stops, fill.GradientMatrix());
            brush = std::move(linear);
        }
    } else {
        // Texture fills are painted by the owner; none paints nothing.
        brush = std::make_unique<TGPSolidBrush>(MakeARGB(-1, 0));
    }
    FGPGraphics->FillPath(brush.get(), &path);
}

namespace {
// Text is measured and drawn typographically: the default format pads every run by about a
// sixth of an em on each side, and HTML text, laid out run by run, showed gaps inside
// sentences and before punctuation. Trailing spaces count, since a run ends with the blank
// that separates it from the next.
int TextFormatFlags(bool wordWrapping) {
    int flags = Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
    if (!wordWrapping) flags |= Gdiplus::StringFormatFlagsNoWrap;
    return flags;
}
}  // namespace

TRectF TAdvGraphicsContextWin::CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) {
    if (!FGPGraphics || !FGPFont || !IsFiniteRect(rect)) return {};
    TGPStringFormat format(TGPStringFormat::GenericTypographic());
    format.SetFormatFlags(TextFormatFlags(wordWrapping));
    format.SetHotkeyPrefix(FShowAcceleratorChar ? Gdiplus::HotkeyPrefixShow : Gdiplus::HotkeyPrefixNone);
    TGPRectF box;
    FGPGraphics->MeasureString(text.c_str(), int(text.size()), FGPFont.get(), ToGP(rect), &format, box);
    return TRectF{box.X, box.Y, box.X + box.Width, box.Y + box.Height};
}

TRectF TAdvGraphicsContextWin::SetTextAngle(const TRectF& rect, float angle) {
    if (angle == 0 || !FGPGraphics) return rect;
    FTextMatrix = std::make_unique<TGPMatrix>();
    FGPGraphics->GetTransform(FTextMatrix.get());
    const float cx = (rect.Left + rect.Right) / 2, cy = (rect.Top + rect.Bottom) / 2;
    // Prepended, so points rotate about the origin first and then move to the centre.
    FGPGraphics->TranslateTransform(cx, cy, Gdiplus::MatrixOrderPrepend);
    FGPGraphics->RotateTransform(angle, Gdiplus::MatrixOrderPrepend);
    float w = rect.Width(), h = rect.Height();
    if (h > w) std::swap(w, h);  // a tall box holds the text along its length
    return TRectF{-w / 2, -h / 2, w / 2, h / 2};
}

void TAdvGraphicsContextWin::ResetTextAngle(float angle) {
    if (angle == 0 || !FTextMatrix || !FGPGraphics) return;
    FGPGraphics->SetTransform(FTextMatrix.get());
    FTextMatrix.reset();
}

TAdvGraphicsMatrix TAdvGraphicsContextWin::GetMatrix() {
    TAdvGraphicsMatrix result = TAdvGraphicsMatrix::Identity();
    if (!FGPGraphics) return result;
    TGPMatrix matrix;
    FGPGraphics->GetTransform(&matrix);
    if (FOffscreen) matrix.Translate(float(FOffscreenArea.Left), float(FOffscreenArea.Top), Gdiplus::MatrixOrderAppend);
    AdvGDIPCore::TMatrixArray m{};
    matrix.GetElements(m);
    result.m11 = m[0];
    result.m12 = m[1];
    result.m21 = m[2];
    result.m22 = m[3];
    result.m31 = m[4];
    result.m32 = m[5];
    return result;
}

void TAdvGraphicsContextWin::SetMatrix(const TAdvGraphicsMatrix& matrix) {
    if (!FGPGraphics) return;
    TGPMatrix m = ToGP(matrix);
    if (FOffscreen) m.Translate(float(-FOffscreenArea.Left), float(-FOffscreenArea.Top), Gdiplus::MatrixOrderAppend);
    FGPGraphics->SetTransform(&m);
}

std::unique_ptr<TContextPath> TAdvGraphicsContextWin::CreatePath() { return std::make_unique<TGdipPath>(); }
void TAdvGraphicsContextWin::PathOpen(TContextPath* path) { PathOf(path).StartFigure(); }
void TAdvGraphicsContextWin::PathMoveTo(TContextPath*, const TPointF& point) { FMovePoint = point; }

void TAdvGraphicsContextWin::PathLineTo(TContextPath* path, const TPointF& point) {
    PathOf(path).AddLine(FMovePoint.X, FMovePoint.Y, point.X, point.Y);
    FMovePoint = point;
}

void TAdvGraphicsContextWin::PathLinesTo(TContextPath* path, const TPointF* points, std::size_t count) {
    // One polyline from the current point: a line per point would repeat every inner
    // point, and Wine's GDI+ strokes such a path twice as slowly for the same result.
    std::vector<TGPPointF>& line = FLinePoints->Points;
    line.clear();
    line.reserve(count + 1);
    line.emplace_back(FMovePoint.X, FMovePoint.Y);
    for (std::size_t i = 0; i < count; ++i) line.emplace_back(points[i].X, points[i].Y);
    if (count) FMovePoint = points[count - 1];
    if (line.size() >= 2) PathOf(path).AddLines(line.data(), int(line.size()));
}

void TAdvGraphicsContextWin::PathClose(TContextPath* path) { PathOf(path).CloseFigure(); }

void TAdvGraphicsContextWin::ResetClip() {
    if (FGPGraphics) FGPGraphics->ResetClip();
}

void TAdvGraphicsContextWin::ResetTransform() {
    if (!FGPGraphics) return;
    FGPGraphics->Restore(FSaveGP);
    SaveBaseState();
}

void TAdvGraphicsContextWin::ScaleTransform(float x, float y) {
    if (FGPGraphics) FGPGraphics->ScaleTransform(x, y, Gdiplus::MatrixOrderPrepend);
}

void TAdvGraphicsContextWin::RotateTransform(float angle) {
    if (FGPGraphics) FGPGraphics->RotateTransform(angle, Gdiplus::MatrixOrderPrepend);
}

void TAdvGraphicsContextWin::TranslateTransform(float x, float y) {
    if (FGPGraphics) FGPGraphics->TranslateTransform(x, y, Gdiplus::MatrixOrderPrepend);
}

void TAdvGraphicsContextWin::SetTextQuality(TAdvGraphicsTextQuality textQuality) {
    if (!FGPGraphics) return;
    FGPGraphics->Restore(FSaveGP);
    FGPGraphics->SetTextRenderingHint(textQuality == gtqAntiAliasing ? Gdiplus::TextRenderingHintAntiAlias
                                      : textQuality == gtqClearType  ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                                     : Gdiplus::TextRenderingHintSystemDefault);
    SaveBaseState();  // the setting is part of the base state, so ResetTransform keeps it
}

void TAdvGraphicsContextWin::SetAntiAliasing(bool antiAliasing) {
    if (!FGPGraphics) return;
    FGPGraphics->Restore(FSaveGP);
    FGPGraphics->SetSmoothingMode(antiAliasing ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeDefault);
    SaveBaseState();
}

void TAdvGraphicsContextWin::SaveState(TAdvGraphicsSaveState* state) {
    if (FGPGraphics) state->SetCustomSaveDC(int(FGPGraphics->Save()));
}

void TAdvGraphicsContextWin::RestoreState(TAdvGraphicsSaveState* state) {
    if (FGPGraphics) FGPGraphics->Restore(Gdiplus::GraphicsState(state->CustomSaveDC()));
}

void TAdvGraphicsContextWin::SetFontSize(int size) {
    if (FGPGraphics) FFont->SetSize(size);
}
void TAdvGraphicsContextWin::SetFontColor(TColor color) {
    if (FGPGraphics) FFont->SetColor(color);
}
void TAdvGraphicsContextWin::SetFontName(const std::wstring& name) {
    if (FGPGraphics) FFont->SetName(name);
}
void TAdvGraphicsContextWin::SetFont(const TAdvGraphicsFont* font) {
    if (FGPGraphics) FFont->Assign(font);
}
void TAdvGraphicsContextWin::SetFontStyles(TFontStyles style) {
    if (FGPGraphics) FFont->SetStyle(style);
}
void TAdvGraphicsContextWin::SetFill(const TAdvGraphicsFill* fill) {
    if (FGPGraphics) FFill->Assign(fill);
}
void TAdvGraphicsContextWin::SetFillKind(TAdvGraphicsFillKind kind) {
    if (FGPGraphics) FFill->SetKind(kind);
}
void TAdvGraphicsContextWin::SetFillColor(TColor color) {
    if (FGPGraphics) FFill->SetColor(color);
}
void TAdvGraphicsContextWin::SetStroke(const TAdvGraphicsStroke* stroke) {
    if (FGPGraphics) FStroke->Assign(stroke);
}
void TAdvGraphicsContextWin::SetStrokeKind(TAdvGraphicsStrokeKind kind) {
    if (FGPGraphics) FStroke->SetKind(kind);
}
void TAdvGraphicsContextWin::SetStrokeColor(TColor color) {
    if (FGPGraphics) FStroke->SetColor(color);
}
void TAdvGraphicsContextWin::SetStrokeWidth(float width) {
    if (FGPGraphics) FStroke->SetWidth(width);
}

void TAdvGraphicsContextWin::DrawLine(const TAdvGraphicsStroke*, const TPointF& fromPoint, const TPointF& toPoint,
                                      TAdvGraphicsModifyPointMode, TAdvGraphicsModifyPointMode) {
    if (!IsFinitePoint(fromPoint) || !IsFinitePoint(toPoint)) return;
    WithPen([&] { FGPGraphics->DrawLine(FGPPen.get(), fromPoint.X, fromPoint.Y, toPoint.X, toPoint.Y); });
}

void TAdvGraphicsContextWin::DrawPolygon(const TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& polygon) {
    if (polygon.empty() || !IsFinitePolygon(polygon)) return;
    const std::vector<TGPPointF> points = ToGP(polygon);
    WithPen([&] { FGPGraphics->DrawPolygon(FGPPen.get(), points.data(), int(points.size())); });
}

void TAdvGraphicsContextWin::DrawPolyline(const TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& polyline) {
    if (polyline.empty() || !IsFinitePolygon(polyline)) return;
    const std::vector<TGPPointF> points = ToGP(polyline);
    WithPen([&] { FGPGraphics->DrawLines(FGPPen.get(), points.data(), int(points.size())); });
}

void TAdvGraphicsContextWin::FillPolygon(const TAdvGraphicsFill*, const TAdvGraphicsPathPolygon& polygon) {
    if (!FGPGraphics || polygon.empty() || !IsFinitePolygon(polygon)) return;
    const std::vector<TGPPointF> points = ToGP(polygon);
    TGPGraphicsPath path;
    path.AddPolygon(points.data(), int(points.size()));
    FillGPPath(path);
}

void TAdvGraphicsContextWin::FillPolyline(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polyline) {
    FillPolygon(fill, polyline);
}

void TAdvGraphicsContextWin::FillArc(const TAdvGraphicsFill*, const TPointF& center, const TPointF& radius,
                                     float startAngle, float sweepAngle) {
    if (!FGPGraphics || !IsFiniteArc(center, radius, startAngle, sweepAngle)) return;
    TGPGraphicsPath path;
    path.AddArc(center.X - radius.X, center.Y - radius.Y, 2 * radius.X, 2 * radius.Y, startAngle, sweepAngle);
    FillGPPath(path);
}

void TAdvGraphicsContextWin::DrawArc(const TAdvGraphicsStroke*, const TPointF& center, const TPointF& radius,
                                     float startAngle, float sweepAngle) {
    if (!IsFiniteArc(center, radius, startAngle, sweepAngle)) return;
    WithPen([&] {
        FGPGraphics->DrawArc(FGPPen.get(), center.X - radius.X, center.Y - radius.Y, 2 * radius.X, 2 * radius.Y,
                             startAngle, sweepAngle);
    });
}

void TAdvGraphicsContextWin::FillRect(const TAdvGraphicsFill*, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!FGPGraphics || !IsFiniteRect(rect)) return;
    TGPGraphicsPath path;
    path.AddRectangle(ToGP(rect));
    FillGPPath(path);
}

void TAdvGraphicsContextWin::DrawRect(const TAdvGraphicsStroke*, const TRectF& rect, TAdvGraphicsSides sides,
                                      TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    const float l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
    WithPen([&] {
        TGPPen* pen = FGPPen.get();
        if (sides & (1u << gsTop)) FGPGraphics->DrawLine(pen, l, t, r, t);
        if (sides & (1u << gsLeft)) FGPGraphics->DrawLine(pen, l, t, l, b);
        if (sides & (1u << gsBottom)) FGPGraphics->DrawLine(pen, l, b, r, b);
        if (sides & (1u << gsRight)) FGPGraphics->DrawLine(pen, r, t, r, b);
    });
}

void TAdvGraphicsContextWin::FillRoundRect(const TAdvGraphicsFill* fill, const TRectF& rect, float rounding,
                                           TAdvGraphicsCorners corners, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect) || !std::isfinite(rounding)) return;
    TAdvGraphicsPath path;
    RoundRectPath(path, rect, rounding, corners);
    FillPath(fill, &path, pdmPolygon);
}

void TAdvGraphicsContextWin::DrawRoundRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, float rounding,
                                           TAdvGraphicsCorners corners, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect) || !std::isfinite(rounding)) return;
    TAdvGraphicsPath path;
    RoundRectPath(path, TRectF{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1}, rounding, corners);
    DrawPath(stroke, &path, pdmPolygon);
}

void TAdvGraphicsContextWin::FillEllipse(const TAdvGraphicsFill*, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!FGPGraphics || !IsFiniteRect(rect)) return;
    TGPGraphicsPath path;
    path.AddEllipse(ToGP(rect));
    FillGPPath(path);
}

void TAdvGraphicsContextWin::DrawEllipse(const TAdvGraphicsStroke*, const TRectF& rect, TAdvGraphicsModifyRectMode) {
    if (!IsFiniteRect(rect)) return;
    WithPen([&] {
        FGPGraphics->DrawEllipse(FGPPen.get(), rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1);
    });
}

void TAdvGraphicsContextWin::DrawBitmap(TGraphic* bitmap, const TRectF&, const TRectF& dstRect, float) {
    if (!FGPGraphics || !bitmap || !IsFiniteRect(dstRect)) return;
    TMemoryStream saved;
    bitmap->SaveToStream(&saved);
    AdvGlobalStream::TStreamResult result{};
    AdvGlobalStream::TOwnedStream stream =
        AdvGlobalStream::CopyToGlobalStream(saved.Bytes().data(), saved.Bytes().size(), result);
    if (result == AdvGlobalStream::TStreamResult::NoMemory) throw AdvGlobalStream::EImageMemoryError();
    if (!stream) return;
    std::unique_ptr<TGPImage> image(TGPImage::FromStream(stream.get()));
    if (!image || image->GetLastStatus() != Gdiplus::Ok) return;
    std::unique_ptr<TGPImage> drawn;
    if (image->GetType() == Gdiplus::ImageTypeBitmap) {
        const int width = int(image->GetWidth()), height = int(image->GetHeight());
        auto copy = std::make_unique<TGPBitmap>(width, height, PixelFormat32bppARGB);
        {
            TGPGraphics onCopy(static_cast<const TGPImage*>(copy.get()));
            onCopy.DrawImage(image.get(), 0, 0, width, height);
        }
        drawn = std::move(copy);
    } else {
        drawn = std::move(image);  // a metafile reads its stream while it lives
    }
    const float srcWidth = float(drawn->GetWidth()), srcHeight = float(drawn->GetHeight());
    // A transparent bitmap keeps its transparent colour out; GDI+ alone would paint it.
    TGPImageAttributes attributes;
    const auto* plain = dynamic_cast<ClassLib::TBitmap*>(bitmap);
    const bool keyed = plain && plain->Transparent();
    if (keyed) {
        const TARGB key = MakeARGB(const_cast<ClassLib::TBitmap*>(plain)->TransparentColor(), 1);
        attributes.SetColorKey(key, key);
    }
    FGPGraphics->DrawImage(drawn.get(), ToGP(dstRect), 0, 0, srcWidth, srcHeight, Gdiplus::UnitPixel,
                           keyed ? &attributes : nullptr);
}

bool TAdvGraphicsContextWin::VisibleBounds(float margin, TRectF& bounds) {
    // The device's area taken back through the world transform. Not GDI+'s visible clip
    // bounds: Wine takes 40 microseconds for them, as long as a fill; a larger area only
    // keeps a few more curves.
    if (!FGPGraphics) return false;
    TGPPointF corners[4];
    if (FOffscreen) {
        const float w = float(FOffscreenArea.Width()), h = float(FOffscreenArea.Height());
        corners[0] = TGPPointF(0, 0), corners[1] = TGPPointF(w, 0), corners[2] = TGPPointF(w, h), corners[3] = TGPPointF(0, h);
    } else {
        RECT clip;
        if (::GetClipBox(Canvas()->Handle(), &clip) == ERROR) return false;
        corners[0] = TGPPointF(float(clip.left), float(clip.top));
        corners[1] = TGPPointF(float(clip.right), float(clip.top));
        corners[2] = TGPPointF(float(clip.right), float(clip.bottom));
        corners[3] = TGPPointF(float(clip.left), float(clip.bottom));
    }
    TGPMatrix world;
    FGPGraphics->GetTransform(&world);
    if (world.Invert() != Gdiplus::Ok || world.TransformPoints(corners, 4) != Gdiplus::Ok) return false;
    bounds = TRectF{corners[0].X, corners[0].Y, corners[0].X, corners[0].Y};
    for (const TGPPointF& p : corners) {
        bounds.Left = std::min(bounds.Left, p.X);
        bounds.Top = std::min(bounds.Top, p.Y);
        bounds.Right = std::max(bounds.Right, p.X);
        bounds.Bottom = std::max(bounds.Bottom, p.Y);
    }
    bounds = TRectF{bounds.Left - margin, bounds.Top - margin, bounds.Right + margin, bounds.Bottom + margin};
    return IsFiniteRect(bounds);
}

void TAdvGraphicsContextWin::ClipRect(const TRectF& rect) {
    if (FGPGraphics && IsFiniteRect(rect)) FGPGraphics->SetClip(ToGP(rect), Gdiplus::CombineModeReplace);
}

void TAdvGraphicsContextWin::ClipPath(const TAdvGraphicsPath* path) {
    if (!FGPGraphics || !path) return;
    std::unique_ptr<TContextPath> converted = ConvertToPath(*path, 0.25f);
    FGPGraphics->SetClip(&PathOf(converted.get()), Gdiplus::CombineModeReplace);
}

template <class F>
void TAdvGraphicsContextWin::WithFocusPen(TColor color, F draw) {
    if (!FGPGraphics || !FGPPen) return;
    const auto smoothing = FGPGraphics->GetSmoothingMode();
    FGPGraphics->SetSmoothingMode(Gdiplus::SmoothingModeDefault);
    FGPPen->SetDashStyle(Gdiplus::DashStyleDot);
    FGPPen->SetWidth(1);
    FGPPen->SetColor(MakeARGB(color, 1));
    draw();
    FGPPen.reset();   // back to the stroke's pen
    BuildPen();
    FGPGraphics->SetSmoothingMode(smoothing);
}

void TAdvGraphicsContextWin::DrawFocusRectangle(const TAdvGraphicsStroke* stroke, const TRectF& rect, TColor color,
                                                TAdvGraphicsModifyRectMode modifyRectMode) {
    WithFocusPen(color, [&] { DrawRect(stroke, rect, AllSides, modifyRectMode); });
}

void TAdvGraphicsContextWin::DrawFocusPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path, TColor color) {
    WithFocusPen(color, [&] { DrawPath(stroke, path, pdmPolygon); });
}

void TAdvGraphicsContextWin::DrawText(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                      TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                      TAdvGraphicsTextTrimming trimming, float) {
    if (!FGPGraphics || !FGPFont || !IsFiniteRect(rect)) return;
    TGPStringFormat format(TGPStringFormat::GenericTypographic());
    format.SetFormatFlags(TextFormatFlags(wordWrapping));
    format.SetAlignment(AlignmentOf(horizontalAlign));
    format.SetLineAlignment(AlignmentOf(verticalAlign));
    if (trimming == gttCharacter) format.SetTrimming(Gdiplus::StringTrimmingCharacter);
    if (trimming == gttWord) format.SetTrimming(Gdiplus::StringTrimmingWord);
    format.SetHotkeyPrefix(FShowAcceleratorChar ? Gdiplus::HotkeyPrefixShow : Gdiplus::HotkeyPrefixNone);
    TGPSolidBrush brush(MakeARGB(FFont->Color(), 1));
    FGPGraphics->DrawString(text.c_str(), int(text.size()), FGPFont.get(), ToGP(rect), &format, &brush);
}

void TAdvGraphicsContextWin::DrawPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path,
                                      TAdvGraphicsPathDrawMode pathMode) {
    if (!FGPGraphics || !path) return;
    if (pathMode == pdmPath) {
        // A dashed pen keeps curves outside: a line in their place would shift its dashes.
        TRectF cull;
        const bool culled = FStroke->Kind() <= gskSolid && VisibleBounds(2 * std::abs(FStroke->Width()) + 2, cull);
        std::unique_ptr<TContextPath> converted = ConvertToPath(*path, 0.25f, culled ? &cull : nullptr);
        WithPen([&] { FGPGraphics->DrawPath(FGPPen.get(), &PathOf(converted.get())); });
        return;
    }
    TAdvGraphicsPathPolygon polygon;
    path->FlattenToPolygon(polygon, 0.25f);
    if (pathMode == pdmPolygon)
        DrawPolygon(stroke, polygon);
    else
        DrawPolyline(stroke, polygon);
}

void TAdvGraphicsContextWin::FillPath(const TAdvGraphicsFill* fill, const TAdvGraphicsPath* path,
                                      TAdvGraphicsPathDrawMode pathMode) {
    if (!FGPGraphics || !path) return;
    if (pathMode == pdmPath) {
        TRectF cull;
        const bool culled = VisibleBounds(2, cull);
        std::unique_ptr<TContextPath> converted = ConvertToPath(*path, 0.25f, culled ? &cull : nullptr);
        FillGPPath(PathOf(converted.get()));
        return;
    }
    TAdvGraphicsPathPolygon polygon;
    path->FlattenToPolygon(polygon, 0.25f);
    if (pathMode == pdmPolygon)
        FillPolygon(fill, polygon);
    else
        FillPolyline(fill, polygon);
}

}  // namespace AdvGraphics::Win
