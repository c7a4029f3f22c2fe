#pragma once
// Wrapper cores of paths and the graphics. Included by AdvGDIPCoreText.h only.
#include "graphics/AdvGDIPCoreText.h"

namespace AdvGDIPCore {

// ---------------------------------------------------------------------------------------
template <class R>
class TPathCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    explicit TPathCore(Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate) {
        this->lastResult = C::GdipCreatePath(fillMode, &nativePath);
    }
    TPathCore(const TGPPointF* points, const BYTE* types, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate) {
        this->lastResult = C::GdipCreatePath2(points, types, count, fillMode, &nativePath);
    }
    TPathCore(const TGPPoint* points, const BYTE* types, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate) {
        this->lastResult = C::GdipCreatePath2I(points, types, count, fillMode, &nativePath);
    }
    explicit TPathCore(const TPathCore* path) {
        this->lastResult = C::GdipClonePath(ADVGDIP_NATIVE(path, nativePath), &nativePath);
    }
    explicit TPathCore(Gdiplus::GpPath* native) : nativePath(native) {}
    ~TPathCore() { C::GdipDeletePath(nativePath); }
protected:
    typename R::TGPGraphicsPath* Clone() {
        Gdiplus::GpPath* clone = nullptr;
        this->Keep(C::GdipClonePath(nativePath, &clone));
        return new typename R::TGPGraphicsPath(clone);
    }
    TStatus Reset() { return this->Keep(C::GdipResetPath(nativePath)); }
    Gdiplus::FillMode GetFillMode() {
        Gdiplus::FillMode mode = Gdiplus::FillModeAlternate;
        this->Keep(C::GdipGetPathFillMode(nativePath, &mode));
        return mode;
    }
    TStatus SetFillMode(Gdiplus::FillMode fillMode) { return this->Keep(C::GdipSetPathFillMode(nativePath, fillMode)); }
    // pathData is the run-time family's holder: Count, Points, Types.
    template <class TPathData> TStatus GetPathData(TPathData* pathData) {
        if (!pathData) return this->Keep(Gdiplus::InvalidParameter);
        const int count = GetPointCount();
        if (count <= 0 || (pathData->Count > 0 && pathData->Count < count)) pathData->Clear();
        if (count <= 0) return this->lastResult;
        if (pathData->Count == 0 && !pathData->Allocate(count)) return this->Keep(Gdiplus::OutOfMemory);
        // GDI+'s path-data record: count, points, types.
        struct { INT Count; TGPPointF* Points; BYTE* Types; } data{pathData->Count, pathData->Points, pathData->Types};
        return this->Keep(C::GdipGetPathData(nativePath, reinterpret_cast<Gdiplus::GpPathData*>(&data)));
    }
    TStatus StartFigure() { return this->Keep(C::GdipStartPathFigure(nativePath)); }
    TStatus CloseFigure() { return this->Keep(C::GdipClosePathFigure(nativePath)); }
    TStatus CloseAllFigures() { return this->Keep(C::GdipClosePathFigures(nativePath)); }
    TStatus SetMarker() { return this->Keep(C::GdipSetPathMarker(nativePath)); }
    TStatus ClearMarkers() { return this->Keep(C::GdipClearPathMarkers(nativePath)); }
    TStatus Reverse() { return this->Keep(C::GdipReversePath(nativePath)); }
    TStatus GetLastPoint(TGPPointF& lastPoint) { return this->Keep(C::GdipGetPathLastPoint(nativePath, &lastPoint)); }
    TStatus AddLine(float x1, float y1, float x2, float y2) {
        return this->Keep(C::GdipAddPathLine(nativePath, x1, y1, x2, y2));
    }
    TStatus AddLine(const TGPPointF& pt1, const TGPPointF& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }
    TStatus AddLine(int x1, int y1, int x2, int y2) { return this->Keep(C::GdipAddPathLineI(nativePath, x1, y1, x2, y2)); }
    TStatus AddLine(const TGPPoint& pt1, const TGPPoint& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }
    TStatus AddLines(const TGPPointF* points, int count) { return this->Keep(C::GdipAddPathLine2(nativePath, points, count)); }
    TStatus AddLines(const TGPPoint* points, int count) { return this->Keep(C::GdipAddPathLine2I(nativePath, points, count)); }
    TStatus AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
    }
    TStatus AddArc(const TGPRectF& rect, float startAngle, float sweepAngle) {
        return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus AddArc(int x, int y, int width, int height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipAddPathArcI(nativePath, x, y, width, height, startAngle, sweepAngle));
    }
    TStatus AddArc(const TGPRect& rect, float startAngle, float sweepAngle) {
        return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
        return this->Keep(C::GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
    }
    TStatus AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4) {
        return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
    }
    TStatus AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return this->Keep(C::GdipAddPathBezierI(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
    }
    TStatus AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4) {
        return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
    }
    TStatus AddBeziers(const TGPPointF* points, int count) { return this->Keep(C::GdipAddPathBeziers(nativePath, points, count)); }
    TStatus AddBeziers(const TGPPoint* points, int count) { return this->Keep(C::GdipAddPathBeziersI(nativePath, points, count)); }
    TStatus AddCurve(const TGPPointF* points, int count) { return this->Keep(C::GdipAddPathCurve(nativePath, points, count)); }
    TStatus AddCurve(const TGPPoint* points, int count) { return this->Keep(C::GdipAddPathCurveI(nativePath, points, count)); }
    TStatus AddCurve(const TGPPointF* points, int count, float tension) {
        return this->Keep(C::GdipAddPathCurve2(nativePath, points, count, tension));
    }
    TStatus AddCurve(const TGPPoint* points, int count, float tension) {
        return this->Keep(C::GdipAddPathCurve2I(nativePath, points, count, tension));
    }
    TStatus AddCurve(const TGPPointF* points, int count, int offset, int numberOfSegments, float tension) {
        return this->Keep(C::GdipAddPathCurve3(nativePath, points, count, offset, numberOfSegments, tension));
    }
    TStatus AddCurve(const TGPPoint* points, int count, int offset, int numberOfSegments, float tension) {
        return this->Keep(C::GdipAddPathCurve3I(nativePath, points, count, offset, numberOfSegments, tension));
    }
    TStatus AddClosedCurve(const TGPPointF* points, int count) {
        return this->Keep(C::GdipAddPathClosedCurve(nativePath, points, count));
    }
    TStatus AddClosedCurve(const TGPPoint* points, int count) {
        return this->Keep(C::GdipAddPathClosedCurveI(nativePath, points, count));
    }
    TStatus AddClosedCurve(const TGPPointF* points, int count, float tension) {
        return this->Keep(C::GdipAddPathClosedCurve2(nativePath, points, count, tension));
    }
    TStatus AddClosedCurve(const TGPPoint* points, int count, float tension) {
        return this->Keep(C::GdipAddPathClosedCurve2I(nativePath, points, count, tension));
    }
    TStatus AddRectangle(const TGPRectF& rect) {
        return this->Keep(C::GdipAddPathRectangle(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
    }
    TStatus AddRectangle(const TGPRect& rect) {
        return this->Keep(C::GdipAddPathRectangleI(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
    }
    TStatus AddRectangles(const TGPRectF* rects, int count) {
        return this->Keep(C::GdipAddPathRectangles(nativePath, rects, count));
    }
    TStatus AddRectangles(const TGPRect* rects, int count) {
        return this->Keep(C::GdipAddPathRectanglesI(nativePath, rects, count));
    }
    TStatus AddEllipse(float x, float y, float width, float height) {
        return this->Keep(C::GdipAddPathEllipse(nativePath, x, y, width, height));
    }
    TStatus AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus AddEllipse(int x, int y, int width, int height) {
        return this->Keep(C::GdipAddPathEllipseI(nativePath, x, y, width, height));
    }
    TStatus AddEllipse(const TGPRect& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
    }
    TStatus AddPie(const TGPRectF& rect, float startAngle, float sweepAngle) {
        return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus AddPie(int x, int y, int width, int height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipAddPathPieI(nativePath, x, y, width, height, startAngle, sweepAngle));
    }
    TStatus AddPie(const TGPRect& rect, float startAngle, float sweepAngle) {
        return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus AddPolygon(const TGPPointF* points, int count) { return this->Keep(C::GdipAddPathPolygon(nativePath, points, count)); }
    TStatus AddPolygon(const TGPPoint* points, int count) { return this->Keep(C::GdipAddPathPolygonI(nativePath, points, count)); }
    TStatus AddPath(const TPathCore* addingPath, BOOL connect) {
        return this->Keep(C::GdipAddPathPath(nativePath, ADVGDIP_NATIVE(addingPath, nativePath), connect));
    }
    // The caller's length is passed on.
    TStatus AddString(const wchar_t* string_, int length, const TFontFamilyCore<R>* family, int style, float emSize,
                      const TGPRectF& layoutRect, const TStringFormatCore<R>* format) {
        return this->Keep(C::GdipAddPathString(nativePath, string_, length, ADVGDIP_NATIVE(family, nativeFamily), style,
                                               emSize, &layoutRect, ADVGDIP_NATIVE(format, nativeFormat)));
    }
    TStatus AddString(const wchar_t* string_, int length, const TFontFamilyCore<R>* family, int style, float emSize,
                      const TGPPointF& origin, const TStringFormatCore<R>* format) {
        return AddString(string_, length, family, style, emSize, TGPRectF(origin.X, origin.Y, 0, 0), format);
    }
    TStatus AddString(const wchar_t* string_, int length, const TFontFamilyCore<R>* family, int style, float emSize,
                      const TGPRect& layoutRect, const TStringFormatCore<R>* format) {
        return this->Keep(C::GdipAddPathStringI(nativePath, string_, length, ADVGDIP_NATIVE(family, nativeFamily), style,
                                                emSize, &layoutRect, ADVGDIP_NATIVE(format, nativeFormat)));
    }
    TStatus AddString(const wchar_t* string_, int length, const TFontFamilyCore<R>* family, int style, float emSize,
                      const TGPPoint& origin, const TStringFormatCore<R>* format) {
        return AddString(string_, length, family, style, emSize, TGPRect(origin.X, origin.Y, 0, 0), format);
    }
    TStatus Transform(const TMatrixCore<R>* matrix) {
        if (!matrix) return Gdiplus::Ok;
        return this->Keep(C::GdipTransformPath(nativePath, matrix->nativeMatrix));
    }
    TStatus GetBounds(TGPRectF& bounds, const TMatrixCore<R>* matrix = nullptr, const TPenCore<R>* pen = nullptr) {
        return this->Keep(C::GdipGetPathWorldBounds(nativePath, &bounds, ADVGDIP_NATIVE(matrix, nativeMatrix),
                                                    ADVGDIP_NATIVE(pen, nativePen)));
    }
    TStatus GetBounds(TGPRect& bounds, const TMatrixCore<R>* matrix = nullptr, const TPenCore<R>* pen = nullptr) {
        return this->Keep(C::GdipGetPathWorldBoundsI(nativePath, &bounds, ADVGDIP_NATIVE(matrix, nativeMatrix),
                                                     ADVGDIP_NATIVE(pen, nativePen)));
    }
    TStatus Flatten(const TMatrixCore<R>* matrix = nullptr, float flatness = 0.25f) {
        return this->Keep(C::GdipFlattenPath(nativePath, ADVGDIP_NATIVE(matrix, nativeMatrix), flatness));
    }
    TStatus Widen(const TPenCore<R>* pen, const TMatrixCore<R>* matrix = nullptr, float flatness = 0.25f) {
        return this->Keep(C::GdipWidenPath(nativePath, ADVGDIP_NATIVE(pen, nativePen), ADVGDIP_NATIVE(matrix, nativeMatrix),
                                           flatness));
    }
    TStatus Outline(const TMatrixCore<R>* matrix = nullptr, float flatness = 0.25f) {
        return this->Keep(C::GdipWindingModeOutline(nativePath, ADVGDIP_NATIVE(matrix, nativeMatrix), flatness));
    }
    TStatus Warp(const TGPPointF* destPoints, int count, const TGPRectF& srcRect, const TMatrixCore<R>* matrix = nullptr,
                 Gdiplus::WarpMode warpMode = Gdiplus::WarpModePerspective, float flatness = 0.25f) {
        return this->Keep(C::GdipWarpPath(nativePath, ADVGDIP_NATIVE(matrix, nativeMatrix), destPoints, count, srcRect.X,
                                          srcRect.Y, srcRect.Width, srcRect.Height, warpMode, flatness));
    }
    int GetPointCount() {
        INT count = 0;
        this->Keep(C::GdipGetPointCount(nativePath, &count));
        return count;
    }
    TStatus GetPathTypes(BYTE* types, int count) { return this->Keep(C::GdipGetPathTypes(nativePath, types, count)); }
    TStatus GetPathPoints(TGPPointF* points, int count) { return this->Keep(C::GdipGetPathPoints(nativePath, points, count)); }
    TStatus GetPathPoints(TGPPoint* points, int count) { return this->Keep(C::GdipGetPathPointsI(nativePath, points, count)); }
    BOOL IsVisible(float x, float y, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisiblePathPoint(nativePath, x, y, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(const TGPPointF& point, const TGraphicsCore<R>* g = nullptr) { return IsVisible(point.X, point.Y, g); }
    BOOL IsVisible(int x, int y, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisiblePathPointI(nativePath, x, y, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(const TGPPoint& point, const TGraphicsCore<R>* g = nullptr) { return IsVisible(point.X, point.Y, g); }
    BOOL IsOutlineVisible(float x, float y, const TPenCore<R>* pen, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsOutlineVisiblePathPoint(nativePath, x, y, ADVGDIP_NATIVE(pen, nativePen),
                                                    ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsOutlineVisible(const TGPPointF& point, const TPenCore<R>* pen, const TGraphicsCore<R>* g = nullptr) {
        return IsOutlineVisible(point.X, point.Y, pen, g);
    }
    BOOL IsOutlineVisible(int x, int y, const TPenCore<R>* pen, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsOutlineVisiblePathPointI(nativePath, x, y, ADVGDIP_NATIVE(pen, nativePen),
                                                     ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsOutlineVisible(const TGPPoint& point, const TPenCore<R>* pen, const TGraphicsCore<R>* g = nullptr) {
        return IsOutlineVisible(point.X, point.Y, pen, g);
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpPath* nativePath = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TCachedBitmapCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TCachedBitmapCore(const TImageCore<R>* bitmap, const TGraphicsCore<R>* graphics) {
        this->lastResult = C::GdipCreateCachedBitmap(static_cast<Gdiplus::GpBitmap*>(ADVGDIP_NATIVE(bitmap, nativeImage)),
                                                     ADVGDIP_NATIVE(graphics, nativeGraphics), &nativeCachedBitmap);
    }
    ~TCachedBitmapCore() { C::GdipDeleteCachedBitmap(nativeCachedBitmap); }
protected:
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpCachedBitmap* nativeCachedBitmap = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TGraphicsCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
    using P = TPenCore<R>;
    using B = TBrushCore<R>;
    using I = TImageCore<R>;
    static constexpr auto Prepend = Gdiplus::MatrixOrderPrepend;
public:
    TGraphicsCore(HDC hdc, int, int) { this->lastResult = C::GdipCreateFromHDC(hdc, &nativeGraphics); }
    explicit TGraphicsCore(HDC hdc) { this->lastResult = C::GdipCreateFromHDC(hdc, &nativeGraphics); }
    TGraphicsCore(HDC hdc, HANDLE hdevice) { this->lastResult = C::GdipCreateFromHDC2(hdc, hdevice, &nativeGraphics); }
    TGraphicsCore(HWND hwnd, BOOL icm) {
        this->lastResult = icm ? C::GdipCreateFromHWNDICM(hwnd, &nativeGraphics) : C::GdipCreateFromHWND(hwnd, &nativeGraphics);
    }
    // No call for a null image: the handle stays null and the status Ok.
    explicit TGraphicsCore(const I* image) {
        if (image) this->lastResult = C::GdipGetImageGraphicsContext(image->nativeImage, &nativeGraphics);
    }
    ~TGraphicsCore() { C::GdipDeleteGraphics(nativeGraphics); }
protected:
    // The status is not kept.
    void Flush(Gdiplus::FlushIntention intention = Gdiplus::FlushIntentionFlush) { C::GdipFlush(nativeGraphics, intention); }
    HDC GetHDC() {
        HDC hdc = nullptr;
        this->Keep(C::GdipGetDC(nativeGraphics, &hdc));
        return hdc;
    }
    void ReleaseHDC(HDC hdc) { this->Keep(C::GdipReleaseDC(nativeGraphics, hdc)); }
    TStatus SetRenderingOrigin(int x, int y) { return this->Keep(C::GdipSetRenderingOrigin(nativeGraphics, x, y)); }
    TStatus GetRenderingOrigin(int& x, int& y) { return this->Keep(C::GdipGetRenderingOrigin(nativeGraphics, &x, &y)); }
    TStatus SetCompositingMode(Gdiplus::CompositingMode mode) { return this->Keep(C::GdipSetCompositingMode(nativeGraphics, mode)); }
    Gdiplus::CompositingMode GetCompositingMode() {
        Gdiplus::CompositingMode mode = Gdiplus::CompositingModeSourceOver;
        this->Keep(C::GdipGetCompositingMode(nativeGraphics, &mode));
        return mode;
    }
    TStatus SetCompositingQuality(int quality) {
        return this->Keep(C::GdipSetCompositingQuality(nativeGraphics, Gdiplus::CompositingQuality(quality)));
    }
    int GetCompositingQuality() {
        Gdiplus::CompositingQuality quality = Gdiplus::CompositingQuality(-1);
        this->Keep(C::GdipGetCompositingQuality(nativeGraphics, &quality));
        return quality;
    }
    TStatus SetTextRenderingHint(Gdiplus::TextRenderingHint newMode) {
        return this->Keep(C::GdipSetTextRenderingHint(nativeGraphics, newMode));
    }
    Gdiplus::TextRenderingHint GetTextRenderingHint() {
        Gdiplus::TextRenderingHint hint = Gdiplus::TextRenderingHintSystemDefault;
        this->Keep(C::GdipGetTextRenderingHint(nativeGraphics, &hint));
        return hint;
    }
    TStatus SetTextContrast(UINT contrast) { return this->Keep(C::GdipSetTextContrast(nativeGraphics, contrast)); }
    UINT GetTextContrast() {
        UINT contrast = 0;
        this->Keep(C::GdipGetTextContrast(nativeGraphics, &contrast));
        return contrast;
    }
    int GetInterpolationMode() {
        Gdiplus::InterpolationMode mode = Gdiplus::InterpolationModeInvalid;
        this->Keep(C::GdipGetInterpolationMode(nativeGraphics, &mode));
        return mode;
    }
    TStatus SetInterpolationMode(int mode) {
        return this->Keep(C::GdipSetInterpolationMode(nativeGraphics, Gdiplus::InterpolationMode(mode)));
    }
    // -1 when the call fails.
    int GetSmoothingMode() {
        Gdiplus::SmoothingMode mode = Gdiplus::SmoothingModeInvalid;
        this->Keep(C::GdipGetSmoothingMode(nativeGraphics, &mode));
        return mode;
    }
    TStatus SetSmoothingMode(int smoothingMode) {
        return this->Keep(C::GdipSetSmoothingMode(nativeGraphics, Gdiplus::SmoothingMode(smoothingMode)));
    }
    int GetPixelOffsetMode() {
        Gdiplus::PixelOffsetMode mode = Gdiplus::PixelOffsetModeInvalid;
        this->Keep(C::GdipGetPixelOffsetMode(nativeGraphics, &mode));
        return mode;
    }
    TStatus SetPixelOffsetMode(int mode) {
        return this->Keep(C::GdipSetPixelOffsetMode(nativeGraphics, Gdiplus::PixelOffsetMode(mode)));
    }
    TStatus SetTransform(const TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipSetWorldTransform(nativeGraphics, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus ResetTransform() { return this->Keep(C::GdipResetWorldTransform(nativeGraphics)); }
    TStatus MultiplyTransform(const TMatrixCore<R>* matrix, Gdiplus::MatrixOrder order = Prepend) {
        return this->Keep(C::GdipMultiplyWorldTransform(nativeGraphics, ADVGDIP_NATIVE(matrix, nativeMatrix), order));
    }
    TStatus TranslateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Prepend) {
        return this->Keep(C::GdipTranslateWorldTransform(nativeGraphics, dx, dy, order));
    }
    TStatus ScaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Prepend) {
        return this->Keep(C::GdipScaleWorldTransform(nativeGraphics, sx, sy, order));
    }
    TStatus RotateTransform(float angle, Gdiplus::MatrixOrder order = Prepend) {
        return this->Keep(C::GdipRotateWorldTransform(nativeGraphics, angle, order));
    }
    TStatus GetTransform(TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipGetWorldTransform(nativeGraphics, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus SetPageUnit(Unit_ unit) { return this->Keep(C::GdipSetPageUnit(nativeGraphics, unit)); }
    TStatus SetPageScale(float scale) { return this->Keep(C::GdipSetPageScale(nativeGraphics, scale)); }
    Unit_ GetPageUnit() {
        Unit_ unit = Gdiplus::UnitPixel;
        this->Keep(C::GdipGetPageUnit(nativeGraphics, &unit));
        return unit;
    }
    float GetPageScale() {
        float scale = 0;
        this->Keep(C::GdipGetPageScale(nativeGraphics, &scale));
        return scale;
    }
    float GetDpiX() {
        float dpi = 0;
        this->Keep(C::GdipGetDpiX(nativeGraphics, &dpi));
        return dpi;
    }
    float GetDpiY() {
        float dpi = 0;
        this->Keep(C::GdipGetDpiY(nativeGraphics, &dpi));
        return dpi;
    }
    TStatus TransformPoints(Gdiplus::CoordinateSpace destSpace, Gdiplus::CoordinateSpace srcSpace, TGPPointF* pts, int count) {
        return this->Keep(C::GdipTransformPoints(nativeGraphics, destSpace, srcSpace, pts, count));
    }
    TStatus TransformPoints(Gdiplus::CoordinateSpace destSpace, Gdiplus::CoordinateSpace srcSpace, TGPPoint* pts, int count) {
        return this->Keep(C::GdipTransformPointsI(nativeGraphics, destSpace, srcSpace, pts, count));
    }
    TStatus GetNearestColor(ARGB& color) { return this->Keep(C::GdipGetNearestColor(nativeGraphics, &color)); }

    // Lines and outlines.
    TStatus DrawLine(const P* pen, float x1, float y1, float x2, float y2) {
        return this->Keep(C::GdipDrawLine(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x1, y1, x2, y2));
    }
    TStatus DrawLine(const P* pen, const TGPPointF& pt1, const TGPPointF& pt2) { return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y); }
    TStatus DrawLine(const P* pen, int x1, int y1, int x2, int y2) {
        return this->Keep(C::GdipDrawLineI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x1, y1, x2, y2));
    }
    TStatus DrawLine(const P* pen, const TGPPoint& pt1, const TGPPoint& pt2) { return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y); }
    TStatus DrawLines(const P* pen, const TGPPointF* points, int count) {
        return this->Keep(C::GdipDrawLines(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawLines(const P* pen, const TGPPoint* points, int count) {
        return this->Keep(C::GdipDrawLinesI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawArc(const P* pen, float x, float y, float width, float height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipDrawArc(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus DrawArc(const P* pen, const TGPRectF& rect, float startAngle, float sweepAngle) {
        return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus DrawArc(const P* pen, int x, int y, int width, int height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipDrawArcI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus DrawArc(const P* pen, const TGPRect& rect, float startAngle, float sweepAngle) {
        return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus DrawBezier(const P* pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
        return this->Keep(C::GdipDrawBezier(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x1, y1, x2, y2, x3, y3, x4, y4));
    }
    TStatus DrawBezier(const P* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4) {
        return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
    }
    TStatus DrawBezier(const P* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return this->Keep(C::GdipDrawBezierI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x1, y1, x2, y2, x3, y3, x4, y4));
    }
    TStatus DrawBezier(const P* pen, const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4) {
        return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
    }
    TStatus DrawBeziers(const P* pen, const TGPPointF* points, int count) {
        return this->Keep(C::GdipDrawBeziers(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawBeziers(const P* pen, const TGPPoint* points, int count) {
        return this->Keep(C::GdipDrawBeziersI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawRectangle(const P* pen, float x, float y, float width, float height) {
        return this->Keep(C::GdipDrawRectangle(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height));
    }
    TStatus DrawRectangle(const P* pen, const TGPRectF& rect) { return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawRectangle(const P* pen, int x, int y, int width, int height) {
        return this->Keep(C::GdipDrawRectangleI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height));
    }
    TStatus DrawRectangle(const P* pen, const TGPRect& rect) { return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawRectangles(const P* pen, const TGPRectF* rects, int count) {
        return this->Keep(C::GdipDrawRectangles(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), rects, count));
    }
    TStatus DrawRectangles(const P* pen, const TGPRect* rects, int count) {
        return this->Keep(C::GdipDrawRectanglesI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), rects, count));
    }
    TStatus DrawEllipse(const P* pen, float x, float y, float width, float height) {
        return this->Keep(C::GdipDrawEllipse(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height));
    }
    TStatus DrawEllipse(const P* pen, const TGPRectF& rect) { return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawEllipse(const P* pen, int x, int y, int width, int height) {
        return this->Keep(C::GdipDrawEllipseI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height));
    }
    TStatus DrawEllipse(const P* pen, const TGPRect& rect) { return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawPie(const P* pen, float x, float y, float width, float height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipDrawPie(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus DrawPie(const P* pen, const TGPRectF& rect, float startAngle, float sweepAngle) {
        return DrawPie(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus DrawPie(const P* pen, int x, int y, int width, int height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipDrawPieI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus DrawPie(const P* pen, const TGPRect& rect, float startAngle, float sweepAngle) {
        return DrawPie(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus DrawPolygon(const P* pen, const TGPPointF* points, int count) {
        return this->Keep(C::GdipDrawPolygon(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawPolygon(const P* pen, const TGPPoint* points, int count) {
        return this->Keep(C::GdipDrawPolygonI(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count));
    }
    TStatus DrawPath(const P* pen, const TPathCore<R>* path) {
        return this->Keep(C::GdipDrawPath(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), ADVGDIP_NATIVE(path, nativePath)));
    }
    TStatus DrawCurve(const P* pen, const TGPPointF* points, int count, float tension = 0.5f) {
        return this->Keep(C::GdipDrawCurve2(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, tension));
    }
    TStatus DrawCurve(const P* pen, const TGPPoint* points, int count, float tension = 0.5f) {
        return this->Keep(C::GdipDrawCurve2I(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, tension));
    }
    TStatus DrawCurve(const P* pen, const TGPPointF* points, int count, int offset, int numberOfSegments, float tension = 0.5f) {
        return this->Keep(C::GdipDrawCurve3(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, offset,
                                            numberOfSegments, tension));
    }
    TStatus DrawCurve(const P* pen, const TGPPoint* points, int count, int offset, int numberOfSegments, float tension = 0.5f) {
        return this->Keep(C::GdipDrawCurve3I(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, offset,
                                             numberOfSegments, tension));
    }
    TStatus DrawClosedCurve(const P* pen, const TGPPointF* points, int count, float tension = 0.5f) {
        return this->Keep(C::GdipDrawClosedCurve2(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, tension));
    }
    TStatus DrawClosedCurve(const P* pen, const TGPPoint* points, int count, float tension = 0.5f) {
        return this->Keep(C::GdipDrawClosedCurve2I(nativeGraphics, ADVGDIP_NATIVE(pen, nativePen), points, count, tension));
    }

    // Fills.
    TStatus Clear(ARGB color) { return this->Keep(C::GdipGraphicsClear(nativeGraphics, color)); }
    TStatus FillRectangle(const B* brush, float x, float y, float width, float height) {
        return this->Keep(C::GdipFillRectangle(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height));
    }
    TStatus FillRectangle(const B* brush, const TGPRectF& rect) { return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus FillRectangle(const B* brush, int x, int y, int width, int height) {
        return this->Keep(C::GdipFillRectangleI(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height));
    }
    TStatus FillRectangle(const B* brush, const TGPRect& rect) { return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus FillRectangles(const B* brush, const TGPRectF* rects, int count) {
        return this->Keep(C::GdipFillRectangles(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), rects, count));
    }
    TStatus FillRectangles(const B* brush, const TGPRect* rects, int count) {
        return this->Keep(C::GdipFillRectanglesI(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), rects, count));
    }
    TStatus FillPolygon(const B* brush, const TGPPointF* points, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate) {
        return this->Keep(C::GdipFillPolygon(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), points, count, fillMode));
    }
    TStatus FillPolygon(const B* brush, const TGPPoint* points, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate) {
        return this->Keep(C::GdipFillPolygonI(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), points, count, fillMode));
    }
    TStatus FillEllipse(const B* brush, float x, float y, float width, float height) {
        return this->Keep(C::GdipFillEllipse(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height));
    }
    TStatus FillEllipse(const B* brush, const TGPRectF& rect) { return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus FillEllipse(const B* brush, int x, int y, int width, int height) {
        return this->Keep(C::GdipFillEllipseI(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height));
    }
    TStatus FillEllipse(const B* brush, const TGPRect& rect) { return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus FillPie(const B* brush, float x, float y, float width, float height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipFillPie(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus FillPie(const B* brush, const TGPRectF& rect, float startAngle, float sweepAngle) {
        return FillPie(brush, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus FillPie(const B* brush, int x, int y, int width, int height, float startAngle, float sweepAngle) {
        return this->Keep(C::GdipFillPieI(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), x, y, width, height, startAngle, sweepAngle));
    }
    TStatus FillPie(const B* brush, const TGPRect& rect, float startAngle, float sweepAngle) {
        return FillPie(brush, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus FillPath(const B* brush, const TPathCore<R>* path) {
        return this->Keep(C::GdipFillPath(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), ADVGDIP_NATIVE(path, nativePath)));
    }
    TStatus FillClosedCurve(const B* brush, const TGPPointF* points, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate,
                            float tension = 0.5f) {
        return this->Keep(C::GdipFillClosedCurve2(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), points, count, tension, fillMode));
    }
    TStatus FillClosedCurve(const B* brush, const TGPPoint* points, int count, Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate,
                            float tension = 0.5f) {
        return this->Keep(C::GdipFillClosedCurve2I(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), points, count, tension, fillMode));
    }
    TStatus FillRegion(const B* brush, const TRegionCore<R>* region) {
        return this->Keep(C::GdipFillRegion(nativeGraphics, ADVGDIP_NATIVE(brush, nativeBrush), ADVGDIP_NATIVE(region, nativeRegion)));
    }

    // Text. Font, string format and brush may be null.
    TStatus DrawString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPRectF& layoutRect,
                       const TStringFormatCore<R>* stringFormat, const B* brush) {
        if constexpr (R::DrawStringUsesLength) {
            return this->Keep(C::GdipDrawString(nativeGraphics, string_, length, ADVGDIP_NATIVE(font, nativeFont), &layoutRect,
                                                ADVGDIP_NATIVE(stringFormat, nativeFormat), ADVGDIP_NATIVE(brush, nativeBrush)));
        } else {
            // The whole string, from a zero-ended copy; the length given is not used.
            std::wstring copy(string_ ? string_ : L"");
            return this->Keep(C::GdipDrawString(nativeGraphics, copy.c_str(), int(copy.size()), ADVGDIP_NATIVE(font, nativeFont),
                                                &layoutRect, ADVGDIP_NATIVE(stringFormat, nativeFormat),
                                                ADVGDIP_NATIVE(brush, nativeBrush)));
        }
    }
    TStatus DrawString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPPointF& origin,
                       const TStringFormatCore<R>* stringFormat, const B* brush) {
        return DrawString(string_, length, font, TGPRectF(origin.X, origin.Y, 0, 0), stringFormat, brush);
    }
    TStatus DrawString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPPointF& origin, const B* brush) {
        return DrawString(string_, length, font, TGPRectF(origin.X, origin.Y, 0, 0), nullptr, brush);
    }
    TStatus MeasureString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPRectF& layoutRect,
                          const TStringFormatCore<R>* stringFormat, TGPRectF& boundingBox, int* codepointsFitted = nullptr,
                          int* linesFilled = nullptr) {
        return this->Keep(C::GdipMeasureString(nativeGraphics, string_, length, ADVGDIP_NATIVE(font, nativeFont), &layoutRect,
                                               ADVGDIP_NATIVE(stringFormat, nativeFormat), &boundingBox, codepointsFitted,
                                               linesFilled));
    }
    TStatus MeasureString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPPointF& origin,
                          const TStringFormatCore<R>* stringFormat, TGPRectF& boundingBox) {
        return MeasureString(string_, length, font, TGPRectF(origin.X, origin.Y, 0, 0), stringFormat, boundingBox);
    }
    TStatus MeasureString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPRectF& layoutRect,
                          TGPRectF& boundingBox) {
        return MeasureString(string_, length, font, layoutRect, nullptr, boundingBox);
    }
    TStatus MeasureString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPPointF& origin,
                          TGPRectF& boundingBox) {
        return MeasureString(string_, length, font, TGPRectF(origin.X, origin.Y, 0, 0), nullptr, boundingBox);
    }
    TStatus MeasureString(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPSizeF& layoutRectSize,
                          const TStringFormatCore<R>* stringFormat, TGPSizeF& size, int* codepointsFitted = nullptr,
                          int* linesFilled = nullptr) {
        TGPRectF box;
        const TStatus status = MeasureString(string_, length, font, TGPRectF(0, 0, layoutRectSize.Width, layoutRectSize.Height),
                                             stringFormat, box, codepointsFitted, linesFilled);
        if (status == Gdiplus::Ok) { size.Width = box.Width; size.Height = box.Height; }
        return status;
    }
    // regionCount of 0 or less is answered without a call and not kept.
    template <class TRegion>
    TStatus MeasureCharacterRanges(const wchar_t* string_, int length, const TFontCore<R>* font, const TGPRectF& layoutRect,
                                   const TStringFormatCore<R>* stringFormat, int regionCount, TRegion* const* regions) {
        if (regionCount <= 0 || !regions) return Gdiplus::InvalidParameter;
        std::vector<Gdiplus::GpRegion*> natives;
        natives.reserve(std::size_t(regionCount));
        for (int i = 0; i < regionCount; ++i) natives.push_back(ADVGDIP_NATIVE(regions[i], nativeRegion));
        return this->Keep(C::GdipMeasureCharacterRanges(nativeGraphics, string_, length, ADVGDIP_NATIVE(font, nativeFont),
                                                        layoutRect, ADVGDIP_NATIVE(stringFormat, nativeFormat), regionCount,
                                                        natives.data()));
    }
    TStatus DrawDriverString(const UINT16* text, int length, const TFontCore<R>* font, const B* brush,
                             const TGPPointF* positions, int flags, const TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipDrawDriverString(nativeGraphics, text, length, ADVGDIP_NATIVE(font, nativeFont),
                                                  ADVGDIP_NATIVE(brush, nativeBrush), positions, flags,
                                                  ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus MeasureDriverString(const UINT16* text, int length, const TFontCore<R>* font, const TGPPointF* positions,
                                int flags, const TMatrixCore<R>* matrix, TGPRectF& boundingBox) {
        return this->Keep(C::GdipMeasureDriverString(nativeGraphics, text, length, ADVGDIP_NATIVE(font, nativeFont), positions,
                                                     flags, ADVGDIP_NATIVE(matrix, nativeMatrix), &boundingBox));
    }
    TStatus DrawCachedBitmap(const TCachedBitmapCore<R>* cb, int x, int y) {
        return this->Keep(C::GdipDrawCachedBitmap(nativeGraphics, ADVGDIP_NATIVE(cb, nativeCachedBitmap), x, y));
    }

    // Images. The image and image attributes may be null.
    TStatus DrawImage(const I* image, const TGPPointF& point) { return DrawImage(image, point.X, point.Y); }
    TStatus DrawImage(const I* image, float x, float y) {
        return this->Keep(C::GdipDrawImage(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y));
    }
    TStatus DrawImage(const I* image, const TGPRectF& rect) { return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawImage(const I* image, float x, float y, float width, float height) {
        return this->Keep(C::GdipDrawImageRect(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y, width, height));
    }
    TStatus DrawImage(const I* image, const TGPPoint& point) { return DrawImage(image, point.X, point.Y); }
    TStatus DrawImage(const I* image, int x, int y) {
        return this->Keep(C::GdipDrawImageI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y));
    }
    TStatus DrawImage(const I* image, const TGPRect& rect) { return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus DrawImage(const I* image, int x, int y, int width, int height) {
        return this->Keep(C::GdipDrawImageRectI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y, width, height));
    }
    TStatus DrawImage(const I* image, const TGPPointF* destPoints, int count) {
        return this->Keep(C::GdipDrawImagePoints(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destPoints, count));
    }
    TStatus DrawImage(const I* image, const TGPPoint* destPoints, int count) {
        return this->Keep(C::GdipDrawImagePointsI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destPoints, count));
    }
    TStatus DrawImage(const I* image, float x, float y, float srcx, float srcy, float srcwidth, float srcheight, Unit_ srcUnit) {
        return this->Keep(C::GdipDrawImagePointRect(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y, srcx, srcy,
                                                    srcwidth, srcheight, srcUnit));
    }
    TStatus DrawImage(const I* image, int x, int y, int srcx, int srcy, int srcwidth, int srcheight, Unit_ srcUnit) {
        return this->Keep(C::GdipDrawImagePointRectI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), x, y, srcx, srcy,
                                                     srcwidth, srcheight, srcUnit));
    }
    TStatus DrawImage(const I* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth, float srcheight,
                      Unit_ srcUnit, const TImageAttributesCore<R>* imageAttributes = nullptr,
                      TImageAbort callback = nullptr, void* callbackData = nullptr) {
        return this->Keep(C::GdipDrawImageRectRect(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destRect.X, destRect.Y,
                                                   destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                                                   ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), callback, callbackData));
    }
    TStatus DrawImage(const I* image, const TGPRect& destRect, int srcx, int srcy, int srcwidth, int srcheight,
                      Unit_ srcUnit, const TImageAttributesCore<R>* imageAttributes = nullptr,
                      TImageAbort callback = nullptr, void* callbackData = nullptr) {
        return this->Keep(C::GdipDrawImageRectRectI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destRect.X, destRect.Y,
                                                    destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                                                    ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), callback, callbackData));
    }
    TStatus DrawImage(const I* image, const TGPPointF* destPoints, int count, float srcx, float srcy, float srcwidth,
                      float srcheight, Unit_ srcUnit, const TImageAttributesCore<R>* imageAttributes = nullptr,
                      TImageAbort callback = nullptr, void* callbackData = nullptr) {
        return this->Keep(C::GdipDrawImagePointsRect(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destPoints, count,
                                                     srcx, srcy, srcwidth, srcheight, srcUnit,
                                                     ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), callback, callbackData));
    }
    TStatus DrawImage(const I* image, const TGPPoint* destPoints, int count, int srcx, int srcy, int srcwidth,
                      int srcheight, Unit_ srcUnit, const TImageAttributesCore<R>* imageAttributes = nullptr,
                      TImageAbort callback = nullptr, void* callbackData = nullptr) {
        return this->Keep(C::GdipDrawImagePointsRectI(nativeGraphics, ADVGDIP_NATIVE(image, nativeImage), destPoints, count,
                                                      srcx, srcy, srcwidth, srcheight, srcUnit,
                                                      ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), callback, callbackData));
    }

    // Clipping.
    TStatus SetClip(const TGraphicsCore* g, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipGraphics(nativeGraphics, ADVGDIP_NATIVE(g, nativeGraphics), combineMode));
    }
    TStatus SetClip(const TGPRectF& rect, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, combineMode));
    }
    TStatus SetClip(const TGPRect& rect, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipRectI(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, combineMode));
    }
    TStatus SetClip(const TPathCore<R>* path, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipPath(nativeGraphics, ADVGDIP_NATIVE(path, nativePath), combineMode));
    }
    TStatus SetClip(const TRegionCore<R>* region, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipRegion(nativeGraphics, ADVGDIP_NATIVE(region, nativeRegion), combineMode));
    }
    TStatus SetClip(HRGN hRgn, Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace) {
        return this->Keep(C::GdipSetClipHrgn(nativeGraphics, hRgn, combineMode));
    }
    template <class A> TStatus IntersectClip(const A& a) { return SetClip(a, Gdiplus::CombineModeIntersect); }
    template <class A> TStatus ExcludeClip(const A& a) { return SetClip(a, Gdiplus::CombineModeExclude); }
    TStatus ResetClip() { return this->Keep(C::GdipResetClip(nativeGraphics)); }
    TStatus TranslateClip(float dx, float dy) { return this->Keep(C::GdipTranslateClip(nativeGraphics, dx, dy)); }
    TStatus TranslateClip(int dx, int dy) { return this->Keep(C::GdipTranslateClipI(nativeGraphics, dx, dy)); }
    TStatus GetClip(TRegionCore<R>* region) {
        return this->Keep(C::GdipGetClip(nativeGraphics, ADVGDIP_NATIVE(region, nativeRegion)));
    }
    TStatus GetClipBounds(TGPRectF& rect) { return this->Keep(C::GdipGetClipBounds(nativeGraphics, &rect)); }
    TStatus GetClipBounds(TGPRect& rect) { return this->Keep(C::GdipGetClipBoundsI(nativeGraphics, &rect)); }
    BOOL IsClipEmpty() {
        BOOL result = FALSE;
        this->Keep(C::GdipIsClipEmpty(nativeGraphics, &result));
        return result;
    }
    TStatus GetVisibleClipBounds(TGPRectF& rect) { return this->Keep(C::GdipGetVisibleClipBounds(nativeGraphics, &rect)); }
    TStatus GetVisibleClipBounds(TGPRect& rect) { return this->Keep(C::GdipGetVisibleClipBoundsI(nativeGraphics, &rect)); }
    BOOL IsVisibleClipEmpty() {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleClipEmpty(nativeGraphics, &result));
        return result;
    }
    BOOL IsVisible(float x, float y) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisiblePoint(nativeGraphics, x, y, &result));
        return result;
    }
    BOOL IsVisible(const TGPPointF& point) { return IsVisible(point.X, point.Y); }
    BOOL IsVisible(int x, int y) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisiblePointI(nativeGraphics, x, y, &result));
        return result;
    }
    BOOL IsVisible(const TGPPoint& point) { return IsVisible(point.X, point.Y); }
    BOOL IsVisible(float x, float y, float width, float height) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRect(nativeGraphics, x, y, width, height, &result));
        return result;
    }
    BOOL IsVisible(const TGPRectF& rect) { return IsVisible(rect.X, rect.Y, rect.Width, rect.Height); }
    BOOL IsVisible(int x, int y, int width, int height) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRectI(nativeGraphics, x, y, width, height, &result));
        return result;
    }
    BOOL IsVisible(const TGPRect& rect) { return IsVisible(rect.X, rect.Y, rect.Width, rect.Height); }

    // States and containers: 0 when the call fails.
    Gdiplus::GraphicsState Save() {
        Gdiplus::GraphicsState state = 0;
        if (this->Keep(C::GdipSaveGraphics(nativeGraphics, &state)) != Gdiplus::Ok) return 0;
        return state;
    }
    TStatus Restore(Gdiplus::GraphicsState gstate) { return this->Keep(C::GdipRestoreGraphics(nativeGraphics, gstate)); }
    Gdiplus::GraphicsContainer BeginContainer(const TGPRectF& dstrect, const TGPRectF& srcrect, Unit_ unit) {
        Gdiplus::GraphicsContainer state = 0;
        if (this->Keep(C::GdipBeginContainer(nativeGraphics, &dstrect, &srcrect, unit, &state)) != Gdiplus::Ok) return 0;
        return state;
    }
    Gdiplus::GraphicsContainer BeginContainer(const TGPRect& dstrect, const TGPRect& srcrect, Unit_ unit) {
        Gdiplus::GraphicsContainer state = 0;
        if (this->Keep(C::GdipBeginContainerI(nativeGraphics, &dstrect, &srcrect, unit, &state)) != Gdiplus::Ok) return 0;
        return state;
    }
    Gdiplus::GraphicsContainer BeginContainer() {
        Gdiplus::GraphicsContainer state = 0;
        if (this->Keep(C::GdipBeginContainer2(nativeGraphics, &state)) != Gdiplus::Ok) return 0;
        return state;
    }
    TStatus EndContainer(Gdiplus::GraphicsContainer state) { return this->Keep(C::GdipEndContainer(nativeGraphics, state)); }
    TStatus AddMetafileComment(const BYTE* data, UINT sizeData) {
        return this->Keep(C::GdipComment(nativeGraphics, sizeData, data));
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpGraphics* nativeGraphics = nullptr;
};

}  // namespace AdvGDIPCore
