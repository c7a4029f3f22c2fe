#include "updater/WUpdate.h"

#include <gtest/gtest.h>

#include "UpdaterTestSupport.h"
#include "classlib/Seams.h"
#include "classlib/FileNames.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "classlib/VersionInfo.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::StringReplace;

namespace {

// Local fixtures the control files point at: versioned programs and a three-byte file.
class TControlFileTest : public testing::Test {
protected:
    void SetUp() override {
        const int v2600[4] = {2, 6, 0, 0};
        const int v2601[4] = {2, 6, 0, 1};
        MakeVersionFixture(Fixtures.Path() + L"v2600.exe", &v2600);
        MakeVersionFixture(Fixtures.Path() + L"v2601.exe", &v2601);
        MakeVersionFixture(Fixtures.Path() + L"none.exe", nullptr);
        Fixtures.Write(L"abc.txt", "abc");
    }
    // Reads `text` ("@DIR@" standing for the fixtures' folder) as the control file of a
    // local update and returns DoVersionCheck's answer (or GetControlFile's, when not 0).
    int Check(TTestUpdate& update, const std::string& text) {
        const std::string dir = ClassLib::UTF8Encode(Fixtures.Path());
        std::string body = text;
        for (size_t at; (at = body.find("@DIR@")) != std::string::npos;) body.replace(at, 5, dir);
        update.SetUpdateType(fileUpdate);
        update.SetURL(Source.Write(L"control.inf", body));
        EXPECT_EQ(update.StartConnection(), 0);
        const int read = update.GetControlFile();
        return read != 0 ? read : update.DoVersionCheck();
    }
    TScratchFolder Fixtures, Source, Download;
};

}  // namespace

TEST_F(TControlFileTest, EachKindOfTestDecidesWhetherAnUpdateExists) {
    struct TCase {
        const char* Name;
        std::string Text;
        TWebUpdateVersionCheck Mode;
        int Result;
    };
    const TCase cases[] = {
        {"same version", "[update]\nnewversion=2.6\nlocalversion=@DIR@v2600.exe\n", vcUpdateOnly, 7},
        {"newer version", "[update]\nnewversion=2.6.0.1\nlocalversion=@DIR@v2600.exe\n", vcUpdateOnly, 11},
        {"older version", "[update]\nnewversion=2.6\nlocalversion=@DIR@v2601.exe\n", vcUpdateOnly, 7},
        {"unsigned words", "[update]\nnewversion=2.6.40000.0\nlocalversion=@DIR@v2601.exe\n", vcUpdateOnly, 11},
        {"no new version text", "[update]\nnewversion=1.2.3.4.5\nlocalversion=@DIR@v2600.exe\n", vcAlways, 7},
        {"local without version", "[update]\nnewversion=3.0\nlocalversion=@DIR@none.exe\n", vcUpdateOnly, 7},
        {"local without version, always", "[update]\nnewversion=3.0\nlocalversion=@DIR@none.exe\n", vcAlways, 11},
        {"local missing", "[update]\nnewversion=3.0\nlocalversion=@DIR@gone.exe\n", vcUpdateOnly, 7},
        {"local missing, always", "[update]\nnewversion=3.0\nlocalversion=@DIR@gone.exe\n", vcAlways, 11},
        {"same checksum", "[update]\nnewchecksum=293\nlocalversion=@DIR@abc.txt\n", vcUpdateOnly, 7},
        {"other checksum", "[update]\nnewchecksum=294\nlocalversion=@DIR@abc.txt\n", vcUpdateOnly, 10},
        {"same size", "[update]\nnewsize=3\nlocalversion=@DIR@abc.txt\n", vcUpdateOnly, 7},
        {"other size", "[update]\nnewsize=4\nlocalversion=@DIR@abc.txt\n", vcUpdateOnly, 9},
        {"newer date", "[update]\ndate=24/12/2025\ntime=10:30\n", vcUpdateOnly, 6},
        {"older date", "[update]\ndate=24/12/1979\n", vcUpdateOnly, 7},
        {"older date, unconditional", "[update]\ndate=24/12/1979\nunconditional=1\n", vcUpdateOnly, 8},
        {"nothing to test", "[update]\ndescr=x\n", vcUpdateOnly, 7},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        update.SetVersionCheck(c.Mode);
        EXPECT_EQ(Check(update, c.Text), c.Result);
    }
}

TEST_F(TControlFileTest, AWrongSignatureStopsAfterReadingTheApplicationData) {
    TTestUpdate update(Download.Path());
    update.SetSignatureCheck(true);
    EXPECT_EQ(Check(update, "[update]\nsignature=webupdate\n[application]\nappupdate=1\nappname=a.exe\nsilentrestart=1\n"), 5);
    EXPECT_EQ(update.Idents().back(), 927);
    EXPECT_TRUE(update.AppSilentRestart());
    TTestUpdate right(Download.Path());
    right.SetSignatureCheck(true);
    EXPECT_EQ(Check(right, "[update]\nsignature=WebUpdate\n"), 7);
}

TEST_F(TControlFileTest, VersionComparisonLeavesBothVersionsFormatted) {
    TTestUpdate update(Download.Path());
    EXPECT_EQ(Check(update, "[update]\nnewversion=2,6,0,1\nlocalversion=@DIR@v2600.exe\n"), 11);
    EXPECT_EQ(update.NewVersionInfo, L"2.6.0.1");
    EXPECT_EQ(update.CurVersionInfo, L"2.6.0.0");
    const std::vector<int> idents = update.Idents();
    EXPECT_EQ(std::vector<int>(idents.end() - 4, idents.end()), (std::vector<int>{933, 979, 944, 929}));
}

TEST_F(TControlFileTest, TextsAreReadAsUTF8ElseInTheAnsiCodePage) {
    ClassLib::TSeamsScope seams;
    ClassLib::Seams().AnsiCodePage = [] { return 1252u; };
    struct TCase {
        const char* Name;
        std::string Text;
    };
    const TCase cases[] = {
        {"utf-8", "[update]\ndescr=Caf\xC3\xA9\\n\xE2\x82\xAC 5\n"},
        {"cp1252", "[update]\ndescr=Caf\xE9\\n\x80 5\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        Check(update, c.Text);
        EXPECT_EQ(update.UpdateDescription, L"Caf\u00E9\r\u20AC 5");
    }
}

TEST_F(TControlFileTest, ApplicationDataAndCustomValidation) {
    TTestUpdate update(Download.Path());
    update.OnSetAppParams = [](ClassLib::TObject*, std::wstring& params) { params += L"-x"; };
    std::wstring validated;
    update.OnCustomValidate = [&](ClassLib::TObject*, const std::wstring& msg, const std::wstring& param, bool& allow) {
        validated = msg + L"|" + param + (allow ? L"|new" : L"|none");
        allow = true;
    };
    EXPECT_EQ(Check(update, "[update]\nnewversion=2.6\nlocalversion=@DIR@v2600.exe\n"
                            "[application]\nappupdate=1\nappname=app.exe\nappcomps=app.exe\nsilentrestart=1\n"
                            "[custom]\nvalidatemsg=m\nvalidateparam=p\n"),
              12);
    EXPECT_EQ(validated, L"m|p|none");
    EXPECT_TRUE(update.AppSilentRestart());
}

TEST(WUpdatePrefixes, FoldersReplaceTheirNames) {
    TScratchFolder download;
    TTestUpdate update(download.Path());
    const std::wstring app = ClassLib::ExtractFileDir(ClassLib::ExecutablePath());
    EXPECT_EQ(update.ExpandPathPrefixes(L"{app}\\bin"), app + L"\\bin");
    EXPECT_EQ(update.ExpandPathPrefixes(L"{XYZ}\\a.txt"), L".\\a.txt");
    EXPECT_EQ(update.ExpandPathPrefixes(L"{TMP}"), ClassLib::ExcludeTrailingPathDelimiter(download.Path()));
    EXPECT_EQ(update.ExpandPathPrefixes(L"x{APP"), L"x{APP");   // never closed: kept
    EXPECT_EQ(update.ExpandPathPrefixes(L"{{APP}"), L".");     // the name is "{APP", which is no folder
    update.OnConvertPrefix = [](ClassLib::TObject*, std::wstring& path) { path = L"{APP}\\moved"; };
    EXPECT_EQ(update.ExpandPathPrefixes(L"anything"), app + L"\\moved");
    std::wstring root;
    update.ConvertPrefix(L"NOPE", root);
    EXPECT_EQ(root, L".");
}

TEST_F(TControlFileTest, TheFileListKeepsOutdatedFilesAndWhatTheApplicationChooses) {
    // file1: same version (dropped); file2: newer version; file3: judged by date alone,
    // installed later than offered (dropped); file4: newer, but its custom version says no;
    // file5 and file6: newer, file6 mandatory; the application empties both their lines.
    const std::string text =
        "[update]\nunconditional=1\n[files]\ncount=6\n"
        "[file1]\nurl=http://h/one.bin\nnewversion=2.6\nlocalversion=@DIR@v2600.exe\ndescr=One\n"
        "[file2]\nurl=http://h/two.bin\nnewversion=2.6.0.1\nlocalversion=@DIR@v2600.exe\ndescr=Two\nfilesize=10\n"
        "[file3]\nurl=http://h/three.bin\nnewversion=9.0\ndate=01/01/2001\nlocalversion=@DIR@abc.txt\ndescr=Three\n"
        "[file4]\nurl=http://h/four.bin\nnewversion=3.0\nlocalversion=@DIR@v2600.exe\ncustomversion=old\ndescr=Four\n"
        "[file5]\nurl=http://h/five.bin\nnewversion=3.0\nlocalversion=@DIR@v2600.exe\ndescr=Five\n"
        "[file6]\nurl=http://h/six.bin\nnewversion=3.0\nlocalversion=@DIR@v2600.exe\ndescr=Six\nmandatory=1\n"
        "filesize=5\ntargetdir={TMP}\\sub\npreselect=0\nhidden=1\n";
    TTestUpdate update(Download.Path());
    std::vector<std::wstring> asked;
    update.OnFileVersionCheck = [&](TObject*, const std::wstring& custom, const std::wstring& local, bool& isNew) {
        asked.push_back(custom + L"/" + local);
        isNew = custom != L"old";
    };
    std::vector<std::wstring> offered;
    update.OnGetFileList = [&](TObject*, ClassLib::TStringList* list) {
        for (int i = 0; i < list->Count(); ++i) offered.push_back((*list)[i]);
        list->SetStrings(1, L"");
        list->SetStrings(2, L"");
    };
    EXPECT_EQ(Check(update, text), 8);
    EXPECT_EQ(update.GetFileDetails(), 6);
    const TFileDescription* six = update.FileList()->Items(5);
    EXPECT_EQ(six->TargetDir, Download.Path() + L"sub\\");
    EXPECT_TRUE(six->Mandatory && six->Hidden && !six->Preselect);
    EXPECT_EQ(update.FileList()->TotalSize(), 15);
    EXPECT_EQ(update.ProcessFileDetails(), 0);
    EXPECT_EQ(asked, std::vector<std::wstring>{L"old/2.6.0.0"});
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"Two", L"Five", L"Six"}));
    std::vector<std::wstring> kept;
    for (int i = 0; i < update.FileList()->Count(); ++i) kept.push_back(update.FileList()->Items(i)->Description);
    EXPECT_EQ(kept, (std::vector<std::wstring>{L"Two", L"Six"}));
    // Nothing left: -1.
    update.OnGetFileList = [](TObject*, ClassLib::TStringList* list) { list->Clear(); };
    update.FileList()->Delete(1);
    update.FileList()->Items(0)->NewVersion = L"2.6";
    EXPECT_EQ(update.ProcessFileDetails(), -1);
}

// Every number a control file sends is a bound to check: one that cannot be right fails the
// check with its status and offers nothing, before anything rests on it.
TEST_F(TControlFileTest, AControlFileWithImpossibleNumbersIsRefusedWhole) {
    struct TCase {
        const char* Name;
        std::string Text;
        int Result;   // GetControlFile's, or DoVersionCheck's after it
    };
    const TCase cases[] = {
        // Read as 65535.0.0.0 it was newer than everything, for good.
        {"version -1", "[update]\nnewversion=-1\nlocalversion=@DIR@v2600.exe\n", 4},
        {"version word out of range", "[update]\nnewversion=2.70000\nlocalversion=@DIR@v2600.exe\n", 4},
        {"version word not decimal", "[update]\nnewversion=1.5a.2\nlocalversion=@DIR@v2600.exe\n", 4},
        {"file version -1", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=x.bin\nnewversion=-1\n", 4},
        // An entry per count took 3.8 GB before anything else happened.
        {"count beyond all bounds", "[update]\nunconditional=1\n[files]\ncount=2000000000\n[file1]\nurl=x.bin\n", 4},
        {"count beyond the sections", "[update]\nunconditional=1\n[files]\ncount=5\n[file1]\nurl=x.bin\n", 4},
        // Where a checksum decides, the version text is only shown.
        {"label beside a checksum", "[update]\nnewversion=1.0 beta\nnewchecksum=1\nlocalversion=@DIR@abc.txt\n", 10},
        {"count within the sections", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=x.bin\n", 8},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestUpdate update(Download.Path());
        EXPECT_EQ(Check(update, c.Text), c.Result);
        EXPECT_EQ(update.HasStatus({981, 11, 12}), c.Result == 4);
        EXPECT_EQ(update.GetFileDetails(), c.Result == 8 ? 1 : 0);
    }
}

TEST_F(TControlFileTest, SizesAre64BitFromTheControlFileToTheTotal) {
    TTestUpdate update(Download.Path());
    ASSERT_EQ(Check(update, "[update]\nunconditional=1\n[files]\ncount=4\n"
                            "[file1]\nurl=a\nfilesize=2147483647\n[file2]\nurl=b\nfilesize=2147483647\n"
                            "[file3]\nurl=c\nfilesize=5000000000\nnewsize=$100000000\n"
                            "[file4]\nurl=d\nfilesize=-7\nnewsize=99999999999999999999\n"),
              8);
    ASSERT_EQ(update.GetFileDetails(), 4);
    const TFileList& files = *update.FileList();
    EXPECT_EQ(files.TotalSize(), 2 * 2147483647ll + 5000000000ll);   // the sum of ints gave -2
    EXPECT_EQ(files.Items(2)->NewSize, 0x100000000ll);
    EXPECT_EQ(files.Items(3)->FileSize, 0) << "a size below 0 counts as none";
    EXPECT_EQ(files.Items(3)->NewSize, 0) << "beyond 64 bits: not a number";
}

TEST(ProgressBars, LargeSizesAreScaledIntoTheBarsRange) {
    struct TCase { long long Pos, Size; int Position, Max; };
    const TCase cases[] = {
        {0, 0, 0, 0},
        {5, 10, 5, 10},
        {15, 10, 10, 10},   // a server that sends more than it announced fills the bar
        {-3, 10, 0, 10},
        {3000000000ll, 6000000000ll, 3000000000ll >> 2, 6000000000ll >> 2},
        {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Pos << " of " << c.Size);
        const TBarRange bar = ProgressBarRange(c.Pos, c.Size);
        EXPECT_EQ(bar.Position, c.Position);
        EXPECT_EQ(bar.Max, c.Max);
    }
}

// A control file or a text is read whole into memory: one larger than any real one is
// refused, whether the server announces its size or just keeps sending.
TEST(ControlFileBounds, AControlFileOrTextBeyondItsBoundIsRefused) {
    REQUIRE_SERVERS();
    PutServerFile(L"bigtext.inf", "[update]\nunconditional=1\n[whatsnew]\nfile=http://127.0.0.1:@PORT@/bytes/20000000\n");
    struct TCase {
        const char* Name;
        const wchar_t* Control;
        bool Read;   // the control file was read; its text then is not
    };
    const TCase cases[] = {
        {"control file of 5 MB, announced", L"bytes/5000000", false},
        {"control file of 5 MB, not announced", L"nolength/5000000", false},
        {"what's new of 20 MB", L"files/bigtext.inf", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder download;
        TTestUpdate update(download.Path());
        update.SetURL(HttpUrl(c.Control));
        ASSERT_EQ(update.StartConnection(), 0);
        EXPECT_EQ(update.GetControlFile(), c.Read ? 0 : 4);
        if (c.Read) {
            EXPECT_EQ(update.GetWhatsNewStream(), nullptr);
        }
        EXPECT_TRUE(update.HasStatus({983, 20, 11}));
        update.StopConnection();
        EXPECT_TRUE(download.Files().empty());
    }
}
