// The canvas HTML engine and the office status bar: microseconds per engine call over
// 1,000 panel texts beside plain DrawText of the same visible text, milliseconds per paint
// of the main window's bar (goal: a twentieth of its 100 ms tick), seconds to measure and
// to paint texts of 100,000 tags in the canvas, status-bar and vector engines (goal: well
// under a second), seconds to
// add 1,000 panels one at a time, and fuzz inputs per second with the slowest one.
//   HtmlStatusBarBench.exe [fuzz inputs = 1000000]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvGraphicsHTMLEngine.h"
#include "rendering/AdvHTML.h"
#include "tests/support/HTMLFuzz.h"

using namespace ClassLib;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::vector<std::wstring> PanelTexts() {
    std::vector<std::wstring> texts;
    std::mt19937 random(7);
    const wchar_t* shapes[] = {
        L"Line <B>%d</B>, column %d",
        L"<FONT COLOR=\"clRed\"><BLINK><B>Click && get update: ver. %d.%d</B></BLINK></FONT>",
        L"<A HREF=\"http://example.org/%d\">Open %d</A> in the browser",
        L"It's current ver. of AT generator %d.%d",
        L"<I>%d</I> commands, <U>%d</U> changed &amp; saved",
        L"<P ALIGN=\"CENTER\">Ready &#169; %d &nbsp; %d</P>",
    };
    for (int i = 0; i < 1000; ++i) {
        wchar_t text[256];
        std::swprintf(text, 256, shapes[i % 6], int(random() % 1000), int(random() % 100));
        texts.push_back(text);
    }
    return texts;
}

void EngineBeside(TCanvas* canvas) {
    const std::vector<std::wstring> texts = PanelTexts();
    const TRect r(0, 0, 300, 22);
    std::vector<std::wstring> visible;
    for (const std::wstring& t : texts) {
        AdvHTML::THTMLParams p;
        p.Canvas = canvas;
        p.S = t;
        p.R = r;
        p.MeasureOnly = true;
        AdvHTML::THTMLResults out;
        AdvHTML::DrawHTML(p, out, AdvHTML::StatusBarEngine);
        visible.push_back(out.StripVal);
    }
    constexpr int Rounds = 5;
    const Clock::time_point engineStart = Clock::now();
    for (int round = 0; round < Rounds; ++round)
        for (const std::wstring& t : texts) {
            AdvHTML::THTMLParams p;
            p.Canvas = canvas;
            p.S = t;
            p.R = r;
            AdvHTML::THTMLResults out;
            AdvOfficeStatusBar::DrawHTML(p, out);
        }
    const double engine = Seconds(Clock::now() - engineStart) * 1e6 / (Rounds * texts.size());
    const Clock::time_point plainStart = Clock::now();
    for (int round = 0; round < Rounds; ++round)
        for (const std::wstring& t : visible) {
            RECT rect{0, 0, 300, 22};
            ::DrawTextW(canvas->Handle(), t.c_str(), int(t.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    const double plain = Seconds(Clock::now() - plainStart) * 1e6 / (Rounds * visible.size());
    std::printf("engine call (measure + draw), us     %8.1f\n", engine);
    std::printf("plain DrawText of the same text, us  %8.1f   engine/plain %.1fx\n", plain, engine / plain);
}

void BarPaint() {
    TForm form(nullptr);
    form.SetBounds(0, 0, 860, 200);
    auto* styler = new AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler(&form);
    styler->SetStyle(AdvOfficeStatusBarStylers::psOffice2010Blue);
    auto* bar = new AdvOfficeStatusBar::TAdvOfficeStatusBar(&form);
    bar->SetParent(&form);
    bar->SetStyler(styler);
    bar->SetHeight(25);
    AdvOfficeStatusBar::TAdvOfficeStatusPanel* progress = bar->Panels()->Add();
    progress->SetWidth(200);
    progress->SetAlignment(taCenter);
    progress->SetStyle(AdvOfficeStatusBar::psProgress);
    progress->Progress()->SetPosition(40);
    AdvOfficeStatusBar::TAdvOfficeStatusPanel* notice = bar->Panels()->Add();
    notice->SetWidth(50);
    notice->SetAlignment(taCenter);
    notice->SetButton(true);
    notice->SetStyle(AdvOfficeStatusBar::psHTML);
    notice->SetAppearanceStyle(AdvOfficeStatusBar::psDark);
    notice->SetText(L"<FONT COLOR=\"clRed\"><BLINK><B>Click && get update: ver. 2.0.1</B></BLINK></FONT>");
    form.Show();
    const int w = bar->Width(), h = bar->Height();
    TWindowDC screen;
    TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
    TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), w, h));
    TSelection selected(dc.get(), bitmap.get());
    constexpr int Paints = 500;
    double slowest = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < Paints; ++i) {
        const Clock::time_point one = Clock::now();
        bar->Perform(WM_PAINT, WPARAM(dc.get()), 0);
        slowest = std::max(slowest, Seconds(Clock::now() - one) * 1e3);
        if (i % 50 == 0) bar->Perform(WM_TIMER, AdvOfficeStatusBar::TAdvOfficeStatusBar::TimerID, 0);
    }
    const double perPaint = Seconds(Clock::now() - start) * 1e3 / Paints;
    std::printf("paint of the main window's bar (%dx%d), ms  %6.3f  slowest %6.3f   goal 5 ms, ratio %.2f\n", w, h,
                perPaint, slowest, perPaint / 5.0);
}

std::wstring Repeated(const wchar_t* piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Texts of 100,000 tags, measured (every line) and painted (as far as the rectangle goes).
void HostileMarkup(TCanvas* canvas) {
    struct TText { const char* Name; std::wstring Text; };
    const TText texts[] = {
        {"<BR>", Repeated(L"<BR>", 100000)}, {"<LI>x", Repeated(L"<LI>x", 100000)},
        {"<b>", Repeated(L"<b>", 100000)},   {"<UL>", Repeated(L"<UL>", 100000)},
        {"&amp;", Repeated(L"&amp;", 100000)},
    };
    const std::shared_ptr<AdvGraphics::TAdvGraphics> surface =
        AdvGraphics::TAdvGraphics::CreateBitmapCanvas(400, 200, false);
    std::printf("100,000 tags, s           canvas measure  canvas paint  bar measure  bar paint  vector measure"
                "  vector paint   goal < 1 s\n");
    for (const TText& t : texts) {
        std::printf("  %-8s                ", t.Name);
        for (const AdvHTML::THTMLOptions* options : {&AdvHTML::CanvasEngine, &AdvHTML::StatusBarEngine})
            for (const bool measureOnly : {true, false}) {
                AdvHTML::THTMLParams p;
                p.Canvas = canvas;
                p.S = t.Text;
                p.R = TRect(0, 0, 400, 200);
                p.MeasureOnly = measureOnly;
                AdvHTML::THTMLResults out;
                const Clock::time_point start = Clock::now();
                AdvHTML::DrawHTML(p, out, *options);
                std::printf("%13.3f ", Seconds(Clock::now() - start));
            }
        for (const bool measureOnly : {true, false}) {
            AdvGraphicsHTMLEngine::THTMLOptions o;
            o.MeasureOnly = measureOnly;
            o.WordWrap = true;
            AdvGraphicsHTMLEngine::THTMLResult r;
            const Clock::time_point start = Clock::now();
            AdvGraphicsHTMLEngine::DrawHTML(surface.get(), t.Text, AdvTypes::RectF(0, 0, 400, 200), o, r);
            std::printf("%14.3f ", Seconds(Clock::now() - start));
        }
        std::printf("\n");
    }
}

// Panels added one at a time to a shown bar, each with its text: every change repaints, but
// the paints of changes made before the next message is handled are one.
void PanelsOneAtATime() {
    TForm form(nullptr);
    form.SetBounds(0, 0, 860, 200);
    auto* bar = new AdvOfficeStatusBar::TAdvOfficeStatusBar(&form);
    bar->SetParent(&form);
    form.Show();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        AdvOfficeStatusBar::TAdvOfficeStatusPanel* panel = bar->Panels()->Add();
        panel->SetWidth(20);
        panel->SetText(std::to_wstring(i));
    }
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    std::printf("1,000 panels added one at a time, then painted, s  %6.3f\n", Seconds(Clock::now() - start));
}

void Fuzz(TCanvas* canvas, long long inputs) {
    std::mt19937 random(20261210);
    std::wstring seed = TestSupport::HTMLFuzzSeed;
    double slowest = 0;
    std::wstring slowestInput;
    const Clock::time_point start = Clock::now();
    for (long long i = 0; i < inputs; ++i) {
        const std::wstring input = TestSupport::MutateHTML(random, i % 50 == 0 ? L"" : seed);
        if (random() % 4 == 0) seed = input;
        AdvHTML::THTMLParams p;
        p.Canvas = canvas;
        p.S = input;
        p.R = TRect(2, 2, 50 + int(random() % 350), 10 + int(random() % 190));
        p.CheckOnly = i % 3 == 1;
        p.MeasureOnly = i % 3 == 2;
        p.X = int(random() % 400);
        p.Y = int(random() % 200);
        p.WordWrap = random() % 3 != 0;
        AdvHTML::THTMLResults out;
        const Clock::time_point one = Clock::now();
        AdvHTML::DrawHTML(p, out, i % 2 ? AdvHTML::StatusBarEngine : AdvHTML::CanvasEngine);
        const double took = Seconds(Clock::now() - one) * 1e3;
        if (took > slowest) {
            slowest = took;
            slowestInput = input;
        }
    }
    const double total = Seconds(Clock::now() - start);
    std::printf("fuzz: %lld inputs in %.1f s, %.0f inputs/s, slowest %.2f ms (%zu characters)\n", inputs, total,
                inputs / total, slowest, slowestInput.size());
    std::string shown;
    for (wchar_t c : slowestInput) shown += c >= 32 && c < 127 ? char(c) : '?';
    std::printf("slowest input: %s\n", shown.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const long long inputs = argc > 1 ? std::atoll(argv[1]) : 1000000;
    AdvGDIPStartup::TGdiplusSession gdiplus;
    TOwnedDC dc(::CreateCompatibleDC(nullptr));
    TOwnedBitmap bitmap(::CreateBitmap(400, 200, 1, 32, nullptr));
    TSelection selected(dc.get(), bitmap.get());
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font()->SetName(L"Tahoma");
    canvas.Font()->SetSize(9);
    EngineBeside(&canvas);
    BarPaint();
    HostileMarkup(&canvas);
    PanelsOneAtATime();
    Fuzz(&canvas, inputs);
    canvas.SetHandle(nullptr);
    return 0;
}
