#include "updater/WUpdateRestart.h"

#include <gtest/gtest.h>

#include <cstring>

#include "UpdaterTestSupport.h"
#include "classlib/FileNames.h"
#include "classlib/Seams.h"
#include "classlib/Strings.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateExtract.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::TObject;

TEST(RestartComponents, AreWholeFileNamesIgnoringCase) {
    struct TCase { const wchar_t* List; const wchar_t* File; bool Component; };
    const TCase cases[] = {
        {L"VXAT.EXE", L"at.exe", false},
        {L"VXAT.EXE", L"vxat.exe", true},
        {L"a.dll, b.dll;c.dll  d.dll", L"C:\\dl\\c.dll", true},
        {L"a.dll,b.dll", L"d.dll", false},
        {L"", L"a.dll", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.List) + L" / " + c.File));
        EXPECT_EQ(IsComponent(c.List, c.File), c.Component);
    }
    EXPECT_EQ(SplitComponents(L" a.dll,,b.dll ;c.dll "), (std::vector<std::wstring>{L"a.dll", L"b.dll", L"c.dll"}));
}

TEST(RestartCommandLine, IsBuiltByTheContractAndReadBack) {
    struct TCase { TRestartCommand Command; const wchar_t* Line; };
    const TCase cases[] = {
        {{4242, false, L"C:\\Prog\\app.exe", L"", L"C:\\Temp\\", L"app.exe"},
         L"4242 X C:\\Prog\\app.exe \" \" \"C:\\Temp\\\" app.exe"},
        {{7, true, L"C:\\Program Files\\My App\\app.exe", L"-a -b", L"C:\\My Temp\\", L"app.exe, lib.dll"},
         L"7 L \"C:\\Program Files\\My App\\app.exe\" \"-a -b\" \"C:\\My Temp\\\" app.exe, lib.dll"},
        {{9, false, L"null", L"one", L"D:\\t\\", L"x.exe"}, L"9 X null one \"D:\\t\\\" x.exe"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        EXPECT_EQ(BuildRestartParameters(c.Command), c.Line);
        TRestartCommand read;
        ASSERT_TRUE(ParseRestartParameters(SkipProgramName(L"\"C:\\a b\\upd.exe\"  " + std::wstring(c.Line)), read));
        EXPECT_EQ(read.ProcessId, c.Command.ProcessId);
        EXPECT_EQ(read.Logging, c.Command.Logging);
        EXPECT_EQ(read.Application, c.Command.Application);
        EXPECT_EQ(read.Parameters, c.Command.Parameters);
        EXPECT_EQ(read.Folder, c.Command.Folder);
        EXPECT_EQ(read.Components, c.Command.Components);
    }
    for (const wchar_t* bad : {L"", L"x X a b \"c\\\" d", L"1 Q a b \"c\\\" d", L"1 X a b c d", L"1 X a b \"c"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(bad)));
        TRestartCommand read;
        EXPECT_FALSE(ParseRestartParameters(bad, read));
    }
}

namespace {

// An update whose only file is an application component, so a run ends in the restart.
class TRestartTest : public testing::Test {
protected:
    void SetUp() override {
        const int v2600[4] = {2, 6, 0, 0};
        MakeVersionFixture(Local.Path() + L"app.exe", &v2600);
        PutServerFile(L"comp.bin", "new component");
        std::string text =
            "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\n[files]\ncount=1\n"
            "[file1]\nurl=http://127.0.0.1:@PORT@/files/comp.bin\n"
            "[application]\nappupdate=1\nappname=@LOCAL@\nappcomps=comp.bin\n";
        const std::string local = ClassLib::UTF8Encode(Local.Path() + L"app.exe");
        for (size_t at; (at = text.find("@LOCAL@")) != std::string::npos;) text.replace(at, 7, local);
        PutServerFile(L"restart.inf", text);
        Update.SetURL(HttpUrl(L"files/restart.inf"));
        Update.OnAppRestart = [](TObject*, bool& allow) { allow = true; };
        Update.OnAppDoClose = [this](TObject*) { ++Closes; };
    }
    TScratchFolder Local, Download;
    TTestUpdate Update{Download.Path()};
    int Closes = 0;
};

}  // namespace

TEST_F(TRestartTest, HandsOverToTheRestartProgramAndCloses) {
    REQUIRE_SERVERS();
    TTestUpdate& update = Update;
    const int& closes = Closes;
    std::wstring program, parameters;
    ClassLib::Seams().ShellOpen = [&](const std::wstring& target, const std::wstring& params) {
        program = target;
        parameters = params;
        return true;
    };
    update.DoUpdate(false);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(program, Download.Path() + L"upd.exe");
    EXPECT_TRUE(ClassLib::FileExists(program));
    EXPECT_FALSE(ClassLib::FileExists(Download.Path() + L"wusetup.cab"));
    TRestartCommand command;
    ASSERT_TRUE(ParseRestartParameters(parameters, command));
    EXPECT_EQ(command.ProcessId, ::GetCurrentProcessId());
    EXPECT_EQ(command.Application, Local.Path() + L"app.exe");
    EXPECT_EQ(command.Folder, Download.Path());
    EXPECT_EQ(command.Components, L"comp.bin");
    EXPECT_EQ(ReadFileBytes(Download.Path() + L"comp.bin"), "new component");
}

TEST_F(TRestartTest, AHelperThatCannotStartReports950AndTheProgramGoesOn) {
    REQUIRE_SERVERS();
    TTestUpdate& update = Update;
    const int& closes = Closes;
    ClassLib::Seams().ShellOpen = [](const std::wstring&, const std::wstring&) { return false; };
    update.DoUpdate(false);
    EXPECT_EQ(closes, 0);
    const std::vector<int> idents = update.Idents();
    EXPECT_NE(std::find(idents.begin(), idents.end(), 950), idents.end());
}

// The real restart program, from the resource, against a process that has already ended.
TEST(RestartProgram, InstallsTheComponentsIntoAFolderWithABlank) {
    TScratchFolder download, base;
    const std::wstring install = base.Path() + L"in stall\\";
    ASSERT_TRUE(ForceDirs(install));
    download.Write(L"comp.bin", "fresh");
    download.Write(L"lib.dll", "library");
    base.Write(L"in stall\\comp.bin", "old");
    TTestUpdate update(download.Path());
    ASSERT_TRUE(update.ExtractRestartHelper());
    // The application is the restart program itself: started without a proper line, it ends at once.
    ASSERT_TRUE(::CopyFileW((download.Path() + L"upd.exe").c_str(), (install + L"app.exe").c_str(), FALSE));
    TRestartCommand command{0, false, install + L"app.exe", L"", download.Path(), L"comp.bin lib.dll"};
    const int code = ClassLib::PlatformSeams().RunAndWait(
        L"\"" + download.Path() + L"upd.exe\" " + BuildRestartParameters(command), false);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadFileBytes(install + L"comp.bin"), "fresh");
    EXPECT_EQ(ReadFileBytes(install + L"lib.dll"), "library");
    EXPECT_FALSE(ClassLib::FileExists(download.Path() + L"comp.bin"));
}
