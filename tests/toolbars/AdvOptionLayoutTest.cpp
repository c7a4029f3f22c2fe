// The drop-down's rows and entries, the check list's items and where windows open, on
// plain sizes.
#include "toolbars/AdvOptionLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace AdvToolBar;
using ClassLib::TPoint;
using ClassLib::TRect;
using ClassLib::TSize;

TEST(OptionLayout, EntriesShareOneWidthOfAtLeast130) {
    struct TCase { const char* Tag; int AddRemove; int Options; double Scale; int Width; };
    const TCase cases[] = {
        {"short captions", 100, 40, 1.0, 130},
        {"empty caption", 0, -1, 1.0, 130},
        {"neither shown", -1, -1, 1.0, 130},
        {"long add-or-remove caption", 120, 40, 1.0, 135},
        {"long options caption wins", 100, 140, 1.0, 155},
        {"arrow room scales", 120, -1, 1.5, 142},  // 120 + 22.5 rounded half to even
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        EXPECT_EQ(SelectorEntryWidth(c.AddRemove, c.Options, c.Scale), c.Width);
    }
}

TEST(OptionLayout, ControlsFillRowsAsWideAsTheWidestElement) {
    const std::vector<TSize> six(6, TSize{23, 22});
    TSelectorParams params;
    const TSelectorLayout layout = ArrangeSelector(six, params);
    // Five per row: the sixth would start at 118, and 130 - 118 < 23.
    const std::vector<TPoint> places{{3, 3}, {26, 3}, {49, 3}, {72, 3}, {95, 3}, {3, 25}};
    EXPECT_EQ(layout.Places, places);
    EXPECT_EQ(layout.Width, 136);
    // Two rows, separator room, two entries of 20, bottom margin.
    EXPECT_EQ(layout.Height, 3 + 44 + 8 + 40 + 3);
    EXPECT_EQ(layout.AddRemoveRect, (TRect{3, 75, 133, 95}));
    EXPECT_EQ(layout.OptionsRect, (TRect{3, 55, 133, 75}));
}

TEST(OptionLayout, AWideControlWidensThePanelAndBothEntries) {
    const std::vector<TSize> controls{{23, 22}, {180, 30}};
    const TSelectorLayout layout = ArrangeSelector(controls, TSelectorParams{});
    EXPECT_EQ(layout.Width, 186);
    EXPECT_EQ(layout.Places[1], (TPoint{3, 25}));  // 180 > 180 - 26: a row of its own
    EXPECT_EQ(layout.AddRemoveRect.Width(), 180);
    EXPECT_EQ(layout.OptionsRect.Width(), 180);
}

TEST(OptionLayout, EntriesWithoutControlsAndControlsWithoutEntries) {
    TSelectorParams oneEntry;
    oneEntry.OptionsShown = false;
    const TSelectorLayout entryOnly = ArrangeSelector({}, oneEntry);
    EXPECT_EQ(entryOnly.Height, 3 + 20 + 3);  // no separator room with an empty list
    EXPECT_EQ(entryOnly.AddRemoveRect, (TRect{3, 3, 133, 23}));
    EXPECT_TRUE(entryOnly.OptionsRect.IsEmpty());

    TSelectorParams none;
    none.AddRemoveShown = none.OptionsShown = false;
    const std::vector<TSize> one{{23, 22}};
    const TSelectorLayout controlsOnly = ArrangeSelector(one, none);
    EXPECT_EQ(controlsOnly.Width, 136);  // the hidden entries keep their width
    EXPECT_EQ(controlsOnly.Height, 3 + 22 + 3);
    EXPECT_TRUE(controlsOnly.AddRemoveRect.IsEmpty());
}

TEST(OptionLayout, CheckListItemsAreAtLeast70WideAndTheSubListArrowAddsThirty) {
    const std::vector<TPopupItemText> shortCaptions{{20, false}, {30, false}};
    const TPopupLayout plain = ArrangePopupItems(shortCaptions, 0, 0, 24, 2);
    EXPECT_EQ(plain.Items[0], (TRect{2, 2, 72, 26}));
    EXPECT_EQ(plain.Items[1], (TRect{2, 28, 72, 52}));
    EXPECT_EQ(plain.Width, 74);
    EXPECT_EQ(plain.Height, 54);

    const std::vector<TPopupItemText> root{{60, true}};
    EXPECT_EQ(ArrangePopupItems(root, 24, 0, 24, 2).Items[0].Width(), 60 + 7 + 30 + 24);
    const std::vector<TPopupItemText> withBars{{60, false}};
    EXPECT_EQ(ArrangePopupItems(withBars, 24, 20, 24, 2).Items[0].Width(), 67 + 44);
}

TEST(OptionLayout, AWindowStaysOnItsArea) {
    const TRect area{0, 0, 1280, 1000};
    struct TCase { const char* Tag; TPoint Point; TPoint Place; };
    const TCase cases[] = {
        {"fits", {100, 100}, {100, 100}},
        {"past the bottom: ends 2 above it", {100, 950}, {100, 898}},
        {"past the right edge: to the given left", {1200, 100}, {777, 100}},
        {"exactly at the right edge", {1130, 100}, {1130, 100}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        EXPECT_EQ(KeepOnArea(c.Point, {150, 100}, area, 2, 777), c.Place);
    }
}
