#include "classlib/Canvas.h"

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TCanvas, TPersistent)

namespace {
std::vector<POINT> ToPoints(std::span<const TPoint> points) {
    std::vector<POINT> result;
    result.reserve(points.size());
    for (const TPoint& p : points) result.push_back(ToPOINT(p));
    return result;
}
}  // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    ::InitializeCriticalSection(&FLock);
    FFont->SetOwnerNotify([this] { if (FFontSelected) { ::SelectObject(FHandle, FOldFont); FFontSelected = false; } });
    FPen->SetOwnerNotify([this] { if (FPenSelected) { ::SelectObject(FHandle, FOldPen); FPenSelected = false; } });
    FBrush->SetOwnerNotify([this] { if (FBrushSelected) { ::SelectObject(FHandle, FOldBrush); FBrushSelected = false; } });
}

TCanvas::~TCanvas() {
    DeselectHandles();
    ::DeleteCriticalSection(&FLock);
}

HDC TCanvas::RequireDC() {
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation(L"Canvas does not allow drawing: it has no device context");
    return FHandle;
}

HDC TCanvas::Handle() {
    RequireDC();
    // Only what is not in place yet: a raw caller's own settings between two calls stay.
    if (!FFontSelected) SelectFont();
    if (!FPenSelected) SelectPen();
    if (!FBrushSelected) SelectBrush();
    // A font's colour is no part of the GDI font: a change of it selects nothing again.
    if (FFont->Color() != FTextColorSet) ApplyTextColor();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    DeselectHandles();
    FHandle = dc;
}

void TCanvas::DeselectHandles() {
    if (!FHandle) return;
    if (FFontSelected) ::SelectObject(FHandle, FOldFont);
    if (FPenSelected) ::SelectObject(FHandle, FOldPen);
    if (FBrushSelected) ::SelectObject(FHandle, FOldBrush);
    FFontSelected = FPenSelected = FBrushSelected = false;
    FTextColorSet = clNone;
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::SelectFont() {
    HGDIOBJ old = ::SelectObject(FHandle, FFont->Handle());
    if (!FFontSelected) FOldFont = old;
    FFontSelected = true;
    ApplyTextColor();
}

void TCanvas::ApplyTextColor() {
    FTextColorSet = FFont->Color();
    ::SetTextColor(FHandle, COLORREF(ColorToRGB(FTextColorSet)));
}

void TCanvas::SelectPen() {
    HGDIOBJ old = ::SelectObject(FHandle, FPen->Handle());
    if (!FPenSelected) FOldPen = old;
    FPenSelected = true;
    ::SetROP2(FHandle, FPen->Rop2());
}

void TCanvas::SelectBrush() {
    HGDIOBJ old = ::SelectObject(FHandle, FBrush->Handle());
    if (!FBrushSelected) FOldBrush = old;
    FBrushSelected = true;
    ::SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
    ::SetBkMode(FHandle, FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::RequireState() {
    Handle();
    // The canvas's own drawing does not trust what raw calls may have left behind; setting
    // the colours every time is cheaper than tracking them.
    ApplyTextColor();
    ::SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
    ::SetBkMode(FHandle, FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE);
    ::SetROP2(FHandle, FPen->Rop2());
}

void TCanvas::UseFont(const TFont* font) {
    if (!font || font == FFont.get()) return;
    const TFont& f = *FFont;
    if (f.Name() != font->Name() || f.Height() != font->Height() || f.PixelsPerInch() != font->PixelsPerInch() ||
        f.PointSized() != font->PointSized() || !(f.Style() == font->Style()) || f.Charset() != font->Charset() ||
        f.Orientation() != font->Orientation() || f.Pitch() != font->Pitch() || f.Quality() != font->Quality())
        FFont->Assign(font);
    else
        FFont->SetColor(font->Color());
}

void TCanvas::Changing() { FireEvent(FOnChanging, this); }
void TCanvas::Changed() { FireEvent(FOnChange, this); }

TPoint TCanvas::PenPos() {
    POINT p{};
    ::GetCurrentPositionEx(RequireDC(), &p);
    return {int(p.x), int(p.y)};
}

void TCanvas::SetPenPos(const TPoint& position) { ::MoveToEx(RequireDC(), position.X, position.Y, nullptr); }

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(RequireDC(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequireState();
    ::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    Changing();
    RequireState();
    ::ExtTextOutW(FHandle, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
    // The pen waits at the end of the text, where the next piece would continue.
    SIZE size{};
    ::GetTextExtentPoint32W(FHandle, text.c_str(), int(text.size()), &size);
    ::MoveToEx(FHandle, x + size.cx, y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::wstring& text) {
    Changing();
    RequireState();
    UINT options = ETO_CLIPPED;
    if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
    const RECT r = ToRECT(rect);
    ::ExtTextOutW(FHandle, x, y, options, &r, text.c_str(), UINT(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(TRect& rect, std::wstring& text, TTextFormat format) {
    static const UINT flags[] = {
        DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,
        DT_EXTERNALLEADING, DT_LEFT, DT_MODIFYSTRING, DT_NOCLIP, DT_NOPREFIX, DT_RIGHT, DT_RTLREADING,
        DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK, DT_HIDEPREFIX, DT_NOFULLWIDTHCHARBREAK,
        DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS};
    UINT systemFlags = 0;
    for (int i = 0; i <= int(tfWordEllipsis); ++i)
        if (format.Contains(TTextFormats(i))) systemFlags |= flags[i];
    const bool drawing = !format.Contains(tfCalcRect);
    if (drawing) Changing();
    RequireState();
    // Wine: DrawText divides by the font's average character width to expand tabs, and now
    // and then (seen with Arial after some hundred thousand HTML layouts) a font reports
    // none, which ended the program. Such a text keeps its tabs unexpanded.
    if ((systemFlags & DT_EXPANDTABS) && text.find(L'\t') != std::wstring::npos) {
        TEXTMETRICW metrics{};
        if (!::GetTextMetricsW(FHandle, &metrics) || metrics.tmAveCharWidth <= 0) {
            systemFlags &= ~UINT(DT_EXPANDTABS | DT_TABSTOP);
        }
    }
    // The system may write an ellipsis and a terminator into the text: room for both.
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.resize(text.size() + 5, L'\0');
    RECT r = ToRECT(rect);
    ::DrawTextExW(FHandle, buffer.data(), int(text.size()), &r, systemFlags, nullptr);
    rect = FromRECT(r);
    if (format.Contains(tfModifyString)) text = buffer.data();
    if (drawing) Changed();
}

TSize TCanvas::TextExtent(const std::wstring& text) {
    RequireState();
    SIZE size{};
    ::GetTextExtentPoint32W(FHandle, text.c_str(), int(text.size()), &size);
    return {int(size.cx), int(size.cy)};
}

void TCanvas::FillRect(const TRect& rect) {
    Changing();
    RequireState();
    const RECT r = ToRECT(rect);
    ::FillRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    Changing();
    RequireState();
    const RECT r = ToRECT(rect);
    ::FrameRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    RequireState();
    ::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    RequireState();
    ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    RequireState();
    ::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequireState();
    const std::vector<POINT> p = ToPoints(points);
    ::Polygon(FHandle, p.data(), int(p.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequireState();
    const std::vector<POINT> p = ToPoints(points);
    ::Polyline(FHandle, p.data(), int(p.size()));
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequireState();
    ::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    Changing();
    RequireState();
    const RECT r = ToRECT(rect);
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequireState();
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas) return;
    Changing();
    RequireState();
    HDC sourceDC = canvas->Handle();
    const int oldMode = ::SetStretchBltMode(FHandle, COLORONCOLOR);
    ::StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), sourceDC, source.Left, source.Top,
                 source.Width(), source.Height(), FCopyMode);
    ::SetStretchBltMode(FHandle, oldMode);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) { return TColor(::GetPixel(RequireDC(), x, y)); }

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    ::SetPixel(RequireDC(), x, y, COLORREF(ColorToRGB(color)));
    Changed();
}

TRect TCanvas::ClipRect() {
    RECT r{};
    ::GetClipBox(RequireDC(), &r);
    return FromRECT(r);
}

void TCanvas::Lock() {
    ::EnterCriticalSection(&FLock);
    ++FLockCount;
}

void TCanvas::Unlock() {
    --FLockCount;
    ::LeaveCriticalSection(&FLock);
}

bool TCanvas::TryLock() {
    if (!::TryEnterCriticalSection(&FLock)) return false;
    ++FLockCount;
    return true;
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    const TColor oldColor = canvas->Brush()->Color();
    const TBrushStyle oldStyle = canvas->Brush()->Style();
    canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < width; ++i) {
        if (rect.Width() <= 0 || rect.Height() <= 0) {
            rect = TRect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
            continue;
        }
        // Each ring's corners: top-right belongs to the top edge, bottom-left to the left one.
        canvas->Brush()->SetColor(topColor);
        canvas->FillRect(TRect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
        canvas->FillRect(TRect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom));
        canvas->Brush()->SetColor(bottomColor);
        canvas->FillRect(TRect(rect.Left + 1, rect.Bottom - 1, rect.Right, rect.Bottom));
        canvas->FillRect(TRect(rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom));
        rect = TRect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
    canvas->Brush()->SetColor(oldColor);
    canvas->Brush()->SetStyle(oldStyle);
}

}  // namespace ClassLib
