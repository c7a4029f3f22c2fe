#include "graphics/AdvTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/PictureFixtures.h"
#include "support/PublishedDefaults.h"

using namespace AdvTypes;
using namespace ClassLib;
using namespace PictureFixtures;

namespace {

TBytes Saved(TGraphic& graphic) { return TestSupport::SavedBytes(graphic); }

}  // namespace

namespace AdvTypes {
void PrintTo(const TRectF& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
}  // namespace AdvTypes

TEST(AdvTypesGeometry, RectangleRoutines) {
    struct TCase {
        const char* Name;
        TRectF Result;
        TRectF Expected;
    };
    float scale = 0;
    const TRectF fitted = FitRectF(RectF(0, 0, 200, 100), RectF(10, 10, 60, 60), scale);
    float noScale = 0;
    const TRectF unfitted = FitRectF(RectF(1, 2, 3, 4), RectF(0, 0, 0, 5), noScale);
    const TCase cases[] = {
        {"snap: corner truncated, size rounded", SnapRectF(RectF(0.3f, 0.3f, 10.6f, 10.6f), false, 1), RectF(0, 0, 10, 10)},
        {"snap with the half pixel", SnapRectF(RectF(0.3f, 0.3f, 10.6f, 10.6f), true, 1), RectF(0.5f, 0.5f, 10.5f, 10.5f)},
        {"snap at scale 2", SnapRectF(RectF(0.3f, 0.8f, 5.3f, 5.8f), false, 2), RectF(0, 0.5f, 5, 5.5f)},
        {"snap: scale 0 counts as 1", SnapRectF(RectF(1.7f, 0, 4.2f, 2), false, 0), RectF(1, 0, 3, 2)},
        {"intersection", IntersectRectF(RectF(0, 0, 10, 10), RectF(5, -5, 20, 8)), RectF(5, 0, 10, 8)},
        {"no intersection is all zero", IntersectRectF(RectF(0, 0, 10, 10), RectF(12, 0, 20, 8)), RectF(0, 0, 0, 0)},
        {"touching is no intersection", IntersectRectF(RectF(0, 0, 10, 10), RectF(10, 0, 20, 8)), RectF(0, 0, 0, 0)},
        {"centred on whole pixels, halves to even", CenterRectF(RectF(3, 3, 8, 8), RectF(10, 20, 20, 30)), RectF(12, 22, 17, 27)},
        {"fitted keeps the aspect, centred with 12.5 to even", fitted, RectF(10, 22, 60, 47)},
        {"nothing to fit into", unfitted, RectF(1, 2, 3, 4)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Result, c.Expected);
    }
    EXPECT_FLOAT_EQ(scale, 4);
    EXPECT_FLOAT_EQ(noScale, 1);

    TRectF r = RectF(0, 0, 4, 2);
    OffsetRectF(r, 1, 2);
    InflateRectF(r, 1, 0.5f);
    EXPECT_EQ(r, RectF(0, 1.5f, 6, 4.5f));
    EXPECT_FLOAT_EQ(RectWidthF(r), 6);
    EXPECT_FLOAT_EQ(RectHeightF(r), 3);
    EXPECT_TRUE(PtInRectF(r, PointF(0, 1.5f)));
    EXPECT_FALSE(PtInRectF(r, PointF(6, 2)));
    EXPECT_TRUE(RectsIntersect(RectF(0, 0, 2, 2), RectF(1, 1, 3, 3)));
    EXPECT_FALSE(RectsIntersect(RectF(0, 0, 2, 2), RectF(2, 0, 3, 3)));
    EXPECT_FLOAT_EQ(VectorLength(PointF(3, -4)), 5);
    EXPECT_EQ(RectFToRect(RectF(0.5f, 1.5f, 2.5f, 3.6f)), Rect(0, 2, 2, 4));
    EXPECT_EQ(RectToRectF(Rect(1, 2, 3, 4)), RectF(1, 2, 3, 4));
    EXPECT_EQ(PointToPointF(Point(5, -6)), PointF(5, -6));
    EXPECT_EQ(PointFToSize(PointF(2.5f, 3.5f)), Size(2, 4));
}

TEST(AdvTypesGeometry, EmptinessAllowsFloatNoise) {
    struct TCase {
        const char* Name;
        TRectF Rect;
        bool Empty;
    };
    const TCase cases[] = {
        {"plain", RectF(0, 0, 1, 1), false},
        {"inverted", RectF(2, 0, 1, 1), true},
        {"zero width", RectF(5, 0, 5, 1), true},
        {"width below 1E-4", RectF(0, 0, 0.00005f, 1), true},
        {"width just above 1E-4", RectF(0, 0, 0.0002f, 1), false},
        {"width within 1E-4 of a large value", RectF(100000, 0, 100005, 1), true},
        {"height within the tolerance", RectF(0, 1000, 10, 1000.05f), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(IsRectEmptyF(c.Rect), c.Empty);
    }
}

TEST(AdvTypesGeometry, NumberCharactersOfEveryScript) {
    for (wchar_t c : {L'0', L'9', L'\x0663' /* Arabic-Indic three */, L'\x2167' /* Roman eight */,
                      L'\x00BD' /* one half */, L'\x00B2', L'\xFF15' /* fullwidth five */})
        EXPECT_TRUE(IsNumberChar(c)) << int(c);
    for (wchar_t c : {L'a', L'/', L':', L' ', L'\x00E9', L'\x4E00'}) EXPECT_FALSE(IsNumberChar(c)) << int(c);
}

TEST(AdvSVGBitmap, KeepsItsBytesAndDescribesThemWithALength) {
    const TFakeSVGScope importer;
    TAdvSVGBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Height(), 0);

    const TBytes svg = PictureFixtures::Svg(24, 12);
    TAdvSVGBitmap picture;
    int changes = 0;
    picture.SetOnChange([&](TObject*) { ++changes; });
    picture.LoadFromStream(StreamOf(svg).get());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(picture.HasSVG());
    EXPECT_EQ(picture.Width(), 24);
    EXPECT_EQ(picture.Height(), 12);
    EXPECT_EQ(Saved(picture), svg);

    TMemoryStream data;
    picture.WriteData(&data);
    ASSERT_EQ(data.Size(), std::int64_t(svg.size() + 4));
    EXPECT_EQ(TBytes(data.Bytes().begin() + 4, data.Bytes().end()), svg);
    data.SetPosition(0);
    TAdvSVGBitmap read;
    read.ReadData(&data);
    EXPECT_EQ(Saved(read), svg);
    EXPECT_EQ(read.Width(), 24);

    // Not SVG for the importer: nothing raises, the bytes stay, the picture is empty.
    const TBytes broken = {'<', 'p', '>'};
    picture.LoadFromStream(StreamOf(broken).get());
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(Saved(picture), broken);
    EXPECT_EQ(changes, 2);

    picture.Clear();
    EXPECT_TRUE(Saved(picture).empty());
}

TEST(AdvSVGBitmap, CopiesOnlyBetweenSVGPictures) {
    const TFakeSVGScope importer;
    TAdvSVGBitmap picture;
    picture.LoadFromStream(StreamOf(PictureFixtures::Svg(5, 6)).get());

    TBitmap bitmap(3, 3);
    picture.Assign(&bitmap);
    EXPECT_EQ(picture.Width(), 5) << "from a TBitmap: nothing";

    TAdvSVGBitmap copy;
    copy.Assign(&picture);
    EXPECT_EQ(Saved(copy), PictureFixtures::Svg(5, 6));
    EXPECT_EQ(copy.Height(), 6);

    TPicture holder;   // a holder copies the graphic through Assign
    holder.SetGraphic(&picture);
    EXPECT_EQ(holder.Width(), 5);
}

TEST(AdvSVGBitmap, OnlyXMLTextCanLoad) {
    struct TCase {
        const char* Name;
        TBytes Bytes;
        bool Svg;
    };
    const TCase cases[] = {
        {"svg", PictureFixtures::Svg(1, 1), true},
        {"xml declaration after blanks", {' ', '\n', '<', '?', 'x', 'm', 'l'}, true},
        {"png", Png(), false},
        {"text", {'s', 'v', 'g'}, false},
        {"nothing", {}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto stream = StreamOf(c.Bytes);
        stream->SetPosition(0);
        EXPECT_EQ(TAdvSVGBitmap::CanLoadFromStream(stream.get()), c.Svg);
        EXPECT_EQ(stream->Position(), 0);
    }
}

TEST(AdvBitmap, KnowsWhetherItHoldsSVG) {
    const TFakeSVGScope importer;
    TAdvBitmap bitmap;
    EXPECT_FALSE(bitmap.HasSVG());
    EXPECT_EQ(bitmap.GetSVG(), nullptr);
    EXPECT_TRUE(IsPictureEmpty(&bitmap));
    EXPECT_TRUE(IsPictureEmpty(nullptr));

    TAdvSVGBitmap svg;
    svg.LoadFromStream(StreamOf(PictureFixtures::Svg(7, 7)).get());
    bitmap.SetGraphic(&svg);
    EXPECT_TRUE(bitmap.HasSVG());
    ASSERT_NE(bitmap.GetSVG(), nullptr);
    EXPECT_FLOAT_EQ(bitmap.GetSVG()->ViewRect().Width(), 7);
    EXPECT_FALSE(IsPictureEmpty(&bitmap));

    const std::unique_ptr<TAdvBitmap> gif = TAdvBitmap::CreateFromResource(L"TINYGIF");
    EXPECT_EQ(gif->Width(), 1);
    EXPECT_FALSE(gif->HasSVG());
    const std::unique_ptr<TAdvBitmap> missing = TAdvBitmap::CreateFromResource(L"NOSUCHPICTURE");
    EXPECT_EQ(missing->Graphic(), nullptr);
}

TEST(AdvScaledBitmaps, ScaleLookupFallsBackToTheLargest) {
    TAdvScaledBitmaps bitmaps(nullptr);
    EXPECT_EQ(bitmaps.GetItemByScale(1), nullptr);
    TAdvBitmap one;
    one.LoadFromStream(StreamOf(TinyGif()).get());
    TAdvScaledBitmap* normal = bitmaps.AddBitmap(&one, 1.0f);
    TAdvScaledBitmap* large = bitmaps.AddBitmapName(L"large", 2.0f);
    EXPECT_EQ(bitmaps.GetItemByScale(1.0f), normal);
    EXPECT_EQ(bitmaps.GetItemByScale(1.5f), large);
    EXPECT_EQ(normal->Bitmap()->Width(), 1);

    int changes = 0;
    bitmaps.SetOnChange([&](TObject*) { ++changes; });
    bitmaps.SetBitmap(1.5f, &one);   // overwrites the 2.0 item's bitmap; adds nothing
    EXPECT_EQ(bitmaps.Count(), 2);
    EXPECT_EQ(large->Bitmap()->Width(), 1);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(bitmaps.Bitmap(2.0f), large->Bitmap());

    TAdvScaledBitmaps empty(nullptr);
    empty.SetBitmap(1.25f, &one);
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_FLOAT_EQ(empty.Items(0)->Scale(), 1.25f);

    TAdvScaledBitmap copy(nullptr);
    copy.Assign(large);
    EXPECT_EQ(copy.BitmapName(), L"large");
    EXPECT_FLOAT_EQ(copy.Scale(), 2.0f);
    EXPECT_EQ(copy.Bitmap()->Width(), 1);
    large->SetBitmap(large->Bitmap());   // its own bitmap: nothing happens
    EXPECT_EQ(large->Bitmap()->Width(), 1);
}

TEST(AdvScaledBitmaps, PublishedDefaultsMatchTheConstructor) {
    TAdvScaledBitmap item(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&item), 0);
}

namespace {

std::wstring TempFile(const wchar_t* name, const TBytes& bytes) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    StreamOf(bytes)->SaveToFile(path);
    return path;
}

TBytes FileBytes(const std::wstring& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return stream.Bytes();
}

// The format as the program's start-up leaves it, whatever a test did on the way.
struct TSVGFormatScope {
    TSVGFormatScope() { RegisterSVGFormat(); }
    ~TSVGFormatScope() { RegisterSVGFormat(); }
};

}  // namespace

TEST(SVGFormat, RegisteredOnceUnderItsExtension) {
    const TSVGFormatScope format;
    RegisterSVGFormat();   // a second start-up step adds nothing
    std::vector<TFileFormat> svg;
    for (const TFileFormat& f : TPicture::FileFormats())
        if (f.GraphicClass == &TAdvSVGBitmap::ClassData()) svg.push_back(f);
    ASSERT_EQ(svg.size(), 1u);
    EXPECT_EQ(svg[0].Extension, L"svg");
    EXPECT_EQ(svg[0].Description, L"Scalable Vector Graphics");
    EXPECT_EQ(TPicture::FindGraphicClassByName(L"TAdvSVGBitmap"), &TAdvSVGBitmap::ClassData());

    UnregisterSVGFormat();
    EXPECT_EQ(TPicture::FindGraphicClassByName(L"TAdvSVGBitmap"), nullptr);
    TPicture picture;
    EXPECT_THROW(picture.LoadFromStream(StreamOf(PictureFixtures::Svg(3, 3)).get()), EInvalidGraphic);
}

TEST(SVGFormat, PictureLoadsSavesAndDescribesSVGFiles) {
    const TSVGFormatScope format;
    const TFakeSVGScope importer;
    // A byte-order mark, line breaks of both kinds and UTF-8 text: all saved as they came.
    const std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<svg viewBox=\"0 0 30 20\">\n"
                             "<text>\xC3\xA4</text></svg>\r\n";
    const TBytes svg(text.begin(), text.end());
    const std::wstring file = TempFile(L"svg-format-x.svg", svg);

    TPicture picture;
    picture.LoadFromFile(file);
    ASSERT_NE(dynamic_cast<TAdvSVGBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(picture.Height(), 20);

    const std::wstring copy = TempFile(L"svg-format-copy.svg", {});
    picture.SaveToFile(copy);
    EXPECT_EQ(FileBytes(copy), svg);

    // Form data: the class name, then a 32-bit length and the bytes.
    TMemoryStream data;
    picture.WriteData(&data);
    const TBytes& written = data.Bytes();
    const std::string name = "TAdvSVGBitmap";
    ASSERT_EQ(written.size(), 1 + name.size() + 4 + svg.size());
    EXPECT_EQ(written[0], name.size());
    EXPECT_EQ(std::string(written.begin() + 1, written.begin() + 1 + std::ptrdiff_t(name.size())), name);
    std::uint32_t length = 0;
    std::memcpy(&length, written.data() + 1 + name.size(), 4);
    EXPECT_EQ(length, svg.size());
    EXPECT_EQ(TBytes(written.end() - std::ptrdiff_t(svg.size()), written.end()), svg);
    data.SetPosition(0);
    TPicture read;
    read.ReadData(&data);
    ASSERT_NE(dynamic_cast<TAdvSVGBitmap*>(read.Graphic()), nullptr);
    EXPECT_EQ(read.Width(), 30);
    EXPECT_EQ(Saved(*read.Graphic()), svg);
    ::DeleteFileW(copy.c_str());
    ::DeleteFileW(file.c_str());
}

TEST(SVGFormat, RasterSignaturesComeFirstAndUnknownBytesRaise) {
    const TSVGFormatScope format;
    const TFakeSVGScope importer;
    TPicture picture;
    const std::wstring png = TempFile(L"svg-format-png.svg", Png());
    picture.LoadFromFile(png);
    EXPECT_EQ(dynamic_cast<TAdvSVGBitmap*>(picture.Graphic()), nullptr) << "a PNG, whatever its name";
    EXPECT_EQ(picture.Width(), 16);

    struct TCase { const char* Name; TBytes Bytes; };
    const TCase cases[] = {
        {"text", {'s', 'v', 'g'}},
        {"binary", {0x00, 0x01, 0x02, 0x03, 0x04}},
        {"UTF-16 text", {0xFF, 0xFE, '<', 0x00, 's', 0x00}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_THROW(picture.LoadFromStream(StreamOf(c.Bytes).get()), EInvalidGraphic);
        // By the extension the SVG picture is tried, and refuses what is no XML text.
        const std::wstring junk = TempFile(L"svg-format-junk.svg", c.Bytes);
        EXPECT_THROW(picture.LoadFromFile(junk), EInvalidGraphic);
        EXPECT_EQ(picture.Width(), 16) << "the PNG stays";
        ::DeleteFileW(junk.c_str());
    }
    ::DeleteFileW(png.c_str());
}

// SVG that the importer cannot read raises through every way a picture loads it (file,
// stream, description data), and the picture keeps what it held.
TEST(SVGFormat, UnreadableSVGRaisesAndKeepsThePicture) {
    const TSVGFormatScope format;
    std::string deep = "<svg viewBox=\"0 0 9 9\">";
    for (int i = 0; i < 300; ++i) deep += "<g>";
    for (int i = 0; i < 300; ++i) deep += "</g>";
    deep += "</svg>";
    std::string laughs = "<!DOCTYPE svg [<!ENTITY a \"" + std::string(100000, 'a') + "\">]><svg>";
    for (int i = 0; i < 100; ++i) laughs += "&a;";
    laughs += "</svg>";
    struct TCase { const char* Name; std::string Text; };
    const TCase cases[] = {
        {"not well-formed", "<svg viewBox=\"0 0 9 9\"><rect width=\"5\""},
        {"nothing at all", ""},
        {"entity expansion", laughs},
        {"external entity", "<!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/hostname\">]><svg>&e;</svg>"},
        {"nested 300 deep", deep},
        {"path data cut short", "<svg viewBox=\"0 0 9 9\"><path d=\"M1 2 L3\"/></svg>"},
    };
    const TBytes good = Svg(30, 20);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBytes bad(c.Text.begin(), c.Text.end());
        const auto expectKept = [&good](const TGraphic* graphic) {
            ASSERT_NE(dynamic_cast<const TAdvSVGBitmap*>(graphic), nullptr);
            EXPECT_EQ(graphic->Width(), 30);
            EXPECT_EQ(Saved(*const_cast<TGraphic*>(graphic)), good);
        };

        TPicture picture;
        picture.LoadFromStream(StreamOf(good).get());
        const std::wstring file = TempFile(L"svg-format-unreadable.svg", bad);
        try {
            picture.LoadFromFile(file);
            ADD_FAILURE() << "the file loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(L"svg-format-unreadable.svg"), std::wstring::npos) << e.Message();
        }
        ::DeleteFileW(file.c_str());
        expectKept(picture.Graphic());
        EXPECT_THROW(picture.LoadFromStream(StreamOf(bad).get()), EInvalidGraphic);
        expectKept(picture.Graphic());

        TAdvSVGBitmap svg;
        svg.LoadFromStream(StreamOf(good).get());
        EXPECT_THROW(svg.LoadFromStream(StreamOf(bad).get()), EInvalidGraphic);
        expectKept(&svg);
        TMemoryStream data;   // the description data: a 32-bit count, then the text
        const std::uint32_t count = std::uint32_t(bad.size());
        data.WriteBuffer(&count, 4);
        if (!bad.empty()) data.WriteBuffer(bad.data(), int(bad.size()));
        data.SetPosition(0);
        EXPECT_THROW(svg.ReadData(&data), EInvalidGraphic);
        expectKept(&svg);
    }
}
