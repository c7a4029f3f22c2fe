// The office status bar as the main window will show it, frozen in the states worth a
// look: both blink phases of the update notice, panel 1 hot and pressed, and gauges.
#include <windows.h>

#include "classlib/StandardControls.h"
#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using namespace AdvOfficeStatusBar;

const wchar_t* const Notice = L"<FONT COLOR=\"clRed\"><BLINK><B>Click && get update: ver. 2.0.1</B></BLINK></FONT>";

TAdvOfficeStatusBar* MainWindowBar(TForm* form, TCustomAdvOfficeStatusBarStyler* styler, int top, const wchar_t* caption) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(12, top + 4, 170, 18);
    label->SetCaption(caption);
    auto* bar = new TAdvOfficeStatusBar(form);
    bar->SetParent(form);
    bar->SetAlign(alNone);
    bar->SetBounds(190, top, 560, 25);
    bar->SetStyler(styler);
    TAdvOfficeStatusPanel* progress = bar->Panels()->Add();
    progress->SetWidth(200);
    progress->SetAlignment(taCenter);
    progress->SetStyle(psProgress);
    progress->Progress()->SetPosition(35);
    TAdvOfficeStatusPanel* notice = bar->Panels()->Add();
    notice->SetWidth(250);
    notice->SetAlignment(taCenter);
    notice->SetButton(true);
    notice->SetStyle(psHTML);
    notice->SetAppearanceStyle(psDark);
    notice->SetText(Notice);
    TAdvOfficeStatusPanel* text = bar->Panels()->Add();
    text->SetStyle(psText);
    text->SetText(L"It's current ver. of AT generator");
    return bar;
}

// Stops the bar's own tick and sends `ticks` of them, so the blink phase stays put.
void Freeze(TAdvOfficeStatusBar* bar, int ticks) {
    ::KillTimer(bar->Handle(), TAdvOfficeStatusBar::TimerID);
    for (int i = 0; i < ticks; ++i) bar->Perform(WM_TIMER, TAdvOfficeStatusBar::TimerID, 0);
}

TAdvOfficeStatusBar* GaugeBar(TForm* form, TCustomAdvOfficeStatusBarStyler* styler, int top) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(12, top + 4, 170, 18);
    label->SetCaption(L"Gauges");
    auto* bar = new TAdvOfficeStatusBar(form);
    bar->SetParent(form);
    bar->SetAlign(alNone);
    bar->SetBounds(190, top, 560, 25);
    bar->SetStyler(styler);
    struct TGauge { int Position; bool Stacked, Smooth, Border; TColor Background; };
    const TGauge gauges[] = {{30, false, false, false, clNone}, {80, true, true, false, clWhite},
                             {95, false, true, true, clWhite}, {100, false, false, true, clNone}};
    for (const TGauge& g : gauges) {
        TAdvOfficeStatusPanel* panel = bar->Panels()->Add();
        panel->SetWidth(138);
        panel->SetStyle(psProgress);
        TProgressStyle* p = panel->Progress();
        p->SetStacked(g.Stacked);
        p->SetCompletionSmooth(g.Smooth);
        p->SetShowBorder(g.Border);
        p->SetBackGround(g.Background);
        p->SetPosition(g.Position);
    }
    return bar;
}

const Showcase::TPageRegistration page(L"statusbar", [](TForm* form) {
    form->SetCaption(L"Showcase - statusbar");
    auto* styler = new AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler(form);
    styler->SetStyle(AdvOfficeStatusBarStylers::psOffice2010Blue);

    MainWindowBar(form, styler, 20, L"Live (blinks)");
    Freeze(MainWindowBar(form, styler, 60, L"Blink: text shown (tick 6)"), 6);
    Freeze(MainWindowBar(form, styler, 100, L"Blink: text hidden (tick 2)"), 2);
    // Hot and pressed looks follow the real mouse: point at panel 1, then hold the button.
    Freeze(MainWindowBar(form, styler, 140, L"Point at panel 1 (hot)"), 6);
    Freeze(MainWindowBar(form, styler, 180, L"Press panel 1 (pressed)"), 6);
    GaugeBar(form, styler, 220);

    // The same bar under three other presets, light and dark panels side by side.
    const AdvOfficeStatusBarStylers::TOfficeStatusBarStyle others[] = {
        AdvOfficeStatusBarStylers::psOffice2003Blue, AdvOfficeStatusBarStylers::psOffice2019White,
        AdvOfficeStatusBarStylers::psOffice2010Black};
    const wchar_t* names[] = {L"Office 2003 blue", L"Office 2019 white", L"Office 2010 black"};
    for (int i = 0; i < 3; ++i) {
        auto* other = new AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler(form);
        other->SetStyle(others[i]);
        Freeze(MainWindowBar(form, other, 270 + 40 * i, names[i]), 6);
    }

    // And as the main window has it: docked at the bottom, with its size grip.
    auto* docked = new TAdvOfficeStatusBar(form);
    docked->SetParent(form);
    docked->SetStyler(styler);
    docked->SetHeight(25);
    TAdvOfficeStatusPanel* first = docked->Panels()->Add();
    first->SetWidth(200);
    first->SetStyle(psProgress);
    first->Progress()->SetPosition(60);
    TAdvOfficeStatusPanel* second = docked->Panels()->Add();
    second->SetStyle(psHTML);
    second->SetText(L"Docked: <A HREF=\"http://example.org\">a link</A> and <I>italic</I> text");
});

}  // namespace
