#include "support/WindowTestSupport.h"

#include <windows.h>

namespace TestSupport {

bool HasDisplay() {
    // Wine without X cannot create a window at all; one probe tells.
    static const bool hasDisplay = [] {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 1, 1,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (!probe) return false;
        ::DestroyWindow(probe);
        return true;
    }();
    return hasDisplay;
}

bool DisplayRequired() {
    wchar_t value[8] = {};
    return ::GetEnvironmentVariableW(L"ATGEN_REQUIRE_DISPLAY", value, 8) > 0 && value[0] == L'1';
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace TestSupport
