#include "app/AppClasses.h"

#include "app/Unit1.h"
#include "app/VxFormSR.h"
#include "app/frmDorlenU.h"
#include "classlib/ComponentClasses.h"
#include "controls/AdvGlowButton.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "controls/AdvPageControl.h"
#include "editor/AdvMemoClasses.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateLanguagesU.h"
#include "updater/WUpdateWiz.h"

namespace AppClasses {

const std::vector<const ClassLib::TClass*>& RegisterAppClasses() {
    static const std::vector<const ClassLib::TClass*> registered = [] {
        std::vector<const ClassLib::TClass*> classes = ClassLib::RegisterComponentClasses();
        const std::vector<const ClassLib::TClass*> editor = AdvMemo::RegisterEditorClasses();
        classes.insert(classes.end(), editor.begin(), editor.end());
        const std::vector<const ClassLib::TClass*> statusBar = AdvOfficeStatusBarStylers::RegisterStatusBarClasses();
        classes.insert(classes.end(), statusBar.begin(), statusBar.end());
        for (const ClassLib::TClass* cls : {
                 &AdvGlowButton::TAdvGlowButton::StaticClass(), &AdvPageControl::TAdvPageControl::StaticClass(),
                 &AdvPageControl::TAdvTabSheet::StaticClass(),
                 &VxFormSR::TVxFormSR::StaticClass(), &Unit1::TForm1::StaticClass(),
                 &frmDorlenU::TfrmDorlen::StaticClass(), &WUpdate::TWebUpdate::StaticClass(),
                 &WUpdateWiz::TWebUpdateWizard::StaticClass(),
                 &WUpdateLanguagesU::TWebUpdateWizardLanguage::StaticClass(),
                 &WUpdateLanguagesU::TWebUpdateWizardEnglish::StaticClass(),
                 &WUpdateLanguagesU::TWebUpdateWizardPolish::StaticClass(),
             }) {
            ClassLib::RegisterClassType(*cls);
            classes.push_back(cls);
        }
        return classes;
    }();
    return registered;
}

}  // namespace AppClasses
