#pragma once
// Picture bytes handed to GDI+: copied into a moveable global memory block behind a COM
// stream, and opened from there as a GDI+ image; TDecodedImage keeps a picture's decoded
// image between draws.
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <memory>

#include "classlib/Exceptions.h"
#include "classlib/Geometry.h"
#include "classlib/PictureCodecs.h"
#include "graphics/AdvGDIP.h"

namespace ClassLib {
class TCanvas;
}

namespace AdvGlobalStream {

// "Could not allocate memory for image": the block for a picture's bytes cannot be had.
class EImageMemoryError : public ClassLib::Exception {
public:
    EImageMemoryError();
};

struct TComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
using TOwnedStream = std::unique_ptr<IStream, TComRelease>;

enum class TStreamResult { Ok, NoMemory, NoStream, ShortWrite };

// A stream at position 0 over a copy of the bytes; the block is freed with the stream.
// Null, with the reason in `result`, when any step fails.
TOwnedStream CopyToGlobalStream(const void* data, std::size_t size, TStreamResult& result);

// An image GDI+ decoded from the bytes, with the stream it reads from (GDI+ may read
// it again while the image lives, so the two go together; the image is freed first).
struct TOpenedImage {
    TOwnedStream Stream;
    std::unique_ptr<AdvGDIP::TGPImage> Image;
    explicit operator bool() const { return Image != nullptr; }
};

// What to do when the memory block cannot be had: a painter skips the picture (no
// exception may leave a paint), a measurement raises EImageMemoryError.
enum class TNoMemory { Skip, Raise };

// Empty when the bytes cannot be put in a stream or GDI+ cannot decode them.
TOpenedImage OpenImage(const void* data, std::size_t size, TNoMemory noMemory);

// The pixel size of the image in the bytes; false when GDI+ cannot decode them.
// EImageMemoryError when the block cannot be had.
bool MeasureImage(const ClassLib::TBytes& bytes, int& width, int& height);

// How BMP data is drawn: by GDI+ like the rest (opaque), or as a bitmap with its automatic
// transparent colour (the bottom-left pixel) on or off.
enum class TBmpDrawing { GdiPlus, Transparent, Opaque };

// A picture's bytes as decoded for drawing, kept from one paint to the next: decoding
// took nearly all of the time of a small picture's draw. The owner calls Reset whenever
// its bytes change.
class TDecodedImage {
public:
    TDecodedImage();
    ~TDecodedImage();
    TDecodedImage(const TDecodedImage&) = delete;
    TDecodedImage& operator=(const TDecodedImage&) = delete;

    void Reset();
    // Draws the image in the bytes stretched into `rect`, turned by `angle` degrees about
    // the centre of its natural size placed at the rectangle's top left. Never raises;
    // gives the natural size when GDI+ drew the image, else leaves width and height.
    void Draw(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const ClassLib::TBytes& bytes, TBmpDrawing bmp,
              int angle, int& width, int& height);
    // The image GDI+ decoded, or null when it could not; decoded on the first call.
    AdvGDIP::TGPImage* Image(const ClassLib::TBytes& bytes);
private:
    struct TCache;
    std::unique_ptr<TCache> FCache;   // null until the first draw after a change
};

// The block allocator, replaceable for the tests of the out-of-memory paths.
using TGlobalAllocator = HGLOBAL(WINAPI*)(UINT flags, SIZE_T bytes);
class TAllocatorScope {
public:
    explicit TAllocatorScope(TGlobalAllocator allocator);
    ~TAllocatorScope();
    TAllocatorScope(const TAllocatorScope&) = delete;
    TAllocatorScope& operator=(const TAllocatorScope&) = delete;
private:
    TGlobalAllocator FSaved;
};

}  // namespace AdvGlobalStream
