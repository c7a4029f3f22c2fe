// Milliseconds per paint of a 600 x 26 toolbar with caption, gradient, grip and right handle,
// at rest and in the middle of a ribbon group's hover fade, and per ArrangeItems +
// AdjustToolBarSize over 50 items. Goal: at most 2 ms per paint, a tenth of the 20 ms fade tick.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "bench/BenchTiming.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvToolBar.h"
#include "tests/toolbars/FakeToolBarPage.h"

namespace {

using BenchSupport::MillisecondsPerCall;
using BenchSupport::Row;

AdvToolBar::TAdvToolBar* MakeToolBar(ClassLib::TForm& form, ClassLib::TWinControl* parent, int top) {
    auto* bar = new AdvToolBar::TAdvToolBar(&form);
    bar->SetName(top == 0 ? L"BenchBar" : L"BenchGroup");
    bar->SetParent(parent);
    bar->SetAutoSize(false);
    bar->SetCaption(L"Commands");
    bar->SetShowCaption(true);
    bar->SetBounds(0, top, 600, 26);
    bar->CurrentToolBarStyler()->ColorHot()->SetColor(ClassLib::TColor(0x80E0FF));
    return bar;
}

}  // namespace

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    ClassLib::TForm form(nullptr);
    form.SetBounds(40, 40, 700, 300);
    form.Show();
    auto* bar = MakeToolBar(form, &form, 0);
    bar->SetBounds(0, 0, 600, 26);
    auto* page = new ToolBarTestSupport::TFakeToolBarPage(&form);
    page->SetParent(&form);
    page->SetBounds(0, 60, 650, 120);
    auto* group = MakeToolBar(form, page, 10);
    group->SetBounds(0, 10, 600, 26);

    HDC screen = ::GetDC(nullptr);
    ClassLib::TOffscreenBuffer buffer(screen, 600, 90);
    ::ReleaseDC(nullptr, screen);
    const HDC dc = buffer.Handle();

    std::printf("Toolbar paint, 600 x %d with caption, gradient, grip and right handle\n", bar->Height());
    Row("paint at rest", MillisecondsPerCall([&] { bar->Perform(WM_PAINT, WPARAM(dc), 0); }, 300), 2.0);
    // The fade timer is started but never served while measuring: every colour stays blended.
    AdvGlowButton::GlowAnimationInterval = 20;
    group->Perform(ClassLib::CM_MOUSEENTER);
    for (int i = 0; i < 100 && group->StepHover() < 40; ++i) {
        ::Sleep(5);
        ClassLib::Application->ProcessMessages();
    }
    std::printf("ribbon group in its hover fade at step %d\n", group->StepHover());
    Row("paint mid-fade", MillisecondsPerCall([&] { group->Perform(WM_PAINT, WPARAM(dc), 0); }, 300), 2.0);

    auto* wide = new AdvToolBar::TAdvToolBar(&form);
    wide->SetName(L"BenchItems");
    wide->SetParent(&form);
    wide->SetBounds(0, 200, 600, 26);
    for (int i = 0; i < 50; ++i) {
        auto* button = new AdvGlowButton::TAdvGlowButton(&form);
        button->SetParent(wide);
        button->SetBounds(0, 0, 40, 22);
    }
    std::printf("(%d items on the toolbar)\n", wide->ToolBarControlCount());
    std::printf("Layout of a toolbar with 50 glow buttons\n");
    const double layout = MillisecondsPerCall([&] {
        wide->ArrangeItems(false);
        wide->AdjustToolBarSize();
    }, 50);
    std::printf("%-34s %8.3f ms\n", "ArrangeItems + AdjustToolBarSize", layout);
    return 0;
}
