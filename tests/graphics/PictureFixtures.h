#pragma once
// Pictures of every format the GDI+ pictures read, made in code at test time, and an SVG
// importer stand-in that the picture tests install through the factory hook.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvTypes.h"
#include "support/SamplePictures.h"

namespace PictureFixtures {

using ClassLib::TBytes;

// Width x height, the top half one colour and the bottom half another (BGRA order).
inline ClassLib::TRasterImage TwoBands(int width, int height, std::uint32_t top, std::uint32_t bottom) {
    ClassLib::TRasterImage image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = y < height / 2 ? top : bottom;
            image.Pixels.insert(image.Pixels.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16),
                                                     std::uint8_t(c >> 24)});
        }
    image.HasAlpha = ((top >> 24) != 0xFF) || ((bottom >> 24) != 0xFF);
    return image;
}

// 0xAARRGGBB
constexpr std::uint32_t OpaqueRed = 0xFFFF0000, OpaqueLime = 0xFF00FF00, HalfBlue = 0x800000FF;

// 16 x 12: red over half-transparent blue.
inline TBytes Png() { return ClassLib::EncodePng(TwoBands(16, 12, OpaqueRed, HalfBlue)); }

// A JPEG whose first segment is APP2 (FF D8 FF E2), as colour-profiled cameras write.
inline TBytes JpegE2() {
    TBytes jpeg = ClassLib::EncodeJpeg(TwoBands(16, 16, OpaqueRed, OpaqueLime), 90);
    const TBytes app2 = {0xFF, 0xE2, 0x00, 0x06, 'I', 'C', 'C', 0};
    jpeg.insert(jpeg.begin() + 2, app2.begin(), app2.end());
    return jpeg;
}

// 8 x 6, 24 bits: magenta with a red 4 x 2 block in the middle.
inline TBytes Bmp() {
    ClassLib::TBitmap bitmap(8, 6, ClassLib::pf24bit);
    bitmap.Canvas()->Brush()->SetColor(ClassLib::clFuchsia);
    bitmap.Canvas()->FillRect(ClassLib::Rect(0, 0, 8, 6));
    bitmap.Canvas()->Brush()->SetColor(ClassLib::clRed);
    bitmap.Canvas()->FillRect(ClassLib::Rect(2, 2, 6, 4));
    return TestSupport::SavedBytes(bitmap);
}

// One 16 x 16 image of 32 bits, opaque lime.
inline TBytes Ico() {
    TBytes ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    for (int i = 0; i < 4; ++i) ico.push_back(std::uint8_t(imageSize >> (8 * i)));
    ico.insert(ico.end(), {22, 0, 0, 0});
    const std::uint8_t header[40] = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0, 1, 0, 32, 0};
    ico.insert(ico.end(), header, header + 40);
    for (int i = 0; i < 16 * 16; ++i) ico.insert(ico.end(), {0, 0xFF, 0, 0xFF});
    ico.insert(ico.end(), 16 * 4, 0);   // AND mask: all shown
    return ico;
}

inline TBytes Emf() {
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    const RECT box = {0, 0, 40, 30};
    ::FillRect(recorder, &box, red);
    ::DeleteObject(red);
    HENHMETAFILE metafile = ::CloseEnhMetaFile(recorder);
    TBytes bytes(::GetEnhMetaFileBits(metafile, 0, nullptr));
    ::GetEnhMetaFileBits(metafile, UINT(bytes.size()), bytes.data());
    ::DeleteEnhMetaFile(metafile);
    return bytes;
}

// A placeable Windows metafile: the 22-byte header, then the records.
inline TBytes Wmf() {
    HDC recorder = ::CreateMetaFileW(nullptr);
    ::SetWindowExtEx(recorder, 40, 30, nullptr);
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = ::SelectObject(recorder, red);
    ::Rectangle(recorder, 0, 0, 40, 30);
    ::SelectObject(recorder, old);
    ::DeleteObject(red);
    HMETAFILE metafile = ::CloseMetaFile(recorder);
    TBytes records(::GetMetaFileBitsEx(metafile, 0, nullptr));
    ::GetMetaFileBitsEx(metafile, UINT(records.size()), records.data());
    ::DeleteMetaFile(metafile);
    const std::uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 40, 30, 96, 0, 0};
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words) checksum ^= w;
    TBytes bytes;
    for (std::uint16_t w : words) bytes.insert(bytes.end(), {std::uint8_t(w), std::uint8_t(w >> 8)});
    bytes.insert(bytes.end(), {std::uint8_t(checksum), std::uint8_t(checksum >> 8)});
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

// 1 x 1 red in 35 bytes: a real picture below the 44 bytes GetPictureFormat asks for.
inline TBytes TinyGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF,
            0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
}

inline TBytes Svg(int width, int height) {
    char text[160];
    std::snprintf(text, sizeof text, "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %d %d\"/>\r\n", width,
                  height);
    return TBytes(text, text + std::strlen(text));
}

inline std::unique_ptr<ClassLib::TMemoryStream> StreamOf(const TBytes& bytes) {
    auto stream = std::make_unique<ClassLib::TMemoryStream>();
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// Reads the view box of "<svg ... viewBox="0 0 W H"" and draws a lime box; stands in for
// the SVG importer, which comes with the SVG drawing code.
class TFakeSVGImport : public AdvTypes::TAdvSVGImport {
public:
    bool HasElements() const override { return FElements > 0; }
    int ElementCount() const override { return FElements; }
    AdvTypes::TAdvBitmap* GenerateBitmap(float, float) override { return nullptr; }
    void Clear() override {
        FElements = 0;
        FViewRect = {};
    }
    void Draw(ClassLib::TCanvas* canvas, const AdvTypes::TRectF& rect, bool) override {
        canvas->Brush()->SetColor(ClassLib::clLime);
        canvas->FillRect(AdvTypes::RectFToRect(rect));
    }
    void LoadFromText(const std::wstring& text) override {
        Clear();
        const std::size_t at = text.find(L"viewBox=\"");
        float x = 0, y = 0, w = 0, h = 0;
        if (text.find(L"<svg") == std::wstring::npos || at == std::wstring::npos) return;
        if (std::swscanf(text.c_str() + at + 9, L"%f %f %f %f", &x, &y, &w, &h) != 4) return;
        FViewRect = {x, y, x + w, y + h};
        FElements = 1;
    }
    void LoadFromFile(const std::wstring& fileName) override {
        ClassLib::TMemoryStream stream;
        stream.LoadFromFile(fileName);
        LoadFromStream(&stream);
    }
    void LoadFromStream(ClassLib::TStream* stream) override {
        std::string text(std::size_t(stream->Size() - stream->Position()), '\0');
        if (!text.empty()) stream->ReadBuffer(text.data(), int(text.size()));
        LoadFromText(std::wstring(text.begin(), text.end()));
    }
    void SaveToStream(ClassLib::TStream*) override {}
    void SaveToFile(const std::wstring&) override {}
private:
    int FElements = 0;
};

// Installs the stand-in importer for one scope.
class TFakeSVGScope {
public:
    TFakeSVGScope() {
        AdvTypes::SetSVGImportFactory([] { return std::make_unique<TFakeSVGImport>(); });
    }
    ~TFakeSVGScope() { AdvTypes::SetSVGImportFactory({}); }
    TFakeSVGScope(const TFakeSVGScope&) = delete;
    TFakeSVGScope& operator=(const TFakeSVGScope&) = delete;
};

// A white 32-bit bitmap to draw on; pixels are read back as TColor.
struct TPaper {
    TPaper(int width, int height, ClassLib::TColor color = ClassLib::clWhite) : Bitmap(width, height, ClassLib::pf32bit) {
        Bitmap.Canvas()->Brush()->SetColor(color);
        Bitmap.Canvas()->FillRect(ClassLib::Rect(0, 0, width, height));
    }
    ClassLib::TCanvas* Canvas() { return Bitmap.Canvas(); }
    ClassLib::TColor Pixel(int x, int y) { return Bitmap.Canvas()->Pixels(x, y); }
    ClassLib::TBitmap Bitmap;
};

}  // namespace PictureFixtures
