// Milliseconds per paint of a 100 x 41 glow button with a caption and a 32 x 32 PNG, at
// rest, hot and in the middle of a fade. Goal: at most 2 ms, a tenth of the 20 ms fade tick.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/SamplePicture.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/GDIPicture.h"

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsPerPaint(AdvGlowButton::TAdvGlowButton& button, HDC dc) {
    constexpr int Paints = 500;
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = TClock::now();
        for (int i = 0; i < Paints; ++i) button.Perform(WM_PAINT, WPARAM(dc), 0);
        const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count() / Paints;
        if (ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    ClassLib::TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    form.Show();
    auto* button = new AdvGlowButton::TAdvGlowButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 100, 41);
    button->SetCaption(L"Create files");
    bool picture = true;
    try {
        button->Picture()->LoadFromFile(BenchSupport::SamplePicturePath());
    } catch (...) {
        picture = false;
    }
    HDC screen = ::GetDC(nullptr);
    ClassLib::TOffscreenBuffer buffer(screen, 100, 41);
    ::ReleaseDC(nullptr, screen);

    std::printf("Glow button paint, 100 x 41, caption%s; goal <= 2.00 ms per paint\n",
                picture ? " and 32 x 32 PNG" : " (PNG not found: no picture)");
    AdvGlowButton::GlowSpeed = 0;  // no fade timer: the plain looks
    const double rest = MillisecondsPerPaint(*button, buffer.Handle());
    ::SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    const double hot = MillisecondsPerPaint(*button, buffer.Handle());
    ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 150));
    button->Perform(ClassLib::CM_MOUSELEAVE);
    AdvGlowButton::GlowSpeed = 20;  // a fade timer exists: every colour is blended
    button->Perform(ClassLib::CM_MOUSEENTER);
    const double fade = MillisecondsPerPaint(*button, buffer.Handle());
    const auto row = [](const char* what, double ms) {
        std::printf("%-10s %8.3f ms   goal 2.00 ms   ratio %5.2f\n", what, ms, ms / 2.0);
    };
    row("at rest", rest);
    row("hot", hot);
    row("mid-fade", fade);
    return 0;
}
