#pragma once
// Top-level windows: caption, border, position, window state, the show/close/destroy
// life cycle with its events, modal showing, and creation from a window description.
//
// A window of the program, described by the RCDATA resource "TMainForm":
//
//   class TMainForm : public ClassLib::TForm {
//       CLASSLIB_CLASS(TMainForm, ClassLib::TForm)
//   public:
//       static const ClassLib::TPropertyList& Published();   // .Method(L"OkClick", &TMainForm::OkClick)
//       explicit TMainForm(ClassLib::TComponent* owner) : TForm(owner) {
//           BindField(SortBox, L"SortBox");
//           InitFromDescription();   // components, properties, handlers, Loaded, then OnCreate
//       }
//       void OkClick(ClassLib::TObject* sender);
//       ClassLib::TCheckBox* SortBox = nullptr;
//   };
//
// OnDestroy runs from BeforeDestruction, which the application (for its windows) and
// Release call while the whole window still exists; code that deletes a window of a
// derived class itself calls BeforeDestruction first.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Control.h"

namespace ClassLib {

class TMainMenu;
class TMenuItem;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
    poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO,
                       mrClose = 8, mrAll = 12, mrNoToAll = 13, mrYesToAll = 14;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TCustomControl {
    CLASSLIB_CLASS(TCustomForm, TCustomControl)
public:
    static const TPropertyList& Published();
    // A window without a description; descendants with one call InitFromDescription
    // at the end of their constructor.
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    bool Active() const { return FActive; }
    bool Modal() const { return FModal; }
    // A scaled window made from a description on a screen of other pixels per inch than
    // PixelsPerInch, the resolution its sizes are written for, is scaled to the screen's
    // once the description is read; PixelsPerInch is then the screen's.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value) { FScaled = value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);
    // The pixels per inch of the monitor the window is on.
    int MonitorPixelsPerInch() const;

    // The menu bar; its commands arrive as the window's WM_COMMAND.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    // A frame (fsMDIForm) holds its children (fsMDIChild) in its client window; the
    // children are listed front to back. WindowMenu is the menu item under which the
    // frame lists them.
    HWND ClientHandle() const { return FClientHandle; }
    int MDIChildCount() const { return int(MDIChildList().size()); }
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* value);

    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    void SetVisible(bool value) override;
    void Loaded() override;

    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free, minimize or
    // nothing. Closing the main window ends the application.
    void Close();
    virtual bool CloseQuery();
    // Frees the window once the handler that called this has returned.
    void Release();
    // Shows the window and disables the others until ModalResult is set.
    virtual TModalResult ShowModal();
    void FocusControl(TWinControl* control);
    // Posts a message to this window's queue; its handler runs from the message loop.
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Ties a field of a descendant to the component of that name in the description,
    // before OnCreate runs: BindField(Panel1, L"Panel1").
    template <class T>
    void BindField(T*& field, const std::wstring& name) {
        field = nullptr;
        FFields.push_back({name, [&field](TComponent* component) {
                               field = dynamic_cast<T*>(component);
                               return field != nullptr;
                           }});
    }

    // Reads the window's description (the RCDATA resource named after its class) into it,
    // then raises OnCreate.
    void InitFromDescription();
    // Reads a description given as text, then raises OnCreate.
    void InitFromDescriptionText(const std::wstring& text);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

    // Library plumbing: the windowed control that took the focus, and a control that
    // left the window (the active control must not point at it).
    void FocusChanged(TWinControl* control);
    void ControlRemoved(TControl* control);
    // OnDestroy, once, while the window and its components still exist; an exception of
    // the handler goes to the application's handler.
    void BeforeDestruction();

    void Dispatch(TMessage& message) override;
    // Frames and children pass what they do not handle to the system's MDI procedures.
    void DefaultHandler(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void DestroyWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    // A frame's client window takes the room its aligned controls leave.
    void AlignControls(TControl* control, TRect& rect) override;
    TRect ScaledBounds(int m, int d) const override;
    void Paint() override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void DoDestroy();
    bool WantsKey(WORD key) override { (void)key; return false; }

private:
    struct TFieldBinding {
        std::wstring Name;
        std::function<bool(TComponent*)> Assign;
        bool Bound = false;
    };
    void ReadDescription(const std::function<void(const std::function<void(TComponent*)>&)>& read);
    void Created();
    void WMClose(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMActivate(TMessage& message);
    void CMRelease(TMessage& message);
    void CMDialogKeyForm(TMessage& message);
    void WMMenuMessage(TMessage& message);
    void ApplyPosition();
    TRect FrameInsets() const;
    // The frame an MDI child lives in (its owner, the main window or the first frame).
    TCustomForm* FindMDIFrame() const;
    std::vector<TCustomForm*> MDIChildList() const;
    // Shows the menu bar (and the window list) in the window.
    void ShowMenu();
    // Asks the frame's client to list its children again.
    void RefreshMDIMenu() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;  // invariant: > 0
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    bool FActive = false;
    bool FModal = false;
    bool FDestroyFired = false;
    bool FPositioned = false;
    bool FReleasing = false;
    TMainMenu* FMenu = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    HWND FClientHandle = nullptr;  // a frame's MDI client, destroyed with the frame's window
    std::vector<TFieldBinding> FFields;
};

// The form class a program derives its windows from; it publishes the form's settings.
class TForm : public TCustomForm {
    CLASSLIB_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// A reusable group of controls placed on a form (or on another frame) like a panel.
// Components made with the frame as their owner belong to it, so whoever walks a form's
// components (a styler, say) reaches them through the frame.
class TCustomFrame : public TWinControl {
    CLASSLIB_CLASS(TCustomFrame, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TCustomFrame(TComponent* owner);
};

class TFrame : public TCustomFrame {
    CLASSLIB_CLASS(TFrame, TCustomFrame)
public:
    explicit TFrame(TComponent* owner) : TCustomFrame(owner) {}
};

}  // namespace ClassLib
