#pragma once
// The vector drawing layer's back-end interface: every drawing call of TAdvGraphics ends
// in these primitive operations, painted by the canvas or by GDI+.
#include <cstddef>
#include <memory>
#include <string>

#include "classlib/GdiObjects.h"
#include "classlib/Geometry.h"
#include "graphics/AdvGraphicsTypes.h"

namespace ClassLib {
class TBitmap;
class TCanvas;
class TCustomImageList;
class TGraphic;
class TPicture;
}
namespace PictureContainer {
class TPictureContainer;
}
namespace AdvTypes {
class TAdvBitmap;
class TAdvScaledBitmaps;
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
using AdvGraphicsTypes::gcrmNone; using AdvGraphicsTypes::pdmPath; using AdvGraphicsTypes::gtaLeading;
using AdvGraphicsTypes::gtaCenter; using AdvGraphicsTypes::gttNone;

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
    // does; null where the back end draws into the device context's path bracket. With
    // `cull`, a curve whose control points all lie beyond one edge of it becomes a line to
    // its end: curve and line lie outside alike, and a huge curve far off the device is
    // not flattened into thousands of points.
    std::unique_ptr<TContextPath> ConvertToPath(const TAdvGraphicsPath& path, float flatness,
                                                const TRectF* cull = nullptr);

    virtual std::unique_ptr<TContextPath> CreatePath() = 0;
    virtual TColor GetFillColor() = 0;
    virtual TRectF CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping) = 0;
    virtual TRectF SetTextAngle(const TRectF& rect, float angle) = 0;
    virtual TAdvGraphicsMatrix GetMatrix() = 0;
    virtual void Render() = 0;
    virtual void PathOpen(TContextPath* path) = 0;
    virtual void PathMoveTo(TContextPath* path, const TPointF& point) = 0;
    virtual void PathLineTo(TContextPath* path, const TPointF& point) = 0;
    // Lines through the points in turn, as PathLineTo for each; a back end may take them at once.
    virtual void PathLinesTo(TContextPath* path, const TPointF* points, std::size_t count);
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
    AdvGraphicsTypes::TAdvGraphicsPathPolygon FLines;   // ConvertToPath's points of one run of lines, reused
};

// Rounds half to even, as the canvas context hands float coordinates to GDI.
int RoundToPixel(float value);

// The colours of the small UI elements; all 0 until SetDefaultGraphicColors.
struct TDefaultGraphicColors {
    TColor GlyphColor = 0;
    TColor BorderColor = 0;
    TColor FillColor = 0;
    TColor BorderColorFocused = 0;
    TColor FillColorFocused = 0;
    TColor BorderColorDisabled = 0;
    TColor FillColorDisabled = 0;
    friend bool operator==(const TDefaultGraphicColors&, const TDefaultGraphicColors&) = default;
};
TDefaultGraphicColors& DefaultGraphicColors();

// The drawing object controls paint with: one fill, stroke and font pushed into one
// context (the canvas's, or GDI+ when native). Fill comes before stroke in every shape.
class TAdvGraphics {
public:
    TAdvGraphics(ClassLib::TCanvas* canvas, bool native = false);
    static std::unique_ptr<TAdvGraphics> CreateNative(ClassLib::TCanvas* canvas);
    // Draws on a bitmap of its own, read through Bitmap() after EndScene.
    static std::unique_ptr<TAdvGraphics> CreateBitmapCanvas(int width, int height, bool native = false,
                                                            bool highDPI = false);
    static std::unique_ptr<TAdvGraphics> CreateNativeBitmapCanvas(int width, int height);
    ~TAdvGraphics();
    TAdvGraphics(const TAdvGraphics&) = delete;
    TAdvGraphics& operator=(const TAdvGraphics&) = delete;

    ClassLib::TCanvas* Canvas() const { return FActiveCanvas; }
    ClassLib::TBitmap* Bitmap() const { return FBitmap.get(); }
    bool Native() const { return FNative; }
    TAdvGraphicsContext* Context() const { return FContext.get(); }
    // Change their properties; every change reaches the context once.
    TAdvGraphicsFill* Fill() const { return FFill.get(); }
    TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
    TAdvGraphicsFont* Font() const { return FFont.get(); }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value) { FHighlightColor = value; }
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor value) { FHighlightTextColor = value; }
    ClassLib::TFontStyles HighlightFontStyle() const { return FHighlightFontStyles; }
    void SetHighlightFontStyle(ClassLib::TFontStyles value) { FHighlightFontStyles = value; }
    bool OptimizedHTMLDrawing() const { return FOptimizedHTMLDrawing; }
    void SetOptimizedHTMLDrawing(bool value) { FOptimizedHTMLDrawing = value; }
    bool URLUnderline() const { return FURLUnderline; }
    void SetURLUnderline(bool value) { FURLUnderline = value; }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value) { FURLColor = value; }
    PictureContainer::TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(PictureContainer::TPictureContainer* value) { FPictureContainer = value; }
    ClassLib::TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(ClassLib::TCustomImageList* value) { FImageList = value; }

    // Copies fill, stroke and font of another drawing object.
    void Assign(const TAdvGraphics* source);
    void SetFill(const TAdvGraphicsFill* fill);
    void SetStroke(const TAdvGraphicsStroke* stroke);
    void SetFont(const TAdvGraphicsFont* font);
    void SetFillKind(TAdvGraphicsFillKind kind);
    void SetFillColor(TColor color);
    void SetStrokeKind(TAdvGraphicsStrokeKind kind);
    void SetStrokeColor(TColor color);
    void SetStrokeWidth(float width);
    void SetFontColor(TColor color);
    void SetFontName(const std::wstring& name);
    void SetFontSize(int size);
    void SetFontStyles(ClassLib::TFontStyles styles);

    void BeginScene() { FContext->BeginScene(); }
    void EndScene() { FContext->EndScene(); }
    void BeginPrinting() { FContext->BeginPrinting(); }
    void EndPrinting() { FContext->EndPrinting(); }
    TAdvGraphicsMatrix GetMatrix() { return FContext->GetMatrix(); }
    void SetMatrix(const TAdvGraphicsMatrix& matrix) { FContext->SetMatrix(matrix); }
    void ClipRect(const TRectF& rect);
    void ClipRect(const ClassLib::TRect& rect);
    // The caller owns the state and hands it back to RestoreState, which frees it.
    std::unique_ptr<TAdvGraphicsSaveState> SaveState(bool canvasOnly = false);
    void RestoreState(std::unique_ptr<TAdvGraphicsSaveState> state, bool canvasOnly = false);

    void DrawLine(const TPointF& fromPoint, const TPointF& toPoint,
                  TAdvGraphicsModifyPointMode modifyPointModeFrom = gcpmNone,
                  TAdvGraphicsModifyPointMode modifyPointModeTo = gcpmNone);
    void DrawLine(const ClassLib::TPoint& fromPoint, const ClassLib::TPoint& toPoint);
    void DrawPolygon(const TAdvGraphicsPathPolygon& polygon);
    void DrawPolyline(const TAdvGraphicsPathPolygon& polyline);
    void DrawPath(const TAdvGraphicsPath* path, TAdvGraphicsPathDrawMode pathMode = pdmPath);
    void DrawArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle);
    void DrawArc(const ClassLib::TPoint& center, const ClassLib::TPoint& radius, int startAngle, int sweepAngle);
    void DrawRectangle(const TRectF& rect, TAdvGraphicsSides sides = AllSides,
                       TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone);
    void DrawRectangle(double left, double top, double right, double bottom, TAdvGraphicsSides sides = AllSides);
    void DrawRectangle(const ClassLib::TRect& rect, TAdvGraphicsSides sides = AllSides);
    void DrawRoundRectangle(const TRectF& rect, float rounding = 10, TAdvGraphicsCorners corners = AllCorners,
                            TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone);
    void DrawRoundRectangle(const ClassLib::TRect& rect, int rounding = 10, TAdvGraphicsCorners corners = AllCorners);
    void DrawEllipse(const TRectF& rect, TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone);
    void DrawEllipse(const ClassLib::TRect& rect);
    void DrawFocusRectangle(const TRectF& rect, TColor color = ClassLib::clBlack,
                            TAdvGraphicsModifyRectMode modifyRectMode = gcrmNone);
    void DrawFocusRectangle(const ClassLib::TRect& rect, TColor color = ClassLib::clBlack);
    void DrawFocusPath(const TAdvGraphicsPath* path, TColor color = ClassLib::clBlack);
    // The whole graphic into the rectangle; nothing for an empty one.
    void DrawBitmap(const TRectF& rect, ClassLib::TGraphic* bitmap);
    // Plain text in the font's colour.
    void DrawText(const TRectF& rect, const std::wstring& text, bool wordWrapping = false,
                  TAdvGraphicsTextAlign horizontalAlign = gtaLeading, TAdvGraphicsTextAlign verticalAlign = gtaCenter,
                  TAdvGraphicsTextTrimming trimming = gttNone, float angle = 0);
    // The progress bar: a bordered track filled to value / maximum (0 % when the
    // maximum is 0 or less), with the percentage as text when `showText`.
    // `format` takes the percentage as its one floating-point argument.
    void DrawProgressBar(const TRectF& rect, float value, const std::wstring& format = L"%.0f%%",
                         float maximum = 100, TColor color = ClassLib::clHighlight,
                         TColor textColor = ClassLib::clBlack, bool showText = true, bool enabled = true);

    // The progress bar's text: the percentage of value (kept within 0 and the maximum)
    // put into `format`; 0 when the maximum is 0 or less.
    static std::wstring ProgressText(const std::wstring& format, float value, float maximum);

    // ---- Pictures and small UI elements (AdvGraphicsBitmaps.cpp, AdvGraphicsElements.cpp)
    // The size a picture of the original size takes in a box of the new size; the flags
    // keep the aspect ratio, stretch to the box, centre in it, or crop (centred).
    static void GetAspectSize(float& width, float& height, float originalWidth, float originalHeight,
                              float newWidth, float newHeight, bool aspectRatio, bool stretch, bool cropping);
    // Where the picture lands in the box; the zero rectangle for no picture. The integer
    // forms round the result.
    static TRectF GetBitmapDrawRectangle(const TRectF& rect, const ClassLib::TPicture* bitmap, bool aspectRatio,
                                         bool stretch, bool center, bool cropping);
    static TRectF GetBitmapDrawRectangle(double left, double top, double right, double bottom,
                                         const ClassLib::TPicture* bitmap, bool aspectRatio, bool stretch,
                                         bool center, bool cropping);
    static ClassLib::TRect GetBitmapDrawRectangle(const ClassLib::TRect& rect, const ClassLib::TPicture* bitmap,
                                                  bool aspectRatio, bool stretch, bool center, bool cropping);
    static ClassLib::TRect GetBitmapDrawRectangle(int left, int top, int right, int bottom,
                                                  const ClassLib::TPicture* bitmap, bool aspectRatio, bool stretch,
                                                  bool center, bool cropping);

    // Nothing for no picture or an empty one; SVG pictures are drawn by their importer.
    void DrawBitmap(const TRectF& rect, const ClassLib::TPicture* bitmap, bool aspectRatio = true,
                    bool stretch = false, bool center = true, bool cropping = false);
    void DrawBitmap(double left, double top, double right, double bottom, const ClassLib::TPicture* bitmap,
                    bool aspectRatio = true, bool stretch = false, bool center = true, bool cropping = false);
    void DrawBitmap(const ClassLib::TRect& rect, const ClassLib::TPicture* bitmap, bool aspectRatio = true,
                    bool stretch = false, bool center = true, bool cropping = false);
    void DrawBitmap(int left, int top, int right, int bottom, const ClassLib::TPicture* bitmap,
                    bool aspectRatio = true, bool stretch = false, bool center = true, bool cropping = false);
    // At natural size with its top-left at the point.
    void DrawBitmap(int left, int top, const ClassLib::TPicture* bitmap);
    void DrawBitmap(float left, float top, const ClassLib::TPicture* bitmap);
    // The source part of the picture into the destination; nothing when either is empty.
    void DrawBitmapPart(const TRectF& source, const TRectF& destination, const ClassLib::TPicture* bitmap,
                        bool aspectRatio = true, bool stretch = false, bool center = true, bool cropping = false);
    void DrawBitmapPart(double sourceLeft, double sourceTop, double sourceRight, double sourceBottom,
                        double destLeft, double destTop, double destRight, double destBottom,
                        const ClassLib::TPicture* bitmap, bool aspectRatio = true, bool stretch = false,
                        bool center = true, bool cropping = false);
    void DrawBitmapPart(const ClassLib::TRect& source, const ClassLib::TRect& destination,
                        const ClassLib::TPicture* bitmap, bool aspectRatio = true, bool stretch = false,
                        bool center = true, bool cropping = false);
    void DrawBitmapPart(int sourceLeft, int sourceTop, int sourceRight, int sourceBottom, int destLeft, int destTop,
                        int destRight, int destBottom, const ClassLib::TPicture* bitmap, bool aspectRatio = true,
                        bool stretch = false, bool center = true, bool cropping = false);
    // The cut-out itself; null for an empty rectangle, no picture or an SVG picture.
    std::unique_ptr<AdvTypes::TAdvBitmap> DrawBitmapPartSync(const TRectF& source, const TRectF& destination,
                                                             const ClassLib::TPicture* bitmap);
    std::unique_ptr<AdvTypes::TAdvBitmap> DrawBitmapPartSync(const ClassLib::TRect& source,
                                                             const ClassLib::TRect& destination,
                                                             const ClassLib::TPicture* bitmap);
    // The container's picture (its own, valid until its next lookup): with applyScale the
    // name with "_" and the scale (the screen's when 0 or less) first, then the plain name.
    static ClassLib::TPicture* GetBitmapFromPictureContainer(PictureContainer::TPictureContainer* container,
                                                             const std::wstring& name, bool applyScale = false,
                                                             float scale = 0);
    // The picture for the scale: the item's own, else the container's by the item's name.
    static ClassLib::TPicture* GetScaledBitmap(const AdvTypes::TAdvScaledBitmaps* bitmaps, float scale = 0,
                                               PictureContainer::TPictureContainer* container = nullptr);
    void DrawBitmapWithName(const TRectF& rect, const std::wstring& bitmapName, bool applyScale = false,
                            float scale = 0, bool aspectRatio = true, bool stretch = false, bool center = true,
                            bool cropping = false);
    void DrawBitmapWithName(const ClassLib::TRect& rect, const std::wstring& bitmapName, bool applyScale = false,
                            float scale = 0, bool aspectRatio = true, bool stretch = false, bool center = true,
                            bool cropping = false);
    void DrawScaledBitmap(const TRectF& rect, const AdvTypes::TAdvScaledBitmaps* bitmaps, float scale = 0,
                          bool aspectRatio = true, bool stretch = false, bool center = true, bool cropping = false);
    void DrawScaledBitmap(const ClassLib::TRect& rect, const AdvTypes::TAdvScaledBitmaps* bitmaps, float scale = 0,
                          bool aspectRatio = true, bool stretch = false, bool center = true, bool cropping = false);

    // The UI elements paint with the object's own fill and stroke and leave them changed.
    void DrawButton(const TRectF& rect, bool down = false, bool focused = false, bool enabled = true,
                    bool adaptToStyle = false, float scaleFactor = 1);
    void DrawButton(const ClassLib::TRect& rect, bool down = false, bool focused = false, bool enabled = true,
                    bool adaptToStyle = false, float scaleFactor = 1);
    void DrawCloseButton(const TRectF& rect, bool down = false, bool focused = false, bool enabled = true,
                         bool adaptToStyle = false, float scaleFactor = 1);
    void DrawCloseButton(const ClassLib::TRect& rect, bool down = false, bool focused = false, bool enabled = true,
                         bool adaptToStyle = false, float scaleFactor = 1);
    void DrawExpanderButton(const TRectF& rect, AdvGraphicsTypes::TAdvGraphicsExpanderState state, bool down = false,
                            bool focused = false, bool enabled = true, bool adaptToStyle = false,
                            float scaleFactor = 1);
    void DrawExpanderButton(const ClassLib::TRect& rect, AdvGraphicsTypes::TAdvGraphicsExpanderState state,
                            bool down = false, bool focused = false, bool enabled = true, bool adaptToStyle = false,
                            float scaleFactor = 1);
    void DrawCompactButton(const TRectF& rect, AdvGraphicsTypes::TAdvGraphicsCompactState state, bool down = false,
                           bool focused = false, bool enabled = true, bool adaptToStyle = false,
                           float scaleFactor = 1);
    void DrawCompactButton(const ClassLib::TRect& rect, AdvGraphicsTypes::TAdvGraphicsCompactState state,
                           bool down = false, bool focused = false, bool enabled = true, bool adaptToStyle = false,
                           float scaleFactor = 1);
    void DrawDropDownButton(const TRectF& rect, bool down = false, bool focused = false, bool enabled = true,
                            bool center = false, bool adaptToStyle = false, float scaleFactor = 1);
    void DrawDropDownButton(const ClassLib::TRect& rect, bool down = false, bool focused = false, bool enabled = true,
                            bool center = false, bool adaptToStyle = false, float scaleFactor = 1);
    void DrawCheckBox(const TRectF& rect, bool checked = false, bool focused = false, bool enabled = true,
                      float scaleFactor = 1);
    void DrawCheckBox(const ClassLib::TRect& rect, bool checked = false, bool focused = false, bool enabled = true,
                      float scaleFactor = 1);
    void DrawRadioButton(const TRectF& rect, bool checked = false, bool focused = false, bool enabled = true,
                         float scaleFactor = 1);
    void DrawRadioButton(const ClassLib::TRect& rect, bool checked = false, bool focused = false,
                         bool enabled = true, float scaleFactor = 1);
    void DrawProgressBar(const ClassLib::TRect& rect, float value, const std::wstring& format = L"%.0f%%",
                         float maximum = 100, TColor color = ClassLib::clHighlight,
                         TColor textColor = ClassLib::clBlack, bool showText = true, bool enabled = true);
    // ---- end of pictures and small UI elements

    static bool PointInRect(const TPointF& point, const TRectF& rect);
    // False for a radius of 0 or less.
    static bool PointInCircle(const TPointF& point, const TPointF& center, float radius);
    static bool PointInPath(const TPointF& point, const TAdvGraphicsPath& path);
    static bool PointInPolygon(const TPointF& point, const TAdvGraphicsPathPolygon& polygon);
    static int GetColorRed(TColor color);
    static int GetColorGreen(TColor color);
    static int GetColorBlue(TColor color);
    // "#RRGGBB".
    static std::wstring ColorToHTML(TColor color);
    // "#RGB" or "#RRGGBB" (the first character is not checked); -1 for an empty text;
    // EConvertError for digits that are no hexadecimal number.
    static TColor HTMLToColor(const std::wstring& html);
    // A colour word, with or without a "cl" or "gc" in front; 0 when unknown.
    static TColor TextToColor(const std::wstring& text);
    static void SetDefaultGraphicColors();

    // ---- text with or without mini-HTML markup (AdvGraphicsText.cpp)
    // The rectangle the text takes when laid out from the rectangle's top-left.
    TRectF CalculateHTMLText(const std::wstring& text, const TRectF& rect, bool wordWrapping = false,
                             bool supportHTML = true);
    // As CalculateHTMLText; with OptimizedHTMLDrawing, markup is measured break by break.
    TRectF CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping, bool supportHTML);
    TRectF CalculateText(const std::wstring& text);
    float CalculateTextWidth(const std::wstring& text);
    float CalculateTextHeight(const std::wstring& text);
    // Width and height as x and y.
    TPointF CalculateTextSize(const std::wstring& text);
    TPointF CalculateTextSize(const std::wstring& text, const TRectF& rect, bool wordWrapping, bool supportHTML);
    float CalculateTextWidth(const std::wstring& text, const TRectF& rect, bool wordWrapping, bool supportHTML);
    float CalculateTextHeight(const std::wstring& text, const TRectF& rect, bool wordWrapping, bool supportHTML);
    // The same in whole pixels, rounded.
    ClassLib::TRect CalculateText(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                                  bool supportHTML);
    ClassLib::TSize CalculateTextSize(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                                      bool supportHTML);
    int CalculateTextWidth(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping, bool supportHTML);
    int CalculateTextHeight(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                            bool supportHTML);
    ClassLib::TRect CalculateTextInt(const std::wstring& text);
    ClassLib::TSize CalculateTextSizeInt(const std::wstring& text);
    int CalculateTextWidthInt(const std::wstring& text);
    int CalculateTextHeightInt(const std::wstring& text);
    // Paints the text (unless testAnchor) and returns the href under (x, y), empty when
    // none; the control strings receive the inline control there.
    std::wstring DrawHTMLText(const TRectF& rect, const std::wstring& text, std::wstring& controlID,
                              std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                              TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                              TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                              bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    // As DrawHTMLText; with OptimizedHTMLDrawing, markup is drawn break by break and no
    // anchor is reported.
    std::wstring DrawText(const TRectF& rect, const std::wstring& text, std::wstring& controlID,
                          std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                          bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    std::wstring DrawText(const TRectF& rect, const std::wstring& text, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                          bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    // From a point: not wrapped, leading both ways, no minimum size.
    std::wstring DrawText(const TPointF& point, const std::wstring& text, float angle = 0, bool supportHTML = true,
                          bool testAnchor = false, float x = -1, float y = -1);
    // The rectangle forms of the two above.
    std::wstring DrawText(const ClassLib::TRect& rect, const std::wstring& text, std::wstring& controlID,
                          std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                          bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    std::wstring DrawText(const ClassLib::TRect& rect, const std::wstring& text, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                          bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    std::wstring DrawText(double left, double top, double right, double bottom, const std::wstring& text,
                          std::wstring& controlID, std::wstring& controlValue, std::wstring& controlType,
                          bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                          TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming, float angle,
                          float minWidth, float minHeight, bool supportHTML, bool testAnchor = false, float x = -1,
                          float y = -1);
    std::wstring DrawText(double left, double top, double right, double bottom, const std::wstring& text,
                          bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                          TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming, float angle,
                          float minWidth, float minHeight, bool supportHTML, bool testAnchor = false, float x = -1,
                          float y = -1);
    std::wstring DrawText(int left, int top, int right, int bottom, const std::wstring& text,
                          std::wstring& controlID, std::wstring& controlValue, std::wstring& controlType,
                          bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                          TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming, float angle,
                          float minWidth, float minHeight, bool supportHTML, bool testAnchor = false, float x = -1,
                          float y = -1);
    std::wstring DrawText(int left, int top, int right, int bottom, const std::wstring& text, bool wordWrapping,
                          TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                          TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                          bool supportHTML, bool testAnchor = false, float x = -1, float y = -1);
    static std::wstring ApplyHilight(const std::wstring& text, const std::wstring& hilight, const std::wstring& tag,
                                     bool doCase);
    // ---- end of text
private:
    TAdvGraphics(ClassLib::TCanvas* canvas, bool native, std::unique_ptr<ClassLib::TBitmap> bitmap, float width,
                 float height);
    // Runs `apply` on the context and on the own settings once; the change notices the
    // own settings send back are swallowed.
    template <class F>
    void Guarded(F apply);
    bool FillVisible() const;
    bool StrokeVisible() const;
    // Draws an SVG picture through its importer; false when it holds none.
    bool DrawSVG(const ClassLib::TPicture* bitmap, const TRectF& rect);
    // A small glyph from lines on white (transparent), or the named resource picture.
    void DrawLineGlyph(const TRectF& rect, float size, float penWidth, const float (*lines)[4], int count,
                       float scale);
    void DrawResourceGlyph(const TRectF& rect, const wchar_t* name);
    // The frame of a check box (or, `round`, a radio button) in its state's colours; returns
    // the rectangle for the mark inside.
    TRectF DrawCheckFrame(const TRectF& rect, bool focused, bool enabled, bool round);
    // A button with a glyph: two lines drawn in the glyph colour when adapting to the style,
    // else the named picture inset by `resourceInset` (scaled).
    void DrawGlyphButton(const TRectF& rect, bool down, bool focused, bool enabled, bool adaptToStyle,
                         float scaleFactor, const float (*lines)[4], const wchar_t* resourceName,
                         float resourceInset);
    // Paints the fill's texture into the rectangle with the fill's texture mode.
    void DrawTexture(const TRectF& rect);

    // ---- the guard on the geometry shapes receive: a shape with a coordinate, size or
    // stroke width that is no number draws nothing; one reaching beyond the drawing range
    // (MaxDrawingCoordinate device units) is cut to it, for both contexts alike.
    // True when nothing may be drawn: a value is no number.
    bool Unusable(bool finiteGeometry) const;
    // True when the shape with these bounds goes to the context as it is; otherwise `area`
    // receives the drawing range in the coordinates the shape is given in.
    bool FitsDrawingRange(const TRectF& bounds, TRectF& area);
    // A shape beyond the drawing range, as a path cut to `area`.
    void DrawCutPath(const TAdvGraphicsPath& shape, const TRectF& area, bool closed);

    ClassLib::TCanvas* FActiveCanvas;
    int FBlockUpdate = 0;
    bool FNative;
    std::unique_ptr<ClassLib::TBitmap> FBitmap;  // only with the bitmap-canvas creators
    std::unique_ptr<TAdvGraphicsContext> FContext;
    std::unique_ptr<TAdvGraphicsFill> FFill;
    std::unique_ptr<TAdvGraphicsStroke> FStroke;
    std::unique_ptr<TAdvGraphicsFont> FFont;
    TColor FHighlightColor = ClassLib::clBlue;
    bool FOptimizedHTMLDrawing = false;
    TColor FHighlightTextColor = ClassLib::clWhite;
    ClassLib::TFontStyles FHighlightFontStyles;
    bool FURLUnderline = true;
    TColor FURLColor = ClassLib::clBlue;
    PictureContainer::TPictureContainer* FPictureContainer = nullptr;  // not owned
    ClassLib::TCustomImageList* FImageList = nullptr;                   // not owned
};

}  // namespace AdvGraphics
