#pragma once
// The main window: the command list, the generated C source and header on tabs, the
// paste, clear, create, open and save buttons, the option check boxes and the status
// bar. Its handlers are the program's whole user-facing behaviour.
#include <functional>
#include <memory>
#include <string>

#include "classlib/Form.h"

namespace ClassLib {
class TPanel;
class TImage;
class TLabel;
class TSplitter;
class TCheckBox;
class TMemo;
class TOpenDialog;
class TSaveDialog;
class TTimer;
}  // namespace ClassLib
namespace AdvMemo {
class TAdvMemo;
}
namespace AdvmCSHS {
class TAdvCSharpMemoStyler;
}
namespace AdvGlowButton {
class TAdvGlowButton;
}
namespace AdvPageControl {
class TAdvPageControl;
class TAdvTabSheet;
}  // namespace AdvPageControl
namespace AdvOfficeStatusBar {
class TAdvOfficeStatusBar;
}
namespace AdvOfficeStatusBarStylers {
class TAdvOfficeStatusBarOfficeStyler;
}
namespace VxFormSR {
class TVxFormSR;
}
namespace WUpdate {
class TWebUpdate;
}
namespace WUpdateWiz {
class TWebUpdateWizard;
}
namespace WUpdateLanguagesU {
class TWebUpdateWizardEnglish;
class TWebUpdateWizardPolish;
}  // namespace WUpdateLanguagesU

namespace Unit1 {

class TAtGenerator;

// The private message the window posts to itself to run the update check once.
constexpr unsigned WM_UPDATECHECK = 0x0400 + 100;  // WM_USER + 100
// The message the check's worker posts to the window when it has its answer.
constexpr unsigned WM_UPDATECHECKDONE = 0x0400 + 101;

class TUpdateCheck;

class TForm1 : public ClassLib::TForm {
    CLASSLIB_CLASS(TForm1, ClassLib::TForm)
public:
    static const ClassLib::TPropertyList& Published();
    // From the window description in the program's resources.
    explicit TForm1(ClassLib::TComponent* owner);
    // From a description given as text (the tests read the same file from the sources).
    TForm1(ClassLib::TComponent* owner, const std::wstring& description);
    ~TForm1() override;

    ClassLib::TPanel* Panel1 = nullptr;
    ClassLib::TImage* Image1 = nullptr;
    ClassLib::TPanel* Panel3 = nullptr;
    ClassLib::TLabel* Label1 = nullptr;
    ClassLib::TSplitter* Splitter1 = nullptr;
    ClassLib::TCheckBox* CheckBox1 = nullptr;
    AdvMemo::TAdvMemo* atcmds = nullptr;
    ClassLib::TMemo* Memo2 = nullptr;
    AdvGlowButton::TAdvGlowButton* AdvGlowButton1 = nullptr;
    AdvGlowButton::TAdvGlowButton* AdvGlowButton7 = nullptr;
    ClassLib::TPanel* Panel4 = nullptr;
    AdvPageControl::TAdvPageControl* PageControl0 = nullptr;
    AdvPageControl::TAdvTabSheet* AdvTabSheet2 = nullptr;
    AdvPageControl::TAdvTabSheet* AdvTabSheet5 = nullptr;
    AdvMemo::TAdvMemo* MemoC = nullptr;
    AdvMemo::TAdvMemo* MemoH = nullptr;
    ClassLib::TCheckBox* CheckBox2 = nullptr;
    ClassLib::TCheckBox* CheckBox3 = nullptr;
    AdvGlowButton::TAdvGlowButton* AdvGlowButton3 = nullptr;
    AdvGlowButton::TAdvGlowButton* btnOpenCandH = nullptr;
    AdvGlowButton::TAdvGlowButton* AdvGlowButton8 = nullptr;
    AdvOfficeStatusBar::TAdvOfficeStatusBar* StatusBar1 = nullptr;
    AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler* OffStyler = nullptr;
    ClassLib::TOpenDialog* OpenDialog1 = nullptr;
    ClassLib::TSaveDialog* SaveDialog1 = nullptr;
    ClassLib::TTimer* Timer1 = nullptr;
    VxFormSR::TVxFormSR* VxFormSR1 = nullptr;
    AdvmCSHS::TAdvCSharpMemoStyler* CMemoStyler = nullptr;
    WUpdate::TWebUpdate* WebUpdate1 = nullptr;
    WUpdateWiz::TWebUpdateWizard* WebUpdateWizard1 = nullptr;
    WUpdateLanguagesU::TWebUpdateWizardEnglish* WebUpdateWizardEnglish1 = nullptr;
    WUpdateLanguagesU::TWebUpdateWizardPolish* WebUpdateWizardPolish1 = nullptr;  // not used

    // The C file last opened (empty until one is) and its header.
    std::wstring cname;
    std::wstring hname;

    // Runs the update wizard; a press on status panel 1 calls it. Tests put their own here.
    std::function<void()> RunUpdateWizard;

    // The generator with the read-back state; exists between FormCreate and FormDestroy.
    TAtGenerator* Generator() const { return FGenerator.get(); }

    void FormCreate(ClassLib::TObject* sender);
    void FormDestroy(ClassLib::TObject* sender);
    void AdvGlowButton1Click(ClassLib::TObject* sender);  // Paste
    void AdvGlowButton7Click(ClassLib::TObject* sender);  // clear
    void AdvGlowButton3Click(ClassLib::TObject* sender);  // Create files
    void btnOpenCandHClick(ClassLib::TObject* sender);    // open
    void AdvGlowButton8Click(ClassLib::TObject* sender);  // save
    void CheckBox1Click(ClassLib::TObject* sender);
    void CheckBox3Click(ClassLib::TObject* sender);
    void atcmdsDblClick(ClassLib::TObject* sender);
    void atcmdsSelectionChange(ClassLib::TObject* sender);
    void atcmdsGutterClick(ClassLib::TObject* sender, int lineNo);
    void MemoCDblClick(ClassLib::TObject* sender);
    void MemoHDblClick(ClassLib::TObject* sender);
    void Timer1Timer(ClassLib::TObject* sender);
    void StatusBar1PanelClick(ClassLib::TObject* sender, int panelIndex);
    void WebUpdate1AppRestart(ClassLib::TObject* sender, bool& allow);

    void GenerateSources();
    void LoadUserBlocks(const std::wstring& fileName);

    void Dispatch(ClassLib::TMessage& message) override;

private:
    void BindFields();
    void WMUpdateCheck(ClassLib::TMessage& message);
    // Starts the check on a worker thread: the window answers while the server does not.
    void CheckForUpdate();
    // Shows in panel 1 what the worker found.
    void WMUpdateCheckDone(ClassLib::TMessage& message);
    // A window that goes stops its check at once and waits a moment for the worker; one
    // still waiting on the network holds nothing of the window and ends on its own.
    void StopUpdateCheck();
    void ExecuteUpdateWizard();
    // Puts MemoC's caret on the first "---" line holding `key` and selects the word there.
    void ShowBlockInMemoC(const std::wstring& key, bool ignoreCase);
    void CopyWholeText(AdvMemo::TAdvMemo* memo);
    // Shows why and answers true when the C file's header name is the file itself.
    bool RefuseSelfHeader(const std::wstring& cName);

    std::unique_ptr<TAtGenerator> FGenerator;
    std::shared_ptr<TUpdateCheck> FUpdateCheck;   // the check under way, shared with its worker
    bool FDoubleClicked = false;  // set by a double click in atcmds, used by the next selection change
};

// The address of the update-control file: the program's own, or the one the environment
// variable ATGEN_UPDATE_URL names (a test server).
std::wstring UpdateControlFileURL();

// The header's name for a C file: the last character replaced by "h".
std::wstring HeaderNameFor(const std::wstring& cName);

// Process-wide state of the update check.
struct TUpdateCheckState {
    bool MessageHandled = false;   // the once-only message ran its body
    bool CheckRan = false;         // CheckForUpdate ran (the worker was started)
    bool Answered = false;         // the worker's answer arrived and panel 1 shows it
    bool NewVersion = false;       // the updater's answer
    std::wstring NewVersionInfo;   // the new version's text
};
TUpdateCheckState& UpdateCheckState();
// The check workers still running in the process, those of closed windows included.
int RunningUpdateChecks();

}  // namespace Unit1
