#include "updater/WUpdateWiz.h"

#include <cmath>

#include "classlib/ButtonControls.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Shape.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvStyleIF.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateLanguagesU.h"
#include "updater/WuWizForm.h"

namespace WUpdateWiz {

using namespace ClassLib;
using WUpdateLanguagesU::TWebUpdateWizardLanguage;
using WuWizForm::TWUWIZ;

CLASSLIB_IMPLEMENT(TWebUpdateWizard, TComponent)

const TPropertyList& TWebUpdateWizard::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Reference(L"WebUpdate", &TWebUpdateWizard::WebUpdate, &TWebUpdateWizard::SetWebUpdate)
        .Reference(L"Language", &TWebUpdateWizard::Language, &TWebUpdateWizard::SetLanguage)
        .Add(L"AutoStart", &TWebUpdateWizard::AutoStart, &TWebUpdateWizard::SetAutoStart, false)
        .Add(L"AutoRun", &TWebUpdateWizard::AutoRun, &TWebUpdateWizard::SetAutoRun, false)
        .SubObject(L"BillBoard", &TWebUpdateWizard::BillBoard)
        .Add(L"BillBoardStretch", &TWebUpdateWizard::BillBoardStretch, &TWebUpdateWizard::SetBillBoardStretch, false)
        .Add(L"BillBoardCenter", &TWebUpdateWizard::BillBoardCenter, &TWebUpdateWizard::SetBillBoardCenter, false)
        .Add(L"BillBoardTop", &TWebUpdateWizard::BillBoardTop, &TWebUpdateWizard::SetBillBoardTop, 27)
        .Add(L"BillBoardLeft", &TWebUpdateWizard::BillBoardLeft, &TWebUpdateWizard::SetBillBoardLeft, 9)
        .Add(L"BillBoardHeight", &TWebUpdateWizard::BillBoardHeight, &TWebUpdateWizard::SetBillBoardHeight, 201)
        .Add(L"BillBoardWidth", &TWebUpdateWizard::BillBoardWidth, &TWebUpdateWizard::SetBillBoardWidth, 116)
        .Add(L"Caption", &TWebUpdateWizard::Caption, &TWebUpdateWizard::SetCaption, L"")
        .SubObject(L"Font", &TWebUpdateWizard::Font, &TWebUpdateWizard::StartFont)
        .Enum(L"Position", L"TPosition", &TWebUpdateWizard::Position, &TWebUpdateWizard::SetPosition,
              {L"poDesigned", L"poDefault", L"poDefaultPosOnly", L"poDefaultSizeOnly", L"poScreenCenter",
               L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter"}, poScreenCenter)
        .Enum(L"BorderStyle", L"TFormBorderStyle", &TWebUpdateWizard::BorderStyle, &TWebUpdateWizard::SetBorderStyle,
              {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"}, bsDialog);
    return list;
}

TWebUpdateWizard::TWebUpdateWizard(TComponent* owner)
    : TComponent(owner), FBillBoard(std::make_unique<TBitmap>()), FFont(std::make_unique<TFont>()) {
    FFont->Assign(&StartFont());
}

const TFont& TWebUpdateWizard::StartFont() {
    static TFont font;
    static const bool made = [] {
        font.SetName(L"Verdana");
        font.SetStyle(TFontStyles{fsBold});
        font.SetSize(9);
        return true;
    }();
    (void)made;
    return font;
}

TWebUpdateWizard::~TWebUpdateWizard() {
    SetWebUpdate(nullptr);
    SetLanguage(nullptr);
}

void TWebUpdateWizard::SetWebUpdate(WUpdate::TWebUpdate* value) {
    if (value == FWebUpdate) return;
    if (FWebUpdate) FWebUpdate->RemoveFreeNotification(this);
    FWebUpdate = value;
    if (value) value->FreeNotification(this);
}

void TWebUpdateWizard::SetLanguage(TWebUpdateWizardLanguage* value) {
    if (value == FLanguage) return;
    if (FLanguage) FLanguage->RemoveFreeNotification(this);
    FLanguage = value;
    if (value) value->FreeNotification(this);
}

void TWebUpdateWizard::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FWebUpdate) FWebUpdate = nullptr;
    if (component == FLanguage) FLanguage = nullptr;
    if (component == FWizard) FWizard = nullptr;
}

void TWebUpdateWizard::SetBillBoard(const TBitmap* value) { FBillBoard->Assign(value); }
void TWebUpdateWizard::SetFont(const TFont* value) { FFont->Assign(value); }

void TWebUpdateWizard::InitLanguage(TWUWIZ* wizard, TWebUpdateWizardLanguage* language) {
    std::unique_ptr<TWebUpdateWizardLanguage> defaults;
    if (!language) {
        defaults = std::make_unique<TWebUpdateWizardLanguage>(nullptr);
        language = defaults.get();
    }
    TWUWIZ& w = *wizard;
    w.WelcomeLabel->SetCaption(language->Welcome());
    w.StartButton->SetCaption(language->StartButton());
    w.ControlButton->SetCaption(language->GetUpdateButton());
    w.Label2->SetCaption(language->WhatsNew());
    w.Label3->SetCaption(language->License());
    w.Label4->SetCaption(language->ComponentsAvail());
    w.Label5->SetCaption(language->DownloadingFiles());
    w.NewButton->SetCaption(language->NextButton());
    w.EULAButton->SetCaption(language->NextButton());
    w.FilesButton->SetCaption(language->NextButton());
    w.RAccept->SetCaption(language->AcceptLicense());
    w.RNoAccept->SetCaption(language->NotAcceptLicense());
    w.Label6->SetCaption(language->CurrentProgress());
    w.Label7->SetCaption(language->TotalProgress());
    w.CancelButton->SetCaption(language->CancelButton());
    w.Label1->SetCaption(language->UpdateComplete());
    w.Label8->SetCaption(language->RestartInfo());
    w.RestartButton->SetCaption(language->RestartButton());
    w.NewVersionFoundText = language->NewVersionFound();
    w.NewVersionText = language->NewVersion();
    w.CurrentVersionText = language->CurrentVersion();
    w.NoNewVersionText = language->NoNewVersionAvail();
    w.NewVersionAvailText = language->NewVersionAvail();
    w.GetUpdateText = language->GetUpdateButton();
    w.ExitText = language->ExitButton();
    w.NoFilesText = language->NoFilesFound();
    w.CannotConnectText = language->CannotConnect();
    w.NoUpdateText = language->NoUpdateOnServer();
    w.NextText = language->NextButton();
    w.FailedDownloadText = language->FailedDownload();
    w.WhatsNewPopupText = language->WhatsNewPopup();
    w.LicensePopupText = language->LicensePopup();
}

void TWebUpdateWizard::CloseWizard() {
    if (FWizard && FWizard->HandleAllocated()) FWizard->Perform(WM_CLOSE);
}

void TWebUpdateWizard::Execute(bool initPath) {
    if (!FWebUpdate) throw Exception(L"No WebUpdate component assigned");
    if (FWizard) throw EInvalidOperation(L"The update wizard is already running");
    if (initPath) {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) ::SetCurrentDirectoryW(ExtractFilePath(path).c_str());
    }
    WUpdate::TWebUpdate& update = *FWebUpdate;
    // The component's handlers belong to the wizard only while it runs; freeing the form
    // comes after they are back, so no transfer can reach a freed form.
    struct TRunScope {
        TWebUpdateWizard& Wizard;
        WUpdate::TWebUpdate& Update;
        WUpdate::TFileProgressEvent Progress;
        WUpdate::TAllowEvent Cancel;
        ~TRunScope() {
            Update.OnFileProgress = Progress;
            Update.OnProgressCancel = Cancel;
            if (TWUWIZ* form = Wizard.FWizard) {
                Wizard.FWizard = nullptr;
                form->BeforeDestruction();
                delete form;
            }
        }
    } scope{*this, update, update.OnFileProgress, update.OnProgressCancel};

    FWizard = new TWUWIZ(this);
    TWUWIZ& form = *FWizard;
    form.SetBorderStyle(FBorderStyle);
    FDPIScale = AdvStyleIF::GetDPIScale(&form, form.Canvas());
    if (!FBillBoard->Empty()) form.Billboard->Picture()->Assign(FBillBoard.get());
    form.Billboard->SetBounds(FBillBoardLeft, FBillBoardTop, FBillBoardWidth, FBillBoardHeight);
    form.Billboard->SetStretch(FBillBoardStretch);
    form.Billboard->SetCenter(FBillBoardCenter);
    form.Font()->Assign(FFont.get());
    form.Font()->SetHeight(int(std::lround(FFont->Height() * FDPIScale)));
    InitLanguage(&form, FLanguage);
    if (FBorderStyle != bsNone) {
        form.Shape1->Pen()->SetColor(clBtnFace);
        form.Shape1->Pen()->SetWidth(0);
    } else {
        form.SetClientWidth(form.Shape1->Width() + 2);
        form.SetClientHeight(form.Shape1->Height() + 2);
    }
    form.AutoRun = FAutoRun;
    form.AutoStart = FAutoStart;
    form.WebUpdate = &update;
    form.Cancelled = false;
    update.OnFileProgress = [&form](TObject* sender, const std::wstring& name, long long pos, long long size) {
        form.WebUpdateFileProgress(sender, name, pos, size);
    };
    update.OnProgressCancel = [&form](TObject* sender, bool& cancel) { form.WebUpdateCancel(sender, cancel); };
    form.SetText(FCaption);
    form.SetPosition(FPosition);
    form.ShowModal();
}

}  // namespace WUpdateWiz
