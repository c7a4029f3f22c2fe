#include "graphics/ATXPVS.h"

namespace ATXPVS {

namespace {
// Bound when the unit is first used.
struct TBoundLibrary {
    AdvThemeBinding::TThemeLibrary Library{false};
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

}  // namespace ATXPVS
