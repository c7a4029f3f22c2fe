// A toolbar too short for its buttons: "toolbaroptions" opens its drop-down with the hidden
// buttons and cascades the add-or-remove check list; "customizer" opens the customizer
// dialog over it.
#include <cmath>
#include <functional>
#include <string>

#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvToolBarSystem.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/ATBPopupWindow.h"
#include "toolbars/AdvOptionSelector.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCustomizer.h"

namespace {

using namespace ClassLib;
using AdvToolBar::TAdvToolBar;

TAdvToolBar* ShortToolBar(TForm* form, double scale) {
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    form->SetBounds(0, 0, S(640), S(420));
    form->SetColor(TColor(0xF3F3F3));
    auto* note = new TLabel(form);
    note->SetParent(form);
    note->SetBounds(S(12), S(60), S(600), S(20));
    note->SetCaption(L"The toolbar is too short: the buttons used longest ago wait in its drop-down.");
    auto* bar = new TAdvToolBar(form);
    bar->SetName(L"Standard");
    bar->SetParent(form);
    bar->SetBounds(S(12), S(12), S(400), S(26));
    bar->SetCaption(L"Standard");
    bar->SetAutoOptionMenu(true);
    int left = 0;
    for (const wchar_t* caption : {L"New", L"Open", L"Save", L"Cut", L"Copy", L"Paste", L"Undo", L"Redo", L"Find"}) {
        auto* b = new AdvGlowButton::TAdvGlowButton(bar);
        b->SetName(caption);
        b->SetCaption(caption);
        b->SetBounds(left, 0, S(42), S(22));
        b->SetParent(bar);
        left += S(42);
    }
    auto* customizer = new AdvToolBar::TAdvToolBarCustomizer(form);
    customizer->SetName(L"StandardCustomizer");
    customizer->SetEnablePersistence(false);
    customizer->Commands()->Add()->SetCaption(L"Print");
    customizer->Commands()->Add()->SetCaption(L"Print Preview");
    customizer->Commands()->Add()->SetCaption(L"Replace");
    customizer->SetAdvToolBar(bar);
    // Recently used from the left: the rightmost give way first.
    for (int i = bar->ToolBarControlCount() - 1; i >= 0; --i) bar->PromoteControl(bar->GetToolBarControls(i));
    bar->SetDockedStandIn(true);
    bar->SetWidth(S(250));
    return bar;
}

// Runs `step` once, shortly after the window shows.
void Later(TForm* form, std::function<void()> step) {
    auto* timer = new TTimer(form);
    timer->SetInterval(600);
    timer->SetOnTimer([timer, step = std::move(step)](TObject*) {
        timer->SetEnabled(false);
        step();
    });
}

const Showcase::TPageRegistration options(L"toolbaroptions", [](TForm* form) {
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    TAdvToolBar* bar = ShortToolBar(form, scale);
    Later(form, [bar] {
        bar->ShowOptionWindow(0, 0, false);
        AdvToolBar::TControlSelectorPanel* panel = bar->OptionWindowPanel();
        if (!panel) return;
        panel->ShowAddAndRemovePopup();
        AdvToolBar::TATBPopupWindow* popup = panel->AddAndRemovePopup();
        if (!popup || popup->Items()->Count() == 0) return;
        // Hover the toolbar's entry: its check list cascades.
        const TRect root = popup->Items()->Items(0)->BoundRect();
        ::SendMessageW(popup->PopupPanel()->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(root.Left + 4, root.Top + 4));
    });
});

const Showcase::TPageRegistration customizerPage(L"customizer", [](TForm* form) {
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    TAdvToolBar* bar = ShortToolBar(form, scale);
    Later(form, [bar] { bar->ShowCustomizer(); });
});

}  // namespace
