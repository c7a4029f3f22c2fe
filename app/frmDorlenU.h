#pragma once
// The splash window: a borderless picture with the version text at its lower right.
// It is created hidden and never shown; its timer closes it.
#include <string>

#include "classlib/Form.h"

namespace ClassLib {
class TImage;
class TLabel;
class TTimer;
}  // namespace ClassLib
namespace VxFormSR {
class TVxFormSR;
}

namespace frmDorlenU {

class TfrmDorlen : public ClassLib::TForm {
    CLASSLIB_CLASS(TfrmDorlen, ClassLib::TForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TfrmDorlen(ClassLib::TComponent* owner);
    TfrmDorlen(ClassLib::TComponent* owner, const std::wstring& description);

    ClassLib::TImage* Image1 = nullptr;
    ClassLib::TLabel* Label1 = nullptr;
    ClassLib::TTimer* Timer1 = nullptr;
    VxFormSR::TVxFormSR* VxFormSR1 = nullptr;

    void FormCreate(ClassLib::TObject* sender);
    void Timer1Timer(ClassLib::TObject* sender);

private:
    void BindFields();
};

}  // namespace frmDorlenU
