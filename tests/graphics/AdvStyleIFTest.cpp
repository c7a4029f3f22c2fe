#include "graphics/AdvStyleIF.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <map>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/Object.h"
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "graphics/FakeStyleEnvironment.h"

using namespace AdvStyleIF;
using namespace ClassLib;
using TestSupport::TFakeEnvironment;

namespace {

const String Office16 = L"Software\\Microsoft\\Office\\16.0\\Common";
const String Office14 = L"Software\\Microsoft\\Office\\14.0\\Common";
const String Office12 = L"Software\\Microsoft\\Office\\12.0\\Common";
const String Personalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

}  // namespace

TEST(StyleDetection, OfficeAndWindowsSettings) {
    struct TCase {
        const char* Name;
        std::function<void(TFakeEnvironment&)> Setup;
        bool UseXPThemes;
        TOVTStyle Style;
    };
    const TCase cases[] = {
        {"office 2016 dark", [](TFakeEnvironment& e) { e.AddString(Office16, L"UI Theme", L"4"); }, false, tsOffice2019Black},
        {"office 2016 as number", [](TFakeEnvironment& e) { e.AddNumber(Office16, L"UI Theme", 3); }, false, tsOffice2019Gray},
        {"office 2016 no value", [](TFakeEnvironment& e) { e.Keys.insert({Office16, true}); }, false, tsOffice2019White},
        {"office 2016 not a number", [](TFakeEnvironment& e) { e.AddString(Office16, L"UI Theme", L"x"); }, false, tsOffice2019White},
        {"office 2010 black", [](TFakeEnvironment& e) { e.AddNumber(Office14, L"Theme", 3); }, false, tsOffice2010Black},
        // A "Theme" of another type counts as missing, and detection goes on.
        {"office 2010 theme as text", [](TFakeEnvironment& e) { e.AddString(Office14, L"Theme", L"3"); }, false, tsWindows7},
        {"office 2007 silver", [](TFakeEnvironment& e) { e.AddNumber(Office12, L"Theme", 2); }, false, tsOffice2007Silver},
        {"office 2007 unknown", [](TFakeEnvironment& e) { e.AddNumber(Office12, L"Theme", 9); }, false, tsCustom},
        {"windows 10 dark", [](TFakeEnvironment& e) { e.VersionKind = 3; e.AddNumber(Personalize, L"AppsUseLightTheme", 0); }, false, tsOffice2019Black},
        {"windows 10 light", [](TFakeEnvironment& e) { e.VersionKind = 3; e.AddString(Personalize, L"AppsUseLightTheme", L"1"); }, false, tsWindows10},
        {"windows 10 no value", [](TFakeEnvironment& e) { e.VersionKind = 3; }, false, tsWindows10},
        {"windows 8", [](TFakeEnvironment& e) { e.VersionKind = 2; }, false, tsWindows8},
        {"xp olive", [](TFakeEnvironment& e) { e.ThemeKind = 2; }, true, tsOffice2003Olive},
        {"xp classic", [](TFakeEnvironment&) {}, true, tsOffice2003Classic},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeEnvironment environment;
        c.Setup(environment);
        EXPECT_EQ(DetectSystemStyle(c.UseXPThemes), c.Style);
    }
}

TEST(StyleDetection, OfficeThemeAndVersion) {
    TFakeEnvironment environment;
    environment.AddString(Office16, L"UI Theme", L"4");
    EXPECT_EQ(GetOfficeTheme(), ot2019Black);
    environment.Keys.insert({L"Software\\Microsoft\\Office\\14.0\\Common\\General", true});
    EXPECT_EQ(DetectOfficeVersion(), 2);
    environment.Keys.insert({L"Software\\Microsoft\\Office\\16.0\\Common\\General", true});
    EXPECT_EQ(DetectOfficeVersion(), 4);

    TFakeEnvironment none;
    none.ThemeKind = 3;
    EXPECT_EQ(GetOfficeTheme(), ot2003Silver);
    EXPECT_EQ(DetectOfficeVersion(), 0);
}

TEST(ColorTones, PresetsAndEmptiness) {
    TColorTones tones;
    EmptyColorTones(tones);
    EXPECT_TRUE(IsEmptyColorTones(tones));
    EXPECT_EQ(tones.Disabled.TextColor, clNone);

    DefaultColorTones(tones);
    EXPECT_FALSE(IsEmptyColorTones(tones));
    EXPECT_EQ(tones.Background, (TColorTone{clWindow, clHighlight, clWindowText}));
    EXPECT_EQ(tones.Hover, (TColorTone{clGray, clGray, clWhite}));
    EXPECT_EQ(tones.Disabled, (TColorTone{clWindow, clSilver, clSilver}));

    CreateMetroTones(true, 0xFF8000, clRed, tones);
    EXPECT_EQ(tones.Background, (TColorTone{clWhite, 0xFF8000, clBlack}));
    EXPECT_EQ(tones.Selected, (TColorTone{0xFF8000, 0xFF8000, clWhite}));
    EXPECT_EQ(tones.Hover, (TColorTone{0xCC6600, 0xCC6600, clWhite}));
    CreateMetroTones(false, 0xFF8000, clRed, tones);
    EXPECT_EQ(tones.Background, (TColorTone{clBlack, 0xFF8000, clWhite}));

    // Without application styles only the background brush is cleared.
    DefaultColorTones(tones);
    GetCustomStyleTones(tones);
    EXPECT_EQ(tones.Background.BrushColor, clNone);
    EXPECT_FALSE(IsEmptyColorTones(tones));
    EmptyColorTones(tones);
    GetCustomStyleTones(tones);
    EXPECT_TRUE(IsEmptyColorTones(tones));
}

TEST(ColorTones, FromAnApplicationStyle) {
    class TServices : public IAppStyleServices {
    public:
        bool Enabled() const override { return true; }
        String Name() const override { return L"Carbon"; }
        TStyleElementColors GridColors(TThemedGrid element) const override {
            switch (element) {
            case tgCellNormal: return {0x111111, 0x222222, 0x333333};
            case tgFixedCellNormal: return {0x444444, clNone, 0x444444};
            default: return {clNone, 0x555555, clNone};
            }
        }
        TColor StyleColor(TStyleColor color) const override { return color == scButtonHot ? 0x666666 : 0x777777; }
        TColor StyleFontColor(TStyleFont) const override { return 0x888888; }
    } services;
    SetAppStyleServices(&services);
    TColorTones tones;
    EmptyColorTones(tones);
    GetCustomStyleTones(tones);
    SetAppStyleServices(nullptr);
    EXPECT_EQ(tones.Foreground, (TColorTone{0x111111, 0x222222, 0x333333}));
    EXPECT_EQ(tones.Background, (TColorTone{0x444444, clNone, 0x444444 ^ 0xFFFFFF}));
    EXPECT_EQ(tones.Selected, (TColorTone{0x777777, 0x555555, 0x888888}));
    EXPECT_EQ(tones.Hover, (TColorTone{0x666666, 0x666666, 0x888888}));
    EXPECT_EQ(tones.Disabled, (TColorTone{0x777777, 0x777777, 0x888888}));

    EXPECT_TRUE(IsCustomStyleActive(services, false));
    EXPECT_TRUE(IsCustomStyleActive(services, true));
    EXPECT_FALSE(IsCustomStyleActive(AppStyleServices(), false));
}

TEST(ColorArithmetic, DarkenAndBrightness) {
    EXPECT_EQ(DarkenColor(0xFFFFFF, 20), 0xCCCCCC);
    EXPECT_EQ(DarkenColor(0x0A0A0A, 50), 0x050505);
    EXPECT_EQ(DarkenColor(0x808080, -200), 0xFFFFFF);  // limited to 255

    EXPECT_EQ(AdjustColorBrightness(0xC8C8C8, -10), 0xB4B4B4);  // value 200 -> 180
    EXPECT_EQ(AdjustColorBrightness(0xC8C8C8, 20), 0xF0F0F0);   // value 200 -> 240
    EXPECT_EQ(AdjustColorBrightness(0xFFFFFF, 50), 0xFFFFFF);
    EXPECT_EQ(AdjustColorBrightness(0xFFFFFF, -50), 0xFFFFFF);
    EXPECT_EQ(AdjustColorBrightness(0xC8C8C8, 500), 0xFFFFFF);
    // Saturation raised past 1 and brought to nothing: channels stay within 0..255.
    const TColor over = AdjustColorBrightness(0x80C0FF, 300);
    EXPECT_EQ(over & ~0xFFFFFF, 0);
    EXPECT_EQ(AdjustColorBrightness(0x0000FF, -100), 0xFFFFFF);

    double h, s, v;
    RGBToHSV(255, 0, 0, h, s, v);
    EXPECT_DOUBLE_EQ(h, 0);
    RGBToHSV(0, 0, 255, h, s, v);
    EXPECT_DOUBLE_EQ(h, 240);
    RGBToHSV(10, 10, 10, h, s, v);
    EXPECT_TRUE(std::isnan(h));
    double r, g, b;
    HSVToRGB(120, 1, 200, r, g, b);
    EXPECT_EQ((std::tuple{r, g, b}), (std::tuple{0.0, 200.0, 0.0}));
    EXPECT_THROW(HSVToRGB(30, 0, 10, r, g, b), ClassLib::Exception);
}

TEST(StyleHelpers, NamesAndScales) {
    EXPECT_FALSE(IsLightStyle(tsOffice2019Black));
    EXPECT_FALSE(IsLightStyle(tsOffice2019Gray));
    EXPECT_TRUE(IsLightStyle(tsOffice2019White));
    EXPECT_EQ(int(tsOffice2019Black), 26);
    EXPECT_EQ(int(otUnknown), 19);
    EXPECT_EQ(GetDefaultFontName(), IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
    EXPECT_GT(GetDPIScale(HDC(nullptr)), 0.0f);
    EXPECT_EQ(GetTextDPIScale(nullptr, false), 1.0f);
    EXPECT_GT(TextHeightAtDPI(96, 9), 0);
    EXPECT_GT(TextHeightAtDPI(192, 9), TextHeightAtDPI(96, 9));
}

TEST(StyleHelpers, CanvasFontScaling) {
    ClassLib::TCanvas canvas;
    ClassLib::TFont font;
    font.SetName(L"Tahoma");
    font.SetHeight(-12);
    const int points = ScaleCanvasFont(&canvas, &font, 1.5);
    EXPECT_EQ(canvas.Font()->Height(), -18);
    EXPECT_EQ(canvas.Font()->Name(), L"Tahoma");
    EXPECT_EQ(points, canvas.Font()->Size());
    EXPECT_GT(GetDPIScale(nullptr, &canvas), 0.0f);  // no handle: the screen's
    ClassLib::TCustomForm form(nullptr);
    EXPECT_EQ(GetCanvasTextScale(&canvas, &form), 1.0f);
    EXPECT_EQ(GetDPIScale(&form, &canvas), 1.0f);
}

TEST(StyleHelpers, DPIScaleOfAControlFollowsItsFormsScaling) {
    ClassLib::TForm form(nullptr);
    ClassLib::TPanel panel(nullptr);
    panel.SetParent(&form);
    ClassLib::TCanvas canvas;
    const float screen = float(ClassLib::Screen->PixelsPerInch()) / 96.0f;
    EXPECT_FLOAT_EQ(GetDPIScale(&panel, nullptr), screen);
    EXPECT_FLOAT_EQ(GetDPIScale(&panel, &canvas), screen);
    form.SetScaled(false);
    EXPECT_EQ(GetDPIScale(&panel, nullptr), 1.0f);
    EXPECT_EQ(GetCanvasTextScale(&canvas, &form), 1.0f);
    panel.SetParent(nullptr);
}

TEST(StyleHelpers, FormStylerStyle) {
    class TStylerStub : public ClassLib::TComponent, public IFormStylerStyle {
    public:
        TStylerStub(ClassLib::TComponent* owner, bool enabled, TOVTStyle style)
            : TComponent(owner), FEnabled(enabled), FStyle(style) {}
        bool FormStylerEnabled() const override { return FEnabled; }
        TOVTStyle FormStylerStyle() const override { return FStyle; }
    private:
        bool FEnabled;
        TOVTStyle FStyle;
    };
    ClassLib::TCustomForm form(nullptr);
    auto* panel = new ClassLib::TWinControl(&form);
    panel->SetParent(&form);
    auto* inner = new ClassLib::TWinControl(&form);
    inner->SetParent(panel);
    ClassLib::TComponent loose(nullptr);
    EXPECT_EQ(GetFormStylerStyle(nullptr, tsOffice2019White), tsOffice2019White);
    EXPECT_EQ(GetFormStylerStyle(&form, tsOffice2019White), tsOffice2019White);
    new ClassLib::TComponent(&form);
    new TStylerStub(&form, false, tsWindows10);
    new TStylerStub(&form, true, tsCustom);
    EXPECT_EQ(GetFormStylerStyle(&form, tsOffice2019White), tsOffice2019White);
    new TStylerStub(&form, true, tsOffice2013Gray);
    new TStylerStub(&form, true, tsWindows8);
    EXPECT_EQ(GetFormStylerStyle(&form, tsOffice2019White), tsOffice2013Gray);
    EXPECT_EQ(GetFormStylerStyle(inner, tsOffice2019White), tsOffice2013Gray);  // through its form
    new TStylerStub(&loose, true, tsWindows8);
    EXPECT_EQ(GetFormStylerStyle(&loose, tsOffice2019White), tsOffice2019White);  // not a form
    EXPECT_EQ(GetFormStylerStyleOf(&loose, tsOffice2019White), tsWindows8);
}
