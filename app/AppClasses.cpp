#include "app/AppClasses.h"

#include "app/StandInControls.h"
#include "app/Unit1.h"
#include "app/VxFormSR.h"
#include "app/frmDorlenU.h"
#include "classlib/ComponentClasses.h"
#include "editor/AdvMemoClasses.h"

namespace AppClasses {

void RegisterAppClasses() {
    static const bool registered = [] {
        ClassLib::RegisterComponentClasses();
        AdvMemo::RegisterEditorClasses();
        for (const ClassLib::TClass* cls : {
                 &StandInControls::TStandInButton::StaticClass(), &StandInControls::TStandInPageControl::StaticClass(),
                 &StandInControls::TStandInTabSheet::StaticClass(), &StandInControls::TStandInStatusBar::StaticClass(),
                 &VxFormSR::TVxFormSR::StaticClass(), &Unit1::TForm1::StaticClass(),
                 &frmDorlenU::TfrmDorlen::StaticClass(),
             })
            ClassLib::RegisterClassType(*cls);
        return true;
    }();
    (void)registered;
}

}  // namespace AppClasses
