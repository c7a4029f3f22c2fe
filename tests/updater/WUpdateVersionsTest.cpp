#include "updater/WUpdateVersions.h"

#include <gtest/gtest.h>

#include "UpdaterTestSupport.h"
#include "updater/WuBase64.h"
#include "updater/wucrc32.h"

using namespace WUpdate;
using namespace UpdaterTests;

TEST(WUpdateVersions, VersionTextsReadAsTheFourNumbers) {
    struct TCase {
        const wchar_t* Text;
        const wchar_t* Formatted;   // FormatVersion of what was read
        bool Has;
    };
    const TCase cases[] = {
        {L"1,5", L"1.5.0.0", true},
        {L"7", L"7.0.0.0", true},
        {L"1.2.3", L"1.2.3.0", true},
        {L"1.2.3.4", L"1.2.3.4", true},
        {L"1.2.3.4.5", L"1.2.65535.65535", false},   // no low word
        {L"2.6", L"2.6.0.0", true},
        {L"1.0.40000.0", L"1.0.40000.0", true},
        {L"", L"65535.65535.65535.65535", false},
        {L"x", L"65535.65535.65535.65535", false},
        {L"1.x.3", L"65535.65535.65535.65535", false},
        // Once read as 65535.0.0.0, later than every version there is.
        {L"-1", L"65535.65535.65535.65535", false},
        {L"2.70000", L"65535.65535.65535.65535", false},
        {L"$10", L"65535.65535.65535.65535", false},
        {L" 2 . 6 ", L"2.6.0.0", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        const tfvi version = ParseVersion(c.Text);
        EXPECT_EQ(FormatVersion(version), c.Formatted);
        EXPECT_EQ(HasVersion(version), c.Has);
        // What a control file may offer: every number read is a real one. "1.2.3.4.5" has
        // no low word to read, so it is no version, not a wrong one.
        const bool offerable = c.Has || std::wstring(c.Text) == L"1.2.3.4.5";
        EXPECT_EQ(IsVersionText(c.Text), offerable);
    }
}

TEST(WUpdateVersions, LaterVersionsCompareUnsigned) {
    EXPECT_TRUE(IsLaterVersion(ParseVersion(L"1.0.40000.0"), ParseVersion(L"1.0.1.0")));
    EXPECT_TRUE(IsLaterVersion(ParseVersion(L"40000.0"), ParseVersion(L"2.0")));
    EXPECT_FALSE(IsLaterVersion(ParseVersion(L"2.6"), ParseVersion(L"2.6.0.0")));
    EXPECT_TRUE(IsLaterVersion(ParseVersion(L"2.6.0.1"), ParseVersion(L"2.6")));
}

TEST(WUpdateVersions, ChecksumsOfAKnownFile) {
    TScratchFolder folder;
    const std::wstring abc = folder.Write(L"abc.txt", "abc");
    const std::wstring empty = folder.Write(L"empty.txt", "");
    EXPECT_EQ(uint32_t(wucrc32::FileCRC32(abc)), 0x6C8D9D41u);   // the standard CRC-32 would be $352441C2
    EXPECT_EQ(FileByteSum(abc), 293);
    EXPECT_EQ(wucrc32::FileCRC32(empty), 0);
    EXPECT_EQ(FileByteSum(empty), -1);
    EXPECT_EQ(wucrc32::FileCRC32(folder.Path() + L"missing"), 0);
    EXPECT_EQ(FileByteSum(folder.Path() + L"missing"), -1);
    // Across the 4096-byte blocks the running value goes on unchanged.
    const std::string big = PatternBytes(10000);
    const std::wstring bigFile = folder.Write(L"big.bin", big);
    const uint32_t whole = ~wucrc32::UpdateCRC32(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(big.data()), big.size());
    EXPECT_EQ(uint32_t(wucrc32::FileCRC32(bigFile)), whole);
}

TEST(WUpdateVersions, FileVersionsComeFromTheVersionResource) {
    TScratchFolder folder;
    const int v2600[4] = {2, 6, 0, 0};
    const int v2601[4] = {2, 6, 0, 1};
    MakeVersionFixture(folder.Path() + L"v2600.exe", &v2600);
    MakeVersionFixture(folder.Path() + L"v2601.exe", &v2601);
    MakeVersionFixture(folder.Path() + L"none.exe", nullptr);
    EXPECT_EQ(FormatVersion(GetFileVersion(folder.Path() + L"v2600.exe")), L"2.6.0.0");
    EXPECT_EQ(FormatVersion(GetFileVersion(folder.Path() + L"v2601.exe")), L"2.6.0.1");
    EXPECT_FALSE(HasVersion(GetFileVersion(folder.Path() + L"none.exe")));
    EXPECT_FALSE(HasVersion(GetFileVersion(folder.Path() + L"missing.exe")));
}

TEST(WUpdateBase64, EncodesTheLowByteOfEachCharacter) {
    struct TCase {
        std::wstring Text;
        const wchar_t* Encoded;
    };
    const TCase cases[] = {
        {L"", L""},
        {L"a", L"YQ=="},
        {L"ab", L"YWI="},
        {L"abc", L"YWJj"},
        {L"user:pass", L"dXNlcjpwYXNz"},
        {std::wstring(1, wchar_t(0x0161)), L"YQ=="},   // U+0161 keeps only its low byte, $61
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Text));
        EXPECT_EQ(WuBase64::Base64Encode(c.Text), c.Encoded);
    }
}

TEST(WUpdateAddresses, FileNamesHostsAndProxyCredentials) {
    EXPECT_EQ(URLFileName(L"http://127.0.0.1:80/dir/file.zip?x=1"), L"file.zip");
    EXPECT_EQ(URLFileName(L"C:\\updates\\control.inf"), L"control.inf");
    EXPECT_EQ(URLFileName(L"http://h/a\\b/c.txt"), L"c.txt");
    EXPECT_EQ(URLToDomain(L"https://127.0.0.1:443/x/y"), L"127.0.0.1:443");
    EXPECT_EQ(URLToDomain(L"host\\share\\x"), L"host");
    EXPECT_EQ(MakeProxyUrl(L"HTTP://host/a", L"u", L"p"), L"http://u:p@host/a");
    EXPECT_EQ(MakeProxyUrl(L"https://host/a", L"u", L"p"), L"https://host/a");   // never changed
    EXPECT_EQ(MakeProxyUrl(L"http://host/a", L"", L"p"), L"http://host/a");
}

TEST(WUpdateAddresses, MakeProxyUrlPutsCredentialsOnlyIntoPlainHttp) {
    struct TCase {
        const wchar_t* Url;
        const wchar_t* User;
        const wchar_t* Password;
        const wchar_t* Result;
    };
    const TCase cases[] = {
        {L"Http://h:8080/a?b", L"u", L"p", L"http://u:p@h:8080/a?b"},
        {L"http://h/a", L"u", L"", L"http://u:@h/a"},        // an empty password still goes in
        {L"https://h/a", L"u", L"p", L"https://h/a"},
        {L"ftp://h/a", L"u", L"p", L"ftp://h/a"},
        {L"http:/", L"u", L"p", L"http:/"},                  // too short to be an address
        {L"", L"u", L"p", L""},
        {L"http://h/a", L"", L"", L"http://h/a"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MakeProxyUrl(c.Url, c.User, c.Password), c.Result) << testing::PrintToString(std::wstring(c.Url));
}
