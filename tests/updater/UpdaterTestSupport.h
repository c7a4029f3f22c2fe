#pragma once
// What the updater's tests share: the loopback servers their script started, a scratch
// folder, version fixtures, and a recorder of status reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Seams.h"
#include "updater/WUpdate.h"

namespace UpdaterTests {

// The servers named by ATGEN_UPDATER_SERVERS; false when the tests run without them.
bool HaveServers();
int HttpPort();
bool HavePort80();   // the plain server also listens on 127.0.0.1:80
int HttpsPort();
int SelfSignedPort();
std::wstring HttpUrl(const std::wstring& path);          // http://127.0.0.1:port/path
std::wstring HttpsUrl(const std::wstring& path);
std::wstring SelfSignedUrl(const std::wstring& path);
// The FTP server (user "u", password "p") and the folder it serves (ends with "\"); its
// log has one line per command received.
int FtpPort();
std::wstring FtpRoot();
std::wstring FtpLog();
// Writes a file the FTP server hands out as <name> (a relative path; folders are made).
void PutFtpFile(const std::wstring& name, const std::string& content);
// The SFTP server (user "u", password "p") and the folder it serves (ends with "\"); its
// log has one line per event: "auth USER", "stat PATH", "open PATH", "opendir PATH",
// "disconnect CODE DESCRIPTION".
int SftpPort();
std::wstring SftpRoot();
std::wstring SftpLog();
// Writes a file the SFTP server hands out as <name> (a relative path; folders are made).
void PutSftpFile(const std::wstring& name, const std::string& content);
// The forward proxy (credentials "pu", "pp"); its log has one line per request: the
// Proxy-Authorization header, or "-".
int ProxyPort();
std::wstring ProxyLog();
// Writes a file the servers hand out as /files/<name> ("@PORT@" becomes their port).
void PutServerFile(const std::wstring& name, const std::string& content);

// A fresh, empty folder for one test, removed with its files at the end; ends with "\".
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::wstring& Path() const { return FPath; }
    std::wstring Write(const std::wstring& name, const std::string& content) const;
    // The names of the files in the folder, sorted.
    std::vector<std::wstring> Files() const;
private:
    void RemoveAll() const;
    std::wstring FPath;
};

std::string ReadFileBytes(const std::wstring& name);
// Byte i is i % 251, as the servers send.
std::string PatternBytes(size_t count);
// A copy of a small program whose version resource is `version` (a, b, c, d), or none at all.
void MakeVersionFixture(const std::wstring& target, const int (*version)[4]);
// The installed program the update fixtures start from: the small program at version 2.6.0.0.
void MakeLocalProgram(const std::wstring& target);

struct TStatus {
    int Ident;
    int StatusCode;
    int ErrCode;
    bool operator==(const TStatus&) const = default;
};
void PrintTo(const TStatus& status, std::ostream* out);

// An updater for tests: statuses recorded, message boxes and dialogs answered without
// a person, the download folder a scratch folder.
class TTestUpdate : public WUpdate::TWebUpdate {
public:
    explicit TTestUpdate(const std::wstring& downloadFolder);
    std::vector<TStatus> Statuses;
    std::vector<std::wstring> Messages;
    std::vector<std::wstring> Boxes;        // texts of the message boxes asked
    std::vector<int> BoxAnswers;            // answers, in order; IDYES once they run out
    ClassLib::TModalResult DialogAnswer = ClassLib::mrOk;
    bool AcceptLicence = true;
    bool LoginAnswer = true;
    std::wstring LoginUser, LoginPassword;
    int LoginCount = 0;
    std::vector<int> Idents() const;
    // Whether a status with this ident and code was reported (and this error code, unless -1).
    bool HasStatus(int ident, int statusCode, int errCode = -1) const;
    bool HasStatus(const TStatus& status) const { return HasStatus(status.Ident, status.StatusCode, status.ErrCode); }
    void DoStatus(int ident, const std::wstring& text, int statusCode, int errCode) override;

protected:
    ClassLib::TSeamsScope FSeams;
    ClassLib::TModalResult ExecuteDialog(ClassLib::TForm& form) override;
    bool LoginDialog(const std::wstring& caption, std::wstring& userName, std::wstring& password) override;
};

// A download of "cancel.bin" (204,800 bytes on the FTP or SFTP server) into `folder` that the
// user cancels after its second block: it stops there, stays cancelled and leaves no file.
void ExpectCancelAfterTheSecondBlock(TTestUpdate& update, const TScratchFolder& folder);

// One whole run over FTP or SFTP: a 2.6.0.0 program in `Local`, a control file announcing
// 2.6.0.1 with one file, "payload.bin", for `Target`; downloads go to `Download`.
struct TPayloadRun {
    TPayloadRun();
    TScratchFolder Local, Target, Download;
    // The control file's text, to be served as "run/run.inf" beside "run/payload.bin".
    std::string ControlFile() const;
    // Runs the update and expects success with the payload in `Target`.
    void RunAndExpectThePayload(TTestUpdate& update) const;
};

// Statuses an updater reports for its own sake at the start of a run (diagnostics),
// left out of the golden sequences: their texts depend on the machine.
bool IsDiagnostic(int ident);

}  // namespace UpdaterTests

#define REQUIRE_SERVERS()                                                                       \
    do {                                                                                        \
        if (!UpdaterTests::HaveServers()) GTEST_SKIP() << "run through loopback_servers.py";   \
    } while (0)
