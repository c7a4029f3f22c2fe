#include "updater/WuLogin.h"

#include "classlib/Application.h"
#include "classlib/ButtonControls.h"
#include "classlib/EditControls.h"
#include "classlib/Properties.h"
#include "classlib/StandardControls.h"

namespace WuLogin {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TOVTLoginForm, TForm)

const wchar_t* const TOVTLoginForm::Description = LR"(
object OVTLoginForm: TOVTLoginForm
  BorderStyle = bsDialog
  ClientWidth = 320
  ClientHeight = 189
  Position = poScreenCenter
  Font.Name = "MS Sans Serif"
  Font.Height = -11
  object Banner: TPanel
    Left = 0
    Top = 0
    Width = 320
    Height = 60
    BevelOuter = bvNone
    Color = 8404992
    Caption = "Log in to the update server"
    Font.Name = "MS Sans Serif"
    Font.Height = -13
    Font.Color = clWhite
  end
  object UserNameLabel: TLabel
    Left = 16
    Top = 80
    Caption = "&User name: "
  end
  object PasswordLabel: TLabel
    Left = 16
    Top = 112
    Caption = "&Password:"
  end
  object UserNameEdit: TEdit
    Left = 104
    Top = 80
    Width = 193
    Height = 21
    TabOrder = 0
  end
  object PasswordEdit: TEdit
    Left = 104
    Top = 112
    Width = 193
    Height = 21
    PasswordChar = 42
    TabOrder = 1
  end
  object OkButton: TButton
    Left = 144
    Top = 152
    Width = 75
    Height = 25
    Caption = "OK"
    Default = true
    ModalResult = 1
    TabOrder = 2
  end
  object CancelButton: TButton
    Left = 224
    Top = 152
    Width = 75
    Height = 25
    Caption = "Cancel"
    Cancel = true
    ModalResult = 2
    TabOrder = 3
  end
end
)";

const TPropertyList& TOVTLoginForm::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published());
    return list;
}

TOVTLoginForm::TOVTLoginForm(TComponent* owner) : TForm(owner) {
    BindField(UserNameEdit, L"UserNameEdit");
    BindField(PasswordEdit, L"PasswordEdit");
    InitFromDescriptionText(Description);
}

bool ShowLoginDialog(const std::wstring& caption, std::wstring& userName, std::wstring& password) {
    std::unique_ptr<TOVTLoginForm> form = std::make_unique<TOVTLoginForm>(nullptr);
    form->SetText(caption);
    if (form->ShowModal() != mrOk) return false;
    userName = form->UserNameEdit->GetText();
    password = form->PasswordEdit->GetText();
    return true;
}

}  // namespace WuLogin
