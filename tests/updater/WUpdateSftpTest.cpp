#include "updater/WUpdateSftp.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "UpdaterTestSupport.h"
#include "classlib/Strings.h"
#include "updater/WUpdate.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::TObject;

namespace {

// An updater set for the loopback SFTP server, downloading into `folder`.
void SetForSftp(TTestUpdate& update, const std::wstring& folder = L"") {
    update.SetUpdateType(sftpUpdate);
    update.SetURL(L"sftp://127.0.0.1/");   // a loopback address counts as connected
    update.SetHost(L"127.0.0.1");
    update.SetPort(SftpPort());
    update.SetUserID(L"u");
    update.SetPassword(L"p");
    update.SetFTPDirectory(folder);
    update.SetCodePage(65001);
}

std::vector<std::string> SftpLogLines() {
    const std::string log = ReadFileBytes(SftpLog());
    std::vector<std::string> lines;
    for (size_t start = 0; start < log.size();) {
        const size_t end = std::min(log.find('\n', start), log.size());
        lines.push_back(log.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The server's log lines after the first `from`.
std::vector<std::string> SftpLogSince(size_t from) {
    std::vector<std::string> lines = SftpLogLines();
    lines.erase(lines.begin(), lines.begin() + std::min(from, lines.size()));
    return lines;
}

int CountStartingWith(const std::vector<std::string>& lines, const std::string& head) {
    return int(std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.compare(0, head.size(), head) == 0; }));
}

}  // namespace

TEST(WUpdateSftp, RemotePathsJoinWithOneSlash) {
    struct TCase { const wchar_t* Folder; const wchar_t* Name; const wchar_t* Path; };
    const TCase cases[] = {
        {L"", L"a.txt", L"/a.txt"},
        {L"upd", L"a.txt", L"upd/a.txt"},
        {L"upd/", L"a.txt", L"upd/a.txt"},
        {L"/srv/upd", L"a.txt", L"/srv/upd/a.txt"},
        {L"/", L"a.txt", L"/a.txt"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Folder)));
        EXPECT_EQ(SftpRemotePath(c.Folder, c.Name), c.Path);
    }
}

TEST(WUpdateSftp, FilesArriveAndFailuresLeaveNothing) {
    REQUIRE_SERVERS();
    PutSftpFile(L"upd\\big.bin", PatternBytes(204800));
    PutSftpFile(L"upd\\small.txt", "small");
    PutSftpFile(L"top.txt", "top");
    PutSftpFile(L"upd\\Z\u00fcrich \u0141\u00f3d\u017a.txt", "utf-8 name");
    struct TCase {
        const char* Name;
        const wchar_t* Folder;
        const wchar_t* File;
        const char* Path;      // what the server is asked for
        std::string Content;   // empty: the download fails
        TStatus Failure;       // a status the failure reports; ident 0: none asked
    };
    const TCase cases[] = {
        {"in a folder", L"upd", L"big.bin", "upd/big.bin", PatternBytes(204800), {}},
        {"folder ending in a slash", L"/upd/", L"small.txt", "/upd/small.txt", "small", {}},
        {"no folder", L"", L"top.txt", "/top.txt", "top", {}},
        {"a non-ASCII name", L"upd", L"Z\u00fcrich \u0141\u00f3d\u017a.txt", "upd/Z\xc3\xbcrich \xc5\x81\xc3\xb3\x64\xc5\xba.txt",
         "utf-8 name", {}},
        {"missing folder", L"nowhere", L"top.txt", nullptr, "", {975, 3, 8}},
        {"missing file", L"upd", L"missing.bin", "upd/missing.bin", "", {917, 2, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TTestUpdate update(folder.Path());
        SetForSftp(update, c.Folder);
        ASSERT_EQ(update.StartConnection(), 0);
        ASSERT_EQ(update.FTPConnect(), 0);
        const size_t logFrom = SftpLogLines().size();
        const bool arrives = !c.Content.empty();
        // A second download goes through the same channel.
        for (int round = 0; round < (arrives ? 2 : 1); ++round) {
            EXPECT_EQ(update.URLGetFile(update.HintConnect(), L"sftp://127.0.0.1/x/" + std::wstring(c.File), folder.Path(),
                                        false),
                      arrives);
            if (arrives) {
                EXPECT_EQ(folder.Files(), std::vector<std::wstring>{c.File});
                EXPECT_EQ(ReadFileBytes(folder.Path() + c.File), c.Content);
            } else {
                EXPECT_TRUE(folder.Files().empty()) << "a failed download left a file";
            }
        }
        const std::vector<std::string> log = SftpLogSince(logFrom);
        if (c.Path) {
            EXPECT_EQ(CountStartingWith(log, std::string("stat ") + c.Path), arrives ? 2 : 1);
        }
        EXPECT_EQ(CountStartingWith(log, "open "), arrives ? 2 : 0);
        for (const std::string& line : log) EXPECT_EQ(line.find("//"), std::string::npos) << line;
        if (c.Failure.Ident) {
            EXPECT_TRUE(update.HasStatus(c.Failure.Ident, c.Failure.StatusCode, c.Failure.ErrCode));
        }
        update.StopConnection();
    }
}

TEST(WUpdateSftp, LoginFailuresOpenNoChannel) {
    REQUIRE_SERVERS();
    struct TCase {
        const char* Name;
        int Port;                  // 0: the server's
        TWebUpdateAuthentication Mode;
        const wchar_t* Password;
        bool Answer;               // the login dialog's
        int Tries;                 // passwords the server saw
        TStatus Status;
    };
    const TCase cases[] = {
        {"wrong password", 0, waNever, L"wrong", true, 17, {980, 3, 5}},
        {"login cancelled", 0, waAlways, L"p", false, 0, {956, 0, 0}},
        {"auto, no password, cancelled", 0, waAuto, L"", false, 0, {956, 0, 0}},
        {"nobody listening", 1, waNever, L"p", true, 0, {980, 3, 5}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TTestUpdate update(folder.Path());
        SetForSftp(update);
        if (c.Port) update.SetPort(c.Port);
        update.SetPassword(c.Password);
        update.SetAuthenticate(c.Mode);
        update.LoginAnswer = c.Answer;
        const size_t logFrom = SftpLogLines().size();
        ASSERT_EQ(update.StartConnection(), 0);
        EXPECT_EQ(update.FTPConnect(), -1);
        EXPECT_TRUE(update.HasStatus(c.Status.Ident, c.Status.StatusCode, c.Status.ErrCode));
        EXPECT_FALSE(update.URLGetFile(update.HintConnect(), L"top.txt", folder.Path(), false));
        update.StopConnection();
        EXPECT_EQ(CountStartingWith(SftpLogSince(logFrom), "auth u"), c.Tries);
    }
}

TEST(WUpdateSftp, CancelAfterTheSecondBlockStopsAndKeepsCancelled) {
    REQUIRE_SERVERS();
    PutSftpFile(L"cancel.bin", PatternBytes(204800));
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    SetForSftp(update);
    ExpectCancelAfterTheSecondBlock(update, folder);
}

TEST(WUpdateSftp, AWholeRunTakesItsFilesFromTheServerAndSaysGoodbye) {
    REQUIRE_SERVERS();
    const TPayloadRun run;
    PutSftpFile(L"run\\payload.bin", "payload");
    PutSftpFile(L"run\\run.inf", run.ControlFile());
    TTestUpdate update(run.Download.Path());
    SetForSftp(update, L"run");
    update.SetURL(L"sftp://127.0.0.1/run.inf");
    const size_t logFrom = SftpLogLines().size();
    run.RunAndExpectThePayload(update);
    // The server writes its log line when the goodbye arrives: wait for it, boundedly.
    const std::string goodbye = "disconnect 11 Going to shutdown. Bye.";
    for (int wait = 0; wait < 100 && CountStartingWith(SftpLogSince(logFrom), goodbye) == 0; ++wait) ::Sleep(50);
    const std::vector<std::string> log = SftpLogSince(logFrom);
    EXPECT_EQ(CountStartingWith(log, goodbye), 1);
    EXPECT_EQ(CountStartingWith(log, "open run/"), 2);
}
