#pragma once
// The vector drawing layer's back-end interface: every drawing call of TAdvGraphics ends
// in these primitive operations, painted by the canvas or by GDI+.
#include <memory>
#include <string>

#include "classlib/GdiObjects.h"
#include "graphics/AdvGraphicsTypes.h"

namespace ClassLib {
class TCanvas;
class TGraphic;
}

namespace AdvGraphics {

using AdvGraphicsTypes::TAdvGraphicsCorners; using AdvGraphicsTypes::TAdvGraphicsFill;
using AdvGraphicsTypes::TAdvGraphicsFillKind; using AdvGraphicsTypes::TAdvGraphicsFont;
using AdvGraphicsTypes::TAdvGraphicsMatrix; using AdvGraphicsTypes::TAdvGraphicsModifyPointMode;
using AdvGraphicsTypes::TAdvGraphicsModifyRectMode; using AdvGraphicsTypes::TAdvGraphicsPath;
using AdvGraphicsTypes::TAdvGraphicsPathDrawMode; using AdvGraphicsTypes::TAdvGraphicsPathPolygon;
using AdvGraphicsTypes::TAdvGraphicsSaveState; using AdvGraphicsTypes::TAdvGraphicsSides;
using AdvGraphicsTypes::TAdvGraphicsStroke; using AdvGraphicsTypes::TAdvGraphicsStrokeKind;
using AdvGraphicsTypes::TAdvGraphicsTextAlign; using AdvGraphicsTypes::TAdvGraphicsTextQuality;
using AdvGraphicsTypes::TAdvGraphicsTextTrimming; using AdvGraphicsTypes::TColor;
using AdvGraphicsTypes::TPointF; using AdvGraphicsTypes::TRectF;
using AdvGraphicsTypes::AllSides; using AdvGraphicsTypes::AllCorners; using AdvGraphicsTypes::gcpmNone;
using AdvGraphicsTypes::gcrmNone; using AdvGraphicsTypes::pdmPath;

class TAdvGraphics;

// A back end's own path object (null where the back end builds paths in the device context).
class TContextPath {
public:
    virtual ~TContextPath() = default;
};

// Angles are degrees, 0 along +x, positive clockwise on screen.
class TAdvGraphicsContext {
public:
    // The canvas is the owner's; both stay the caller's.
    TAdvGraphicsContext(TAdvGraphics* graphics, ClassLib::TCanvas* canvas) : FGraphics(graphics), FCanvas(canvas) {}
    virtual ~TAdvGraphicsContext() = default;
    TAdvGraphicsContext(const TAdvGraphicsContext&) = delete;
    TAdvGraphicsContext& operator=(const TAdvGraphicsContext&) = delete;

    TAdvGraphics* Graphics() const { return FGraphics; }
    ClassLib::TCanvas* Canvas() const { return FCanvas; }
    // The canvas, or the GDI+ graphics object.
    virtual void* NativeCanvas() const = 0;

    // Replays a path into a back-end path, curves flattened as TAdvGraphicsPath::Flatten
    // does; null where the back end draws into the device context's path bracket.
    std::unique_ptr<TContextPath> ConvertToPath(const TAdvGraphicsPath& path, float flatness);

    virtual std::unique_ptr<TContextPath> CreatePath() = 0;
    virtual TColor GetFillColor() = 0;
    virtual TRectF CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) = 0;
    virtual TRectF SetTextAngle(const TRectF& rect, float angle) = 0;
    virtual TAdvGraphicsMatrix GetMatrix() = 0;
    virtual void Render() = 0;
    virtual void PathOpen(TContextPath* path) = 0;
    virtual void PathMoveTo(TContextPath* path, const TPointF& point) = 0;
    virtual void PathLineTo(TContextPath* path, const TPointF& point) = 0;
    virtual void SetScale(float scale) = 0;
    virtual void PathClose(TContextPath* path) = 0;
    virtual void ResetClip() = 0;
    virtual void ResetTransform() = 0;
    virtual void ScaleTransform(float x, float y) = 0;
    virtual void RotateTransform(float angle) = 0;
    virtual void TranslateTransform(float x, float y) = 0;
    virtual void SetTextQuality(TAdvGraphicsTextQuality textQuality) = 0;
    virtual void SetAntiAliasing(bool antiAliasing) = 0;
    virtual void SetShowAcceleratorChar(bool showAcceleratorChar) = 0;
    virtual void SetSize(float width, float height) = 0;
    virtual void ResetTextAngle(float angle) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void BeginPrinting() = 0;
    virtual void EndPrinting() = 0;
    virtual void StartSpecialPen() = 0;
    virtual void StopSpecialPen() = 0;
    virtual void RestoreState(TAdvGraphicsSaveState* state) = 0;
    virtual void SaveState(TAdvGraphicsSaveState* state) = 0;
    virtual void SetFontSize(int size) = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual void SetFontName(const std::wstring& name) = 0;
    virtual void SetFont(const TAdvGraphicsFont* font) = 0;
    virtual void SetFontStyles(ClassLib::TFontStyles style) = 0;
    virtual void SetMatrix(const TAdvGraphicsMatrix& matrix) = 0;
    virtual void SetFill(const TAdvGraphicsFill* fill) = 0;
    virtual void SetFillKind(TAdvGraphicsFillKind kind) = 0;
    virtual void SetFillColor(TColor color) = 0;
    virtual void SetStroke(const TAdvGraphicsStroke* stroke) = 0;
    virtual void SetStrokeKind(TAdvGraphicsStrokeKind kind) = 0;
    virtual void SetStrokeColor(TColor color) = 0;
    virtual void SetStrokeWidth(float width) = 0;
    virtual void DrawLine(const TAdvGraphicsStroke* stroke, const TPointF& fromPoint, const TPointF& toPoint,
                          TAdvGraphicsModifyPointMode modifyPointModeFrom = gcpmNone,
                          TAdvGraphicsModifyPointMode modifyPointModeTo = gcpmNone) = 0;
    virtual void DrawPolygon(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPathPolygon& polygon) = 0;
    virtual void FillPolygon(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polygon) = 0;
    virtual void DrawPolyline(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPathPolygon& polyline) = 0;
    virtual void FillPolyline(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polyline) = 0;
    virtual void FillArc(const TAdvGraphicsFill* fill, const TPointF& center, const TPointF& radius, float startAngle,
                         float sweepAngle) = 0;
    virtual void DrawArc(const TAdvGraphicsStroke* stroke, const TPointF& center, const TPointF& radius,
                         float startAngle, float sweepAngle) = 0;
    virtual void FillRect(const TAdvGraphicsFill* fill, const TRectF& rect,
                          TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void DrawRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, TAdvGraphicsSides sides = AllSides,
                          TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void FillRoundRect(const TAdvGraphicsFill* fill, const TRectF& rect, float rounding,
                               TAdvGraphicsCorners corners = AllCorners,
                               TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void DrawRoundRect(const TAdvGraphicsStroke* stroke, const TRectF& rect, float rounding,
                               TAdvGraphicsCorners corners = AllCorners,
                               TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void FillEllipse(const TAdvGraphicsFill* fill, const TRectF& rect,
                             TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void DrawEllipse(const TAdvGraphicsStroke* stroke, const TRectF& rect,
                             TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void DrawBitmap(ClassLib::TGraphic* bitmap, const TRectF& srcRect, const TRectF& dstRect,
                            float opacity) = 0;
    virtual void ClipRect(const TRectF& rect) = 0;
    virtual void ClipPath(const TAdvGraphicsPath* path) = 0;
    virtual void DrawFocusPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path, TColor color) = 0;
    virtual void DrawFocusRectangle(const TAdvGraphicsStroke* stroke, const TRectF& rect, TColor color,
                                    TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone) = 0;
    virtual void DrawText(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle) = 0;
    virtual void DrawPath(const TAdvGraphicsStroke* stroke, const TAdvGraphicsPath* path,
                          TAdvGraphicsPathDrawMode pathMode = pdmPath) = 0;
    virtual void FillPath(const TAdvGraphicsFill* fill, const TAdvGraphicsPath* path,
                          TAdvGraphicsPathDrawMode pathMode = pdmPath) = 0;
private:
    TAdvGraphics* FGraphics;
    ClassLib::TCanvas* FCanvas;
};

// Rounds half to even, as the canvas context hands float coordinates to GDI.
int RoundToPixel(float value);

}  // namespace AdvGraphics
