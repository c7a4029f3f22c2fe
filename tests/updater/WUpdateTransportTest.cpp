#include "updater/WUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "UpdaterTestSupport.h"

using namespace WUpdate;
using namespace UpdaterTests;

namespace {

// A started session on the servers, as a run has it, downloading into `folder`.
struct TSession {
    explicit TSession(const TScratchFolder& folder) : Update(folder.Path()) {
        Update.SetURL(L"http://127.0.0.1/");   // a loopback address counts as connected
        EXPECT_EQ(Update.StartConnection(), 0);
    }
    ~TSession() { Update.StopConnection(); }
    bool Get(const std::wstring& url, const std::wstring& folder) {
        return Update.URLGetFile(Update.HintConnect(), url, folder, false);
    }
    TTestUpdate Update;
};

}  // namespace

TEST(WUpdateTransport, HttpRoutesArriveWholeOrLeaveNothing) {
    REQUIRE_SERVERS();
    PutServerFile(L"file.zip", "zip bytes");
    struct TCase {
        const wchar_t* Path;
        const wchar_t* Name;      // the local name
        bool Arrives;
        std::string Content;      // when it arrives
        TStatus Failure;          // a status the failure reports ({0,0,0}: none asked)
    };
    const TCase cases[] = {
        {L"bytes/1", L"1", true, PatternBytes(1), {}},
        {L"bytes/4096", L"4096", true, PatternBytes(4096), {}},
        {L"bytes/204800", L"204800", true, PatternBytes(204800), {}},
        {L"nolength/5000", L"5000", true, PatternBytes(5000), {}},
        {L"files/file.zip?x=1", L"file.zip", true, "zip bytes", {}},
        {L"bytes/0", L"0", false, "", {}},                          // nothing arrived
        {L"short/10000/5000", L"5000", false, "", {908, 20, 10}},   // the body ended early
        {L"status/404", L"404", false, "", {916, 6, 404}},
        {L"auth/u/p/10", L"10", false, "", {916, 6, 401}},          // no login asked with waNever
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Path)));
        TScratchFolder folder;
        TSession session(folder);
        int downloaded = 0;
        session.Update.OnFileDownloaded = [&](TObject*, const std::wstring&) { ++downloaded; };
        EXPECT_EQ(session.Get(HttpUrl(c.Path), folder.Path()), c.Arrives);
        if (c.Arrives) {
            EXPECT_EQ(folder.Files(), std::vector<std::wstring>{c.Name});
            EXPECT_EQ(ReadFileBytes(folder.Path() + c.Name), c.Content);
            EXPECT_EQ(downloaded, 1);
        } else {
            EXPECT_TRUE(folder.Files().empty()) << "a failed download left a file";
            EXPECT_EQ(downloaded, 0);
        }
        if (c.Failure.Ident) {
            EXPECT_TRUE(session.Update.HasStatus(c.Failure));
        }
    }
}

TEST(WUpdateTransport, HttpsTrustsTheTestCAAndIgnoresCertificatesOnlyWhenTold) {
    REQUIRE_SERVERS();
    struct TCase {
        const char* Name;
        std::wstring Url;
        TWebUpdateCertCheck Check;
        bool Arrives;
    };
    const TCase cases[] = {
        {"trusted", HttpsUrl(L"bytes/4096"), ccEnable, true},
        {"self-signed, checked", SelfSignedUrl(L"bytes/4096"), ccEnable, false},
        {"self-signed, not checked", SelfSignedUrl(L"bytes/4096"), ccDisable, true},
        {"trusted, 404", HttpsUrl(L"status/404"), ccEnable, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TSession session(folder);
        session.Update.SetCertCheck(c.Check);
        EXPECT_EQ(session.Get(c.Url, folder.Path()), c.Arrives);
        EXPECT_EQ(folder.Files().size(), c.Arrives ? 1u : 0u);
        if (std::string(c.Name) == "self-signed, checked") {
            // Reported as a system error, then as a request that could not be made.
            const std::vector<int> idents = session.Update.Idents();
            EXPECT_NE(std::find(idents.begin(), idents.end(), 976), idents.end());
            EXPECT_TRUE(session.Update.HasStatus({917, 2, 1}));
        }
    }
}

TEST(WUpdateTransport, CancelAfterTheSecondBlockStopsAndKeepsCancelled) {
    REQUIRE_SERVERS();
    TScratchFolder folder;
    TSession session(folder);
    int blocks = 0;
    session.Update.OnProgressCancel = [&](TObject*, bool& cancel) { cancel = ++blocks == 2; };
    EXPECT_FALSE(session.Get(HttpUrl(L"bytes/204800"), folder.Path()));
    EXPECT_EQ(blocks, 2);
    EXPECT_TRUE(session.Update.Cancelled());
    EXPECT_TRUE(session.Update.HasStatus({964, 0, 0}));
    EXPECT_TRUE(folder.Files().empty());
}

TEST(WUpdateTransport, AStalledServerEndsWithTheReceiveTimeOut) {
    REQUIRE_SERVERS();
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    update.SetURL(L"http://127.0.0.1/");
    update.SetReceiveTimeOut(500);
    ASSERT_EQ(update.StartConnection(), 0);
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(update.URLGetFile(update.HintConnect(), HttpUrl(L"stall/8"), folder.Path(), false));
    EXPECT_LT(::GetTickCount() - start, 6000u) << "the time-out did not end the wait";
    update.StopConnection();
    EXPECT_TRUE(folder.Files().empty());
}

TEST(WUpdateTransport, AutoAuthenticationAsksOnceAndRepeatsTheRequest) {
    REQUIRE_SERVERS();
    struct TCase {
        const char* Name;
        bool Answer;
        bool Arrives;
    };
    const TCase cases[] = {{"answered", true, true}, {"cancelled", false, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TSession session(folder);
        session.Update.SetAuthenticate(waAuto);
        session.Update.LoginAnswer = c.Answer;
        session.Update.LoginUser = L"user";
        session.Update.LoginPassword = L"secret";
        EXPECT_EQ(session.Get(HttpUrl(L"auth/user/secret/100"), folder.Path()), c.Arrives);
        EXPECT_EQ(session.Update.LoginCount, 1);
        if (!c.Answer) {
            EXPECT_TRUE(session.Update.HasStatus({956, 0, 0}));
            EXPECT_EQ(session.Update.Messages.back(), L"Authentication cancelled");
        }
        EXPECT_EQ(folder.Files().size(), c.Arrives ? 1u : 0u);
    }
}

TEST(WUpdateTransport, LocalCopiesReplaceOldFilesAndReportWhatStopsThem) {
    TScratchFolder source, target;
    const std::wstring file = source.Write(L"new.bin", PatternBytes(70000));
    TTestUpdate update(target.Path());
    update.SetUpdateType(fileUpdate);
    ASSERT_EQ(update.StartConnection(), 0);

    // A read-only, hidden old file is replaced.
    const std::wstring old = target.Write(L"new.bin", "old");
    ::SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(update.URLGetFile(nullptr, file, target.Path(), false));
    EXPECT_EQ(ReadFileBytes(old), PatternBytes(70000));
    EXPECT_EQ(target.Files(), std::vector<std::wstring>{L"new.bin"});

    update.Statuses.clear();
    EXPECT_FALSE(update.URLGetFile(nullptr, file, file, false));
    EXPECT_TRUE(update.HasStatus({912, 10, 3}));
    EXPECT_FALSE(update.URLGetFile(nullptr, source.Path() + L"missing.bin", target.Path(), false));
    EXPECT_TRUE(update.HasStatus({913, 2, 1}));

    // An old file held open without delete sharing cannot go: 972, and nothing else is left.
    HANDLE held = ::CreateFileW(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(update.URLGetFile(nullptr, file, target.Path(), false));
    ::CloseHandle(held);
    EXPECT_TRUE(update.HasStatus({972, 19, 6}));
    EXPECT_EQ(target.Files(), std::vector<std::wstring>{L"new.bin"}) << "a WUPD file was left behind";
}

TEST(PostUpdateInfo, PostsTheFormAndKeepsTheAnswer) {
    REQUIRE_SERVERS();
    if (!HavePort80()) GTEST_SKIP() << "127.0.0.1:80 is taken or not ours; the post goes to port 80 only";
    TScratchFolder download;
    TTestUpdate update(download.Path());
    update.PostUpdateInfo()->SetServer(L"127.0.0.1");
    update.PostUpdateInfo()->SetAction(L"/echo");
    update.PostUpdateInfo()->SetData("name=at%20gen&version=2.6");
    update.PostUpdateInfo()->PostResult = "stale";
    update.DoPostUpdateInfo();
    EXPECT_EQ(update.PostUpdateInfo()->PostResult, "application/x-www-form-urlencoded|name=at%20gen&version=2.6");
    update.PostUpdateInfo()->SetAction(L"/missing");
    update.DoPostUpdateInfo();
    EXPECT_EQ(update.PostUpdateInfo()->PostResult, "");   // a 404 has an empty body
}

TEST(WUpdateTransport, ProxyCredentialsAnswerTheProxysChallengeAndStayOutOfTheAddress) {
    REQUIRE_SERVERS();
    struct TCase {
        const char* Name;
        const wchar_t* User;
        const wchar_t* Password;
        bool Arrives;
        std::vector<std::string> Log;   // the Proxy-Authorization of each request the proxy saw
    };
    const std::string good = "Basic cHU6cHA=";   // "pu:pp"
    const TCase cases[] = {
        {"right credentials", L"pu", L"pp", true, {"-", good}},
        {"no credentials", L"", L"", false, {"-"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string before = ReadFileBytes(ProxyLog());
        TScratchFolder folder;
        TTestUpdate update(folder.Path());
        update.SetURL(L"http://127.0.0.1/");
        update.SetProxy(L"127.0.0.1:" + std::to_wstring(ProxyPort()));
        update.SetProxyUserID(c.User);
        update.SetProxyPassword(c.Password);
        ASSERT_EQ(update.StartConnection(), 0);
        std::vector<std::wstring> names;
        update.OnFileNameFromURL = [&](TObject*, const std::wstring& url, std::wstring&) { names.push_back(url); };
        // A host of its own for each case: WinInet would otherwise take a kept connection
        // to the plain server, or to the proxy, from an earlier request. The proxy sends
        // every host to the plain server.
        const std::wstring url = L"http://proxied" + std::to_wstring(&c - cases) + L".invalid/bytes/100";
        EXPECT_EQ(update.URLGetFile(update.HintConnect(), url, folder.Path(), false), c.Arrives);
        update.StopConnection();
        if (c.Arrives) {
            EXPECT_EQ(ReadFileBytes(folder.Path() + L"100"), PatternBytes(100));
        } else {
            EXPECT_TRUE(update.HasStatus({916, 6, 407}));
        }
        std::vector<std::string> log;
        const std::string text = ReadFileBytes(ProxyLog()).substr(before.size());
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            log.push_back(text.substr(start, end - start));
        EXPECT_EQ(log, c.Log);
        for (const std::wstring& url : names)
            EXPECT_EQ(url.find(L'@'), std::wstring::npos) << "credentials in " << testing::PrintToString(url);
    }
}

// A server that sends a byte now and then never lets a read time out: the transfer's own
// deadline ends it.
TEST(WUpdateTransport, ADrippingServerIsStoppedByTheDeadline) {
    REQUIRE_SERVERS();
    TScratchFolder folder;
    TSession session(folder);
    session.Update.SetTotalTimeOut(1500);
    EXPECT_FALSE(session.Get(HttpUrl(L"drip/200"), folder.Path()));
    EXPECT_TRUE(session.Update.HasStatus({983, 20, 11}));
    EXPECT_TRUE(folder.Files().empty());
}

TEST(WUpdateTransport, RedirectsAreFollowedAndLoggedButNeverFromHttpsToHttp) {
    REQUIRE_SERVERS();
    const std::wstring http = std::to_wstring(HttpPort()), https = std::to_wstring(HttpsPort());
    struct TCase {
        const char* Name;
        std::wstring Url;
        bool WithCredentials;
        bool Arrives;
        std::wstring Reported;   // the address the redirect status names; empty: none
    };
    const TCase cases[] = {
        {"http to https", HttpUrl(L"redirect/302/https/" + https + L"/bytes/100"), false, true, HttpsUrl(L"bytes/100")},
        {"on the same server", HttpUrl(L"redirect/301/relative/bytes/100"), false, true, HttpUrl(L"bytes/100")},
        {"https to http", HttpsUrl(L"redirect/302/http/" + http + L"/bytes/100"), false, false, L""},
        {"credentials stay on their server", HttpUrl(L"redirect/307/relative/auth/u/p/100"), true, true,
         HttpUrl(L"auth/u/p/100")},
        {"credentials do not follow to another", HttpUrl(L"redirect/307/https/" + https + L"/auth/u/p/100"), true, false,
         HttpsUrl(L"auth/u/p/100")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TSession session(folder);
        if (c.WithCredentials) {
            session.Update.SetUserID(L"u");
            session.Update.SetPassword(L"p");
        }
        EXPECT_EQ(session.Get(c.Url, folder.Path()), c.Arrives);
        EXPECT_EQ(folder.Files(), c.Arrives ? std::vector<std::wstring>{L"100"} : std::vector<std::wstring>{});
        const std::vector<std::wstring>& said = session.Update.Messages;
        const bool reported = std::find(said.begin(), said.end(), L"Redirected to : " + c.Reported) != said.end();
        EXPECT_EQ(reported, !c.Reported.empty());
        if (c.Reported.empty()) {
            EXPECT_TRUE(session.Update.HasStatus({983, 20, 11}));
        }
    }
}

TEST(WUpdateTransport, ANameThatIsNoPlainFileNameIsNotFetched) {
    REQUIRE_SERVERS();
    TScratchFolder folder;
    TSession session(folder);
    for (const wchar_t* path : {L"files/con", L"files/x/..", L"files/a.bin."}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        EXPECT_FALSE(session.Get(HttpUrl(path), folder.Path()));
        EXPECT_TRUE(session.Update.HasStatus({917, 2, 1}));
    }
    EXPECT_TRUE(folder.Files().empty());
}
