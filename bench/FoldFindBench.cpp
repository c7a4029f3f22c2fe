// Code folding, find and replace on a generated C file of 1,000,000 lines and again of 250,000:
// folding speed in MB/s with the C styler's own region definitions and with a brace definition
// (every block folds), collapse-all and expand-all, one painted screen with folding against the
// same screen without, a case-insensitive count and a replace-all. Each figure is printed with its
// goal, and the ratio of the two sizes shows whether the work stays linear (near 4).
#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvmCSHS.h"

#include "classlib/Dialogs.h"
#include "classlib/GdiScopes.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Ten-line blocks: a function with a nested block, both comment kinds, braces that open and close
// on one line, and "scale" once (the find's match every tenth line); a "#region" pair every 1,000 lines.
std::wstring GenerateC(int lineCount) {
    std::wstring text;
    text.reserve(static_cast<size_t>(lineCount) * 24);
    wchar_t line[96];
    for (int i = 0; i < lineCount; ++i) {
        const int block = i / 10;
        if (i % 1000 == 0) std::swprintf(line, 96, L"#region part %d\r\n", i / 1000);
        else if (i % 1000 == 999) std::swprintf(line, 96, L"#endregion\r\n");
        else switch (i % 10) {
            case 0: std::swprintf(line, 96, L"/* handler %d */\r\n", block); break;
            case 1: std::swprintf(line, 96, L"static int handler_%d(int a)\r\n", block); break;
            case 2: std::swprintf(line, 96, L"{\r\n"); break;
            case 3: std::swprintf(line, 96, L"    if (a > 0) {\r\n"); break;
            case 4: std::swprintf(line, 96, L"        a = a * 2; // twice\r\n"); break;
            case 5: std::swprintf(line, 96, L"    }\r\n"); break;
            case 6: std::swprintf(line, 96, L"    return Scale(a);\r\n"); break;
            case 7: std::swprintf(line, 96, L"}\r\n"); break;
            case 8: std::swprintf(line, 96, L"int table_%d[] = { 1, 2 };\r\n", block); break;
            default: std::swprintf(line, 96, L"\r\n"); break;
        }
        text += line;
    }
    return text;
}

struct TFigures {
    double MB = 0;
    int NodesOwn = 0, NodesBrace = 0;
    double FoldOwnMs = 0, FoldBraceMs = 0;
    double CollapseMs = 0, ExpandMs = 0;
    double PaintPlainMs = 0, PaintFoldedMs = 0;
    double CountMs = 0, ReplaceMs = 0;
    int Counted = 0, Replaced = 0;
};

double PaintMs(AdvMemo::TAdvMemo& memo, HDC dc) {
    constexpr int Repeats = 20;
    memo.PaintTo(dc);  // the syntax state up to the screen is scanned once, not measured
    const auto start = TClock::now();
    for (int i = 0; i < Repeats; ++i) memo.PaintTo(dc);
    return MillisecondsSince(start) / Repeats;
}

TFigures Run(int lineCount) {
    TFigures f;
    const std::wstring text = GenerateC(lineCount);
    f.MB = static_cast<double>(text.size()) / (1024.0 * 1024.0);  // characters, as a C file's bytes

    AdvMemo::TAdvMemo memo(nullptr);
    auto* styler = AdvmCSHS::CreateCMemoStyler(&memo);
    memo.SetSyntaxStyles(styler);
    memo.SetBounds(0, 0, 1000, 800);
    memo.Lines()->SetText(text);

    const ClassLib::TWindowDC screen;
    const ClassLib::TOffscreenBuffer buffer(screen.Handle(), memo.Width(), memo.Height());
    HDC dc = buffer.Handle();
    memo.PaintTo(dc);  // measures the font
    memo.SetTopLine(lineCount / 2);
    f.PaintPlainMs = PaintMs(memo, dc);

    // Enabling folding folds once; the timed runs fold the same text again.
    memo.CodeFolding().SetEnabled(true);
    auto start = TClock::now();
    memo.AutoCodeFold();
    f.FoldOwnMs = MillisecondsSince(start);
    f.NodesOwn = memo.CodeFoldingNodeCount();

    AdvMemo::TRegionDefinitions& regions = *styler->RegionDefinitions();
    regions.Clear();
    regions.AddRegion(L"{", L"{", L"}", AdvMemo::rtClosed);
    start = TClock::now();
    memo.AutoCodeFold();
    f.FoldBraceMs = MillisecondsSince(start);
    f.NodesBrace = memo.CodeFoldingNodeCount();

    memo.SetTopLine(0);
    start = TClock::now();
    memo.CollapseAllNodes();
    f.CollapseMs = MillisecondsSince(start);
    // Every function is one row now: a screen from the middle of the rows.
    memo.SetTopLine(memo.VisIndexToLineIndex(memo.LineIndexToVisIndex(lineCount - 1) / 2));
    f.PaintFoldedMs = PaintMs(memo, dc);
    start = TClock::now();
    memo.ExpandAllNodes();
    f.ExpandMs = MillisecondsSince(start);
    memo.CodeFolding().SetEnabled(false);

    memo.SetCursor(0, 0);
    start = TClock::now();
    f.Counted = memo.FindTextCount(L"scale", ClassLib::TFindOptions{ClassLib::frDown});
    f.CountMs = MillisecondsSince(start);

    memo.SetCursor(0, 0);
    start = TClock::now();
    f.Replaced = memo.FindAndReplace(L"Scale", L"Resize",
                                     ClassLib::TFindOptions{ClassLib::frDown, ClassLib::frReplaceAll, ClassLib::frMatchCase});
    f.ReplaceMs = MillisecondsSince(start);
    return f;
}

void Row(const char* what, double big, double small, const char* unit, const char* goal) {
    std::printf("  %-40s %10.2f %-5s %10.2f %-5s ratio %5.2f   goal %s\n", what, big, unit, small, unit,
                small > 0 ? big / small : 0.0, goal);
}

}  // namespace

int main() {
    std::printf("Fold, find and replace benchmark (figures at 1,000,000 lines, then at 250,000)\n");
    const TFigures big = Run(1000000);
    const TFigures small = Run(250000);
    std::printf("text: %.1f MB and %.1f MB; nodes with the C definitions %d and %d, with a brace definition %d and %d\n",
                big.MB, small.MB, big.NodesOwn, small.NodesOwn, big.NodesBrace, small.NodesBrace);
    Row("fold, C definitions: time", big.FoldOwnMs, small.FoldOwnMs, "ms", "");
    Row("fold, C definitions: speed", big.MB * 1000.0 / big.FoldOwnMs, small.MB * 1000.0 / small.FoldOwnMs, "MB/s",
        "at least 45 MB/s, stretch 105");
    Row("fold, brace definition: time", big.FoldBraceMs, small.FoldBraceMs, "ms", "");
    Row("fold, brace definition: speed", big.MB * 1000.0 / big.FoldBraceMs, small.MB * 1000.0 / small.FoldBraceMs,
        "MB/s", "at least 45 MB/s, stretch 105");
    Row("collapse all", big.CollapseMs, small.CollapseMs, "ms", "under 500 ms");
    Row("expand all", big.ExpandMs, small.ExpandMs, "ms", "under 500 ms");
    Row("one screen painted, folding off", big.PaintPlainMs, small.PaintPlainMs, "ms", "");
    Row("one screen painted, all collapsed", big.PaintFoldedMs, small.PaintFoldedMs, "ms",
        "within twice the unfolded screen (ratio near 1)");
    std::printf("  painted screen folded / unfolded: %.2f and %.2f (goal at most 2)\n",
                big.PaintFoldedMs / big.PaintPlainMs, small.PaintFoldedMs / small.PaintPlainMs);
    Row("count, case-insensitive", big.CountMs, small.CountMs, "ms", "under 1000 ms");
    Row("replace all", big.ReplaceMs, small.ReplaceMs, "ms", "under 2000 ms");
    std::printf("  matches counted %d and %d, replaced %d and %d (expected every tenth line)\n", big.Counted,
                small.Counted, big.Replaced, small.Replaced);
    return 0;
}
