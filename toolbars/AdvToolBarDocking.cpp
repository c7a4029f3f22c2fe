// The toolbar's side of docking: entering and leaving dock panels, the drag with its own
// message loop, tearing off into a floating window and docking again, the floating
// caption's buttons, and the toolbar's own saved state.
#include "toolbars/AdvToolBar.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvFloatingWindow.h"

namespace AdvToolBar {

using namespace ClassLib;

namespace {

constexpr int TearOffDistance = 26;   // beyond the dock panel, unscaled
constexpr int TargetEnlargement = 15; // dock targets reach this far into the form
constexpr int CaptionGrabOffset = 6;

bool Hit(const TRect& rect, int x, int y) { return rect.Contains({x, y}); }

// A point on no monitor comes into the nearest monitor's work area, with the window's size.
TPoint OnSomeMonitor(TPoint p, int width, int height) {
    const POINT pt{p.X, p.Y};
    if (::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL)) return p;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info)) return p;
    const RECT& work = info.rcWork;
    p.X = std::clamp(p.X, int(work.left), std::max(int(work.left), int(work.right) - width));
    p.Y = std::clamp(p.Y, int(work.top), std::max(int(work.top), int(work.bottom) - height));
    return p;
}

TCustomForm* FormAbove(TControl* control) {
    for (; control; control = control->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(control)) return form;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- entering and leaving panels

TAdvDockPanel* TAdvCustomToolBar::DockPanelOf(TWinControl* parent) const { return dynamic_cast<TAdvDockPanel*>(parent); }

bool TAdvCustomToolBar::IsFloatingWindow(TWinControl* parent) const {
    return parent && dynamic_cast<TFloatingWindow*>(parent) && parent == FFloatingWindow;
}

// The new parent is a dock panel other than the current one: it accepts the toolbar (true)
// or refuses it; docking sets tsDocked, FCurrentDock and FLastDock.
bool TAdvCustomToolBar::AttachToDockPanel(TAdvDockPanel* panel) {
    ReleaseFromDockPanel();
    if (FOldState == tsFloating) {
        if (FTimerID != 0 && HandleAllocated()) ::KillTimer(FHandle, FTimerID);
        FTimerID = 0;
        if (!IsVertical(FPosition)) {
            Constraints()->SetMinHeight(0);
            Constraints()->SetMaxHeight(0);
            SetHeight(FSizeAtDock);
        }
    }
    FToolBarState = tsDocked;
    if (panel->DockToolBar(this) < 0) {
        FToolBarState = FOldState;
        return false;
    }
    if (FLastDock != panel) {
        if (FLastDock) FLastDock->RemoveFreeNotification(this);
        FLastDock = panel;
        panel->FreeNotification(this);
    }
    SetParentStyler(FParentStyler);
    if (FFloatingWindow) FFloatingWindow->Hide();
    return true;
}

// The new parent is the toolbar's floating window: it floats, always horizontal, with its
// caption strip on top.
void TAdvCustomToolBar::AttachToFloatingWindow() {
    FToolBarState = tsFloating;
    ReleaseFromDockPanel();
    if (IsVertical(FPosition)) SetPosition(daTop);
    else SetHeight(Height() + FCaptionHeight);
}

void TAdvCustomToolBar::ReleaseFromDockPanel() {
    TAdvDockPanel* panel = FCurrentDock;
    FCurrentDock = nullptr;
    if (panel) panel->UndockToolBar(this);
}

void TAdvCustomToolBar::AdjustBoundsInDockPanel(int& left, int& top, int& width, int& height) {
    if (FCurrentDock) FCurrentDock->UpdateToolBarBounds(this, left, top, width, height);
}

TCustomAdvToolBarStyler* TAdvCustomToolBar::LastDockPanelStyler() const {
    if (!FLastDock || FLastDock->HasState(csDestroying)) return nullptr;
    return FLastDock->CurrentToolBarStyler();
}

void TAdvCustomToolBar::TellDockPanelVisible() {
    if (FCurrentDock) FCurrentDock->ToolBarVisibleChanged(this);
}

void TAdvCustomToolBar::FloatingWindowFollowsVisible() {
    if (FToolBarState != tsFloating || !FFloatingWindow) return;
    FAutoHiding = Visible();
    FFloatingWindow->SetVisible(Visible());
}

void TAdvCustomToolBar::UpdateDockRows() {
    if (FCurrentDock) FCurrentDock->UpdateToolBarRows();
}

void TAdvCustomToolBar::ArrangeDockRow() {
    if (FCurrentDock) FCurrentDock->ArrangeRowOf(this);
}

void TAdvCustomToolBar::DockPanelFullSizeChanged() {
    if (FCurrentDock) FCurrentDock->ToolBarFullSizeChanged(this);
}

// The floating window follows every re-layout: its size is the toolbar's rows, never one
// the user chose, so keeping a size once set would leave a new row count unshown.
bool TAdvCustomToolBar::FloatingWindowSizedByUser() const { return false; }

void TAdvCustomToolBar::ResizeFloatingWindow() {
    if (FFloatingWindow) FFloatingWindow->SetWindowSize();
}

// A pixel of the dock panel's background image, in panel coordinates.
bool TAdvCustomToolBar::DockImagePixel(int x, int y, TColor& colour) const {
    if (!FCurrentDock) return false;
    TBitmap* image = FCurrentDock->GetDockImage();
    if (!image || x < 0 || y < 0 || x >= image->Width() || y >= image->Height()) return false;
    colour = image->Canvas()->Pixels(x, y);
    return true;
}

TWinControl* TAdvCustomToolBar::DockPanelWindow(TAdvDockPanel* panel) const { return panel; }

void TAdvCustomToolBar::SetAdvDockPanel(TAdvDockPanel* value) { Dock(value); }

void TAdvCustomToolBar::Dock(TAdvDockPanel* newDockSite) {
    if (!newDockSite || newDockSite == FCurrentDock) return;
    // A panel that would refuse the toolbar leaves parent, state and floating window as they are.
    if (!CanDockTo(newDockSite)) return;
    const bool wasFloating = FToolBarState == tsFloating;
    SetParent(newDockSite);
    if (wasFloating && FToolBarState == tsDocked) FreeFloatingWindow();
}

bool TAdvCustomToolBar::CanDockTo(const TAdvDockPanel* panel) const {
    if (!panel || !FDockableTo.Contains(panel->DockAlign())) return false;
    if (panel->LockHeight() && !panel->HasState(csDesigning) && panel->PropertiesLoaded())
        return panel->FindRowForToolBar(this) >= 0;
    return true;
}

TPoint TAdvCustomToolBar::GetPosition() const {
    if (FToolBarState == tsFloating && FFloatingWindow) return {FFloatingWindow->Left(), FFloatingWindow->Top()};
    return {Left(), Top()};
}

// ---------------------------------------------------------------- floating

void TAdvCustomToolBar::MakeFloating(int x, int y, bool usePoint) {
    if (PageHost() || InCompactWindow() || FFloatingWindow || FToolBarState == tsFloating) return;
    // A toolbar never docked follows the form it is on.
    TCustomForm* form = FormAbove(FLastDock ? static_cast<TControl*>(FLastDock) : Parent());
    // Owned by the toolbar: the form would otherwise free it first at its end, and the
    // toolbar would store itself as no longer floating.
    auto* window = new TFloatingWindow(this);
    window->SetBorderStyle(bsNone);
    window->SetCtl3D(false);
    window->SetFormStyle(fsStayOnTop);
    window->SetPosition(poDesigned);
    window->SetScaled(true);
    TCustomAdvToolBarStyler* styler = FCurrentToolBarStyler;
    window->FBorderWidth = styler->FloatingWindowBorderWidth();
    window->SetBorderColor(styler->FloatingWindowBorderColor());
    const TColor colorTo = styler->Color()->ColorTo();
    window->SetColor(colorTo == clNone ? styler->Color()->Color() : colorTo);
    FFloatingWindow = window;
    TPoint p{x, y};
    if (!usePoint) p = Mouse ? Mouse->CursorPos() : TPoint{x, y};
    FSizeAtDock = GetDockedSize(true);
    RestoreAllHiddenControls();  // a floating toolbar shows all its items
    // The window first, so that a drag moves the toolbar in with its own window and capture.
    if (HandleAllocated()) window->HandleNeeded();
    SetParent(window);
    window->SetAdvCustomToolBar(this);
    window->SetWindowSize();
    p = OnSomeMonitor(p, window->Width(), window->Height());
    window->SetBounds(p.X, p.Y, window->Width(), window->Height());
    FParentForm = form;
    if (form) form->FreeNotification(this);
    if (!form || form->Visible()) {
        window->Show();
    } else {
        FAutoHiding = true;
    }
    window->SetWindowSize();
    window->SetBounds(p.X, p.Y, window->Width(), window->Height());
    window->SetSizeInit(true);
    // Also for a layout restored before the form is shown: the timer shows the window then.
    if (form) {
        HandleNeeded();
        FTimerID = ::SetTimer(FHandle, FloatingWatchTimerId, 40, nullptr);
    }
}

void TAdvCustomToolBar::SetToolBarFloating(TPoint p) {
    if (FFloatingWindow || FToolBarState == tsFloating) {
        if (FFloatingWindow) {
            p = OnSomeMonitor(p, FFloatingWindow->Width(), FFloatingWindow->Height());
            FFloatingWindow->SetBounds(p.X, p.Y, FFloatingWindow->Width(), FFloatingWindow->Height());
        }
        return;
    }
    MakeFloating(p.X, p.Y, true);
}

void TAdvCustomToolBar::CloseFloating() {
    if (FToolBarState != tsFloating) return;
    if (FAutoDockOnClose && FLastDock && CanDockTo(FLastDock)) {
        SetParent(FLastDock);
        if (FToolBarState == tsDocked) {
            FreeFloatingWindow();
            return;
        }
    }
    if (FFloatingWindow) FFloatingWindow->Hide();
    SetVisible(false);
    FireEvent(OnClose, this);
}

void TAdvCustomToolBar::FreeFloatingWindow() {
    TFloatingWindow* window = FFloatingWindow;
    if (!window) return;
    FFloatingWindow = nullptr;
    if (FTimerID != 0 && HandleAllocated()) ::KillTimer(FHandle, FTimerID);
    FTimerID = 0;
    window->FAdvCustomToolBar = nullptr;
    window->RemoveFreeNotification(this);
    if (Parent() == window) TCustomControl::SetParent(nullptr);
    window->BeforeDestruction();
    delete window;
}

void TAdvCustomToolBar::FloatingWatchTimer() {
    if (!FParentForm || !FFloatingWindow) return;
    if (!FParentForm->Visible()) {
        if (FFloatingWindow->Visible()) {
            FFloatingWindow->Hide();
            FAutoHiding = true;
        }
    } else if (!FFloatingWindow->Visible() && FAutoHiding) {
        FFloatingWindow->Show();
        FAutoHiding = false;
    }
}

// ---------------------------------------------------------------- the floating caption

void TAdvCustomToolBar::FloatingMouseDown(int x, int y) {
    const TToolBarFrame frame = Frame();
    if (Hit(FloatingDragArea(frame), x, y)) {
        if (!FLastDock) return;  // never docked: nothing to drag back to
        if (Screen && Screen->Cursor() != crSizeAll) Screen->SetCursor(crSizeAll);
        StartToolBarDrag(ssLeft, x + CaptionGrabOffset, y + CaptionGrabOffset);
    } else if (FShowOptionIndicator && Hit(FloatingOptionButtonRect(frame), x, y)) {
        if (FDownCustomizedBtn) return;
        FDownCustomizedBtn = true;
        DrawOptionButton();
        OptionIndicatorClick();
    } else if (FShowClose && Hit(FloatingCloseButtonRect(frame), x, y)) {
        if (FDownCloseBtn) return;
        FDownCloseBtn = true;
        DrawCloseButton();
    }
}

void TAdvCustomToolBar::FloatingMouseMove(int x, int y) {
    const TToolBarFrame frame = Frame();
    const bool overOption = Hit(FloatingOptionButtonRect(frame), x, y);
    if (overOption != FHotCustomizedBtn) {
        FHotCustomizedBtn = overOption;
        DrawOptionButton();
    }
    const bool overClose = Hit(FloatingCloseButtonRect(frame), x, y);
    if (overClose != FHotCloseBtn) {
        FHotCloseBtn = overClose;
        DrawCloseButton();
    }
}

void TAdvCustomToolBar::FloatingMouseUp() {
    if (FDownCustomizedBtn) {
        FDownCustomizedBtn = false;
        DrawOptionButton();
    }
    if (FDownCloseBtn) {
        FDownCloseBtn = false;
        DrawCloseButton();
        // Wherever the button is released.
        CloseFloating();
    }
}

void TAdvCustomToolBar::FloatingMouseLeave() {
    if (FHotCustomizedBtn || FDownCustomizedBtn) {
        FHotCustomizedBtn = FDownCustomizedBtn = false;
        DrawOptionButton();
    }
    if (FHotCloseBtn || FDownCloseBtn) {
        FHotCloseBtn = FDownCloseBtn = false;
        DrawCloseButton();
    }
}

// ---------------------------------------------------------------- dragging

void TAdvCustomToolBar::CollectDockTargets() {
    FDockList.clear();
    if (!FLastDock) return;
    std::function<void(TWinControl*)> examine = [&](TWinControl* w) {
        if (!w || ContainsControl(w) || !w->Showing()) return;
        if (auto* panel = dynamic_cast<TAdvDockPanel*>(w)) {
            const bool listed = std::any_of(FDockList.begin(), FDockList.end(), [panel](const TDockTarget& t) { return t.Panel == panel; });
            if (!listed && CanDockTo(panel)) FDockList.push_back({panel, {}});
            return;
        }
        if (FDockMode == dmParentDockPanelOnly) return;
        for (int k = 0; k < w->ControlCount(); ++k) {
            auto* child = dynamic_cast<TWinControl*>(w->Controls(k));
            if (!child) continue;
            if (FDockMode == dmAllParentDockPanels && !dynamic_cast<TAdvDockPanel*>(child)) continue;
            examine(child);
        }
    };
    switch (FDockMode) {
        case dmParentDockPanelOnly: examine(FLastDock); break;
        case dmAllParentDockPanels:
            examine(FLastDock->Parent() ? FLastDock->Parent() : FLastDock->ParentForm());
            break;
        case dmAll: examine(FormAbove(FLastDock->Parent())); break;
    }
    RefreshDockTargets();
}

void TAdvCustomToolBar::RefreshDockTargets() {
    for (TDockTarget& target : FDockList) {
        TAdvDockPanel* panel = target.Panel;
        const TPoint origin = panel->ClientToScreen({0, 0});
        TRect r{origin.X, origin.Y, origin.X + panel->Width(), origin.Y + panel->Height()};
        switch (panel->DockAlign()) {
            case daLeft: r.Right += TargetEnlargement; break;
            case daTop: r.Bottom += TargetEnlargement; break;
            case daRight: r.Left -= TargetEnlargement; break;
            case daBottom: r.Top -= TargetEnlargement; break;
        }
        target.Rect = r;
    }
}

void TAdvCustomToolBar::BeginToolBarDrag(int x, int y) {
    CollectDockTargets();
    FOldMouseX = x;
    FOldMouseY = y;
    if (HandleAllocated()) ::SetCapture(FHandle);
    FDragging = true;
}

void TAdvCustomToolBar::StartToolBarDrag(TShiftState shift, int x, int y) {
    BeginToolBarDrag(x, y);
    // The drag ends however the loop does, an exception from a move included.
    struct TEnd {
        TAdvCustomToolBar* Bar;
        ~TEnd() { Bar->EndToolBarDrag(); }
    } end{this};
    MSG msg;
    while (HandleAllocated() && ::GetCapture() == FHandle) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            POINT p;
            ::GetCursorPos(&p);
            ::ScreenToClient(FHandle, &p);
            ToolBarDragMove(shift, p.x, p.y);
        } else if (msg.message == WM_LBUTTONUP) {
            break;
        } else {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void TAdvCustomToolBar::EndToolBarDrag() {
    if (Screen && Screen->Cursor() == crSizeAll) Screen->SetCursor(crDefault);
    const bool was = FDragging;
    FDragging = false;
    if (was && HandleAllocated() && ::GetCapture() == FHandle) ::ReleaseCapture();
    if (Application && Application->CaptureControl() == this) Application->SetCaptureControl(nullptr);
    FDockList.clear();
}

void TAdvCustomToolBar::ToolBarDragMove(TShiftState, int x, int y) {
    if (!FDragging) return;
    const TPoint screen = ClientToScreen({x, y});
    bool tearOff = false;
    if (FToolBarState == tsFloating) {
        if (FFloatingWindow) {
            const TPoint p = ClientToScreen({x - FOldMouseX + Left(), y - FOldMouseY + Top()});
            FFloatingWindow->SetBounds(p.X, p.Y, FFloatingWindow->Width(), FFloatingWindow->Height());
        }
    } else if (FToolBarState == tsDocked && FCurrentDock) {
        TAdvDockPanel* panel = FCurrentDock;
        const int row = FRow;
        if (!IsVertical(FPosition)) {
            const int leftBefore = Left();
            const int newLeft = Left() + x - FOldMouseX;
            SetLeft(newLeft);
            if (y > Height()) SetTop(Top() + y - Height());
            else if (y < 0) SetTop(Top() + y);
            if (y != Top() && FRow == row &&
                ((y > Height() && y + Top() > panel->Height() + TearOffDistance) || (y < 0 && y + Top() < -TearOffDistance)))
                tearOff = true;
            if (Left() != newLeft && !tearOff &&
                ((newLeft > Width() && newLeft > panel->Width() + TearOffDistance) ||
                 (x < 0 && x + leftBefore < -TearOffDistance)))
                tearOff = true;
            if (HandleAllocated()) {
                const RECT a{Width() - 2, 0, Width(), 2}, b{Width() - 2, Height() - 2, Width(), Height()};
                ::InvalidateRect(FHandle, &a, FALSE);
                ::InvalidateRect(FHandle, &b, FALSE);
            }
        } else {
            const int newTop = Top() + y - FOldMouseY;
            SetTop(newTop);
            if (x > Width()) SetLeft(Left() + x - Width());
            else if (x < 0) SetLeft(Left() + x);
            if (x != Left() && FRow == row &&
                ((x > Width() && Left() + x > panel->Width() + TearOffDistance) || (x < 0 && Left() + x < -TearOffDistance)))
                tearOff = true;
            if (Top() != newTop && !tearOff &&
                ((newTop > Height() && newTop > panel->Height() + TearOffDistance) || newTop < -TearOffDistance))
                tearOff = true;
            if (HandleAllocated()) {
                const RECT a{0, Height() - 3, 3, Height()}, b{Width() - 3, Height() - 3, Width(), Height()};
                ::InvalidateRect(FHandle, &a, FALSE);
                ::InvalidateRect(FHandle, &b, FALSE);
            }
        }
        if (!FAllowFloating) tearOff = false;
        if (!tearOff) return;
    } else {
        return;
    }
    for (const TDockTarget& target : FDockList) {
        if (!target.Rect.Contains(screen) || target.Panel == Parent()) continue;
        // The panel may have filled up since the drag began: a refusal leaves all as it is.
        if (!CanDockTo(target.Panel)) continue;
        const bool wasFloating = FToolBarState == tsFloating;
        SetParent(target.Panel);
        FOldMouseX = 1;
        if (wasFloating && FToolBarState == tsDocked) FreeFloatingWindow();
        return;
    }
    if (FToolBarState == tsFloating) return;
    bool allow = true;
    if (OnCanFloat) OnCanFloat(this, allow);
    if (!allow) return;
    MakeFloating(0, 0, false);
    RefreshDockTargets();
}

// ---------------------------------------------------------------- the toolbar's own store

void TAdvCustomToolBar::SavePosition() {
    if (!FPersistence->Enabled()) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    const std::wstring n = Name();
    if (FToolBarState == tsFloating) {
        const TPoint at = GetPosition();
        store->WriteString(n + L".Name", n);
        store->WriteInteger(n + L".State", int(tsFloating));
        store->WriteInteger(n + L".FloatingRows", FFloatingRows);
        store->WriteInteger(n + L".Left", at.X);
        store->WriteInteger(n + L".Top", at.Y);
        store->WriteInteger(n + L".Width", Width());
        store->WriteInteger(n + L".Height", Height());
        store->WriteInteger(n + L".Visible", Visible() ? 1 : 0);
    } else {
        const std::wstring stored = store->ReadString(n + L".Name", L"");
        const int state = store->ReadInteger(n + L".State", 0);
        if (!stored.empty() && SameText(stored, n) && state == int(tsFloating))
            store->WriteInteger(n + L".State", int(FToolBarState));
    }
    for (int k = 0; k < FATBControls->Count(); ++k) {
        TControl* item = ItemAt(*FATBControls, k);
        if (!item->Name().empty()) store->WriteInteger(n + L"." + item->Name(), item->Visible() ? 1 : 0);
    }
    store->UpdateFile();
}

void TAdvCustomToolBar::LoadPosition() {
    if (!FPersistence->Enabled()) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    const std::wstring n = Name();
    const std::wstring stored = store->ReadString(n + L".Name", L"");
    const int state = store->ReadInteger(n + L".State", 0) & 0xFF;
    if (!stored.empty() && SameText(stored, n) && state == int(tsFloating)) {
        const int rows = store->ReadInteger(n + L".FloatingRows", FFloatingRows);
        const int x = store->ReadInteger(n + L".Left", Left());
        const int y = store->ReadInteger(n + L".Top", Top());
        MakeFloating(x, y, true);
        if (rows > FFloatingRows) SetFloatingRows(rows);
        const bool visible = store->ReadInteger(n + L".Visible", Visible() ? 1 : 0) != 0;
        if (visible != Visible()) SetVisible(visible);
    }
    bool changed = false;
    for (int k = 0; k < FATBControls->Count(); ++k) {
        TControl* item = ItemAt(*FATBControls, k);
        if (item->Name().empty()) continue;
        const bool visible = store->ReadInteger(n + L"." + item->Name(), item->Visible() ? 1 : 0) != 0;
        if (visible != item->Visible()) {
            item->SetVisible(visible);
            changed = true;
        }
    }
    if (changed) ArrangeItems(true);
    FPersistSettingLoaded = true;
}

}  // namespace AdvToolBar
