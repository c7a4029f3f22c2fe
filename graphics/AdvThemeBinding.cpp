#include "graphics/AdvThemeBinding.h"

#include <cstdint>

namespace AdvThemeBinding {

namespace {

const char* const FunctionNames[tfCount] = {
    "OpenThemeData", "OpenThemeDataForDpi", "CloseThemeData", "DrawThemeBackground",
    "DrawThemeText", "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent",
    "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
    "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString",
    "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
    "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "SetWindowTheme", "GetThemeFilename",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize",
    "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed",
    "GetWindowTheme", "GetThemePartSize", "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties",
    "GetCurrentThemeName", "GetThemeDocumentationProperty", "DrawThemeParentBackground",
    "EnableTheming"};

}  // namespace

const char* ThemeFunctionName(TThemeFunction function) {
    return function >= 0 && function < tfCount ? FunctionNames[function] : "";
}

bool TThemeLibrary::Bind(const wchar_t* libraryName) {
    if (FLoaded) return true;
    HMODULE module = ::LoadLibraryW(libraryName);
    // Handle values below 32 are failure codes of the old loader.
    if (reinterpret_cast<std::uintptr_t>(module) < 32) return false;
    FModule = module;
    FLoaded = true;
    for (int i = 0; i < tfCount; ++i) {
        const auto function = TThemeFunction(i);
        if (!FWithDpiAndPartSize && (function == tfOpenThemeDataForDpi || function == tfGetThemePartSize))
            continue;
        FEntries[i] = ::GetProcAddress(FModule, FunctionNames[i]);
    }
    return true;
}

void TThemeLibrary::Unbind() {
    if (!FLoaded) return;
    ::FreeLibrary(FModule);
    FModule = nullptr;
    FLoaded = false;
    FEntries.fill(nullptr);
}

FARPROC TThemeLibrary::Lookup(const char* name) const noexcept {
    return FLoaded ? ::GetProcAddress(FModule, name) : nullptr;
}

}  // namespace AdvThemeBinding
