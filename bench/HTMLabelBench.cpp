// The HTML label over a what's-new-sized text (about 20 KB in 300 lines with 50 anchors),
// auto-sized in a panel as the updater's dialog holds it: milliseconds per paint and per
// mouse move (goal: a move within 50 ms, so the hand cursor keeps up with the pointer);
// then seconds to paint a label of 100,000 tags (goal: well under a second).
//   HTMLabelBench.exe [mouse moves = 300]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/StandardControls.h"
#include "classlib/Streams.h"
#include "classlib/StringList.h"
#include "graphics/AdvGDIPStartup.h"
#include "rendering/HTMLabel.h"

using namespace ClassLib;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double>(d).count() * 1e3; }

// 300 lines of release notes, every sixth with an anchor, as UTF-8 the server would send.
std::string WhatsNewText() {
    std::string text;
    char line[256];
    for (int i = 0; i < 300; ++i) {
        if (i % 6 == 0)
            std::snprintf(line, sizeof line,
                          "<b>Version 2.%d</b> \xE2\x80\x93 see <a href=\"http://example.org/notes/%d\">the notes on "
                          "change %d</a> for details<br>\r\n",
                          i / 6, i, i);
        else
            std::snprintf(line, sizeof line,
                          "- the generator keeps <i>command %d</i> when sorted again, caf\xC3\xA9<br>\r\n",
                          i);
        text += line;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    AdvGDIPStartup::TGdiplusSession gdiplus;
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 400);
    auto* box = new TPanel(&form);
    box->SetParent(&form);
    box->SetBevelOuter(bvNone);
    box->SetBounds(10, 10, 380, 340);
    auto* label = new HTMLabel::THTMLabel(box);
    label->SetParent(box);
    label->SetAlign(alTop);
    const std::string text = WhatsNewText();
    TMemoryStream stream;
    stream.Write(text.data(), int(text.size()));
    stream.SetPosition(0);
    label->HTMLText()->LoadFromStream(&stream);
    label->SetAutoSizing(true);
    form.Show();

    TWindowDC screen;
    const auto paint = [&] {
        TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
        TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), label->Width(), label->Height()));
        TSelection selected(dc.get(), bitmap.get());
        const Clock::time_point start = Clock::now();
        label->Perform(WM_PAINT, WPARAM(dc.get()), 0);
        return Ms(Clock::now() - start);
    };
    const double first = paint();   // sizes the label to its text
    std::printf("text: %zu bytes, %d lines; label %dx%d after the first paint (%.1f ms)\n", text.size(),
                label->HTMLText()->Count(), label->Width(), label->Height(), first);

    constexpr int Paints = 20;
    double paints = 0, slowestPaint = 0;
    for (int i = 0; i < Paints; ++i) {
        const double one = paint();
        paints += one;
        slowestPaint = std::max(slowestPaint, one);
    }
    std::printf("paint, ms                %8.2f  slowest %8.2f\n", paints / Paints, slowestPaint);

    std::mt19937 random(27);
    int entered = 0;
    label->OnAnchorEnter = [&](TObject*, const std::wstring&) { ++entered; };
    for (bool hover : {false, true}) {
        label->SetHover(hover);
        double total = 0, slowest = 0;
        for (int i = 0; i < moves; ++i) {
            const int x = int(random() % unsigned(label->Width())), y = int(random() % unsigned(label->Height()));
            const Clock::time_point start = Clock::now();
            label->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            const double one = Ms(Clock::now() - start);
            total += one;
            slowest = std::max(slowest, one);
        }
        std::printf("mouse move%s, ms   %8.2f  slowest %8.2f   goal 50 ms, ratio %.2f\n", hover ? " (hover)" : "        ",
                    total / moves, slowest, slowest / 50.0);
    }
    std::printf("anchors entered: %d of %d moves\n", entered, 2 * moves);

    // Hostile texts a server could send: 100,000 tags, painted once sized and once auto-sized.
    label->SetAutoSizing(false);
    label->SetBounds(0, 0, 380, 340);
    for (const wchar_t* piece : {L"<b>", L"<BR>", L"<LI>x", L"<UL>"}) {
        std::wstring text;
        for (int i = 0; i < 100000; ++i) text += piece;
        label->HTMLText()->SetText(text);
        const double fixed = paint();
        label->SetAutoSizing(true);
        const double sized = paint();
        label->SetAutoSizing(false);
        label->SetBounds(0, 0, 380, 340);
        std::printf("100,000 %-6ls paint, s  %7.3f   auto-sized %7.3f   goal < 1 s\n", piece, fixed / 1e3, sized / 1e3);
    }
    return 0;
}
