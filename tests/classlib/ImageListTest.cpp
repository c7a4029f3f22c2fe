#include "classlib/ImageList.h"

#include <gtest/gtest.h>

using namespace ClassLib;

namespace {

// A strip of `count` 8 x 8 images on fuchsia, image n with a 4 x 4 square of colours[n].
std::unique_ptr<TBitmap> Strip(std::initializer_list<TColor> colours) {
    auto strip = std::make_unique<TBitmap>(8 * int(colours.size()), 8, pf24bit);
    strip->Canvas()->Brush()->SetColor(clFuchsia);
    strip->Canvas()->FillRect(Rect(0, 0, strip->Width(), 8));
    int n = 0;
    for (TColor colour : colours) {
        strip->Canvas()->Brush()->SetColor(colour);
        strip->Canvas()->FillRect(Bounds(n++ * 8 + 2, 2, 4, 4));
    }
    return strip;
}

std::unique_ptr<TBitmap> WhiteTarget() {
    auto target = std::make_unique<TBitmap>(8, 8, pf24bit);
    target->Canvas()->Brush()->SetColor(clWhite);
    target->Canvas()->FillRect(Rect(0, 0, 8, 8));
    return target;
}

}  // namespace

TEST(ImageList, MaskedStripAddsOneImagePerWidthAndDrawsWithTransparency) {
    TImageList list(nullptr);
    list.SetSize(8, 8);
    EXPECT_EQ(list.AddMasked(Strip({clRed, clBlue, clGreen}).get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.AddMasked(Strip({clNavy}).get(), clFuchsia), 3);

    auto target = WhiteTarget();
    list.Draw(target->Canvas(), 0, 0, 1);
    EXPECT_EQ(target->Canvas()->Pixels(3, 3), clBlue);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clWhite);  // the mask colour stays out

    list.Draw(target->Canvas(), 0, 0, 0, false);
    const TColor grey = target->Canvas()->Pixels(3, 3);
    EXPECT_EQ(ColorRed(grey), ColorGreen(grey));
    EXPECT_EQ(ColorGreen(grey), ColorBlue(grey));
    EXPECT_GT(ColorRed(grey), 64);  // lifted towards white
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clWhite);

    TBitmap copy;
    ASSERT_TRUE(list.GetBitmap(2, &copy));
    EXPECT_EQ(copy.Width(), 8);
    auto shown = WhiteTarget();
    shown->Canvas()->Draw(0, 0, &copy);
    EXPECT_EQ(shown->Canvas()->Pixels(3, 3), clGreen);
    EXPECT_EQ(shown->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_FALSE(list.GetBitmap(4, &copy));
}

TEST(ImageList, ImageWithMaskBitmap) {
    TImageList list(nullptr);
    list.SetSize(8, 8);
    auto image = Strip({clRed});
    TBitmap mask(8, 8, pf1bit);
    mask.Canvas()->Brush()->SetColor(clWhite);  // white: transparent
    mask.Canvas()->FillRect(Rect(0, 0, 8, 8));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 8, 4));  // only the top half shows
    list.Add(image.get(), &mask);
    auto target = WhiteTarget();
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(target->Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(3, 5), clWhite);
}

TEST(ImageList, EveryChangeIsReportedToEveryLink) {
    TImageList list(nullptr);
    list.SetSize(8, 8);
    int events = 0, linked = 0;
    list.SetOnChange([&events](TObject*) { ++events; });
    TChangeLink link;
    link.SetOnChange([&linked](TObject*) { ++linked; });
    list.RegisterChanges(&link);
    EXPECT_EQ(link.Sender(), &list);

    list.AddMasked(Strip({clRed, clBlue}).get(), clFuchsia);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    list.BeginUpdate();
    list.Clear();
    list.AddMasked(Strip({clRed}).get(), clFuchsia);
    list.EndUpdate();  // one report for the whole update
    list.SetSize(16, 16);  // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(events, 4);
    EXPECT_EQ(linked, 4);

    list.UnRegisterChanges(&link);
    list.AddMasked(Strip({clRed}).get(), clFuchsia);
    EXPECT_EQ(linked, 4);
    EXPECT_THROW(list.Delete(5), EInvalidOperation);
}

TEST(ImageList, LinksForgetAListThatIsFreed) {
    TChangeLink link;
    {
        TImageList list(nullptr);
        list.RegisterChanges(&link);
    }
    EXPECT_EQ(link.Sender(), nullptr);
}
