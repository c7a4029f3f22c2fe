// The office styler's presets: the Office 2019 white preset value by value, the telling
// values of all, the office tones handed to a pager and copied back, and when the
// controls hear of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/GdiObjects.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarStylers.h"
#include "tests/menus/FakeStylerClients.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace AdvToolBarStylers;
using AdvGlowButton::ggVertical;
using StylerTests::TFakeClient;
using StylerTests::TFakePager;
using StylerTests::TLog;

namespace {

const std::wstring SystemFace = AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma";

// A styler with a named dock panel listening, and optionally a pager attached.
class Presets : public testing::Test {
protected:
    Presets() : Panel(TStylerClientKind::DockPanel, L"Panel", &Log), Pager(L"Pager", &Log) {
        Panel.SetToolBarStyler(&Styler);
    }
    ~Presets() override {
        Panel.SetToolBarStyler(nullptr);
        Pager.SetToolBarStyler(nullptr);
    }
    void AttachPager() { Pager.SetToolBarStyler(&Styler); }

    TAdvToolBarOfficeStyler Styler{nullptr};
    TLog Log;
    TFakeClient Panel;
    TFakePager Pager;
};

struct TFace {
    TColor Color, ColorTo, Mirror, MirrorTo, Border;
    bool operator==(const TFace&) const = default;
};
TFace HotFace(const AdvGlowButton::TGlowButtonAppearance& a) {
    return {a.ColorHot(), a.ColorHotTo(), a.ColorMirrorHot(), a.ColorMirrorHotTo(), a.BorderColorHot()};
}

}  // namespace

TEST_F(Presets, Office2019WhiteInFullWithoutAPager) {
    Styler.SetStyle(bsOffice2019White);
    const TCustomAdvToolBarStyler& s = Styler;
    EXPECT_EQ(Log, TLog{L"Panel:2"});   // once, at the end
    EXPECT_EQ(s.OVTStyle(), AdvStyleIF::tsOffice2019White);
    EXPECT_EQ(s.NewOVTStyle(), AdvStyleIF::tsOffice2019White);
    EXPECT_EQ(s.SysButtonColor(), clBlack);
    EXPECT_FALSE(s.QatSharpCurve());
    for (TFont* font : {s.TabAppearance()->Font(), s.PagerCaption()->Font(), s.GroupAppearance()->Font(),
                        s.ButtonAppearance()->CaptionFont(), s.Font(), s.CaptionFont()})
        EXPECT_EQ(font->Name(), SystemFace);

    EXPECT_EQ(s.DockColor()->Color(), 0xFFFFFF);
    EXPECT_EQ(s.DockColor()->ColorTo(), 0xFFFFFF);
    EXPECT_EQ(s.DockColor()->Direction(), gdHorizontal);
    EXPECT_EQ(s.DockColor()->Steps(), 1);
    EXPECT_EQ(s.Color()->Color(), 0xFFFFFF);
    EXPECT_EQ(s.Color()->ColorTo(), 0xFFFFFF);
    EXPECT_EQ(s.Color()->Direction(), gdVertical);
    EXPECT_EQ(s.Color()->Steps(), 64);
    const TColor handles[] = {s.RightHandleColor(),    s.RightHandleColorTo(),   s.RightHandleColorHot(),
                              s.RightHandleColorHotTo(), s.RightHandleColorDown(), s.RightHandleColorDownTo()};
    EXPECT_EQ(std::vector<TColor>(std::begin(handles), std::end(handles)),
              (std::vector<TColor>{0xFFFFFF, 0xFFFFFF, 0xF2E1D5, 0xF2E1D5, 0xE3BDA3, 0xE3BDA3}));
    EXPECT_EQ(s.BorderColor(), 0xC4C6C8);

    const TButtonAppearance& buttons = *s.ButtonAppearance();
    EXPECT_EQ(buttons.BorderColor(), clNone);
    EXPECT_EQ(buttons.BorderHotColor(), clNone);
    EXPECT_EQ(buttons.BorderDownColor(), clNone);
    EXPECT_EQ(buttons.CaptionTextColor(), 0x444648);
    EXPECT_EQ(buttons.CaptionTextColorHot(), 0x444648);
    EXPECT_EQ(buttons.CaptionTextColorDown(), clBlack);
    // The caption bar's text takes the application colour's text (white until a pager's tones change it).
    EXPECT_EQ(s.PagerCaption()->TextColor(), clWhite);
    EXPECT_EQ(s.PagerCaption()->TextColorExtended(), clWhite);

    const TCaptionAppearance& caption = *s.CaptionAppearance();
    EXPECT_EQ(caption.CaptionColor(), 0xFFFFFF);
    EXPECT_EQ(caption.CaptionColorTo(), 0xFFFFFF);
    EXPECT_EQ(caption.CaptionColorHot(), 0xF2E1D5);
    EXPECT_EQ(caption.CaptionColorHotTo(), 0xF2E1D5);
    EXPECT_EQ(caption.CaptionTextColor(), 0x444648);
    EXPECT_EQ(caption.CaptionTextColorHot(), 0x444648);
    EXPECT_EQ(s.DragGripStyle(), dsNone);
    EXPECT_FALSE(s.RoundEdges());

    const AdvGlowButton::TGlowButtonAppearance& glow = *s.GlowButtonAppearance();
    EXPECT_EQ((TFace{glow.Color(), glow.ColorTo(), glow.ColorMirror(), glow.ColorMirrorTo(), glow.BorderColor()}),
              (TFace{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(HotFace(glow), (TFace{0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5}));
    EXPECT_EQ((TFace{glow.ColorDown(), glow.ColorDownTo(), glow.ColorMirrorDown(), glow.ColorMirrorDownTo(),
                     glow.BorderColorDown()}),
              (TFace{0xE3BDA3, 0xE3BDA3, 0xE3BDA3, 0xE3BDA3, 0xE3BDA3}));
    EXPECT_EQ((TFace{glow.ColorChecked(), glow.ColorCheckedTo(), glow.ColorMirrorChecked(), glow.ColorMirrorCheckedTo(),
                     glow.BorderColorChecked()}),
              (TFace{0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5}));
    for (AdvGlowButton::TGDIPGradient gradient :
         {glow.Gradient(), glow.GradientMirror(), glow.GradientHot(), glow.GradientMirrorHot(), glow.GradientDown(),
          glow.GradientMirrorDown(), glow.GradientChecked(), glow.GradientMirrorChecked()})
        EXPECT_EQ(gradient, ggVertical);
    EXPECT_EQ(glow.TextColor(), 0x444648);
    EXPECT_EQ(glow.TextColorChecked(), 0x3B3B3B);
    EXPECT_EQ(glow.TextColorHot(), 0x444648);
    EXPECT_EQ(glow.TextColorDown(), 0x444648);
    EXPECT_TRUE(glow.TranspHover());
    EXPECT_TRUE(glow.NoBorderDefault());
    EXPECT_TRUE(glow.SystemFont());
}

TEST_F(Presets, Office2019WhiteHandsThePagerItsTonesAndTakesItsLooksBack) {
    AttachPager();
    Styler.AppColor()->SetAppButtonColor(clWhite);   // would vanish on white: the default blue comes
    Styler.SetStyle(bsOffice2019White);
    EXPECT_EQ(Pager.Calls, (std::vector<std::wstring>{L"ClearOfficeTones", L"SetOfficeTones"}));
    EXPECT_EQ(Pager.GroupStyle, gsOffice2019);
    const TAppColor& app = *Styler.AppColor();
    EXPECT_EQ(app.AppButtonColor(), 0xFFAC3C);
    EXPECT_EQ(app.AppButtonHoverColor(), 0xE29E00);
    EXPECT_EQ(app.HoverColor(), 0xF7E6CD);
    EXPECT_EQ(app.HoverBorderColor(), app.HoverColor());
    EXPECT_EQ(app.SelectedColor(), 0xE7BE7A);
    EXPECT_EQ(app.SelectedBorderColor(), app.SelectedColor());
    EXPECT_EQ(app.TextColor(), 0x262626);

    const TOfficeTones& tones = Pager.Tones;
    EXPECT_EQ(tones.App, Styler.AppColor());
    using T = AdvStyleIF::TColorTone;
    EXPECT_EQ(tones.Buttons.Foreground, (T{0xD1B9A5, 0xD1B9A5, 0x444648}));
    EXPECT_EQ(tones.Buttons.Background, (T{0xFFFFFF, 0xFFFFFF, 0x444648}));
    EXPECT_EQ(tones.Buttons.Hover, (T{0xF7E6CD, 0xF7E6CD, 0x444648}));
    EXPECT_EQ(tones.Buttons.Selected, (T{0xE7BE7A, 0xE7BE7A, 0x444648}));
    EXPECT_EQ(tones.Pager.Foreground.BrushColor, 0xFFFFFF);
    EXPECT_EQ(tones.Pager.Background.BorderColor, 0xFFFFFF);
    EXPECT_EQ(tones.Tab.Foreground, (T{0xFFFFFF, 0xC4C6C8, 0x444648}));
    EXPECT_EQ(tones.Tab.Hover, (T{0xF8F9FA, 0xF8F9FA, 0xFFAC3C}));
    EXPECT_EQ(tones.Tab.Selected, (T{0xFFFFFF, 0xFFFFFF, 0x444648}));
    EXPECT_EQ(tones.Tab.Background, (T{0xFFFFFF, 0xFFFFFF, 0x444648}));
    AdvStyleIF::TColorTones metro;
    AdvStyleIF::CreateMetroTones(true, 0xFFFFFF, 0xFF0000, metro);
    EXPECT_EQ(tones.Tab.Disabled, metro.Disabled);   // what no override touches stays the metro tone

    // The copy-back: the pager's looks, then its page colour on the toolbar, borders and captions.
    EXPECT_EQ(Styler.TabAppearance()->TextColor(), Pager.TabAppearance()->TextColor());
    EXPECT_EQ(HotFace(*Styler.GlowButtonAppearance()), HotFace(*Pager.GlowButtonAppearance()));
    const TColor page = Pager.PageAppearance()->Color();
    EXPECT_EQ(Styler.PageAppearance()->Color(), page);
    EXPECT_EQ(Styler.Color()->Color(), page);
    EXPECT_EQ(Styler.Color()->ColorTo(), clNone);
    EXPECT_EQ(Styler.Color()->Mirror()->ColorMirror(), page);
    EXPECT_EQ(Styler.Color()->Mirror()->ColorMirrorTo(), clNone);
    EXPECT_EQ(Styler.ColorHot()->Color(), page);
    EXPECT_EQ(Styler.BorderColor(), page);
    EXPECT_EQ(Styler.BorderColorHot(), page);
    EXPECT_EQ(Styler.CaptionAppearance()->CaptionColorTo(), clNone);
    EXPECT_EQ(Styler.CaptionAppearance()->CaptionColorHotTo(), page);
    EXPECT_EQ(Styler.CaptionAppearance()->CaptionTextColor(), 0x232425);
    EXPECT_EQ(Styler.CaptionAppearance()->CaptionTextColorHot(), clBlack);
    EXPECT_EQ(Log, (TLog{L"Panel:2", L"Pager:2"}));
}

TEST_F(Presets, AnApplicationColourGivesTheButtonsHoverTone) {
    AttachPager();
    Styler.AppColor()->SetHoverColor(0x123456);
    Styler.SetStyle(bsOffice2019White);
    EXPECT_EQ(Styler.AppColor()->AppButtonColor(), 0xE29E00);   // not white: kept
    EXPECT_EQ(Pager.Tones.Buttons.Foreground.BrushColor, 0x123456);
    EXPECT_EQ(Pager.Tones.Buttons.Hover.BrushColor, 0x123456);
}

TEST_F(Presets, EveryPresetsTellingValues) {
    AttachPager();
    struct TCase {
        TToolBarStyle Style;
        TColor Color, ColorTo, Dock, DockTo;
        TDragGripStyle Grip;   // dsDoubleLine: left as it was
    } cases[] = {
        {bsOffice2003Blue, 0xFDEADA, 0xE4AE88, 0xF5BFA0, 0xFADAC4, dsDots},
        {bsOffice2003Silver, 0xECE2E1, 0xB39698, 0xE6D8D8, 0xF7F3F3, dsDots},
        {bsOffice2003Olive, 0xCFF0EA, 0x8CC0B1, 0xAADADA, 0xE4F1F2, dsDots},
        {bsOffice2003Classic, 0xFFFFFF, 0xC9D1D5, 0xD2BDB6, 0xD2BDB6, dsDots},
        {bsOffice2007Luna, 0xEDD8C7, 0xF6E9D9, 0xEDD8C7, 0xFAF1E9, dsNone},
        {bsOffice2007Obsidian, 0xC5BBB4, 0xECECE5, 0xCFC6C1, 0xC5BBB4, dsNone},
        {bsOffice2007Silver, 0xE7DCD5, 0xF4F4EE, 0xE5D7D7, 0xF7F3F3, dsNone},
        {bsWindowsXP, clBtnFace, clBtnFace, clBtnFace, clBtnFace, dsSingleLine},
        {bsOfficeXP, clBtnFace, clBtnFace, clBtnFace, clBtnFace, dsSingleLine},
        {bsWhidbeyStyle, 0xF5F9FA, 0xA8C0C0, 0xD7E5E5, 0xE7F2F3, dsDots},
        {bsWindowsVista, 0xFDF8F1, 0xFCEFD5, 0xFCEFD5, 0xFCEFD5, dsDots},
        {bsTerminal, clBtnFace, clBtnFace, clBtnFace, clBtnFace, dsDots},
        {bsOffice2010Blue, 0xFDF6EF, 0xF0DAC7, 0xF0DAC7, 0xFDF6EF, dsDots},
        {bsOffice2010Silver, 0xFFFFFF, 0xEDE5E0, 0xEDE5E0, 0xFFFFFF, dsDots},
        {bsOffice2010Black, 0xBFBFBF, 0x919191, 0x919191, 0xBFBFBF, dsDots},
        // The flat presets: the toolbar takes the page colour the pager made, here their own.
        {bsWindows8, 0xF7F6F5, clNone, 0xF7F6F5, 0xF7F6F5, dsDoubleLine},
        {bsWindows10, 0xF7F6F5, clNone, 0xF7F6F5, 0xF7F6F5, dsDoubleLine},
        {bsOffice2013White, 0xFFFFFF, clNone, 0xFFFFFF, 0xFFFFFF, dsDoubleLine},
        {bsOffice2013LightGray, 0xFAFAFA, clNone, 0xFAFAFA, 0xFAFAFA, dsDoubleLine},
        {bsOffice2013Gray, 0xF3F3F3, clNone, 0xF3F3F3, 0xF3F3F3, dsDoubleLine},
        {bsOffice2016White, 0xFFFFFF, clNone, 0xFFFFFF, 0xFFFFFF, dsDoubleLine},
        {bsOffice2016Gray, 0xB2B2B2, clNone, 0xB2B2B2, 0xB2B2B2, dsDoubleLine},
        {bsOffice2016Black, 0x363636, clNone, 0x363636, 0x363636, dsDoubleLine},
        {bsOffice2019Gray, 0xB8BBBE, clNone, 0xB8BBBE, 0xB8BBBE, dsNone},
        {bsOffice2019Black, 0x3B3B3B, clNone, 0x3B3B3B, 0x3B3B3B, dsNone},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(TEnumNames<TToolBarStyle>::Names[c.Style]);
        Styler.SetDragGripStyle(dsDoubleLine);
        Styler.SetStyle(c.Style);
        EXPECT_EQ(Styler.Style(), c.Style);
        EXPECT_EQ(Styler.Color()->Color(), c.Color);
        EXPECT_EQ(Styler.Color()->ColorTo(), c.ColorTo);
        EXPECT_EQ(Styler.Color()->Direction(), gdVertical);
        EXPECT_EQ(Styler.DockColor()->Color(), c.Dock);
        EXPECT_EQ(Styler.DockColor()->ColorTo(), c.DockTo);
        EXPECT_EQ(Styler.DockColor()->Direction(), gdHorizontal);
        EXPECT_EQ(Styler.DragGripStyle(), c.Grip);
    }
}

TEST_F(Presets, EachFamilyHandsThePagerItsGroupStyle) {
    AttachPager();
    struct TCase {
        TToolBarStyle Style;
        TGroupStyle Group;
    } cases[] = {{bsWindows8, gsWindows8},          {bsWindows10, gsWindows8},       {bsOffice2013White, gsOffice2013},
                 {bsOffice2013Gray, gsOffice2013},  {bsOffice2016White, gsOffice2013}, {bsOffice2016Black, gsOffice2013},
                 {bsOffice2019Gray, gsOffice2019},  {bsOffice2019Black, gsOffice2019}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(TEnumNames<TToolBarStyle>::Names[c.Style]);
        Pager.Calls.clear();
        Styler.SetStyle(c.Style);
        EXPECT_EQ(Pager.Calls, (std::vector<std::wstring>{L"ClearOfficeTones", L"SetOfficeTones"}));
        EXPECT_EQ(Pager.GroupStyle, c.Group);
        EXPECT_EQ(Styler.BorderColor(), Pager.PageAppearance()->Color());
    }
    // A classic preset only clears the pager's tones, and lays out its quick access toolbar.
    Pager.Calls.clear();
    Styler.SetStyle(bsOffice2007Luna);
    EXPECT_EQ(Pager.Calls, (std::vector<std::wstring>{L"ClearOfficeTones", L"UpdateQAT"}));
    EXPECT_EQ(Styler.SysButtonColor(), TColor(0xB99A82));
    EXPECT_EQ(Styler.PagerCaption()->Font()->Height(), -13);
}

TEST_F(Presets, TheWindows10PresetReportsTheWindows8Style) {
    Styler.SetStyle(bsWindows10);
    EXPECT_EQ(Styler.NewOVTStyle(), AdvStyleIF::tsWindows10);
    EXPECT_EQ(Styler.OVTStyle(), AdvStyleIF::tsWindows8);
    // Its disabled face is its normal one.
    EXPECT_EQ(Styler.GlowButtonAppearance()->ColorDisabled(), Styler.GlowButtonAppearance()->Color());
    EXPECT_EQ(Styler.GlowButtonAppearance()->BorderColorDisabled(), Styler.GlowButtonAppearance()->BorderColor());
}

TEST_F(Presets, WithoutAPagerTheFlatOfficePresetsColourTheToolBarThemselves) {
    Styler.SetStyle(bsOffice2013Gray);
    EXPECT_EQ(Styler.Color()->Color(), 0xC0C0C0);   // not its page colour F3F3F3
    EXPECT_EQ(Styler.BorderColor(), 0xABABAB);
    // Office 2013 takes its glow states from the application colours.
    EXPECT_EQ(Styler.GlowButtonAppearance()->ColorHot(), Styler.AppColor()->HoverColor());
    EXPECT_EQ(Styler.GlowButtonAppearance()->ColorHotTo(), clNone);
    EXPECT_EQ(Styler.GlowButtonAppearance()->ColorDown(), Styler.AppColor()->SelectedColor());
    Styler.SetStyle(bsOffice2016Black);
    EXPECT_EQ(Styler.TabAppearance()->TextColorHot(), 0x0000FF);
    EXPECT_EQ(Styler.TabAppearance()->TextColorSelected(), 0x00FFFF);
    EXPECT_EQ(Styler.ButtonAppearance()->CaptionTextColor(), clWhite);
}

TEST_F(Presets, TheOffice2003LooksShareTheOrangeStates) {
    for (TToolBarStyle style : {bsOffice2003Blue, bsOffice2003Silver, bsOffice2003Olive, bsWhidbeyStyle}) {
        SCOPED_TRACE(TEnumNames<TToolBarStyle>::Names[style]);
        Styler.SetStyle(style);
        EXPECT_EQ(HotFace(*Styler.GlowButtonAppearance()), (TFace{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB}));
        EXPECT_EQ(Styler.GlowButtonAppearance()->ColorDown(), 0x76AFF1);
        EXPECT_EQ(Styler.CompactGlowButtonAppearance()->ColorCheckedTo(), 0x78C7FE);
    }
    Styler.SetStyle(bsOffice2003Silver);   // the down handle colours stay what they were
    Styler.SetRightHandleColorDown(clRed);
    Styler.SetStyle(bsOffice2003Silver);
    EXPECT_EQ(Styler.RightHandleColorDown(), clRed);
}

TEST_F(Presets, Windows7IsFlatOnAScenicRibbonOrWithoutAPager) {
    const bool scenic = AdvGDIP::GetScenicRibbonFlag();
    struct TCase {
        bool Pager, Scenic;
        TColor Color, ColorTo;
    } cases[] = {{false, false, 0xDBC9BA, 0xDBC9BA}, {true, true, 0xDBC9BA, 0xDBC9BA}, {true, false, 0xFCEBDC, 0xFCDBC1}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "pager " << c.Pager << ", scenic " << c.Scenic);
        if (c.Pager) AttachPager();
        AdvGDIP::SetScenicRibbonFlag(c.Scenic);
        Styler.SetStyle(bsWindows7);
        EXPECT_EQ(Styler.Color()->Color(), c.Color);
        EXPECT_EQ(Styler.Color()->ColorTo(), c.ColorTo);
    }
    AdvGDIP::SetScenicRibbonFlag(scenic);
}

TEST_F(Presets, CustomChangesNothingAndStillTellsOnce) {
    AttachPager();
    Styler.SetStyle(bsOffice2010Blue);
    const TColor toolBar = Styler.Color()->Color();
    Log.clear();
    Pager.Calls.clear();
    Pager.HelpButtonUpdates = 0;
    Styler.SetStyle(bsCustom);
    EXPECT_EQ(Styler.Style(), bsCustom);
    EXPECT_EQ(Styler.Color()->Color(), toolBar);
    EXPECT_EQ(Styler.NewOVTStyle(), AdvStyleIF::tsOffice2010Blue);   // nothing handed to the pagers
    EXPECT_TRUE(Pager.Calls.empty());
    EXPECT_EQ(Pager.HelpButtonUpdates, 0);
    EXPECT_EQ(Log, (TLog{L"Panel:2", L"Pager:2"}));
}

TEST_F(Presets, ThePresetRunsSilentlyAndTheSameStyleAppliesAgain) {
    AttachPager();
    Styler.SetStyle(bsOffice2016Gray);
    Log.clear();
    Styler.Color()->SetColor(clRed);   // outside a preset every change is told at once
    EXPECT_EQ(Log, (TLog{L"Panel:2", L"Pager:2"}));
    Log.clear();
    Styler.SetStyle(bsOffice2016Gray);   // the same style is applied again, its hundreds of
    EXPECT_NE(Styler.Color()->Color(), clRed);   // changes told as one code at the end
    EXPECT_EQ(Log, (TLog{L"Panel:2", L"Pager:2"}));
}
