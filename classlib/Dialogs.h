#pragma once
// The common open and save dialogs and the message dialogs. Tests replace what the
// user would answer through the two hooks at the end.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/EnumSet.h"
#include "classlib/Events.h"
#include "classlib/Object.h"
#include "classlib/Properties.h"

namespace ClassLib {

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofAllowMultiSelect,
    ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofNoReadOnlyReturn, ofEnableSizing
};
using TOpenOptions = TEnumSet<TOpenOption>;

// The platform's find and replace options, in the order of their bits.
enum TFindOption {
    frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
    frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
using TFindOptions = TEnumSet<TFindOption>;

class TOpenDialog : public TComponent {
    CLASSLIB_CLASS(TOpenDialog, TComponent)
public:
    static const TPropertyList& Published();
    explicit TOpenDialog(TComponent* owner);

    const std::wstring& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::wstring& value) { FInitialDir = value; }
    const std::wstring& FileName() const { return FFileName; }
    void SetFileName(const std::wstring& value) { FFileName = value; }
    // Pairs of description and pattern joined by "|": "C source (*.c)|*.c|All files|*.*".
    const std::wstring& Filter() const { return FFilter; }
    void SetFilter(const std::wstring& value) { FFilter = value; }
    // 1-based.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    // Added to a name typed without one; "c", ".c" and "*.c" all mean the extension c.
    const std::wstring& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::wstring& value) { FDefaultExt = value; }
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& value) { FTitle = value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }
    // Every chosen name (more than one only with ofAllowMultiSelect).
    const std::vector<std::wstring>& Files() const { return FFiles; }
    void SetFiles(std::vector<std::wstring> files) { FFiles = std::move(files); }

    // Shows the dialog; true when the user chose a file (FileName and Files hold it).
    virtual bool Execute(HWND parent = nullptr);
    virtual bool IsSaveDialog() const { return false; }
protected:
    bool RunSystemDialog(HWND parent, bool save);
private:
    std::wstring FInitialDir;
    std::wstring FFileName;
    std::wstring FFilter;
    int FFilterIndex = 1;
    std::wstring FDefaultExt;
    std::wstring FTitle;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    std::vector<std::wstring> FFiles;
};

class TSaveDialog : public TOpenDialog {
    CLASSLIB_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool IsSaveDialog() const override { return true; }
};

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = TEnumSet<TMsgDlgBtn>;

// The answer is a modal result: IDOK (mrOk), IDCANCEL, IDYES, IDNO, ...
int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
void ShowMessage(const std::wstring& message);

// ---- test seams ----

struct TMessageDlgRequest {
    std::wstring Message;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    int HelpContext;
};
// Answers message dialogs instead of the user; returns the hook it replaced. Empty restores the real dialogs.
using TMessageDlgHook = std::function<int(const TMessageDlgRequest& request)>;
TMessageDlgHook SetMessageDlgHook(TMessageDlgHook hook);

// Plays the user of an open or save dialog: it may read the dialog's settings, set
// FileName (and Files) and returns whether the user confirmed.
using TFileDialogHook = std::function<bool(TOpenDialog& dialog)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);

}  // namespace ClassLib
