#include "graphics/GDIPicture.h"

#include <algorithm>
#include <cstring>

#include "classlib/Strings.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvGlobalStream.h"

namespace GDIPicture {

using namespace ClassLib;
using AdvGlobalStream::OpenImage;
using AdvGlobalStream::TNoMemory;

CLASSLIB_IMPLEMENT(TGDIPPicture, AdvTypes::TAdvSVGBitmap)

namespace {

const wchar_t* const UnknownFormat = L"Cannot load the picture: unknown picture format";

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

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    const std::size_t length = std::wcslen(prefix);
    return text.size() >= length && UpperCase(text.substr(0, length)) == prefix;
}

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

bool TGDIPPicture::Empty() const { return HoldsSVG() ? TAdvSVGBitmap::Empty() : FIsEmpty; }
int TGDIPPicture::Width() const { return HoldsSVG() ? TAdvSVGBitmap::Width() : FWidth; }
int TGDIPPicture::Height() const { return HoldsSVG() ? TAdvSVGBitmap::Height() : FHeight; }

TPictureFormat TGDIPPicture::GetPictureFormat() const {
    return PictureFormatOf(FDatastream.Bytes().data(), FDatastream.Bytes().size());
}

void TGDIPPicture::SetRaster(const TBytes& bytes) {
    FDatastream.Clear();
    WriteAll(&FDatastream, bytes);
}

void TGDIPPicture::TakeBytes(const TBytes& bytes) {
    if (AdvTypes::IsRasterData(bytes.data(), bytes.size())) {
        ClearSVG();
        SetRaster(bytes);
    } else if (AdvTypes::LooksLikeSVG(bytes.data(), bytes.size())) {
        // The raster bytes stay; the SVG takes precedence while it is held.
        SetSVGBytes(bytes, false);
    } else {
        throw EInvalidGraphic(UnknownFormat);
    }
}

bool TGDIPPicture::GetImageSizes() {
    if (HoldsSVG()) return true;
    if (FIsEmpty || FDatastream.Size() == 0) return false;
    const AdvGlobalStream::TOpenedImage opened =
        OpenImage(FDatastream.Memory(), std::size_t(FDatastream.Size()), TNoMemory::Raise);
    if (!opened) return false;
    FWidth = int(opened.Image->GetWidth());
    FHeight = int(opened.Image->GetHeight());
    return true;
}

void TGDIPPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (HoldsSVG()) {
        TAdvSVGBitmap::Draw(canvas, rect);
        return;
    }
    if (FIsEmpty || FDatastream.Size() == 0) return;
    const AdvGlobalStream::TOpenedImage opened =
        OpenImage(FDatastream.Memory(), std::size_t(FDatastream.Size()), TNoMemory::Skip);
    if (!opened) return;
    // Told by the signature: Wine's GDI+ reports icons as BMP too.
    const bool bmp = FDatastream.Size() >= 2 && FDatastream.Memory()[0] == 'B' && FDatastream.Memory()[1] == 'M';
    if (bmp && FTransparentBitmap) {
        // GDI+ draws a BMP opaque; the bitmap's own transparent colour (its bottom-left
        // pixel) keeps the background of icons saved as BMP.
        TBitmap bitmap;
        try {
            bitmap.LoadFromBytes(FDatastream.Memory(), std::size_t(FDatastream.Size()));
        } catch (const EInvalidGraphic&) {
            return;   // GDI+ reads BMP variants the bitmap class does not; nothing is drawn
        }
        bitmap.SetTransparentMode(tmAuto);
        bitmap.SetTransparent(true);
        canvas->StretchDraw(rect, &bitmap);
        return;
    }
    FWidth = int(opened.Image->GetWidth());
    FHeight = int(opened.Image->GetHeight());
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    if (FAngle != 0) {
        const float cx = float(rect.Left) + float(FWidth) / 2, cy = float(rect.Top) + float(FHeight) / 2;
        // Prepended, so a point is moved to the centre's origin, turned, and moved back.
        graphics.TranslateTransform(cx, cy);
        graphics.RotateTransform(float(FAngle));
        graphics.TranslateTransform(-cx, -cy);
    }
    graphics.DrawImage(opened.Image.get(), rect.Left, rect.Top, rect.Width(), rect.Height());
    graphics.ResetTransform();
}

void TGDIPPicture::DrawRaster(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h, bool ownSize) {
    if (FIsEmpty || FDatastream.Size() == 0) return;
    const AdvGlobalStream::TOpenedImage opened =
        OpenImage(FDatastream.Memory(), std::size_t(FDatastream.Size()), TNoMemory::Skip);
    if (!opened) return;
    // In pixels: GDI+'s own "natural size" follows the file's resolution.
    if (ownSize) {
        w = int(opened.Image->GetWidth());
        h = int(opened.Image->GetHeight());
    }
    graphics->DrawImage(opened.Image.get(), x, y, w, h);
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

void TGDIPPicture::LoadFromFile(const std::wstring& fileName) {
    try {
        TMemoryStream file;
        file.LoadFromFile(fileName);
        if (AdvTypes::IsRasterData(file.Bytes().data(), file.Bytes().size())) {
            ClearSVG();
            SetRaster(file.Bytes());
        } else if (AdvTypes::LooksLikeSVG(file.Bytes().data(), file.Bytes().size())) {
            FDatastream.Clear();
            SetSVGBytes(file.Bytes(), true);
        } else {
            throw EInvalidGraphic(UnknownFormat);
        }
        FIsEmpty = false;
        StoreFileName(fileName);
        FireEvent(FOnClear, this);
        GetImageSizes();
        Changed();
    } catch (...) {
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromStream(TStream* stream) {
    if (!stream) return;
    TakeBytes(ReadWholeStream(stream));
    FIsEmpty = false;
    GetImageSizes();
    Changed();
}

void TGDIPPicture::SaveToStream(TStream* stream) {
    if (!stream) return;
    if (HoldsSVG())
        TAdvSVGBitmap::SaveToStream(stream);
    else
        WriteAll(stream, FDatastream.Bytes());
}

void TGDIPPicture::ReadData(TStream* stream) {
    TBytes bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, stream->Size() - stream->Position())));
    if (!bytes.empty()) stream->ReadBuffer(bytes.data(), int(bytes.size()));
    if (bytes.empty()) return;   // an empty picture writes nothing
    if (AdvTypes::IsRasterData(bytes.data(), bytes.size())) {
        ClearSVG();
        SetRaster(bytes);
    } else {
        TMemoryStream data;
        WriteAll(&data, bytes);
        data.SetPosition(0);
        const TBytes svg = ReadSVGData(&data);
        if (!AdvTypes::LooksLikeSVG(svg.data(), svg.size())) throw EInvalidGraphic(UnknownFormat);
        SetSVGBytes(svg, false);
    }
    FIsEmpty = false;
    // Measured at once: controls lay out by the size of a picture read from a description.
    GetImageSizes();
    Changed();
}

void TGDIPPicture::WriteData(TStream* stream) {
    if (HoldsSVG())
        TAdvSVGBitmap::WriteData(stream);
    else
        WriteAll(stream, FDatastream.Bytes());
}

void TGDIPPicture::LoadFromResourceName(HINSTANCE instance, const std::wstring& resName) {
    if (!::FindResourceW(instance, resName.c_str(), RT_RCDATA)) return;
    TResourceStream stream(instance, resName);
    LoadFromStream(&stream);
}

void TGDIPPicture::LoadFromResourceID(HINSTANCE instance, int resID) {
    TResourceStream stream(instance, resID);
    LoadFromStream(&stream);
}

void TGDIPPicture::LoadFromURL(const std::wstring& url) {
    if (StartsWith(url, L"RES://")) {
        if (url.size() > 6) LoadFromResourceName(::GetModuleHandleW(nullptr), url.substr(6));
    } else if (StartsWith(url, L"FILE://")) {
        if (url.size() > 7) LoadFromFile(url.substr(7));
    }
}

void TGDIPPicture::Emptied() {
    ClearSVG();
    FDatastream.Clear();
    Changed();
    FireEvent(FOnClear, this);
}

void TGDIPPicture::Assign(const TPersistent* source) {
    if (source == this) return;
    FIsEmpty = true;
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) source = picture->Graphic();
    if (!source) {
        Emptied();
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
        TakeBytes(saved.Bytes());
        FIsEmpty = false;
    } else {
        GetImageSizes();
        return;
    }
    Changed();
    GetImageSizes();
}

}  // namespace GDIPicture
