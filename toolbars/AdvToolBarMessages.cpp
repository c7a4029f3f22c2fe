// The toolbar's messages: items joining and leaving, accelerators and shortcuts, hints, the
// hover fade of ribbon groups and of the caption option indicator, the mouse over its
// handles, visibility, batching and the small public operations.
#include <algorithm>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Menus.h"
#include "classlib/Seams.h"
#include "classlib/Timer.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarItem.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;
using AdvGlowButton::TGlowState;

namespace {

constexpr int FadeStep = 20;

bool IsInside(const TRect& rect, int x, int y) { return rect.Contains({x, y}); }

// Controls whose looks depend on what lies behind them, repainted as the toolbar fades.
bool FollowsToolBarBackground(const TControl* control, const IToolBarItem* item) {
    if (item && item->ToolBarItemKind() == TToolBarItemKind::Container) return true;
    if (dynamic_cast<const AdvGlowButton::TAdvGlowButton*>(control)) return true;
    if (control->ClassName().find(L"AdvOffice") != std::wstring::npos) return true;
    return control->ClassType().Published().Find(L"Transparent") != nullptr;
}

TShortCut ShortCutOfKey(WORD key, TShiftState shift) {
    TShortCut shortCut = TShortCut(key & 0xFF);
    if (shift & ssShift) shortCut |= scShift;
    if (shift & ssCtrl) shortCut |= scCtrl;
    if (shift & ssAlt) shortCut |= scAlt;
    return shortCut;
}

}  // namespace

// ---------------------------------------------------------------- message routing

void TAdvCustomToolBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_ERASEBKGND:
            // The paint covers every pixel; erasing first would only flicker.
            message.Result = 1;
            return;
        case CM_CONTROLCHANGE:
            TCustomControl::Dispatch(message);
            CMControlChange(message);
            return;
        case CM_SHOWINGCHANGED:
            TCustomControl::Dispatch(message);
            CMShowingChanged(message);
            return;
        case CM_HINTSHOW:
            TCustomControl::Dispatch(message);
            CMHintShow(message);
            return;
        case CM_DIALOGCHAR: CMDialogChar(message); return;
        case CM_DIALOGKEY:
            TCustomControl::Dispatch(message);
            if (Enabled() && Showing() && HasMenu())
                if (MenuIsShortCut(WORD(message.WParam), KeyboardShiftState())) message.Result = 1;
            return;
        case CM_MOUSEENTER:
            TCustomControl::Dispatch(message);
            CMMouseEnter(message);
            return;
        case CM_MOUSELEAVE:
            TCustomControl::Dispatch(message);
            CMMouseLeave(message);
            return;
        case CM_VISIBLECHANGED: CMVisibleChanged(message); return;
        case CM_TEXTCHANGED:
            TCustomControl::Dispatch(message);
            Invalidate();
            return;
        case WM_GETDLGCODE:
            if (IsRibbonGroup()) {
                message.Result = DLGC_WANTARROWS;
                return;
            }
            break;
        case WM_TIMER:
            TCustomControl::Dispatch(message);
            if (message.WParam == FloatingWatchTimerId) FloatingWatchTimer();
            return;
        case WM_LBUTTONUP: WMLButtonUp(message); return;
        // Key tips
        case WM_KEYDOWN: KeyTipsKeyDown(message); return;
        case CM_FOCUSCHANGED: KeyTipsFocusChanged(message); return;
        default: break;
    }
    TCustomControl::Dispatch(message);
}

void TAdvCustomToolBar::WndProc(TMessage& message) {
    if (message.Msg == WM_DESTROY && FTimerID != 0) {
        if (HandleAllocated()) ::KillTimer(FHandle, FTimerID);
        FTimerID = 0;
    }
    if (WM_TBCOMPACTWINHIDE != 0 && message.Msg == WM_TBCOMPACTWINHIDE) {
        // A compact window that closed may leave the form's menu bar unpainted: a size
        // change of one pixel there and back lays the form out again.
        TCustomForm* form = ParentForm();
        if (form && FormHasMenu(form)) {
            form->SetHeight(form->Height() + 1);
            form->SetHeight(form->Height() - 1);
        }
    }
    TCustomControl::WndProc(message);
}

// ---------------------------------------------------------------- items join and leave

void TAdvCustomToolBar::CMControlChange(TMessage& message) {
    auto* control = reinterpret_cast<TControl*>(message.WParam);
    if (!control || IsOwnWindow(control) || FInternalControlUpdation) return;
    if (message.LParam) RegisterItem(control);
    else UnregisterItem(control);
}

void TAdvCustomToolBar::RegisterItem(TControl* control) {
    if (!FATBControls) return;
    const bool designing = HasState(csDesigning);
    if (auto* item = dynamic_cast<IToolBarItem*>(control)) {
        item->SetToolBarLink(this);
        item->SetDockPosition(FPosition);
        if (!HasState(csLoading) && !designing) item->AdjustItemSize();
    }
    if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) {
        IToolBarPageHost* page = ContextPage();
        if (page && page->PagerUsesTones() && !AdvStyleIF::IsEmptyColorTones(RibbonColorTones))
            button->SetColorTones(RibbonColorTones);
        else
            ApplyStylerToGlowButton(button, false);
        if (!designing && PageHost()) HookRibbonButton(button);
        if (!designing && DockPanelOf(Parent()))
            button->ToolBarFields().OnInternalClick = [this](TObject*) { HideOptionWindow(); };
    }
    const int listed = FATBControls->IndexOf(Entry(control));
    if (listed < 0) FATBControls->Insert(IndexByPosition(-1, control->Left(), control->Top()), Entry(control));
    else MoveToPositionIndex(listed, control->Left(), control->Top());
    if (FAutoRUL && FRUControls->IndexOf(Entry(control)) < 0) FRUControls->Add(Entry(control));
    ArrangeItems(true);
}

void TAdvCustomToolBar::UnregisterItem(TControl* control) {
    if (!FATBControls) return;
    const int index = FATBControls->IndexOf(Entry(control));
    if (index < 0) return;
    if (auto* item = dynamic_cast<IToolBarItem*>(control)) {
        const TToolBarItemKind kind = item->ToolBarItemKind();
        if (kind == TToolBarItemKind::Button || kind == TToolBarItemKind::MenuButton) item->SetToolBarLink(nullptr);
    }
    FATBControls->Delete(index);
    if (FAutoRUL) {
        FRUControls->Remove(Entry(control));
        FLUHidedControls->Remove(Entry(control));
    }
    // The sequence list is rebuilt only before ribbon passes; a gone control must not wait there.
    FSeqControlList->Remove(Entry(control));
    if (FHintCtrl == control) FHintCtrl = nullptr;
    ArrangeItems(true);
}

void TAdvCustomToolBar::ControlBoundsChanged(TControl* control) {
    if (FInternalControlPositioning || !FATBControls || control->ClassName() == L"TAdvBadge") return;
    const int index = FATBControls->IndexOf(Entry(control));
    if (index < 0) return;
    const bool designingOrLoading = HasState(csDesigning) || HasState(csLoading);
    if (designingOrLoading) {
        MoveToPositionIndex(index, control->Left(), control->Top());
        return;
    }
    const bool docked = FToolBarState == tsDocked && FCurrentDock;
    {
        const bool was = FDoCheckBoundChange;
        FDoCheckBoundChange = docked;
        ArrangeItems(true);
        UpdateHiddenControls();
        FDoCheckBoundChange = was;
    }
    if (docked && !FAllowBoundChange && FRow >= 0) ArrangeDockRow();
    if (FAutoOptionMenu && OptionWindowShowing()) RebuildOptionWindow();
}

void TAdvCustomToolBar::CMShowingChanged(TMessage&) {
    if (!FFirstShowing) return;
    FFirstShowing = false;
    if (PageHost()) ArrangeItems(true);
}

void TAdvCustomToolBar::CMVisibleChanged(TMessage& message) {
    const bool docked = FToolBarState == tsDocked && FCurrentDock && !HasState(csDesigning);
    const bool toldBefore = docked && Visible();
    if (toldBefore) TellDockPanelVisible();
    TCustomControl::Dispatch(message);
    FloatingWindowFollowsVisible();
    if (docked && !toldBefore) TellDockPanelVisible();
    if (IToolBarPageHost* page = PageHost(); page && FToolBarState != tsFloating) {
        page->AutoPositionAdvToolBars();
        if (Visible()) page->ShrinkAdvToolBars();
        else page->GrowAdvToolBars();
    }
}

// ---------------------------------------------------------------- keys

void TAdvCustomToolBar::CMDialogChar(TMessage& message) {
    if (Enabled() && Showing()) {
        if (HasMenu()) MenuDialogChar(message);
        if (IsKeyDown(VK_MENU)) {
            if (TControl* button = FindAccelButton(wchar_t(message.WParam))) {
                if (auto* item = dynamic_cast<IToolBarItem*>(button)) item->PerformAccelerator();
                message.Result = 1;
                return;
            }
        }
    }
    TCustomControl::Dispatch(message);
}

TControl* TAdvCustomToolBar::FindAccelButton(wchar_t key) const {
    TControl* found = nullptr;
    ForEachItem([&](TControl* control, IToolBarItem* item) {
        if (found || !item || !control->Visible() || !control->Enabled()) return;
        const TToolBarItemKind kind = item->ToolBarItemKind();
        if ((kind == TToolBarItemKind::Button || kind == TToolBarItemKind::MenuButton) && IsAccel(key, control->Caption()))
            found = control;
    });
    return found;
}

bool TAdvCustomToolBar::IsShortCut(WORD key, TShiftState shift, bool considerButtons) {
    if (HasMenu() && MenuIsShortCut(key, shift)) return true;
    if (!considerButtons) return false;
    const TShortCut shortCut = ShortCutOfKey(key, shift);
    // Depth first through the items and every control inside a windowed one.
    std::function<bool(TControl*)> visit = [&](TControl* control) -> bool {
        const auto* item = dynamic_cast<const IToolBarItem*>(control);
        const bool button = dynamic_cast<TAdvCustomGlowButton*>(control) ||
                            (item && (item->ToolBarItemKind() == TToolBarItemKind::Button ||
                                      item->ToolBarItemKind() == TToolBarItemKind::MenuButton));
        if (button) {
            auto* action = dynamic_cast<TCustomAction*>(control->Action());
            if (action && ActionShortCut(action) == shortCut && shortCut != 0) {
                if (action->OnExecute) action->OnExecute(action);
                else control->Click();
                return true;
            }
        }
        if (auto* window = dynamic_cast<TWinControl*>(control))
            for (int i = 0; i < window->ControlCount(); ++i)
                if (visit(window->Controls(i))) return true;
        return false;
    };
    bool found = false;
    ForEachItem([&](TControl* control, IToolBarItem*) {
        if (!found) found = visit(control);
    });
    return found;
}

// ---------------------------------------------------------------- hints

bool TAdvCustomToolBar::ShowsDisabledControlHints() const {
    IToolBarPageHost* page = ContextPage();
    return page && page->PageInPager() && page->ShowDisabledControlsHint();
}

void TAdvCustomToolBar::CMHintShow(TMessage& message) {
    auto* info = reinterpret_cast<THintInfo*>(message.LParam);
    if (!info) return;
    const int x = info->CursorPos.X, y = info->CursorPos.Y;
    const TToolBarFrame frame = Frame();
    if (ShowHint()) {
        if (FToolBarState == tsFloating) {
            if (FShowClose && !FHintCloseButton.empty() && IsInside(FloatingCloseButtonRect(frame), x, y))
                info->HintStr = FHintCloseButton;
            if (FShowOptionIndicator && !FHintOptionButton.empty() && IsInside(FloatingOptionButtonRect(frame), x, y))
                info->HintStr = FHintOptionButton;
        } else if (FShowOptionIndicator && !FHintOptionButton.empty() &&
                   (IsInside(RightHandleRect(frame), x, y) || IsInside(CaptionOptionIndicatorRect(frame), x, y))) {
            info->HintStr = FHintOptionButton;
        }
    }
    if (ShowsDisabledControlHints() && !HasState(csDesigning) && (info->HintStr.empty() || info->HintStr == Hint()) &&
        FHintCtrl && !FHintCtrl->Enabled() && FHintCtrl->ShowHint()) {
        info->HintStr = FHintCtrl->Hint();
        info->HintControl = FHintCtrl;
    }
}

// ---------------------------------------------------------------- hover fade of a ribbon group

void TAdvCustomToolBar::CMMouseEnter(TMessage&) {
    if (HasState(csDesigning) || !IsRibbonGroup()) return;
    FHot = true;
    StartHoverFade(FadeStep);
    Invalidate();
    FGlowState = AdvGlowButton::gsHover;
}

void TAdvCustomToolBar::CMMouseLeave(TMessage&) {
    if (!FDragging && Cursor() == crSizeAll) SetCursor(FOldCursor);
    if (FHotPopupIndicator || FDownPopupIndicator) {
        FHotPopupIndicator = FDownPopupIndicator = false;
        DrawRightHandle();
    }
    if (FToolBarState == tsFloating) {
        FloatingMouseLeave();
    } else if (FCapOptIndicatorHot || FCapOptIndicatorDown) {
        FCapOptIndicatorHot = FCapOptIndicatorDown = false;
        InvalidateCaptionOptionIndicator();
    }
    if (HasState(csDesigning) || !IsRibbonGroup()) return;
    FHot = false;
    Invalidate();
    StartHoverFade(-FadeStep);
    FGlowState = AdvGlowButton::gsHover;
}

void TAdvCustomToolBar::StartHoverFade(int step) {
    FTimeInc = step;
    // Without an interval the hot look shows (and goes) at once.
    if (AdvGlowButton::GlowAnimationInterval <= 0) {
        delete FTimer;
        FTimer = nullptr;
        FStepHover = step > 0 ? 100 : 0;
        return;
    }
    if (FTimer) return;
    FTimer = new TTimer(this);
    FTimer->SetInterval(unsigned(AdvGlowButton::GlowAnimationInterval));
    FTimer->SetOnTimer([this](TObject*) { GlowTimerTick(); });
}

void TAdvCustomToolBar::GlowTimerTick() {
    FStepHover += FTimeInc;
    const bool ended = (FTimeInc > 0 && FStepHover > 100) || (FTimeInc < 0 && FStepHover < 0) ||
                       FCurrentToolBarStyler->ColorHot()->Color() == clNone;
    if (ended) {
        // The timer calls this: it may free itself here.
        delete FTimer;
        FTimer = nullptr;
        if (FStepHover < 0) FGlowState = AdvGlowButton::gsNone;
        FStepHover = std::clamp(FStepHover, 0, 100);
        Invalidate();
        return;
    }
    RepaintTransparentItems();
}

void TAdvCustomToolBar::RepaintTransparentItems() {
    Invalidate();
    ForEachItem([this](TControl* control, IToolBarItem* item) {
        if (FollowsToolBarBackground(control, item)) control->Invalidate();
        if (!item || item->ToolBarItemKind() != TToolBarItemKind::Container) return;
        auto* container = dynamic_cast<TWinControl*>(control);
        for (int i = 0; container && i < container->ControlCount(); ++i) {
            TControl* inner = container->Controls(i);
            if (FStepHover > 0) inner->Repaint();
            else if (dynamic_cast<AdvGlowButton::TAdvGlowButton*>(inner)) inner->Invalidate();
        }
    });
}

// ---------------------------------------------------------------- the caption option indicator's fade

void TAdvCustomToolBar::StartOptionFade(TGlowState state, int step) {
    FOptionGlowState = state;
    FOptionTimeInc = step;
    IToolBarPageHost* page = ContextPage();
    if (AdvGlowButton::GlowAnimationInterval <= 0 || (page && page->PagerUsesTones())) return;
    if (FOptionTimer) return;
    FOptionTimer = new TTimer(this);
    FOptionTimer->SetInterval(unsigned(FadeStep));
    FOptionTimer->SetOnTimer([this](TObject*) { OptionGlowTimerTick(); });
}

void TAdvCustomToolBar::OptionGlowTimerTick() {
    if (FOptionGlowState == AdvGlowButton::gsNone) return;
    const bool hover = FOptionGlowState == AdvGlowButton::gsHover;
    int& step = hover ? FOptionStepHover : FOptionStepPush;
    step += FOptionTimeInc;
    if ((FOptionTimeInc > 0 && step > 100) || (FOptionTimeInc < 0 && step < 0)) {
        delete FOptionTimer;
        FOptionTimer = nullptr;
        FOptionGlowState = AdvGlowButton::gsNone;
        if (step < 0) {
            if (hover) FCapOptIndicatorHot = false;
            else FCapOptIndicatorDown = false;
            InvalidateCaptionOptionIndicator();
        }
        InvalidateCaption();
        if (hover) FOptionStepPush = 0;
        step = step > 100 ? 120 : (step < 0 ? -20 : step);
        return;
    }
    InvalidateCaptionOptionIndicator();
}

void TAdvCustomToolBar::InvalidateCaption() {
    if (!HandleAllocated()) return;
    const TRect rect = CaptionRect(Frame());
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::InvalidateRect(FHandle, &r, FALSE);
}

void TAdvCustomToolBar::InvalidateCaptionOptionIndicator() {
    if (!HandleAllocated()) return;
    const TRect rect = CaptionOptionIndicatorRect(Frame());
    if (rect.Left < 0) return;
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::InvalidateRect(FHandle, &r, FALSE);
}

// ---------------------------------------------------------------- the mouse on handles

void TAdvCustomToolBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (FDragging || button != mbLeft) return;
    const TToolBarFrame frame = Frame();
    const bool designing = HasState(csDesigning);
    if (FToolBarState == tsFloating) {
        FloatingMouseDown(x, y);
    } else if (FToolBarState == tsDocked && !FLocked && IsInside(DragGripRect(frame), x, y)) {
        StartToolBarDrag(shift, x, y);
        return;
    } else if (!designing && IsInside(RightHandleRect(frame), x, y) && !FFullSize) {
        FDownPopupIndicator = true;
        DrawRightHandle();
        OptionIndicatorClick();
    }
    if (FToolBarState != tsFloating && !designing && IsInside(CaptionOptionIndicatorRect(frame), x, y)) {
        StartOptionFade(AdvGlowButton::gsPush, FadeStep);
        FCapOptIndicatorDown = true;
        DrawRightHandle();
        PopupOptionMenu();
        InvalidateCaptionOptionIndicator();
    }
}

void TAdvCustomToolBar::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (FDragging) return;
    const TToolBarFrame frame = Frame();
    if (!(shift & ssLeft) && !FLocked) {
        if (IsInside(DragGripRect(frame), x, y)) {
            if (Cursor() != crSizeAll) SetCursor(crSizeAll);
        } else if (Cursor() == crSizeAll) {
            SetCursor(FOldCursor);
        }
    }
    if (HasState(csDesigning)) return;
    const bool overHandle = IsInside(RightHandleRect(frame), x, y) && FToolBarState != tsFloating && !FFullSize;
    if (overHandle != FHotPopupIndicator) {
        FHotPopupIndicator = overHandle;
        DrawRightHandle();
    }
    const bool overIndicator = IsInside(CaptionOptionIndicatorRect(frame), x, y);
    if (overIndicator && !FCapOptIndicatorHot) {
        FCapOptIndicatorHot = true;
        StartOptionFade(AdvGlowButton::gsHover, FadeStep);
        InvalidateCaptionOptionIndicator();
    } else if (!overIndicator && FCapOptIndicatorHot) {
        StartOptionFade(AdvGlowButton::gsHover, -FadeStep);
        if (!FOptionTimer) FCapOptIndicatorHot = false;
        InvalidateCaptionOptionIndicator();
    }
    if (FToolBarState == tsFloating) FloatingMouseMove(x, y);
    if (ShowsDisabledControlHints()) {
        TControl* under = ControlAtPos({x, y}, true);
        if (under != FHintCtrl) {
            FHintCtrl = under;
            if (Application) Application->CancelHint();
        }
    }
}

void TAdvCustomToolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (FDownPopupIndicator) {
        FDownPopupIndicator = false;
        DrawRightHandle();
    }
    if (FCapOptIndicatorDown) {
        if (!HasState(csDesigning)) StartOptionFade(AdvGlowButton::gsPush, -FadeStep);
        if (!FOptionTimer) FCapOptIndicatorDown = false;
        InvalidateCaptionOptionIndicator();
    }
    if (FToolBarState == tsFloating) FloatingMouseUp();
}

void TAdvCustomToolBar::WMLButtonUp(TMessage& message) {
    const int x = message.XPos(), y = message.YPos();
    const TToolBarFrame frame = Frame();
    if (FToolBarState == tsFloating) {
        FSupressClick = IsInside(FloatingDragArea(frame), x, y) || IsInside(FloatingOptionButtonRect(frame), x, y) ||
                        IsInside(FloatingCloseButtonRect(frame), x, y);
    } else if (FToolBarState == tsDocked) {
        FSupressClick = IsInside(DragGripRect(frame), x, y) || IsInside(RightHandleRect(frame), x, y);
    }
    TCustomControl::Dispatch(message);
}

// ---------------------------------------------------------------- batching

void TAdvCustomToolBar::BeginUpdate() {
    if (++FUpdateCount == 1 && HandleAllocated() && Visible()) {
        ::SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
        FRedrawOff = true;
    }
}

void TAdvCustomToolBar::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount > 0) return;
    if (FRedrawOff) {
        FRedrawOff = false;
        // Switching redraw back on also shows the window: a toolbar hidden in between stays hidden.
        if (HandleAllocated() && Visible()) {
            ::SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
        }
    }
    ArrangeItems(true);
    UpdateHiddenControls();
}

// ---------------------------------------------------------------- small operations

void TAdvCustomToolBar::EnableAllControls(bool value) {
    if (HasState(csDesigning)) return;
    ForEachItem([value](TControl* control, IToolBarItem* item) {
        if (control->Visible() && !(item && item->ToolBarItemKind() == TToolBarItemKind::Separator))
            control->SetEnabled(value);
    });
}

void TAdvCustomToolBar::UpdateImagesShade() {
    if (!FImages) return;
    ForEachItem([](TControl*, IToolBarItem* item) {
        if (item) item->AdjustItemSize();
    });
    ForEachItem([](TControl*, IToolBarItem* item) {
        if (item) item->GenerateShade();
    });
}

void TAdvCustomToolBar::SetItemsRotated(bool value) {
    ForEachItem([value](TControl* control, IToolBarItem*) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) button->SetIsRotated(value);
    });
}

TCustomForm* TAdvCustomToolBar::GetHostForm() const {
    const TControl* start = DockPanelWindow(FCurrentDock ? FCurrentDock : FLastDock);
    if (!start) start = Parent();
    for (const TControl* control = start; control; control = control->Parent())
        if (auto* form = dynamic_cast<const TCustomForm*>(control)) return const_cast<TCustomForm*>(form);
    return nullptr;
}

}  // namespace AdvToolBar
