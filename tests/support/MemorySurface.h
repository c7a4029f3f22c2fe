#pragma once
// A 32-bit DIB section selected into a memory DC: something to paint on headless and read
// pixels back from.
#include <windows.h>

#include "classlib/Colors.h"

namespace TestSupport {

class TMemorySurface {
public:
    TMemorySurface(int width, int height, COLORREF fill = RGB(255, 255, 255)) : FWidth(width), FHeight(height) {
        FDC = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        FBitmap = ::CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        FOld = ::SelectObject(FDC, FBitmap);
        Fill(fill);
    }
    ~TMemorySurface() {
        ::SelectObject(FDC, FOld);
        ::DeleteObject(FBitmap);
        ::DeleteDC(FDC);
    }
    TMemorySurface(const TMemorySurface&) = delete;
    TMemorySurface& operator=(const TMemorySurface&) = delete;

    void Fill(COLORREF colour) {
        const COLORREF old = ::SetBkColor(FDC, colour);
        const RECT all{0, 0, FWidth, FHeight};
        ::ExtTextOutW(FDC, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        ::SetBkColor(FDC, old);
    }
    HDC DC() const { return FDC; }
    COLORREF At(int x, int y) const { return ::GetPixel(FDC, x, y); }
    bool Is(int x, int y, ClassLib::TColor colour) const { return At(x, y) == COLORREF(ClassLib::ColorToRGB(colour)); }
    int Count(const RECT& r, COLORREF colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }
    int CountColour(const RECT& r, ClassLib::TColor colour) const {
        return Count(r, COLORREF(ClassLib::ColorToRGB(colour)));
    }
    // Pixels of any other colour than the background: the ink.
    int CountInk(const RECT& r, ClassLib::TColor background) const {
        return (r.right - r.left) * (r.bottom - r.top) - CountColour(r, background);
    }

private:
    int FWidth, FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

}  // namespace TestSupport
