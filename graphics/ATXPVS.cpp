#include "graphics/ATXPVS.h"

namespace ATXPVS {

AdvThemeBinding::TThemeLibrary& ThemeLibrary() {
    static AdvThemeBinding::TThemeLibrary library(false, true);
    return library;
}

}  // namespace ATXPVS
