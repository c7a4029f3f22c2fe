#include "classlib/Screen.h"

#include <algorithm>

#include "classlib/Form.h"
#include "classlib/GdiObjects.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TScreen, TComponent)

TScreen* Screen = new TScreen(nullptr);
TMouse* Mouse = new TMouse();

namespace {

TRect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

TMonitor MonitorOf(HMONITOR handle, int number) {
    TMonitor monitor;
    monitor.Handle = handle;
    monitor.MonitorNum = number;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (handle && ::GetMonitorInfoW(handle, &info)) {
        monitor.BoundsRect = ToRect(info.rcMonitor);
        monitor.WorkareaRect = ToRect(info.rcWork);
        monitor.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
    return monitor;
}

BOOL CALLBACK CollectMonitor(HMONITOR handle, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<TMonitor>*>(data);
    list->push_back(MonitorOf(handle, int(list->size())));
    return TRUE;
}

int CALLBACK CollectFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<std::wstring>*>(data);
    if (font->lfFaceName[0] != L'@') list->push_back(font->lfFaceName);
    return 1;
}

void SetFromLogFont(TFont& font, const LOGFONTW& logFont) {
    font.SetName(logFont.lfFaceName);
    font.SetHeight(logFont.lfHeight);
}

}  // namespace

TScreen::TScreen(TComponent* owner)
    : TComponent(owner),
      FHintFont(std::make_unique<TFont>()),
      FMenuFont(std::make_unique<TFont>()),
      FIconFont(std::make_unique<TFont>()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        SetFromLogFont(*FHintFont, metrics.lfStatusFont);
        SetFromLogFont(*FMenuFont, metrics.lfMenuFont);
    }
    LOGFONTW icon{};
    if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(icon), &icon, 0)) SetFromLogFont(*FIconFont, icon);
}

TScreen::~TScreen() = default;

int TScreen::Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }

int TScreen::PixelsPerInch() const { return ScreenPixelsPerInch(); }

TRect TScreen::DesktopRect() const {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(left, top, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
    RECT rect{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
    return ToRect(rect);
}

std::vector<TMonitor> TScreen::GetMonitors() const {
    std::vector<TMonitor> list;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

TMonitor TScreen::Monitors(int index) const {
    const auto list = GetMonitors();
    return list.at(size_t(index));
}

TMonitor TScreen::MonitorFromPoint(const TPoint& point) const {
    return MonitorOf(::MonitorFromPoint(POINT{point.X, point.Y}, MONITOR_DEFAULTTONEAREST), 0);
}

TMonitor TScreen::MonitorFromRect(const TRect& rect) const {
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    return MonitorOf(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), 0);
}

TMonitor TScreen::MonitorFromWindow(HWND window) const {
    return MonitorOf(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0);
}

TMonitor TScreen::PrimaryMonitor() const {
    return MonitorOf(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), 0);
}

const std::vector<std::wstring>& TScreen::Fonts() const {
    if (FFonts.empty()) {
        HDC dc = ::GetDC(nullptr);
        LOGFONTW filter{};
        filter.lfCharSet = DEFAULT_CHARSET;
        ::EnumFontFamiliesExW(dc, &filter, CollectFont, reinterpret_cast<LPARAM>(&FFonts), 0);
        ::ReleaseDC(nullptr, dc);
        std::sort(FFonts.begin(), FFonts.end());
        FFonts.erase(std::unique(FFonts.begin(), FFonts.end()), FFonts.end());
    }
    return FFonts;
}

void TScreen::SetCursor(TCursor value) {
    if (value == FCursor) return;
    FCursor = value;
    POINT point;
    ::GetCursorPos(&point);
    ::SetCursorPos(point.x, point.y);  // makes the window under the mouse ask again
}

HCURSOR TScreen::Cursors(TCursor cursor) const {
    const wchar_t* id = IDC_ARROW;
    switch (cursor) {
        case crNone: return nullptr;
        case crCross: id = IDC_CROSS; break;
        case crIBeam: id = IDC_IBEAM; break;
        case crSizeNESW: id = IDC_SIZENESW; break;
        case crSizeNS: case crVSplit: id = IDC_SIZENS; break;
        case crSizeNWSE: id = IDC_SIZENWSE; break;
        case crSizeWE: case crHSplit: id = IDC_SIZEWE; break;
        case crUpArrow: id = IDC_UPARROW; break;
        case crHourGlass: id = IDC_WAIT; break;
        case crNo: case crNoDrop: id = IDC_NO; break;
        case crAppStart: id = IDC_APPSTARTING; break;
        case crHelp: id = IDC_HELP; break;
        case crHandPoint: id = IDC_HAND; break;
        case crSizeAll: id = IDC_SIZEALL; break;
        default: break;
    }
    return ::LoadCursorW(nullptr, id);
}

TCustomForm* TScreen::ActiveForm() const {
    HWND active = ::GetActiveWindow();
    for (TCustomForm* form : FForms)
        if (form->HandleAllocated() && form->Handle() == active) return form;
    return nullptr;
}

TControl* TScreen::ActiveControl() const {
    for (HWND window = ::GetFocus(); window; window = ::GetParent(window))
        if (TWinControl* control = TWinControl::FindControl(window)) return control;
    return nullptr;
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
}

TPoint TMouse::CursorPos() const {
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

void TMouse::SetCursorPos(const TPoint& point) { ::SetCursorPos(point.X, point.Y); }

int TMouse::WheelScrollLines() const {
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return int(lines);
}

}  // namespace ClassLib
