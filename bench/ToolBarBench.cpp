// Milliseconds per paint of a 600 x 26 toolbar with caption, gradient, grip and right handle,
// at rest and in the middle of a ribbon group's hover fade, and per ArrangeItems +
// AdjustToolBarSize over 50 items. Goal: at most 2 ms per paint, a tenth of the 20 ms fade tick.
// Also milliseconds per 1-px shrink step of a docked 60-item toolbar that hides items (goal
// 1 ms) and per customization load of 200 items.
// Then one toolbar button's paint (goal at most 1 ms) and its automatic size in microseconds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "bench/BenchTiming.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/MemIniFile.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCustomizer.h"
#include "toolbars/AdvToolBarPageHost.h"
#include "tests/toolbars/FakeToolBarPage.h"
#include "toolbars/AdvToolBarButton.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"

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

    // Hiding: a 60-item toolbar standing in for a docked one shrinks a pixel at a time from
    // its full length down to 60 pixels, hiding the items used longest ago.
    auto* shrinking = new AdvToolBar::TAdvToolBar(&form);
    shrinking->SetName(L"BenchHiding");
    shrinking->SetParent(&form);
    shrinking->SetBounds(0, 240, 600, 26);
    for (int i = 0; i < 60; ++i) {
        auto* button = new AdvGlowButton::TAdvGlowButton(&form);
        button->SetParent(shrinking);
        button->SetBounds(i * 23, 0, 23, 22);
    }
    shrinking->SetDockedStandIn(true);
    const int full = shrinking->Width();
    int steps = 0;
    const double shrink = MillisecondsPerCall([&] {
        for (int length = full; length >= 60; --length, ++steps) shrinking->SetWidth(length);
        shrinking->SetWidth(full);
    }, 1);
    std::printf("Hiding on a docked toolbar of 60 items, %d to 60 pixels\n", full);
    Row("one 1-px shrink step", shrink * 5 / std::max(steps, 1), 1.0);
    // Where a step's time goes: the window system's own resize and redraw of the window,
    // against the same resize without the redraw (what hiding and arranging add is tiny).
    int width = 700;
    const auto resize = [&](UINT flags) {
        width = width == 700 ? 699 : 700;
        ::SetWindowPos(shrinking->Handle(), nullptr, 0, 0, width, 26, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    };
    std::printf("%-34s %8.3f ms\n", "  bare window resize", MillisecondsPerCall([&] { resize(0); }, 50));
    std::printf("%-34s %8.3f ms\n", "  bare resize without redraw", MillisecondsPerCall([&] { resize(SWP_NOREDRAW); }, 50));
    std::printf("%-34s %8.3f ms\n", "  ArrangeItems(true) alone", MillisecondsPerCall([&] { shrinking->ArrangeItems(true); }, 50));
    shrinking->SetWidth(full);

    // Customization: a layout of 200 items read from the file and applied.
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"toolbar_bench_customizer.ini";
    {
        std::wstring text = L"[BenchCustomizer]\r\nToolBarItemCount=200\r\n";
        for (int i = 0; i < 200; ++i) {
            const std::wstring key = L"Name" + std::to_wstring(i);
            text += key + L"=Item" + std::to_wstring(i) + L"\r\n" + key + L".ClassName=ADVCUSTOMGLOWBUTTON\r\n" +
                    key + L".Caption=Item " + std::to_wstring(i) + L"\r\n";
        }
        ClassLib::TMemIniFile ini(text);
        ini.SetFileName(file);
        ini.UpdateFile();
    }
    auto* customized = new AdvToolBar::TAdvToolBar(&form);
    customized->SetName(L"BenchCustomized");
    customized->SetParent(&form);
    auto* customizer = new AdvToolBar::TAdvToolBarCustomizer(&form);
    customizer->SetName(L"BenchCustomizer");
    customizer->SetAdvToolBar(customized);
    customizer->SetEnablePersistence(false);
    customizer->SetFileName(file);
    customizer->SetEnablePersistence(true);
    customizer->LoadCustomization();  // the first load creates the 200 buttons
    std::printf("Customization of %d items\n", customized->ToolBarControlCount());
    const double load = MillisecondsPerCall([&] { customizer->LoadCustomization(); }, 3);
    std::printf("%-34s %8.3f ms\n", "LoadCustomization", load);
    ::DeleteFileW(file.c_str());
    // One toolbar button with a 16 x 16 image and a caption: at rest, and hot with its shadow.
    auto* images = new ClassLib::TImageList(&form);
    images->SetSize(16, 16);
    ClassLib::TBitmap square(16, 16);
    square.Canvas()->Brush()->SetColor(ClassLib::clFuchsia);
    square.Canvas()->FillRect(ClassLib::TRect(0, 0, 16, 16));
    square.Canvas()->Brush()->SetColor(ClassLib::TColor(0x3070D0));
    square.Canvas()->FillRect(ClassLib::TRect(2, 2, 14, 14));
    images->AddMasked(&square, ClassLib::clFuchsia);
    auto* holder = new AdvToolBar::TAdvToolBar(&form);
    holder->SetName(L"BenchButtons");
    holder->SetParent(&form);
    holder->SetTop(240);
    holder->SetImages(images);
    auto* item = new AdvToolBar::TAdvToolBarButton(&form);
    item->SetName(L"BenchButton");
    item->SetCaption(L"Generate");
    item->SetShowCaption(true);
    item->SetImageIndex(0);
    item->SetParent(holder);
    item->GenerateShade();
    std::printf("Toolbar button %d x %d, 16 x 16 image and caption\n", item->Width(), item->Height());
    Row("button paint at rest", MillisecondsPerCall([&] { item->Perform(WM_PAINT, WPARAM(dc), 0); }, 300), 1.0);
    item->Perform(ClassLib::CM_MOUSEENTER);
    item->SetHot(true);
    Row("button paint hot, with shadow", MillisecondsPerCall([&] { item->Perform(WM_PAINT, WPARAM(dc), 0); }, 300), 1.0);
    const double adjust = MillisecondsPerCall([&] { item->AdjustSize(); }, 300);
    std::printf("%-34s %8.1f us\n", "button AdjustSize", adjust * 1000.0);
    return 0;
}
