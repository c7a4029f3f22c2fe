#pragma once
// The ready-made toolbar styler: fills the styler base's looks from 28 office presets,
// takes an application style with an application colour or a set of colour tones,
// follows the installed Office theme through a hidden notifier window, and keeps its
// whole look in a theme text file.
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/EnumNames.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarStyler.h"

namespace AdvStyleIF {
class TThemeNotifier;
}

namespace AdvToolBarStylers {

using ClassLib::TColor;

enum TToolBarStyle : std::uint8_t {
    bsOffice2003Blue, bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic, bsOffice2007Luna,
    bsOffice2007Obsidian, bsWindowsXP, bsWhidbeyStyle, bsCustom, bsOffice2007Silver, bsOfficeXP, bsWindowsVista,
    bsWindows7, bsTerminal, bsOffice2010Blue, bsOffice2010Silver, bsOffice2010Black, bsWindows8, bsOffice2013White,
    bsOffice2013LightGray, bsOffice2013Gray, bsWindows10, bsOffice2016White, bsOffice2016Gray, bsOffice2016Black,
    bsOffice2019White, bsOffice2019Gray, bsOffice2019Black
};

}  // namespace AdvToolBarStylers

template <> struct ClassLib::TEnumNames<AdvToolBarStylers::TToolBarStyle> {
    static constexpr const wchar_t* TypeName = L"TToolBarStyle";
    static constexpr const wchar_t* Names[] = {
        L"bsOffice2003Blue",  L"bsOffice2003Silver",    L"bsOffice2003Olive", L"bsOffice2003Classic",
        L"bsOffice2007Luna",  L"bsOffice2007Obsidian",  L"bsWindowsXP",       L"bsWhidbeyStyle",
        L"bsCustom",          L"bsOffice2007Silver",    L"bsOfficeXP",        L"bsWindowsVista",
        L"bsWindows7",        L"bsTerminal",            L"bsOffice2010Blue",  L"bsOffice2010Silver",
        L"bsOffice2010Black", L"bsWindows8",            L"bsOffice2013White", L"bsOffice2013LightGray",
        L"bsOffice2013Gray",  L"bsWindows10",           L"bsOffice2016White", L"bsOffice2016Gray",
        L"bsOffice2016Black", L"bsOffice2019White",     L"bsOffice2019Gray",  L"bsOffice2019Black"};
};

namespace AdvToolBarStylers {

// The colour with each channel moved by `percent` of itself (negative: darker),
// rounded halves to even and kept within 0..255; system colours are resolved first.
TColor ShadeColor(TColor color, int percent);
// Exchanges the lowest and the third byte: an RGB-ordered constant as a colour.
constexpr TColor SwapRB(TColor color) {
    return TColor((color & ~0xFF00FF) | ((color & 0xFF) << 16) | ((color >> 16) & 0xFF));
}
// True when the colour's luminance 0.299 R + 0.587 G + 0.114 B is at most 186.
bool IsDarkColor(TColor color);

// The application style a preset stands for (tsWindowsXP for bsOfficeXP, tsWhidbey for
// bsWhidbeyStyle); the preset of an application style, false for tsCustom.
AdvStyleIF::TOVTStyle UIStyleOf(TToolBarStyle style);
bool PresetOf(AdvStyleIF::TOVTStyle style, TToolBarStyle& preset);

// The word a theme file's first line holds for a style: three styles have none of their
// own and are written as "bsOffice2003Blue". A line matches a word in any letter case.
std::wstring ThemeFileWord(TToolBarStyle style);
bool StyleOfThemeFileWord(const std::wstring& line, TToolBarStyle& style);

// The styler's own theme listener: WM_THEMECHANGED and the theme notifier's
// AdvStyleIF::WM_OFFICETHEMECHANGED raise OnThemeChange.
class TNotifierWindow : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TNotifierWindow, ClassLib::TWinControl)
public:
    explicit TNotifierWindow(ClassLib::TComponent* owner) : TWinControl(owner) {}
    void WndProc(ClassLib::TMessage& message) override;
    ClassLib::TNotifyEvent OnThemeChange;
};

// Fills a styler from a preset's row (with the presets' table).
class TPresetApplier;

class TAdvToolBarOfficeStyler : public AdvToolBar::TCustomAdvToolBarStyler,
                                public AdvStyleIF::IOVTStyleEx,
                                public AdvStyleIF::IOVTTones {
    CLASSLIB_CLASS(TAdvToolBarOfficeStyler, AdvToolBar::TCustomAdvToolBarStyler)
public:
    static const ClassLib::TPropertyList& Published();
    // Style reads bsOffice2003Blue, but no preset is applied: the looks keep the base's
    // values until one is. Dropped on a form in the designer it takes the form styler's
    // style (else bsOffice2019White).
    explicit TAdvToolBarOfficeStyler(ClassLib::TComponent* owner);
    // Unregisters its notifier window from the theme notifier.
    ~TAdvToolBarOfficeStyler() override;
    // Follows the Office theme now (when adapting), and applies once more the presets
    // whose colours depend on the pager attached by then.
    void Loaded() override;

    TToolBarStyle Style() const { return FToolBarStyle; }
    // Applies the preset, every time, inside one update; the controls hear code 2 at its end.
    virtual void SetStyle(TToolBarStyle value);
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    // Derives the application colours from AppColor (unless clNone), then applies the
    // style's preset (none for tsCustom).
    void SetComponentStyleAndAppColor(AdvStyleIF::TOVTStyle AStyle, TColor AppColor) override;
    // The Office 2016 white preset with the foreground brush as application colour.
    void SetColorTones(AdvStyleIF::TColorTones ATones) override;
    // Applies the current preset again, for a changed application colour.
    void UpdateAppColors();
    void ReapplyStyle() override;
    void SetAutoThemeAdapt(bool value) override;
    // The notifier window's handler: the preset of the detected Office theme, when it
    // differs from the last one acted on.
    void ThemeChanged();

    // Line 1 the style's word, then the body; "Cannot Create <name>" when the file cannot
    // be written (an existing file stays whole).
    void SaveToFile(const std::wstring& fileName);
    // "Cannot open file <name>" when it cannot be read; a known word on line 1 applies
    // its preset, then every value of the body is set ("Corrupt file" on a bad one, the
    // values before it staying applied).
    void LoadFromFile(const std::wstring& fileName);

    TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

private:
    friend class TPresetApplier;
    void ApplyAppColor(AdvStyleIF::TOVTStyle style, TColor appColor);
    void RegisterWithNotifier();
    void UnRegisterFromNotifier();

    AdvStyleIF::TOfficeTheme FOldOfficeTheme = AdvStyleIF::otUnknown;
    bool FDesignTime = false;
    TNotifierWindow* FNotifierWnd = nullptr;   // owned as a component
    TToolBarStyle FToolBarStyle = bsCustom;
    AdvStyleIF::TThemeNotifier* FThemeNotifier = nullptr;   // the notifier our window is registered with
};

// Registers the toolbar stylers for window descriptions (and links their units in);
// returns the classes registered.
std::vector<const ClassLib::TClass*> RegisterToolBarStylerClasses();

}  // namespace AdvToolBarStylers
