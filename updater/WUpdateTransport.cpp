// The updater's transports: the WinInet session with optional dial-up, HTTP and HTTPS
// downloads, local and network copies, and putting a downloaded file into place.
#include "updater/WUpdate.h"

#include <wininet.h>

#include <memory>

#include "classlib/FileNames.h"
#include "classlib/ProgressBar.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/Strings.h"
#include "updater/WUpdateExtract.h"
#include "updater/WUpdateRestart.h"
#include "updater/WUpdateSftp.h"
#include "updater/WuBase64.h"
#include "updater/WuLogin.h"

namespace WUpdate {

using namespace ClassLib;

void TInternetCloser::operator()(void* handle) const noexcept { ::InternetCloseHandle(handle); }

namespace {

// A number from HttpQueryInfo, or -1 when the answer has none.
long long QueryNumber(HINTERNET request, DWORD info) {
    DWORD value = 0, size = sizeof value, index = 0;
    if (!::HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index)) return -1;
    return value;
}

// InternetReadFile on an HTTP answer waits until the whole buffer is filled: a server that
// sends a byte now and then would hold one read for good, and no deadline could end it.
// Asked first what has arrived, each read returns within the receive time-out.
std::function<long long(uint8_t*, size_t)> HttpReader(HINTERNET handle) {
    return [handle](uint8_t* buffer, size_t size) -> long long {
        DWORD available = 0, got = 0;
        if (!::InternetQueryDataAvailable(handle, &available, 0, 0)) return -1;
        if (available == 0) return 0;
        if (!::InternetReadFile(handle, buffer, DWORD(std::min<size_t>(size, available)), &got)) return -1;
        return got;
    };
}

std::function<long long(uint8_t*, size_t)> InternetReader(HINTERNET handle) {
    return [handle](uint8_t* buffer, size_t size) -> long long {
        DWORD got = 0;
        if (!::InternetReadFile(handle, buffer, DWORD(size), &got)) return -1;
        return got;
    };
}

template <class F>
F LookUp(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

// ---- addresses

std::wstring URLFileName(const std::wstring& url) {
    std::wstring name = url;
    if (const size_t slash = name.rfind(L'/'); slash != std::wstring::npos) name.erase(0, slash + 1);
    if (const size_t backslash = name.rfind(L'\\'); backslash != std::wstring::npos) name.erase(0, backslash + 1);
    if (const size_t query = name.find(L'?'); query != std::wstring::npos) name.erase(query);
    return name;
}

std::wstring URLToDomain(const std::wstring& url) {
    std::wstring host = url;
    if (const size_t scheme = host.find(L"://"); scheme != std::wstring::npos) host.erase(0, scheme + 3);
    if (const size_t slash = host.find(L'/'); slash != std::wstring::npos) host.erase(slash);
    if (const size_t backslash = host.find(L'\\'); backslash != std::wstring::npos) host.erase(backslash);
    return host;
}

std::wstring MakeProxyUrl(const std::wstring& url, const std::wstring& proxyUser, const std::wstring& proxyPassword) {
    if (proxyUser.empty() || UpperCase(url.substr(0, 7)) != L"HTTP://") return url;
    return L"http://" + proxyUser + L":" + proxyPassword + L"@" + url.substr(7);
}

std::wstring TWebUpdate::URLtoFile(const std::wstring& url) {
    std::wstring name = URLFileName(url);
    FireEvent(OnFileNameFromURL, this, url, name);
    return name;
}

std::wstring TWebUpdate::WinTempDir() const {
    return UseWinTempDir() ? IncludeTrailingPathDelimiter(GetTempDir()) : IncludeTrailingPathDelimiter(TempDirectory());
}

// ---- connection

TDialUpFunctions PlatformDialUp() {
    using TGetConnectedState = BOOL(WINAPI*)(LPDWORD, DWORD);
    using TAutodial = BOOL(WINAPI*)(DWORD, HWND);
    using TAutodialHangup = BOOL(WINAPI*)(DWORD);
    const HMODULE wininet = ::LoadLibraryW(L"wininet.dll");
    const auto getState = LookUp<TGetConnectedState>(wininet, "InternetGetConnectedState");
    const auto autodial = LookUp<TAutodial>(wininet, "InternetAutodial");
    const auto hangup = LookUp<TAutodialHangup>(wininet, "InternetAutodialHangup");
    TDialUpFunctions functions;
    functions.GetConnectedState = [getState](unsigned long* flags) {
        DWORD state = 0;
        const bool connected = getState ? getState(&state, 0) != FALSE : true;
        if (flags) *flags = state;
        return connected;
    };
    functions.Autodial = [autodial](unsigned long flags) { return autodial && autodial(flags, nullptr) != FALSE; };
    functions.AutodialHangup = [hangup] { return hangup && hangup(0) != FALSE; };
    return functions;
}

bool TWebUpdate::Connected() {
    if (URL().find(L"127.0.0.1") != std::wstring::npos) return true;
    unsigned long flags = 0;
    return !DialUp.GetConnectedState || DialUp.GetConnectedState(&flags);
}

int TWebUpdate::ConnectionType() {
    unsigned long flags = 0;
    if (!DialUp.GetConnectedState) return 0;
    return DialUp.GetConnectedState(&flags) ? int(flags) : -1;
}

void TWebUpdate::HangUp() {
    if (Connected() && DialUp.AutodialHangup) DialUp.AutodialHangup();
}

int TWebUpdate::StartConnection() {
    if (UpdateType() == ftpUpdate && FHintConnect) ::InternetCloseHandle(FHintConnect);
    if (FSession) ::InternetCloseHandle(FSession);
    FSession = nullptr;
    FHintConnect = nullptr;
    if (UpdateType() == fileUpdate) return 0;
    DoStatus(918, L"", 3, 0);
    if (UpdateConnect() == wucNone) return 0;
    if (!Connected() && UpdateConnect() == wucNoConnect) return 1;
    const auto dial = [this](int ident, unsigned long flags) {
        DoStatus(ident, L"", 3, 0);
        if (!DialUp.Autodial || !DialUp.Autodial(flags)) {
            DoStatus(953, L"", 3, 0);
            return false;
        }
        FDialedUp = true;
        return true;
    };
    const TWebUpdateConnect mode = UpdateConnect();
    if (!Connected() && (mode == wucConnectPrompt || mode == wucConnectPromptHangup))
        if (!dial(919, 1 /* force online */)) return 3;
    if (!Connected() && (mode == wucConnectSilent || mode == wucConnectSilentHangup))
        if (!dial(920, 2 /* force unattended */)) return 3;
    DoStatus(921, L"", 3, 0);
    FSession = Proxy().empty()
                   ? ::InternetOpenW(Agent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)
                   : ::InternetOpenW(Agent().c_str(), INTERNET_OPEN_TYPE_PROXY, Proxy().c_str(), nullptr, 0);
    if (!FSession) {
        Error();
        DoStatus(922, L"", 1, 0);
        return 2;
    }
    if (TimeOut() > 0) {
        DWORD value = DWORD(TimeOut());
        ::InternetSetOptionW(FSession, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value);
    }
    if (ReceiveTimeOut() > 0) {
        DWORD value = DWORD(ReceiveTimeOut());
        ::InternetSetOptionW(FSession, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
    }
    if (UpdateType() == httpUpdate) FHintConnect = FSession;
    FInProgress = true;
    return 0;
}

int TWebUpdate::StopConnection() {
    if (UpdateType() != fileUpdate) {
        if (UpdateType() == sftpUpdate && FSftp) FSftp.reset();
        if (UpdateType() == ftpUpdate && FHintConnect) {
            ::InternetCloseHandle(FHintConnect);
            FHintConnect = nullptr;
            DoStatus(954, L"", 3, 0);
        }
        if (FSession) {
            ::InternetCloseHandle(FSession);
            FSession = nullptr;
            DoStatus(949, L"", 3, 0);
        }
        FHintConnect = nullptr;
        const TWebUpdateConnect mode = UpdateConnect();
        if (FDialedUp && (mode == wucConnectPromptHangup || mode == wucConnectSilentHangup)) {
            if (DialUp.AutodialHangup) DialUp.AutodialHangup();
            FDialedUp = false;
            DoStatus(955, L"", 3, 0);
        }
        DoStatus(949, L"", 3, 0);
    }
    if (!FControlFileName.empty()) ::DeleteFileW(FControlFileName.c_str());
    FInProgress = false;
    return 0;
}

int TWebUpdate::FTPConnect() {
    FFTPFolderSet = false;
    DoStatus(923, Host(), 3, 0);
    if (UpdateType() == sftpUpdate) return SftpConnect();
    if (UpdateType() != ftpUpdate || !FSession) return -1;
    if ((Authenticate() == waAlways || (Authenticate() == waAuto && (UserID().empty() || Password().empty()))) &&
        !AskLogin(URL()))
        return -1;
    const bool login = !UserID().empty() && !Password().empty();
    if (FHintConnect) ::InternetCloseHandle(FHintConnect);
    FHintConnect = ::InternetConnectW(static_cast<HINTERNET>(FSession), Host().c_str(), INTERNET_PORT(Port()),
                                      login ? UserID().c_str() : nullptr, login ? Password().c_str() : nullptr,
                                      INTERNET_SERVICE_FTP, FTPPassive() ? INTERNET_FLAG_PASSIVE : 0, 0);
    return FHintConnect ? 0 : -1;
}

int TWebUpdate::SftpConnect() {
    FSftp = std::make_unique<TSftpLink>(
        [this](int ident, const std::wstring& text, int statusCode, int errCode) { DoStatus(ident, text, statusCode, errCode); });
    if (!FSftp->Connect(Host(), Port()) || !FSftp->StartSession(this)) return -1;
    ProcessMessages();
    if ((Authenticate() == waAlways || (Authenticate() == waAuto && (UserID().empty() || Password().empty()))) &&
        !AskLogin(URL()))
        return -1;
    if (UserID().empty() || Password().empty()) return -1;
    if (!FSftp->Login(StringToAnsi(UserID()), StringToAnsi(Password()))) return -1;
    ProcessMessages();
    return FSftp->OpenChannel() ? 0 : -1;
}

bool TWebUpdate::HasConnection() const { return FHintConnect || (FSftp && FSftp->HasChannel()); }

bool TWebUpdate::AskLogin(const std::wstring& url) {
    std::wstring user = UserID(), password = Password();
    if (!LoginDialog(L"Connect to " + URLToDomain(url), user, password)) {
        DoStatus(956, L"Authentication cancelled", 0, 0);
        return false;
    }
    SetUserID(user);
    SetPassword(password);
    return true;
}

void TWebUpdate::SetProxyCredentials(void* request) {
    if (Proxy().empty() || ProxyUserID().empty()) return;
    ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_USERNAME, const_cast<wchar_t*>(ProxyUserID().c_str()),
                         DWORD(ProxyUserID().size()));
    ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_PASSWORD, const_cast<wchar_t*>(ProxyPassword().c_str()),
                         DWORD(ProxyPassword().size()));
}

bool TWebUpdate::LoginDialog(const std::wstring& caption, std::wstring& userName, std::wstring& password) {
    bool answered = false;
    TThread::Synchronize([&] { answered = WuLogin::ShowLoginDialog(caption, userName, password); });
    return answered;
}

// ---- progress

void TWebUpdate::DoFileProgress(const std::wstring& fileName, long long pos, long long size) {
    if (FProgressForm) {
        const TBarRange bar = ProgressBarRange(pos, size);
        FProgressForm->ProgressBar->SetRange(0, bar.Max);
        FProgressForm->ProgressBar->SetPosition(bar.Position);
        std::wstring label = StatusText(977);
        label.replace(label.find(L"%s"), 2, ExtractFileName(fileName));
        FProgressForm->Label->SetText(label);
        FProgressForm->SetText(StatusText(978));
    }
    FireEvent(OnFileProgress, this, fileName, pos, size);
}

void TWebUpdate::DoProgressCancel(bool& cancel) {
    FireEvent(OnProgressCancel, this, cancel);
    if (cancel) DoStatus(964, L"", 0, 0);
}

// ---- downloads

bool TWebUpdate::PutInPlace(const std::wstring& tempName, const std::wstring& target, bool localCopyTexts) {
    DWORD code = 0;
    // One move: a target that cannot be replaced keeps its old file.
    if (ReplaceFile(tempName, target, code)) return true;
    // No failure leaves the temporary file behind.
    if (!::DeleteFileW(tempName.c_str())) AddToLog(L"Unable to delete file " + tempName);
    if (FileExists(target)) {
        DoStatus(972, localCopyTexts ? L"Delete error " + std::to_wstring(code) + L" for " + target : target, 19, 6);
        AddToLog(L"Unable to delete file " + target);
    } else {
        DoStatus(973, localCopyTexts ? L"Rename file error " + std::to_wstring(code) + L" for " + tempName
                                     : tempName + L" to " + target,
                 19, 7);
        if (!localCopyTexts) AddToLog(L"Unable to rename file " + tempName + L" to " + target);
    }
    return false;
}

bool TWebUpdate::LocalCopy(const std::wstring& source, const std::wstring& target) {
    if (source == target) {
        DoStatus(912, source, 10, 3);
        return false;
    }
    TFileHandle input = OpenFile(source, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!input) {
        DoStatus(913, source, 2, 1);
        return false;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(input.get(), &size)) {
        DoStatus(914, source, 10, 2);
        return false;
    }
    if (FTransferLimit > 0 && size.QuadPart > FTransferLimit) {
        ReportStop(source, L"more than " + std::to_wstring(FTransferLimit) + L" bytes");
        return false;
    }
    const std::wstring tempName = CreateTempFileIn(DownloadFolder(), L"WUPD");
    if (tempName.empty()) return false;
    bool failed = false, cancel = false;
    {
        TFileHandle output = OpenFile(tempName, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!output) {
            ::DeleteFileW(tempName.c_str());
            return false;
        }
        std::vector<uint8_t> block(32768);
        long long copied = 0;
        while (true) {
            DWORD got = 0, written = 0;
            if (!::ReadFile(input.get(), block.data(), DWORD(block.size()), &got, nullptr)) {
                failed = true;
                break;
            }
            if (got == 0) break;
            if (!::WriteFile(output.get(), block.data(), got, &written, nullptr) || written != got) {
                failed = true;
                break;
            }
            copied += got;
            DoFileProgress(source, copied, size.QuadPart);
            DoProgressCancel(cancel);
            ProcessMessages();
            if (cancel) break;
        }
    }
    FCancelled = cancel;
    if (cancel || failed) {
        if (!::DeleteFileW(tempName.c_str()))
            DoStatus(972, L"Delete error " + std::to_wstring(::GetLastError()) + L" for " + tempName, 19, 6);
        return false;
    }
    return PutInPlace(tempName, target, true);
}

namespace {

// The parts of an http or https address that a request needs; false for anything else.
struct THttpAddress {
    std::wstring Host, Object;
    INTERNET_PORT Port = 0;
    bool Secure = false;
};

bool CrackHttpAddress(const std::wstring& url, THttpAddress& address) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    std::wstring path(url.size() + 1, L'\0'), extra(url.size() + 1, L'\0');
    parts.lpszHostName = host;
    parts.dwHostNameLength = DWORD(std::size(host));
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = DWORD(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = DWORD(extra.size());
    if (!::InternetCrackUrlW(url.c_str(), DWORD(url.size()), 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    address.Host = host;
    address.Object = std::wstring(path.c_str()) + extra.c_str();
    address.Port = parts.nPort;
    address.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

// A header of an answer as text, or empty.
std::wstring QueryText(HINTERNET request, DWORD info) {
    DWORD size = 0, index = 0;
    ::HttpQueryInfoW(request, info, nullptr, &size, &index);
    if (size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    index = 0;
    if (!::HttpQueryInfoW(request, info, text.data(), &size, &index)) return {};
    return text.c_str();
}

// Where a redirect points: its Location against the address that was asked for.
std::wstring RedirectTarget(HINTERNET request, const std::wstring& from) {
    const std::wstring location = QueryText(request, HTTP_QUERY_LOCATION);
    if (location.empty()) return {};
    std::wstring combined(INTERNET_MAX_URL_LENGTH + 1, L'\0');
    DWORD length = DWORD(combined.size());
    if (!::InternetCombineUrlW(from.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE)) return {};
    combined.resize(length);
    return combined;
}

bool IsRedirect(long long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

bool TWebUpdate::HttpGetFile(void* hfile, const std::wstring& url, const std::wstring& target, bool& cancel) {
    // Redirects are followed here, not by WinInet, so that each new address is seen
    // before anything is sent to it.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (HTTPKeepAliveAuthentication()) flags |= INTERNET_FLAG_KEEP_CONNECTION;
    if (ExistingConnection()) flags |= INTERNET_FLAG_EXISTING_CONNECT;
    if (CertCheck() == ccDisable) flags |= 0x00013100;
    const auto askLogin = [&] { return AskLogin(url); };
    if (Authenticate() == waAlways && (UserID().empty() || Password().empty()) && !askLogin()) return false;

    constexpr int MaxRedirects = 10;
    std::wstring current = url;
    THttpAddress address;
    bool sameHost = true;   // the user's credentials go only to the host they were given for
    TInternetHandle connection, request;
    for (int redirects = 0; hfile && CrackHttpAddress(current, address);) {
        std::wstring headers;
        if (sameHost && (!UserID().empty() || !Password().empty()))
            headers = L"Authorization: Basic " + WuBase64::Base64Encode(UserID() + L":" + Password()) + L"\r\n\r\n";
        connection.reset(::InternetConnectW(static_cast<HINTERNET>(hfile), address.Host.c_str(), address.Port, nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0));
        if (connection)
            request.reset(::HttpOpenRequestW(connection.get(), L"GET", address.Object.c_str(), nullptr, nullptr, nullptr,
                                             flags | (address.Secure ? INTERNET_FLAG_SECURE : 0), 0));
        if (request) SetProxyCredentials(request.get());
        if (request && ReceiveTimeOut() > 0) {
            // Wine: a receive time-out set on the session does not reach the reads of
            // a request; set here, it ends a stalled read.
            DWORD value = DWORD(ReceiveTimeOut());
            ::InternetSetOptionW(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
        }
        if (request && address.Secure) {
            // Wine: the session's security flags do not reach a request, and opening by
            // URL fails a self-signed server (12045) whatever the flags; set on this
            // request before sending, they let it through. A checking request clears
            // them, so nothing carried over from an earlier request skips the check.
            const DWORD ignore = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                 SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
            DWORD security = 0, size = sizeof security;
            ::InternetQueryOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security, &size);
            security = CertCheck() == ccDisable ? security | ignore : security & ~ignore;
            ::InternetSetOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security, sizeof security);
        }
        if (request && !::HttpSendRequestW(request.get(), headers.empty() ? nullptr : headers.c_str(),
                                           DWORD(headers.size()), nullptr, 0)) {
            const DWORD code = ::GetLastError();
            request.reset();
            ::SetLastError(code);   // for Error(): closing the handle may change it
        }
        if (!request) break;
        const long long status = QueryNumber(request.get(), HTTP_QUERY_STATUS_CODE);
        if (status == 401 && Authenticate() == waAuto && sameHost) {
            if (!askLogin()) return false;
            request.reset();
            continue;
        }
        if (!IsRedirect(status) || Stopped()) break;
        const std::wstring next = RedirectTarget(request.get(), current);
        THttpAddress nextAddress;
        if (next.empty() || !CrackHttpAddress(next, nextAddress) || ++redirects > MaxRedirects) break;
        // Servers move, but an address that came over an encrypted line is not handed to a
        // plain one: what the plain server sent could not be trusted.
        if (address.Secure && !nextAddress.Secure) {
            DoStatus(983, (HideURLInLogFile() ? URLToDomain(next) : next) + L": a redirect from https to http is refused",
                     20, 11);
            return false;
        }
        DoStatus(982, HideURLInLogFile() ? URLToDomain(next) : next, 3, 0);
        sameHost = sameHost && CompareText(URLToDomain(next), URLToDomain(url)) == 0;
        current = next;
        request.reset();
    }
    if (!request) {
        Error();
        DoStatus(917, url, 2, 1);
        return false;
    }
    if (const long long status = QueryNumber(request.get(), HTTP_QUERY_STATUS_CODE); status > 299) {
        DoStatus(916, std::to_wstring(status), 6, int(status));
        return false;
    }
    // As text: a length beyond 4 GB does not fit the number form.
    long long length = 0;
    if (!TryStrToInt64(QueryText(request.get(), HTTP_QUERY_CONTENT_LENGTH), length) || length < 0) length = 0;
    return ReceiveDownload(HttpReader(request.get()), url, target, length, true, cancel);
}

bool TWebUpdate::FtpDownload(void* hfile, const std::wstring& url, const std::wstring& target, bool& cancel) {
    const std::wstring name = URLtoFile(url);
    const HINTERNET connection = static_cast<HINTERNET>(hfile);
    if (!FTPDirectory().empty() && !FFTPFolderSet) {
        const std::wstring folder = ExpandPathPrefixes(FTPDirectory());
        DoStatus(974, folder, 3, 0);
        if (!connection || !::FtpSetCurrentDirectoryW(connection, folder.c_str())) {
            DoStatus(975, folder, 3, 8);
            return false;
        }
        FFTPFolderSet = true;
    }
    long long size = 0;
    TInternetHandle file;
    if (connection) {
        WIN32_FIND_DATAW found{};
        TInternetHandle search(::FtpFindFirstFileW(connection, name.c_str(), &found,
                                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
        if (search)
            size = (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        else
            DoStatus(925, name, 11, int(::GetLastError()));
        search.reset();   // one transfer at a time on an FTP connection
        file.reset(::FtpOpenFileW(connection, name.c_str(), GENERIC_READ,
                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | FTP_TRANSFER_TYPE_BINARY, 0));
        if (!file) {
            const DWORD code = ::GetLastError();
            DoStatus(946, name, 13, int(code));
            ::SetLastError(code);   // for Error()
        }
    }
    if (!file) {
        Error();
        DoStatus(917, url, 2, 1);
        return false;
    }
    return ReceiveDownload(InternetReader(file.get()), url, target, size, false, cancel);
}

bool TWebUpdate::SftpDownload(const std::wstring& url, const std::wstring& target, bool& cancel) {
    const std::wstring name = URLtoFile(url);
    const auto remote = [this](const std::wstring& path) { return StringToAnsi(path, CodePage()); };
    std::wstring folder;
    if (!FTPDirectory().empty()) {
        folder = ExpandPathPrefixes(FTPDirectory());
        DoStatus(974, folder, 3, 0);
        if (FSftp && FSftp->HasChannel() && !FSftp->FolderOpens(remote(folder))) {
            DoStatus(975, folder, 3, 8);
            return false;
        }
    }
    const std::string path = remote(SftpRemotePath(folder, name));
    long long size = 0;
    TSftpFile file;
    if (FSftp && FSftp->FileSize(path, size)) {
        file = FSftp->OpenForReading(path);
        if (!file) DoStatus(946, name, 13, int(FSftp->LastSftpError()));
    }
    if (!file) {
        Error();
        DoStatus(917, url, 2, 1);
        return false;
    }
    return ReceiveDownload([&file](uint8_t* buffer, size_t count) { return file.Read(buffer, count); }, url, target,
                           size, false, cancel);
}

bool TWebUpdate::PastDeadline(uint32_t started, long long received) const {
    const uint32_t now = Seams().TickCount();
    if (FCheckEnds && int32_t(now - FCheckEnd) > 0) return true;
    if (TotalTimeOut() <= 0) return false;
    // A transfer that keeps delivering earns its time: a second for every 4 KB received.
    const long long allowed = TotalTimeOut() + received * 1000 / 4096;
    return (long long)(uint32_t(now - started)) > allowed;
}

void TWebUpdate::ReportStop(const std::wstring& url, const std::wstring& why) {
    DoStatus(983, (HideURLInLogFile() ? URLFileName(url) : url) + L": " + why, 20, 11);
}

bool TWebUpdate::ReceiveDownload(const TBlockReader& read, const std::wstring& url, const std::wstring& target,
                                 long long length, bool checkLength, bool& cancel) {
    // Every number the server sends is a bound to check, never a size to trust.
    if (FTransferLimit > 0 && length > FTransferLimit) {
        ReportStop(url, L"announces " + std::to_wstring(length) + L" bytes, more than " +
                            std::to_wstring(FTransferLimit));
        return false;
    }
    const std::wstring tempName = CreateTempFileIn(DownloadFolder(), L"WUPD");
    if (tempName.empty()) return false;
    const uint32_t started = Seams().TickCount();
    long long received = 0;
    bool failed = false, arrived = false;
    cancel = FCancelled || FAborted;
    {
        TFileHandle output = OpenFile(tempName, GENERIC_WRITE, 0, CREATE_ALWAYS);
        failed = !output;
        // Network reads stay 4096 bytes, so progress and cancel come as often as before;
        // the file gets them 64 KB at a time.
        std::vector<uint8_t> pending;
        pending.reserve(65536);
        const auto flush = [&] {
            DWORD written = 0;
            const bool ok = pending.empty() ||
                            (::WriteFile(output.get(), pending.data(), DWORD(pending.size()), &written, nullptr) &&
                             written == pending.size());
            pending.clear();
            return ok;
        };
        uint8_t block[4096];
        while (!failed && !cancel) {
            const long long got = read(block, sizeof block);
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0) break;
            received += got;
            if (length > 0 && received > length) {
                DoStatus(908, url, 20, 10);   // more than announced: the rest is not written
                failed = true;
                break;
            }
            if (FTransferLimit > 0 && received > FTransferLimit) {
                ReportStop(url, L"more than " + std::to_wstring(FTransferLimit) + L" bytes");
                failed = true;
                break;
            }
            pending.insert(pending.end(), block, block + got);
            if (pending.size() + sizeof block > pending.capacity() && !flush()) {
                failed = true;
                break;
            }
            arrived = true;
            ProcessMessages();
            DoFileProgress(target, received, length);
            cancel = FCancelled || FAborted;
            DoProgressCancel(cancel);
            if (!cancel && PastDeadline(started, received)) {
                ReportStop(url, L"no end after " + std::to_wstring((Seams().TickCount() - started) / 1000) + L" s");
                failed = true;
            }
        }
        if (!failed && !cancel && !flush()) failed = true;
    }
    FCancelled = cancel;
    if (checkLength && length > 0 && !failed && !cancel && received != length) {
        DoStatus(908, url, 20, 10);
        failed = true;
    }
    // An empty body counts as a failed download; it is not put in place either, so a
    // False result never leaves a file behind.
    if (cancel || failed || !arrived) {
        if (!::DeleteFileW(tempName.c_str())) AddToLog(L"Unable to delete file " + tempName);
        return false;
    }
    return PutInPlace(tempName, target, false);
}

bool TWebUpdate::URLGetFile(void* hfile, const std::wstring& url, const std::wstring& tgt, bool uncompress) {
    const std::wstring name = URLtoFile(url);
    DoStatus(915, HideURLInLogFile() ? name : url, 3, 0);
    if (FAborted) return false;
    if (FCheckEnds && PastDeadline(Seams().TickCount(), 0)) {
        ReportStop(url, L"the check took longer than " + std::to_wstring(TotalTimeOut() / 1000) + L" s");
        return false;
    }
    // The name is joined to a folder: one with a folder part, a drive or a device would
    // put the file elsewhere.
    if (!IsPlainFileName(name)) {
        DoStatus(917, url, 2, 1);
        return false;
    }
    if (OnBeforeUrlToFile) {
        bool handled = false, success = false;
        OnBeforeUrlToFile(hfile, url, tgt, uncompress, handled, success);
        if (handled && FileExists(tgt + name)) {
            FireEvent(OnFileDownloaded, this, tgt + name);
            if (uncompress && !UnpackByName(tgt + name, tgt)) return false;
            return success;
        }
    }
    if (UpdateType() == fileUpdate) {
        const bool namesFile = !tgt.empty() && tgt.back() != L'\\' && !DirectoryExists(tgt);
        const std::wstring target = namesFile ? tgt : IncludeTrailingPathDelimiter(tgt) + name;
        if (!LocalCopy(url, target)) return false;
        FireEvent(OnFileDownloaded, this, target);
        return !uncompress || UnpackByName(target, ExtractFilePath(target));
    }
    // The proxy's credentials go to each request as options, never into the address.
    const std::wstring target = tgt + name;
    bool cancel = false;
    const bool arrived = UpdateType() == sftpUpdate ? SftpDownload(url, target, cancel)
                         : UpdateType() == ftpUpdate ? FtpDownload(hfile, url, target, cancel)
                                                     : HttpGetFile(hfile, url, target, cancel);
    if (!arrived) return false;
    FireEvent(OnFileDownloaded, this, target);
    return !uncompress || UnpackByName(target, tgt);
}

}  // namespace WUpdate
