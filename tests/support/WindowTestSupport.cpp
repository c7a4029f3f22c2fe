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

bool PumpUntil(const std::function<bool()>& done, unsigned boundMs) {
    const ULONGLONG end = ::GetTickCount64() + boundMs;
    while (!done()) {
        if (::GetTickCount64() > end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT | QS_SENDMESSAGE);
        PumpMessages();
    }
    return true;
}

}  // namespace TestSupport
