// Feeds mutated inputs to every parser of outside data and prints, per parser, how many
// were tried, how many raised the class library's errors and how long the slowest took.
//   Robustness.exe [inputs per parser = 10000] [seed = 1] [--parser NAME] [--source DIR] [--from INDEX]
// (--from starts at that input of the seed's sequence, so one long run can be shared out.)
//   Robustness.exe 0 SEED --dump NAME INDEX    writes that parser's input number INDEX to a file
//   Robustness.exe --replay NAME FILE          times that parser on the file and prints its error
// A crash, or an input that runs longer than a few seconds (a hang counts as a crash),
// ends the program: the input is written beside the program as
// robustness-<parser>-<seed>-<index>.bin and named on standard error, so it can become a
// test row.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench/Robustness.h"

namespace {

constexpr double HangSeconds = 5;

// The input being parsed, kept where the crash filter and the watchdog can reach it.
struct TCurrent {
    const Robustness::TParser* Parser = nullptr;
    std::uint64_t Index = 0;
    const Robustness::TBytes* Input = nullptr;
    std::atomic<std::int64_t> StartedMs{0};  // 0 while no input is being parsed
};
TCurrent Current;
std::uint64_t RunSeed = 1;
std::wstring OutputFolder;

std::int64_t NowMs() { return std::int64_t(::GetTickCount64()); }

// Writes the current input to a file with plain system calls: this may run after a crash.
void SaveCurrentInput(const char* what) {
    if (!Current.Parser || !Current.Input) return;
    std::wstring name(Current.Parser->Name, Current.Parser->Name + std::strlen(Current.Parser->Name));
    for (wchar_t& c : name)
        if (c == L' ') c = L'_';
    const std::wstring file = OutputFolder + L"robustness-" + name + L"-" + std::to_wstring(RunSeed) + L"-" +
                              std::to_wstring(Current.Index) + L".bin";
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(handle, Current.Input->data(), DWORD(Current.Input->size()), &written, nullptr);
        ::CloseHandle(handle);
    }
    std::fprintf(stderr, "%s in parser \"%s\" at input %llu (seed %llu); the input is in %ls\n", what,
                 Current.Parser->Name, static_cast<unsigned long long>(Current.Index),
                 static_cast<unsigned long long>(RunSeed), file.c_str());
    std::fflush(stderr);
}

// Reports the crash and lets the process end as it would have: nothing is swallowed.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    char what[64];
    std::snprintf(what, sizeof what, "CRASH (exception 0x%08lX)", exception->ExceptionRecord->ExceptionCode);
    SaveCurrentInput(what);
    return EXCEPTION_CONTINUE_SEARCH;
}

void Watchdog() {
    while (true) {
        ::Sleep(100);
        const std::int64_t started = Current.StartedMs.load();
        if (started && NowMs() - started > std::int64_t(HangSeconds * 1000)) {
            char what[64];
            std::snprintf(what, sizeof what, "HANG (over %.0f s)", HangSeconds);
            SaveCurrentInput(what);
            ::ExitProcess(3);
        }
    }
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

// The checkout: three folders above build/<arch>/bench/Robustness.exe.
std::wstring SourceTreeOfProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    for (int up = 0; up < 4; ++up) {
        const std::size_t slash = folder.find_last_of(L"\\/");
        if (slash == std::wstring::npos) return {};
        folder.resize(slash);
    }
    return folder;
}

std::wstring FolderOfProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

int main(int argc, char** argv) {
    ::OleInitialize(nullptr);
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    std::uint64_t count = 10000;
    std::string only;
    std::wstring sourceTree = SourceTreeOfProgram();
    int positional = 0;
    const char* dumpParser = nullptr;
    const char* replayParser = nullptr;
    std::wstring replayFile;
    std::uint64_t dumpIndex = 0;
    std::uint64_t first = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--parser") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else if (std::strcmp(argv[i], "--dump") == 0 && i + 2 < argc) {
            dumpParser = argv[++i];
            dumpIndex = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--replay") == 0 && i + 2 < argc) {
            replayParser = argv[++i];
            replayFile = Widen(argv[++i]);
        } else if (std::strcmp(argv[i], "--from") == 0 && i + 1 < argc) {
            first = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--source") == 0 && i + 1 < argc) {
            sourceTree = Widen(argv[++i]);
        } else if (positional == 0) {
            count = std::strtoull(argv[i], nullptr, 10);
            ++positional;
        } else {
            RunSeed = std::strtoull(argv[i], nullptr, 10);
            ++positional;
        }
    }
    OutputFolder = FolderOfProgram();
    ::SetUnhandledExceptionFilter(ReportCrash);
    std::thread(Watchdog).detach();

    const std::vector<Robustness::TParser> parsers = Robustness::MakeParsers(sourceTree, ClassLib::GetTempDir());
    if (replayParser) {
        const Robustness::TBytes input = Robustness::FileBytes(replayFile);
        for (const Robustness::TParser& parser : parsers) {
            if (std::strcmp(parser.Name, replayParser) != 0) continue;
            const std::int64_t start = NowMs();
            std::string outcome = "read without an error";
            try {
                parser.Parse(input);
            } catch (const std::exception& e) {
                outcome = e.what();
            }
            std::printf("%s, %zu bytes, %lld ms: %s\n", parser.Name, input.size(),
                        static_cast<long long>(NowMs() - start), outcome.c_str());
        }
        return 0;
    }
    if (dumpParser) {
        for (const Robustness::TParser& parser : parsers) {
            if (std::strcmp(parser.Name, dumpParser) != 0) continue;
            const Robustness::TBytes input = Robustness::InputAt(parser, RunSeed, dumpIndex);
            Current.Parser = &parser;
            Current.Index = dumpIndex;
            Current.Input = &input;
            SaveCurrentInput("Dump");
        }
        return 0;
    }
    std::printf("inputs per parser %llu, seed %llu, from input %llu\n", static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(RunSeed), static_cast<unsigned long long>(first));
    std::printf("%-24s %10s %10s %10s %8s %8s %12s %10s %10s\n", "parser", "inputs", "accepted", "errors", "others",
                "crashes", "longest ms", "(input #)", "inputs/s");
    std::fflush(stdout);
    std::int64_t lastProgress = NowMs();
    const auto watch = [&lastProgress](const Robustness::TParser& parser, std::uint64_t index,
                                       const Robustness::TBytes& input) {
        // A line a minute on long runs, so a run stopped early still tells how far it got.
        if (NowMs() - lastProgress > 60000) {
            lastProgress = NowMs();
            std::printf("  ... %s: %llu inputs done\n", parser.Name, static_cast<unsigned long long>(index));
            std::fflush(stdout);
        }
        Current.Parser = &parser;
        Current.Index = index;
        Current.Input = &input;
        Current.StartedMs = NowMs();
    };
    for (const Robustness::TParser& parser : parsers) {
        if (!only.empty() && only != parser.Name) continue;
        const std::int64_t start = NowMs();
        const Robustness::TFigures figures = Robustness::RunParser(parser, RunSeed, count, watch, first);
        Current.StartedMs = 0;
        const double seconds = double(NowMs() - start) / 1000;
        std::printf("%-24s %10llu %10llu %10llu %8llu %8d %12.1f %10llu %10.0f\n", parser.Name,
                    static_cast<unsigned long long>(figures.Inputs), static_cast<unsigned long long>(figures.Accepted),
                    static_cast<unsigned long long>(figures.Errors), static_cast<unsigned long long>(figures.Others), 0,
                    figures.LongestMs, static_cast<unsigned long long>(figures.LongestInput),
                    seconds > 0 ? double(figures.Inputs) / seconds : 0.0);
        if (figures.Others) std::printf("  first other exception: %s\n", figures.FirstOther.c_str());
        std::fflush(stdout);
    }
    ::OleUninitialize();
    return 0;
}
