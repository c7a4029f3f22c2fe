// Compact ribbon groups: the size steps of the glow buttons, the switch into and out of the
// compact state with its full copy of the toolbar (the copy shown in the drop-down window),
// the compact button, and the drop-down window itself.
#include "toolbars/AdvToolBarCompact.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "classlib/Canvas.h"
#include "classlib/Properties.h"
#include "classlib/Timer.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarBase.h"
#include "toolbars/AdvOptionSelector.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;
using AdvGlowButton::TAdvGlowButton;

CLASSLIB_IMPLEMENT(TCompactWindow, ClassLib::TCustomForm)

// ---------------------------------------------------------------- measuring seam

namespace {

int MeasureScopes = 0;
std::map<std::pair<const TAdvCustomGlowButton*, int>, int>& MeasuredWidths() {
    static std::map<std::pair<const TAdvCustomGlowButton*, int>, int> widths;
    return widths;
}

int MeasureWidth(TAdvCustomGlowButton* button, TButtonSizeState state) {
    if (MeasureScopes == 0) return int(button->GetSizeForState(state).cx);
    const auto key = std::make_pair(static_cast<const TAdvCustomGlowButton*>(button), int(state));
    auto& widths = MeasuredWidths();
    const auto found = widths.find(key);
    if (found != widths.end()) return found->second;
    const int width = int(button->GetSizeForState(state).cx);
    widths.emplace(key, width);
    return width;
}

}  // namespace

TGlowButtonMeasureScope::TGlowButtonMeasureScope() { ++MeasureScopes; }

TGlowButtonMeasureScope::~TGlowButtonMeasureScope() {
    if (--MeasureScopes == 0) MeasuredWidths().clear();
}

TGlowButtonSizer& GlowButtonSizer() {
    static TGlowButtonSizer sizer{
        [](TAdvCustomGlowButton* button, TButtonSizeState state) { return MeasureWidth(button, state); },
        [](TAdvCustomGlowButton* button, TButtonSizeState state) {
            button->SetButtonSizeState(state);
            return button->Width();
        }};
    return sizer;
}

LRESULT CompactWindowHitTest(int x, int y, int width, int height) {
    return x > width - 10 && y > height - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
}

namespace {

TCustomForm* TopForm(TControl* control) {
    TCustomForm* form = nullptr;
    for (; control; control = control->Parent())
        if (auto* f = dynamic_cast<TCustomForm*>(control)) form = f;
    return form;
}

// A moved glow button takes the look of an external styler's glow buttons; its Down stays.
void TakeStylerFont(TAdvCustomGlowButton* button, const TCustomAdvToolBarStyler* styler, bool textFromStyler) {
    const AdvGlowButton::TGlowButtonAppearance* glow = styler->GlowButtonAppearance();
    button->Appearance()->SetSystemFont(glow->SystemFont());
    if (glow->SystemFont()) button->Font()->SetColor(clWindowText);
    else button->Font()->SetColor(textFromStyler ? glow->TextColor() : button->Appearance()->TextColor());
}

}  // namespace

// ---------------------------------------------------------------- the drop-down window

TCompactWindow::TCompactWindow(TComponent* owner) : TCustomForm(owner), FOwner(owner) {
    FHideTimer = new TTimer(this);
    FHideTimer->SetEnabled(false);
    FHideTimer->SetInterval(1);
    FHideTimer->SetOnTimer([this](TObject*) { HideTimerTick(); });
}

TCompactWindow::~TCompactWindow() {
    delete FHideTimer;
    FHideTimer = nullptr;
}

void TCompactWindow::CreateParams(TCreateParams& params) {
    TCustomForm::CreateParams(params);
    params.Style = (params.Style | WS_POPUP) & ~WS_CHILD;
    params.WindowClass.style |= CS_DROPSHADOW;
    // Owned by the page toolbar's form: kept above it, no task-bar button of its own.
    if (HWND top = OwnerTopWindow()) params.WndParent = top;
}

HWND TCompactWindow::OwnerTopWindow() const {
    auto* control = dynamic_cast<TWinControl*>(FOwner);
    if (!control || !control->HandleAllocated()) return nullptr;
    HWND window = control->Handle();
    while (HWND parent = ::GetParent(window)) window = parent;
    return window;
}

void TCompactWindow::SetWindowSize() {
    if (!FAdvToolBar) return;
    SetBounds(Left(), Top(), FAdvToolBar->Width() + 2, FAdvToolBar->Height() + 2);
    FAdvToolBar->SetBounds(1, 1, FAdvToolBar->Width(), FAdvToolBar->Height());
    SetColor(FAdvToolBar->CurrentToolBarStyler()->Color()->Color());
}

void TCompactWindow::SetRoundedRegion() {
    if (!HandleAllocated()) return;
    const TRect client = ClientRect();
    HRGN region = ::CreateRoundRectRgn(0, 0, client.Width(), client.Height(), 4, 4);
    // The window owns the region from here on.
    if (region && !::SetWindowRgn(FHandle, region, TRUE)) ::DeleteObject(region);
}

bool TCompactWindow::CloseQuery() {
    bool canClose = TCustomForm::CloseQuery();
    if (auto* owner = dynamic_cast<TAdvCustomToolBar*>(FOwner); canClose && owner && owner->OnCompactCloseQuery)
        owner->OnCompactCloseQuery(owner, canClose);
    return canClose;
}

bool TCompactWindow::CanHide() { return CloseQuery() && FHideOnDeActivate; }

void TCompactWindow::HideTimerTick() {
    Hide();
    FHideTimer->SetEnabled(false);
    if (FAdvToolBar) FAdvToolBar->CompactWindowClosed();
}

void TCompactWindow::DoHide() {
    TCustomForm::DoHide();
    if (FDropDownButton) FDropDownButton->SetDown(false);
    if (FAdvToolBar) FAdvToolBar->PostCompactWindowHide();
}

void TCompactWindow::Paint() {
    TCustomForm::Paint();
    TRect r = ClientRect();
    r = {r.Left - 4, r.Top - 4, r.Right + 4, r.Bottom + 4};
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Pen()->SetColor(Color());
    Canvas()->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TCompactWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_NCHITTEST) {
        RECT bounds{};
        if (HandleAllocated()) ::GetWindowRect(FHandle, &bounds);
        const int x = short(LOWORD(message.LParam)) - bounds.left, y = short(HIWORD(message.LParam)) - bounds.top;
        message.Result = CompactWindowHitTest(x, y, Width(), Height());
        return;
    }
    TCustomForm::Dispatch(message);
    if (message.Msg == WM_ACTIVATE) WMActivate(message);
}

void TCompactWindow::WMActivate(TMessage& message) {
    const bool active = LOWORD(message.WParam) != WA_INACTIVE;
    auto* pageToolBar = dynamic_cast<TAdvCustomToolBar*>(FOwner);
    if (!Visible()) {
        if (pageToolBar && IsControlChainVisible(pageToolBar) && pageToolBar->CanFocus()) pageToolBar->SetFocus();
        return;
    }
    if (active) {
        if (FAdvToolBar && FAdvToolBar->Visible() && FAdvToolBar->Enabled() && FAdvToolBar->CanFocus())
            FAdvToolBar->SetFocus();
        if (HWND top = OwnerTopWindow()) ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
        return;
    }
    if (!CanHide()) return;
    // A menu dropped from one of the group's buttons takes the activation: stay open for it.
    if (pageToolBar && pageToolBar->Visible() && FAdvToolBar && FAdvToolBar->HasDroppedDownButton()) return;
    FHideTimer->SetEnabled(true);
}

// ---------------------------------------------------------------- the toolbar's side: links

bool TAdvCustomToolBar::IsCompact() const { return FCompact; }

bool TAdvCustomToolBar::InCompactWindow() const { return dynamic_cast<TCompactWindow*>(Parent()) != nullptr; }

// For the copy shown in a compact window: the page toolbar it copies.
TAdvCustomToolBar* TAdvCustomToolBar::CompactSource() const { return InCompactWindow() ? FSelfClone : nullptr; }

IToolBarStylerClient* TAdvCustomToolBar::CompactCopy() const {
    return FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
}

TAdvCustomToolBar* TAdvCustomToolBar::SelfClone() const {
    if (FSelfClone) return FSelfClone;
    return FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
}

// The toolbar's own windows (options drop-down, compact button, compact window) are never items.
bool TAdvCustomToolBar::IsOwnWindow(const TControl* control) const {
    return control && (control == FOptionWindow || control == FCompactBtn || dynamic_cast<const TCompactWindow*>(control));
}

bool TAdvCustomToolBar::HasDroppedDownButton() const {
    std::function<bool(const TWinControl*)> search = [&](const TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* control = parent->Controls(i);
            if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control); button && button->DroppedDown()) return true;
            if (auto* window = dynamic_cast<TWinControl*>(control); window && search(window)) return true;
        }
        return false;
    };
    return search(this);
}

// ---------------------------------------------------------------- size steps

std::vector<TSizeStepItem> TAdvCustomToolBar::SizeStepItems() const {
    std::vector<TSizeStepItem> items;
    for (int i = 0; i < FSeqControlList->Count(); ++i) {
        const TControl* control = ItemAt(*FSeqControlList, i);
        TSizeStepItem item;
        item.Left = control->Left();
        item.Width = control->Width();
        if (const auto* button = dynamic_cast<const TAdvCustomGlowButton*>(control)) {
            item.GlowButton = button->AutoSize();
            item.State = button->ButtonSizeState();
            item.MinState = button->MinButtonSizeState();
            item.MaxState = button->MaxButtonSizeState();
        }
        items.push_back(item);
    }
    return items;
}

int TAdvCustomToolBar::ApplySizeStep(bool grow, TButtonSizeState& newState, bool apply) {
    if (!FAutoPositionControls || !FAutoSize || IsCompact() || !(PageHost() || InCompactWindow())) return 0;
    struct TFlags {
        TAdvCustomToolBar& Bar;
        bool Positioning, Updation;
        ~TFlags() {
            Bar.FInternalControlPositioning = Positioning;
            Bar.FInternalControlUpdation = Updation;
        }
    } restore{*this, FInternalControlPositioning, FInternalControlUpdation};
    FInternalControlPositioning = true;
    FInternalControlUpdation = true;
    RebuildSequenceList();
    const std::vector<TSizeStepItem> items = SizeStepItems();
    const TSizeStep step = grow ? FindGrowStep(items) : FindShrinkStep(items);
    if (!step.Found()) return 0;
    newState = step.NewState;
    std::vector<int> oldWidths, newWidths;
    for (int position : step.Items) {
        auto* button = static_cast<TAdvCustomGlowButton*>(ItemAt(*FSeqControlList, position));
        oldWidths.push_back(button->Width());
        newWidths.push_back(apply ? GlowButtonSizer().SwitchTo(button, step.NewState)
                                  : GlowButtonSizer().WidthAt(button, step.NewState));
    }
    if (apply) ArrangeItems(true);
    return StepWidth(step.Kind, oldWidths, newWidths);
}

int TAdvCustomToolBar::ShrinkButtons(TButtonSizeState& newState, bool apply) { return ApplySizeStep(false, newState, apply); }

int TAdvCustomToolBar::GrowButtons(TButtonSizeState& newState, bool apply) { return ApplySizeStep(true, newState, apply); }

void TAdvCustomToolBar::ShrinkToSmallest() {
    TButtonSizeState state;
    // Each step turns buttons one state smaller, so the loop ends; the bound only guards it.
    for (int guard = 0; guard < 3 * (FATBControls->Count() + 1) && ShrinkButtons(state, true) != 0; ++guard) {
    }
}

void TAdvCustomToolBar::GrowToLargest() {
    TButtonSizeState state;
    for (int guard = 0; guard < 3 * (FATBControls->Count() + 1) && GrowButtons(state, true) != 0; ++guard) {
    }
}

// ---------------------------------------------------------------- widths

int TAdvCustomToolBar::GetCompactWidth() {
    if (!PageHost()) return Width();
    if (!FCompactBtn || FCompactCaption.empty()) return FCompactMinWidth;
    return std::max(FCompactMinWidth, GlowButtonSizer().WidthAt(FCompactBtn, AdvGlowButton::bsLarge));
}

int TAdvCustomToolBar::GetExpandedWidth() {
    TAdvCustomToolBar* copy = FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
    if (!IsCompact() || !PageHost() || !copy) return Width();
    if (!FCompactSmallest && FOldAutoPosition && FOldAutoSize) {
        copy->FAutoPositionControls = true;
        copy->FAutoSize = true;
        copy->ShrinkToSmallest();
        FCompactSmallest = true;
    }
    return copy->Width();
}

// ---------------------------------------------------------------- switching

void TAdvCustomToolBar::SetCompact(bool value) {
    IToolBarPageHost* page = PageHost();
    if (!page || value == FCompact) return;
    if (value) {
        ApplyCompact(true);
        FCompactMode = true;
    } else {
        FCompactMode = false;
        ApplyCompact(false);
    }
    page->UpdateAllToolBars();
}

void TAdvCustomToolBar::ApplyCompact(bool value) {
    IToolBarPageHost* page = PageHost();
    if (value == FCompact || !page || !FPropertiesLoaded || FCompactMode) return;
    if (value) {
        FCompactChanging = true;
        FOldAutoPosition = FAutoPositionControls;
        FOldAutoSize = FAutoSize;
        FOldAutoArrangeButtons = FAutoArrangeButtons;
        SetAutoPositionControls(false);
        SetAutoSize(false);
        SetAutoArrangeButtons(false);
        if (!FCompactWindow) {
            auto* window = new TCompactWindow(this);
            if (!Name().empty()) window->SetName(Name() + L"_CompactWindow");
            window->SetBorderStyle(bsNone);
            window->SetCtl3D(false);
            window->SetFormStyle(fsStayOnTop);
            window->SetVisible(false);
            window->SetBounds(window->Left(), window->Top(), 30, 30);
            if (TCustomForm* form = TopForm(this)) window->Font()->Assign(form->Font());
            FCompactWindow = window;
        }
        if (!FCompactWindow->AdvToolBar()) {
            auto* copy = new TAdvCustomToolBar(FCompactWindow);
            if (!Name().empty()) copy->SetName(Name() + L"_SelfClone");
            copy->SetParent(FCompactWindow);
            copy->FSelfClone = this;
            if (OnDblClick) copy->OnDblClick = OnDblClick;
            if (OnKeyPress) copy->OnKeyPress = OnKeyPress;
            if (OnKeyDown) copy->OnKeyDown = OnKeyDown;
            if (OnKeyUp) copy->OnKeyUp = OnKeyUp;
            FCompactWindow->SetAdvToolBar(copy);
        }
        FCompactWindow->SetWindowSize();
        CopyToSelfClone(true);
        SetWidth(GetCompactWidth());

        auto* button = new TAdvGlowButton(this);
        FCompactBtn = button;  // before it joins: the toolbar must know it is no item
        button->SetParent(this);
        button->SetFocusType(AdvGlowButton::ftNone);
        SetCompactButtonImage();
        button->SetCaption(FCompactCaption);
        button->SetWideCaption(FWideCompactCaption);
        button->SetLayout(AdvGlowButton::blGlyphTop);
        button->SetBounds(0, 0, GetCompactWidth(), Height());
        button->SetVisible(true);
        button->Appearance()->Assign(FCurrentToolBarStyler->CompactGlowButtonAppearance());
        if (page->PagerUsesTones())
            if (const AdvGlowButton::TGlowButtonAppearance* pager = page->PagerGlowButtonAppearance()) {
                AdvGlowButton::TGlowButtonAppearance* look = button->Appearance();
                look->SetColor(pager->Color());
                for (auto setter : {&AdvGlowButton::TGlowButtonAppearance::SetColorTo,
                                    &AdvGlowButton::TGlowButtonAppearance::SetColorMirror,
                                    &AdvGlowButton::TGlowButtonAppearance::SetColorMirrorTo,
                                    &AdvGlowButton::TGlowButtonAppearance::SetColorCheckedTo,
                                    &AdvGlowButton::TGlowButtonAppearance::SetColorMirrorChecked,
                                    &AdvGlowButton::TGlowButtonAppearance::SetColorMirrorCheckedTo})
                    (look->*setter)(clNone);
                look->SetColorHot(pager->ColorHot());
                look->SetColorHotTo(pager->ColorHotTo());
                look->SetColorMirrorHot(pager->ColorMirrorHot());
                look->SetColorMirrorHotTo(pager->ColorMirrorHotTo());
                look->SetBorderColorHot(pager->BorderColorHot());
                button->SetRounded(page->PagerTabRoundEdges());
                if (!pager->SystemFont()) button->Font()->SetColor(pager->TextColor());
            }
        button->SetDropDownButton(true);
        button->SetDropDownPosition(AdvGlowButton::dpBottom);
        button->SetDropDownSplit(false);
        button->OnClick = [this](TObject* sender) { CompactButtonClick(sender); };
        button->SetStyle(AdvGlowButton::bsCheck);
        button->SetShortCutHint(FCompactShortCutHint);
        button->SetShortCutHintPos(AdvGlowButton::shpBelowBottomCenter);
        SetWidth(GetCompactWidth());
        FCompactChanging = false;
        FCompact = true;
        return;
    }

    if (FCompactWindow && FCompactWindow->Visible()) FCompactWindow->Hide();
    FCompactChanging = true;
    TAdvCustomToolBar* copy = FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
    std::vector<void*> order;
    if (copy)
        for (int i = 0; i < copy->FATBControls->Count(); ++i) order.push_back(copy->FATBControls->GetItemsEx(i));
    SetWidth(GetExpandedWidth());
    if (copy) SetShowCaption(copy->ShowCaption());
    SetAutoPositionControls(false);
    SetAutoSize(false);
    SetAutoArrangeButtons(false);
    if (FCompactBtn) {
        FCompactBtn->SetVisible(false);
        TAdvGlowButton* button = FCompactBtn;
        FCompactBtn = nullptr;
        delete button;
    }
    if (copy) {
        while (copy->ControlCount() > 0) {
            TControl* control = copy->Controls(0);
            const int left = control->Left(), top = control->Top();
            auto* glow = dynamic_cast<TAdvCustomGlowButton*>(control);
            const bool down = glow && glow->Down();
            if (glow) glow->SetDown(false);
            control->SetParent(this);
            control->SetBounds(left, top, control->Width(), control->Height());
            if (glow) {
                glow->SetDown(down);
                if (FAssignedStyler) TakeStylerFont(glow, FAssignedStyler, false);
            }
        }
        if (int(order.size()) == FATBControls->Count()) {
            FATBControls->Clear();
            for (void* entry : order) FATBControls->Add(entry);
        }
        copy->SetToolBarStyler(nullptr);
    }
    if (FCompactWindow) {
        TCompactWindow* window = FCompactWindow;
        FCompactWindow = nullptr;
        delete window;  // frees the copy it owns
    }
    FCompact = false;
    SetAutoPositionControls(FOldAutoPosition);
    SetAutoSize(FOldAutoSize);
    SetAutoArrangeButtons(FOldAutoArrangeButtons);
    FCompactChanging = false;
}

void TAdvCustomToolBar::CopyToSelfClone(bool moveControls) {
    TAdvCustomToolBar* copy = FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
    if (!copy) return;
    copy->SetToolBarStyler(FToolBarStyler ? FToolBarStyler : FCurrentToolBarStyler);
    copy->FAutoPositionControls = false;
    copy->FAutoSize = false;
    copy->SetAutoArrangeButtons(false);
    copy->SetAllowFloating(FAllowFloating);
    copy->SetAutoOptionMenu(FAutoOptionMenu);
    copy->SetCaption(Caption());
    copy->SetCaptionFont(FCaptionFont.get());
    copy->SetCaptionHeight(FCaptionHeight);
    copy->SetCaptionPosition(FCaptionPosition);
    copy->SetCaptionAlignment(FCaptionAlignment);
    copy->SetShowRightHandle(FShowRightHandle);
    copy->SetShowClose(FShowClose);
    copy->SetShowOptionIndicator(FShowOptionIndicator);
    copy->SetEnabled(Enabled());
    copy->SetImages(FImages);
    copy->SetDisabledImages(FDisabledImages);
    copy->SetShowHint(ShowHint());
    copy->Font()->Assign(Font());
    copy->SetOptionMenu(FOptionMenu);
    IToolBarPageHost* page = PageHost();
    if (FParentOptionPicture && page && page->PageInPager() && page->PagerOptionPicture()) {
        copy->SetOptionPicture(page->PagerOptionPicture());
        copy->SetOptionDisabledPicture(page->PagerOptionDisabledPicture());
    } else {
        copy->SetOptionPicture(FOptionPicture.get());
        copy->SetOptionDisabledPicture(FOptionDisabledPicture.get());
    }
    copy->SetParentOptionPicture(false);
    copy->OnOptionClick = OnOptionClick;
    if (moveControls) {
        std::vector<void*> order;
        for (int i = 0; i < FATBControls->Count(); ++i) order.push_back(FATBControls->GetItemsEx(i));
        copy->SetBounds(copy->Left(), copy->Top(), Width(), Height());
        copy->SetShowCaption(FShowCaption);
        SetShowCaption(false);
        std::vector<TControl*> children;
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->ClassName() != L"TCompactWindow" && Controls(i) != FCompactBtn) children.push_back(Controls(i));
        for (TControl* control : children) {
            const int left = control->Left(), top = control->Top();
            auto* glow = dynamic_cast<AdvGlowButton::TAdvGlowButton*>(control);
            const bool down = glow && glow->Down();
            control->SetParent(copy);
            control->SetBounds(left, top, control->Width(), control->Height());
            if (glow) {
                if (FAssignedStyler) TakeStylerFont(glow, FAssignedStyler, true);
                glow->SetDown(down);
            }
        }
        if (int(order.size()) == copy->FATBControls->Count()) {
            copy->FATBControls->Clear();
            for (void* entry : order) copy->FATBControls->Add(entry);
        }
    }
    copy->FCtrlVisList.clear();
    for (int i = 0; i < copy->FATBControls->Count(); ++i)
        copy->FCtrlVisList.push_back(ItemAt(*copy->FATBControls, i)->Visible());
}

void TAdvCustomToolBar::SetCompactButtonImage() {
    if (!FCompactBtn) return;
    FCompactBtn->SetPicture(FCompactPicture.get());
    if (FCompactPicture->Empty() && FImages && FCompactImageIndex >= 0) {
        // The button draws from the toolbar's list (its disabled list while disabled).
        FCompactBtn->SetImages(!Enabled() && FDisabledImages ? FDisabledImages : FImages);
        FCompactBtn->SetImageIndex(FCompactImageIndex);
    } else if (FCompactImageIndex < 0) {
        FCompactBtn->SetImageIndex(-1);
    }
}

// ---------------------------------------------------------------- the compact button

void TAdvCustomToolBar::CompactButtonClick(TObject* sender) {
    TAdvCustomToolBar* copy = FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
    if (!IsCompact() || !copy) return;
    IToolBarPageHost* page = PageHost();
    FCompactWindow->SetScaled(false);
    if (FCompactSmallest && FOldAutoPosition && FOldAutoSize && page) {
        copy->RebuildSequenceList();
        copy->FAutoPositionControls = FOldAutoPosition;
        copy->FAutoSize = FOldAutoSize;
        copy->GrowToLargest();
        FCompactSmallest = false;
    }
    if (FOldAutoPosition && page) {
        bool same = int(copy->FCtrlVisList.size()) == copy->FATBControls->Count();
        for (int i = 0; same && i < copy->FATBControls->Count(); ++i)
            same = copy->FCtrlVisList[size_t(i)] == ItemAt(*copy->FATBControls, i)->Visible();
        if (!same) {
            copy->FCtrlVisList.clear();
            for (int i = 0; i < copy->FATBControls->Count(); ++i)
                copy->FCtrlVisList.push_back(ItemAt(*copy->FATBControls, i)->Visible());
            const bool was = copy->FAutoPositionControls;
            copy->FAutoPositionControls = true;
            copy->ArrangeItems(FOldAutoSize);
            copy->FAutoPositionControls = was;
        }
    }
    TPoint p{Left(), Top() + Height() + 1};
    if (Parent()) p = Parent()->ClientToScreen(p);
    RECT work{};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(::MonitorFromPoint(POINT{p.X, p.Y}, MONITOR_DEFAULTTONEAREST), &info)) work = info.rcWork;
    else ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (TCustomForm* form = TopForm(this)) FCompactWindow->Font()->Assign(form->Font());
    FCompactWindow->SetDropDownButton(dynamic_cast<TAdvCustomGlowButton*>(sender));
    {
        const bool was = copy->FAutoSize;
        copy->FAutoSize = true;
        copy->AdjustToolBarSize();
        copy->FAutoSize = was;
    }
    FCompactWindow->SetWindowSize();
    const int width = FCompactWindow->Width(), height = FCompactWindow->Height();
    if (p.X + width > work.right && p.X < work.right) p.X = work.right - width;
    const bool floatingHide = page ? page->SuspendFloatingRibbonHide() : false;
    FCompactWindow->SetBounds(FCompactWindow->Left(), FCompactWindow->Top(), 1, 1);
    DoCompactShow();
    FCompactWindow->Show();
    FCompactWindow->SetBounds(p.X, p.Y, width, height);
    FCompactWindow->SetRoundedRegion();
    if (page) page->ResumeFloatingRibbonHide(floatingHide);
}

void TAdvCustomToolBar::CompactWindowClosed() {
    if (HasState(csDesigning) || !Parent()) return;
    if (InCompactWindow()) {
        if (FSelfClone)
            if (IToolBarPageHost* page = FSelfClone->PageHost()) page->CompactWindowClosed(FSelfClone->FCompactBtn);
        return;
    }
    if (IToolBarPageHost* page = PageHost()) page->CompactWindowClosed(FCompactBtn);
}

void TAdvCustomToolBar::PostCompactWindowHide() {
    if (HandleAllocated() && WM_TBCOMPACTWINHIDE != 0) ::PostMessageW(FHandle, WM_TBCOMPACTWINHIDE, 0, 0);
}

void TAdvCustomToolBar::HideCompactWindow() {
    if (IsCompact() && FCompactWindow && FCompactWindow->Visible()) FCompactWindow->Hide();
}

void TAdvCustomToolBar::UpdateControlsVisibility() {
    TAdvCustomToolBar* copy = FCompactWindow ? FCompactWindow->AdvToolBar() : nullptr;
    if (!IsCompact() || !PageHost() || FInternalControlPositioning || HasState(csLoading) || HasState(csDesigning) ||
        !copy || !FOldAutoPosition || !FOldAutoSize || FCompactChanging || copy->FCompactChanging || !FCompactSmallest)
        return;
    copy->RebuildSequenceList();
    copy->FAutoPositionControls = FOldAutoPosition;
    copy->FAutoSize = FOldAutoSize;
    Parent()->Perform(WM_SIZE, 0, 0);
}

// ---------------------------------------------------------------- compact settings

void TAdvCustomToolBar::SetCompactCaption(const std::wstring& value) {
    if (value == FCompactCaption) return;
    FCompactCaption = value;
    if (FCompactBtn && FCompactBtn->Caption() != value) FCompactBtn->SetCaption(value);
}

void TAdvCustomToolBar::SetWideCompactCaption(const std::wstring& value) {
    if (value == FWideCompactCaption) return;
    FWideCompactCaption = value;
    if (FCompactBtn) FCompactBtn->SetWideCaption(value);
}

void TAdvCustomToolBar::SetCompactImageIndex(int value) {
    if (value == FCompactImageIndex) return;
    FCompactImageIndex = value;
    if (IsCompact() && PageHost() && FCompactBtn && !HasState(csLoading) && !HasState(csDesigning)) {
        SetCompactButtonImage();
        FCompactBtn->Invalidate();
    }
}

void TAdvCustomToolBar::CompactPictureChanged() {
    if (!IsCompact() || !FCompactBtn) return;
    FCompactBtn->SetPicture(FCompactPicture.get());
    FCompactBtn->Invalidate();
}

void TAdvCustomToolBar::UpdateCompactButtonAppearance() {
    if (IsCompact() && FCompactBtn) FCompactBtn->Appearance()->Assign(FCurrentToolBarStyler->CompactGlowButtonAppearance());
}

}  // namespace AdvToolBar
