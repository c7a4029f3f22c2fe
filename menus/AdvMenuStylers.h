#pragma once
// The office menu styler: a menu styler filled from one of 25 named presets, chosen by
// Style, by an application UI style, or by the colour scheme of the visual style, which
// a hidden window follows when the system's theme changes.
#include <cstdint>
#include <functional>
#include <string>

#include "classlib/Control.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuStyler.h"

namespace AdvMenuStylers {

enum TOfficeStyle : std::uint8_t {
    osOffice2003Blue, osOffice2003Silver, osOffice2003Olive, osOfficeXP, osOffice2007Luna, osOffice2007Obsidian,
    osCustom, osOffice2007Silver, osVista, osWhidbey, osWindows7, osTerminal, osOffice2010Blue, osOffice2010Silver,
    osOffice2010Black, osWindows8, osOffice2013White, osOffice2013LightGray, osOffice2013Gray, osWindows10,
    osOffice2016White, osOffice2016Gray, osOffice2016Black, osOffice2019White, osOffice2019Gray, osOffice2019Black
};

}  // namespace AdvMenuStylers

template <> struct ClassLib::TEnumNames<AdvMenuStylers::TOfficeStyle> {
    static constexpr const wchar_t* TypeName = L"TOfficeStyle";
    static constexpr const wchar_t* Names[] = {
        L"osOffice2003Blue", L"osOffice2003Silver", L"osOffice2003Olive", L"osOfficeXP", L"osOffice2007Luna",
        L"osOffice2007Obsidian", L"osCustom", L"osOffice2007Silver", L"osVista", L"osWhidbey", L"osWindows7",
        L"osTerminal", L"osOffice2010Blue", L"osOffice2010Silver", L"osOffice2010Black", L"osWindows8",
        L"osOffice2013White", L"osOffice2013LightGray", L"osOffice2013Gray", L"osWindows10", L"osOffice2016White",
        L"osOffice2016Gray", L"osOffice2016Black", L"osOffice2019White", L"osOffice2019Gray", L"osOffice2019Black"};
};

namespace AdvMenuStylers {

// The menu styler's own theme listener: WM_THEMECHANGED raises OnThemeChange. It is not
// registered with the Office theme notifier.
class TNotifierWindow : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TNotifierWindow, ClassLib::TWinControl)
public:
    explicit TNotifierWindow(ClassLib::TComponent* owner) : TWinControl(owner) {}
    void WndProc(ClassLib::TMessage& message) override;
    ClassLib::TNotifyEvent OnThemeChange;
};

// The preset a UI style selects; osCustom for tsCustom, which has none.
TOfficeStyle OfficeStyleOf(AdvStyleIF::TOVTStyle style);

// The colour scheme name of the active visual style ("NormalColor", "HomeStead",
// "Metallic", ...), empty without one; tests replace it.
using TColorSchemeQuery = std::function<std::wstring()>;
TColorSchemeQuery& ColorSchemeQuery();

class TAdvMenuOfficeStyler : public AdvMenus::TCustomAdvMenuStyler, public AdvStyleIF::IOVTStyle {
    CLASSLIB_CLASS(TAdvMenuOfficeStyler, AdvMenus::TCustomAdvMenuStyler)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvMenuOfficeStyler(ClassLib::TComponent* owner);
    ~TAdvMenuOfficeStyler() override;
    void Loaded() override;

    TOfficeStyle Style() const { return FStyle; }
    // Applies the preset (osCustom: only the font colour and the system font), also when
    // it is the current one; a main menu's bar is redrawn at once.
    void SetStyle(TOfficeStyle value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    // With AutoThemeAdapt: the preset of the visual style's colour scheme.
    void ThemeChanged();
    TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

private:
    TNotifierWindow* FNotifierWnd = nullptr;  // owned as a component
    TOfficeStyle FStyle = osOffice2003Blue;
    bool FAutoThemeAdapt = false;
};

}  // namespace AdvMenuStylers
