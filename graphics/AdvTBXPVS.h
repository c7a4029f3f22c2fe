#pragma once
// The visual-styles library for the toolbars and the ribbon caption: the classic theme
// functions bound once, DrawThemeTextEx bound on first use.
#include <windows.h>
#include <uxtheme.h>

#include "graphics/AdvThemeBinding.h"

namespace AdvTBXPVS {

// Loads the library (counted) unless it is already loaded; false when it cannot be loaded.
bool BindThemeLibrary(const wchar_t* libraryName = L"UXTHEME.DLL");
// Lowers the load count and frees the library.
void UnbindThemeLibrary();
int ThemeLibraryLoadCount();
const AdvThemeBinding::TThemeLibrary& ThemeLibrary();

// E_NOTIMPL when the library is not held or lacks the function.
HRESULT DrawThemeTextEx(HTHEME theme, HDC dc, int partId, int stateId, LPCWSTR text, int charCount,
                        DWORD flags, RECT* rect, const DTTOPTS* options);

}  // namespace AdvTBXPVS
