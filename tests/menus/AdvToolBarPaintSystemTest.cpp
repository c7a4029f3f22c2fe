// The toolbar unit's scale state, and its system and focus queries against real windows
// and against the platform asked another way.
#include "menus/AdvToolBarSystem.h"

#include <windows.h>
#include <shlwapi.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "classlib/EditControls.h"
#include "classlib/Form.h"
#include "classlib/HintWindow.h"
#include "classlib/Shape.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvTBXPVS.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/ToolBarPaintTestSupport.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

int ScreenResolution() {
    HDC screen = ::GetDC(nullptr);
    const int ppi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return ppi;
}

// Each test starts from the state before the first InitDPIScale and leaves it so.
class ToolBarPaintDPI : public testing::Test {
protected:
    void SetUp() override { AdvToolBar::ResetDPIScale(); }
    void TearDown() override { AdvToolBar::ResetDPIScale(); }
};

}  // namespace

TEST_F(ToolBarPaintDPI, TheFirstCallAloneSetsTheScale) {
    using namespace AdvToolBar;
    REQUIRE_DISPLAY();
    EXPECT_FALSE(DPIInitialized);
    InitDPIScale(96);
    EXPECT_TRUE(DPIInitialized);
    EXPECT_EQ(DPIScaleFactor, 1.0f);
    EXPECT_EQ(ToolBarCaptionHeight, 16);
    EXPECT_EQ(PagerCaptionHeight, 26);
    EXPECT_EQ(PagerTabHeight, 26);
    EXPECT_EQ(FormPixelsPerInch, 96);
    EXPECT_EQ(AdvToolBar::ScreenPixelsPerInch, ScreenResolution());
    InitDPIScale(144);  // the scale of the process stays the first form's
    EXPECT_EQ(FormPixelsPerInch, 96);
    EXPECT_EQ(DPIScaleFactor, 1.0f);

    // A form that does not scale keeps 1.0 at any resolution.
    ResetDPIScale();
    FormIsScaled = false;
    EXPECT_EQ(CalcDPIScale(144), 1.0f);
    InitDPIScale(144);
    EXPECT_EQ(FormPixelsPerInch, 144);
    EXPECT_EQ(DPIScaleFactor, 1.0f);
    EXPECT_EQ(ToolBarCaptionHeight, 16);
    EXPECT_EQ(PagerCaptionHeight, 26);
    // A scaled one at 144 grows by its text heights.
    FormIsScaled = true;
    EXPECT_GT(CalcDPIScale(144), 1.3f);
}

// Also run on a screen of 144 pixels per inch (CTest entry toolbarpaint_144dpi).
TEST_F(ToolBarPaintDPI, TheScreensResolutionScalesTheCaptionHeights) {
    using namespace AdvToolBar;
    REQUIRE_DISPLAY();
    const int ppi = ScreenResolution();
    InitDPIScale(ppi);
    EXPECT_EQ(AdvToolBar::ScreenPixelsPerInch, ppi);
    EXPECT_EQ(FormPixelsPerInch, ppi);
    const float expected = ppi == 96 ? 1.0f : float(TextHeightAtDPI(ppi, 9)) / float(TextHeightAtDPI(96, 9));
    EXPECT_EQ(DPIScaleFactor, expected);
    EXPECT_EQ(ToolBarCaptionHeight, int(std::nearbyint(16 * expected)));
    EXPECT_EQ(PagerCaptionHeight, int(std::nearbyint(26 * expected)));
    if (ppi == 144) {
        EXPECT_GT(ToolBarCaptionHeight, 20);
        EXPECT_GT(PagerCaptionHeight, 35);
    }
}

TEST(ToolBarPaintQueries, AgreeWithThePlatformAskedAnotherWay) {
    // The version ntdll reports through its other export.
    using TNtVersion = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    const auto ntVersion = reinterpret_cast<TNtVersion>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers")));
    int major = -1, minor = -1;
    AdvToolBar::GetOSVersionNumbers(major, minor);
    if (ntVersion) {
        DWORD ntMajor = 0, ntMinor = 0, build = 0;
        ntVersion(&ntMajor, &ntMinor, &build);
        EXPECT_EQ(major, int(ntMajor));
        EXPECT_EQ(minor, int(ntMinor));
    } else {
        EXPECT_GE(major, 5);
    }

    // The common controls' own version, from the library the process has.
    HMODULE comctl = ::LoadLibraryW(L"COMCTL32.DLL");
    ASSERT_NE(comctl, nullptr);
    using TDllGetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    const auto getVersion =
        reinterpret_cast<TDllGetVersion>(reinterpret_cast<void*>(::GetProcAddress(comctl, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(getVersion(&info), S_OK);
    EXPECT_EQ(AdvToolBar::IsComCtl6(), info.dwMajorVersion > 5);
    ::FreeLibrary(comctl);

    // This build has no application styles.
    EXPECT_FALSE(AdvToolBar::IsCustomStyleEnabled());
}

namespace {

// Stands in for the toolbars' container, which is told by its class name.
class TAdvToolBarContainer : public TCustomControl {
    CLASSLIB_CLASS(TAdvToolBarContainer, TCustomControl)
public:
    explicit TAdvToolBarContainer(TComponent* owner) : TCustomControl(owner) {}
};
class TDerivedContainer : public TAdvToolBarContainer {
    CLASSLIB_CLASS(TDerivedContainer, TAdvToolBarContainer)
public:
    explicit TDerivedContainer(TComponent* owner) : TAdvToolBarContainer(owner) {}
};
CLASSLIB_IMPLEMENT(TAdvToolBarContainer, TCustomControl)
CLASSLIB_IMPLEMENT(TDerivedContainer, TAdvToolBarContainer)

class ToolBarPaintWindows : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        ToolBarPaintTests::GdiplusSession();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetName(L"Form");
        FForm->SetBounds(50, 50, 400, 300);
        FPanel = Add<TPanel>(L"Panel", FForm.get(), 10, 10, 200, 100);
        FEdit = Add<TEdit>(L"Edit", FPanel, 10, 10, 100, 24);
        FForm->Show();
        TestSupport::PumpMessages();
    }
    template <class T> T* Add(const wchar_t* name, TWinControl* parent, int x, int y, int w, int h) {
        auto* control = new T(FForm.get());
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(x, y, w, h);
        return control;
    }
    std::unique_ptr<TForm> FForm;
    TPanel* FPanel = nullptr;
    TEdit* FEdit = nullptr;
};

}  // namespace

TEST_F(ToolBarPaintWindows, ChainVisibilityAndFocusInsideAControl) {
    REQUIRE_DISPLAY();
    EXPECT_FALSE(AdvToolBar::IsControlChainVisible(nullptr));
    EXPECT_TRUE(AdvToolBar::IsControlChainVisible(FEdit));
    FPanel->SetVisible(false);
    EXPECT_FALSE(AdvToolBar::IsControlChainVisible(FEdit));
    FPanel->SetVisible(true);
    FEdit->SetVisible(false);
    EXPECT_FALSE(AdvToolBar::IsControlChainVisible(FEdit));
    FEdit->SetVisible(true);

    FEdit->SetFocus();
    TestSupport::PumpMessages();
    ASSERT_EQ(::GetFocus(), FEdit->Handle());
    EXPECT_TRUE(AdvToolBar::ContainsFocus(FPanel));
    EXPECT_TRUE(AdvToolBar::ContainsFocus(FForm.get()));
    EXPECT_FALSE(AdvToolBar::ContainsFocus(FEdit));  // the focused window itself is not inside itself
    auto* away = Add<TPanel>(L"Away", FForm.get(), 220, 10, 100, 100);
    EXPECT_FALSE(AdvToolBar::ContainsFocus(away));
    TPanel unparented(nullptr);  // no window
    EXPECT_FALSE(AdvToolBar::ContainsFocus(&unparented));
    EXPECT_FALSE(AdvToolBar::ContainsFocus(nullptr));
}

TEST_F(ToolBarPaintWindows, RemoveNonFocusableKeepsTheOthersInTheirOrder) {
    REQUIRE_DISPLAY();
    auto* shape = Add<TShape>(L"Shape", FForm.get(), 220, 10, 20, 20);
    auto* disabled = Add<TEdit>(L"Disabled", FForm.get(), 220, 40, 60, 24);
    disabled->SetEnabled(false);
    auto* container = Add<TAdvToolBarContainer>(L"Container", FForm.get(), 220, 70, 60, 24);
    auto* derived = Add<TDerivedContainer>(L"Derived", FForm.get(), 220, 100, 60, 24);
    auto* hint = new THintWindow(FForm.get());
    auto* hidden = Add<TEdit>(L"Hidden", FPanel, 10, 40, 60, 24);
    hidden->SetVisible(false);
    AdvToolBar::TDbgList list;
    for (TObject* item : std::initializer_list<TObject*>{shape, disabled, FEdit, container, hint, derived, FPanel, hidden})
        list.Add(item);
    AdvToolBar::RemoveNonFocusable(&list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0), shape);  // graphic controls stay
    EXPECT_EQ(list.Items(1), FEdit);
    EXPECT_EQ(list.Items(2), FPanel);
    AdvToolBar::RemoveNonFocusable(nullptr);
}

TEST_F(ToolBarPaintWindows, AGlassCaptionWithoutItsThemeClassDrawsNothing) {
    REQUIRE_DISPLAY();
    // Wine has no "CompositedWindow::Window" class; where it has, this path is not the one.
    const auto openTheme = reinterpret_cast<decltype(&::OpenThemeData)>(
        reinterpret_cast<void*>(AdvTBXPVS::ThemeLibrary().Entry(AdvThemeBinding::tfOpenThemeData)));
    if (openTheme) {
        if (HTHEME theme = openTheme(FForm->Handle(), L"CompositedWindow::Window")) {
            reinterpret_cast<decltype(&::CloseThemeData)>(
                reinterpret_cast<void*>(AdvTBXPVS::ThemeLibrary().Entry(AdvThemeBinding::tfCloseThemeData)))(theme);
            GTEST_SKIP() << "the composited window theme class exists here";
        }
    }
    HDC dc = ::GetDC(FForm->Handle());
    const RECT area{0, 120, 300, 150};
    HBRUSH brush = ::CreateSolidBrush(RGB(10, 200, 30));
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
    AdvToolBar::DrawGlassCaption(FForm.get(), L"Caption", TRect{0, 120, 300, 150}, true, TRect{10, 122, 100, 148},
                                 clYellow, true);
    EXPECT_EQ(::GetPixel(dc, 150, 135), RGB(10, 200, 30));
    EXPECT_EQ(::GetPixel(dc, 50, 125), RGB(10, 200, 30));
    ::ReleaseDC(FForm->Handle(), dc);
}
