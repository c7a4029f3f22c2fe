// Code folding, find and replace on a generated C file of 1,000,000 lines (about 20 MB) and again
// of 250,000: folding speed in MB/s with the C styler's own region definitions and with a brace
// definition (every block folds), collapse-all and expand-all with each, one painted screen with
// folding against the same screen without, a case-insensitive count, a replace-all of every tenth
// line's match with folding off and with every block folded, and a fold of braces nested as deep
// as a tenth of the lines. Each figure is printed with its goal, and the ratio of the two sizes
// shows whether the work stays linear (near 4).
#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvmCSHS.h"

#include "classlib/Dialogs.h"
#include "classlib/GdiScopes.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Ten-line blocks: a function with a nested block, both comment kinds, braces that open and close
// on one line, and "scale" once (the find's match every tenth line); a "#region" pair every 1,000 lines.
// About 20 characters a line, as a C file's bytes.
std::wstring GenerateC(int lineCount) {
    std::wstring text;
    text.reserve(static_cast<size_t>(lineCount) * 24);
    wchar_t line[96];
    for (int i = 0; i < lineCount; ++i) {
        const int block = i / 10;
        if (i % 1000 == 0) std::swprintf(line, 96, L"#region part %d\r\n", i / 1000);
        else if (i % 1000 == 999) std::swprintf(line, 96, L"#endregion\r\n");
        else switch (i % 10) {
            case 0: std::swprintf(line, 96, L"/* handler %d of the jump table */\r\n", block); break;
            case 1: std::swprintf(line, 96, L"static int handler_%d(int a)\r\n", block); break;
            case 2: std::swprintf(line, 96, L"{\r\n"); break;
            case 3: std::swprintf(line, 96, L"    if (a > 0) {\r\n"); break;
            case 4: std::swprintf(line, 96, L"        a = a * 2; // twice\r\n"); break;
            case 5: std::swprintf(line, 96, L"    }\r\n"); break;
            case 6: std::swprintf(line, 96, L"    return Scale(a);\r\n"); break;
            case 7: std::swprintf(line, 96, L"}\r\n"); break;
            case 8: std::swprintf(line, 96, L"int table_%d[] = { 1, 2 };\r\n", block); break;
            default: std::swprintf(line, 96, L"// end of this handler\r\n"); break;
        }
        text += line;
    }
    return text;
}

struct TFigures {
    double MB = 0;
    int NodesOwn = 0, NodesBrace = 0, NodesNested = 0;
    double FoldOwnMs = 0, FoldBraceMs = 0, FoldNestedMs = 0;
    double CollapseOwnMs = 0, ExpandOwnMs = 0, CollapseBraceMs = 0, ExpandBraceMs = 0;
    double PaintPlainMs = 0, PaintFoldedMs = 0;
    double CountMs = 0, ReplaceOffMs = 0, ReplaceOnMs = 0;
    int Counted = 0, ReplacedOff = 0, ReplacedOn = 0;
};

double PaintMs(AdvMemo::TAdvMemo& memo, HDC dc) {
    constexpr int Repeats = 20;
    memo.PaintTo(dc);  // the syntax state up to the screen is scanned once, not measured
    const auto start = TClock::now();
    for (int i = 0; i < Repeats; ++i) memo.PaintTo(dc);
    return MillisecondsSince(start) / Repeats;
}

template <typename TWork>
double TimeMs(TWork&& work) {
    const auto start = TClock::now();
    work();
    return MillisecondsSince(start);
}

void UseBraceRegions(AdvMemo::TAdvCustomMemoStyler& styler) {
    AdvMemo::TRegionDefinitions& regions = *styler.RegionDefinitions();
    regions.Clear();
    regions.AddRegion(L"{", L"{", L"}", AdvMemo::rtClosed);
}

// `depth` lines of "{" and as many of "}": every block encloses all the later ones.
double FoldNestedMs(int depth, int& nodes) {
    std::wstring text;
    text.reserve(static_cast<size_t>(depth) * 6);
    for (int i = 0; i < depth; ++i) text += L"{\r\n";
    for (int i = 0; i < depth; ++i) text += L"}\r\n";
    AdvMemo::TAdvMemo memo(nullptr);
    auto* styler = AdvmCSHS::CreateCMemoStyler(&memo);
    UseBraceRegions(*styler);
    memo.SetSyntaxStyles(styler);
    memo.Lines()->SetText(text);
    memo.CodeFolding().SetEnabled(true);  // folds once, untimed
    const double ms = TimeMs([&] { memo.AutoCodeFold(); });
    nodes = memo.CodeFoldingNodeCount();
    return ms;
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
    f.FoldOwnMs = TimeMs([&] { memo.AutoCodeFold(); });
    f.NodesOwn = memo.CodeFoldingNodeCount();
    memo.SetTopLine(0);
    f.CollapseOwnMs = TimeMs([&] { memo.CollapseAllNodes(); });
    f.ExpandOwnMs = TimeMs([&] { memo.ExpandAllNodes(); });

    UseBraceRegions(*styler);
    f.FoldBraceMs = TimeMs([&] { memo.AutoCodeFold(); });
    f.NodesBrace = memo.CodeFoldingNodeCount();

    memo.SetTopLine(0);
    f.CollapseBraceMs = TimeMs([&] { memo.CollapseAllNodes(); });
    // Every function is one row now: a screen from the middle of the rows.
    memo.SetTopLine(memo.VisIndexToLineIndex(memo.LineIndexToVisIndex(lineCount - 1) / 2));
    f.PaintFoldedMs = PaintMs(memo, dc);
    f.ExpandBraceMs = TimeMs([&] { memo.ExpandAllNodes(); });
    memo.CodeFolding().SetEnabled(false);

    memo.SetCursor(0, 0);
    f.CountMs = TimeMs([&] { f.Counted = memo.FindTextCount(L"scale", ClassLib::TFindOptions{ClassLib::frDown}); });

    const ClassLib::TFindOptions replaceAll{ClassLib::frDown, ClassLib::frReplaceAll, ClassLib::frMatchCase};
    memo.SetCursor(0, 0);
    f.ReplaceOffMs = TimeMs([&] { f.ReplacedOff = memo.FindAndReplace(L"Scale", L"Resize", replaceAll); });

    // The same replacements back, with every block folded: each match lies in a collapsed node.
    memo.CodeFolding().SetEnabled(true);
    memo.CollapseAllNodes();
    memo.SetCursor(0, 0);
    f.ReplaceOnMs = TimeMs([&] { f.ReplacedOn = memo.FindAndReplace(L"Resize", L"Scale", replaceAll); });

    f.FoldNestedMs = FoldNestedMs(lineCount / 10, f.NodesNested);
    return f;
}

void Row(const char* what, double big, double small, const char* unit, const char* goal) {
    std::printf("  %-40s %10.2f %-5s %10.2f %-5s ratio %5.2f   goal %s\n", what, big, unit, small, unit,
                small > 0 ? big / small : 0.0, goal);
}

}  // namespace

// FoldFindBench [LINES]: the larger size in lines (1,000,000 when not given); the smaller is a quarter.
int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::max(std::atoi(argv[1]), 40) : 1000000;
    std::printf("Fold, find and replace benchmark (figures at %d lines, then at %d)\n", lines, lines / 4);
    const TFigures big = Run(lines);
    const TFigures small = Run(lines / 4);
    std::printf("text: %.1f MB and %.1f MB; nodes with the C definitions %d and %d, with a brace definition %d and %d\n",
                big.MB, small.MB, big.NodesOwn, small.NodesOwn, big.NodesBrace, small.NodesBrace);
    Row("fold, C definitions: time", big.FoldOwnMs, small.FoldOwnMs, "ms", "");
    Row("fold, C definitions: speed", big.MB * 1000.0 / big.FoldOwnMs, small.MB * 1000.0 / small.FoldOwnMs, "MB/s",
        "at least 45 MB/s, stretch 105");
    Row("fold, brace definition: time", big.FoldBraceMs, small.FoldBraceMs, "ms", "");
    Row("fold, brace definition: speed", big.MB * 1000.0 / big.FoldBraceMs, small.MB * 1000.0 / small.FoldBraceMs,
        "MB/s", "at least 45 MB/s, stretch 105");
    Row("collapse all, C definitions", big.CollapseOwnMs, small.CollapseOwnMs, "ms", "under 500 ms");
    Row("expand all, C definitions", big.ExpandOwnMs, small.ExpandOwnMs, "ms", "under 500 ms");
    Row("collapse all, brace definition", big.CollapseBraceMs, small.CollapseBraceMs, "ms", "under 500 ms");
    Row("expand all, brace definition", big.ExpandBraceMs, small.ExpandBraceMs, "ms", "under 500 ms");
    Row("one screen painted, folding off", big.PaintPlainMs, small.PaintPlainMs, "ms", "");
    Row("one screen painted, all collapsed", big.PaintFoldedMs, small.PaintFoldedMs, "ms",
        "within twice the unfolded screen (ratio near 1)");
    std::printf("  painted screen folded / unfolded: %.2f and %.2f (goal at most 2)\n",
                big.PaintFoldedMs / big.PaintPlainMs, small.PaintFoldedMs / small.PaintPlainMs);
    Row("count, case-insensitive", big.CountMs, small.CountMs, "ms", "under 1000 ms");
    Row("replace all, folding off", big.ReplaceOffMs, small.ReplaceOffMs, "ms", "under 2000 ms");
    Row("replace all, every block collapsed", big.ReplaceOnMs, small.ReplaceOnMs, "ms",
        "about the time with folding off");
    std::printf("  replace all with folding on / off: %.2f and %.2f (goal near 1)\n", big.ReplaceOnMs / big.ReplaceOffMs,
                small.ReplaceOnMs / small.ReplaceOffMs);
    std::printf("  matches counted %d and %d, replaced %d and %d off, %d and %d on (expected every tenth line)\n",
                big.Counted, small.Counted, big.ReplacedOff, small.ReplacedOff, big.ReplacedOn, small.ReplacedOn);
    Row("fold of nested braces", big.FoldNestedMs, small.FoldNestedMs, "ms", "linear (ratio near 4)");
    std::printf("  nested blocks folded: %d and %d\n", big.NodesNested, small.NodesNested);
    return 0;
}
