#include "classlib/Pictures.h"

#include <cstring>

#include <gtest/gtest.h>
#include <zlib.h>

#include "classlib/Streams.h"

using namespace ClassLib;

namespace {

TBytes BytesOf(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(&stream);
    return stream.Bytes();
}

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

// A 2 x 2 GIF: red, lime / blue, transparent. Every pixel follows a clear code, so
// the LZW codes stay 3 bits wide.
TBytes MakeGif() {
    TBytes gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0xF1, 0, 0};
    gif.insert(gif.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});   // colour table
    gif.insert(gif.end(), {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0});                  // index 3 is transparent
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2});               // image, LZW minimum 2
    const int codes[] = {4, 0, 4, 1, 4, 2, 4, 3, 5};
    TBytes packed;
    unsigned bits = 0, count = 0;
    for (int code : codes) {
        bits |= unsigned(code) << count;
        count += 3;
        while (count >= 8) { packed.push_back(std::uint8_t(bits)); bits >>= 8; count -= 8; }
    }
    if (count) packed.push_back(std::uint8_t(bits));
    gif.push_back(std::uint8_t(packed.size()));
    gif.insert(gif.end(), packed.begin(), packed.end());
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
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
        const TBytes bytes = BytesOf(*bitmap);
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
    }
}

TEST(Pictures, TopDownBitmapsLoadTheRightWayUp) {
    auto bitmap = Fixture(pf24bit);
    TBytes bytes = BytesOf(*bitmap);
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
    const TBytes bytes = BytesOf(png);
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
    EXPECT_EQ(BytesOf(*picture.Graphic()), bytes);
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
    TBytes bytes = BytesOf(png);
    TBytes badChecksum = bytes;
    badChecksum[20] ^= 0xFF;  // inside the header chunk
    TBytes cut(bytes.begin(), bytes.begin() + 40);
    for (const TBytes& bad : {badChecksum, cut}) {
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
    const TBytes fine = BytesOf(jpeg);
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
    const TBytes bytes = MakeGif();
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
    EXPECT_EQ(BytesOf(*picture.Graphic()), bytes);

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
    const TBytes bytes = BytesOf(icon);

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
    picture.LoadFromStream(StreamOf(BytesOf(*Fixture(pf24bit))).get());
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
