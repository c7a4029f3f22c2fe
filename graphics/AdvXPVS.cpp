#include "graphics/AdvXPVS.h"

namespace AdvXPVS {

namespace {
AdvThemeBinding::TThemeLibrary& Library() {
    static AdvThemeBinding::TThemeLibrary library(true);
    return library;
}
}  // namespace

bool BindThemeLibrary(const wchar_t* libraryName) { return Library().Bind(libraryName); }
void UnbindThemeLibrary() { Library().Unbind(); }
const AdvThemeBinding::TThemeLibrary& ThemeLibrary() { return Library(); }

}  // namespace AdvXPVS
