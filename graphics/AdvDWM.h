#pragma once
// The desktop-composition library bound on first use, so the program also starts where
// it is missing.
#include <windows.h>
#include <uxtheme.h>

namespace AdvDWM {

// Loads the library when no handle is held yet.
void LoadDwmLibrary();
// False when the library or the function is unavailable.
bool DwmDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// E_NOTIMPL when the library or the function is unavailable.
HRESULT DwmExtendFrameIntoClientArea(HWND window, const MARGINS& margins);
HRESULT DwmIsCompositionEnabled(BOOL& enabled);
bool IsDwmEnabled();

// Which library to load; the default is "DWMAPI.DLL". Changing it drops the held library.
void SetDwmLibraryName(const wchar_t* name);

}  // namespace AdvDWM
