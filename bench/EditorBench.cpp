// Loads a large generated C file into a memo and types into it; prints time and memory figures.
#include "editor/AdvMemo.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Committed private memory of the process (the working set as a fallback where it is not reported).
double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0.0;
    const SIZE_T bytes = counters.PagefileUsage ? counters.PagefileUsage : counters.WorkingSetSize;
    return bytes / (1024.0 * 1024.0);
}

// About 50 characters a line, like generated command handlers; tabs included so they are expanded.
std::wstring WriteSampleFile(int lineCount, long long& bytes) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring name = std::wstring(dir) + L"editor_bench.c";
    FILE* file = _wfopen(name.c_str(), L"wb");
    if (!file) return L"";
    bytes = 0;
    char line[128];
    for (int i = 0; i < lineCount; ++i) {
        const int length = (i % 4 == 0) ? std::snprintf(line, sizeof line, "static void at_cmd_handler_%07d(uint8_t uart_no)\r\n", i)
                                        : std::snprintf(line, sizeof line, "\tvx_uart_puts(uart_no, \"OK %07d\"); /* reply */\r\n", i);
        std::fwrite(line, 1, static_cast<size_t>(length), file);
        bytes += length;
    }
    std::fclose(file);
    return name;
}

}  // namespace

int main() {
    const int lineCount = 1000000;
    long long bytes = 0;
    std::printf("Editor benchmark\n");
    const std::wstring file = WriteSampleFile(lineCount, bytes);
    if (file.empty()) {
        std::printf("could not write the sample file\n");
        return 0;
    }
    std::printf("sample file: %d lines, %.1f MB\n", lineCount, bytes / (1024.0 * 1024.0));

    const double before = PrivateMegabytes();
    AdvMemo::TAdvMemo memo;
    auto start = TClock::now();
    try {
        memo.LoadFromFile(file);
    } catch (const std::exception& e) {
        std::printf("load failed: %s\n", e.what());
        return 0;
    }
    const double loadMs = MillisecondsSince(start);
    const double after = PrivateMegabytes();
    std::printf("load: %.0f ms, %d lines in the memo\n", loadMs, memo.Lines()->Count());
    std::printf("memory: %.1f MB private after load (%.1f MB for the text, %.0f bytes a line)\n", after, after - before,
                (after - before) * 1024.0 * 1024.0 / lineCount);

    std::mt19937 random(42);
    start = TClock::now();
    for (int i = 0; i < 10000; ++i) {
        const int line = static_cast<int>(random() % static_cast<unsigned>(lineCount));
        memo.SetCursor(static_cast<int>(random() % 20), line);
        memo.InsertChar(L'x');
    }
    const double typeMs = MillisecondsSince(start);
    std::printf("10000 single-character inserts with undo recording: %.0f ms (%.1f us each), %d undo steps kept\n", typeMs,
                typeMs * 1000.0 / 10000, memo.UndoList().Count());

    start = TClock::now();
    memo.SetCursor(10, lineCount / 2);
    for (int i = 0; i < 10000; ++i) memo.InsertChar(L'y');
    const double runMs = MillisecondsSince(start);
    std::printf("10000 characters typed in one place: %.0f ms (merged into %d undo steps)\n", runMs, memo.UndoList().Count());

    start = TClock::now();
    memo.SaveToFile(file);
    std::printf("save: %.0f ms\n", MillisecondsSince(start));
    ::DeleteFileW(file.c_str());
    return 0;
}
