#pragma once
// Picture bytes handed to GDI+: copied into a moveable global memory block behind a COM
// stream, and opened from there as a GDI+ image. Pictures decode on every draw, so
// nothing here is cached.
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <memory>

#include "classlib/Exceptions.h"
#include "graphics/AdvGDIP.h"

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
