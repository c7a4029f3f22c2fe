#include "graphics/AdvGlobalStream.h"

#include <climits>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"

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

bool MeasureImage(const ClassLib::TBytes& bytes, int& width, int& height) {
    const TOpenedImage opened = OpenImage(bytes.data(), bytes.size(), TNoMemory::Raise);
    if (!opened) return false;
    width = int(opened.Image->GetWidth());
    height = int(opened.Image->GetHeight());
    return true;
}

void DrawImageBytes(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const ClassLib::TBytes& bytes,
                    TBmpDrawing bmp, int angle, int& width, int& height) {
    if (bytes.empty()) return;
    const TOpenedImage opened = OpenImage(bytes.data(), bytes.size(), TNoMemory::Skip);
    if (!opened) return;
    // Told by the signature: Wine's GDI+ reports icons as BMP too.
    if (bmp != TBmpDrawing::GdiPlus && bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        ClassLib::TBitmap bitmap;
        try {
            bitmap.LoadFromBytes(bytes.data(), bytes.size());
        } catch (const ClassLib::EInvalidGraphic&) {
            return;   // GDI+ reads BMP variants the bitmap class does not; nothing is drawn
        }
        bitmap.SetTransparentMode(ClassLib::tmAuto);
        bitmap.SetTransparent(bmp == TBmpDrawing::Transparent);
        canvas->StretchDraw(rect, &bitmap);
        return;
    }
    width = int(opened.Image->GetWidth());
    height = int(opened.Image->GetHeight());
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    if (angle != 0) {
        const float cx = float(rect.Left) + float(width) / 2, cy = float(rect.Top) + float(height) / 2;
        // Prepended, so a point is moved to the centre's origin, turned, and moved back.
        graphics.TranslateTransform(cx, cy);
        graphics.RotateTransform(float(angle));
        graphics.TranslateTransform(-cx, -cy);
    }
    graphics.DrawImage(opened.Image.get(), rect.Left, rect.Top, rect.Width(), rect.Height());
    graphics.ResetTransform();
}

}  // namespace AdvGlobalStream
