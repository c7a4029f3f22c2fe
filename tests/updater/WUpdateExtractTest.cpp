#include "updater/WUpdateExtract.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ArchiveFixtures.h"
#include "UpdaterTestSupport.h"
#include "classlib/FileNames.h"
#include "classlib/Strings.h"
#include "updater/cabfdi.h"

using namespace WUpdate;
using namespace UpdaterTests;

namespace {

std::vector<std::wstring> Tree(const std::wstring& folder) {
    std::vector<std::wstring> out;
    ListTree(folder, L"", out);
    std::sort(out.begin(), out.end());
    return out;
}

// The archive lies in its own folder; it unpacks into Inner, two levels below Outer, so
// a name that climbs out would show up in Outer.
struct TArchiveFolders {
    TScratchFolder Source, Outer;
    std::wstring Inner() const { return Outer.Path() + L"one\\two\\"; }
    TArchiveFolders() { ForceDirs(Inner()); }
};

}  // namespace

TEST(ArchiveEntryPath, StaysInsideTheTargetFolder) {
    struct TCase { const wchar_t* Stored; bool Safe; const wchar_t* Relative; };
    const TCase cases[] = {
        {L"a.txt", true, L"a.txt"},
        {L"sub/b.txt", true, L"sub\\b.txt"},
        {L"sub\\.\\b.txt", true, L"sub\\b.txt"},
        {L"sub/../b.txt", true, L"b.txt"},
        {L"sub//b.txt", true, L"sub\\b.txt"},
        {L"../evil.txt", false, L""},
        {L"..\\..\\evil.txt", false, L""},
        {L"sub/../../evil.txt", false, L""},
        {L"/abs.txt", false, L""},
        {L"\\\\server\\share\\x.txt", false, L""},
        {L"C:evil.txt", false, L""},
        {L"C:\\evil.txt", false, L""},
        {L"a.txt:stream", false, L""},
        {L"", false, L""},
        {L"sub/CON", false, L""},          // a device, wherever it is joined
        {L"nul.txt", false, L""},
        {L"sub./a.txt", false, L""},       // the system would drop the dot
        {L"a.txt ", false, L""},
        {L"a*b.txt", false, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Stored)));
        std::wstring relative;
        EXPECT_EQ(SafeEntryPath(c.Stored, relative), c.Safe);
        if (c.Safe) {
            EXPECT_EQ(relative, c.Relative);
        }
    }
}

TEST(ForceDirs, CreatesMissingParentsWithEitherSlash) {
    TScratchFolder scratch;
    EXPECT_TRUE(ForceDirs(scratch.Path() + L"a\\b\\c\\"));
    EXPECT_TRUE(ClassLib::DirectoryExists(scratch.Path() + L"a\\b\\c"));
    EXPECT_TRUE(ForceDirs(scratch.Path() + L"x/y/"));
    EXPECT_TRUE(ClassLib::DirectoryExists(scratch.Path() + L"x\\y"));
    EXPECT_TRUE(ForceDirs(scratch.Path() + L"a\\b"));   // existing: done
    scratch.Write(L"file", "x");
    EXPECT_FALSE(ForceDirs(scratch.Path() + L"file\\sub"));
}

TEST(ExtractZipFile, Matrix) {
    struct TCase {
        const char* Label;
        std::vector<TZipItem> Items;
        int Result;
        std::vector<std::wstring> Inner;   // what the target folder holds afterwards
    };
    TZipItem bzip2{"b.txt", "bzip"};
    bzip2.Method = 12;
    TZipItem encrypted{"e.txt", "secret"};
    encrypted.Flags = 1;
    TZipItem badCrc{"c.txt", "check"};
    badCrc.BadCrc = true;
    TZipItem utf8{"\xC3\xBC.txt", "u"};
    utf8.Flags = 0x800;
    const TCase cases[] = {
        {"stored", {{"a.txt", "alpha", false}}, 0, {L"a.txt"}},
        {"deflated", {{"a.txt", std::string(5000, 'z')}}, 0, {L"a.txt"}},
        {"folders", {{"d/", ""}, {"d/e/f.txt", "f"}}, 0, {L"d\\", L"d\\e\\", L"d\\e\\f.txt"}},
        {"utf-8 name", {utf8}, 0, {L"\u00FC.txt"}},
        {"cp437 name", {{"\x81.txt", "c"}}, 0, {L"\u00FC.txt"}},
        {"bad crc", {badCrc}, -1, {}},
        {"bzip2", {{"a.txt", "a"}, bzip2}, -1, {}},
        {"encrypted", {encrypted}, -1, {}},
        {"climbs out", {{"a.txt", "a"}, {"../evil.txt", "evil"}}, -1, {}},
        {"absolute", {{"/abs.txt", "evil"}}, -1, {}},
        {"drive", {{"C:/evil.txt", "evil"}}, -1, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TArchiveFolders folders;
        const std::wstring archive = folders.Source.Write(L"x.zip", MakeZip(c.Items));
        EXPECT_EQ(ExtractZipFile(archive, folders.Inner()), c.Result);
        EXPECT_EQ(Tree(folders.Inner()), c.Inner);
        for (const std::wstring& name : Tree(folders.Outer.Path()))
            EXPECT_EQ(name.rfind(L"one\\", 0), 0u) << "written outside: " << testing::PrintToString(name);
        if (c.Result == 0 && c.Inner.size() == 1) {
            const std::string content = ReadFileBytes(folders.Inner() + c.Inner[0]);
            EXPECT_EQ(content, c.Items[0].Data);
        }
    }
}

TEST(ExtractZipFile, DamagedOrMissingArchivesFail) {
    TArchiveFolders folders;
    const std::string good = MakeZip({{"a.txt", std::string(3000, 'q')}});
    const std::wstring truncated = folders.Source.Write(L"t.zip", good.substr(0, good.size() / 2));
    const std::wstring notZip = folders.Source.Write(L"n.zip", "not an archive at all, not even close");
    EXPECT_EQ(ExtractZipFile(truncated, folders.Inner()), -1);
    EXPECT_EQ(ExtractZipFile(notZip, folders.Inner()), -1);
    EXPECT_EQ(ExtractZipFile(folders.Source.Path() + L"missing.zip", folders.Inner()), -1);
    EXPECT_TRUE(Tree(folders.Inner()).empty());
}

TEST(ExtractCabinet, Matrix) {
    const std::vector<TCabItem> good = {{"a.txt", "alpha"}, {"sub\\b.txt", std::string(2000, 'b')}};
    struct TCase { const char* Label; std::string Cabinet; int Result; std::vector<std::wstring> Inner; };
    const std::string stored = MakeCab(good, false);
    const TCase cases[] = {
        {"stored", stored, 0, {L"a.txt", L"sub\\", L"sub\\b.txt"}},
        {"mszip", MakeCab(good, true), 0, {L"a.txt", L"sub\\", L"sub\\b.txt"}},
        {"climbs out", MakeCab({{"a.txt", "a"}, {"..\\..\\evil.txt", "evil"}}, false), -1, {}},
        {"absolute", MakeCab({{"\\evil.txt", "evil"}}, false), -1, {}},
        {"truncated", stored.substr(0, stored.size() - 1000), -1, {}},
        {"not a cabinet", "MSCF but nothing else", -1, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TArchiveFolders folders;
        const std::wstring cabinet = folders.Source.Write(L"x.cab", c.Cabinet);
        EXPECT_EQ(cabfdi::ExtractCabinet(cabinet, folders.Inner()), c.Result);
        EXPECT_EQ(Tree(folders.Inner()), c.Inner);
        for (const std::wstring& name : Tree(folders.Outer.Path()))
            EXPECT_EQ(name.rfind(L"one\\", 0), 0u) << "written outside: " << testing::PrintToString(name);
        if (c.Result == 0) {
            EXPECT_EQ(ReadFileBytes(folders.Inner() + L"sub\\b.txt"), good[1].Data);
        }
    }
}

TEST(ExtractCabinet, StoredDosTimeBecomesTheWriteTime) {
    TArchiveFolders folders;
    const std::wstring cabinet = folders.Source.Write(L"x.cab", MakeCab({{"a.txt", "a", 0x5A21, 0x6000}}, false));
    ASSERT_EQ(cabfdi::ExtractCabinet(cabinet, folders.Inner()), 0);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW((folders.Inner() + L"a.txt").c_str(), GetFileExInfoStandard, &data));
    FILETIME local{}, expected{};
    ASSERT_TRUE(::DosDateTimeToFileTime(0x5A21, 0x6000, &local));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&local, &expected));
    EXPECT_EQ(::CompareFileTime(&data.ftLastWriteTime, &expected), 0);
}

TEST(LZExpandFile, ExpandsIntoTheHeadersNameAndDropsTheCompressedFile) {
    TScratchFolder scratch;
    const std::string text = "expanded text of some length, not a multiple of eight";
    const std::wstring packed = scratch.Write(L"a.tx_", MakeSzdd(text, 't'));
    EXPECT_EQ(LZExpandFile(packed), scratch.Path() + L"a.txt");
    EXPECT_EQ(ReadFileBytes(scratch.Path() + L"a.txt"), text);
    EXPECT_EQ(scratch.Files(), std::vector<std::wstring>{L"a.txt"});
}

TEST(LZExpandFile, AMissingFileChangesNothing) {
    TScratchFolder scratch;
    EXPECT_EQ(LZExpandFile(scratch.Path() + L"none.tx_"), L"");
    EXPECT_TRUE(scratch.Files().empty());
}

// A run whose file is a compressed ZIP: unpacked into its target folder, or, when damaged,
// reported with 947 and never ending in success.
TEST(UnpackingInARun, AZipIsUnpackedAndADamagedOneFailsTheRun) {
    REQUIRE_SERVERS();
    const std::string good = MakeZip({{"sub/a.txt", "alpha"}});
    struct TCase { const char* Label; std::string Archive; int Successes; bool Unpacked; };
    const TCase cases[] = {{"good", good, 1, true}, {"damaged", good.substr(0, good.size() - 30), 0, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TScratchFolder local, target, download;
        MakeLocalProgram(local.Path() + L"app.exe");
        PutServerFile(L"pack.zip", c.Archive);
        PutServerFile(L"zip.inf", "[update]\nnewversion=2.6.0.1\nlocalversion=" +
                                      ClassLib::UTF8Encode(local.Path() + L"app.exe") +
                                      "\n[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/pack.zip\n"
                                      "compressed=1\ntargetdir=" + ClassLib::UTF8Encode(target.Path()) + "\n");
        TTestUpdate update(download.Path());
        update.SetURL(HttpUrl(L"files/zip.inf"));
        update.SetExtractZIP(true);
        int successes = 0;
        update.OnSuccess = [&](ClassLib::TObject*) { ++successes; };
        update.DoUpdate(false);
        EXPECT_EQ(successes, c.Successes);
        EXPECT_EQ(ClassLib::FileExists(target.Path() + L"sub\\a.txt"), c.Unpacked);
        const std::vector<int> idents = update.Idents();
        EXPECT_EQ(std::find(idents.begin(), idents.end(), 947) != idents.end(), !c.Unpacked);
    }
}

namespace {

// Serves a control file NAME whose one entry is the patch fix.pat for `installed`, beside
// app.exe 2.6.0.0 in `local`; the run's target folder is `target`.
void ServePatchRun(const std::wstring& name, const TScratchFolder& local, const std::wstring& installed,
                   const TScratchFolder& target) {
    MakeLocalProgram(local.Path() + L"app.exe");
    PutServerFile(name, "[update]\nnewversion=2.6.0.1\nlocalversion=" + ClassLib::UTF8Encode(local.Path() + L"app.exe") +
                            "\n[files]\ncount=1\n[file1]\nurl=http://127.0.0.1:@PORT@/files/fix.pat\n"
                            "localversion=" + ClassLib::UTF8Encode(installed) +
                            "\ntargetdir=" + ClassLib::UTF8Encode(target.Path()) + "\n");
}

}  // namespace

// A run whose file is a patch: the patcher runs on it by full paths, and only a patch that
// applied is deleted and counts as done.
TEST(PatchingInARun, ThePatcherRunsOnFullPathsAndItsFailureFailsTheRun) {
    REQUIRE_SERVERS();
    PutServerFile(L"fix.pat", "patch data");
    struct TCase { const char* Label; bool ApplyPatch; int ExitCode; bool Logging; };
    const TCase cases[] = {
        {"applied, logged", true, 0, true},
        {"patcher failed", true, 3, false},
        {"patching off", false, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TScratchFolder local, target, download;
        const std::wstring installed = local.Write(L"the lib.dll", "old");
        ServePatchRun(L"pat.inf", local, installed, target);
        TTestUpdate update(download.Path());
        update.SetURL(HttpUrl(L"files/pat.inf"));
        update.SetApplyPatch(c.ApplyPatch);
        update.SetLogging(c.Logging);
        const std::wstring log = local.Path() + L"update.log";
        if (c.Logging) update.SetLogFileName(log);
        std::vector<std::wstring> runs;
        ClassLib::Seams().RunAndWait = [&](const std::wstring& commandLine, bool) {
            runs.push_back(commandLine);
            return c.ExitCode;
        };
        int successes = 0;
        update.OnSuccess = [&](ClassLib::TObject*) { ++successes; };
        update.DoUpdate(false);
        if (c.Logging) update.SetLogFileName(L"WUPDATE.LOG");
        const std::wstring patch = target.Path() + L"fix.pat";
        const std::vector<int> idents = update.Idents();
        if (!c.ApplyPatch) {
            EXPECT_TRUE(runs.empty());
            EXPECT_EQ(successes, 1);
            EXPECT_TRUE(ClassLib::FileExists(patch));
            continue;
        }
        const std::wstring patcher = ClassLib::IncludeTrailingPathDelimiter(ClassLib::GetCurrentDir()) + L"patcher.exe";
        EXPECT_EQ(runs, std::vector<std::wstring>{L"\"" + patcher + L"\"" + (c.Logging ? L" -v" : L"") + L" \"" + patch +
                                                  L"\" \"" + installed + L"\""});
        EXPECT_EQ(successes, c.ExitCode == 0 ? 1 : 0);
        EXPECT_EQ(ClassLib::FileExists(patch), c.ExitCode != 0) << "only an applied patch goes";
        EXPECT_EQ(std::find(idents.begin(), idents.end(), 947) != idents.end(), c.ExitCode != 0);
        if (c.Logging) {
            const std::string text = ReadFileBytes(log);
            EXPECT_NE(text.find("Exec: \""), std::string::npos) << text;
            EXPECT_NE(text.find("Patcher exit code 0 for "), std::string::npos) << text;
            EXPECT_EQ(text.find(">>"), std::string::npos) << text;
        }
    }
}

// With the utility's animation on, a small window with the caption and message stands while
// the patcher runs, and is gone afterwards; off, no window appears.
TEST(PatchingInARun, TheAnimationWindowStandsWhileThePatcherRuns) {
    REQUIRE_SERVERS();
    PutServerFile(L"fix.pat", "patch data");
    for (const bool animate : {true, false}) {
        SCOPED_TRACE(animate ? "animation on" : "animation off");
        TScratchFolder local, target, download;
        ServePatchRun(L"anim.inf", local, local.Write(L"lib.dll", "old"), target);
        TTestUpdate update(download.Path());
        update.SetURL(HttpUrl(L"files/anim.inf"));
        update.SetApplyPatch(true);
        WUpdate::TWebUpdateUtility utility(nullptr);
        utility.SetShowAnimation(animate);
        utility.SetStatusCaption(L"Patching the program");
        utility.SetStatusMessage(L"Applying the update, please wait");
        update.SetUtility(&utility);
        HWND during = nullptr;
        RECT frame{};
        std::wstring message;
        ClassLib::Seams().RunAndWait = [&](const std::wstring&, bool) {
            during = ::FindWindowW(L"Static", L"Patching the program");
            if (during) {
                ::GetWindowRect(during, &frame);
                for (HWND child = ::FindWindowExW(during, nullptr, nullptr, nullptr); child;
                     child = ::FindWindowExW(during, child, nullptr, nullptr)) {
                    wchar_t text[128] = {};
                    ::GetWindowTextW(child, text, 128);
                    if (text[0]) message = text;
                }
            }
            return 0;
        };
        update.DoUpdate(false);
        update.SetUtility(nullptr);
        if (!animate) {
            EXPECT_EQ(during, nullptr);
            continue;
        }
        ASSERT_NE(during, nullptr);
        EXPECT_EQ(frame.right - frame.left, 300);
        EXPECT_EQ(frame.bottom - frame.top, 170);
        EXPECT_EQ(message, L"Applying the update, please wait");
        EXPECT_FALSE(::IsWindow(during)) << "the window goes with the wait";
    }
}

TEST(ArchiveBounds, ArchivesThatWouldFillTheDiskAreRefusedWhole) {
    // 64 MB of zeros pack a thousand to one: honest sizes, but far beyond what an archive
    // of that size may expand to.
    const std::string zeros(64u << 20, '\0');
    TZipItem lying{"b.bin", std::string(1u << 20, '\0')};
    lying.DeclaredSize = 1000;   // inflates past what its headers state
    struct TCase {
        const char* Label;
        std::string Archive;
        bool Cabinet;
    };
    const TCase cases[] = {
        {"zip at a thousand to one", MakeZip({{"a.txt", "a"}, {"big.bin", zeros}}), false},
        {"zip entry beyond its declared size", MakeZip({{"a.txt", "a"}, lying}), false},
        {"cabinet at six hundred to one", MakeCab({{"a.txt", "a"}, {"big.bin", zeros.substr(0, 20u << 20)}}, true), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TArchiveFolders folders;
        const std::wstring archive = folders.Source.Write(c.Cabinet ? L"x.cab" : L"x.zip", c.Archive);
        EXPECT_EQ(c.Cabinet ? cabfdi::ExtractCabinet(archive, folders.Inner()) : ExtractZipFile(archive, folders.Inner()), -1);
        EXPECT_TRUE(Tree(folders.Inner()).empty()) << "something was left behind";
    }
    // An LZ header that declares far more than its file may hold.
    TScratchFolder scratch;
    std::string szdd = MakeSzdd("some text", 't');
    szdd.replace(10, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    const std::wstring packed = scratch.Write(L"a.tx_", szdd);
    EXPECT_EQ(LZExpandFile(packed), L"");
    EXPECT_EQ(scratch.Files(), std::vector<std::wstring>{L"a.tx_"});
}

TEST(ArchiveOutput, AFileStopsAtItsDeclaredSizeAndNothingStaysUntilCommit) {
    TScratchFolder scratch;
    {
        TArchiveOutput output(scratch.Path());
        ASSERT_TRUE(output.Begin(L"sub\\a.bin", 10));
        EXPECT_TRUE(output.Write("123456", 6));
        EXPECT_FALSE(output.Write("789012", 6)) << "past the declared size";
        EXPECT_FALSE(output.End(0, 0));
        EXPECT_FALSE(output.Commit());
    }
    EXPECT_EQ(Tree(scratch.Path()), std::vector<std::wstring>{}) << "the entry's folder and file stayed";

    scratch.Write(L"old.txt", "old");
    {
        TArchiveOutput output(scratch.Path());
        ASSERT_TRUE(output.Begin(L"old.txt", 3));
        EXPECT_TRUE(output.Write("new", 3));
        EXPECT_TRUE(output.End(0, 0));
        EXPECT_EQ(ReadFileBytes(scratch.Path() + L"old.txt"), "old") << "replaced before the commit";
        EXPECT_TRUE(output.Commit());
    }
    EXPECT_EQ(ReadFileBytes(scratch.Path() + L"old.txt"), "new");
    EXPECT_EQ(scratch.Files(), std::vector<std::wstring>{L"old.txt"});
}

// Files that must change together: when one of them cannot be put in place, the others
// get their old files back, and a target that did not exist goes again.
TEST(ReplaceFiles, AMoveThatFailsLeavesEveryTargetAsItWas) {
    TScratchFolder scratch;
    const std::wstring a = scratch.Write(L"a.txt", "old a"), b = scratch.Write(L"b.txt", "old b");
    const std::wstring c = scratch.Path() + L"c.txt";
    scratch.Write(L"new a", "new a");
    scratch.Write(L"new b", "new b");
    scratch.Write(L"new c", "new c");
    ::SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::vector<TReplacement> group = {
        {scratch.Path() + L"new a", a}, {scratch.Path() + L"new c", c}, {scratch.Path() + L"new b", b}};
    // Held open without delete sharing, the last new file cannot move.
    HANDLE held = ::CreateFileW(group[2].NewFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplaceFiles(group));
    ::CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(a), "old a");
    EXPECT_EQ(ReadFileBytes(b), "old b");
    EXPECT_FALSE(ClassLib::FileExists(c));

    for (const char* name : {"new a", "new b", "new c"}) scratch.Write(ClassLib::UTF8Decode(name), name);
    EXPECT_TRUE(ReplaceFiles(group));
    EXPECT_EQ(scratch.Files(), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));
    EXPECT_EQ(ReadFileBytes(a) + ReadFileBytes(b) + ReadFileBytes(c), "new anew bnew c");

    // One file alone: a move that fails leaves the installed file.
    scratch.Write(L"new a", "newer a");
    held = ::CreateFileW((scratch.Path() + L"new a").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    DWORD error = 0;
    EXPECT_FALSE(ReplaceFile(scratch.Path() + L"new a", a, error));
    ::CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(a), "new a");
}
