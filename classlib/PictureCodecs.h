#pragma once
// Window-free coding of raster data: PNG through zlib, JPEG through libjpeg, to and
// from plain 32-bit pixel buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "classlib/Exceptions.h"

namespace ClassLib {

class EInvalidGraphic : public Exception { public: using Exception::Exception; };

using TBytes = std::vector<std::uint8_t>;

// Pixels top row first, 4 bytes each in the order blue, green, red, alpha; alpha not premultiplied.
struct TRasterImage {
    int Width = 0;
    int Height = 0;
    TBytes Pixels;
    bool HasAlpha = false;  // some pixel is not fully opaque, or the format declares transparency
};

// Both raise EInvalidGraphic on data they cannot read, naming what is wrong.
TRasterImage DecodePng(const std::uint8_t* data, std::size_t size);
TRasterImage DecodeJpeg(const std::uint8_t* data, std::size_t size);

// PNG: 8-bit RGBA (RGB when the image has no alpha), one filter per row.
TBytes EncodePng(const TRasterImage& image);
// Baseline JPEG of the colour channels; quality 1 to 100.
TBytes EncodeJpeg(const TRasterImage& image, int quality);

bool IsPngSignature(const std::uint8_t* data, std::size_t size);
bool IsJpegSignature(const std::uint8_t* data, std::size_t size);

}  // namespace ClassLib
