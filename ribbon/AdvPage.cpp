// The ribbon page, the caption bar's settings, the arrow buttons of the tab row and the
// caption layer.
#include "ribbon/AdvToolBarPager.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"
#include "classlib/Properties.h"
#include "classlib/Timer.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvPageCaption, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TAdvPage, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvPageScrollButton, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TCaptionLayer, ClassLib::TCustomControl)

// ---------------------------------------------------------------- caption settings

const TPropertyList& TAdvPageCaption::Published() {
    using T = TAdvPageCaption;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
                                          .Add(L"Caption", &T::Caption, &T::SetCaption)
                                          .Add(L"Visible", &T::Visible, &T::SetVisible, true)
                                          .Add(L"Height", &T::Height, &T::SetHeight)
                                          .Add(L"Indent", &T::Indent, &T::SetIndent, 100)
                                          .Add(L"MinWidth", &T::MinWidth, &T::SetMinWidth, 100);
    return list;
}

void TAdvPageCaption::Changed() {
    if (OnChange) OnChange(this);
    FHeightUpdate = false;
}

void TAdvPageCaption::Assign(const TPersistent* source) {
    if (const auto* from = dynamic_cast<const TAdvPageCaption*>(source)) {
        FCaption = from->FCaption;
        FHeight = from->FHeight;
        SetVisible(from->FVisible);
        SetIndent(from->FIndent);
        SetMinWidth(from->FMinWidth);
        return;
    }
    TPersistent::Assign(source);
}

void TAdvPageCaption::SetCaption(const std::wstring& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TAdvPageCaption::SetWideCaption(const std::wstring& value) {
    if (value == FWideCaption) return;
    FWideCaption = value;
    Changed();
}

void TAdvPageCaption::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    FHeightUpdate = true;
    Changed();
}

void TAdvPageCaption::SetHeight(int value) {
    if (value != FHeight) {
        FHeight = value;
        FHeightUpdate = true;
    }
    Changed();
}

void TAdvPageCaption::SetIndent(int value) {
    if (value == FIndent) return;
    FIndent = value;
    Changed();
}

void TAdvPageCaption::SetMinWidth(int value) {
    if (value == FMinWidth) return;
    FMinWidth = value;
    Changed();
}

// ---------------------------------------------------------------- page

TAdvPage::TAdvPage(TComponent* owner)
    : TCustomControl(owner),
      FAdvToolBars(std::make_unique<TDbgList>()),
      FOfficeHint(std::make_unique<AdvHintInfo::TAdvHintInfo>()) {
    SetControlStyle((ControlStyle() | csAcceptsControls) & ~csOpaque);
    SetDoubleBuffered(true);
    FOldWidth = Width();
}

TAdvPage::~TAdvPage() {
    Destroying();
    if (FAdvToolBarPager) FAdvToolBarPager->RemoveAdvPage(this);
    delete FTimer;
    FTimer = nullptr;
}

const TPropertyList& TAdvPage::Published() {
    using T = TAdvPage;
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
                                          .Add(L"AutoPosition", &T::AutoPosition, &T::SetAutoPosition, true)
                                          .Add(L"ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1)
                                          .Add(L"TabHint", &T::TabHint, &T::SetTabHint)
                                          .Add(L"TabVisible", &T::TabVisible, &T::SetTabVisible, true)
                                          .Add(L"TabEnabled", &T::TabEnabled, &T::SetTabEnabled, true)
                                          .Add(L"ShortCutHint", &T::ShortCutHint, &T::SetShortCutHint);
    return list;
}

void TAdvPage::PagerTabsChanged(bool measure) {
    if (!FAdvToolBarPager) return;
    if (measure) FAdvToolBarPager->UpdateTabs();
    FAdvToolBarPager->FitTabs();
    FAdvToolBarPager->ResetTabScroll();
    FAdvToolBarPager->Invalidate();
}

void TAdvPage::SetText(const std::wstring& value) {
    if (value == FCaption) return;
    FCaption = value;
    PagerTabsChanged(true);
    if (FAdvToolBarPager && FAdvToolBarPager->IsAeroVista() && IsInTabGroup()) FAdvToolBarPager->RefreshGlassFrame();
    Invalidate();
}

void TAdvPage::SetWideCaption(const std::wstring& value) {
    if (value == FWideCaption) return;
    FWideCaption = value;
    PagerTabsChanged(true);
    Invalidate();
}

void TAdvPage::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (!value) HideCompactWindowOfAdvToolBars();
    PagerTabsChanged(false);
    if (FAdvToolBarPager) {
        if (TCaptionLayer* layer = FAdvToolBarPager->CaptionLayer()) layer->Invalidate();
        if (TAdvPage* active = FAdvToolBarPager->ActivePage()) active->Invalidate();
    }
    Invalidate();
}

void TAdvPage::SetTabEnabled(bool value) {
    if (value == FTabEnabled) return;
    FTabEnabled = value;
    Invalidate();
    if (FAdvToolBarPager) FAdvToolBarPager->Invalidate();
}

void TAdvPage::SetImageIndex(int value) {
    FImageIndex = value;
    if (FAdvToolBarPager) {
        FAdvToolBarPager->UpdateTabs();
        FAdvToolBarPager->Invalidate();
    }
}

void TAdvPage::SetAutoPosition(bool value) {
    if (value == FAutoPosition) return;
    FAutoPosition = value;
    AutoPositionAdvToolBars();
}

int TAdvPage::PageIndex() const { return FAdvToolBarPager ? FAdvToolBarPager->IndexOfPage(this) : -1; }

void TAdvPage::SetPageIndex(int value) {
    if (!FAdvToolBarPager || value < 0 || value >= FAdvToolBarPager->AdvPageCount()) return;
    FAdvToolBarPager->MoveAdvPage(PageIndex(), value);
    FAdvToolBarPager->PositionTabs();
    FAdvToolBarPager->Invalidate();
    Invalidate();
}

void TAdvPage::SetAdvToolBarPager(TAdvToolBarPager* value) {
    if (value == FAdvToolBarPager) return;
    if (FAdvToolBarPager) FAdvToolBarPager->RemoveAdvPage(this);
    if (value) {
        TCustomControl::SetParent(value);
        value->AddAdvPage(this);
    }
}

void TAdvPage::SetParent(TWinControl* parent) {
    if (parent && (parent->ClassName() == L"TAdvDockPanel" || dynamic_cast<TAdvCustomToolBar*>(parent)))
        throw Exception(L"Invalid Parent");
    auto* parentPage = dynamic_cast<TAdvPage*>(parent);
    auto* parentPager = dynamic_cast<TAdvToolBarPager*>(parent);
    if ((parentPage || parentPager) && !FUpdatingParent && FAdvToolBarPager) {
        TAdvToolBarPager* target = parentPage ? parentPage->FAdvToolBarPager : parentPager;
        if (target != FAdvToolBarPager) {
            FUpdatingParent = true;
            try {
                SetAdvToolBarPager(target);
            } catch (...) {
                FUpdatingParent = false;
                throw;
            }
            FUpdatingParent = false;
            if (FAdvToolBarPager != target) throw Exception(L"Invalid Parent");
        }
        if (parentPage) {
            const int current = FAdvToolBarPager->IndexOfPage(this);
            const int wanted = FAdvToolBarPager->IndexOfPage(parentPage);
            const int count = FAdvToolBarPager->AdvPageCount();
            if (current < 0 || current >= count || wanted < 0 || wanted >= count)
                throw Exception(L"Invalid Parent " + std::to_wstring(current) + L":" + std::to_wstring(wanted));
            FAdvToolBarPager->MoveAdvPage(current, wanted);
        }
        FAdvToolBarPager->Invalidate();
        Invalidate();
        parent = FAdvToolBarPager;
    }
    TCustomControl::SetParent(parent);
}

void TAdvPage::SetBounds(int left, int top, int width, int height) {
    if (width != Width()) FOldWidth = Width();
    TCustomControl::SetBounds(left, top, width, height);
    AutoPositionAdvToolBars();
}

void TAdvPage::Loaded() {
    TCustomControl::Loaded();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* toolBar = dynamic_cast<TAdvToolBar*>(Controls(i)); toolBar && IndexOfAdvToolBar(toolBar) < 0)
            FAdvToolBars->Add(toolBar);
    AutoPositionAdvToolBars();
    UpdateAllToolBars();
}

void TAdvPage::WndProc(TMessage& message) {
    if (message.Msg == CM_CONTROLCHANGE) {
        TCustomControl::WndProc(message);
        if (auto* toolBar = dynamic_cast<TAdvToolBar*>(reinterpret_cast<TControl*>(message.WParam))) {
            if (message.LParam != 0) {
                AddAdvToolBar(toolBar);
            } else if (!FCloning) {
                // The toolbar is on its way to another parent: only the list lets go.
                const int index = IndexOfAdvToolBar(toolBar);
                if (index >= 0) FAdvToolBars->Delete(index);
            }
        }
        return;
    }
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;  // Paint covers the whole client area
        return;
    }
    // Key tips: a click on the page (captured while they show) ends the group tips.
    if (message.Msg == WM_LBUTTONDOWN && FToolBarShortCutShowing) HideShortCutHintOfAdvToolBars();
    TCustomControl::WndProc(message);
    if (message.Msg == WM_SIZE) PageSizeChanged(message.WParam == 0 && message.LParam == 0);
}

// ---- toolbars ----

TAdvToolBar* TAdvPage::CreateAdvToolBar() {
    auto* toolBar = new TAdvToolBar(this);
    // On the page first: a toolbar outside any parent keeps its docked size limits, which
    // switching AutoSize off only lifts for a toolbar standing on a plain parent.
    AddAdvToolBar(toolBar);
    toolBar->SetAutoSize(false);
    toolBar->SetShowRightHandle(false);
    toolBar->SetShowCaption(true);
    toolBar->SetCaptionPosition(cpBottom);
    toolBar->SetCaptionAlignment(taCenter);
    toolBar->SetBounds(toolBar->Left(), toolBar->Top(), 120, 26);
    toolBar->SetCaption(L"Untitled");
    toolBar->SetParentStyler(true);
    if (!HasState(csDesigning) && !HasState(csLoading)) toolBar->MarkPropertiesLoaded();
    AutoPositionAdvToolBars();
    return toolBar;
}

int TAdvPage::AddAdvToolBar(TAdvToolBar* toolBar) {
    if (!toolBar || FCloning || IndexOfAdvToolBar(toolBar) >= 0) return -1;
    const bool live = !HasState(csLoading) && !HasState(csDesigning);
    if (live) {
        toolBar->SetShowRightHandle(false);
        toolBar->SetShowCaption(true);
        toolBar->SetCaptionPosition(cpBottom);
        toolBar->SetCaptionAlignment(taCenter);
    }
    const int index = FAdvToolBars->Add(toolBar);
    if (toolBar->Parent() != this) toolBar->SetParent(this);
    if (live && !toolBar->ToolBarStyler()) toolBar->SetParentStyler(true);
    AutoPositionAdvToolBars();
    if (live && !HasState(csReading)) {
        toolBar->MarkPropertiesLoaded();
        toolBar->HookGlowButtonEvents();
    }
    return index;
}

void TAdvPage::InsertAdvToolBar(int index, TAdvToolBar* toolBar) {
    if (!toolBar || FCloning || IndexOfAdvToolBar(toolBar) >= 0) return;
    FAdvToolBars->Insert(std::clamp(index, 0, FAdvToolBars->Count()), toolBar);
    if (toolBar->Parent() != this) toolBar->SetParent(this);
    AutoPositionAdvToolBars();
}

void TAdvPage::RemoveAdvToolBar(TAdvToolBar* toolBar) {
    if (FCloning) return;
    const int index = IndexOfAdvToolBar(toolBar);
    if (index < 0) return;
    FAdvToolBars->Delete(index);
    if (toolBar->Parent() == this && !toolBar->HasState(csDestroying)) toolBar->SetParent(nullptr);
}

void TAdvPage::MoveAdvToolBar(int curIndex, int newIndex) {
    if (FCloning || curIndex < 0 || newIndex < 0 || curIndex >= AdvToolBarCount() || newIndex >= AdvToolBarCount())
        return;
    FAdvToolBars->Move(curIndex, newIndex);
    AutoPositionAdvToolBars();
}

int TAdvPage::IndexOfAdvToolBar(const TAdvToolBar* toolBar) const {
    return FAdvToolBars->IndexOf(const_cast<TAdvToolBar*>(toolBar));
}

TAdvToolBar* TAdvPage::AdvToolBars(int index) const {
    if (index < 0 || index >= AdvToolBarCount()) return nullptr;
    return static_cast<TAdvToolBar*>(FAdvToolBars->Items(index));
}

int TAdvPage::AdvToolBarCount() const { return FAdvToolBars->Count(); }

void TAdvPage::InvalidateAdvToolBars() {
    if (!Visible()) return;
    for (int i = 0; i < AdvToolBarCount(); ++i) AdvToolBars(i)->Invalidate();
}

void TAdvPage::BeginUpdate() {
    if (Visible()) ++FUpdateCount;
}

void TAdvPage::EndUpdate() {
    if (!Visible()) return;
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) AutoPositionAdvToolBars();
}

// Placement: AdvPageAutoLayoutPage.cpp.

int TAdvPage::IndexOfToolBar(const TAdvCustomToolBar* toolBar) const {
    return FAdvToolBars->IndexOf(const_cast<TAdvCustomToolBar*>(toolBar));
}

void TAdvPage::MoveToolBar(TAdvCustomToolBar* toolBar, int index) {
    MoveAdvToolBar(IndexOfToolBar(toolBar), index);
}

// ---- tab geometry ----

int TAdvPage::GetTabWidthWithMargins() const {
    if (!FAdvToolBarPager) return FTabClientWidth;
    const int index = FAdvToolBarPager->IndexOfPage(this);
    if (index < 0) return FTabClientWidth;
    return FAdvToolBarPager->TabRow().TabWidth(index);
}

bool TAdvPage::IsInTabGroup() const { return FAdvToolBarPager && FAdvToolBarPager->PageInTabGroup(this); }

void TAdvPage::StartGlow(int timeInc, TGlowState state, int interval) {
    if (!FAdvToolBarPager) return;
    if (!FTimer) {
        if (FAdvToolBarPager->Itones() || interval <= 0) return;
        FTimer = new TTimer(FAdvToolBarPager);
        FTimer->SetInterval(unsigned(interval));
        FTimer->SetOnTimer([this](TObject*) { GlowTimer(); });
        FTimer->SetEnabled(true);
    }
    FTimeInc = timeInc;
    FGlowState = state;
}

void TAdvPage::GlowTimer() {
    auto endGlow = [this] {
        TTimer* timer = FTimer;
        FTimer = nullptr;
        FGlowState = AdvGlowButton::gsNone;
        delete timer;  // a timer may free itself in its handler
    };
    if (FGlowState == AdvGlowButton::gsPush) {
        FStepPush += FTimeInc;
        if ((FTimeInc > 0 && FStepPush > 100) || (FTimeInc < 0 && FStepPush < 0)) {
            FStepPush = 0;
            endGlow();
            return;
        }
    } else if (FGlowState == AdvGlowButton::gsHover) {
        FStepHover += FTimeInc;
        if (FTimeInc > 0 && FStepHover > 100) {
            FStepPush = 0;
            FStepHover = 120;
            if (FAdvToolBarPager) {
                TPoint cursor{};
                GetCursorPos(reinterpret_cast<POINT*>(&cursor));
                const TPoint p = FAdvToolBarPager->ScreenToClient(cursor);
                if (!FAdvToolBarPager->GetTabRect(this).Contains(p)) {
                    FTimeInc = -20;
                    FGlowState = AdvGlowButton::gsHover;
                    FAdvToolBarPager->FHotPageIndex = -1;
                }
            }
            return;
        }
        if (FTimeInc < 0 && FStepHover < 0) {
            FStepPush = 0;
            FStepHover = -20;
            endGlow();
            if (FAdvToolBarPager) FAdvToolBarPager->InvalidateTab(-1);
            return;
        }
    } else {
        return;
    }
    if (FAdvToolBarPager) FAdvToolBarPager->InvalidateTab(-1);
}

// ---- what toolbars ask ----

TCustomAdvToolBarStyler* TAdvPage::PagerToolBarStyler() const {
    if (!FAdvToolBarPager || !FAdvToolBarPager->ToolBarStyler()) return nullptr;
    return FAdvToolBarPager->CurrentToolBarStyler();
}

bool TAdvPage::PagerUIStyle(AdvStyleIF::TOVTStyle& style) const {
    if (!FAdvToolBarPager || FAdvToolBarPager->ToolBarStyler()) return false;
    style = FAdvToolBarPager->UIStyle();
    return true;
}

bool TAdvPage::PagerUsesTones() const { return FAdvToolBarPager && FAdvToolBarPager->Itones(); }
// The pager's tone copies, while its tones are on.
const TToolBarAppearance* TAdvPage::PagerToolBarAppearance() const {
    return PagerUsesTones() ? FAdvToolBarPager->ToolBarAppearance() : nullptr;
}
TColor TAdvPage::PagerToolBarCaptionTextColor() const {
    return PagerUsesTones() ? FAdvToolBarPager->ToolBarCaptionTextColor() : clNone;
}
const AdvGlowButton::TGlowButtonAppearance* TAdvPage::PagerGlowButtonAppearance() const {
    return FAdvToolBarPager ? FAdvToolBarPager->GlowButtonAppearance() : nullptr;
}
GDIPicture::TGDIPPicture* TAdvPage::PagerOptionPicture() const {
    return FAdvToolBarPager ? FAdvToolBarPager->OptionPicture() : nullptr;
}
GDIPicture::TGDIPPicture* TAdvPage::PagerOptionDisabledPicture() const {
    return FAdvToolBarPager ? FAdvToolBarPager->OptionDisabledPicture() : nullptr;
}
bool TAdvPage::PagerIsGlass() const { return FAdvToolBarPager && FAdvToolBarPager->IsGlass(false); }
bool TAdvPage::PagerOffice2013() const { return FAdvToolBarPager && FAdvToolBarPager->Office2013(); }
const TGroupAppearance* TAdvPage::TabGroupAppearance() const {
    if (!FAdvToolBarPager || FAdvToolBarPager->ActivePage() != this) return nullptr;
    const int group = FAdvToolBarPager->PageTabGroupIndex(this);
    return group >= 0 ? FAdvToolBarPager->GroupAppearanceOf(group) : nullptr;
}
bool TAdvPage::ShowDisabledControlsHint() const {
    return FAdvToolBarPager && FAdvToolBarPager->ShowDisabledControlsHint();
}

// ---- painting ----

void TAdvPage::Paint() {
    if (!FAdvToolBarPager || !FAdvToolBarPager->CurrentToolBarStyler() || FUpdateCount > 0) return;
    TAdvToolBarPager& pager = *FAdvToolBarPager;
    TVistaPageBackground* page = pager.CurrentPageAppearance();
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    const int group = pager.PageTabGroupIndex(this);
    const bool active = pager.ActivePage() == this;
    TColor background = page->Color();
    if (!active || group < 0 || pager.GroupStyle() != gsClassic) {
        if (pager.Itones()) {
            DrawVistaGradient(canvas, client, 22, page->Color(), page->ColorTo(), page->ColorMirror(),
                              page->ColorMirrorTo(), clNone, 0);
            canvas->Pen()->SetColor(page->BorderColor());
            canvas->MoveTo(0, 0);
            canvas->LineTo(client.Right, 0);
            canvas->MoveTo(0, client.Bottom - 1);
            canvas->LineTo(client.Right, client.Bottom - 1);
        } else {
            DrawVistaGradient(canvas, client, 22, page->Color(), page->ColorTo(), page->ColorMirror(),
                              page->ColorMirrorTo(), page->BorderColor(), GetCornerRadius());
        }
    } else {
        TGroupAppearance* look = pager.GroupAppearanceOf(group);
        TVistaPageBackground* groupPage = look->PageAppearance();
        background = groupPage->Color();
        const AdvGlowButton::TGlowLook glow{groupPage->Color(),       groupPage->ColorTo(),
                                            groupPage->ColorMirror(), groupPage->ColorMirrorTo(),
                                            groupPage->BorderColor(), look->Gradient(),
                                            look->GradientMirror()};
        const bool scenic = AdvGDIP::GetScenicRibbonFlag();
        DrawGlowRect(canvas, client, glow, L"", Font(), Enabled(), false, pager.AntiAlias(),
                     !scenic && pager.CurrentToolBarStyler()->RoundEdges());
    }
    if (!pager.Itones() && page->ShadowColor() != clNone && !(pager.IsAeroVista() && pager.IsGlass(true))) {
        canvas->Pen()->SetColor(page->ShadowColor());
        canvas->MoveTo(2, client.Bottom - 1);
        canvas->LineTo(client.Right - 2, client.Bottom - 1);
    }
    // Open the page border under the selected tab.
    if (active) {
        TRect tab = pager.GetTabRect(this);
        if (tab.Left > 0 && tab.Right > 0 && pager.TabSettings()->Height() > 0) {
            const int shift = pager.GetPagePadding() + pager.PageLeftMargin();
            canvas->Pen()->SetColor(background);
            canvas->MoveTo(std::max(1, tab.Left - shift + 1), 0);
            canvas->LineTo(std::min(client.Right - 1, tab.Right - shift - 1), 0);
        }
    }
    GDIPicture::TGDIPPicture* branding = pager.BrandingPicture();
    if (branding && !branding->Empty()) {
        const int top = (client.Height() - branding->Height()) / 2;
        const int left = client.Right - branding->Width() - top;
        const TAdvToolBar* last = AdvToolBarCount() > 0 ? AdvToolBars(AdvToolBarCount() - 1) : nullptr;
        const int lastRight = last ? last->Left() + last->Width() : 0;
        if (lastRight < left) canvas->Draw(left, top, branding);
    }
}

// ---------------------------------------------------------------- scroll button

TAdvPageScrollButton::TAdvPageScrollButton(TComponent* owner)
    : TCustomControl(owner), FAppearance(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()) {
    FAppearance->OnChange = [this](TObject*) { Invalidate(); };
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(Left(), Top(), 23, 22);
    SetParentFont(true);
    Font()->SetName(L"Tahoma");
    SetShowHint(false);
}

TAdvPageScrollButton::~TAdvPageScrollButton() = default;

void TAdvPageScrollButton::SetAppearance(const AdvGlowButton::TGlowButtonAppearance* value) {
    FAppearance->Assign(value);
}

void TAdvPageScrollButton::SetButtonPosition(AdvGlowButton::TButtonPosition value) {
    FButtonPosition = value;
    Invalidate();
}

void TAdvPageScrollButton::SetScrollArrow(TScrollArrow value) {
    FScrollArrow = value;
    Invalidate();
}

void TAdvPageScrollButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(message);
        if (HasState(csDesigning)) return;
        FMouseEnter = message.Msg == CM_MOUSEENTER;
        if (Enabled()) Invalidate();
        if (FMouseEnter && OnScrollMouseEnter) OnScrollMouseEnter(this);
        if (!FMouseEnter && OnScrollMouseLeave) OnScrollMouseLeave(this);
        return;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    default:
        TCustomControl::WndProc(message);
    }
}

void TAdvPageScrollButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled() || HasState(csDesigning)) return;
    if (FRepeatClick) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->SetOnTimer([this](TObject*) { RepeatTimerTick(); });
        }
        FRepeatTimer->SetInterval(unsigned(FInitRepeatPause));
        FRepeatTimer->SetEnabled(true);
    }
    FMouseDown = true;
    Invalidate();
}

void TAdvPageScrollButton::RepeatTimerTick() {
    FRepeatTimer->SetInterval(unsigned(FRepeatPause));
    if (!FMouseDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TAdvPageScrollButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (HasState(csDesigning)) return;
    Invalidate();
    const bool wasDown = FMouseDown;
    FMouseDown = false;
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (wasDown && Enabled()) Click();
}

void TAdvPageScrollButton::Paint() {
    TCanvas* canvas = Canvas();
    const TRect r = ClientRect();
    const AdvGlowButton::TGlowButtonAppearance& a = *FAppearance;
    TVistaButtonFace face;
    if (!Enabled())
        face.Look = {a.ColorDisabled(), a.ColorDisabledTo(), a.ColorMirrorDisabled(), a.ColorMirrorDisabledTo(),
                     a.BorderColorDisabled(), a.Gradient(), a.GradientMirror()};
    else if (FMouseDown)
        face.Look = {a.ColorDown(), a.ColorDownTo(), a.ColorMirrorDown(), a.ColorMirrorDownTo(),
                     FButtonPosition == AdvGlowButton::bpStandalone ? a.BorderColorDown() : a.BorderColor(),
                     a.GradientDown(), a.GradientMirrorDown()};
    else if (FMouseEnter)
        face.Look = {a.ColorHot(), a.ColorHotTo(), a.ColorMirrorHot(), a.ColorMirrorHotTo(), a.BorderColorHot(),
                     a.GradientHot(), a.GradientMirrorHot()};
    else
        face.Look = {a.Color(), a.ColorTo(), a.ColorMirror(), a.ColorMirrorTo(), a.BorderColor(), a.Gradient(),
                     a.GradientMirror()};
    face.Font = Font();
    face.Enabled = Enabled();
    face.Position = AdvGDIP::GetGlassFlag() ? AdvGlowButton::bpStandalone : FButtonPosition;
    face.HotOrDown = FMouseEnter || FMouseDown;
    DrawVistaButton(canvas, r, face);

    if (FScrollArrow != saLeft && FScrollArrow != saRight) return;
    canvas->Pen()->SetColor(BlendColor(clBlack, face.Look.Border, 50));
    const int c = int(std::lrint(3.0 * FormPixelsPerInch / 96));
    const int cx = Width() / 2;
    const int top = Height() / 2 - c + 1;
    for (int k = 0; k < c; ++k) {
        const int x = FScrollArrow == saLeft ? cx + c / 2 - k : cx - c / 2 + k;
        canvas->MoveTo(x, top + k);
        canvas->LineTo(x, top + 2 * c - k - 1);
    }
}

// ---------------------------------------------------------------- caption layer

TCaptionLayer::TCaptionLayer(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() & ~csOpaque);
}

void TCaptionLayer::WndProc(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    if (message.Msg == WM_LBUTTONDBLCLK && OnLayerDblClick) {
        OnLayerDblClick(this, mbLeft, MouseShiftState(message.WParam), message.XPos(), message.YPos());
        return;
    }
    TCustomControl::WndProc(message);
}

void TCaptionLayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (OnLayerMouseDown) OnLayerMouseDown(this, button, shift, x, y);
}

void TCaptionLayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (OnLayerMouseUp) OnLayerMouseUp(this, button, shift, x, y);
}

void TCaptionLayer::Paint() {
    if (OnPaintText) OnPaintText(this);
}

}  // namespace AdvToolBar
