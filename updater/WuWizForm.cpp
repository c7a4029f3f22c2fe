#include "updater/WuWizForm.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

#include "classlib/Application.h"
#include "classlib/ButtonControls.h"
#include "classlib/Canvas.h"
#include "classlib/CheckListBox.h"
#include "classlib/EditControls.h"
#include "classlib/Events.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/PageControl.h"
#include "classlib/Pictures.h"
#include "classlib/ProgressBar.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/Shape.h"
#include "classlib/StandardControls.h"
#include "classlib/Streams.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "updater/WUpdate.h"

namespace WuWizForm {

using namespace ClassLib;
using WUpdate::TWebUpdate;

CLASSLIB_IMPLEMENT(TWUWIZ, TForm)

const wchar_t* const TWUWIZ::Description = LR"(
object WUWIZ: TWUWIZ
  BorderStyle = bsDialog
  ClientWidth = 474
  ClientHeight = 284
  Position = poScreenCenter
  Font.Name = "Verdana"
  Font.Height = -12
  Font.Style = [fsBold]
  OnCreate = FormCreate
  OnActivate = FormActivate
  OnCloseQuery = FormCloseQuery
  object Shape1: TShape
    Left = 2
    Top = 1
    Width = 471
    Height = 281
    Brush.Color = clBtnFace
    Pen.Color = clBtnFace
  end
  object Billboard: TImage
    Left = 9
    Top = 27
    Width = 116
    Height = 201
  end
  object PageControl1: TPageControl
    Left = 136
    Top = 8
    Width = 329
    Height = 265
    Style = tsFlatButtons
    TabStop = false
    object TabSheet1: TTabSheet
      TabVisible = false
      object WelcomeLabel: TLabel
        Left = 0
        Top = 24
        Width = 313
        Height = 120
        AutoSize = false
        WordWrap = true
      end
      object StartButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        Default = true
        TabOrder = 0
        OnClick = StartButtonClick
      end
    end
    object TabSheet2: TTabSheet
      TabVisible = false
      object VersionInfoLabel: TLabel
        Left = 0
        Top = 16
        Width = 305
        Height = 202
        Anchors = [akLeft, akTop, akRight, akBottom]
        AutoSize = false
        WordWrap = true
      end
      object ControlButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        Enabled = false
        TabOrder = 0
        OnClick = ControlButtonClick
      end
    end
    object TabSheet3: TTabSheet
      TabVisible = false
      object Label2: TLabel
        Left = 0
        Top = 8
      end
      object WhatsNewMemo: TMemo
        Left = 0
        Top = 24
        Width = 313
        Height = 193
        ReadOnly = true
        ScrollBars = ssBoth
        WordWrap = false
        PopupMenu = PopupMenu1
        TabOrder = 0
      end
      object WhatsNewRichEdit: TRichEdit
        Left = 0
        Top = 24
        Width = 313
        Height = 193
        ReadOnly = true
        Visible = false
        TabOrder = 1
      end
      object NewButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        TabOrder = 2
        OnClick = NewButtonClick
      end
    end
    object TabSheet4: TTabSheet
      TabVisible = false
      object Label3: TLabel
        Left = 0
        Top = 8
      end
      object EULAMemo: TMemo
        Left = 0
        Top = 24
        Width = 313
        Height = 193
        ReadOnly = true
        ScrollBars = ssBoth
        WordWrap = false
        PopupMenu = PopupMenu2
        TabOrder = 0
      end
      object EULARichEdit: TRichEdit
        Left = 0
        Top = 24
        Width = 313
        Height = 193
        ReadOnly = true
        Visible = false
        TabOrder = 1
      end
      object RAccept: TRadioButton
        Left = 1
        Top = 220
        Width = 224
        Height = 17
        TabOrder = 2
        OnClick = RAcceptClick
      end
      object RNoAccept: TRadioButton
        Left = 1
        Top = 238
        Width = 224
        Height = 17
        TabOrder = 3
        OnClick = RAcceptClick
      end
      object EULAButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        Enabled = false
        TabOrder = 4
        OnClick = EULAButtonClick
      end
    end
    object TabSheet5: TTabSheet
      TabVisible = false
      object Label4: TLabel
        Left = 0
        Top = 8
      end
      object CheckListBox1: TCheckListBox
        Left = 0
        Top = 24
        Width = 313
        Height = 193
        ItemHeight = 14
        TabOrder = 0
      end
      object FilesButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        TabOrder = 1
        OnClick = FilesButtonClick
      end
    end
    object TabSheet6: TTabSheet
      TabVisible = false
      object Label5: TLabel
        Left = 0
        Top = 8
      end
      object Label6: TLabel
        Left = 0
        Top = 56
      end
      object Label7: TLabel
        Left = 0
        Top = 136
      end
      object FileLabel: TLabel
        Left = 152
        Top = 56
      end
      object FileProgress: TProgressBar
        Left = 0
        Top = 80
        Width = 313
        Height = 17
      end
      object TotalProgress: TProgressBar
        Left = 0
        Top = 160
        Width = 313
        Height = 17
      end
      object CancelButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        TabOrder = 0
        OnClick = CancelButtonClick
      end
    end
    object TabSheet7: TTabSheet
      TabVisible = false
      object Label1: TLabel
        Left = 0
        Top = 8
      end
      object Label8: TLabel
        Left = 0
        Top = 96
      end
      object RestartButton: TButton
        Left = 224
        Top = 224
        Width = 91
        Height = 25
        TabOrder = 0
        OnClick = RestartButtonClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object ViewinNotepad1: TMenuItem
      Caption = "View in Notepad"
      OnClick = ViewinNotepad1Click
    end
  end
  object PopupMenu2: TPopupMenu
    object ViewinNotepad2: TMenuItem
      Caption = "View in Notepad"
      OnClick = ViewinNotepad2Click
    end
  end
end
)";

namespace {

// Posted by the first activation: the automatic start runs from the message loop, not
// inside the activation.
constexpr UINT WM_WIZARD_AUTOSTART = WM_APP + 0x57;

bool IsRTF(const std::vector<uint8_t>& bytes) {
    static const char head[] = "{\\RTF";
    if (bytes.size() < 5) return false;
    for (size_t i = 0; i < 5; ++i)
        if (std::toupper(bytes[i]) != head[i]) return false;
    return true;
}

std::unique_ptr<TStringList> TextLines(TMemoryStream& stream) {
    auto lines = std::make_unique<TStringList>();
    stream.SetPosition(0);
    lines->LoadFromStream(&stream);
    return lines;
}

// The picture the wizard shows when its owner gives none: a blue band, lighter at the top.
void PaintDefaultBillboard(TPicture& picture) {
    TBitmap bitmap;
    bitmap.SetSize(116, 201);
    TCanvas& canvas = *bitmap.Canvas();
    for (int y = 0; y < 201; y += 3) {
        const int light = 200 - y * 120 / 201;
        canvas.Brush()->SetColor(TColor(RGB(light / 3, light / 2 + 20, std::min(255, light + 55))));
        canvas.FillRect(TRect{0, y, 116, y + 3});
    }
    picture.SetGraphic(&bitmap);
}

}  // namespace

// While one of the updater's transfers runs: the hourglass shows, and a close is deferred.
class TWUWIZ::TTransferScope {
public:
    explicit TTransferScope(TWUWIZ& form) : FForm(form), FCursor(Screen ? Screen->Cursor() : crDefault) {
        ++FForm.FTransfers;
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~TTransferScope() {
        --FForm.FTransfers;
        if (Screen) Screen->SetCursor(FCursor);
    }
    TTransferScope(const TTransferScope&) = delete;
    TTransferScope& operator=(const TTransferScope&) = delete;
private:
    TWUWIZ& FForm;
    TCursor FCursor;
};

const TPropertyList& TWUWIZ::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"StartButtonClick", &TWUWIZ::StartButtonClick)
        .Method(L"ControlButtonClick", &TWUWIZ::ControlButtonClick)
        .Method(L"NewButtonClick", &TWUWIZ::NewButtonClick)
        .Method(L"EULAButtonClick", &TWUWIZ::EULAButtonClick)
        .Method(L"RAcceptClick", &TWUWIZ::RAcceptClick)
        .Method(L"FilesButtonClick", &TWUWIZ::FilesButtonClick)
        .Method(L"CancelButtonClick", &TWUWIZ::CancelButtonClick)
        .Method(L"RestartButtonClick", &TWUWIZ::RestartButtonClick)
        .Method(L"ViewinNotepad1Click", &TWUWIZ::ViewinNotepad1Click)
        .Method(L"ViewinNotepad2Click", &TWUWIZ::ViewinNotepad2Click)
        .Method(L"FormCreate", &TWUWIZ::FormCreate)
        .Method(L"FormActivate", &TWUWIZ::FormActivate)
        .Method(L"FormCloseQuery", &TWUWIZ::FormCloseQuery);
    return list;
}

TWUWIZ::TWUWIZ(TComponent* owner) : TForm(owner) {
    // Naming the classes links their units in, and with them their registration.
    for (const TClass* cls : {&TShape::StaticClass(), &TImage::StaticClass(), &TPageControl::StaticClass(),
                              &TTabSheet::StaticClass(), &TLabel::StaticClass(), &TButton::StaticClass(),
                              &TMemo::StaticClass(), &TRichEdit::StaticClass(), &TRadioButton::StaticClass(),
                              &TCheckListBox::StaticClass(), &TProgressBar::StaticClass(),
                              &TPopupMenu::StaticClass(), &TMenuItem::StaticClass()})
        RegisterClassType(*cls);
    BindField(Shape1, L"Shape1");
    BindField(Billboard, L"Billboard");
    BindField(PageControl1, L"PageControl1");
    BindField(TabSheet1, L"TabSheet1");
    BindField(TabSheet2, L"TabSheet2");
    BindField(TabSheet3, L"TabSheet3");
    BindField(TabSheet4, L"TabSheet4");
    BindField(TabSheet5, L"TabSheet5");
    BindField(TabSheet6, L"TabSheet6");
    BindField(TabSheet7, L"TabSheet7");
    BindField(WelcomeLabel, L"WelcomeLabel");
    BindField(StartButton, L"StartButton");
    BindField(VersionInfoLabel, L"VersionInfoLabel");
    BindField(ControlButton, L"ControlButton");
    BindField(Label2, L"Label2");
    BindField(WhatsNewMemo, L"WhatsNewMemo");
    BindField(WhatsNewRichEdit, L"WhatsNewRichEdit");
    BindField(NewButton, L"NewButton");
    BindField(Label3, L"Label3");
    BindField(EULAMemo, L"EULAMemo");
    BindField(EULARichEdit, L"EULARichEdit");
    BindField(RAccept, L"RAccept");
    BindField(RNoAccept, L"RNoAccept");
    BindField(EULAButton, L"EULAButton");
    BindField(Label4, L"Label4");
    BindField(CheckListBox1, L"CheckListBox1");
    BindField(FilesButton, L"FilesButton");
    BindField(Label5, L"Label5");
    BindField(Label6, L"Label6");
    BindField(Label7, L"Label7");
    BindField(FileLabel, L"FileLabel");
    BindField(FileProgress, L"FileProgress");
    BindField(TotalProgress, L"TotalProgress");
    BindField(CancelButton, L"CancelButton");
    BindField(Label1, L"Label1");
    BindField(Label8, L"Label8");
    BindField(RestartButton, L"RestartButton");
    BindField(PopupMenu1, L"PopupMenu1");
    BindField(ViewinNotepad1, L"ViewinNotepad1");
    BindField(PopupMenu2, L"PopupMenu2");
    BindField(ViewinNotepad2, L"ViewinNotepad2");
    InitFromDescriptionText(Description);
}

void TWUWIZ::FormCreate(TObject*) {
    FileLabel->SetAutoSize(false);
    FileLabel->SetWidth(166);
    if (!Billboard->Picture()->Graphic() || Billboard->Picture()->Graphic()->Empty())
        PaintDefaultBillboard(*Billboard->Picture());
    PageControl1->SetActivePageIndex(0);
    WebUpdate = nullptr;
}

void TWUWIZ::FormActivate(TObject*) {
    if (StartButton->CanFocus()) StartButton->SetFocus();
    if (!AutoStart || FAutoStarted) return;
    FAutoStarted = true;
    PageControl1->SetActivePageIndex(1);
    PostMessage(WM_WIZARD_AUTOSTART);
}

void TWUWIZ::Dispatch(TMessage& message) {
    if (message.Msg == WM_WIZARD_AUTOSTART) {
        if (WizardPause()) StartButton->Click();
        return;
    }
    if (message.Msg == WM_CLOSE && TransferRunning()) {
        // Nothing may be freed under a running transfer: it is cancelled, and the step
        // that started it closes the wizard once it has returned.
        Cancelled = true;
        FCloseRequested = true;
        return;
    }
    TForm::Dispatch(message);
}

void TWUWIZ::FormCloseQuery(TObject*, bool& canClose) {
    if (TransferRunning()) {
        Cancelled = true;
        FCloseRequested = true;
        canClose = false;
        return;
    }
    StopOnce();
}

bool TWUWIZ::Closing() const {
    return FCloseRequested || ModalResult() != mrNone || (Application && Application->Terminated());
}

bool TWUWIZ::CloseDeferred() {
    if (!Closing()) return false;
    UpdateDone();
    return true;
}

void TWUWIZ::StopOnce() {
    if (FStopped || !WebUpdate) return;
    FStopped = true;
    WebUpdate->StopConnection();
}

void TWUWIZ::UpdateDone() {
    StopOnce();
    Close();
}

bool TWUWIZ::WizardPause() {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 350 && !Closing()) {
        if (Application) Application->ProcessMessages();
        ::Sleep(10);
    }
    return !Closing();
}

void TWUWIZ::AutoPress(TButton* button) {
    if (!AutoRun) return;
    if (WizardPause()) button->Click();
}

void TWUWIZ::FitButton(TButton* button) {
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(button->Font());
    const int wanted = canvas.TextWidth(button->Caption()) + 16;
    if (wanted <= button->Width()) return;
    const int right = button->Left() + button->Width();
    button->SetBounds(right - wanted, button->Top(), wanted, button->Height());
}

void TWUWIZ::StartButtonClick(TObject*) {
    StartButton->SetEnabled(false);
    ControlButton->SetEnabled(false);
    ViewinNotepad1->SetCaption(WhatsNewPopupText);
    ViewinNotepad2->SetCaption(LicensePopupText);
    int connected;
    {
        TTransferScope transfer(*this);
        connected = WebUpdate->StartConnection();
    }
    if (CloseDeferred()) return;
    if (connected != 0) {
        UpdateDone();
        StartButton->SetEnabled(true);
        return;
    }
    int controlFile;
    {
        TTransferScope transfer(*this);
        if (WebUpdate->UpdateType() == WUpdate::ftpUpdate || WebUpdate->UpdateType() == WUpdate::sftpUpdate)
            WebUpdate->FTPConnect();
        // The wizard asks through its own pages.
        WebUpdate->SetUpdateUpdate(WUpdate::wuuSilent);
        controlFile = WebUpdate->GetControlFile();
    }
    if (CloseDeferred()) return;
    VersionInfoLabel->SetWidth(300);
    if (controlFile != 0) {
        PageControl1->SetActivePage(TabSheet2);
        VersionInfoLabel->SetCaption(CannotConnectText + L"\r" + NoUpdateText);
        ControlButton->SetCaption(ExitText);
    } else {
        StartButton->SetEnabled(true);
        PageControl1->SetActivePage(TabSheet2);
        ControlButton->SetEnabled(true);
        const int check = WebUpdate->DoVersionCheck();
        std::wstring text;
        switch (check) {
            case 6: {
                std::wstring current;
                if (WebUpdate->CurVersionDate != EncodeDate(1980, 1, 1))
                    current = CurrentVersionText + L" : " + DateToStr(WebUpdate->CurVersionDate);
                std::wstring added = DateToStr(WebUpdate->NewVersionDate);
                const double timeOfDay = WebUpdate->NewVersionDate - std::floor(WebUpdate->NewVersionDate);
                if (timeOfDay != 0) added += L" " + TimeToStr(WebUpdate->NewVersionDate);
                text = NewVersionFoundText + L" :\r" + current + L"\r" + NewVersionText + L" : " + added + L"\r\r" +
                       WebUpdate->UpdateDescription;
                break;
            }
            case 7: text = NoNewVersionText; break;
            case 11:
                text = NewVersionFoundText + L" :\r" + CurrentVersionText + L" : " + WebUpdate->CurVersionInfo + L"\r" +
                       NewVersionText + L" : " + WebUpdate->NewVersionInfo + L"\r\r" + WebUpdate->UpdateDescription;
                break;
            default: text = NewVersionAvailText; break;
        }
        VersionInfoLabel->SetCaption(text);
        ControlButton->SetCaption(check == 7 ? ExitText : GetUpdateText);
    }
    FitButton(ControlButton);
    ControlButton->SetEnabled(true);
    if (ControlButton->CanFocus()) ControlButton->SetFocus();
    AutoPress(ControlButton);
}

void TWUWIZ::ControlButtonClick(TObject*) {
    ControlButton->SetEnabled(false);
    if (ControlButton->Caption() == ExitText) {
        UpdateDone();
        return;
    }
    int actions;
    {
        TTransferScope transfer(*this);
        actions = WebUpdate->HandleActions();
    }
    if (CloseDeferred()) return;
    if (actions != 0) {
        UpdateDone();
        return;
    }
    std::unique_ptr<TMemoryStream> whatsNew;
    {
        TTransferScope transfer(*this);
        whatsNew = WebUpdate->GetWhatsNewStream();
    }
    if (CloseDeferred()) return;
    if (whatsNew && whatsNew->Size() > 0) {
        int res = 1;
        const bool rtf = IsRTF(whatsNew->Bytes());
        if (rtf) {
            WhatsNewRichEdit->SetRTF(std::string(whatsNew->Bytes().begin(), whatsNew->Bytes().end()));
        } else {
            std::unique_ptr<TStringList> lines = TextLines(*whatsNew);
            FireEvent(WebUpdate->OnDownloadedWhatsNew, WebUpdate, lines.get(), res);
            WhatsNewMemo->SetLines(lines.get());
        }
        if (res == 1) {
            WhatsNewRichEdit->SetVisible(rtf);
            WhatsNewMemo->SetVisible(!rtf);
            PageControl1->SetActivePage(TabSheet3);
            NewButton->SetEnabled(true);
            if (NewButton->CanFocus()) NewButton->SetFocus();
            AutoPress(NewButton);
            return;
        }
    }
    if (ShowLicence(true)) return;
    ShowFiles(true, false);
}

void TWUWIZ::NewButtonClick(TObject*) {
    NewButton->SetEnabled(false);
    if (ShowLicence(false)) return;
    ShowFiles(false, false);
}

bool TWUWIZ::ShowLicence(bool throughEvent) {
    std::unique_ptr<TMemoryStream> licence;
    {
        TTransferScope transfer(*this);
        licence = WebUpdate->GetEULAStream();
    }
    if (CloseDeferred()) return true;
    if (!licence || licence->Size() == 0) return false;
    const bool rtf = IsRTF(licence->Bytes());
    if (rtf) {
        EULARichEdit->SetRTF(std::string(licence->Bytes().begin(), licence->Bytes().end()));
    } else {
        std::unique_ptr<TStringList> lines = TextLines(*licence);
        if (throughEvent) {
            int res = 1;  // the wizard asks through its own radio buttons
            FireEvent(WebUpdate->OnDownloadedEULA, WebUpdate, lines.get(), res);
        }
        EULAMemo->SetLines(lines.get());
    }
    EULARichEdit->SetVisible(rtf);
    EULAMemo->SetVisible(!rtf);
    PageControl1->SetActivePage(TabSheet4);
    EULAButton->SetEnabled(false);
    if (AutoRun) {
        EULAButton->SetEnabled(true);
        EULAButton->SetCaption(NextText);
        FitButton(EULAButton);
        AutoPress(EULAButton);
    }
    return true;
}

void TWUWIZ::RAcceptClick(TObject*) {
    if (!RAccept->Checked() && !RNoAccept->Checked()) return;
    EULAButton->SetCaption(RAccept->Checked() ? NextText : ExitText);
    FitButton(EULAButton);
    EULAButton->SetEnabled(true);
}

void TWUWIZ::EULAButtonClick(TObject*) {
    if (RAccept->Checked()) {
        EULAButton->SetEnabled(false);
        ShowFiles(false, true);
    } else if (RNoAccept->Checked()) {
        UpdateDone();
    }
}

void TWUWIZ::ShowFiles(bool emptyIsApplication, bool usePreselect) {
    {
        TTransferScope transfer(*this);
        WebUpdate->GetFileDetails();
        WebUpdate->ProcessFileDetails();
    }
    if (CloseDeferred()) return;
    WUpdate::TFileList& files = *WebUpdate->FileList();
    CheckListBox1->Items()->Clear();
    FItemEntries.clear();
    for (int i = 0; i < files.Count(); ++i) {
        const WUpdate::TFileDescription& entry = *files.Items(i);
        if (entry.Hidden) continue;
        std::wstring text = entry.Description;
        if (text.empty() && emptyIsApplication) text = L"Application";
        const int item = CheckListBox1->Items()->Add(text);
        FItemEntries.push_back(i);
        CheckListBox1->SetChecked(item, usePreselect ? entry.Preselect : true);
        CheckListBox1->SetItemEnabled(item, !entry.Mandatory);
    }
    if (!CheckFileCount()) return;
    if (CheckListBox1->Items()->Count() == 0) {
        RunDownload();
        return;
    }
    PageControl1->SetActivePage(TabSheet5);
    FilesButton->SetEnabled(true);
    if (FilesButton->CanFocus()) FilesButton->SetFocus();
    AutoPress(FilesButton);
}

bool TWUWIZ::CheckFileCount() {
    if (WebUpdate->FileList()->Count() > 0) return true;
    Seams().ShowMessageBox(Handle(), NoFilesText, GetText(), MB_OK | MB_ICONINFORMATION);
    UpdateDone();
    return false;
}

void TWUWIZ::FilesButtonClick(TObject*) {
    FilesButton->SetEnabled(false);
    WUpdate::TFileList& files = *WebUpdate->FileList();
    for (int i = 0; i < files.Count(); ++i) files.Items(i)->Selected = true;
    for (int item = 0; item < CheckListBox1->Items()->Count() && item < int(FItemEntries.size()); ++item)
        if (!CheckListBox1->Checked(item)) files.Items(FItemEntries[size_t(item)])->Selected = false;
    // From the end: deleting an entry shifts the indexes of those after it.
    for (int i = files.Count() - 1; i >= 0; --i)
        if (!files.Items(i)->Selected) files.Delete(i);
    if (CheckFileCount()) RunDownload();
}

void TWUWIZ::RunDownload() {
    FileLabel->SetCaption(L"");
    FileProgress->SetPosition(0);
    TotalProgress->SetPosition(0);
    PageControl1->SetActivePage(TabSheet6);
    CancelButton->SetEnabled(true);
    if (CancelButton->CanFocus()) CancelButton->SetFocus();
    if (AutoRun) CancelButton->SetEnabled(false);
    {
        TTransferScope transfer(*this);
        const int result = WebUpdate->GetFileUpdates();
        ShowPendingProgress();   // where the last file ended
        if (result == -1) {
            WebUpdate->Cancel();
            // A download the user stopped is no failure to report.
            if (!Cancelled) Seams().ShowMessageBox(Handle(), FailedDownloadText, GetText(), MB_OK | MB_ICONERROR);
        }
        WebUpdate->UpdateActions();
    }
    if (WebUpdate->Cancelled() || Cancelled) {
        UpdateDone();
        return;
    }
    FStopped = true;
    WebUpdate->StopConnection();
    FireEvent(WebUpdate->OnSuccess, WebUpdate);
    if (CloseDeferred()) return;
    const bool needsRestart = WebUpdate->AppNeedsRestart();
    const bool silentRestart = needsRestart && WebUpdate->AppSilentRestart();
    PageControl1->SetActivePage(TabSheet7);
    if (!needsRestart) {
        RestartButton->SetCaption(ExitText);
        FitButton(RestartButton);
        Label8->SetCaption(L"");
    }
    RestartButton->SetEnabled(true);
    if (RestartButton->CanFocus()) RestartButton->SetFocus();
    if (silentRestart) {
        RestartButton->Click();
    } else if (AutoRun) {
        AutoPress(RestartButton);
    }
}

void TWUWIZ::CancelButtonClick(TObject*) { Cancelled = true; }

void TWUWIZ::RestartButtonClick(TObject*) {
    if (WebUpdate->AppNeedsRestart())
        WebUpdate->DoRestart();
    else
        UpdateDone();
}

void TWUWIZ::WebUpdateFileProgress(TObject*, const std::wstring& filename, long long pos, long long size) {
    // Called for every 4 KB block. Drawing the label and both bars and pumping messages
    // each time cost nine tenths of the transfer's speed; shown every 60 ms, when a file
    // starts and when it ends, the bars still move smoothly.
    constexpr uint32_t Interval = 60;
    FPending = {filename, pos, size, true};
    const uint32_t now = Seams().TickCount();
    const bool fileEnds = size > 0 && pos >= size;
    if (!fileEnds && filename == FShownFile && now - FLastShown < Interval) return;
    FLastShown = now;
    ShowPendingProgress();
}

void TWUWIZ::ShowPendingProgress() {
    if (!FPending.Waiting) return;
    FPending.Waiting = false;
    FShownFile = FPending.FileName;
    FileLabel->SetCaption(ExtractFileName(FPending.FileName));
    const WUpdate::TBarRange file = WUpdate::ProgressBarRange(FPending.Pos, FPending.Size);
    FileProgress->SetRange(0, file.Max);
    FileProgress->SetPosition(file.Position);
    const WUpdate::TFileList& files = *WebUpdate->FileList();
    const WUpdate::TBarRange total = WUpdate::ProgressBarRange(FPending.Pos + files.CompletedSize(), files.TotalSize());
    TotalProgress->SetRange(0, total.Max);
    TotalProgress->SetPosition(total.Position);
    if (Application) Application->ProcessMessages();
}

void TWUWIZ::WebUpdateCancel(TObject*, bool& cancel) {
    if (Cancelled) cancel = true;
}

void TWUWIZ::ViewinNotepad1Click(TObject*) {
    const std::wstring file = WebUpdate->WinTempDir() + L"whatsnew.txt";
    WhatsNewMemo->Lines()->SaveToFile(file);
    Seams().ShellOpen(file, L"");
}

void TWUWIZ::ViewinNotepad2Click(TObject*) {
    const std::wstring file = WebUpdate->WinTempDir() + L"eula.txt";
    EULAMemo->Lines()->SaveToFile(file);
    Seams().ShellOpen(file, L"");
}

}  // namespace WuWizForm
