// Times the generator and the read-back at the scale of a large project:
// 10,000 commands generated, the 10,000-block file read back and generated again.
// Generating and saving are set against writing the same output bytes to a file in the
// same run, the floor under both; repeated runs are quoted as medians.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Unit1Generator.h"
#include "classlib/FileNames.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"

namespace {

constexpr int CommandCount = 10000;
constexpr int Repeats = 5;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Writes bytes to a new file in one call; the time of this is the reference.
void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// The generated output as the bytes a save writes (the generator's text is plain ASCII).
std::string OutputBytes(const ClassLib::TStrings& lines) {
    const std::wstring text = lines.Text();
    return std::string(text.begin(), text.end());
}

void Verdict(const char* what, double value, double limit) {
    std::printf("  %-36s %7.2f x   limit %5.1f x  ratio to limit %.2f  %s\n", what, value, limit, value / limit,
                value <= limit ? "within" : "OVER");
}

std::wstring CommandLine(int i) {
    const std::wstring n = std::to_wstring(i);
    switch (i % 4) {
        case 0: return L"AT+CMD" + n + L"=<a>,<b>";
        case 1: return L"!AT+SET" + n + L"=<v>";
        case 2: return L"ATQ" + n + L" - query number " + n;
        default: return L"ATX" + n;
    }
}

}  // namespace

int main() {
    AdvMemo::TAdvMemo atcmds, memoC, memoH;
    ClassLib::TStringList memo2;
    Unit1::TAtGenerator generator;
    generator.SetPanes(atcmds.Lines(), memoC.Lines(), memoH.Lines(), &memo2);
    const std::wstring path = ClassLib::GetTempDir() + L"atgen_bench_" + std::to_wstring(::GetCurrentProcessId()) + L".c";
    const auto fillList = [&] {
        atcmds.Lines()->Clear();
        for (int i = 0; i < CommandCount; ++i) atcmds.Lines()->Add(CommandLine(i));
    };

    // The first run of a process meets memory the process never touched; later runs (the
    // user regenerating after an edit) find what the earlier ones left. Both are shown.
    fillList();
    const double first = MillisecondsOf([&] { generator.GenerateSources(); });
    std::vector<double> runs;
    for (int i = 0; i < Repeats; ++i) {
        fillList();
        runs.push_back(MillisecondsOf([&] { generator.GenerateSources(); }));
    }
    const double generate = Median(runs);
    std::vector<double> saves;
    for (int i = 0; i < Repeats; ++i) saves.push_back(MillisecondsOf([&] { memoC.Lines()->SaveToFile(path); }));
    const double save = Median(saves);
    const double readBack = MillisecondsOf([&] {
        atcmds.Lines()->Clear();
        generator.LoadUserBlocks(path);
    });
    const double regenerate = MillisecondsOf([&] { generator.GenerateSources(); });
    generator.Options.AutoCorrectHeaders = true;
    const double regenerateCorrected = MillisecondsOf([&] { generator.GenerateSources(); });
    generator.Options.AutoCorrectHeaders = false;

    // The reference: the C source and the header as they are saved, written with one call each.
    const std::string cBytes = OutputBytes(*memoC.Lines()), hBytes = OutputBytes(*memoH.Lines());
    // The fastest of several writes: the file system's own hiccups would otherwise flatter the ratios.
    const auto fastest = [](const auto& work) {
        double best = 1e300;
        for (int i = 0; i < 7; ++i) best = std::min(best, MillisecondsOf(work));
        return best;
    };
    const double write = fastest([&] {
        WriteBytes(path, cBytes);
        WriteBytes(path + L".h", hBytes);
    });
    const double cWrite = fastest([&] { WriteBytes(path, cBytes); });
    ::DeleteFileW(path.c_str());
    ::DeleteFileW((path + L".h").c_str());

    std::printf("commands                          %d\n", CommandCount);
    std::printf("C source lines                    %d\n", memoC.Lines()->Count());
    std::printf("blocks read back                  %d\n", generator.atFunList->Count());
    std::printf("generate, first run of the process %8.1f ms\n", first);
    std::printf("generate (new blocks)             %9.1f ms (median of %d)\n", generate, Repeats);
    std::printf("save C source                     %9.1f ms (median of %d)\n", save, Repeats);
    std::printf("read back                         %9.1f ms\n", readBack);
    std::printf("generate (stored blocks)          %9.1f ms\n", regenerate);
    std::printf("generate (stored, auto-correct)   %9.1f ms\n", regenerateCorrected);
    std::printf("write the output bytes (%.1f MB)   %9.1f ms (C source alone %.1f ms, fastest of 7)\n",
                (cBytes.size() + hBytes.size()) / (1024.0 * 1024.0), write, cWrite);
    Verdict("generate / write the output", generate / write, 10.0);
    Verdict("generate / write (the stretch)", generate / write, 3.0);
    Verdict("first run / write the output", first / write, 10.0);
    Verdict("save C source / write it", save / cWrite, 2.0);
    return 0;
}
