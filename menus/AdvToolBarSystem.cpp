#include "menus/AdvToolBarSystem.h"

#include <windows.h>
#include <shellapi.h>

#include <cmath>

#include "classlib/Control.h"
#include "classlib/GdiScopes.h"
#include "classlib/HintWindow.h"
#include "graphics/AdvDWM.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarBase.h"

namespace AdvToolBar {

namespace {

constexpr float InitialScale = 1.0f;
constexpr int InitialPixelsPerInch = 96;
constexpr int InitialToolBarCaptionHeight = 16;
constexpr int InitialPagerCaptionHeight = 26;

// Halves to even, as the unit's scaled sizes are written.
int Round(double value) { return int(std::nearbyint(value)); }

// By name up the class chain: the toolbar container is a class of the toolbars above this
// unit, so its name is what can be known of it here.
bool InheritsFromName(const ClassLib::TObject* object, const wchar_t* name) {
    for (const ClassLib::TClass* cls = &object->ClassType(); cls; cls = cls->ClassParent())
        if (cls->ClassName() == name) return true;
    return false;
}

bool IsNonFocusable(const ClassLib::TObject* item) {
    if (dynamic_cast<const ClassLib::THintWindow*>(item) || InheritsFromName(item, L"TAdvToolBarContainer"))
        return true;
    const auto* control = dynamic_cast<const ClassLib::TWinControl*>(item);
    return control && !control->CanFocus();
}

}  // namespace

bool DPIInitialized = false;
bool FormIsScaled = true;
int FormPixelsPerInch = InitialPixelsPerInch;
int ScreenPixelsPerInch = InitialPixelsPerInch;
float DPIScaleFactor = InitialScale;
int ToolBarCaptionHeight = InitialToolBarCaptionHeight;
int PagerCaptionHeight = InitialPagerCaptionHeight;
int PagerTabHeight = 26;

float CalcDPIScale(int ppi) {
    if (!FormIsScaled || ppi == 96) return 1.0f;
    const int base = TextHeightAtDPI(96, 9);
    // No screen to measure on: unscaled rather than a division by zero.
    if (base <= 0) return 1.0f;
    return float(TextHeightAtDPI(ppi, 9)) / float(base);
}

void InitDPIScale(int ppi) {
    if (DPIInitialized) return;
    FormPixelsPerInch = ppi;
    const ClassLib::TWindowDC screen;
    if (screen.Handle()) ScreenPixelsPerInch = ::GetDeviceCaps(screen.Handle(), LOGPIXELSX);
    DPIScaleFactor = CalcDPIScale(ppi);
    DPIInitialized = true;
    ToolBarCaptionHeight = Round(16 * DPIScaleFactor);
    PagerCaptionHeight = Round(26 * DPIScaleFactor);
}

void ResetDPIScale() {
    DPIInitialized = false;
    FormIsScaled = true;
    FormPixelsPerInch = ScreenPixelsPerInch = InitialPixelsPerInch;
    DPIScaleFactor = InitialScale;
    ToolBarCaptionHeight = InitialToolBarCaptionHeight;
    PagerCaptionHeight = InitialPagerCaptionHeight;
    // The rest of the process-wide state a pager leaves behind.
    PagerTabHeight = 26;
    AdvStyleIF::EmptyColorTones(RibbonColorTones);
    AdvStyleIF::EmptyColorTones(AppButtonColorTones);
    AdvGDIP::SetScenicRibbonFlag(false);
    AdvGDIP::SetGlassFlag(false);
}

void GetOSVersionNumbers(int& major, int& minor) {
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return;
    const auto getVersion =
        reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    if (!getVersion) return;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (getVersion(&info) != 0) return;
    major = int(info.dwMajorVersion);
    minor = int(info.dwMinorVersion);
}

AdvStyleIF::IAppStyleServices& GetStyleServices() { return AdvStyleIF::AppStyleServices(); }

bool IsCustomStyleEnabled() { return GetStyleServices().Enabled(); }

bool IsCompositionEnabled() {
    BOOL enabled = FALSE;
    return AdvDWM::DwmIsCompositionEnabled(enabled) == S_OK && enabled;
}

bool IsTaskbarAutoHide() {
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    return (::SHAppBarMessage(ABM_GETSTATE, &data) & ABS_AUTOHIDE) != 0;
}

bool IsControlChainVisible(const ClassLib::TControl* control) {
    if (!control) return false;
    for (const ClassLib::TControl* c = control; c; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
}

bool ContainsFocus(ClassLib::TWinControl* control) {
    if (!control || !control->Enabled() || !control->HandleAllocated()) return false;
    const HWND target = control->Handle();
    HWND window = ::GetFocus();
    for (int i = 0; window && i < 50; ++i) {
        window = ::GetParent(window);
        if (window == target) return true;
    }
    return false;
}

void RemoveNonFocusable(TDbgList* list) {
    if (!list) return;
    // From the end: a deletion shifts the items after it.
    for (int i = list->Count() - 1; i >= 0; --i) {
        const auto* item = static_cast<const ClassLib::TObject*>(list->Items(i));
        if (item && IsNonFocusable(item)) list->Delete(i);
    }
}

}  // namespace AdvToolBar
