#pragma once
// The one body of both GDI+ wrapper families: records, enumerations, the list of flat
// functions they call, and wrapper cores templated on a family's rules (how a flat
// function is reached, and the few points where the two families differ).
//
// A family's rules type R provides:
//   Calls                     a type with one static forwarding function per flat name
//   TBase                     the family's root class (instance memory from GDI+'s allocator)
//   TGPBrush, TGPSolidBrush, ... the family's own classes, for objects a call returns
//   DrawStringUsesLength      false: DrawString draws the whole string, whatever its length
//   LinearPenBrushIsOk        true: GetBrush of a linear-gradient pen carries Ok
//   FontStatusResets          false: TGPFont.GetLastStatus keeps the failure
// A core's operations are protected; each family makes public those it offers.
#include <windows.h>
#include <gdiplus.h>

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

// Every flat function a wrapper calls, in the groups of the flat API. Both families
// and the run-time table are generated from this list.
#define ADVGDIP_FLAT_FUNCTIONS(X) \
    X(GdipCreatePath) X(GdipCreatePath2) X(GdipCreatePath2I) X(GdipClonePath) X(GdipDeletePath) \
    X(GdipResetPath) X(GdipGetPointCount) X(GdipGetPathTypes) X(GdipGetPathPoints) X(GdipGetPathPointsI) \
    X(GdipGetPathFillMode) X(GdipSetPathFillMode) X(GdipGetPathData) X(GdipStartPathFigure) \
    X(GdipClosePathFigure) X(GdipClosePathFigures) X(GdipSetPathMarker) X(GdipClearPathMarkers) \
    X(GdipReversePath) X(GdipGetPathLastPoint) X(GdipAddPathLine) X(GdipAddPathLine2) \
    X(GdipAddPathArc) X(GdipAddPathBezier) X(GdipAddPathBeziers) X(GdipAddPathCurve) \
    X(GdipAddPathCurve2) X(GdipAddPathCurve3) X(GdipAddPathClosedCurve) X(GdipAddPathClosedCurve2) \
    X(GdipAddPathRectangle) X(GdipAddPathRectangles) X(GdipAddPathEllipse) X(GdipAddPathPie) \
    X(GdipAddPathPolygon) X(GdipAddPathPath) X(GdipAddPathString) X(GdipAddPathStringI) \
    X(GdipAddPathLineI) X(GdipAddPathLine2I) X(GdipAddPathArcI) X(GdipAddPathBezierI) \
    X(GdipAddPathBeziersI) X(GdipAddPathCurveI) X(GdipAddPathCurve2I) X(GdipAddPathCurve3I) X(GdipAddPathClosedCurveI) \
    X(GdipAddPathClosedCurve2I) X(GdipAddPathRectangleI) X(GdipAddPathRectanglesI) \
    X(GdipAddPathEllipseI) X(GdipAddPathPieI) X(GdipAddPathPolygonI) X(GdipFlattenPath) \
    X(GdipWindingModeOutline) X(GdipWidenPath) X(GdipWarpPath) X(GdipTransformPath) \
    X(GdipGetPathWorldBounds) X(GdipGetPathWorldBoundsI) X(GdipIsVisiblePathPoint) \
    X(GdipIsVisiblePathPointI) X(GdipIsOutlineVisiblePathPoint) X(GdipIsOutlineVisiblePathPointI) \
    X(GdipCreateMatrix) X(GdipCreateMatrix2) X(GdipCreateMatrix3) X(GdipCreateMatrix3I) \
    X(GdipCloneMatrix) X(GdipDeleteMatrix) X(GdipSetMatrixElements) X(GdipMultiplyMatrix) \
    X(GdipTranslateMatrix) X(GdipScaleMatrix) X(GdipRotateMatrix) X(GdipShearMatrix) \
    X(GdipInvertMatrix) X(GdipTransformMatrixPoints) X(GdipTransformMatrixPointsI) \
    X(GdipVectorTransformMatrixPoints) X(GdipVectorTransformMatrixPointsI) \
    X(GdipGetMatrixElements) X(GdipIsMatrixInvertible) X(GdipIsMatrixIdentity) X(GdipIsMatrixEqual) \
    X(GdipCreateRegion) X(GdipCreateRegionRect) X(GdipCreateRegionRectI) X(GdipCreateRegionPath) \
    X(GdipCreateRegionRgnData) X(GdipCreateRegionHrgn) X(GdipCloneRegion) X(GdipDeleteRegion) \
    X(GdipSetInfinite) X(GdipSetEmpty) X(GdipCombineRegionRect) X(GdipCombineRegionRectI) \
    X(GdipCombineRegionPath) X(GdipCombineRegionRegion) X(GdipTranslateRegion) \
    X(GdipTranslateRegionI) X(GdipTransformRegion) X(GdipGetRegionBounds) X(GdipGetRegionBoundsI) \
    X(GdipGetRegionHRgn) X(GdipIsEmptyRegion) X(GdipIsInfiniteRegion) X(GdipIsEqualRegion) \
    X(GdipGetRegionDataSize) X(GdipGetRegionData) X(GdipIsVisibleRegionPoint) \
    X(GdipIsVisibleRegionPointI) X(GdipIsVisibleRegionRect) X(GdipIsVisibleRegionRectI) \
    X(GdipGetRegionScansCount) X(GdipGetRegionScans) X(GdipGetRegionScansI) \
    X(GdipCloneBrush) X(GdipDeleteBrush) X(GdipGetBrushType) X(GdipCreateHatchBrush) \
    X(GdipGetHatchStyle) X(GdipGetHatchForegroundColor) X(GdipGetHatchBackgroundColor) \
    X(GdipCreateTexture) X(GdipCreateTexture2) X(GdipCreateTextureIA) X(GdipCreateTexture2I) \
    X(GdipCreateTextureIAI) X(GdipGetTextureTransform) X(GdipSetTextureTransform) \
    X(GdipResetTextureTransform) X(GdipMultiplyTextureTransform) X(GdipTranslateTextureTransform) \
    X(GdipScaleTextureTransform) X(GdipRotateTextureTransform) X(GdipSetTextureWrapMode) \
    X(GdipGetTextureWrapMode) X(GdipGetTextureImage) X(GdipCreateSolidFill) X(GdipSetSolidFillColor) \
    X(GdipGetSolidFillColor) X(GdipCreateLineBrush) X(GdipCreateLineBrushI) \
    X(GdipCreateLineBrushFromRect) X(GdipCreateLineBrushFromRectI) \
    X(GdipCreateLineBrushFromRectWithAngle) X(GdipCreateLineBrushFromRectWithAngleI) \
    X(GdipSetLineColors) X(GdipGetLineColors) X(GdipGetLineRect) X(GdipGetLineRectI) \
    X(GdipSetLineGammaCorrection) X(GdipGetLineGammaCorrection) X(GdipGetLineBlendCount) \
    X(GdipGetLineBlend) X(GdipSetLineBlend) X(GdipGetLinePresetBlendCount) X(GdipGetLinePresetBlend) \
    X(GdipSetLinePresetBlend) X(GdipSetLineSigmaBlend) X(GdipSetLineLinearBlend) \
    X(GdipSetLineWrapMode) X(GdipGetLineWrapMode) X(GdipGetLineTransform) X(GdipSetLineTransform) \
    X(GdipResetLineTransform) X(GdipMultiplyLineTransform) X(GdipTranslateLineTransform) \
    X(GdipScaleLineTransform) X(GdipRotateLineTransform) X(GdipCreatePathGradient) X(GdipCreatePathGradientI) X(GdipCreatePathGradientFromPath) \
    X(GdipGetPathGradientCenterColor) X(GdipSetPathGradientCenterColor) \
    X(GdipGetPathGradientSurroundColorsWithCount) X(GdipSetPathGradientSurroundColorsWithCount) \
    X(GdipGetPathGradientPath) X(GdipSetPathGradientPath) X(GdipGetPathGradientCenterPoint) \
    X(GdipGetPathGradientCenterPointI) X(GdipSetPathGradientCenterPoint) \
    X(GdipSetPathGradientCenterPointI) X(GdipGetPathGradientRect) X(GdipGetPathGradientRectI) \
    X(GdipGetPathGradientPointCount) X(GdipGetPathGradientSurroundColorCount) \
    X(GdipSetPathGradientGammaCorrection) X(GdipGetPathGradientGammaCorrection) \
    X(GdipGetPathGradientBlendCount) X(GdipGetPathGradientBlend) X(GdipSetPathGradientBlend) \
    X(GdipGetPathGradientPresetBlendCount) X(GdipGetPathGradientPresetBlend) \
    X(GdipSetPathGradientPresetBlend) X(GdipSetPathGradientSigmaBlend) \
    X(GdipSetPathGradientLinearBlend) X(GdipGetPathGradientWrapMode) X(GdipSetPathGradientWrapMode) \
    X(GdipGetPathGradientTransform) X(GdipSetPathGradientTransform) \
    X(GdipResetPathGradientTransform) X(GdipMultiplyPathGradientTransform) \
    X(GdipTranslatePathGradientTransform) X(GdipScalePathGradientTransform) \
    X(GdipRotatePathGradientTransform) X(GdipGetPathGradientFocusScales) \
    X(GdipSetPathGradientFocusScales) \
    X(GdipCreatePen1) X(GdipCreatePen2) X(GdipClonePen) X(GdipDeletePen) X(GdipSetPenWidth) \
    X(GdipGetPenWidth) X(GdipSetPenLineCap197819) X(GdipSetPenStartCap) X(GdipSetPenEndCap) \
    X(GdipSetPenDashCap197819) X(GdipGetPenStartCap) X(GdipGetPenEndCap) X(GdipGetPenDashCap197819) \
    X(GdipSetPenLineJoin) X(GdipGetPenLineJoin) X(GdipSetPenCustomStartCap) \
    X(GdipGetPenCustomStartCap) X(GdipSetPenCustomEndCap) X(GdipGetPenCustomEndCap) \
    X(GdipSetPenMiterLimit) X(GdipGetPenMiterLimit) X(GdipSetPenMode) X(GdipGetPenMode) \
    X(GdipSetPenTransform) X(GdipGetPenTransform) X(GdipResetPenTransform) \
    X(GdipMultiplyPenTransform) X(GdipTranslatePenTransform) X(GdipScalePenTransform) \
    X(GdipRotatePenTransform) X(GdipSetPenColor) X(GdipGetPenColor) X(GdipSetPenBrushFill) \
    X(GdipGetPenBrushFill) X(GdipGetPenFillType) X(GdipGetPenDashStyle) X(GdipSetPenDashStyle) \
    X(GdipGetPenDashOffset) X(GdipSetPenDashOffset) X(GdipGetPenDashCount) X(GdipSetPenDashArray) \
    X(GdipGetPenDashArray) X(GdipGetPenCompoundCount) X(GdipSetPenCompoundArray) \
    X(GdipGetPenCompoundArray) \
    X(GdipCreateCustomLineCap) X(GdipDeleteCustomLineCap) X(GdipCloneCustomLineCap) \
    X(GdipSetCustomLineCapStrokeCaps) X(GdipGetCustomLineCapStrokeCaps) \
    X(GdipSetCustomLineCapStrokeJoin) X(GdipGetCustomLineCapStrokeJoin) \
    X(GdipSetCustomLineCapBaseCap) X(GdipGetCustomLineCapBaseCap) \
    X(GdipSetCustomLineCapBaseInset) X(GdipGetCustomLineCapBaseInset) \
    X(GdipSetCustomLineCapWidthScale) X(GdipGetCustomLineCapWidthScale) \
    X(GdipLoadImageFromStream) X(GdipLoadImageFromFile) X(GdipLoadImageFromStreamICM) \
    X(GdipLoadImageFromFileICM) X(GdipCloneImage) X(GdipDisposeImage) X(GdipSaveImageToFile) \
    X(GdipSaveImageToStream) X(GdipSaveAdd) X(GdipSaveAddImage) X(GdipGetImageGraphicsContext) \
    X(GdipGetImageBounds) X(GdipGetImageDimension) X(GdipGetImageType) X(GdipGetImageWidth) \
    X(GdipGetImageHeight) X(GdipGetImageHorizontalResolution) X(GdipGetImageVerticalResolution) \
    X(GdipGetImageFlags) X(GdipGetImageRawFormat) X(GdipGetImagePixelFormat) \
    X(GdipGetImageThumbnail) X(GdipGetEncoderParameterListSize) X(GdipGetEncoderParameterList) \
    X(GdipImageGetFrameDimensionsCount) X(GdipImageGetFrameDimensionsList) \
    X(GdipImageGetFrameCount) X(GdipImageSelectActiveFrame) X(GdipImageRotateFlip) \
    X(GdipGetImagePalette) X(GdipSetImagePalette) X(GdipGetImagePaletteSize) \
    X(GdipGetPropertyCount) X(GdipGetPropertyIdList) X(GdipGetPropertyItemSize) \
    X(GdipGetPropertyItem) X(GdipGetPropertySize) X(GdipGetAllPropertyItems) \
    X(GdipRemovePropertyItem) X(GdipSetPropertyItem) \
    X(GdipCreateBitmapFromStream) X(GdipCreateBitmapFromFile) X(GdipCreateBitmapFromStreamICM) \
    X(GdipCreateBitmapFromFileICM) X(GdipCreateBitmapFromScan0) X(GdipCreateBitmapFromGraphics) \
    X(GdipCreateBitmapFromGdiDib) X(GdipCreateBitmapFromHBITMAP) X(GdipCreateHBITMAPFromBitmap) \
    X(GdipCreateBitmapFromHICON) X(GdipCreateHICONFromBitmap) X(GdipCreateBitmapFromResource) \
    X(GdipCloneBitmapArea) X(GdipCloneBitmapAreaI) X(GdipBitmapLockBits) X(GdipBitmapUnlockBits) \
    X(GdipBitmapGetPixel) X(GdipBitmapSetPixel) X(GdipBitmapSetResolution) \
    X(GdipCreateImageAttributes) X(GdipCloneImageAttributes) X(GdipDisposeImageAttributes) \
    X(GdipSetImageAttributesToIdentity) X(GdipResetImageAttributes) \
    X(GdipSetImageAttributesColorMatrix) X(GdipSetImageAttributesThreshold) \
    X(GdipSetImageAttributesGamma) X(GdipSetImageAttributesNoOp) X(GdipSetImageAttributesColorKeys) \
    X(GdipSetImageAttributesOutputChannel) X(GdipSetImageAttributesOutputChannelColorProfile) \
    X(GdipSetImageAttributesRemapTable) X(GdipSetImageAttributesWrapMode) \
    X(GdipGetImageAttributesAdjustedPalette) \
    X(GdipFlush) X(GdipCreateFromHDC) X(GdipCreateFromHDC2) X(GdipCreateFromHWND) \
    X(GdipCreateFromHWNDICM) X(GdipDeleteGraphics) X(GdipGetDC) X(GdipReleaseDC) \
    X(GdipSetCompositingMode) X(GdipGetCompositingMode) X(GdipSetRenderingOrigin) \
    X(GdipGetRenderingOrigin) X(GdipSetCompositingQuality) X(GdipGetCompositingQuality) \
    X(GdipSetSmoothingMode) X(GdipGetSmoothingMode) X(GdipSetPixelOffsetMode) \
    X(GdipGetPixelOffsetMode) X(GdipSetTextRenderingHint) X(GdipGetTextRenderingHint) \
    X(GdipSetTextContrast) X(GdipGetTextContrast) X(GdipSetInterpolationMode) \
    X(GdipGetInterpolationMode) X(GdipSetWorldTransform) X(GdipResetWorldTransform) \
    X(GdipMultiplyWorldTransform) X(GdipTranslateWorldTransform) X(GdipScaleWorldTransform) \
    X(GdipRotateWorldTransform) X(GdipGetWorldTransform) X(GdipGetPageUnit) X(GdipGetPageScale) \
    X(GdipSetPageUnit) X(GdipSetPageScale) X(GdipGetDpiX) X(GdipGetDpiY) \
    X(GdipTransformPoints) X(GdipTransformPointsI) X(GdipGetNearestColor) \
    X(GdipDrawLine) X(GdipDrawLineI) X(GdipDrawLines) X(GdipDrawLinesI) X(GdipDrawArc) \
    X(GdipDrawArcI) X(GdipDrawBezier) X(GdipDrawBezierI) X(GdipDrawBeziers) X(GdipDrawBeziersI) \
    X(GdipDrawRectangle) X(GdipDrawRectangleI) X(GdipDrawRectangles) X(GdipDrawRectanglesI) \
    X(GdipDrawEllipse) X(GdipDrawEllipseI) X(GdipDrawPie) X(GdipDrawPieI) X(GdipDrawPolygon) \
    X(GdipDrawPolygonI) X(GdipDrawPath) X(GdipDrawCurve2) X(GdipDrawCurve2I) X(GdipDrawCurve3) \
    X(GdipDrawCurve3I) X(GdipDrawClosedCurve2) X(GdipDrawClosedCurve2I) X(GdipGraphicsClear) \
    X(GdipFillRectangle) X(GdipFillRectangleI) X(GdipFillRectangles) X(GdipFillRectanglesI) \
    X(GdipFillPolygon) X(GdipFillPolygonI) X(GdipFillEllipse) X(GdipFillEllipseI) X(GdipFillPie) \
    X(GdipFillPieI) X(GdipFillPath) X(GdipFillClosedCurve2) X(GdipFillClosedCurve2I) \
    X(GdipFillRegion) X(GdipDrawImage) X(GdipDrawImageI) X(GdipDrawImageRect) \
    X(GdipDrawImageRectI) X(GdipDrawImagePoints) X(GdipDrawImagePointsI) X(GdipDrawImagePointRect) \
    X(GdipDrawImagePointRectI) X(GdipDrawImageRectRect) X(GdipDrawImageRectRectI) \
    X(GdipDrawImagePointsRect) X(GdipDrawImagePointsRectI) \
    X(GdipSetClipGraphics) X(GdipSetClipRect) X(GdipSetClipRectI) X(GdipSetClipPath) \
    X(GdipSetClipRegion) X(GdipSetClipHrgn) X(GdipResetClip) X(GdipTranslateClip) \
    X(GdipTranslateClipI) X(GdipGetClip) X(GdipGetClipBounds) X(GdipGetClipBoundsI) \
    X(GdipIsClipEmpty) X(GdipGetVisibleClipBounds) X(GdipGetVisibleClipBoundsI) \
    X(GdipIsVisibleClipEmpty) X(GdipIsVisiblePoint) X(GdipIsVisiblePointI) X(GdipIsVisibleRect) \
    X(GdipIsVisibleRectI) X(GdipSaveGraphics) X(GdipRestoreGraphics) X(GdipBeginContainer) \
    X(GdipBeginContainerI) X(GdipBeginContainer2) X(GdipEndContainer) X(GdipComment) \
    X(GdipCreateFontFamilyFromName) X(GdipDeleteFontFamily) X(GdipCloneFontFamily) \
    X(GdipGetGenericFontFamilySansSerif) X(GdipGetGenericFontFamilySerif) \
    X(GdipGetGenericFontFamilyMonospace) X(GdipGetFamilyName) X(GdipIsStyleAvailable) \
    X(GdipGetEmHeight) X(GdipGetCellAscent) X(GdipGetCellDescent) X(GdipGetLineSpacing) \
    X(GdipCreateFontFromDC) X(GdipCreateFontFromLogfontA) X(GdipCreateFontFromLogfontW) \
    X(GdipCreateFont) X(GdipCloneFont) X(GdipDeleteFont) X(GdipGetFamily) X(GdipGetFontStyle) \
    X(GdipGetFontSize) X(GdipGetFontUnit) X(GdipGetFontHeight) X(GdipGetFontHeightGivenDPI) \
    X(GdipGetLogFontA) X(GdipGetLogFontW) X(GdipGetFontCollectionFamilyCount) \
    X(GdipGetFontCollectionFamilyList) \
    X(GdipDrawString) X(GdipMeasureString) X(GdipMeasureCharacterRanges) X(GdipDrawDriverString) \
    X(GdipMeasureDriverString) \
    X(GdipCreateStringFormat) X(GdipStringFormatGetGenericDefault) \
    X(GdipStringFormatGetGenericTypographic) X(GdipDeleteStringFormat) X(GdipCloneStringFormat) \
    X(GdipSetStringFormatFlags) X(GdipGetStringFormatFlags) X(GdipSetStringFormatAlign) \
    X(GdipGetStringFormatAlign) X(GdipSetStringFormatLineAlign) X(GdipGetStringFormatLineAlign) \
    X(GdipSetStringFormatTrimming) X(GdipGetStringFormatTrimming) \
    X(GdipSetStringFormatHotkeyPrefix) X(GdipGetStringFormatHotkeyPrefix) \
    X(GdipSetStringFormatTabStops) X(GdipGetStringFormatTabStops) \
    X(GdipGetStringFormatTabStopCount) X(GdipSetStringFormatDigitSubstitution) \
    X(GdipGetStringFormatDigitSubstitution) X(GdipGetStringFormatMeasurableCharacterRangeCount) \
    X(GdipSetStringFormatMeasurableCharacterRanges) \
    X(GdipCreateCachedBitmap) X(GdipDeleteCachedBitmap) X(GdipDrawCachedBitmap)

namespace AdvGDIPCore {

using TStatus = Gdiplus::Status;
using ARGB = Gdiplus::ARGB;
using PARGB = Gdiplus::ARGB*;
using TGPPointF = Gdiplus::PointF;
using TGPPoint = Gdiplus::Point;
using TGPRectF = Gdiplus::RectF;
using TGPRect = Gdiplus::Rect;
using TGPSizeF = Gdiplus::SizeF;
using PGPPointF = TGPPointF*;
using PGPPoint = TGPPoint*;
using TMatrixArray = std::array<Gdiplus::REAL, 6>;
using Unit_ = Gdiplus::Unit;
using Gdiplus::BitmapData;
using Gdiplus::CharacterRange;
using Gdiplus::ColorMap;
using Gdiplus::ColorMatrix;
using Gdiplus::ColorPalette;
using Gdiplus::EncoderParameters;
using Gdiplus::PropertyItem;
using TImageAbort = Gdiplus::DrawImageAbort;
using TGetThumbnailImageAbort = Gdiplus::GetThumbnailImageAbort;

// The GDI+ enumerations under their own names, and the records, in a family's namespace.
#define ADVGDIP_ENUM(type) using Gdiplus::type; using enum Gdiplus::type;
#define ADVGDIP_SHARED_NAMES \
    ADVGDIP_ENUM(FillMode) ADVGDIP_ENUM(CompositingMode) ADVGDIP_ENUM(CoordinateSpace) ADVGDIP_ENUM(WrapMode) \
    ADVGDIP_ENUM(HatchStyle) ADVGDIP_ENUM(DashStyle) ADVGDIP_ENUM(LineJoin) ADVGDIP_ENUM(WarpMode) \
    ADVGDIP_ENUM(LinearGradientMode) ADVGDIP_ENUM(CombineMode) ADVGDIP_ENUM(ImageType) ADVGDIP_ENUM(PenAlignment) \
    ADVGDIP_ENUM(BrushType) ADVGDIP_ENUM(MatrixOrder) ADVGDIP_ENUM(TextRenderingHint) ADVGDIP_ENUM(StringTrimming) \
    ADVGDIP_ENUM(StringDigitSubstitute) ADVGDIP_ENUM(HotkeyPrefix) ADVGDIP_ENUM(StringAlignment) \
    ADVGDIP_ENUM(FlushIntention) ADVGDIP_ENUM(ColorChannelFlags) ADVGDIP_ENUM(RotateFlipType) \
    ADVGDIP_ENUM(ColorMatrixFlags) ADVGDIP_ENUM(ColorAdjustType) ADVGDIP_ENUM(GpStatus) ADVGDIP_ENUM(Unit) \
    using AdvGDIPCore::ARGB; using AdvGDIPCore::PARGB; using AdvGDIPCore::TGPPointF; using AdvGDIPCore::TGPPoint; \
    using AdvGDIPCore::TGPRectF; using AdvGDIPCore::TGPRect; using AdvGDIPCore::TGPSizeF; using AdvGDIPCore::PGPPointF; \
    using AdvGDIPCore::PGPPoint; using AdvGDIPCore::TMatrixArray; using AdvGDIPCore::Unit_; \
    using AdvGDIPCore::ColorMatrix; using AdvGDIPCore::ColorMap; using AdvGDIPCore::ColorPalette; \
    using AdvGDIPCore::EncoderParameters; using AdvGDIPCore::BitmapData; using AdvGDIPCore::PropertyItem; \
    using AdvGDIPCore::CharacterRange; using AdvGDIPCore::TImageAbort;

// The flat API reached directly: the functions are imported when the program loads.
struct TImportCalls {
#define ADVGDIP_IMPORT_CALL(name) \
    template <class... A> static TStatus name(A&&... args) { \
        return Gdiplus::DllExports::name(std::forward<A>(args)...); \
    }
    ADVGDIP_FLAT_FUNCTIONS(ADVGDIP_IMPORT_CALL)
#undef ADVGDIP_IMPORT_CALL
};

// Font style bits of GDI+ from the GUI library's style set.
constexpr int FontStyleBits(bool bold, bool italic, bool underline, bool strikeOut) {
    return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strikeOut ? 8 : 0);
}

// Receives a native handle of a derived GDI+ type (a solid fill, a bitmap) and stores it
// in the wrapper's base-typed field when the call's full expression ends.
template <class D, class B>
class TOut {
public:
    explicit TOut(B*& slot) : FSlot(slot) {}
    ~TOut() { FSlot = FMade; }
    TOut(const TOut&) = delete;
    TOut& operator=(const TOut&) = delete;
    operator D**() { return &FMade; }
private:
    B*& FSlot;
    D* FMade = nullptr;
};

// The members every wrapper has: the status of the last failed call.
template <class R>
class TStatusCore : public R::TBase {
public:
    // The last-status field as it stands (callers read it right after a constructor).
    TStatus LastResult() const noexcept { return lastResult; }
protected:
    TStatusCore() = default;
    explicit TStatusCore(TStatus status) : lastResult(status) {}
    TStatus Keep(TStatus status) {
        if (status != Gdiplus::Ok) lastResult = status;
        return status;
    }
    // GetLastStatus: the field, reset to Ok.
    TStatus TakeStatus() {
        const TStatus status = lastResult;
        lastResult = Gdiplus::Ok;
        return status;
    }
    TStatus lastResult = Gdiplus::Ok;
};

template <class R> class TGraphicsCore;
template <class R> class TPathCore;
template <class R> class TPenCore;
template <class R> class TBrushCore;
template <class R, class B> class TSolidBrushCore;
template <class R, class B> class THatchBrushCore;
template <class R, class B> class TTextureBrushCore;
template <class R, class B> class TLinearBrushCore;
template <class R, class B> class TPathBrushCore;
template <class R> class TFontFamilyCore;
template <class R> class TFontCollectionCore;
template <class R> class TFontCore;
template <class R> class TStringFormatCore;
template <class R> class TImageCore;
template <class R, class B> class TBitmapCore;
template <class R> class TImageAttributesCore;
template <class R> class TRegionCore;
template <class R> class TMatrixCore;
template <class R> class TCustomLineCapCore;
template <class R> class TCachedBitmapCore;

// Cores read one another's native handles.
#define ADVGDIP_CORE_FRIENDS \
    template <class> friend class TGraphicsCore; template <class> friend class TPathCore; \
    template <class> friend class TPenCore; template <class> friend class TBrushCore; \
    template <class, class> friend class TSolidBrushCore; \
    template <class, class> friend class THatchBrushCore; \
    template <class, class> friend class TTextureBrushCore; \
    template <class, class> friend class TLinearBrushCore; \
    template <class, class> friend class TPathBrushCore; \
    template <class> friend class TFontFamilyCore; template <class> friend class TFontCollectionCore; \
    template <class> friend class TFontCore; template <class> friend class TStringFormatCore; \
    template <class> friend class TImageCore; template <class, class> friend class TBitmapCore; \
    template <class> friend class TImageAttributesCore; template <class> friend class TRegionCore; \
    template <class> friend class TMatrixCore; template <class> friend class TCustomLineCapCore; \
    template <class> friend class TCachedBitmapCore;

// A wrapper argument travels as its native handle; an absent one as null.
#define ADVGDIP_NATIVE(object, field) ((object) ? (object)->field : nullptr)

// ---------------------------------------------------------------------------------------
template <class R>
class TMatrixCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
    using S = TStatusCore<R>;
public:
    TMatrixCore() { this->lastResult = C::GdipCreateMatrix(&nativeMatrix); }
    TMatrixCore(float m11, float m12, float m21, float m22, float dx, float dy) {
        this->lastResult = C::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
    }
    // The rectangle onto the parallelogram of three points (top left, top right, bottom left).
    TMatrixCore(const TGPRectF& rect, const TGPPointF* dstplg) {
        this->lastResult = C::GdipCreateMatrix3(&rect, dstplg, &nativeMatrix);
    }
    TMatrixCore(const TGPRect& rect, const TGPPoint* dstplg) {
        this->lastResult = C::GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix);
    }
    explicit TMatrixCore(Gdiplus::GpMatrix* native) : nativeMatrix(native) {}
    ~TMatrixCore() { C::GdipDeleteMatrix(nativeMatrix); }
protected:

    typename R::TGPMatrix* Clone() {
        Gdiplus::GpMatrix* clone = nullptr;
        this->Keep(C::GdipCloneMatrix(nativeMatrix, &clone));
        if (this->lastResult != Gdiplus::Ok) {
            C::GdipDeleteMatrix(clone);
            return nullptr;
        }
        return new typename R::TGPMatrix(clone);
    }
    TStatus GetElements(TMatrixArray& m) { return this->Keep(C::GdipGetMatrixElements(nativeMatrix, m.data())); }
    TStatus SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
        return this->Keep(C::GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
    }
    float OffsetX() {
        TMatrixArray m{};
        return GetElements(m) == Gdiplus::Ok ? m[4] : 0.0f;
    }
    float OffsetY() {
        TMatrixArray m{};
        return GetElements(m) == Gdiplus::Ok ? m[5] : 0.0f;
    }
    TStatus Reset() { return SetElements(1, 0, 0, 1, 0, 0); }
    TStatus Multiply(const TMatrixCore* matrix, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipMultiplyMatrix(nativeMatrix, ADVGDIP_NATIVE(matrix, nativeMatrix), order));
    }
    TStatus Translate(float offsetX, float offsetY, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
    }
    TStatus Scale(float scaleX, float scaleY, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
    }
    TStatus Rotate(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipRotateMatrix(nativeMatrix, angle, order));
    }
    // Rotation about a point: move the point to the origin, turn, move back, in the
    // order that makes the steps apply that way round.
    TStatus RotateAt(float angle, const TGPPointF& center, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        const float sign = order == Gdiplus::MatrixOrderPrepend ? 1.0f : -1.0f;
        this->Keep(C::GdipTranslateMatrix(nativeMatrix, sign * center.X, sign * center.Y, order));
        this->Keep(C::GdipRotateMatrix(nativeMatrix, angle, order));
        return this->Keep(C::GdipTranslateMatrix(nativeMatrix, -sign * center.X, -sign * center.Y, order));
    }
    TStatus Shear(float shearX, float shearY, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipShearMatrix(nativeMatrix, shearX, shearY, order));
    }
    TStatus Invert() { return this->Keep(C::GdipInvertMatrix(nativeMatrix)); }
    TStatus TransformPoints(PGPPointF pts, int count = 1) {
        return this->Keep(C::GdipTransformMatrixPoints(nativeMatrix, pts, count));
    }
    TStatus TransformPoints(PGPPoint pts, int count = 1) {
        return this->Keep(C::GdipTransformMatrixPointsI(nativeMatrix, pts, count));
    }
    TStatus TransformVectors(PGPPointF pts, int count = 1) {
        return this->Keep(C::GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
    }
    TStatus TransformVectors(PGPPoint pts, int count = 1) {
        return this->Keep(C::GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
    }
    BOOL IsInvertible() {
        BOOL result = FALSE;
        this->Keep(C::GdipIsMatrixInvertible(nativeMatrix, &result));
        return result;
    }
    BOOL IsIdentity() {
        BOOL result = FALSE;
        this->Keep(C::GdipIsMatrixIdentity(nativeMatrix, &result));
        return result;
    }
    BOOL IsEqual(const TMatrixCore* matrix) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsMatrixEqual(nativeMatrix, ADVGDIP_NATIVE(matrix, nativeMatrix), &result));
        return result;
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpMatrix* nativeMatrix = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TRegionCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TRegionCore() { this->lastResult = C::GdipCreateRegion(&nativeRegion); }
    explicit TRegionCore(const TGPRectF& rect) { this->lastResult = C::GdipCreateRegionRect(&rect, &nativeRegion); }
    explicit TRegionCore(const TGPRect& rect) { this->lastResult = C::GdipCreateRegionRectI(&rect, &nativeRegion); }
    explicit TRegionCore(const TPathCore<R>* path) {
        this->lastResult = C::GdipCreateRegionPath(ADVGDIP_NATIVE(path, nativePath), &nativeRegion);
    }
    TRegionCore(const BYTE* regionData, int size) {
        this->lastResult = C::GdipCreateRegionRgnData(regionData, size, &nativeRegion);
    }
    TRegionCore(HRGN hRgn, int, int) { this->lastResult = C::GdipCreateRegionHrgn(hRgn, &nativeRegion); }
    explicit TRegionCore(Gdiplus::GpRegion* native) : nativeRegion(native) {}
    ~TRegionCore() { C::GdipDeleteRegion(nativeRegion); }
protected:

    static typename R::TGPRegion* FromHRGN(HRGN hRgn) {
        Gdiplus::GpRegion* region = nullptr;
        if (C::GdipCreateRegionHrgn(hRgn, &region) != Gdiplus::Ok) return nullptr;
        std::unique_ptr<Gdiplus::GpRegion, TRegionDeleter> owned(region);
        auto* result = new typename R::TGPRegion(owned.get());
        owned.release();
        return result;
    }
    typename R::TGPRegion* Clone() {
        Gdiplus::GpRegion* region = nullptr;
        this->Keep(C::GdipCloneRegion(nativeRegion, &region));
        return new typename R::TGPRegion(region);
    }
    TStatus MakeInfinite() { return this->Keep(C::GdipSetInfinite(nativeRegion)); }
    TStatus MakeEmpty() { return this->Keep(C::GdipSetEmpty(nativeRegion)); }
    UINT GetDataSize() {
        UINT size = 0;
        this->Keep(C::GdipGetRegionDataSize(nativeRegion, &size));
        return size;
    }
    TStatus GetData(BYTE* buffer, UINT bufferSize, UINT* sizeFilled = nullptr) {
        return this->Keep(C::GdipGetRegionData(nativeRegion, buffer, bufferSize, sizeFilled));
    }
    TStatus Combine(const TGPRect& rect, Gdiplus::CombineMode mode) {
        return this->Keep(C::GdipCombineRegionRectI(nativeRegion, &rect, mode));
    }
    TStatus Combine(const TGPRectF& rect, Gdiplus::CombineMode mode) {
        return this->Keep(C::GdipCombineRegionRect(nativeRegion, &rect, mode));
    }
    TStatus Combine(const TPathCore<R>* path, Gdiplus::CombineMode mode) {
        return this->Keep(C::GdipCombineRegionPath(nativeRegion, ADVGDIP_NATIVE(path, nativePath), mode));
    }
    TStatus Combine(const TRegionCore* region, Gdiplus::CombineMode mode) {
        return this->Keep(C::GdipCombineRegionRegion(nativeRegion, ADVGDIP_NATIVE(region, nativeRegion), mode));
    }
    template <class A> TStatus Intersect(const A& a) { return Combine(a, Gdiplus::CombineModeIntersect); }
    template <class A> TStatus Union(const A& a) { return Combine(a, Gdiplus::CombineModeUnion); }
    template <class A> TStatus Xor_(const A& a) { return Combine(a, Gdiplus::CombineModeXor); }
    template <class A> TStatus Exclude(const A& a) { return Combine(a, Gdiplus::CombineModeExclude); }
    template <class A> TStatus Complement(const A& a) { return Combine(a, Gdiplus::CombineModeComplement); }
    TStatus Translate(float dx, float dy) { return this->Keep(C::GdipTranslateRegion(nativeRegion, dx, dy)); }
    TStatus Translate(int dx, int dy) { return this->Keep(C::GdipTranslateRegionI(nativeRegion, dx, dy)); }
    TStatus Transform(const TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipTransformRegion(nativeRegion, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus GetBounds(TGPRect& rect, const TGraphicsCore<R>* g) {
        return this->Keep(C::GdipGetRegionBoundsI(nativeRegion, ADVGDIP_NATIVE(g, nativeGraphics), &rect));
    }
    TStatus GetBounds(TGPRectF& rect, const TGraphicsCore<R>* g) {
        return this->Keep(C::GdipGetRegionBounds(nativeRegion, ADVGDIP_NATIVE(g, nativeGraphics), &rect));
    }
    HRGN GetHRGN(const TGraphicsCore<R>* g) {
        HRGN result = nullptr;
        this->Keep(C::GdipGetRegionHRgn(nativeRegion, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsEmpty(const TGraphicsCore<R>* g) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsEmptyRegion(nativeRegion, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsInfinite(const TGraphicsCore<R>* g) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsInfiniteRegion(nativeRegion, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsEqual(const TRegionCore* region, const TGraphicsCore<R>* g) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsEqualRegion(nativeRegion, ADVGDIP_NATIVE(region, nativeRegion),
                                        ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(float x, float y, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRegionPoint(nativeRegion, x, y, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(int x, int y, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRegionPointI(nativeRegion, x, y, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(const TGPPointF& p, const TGraphicsCore<R>* g = nullptr) { return IsVisible(p.X, p.Y, g); }
    BOOL IsVisible(const TGPPoint& p, const TGraphicsCore<R>* g = nullptr) { return IsVisible(p.X, p.Y, g); }
    BOOL IsVisible(float x, float y, float w, float h, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRegionRect(nativeRegion, x, y, w, h, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(int x, int y, int w, int h, const TGraphicsCore<R>* g = nullptr) {
        BOOL result = FALSE;
        this->Keep(C::GdipIsVisibleRegionRectI(nativeRegion, x, y, w, h, ADVGDIP_NATIVE(g, nativeGraphics), &result));
        return result;
    }
    BOOL IsVisible(const TGPRectF& r, const TGraphicsCore<R>* g = nullptr) { return IsVisible(r.X, r.Y, r.Width, r.Height, g); }
    BOOL IsVisible(const TGPRect& r, const TGraphicsCore<R>* g = nullptr) { return IsVisible(r.X, r.Y, r.Width, r.Height, g); }
    UINT GetRegionScansCount(const TMatrixCore<R>* matrix) {
        UINT count = 0;
        this->Keep(C::GdipGetRegionScansCount(nativeRegion, &count, ADVGDIP_NATIVE(matrix, nativeMatrix)));
        return count;
    }
    TStatus GetRegionScans(const TMatrixCore<R>* matrix, TGPRectF* rects, int& count) {
        return this->Keep(C::GdipGetRegionScans(nativeRegion, rects, &count, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus GetRegionScans(const TMatrixCore<R>* matrix, TGPRect* rects, int& count) {
        return this->Keep(C::GdipGetRegionScansI(nativeRegion, rects, &count, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpRegion* nativeRegion = nullptr;
private:
    struct TRegionDeleter {
        void operator()(Gdiplus::GpRegion* region) const noexcept { C::GdipDeleteRegion(region); }
    };
};

}  // namespace AdvGDIPCore

#include "graphics/AdvGDIPCoreDraw.h"
