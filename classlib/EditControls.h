#pragma once
// One-line text entry over the system's EDIT class, and the rich-text control over the
// system's rich edit library, which shows RTF as well as plain text.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Control.h"

namespace ClassLib {

class TStringList;
class TStrings;

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

class TRichEdit : public TWinControl {
    CLASSLIB_CLASS(TRichEdit, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TRichEdit(TComponent* owner);
    ~TRichEdit() override;

    // Plain text lines; setting them replaces any RTF shown.
    TStrings* Lines() const;
    void SetLines(const TStrings* value);
    // Shows RTF text (the bytes of an .rtf file); kept until the window exists.
    void SetRTF(const std::string& rtf);
    // The plain text the control shows (of the RTF too, once it has a window).
    std::wstring GetText() const override;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void Dispatch(TMessage& message) override;

private:
    void LinesChanged();
    void StreamIn(const std::string& bytes, bool rtf);

    std::unique_ptr<TStringList> FLines;
    std::string FRTF;   // non-empty while RTF is what the control shows
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FSyncing = false;
};

}  // namespace ClassLib
