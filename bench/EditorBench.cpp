// Loads a large generated C file into a memo, types into it, takes every edit back and saves it;
// prints time, memory and allocation figures beside their goals. Load is set against reading the
// same file and converting it to UTF-16 in the same run, a keystroke against moving the same
// line's tail by one character in place, so a busy machine moves both sides alike.
#include "editor/AdvMemo.h"

#include <windows.h>
#include <intrin.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

// Every allocation of the program passes here (the C++ runtime is linked in statically), so the
// keystroke loop can count what it asks of the heap.
namespace {
std::atomic<long long> AllocationCount{0};
}

void* operator new(std::size_t size) {
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

using TClock = std::chrono::steady_clock;

constexpr int Repeats = 5;  // load and its reference alternate; medians are quoted

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The processor's cycle counter, read around one short operation (the system's performance
// counter ticks too coarsely for it here); converted to nanoseconds against that counter.
long long Ticks() { return static_cast<long long>(__rdtsc()); }

double TicksToNanoseconds(long long ticks) {
    static const double nanosecondsPerTick = [] {
        LARGE_INTEGER frequency{}, start{}, now{};
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        const long long first = Ticks();
        do ::QueryPerformanceCounter(&now);
        while (now.QuadPart - start.QuadPart < frequency.QuadPart / 20);
        const double seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        return seconds * 1e9 / static_cast<double>(Ticks() - first);
    }();
    return static_cast<double>(ticks) * nanosecondsPerTick;
}

// Committed private memory of the process (the working set as a fallback where it is not reported).
double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0.0;
    return static_cast<double>(counters.PagefileUsage ? counters.PagefileUsage : counters.WorkingSetSize);
}

// About 50 characters a line, like generated command handlers; tabs included so they are expanded.
std::wstring WriteSampleFile(int lineCount, long long& bytes) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring name = std::wstring(dir) + L"editor_bench_" + std::to_wstring(::GetCurrentProcessId()) + L".c";
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

// The floor any load stands on: the whole file read and converted to UTF-16, nothing kept.
// Returns the characters made, so the work cannot be optimised away.
size_t ReadAndConvert(const std::wstring& name) {
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    const BOOL ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    if (!ok) return 0;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(read), text.data(), length);
    return text.size();
}

void Verdict(const char* what, double value, const char* unit, double limit) {
    std::printf("  %-44s %9.2f %-4s limit %8.2f  ratio to limit %.2f  %s\n", what, value, unit, limit, value / limit,
                value <= limit ? "within" : "OVER");
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

    AdvMemo::TAdvMemo memo;
    std::vector<double> referenceMs, loadMs;
    double memoryBytes = 0;
    for (int round = 0; round < Repeats; ++round) {
        auto start = TClock::now();
        const size_t characters = ReadAndConvert(file);
        referenceMs.push_back(MillisecondsSince(start));
        if (characters == 0) std::printf("reading the sample file failed\n");
        const double before = PrivateBytes();
        start = TClock::now();
        try {
            memo.LoadFromFile(file);
        } catch (const std::exception& e) {
            std::printf("load failed: %s\n", e.what());
            return 0;
        }
        loadMs.push_back(MillisecondsSince(start));
        if (round == 0) memoryBytes = PrivateBytes() - before;
    }
    const double reference = Median(referenceMs), load = Median(loadMs);
    std::printf("read and convert to UTF-16: %.0f ms; load into the memo: %.0f ms, %d lines (medians of %d)\n", reference,
                load, memo.Lines()->Count(), Repeats);
    std::printf("memory taken by the load: %.1f MB (%.0f bytes a line)\n", memoryBytes / (1024.0 * 1024.0),
                memoryBytes / lineCount);
    Verdict("load time / read and convert", load / reference, "x", 1.0);
    Verdict("private memory per file byte", memoryBytes / static_cast<double>(bytes), "B", 2.5);

    const std::wstring original = memo.Lines()->Text();

    // A keystroke in the middle of the file, in steady state: the caret goes to one of 1,000
    // lines around the middle and one character goes in, recorded as an undo step of its own
    // (the list is full, so the oldest step goes). One round over the lines first, so each
    // has been edited once and the undo list is full; then 10,000 keystrokes are counted and
    // timed one by one.
    constexpr int EditedLines = 1000, Keystrokes = 10000, Column = 20;
    const int firstEdited = lineCount / 2 - EditedLines / 2;
    for (int i = 0; i < EditedLines; ++i) {
        memo.SetCursor(Column, firstEdited + i);
        memo.InsertChar(L'x');
    }
    std::vector<double> keystrokeNs, memmoveNs;
    keystrokeNs.reserve(Keystrokes);
    memmoveNs.reserve(Keystrokes);
    const long long allocationsBefore = AllocationCount.load();
    for (int i = 0; i < Keystrokes; ++i) {
        memo.SetCursor(Column, firstEdited + i % EditedLines);
        const long long start = Ticks();
        memo.InsertChar(L'x');
        keystrokeNs.push_back(TicksToNanoseconds(Ticks() - start));
    }
    const long long keystrokeAllocations = AllocationCount.load() - allocationsBefore;
    // The floor: the same line's tail moved by one character in a buffer with room for it.
    std::wstring line = memo.Lines()->Strings(firstEdited);
    line.reserve(line.size() + Keystrokes + 1);
    for (int i = 0; i < Keystrokes; ++i) {
        const size_t length = line.size();
        line.push_back(L' ');
        const long long start = Ticks();
        std::memmove(line.data() + Column + 1, line.data() + Column, (length - Column) * sizeof(wchar_t));
        line[Column] = L'x';
        memmoveNs.push_back(TicksToNanoseconds(Ticks() - start));
        line.pop_back();
    }
    const double keystroke = Median(keystrokeNs), shift = Median(memmoveNs);
    std::printf("mid-file keystroke, steady state: median %.0f ns; moving the line's tail in place: median %.0f ns"
                " (%.1f x)\n",
                keystroke, shift, keystroke / shift);
    std::printf("  %-44s %9lld      limit %8d  %s\n", "heap allocations during 10,000 keystrokes", keystrokeAllocations, 0,
                keystrokeAllocations == 0 ? "within" : "OVER");
    while (memo.CanUndo()) memo.Undo();

    // The memo keeps at most 100 undo steps, so the inserts go in batches of 100 and each
    // batch is taken back whole: at the end every insert has been undone. Together with the
    // steady-state rounds above (undone only as far as the list reaches, so the text is
    // reloaded first) the text must then be the loaded one again.
    memo.LoadFromFile(file);
    std::mt19937 random(42);
    double typeMs = 0, undoMs = 0;
    int undone = 0;
    for (int batch = 0; batch < 100; ++batch) {
        auto start = TClock::now();
        for (int i = 0; i < 100; ++i) {
            const int row = static_cast<int>(random() % static_cast<unsigned>(lineCount));
            memo.SetCursor(static_cast<int>(random() % 20), row);
            memo.InsertChar(L'x');
        }
        typeMs += MillisecondsSince(start);
        start = TClock::now();
        while (memo.CanUndo()) {
            memo.Undo();
            ++undone;
        }
        undoMs += MillisecondsSince(start);
    }
    std::printf("10000 single-character inserts on random lines with undo recording: %.0f ms (%.2f us each)\n", typeMs,
                typeMs * 1000.0 / 10000);
    const bool restored = memo.Lines()->Text() == original;
    std::printf("undo of all of them (%d steps): %.0f ms; the text is %s\n", undone, undoMs,
                restored ? "restored exactly" : "NOT RESTORED (fault)");

    auto start = TClock::now();
    memo.SetCursor(10, lineCount / 2);
    const long long runAllocationsBefore = AllocationCount.load();
    for (int i = 0; i < 10000; ++i) memo.InsertChar(L'y');
    const double runMs = MillisecondsSince(start);
    std::printf("10000 characters typed in one place: %.0f ms (merged into %d undo steps, %lld heap allocations as the"
                " line and the step's text grow)\n",
                runMs, memo.UndoList().Count(), AllocationCount.load() - runAllocationsBefore);

    start = TClock::now();
    memo.SaveToFile(file);
    std::printf("save: %.0f ms\n", MillisecondsSince(start));
    ::DeleteFileW(file.c_str());
    return 0;
}
