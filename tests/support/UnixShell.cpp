#include "support/UnixShell.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace TestSupport {

std::string UnixPath(const std::wstring& windowsPath) {
    using TConvert = char*(CDECL*)(LPCWSTR);
    auto convert = reinterpret_cast<TConvert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* unix = convert(windowsPath.c_str());
    if (!unix) return {};
    std::string path(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

std::string ReadUnixFile(const std::string& unixPath) {
    std::ifstream in("Z:" + unixPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string RunShell(const std::string& command, const std::string& statusFile) {
    ::DeleteFileA(("Z:" + statusFile).c_str());
    const std::string script = "(" + command + "); echo $? > '" + statusFile + "'";
    std::wstring line = L"\"Z:\\bin\\sh\" -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return "cannot start the shell: " + std::to_string(::GetLastError());
    ::WaitForSingleObject(process.hProcess, 120000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // Wine: the handle may be signalled before the Unix child ends; wait for its status file too.
    std::string status;
    for (int i = 0; i < 1200 && status.empty(); ++i) {
        status = ReadUnixFile(statusFile);
        if (status.empty()) ::Sleep(100);
    }
    return status;
}

}  // namespace TestSupport
