#include "classlib/Seams.h"

#include <windows.h>
#include <shellapi.h>

namespace ClassLib {

namespace {

double SystemTimeToDays(const SYSTEMTIME& time) {
    // Days from 1899-12-30 to 1601-01-01 is -109205; FILETIME counts 100 ns from 1601.
    FILETIME file{};
    ::SystemTimeToFileTime(&time, &file);
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / (10000000.0 * 86400.0) - 109205.0;
}

}  // namespace

TSeams PlatformSeams() {
    TSeams seams;
    seams.ShowMessageBox = [](void* owner, const std::wstring& text, const std::wstring& caption,
                          unsigned flags) {
        return ::MessageBoxW(static_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
    };
    seams.ShellOpen = [](const std::wstring& target, const std::wstring& parameters) {
        const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
            nullptr, L"open", target.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
            nullptr, SW_SHOWNORMAL));
        return result > 32;
    };
    seams.StartProcess = [](const std::wstring& program, const std::wstring& parameters,
                            const std::wstring& directory) {
        std::wstring commandLine = L"\"" + program + L"\"";
        if (!parameters.empty()) commandLine += L" " + parameters;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.empty() ? nullptr : directory.c_str(), &startup, &process))
            return false;
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return true;
    };
    seams.RunAndWait = [](const std::wstring& commandLine, bool showWindow) {
        std::wstring line = commandLine;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(showWindow ? SW_SHOW : SW_HIDE);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                              &startup, &process))
            return -1;
        ::CloseHandle(process.hThread);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = DWORD(-1);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hProcess);
        return int(code);
    };
    seams.KeyState = [](int virtualKey) { return ::GetKeyState(virtualKey); };
    seams.TickCount = [] { return static_cast<std::uint32_t>(::GetTickCount()); };
    seams.Now = [] {
        SYSTEMTIME time;
        ::GetLocalTime(&time);
        return SystemTimeToDays(time);
    };
    seams.AnsiCodePage = [] { return unsigned(::GetACP()); };
    return seams;
}

TSeams& Seams() {
    static TSeams seams = PlatformSeams();
    return seams;
}

bool IsKeyDown(int virtualKey) {
    return (Seams().KeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace ClassLib
