#include "UpdaterTestSupport.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "classlib/ButtonControls.h"
#include "classlib/FileNames.h"
#include "classlib/Strings.h"

using namespace ClassLib;

namespace UpdaterTests {

namespace {

struct TServers {
    bool Present = false;
    int Http = 0, Https = 0, SelfSigned = 0;
    std::wstring CaDer, DocRoot;
    bool Port80 = false;
    int Ftp = 0, Sftp = 0, Proxy = 0;
    std::wstring FtpRoot, FtpLog, SftpRoot, SftpLog, ProxyLog;
};

std::string JsonValue(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\"");
    if (at == std::string::npos) return {};
    size_t start = json.find(':', at) + 1;
    while (start < json.size() && json[start] == ' ') ++start;
    if (json[start] == '"') {
        std::string value;
        for (size_t i = start + 1; i < json.size() && json[i] != '"'; ++i) {
            if (json[i] == '\\' && i + 1 < json.size()) ++i;   // "\\" in JSON is one backslash
            value += json[i];
        }
        return value;
    }
    const size_t end = json.find_first_of(",}", start);
    return json.substr(start, end - start);
}

const TServers& Servers() {
    static const TServers servers = [] {
        TServers result;
        wchar_t path[1024] = {};
        if (!::GetEnvironmentVariableW(L"ATGEN_UPDATER_SERVERS", path, 1024)) return result;
        const std::string json = ReadFileBytes(path);
        if (json.empty()) return result;
        result.Present = true;
        result.Http = std::stoi(JsonValue(json, "http"));
        result.Https = std::stoi(JsonValue(json, "https"));
        result.SelfSigned = std::stoi(JsonValue(json, "https_selfsigned"));
        result.CaDer = UTF8Decode(JsonValue(json, "ca_der"));
        result.DocRoot = IncludeTrailingPathDelimiter(UTF8Decode(JsonValue(json, "docroot")));
        result.Port80 = JsonValue(json, "port80") == "1";
        result.Ftp = std::stoi(JsonValue(json, "ftp"));
        result.FtpRoot = IncludeTrailingPathDelimiter(UTF8Decode(JsonValue(json, "ftproot")));
        result.FtpLog = UTF8Decode(JsonValue(json, "ftplog"));
        result.Sftp = std::stoi(JsonValue(json, "sftp"));
        result.SftpRoot = IncludeTrailingPathDelimiter(UTF8Decode(JsonValue(json, "sftproot")));
        result.SftpLog = UTF8Decode(JsonValue(json, "sftplog"));
        result.Proxy = std::stoi(JsonValue(json, "proxy"));
        result.ProxyLog = UTF8Decode(JsonValue(json, "proxylog"));
        return result;
    }();
    return servers;
}

// The test CA in the machine's "Root" store for the whole run. Wine: WinInet reads the
// trusted roots once per process, at its first secure request, so the CA goes in first.
class TTrustedCA : public testing::Environment {
public:
    void SetUp() override {
        if (!Servers().Present) return;
        FDer = ReadFileBytes(Servers().CaDer);
        // Wine: the store writes its certificates to the registry when it is closed, and
        // only then does the chain engine see them.
        HCERTSTORE store = OpenRoot();
        if (!store || FDer.empty() ||
            !::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(FDer.data()),
                                                DWORD(FDer.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
            ADD_FAILURE() << "cannot add the test CA to the Root store, error " << ::GetLastError();
        if (store) ::CertCloseStore(store, 0);
    }
    void TearDown() override {
        if (FDer.empty()) return;
        HCERTSTORE store = OpenRoot();
        if (!store) return;
        PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(
            X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(FDer.data()), DWORD(FDer.size()));
        if (wanted) {
            if (PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                                    wanted, nullptr))
                ::CertDeleteCertificateFromStore(found);   // frees `found`
            ::CertFreeCertificateContext(wanted);
        }
        ::CertCloseStore(store, 0);
    }
private:
    static HCERTSTORE OpenRoot() {
        return ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    }
    std::string FDer;
};

[[maybe_unused]] testing::Environment* const TrustedCA = testing::AddGlobalTestEnvironment(new TTrustedCA);

std::wstring Url(const wchar_t* scheme, int port, const std::wstring& path) {
    return std::wstring(scheme) + L"://127.0.0.1:" + std::to_wstring(port) + L"/" + path;
}

}  // namespace

bool HaveServers() { return Servers().Present; }
int HttpPort() { return Servers().Http; }
bool HavePort80() { return Servers().Port80; }
int HttpsPort() { return Servers().Https; }
int SelfSignedPort() { return Servers().SelfSigned; }
std::wstring HttpUrl(const std::wstring& path) { return Url(L"http", HttpPort(), path); }
std::wstring HttpsUrl(const std::wstring& path) { return Url(L"https", HttpsPort(), path); }
std::wstring SelfSignedUrl(const std::wstring& path) { return Url(L"https", SelfSignedPort(), path); }

int FtpPort() { return Servers().Ftp; }
std::wstring FtpRoot() { return Servers().FtpRoot; }
std::wstring FtpLog() { return Servers().FtpLog; }
int ProxyPort() { return Servers().Proxy; }
std::wstring ProxyLog() { return Servers().ProxyLog; }

int SftpPort() { return Servers().Sftp; }
std::wstring SftpRoot() { return Servers().SftpRoot; }
std::wstring SftpLog() { return Servers().SftpLog; }

namespace {

void PutFileBelow(const std::wstring& root, const std::wstring& name, const std::string& content) {
    const std::filesystem::path path(root + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

}  // namespace

void PutFtpFile(const std::wstring& name, const std::string& content) { PutFileBelow(Servers().FtpRoot, name, content); }
void PutSftpFile(const std::wstring& name, const std::string& content) { PutFileBelow(Servers().SftpRoot, name, content); }

void PutServerFile(const std::wstring& name, const std::string& content) {
    std::ofstream out(std::filesystem::path(Servers().DocRoot + name), std::ios::binary);
    out << content;
}

std::string ReadFileBytes(const std::wstring& name) {
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string PatternBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = char(i % 251);
    return bytes;
}

TScratchFolder::TScratchFolder() {
    static int serial = 0;
    // Wine gives the same process identifiers run after run: start from an empty folder.
    FPath = GetTempDir() + L"wuptest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++serial) + L"\\";
    RemoveAll();
    ForceDirectories(FPath);
}

TScratchFolder::~TScratchFolder() { RemoveAll(); }

void TScratchFolder::RemoveAll() const {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(FPath), error))
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(std::filesystem::path(FPath), error);
}

std::wstring TScratchFolder::Write(const std::wstring& name, const std::string& content) const {
    std::ofstream out(std::filesystem::path(FPath + name), std::ios::binary);
    out << content;
    return FPath + name;
}

std::vector<std::wstring> TScratchFolder::Files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((FPath + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void MakeLocalProgram(const std::wstring& target) {
    const int v2600[4] = {2, 6, 0, 0};
    MakeVersionFixture(target, &v2600);
}

void MakeVersionFixture(const std::wstring& target, const int (*version)[4]) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(), target.c_str(), FALSE));
    HANDLE update = ::BeginUpdateResourceW(target.c_str(), TRUE);
    ASSERT_NE(update, nullptr);
    if (version) {
        // VS_VERSIONINFO with only its fixed part: header, key, padding to 32 bits, value.
        struct {
            WORD Length, ValueLength, Type;
            wchar_t Key[16];
            WORD Padding;
            VS_FIXEDFILEINFO Value;
        } info{};
        static_assert(sizeof info == 92);
        info.Length = sizeof info;
        info.ValueLength = sizeof(VS_FIXEDFILEINFO);
        std::wcscpy(info.Key, L"VS_VERSION_INFO");
        info.Value.dwSignature = 0xFEEF04BD;
        info.Value.dwStrucVersion = 0x00010000;
        info.Value.dwFileVersionMS = DWORD((*version)[0] << 16 | (*version)[1]);
        info.Value.dwFileVersionLS = DWORD((*version)[2] << 16 | (*version)[3]);
        info.Value.dwProductVersionMS = info.Value.dwFileVersionMS;
        info.Value.dwProductVersionLS = info.Value.dwFileVersionLS;
        info.Value.dwFileOS = VOS_NT_WINDOWS32;
        info.Value.dwFileType = VFT_APP;
        ASSERT_TRUE(::UpdateResourceW(update, RT_VERSION, MAKEINTRESOURCEW(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                      &info, sizeof info));
    }
    ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));
}

void PrintTo(const TStatus& status, std::ostream* out) {
    *out << "{" << status.Ident << ", " << status.StatusCode << ", " << status.ErrCode << "}";
}

bool IsDiagnostic(int ident) { return ident >= 966 && ident <= 970 && ident != 968; }

TTestUpdate::TTestUpdate(const std::wstring& downloadFolder) : TWebUpdate(nullptr) {
    SetUseWinTempDir(false);
    SetTempDirectory(downloadFolder);
    SetUpdateUpdate(WUpdate::wuuSilent);
    OnStatus = [this](TObject*, const std::wstring& text, int statusCode, int errCode) {
        (void)statusCode;
        (void)errCode;
        Messages.push_back(text);
    };
    Seams().ShowMessageBox = [this](void*, const std::wstring& text, const std::wstring&, unsigned) {
        Boxes.push_back(text);
        if (BoxAnswers.empty()) return IDYES;
        const int answer = BoxAnswers.front();
        BoxAnswers.erase(BoxAnswers.begin());
        return answer;
    };
    Seams().ShellOpen = [](const std::wstring&, const std::wstring&) { return true; };
    HTMLDialog = [](const std::wstring&, HWND) { return true; };
}

void TTestUpdate::DoStatus(int ident, const std::wstring& text, int statusCode, int errCode) {
    Statuses.push_back({ident, statusCode, errCode});
    TWebUpdate::DoStatus(ident, text, statusCode, errCode);
}

bool TTestUpdate::HasStatus(int ident, int statusCode, int errCode) const {
    return std::any_of(Statuses.begin(), Statuses.end(), [&](const TStatus& s) {
        return s.Ident == ident && s.StatusCode == statusCode && (errCode == -1 || s.ErrCode == errCode);
    });
}

void ExpectCancelAfterTheSecondBlock(TTestUpdate& update, const TScratchFolder& folder) {
    ASSERT_EQ(update.StartConnection(), 0);
    ASSERT_EQ(update.FTPConnect(), 0);
    int blocks = 0;
    update.OnProgressCancel = [&](ClassLib::TObject*, bool& cancel) { cancel = ++blocks == 2; };
    EXPECT_FALSE(update.URLGetFile(update.HintConnect(), L"cancel.bin", folder.Path(), false));
    EXPECT_EQ(blocks, 2);
    EXPECT_TRUE(update.Cancelled());
    EXPECT_TRUE(update.HasStatus(964, 0));
    EXPECT_TRUE(folder.Files().empty());
    update.StopConnection();
}

TPayloadRun::TPayloadRun() {
    MakeLocalProgram(Local.Path() + L"app.exe");
}

std::string TPayloadRun::ControlFile() const {
    return "[update]\nnewversion=2.6.0.1\nlocalversion=" + ClassLib::UTF8Encode(Local.Path()) +
           "app.exe\n[files]\ncount=1\n[file1]\nurl=payload.bin\ntargetdir=" + ClassLib::UTF8Encode(Target.Path()) +
           "\n";
}

void TPayloadRun::RunAndExpectThePayload(TTestUpdate& update) const {
    bool succeeded = false;
    update.OnSuccess = [&](ClassLib::TObject*) { succeeded = true; };
    update.DoUpdate(false);
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(Target.Files(), std::vector<std::wstring>{L"payload.bin"});
    EXPECT_EQ(ReadFileBytes(Target.Path() + L"payload.bin"), "payload");
}

std::vector<int> TTestUpdate::Idents() const {
    std::vector<int> idents;
    for (const TStatus& s : Statuses) idents.push_back(s.Ident);
    return idents;
}

ClassLib::TModalResult TTestUpdate::ExecuteDialog(ClassLib::TForm& form) {
    if (auto* accept = dynamic_cast<TRadioButton*>(form.FindComponent(L"AcceptRadio")); accept && AcceptLicence)
        accept->SetChecked(true);
    return DialogAnswer;
}

bool TTestUpdate::LoginDialog(const std::wstring&, std::wstring& userName, std::wstring& password) {
    ++LoginCount;
    if (!LoginAnswer) return false;
    userName = LoginUser;
    password = LoginPassword;
    return true;
}

}  // namespace UpdaterTests
