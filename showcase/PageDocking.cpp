// Docking toolbars: dock panels on the top, left and bottom edges of a form, five toolbars
// docked in them and one floating. Drag a toolbar by its grip along its row, into another
// row or panel, or off the panel to float it; drag a floating window's edge to change its
// rows. The layout is kept in an INI file in the temporary folder and comes back at the
// next start ("docking reset" starts from the built layout).
#include <cmath>
#include <string>

#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvToolBarSystem.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;
using AdvToolBar::TAdvDockPanel;
using AdvToolBar::TAdvToolBar;

std::wstring LayoutFile() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"showcase-docking.ini";
}

void Build(TForm* form, bool restore) {
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(760), S(460));
    form->SetColor(TColor(0xF3F3F3));
    const std::wstring file = LayoutFile();
    if (!restore) ::DeleteFileW(file.c_str());
    const bool fresh = ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES;

    const auto panel = [&](const wchar_t* name, AdvToolBar::TDockAlign side) {
        auto* p = new TAdvDockPanel(form);
        p->SetName(name);
        p->SetParent(form);
        p->SetDockAlign(side);
        p->Persistence()->SetLocation(AdvToolBar::plIniFile);
        p->Persistence()->SetKey(file);
        p->Persistence()->SetSection(name);
        p->Persistence()->SetEnabled(true);  // saved at the end; docked toolbars take the settings
        return p;
    };
    TAdvDockPanel* top = panel(L"TopDock", AdvToolBar::daTop);
    TAdvDockPanel* left = panel(L"LeftDock", AdvToolBar::daLeft);
    TAdvDockPanel* bottom = panel(L"BottomDock", AdvToolBar::daBottom);

    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetAlign(alClient);
    memo->SetText(L"Drag a toolbar by its grip.\r\nDrop it on another edge, or pull it off to float it.");

    const auto toolBar = [&](const wchar_t* name, TAdvDockPanel* dock, std::initializer_list<const wchar_t*> captions) {
        auto* bar = new TAdvToolBar(form);
        bar->SetName(name);
        bar->SetCaption(name);
        bar->SetParent(dock);
        // After docking: the panel hands its own (disabled) settings to its toolbars.
        bar->Persistence()->SetLocation(AdvToolBar::plIniFile);
        bar->Persistence()->SetKey(file);
        bar->Persistence()->SetEnabled(true);
        for (const wchar_t* caption : captions) {
            auto* b = new AdvGlowButton::TAdvGlowButton(form);
            b->SetName(std::wstring(name) + caption);
            b->SetParent(bar);
            b->SetBounds(0, 0, S(56), S(22));
            b->SetCaption(caption);
        }
        return bar;
    };
    toolBar(L"File", top, {L"New", L"Open", L"Save"});
    toolBar(L"Edit", top, {L"Cut", L"Copy", L"Paste"});
    toolBar(L"Tools", left, {L"Build", L"Run"});
    toolBar(L"View", bottom, {L"Zoom", L"Grid", L"Ruler"});
    TAdvToolBar* extra = toolBar(L"Extra", top, {L"One", L"Two", L"Three", L"Four"});

    if (!fresh) {
        for (TAdvDockPanel* p : {top, left, bottom}) p->LoadToolBarsPosition();
    }
    // The first start floats one toolbar once the form stands: a floating window shows
    // only beside a visible form, and during OnShow the form is not shown yet.
    auto* floatOnce = new TTimer(form);
    floatOnce->SetInterval(50);
    floatOnce->SetEnabled(false);
    floatOnce->SetOnTimer([floatOnce, extra, form, S](TObject*) {
        floatOnce->SetEnabled(false);
        if (extra->GetToolBarState() != AdvToolBar::tsFloating)
            extra->SetToolBarFloating({form->Left() + S(420), form->Top() + S(200)});
    });
    form->OnShow = [floatOnce, fresh](TObject*) {
        if (fresh) floatOnce->SetEnabled(true);
    };
    form->OnClose = [top, left, bottom, form](TObject*, TCloseAction&) {
        for (TAdvDockPanel* p : {top, left, bottom}) p->SaveToolBarsPosition();
        for (int k = 0; k < form->ComponentCount(); ++k)
            if (auto* bar = dynamic_cast<TAdvToolBar*>(form->Components(k))) bar->SavePosition();
    };
}

const Showcase::TPageRegistration page(L"docking", [](TForm* form) {
    const std::wstring command = ::GetCommandLineW();
    Build(form, command.find(L"reset") == std::wstring::npos);
});

}  // namespace
