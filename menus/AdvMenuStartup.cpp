#include "menus/AdvMenuStartup.h"

#include <windows.h>

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Strings.h"
#include "menus/AdvMenuUtil.h"

namespace AdvMenus {

int MenuExtraWidth = 17;

namespace {

BOOL SavedMenuAnimation = FALSE;
int MenuUnitSessions = 0;

TMenuStartupSeams PlatformSeams() {
    TMenuStartupSeams seams;
    seams.SystemParameters = [](unsigned action, unsigned param, void* pvParam, unsigned winIni) {
        return ::SystemParametersInfoW(action, param, pvParam, winIni) != FALSE;
    };
    seams.PixelsPerInch = [](void* window) {
        HWND wnd = static_cast<HWND>(window);
        HDC dc = ::GetDC(wnd);
        if (!dc) return 0;
        const int ppi = ::GetDeviceCaps(dc, LOGPIXELSX);
        ::ReleaseDC(wnd, dc);
        return ppi;
    };
    return seams;
}

}  // namespace

TMenuStartupSeams& MenuStartupSeams() {
    static TMenuStartupSeams seams = PlatformSeams();
    return seams;
}

int MenuMarginForDPI(int pixelsPerInch) {
    if (pixelsPerInch <= 0) pixelsPerInch = 96;
    return int(ClassLib::Round(17.0 * pixelsPerInch / 96.0));
}

namespace {
// A failing device context reads as 96.
int MenuPixelsPerInch() {
    HWND window = ::GetDesktopWindow();
    ClassLib::TCustomForm* mainForm = ClassLib::Application ? ClassLib::Application->MainForm() : nullptr;
    if (mainForm && mainForm->HandleAllocated()) window = mainForm->Handle();
    const int ppi = MenuStartupSeams().PixelsPerInch(window);
    return ppi > 0 ? ppi : 96;
}
}  // namespace

float GetMenuDPIScale() { return float(MenuPixelsPerInch()) / 96.0f; }

void InitMenuMargin() { MenuExtraWidth = MenuMarginForDPI(MenuPixelsPerInch()); }

void SaveAndDisableMenuAnimation() {
    MenuStartupSeams().SystemParameters(SPI_GETMENUANIMATION, 0, &SavedMenuAnimation, 0);
    DisableMenuAnimation();
}

void DisableMenuAnimation() {
    MenuStartupSeams().SystemParameters(SPI_SETMENUANIMATION, 0, nullptr, SPIF_SENDCHANGE);
}

void RestoreMenuAnimation() {
    // The flag travels in pvParam itself, not behind it.
    MenuStartupSeams().SystemParameters(SPI_SETMENUANIMATION, 0,
                                            reinterpret_cast<void*>(static_cast<UINT_PTR>(SavedMenuAnimation ? 1 : 0)),
                                            SPIF_SENDCHANGE);
}

TMenuUnitSession::TMenuUnitSession() {
    if (MenuUnitSessions++ > 0) return;
    AdvMenuUtil::InitLayeredWindowEntries();
    InitMenuMargin();
    SaveAndDisableMenuAnimation();
}

TMenuUnitSession::~TMenuUnitSession() {
    if (--MenuUnitSessions == 0) RestoreMenuAnimation();
}

}  // namespace AdvMenus
