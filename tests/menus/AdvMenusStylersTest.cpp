// The office menu styler: the UI-style map, the presets, osCustom, and the choice by the
// visual style's colour scheme.
#include "menus/AdvMenuStylers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "menus/AdvMenus.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvMenus;
using namespace AdvMenuStylers;

namespace {

// Puts a fixed answer in place of the visual style's colour scheme for one scope.
class TSchemeScope {
public:
    explicit TSchemeScope(std::wstring scheme) : FSaved(ColorSchemeQuery()) {
        ColorSchemeQuery() = [scheme] { return scheme; };
    }
    ~TSchemeScope() { ColorSchemeQuery() = FSaved; }
private:
    TColorSchemeQuery FSaved;
};

}  // namespace

TEST(OfficeMenuStyler, UIStylesMapToPresets) {
    using namespace AdvStyleIF;
    const std::pair<TOVTStyle, TOfficeStyle> map[] = {
        {tsOffice2003Blue, osOffice2003Blue}, {tsOffice2003Silver, osOffice2003Silver},
        {tsOffice2003Olive, osOffice2003Olive}, {tsOffice2003Classic, osOfficeXP}, {tsWindowsXP, osOfficeXP},
        {tsOffice2007Luna, osOffice2007Luna}, {tsOffice2007Obsidian, osOffice2007Obsidian},
        {tsOffice2007Silver, osOffice2007Silver}, {tsWhidbey, osWhidbey}, {tsWindowsVista, osVista},
        {tsWindows7, osWindows7}, {tsTerminal, osTerminal}, {tsOffice2010Blue, osOffice2010Blue},
        {tsOffice2010Silver, osOffice2010Silver}, {tsOffice2010Black, osOffice2010Black},
        {tsWindows8, osWindows8}, {tsWindows10, osWindows10}, {tsOffice2013White, osOffice2013White},
        {tsOffice2013LightGray, osOffice2013LightGray}, {tsOffice2013Gray, osOffice2013Gray},
        {tsOffice2016White, osOffice2016White}, {tsOffice2016Gray, osOffice2016Gray},
        {tsOffice2016Black, osOffice2016Black}, {tsOffice2019White, osOffice2019White},
        {tsOffice2019Gray, osOffice2019Gray}, {tsOffice2019Black, osOffice2019Black},
    };
    TAdvMenuOfficeStyler styler(nullptr);
    for (const auto& [application, menu] : map) {
        SCOPED_TRACE(int(application));
        styler.SetStyle(osOffice2007Luna);
        styler.SetComponentStyle(application);
        EXPECT_EQ(styler.Style(), menu);
    }
    styler.SetComponentStyle(tsCustom);   // no preset: nothing changes
    EXPECT_EQ(styler.Style(), osOffice2019Black);
    const TAdvMenuOfficeStyler fresh(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&fresh), 5);
}

TEST(OfficeMenuStyler, Office2019WhiteInFull) {
    TAdvMenuOfficeStyler styler(nullptr);
    styler.SetUseSystemFont(false);
    styler.SetStyle(osOffice2019White);
    const TRootItem* root = styler.RootItem();
    const TSelectedItem* item = styler.SelectedItem();
    const TIconBar* icons = styler.IconBar();
    const TButtonAppearance* buttons = styler.ButtonAppearance();
    const std::pair<const char*, std::pair<TColor, TColor>> values[] = {
        {"Background.Color", {styler.Background()->Color(), 0xFFFFFF}},
        {"Background.ColorTo", {styler.Background()->ColorTo(), 0xFFFFFF}},
        {"MenuBorderColor", {styler.MenuBorderColor(), 0xA3A3A3}},
        {"RootItem.Color", {root->Color(), 0xFFFFFF}},
        {"RootItem.ColorTo", {root->ColorTo(), 0xFFFFFF}},
        {"RootItem.SelectedColor", {root->SelectedColor(), 0xB0784A}},
        {"RootItem.SelectedColorTo", {root->SelectedColorTo(), 0xB0784A}},
        {"RootItem.SelectedColorMirror", {root->SelectedColorMirror(), clNone}},
        {"RootItem.SelectedColorMirrorTo", {root->SelectedColorMirrorTo(), clNone}},
        {"RootItem.SelectedBorderColor", {root->SelectedBorderColor(), 0xB0784A}},
        {"RootItem.HoverColor", {root->HoverColor(), 0xF2E1D5}},
        {"RootItem.HoverColorTo", {root->HoverColorTo(), 0xF2E1D5}},
        {"RootItem.HoverColorMirror", {root->HoverColorMirror(), clNone}},
        {"RootItem.HoverColorMirrorTo", {root->HoverColorMirrorTo(), clNone}},
        {"RootItem.HoverBorderColor", {root->HoverBorderColor(), 0xF2E1D5}},
        {"RootItem.HoverTextColor", {root->HoverTextColor(), 0x444648}},
        {"RootItem.GradientDirection", {TColor(root->GradientDirection()), TColor(gdVertical)}},
        {"RootItem.Font.Color", {root->Font()->Color(), 0x444648}},
        {"SelectedItem.Color", {item->Color(), 0xF2D5C2}},
        {"SelectedItem.ColorTo", {item->ColorTo(), 0xF2D5C2}},
        {"SelectedItem.ColorMirror", {item->ColorMirror(), clNone}},
        {"SelectedItem.ColorMirrorTo", {item->ColorMirrorTo(), clNone}},
        {"SelectedItem.BorderColor", {item->BorderColor(), 0xF2D5C2}},
        {"SelectedItem.Font.Color", {item->Font()->Color(), clWindowText}},
        {"SelectedItem.CheckColor", {item->CheckColor(), 0xF2E1D5}},
        {"SelectedItem.CheckColorTo", {item->CheckColorTo(), clNone}},
        {"SelectedItem.RadioColor", {item->RadioColor(), 0xF2E1D5}},
        {"SelectedItem.RadioColorTo", {item->RadioColorTo(), clNone}},
        {"SelectedItem.CheckBorder", {item->CheckBorder(), 0xF2E1D5}},
        {"SelectedItem.RadioBorder", {item->RadioBorder(), 0xF2E1D5}},
        {"IconBar.Color", {icons->Color(), 0xFFFFFF}},
        {"IconBar.ColorTo", {icons->ColorTo(), 0xFFFFFF}},
        {"IconBar.CheckColor", {icons->CheckColor(), 0xFFFFFF}},
        {"IconBar.CheckColorTo", {icons->CheckColorTo(), clNone}},
        {"IconBar.CheckBorder", {icons->CheckBorder(), 0xFFFFFF}},
        {"IconBar.RadioColor", {icons->RadioColor(), 0xFFFFFF}},
        {"IconBar.RadioColorTo", {icons->RadioColorTo(), clNone}},
        {"IconBar.RadioBorder", {icons->RadioBorder(), 0xFFFFFF}},
        {"IconBar.SeparatorColor", {icons->SeparatorColor(), 0xA3A3A3}},
        {"Separator.Color", {styler.Separator()->Color(), 0xA3A3A3}},
        {"Separator.ColorTo", {styler.Separator()->ColorTo(), 0xA3A3A3}},
        {"ButtonAppearance.HoverColor", {buttons->HoverColor(), 0xFAECE3}},
        {"ButtonAppearance.HoverColorTo", {buttons->HoverColorTo(), 0xFAECE3}},
        {"ButtonAppearance.HoverBorderColor", {buttons->HoverBorderColor(), 0xE3BDA3}},
        {"ButtonAppearance.DownColor", {buttons->DownColor(), 0xB0784A}},
        {"ButtonAppearance.DownColorTo", {buttons->DownColorTo(), 0xB0784A}},
        {"ButtonAppearance.DownBorderColor", {buttons->DownBorderColor(), 0xB0784A}},
        {"Font.Color", {styler.Font()->Color(), clWindowText}},
        {"UseSystemFont", {TColor(styler.UseSystemFont()), TColor(true)}},
    };
    for (const auto& [name, pair] : values) EXPECT_EQ(pair.first, pair.second) << name;
}

TEST(OfficeMenuStyler, EveryPresetHasItsTellingValues) {
    struct TRow {
        TOfficeStyle Style;
        TColor Background, Border, Bar, BarTo, Hover, Item, Icons, IconsTo, Separator;
    };
    const TRow rows[] = {
        {osOffice2003Blue, 0xF6F6F6, 0x962D00, 0xF5BE9E, 0xF7CDB2, 0xCCF4FF, 0xC2EEFF, 0xFFEFE3, 0xE4AD87, 0xCB8C6A},
        {osOffice2003Silver, 0xF6F6F6, 0x5E8D75, 0xE5D7D7, 0xF7F3F3, 0xCCF4FF, 0xC2EEFF, 0xFFF9F9, 0xB99D9F, 0x8F6D6E},
        {osOffice2003Olive, 0xF6F6F6, 0x5E8D75, 0xA8D9D9, 0xE4F0F2, 0xCCF4FF, 0xC2EEFF, 0xEDFFFF, 0x92C7B8, 0x588060},
        {osOfficeXP, clWindow, 0x808080, clBtnFace, clBtnFace, 0xEFD3C6, 0xEFD3C6, clBtnFace, clNone, 0x7A868A},
        {osOffice2007Luna, 0xF6F6F6, 0xC0C0C0, 0xF2DAC2, 0xF0D9C1, 0xEBFDFF, 0xEBFDFF, 0xEEEEE9, 0xEEEEE9, 0xC5C5C5},
        {osVista, 0xEEEEEE, 0x979797, 0xFFFFFF, 0xEEDBD4, 0xFFFFFF, 0xF4F1EB, 0xEEEEEE, clNone, 0xE0E0E0},
        {osTerminal, clBtnFace, 0x808080, clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0, clBtnFace, clBtnFace, 0x808080},
        {osOffice2010Blue, 0xFFFFFF, 0xB0ABA7, 0xFDF6EF, 0xF0DAC7, 0xD9F9FD, 0xD9F9FD, 0xFFFFFF, 0xFFFFFF, 0xC9C8C7},
        {osWindows8, 0xF7F6F5, 0x979797, 0xFFFFFF, 0xEEDBD4, 0xF7EFE8, 0xF7EFE8, 0xEEEEEE, clNone, 0xE0E0E0},
        {osWindows10, 0xF7F6F5, 0x979797, 0xFFFFFF, 0xEEDBD4, 0xF7EFE8, 0xF7EFE8, 0xEEEEEE, clNone, 0xE0E0E0},
        {osOffice2013White, 0xFFFFFF, 0xB0ABA7, 0xFFFFFF, 0xFFFFFF, 0xF7E6CD, 0xFCF0E4, 0xFFFFFF, 0xFFFFFF, 0xC9C8C7},
        {osOffice2016Black, 0x363636, 0x444444, 0x363636, 0x363636, 0x6A6A6A, 0xFFFFFF, 0x363636, 0x363636, 0x444444},
        {osOffice2019Black, 0x3B3B3B, 0xADB0B3, 0x3B3B3B, 0x3B3B3B, 0x686868, 0x505050, 0x3B3B3B, 0x3B3B3B, 0x686868},
    };
    TAdvMenuOfficeStyler styler(nullptr);
    for (const TRow& row : rows) {
        SCOPED_TRACE(int(row.Style));
        styler.SetStyle(row.Style);
        EXPECT_EQ(styler.Background()->Color(), row.Background);
        EXPECT_EQ(styler.MenuBorderColor(), row.Border);
        EXPECT_EQ(styler.RootItem()->Color(), row.Bar);
        EXPECT_EQ(styler.RootItem()->ColorTo(), row.BarTo);
        EXPECT_EQ(styler.RootItem()->HoverColor(), row.Hover);
        EXPECT_EQ(styler.SelectedItem()->Color(), row.Item);
        EXPECT_EQ(styler.IconBar()->Color(), row.Icons);
        EXPECT_EQ(styler.IconBar()->ColorTo(), row.IconsTo);
        EXPECT_EQ(styler.Separator()->Color(), row.Separator);
    }
    // The dark presets write in light colours with fonts of their own.
    styler.SetStyle(osOffice2019Black);
    EXPECT_EQ(styler.Font()->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(styler.RootItem()->SelectedTextColor(), TColor(0xFFFFFF));
    EXPECT_FALSE(styler.UseSystemFont());
    EXPECT_FALSE(styler.RootItem()->UseSystemFont());
    EXPECT_FALSE(styler.SelectedItem()->UseSystemFont());
    // Presets that leave a value alone: Whidbey's direction, the 2003 looks' icon separator.
    styler.RootItem()->SetGradientDirection(gdHorizontal);
    styler.IconBar()->SetSeparatorColor(TColor(0x123456));
    styler.SetStyle(osWhidbey);
    EXPECT_EQ(styler.RootItem()->GradientDirection(), gdHorizontal);
    EXPECT_EQ(styler.RootItem()->SelectedTextColor(), clBlack);
    styler.SetStyle(osOffice2003Blue);
    EXPECT_EQ(styler.IconBar()->SeparatorColor(), TColor(0x123456));
}

TEST(OfficeMenuStyler, CustomOnlyResetsTheFontAndItsSystemUse) {
    TAdvMenuOfficeStyler styler(nullptr);
    styler.SetStyle(osOffice2019Black);
    styler.SetStyle(osCustom);
    EXPECT_EQ(styler.Style(), osCustom);
    EXPECT_EQ(styler.Font()->Color(), clWindowText);
    EXPECT_TRUE(styler.UseSystemFont());
    EXPECT_EQ(styler.Background()->Color(), TColor(0x3B3B3B));
    EXPECT_EQ(styler.MenuBorderColor(), TColor(0xADB0B3));
}

TEST(OfficeMenuStyler, TheVisualStylesSchemeChoosesThePresetWhenAsked) {
    const std::pair<const wchar_t*, TOfficeStyle> schemes[] = {
        {L"NormalColor", osOffice2003Blue}, {L"HomeStead", osOffice2003Olive}, {L"Metallic", osOffice2003Silver},
        {L"normalcolor", osOfficeXP}, {L"", osOfficeXP},
    };
    for (const auto& [scheme, style] : schemes) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(scheme)));
        TSchemeScope fake(scheme);
        TAdvMenuOfficeStyler styler(nullptr);
        styler.SetStyle(osOffice2019Gray);
        styler.ThemeChanged();   // AutoThemeAdapt is off: nothing
        EXPECT_EQ(styler.Style(), osOffice2019Gray);
        styler.SetAutoThemeAdapt(true);
        EXPECT_EQ(styler.Style(), style);
        // Loading with AutoThemeAdapt on overrides the streamed style.
        styler.BeginLoading();
        styler.SetStyle(osOffice2013White);
        styler.Loaded();
        EXPECT_EQ(styler.Style(), style);
    }
}

TEST(OfficeMenuStylerWindow, ThemeChangesReachTheStylerAndAPresetRedrawsTheMenuBar) {
    REQUIRE_DISPLAY();
    TSchemeScope fake(L"Metallic");
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 200);
    auto* styler = new TAdvMenuOfficeStyler(&form);
    ASSERT_EQ(styler->NotifierWindow()->Parent(), &form);
    auto* menu = new TAdvMainMenu(&form);
    menu->BeginUpdate();
    auto* item = new TMenuItem(&form);
    item->SetCaption(L"File");
    menu->Items()->Add(item);
    menu->EndUpdate();
    menu->SetMenuStyler(styler);
    form.SetMenu(menu);
    form.Show();
    styler->SetAutoThemeAdapt(true);
    styler->SetStyle(osOffice2019White);
    ::SendMessageW(styler->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->Style(), osOffice2003Silver);

    // The bar shows the new preset's colour right of its item at once.
    auto barPixel = [&] {
        TestSupport::PumpMessages();
        HDC dc = ::GetWindowDC(form.Handle());
        RECT item{};
        ::GetMenuItemRect(form.Handle(), menu->Handle(), 0, &item);
        RECT window{};
        ::GetWindowRect(form.Handle(), &window);
        const COLORREF pixel = ::GetPixel(dc, item.right - window.left + 40, (item.top + item.bottom) / 2 - window.top);
        ::ReleaseDC(form.Handle(), dc);
        return pixel;
    };
    styler->SetStyle(osOffice2016Black);
    EXPECT_EQ(barPixel(), RGB(0x36, 0x36, 0x36));
    styler->SetStyle(osOffice2013White);
    EXPECT_EQ(barPixel(), RGB(0xFF, 0xFF, 0xFF));
}
