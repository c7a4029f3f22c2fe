#include "graphics/GDIPicture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvGlobalStream.h"
#include "graphics/PictureFixtures.h"

using namespace ClassLib;
using namespace GDIPicture;
using namespace PictureFixtures;

namespace {

TBytes Saved(TGDIPPicture& picture) {
    TMemoryStream stream;
    picture.SaveToStream(&stream);
    return stream.Bytes();
}

void Load(TGDIPPicture& picture, const TBytes& bytes) {
    auto stream = StreamOf(bytes);
    picture.LoadFromStream(stream.get());
}

std::wstring TempFile(const wchar_t* name, const TBytes& bytes) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    StreamOf(bytes)->SaveToFile(path);
    return path;
}

HGLOBAL WINAPI NoBlock(UINT, SIZE_T) { return nullptr; }

struct TFormatCase {
    const char* Name;
    TBytes Bytes;
    TPictureFormat Format;
    int Width;
    int Height;
};

std::vector<TFormatCase> RasterCases() {
    return {
        {"png with alpha", Png(), pfPNG, 16, 12},
        {"jpeg FF D8 FF E2", JpegE2(), pfJPG, 16, 16},
        {"bmp", Bmp(), pfBMP, 8, 6},
        {"ico", Ico(), pfICO, 16, 16},
        {"emf", Emf(), pfMetaFile, 0, 0},   // sizes of metafiles follow their frames
        {"wmf", Wmf(), pfMetaFile, 0, 0},
    };
}

}  // namespace

TEST(GDIPPicture, EveryRasterFormatRoundTripsByteForByteAndDraws) {
    for (const TFormatCase& c : RasterCases()) {
        SCOPED_TRACE(c.Name);
        TGDIPPicture picture;
        Load(picture, c.Bytes);
        EXPECT_FALSE(picture.Empty());
        EXPECT_EQ(Saved(picture), c.Bytes);
        EXPECT_EQ(picture.GetPictureFormat(), c.Format);
        if (c.Width) {
            EXPECT_EQ(picture.Width(), c.Width);
            EXPECT_EQ(picture.Height(), c.Height);
        } else {
            EXPECT_GT(picture.Width(), 0);
            EXPECT_GT(picture.Height(), 0);
        }

        // Description data: raster bytes stored as they are, read back the same.
        TMemoryStream data;
        picture.WriteData(&data);
        EXPECT_EQ(data.Bytes(), c.Bytes);
        data.SetPosition(0);
        TGDIPPicture read;
        read.ReadData(&data);
        EXPECT_EQ(Saved(read), c.Bytes);
        EXPECT_EQ(read.Width(), picture.Width());

        // Files: saved and loaded again, byte for byte.
        const std::wstring file = TempFile(L"gdip-round-trip.bin", {});
        picture.SaveToFile(file);
        TMemoryStream written;
        written.LoadFromFile(file);
        EXPECT_EQ(written.Bytes(), c.Bytes);
        TGDIPPicture fromFile;
        fromFile.LoadFromFile(file);
        EXPECT_EQ(Saved(fromFile), c.Bytes);
        EXPECT_EQ(fromFile.FileName(), file);

        TPaper paper(24, 24, clBlue);
        picture.Draw(paper.Canvas(), Rect(0, 0, 16, 16));
        EXPECT_NE(paper.Pixel(8, 5), clBlue) << "something was drawn";
        EXPECT_EQ(paper.Pixel(20, 20), clBlue) << "only inside the rectangle";
    }
}

TEST(GDIPPicture, LoadingTellsRasterFromSVGAndRefusesEverythingElse) {
    enum TKind { Raster, Svg, Refused };
    struct TCase {
        const char* Name;
        TBytes Bytes;
        TKind Kind;
    };
    const TCase cases[] = {
        {"jpeg FF D8 FF E2", JpegE2(), Raster},
        {"emf", Emf(), Raster},
        {"placeable wmf", Wmf(), Raster},
        {"ico", Ico(), Raster},
        {"svg text", PictureFixtures::Svg(10, 10), Svg},
        {"svg after a byte-order mark and blanks", [] {
             TBytes b = {0xEF, 0xBB, 0xBF, ' ', '\r', '\n'};
             const TBytes svg = PictureFixtures::Svg(4, 4);
             b.insert(b.end(), svg.begin(), svg.end());
             return b;
         }(), Svg},
        {"plain text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, Refused},
        {"four zero bytes", {0, 0, 0, 0, 0, 0}, Refused},
        {"two bytes: XML text the importer cannot read", {'<', 0}, Refused},
        {"one byte", {'x'}, Refused},
        {"nothing", {}, Refused},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGDIPPicture picture;
        const TBytes png = Png();
        Load(picture, png);
        if (c.Kind == Refused) {
            auto stream = StreamOf(c.Bytes);
            EXPECT_THROW(picture.LoadFromStream(stream.get()), EInvalidGraphic);
            EXPECT_EQ(Saved(picture), png) << "the picture is kept";
            EXPECT_FALSE(picture.Empty());
            EXPECT_EQ(picture.Width(), 16);
            continue;
        }
        Load(picture, c.Bytes);
        EXPECT_EQ(picture.HasSVGData(), c.Kind == Svg);
        EXPECT_EQ(Saved(picture), c.Bytes);
        // SVG leaves the raster bytes behind it; raster replaces them.
        EXPECT_EQ(picture.Data(), c.Kind == Svg ? png : c.Bytes);
    }
}

TEST(GDIPPicture, UnknownBytesInDescriptionDataRaiseAndKeepThePicture) {
    TGDIPPicture picture;
    Load(picture, Bmp());
    const TBytes junk = {9, 0, 0, 0, 'n', 'o', 't', ' ', 'a', ' ', 's', 'v', 'g'};
    auto stream = StreamOf(junk);
    EXPECT_THROW(picture.ReadData(stream.get()), EInvalidGraphic);
    EXPECT_EQ(Saved(picture), Bmp());

    TMemoryStream nothing;
    picture.ReadData(&nothing);   // an empty picture's data: nothing changes
    EXPECT_EQ(Saved(picture), Bmp());
}

TEST(GDIPPicture, LoadFromFileSwallowsErrorsAndLeavesThePictureEmpty) {
    TGDIPPicture picture;
    const std::wstring png = TempFile(L"gdip-picture.png", Png());
    picture.LoadFromFile(png);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.FileName(), png);

    picture.LoadFromFile(TempFile(L"gdip-picture.txt", {'n', 'o', 'p', 'e'}));
    EXPECT_TRUE(picture.Empty());
    picture.LoadFromFile(L"Z:\\no\\such\\file.png");
    EXPECT_TRUE(picture.Empty());
}

TEST(GDIPPicture, SVGPartAndRasterPartReplaceEachOtherAsLoaded) {
    const TFakeSVGScope importer;
    const TBytes png = Png(), svg = PictureFixtures::Svg(30, 20);

    TGDIPPicture picture;
    Load(picture, svg);
    EXPECT_TRUE(picture.HasSVG());
    EXPECT_TRUE(picture.Data().empty());
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(picture.Height(), 20);
    EXPECT_EQ(Saved(picture), svg);
    TMemoryStream data;
    picture.WriteData(&data);
    ASSERT_EQ(data.Size(), std::int64_t(4 + svg.size()));
    EXPECT_EQ(data.Bytes()[0], svg.size());

    Load(picture, png);   // a PNG after an SVG clears the SVG part
    EXPECT_FALSE(picture.HasSVG());
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(Saved(picture), png);

    Load(picture, svg);   // SVG from a stream keeps the raster bytes, but the SVG wins
    EXPECT_EQ(picture.Data(), png);
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(Saved(picture), svg);
    TPaper paper(40, 40);
    picture.Draw(paper.Canvas(), Rect(0, 0, 30, 20));
    EXPECT_EQ(paper.Pixel(10, 10), clLime);

    Load(picture, png);
    picture.LoadFromFile(TempFile(L"gdip-picture.svg", svg));   // from a file the raster bytes go
    EXPECT_TRUE(picture.Data().empty());
    EXPECT_TRUE(picture.HasSVG());

    data.SetPosition(0);
    TGDIPPicture read;
    read.ReadData(&data);
    EXPECT_TRUE(read.HasSVG());
    EXPECT_EQ(Saved(read), svg);
}

TEST(GDIPPicture, SVGBytesAreKeptEvenWithoutAnImporter) {
    const TBytes svg = PictureFixtures::Svg(8, 8);
    TGDIPPicture picture;
    Load(picture, svg);
    EXPECT_TRUE(picture.HasSVGData());
    EXPECT_FALSE(picture.HasSVG());
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(Saved(picture), svg);
    TPaper paper(10, 10);
    picture.Draw(paper.Canvas(), Rect(0, 0, 8, 8));   // nothing to draw with, and no error
    EXPECT_EQ(paper.Pixel(4, 4), clWhite);
}

TEST(GDIPPicture, FormatNeedsMoreThanFortyThreeBytesButDrawingDoesNot) {
    const TBytes gif = TinyGif();
    ASSERT_LE(gif.size(), 43u);
    TGDIPPicture picture;
    Load(picture, gif);
    EXPECT_EQ(picture.GetPictureFormat(), pfNone);
    EXPECT_EQ(picture.Width(), 1);
    TPaper paper(4, 4);
    picture.Draw(paper.Canvas(), Rect(1, 1, 2, 2));
    EXPECT_EQ(paper.Pixel(1, 1), clRed);

    struct TCase { const char* Name; TBytes Head; TPictureFormat Format; };
    const TCase cases[] = {
        {"tiff II", {'I', 'I', 0x2A, 0}, pfTiff},
        {"tiff MM", {'M', 'M', 0, 0x2A}, pfTiff},
        {"II without the marker", {'I', 'I', 0, 0}, pfNone},
        {"gif", {'G', 'I', 'F', '8'}, pfGIF},
        {"placeable wmf", {0xD7, 0xCD, 0xC6, 0x9A}, pfMetaFile},
        {"icon word at 2", {0, 0, 1, 0}, pfICO},
        {"cursor", {0, 0, 2, 0}, pfNone},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBytes bytes = c.Head;
        bytes.resize(44);
        EXPECT_EQ(PictureFormatOf(bytes.data(), bytes.size()), c.Format);
    }
}

TEST(GDIPPicture, TransparentBitmapsLetTheirCornerColourThrough) {
    TGDIPPicture picture;
    Load(picture, Bmp());
    TPaper paper(16, 12, clBlue);
    picture.Draw(paper.Canvas(), Rect(0, 0, 16, 12));   // stretched to twice its size
    EXPECT_EQ(paper.Pixel(1, 1), clBlue) << "magenta, the bottom-left colour, is transparent";
    EXPECT_EQ(paper.Pixel(7, 5), clRed);

    picture.SetTransparentBitmap(false);
    TPaper opaque(16, 12, clBlue);
    picture.Draw(opaque.Canvas(), Rect(0, 0, 16, 12));
    EXPECT_EQ(opaque.Pixel(1, 1), clFuchsia);
}

TEST(GDIPPicture, AngleTurnsThePictureAboutTheCentreOfItsNaturalSize) {
    TGDIPPicture picture;
    Load(picture, ClassLib::EncodePng(TwoBands(20, 10, OpaqueRed, OpaqueLime)));
    TPaper straight(40, 40);
    picture.Draw(straight.Canvas(), Rect(0, 0, 20, 10));
    EXPECT_EQ(straight.Pixel(13, 2), clRed);
    EXPECT_EQ(straight.Pixel(7, 7), clLime);

    picture.SetAngle(90);   // clockwise about (10, 5): the top band turns to the right
    TPaper turned(40, 40);
    picture.Draw(turned.Canvas(), Rect(0, 0, 20, 10));
    EXPECT_EQ(turned.Pixel(13, 5), clRed);
    EXPECT_EQ(turned.Pixel(7, 5), clLime);
    EXPECT_EQ(turned.Pixel(18, 5), clWhite) << "beyond the turned band's width";
}

TEST(GDIPPicture, AssignCopiesOrEmpties) {
    TGDIPPicture picture;
    Load(picture, Png());
    std::vector<std::string> events;
    picture.SetOnChange([&](TObject*) { events.push_back("change"); });
    picture.SetOnClear([&](TObject*) { events.push_back("clear"); });
    picture.Assign(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"change", "clear"}));
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(Saved(picture).empty());

    TGDIPPicture source;
    Load(source, JpegE2());
    picture.Assign(&source);
    EXPECT_EQ(Saved(picture), JpegE2());
    EXPECT_EQ(picture.Width(), 16);

    TBitmap bitmap(5, 3, pf24bit);   // any other graphic: its saved bytes
    picture.Assign(&bitmap);
    EXPECT_EQ(picture.GetPictureFormat(), pfBMP);
    EXPECT_EQ(picture.Width(), 5);

    TPicture holder;
    holder.Assign(&source);          // a TPicture: its graphic
    picture.Assign(&holder);
    EXPECT_EQ(Saved(picture), JpegE2());
    TPicture none;                   // a TPicture without a graphic empties, as null does
    events.clear();
    picture.Assign(&none);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(events, (std::vector<std::string>{"change", "clear"}));

    // Holders copy through Assign: a TPicture keeps a TGDIPPicture as it is.
    TPicture kept;
    kept.SetGraphic(&source);
    EXPECT_EQ(TestSupport::SavedBytes(*kept.Graphic()), JpegE2());
}

TEST(GDIPPicture, AddressesNameResourcesAndFilesInAnyCase) {
    TGDIPPicture picture;
    picture.LoadFromURL(L"res://TinyGif");
    EXPECT_EQ(picture.Width(), 1);
    EXPECT_EQ(picture.GetPictureFormat(), pfNone) << "35 bytes and a padding byte";

    TGDIPPicture fromFile;
    fromFile.LoadFromURL(L"File://" + TempFile(L"gdip-url.png", Png()));
    EXPECT_EQ(fromFile.Width(), 16);

    TGDIPPicture untouched;
    untouched.LoadFromURL(L"http://127.0.0.1:1/picture.png");
    untouched.LoadFromURL(L"RES://NoSuchPicture");
    untouched.LoadFromURL(L"RES://");
    EXPECT_TRUE(untouched.Empty());
    EXPECT_THROW(untouched.LoadFromResourceID(::GetModuleHandleW(nullptr), 4711), EResNotFound);
}

TEST(GDIPPicture, NoMemoryForTheBytesSkipsThePaintButFailsTheMeasurement) {
    TGDIPPicture picture;
    Load(picture, Png());
    const AdvGlobalStream::TAllocatorScope noMemory(&NoBlock);
    TPaper paper(20, 20);
    EXPECT_NO_THROW(picture.Draw(paper.Canvas(), Rect(0, 0, 16, 12)));
    EXPECT_EQ(paper.Pixel(4, 2), clWhite);
    try {
        picture.GetImageSizes();
        FAIL() << "measuring without memory raised nothing";
    } catch (const AdvGlobalStream::EImageMemoryError& e) {
        EXPECT_EQ(e.Message(), L"Could not allocate memory for image");
    }
    auto stream = StreamOf(Png());
    EXPECT_THROW(picture.LoadFromStream(stream.get()), AdvGlobalStream::EImageMemoryError);
}

TEST(GDIPPicture, DrawsOnAGDIPlusGraphicsAtItsOwnSizeOrIntoARectangle) {
    TGDIPPicture picture;
    Load(picture, ClassLib::EncodePng(TwoBands(4, 4, OpaqueRed, OpaqueRed)));
    AdvGDIP::TGPBitmap target(20, 20, PixelFormat32bppARGB);
    {
        AdvGDIP::TGPGraphics graphics(&target);
        graphics.Clear(0xFFFFFFFF);
        picture.DrawImage(&graphics, 1, 1);
        picture.DrawImageRect(&graphics, 10, 10, 8, 8);
    }
    auto pixel = [&](int x, int y) {
        Gdiplus::ARGB c = 0;
        target.GetPixel(x, y, c);
        return c;
    };
    EXPECT_EQ(pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(pixel(5, 5), 0xFFFFFFFFu) << "its own 4 x 4 pixels";
    EXPECT_EQ(pixel(14, 14), 0xFFFF0000u);
    EXPECT_EQ(pixel(9, 9), 0xFFFFFFFFu);
}

// The decoded image is kept from one draw to the next: every way the picture's data
// changes must draw the new data, at its own size and stretched alike.
TEST(GDIPPicture, EveryChangeOfItsDataIsDrawn) {
    const TBytes red = EncodePng(TwoBands(16, 12, OpaqueRed, OpaqueRed));
    const TBytes lime = EncodePng(TwoBands(16, 12, OpaqueLime, OpaqueLime));
    const std::wstring limeFile = TempFile(L"gdip-cache-lime.png", lime);
    struct TCase {
        const char* Name;
        std::function<void(TGDIPPicture&)> Change;
        TColor Drawn;   // clNone: anything but red
    };
    const TCase cases[] = {
        {"loaded from a stream", [&](TGDIPPicture& p) { Load(p, lime); }, clLime},
        {"loaded from a file", [&](TGDIPPicture& p) { p.LoadFromFile(limeFile); }, clLime},
        {"loaded from a file address", [&](TGDIPPicture& p) { p.LoadFromURL(L"file://" + limeFile); }, clLime},
        {"loaded from a resource", [](TGDIPPicture& p) { p.LoadFromResourceName(::GetModuleHandleW(nullptr), L"TINYGIF"); },
         clNone},
        {"read from description data", [&](TGDIPPicture& p) {
             TGDIPPicture source;
             Load(source, lime);
             TMemoryStream data;
             source.WriteData(&data);
             data.SetPosition(0);
             p.ReadData(&data);
         }, clLime},
        {"assigned another picture", [&](TGDIPPicture& p) {
             TGDIPPicture source;
             Load(source, lime);
             p.Assign(&source);
         }, clLime},
        {"assigned a bitmap", [](TGDIPPicture& p) {
             TBitmap bitmap(16, 12, pf24bit);
             bitmap.Canvas()->Brush()->SetColor(clLime);
             bitmap.Canvas()->FillRect(Rect(0, 0, 16, 12));
             bitmap.Canvas()->SetPixels(0, 11, clBlack);   // its transparent colour, by the bottom-left pixel
             p.Assign(&bitmap);
         }, clLime},
        {"emptied", [](TGDIPPicture& p) { p.Assign(nullptr); }, clWhite},
    };
    for (const TCase& c : cases) {
        for (const TRect box : {Rect(0, 0, 16, 12), Rect(0, 0, 32, 24)}) {
            SCOPED_TRACE(testing::Message() << c.Name << ", drawn " << box.Width() << " wide");
            TGDIPPicture picture;
            Load(picture, red);
            TPaper before(32, 24);
            picture.Draw(before.Canvas(), box);
            ASSERT_EQ(before.Pixel(8, 6), clRed);
            c.Change(picture);
            TPaper after(32, 24);
            picture.Draw(after.Canvas(), box);
            if (c.Drawn == clNone)
                EXPECT_NE(after.Pixel(8, 6), clRed);
            else
                EXPECT_EQ(after.Pixel(8, 6), c.Drawn);
        }
    }
    ::DeleteFileW(limeFile.c_str());
}

// At its own size a picture is blended from its kept pixels: what shows is what GDI+
// draws from the bytes.
TEST(GDIPPicture, KeptPixelsDrawAsGDIPlusDraws) {
    TGDIPPicture picture;
    Load(picture, Png());   // red over half-transparent blue
    TPaper ours(16, 12);
    picture.Draw(ours.Canvas(), Rect(0, 0, 16, 12));
    picture.Draw(ours.Canvas(), Rect(0, 0, 16, 12));   // from what the first draw kept
    {
        const TBytes png = Png();
        const AdvGlobalStream::TOpenedImage opened =
            AdvGlobalStream::OpenImage(png.data(), png.size(), AdvGlobalStream::TNoMemory::Raise);
        ASSERT_TRUE(opened);
        TPaper direct(16, 12);
        AdvGDIP::TGPGraphics graphics(direct.Canvas()->Handle());
        graphics.DrawImage(opened.Image.get(), 0, 0, 16, 12);
        graphics.DrawImage(opened.Image.get(), 0, 0, 16, 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                const TColor a = ours.Pixel(x, y), b = direct.Pixel(x, y);
                for (int shift : {0, 8, 16}) EXPECT_NEAR(int((a >> shift) & 0xFF), int((b >> shift) & 0xFF), 2);
            }
    }
}
