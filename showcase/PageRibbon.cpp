// A ribbon at the top of the window: five pages, two contextual tab groups and toolbars of
// glow buttons on the pages, painted by a preset styler the combo box switches.
// "ribbon-black" starts with another preset, "ribbon-narrow" in a window too narrow for the
// tabs (they squeeze, then scroll).
#include <cmath>
#include <cwctype>
#include <string>

#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvToolBarPager.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;
using AdvToolBar::TAdvPage;
using AdvToolBar::TAdvToolBar;
using AdvToolBarStylers::TToolBarStyle;

void BuildRibbon(TForm* form, TToolBarStyle style, int width) {
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(width), S(360));
    form->SetColor(TColor(0xF3F3F3));

    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(form);
    styler->SetName(L"RibbonStyler");
    styler->SetStyle(style);

    auto* pager = new AdvToolBar::TAdvToolBarPager(form);
    pager->SetName(L"Ribbon");
    pager->SetParent(form);
    pager->SetToolBarStyler(styler);
    pager->Caption()->SetCaption(L"commands.atg - AT Command Generator");

    const auto button = [&](TAdvToolBar* bar, const wchar_t* caption) {
        auto* b = new AdvGlowButton::TAdvGlowButton(form);
        b->SetParent(bar);
        b->SetBounds(0, 0, S(64), S(22));
        b->SetCaption(caption);
    };
    const auto group = [&](TAdvPage* page, const wchar_t* caption, std::initializer_list<const wchar_t*> buttons) {
        TAdvToolBar* bar = page->CreateAdvToolBar();
        bar->SetCaption(caption);
        for (const wchar_t* text : buttons) button(bar, text);
        bar->SetWidth(S(12 + 68 * int(buttons.size())));
    };
    const wchar_t* captions[] = {L"Home", L"Commands", L"Generate", L"Table Layout", L"Chart Design"};
    for (const wchar_t* caption : captions) pager->AddAdvPage(caption);
    group(pager->AdvPages(0), L"File", {L"New", L"Open", L"Save"});
    group(pager->AdvPages(0), L"Clipboard", {L"Cut", L"Copy", L"Paste"});
    group(pager->AdvPages(1), L"Commands", {L"Add", L"Remove", L"Rename", L"Sort"});
    group(pager->AdvPages(2), L"Output", {L"Generate", L"Read back"});
    group(pager->AdvPages(3), L"Rows", {L"Insert", L"Delete"});
    group(pager->AdvPages(4), L"Chart", {L"Bars", L"Lines"});

    auto* table = pager->TabGroups()->Add();
    table->SetCaption(L"Table Tools");
    table->SetTabIndexStart(3);
    table->SetTabIndexEnd(3);
    table->SetCustomColor(TColor(0x3DB7F0));
    auto* chart = pager->TabGroups()->Add();
    chart->SetCaption(L"Chart Tools");
    chart->SetTabIndexStart(4);
    chart->SetTabIndexEnd(4);
    chart->SetCustomColor(TColor(0x6FC36F));
    // Key tips: a letter per tab, two per button (Alt shows them).
    const wchar_t* tabTips[] = {L"H", L"C", L"G", L"T", L"D"};
    for (int i = 0; i < pager->AdvPageCount(); ++i) {
        TAdvPage* page = pager->AdvPages(i);
        page->SetShortCutHint(tabTips[i]);
        for (int t = 0; t < page->AdvToolBarCount(); ++t) {
            TAdvToolBar* bar = page->AdvToolBars(t);
            for (int c = 0; c < bar->ControlCount(); ++c)
                if (auto* glow = dynamic_cast<AdvGlowButton::TAdvGlowButton*>(bar->Controls(c))) {
                    std::wstring tip = glow->Caption().substr(0, 2);
                    for (wchar_t& ch : tip) ch = wchar_t(std::towupper(ch));
                    glow->SetShortCutHint(tip);
                }
        }
    }
    pager->SetActivePageIndex(0);
    pager->Update();

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(S(12), S(170), S(100), S(20));
    label->SetCaption(L"Ribbon style:");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(S(110), S(166), S(240), S(24));
    combo->SetDropDownCount(20);
    const TToolBarStyle styles[] = {AdvToolBarStylers::bsOffice2007Luna, AdvToolBarStylers::bsOffice2007Obsidian,
                                    AdvToolBarStylers::bsOffice2007Silver, AdvToolBarStylers::bsOffice2010Blue,
                                    AdvToolBarStylers::bsOffice2010Black, AdvToolBarStylers::bsWindows7};
    for (TToolBarStyle s : styles) combo->Items()->Add(TEnumNames<TToolBarStyle>::Names[int(s)]);
    combo->OnChange = [combo, styler, pager, styles](TObject*) {
        const int index = combo->ItemIndex();
        if (index < 0) return;
        styler->SetStyle(styles[index]);
        pager->Invalidate();
    };
    for (int i = 0; i < int(std::size(styles)); ++i)
        if (styles[i] == style) combo->SetItemIndex(i);
}

const Showcase::TPageRegistration ribbon(L"ribbon", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 820);
});
const Showcase::TPageRegistration ribbonBlack(L"ribbon-black", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2010Black, 820);
});
const Showcase::TPageRegistration ribbonNarrow(L"ribbon-narrow", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 330);
});

}  // namespace
