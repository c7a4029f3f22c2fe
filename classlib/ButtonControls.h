#pragma once
// Push buttons and radio buttons over the system's BUTTON class.
#include <windows.h>

#include "classlib/Control.h"

namespace ClassLib {

// A push button. With a ModalResult a click also sets its form's ModalResult, which ends
// a modal showing; Default answers the Enter key and Cancel the Escape key of the form.
class TButton : public TWinControl {
    CLASSLIB_CLASS(TButton, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

// One choice of a group: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TWinControl {
    CLASSLIB_CLASS(TRadioButton, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    // Checking raises OnClick; the siblings are unchecked quietly.
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void Dispatch(TMessage& message) override;

private:
    bool FChecked = false;
};

}  // namespace ClassLib
