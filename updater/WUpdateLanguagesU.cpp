#include "updater/WUpdateLanguagesU.h"

#include "classlib/Properties.h"

namespace WUpdateLanguagesU {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TWebUpdateWizardLanguage, TComponent)
CLASSLIB_IMPLEMENT(TWebUpdateWizardEnglish, TWebUpdateWizardLanguage)
CLASSLIB_IMPLEMENT(TWebUpdateWizardPolish, TWebUpdateWizardLanguage)

const TPropertyList& TWebUpdateWizardLanguage::Published() {
    // No declared defaults: a descendant's constructor sets its own language.
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TComponent::Published());
#define WUPDATE_WIZARD_TEXT_PROPERTY(Name) \
    l.Add(L## #Name, &TWebUpdateWizardLanguage::Name, &TWebUpdateWizardLanguage::Set##Name);
        WUPDATE_WIZARD_TEXTS(WUPDATE_WIZARD_TEXT_PROPERTY)
#undef WUPDATE_WIZARD_TEXT_PROPERTY
        return l;
    }();
    return list;
}

TWebUpdateWizardLanguage::TWebUpdateWizardLanguage(TComponent* owner) : TComponent(owner) {
    FWelcome = L"Press start to start checking for available application updates ...";
    FStartButton = L"Start";
    FNextButton = L"Next";
    FExitButton = L"Exit";
    FRestartButton = L"Restart";
    FCancelButton = L"Cancel";
    FFailedDownload = L"Failed to download updates";
    FGetUpdateButton = L"Get update";
    FNewVersionFound = L"New version found";
    FNewVersion = L"New version";
    FNoNewVersionAvail = L"No new version available.";
    FNewVersionAvail = L"New version available.";
    FCurrentVersion = L"Current version";
    FNoFilesFound = L"No files found for update";
    FNoUpdateOnServer = L"No update found on server ...";
    FCannotConnect = L"Could not connect to update server or";
    FWhatsNew = L"What's new";
    FLicense = L"License agreement";
    FAcceptLicense = L"I accept";
    FNotAcceptLicense = L"I do not accept";
    FComponentsAvail = L"Available application components";
    FDownloadingFiles = L"Downloading files";
    FCurrentProgress = L"Current file progress";
    FTotalProgress = L"Total file progress";
    FUpdateComplete = L"Update completed ...";
    FRestartInfo = L"Press restart to start the updated application.";
    FWhatsNewPopup = L"View in Notepad";
    FLicensePopup = L"View in Notepad";
}

void TWebUpdateWizardLanguage::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TWebUpdateWizardLanguage*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
#define WUPDATE_WIZARD_TEXT_COPY(Name) F##Name = other->F##Name;
    WUPDATE_WIZARD_TEXTS(WUPDATE_WIZARD_TEXT_COPY)
#undef WUPDATE_WIZARD_TEXT_COPY
}

TWebUpdateWizardPolish::TWebUpdateWizardPolish(TComponent* owner) : TWebUpdateWizardLanguage(owner) {
    SetWelcome(L"Naciśnij START, aby sprawdzić dostępność uaktualnień...");
    SetStartButton(L"Start");
    SetNextButton(L"Dalej");
    SetExitButton(L"Wyjście");
    SetRestartButton(L"Zakończ");
    SetCancelButton(L"Anuluj");
    SetGetUpdateButton(L"Pobierz");
    SetNewVersionFound(L"Znaleziono nową wersję");
    SetNewVersion(L"Nowa wersja");
    SetNoNewVersionAvail(L"Nie znaleziono nowszej wersji");
    SetNewVersionAvail(L"Dostępna jest nowsza wersja");
    SetCurrentVersion(L"Aktualna wersja");
    SetNoFilesFound(L"Nie odnaleziono plików na serwerze");
    SetNoUpdateOnServer(L"brak aktualizacji na serwerze!");
    SetCannotConnect(L"Brak połączenia z serwerem lub");
    SetWhatsNew(L"Co nowego?");
    SetLicense(L"Licencja");
    SetAcceptLicense(L"Akceptuję licencję");
    SetNotAcceptLicense(L"Nie akceptuję licencji");
    SetComponentsAvail(L"Dostępne komponenty");
    SetDownloadingFiles(L"Pobieranie plików");
    SetCurrentProgress(L"Postęp aktualnego pliku");
    SetTotalProgress(L"Łączny postęp");
    SetFailedDownload(L"Nie udało się pobrać uaktualnienia");
    SetUpdateComplete(L"Aktualizacja zakończona !");
    SetRestartInfo(L"Naciśnij ZAKOŃCZ, aby uruchomić nową wersję aplikacji");
}

}  // namespace WUpdateLanguagesU
