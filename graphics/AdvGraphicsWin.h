#pragma once
// The GDI+ back end of TAdvGraphics: float coordinates, opacity, real gradient brushes,
// transforms, clipping and anti-aliasing, drawn with its own pen, brush and font built
// from copies of the owner's stroke, fill and font.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/AdvGraphics.h"

namespace AdvGDIPlusClasses {
class TGPGraphics; class TGPPen; class TGPBrush; class TGPFont; class TGPMatrix; class TGPGraphicsPath; class TGPBitmap;
}

namespace AdvGraphics::Win {

using TARGB = std::uint32_t;

// Alpha from the opacity, colour resolved from system colours; -1 gives transparent black.
TARGB MakeARGB(TColor color, float opacity);

struct TGradientStop {
    TARGB Color;
    float Position;
    friend bool operator==(const TGradientStop&, const TGradientStop&) = default;
};
// The stops of a linear gradient fill, in order along the gradient.
std::vector<TGradientStop> GradientStops(const TAdvGraphicsFill& fill);
// A path gradient runs from the boundary to the centre: the stops reversed and mirrored.
std::vector<TGradientStop> RadialStops(const std::vector<TGradientStop>& stops);

class TAdvGraphicsContextWin : public TAdvGraphicsContext {
public:
    TAdvGraphicsContextWin(TAdvGraphics* graphics, ClassLib::TCanvas* canvas);
    ~TAdvGraphicsContextWin() override;

    // The GDI+ graphics; null before SetSize and after Render.
    void* NativeCanvas() const override;
    // From here to Render the drawing goes into a bitmap over what shows of the device
    // context, which Render puts on it pixel for pixel; coordinates, transforms and clips
    // stay the device's. Wine: GDI+ fills a shape on a device context four times slower,
    // and strokes it fifty times slower, than into a bitmap. False (drawing goes on to the
    // device context) for a printer or metafile, or an area too large to be worth it.
    bool DrawOffscreen();
    std::unique_ptr<TContextPath> CreatePath() override;
    TColor GetFillColor() override { return FFill->Color(); }
    TRectF CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) override;
    TRectF SetTextAngle(const TRectF& rect, float angle) override;
    TAdvGraphicsMatrix GetMatrix() override;
    // Once: the drawing reaches the device context and the GDI+ graphics go.
    void Render() override;
    void PathOpen(TContextPath* path) override;
    void PathMoveTo(TContextPath* path, const TPointF& point) override;
    void PathLineTo(TContextPath* path, const TPointF& point) override;
    // One call for the whole run, with the same points as a line per point would add.
    void PathLinesTo(TContextPath* path, const TPointF* points, std::size_t count) override;
    void SetScale(float scale) override { FScale = scale; }
    void PathClose(TContextPath* path) override;
    void ResetClip() override;
    // Back to the base state; quality settings survive.
    void ResetTransform() override;
    void ScaleTransform(float x, float y) override;
    void RotateTransform(float angle) override;
    void TranslateTransform(float x, float y) override;
    void SetTextQuality(TAdvGraphicsTextQuality textQuality) override;
    void SetAntiAliasing(bool antiAliasing) override;
    void SetShowAcceleratorChar(bool showAcceleratorChar) override { FShowAcceleratorChar = showAcceleratorChar; }
    // Makes the GDI+ graphics on the canvas's device context.
    void SetSize(float width, float height) override;
    void ResetTextAngle(float angle) override;
    void BeginScene() override {}
    void EndScene() override;
    void BeginPrinting() override {}
    void EndPrinting() override {}
    void StartSpecialPen() override {}
    void StopSpecialPen() override {}
    void RestoreState(TAdvGraphicsSaveState* state) override;
    void SaveState(TAdvGraphicsSaveState* state) override;
    void SetFontSize(int size) override;
    void SetFontColor(TColor color) override;
    void SetFontName(const std::wstring& name) override;
    void SetFont(const TAdvGraphicsFont* font) override;
    void SetFontStyles(ClassLib::TFontStyles style) override;
    void SetMatrix(const TAdvGraphicsMatrix& matrix) override;
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
    void FillPolyline(const TAdvGraphicsFill* fill, const TAdvGraphicsPathPolygon& polyline) override;
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
    // A transparent TBitmap keeps its transparent colour out (a colour key).
    void DrawBitmap(ClassLib::TGraphic* bitmap, const TRectF& srcRect, const TRectF& dstRect, float opacity) override;
    // Replaces the clip.
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
    void BuildPen();
    void BuildFont();
    // Fills a GDI+ path with a brush made from the fill copy for the path's bounds.
    void FillGPPath(AdvGDIPlusClasses::TGPGraphicsPath& path);
    // Draws with the pen, without anti-aliasing when the pen is dashed.
    template <class F>
    void WithPen(F draw);
    // Draws with a dotted one-pixel pen of the colour, without anti-aliasing.
    template <class F>
    void WithFocusPen(TColor color, F draw);
    void ReleaseGraphics();
    void SaveBaseState();

    bool FShowAcceleratorChar = false;
    std::unique_ptr<AdvGDIPlusClasses::TGPMatrix> FTextMatrix;  // transform saved by SetTextAngle
    unsigned FSaveGP = 0;                                       // the base state
    float FScale = 1;
    TPointF FMovePoint;
    // The device's area in drawing coordinates, grown by the margin; false when it cannot
    // be had. Curves wholly outside it, a stroke's width included, need no flattening.
    bool VisibleBounds(float margin, TRectF& bounds);
    std::unique_ptr<AdvGDIPlusClasses::TGPBitmap> FOffscreen;   // DrawOffscreen's, until Render
    ClassLib::TRect FOffscreenArea;                             // where it goes on the device context
    struct TPointBuffer;
    std::unique_ptr<TPointBuffer> FLinePoints;   // PathLinesTo's, reused
    bool FNeedsRendering = true;
    std::unique_ptr<TAdvGraphicsFont> FFont;
    std::unique_ptr<TAdvGraphicsFill> FFill;
    std::unique_ptr<TAdvGraphicsStroke> FStroke;
    // What FGPPen and FGPFont were made from.
    struct TPenKey {
        TARGB Color = 0;
        float Width = 0;
        AdvGraphicsTypes::TAdvGraphicsStrokeKind Kind = AdvGraphicsTypes::gskSolid;
        friend bool operator==(const TPenKey&, const TPenKey&) = default;
    };
    struct TFontKey {
        std::wstring Name;
        int Size = 0;
        int Style = 0;
        friend bool operator==(const TFontKey&, const TFontKey&) = default;
    };
    TPenKey FPenKey;
    TFontKey FFontKey;
    std::unique_ptr<AdvGDIPlusClasses::TGPFont> FGPFont;
    TPointF FContextSize;
    std::unique_ptr<AdvGDIPlusClasses::TGPPen> FGPPen;
    std::unique_ptr<AdvGDIPlusClasses::TGPGraphics> FGPGraphics;
};

}  // namespace AdvGraphics::Win
