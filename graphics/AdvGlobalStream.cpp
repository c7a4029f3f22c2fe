#include "graphics/AdvGlobalStream.h"

#include <climits>

namespace AdvGlobalStream {

namespace {
TGlobalAllocator CurrentAllocator = &::GlobalAlloc;
}  // namespace

EImageMemoryError::EImageMemoryError() : Exception(L"Could not allocate memory for image") {}

TAllocatorScope::TAllocatorScope(TGlobalAllocator allocator) : FSaved(CurrentAllocator) {
    CurrentAllocator = allocator;
}

TAllocatorScope::~TAllocatorScope() { CurrentAllocator = FSaved; }

TOwnedStream CopyToGlobalStream(const void* data, std::size_t size, TStreamResult& result) {
    // IStream::Write takes a 32-bit count; a picture beyond that is no picture we keep.
    if (size > ULONG_MAX) {
        result = TStreamResult::NoMemory;
        return nullptr;
    }
    HGLOBAL block = CurrentAllocator(GMEM_MOVEABLE, size);
    if (!block) {
        result = TStreamResult::NoMemory;
        return nullptr;
    }
    IStream* raw = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &raw)) || !raw) {
        ::GlobalFree(block);
        result = TStreamResult::NoStream;
        return nullptr;
    }
    TOwnedStream stream(raw);   // frees the block from here on
    ULONG written = 0;
    if (size && (FAILED(stream->Write(data, ULONG(size), &written)) || written != size)) {
        result = TStreamResult::ShortWrite;
        return nullptr;
    }
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    result = TStreamResult::Ok;
    return stream;
}

TOpenedImage OpenImage(const void* data, std::size_t size, TNoMemory noMemory) {
    TOpenedImage opened;
    TStreamResult result = TStreamResult::Ok;
    opened.Stream = CopyToGlobalStream(data, size, result);
    if (result == TStreamResult::NoMemory && noMemory == TNoMemory::Raise) throw EImageMemoryError();
    if (!opened.Stream) return opened;
    auto image = std::make_unique<AdvGDIP::TGPImage>(opened.Stream.get(), false);
    if (image->LastResult() == Gdiplus::Ok) opened.Image = std::move(image);
    return opened;
}

}  // namespace AdvGlobalStream
