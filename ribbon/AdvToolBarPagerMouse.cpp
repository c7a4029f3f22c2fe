// The pager and the mouse: hot and pressed tabs with their fades, clicks that select tabs
// and tab groups, the double-click window that collapses the ribbon, the caption's system
// menu and form moving, the wheel, and the window messages around them.
#include "ribbon/AdvToolBarPager.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Timer.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvQuickAccessToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

void TAdvToolBarPager::StartTabAnimation(int index, int timeInc, TGlowState state) {
    if (index < 0 || index >= AdvPageCount()) return;
    AdvPages(index)->StartGlow(timeInc, state, GlowSpeed());
}

void TAdvToolBarPager::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (HasState(csDesigning)) return;
    if (FHotPageIndex >= AdvPageCount()) FHotPageIndex = -1;
    if (GetTabsArea().Contains({x, y})) {
        const int i = TabAtPos(x, y);
        if (i >= 0 && i != FHotPageIndex) {
            if (FDownPageIndex >= 0) {
                FDownPageIndex = -1;
                InvalidateTab(-1);
            }
            if (FHotPageIndex >= 0) {
                StartTabAnimation(FHotPageIndex, -20, AdvGlowButton::gsHover);
                FHotPageIndex = -1;
                InvalidateTab(-1);
            }
            if (AdvPages(i)->TabEnabled()) {
                FHotPageIndex = FOldHotPageIndex = i;
                StartTabAnimation(i, 20, AdvGlowButton::gsHover);
                Invalidate();
            }
            if (i != FHintPageIndex) {
                FHintPageIndex = i;
                Application->CancelHint();
            }
        } else if (i < 0 && FHotPageIndex >= 0) {
            if (FDownPageIndex >= 0) {
                FDownPageIndex = -1;
                InvalidateTab(-1);
            }
            StartTabAnimation(FHotPageIndex, -20, AdvGlowButton::gsHover);
            FHotPageIndex = -1;
            InvalidateTab(-1);
        }
        if (i < 0) {
            FHintPageIndex = -1;
            Application->CancelHint();
        }
    }
    // Dragging a maximised form back to its normal size.
    TCustomForm* form = ParentFormOf();
    if ((shift & ssLeft) && FCaptionClickXY.X >= 0 && form && form->WindowState() == wsMaximized &&
        (std::abs(x - FCaptionClickXY.X) > 2 || std::abs(y - FCaptionClickXY.Y) >= 3)) {
        FCaptionClickXY = {-1, -1};
        form->SetWindowState(wsNormal);
        if (FGroupStyle == gsClassic) return;
        const TPoint screen = ClientToScreen({x, y});
        form->SetBounds(screen.X - Width() / 2, screen.Y - 10, form->Width(), form->Height());
        if (HandleAllocated()) {
            ReleaseCapture();
            SendMessageW(form->Handle(), WM_SYSCOMMAND, 0xF012, 0);  // move with the mouse
        }
    }
}

void TAdvToolBarPager::ShowSystemMenu(TPoint clientPoint) {
    TCustomForm* form = ParentFormOf();
    if (!form || !form->HandleAllocated()) return;
    HMENU menu = GetSystemMenu(form->Handle(), FALSE);
    if (!menu) return;
    const TPoint screen = ClientToScreen(clientPoint);
    const int command = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.X, screen.Y, 0,
                                           form->Handle(), nullptr));
    if (command) PostMessageW(form->Handle(), WM_SYSCOMMAND, WPARAM(command), 0);
}

bool TAdvToolBarPager::MoveFormByCaption(TPoint clientPoint, bool captionDeepened) {
    TRect caption = GetCaptionRect();
    if (captionDeepened) caption.Bottom += FTabSettings->Height();
    TCustomForm* form = ParentFormOf();
    if (!FCaption->Visible() || !caption.Contains(clientPoint) || !FCanMove || !form) return false;
    const TPoint screen = ClientToScreen(clientPoint);
    RECT work{};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (HMONITOR monitor = MonitorFromPoint(POINT{screen.X, screen.Y}, MONITOR_DEFAULTTONULL);
        monitor && GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (form->WindowState() != wsMaximized || form->Width() < work.right - work.left - 10) {
        SetMouseCapture(false);
        ReleaseCapture();
        SendMessageW(form->Handle(), WM_SYSCOMMAND, 0xF011, 0);  // SC_MOVE + 1: move with the mouse
    } else if (FOffice2013) {
        FCaptionClickXY = clientPoint;
    }
    return true;
}

void TAdvToolBarPager::NotifyChildrenPressed() {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<IRibbonChildNotify*>(Controls(i))) child->NotifyPagerPressed();
}

void TAdvToolBarPager::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    FMouseDown = true;
    FCaptionClickXY = {-1, -1};
    FDownPageIndex = -1;
    int g = TabGroupAtPos(x, y);
    const TPoint p{x, y};

    if (button == mbRight && FCaption->Visible()) {
        TRect caption = GetCaptionRect();
        const bool scenic = AdvGDIP::GetScenicRibbonFlag();
        if (scenic) caption.Bottom += FTabSettings->Height();
        if (caption.Contains(p) && (!scenic || (g < 0 && TabAtPos(x, y) < 0))) {
            ShowSystemMenu(p);
            return;
        }
    }
    bool deepened = false;
    if (IsGlass(true) && g < 0) {
        deepened = true;
        g = TabAtPos(x, y);
    }
    if (button == mbLeft && g < 0 && MoveFormByCaption(p, deepened)) return;

    FChangeActiveTab = false;
    HideShortCutHint();
    if (!GetTabsArea().Contains(p)) return;
    const int i = TabAtPos(x, y);
    if (i < 0) return;
    if (OnTabClick) OnTabClick(this, i);
    if (i != FActivePageIndex && AdvPages(i)->TabEnabled()) {
        ChangeActivePage(i);
        FChangeActiveTab = true;
        if (!HasState(csDesigning)) StartTabAnimation(i, 20, AdvGlowButton::gsPush);
        Invalidate();
        FClickCount = -1;
        if (OnTabChanged) OnTabChanged(this);
    } else {
        FDownPageIndex = i;
        InvalidateTab(-1);
    }
    if (!FExpanded) {
        if (!IsFloatingRibbonShowing())
            ShowFloatingRibbon();
        else if (FClickCount < 2)
            HideFloatingRibbon();
    }
    NotifyChildrenPressed();
}

void TAdvToolBarPager::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    FMouseDown = false;
    FLine.Animating = false;
    if (FDownPageIndex >= 0) {
        FDownPageIndex = -1;
        InvalidateTab(-1);
    }
    const TPoint p{x, y};
    if (GetTabsArea().Contains(p)) {
        const int i = TabAtPos(x, y);
        if (i >= 0) {
            if (!HasState(csDesigning) && i != FActivePageIndex && !FExpanded && AdvPages(i)->TabEnabled()) {
                if (OnTabClick) OnTabClick(this, i);
                if (i == FActivePageIndex) {
                    FDownPageIndex = i;
                    InvalidateTab(-1);
                } else {
                    ChangeActivePage(i);
                    FChangeActiveTab = true;
                    Invalidate();
                    FClickCount = -1;
                    if (OnTabChanged) OnTabChanged(this);
                }
                if (!IsFloatingRibbonShowing()) ShowFloatingRibbon();
            } else if (i == FActivePageIndex && !FChangeActiveTab) {
                ++FClickCount;
                FDblClickTimer->SetEnabled(false);
                FDblClickTimer->SetEnabled(true);
            }
        }
    } else if (button == mbLeft) {
        const int g = TabGroupAtPos(x, y);
        if (g >= 0) GroupClick(g);
    }
    if (FClickCount > 1 && FHidePagesOnDblClick) {
        if (FExpanded)
            Collaps();
        else
            Expand();
        FDblClickTimer->SetEnabled(false);
        FClickCount = 0;
    }
    InvalidateTab(FActivePageIndex);
}

void TAdvToolBarPager::DblClickTimerTick() {
    FDblClickTimer->SetEnabled(false);
    FClickCount = 0;
}

bool TAdvToolBarPager::HandleMouseWheel(int delta, TPoint screenPoint) {
    if (!FEnableWheel || !FExpanded || !HandleAllocated()) return false;
    if (!ClientRect().Contains(ScreenToClient(screenPoint))) return false;
    if (NonActiveMouseWheelOnFocus && GetFocus() == Handle()) return false;
    if (ContainsFocus(this)) return false;
    if (delta <= 0)
        NextActivePage();
    else
        PrevActivePage();
    return true;
}

void TAdvToolBarPager::CaptionLayerMouseDown(TMouseButton button, int x, int y) {
    if (!FCaptionLayer) return;
    const TPoint p{x + FCaptionLayer->Left(), y + FCaptionLayer->Top()};
    if (button == mbRight) {
        if (GetCaptionRect().Contains(p) && TabGroupAtPos(p.X, p.Y) < 0) ShowSystemMenu(p);
        return;
    }
    if (FIsAeroVista && TabGroupAtPos(p.X, p.Y) < 0) MoveFormByCaption(p, false);
}

void TAdvToolBarPager::CaptionLayerMouseUp(TMouseButton button, int x, int y) {
    if (!FCaptionLayer || !FIsAeroVista || button != mbLeft) return;
    const int g = TabGroupAtPos(x + FCaptionLayer->Left(), y + FCaptionLayer->Top());
    if (g >= 0) GroupClick(g);
}

void TAdvToolBarPager::CaptionLayerDblClick(int x, int y) {
    if (!FCaptionLayer || !FIsAeroVista || HasState(csDesigning)) return;
    const TPoint p{x + FCaptionLayer->Left(), y + FCaptionLayer->Top()};
    const int tab = TabAtPos(p.X, p.Y);
    if (tab >= 0 && OnTabDblClick) OnTabDblClick(this, tab);
    TCustomForm* form = ParentFormOf();
    if (form && form->HandleAllocated() && GetCaptionRect().Contains(p)) {
        if (form->WindowState() != wsNormal) {
            SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            FCaptionClickXY = {-1, -1};
            SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
    }
    UpdateCaptionButtons();
}

void TAdvToolBarPager::WndProc(TMessage& message) {
    if (KeyTipsWndProc(message)) return;  // Key tips
    switch (message.Msg) {
    case WM_NCHITTEST: {
        TCustomControl::WndProc(message);
        if (HasState(csDesigning)) return;
        const TPoint p = ScreenToClient({message.XPos(), message.YPos()});
        // The form's sizing edges stay usable along the pager's top and sides.
        if (p.Y < 3 || p.X < 3 || p.X > Width() - 6) message.Result = HTTRANSPARENT;
        return;
    }
    case WM_ERASEBKGND:
        if (FIsAeroVista) {
            message.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
        TCustomControl::WndProc(message);
        if (FPropertiesLoaded) UpdateLayout();
        return;
    case WM_LBUTTONDBLCLK: {
        TCustomControl::WndProc(message);
        const TPoint p{message.XPos(), message.YPos()};
        const int tab = TabAtPos(p.X, p.Y);
        if (tab >= 0 && OnTabDblClick) OnTabDblClick(this, tab);
        TCustomForm* form = ParentFormOf();
        if (form && GetCaptionRect().Contains(p)) {
            form->SetWindowState(form->WindowState() == wsNormal ? wsMaximized : wsNormal);
            UpdateCaptionButtons();
        }
        return;
    }
    case CM_MOUSEENTER:
        TCustomControl::WndProc(message);
        if (OnPagerMouseEnter) OnPagerMouseEnter(this);
        return;
    case CM_MOUSELEAVE: {
        TCustomControl::WndProc(message);
        FHintPageIndex = -1;
        if (HasState(csDesigning)) return;
        if (OnPagerMouseLeave) OnPagerMouseLeave(this);
        TPoint cursor{};
        GetCursorPos(reinterpret_cast<POINT*>(&cursor));
        TRect tabs = GetTabsRect();
        tabs.Bottom -= 4;
        if (HandleAllocated() && tabs.Contains(ScreenToClient(cursor))) return;
        if (FHotPageIndex >= AdvPageCount()) FHotPageIndex = -1;
        if (FHotPageIndex < 0) return;
        if (FHotPageIndex == FActivePageIndex) {
            FHotPageIndex = -1;
            Invalidate();
        } else {
            StartTabAnimation(FHotPageIndex, -20, AdvGlowButton::gsHover);
            FHotPageIndex = -1;
            InvalidateTab(-1);
        }
        return;
    }
    case CM_CONTROLCHANGE: {
        TCustomControl::WndProc(message);
        auto* control = reinterpret_cast<TControl*>(message.WParam);
        if (auto* qat = dynamic_cast<TAdvQuickAccessToolBar*>(control))
            FQuickAccessToolBar = message.LParam ? qat : nullptr;
        return;
    }
    case WM_MOUSEWHEEL: {
        const TPoint screen{message.XPos(), message.YPos()};
        if (HandleMouseWheel(static_cast<short>(HIWORD(message.WParam)), screen)) {
            message.Result = 1;
            return;
        }
        break;
    }
    default:
        break;
    }
    TCustomControl::WndProc(message);
}

}  // namespace AdvToolBar
