#pragma once
// The visual-styles library bound by name for the controls that draw themed parts.
#include "graphics/AdvThemeBinding.h"

namespace AdvXPVS {

// Loads the library and looks up the theme functions unless already loaded.
bool BindThemeLibrary(const wchar_t* libraryName = L"UXTHEME.DLL");
void UnbindThemeLibrary();
// Entries are null for functions the library lacks.
const AdvThemeBinding::TThemeLibrary& ThemeLibrary();

}  // namespace AdvXPVS
