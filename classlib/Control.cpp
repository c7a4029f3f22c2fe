#include "classlib/Control.h"
#include "classlib/ControlReparent.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/GdiScopes.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TSizeConstraints, TPersistent)
CLASSLIB_IMPLEMENT(TMargins, TPersistent)
CLASSLIB_IMPLEMENT(TControl, TComponent)
CLASSLIB_IMPLEMENT(TWinControl, TControl)
CLASSLIB_IMPLEMENT(TCustomControl, TWinControl)
CLASSLIB_IMPLEMENT(TGraphicControl, TControl)

namespace {

const wchar_t* const ControlProperty = L"ClassLib.Control";
// The control whose CreateWindowEx runs: its first messages arrive before the window
// is known, so the window procedure takes it from here.
thread_local TWinControl* CreatingControl = nullptr;
// The control inside whose CreateWindowEx we are, for the whole call: an owner-drawn
// list asks its parent for item heights before CreateWindowEx has returned.
thread_local TWinControl* CreatingWindow = nullptr;

// Child windows get distinct ids, so the parent can tell them apart by id.
UINT_PTR NextChildId() {
    static UINT_PTR next = 0;
    next = next % 0x7FFF + 1;
    return next;
}

int ClampSize(int value) { return value < 0 ? 0 : value; }

// The one drag that can run at a time.
struct TDragState_ {
    TControl* Source = nullptr;
    TControl* Target = nullptr;
    bool Started = false;
    bool Accepted = false;
    TPoint StartPos;
    int Threshold = 0;
};
TDragState_ Drag;

}  // namespace

void CallGuarded(TObject* sender, const std::function<void()>& action) noexcept {
    try {
        action();
    } catch (...) {
        try {
            Application->HandleException(sender);
        } catch (...) {
            // The handler itself failed; nothing more can be shown. Keep the loop alive.
        }
    }
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(::GetPropW(window, ControlProperty));
    if (!control) {
        control = CreatingControl;
        if (!control) return ::DefWindowProcW(window, msg, wParam, lParam);
        CreatingControl = nullptr;
        control->FHandle = window;
        ::SetPropW(window, ControlProperty, control);
    }
    TMessage message{msg, wParam, lParam, 0};
    // The control may free itself inside the handler (a released form), so nothing
    // below touches it except for the window's last message.
    CallGuarded(control, [&] {
        if (control->WindowProc) control->WindowProc(message);
        else control->WndProc(message);
    });
    if (msg == WM_NCDESTROY) {
        ::RemovePropW(window, ControlProperty);
        if (control->FHandle == window) control->FHandle = nullptr;
    }
    return message.Result;
}

TShiftState MouseShiftState(WPARAM keyFlags) {
    TShiftState shift = 0;
    if (keyFlags & MK_SHIFT) shift |= ssShift;
    if (keyFlags & MK_CONTROL) shift |= ssCtrl;
    if (keyFlags & MK_LBUTTON) shift |= ssLeft;
    if (keyFlags & MK_RBUTTON) shift |= ssRight;
    if (keyFlags & MK_MBUTTON) shift |= ssMiddle;
    if (IsKeyDown(VK_MENU)) shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (IsKeyDown(VK_SHIFT)) shift |= ssShift;
    if (IsKeyDown(VK_CONTROL)) shift |= ssCtrl;
    if (IsKeyDown(VK_MENU)) shift |= ssAlt;
    return shift;
}

// ---- TSizeConstraints, TMargins ----

const TPropertyList& TSizeConstraints::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0)
        .Add(L"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0)
        .Add(L"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0)
        .Add(L"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
    return list;
}

void TSizeConstraints::SetMinWidth(int value) {
    FMinWidth = ClampSize(value);
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
    Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
    FMinHeight = ClampSize(value);
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int value) {
    FMaxWidth = ClampSize(value);
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
    Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
    FMaxHeight = ClampSize(value);
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
        FMinWidth = other->FMinWidth; FMinHeight = other->FMinHeight;
        FMaxWidth = other->FMaxWidth; FMaxHeight = other->FMaxHeight;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (FMaxWidth > 0) width = std::min(width, FMaxWidth);
    if (FMaxHeight > 0) height = std::min(height, FMaxHeight);
    width = std::max(width, FMinWidth);
    height = std::max(height, FMinHeight);
}

void TSizeConstraints::ChangeScale(int m, int d) {
    FMinWidth = ::MulDiv(FMinWidth, m, d); FMinHeight = ::MulDiv(FMinHeight, m, d);
    FMaxWidth = ::MulDiv(FMaxWidth, m, d); FMaxHeight = ::MulDiv(FMaxHeight, m, d);
    Changed();
}

void TSizeConstraints::Changed() {
    if (FControl) FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
}

const TPropertyList& TMargins::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"Left", &TMargins::Left, &TMargins::SetLeft, 3)
        .Add(L"Top", &TMargins::Top, &TMargins::SetTop, 3)
        .Add(L"Right", &TMargins::Right, &TMargins::SetRight, 3)
        .Add(L"Bottom", &TMargins::Bottom, &TMargins::SetBottom, 3);
    return list;
}

void TMargins::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TMargins*>(source)) {
        FLeft = other->FLeft; FTop = other->FTop; FRight = other->FRight; FBottom = other->FBottom;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TMargins::ChangeScale(int m, int d) {
    FLeft = ::MulDiv(FLeft, m, d); FTop = ::MulDiv(FTop, m, d);
    FRight = ::MulDiv(FRight, m, d); FBottom = ::MulDiv(FBottom, m, d);
    Changed();
}

void TMargins::Changed() {
    if (FControl && FControl->AlignWithMargins() && FControl->Parent()) FControl->Parent()->Realign();
}

// ---- TControl ----

const TPropertyList& TControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"Left", &TControl::Left, &TControl::SetLeft, 0)
        .Add(L"Top", &TControl::Top, &TControl::SetTop, 0)
        .Add(L"Width", &TControl::Width, &TControl::SetWidth)
        .Add(L"Height", &TControl::Height, &TControl::SetHeight)
        .Enum(L"Align", &TControl::Align, &TControl::SetAlign, alNone)
        .SetOf(L"Anchors", L"TAnchors", &TControl::Anchors, &TControl::SetAnchors,
               {L"akLeft", L"akTop", L"akRight", L"akBottom"}, DefaultAnchors)
        .SubObject(L"Constraints", &TControl::Constraints)
        .SubObject(L"Margins", &TControl::Margins)
        .Add(L"AlignWithMargins", &TControl::AlignWithMargins, &TControl::SetAlignWithMargins, false)
        .Add(L"Visible", &TControl::Visible, &TControl::SetVisible, true)
        .Add(L"Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .Add(L"Caption", &TControl::Caption, &TControl::SetCaption)
        .SubObject(L"Font", &TControl::Font)
        .Add(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Colour(L"Color", &TControl::Color, &TControl::SetColor, clWindow)
        .Add(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
        .Add(L"Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
        .Add(L"Hint", &TControl::Hint, &TControl::SetHint)
        .Add(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
        .Add(L"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
        .Reference(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Event(L"OnClick", &TControl::OnClick)
        .Event(L"OnDblClick", &TControl::OnDblClick)
        .Event(L"OnMouseDown", &TControl::OnMouseDown)
        .Event(L"OnMouseUp", &TControl::OnMouseUp)
        .Event(L"OnMouseMove", &TControl::OnMouseMove)
        .Event(L"OnMouseEnter", &TControl::OnMouseEnter)
        .Event(L"OnMouseLeave", &TControl::OnMouseLeave)
        .Event(L"OnMouseWheel", &TControl::OnMouseWheel)
        .Event(L"OnResize", &TControl::OnResize)
        .Event(L"OnContextPopup", &TControl::OnContextPopup)
        .Enum(L"DragMode", &TControl::DragMode, &TControl::SetDragMode, dmManual)
        .Event(L"OnDragOver", &TControl::OnDragOver)
        .Event(L"OnDragDrop", &TControl::OnDragDrop)
        .Event(L"OnStartDrag", &TControl::OnStartDrag)
        .Event(L"OnEndDrag", &TControl::OnEndDrag);
    return list;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner),
      FFont(std::make_unique<TFont>()),
      FConstraints(std::make_unique<TSizeConstraints>(this)),
      FMargins(std::make_unique<TMargins>(this)) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    FFont->SetOnChange([this](TObject*) { FontObjectChanged(); });
}

TControl::~TControl() {
    Destroying();
    WindowProc = nullptr;
    if (FParent) FParent->RemoveControl(this);
    if (Drag.Source == this) Drag = TDragState_{};
    if (Drag.Target == this) Drag.Target = nullptr;
    if (Application) Application->ControlDestroying(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (WindowProc) WindowProc(message);
    else WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (Drag.Source == this && DragMessage(message)) return;
    Dispatch(message);
}

// ---- dragging ----

bool TControl::Dragging() const { return Drag.Source == this; }

void TControl::BeginDrag(bool immediate, int threshold) {
    if (Drag.Source) return;
    TWinControl* window = dynamic_cast<TWinControl*>(this);
    if (!window) window = FParent;
    Drag = TDragState_{};
    Drag.Source = this;
    Drag.Threshold = threshold < 0 ? Mouse->DragThreshold() : threshold;
    Drag.StartPos = Mouse->CursorPos();
    if (Application) Application->SetCaptureControl(this);
    if (window && window->HandleAllocated()) ::SetCapture(window->FHandle);
    if (immediate) {
        Drag.Started = true;
        DoStartDrag();
    }
}

TControl* TControl::FindDragTarget(const TPoint& screenPoint) {
    TWinControl* window = nullptr;
    for (HWND handle = ::WindowFromPoint(POINT{screenPoint.X, screenPoint.Y}); handle && !window;
         handle = ::GetParent(handle))
        window = TWinControl::FindControl(handle);
    if (!window) return nullptr;
    TControl* child = window->ControlAtPos(window->ScreenToClient(screenPoint));
    return child && !dynamic_cast<TWinControl*>(child) ? child : window;
}

bool TControl::DragMessage(TMessage& message) {
    switch (message.Msg) {
        case WM_MOUSEMOVE: {
            const TPoint screen = ClientToScreen({message.XPos(), message.YPos()});
            if (!Drag.Started) {
                if (std::abs(screen.X - Drag.StartPos.X) < Drag.Threshold &&
                    std::abs(screen.Y - Drag.StartPos.Y) < Drag.Threshold)
                    return false;  // not yet a drag: the control sees the move
                Drag.Started = true;
                DoStartDrag();
            }
            TControl* target = FindDragTarget(screen);
            if (target != Drag.Target) {
                if (Drag.Target) {
                    bool ignored = false;
                    const TPoint p = Drag.Target->ScreenToClient(screen);
                    Drag.Target->DragOver(this, p.X, p.Y, dsDragLeave, ignored);
                }
                Drag.Target = target;
                Drag.Accepted = false;
                if (target) {
                    const TPoint p = target->ScreenToClient(screen);
                    target->DragOver(this, p.X, p.Y, dsDragEnter, Drag.Accepted);
                }
            } else if (target) {
                const TPoint p = target->ScreenToClient(screen);
                Drag.Accepted = false;
                target->DragOver(this, p.X, p.Y, dsDragMove, Drag.Accepted);
            }
            ::SetCursor(Screen->Cursors(Drag.Accepted ? crDrag : crNoDrop));
            return true;
        }
        case WM_LBUTTONUP:
            if (!Drag.Started) {
                EndDrag(false);
                return false;  // a plain click after all
            }
            EndDrag(true);
            return true;
        case WM_RBUTTONDOWN:
        case WM_CANCELMODE:
            EndDrag(false);
            return true;
        default:
            return false;
    }
}

void TControl::EndDrag(bool drop) {
    if (Drag.Source != this) return;
    const TDragState_ state = Drag;
    Drag = TDragState_{};
    if (Application && Application->CaptureControl() == this) Application->SetCaptureControl(nullptr);
    ::ReleaseCapture();
    if (!state.Started) return;
    const TPoint screen = Mouse->CursorPos();
    TControl* target = nullptr;
    TPoint point{0, 0};
    if (state.Target) {
        point = state.Target->ScreenToClient(screen);
        if (drop && state.Accepted) target = state.Target;
        else {
            bool ignored = false;
            state.Target->DragOver(this, point.X, point.Y, dsDragLeave, ignored);
        }
    }
    if (target) target->DragDrop(this, point.X, point.Y);
    DoEndDrag(target, point.X, point.Y);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag() { FireEvent(OnStartDrag, this); }

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::BeginAutoDrag() { BeginDrag(false); }

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_LBUTTONDOWN: WMMouseButton(message, mbLeft, true, false); return;
        case WM_RBUTTONDOWN: WMMouseButton(message, mbRight, true, false); return;
        case WM_MBUTTONDOWN: WMMouseButton(message, mbMiddle, true, false); return;
        case WM_LBUTTONDBLCLK: WMMouseButton(message, mbLeft, true, true); return;
        case WM_RBUTTONDBLCLK: WMMouseButton(message, mbRight, true, true); return;
        case WM_MBUTTONDBLCLK: WMMouseButton(message, mbMiddle, true, true); return;
        case WM_LBUTTONUP: WMMouseButton(message, mbLeft, false, false); return;
        case WM_RBUTTONUP: WMMouseButton(message, mbRight, false, false); return;
        case WM_MBUTTONUP: WMMouseButton(message, mbMiddle, false, false); return;
        case WM_MOUSEMOVE: WMMouseMove(message); return;
        case WM_MOUSEWHEEL: WMMouseWheel(message); return;
        case WM_CONTEXTMENU: WMContextMenu(message); return;
        case CM_MOUSEENTER: CMMouseEnter(message); return;
        case CM_MOUSELEAVE: CMMouseLeave(message); return;
        case CM_PARENTFONTCHANGED: CMParentFontChanged(message); return;
        case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); return;
        case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(message); return;
        default: DefaultHandler(message);
    }
}

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
        case WM_GETTEXTLENGTH: message.Result = LRESULT(FText.size()); break;
        case WM_SETTEXT:
            FText = message.LParam ? reinterpret_cast<const wchar_t*>(message.LParam) : L"";
            message.Result = TRUE;
            break;
        default: break;
    }
}

bool TControl::InsertDescribedChild(TComponent* child) { return !dynamic_cast<TControl*>(child); }

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation(L"A control cannot be its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TCustomForm* TControl::ParentForm() const {
    const TControl* control = this;
    while (control->FParent) control = control->FParent;
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = ClampSize(width);
    height = ClampSize(height);
    FConstraints->Apply(width, height);
    const bool moved = left != FLeft || top != FTop;
    const bool sized = width != FWidth || height != FHeight;
    if (moved || sized) {
        if (FParent && Visible()) Invalidate();
        FLeft = left; FTop = top; FWidth = width; FHeight = height;
        if (FParent && Visible()) Invalidate();
    }
    RememberAnchorOrigin();
    if (moved || sized) {
        BoundsChanged(sized);
        RequestAlign();
        if (FParent && !(FControlState & csPlacing)) FParent->ControlBoundsChanged(this);
    }
}

void TControl::SetAlignedBounds(int left, int top, int width, int height) {
    width = ClampSize(width);
    height = ClampSize(height);
    FConstraints->Apply(width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    const bool sized = width != FWidth || height != FHeight;
    if (FParent && Visible()) Invalidate();
    FLeft = left; FTop = top; FWidth = width; FHeight = height;
    if (FParent && Visible()) Invalidate();
    UpdateWindowBounds();
    BoundsChanged(sized);
}

void TControl::BoundsChanged(bool sizeChanged) {
    if (sizeChanged) Resize();
}

void TControl::RememberAnchorOrigin() {
    if (!FParent || (FControlState & csPlacing)) return;
    FAnchorBounds = BoundsRect();
    const TRect client = FParent->ClientRect();
    FAnchorParentSize = {client.Width(), client.Height()};
    FAnchorValid = true;
}

void TControl::RequestAlign() {
    if (FParent && !(FParent->FControlState & csAligning) && (FAlign != alNone || FAnchors != DefaultAnchors))
        FParent->Realign();
}

TRect TControl::ClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(int value) { SetWidth(value); }
void TControl::SetClientHeight(int value) { SetHeight(value); }

TPoint TControl::ClientOrigin() const {
    if (!FParent) return {FLeft, FTop};
    const TPoint origin = FParent->ClientOrigin();
    return {origin.X + FLeft, origin.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& point) const {
    const TPoint origin = ClientOrigin();
    return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(const TPoint& point) const {
    const TPoint origin = ClientOrigin();
    return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
    if (value == FAlign) return;
    const TAlign old = FAlign;
    FAlign = value;
    if (old == alNone || value == alNone) RememberAnchorOrigin();
    if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == FAnchors) return;
    FAnchors = value;
    RememberAnchorOrigin();
}

void TControl::SetAlignWithMargins(bool value) {
    if (value == FAlignWithMargins) return;
    FAlignWithMargins = value;
    if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool value) {
    if (value == FVisible) return;
    VisibleChanging();
    if (!value) Invalidate();
    FVisible = value;
    if (value) Invalidate();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    if (FParent) FParent->Realign();
}

bool TControl::Showing() const {
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetFont(const TFont* value) {
    FFont->Assign(value);
}

void TControl::FontObjectChanged() {
    FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED);
    Invalidate();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == FParentFont) return;
    FParentFont = value;
    if (value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::CMParentFontChanged(TMessage& message) {
    (void)message;
    if (!FParentFont || !FParent) return;
    FFont->SetOnChange(nullptr);
    FFont->Assign(FParent->Font());
    FFont->SetOnChange([this](TObject*) { FontObjectChanged(); });
    FontChanged();
}

void TControl::SetColor(TColor value) {
    if (value == FColor && !FParentColor) return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
    ColorChanged();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == FParentColor) return;
    FParentColor = value;
    if (value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentColorChanged(TMessage& message) {
    (void)message;
    if (!FParentColor || !FParent) return;
    FColor = FParent->Color();
    ColorChanged();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TControl::SetCursor(TCursor value) {
    if (value == FCursor) return;
    FCursor = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
    FShowHint = value;
    FParentShowHint = false;
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (value == FParentShowHint) return;
    FParentShowHint = value;
    if (value && FParent) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage& message) {
    (void)message;
    if (!FParentShowHint || !FParent) return;
    FShowHint = FParent->ShowHint();
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
    if (operation == opRemove && FActionLink && component == FActionLink->Action()) FActionLink.reset();
}

std::wstring TControl::GetText() const { return FText; }

void TControl::SetText(const std::wstring& value) {
    if (value == FText) return;
    FText = value;
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

bool TControl::MouseCapture() const {
    return Application && Application->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) return;
    if (value) {
        TWinControl* owner = dynamic_cast<TWinControl*>(this);
        if (!owner) owner = FParent;
        Application->SetCaptureControl(this);
        // Without a window (headless) only the library keeps track of the capture.
        if (owner && owner->HandleAllocated()) ::SetCapture(owner->FHandle);
    } else {
        Application->SetCaptureControl(nullptr);
        ::ReleaseCapture();
    }
}

void TControl::Invalidate() {
    if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
    const RECT rect{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    ::InvalidateRect(FParent->FHandle, &rect, !(FControlStyle & csOpaque));
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        ::SetWindowPos(win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        ::SetWindowPos(win->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::ChangeScale(int m, int d) {
    if (m == d || m <= 0 || d <= 0) return;
    // Taken first: the scaled constraints may already move the control.
    const TRect bounds = ScaledBounds(m, d);
    FConstraints->ChangeScale(m, d);
    FMargins->ChangeScale(m, d);
    if (!FParentFont && !FFont->PointSized()) FFont->SetHeight(::MulDiv(FFont->Height(), m, d));
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

TRect TControl::ScaledBounds(int m, int d) const {
    return Bounds(::MulDiv(FLeft, m, d), ::MulDiv(FTop, m, d), ::MulDiv(FWidth, m, d), ::MulDiv(FHeight, m, d));
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
        if (FParentFont) Perform(CM_PARENTFONTCHANGED);
        if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED);
    }
    RememberAnchorOrigin();
}

void TControl::Click() {
    // A control with an action runs the action: its OnExecute is the click's handler.
    if (FActionLink && FActionLink->Action()) FActionLink->Execute(this);
    else FireEvent(OnClick, this);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* value) {
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) FActionLink = CreateActionLink();
    FActionLink->SetAction(value);
    ActionChange(value, HasState(csLoading));
    value->FreeNotification(this);
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() { return std::make_unique<TControlActionLink>(this); }

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
}
void TControl::DblClick() { FireEvent(OnDblClick, this); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FireEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    FireEvent(OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    FireEvent(OnMouseMove, this, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled) {
        handled = wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState, TPoint) { return false; }
bool TControl::DoMouseWheelUp(TShiftState, TPoint) { return false; }

void TControl::Resize() { FireEvent(OnResize, this); }

void TControl::WMMouseButton(TMessage& message, TMouseButton button, bool down, bool dbl) {
    TShiftState shift = MouseShiftState(message.WParam);
    const int x = message.XPos(), y = message.YPos();
    if (down) {
        if (dbl) shift |= ssDouble;
        if (button == mbLeft && !dbl && FDragMode == dmAutomatic) BeginAutoDrag();
        if (button == mbLeft && (FControlStyle & csCaptureMouse) && !Dragging()) SetMouseCapture(true);
        if (button == mbLeft && (FControlStyle & csClickEvents)) FControlState |= csClicked;
        if (dbl && button == mbLeft && (FControlStyle & csDoubleClicks)) DblClick();
        MouseDown(button, shift, x, y);
    } else {
        if (button == mbLeft) {
            const bool clicked = (FControlState & csClicked) != 0;
            FControlState &= ~csClicked;
            if (MouseCapture() && !Dragging()) SetMouseCapture(false);
            if (clicked && ClientRect().Contains({x, y})) Click();
        }
        MouseUp(button, shift, x, y);
    }
    DefaultHandler(message);
}

void TControl::WMMouseMove(TMessage& message) {
    if (Application) Application->HintMouseMessage(this, message);
    MouseMove(MouseShiftState(message.WParam), message.XPos(), message.YPos());
    DefaultHandler(message);
}

void TControl::WMMouseWheel(TMessage& message) {
    const TShiftState shift = MouseShiftState(GET_KEYSTATE_WPARAM(message.WParam));
    const TPoint pos{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(message.WParam), pos)) {
        message.Result = 1;
        return;
    }
    // Not used here: the parent may scroll.
    if (FParent) message.Result = FParent->Perform(message.Msg, message.WParam, message.LParam);
    else DefaultHandler(message);
}

void TControl::WMContextMenu(TMessage& message) {
    TPoint screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (screen.X == -1 && screen.Y == -1) screen = ClientToScreen({0, 0});
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, ScreenToClient(screen), handled);
    if (handled) return;
    if (!ShowPopupMenu(screen)) DefaultHandler(message);
}

bool TControl::ShowPopupMenu(TPoint screenPoint) {
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return false;
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(screenPoint.X, screenPoint.Y);
    return true;
}

void TControl::CMMouseEnter(TMessage& message) {
    (void)message;
    FControlState |= csMouseInside;
    FireEvent(OnMouseEnter, this);
}

void TControl::CMMouseLeave(TMessage& message) {
    (void)message;
    FControlState &= ~csMouseInside;
    if (Application && Application->HintControl() == this) Application->CancelHint();
    FireEvent(OnMouseLeave, this);
}

// ---- TWinControl ----

const TPropertyList& TWinControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TControl::Published())
        .Add(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
        .Add(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Add(L"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false)
        .Add(L"ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground, false)
        .Add(L"Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D, true)
        .Event(L"OnKeyDown", &TWinControl::OnKeyDown)
        .Event(L"OnKeyUp", &TWinControl::OnKeyUp)
        .Event(L"OnKeyPress", &TWinControl::OnKeyPress)
        .Event(L"OnEnter", &TWinControl::OnEnter)
        .Event(L"OnExit", &TWinControl::OnExit);
    return list;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    // From here on only this class's handlers may run: the derived parts are gone.
    WindowProc = [this](TMessage& message) { TWinControl::WndProc(message); };
    // Children owned elsewhere lose their parent; their windows die with ours.
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    DestroyHandle();
    // Leave the parent here, while this is still a windowed control: by ~TControl it is
    // not, and the parent would keep it in its tab list.
    if (FParent) FParent->RemoveControl(this);
    if (FBrush) ::DeleteObject(FBrush);
}

TWinControl* TWinControl::FindControl(HWND handle) {
    if (!handle) return nullptr;
    // Another process's window may carry the same property, with its own pointer.
    DWORD process = 0;
    ::GetWindowThreadProcessId(handle, &process);
    if (process != ::GetCurrentProcessId()) return nullptr;
    return static_cast<TWinControl*>(::GetPropW(handle, ControlProperty));
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams{};
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle & csAcceptsControls) params.Style |= WS_CLIPCHILDREN;
    if (Visible() && !(FControlState & csCreating)) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = FParent ? FParent->FHandle : FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = ::DefWindowProcW;
    params.WindowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClassName) {
    WNDCLASSW system{};
    if (!::GetClassInfoW(nullptr, systemClassName, &system))
        RaiseLastOSError(std::wstring(L"Cannot find the window class ") + systemClassName);
    const DWORD keep = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.style = (params.WindowClass.style & keep) | (system.style & ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS));
    params.WindowClass.lpfnWndProc = system.lpfnWndProc;
    params.WindowClass.cbClsExtra = system.cbClsExtra;
    params.WindowClass.cbWndExtra = system.cbWndExtra;
    params.WindowClass.hCursor = system.hCursor;
    params.WindowClass.hbrBackground = system.hbrBackground;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    FDefWndProc = params.WindowClass.lpfnWndProc;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (!::GetClassInfoW(instance, params.WinClassName.c_str(), &existing)) {
        WNDCLASSW cls = params.WindowClass;
        cls.hInstance = instance;
        cls.lpfnWndProc = ControlWindowProc;
        cls.lpszClassName = params.WinClassName.c_str();
        if (!::RegisterClassW(&cls)) RaiseLastOSError(L"Cannot register the window class " + params.WinClassName);
    }
    CreatingControl = this;
    TWinControl* const outer = CreatingWindow;
    CreatingWindow = this;
    const HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(NextChildId()) : nullptr;
    HWND window = ::CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                    params.Style, params.X, params.Y, params.Width, params.Height,
                                    params.WndParent, id, instance, nullptr);
    CreatingControl = nullptr;
    CreatingWindow = outer;
    if (!window) RaiseLastOSError(L"Cannot create the window of " + ClassName());
    FHandle = window;
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    FControlState |= csCreating;
    try {
        CreateWnd();
    } catch (...) {
        FControlState &= ~csCreating;
        throw;
    }
    FControlState &= ~csCreating;
    ApplyWindowFont();
    CreateWindowHandleDone();
    UpdateBoundsFromWindow();
    for (TWinControl* child : FTabList) {
        if (child->Visible()) child->HandleNeeded();
    }
    // Tab order is the z-order of the children's windows.
    HWND after = HWND_TOP;
    for (TWinControl* child : FTabList) {
        if (!child->FHandle) continue;
        ::SetWindowPos(child->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child->FHandle;
    }
    UpdateShowing();
    Realign();
    TellShowing();
}

void TWinControl::DestroyWnd() {
    FText = GetText();
    ::DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    for (TWinControl* child : FTabList) child->DestroyHandle();
    // A window made again at once keeps its shown state; one that goes is no longer shown.
    if (FShowingTold && !(FControlState & csRecreating) && !(ComponentState() & csDestroying)) {
        FShowingTold = false;
        Perform(CM_SHOWINGCHANGED);
    }
    FControlState |= csDestroyingHandle;
    DestroyWnd();
    FControlState &= ~csDestroyingHandle;
    if (FHandle) {
        ::RemovePropW(FHandle, ControlProperty);
        FHandle = nullptr;
    }
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    FControlState |= csRecreating;
    DestroyHandle();
    FControlState &= ~csRecreating;
    if (!FParent || FParent->HandleAllocated()) HandleNeeded();
}

void TWinControl::SetParentWindow(HWND value) {
    if (value == FParentWindow) return;
    FParentWindow = value;
    if (!FParent && FHandle) RecreateWnd();
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    // The window belongs to the old parent's window: it is made again under the new one.
    if (FHandle && !(ComponentState() & csDestroying)) DestroyHandle();
    TControl::SetParent(parent);
    if (parent && parent->HandleAllocated() && Visible() && !(ComponentState() & csLoading)) HandleNeeded();
}

void MoveWindowToParent(TWinControl* control, TWinControl* parent) {
    if (!control || parent == control->Parent()) return;
    if (!control->HandleAllocated() || (parent && !parent->HandleAllocated())) {
        control->SetParent(parent);
        return;
    }
    const HWND window = control->Handle();
    // The plain SetParent would destroy the window; only the control lists change here.
    control->TControl::SetParent(parent);
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if (parent) style = (style | WS_CHILD) & ~LONG_PTR(WS_POPUP);
    else style = (style | WS_POPUP) & ~LONG_PTR(WS_CHILD);
    // Child first when it becomes one: SetParent of a pop-up would make it owned, not a child.
    if (parent) ::SetWindowLongPtrW(window, GWL_STYLE, style);
    ::SetParent(window, parent ? parent->Handle() : control->ParentWindow());
    if (!parent) ::SetWindowLongPtrW(window, GWL_STYLE, style);
    ::SetWindowPos(window, HWND_TOP, control->Left(), control->Top(), control->Width(), control->Height(),
                   SWP_NOACTIVATE | SWP_FRAMECHANGED | (control->Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

bool TWinControl::InsertDescribedChild(TComponent* child) {
    if (auto* control = dynamic_cast<TControl*>(child)) control->SetParent(this);
    return true;
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) FTabList.push_back(win);
    control->RememberAnchorOrigin();
    if (!(control->ComponentState() & csLoading)) {
        if (control->FParentFont) control->Perform(CM_PARENTFONTCHANGED);
        if (control->FParentColor) control->Perform(CM_PARENTCOLORCHANGED);
        if (control->FParentShowHint) control->Perform(CM_PARENTSHOWHINTCHANGED);
    }
    Perform(CM_CONTROLCHANGE, WPARAM(control), 1);
    if (control->Align() != alNone || control->Anchors() != DefaultAnchors) Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (Application && Application->CaptureControl() == control) Application->SetCaptureControl(nullptr);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    if (auto* win = dynamic_cast<TWinControl*>(control))
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    control->FParent = nullptr;
    if (TCustomForm* form = ParentForm()) form->ControlRemoved(control);
    if (!(ComponentState() & csDestroying)) {
        Perform(CM_CONTROLCHANGE, WPARAM(control), 0);
        Realign();
    }
}

bool TWinControl::ContainsControl(const TControl* control) const {
    while (control && control != this) control = control->Parent();
    return control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& point, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* control = *it;
        if (control->Visible() && (allowDisabled || control->Enabled()) && control->BoundsRect().Contains(point))
            return control;
    }
    return nullptr;
}

TRect TWinControl::ClientRect() const {
    if (FHandle) {
        RECT rect;
        ::GetClientRect(FHandle, &rect);
        return {rect.left, rect.top, rect.right, rect.bottom};
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
    if (FHandle) {
        POINT point{0, 0};
        ::ClientToScreen(FHandle, &point);
        return {point.x, point.y};
    }
    return TControl::ClientOrigin();
}

bool TWinControl::Showing() const {
    if (FHandle) return ::IsWindowVisible(FHandle) != FALSE;
    return TControl::Showing();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!FHandle) {
        TControl::SetBounds(left, top, width, height);
        return;
    }
    width = ClampSize(width);
    height = ClampSize(height);
    Constraints()->Apply(width, height);
    const TRect before = BoundsRect();
    if (left != FLeft || top != FTop || width != FWidth || height != FHeight) {
        // The window tells us the outcome through WM_WINDOWPOSCHANGED.
        ::SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (left != FLeft || top != FTop || width != FWidth || height != FHeight) {
            // Minimized or otherwise unmoved: keep the asked bounds anyway.
            const bool sized = width != FWidth || height != FHeight;
            FLeft = left; FTop = top; FWidth = width; FHeight = height;
            BoundsChanged(sized);
        }
    }
    RememberAnchorOrigin();
    RequestAlign();
    if (FParent && !(FControlState & csPlacing) && BoundsRect() != before) FParent->ControlBoundsChanged(this);
}

void TWinControl::UpdateWindowBounds() {
    if (FHandle)
        ::SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!FHandle || ::IsIconic(FHandle)) return;
    RECT rect;
    ::GetWindowRect(FHandle, &rect);
    HWND parent = ::GetParent(FHandle);
    if (parent && (::GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (rect.left == FLeft && rect.top == FTop && width == FWidth && height == FHeight) return;
    const bool sized = width != FWidth || height != FHeight;
    FLeft = rect.left; FTop = rect.top; FWidth = width; FHeight = height;
    BoundsChanged(sized);
}

void TWinControl::BoundsChanged(bool sizeChanged) {
    if (sizeChanged) Realign();
    TControl::BoundsChanged(sizeChanged);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Layout waited for the description to be read.
    Realign();
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || (ComponentState() & csLoading)) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    AlignAll();
}

void TWinControl::AlignAll() {
    if (FControlState & csAligning) return;
    FControlState |= csAligning;
    try {
        TRect rect = ClientRect();
        AdjustClientRect(rect);
        AlignControls(nullptr, rect);
    } catch (...) {
        FControlState &= ~csAligning;
        throw;
    }
    FControlState &= ~csAligning;
}

// A child placed by the layout keeps its anchor origin, and, being a windowed control
// whose size changed, lays out its own children in turn (its csAligning stays clear).
void TWinControl::PlaceChild(TControl* child, int left, int top, int width, int height) {
    child->FControlState |= csPlacing;
    try {
        child->SetAlignedBounds(left, top, width, height);
    } catch (...) {
        child->FControlState &= ~csPlacing;
        throw;
    }
    child->FControlState &= ~csPlacing;
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    (void)control;
    // The layout works on a snapshot: its indexes refer to this copy of the list.
    const std::vector<TControl*> controls = FControls;
    std::vector<TLayoutChild> children(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TControl* child = controls[i];
        TLayoutChild& c = children[i];
        c.Align = child->Align();
        c.Anchors = child->Anchors();
        c.Visible = child->Visible();
        c.Bounds = child->BoundsRect();
        c.WithMargins = child->AlignWithMargins();
        const TMargins* margins = child->Margins();
        c.Margins = {margins->Left(), margins->Top(), margins->Right(), margins->Bottom()};
        const TSizeConstraints* limits = child->Constraints();
        c.MinWidth = limits->MinWidth();
        c.MinHeight = limits->MinHeight();
        c.MaxWidth = limits->MaxWidth();
        c.MaxHeight = limits->MaxHeight();
        c.AnchorValid = child->FAnchorValid;
        c.AnchorBounds = child->FAnchorBounds;
        c.AnchorParentSize = child->FAnchorParentSize;
    }
    const TRect client = ClientRect();
    for (const TLayoutPlace& place : ArrangeChildren(children, rect, {client.Width(), client.Height()})) {
        const TRect& r = place.Bounds;
        PlaceChild(controls[place.Index], r.Left, r.Top, r.Width(), r.Height());
    }
}

void TWinControl::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    RecreateWnd();
    Invalidate();
}

void TWinControl::SetTabStop(bool value) {
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle) {
        LONG style = ::GetWindowLongW(FHandle, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        ::SetWindowLongW(FHandle, GWL_STYLE, style);
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!FParent) return;
    auto& list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, int(list.size()));
    list.insert(list.begin() + value, this);
}

bool TWinControl::Focused() const {
    return FHandle && ::GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = ParentForm()) {
        if (form != this) form->SetActiveControl(this);
    }
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

std::vector<TWinControl*> TWinControl::TabOrderList(bool nested) const {
    std::vector<TWinControl*> result;
    for (TWinControl* child : FTabList) {
        result.push_back(child);
        if (nested) {
            auto inner = child->TabOrderList(true);
            result.insert(result.end(), inner.begin(), inner.end());
        }
    }
    return result;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
    const auto list = TabOrderList(true);
    if (list.empty()) return nullptr;
    const int count = int(list.size());
    int start = int(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == count) start = forward ? count - 1 : 0;
    for (int step = 1; step <= count; ++step) {
        const int index = ((forward ? start + step : start - step) % count + count) % count;
        TWinControl* candidate = list[size_t(index)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop())) return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

std::wstring TWinControl::GetText() const {
    if (!FHandle) return FText;
    const int length = ::GetWindowTextLengthW(FHandle);
    std::wstring text(size_t(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(FHandle, text.data(), length + 1);
    text.resize(size_t(std::max(copied, 0)));
    return text;
}

void TWinControl::SetText(const std::wstring& value) {
    if (!FHandle) {
        TControl::SetText(value);
        return;
    }
    if (value == GetText()) return;
    ::SetWindowTextW(FHandle, value.c_str());
    FText = value;
    Perform(CM_TEXTCHANGED);
    // A window we paint ourselves shows its caption only when painted again.
    if (FDefWndProc == ::DefWindowProcW) Invalidate();
}

void TWinControl::Invalidate() {
    if (FHandle) ::InvalidateRect(FHandle, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update() {
    if (FHandle) ::UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::ChangeScale(int m, int d) {
    if (m == d || m <= 0 || d <= 0) return;
    DisableAlign();
    // The control before its children: their anchor distances are then taken against
    // the scaled client area.
    TControl::ChangeScale(m, d);
    for (TControl* child : FControls) child->ChangeScale(m, d);
    EnableAlign();
}

void TWinControl::SetEnabled(bool value) {
    if (value == Enabled()) return;
    TControl::SetEnabled(value);
    if (FHandle) ::EnableWindow(FHandle, value);
}

void TWinControl::SetVisible(bool value) {
    if (value == Visible()) return;
    TControl::SetVisible(value);
    // A control shown in a window that exists gets its own window now.
    if (value && !FHandle && FParent && FParent->HandleAllocated() && !HasState(csLoading)) HandleNeeded();
    UpdateShowing();
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* child : std::vector<TControl*>(FControls)) {
        message.Result = child->Perform(message.Msg, message.WParam, message.LParam);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    for (TControl* child : std::vector<TControl*>(FControls)) child->Perform(msg);
}

void TWinControl::FontChanged() {
    ApplyWindowFont();
    TControl::FontChanged();
}

void TWinControl::ApplyWindowFont() {
    if (FHandle) ::SendMessageW(FHandle, WM_SETFONT, WPARAM(Font()->Handle()), TRUE);
}

void TWinControl::ColorChanged() {
    Invalidate();
}

HBRUSH TWinControl::ColorBrush() {
    if (!FBrush || FBrushColor != Color()) {
        if (FBrush) ::DeleteObject(FBrush);
        FBrush = ::CreateSolidBrush(COLORREF(ColorToRGB(Color())));
        FBrushColor = Color();
    }
    return FBrush;
}

void TWinControl::UpdateShowing() {
    if (!FHandle) return;
    const bool visible = Visible();
    if (bool(::IsWindowVisible(FHandle)) == visible && (::GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) == (visible ? WS_VISIBLE : 0u))
        return;
    if (::GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD)
        ::ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::WndProc(TMessage& message) {
    if (Drag.Source == this && DragMessage(message)) return;
    // A windowed control hands mouse messages over its graphic children to them.
    if ((message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) && message.Msg != WM_MOUSEWHEEL &&
        message.Msg != WM_MOUSEHWHEEL) {
        TControl* target = nullptr;
        TControl* captured = Application ? Application->CaptureControl() : nullptr;
        if (captured && captured->Parent() == this && !dynamic_cast<TWinControl*>(captured)) {
            target = captured;
        } else if (!captured || captured == this) {
            TControl* hit = ControlAtPos({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
            if (hit && !dynamic_cast<TWinControl*>(hit)) target = hit;
        }
        if (Application) Application->TrackMouseControl(target ? target : this);
        if (target) {
            const LPARAM lParam = MAKELPARAM(GET_X_LPARAM(message.LParam) - target->Left(),
                                             GET_Y_LPARAM(message.LParam) - target->Top());
            message.Result = target->Perform(message.Msg, message.WParam, lParam);
            if (message.Msg == WM_MOUSEMOVE && !FTrackingMouse) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
                FTrackingMouse = ::TrackMouseEvent(&track) != FALSE;
            }
            return;
        }
    }
    TControl::WndProc(message);
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT: WMPaint(message); return;
        case WM_ERASEBKGND: WMEraseBkgnd(message); return;
        case WM_SIZE: WMSize(message); return;
        case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); return;
        case WM_SETFOCUS: WMSetFocus(message); return;
        case WM_KILLFOCUS: WMKillFocus(message); return;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(message); return;
        case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(message); return;
        case WM_CHAR: WMChar(message); return;
        case WM_SYSCHAR: WMSysChar(message); return;
        case CM_DIALOGCHAR: CMDialogChar(message); return;
        case WM_SETCURSOR: WMSetCursor(message); return;
        case WM_COMMAND: WMCommand(message); return;
        case WM_NOTIFY: WMNotify(message); return;
        case WM_HSCROLL: case WM_VSCROLL: WMScroll(message); return;
        case WM_DRAWITEM: WMDrawItem(message); return;
        case WM_MEASUREITEM: WMMeasureItem(message); return;
        case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: WMCtlColor(message); return;
        case CN_CTLCOLORBTN: case CN_CTLCOLOREDIT: case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORSCROLLBAR: case CN_CTLCOLORSTATIC: CNCtlColor(message); return;
        case WM_NCDESTROY: WMNCDestroy(message); return;
        case WM_MOUSELEAVE: {
            FTrackingMouse = false;
            // Moving into a child window also "leaves" this one; only a mouse that was
            // over this window or one of its graphic children has really gone.
            TControl* current = Application ? Application->MouseControl() : nullptr;
            if (current && (current == this || (current->Parent() == this && !dynamic_cast<TWinControl*>(current))))
                Application->TrackMouseControl(nullptr);
            DefaultHandler(message);
            return;
        }
        case WM_MOUSEMOVE:
            if (!FTrackingMouse && FHandle) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
                FTrackingMouse = ::TrackMouseEvent(&track) != FALSE;
            }
            TControl::Dispatch(message);
            return;
        case CM_DIALOGKEY: CMDialogKey(message); return;
        case CM_FOCUSCHANGED:
            Broadcast(message);
            message.Result = 0;
            return;
        case CM_RECREATEWND: CMRecreateWnd(message); return;
        case CM_WANTSPECIALKEY: message.Result = WantsKey(WORD(message.WParam)) ? 1 : 0; return;
        default: TControl::Dispatch(message);
    }
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!FHandle) {
        TControl::DefaultHandler(message);
        return;
    }
    message.Result = ::CallWindowProcW(FDefWndProc ? FDefWndProc : ::DefWindowProcW, FHandle, message.Msg,
                                       message.WParam, message.LParam);
}

bool TWinControl::WantsKey(WORD key) {
    (void)key;
    return false;
}

void TWinControl::WMPaint(TMessage& message) {
    const bool ownPainting = FDefWndProc == ::DefWindowProcW;
    if (!ownPainting && FControls.empty()) {
        DefaultHandler(message);
        return;
    }
    PaintHandler(message);
}

void TWinControl::PaintHandler(TMessage& message) {
    HDC given = reinterpret_cast<HDC>(message.WParam);
    std::optional<TPaintScope> painting;
    if (!given) painting.emplace(FHandle);
    HDC dc = given ? given : painting->Handle();
    if (FDoubleBuffered && !given) {
        RECT client;
        ::GetClientRect(FHandle, &client);
        TOffscreenBuffer buffer(dc, client.right, client.bottom);
        if (buffer) {
            EraseBackground(buffer.Handle());
            PaintWindow(buffer.Handle());
            PaintControls(buffer.Handle(), nullptr);
            buffer.CopyTo(dc);
            return;
        }
    }
    PaintWindow(dc);
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC dc) {
    if (FDefWndProc != ::DefWindowProcW) {
        TMessage message{WM_PAINT, WPARAM(dc), 0, 0};
        DefaultHandler(message);
    }
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = FControls.begin();
    if (first) it = std::find(FControls.begin(), FControls.end(), first);
    for (; it != FControls.end(); ++it) {
        TControl* control = *it;
        if (dynamic_cast<TWinControl*>(control) || !control->Visible()) continue;
        RECT clip;
        if (::GetClipBox(dc, &clip) != ERROR) {
            RECT bounds{control->Left(), control->Top(), control->Left() + control->Width(), control->Top() + control->Height()};
            RECT overlap;
            if (!::IntersectRect(&overlap, &bounds, &clip)) continue;
        }
        const int saved = ::SaveDC(dc);
        ::SetViewportOrgEx(dc, control->Left(), control->Top(), nullptr);
        ::IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
        try {
            control->Perform(WM_PAINT, WPARAM(dc), 0);
        } catch (...) {
            ::RestoreDC(dc, saved);
            throw;
        }
        ::RestoreDC(dc, saved);
    }
}

void TWinControl::EraseBackground(HDC dc) {
    RECT rect;
    if (FHandle) ::GetClientRect(FHandle, &rect);
    else rect = RECT{0, 0, Width(), Height()};
    ::FillRect(dc, &rect, ColorBrush());
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    if (FDefWndProc != ::DefWindowProcW) {
        DefaultHandler(message);
        return;
    }
    // Double-buffered painting erases in the buffer; opaque controls cover everything.
    if (!FDoubleBuffered && !(ControlStyle() & csOpaque) && message.WParam)
        EraseBackground(reinterpret_cast<HDC>(message.WParam));
    message.Result = 1;
}

void TWinControl::WMSize(TMessage& message) {
    DefaultHandler(message);
    UpdateBoundsFromWindow();
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    DefaultHandler(message);
    UpdateBoundsFromWindow();
    const auto* position = reinterpret_cast<const WINDOWPOS*>(message.LParam);
    if (position && (position->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) TellShowing();
}

void TWinControl::TellShowing() {
    const bool showing = FHandle && ::IsWindowVisible(FHandle);
    if (showing != FShowingTold) {
        FShowingTold = showing;
        Perform(CM_SHOWINGCHANGED);
    }
    for (TWinControl* child : std::vector<TWinControl*>(FTabList)) child->TellShowing();
}

void TWinControl::WMSetFocus(TMessage& message) {
    DefaultHandler(message);
    if (TCustomForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
    DoEnter();
}

void TWinControl::WMKillFocus(TMessage& message) {
    DefaultHandler(message);
    DoExit();
}

void TWinControl::DoEnter() { FireEvent(OnEnter, this); }
void TWinControl::DoExit() { FireEvent(OnExit, this); }

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

namespace {

// Hands a key to the form first when it previews keys, then to the control; a step that
// sets the key to 0 consumes it. True when the key (maybe changed) goes on to the window.
template <class TKey, class TStep>
bool DeliverKey(TWinControl* control, TMessage& message, TStep step) {
    TKey key = TKey(message.WParam);
    if (TCustomForm* form = control->ParentForm(); form && form != control && form->KeyPreview()) {
        step(form, key);
        if (key == 0) return false;
    }
    step(control, key);
    if (key == 0) return false;
    message.WParam = key;
    return true;
}

}  // namespace

void TWinControl::WMKeyDown(TMessage& message) {
    if (DeliverKey<WORD>(this, message, [](TWinControl* to, WORD& key) { to->KeyDown(key, KeyboardShiftState()); }))
        DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
    if (DeliverKey<WORD>(this, message, [](TWinControl* to, WORD& key) { to->KeyUp(key, KeyboardShiftState()); }))
        DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
    if (!DeliverKey<wchar_t>(this, message, [](TWinControl* to, wchar_t& key) { to->KeyPress(key); })) return;
    // A character the control does not type (a button, a panel) may be another control's
    // accelerator, as in a dialog; a control that takes characters keeps them.
    const LRESULT code = FHandle ? ::SendMessageW(FHandle, WM_GETDLGCODE, message.WParam, 0) : 0;
    if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_HASSETSEL)) && message.WParam > L' ' && DialogChar(message))
        return;
    DefaultHandler(message);
}

void TWinControl::WMSysChar(TMessage& message) {
    // Alt with a letter: a control's accelerator, else the system's (menus, the beep).
    if (DialogChar(message)) return;
    DefaultHandler(message);
}

bool TWinControl::DialogChar(const TMessage& message) {
    TCustomForm* form = ParentForm();
    TWinControl* target = form ? static_cast<TWinControl*>(form) : this;
    return target->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0;
}

void TWinControl::CMDialogChar(TMessage& message) {
    Broadcast(message);
}

bool IsAccel(wchar_t key, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;  // "&&" is an ampersand, not a mark
            continue;
        }
        const auto upper = [](wchar_t c) {
            return wchar_t(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(c)))));
        };
        return upper(caption[i + 1]) == upper(key);
    }
    return false;
}

void TWinControl::WMSetCursor(TMessage& message) {
    if (LOWORD(message.LParam) == HTCLIENT && reinterpret_cast<HWND>(message.WParam) == FHandle) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            POINT point;
            ::GetCursorPos(&point);
            ::ScreenToClient(FHandle, &point);
            const TControl* control = ControlAtPos({point.x, point.y});
            cursor = (control && !dynamic_cast<const TWinControl*>(control)) ? control->Cursor() : Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen->Cursors(cursor));
            message.Result = TRUE;
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMCommand(TMessage& message) {
    if (message.LParam) {
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(message.LParam))) {
            message.Result = child->Perform(CN_COMMAND, message.WParam, message.LParam);
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMNotify(TMessage& message) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header) {
        if (TWinControl* child = FindControl(header->hwndFrom)) {
            message.Result = child->Perform(CN_NOTIFY, message.WParam, message.LParam);
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMScroll(TMessage& message) {
    if (message.LParam) {
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(message.LParam))) {
            message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMDrawItem(TMessage& message) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (item && item->CtlType != ODT_MENU) {
        if (TWinControl* child = FindControl(item->hwndItem)) {
            message.Result = child->Perform(CN_DRAWITEM, message.WParam, message.LParam);
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMMeasureItem(TMessage& message) {
    const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
    if (item && item->CtlType != ODT_MENU) {
        // The child's window is not known yet when a list asks during its creation.
        HWND child = ::GetDlgItem(FHandle, int(item->CtlID));
        TWinControl* control = child ? FindControl(child) : nullptr;
        if (!control && CreatingWindow && CreatingWindow->Parent() == this) control = CreatingWindow;
        if (control) {
            message.Result = control->Perform(CN_MEASUREITEM, message.WParam, message.LParam);
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMCtlColor(TMessage& message) {
    if (TWinControl* child = FindControl(reinterpret_cast<HWND>(message.LParam))) {
        message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::CNCtlColor(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    ::SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
    ::SetBkColor(dc, COLORREF(ColorToRGB(Color())));
    message.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::WMNCDestroy(TMessage& message) {
    DefaultHandler(message);
    FTrackingMouse = false;
}

void TWinControl::CMDialogKey(TMessage& message) {
    // Children get the key first (default buttons, tab navigation of inner panels).
    for (TWinControl* child : std::vector<TWinControl*>(FTabList)) {
        if (child->Visible() && child->Enabled()) {
            message.Result = child->Perform(CM_DIALOGKEY, message.WParam, message.LParam);
            if (message.Result) return;
        }
    }
}

void TWinControl::CMRecreateWnd(TMessage& message) {
    (void)message;
    RecreateWnd();
}

// ---- canvases, TCustomControl, TGraphicControl ----

void TControlCanvas::CreateHandle() {
    TWinControl* window = dynamic_cast<TWinControl*>(FControl);
    TPoint offset{0, 0};
    if (!window) {
        window = FControl->Parent();
        offset = {FControl->Left(), FControl->Top()};
    }
    if (!window || !window->HandleAllocated()) {
        // Measuring before the window exists (or headless): a DC like the screen's.
        FWindowDC = ::CreateCompatibleDC(nullptr);
        FMemoryDC = true;
    } else {
        FWindow = window->Handle();
        FWindowDC = ::GetDCEx(FWindow, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        FMemoryDC = false;
        if (FWindowDC) ::SetViewportOrgEx(FWindowDC, offset.X, offset.Y, nullptr);
    }
    if (FWindowDC) SetHandle(FWindowDC);
}

void TControlCanvas::ReleaseWindowDC() {
    if (!FWindowDC) return;
    if (HandleAllocated()) SetHandle(nullptr);
    if (FMemoryDC) ::DeleteDC(FWindowDC);
    else ::ReleaseDC(FWindow, FWindowDC);
    FWindowDC = nullptr;
    FWindow = nullptr;
    FMemoryDC = false;
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    FCanvas->ReleaseWindowDC();
}

TCanvas* TCustomControl::Canvas() const { return FCanvas.get(); }

void TCustomControl::CreateWnd() {
    // A measuring DC taken before the window existed is not the window's.
    FCanvas->ReleaseWindowDC();
    TWinControl::CreateWnd();
}

void TCustomControl::DestroyWnd() {
    FCanvas->ReleaseWindowDC();
    TWinControl::DestroyWnd();
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
    ReleaseWindowDC();
    Lock();
    SetHandle(dc);
    Font()->Assign(FControl->Font());
    Brush()->SetColor(FControl->Color());
    struct TDetach {
        TControlCanvas* Canvas;
        ~TDetach() { Canvas->SetHandle(nullptr); Canvas->Unlock(); }
    } detach{this};
    paint();
}

void TCustomControl::PaintWindow(HDC dc) {
    FCanvas->PaintOn(dc, [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
    FCanvas->ReleaseWindowDC();
}

TCanvas* TGraphicControl::Canvas() const { return FCanvas.get(); }

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        WMPaint(message);
        return;
    }
    TControl::Dispatch(message);
}

void TGraphicControl::WMPaint(TMessage& message) {
    if (!message.WParam) return;
    FCanvas->PaintOn(reinterpret_cast<HDC>(message.WParam), [this] { Paint(); });
}

}  // namespace ClassLib
