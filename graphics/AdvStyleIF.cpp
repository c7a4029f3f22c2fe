#include "graphics/AdvStyleIF.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/Object.h"

namespace AdvStyleIF {

using namespace ClassLib;

namespace {

const wchar_t* const OfficeKey = L"Software\\Microsoft\\Office\\";

class TSystemStyleEnvironment final : public IStyleEnvironment {
public:
    bool RegKeyExists(const String& key) override {
        HKEY handle = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(handle);
        return true;
    }
    std::optional<String> RegReadString(const String& key, const String& name) override {
        DWORD type = 0, size = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, &type,
                           nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, &type,
                           buffer.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        return String(buffer.data());
    }
    std::optional<std::uint32_t> RegReadDWord(const String& key, const String& name) override {
        DWORD value = 0, size = sizeof(value);
        // A value of another type counts as missing, so a stray entry cannot stop detection.
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr,
                           &value, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return value;
    }
    int WindowsVersionKind() override { return GetWindowsVersionKind(); }
    int XPThemeKind() override { return GetXPThemeKind(); }
};

IStyleEnvironment*& EnvironmentSlot() {
    static IStyleEnvironment* slot = nullptr;
    return slot;
}

class TNoAppStyleServices final : public IAppStyleServices {
public:
    bool Enabled() const override { return false; }
    String Name() const override { return L"Windows"; }
    TStyleElementColors GridColors(TThemedGrid) const override { return {clNone, clNone, clNone}; }
    TColor StyleColor(TStyleColor) const override { return clNone; }
    TColor StyleFontColor(TStyleFont) const override { return clNone; }
};

IAppStyleServices*& ServicesSlot() {
    static IAppStyleServices* slot = nullptr;
    return slot;
}

// A setting the Parts read as text; the system and Office store these as 32-bit
// numbers, so that form is taken too. Empty when the value is missing, 0 when not a number.
std::optional<int> ReadNumberSetting(const String& key, const wchar_t* name) {
    IStyleEnvironment& env = StyleEnvironment();
    if (const std::optional<String> text = env.RegReadString(key, name)) {
        try {
            size_t used = 0;
            const int value = std::stoi(*text, &used);
            return used == text->size() ? value : 0;
        } catch (const std::exception&) {
            return 0;
        }
    }
    if (const std::optional<std::uint32_t> value = env.RegReadDWord(key, name)) return int(*value);
    return std::nullopt;
}

// "UI Theme" of Office 15 and 16: -1 without the key, 0 when missing or not a number.
int ReadUITheme(const wchar_t* version) {
    const String key = String(OfficeKey) + version + L"\\Common";
    if (!StyleEnvironment().RegKeyExists(key)) return -1;
    return ReadNumberSetting(key, L"UI Theme").value_or(0);
}

// "Theme" of Office 12 and 14: -1 when the key or the value is missing.
int ReadOfficeTheme(const wchar_t* version) {
    const String key = String(OfficeKey) + version + L"\\Common";
    IStyleEnvironment& env = StyleEnvironment();
    if (!env.RegKeyExists(key)) return -1;
    const std::optional<std::uint32_t> value = env.RegReadDWord(key, L"Theme");
    return value ? int(*value) : -1;
}

int ReadAppsUseLightTheme() {
    const String key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    if (!StyleEnvironment().RegKeyExists(key)) return -1;
    return ReadNumberSetting(key, L"AppsUseLightTheme").value_or(-1);
}

int RoundChannel(double value) {
    const double rounded = std::nearbyint(value);  // halves to even
    return int(std::clamp(rounded, 0.0, 255.0));
}

TColor FromChannels(int r, int g, int b) { return TColor(r + 256 * g + 65536 * b); }

void SplitChannels(TColor color, int& r, int& g, int& b) {
    const TColor rgb = ColorToRGB(color);
    r = rgb & 0xFF;
    g = (rgb >> 8) & 0xFF;
    b = (rgb >> 16) & 0xFF;
}

}  // namespace

IStyleEnvironment& StyleEnvironment() {
    static TSystemStyleEnvironment system;
    return EnvironmentSlot() ? *EnvironmentSlot() : system;
}

void SetStyleEnvironment(IStyleEnvironment* environment) { EnvironmentSlot() = environment; }

IAppStyleServices& AppStyleServices() {
    static TNoAppStyleServices none;
    return ServicesSlot() ? *ServicesSlot() : none;
}

void SetAppStyleServices(IAppStyleServices* services) { ServicesSlot() = services; }

bool IsComCtl6OrLater() {
    wchar_t path[MAX_PATH] = {};
    HMODULE module = ::GetModuleHandleW(L"COMCTL32.DLL");
    const wchar_t* name = L"COMCTL32.DLL";
    if (module && ::GetModuleFileNameW(module, path, MAX_PATH) > 0) name = path;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(name, &ignored);
    if (size == 0) return false;
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(name, 0, size, data.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return false;
    return HIWORD(info->dwFileVersionMS) > 5;
}

bool IsVistaOrLater() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32");
    return kernel && ::GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

bool IsWinXPOrLater() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(&info)) return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0);
}

int DetectOfficeVersion() {
    static const wchar_t* const versions[] = {L"16.0", L"15.0", L"14.0", L"12.0"};
    for (int i = 0; i < 4; ++i) {
        if (StyleEnvironment().RegKeyExists(String(OfficeKey) + versions[i] + L"\\Common\\General"))
            return 4 - i;
    }
    return 0;
}

int GetXPThemeKind() {
    if (!IsWinXPOrLater()) return 0;
    HMODULE theme = ::LoadLibraryW(L"uxtheme.dll");
    if (!theme) return 0;
    using TIsThemeActive = BOOL(WINAPI*)();
    using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(
        reinterpret_cast<void*>(::GetProcAddress(theme, "IsThemeActive")));
    auto getName = reinterpret_cast<TGetCurrentThemeName>(
        reinterpret_cast<void*>(::GetProcAddress(theme, "GetCurrentThemeName")));
    int kind = 0;
    if (isThemeActive && isThemeActive() && getName && IsComCtl6OrLater()) {
        wchar_t file[256] = {}, colour[256] = {}, size[256] = {};
        if (SUCCEEDED(getName(file, 255, colour, 255, size, 255))) {
            const String name = colour;
            if (name.find(L"NormalColor") != String::npos) kind = 1;
            else if (name.find(L"HomeStead") != String::npos) kind = 2;
            else if (name.find(L"Metallic") != String::npos) kind = 3;
        }
    }
    ::FreeLibrary(theme);
    return kind;
}

int GetWindowsVersionKind() {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return 0;
    DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (major == 6 && minor == 2) {
        // The version query stops at 6.2 for programs without a manifest; ask the kernel.
        using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        auto rtlGetVersion = ntdll ? reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(
                                         ::GetProcAddress(ntdll, "RtlGetVersion")))
                                   : nullptr;
        OSVERSIONINFOEXW real = {};
        real.dwOSVersionInfoSize = sizeof(real);
        if (rtlGetVersion && rtlGetVersion(&real) == 0) {
            major = real.dwMajorVersion;
            minor = real.dwMinorVersion;
        }
    }
    if (major == 6 && minor == 1) return 1;
    if (major == 6 && (minor == 2 || minor == 3)) return 2;
    if ((major == 6 && minor == 4) || major == 10) return 3;
    return 0;
}

TOVTStyle DetectSystemStyle(bool UseXPThemes) {
    int theme = ReadUITheme(L"16.0");
    if (theme != -1) {
        if (theme == 3) return tsOffice2019Gray;
        if (theme == 4) return tsOffice2019Black;
        return tsOffice2019White;
    }
    theme = ReadUITheme(L"15.0");
    if (theme != -1) {
        switch (theme) {
        case 0: return tsOffice2013White;
        case 1: return tsOffice2013LightGray;
        case 2: return tsOffice2013Gray;
        default: return tsCustom;
        }
    }
    theme = ReadOfficeTheme(L"14.0");
    if (theme != -1) {
        switch (theme) {
        case 1: return tsOffice2010Blue;
        case 2: return tsOffice2010Silver;
        case 3: return tsOffice2010Black;
        default: return tsCustom;
        }
    }
    theme = ReadOfficeTheme(L"12.0");
    if (theme != -1) {
        switch (theme) {
        case 1: return tsOffice2007Luna;
        case 2: return tsOffice2007Silver;
        case 3: return tsOffice2007Obsidian;
        default: return tsCustom;
        }
    }
    if (UseXPThemes) {
        switch (StyleEnvironment().XPThemeKind()) {
        case 1: return tsOffice2003Blue;
        case 2: return tsOffice2003Olive;
        case 3: return tsOffice2003Silver;
        default: return tsOffice2003Classic;
        }
    }
    switch (StyleEnvironment().WindowsVersionKind()) {
    case 2: return tsWindows8;
    case 3: return ReadAppsUseLightTheme() == 0 ? tsOffice2019Black : tsWindows10;
    default: return tsWindows7;
    }
}

TOfficeTheme GetOfficeTheme() {
    switch (DetectSystemStyle(true)) {
    case tsOffice2003Blue: return ot2003Blue;
    case tsOffice2003Silver: return ot2003Silver;
    case tsOffice2003Olive: return ot2003Olive;
    case tsOffice2003Classic: return ot2003Classic;
    case tsOffice2007Luna: return ot2007Blue;
    case tsOffice2007Silver: return ot2007Silver;
    case tsOffice2007Obsidian: return ot2007Black;
    case tsOffice2010Blue: return ot2010Blue;
    case tsOffice2010Silver: return ot2010Silver;
    case tsOffice2010Black: return ot2010Black;
    case tsOffice2013White: return ot2013White;
    case tsOffice2013LightGray: return ot2013Silver;
    case tsOffice2013Gray: return ot2013Gray;
    case tsOffice2016White: return ot2016White;
    case tsOffice2016Gray: return ot2016Gray;
    case tsOffice2016Black: return ot2016Black;
    case tsOffice2019White: return ot2019White;
    case tsOffice2019Gray: return ot2019Gray;
    case tsOffice2019Black: return ot2019Black;
    case tsCustom: return ot2019Black;
    default: return otUnknown;
    }
}

void EmptyColorTones(TColorTones& tones) {
    const TColorTone empty = {clNone, clNone, clNone};
    tones = {empty, empty, empty, empty, empty};
}

bool IsEmptyColorTones(const TColorTones& tones) {
    return tones.Background.BrushColor == clNone && tones.Background.BorderColor == clNone &&
           tones.Background.TextColor == clNone;
}

void DefaultColorTones(TColorTones& tones) {
    tones.Background = {clWindow, clHighlight, clWindowText};
    tones.Foreground = {clSilver, clSilver, clBlack};
    tones.Selected = {clHighlight, clHighlight, clHighlightText};
    tones.Hover = {clGray, clGray, clWhite};
    tones.Disabled = {clWindow, clSilver, clSilver};
}

void CreateMetroTones(bool Light, TColor Color, TColor /*TextColor*/, TColorTones& tones) {
    tones.Background = Light ? TColorTone{clWhite, Color, clBlack} : TColorTone{clBlack, Color, clWhite};
    tones.Foreground = {clSilver, clSilver, clBlack};
    tones.Selected = {Color, Color, clWhite};
    const TColor hover = DarkenColor(Color, 20);
    tones.Hover = {hover, hover, clWhite};
    tones.Disabled = {clSilver, clGray, clGray};
}

void GetCustomStyleTones(TColorTones& tones) {
    tones.Background.BrushColor = clNone;
    const IAppStyleServices& services = AppStyleServices();
    if (!services.Enabled()) return;
    const String name = services.Name();
    if (name == L"Windows" || name == L"Windows10") return;
    auto put = [](TColor& target, TColor value) {
        if (value != clNone) target = value;
    };
    const TStyleElementColors cell = services.GridColors(tgCellNormal);
    put(tones.Foreground.BrushColor, cell.Fill);
    put(tones.Foreground.BorderColor, cell.Border);
    put(tones.Foreground.TextColor, cell.Text);
    const TStyleElementColors fixed = services.GridColors(tgFixedCellNormal);
    put(tones.Background.BrushColor, fixed.Fill);
    put(tones.Background.BorderColor, fixed.Border);
    put(tones.Background.TextColor, fixed.Text);
    if (tones.Background.TextColor == tones.Background.BrushColor)
        tones.Background.TextColor = tones.Background.BrushColor ^ 0xFFFFFF;
    const TStyleElementColors selected = services.GridColors(tgCellSelected);
    auto orElse = [](TColor value, TColor fallback) { return value != clNone ? value : fallback; };
    put(tones.Selected.BrushColor, orElse(selected.Fill, services.StyleColor(scButtonPressed)));
    put(tones.Selected.BorderColor, orElse(selected.Border, services.StyleColor(scButtonPressed)));
    put(tones.Selected.TextColor, orElse(selected.Text, services.StyleFontColor(sfButtonTextPressed)));
    put(tones.Hover.BrushColor, services.StyleColor(scButtonHot));
    put(tones.Hover.BorderColor, services.StyleColor(scButtonHot));
    put(tones.Hover.TextColor, services.StyleFontColor(sfButtonTextHot));
    put(tones.Disabled.BrushColor, services.StyleColor(scButtonDisabled));
    put(tones.Disabled.BorderColor, services.StyleColor(scButtonDisabled));
    put(tones.Disabled.TextColor, services.StyleFontColor(sfButtonTextDisabled));
}

bool IsCustomStyleActive(const IAppStyleServices& services, bool Designing) {
    const String name = services.Name();
    if (!Designing) return services.Enabled() && name != L"Windows";
    return name != L"Windows10" && name != L"Mountain_Mist";
}

TOVTStyle GetFormStylerStyle(ClassLib::TComponent* component, TOVTStyle defaultStyle) {
    ClassLib::TComponent* form = dynamic_cast<ClassLib::TCustomForm*>(component);
    if (!form) {
        const auto* control = dynamic_cast<ClassLib::TControl*>(component);
        form = control ? control->ParentForm() : nullptr;
    }
    return GetFormStylerStyleOf(form, defaultStyle);
}

TOVTStyle GetFormStylerStyleOf(ClassLib::TComponent* form, TOVTStyle defaultStyle) {
    if (!form) return defaultStyle;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        const auto* styler = dynamic_cast<const IFormStylerStyle*>(form->Components(i));
        if (styler && styler->FormStylerEnabled() && styler->FormStylerStyle() != tsCustom)
            return styler->FormStylerStyle();
    }
    return defaultStyle;
}

String GetDefaultFontName() { return IsVistaOrLater() ? L"Segoe UI" : L"Tahoma"; }

bool IsLightStyle(TOVTStyle style) {
    return style != tsOffice2016Black && style != tsOffice2019Gray && style != tsOffice2019Black;
}

TColor DarkenColor(TColor color, int percent) {
    int r, g, b;
    SplitChannels(color, r, g, b);
    auto scale = [percent](int channel) { return RoundChannel(channel * (100.0 - percent) / 100.0); };
    return FromChannels(scale(r), scale(g), scale(b));
}

TColor AdjustColorBrightness(TColor color, int percent) {
    int r, g, b;
    SplitChannels(color, r, g, b);
    double h, s, v;
    RGBToHSV(r, g, b, h, s, v);
    if (v < 255) {
        v = std::min(255.0, v + v * percent / 100.0);
    } else {
        s = s + s * percent / 100.0;
        // A saturation brought down to nothing leaves no hue; HSVToRGB would refuse the pair.
        if (s == 0) h = std::numeric_limits<double>::quiet_NaN();
    }
    double rr, gg, bb;
    HSVToRGB(h, s, v, rr, gg, bb);
    return FromChannels(RoundChannel(rr), RoundChannel(gg), RoundChannel(bb));
}

void RGBToHSV(double r, double g, double b, double& h, double& s, double& v) {
    const double largest = std::max({r, g, b});
    const double smallest = std::min({r, g, b});
    const double delta = largest - smallest;
    v = largest;
    s = largest != 0 ? delta / largest : 0;
    if (s == 0) {
        h = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    if (r == largest) h = 60 * (g - b) / delta;
    else if (g == largest) h = 120 + 60 * (b - r) / delta;
    else h = 240 + 60 * (r - g) / delta;
    if (h < 0) h += 360;
}

void HSVToRGB(double h, double s, double v, double& r, double& g, double& b) {
    if (s == 0) {
        if (!std::isnan(h)) throw ClassLib::Exception(L"HSVtoRGB: S = 0 and H has a value");
        r = g = b = v;
        return;
    }
    if (h == 360) h = 0;
    h /= 60;
    const int sector = int(std::floor(h));
    const double f = h - sector;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
    }
}

float GetDPIScale(HDC dc) {
    float scale = 0;
    if (dc) {
        scale = float(::GetDeviceCaps(dc, LOGPIXELSY)) / 96.0f;
    } else if (HDC screen = ::GetDC(nullptr)) {
        scale = float(::GetDeviceCaps(screen, LOGPIXELSX)) / 96.0f;
        ::ReleaseDC(nullptr, screen);
    }
    return scale == 0 ? 1.0f : scale;
}

float GetDPIScale(ClassLib::TControl* control, ClassLib::TCanvas* canvas) {
    if (ClassLib::TCustomForm* form = control ? control->ParentForm() : nullptr) {
        const float scale = form->Scaled() ? float(form->MonitorPixelsPerInch()) / 96.0f : 1.0f;
        return scale == 0 ? 1.0f : scale;
    }
    return GetDPIScale(canvas && canvas->HandleAllocated() ? canvas->Handle() : HDC(nullptr));
}

float GetTextDPIScale(HDC dc, bool apply) {
    if (!apply) return 1.0f;
    HDC used = dc ? dc : ::GetDC(nullptr);
    if (!used) return 1.0f;
    const int ppi = ::GetDeviceCaps(used, LOGPIXELSX);
    if (!dc) ::ReleaseDC(nullptr, used);
    float factor = 1.0f;
    if (ppi != 96) {
        const int base = TextHeightAtDPI(96, 9);
        factor = base > 0 ? float(TextHeightAtDPI(ppi, 9)) / float(base) : 1.0f;
    }
    return factor <= 0 ? 1.0f : factor;
}

float GetCanvasTextScale(ClassLib::TCanvas* canvas, ClassLib::TCustomForm* form) {
    // The canvas's context, or none (the screen's) when it has none.
    return GetTextDPIScale(canvas && canvas->HandleAllocated() ? canvas->Handle() : HDC(nullptr),
                           form == nullptr || form->Scaled());
}

int TextHeightAtDPI(int pixelsPerInch, int pointSize) {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return 0;
    int height = 0;
    {
        ClassLib::TCanvas canvas;
        canvas.SetHandle(screen);
        canvas.Font()->SetPixelsPerInch(pixelsPerInch);
        canvas.Font()->SetSize(pointSize);
        height = canvas.TextHeight(L"0");
        canvas.SetHandle(nullptr);
    }
    ::ReleaseDC(nullptr, screen);
    return height;
}

int ScaleCanvasFont(ClassLib::TCanvas* canvas, const ClassLib::TFont* font, double factor) {
    ClassLib::TFont& target = *canvas->Font();
    target.Assign(font);
    target.SetHeight(int(std::nearbyint(font->Height() * factor)));
    return target.Size();
}

}  // namespace AdvStyleIF
