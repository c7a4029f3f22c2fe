// Milliseconds for the page's layout of its ribbon groups as the window narrows: a page of
// 8 groups x 6 auto-size glow buttons, one size change of 100 pixels (one WM_SIZE of a window
// drag: the groups shrink their buttons or fold), and the whole squeeze from 1200 to 300
// pixels in one change. Goal: one step within 16 ms (a frame of the drag).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "classlib/Form.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarStylers.h"
#include "ribbon/AdvToolBarPager.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;

double TimeOnce(const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    using BenchSupport::Row;
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    const AdvToolBar::TToolBarUnitSession toolBars;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 1216, 300);
    form->Show();
    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(form.get());
    styler->SetName(L"Styler");
    styler->SetStyle(AdvToolBarStylers::bsOffice2007Luna);
    auto* pager = new AdvToolBar::TAdvToolBarPager(form.get());
    pager->SetName(L"Ribbon");
    pager->SetParent(form.get());
    pager->SetToolBarStyler(styler);
    pager->AddAdvPage(L"Home");
    pager->SetActivePageIndex(0);
    pager->Update();
    AdvToolBar::TAdvPage* page = pager->AdvPages(0);
    for (int g = 0; g < 8; ++g) {
        AdvToolBar::TAdvToolBar* bar = page->CreateAdvToolBar();
        bar->SetCaption(L"Group " + std::to_wstring(g + 1));
        bar->SetCompactCaption(L"Group " + std::to_wstring(g + 1));
        bar->SetAutoSize(true);
        for (int b = 0; b < 6; ++b) {
            auto* button = new AdvGlowButton::TAdvGlowButton(bar);
            button->SetCaption(L"Cmd " + std::to_wstring(b + 1));
            button->SetAutoSize(true);
            button->SetBounds(2 + 40 * b, 2, 40, 60);
            button->SetParent(bar);
        }
        bar->ArrangeItems(true);
    }
    page->AutoPositionAdvToolBars();
    page->UpdateAllToolBars();

    auto pump = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    };
    auto setWidth = [&](int width) {
        form->SetClientWidth(width);
        pump();
    };
    auto compactCount = [&] {
        int n = 0;
        for (int i = 0; i < page->AdvToolBarCount(); ++i) n += page->AdvToolBars(i)->IsCompact();
        return n;
    };
    setWidth(1200);
    std::printf("page %d px wide, %d groups x 6 glow buttons, %d compact\n", page->Width(), page->AdvToolBarCount(),
                compactCount());

    // One drag step at each width from 1200 down to 400: the worst and the median of them.
    // The layout runs inside the WM_SIZE itself; the paints it causes come after, from the queue.
    std::vector<double> steps, paints;
    for (int run = 0; run < 3; ++run) {
        setWidth(1200);
        for (int width = 1200; width > 300; width -= 100) {
            steps.push_back(TimeOnce([&] { form->SetClientWidth(width - 100); }));
            paints.push_back(TimeOnce(pump));
        }
    }
    std::sort(steps.begin(), steps.end());
    std::sort(paints.begin(), paints.end());
    Row("one 100 px step: layout (median)", steps[steps.size() / 2], 16.0);
    Row("one 100 px step: layout (worst)", steps.back(), 16.0);
    Row("its repaint (median)", paints[paints.size() / 2], 16.0);
    std::printf("at 300 px: %d of %d groups compact\n", compactCount(), page->AdvToolBarCount());

    double squeeze = 1e300;
    for (int run = 0; run < 3; ++run) {
        setWidth(1200);
        squeeze = std::min(squeeze, TimeOnce([&] { setWidth(300); }));
    }
    Row("squeeze 1200 -> 300 in one change", squeeze, 16.0 * 9);
    setWidth(1200);
    std::printf("back at 1200 px: %d compact\n", compactCount());
    return 0;
}
