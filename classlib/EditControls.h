#pragma once
// One-line text entry over the system's EDIT class, and the rich-text control over the
// system's rich edit library, which shows RTF as well as plain text.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Control.h"
#include "classlib/StandardControls.h"

namespace ClassLib {

class TEdit : public TWinControl {
    CLASSLIB_CLASS(TEdit, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TEdit(TComponent* owner);

    // 0 shows the text; any other character hides it behind that one.
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t value);
    int PasswordCharCode() const { return int(FPasswordChar); }
    void SetPasswordCharCode(int value) { SetPasswordChar(wchar_t(value)); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    wchar_t FPasswordChar = 0;
    bool FReadOnly = false;
    int FMaxLength = 0;
};

// A memo over the rich edit library: the lines work as in a memo, and RTF can be shown.
class TRichEdit : public TMemo {
    CLASSLIB_CLASS(TRichEdit, TMemo)
public:
    static const TPropertyList& Published();
    explicit TRichEdit(TComponent* owner) : TMemo(owner) {}

    // Shows RTF text (the bytes of an .rtf file), also after the window is made again;
    // setting the lines replaces it.
    void SetRTF(const std::string& rtf);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void Change() override;

private:
    void StreamIn();

    std::string FRTF;   // non-empty while RTF is what the control shows
    bool FStreaming = false;
};

}  // namespace ClassLib
