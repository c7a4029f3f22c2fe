// The SVG importer: parse speed, and the time of one 512x512 draw on both contexts of a
// generated 2 MB document (about 20,000 shapes) beside rsvg-convert's time for the same
// file in the same run (goals: canvas at most 2x, GDI+ at most 5x). Then a 2 MB style
// sheet and 30,000 references (goal: each under a second), and the test fixtures.
//   SvgBench.exe [fixture folder]   (default: the source tree's tests\graphics\svg)
//   SvgBench.exe --load             the style sheet and references figures only
#include "graphics/AdvGraphicsSVGEngine.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "classlib/XmlDocument.h"
#include "graphics/AdvGDIPStartup.h"
#include "support/SourceTree.h"
#include "support/UnixShell.h"

namespace {

using AdvTypes::RectF;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The best of `runs` timings, in seconds.
double Best(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        best = std::min(best, Since(start));
    }
    return best;
}

// Shapes, paths and groups in turn until the text holds about `bytes` characters.
std::wstring GeneratedDocument(std::size_t bytes, int& shapes) {
    std::wstring text = L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 512 512\">\n";
    shapes = 0;
    for (int i = 0; text.size() < bytes; ++i, ++shapes) {
        const std::wstring x = std::to_wstring(i % 500), y = std::to_wstring((i * 7) % 500);
        switch (i % 4) {
        case 0: text += L"<rect x=\"" + x + L"\" y=\"" + y + L"\" width=\"12\" height=\"8\" fill=\"#3060c0\"/>\n"; break;
        case 1: text += L"<circle cx=\"" + x + L"\" cy=\"" + y + L"\" r=\"6\" fill=\"orange\" stroke=\"black\"/>\n"; break;
        case 2:
            text += L"<path d=\"M" + x + L" " + y + L" c5 -10 10 -10 15 0 s10 10 15 0 a5 5 0 0 1 10 0 z\" fill=\"rgb(20,160,80)\"/>\n";
            break;
        default:
            text += L"<g transform=\"translate(" + x + L"," + y + L") rotate(15)\"><polygon points=\"0,0 10,0 5,8\" fill=\"purple\"/></g>\n";
            break;
        }
    }
    return text + L"</svg>\n";
}

// 2 MB of class rules and a rect using the last.
std::wstring StyleSheetDocument(int& rules) {
    std::wstring text = L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\"><style>";
    for (rules = 0; text.size() < 2 * 1024 * 1024; ++rules) text += L".c" + std::to_wstring(rules) + L"{fill:#102030}";
    return text + L"</style><rect class=\"c" + std::to_wstring(rules - 1) + L"\" width=\"5\" height=\"5\"/></svg>";
}

// 30,000 gradients each referring to the next, and as many rects filled with them.
std::wstring ReferencesDocument() {
    std::wstring text = L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                        L"viewBox=\"0 0 100 100\"><defs>";
    for (int i = 0; i < 30000; ++i)
        text += L"<linearGradient id=\"g" + std::to_wstring(i) + L"\" xlink:href=\"#g" + std::to_wstring((i + 1) % 30000) +
                L"\"/>";
    text += L"</defs>";
    for (int i = 0; i < 30000; ++i) text += L"<rect fill=\"url(#g" + std::to_wstring(i) + L")\"/>";
    return text + L"</svg>";
}

int CountElements(const AdvGraphicsSVGEngine::TAdvGraphicsSVGElementList& list) {
    int count = 0;
    for (const auto& e : list) count += 1 + (e->HasElements() ? CountElements(e->Elements()) : 0);
    return count;
}

double ParseSeconds(AdvGraphicsSVGEngine::TAdvGraphicsSVGImport& svg, const std::wstring& text) {
    // Once untimed: the first document starts the XML library.
    svg.LoadFromText(text);
    int rounds = 0;
    const Clock::time_point start = Clock::now();
    do {
        svg.LoadFromText(text);
        ++rounds;
    } while (Since(start) < 0.5);
    return Since(start) / rounds;
}

double DrawSeconds(AdvGraphicsSVGEngine::TAdvGraphicsSVGImport& svg, bool native, int runs) {
    ClassLib::TBitmap bitmap(512, 512, ClassLib::pf32bit);
    svg.Draw(bitmap.Canvas(), RectF(0, 0, 512, 512), native);   // untimed: fonts and GDI+ start
    return Best(runs, [&] { svg.Draw(bitmap.Canvas(), RectF(0, 0, 512, 512), native); });
}

// rsvg-convert's best time for the file at 512x512, in seconds, measured on the Linux side
// around the program itself; 0 when it cannot be run.
double ReferenceSeconds(const std::wstring& svgFile, int runs) {
    const std::string svg = TestSupport::UnixPath(svgFile);
    const std::string png = TestSupport::UnixPath(ClassLib::GetTempDir() + L"svgbench-reference.png");
    const std::string times = TestSupport::UnixPath(ClassLib::GetTempDir() + L"svgbench-reference.txt");
    const std::string status = TestSupport::UnixPath(ClassLib::GetTempDir() + L"svgbench-reference.status");
    if (svg.empty() || png.empty()) return 0;
    std::string command = ": > '" + times + "'";
    for (int i = 0; i < runs; ++i)
        command += "; s=$(date +%s%N); rsvg-convert -w 512 -h 512 -o '" + png + "' '" + svg +
                   "' || exit 1; e=$(date +%s%N); echo $(( (e - s) / 1000 )) >> '" + times + "'";
    if (TestSupport::RunShell(command, status) != "0\n") return 0;
    double best = 0;
    const std::string text = TestSupport::ReadUnixFile(times);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const double seconds = std::atof(text.substr(at, end - at).c_str()) / 1e6;
        if (seconds > 0 && (best == 0 || seconds < best)) best = seconds;
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return best;
}

void WriteUtf8(const std::wstring& fileName, const std::wstring& text) {
    const ClassLib::AnsiString utf8 = ClassLib::UTF8Encode(text);
    ClassLib::TFileStream file(fileName, ClassLib::fmCreate);
    file.WriteBuffer(utf8.data(), int(utf8.size()));
}

void Fixture(const std::wstring& name, const std::wstring& text) {
    AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
    const double parse = ParseSeconds(svg, text);
    std::printf("%-22ls %8.1f KB  parse %7.2f MB/s  canvas %8.2f ms  GDI+ %8.2f ms\n", name.c_str(),
                double(text.size()) / 1024, double(text.size()) / parse / 1e6, DrawSeconds(svg, false, 5) * 1000,
                DrawSeconds(svg, true, 5) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    // The XML document is a COM object; the program's start-up does this for its windows.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct TComScope {
        ~TComScope() { ::CoUninitialize(); }
    } com;
    try {
        // Large documents load at about the speed fresh memory is touched: the element's size counts.
        std::printf("SVG element: %u bytes\n", unsigned(sizeof(AdvGraphicsSVGEngine::TAdvGraphicsSVGElement)));
        int rules = 0;
        const std::wstring sheet = StyleSheetDocument(rules);
        const std::wstring references = ReferencesDocument();
        AdvGraphicsSVGEngine::TAdvGraphicsSVGImport other;
        for (const auto& [what, text] : {std::pair{"2 MB style sheet (" + std::to_string(rules) + " class rules)", &sheet},
                                         {"30,000 gradients referring to each other, 30,000 rects using them", &references}}) {
            const double seconds = Best(3, [&] { other.LoadFromText(*text); });
            // The platform's XML parse alone: the part of the load the importer cannot shorten.
            ClassLib::TXmlDocument xml;
            const double parse = Best(3, [&] { xml.LoadFromText(*text); });
            xml.Clear();
            std::printf("%s: load %.1f ms (goal < 1000 ms: %s), of which XML parse %.1f ms\n", what.c_str(),
                        seconds * 1000, seconds < 1 ? "met" : "not met", parse * 1000);
        }

        if (argc > 1 && std::string(argv[1]) == "--load") return 0;

        int shapes = 0;
        const std::wstring document = GeneratedDocument(2 * 1024 * 1024, shapes);
        const std::wstring file = ClassLib::GetTempDir() + L"svgbench-generated.svg";
        WriteUtf8(file, document);
        AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
        const double parse = ParseSeconds(svg, document);
        std::printf("generated document: %.1f KB, %d shapes, %d elements\n", double(document.size()) / 1024, shapes,
                    CountElements(svg.Elements()));
        std::printf("  load          %8.1f ms  (%.2f MB/s)\n", parse * 1000, double(document.size()) / parse / 1e6);
        const double reference = ReferenceSeconds(file, 3);
        const double canvas = DrawSeconds(svg, false, 3);
        const double gdiPlus = DrawSeconds(svg, true, 3);
        if (reference > 0)
            std::printf("  rsvg-convert  %8.1f ms  (the same file at 512 x 512, best of 3)\n", reference * 1000);
        else
            std::printf("  rsvg-convert could not be run: run scripts/setup.sh\n");
        for (const auto& [name, seconds, limit] : {std::tuple{"canvas draw", canvas, 2.0}, {"GDI+ draw", gdiPlus, 5.0}}) {
            std::printf("  %-12s  %8.1f ms", name, seconds * 1000);
            if (reference > 0)
                std::printf("  %5.2fx rsvg-convert  (goal <= %.0fx: %s)", seconds / reference, limit,
                            seconds / reference <= limit ? "met" : "not met");
            std::printf("\n");
        }
        ::DeleteFileW(file.c_str());

        const std::filesystem::path folder = argc > 1 ? std::filesystem::path(argv[1])
                                                      : std::filesystem::path(TestSupport::SourceTreePath(L"tests\\graphics\\svg"));
        if (!std::filesystem::exists(folder)) {
            std::printf("fixtures not found at %ls: give their folder as the argument\n", folder.wstring().c_str());
            return 0;
        }
        std::printf("fixtures, 512 x 512:\n");
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != L".svg") continue;
            ClassLib::TMemoryStream bytes;
            bytes.LoadFromFile(entry.path().wstring());
            const ClassLib::AnsiString utf8(bytes.Bytes().begin(), bytes.Bytes().end());
            Fixture(entry.path().filename().wstring(), ClassLib::UTF8Decode(utf8));
        }
    } catch (const ClassLib::Exception& e) {
        std::printf("failed: %ls\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
