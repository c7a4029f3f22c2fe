#include "classlib/ButtonControls.h"

#include "classlib/Form.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TButton, TWinControl)
CLASSLIB_IMPLEMENT(TRadioButton, TWinControl)

// ---- TButton ----

const TPropertyList& TButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Default", &TButton::Default, &TButton::SetDefault, false)
        .Add(L"Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .Add(L"ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0)
        .Add(L"TabStop", &TButton::TabStop, &TButton::SetTabStop, true);
    return list;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csSetCaption | csDoubleClicks;
    TControl::SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    if (value == FDefault) return;
    FDefault = value;
    if (FHandle) ::SendMessageW(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (FModalResult != 0)
        if (TCustomForm* form = ParentForm()) form->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) Click();
        return;
    }
    if (message.Msg == CM_DIALOGKEY) {
        // Enter presses the button that has the focus; the default button only while the
        // focus is on a control that is no button.
        const TWinControl* focused = FindControl(::GetFocus());
        const bool active = dynamic_cast<const TButton*>(focused) ? focused == this : FDefault;
        const bool answers = (message.WParam == VK_RETURN && active) || (message.WParam == VK_ESCAPE && FCancel);
        if (answers && Visible() && Enabled()) {
            Click();
            message.Result = 1;
        }
        return;
    }
    TWinControl::Dispatch(message);
}

// ---- TRadioButton ----

const TPropertyList& TRadioButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false)
        .Add(L"TabStop", &TRadioButton::TabStop, &TRadioButton::SetTabStop, true);
    return list;
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csSetCaption | csDoubleClicks;
    TControl::SetBounds(0, 0, 113, 17);
    SetTabStop(true);
}

void TRadioButton::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (FHandle) ::SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!HasState(csLoading)) Click();
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWindowHandleDone() {
    ::SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        const UINT code = HIWORD(message.WParam);
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) SetChecked(true);
        return;
    }
    TWinControl::Dispatch(message);
}

}  // namespace ClassLib
