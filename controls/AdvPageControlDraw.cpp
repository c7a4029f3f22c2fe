// The page control's drawing routines: banded gradients, transparent and sliced pictures.
#include "controls/AdvPageControl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "controls/AdvPageControlShared.h"
#include "graphics/AdvStyleIF.h"

namespace AdvPageControl {

using namespace ClassLib;

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void Poly(TCanvas* canvas, std::initializer_list<TPoint> points) {
    auto it = points.begin();
    canvas->MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) canvas->LineTo(it->X, it->Y);
}

// ---- drawing routines ----

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect, int steps) {
    if (steps <= 0) steps = 1;
    const COLORREF from = COLORREF(ColorToRGB(fromColor));
    const COLORREF to = COLORREF(ColorToRGB(toColor));
    const int dr = int(GetRValue(to)) - int(GetRValue(from));
    const int dg = int(GetGValue(to)) - int(GetGValue(from));
    const int db = int(GetBValue(to)) - int(GetBValue(from));
    const double size = double(horizontal ? rect.Width() : rect.Height()) / steps;
    const int band = int(std::lround(size));
    TCanvasStateScope keep(canvas);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < steps; ++i) {
        const int r = int(GetRValue(from)) + int(std::lround(double(i) * dr / steps));
        const int g = int(GetGValue(from)) + int(std::lround(double(i) * dg / steps));
        const int b = int(GetBValue(from)) + int(std::lround(double(i) * db / steps));
        const TColor colour = TColor(RGB(r, g, b));
        canvas->Pen()->SetColor(colour);
        canvas->Brush()->SetColor(colour);
        const int offset = int(std::uint16_t(std::lround(i * size)));
        if (horizontal)
            canvas->Rectangle(rect.Left + offset, rect.Top, rect.Left + offset + band + 1, rect.Bottom);
        else
            canvas->Rectangle(rect.Left, rect.Top + offset, rect.Right, rect.Top + offset + band + 1);
    }
}

void StretchTransparentFrom(HDC destDC, HDC source, int destX, int destY, int destWidth, int destHeight,
                            COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    TOwnedDC mask(::CreateCompatibleDC(destDC));
    TOwnedBitmap maskBitmap(::CreateBitmap(srcWidth, srcHeight, 1, 1, nullptr));
    if (!mask || !maskBitmap) return;
    TSelection maskSelected(mask.get(), maskBitmap.get());
    // The mask: set where the source has the transparent colour.
    const COLORREF oldBack = ::SetBkColor(source, transparentColor);
    ::BitBlt(mask.get(), 0, 0, srcWidth, srcHeight, source, srcX, srcY, SRCCOPY);
    ::SetBkColor(source, oldBack);
    // Keep the destination where the mask is set, take the source elsewhere.
    const COLORREF oldDestBack = ::SetBkColor(destDC, RGB(255, 255, 255));
    const COLORREF oldDestText = ::SetTextColor(destDC, RGB(0, 0, 0));
    const int oldMode = ::SetStretchBltMode(destDC, COLORONCOLOR);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, mask.get(), 0, 0, srcWidth, srcHeight, SRCAND);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    ::SetStretchBltMode(destDC, oldMode);
    ::SetBkColor(destDC, oldDestBack);
    ::SetTextColor(destDC, oldDestText);
}

HDC PictureDC(TBitmap* bitmap) { return bitmap->Canvas()->Handle(); }

COLORREF CornerColour(TBitmap* bitmap, bool bottom) {
    return ::GetPixel(PictureDC(bitmap), 0, bottom ? bitmap->Height() - 1 : 0);
}

void StretchTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, int destWidth, int destHeight,
                              COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (!bitmap) return;
    TOwnedDC source(::CreateCompatibleDC(destDC));
    if (!source) return;
    ::SetMapMode(source.get(), ::GetMapMode(destDC));
    TSelection sourceSelected(source.get(), bitmap);
    StretchTransparentFrom(destDC, source.get(), destX, destY, destWidth, destHeight, transparentColor, srcX, srcY,
                           srcWidth, srcHeight);
}

void DrawTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, COLORREF transparentColor,
                           int srcX, int srcY, int width, int height) {
    StretchTransparentBitmap(destDC, bitmap, destX, destY, width, height, transparentColor, srcX, srcY, width, height);
}

namespace {
// Three slices along one axis: the first half, the two middle lines stretched, the rest.
void DrawSliced(TBitmap* bitmap, TCanvas* canvas, int x, int length, int y, bool horizontal) {
    if (!bitmap || bitmap->Empty()) return;
    const int bw = bitmap->Width(), bh = bitmap->Height();
    HDC source = PictureDC(bitmap);
    const COLORREF key = CornerColour(bitmap, true);
    HDC dc = canvas->Handle();
    if (horizontal) {
        const int half = bw / 2;
        StretchTransparentFrom(dc, source, x, y, half, bh, key, 0, 0, half, bh);
        StretchTransparentFrom(dc, source, x + half, y, length - bw, bh, key, std::max(half - 1, 0), 0, 2, bh);
        StretchTransparentFrom(dc, source, x + half + length - bw, y, bw - half, bh, key, half, 0, bw - half, bh);
    } else {
        const int half = bh / 2;
        StretchTransparentFrom(dc, source, x, y, bw, half, key, 0, 0, bw, half);
        StretchTransparentFrom(dc, source, x, y + half, bw, length - bh, key, 0, std::max(half - 1, 0), bw, 2);
        StretchTransparentFrom(dc, source, x, y + half + length - bh, bw, bh - half, key, 0, half, bw, bh - half);
    }
}
}  // namespace

void DrawSlicedH(TBitmap* bitmap, TCanvas* canvas, int x, int width, int y) {
    DrawSliced(bitmap, canvas, x, width, y, true);
}

void DrawSlicedV(TBitmap* bitmap, TCanvas* canvas, int x, int height, int y) {
    DrawSliced(bitmap, canvas, x, height, y, false);
}

bool IsVistaOrLaterOS() { return AdvStyleIF::IsVistaOrLater(); }

}  // namespace AdvPageControl
