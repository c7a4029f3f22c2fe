#pragma once
// The GDI+ wrapper classes of the vector drawing context, calling GDI+ only through the
// table bound at run time (AdvGDIPlusApi). Distinct types from AdvGDIP's; never mixed.
#include <windows.h>

#include <memory>
#include <string>

#include "graphics/AdvGDIPlusApi.h"

namespace AdvGDIPlusClasses {

class TGPGraphics; class TGPGraphicsPath; class TGPPen; class TGPBrush; class TGPSolidBrush;
class TGPHatchBrush; class TGPTextureBrush; class TGPLinearGradientBrush; class TGPPathGradientBrush;
class TGPFont; class TGPFontFamily; class TGPFontCollection; class TGPStringFormat; class TGPImage;
class TGPBitmap; class TGPImageAttributes; class TGPRegion; class TGPMatrix; class TGPCustomLineCap;
class TGPCachedBitmap;

struct TTableRules {
    using Calls = AdvGDIPlusApi::TTableCalls;
    using TBase = AdvGDIPlusApi::TGdiplusBase;
    using TGPBrush = AdvGDIPlusClasses::TGPBrush;
    using TGPSolidBrush = AdvGDIPlusClasses::TGPSolidBrush;
    using TGPHatchBrush = AdvGDIPlusClasses::TGPHatchBrush;
    using TGPTextureBrush = AdvGDIPlusClasses::TGPTextureBrush;
    using TGPLinearGradientBrush = AdvGDIPlusClasses::TGPLinearGradientBrush;
    using TGPImage = AdvGDIPlusClasses::TGPImage;
    using TGPBitmap = AdvGDIPlusClasses::TGPBitmap;
    using TGPImageAttributes = AdvGDIPlusClasses::TGPImageAttributes;
    using TGPMatrix = AdvGDIPlusClasses::TGPMatrix;
    using TGPRegion = AdvGDIPlusClasses::TGPRegion;
    using TGPPen = AdvGDIPlusClasses::TGPPen;
    using TGPFont = AdvGDIPlusClasses::TGPFont;
    using TGPFontFamily = AdvGDIPlusClasses::TGPFontFamily;
    using TGPStringFormat = AdvGDIPlusClasses::TGPStringFormat;
    using TGPGraphicsPath = AdvGDIPlusClasses::TGPGraphicsPath;
    using TGPCustomLineCap = AdvGDIPlusClasses::TGPCustomLineCap;
    static constexpr bool DrawStringUsesLength = true;
    static constexpr bool LinearPenBrushIsOk = true;
    static constexpr bool FontStatusResets = false;
    static constexpr bool GenericStatusKept = true;
};

using Status = AdvGDIPlusApi::Status;
using AdvGDIPlusApi::ARGB;
using AdvGDIPlusApi::TGPPointF;
using AdvGDIPlusApi::TGPPoint;
using AdvGDIPlusApi::TGPRectF;
using AdvGDIPlusApi::TGPRect;
using AdvGDIPlusApi::TGPSizeF;
using AdvGDIPlusApi::Unit_;

class TGPRegion : public AdvGDIPCore::TRegionCore<TTableRules> {
    using Base = AdvGDIPCore::TRegionCore<TTableRules>;
public:
    using Base::Base;
    TGPRegion() = default;
    using Base::FromHRGN; using Base::Clone; using Base::MakeInfinite; using Base::MakeEmpty;
    using Base::GetDataSize; using Base::GetData; using Base::Intersect; using Base::Union; using Base::Xor_;
    using Base::Exclude; using Base::Complement; using Base::Translate; using Base::Transform;
    using Base::GetBounds; using Base::GetHRGN; using Base::IsEmpty; using Base::IsInfinite;
    using Base::IsVisible; using Base::IsEqual; using Base::GetRegionScansCount; using Base::GetRegionScans;
    using Base::GetLastStatus;
};

class TGPMatrix : public AdvGDIPCore::TMatrixCore<TTableRules> {
    using Base = AdvGDIPCore::TMatrixCore<TTableRules>;
public:
    using Base::Base;
    TGPMatrix() = default;
    using Base::Clone; using Base::GetElements; using Base::SetElements; using Base::OffsetX;
    using Base::OffsetY; using Base::Reset; using Base::Multiply; using Base::Translate; using Base::Scale;
    using Base::Rotate; using Base::RotateAt; using Base::Shear; using Base::Invert;
    using Base::TransformPoints; using Base::TransformVectors; using Base::IsInvertible;
    using Base::IsIdentity; using Base::IsEqual; using Base::GetLastStatus;
};

class TGPImageAttributes : public AdvGDIPCore::TImageAttributesCore<TTableRules> {
    using Base = AdvGDIPCore::TImageAttributesCore<TTableRules>;
public:
    using Base::Base;
};

class TGPFontCollection : public AdvGDIPCore::TFontCollectionCore<TTableRules> {
    using Base = AdvGDIPCore::TFontCollectionCore<TTableRules>;
public:
    TGPFontCollection() = default;
    using Base::GetFamilyCount; using Base::GetFamilies; using Base::GetLastStatus;
};

class TGPFontFamily : public AdvGDIPCore::TFontFamilyCore<TTableRules> {
    using Base = AdvGDIPCore::TFontFamilyCore<TTableRules>;
public:
    using Base::Base;
    TGPFontFamily() = default;
    // Shared, created on first use, freed when the family shuts down.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();
    using Base::GetFamilyName; using Base::Clone; using Base::IsAvailable; using Base::IsStyleAvailable;
    using Base::GetEmHeight; using Base::GetCellAscent; using Base::GetCellDescent; using Base::GetLineSpacing;
    using Base::GetLastStatus;
    using Base::lastResult;
};

class TGPFont : public AdvGDIPCore::TFontCore<TTableRules> {
    using Base = AdvGDIPCore::TFontCore<TTableRules>;
public:
    using Base::Base;
    // An unknown family falls back to the generic sans-serif one, and so does a failed
    // creation.
    TGPFont(const wchar_t* familyName, float emSize, int style = 0, Unit_ unit = Gdiplus::UnitPoint,
            const TGPFontCollection* fontCollection = nullptr);
    using Base::GetLogFontA; using Base::GetLogFontW; using Base::Clone; using Base::IsAvailable;
    using Base::GetStyle; using Base::GetSize; using Base::GetUnit; using Base::GetHeight; using Base::GetFamily;
    // Keeps the failure: a second call answers the same.
    using Base::GetLastStatus;
};

class TGPBrush : public AdvGDIPCore::TBrushCore<TTableRules> {
    using Base = AdvGDIPCore::TBrushCore<TTableRules>;
public:
    using Base::Base;
    TGPBrush() = default;
    // Always a plain brush carrying the clone's status.
    virtual TGPBrush* Clone() { return CloneBrush(); }
    using Base::GetType; using Base::GetLastStatus;
};

class TGPSolidBrush : public AdvGDIPCore::TSolidBrushCore<TTableRules, TGPBrush> {
    using Base = AdvGDIPCore::TSolidBrushCore<TTableRules, TGPBrush>;
public:
    using Base::Base;
    TGPSolidBrush() = default;
    using Base::GetColor; using Base::SetColor;
};

class TGPHatchBrush : public AdvGDIPCore::THatchBrushCore<TTableRules, TGPBrush> {
    using Base = AdvGDIPCore::THatchBrushCore<TTableRules, TGPBrush>;
public:
    using Base::Base;
    TGPHatchBrush() = default;
    using Base::GetHatchStyle; using Base::GetForegroundColor; using Base::GetBackgroundColor;
};

class TGPTextureBrush : public AdvGDIPCore::TTextureBrushCore<TTableRules, TGPBrush> {
    using Base = AdvGDIPCore::TTextureBrushCore<TTableRules, TGPBrush>;
public:
    using Base::Base;
    TGPTextureBrush() = default;
    using Base::SetTransform; using Base::GetTransform; using Base::ResetTransform;
    using Base::MultiplyTransform; using Base::TranslateTransform; using Base::ScaleTransform;
    using Base::RotateTransform; using Base::SetWrapMode; using Base::GetWrapMode; using Base::GetImage;
};

class TGPLinearGradientBrush : public AdvGDIPCore::TLinearBrushCore<TTableRules, TGPBrush> {
    using Base = AdvGDIPCore::TLinearBrushCore<TTableRules, TGPBrush>;
public:
    using Base::Base;
    TGPLinearGradientBrush() = default;
    using Base::SetLinearColors; using Base::GetLinearColors; using Base::GetRectangle;
    using Base::SetGammaCorrection; using Base::GetGammaCorrection; using Base::GetBlendCount;
    using Base::SetBlend; using Base::GetBlend; using Base::GetInterpolationColorCount;
    using Base::SetInterpolationColors; using Base::GetInterpolationColors; using Base::SetBlendBellShape;
    using Base::SetBlendTriangularShape; using Base::SetTransform; using Base::GetTransform;
    using Base::ResetTransform; using Base::MultiplyTransform; using Base::TranslateTransform;
    using Base::ScaleTransform; using Base::RotateTransform; using Base::SetWrapMode; using Base::GetWrapMode;
};

class TGPPathGradientBrush : public AdvGDIPCore::TPathBrushCore<TTableRules, TGPBrush> {
    using Base = AdvGDIPCore::TPathBrushCore<TTableRules, TGPBrush>;
public:
    using Base::Base;
    using Base::GetCenterColor; using Base::SetCenterColor; using Base::GetPointCount;
    using Base::GetSurroundColorCount; using Base::GetSurroundColors; using Base::SetSurroundColors;
    using Base::GetGraphicsPath; using Base::SetGraphicsPath; using Base::GetCenterPoint;
    using Base::SetCenterPoint; using Base::GetRectangle; using Base::SetGammaCorrection;
    using Base::GetGammaCorrection; using Base::GetBlendCount; using Base::GetBlend; using Base::SetBlend;
    using Base::GetInterpolationColorCount; using Base::SetInterpolationColors;
    using Base::GetInterpolationColors; using Base::SetBlendBellShape; using Base::SetBlendTriangularShape;
    using Base::GetTransform; using Base::SetTransform; using Base::ResetTransform;
    using Base::MultiplyTransform; using Base::TranslateTransform; using Base::ScaleTransform;
    using Base::RotateTransform; using Base::GetFocusScales; using Base::SetFocusScales;
    using Base::GetWrapMode; using Base::SetWrapMode;
};

class TGPCustomLineCap : public AdvGDIPCore::TCustomLineCapCore<TTableRules> {
    using Base = AdvGDIPCore::TCustomLineCapCore<TTableRules>;
public:
    using Base::Base;
    using Base::Clone; using Base::SetStrokeCap; using Base::SetStrokeCaps; using Base::GetStrokeCaps;
    using Base::SetStrokeJoin; using Base::GetStrokeJoin; using Base::SetBaseCap; using Base::GetBaseCap;
    using Base::SetBaseInset; using Base::GetBaseInset; using Base::SetWidthScale; using Base::GetWidthScale;
    using Base::GetLastStatus;
};

class TGPPen : public AdvGDIPCore::TPenCore<TTableRules> {
    using Base = AdvGDIPCore::TPenCore<TTableRules>;
public:
    using Base::Base;
    using Base::Clone; using Base::SetWidth; using Base::GetWidth; using Base::SetLineCap;
    using Base::SetStartCap; using Base::SetEndCap; using Base::SetDashCap; using Base::GetStartCap;
    using Base::GetEndCap; using Base::GetDashCap; using Base::SetLineJoin; using Base::GetLineJoin;
    using Base::SetCustomStartCap; using Base::GetCustomStartCap; using Base::SetCustomEndCap;
    using Base::GetCustomEndCap; using Base::SetMiterLimit; using Base::GetMiterLimit;
    using Base::SetAlignment; using Base::GetAlignment; using Base::SetTransform; using Base::GetTransform;
    using Base::ResetTransform; using Base::MultiplyTransform; using Base::TranslateTransform;
    using Base::ScaleTransform; using Base::RotateTransform; using Base::GetPenType; using Base::SetColor;
    using Base::SetBrush; using Base::GetColor; using Base::GetBrush; using Base::GetDashStyle;
    using Base::SetDashStyle; using Base::GetDashOffset; using Base::SetDashOffset; using Base::SetDashPattern;
    using Base::GetDashPatternCount; using Base::GetDashPattern; using Base::SetCompoundArray;
    using Base::GetCompoundArrayCount; using Base::GetCompoundArray; using Base::GetLastStatus;
};

class TGPStringFormat : public AdvGDIPCore::TStringFormatCore<TTableRules> {
    using Base = AdvGDIPCore::TStringFormatCore<TTableRules>;
public:
    using Base::Base;
    // Shared, created on first use, freed when the family shuts down.
    static TGPStringFormat* GenericDefault();
    static TGPStringFormat* GenericTypographic();
    using Base::Clone; using Base::SetFormatFlags; using Base::GetFormatFlags; using Base::SetAlignment;
    using Base::GetAlignment; using Base::SetLineAlignment; using Base::GetLineAlignment;
    using Base::SetHotkeyPrefix; using Base::GetHotkeyPrefix; using Base::SetTabStops;
    using Base::GetTabStopCount; using Base::GetTabStops; using Base::SetDigitSubstitution;
    using Base::GetDigitSubstitutionLanguage; using Base::GetDigitSubstitutionMethod; using Base::SetTrimming;
    using Base::GetTrimming; using Base::SetMeasurableCharacterRanges;
    using Base::GetMeasurableCharacterRangeCount; using Base::GetLastStatus;
};

class TGPGraphicsPath : public AdvGDIPCore::TPathCore<TTableRules> {
    using Base = AdvGDIPCore::TPathCore<TTableRules>;
public:
    using Base::Base;
    TGPGraphicsPath() = default;
    using Base::Clone; using Base::Reset; using Base::GetFillMode; using Base::SetFillMode;
    Status GetPathData(AdvGDIPlusApi::TPathData* pathData) { return Base::GetPathData(pathData); }
    using Base::StartFigure; using Base::CloseFigure; using Base::CloseAllFigures; using Base::SetMarker;
    using Base::ClearMarkers; using Base::Reverse; using Base::GetLastPoint; using Base::AddLine;
    using Base::AddLines; using Base::AddArc; using Base::AddBezier; using Base::AddBeziers; using Base::AddCurve;
    using Base::AddClosedCurve; using Base::AddRectangle; using Base::AddRectangles; using Base::AddEllipse;
    using Base::AddPie; using Base::AddPolygon; using Base::AddPath; using Base::AddString; using Base::Transform;
    using Base::GetBounds; using Base::Flatten; using Base::Widen; using Base::Outline; using Base::Warp;
    using Base::GetPointCount; using Base::GetPathTypes; using Base::GetPathPoints; using Base::IsVisible;
    using Base::IsOutlineVisible; using Base::GetLastStatus;
};

class TGPImage : public AdvGDIPCore::TImageCore<TTableRules> {
    using Base = AdvGDIPCore::TImageCore<TTableRules>;
public:
    using Base::Base;
    static TGPImage* FromFile(const wchar_t* filename, bool useEmbeddedColorManagement = false) {
        return new TGPImage(filename, useEmbeddedColorManagement);
    }
    static TGPImage* FromStream(IStream* stream, bool useEmbeddedColorManagement = false) {
        return new TGPImage(stream, useEmbeddedColorManagement);
    }
    using Base::Clone; using Base::Save; using Base::SaveAdd; using Base::GetType; using Base::GetPhysicalDimension;
    using Base::GetBounds; using Base::GetWidth; using Base::GetHeight; using Base::GetHorizontalResolution;
    using Base::GetVerticalResolution; using Base::GetFlags; using Base::GetRawFormat; using Base::GetPixelFormat;
    using Base::GetPaletteSize; using Base::GetPalette; using Base::SetPalette; using Base::GetThumbnailImage;
    using Base::GetFrameDimensionsCount; using Base::GetFrameDimensionsList; using Base::GetFrameCount;
    using Base::SelectActiveFrame; using Base::RotateFlip; using Base::GetPropertyCount; using Base::GetPropertyIdList;
    using Base::GetPropertyItemSize; using Base::GetPropertyItem; using Base::GetPropertySize;
    using Base::GetAllPropertyItems; using Base::RemovePropertyItem; using Base::SetPropertyItem;
    using Base::GetEncoderParameterListSize; using Base::GetEncoderParameterList; using Base::GetLastStatus;
protected:
    TGPImage() = default;
};

class TGPBitmap : public AdvGDIPCore::TBitmapCore<TTableRules, TGPImage> {
    using Base = AdvGDIPCore::TBitmapCore<TTableRules, TGPImage>;
public:
    using Base::Base;
    static TGPBitmap* FromFile(const wchar_t* filename, bool useEmbeddedColorManagement = false) {
        return new TGPBitmap(filename, useEmbeddedColorManagement);
    }
    static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false) {
        return new TGPBitmap(stream, useEmbeddedColorManagement);
    }
    static TGPBitmap* FromBITMAPINFO(const BITMAPINFO* gdiBitmapInfo, void* gdiBitmapData) {
        return new TGPBitmap(gdiBitmapInfo, gdiBitmapData);
    }
    static TGPBitmap* FromHBITMAP(HBITMAP hbm, HPALETTE hpal) { return new TGPBitmap(hbm, hpal); }
    static TGPBitmap* FromHICON(HICON hicon) { return new TGPBitmap(hicon, 0); }
    static TGPBitmap* FromResource(HINSTANCE hInstance, const wchar_t* bitmapName) {
        return new TGPBitmap(hInstance, bitmapName);
    }
    // Areas of this bitmap; null when the copy fails.
    template <class... A> TGPBitmap* Clone(A... args) { return Base::CloneArea(args...); }
    using Base::LockBits; using Base::UnlockBits; using Base::GetPixel; using Base::SetPixel;
    using Base::SetResolution; using Base::GetHBITMAP; using Base::GetHICON;
};

class TGPCachedBitmap : public AdvGDIPCore::TCachedBitmapCore<TTableRules> {
    using Base = AdvGDIPCore::TCachedBitmapCore<TTableRules>;
public:
    using Base::Base;
    using Base::GetLastStatus;
};

class TGPGraphics : public AdvGDIPCore::TGraphicsCore<TTableRules> {
    using Base = AdvGDIPCore::TGraphicsCore<TTableRules>;
public:
    using Base::Base;
    static TGPGraphics* FromHDC(HDC hdc) { return new TGPGraphics(hdc); }
    static TGPGraphics* FromHDC(HDC hdc, HANDLE hdevice) { return new TGPGraphics(hdc, hdevice); }
    static TGPGraphics* FromHWND(HWND hwnd, BOOL icm = FALSE) { return new TGPGraphics(hwnd, icm); }
    static TGPGraphics* FromImage(const TGPImage* image) { return new TGPGraphics(image); }
    using Base::Flush; using Base::GetHDC; using Base::ReleaseHDC; using Base::SetRenderingOrigin;
    using Base::GetRenderingOrigin; using Base::SetCompositingMode; using Base::GetCompositingMode;
    using Base::SetCompositingQuality; using Base::GetCompositingQuality; using Base::SetTextRenderingHint;
    using Base::GetTextRenderingHint; using Base::SetTextContrast; using Base::GetTextContrast;
    using Base::GetInterpolationMode; using Base::SetInterpolationMode; using Base::GetSmoothingMode;
    using Base::SetSmoothingMode; using Base::GetPixelOffsetMode; using Base::SetPixelOffsetMode;
    using Base::SetTransform; using Base::ResetTransform; using Base::MultiplyTransform;
    using Base::TranslateTransform; using Base::ScaleTransform; using Base::RotateTransform;
    using Base::GetTransform; using Base::SetPageUnit; using Base::SetPageScale; using Base::GetPageUnit;
    using Base::GetPageScale; using Base::GetDpiX; using Base::GetDpiY; using Base::TransformPoints;
    using Base::GetNearestColor; using Base::DrawLine; using Base::DrawLines; using Base::DrawArc;
    using Base::DrawBezier; using Base::DrawBeziers; using Base::DrawRectangle; using Base::DrawRectangles;
    using Base::DrawEllipse; using Base::DrawPie; using Base::DrawPolygon; using Base::DrawPath;
    using Base::DrawCurve; using Base::DrawClosedCurve; using Base::Clear; using Base::FillRectangle;
    using Base::FillRectangles; using Base::FillPolygon; using Base::FillEllipse; using Base::FillPie;
    using Base::FillPath; using Base::FillClosedCurve; using Base::FillRegion; using Base::DrawString;
    using Base::MeasureString; using Base::MeasureCharacterRanges; using Base::DrawDriverString;
    using Base::MeasureDriverString; using Base::DrawCachedBitmap; using Base::DrawImage; using Base::SetClip;
    using Base::IntersectClip; using Base::ExcludeClip; using Base::ResetClip; using Base::TranslateClip;
    using Base::GetClip; using Base::GetClipBounds; using Base::IsClipEmpty; using Base::GetVisibleClipBounds;
    using Base::IsVisibleClipEmpty; using Base::IsVisible; using Base::Save; using Base::Restore;
    using Base::BeginContainer; using Base::EndContainer; using Base::AddMetafileComment; using Base::GetLastStatus;
};

// The family's GDI+ session through the table (background thread allowed); skipped
// when no library is loaded. ShutDown also frees the generic families and formats.
void StartUp();
void ShutDown();

}  // namespace AdvGDIPlusClasses
