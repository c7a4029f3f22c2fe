#include "app/Unit1.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <utility>

#include "app/AppClasses.h"
#include "app/StringFields.h"
#include "app/Unit1Generator.h"
#include "app/VxFormSR.h"
#include "app/VxTools.h"
#include "classlib/Clipboard.h"
#include "classlib/Dialogs.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/Threads.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "controls/AdvPageControl.h"
#include "graphics/GDIPicture.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateLanguagesU.h"
#include "updater/WUpdateWiz.h"

namespace Unit1 {

using namespace ClassLib;
using AdvMemo::TAdvMemo;

CLASSLIB_IMPLEMENT(TForm1, TForm)

namespace {

constexpr const wchar_t* DefaultFolder = L"c:\\";
constexpr const wchar_t* DefaultCName = L"vx_at_user_cmds.c";

constexpr const wchar_t* UpdateServerControlFile = L"https://updates.atcmdgen.example.net/AtCmdGen.inf";
// A bare name: the updater puts it in the user's documents folder.
constexpr const wchar_t* UpdateLogFile = L"AtCmdGenUpdate.log";
constexpr const wchar_t* ShortName = L"AtCmdGen";

// The server's text goes into panel HTML: markup in it is shown, not obeyed.
std::wstring EscapeHTMLText(const std::wstring& text) {
    std::wstring result;
    for (const wchar_t c : text) {
        switch (c) {
            case L'&': result += L"&amp;"; break;
            case L'<': result += L"&lt;"; break;
            case L'>': result += L"&gt;"; break;
            case L'"': result += L"&quot;"; break;
            default: result += c;
        }
    }
    return result;
}

}  // namespace

std::wstring UpdateControlFileURL() {
    wchar_t buffer[2048];
    const DWORD length = ::GetEnvironmentVariableW(L"ATGEN_UPDATE_URL", buffer, DWORD(std::size(buffer)));
    if (length > 0 && length < std::size(buffer)) return std::wstring(buffer, length);
    return UpdateServerControlFile;
}

std::wstring HeaderNameFor(const std::wstring& cName) {
    std::wstring header = cName;
    if (!header.empty()) header.back() = L'h';
    return header;
}

TUpdateCheckState& UpdateCheckState() {
    static TUpdateCheckState state;
    return state;
}

namespace {
std::atomic<int> RunningChecks{0};
}  // namespace

int RunningUpdateChecks() { return RunningChecks; }

// One start-up check, shared by the window and its worker so that either may go first:
// the worker's own updater (a copy of the window's settings, so the window's updater stays
// free for the wizard), what it found, and the window to tell.
class TUpdateCheck {
public:
    TUpdateCheck(const WUpdate::TWebUpdate& settings, HWND window)
        : FUpdate(std::make_unique<WUpdate::TWebUpdate>(nullptr)), FWindow(window) {
        FUpdate->Assign(&settings);
        // Panel 1 alone reports the check: with no status handler the updater would show a
        // failed connection in a message box, at every start without a network.
        FUpdate->OnStatus = [](TObject*, const std::wstring&, int, int) {};
        ++RunningChecks;
    }
    ~TUpdateCheck() {
        ::CloseHandle(FDone);
        --RunningChecks;
    }
    TUpdateCheck(const TUpdateCheck&) = delete;
    TUpdateCheck& operator=(const TUpdateCheck&) = delete;

    // The worker's whole work; nothing leaves it.
    void Run() noexcept {
        try {
            NewVersion = FUpdate->NewVersionAvailable(false);
            Outcome = FUpdate->LastQueryOutcome();
            NewVersionInfo = FUpdate->NewVersionInfo;
            CurVersionInfo = FUpdate->CurVersionInfo;
        } catch (...) {
            NewVersion = false;
            Outcome = WUpdate::TQueryOutcome::Failed;
        }
        ::SetEvent(FDone);
        const std::lock_guard<std::mutex> lock(FLock);
        if (FWindow) ::PostMessageW(FWindow, WM_UPDATECHECKDONE, 0, 0);
    }
    bool Done() const { return ::WaitForSingleObject(FDone, 0) == WAIT_OBJECT_0; }
    // The window goes: nobody is told any more, the check stops at its next chance, and
    // the worker is waited for at most `wait` milliseconds.
    void Abandon(DWORD wait) {
        {
            const std::lock_guard<std::mutex> lock(FLock);
            FWindow = nullptr;
        }
        FUpdate->Abort();
        ::WaitForSingleObject(FDone, wait);
    }

    // Read by the window once Done().
    bool NewVersion = false;
    WUpdate::TQueryOutcome Outcome = WUpdate::TQueryOutcome::Failed;
    std::wstring NewVersionInfo, CurVersionInfo;

private:
    const std::unique_ptr<WUpdate::TWebUpdate> FUpdate;   // the worker's alone until Done()
    std::mutex FLock;
    HWND FWindow;   // guarded by FLock
    const HANDLE FDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

namespace {

class TUpdateCheckThread : public TThread {
public:
    TUpdateCheckThread(const TCreation& creation, std::shared_ptr<TUpdateCheck> check)
        : TThread(creation), FCheck(std::move(check)) {}
protected:
    void Execute() override { FCheck->Run(); }
private:
    const std::shared_ptr<TUpdateCheck> FCheck;
};

}  // namespace

const TPropertyList& TForm1::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"FormCreate", &TForm1::FormCreate)
        .Method(L"FormDestroy", &TForm1::FormDestroy)
        .Method(L"AdvGlowButton1Click", &TForm1::AdvGlowButton1Click)
        .Method(L"AdvGlowButton7Click", &TForm1::AdvGlowButton7Click)
        .Method(L"AdvGlowButton3Click", &TForm1::AdvGlowButton3Click)
        .Method(L"btnOpenCandHClick", &TForm1::btnOpenCandHClick)
        .Method(L"AdvGlowButton8Click", &TForm1::AdvGlowButton8Click)
        .Method(L"CheckBox1Click", &TForm1::CheckBox1Click)
        .Method(L"CheckBox3Click", &TForm1::CheckBox3Click)
        .Method(L"atcmdsDblClick", &TForm1::atcmdsDblClick)
        .Method(L"atcmdsSelectionChange", &TForm1::atcmdsSelectionChange)
        .Method(L"atcmdsGutterClick", &TForm1::atcmdsGutterClick)
        .Method(L"MemoCDblClick", &TForm1::MemoCDblClick)
        .Method(L"MemoHDblClick", &TForm1::MemoHDblClick)
        .Method(L"Timer1Timer", &TForm1::Timer1Timer)
        .Method(L"StatusBar1PanelClick", &TForm1::StatusBar1PanelClick)
        .Method(L"WebUpdate1AppRestart", &TForm1::WebUpdate1AppRestart);
    return list;
}

TForm1::TForm1(TComponent* owner) : TForm(owner), RunUpdateWizard([this] { ExecuteUpdateWizard(); }) {
    AppClasses::RegisterAppClasses();
    BindFields();
    InitFromDescription();
}

TForm1::TForm1(TComponent* owner, const std::wstring& description)
    : TForm(owner), RunUpdateWizard([this] { ExecuteUpdateWizard(); }) {
    AppClasses::RegisterAppClasses();
    BindFields();
    InitFromDescriptionText(description);
}

TForm1::~TForm1() { StopUpdateCheck(); }

void TForm1::BindFields() {
    BindField(Panel1, L"Panel1");
    BindField(Image1, L"Image1");
    BindField(Panel3, L"Panel3");
    BindField(Label1, L"Label1");
    BindField(Splitter1, L"Splitter1");
    BindField(CheckBox1, L"CheckBox1");
    BindField(atcmds, L"atcmds");
    BindField(Memo2, L"Memo2");
    BindField(AdvGlowButton1, L"AdvGlowButton1");
    BindField(AdvGlowButton7, L"AdvGlowButton7");
    BindField(Panel4, L"Panel4");
    BindField(PageControl0, L"PageControl0");
    BindField(AdvTabSheet2, L"AdvTabSheet2");
    BindField(AdvTabSheet5, L"AdvTabSheet5");
    BindField(MemoC, L"MemoC");
    BindField(MemoH, L"MemoH");
    BindField(CheckBox2, L"CheckBox2");
    BindField(CheckBox3, L"CheckBox3");
    BindField(AdvGlowButton3, L"AdvGlowButton3");
    BindField(btnOpenCandH, L"btnOpenCandH");
    BindField(AdvGlowButton8, L"AdvGlowButton8");
    BindField(StatusBar1, L"StatusBar1");
    BindField(OffStyler, L"OffStyler");
    BindField(OpenDialog1, L"OpenDialog1");
    BindField(SaveDialog1, L"SaveDialog1");
    BindField(Timer1, L"Timer1");
    BindField(VxFormSR1, L"VxFormSR1");
    BindField(CMemoStyler, L"CMemoStyler");
    BindField(WebUpdate1, L"WebUpdate1");
    BindField(WebUpdateWizard1, L"WebUpdateWizard1");
    BindField(WebUpdateWizardEnglish1, L"WebUpdateWizardEnglish1");
    BindField(WebUpdateWizardPolish1, L"WebUpdateWizardPolish1");
}

void TForm1::FormCreate(TObject*) {
    Image1->Picture()->LoadFromResourceName(nullptr, L"IMG_HEADER");
    btnOpenCandH->Picture()->LoadFromURL(L"RES://IMG_OPEN");
    AdvGlowButton8->Picture()->LoadFromURL(L"RES://IMG_SAVE");
    // The program's resources hold the billboard; a window built from a description
    // elsewhere (the tests) goes without it.
    if (const HMODULE program = ::GetModuleHandleW(nullptr); ::FindResourceW(program, L"IMG_BILLBOARD", RT_BITMAP))
        WebUpdateWizard1->BillBoard()->LoadFromResourceName(program, L"IMG_BILLBOARD");
    PageControl0->SetActivePageIndex(0);
    AdvmCSHS::ApplyCMemoStylerSettings(*CMemoStyler);
    MemoC->SetSyntaxStyles(CMemoStyler);
    MemoH->SetSyntaxStyles(CMemoStyler);

    FGenerator = std::make_unique<TAtGenerator>();
    FGenerator->SetPanes(atcmds->Lines(), MemoC->Lines(), MemoH->Lines(), Memo2->Lines());
    FGenerator->OnReadOptions = [this] {
        TGeneratorOptions options;
        options.SortCommands = CheckBox1->Checked();
        options.UseVt100Colors = CheckBox2->Checked();
        options.AutoCorrectHeaders = CheckBox3->Checked();
        return options;
    };

    VxTools::SetCheckedSilently(*CheckBox1, VxFormSR1->ReadRegINI(L"sort_cmds", true));
    VxTools::SetCheckedSilently(*CheckBox3, VxFormSR1->ReadRegINI(L"auto_correct_headers", false));
}

void TForm1::FormDestroy(TObject*) {
    StopUpdateCheck();
    FGenerator.reset();
}

void TForm1::GenerateSources() { FGenerator->GenerateSources(); }

void TForm1::LoadUserBlocks(const std::wstring& fileName) { FGenerator->LoadUserBlocks(fileName); }

void TForm1::AdvGlowButton1Click(TObject*) {
    atcmds->Clear();
    atcmds->Lines()->SetText(Clipboard()->AsText());
}

void TForm1::AdvGlowButton7Click(TObject*) { atcmds->Lines()->Clear(); }

void TForm1::AdvGlowButton3Click(TObject*) {
    if (Trim(atcmds->Lines()->Text()).empty()) return;
    GenerateSources();
}

void TForm1::btnOpenCandHClick(TObject*) {
    OpenDialog1->SetInitialDir(VxFormSR1->ReadRegINI(L"open_c_h_dir", DefaultFolder));
    if (!OpenDialog1->Execute(Handle())) return;
    const std::wstring chosen = OpenDialog1->FileName();
    atcmds->Lines()->Clear();
    // The previous file's blocks and sections must not reach the next generation, even
    // when this file fails to load below.
    FGenerator->atList->Clear();
    FGenerator->atFunList->Clear();
    FGenerator->sct1List->Clear();
    FGenerator->sct2List->Clear();
    VxFormSR1->SaveRegINI(L"open_c_h_dir", ExtractFilePath(chosen));
    cname = chosen;
    hname = HeaderNameFor(cname);
    MemoC->Lines()->LoadFromFile(cname);
    MemoH->Lines()->LoadFromFile(hname);
    LoadUserBlocks(cname);
}

void TForm1::AdvGlowButton8Click(TObject*) {
    if (!cname.empty() && FileExists(cname)) {
        if (RefuseSelfHeader(cname)) return;
        MemoC->Lines()->SaveToFile(cname);
        if (FileExists(cname)) {
            atcmds->Lines()->Clear();
            LoadUserBlocks(cname);
        }
        if (FileExists(hname)) MemoH->Lines()->SaveToFile(hname);
        return;
    }
    SaveDialog1->SetInitialDir(VxFormSR1->ReadRegINI(L"save_c_h_dir", DefaultFolder));
    SaveDialog1->SetFileName(DefaultCName);
    if (!SaveDialog1->Execute(Handle())) return;
    const std::wstring chosen = SaveDialog1->FileName();
    if (RefuseSelfHeader(chosen)) return;
    const std::wstring header = HeaderNameFor(chosen);
    VxFormSR1->SaveRegINI(L"save_c_h_dir", ExtractFilePath(chosen));
    MemoC->Lines()->SaveToFile(chosen);
    MemoH->Lines()->SaveToFile(header);
}

bool TForm1::RefuseSelfHeader(const std::wstring& cName) {
    // A name ending in "h" would have the header written over the C text just saved.
    if (!AnsiSameText(HeaderNameFor(cName), cName)) return false;
    MessageDlg(L"Cannot save \"" + cName + L"\": its header would be the same file. Choose a name "
               L"that does not end in \"h\", for example \"" + std::wstring(DefaultCName) + L"\".",
               mtError, TMsgDlgButtons{mbOK}, 0);
    return true;
}

void TForm1::CheckBox1Click(TObject*) { VxFormSR1->SaveRegINI(L"sort_cmds", CheckBox1->Checked()); }

void TForm1::CheckBox3Click(TObject*) {
    VxFormSR1->SaveRegINI(L"auto_correct_headers", CheckBox3->Checked());
}

void TForm1::ShowBlockInMemoC(const std::wstring& key, bool ignoreCase) {
    if (key.empty()) return;
    const std::wstring wanted = ignoreCase ? AnsiLowerCase(key) : key;
    TStrings* lines = MemoC->Lines();
    for (int y = 0; y < lines->Count(); ++y) {
        const std::wstring line = ignoreCase ? AnsiLowerCase(lines->Strings(y)) : lines->Strings(y);
        if (line.find(L"---") == std::wstring::npos) continue;
        const size_t at = line.find(wanted);
        if (at == std::wstring::npos) continue;
        // The header tab may be in front: bring the C tab forward, and where the pane still
        // cannot take the focus (a hidden window) move nothing rather than half the jump.
        for (int page = 0; page < PageControl0->PageCount(); ++page)
            if (PageControl0->Pages(page) == AdvTabSheet2) PageControl0->SetActivePageIndex(page);
        if (!MemoC->CanFocus()) return;
        const int p = int(at) + 1;
        // First well below, then on the line: the line then shows near the top of the pane.
        MemoC->SetCursor(p, y + 20);
        MemoC->SetCursor(p - 1, y);
        MemoC->SetFocus();
        MemoC->SelectWordAtCursor();
        return;
    }
}

void TForm1::atcmdsGutterClick(TObject*, int lineNo) {
    if (lineNo < 0 || lineNo >= atcmds->Lines()->Count()) return;
    std::wstring rest = atcmds->Lines()->Strings(lineNo);
    std::wstring key = StringFields::FetchField(rest, L"=");
    if (rest.empty()) {
        std::wstring words = key;
        key = StringFields::FetchField(words, L" ");
    }
    ShowBlockInMemoC(key, false);
}

void TForm1::atcmdsDblClick(TObject*) { FDoubleClicked = true; }

void TForm1::atcmdsSelectionChange(TObject*) {
    if (!FDoubleClicked) return;
    FDoubleClicked = false;
    ShowBlockInMemoC(atcmds->Selection(), true);
}

void TForm1::CopyWholeText(TAdvMemo* memo) {
    memo->SelectAll();
    Clipboard()->SetAsText(memo->Lines()->Text());  // CR LF between lines, none after the last
}

void TForm1::MemoCDblClick(TObject*) { CopyWholeText(MemoC); }

void TForm1::MemoHDblClick(TObject*) { CopyWholeText(MemoH); }

void TForm1::Timer1Timer(TObject*) {
    Timer1->SetEnabled(false);
    PostMessage(WM_UPDATECHECK);
}

void TForm1::Dispatch(TMessage& message) {
    if (message.Msg == WM_UPDATECHECK) {
        WMUpdateCheck(message);
        return;
    }
    if (message.Msg == WM_UPDATECHECKDONE) {
        WMUpdateCheckDone(message);
        return;
    }
    TForm::Dispatch(message);
}

void TForm1::WMUpdateCheck(TMessage&) {
    TUpdateCheckState& state = UpdateCheckState();
    if (state.MessageHandled) return;
    state.MessageHandled = true;
    CheckForUpdate();
}

void TForm1::CheckForUpdate() {
    TUpdateCheckState& state = UpdateCheckState();
    if (state.CheckRan) return;
    state.CheckRan = true;
    WebUpdate1->SetLogFileName(UpdateLogFile);
    WebUpdate1->SetURL(UpdateControlFileURL());
    FUpdateCheck = std::make_shared<TUpdateCheck>(*WebUpdate1, Handle());
    std::unique_ptr<TUpdateCheckThread> worker = TThread::Create<TUpdateCheckThread>(true, FUpdateCheck);
    worker->SetFreeOnTerminate(true);
    worker.release()->Start();
}

void TForm1::WMUpdateCheckDone(TMessage&) {
    if (!FUpdateCheck || !FUpdateCheck->Done()) return;
    const std::shared_ptr<TUpdateCheck> check = std::move(FUpdateCheck);
    TUpdateCheckState& state = UpdateCheckState();
    state.Answered = true;
    state.NewVersion = check->NewVersion;
    state.NewVersionInfo = check->NewVersionInfo;
    WebUpdate1->NewVersionInfo = check->NewVersionInfo;
    WebUpdate1->CurVersionInfo = check->CurVersionInfo;

    AdvOfficeStatusBar::TAdvOfficeStatusPanel* panel = StatusBar1->Panels()->Items(1);
    if (state.NewVersion) {
        panel->SetStyle(AdvOfficeStatusBar::psHTML);
        panel->SetText(L"<FONT size=\"14\" face=\"Consolas\" color=\"#ff0044\"><B><blink>Click && get update: ver." +
                       EscapeHTMLText(state.NewVersionInfo) + L"</blink></B></font>");
        panel->SetAppearanceStyle(AdvOfficeStatusBar::psDark);
        panel->SetButton(true);
    } else if (check->Outcome == WUpdate::TQueryOutcome::Failed) {
        // A check that could not be made does not claim the program is current.
        panel->SetText(L"Update check failed");
    } else {
        panel->SetText(std::wstring(L"It's current ver. of ") + ShortName + L" " + VxTools::GetVersionText());
    }
}

void TForm1::StopUpdateCheck() {
    if (!FUpdateCheck) return;
    // 200 ms: enough for a worker between two waits; a close is not held longer.
    FUpdateCheck->Abandon(200);
    FUpdateCheck.reset();
}

void TForm1::StatusBar1PanelClick(TObject*, int panelIndex) {
    if (panelIndex == 1 && RunUpdateWizard) RunUpdateWizard();
}

void TForm1::ExecuteUpdateWizard() { WebUpdateWizard1->Execute(true); }

void TForm1::WebUpdate1AppRestart(TObject*, bool& allow) { allow = true; }

}  // namespace Unit1
