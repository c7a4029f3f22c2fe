#include "classlib/Application.h"

#include <objbase.h>

#include <algorithm>
#include <memory>

#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/HintWindow.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TApplication, TComponent)

TApplication* Application = new TApplication(nullptr);

namespace {

const wchar_t* const UtilityClassName = L"TUtilityWindow";
const UINT_PTR HintShowTimer = 1;
const UINT_PTR HintHideTimer = 2;

struct TUtilityWindow {
    std::function<void(TMessage&)> Handler;
};

LRESULT CALLBACK UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* utility = reinterpret_cast<TUtilityWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!utility || !utility->Handler) return ::DefWindowProcW(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    // Copied first: the handler may deallocate this very window.
    const std::function<void(TMessage&)> handler = utility->Handler;
    bool handled = true;
    CallGuarded(nullptr, [&] {
        handler(message);
        handled = message.Msg != 0;
    });
    if (!handled) return ::DefWindowProcW(window, msg, wParam, lParam);
    return message.Result;
}

std::wstring Widen(const char* text) {
    if (!text || !*text) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(size_t(std::max(length, 1)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
    result.resize(result.size() - 1);
    return result;
}

}  // namespace

HWND AllocateHWnd(std::function<void(TMessage&)> handler) {
    static const bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = UtilityWindowProc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = UtilityClassName;
        return ::RegisterClassW(&cls) != 0;
    }();
    (void)registered;
    HWND window = ::CreateWindowExW(0, UtilityClassName, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) RaiseLastOSError(L"Cannot create a utility window");
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TUtilityWindow{std::move(handler)}));
    return window;
}

void DeallocateHWnd(HWND window) {
    if (!window) return;
    auto* utility = reinterpret_cast<TUtilityWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
    delete utility;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
    DeallocateHWnd(FHintTimerWindow);
}

void TApplication::Initialize() {
    ::OleInitialize(nullptr);
}

void TApplication::FormCreated(TCustomForm* form) {
    if (!FMainForm) FMainForm = form;
}

void TApplication::Run() {
    FTerminated = false;
    if (FMainForm) {
        FMainForm->Show();
        while (!FTerminated) HandleMessage();
    }
    DestroyForms();
    FTerminated = false;
}

void TApplication::DestroyForms() {
    // OnDestroy of every window first, while all of them still exist.
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto* form = dynamic_cast<TCustomForm*>(Components(i))) form->BeforeDestruction();
    DestroyComponents();
    FMainForm = nullptr;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            return;
        }
        ProcessMessage(msg);
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) Idle();
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        FTerminated = true;
        return;
    }
    ProcessMessage(msg);
}

bool TApplication::ProcessMessage(MSG& msg) {
    // Our own frames only: an exception here can unwind normally, so one catch suffices.
    try {
        bool handled = false;
        if (OnMessage) OnMessage(msg, handled);
        if (handled) return true;
        if (IsDialogKeyMessage(msg)) return true;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

bool TApplication::IsDialogKeyMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR && msg.message != WM_SYSKEYDOWN) return false;
    TWinControl* control = nullptr;
    for (HWND window = msg.hwnd; window && !control; window = ::GetParent(window))
        control = TWinControl::FindControl(window);
    if (!control) return false;
    // A system key (Alt, F10, Alt with another key) is offered to the form's controls first;
    // one that takes it (the ribbon's key tips) keeps it from the system's menu handling.
    if (msg.message == WM_SYSKEYDOWN) {
        TCustomForm* form = control->ParentForm();
        return form && form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    }
    if (msg.message == WM_CHAR) return false;
    const WPARAM key = msg.wParam;
    switch (key) {
        case VK_TAB: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: case VK_PRIOR: case VK_NEXT:
            break;
        default:
            return false;
    }
    if (control->Perform(CM_WANTSPECIALKEY, key, msg.lParam) != 0) return false;
    const LRESULT code = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTALLKEYS) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS))
        return false;
    TCustomForm* form = control->ParentForm();
    if (!form) return false;
    return form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle) {
        CallGuarded(this, [&] { OnIdle(this, done); });
    }
}

void TApplication::Terminate() {
    // The loop ends when the quit message arrives, after the messages already waiting.
    ::PostQuitMessage(0);
}

const std::wstring& TApplication::Title() const {
    if (FTitle.empty()) {
        // The executable's name without folder and extension, as the system shows it.
        std::wstring name = ExeName();
        const size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos) name.erase(0, slash + 1);
        const size_t dot = name.find_last_of(L'.');
        if (dot != std::wstring::npos) name.erase(dot);
        const_cast<TApplication*>(this)->FTitle = name;
    }
    return FTitle;
}

std::wstring TApplication::ExeName() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HWND TApplication::Handle() const {
    return FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
}

void TApplication::HandleException(TObject* sender) {
    auto report = [&](const Exception& error) {
        if (OnException) OnException(sender, error);
        else ShowException(error);
    };
    try {
        throw;
    } catch (const EAbort&) {
        // Quiet by design.
    } catch (const Exception& error) {
        report(error);
    } catch (const std::exception& error) {
        report(Exception(Widen(error.what())));
    } catch (...) {
        report(Exception(L"Unknown exception"));
    }
}

void TApplication::ShowException(const Exception& error) {
    std::wstring text = error.Message();
    if (!text.empty() && text.back() > L'.') text += L'.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    HWND owner = ::GetActiveWindow();
    if (!owner) owner = Handle();
    return Seams().ShowMessageBox(owner, text, caption, flags);
}

void TApplication::SetShowHint(bool value) {
    FShowHint = value;
    if (!value) CancelHint();
}

void TApplication::TrackMouseControl(TControl* control) {
    if (control == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control && FMouseControl == control) control->Perform(CM_MOUSEENTER);
}

void TApplication::HintMouseMessage(TControl* control, const TMessage& message) {
    (void)message;
    if (!FShowHint) return;
    if (control == FHintControl) return;
    CancelHint();
    if (!control || !control->ShowHint() || control->Hint().empty()) return;
    FHintControl = control;
    if (!FHintTimerWindow) {
        FHintTimerWindow = AllocateHWnd([this](TMessage& timerMessage) {
            if (timerMessage.Msg != WM_TIMER) {
                timerMessage.Msg = 0;  // not ours: default handling
                return;
            }
            if (timerMessage.WParam == HintShowTimer) HintTimerExpired();
            else CancelHint();
        });
    }
    ::SetTimer(FHintTimerWindow, HintShowTimer, UINT(std::max(FHintPause, 1)), nullptr);
}

void TApplication::HintTimerExpired() {
    ::KillTimer(FHintTimerWindow, HintShowTimer);
    POINT point;
    ::GetCursorPos(&point);
    ActivateHint({point.x, point.y});
}

void TApplication::ActivateHint(const TPoint& cursorPos) {
    TControl* control = FHintControl;
    if (!control) return;
    THintInfo info;
    info.HintControl = control;
    info.CursorPos = control->ScreenToClient(cursorPos);
    info.CursorRect = control->ClientRect();
    info.HintStr = control->Hint();
    info.HintMaxWidth = Screen->Width();
    info.HintColor = FHintColor;
    info.HintPos = {cursorPos.X, cursorPos.Y + 16};
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    FHint = info.HintStr;
    FireEvent(OnHint, this);
    if (!canShow || info.HintStr.empty()) return;
    if (!FHintWindow) FHintWindow = new THintWindow(this);
    FHintWindow->SetColor(info.HintColor);
    TRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
    rect.Offset(info.HintPos.X, info.HintPos.Y);
    FHintWindow->ActivateHint(rect, info.HintStr);
    FHintShowing = true;
    const int hide = info.HideTimeout > 0 ? info.HideTimeout : FHintHidePause;
    ::SetTimer(FHintTimerWindow, HintHideTimer, UINT(std::max(hide, 1)), nullptr);
}

void TApplication::CancelHint() {
    if (FHintTimerWindow) {
        ::KillTimer(FHintTimerWindow, HintShowTimer);
        ::KillTimer(FHintTimerWindow, HintHideTimer);
    }
    if (FHintWindow && FHintShowing) FHintWindow->ReleaseHandle();
    FHintShowing = false;
    FHintControl = nullptr;
}

void TApplication::ControlDestroying(TControl* control) {
    if (FHintControl == control) CancelHint();
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    if (control == FHintWindow) FHintWindow = nullptr;
}

void TApplication::FormDestroying(TCustomForm* form) {
    if (form == FMainForm) FMainForm = nullptr;
}

}  // namespace ClassLib
