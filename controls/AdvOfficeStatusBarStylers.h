#pragma once
// The office styler of the status bar: 26 colour presets chosen by Style, and optional
// adaptation to the installed Office theme through a hidden notifier window.
#include <cstdint>
#include <vector>

#include "controls/AdvOfficeStatusBar.h"
#include "graphics/AdvStyleIF.h"

namespace AdvOfficeStatusBarStylers {

using ClassLib::TColor;

// Same order and ordinals as AdvStyleIF::TOVTStyle, so one is used for the other.
enum TOfficeStatusBarStyle : std::uint8_t {
    psOffice2003Blue, psOffice2003Silver, psOffice2003Olive, psOffice2003Classic, psOffice2007Luna,
    psOffice2007Obsidian, psWindowsXP, psWhidbey, psCustom, psOffice2007Silver, psWindowsVista, psWindows7,
    psTerminal, psOffice2010Blue, psOffice2010Silver, psOffice2010Black, psWindows8, psOffice2013White,
    psOffice2013LightGray, psOffice2013Gray, psWindows10, psOffice2016White, psOffice2016Gray, psOffice2016Black,
    psOffice2019White, psOffice2019Gray, psOffice2019Black
};

// The styler's own theme listener: WM_THEMECHANGED or the theme notifier's
// AdvStyleIF::WM_OFFICETHEMECHANGED raises OnThemeChange.
class TNotifierWindow : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TNotifierWindow, ClassLib::TWinControl)
public:
    explicit TNotifierWindow(ClassLib::TComponent* owner) : TWinControl(owner) {}
    void WndProc(ClassLib::TMessage& message) override;
    ClassLib::TNotifyEvent OnThemeChange;
};

class TAdvOfficeStatusBarOfficeStyler : public AdvOfficeStatusBar::TCustomAdvOfficeStatusBarStyler,
                                        public AdvStyleIF::IOVTStyleEx {
    CLASSLIB_CLASS(TAdvOfficeStatusBarOfficeStyler, AdvOfficeStatusBar::TCustomAdvOfficeStatusBarStyler)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvOfficeStatusBarOfficeStyler(ClassLib::TComponent* owner);
    ~TAdvOfficeStatusBarOfficeStyler() override;
    void Loaded() override;

    TOfficeStatusBarStyle Style() const { return FOfficeStatusBarStyle; }
    void SetStyle(TOfficeStatusBarStyle value) { SetStyleAndAppColor(value, ClassLib::clNone); }
    void SetStyleAndAppColor(TOfficeStatusBarStyle style, TColor appColor);
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override { SetStyle(TOfficeStatusBarStyle(AStyle)); }
    void SetComponentStyleAndAppColor(AdvStyleIF::TOVTStyle AStyle, TColor AppColor) override {
        SetStyleAndAppColor(TOfficeStatusBarStyle(AStyle), AppColor);
    }
    void SetAutoThemeAdapt(bool value) override;
    void ThemeChanged() override;
    TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    void RegisterWithNotifier();
    void UnRegisterFromNotifier();

    AdvStyleIF::TOfficeTheme FOldOfficeTheme = AdvStyleIF::otUnknown;
    TNotifierWindow* FNotifierWnd = nullptr;   // owned as a component
    AdvStyleIF::TThemeNotifier* FThemeNotifier = nullptr;  // the notifier our window is registered with; null: none
    TOfficeStatusBarStyle FOfficeStatusBarStyle = psOffice2003Blue;
};

// Registers the bar and its stylers for window descriptions (and links their units in);
// returns the classes registered.
std::vector<const ClassLib::TClass*> RegisterStatusBarClasses();

}  // namespace AdvOfficeStatusBarStylers
