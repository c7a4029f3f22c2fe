// How tones become the pager's looks, and its sizes at a display scale: plain records and
// numbers, no window.
#include "ribbon/AdvToolBarPagerTones.h"

#include <gtest/gtest.h>

#include <string>

#include "menus/AdvToolBarAppearance.h"
#include "ribbon/AdvToolBarPagerScale.h"

using namespace AdvToolBar;
using AdvStyleIF::TColorTone;
using AdvStyleIF::TColorTones;
using ClassLib::TColor;

namespace {

// Every colour of a set tells where it came from: base + tone * 0x10 + field, tones
// Background 1, Foreground 2, Selected 3, Hover 4, Disabled 5; fields brush 1, border 2, text 3.
TColorTones Numbered(int base) {
    auto tone = [base](int k) {
        return TColorTone{TColor(base + k * 0x10 + 1), TColor(base + k * 0x10 + 2), TColor(base + k * 0x10 + 3)};
    };
    return {tone(1), tone(2), tone(3), tone(4), tone(5)};
}

constexpr int Buttons = 0x100000, Tab = 0x200000, Pager = 0x300000;
constexpr int Bg = 0x10, Fg = 0x20, Sel = 0x30, Hov = 0x40, Dis = 0x50;
constexpr int Brush = 1, Border = 2, Text = 3;

// The application colours 0xA1..0xA9 in declaration order.
struct TNumberedApp : TAppColor {
    TNumberedApp() {
        SetAppButtonColor(0xA1);
        SetAppButtonHoverColor(0xA2);
        SetTextColor(0xA3);
        SetHoverColor(0xA4);
        SetHoverTextColor(0xA5);
        SetHoverBorderColor(0xA6);
        SetSelectedColor(0xA7);
        SetSelectedTextColor(0xA8);
        SetSelectedBorderColor(0xA9);
    }
};

struct TLooks {
    TVistaPageBackground Page;
    TCaptionAppearance Caption;
    TTabAppearance Tab;
    TToolBarAppearance ToolBar;
    AdvGlowButton::TGlowButtonAppearance Glow, PageGlow;
    TGroupAppearance Group;
    TPagerToneLooks Refs;
    TLooks() { Refs = {&Page, &Caption, &Tab, &ToolBar, &Glow, &PageGlow, &Group}; }
};

const char* Name(TGroupStyle style) {
    static const char* names[] = {"classic", "2013", "windows8", "2016", "2019"};
    return names[style];
}

}  // namespace

TEST(PagerOfficeTones, FillTheLooksPerGroupStyle) {
    struct TRow {
        TGroupStyle Style;
        int PagerColor, PageColor, PageBorder, CaptionText;
        int TabColor, TabSelected, TabTextHot, TabTextSelected;
        int ToolBarColor, ToolBarCaptionText;
        int GlowColor, GlowHot, GlowBorderDown;
    };
    const int hot2016 = Tab + Hov + Text;
    const TRow rows[] = {
        {gsClassic, Buttons + Bg + Brush, Tab + Bg + Brush, Buttons + Fg + Border, Pager + Bg + Text,
         Pager + Bg + Brush, Tab + Bg + Brush, Tab + Hov + Text, Tab + Hov + Text,
         Tab + Bg + Brush, 0x808080, Tab + Bg + Brush, 0xA4, 0xA9},
        // The 2013 look writes hot and selected tab captions in the application colour.
        {gsOffice2013, Buttons + Bg + Brush, Tab + Bg + Brush, Buttons + Fg + Border, Pager + Bg + Text,
         Pager + Bg + Brush, Tab + Bg + Brush, 0xA1, 0xA1,
         Tab + Bg + Brush, 0x808080, Tab + Bg + Brush, 0xA4, 0xA9},
        {gsWindows8, Buttons + Bg + Brush, Tab + Bg + Brush, Buttons + Fg + Border, Pager + Bg + Text,
         Pager + Bg + Brush, Tab + Bg + Brush, Tab + Hov + Text, Tab + Hov + Text,
         Tab + Bg + Brush, 0x808080, Tab + Bg + Brush, 0xA4, 0xA9},
        {gsOffice2016, Buttons + Bg + Brush, Tab + Bg + Brush, Buttons + Fg + Border, Pager + Bg + Text,
         Pager + Bg + Brush, Tab + Bg + Brush, hot2016, Tab + Sel + Text,
         Tab + Bg + Brush, 0x808080, Tab + Bg + Brush, 0xA4, 0xA9},
        // 2019 is flat: the pager's foreground fills page and tab row, the buttons' own tones the glow faces.
        {gsOffice2019, Buttons + Fg + Brush, Pager + Fg + Brush, Pager + Fg + Border, 0xA3,
         Pager + Fg + Brush, Tab + Sel + Brush, Tab + Hov + Text, Tab + Sel + Text,
         Tab + Fg + Brush, Tab + Fg + Text, Buttons + Bg + Brush, Buttons + Hov + Brush, Buttons + Sel + Border},
    };
    TNumberedApp app;
    TOfficeTones tones{Numbered(Buttons), Numbered(Tab), Numbered(Pager), &app};
    for (const TRow& row : rows) {
        SCOPED_TRACE(Name(row.Style));
        TLooks looks;
        ApplyOfficeTonesToLooks(tones, row.Style, looks.Refs);
        EXPECT_EQ(looks.Refs.PagerColor, TColor(row.PagerColor));
        EXPECT_EQ(looks.Page.Color(), TColor(row.PageColor));
        EXPECT_EQ(looks.Page.BorderColor(), TColor(row.PageBorder));
        EXPECT_EQ(looks.Caption.CaptionColor(), TColor(Pager + Bg + Brush));
        EXPECT_EQ(looks.Caption.CaptionTextColor(), TColor(row.CaptionText));
        EXPECT_EQ(looks.Tab.Color(), TColor(row.TabColor));
        EXPECT_EQ(looks.Tab.BackGround()->Color(), TColor(row.TabColor));
        EXPECT_EQ(looks.Tab.TextColor(), TColor(Tab + Bg + Text));
        EXPECT_EQ(looks.Tab.ColorSelected(), TColor(row.TabSelected));
        EXPECT_EQ(looks.Tab.BorderColorSelected(), TColor(Tab + Sel + Border));
        EXPECT_EQ(looks.Tab.BorderColorSelectedHot(), TColor(Tab + Sel + Border));
        EXPECT_EQ(looks.Tab.TextColorHot(), TColor(row.TabTextHot));
        EXPECT_EQ(looks.Tab.TextColorSelected(), TColor(row.TabTextSelected));
        EXPECT_EQ(looks.Tab.ColorDisabled(), TColor(Tab + Dis + Brush));
        EXPECT_EQ(looks.ToolBar.Color()->Color(), TColor(row.ToolBarColor));
        EXPECT_EQ(looks.Refs.ToolBarCaptionTextColor, TColor(row.ToolBarCaptionText));
        EXPECT_EQ(looks.Glow.Color(), TColor(row.GlowColor));
        EXPECT_EQ(looks.Glow.ColorHot(), TColor(row.GlowHot));
        EXPECT_EQ(looks.Glow.BorderColorDown(), TColor(row.GlowBorderDown));
        // The page's glow copy follows the glow copy.
        EXPECT_EQ(looks.PageGlow.ColorHot(), looks.Glow.ColorHot());
        EXPECT_EQ(looks.PageGlow.BorderColorDown(), looks.Glow.BorderColorDown());
    }
}

TEST(PagerOfficeTones, LeaveTheSharedToneSets) {
    TNumberedApp app;
    const TOfficeTones tones{Numbered(Buttons), Numbered(Tab), Numbered(Pager), &app};
    const TColorTones before = Numbered(0x700000);
    for (TGroupStyle style : {gsClassic, gsWindows8}) {
        SCOPED_TRACE(Name(style));
        EXPECT_EQ(OfficeRibbonColorTones(tones, style, before), before);
    }
    for (TGroupStyle style : {gsOffice2013, gsOffice2016}) {
        SCOPED_TRACE(Name(style));
        const TColorTones r = OfficeRibbonColorTones(tones, style, before);
        EXPECT_EQ(r.Background, (TColorTone{TColor(Tab + Bg + Brush), TColor(Tab + Bg + Brush), TColor(Buttons + Bg + Text)}));
        EXPECT_EQ(r.Hover, (TColorTone{0xA4, 0xA6, 0xA5}));
        EXPECT_EQ(r.Selected, (TColorTone{0xA7, 0xA9, 0xA8}));
        EXPECT_EQ(r.Disabled, before.Disabled);
    }
    const TColorTones r2019 = OfficeRibbonColorTones(tones, gsOffice2019, before);
    EXPECT_EQ(r2019.Background.BorderColor, TColor(Buttons + Bg + Brush));
    EXPECT_EQ(r2019.Hover, tones.Buttons.Hover);
    EXPECT_EQ(r2019.Selected, (TColorTone{TColor(Buttons + Sel + Brush), TColor(Buttons + Sel + Brush),
                                          TColor(Buttons + Sel + Text)}));

    const TColorTones a = OfficeAppButtonColorTones(tones, before);
    EXPECT_EQ(a.Background, (TColorTone{0xA1, before.Background.BorderColor, 0xA3}));
    EXPECT_EQ(a.Hover, (TColorTone{0xA2, 0xA6, before.Hover.TextColor}));
    EXPECT_EQ(a.Selected, (TColorTone{0xA1, 0xA9, 0xA8}));
    EXPECT_EQ(a.Foreground, before.Foreground);
}

TEST(PagerColorTones, FillTheFlatLooks) {
    const TColorTones t = Numbered(0x400000);
    const int b = 0x400000;
    TLooks looks;
    ApplyColorTonesToLooks(t, looks.Refs);
    EXPECT_EQ(looks.Refs.PagerColor, TColor(b + Bg + Brush));
    EXPECT_EQ(looks.Page.Color(), TColor(b + Bg + Brush));
    EXPECT_EQ(looks.Page.BorderColor(), TColor(b + Fg + Border));
    EXPECT_EQ(looks.Page.ColorMirror(), ClassLib::clNone);
    EXPECT_EQ(looks.Caption.CaptionTextColor(), TColor(b + Bg + Text));
    EXPECT_EQ(looks.Tab.BackGround()->Color(), TColor(b + Sel + Brush));
    EXPECT_EQ(looks.Tab.ColorSelected(), TColor(b + Bg + Brush));
    EXPECT_EQ(looks.Tab.BorderColorHot(), TColor(b + Hov + Border));
    EXPECT_EQ(looks.Tab.TextColorHot(), TColor(b + Hov + Text));
    EXPECT_EQ(looks.Tab.TextColorDisabled(), TColor(b + Dis + Text));
    EXPECT_EQ(looks.Tab.ColorMirror(), ClassLib::clNone);  // everything else cleared
    EXPECT_EQ(looks.ToolBar.BorderColor(), TColor(b + Fg + Border));
    EXPECT_EQ(looks.Refs.ToolBarCaptionTextColor, TColor(b + Bg + Text));
    EXPECT_EQ(looks.Glow.ColorMirror(), TColor(b + Bg + Brush));
    EXPECT_EQ(looks.Glow.ColorMirrorDown(), TColor(b + Sel + Brush));
    EXPECT_EQ(looks.Glow.TextColorDown(), TColor(b + Sel + Text));
    EXPECT_EQ(looks.PageGlow.ColorDown(), TColor(b + Sel + Brush));
    EXPECT_EQ(looks.Group.TextColor(), TColor(b + Sel + Text));
    EXPECT_EQ(looks.Group.ToolBarAppearance()->ColorHot()->Color(), TColor(b + Hov + Brush));
    EXPECT_EQ(looks.Group.CaptionAppearance()->CaptionBorderColorHot(), TColor(b + Hov + Border));
    EXPECT_EQ(looks.Group.PageAppearance()->HighLightColor(), TColor(b + Hov + Brush));
    EXPECT_EQ(looks.Group.PageAppearance()->ShadowColor(), ClassLib::clNone);
}

TEST(PagerTones, OnlyTheStep2019MeasuresTabsAgain) {
    EXPECT_TRUE(GroupStyleChangesTabLayout(gsOffice2013, gsOffice2019));
    EXPECT_TRUE(GroupStyleChangesTabLayout(gsOffice2019, gsClassic));
    EXPECT_FALSE(GroupStyleChangesTabLayout(gsOffice2013, gsOffice2016));
    EXPECT_FALSE(GroupStyleChangesTabLayout(gsOffice2019, gsOffice2019));
}

TEST(PagerScale, SizesAtAScale) {
    struct TCase { double Scale; TPagerScaledSizes Sizes; };
    const TCase cases[] = {
        {1.0, {26, 26, 16, 60}},
        {1.25, {32, 32, 20, 75}},   // 32.5 rounds to the even 32
        {1.5, {40, 39, 24, 90}},    // 39 is odd: the tab row takes 40
        {1.75, {46, 46, 28, 105}},  // 45.5 rounds to the even 46
        {2.0, {52, 52, 32, 120}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Scale);
        const TPagerScaledSizes s = ScalePagerSizes(c.Scale, 26, 60, 26);
        EXPECT_EQ(s.TabHeight, c.Sizes.TabHeight);
        EXPECT_EQ(s.CaptionHeight, c.Sizes.CaptionHeight);
        EXPECT_EQ(s.ToolBarCaptionHeight, c.Sizes.ToolBarCaptionHeight);
        EXPECT_EQ(s.StartMargin, c.Sizes.StartMargin);
    }
}
