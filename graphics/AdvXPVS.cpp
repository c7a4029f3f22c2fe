#include "graphics/AdvXPVS.h"

namespace AdvXPVS {

AdvThemeBinding::TThemeLibrary& ThemeLibrary() {
    static AdvThemeBinding::TThemeLibrary library(true, true);
    return library;
}

}  // namespace AdvXPVS
