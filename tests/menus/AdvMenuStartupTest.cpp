// The menu units' start-up: the margin for the screen's resolution, the desktop's menu
// animation off while the program runs and back at its end, once per process.
#include "menus/AdvMenuStartup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "menus/AdvMenuUtil.h"

using namespace AdvMenus;

namespace {

struct TCall {
    unsigned Action;
    void* Param;
    unsigned WinIni;
    bool operator==(const TCall&) const = default;
};

// A desktop whose menu animation setting the test holds; it records every call.
class TFakeDesktop {
public:
    explicit TFakeDesktop(BOOL animation) : Animation(animation) {
        MenuStartupSeams().SystemParameters = [this](unsigned action, unsigned, void* param, unsigned winIni) {
            Calls.push_back({action, action == SPI_GETMENUANIMATION ? nullptr : param, winIni});
            if (action == SPI_GETMENUANIMATION) *static_cast<BOOL*>(param) = Animation;
            if (action == SPI_SETMENUANIMATION) Animation = param != nullptr;
            return true;
        };
    }
    BOOL Animation;
    std::vector<TCall> Calls;
private:
    TMenuStartupSeamsScope FScope;
};

BOOL RealMenuAnimation() {
    BOOL on = FALSE;
    ::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &on, 0);
    return on;
}

}  // namespace

TEST(MenuStartup, TheMarginIsSeventeenScaledHalvesToEven) {
    TMenuStartupSeamsScope scope;
    const int saved = MenuExtraWidth;
    struct TCase {
        int PixelsPerInch, Margin;
    } cases[] = {{96, 17}, {120, 21}, {144, 26}, {192, 34}, {0, 17}, {-5, 17}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.PixelsPerInch);
        MenuStartupSeams().PixelsPerInch = [&](void*) { return c.PixelsPerInch; };
        InitMenuMargin();
        EXPECT_EQ(MenuExtraWidth, c.Margin);
        EXPECT_FLOAT_EQ(GetMenuDPIScale(), (c.PixelsPerInch > 0 ? c.PixelsPerInch : 96) / 96.0f);
    }
    MenuExtraWidth = saved;
}

// Run once more at 144 dots per inch by the DPI test entry: the real desktop's resolution.
TEST(MenuStartup, TheMarginFollowsTheRealScreen) {
    const int saved = MenuExtraWidth;
    InitMenuMargin();
    HDC dc = ::GetDC(nullptr);
    const int ppi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(nullptr, dc);
    if (const char* expected = std::getenv("ATGEN_EXPECT_DPI")) {
        EXPECT_EQ(ppi, std::atoi(expected));   // the run at another resolution really has it
    }
    EXPECT_EQ(MenuExtraWidth, MenuMarginForDPI(ppi));
    if (ppi == 144) {
        EXPECT_EQ(MenuExtraWidth, 26);
    }
    MenuExtraWidth = saved;
}

TEST(MenuStartup, AnimationIsSavedSwitchedOffAndRestoredAsItWas) {
    for (BOOL before : {TRUE, FALSE}) {
        SCOPED_TRACE(before);
        TFakeDesktop desktop(before);
        SaveAndDisableMenuAnimation();
        EXPECT_FALSE(desktop.Animation);
        RestoreMenuAnimation();
        EXPECT_EQ(desktop.Animation, before);
        const std::vector<TCall> expected = {
            {SPI_GETMENUANIMATION, nullptr, 0},
            {SPI_SETMENUANIMATION, nullptr, SPIF_SENDCHANGE},   // off, told to the windows, not written to the profile
            {SPI_SETMENUANIMATION, before ? reinterpret_cast<void*>(1) : nullptr, SPIF_SENDCHANGE},
        };
        EXPECT_EQ(desktop.Calls, expected);
    }
}

TEST(MenuStartup, OneRealRoundTripPutsTheDesktopsSettingBack) {
    const BOOL start = RealMenuAnimation();
    SaveAndDisableMenuAnimation();
    EXPECT_FALSE(RealMenuAnimation());
    RestoreMenuAnimation();
    EXPECT_EQ(RealMenuAnimation(), start);
}

TEST(MenuStartup, OnlyTheFirstSessionStartsAndEndsTheUnit) {
    TFakeDesktop desktop(TRUE);
    {
        const TMenuUnitSession first;
        const size_t afterFirst = desktop.Calls.size();
        EXPECT_TRUE(AdvMenuUtil::LayeredWindowsAvailable());
        EXPECT_NE(AdvMenuUtil::UpdateLayeredWindowEntry(), nullptr);
        {
            const TMenuUnitSession second;
            EXPECT_EQ(desktop.Calls.size(), afterFirst);
        }
        EXPECT_EQ(desktop.Calls.size(), afterFirst);   // the second's end does nothing either
        EXPECT_FALSE(desktop.Animation);
    }
    EXPECT_TRUE(desktop.Animation);   // the first's end restores
}
