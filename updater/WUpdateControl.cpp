// The update-control file: reading it, the tests that decide whether an update exists,
// the instructions before and after the downloads, and the what's-new and licence texts
// with their dialogs.
#include "updater/WUpdate.h"

#include <mshtmhst.h>
#include <urlmon.h>
#include <wininet.h>

#include "classlib/ButtonControls.h"
#include "classlib/DateTimeFormat.h"
#include "classlib/EditControls.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/MemIniFile.h"
#include "classlib/Seams.h"
#include "updater/WUpdateExtract.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "rendering/HTMLabel.h"
#include "updater/wucrc32.h"

namespace WUpdate {

using namespace ClassLib;

namespace {

// Values marked for line breaks carry them as the two characters "\n".
std::wstring WithNewlines(const std::wstring& text) { return StringReplace(text, L"\\n", L"\r", rfReplaceAll); }

bool IsRTF(const std::vector<uint8_t>& bytes) {
    const std::string head(bytes.begin(), bytes.begin() + std::min<size_t>(5, bytes.size()));
    return UpperCase(AnsiToString(head)) == L"{\\RTF";
}

// The most a control file and a what's-new or licence text may be: real ones are a few
// kilobytes, and each is read whole into memory.
constexpr long long MaxControlFileSize = 4ll << 20;
constexpr long long MaxTextSize = 16ll << 20;

// Bounds the transfers of one scope to `limit` bytes each.
class TTransferLimitScope {
public:
    TTransferLimitScope(long long& limit, long long value) : FLimit(limit), FSaved(limit) { FLimit = value; }
    ~TTransferLimitScope() { FLimit = FSaved; }
    TTransferLimitScope(const TTransferLimitScope&) = delete;
    TTransferLimitScope& operator=(const TTransferLimitScope&) = delete;
private:
    long long& FLimit;
    long long FSaved;
};

std::unique_ptr<TStringList> TextLines(const std::vector<uint8_t>& bytes) {
    auto lines = std::make_unique<TStringList>();
    TTextEncoding encoding = TTextEncoding::Ansi;
    lines->SetText(TStrings::DecodeText(bytes, encoding));
    return lines;
}

}  // namespace

std::unique_ptr<TMemIniFile> TWebUpdate::ReadControlFile() const {
    auto ini = std::make_unique<TMemIniFile>();
    if (FControlFileName.empty()) return ini;
    try {
        ini->LoadFromFile(FControlFileName);
    } catch (const EFOpenError&) {
        // A control file that went missing reads as empty: every key takes its default.
    }
    return ini;
}

TDateTime TWebUpdate::ParseDateTime(const std::wstring& date, const std::wstring& time) const {
    TDateTime result = EncodeDate(1980, 1, 1);
    TDateTime converted = 0;
    if (TryStrToDateFormat(date, DateFormat(), DateSeparator(), converted)) result = converted;
    if (!time.empty() && TryStrToTimeFormat(time, TimeFormat(), TimeSeparator(), converted)) result += converted;
    return result;
}

std::wstring TWebUpdate::GetControlFileURL() {
    std::wstring url = URLGet();
    if (url.empty()) url = URL();
    return ExpandPathPrefixes(url);
}

std::wstring TWebUpdate::ControlFileFault(const TMemIniFile& ini) const {
    // A version text is read as numbers only where no checksum or size decides instead;
    // elsewhere it is a label to show.
    const auto version = [&ini](const std::wstring& section) -> std::wstring {
        const std::wstring text = ini.ReadString(section, L"newversion", L"");
        if (text.empty() || ini.ReadInteger(section, L"newchecksum", -1) != -1 || ReadSize(ini, section, L"newsize") > 0 ||
            IsVersionText(text))
            return {};
        return L"[" + section + L"] newversion=" + text;
    };
    if (std::wstring fault = version(L"update"); !fault.empty()) return fault;
    // Each listed file needs its section: a count beyond them, or beyond any real update,
    // would only make entries for nothing.
    const int count = ini.ReadInteger(L"files", L"count", 0);
    if (count > TFileList::MaxCount || (count > 0 && size_t(count) > ini.ReadSections().size()))
        return L"[files] count=" + std::to_wstring(count);
    for (int n = 1; n <= count; ++n)
        if (std::wstring fault = version(L"file" + std::to_wstring(n)); !fault.empty()) return fault;
    return {};
}

int TWebUpdate::GetControlFile() {
    FCancelled = false;
    const std::wstring url = GetControlFileURL();
    bool arrived = false;
    if (!url.empty()) {
        const TTransferLimitScope limit(FTransferLimit, MaxControlFileSize);
        arrived = URLGetFile(FHintConnect, url, WinTempDir(), false);
    }
    if (!arrived) {
        DoStatus(925, L"", 2, 0);
        return 4;
    }
    DoStatus(926, L"", 3, 0);
    FControlFileName = WinTempDir() + URLtoFile(url);
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    // A control file whose numbers cannot be right offers nothing: read as it stands, a
    // version of "-1" would be newer than every other for good.
    if (const std::wstring fault = ControlFileFault(*ini); !fault.empty()) {
        DoStatus(981, fault, 11, 12);
        return 4;
    }
    int result = 0;
    if (SignatureCheck() && ini->ReadString(L"update", L"signature", L"") != Signature()) {
        DoStatus(927, L"", 11, 4);
        result = 5;
    }
    FAppUpdate = ini->ReadInteger(L"application", L"appupdate", 0) == 1;
    FAppName = ExpandPathPrefixes(ini->ReadString(L"application", L"appname", L""));
    FAppParams = ini->ReadString(L"application", L"appparam", L"");
    if (FAppName.empty()) FAppUpdate = false;
    FireEvent(OnSetAppParams, this, FAppParams);
    if (FAppParams.empty()) FAppParams = L" ";
    FAppComps = ExpandPathPrefixes(ini->ReadString(L"application", L"appcomps", L""));
    FAppSilentRestart = ini->ReadInteger(L"application", L"silentrestart", 0) == 1;
    return result;
}

int TWebUpdate::DoVersionCheck() {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    int result = 7;
    UpdateDescription = WithNewlines(ini->ReadString(L"update", L"descr", L""));
    const std::wstring date = ini->ReadString(L"update", L"date", L"");
    if (!date.empty()) {
        DoStatus(928, L"", 3, 0);
        NewVersionDate = ParseDateTime(date, ini->ReadString(L"update", L"time", L""));
        FLocalVersionFile = ExpandPathPrefixes(ini->ReadString(L"update", L"localversion", L""));
        CurVersionDate = UpdateDateGet();
        if (NewVersionDate > CurVersionDate) {
            DoStatus(929, FormatDateTimeWith(DateFormat(), NewVersionDate, DateSeparator(), TimeSeparator()), 5, 0);
            result = 6;
        } else {
            DoStatus(930, L"", 4, 0);
        }
    }
    if (!ini->ReadString(L"update", L"unconditional", L"").empty() && result == 7) result = 8;
    if (result == 7) {
        std::wstring newVersion = ini->ReadString(L"update", L"newversion", L"");
        const long long newSize = ReadSize(*ini, L"update", L"newsize");
        std::wstring localVersion = ExpandPathPrefixes(ini->ReadString(L"update", L"localversion", L""));
        const int newCheckSum = ini->ReadInteger(L"update", L"newchecksum", -1);
        if ((!newVersion.empty() || newSize > 0 || newCheckSum != -1) && !localVersion.empty()) {
            if (newCheckSum != -1) {
                result = 10;
                DoStatus(931, L"", 3, 0);
            } else if (newSize < 1) {
                result = 11;
                DoStatus(933, L"", 3, 0);
            } else {
                result = 9;
                DoStatus(932, L"", 3, 0);
            }
            if (CompareVersion(newVersion, localVersion, newSize, newCheckSum)) {
                DoStatus(929, newVersion, 5, 0);
            } else {
                DoStatus(930, L"", 4, 0);
                result = 7;
            }
            NewVersionInfo = newVersion;
            CurVersionInfo = localVersion;
        }
    }
    if (OnCustomValidate) {
        bool allow = result != 7;
        OnCustomValidate(this, ini->ReadString(L"custom", L"validatemsg", L""),
                         ini->ReadString(L"custom", L"validateparam", L""), allow);
        result = allow ? 12 : 7;
    }
    return result;
}

bool TWebUpdate::CompareVersion(std::wstring& newVersion, std::wstring& localFile, long long newSize, int newCheckSum) {
    DoStatus(979, L"Version compare:" + newVersion + L" to local:" + localFile, 3, 0);
    if (newVersion.empty() && newSize == 0 && newCheckSum == -1) return true;
    if (localFile.empty()) return true;
    if (!FileExists(localFile)) return VersionCheck() == vcAlways;
    if (newCheckSum != -1) {
        int sum = UseCRC32() ? wucrc32::FileCRC32(localFile) : FileByteSum(localFile);
        if (sum == 0) sum = newCheckSum;
        DoStatus(944, L"Checksum compare of " + localFile + L":" + std::to_wstring(sum) + L":" +
                          std::to_wstring(newCheckSum), 3, 0);
        return sum != newCheckSum;
    }
    if (newSize > 0) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const long long size = ::GetFileAttributesExW(localFile.c_str(), GetFileExInfoStandard, &data)
                                   ? (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow
                                   : 0;
        return size != newSize && (size > 0 || VersionCheck() == vcAlways);
    }
    const tfvi local = GetFileVersion(localFile);
    const tfvi offered = ParseVersion(newVersion);
    DoStatus(944, L"Version compare of " + localFile + L":" + FormatVersion(local) + L" with " + newVersion + L":" +
                      FormatVersion(offered), 3, 0);
    // A version that cannot be read never counts as newer; a file without one is
    // outdated only when every listed file must be installed.
    if (!HasVersion(offered)) return false;
    if (!HasVersion(local) && VersionCheck() == vcUpdateOnly) return false;
    localFile = FormatVersion(local);
    newVersion = FormatVersion(offered);
    return !HasVersion(local) || IsLaterVersion(offered, local);
}

// ---- instructions

void TWebUpdate::RunProgram(const std::wstring& program, const std::wstring& params) {
    if (!program.empty()) Seams().ShellOpen(program, params);
}

int TWebUpdate::HandleActions() {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    int result = 0;
    if (const std::wstring msg = WithNewlines(ini->ReadString(L"action", L"msg", L"")); !msg.empty()) {
        DoStatus(934, L"", 3, 0);
        MessageBox(msg, MB_OK | MB_ICONINFORMATION);
    }
    if (const std::wstring page = ExpandPathPrefixes(ini->ReadString(L"action", L"htmldlg", L"")); !page.empty()) {
        DoStatus(935, L"", 7, 0);
        if (HTMLDialog) HTMLDialog(page, nullptr);
    }
    const std::wstring before = ExpandPathPrefixes(ini->ReadString(L"action", L"runbefore", L""));
    std::wstring beforeParams = ini->ReadString(L"action", L"runbeforeparam", L"");
    DoSetAppParamBefore(beforeParams);
    RunProgram(before, beforeParams);
    FireEvent(OnCustomProcess, this, ini->ReadString(L"custom", L"processmsg", L""),
              ini->ReadString(L"custom", L"processparam", L""));
    if (const std::wstring page = ExpandPathPrefixes(ini->ReadString(L"action", L"showURL", L"")); !page.empty()) {
        DoStatus(942, L"", 3, 0);
        // The proxy's credentials stay out of the address: a browser would show and keep them.
        if (!Seams().ShellOpen(L"iexplore.exe", L"-new " + page)) Seams().ShellOpen(page, L"");
    }
    if (const std::wstring query = WithNewlines(ini->ReadString(L"action", L"query", L"")); !query.empty()) {
        DoStatus(936, L"", 3, 0);
        if (MessageBox(query, MB_YESNO | MB_ICONINFORMATION) != IDYES) {
            FAppUpdate = false;
            result = -1;
        }
    }
    return FCancelled ? -1 : result;
}

int TWebUpdate::UpdateActions() {
    if (FCancelled) return -1;
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    if (FPostUpdateInfo->Enabled()) {
        bool allowPost = true;
        FireEvent(OnBeforePost, this, allowPost);
        if (allowPost) {
            DoPostUpdateInfo();
            bool allowResult = true;
            FireEvent(OnProcessPostResult, this, allowResult);
            if (!allowResult) return -1;
        }
    }
    if (FHasUpdateHistory) UpdateDatePut(NewVersionDate);
    if (const std::wstring next = ini->ReadString(L"action", L"updateURL", L""); !next.empty()) {
        DoStatus(941, L"", 3, 0);
        URLPut(next);
    }
    if (FUtility && ApplyPatch()) ExtractPatcher();
    const std::wstring after = ExpandPathPrefixes(ini->ReadString(L"action", L"runafter", L""));
    std::wstring afterParams = ini->ReadString(L"action", L"runafterparam", L"");
    DoSetAppParamAfter(afterParams);
    RunProgram(after, afterParams);
    DoStatus(948, L"", 3, 0);
    return 0;
}

void TWebUpdate::DoSetAppParamBefore(std::wstring& appParams) { FireEvent(OnSetAppParamBefore, this, appParams); }
void TWebUpdate::DoSetAppParamAfter(std::wstring& appParams) { FireEvent(OnSetAppParamAfter, this, appParams); }
void TWebUpdate::CustomProcess(const std::wstring& fileName) { FireEvent(OnFileDownloaded, this, fileName); }
void TWebUpdate::DoPostUpdateInfo() {
    TPostUpdateInfo& info = *FPostUpdateInfo;
    if (info.Server().empty() || info.Action().empty()) return;
    const TInternetHandle session(::InternetOpenW(Agent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const TInternetHandle connection(session ? ::InternetConnectW(session.get(), info.Server().c_str(), 80, nullptr,
                                                                  nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                                             : nullptr);
    if (!connection) {
        DoStatus(951, info.Server(), 16, 5);
        return;
    }
    const TInternetHandle request(::HttpOpenRequestW(connection.get(), L"POST", info.Action().c_str(), nullptr, nullptr,
                                                     nullptr, 0x7000, 1));
    if (!request) {
        DoStatus(952, info.Action(), 17, 5);
        return;
    }
    info.PostResult.clear();
    static const char header[] = "Content-Type: application/x-www-form-urlencoded";
    std::string body = info.Data();
    if (!::HttpSendRequestA(request.get(), header, DWORD(sizeof header - 1), body.data(), DWORD(body.size()))) return;
    char block[4096];
    for (;;) {
        ProcessMessages();
        DWORD got = 0;
        if (!::InternetReadFile(request.get(), block, sizeof block, &got) || got == 0) break;
        info.PostResult.append(block, got);
    }
}

// ---- what's new and licence texts

std::unique_ptr<TMemoryStream> TWebUpdate::GetTextStream(bool whatsNew) {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    std::wstring url = ini->ReadString((whatsNew ? L"whatsnew" : L"eula") + LanguageID(), L"file", L"");
    if (url.empty()) return nullptr;
    if (whatsNew) {
        const std::wstring description = url;
        FireEvent(OnBeforeFileDownload, this, 0, description, url);
    }
    DoStatus(whatsNew ? 937 : 939, L"", whatsNew ? 12 : 13, 0);
    {
        const TTransferLimitScope limit(FTransferLimit, MaxTextSize);
        if (!URLGetFile(FHintConnect, url, WinTempDir(), false)) return nullptr;
    }
    const std::wstring local = WinTempDir() + URLtoFile(url);
    auto stream = std::make_unique<TMemoryStream>();
    try {
        stream->LoadFromFile(local);
    } catch (const Exception&) {
        stream.reset();
    }
    ::DeleteFileW(local.c_str());
    return stream;
}

std::unique_ptr<TMemoryStream> TWebUpdate::GetWhatsNewStream() { return GetTextStream(true); }
std::unique_ptr<TMemoryStream> TWebUpdate::GetEULAStream() { return GetTextStream(false); }

std::unique_ptr<TStringList> TWebUpdate::GetWhatsNew() {
    std::unique_ptr<TMemoryStream> stream = GetWhatsNewStream();
    return stream ? TextLines(stream->Bytes()) : nullptr;
}

std::unique_ptr<TStringList> TWebUpdate::GetEULA() {
    std::unique_ptr<TMemoryStream> stream = GetEULAStream();
    return stream ? TextLines(stream->Bytes()) : nullptr;
}

namespace {

// The dialog frame both texts share: 400 x 400, centred, a read-only text that wraps
// (rich edit for RTF, a memo otherwise) at 10, 10, and room below it for the buttons.
// HTML when the text holds a closing tag, in any letter case.
bool IsHTMLText(const std::vector<uint8_t>& bytes) {
    const std::unique_ptr<TStringList> lines = TextLines(bytes);
    return lines->Text().find(L"</") != std::wstring::npos;
}

std::unique_ptr<TForm> CreateTextForm(const std::wstring& caption, const std::vector<uint8_t>& text, TRect& content) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetBounds(0, 0, 400, 400);
    form->SetText(caption);
    content = TRect(10, 10, form->ClientWidth() - 10, form->ClientHeight() - 50);
    if (!IsRTF(text) && IsHTMLText(text)) {
        // The label sizes itself to the text inside a borderless box that holds it.
        auto* box = new TPanel(form.get());
        box->SetName(L"Content");
        box->SetParent(form.get());
        box->SetBevelOuter(bvNone);
        box->SetBounds(content.Left, content.Top, content.Width(), content.Height());
        auto* label = new HTMLabel::THTMLabel(box);
        label->SetName(L"ContentLabel");
        label->SetParent(box);
        label->SetAlign(alTop);
        TMemoryStream stream;
        if (!text.empty()) stream.Write(text.data(), int(text.size()));
        stream.SetPosition(0);
        label->HTMLText()->LoadFromStream(&stream);
        label->SetAutoSizing(true);
        return form;
    }
    TMemo* memo = IsRTF(text) ? new TRichEdit(form.get()) : new TMemo(form.get());
    memo->SetName(L"Content");
    memo->SetParent(form.get());
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    if (auto* rich = dynamic_cast<TRichEdit*>(memo))
        rich->SetRTF(std::string(text.begin(), text.end()));
    else
        memo->SetLines(TextLines(text).get());
    memo->SetBounds(content.Left, content.Top, content.Width(), content.Height());
    return form;
}

TButton* AddButton(TForm& form, const std::wstring& name, const std::wstring& caption, int left, int top, int tabOrder,
                   TModalResult result) {
    auto* button = new TButton(&form);
    button->SetName(name);
    button->SetParent(&form);
    button->SetText(caption);
    button->SetLeft(left);
    button->SetTop(top);
    button->SetTabOrder(tabOrder);
    button->SetModalResult(result);
    return button;
}

}  // namespace

std::unique_ptr<TForm> TWebUpdate::CreateWhatsNewForm(const std::vector<uint8_t>& text) {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    TRect content;
    std::unique_ptr<TForm> form =
        CreateTextForm(ini->ReadString(L"whatsnew", L"caption", L"What's new"), text, content);
    const int buttonWidth = 75;
    const int top = content.Bottom + 10;
    TButton* ok = AddButton(*form, L"OkButton", ini->ReadString(L"whatsnew", L"okbtn", L"Ok"),
                            content.Right - 2 * buttonWidth - 10, top, 0, mrOk);
    ok->SetDefault(true);
    TButton* cancel = AddButton(*form, L"CancelButton", ini->ReadString(L"whatsnew", L"cancelbtn", L"Cancel"),
                                content.Right - buttonWidth, top, 1, mrCancel);
    cancel->SetCancel(true);
    return form;
}

std::unique_ptr<TForm> TWebUpdate::CreateEULAForm(const std::vector<uint8_t>& text) {
    const std::unique_ptr<TMemIniFile> ini = ReadControlFile();
    TRect content;
    std::unique_ptr<TForm> form = CreateTextForm(ini->ReadString(L"eula", L"caption", L""), text, content);
    const int top = content.Bottom + 10;
    TButton* ok = AddButton(*form, L"OkButton", ini->ReadString(L"eula", L"okbtn", L"Ok"), 0, top, 0, mrOk);
    ok->SetLeft(content.Right - ok->Width());
    ok->SetDefault(true);
    auto* accept = new TRadioButton(form.get());
    accept->SetName(L"AcceptRadio");
    accept->SetParent(form.get());
    accept->SetText(ini->ReadString(L"eula", L"accept", L"I accept"));
    accept->SetLeft(10);
    accept->SetTop(top);
    accept->SetTabOrder(1);
    auto* refuse = new TRadioButton(form.get());
    refuse->SetName(L"NotAcceptRadio");
    refuse->SetParent(form.get());
    refuse->SetText(ini->ReadString(L"eula", L"notaccept", L"I do not accept"));
    refuse->SetLeft(accept->Width() + 20);
    refuse->SetTop(top);
    refuse->SetTabOrder(2);
    refuse->SetChecked(true);
    return form;
}

int TWebUpdate::WhatsNewDialog(TMemoryStream* ms) {
    const std::vector<uint8_t>& bytes = ms->Bytes();
    if (OnDownloadedWhatsNew && !IsRTF(bytes)) {
        std::unique_ptr<TStringList> lines = TextLines(bytes);
        int res = 1;
        OnDownloadedWhatsNew(this, lines.get(), res);
        return res == 1 ? 0 : -1;
    }
    std::unique_ptr<TForm> form = CreateWhatsNewForm(bytes);
    if (ExecuteDialog(*form) == mrCancel) {
        DoStatus(938, L"", 14, 0);
        return -1;
    }
    return 0;
}

int TWebUpdate::EULADialog(TMemoryStream* ms) {
    const std::vector<uint8_t>& bytes = ms->Bytes();
    int result = 0;
    if (OnDownloadedEULA) {
        std::unique_ptr<TStringList> lines = TextLines(bytes);
        int res = 1;
        OnDownloadedEULA(this, lines.get(), res);
        if (res != 1) result = -1;
        if (IsRTF(bytes)) return result;
    }
    std::unique_ptr<TForm> form = CreateEULAForm(bytes);
    ExecuteDialog(*form);
    const auto* accept = dynamic_cast<TRadioButton*>(form->FindComponent(L"AcceptRadio"));
    if (!accept || !accept->Checked()) result = -1;
    return result;
}

// ---- the HTML dialog

bool PlatformHTMLDialog(const std::wstring& url, HWND parent) {
    const HMODULE library = ::LoadLibraryW(L"mshtml.dll");
    if (!library) return false;
    struct TFree {
        HMODULE Library;
        ~TFree() { ::FreeLibrary(Library); }
    } free{library};
    const auto show = reinterpret_cast<SHOWHTMLDIALOGFN*>(reinterpret_cast<void*>(::GetProcAddress(library, "ShowHTMLDialog")));
    if (!show) return false;
    IMoniker* moniker = nullptr;
    if (FAILED(::CreateURLMoniker(nullptr, url.c_str(), &moniker)) || !moniker)
        throw Exception(L"Cannot open \"" + url + L"\" in the HTML dialog: the address is not valid.");
    VARIANT argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = ::SysAllocString(L"");
    const HRESULT shown = show(parent, moniker, &argument, nullptr, nullptr);
    ::VariantClear(&argument);
    moniker->Release();
    if (FAILED(shown))
        throw Exception(L"Cannot show \"" + url + L"\" in the HTML dialog (error " + IntToHex(uint32_t(shown), 8) + L").");
    return true;
}

void TWebUpdate::ShowHTMLDialog(const std::wstring& s) {
    HWND parent = nullptr;
    if (auto* control = dynamic_cast<TWinControl*>(Owner()); control && control->HandleAllocated())
        parent = control->Handle();
    if (HTMLDialog) HTMLDialog(s, parent);
}

}  // namespace WUpdate
