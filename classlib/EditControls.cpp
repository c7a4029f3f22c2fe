#include "classlib/EditControls.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TEdit, TWinControl)
CLASSLIB_IMPLEMENT(TRichEdit, TMemo)

// ---- TEdit ----

const TPropertyList& TEdit::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"PasswordChar", &TEdit::PasswordCharCode, &TEdit::SetPasswordCharCode, 0)
        .Add(L"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false)
        .Add(L"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0)
        .Add(L"TabStop", &TEdit::TabStop, &TEdit::SetTabStop, true)
        .Add(L"ParentColor", &TEdit::ParentColor, &TEdit::SetParentColor, false)
        .Event(L"OnChange", &TEdit::OnChange);
    return list;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FColor = clWindow;
    SetParentColor(false);
    TControl::SetBounds(0, 0, 121, 21);
    SetTabStop(true);
}

void TEdit::SetPasswordChar(wchar_t value) {
    if (value == FPasswordChar) return;
    FPasswordChar = value;
    if (FHandle) {
        ::SendMessageW(FHandle, EM_SETPASSWORDCHAR, WPARAM(value), 0);
        ::InvalidateRect(FHandle, nullptr, TRUE);
    }
}

void TEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (FHandle) ::SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TEdit::SetMaxLength(int value) {
    FMaxLength = std::max(value, 0);
    if (FHandle) ::SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_AUTOHSCROLL | WS_BORDER;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (FPasswordChar) params.Style |= ES_PASSWORD;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == EN_CHANGE) FireEvent(OnChange, this);
        return;
    }
    TWinControl::Dispatch(message);
    if (message.Msg == WM_CREATE && FHandle) {
        if (FPasswordChar) ::SendMessageW(FHandle, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
        if (FMaxLength) ::SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    }
}

// ---- TRichEdit ----

namespace {

// The newest rich edit class the system has; the library stays loaded for the process.
const wchar_t* RichEditClassName() {
    static const wchar_t* name = [] {
        if (::LoadLibraryW(L"msftedit.dll")) return L"RICHEDIT50W";
        if (::LoadLibraryW(L"riched20.dll")) return L"RichEdit20W";
        return L"EDIT";
    }();
    return name;
}

struct TStreamSource {
    const std::string* Bytes;
    size_t Offset;
};

DWORD CALLBACK ReadStreamSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<TStreamSource*>(cookie);
    const size_t left = source->Bytes->size() - source->Offset;
    const size_t count = std::min(left, size_t(std::max<LONG>(wanted, 0)));
    std::memcpy(buffer, source->Bytes->data() + source->Offset, count);
    source->Offset += count;
    *given = LONG(count);
    return 0;
}

}  // namespace

const TPropertyList& TRichEdit::Published() {
    static const TPropertyList list = TPropertyList::Extend(TMemo::Published());
    return list;
}

void TRichEdit::SetRTF(const std::string& rtf) {
    FRTF = rtf;
    if (FHandle) StreamIn();
}

void TRichEdit::StreamIn() {
    TStreamSource source{&FRTF, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadStreamSource;
    FStreaming = true;
    ::SendMessageW(FHandle, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    FStreaming = false;
}

void TRichEdit::Change() {
    if (!FStreaming) FRTF.clear();
    TMemo::Change();
}

void TRichEdit::CreateParams(TCreateParams& params) {
    TMemo::CreateParams(params);
    CreateSubClass(params, RichEditClassName());
}

void TRichEdit::CreateWindowHandleDone() {
    TMemo::CreateWindowHandleDone();
    if (!FRTF.empty()) StreamIn();
}

}  // namespace ClassLib
