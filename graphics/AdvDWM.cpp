#include "graphics/AdvDWM.h"

#include <string>

namespace AdvDWM {

namespace {

using TDwmDefWindowProc = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM, LRESULT*);
using TDwmExtendFrame = HRESULT(WINAPI*)(HWND, const MARGINS*);
using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);

struct TDwmLibrary {
    std::wstring Name = L"DWMAPI.DLL";
    HMODULE Module = nullptr;
    TDwmDefWindowProc DefWindowProc = nullptr;
    TDwmExtendFrame ExtendFrame = nullptr;
    TDwmIsCompositionEnabled IsCompositionEnabled = nullptr;

    void Release() {
        if (Module) ::FreeLibrary(Module);
        Module = nullptr;
        DefWindowProc = nullptr;
        ExtendFrame = nullptr;
        IsCompositionEnabled = nullptr;
    }
    ~TDwmLibrary() { Release(); }
};

TDwmLibrary& Dwm() {
    static TDwmLibrary library;
    return library;
}

// Cached once found; a miss is not cached, so the next call looks again.
template <class TFunction>
TFunction Resolve(TFunction& cached, const char* name) {
    if (cached) return cached;
    LoadDwmLibrary();
    if (!Dwm().Module) return nullptr;
    cached = reinterpret_cast<TFunction>(reinterpret_cast<void*>(::GetProcAddress(Dwm().Module, name)));
    return cached;
}

}  // namespace

void LoadDwmLibrary() {
    TDwmLibrary& dwm = Dwm();
    if (!dwm.Module) dwm.Module = ::LoadLibraryW(dwm.Name.c_str());
}

bool DwmDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TDwmDefWindowProc function = Resolve(Dwm().DefWindowProc, "DwmDefWindowProc");
    return function && function(window, message, wParam, lParam, &result) != FALSE;
}

HRESULT DwmExtendFrameIntoClientArea(HWND window, const MARGINS& margins) {
    TDwmExtendFrame function = Resolve(Dwm().ExtendFrame, "DwmExtendFrameIntoClientArea");
    return function ? function(window, &margins) : E_NOTIMPL;
}

HRESULT DwmIsCompositionEnabled(BOOL& enabled) {
    TDwmIsCompositionEnabled function = Resolve(Dwm().IsCompositionEnabled, "DwmIsCompositionEnabled");
    return function ? function(&enabled) : E_NOTIMPL;
}

bool IsDwmEnabled() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(&info) || info.dwMajorVersion < 6) return false;
    BOOL enabled = FALSE;
    return DwmIsCompositionEnabled(enabled) == S_OK && enabled;
}

void SetDwmLibraryName(const wchar_t* name) {
    TDwmLibrary& dwm = Dwm();
    dwm.Release();
    dwm.Name = name ? name : L"DWMAPI.DLL";
}

}  // namespace AdvDWM
