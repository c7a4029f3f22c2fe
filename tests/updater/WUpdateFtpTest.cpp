#include "updater/WUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "UpdaterTestSupport.h"
#include "classlib/Strings.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::TObject;

namespace {

// An updater set for the loopback FTP server, downloading into `folder`.
void SetForFtp(TTestUpdate& update, bool passive, const std::wstring& folder = L"") {
    update.SetUpdateType(ftpUpdate);
    update.SetURL(L"ftp://127.0.0.1/");   // a loopback address counts as connected
    update.SetHost(L"127.0.0.1");
    update.SetPort(FtpPort());
    update.SetUserID(L"u");
    update.SetPassword(L"p");
    update.SetFTPPassive(passive);
    update.SetFTPDirectory(folder);
}

// How many of the commands the FTP server received after the first `from` were `verb`.
int CommandsSince(size_t from, const std::string& verb) {
    const std::string log = ReadFileBytes(FtpLog());
    int count = 0;
    size_t line = 0;
    for (size_t start = 0; start < log.size(); ++line) {
        const size_t end = std::min(log.find('\n', start), log.size());
        const std::string command = log.substr(start, end - start);
        if (line >= from && command.compare(0, verb.size(), verb) == 0 &&
            (command.size() == verb.size() || command[verb.size()] == ' '))
            ++count;
        start = end + 1;
    }
    return count;
}

size_t LogLines(const std::wstring& log) {
    const std::string text = ReadFileBytes(log);
    return size_t(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(WUpdateFtp, FilesArriveInBothModesAndFailuresLeaveNothing) {
    REQUIRE_SERVERS();
    PutFtpFile(L"upd\\big.bin", PatternBytes(204800));
    PutFtpFile(L"upd\\small.txt", "small");
    PutFtpFile(L"top.txt", "top");
    struct TCase {
        const char* Name;
        bool Passive;
        const wchar_t* Folder;
        const wchar_t* File;
        std::string Content;   // empty: the download fails
        int Failure;           // a status the failure reports, 0: none asked
        int FailureCode;
    };
    const TCase cases[] = {
        {"passive, in a folder", true, L"upd", L"big.bin", PatternBytes(204800), 0, 0},
        {"active, in a folder", false, L"/upd", L"small.txt", "small", 0, 0},
        {"passive, no folder", true, L"", L"top.txt", "top", 0, 0},
        {"missing folder", true, L"nowhere", L"top.txt", "", 975, 3},
        {"missing file: not found", true, L"upd", L"missing.bin", "", 925, 11},
        {"missing file: not opened", true, L"upd", L"missing.bin", "", 946, 13},
        {"missing file: no handle", true, L"upd", L"missing.bin", "", 917, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TTestUpdate update(folder.Path());
        SetForFtp(update, c.Passive, c.Folder);
        ASSERT_EQ(update.StartConnection(), 0);
        ASSERT_EQ(update.FTPConnect(), 0);
        ASSERT_NE(update.HintConnect(), nullptr);
        const size_t logFrom = LogLines(FtpLog());
        const bool arrives = !c.Content.empty();
        // The second download of the connection changes the folder no more.
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(update.URLGetFile(update.HintConnect(), L"ftp://127.0.0.1/" + std::wstring(c.File), folder.Path(),
                                        false),
                      arrives);
            if (arrives) {
                EXPECT_EQ(folder.Files(), std::vector<std::wstring>{c.File});
                EXPECT_EQ(ReadFileBytes(folder.Path() + c.File), c.Content);
            } else {
                EXPECT_TRUE(folder.Files().empty()) << "a failed download left a file";
            }
            if (!arrives || !*c.Folder) break;
        }
        if (arrives) {
            EXPECT_EQ(CommandsSince(logFrom, "CWD"), *c.Folder ? 1 : 0);
        }
        if (arrives) {
            const int passive = CommandsSince(logFrom, "PASV") + CommandsSince(logFrom, "EPSV");
            const int active = CommandsSince(logFrom, "PORT") + CommandsSince(logFrom, "EPRT");
            EXPECT_GT(c.Passive ? passive : active, 0);
            EXPECT_EQ(c.Passive ? active : passive, 0) << "the other mode was used";
        }
        if (c.Failure) {
            EXPECT_TRUE(update.HasStatus(c.Failure, c.FailureCode));
        }
        update.Statuses.clear();
        update.StopConnection();
        EXPECT_EQ(update.Idents(), (std::vector<int>{954, 949, 949}));
        EXPECT_EQ(update.HintConnect(), nullptr);
    }
}

TEST(WUpdateFtp, LoginFailuresOpenNoConnection) {
    REQUIRE_SERVERS();
    struct TCase {
        const char* Name;
        TWebUpdateAuthentication Mode;
        const wchar_t* Password;
        bool Answer;      // the login dialog's
        int Asked;        // times the dialog was shown
        int Status;       // what the failure reports
    };
    const TCase cases[] = {
        {"wrong password", waNever, L"wrong", true, 0, 976},           // the server's refusal, through Error
        {"login cancelled", waAlways, L"p", false, 1, 956},
        {"auto, no password, cancelled", waAuto, L"", false, 1, 956},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TTestUpdate update(folder.Path());
        SetForFtp(update, true);
        update.SetPassword(c.Password);
        update.SetAuthenticate(c.Mode);
        update.LoginAnswer = c.Answer;
        ASSERT_EQ(update.StartConnection(), 0);
        EXPECT_EQ(update.FTPConnect(), -1);
        if (c.Status == 976) update.Error();
        EXPECT_EQ(update.HintConnect(), nullptr);
        EXPECT_EQ(update.LoginCount, c.Asked);
        EXPECT_TRUE(update.HasStatus(c.Status, c.Status == 976 ? 1 : 0));
        if (c.Status == 956) {
            EXPECT_EQ(update.Messages.back(), L"Authentication cancelled");
        }
        update.Statuses.clear();
        update.StopConnection();
        EXPECT_EQ(update.Idents(), (std::vector<int>{949, 949})) << "no FTP connection to close";
    }
}

TEST(WUpdateFtp, TheLoginDialogsAnswerOpensTheConnection) {
    REQUIRE_SERVERS();
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    SetForFtp(update, true);
    update.SetUserID(L"");
    update.SetPassword(L"");
    update.SetAuthenticate(waAuto);
    update.LoginUser = L"u";
    update.LoginPassword = L"p";
    ASSERT_EQ(update.StartConnection(), 0);
    EXPECT_EQ(update.FTPConnect(), 0);
    EXPECT_EQ(update.LoginCount, 1);
    EXPECT_EQ(update.UserID(), L"u");
    EXPECT_EQ(update.Password(), L"p");
    update.StopConnection();
}

TEST(WUpdateFtp, CancelAfterTheSecondBlockStopsAndKeepsCancelled) {
    REQUIRE_SERVERS();
    PutFtpFile(L"cancel.bin", PatternBytes(204800));
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    SetForFtp(update, true);
    ExpectCancelAfterTheSecondBlock(update, folder);
}

TEST(WUpdateFtp, AWholeRunTakesTheControlFileAndItsFilesFromTheServer) {
    REQUIRE_SERVERS();
    const TPayloadRun run;
    PutFtpFile(L"run\\payload.bin", "payload");
    PutFtpFile(L"run\\run.inf", run.ControlFile());
    TTestUpdate update(run.Download.Path());
    SetForFtp(update, true, L"run");
    update.SetURL(L"ftp://127.0.0.1/run.inf");
    const size_t logFrom = LogLines(FtpLog());
    run.RunAndExpectThePayload(update);
    EXPECT_EQ(CommandsSince(logFrom, "CWD"), 1);
    EXPECT_EQ(CommandsSince(logFrom, "RETR"), 2);
    EXPECT_TRUE(update.HasStatus(954, 3));
}
