// The Windows side of the end-to-end update test (tests/e2e/update_e2e.py), run under the
// same wineserver as the program it watches. Windows are found by their exact caption.
//   e2e_driver wait CAPTION SECONDS        until a visible window has CAPTION; prints its
//                                          process id, or fails after SECONDS
//   e2e_driver gone CAPTION SECONDS        until no window has CAPTION
//   e2e_driver close CAPTION SECONDS       asks the window to close (WM_CLOSE), as its close
//                                          box does, and waits until it is gone
//   e2e_driver hash CAPTION X Y W H        a hash of that part of the window's client area as
//                                          the screen shows it (Y below 0: from the bottom)
//   e2e_driver rect CAPTION                the client area's place on the screen: "X Y W H"
//   e2e_driver probe SECONDS CAPTION PROGRAM [ARGUMENTS]
//       starts PROGRAM (in its own folder), waits for its window, then asks the window
//       (WM_NULL) over and over until SECONDS after the start and prints when the window
//       appeared and the longest time it took to answer; then closes it
// Exit codes: 0 done, 1 not within the time, 2 bad arguments.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

ULONGLONG Now() { return ::GetTickCount64(); }

HWND FindVisible(const std::wstring& caption) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, caption.c_str()); window;
         window = ::FindWindowExW(nullptr, window, nullptr, caption.c_str()))
        if (::IsWindowVisible(window)) return window;
    return nullptr;
}

template <typename TCondition>
bool WaitFor(double seconds, TCondition condition) {
    const ULONGLONG end = Now() + ULONGLONG(seconds * 1000);
    for (;;) {
        if (condition()) return true;
        if (Now() >= end) return false;
        ::Sleep(50);
    }
}

bool ClientOnScreen(HWND window, RECT& box) {
    if (!::GetClientRect(window, &box)) return false;
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    ::OffsetRect(&box, origin.x, origin.y);
    return true;
}

// FNV-1a over the pixels, read from the screen as a 32-bit top-down bitmap.
int Hash(const std::wstring& caption, int x, int y, int width, int height) {
    const HWND window = FindVisible(caption);
    RECT client;
    if (!window || !ClientOnScreen(window, client) || width <= 0 || height <= 0) return 1;
    if (y < 0) y += client.bottom - client.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, client.left + x, client.top + y, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    const int lines = ::GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != height) return 1;
    uint64_t hash = 14695981039346656037ull;
    for (uint32_t pixel : pixels) {
        for (int shift = 0; shift < 24; shift += 8) {  // the fourth byte is not part of the picture
            hash ^= (pixel >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    std::printf("%016llx\n", static_cast<unsigned long long>(hash));
    return 0;
}

struct TFoundWindow {
    DWORD ProcessId;
    const wchar_t* Caption;
    HWND Window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<TFoundWindow*>(data);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t text[256] = {};
    // The window's text as stored: WM_GETTEXT would wait for a window that does not answer.
    ::InternalGetWindowText(window, text, int(std::size(text)));
    if (processId == found->ProcessId && ::IsWindowVisible(window) && std::wcscmp(text, found->Caption) == 0) {
        found->Window = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring Quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

int Probe(double seconds, const std::wstring& caption, const std::vector<std::wstring>& command) {
    std::wstring line;
    for (const std::wstring& argument : command) line += (line.empty() ? L"" : L" ") + Quoted(argument);
    std::wstring folder = command[0];
    folder.erase(folder.find_last_of(L"\\/") + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const ULONGLONG start = Now();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "probe: cannot start the program (error %lu)\n", ::GetLastError());
        return 1;
    }
    TFoundWindow found{process.dwProcessId, caption.c_str(), nullptr};
    const bool appeared = WaitFor(30, [&] {
        ::EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
        return found.Window != nullptr;
    });
    int result = 1;
    if (appeared) {
        const ULONGLONG shown = Now() - start;
        ULONGLONG longest = 0, longestAt = 0;
        bool answered = true;
        while (Now() - start < ULONGLONG(seconds * 1000)) {
            const ULONGLONG asked = Now();
            DWORD_PTR answer = 0;
            // Waits up to the end of the probe, so that a long block is measured whole.
            const ULONGLONG left = ULONGLONG(seconds * 1000) - std::min(ULONGLONG(seconds * 1000), asked - start);
            answered = ::SendMessageTimeoutW(found.Window, WM_NULL, 0, 0, SMTO_NORMAL, UINT(std::max(left, 1000ull)),
                                             &answer) != 0;
            const ULONGLONG took = Now() - asked;
            if (took > longest) {
                longest = took;
                longestAt = asked - start;
            }
            if (!answered) break;
            ::Sleep(10);
        }
        std::printf("window shown after %llu ms; longest wait for an answer %llu ms, from %llu ms after the start%s\n",
                    shown, longest, longestAt, answered ? "" : " (still no answer when the probe ended)");
        ::PostMessageW(found.Window, WM_CLOSE, 0, 0);
        result = 0;
    } else {
        std::fprintf(stderr, "probe: no window \"%ls\" within 30 s\n", caption.c_str());
    }
    if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "probe: the program did not end after its window was closed; stopped\n");
        ::TerminateProcess(process.hProcess, 1);
        result = 1;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    const auto number = [&](size_t i) { return std::wcstod(args[i].c_str(), nullptr); };
    if (args.size() == 3 && args[0] == L"wait") {
        HWND window = nullptr;
        if (!WaitFor(number(2), [&] { return (window = FindVisible(args[1])) != nullptr; })) return 1;
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        std::printf("%lu\n", processId);
        return 0;
    }
    if (args.size() == 3 && args[0] == L"gone") return WaitFor(number(2), [&] { return !FindVisible(args[1]); }) ? 0 : 1;
    if (args.size() == 3 && args[0] == L"close") {
        if (HWND window = FindVisible(args[1])) ::PostMessageW(window, WM_CLOSE, 0, 0);
        return WaitFor(number(2), [&] { return !FindVisible(args[1]); }) ? 0 : 1;
    }
    if (args.size() == 6 && args[0] == L"hash")
        return Hash(args[1], int(number(2)), int(number(3)), int(number(4)), int(number(5)));
    if (args.size() == 2 && args[0] == L"rect") {
        const HWND window = FindVisible(args[1]);
        RECT client;
        if (!window || !ClientOnScreen(window, client)) return 1;
        std::printf("%ld %ld %ld %ld\n", client.left, client.top, client.right - client.left, client.bottom - client.top);
        return 0;
    }
    if (args.size() >= 4 && args[0] == L"probe")
        return Probe(number(1), args[2], std::vector<std::wstring>(args.begin() + 3, args.end()));
    std::fprintf(stderr, "usage: see the head of tests/e2e/E2EDriver.cpp\n");
    return 2;
}
