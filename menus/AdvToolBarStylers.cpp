#include "menus/AdvToolBarStylers.h"

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvThemeNotifier.h"
#include "menus/AdvMenuStyler.h"

namespace AdvToolBarStylers {

using namespace ClassLib;
using namespace AdvStyleIF;
using namespace AdvToolBar;

CLASSLIB_IMPLEMENT(TNotifierWindow, ClassLib::TWinControl)
CLASSLIB_IMPLEMENT(TAdvToolBarOfficeStyler, AdvToolBar::TCustomAdvToolBarStyler)

// ---------------------------------------------------------------- colour helpers

TColor ShadeColor(TColor color, int percent) {
    const TColor rgb = ColorToRGB(color);
    const auto shade = [percent](int channel) {
        const int64_t value = Round(channel * percent / 100.0 + channel);
        return int(value < 0 ? 0 : value > 255 ? 255 : value);
    };
    return RGBToColor(shade(ColorRed(rgb)), shade(ColorGreen(rgb)), shade(ColorBlue(rgb)));
}

// Exact in integers: 299 R + 587 G + 114 B against 186 000.
bool IsDarkColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return 299 * ColorRed(rgb) + 587 * ColorGreen(rgb) + 114 * ColorBlue(rgb) <= 186000;
}

// ---------------------------------------------------------------- style names

namespace {

struct TStylePair {
    TToolBarStyle Preset;
    TOVTStyle Style;
};
constexpr TStylePair StylePairs[] = {
    {bsOffice2003Blue, tsOffice2003Blue},       {bsOffice2003Silver, tsOffice2003Silver},
    {bsOffice2003Olive, tsOffice2003Olive},     {bsOffice2003Classic, tsOffice2003Classic},
    {bsOffice2007Luna, tsOffice2007Luna},       {bsOffice2007Obsidian, tsOffice2007Obsidian},
    {bsWindowsXP, tsWindowsXP},                 {bsWhidbeyStyle, tsWhidbey},
    {bsCustom, tsCustom},                       {bsOffice2007Silver, tsOffice2007Silver},
    {bsWindowsVista, tsWindowsVista},           {bsWindows7, tsWindows7},
    {bsTerminal, tsTerminal},                   {bsOffice2010Blue, tsOffice2010Blue},
    {bsOffice2010Silver, tsOffice2010Silver},   {bsOffice2010Black, tsOffice2010Black},
    {bsWindows8, tsWindows8},                   {bsOffice2013White, tsOffice2013White},
    {bsOffice2013LightGray, tsOffice2013LightGray}, {bsOffice2013Gray, tsOffice2013Gray},
    {bsWindows10, tsWindows10},                 {bsOffice2016White, tsOffice2016White},
    {bsOffice2016Gray, tsOffice2016Gray},       {bsOffice2016Black, tsOffice2016Black},
    {bsOffice2019White, tsOffice2019White},     {bsOffice2019Gray, tsOffice2019Gray},
    {bsOffice2019Black, tsOffice2019Black},
    // Reached only through Style, a theme file or a description.
    {bsOfficeXP, tsWindowsXP},
};

}  // namespace

TOVTStyle UIStyleOf(TToolBarStyle style) {
    for (const TStylePair& pair : StylePairs)
        if (pair.Preset == style) return pair.Style;
    return tsCustom;
}

bool PresetOf(TOVTStyle style, TToolBarStyle& preset) {
    if (style == tsCustom) return false;
    for (const TStylePair& pair : StylePairs)
        if (pair.Style == style) {
            preset = pair.Preset;
            return true;
        }
    return false;
}

std::wstring ThemeFileWord(TToolBarStyle style) {
    switch (style) {
        case bsOffice2007Silver: case bsWindows8: case bsWindows10: return L"bsOffice2003Blue";
        case bsWhidbeyStyle: return L"bsWhidbey";
        default: return TEnumNames<TToolBarStyle>::Names[style];
    }
}

bool StyleOfThemeFileWord(const std::wstring& line, TToolBarStyle& style) {
    const std::wstring upper = UpperCase(line);   // blanks are not trimmed
    for (int i = 0; i <= int(bsOffice2019Black); ++i) {
        const auto candidate = TToolBarStyle(i);
        // Written as another style's word, these three are never read back.
        if (candidate == bsOffice2007Silver || candidate == bsWindows8 || candidate == bsWindows10) continue;
        if (upper == UpperCase(ThemeFileWord(candidate))) {
            style = candidate;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- notifier window

void TNotifierWindow::WndProc(TMessage& message) {
    if ((message.Msg == WM_THEMECHANGED || message.Msg == WM_OFFICETHEMECHANGED) && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TAdvToolBarOfficeStyler

const TPropertyList& TAdvToolBarOfficeStyler::Published() {
    using S = TAdvToolBarOfficeStyler;
    using B = TCustomAdvToolBarStyler;
    // Colours without a declared default are always written: a form must not lose the
    // values the styler starts with (the right handle's, which are not clGray).
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TComponent::Published());
        const auto startColour = [&l](const wchar_t* name, TColor (B::*get)() const, void (B::*set)(TColor), TColor start) {
            l.Colour(name, get, set, start).Stored(name, true);
        };
        l.SubObject(L"AppColor", &B::AppColor)
            .Enum(L"Style", &S::Style, &S::SetStyle, bsOffice2003Blue)
            .Reference(L"AdvMenuStyler", &B::AdvMenuStyler, &B::SetAdvMenuStyler)
            .Add(L"AutoThemeAdapt", &B::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
            .SubObject(L"BackGround", &B::BackGround)
            .Add(L"BackGroundTransparent", &B::BackGroundTransparent, &B::SetBackGroundTransparent, true)
            .Enum(L"BackGroundDisplay", &B::BackGroundDisplay, &B::SetBackGroundDisplay, bdTile);
        startColour(L"BorderColor", &B::BorderColor, &B::SetBorderColor, clNone);
        l.Colour(L"BorderColorHot", &B::BorderColorHot, &B::SetBorderColorHot, clNone)
            .SubObject(L"ButtonAppearance", &B::ButtonAppearance)
            .SubObject(L"CaptionAppearance", &B::CaptionAppearance)
            .SubObject(L"CaptionFont", &B::CaptionFont)
            .SubObject(L"ContainerAppearance", &B::ContainerAppearance)
            .SubObject(L"Color", &B::Color)
            .SubObject(L"ColorHot", &B::ColorHot)
            .SubObject(L"CompactGlowButtonAppearance", &B::CompactGlowButtonAppearance)
            .SubObject(L"DockColor", &B::DockColor)
            .Enum(L"DragGripStyle", &B::DragGripStyle, &B::SetDragGripStyle, dsDots)
            .SubObject(L"DragGripImage", &B::DragGripImage);
        startColour(L"FloatingWindowBorderColor", &B::FloatingWindowBorderColor, &B::SetFloatingWindowBorderColor,
                    TColor(0x6D6D6D));
        l.Add(L"FloatingWindowBorderWidth", &B::FloatingWindowBorderWidth, &B::SetFloatingWindowBorderWidth, 2)
            .SubObject(L"Font", &B::Font)
            .SubObject(L"GlowButtonAppearance", &B::GlowButtonAppearance)
            .SubObject(L"GroupAppearance", &B::GroupAppearance)
            .SubObject(L"PageAppearance", &B::PageAppearance)
            .SubObject(L"PagerCaption", &B::PagerCaption)
            .SubObject(L"QATAppearance", &B::QATAppearance)
            .SubObject(L"RightHandleImage", &B::RightHandleImage);
        startColour(L"RightHandleColor", &B::RightHandleColor, &B::SetRightHandleColor, TColor(0x9E9E9E));
        startColour(L"RightHandleColorTo", &B::RightHandleColorTo, &B::SetRightHandleColorTo, clBlack);
        startColour(L"RightHandleColorHot", &B::RightHandleColorHot, &B::SetRightHandleColorHot, TColor(0xD2BDB6));
        startColour(L"RightHandleColorHotTo", &B::RightHandleColorHotTo, &B::SetRightHandleColorHotTo, clBlack);
        startColour(L"RightHandleColorDown", &B::RightHandleColorDown, &B::SetRightHandleColorDown, TColor(0x76C1FF));
        startColour(L"RightHandleColorDownTo", &B::RightHandleColorDownTo, &B::SetRightHandleColorDownTo,
                    TColor(0x2DA0FF));
        l.SubObject(L"TabAppearance", &B::TabAppearance).Add(L"SystemFont", &B::SystemFont, &B::SetSystemFont, true);
        return l;
    }();
    return list;
}

TAdvToolBarOfficeStyler::TAdvToolBarOfficeStyler(TComponent* owner) : TCustomAdvToolBarStyler(owner) {
    FNotifierWnd = new TNotifierWindow(this);
    FOldOfficeTheme = otUnknown;
    // The first windowed owner gives the window a parent, so it gets a handle with the form.
    for (TComponent* c = owner; c; c = c->Owner())
        if (auto* parent = dynamic_cast<TWinControl*>(c)) {
            FNotifierWnd->SetVisible(false);
            FNotifierWnd->SetParent(parent);
            break;
        }
    FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
    FDesignTime = owner && owner->HasState(csDesigning) && !owner->HasState(csReading) && !owner->HasState(csLoading);
    FToolBarStyle = bsOffice2003Blue;
    if (FDesignTime) SetComponentStyle(GetFormStylerStyle(owner, tsOffice2019White));
}

TAdvToolBarOfficeStyler::~TAdvToolBarOfficeStyler() { UnRegisterFromNotifier(); }

void TAdvToolBarOfficeStyler::RegisterWithNotifier() {
    if (FThemeNotifier) return;
    TWinControl* owner = nullptr;
    for (TComponent* c = Owner(); c && !owner; c = c->Owner()) owner = dynamic_cast<TWinControl*>(c);
    FThemeNotifier = GetThemeNotifier(owner);
    // The notifier may go with its owner before us; we must not unregister from it then.
    FThemeNotifier->FreeNotification(this);
    FThemeNotifier->RegisterWindow(FNotifierWnd->Handle());
}

// Only from the notifier we registered with: asking for one here could make a new one
// while the program closes.
void TAdvToolBarOfficeStyler::UnRegisterFromNotifier() {
    if (!FThemeNotifier) return;
    if (FNotifierWnd && FNotifierWnd->HandleAllocated()) FThemeNotifier->UnRegisterWindow(FNotifierWnd->Handle());
    FThemeNotifier->RemoveFreeNotification(this);
    FThemeNotifier = nullptr;
}

void TAdvToolBarOfficeStyler::Loaded() {
    TCustomAdvToolBarStyler::Loaded();
    if (!HasState(csDesigning)) {
        ThemeChanged();
        if (AutoThemeAdapt()) RegisterWithNotifier();
    }
    // Their colours come from the pager, which is attached only by now.
    switch (FToolBarStyle) {
        case bsWindows8: case bsOffice2013White: case bsOffice2013LightGray: case bsOffice2013Gray: {
            const TToolBarStyle loaded = FToolBarStyle;
            FToolBarStyle = bsCustom;
            SetStyle(loaded);
            break;
        }
        default: break;
    }
}

void TAdvToolBarOfficeStyler::SetComponentStyle(TOVTStyle AStyle) { SetComponentStyleAndAppColor(AStyle, clNone); }

void TAdvToolBarOfficeStyler::SetComponentStyleAndAppColor(TOVTStyle AStyle, TColor AppColor) {
    if (AppColor != clNone) ApplyAppColor(AStyle, AppColor);
    TToolBarStyle preset;
    if (PresetOf(AStyle, preset)) SetStyle(preset);
}

void TAdvToolBarOfficeStyler::ApplyAppColor(TOVTStyle style, TColor appColor) {
    TAppColor& app = *AppColor();
    app.SetAppButtonColor(appColor);
    const bool dark = IsDarkColor(appColor);
    if (style == tsOffice2019White) {
        app.SetAppButtonHoverColor(ShadeColor(appColor, dark ? -15 : 15));
        app.SetSelectedColor(app.AppButtonHoverColor());
        app.SetHoverColor(ShadeColor(appColor, dark ? 30 : -30));
    } else {
        app.SetAppButtonHoverColor(ShadeColor(appColor, dark ? 30 : -30));
    }
}

void TAdvToolBarOfficeStyler::SetColorTones(TColorTones ATones) {
    SetComponentStyleAndAppColor(tsOffice2016White, ATones.Foreground.BrushColor);
}

void TAdvToolBarOfficeStyler::UpdateAppColors() {
    const TToolBarStyle current = FToolBarStyle;
    FToolBarStyle = bsCustom;
    SetStyle(current);
}

void TAdvToolBarOfficeStyler::ReapplyStyle() {
    TCustomAdvToolBarStyler::ReapplyStyle();
    SetStyle(FToolBarStyle);
}

void TAdvToolBarOfficeStyler::SetAutoThemeAdapt(bool value) {
    if (value == AutoThemeAdapt()) return;
    TCustomAdvToolBarStyler::SetAutoThemeAdapt(value);
    if (value) {
        FOldOfficeTheme = otUnknown;
        ThemeChanged();
    }
    if (!HasState(csDesigning) && !HasState(csLoading) && FNotifierWnd->HandleAllocated()) {
        if (value)
            RegisterWithNotifier();
        else
            UnRegisterFromNotifier();
    }
}

void TAdvToolBarOfficeStyler::ThemeChanged() {
    if (!AutoThemeAdapt() || HasState(csDesigning) || HasState(csLoading)) return;
    const TOfficeTheme theme = GetOfficeTheme();
    if (theme == FOldOfficeTheme) return;
    FToolBarStyle = bsCustom;
    static const TToolBarStyle presets[] = {
        bsOffice2003Blue,  bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic,  bsOffice2007Luna,
        bsOffice2007Silver, bsOffice2007Obsidian, bsOffice2010Blue, bsOffice2010Silver, bsOffice2010Black,
        bsOffice2013White, bsOffice2013LightGray, bsOffice2013Gray, bsOffice2016White, bsOffice2016Gray,
        bsOffice2016Black, bsOffice2019White, bsOffice2019Gray, bsOffice2019Black};
    static_assert(sizeof presets / sizeof presets[0] == otUnknown, "one preset per known Office theme");
    if (theme != otUnknown) SetStyle(presets[theme]);
    FOldOfficeTheme = theme;
}

// ---------------------------------------------------------------- theme file

void TAdvToolBarOfficeStyler::SaveToFile(const std::wstring& fileName) {
    TThemeLines body;
    SaveToTextFile(body);
    std::wstring text = ThemeFileWord(FToolBarStyle) + L"\r\n";
    for (const std::wstring& line : body.Lines()) text += line + L"\r\n";
    const AnsiString bytes = StringToAnsi(text, Seams().AnsiCodePage());
    try {
        SaveFileSafely(fileName, [&](TStream* stream) { stream->WriteBuffer(bytes.data(), int(bytes.size())); });
    } catch (const EStreamError&) {
        throw Exception(L"Cannot Create " + fileName);
    }
}

void TAdvToolBarOfficeStyler::LoadFromFile(const std::wstring& fileName) {
    // Read whole and closed at once: nothing below can leave the file open.
    TMemoryStream stream;
    try {
        stream.LoadFromFile(fileName);
    } catch (const EStreamError&) {
        throw Exception(L"Cannot open file " + fileName);
    }
    const std::string bytes(stream.Bytes().begin(), stream.Bytes().end());
    const std::wstring text = AnsiToString(bytes, Seams().AnsiCodePage());
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
    }
    TThemeLines file(std::move(lines));
    TToolBarStyle style;
    if (StyleOfThemeFileWord(file.ReadLine(), style)) SetStyle(style);
    LoadFromTextFile(file);
}

std::vector<const TClass*> RegisterToolBarStylerClasses() {
    std::vector<const TClass*> classes = {&TCustomAdvToolBarStyler::StaticClass(), &TAdvToolBarOfficeStyler::StaticClass(),
                                          &AdvMenus::TCustomAdvMenuStyler::StaticClass(),
                                          &AdvMenus::TAdvMenuStyler::StaticClass()};
    for (const TClass* cls : classes) RegisterClassType(*cls);
    return classes;
}

}  // namespace AdvToolBarStylers
