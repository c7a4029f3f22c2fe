// Times the generator and the read-back at the scale of a large project:
// 10,000 commands generated, the 10,000-block file read back and generated again.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/Unit1Generator.h"
#include "classlib/FileNames.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"

namespace {

constexpr int CommandCount = 10000;

double MillisecondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
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

    atcmds.Lines()->Clear();
    for (int i = 0; i < CommandCount; ++i) atcmds.Lines()->Add(CommandLine(i));

    const double generate = MillisecondsOf([&] { generator.GenerateSources(); });
    const double save = MillisecondsOf([&] { memoC.Lines()->SaveToFile(path); });
    const double readBack = MillisecondsOf([&] {
        atcmds.Lines()->Clear();
        generator.LoadUserBlocks(path);
    });
    const double regenerate = MillisecondsOf([&] { generator.GenerateSources(); });
    generator.Options.AutoCorrectHeaders = true;
    const double regenerateCorrected = MillisecondsOf([&] { generator.GenerateSources(); });
    ::DeleteFileW(path.c_str());

    std::printf("commands                          %d\n", CommandCount);
    std::printf("C source lines                    %d\n", memoC.Lines()->Count());
    std::printf("blocks read back                  %d\n", generator.atFunList->Count());
    std::printf("generate (new blocks)             %9.1f ms\n", generate);
    std::printf("save C source                     %9.1f ms\n", save);
    std::printf("read back                         %9.1f ms\n", readBack);
    std::printf("generate (stored blocks)          %9.1f ms\n", regenerate);
    std::printf("generate (stored, auto-correct)   %9.1f ms\n", regenerateCorrected);
    return 0;
}
