#include "menus/AdvMenuStylers.h"

#include <windows.h>

#include <iterator>

#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "menus/AdvMenus.h"

namespace AdvMenuStylers {

using namespace ClassLib;
using namespace AdvMenus;
using AdvStyleIF::TOVTStyle;

CLASSLIB_IMPLEMENT(TNotifierWindow, TWinControl)
CLASSLIB_IMPLEMENT(TAdvMenuOfficeStyler, AdvMenus::TCustomAdvMenuStyler)

namespace {

constexpr TColor Keep = 0x7FFFFFFF;   // a preset that leaves this value as it is

struct TPair {
    TColor Color, ColorTo;
};
struct TBox {
    TColor Color, ColorTo, Mirror, MirrorTo, Border;
};
struct TMarks {
    TColor Check, CheckTo, CheckBorder, Radio, RadioTo, RadioBorder;
};
struct TButtons {
    TColor Hover, HoverTo, HoverBorder, Down, DownTo, DownBorder;
};
enum class TFonts : std::uint8_t { Keep, BarOwn, AllOwn };

// One preset: the colours each appearance object takes, Keep where it keeps its own.
struct TMenuPreset {
    TOfficeStyle Style;
    TPair Background;
    TColor MenuBorder;
    TPair Bar;
    TBox Selected;
    TBox Hover;
    TColor HoverText;
    int BarDirection;   // a TGradientDirection, or -1 to keep it
    TColor BarText;
    TBox Item;
    TMarks ItemMarks;
    TPair Icons;
    TMarks IconMarks;
    TColor IconSeparator;
    TPair Separator;
    TButtons Buttons;
    TColor ItemText = Keep;      // the selected item's font colour
    TColor FontColor = Keep;     // the styler's font colour after clWindowText
    TColor SelectedText = Keep;  // the menu-bar item's text while dropped down
    TFonts Fonts = TFonts::Keep;
};

constexpr TColor White = 0xFFFFFF, Black = 0x000000;
constexpr TBox Flat(TColor colour, TColor border) { return {colour, colour, clNone, clNone, border}; }
constexpr TBox Gradient(TColor from, TColor to, TColor border) { return {from, to, clNone, clNone, border}; }
constexpr TMarks Marks(TColor colour, TColor border) { return {colour, clNone, border, colour, clNone, border}; }
constexpr TButtons Buttons(TColor hover, TColor hoverBorder, TColor down, TColor downBorder) {
    return {hover, hover, hoverBorder, down, down, downBorder};
}
constexpr TButtons KeepButtons{Keep, Keep, Keep, Keep, Keep, Keep};

// The office look of hot and pressed controls (the status bar's presets of the same look).
constexpr TBox OfficeHot{0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x58CAF1};
constexpr TBox OfficeDown{0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2};
constexpr TBox Hover2003 = Gradient(0xCCF4FF, 0x91D0FF, 0x800000);
constexpr TButtons Buttons2003{0xCCF4FF, 0x91D0FF, 0x800000, 0x4E91FE, 0x8ED3FF, 0x800000};
constexpr TButtons ButtonsOffice{0xD9F9FD, 0x8AE3FD, 0x58CAF1, 0x7BEEFF, 0x6CD0FF, 0x308AC2};
constexpr int Vertical = gdVertical, Horizontal = gdHorizontal, KeepDirection = -1;

// Every preset but osCustom, in one table.
const TMenuPreset Presets[] = {
    {osOffice2003Blue, {0xF6F6F6, 0xF6F6F6}, 0x962D00, {0xF5BE9E, 0xF7CDB2}, Gradient(0xFFEFE3, 0xE4AD87, 0x962D00),
     Hover2003, Black, Horizontal, Black, Flat(0xC2EEFF, 0x800000), Marks(0x3E80FE, 0x800000), {0xFFEFE3, 0xE4AD87},
     Marks(0x6FC0FF, 0x800000), Keep, {0xCB8C6A, 0xCB8C6A}, Buttons2003},
    {osOffice2003Silver, {0xF6F6F6, 0xF6F6F6}, 0x5E8D75, {0xE5D7D7, 0xF7F3F3}, Gradient(0xFFF9F9, 0xB99D9F, 0x947C7C),
     Hover2003, Black, Horizontal, Black, Flat(0xC2EEFF, 0x6F4B4B), Marks(0x3E80FE, 0x6F4B4B), {0xFFF9F9, 0xB99D9F},
     Marks(0x6FC0FF, 0x6F4B4B), Keep, {0x8F6D6E, 0x8F6D6E}, Buttons2003},
    {osOffice2003Olive, {0xF6F6F6, 0xF6F6F6}, 0x5E8D75, {0xA8D9D9, 0xE4F0F2}, Gradient(0xEDFFFF, 0x92C7B8, 0x588060),
     Hover2003, Black, Horizontal, Black, Flat(0xC2EEFF, 0x385D3F), Marks(0x3E80FE, 0x385D3F), {0xEDFFFF, 0x92C7B8},
     Marks(0x6FC0FF, 0x385D3F), Keep, {0x588060, 0x588060}, Buttons2003},
    {osOfficeXP, {clWindow, clWindow}, 0x808080, {clBtnFace, clBtnFace}, Flat(0xDBD8D1, 0x808080),
     Flat(0xEFD3C6, 0xC66931), Black, KeepDirection, Black, Flat(0xEFD3C6, 0xC66931), Marks(0xB59285, 0xC66931),
     {clBtnFace, clNone}, Marks(0xEFD3C6, 0xC66931), Keep, {0x7A868A, 0x7A868A},
     Buttons(0xEFD3C6, 0xC66931, 0xE2B598, 0x6F4B4B)},
    {osOffice2007Luna, {0xF6F6F6, 0xF6F6F6}, 0xC0C0C0, {0xF2DAC2, 0xF0D9C1}, OfficeDown,
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB}, 0x8B4215, Vertical, 0x8B4215, Flat(0xEBFDFF, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xEEEEE9, 0xEEEEE9},
     Marks(0xD9F9FD, 0x58CAF1), 0xC5C5C5, {0xC5C5C5, 0xC5C5C5}, ButtonsOffice},
    {osOffice2007Obsidian, {0xFAFAFA, 0xFAFAFA}, 0x5C534C, {0x5C534C, 0x433C37}, OfficeDown, OfficeHot, Black,
     Vertical, White, Flat(0xEBFDFF, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xEEEEE9, 0xEEEEE9},
     Marks(0xD9F9FD, 0x58CAF1), 0xC5C5C5, {0xC5C5C5, 0xC5C5C5}, ButtonsOffice},
    {osOffice2007Silver, {0xFAFAFA, 0xFAFAFA}, 0x74706F, {0xF8F7F6, 0xE8E0DB}, OfficeDown, OfficeHot, Black,
     Vertical, Black, Flat(0xEBFDFF, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xEEEEE9, 0xEEEEE9},
     Marks(0xD9F9FD, 0x58CAF1), 0xC5C5C5, {0xC5C5C5, 0xC5C5C5}, ButtonsOffice},
    {osVista, {0xEEEEEE, 0xEEEEEE}, 0x979797, {0xFFFFFF, 0xEEDBD4}, Gradient(0xFDF6EF, 0xF0DAC7, 0xB17D5C),
     Gradient(0xFFFFFF, 0xFDF4E8, 0xE0C4AC), Black, Vertical, Black, Gradient(0xF4F1EB, 0xF1E7DA, 0xCDB498),
     Marks(0xF7E5D6, 0xC69A71), {0xEEEEEE, clNone}, Marks(0xF7E5D6, 0xC69A71), 0xE0E0E0, {0xE0E0E0, 0xE0E0E0},
     Buttons(0xFDF4E8, 0xE0C4AC, 0xF0DAC7, 0xB17D5C)},
    {osWhidbey, {0xF9F8F7, 0xF9F8F7}, 0x8A867A, {0xF5F9FA, 0xD8E1E3}, {0xF5F9FA, 0xD8E1E3, Keep, Keep, 0x99A8AC},
     Flat(0xEED2C1, 0xC56A31), Black, KeepDirection, Black, Flat(0xEED2C1, 0xC56A31), Marks(0xE2B598, 0xC56A31),
     {0xFEFEFB, 0xCDCAC4}, Marks(0xEED2C1, 0xC56A31), Keep, {0xC5C2B8, 0xC5C2B8}, KeepButtons, Keep, Keep,
     clBlack},
    {osWindows7, {0xF5F5F5, 0xF5F5F5}, 0x979797, {0xFDFBFA, 0xF0E5DC}, Gradient(0xFDF6EF, 0xF0DAC7, 0xB17D5C),
     Gradient(0xFFFFFF, 0xFDF4E8, 0xE0C4AC), Black, Vertical, Black, Gradient(0xFAF4EE, 0xF3E7DB, 0xD8C8BA),
     Marks(0xF7E5D6, 0xC69A71), {0xF1F1F1, clNone}, Marks(0xF7E5D6, 0xC69A71), 0xE2E3E3, {0xE2E3E3, 0xE2E3E3},
     Buttons(0xFDF4E8, 0xE0C4AC, 0xF0DAC7, 0xB17D5C)},
    {osTerminal, {clBtnFace, clBtnFace}, 0x808080, {clBtnFace, clBtnFace}, Flat(clHighlight, 0x808080),
     Flat(0xC0C0C0, 0x808080), Black, Vertical, Black, Flat(0xC0C0C0, 0x808080), Marks(clWhite, 0x808080),
     {clBtnFace, clBtnFace}, Marks(clWhite, 0x808080), 0x808080, {0x808080, 0x808080},
     Buttons(0xC0C0C0, 0x808080, clHighlight, 0x808080)},
    {osOffice2010Blue, {0xFFFFFF, 0xFFFFFF}, 0xB0ABA7, {0xFDF6EF, 0xF0DAC7}, OfficeDown, OfficeHot, 0x73391F,
     Vertical, 0x73391F, Flat(0xD9F9FD, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xFFFFFF, 0xFFFFFF},
     Marks(0xD9F9FD, 0x58CAF1), 0xE2E3E3, {0xC9C8C7, 0xC9C8C7}, ButtonsOffice},
    {osOffice2010Silver, {0xFFFFFF, 0xFFFFFF}, 0xA39A93, {0xFFFFFF, 0xEDE5E0}, OfficeDown, OfficeHot, Black,
     Vertical, Black, Flat(0xD9F9FD, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xFFFFFF, 0xFFFFFF},
     Marks(0xD9F9FD, 0x58CAF1), 0xE2E3E3, {0xC9C8C7, 0xC9C8C7}, ButtonsOffice},
    {osOffice2010Black, {0xFFFFFF, 0xFFFFFF}, 0x6D6D6D, {0x4B4B4B, 0x323232}, OfficeDown, OfficeHot, Black,
     Vertical, White, Flat(0xD9F9FD, 0x58CAF1), Marks(0x6CD0FF, 0x308AC2), {0xFFFFFF, 0xFFFFFF},
     Marks(0xD9F9FD, 0x58CAF1), 0xE2E3E3, {0xC9C8C7, 0xC9C8C7}, ButtonsOffice},
    {osWindows8, {0xF7F6F5, 0xF7F6F5}, 0x979797, {0xFFFFFF, 0xEEDBD4}, Flat(0xF7E0C9, 0xE4A262),
     Flat(0xF7EFE8, 0xF9CEA4), Black, Vertical, Black, Flat(0xF7EFE8, 0xF9CEA4), Marks(0xF7E0C9, 0xE4A262),
     {0xEEEEEE, clNone}, Marks(0xF7EFE8, 0xF9CEA4), 0xE0E0E0, {0xE0E0E0, 0xE0E0E0},
     Buttons(0xF7EFE8, 0xF9CEA4, 0xF7E0C9, 0xE4A262), Black},
    {osOffice2013White, {0xFFFFFF, 0xFFFFFF}, 0xB0ABA7, {0xFFFFFF, 0xFFFFFF}, Flat(0xF7E0C9, 0xE4A262),
     Flat(0xF7E6CD, 0xF7E6CD), 0x444444, Vertical, 0x444444, Flat(0xFCF0E4, 0xFCF0E4), Marks(0xF7E0C9, 0xE4A262),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xFCF0E4, 0xE4A262), 0xD4D4D4, {0xC9C8C7, 0xC9C8C7},
     Buttons(0xF7EFE8, 0xF9CEA4, 0xF7E0C9, 0xE4A262)},
    {osOffice2013LightGray, {0xFFFFFF, 0xFFFFFF}, 0xC6C6C6, {0xF3F3F3, 0xF3F3F3}, Flat(0xF7E0C9, 0xE4A262),
     Flat(0xF7E6CD, 0xF7E6CD), 0x444444, Vertical, 0x444444, Flat(0xFCF0E4, 0xFCF0E4), Marks(0xF7E0C9, 0xE4A262),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xFCF0E4, 0xE4A262), 0xD4D4D4, {0xC6C6C6, 0xC6C6C6},
     Buttons(0xF7EFE8, 0xF9CEA4, 0xF7E0C9, 0xE4A262)},
    {osOffice2013Gray, {0xFFFFFF, 0xFFFFFF}, 0xABABAB, {0xE5E5E5, 0xE5E5E5}, Flat(0xF7E0C9, 0xE4A262),
     Flat(0xF7E6CD, 0xF7E6CD), 0x444444, Vertical, 0x444444, Flat(0xFCF0E4, 0xFCF0E4), Marks(0xF7E0C9, 0xE4A262),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xFCF0E4, 0xE4A262), 0xD4D4D4, {0xABABAB, 0xABABAB},
     Buttons(0xF7EFE8, 0xF9CEA4, 0xF7E0C9, 0xE4A262)},
    {osOffice2016White, {0xFFFFFF, 0xFFFFFF}, 0xD4D4D4, {0xFFFFFF, 0xFFFFFF}, Flat(0xE3BDA3, 0xE3BDA3),
     Flat(0xF2E1D5, 0xF2E1D5), 0x444444, Vertical, 0x444444, Flat(0xF2D5C2, 0xF2D5C2), Marks(0xF2E1D5, 0xF2E1D5),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xFFFFFF, 0xFFFFFF), 0xD4D4D4, {0xD4D4D4, 0xD4D4D4},
     Buttons(0xF2E1D5, 0xE3BDA3, 0xE3BDA3, 0xE3BDA3)},
    {osOffice2016Gray, {0xFFFFFF, 0xFFFFFF}, 0x444444, {0xD4D4D4, 0xD4D4D4}, Flat(0xB0B0B0, 0xB0B0B0),
     Flat(0xF0F0F0, 0xF0F0F0), 0x262626, Vertical, 0x262626, Flat(0xD4D4D4, 0xD4D4D4), Marks(0xB0B0B0, 0xB0B0B0),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xF0F0F0, 0xB0B0B0), 0xC6C6C6, {0xC6C6C6, 0xC6C6C6},
     Buttons(0xF0F0F0, 0xB0B0B0, 0xB0B0B0, 0x808080), Keep, Keep, Keep, TFonts::BarOwn},
    {osOffice2016Black, {0x363636, 0x363636}, 0x444444, {0x363636, 0x363636}, Flat(0x505050, 0x505050),
     Flat(0x6A6A6A, 0x6A6A6A), White, Vertical, 0xC6C6C6, Flat(0xFFFFFF, 0xFFFFFF), Marks(0x6A6A6A, 0x6A6A6A),
     {0x363636, 0x363636}, Marks(0x505050, 0x6A6A6A), 0x444444, {0x444444, 0x444444},
     Buttons(0x6A6A6A, 0x6A6A6A, 0x505050, 0x505050), 0x262626, 0xC6C6C6, White, TFonts::AllOwn},
    {osOffice2019White, {0xFFFFFF, 0xFFFFFF}, 0xA3A3A3, {0xFFFFFF, 0xFFFFFF}, Flat(0xB0784A, 0xB0784A),
     Flat(0xF2E1D5, 0xF2E1D5), 0x444648, Vertical, 0x444648, Flat(0xF2D5C2, 0xF2D5C2), Marks(0xF2E1D5, 0xF2E1D5),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xFFFFFF, 0xFFFFFF), 0xA3A3A3, {0xA3A3A3, 0xA3A3A3},
     {0xFAECE3, 0xFAECE3, 0xE3BDA3, 0xB0784A, 0xB0784A, 0xB0784A}, clWindowText},
    {osOffice2019Gray, {0xFFFFFF, 0xFFFFFF}, 0x666666, {0xE6E6E6, 0xE6E6E6}, Flat(0xC8C8C8, 0xC8C8C8),
     Flat(0xDADADA, 0xDADADA), 0x262626, Vertical, 0x262626, Flat(0xDADADA, 0xDADADA), Marks(0xC8C8C8, 0xC8C8C8),
     {0xFFFFFF, 0xFFFFFF}, Marks(0xE6E6E6, 0xC8C8C8), 0xABABAB, {0xABABAB, 0xABABAB},
     Buttons(0xDADADA, 0xC8C8C8, 0xC8C8C8, 0xB4B4B4), Keep, Keep, Keep, TFonts::BarOwn},
    {osOffice2019Black, {0x3B3B3B, 0x3B3B3B}, 0xADB0B3, {0x3B3B3B, 0x3B3B3B}, Flat(0x6A6A6A, 0x6A6A6A),
     Flat(0x686868, 0x686868), White, Vertical, White, Flat(0x505050, 0x505050), Marks(0x686868, 0x686868),
     {0x3B3B3B, 0x3B3B3B}, Marks(0x505050, 0x686868), 0x686868, {0x686868, 0x686868},
     Buttons(0x686868, 0x686868, 0x6A6A6A, 0x6A6A6A), White, White, White, TFonts::AllOwn},
};

const TMenuPreset* PresetOf(TOfficeStyle style) {
    if (style == osWindows10) style = osWindows8;   // one preset for both
    for (const TMenuPreset& preset : Presets)
        if (preset.Style == style) return &preset;
    return nullptr;
}

template <class T>
void Set(T* object, void (T::*setter)(TColor), TColor value) {
    if (value != Keep) (object->*setter)(value);
}

void ApplyPreset(TAdvMenuOfficeStyler& styler, const TMenuPreset& p) {
    TBackground* background = styler.Background();
    background->SetColor(p.Background.Color);
    background->SetColorTo(p.Background.ColorTo);
    styler.SetMenuBorderColor(p.MenuBorder);

    TRootItem* root = styler.RootItem();
    root->SetColor(p.Bar.Color);
    root->SetColorTo(p.Bar.ColorTo);
    Set(root, &TRootItem::SetSelectedColor, p.Selected.Color);
    Set(root, &TRootItem::SetSelectedColorTo, p.Selected.ColorTo);
    Set(root, &TRootItem::SetSelectedColorMirror, p.Selected.Mirror);
    Set(root, &TRootItem::SetSelectedColorMirrorTo, p.Selected.MirrorTo);
    Set(root, &TRootItem::SetSelectedBorderColor, p.Selected.Border);
    Set(root, &TRootItem::SetHoverColor, p.Hover.Color);
    Set(root, &TRootItem::SetHoverColorTo, p.Hover.ColorTo);
    Set(root, &TRootItem::SetHoverColorMirror, p.Hover.Mirror);
    Set(root, &TRootItem::SetHoverColorMirrorTo, p.Hover.MirrorTo);
    Set(root, &TRootItem::SetHoverBorderColor, p.Hover.Border);
    Set(root, &TRootItem::SetHoverTextColor, p.HoverText);
    if (p.BarDirection >= 0) root->SetGradientDirection(TGradientDirection(p.BarDirection));
    root->Font()->SetColor(p.BarText);
    Set(root, &TRootItem::SetSelectedTextColor, p.SelectedText);

    TSelectedItem* item = styler.SelectedItem();
    item->SetColor(p.Item.Color);
    item->SetColorTo(p.Item.ColorTo);
    item->SetColorMirror(p.Item.Mirror);
    item->SetColorMirrorTo(p.Item.MirrorTo);
    item->SetBorderColor(p.Item.Border);
    item->SetCheckColor(p.ItemMarks.Check);
    item->SetCheckColorTo(p.ItemMarks.CheckTo);
    item->SetRadioColor(p.ItemMarks.Radio);
    item->SetRadioColorTo(p.ItemMarks.RadioTo);
    item->SetCheckBorder(p.ItemMarks.CheckBorder);
    item->SetRadioBorder(p.ItemMarks.RadioBorder);
    if (p.ItemText != Keep) item->Font()->SetColor(p.ItemText);

    TIconBar* icons = styler.IconBar();
    icons->SetColor(p.Icons.Color);
    icons->SetColorTo(p.Icons.ColorTo);
    icons->SetCheckColor(p.IconMarks.Check);
    icons->SetCheckColorTo(p.IconMarks.CheckTo);
    icons->SetCheckBorder(p.IconMarks.CheckBorder);
    icons->SetRadioColor(p.IconMarks.Radio);
    icons->SetRadioColorTo(p.IconMarks.RadioTo);
    icons->SetRadioBorder(p.IconMarks.RadioBorder);
    Set(icons, &TIconBar::SetSeparatorColor, p.IconSeparator);

    styler.Separator()->SetColor(p.Separator.Color);
    styler.Separator()->SetColorTo(p.Separator.ColorTo);

    TButtonAppearance* buttons = styler.ButtonAppearance();
    Set(buttons, &TButtonAppearance::SetHoverColor, p.Buttons.Hover);
    Set(buttons, &TButtonAppearance::SetHoverColorTo, p.Buttons.HoverTo);
    Set(buttons, &TButtonAppearance::SetHoverBorderColor, p.Buttons.HoverBorder);
    Set(buttons, &TButtonAppearance::SetDownColor, p.Buttons.Down);
    Set(buttons, &TButtonAppearance::SetDownColorTo, p.Buttons.DownTo);
    Set(buttons, &TButtonAppearance::SetDownBorderColor, p.Buttons.DownBorder);

    if (p.FontColor != Keep) styler.Font()->SetColor(p.FontColor);
    if (p.Fonts != TFonts::Keep) root->SetUseSystemFont(false);
    if (p.Fonts == TFonts::AllOwn) {
        item->SetUseSystemFont(false);
        styler.SetUseSystemFont(false);
    }
}

struct TStyleMap {
    TOVTStyle Application;
    TOfficeStyle Menu;
};
constexpr TStyleMap StyleMap[] = {
    {AdvStyleIF::tsOffice2003Blue, osOffice2003Blue}, {AdvStyleIF::tsOffice2003Silver, osOffice2003Silver},
    {AdvStyleIF::tsOffice2003Olive, osOffice2003Olive}, {AdvStyleIF::tsOffice2003Classic, osOfficeXP},
    {AdvStyleIF::tsWindowsXP, osOfficeXP}, {AdvStyleIF::tsOffice2007Luna, osOffice2007Luna},
    {AdvStyleIF::tsOffice2007Obsidian, osOffice2007Obsidian}, {AdvStyleIF::tsOffice2007Silver, osOffice2007Silver},
    {AdvStyleIF::tsWhidbey, osWhidbey}, {AdvStyleIF::tsWindowsVista, osVista}, {AdvStyleIF::tsWindows7, osWindows7},
    {AdvStyleIF::tsTerminal, osTerminal}, {AdvStyleIF::tsOffice2010Blue, osOffice2010Blue},
    {AdvStyleIF::tsOffice2010Silver, osOffice2010Silver}, {AdvStyleIF::tsOffice2010Black, osOffice2010Black},
    {AdvStyleIF::tsWindows8, osWindows8}, {AdvStyleIF::tsWindows10, osWindows10},
    {AdvStyleIF::tsOffice2013White, osOffice2013White}, {AdvStyleIF::tsOffice2013LightGray, osOffice2013LightGray},
    {AdvStyleIF::tsOffice2013Gray, osOffice2013Gray}, {AdvStyleIF::tsOffice2016White, osOffice2016White},
    {AdvStyleIF::tsOffice2016Gray, osOffice2016Gray}, {AdvStyleIF::tsOffice2016Black, osOffice2016Black},
    {AdvStyleIF::tsOffice2019White, osOffice2019White}, {AdvStyleIF::tsOffice2019Gray, osOffice2019Gray},
    {AdvStyleIF::tsOffice2019Black, osOffice2019Black},
};

// The active visual style's colour scheme through uxtheme, loaded for the question only.
std::wstring SystemColorScheme() {
    const DWORD version = ::GetVersion();
    const int major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    if (!(major > 5 || (major == 5 && minor > 0))) return {};
    HMODULE library = ::LoadLibraryW(L"uxtheme.dll");
    if (!library) return {};
    std::wstring scheme;
    using TIsThemeActive = BOOL(WINAPI*)();
    using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(reinterpret_cast<void*>(::GetProcAddress(library, "IsThemeActive")));
    if (isThemeActive && isThemeActive()) {
        auto currentThemeName = reinterpret_cast<TGetCurrentThemeName>(
            reinterpret_cast<void*>(::GetProcAddress(library, "GetCurrentThemeName")));
        wchar_t file[255] = {}, colour[255] = {}, size[255] = {};
        if (currentThemeName && SUCCEEDED(currentThemeName(file, 255, colour, 255, size, 255))) scheme = colour;
    }
    ::FreeLibrary(library);
    return scheme;
}

}  // namespace

void TNotifierWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(message);
}

TOfficeStyle OfficeStyleOf(TOVTStyle style) {
    for (const TStyleMap& pair : StyleMap)
        if (pair.Application == style) return pair.Menu;
    return osCustom;
}

TColorSchemeQuery& ColorSchemeQuery() {
    static TColorSchemeQuery query = SystemColorScheme;
    return query;
}

const TPropertyList& TAdvMenuOfficeStyler::Published() {
    using S = TAdvMenuOfficeStyler;
    static const TPropertyList list = TPropertyList::Extend(TAdvMenuStyler::Published())
        .Add(L"AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
        .Stored(L"AutoThemeAdapt", true)
        .Enum(L"Style", &S::Style, &S::SetStyle, osOffice2003Blue)
        .Stored(L"Style", true);
    return list;
}

TAdvMenuOfficeStyler::TAdvMenuOfficeStyler(TComponent* owner) : TCustomAdvMenuStyler(owner) {
    FNotifierWnd = new TNotifierWindow(this);
    for (TComponent* c = owner; c; c = c->Owner())
        if (auto* parent = dynamic_cast<TWinControl*>(c)) {
            FNotifierWnd->SetVisible(false);
            FNotifierWnd->SetParent(parent);
            break;
        }
    FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
    if (HasState(csDesigning) && owner && !owner->HasState(csReading) && !owner->HasState(csLoading))
        SetComponentStyle(AdvStyleIF::tsOffice2019White);
}

TAdvMenuOfficeStyler::~TAdvMenuOfficeStyler() = default;

void TAdvMenuOfficeStyler::Loaded() {
    TCustomAdvMenuStyler::Loaded();
    ThemeChanged();
}

void TAdvMenuOfficeStyler::SetAutoThemeAdapt(bool value) {
    if (value == FAutoThemeAdapt) return;
    FAutoThemeAdapt = value;
    ThemeChanged();
}

void TAdvMenuOfficeStyler::SetComponentStyle(TOVTStyle AStyle) {
    const TOfficeStyle style = OfficeStyleOf(AStyle);
    if (style != osCustom) SetStyle(style);
}

void TAdvMenuOfficeStyler::ThemeChanged() {
    if (!FAutoThemeAdapt) return;
    const std::wstring scheme = ColorSchemeQuery()();
    // The names compare exactly: "normalcolor" is not the NormalColor scheme.
    if (scheme == L"NormalColor") SetStyle(osOffice2003Blue);
    else if (scheme == L"HomeStead") SetStyle(osOffice2003Olive);
    else if (scheme == L"Metallic") SetStyle(osOffice2003Silver);
    else SetStyle(osOfficeXP);
}

void TAdvMenuOfficeStyler::SetStyle(TOfficeStyle value) {
    FStyle = value;
    Font()->SetColor(clWindowText);
    SetUseSystemFont(true);
    if (const TMenuPreset* preset = PresetOf(value)) ApplyPreset(*this, *preset);
    if (auto* menu = dynamic_cast<TAdvMainMenu*>(Menu()); menu && menu->WindowHandle() && ::IsWindow(menu->WindowHandle()))
        ::DrawMenuBar(menu->WindowHandle());
}

}  // namespace AdvMenuStylers
