// The office toolbar styler: application styles and colours, colour tones, following the
// Office theme, and what Loaded re-applies.
#include "menus/AdvToolBarStylers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "classlib/Form.h"
#include "graphics/AdvThemeNotifier.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"
#include "tests/graphics/FakeStyleEnvironment.h"
#include "tests/menus/FakeStylerClients.h"

using namespace ClassLib;
using namespace AdvToolBarStylers;
using AdvToolBar::TStylerClientKind;
using StylerTests::TFakeClient;
using StylerTests::TLog;

namespace {

// An Office 2016 or later as the style detection and the theme notifier find it.
const std::wstring OfficeCommon = L"Software\\Microsoft\\Office\\16.0\\Common";

class TOffice2016 : public TestSupport::TFakeEnvironment {
public:
    TOffice2016() {
        Keys.insert({OfficeCommon, true});
        Keys.insert({OfficeCommon + L"\\General", true});
        SetTheme(0);
    }
    // 0 white, 3 dark grey, 4 black.
    void SetTheme(std::uint32_t theme) { Numbers[OfficeCommon + L"|UI Theme"] = theme; }
};

}  // namespace

TEST(OfficeToolBarStyler, StartsAsOffice2003BlueWithoutApplyingIt) {
    TAdvToolBarOfficeStyler styler(nullptr);
    EXPECT_EQ(styler.Style(), bsOffice2003Blue);
    EXPECT_EQ(styler.Color()->Color(), clWhite);   // the base's values: no preset yet
    EXPECT_EQ(styler.DockColor()->ColorTo(), clBtnFace);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&styler), 5);
    ASSERT_NE(styler.NotifierWindow(), nullptr);
    EXPECT_EQ(styler.NotifierWindow()->Owner(), &styler);
}

TEST(OfficeToolBarStyler, ShadesAndTheLuminanceLine) {
    struct TCase {
        TColor Colour;
        int Percent;
        TColor Shaded;
    } shades[] = {
        {clWhite, -30, 0xB2B2B2},        // 255 - 76.5 = 178.5, halves to even: 178
        {0x0A141E, 50, 0x0F1E2D},        // 15, 30, 45
        {0x808080, 200, clWhite},         // kept within 255
        {0x102030, -150, clBlack},       // and not below 0
    };
    for (const TCase& c : shades) {
        SCOPED_TRACE(c.Colour);
        EXPECT_EQ(ShadeColor(c.Colour, c.Percent), c.Shaded);
    }
    EXPECT_TRUE(IsDarkColor(RGBToColor(186, 186, 186)));
    EXPECT_FALSE(IsDarkColor(RGBToColor(187, 187, 187)));
    EXPECT_EQ(SwapRB(0x112233), TColor(0x332211));
}

// The application colour sets the button colour and a hover colour shaded from it: darker
// for a light colour, lighter for a dark one (Office 2019 white shades three).
TEST(OfficeToolBarStyler, TheApplicationColourTable) {
    struct TCase {
        const char* Name;
        TColor App;
        AdvStyleIF::TOVTStyle Style;
        int Hover;   // the button hover shade in percent
    } cases[] = {
        {"white", clWhite, AdvStyleIF::tsOffice2016White, -30},
        {"grey 186, dark", RGBToColor(186, 186, 186), AdvStyleIF::tsOffice2016White, 30},
        {"grey 187, light", RGBToColor(187, 187, 187), AdvStyleIF::tsOffice2016White, -30},
        {"red, dark", 0x0000FF, AdvStyleIF::tsOffice2013White, 30},
        {"blue, dark", 0xFF0000, AdvStyleIF::tsCustom, 30},
        {"yellow, light", 0x00FFFF, AdvStyleIF::tsOffice2010Blue, -30},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvToolBarOfficeStyler styler(nullptr);
        styler.SetComponentStyleAndAppColor(c.Style, c.App);
        EXPECT_EQ(styler.AppColor()->AppButtonColor(), c.App);
        EXPECT_EQ(styler.AppColor()->AppButtonHoverColor(), ShadeColor(c.App, c.Hover));
    }
    for (TColor app : {TColor(0x00FFFF), TColor(0xFF0000)}) {
        SCOPED_TRACE(app);
        const bool dark = IsDarkColor(app);
        TAdvToolBarOfficeStyler styler(nullptr);
        styler.SetComponentStyleAndAppColor(AdvStyleIF::tsOffice2019White, app);
        EXPECT_EQ(styler.AppColor()->AppButtonHoverColor(), ShadeColor(app, dark ? -15 : 15));
        EXPECT_EQ(styler.AppColor()->SelectedColor(), ShadeColor(app, dark ? -15 : 15));
        EXPECT_EQ(styler.AppColor()->HoverColor(), ShadeColor(app, dark ? 30 : -30));
    }
}

TEST(OfficeToolBarStyler, EachApplicationStyleSelectsItsPreset) {
    TAdvToolBarOfficeStyler styler(nullptr);
    for (int i = 0; i <= int(AdvStyleIF::tsOffice2019Black); ++i) {
        const auto style = AdvStyleIF::TOVTStyle(i);
        SCOPED_TRACE(i);
        styler.SetComponentStyle(AdvStyleIF::tsOffice2019Black);
        styler.SetComponentStyle(style);
        if (style == AdvStyleIF::tsCustom) {
            EXPECT_EQ(styler.Style(), bsOffice2019Black);   // nothing applied
            continue;
        }
        EXPECT_EQ(UIStyleOf(styler.Style()), style);
    }
    styler.SetComponentStyle(AdvStyleIF::tsWhidbey);
    EXPECT_EQ(styler.Style(), bsWhidbeyStyle);
    styler.SetComponentStyle(AdvStyleIF::tsWindowsXP);
    EXPECT_EQ(styler.Style(), bsWindowsXP);   // no application style selects bsOfficeXP
}

TEST(OfficeToolBarStyler, ColourTonesGiveTheOffice2016WhitePresetWithTheForegroundColour) {
    TAdvToolBarOfficeStyler styler(nullptr);
    AdvStyleIF::TColorTones tones;
    AdvStyleIF::EmptyColorTones(tones);
    tones.Foreground.BrushColor = 0x0000FF;
    tones.Background.BrushColor = 0x00FF00;
    styler.SetColorTones(tones);
    EXPECT_EQ(styler.Style(), bsOffice2016White);
    EXPECT_EQ(styler.AppColor()->AppButtonColor(), TColor(0x0000FF));
}

TEST(OfficeToolBarStyler, LoadedAppliesOnlyThePagerDependentPresetsAgain) {
    struct TCase {
        TToolBarStyle Style;
        bool Again;
    } cases[] = {{bsWindows8, true},   {bsOffice2013White, true}, {bsOffice2013LightGray, true},
                 {bsOffice2013Gray, true}, {bsOffice2010Blue, false}, {bsOffice2019White, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TAdvToolBarOfficeStyler styler(nullptr);
        TLog log;
        TFakeClient panel(TStylerClientKind::DockPanel, L"Panel", &log);
        panel.SetToolBarStyler(&styler);
        styler.BeginLoading();
        styler.SetStyle(c.Style);   // read from a description: applied, but nobody told
        EXPECT_TRUE(log.empty());
        styler.DockColor()->SetColor(clRed);
        styler.Loaded();
        EXPECT_EQ(styler.Style(), c.Style);
        EXPECT_EQ(log, c.Again ? TLog{L"Panel:2"} : TLog{});
        EXPECT_EQ(styler.DockColor()->Color() == clRed, !c.Again);
        panel.SetToolBarStyler(nullptr);
    }
}

TEST(OfficeToolBarStyler, FollowsTheDetectedOfficeThemeWhileAdapting) {
    TOffice2016 office;
    TAdvToolBarOfficeStyler styler(nullptr);
    styler.ThemeChanged();   // not adapting: nothing
    EXPECT_EQ(styler.Style(), bsOffice2003Blue);
    styler.SetAutoThemeAdapt(true);
    EXPECT_EQ(styler.Style(), bsOffice2019White);
    office.SetTheme(4);
    styler.ThemeChanged();
    EXPECT_EQ(styler.Style(), bsOffice2019Black);
    styler.SetStyle(bsOffice2010Blue);
    styler.ThemeChanged();   // the same theme as last time: left alone
    EXPECT_EQ(styler.Style(), bsOffice2010Blue);
    styler.SetAutoThemeAdapt(false);
    office.SetTheme(3);
    styler.ThemeChanged();
    EXPECT_EQ(styler.Style(), bsOffice2010Blue);
}

namespace {
void SetOfficeValue(const wchar_t* value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, OfficeCommon.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD size = DWORD((std::wcslen(value) + 1) * sizeof(wchar_t));
    EXPECT_EQ(::RegSetValueExW(key, L"UI Theme", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

// The fake Office lives for the test only: environment put back and key removed whatever
// an assertion cut short.
class OfficeToolBarStylerTheme : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0"); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0"); }
    TOffice2016 Office;
};
}  // namespace

TEST_F(OfficeToolBarStylerTheme, TheNotifierWindowAndTheApplicationsNotifierReachTheStyler) {
    REQUIRE_DISPLAY();
    SetOfficeValue(L"0");
    HANDLE worker = nullptr;
    {
        TForm form(nullptr);
        auto* styler = new TAdvToolBarOfficeStyler(&form);
        EXPECT_EQ(styler->NotifierWindow()->Parent(), &form);
        HWND notifier = styler->NotifierWindow()->Handle();
        styler->SetAutoThemeAdapt(true);
        EXPECT_EQ(styler->Style(), bsOffice2019White);
        Office.SetTheme(4);
        ::SendMessageW(notifier, WM_THEMECHANGED, 0, 0);
        EXPECT_EQ(styler->Style(), bsOffice2019Black);
        Office.SetTheme(3);
        ::SendMessageW(notifier, AdvStyleIF::WM_OFFICETHEMECHANGED, 0, 0);
        EXPECT_EQ(styler->Style(), bsOffice2019Gray);

        // Registered with the application's notifier, a change of the Office key reaches it.
        AdvStyleIF::TThemeNotifier* shared = AdvStyleIF::GetThemeNotifier(&form);
        ASSERT_TRUE(shared->Watching());
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), shared->WorkerHandle(), ::GetCurrentProcess(), &worker,
                                      SYNCHRONIZE, FALSE, 0));
        ASSERT_TRUE(shared->WaitWatching(10000));
        Office.SetTheme(0);
        SetOfficeValue(L"1");   // a value that differs, so the key reports a change
        EXPECT_TRUE(TestSupport::PumpUntil([&] { return styler->Style() == bsOffice2019White; }));

        styler->SetAutoThemeAdapt(false);   // unregistered: a further change no longer reaches it
        Office.SetTheme(4);
        SetOfficeValue(L"4");
        const ULONGLONG start = ::GetTickCount64();
        TestSupport::PumpUntil([&] { return ::GetTickCount64() - start >= 1000; });
        EXPECT_EQ(styler->Style(), bsOffice2019White);
        styler->SetAutoThemeAdapt(true);    // the form goes while the styler is registered
    }
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }));
    ::CloseHandle(worker);
}
