// Toolbars on a form: a horizontal one with glow buttons and a caption strip, a vertical one
// with its grip on top, and a plain one below them; the combo box gives all three another
// application style (each toolbar then paints from the preset styler it owns).
#include <cmath>
#include <string>
#include <vector>

#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvToolBarSystem.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;
using AdvToolBar::TAdvToolBar;

const Showcase::TPageRegistration page(L"toolbar", [](TForm* form) {
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(720), S(420));
    form->SetColor(TColor(0xF3F3F3));

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(S(12), S(14), S(120), S(20));
    label->SetCaption(L"Toolbar style:");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(S(120), S(10), S(240), S(24));
    combo->SetDropDownCount(27);

    std::vector<TAdvToolBar*> bars;
    const auto toolBar = [&](const wchar_t* name, const wchar_t* caption, int left, int top) {
        auto* bar = new TAdvToolBar(form);
        bar->SetName(name);
        bar->SetParent(form);
        bar->SetLeft(S(left));
        bar->SetTop(S(top));
        bar->SetCaption(caption);
        bars.push_back(bar);
        return bar;
    };
    const auto button = [&](TAdvToolBar* bar, const wchar_t* caption, int width) {
        auto* b = new AdvGlowButton::TAdvGlowButton(form);
        b->SetParent(bar);
        b->SetBounds(0, 0, S(width), S(22));
        b->SetCaption(caption);
        return b;
    };

    TAdvToolBar* commands = toolBar(L"Commands", L"Commands", 12, 50);
    commands->SetShowCaption(true);
    for (const wchar_t* caption : {L"&New", L"&Open", L"&Save", L"&Generate", L"&Read back"})
        button(commands, caption, 70);

    TAdvToolBar* side = toolBar(L"Side", L"Edit", 12, 130);
    side->SetPosition(AdvToolBar::daLeft);
    for (const wchar_t* caption : {L"Cut", L"Copy", L"Paste", L"Find"}) button(side, caption, 50);

    TAdvToolBar* plain = toolBar(L"Plain", L"", 100, 130);
    for (const wchar_t* caption : {L"Undo", L"Redo"}) button(plain, caption, 60);

    for (int style = 0; style <= int(AdvStyleIF::tsOffice2019Black); ++style)
        combo->Items()->Add(TEnumNames<AdvStyleIF::TOVTStyle>::Names[style]);
    const auto apply = [bars, combo] {
        const int index = combo->ItemIndex();
        if (index < 0) return;
        for (TAdvToolBar* bar : bars) bar->SetUIStyle(AdvStyleIF::TOVTStyle(index));
    };
    combo->OnChange = [apply](TObject*) { apply(); };
    combo->SetItemIndex(int(AdvStyleIF::tsOffice2019White));
    apply();
});

}  // namespace
