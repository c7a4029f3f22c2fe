// The update log, the update history in the registry, the diagnostics at the start of a
// run, and the hand-over to the restart program.
#include "updater/WUpdate.h"

#include "classlib/DateTimeFormat.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Registry.h"
#include "classlib/Seams.h"
#include "classlib/Strings.h"
#include "classlib/Application.h"
#include "classlib/VersionInfo.h"
#include "updater/WUpdateRestart.h"
#include "updater/cabfdi.h"

namespace WUpdate {

using namespace ClassLib;

namespace {

// The log file of every updater of the process: the last name any of them was given.
std::wstring& UnitLogFileName() {
    static std::wstring name = L"WUPDATE.LOG";
    return name;
}

// Writes the executable's raw-data resource `name` to a file; false when it is missing.
bool WriteResource(const wchar_t* name, const std::wstring& target) {
    HRSRC found = ::FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));   // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return false;
    const DWORD size = ::SizeofResource(nullptr, found);
    HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, data, size, &written, nullptr) && written == size;
    ::CloseHandle(file);
    if (!ok) ::DeleteFileW(target.c_str());
    return ok;
}

std::wstring DocumentsFolder() { return KnownFolderPath(TKnownFolder::Documents); }

// Opens Key\Section of the update history; false when there is none to open.
bool OpenHistory(TRegistry& registry, const TLastURLEntry& entry, bool forWriting) {
    registry.SetRootKey(entry.RegRoot() == lurLOCALMACHINE ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    const std::wstring path = ExcludeTrailingPathDelimiter(entry.Key()) + L"\\" + entry.Section();
    return forWriting ? registry.OpenKey(path, true) : registry.OpenKeyReadOnly(path);
}

std::wstring ReadHistoryValue(const TLastURLEntry& entry, const std::wstring& name) {
    TRegistry registry(KEY_READ);
    try {
        if (OpenHistory(registry, entry, false) && registry.ValueExists(name)) return registry.ReadString(name);
    } catch (const ERegistryException&) {
        // A value of another type reads as missing, like a key we may not open.
    }
    return {};
}

}  // namespace

void TWebUpdate::SetLogFileName(const std::wstring& value) {
    FLogFileName = value;
    UnitLogFileName() = value;
}

std::wstring TWebUpdate::FormatLogLine(TDateTime time, wchar_t dateSeparator, wchar_t timeSeparator, int ident,
                                       const std::wstring& message, int statusCode, int errCode) {
    return FormatDateTimeWith(L"dd/mm/yyyy hh:nn:ss", time, dateSeparator, timeSeparator) + L" : [" +
           std::to_wstring(ident) + L"] " + message + L" (Status:" + std::to_wstring(statusCode) + L") (Error:" +
           std::to_wstring(errCode) + L")";
}

std::wstring TWebUpdate::ResolveLogPath(const std::wstring& name) {
    std::wstring path = name;
    if (path.find_first_of(L"\\/:") == std::wstring::npos) path = DocumentsFolder() + L"\\" + path;
    path = StringReplace(path, L"{APP}", IncludeTrailingPathDelimiter(ExtractFileDir(ExecutablePath())),
                         rfReplaceAll | rfIgnoreCase);
    // "{APP}\x" gives a doubled backslash; a leading pair is a network path and stays.
    const bool network = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
    path = (network ? L"\\" : L"") + StringReplace(path.substr(network ? 1 : 0), L"\\\\", L"\\", rfReplaceAll);
    return path;
}

void TWebUpdate::AddToLog(const std::wstring& s) {
    const std::wstring path = ResolveLogPath(UnitLogFileName());
    const std::wstring folder = ExtractFileDir(path);
    if (!folder.empty() && !DirectoryExists(folder) && !ForceDirectories(folder)) return;
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;   // a line that cannot be written is dropped
    const std::string line = UTF8Encode(s + L"\r\n");
    DWORD written = 0;
    ::WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

// ---- update history

std::wstring TWebUpdate::URLGet() {
    const TLastURLEntry& entry = *FLastURLEntry;
    if (entry.Key().empty() || entry.Section().empty() || !entry.Save()) return {};
    return ReadHistoryValue(entry, L"LastURL");
}

void TWebUpdate::URLPut(const std::wstring& url) {
    const TLastURLEntry& entry = *FLastURLEntry;
    if (entry.Key().empty() || entry.Section().empty() || !entry.Save()) return;
    TRegistry registry;
    try {
        if (OpenHistory(registry, entry, true)) registry.WriteString(L"LastURL", url);
    } catch (const ERegistryException&) {
        // The history is a convenience: an update must not fail for it.
    }
}

TDateTime TWebUpdate::UpdateDateGet() {
    TDateTime result = EncodeDate(1980, 1, 1);
    const TLastURLEntry& entry = *FLastURLEntry;
    if (!entry.Key().empty() && !entry.Section().empty()) {
        const TFormatSettings& locale = FormatSettings();
        TDateTime part = 0;
        if (TryStrToDateFormat(ReadHistoryValue(entry, L"LastDate"), L"dd/mm/yyyy", locale.DateSeparator, part)) {
            result = part;
            if (TryStrToTimeFormat(ReadHistoryValue(entry, L"LastTime"), L"hh:nn:ss", locale.TimeSeparator, part))
                result += part;
        }
        FHasUpdateHistory = true;
    } else if (!FLocalVersionFile.empty()) {
        double stamp = 0;
        if (FileTimeStamp(FLocalVersionFile, stamp)) result = stamp;
    }
    return result;
}

void TWebUpdate::UpdateDatePut(TDateTime dt) {
    const TLastURLEntry& entry = *FLastURLEntry;
    if (entry.Key().empty() || entry.Section().empty() || !entry.Save()) return;
    const TFormatSettings& locale = FormatSettings();
    TRegistry registry;
    try {
        if (!OpenHistory(registry, entry, true)) return;
        registry.WriteString(L"LastDate", FormatDateTimeWith(L"dd/mm/yyyy", dt, locale.DateSeparator, locale.TimeSeparator));
        if (dt - Trunc(dt) != 0)
            registry.WriteString(L"LastTime", FormatDateTimeWith(L"hh:nn:ss", dt, locale.DateSeparator, locale.TimeSeparator));
    } catch (const ERegistryException&) {
    }
}

// ---- diagnostics

std::wstring TWebUpdate::GetOSVersion() {
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto rtlGetVersion = reinterpret_cast<TRtlGetVersion>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    // The true version: the compatibility layer reports 6.2 to programs without a manifest entry.
    if (!rtlGetVersion || rtlGetVersion(&info) != 0 || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return L"Unknown";
    const bool workstation = info.wProductType == VER_NT_WORKSTATION;
    const auto pick = [workstation](const wchar_t* desktop, const wchar_t* server) { return workstation ? desktop : server; };
    const DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (major <= 4) return L"Windows NT";
    if (major == 5) return minor == 0 ? L"Windows 2000" : minor == 1 ? L"Windows XP" : L"Windows 2003";
    if (major == 6) {
        switch (minor) {
            case 0: return pick(L"Windows Vista", L"Windows Server 2008");
            case 1: return pick(L"Windows 7", L"Windows Server 2008R2");
            case 2: return pick(L"Windows 8", L"Windows Server 2012");
            case 3: return pick(L"Windows 8.1", L"Windows Server 2012R2");
            case 4: return pick(L"Windows 10", L"Windows Server Preview");
            default: return L"Unknown";
        }
    }
    if (major == 10 && minor == 0) return pick(L"Windows 10", L"Windows Server Preview");
    return L"Unknown";
}

std::wstring TWebUpdate::GetIEVersion() {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(L"\\Software\\Microsoft\\Internet Explorer\\Version Vector")) return L"(not found)";
    try {
        return registry.ValueExists(L"IE") ? registry.ReadString(L"IE") : std::wstring();
    } catch (const ERegistryException&) {
        return {};
    }
}

std::wstring TWebUpdate::GetIDE() { return {}; }

std::wstring TWebUpdate::GetInstalledIDEs() {
    // Development environments whose presence helps to read a log sent in by a developer.
    static const struct {
        const wchar_t* Tag;
        const wchar_t* Key;
    } environments[] = {
        {L"VS15", L"SOFTWARE\\Microsoft\\VisualStudio\\15.0"},
        {L"VS16", L"SOFTWARE\\Microsoft\\VisualStudio\\16.0"},
        {L"VS17", L"SOFTWARE\\Microsoft\\VisualStudio\\17.0"},
        {L"CB", L"SOFTWARE\\CodeBlocks"},
        {L"QtC", L"SOFTWARE\\QtProject\\QtCreator"},
    };
    std::wstring tags;
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    for (const auto& environment : environments)
        if (registry.KeyExists(environment.Key)) tags += environment.Tag;
    return tags;
}

// ---- restart

void TWebUpdate::DoRestart() {
    DoStatus(959, GetCurrentDir(), 0, 0);
    bool cancel = false;
    DoProgressCancel(cancel);
    if (cancel) return;
    bool allow = true;
    if (OnAppRestart)
        OnAppRestart(this, allow);
    else if (!FAppSilentRestart)
        allow = MessageBox(StatusText(911), MB_YESNO | MB_ICONQUESTION) == IDYES;
    if (!allow) return;
    const std::wstring helper = DownloadFolder() + L"upd.exe";
    if (!ExtractRestartHelper() || !FileExists(helper)) {
        // Without its restart program the application must go on: ending it would lose the update.
        DoStatus(950, helper, 0, 0);
        return;
    }
    ::WritePrivateProfileStringW(L"CONFIG", L"LOGFILENAME", UnitLogFileName().c_str(),
                                 ResolveLogPath(L"WUPDATE.INI").c_str());
    TRestartCommand command;
    command.ProcessId = ::GetCurrentProcessId();
    command.Logging = Logging();
    if (!AutoRestart())
        command.Application = L"null";
    else
        command.Application = FAppName.find(L':') != std::wstring::npos
                                  ? FAppName
                                  : IncludeTrailingPathDelimiter(GetCurrentDir()) + FAppName;
    command.Parameters = FAppParams;
    command.Folder = UseWinTempDir() ? WinTempDir() : IncludeTrailingPathDelimiter(TempDirectory());
    command.Components = FAppComps;
    const std::wstring parameters = BuildRestartParameters(command);
    DoStatus(958, parameters, 0, 0);
    if (!Seams().ShellOpen(helper, parameters)) {
        DoStatus(950, helper, 0, 0);
        return;
    }
    if (OnAppDoClose)
        OnAppDoClose(this);
    else if (ClassLib::Application)
        ClassLib::Application->Terminate();
}

bool TWebUpdate::ExtractRestartHelper() {
    const std::wstring cabinet = DownloadFolder() + L"wusetup.cab";
    if (!WriteResource(L"UPD", cabinet)) return false;
    const int result = cabfdi::ExtractCabinet(cabinet, DownloadFolder());
    ::DeleteFileW(cabinet.c_str());
    return result == 0;
}

std::wstring TWebUpdate::PatcherPath() const {
    return UseWinTempDir() ? WinTempDir() + L"patcher.exe" : IncludeTrailingPathDelimiter(GetCurrentDir()) + L"patcher.exe";
}

void TWebUpdate::ExtractPatcher() { WriteResource(L"UTIL", PatcherPath()); }

}  // namespace WUpdate
