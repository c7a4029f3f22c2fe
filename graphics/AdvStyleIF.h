#pragma once
// The application-wide style vocabulary: style presets, colour tones, the interfaces
// through which a style reaches a control, and the helpers controls style themselves with.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"

namespace ClassLib {
class TCanvas;
class TComponent;
class TControl;
class TCustomForm;
class TFont;
class TWinControl;
}

namespace AdvStyleIF {

using String = std::wstring;
using ClassLib::TColor;
using ClassLib::clNone;  // a colour not set

enum TOVTStyle : std::uint8_t {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
    tsOffice2007Luna, tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom,
    tsOffice2007Silver, tsWindowsVista, tsWindows7, tsTerminal, tsOffice2010Blue,
    tsOffice2010Silver, tsOffice2010Black, tsWindows8, tsOffice2013White,
    tsOffice2013LightGray, tsOffice2013Gray, tsWindows10, tsOffice2016White,
    tsOffice2016Gray, tsOffice2016Black, tsOffice2019White, tsOffice2019Gray,
    tsOffice2019Black
};

enum TOfficeTheme : std::uint8_t {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver,
    ot2007Black, ot2010Blue, ot2010Silver, ot2010Black, ot2013White, ot2013Silver,
    ot2013Gray, ot2016White, ot2016Gray, ot2016Black, ot2019White, ot2019Gray,
    ot2019Black, otUnknown
};

enum TMetroStyle { msLight, msDark };

}  // namespace AdvStyleIF

template <> struct ClassLib::TEnumNames<AdvStyleIF::TOVTStyle> {
    static constexpr const wchar_t* TypeName = L"TOVTStyle";
    static constexpr const wchar_t* Names[] = {
        L"tsOffice2003Blue", L"tsOffice2003Silver", L"tsOffice2003Olive", L"tsOffice2003Classic",
        L"tsOffice2007Luna", L"tsOffice2007Obsidian", L"tsWindowsXP", L"tsWhidbey", L"tsCustom",
        L"tsOffice2007Silver", L"tsWindowsVista", L"tsWindows7", L"tsTerminal", L"tsOffice2010Blue",
        L"tsOffice2010Silver", L"tsOffice2010Black", L"tsWindows8", L"tsOffice2013White",
        L"tsOffice2013LightGray", L"tsOffice2013Gray", L"tsWindows10", L"tsOffice2016White",
        L"tsOffice2016Gray", L"tsOffice2016Black", L"tsOffice2019White", L"tsOffice2019Gray",
        L"tsOffice2019Black"};
};
template <> struct ClassLib::TEnumNames<AdvStyleIF::TMetroStyle> {
    static constexpr const wchar_t* TypeName = L"TMetroStyle";
    static constexpr const wchar_t* Names[] = {L"msLight", L"msDark"};
};

namespace AdvStyleIF {

struct TColorTone {
    TColor BrushColor;
    TColor BorderColor;
    TColor TextColor;
    bool operator==(const TColorTone&) const = default;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
    bool operator==(const TColorTones&) const = default;
};

// A control takes a style preset through this interface.
class IOVTStyle {
public:
    static constexpr const wchar_t* IID = L"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";
    virtual void SetComponentStyle(TOVTStyle AStyle) = 0;
protected:
    ~IOVTStyle() = default;
};

// A preset together with the application's accent colour.
class IOVTStyleEx : public IOVTStyle {
public:
    static constexpr const wchar_t* IID = L"{037BA87F-7CBD-4FDD-854E-2B3F0BCC06AE}";
    virtual void SetComponentStyleAndAppColor(TOVTStyle AStyle, TColor AppColor) = 0;
protected:
    ~IOVTStyleEx() = default;
};

class IOVTTones {
public:
    static constexpr const wchar_t* IID = L"{1F492643-6699-4F25-8B34-3233FA735036}";
    virtual void SetColorTones(TColorTones ATones) = 0;
protected:
    ~IOVTTones() = default;
};

// Where style detection reads the registry and the system version; tests replace it.
class IStyleEnvironment {
public:
    virtual ~IStyleEnvironment() = default;
    // Keys are below the current user's hive.
    virtual bool RegKeyExists(const String& key) = 0;
    // Empty when the key or the value is missing, or the value is not text.
    virtual std::optional<String> RegReadString(const String& key, const String& name) = 0;
    // Empty when the key or the value is missing, or the value is not a 32-bit number.
    virtual std::optional<std::uint32_t> RegReadDWord(const String& key, const String& name) = 0;
    virtual int WindowsVersionKind() = 0;
    virtual int XPThemeKind() = 0;
};
IStyleEnvironment& StyleEnvironment();
// Null restores the system's own environment.
void SetStyleEnvironment(IStyleEnvironment* environment);

// The application style services of the class library (themed application styles).
enum TThemedGrid { tgCellNormal, tgFixedCellNormal, tgCellSelected };
enum TStyleColor { scButtonPressed, scButtonHot, scButtonDisabled };
enum TStyleFont { sfButtonTextPressed, sfButtonTextHot, sfButtonTextDisabled };
struct TStyleElementColors {
    TColor Fill;
    TColor Border;
    TColor Text;
};
class IAppStyleServices {
public:
    virtual ~IAppStyleServices() = default;
    virtual bool Enabled() const = 0;
    virtual String Name() const = 0;
    virtual TStyleElementColors GridColors(TThemedGrid element) const = 0;
    virtual TColor StyleColor(TStyleColor color) const = 0;
    virtual TColor StyleFontColor(TStyleFont font) const = 0;
};
// This build has no application styles: the default services answer "not enabled".
IAppStyleServices& AppStyleServices();
void SetAppStyleServices(IAppStyleServices* services);

class TThemeNotifier;
// Sent (never posted) by the theme notifier's worker when a value under the Office
// "Common" key changes: wParam is the root key (HKEY_CURRENT_USER), lParam the watched
// key path as a null-terminated text, valid only during the call. The result is ignored.
constexpr UINT WM_OFFICETHEMECHANGED = WM_USER + 1969;
// The process's theme notifier, made on the first call and owned by the main form when
// that has a window, else by `owner` (its hidden window is message-only without either).
// Freeing it lets the next call make a new one.
TThemeNotifier* GetThemeNotifier(ClassLib::TWinControl* owner);

bool IsComCtl6OrLater();
bool IsVistaOrLater();
bool IsWinXPOrLater();
int DetectOfficeVersion();
int GetXPThemeKind();
int GetWindowsVersionKind();
TOVTStyle DetectSystemStyle(bool UseXPThemes);
TOfficeTheme GetOfficeTheme();

void EmptyColorTones(TColorTones& tones);
bool IsEmptyColorTones(const TColorTones& tones);
void DefaultColorTones(TColorTones& tones);
void CreateMetroTones(bool Light, TColor Color, TColor TextColor, TColorTones& tones);
void GetCustomStyleTones(TColorTones& tones);
bool IsCustomStyleActive(const IAppStyleServices& services, bool Designing);

String GetDefaultFontName();

// What the style lookup reads of a form styler; the form styler component implements it.
class IFormStylerStyle {
public:
    virtual bool FormStylerEnabled() const = 0;
    virtual TOVTStyle FormStylerStyle() const = 0;
protected:
    ~IFormStylerStyle() = default;
};
// The style of the first enabled form styler owned by the component's form (the
// component itself when it is a form, else a control's outermost parent form) whose
// style is not tsCustom; the default without one or without a form.
TOVTStyle GetFormStylerStyle(ClassLib::TComponent* component, TOVTStyle defaultStyle);
// The same for a form already found (or any owner of form stylers).
TOVTStyle GetFormStylerStyleOf(ClassLib::TComponent* form, TOVTStyle defaultStyle);
bool IsLightStyle(TOVTStyle style);

TColor DarkenColor(TColor color, int percent);
TColor AdjustColorBrightness(TColor color, int percent);
// Hue is NaN when saturation is 0.
void RGBToHSV(double r, double g, double b, double& h, double& s, double& v);
// Raises for a defined hue with zero saturation.
void HSVToRGB(double h, double s, double v, double& r, double& g, double& b);

// DPI of a device context (the screen's when dc is null) over 96; never 0.
float GetDPIScale(HDC dc);
// A control on a form: its monitor's DPI over 96 when the form is scaled (its sizes then
// follow the screen), else 1. Otherwise the canvas's vertical DPI over 96, or the
// screen's horizontal one when there is no canvas or it has no handle; never 0.
float GetDPIScale(ClassLib::TControl* control, ClassLib::TCanvas* canvas);
float GetTextDPIScale(HDC dc, bool apply);
// The text scale of the canvas's device context, applied without a form or for a
// scaled one.
float GetCanvasTextScale(ClassLib::TCanvas* canvas, ClassLib::TCustomForm* form);
int TextHeightAtDPI(int pixelsPerInch, int pointSize);
// The canvas font takes the font, its height scaled; gives the resulting point size.
int ScaleCanvasFont(ClassLib::TCanvas* canvas, const ClassLib::TFont* font, double factor);

}  // namespace AdvStyleIF
