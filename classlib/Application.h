#pragma once
// The application object: start-up, the main window, the message loop, the default
// handling of exceptions that escape a handler, and the hints shown over controls.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/Events.h"
#include "classlib/Exceptions.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"

namespace ClassLib {

class TControl;
class TCustomForm;
class THintWindow;
struct TMessage;

// What a control may change before its hint shows (CM_HINTSHOW carries a pointer to it).
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;             // in the control's client coordinates
    TRect CursorRect;             // the hint goes away when the mouse leaves it
    std::wstring HintStr;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    int HideTimeout = 0;          // milliseconds; 0 takes the application's
    TPoint HintPos;               // screen position of the hint window
};

using TExceptionEvent = std::function<void(TObject* sender, const Exception& error)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TShowHintEvent = std::function<void(std::wstring& hintStr, bool& canShow, THintInfo& hintInfo)>;

// A hidden window whose messages go to `handler` (exceptions go to the application's
// handler). Timers and other helpers that need a window of their own use it.
HWND AllocateHWnd(std::function<void(TMessage&)> handler);
void DeallocateHWnd(HWND window);

class TApplication : public TComponent {
    CLASSLIB_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Sets up OLE on the calling (main) thread.
    void Initialize();
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool value) { FMainFormOnTaskBar = value; }
    // Creates a window owned by the application; the first becomes the main window.
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        FormCreated(reference);
    }
    TCustomForm* MainForm() const { return FMainForm; }
    // Shows the main window and handles messages until it closes, then frees the windows.
    void Run();
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Waits for one message and handles it (idle work runs first when none waits).
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    const std::wstring& Title() const;
    void SetTitle(const std::wstring& value) { FTitle = value; }
    // The full path of the running executable.
    std::wstring ExeName() const;
    // The main window's handle, or null.
    HWND Handle() const;

    // Call from inside a catch block: the current exception goes to OnException or,
    // without one, to ShowException. EAbort is quiet.
    void HandleException(TObject* sender);
    // Shows the message in an error box through the message-box seam.
    void ShowException(const Exception& error);
    // A message box owned by the active window, through the message-box seam.
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags);

    TExceptionEvent OnException;
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnHint;

    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    const std::wstring& Hint() const { return FHint; }
    // Shows the hint of the control under the mouse now.
    void ActivateHint(const TPoint& cursorPos);
    void CancelHint();
    TControl* HintControl() const { return FHintControl; }

    // Library plumbing: the control holding the mouse capture, the control under the
    // mouse (for enter and leave notices), and a control that is going away.
    TControl* CaptureControl() const { return FCaptureControl; }
    void SetCaptureControl(TControl* control) { FCaptureControl = control; }
    void TrackMouseControl(TControl* control);
    void HintMouseMessage(TControl* control, const TMessage& message);
    void ControlDestroying(TControl* control);
    void FormDestroying(TCustomForm* form);
    int ModalLevel() const { return FModalLevel; }
    void ModalStarted() { ++FModalLevel; }
    void ModalFinished() { --FModalLevel; }

private:
    void FormCreated(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    bool IsDialogKeyMessage(MSG& msg);
    void Idle();
    void HintTimerExpired();
    void DestroyForms();

    bool FMainFormOnTaskBar = false;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::wstring FTitle;
    int FModalLevel = 0;

    TControl* FCaptureControl = nullptr;
    TControl* FMouseControl = nullptr;
    TControl* FHintControl = nullptr;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    std::wstring FHint;
    THintWindow* FHintWindow = nullptr;
    HWND FHintTimerWindow = nullptr;
    bool FHintShowing = false;
};

// The process's application object.
extern TApplication* Application;

}  // namespace ClassLib
