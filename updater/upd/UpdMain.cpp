// The restart program: waits for the updated application to end, copies the components the
// update left in the download folder into the application's folder, and starts it again.
// Its command line is the updater's contract (see WUpdateRestart.h); it reads the raw line.
#include <windows.h>

#include <string>

#include "classlib/FileNames.h"
#include "classlib/Strings.h"
#include "updater/WUpdateRestart.h"

namespace {

using WUpdate::TRestartCommand;

std::wstring DocumentsFolder() { return ClassLib::KnownFolderPath(ClassLib::TKnownFolder::Documents); }

class TUpdLog {
public:
    explicit TUpdLog(bool enabled) {
        if (!enabled) return;
        const std::wstring settings = DocumentsFolder() + L"\\WUPDATE.INI";
        wchar_t name[MAX_PATH + 1] = {};
        ::GetPrivateProfileStringW(L"CONFIG", L"LOGFILENAME", L"", name, MAX_PATH, settings.c_str());
        FPath = name;
        if (!FPath.empty() && FPath.find_first_of(L"\\/:") == std::wstring::npos)
            FPath = DocumentsFolder() + L"\\" + FPath;
    }
    void Line(const std::wstring& text) const {
        if (FPath.empty()) return;
        HANDLE file = ::CreateFileW(FPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        const std::string bytes = ClassLib::UTF8Encode(L"upd: " + text + L"\r\n");
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
private:
    std::wstring FPath;
};

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The old program may hold its file a moment after its process ended: retry briefly.
bool CopyWithRetries(const std::wstring& source, const std::wstring& target) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (::CopyFileW(source.c_str(), target.c_str(), FALSE)) return true;
        ::Sleep(250);
    }
    return false;
}

int Run(const TRestartCommand& command, const TUpdLog& log) {
    if (HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, command.ProcessId)) {
        if (::WaitForSingleObject(process, 60000) != WAIT_OBJECT_0) log.Line(L"the application did not end in 60 s");
        ::CloseHandle(process);
    }
    const bool restart = command.Application != L"null";
    std::wstring targetFolder;
    if (restart) {
        targetFolder = FolderOf(command.Application);
    } else {
        wchar_t current[MAX_PATH + 1] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        targetFolder = current;
        if (!targetFolder.empty() && targetFolder.back() != L'\\') targetFolder += L'\\';
    }
    int result = 0;
    for (const std::wstring& component : WUpdate::SplitComponents(command.Components)) {
        // A name with a folder part (say "..\\x") would reach outside the program's folder.
        if (!WUpdate::IsPlainFileName(component)) {
            log.Line(L"refused the component \"" + component + L"\": not a plain file name");
            result = 1;
            continue;
        }
        const std::wstring source = command.Folder + component, target = targetFolder + component;
        if (CopyWithRetries(source, target)) {
            ::DeleteFileW(source.c_str());
            log.Line(L"installed " + target);
        } else {
            log.Line(L"cannot install " + target + L" (error " + std::to_wstring(::GetLastError()) + L")");
            result = 1;
        }
    }
    if (!restart) return result;
    std::wstring line = L"\"" + command.Application + L"\"";
    if (!command.Parameters.empty()) line += L" " + command.Parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          targetFolder.empty() ? nullptr : targetFolder.c_str(), &startup, &started)) {
        log.Line(L"cannot start " + line + L" (error " + std::to_wstring(::GetLastError()) + L")");
        return 1;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    log.Line(L"started " + line);
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    TRestartCommand command;
    if (!WUpdate::ParseRestartParameters(WUpdate::SkipProgramName(::GetCommandLineW()), command)) return 2;
    const TUpdLog log(command.Logging);
    log.Line(L"restart for process " + std::to_wstring(command.ProcessId));
    return Run(command, log);
}
