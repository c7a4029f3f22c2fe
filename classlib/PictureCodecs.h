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

// The most pixels a decoded picture may have, whatever its format: large enough for any
// picture this program shows, small enough that a forged header cannot exhaust a 32-bit
// process. Every decoder checks the header's size against it before it allocates.
constexpr std::uint64_t MaxPicturePixels = 16ull * 1024 * 1024;
// True when width x height is within MaxPicturePixels (a side of 0 is allowed here;
// decoders refuse empty images themselves).
bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height);

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

// The sizes a GIF (logical screen and first frame) or a TIFF (first image) declares,
// checked against the data's length and MaxPicturePixels before the system's decoder
// sees the data: it allocates for them before it reads any pixel. Raise EInvalidGraphic.
void CheckGifHeader(const std::uint8_t* data, std::size_t size);
void CheckTiffHeader(const std::uint8_t* data, std::size_t size);

bool IsPngSignature(const std::uint8_t* data, std::size_t size);
bool IsJpegSignature(const std::uint8_t* data, std::size_t size);

}  // namespace ClassLib
