#include "updater/WUpdateRestart.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <functional>

#include "UpdaterTestSupport.h"
#include "classlib/FileNames.h"
#include "classlib/Seams.h"
#include "classlib/Strings.h"
#include "classlib/VersionInfo.h"
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

TEST(RestartComponents, APlainFileNameStaysInTheFolderItIsJoinedTo) {
    struct TCase { const wchar_t* Name; bool Plain; };
    const TCase cases[] = {
        {L"app.exe", true},  {L"my app.v2.dll", true}, {L"..\\x.exe", false}, {L"sub/x.exe", false},
        {L"..", false},      {L".", false},            {L"", false},           {L"C:x.exe", false},
        {L"x.exe:ads", false}, {L"CON", false},        {L"lpt1.txt", false},   {L"com9", false},
        {L"console.exe", true}, {L"x.exe.", false},     {L"x.exe ", false},     {L"a?b", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        EXPECT_EQ(IsPlainFileName(c.Name), c.Plain);
    }
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
        MakeLocalProgram(Local.Path() + L"app.exe");
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

// A component name with a folder part would reach outside the program's folder: it is
// refused and logged, and the other components are still installed.
TEST(RestartProgram, RefusesComponentNamesThatLeaveTheProgramsFolder) {
    TScratchFolder base;
    const std::wstring install = base.Path() + L"app\\install\\", download = base.Path() + L"download\\";
    ASSERT_TRUE(ForceDirs(install));
    ASSERT_TRUE(ForceDirs(download));
    base.Write(L"evil.bin", "evil");   // what "..\\evil.bin" names in the download folder
    base.Write(L"download\\good.bin", "good");
    TTestUpdate update(download);
    ASSERT_TRUE(update.ExtractRestartHelper());
    const std::wstring log = base.Path() + L"upd.log";
    ASSERT_TRUE(::WritePrivateProfileStringW(L"CONFIG", L"LOGFILENAME", log.c_str(),
                                             TWebUpdate::ResolveLogPath(L"WUPDATE.INI").c_str()));
    TRestartCommand command{0, true, L"null", L"", download, L"..\\evil.bin good.bin"};
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ::SetCurrentDirectoryW(install.c_str());   // with "null", the components go into the current folder
    const int code = ClassLib::PlatformSeams().RunAndWait(L"\"" + download + L"upd.exe\" " + BuildRestartParameters(command),
                                                          false);
    ::SetCurrentDirectoryW(current);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReadFileBytes(install + L"good.bin"), "good");
    EXPECT_FALSE(ClassLib::FileExists(base.Path() + L"app\\evil.bin")) << "installed outside the program's folder";
    EXPECT_EQ(ReadFileBytes(base.Path() + L"evil.bin"), "evil");
    EXPECT_NE(ReadFileBytes(log).find("refused the component \"..\\evil.bin\""), std::string::npos) << ReadFileBytes(log);
}

// ---- the whole hand-over, two processes

namespace {

// Runs a command line and waits for its end, at most a minute; a program that takes
// longer is ended and counts as hung.
bool RunBounded(std::wstring commandLine, DWORD& processId, DWORD& exitCode) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    processId = started.dwProcessId;
    const bool ended = ::WaitForSingleObject(started.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(started.hProcess, 99);
    ::GetExitCodeProcess(started.hProcess, &exitCode);
    ::CloseHandle(started.hProcess);
    return ended;
}

bool HasRunningChild(DWORD parent) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (bool more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry))
        found = entry.th32ParentProcessID == parent;
    ::CloseHandle(snapshot);
    return found;
}

// Asks every 50 ms, for at most a minute.
bool WaitUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1200; ++round) {
        if (done()) return true;
        ::Sleep(50);
    }
    return done();
}

// A command-line argument in quotes; a final "\" is doubled so that it does not escape the quote.
std::wstring Argument(const std::wstring& value) {
    return L"\"" + value + (!value.empty() && value.back() == L'\\' ? L"\\" : L"") + L"\"";
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

// The languages the program carries the restart program's resource in; none when it lacks it.
std::vector<WORD> RestartResourceLanguages(const std::wstring& program) {
    std::vector<WORD> languages;
    if (HMODULE image = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        ::EnumResourceLanguagesW(image, RT_RCDATA, L"UPD", AddLanguage, LONG_PTR(&languages));
        ::FreeLibrary(image);
    }
    return languages;
}

// Wine: removing one resource (no data) leaves it in place; the program needs no other
// resource, so all of them go.
bool RemoveRestartResource(const std::wstring& program) {
    if (RestartResourceLanguages(program).empty()) return false;
    HANDLE update = ::BeginUpdateResourceW(program.c_str(), TRUE);
    return update && ::EndUpdateResourceW(update, FALSE) && RestartResourceLanguages(program).empty();
}

}  // namespace

TEST(RestartEndToEnd, TheRestartProgramInstallsTheUpdateAndStartsTheProgramAgain) {
    REQUIRE_SERVERS();
    const std::wstring program = ClassLib::ExtractFilePath(ClassLib::ExecutablePath()) + L"updater_restart_app.exe";
    ASSERT_TRUE(ClassLib::FileExists(program));
    // Bytes after the image do not matter to the loader: they tell the new build from the old.
    const std::string newBuild = ReadFileBytes(program) + "\nnew build";
    PutServerFile(L"app.exe", newBuild);
    PutServerFile(L"payload.txt", "payload");
    struct TCase {
        const char* Name;
        const wchar_t* Flags;   // the program's: N no automatic restart, L logging
        bool FinalBackslash;    // of the download folder as set
        bool WithoutHelper;     // the program lacks the restart program's resource
    };
    const TCase cases[] = {
        {"restart into a folder with a blank", L"-", true, false},
        {"download folder set without its final backslash", L"-", false, false},
        {"logging", L"L", true, false},
        {"no automatic restart", L"N", true, false},
        {"restart program missing", L"-", true, true},
    };
    int serial = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const bool autoRestart = std::wstring(c.Flags) != L"N", logging = std::wstring(c.Flags) == L"L";
        TScratchFolder base, download;
        const std::wstring install = base.Path() + L"in stall\\";
        ASSERT_TRUE(ForceDirs(install));
        ASSERT_TRUE(::CopyFileW(program.c_str(), (install + L"app.exe").c_str(), FALSE));
        if (c.WithoutHelper) {
            ASSERT_TRUE(RemoveRestartResource(install + L"app.exe"));
        }
        MakeLocalProgram(install + L"version.exe");
        const std::string installed = ClassLib::UTF8Encode(install);
        const std::wstring control = L"restart-run" + std::to_wstring(++serial) + L".inf";
        PutServerFile(control, "[update]\nnewversion=2.6.0.1\nlocalversion=" + installed +
                                   "version.exe\n[files]\ncount=2\n"
                                   "[file1]\nurl=http://127.0.0.1:@PORT@/files/app.exe\n"
                                   "[file2]\nurl=http://127.0.0.1:@PORT@/files/payload.txt\n"
                                   "[application]\nappupdate=1\nappname=" + installed +
                                   "app.exe\nappparam=--after marker.txt\nappcomps=app.exe, payload.txt\n");
        std::wstring folder = download.Path();
        if (!c.FinalBackslash) folder.pop_back();
        const std::wstring report = base.Path() + L"report.txt";
        DWORD processId = 0, exitCode = 0;
        ASSERT_TRUE(RunBounded(Argument(install + L"app.exe") + L" run " + Argument(HttpUrl(L"files/" + control)) + L" " +
                                   Argument(folder) + L" " + Argument(report) + L" " + c.Flags,
                               processId, exitCode))
            << "the program did not end";
        const std::string lines = ReadFileBytes(report);
        EXPECT_EQ(exitCode, c.WithoutHelper ? 1u : 0u) << lines;
        const std::wstring marker = install + L"marker.txt";
        if (autoRestart && !c.WithoutHelper) {
            EXPECT_TRUE(WaitUntil([&] { return ClassLib::FileExists(marker); })) << "not started again\n" << lines;
        }
        EXPECT_TRUE(WaitUntil([&] { return !HasRunningChild(processId); })) << "the restart program did not end";
        EXPECT_EQ(ReadFileBytes(marker), autoRestart && !c.WithoutHelper ? "started again\n" : "");
        if (c.WithoutHelper) {
            EXPECT_NE(lines.find("\n950 "), std::string::npos) << lines;
            EXPECT_NE(lines.find("went on\n"), std::string::npos) << lines;
            EXPECT_NE(ReadFileBytes(install + L"app.exe"), newBuild);
            EXPECT_FALSE(ClassLib::FileExists(install + L"payload.txt"));
            EXPECT_EQ(ReadFileBytes(download.Path() + L"payload.txt"), "payload") << "the update is kept for later";
            continue;
        }
        EXPECT_NE(lines.find("closed\n"), std::string::npos) << lines;
        EXPECT_NE(lines.find(logging ? " L " : " X "), std::string::npos) << lines;
        const std::string application = autoRestart ? "\"" + installed + "app.exe\"" : "null";
        EXPECT_NE(lines.find(application + " \"--after marker.txt\" \""), std::string::npos) << lines;
        EXPECT_EQ(ReadFileBytes(install + L"app.exe"), newBuild);
        EXPECT_EQ(ReadFileBytes(install + L"payload.txt"), "payload");
        EXPECT_FALSE(ClassLib::FileExists(download.Path() + L"payload.txt"));
        if (logging) {
            const std::string log = ReadFileBytes(install + L"update.log");
            EXPECT_NE(log.find("upd: installed"), std::string::npos) << log;
            EXPECT_NE(log.find("upd: started"), std::string::npos) << log;
            wchar_t logName[MAX_PATH] = {};
            ::GetPrivateProfileStringW(L"CONFIG", L"LOGFILENAME", L"", logName, MAX_PATH,
                                       TWebUpdate::ResolveLogPath(L"WUPDATE.INI").c_str());
            EXPECT_EQ(std::wstring(logName), install + L"update.log");
        }
    }
}
