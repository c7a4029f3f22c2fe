#include "classlib/GdiObjects.h"

#include <cmath>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TGraphicsObject, TPersistent)
CLASSLIB_IMPLEMENT(TFont, TGraphicsObject)
CLASSLIB_IMPLEMENT(TPen, TGraphicsObject)
CLASSLIB_IMPLEMENT(TBrush, TGraphicsObject)

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return ppi;
}

void TGraphicsObject::Changed() {
    // The owner deselects first: a GDI object still selected into a DC cannot be deleted.
    if (FOwnerNotify) FOwnerNotify();
    FreeHandle();
    FireEvent(FOnChange, this);
}

// ---- TFont ----

TFont::TFont() : FName(L"Tahoma"), FPixelsPerInch(ScreenPixelsPerInch()) {
    FHeight = -::MulDiv(8, FPixelsPerInch, 72);
}

TFont::~TFont() = default;

// Height is what is stored; Size is the same value in points.
const TPropertyList& TFont::Published() {
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicsObject::Published())
            .Add(L"Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET)
            .Colour(L"Color", &TFont::Color, &TFont::SetColor, clWindowText)
            .Add(L"Height", &TFont::Height, &TFont::SetHeight)
            .Add(L"Name", &TFont::Name, &TFont::SetName, L"Tahoma")
            .Add(L"Orientation", &TFont::Orientation, &TFont::SetOrientation, 0)
            .Enum(L"Pitch", L"TFontPitch", &TFont::Pitch, &TFont::SetPitch, {L"fpDefault", L"fpVariable", L"fpFixed"}, fpDefault)
            .Add(L"Size", &TFont::Size, &TFont::SetSize)
            .Stored(L"Size", false)
            .SetOf(L"Style", &TFont::Style, &TFont::SetStyle, TFontStyles())
            .Enum(L"Quality", L"TFontQuality", &TFont::Quality, &TFont::SetQuality,
                  {L"fqDefault", L"fqDraft", L"fqProof", L"fqNonAntialiased", L"fqAntialiased", L"fqClearType"}, fqDefault);
    return list;
}

void TFont::Assign(const TPersistent* source) {
    if (auto font = dynamic_cast<const TFont*>(source)) {
        if (font == this) return;
        FName = font->FName;
        // The point size is what carries over between devices of different resolution.
        FHeight = font->FPixelsPerInch == FPixelsPerInch
                      ? font->FHeight
                      : ::MulDiv(font->FHeight, FPixelsPerInch, font->FPixelsPerInch);
        FPointSized = font->FPointSized;
        FStyle = font->FStyle;
        FColor = font->FColor;
        FCharset = font->FCharset;
        FOrientation = font->FOrientation;
        FPitch = font->FPitch;
        FQuality = font->FQuality;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TFont::SetName(const std::wstring& name) {
    if (name.empty() || name == FName) return;
    FName = name;
    Changed();
}

int TFont::Size() const { return -::MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int points) {
    SetHeight(-::MulDiv(points, FPixelsPerInch, 72));
    FPointSized = true;
}

void TFont::SetHeight(int height) {
    // The same height again keeps its origin: code that re-applies a font's own height
    // must not turn a point size into pixels.
    if (height == FHeight) return;
    FPointSized = false;
    FHeight = height;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    // The colour is not part of the GDI font, but users still hear of it.
    FireEvent(OnChange(), this);
}

void TFont::SetCharset(std::uint8_t charset) {
    if (charset == FCharset) return;
    FCharset = charset;
    Changed();
}

void TFont::SetOrientation(int tenths) {
    if (tenths == FOrientation) return;
    FOrientation = tenths;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == FPitch) return;
    FPitch = pitch;
    Changed();
}

void TFont::SetQuality(TFontQuality quality) {
    if (quality == FQuality) return;
    FQuality = quality;
    Changed();
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONTW log{};
        log.lfHeight = FHeight;
        log.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        log.lfItalic = FStyle.Contains(fsItalic);
        log.lfUnderline = FStyle.Contains(fsUnderline);
        log.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        log.lfEscapement = FOrientation;
        log.lfOrientation = FOrientation;
        log.lfCharSet = FCharset;
        log.lfOutPrecision = OUT_DEFAULT_PRECIS;
        log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        static const BYTE qualities[] = {DEFAULT_QUALITY, DRAFT_QUALITY, PROOF_QUALITY,
                                         NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY};
        log.lfQuality = qualities[FQuality];
        log.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        lstrcpynW(log.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle.reset(::CreateFontIndirectW(&log));
    }
    return FHandle.get();
}

void TFont::SetHandle(HFONT font) {
    LOGFONTW log{};
    if (!font || ::GetObjectW(font, sizeof log, &log) == 0) return;
    FName = log.lfFaceName;
    FHeight = log.lfHeight;
    FPointSized = false;
    TFontStyles style;
    if (log.lfWeight >= FW_BOLD) style += fsBold;
    if (log.lfItalic) style += fsItalic;
    if (log.lfUnderline) style += fsUnderline;
    if (log.lfStrikeOut) style += fsStrikeOut;
    FStyle = style;
    FCharset = log.lfCharSet;
    FOrientation = log.lfEscapement;
    const int pitch = log.lfPitchAndFamily & 3;
    FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Changed();
}

// ---- TPen ----

const TPropertyList& TPen::Published() {
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicsObject::Published())
            .Colour(L"Color", &TPen::Color, &TPen::SetColor, clBlack)
            .Enum(L"Mode", L"TPenMode", &TPen::Mode, &TPen::SetMode,
                  {L"pmBlack", L"pmWhite", L"pmNop", L"pmNot", L"pmCopy", L"pmNotCopy", L"pmMergePenNot",
                   L"pmMaskPenNot", L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge", L"pmNotMerge", L"pmMask",
                   L"pmNotMask", L"pmXor", L"pmNotXor"},
                  pmCopy)
            .Enum(L"Style", L"TPenStyle", &TPen::Style, &TPen::SetStyle,
                  {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear", L"psInsideFrame"}, psSolid)
            .Add(L"Width", &TPen::Width, &TPen::SetWidth, 1);
    return list;
}

void TPen::Assign(const TPersistent* source) {
    if (auto pen = dynamic_cast<const TPen*>(source)) {
        if (pen == this) return;
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        FMode = pen->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width < 0 || width == FWidth) return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == FMode) return;
    FMode = mode;
    FireEvent(OnChange(), this);  // a DC setting, not part of the pen object
}

int TPen::Rop2() const {
    static const int codes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                                R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    return codes[FMode];
}

HPEN TPen::Handle() {
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle.reset(::CreatePen(styles[FStyle], FWidth, COLORREF(ColorToRGB(FColor))));
    }
    return FHandle.get();
}

// ---- TBrush ----

const TPropertyList& TBrush::Published() {
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicsObject::Published())
            .Colour(L"Color", &TBrush::Color, &TBrush::SetColor, clWhite)
            .Enum(L"Style", L"TBrushStyle", &TBrush::Style, &TBrush::SetStyle,
                  {L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical", L"bsFDiagonal", L"bsBDiagonal", L"bsCross",
                   L"bsDiagCross"},
                  bsSolid);
    return list;
}

void TBrush::Assign(const TPersistent* source) {
    if (auto brush = dynamic_cast<const TBrush*>(source)) {
        if (brush == this) return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color == FColor && FStyle != bsClear) return;
    FColor = color;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (FStyle == bsClear) return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    if (!FHandle) {
        const COLORREF rgb = COLORREF(ColorToRGB(FColor));
        if (FStyle == bsSolid) {
            FHandle.reset(::CreateSolidBrush(rgb));
        } else {
            static const int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            FHandle.reset(::CreateHatchBrush(hatches[FStyle], rgb));
        }
    }
    return FHandle.get();
}

}  // namespace ClassLib
