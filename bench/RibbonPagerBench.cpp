// Milliseconds per ribbon paint: the whole pager (800 x 149, 10 tabs, 2 tab groups), the tab
// row alone while a tab fades in, and one squeeze of the tab row from 1200 to 300 pixels.
// Goals: the tab row within 5 ms (a quarter of the 20 ms fade tick), the squeeze within 2 ms.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarStylers.h"
#include "ribbon/AdvToolBarPager.h"

int main() {
    using namespace ClassLib;
    using BenchSupport::MillisecondsPerCall;
    using BenchSupport::Row;
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    const AdvToolBar::TToolBarUnitSession toolBars;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 816, 300);
    form->Show();
    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(form.get());
    styler->SetName(L"Styler");
    styler->SetStyle(AdvToolBarStylers::bsOffice2007Luna);
    auto* pager = new AdvToolBar::TAdvToolBarPager(form.get());
    pager->SetName(L"Ribbon");
    pager->SetParent(form.get());
    pager->SetToolBarStyler(styler);
    pager->Caption()->SetCaption(L"commands.atg - AT Command Generator");
    for (int i = 0; i < 10; ++i) pager->AddAdvPage(L"Page " + std::to_wstring(i + 1));
    for (int g = 0; g < 2; ++g) {
        auto* group = pager->TabGroups()->Add();
        group->SetCaption(g == 0 ? L"Table Tools" : L"Chart Tools");
        group->SetTabIndexStart(6 + 2 * g);
        group->SetTabIndexEnd(7 + 2 * g);
    }
    pager->SetActivePageIndex(0);
    pager->Update();
    std::printf("pager %d x %d, %d tabs, %d tab groups\n", pager->Width(), pager->Height(), pager->AdvPageCount(),
                pager->TabGroups()->Count());

    TBitmap surface(pager->Width(), pager->Height());
    const double full = MillisecondsPerCall(
        [&] { pager->Perform(WM_PAINT, WPARAM(surface.Canvas()->Handle()), 0); }, 20);
    Row("full pager paint", full, 20.0);

    // A tab two fade steps in: hot under the mouse, its glow at 40 percent.
    const TRect tab = pager->GetTabRect(3);
    pager->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
    pager->AdvPages(3)->GlowTimer();
    pager->AdvPages(3)->GlowTimer();
    const double row = MillisecondsPerCall([&] { pager->DrawTabArea(); }, 20);
    Row("tab row repaint mid-fade", row, 5.0);
    // What a fade tick costs: the tick invalidates the fading tab only, so the paint
    // reaches the pager with its DC clipped to that tab.
    const double tick = MillisecondsPerCall(
        [&] {
            HDC dc = surface.Canvas()->Handle();
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, tab.Left, tab.Top, tab.Right, tab.Bottom);
            pager->Perform(WM_PAINT, WPARAM(dc), 0);
            RestoreDC(dc, saved);
        },
        20);
    Row("fade tick repaint (tab clip)", tick, 5.0);

    // Squeeze the row as it stands at 1200 pixels into 300.
    pager->SetWidth(1200);
    pager->Perform(WM_SIZE, 0, MAKELPARAM(1200, 149));
    const AdvToolBar::TTabRow wide = pager->TabRow();
    const double fit = MillisecondsPerCall(
        [&] {
            AdvToolBar::TTabRow copy = wide;
            copy.Fit(300);
        },
        200);
    Row("FitTabs 1200 -> 300 px", fit, 2.0);
    return 0;
}
