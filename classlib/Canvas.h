#pragma once
// A canvas over a device context: the font, pen and brush it draws with, the pen
// position, and the drawing operations the controls and the editor use.
#include <windows.h>

#include <memory>
#include <span>
#include <string>

#include "classlib/Colors.h"
#include "classlib/EnumSet.h"
#include "classlib/Events.h"
#include "classlib/Geometry.h"
#include "classlib/GdiObjects.h"
#include "classlib/Object.h"

namespace ClassLib {

class TGraphic;

inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect FromRECT(const RECT& r) { return TRect{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }
inline POINT ToPOINT(const TPoint& p) { return POINT{p.X, p.Y}; }

// Raster operation of CopyRect.
using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Layout of TextRect with a format, as the system's text drawing knows it.
enum TTextFormats {
    tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
    tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
    tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
    tfPrefixOnly, tfTabStop, tfWordEllipsis
};
using TTextFormat = TEnumSet<TTextFormats>;

class TCanvas : public TPersistent {
    CLASSLIB_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The device context, handed out in the state the canvas describes: its font, pen
    // and brush selected, the font's colour as the text colour, the brush's colour and
    // style as the background colour and mode, the pen's mode as the mix mode. So raw
    // calls on it (DrawText, GetTextMetrics) draw and measure as the canvas would. A
    // font, pen or brush changed afterwards takes effect on the next call: ask again.
    // Settings a raw caller makes stay until the canvas draws or one of those changes.
    // A canvas without a DC asks CreateHandle, and raises EInvalidOperation when there
    // still is none.
    HDC Handle();
    // Attaches a foreign DC (or detaches with null); the canvas never frees it.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetFont(const TFont* font) { FFont->Assign(font); }
    // The values of `font`, taken over so that a new GDI font is made only when more than
    // the colour differs: painters that switch fonts for every line or tab keep theirs.
    void UseFont(const TFont* font);
    void SetPen(const TPen* pen) { FPen->Assign(pen); }
    void SetBrush(const TBrush* brush) { FBrush->Assign(brush); }

    TPoint PenPos();
    void SetPenPos(const TPoint& position);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Leaves the pen position at the end of the text.
    void TextOut(int x, int y, const std::wstring& text);
    // Text clipped to the rectangle; an opaque brush fills the rectangle behind it.
    void TextRect(const TRect& rect, int x, int y, const std::wstring& text);
    // Laid out in the rectangle by `format`; with tfCalcRect nothing is drawn and the
    // rectangle receives the text's extent; with tfModifyString an ellipsis shortens `text`.
    void TextRect(TRect& rect, std::wstring& text, TTextFormat format);
    TSize TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }

    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void DrawFocusRect(const TRect& rect);

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies `source` of another canvas into `dest` of this one with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();

    // Serialises drawing from several threads on one canvas; nests.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return FLockCount; }

    // Deselects the font, pen and brush, so they are selected afresh on the next draw.
    void Refresh();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    const TNotifyEvent& OnChanging() const { return FOnChanging; }
    void SetOnChanging(TNotifyEvent handler) { FOnChanging = std::move(handler); }
protected:
    // Descendants that own a DC of their own make it here (SetHandle) on first use.
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    // Selects the current font, pen and brush and sets the text and background colours
    // and modes again, whatever raw calls did to them since.
    void RequireState();
private:
    HDC RequireDC();
    void DeselectHandles();
    void SelectFont();
    void SelectPen();
    void SelectBrush();
    void ApplyTextColor();

    HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    HGDIOBJ FOldFont = nullptr;  // the DC's own objects, put back on deselect
    HGDIOBJ FOldPen = nullptr;
    HGDIOBJ FOldBrush = nullptr;
    // Each flag: that object is selected and the DC settings it governs are set.
    bool FFontSelected = false;
    bool FPenSelected = false;
    bool FBrushSelected = false;
    TColor FTextColorSet = clNone;  // the text colour the canvas last gave the DC
    TCopyMode FCopyMode = cmSrcCopy;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
    CRITICAL_SECTION FLock;
    int FLockCount = 0;
};

// A raised or sunken frame `width` pixels wide just inside `rect`: top and left edges in
// topColor, bottom and right ones in bottomColor. `rect` shrinks by the width on every side.
// The brush is put back; its colour is used while drawing.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace ClassLib
