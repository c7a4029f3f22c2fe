#include "updater/WUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "UpdaterTestSupport.h"
#include "classlib/DateTime.h"
#include "classlib/FileNames.h"
#include "classlib/Registry.h"
#include "classlib/Seams.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/Threads.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::TObject;

namespace {

// One update as the servers offer it: a control file naming `files` (their server
// paths), against a local program of version 2.6.0.0.
class TRunTest : public testing::Test {
protected:
    void SetUp() override {
        MakeLocalProgram(Local.Path() + L"app.exe");
        PutServerFile(L"payload.bin", "payload");
        PutServerFile(L"second.bin", "second");
    }
    // Serves a control file under `name`; "@LOCAL@" and "@TARGET@" become the local
    // program and the target folder, "@PORT@" the server's port.
    void Offer(const std::wstring& name, std::string text) {
        const std::pair<const char*, std::wstring> places[] = {{"@LOCAL@", Local.Path() + L"app.exe"},
                                                               {"@TARGET@", Target.Path()}};
        for (const auto& [key, value] : places)
            for (size_t at; (at = text.find(key)) != std::string::npos;)
                text.replace(at, std::strlen(key), ClassLib::UTF8Encode(value));
        PutServerFile(name, text);
    }
    std::vector<TStatus> WithoutDiagnostics(const TTestUpdate& update) const {
        std::vector<TStatus> statuses;
        for (const TStatus& s : update.Statuses)
            if (!IsDiagnostic(s.Ident)) statuses.push_back(s);
        return statuses;
    }
    TScratchFolder Local, Target, Download;
};

const char* const NewVersion = "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\n";

}  // namespace

TEST_F(TRunTest, GoldenStatusSequences) {
    REQUIRE_SERVERS();
    Offer(L"files.inf", std::string(NewVersion) +
                            "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n"
                            "targetdir=@TARGET@\n");
    Offer(L"current.inf", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n[files]\ncount=1\n"
                          "[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n");
    Offer(L"broken.inf", std::string(NewVersion) +
                             "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/status/404\ntargetdir=@TARGET@\n");
    struct TCase {
        const wchar_t* Control;
        bool Success;
        std::vector<TStatus> Statuses;
    };
    const std::vector<TStatus> start = {{968, 0, 0}, {963, 0, 0}, {918, 3, 0}, {921, 3, 0}, {915, 3, 0},
                                        {926, 3, 0}, {933, 3, 0}, {979, 3, 0}, {944, 3, 0}};
    const auto join = [&](std::vector<TStatus> rest) {
        std::vector<TStatus> all = start;
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    };
    const TCase cases[] = {
        {L"files.inf", true,
         join({{929, 5, 0}, {943, 3, 0}, {971, 0, 0}, {979, 3, 0}, {915, 3, 0}, {948, 3, 0}, {949, 3, 0}, {949, 3, 0}})},
        {L"current.inf", false, join({{930, 4, 0}, {949, 3, 0}, {949, 3, 0}})},
        // The failed file: its HTTP status, then the list's report; the closing actions still run.
        {L"broken.inf", false,
         join({{929, 5, 0}, {943, 3, 0}, {971, 0, 0}, {979, 3, 0}, {915, 3, 0}, {916, 6, 404}, {946, 2, 9},
               {948, 3, 0}, {949, 3, 0}, {949, 3, 0}})},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Control)));
        TTestUpdate update(Download.Path());
        update.SetURL(HttpUrl(L"files/") + c.Control);
        int successes = 0;
        update.OnSuccess = [&](TObject*) { ++successes; };
        update.DoUpdate(false);
        EXPECT_EQ(successes, c.Success ? 1 : 0);
        EXPECT_EQ(WithoutDiagnostics(update), c.Statuses);
        EXPECT_TRUE(Download.Files().empty()) << "the download folder keeps a file";
        EXPECT_EQ(Target.Files(), c.Success ? std::vector<std::wstring>{L"payload.bin"} : std::vector<std::wstring>{});
        ::DeleteFileW((Target.Path() + L"payload.bin").c_str());
    }
}

TEST_F(TRunTest, LogLinesOfARunWithoutUpdate) {
    REQUIRE_SERVERS();
    Offer(L"current.inf", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n");
    ClassLib::TSeamsScope seams;
    ClassLib::Seams().Now = [] { return ClassLib::EncodeDate(2026, 3, 7) + ClassLib::EncodeTime(9, 5, 4, 0); };
    ClassLib::TFormatSettings& settings = ClassLib::FormatSettings();
    const ClassLib::TFormatSettings saved = settings;
    settings.DateSeparator = L'.';
    settings.TimeSeparator = L':';
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/current.inf"));
    update.SetLogging(true);
    update.SetLogFileName(Download.Path() + L"logs\\update.log");   // the doubled "\" is made single
    update.DoUpdate(false);
    settings = saved;
    update.SetLogFileName(L"WUPDATE.LOG");

    const std::string log = ReadFileBytes(Download.Path() + L"logs\\update.log");
    std::vector<std::wstring> lines;
    ClassLib::TStringList all;
    all.SetText(ClassLib::UTF8Decode(log));
    for (int i = 0; i < all.Count(); ++i)
        if (const std::wstring line = all[i]; !IsDiagnostic(std::stoi(line.substr(line.find(L'[') + 1))))
            lines.push_back(line);
    const std::wstring stamp = L"07.03.2026 09:05:04 : ";
    const std::wstring local = Local.Path() + L"app.exe";
    const std::vector<std::wstring> expected = {
        stamp + L"[968] Start update : Non threaded update --------------------------- (Status:0) (Error:0)",
        stamp + L"[963] Start WebUpdate process with version : 2.6.3.1 (Status:0) (Error:0)",
        stamp + L"[918] Checking for Internet connection (Status:3) (Error:0)",
        stamp + L"[921] Found open Internet connection (Status:3) (Error:0)",
        stamp + L"[915] Download : " + HttpUrl(L"files/current.inf") + L" (Status:3) (Error:0)",
        stamp + L"[926] Update control file found (Status:3) (Error:0)",
        stamp + L"[933] Version based update found (Status:3) (Error:0)",
        stamp + L"[979] Check versions (Status:3) (Error:0)",
        stamp + L"[944] Version check : Version compare of " + local + L":2.6.0.0 with 2.6:2.6.0.0 (Status:3) (Error:0)",
        stamp + L"[930] No new version found (Status:4) (Error:0)",
        stamp + L"[949] Closed Internet connection (Status:3) (Error:0)",
        stamp + L"[949] Closed Internet connection (Status:3) (Error:0)",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TRunTest, TheQueryTellsNewNoneAndFailedApart) {
    REQUIRE_SERVERS();
    Offer(L"newer.inf", std::string("[update]\nsignature=WebUpdate\n") + (NewVersion + 9));
    Offer(L"same.inf", "[update]\nsignature=WebUpdate\nnewversion=2.6\nlocalversion=@LOCAL@\n");
    Offer(L"signed.inf", std::string("[update]\nsignature=Someone else\n") + (NewVersion + 9));
    struct TCase {
        const char* Name;
        std::wstring Url;
        bool Available;
        TQueryOutcome Outcome;
    };
    const TCase cases[] = {
        {"newer", HttpsUrl(L"files/newer.inf"), true, TQueryOutcome::NewVersion},
        {"same", HttpsUrl(L"files/same.inf"), false, TQueryOutcome::NoNewVersion},
        {"server down", L"https://127.0.0.1:1/files/newer.inf", false, TQueryOutcome::Failed},
        {"404", HttpsUrl(L"files/missing.inf"), false, TQueryOutcome::Failed},
        {"wrong signature", HttpsUrl(L"files/signed.inf"), false, TQueryOutcome::Failed},
        {"untrusted server", SelfSignedUrl(L"files/newer.inf"), false, TQueryOutcome::Failed},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Set up as the main window does.
        TTestUpdate update(Download.Path());
        update.SetUseWinTempDir(true);
        update.SetAgent(L"TWebUpdate");
        update.SetApplyPatch(true);
        update.SetTempDirectory(L".");
        update.SetSignature(L"WebUpdate");
        update.SetSignatureCheck(true);
        update.SetURL(c.Url);
        EXPECT_EQ(update.NewVersionAvailable(false), c.Available);
        EXPECT_EQ(update.LastQueryOutcome(), c.Outcome);
        if (c.Available) {
            EXPECT_EQ(update.NewVersionInfo, L"2.6.0.1");
        }
        EXPECT_FALSE(update.InProgress());
        EXPECT_TRUE(update.ControlFileName().empty() || !ClassLib::FileExists(update.ControlFileName()));
    }
}

TEST_F(TRunTest, AnUnconditionalUpdateIsNewOnlyWhenAFileSurvivesTheFilter) {
    REQUIRE_SERVERS();
    Offer(L"current.inf", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=x/app.exe\n"
                          "newversion=2.6\nlocalversion=@LOCAL@\n");
    Offer(L"outdated.inf", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=x/app.exe\n"
                           "newversion=2.7\nlocalversion=@LOCAL@\n");
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/current.inf"));
    EXPECT_FALSE(update.NewVersionAvailable(false));
    EXPECT_EQ(update.LastQueryOutcome(), TQueryOutcome::NoNewVersion);
    update.SetURL(HttpUrl(L"files/outdated.inf"));
    EXPECT_TRUE(update.NewVersionAvailable(false));
    EXPECT_EQ(update.LastQueryOutcome(), TQueryOutcome::NewVersion);
}

TEST_F(TRunTest, RunOrderOfTextsQuestionsAndFailures) {
    REQUIRE_SERVERS();
    PutServerFile(L"news.txt", "News of the day");
    PutServerFile(L"eula.txt", "Terms");
    const std::string files = "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n"
                              "targetdir=@TARGET@\n";
    Offer(L"texts.inf", std::string(NewVersion) +
                            "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.txt\n"
                            "[eula]\nfile=http://127.0.0.1:@PORT@/files/eula.txt\n" + files);
    Offer(L"query.inf", std::string(NewVersion) + "[action]\nquery=Update now?\n" + files);
    Offer(L"current.inf", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n"
                          "[application]\nappupdate=1\nappname=app.exe\nappcomps=payload.bin\n" + files);
    struct TCase {
        const char* Name;
        const wchar_t* Control;
        ClassLib::TModalResult WhatsNew;
        bool Accept;
        std::vector<int> Boxes;   // answers to the message boxes
        bool Force;
        bool Downloads;
        int Skipped;              // a status that must not come
    };
    const TCase cases[] = {
        {"texts accepted", L"texts.inf", ClassLib::mrOk, true, {}, false, true, 938},
        {"what's new declined", L"texts.inf", ClassLib::mrCancel, true, {}, false, false, 943},
        {"licence declined", L"texts.inf", ClassLib::mrOk, false, {}, false, false, 943},
        {"query declined", L"query.inf", ClassLib::mrOk, true, {IDNO}, false, false, 937},
        {"no update", L"current.inf", ClassLib::mrOk, true, {}, false, false, 943},
        {"no update, forced", L"current.inf", ClassLib::mrOk, true, {}, true, true, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        update.SetURL(HttpUrl(L"files/") + c.Control);
        update.DialogAnswer = c.WhatsNew;
        update.AcceptLicence = c.Accept;
        update.BoxAnswers = c.Boxes;
        update.SetForceUpdate(c.Force);
        update.DoUpdate(false);
        const std::vector<int> idents = update.Idents();
        EXPECT_EQ(std::count(idents.begin(), idents.end(), 915) > 3 || ClassLib::FileExists(Target.Path() + L"payload.bin") ||
                      std::find(idents.begin(), idents.end(), 962) != idents.end(),
                  c.Downloads);
        if (c.Skipped) {
            EXPECT_EQ(std::find(idents.begin(), idents.end(), c.Skipped), idents.end());
        }
        EXPECT_NE(std::find(idents.begin(), idents.end(), 949), idents.end()) << "the connection was not closed";
        // Only the forced run got as far as the application's own file.
        EXPECT_EQ(update.AppNeedsRestart(), c.Force);
        ::DeleteFileW((Target.Path() + L"payload.bin").c_str());
    }
}

TEST_F(TRunTest, PromptModesAskOnceOrForEachFile) {
    REQUIRE_SERVERS();
    Offer(L"two.inf", std::string(NewVersion) +
                          "[files]\ncount=2\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\ntargetdir=@TARGET@\n"
                          "[file2]\nurl=http://127.0.0.1:@PORT@/files/second.bin\ntargetdir=@TARGET@\n");
    struct TCase {
        const char* Name;
        TWebUpdateUpdate Mode;
        std::vector<int> Answers;
        size_t Questions;
        std::vector<std::wstring> Placed;
    };
    const TCase cases[] = {
        {"once, no", wuuPromptOnce, {IDNO}, 1, {}},
        {"once, yes", wuuPromptOnce, {IDYES}, 1, {L"payload.bin", L"second.bin"}},
        {"each, no then yes", wuuPromptAll, {IDNO, IDYES}, 2, {L"second.bin"}},
        {"silent", wuuSilent, {}, 0, {L"payload.bin", L"second.bin"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        update.SetURL(HttpUrl(L"files/two.inf"));
        update.SetUpdateUpdate(c.Mode);
        update.BoxAnswers = c.Answers;
        update.DoUpdate(false);
        EXPECT_EQ(update.Boxes.size(), c.Questions);
        if (c.Mode == wuuPromptAll) {
            EXPECT_EQ(update.Boxes[0], L"Download update file : payload.bin");
        }
        EXPECT_EQ(Target.Files(), c.Placed);
        for (const std::wstring& name : Target.Files()) ::DeleteFileW((Target.Path() + name).c_str());
    }
}

TEST_F(TRunTest, AFileThatCannotBePlacedFailsTheRun) {
    REQUIRE_SERVERS();
    Offer(L"files.inf", std::string(NewVersion) +
                            "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n"
                            "targetdir=@TARGET@\n[application]\nappupdate=1\nappname=app.exe\n");
    const std::wstring old = Target.Write(L"payload.bin", "old");
    HANDLE held = ::CreateFileW(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/files.inf"));
    int successes = 0;
    update.OnSuccess = [&](TObject*) { ++successes; };
    update.DoUpdate(false);
    ::CloseHandle(held);
    EXPECT_EQ(successes, 0);
    const std::vector<int> idents = update.Idents();
    EXPECT_NE(std::find(idents.begin(), idents.end(), 972), idents.end());
    EXPECT_EQ(ReadFileBytes(old), "old");
    EXPECT_TRUE(Download.Files().empty());
}

TEST_F(TRunTest, DialUpIsAskedForAndHungUp) {
    struct TCase {
        const char* Name;
        TWebUpdateConnect Mode;
        bool DialWorks;
        int Result;
        unsigned long DialFlags;
        bool HungUp;
    };
    const TCase cases[] = {
        {"no connect", wucNoConnect, true, 1, 0, false},
        {"prompt", wucConnectPrompt, true, 0, 1, false},
        {"prompt, hang up", wucConnectPromptHangup, true, 0, 1, true},
        {"silent, hang up", wucConnectSilentHangup, true, 0, 2, true},
        {"dial fails", wucConnectSilent, false, 3, 2, false},
        {"none", wucNone, true, 0, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        update.SetURL(L"http://updates.example.invalid/control.inf");   // not loopback: the dial-up state counts
        update.SetUpdateConnect(c.Mode);
        bool online = false, hungUp = false;
        unsigned long flags = 0;
        update.DialUp.GetConnectedState = [&](unsigned long*) { return online; };
        update.DialUp.Autodial = [&](unsigned long f) {
            flags = f;
            online = c.DialWorks;
            return c.DialWorks;
        };
        update.DialUp.AutodialHangup = [&] { return hungUp = true; };
        EXPECT_EQ(update.StartConnection(), c.Result);
        EXPECT_EQ(flags, c.DialFlags);
        update.StopConnection();
        EXPECT_EQ(hungUp, c.HungUp);
        const std::vector<int> idents = update.Idents();
        EXPECT_EQ(std::find(idents.begin(), idents.end(), 955) != idents.end(), c.HungUp);
        if (!c.DialWorks) {
            EXPECT_NE(std::find(idents.begin(), idents.end(), 953), idents.end());
        }
    }
}

TEST_F(TRunTest, AFailedStartEndsTheRunWithoutClosing) {
    TTestUpdate update(Download.Path());
    update.SetURL(L"http://updates.example.invalid/control.inf");
    update.DialUp.GetConnectedState = [](unsigned long*) { return false; };
    update.DoUpdate(false);
    EXPECT_EQ(update.Idents().back(), 918);
    update.SetUpdateConnect(wucNone);
    update.Statuses.clear();
    EXPECT_FALSE(update.NewVersionAvailable(false));
    EXPECT_EQ(update.LastQueryOutcome(), TQueryOutcome::Failed);
}

TEST_F(TRunTest, AThreadedRunEndsOnTheMainThread) {
    REQUIRE_SERVERS();
    Offer(L"query.inf", std::string(NewVersion) + "[action]\nmsg=Hello\n[files]\ncount=1\n"
                        "[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\ntargetdir=@TARGET@\n");
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/query.inf"));
    DWORD boxThread = 0, doneThread = 0, statusThread = 0;
    ClassLib::Seams().ShowMessageBox = [&](void*, const std::wstring&, const std::wstring&, unsigned) {
        boxThread = ::GetCurrentThreadId();
        return IDOK;
    };
    bool done = false;
    update.OnThreadUpdateDone = [&](TObject*) { doneThread = ::GetCurrentThreadId(); };
    update.OnStatus = [&](TObject*, const std::wstring& text, int, int) {
        if (text == L"Threaded update execution done") {
            statusThread = ::GetCurrentThreadId();
            done = true;
        }
    };
    update.DoThreadUpdate(false);
    for (int i = 0; i < 1000 && !done; ++i) {
        ClassLib::TThread::CheckSynchronize();
        ::Sleep(10);
    }
    ASSERT_TRUE(done);
    const DWORD main = ::GetCurrentThreadId();
    EXPECT_EQ(boxThread, main) << "the message box was not handed to the main thread";
    EXPECT_EQ(doneThread, main);
    EXPECT_EQ(statusThread, main);
    EXPECT_EQ(update.Messages.size(), 0u);
    EXPECT_EQ(Target.Files(), std::vector<std::wstring>{L"payload.bin"});
    const std::vector<int> idents = update.Idents();
    EXPECT_EQ(idents.front(), 968);
}

TEST_F(TRunTest, TheUpdateHistoryKeepsTheNextAddressAndTheDate) {
    REQUIRE_SERVERS();
    const std::wstring key = L"Software\\AtGenTests\\u17Updater";
    Offer(L"moved.inf", std::string(NewVersion) + "[action]\nupdateURL=http://127.0.0.1:@PORT@/files/next.inf\n"
                        "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n"
                        "targetdir=@TARGET@\n");
    Offer(L"next.inf", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n");
    TTestUpdate update(Download.Path());
    update.LastURLEntry()->SetKey(key);
    update.LastURLEntry()->SetSection(L"History");
    update.LastURLEntry()->SetSave(true);
    update.SetURL(HttpUrl(L"files/moved.inf"));
    EXPECT_EQ(update.URLGet(), L"");
    update.DoUpdate(false);
    EXPECT_EQ(update.URLGet(), HttpUrl(L"files/next.inf"));
    EXPECT_EQ(update.GetControlFileURL(), HttpUrl(L"files/next.inf"));   // the stored address wins

    const ClassLib::TDateTime day = ClassLib::EncodeDate(2026, 2, 28);
    update.UpdateDatePut(day);
    EXPECT_DOUBLE_EQ(update.UpdateDateGet(), day);
    ClassLib::TRegistry registry(KEY_READ);
    ASSERT_TRUE(registry.OpenKeyReadOnly(key + L"\\History"));
    EXPECT_FALSE(registry.ValueExists(L"LastTime")) << "a date without time of day wrote a time";
    registry.CloseKey();
    const ClassLib::TDateTime moment = day + ClassLib::EncodeTime(13, 14, 15, 0);
    update.UpdateDatePut(moment);
    EXPECT_NEAR(update.UpdateDateGet(), moment, 1e-6);

    ClassLib::TRegistry cleanup;
    cleanup.DeleteKey(L"Software\\AtGenTests\\u17Updater\\History");
    cleanup.DeleteKey(L"Software\\AtGenTests\\u17Updater");
}

TEST_F(TRunTest, InstructionsBeforeAndAfterTheDownloads) {
    REQUIRE_SERVERS();
    PutServerFile(L"news.txt", "Line 1\r\nLine 2");
    Offer(L"actions.inf", std::string(NewVersion) +
                              "[action]\nmsg=First\\nSecond\nhtmldlg={TMP}\\page.html\nrunbefore=before.exe\n"
                              "runbeforeparam=-b\nshowURL=http://127.0.0.1:@PORT@/files/page.html\nrunafter=after.exe\n"
                              "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.txt\n"
                              "[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/payload.bin\n"
                              "targetdir=@TARGET@\n");
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/actions.inf"));
    update.SetProxyUserID(L"proxyuser");
    update.SetProxyPassword(L"pw");
    std::vector<std::wstring> opened, dialogs;
    ClassLib::Seams().ShellOpen = [&](const std::wstring& target, const std::wstring& parameters) {
        opened.push_back(target + L" " + parameters);
        return true;
    };
    update.HTMLDialog = [&](const std::wstring& url, HWND parent) {
        dialogs.push_back(url);
        EXPECT_EQ(parent, nullptr);
        return true;
    };
    update.OnSetAppParamBefore = [](TObject*, std::wstring& params) { params += L" -x"; };
    std::vector<std::wstring> news;
    update.OnDownloadedWhatsNew = [&](TObject*, ClassLib::TStrings* text, int& res) {
        for (int i = 0; i < text->Count(); ++i) news.push_back((*text)[i]);
        res = 1;
    };
    update.DoUpdate(false);
    EXPECT_EQ(update.Boxes, std::vector<std::wstring>{L"First\rSecond"});
    EXPECT_EQ(dialogs, std::vector<std::wstring>{ClassLib::ExcludeTrailingPathDelimiter(Download.Path()) + L"\\page.html"});
    // The proxy's credentials never go into the address a browser is given.
    const std::wstring page = L"http://127.0.0.1:" + std::to_wstring(HttpPort()) + L"/files/page.html";
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"before.exe -b -x", L"iexplore.exe -new " + page, L"after.exe "}));
    EXPECT_EQ(news, (std::vector<std::wstring>{L"Line 1", L"Line 2"}));
    EXPECT_EQ(Target.Files(), std::vector<std::wstring>{L"payload.bin"});
}

TEST_F(TRunTest, NewWhatsNewFetchesTheTextOfAnAvailableUpdate) {
    REQUIRE_SERVERS();
    PutServerFile(L"news.txt", "Line 1\r\nLine 2");
    PutServerFile(L"news.rtf", "{\\rtf1 News}");
    Offer(L"plain.inf", std::string(NewVersion) + "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.txt\n");
    Offer(L"rtf.inf", std::string(NewVersion) + "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.rtf\n");
    Offer(L"current.inf", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n"
                          "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.txt\n");
    TTestUpdate update(Download.Path());
    update.SetURL(HttpUrl(L"files/plain.inf"));
    std::unique_ptr<ClassLib::TStringList> text = update.NewWhatsNew(false);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Count(), 2);
    EXPECT_EQ((*text)[1], L"Line 2");
    update.SetURL(HttpUrl(L"files/rtf.inf"));
    EXPECT_EQ(update.NewWhatsNew(false), nullptr);
    update.SetURL(HttpUrl(L"files/current.inf"));
    EXPECT_EQ(update.NewWhatsNew(false), nullptr);
    EXPECT_TRUE(Download.Files().empty());
}
