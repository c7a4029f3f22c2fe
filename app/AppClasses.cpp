#include "app/AppClasses.h"

#include "app/StandInControls.h"
#include "app/Unit1.h"
#include "app/VxFormSR.h"
#include "app/frmDorlenU.h"
#include "classlib/ComponentClasses.h"
#include "editor/AdvMemoClasses.h"

namespace AppClasses {

const std::vector<const ClassLib::TClass*>& RegisterAppClasses() {
    static const std::vector<const ClassLib::TClass*> registered = [] {
        std::vector<const ClassLib::TClass*> classes = ClassLib::RegisterComponentClasses();
        const std::vector<const ClassLib::TClass*> editor = AdvMemo::RegisterEditorClasses();
        classes.insert(classes.end(), editor.begin(), editor.end());
        for (const ClassLib::TClass* cls : {
                 &StandInControls::TStandInButton::StaticClass(), &StandInControls::TStandInPageControl::StaticClass(),
                 &StandInControls::TStandInTabSheet::StaticClass(), &StandInControls::TStandInStatusBar::StaticClass(),
                 &VxFormSR::TVxFormSR::StaticClass(), &Unit1::TForm1::StaticClass(),
                 &frmDorlenU::TfrmDorlen::StaticClass(),
             }) {
            ClassLib::RegisterClassType(*cls);
            classes.push_back(cls);
        }
        return classes;
    }();
    return registered;
}

}  // namespace AppClasses
