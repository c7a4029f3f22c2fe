// The main window's update check and its status panel: the updater's settings, what panel 1
// says for each answer of the update server, and the press that opens the update wizard.
// The server cases run inside the updater's loopback servers (tests/updater/loopback_servers.py).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/Unit1.h"
#include "app/VxFormSR.h"
#include "app/VxTools.h"
#include "classlib/Application.h"
#include "classlib/FileNames.h"
#include "classlib/Registry.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/Timer.h"
#include "controls/AdvOfficeStatusBar.h"
#include "support/SourceTree.h"
#include "support/WindowTestSupport.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateLanguagesU.h"
#include "updater/WUpdateWiz.h"

using namespace ClassLib;
using namespace AdvOfficeStatusBar;

namespace {

// Nothing listens on the discard port of the loopback address: a server that is down.
const wchar_t* const ServerDown = L"http://127.0.0.1:9/AtCmdGen.inf";

struct TServers {
    bool Present = false;
    int Http = 0;
    std::wstring DocRoot;  // ends with "\"
};

// The text of a key of the servers' flat JSON file (no nesting, no escapes but "\\").
std::string JsonValue(const std::string& json, const std::string& key) {
    size_t at = json.find("\"" + key + "\"");
    if (at == std::string::npos) return {};
    at = json.find(':', at) + 1;
    while (at < json.size() && json[at] == ' ') ++at;
    std::string value;
    if (json[at] == '"') {
        for (++at; at < json.size() && json[at] != '"'; ++at) {
            if (json[at] == '\\') ++at;
            value += json[at];
        }
    } else {
        while (at < json.size() && json[at] != ',' && json[at] != '}') value += json[at++];
    }
    return value;
}

const TServers& Servers() {
    static const TServers servers = [] {
        TServers result;
        wchar_t path[1024] = {};
        if (!::GetEnvironmentVariableW(L"ATGEN_UPDATER_SERVERS", path, DWORD(std::size(path)))) return result;
        TStringList file;
        file.LoadFromFile(path);
        const std::string json = UTF8Encode(file.Text());
        result.Http = std::atoi(JsonValue(json, "http").c_str());
        result.DocRoot = IncludeTrailingPathDelimiter(UTF8Decode(JsonValue(json, "docroot")));
        result.Present = result.Http > 0;
        return result;
    }();
    return servers;
}

void WriteBytes(const std::wstring& name, const std::string& bytes) {
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << UTF8Encode(name);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void SetUpdateURL(const std::wstring& url) { ::SetEnvironmentVariableW(L"ATGEN_UPDATE_URL", url.c_str()); }

struct TFormDeleter {
    void operator()(Unit1::TForm1* form) const {
        form->BeforeDestruction();
        delete form;
    }
};
using TOwnedForm1 = std::unique_ptr<Unit1::TForm1, TFormDeleter>;

class MainWindowUpdate : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        TRegistry().DeleteKey(SettingsKey());
        SetUpdateURL(ServerDown);
    }
    void TearDown() override {
        Form.reset();
        // A worker left behind by a closed window ends on its own; none may outlive the test.
        EXPECT_TRUE(PumpUntil([] { return Unit1::RunningUpdateChecks() == 0; })) << "a check never ended";
        TRegistry().DeleteKey(SettingsKey());
        Unit1::UpdateCheckState() = {};
    }
    // Pumps the window's messages until `done`, for at most half a minute.
    static bool PumpUntil(const std::function<bool()>& done) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > 30000) return false;
            Application->ProcessMessages();
            ::Sleep(10);
        }
        return true;
    }
    static std::wstring SettingsKey() { return VxFormSR::MainAppRegKeyFor(Application->ExeName()); }
    // A new window whose check has not run: the check runs once per program.
    void Start() {
        Form.reset();
        Unit1::UpdateCheckState() = {};
        TStringList source;
        source.LoadFromFile(TestSupport::SourceTreePath(L"app\\Unit1.desc"));
        Form.reset(new Unit1::TForm1(nullptr, source.Text()));
    }
    // The first tick of the start-up timer, and the message it posts; the check runs on
    // a worker, whose answer is waited for.
    void Tick() {
        Form->Timer1Timer(Form->Timer1);
        Application->ProcessMessages();
        if (Unit1::UpdateCheckState().CheckRan) {
            EXPECT_TRUE(PumpUntil([] { return Unit1::UpdateCheckState().Answered; })) << "no answer";
        }
    }
    TAdvOfficeStatusPanel* Panel1() const { return Form->StatusBar1->Panels()->Items(1); }

    TOwnedForm1 Form;
};

TEST_F(MainWindowUpdate, TheUpdaterHasTheProgramsSettings) {
    REQUIRE_DISPLAY();
    Start();
    ASSERT_NE(Form->WebUpdate1, nullptr);
    const WUpdate::TWebUpdate& update = *Form->WebUpdate1;
    EXPECT_EQ(update.Agent(), L"TWebUpdate");
    EXPECT_TRUE(update.ApplyPatch());
    EXPECT_EQ(update.DateFormat(), L"dd/mm/yyyy");
    EXPECT_EQ(update.DateSeparator(), L'/');
    EXPECT_EQ(update.TimeFormat(), L"hh:nn");
    EXPECT_EQ(update.TimeSeparator(), L':');
    EXPECT_EQ(update.Signature(), L"WebUpdate");
    EXPECT_EQ(update.TempDirectory(), L".");
    EXPECT_FALSE(update.PostUpdateInfo()->Enabled());
    EXPECT_FALSE(update.ExtractCAB());
    EXPECT_FALSE(update.ExtractZIP());
    // A stalled server may not hold the check for good, nor a worker a closed window left.
    EXPECT_EQ(update.TimeOut(), 5000);
    EXPECT_EQ(update.ReceiveTimeOut(), 5000);
    EXPECT_EQ(update.TotalTimeOut(), 20000);
    ASSERT_TRUE(update.OnAppRestart);
    bool allow = false;
    update.OnAppRestart(Form->WebUpdate1, allow);
    EXPECT_TRUE(allow);

    const WUpdateWiz::TWebUpdateWizard& wizard = *Form->WebUpdateWizard1;
    EXPECT_EQ(wizard.WebUpdate(), Form->WebUpdate1);
    EXPECT_EQ(wizard.Language(), Form->WebUpdateWizardEnglish1);
    EXPECT_NE(Form->WebUpdateWizardPolish1, nullptr);
    EXPECT_TRUE(wizard.AutoStart());
    EXPECT_EQ(wizard.Caption(), L"AT Command Generator Updater");
    EXPECT_EQ(wizard.Font()->Name(), L"Tahoma");
    EXPECT_EQ(wizard.Font()->Height(), -11);
}

TEST_F(MainWindowUpdate, ThePressRunsTheWizardOfTheWindow) {
    REQUIRE_DISPLAY();
    Start();
    // A wizard without its updater refuses at once, before any window: that shows the
    // press reached this window's wizard without a wizard to drive.
    Form->WebUpdateWizard1->SetWebUpdate(nullptr);
    try {
        Form->RunUpdateWizard();
        ADD_FAILURE() << "the wizard ran without an updater";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"No WebUpdate component assigned");
    }
}

TEST_F(MainWindowUpdate, TheAddressIsTheProgramsUnlessTheEnvironmentNamesAnother) {
    ::SetEnvironmentVariableW(L"ATGEN_UPDATE_URL", nullptr);
    EXPECT_EQ(Unit1::UpdateControlFileURL().rfind(L"https://", 0), 0u) << UTF8Encode(Unit1::UpdateControlFileURL());
    SetUpdateURL(L"http://127.0.0.1:8/x.inf");
    EXPECT_EQ(Unit1::UpdateControlFileURL(), L"http://127.0.0.1:8/x.inf");
}

TEST_F(MainWindowUpdate, PanelOneSaysWhatTheServerAnswered) {
    REQUIRE_DISPLAY();
    if (!Servers().Present) GTEST_SKIP() << "run through tests/updater/loopback_servers.py";
    // The byte sum of the local file is 293 (the sum starts at -1): a control file with
    // another sum offers an update.
    const std::wstring local = Servers().DocRoot + L"atgen_local.txt";
    WriteBytes(local, "abc");
    const std::string localLine = "localversion=" + UTF8Encode(local) + "\n";
    const std::wstring served = L"http://127.0.0.1:" + std::to_wstring(Servers().Http) + L"/files/";
    const std::wstring current = L"It's current ver. of AtCmdGen " + VxTools::GetVersionText();
    const std::wstring notice = L"<FONT size=\"14\" face=\"Consolas\" color=\"#ff0044\"><B><blink>Click && get update: ver.";

    struct TCase {
        const char* Name;
        std::string ControlFile;  // empty: none is served
        std::wstring URL;
        bool NewVersion;
        std::wstring Text;
    };
    const TCase cases[] = {
        {"newer", "[update]\nnewversion=1.0.5\nnewchecksum=1\n" + localLine, served + L"atgen.inf", true,
         notice + L"1.0.5</blink></B></font>"},
        {"same", "[update]\nnewversion=1.0.4\nnewchecksum=293\n" + localLine, served + L"atgen.inf", false, current},
        {"server down", "", ServerDown, false, L"Update check failed"},
        {"no control file", "", served + L"missing.inf", false, L"Update check failed"},
        // Sends part of its answer, then nothing until the receive time-out gives up.
        {"stalled server", "", L"http://127.0.0.1:" + std::to_wstring(Servers().Http) + L"/stall/8", false,
         L"Update check failed"},
        {"markup in the version", "[update]\nnewversion=<b>9</b>&\"x\"\nnewchecksum=1\n" + localLine,
         served + L"atgen.inf", true, notice + L"&lt;b&gt;9&lt;/b&gt;&amp;&quot;x&quot;</blink></B></font>"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ::DeleteFileW((Servers().DocRoot + L"atgen.inf").c_str());
        if (!c.ControlFile.empty()) WriteBytes(Servers().DocRoot + L"atgen.inf", c.ControlFile);
        SetUpdateURL(c.URL);
        Start();
        Tick();
        EXPECT_TRUE(Unit1::UpdateCheckState().CheckRan);
        EXPECT_EQ(Unit1::UpdateCheckState().NewVersion, c.NewVersion);
        EXPECT_EQ(Panel1()->Text(), c.Text);
        EXPECT_EQ(Panel1()->Style(), psHTML);
        EXPECT_EQ(Panel1()->AppearanceStyle(), c.NewVersion ? psDark : psLight);
        EXPECT_TRUE(Panel1()->Button());

        // Once only: a second message and a second tick ask nobody.
        const std::wstring shown = Panel1()->Text();
        SetUpdateURL(c.NewVersion ? ServerDown : served + L"atgen.inf");
        WriteBytes(Servers().DocRoot + L"atgen.inf", "[update]\nnewversion=7\nnewchecksum=1\n" + localLine);
        Form->Perform(Unit1::WM_UPDATECHECK, 0, 0);
        Tick();
        EXPECT_EQ(Panel1()->Text(), shown);
    }
    ::DeleteFileW((Servers().DocRoot + L"atgen.inf").c_str());
    ::DeleteFileW(local.c_str());
}

TEST_F(MainWindowUpdate, APressOnPanelOneOpensTheWizardAndLeavesThePanelUp) {
    REQUIRE_DISPLAY();
    Start();
    int opened = 0;
    Form->RunUpdateWizard = [&] {
        ++opened;
        ::ReleaseCapture();  // as the wizard's modal loop does: the release goes to the wizard
    };
    Form->Show();
    TestSupport::PumpMessages();
    TAdvOfficeStatusBar* bar = Form->StatusBar1;
    const auto at = [&](int x) { return LPARAM(MAKELPARAM(x, bar->Height() / 2)); };
    const TRect panel0 = bar->GetPanelRect(0), panel1 = bar->GetPanelRect(1);

    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(panel0.Left + 5));
    bar->Perform(WM_LBUTTONUP, 0, at(panel0.Left + 5));
    EXPECT_EQ(opened, 0) << "panel 0";
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(bar->Width() + 50));
    bar->Perform(WM_LBUTTONUP, 0, at(bar->Width() + 50));
    EXPECT_EQ(opened, 0) << "beside the panels";

    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(panel1.Left + 5));
    EXPECT_EQ(opened, 1) << "on the press";
    EXPECT_EQ(bar->DownPanelIndex(), -1) << "drawn pressed after the wizard";
    EXPECT_EQ(::GetCapture(), nullptr);

    // The same when the check could not be made.
    SetUpdateURL(ServerDown);
    Tick();
    EXPECT_EQ(Panel1()->Text(), L"Update check failed");
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(panel1.Left + 5));
    EXPECT_EQ(opened, 2);
}

// A server that sends a byte every 300 ms holds the check until its deadline; the window
// answers throughout and then says the check failed.
TEST_F(MainWindowUpdate, TheWindowAnswersWhileADrippingServerHoldsTheCheck) {
    REQUIRE_DISPLAY();
    if (!Servers().Present) GTEST_SKIP() << "run through tests/updater/loopback_servers.py";
    SetUpdateURL(L"http://127.0.0.1:" + std::to_wstring(Servers().Http) + L"/drip/300");
    Start();
    Form->WebUpdate1->SetTotalTimeOut(3000);
    Form->Show();
    const HWND window = Form->Handle();
    std::atomic<bool> stop = false, stopped = false;
    std::atomic<int> unanswered = 0;
    // Asks the window from outside, as the system does, every 100 ms.
    std::thread pinger([&] {
        while (!stop) {
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result)) ++unanswered;
            ::Sleep(100);
        }
        stopped = true;
    });
    Form->Timer1Timer(Form->Timer1);
    const bool answered = PumpUntil([] { return Unit1::UpdateCheckState().Answered; });
    stop = true;
    PumpUntil([&] { return bool(stopped); });   // its last question still wants an answer
    pinger.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(unanswered, 0) << "the window did not answer for two seconds";
    EXPECT_EQ(Panel1()->Text(), L"Update check failed");
}

// Closing the window during the check takes no longer than a close does: the worker is
// told to stop, and ends on its own once the server lets it.
TEST_F(MainWindowUpdate, TheWindowClosesAtOnceDuringTheCheck) {
    REQUIRE_DISPLAY();
    if (!Servers().Present) GTEST_SKIP() << "run through tests/updater/loopback_servers.py";
    SetUpdateURL(L"http://127.0.0.1:" + std::to_wstring(Servers().Http) + L"/drip/1000");
    Start();
    Form->Timer1Timer(Form->Timer1);
    Application->ProcessMessages();
    ASSERT_TRUE(Unit1::UpdateCheckState().CheckRan);
    ASSERT_EQ(Unit1::RunningUpdateChecks(), 1);
    ::Sleep(500);   // the worker is inside its transfer by now
    const DWORD start = ::GetTickCount();
    Form.reset();
    EXPECT_LT(::GetTickCount() - start, 3000u) << "the close waited for the server";
    EXPECT_FALSE(Unit1::UpdateCheckState().Answered);
}

}  // namespace
