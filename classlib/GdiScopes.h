#pragma once
// Owners and scopes for GDI handles: an object deleted when its owner goes, an object
// selected into a DC for one scope, a window's DC, a paint, and an off-screen buffer.
// Each puts back or frees what it took, also when the scope is left by an exception.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace ClassLib {

struct TGdiDeleter {
    void operator()(HGDIOBJ object) const noexcept { ::DeleteObject(object); }
};
using TOwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, TGdiDeleter>;
using TOwnedPen = std::unique_ptr<std::remove_pointer_t<HPEN>, TGdiDeleter>;
using TOwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TGdiDeleter>;
using TOwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TGdiDeleter>;

struct TDCDeleter {
    void operator()(HDC dc) const noexcept { ::DeleteDC(dc); }
};
// A DC made by CreateCompatibleDC or CreateDC (not one from GetDC or BeginPaint).
using TOwnedDC = std::unique_ptr<std::remove_pointer_t<HDC>, TDCDeleter>;

// Selects an object into a DC for one scope, then puts the old one back. Declare it
// after the owner of the object: it deselects before the object is deleted.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) noexcept : FDC(dc), FOld(object ? ::SelectObject(dc, object) : nullptr) {}
    ~TSelection() {
        if (FOld) ::SelectObject(FDC, FOld);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;
private:
    HDC FDC;
    HGDIOBJ FOld;
};

// The DC of a window, or of the screen for null, for one scope. Null when the system
// has none to give.
class TWindowDC {
public:
    explicit TWindowDC(HWND window = nullptr) noexcept : FWindow(window), FDC(::GetDC(window)) {}
    ~TWindowDC() {
        if (FDC) ::ReleaseDC(FWindow, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const noexcept { return FDC; }
private:
    HWND FWindow;
    HDC FDC;
};

// BeginPaint ... EndPaint of one WM_PAINT.
class TPaintScope {
public:
    explicit TPaintScope(HWND window) noexcept : FWindow(window), FDC(::BeginPaint(window, &FPaint)) {}
    ~TPaintScope() { ::EndPaint(FWindow, &FPaint); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Handle() const noexcept { return FDC; }
private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// A memory DC holding a bitmap compatible with `target`, for drawing off screen and
// copying the finished picture in one piece (a picture drawn in place flickers).
// Converts to false when the system had no DC or bitmap to give: draw on the target.
class TOffscreenBuffer {
public:
    TOffscreenBuffer(HDC target, int width, int height) noexcept;
    ~TOffscreenBuffer();
    TOffscreenBuffer(const TOffscreenBuffer&) = delete;
    TOffscreenBuffer& operator=(const TOffscreenBuffer&) = delete;

    explicit operator bool() const noexcept { return FBitmap != nullptr; }
    HDC Handle() const noexcept { return FDC.get(); }
    HBITMAP Bitmap() const noexcept { return FBitmap.get(); }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    // Copies the whole picture to (0, 0) of `target`.
    void CopyTo(HDC target) const noexcept;
private:
    TOwnedDC FDC;            // declared first, so it goes last, after the bitmap left it
    TOwnedBitmap FBitmap;
    HGDIOBJ FOld = nullptr;  // the DC's own bitmap, put back before ours is deleted
    int FWidth;
    int FHeight;
};

}  // namespace ClassLib
