#pragma once
// Wrapper cores of pens, paths, fonts, string formats, line caps and the graphics.
// Included by AdvGDIPCoreDraw.h only.
#include "graphics/AdvGDIPCoreDraw.h"

namespace AdvGDIPCore {

// ---------------------------------------------------------------------------------------
template <class R>
class TCustomLineCapCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TCustomLineCapCore() = default;
    TCustomLineCapCore(const TPathCore<R>* fillPath, const TPathCore<R>* strokePath,
                       Gdiplus::LineCap baseCap = Gdiplus::LineCapFlat, float baseInset = 0) {
        this->lastResult = C::GdipCreateCustomLineCap(ADVGDIP_NATIVE(fillPath, nativePath),
                                                      ADVGDIP_NATIVE(strokePath, nativePath), baseCap, baseInset, &nativeCap);
    }
    TCustomLineCapCore(Gdiplus::GpCustomLineCap* native, TStatus status) : TStatusCore<R>(status), nativeCap(native) {}
    ~TCustomLineCapCore() { C::GdipDeleteCustomLineCap(nativeCap); }
protected:
    typename R::TGPCustomLineCap* Clone() {
        Gdiplus::GpCustomLineCap* clone = nullptr;
        if (this->Keep(C::GdipCloneCustomLineCap(nativeCap, &clone)) != Gdiplus::Ok) return nullptr;
        try {
            return new typename R::TGPCustomLineCap(clone, this->lastResult);
        } catch (const std::bad_alloc&) {
            C::GdipDeleteCustomLineCap(clone);
            throw;
        }
    }
    TStatus SetStrokeCaps(Gdiplus::LineCap startCap, Gdiplus::LineCap endCap) {
        return this->Keep(C::GdipSetCustomLineCapStrokeCaps(nativeCap, startCap, endCap));
    }
    TStatus SetStrokeCap(Gdiplus::LineCap strokeCap) { return SetStrokeCaps(strokeCap, strokeCap); }
    TStatus GetStrokeCaps(Gdiplus::LineCap& startCap, Gdiplus::LineCap& endCap) {
        return this->Keep(C::GdipGetCustomLineCapStrokeCaps(nativeCap, &startCap, &endCap));
    }
    TStatus SetStrokeJoin(Gdiplus::LineJoin lineJoin) { return this->Keep(C::GdipSetCustomLineCapStrokeJoin(nativeCap, lineJoin)); }
    Gdiplus::LineJoin GetStrokeJoin() {
        Gdiplus::LineJoin join = Gdiplus::LineJoinMiter;
        this->Keep(C::GdipGetCustomLineCapStrokeJoin(nativeCap, &join));
        return join;
    }
    TStatus SetBaseCap(Gdiplus::LineCap baseCap) { return this->Keep(C::GdipSetCustomLineCapBaseCap(nativeCap, baseCap)); }
    Gdiplus::LineCap GetBaseCap() {
        Gdiplus::LineCap cap = Gdiplus::LineCapFlat;
        this->Keep(C::GdipGetCustomLineCapBaseCap(nativeCap, &cap));
        return cap;
    }
    TStatus SetBaseInset(float inset) { return this->Keep(C::GdipSetCustomLineCapBaseInset(nativeCap, inset)); }
    float GetBaseInset() {
        float inset = 0;
        this->Keep(C::GdipGetCustomLineCapBaseInset(nativeCap, &inset));
        return inset;
    }
    TStatus SetWidthScale(float widthScale) { return this->Keep(C::GdipSetCustomLineCapWidthScale(nativeCap, widthScale)); }
    float GetWidthScale() {
        float scale = 0;
        this->Keep(C::GdipGetCustomLineCapWidthScale(nativeCap, &scale));
        return scale;
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpCustomLineCap* nativeCap = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TPenCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    // Widths are in world units.
    explicit TPenCore(ARGB color, float width = 1.0f) {
        this->lastResult = C::GdipCreatePen1(color, width, Gdiplus::UnitWorld, &nativePen);
    }
    explicit TPenCore(const TBrushCore<R>* brush, float width = 1.0f) {
        this->lastResult = C::GdipCreatePen2(ADVGDIP_NATIVE(brush, nativeBrush), width, Gdiplus::UnitWorld, &nativePen);
    }
    TPenCore(Gdiplus::GpPen* native, TStatus status) : TStatusCore<R>(status), nativePen(native) {}
    ~TPenCore() { C::GdipDeletePen(nativePen); }
protected:
    typename R::TGPPen* Clone() {
        Gdiplus::GpPen* clone = nullptr;
        const TStatus status = this->Keep(C::GdipClonePen(nativePen, &clone));
        return new typename R::TGPPen(clone, status);
    }
    TStatus SetWidth(float width) { return this->Keep(C::GdipSetPenWidth(nativePen, width)); }
    float GetWidth() {
        float width = 0;
        this->Keep(C::GdipGetPenWidth(nativePen, &width));
        return width;
    }
    TStatus SetLineCap(int startCap, int endCap, int dashCap) {
        return this->Keep(C::GdipSetPenLineCap197819(nativePen, Gdiplus::LineCap(startCap), Gdiplus::LineCap(endCap),
                                                     Gdiplus::DashCap(dashCap)));
    }
    TStatus SetStartCap(int startCap) { return this->Keep(C::GdipSetPenStartCap(nativePen, Gdiplus::LineCap(startCap))); }
    TStatus SetEndCap(int endCap) { return this->Keep(C::GdipSetPenEndCap(nativePen, Gdiplus::LineCap(endCap))); }
    TStatus SetDashCap(int dashCap) { return this->Keep(C::GdipSetPenDashCap197819(nativePen, Gdiplus::DashCap(dashCap))); }
    int GetStartCap() {
        Gdiplus::LineCap cap = Gdiplus::LineCapFlat;
        this->Keep(C::GdipGetPenStartCap(nativePen, &cap));
        return cap;
    }
    int GetEndCap() {
        Gdiplus::LineCap cap = Gdiplus::LineCapFlat;
        this->Keep(C::GdipGetPenEndCap(nativePen, &cap));
        return cap;
    }
    int GetDashCap() {
        Gdiplus::DashCap cap = Gdiplus::DashCapFlat;
        this->Keep(C::GdipGetPenDashCap197819(nativePen, &cap));
        return cap;
    }
    TStatus SetLineJoin(Gdiplus::LineJoin lineJoin) { return this->Keep(C::GdipSetPenLineJoin(nativePen, lineJoin)); }
    Gdiplus::LineJoin GetLineJoin() {
        Gdiplus::LineJoin join = Gdiplus::LineJoinMiter;
        this->Keep(C::GdipGetPenLineJoin(nativePen, &join));
        return join;
    }
    TStatus SetCustomStartCap(const TCustomLineCapCore<R>* customCap) {
        return this->Keep(C::GdipSetPenCustomStartCap(nativePen, ADVGDIP_NATIVE(customCap, nativeCap)));
    }
    TStatus GetCustomStartCap(TCustomLineCapCore<R>* customCap) {
        if (!customCap) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetPenCustomStartCap(nativePen, &customCap->nativeCap));
    }
    TStatus SetCustomEndCap(const TCustomLineCapCore<R>* customCap) {
        return this->Keep(C::GdipSetPenCustomEndCap(nativePen, ADVGDIP_NATIVE(customCap, nativeCap)));
    }
    TStatus GetCustomEndCap(TCustomLineCapCore<R>* customCap) {
        if (!customCap) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetPenCustomEndCap(nativePen, &customCap->nativeCap));
    }
    TStatus SetMiterLimit(float miterLimit) { return this->Keep(C::GdipSetPenMiterLimit(nativePen, miterLimit)); }
    float GetMiterLimit() {
        float limit = 0;
        this->Keep(C::GdipGetPenMiterLimit(nativePen, &limit));
        return limit;
    }
    TStatus SetAlignment(Gdiplus::PenAlignment penAlignment) { return this->Keep(C::GdipSetPenMode(nativePen, penAlignment)); }
    Gdiplus::PenAlignment GetAlignment() {
        Gdiplus::PenAlignment alignment = Gdiplus::PenAlignmentCenter;
        this->Keep(C::GdipGetPenMode(nativePen, &alignment));
        return alignment;
    }
    TStatus SetTransform(const TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipSetPenTransform(nativePen, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus GetTransform(TMatrixCore<R>* matrix) {
        return this->Keep(C::GdipGetPenTransform(nativePen, ADVGDIP_NATIVE(matrix, nativeMatrix)));
    }
    TStatus ResetTransform() { return this->Keep(C::GdipResetPenTransform(nativePen)); }
    TStatus MultiplyTransform(const TMatrixCore<R>* matrix, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipMultiplyPenTransform(nativePen, ADVGDIP_NATIVE(matrix, nativeMatrix), order));
    }
    TStatus TranslateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipTranslatePenTransform(nativePen, dx, dy, order));
    }
    TStatus ScaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipScalePenTransform(nativePen, sx, sy, order));
    }
    TStatus RotateTransform(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) {
        return this->Keep(C::GdipRotatePenTransform(nativePen, angle, order));
    }
    // 0 solid colour, 1 hatch, 2 texture, 3 path gradient, 4 linear gradient; -1 on failure.
    int GetPenType() {
        Gdiplus::PenType type = Gdiplus::PenTypeUnknown;
        this->Keep(C::GdipGetPenFillType(nativePen, &type));
        return type;
    }
    TStatus SetColor(ARGB color) { return this->Keep(C::GdipSetPenColor(nativePen, color)); }
    // Only a solid-colour pen has one colour; the answer for the others is not kept.
    TStatus GetColor(ARGB& color) {
        if (GetPenType() != Gdiplus::PenTypeSolidColor) return Gdiplus::WrongState;
        return this->Keep(C::GdipGetPenColor(nativePen, &color));
    }
    TStatus SetBrush(const TBrushCore<R>* brush) {
        return this->Keep(C::GdipSetPenBrushFill(nativePen, ADVGDIP_NATIVE(brush, nativeBrush)));
    }
    // A new brush of the family's class for the pen's kind, given the pen's brush handle.
    typename R::TGPBrush* GetBrush() {
        typename R::TGPBrush* brush = nullptr;
        switch (GetPenType()) {
        case Gdiplus::PenTypeSolidColor: brush = new typename R::TGPSolidBrush(); break;
        case Gdiplus::PenTypeHatchFill: brush = new typename R::TGPHatchBrush(); break;
        case Gdiplus::PenTypeTextureFill: brush = new typename R::TGPTextureBrush(); break;
        case Gdiplus::PenTypePathGradient: brush = new typename R::TGPBrush(); break;
        case Gdiplus::PenTypeLinearGradient: brush = new typename R::TGPLinearGradientBrush(); break;
        default: return nullptr;
        }
        Gdiplus::GpBrush* native = nullptr;
        this->Keep(C::GdipGetPenBrushFill(nativePen, &native));
        brush->nativeBrush = native;
        return brush;
    }
    Gdiplus::DashStyle GetDashStyle() {
        Gdiplus::DashStyle style = Gdiplus::DashStyleSolid;
        this->Keep(C::GdipGetPenDashStyle(nativePen, &style));
        return style;
    }
    TStatus SetDashStyle(Gdiplus::DashStyle dashStyle) { return this->Keep(C::GdipSetPenDashStyle(nativePen, dashStyle)); }
    float GetDashOffset() {
        float offset = 0;
        this->Keep(C::GdipGetPenDashOffset(nativePen, &offset));
        return offset;
    }
    TStatus SetDashOffset(float dashOffset) { return this->Keep(C::GdipSetPenDashOffset(nativePen, dashOffset)); }
    TStatus SetDashPattern(const float* dashArray, int count) {
        return this->Keep(C::GdipSetPenDashArray(nativePen, dashArray, count));
    }
    int GetDashPatternCount() {
        INT count = 0;
        this->Keep(C::GdipGetPenDashCount(nativePen, &count));
        return count;
    }
    TStatus GetDashPattern(float* dashArray, int count) {
        if (!dashArray || count <= 0) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetPenDashArray(nativePen, dashArray, count));
    }
    TStatus SetCompoundArray(const float* compoundArray, int count) {
        return this->Keep(C::GdipSetPenCompoundArray(nativePen, compoundArray, count));
    }
    int GetCompoundArrayCount() {
        INT count = 0;
        this->Keep(C::GdipGetPenCompoundCount(nativePen, &count));
        return count;
    }
    TStatus GetCompoundArray(float* compoundArray, int count) {
        if (!compoundArray || count <= 0) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetPenCompoundArray(nativePen, compoundArray, count));
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpPen* nativePen = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TFontFamilyCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TFontFamilyCore() = default;
    // A null collection means the installed fonts.
    TFontFamilyCore(const wchar_t* name, const TFontCollectionCore<R>* fontCollection) {
        this->lastResult = C::GdipCreateFontFamilyFromName(
            name, ADVGDIP_NATIVE(fontCollection, nativeFontCollection), &nativeFamily);
    }
    TFontFamilyCore(Gdiplus::GpFontFamily* native, TStatus status) : TStatusCore<R>(status), nativeFamily(native) {}
    ~TFontFamilyCore() { C::GdipDeleteFontFamily(nativeFamily); }
protected:
    // The name from a buffer of 32 characters, up to its first zero.
    TStatus GetFamilyName(std::wstring& name, LANGID language = 0) {
        WCHAR buffer[LF_FACESIZE] = {};
        const TStatus status = this->Keep(C::GdipGetFamilyName(nativeFamily, buffer, language));
        buffer[LF_FACESIZE - 1] = 0;
        name = buffer;
        return status;
    }
    typename R::TGPFontFamily* Clone() {
        Gdiplus::GpFontFamily* clone = nullptr;
        const TStatus status = this->Keep(C::GdipCloneFontFamily(nativeFamily, &clone));
        return new typename R::TGPFontFamily(clone, status);
    }
    bool IsAvailable() const { return nativeFamily != nullptr; }
    BOOL IsStyleAvailable(int style) {
        BOOL result = FALSE;
        if (this->Keep(C::GdipIsStyleAvailable(nativeFamily, style, &result)) != Gdiplus::Ok) return FALSE;
        return result;
    }
    UINT16 GetEmHeight(int style) {
        UINT16 value = 0;
        this->Keep(C::GdipGetEmHeight(nativeFamily, style, &value));
        return value;
    }
    UINT16 GetCellAscent(int style) {
        UINT16 value = 0;
        this->Keep(C::GdipGetCellAscent(nativeFamily, style, &value));
        return value;
    }
    UINT16 GetCellDescent(int style) {
        UINT16 value = 0;
        this->Keep(C::GdipGetCellDescent(nativeFamily, style, &value));
        return value;
    }
    UINT16 GetLineSpacing(int style) {
        UINT16 value = 0;
        this->Keep(C::GdipGetLineSpacing(nativeFamily, style, &value));
        return value;
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    // The generic families: one wrapper per kind, filled on first use; whether its
    // status is kept is the family's rule.
    static typename R::TGPFontFamily* Generic(std::unique_ptr<typename R::TGPFontFamily>& slot,
                                              TStatus (*get)(Gdiplus::GpFontFamily**)) {
        if (!slot) {
            auto family = std::make_unique<typename R::TGPFontFamily>();
            const TStatus status = get(&family->nativeFamily);
            if (R::GenericStatusKept) family->lastResult = status;
            slot = std::move(family);
        }
        return slot.get();
    }

    Gdiplus::GpFontFamily* nativeFamily = nullptr;
};

// Stands for the installed fonts: the handle stays null and nothing is released.
template <class R>
class TFontCollectionCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TFontCollectionCore() = default;
protected:
    int GetFamilyCount() {
        INT count = 0;
        this->lastResult = C::GdipGetFontCollectionFamilyCount(nativeFontCollection, &count);
        return count;
    }
    // Fills existing family objects with clones of the collection's families.
    TStatus GetFamilies(int numSought, TFontFamilyCore<R>* const* gpfamilies, int& numFound) {
        if (numSought < 1 || !gpfamilies) return this->Keep(Gdiplus::InvalidParameter);
        numFound = 0;
        std::vector<Gdiplus::GpFontFamily*> natives;
        try {
            natives.resize(std::size_t(numSought));
        } catch (const std::bad_alloc&) {
            return this->Keep(Gdiplus::OutOfMemory);
        }
        INT found = 0;
        const TStatus status = this->Keep(
            C::GdipGetFontCollectionFamilyList(nativeFontCollection, numSought, natives.data(), &found));
        if (status != Gdiplus::Ok) return status;
        numFound = found;
        for (int i = 0; i < found; ++i)
            if (gpfamilies[i]) C::GdipCloneFontFamily(natives[std::size_t(i)], &gpfamilies[i]->nativeFamily);
        return status;
    }
    TStatus GetLastStatus() const { return this->lastResult; }

    Gdiplus::GpFontCollection* nativeFontCollection = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TFontCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    explicit TFontCore(HDC hdc) { this->lastResult = C::GdipCreateFontFromDC(hdc, &nativeFont); }
    TFontCore(HDC hdc, const LOGFONTA* logfont) {
        this->lastResult = logfont ? C::GdipCreateFontFromLogfontA(hdc, logfont, &nativeFont)
                                   : C::GdipCreateFontFromDC(hdc, &nativeFont);
    }
    TFontCore(HDC hdc, const LOGFONTW* logfont) {
        this->lastResult = logfont ? C::GdipCreateFontFromLogfontW(hdc, logfont, &nativeFont)
                                   : C::GdipCreateFontFromDC(hdc, &nativeFont);
    }
    TFontCore(HDC hdc, HFONT hfont) {
        LOGFONTA logfont{};
        if (hfont && ::GetObjectA(hfont, sizeof(logfont), &logfont))
            this->lastResult = C::GdipCreateFontFromLogfontA(hdc, &logfont, &nativeFont);
        else
            this->lastResult = C::GdipCreateFontFromDC(hdc, &nativeFont);
    }
    TFontCore(const TFontFamilyCore<R>* family, float emSize, int style = 0, Unit_ unit = Gdiplus::UnitPoint) {
        this->lastResult = C::GdipCreateFont(ADVGDIP_NATIVE(family, nativeFamily), emSize, style, unit, &nativeFont);
    }
    TFontCore(Gdiplus::GpFont* native, TStatus status) : TStatusCore<R>(status), nativeFont(native) {}
    ~TFontCore() { C::GdipDeleteFont(nativeFont); }
protected:
    TFontCore() = default;
    static Gdiplus::GpFontFamily* NativeOf(const TFontFamilyCore<R>* family) { return ADVGDIP_NATIVE(family, nativeFamily); }
    TStatus GetLogFontA(const TGraphicsCore<R>* g, LOGFONTA& logfontA) {
        return this->Keep(C::GdipGetLogFontA(nativeFont, ADVGDIP_NATIVE(g, nativeGraphics), &logfontA));
    }
    TStatus GetLogFontW(const TGraphicsCore<R>* g, LOGFONTW& logfontW) {
        return this->Keep(C::GdipGetLogFontW(nativeFont, ADVGDIP_NATIVE(g, nativeGraphics), &logfontW));
    }
    typename R::TGPFont* Clone() {
        Gdiplus::GpFont* clone = nullptr;
        const TStatus status = this->Keep(C::GdipCloneFont(nativeFont, &clone));
        return new typename R::TGPFont(clone, status);
    }
    bool IsAvailable() const { return nativeFont != nullptr; }
    int GetStyle() {
        INT style = 0;
        this->Keep(C::GdipGetFontStyle(nativeFont, &style));
        return style;
    }
    float GetSize() {
        float size = 0;
        this->Keep(C::GdipGetFontSize(nativeFont, &size));
        return size;
    }
    Unit_ GetUnit() {
        Unit_ unit = Gdiplus::UnitPoint;
        this->Keep(C::GdipGetFontUnit(nativeFont, &unit));
        return unit;
    }
    float GetHeight(const TGraphicsCore<R>* graphics) {
        float height = 0;
        this->Keep(C::GdipGetFontHeight(nativeFont, ADVGDIP_NATIVE(graphics, nativeGraphics), &height));
        return height;
    }
    float GetHeight(float dpi) {
        float height = 0;
        this->Keep(C::GdipGetFontHeightGivenDPI(nativeFont, dpi, &height));
        return height;
    }
    // The family's former handle is overwritten, not released.
    TStatus GetFamily(TFontFamilyCore<R>* family) {
        if (!family) return this->Keep(Gdiplus::InvalidParameter);
        const TStatus status = C::GdipGetFamily(nativeFont, &family->nativeFamily);
        family->lastResult = status;
        return this->Keep(status);
    }
    TStatus GetLastStatus() { return R::FontStatusResets ? this->TakeStatus() : this->lastResult; }

    Gdiplus::GpFont* nativeFont = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TStringFormatCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    explicit TStringFormatCore(int formatFlags = 0, LANGID language = LANG_NEUTRAL) {
        this->lastResult = C::GdipCreateStringFormat(formatFlags, language, &nativeFormat);
    }
    // A copy; a null format is passed on as a null handle.
    explicit TStringFormatCore(const TStringFormatCore* format) {
        this->lastResult = C::GdipCloneStringFormat(ADVGDIP_NATIVE(format, nativeFormat), &nativeFormat);
    }
    TStringFormatCore(Gdiplus::GpStringFormat* clonedStringFormat, TStatus status)
        : TStatusCore<R>(status), nativeFormat(clonedStringFormat) {}
    ~TStringFormatCore() { C::GdipDeleteStringFormat(nativeFormat); }
protected:
    typename R::TGPStringFormat* Clone() {
        Gdiplus::GpStringFormat* clone = nullptr;
        this->lastResult = C::GdipCloneStringFormat(nativeFormat, &clone);
        if (this->lastResult != Gdiplus::Ok) return nullptr;
        return new typename R::TGPStringFormat(clone, this->lastResult);
    }
    TStatus SetFormatFlags(int flags) { return this->Keep(C::GdipSetStringFormatFlags(nativeFormat, flags)); }
    int GetFormatFlags() {
        INT flags = 0;
        this->Keep(C::GdipGetStringFormatFlags(nativeFormat, &flags));
        return flags;
    }
    TStatus SetAlignment(Gdiplus::StringAlignment align) { return this->Keep(C::GdipSetStringFormatAlign(nativeFormat, align)); }
    Gdiplus::StringAlignment GetAlignment() {
        Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
        this->Keep(C::GdipGetStringFormatAlign(nativeFormat, &align));
        return align;
    }
    TStatus SetLineAlignment(Gdiplus::StringAlignment align) {
        return this->Keep(C::GdipSetStringFormatLineAlign(nativeFormat, align));
    }
    Gdiplus::StringAlignment GetLineAlignment() {
        Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
        this->Keep(C::GdipGetStringFormatLineAlign(nativeFormat, &align));
        return align;
    }
    TStatus SetHotkeyPrefix(Gdiplus::HotkeyPrefix hotkeyPrefix) {
        return this->Keep(C::GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
    }
    Gdiplus::HotkeyPrefix GetHotkeyPrefix() {
        INT prefix = 0;
        this->Keep(C::GdipGetStringFormatHotkeyPrefix(nativeFormat, &prefix));
        return Gdiplus::HotkeyPrefix(prefix);
    }
    TStatus SetTabStops(float firstTabOffset, int count, const float* tabStops) {
        return this->Keep(C::GdipSetStringFormatTabStops(nativeFormat, firstTabOffset, count, tabStops));
    }
    int GetTabStopCount() {
        INT count = 0;
        this->Keep(C::GdipGetStringFormatTabStopCount(nativeFormat, &count));
        return count;
    }
    TStatus GetTabStops(int count, float& firstTabOffset, float* tabStops) {
        return this->Keep(C::GdipGetStringFormatTabStops(nativeFormat, count, &firstTabOffset, tabStops));
    }
    TStatus SetDigitSubstitution(LANGID language, Gdiplus::StringDigitSubstitute substitute) {
        return this->Keep(C::GdipSetStringFormatDigitSubstitution(nativeFormat, language, substitute));
    }
    LANGID GetDigitSubstitutionLanguage() {
        LANGID language = 0;
        this->Keep(C::GdipGetStringFormatDigitSubstitution(nativeFormat, &language, nullptr));
        return language;
    }
    Gdiplus::StringDigitSubstitute GetDigitSubstitutionMethod() {
        Gdiplus::StringDigitSubstitute substitute = Gdiplus::StringDigitSubstituteUser;
        this->Keep(C::GdipGetStringFormatDigitSubstitution(nativeFormat, nullptr, &substitute));
        return substitute;
    }
    TStatus SetTrimming(Gdiplus::StringTrimming trimming) {
        return this->Keep(C::GdipSetStringFormatTrimming(nativeFormat, trimming));
    }
    Gdiplus::StringTrimming GetTrimming() {
        Gdiplus::StringTrimming trimming = Gdiplus::StringTrimmingNone;
        this->Keep(C::GdipGetStringFormatTrimming(nativeFormat, &trimming));
        return trimming;
    }
    TStatus SetMeasurableCharacterRanges(int rangeCount, const CharacterRange* ranges) {
        return this->Keep(C::GdipSetStringFormatMeasurableCharacterRanges(nativeFormat, rangeCount, ranges));
    }
    int GetMeasurableCharacterRangeCount() {
        INT count = 0;
        this->Keep(C::GdipGetStringFormatMeasurableCharacterRangeCount(nativeFormat, &count));
        return count;
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    static typename R::TGPStringFormat* Generic(std::unique_ptr<typename R::TGPStringFormat>& slot,
                                                TStatus (*get)(Gdiplus::GpStringFormat**)) {
        if (!slot) {
            Gdiplus::GpStringFormat* native = nullptr;
            const TStatus status = get(&native);
            slot = std::make_unique<typename R::TGPStringFormat>(native, status);
        }
        return slot.get();
    }

    Gdiplus::GpStringFormat* nativeFormat = nullptr;
};

}  // namespace AdvGDIPCore

#include "graphics/AdvGDIPCoreGraphics.h"
