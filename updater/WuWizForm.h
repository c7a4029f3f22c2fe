#pragma once
// The update wizard's window: seven pages on a page control without tabs, stepped
// forward by each page's button while the form calls the updater's steps one by one.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Form.h"

namespace ClassLib {
class TButton;
class TCheckListBox;
class TImage;
class TLabel;
class TMemo;
class TMenuItem;
class TPageControl;
class TPopupMenu;
class TProgressBar;
class TRadioButton;
class TRichEdit;
class TShape;
class TTabSheet;
}  // namespace ClassLib

namespace WUpdate {
class TWebUpdate;
}

namespace WuWizForm {

class TWUWIZ : public ClassLib::TForm {
    CLASSLIB_CLASS(TWUWIZ, ClassLib::TForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TWUWIZ(ClassLib::TComponent* owner);
    // The window's description: a static library carries no resources, so it lives here.
    static const wchar_t* const Description;

    ClassLib::TShape* Shape1 = nullptr;
    ClassLib::TImage* Billboard = nullptr;
    ClassLib::TPageControl* PageControl1 = nullptr;
    ClassLib::TTabSheet* TabSheet1 = nullptr;
    ClassLib::TTabSheet* TabSheet2 = nullptr;
    ClassLib::TTabSheet* TabSheet3 = nullptr;
    ClassLib::TTabSheet* TabSheet4 = nullptr;
    ClassLib::TTabSheet* TabSheet5 = nullptr;
    ClassLib::TTabSheet* TabSheet6 = nullptr;
    ClassLib::TTabSheet* TabSheet7 = nullptr;
    ClassLib::TLabel* WelcomeLabel = nullptr;
    ClassLib::TButton* StartButton = nullptr;
    ClassLib::TLabel* VersionInfoLabel = nullptr;
    ClassLib::TButton* ControlButton = nullptr;
    ClassLib::TLabel* Label2 = nullptr;
    ClassLib::TMemo* WhatsNewMemo = nullptr;
    ClassLib::TRichEdit* WhatsNewRichEdit = nullptr;
    ClassLib::TButton* NewButton = nullptr;
    ClassLib::TLabel* Label3 = nullptr;
    ClassLib::TMemo* EULAMemo = nullptr;
    ClassLib::TRichEdit* EULARichEdit = nullptr;
    ClassLib::TRadioButton* RAccept = nullptr;
    ClassLib::TRadioButton* RNoAccept = nullptr;
    ClassLib::TButton* EULAButton = nullptr;
    ClassLib::TLabel* Label4 = nullptr;
    ClassLib::TCheckListBox* CheckListBox1 = nullptr;
    ClassLib::TButton* FilesButton = nullptr;
    ClassLib::TLabel* Label5 = nullptr;
    ClassLib::TLabel* Label6 = nullptr;
    ClassLib::TLabel* Label7 = nullptr;
    ClassLib::TLabel* FileLabel = nullptr;
    ClassLib::TProgressBar* FileProgress = nullptr;
    ClassLib::TProgressBar* TotalProgress = nullptr;
    ClassLib::TButton* CancelButton = nullptr;
    ClassLib::TLabel* Label1 = nullptr;
    ClassLib::TLabel* Label8 = nullptr;
    ClassLib::TButton* RestartButton = nullptr;
    ClassLib::TPopupMenu* PopupMenu1 = nullptr;
    ClassLib::TMenuItem* ViewinNotepad1 = nullptr;
    ClassLib::TPopupMenu* PopupMenu2 = nullptr;
    ClassLib::TMenuItem* ViewinNotepad2 = nullptr;

    // ---- state the wizard component sets before showing the form
    WUpdate::TWebUpdate* WebUpdate = nullptr;
    bool Cancelled = false;
    bool AutoRun = false;
    bool AutoStart = false;
    std::wstring NewVersionFoundText, NewVersionText, CurrentVersionText, NoNewVersionText,
        NewVersionAvailText, GetUpdateText, ExitText, NoFilesText, CannotConnectText, NoUpdateText, NextText,
        FailedDownloadText, WhatsNewPopupText, LicensePopupText;

    // ---- handlers
    void StartButtonClick(ClassLib::TObject* sender);
    void ControlButtonClick(ClassLib::TObject* sender);
    void NewButtonClick(ClassLib::TObject* sender);
    void EULAButtonClick(ClassLib::TObject* sender);
    void RAcceptClick(ClassLib::TObject* sender);
    void FilesButtonClick(ClassLib::TObject* sender);
    void CancelButtonClick(ClassLib::TObject* sender);
    void RestartButtonClick(ClassLib::TObject* sender);
    void ViewinNotepad1Click(ClassLib::TObject* sender);
    void ViewinNotepad2Click(ClassLib::TObject* sender);
    void FormCreate(ClassLib::TObject* sender);
    void FormActivate(ClassLib::TObject* sender);
    void FormCloseQuery(ClassLib::TObject* sender, bool& canClose);
    void WebUpdateFileProgress(ClassLib::TObject* sender, const std::wstring& filename, long long pos, long long size);
    void WebUpdateCancel(ClassLib::TObject* sender, bool& cancel);

    // ---- the form's own operations
    // Stops the connection (once) and closes the wizard.
    void UpdateDone();
    // False, after the message box and closing, when nothing is left to download.
    bool CheckFileCount();
    void RunDownload();
    // Widens a button to its text leftwards: its right edge stays.
    void FitButton(ClassLib::TButton* button);
    // 350 ms of processing messages; false when the wizard was closed meanwhile.
    bool WizardPause();
    // True while one of the updater's transfers runs under this form.
    bool TransferRunning() const { return FTransfers > 0; }

    void Dispatch(ClassLib::TMessage& message) override;

private:
    class TTransferScope;
    bool Closing() const;
    // A close asked for while a transfer ran: cancel it and close once it returned.
    bool CloseDeferred();
    void StopOnce();
    // The licence page with its text, or false without a licence.
    bool ShowLicence(bool throughEvent);
    // The component page for the visible entries, or the download when there is none.
    void ShowFiles(bool emptyIsApplication, bool usePreselect);
    void AutoPress(ClassLib::TButton* button);

    // Shows the progress last reported, if it is not on the page yet.
    void ShowPendingProgress();

    struct TProgress {
        std::wstring FileName;
        long long Pos = 0, Size = 0;
        bool Waiting = false;   // reported, not shown yet
    };
    TProgress FPending;
    std::wstring FShownFile;
    uint32_t FLastShown = 0;   // tick of the last progress shown
    std::vector<int> FItemEntries;  // the file-list index of each check-list item
    int FTransfers = 0;
    bool FCloseRequested = false;
    bool FStopped = false;
    bool FAutoStarted = false;
};

}  // namespace WuWizForm
