#pragma once
// The user-name and password dialog of the updater's authorization.
#include <string>

#include "classlib/Form.h"

namespace ClassLib {
class TEdit;
}

namespace WuLogin {

class TOVTLoginForm : public ClassLib::TForm {
    CLASSLIB_CLASS(TOVTLoginForm, ClassLib::TForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TOVTLoginForm(ClassLib::TComponent* owner);

    ClassLib::TEdit* UserNameEdit = nullptr;
    ClassLib::TEdit* PasswordEdit = nullptr;
    // The window's description: a static library carries no resources, so it lives here.
    static const wchar_t* const Description;
};

// Shows the dialog modally with `caption`; OK copies the two entries and returns true.
bool ShowLoginDialog(const std::wstring& caption, std::wstring& userName, std::wstring& password);

}  // namespace WuLogin
