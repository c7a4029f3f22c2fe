// The showcase program: opens one page (named on the command line) in a window and runs
// the message loop until it is closed.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "classlib/Application.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvToolBarBase.h"
#include "showcase/ShowcasePages.h"

namespace Showcase {

namespace {
std::map<std::wstring, TPageBuilder>& Registry() {
    static std::map<std::wstring, TPageBuilder> pages;
    return pages;
}
}  // namespace

const std::map<std::wstring, TPageBuilder>& Pages() { return Registry(); }

TPageRegistration::TPageRegistration(const wchar_t* name, TPageBuilder build) {
    Registry()[name] = std::move(build);
}

}  // namespace Showcase

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace ClassLib;
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    const AdvMenus::TMenuUnitSession menus;            // menu animation off until the showcase ends
    const AdvToolBar::TToolBarUnitSession toolBars;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring wanted = argc > 1 ? argv[1] : L"";
    LocalFree(argv);

    const auto& pages = Showcase::Pages();
    for (const auto& [name, build] : pages) std::fwprintf(stdout, L"page: %ls\n", name.c_str());
    std::fflush(stdout);
    if (pages.empty()) return 0;
    auto page = wanted.empty() ? pages.begin() : pages.find(wanted);
    if (page == pages.end()) {
        std::fwprintf(stderr, L"no page named \"%ls\"\n", wanted.c_str());
        return 2;
    }
    try {
        Application->Initialize();
        Application->SetTitle(L"Showcase");
        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(L"Showcase - " + page->first);
        form->SetBounds(0, 0, 800, 600);
        page->second(form);
        Application->Run();
    } catch (...) {
        Application->HandleException(nullptr);
        return 1;
    }
    return 0;
}
