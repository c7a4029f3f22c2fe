#include <gtest/gtest.h>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvTypes.h"
#include "graphics/PictureContainer.h"
#include "tests/graphics/PictureFixtures.h"

using namespace AdvGraphics;
using namespace AdvGraphicsTypes;
using AdvTypes::RectF;
using ClassLib::TColor;
using ClassLib::TPicture;
using ClassLib::TRect;

namespace {

constexpr TColor Paper = ClassLib::clWhite;

// A picture of one colour, or of a left and a right half.
std::unique_ptr<TPicture> Solid(int width, int height, TColor left, TColor right) {
    ClassLib::TBitmap bitmap(width, height, ClassLib::pf32bit);
    bitmap.Canvas()->Brush()->SetColor(left);
    bitmap.Canvas()->FillRect(TRect{0, 0, width / 2, height});
    bitmap.Canvas()->Brush()->SetColor(right);
    bitmap.Canvas()->FillRect(TRect{width / 2, 0, width, height});
    auto picture = std::make_unique<TPicture>();
    picture->SetGraphic(&bitmap);
    return picture;
}

std::unique_ptr<TAdvGraphics> OnWhite(bool native) {
    std::unique_ptr<TAdvGraphics> g = TAdvGraphics::CreateBitmapCanvas(60, 60, native);
    g->Bitmap()->Canvas()->Brush()->SetColor(Paper);
    g->Bitmap()->Canvas()->FillRect(TRect{0, 0, 60, 60});
    g->BeginScene();
    return g;
}

TColor At(TAdvGraphics& g, int x, int y) {
    g.EndScene();
    return g.Bitmap()->Canvas()->Pixels(x, y);
}

const char* ContextName(bool native) { return native ? "GDI+" : "canvas"; }

}  // namespace

TEST(AdvGraphicsPictures, AspectSizeAndDrawRectangle) {
    struct Case {
        int w, h;
        bool aspect, stretch, center, crop;
        TRectF expected;  // in the 40 x 40 box at (100, 200)
    } cases[] = {
        {100, 50, true, false, true, false, RectF(100, 210, 140, 230)},  // fitted, centred
        {20, 20, true, false, false, false, RectF(100, 200, 120, 220)},  // smaller: own size, top-left
        {20, 20, true, false, true, false, RectF(110, 210, 130, 230)},   // smaller, centred
        {20, 10, true, true, false, false, RectF(100, 200, 140, 220)},   // stretched, ratio kept
        {50, 100, true, false, true, false, RectF(110, 200, 130, 240)},  // tall picture
        {20, 10, false, true, false, false, RectF(100, 200, 140, 240)},  // stretch: the box
        {20, 10, false, false, false, false, RectF(100, 200, 120, 210)}, // own size
        {60, 60, false, false, false, true, RectF(90, 190, 150, 250)},   // cropped: centred, own size
        {0, 10, true, false, true, false, RectF(120, 220, 120, 220)},    // empty picture: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " aspect " << c.aspect << " stretch " << c.stretch
                                        << " center " << c.center << " crop " << c.crop);
        TPicture picture;
        if (c.w > 0) picture.Assign(Solid(c.w, c.h, 0, 0).get());
        EXPECT_EQ(TAdvGraphics::GetBitmapDrawRectangle(RectF(100, 200, 140, 240), &picture, c.aspect, c.stretch,
                                                       c.center, c.crop),
                  c.expected);
    }
    EXPECT_EQ(TAdvGraphics::GetBitmapDrawRectangle(RectF(0, 0, 40, 40), nullptr, true, false, true, false), TRectF{});
    // The integer form rounds: 30 x 20 fitted into 25 x 25 is 25 x 16.67, centred 4.17 down.
    std::unique_ptr<TPicture> wide = Solid(30, 20, 0, 0);
    EXPECT_EQ(TAdvGraphics::GetBitmapDrawRectangle(TRect{0, 0, 25, 25}, wide.get(), true, false, true, false),
              (TRect{0, 4, 25, 21}));
    float w = 1, h = 1;
    TAdvGraphics::GetAspectSize(w, h, 10, 10, -5, 10, true, true, false);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(AdvGraphicsPictures, BitmapAndPartLandWhereAskedOnBothContexts) {
    std::unique_ptr<TPicture> halves = Solid(20, 10, ClassLib::clRed, ClassLib::clBlue);
    for (bool native : {false, true}) {
        SCOPED_TRACE(ContextName(native));
        std::unique_ptr<TAdvGraphics> g = OnWhite(native);
        g->DrawBitmap(5, 5, halves.get());
        EXPECT_EQ(At(*g, 7, 10), ClassLib::clRed);
        EXPECT_EQ(At(*g, 22, 10), ClassLib::clBlue);
        EXPECT_EQ(At(*g, 27, 10), Paper);

        // The right half alone, stretched over a 20 x 20 box: all blue.
        g = OnWhite(native);
        g->DrawBitmapPart(RectF(10, 0, 20, 10), RectF(30, 30, 50, 50), halves.get(), false, true, false, false);
        EXPECT_EQ(At(*g, 31, 31), ClassLib::clBlue);
        EXPECT_EQ(At(*g, 48, 48), ClassLib::clBlue);
        EXPECT_EQ(At(*g, 29, 40), Paper);

        std::unique_ptr<AdvTypes::TAdvBitmap> cut =
            g->DrawBitmapPartSync(RectF(5, 0, 15, 10), RectF(0, 0, 1, 1), halves.get());
        ASSERT_NE(cut, nullptr);
        EXPECT_EQ(cut->Width(), 10);
        EXPECT_EQ(cut->Bitmap()->Canvas()->Pixels(1, 5), ClassLib::clRed);
        EXPECT_EQ(cut->Bitmap()->Canvas()->Pixels(8, 5), ClassLib::clBlue);

        // Empty rectangles and no picture draw nothing and cut nothing.
        g = OnWhite(native);
        g->DrawBitmapPart(RectF(0, 0, 0, 10), RectF(0, 0, 60, 60), halves.get());
        g->DrawBitmapPart(RectF(0, 0, 10, 10), RectF(0, 0, 60, 0), halves.get());
        g->DrawBitmap(RectF(0, 0, 60, 60), static_cast<const TPicture*>(nullptr));
        EXPECT_EQ(At(*g, 5, 5), Paper);
        EXPECT_EQ(g->DrawBitmapPartSync(RectF(0, 0, 10, 0), RectF(0, 0, 5, 5), halves.get()), nullptr);
        EXPECT_EQ(g->DrawBitmapPartSync(RectF(0, 0, 10, 10), RectF(0, 0, 5, 5), nullptr), nullptr);
    }
}

TEST(AdvGraphicsPictures, ContainerLooksForTheScaledNameFirst) {
    PictureContainer::TPictureContainer container(nullptr);
    auto add = [&](const wchar_t* name, const ClassLib::TBytes& bytes) {
        PictureContainer::TPictureItem* item = container.Items()->Add();
        item->SetName(name);
        item->Picture()->LoadFromStream(PictureFixtures::StreamOf(bytes).get());
    };
    add(L"logo_1,5", PictureFixtures::Png());
    add(L"logo", PictureFixtures::TinyGif());
    const int scaledWidth = container.FindPicture(L"logo_1,5")->Width();
    const int plainWidth = container.FindPicture(L"logo")->Width();
    ASSERT_NE(scaledWidth, plainWidth);
    {
        ClassLib::TFormatSettingsScope comma(L',', L'.');
        TPicture* found = TAdvGraphics::GetBitmapFromPictureContainer(&container, L"logo", true, 1.5f);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->Width(), scaledWidth);
    }
    {
        ClassLib::TFormatSettingsScope point(L'.', L',');
        TPicture* found = TAdvGraphics::GetBitmapFromPictureContainer(&container, L"logo", true, 1.5f);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->Width(), plainWidth);  // "logo_1.5" is not there
    }
    EXPECT_EQ(TAdvGraphics::GetBitmapFromPictureContainer(&container, L"", true, 1), nullptr);
    EXPECT_EQ(TAdvGraphics::GetBitmapFromPictureContainer(nullptr, L"logo"), nullptr);

    // A scaled item without its own picture takes the container's by its name.
    AdvTypes::TAdvScaledBitmaps bitmaps(nullptr);
    bitmaps.AddBitmapName(L"logo", 1);
    TPicture* scaled = TAdvGraphics::GetScaledBitmap(&bitmaps, 1, &container);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->Width(), plainWidth);
    EXPECT_EQ(TAdvGraphics::GetScaledBitmap(&bitmaps, 1, nullptr), nullptr);
    EXPECT_EQ(TAdvGraphics::GetScaledBitmap(nullptr, 1, &container), nullptr);
}

TEST(AdvGraphicsElements, CheckBoxAndRadioButtonStatesOnBothContexts) {
    const TColor face = LightenColor(0xD3D3D3, 85);
    struct Case {
        bool checked, focused, enabled;
        TColor border, fill, centre;
    } cases[] = {
        {false, false, true, 0, face, face},
        {true, false, true, 0, face, 0},
        {true, true, true, 0xB48246, face, 0xB48246},
        {true, false, false, 0xA9A9A9, 0xD3D3D3, 0xA9A9A9},  // a grey cross
        {false, false, false, 0xA9A9A9, 0xD3D3D3, 0xD3D3D3},
    };
    for (bool native : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << ContextName(native) << " checked " << c.checked << " focused "
                                            << c.focused << " enabled " << c.enabled);
            std::unique_ptr<TAdvGraphics> g = OnWhite(native);
            g->DrawCheckBox(RectF(10, 10, 41, 41), c.checked, c.focused, c.enabled);
            EXPECT_EQ(At(*g, 11, 25), c.border);
            EXPECT_EQ(At(*g, 14, 25), c.fill);   // beside the cross
            EXPECT_EQ(At(*g, 25, 25), c.centre);  // where its arms meet

            g = OnWhite(native);
            g->Context()->SetAntiAliasing(false);
            g->DrawRadioButton(RectF(10, 10, 41, 41), c.checked, c.focused, c.enabled);
            EXPECT_EQ(At(*g, 14, 25), c.fill);
            EXPECT_EQ(At(*g, 25, 25), c.centre);
            EXPECT_EQ(At(*g, 10, 10), Paper);
        }
}

TEST(AdvGraphicsElements, ButtonFacesAndGlyphs) {
    for (bool native : {false, true}) {
        SCOPED_TRACE(ContextName(native));
        std::unique_ptr<TAdvGraphics> g = OnWhite(native);
        g->DrawButton(RectF(0, 0, 30, 30), true, false, true);
        EXPECT_EQ(g->Fill()->Kind(), gfkNone);
        // The caller's next rectangle paints no area until it sets the fill again.
        g->Stroke()->SetColor(ClassLib::clRed);
        g->DrawRectangle(RectF(35, 35, 55, 55));
        EXPECT_EQ(At(*g, 0, 15), TColor(0xA9A9A9));
        EXPECT_EQ(At(*g, 1, 15), LightenColor(0xA9A9A9, 40));  // pressed: a lighter inner frame
        EXPECT_EQ(At(*g, 15, 15), TColor(0xE1E1E1));
        EXPECT_EQ(At(*g, 45, 45), Paper);
        EXPECT_EQ(At(*g, 35, 45), ClassLib::clRed);

        // The focused face; the close glyph from lines in the style's glyph colour.
        TDefaultGraphicColors saved = DefaultGraphicColors();
        TAdvGraphics::SetDefaultGraphicColors();
        DefaultGraphicColors().GlyphColor = ClassLib::clRed;
        g = OnWhite(native);
        g->DrawCloseButton(RectF(10, 10, 40, 40), false, true, true, true, 1);
        DefaultGraphicColors() = saved;
        EXPECT_EQ(At(*g, 10, 12), TColor(0xB17F3C));
        EXPECT_EQ(At(*g, 12, 12), TColor(0xFBF1E5));
        // The 16-pixel glyph is centred: its diagonals cross at (25, 25).
        EXPECT_EQ(At(*g, 25, 25), ClassLib::clRed);
        EXPECT_EQ(At(*g, 25, 20), TColor(0xFBF1E5));  // white of the glyph is see-through

        // Without the style the glyph is a resource picture; absent here, so only the face.
        g = OnWhite(native);
        g->DrawCloseButton(RectF(10, 10, 40, 40));
        g->DrawExpanderButton(TRect{0, 45, 15, 60}, gesExpanded);
        g->DrawDropDownButton(RectF(20, 45, 60, 60));
        EXPECT_EQ(At(*g, 25, 25), TColor(0xE1E1E1));
    }
}
