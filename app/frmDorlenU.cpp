#include "app/frmDorlenU.h"

#include "app/AppClasses.h"
#include "app/VxFormSR.h"
#include "app/VxTools.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "classlib/Timer.h"

namespace frmDorlenU {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TfrmDorlen, TForm)

const TPropertyList& TfrmDorlen::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"FormCreate", &TfrmDorlen::FormCreate)
        .Method(L"Timer1Timer", &TfrmDorlen::Timer1Timer);
    return list;
}

TfrmDorlen::TfrmDorlen(TComponent* owner) : TForm(owner) {
    AppClasses::RegisterAppClasses();
    BindFields();
    InitFromDescription();
}

TfrmDorlen::TfrmDorlen(TComponent* owner, const std::wstring& description) : TForm(owner) {
    AppClasses::RegisterAppClasses();
    BindFields();
    InitFromDescriptionText(description);
}

void TfrmDorlen::BindFields() {
    BindField(Image1, L"Image1");
    BindField(Label1, L"Label1");
    BindField(Timer1, L"Timer1");
    BindField(VxFormSR1, L"VxFormSR1");
}

void TfrmDorlen::FormCreate(TObject*) {
    Image1->Picture()->LoadFromResourceName(nullptr, L"IMG_SPLASH");
    Label1->SetCaption(VxTools::GetVersionText());
}

void TfrmDorlen::Timer1Timer(TObject*) {
    Timer1->SetEnabled(false);
    Close();
}

}  // namespace frmDorlenU
