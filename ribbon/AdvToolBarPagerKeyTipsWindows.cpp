// The ribbon's keyboard: Alt or F10 brings up a tip under every tab, typed letters pick a
// tab and hand over to the key tips of that page's groups; Alt+letter accelerators, the
// arrows between tabs, Esc; the take-over of the form's window procedure that hides the tips
// when the form moves, and the thread hook that turns Ctrl+F1 into collapse and expand.
#include "ribbon/AdvToolBarPager.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Seams.h"
#include "classlib/Timer.h"
#include "menus/AdvToolBarBase.h"
#include "ribbon/AdvToolBarPagerKeyTips.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TShortCutHintWindow;

void (*KeyTipBeep)() = [] { ::MessageBeep(0); };

struct TPagerFormHook {
    TAdvToolBarPager* Pager = nullptr;  // null once the pager has left
    std::function<void(TMessage&)> Previous;
    static void Dispatch(TPagerFormHook& state, TMessage& message) {
        if (state.Pager) state.Pager->FormWndProc(message);
        else if (state.Previous) state.Previous(message);
    }
};



namespace {

// ---- the Ctrl+F1 hook: one per process, for the first pager that loads ----

HHOOK GKeyHook = nullptr;
TAdvToolBarPager* GHookedPager = nullptr;
TKeyPressFilter GKeyFilter;

LRESULT CALLBACK KeyHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && lParam) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        if (msg.message == WM_KEYDOWN) {
            if (GHookedPager && GKeyFilter.KeyDown(int(LOWORD(msg.wParam)))) {
                TAdvToolBarPager* pager = GHookedPager;
                CallGuarded(pager, [&] { pager->HookKeyDown(LOWORD(msg.wParam)); });
            }
        } else if (msg.message == WM_KEYUP) {
            GKeyFilter.KeyUp();
        }
    }
    return ::CallNextHookEx(GKeyHook, code, wParam, lParam);
}

// ---- the form's window procedure ----

// What the pager put in its form's WindowProc. It stays callable after the pager has gone
// (someone may have chained onto it since): then it only passes messages on.
struct TFormHookProc {
    std::shared_ptr<TPagerFormHook> State;
    void operator()(TMessage& message) const { TPagerFormHook::Dispatch(*State, message); }
};

// The first form up the parent chain.
TCustomForm* FirstFormOf(const TControl* control) {
    for (TWinControl* parent = control->Parent(); parent; parent = parent->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(parent)) return form;
    return nullptr;
}

bool IsShiftOrCtrl(WORD key) {
    return key == VK_SHIFT || key == VK_CONTROL || (key >= VK_LSHIFT && key <= VK_RCONTROL);
}

}  // namespace

// ---------------------------------------------------------------- messages

bool TAdvToolBarPager::KeyTipsWndProc(TMessage& message) {
    if (HasState(csDestroying)) return false;
    if (WM_TBPSETIGNOREALT != 0 && message.Msg == WM_TBPSETIGNOREALT) {
        FAltKeys.SetIgnoreAlt(message.WParam != 0);
        return false;
    }
    switch (message.Msg) {
        case CM_DIALOGKEY: KeyTipsDialogKey(message); return true;
        case CM_DIALOGCHAR: {
            FAltKeys.DialogChar();
            if (IsKeyDown(VK_MENU) && CanFocus()) {
                const wchar_t key = wchar_t(message.WParam);
                for (int i = 0; i < AdvPageCount(); ++i) {
                    TAdvPage* page = AdvPages(i);
                    if (page->TabVisible() && IsAccel(key, page->Caption())) {
                        SetActivePage(page);
                        message.Result = 1;
                        return true;
                    }
                }
            }
            return false;
        }
        case WM_KEYDOWN:
            KeyTipsKeyDown(WORD(message.WParam));
            return false;
        case WM_KEYUP: case WM_SYSKEYUP:
            TCustomControl::WndProc(message);
            FAltKeys.KeyUp(IsKeyDown(VK_MENU));
            return true;
        case WM_GETDLGCODE:
            message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return true;
        case CM_FOCUSCHANGED:
            TCustomControl::WndProc(message);
            KeyTipsFocusChanged();
            return true;
        case WM_SETFOCUS: case WM_KILLFOCUS:
            TCustomControl::WndProc(message);
            InvalidateTab(-1);
            return true;
        default: return false;
    }
}

void TAdvToolBarPager::KeyTipsDialogKey(TMessage& message) {
    FAltKeys.SetTipsShowing(FTabShortCutHintShowing);
    const TAltKeyMachine::TPagerState state{TabStop(), ActivePage() != nullptr, CanFocus()};
    switch (FAltKeys.DialogKey(unsigned(message.WParam), state)) {
        case TAltKeyMachine::TKeyAnswer::StartAlt:
            FFocusCtrlH = ::GetFocus();
            if (!FShortCutTimer) {
                FShortCutTimer = new TTimer(this);
                FShortCutTimer->SetEnabled(false);
                FShortCutTimer->SetInterval(AltTimerInterval);
                FShortCutTimer->SetOnTimer([this](TObject*) { AltKeyTimer(); });
            }
            FShortCutTimer->SetEnabled(true);
            TCustomControl::WndProc(message);
            message.Result = 1;
            return;
        case TAltKeyMachine::TKeyAnswer::CloseTips:
            HideTabShortCutHint(false);
            message.Result = 1;
            return;
        case TAltKeyMachine::TKeyAnswer::Pass: break;
    }
    TCustomControl::WndProc(message);
}

void TAdvToolBarPager::AltKeyTimer() {
    const TAltKeyMachine::TTickAnswer answer = FAltKeys.Tick(IsKeyDown(VK_MENU), IsKeyDown(VK_F10));
    if (!FAltKeys.TimerRunning() && FShortCutTimer) FShortCutTimer->SetEnabled(false);
    if (answer != TAltKeyMachine::TTickAnswer::Activate) return;
    ActivateTabShortCutHint();
    if (TAdvPage* page = ActivePage(); page && page->ToolBarShortCutShowing()) page->HideShortCutHintOfAdvToolBars();
}

// Tips come up only on the active form: a key released over another window is not ours.
void TAdvToolBarPager::ActivateTabShortCutHint() {
    TCustomForm* form = FirstFormOf(this);
    if (!form || !form->HandleAllocated() || ::GetActiveWindow() != form->Handle()) return;
    if (!Focused() && CanFocus()) SetFocus();
    ShowTabShortCutHint();
}

void TAdvToolBarPager::KeyTipsKeyDown(WORD key) {
    if (FTabShortCutHintShowing && key != VK_ESCAPE && key != VK_LEFT && key != VK_RIGHT && key != VK_DOWN &&
        key != VK_F1 && !IsShiftOrCtrl(key))
        TypedTabShortCut(key);
    if (!Focused()) return;
    const bool leftWindowsKey = IsKeyDown(VK_LWIN);
    switch (key) {
        case VK_ESCAPE: {
            HideTabShortCutHint(false);
            if (Parent())
                if (TWinControl* previous = Parent()->FindNextControl(this, false, true);
                    previous && previous != this && previous->CanFocus())
                    previous->SetFocus();
            break;
        }
        case VK_LEFT: case VK_RIGHT:
            if (leftWindowsKey) break;
            HideTabShortCutHint(false);
            SelectNextPage(key == VK_RIGHT);
            break;
        case VK_DOWN: {
            if (leftWindowsKey) break;
            TAdvPage* page = ActivePage();
            TAdvToolBar* first = page ? page->GetFirstAdvToolBar(true) : nullptr;
            if (first && first->CanFocus()) {
                first->SetFocus();
                HideTabShortCutHint(false);
            }
            break;
        }
        default: break;
    }
}

void TAdvToolBarPager::TypedTabShortCut(WORD key) {
    FTabShortCutChars += TabTipChar(key);
    std::vector<TTabTip> tabs;
    for (int i = 0; i < AdvPageCount(); ++i) {
        TAdvPage* page = AdvPages(i);
        TShortCutHintWindow* tip = page->ShortCutHintWindow();
        tabs.push_back({page->ShortCutHint(), page->TabEnabled(), page->TabVisible(),
                        tip && tip->HandleAllocated() && ::IsWindowVisible(tip->Handle())});
    }
    const TTabTipMatch match = MatchTabTips(tabs, FTabShortCutChars);
    for (int index : match.Hidden) AdvPages(index)->HideShortCutHint();
    if (match.Full >= 0) {
        HideTabShortCutHint(false);
        TAdvPage* page = AdvPages(match.Full);
        if (page->TabEnabled() && page->TabVisible()) {
            SetActivePage(page);
            if (!FExpanded && !IsFloatingRibbonShowing()) ShowFloatingRibbon();
            // Collapsed, the floating ribbon shows the page; its toolbars take the tips there.
            if (ActivePage() == page) {
                if (TAdvToolBar* first = page->GetFirstAdvToolBar(true)) {
                    if (first->CanFocus()) first->SetFocus();
                    page->ShowShortCutHintOfAdvToolBars();
                }
            }
        }
        NotifyChildrenPressed();
        return;
    }
    if (match.Handled) NotifyChildrenPressed();
    if (match.VisibleCount == 0) HideTabShortCutHint(false);
    if (!match.Handled) KeyTipBeep();
}

void TAdvToolBarPager::KeyTipsFocusChanged() {
    if (!HasState(csDesigning) && HandleAllocated()) {
        const HWND focus = ::GetFocus();
        if (!IsInsideWindow(focus)) {
            if (FTabShortCutHintShowing) HideTabShortCutHint(false);
            if (TAdvPage* page = ActivePage(); page && page->ToolBarShortCutShowing())
                page->HideShortCutHintOfAdvToolBars();
        }
    }
    InvalidateTab(-1);
}

bool TAdvToolBarPager::IsInsideWindow(HWND window) const {
    if (!HandleAllocated()) return false;
    for (int level = 0; window && level < 50; ++level, window = ::GetParent(window))
        if (window == FHandle) return true;
    return false;
}

// ---------------------------------------------------------------- tab tips

void TAdvToolBarPager::ShowTabShortCutHint() {
    if (!FTabShortCutHintShowing && HandleAllocated()) SetMouseCapture(true);
    for (int i = 0; i < AdvPageCount(); ++i) AdvPages(i)->ShowShortCutHint();
    FTabShortCutHintShowing = true;
    FTabShortCutChars.clear();
    FAltKeys.SetTipsShowing(true);
}

void TAdvToolBarPager::HideTabShortCutHint(bool hideToolBarHints) {
    if (HandleAllocated() && MouseCapture()) SetMouseCapture(false);
    for (int i = 0; i < AdvPageCount(); ++i) {
        TAdvPage* page = AdvPages(i);
        page->HideShortCutHint();
        if (hideToolBarHints) page->HideShortCutHintOfAdvToolBars();
    }
    FTabShortCutHintShowing = false;
    FAltKeys.SetTipsShowing(false);
}

TShortCutHintWindow* TAdvToolBarPager::CreateShortCutHintWindow() {
    auto* window = new TShortCutHintWindow(this);
    window->SetColor(clWhite);
    window->SetColorTo(FCurrentToolBarStyler->GlowButtonAppearance()->Color());
    const auto freeSlot = std::find(FShortCutHintWinList.begin(), FShortCutHintWinList.end(), nullptr);
    if (freeSlot != FShortCutHintWinList.end()) *freeSlot = window;
    else FShortCutHintWinList.push_back(window);
    return window;
}

void TAdvToolBarPager::FreeShortCutHintWindow(TShortCutHintWindow* window) {
    const auto slot = std::find(FShortCutHintWinList.begin(), FShortCutHintWinList.end(), window);
    if (slot == FShortCutHintWinList.end()) return;
    *slot = nullptr;
    delete window;
}

// ---------------------------------------------------------------- focus

void TAdvToolBarPager::RestoreFocus() {
    if (HasState(csDesigning) || !FFocusCtrlH || !::IsWindow(FFocusCtrlH) || IsInsideWindow(FFocusCtrlH)) return;
    TCustomForm* form = FirstFormOf(this);
    if (!form || !form->HandleAllocated()) return;
    const HWND focus = ::GetFocus();
    if (focus && (focus == form->Handle() || ::IsChild(form->Handle(), focus))) ::SetFocus(FFocusCtrlH);
}

// ---------------------------------------------------------------- Ctrl+F1

void TAdvToolBarPager::HookKeyDown(WORD key) {
    if (!IsRibbonToggle(key, IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT), IsKeyDown(VK_MENU))) return;
    if (FExpanded) Collaps();
    else Expand();
}

void TAdvToolBarPager::InstallKeyHook() {
    if (GKeyHook) return;
    GKeyHook = ::SetWindowsHookExW(WH_GETMESSAGE, KeyHookProc, nullptr, ::GetCurrentThreadId());
    if (GKeyHook) GHookedPager = this;
}

void TAdvToolBarPager::RemoveKeyHook() {
    if (GHookedPager != this) return;
    if (GKeyHook) ::UnhookWindowsHookEx(GKeyHook);
    GKeyHook = nullptr;
    GHookedPager = nullptr;
    GKeyFilter.KeyUp();
}

TAdvToolBarPager* TAdvToolBarPager::KeyHookedPager() { return GHookedPager; }

// ---------------------------------------------------------------- the form's window procedure

bool TAdvToolBarPager::HookForm() {
    TCustomForm* form = FirstFormOf(this);
    if (!form) return false;
    bool named = false;
    int pagers = 0;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        if (!Name().empty() && component->Name() == Name() + L"1") named = true;
        if (dynamic_cast<TAdvToolBarPager*>(component)) ++pagers;
    }
    // Two pagers on one form would each restore the other's procedure: neither takes it.
    if (!FSubclassed && pagers == 1) {
        FFormHook = std::make_shared<TPagerFormHook>();
        FFormHook->Pager = this;
        FFormHook->Previous = form->WindowProc;
        form->WindowProc = TFormHookProc{FFormHook};
        FHookedForm = form;
        FSubclassed = true;
    }
    return named;
}

void TAdvToolBarPager::UnhookForm() {
    if (!FSubclassed || !FFormHook) return;
    const auto* top = FHookedForm ? FHookedForm->WindowProc.target<TFormHookProc>() : nullptr;
    // Ours still on top: the form gets its procedure back. Otherwise someone chained onto
    // ours; it stays in their chain and only passes messages on from now.
    if (top && top->State == FFormHook) FHookedForm->WindowProc = FFormHook->Previous;
    FFormHook->Pager = nullptr;
    FFormHook.reset();
    FSubclassed = false;
    FHookedForm = nullptr;
}

void TAdvToolBarPager::FormWndProc(TMessage& message) {
    if (FFormHook && FFormHook->Previous) FFormHook->Previous(message);
    switch (message.Msg) {
        case WM_SIZE: case WM_LBUTTONDOWN: case WM_MOVING:
            HideTabShortCutHint(true);
            break;
        case WM_SYSCOMMAND: {
            const WPARAM command = message.WParam & 0xFFF0;
            if (command == SC_MINIMIZE || command == SC_MAXIMIZE) HideTabShortCutHint(true);
            break;
        }
        default: break;
    }
    if (message.Msg == WM_WINDOWPOSCHANGING || message.Msg == WM_SIZE)
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* child = dynamic_cast<IRibbonChildNotify*>(Controls(i))) child->NotifyFormMoved();
}

// ---------------------------------------------------------------- the page's side

void TAdvPage::ShowShortCutHint() {
    if (!FAdvToolBarPager || !FTabEnabled || !FTabVisible || !FAdvToolBarPager->HandleAllocated()) return;
    if (!FShortCutHint) FShortCutHint = FAdvToolBarPager->CreateShortCutHintWindow();
    FShortCutHint->ReleaseHandle();
    FShortCutHint->SetCaption(FShortCutHintText);
    FShortCutHint->SetColor(clWhite);
    const AdvGlowButton::TGlowButtonAppearance* look = FAdvToolBarPager->Itones()
                                                           ? FAdvToolBarPager->GlowButtonAppearance()
                                                           : FAdvToolBarPager->CurrentToolBarStyler()->GlowButtonAppearance();
    FShortCutHint->SetColorTo(look->Color());
    const TRect tab = FAdvToolBarPager->GetTabRect(this);
    const TPoint corner = FAdvToolBarPager->ClientToScreen({tab.Left, tab.Top});
    const TSize size = FShortCutHint->TipSize(FShortCutHintText);
    TTabTipSide side = TTabTipSide::Other;
    switch (FShortCutHintPos) {
        case AdvGlowButton::shpLeft: side = TTabTipSide::Left; break;
        case AdvGlowButton::shpTop: side = TTabTipSide::Top; break;
        case AdvGlowButton::shpRight: side = TTabTipSide::Right; break;
        case AdvGlowButton::shpBottom: side = TTabTipSide::Bottom; break;
        default: break;
    }
    int left = FShortCutHint->Left(), top = FShortCutHint->Top();
    PlaceTabTip(side, corner.X, corner.Y, tab.Width(), tab.Height(), size.cx, size.cy, left, top);
    FShortCutHint->ActivateHint(Bounds(left, top, size.cx, size.cy), FShortCutHintText);
}

void TAdvPage::HideShortCutHint() {
    if (!FShortCutHint || !FAdvToolBarPager) return;
    FShortCutHint->ReleaseHandle();
    FAdvToolBarPager->FreeShortCutHintWindow(FShortCutHint);
    FShortCutHint = nullptr;
}

void TAdvPage::ShowShortCutHintOfAdvToolBars() {
    if (!FToolBarShortCutShowing && HandleAllocated()) SetMouseCapture(true);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* toolBar = dynamic_cast<TAdvToolBar*>(Controls(i)); toolBar && toolBar->Visible() && toolBar->Enabled())
            toolBar->ShowShortCutHint();
    FToolBarShortCutShowing = true;
    FShortCutChars.clear();
}

void TAdvPage::HideShortCutHintOfAdvToolBars() {
    if (HandleAllocated() && MouseCapture()) SetMouseCapture(false);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* toolBar = dynamic_cast<TAdvToolBar*>(Controls(i)); toolBar && toolBar->Visible())
            toolBar->HideShortCutHint();
    FToolBarShortCutShowing = false;
    FShortCutChars.clear();
}

bool TAdvPage::MatchToolBarShortCut(const std::wstring& chars) {
    int partial = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* toolBar = dynamic_cast<TAdvToolBar*>(Controls(i));
        if (toolBar && toolBar->Visible() && toolBar->MatchShortCut(chars, partial)) return true;
    }
    if (partial == 0) {
        // The mode ends whole: leaving the flag alone would keep the mouse captured.
        HideShortCutHintOfAdvToolBars();
        KeyTipBeep();
    }
    return false;
}

std::wstring TAdvPage::AppendShortCutChar(wchar_t character) {
    FShortCutChars += character;
    return FShortCutChars;
}

void TAdvPage::ShowPagerTabShortCutHint() {
    if (FAdvToolBarPager) FAdvToolBarPager->ShowTabShortCutHint();
}

void TAdvPage::FocusPagerByKeyPress() {
    if (!FAdvToolBarPager) return;
    FAdvToolBarPager->SetChangeByKeyPress(true);
    if (FAdvToolBarPager->CanFocus()) FAdvToolBarPager->SetFocus();
}

void TAdvPage::RestorePagerFocus() {
    if (FAdvToolBarPager) FAdvToolBarPager->RestoreFocus();
}

bool TAdvPage::PagerFloatingRibbonShowing() const {
    return FAdvToolBarPager && FAdvToolBarPager->IsFloatingRibbonShowing();
}

void TAdvPage::HidePagerFloatingRibbon() {
    if (FAdvToolBarPager) FAdvToolBarPager->HideFloatingRibbon();
}

std::vector<TAdvCustomToolBar*> TAdvPage::ToolBarsByLeft() const {
    std::vector<TAdvCustomToolBar*> toolBars;
    for (int i = 0; i < AdvToolBarCount(); ++i)
        if (TAdvToolBar* toolBar = AdvToolBars(i); toolBar && toolBar->Visible()) toolBars.push_back(toolBar);
    std::stable_sort(toolBars.begin(), toolBars.end(),
                     [](const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) { return a->Left() < b->Left(); });
    return toolBars;
}

TAdvToolBar* TAdvPage::GetFirstAdvToolBar(bool visibleOnly) const {
    for (int i = 0; i < AdvToolBarCount(); ++i)
        if (TAdvToolBar* toolBar = AdvToolBars(i); toolBar && (!visibleOnly || toolBar->Visible())) return toolBar;
    return nullptr;
}

}  // namespace AdvToolBar
