#include "graphics/AdvXPVS.h"

namespace AdvXPVS {

namespace {
// Bound when the unit is first used.
struct TBoundLibrary {
    AdvThemeBinding::TThemeLibrary Library{true};
    TBoundLibrary() { Library.Bind(); }
};

AdvThemeBinding::TThemeLibrary& Library() {
    static TBoundLibrary bound;
    return bound.Library;
}
}  // namespace

bool BindThemeLibrary(const wchar_t* libraryName) { return Library().Bind(libraryName); }
void UnbindThemeLibrary() { Library().Unbind(); }
const AdvThemeBinding::TThemeLibrary& ThemeLibrary() { return Library(); }

}  // namespace AdvXPVS
