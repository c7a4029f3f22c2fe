#include "graphics/GDIPicture.h"

#include <algorithm>
#include <cstring>

#include "classlib/Strings.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvGlobalStream.h"

namespace GDIPicture {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TGDIPPicture, AdvTypes::TRasterSVGPicture)

namespace {

// The device context of a GDI+ graphics for one scope.
class TGraphicsDC {
public:
    explicit TGraphicsDC(AdvGDIP::TGPGraphics* graphics) : FGraphics(graphics), FDC(graphics->GetHDC()) {}
    ~TGraphicsDC() {
        if (FDC) FGraphics->ReleaseHDC(FDC);
    }
    TGraphicsDC(const TGraphicsDC&) = delete;
    TGraphicsDC& operator=(const TGraphicsDC&) = delete;
    HDC Handle() const { return FDC; }
private:
    AdvGDIP::TGPGraphics* FGraphics;
    HDC FDC;
};

}  // namespace

TPictureFormat PictureFormatOf(const std::uint8_t* b, std::size_t size) {
    if (size <= 43) return pfNone;
    const auto starts = [&](std::initializer_list<std::uint8_t> bytes) {
        return std::equal(bytes.begin(), bytes.end(), b);
    };
    if (starts({'B', 'M'})) return pfBMP;
    if (starts({'I', 'I', 0x2A, 0x00}) || starts({'M', 'M', 0x00, 0x2A})) return pfTiff;
    if (starts({0xFF, 0xD8})) return pfJPG;
    if (starts({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A})) return pfPNG;
    if (starts({0xD7, 0xCD, 0xC6, 0x9A}) || (starts({1, 0, 0, 0}) && std::memcmp(b + 40, " EMF", 4) == 0))
        return pfMetaFile;
    if (starts({'G', 'I', 'F'})) return pfGIF;
    if (b[2] == 1 && b[3] == 0) return pfICO;
    return pfNone;
}

TGDIPPicture::TGDIPPicture() = default;
TGDIPPicture::~TGDIPPicture() = default;

const TGraphicClassData& TGDIPPicture::ClassData() {
    static const TGraphicClassData data{
        L"TGDIPPicture", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TGDIPPicture>(); }, nullptr,
        false};
    return data;
}

TPictureFormat TGDIPPicture::GetPictureFormat() const {
    return PictureFormatOf(FDatastream.Bytes().data(), FDatastream.Bytes().size());
}

bool TGDIPPicture::GetImageSizes() {
    if (HoldsSVG()) return true;
    return !FIsEmpty && MeasureRaster();
}

void TGDIPPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (HoldsSVG()) {
        TAdvSVGBitmap::Draw(canvas, rect);
        return;
    }
    if (FIsEmpty) return;
    // GDI+ draws a BMP opaque; the bitmap's own transparent colour keeps the background
    // of icons saved as BMP.
    Decoded().Draw(canvas, rect, FDatastream.Bytes(),
                   FTransparentBitmap ? AdvGlobalStream::TBmpDrawing::Transparent : AdvGlobalStream::TBmpDrawing::GdiPlus,
                   FAngle, FWidth, FHeight);
}

void TGDIPPicture::DrawRaster(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h, bool ownSize) {
    if (FIsEmpty || FDatastream.Size() == 0) return;
    AdvGDIP::TGPImage* image = Decoded().Image(FDatastream.Bytes());
    if (!image) return;
    // In pixels: GDI+'s own "natural size" follows the file's resolution.
    if (ownSize) {
        w = int(image->GetWidth());
        h = int(image->GetHeight());
    }
    graphics->DrawImage(image, x, y, w, h);
}

void TGDIPPicture::DrawImage(AdvGDIP::TGPGraphics* graphics, int x, int y) {
    if (HoldsSVG())
        DrawSVG(graphics, float(x), float(y), float(Width()), float(Height()));
    else
        DrawRaster(graphics, x, y, 0, 0, true);
}

void TGDIPPicture::DrawImageRect(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h) {
    if (HoldsSVG())
        DrawSVG(graphics, float(x), float(y), float(w), float(h));
    else
        DrawRaster(graphics, x, y, w, h, false);
}

void TGDIPPicture::DrawSVG(AdvGDIP::TGPGraphics* graphics, float x, float y, float w, float h) {
    if (!HasSVG()) return;
    const TGraphicsDC dc(graphics);
    if (!dc.Handle()) return;
    TCanvas canvas;
    canvas.SetHandle(dc.Handle());
    Importer()->Draw(&canvas, AdvTypes::RectF(x, y, x + w, y + h), true);
    canvas.SetHandle(nullptr);
}

void TGDIPPicture::FileLoaded(const std::wstring& fileName) {
    StoreFileName(fileName);
    FireEvent(FOnClear, this);
}

void TGDIPPicture::LoadFromURL(const std::wstring& url) {
    if (HasAddressPrefix(url, L"RES://")) {
        if (url.size() > 6) LoadFromResourceName(::GetModuleHandleW(nullptr), url.substr(6));
    } else if (HasAddressPrefix(url, L"FILE://")) {
        if (url.size() > 7) LoadFromFile(url.substr(7));
    }
}

void TGDIPPicture::Assign(const TPersistent* source) {
    if (source == this) return;
    FIsEmpty = true;
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) source = picture->Graphic();
    if (!source) {
        ClearAll();
        Changed();
        FireEvent(FOnClear, this);
        return;
    }
    if (const auto* other = dynamic_cast<const TGDIPPicture*>(source)) {
        ClearSVG();
        if (other->HoldsSVG()) SetSVGBytes(other->SVGBytes(), false);
        SetRaster(other->FDatastream.Bytes());
        FIsEmpty = FDatastream.Size() == 0;
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        TMemoryStream saved;
        const_cast<TGraphic*>(graphic)->SaveToStream(&saved);   // saving changes nothing the source shows
        TakeBytes(saved.Bytes(), false);
        FIsEmpty = false;
    } else {
        GetImageSizes();
        return;
    }
    Changed();
    GetImageSizes();
}

}  // namespace GDIPicture
