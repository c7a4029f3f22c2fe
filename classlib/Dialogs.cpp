#include "classlib/Dialogs.h"

#include <commdlg.h>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TOpenDialog, TComponent)
CLASSLIB_IMPLEMENT(TSaveDialog, TOpenDialog)

namespace {

TMessageDlgHook& MessageHook() {
    static TMessageDlgHook hook;
    return hook;
}

TFileDialogHook& FileHook() {
    static TFileDialogHook hook;
    return hook;
}

// "*.c" or ".c" would make the system append ".*.c": keep only the extension.
std::wstring BareExtension(const std::wstring& ext) {
    std::size_t start = 0;
    while (start < ext.size() && (ext[start] == L'*' || ext[start] == L'.')) ++start;
    return ext.substr(start);
}

}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute(HWND parent) {
    if (FileHook()) {
        const bool confirmed = FileHook()(*this);
        if (confirmed && FFiles.empty()) FFiles = {FFileName};
        return confirmed;
    }
    return RunSystemDialog(parent, IsSaveDialog());
}

bool TOpenDialog::RunSystemDialog(HWND parent, bool save) {
    std::wstring filter = FFilter;
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    const std::wstring defaultExt = BareExtension(FDefaultExt);

    std::vector<wchar_t> buffer(FOptions.Contains(ofAllowMultiSelect) ? 65536 : MAX_PATH * 4, L'\0');
    FFileName.copy(buffer.data(), std::min(FFileName.size(), buffer.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = parent;
    ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(FFilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
    ofn.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;  // the process's current folder stays put either way
    if (FOptions.Contains(ofReadOnly)) ofn.Flags |= OFN_READONLY;
    if (FOptions.Contains(ofOverwritePrompt)) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (FOptions.Contains(ofHideReadOnly)) ofn.Flags |= OFN_HIDEREADONLY;
    if (FOptions.Contains(ofAllowMultiSelect)) ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (FOptions.Contains(ofPathMustExist)) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (FOptions.Contains(ofFileMustExist)) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (FOptions.Contains(ofCreatePrompt)) ofn.Flags |= OFN_CREATEPROMPT;
    if (FOptions.Contains(ofNoReadOnlyReturn)) ofn.Flags |= OFN_NOREADONLYRETURN;
    if (FOptions.Contains(ofEnableSizing)) ofn.Flags |= OFN_ENABLESIZING;

    const BOOL confirmed = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (!confirmed) return false;
    FFilterIndex = int(ofn.nFilterIndex);
    FFiles.clear();
    // Several names come as the folder, then each name, each ended by a zero.
    const wchar_t* p = buffer.data();
    const std::wstring first = p;
    p += first.size() + 1;
    if (FOptions.Contains(ofAllowMultiSelect) && *p) {
        std::wstring folder = first;
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        while (*p) {
            const std::wstring name = p;
            FFiles.push_back(folder + name);
            p += name.size() + 1;
        }
    } else {
        FFiles.push_back(first);
    }
    FFileName = FFiles.front();
    return true;
}

int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    if (MessageHook()) return MessageHook()({message, type, buttons, helpContext});
    // The system box knows fixed button groups: pick the one that covers the request.
    UINT flags = MB_OK;
    if (buttons.Contains(mbYes) && buttons.Contains(mbNo))
        flags = buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (buttons.Contains(mbAbort) || buttons.Contains(mbIgnore))
        flags = MB_ABORTRETRYIGNORE;
    else if (buttons.Contains(mbRetry))
        flags = MB_RETRYCANCEL;
    else if (buttons.Contains(mbCancel))
        flags = MB_OKCANCEL;
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    static const wchar_t* captions[] = {L"Warning", L"Error", L"Information", L"Confirmation", L""};
    std::wstring caption = captions[type];
    if (caption.empty()) {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        caption = path;
        caption = caption.substr(caption.find_last_of(L'\\') + 1);
        const std::size_t dot = caption.find_last_of(L'.');
        if (dot != std::wstring::npos) caption.erase(dot);
    }
    return ::MessageBoxW(::GetActiveWindow(), message.c_str(), caption.c_str(), flags | icons[type] | MB_TASKMODAL);
}

void ShowMessage(const std::wstring& message) { MessageDlg(message, mtCustom, {mbOK}, 0); }

TMessageDlgHook SetMessageDlgHook(TMessageDlgHook hook) {
    TMessageDlgHook previous = std::move(MessageHook());
    MessageHook() = std::move(hook);
    return previous;
}

TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
    TFileDialogHook previous = std::move(FileHook());
    FileHook() = std::move(hook);
    return previous;
}

}  // namespace ClassLib
