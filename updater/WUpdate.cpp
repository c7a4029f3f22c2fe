#include "updater/WUpdate.h"

#include <wininet.h>

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Properties.h"
#include "classlib/ProgressBar.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/VersionInfo.h"
#include "updater/WUpdateSftp.h"

namespace WUpdate {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TLastURLEntry, TPersistent)
CLASSLIB_IMPLEMENT(TPostUpdateInfo, TPersistent)
CLASSLIB_IMPLEMENT(TWebUpdateUtility, TComponent)
CLASSLIB_IMPLEMENT(TFileDescription, TCollectionItem)
CLASSLIB_IMPLEMENT(TFileList, TCollection)
CLASSLIB_IMPLEMENT(TProgressForm, TForm)
CLASSLIB_IMPLEMENT(TWebUpdate, TComponent)
CLASSLIB_IMPLEMENT(TInetThread, TThread)

// ---- the owned settings objects

const TPropertyList& TLastURLEntry::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"Save", &TLastURLEntry::Save, &TLastURLEntry::SetSave, false)
        .Add(L"Key", &TLastURLEntry::Key, &TLastURLEntry::SetKey, L"")
        .Add(L"Section", &TLastURLEntry::Section, &TLastURLEntry::SetSection, L"")
        .Enum(L"RegRoot", &TLastURLEntry::RegRoot, &TLastURLEntry::SetRegRoot, lurLOCALUSER);
    return list;
}

void TLastURLEntry::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TLastURLEntry*>(source)) {
        FSave = other->FSave;
        FKey = other->FKey;
        FSection = other->FSection;
        FRegRoot = other->FRegRoot;
        return;
    }
    TPersistent::Assign(source);
}

const TPropertyList& TPostUpdateInfo::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"Server", &TPostUpdateInfo::Server, &TPostUpdateInfo::SetServer, L"")
        .Add(L"Action", &TPostUpdateInfo::Action, &TPostUpdateInfo::SetAction, L"")
        .Add(L"Enabled", &TPostUpdateInfo::Enabled, &TPostUpdateInfo::SetEnabled, false);
    return list;
}

void TPostUpdateInfo::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TPostUpdateInfo*>(source)) {
        FServer = other->FServer;
        FAction = other->FAction;
        FData = other->FData;
        FEnabled = other->FEnabled;
        return;
    }
    TPersistent::Assign(source);
}

const TPropertyList& TWebUpdateUtility::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"ShowWindow", &TWebUpdateUtility::ShowWindow, &TWebUpdateUtility::SetShowWindow, false)
        .Add(L"ShowAnimation", &TWebUpdateUtility::ShowAnimation, &TWebUpdateUtility::SetShowAnimation, false)
        .Add(L"StatusMessage", &TWebUpdateUtility::StatusMessage, &TWebUpdateUtility::SetStatusMessage, L"")
        .Add(L"StatusCaption", &TWebUpdateUtility::StatusCaption, &TWebUpdateUtility::SetStatusCaption, L"");
    return list;
}

const TPropertyList& TFileDescription::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published());
    return list;
}

void TFileDescription::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TFileDescription*>(source)) {
        Compressed = other->Compressed;
        NewCheckSum = other->NewCheckSum;
        NewSize = other->NewSize;
        URL = other->URL;
        TargetDir = other->TargetDir;
        LocalVersion = other->LocalVersion;
        NewVersion = other->NewVersion;
        Description = other->Description;
        NewCustomVer = other->NewCustomVer;
        FileSize = other->FileSize;
        NewDate = other->NewDate;
        NewTime = other->NewTime;
        Mandatory = other->Mandatory;
        Preselect = other->Preselect;
        Hidden = other->Hidden;
        Selected = other->Selected;
        return;
    }
    TCollectionItem::Assign(source);
}

long long TFileList::TotalSize() const {
    long long total = 0;
    for (int i = 0; i < Count(); ++i) total += Items(i)->FileSize;
    return total;
}

long long TFileList::CompletedSize() const {
    long long total = 0;
    for (int i = 0; i < ActiveItem && i < Count(); ++i) total += Items(i)->FileSize;
    return total;
}

TBarRange ProgressBarRange(long long pos, long long size) {
    if (size <= 0) return {};
    pos = std::clamp(pos, 0LL, size);
    while (size > 0x7FFFFFFF) {
        size >>= 1;
        pos >>= 1;
    }
    return {int(pos), int(size)};
}

// ---- the progress window

TProgressForm::TProgressForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 300, 110);
    SetText(TWebUpdate::StatusText(978));
    Label = new TLabel(this);
    Label->SetParent(this);
    Label->SetBounds(10, 10, 264, 13);
    ProgressBar = new TProgressBar(this);
    ProgressBar->SetParent(this);
    ProgressBar->SetBounds(10, 40, 264, 17);
    ProgressBar->SetAnchors(AnchorBit(akLeft) | AnchorBit(akTop) | AnchorBit(akRight));
}

void TProgressForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.Style &= ~DWORD(WS_SYSMENU);   // no border icons: the download cannot be closed from here
}

// ---- the component

const TPropertyList& TWebUpdate::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"Agent", &TWebUpdate::Agent, &TWebUpdate::SetAgent, L"TWebUpdate")
        .Add(L"ApplyPatch", &TWebUpdate::ApplyPatch, &TWebUpdate::SetApplyPatch, false)
        .Enum(L"Authenticate", &TWebUpdate::Authenticate, &TWebUpdate::SetAuthenticate, waNever)
        .Add(L"AutoRestart", &TWebUpdate::AutoRestart, &TWebUpdate::SetAutoRestart, true)
        .Enum(L"CertCheck", &TWebUpdate::CertCheck, &TWebUpdate::SetCertCheck, ccEnable)
        .Add(L"DateFormat", &TWebUpdate::DateFormat, &TWebUpdate::SetDateFormat, L"dd/mm/yyyy")
        .Add(L"ExtractCAB", &TWebUpdate::ExtractCAB, &TWebUpdate::SetExtractCAB, false)
        .Add(L"ExtractZIP", &TWebUpdate::ExtractZIP, &TWebUpdate::SetExtractZIP, false)
        .Add(L"ExistingConnection", &TWebUpdate::ExistingConnection, &TWebUpdate::SetExistingConnection, false)
        .Add(L"ForceUpdate", &TWebUpdate::ForceUpdate, &TWebUpdate::SetForceUpdate, false)
        .Add(L"FTPDirectory", &TWebUpdate::FTPDirectory, &TWebUpdate::SetFTPDirectory, L"")
        .Add(L"FTPPassive", &TWebUpdate::FTPPassive, &TWebUpdate::SetFTPPassive, false)
        .Add(L"Host", &TWebUpdate::Host, &TWebUpdate::SetHost, L"")
        .Add(L"HTTPKeepAliveAuthentication", &TWebUpdate::HTTPKeepAliveAuthentication,
             &TWebUpdate::SetHTTPKeepAliveAuthentication, false)
        .Add(L"KeepIntermediateFiles", &TWebUpdate::KeepIntermediateFiles, &TWebUpdate::SetKeepIntermediateFiles, false)
        .Add(L"LanguageID", &TWebUpdate::LanguageID, &TWebUpdate::SetLanguageID, L"")
        .Add(L"Logging", &TWebUpdate::Logging, &TWebUpdate::SetLogging, false)
        .Add(L"LogFileName", &TWebUpdate::LogFileName, &TWebUpdate::SetLogFileName, L"WUPDATE.LOG")
        .SubObject(L"LastURLEntry", &TWebUpdate::LastURLEntry)
        .Add(L"Password", &TWebUpdate::Password, &TWebUpdate::SetPassword, L"")
        .Add(L"Port", &TWebUpdate::Port, &TWebUpdate::SetPort, 21)
        .SubObject(L"PostUpdateInfo", &TWebUpdate::PostUpdateInfo)
        .Add(L"Proxy", &TWebUpdate::Proxy, &TWebUpdate::SetProxy, L"")
        .Add(L"ProxyUserID", &TWebUpdate::ProxyUserID, &TWebUpdate::SetProxyUserID, L"")
        .Add(L"ProxyPassword", &TWebUpdate::ProxyPassword, &TWebUpdate::SetProxyPassword, L"")
        .Add(L"ShowDownloadProgress", &TWebUpdate::ShowDownloadProgress, &TWebUpdate::SetShowDownloadProgress, false)
        .Add(L"Signature", &TWebUpdate::Signature, &TWebUpdate::SetSignature, L"WebUpdate")
        .Add(L"SignatureCheck", &TWebUpdate::SignatureCheck, &TWebUpdate::SetSignatureCheck, false)
        .Add(L"TempDirectory", &TWebUpdate::TempDirectory, &TWebUpdate::SetTempDirectory, L".")
        .Add(L"TimeFormat", &TWebUpdate::TimeFormat, &TWebUpdate::SetTimeFormat, L"hh:nn")
        .Add(L"TimeOut", &TWebUpdate::TimeOut, &TWebUpdate::SetTimeOut, 0)
        .Add(L"ReceiveTimeOut", &TWebUpdate::ReceiveTimeOut, &TWebUpdate::SetReceiveTimeOut, 0)
        .Add(L"TotalTimeOut", &TWebUpdate::TotalTimeOut, &TWebUpdate::SetTotalTimeOut, 60000)
        .Enum(L"UpdateType", &TWebUpdate::UpdateType, &TWebUpdate::SetUpdateType, httpUpdate)
        .Enum(L"UpdateConnect", &TWebUpdate::UpdateConnect, &TWebUpdate::SetUpdateConnect, wucNoConnect)
        .Enum(L"UpdateUpdate", &TWebUpdate::UpdateUpdate, &TWebUpdate::SetUpdateUpdate, wuuPromptOnce)
        .Add(L"URL", &TWebUpdate::URL, &TWebUpdate::SetURL, L"")
        .Add(L"HideURLInLogFile", &TWebUpdate::HideURLInLogFile, &TWebUpdate::SetHideURLInLogFile, false)
        .Add(L"UserID", &TWebUpdate::UserID, &TWebUpdate::SetUserID, L"")
        .Add(L"UseCRC32", &TWebUpdate::UseCRC32, &TWebUpdate::SetUseCRC32, false)
        .Add(L"UseWinTempDir", &TWebUpdate::UseWinTempDir, &TWebUpdate::SetUseWinTempDir, true)
        .Enum(L"VersionCheck", &TWebUpdate::VersionCheck, &TWebUpdate::SetVersionCheck, vcUpdateOnly)
        .Add(L"Version", &TWebUpdate::Version, &TWebUpdate::SetVersion, L"2.6.3.1")
        .Event(L"OnStatus", &TWebUpdate::OnStatus)
        .Event(L"OnFileProgress", &TWebUpdate::OnFileProgress)
        .Event(L"OnFileDownloaded", &TWebUpdate::OnFileDownloaded)
        .Event(L"OnAppRestart", &TWebUpdate::OnAppRestart)
        .Event(L"OnSuccess", &TWebUpdate::OnSuccess);
    return list;
}

TWebUpdate::TWebUpdate(TComponent* owner)
    : TComponent(owner), FLastURLEntry(std::make_unique<TLastURLEntry>()),
      FPostUpdateInfo(std::make_unique<TPostUpdateInfo>()), FFileList(std::make_unique<TFileList>()) {
    SetLogFileName(L"WUPDATE.LOG");
}

TWebUpdate::~TWebUpdate() {
    if (FSession) ::InternetCloseHandle(FSession);
}

void TWebUpdate::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TWebUpdate*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    CopyPublishedValues(other, this);
    FLastURLEntry->Assign(other->FLastURLEntry.get());
    FPostUpdateInfo->Assign(other->FPostUpdateInfo.get());
    // Settings the window description does not carry.
    SetDateSeparator(other->DateSeparator());
    SetTimeSeparator(other->TimeSeparator());
    SetCodePage(other->CodePage());
    SetSocketBuffLen(other->SocketBuffLen());
    SetUtility(other->Utility());
    DialUp = other->DialUp;
    HTMLDialog = other->HTMLDialog;
}

void TWebUpdate::SetUtility(TWebUpdateUtility* value) {
    if (FUtility == value) return;
    if (FUtility) FUtility->RemoveFreeNotification(this);
    FUtility = value;
    if (FUtility) FUtility->FreeNotification(this);
}

void TWebUpdate::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FUtility) FUtility = nullptr;
}

bool TWebUpdate::AppNeedsRestart() const { return FAppUpdate && !FCancelled && FAppCompsIncluded; }

// ---- status reports

std::wstring TWebUpdate::StatusText(int ident) {
    static const wchar_t* const texts[] = {
        L"Download update file : ",                                  // 909
        L"Download update files ?",
        L"Shutdown application to update executable files ?",
        L"Equal source and target files : %s",
        L"File not found : %s",
        L"Zero length source file : %s",
        L"Download : %s",                                            // 915
        L"Http status : %s",
        L"File not found : %s",
        L"Checking for Internet connection",
        L"Prompt to open new Internet connection",
        L"Opening Internet connection",                              // 920
        L"Found open Internet connection",
        L"Cannot open Internet connection",
        L"Connect to host : %s",
        L"Cannot connect to FTP host : %s",
        L"Update control file not found",                            // 925
        L"Update control file found",
        L"Invalid signature in update control file",
        L"Date based update found",
        L"New version found : %s",
        L"No new version found",                                     // 930
        L"Checksum based update found",
        L"File size based update found",
        L"Version based update found",
        L"Found message instruction",
        L"Found HTML dialog instruction",                            // 935
        L"Found query instruction",
        L"Found whatsnew instruction",
        L"Whatsnew not accepted",
        L"Found license agreement instruction",
        L"License agreement not accepted",                           // 940
        L"Found URL redirection instruction",
        L"Found URL show instruction",
        L"Found file update instruction",
        L"Version check : %s",
        L"Download update : %s",                                     // 945
        L"Cannot download update file : %s",
        L"Error decompressing CAB file : %s",
        L"Finished processing update control file",
        L"Closed Internet connection",
        L"Failed to spawn updater process : %s",                     // 950
        L"Cannot connect to server for post",
        L"Cannot access resource for post",
        L"Dialup failed",
        L"Closed FTP connection",
        L"Disconnect dialup",                                        // 955
        L"Authentication cancelled",
        L"Authentication failed",
        L"Spawn %s",
        L"Restart app in directory : %s",
        L"Threaded update execution done",                           // 960
        L"Restart after threaded update",
        L"Found application component : %s",
        L"Start WebUpdate process with version : %s",
        L"WebUpdate process cancelled",
        L"Extract CAB file : %s",                                    // 965
        L"OS version : %s",
        L"IE version : %s",
        L"Start update : %s ---------------------------",
        L"Compiler : %s",
        L"Installed IDEs : %s",                                      // 970
        L"Processing file : %s",
        L"Cannot delete file : %s",
        L"Cannot rename file : %s",
        L"Change FTP directory to : %s",
        L"Cannot change FTP directory to : %s",                      // 975
        L"System error : %s",
        L"Downloading : %s",
        L"Downloading...",
        L"Check versions",
        L"Cannot connect to SFTP host : %s",                         // 980
        L"Invalid update control file : %s",
        L"Redirected to : %s",
        L"Download stopped : %s",
    };
    static_assert(std::size(texts) == 983 - 909 + 1);
    if (ident < 909 || ident > 983) return {};
    return texts[ident - 909];
}

void TWebUpdate::DoStatus(int ident, const std::wstring& text, int statusCode, int errCode) {
    std::wstring message = StatusText(ident);
    // Texts are put in as they are: a "%" inside an address must not be read as a format.
    if (const size_t at = message.find(L"%s"); at != std::wstring::npos) message.replace(at, 2, text);
    if (Logging()) {
        const TFormatSettings& settings = FormatSettings();
        AddToLog(FormatLogLine(Seams().Now(), settings.DateSeparator, settings.TimeSeparator, ident, message,
                               statusCode, errCode));
    }
    FireEvent(OnStatus, this, message, statusCode, errCode);
}

void TWebUpdate::Error() {
    const DWORD code = ::GetLastError();
    if (code == 0) return;
    std::wstring text;
    if (code == ERROR_INTERNET_EXTENDED_ERROR) {
        DWORD error = 0, length = 0;
        ::InternetGetLastResponseInfoW(&error, nullptr, &length);
        if (length > 0) {
            std::wstring response(length + 1, L'\0');
            if (::InternetGetLastResponseInfoW(&error, response.data(), &length)) text.assign(response.c_str());
        }
        if (text.empty()) return;
    } else {
        wchar_t* buffer = nullptr;
        const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE |
                            FORMAT_MESSAGE_IGNORE_INSERTS;
        if (::FormatMessageW(flags, ::GetModuleHandleW(L"wininet.dll"), code, 0,
                             reinterpret_cast<wchar_t*>(&buffer), 0, nullptr) && buffer) {
            text = buffer;
            ::LocalFree(buffer);
        }
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
        if (text.empty()) text = L"Error " + std::to_wstring(code);
    }
    DoStatus(976, text, 1, int(code));
    if (!OnStatus && UpdateUpdate() != wuuSilent) MessageBox(text, MB_OK | MB_ICONERROR);
}

// ---- the main thread's services

int TWebUpdate::MessageBox(const std::wstring& text, unsigned flags) {
    int answer = 0;
    TThread::Synchronize([&] {
        HWND owner = nullptr;
        if (auto* control = dynamic_cast<TWinControl*>(Owner()); control && control->HandleAllocated())
            owner = control->Handle();
        answer = Seams().ShowMessageBox(owner, text, Application ? Application->Title() : std::wstring(), flags);
    });
    return answer;
}

TModalResult TWebUpdate::ExecuteDialog(TForm& form) {
    TModalResult result = mrNone;
    TThread::Synchronize([&] { result = form.ShowModal(); });
    return result;
}

void TWebUpdate::ProcessMessages() {
    // A transfer calls this after every block. Looking into the queue costs a trip to the
    // window server (under Wine a round trip to wineserver), which halved the download
    // rate; every 10 ms keeps a Cancel button just as alive.
    const DWORD now = ::GetTickCount();
    if (now - FLastPump < 10) return;
    FLastPump = now;
    if (::GetCurrentThreadId() == TThread::MainThreadID()) TThread::CheckSynchronize();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the loop that owns the thread.
            ::PostQuitMessage(int(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// ---- whole runs

namespace {

void SetCurrentFolderToExecutables() {
    const std::wstring folder = ExtractFileDir(ExecutablePath());
    if (!folder.empty()) ::SetCurrentDirectoryW(folder.c_str());
}

}  // namespace

void TWebUpdate::DoUpdate(bool initPath) {
    FCancelled = false;
    if (initPath) SetCurrentFolderToExecutables();
    DoStatus(968, FThreaded ? L"Threaded update" : L"Non threaded update", 0, 0);
    DoStatus(966, GetOSVersion(), 0, 0);
    DoStatus(967, GetIEVersion(), 0, 0);
    DoStatus(969, GetIDE(), 0, 0);
    DoStatus(970, GetInstalledIDEs(), 0, 0);
    FAppCompsIncluded = false;
    FControlFileName.clear();
    DoStatus(963, Version(), 0, 0);

    if (StartConnection() != 0) return;
    if (UpdateType() == ftpUpdate || UpdateType() == sftpUpdate) {
        if (Host().empty()) throw Exception(L"No host specified");
        if (FTPConnect() == -1) Error();
    }
    if (HasConnection() || UpdateType() == fileUpdate) {
        if (GetControlFile() == 0) {
            if (ForceUpdate() || DoVersionCheck() != 7) {
                if (HandleActions() == 0) {
                    int r = 0;
                    if (auto stream = GetWhatsNewStream()) r = WhatsNewDialog(stream.get());
                    if (auto stream = GetEULAStream(); stream && r == 0) r = EULADialog(stream.get());
                    if (r == 0 && GetFileDetails() > 0) {
                        int b = ProcessFileDetails();
                        if (b == 0) {
                            if (ShowDownloadProgress() && !FThreaded)
                                FProgressForm = std::make_unique<TProgressForm>(Application);
                            try {
                                b = GetFileUpdates();
                            } catch (...) {
                                FProgressForm.reset();
                                throw;
                            }
                            FProgressForm.reset();
                            UpdateActions();
                        }
                        StopConnection();
                        if (b == 0 && !FCancelled) FireEvent(OnSuccess, this);
                        if (AppNeedsRestart() && !FThreaded) DoRestart();
                        return;
                    }
                    FAppUpdate = false;
                }
            } else {
                FAppUpdate = false;
            }
        }
    }
    StopConnection();
}

void TWebUpdate::DoThreadUpdate(bool initPath) {
    FThreaded = true;
    std::unique_ptr<TInetThread> thread = TThread::Create<TInetThread>(true, this, initPath);
    // Set before the thread runs: a fast run could otherwise end without its end handler.
    thread->OnTerminate = [this](TObject* sender) { ThreadDone(sender); };
    thread->SetFreeOnTerminate(true);
    thread.release()->Start();
}

void TWebUpdate::ThreadDone(TObject*) {
    FireEvent(OnThreadUpdateDone, this);
    FThreaded = false;
    DoStatus(960, L"", 0, 0);
    if (AppNeedsRestart()) {
        DoStatus(961, L"", 0, 0);
        DoRestart();
    }
}

void TInetThread::Execute() { WebUpdate->DoUpdate(InitPath); }

bool TWebUpdate::NewVersionAvailable(bool initPath) {
    // Failed unless the check runs to its end: an exception on the way leaves it so.
    FQueryOutcome = TQueryOutcome::Failed;
    if (initPath) SetCurrentFolderToExecutables();
    FCancelled = false;
    // The whole check has one deadline, whatever each of its transfers may take.
    struct TCheckDeadline {
        TWebUpdate& Update;
        ~TCheckDeadline() { Update.FCheckEnds = false; }
    } deadline{*this};
    FCheckEnds = TotalTimeOut() > 0;
    FCheckEnd = Seams().TickCount() + uint32_t(TotalTimeOut());
    if (StartConnection() != 0) return false;
    if (UpdateType() == ftpUpdate || UpdateType() == sftpUpdate) {
        if (Host().empty()) throw Exception(L"No host specified");
        if (FTPConnect() == -1) Error();
    }
    bool result = false;
    if ((HasConnection() || UpdateType() == fileUpdate) && GetControlFile() == 0) {
        const int v = DoVersionCheck();
        if (v == 8) {
            if (GetFileDetails() > 0) ProcessFileDetails();
            result = FFileList->Count() > 0;
        } else {
            result = v != 7;
        }
        FQueryOutcome = result ? TQueryOutcome::NewVersion : TQueryOutcome::NoNewVersion;
        if (result && OnDownloadedWhatsNew) {
            if (std::unique_ptr<TStringList> text = GetWhatsNew()) {
                int res = 1;
                OnDownloadedWhatsNew(this, text.get(), res);
            }
        }
    }
    StopConnection();
    return result;
}

std::unique_ptr<TStringList> TWebUpdate::NewWhatsNew(bool showDialog) {
    if (StartConnection() != 0) return nullptr;
    if ((UpdateType() == ftpUpdate || UpdateType() == sftpUpdate) && FTPConnect() == -1) Error();
    std::unique_ptr<TStringList> list;
    if ((HasConnection() || UpdateType() == fileUpdate) && GetControlFile() == 0 && DoVersionCheck() != 7) {
        if (std::unique_ptr<TMemoryStream> stream = GetWhatsNewStream(); stream && stream->Size() > 0) {
            const std::vector<uint8_t>& bytes = stream->Bytes();
            const std::string head(bytes.begin(), bytes.begin() + std::min<size_t>(5, bytes.size()));
            if (UpperCase(AnsiToString(head)) != L"{\\RTF") {
                list = std::make_unique<TStringList>();
                stream->SetPosition(0);
                list->LoadFromStream(stream.get());
                if (OnDownloadedWhatsNew && !showDialog) {
                    int res = 1;
                    OnDownloadedWhatsNew(this, list.get(), res);
                }
                stream->Clear();
                list->SaveToStream(stream.get());
            }
            if (showDialog) WhatsNewDialog(stream.get());
        }
    }
    StopConnection();
    return list;
}

}  // namespace WUpdate
