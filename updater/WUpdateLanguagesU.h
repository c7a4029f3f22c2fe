#pragma once
// The texts of the update wizard: English by default, and a Polish set.
#include <string>

#include "classlib/Object.h"

// Every text of the wizard, once: fields, properties and copying are made from this list.
#define WUPDATE_WIZARD_TEXTS(X)                                                                 \
    X(Welcome) X(StartButton) X(NextButton) X(ExitButton) X(RestartButton) X(CancelButton)     \
    X(FailedDownload) X(GetUpdateButton) X(NewVersionFound) X(NewVersion) X(NoNewVersionAvail) \
    X(NewVersionAvail) X(CurrentVersion) X(NoFilesFound) X(NoUpdateOnServer) X(CannotConnect)  \
    X(WhatsNew) X(License) X(AcceptLicense) X(NotAcceptLicense) X(ComponentsAvail)             \
    X(DownloadingFiles) X(CurrentProgress) X(TotalProgress) X(UpdateComplete) X(RestartInfo)   \
    X(WhatsNewPopup) X(LicensePopup)

namespace WUpdateLanguagesU {

class TWebUpdateWizardLanguage : public ClassLib::TComponent {
    CLASSLIB_CLASS(TWebUpdateWizardLanguage, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TWebUpdateWizardLanguage(ClassLib::TComponent* owner);
    void Assign(const ClassLib::TPersistent* source) override;

#define WUPDATE_WIZARD_TEXT_ACCESS(Name)                                  \
    const std::wstring& Name() const { return F##Name; }                  \
    void Set##Name(const std::wstring& value) { F##Name = value; }
    WUPDATE_WIZARD_TEXTS(WUPDATE_WIZARD_TEXT_ACCESS)
#undef WUPDATE_WIZARD_TEXT_ACCESS

private:
#define WUPDATE_WIZARD_TEXT_FIELD(Name) std::wstring F##Name;
    WUPDATE_WIZARD_TEXTS(WUPDATE_WIZARD_TEXT_FIELD)
#undef WUPDATE_WIZARD_TEXT_FIELD
};

class TWebUpdateWizardEnglish : public TWebUpdateWizardLanguage {
    CLASSLIB_CLASS(TWebUpdateWizardEnglish, TWebUpdateWizardLanguage)
public:
    explicit TWebUpdateWizardEnglish(ClassLib::TComponent* owner) : TWebUpdateWizardLanguage(owner) {}
};

// The two pop-up menu texts stay English.
class TWebUpdateWizardPolish : public TWebUpdateWizardLanguage {
    CLASSLIB_CLASS(TWebUpdateWizardPolish, TWebUpdateWizardLanguage)
public:
    explicit TWebUpdateWizardPolish(ClassLib::TComponent* owner);
};

}  // namespace WUpdateLanguagesU
