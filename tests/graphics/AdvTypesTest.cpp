#include "graphics/AdvTypes.h"

#include <gtest/gtest.h>

#include <cmath>

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
