#include "classlib/Pictures.h"

#include <cstring>

#include <gtest/gtest.h>
#include <zlib.h>

#include "classlib/Streams.h"
#include "support/SamplePictures.h"

using namespace ClassLib;
using TestSupport::SampleGif;
using TestSupport::SavedBytes;

namespace {

std::unique_ptr<TMemoryStream> StreamOf(const TBytes& bytes) {
    auto stream = std::make_unique<TMemoryStream>();
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// The colour a graphic shows at (x, y) when drawn unscaled on white.
TColor ShownPixel(TGraphic* graphic, int x, int y) {
    TBitmap target(graphic->Width(), graphic->Height(), pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, target.Width(), target.Height()));
    target.Canvas()->Draw(0, 0, graphic);
    return target.Canvas()->Pixels(x, y);
}

// A 7 x 5 white bitmap with a red pixel at (3, 2) and a blue one at (6, 4).
std::unique_ptr<TBitmap> Fixture(TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>(7, 5, pf24bit);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(Rect(0, 0, 7, 5));
    bitmap->Canvas()->SetPixels(3, 2, clRed);
    bitmap->Canvas()->SetPixels(6, 4, clBlue);
    bitmap->SetPixelFormat(format);
    return bitmap;
}

bool Near(TColor a, TColor b, int tolerance) {
    return std::abs(ColorRed(a) - ColorRed(b)) <= tolerance && std::abs(ColorGreen(a) - ColorGreen(b)) <= tolerance &&
           std::abs(ColorBlue(a) - ColorBlue(b)) <= tolerance;
}

// PNG bytes written by hand, so the decoder meets layouts our own encoder never writes.
TBytes MakePng(int width, int height, int depth, int colorType, bool interlaced, const TBytes& raw,
               const TBytes& palette = {}, const TBytes& transparency = {}) {
    TBytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto put32 = [&out](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
    };
    auto chunk = [&](const char* type, const TBytes& body) {
        put32(std::uint32_t(body.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), body.begin(), body.end());
        put32(std::uint32_t(crc32(0, out.data() + start, uInt(body.size() + 4))));
    };
    TBytes header;
    for (std::uint32_t v : {std::uint32_t(width), std::uint32_t(height)})
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(std::uint8_t(v >> shift));
    header.insert(header.end(), {std::uint8_t(depth), std::uint8_t(colorType), 0, 0, std::uint8_t(interlaced)});
    chunk("IHDR", header);
    if (!palette.empty()) chunk("PLTE", palette);
    if (!transparency.empty()) chunk("tRNS", transparency);
    uLongf packedSize = compressBound(uLong(raw.size()));
    TBytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

class TFakeGraphic : public TGraphic {
public:
    static const TGraphicClassData& ClassData() {
        static const TGraphicClassData data{
            L"TFakeGraphic", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TFakeGraphic>(); },
            [](TStream*) { return true; }, false};
        return data;
    }
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Draw(TCanvas*, const TRect&) override {}
    bool Empty() const override { return FBytes.empty(); }
    int Width() const override { return 1; }
    int Height() const override { return 1; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream* stream) override {
        FBytes.resize(std::size_t(stream->Size() - stream->Position()));
        if (!FBytes.empty()) stream->ReadBuffer(FBytes.data(), int(FBytes.size()));
    }
    void SaveToStream(TStream* stream) override { stream->WriteBuffer(FBytes.data(), int(FBytes.size())); }
    TBytes FBytes;
};

struct TRegistration {
    TRegistration() { TPicture::RegisterFileFormat(L"fake", L"Anything", &TFakeGraphic::ClassData()); }
    ~TRegistration() { TPicture::UnregisterGraphicClass(&TFakeGraphic::ClassData()); }
};

}  // namespace

TEST(Pictures, BitmapsRoundTripInEveryPixelFormat) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(int(format));
        auto bitmap = Fixture(format);
        const TBytes bytes = SavedBytes(*bitmap);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');

        TPicture picture;
        picture.LoadFromStream(StreamOf(bytes).get());
        auto* loaded = dynamic_cast<TBitmap*>(picture.Graphic());
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Width(), 7);
        EXPECT_EQ(loaded->Height(), 5);
        EXPECT_EQ(loaded->PixelFormat(), format);
        // One bit per pixel keeps black and white only: red turns black there.
        EXPECT_EQ(loaded->Canvas()->Pixels(3, 2), format == pf1bit ? clBlack : clRed);
        EXPECT_EQ(loaded->Canvas()->Pixels(0, 0), clWhite);
        if (format != pf1bit) {
            EXPECT_EQ(loaded->Canvas()->Pixels(6, 4), clBlue);
        }
        if (format == pf8bit || format == pf4bit) {
            loaded->Canvas()->SetPixels(1, 1, clNavy);  // classic colours are exact in palettes
            EXPECT_EQ(loaded->Canvas()->Pixels(1, 1), clNavy);
        }
    }
}

TEST(Pictures, DamagedBitmapsAndIconsRaiseAndKeepTheImage) {
    const TBytes good = SavedBytes(*Fixture(pf24bit));
    auto patched = [&good](std::size_t offset, std::uint32_t value) {
        TBytes bytes = good;
        std::memcpy(&bytes[offset], &value, 4);
        return bytes;
    };
    struct TCase { const char* Name; TBytes Bytes; };
    const TCase cases[] = {
        {"pixels cut short", TBytes(good.begin(), good.end() - 10)},
        {"header only", TBytes(good.begin(), good.begin() + 30)},
        {"unknown header size", patched(14, 20)},
        {"zero width", patched(18, 0)},
        {"huge size", patched(18, 0x40000000)},
        {"bits per pixel", patched(28, 7 | (1 << 16))},
        {"compression", patched(30, 4 /* embedded JPEG */)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto bitmap = Fixture(pf8bit);
        EXPECT_THROW(bitmap->LoadFromBytes(c.Bytes.data(), c.Bytes.size()), EInvalidGraphic);
        EXPECT_EQ(bitmap->Width(), 7);
        EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
    }
    const TBytes icons[] = {{0, 0, 1, 0, 1, 0}, {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0}};
    for (const TBytes& bytes : icons) {
        TIcon icon;
        EXPECT_THROW(icon.LoadFromBytes(bytes.data(), bytes.size()), EInvalidGraphic);
        EXPECT_TRUE(icon.Empty());
    }
}

TEST(Pictures, TopDownBitmapsLoadTheRightWayUp) {
    auto bitmap = Fixture(pf24bit);
    TBytes bytes = SavedBytes(*bitmap);
    // Flip the rows and mark the height negative.
    const std::size_t stride = 24, offset = 54;
    TBytes flipped = bytes;
    for (int y = 0; y < 5; ++y) std::memcpy(&flipped[offset + y * stride], &bytes[offset + (4 - y) * stride], stride);
    const std::int32_t height = -5;
    std::memcpy(&flipped[22], &height, 4);
    TBitmap loaded;
    loaded.LoadFromStream(StreamOf(flipped).get());
    EXPECT_EQ(loaded.Height(), 5);
    EXPECT_EQ(loaded.Canvas()->Pixels(3, 2), clRed);
    EXPECT_EQ(loaded.Canvas()->Pixels(6, 4), clBlue);
}

TEST(Pictures, PngRoundTripKeepsSizeAndPixels) {
    auto bitmap = Fixture(pf24bit);
    TPngImage png;
    png.Assign(bitmap.get());
    const TBytes bytes = SavedBytes(png);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');

    TPicture picture;
    picture.LoadFromStream(StreamOf(bytes).get());
    ASSERT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 3, 2), clRed);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 6, 4), clBlue);
    // The bytes it was loaded from are saved unchanged.
    EXPECT_EQ(SavedBytes(*picture.Graphic()), bytes);
}

TEST(Pictures, PngDecoderReadsPalettesGreyAlphaAndInterlace) {
    // 2-bit palette, 3 x 2, with a half-transparent second entry.
    {
        const TBytes palette = {255, 0, 0, 0, 0, 255, 0, 255, 0};
        const TBytes raw = {0, 0b00011000, 0, 0b10000100};  // rows: 0 1 2 / 2 0 1
        TPngImage png;
        png.LoadFromBytes(MakePng(3, 2, 2, 3, false, raw, palette, {255, 0}).data(),
                          MakePng(3, 2, 2, 3, false, raw, palette, {255, 0}).size());
        EXPECT_TRUE(png.HasAlpha());
        EXPECT_EQ(ShownPixel(&png, 0, 0), clRed);
        EXPECT_EQ(ShownPixel(&png, 1, 0), clWhite);  // fully transparent over white
        EXPECT_EQ(ShownPixel(&png, 2, 0), clLime);
        EXPECT_EQ(ShownPixel(&png, 0, 1), clLime);
    }
    // One pixel in each remaining layout, shown on white.
    struct TCase { const char* Name; int Depth, ColorType; TBytes Raw; TColor Shown; };
    const TCase cases[] = {
        {"rgb 8", 8, 2, {0, 10, 20, 30}, RGBToColor(10, 20, 30)},
        {"rgb 16", 16, 2, {0, 10, 99, 20, 99, 30, 99}, RGBToColor(10, 20, 30)},
        {"rgba 16 opaque", 16, 6, {0, 10, 0, 20, 0, 30, 0, 255, 255}, RGBToColor(10, 20, 30)},
        {"rgba 8 clear", 8, 6, {0, 10, 20, 30, 0}, clWhite},
        {"grey alpha 8", 8, 4, {0, 40, 255}, RGBToColor(40, 40, 40)},
        {"grey 1 bit", 1, 0, {0, 0x80}, clWhite},
        {"grey 4 bit", 4, 0, {0, 0x10}, RGBToColor(17, 17, 17)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBytes file = MakePng(1, 1, c.Depth, c.ColorType, false, c.Raw);
        TPngImage png;
        png.LoadFromBytes(file.data(), file.size());
        EXPECT_EQ(ShownPixel(&png, 0, 0), c.Shown);
    }
    // Rows written with each of the five filters (none, sub, up, average, Paeth).
    {
        const int width = 3, height = 5;
        auto pixel = [](int x, int y, int c) { return std::uint8_t((x * 70 + y * 45 + c * 30 + x * y * 11) % 256); };
        auto paeth = [](int a, int b, int c) {
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        };
        TBytes raw;
        for (int y = 0; y < height; ++y) {
            const int filter = y;
            raw.push_back(std::uint8_t(filter));
            for (int i = 0; i < width * 3; ++i) {
                const int x = i / 3, ch = i % 3;
                const int a = x > 0 ? pixel(x - 1, y, ch) : 0, b = y > 0 ? pixel(x, y - 1, ch) : 0;
                const int c = x > 0 && y > 0 ? pixel(x - 1, y - 1, ch) : 0;
                const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? paeth(a, b, c) : 0;
                raw.push_back(std::uint8_t(pixel(x, y, ch) - predicted));
            }
        }
        const TBytes file = MakePng(width, height, 8, 2, false, raw);
        TPngImage png;
        png.LoadFromBytes(file.data(), file.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                SCOPED_TRACE(testing::Message() << "filter " << y << " x " << x);
                EXPECT_EQ(ShownPixel(&png, x, y), RGBToColor(pixel(x, y, 0), pixel(x, y, 1), pixel(x, y, 2)));
            }
    }
    // 8-bit grey, 3 x 3, interlaced: the raw data holds the seven passes.
    {
        auto value = [](int x, int y) { return std::uint8_t(20 * (y * 3 + x) + 10); };
        const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        TBytes raw;
        for (const auto& p : passes) {
            for (int y = p[1]; y < 3; y += p[3]) {
                if (p[0] >= 3) break;
                raw.push_back(0);
                for (int x = p[0]; x < 3; x += p[2]) raw.push_back(value(x, y));
            }
        }
        const TBytes file = MakePng(3, 3, 8, 0, true, raw);
        TPngImage png;
        png.LoadFromBytes(file.data(), file.size());
        EXPECT_FALSE(png.HasAlpha());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                EXPECT_EQ(ShownPixel(&png, x, y), RGBToColor(value(x, y), value(x, y), value(x, y)));
            }
    }
}

TEST(Pictures, DamagedPngRaisesAndLeavesTheImage) {
    auto bitmap = Fixture(pf24bit);
    TPngImage png;
    png.Assign(bitmap.get());
    TBytes bytes = SavedBytes(png);
    TBytes badChecksum = bytes;
    badChecksum[20] ^= 0xFF;  // inside the header chunk
    TBytes cut(bytes.begin(), bytes.begin() + 40);
    const TBytes huge = MakePng(100000, 100000, 8, 2, false, {0, 1, 2, 3});  // refused before any allocation
    const TBytes shortData = MakePng(4, 4, 8, 2, false, {0, 1, 2, 3});
    for (const TBytes& bad : {badChecksum, cut, huge, shortData}) {
        TPngImage target;
        target.Assign(bitmap.get());
        EXPECT_THROW(target.LoadFromBytes(bad.data(), bad.size()), EInvalidGraphic);
        EXPECT_EQ(target.Width(), 7);
    }
}

TEST(Pictures, JpegRoundTripWithQuality) {
    TBitmap bitmap(16, 8, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(RGBToColor(200, 20, 20));
    bitmap.Canvas()->FillRect(Rect(0, 0, 16, 8));
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(95);
    jpeg.Assign(&bitmap);
    const TBytes fine = SavedBytes(jpeg);
    ASSERT_GT(fine.size(), 2u);
    EXPECT_EQ(fine[0], 0xFF);
    EXPECT_EQ(fine[1], 0xD8);

    TPicture picture;
    picture.LoadFromStream(StreamOf(fine).get());
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.Height(), 8);
    EXPECT_TRUE(Near(ShownPixel(picture.Graphic(), 5, 5), RGBToColor(200, 20, 20), 8));

    TBytes cut(fine.begin(), fine.begin() + 20);
    TJPEGImage broken;
    EXPECT_THROW(broken.LoadFromBytes(cut.data(), cut.size()), EInvalidGraphic);
}

TEST(Pictures, GifLoadsItsFirstFrameWithTransparency) {
    const TBytes bytes = SampleGif();
    TPicture picture;
    picture.LoadFromStream(StreamOf(bytes).get());
    ASSERT_NE(dynamic_cast<TGIFImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_TRUE(picture.Graphic()->Transparent());
    EXPECT_EQ(ShownPixel(picture.Graphic(), 0, 0), clRed);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 1, 0), clLime);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 0, 1), clBlue);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 1, 1), clWhite);
    EXPECT_EQ(SavedBytes(*picture.Graphic()), bytes);

    // A bitmap assigned to a GIF is encoded when it is saved: the result reads back,
    // or saving raises (Wine's encoder writes no image data); it never writes a broken file.
    TGIFImage encoded;
    encoded.Assign(Fixture(pf24bit).get());
    TMemoryStream written;
    try {
        encoded.SaveToStream(&written);
        TPicture reloaded;
        reloaded.LoadFromStream(StreamOf(written.Bytes()).get());
        EXPECT_EQ(reloaded.Width(), 7);
        EXPECT_EQ(ShownPixel(reloaded.Graphic(), 3, 2), clRed);
    } catch (const EInvalidGraphic&) {
        EXPECT_EQ(written.Size(), 0);
    }

    TGIFImage damaged;
    TBytes cut(bytes.begin(), bytes.begin() + 10);
    EXPECT_THROW(damaged.LoadFromBytes(cut.data(), cut.size()), EInvalidGraphic);
}

TEST(Pictures, TiffThroughTheSystemImageLibrary) {
    TWICImage tiff;
    tiff.Assign(Fixture(pf24bit).get());
    const TBytes bytes = SavedBytes(tiff);
    ASSERT_GE(bytes.size(), 4u);
    TPicture picture;
    picture.LoadFromStream(StreamOf(bytes).get());
    ASSERT_NE(dynamic_cast<TWICImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 3, 2), clRed);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 6, 4), clBlue);
}

TEST(Pictures, EnhancedMetafilesPlayIntoTheirRectangle) {
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    const RECT box{0, 0, 40, 30};
    ::FillRect(recorder, &box, red);
    ::DeleteObject(red);
    HENHMETAFILE recorded = ::CloseEnhMetaFile(recorder);
    TMetafile source;
    source.SetHandle(recorded);
    EXPECT_GT(source.Width(), 0);
    const TBytes bytes = SavedBytes(source);

    TPicture picture;
    picture.LoadFromStream(StreamOf(bytes).get());
    ASSERT_NE(dynamic_cast<TMetafile*>(picture.Graphic()), nullptr);
    EXPECT_GT(picture.Width(), 0);
    TBitmap target(40, 30, pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 40, 30));
    target.Canvas()->StretchDraw(Rect(0, 0, 40, 30), picture.Graphic());
    EXPECT_EQ(target.Canvas()->Pixels(20, 15), clRed);
    EXPECT_EQ(SavedBytes(*picture.Graphic()), bytes);

    TMetafile broken;
    TBytes cut(bytes.begin(), bytes.begin() + 60);
    EXPECT_THROW(broken.LoadFromBytes(cut.data(), cut.size()), EInvalidGraphic);
}

TEST(Pictures, IconFromAHandleSavesAndLoadsAsIcoData) {
    TBitmap color(16, 16, pf32bit), mask(16, 16, pf1bit);
    color.Canvas()->Brush()->SetColor(clRed);
    color.Canvas()->FillRect(Rect(0, 0, 16, 16));
    mask.Canvas()->Brush()->SetColor(clBlack);  // black mask: every pixel shows
    mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
    ICONINFO info{TRUE, 0, 0, mask.Handle(), color.Handle()};
    TIcon icon;
    icon.SetHandle(::CreateIconIndirect(&info));
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    const TBytes bytes = SavedBytes(icon);

    TPicture picture;
    picture.LoadFromStream(StreamOf(bytes).get());
    ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.Height(), 16);
    EXPECT_EQ(ShownPixel(picture.Graphic(), 8, 8), clRed);
    EXPECT_THROW(picture.Graphic()->SetWidth(32), EInvalidGraphicOperation);
}

TEST(Pictures, BitmapResourcesOfAModule) {
    // The system's own check-mark bitmap: any module with bitmap resources serves.
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    TBitmap bitmap;
    bitmap.LoadFromResourceID(user, 32760);  // OBM_CHECK
    EXPECT_GT(bitmap.Width(), 0);
    EXPECT_GT(bitmap.Height(), 0);
    EXPECT_THROW(bitmap.LoadFromResourceName(user, L"NO_SUCH_BITMAP"), EResNotFound);
    EXPECT_GT(bitmap.Width(), 0);
}

TEST(Pictures, UnknownDataRaisesAndKeepsThePicture) {
    TPicture picture;
    picture.Assign(Fixture(pf24bit).get());
    const std::string junk = "this is no picture";
    TBytes bytes(junk.begin(), junk.end());
    try {
        picture.LoadFromStream(StreamOf(bytes).get());
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L"unknown picture format"), std::wstring::npos);
    }
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_THROW(picture.LoadFromStream(StreamOf({}).get()), EInvalidGraphic);
}

TEST(Pictures, AnExtraFormatIsAskedAfterTheRasterOnes) {
    TRegistration registration;
    TPicture picture;
    picture.LoadFromStream(StreamOf(SavedBytes(*Fixture(pf24bit))).get());
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);

    const std::string text = "<svg/>";
    picture.LoadFromStream(StreamOf(TBytes(text.begin(), text.end())).get());
    auto* fake = dynamic_cast<TFakeGraphic*>(picture.Graphic());
    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(fake->FBytes.size(), text.size());
    EXPECT_EQ(TPicture::FileFormats().back().Extension, L"fake");
}

TEST(Pictures, FilesAndDescriptionDataRoundTrip) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring name = std::wstring(folder) + L"classlib-picture-test.png";
    TPngImage png;
    png.Assign(Fixture(pf24bit).get());
    TPicture picture;
    picture.Assign(&png);
    picture.SaveToFile(name);
    TPicture loaded;
    loaded.LoadFromFile(name);
    ::DeleteFileW(name.c_str());
    ASSERT_NE(dynamic_cast<TPngImage*>(loaded.Graphic()), nullptr);
    EXPECT_EQ(loaded.Width(), 7);
    EXPECT_THROW(loaded.LoadFromFile(std::wstring(folder) + L"no-such-picture.png"), EFOpenError);

    TMemoryStream data;
    loaded.WriteData(&data);
    data.SetPosition(0);
    TPicture read;
    read.ReadData(&data);
    ASSERT_NE(dynamic_cast<TPngImage*>(read.Graphic()), nullptr);
    EXPECT_EQ(ShownPixel(read.Graphic(), 3, 2), clRed);
    EXPECT_EQ(data.Position(), data.Size());
}

TEST(Pictures, ChangesOfTheGraphicReachThePicture) {
    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&changes](TObject*) { ++changes; });
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_EQ(changes, 1);
    bitmap->SetSize(4, 4);
    EXPECT_EQ(changes, 2);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_GT(changes, 2);
    EXPECT_TRUE(bitmap->Modified());
}

TEST(Pictures, TransparentBitmapLeavesItsKeyColourOut) {
    TBitmap sprite(4, 4, pf24bit);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
    sprite.Canvas()->SetPixels(1, 1, clBlue);
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);  // the bottom-left pixel
    EXPECT_EQ(ShownPixel(&sprite, 0, 0), clWhite);
    EXPECT_EQ(ShownPixel(&sprite, 1, 1), clBlue);
    sprite.SetTransparentColor(clBlue);
    EXPECT_EQ(sprite.TransparentMode(), tmFixed);
    EXPECT_EQ(ShownPixel(&sprite, 1, 1), clWhite);
    EXPECT_EQ(ShownPixel(&sprite, 0, 0), clFuchsia);
}

namespace {

// A BMP of run-length pixels with a table of four colours: black, red, lime, blue.
TBytes MakeRleBmp(std::uint32_t width, std::uint32_t height, int bitCount, std::uint32_t colorsUsed, const TBytes& pixels) {
    TBytes out = {'B', 'M'};
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
    };
    const std::uint32_t tableSize = 4 * 4;
    put(14 + 40 + tableSize + std::uint32_t(pixels.size()), 4);
    put(0, 4);
    put(14 + 40 + tableSize, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(std::uint32_t(bitCount), 2);
    put(bitCount == 8 ? BI_RLE8 : BI_RLE4, 4);
    put(std::uint32_t(pixels.size()), 4);
    put(0, 4);
    put(0, 4);
    put(colorsUsed, 4);
    put(0, 4);
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::uint32_t Le32Of(const TBytes& bytes, std::size_t offset) {
    return std::uint32_t(bytes.at(offset)) | (std::uint32_t(bytes.at(offset + 1)) << 8) |
           (std::uint32_t(bytes.at(offset + 2)) << 16) | (std::uint32_t(bytes.at(offset + 3)) << 24);
}

TBytes Patched(TBytes bytes, std::size_t offset, std::uint32_t value, int width = 4, bool bigEndian = false) {
    for (int i = 0; i < width; ++i) bytes.at(offset + i) = std::uint8_t(value >> (8 * (bigEndian ? width - 1 - i : i)));
    return bytes;
}

TBytes IcoFixture() {
    TBitmap color(16, 16, pf32bit), mask(16, 16, pf1bit);
    color.Canvas()->Brush()->SetColor(clRed);
    color.Canvas()->FillRect(Rect(0, 0, 16, 16));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
    ICONINFO info{TRUE, 0, 0, mask.Handle(), color.Handle()};
    TIcon icon;
    icon.SetHandle(::CreateIconIndirect(&info));
    return SavedBytes(icon);
}

TBytes EmfFixture() {
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ::Rectangle(recorder, 0, 0, 40, 30);
    TMetafile metafile;
    metafile.SetHandle(::CloseEnhMetaFile(recorder));
    return SavedBytes(metafile);
}

template <typename TFormat>
TBytes EncodedFixture() {
    TFormat image;
    image.Assign(Fixture(pf24bit).get());
    return SavedBytes(image);
}

// A 3 x 2 TIFF of one 8-bit grey strip, little-endian; width at 18, height at 30.
TBytes TiffFixture() {
    return {'I', 'I', 42, 0, 8, 0, 0, 0,  7, 0,                               // header, 7 entries
            0, 1, 3, 0, 1, 0, 0, 0, 3, 0, 0, 0,                               // width 3
            1, 1, 3, 0, 1, 0, 0, 0, 2, 0, 0, 0,                               // height 2
            2, 1, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0,                               // 8 bits
            6, 1, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0,                               // black is zero
            17, 1, 4, 0, 1, 0, 0, 0, 98, 0, 0, 0,                             // strip at 98
            22, 1, 3, 0, 1, 0, 0, 0, 2, 0, 0, 0,                              // two rows a strip
            23, 1, 4, 0, 1, 0, 0, 0, 6, 0, 0, 0,                              // six bytes
            0, 0, 0, 0,                                                       // no next image
            10, 80, 160, 200, 250, 30};
}

std::size_t FindMarker(const TBytes& bytes, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == marker) return i;
    return bytes.size();
}

}  // namespace

TEST(Pictures, RunLengthBitmapsExpandRunsLiteralsAndMoves) {
    // Bottom row: three reds, a literal lime, blue, lime, then end of line; a move to
    // (2, 2); two blues; end of line; one lime; end of bitmap. Skipped pixels stay black.
    const TBytes rle8 = {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 0, 1, 2, 0, 1};
    const TBytes rle4 = {3, 0x11, 0, 3, 0x23, 0x20, 0, 0, 0, 2, 2, 1, 2, 0x33, 0, 0, 1, 0x20, 0, 1};
    for (int bitCount : {8, 4}) {
        SCOPED_TRACE(bitCount);
        const TBytes bytes = MakeRleBmp(8, 4, bitCount, 4, bitCount == 8 ? rle8 : rle4);
        TBitmap bitmap;
        bitmap.LoadFromBytes(bytes.data(), bytes.size());
        ASSERT_EQ(bitmap.Width(), 8);
        ASSERT_EQ(bitmap.Height(), 4);
        const TColor expected[4][8] = {
            {clLime, clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clBlack},
            {clBlack, clBlack, clBlue, clBlue, clBlack, clBlack, clBlack, clBlack},
            {clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clBlack},
            {clRed, clRed, clRed, clLime, clBlue, clLime, clBlack, clBlack},
        };
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) EXPECT_EQ(bitmap.Canvas()->Pixels(x, y), expected[y][x]) << x << ", " << y;
    }
}

TEST(Pictures, HostileHeadersRaiseAndKeepTheOldImage) {
    const TBytes bmp = SavedBytes(*Fixture(pf8bit));  // 7 x 5, 256 colours, pixels at 1078
    const TBytes ico = IcoFixture();                 // one 16 x 16 32-bit image at 22
    const TBytes png = EncodedFixture<TPngImage>();
    const TBytes jpeg = EncodedFixture<TJPEGImage>();
    const TBytes gif = SampleGif();                    // the first frame's descriptor at 33
    const TBytes tiff = TiffFixture();
    const TBytes emf = EmfFixture();
    const std::size_t sof = FindMarker(jpeg, 0xC0);
    const std::size_t emfHeader = Le32Of(emf, 4);
    TBytes pngIcon = ico;                            // an icon whose image is a PNG header
    const TBytes hugePng = MakePng(0xFFFF, 0xFFFF, 8, 2, false, {0, 1, 2, 3});
    pngIcon.resize(22);
    pngIcon.insert(pngIcon.end(), hugePng.begin(), hugePng.end());
    pngIcon = Patched(pngIcon, 14, std::uint32_t(hugePng.size()));
    // Placeable header, metafile header, then one record longer than the data.
    TBytes wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 40, 0, 30, 0, 96, 0, 0, 0, 0, 0, 0, 0};
    wmf.insert(wmf.end(), {1, 0, 9, 0, 0, 3, 20, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0});
    wmf.insert(wmf.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0x1B, 0x04, 1, 0, 2, 0, 3, 0, 4, 0});

    struct TCase {
        const char* Name;
        const TGraphicClassData& Class;
        const TBytes& Good;
        TBytes Hostile;
    };
    const TGraphicClassData& bitmapClass = TBitmap::ClassData();
    const TCase cases[] = {
        // The colour count went through a negative int and overran the heap on the run-length path.
        {"RLE8, colour count with the top bit set", bitmapClass, bmp, MakeRleBmp(8, 4, 8, 0xFFFFFFFF, {2, 1, 0, 1})},
        {"RLE8, colour count 0x80000000", bitmapClass, bmp, MakeRleBmp(8, 4, 8, 0x80000000, {2, 1, 0, 1})},
        {"RLE4, colour count 0xFFFFFFF0", bitmapClass, bmp, MakeRleBmp(8, 4, 4, 0xFFFFFFF0, {2, 0x11, 0, 1})},
        {"8 bits, colour count 0x80000001", bitmapClass, bmp, Patched(bmp, 46, 0x80000001)},
        {"8 bits, 257 colours", bitmapClass, bmp, Patched(bmp, 46, 257)},
        {"RLE4 past the pixel limit in 60 bytes", bitmapClass, bmp, MakeRleBmp(8193, 4096, 4, 0, {0, 1})},
        {"header size near 4 GB", bitmapClass, bmp, Patched(bmp, 14, 0xFFFFFFF0)},
        {"width 2^31 - 1", bitmapClass, bmp, Patched(bmp, 18, 0x7FFFFFFF)},
        {"height -2^31", bitmapClass, bmp, Patched(bmp, 22, 0x80000000)},
        {"pixels start at the last byte", bitmapClass, bmp, Patched(bmp, 10, std::uint32_t(bmp.size() - 1))},
        {"bit fields in a 44-byte header", bitmapClass, bmp,
         Patched(Patched(Patched(bmp, 14, 44), 28, 32, 2), 30, BI_BITFIELDS)},

        {"icon image header size 0xFFFFFFFF", TIcon::ClassData(), ico, Patched(ico, 22, 0xFFFFFFFF)},
        {"icon image width 2^31 - 1", TIcon::ClassData(), ico, Patched(ico, 26, 0x7FFFFFFF)},
        {"icon image shorter than its pixels", TIcon::ClassData(), ico, Patched(ico, 14, 40 + 100)},
        {"icon of 8 bits, colour count with the top bit set", TIcon::ClassData(), ico,
         Patched(Patched(ico, 22 + 14, 8, 2), 22 + 32, 0x80000000)},
        {"icon image offset 0xFFFFFFFF", TIcon::ClassData(), ico, Patched(ico, 18, 0xFFFFFFFF)},
        {"icon directory of 65535 images", TIcon::ClassData(), ico, Patched(ico, 4, 0xFFFF, 2)},
        {"icon holding a 65535 x 65535 PNG", TIcon::ClassData(), ico, pngIcon},

        {"PNG width 2^31", TPngImage::ClassData(), png, MakePng(int(0x80000000u), 1, 8, 2, false, {0, 1, 2, 3})},
        {"PNG past the pixel limit", TPngImage::ClassData(), png, MakePng(5000, 4000, 8, 2, false, {0, 1, 2, 3})},
        // Found by bench/Robustness: 172 bytes of data made the decoder allocate for 9.4 million pixels.
        {"PNG too large for its data", TPngImage::ClassData(), png, MakePng(9, 1048583, 8, 2, false, TBytes(1000, 0))},
        {"PNG chunk length near 4 GB", TPngImage::ClassData(), png, Patched(png, 8, 0xFFFFFFF0, 4, true)},

        {"JPEG of 65500 x 65500", TJPEGImage::ClassData(), jpeg,
         Patched(Patched(jpeg, sof + 5, 65500, 2, true), sof + 7, 65500, 2, true)},
        {"JPEG past the pixel limit", TJPEGImage::ClassData(), jpeg,
         Patched(Patched(jpeg, sof + 5, 4000, 2, true), sof + 7, 5000, 2, true)},
        {"JPEG width 0", TJPEGImage::ClassData(), jpeg, Patched(jpeg, sof + 7, 0, 2, true)},

        {"GIF screen of 65535 x 65535", TGIFImage::ClassData(), gif, Patched(Patched(gif, 6, 0xFFFF, 2), 8, 0xFFFF, 2)},
        {"GIF frame of 65535 x 65535", TGIFImage::ClassData(), gif, Patched(Patched(gif, 38, 0xFFFF, 2), 40, 0xFFFF, 2)},
        {"GIF descriptor cut short", TGIFImage::ClassData(), gif, TBytes(gif.begin(), gif.begin() + 38)},
        // Wine's decoder read the missing colour table through a null pointer (found by bench/Robustness).
        {"GIF frame without a colour table", TGIFImage::ClassData(), gif,
         {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0, 0xFF, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 4, 4, 0x43, 0x71, 5, 0, 0x3B}},

        {"TIFF directory at 0xFFFFFFFF", TWICImage::ClassData(), tiff, Patched(tiff, 4, 0xFFFFFFFF)},
        {"TIFF directory of 65535 entries", TWICImage::ClassData(), tiff, Patched(tiff, 8, 0xFFFF, 2)},
        {"TIFF width 2^31 - 1", TWICImage::ClassData(), tiff, Patched(Patched(tiff, 12, 4, 2), 18, 0x7FFFFFFF)},
        // Found by bench/Robustness: the system's reader spent seconds on a count of 2^31 strips.
        {"TIFF strip sizes of 2^31 + 1 values", TWICImage::ClassData(), tiff, Patched(tiff, 86, 0x80000001)},
        {"TIFF past the pixel limit", TWICImage::ClassData(), tiff, Patched(Patched(tiff, 18, 5000, 2), 30, 4000, 2)},

        {"metafile length near 4 GB", TMetafile::ClassData(), emf, Patched(emf, 48, 0xFFFFFFF0)},
        {"metafile record longer than the data", TMetafile::ClassData(), emf, Patched(emf, emfHeader + 4, 0x7FFFFFF0)},
        {"placeable metafile record longer than the data", TMetafile::ClassData(), emf, wmf},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TGraphic> graphic = c.Class.Create();
        graphic->LoadFromStream(StreamOf(c.Good).get());
        const TBytes before = SavedBytes(*graphic);
        const int width = graphic->Width();
        EXPECT_THROW(graphic->LoadFromStream(StreamOf(c.Hostile).get()), EInvalidGraphic);
        EXPECT_EQ(graphic->Width(), width);
        EXPECT_EQ(SavedBytes(*graphic), before);

        TPicture picture;
        picture.SetGraphic(graphic.get());
        const TGraphic* old = picture.Graphic();
        EXPECT_THROW(picture.LoadFromStream(StreamOf(c.Hostile).get()), EInvalidGraphic);
        EXPECT_EQ(picture.Graphic(), old);
    }
}

TEST(Pictures, ABitmapThatNeverHadPixelsCopiesAsAnEmptyOne) {
    TBitmap never, painted(4, 3);
    painted.Assign(&never);
    EXPECT_TRUE(painted.Empty());
    TBitmap copy;
    copy.Assign(&never);
    EXPECT_TRUE(copy.Empty());
    copy.SetSize(2, 2);   // and it can still be given pixels
    EXPECT_EQ(copy.Width(), 2);
}
