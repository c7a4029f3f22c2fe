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

struct TDecodedImage::TCache {
    ~TCache() {
        if (Pixels) ::DeleteObject(Pixels);
    }
    bool Opened = false;   // an attempt was made: a failure is kept too
    TOpenedImage Image;
    bool BitmapRead = false;
    std::unique_ptr<ClassLib::TBitmap> Bitmap;   // BMP data drawn with its transparent colour
    bool PixelsMade = false;
    HBITMAP Pixels = nullptr;   // the image's premultiplied pixels, for drawing at its own size
};

namespace {

// The image's pixels, premultiplied, in a 32-bit DIB section: GDI+ draws them into the
// section's memory itself, so they are the pixels it would draw at the image's own size.
HBITMAP PremultipliedPixels(AdvGDIP::TGPImage* image, int width, int height) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down, as GDI+ lays out its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) return nullptr;
    bool drawn = false;
    Gdiplus::GpBitmap* native = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                                      static_cast<BYTE*>(bits), &native) == Gdiplus::Ok) {
        AdvGDIP::TGPBitmap target(native);
        AdvGDIP::TGPGraphics graphics(&target);
        // The section starts all zero, fully transparent: drawn over it, the image's pixels land unchanged.
        drawn = graphics.GetLastStatus() == Gdiplus::Ok && graphics.DrawImage(image, 0, 0, width, height) == Gdiplus::Ok;
    }
    if (!drawn) {
        ::DeleteObject(section);
        return nullptr;
    }
    return section;
}

}  // namespace

TDecodedImage::TDecodedImage() = default;
TDecodedImage::~TDecodedImage() = default;

void TDecodedImage::Reset() { FCache.reset(); }

AdvGDIP::TGPImage* TDecodedImage::Image(const ClassLib::TBytes& bytes) {
    if (!FCache) FCache = std::make_unique<TCache>();
    if (!FCache->Opened) {
        FCache->Image = OpenImage(bytes.data(), bytes.size(), TNoMemory::Skip);
        // Without the memory for the bytes nothing is kept: a later paint tries again.
        FCache->Opened = bool(FCache->Image) || FCache->Image.Stream;
    }
    return FCache->Image.Image.get();
}

void TDecodedImage::Draw(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const ClassLib::TBytes& bytes,
                         TBmpDrawing bmp, int angle, int& width, int& height) {
    if (bytes.empty()) return;
    AdvGDIP::TGPImage* image = Image(bytes);
    if (!image) return;
    // Told by the signature: Wine's GDI+ reports icons as BMP too.
    if (bmp != TBmpDrawing::GdiPlus && bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        if (!FCache->BitmapRead) {
            FCache->BitmapRead = true;
            auto bitmap = std::make_unique<ClassLib::TBitmap>();
            try {
                bitmap->LoadFromBytes(bytes.data(), bytes.size());
                bitmap->SetTransparentMode(ClassLib::tmAuto);
                FCache->Bitmap = std::move(bitmap);
            } catch (const ClassLib::EInvalidGraphic&) {
                // GDI+ reads BMP variants the bitmap class does not; nothing is drawn
            }
        }
        if (!FCache->Bitmap) return;
        FCache->Bitmap->SetTransparent(bmp == TBmpDrawing::Transparent);
        canvas->StretchDraw(rect, FCache->Bitmap.get());
        return;
    }
    width = int(image->GetWidth());
    height = int(image->GetHeight());
    // At its own size and upright, the pixels go onto the device context with one blend:
    // Wine's GDI+ takes several times as long to draw a small image there.
    if (angle == 0 && rect.Width() == width && rect.Height() == height) {
        if (!FCache->PixelsMade) {
            FCache->PixelsMade = true;
            FCache->Pixels = PremultipliedPixels(image, width, height);
        }
        if (FCache->Pixels) {
            HDC source = ::CreateCompatibleDC(canvas->Handle());
            if (source) {
                const HGDIOBJ old = ::SelectObject(source, FCache->Pixels);
                const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                const bool blended =
                    ::GdiAlphaBlend(canvas->Handle(), rect.Left, rect.Top, width, height, source, 0, 0, width, height, blend);
                ::SelectObject(source, old);
                ::DeleteDC(source);
                if (blended) return;
            }
        }
    }
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    if (angle != 0) {
        const float cx = float(rect.Left) + float(width) / 2, cy = float(rect.Top) + float(height) / 2;
        // Prepended, so a point is moved to the centre's origin, turned, and moved back.
        graphics.TranslateTransform(cx, cy);
        graphics.RotateTransform(float(angle));
        graphics.TranslateTransform(-cx, -cy);
    }
    graphics.DrawImage(image, rect.Left, rect.Top, rect.Width(), rect.Height());
    graphics.ResetTransform();
}

}  // namespace AdvGlobalStream
