// A toolbar button's arithmetic without a window: automatic size, image and caption places,
// the drop-down zone, the chevron, the visual case, the disabled grey, and the lines of a
// separator and of a container's frame.
#include "toolbars/AdvToolBarButtonLayout.h"

#include <gtest/gtest.h>

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

TButtonSizeInput SizeInput(int iw, int ih, int tw, int th, TGlyphPosition position, bool rotated = false) {
    TButtonSizeInput input;
    input.ImageWidth = iw;
    input.ImageHeight = ih;
    input.TextWidth = tw;
    input.TextHeight = th;
    input.GlyphPosition = position;
    input.Rotated = rotated;
    return input;
}

}  // namespace

TEST(ToolBarButtonSize, FollowsImageCaptionAndGlyphPosition) {
    struct TCase {
        const char* Name;
        TButtonSizeInput Input;
        int Width, Height;
    };
    TButtonSizeInput dropDown = SizeInput(0, 0, 5, 13, gpLeft);
    dropDown.DropDownButton = true;
    TButtonSizeInput onQuickAccess = SizeInput(16, 16, 26, 13, gpLeft);
    onQuickAccess.OnQuickAccess = true;
    TButtonSizeInput scaled = SizeInput(16, 16, 26, 13, gpLeft);
    scaled.Scale = 1.5f;
    TButtonSizeInput rotatedDropDown = SizeInput(16, 16, 0, 13, gpLeft, true);
    rotatedDropDown.DropDownButton = true;
    rotatedDropDown.UnitScale = 2;
    const TCase cases[] = {
        {"image and caption left", SizeInput(16, 16, 26, 13, gpLeft), 16 + 4 + 26 + 8, 24},
        {"image and caption right", SizeInput(16, 16, 26, 13, gpRight), 54, 24},
        {"image above", SizeInput(16, 16, 26, 13, gpTop), 26 + 8, 13 + 16 + 4 + 8},
        {"image below", SizeInput(16, 16, 26, 13, gpBottom), 34, 41},
        {"image only", SizeInput(16, 16, 0, 13, gpLeft), 24, 24},
        {"short caption only: 15 at least", SizeInput(0, 0, 5, 13, gpLeft), 15, 21},
        {"drop-down adds its section", dropDown, 15 + 12, 21},
        {"quick access: twice the margin", onQuickAccess, 62, 24},
        {"1.5 scale: margin 6, spacing 6", scaled, 16 + 6 + 26 + 12, 28},
        {"turned, image above the text", SizeInput(16, 16, 26, 13, gpLeft, true), 24, 16 + 4 + 26 + 8},
        {"turned, image beside the text", SizeInput(16, 16, 26, 13, gpTop, true), 16 + 13 + 4 + 8, 34},
        {"turned drop-down at scale 2", rotatedDropDown, 24, 30 + 24},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TButtonExtent extent = ButtonExtent(c.Input);
        EXPECT_EQ(extent.Width, c.Width);
        EXPECT_EQ(extent.Height, c.Height);
    }
}

TEST(ToolBarButtonSize, HeightFillsTheToolBarRow) {
    struct TCase {
        const char* Name;
        TButtonToolBarFit Fit;
        int Height, Expected;
    };
    TButtonToolBarFit docked26;
    TButtonToolBarFit docked40;
    docked40.ToolBarHeight = 40;
    TButtonToolBarFit captioned = docked40;
    captioned.CaptionHeight = 16;
    captioned.CaptionCounts = true;
    TButtonToolBarFit floating;
    floating.Floating = true;
    floating.SizeAtDock = 34;
    floating.ToolBarHeight = 100;
    TButtonToolBarFit uprightOnVertical = docked40;
    uprightOnVertical.CanRotate = false;
    uprightOnVertical.Horizontal = false;
    const TCase cases[] = {
        {"docked 26: already tall enough", docked26, 24, 24},
        {"docked 40", docked40, 24, 36},
        {"caption strip left out", captioned, 18, 20},
        {"floating: docked thickness", floating, 24, 30},
        {"upright button on a vertical toolbar", uprightOnVertical, 24, 24},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(FitButtonHeight(c.Height, c.Fit), c.Expected);
    }
}

TEST(ToolBarButtonPlaces, ImageAndCaptionForEachGlyphPosition) {
    struct TCase {
        const char* Name;
        TGlyphPosition Position;
        bool Rotated;
        TRect Rect;
        TPoint Image;
        TRect Text;         // upright
        TPoint TextOrigin;  // turned
    };
    const TCase cases[] = {
        {"left", gpLeft, false, {0, 0, 54, 24}, {4, 4}, {24, 0, 54, 24}, {}},
        {"right", gpRight, false, {0, 0, 54, 24}, {34, 4}, {4, 0, 30, 24}, {}},
        {"top", gpTop, false, {0, 0, 34, 41}, {9, 4}, {0, 24, 34, 41}, {}},
        {"bottom", gpBottom, false, {0, 0, 34, 41}, {9, 21}, {0, 4, 34, 21}, {}},
        {"turned, image above", gpLeft, true, {0, 0, 24, 54}, {4, 4}, {}, {19, 24}},
        {"turned, image right", gpTop, true, {0, 0, 41, 34}, {21, 9}, {}, {15, 4}},
        {"turned, image below", gpRight, true, {0, 0, 24, 54}, {4, 34}, {}, {19, 4}},
        {"turned, image left", gpBottom, true, {0, 0, 41, 34}, {4, 9}, {}, {41 - (41 - 24 - 13) / 2, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGlyphCaptionInput input;
        input.Rect = c.Rect;
        input.ButtonHeight = c.Rect.Height();
        input.HasImage = true;
        input.ImageWidth = input.ImageHeight = 16;
        input.HasText = true;
        input.TextWidth = 26;
        input.TextHeight = 13;
        input.GlyphPosition = c.Position;
        input.Rotated = c.Rotated;
        const TGlyphCaptionPlace place = PlaceGlyphAndCaption(input);
        EXPECT_EQ(place.Image.X, c.Image.X);
        EXPECT_EQ(place.Image.Y, c.Image.Y);
        if (c.Rotated) {
            EXPECT_EQ(place.TextOrigin.X, c.TextOrigin.X);
            EXPECT_EQ(place.TextOrigin.Y, c.TextOrigin.Y);
        } else {
            EXPECT_EQ(place.TextRect, c.Text);
        }
        EXPECT_EQ(place.Format & cfEndEllipsis, 0u);
    }
}

TEST(ToolBarButtonPlaces, TooNarrowWithoutAutoSizeEndsInAnEllipsis) {
    TGlyphCaptionInput input;
    input.Rect = {0, 0, 30, 24};
    input.ButtonHeight = 24;
    input.HasImage = true;
    input.ImageWidth = input.ImageHeight = 16;
    input.HasText = true;
    input.TextWidth = 40;
    input.TextHeight = 13;
    input.AutoSize = false;
    TGlyphCaptionPlace place = PlaceGlyphAndCaption(input);
    EXPECT_EQ(place.Image.X, 1);
    EXPECT_EQ(place.TextRect.Left, 1 + 16 + 4);  // the text moves on with the image
    EXPECT_NE(place.Format & cfEndEllipsis, 0u);

    input.AutoSize = true;  // sized to fit, nothing is cut
    place = PlaceGlyphAndCaption(input);
    EXPECT_EQ(place.Image.X, -15);
    EXPECT_EQ(place.Format & cfEndEllipsis, 0u);

    input.AutoSize = false;
    input.Rotated = true;
    input.Rect = {0, 0, 24, 30};
    place = PlaceGlyphAndCaption(input);
    EXPECT_EQ(place.Image.Y, 1);
    EXPECT_EQ(place.TextOrigin.Y, 1 + 16 + 4);
    EXPECT_NE(place.Format & cfEndEllipsis, 0u);
}

TEST(ToolBarButtonPlaces, CaptionAloneIsCentredAndReverseStartsAtTheBottom) {
    TGlyphCaptionInput input;
    input.Rect = {0, 0, 24, 54};
    input.ButtonHeight = 54;
    input.HasText = true;
    input.TextWidth = 26;
    input.TextHeight = 13;
    input.Rotated = true;
    const TGlyphCaptionPlace place = PlaceGlyphAndCaption(input);
    EXPECT_EQ(place.TextRect, input.Rect);
    EXPECT_EQ(place.TextOrigin.X, 24 + 1 - (24 - 13) / 2);
    EXPECT_EQ(place.TextOrigin.Y, (54 - 26) / 2);
    const TPoint reverse = ReverseTextOrigin(place, 26, 13);
    EXPECT_EQ(reverse.X, place.TextOrigin.X - 13);
    EXPECT_EQ(reverse.Y, place.TextOrigin.Y + 26 - 2);

    input.FixedPosition = true;
    input.FixedImageX = 3;
    input.FixedTextX = 7;
    input.FixedTextY = 2;
    input.ButtonWidth = 24;
    const TGlyphCaptionPlace fixed = PlaceGlyphAndCaption(input);
    EXPECT_EQ(fixed.TextRect, (TRect{7, 2, 24, 54}));
    EXPECT_EQ(fixed.Format, unsigned(cfSingleLine | cfEndEllipsis));
}

TEST(ToolBarButtonDropDown, ZoneSectionAndChevron) {
    struct TZone {
        int X, Y;
        bool Rotated;
        float Scale;
        bool Inside;
    };
    const TZone zones[] = {
        {26, 5, false, 1, false}, {27, 5, false, 1, true},  // the right 14 pixels of 40
        {39, 26, true, 1, false}, {5, 27, true, 1, true},   // the bottom 14 when turned
        {13, 5, false, 2, true},  {12, 5, false, 2, false}, // 28 pixels at scale 2
    };
    for (const TZone& z : zones) {
        SCOPED_TRACE(testing::Message() << z.X << "," << z.Y << (z.Rotated ? " turned" : ""));
        EXPECT_EQ(InDropDownZone(z.X, z.Y, 40, 40, z.Rotated, z.Scale), z.Inside);
    }

    const TRect full{0, 0, 40, 22};
    const TRect right = DropDownSection(full, 12, false);
    EXPECT_EQ(right, (TRect{28, 0, 40, 22}));
    EXPECT_EQ(ContentRect(full, right, true, false), (TRect{0, 0, 28, 22}));
    EXPECT_EQ(ContentRect(full, right, false, false), full);
    const TRect bottom = DropDownSection(TRect{0, 0, 22, 40}, 12, true);
    EXPECT_EQ(bottom, (TRect{0, 28, 22, 40}));
    EXPECT_EQ(ContentRect(TRect{0, 0, 22, 40}, bottom, true, true), (TRect{0, 0, 22, 28}));

    using P = std::array<TPoint, 3>;
    const P one = ChevronPoints(100, 50, 1);
    EXPECT_EQ(one, (P{TPoint{97, 49}, TPoint{100, 52}, TPoint{104, 48}}));
    const P two = ChevronPoints(100, 50, 2);
    EXPECT_EQ(two, (P{TPoint{92, 46}, TPoint{100, 53}, TPoint{109, 45}}));
}

TEST(ToolBarButtonCase, StateHotAndPressDecideTheLook) {
    struct TCase {
        const char* Name;
        TAdvButtonState State;
        bool Enabled, Hot, MouseDown;
        TAdvToolButtonStyle Style;
        TButtonCase Expected;
    };
    const TCase cases[] = {
        {"idle", absUp, true, false, false, tasButton, TButtonCase::Normal},
        {"hot", absUp, true, true, false, tasButton, TButtonCase::Hot},
        {"pressed", absDown, true, true, true, tasButton, TButtonCase::Pressed},
        {"mouse down only", absUp, true, false, true, tasButton, TButtonCase::Pressed},
        {"group member down", absExclusive, true, false, false, tasButton, TButtonCase::Checked},
        {"group member down and hot", absExclusive, true, true, false, tasButton, TButtonCase::Pressed},
        {"check button down", absDown, true, false, true, tasCheck, TButtonCase::Checked},
        {"menu tracked", absDropDown, true, true, false, tasButton, TButtonCase::DropDown},
        {"disabled", absUp, false, true, false, tasButton, TButtonCase::Disabled},
        {"disabled state", absDisabled, true, false, false, tasButton, TButtonCase::Disabled},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ButtonCase(c.State, c.Enabled, c.Hot, c.MouseDown, c.Style), c.Expected);
    }
}

TEST(ToolBarButtonGlyph, DisabledGreyRunsFrom96To223) {
    EXPECT_EQ(DisabledGrey(TColor(0x000000)), TColor(0x606060));
    EXPECT_EQ(DisabledGrey(TColor(0xFFFFFF)), TColor(0xDFDFDF));
    EXPECT_EQ(DisabledGrey(TColor(0x0000FF)), TColor(0x8A8A8A));  // (255 / 3) / 2 + 96 = 138
}

TEST(ToolBarItemLines, SeparatorAndContainerFrame) {
    const auto across = SeparatorLines(TRect{0, 0, 10, 22}, false);
    EXPECT_EQ(across[0].From, (TPoint{5, 3}));
    EXPECT_EQ(across[0].To, (TPoint{5, 19}));
    EXPECT_FALSE(across[0].White);
    EXPECT_EQ(across[1].From, (TPoint{6, 4}));
    EXPECT_EQ(across[1].To, (TPoint{6, 20}));
    EXPECT_TRUE(across[1].White);
    const auto along = SeparatorLines(TRect{0, 0, 30, 10}, true);
    EXPECT_EQ(along[0].From, (TPoint{3, 5}));
    EXPECT_EQ(along[1].To, (TPoint{28, 6}));

    // A caption ending at 40 leaves a gap in the top line from 10 to 40.
    const auto flat = ContainerFrameLines(TRect{0, 0, 100, 50}, 2, 40, false);
    ASSERT_EQ(flat.size(), 5u);
    EXPECT_EQ(flat[0].From, (TPoint{0, 4}));
    EXPECT_EQ(flat[0].To, (TPoint{9, 4}));
    EXPECT_EQ(flat[1].From, (TPoint{41, 4}));
    EXPECT_EQ(flat[1].To, (TPoint{98, 4}));
    EXPECT_EQ(flat[3].From, (TPoint{0, 48}));  // bottom
    const auto embossed = ContainerFrameLines(TRect{0, 0, 100, 50}, 2, -1, true);
    ASSERT_EQ(embossed.size(), 2u + 3u + 3u);
    EXPECT_TRUE(embossed[1].White);
    EXPECT_EQ(embossed[1].From, (TPoint{0, 5}));
    EXPECT_EQ(embossed.back().From, (TPoint{99, 49}));
}
