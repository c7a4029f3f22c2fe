// The files of an update: path prefixes, reading and filtering the list, and downloading
// each file and putting it into place.
#include "updater/WUpdate.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/MemIniFile.h"
#include "classlib/Seams.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/VersionInfo.h"
#include "updater/WUpdateExtract.h"
#include "updater/WUpdateRestart.h"
#include "updater/cabfdi.h"

namespace WUpdate {

using namespace ClassLib;

namespace {

std::wstring WindowsFolder(bool system) {
    wchar_t path[MAX_PATH + 1] = {};
    const UINT length = system ? ::GetSystemDirectoryW(path, MAX_PATH) : ::GetWindowsDirectoryW(path, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

long long ReadSize(const TMemIniFile& ini, const std::wstring& section, const std::wstring& key) {
    int64_t size = 0;
    if (!TryStrToInt64(ini.ReadString(section, key, L""), size)) return 0;
    return std::clamp<long long>(size, 0, TFileList::MaxFileSize);
}

void TWebUpdate::ConvertPrefix(const std::wstring& prefix, std::wstring& s) {
    if (prefix == L"WIN") s = WindowsFolder(false);
    else if (prefix == L"SYS") s = WindowsFolder(true);
    else if (prefix == L"SYSWOW64") s = WindowsFolder(false) + L"\\SysWOW64";
    else if (prefix == L"APP") s = ExtractFileDir(ExecutablePath());
    else if (prefix == L"TMP") s = WinTempDir();
    else if (prefix == L"DOC") s = KnownFolderPath(TKnownFolder::Documents);
    else if (prefix == L"PF") {
        const DWORD length = ::GetEnvironmentVariableW(L"ProgramFiles", nullptr, 0);
        std::wstring value(length, L'\0');
        if (length > 0) value.resize(::GetEnvironmentVariableW(L"ProgramFiles", value.data(), length));
        s = value.c_str();
    } else if (prefix == L"LAD") s = KnownFolderPath(TKnownFolder::LocalAppData);
    else if (prefix == L"ADR") {
        s = KnownFolderPath(TKnownFolder::RoamingAppData);
        if (s.empty()) throw Exception(L"Could not find Application Data folder location.");
    } else if (prefix == L"APPDATA") s = KnownFolderPath(TKnownFolder::CommonAppData);
    // A folder keeps no final "\" except a drive root, which becomes "C:\."; a name we
    // do not know becomes "." (the current folder).
    if (s.empty()) {
        s = L".";
        return;
    }
    if (s.back() != L'\\') s += L'\\';
    if (s.size() > 3 && s[1] == L':') s.pop_back();
    else s += L'.';
}

std::wstring TWebUpdate::ExpandPathPrefixes(const std::wstring& path) {
    std::wstring s = path;
    FireEvent(OnConvertPrefix, this, s);
    size_t start = std::wstring::npos;
    int replacements = 0;
    for (size_t i = 0; i < s.size();) {
        if (s[i] == L'{' && start == std::wstring::npos) {
            start = i;
        } else if (s[i] == L'}' && start != std::wstring::npos) {
            std::wstring folder;
            ConvertPrefix(UpperCase(s.substr(start + 1, i - start - 1)), folder);
            const size_t open = start;
            start = std::wstring::npos;
            // Bounded: a folder whose name holds braces must not expand without end.
            if (!folder.empty() && ++replacements <= 64) {
                s.replace(open, i - open + 1, folder);
                i = open;
                continue;
            }
        }
        ++i;
    }
    return s;
}

int TWebUpdate::GetFileDetails() {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    FFileList->Clear();
    // Checked before anything is made: a count far beyond the sections the file holds
    // would otherwise be an entry each (2,000,000,000 of them took all memory).
    if (const std::wstring fault = ControlFileFault(*ini); !fault.empty()) {
        DoStatus(981, fault, 11, 12);
        return 0;
    }
    const int count = ini->ReadInteger(L"files", L"count", 0);
    if (count > 0) DoStatus(943, L"", 3, 0);
    for (int n = 1; n <= count; ++n) {
        const std::wstring section = L"file" + std::to_wstring(n);
        TFileDescription* d = FFileList->Add();
        d->Compressed = ini->ReadInteger(section, L"compressed", 0) != 0;
        d->NewCheckSum = ini->ReadInteger(section, L"newchecksum", -1);
        d->NewSize = ReadSize(*ini, section, L"newsize");
        d->URL = ExpandPathPrefixes(ini->ReadString(section, L"url", L""));
        d->TargetDir = ExpandPathPrefixes(ini->ReadString(section, L"targetdir", L""));
        if (!d->TargetDir.empty()) d->TargetDir = IncludeTrailingPathDelimiter(d->TargetDir);
        d->LocalVersion = ExpandPathPrefixes(ini->ReadString(section, L"localversion", L""));
        d->NewVersion = ini->ReadString(section, L"newversion", L"");
        d->Description = ini->ReadString(section, L"descr", L"");
        d->NewCustomVer = ini->ReadString(section, L"customversion", L"");
        d->FileSize = ReadSize(*ini, section, L"filesize");
        d->NewDate = ini->ReadString(section, L"date", L"");
        d->NewTime = ini->ReadString(section, L"time", L"");
        d->Mandatory = ini->ReadInteger(section, L"mandatory", 0) == 1;
        d->Preselect = ini->ReadInteger(section, L"preselect", 1) == 1;
        d->Hidden = ini->ReadInteger(section, L"hidden", 0) == 1;
    }
    return count;
}

int TWebUpdate::ProcessFileDetails() {
    for (int i = 0; i < FFileList->Count();) {
        TFileDescription* d = FFileList->Items(i);
        DoStatus(971, (HideURLInLogFile() ? URLFileName(d->URL) : d->URL) + L"[" + d->LocalVersion + L",nv=" +
                          d->NewVersion + L",nd=" + d->NewDate + L",ns=" + std::to_wstring(d->NewSize) + L",nc=" +
                          std::to_wstring(d->NewCheckSum) + L"]",
                 0, 0);
        bool keep = true;
        if (!d->LocalVersion.empty() && !d->NewDate.empty()) {
            // Judged by date alone, whatever the versions say.
            double installed = 0;
            if (FileTimeStamp(d->LocalVersion, installed) && installed >= ParseDateTime(d->NewDate, d->NewTime))
                keep = false;
        } else {
            std::wstring newVersion = d->NewVersion, localVersion = d->LocalVersion;
            if (!CompareVersion(newVersion, localVersion, d->NewSize, d->NewCheckSum)) {
                DoStatus(930, newVersion + L" removed from update list", 0, 0);
                keep = false;
            } else if (OnFileVersionCheck && !d->NewCustomVer.empty()) {
                bool isNew = true;
                OnFileVersionCheck(this, d->NewCustomVer, localVersion, isNew);
                keep = isNew;
            }
        }
        if (keep)
            ++i;
        else
            FFileList->Delete(i);
    }
    if (OnGetFileList) {
        TStringList list;
        for (int i = 0; i < FFileList->Count(); ++i) list.Add(FFileList->Items(i)->Description);
        OnGetFileList(this, &list);
        // Line i stands for entry i; the handler empties the lines of the files it drops.
        for (int i = std::min(FFileList->Count(), list.Count()) - 1; i >= 0; --i) {
            if (list[i].empty() && !FFileList->Items(i)->Mandatory) {
                FFileList->Delete(i);
                list.Delete(i);
            }
        }
    }
    return FFileList->Count() == 0 ? -1 : 0;
}

int TWebUpdate::GetFileUpdates() {
    const int count = FFileList->Count();
    TWebUpdateUpdate mode = UpdateUpdate();
    int result = 0;
    for (int i = 1; i <= count && i <= FFileList->Count(); ++i) {
        TFileDescription* d = FFileList->Items(i - 1);
        bool download = true;
        if (mode == wuuPromptAll)
            download = MessageBox(StatusText(909) + URLtoFile(d->URL), MB_YESNO | MB_ICONQUESTION) == IDYES;
        else if (mode == wuuPromptOnce)
            download = MessageBox(StatusText(910), MB_YESNO | MB_ICONQUESTION) == IDYES;
        if (!download) {
            if (mode == wuuPromptOnce) break;
            continue;
        }
        std::wstring url = d->URL;
        const std::wstring name = URLtoFile(url);
        FFileList->ActiveItem = i - 1;
        FireEvent(OnBeforeFileDownload, this, i, d->Description, url);
        if (!d->TargetDir.empty() && !DirectoryExists(d->TargetDir)) ForceDirectories(d->TargetDir);
        // A component goes where the restart program is told to find it, whatever UseWinTempDir says.
        const std::wstring folder = UseWinTempDir() || IsComponent(FAppComps, name) ? WinTempDir() : d->TargetDir;
        if (FProgressForm) FProgressForm->Show();
        const bool arrived = URLGetFile(FHintConnect, url, folder, false);
        if (FProgressForm) FProgressForm->Hide();
        if (!arrived) {
            result = -1;
            DoStatus(946, url, 2, 9);
            FAppUpdate = false;
        } else if (IsComponent(FAppComps, name)) {
            // The restart program installs application components; they stay where they are.
            FAppCompsIncluded = true;
            DoStatus(962, name, 0, 0);
        } else if (!PlaceDownloaded(*d, folder, name)) {
            // Not in place is not done: the run must not report success.
            result = -1;
            FAppUpdate = false;
        }
        if (mode == wuuPromptOnce) mode = wuuSilent;
        if (FCancelled) break;
    }
    return result;
}

bool TWebUpdate::PlaceDownloaded(const TFileDescription& d, const std::wstring& folder, const std::wstring& name) {
    const std::wstring extension = UpperCase(ExtractFileExt(name));
    const bool archive = extension == L".CAB" || extension == L".PAT" || extension == L".ZIP";
    const std::wstring target = d.TargetDir + name;
    std::wstring where = folder + name;
    if (!archive && UseWinTempDir() && !d.TargetDir.empty() && target != where) {
        if (!PutInPlace(where, target, false)) return false;
        where = target;
    }
    if (extension == L".PAT") return !ApplyPatch() || d.LocalVersion.empty() || RunPatcher(where, d.LocalVersion);
    if (!d.Compressed) return true;
    if (!archive && (ExtractCAB() || ExtractZIP())) {
        // Expanded into a new file first; the compressed one goes only once that worked.
        if (LZExpandFile(where).empty()) {
            DoStatus(947, where, 8, 0);
            return false;
        }
        return true;
    }
    if ((extension == L".CAB" && ExtractCAB()) || (extension == L".ZIP" && ExtractZIP()))
        return Unpack(where, d.TargetDir);
    return true;
}

bool TWebUpdate::Unpack(const std::wstring& archive, const std::wstring& folder) {
    const bool cabinet = UpperCase(ExtractFileExt(archive)) == L".CAB";
    DoStatus(965, archive, 0, 0);
    if ((cabinet ? cabfdi::ExtractCabinet(archive, folder) : ExtractZipFile(archive, folder)) != 0) {
        // The archive stays where it is, so the user can still get at its files.
        DoStatus(947, archive, cabinet ? 8 : 21, 0);
        return false;
    }
    if (!KeepIntermediateFiles()) ::DeleteFileW(archive.c_str());
    return true;
}

namespace {

// The small window shown while the patcher runs: the system's copy-files animation and a
// message. It lives exactly as long as the wait, and creating it never fails the patch.
class TPatcherAnimation {
public:
    TPatcherAnimation(const std::wstring& caption, const std::wstring& message) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_ANIMATE_CLASS};
        ::InitCommonControlsEx(&controls);
        constexpr int Width = 300, Height = 170;
        const int left = (::GetSystemMetrics(SM_CXSCREEN) - Width) / 2;
        const int top = (::GetSystemMetrics(SM_CYSCREEN) - Height) / 2;
        // A static control as the frame: it needs no window class of ours and paints itself.
        FWindow = ::CreateWindowExW(WS_EX_DLGMODALFRAME, L"STATIC", caption.c_str(), WS_POPUP | WS_CAPTION,
                                    left, top, Width, Height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (!FWindow) return;
        HWND animation = ::CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT | ACS_AUTOPLAY,
                                           10, 10, 272, 60, FWindow, nullptr, nullptr, nullptr);
        int below = 10;
        if (animation) {
            // Resource 161 of the shell library is its copy-files clip; without it the space stays empty.
            ::SendMessageW(animation, ACM_OPENW, WPARAM(::GetModuleHandleW(L"shell32.dll")), LPARAM(MAKEINTRESOURCEW(161)));
            RECT r{};
            ::GetWindowRect(animation, &r);
            below = 10 + (r.bottom - r.top);
        }
        ::CreateWindowExW(0, L"STATIC", message.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 10, below + 8, 272, 40,
                          FWindow, nullptr, nullptr, nullptr);
        ::ShowWindow(FWindow, SW_SHOWNORMAL);
        ::UpdateWindow(FWindow);
    }
    ~TPatcherAnimation() {
        if (FWindow) ::DestroyWindow(FWindow);
    }
    TPatcherAnimation(const TPatcherAnimation&) = delete;
    TPatcherAnimation& operator=(const TPatcherAnimation&) = delete;

private:
    HWND FWindow = nullptr;
};

}  // namespace

bool TWebUpdate::RunPatcher(const std::wstring& patch, const std::wstring& localVersion) {
    const std::wstring patcher = PatcherPath();
    if (FUtility && !FileExists(patcher)) ExtractPatcher();
    // Full paths in quotes: the patcher finds its files wherever it and they are, blanks
    // included; its outcome goes to the log from here, not through a shell redirection.
    const std::wstring commandLine =
        L"\"" + patcher + L"\"" + (Logging() ? L" -v" : L"") + L" \"" + patch + L"\" \"" + localVersion + L"\"";
    DoStatus(18, L"Exec: " + commandLine, 18, 0);
    if (Logging()) AddToLog(L"Exec: " + commandLine);
    int code = 0;
    {
        std::unique_ptr<TPatcherAnimation> animation;
        if (FUtility && FUtility->ShowAnimation())
            animation = std::make_unique<TPatcherAnimation>(FUtility->StatusCaption(), FUtility->StatusMessage());
        code = Seams().RunAndWait(commandLine, FUtility ? FUtility->ShowWindow() : true);
    }
    if (Logging()) AddToLog(L"Patcher exit code " + std::to_wstring(code) + L" for " + patch);
    if (code != 0) {
        // The patch stays, so the user can still apply it by hand.
        DoStatus(947, patch, 18, code);
        return false;
    }
    if (!KeepIntermediateFiles()) ::DeleteFileW(patch.c_str());
    return true;
}

bool TWebUpdate::UnpackByName(const std::wstring& file, const std::wstring& folder) {
    const std::wstring extension = UpperCase(ExtractFileExt(file));
    if (extension == L".CAB" || extension == L".ZIP") return Unpack(file, folder);
    if (extension == L".PAT") return true;
    if (LZExpandFile(file).empty()) {
        DoStatus(947, file, 8, 0);
        return false;
    }
    return true;
}

}  // namespace WUpdate
