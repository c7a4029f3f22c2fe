#pragma once
// The visual-styles library bound by name for the controls that draw themed parts.
#include "graphics/AdvThemeBinding.h"

namespace AdvXPVS {

// Bound when first asked for; Bind and Unbind on it rebind. Entries are null for
// functions the library lacks.
AdvThemeBinding::TThemeLibrary& ThemeLibrary();

}  // namespace AdvXPVS
