// A dock panel of 4 rows x 6 toolbars: microseconds per drag step (ToolBarDragMove along a
// row and across rows), milliseconds per panel resize (every row re-arranged), and
// milliseconds per LoadToolBarsPosition of the 24 toolbars from an INI file.
// Goal: a drag step within 1 ms.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "classlib/Form.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvToolBar.h"

using BenchSupport::MillisecondsPerCall;
using BenchSupport::Row;

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    ClassLib::TForm form(nullptr);
    form.SetBounds(20, 20, 1200, 400);
    form.Show();
    auto* panel = new AdvToolBar::TAdvDockPanel(&form);
    panel->SetName(L"Dock");
    panel->SetParent(&form);
    std::vector<AdvToolBar::TAdvToolBar*> bars;
    for (int k = 0; k < 24; ++k) {
        auto* bar = new AdvToolBar::TAdvToolBar(&form);
        bar->SetName(L"Bar" + std::to_wstring(k));
        bar->SetParent(panel);
        for (int b = 0; b < 3; ++b) {
            auto* button = new AdvGlowButton::TAdvGlowButton(&form);
            button->SetParent(bar);
            button->SetBounds(0, 0, 36, 22);
        }
        bars.push_back(bar);
    }
    // Six toolbars a row: each later one moves up into the row of the first of its six.
    for (int k = 0; k < 24; ++k) {
        if (k % 6 == 0) continue;
        AdvToolBar::TAdvToolBar* first = bars[size_t(k - k % 6)];
        bars[size_t(k)]->SetTop(first->Top());
    }
    std::printf("Dock panel: %d rows, %d toolbars\n", panel->RowCount(), panel->AdvToolBarCount());

    AdvToolBar::TAdvToolBar* dragged = bars[8];
    dragged->BeginToolBarDrag(3, 5);
    int step = 0;
    const double along = MillisecondsPerCall([&] {
        const int dx = (step++ % 20) < 10 ? 7 : -7;
        dragged->ToolBarDragMove(ClassLib::ssLeft, 3 + dx, 5);
    }, 400);
    dragged->EndToolBarDrag();
    Row("drag step along a row", along, 1.0);
    std::printf("%-34s %8.1f us\n", "", along * 1000);

    dragged->BeginToolBarDrag(3, 5);
    const double across = MillisecondsPerCall([&] {
        const int dy = (step++ % 2) ? 40 : -20;
        dragged->ToolBarDragMove(ClassLib::ssLeft, 3, 5 + dy);
    }, 200);
    dragged->EndToolBarDrag();
    Row("drag step across rows", across, 1.0);
    std::printf("%-34s %8.1f us\n", "", across * 1000);

    // The form's own resize, the rows unchanged (1200 and 1190 px both hold every toolbar
    // at full length): what the panel resize costs beyond it is the rows' work.
    int formWidth = 1200;
    const double formOnly = MillisecondsPerCall([&] {
        formWidth = formWidth == 1200 ? 1190 : 1200;
        form.SetWidth(formWidth);
    }, 40);
    std::printf("%-34s %8.3f ms\n", "form resize, rows unchanged", formOnly);
    int width = 1200;
    const double resize = MillisecondsPerCall([&] {
        width = width == 1200 ? 700 : 1200;
        form.SetWidth(width);
    }, 40);
    std::printf("%-34s %8.3f ms\n", "panel resize (all rows)", resize);

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"dockbench.ini";
    panel->Persistence()->SetLocation(AdvToolBar::plIniFile);
    panel->Persistence()->SetKey(file);
    panel->Persistence()->SetSection(L"Layout");
    panel->SaveToolBarsPosition();
    const double load = MillisecondsPerCall([&] { panel->LoadToolBarsPosition(); }, 20);
    std::printf("%-34s %8.3f ms   (%d rows after)\n", "LoadToolBarsPosition, 24 toolbars", load, panel->RowCount());
    ::DeleteFileW(file.c_str());
    return 0;
}
