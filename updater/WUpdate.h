#pragma once
// The web updater: reads an update-control file from a server, decides whether a newer
// version exists, downloads and places the listed files and reports every step as a
// numbered status, to an event and optionally to a log file.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/DateTime.h"
#include "classlib/EnumNames.h"
#include "classlib/Form.h"
#include "classlib/Object.h"
#include "classlib/Threads.h"
#include "updater/WUpdateVersions.h"

namespace ClassLib {
class TLabel;
class TMemIniFile;
class TMemoryStream;
class TProgressBar;
class TStringList;
class TStrings;
}  // namespace ClassLib

namespace WUpdate {

class TSftpLink;

enum TWebUpdateType { ftpUpdate, httpUpdate, fileUpdate, sftpUpdate };
enum TWebUpdateConnect {
    wucNoConnect, wucConnectPrompt, wucConnectSilent, wucConnectPromptHangup, wucConnectSilentHangup, wucNone
};
enum TWebUpdateUpdate { wuuPromptOnce, wuuPromptAll, wuuSilent };
enum TWebUpdateVersionCheck { vcUpdateOnly, vcAlways };
enum TWebUpdateCertCheck { ccEnable, ccDisable };
enum TWebUpdateAuthentication { waAlways, waAuto, waNever };
enum TLastURLReg { lurLOCALUSER, lurLOCALMACHINE };

// What the last version query found out: a check that could not be made is not "no update".
enum class TQueryOutcome { NotAsked, NewVersion, NoNewVersion, Failed };

}  // namespace WUpdate

namespace ClassLib {
template <> struct TEnumNames<WUpdate::TWebUpdateType> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateType";
    static constexpr const wchar_t* Names[] = {L"ftpUpdate", L"httpUpdate", L"fileUpdate", L"sftpUpdate"};
};
template <> struct TEnumNames<WUpdate::TWebUpdateConnect> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateConnect";
    static constexpr const wchar_t* Names[] = {L"wucNoConnect", L"wucConnectPrompt", L"wucConnectSilent",
                                               L"wucConnectPromptHangup", L"wucConnectSilentHangup", L"wucNone"};
};
template <> struct TEnumNames<WUpdate::TWebUpdateUpdate> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateUpdate";
    static constexpr const wchar_t* Names[] = {L"wuuPromptOnce", L"wuuPromptAll", L"wuuSilent"};
};
template <> struct TEnumNames<WUpdate::TWebUpdateVersionCheck> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateVersionCheck";
    static constexpr const wchar_t* Names[] = {L"vcUpdateOnly", L"vcAlways"};
};
template <> struct TEnumNames<WUpdate::TWebUpdateCertCheck> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateCertCheck";
    static constexpr const wchar_t* Names[] = {L"ccEnable", L"ccDisable"};
};
template <> struct TEnumNames<WUpdate::TWebUpdateAuthentication> {
    static constexpr const wchar_t* TypeName = L"TWebUpdateAuthentication";
    static constexpr const wchar_t* Names[] = {L"waAlways", L"waAuto", L"waNever"};
};
template <> struct TEnumNames<WUpdate::TLastURLReg> {
    static constexpr const wchar_t* TypeName = L"TLastURLReg";
    static constexpr const wchar_t* Names[] = {L"lurLOCALUSER", L"lurLOCALMACHINE"};
};
}  // namespace ClassLib

// A setting: a getter, a setter and its field with the first value.
#define WUPDATE_PROPERTY(Type, Name, Initial)                       \
public:                                                            \
    const Type& Name() const { return F##Name; }                   \
    void Set##Name(const Type& value) { F##Name = value; }         \
private:                                                           \
    Type F##Name = Initial;                                        \
public:

namespace WUpdate {

using ClassLib::TObject;
using TStatusEvent = std::function<void(TObject* sender, const std::wstring& statusStr, int statusCode, int errCode)>;
// Positions and sizes in bytes, 64-bit: a file may be larger than 2 GB.
using TFileProgressEvent =
    std::function<void(TObject* sender, const std::wstring& fileName, long long pos, long long size)>;
using TFileDownloadedEvent = std::function<void(TObject* sender, const std::wstring& fileName)>;
using TFileVersionCheckEvent = std::function<void(TObject* sender, const std::wstring& newVersion,
                                                  const std::wstring& localVersion, bool& isNew)>;
using TAllowEvent = std::function<void(TObject* sender, bool& allow)>;
using TProgressEvent = std::function<void(TObject* sender, const std::wstring& action)>;
using TBeforeFileDownloadEvent = std::function<void(TObject* sender, int fileIdx, const std::wstring& fileDescription,
                                                    std::wstring& url)>;
using TCustomValidateEvent = std::function<void(TObject* sender, const std::wstring& msg, const std::wstring& param,
                                                bool& allow)>;
using TBeforeUrlToFileEvent = std::function<void(void* hfile, const std::wstring& url, const std::wstring& tgt,
                                                 bool& uncompress, bool& handled, bool& success)>;
using TCustomProcessEvent = std::function<void(TObject* sender, const std::wstring& msg, const std::wstring& param)>;
using TGetFileListEvent = std::function<void(TObject* sender, ClassLib::TStringList* list)>;
using TTextVarEvent = std::function<void(TObject* sender, std::wstring& text)>;
using TDownloadedTextEvent = std::function<void(TObject* sender, ClassLib::TStrings* text, int& res)>;
using TFileNameFromURLEvent = std::function<void(TObject* sender, const std::wstring& url, std::wstring& fName)>;
using TWebUpdateRestart = TAllowEvent;

// The registry place of the update history.
class TLastURLEntry : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TLastURLEntry, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TLastURLEntry() = default;
    void Assign(const ClassLib::TPersistent* source) override;

    bool Save() const { return FSave; }
    void SetSave(bool value) { FSave = value; }
    const std::wstring& Key() const { return FKey; }
    void SetKey(const std::wstring& value) { FKey = value; }
    const std::wstring& Section() const { return FSection; }
    void SetSection(const std::wstring& value) { FSection = value; }
    TLastURLReg RegRoot() const { return FRegRoot; }
    void SetRegRoot(TLastURLReg value) { FRegRoot = value; }

private:
    bool FSave = false;
    std::wstring FKey;
    std::wstring FSection;
    TLastURLReg FRegRoot = lurLOCALUSER;
};

// A report posted to a server after an update.
class TPostUpdateInfo : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TPostUpdateInfo, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TPostUpdateInfo() = default;
    void Assign(const ClassLib::TPersistent* source) override;

    const std::wstring& Server() const { return FServer; }
    void SetServer(const std::wstring& value) { FServer = value; }
    const std::wstring& Action() const { return FAction; }
    void SetAction(const std::wstring& value) { FAction = value; }
    const std::string& Data() const { return FData; }
    void SetData(const std::string& value) { FData = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    std::string PostResult;   // the server's answer

private:
    std::wstring FServer;
    std::wstring FAction;
    std::string FData;
    bool FEnabled = false;
};

// Styles the run of the patcher program.
class TWebUpdateUtility : public ClassLib::TComponent {
    CLASSLIB_CLASS(TWebUpdateUtility, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TWebUpdateUtility(ClassLib::TComponent* owner) : TComponent(owner) {}

    bool ShowWindow() const { return FShowWindow; }
    void SetShowWindow(bool value) { FShowWindow = value; }
    bool ShowAnimation() const { return FShowAnimation; }
    void SetShowAnimation(bool value) { FShowAnimation = value; }
    const std::wstring& StatusMessage() const { return FStatusMessage; }
    void SetStatusMessage(const std::wstring& value) { FStatusMessage = value; }
    const std::wstring& StatusCaption() const { return FStatusCaption; }
    void SetStatusCaption(const std::wstring& value) { FStatusCaption = value; }

private:
    bool FShowWindow = false;
    bool FShowAnimation = false;
    std::wstring FStatusMessage;
    std::wstring FStatusCaption;
};

// One file of an update, as its [file<N>] section lists it.
class TFileDescription : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TFileDescription, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TFileDescription(ClassLib::TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const ClassLib::TPersistent* source) override;

    bool Compressed = false;
    int NewCheckSum = -1;
    long long NewSize = 0;
    std::wstring URL;
    std::wstring TargetDir;      // ends with "\" when not empty
    std::wstring LocalVersion;   // the installed file's path
    std::wstring NewVersion;
    std::wstring Description;
    std::wstring NewCustomVer;
    long long FileSize = 0;      // invariant: 0 <= FileSize <= MaxFileSize (a sum of them cannot wrap)
    std::wstring NewDate;
    std::wstring NewTime;
    bool Mandatory = false;
    bool Preselect = true;
    bool Hidden = false;
    bool Selected = false;
};

class TFileList : public ClassLib::TCollection {
    CLASSLIB_CLASS(TFileList, ClassLib::TCollection)
public:
    TFileList() : TCollection(&ClassLib::CreateCollectionItem<TFileDescription>) {}

    TFileDescription* Items(int index) const { return static_cast<TFileDescription*>(TCollection::Items(index)); }
    TFileDescription* Add() { return static_cast<TFileDescription*>(TCollection::Add()); }
    TFileDescription* Insert(int index) { return static_cast<TFileDescription*>(TCollection::Insert(index)); }
    int ActiveItem = 0;   // index of the file being downloaded
    long long TotalSize() const;
    // FileSize of the entries before ActiveItem.
    long long CompletedSize() const;
    // The largest size a [file<N>] section may state (1 PB); a larger one reads as this.
    static constexpr long long MaxFileSize = 1ll << 50;
    // The most [file<N>] sections a control file may list.
    static constexpr int MaxCount = 10000;
};

// A size key of a control file: a 64-bit number as integers are written there, 0 when it
// is missing or not a number, and never below 0 or above TFileList::MaxFileSize.
long long ReadSize(const ClassLib::TMemIniFile& ini, const std::wstring& section, const std::wstring& key);

// A position of `size` as a progress bar takes it: both scaled down together until they
// fit its 32-bit range. A size of 0 (not known) gives an empty bar.
struct TBarRange {
    int Position = 0;
    int Max = 0;
};
TBarRange ProgressBarRange(long long pos, long long size);

// The component's own download window: a label and a bar.
class TProgressForm : public ClassLib::TForm {
    CLASSLIB_CLASS(TProgressForm, ClassLib::TForm)
public:
    explicit TProgressForm(ClassLib::TComponent* owner);
    ClassLib::TLabel* Label = nullptr;
    ClassLib::TProgressBar* ProgressBar = nullptr;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
};

// The local file name of a URL: after the last "/" and "\", before the first "?".
std::wstring URLFileName(const std::wstring& url);
// The host part: after "://", up to the first "/" or "\".
std::wstring URLToDomain(const std::wstring& url);
// An "http://" address with the proxy's user and password put in; others unchanged.
std::wstring MakeProxyUrl(const std::wstring& url, const std::wstring& proxyUser, const std::wstring& proxyPassword);

// The dial-up functions of WinInet; tests put their own in.
struct TDialUpFunctions {
    std::function<bool(unsigned long* flags)> GetConnectedState;   // InternetGetConnectedState
    std::function<bool(unsigned long flags)> Autodial;              // InternetAutodial
    std::function<bool()> AutodialHangup;                           // InternetAutodialHangup(0)
};
// WinInet's own, looked up at run time; a missing function counts as connected.
TDialUpFunctions PlatformDialUp();

// The system's HTML dialog on an address; false when the HTML library or its dialog
// function is missing. A failing moniker or dialog call raises.
bool PlatformHTMLDialog(const std::wstring& url, HWND parent);

class TWebUpdate : public ClassLib::TComponent {
    CLASSLIB_CLASS(TWebUpdate, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TWebUpdate(ClassLib::TComponent* owner);
    ~TWebUpdate() override;

    // ---- settings
    WUPDATE_PROPERTY(std::wstring, Agent, L"TWebUpdate")
    WUPDATE_PROPERTY(bool, ApplyPatch, false)
    WUPDATE_PROPERTY(TWebUpdateAuthentication, Authenticate, waNever)
    WUPDATE_PROPERTY(bool, AutoRestart, true)
    WUPDATE_PROPERTY(TWebUpdateCertCheck, CertCheck, ccEnable)
    WUPDATE_PROPERTY(std::wstring, DateFormat, L"dd/mm/yyyy")
    WUPDATE_PROPERTY(wchar_t, DateSeparator, L'/')
    WUPDATE_PROPERTY(bool, ExtractCAB, false)
    WUPDATE_PROPERTY(bool, ExtractZIP, false)
    WUPDATE_PROPERTY(bool, ExistingConnection, false)
    WUPDATE_PROPERTY(bool, ForceUpdate, false)
    WUPDATE_PROPERTY(std::wstring, FTPDirectory, {})
    WUPDATE_PROPERTY(bool, FTPPassive, false)
    WUPDATE_PROPERTY(std::wstring, Host, {})
    WUPDATE_PROPERTY(bool, HTTPKeepAliveAuthentication, false)
    WUPDATE_PROPERTY(bool, KeepIntermediateFiles, false)
    WUPDATE_PROPERTY(std::wstring, LanguageID, {})
    WUPDATE_PROPERTY(bool, Logging, false)
    WUPDATE_PROPERTY(std::wstring, Password, {})
    WUPDATE_PROPERTY(int, Port, 21)
    WUPDATE_PROPERTY(std::wstring, Proxy, {})
    WUPDATE_PROPERTY(std::wstring, ProxyUserID, {})
    WUPDATE_PROPERTY(std::wstring, ProxyPassword, {})
    WUPDATE_PROPERTY(bool, ShowDownloadProgress, false)
    WUPDATE_PROPERTY(std::wstring, Signature, L"WebUpdate")
    WUPDATE_PROPERTY(bool, SignatureCheck, false)
    WUPDATE_PROPERTY(std::wstring, TempDirectory, L".")
    WUPDATE_PROPERTY(std::wstring, TimeFormat, L"hh:nn")
    WUPDATE_PROPERTY(int, TimeOut, 0)          // milliseconds; 0 leaves the system's
    WUPDATE_PROPERTY(int, ReceiveTimeOut, 0)   // milliseconds; 0 leaves the system's
    // Milliseconds one whole version check, or one transfer, may take whatever the server
    // does (a transfer earns a second more for every 4 KB it receives); 0: no limit.
    WUPDATE_PROPERTY(int, TotalTimeOut, 60000)
    WUPDATE_PROPERTY(wchar_t, TimeSeparator, L':')
    WUPDATE_PROPERTY(TWebUpdateType, UpdateType, httpUpdate)
    WUPDATE_PROPERTY(TWebUpdateConnect, UpdateConnect, wucNoConnect)
    WUPDATE_PROPERTY(TWebUpdateUpdate, UpdateUpdate, wuuPromptOnce)
    WUPDATE_PROPERTY(std::wstring, URL, {})
    WUPDATE_PROPERTY(bool, HideURLInLogFile, false)
    WUPDATE_PROPERTY(std::wstring, UserID, {})
    WUPDATE_PROPERTY(bool, UseCRC32, false)
    WUPDATE_PROPERTY(bool, UseWinTempDir, true)
    WUPDATE_PROPERTY(TWebUpdateVersionCheck, VersionCheck, vcUpdateOnly)
    WUPDATE_PROPERTY(unsigned short, CodePage, 65001)
    WUPDATE_PROPERTY(int, SocketBuffLen, 65536)

    const std::wstring& LogFileName() const { return FLogFileName; }
    // Also the log file of every updater of the process.
    void SetLogFileName(const std::wstring& value);
    TLastURLEntry* LastURLEntry() const { return FLastURLEntry.get(); }
    TPostUpdateInfo* PostUpdateInfo() const { return FPostUpdateInfo.get(); }
    TWebUpdateUtility* Utility() const { return FUtility; }
    void SetUtility(TWebUpdateUtility* value);
    std::wstring Version() const { return L"2.6.3.1"; }
    void SetVersion(const std::wstring&) {}

    // ---- run-time state
    const std::wstring& ControlFileName() const { return FControlFileName; }
    ClassLib::TDateTime NewVersionDate = 0;
    ClassLib::TDateTime CurVersionDate = 0;
    std::wstring NewVersionInfo;
    std::wstring CurVersionInfo;
    std::wstring UpdateDescription;
    TFileList* FileList() const { return FFileList.get(); }
    bool Cancelled() const { return FCancelled; }
    // True once Abort was called.
    bool Stopped() const { return FAborted; }
    bool InProgress() const { return FInProgress; }
    bool AppNeedsRestart() const;
    bool AppSilentRestart() const { return FAppSilentRestart; }
    void* HintConnect() const { return FHintConnect; }
    bool UACEnabled() const { return true; }
    TQueryOutcome LastQueryOutcome() const { return FQueryOutcome; }
    // The dial-up functions the connection uses.
    TDialUpFunctions DialUp = PlatformDialUp();
    // The HTML dialog call (the system's by default).
    std::function<bool(const std::wstring& url, HWND parent)> HTMLDialog = &PlatformHTMLDialog;

    // ---- events
    TStatusEvent OnStatus;
    TFileProgressEvent OnFileProgress;
    TFileDownloadedEvent OnFileDownloaded;
    TFileVersionCheckEvent OnFileVersionCheck;
    TAllowEvent OnBeforePost;
    TAllowEvent OnProcessPostResult;
    TProgressEvent OnProgress;
    TAllowEvent OnProgressCancel;
    ClassLib::TNotifyEvent OnThreadUpdateDone;
    TWebUpdateRestart OnAppRestart;
    ClassLib::TNotifyEvent OnAppDoClose;
    TBeforeFileDownloadEvent OnBeforeFileDownload;
    TCustomValidateEvent OnCustomValidate;
    TBeforeUrlToFileEvent OnBeforeUrlToFile;
    TCustomProcessEvent OnCustomProcess;
    TGetFileListEvent OnGetFileList;
    TTextVarEvent OnConvertPrefix;
    TTextVarEvent OnSetAppParams;
    TTextVarEvent OnSetAppParamBefore;
    TTextVarEvent OnSetAppParamAfter;
    TDownloadedTextEvent OnDownloadedWhatsNew;
    TDownloadedTextEvent OnDownloadedEULA;
    TFileNameFromURLEvent OnFileNameFromURL;
    ClassLib::TNotifyEvent OnSuccess;

    // ---- whole operations
    void DoUpdate(bool initPath = true);
    // The same run on a worker thread; returns at once. Its end is handled on the main thread.
    void DoThreadUpdate(bool initPath = true);
    bool NewVersionAvailable(bool initPath);
    // The what's-new text of an available update, or null (RTF, nothing found).
    std::unique_ptr<ClassLib::TStringList> NewWhatsNew(bool showDialog);
    void Cancel() { FCancelled = true; }
    // Stops for good, from any thread: the transfer under way ends at its next block (or
    // when its current wait for the server ends) and every later one fails at once. For a
    // check on another thread whose window goes away.
    void Abort() {
        FAborted = true;
        FCancelled = true;
    }
    // Copies the settings (not the events or what a run found) of another updater.
    void Assign(const ClassLib::TPersistent* source) override;
    // Reports the calling thread's last system or WinInet error as status 976.
    void Error();
    void AddToLog(const std::wstring& s);
    std::wstring WinTempDir() const;
    bool URLGetFile(void* hfile, const std::wstring& url, const std::wstring& tgt, bool uncompress);
    std::wstring URLtoFile(const std::wstring& url);
    bool Connected();
    int ConnectionType();
    void HangUp();
    std::wstring URLGet();
    void URLPut(const std::wstring& url);
    ClassLib::TDateTime UpdateDateGet();
    void UpdateDatePut(ClassLib::TDateTime dt);
    void ShowHTMLDialog(const std::wstring& s);
    void DoPostUpdateInfo();
    std::wstring ExpandPathPrefixes(const std::wstring& path);
    // The date and time of the control file's date keys; 1 January 1980 when unreadable.
    ClassLib::TDateTime ParseDateTime(const std::wstring& date, const std::wstring& time) const;

    // ---- steps (the wizard calls them one by one)
    virtual int EULADialog(ClassLib::TMemoryStream* ms);
    virtual void DoStatus(int ident, const std::wstring& text, int statusCode, int errCode);
    // Unpacks "upd.exe" from the resource "UPD" into the download folder; false when it could not.
    virtual bool ExtractRestartHelper();
    virtual void ExtractPatcher();
    virtual bool CompareVersion(std::wstring& newVersion, std::wstring& localFile, long long newSize, int newCheckSum);
    virtual void DoFileProgress(const std::wstring& fileName, long long pos, long long size);
    virtual void DoProgressCancel(bool& cancel);
    virtual void DoSetAppParamBefore(std::wstring& appParams);
    virtual void DoSetAppParamAfter(std::wstring& appParams);
    virtual void CustomProcess(const std::wstring& fileName);
    virtual int WhatsNewDialog(ClassLib::TMemoryStream* ms);
    virtual void DoRestart();
    virtual int StartConnection();
    virtual int StopConnection();
    virtual int FTPConnect();
    virtual std::wstring GetControlFileURL();
    virtual int GetControlFile();
    virtual int DoVersionCheck();
    virtual int HandleActions();
    virtual std::unique_ptr<ClassLib::TStringList> GetWhatsNew();
    virtual std::unique_ptr<ClassLib::TMemoryStream> GetWhatsNewStream();
    virtual std::unique_ptr<ClassLib::TStringList> GetEULA();
    virtual std::unique_ptr<ClassLib::TMemoryStream> GetEULAStream();
    virtual std::wstring GetOSVersion();
    virtual std::wstring GetIDE();
    virtual std::wstring GetIEVersion();
    virtual std::wstring GetInstalledIDEs();
    virtual int GetFileDetails();
    virtual int ProcessFileDetails();
    virtual int GetFileUpdates();
    virtual int UpdateActions();
    virtual void ConvertPrefix(const std::wstring& prefix, std::wstring& s);

    // The status texts (identifiers 909 to 983): empty for an identifier without text.
    static std::wstring StatusText(int ident);
    // One log line: the time as "dd/mm/yyyy hh:nn:ss" with the given separators, then
    // " : [ident] message (Status:n) (Error:n)".
    static std::wstring FormatLogLine(ClassLib::TDateTime time, wchar_t dateSeparator, wchar_t timeSeparator,
                                      int ident, const std::wstring& message, int statusCode, int errCode);
    // Where a log file name points: the documents folder for a bare name, {APP} replaced.
    static std::wstring ResolveLogPath(const std::wstring& name);

    // The dialogs, built but not shown, for the dialog steps and for a look at them.
    std::unique_ptr<ClassLib::TForm> CreateWhatsNewForm(const std::vector<uint8_t>& text);
    std::unique_ptr<ClassLib::TForm> CreateEULAForm(const std::vector<uint8_t>& text);

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    // Shows a dialog of the updater modally, on the main thread; tests answer it instead.
    virtual ClassLib::TModalResult ExecuteDialog(ClassLib::TForm& form);
    // The user-name and password question of HTTP authorization.
    virtual bool LoginDialog(const std::wstring& caption, std::wstring& userName, std::wstring& password);
    // A message box of the updater, on the main thread.
    int MessageBox(const std::wstring& text, unsigned flags);

private:
    friend class TInetThread;
    void ThreadDone(TObject* sender);
    std::unique_ptr<ClassLib::TMemIniFile> ReadControlFile() const;
    bool IsThreaded() const { return FThreaded; }
    bool HttpGetFile(void* hfile, const std::wstring& url, const std::wstring& tempName, bool& cancelled);
    bool FtpDownload(void* hfile, const std::wstring& url, const std::wstring& target, bool& cancelled);
    bool SftpDownload(const std::wstring& url, const std::wstring& target, bool& cancelled);
    // SFTP's part of FTPConnect: socket, session, login and channel; 0 when the channel is open.
    int SftpConnect();
    // A connection to fetch through: a connection handle or an SFTP channel.
    bool HasConnection() const;
    // Reads up to `size` bytes of an opened download; 0 at its end, below 0 on an error.
    using TBlockReader = std::function<long long(uint8_t* buffer, size_t size)>;
    // Reads an opened download into a temporary file and puts it in place as `target`;
    // `length` above 0 and `checkLength` make a different count a failure (908).
    // More than `length` (when above 0) or than the transfer limit, or past the deadline,
    // stops the download there.
    bool ReceiveDownload(const TBlockReader& read, const std::wstring& url, const std::wstring& target,
                         long long length, bool checkLength, bool& cancelled);
    // True when the check's deadline has passed, or a transfer started at `started` that
    // received `received` bytes has taken longer than TotalTimeOut allows it.
    bool PastDeadline(uint32_t started, long long received) const;
    // Status 983: a transfer stopped by one of its bounds.
    void ReportStop(const std::wstring& url, const std::wstring& why);
    // What is wrong with a control file's numbers (a key and its value), or empty.
    std::wstring ControlFileFault(const ClassLib::TMemIniFile& ini) const;
    // Asks for the user name and password (caption "Connect to " + host); false, with 956,
    // when cancelled. The answers stay in UserID and Password.
    bool AskLogin(const std::wstring& url);
    // Gives a request the proxy's user name and password, so they never go into an address.
    void SetProxyCredentials(void* request);
    bool LocalCopy(const std::wstring& source, const std::wstring& target);
    // Moves, expands or unpacks one downloaded file as its entry asks; false when a step failed.
    bool PlaceDownloaded(const TFileDescription& d, const std::wstring& folder, const std::wstring& name);
    // Unpacks a CAB or ZIP archive (by its extension) into a folder; 965, or 947 on failure.
    bool Unpack(const std::wstring& archive, const std::wstring& folder);
    // What URLGetFile does with a fetched file when asked to uncompress it.
    bool UnpackByName(const std::wstring& file, const std::wstring& folder);
    // Where the patcher program is written and run from.
    std::wstring PatcherPath() const;
    // Runs the patcher on a downloaded patch for the installed file `localVersion`; the
    // patch is deleted once it applied. False, with 947, when the patcher failed.
    bool RunPatcher(const std::wstring& patch, const std::wstring& localVersion);
    // Moves a finished download onto its target in one step; 972 or 973 when it cannot,
    // and the target keeps its old file.
    bool PutInPlace(const std::wstring& tempName, const std::wstring& target, bool localCopyTexts);
    std::unique_ptr<ClassLib::TMemoryStream> GetTextStream(bool whatsNew);
    std::wstring DownloadFolder() const { return WinTempDir(); }
    void RunProgram(const std::wstring& program, const std::wstring& params);
    void ProcessMessages();

    std::wstring FLogFileName = L"WUPDATE.LOG";
    std::unique_ptr<TLastURLEntry> FLastURLEntry;
    std::unique_ptr<TPostUpdateInfo> FPostUpdateInfo;
    std::unique_ptr<TFileList> FFileList;
    TWebUpdateUtility* FUtility = nullptr;
    std::wstring FControlFileName;
    std::atomic<bool> FCancelled = false;
    std::atomic<bool> FAborted = false;
    long long FTransferLimit = 0;    // the most bytes one transfer may bring; 0: no limit
    bool FCheckEnds = false;         // a version check with a deadline is running
    uint32_t FCheckEnd = 0;          // its deadline, in ticks
    bool FInProgress = false;
    void* FSession = nullptr;        // the WinInet session (HINTERNET)
    void* FHintConnect = nullptr;    // the handle transfers use: the session for HTTP
    bool FDialedUp = false;
    bool FFTPFolderSet = false;      // the FTP folder was changed on this connection
    std::unique_ptr<TSftpLink> FSftp;   // the SFTP socket, session and channel, while open
    bool FHasUpdateHistory = false;
    bool FThreaded = false;
    bool FAppUpdate = false;
    bool FAppCompsIncluded = false;
    std::wstring FAppName;
    std::wstring FAppParams;
    std::wstring FAppComps;
    bool FAppSilentRestart = false;
    std::wstring FLocalVersionFile;
    TQueryOutcome FQueryOutcome = TQueryOutcome::NotAsked;
    std::unique_ptr<TProgressForm> FProgressForm;
    unsigned long FLastPump = 0;   // tick of the last look into the message queue
};

// A whole update run on its own thread; frees itself when it ends.
class TInetThread : public ClassLib::TThread {
    CLASSLIB_CLASS(TInetThread, ClassLib::TThread)
public:
    TInetThread(const TCreation& creation, TWebUpdate* webUpdate, bool initPath)
        : TThread(creation), WebUpdate(webUpdate), InitPath(initPath) {}
    TWebUpdate* WebUpdate;
    bool InitPath;

protected:
    void Execute() override;
};

}  // namespace WUpdate

#undef WUPDATE_PROPERTY
