#include "classlib/GdiScopes.h"

#include <algorithm>

namespace ClassLib {

TOffscreenBuffer::TOffscreenBuffer(HDC target, int width, int height) noexcept
    : FDC(::CreateCompatibleDC(target)), FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {
    if (!FDC) return;
    // Compatible with the target, not with the memory DC: that one starts monochrome.
    FBitmap.reset(::CreateCompatibleBitmap(target, FWidth, FHeight));
    if (FBitmap) FOld = ::SelectObject(FDC.get(), FBitmap.get());
}

TOffscreenBuffer::~TOffscreenBuffer() {
    if (FOld) ::SelectObject(FDC.get(), FOld);
}

void TOffscreenBuffer::CopyTo(HDC target) const noexcept {
    if (FBitmap) ::BitBlt(target, 0, 0, FWidth, FHeight, FDC.get(), 0, 0, SRCCOPY);
}

}  // namespace ClassLib
