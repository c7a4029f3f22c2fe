// The SVG importer: parse speed (MB/s and elements/s) and milliseconds per 512x512 draw on
// both contexts, for a generated 2 MB document and for the test fixtures. Figures only.
#include "graphics/AdvGraphicsSVGEngine.h"

#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvGDIPStartup.h"

namespace {

using AdvTypes::RectF;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Shapes, paths and groups in turn until the text holds about `bytes` characters.
std::wstring GeneratedDocument(std::size_t bytes) {
    std::wstring text = L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 512 512\">\n";
    for (int i = 0; text.size() < bytes; ++i) {
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

int CountElements(const AdvGraphicsSVGEngine::TAdvGraphicsSVGElementList& list) {
    int count = 0;
    for (const auto& e : list) count += 1 + (e->HasElements() ? CountElements(e->Elements()) : 0);
    return count;
}

void Measure(const std::wstring& name, const std::wstring& text) {
    AdvGraphicsSVGEngine::TAdvGraphicsSVGImport svg;
    // Once untimed: the first document loads and starts the XML library, which a 2 MB
    // document parsed once or twice in the timed half second would count as parsing.
    svg.LoadFromText(text);
    int rounds = 0;
    Clock::time_point start = Clock::now();
    do {
        svg.LoadFromText(text);
        ++rounds;
    } while (Since(start) < 0.5);
    const double parse = Since(start) / rounds;
    const int elements = CountElements(svg.Elements());
    std::printf("%-16ls %8.1f KB  parse %7.2f MB/s %10.0f elements/s", name.c_str(), double(text.size()) / 1024,
                double(text.size()) / parse / 1e6, elements / parse);
    for (bool native : {false, true}) {
        ClassLib::TBitmap bitmap(512, 512, ClassLib::pf32bit);
        rounds = 0;
        start = Clock::now();
        do {
            svg.Draw(bitmap.Canvas(), RectF(0, 0, 512, 512), native);
            ++rounds;
        } while (Since(start) < 0.5);
        std::printf("  %s %8.2f ms/draw", native ? "GDI+" : "canvas", Since(start) * 1000 / rounds);
    }
    std::printf("\n");
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
        Measure(L"generated 2 MB", GeneratedDocument(2 * 1024 * 1024));
        // The fixtures' folder may be given; by default the one of the source tree beside the build.
        const std::filesystem::path folder = argc > 1 ? std::filesystem::path(argv[1])
                                                      : std::filesystem::path(L"..\\..\\..\\tests\\graphics\\svg");
        if (std::filesystem::exists(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                if (entry.path().extension() != L".svg") continue;
                ClassLib::TMemoryStream bytes;
                bytes.LoadFromFile(entry.path().wstring());
                const ClassLib::AnsiString utf8(bytes.Bytes().begin(), bytes.Bytes().end());
                Measure(entry.path().filename().wstring(), ClassLib::UTF8Decode(utf8));
            }
        } else {
            std::printf("fixtures not found at %ls: give their folder as the argument\n", folder.wstring().c_str());
        }
    } catch (const ClassLib::Exception& e) {
        std::printf("failed: %ls\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
