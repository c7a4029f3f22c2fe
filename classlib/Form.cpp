#include "classlib/Form.h"

#include <algorithm>
#include <vector>

#include "classlib/Application.h"
#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"
#include "classlib/Seams.h"
#include "classlib/WindowDescription.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TCustomForm, TCustomControl)
CLASSLIB_IMPLEMENT(TForm, TCustomForm)
CLASSLIB_IMPLEMENT(TCustomFrame, TWinControl)
CLASSLIB_IMPLEMENT(TFrame, TCustomFrame)

namespace {

DWORD StyleOf(TFormBorderStyle border) {
    switch (border) {
        case bsNone: return WS_POPUP;
        case bsSingle: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
        case bsDialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        case bsToolWindow: return WS_CAPTION | WS_SYSMENU;
        case bsSizeToolWin: return WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        case bsSizeable: default: return WS_OVERLAPPEDWINDOW;
    }
}

DWORD ExStyleOf(TFormBorderStyle border, TFormStyle formStyle) {
    DWORD ex = 0;
    if (border == bsDialog) ex |= WS_EX_DLGMODALFRAME;
    if (border == bsToolWindow || border == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
    if (formStyle == fsStayOnTop) ex |= WS_EX_TOPMOST;
    return ex;
}

}  // namespace

const TPropertyList& TCustomForm::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Add(L"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
        .Add(L"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
        .Enum(L"BorderStyle", L"TFormBorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
              {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"}, bsSizeable)
        .Enum(L"FormStyle", L"TFormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle,
              {L"fsNormal", L"fsMDIChild", L"fsMDIForm", L"fsStayOnTop"}, fsNormal)
        .Enum(L"Position", L"TPosition", &TCustomForm::Position, &TCustomForm::SetPosition,
              {L"poDesigned", L"poDefault", L"poDefaultPosOnly", L"poDefaultSizeOnly", L"poScreenCenter",
               L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter"}, poDesigned)
        .Enum(L"WindowState", L"TWindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState,
              {L"wsNormal", L"wsMinimized", L"wsMaximized"}, wsNormal)
        .Add(L"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
        .Add(L"Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true)
        .Add(L"PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch, 96)
        .Add(L"Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false)
        .Colour(L"Color", &TCustomForm::Color, &TCustomForm::SetColor, clBtnFace)
        .Add(L"ParentColor", &TCustomForm::ParentColor, &TCustomForm::SetParentColor, false)
        .Add(L"ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont, false)
        .Reference(L"ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
        .Reference(L"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
        .Reference(L"WindowMenu", &TCustomForm::WindowMenu, &TCustomForm::SetWindowMenu)
        .Event(L"OnCreate", &TCustomForm::OnCreate)
        .Event(L"OnShow", &TCustomForm::OnShow)
        .Event(L"OnHide", &TCustomForm::OnHide)
        .Event(L"OnCloseQuery", &TCustomForm::OnCloseQuery)
        .Event(L"OnClose", &TCustomForm::OnClose)
        .Event(L"OnDestroy", &TCustomForm::OnDestroy)
        .Event(L"OnActivate", &TCustomForm::OnActivate)
        .Event(L"OnDeactivate", &TCustomForm::OnDeactivate)
        .Event(L"OnPaint", &TCustomForm::OnPaint);
    return list;
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FColor = clBtnFace;
    SetParentColor(false);
    SetParentFont(false);
    TControl::SetVisible(false);
    TControl::SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    BeforeDestruction();
    if (FHandle) {
        if (FMenu) FMenu->SetWindowHandle(nullptr);
        // The system would destroy the menu bar with the window; the bar is the menu's.
        if (FFormStyle != fsMDIChild && ::GetMenu(FHandle)) ::SetMenu(FHandle, nullptr);
        if (FFormStyle == fsMDIChild) {
            // Its client destroys an MDI child, while this class's handlers still run.
            WindowProc = [this](TMessage& message) { WndProc(message); };
            DestroyHandle();
        }
    }
    Screen->RemoveForm(this);
    if (Application) Application->FormDestroying(this);
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyFired) return;
    FDestroyFired = true;
    // Runs from the destructor and from a released window's message: a handler that
    // throws would end the program, so its exception goes to the application's handler.
    CallGuarded(this, [this] { DoDestroy(); });
}

void TCustomForm::ReadDescription(const std::function<void(const std::function<void(TComponent*)>&)>& read) {
    for (TFieldBinding& field : FFields) field.Bound = false;
    read([this](TComponent* component) {
        for (TFieldBinding& field : FFields) {
            if (field.Bound || !SameText(field.Name, component->Name())) continue;
            if (!field.Assign(component))
                throw EDescriptionError(L"Field " + field.Name + L" of " + ClassName() + L" cannot hold a " +
                                        component->ClassName());
            field.Bound = true;
        }
    });
    for (const TFieldBinding& field : FFields)
        if (!field.Bound)
            throw EDescriptionError(L"The description of " + ClassName() + L" has no component " + field.Name);
}

void TCustomForm::InitFromDescription() {
    ReadDescription([this](const std::function<void(TComponent*)>& created) {
        ReadComponentResource(this, ClassName(), created);
    });
    Created();
}

void TCustomForm::InitFromDescriptionText(const std::wstring& text) {
    ReadDescription([this, &text](const std::function<void(TComponent*)>& created) {
        ReadComponentFromText(this, text, created);
    });
    Created();
}

void TCustomForm::Created() {
    DoCreate();
    // A window described as visible appears now, with its OnShow.
    if (Visible() && !Showing()) {
        TControl::SetVisible(false);
        Show();
    }
}

void TCustomForm::SetPixelsPerInch(int value) {
    if (value <= 0)
        throw EInvalidOperation(L"Invalid pixels per inch " + std::to_wstring(value) + L" for " + Name() +
                                L": the value must be positive");
    FPixelsPerInch = value;
}

int TCustomForm::MonitorPixelsPerInch() const {
    // The program declares itself aware of the system's resolution only (its manifest),
    // so every monitor reports the screen's.
    return Screen->PixelsPerInch();
}

void TCustomForm::Loaded() {
    // Before the layout and the anchor distances that the base class takes.
    const int monitorPixelsPerInch = MonitorPixelsPerInch();
    if (FScaled && monitorPixelsPerInch != FPixelsPerInch) {
        ChangeScale(monitorPixelsPerInch, FPixelsPerInch);
        FPixelsPerInch = monitorPixelsPerInch;
    }
    TCustomControl::Loaded();
}

TRect TCustomForm::ScaledBounds(int m, int d) const {
    // The frame is the system's and keeps its size: the description laid out the client area.
    const int frameWidth = Width() - ClientWidth(), frameHeight = Height() - ClientHeight();
    return Bounds(::MulDiv(Left(), m, d), ::MulDiv(Top(), m, d), ::MulDiv(ClientWidth(), m, d) + frameWidth,
                  ::MulDiv(ClientHeight(), m, d) + frameHeight);
}

void TCustomForm::DoCreate() { FireEvent(OnCreate, this); }
void TCustomForm::DoShow() { FireEvent(OnShow, this); }
void TCustomForm::DoHide() { FireEvent(OnHide, this); }
void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}
void TCustomForm::DoDestroy() { FireEvent(OnDestroy, this); }

void TCustomForm::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = StyleOf(FBorderStyle) | WS_CLIPCHILDREN;
    params.ExStyle = ExStyleOf(FBorderStyle, FFormStyle);
    params.WndParent = ParentWindow();
    if (Application && Application->MainForm() == this) {
        if (Application->MainFormOnTaskBar()) params.ExStyle |= WS_EX_APPWINDOW;
    } else if (!params.WndParent && Application && Application->MainForm() &&
               Application->MainForm()->HandleAllocated()) {
        // Secondary windows belong to the main window: no task-bar button, kept above it.
        params.WndParent = Application->MainForm()->Handle();
    }
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        params.X = CW_USEDEFAULT;
        params.Y = CW_USEDEFAULT;
    }
    if (FPosition == poDefault || FPosition == poDefaultSizeOnly) {
        params.Width = CW_USEDEFAULT;
        params.Height = CW_USEDEFAULT;
    }
    if (FFormStyle == fsMDIChild) {
        TCustomForm* frame = FindMDIFrame();
        params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
        params.Style &= ~WS_POPUP;
        params.ExStyle |= WS_EX_MDICHILD;
        params.WndParent = frame->Handle() ? frame->FClientHandle : nullptr;
        if (!params.WndParent)
            throw EInvalidOperation(L"Cannot create the MDI child " + Name() + L": its frame has no client window");
    }
    params.WindowClass.style = CS_DBLCLKS;
    params.WindowClass.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
    if (!params.WindowClass.hIcon) params.WindowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
}

void TCustomForm::CreateWindowHandleDone() {
    if (FFormStyle == fsMDIForm) {
        CLIENTCREATESTRUCT create{};
        create.idFirstChild = MDIFirstChildCommand;
        RECT client{};
        ::GetClientRect(FHandle, &client);
        FClientHandle = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                          WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL |
                                              WS_VISIBLE,
                                          0, 0, client.right, client.bottom, FHandle, nullptr,
                                          ::GetModuleHandleW(nullptr), &create);
        if (!FClientHandle) RaiseLastOSError(L"Cannot create the MDI client window of " + Name());
    }
    ShowMenu();
    if (FFormStyle == fsMDIChild) RefreshMDIMenu();
    // A window made again (a new border style, say) while shown is shown again.
    if (!Visible()) return;
    int command = SW_SHOWNORMAL;
    if (FWindowState == wsMaximized) command = SW_SHOWMAXIMIZED;
    else if (FWindowState == wsMinimized) command = SW_SHOWMINIMIZED;
    ::ShowWindow(FHandle, command);
}

TRect TCustomForm::FrameInsets() const {
    RECT rect{0, 0, 0, 0};
    ::AdjustWindowRectEx(&rect, StyleOf(FBorderStyle), FMenu && FFormStyle != fsMDIChild,
                         ExStyleOf(FBorderStyle, FFormStyle));
    return {-rect.left, -rect.top, rect.right, rect.bottom};
}

TRect TCustomForm::ClientRect() const {
    if (FHandle) return TCustomControl::ClientRect();
    const TRect insets = FrameInsets();
    return {0, 0, std::max(0, Width() - insets.Left - insets.Right), std::max(0, Height() - insets.Top - insets.Bottom)};
}

TPoint TCustomForm::ClientOrigin() const {
    if (FHandle) return TCustomControl::ClientOrigin();
    const TRect insets = FrameInsets();
    return {Left() + insets.Left, Top() + insets.Top};
}

void TCustomForm::SetClientWidth(int value) {
    SetWidth(Width() - ClientWidth() + value);
}

void TCustomForm::SetClientHeight(int value) {
    SetHeight(Height() - ClientHeight() + value);
}

bool TCustomForm::Showing() const {
    return FHandle && ::IsWindowVisible(FHandle);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    // The client area keeps its size; the frame around it changes.
    const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
    if (FHandle) FWindowState = WindowState();
    FBorderStyle = value;
    RecreateWnd();
    if (!HasState(csLoading)) SetClientSize(clientWidth, clientHeight);
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == FFormStyle) return;
    const bool mdi = [](TFormStyle style) { return style == fsMDIForm || style == fsMDIChild; }(value) ||
                     FFormStyle == fsMDIForm || FFormStyle == fsMDIChild;
    FFormStyle = value;
    // A frame needs its client window, a child its frame: both are made with the window.
    if (FHandle && mdi) {
        RecreateWnd();
        return;
    }
    if (FHandle) {
        ::SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

TWindowState TCustomForm::WindowState() const {
    if (FHandle) {
        if (::IsZoomed(FHandle)) return wsMaximized;
        if (::IsIconic(FHandle)) return wsMinimized;
        if (::IsWindowVisible(FHandle)) return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState value) {
    FWindowState = value;
    if (FHandle && ::IsWindowVisible(FHandle)) {
        const int show[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ::ShowWindow(FHandle, show[value]);
    }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (control && (control == this || !ContainsControl(control)))
        throw EInvalidOperation(L"Invalid active control for " + Name());
    FActiveControl = control;
    if (control && FActive && control->CanFocus() && !(ComponentState() & csLoading)) ::SetFocus(control->Handle());
}

void TCustomForm::FocusChanged(TWinControl* control) {
    if (control != this && ContainsControl(control)) FActiveControl = control;
    // Every control of the form hears where the focus went (the ribbon ends its key tips
    // when the focus leaves it).
    if (!HasState(csDestroying)) Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TControl* control) {
    if (!FActiveControl) return;
    auto* window = dynamic_cast<TWinControl*>(control);
    if (FActiveControl == control || (window && window->ContainsControl(FActiveControl))) FActiveControl = nullptr;
}

void TCustomForm::FocusControl(TWinControl* control) {
    SetActiveControl(control);
    if (control && control->CanFocus()) control->SetFocus();
}

void TCustomForm::ApplyPosition() {
    if (FPositioned) return;
    FPositioned = true;
    TRect area;
    switch (FPosition) {
        case poScreenCenter: area = Screen->PrimaryMonitor().BoundsRect; break;
        case poDesktopCenter: area = Screen->DesktopRect(); break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TCustomForm* center = Application ? Application->MainForm() : nullptr;
            if (FPosition == poOwnerFormCenter)
                if (auto* owner = dynamic_cast<TCustomForm*>(Owner())) center = owner;
            if (!center || center == this) return;
            area = center->BoundsRect();
            break;
        }
        default: return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::SetVisible(bool value) {
    if (ComponentState() & csLoading) {
        TControl::SetVisible(value);
        return;
    }
    if (value) {
        HandleNeeded();
        ApplyPosition();
        if (!Visible()) {
            TControl::SetVisible(true);
            DoShow();
        }
        // OnShow may have closed or hidden the window again.
        if (!Visible() || !FHandle) return;
        int command = SW_SHOWNORMAL;
        if (FWindowState == wsMaximized) command = SW_SHOWMAXIMIZED;
        else if (FWindowState == wsMinimized) command = SW_SHOWMINIMIZED;
        ::ShowWindow(FHandle, command);
        if (FFormStyle == fsMDIChild && ::GetParent(FHandle))
            ::SendMessageW(::GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
        else
            ::BringWindowToTop(FHandle);
    } else {
        if (!Visible()) return;
        DoHide();
        TControl::SetVisible(false);
        if (FHandle) {
            FWindowState = WindowState();
            ::ShowWindow(FHandle, SW_HIDE);
        }
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (Application && Application->MainForm() == this) action = caFree;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        if (action != caHide) return;  // freed with the application's other windows
    }
    switch (action) {
        case caHide: Hide(); break;
        case caMinimize: SetWindowState(wsMinimized); break;
        case caFree: Release(); break;
        default: break;
    }
}

void TCustomForm::Release() {
    if (FReleasing) return;
    FReleasing = true;
    if (FHandle) ::PostMessageW(FHandle, CM_RELEASE, 0, 0);
    else delete this;
}

bool TCustomForm::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(Handle(), msg, wParam, lParam) != FALSE;
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || FModal) throw EInvalidOperation(L"Cannot make a visible window modal");
    // A captured mouse would keep talking to the window below.
    if (::GetCapture()) ::SendMessageW(::GetCapture(), WM_CANCELMODE, 0, 0);
    ::ReleaseCapture();
    if (Application) {
        Application->CancelHint();
        Application->SetCaptureControl(nullptr);
        Application->ModalStarted();
    }
    std::vector<HWND> disabled;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form != this && form->HandleAllocated() && ::IsWindowEnabled(form->FHandle) &&
            ::IsWindowVisible(form->FHandle)) {
            ::EnableWindow(form->FHandle, FALSE);
            disabled.push_back(form->FHandle);
        }
    }
    FModal = true;
    FModalResult = mrNone;
    auto restore = [&] {
        for (HWND window : disabled) ::EnableWindow(window, TRUE);
        FModal = false;
        if (Application) Application->ModalFinished();
    };
    try {
        Show();
        while (Application && !Application->Terminated()) {
            Application->HandleMessage();
            if (FModalResult == mrNone) continue;
            // The window may still refuse, or turn the close into nothing.
            TModalResult result = FModalResult;
            bool close = CloseQuery();
            TCloseAction action = caHide;
            if (close) DoClose(action);
            if (!close || action == caNone) {
                FModalResult = mrNone;
                continue;
            }
            FModalResult = result;
            break;
        }
        restore();
        Hide();
    } catch (...) {
        restore();
        throw;
    }
    return FModalResult;
}

void TCustomForm::Paint() {
    FireEvent(OnPaint, this);
}

void TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_COMMAND: case WM_MEASUREITEM: case WM_DRAWITEM: case WM_MENUCHAR:
        case WM_ENTERMENULOOP: case WM_EXITMENULOOP:
            WMMenuMessage(message);
            return;
        case CM_TEXTCHANGED:
            TCustomControl::Dispatch(message);
            if (FFormStyle == fsMDIChild) RefreshMDIMenu();
            return;
        case WM_SIZE:
            TCustomControl::Dispatch(message);
            // The frame's default handling stretched the client over the aligned controls.
            if (FClientHandle) Realign();
            return;
        case WM_MDIACTIVATE:
            DefaultHandler(message);
            if (FFormStyle == fsMDIChild && reinterpret_cast<HWND>(message.LParam) == FHandle) RefreshMDIMenu();
            return;
        case WM_CLOSE: WMClose(message); return;
        case WM_GETMINMAXINFO: WMGetMinMaxInfo(message); return;
        case WM_ACTIVATE: WMActivate(message); return;
        case CM_RELEASE: CMRelease(message); return;
        case CM_DIALOGKEY: CMDialogKeyForm(message); return;
        default: TCustomControl::Dispatch(message);
    }
}

void TCustomForm::WMMenuMessage(TMessage& message) {
    switch (message.Msg) {
        case WM_COMMAND:
            // A menu's command: no control window, notification code 0 (menu) or 1 (accelerator).
            if (!message.LParam && HIWORD(message.WParam) <= 1 && FMenu && FMenu->DispatchCommand(LOWORD(message.WParam))) {
                message.Result = 0;
                return;
            }
            break;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
            if (item && item->CtlType == ODT_MENU && FMenu && FMenu->DispatchMeasureItem(*item)) {
                message.Result = TRUE;
                return;
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
            if (item && item->CtlType == ODT_MENU && FMenu && FMenu->DispatchDrawItem(*item)) {
                message.Result = TRUE;
                return;
            }
            break;
        }
        case WM_MENUCHAR:
            if (FMenu) {
                message.Result = FMenu->ProcessMenuChar(wchar_t(LOWORD(message.WParam)), reinterpret_cast<HMENU>(message.LParam));
                if (message.Result) return;
            }
            break;
        case WM_ENTERMENULOOP:
            if (FMenu) FMenu->BeginTracking();
            break;
        case WM_EXITMENULOOP:
            TCustomControl::Dispatch(message);
            if (FMenu) FMenu->EndTracking();
            return;
    }
    TCustomControl::Dispatch(message);
}

void TCustomForm::DefaultHandler(TMessage& message) {
    if (FHandle && FFormStyle == fsMDIForm && FClientHandle) {
        message.Result = ::DefFrameProcW(FHandle, FClientHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (FHandle && FFormStyle == fsMDIChild && (::GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        message.Result = ::DefMDIChildProcW(FHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    TCustomControl::DefaultHandler(message);
}

void TCustomForm::DestroyWnd() {
    if (FMenu) FMenu->SetWindowHandle(nullptr);
    // The system destroys the menu bar a window shows with the window; the bar is the menu's.
    if (FFormStyle != fsMDIChild && ::GetMenu(FHandle)) ::SetMenu(FHandle, nullptr);
    FClientHandle = nullptr;
    HWND client = ::GetParent(FHandle);
    if (FFormStyle == fsMDIChild && client && (::GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        // The client keeps a list of its children: it destroys them itself.
        if (auto* canvas = dynamic_cast<TControlCanvas*>(Canvas())) canvas->ReleaseWindowDC();
        FText = GetText();
        ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
        ::SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
        return;
    }
    TCustomControl::DestroyWnd();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FMenu) FMenu = nullptr;
    if (component == FWindowMenu) FWindowMenu = nullptr;
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    if (FClientHandle)
        ::SetWindowPos(FClientHandle, nullptr, rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetMenu(TMainMenu* value) {
    if (value == FMenu) return;
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetWindowHandle(nullptr);
        if (FHandle && FFormStyle != fsMDIChild) ::SetMenu(FHandle, nullptr);
    }
    FMenu = value;
    if (value) value->FreeNotification(this);
    ShowMenu();
}

void TCustomForm::SetWindowMenu(TMenuItem* value) {
    if (value == FWindowMenu) return;
    if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
    FWindowMenu = value;
    if (value) value->FreeNotification(this);
    ShowMenu();
}

void TCustomForm::ShowMenu() {
    if (!FHandle || FFormStyle == fsMDIChild || !FMenu) return;
    FMenu->SetWindowHandle(FHandle);
    HMENU bar = FMenu->Handle();
    if (FClientHandle)
        ::SendMessageW(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar),
                       reinterpret_cast<LPARAM>(FWindowMenu && !FMenu->ListsMDIChildren() ? FWindowMenu->Handle() : nullptr));
    else
        ::SetMenu(FHandle, bar);
    ::DrawMenuBar(FHandle);
}

TCustomForm* TCustomForm::FindMDIFrame() const {
    auto isFrame = [](TComponent* component) {
        auto* form = dynamic_cast<TCustomForm*>(component);
        return form && form->FFormStyle == fsMDIForm ? form : nullptr;
    };
    if (TCustomForm* frame = isFrame(Owner())) return frame;
    if (TCustomForm* frame = isFrame(Application ? Application->MainForm() : nullptr)) return frame;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (TCustomForm* frame = isFrame(Screen->Forms(i))) return frame;
    throw EInvalidOperation(L"Cannot create the MDI child " + Name() + L": no MDI frame window is open");
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
    std::vector<TCustomForm*> children;
    if (!FClientHandle) return children;
    for (HWND window = ::GetWindow(FClientHandle, GW_CHILD); window; window = ::GetWindow(window, GW_HWNDNEXT))
        if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(window)); form && form->FFormStyle == fsMDIChild)
            children.push_back(form);
    return children;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    const std::vector<TCustomForm*> children = MDIChildList();
    if (index < 0 || index >= int(children.size())) RaiseListIndexError(index);
    return children[size_t(index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (!FClientHandle) return nullptr;
    auto active = reinterpret_cast<HWND>(::SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    return active ? dynamic_cast<TCustomForm*>(TWinControl::FindControl(active)) : nullptr;
}

void TCustomForm::RefreshMDIMenu() const {
    HWND client = FHandle ? ::GetParent(FHandle) : nullptr;
    if (client) ::SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
}

void TCustomForm::WMClose(TMessage& message) {
    (void)message;
    Close();
}

void TCustomForm::WMGetMinMaxInfo(TMessage& message) {
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    const TSizeConstraints* limits = Constraints();
    if (limits->MinWidth() > 0) info->ptMinTrackSize.x = limits->MinWidth();
    if (limits->MinHeight() > 0) info->ptMinTrackSize.y = limits->MinHeight();
    if (limits->MaxWidth() > 0) info->ptMaxTrackSize.x = limits->MaxWidth();
    if (limits->MaxHeight() > 0) info->ptMaxTrackSize.y = limits->MaxHeight();
    message.Result = 0;
}

void TCustomForm::WMActivate(TMessage& message) {
    DefaultHandler(message);
    const bool active = LOWORD(message.WParam) != WA_INACTIVE;
    if (active == FActive) return;
    FActive = active;
    if (active) {
        if (FActiveControl && FActiveControl->CanFocus()) ::SetFocus(FActiveControl->Handle());
        FireEvent(OnActivate, this);
    } else {
        FireEvent(OnDeactivate, this);
    }
}

void TCustomForm::CMRelease(TMessage& message) {
    (void)message;
    BeforeDestruction();
    delete this;
}

void TCustomForm::CMDialogKeyForm(TMessage& message) {
    if (message.WParam == VK_TAB && !IsKeyDown(VK_CONTROL)) {
        SelectNext(FActiveControl, !IsKeyDown(VK_SHIFT), true);
        message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(message);
}

const TPropertyList& TCustomFrame::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Colour(L"Color", &TCustomFrame::Color, &TCustomFrame::SetColor, clBtnFace);
    return list;
}

TCustomFrame::TCustomFrame(TComponent* owner) : TWinControl(owner) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FColor = clBtnFace;
    TControl::SetBounds(0, 0, 320, 240);
}

}  // namespace ClassLib
