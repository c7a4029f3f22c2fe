#include "classlib/Pictures.h"

#include <algorithm>
#include <cstring>

#include "classlib/Streams.h"
#include "classlib/WindowDescription.h"
#include "classlib/WindowDescriptionWriter.h"

#include <gdiplus.h>
#include <shlwapi.h>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TGraphic, TPersistent)
CLASSLIB_IMPLEMENT(TPicture, TPersistent)
CLASSLIB_IMPLEMENT(TBitmap, TGraphic)
CLASSLIB_IMPLEMENT(TIcon, TGraphic)
CLASSLIB_IMPLEMENT(TEncodedRaster, TGraphic)
CLASSLIB_IMPLEMENT(TPngImage, TEncodedRaster)
CLASSLIB_IMPLEMENT(TJPEGImage, TEncodedRaster)
CLASSLIB_IMPLEMENT(TGIFImage, TEncodedRaster)

namespace {
// A description holds a picture's image as "Picture.Data = {...}". Registered with the
// unit itself: a picture to read into exists only where this unit is linked in.
[[maybe_unused]] const bool PictureDataRegistered =
    (RegisterBinaryProperty(TPicture::StaticClass(), L"Data",
                            [](TObject* object, TStream* data) { static_cast<TPicture*>(object)->ReadData(data); }),
     RegisterBinaryPropertyWriter(TPicture::StaticClass(), L"Data",
                                  [](TObject* object, TStream* data) {
                                      auto* picture = static_cast<TPicture*>(object);
                                      if (!picture->Graphic()) return false;
                                      picture->WriteData(data);
                                      return true;
                                  }),
     true);
}  // namespace
CLASSLIB_IMPLEMENT(TWICImage, TEncodedRaster)
CLASSLIB_IMPLEMENT(TMetafile, TGraphic)

namespace {

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) { return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24); }
void PutLe16(TBytes& out, unsigned v) { out.push_back(std::uint8_t(v)); out.push_back(std::uint8_t(v >> 8)); }
void PutLe32(TBytes& out, std::uint32_t v) { PutLe16(out, v & 0xFFFF); PutLe16(out, v >> 16); }

// The bytes from the stream's position to its end.
TBytes ReadRest(TStream* stream) {
    const std::int64_t left = stream->Size() - stream->Position();
    if (left <= 0) return {};
    if (left > 0x7FFFFFFF) throw EInvalidGraphic(L"Cannot load the picture: the data is larger than 2 GB");
    TBytes bytes(static_cast<std::size_t>(left));
    bytes.resize(std::size_t(stream->Read(bytes.data(), int(left))));
    return bytes;
}

// Up to `count` bytes at the stream's position, leaving the position where it was.
TBytes Peek(TStream* stream, int count) {
    const std::int64_t position = stream->Position();
    TBytes bytes(count);
    bytes.resize(std::size_t(std::max(0, stream->Read(bytes.data(), count))));
    stream->SetPosition(position);
    return bytes;
}

void WriteBytes(TStream* stream, const TBytes& bytes) {
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

std::unique_ptr<TMemoryStream> MemoryStreamOf(const TBytes& bytes) {
    auto stream = std::make_unique<TMemoryStream>();
    WriteBytes(stream.get(), bytes);
    stream->SetPosition(0);
    return stream;
}

TBytes ReadFileBytes(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    return ReadRest(&file);
}

// Written beside the target first, so a failed write leaves the old file whole.
void WriteFileBytes(const std::wstring& fileName, const TBytes& bytes) {
    const std::wstring temporary = fileName + L".tmp~";
    {
        TFileStream file(temporary, fmCreate);
        WriteBytes(&file, bytes);
    }
    if (!::MoveFileExW(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        RaiseOSError(code, L"Cannot write \"" + fileName + L"\"");
    }
}

std::wstring LowerExtension(const std::wstring& fileName) {
    const std::size_t dot = fileName.find_last_of(L'.');
    const std::size_t slash = fileName.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return {};
    std::wstring ext = fileName.substr(dot + 1);
    for (wchar_t& c : ext) c = wchar_t(std::towlower(c));
    return ext;
}

std::vector<TFileFormat>& Formats() {
    static std::vector<TFileFormat> formats = {
        {L"bmp", L"Bitmaps", &TBitmap::ClassData()},
        {L"ico", L"Icons", &TIcon::ClassData()},
        {L"png", L"Portable Network Graphics", &TPngImage::ClassData()},
        {L"jpg", L"JPEG Image File", &TJPEGImage::ClassData()},
        {L"jpeg", L"JPEG Image File", &TJPEGImage::ClassData()},
        {L"gif", L"GIF Image", &TGIFImage::ClassData()},
        {L"tif", L"TIFF Image", &TWICImage::ClassData()},
        {L"tiff", L"TIFF Image", &TWICImage::ClassData()},
        {L"emf", L"Enhanced Metafiles", &TMetafile::ClassData()},
        {L"wmf", L"Metafiles", &TMetafile::ClassData()},
    };
    return formats;
}

TGraphicClass ClassForExtension(const std::wstring& ext) {
    const std::vector<TFileFormat>& formats = Formats();
    // The latest registration for an extension wins.
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (it->Extension == ext) return it->GraphicClass;
    return nullptr;
}

// ---- colour tables of new paletted bitmaps ----

void FillColorTable(RGBQUAD* table, int bitCount) {
    // The sixteen classic colours come first, so that navy, maroon and silver stay exact.
    static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                     0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    if (bitCount == 1) {
        table[0] = RGBQUAD{0, 0, 0, 0};
        table[1] = RGBQUAD{255, 255, 255, 0};
        return;
    }
    if (bitCount != 4 && bitCount != 8) return;
    int i = 0;
    for (; i < 16; ++i) table[i] = RGBQUAD{GetBValue(vga[i]), GetGValue(vga[i]), GetRValue(vga[i]), 0};
    if (bitCount == 4) return;
    // Then a 6 x 6 x 6 colour cube and a ramp of greys.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) table[i++] = RGBQUAD{BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
    for (int k = 1; i < 256; ++i, ++k) table[i] = RGBQUAD{BYTE(k * 10), BYTE(k * 10), BYTE(k * 10), 0};
}

int BitCountOf(TPixelFormat format) {
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

// Unsigned throughout: biClrUsed is the file's, and any 32-bit value may stand there.
std::uint32_t ColorTableSize(const BITMAPINFOHEADER& h) {
    if (h.biBitCount > 8) return 0;
    const std::uint32_t full = 1u << h.biBitCount;
    return h.biClrUsed == 0 || h.biClrUsed > full ? full : h.biClrUsed;
}

// Expands BI_RLE8 or BI_RLE4 data into bottom-up rows of `stride` bytes. Writes stay
// inside width x height and reads inside `size`; pixels the data skips stay 0, and
// data that ends early leaves the rest of the image so.
void ExpandRle(const std::uint8_t* in, std::size_t size, bool fourBits, std::uint32_t width, std::uint32_t height,
               std::size_t stride, std::uint8_t* out) {
    std::uint64_t x = 0, y = 0;
    auto put = [&](unsigned index) {
        if (x < width && y < height) {
            std::uint8_t* row = out + std::size_t(y) * stride;
            if (!fourBits) row[x] = std::uint8_t(index);
            else if (x % 2) row[x / 2] = std::uint8_t((row[x / 2] & 0xF0) | (index & 0x0F));
            else row[x / 2] = std::uint8_t((row[x / 2] & 0x0F) | (index << 4));
        }
        ++x;
    };
    std::size_t pos = 0;
    while (size - pos >= 2 && y < height) {
        const unsigned count = in[pos], value = in[pos + 1];
        pos += 2;
        if (count) {  // a run: one index, or two alternating ones at four bits
            for (unsigned i = 0; i < count; ++i) put(fourBits ? (i % 2 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // move right and up
            if (size - pos < 2) return;
            x += in[pos];
            y += in[pos + 1];
            pos += 2;
        } else {  // `value` literal indexes, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (value + 1) / 2 : value;
            if (bytes > size - pos) return;
            for (unsigned i = 0; i < value; ++i) {
                const std::uint8_t b = in[pos + (fourBits ? i / 2 : i)];
                put(fourBits ? (i % 2 ? b & 0x0F : b >> 4) : b);
            }
            pos += std::min(size - pos, (bytes + 1) & ~std::size_t(1));
        }
    }
}

// A BITMAPINFOHEADER with the masks and colour table that follow it.
TBytes MakeInfo(int width, int height, TPixelFormat format) {
    const int bitCount = BitCountOf(format);
    const bool fields = format == pf16bit;
    const int colors = bitCount <= 8 ? 1 << bitCount : 0;
    TBytes info(sizeof(BITMAPINFOHEADER) + (fields ? 12 : 0) + colors * sizeof(RGBQUAD));
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bitCount);
    h->biCompression = fields ? BI_BITFIELDS : BI_RGB;
    h->biClrUsed = DWORD(colors);
    if (fields) {
        auto* masks = reinterpret_cast<DWORD*>(info.data() + sizeof(BITMAPINFOHEADER));
        masks[0] = 0xF800; masks[1] = 0x07E0; masks[2] = 0x001F;
    }
    if (colors) FillColorTable(reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER)), bitCount);
    return info;
}

// Pixels of any graphic as 32-bit top-down rows; alpha taken from premultiplied
// bitmaps only (GDI leaves the fourth byte of other pixels undefined).
TRasterImage RasterOf(TBitmap& bitmap) {
    TRasterImage image;
    if (bitmap.Empty()) return image;
    image.Width = bitmap.Width();
    image.Height = bitmap.Height();
    image.Pixels.resize(std::size_t(image.Width) * image.Height * 4);
    TBitmap* source = &bitmap;
    std::unique_ptr<TBitmap> converted;
    if (bitmap.BitCount() != 32) {
        converted = std::make_unique<TBitmap>();
        converted->Assign(&bitmap);
        converted->SetPixelFormat(pf32bit);
        source = converted.get();
    }
    const bool alpha = bitmap.AlphaPremultiplied();
    image.HasAlpha = alpha;
    for (int y = 0; y < image.Height; ++y) {
        const auto* in = static_cast<const std::uint8_t*>(source->ScanLine(y));
        std::uint8_t* out = &image.Pixels[std::size_t(y) * image.Width * 4];
        for (int x = 0; x < image.Width; ++x, in += 4, out += 4) {
            const int a = alpha ? in[3] : 255;
            for (int c = 0; c < 3; ++c) out[c] = a == 0 ? 0 : a == 255 ? in[c] : std::uint8_t(std::min(255, in[c] * 255 / a));
            out[3] = std::uint8_t(a);
        }
    }
    return image;
}

// Fills `bitmap` with the image: 32-bit premultiplied when it has alpha, else `format`.
void LoadRaster(TBitmap& bitmap, const TRasterImage& image, TPixelFormat format) {
    bitmap.SetAlphaPremultiplied(false);
    bitmap.SetPixelFormat(image.HasAlpha ? pf32bit : format);
    bitmap.SetSize(image.Width, image.Height);
    const int step = bitmap.BitCount() / 8;
    for (int y = 0; y < image.Height; ++y) {
        const std::uint8_t* in = &image.Pixels[std::size_t(y) * image.Width * 4];
        auto* out = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < image.Width; ++x, in += 4, out += step) {
            if (image.HasAlpha) {
                const int a = in[3];
                out[0] = std::uint8_t(in[0] * a / 255);
                out[1] = std::uint8_t(in[1] * a / 255);
                out[2] = std::uint8_t(in[2] * a / 255);
                out[3] = std::uint8_t(a);
            } else {
                out[0] = in[0]; out[1] = in[1]; out[2] = in[2];
                if (step == 4) out[3] = 255;
            }
        }
    }
    bitmap.SetAlphaPremultiplied(image.HasAlpha);
}

// ---- GDI+ for the formats we do not decode ourselves ----

// Started once, on first use, and left running until the process ends.
bool GdiPlusReady() {
    static const bool ready = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return ready;
}

struct TComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
using TOwnedStream = std::unique_ptr<IStream, TComRelease>;

struct TGdiPlusImage {
    Gdiplus::GpBitmap* Bitmap = nullptr;
    ~TGdiPlusImage() { if (Bitmap) Gdiplus::DllExports::GdipDisposeImage(Bitmap); }
};

TRasterImage DecodeWithGdiPlus(const std::uint8_t* data, std::size_t size, const wchar_t* kind) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    const std::wstring invalid = std::wstring(kind) + L" image is not valid";
    if (!GdiPlusReady()) throw EInvalidGraphic(invalid + L": the system's image library cannot start");
    TOwnedStream stream(::SHCreateMemStream(data, UINT(size)));
    TGdiPlusImage image;
    if (!stream || GdipCreateBitmapFromStream(stream.get(), &image.Bitmap) != Ok || !image.Bitmap)
        throw EInvalidGraphic(invalid + L": the system cannot read it");
    UINT width = 0, height = 0;
    GdipGetImageWidth(image.Bitmap, &width);
    GdipGetImageHeight(image.Bitmap, &height);
    if (width == 0 || height == 0 || !PictureSizeAllowed(width, height))
        throw EInvalidGraphic(invalid + L": the image size is out of range");
    TRasterImage raster;
    raster.Width = int(width);
    raster.Height = int(height);
    raster.Pixels.resize(std::size_t(width) * height * 4);
    const GpRect all(0, 0, INT(width), INT(height));
    BitmapData locked{};
    locked.Width = width;
    locked.Height = height;
    locked.Stride = INT(width * 4);
    locked.PixelFormat = PixelFormat32bppARGB;
    locked.Scan0 = raster.Pixels.data();
    // User buffer: GDI+ writes the rows straight into ours.
    if (GdipBitmapLockBits(image.Bitmap, &all, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                           &locked) != Ok)
        throw EInvalidGraphic(invalid + L": the system cannot read its pixels");
    GdipBitmapUnlockBits(image.Bitmap, &locked);
    for (std::size_t i = 3; i < raster.Pixels.size() && !raster.HasAlpha; i += 4) raster.HasAlpha = raster.Pixels[i] != 255;
    return raster;
}

TBytes EncodeWithGdiPlus(const TRasterImage& raster, const wchar_t* mimeType, const wchar_t* kind) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    const std::wstring failed = std::wstring(L"Cannot write the ") + kind + L" image";
    if (raster.Width <= 0 || raster.Height <= 0) throw EInvalidGraphic(failed + L": it is empty");
    if (!GdiPlusReady()) throw EInvalidGraphic(failed + L": the system's image library cannot start");
    UINT count = 0, bytes = 0;
    GdipGetImageEncodersSize(&count, &bytes);
    std::vector<std::uint8_t> buffer(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    const CLSID* encoder = nullptr;
    if (bytes && GdipGetImageEncoders(count, bytes, codecs) == Ok)
        for (UINT i = 0; i < count && !encoder; ++i)
            if (codecs[i].MimeType && ::lstrcmpiW(codecs[i].MimeType, mimeType) == 0) encoder = &codecs[i].Clsid;
    if (!encoder) throw EInvalidGraphic(failed + L": the system has no encoder for it");
    TGdiPlusImage image;
    TBytes pixels = raster.Pixels;
    if (!raster.HasAlpha)
        for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    if (GdipCreateBitmapFromScan0(raster.Width, raster.Height, raster.Width * 4, PixelFormat32bppARGB, pixels.data(),
                                  &image.Bitmap) != Ok)
        throw EInvalidGraphic(failed + L": out of memory");
    TOwnedStream stream(::SHCreateMemStream(nullptr, 0));
    if (!stream || GdipSaveImageToStream(image.Bitmap, stream.get(), encoder, nullptr) != Ok)
        throw EInvalidGraphic(failed + L": the encoder failed");
    ULARGE_INTEGER size{};
    ::IStream_Size(stream.get(), &size);
    ::IStream_Reset(stream.get());
    TBytes out(std::size_t(size.QuadPart));
    if (!out.empty() && FAILED(::IStream_Read(stream.get(), out.data(), ULONG(out.size()))))
        throw EInvalidGraphic(failed + L": the encoder failed");
    // Wine: its GIF encoder writes a header without the image. Check rather than save a broken file.
    try {
        DecodeWithGdiPlus(out.data(), out.size(), kind);
    } catch (const EInvalidGraphic&) {
        throw EInvalidGraphic(failed + L": the system's encoder wrote unreadable data");
    }
    return out;
}

}  // namespace

// ---- TGraphic ----

void TGraphic::LoadFromFile(const std::wstring& fileName) {
    const TBytes bytes = ReadFileBytes(fileName);
    auto stream = MemoryStreamOf(bytes);
    LoadFromStream(stream.get());
}

void TGraphic::SaveToFile(const std::wstring& fileName) {
    TMemoryStream stream;
    SaveToStream(&stream);
    WriteFileBytes(fileName, stream.Bytes());
}

TBytes ReadCountedData(TStream* stream) {
    std::uint32_t size = 0;
    stream->ReadBuffer(&size, 4);
    if (std::int64_t(size) > stream->Size() - stream->Position())
        throw EInvalidGraphic(L"Picture data is damaged: its length is beyond the end of the data");
    TBytes bytes(size);
    if (size) stream->ReadBuffer(bytes.data(), int(size));
    return bytes;
}

void TGraphic::ReadData(TStream* stream) {
    auto data = MemoryStreamOf(ReadCountedData(stream));
    LoadFromStream(data.get());
}

void TGraphic::WriteData(TStream* stream) {
    TMemoryStream data;
    SaveToStream(&data);
    const std::uint32_t size = std::uint32_t(data.Size());
    stream->WriteBuffer(&size, 4);
    WriteBytes(stream, data.Bytes());
}

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::SetModified(bool value) {
    if (value) Changed();
    else FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    FireEvent(FOnChange, this);
}

// ---- TPicture ----

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Assign(const TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this) SetGraphic(picture->Graphic());
    } else if (auto graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (!graphic) {
        TakeGraphic(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy = graphic->GraphicClass()->Create();
    copy->Assign(graphic);
    TakeGraphic(std::move(copy));
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic) FGraphic->SetOnChange([this](TObject*) { Changed(); });
    Changed();
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) TakeGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::Changed() { FireEvent(FOnChange, this); }

void TPicture::LoadFromStream(TStream* stream) {
    auto data = MemoryStreamOf(ReadRest(stream));
    TGraphicClass cls = FindGraphicClass(data.get());
    if (!cls) throw EInvalidGraphic(L"Cannot load the picture: unknown picture format");
    std::unique_ptr<TGraphic> graphic = cls->Create();
    graphic->LoadFromStream(data.get());
    TakeGraphic(std::move(graphic));
}

void TPicture::SaveToStream(TStream* stream) {
    if (FGraphic) FGraphic->SaveToStream(stream);
}

void TPicture::LoadFromResourceName(THandle instance, const std::wstring& name) {
    SetGraphic(nullptr);
    HMODULE module = instance ? static_cast<HMODULE>(instance) : ::GetModuleHandleW(nullptr);
    if (name.empty() || !::FindResourceW(module, name.c_str(), RT_RCDATA)) return;
    TResourceStream stream(module, name);
    LoadFromStream(&stream);
}

void TPicture::LoadFromFile(const std::wstring& fileName) {
    auto data = MemoryStreamOf(ReadFileBytes(fileName));
    TGraphicClass cls = FindGraphicClass(data.get());
    if (!cls) cls = ClassForExtension(LowerExtension(fileName));
    if (!cls) throw EInvalidGraphic(L"Cannot load \"" + fileName + L"\": unknown picture format");
    std::unique_ptr<TGraphic> graphic = cls->Create();
    try {
        graphic->LoadFromStream(data.get());
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(L"Cannot load \"" + fileName + L"\": " + e.Message());
    }
    TakeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::wstring& fileName) {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::ReadData(TStream* stream) {
    std::uint8_t length = 0;
    stream->ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length) stream->ReadBuffer(name.data(), length);
    if (name.empty()) {
        TakeGraphic(nullptr);
        return;
    }
    const std::wstring className(name.begin(), name.end());
    TGraphicClass cls = FindGraphicClassByName(className);
    if (!cls) throw EInvalidGraphic(L"Cannot read the picture: the picture class \"" + className + L"\" is not registered");
    std::unique_ptr<TGraphic> graphic = cls->Create();
    graphic->ReadData(stream);
    TakeGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream* stream) {
    const std::wstring className = FGraphic ? FGraphic->GraphicClass()->Name : std::wstring();
    const std::string name(className.begin(), className.end());
    const std::uint8_t length = std::uint8_t(std::min<std::size_t>(name.size(), 255));
    stream->WriteBuffer(&length, 1);
    if (length) stream->WriteBuffer(name.data(), length);
    if (FGraphic) FGraphic->WriteData(stream);
}

void TPicture::RegisterFileFormat(const std::wstring& extension, const std::wstring& description,
                                  TGraphicClass graphicClass) {
    if (!graphicClass) return;
    std::wstring ext = extension;
    if (!ext.empty() && ext[0] == L'.') ext.erase(0, 1);
    for (wchar_t& c : ext) c = wchar_t(std::towlower(c));
    Formats().push_back({ext, description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) {
    std::vector<TFileFormat>& formats = Formats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [graphicClass](const TFileFormat& f) { return f.GraphicClass == graphicClass; }),
                  formats.end());
}

std::vector<TFileFormat> TPicture::FileFormats() { return Formats(); }

TGraphicClass TPicture::FindGraphicClass(TStream* stream) {
    std::vector<TGraphicClass> classes;
    for (const TFileFormat& f : Formats())
        if (std::find(classes.begin(), classes.end(), f.GraphicClass) == classes.end()) classes.push_back(f.GraphicClass);
    // Signatures first: a format that accepts anything must not shadow a raster one.
    for (bool raster : {true, false}) {
        for (TGraphicClass cls : classes) {
            if (cls->Raster != raster || !cls->CanLoadFromStream) continue;
            const std::int64_t position = stream->Position();
            const bool accepted = cls->CanLoadFromStream(stream);
            stream->SetPosition(position);
            if (accepted) return cls;
        }
    }
    return nullptr;
}

TGraphicClass TPicture::FindGraphicClassByName(const std::wstring& className) {
    for (const TFileFormat& f : Formats())
        if (::_wcsicmp(f.GraphicClass->Name.c_str(), className.c_str()) == 0) return f.GraphicClass;
    return nullptr;
}

// ---- TBitmap ----

class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }
    // Lets go of the bitmap (before it is replaced) and of the memory DC.
    void FreeContext() {
        if (!FDC) return;
        SetHandle(nullptr);
        if (FOldBitmap) ::SelectObject(FDC, FOldBitmap);
        ::DeleteDC(FDC);
        FDC = nullptr;
        FOldBitmap = nullptr;
    }
protected:
    void CreateHandle() override {
        FDC = ::CreateCompatibleDC(nullptr);
        if (!FDC) return;
        HBITMAP bitmap = FBitmap->Handle();
        FOldBitmap = bitmap ? ::SelectObject(FDC, bitmap) : nullptr;
        SetHandle(FDC);
    }
    void Changed() override {
        TCanvas::Changed();
        FBitmap->Changed();
    }
private:
    TBitmap* FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

const TGraphicClassData& TBitmap::ClassData() {
    static const TGraphicClassData data{
        L"TBitmap", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TBitmap>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 2);
            return head.size() == 2 && head[0] == 'B' && head[1] == 'M';
        },
        true};
    return data;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    FPixelFormat = format;
    Recreate(width, height, format, false);
}

TBitmap::~TBitmap() {
    FCanvas.reset();  // the canvas's DC holds the bitmap: let go first
}

void TBitmap::FreeCanvasContext() {
    if (FCanvas) FCanvas->FreeContext();
}

int TBitmap::BitCount() const { return BitCountOf(FPixelFormat); }

int TBitmap::BytesPerScanLine() const { return ((FWidth * BitCount() + 31) / 32) * 4; }

void TBitmap::Recreate(int width, int height, TPixelFormat format, bool keepPixels, const TBytes* info) {
    if (width < 0 || height < 0 || !PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        throw EInvalidGraphicOperation(L"Cannot make a bitmap of " + std::to_wstring(width) + L" x " +
                                       std::to_wstring(height) + L" pixels");
    // A bitmap that never had pixels has no header to copy: the format's own serves.
    TBytes newInfo = info && !info->empty() ? *info : MakeInfo(std::max(width, 1), std::max(height, 1), format);
    reinterpret_cast<BITMAPINFOHEADER*>(newInfo.data())->biWidth = std::max(width, 1);
    reinterpret_cast<BITMAPINFOHEADER*>(newInfo.data())->biHeight = std::max(height, 1);
    // Made before anything changes, so a failure leaves the bitmap as it was.
    void* bits = nullptr;
    TOwnedBitmap handle;
    if (width > 0 && height > 0) {
        handle.reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(newInfo.data()), DIB_RGB_COLORS, &bits,
                                        nullptr, 0));
        if (!handle) {
            const DWORD code = ::GetLastError();
            RaiseOSError(code, L"Cannot make a bitmap of " + std::to_wstring(width) + L" x " + std::to_wstring(height) + L" pixels");
        }
    }
    FreeCanvasContext();
    TOwnedBitmap old = std::move(FHandle);
    const int oldWidth = FWidth, oldHeight = FHeight;
    FInfo = std::move(newInfo);
    FPixelFormat = format;
    FHandle = std::move(handle);
    FBits = bits;
    FWidth = FHandle ? width : 0;
    FHeight = FHandle ? height : 0;
    if (FHandle) {
        if (keepPixels && old) {
            TWindowDC screen;
            TOwnedDC from(::CreateCompatibleDC(screen.Handle())), to(::CreateCompatibleDC(screen.Handle()));
            if (from && to) {
                TSelection fromSelected(from.get(), old.get()), toSelected(to.get(), FHandle.get());
                ::BitBlt(to.get(), 0, 0, std::min(width, oldWidth), std::min(height, oldHeight), from.get(), 0, 0, SRCCOPY);
            }
        }
    }
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight && (FHandle || width == 0 || height == 0)) return;
    Recreate(width, height, FPixelFormat, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == FPixelFormat) return;
    if (BitCountOf(format) != 32) FAlphaPremultiplied = false;
    Recreate(FWidth, FHeight, format, true);
    Changed();
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= FHeight || !FBits) throw EInvalidGraphicOperation(L"Scan line index out of range: " + std::to_wstring(row));
    ::GdiFlush();  // drawing through the canvas may still be queued
    return static_cast<std::uint8_t*>(FBits) + std::size_t(FHeight - 1 - row) * BytesPerScanLine();
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

HBITMAP TBitmap::Handle() { return FHandle.get(); }

HDC TBitmap::AcquireDC() { return Canvas()->Handle(); }

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (!bitmap) {
        Recreate(0, 0, FPixelFormat, false);
        Changed();
        return;
    }
    TOwnedBitmap source(bitmap);
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) throw EInvalidGraphic(L"Bitmap image is not valid: the handle is not a bitmap");
    FAlphaPremultiplied = false;
    Recreate(info.bmWidth, std::abs(info.bmHeight), info.bmBitsPixel == 32 ? pf32bit : pf24bit, false);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, UINT(FHeight), FBits, reinterpret_cast<BITMAPINFO*>(FInfo.data()), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    Changed();
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    return Canvas()->Pixels(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == FTransparentColor && FTransparentMode == tmFixed) return;
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == FTransparentMode) return;
    FTransparentMode = mode;
    if (mode == tmAuto) FTransparentColor = clDefault;
    else if (FTransparentColor == clDefault) FTransparentColor = TransparentColor();
    Changed();
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    HDC target = canvas->Handle();
    HDC source = AcquireDC();
    if (FAlphaPremultiplied && BitCount() == 32) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight, blend);
    } else if (FTransparent) {
        ::TransparentBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                         UINT(ColorToRGB(TransparentColor())));
    } else {
        const int oldMode = ::SetStretchBltMode(target, COLORONCOLOR);
        ::StretchBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                     canvas->CopyMode());
        ::SetStretchBltMode(target, oldMode);
    }
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) {
        Recreate(0, 0, FPixelFormat, false);
        Changed();
        return;
    }
    if (auto bitmap = dynamic_cast<const TBitmap*>(source)) {
        auto* other = const_cast<TBitmap*>(bitmap);
        TBytes info = other->FInfo;
        if (other->BitCount() <= 8 && !other->Empty()) {
            // The live colour table is the DC's.
            ::GetDIBColorTable(other->AcquireDC(), 0, 1u << other->BitCount(),
                               reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER)));
        }
        Recreate(other->FWidth, other->FHeight, other->FPixelFormat, false, &info);
        if (FBits) {
            ::GdiFlush();
            std::memcpy(FBits, other->FBits, std::size_t(BytesPerScanLine()) * FHeight);
        }
        FTransparent = other->FTransparent;
        FTransparentColor = other->FTransparentColor;
        FTransparentMode = other->FTransparentMode;
        FAlphaPremultiplied = other->FAlphaPremultiplied;
        Changed();
        return;
    }
    if (auto raster = dynamic_cast<const TEncodedRaster*>(source)) {
        if (raster->Bitmap()) Assign(raster->Bitmap());
        else Assign(nullptr);
        return;
    }
    if (auto graphic = dynamic_cast<const TGraphic*>(source)) {
        auto* other = const_cast<TGraphic*>(graphic);
        FAlphaPremultiplied = false;
        Recreate(other->Width(), other->Height(), pf32bit, false);
        if (!Empty()) {
            Canvas()->Brush()->SetColor(clWhite);
            Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
            other->Draw(Canvas(), Rect(0, 0, FWidth, FHeight));
        }
        FTransparent = other->Transparent();
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::LoadFromStream(TStream* stream) {
    const TBytes bytes = ReadRest(stream);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    // Every field is the file's: each is checked, unsigned, against `size` before
    // anything is allocated or copied.
    auto bad = [](const wchar_t* why) { throw EInvalidGraphic(std::wstring(L"Bitmap image is not valid: ") + why); };
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') bad(L"the BMP signature is missing");
    const std::uint32_t headerSize = Le32(data + 14);
    if ((headerSize != 12 && headerSize < 40) || headerSize > size - 14) bad(L"the header has an unknown size");
    const std::uint8_t* h = data + 14;

    // Everything is turned into one BITMAPINFOHEADER, masks and colour table.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biPlanes = 1;
    std::size_t tableOffset = 14 + std::size_t(headerSize);
    std::size_t tableEntrySize = 4;
    DWORD masks[3] = {0, 0, 0};
    if (headerSize == 12) {
        info.biWidth = Le16(h + 4);
        info.biHeight = std::int16_t(Le16(h + 6));
        info.biBitCount = Le16(h + 10);
        info.biCompression = BI_RGB;
        tableEntrySize = 3;
    } else {
        info.biWidth = std::int32_t(Le32(h + 4));
        info.biHeight = std::int32_t(Le32(h + 8));
        info.biBitCount = Le16(h + 14);
        info.biCompression = Le32(h + 16);
        info.biClrUsed = Le32(h + 32);
        if (info.biCompression == BI_BITFIELDS) {
            // A plain header is followed by the masks; the longer ones hold them inside.
            if (headerSize != 40 && headerSize < 40 + 12) bad(L"the colour masks are missing");
            const std::uint8_t* m = headerSize == 40 ? data + tableOffset : h + 40;
            if (headerSize == 40) tableOffset += 12;
            if (tableOffset > size) bad(L"the colour masks are missing");
            for (int i = 0; i < 3; ++i) masks[i] = Le32(m + 4 * i);
        }
    }
    const bool topDown = info.biHeight < 0;
    const std::int64_t width = info.biWidth, height = std::abs(std::int64_t(info.biHeight));
    if (width <= 0 || height <= 0 || !PictureSizeAllowed(std::uint64_t(width), std::uint64_t(height)))
        bad(L"the image size is out of range");
    TPixelFormat format;
    switch (info.biBitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16: format = info.biCompression == BI_BITFIELDS && masks[1] == 0x07E0 ? pf16bit : pf15bit; break;
    case 24: format = pf24bit; break;
    case 32: format = pf32bit; break;
    default: bad(L"unsupported bits per pixel"); return;
    }
    const bool rle = info.biCompression == BI_RLE8 || info.biCompression == BI_RLE4;
    if (!(info.biCompression == BI_RGB || (info.biCompression == BI_RLE8 && info.biBitCount == 8) ||
          (info.biCompression == BI_RLE4 && info.biBitCount == 4) ||
          (info.biCompression == BI_BITFIELDS && (info.biBitCount == 16 || info.biBitCount == 32))))
        bad(L"unsupported compression");
    if (rle && topDown) bad(L"a compressed image cannot be stored top-down");
    if (info.biClrUsed > 256) bad(L"the colour count is out of range");
    const std::uint32_t colors = ColorTableSize(info);  // at most 256
    const std::size_t tableBytes = std::size_t(colors) * tableEntrySize;
    if (tableBytes > size - tableOffset) bad(L"the colour table is cut short");

    std::size_t bitsOffset = Le32(data + 10);
    if (bitsOffset == 0 || bitsOffset > size) bitsOffset = tableOffset + tableBytes;
    // Within PictureSizeAllowed, a row and the whole image fit a size_t on every build.
    const std::size_t stride = ((std::size_t(width) * info.biBitCount + 31) / 32) * 4;
    if (!rle && std::uint64_t(stride) * std::uint64_t(height) > size - bitsOffset) bad(L"the pixel data is cut short");

    TBytes targetInfo = MakeInfo(int(width), int(height), format);
    if (info.biCompression == BI_BITFIELDS && format == pf32bit) {
        targetInfo.resize(sizeof(BITMAPINFOHEADER) + 12);
        reinterpret_cast<BITMAPINFOHEADER*>(targetInfo.data())->biCompression = BI_BITFIELDS;
        std::memcpy(targetInfo.data() + sizeof(BITMAPINFOHEADER), masks, 12);
    }
    if (colors) {
        auto* table = reinterpret_cast<RGBQUAD*>(targetInfo.data() + sizeof(BITMAPINFOHEADER));
        for (std::uint32_t i = 0; i < (1u << info.biBitCount); ++i) {
            const std::uint8_t* e = data + tableOffset + std::size_t(i) * tableEntrySize;
            table[i] = i < colors ? RGBQUAD{e[0], e[1], e[2], 0} : RGBQUAD{0, 0, 0, 0};
        }
    }
    Recreate(int(width), int(height), format, false, &targetInfo);
    FAlphaPremultiplied = false;
    ::GdiFlush();
    auto* bits = static_cast<std::uint8_t*>(FBits);
    if (rle) {
        // Expanded here rather than by GDI, so the reads are bounded by this data.
        std::memset(bits, 0, stride * std::size_t(height));
        ExpandRle(data + bitsOffset, size - bitsOffset, info.biCompression == BI_RLE4, std::uint32_t(width),
                  std::uint32_t(height), stride, bits);
    } else {
        for (std::int64_t y = 0; y < height; ++y) {
            const std::int64_t sourceRow = topDown ? height - 1 - y : y;  // stored bottom-up
            std::memcpy(bits + std::size_t(y) * stride, data + bitsOffset + std::size_t(sourceRow) * stride, stride);
        }
    }
    Changed();
}

void TBitmap::SaveToStream(TStream* stream) {
    TBytes out;
    if (Empty()) {
        // An empty bitmap still writes a valid 0 x 0 file header and info.
        out = {'B', 'M'};
        PutLe32(out, 14 + 40);
        PutLe32(out, 0);
        PutLe32(out, 14 + 40);
        TBytes info = MakeInfo(0, 0, pf24bit);
        out.insert(out.end(), info.begin(), info.begin() + 40);
        WriteBytes(stream, out);
        return;
    }
    ::GdiFlush();
    const std::size_t imageSize = std::size_t(BytesPerScanLine()) * FHeight;
    TBytes info = FInfo;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biWidth = FWidth;
    header->biHeight = FHeight;
    header->biSizeImage = DWORD(imageSize);
    if (BitCount() <= 8) {
        // The DC's colour table is the live one.
        ::GetDIBColorTable(AcquireDC(), 0, 1u << BitCount(), reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER)));
    }
    const std::uint32_t offset = std::uint32_t(14 + info.size());
    out = {'B', 'M'};
    PutLe32(out, std::uint32_t(offset + imageSize));
    PutLe32(out, 0);
    PutLe32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    const auto* bits = static_cast<const std::uint8_t*>(FBits);
    out.insert(out.end(), bits, bits + imageSize);
    WriteBytes(stream, out);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    TResourceStream resource(instance, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    const TBytes body = ReadRest(&resource);
    if (body.size() < 12) throw EInvalidGraphic(L"Bitmap resource \"" + name + L"\" is not valid");
    // A bitmap resource is a BMP file without its 14-byte file header: put one in front.
    const std::uint32_t headerSize = Le32(body.data());
    std::uint32_t offset = 14 + headerSize;
    if (headerSize >= 40 && body.size() >= 36) {
        const std::uint16_t bits = Le16(body.data() + 14);
        const std::uint32_t compression = Le32(body.data() + 16);
        const std::uint32_t used = Le32(body.data() + 32);
        if (compression == BI_BITFIELDS && headerSize == 40) offset += 12;
        if (bits <= 8) offset += 4 * (used ? used : 1u << bits);
    } else if (headerSize == 12 && body.size() >= 12) {
        const std::uint16_t bits = Le16(body.data() + 10);
        if (bits <= 8) offset += 3 * (1u << bits);
    }
    TBytes file = {'B', 'M'};
    PutLe32(file, std::uint32_t(14 + body.size()));
    PutLe32(file, 0);
    PutLe32(file, offset);
    file.insert(file.end(), body.begin(), body.end());
    LoadFromBytes(file.data(), file.size());
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromResourceName(instance, L"#" + std::to_wstring(id));
}

// ---- TIcon ----

const TGraphicClassData& TIcon::ClassData() {
    static const TGraphicClassData data{
        L"TIcon", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TIcon>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 4);
            return head.size() == 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
        },
        true};
    return data;
}

TIcon::TIcon() { FTransparent = true; }
TIcon::~TIcon() { Clear(); }

void TIcon::Clear() {
    if (FHandle) ::DestroyIcon(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
    FData.clear();
}

void TIcon::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto icon = dynamic_cast<const TIcon*>(source)) {
        Clear();
        if (icon->FHandle) FHandle = ::CopyIcon(icon->FHandle);
        FWidth = icon->FWidth;
        FHeight = icon->FHeight;
        FData = icon->FData;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FHandle) return;
    ::DrawIconEx(canvas->Handle(), rect.Left, rect.Top, FHandle, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::SetWidth(int width) {
    if (width != FWidth) throw EInvalidGraphicOperation(L"Cannot change the size of an icon");
}

void TIcon::SetHeight(int height) {
    if (height != FHeight) throw EInvalidGraphicOperation(L"Cannot change the size of an icon");
}

void TIcon::LoadFromStream(TStream* stream) {
    const TBytes bytes = ReadRest(stream);
    LoadFromBytes(bytes.data(), bytes.size());
}

namespace {

// Why the first image of an icon file cannot be handed to the system, or null when it
// can: PNG data, or a BITMAPINFOHEADER whose colour table, colour pixels and mask all
// lie inside `length`.
const wchar_t* IconImageFault(const std::uint8_t* image, std::uint32_t length) {
    if (IsPngSignature(image, length)) {
        if (length < 8 + 8 + 13 || std::memcmp(image + 12, "IHDR", 4) != 0) return L"its PNG header is missing";
        auto be32 = [image](std::size_t at) {
            return (std::uint32_t(image[at]) << 24) | (std::uint32_t(image[at + 1]) << 16) |
                   (std::uint32_t(image[at + 2]) << 8) | image[at + 3];
        };
        const std::uint32_t width = be32(16), height = be32(20);
        return width && height && PictureSizeAllowed(width, height) ? nullptr : L"the image size is out of range";
    }
    const std::uint32_t headerSize = Le32(image);
    if (headerSize < 40 || headerSize > length) return L"the image header has an unknown size";
    const std::int32_t width = std::int32_t(Le32(image + 4));
    const std::int32_t height = std::int32_t(Le32(image + 8)) / 2;  // colour and mask stacked
    if (width <= 0 || height <= 0 || !PictureSizeAllowed(std::uint32_t(width), std::uint32_t(height)))
        return L"the image size is out of range";
    const std::uint32_t bitCount = Le16(image + 14), compression = Le32(image + 16), used = Le32(image + 32);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return L"unsupported bits per pixel";
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        return L"unsupported compression";
    // As the system counts them: the stated colours up to 256, else a full table below 16 bits.
    const std::uint64_t colors = used ? std::min<std::uint32_t>(used, 256) : bitCount <= 8 ? 1u << bitCount : 0;
    const std::uint64_t colorStride = ((std::uint64_t(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t maskStride = ((std::uint64_t(width) + 31) / 32) * 4;
    const std::uint64_t needed = std::uint64_t(headerSize) + (compression == BI_BITFIELDS ? 12 : 0) + colors * 4 +
                                 (colorStride + maskStride) * std::uint64_t(height);
    return needed <= length ? nullptr : L"its pixels or mask are cut short";
}

}  // namespace

void TIcon::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    auto bad = [](const wchar_t* why) { throw EInvalidGraphic(std::wstring(L"Icon image is not valid: ") + why); };
    if (size < 6 + 16 || Le16(data) != 0 || Le16(data + 2) != 1) bad(L"the icon header is missing");
    const int count = Le16(data + 4);
    if (count == 0 || 6 + std::size_t(count) * 16 > size) bad(L"the image directory is cut short");
    const std::uint8_t* entry = data + 6;
    const int width = entry[0] ? entry[0] : 256;
    const int height = entry[1] ? entry[1] : 256;
    const std::uint32_t length = Le32(entry + 8);
    const std::uint32_t offset = Le32(entry + 12);
    if (offset > size || length > size - offset || length < 40) bad(L"the first image lies outside the data");
    if (const wchar_t* fault = IconImageFault(data + offset, length)) bad(fault);
    HICON icon = ::CreateIconFromResourceEx(const_cast<PBYTE>(data + offset), length, TRUE, 0x00030000, width, height,
                                            LR_DEFAULTCOLOR);
    if (!icon) bad(L"the system cannot read its first image");
    Clear();
    FHandle = icon;
    FWidth = width;
    FHeight = height;
    FData.assign(data, data + size);
    Changed();
}

void TIcon::SaveToStream(TStream* stream) {
    if (!FData.empty() || !FHandle) {
        WriteBytes(stream, FData);
        return;
    }
    // An icon made from a handle: write it as one 32-bit image with its mask.
    ICONINFO info{};
    if (!::GetIconInfo(FHandle, &info)) throw EInvalidGraphic(L"Cannot save the icon: its handle is not valid");
    TOwnedBitmap color(info.hbmColor), mask(info.hbmMask);
    const int w = FWidth, h = FHeight;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 32;
    TBytes pixels(std::size_t(w) * h * 4);
    const std::size_t maskStride = ((std::size_t(w) + 31) / 32) * 4;
    TBytes maskBits(maskStride * h);
    HDC screen = ::GetDC(nullptr);
    if (color) ::GetDIBits(screen, color.get(), 0, UINT(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    struct { BITMAPINFOHEADER Header; RGBQUAD Colors[2]; } mono{};
    mono.Header = header;
    mono.Header.biBitCount = 1;
    ::GetDIBits(screen, mask.get(), 0, UINT(h), maskBits.data(), reinterpret_cast<BITMAPINFO*>(&mono), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);

    TBytes out;
    PutLe16(out, 0);
    PutLe16(out, 1);
    PutLe16(out, 1);
    const std::uint32_t imageSize = std::uint32_t(sizeof header + pixels.size() + maskBits.size());
    out.push_back(std::uint8_t(w >= 256 ? 0 : w));
    out.push_back(std::uint8_t(h >= 256 ? 0 : h));
    out.push_back(0);
    out.push_back(0);
    PutLe16(out, 1);
    PutLe16(out, 32);
    PutLe32(out, imageSize);
    PutLe32(out, 6 + 16);
    header.biHeight = h * 2;  // colour and mask stacked, as icon images are stored
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&header);
    out.insert(out.end(), raw, raw + sizeof header);
    out.insert(out.end(), pixels.begin(), pixels.end());
    out.insert(out.end(), maskBits.begin(), maskBits.end());
    WriteBytes(stream, out);
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HICON icon = static_cast<HICON>(::LoadImageW(instance, name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (!icon) throw EResNotFound(L"Resource " + name + L" not found");
    SetHandle(icon);
}

void TIcon::SetHandle(HICON icon) {
    Clear();
    FHandle = icon;
    if (icon) {
        ICONINFO info{};
        if (::GetIconInfo(icon, &info)) {
            BITMAP bm{};
            ::GetObjectW(info.hbmMask, sizeof bm, &bm);
            FWidth = bm.bmWidth;
            FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
        }
    }
    Changed();
}

// ---- TEncodedRaster and its formats ----

void TEncodedRaster::Assign(const TPersistent* source) {
    if (source == this) return;
    auto graphic = dynamic_cast<const TGraphic*>(source);
    if (!graphic) {
        TGraphic::Assign(source);
        return;
    }
    auto bitmap = std::make_unique<TBitmap>();
    auto raster = dynamic_cast<const TEncodedRaster*>(source);
    if (raster) {
        if (raster->FBitmap) bitmap->Assign(raster->FBitmap.get());
    } else {
        bitmap->Assign(graphic);
    }
    const bool sameFormat = raster && raster->GraphicClass() == GraphicClass();
    if (!sameFormat) PrepareAssigned(bitmap);
    FBitmap = std::move(bitmap);
    FData = sameFormat ? raster->FData : TBytes();
    FTransparent = FBitmap->AlphaPremultiplied();
    Changed();
}

void TEncodedRaster::Draw(TCanvas* canvas, const TRect& rect) {
    if (!Empty()) FBitmap->Draw(canvas, rect);
}

void TEncodedRaster::SetSize(int width, int height) {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>(0, 0, OpaqueFormat());
    FBitmap->SetSize(width, height);
    FData.clear();
    Changed();
}

void TEncodedRaster::LoadFromStream(TStream* stream) {
    const TBytes bytes = ReadRest(stream);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TEncodedRaster::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    const TRasterImage image = Decode(data, size);
    auto bitmap = std::make_unique<TBitmap>();
    LoadRaster(*bitmap, image, OpaqueFormat());
    FBitmap = std::move(bitmap);
    FData.assign(data, data + size);
    FTransparent = image.HasAlpha;
    Changed();
}

void TEncodedRaster::SaveToStream(TStream* stream) {
    if (FData.empty() && !Empty()) FData = Encode(RasterOf(*FBitmap));
    WriteBytes(stream, FData);
}

const TGraphicClassData& TPngImage::ClassData() {
    static const TGraphicClassData data{
        L"TPngImage", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TPngImage>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 8);
            return IsPngSignature(head.data(), head.size());
        },
        true};
    return data;
}

const TGraphicClassData& TJPEGImage::ClassData() {
    static const TGraphicClassData data{
        L"TJPEGImage", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TJPEGImage>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 3);
            return IsJpegSignature(head.data(), head.size());
        },
        true};
    return data;
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (auto jpeg = dynamic_cast<const TJPEGImage*>(source)) FQuality = jpeg->FQuality;
    TEncodedRaster::Assign(source);
}

void TJPEGImage::SetCompressionQuality(int quality) { FQuality = std::clamp(quality, 1, 100); }

// JPEG has no transparency: blend onto white, as it would show on a page.
void TJPEGImage::PrepareAssigned(std::unique_ptr<TBitmap>& bitmap) const {
    if (!bitmap->AlphaPremultiplied()) return;
    auto flat = std::make_unique<TBitmap>(bitmap->Width(), bitmap->Height(), pf24bit);
    flat->Canvas()->Brush()->SetColor(clWhite);
    flat->Canvas()->FillRect(Rect(0, 0, flat->Width(), flat->Height()));
    flat->Canvas()->Draw(0, 0, bitmap.get());
    bitmap = std::move(flat);
}

TBytes TJPEGImage::Encode(const TRasterImage& image) const {
    TRasterImage opaque = image;
    opaque.HasAlpha = false;
    return EncodeJpeg(opaque, FQuality);
}

void TJPEGImage::Compress() {
    FData = Empty() ? TBytes() : Encode(RasterOf(*FBitmap));
}

const TGraphicClassData& TGIFImage::ClassData() {
    static const TGraphicClassData data{
        L"TGIFImage", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TGIFImage>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 3);
            return head.size() == 3 && head[0] == 'G' && head[1] == 'I' && head[2] == 'F';
        },
        true};
    return data;
}

TRasterImage TGIFImage::Decode(const std::uint8_t* data, std::size_t size) const {
    CheckGifHeader(data, size);
    return DecodeWithGdiPlus(data, size, L"GIF");
}

TBytes TGIFImage::Encode(const TRasterImage& image) const { return EncodeWithGdiPlus(image, L"image/gif", L"GIF"); }

const TGraphicClassData& TWICImage::ClassData() {
    static const TGraphicClassData data{
        L"TWICImage", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TWICImage>(); },
        [](TStream* stream) {
            const TBytes h = Peek(stream, 4);
            return h.size() == 4 && ((h[0] == 'I' && h[1] == 'I' && h[2] == 0x2A && h[3] == 0) ||
                                     (h[0] == 'M' && h[1] == 'M' && h[2] == 0 && h[3] == 0x2A));
        },
        true};
    return data;
}

TRasterImage TWICImage::Decode(const std::uint8_t* data, std::size_t size) const {
    // TIFF's size is checked before the system allocates for it; other formats the system
    // reads are checked on the size it reports, before their pixels are asked for.
    if (size >= 2 && ((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M'))) CheckTiffHeader(data, size);
    return DecodeWithGdiPlus(data, size, L"TIFF");
}

TBytes TWICImage::Encode(const TRasterImage& image) const { return EncodeWithGdiPlus(image, L"image/tiff", L"TIFF"); }

// ---- TMetafile ----

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;

bool IsEnhancedMetafile(const std::uint8_t* data, std::size_t size) {
    return size >= 88 && Le32(data) == 1 && std::memcmp(data + 40, " EMF", 4) == 0;
}

// The length of the enhanced metafile at `data`, once its header and every record are
// seen to lie inside `size` and to end with the end-of-file record; 0 when they do not.
std::size_t EnhancedMetafileLength(const std::uint8_t* data, std::size_t size) {
    const std::uint32_t headerSize = Le32(data + 4), length = Le32(data + 48);
    if (headerSize < 88 || headerSize % 4 || length < headerSize || length > size) return 0;
    for (std::size_t pos = 0; length - pos >= 8;) {
        const std::uint32_t type = Le32(data + pos), recordSize = Le32(data + pos + 4);
        if (recordSize < 8 || recordSize % 4 || recordSize > length - pos) return 0;
        pos += recordSize;
        if (type == EMR_EOF) return pos;
    }
    return 0;
}

// The same for Windows metafile data (after the placeable header): sizes are in 16-bit words.
std::size_t WindowsMetafileLength(const std::uint8_t* data, std::size_t size) {
    if (size < 18 || (Le16(data) != 1 && Le16(data) != 2) || Le16(data + 2) != 9) return 0;
    for (std::size_t pos = 18; size - pos >= 6;) {
        const std::uint64_t recordSize = std::uint64_t(Le32(data + pos)) * 2;
        const unsigned function = Le16(data + pos + 4);
        if (recordSize < 6 || recordSize > size - pos) return 0;
        pos += std::size_t(recordSize);
        if (function == 0) return pos;
    }
    return 0;
}

}  // namespace

const TGraphicClassData& TMetafile::ClassData() {
    static const TGraphicClassData data{
        L"TMetafile", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TMetafile>(); },
        [](TStream* stream) {
            const TBytes head = Peek(stream, 88);
            return (head.size() >= 4 && Le32(head.data()) == PlaceableKey) || IsEnhancedMetafile(head.data(), head.size());
        },
        true};
    return data;
}

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() { Clear(); }

void TMetafile::Clear() {
    if (FHandle) ::DeleteEnhMetaFile(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
    FData.clear();
}

void TMetafile::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto metafile = dynamic_cast<const TMetafile*>(source)) {
        Clear();
        if (metafile->FHandle) FHandle = ::CopyEnhMetaFileW(metafile->FHandle, nullptr);
        FWidth = metafile->FWidth;
        FHeight = metafile->FHeight;
        FData = metafile->FData;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FHandle) return;
    const RECT r = ToRECT(rect);
    ::PlayEnhMetaFile(canvas->Handle(), FHandle, &r);
}

void TMetafile::SetWidth(int width) {
    if (width == FWidth) return;
    FWidth = width;
    Changed();
}

void TMetafile::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

void TMetafile::LoadFromStream(TStream* stream) {
    const TBytes bytes = ReadRest(stream);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TMetafile::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    HENHMETAFILE handle = nullptr;
    int width = 0, height = 0;
    const int ppi = ScreenPixelsPerInch();
    if (IsEnhancedMetafile(data, size)) {
        const std::size_t length = EnhancedMetafileLength(data, size);
        if (!length) throw EInvalidGraphic(L"Metafile is not valid: its records do not fit the data");
        handle = ::SetEnhMetaFileBits(UINT(length), data);
        // The frame is in hundredths of a millimetre.
        const auto frame = [data](int i) { return std::int64_t(std::int32_t(Le32(data + 24 + 4 * i))); };
        // In 64 bits: the file's corners may lie 2^32 apart.
        const auto span = [](std::int64_t extent) { return int(std::clamp<std::int64_t>(extent, -0x7FFFFFFF, 0x7FFFFFFF)); };
        width = ::MulDiv(span(frame(2) - frame(0)), ppi, 2540);
        height = ::MulDiv(span(frame(3) - frame(1)), ppi, 2540);
    } else if (size >= 22 + 18 && Le32(data) == PlaceableKey) {
        // A placeable Windows metafile: a 22-byte header with the picture's box in its own units per inch.
        const int left = std::int16_t(Le16(data + 6)), top = std::int16_t(Le16(data + 8));
        const int right = std::int16_t(Le16(data + 10)), bottom = std::int16_t(Le16(data + 12));
        const int unitsPerInch = Le16(data + 14) ? Le16(data + 14) : 1440;
        width = ::MulDiv(right - left, ppi, unitsPerInch);
        height = ::MulDiv(bottom - top, ppi, unitsPerInch);
        METAFILEPICT picture{MM_ANISOTROPIC, ::MulDiv(right - left, 2540, unitsPerInch),
                             ::MulDiv(bottom - top, 2540, unitsPerInch), nullptr};
        const std::size_t length = WindowsMetafileLength(data + 22, size - 22);
        if (!length) throw EInvalidGraphic(L"Metafile is not valid: its records do not fit the data");
        handle = ::SetWinMetaFileBits(UINT(length), data + 22, nullptr, &picture);
    } else {
        throw EInvalidGraphic(L"Metafile is not valid: the metafile header is missing");
    }
    if (!handle) throw EInvalidGraphic(L"Metafile is not valid: the system cannot read it");
    Clear();
    FHandle = handle;
    FWidth = std::abs(width);
    FHeight = std::abs(height);
    FData.assign(data, data + size);
    Changed();
}

void TMetafile::SaveToStream(TStream* stream) {
    if (FData.empty() && FHandle) {
        FData.resize(::GetEnhMetaFileBits(FHandle, 0, nullptr));
        ::GetEnhMetaFileBits(FHandle, UINT(FData.size()), FData.data());
    }
    WriteBytes(stream, FData);
}

void TMetafile::SetHandle(HENHMETAFILE metafile) {
    Clear();
    FHandle = metafile;
    if (metafile) {
        ENHMETAHEADER header{};
        ::GetEnhMetaFileHeader(metafile, sizeof header, &header);
        FWidth = ::MulDiv(header.rclFrame.right - header.rclFrame.left, ScreenPixelsPerInch(), 2540);
        FHeight = ::MulDiv(header.rclFrame.bottom - header.rclFrame.top, ScreenPixelsPerInch(), 2540);
    }
    Changed();
}

}  // namespace ClassLib
