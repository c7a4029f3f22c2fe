#include "controls/AdvOfficeStatusBarStylers.h"

#include <vector>

#include "classlib/Properties.h"
#include "graphics/AdvThemeNotifier.h"

namespace AdvOfficeStatusBarStylers {

using namespace ClassLib;
using AdvOfficeStatusBar::TVistaBackground;

CLASSLIB_IMPLEMENT(TNotifierWindow, TWinControl)
CLASSLIB_IMPLEMENT(TAdvOfficeStatusBarOfficeStyler, AdvOfficeStatusBar::TCustomAdvOfficeStatusBarStyler)

namespace {
struct TStylePair {
    TOfficeStatusBarStyle Bar;
    AdvStyleIF::TOVTStyle Application;
};
constexpr TStylePair StylePairs[] = {
    {psOffice2003Blue, AdvStyleIF::tsOffice2003Blue},
    {psOffice2003Silver, AdvStyleIF::tsOffice2003Silver},
    {psOffice2003Olive, AdvStyleIF::tsOffice2003Olive},
    {psOffice2003Classic, AdvStyleIF::tsOffice2003Classic},
    {psOffice2007Luna, AdvStyleIF::tsOffice2007Luna},
    {psOffice2007Obsidian, AdvStyleIF::tsOffice2007Obsidian},
    {psWindowsXP, AdvStyleIF::tsWindowsXP},
    {psWhidbey, AdvStyleIF::tsWhidbey},
    {psCustom, AdvStyleIF::tsCustom},
    {psOffice2007Silver, AdvStyleIF::tsOffice2007Silver},
    {psWindowsVista, AdvStyleIF::tsWindowsVista},
    {psWindows7, AdvStyleIF::tsWindows7},
    {psTerminal, AdvStyleIF::tsTerminal},
    {psOffice2010Blue, AdvStyleIF::tsOffice2010Blue},
    {psOffice2010Silver, AdvStyleIF::tsOffice2010Silver},
    {psOffice2010Black, AdvStyleIF::tsOffice2010Black},
    {psWindows8, AdvStyleIF::tsWindows8},
    {psOffice2013White, AdvStyleIF::tsOffice2013White},
    {psOffice2013LightGray, AdvStyleIF::tsOffice2013LightGray},
    {psOffice2013Gray, AdvStyleIF::tsOffice2013Gray},
    {psWindows10, AdvStyleIF::tsWindows10},
    {psOffice2016White, AdvStyleIF::tsOffice2016White},
    {psOffice2016Gray, AdvStyleIF::tsOffice2016Gray},
    {psOffice2016Black, AdvStyleIF::tsOffice2016Black},
    {psOffice2019White, AdvStyleIF::tsOffice2019White},
    {psOffice2019Gray, AdvStyleIF::tsOffice2019Gray},
    {psOffice2019Black, AdvStyleIF::tsOffice2019Black}};
constexpr bool SameOrdinals() {
    for (const TStylePair& pair : StylePairs)
        if (int(pair.Bar) != int(pair.Application)) return false;
    return sizeof StylePairs / sizeof StylePairs[0] == 27;
}
}  // namespace
static_assert(SameOrdinals(), "the bar's styles must keep the ordinals of the application styles, one for one");

namespace {

constexpr TColor Keep = 0x7FFFFFFF;   // a preset that leaves this field as it is

struct TState {
    TColor Color, ColorTo, Mirror, MirrorTo, Border, Text;
};
struct TLook {
    TState Normal, Hot, Down;
};
struct TPreset {
    TColor Styler;
    TLook Light, Dark;
    TColor Separator = Keep;
};

constexpr TState Flat(TColor colour, TColor border, TColor text) { return {colour, colour, colour, colour, border, text}; }
constexpr TState NoMirror(TColor from, TColor to, TColor border, TColor text) { return {from, to, clNone, clNone, border, text}; }

constexpr TState OfficeHot{0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x58CAF1, Keep};
constexpr TState OfficeDown{0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, Keep};
constexpr TState Hot2003{0xD4FBFF, 0x63C4F7, 0x63C4F7, 0x63C4F7, 0x808080, Keep};
constexpr TState Down2003{0x8CE1FA, 0x1D9AEF, 0x1D9AEF, 0x1D9AEF, 0x9C430F, Keep};

constexpr TState WithText(TState s, TColor text) { return {s.Color, s.ColorTo, s.Mirror, s.MirrorTo, s.Border, text}; }

TPreset Preset(TOfficeStatusBarStyle style, TColor appColor) {
    const TColor black = clBlack, white = clWhite;
    switch (style) {
    case psOffice2003Blue:
        return {0xE4AE88, {{0xFADDC6, 0xE2A982, 0xE2A982, 0xE2A982, 0xE3B28D, black}, WithText(Hot2003, black), WithText(Down2003, black)},
                {{0xD38355, 0x9C430F, 0x9C430F, 0x9C430F, clNone, white}, WithText(Hot2003, black), WithText(Down2003, black)}};
    case psOffice2003Silver:
        return {0x947C7C, {{0xF7F3F3, 0xD7C5C5, 0xD7C5C5, 0xD7C5C5, 0x947C7C, black}, WithText(Hot2003, Keep), WithText(Down2003, Keep)},
                {{0xA68A8A, 0x7A6464, 0x7A6464, 0x7A6464, clNone, white}, WithText(Hot2003, black), WithText(Down2003, black)}};
    case psOffice2003Olive:
        return {0x588060, {{0xDEF7F4, 0x91C6B7, 0x91C6B7, 0x91C6B7, 0x588060, black}, WithText(Hot2003, black), WithText(Down2003, black)},
                {{0x8CC0B1, 0x588060, 0x588060, 0x588060, clNone, white}, WithText(Hot2003, Keep), WithText(Down2003, Keep)}};
    case psOffice2003Classic:
        return {0x808080, {{0xF0F0F0, 0xD4D0C8, 0xD4D0C8, 0xD4D0C8, 0x808080, black}, WithText(Hot2003, black), WithText(Down2003, black)},
                {{0x808080, 0x696969, 0x696969, 0x696969, clNone, white}, WithText(Hot2003, black), WithText(Down2003, black)}};
    case psOffice2007Luna:
        return {0xD1A688, {{0xFFEFE3, 0xFFDDC4, 0xFFD1AD, 0xFFDBC0, clNone, 0x8B4215}, WithText(OfficeHot, 0x8B4215), WithText(OfficeDown, 0x8B4215)},
                {{0xFFD1AD, 0xD1A688, clNone, clNone, clNone, 0x8B4215}, WithText(OfficeHot, 0x8B4215), WithText(OfficeDown, 0x8B4215)}};
    case psOffice2007Obsidian:
        return {0x5C534C, {{0xF2F1F0, 0xC9C2BD, clNone, clNone, clNone, black}, WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {{0x5C534C, 0x433C37, clNone, clNone, clNone, white}, WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psWindowsXP:
        return {0x808080, {Flat(0xEFF0F1, 0x808080, black), WithText(Hot2003, black), WithText(Down2003, black)},
                {NoMirror(0xD8D2BD, 0xC1B79B, clNone, black), WithText(Hot2003, black), WithText(Down2003, black)}};
    case psWhidbey:
        return {0x99A8AC, {NoMirror(0xF5F9FA, 0xD8E1E3, 0x99A8AC, black), WithText(Hot2003, black), WithText(Down2003, black)},
                {NoMirror(0xA8B8BC, 0x7B8B8F, clNone, white), WithText(Hot2003, Keep), WithText(Down2003, Keep)}};
    case psOffice2007Silver:
        return {0x74706F, {{0xF8F7F6, 0xE8E0DB, clNone, clNone, clNone, black}, WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {{0xB8B2AE, 0x8E8884, clNone, clNone, clNone, black}, WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psWindowsVista:
        return {0xD9C4B1, {NoMirror(0xFFFFFF, 0xFDF6EF, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {NoMirror(0xF1E0D1, 0xE0C4AC, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psWindows7:
        return {0xD8C8BA, {NoMirror(0xFDFBFA, 0xF0E5DC, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {NoMirror(0xF3E8DE, 0xDCC8B6, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psTerminal:
        return {0x808080, {Flat(clBtnFace, 0x808080, black), Flat(0x808080, 0xC0C0C0, black), Flat(clHighlight, 0x808080, black)},
                {Flat(0xC0C0C0, 0x808080, black), Flat(0x808080, 0xC0C0C0, black), Flat(clHighlight, 0x808080, black)}};
    case psOffice2010Blue:
        return {0xA78F79, {NoMirror(0xFDF6EF, 0xF0DAC7, clNone, 0x73391F), WithText(OfficeHot, 0x73391F), WithText(OfficeDown, 0x73391F)},
                {NoMirror(0xF6E8DC, 0xA78F79, clNone, 0x73391F), WithText(OfficeHot, 0x73391F), WithText(OfficeDown, 0x73391F)}};
    case psOffice2010Silver:
        return {0xA39A93, {NoMirror(0xFFFFFF, 0xEDE5E0, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {NoMirror(0xEEEAE6, 0xA39A93, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psOffice2010Black:
        return {0x2C2C2C, {NoMirror(0xBFBFBF, 0x919191, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)},
                {NoMirror(0x4B4B4B, 0x323232, clNone, black), WithText(OfficeHot, black), WithText(OfficeDown, black)}};
    case psWindows8: case psWindows10: case psOffice2013White:
        return {0xDCDBDA, {Flat(white, clNone, black), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)},
                {Flat(0xF7F6F5, 0xDCDBDA, black), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)}};
    case psOffice2013LightGray:
        return {0xC6C6C6, {Flat(0xF3F3F3, clNone, 0x444444), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)},
                {Flat(0xF3F3F3, 0xC6C6C6, 0x444444), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)}};
    case psOffice2013Gray:
        return {0xABABAB, {Flat(0xE5E5E5, clNone, 0x444444), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)},
                {Flat(0xE5E5E5, 0xABABAB, 0x444444), Flat(0xF7EFE8, 0xF9CEA4, black), Flat(0xF7E0C9, 0xE4A262, black)}};
    case psOffice2016White: {
        const TColor accent = appColor == clNone ? TColor(0xE3BDA3) : appColor;
        const TColor hot = AdvStyleIF::AdjustColorBrightness(accent, -10);
        return {clWhite, {NoMirror(white, white, clNone, black), Flat(hot, hot, black), Flat(AdvStyleIF::AdjustColorBrightness(accent, 20), AdvStyleIF::AdjustColorBrightness(accent, 20), black)},
                {NoMirror(white, white, clNone, white), Flat(hot, hot, black), Flat(AdvStyleIF::AdjustColorBrightness(clWhite, 20), AdvStyleIF::AdjustColorBrightness(clWhite, 20), black)}};
    }
    case psOffice2016Gray:
        return {0x444444, {NoMirror(0xD4D4D4, 0xD4D4D4, clNone, 0x262626), Flat(0xF0F0F0, 0xF0F0F0, black), Flat(0xB0B0B0, 0xB0B0B0, black)},
                {NoMirror(0x444444, 0x444444, clNone, white), Flat(0x5A5A5A, 0x5A5A5A, white), Flat(0x6A6A6A, 0x6A6A6A, white)}};
    case psOffice2016Black:
        return {0x252525, {NoMirror(0x363636, 0x363636, clNone, white), Flat(0x505050, 0x505050, white), Flat(0x6A6A6A, 0x6A6A6A, white)},
                {NoMirror(0x262626, 0x262626, clNone, white), Flat(0x505050, 0x505050, white), Flat(0x6A6A6A, 0x6A6A6A, white)}};
    case psOffice2019White:
        return {0xC4C6C8, {NoMirror(white, white, clNone, 0x444648), Flat(0xFAECE3, 0xFAECE3, 0x444648), Flat(0xE3BDA3, 0xE3BDA3, 0x444648)},
                {NoMirror(0xFAFAFA, 0xFAFAFA, clNone, black), Flat(0xF2E1D5, 0xF2E1D5, black), Flat(0xB0784A, 0xB0784A, black)}, 0xABABAB};
    case psOffice2019Gray:
        return {0x666666, {NoMirror(0xE6E6E6, 0xE6E6E6, clNone, 0x262626), Flat(0xDADADA, 0xDADADA, 0x262626), Flat(0xC8C8C8, 0xC8C8C8, 0x262626)},
                {NoMirror(0xD4D4D4, 0xD4D4D4, clNone, 0x262626), Flat(0xC8C8C8, 0xC8C8C8, 0x262626), Flat(0xB4B4B4, 0xB4B4B4, 0x262626)}, 0x666666};
    case psOffice2019Black:
        return {0x262626, {NoMirror(0x323232, 0x323232, clNone, white), Flat(0x505050, 0x505050, white), Flat(0x6A6A6A, 0x6A6A6A, white)},
                {NoMirror(0x262626, 0x262626, clNone, white), Flat(0x505050, 0x505050, white), Flat(0x6A6A6A, 0x6A6A6A, white)}, 0x444444};
    case psCustom:
        break;
    }
    return {};
}

void Apply(TVistaBackground* a, const TLook& look, TColor separator) {
    const auto set = [a](void (TVistaBackground::*setter)(TColor), TColor value) {
        if (value != Keep) (a->*setter)(value);
    };
    set(&TVistaBackground::SetBorderColor, look.Normal.Border);
    set(&TVistaBackground::SetBorderColorHot, look.Hot.Border);
    set(&TVistaBackground::SetBorderColorDown, look.Down.Border);
    set(&TVistaBackground::SetColor, look.Normal.Color);
    set(&TVistaBackground::SetColorTo, look.Normal.ColorTo);
    set(&TVistaBackground::SetColorHot, look.Hot.Color);
    set(&TVistaBackground::SetColorHotTo, look.Hot.ColorTo);
    set(&TVistaBackground::SetColorDown, look.Down.Color);
    set(&TVistaBackground::SetColorDownTo, look.Down.ColorTo);
    set(&TVistaBackground::SetColorMirror, look.Normal.Mirror);
    set(&TVistaBackground::SetColorMirrorTo, look.Normal.MirrorTo);
    set(&TVistaBackground::SetColorMirrorHot, look.Hot.Mirror);
    set(&TVistaBackground::SetColorMirrorHotTo, look.Hot.MirrorTo);
    set(&TVistaBackground::SetColorMirrorDown, look.Down.Mirror);
    set(&TVistaBackground::SetColorMirrorDownTo, look.Down.MirrorTo);
    set(&TVistaBackground::SetTextColor, look.Normal.Text);
    set(&TVistaBackground::SetTextColorHot, look.Hot.Text);
    set(&TVistaBackground::SetTextColorDown, look.Down.Text);
    set(&TVistaBackground::SetSeperatorColor, separator);
}


}  // namespace

std::vector<const TClass*> RegisterStatusBarClasses() {
    std::vector<const TClass*> classes = {&AdvOfficeStatusBar::TAdvOfficeStatusBar::StaticClass(),
                                          &AdvOfficeStatusBar::TCustomAdvOfficeStatusBarStyler::StaticClass(),
                                          &TAdvOfficeStatusBarOfficeStyler::StaticClass()};
    for (const TClass* cls : classes) RegisterClassType(*cls);
    return classes;
}

void TNotifierWindow::WndProc(TMessage& message) {
    if ((message.Msg == WM_THEMECHANGED || message.Msg == AdvStyleIF::WM_OFFICETHEMECHANGED) && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(message);
}

const TPropertyList& TAdvOfficeStatusBarOfficeStyler::Published() {
    using S = TAdvOfficeStatusBarOfficeStyler;
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Enum(L"Style", L"TOfficeStatusBarStyle", &S::Style, &S::SetStyle,
              
              {L"psOffice2003Blue", L"psOffice2003Silver", L"psOffice2003Olive", L"psOffice2003Classic", L"psOffice2007Luna", L"psOffice2007Obsidian", L"psWindowsXP", L"psWhidbey", L"psCustom", L"psOffice2007Silver", L"psWindowsVista",
               L"psWindows7", L"psTerminal", L"psOffice2010Blue", L"psOffice2010Silver", L"psOffice2010Black", L"psWindows8",
               L"psOffice2013White", L"psOffice2013LightGray", L"psOffice2013Gray", L"psWindows10", L"psOffice2016White", L"psOffice2016Gray", L"psOffice2016Black", L"psOffice2019White", L"psOffice2019Gray", L"psOffice2019Black"}, psOffice2003Blue)
        .Add(L"AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
        .Colour(L"BorderColor", &S::BorderColor, &S::SetBorderColor, 0xE4AE88)
        .SubObject(L"PanelAppearanceLight", &S::PanelAppearanceLight)
        .SubObject(L"PanelAppearanceDark", &S::PanelAppearanceDark);
    return list;
}

TAdvOfficeStatusBarOfficeStyler::TAdvOfficeStatusBarOfficeStyler(TComponent* owner) : TCustomAdvOfficeStatusBarStyler(owner) {
    FNotifierWnd = new TNotifierWindow(this);
    for (TComponent* c = owner; c; c = c->Owner())
        if (auto* parent = dynamic_cast<TWinControl*>(c)) {
            FNotifierWnd->SetParent(parent);
            FNotifierWnd->SetVisible(false);
            break;
        }
    FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
    SetStyle(psOffice2003Blue);
}

TAdvOfficeStatusBarOfficeStyler::~TAdvOfficeStatusBarOfficeStyler() {
    UnRegisterFromNotifier();
}

void TAdvOfficeStatusBarOfficeStyler::Notification(TComponent* component, TOperation operation) {
    TCustomAdvOfficeStatusBarStyler::Notification(component, operation);
    if (operation == opRemove && component == FThemeNotifier) FThemeNotifier = nullptr;
}

void TAdvOfficeStatusBarOfficeStyler::RegisterWithNotifier() {
    if (FThemeNotifier) return;
    TWinControl* owner = nullptr;
    for (TComponent* c = Owner(); c && !owner; c = c->Owner()) owner = dynamic_cast<TWinControl*>(c);
    FThemeNotifier = AdvStyleIF::GetThemeNotifier(owner);
    // The notifier may be freed with its owner before us; we must not unregister from it then.
    FThemeNotifier->FreeNotification(this);
    FThemeNotifier->RegisterWindow(FNotifierWnd->Handle());
}

// Only the notifier we registered with: asking for it here could make a new one while
// the program closes.
void TAdvOfficeStatusBarOfficeStyler::UnRegisterFromNotifier() {
    if (!FThemeNotifier) return;
    if (FNotifierWnd && FNotifierWnd->HandleAllocated()) FThemeNotifier->UnRegisterWindow(FNotifierWnd->Handle());
    FThemeNotifier->RemoveFreeNotification(this);
    FThemeNotifier = nullptr;
}

void TAdvOfficeStatusBarOfficeStyler::Loaded() {
    TCustomAdvOfficeStatusBarStyler::Loaded();
    if (HasState(csDesigning)) return;
    ThemeChanged();
    if (AutoThemeAdapt()) RegisterWithNotifier();
}

void TAdvOfficeStatusBarOfficeStyler::SetAutoThemeAdapt(bool value) {
    if (value == AutoThemeAdapt()) return;
    TCustomAdvOfficeStatusBarStyler::SetAutoThemeAdapt(value);
    if (value) {
        FOldOfficeTheme = AdvStyleIF::otUnknown;
        ThemeChanged();
    }
    if (!HasState(csDesigning) && !HasState(csLoading) && FNotifierWnd->HandleAllocated()) {
        if (value) RegisterWithNotifier();
        else UnRegisterFromNotifier();
    }
}

void TAdvOfficeStatusBarOfficeStyler::ThemeChanged() {
    if (!AutoThemeAdapt() || HasState(csDesigning) || HasState(csLoading)) return;
    const AdvStyleIF::TOfficeTheme theme = AdvStyleIF::GetOfficeTheme();
    if (theme == FOldOfficeTheme) return;
    FOfficeStatusBarStyle = psCustom;
    using namespace AdvStyleIF;
    static const TOfficeStatusBarStyle map[] = {
        psOffice2003Blue, psOffice2003Silver, psOffice2003Olive, psOffice2003Classic, psOffice2007Luna, psOffice2007Silver,
        psOffice2007Obsidian, psOffice2010Blue, psOffice2010Silver, psOffice2010Black, psOffice2013White,
        psOffice2013LightGray, psOffice2013Gray, psOffice2016White, psOffice2016Gray, psOffice2016Black,
        psOffice2019White, psOffice2019Gray, psOffice2019Black};
    if (theme != otUnknown) SetStyle(map[theme]);
    FOldOfficeTheme = theme;
}

void TAdvOfficeStatusBarOfficeStyler::SetStyleAndAppColor(TOfficeStatusBarStyle style, TColor appColor) {
    FOfficeStatusBarStyle = style;
    if (style == psCustom) return;
    const TPreset preset = Preset(style, appColor);
    SetBorderColor(preset.Styler);
    Apply(PanelAppearanceLight(), preset.Light, preset.Separator);
    Apply(PanelAppearanceDark(), preset.Dark, preset.Separator);
    NotifyChange(1);
}

}  // namespace AdvOfficeStatusBarStylers
