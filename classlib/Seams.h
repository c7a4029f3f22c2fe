#pragma once
// Replaceable doors to the outside world: message boxes, the shell's "open", process start,
// key state, the clock and the ANSI code page. Tests swap them so nothing waits for a person or opens a browser.
#include <cstdint>
#include <functional>
#include <string>

namespace ClassLib {

struct TSeams {
    // Returns the button pressed (IDOK, IDYES, ...). Owner is a window handle or null.
    std::function<int(void* owner, const std::wstring& text, const std::wstring& caption,
                      unsigned flags)> ShowMessageBox;
    // The shell's "open" verb on a file, folder or address; true when it was started.
    std::function<bool(const std::wstring& target, const std::wstring& parameters)> ShellOpen;
    // Starts a program with a command line; true when it was started.
    std::function<bool(const std::wstring& program, const std::wstring& parameters,
                       const std::wstring& directory)> StartProcess;
    // Runs a command line and waits for its end; its exit code, or -1 when it could not start.
    std::function<int(const std::wstring& commandLine, bool showWindow)> RunAndWait;
    // The platform's key-state word of a virtual key: high bit down, low bit toggled.
    std::function<short(int virtualKey)> KeyState;
    // Milliseconds since the system started (wraps after 49.7 days).
    std::function<std::uint32_t()> TickCount;
    // Local date and time as days since 1899-12-30 with the time as the fraction.
    std::function<double()> Now;
    // The system's ANSI code page (65001 where the system runs on UTF-8).
    std::function<unsigned()> AnsiCodePage;
};

// The process's seams; each starts out over the platform.
TSeams& Seams();
// The platform's own implementation of every seam.
TSeams PlatformSeams();

// True when the virtual key is held down now (through the key-state seam).
bool IsKeyDown(int virtualKey);

// Restores every seam at the end of a scope, so a test cannot leak its fakes.
class TSeamsScope {
public:
    TSeamsScope() : FSaved(Seams()) {}
    ~TSeamsScope() { Seams() = FSaved; }
    TSeamsScope(const TSeamsScope&) = delete;
    TSeamsScope& operator=(const TSeamsScope&) = delete;
private:
    TSeams FSaved;
};

}  // namespace ClassLib
