#pragma once
// Controls over user32 windows. TControl keeps bounds, alignment, colours and events and
// works without any window; TWinControl makes its window on demand and dispatches its
// messages; TCustomControl paints on a canvas; TGraphicControl paints on its parent.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Colors.h"
#include "classlib/ControlLayout.h"
#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/WindowDescription.h"

namespace ClassLib {

class TBasicAction;
class TControl;
class TControlActionLink;
class TFont;
class TPopupMenu;
class TWinControl;
class TCustomForm;

// One window message as the handlers of a control see it.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    int XPos() const { return static_cast<short>(LOWORD(LParam)); }
    int YPos() const { return static_cast<short>(HIWORD(LParam)); }
};

// The library's own messages, sent between controls (never by the system).
constexpr UINT CM_BASE = 0xB000;
enum : UINT {
    CM_ACTIVATE = CM_BASE,
    CM_DEACTIVATE,
    CM_DIALOGKEY,             // WParam: virtual key; Result 1 when a control used it
    CM_DIALOGCHAR,            // WParam: character; Result 1 when used (mnemonics)
    CM_WANTSPECIALKEY,        // WParam: virtual key; Result 1 when the control takes it itself
    CM_MOUSEENTER,
    CM_MOUSELEAVE,
    CM_HINTSHOW,              // LParam: THintInfo*; Result 1 cancels the hint
    CM_ENABLEDCHANGED,
    CM_VISIBLECHANGED,
    CM_COLORCHANGED,
    CM_FONTCHANGED,
    CM_PARENTCOLORCHANGED,
    CM_PARENTFONTCHANGED,
    CM_TEXTCHANGED,
    CM_SHOWHINTCHANGED,
    CM_PARENTSHOWHINTCHANGED,
    CM_CURSORCHANGED,
    CM_ENTER,
    CM_EXIT,
    CM_FOCUSCHANGED,          // LParam: the control that got the focus
    CM_RELEASE,               // a form frees itself once its handlers have returned
    CM_RECREATEWND,
    CM_INVALIDATE,
    CM_CONTROLCHANGE,         // WParam: control; LParam: 1 inserted, 0 removed
    CM_TABSTOPCHANGED,
    CM_CANCELMODE,
    CM_SYSCOLORCHANGE,
    CM_BUTTONPRESSED,
    CM_SHOWINGCHANGED,        // a windowed control's window became shown or hidden on the screen
};
// The visual style of the application changed; the number is fixed, controls compare it.
constexpr UINT CM_STYLECHANGED = CM_BASE + 53;

// Notifications a parent reflects back to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : std::uint32_t {
    ssShift = 1u << 0, ssAlt = 1u << 1, ssCtrl = 1u << 2,
    ssLeft = 1u << 3, ssRight = 1u << 4, ssMiddle = 1u << 5, ssDouble = 1u << 6,
};
using TShiftState = std::uint32_t;  // bits of TShiftStateFlag

// Shift state from the mouse message's key flags, or from the keyboard (through the seam).
TShiftState MouseShiftState(WPARAM keyFlags);
TShiftState KeyboardShiftState();

enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1u << 0, csCaptureMouse = 1u << 1, csClickEvents = 1u << 2,
    csDoubleClicks = 1u << 3, csOpaque = 1u << 4, csReplicatable = 1u << 5,
    csSetCaption = 1u << 6, csFramed = 1u << 7, csNeedsBorderPaint = 1u << 8,
};
using TControlStyle = std::uint32_t;

enum TControlStateFlag : std::uint32_t {
    csLButtonDown = 1u << 0, csClicked = 1u << 1, csFocusing = 1u << 2,
    csCreating = 1u << 3, csAligning = 1u << 4, csMouseInside = 1u << 5,
    csDestroyingHandle = 1u << 6, csRecreating = 1u << 7,
    // Its bounds are being set by the parent's layout (keeps its anchor origin).
    csPlacing = 1u << 8,
};
using TControlState = std::uint32_t;

using TCursor = short;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                  crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                  crHSplit = -14, crVSplit = -15, crNo = -18, crAppStart = -19,
                  crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(TObject* sender, TShiftState shift, int wheelDelta,
                                            TPoint mousePos, bool& handled)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;

// Dragging one control's data onto another inside the program.
enum TDragMode { dmManual, dmAutomatic };
template <> struct TEnumNames<TDragMode> {
    static constexpr const wchar_t* TypeName = L"TDragMode";
    static constexpr const wchar_t* Names[] = {L"dmManual", L"dmAutomatic"};
};
// The scroll bars a scrolling control shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
template <> struct TEnumNames<TScrollStyle> {
    static constexpr const wchar_t* TypeName = L"TScrollStyle";
    static constexpr const wchar_t* Names[] = {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"};
};
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
using TStartDragEvent = std::function<void(TObject* sender)>;
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;

// Limits of a control's size; 0 means no limit.
class TSizeConstraints : public TPersistent {
    CLASSLIB_CLASS(TSizeConstraints, TPersistent)
public:
    static const TPropertyList& Published();
    explicit TSizeConstraints(TControl* control = nullptr) : FControl(control) {}
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);
    void Assign(const TPersistent* source) override;
    // The size limited to the constraints.
    void Apply(int& width, int& height) const;
    // Every limit set times m/d, in one change.
    void ChangeScale(int m, int d);
private:
    void Changed();
    TControl* FControl;
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// Space kept around a control aligned with AlignWithMargins.
class TMargins : public TPersistent {
    CLASSLIB_CLASS(TMargins, TPersistent)
public:
    static const TPropertyList& Published();
    explicit TMargins(TControl* control = nullptr) : FControl(control) {}
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Right() const { return FRight; }
    int Bottom() const { return FBottom; }
    void SetLeft(int value) { FLeft = value; Changed(); }
    void SetTop(int value) { FTop = value; Changed(); }
    void SetRight(int value) { FRight = value; Changed(); }
    void SetBottom(int value) { FBottom = value; Changed(); }
    void Assign(const TPersistent* source) override;
    // Every side times m/d, in one change.
    void ChangeScale(int m, int d);
private:
    void Changed();
    TControl* FControl;
    int FLeft = 3, FTop = 3, FRight = 3, FBottom = 3;
};

class TControl : public TComponent, public IDescriptionParent {
    CLASSLIB_CLASS(TControl, TComponent)
public:
    // A control holds no controls in a description; a windowed control does.
    bool InsertDescribedChild(TComponent* child) override;
    static const TPropertyList& Published();
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Messages: Perform sends one through WindowProc, which starts out as WndProc and
    // may be replaced (and put back) by anyone who wants to see the control's messages.
    std::function<void(TMessage&)> WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // Hands the message to the handler of the class chain for its number.
    virtual void Dispatch(TMessage& message);
    // What happens to a message no handler took.
    virtual void DefaultHandler(TMessage& message);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const { return FParent != nullptr; }
    // The form that holds this control (itself for a form), or null.
    TCustomForm* ParentForm() const;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    void SetClientSize(int width, int height) { SetClientWidth(width); SetClientHeight(height); }
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& point) const;
    TPoint ScreenToClient(const TPoint& point) const;
    TPoint ParentToClient(const TPoint& point) const { return {point.X - FLeft, point.Y - FTop}; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    TMargins* Margins() const { return FMargins.get(); }
    bool AlignWithMargins() const { return FAlignWithMargins; }
    void SetAlignWithMargins(bool value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent (up to a top-level window).
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    // The action this control shows and runs on a click (through its action link), or null.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return FActionLink.get(); }

    // Caption and Text are one value; a windowed control keeps it in its window.
    virtual std::wstring GetText() const;
    virtual void SetText(const std::wstring& value);
    std::wstring Caption() const { return GetText(); }
    void SetCaption(const std::wstring& value) { SetText(value); }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    // Starts dragging this control: at once, or once the mouse has moved `threshold`
    // pixels with the button down (-1: the mouse's drag threshold).
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends the drag, dropping on the control under the mouse when `drop` and it accepts.
    void EndDrag(bool drop);
    bool Dragging() const;
    // The control a drag over this screen point would reach, or null.
    static TControl* FindDragTarget(const TPoint& screenPoint);

    // Scales by m/d for a change of pixels per inch: bounds, constraints, margins and a
    // font given in pixels (one given in points already suits the screen). Descendants
    // scale the other pixel sizes they hold, then call this.
    virtual void ChangeScale(int m, int d);

    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // The overridable steps behind the events.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void Resize();
    // A drag over this control: accept tells whether a drop here is taken. Without an
    // OnDragOver handler nothing is accepted.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);
    virtual void DoStartDrag();
    virtual void DoEndDrag(TObject* target, int x, int y);

protected:
    friend class TControlActionLink;
    // The action (or one of its values) changed: the control takes its caption, enabled
    // state, hint and visibility; with checkDefaults only where the control still has its own defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    // The link a new action gets; descendants that follow more of the action make their own.
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();
    // A left press on a control with DragMode dmAutomatic starts a drag (after the threshold).
    virtual void BeginAutoDrag();
    // Mouse messages while this control is dragged; true when the drag used the message.
    bool DragMessage(TMessage& message);
    // The bounds ChangeScale gives this control, from the bounds as they are now.
    virtual TRect ScaledBounds(int m, int d) const;
    // The parent's layout moved this control: bounds change without touching the
    // remembered anchor distances.
    void SetAlignedBounds(int left, int top, int width, int height);
    void RequestAlign();
    // Moves the control's window (if it has one) to the bounds held in the fields.
    virtual void UpdateWindowBounds() {}
    // Called when bounds changed (by code or by the window); realigns and raises OnResize.
    virtual void BoundsChanged(bool sizeChanged);
    // The font changed (by code, a description or the parent). Descendants override this
    // rather than replacing the font's OnChange, which the control itself uses.
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void VisibleChanging() {}
    // Sends `msg` to every child (windowed controls pass it on).
    virtual void NotifyControls(UINT msg) { (void)msg; }
    void Notification(TComponent* component, TOperation operation) override;

    // Message handlers of this class.
    void WMMouseButton(TMessage& message, TMouseButton button, bool down, bool dbl);
    void WMMouseMove(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void WMContextMenu(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentShowHintChanged(TMessage& message);
    // Shows the popup menu at a screen point; true when there was one.
    bool ShowPopupMenu(TPoint screenPoint);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::wstring FText;
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState = 0;
    std::unique_ptr<TFont> FFont;
    TColor FColor = clWindow;

private:
    friend class TWinControl;
    void RememberAnchorOrigin();
    void FontObjectChanged();

    TAlign FAlign = alNone;
    TAnchors FAnchors = DefaultAnchors;
    // Bounds and parent client size when the bounds were last set by code: anchors
    // keep the distances to the parent's edges from here.
    TRect FAnchorBounds;
    TSize FAnchorParentSize;
    bool FAnchorValid = false;
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::unique_ptr<TMargins> FMargins;
    bool FAlignWithMargins = false;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentFont = true;
    bool FParentColor = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    std::wstring FHint;
    TPopupMenu* FPopupMenu = nullptr;
    TDragMode FDragMode = dmManual;
    std::unique_ptr<TControlActionLink> FActionLink;
};

// Window creation parameters: CreateParams fills them, CreateWnd makes the window.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    WNDCLASSW WindowClass{};
    std::wstring WinClassName;
};

class TWinControl : public TControl {
    CLASSLIB_CLASS(TWinControl, TControl)
public:
    static const TPropertyList& Published();
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, made on first use (with its parents' windows first).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window now and makes it again when it is next needed.
    void RecreateWnd();
    // Top-level controls without a parent control may live in a foreign window.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND value);
    // The control whose window this is, or null.
    static TWinControl* FindControl(HWND handle);

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(size_t(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // A control described inside this one gets it as its parent.
    bool InsertDescribedChild(TComponent* child) override;
    bool ContainsControl(const TControl* control) const;
    // The visible (enabled, when asked) child under a client point.
    TControl* ControlAtPos(const TPoint& point, bool allowDisabled = false) const;

    // Sends the message to every child (not their children) until one answers non-zero.
    void Broadcast(TMessage& message);

    // Lays the children out by Align and Anchors.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // The windowed children in tab order (with their own children when `nested`).
    std::vector<TWinControl*> TabOrderList(bool nested = true) const;
    // The next control that can take the focus after `current`, wrapping around.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    // The sunken 3D look of borders (as opposed to flat single lines).
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }

    std::wstring GetText() const override;
    void SetText(const std::wstring& value) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void ChangeScale(int m, int d) override;
    void SetEnabled(bool value) override;
    void SetVisible(bool value) override;
    void Loaded() override;

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void DoEnter();
    virtual void DoExit();

protected:
    virtual void CreateParams(TCreateParams& params);
    // Superclasses a system control: its class's settings and window procedure are used,
    // under this control's own class name.
    void CreateSubClass(TCreateParams& params, const wchar_t* systemClassName);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    void DestroyHandle();
    // The window exists: a place to send it its settings.
    virtual void CreateWindowHandleDone() {}
    // Lays out the children inside `rect`; descendants may change the rectangle first.
    virtual void AlignControls(TControl* control, TRect& rect);
    static void PlaceChild(TControl* child, int left, int top, int width, int height);
    virtual void AdjustClientRect(TRect& rect) const { (void)rect; }
    // A child's bounds were changed by code, not by this control's own layout.
    virtual void ControlBoundsChanged(TControl* control) { (void)control; }
    // Paints the window: PaintWindow on the DC, then the graphic children.
    void PaintHandler(TMessage& message);
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, TControl* first);
    // Fills the background with the control's colour.
    void EraseBackground(HDC dc);
    // Keeps a brush of the control's colour for the parent's WM_CTLCOLOR answer.
    HBRUSH ColorBrush();
    void NotifyControls(UINT msg) override;
    void BoundsChanged(bool sizeChanged) override;
    void UpdateWindowBounds() override;
    void FontChanged() override;
    void ColorChanged() override;
    // The shown state of the window follows Visible and the parents.
    void UpdateShowing();
    // True when the control takes this key itself instead of dialog navigation.
    virtual bool WantsKey(WORD key);

    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMSize(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMSysChar(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMCommand(TMessage& message);
    void WMNotify(TMessage& message);
    void WMScroll(TMessage& message);
    void WMDrawItem(TMessage& message);
    void WMMeasureItem(TMessage& message);
    void WMCtlColor(TMessage& message);
    void WMNCDestroy(TMessage& message);
    void CNCtlColor(TMessage& message);
    void CMDialogKey(TMessage& message);
    // Accelerators: the children are asked in turn, each passing it on to its own.
    void CMDialogChar(TMessage& message);
    // Offers a typed character to the form as an accelerator; true when a control took it.
    bool DialogChar(const TMessage& message);
    void CMRecreateWnd(TMessage& message);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void UpdateBoundsFromWindow();
    void ApplyWindowFont();
    void AlignAll();
    // Sends CM_SHOWINGCHANGED to this control and its windowed children whose window's
    // shown state differs from the one they were last told.
    void TellShowing();

    HWND FParentWindow = nullptr;
    std::vector<TControl*> FControls;     // children, back to front
    std::vector<TWinControl*> FTabList;   // windowed children in tab order
    int FAlignLevel = 0;
    bool FAlignPending = false;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FParentBackground = false;
    bool FCtl3D = true;
    bool FTrackingMouse = false;
    bool FShowingTold = false;  // the shown state CM_SHOWINGCHANGED last told
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = clNone;
};

// A canvas on a control: inside Paint it draws on the paint DC; elsewhere (measuring
// text, say) it takes the control's window DC on first use, or a screen-compatible memory
// DC while the control has no window, and gives it back on ReleaseWindowDC.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    ~TControlCanvas() override { ReleaseWindowDC(); }
    // Gives the window DC back (before painting, and when the window goes).
    void ReleaseWindowDC();
    // Runs `paint` drawing on a DC the system gave, with the control's font and colour.
    void PaintOn(HDC dc, const std::function<void()>& paint);
protected:
    void CreateHandle() override;
private:
    TControl* FControl;
    HWND FWindow = nullptr;
    HDC FWindowDC = nullptr;
    bool FMemoryDC = false;
};

// A windowed control that paints itself on a canvas in Paint.
class TCustomControl : public TWinControl {
    CLASSLIB_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const;
protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    void CreateWnd() override;
    void DestroyWnd() override;
private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// A control without a window: it paints on its parent's window and gets its mouse
// messages from the parent.
class TGraphicControl : public TControl {
    CLASSLIB_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const;
    void Dispatch(TMessage& message) override;
protected:
    virtual void Paint() {}
private:
    void WMPaint(TMessage& message);
    std::unique_ptr<TControlCanvas> FCanvas;
};

// True when `caption` marks `key` as its accelerator ("&Copy" for c or C; "&&" is a
// plain ampersand). The letter compares without regard to case.
bool IsAccel(wchar_t key, const std::wstring& caption);

// Runs `action`; an exception that escapes it goes to the application's handler.
// Every window procedure, timer and hook of the library calls its work through this.
void CallGuarded(TObject* sender, const std::function<void()>& action) noexcept;

}  // namespace ClassLib
