#pragma once
// The visual-styles library bound by name: one table of the classic theme functions.
// A function the library lacks leaves its entry empty; every caller checks the entry.
#include <windows.h>

#include <array>

namespace AdvThemeBinding {

enum TThemeFunction {
    tfOpenThemeData, tfOpenThemeDataForDpi, tfCloseThemeData, tfDrawThemeBackground,
    tfDrawThemeText, tfGetThemeBackgroundContentRect, tfGetThemeBackgroundExtent,
    tfGetThemeTextExtent, tfGetThemeTextMetrics, tfGetThemeBackgroundRegion,
    tfHitTestThemeBackground, tfDrawThemeEdge, tfDrawThemeIcon, tfIsThemePartDefined,
    tfIsThemeBackgroundPartiallyTransparent, tfGetThemeColor, tfGetThemeMetric, tfGetThemeString,
    tfGetThemeBool, tfGetThemeInt, tfGetThemeEnumValue, tfGetThemePosition, tfGetThemeFont,
    tfGetThemeRect, tfGetThemeMargins, tfGetThemeIntList, tfSetWindowTheme, tfGetThemeFilename,
    tfGetThemeSysColor, tfGetThemeSysColorBrush, tfGetThemeSysBool, tfGetThemeSysSize,
    tfGetThemeSysFont, tfGetThemeSysString, tfGetThemeSysInt, tfIsThemeActive, tfIsAppThemed,
    tfGetWindowTheme, tfGetThemePartSize, tfEnableThemeDialogTexture,
    tfIsThemeDialogTextureEnabled, tfGetThemeAppProperties, tfSetThemeAppProperties,
    tfGetCurrentThemeName, tfGetThemeDocumentationProperty, tfDrawThemeParentBackground,
    tfEnableTheming,
    tfCount
};

const char* ThemeFunctionName(TThemeFunction function);

// One binding of the library: its own module handle, loaded flag and entries.
class TThemeLibrary {
public:
    // withDpiAndPartSize: also bind OpenThemeDataForDpi and GetThemePartSize.
    // bindNow: bind "UXTHEME.DLL" at once (a unit's library, bound when first used).
    explicit TThemeLibrary(bool withDpiAndPartSize, bool bindNow = false)
        : FWithDpiAndPartSize(withDpiAndPartSize) {
        if (bindNow) Bind();
    }
    ~TThemeLibrary() { Unbind(); }
    TThemeLibrary(const TThemeLibrary&) = delete;
    TThemeLibrary& operator=(const TThemeLibrary&) = delete;

    // Loads the library and looks up every function; nothing happens when already loaded.
    // False when the library cannot be loaded.
    bool Bind(const wchar_t* libraryName = L"UXTHEME.DLL");
    void Unbind();
    bool Loaded() const noexcept { return FLoaded; }
    HMODULE Module() const noexcept { return FModule; }
    // Null when the library lacks the function or is not loaded.
    FARPROC Entry(TThemeFunction function) const noexcept { return FEntries[function]; }
    // Looks up a function that is not in the table (such as a newer one bound on first use).
    FARPROC Lookup(const char* name) const noexcept;
private:
    bool FWithDpiAndPartSize;
    bool FLoaded = false;
    HMODULE FModule = nullptr;
    std::array<FARPROC, tfCount> FEntries{};
};

}  // namespace AdvThemeBinding
