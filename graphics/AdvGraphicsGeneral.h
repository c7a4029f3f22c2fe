#pragma once
// The canvas back end of TAdvGraphics: GDI pens, brushes and text in whole pixels.
// Transforms, anti-aliasing, text quality and opacity are not supported; those
// operations do nothing.
#include <windows.h>

#include <vector>

#include "classlib/Geometry.h"
#include "graphics/AdvGraphics.h"

namespace AdvGraphics::General {

// A banded gradient from `colorFrom` (first band) towards `colorTo`, one pixel per band,
// bands shortened near the rounded corners in `corners` (radius `radius`).
void DrawGradient(ClassLib::TCanvas* canvas, TColor colorFrom, TColor colorTo, bool horizontal,
                  TAdvGraphicsCorners corners, int radius, const ClassLib::TRect& rect);

class TAdvGraphicsContextGeneral : public TAdvGraphicsContext {
public:
    TAdvGraphicsContextGeneral(TAdvGraphics* graphics, ClassLib::TCanvas* canvas);
    ~TAdvGraphicsContextGeneral() override;

    void* NativeCanvas() const override { return Canvas(); }
    std::unique_ptr<TContextPath> CreatePath() override { return nullptr; }
    TColor GetFillColor() override;
    TRectF CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) override;
    TRectF SetTextAngle(const TRectF& rect, float) override { return rect; }
    TAdvGraphicsMatrix GetMatrix() override { return TAdvGraphicsMatrix::Identity(); }
    void Render() override {}
    void PathOpen(TContextPath*) override {}
    void PathMoveTo(TContextPath* path, const TPointF& point) override;
    void PathLineTo(TContextPath* path, const TPointF& point) override;
    // One call for the whole run.
    void PathLinesTo(TContextPath* path, const TPointF* points, std::size_t count) override;
    void SetScale(float) override {}
    void PathClose(TContextPath* path) override;
    void ResetClip() override {}
    void ResetTransform() override {}
    void ScaleTransform(float, float) override {}
    void RotateTransform(float) override {}
    void TranslateTransform(float, float) override {}
    void SetTextQuality(TAdvGraphicsTextQuality) override {}
    void SetAntiAliasing(bool) override {}
    void SetShowAcceleratorChar(bool showAcceleratorChar) override { FShowAcceleratorChar = showAcceleratorChar; }
    void SetSize(float, float) override {}
    void ResetTextAngle(float) override {}
    void BeginScene() override {}
    void EndScene() override {}
    void BeginPrinting() override { FPrinting = true; }
    void EndPrinting() override { FPrinting = false; }
    void StartSpecialPen() override;
    void StopSpecialPen() override;
    void RestoreState(TAdvGraphicsSaveState* state) override;
    void SaveState(TAdvGraphicsSaveState* state) override;
    void SetFontSize(int size) override;
    void SetFontColor(TColor color) override;
    void SetFontName(const std::wstring& name) override;
    void SetFont(const TAdvGraphicsFont* font) override;
    void SetFontStyles(ClassLib::TFontStyles style) override;
    void SetMatrix(const TAdvGraphicsMatrix&) override {}
    void SetFill(const TAdvGraphicsFill* fill) override;
    void SetFillKind(TAdvGraphicsFillKind kind) override;
    void SetFillColor(TColor color) override;
    void SetStroke(const TAdvGraphicsStroke* stroke) override;
    void SetStrokeKind(TAdvGraphicsStrokeKind kind) override;
    void SetStrokeColor(TColor color) override;
    void SetStrokeWidth(float width) override;
    void DrawLine(const TAdvGraphicsStroke* stroke, const TPointF& fromPoint, const TPointF& toPoint,
                  TAdvGraphicsModifyPointMode modifyPointModeFrom, TAdvGraphicsModifyPointMode modifyPointModeTo) override;
    void DrawPolygon(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPathPolygon& polygon) override;
    void FillPolygon(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polygon) override;
    void DrawPolyline(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPathPolygon& polyline) override;
    // Fills the closed polygon, as the GDI+ context does.
    void FillPolyline(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polyline) override;
    // Fills the chord, as the GDI+ context does.
    void FillArc(const TAdvGraphicsFill* fill, const TPointF& center, const TPointF& radius, float startAngle,
                 float sweepAngle) override;
    void DrawArc(const TAdvGraphicsStroke* stroke, const TPointF& center, const TPointF& radius, float startAngle,
                 float sweepAngle) override;
    void FillRect(const TAdvGraphicsFill* fill, const TRectF& rect, TAdvGraphicsModifyRectMode modifyRectMode) override;
    void DrawRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, TAdvGraphicsSides sides,
                  TAdvGraphicsModifyRectMode modifyRectMode) override;
    void FillRoundRect(const TAdvGraphicsFill* fill, const TRectF& rect, float rounding, TAdvGraphicsCorners corners,
                       TAdvGraphicsModifyRectMode modifyRectMode) override;
    void DrawRoundRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, float rounding,
                       TAdvGraphicsCorners corners, TAdvGraphicsModifyRectMode modifyRectMode) override;
    void FillEllipse(const TAdvGraphicsFill* fill, const TRectF& rect, TAdvGraphicsModifyRectMode modifyRectMode) override;
    void DrawEllipse(const TAdvGraphicsStroke* stroke, const TRectF& rect,
                     TAdvGraphicsModifyRectMode modifyRectMode) override;
    // The whole graphic into the destination; source rectangle and opacity are not used.
    void DrawBitmap(ClassLib::TGraphic* bitmap, const TRectF& srcRect, const TRectF& dstRect, float opacity) override;
    // Intersects with the clip already there.
    void ClipRect(const TRectF& rect) override;
    void ClipPath(const TAdvGraphicsPath* path) override;
    void DrawFocusPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path, TColor color) override;
    void DrawFocusRectangle(const TAdvGraphicsStroke* stroke, const TRectF& rect, TColor color,
                            TAdvGraphicsModifyRectMode modifyRectMode) override;
    void DrawText(const std::wstring& text, const TRectF& rect, bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                  TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming, float angle) override;
    void DrawPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path,
                  TAdvGraphicsPathDrawMode pathMode) override;
    void FillPath(const TAdvGraphicsFill* fill, const TAdvGraphicsPath* path, TAdvGraphicsPathDrawMode pathMode) override;
private:
    void StrokeOrFillPath(const TAdvGraphicsPath* path, TAdvGraphicsPathDrawMode pathMode, bool fill);

    bool FPrinting = false;
    bool FShowAcceleratorChar = false;
    HPEN FOldPenHandle = nullptr;  // selected back by StopSpecialPen
    HPEN FSpecialPen = nullptr;    // owned between StartSpecialPen and StopSpecialPen
    ClassLib::TPenStyle FOldPenStyle = ClassLib::psSolid;
    int FOldPenWidth = 1;
    std::vector<POINT> FLinePoints;   // PathLinesTo's, reused
};

}  // namespace AdvGraphics::General
