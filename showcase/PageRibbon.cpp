// A ribbon at the top of the window: five pages, two contextual tab groups and toolbars of
// glow buttons on the pages, painted by a preset styler the combo box switches.
// "ribbon-black" and "ribbon-2019" start with other presets (the latter with office tones), "ribbon-narrow" in a window too narrow for the
// tabs (they squeeze, then scroll).
#include <cmath>
#include <cwctype>
#include <string>
#include <vector>

#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"
#include "graphics/GDIPicture.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvToolBarPager.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvGlowMenuButton.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;
using AdvToolBar::TAdvPage;
using AdvToolBar::TAdvToolBar;
using AdvToolBarStylers::TToolBarStyle;


// Size-step groups: large, label and glyph-only glow buttons and a menu button that shrink,
// grow and fold into compact buttons as the window narrows and widens.
std::wstring ShowcaseImage(const wchar_t* name) {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    for (int up = 0; up < 4; ++up) path.erase(path.find_last_of(L"\\/"));
    return path + L"\\app\\images\\" + name;
}

void AddSizeStepGroups(TForm* form, TAdvPage* page) {
    auto* open = new GDIPicture::TGDIPPicture();
    auto* save = new GDIPicture::TGDIPPicture();
    try {
        open->LoadFromFile(ShowcaseImage(L"open.png"));
        save->LoadFromFile(ShowcaseImage(L"save.png"));
    } catch (...) {
        // Without the pictures the buttons show their captions only.
    }
    const auto group = [&](const wchar_t* caption, std::initializer_list<const wchar_t*> buttons,
                           AdvGlowButton::TButtonSizeState state, bool menuButton) {
        TAdvToolBar* bar = page->CreateAdvToolBar();
        bar->SetCaption(caption);
        bar->SetCompactCaption(caption);
        bar->SetCompactPicture(open);
        bar->SetAutoSize(true);
        int i = 0;
        for (const wchar_t* text : buttons) {
            AdvGlowButton::TAdvCustomGlowButton* b =
                menuButton && i == 0 ? static_cast<AdvGlowButton::TAdvCustomGlowButton*>(new AdvToolBar::TAdvGlowMenuButton(form))
                                     : new AdvGlowButton::TAdvGlowButton(form);
            b->SetCaption(text);
            b->SetPicture(i % 2 ? save : open);
            b->SetAutoSize(true);
            b->SetLayout(AdvGlowButton::blGlyphTop);
            b->SetBounds(2 + 60 * i, 2, 40, 40);
            b->SetParent(bar);
            b->SetButtonSizeState(state);
            ++i;
        }
        bar->ArrangeItems(true);
    };
    group(L"Create", {L"New list", L"Open file", L"Generate", L"Save all"}, AdvGlowButton::bsLarge, false);
    group(L"Edit", {L"Cut", L"Copy", L"Paste", L"Undo", L"Redo", L"Find"}, AdvGlowButton::bsLabel, false);
    group(L"Output", {L"Export", L"Print", L"Preview"}, AdvGlowButton::bsLarge, true);
    group(L"Tools", {L"A", L"B", L"C"}, AdvGlowButton::bsGlyph, false);
    delete open;
    delete save;
    // The buttons measure themselves when they first paint: the page fits them after that.
    auto* timer = new TTimer(form);
    timer->SetInterval(300);
    timer->SetOnTimer([page, timer](TObject*) {
        timer->SetEnabled(false);
        for (int i = 0; i < page->AdvToolBarCount(); ++i) page->AdvToolBars(i)->ArrangeItems(true);
        page->AutoPositionAdvToolBars();
        page->UpdateAllToolBars();
    });
}

void BuildRibbon(TForm* form, TToolBarStyle style, int width, bool sizeSteps = false) {
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
    // Made in code, it is scaled like the rest of the page: a pager designed 149 high.
    pager->SetHeight(S(149));
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
    // Loaded (and so scaled) before the groups: they take the height of the scaled page.
    pager->Update();
    group(pager->AdvPages(0), L"File", {L"New", L"Open", L"Save"});
    group(pager->AdvPages(0), L"Clipboard", {L"Cut", L"Copy", L"Paste"});
    group(pager->AdvPages(1), L"Commands", {L"Add", L"Remove", L"Rename", L"Sort"});
    group(pager->AdvPages(2), L"Output", {L"Generate", L"Read back"});
    group(pager->AdvPages(3), L"Rows", {L"Insert", L"Delete"});
    group(pager->AdvPages(4), L"Chart", {L"Bars", L"Lines"});
    if (sizeSteps) AddSizeStepGroups(form, pager->AdvPages(0));

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
    // Every preset: the Windows 8 and 10 and Office 2013 to 2019 ones colour the ribbon
    // with office tones.
    std::vector<TToolBarStyle> styles;
    for (int i = 0; i <= int(AdvToolBarStylers::bsOffice2019Black); ++i)
        if (TToolBarStyle(i) != AdvToolBarStylers::bsCustom) styles.push_back(TToolBarStyle(i));
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
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 1100, true);
});
// The same ribbon in a narrow window: groups shrink their buttons, the rightmost fold.
const Showcase::TPageRegistration ribbonGroupsNarrow(L"ribbon-groups-narrow", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 560, true);
});
// Narrow, with the first folded group dropped down a moment after the window shows.
const Showcase::TPageRegistration ribbonGroupsDrop(L"ribbon-groups-drop", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 560, true);
    auto* timer = new TTimer(form);
    timer->SetInterval(1500);
    timer->SetOnTimer([form, timer](TObject*) {
        timer->SetEnabled(false);
        for (int i = 0; i < form->ControlCount(); ++i)
            if (auto* pager = dynamic_cast<AdvToolBar::TAdvToolBarPager*>(form->Controls(i)))
                for (int j = 0; j < pager->AdvPages(0)->AdvToolBarCount(); ++j)
                    if (TAdvToolBar* bar = pager->AdvPages(0)->AdvToolBars(j); bar->IsCompact()) {
                        bar->CompactButton()->SetDown(true);
                        bar->CompactButtonClick(bar->CompactButton());
                        return;
                    }
    });
});
const Showcase::TPageRegistration ribbonBlack(L"ribbon-black", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2010Black, 820);
});
const Showcase::TPageRegistration ribbon2019(L"ribbon-2019", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2019White, 820);
});
const Showcase::TPageRegistration ribbonNarrow(L"ribbon-narrow", [](TForm* form) {
    BuildRibbon(form, AdvToolBarStylers::bsOffice2007Luna, 330);
});

}  // namespace
