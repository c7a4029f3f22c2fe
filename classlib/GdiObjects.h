#pragma once
// The canvas's drawing settings: font, pen and brush. Each holds values; its GDI
// object is made when drawing asks for it and dropped when a value changes.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "classlib/Colors.h"
#include "classlib/EnumSet.h"
#include "classlib/Events.h"
#include "classlib/GdiScopes.h"
#include "classlib/Object.h"
#include "classlib/Properties.h"

namespace ClassLib {

// Common base: OnChange for users, and a second hook for the canvas that has the
// object selected, told before the old handle is deleted.
class TGraphicsObject : public TPersistent {
    CLASSLIB_CLASS(TGraphicsObject, TPersistent)
public:
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    // For the owning canvas only.
    void SetOwnerNotify(std::function<void()> notify) { FOwnerNotify = std::move(notify); }
protected:
    // Call after a value changed: the owner lets go of the handle, then users hear of it.
    void Changed();
    virtual void FreeHandle() = 0;
private:
    TNotifyEvent FOnChange;
    std::function<void()> FOwnerNotify;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
template <> struct TEnumNames<TFontStyle> {
    static constexpr const wchar_t* TypeName = L"TFontStyle";
    static constexpr const wchar_t* SetTypeName = L"TFontStyles";
    static constexpr const wchar_t* Names[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
};

using TFontStyles = TEnumSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };

class TFont : public TGraphicsObject {
    CLASSLIB_CLASS(TFont, TGraphicsObject)
public:
    static const TPropertyList& Published();
    TFont();
    ~TFont() override;
    void Assign(const TPersistent* source) override;

    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& name);
    // Points; derived from Height and PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    // Pixels; negative for the character height, positive for the cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // True while the height comes from a point size (SetSize, or the default): such a font
    // already suits the screen's pixels per inch, so rescaling a window leaves it alone.
    bool PointSized() const { return FPointSized; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    // Keeps Height: the same pixels then mean another point size.
    void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi > 0 ? ppi : 96; }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t charset);
    // Tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality quality);

    // Made on demand; the font keeps ownership.
    HFONT Handle();
    // Takes over the values of an existing font (the handle stays the caller's).
    void SetHandle(HFONT font);
    bool HandleAllocated() const { return FHandle != nullptr; }
protected:
    void FreeHandle() override { FHandle.reset(); }
private:
    std::wstring FName;
    int FHeight;
    int FPixelsPerInch;
    bool FPointSized = true;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    std::uint8_t FCharset = DEFAULT_CHARSET;
    int FOrientation = 0;
    TFontPitch FPitch = fpDefault;
    TFontQuality FQuality = fqDefault;
    TOwnedFont FHandle;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
    CLASSLIB_CLASS(TPen, TGraphicsObject)
public:
    static const TPropertyList& Published();
    TPen() = default;
    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode);
    // The binary raster operation of Mode, for SetROP2.
    int Rop2() const;

    HPEN Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
protected:
    void FreeHandle() override { FHandle.reset(); }
private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    TOwnedPen FHandle;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
    CLASSLIB_CLASS(TBrush, TGraphicsObject)
public:
    static const TPropertyList& Published();
    TBrush() = default;
    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    // Setting a colour on a clear brush makes it solid again.
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);

    // A clear brush gives the stock null brush.
    HBRUSH Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
protected:
    void FreeHandle() override { FHandle.reset(); }
private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TOwnedBrush FHandle;
};

// Pixels per inch of the screen, read once.
int ScreenPixelsPerInch();

}  // namespace ClassLib
