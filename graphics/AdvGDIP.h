#pragma once
// The GDI+ wrapper classes the controls draw with, over the flat API imported when the
// program loads; process-wide drawing flags of the ribbon-style controls; colour helpers.
#include <windows.h>

#include <memory>
#include <string>

#include "graphics/AdvGDIPCore.h"

#include "classlib/GdiObjects.h"
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TControl;
}

namespace AdvGDIP {

ADVGDIP_SHARED_NAMES
using TStatus = Gdiplus::Status;

enum TGPImageFormat { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

// Root of the family: instances live in memory from GDI+'s allocator. When it gives
// nothing, GDI+ is started and asked once more; then std::bad_alloc.
class TGdiplusBase {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* object) noexcept;
protected:
    TGdiplusBase() = default;
    ~TGdiplusBase() = default;
};

class TGPGraphics; class TGPGraphicsPath; class TGPPen; class TGPBrush; class TGPSolidBrush;
class TGPHatchBrush; class TGPTextureBrush; class TGPLinearGradientBrush; class TGPPathGradientBrush;
class TGPFont; class TGPFontFamily; class TGPFontCollection; class TGPStringFormat; class TGPImage;
class TGPBitmap; class TGPImageAttributes; class TGPRegion; class TGPMatrix;

struct TStaticRules {
    using Calls = AdvGDIPCore::TImportCalls;
    using TBase = TGdiplusBase;
    using TGPBrush = AdvGDIP::TGPBrush;
    using TGPSolidBrush = AdvGDIP::TGPSolidBrush;
    using TGPHatchBrush = AdvGDIP::TGPHatchBrush;
    using TGPTextureBrush = AdvGDIP::TGPTextureBrush;
    using TGPLinearGradientBrush = AdvGDIP::TGPLinearGradientBrush;
    using TGPImage = AdvGDIP::TGPImage;
    using TGPBitmap = AdvGDIP::TGPBitmap;
    using TGPImageAttributes = AdvGDIP::TGPImageAttributes;
    using TGPMatrix = AdvGDIP::TGPMatrix;
    using TGPRegion = AdvGDIP::TGPRegion;
    using TGPPen = AdvGDIP::TGPPen;
    using TGPFont = AdvGDIP::TGPFont;
    using TGPFontFamily = AdvGDIP::TGPFontFamily;
    using TGPStringFormat = AdvGDIP::TGPStringFormat;
    using TGPGraphicsPath = AdvGDIP::TGPGraphicsPath;
    using TGPCustomLineCap = void;
    static constexpr bool DrawStringUsesLength = false;
    static constexpr bool LinearPenBrushIsOk = false;
    static constexpr bool FontStatusResets = true;
    static constexpr bool GenericStatusKept = false;
};

class TGPRegion : public AdvGDIPCore::TRegionCore<TStaticRules> {
    using Base = AdvGDIPCore::TRegionCore<TStaticRules>;
public:
    explicit TGPRegion(const TGPRectF& rect) : Base(rect) {}
    explicit TGPRegion(const TGPGraphicsPath* path);
    static TGPRegion* CreateFromPath(const TGPGraphicsPath* path) { return new TGPRegion(path); }
    explicit TGPRegion(Gdiplus::GpRegion* native) : Base(native) {}
    TStatus Exclude(const TGPGraphicsPath* path);
    TStatus Union(const TGPRegion* region) { return Base::Union(static_cast<const Base*>(region)); }
};

class TGPImageAttributes : public AdvGDIPCore::TImageAttributesCore<TStaticRules> {
    using Base = AdvGDIPCore::TImageAttributesCore<TStaticRules>;
public:
    using Base::Base;
};

class TGPFontCollection : public AdvGDIPCore::TFontCollectionCore<TStaticRules> {
public:
    TGPFontCollection() = default;
};

class TGPFontFamily : public AdvGDIPCore::TFontFamilyCore<TStaticRules> {
    using Base = AdvGDIPCore::TFontFamilyCore<TStaticRules>;
public:
    using Base::Base;
    TGPFontFamily(const std::wstring& name, const TGPFontCollection* fontCollection)
        : Base(name.c_str(), fontCollection) {}
    // Shared by the whole process and never freed.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();
    using Base::GetFamilyName;
    // Callers read this right after construction to learn whether the family exists.
    using Base::lastResult;
};

class TGPFont : public AdvGDIPCore::TFontCore<TStaticRules> {
    using Base = AdvGDIPCore::TFontCore<TStaticRules>;
public:
    TGPFont(const TGPFontFamily* family, float emSize, int style = 0, Unit_ unit = UnitPoint)
        : Base(family, emSize, style, unit) {}
    // An unknown family falls back to the generic sans-serif one.
    TGPFont(const std::wstring& familyName, float emSize, ClassLib::TFontStyles style, Unit_ unit = UnitPoint,
            const TGPFontCollection* fontCollection = nullptr);
    TGPFont(Gdiplus::GpFont* native, TStatus status) : Base(native, status) {}
    using Base::GetSize; using Base::GetStyle; using Base::GetFamily;
};

class TGPBrush : public AdvGDIPCore::TBrushCore<TStaticRules> {
    using Base = AdvGDIPCore::TBrushCore<TStaticRules>;
public:
    using Base::Base;
};

class TGPSolidBrush : public AdvGDIPCore::TSolidBrushCore<TStaticRules, TGPBrush> {
    using Base = AdvGDIPCore::TSolidBrushCore<TStaticRules, TGPBrush>;
public:
    using Base::Base;
};

class TGPHatchBrush : public AdvGDIPCore::THatchBrushCore<TStaticRules, TGPBrush> {
    using Base = AdvGDIPCore::THatchBrushCore<TStaticRules, TGPBrush>;
public:
    using Base::Base;
    using Base::GetHatchStyle; using Base::GetForegroundColor; using Base::GetBackgroundColor;
};

class TGPTextureBrush : public AdvGDIPCore::TTextureBrushCore<TStaticRules, TGPBrush> {
    using Base = AdvGDIPCore::TTextureBrushCore<TStaticRules, TGPBrush>;
public:
    using Base::Base;
    using Base::ResetTransform; using Base::TranslateTransform; using Base::ScaleTransform;
    using Base::RotateTransform; using Base::SetWrapMode; using Base::GetWrapMode; using Base::GetImage;
};

class TGPLinearGradientBrush : public AdvGDIPCore::TLinearBrushCore<TStaticRules, TGPBrush> {
    using Base = AdvGDIPCore::TLinearBrushCore<TStaticRules, TGPBrush>;
public:
    using Base::Base;
    using Base::SetGammaCorrection; using Base::SetInterpolationColors;
};

class TGPPathGradientBrush : public AdvGDIPCore::TPathBrushCore<TStaticRules, TGPBrush> {
    using Base = AdvGDIPCore::TPathBrushCore<TStaticRules, TGPBrush>;
public:
    using Base::Base;
    using Base::GetCenterColor; using Base::SetCenterColor; using Base::GetPointCount;
    using Base::SetSurroundColors; using Base::GetSurroundColors; using Base::GetCenterPoint;
    using Base::SetCenterPoint; using Base::SetGammaCorrection; using Base::SetWrapMode;
    using Base::SetInterpolationColors;
};

class TGPPen : public AdvGDIPCore::TPenCore<TStaticRules> {
    using Base = AdvGDIPCore::TPenCore<TStaticRules>;
public:
    using Base::Base;
    using Base::SetDashStyle; using Base::GetDashStyle; using Base::SetEndCap; using Base::SetBrush;
    using Base::GetPenType; using Base::GetBrush;
};

class TGPStringFormat : public AdvGDIPCore::TStringFormatCore<TStaticRules> {
    using Base = AdvGDIPCore::TStringFormatCore<TStaticRules>;
public:
    using Base::Base;
    using Base::SetAlignment; using Base::GetAlignment; using Base::SetLineAlignment;
    using Base::GetLineAlignment; using Base::SetTrimming; using Base::GetTrimming;
    using Base::SetFormatFlags; using Base::GetFormatFlags; using Base::SetHotkeyPrefix;
    using Base::GetHotkeyPrefix;
};

class TGPGraphicsPath : public AdvGDIPCore::TPathCore<TStaticRules> {
    using Base = AdvGDIPCore::TPathCore<TStaticRules>;
public:
    using Base::Base;
    using Base::Reset; using Base::CloseFigure; using Base::AddLine; using Base::AddLines;
    using Base::AddArc; using Base::AddPie; using Base::AddEllipse; using Base::AddRectangle;
    using Base::AddBezier; using Base::AddPolygon; using Base::AddCurve; using Base::AddString;
    using Base::GetPointCount; using Base::GetPathPoints; using Base::GetPathTypes; using Base::GetBounds;
};

class TGPImage : public AdvGDIPCore::TImageCore<TStaticRules> {
    using Base = AdvGDIPCore::TImageCore<TStaticRules>;
public:
    using Base::Base;
    TGPImage(const std::wstring& filename, bool useEmbeddedColorManagement = false)
        : Base(filename.c_str(), useEmbeddedColorManagement) {}
    using Base::GetWidth; using Base::GetHeight; using Base::GetPixelFormat; using Base::GetThumbnailImage;
    using Base::RotateFlip; using Base::Save; using Base::SaveAdd;
    // The published image format of the raw-format GUID; ifUndefined when unknown or unreadable.
    TGPImageFormat GetFormat();
    int GetPixelDepth() { return (GetPixelFormat() >> 8) & 0xFF; }
    bool HasAlphaChannel() { return (GetPixelFormat() & 0x40000) != 0; }
    bool HasPalette() { return (GetPixelFormat() & 0x10000) != 0; }
};

class TGPBitmap : public AdvGDIPCore::TBitmapCore<TStaticRules, TGPImage> {
    using Base = AdvGDIPCore::TBitmapCore<TStaticRules, TGPImage>;
public:
    TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false) : Base(stream, useEmbeddedColorManagement) {}
    TGPBitmap(int width, int height, int format = PixelFormat32bppARGB) : Base(width, height, format) {}
    explicit TGPBitmap(Gdiplus::GpBitmap* native) : Base(native) {}
    static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false) {
        return new TGPBitmap(stream, useEmbeddedColorManagement);
    }
    using Base::GetPixel; using Base::SetPixel; using Base::GetHBITMAP;
};

class TGPMatrix : public AdvGDIPCore::TMatrixCore<TStaticRules> {
    using Base = AdvGDIPCore::TMatrixCore<TStaticRules>;
public:
    using Base::Base;
    using Base::Clone; using Base::GetElements; using Base::SetElements; using Base::OffsetX;
    using Base::OffsetY; using Base::Reset; using Base::Multiply; using Base::Translate; using Base::Scale;
    using Base::Rotate; using Base::RotateAt; using Base::Shear; using Base::Invert;
    using Base::TransformPoints; using Base::TransformVectors; using Base::IsInvertible;
    using Base::IsIdentity; using Base::GetLastStatus;
};

class TGPGraphics : public AdvGDIPCore::TGraphicsCore<TStaticRules> {
    using Base = AdvGDIPCore::TGraphicsCore<TStaticRules>;
public:
    explicit TGPGraphics(HDC hdc) : Base(hdc) {}
    explicit TGPGraphics(const TGPImage* image) : Base(image) {}
    ~TGPGraphics();
    TGPGraphics(const TGPGraphics&) = delete;
    TGPGraphics& operator=(const TGPGraphics&) = delete;
    static TGPGraphics* FromImage(const TGPImage* image) { return new TGPGraphics(image); }

    using Base::Flush; using Base::Clear; using Base::GetHDC; using Base::ReleaseHDC;
    using Base::SetTextRenderingHint; using Base::GetTextRenderingHint; using Base::SetSmoothingMode;
    using Base::GetSmoothingMode; using Base::SetCompositingQuality; using Base::GetCompositingQuality;
    using Base::SetTransform; using Base::ResetTransform; using Base::MultiplyTransform;
    using Base::TranslateTransform; using Base::ScaleTransform; using Base::RotateTransform;
    using Base::DrawLine; using Base::DrawArc; using Base::DrawBezier; using Base::DrawBeziers;
    using Base::DrawRectangle; using Base::DrawEllipse; using Base::DrawPath; using Base::FillRectangle;
    using Base::FillEllipse; using Base::FillPolygon; using Base::FillPath; using Base::DrawImage;
    using Base::SetClip; using Base::ExcludeClip; using Base::ResetClip; using Base::MeasureString;
    using Base::DrawString; using Base::GetLastStatus;

    TStatus FillRectangleRectF(const TGPBrush* brush, const TGPRectF& rect) { return FillRectangle(brush, rect); }
    TStatus DrawImageRectRect(const TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                              float srcheight, Unit_ srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                              TImageAbort callback = nullptr, void* callbackData = nullptr) {
        return DrawImage(image, destRect, srcx, srcy, srcwidth, srcheight, srcUnit, imageAttributes, callback, callbackData);
    }
    // The whole string is drawn, whatever its length.
    TStatus DrawString(const std::wstring& string_, const TGPFont* font, const TGPRectF& layoutRect,
                       const TGPStringFormat* stringFormat, const TGPBrush* brush) {
        return Base::DrawString(string_.c_str(), int(string_.size()), font, layoutRect, stringFormat, brush);
    }
    TStatus DrawStringWide(const wchar_t* string_, int length, const TGPFont* font, const TGPRectF& layoutRect,
                           const TGPStringFormat* stringFormat, const TGPBrush* brush) {
        return Base::DrawString(string_, length, font, layoutRect, stringFormat, brush);
    }
    // On whole pixels: each coordinate rounded to the nearest integer, halves to even.
    TStatus DrawImageRect(const TGPImage* image, int x, int y, int w, int h) {
        return DrawImage(image, float(x), float(y), float(w), float(h));
    }
    TStatus DrawImageRect(const TGPImage* image, const TGPRectF& rect);

    // A font for a GUI-library font (its size, or the one given, in points); an unknown
    // face becomes "Arial". The caller owns the result.
    TGPFont* MakeFont(const ClassLib::TFont* font);
    TGPFont* MakeFont(const ClassLib::TFont* font, float size);
    // The same, kept by this graphics until a different font is asked for; never freed by callers.
    TGPFont* MakeFontEx(const ClassLib::TFont* font);
    TGPFont* MakeFontEx(const ClassLib::TFont* font, float size);
    int TextWidth(const std::wstring& string_, const ClassLib::TFont* font);
    int TextHeight(const std::wstring& string_, const ClassLib::TFont* font);
    // Measures (DT_CALCRECT in style) or draws a run of text at rect's top left, the way
    // GDI's DrawText places it; fills the run with bkColor unless it is clNone. Gives the
    // height of rect as it then is.
    int DrawText(const std::wstring& string_, int len, RECT& rect, const ClassLib::TFont* font, UINT style,
                 int bkColor);
private:
    TGPFont* FCachedFont = nullptr;  // owned
};

// Process-wide drawing flags of the ribbon-style controls.
void SetScenicRibbonFlag(bool value);
bool GetScenicRibbonFlag();
void SetWin8Flag(bool value);
bool GetWin8Flag();
// Both write the one Windows 10/11 flag, which nothing reads.
void SetWin10Flag(bool value);
void SetWin11Flag(bool value);
void SetGlassFlag(bool value);
bool GetGlassFlag();

// The text scale for a control's pixels per inch against 96 (9-point "0"); stored and returned.
float CalcDPITextScale(ClassLib::TControl* control);
// 1.0 until CalcDPITextScale runs.
float GetDPITextScale();
// The height of a "0" of the canvas default face at that resolution and size.
using AdvStyleIF::TextHeightAtDPI;

// Colour as GDI+ wants it: alpha 24-31, red 16-23, green 8-15, blue 0-7. TColor values
// (system colours included) are resolved to RGB first.
ARGB ColorToOpaqueARGB(int color);
constexpr ARGB ARGBFromChannels(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}
ARGB ARGBFromColor(BYTE a, int color);
constexpr ARGB ARGBFromRGB(BYTE r, BYTE g, BYTE b) { return ARGBFromChannels(255, r, g, b); }
constexpr BYTE RedOfARGB(ARGB argb) { return BYTE(argb >> 16); }
constexpr BYTE GreenOfARGB(ARGB argb) { return BYTE(argb >> 8); }
constexpr BYTE BlueOfARGB(ARGB argb) { return BYTE(argb); }
inline TGPPoint GPPoint(int x, int y) { return TGPPoint(x, y); }
inline TGPRectF GPRectF(float x, float y, float width, float height) { return TGPRectF(x, y, width, height); }

// The family's GDI+ session: started with GDI+'s background thread suppressed (the
// notification hook is run on Windows before 6), shut down with its own token.
void StartUp();
void ShutDown();

}  // namespace AdvGDIP
