#include "toolbars/AdvToolBar.h"

#include <algorithm>
#include <cmath>

#include "classlib/ControlReparent.h"
#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "classlib/Timer.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvOptionSelector.h"
#include "toolbars/AdvToolBarCustomizer.h"
#include "toolbars/AdvDockPanel.h"
#include "toolbars/AdvFloatingWindow.h"
#include "toolbars/AdvGlowMenuButton.h"
#include "toolbars/AdvToolBarCompact.h"
#include "toolbars/AdvToolBarItem.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;
using AdvStyleIF::TOVTStyle;

CLASSLIB_IMPLEMENT(TAdvCustomToolBar, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvToolBar, TAdvCustomToolBar)

// ---------------------------------------------------------------- construction

TAdvCustomToolBar::TAdvCustomToolBar(TComponent* owner)
    : TCustomControl(owner),
      FATBControls(std::make_unique<TDbgList>()),
      FRUControls(std::make_unique<TDbgList>()),
      FLUHidedControls(std::make_unique<TDbgList>()),
      FSeqControlList(std::make_unique<TDbgList>()),
      FCaptionFont(std::make_unique<TFont>()),
      FPersistence(std::make_unique<TPersistence>(this)),
      FOptionDisabledPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FOptionPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FCompactPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FOfficeHint(std::make_unique<AdvHintInfo::TAdvHintInfo>()) {
    SetControlStyle((ControlStyle() | csAcceptsControls) & ~csOpaque);
    FMinLength = 60;
    Constraints()->SetMinWidth(FMinLength);
    SetBounds(Left(), Top(), Width(), 26);
    FOwner = owner;
    FInternalToolBarStyler = new TCustomAdvToolBarStyler(this);
    FInternalToolBarStyler->SetName(L"InternalStyler");
    FInternalToolBarStyler->CaptionFont()->SetHeight(-11);
    FInternalToolBarStyler->AddControl(this);
    FCurrentToolBarStyler = FInternalToolBarStyler;
    FCaptionHeight = ToolBarCaptionHeight;
    FCaptionHeightScaled = DPIInitialized;
    FSizeAtDock = Height();
    FMaxLength = Constraints()->MinWidth();
    FPersistence->SetSection(L"UnDockedAdvToolBars");
    Constraints()->SetMaxWidth(Constraints()->MinWidth());
    SetShowHint(true);
    SetParentShowHint(false);
    SetDoubleBuffered(true);
    auto repaint = [this](TObject*) { Invalidate(); };
    FOptionPicture->SetOnChange(repaint);
    FOptionDisabledPicture->SetOnChange(repaint);
    FCompactPicture->SetOnChange([this](TObject*) { CompactPictureChanged(); });
    FCompactMinWidth = int(std::lrint(45 * DPIScaleFactor));
    FDesignTime = HasState(csDesigning) && owner && !owner->HasState(csReading) && !owner->HasState(csLoading);
    if (FDesignTime) FOVTStyle = AdvStyleIF::GetFormStylerStyle(this, AdvStyleIF::tsOffice2019White);
}

TAdvCustomToolBar::~TAdvCustomToolBar() {
    // The form frees its components last first, so its toolbars go before their dock panel
    // (already marked as going with the form).
    if (FCurrentDock && FCurrentDock->HasState(csDestroying)) FCurrentDock->SaveBeforeToolBarsGo();
    Destroying();
    // The compact window's copy uses this toolbar's stylers: it goes before they do.
    delete FCompactWindow;
    FCompactWindow = nullptr;
    if (FPersistence->Enabled() && !HasState(csDesigning)) {
        try {
            SavePosition();
        } catch (...) {
            // A layout that cannot be stored must not keep the toolbar from going.
        }
    }
    // The floating window goes with the toolbar; a dock panel forgets it.
    FreeFloatingWindow();
    ReleaseFromDockPanel();
    if (!HasState(csDesigning) && FToolBarStyler) FToolBarStyler->RemoveControl(this);
    FToolBarStyler = FAssignedStyler = nullptr;
    FCurrentToolBarStyler = nullptr;
    delete FTimer;
    FTimer = nullptr;
    delete FOptionTimer;
    FOptionTimer = nullptr;
    delete FPresetStyler;
    FPresetStyler = nullptr;
    delete FInternalToolBarStyler;
    FInternalToolBarStyler = nullptr;
}

const TPropertyList& TAdvCustomToolBar::Published() {
    using T = TAdvCustomToolBar;
    static const TPropertyList list =
        TPropertyList::Extend(TCustomControl::Published()).Enum(L"UIStyle", &T::UIStyle, &T::SetUIStyle, AdvStyleIF::tsCustom);
    return list;
}

const TPropertyList& TAdvToolBar::Published() {
    using T = TAdvCustomToolBar;
    static const TPropertyList list =
        TPropertyList::Extend(TAdvCustomToolBar::Published())
            .Add(L"AllowFloating", &T::AllowFloating, &T::SetAllowFloating)
            .Enum(L"AntiAlias", L"TAntiAlias", &T::AntiAlias, &T::SetAntiAlias,
                  {L"aaNone", L"aaClearType", L"aaAntiAlias"}, AdvGDIP::aaClearType)
            .Add(L"AutoArrangeButtons", &T::AutoArrangeButtons, &T::SetAutoArrangeButtons, true)
            .Add(L"AutoDockOnClose", &T::AutoDockOnClose, &T::SetAutoDockOnClose, false)
            .Add(L"AutoMDIButtons", &T::AutoMDIButtons, &T::SetAutoMDIButtons, false)
            .Add(L"AutoOptionMenu", &T::AutoOptionMenu, &T::SetAutoOptionMenu, false)
            .Add(L"AutoPositionControls", &T::AutoPositionControls, &T::SetAutoPositionControls, true)
            .Add(L"AutoPositionMultiRow", &T::AutoPositionMultiRow, &T::SetAutoPositionMultiRow, false)
            .Add(L"AutoSize", &T::AutoSize, &T::SetAutoSize, true)
            .Add(L"Locked", &T::Locked, &T::SetLocked, false)
            .SubObject(L"CaptionFont", &T::CaptionFont)
            .Add(L"CaptionHeight", &T::CaptionHeight, &T::SetCaptionHeight, 16)
            .Enum(L"CaptionPosition", &T::CaptionPosition, &T::SetCaptionPosition, cpTop)
            .Enum(L"CaptionAlignment", L"TAlignment", &T::CaptionAlignment, &T::SetCaptionAlignment,
                  {L"taLeftJustify", L"taRightJustify", L"taCenter"}, taLeftJustify)
            .Add(L"CompactCaption", &T::CompactCaption, &T::SetCompactCaption)
            .SubObject(L"CompactPicture", &T::CompactPicture)
            .Add(L"CompactImageIndex", &T::CompactImageIndex, &T::SetCompactImageIndex)
            .Add(L"CompactShortCutHint", &T::CompactShortCutHint, &T::SetCompactShortCutHint)
            .Add(L"ShowCaption", &T::ShowCaption, &T::SetShowCaption, false)
            .Add(L"HintOptionButton", &T::HintOptionButton, &T::SetHintOptionButton)
            .Add(L"HintCloseButton", &T::HintCloseButton, &T::SetHintCloseButton)
            .Add(L"ShowRightHandle", &T::ShowRightHandle, &T::SetShowRightHandle, true)
            .Add(L"ShowClose", &T::ShowClose, &T::SetShowClose, true)
            .Add(L"ShowOptionIndicator", &T::ShowOptionIndicator, &T::SetShowOptionIndicator, true)
            .SetOf(L"DockableTo", &T::DockableTo, &T::SetDockableTo, AllDockSides)
            .Enum(L"DockMode", &T::DockMode, &T::SetDockMode, dmAll)
            .Add(L"FullSize", &T::FullSize, &T::SetFullSize, false)
            .Add(L"TextAutoOptionMenu", &T::TextAutoOptionMenu, &T::SetTextAutoOptionMenu)
            .Add(L"TextOptionMenu", &T::TextOptionMenu, &T::SetTextOptionMenu)
            .Add(L"ParentStyler", &T::ParentStyler, &T::SetParentStyler, true)
            .Reference(L"ToolBarStyler", &T::AssignedToolBarStyler, &T::SetToolBarStyler)
            .Reference(L"Images", &T::Images, &T::SetImages)
            .Reference(L"DisabledImages", &T::DisabledImages, &T::SetDisabledImages)
            .Reference(L"OptionMenu", &T::OptionMenu, &T::SetOptionMenu)
            .SubObject(L"OptionDisabledPicture", &T::OptionDisabledPicture)
            .SubObject(L"OptionPicture", &T::OptionPicture)
            .Add(L"ParentOptionPicture", &T::ParentOptionPicture, &T::SetParentOptionPicture)
            .Add(L"DoubleBuffered", &T::DoubleBuffered, &T::SetDoubleBuffered, true)
            .Add(L"ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, false)
            .Add(L"ShowHint", &T::ShowHint, &T::SetShowHint, true)
            .Add(L"ToolBarIndex", &T::ToolBarIndex, &T::SetToolBarIndex)
            .SubObject(L"OfficeHint", &T::OfficeHint)
            .ReadOnly(L"Version", &T::Version)
            .Event(L"OnClose", &T::OnClose)
            .Event(L"OnCompactShow", &T::OnCompactShow)
            .Event(L"OnCompactCloseQuery", &T::OnCompactCloseQuery)
            .Event(L"OnControlVisibleChange", &T::OnControlVisibleChange)
            .Event(L"OnOptionClick", &T::OnOptionClick)
            .Event(L"OnCanFloat", &T::OnCanFloat)
            .Event(L"OnDocked", &T::OnDocked)
            .Event(L"OnUnDocked", &T::OnUnDocked);
    return list;
}

std::vector<const TClass*> RegisterToolBarClasses() {
    std::vector<const TClass*> classes = {&TAdvToolBar::StaticClass(), &TAdvGlowMenuButton::StaticClass()};
    for (const TClass* cls : classes) RegisterClassType(*cls);
    // Docking: the dock panel and the floating window.
    const std::vector<const TClass*> docking = RegisterDockingClasses();
    classes.insert(classes.end(), docking.begin(), docking.end());
    return classes;
}

std::wstring TAdvCustomToolBar::Version() const {
    const unsigned number = unsigned(GetVersionNr());
    return std::to_wstring(number >> 24) + L"." + std::to_wstring((number >> 16) & 0xFF) + L"." +
           std::to_wstring((number >> 8) & 0xFF) + L"." + std::to_wstring(number & 0xFF);
}

void TAdvCustomToolBar::CreateWnd() {
    TCustomControl::CreateWnd();
    SetUIStyle(FOVTStyle);
    // Caption fonts are already in screen pixels (a form's scaling or the system font sized
    // them). The caption text's factor 96 / FInitPPI x scale then comes to 1, also in a
    // process whose unit scale nobody has set yet; the text grows only with a unit scale
    // set after the window was made, as the caption strip does (CaptionSize).
    FInitPPI = int(std::lrint(96 * DPIScaleFactor));
}

void TAdvCustomToolBar::Loaded() {
    TCustomControl::Loaded();
    FOldCursor = Cursor();
    RebuildControlLists();
    ArrangeItems(true);
    RebuildSequenceList();
    if (FPersistence->Enabled() && !HasState(csDesigning)) LoadPosition();
    if (FCustomizer) {
        // The layout as designed first, so that the customizer can reset to it.
        FCustomizer->SaveOriginal();
        FCustomizer->LoadCustomization();
    }
    ApplyStylerToItems();
    FPropertiesLoaded = true;
    if (IToolBarPageHost* page = PageHost(); page && page->PageInPager()) {
        SetParentStyler(FParentStyler);
        if (!HasState(csDesigning)) UpdateButtonRows();  // Key tips
    }
    // In the designer a toolbar that kept its own styler as an assigned one lets it go.
    if (HasState(csDesigning) && !FParentStyler && FAssignedStyler == FInternalToolBarStyler) SetToolBarStyler(nullptr);
}

void TAdvCustomToolBar::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove || !component) return;
    if (component == FCurrentDock) FCurrentDock = nullptr;
    if (component == FLastDock) FLastDock = nullptr;
    if (component == FParentForm) FParentForm = nullptr;
    if (component == FFloatingWindow) FFloatingWindow = nullptr;
    if (component == FCompactWindow) FCompactWindow = nullptr;
    if (component == FCompactBtn) FCompactBtn = nullptr;
    const bool stylerGoes = component == FToolBarStyler || component == FAssignedStyler;
    if (component == FPrevActiveControl) FPrevActiveControl = nullptr;
    if (component == FOptionWindow) {
        FOptionWindow = nullptr;
        FOptionWindowPanel = nullptr;
    }
    if (HasState(csDestroying)) {
        if (stylerGoes) {
            FToolBarStyler = FAssignedStyler = nullptr;
            FCurrentToolBarStyler = FInternalToolBarStyler;
        }
        return;
    }
    if (component == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (component == FDisabledImages) {
        FDisabledImages = nullptr;
        Invalidate();
    }
    if (stylerGoes) {
        // The dock panel's or pager's styler going is not the assigned one going.
        if (component == FAssignedStyler) FAssignedStyler = nullptr;
        FToolBarStyler = nullptr;
        ResolveStyler();
    }
    if (component == FOptionMenu) FOptionMenu = nullptr;
    if (auto* control = dynamic_cast<TControl*>(component)) UnregisterItem(control);
}

// ---------------------------------------------------------------- parent

void TAdvCustomToolBar::SetParent(TWinControl* parent) {
    if (!HasState(csDesigning) && !HasState(csLoading)) HideOptionWindow();
    if (parent == Parent()) return;
    FChangingParent = true;
    struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
    } clear{FChangingParent};
    // While a drag moves the toolbar between parents (or it leaves its floating window) its
    // window stays, so the mouse capture survives docking and floating.
    if ((FDragging || FToolBarState == tsFloating) && parent && HandleAllocated() && parent->HandleAllocated())
        MoveWindowToParent(this, parent);
    else
        TCustomControl::SetParent(parent);
    FOldState = FToolBarState;
    TAdvDockPanel* docked = nullptr;
    bool undocked = false;
    if (TAdvDockPanel* panel = DockPanelOf(parent); panel && panel != FCurrentDock) {
        if (AttachToDockPanel(panel)) docked = panel;
    } else if (IsFloatingWindow(parent)) {
        AttachToFloatingWindow();
        undocked = true;
    } else {
        IToolBarPageHost* page = PageHost();
        if (page && page->PageInPager()) SetParentStyler(FParentStyler);
        else SetParentStyler(false);
        FToolBarState = tsFixed;
        ReleaseFromDockPanel();
    }
    ArrangeItems(true);
    if (HasState(csLoading)) return;
    if (docked) {
        if (OnDocked) OnDocked(this, docked);
    } else if (undocked) {
        FireEvent(OnUnDocked, this);
    }
}

void TAdvCustomToolBar::SetBounds(int left, int top, int width, int height) {
    if (FToolBarState == tsDocked && FCurrentDock && !FAllowBoundChange)
        AdjustBoundsInDockPanel(left, top, width, height);
    const int oldLength = IsVertical(FPosition) ? Height() : Width();
    TCustomControl::SetBounds(left, top, width, height);
    const int newLength = IsVertical(FPosition) ? Height() : Width();
    if (!HasState(csLoading) && newLength != oldLength && FATBControls) UpdateHiddenControls();
}

void TAdvCustomToolBar::Update() {
    TCustomControl::Update();
    if (FToolBarState == tsDocked && FCurrentDock && !HasState(csDesigning)) {
        UpdateDockRows();
        UpdateHiddenControls();
    }
    ArrangeItems(true);
}

void TAdvCustomToolBar::ChangeScale(int m, int d) {
    TCustomControl::ChangeScale(m, d);
    if (m == d || m <= 0 || d <= 0) return;
    if (!DPIInitialized) DPIScaleFactor = AdvStyleIF::GetDPIScale(this, Canvas());
    if (!FToolBarStyler)
        FInternalToolBarStyler->CaptionFont()->SetHeight(::MulDiv(FInternalToolBarStyler->CaptionFont()->Height(), m, d));
    if (FFloatingWindow) ArrangeItems(false);
    else AdjustToolBarSize();
}

void TAdvCustomToolBar::Click() {
    if (FSupressClick) {
        FSupressClick = false;
        return;
    }
    TCustomControl::Click();
}

void TAdvCustomToolBar::DoCompactShow() { FireEvent(OnCompactShow, this); }

// ---------------------------------------------------------------- styler

void TAdvCustomToolBar::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == FToolBarStyler) return;
    FAssignedStyler = value;
    ResolveStyler();
}

void TAdvCustomToolBar::ResolveStyler() {
    if (FToolBarStyler && FToolBarStyler != FInternalToolBarStyler) FToolBarStyler->RemoveControl(this);
    FToolBarStyler = FAssignedStyler;
    if (FParentStyler) {
        if (TCustomAdvToolBarStyler* dockStyler = LastDockPanelStyler()) FToolBarStyler = dockStyler;
        if (IToolBarPageHost* page = PageHost())
            if (TCustomAdvToolBarStyler* pagerStyler = page->PagerToolBarStyler()) FToolBarStyler = pagerStyler;
    }
    if (FToolBarStyler) {
        FCurrentToolBarStyler = FToolBarStyler;
        FToolBarStyler->AddControl(this);
    } else {
        // Back to the toolbar's own: the preset made for its style while it has one.
        FCurrentToolBarStyler =
            FPresetStyler && FOVTStyle != AdvStyleIF::tsCustom ? FPresetStyler : FInternalToolBarStyler;
    }
    if (Parent()) {
        AdjustButtonSizes(false);
        ApplyStylerToItems();
        if (GripDrawn() != FLaidOutWithGrip) ArrangeItems(true);
    }
    Invalidate();
}

void TAdvCustomToolBar::SetParentStyler(bool value) {
    if (!value && value == FParentStyler) return;
    FParentStyler = value;
    ResolveStyler();
}

const AdvGlowButton::TGlowButtonAppearance* TAdvCustomToolBar::GlowButtonStylerAppearance() const {
    return FToolBarStyler ? FToolBarStyler->GlowButtonAppearance() : nullptr;
}

TDragGripStyle TAdvCustomToolBar::DragGripStyle() const { return FCurrentToolBarStyler->DragGripStyle(); }

void TAdvCustomToolBar::SetDragGripStyle(TDragGripStyle value) { FCurrentToolBarStyler->SetDragGripStyle(value); }

void TAdvCustomToolBar::StylerChanged(int code) {
    SetColor(FCurrentToolBarStyler->Color()->Color());
    if (code == scColors || code == scGlowButtons) {
        ApplyStylerToItems();
        UpdateCompactButtonAppearance();
    }
    // A preset applied as a whole tells only its final code: a grip that came or went
    // with it needs the room made or given back as well.
    if (code == scDragGrip || GripDrawn() != FLaidOutWithGrip) {
        ArrangeItems(true);
        UpdateHiddenControls();
    }
    if (code == scMenuStyler && !HasState(csLoading)) AdjustButtonSizes(true);
    ForEachItem([](TControl*, IToolBarItem* item) {
        if (item && item->ToolBarItemKind() == TToolBarItemKind::Container) item->ToolBarStylerChanged();
    });
    Invalidate();
}

void TAdvCustomToolBar::ApplyStylerToGlowButton(TAdvCustomGlowButton* button, bool withTextColour) const {
    if (button->UseAppearance()) return;
    const AdvGlowButton::TGlowButtonAppearance* appearance = IsCompact()
                                                                 ? FCurrentToolBarStyler->CompactGlowButtonAppearance()
                                                                 : FCurrentToolBarStyler->GlowButtonAppearance();
    button->Appearance()->Assign(appearance);
    if (withTextColour && appearance->TextColor() != clNone) button->Font()->SetColor(appearance->TextColor());
}

void TAdvCustomToolBar::ApplyStylerToItems() {
    if (!FCurrentToolBarStyler || FCurrentToolBarStyler == FInternalToolBarStyler) return;
    const TOVTStyle style = FCurrentToolBarStyler->OVTStyle();
    auto* stylerEx = dynamic_cast<AdvStyleIF::IOVTStyleEx*>(FCurrentToolBarStyler);
    auto* stylerStyle = dynamic_cast<AdvStyleIF::IOVTStyle*>(FCurrentToolBarStyler);
    ForEachItem([&](TControl* control, IToolBarItem*) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) {
            ApplyStylerToGlowButton(button, true);
            return;
        }
        if (style == AdvStyleIF::tsCustom || !stylerStyle) return;
        if (stylerEx) {
            if (auto* itemEx = dynamic_cast<AdvStyleIF::IOVTStyleEx*>(control)) {
                itemEx->SetComponentStyleAndAppColor(style, clNone);
                return;
            }
        }
        if (auto* item = dynamic_cast<AdvStyleIF::IOVTStyle*>(control)) item->SetComponentStyle(style);
    });
}

// ---------------------------------------------------------------- application style

void TAdvCustomToolBar::SetUIStyle(TOVTStyle value) {
    FOVTStyle = value;
    SetComponentStyle(value);
}

void TAdvCustomToolBar::SetComponentStyle(TOVTStyle AStyle) { ApplyComponentStyle(AStyle, clNone, false); }

void TAdvCustomToolBar::SetComponentStyleAndAppColor(TOVTStyle AStyle, TColor AAppColor) {
    ApplyComponentStyle(AStyle, AAppColor, true);
}

void TAdvCustomToolBar::ApplyComponentStyle(TOVTStyle style, TColor appColor, bool withAppColor) {
    if (FAssignedStyler) return;
    if (IToolBarPageHost* page = PageHost()) {
        TOVTStyle pagerStyle;
        if (page->PageInPager() && page->PagerUIStyle(pagerStyle)) style = pagerStyle;
    }
    FOVTStyle = style;
    if (style == AdvStyleIF::tsCustom) return;
    // One preset styler, given each new style: a new one per style would pile up, since a
    // window re-creation applies the style again.
    if (!FPresetStyler) {
        FPresetStyler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(this);
        FPresetStyler->AddControl(this);
    }
    if (withAppColor) FPresetStyler->SetComponentStyleAndAppColor(style, appColor);
    else FPresetStyler->SetComponentStyle(style);
    if (FCurrentToolBarStyler != FPresetStyler) {
        FCurrentToolBarStyler->Assign(FPresetStyler);
        if (HasState(csDesigning)) FInternalToolBarStyler->Assign(FPresetStyler);
        FCurrentToolBarStyler = FPresetStyler;
    }
    StylerChanged(scGlowButtons);
}

// ---------------------------------------------------------------- properties

void TAdvCustomToolBar::SetAllowFloating(bool value) {
    if (!value && FToolBarState == tsFloating) return;
    FAllowFloating = value;
}

void TAdvCustomToolBar::SetLocked(bool value) {
    if (value && FToolBarState == tsFloating) return;
    FLocked = value;
}

void TAdvCustomToolBar::SetAntiAlias(AdvGDIP::TAntiAlias value) {
    FAntiAlias = value;
    Invalidate();
}

void TAdvCustomToolBar::SetAutoArrangeButtons(bool value) {
    if (value == FAutoArrangeButtons) return;
    FAutoArrangeButtons = value;
    if (!value && !HasState(csLoading)) FRUControls->AssignList(*FATBControls);
}

void TAdvCustomToolBar::SetAutoPositionControls(bool value) {
    if (value == FAutoPositionControls) return;
    if (!value && (FToolBarState != tsFixed || DockPanelOf(Parent()))) return;
    FAutoPositionControls = value;
    if (value) ArrangeItems(true);
    else SetAutoSize(false);
}

void TAdvCustomToolBar::SetAutoPositionMultiRow(bool value) {
    FAutoPositionMultiRow = value;
    ArrangeItems(true);
}

void TAdvCustomToolBar::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    if (value) {
        ArrangeItems(true);
    } else if (FToolBarState == tsFixed && !DockPanelOf(Parent())) {
        ArrangeItems(false);
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
    }
}

void TAdvCustomToolBar::SetWideCaption(const std::wstring& value) {
    if (value == FWideCaption) return;
    FWideCaption = value;
    Invalidate();
}

void TAdvCustomToolBar::SetCaptionFont(const TFont* value) {
    FCaptionFont->Assign(value);
    Invalidate();
}

void TAdvCustomToolBar::SetCaptionHeight(int value) {
    if (value == FCaptionHeight) return;
    FCaptionHeight = value;
    if (FShowCaption) {
        ArrangeItems(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionPosition(TCaptionPosition value) {
    if (value == FCaptionPosition) return;
    FCaptionPosition = value;
    if (FShowCaption) {
        ArrangeItems(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionAlignment(TAlignment value) {
    if (value == FCaptionAlignment) return;
    FCaptionAlignment = value;
    Invalidate();
}

void TAdvCustomToolBar::SetShowCaption(bool value) {
    if (value == FShowCaption) return;
    FShowCaption = value;
    ArrangeItems(true);
    Invalidate();
}

void TAdvCustomToolBar::SetCompactPicture(const GDIPicture::TGDIPPicture* value) { FCompactPicture->Assign(value); }

void TAdvCustomToolBar::SetShowRightHandle(bool value) {
    if (value == FShowRightHandle) return;
    FShowRightHandle = value;
    FPopupIndicatorWidth = value ? 14 : 4;
    if (!Visible()) return;
    ArrangeItems(true);
    if (FToolBarState == tsDocked && FCurrentDock) ArrangeDockRow();
    Invalidate();
}

void TAdvCustomToolBar::SetShowOptionIndicator(bool value) {
    if (value == FShowOptionIndicator) return;
    FShowOptionIndicator = value;
    Invalidate();
}

void TAdvCustomToolBar::SetFullSize(bool value) {
    if (value == FFullSize) return;
    FFullSize = value;
    if (FToolBarState != tsDocked || !FCurrentDock) return;
    if (value) {
        SetParentStyler(true);
        DockPanelFullSizeChanged();
        UpdateHiddenControls();
        ArrangeItems(true);
    } else {
        AdjustToolBarSize();
    }
}

void TAdvCustomToolBar::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    if (FImages) {
        const int heightChange = (value ? value->Height() : 0) - FImages->Height();
        const int widthChange = (value ? value->Width() : 0) - FImages->Width();
        if (IsVertical(FPosition)) SetWidth(Width() + widthChange);
        else SetHeight(Height() + heightChange);
        if (FToolBarState == tsFloating && !HasState(csLoading)) FSizeAtDock += heightChange;
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (value) value->FreeNotification(this);
    auto adjustAll = [this] {
        TInternalPositioning positioning(*this);
        ForEachItem([](TControl*, IToolBarItem* item) {
            if (item) item->AdjustItemSize();
        });
    };
    adjustAll();
    ArrangeItems(true);
    if (FImages) {
        adjustAll();
        UpdateImagesShade();
    }
    if (FToolBarState == tsFloating && !HasState(csLoading)) {
        FSizeAtDock = GetDockedSize(true);
        ArrangeItems(true);
    }
    Invalidate();
}

void TAdvCustomToolBar::SetDisabledImages(TCustomImageList* value) {
    if (value == FDisabledImages) return;
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = value;
    if (value) value->FreeNotification(this);
    ForEachItem([](TControl*, IToolBarItem* item) {
        if (item) item->AdjustItemSize();
    });
    Invalidate();
}

void TAdvCustomToolBar::SetOptionMenu(TPopupMenu* value) {
    if (value == FOptionMenu) return;
    if (FOptionMenu) FOptionMenu->RemoveFreeNotification(this);
    FOptionMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomToolBar::SetOptionPicture(const GDIPicture::TGDIPPicture* value) { FOptionPicture->Assign(value); }

void TAdvCustomToolBar::SetOptionDisabledPicture(const GDIPicture::TGDIPPicture* value) {
    FOptionDisabledPicture->Assign(value);
}

void TAdvCustomToolBar::SetParentOptionPicture(bool value) {
    FParentOptionPicture = value;
    Invalidate();
}

void TAdvCustomToolBar::SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value) { FOfficeHint->Assign(value); }

void TAdvCustomToolBar::SetPersistence(const TPersistence* value) { FPersistence->Assign(value); }

// ---------------------------------------------------------------- ribbon pages

IToolBarPageHost* TAdvCustomToolBar::PageHost() const { return dynamic_cast<IToolBarPageHost*>(Parent()); }

bool TAdvCustomToolBar::IsOnRibbonPage() const {
    const TAdvCustomToolBar* source = InCompactWindow() ? CompactSource() : this;
    IToolBarPageHost* page = source ? source->PageHost() : nullptr;
    return page && page->PageInPager();
}

IToolBarPageHost* TAdvCustomToolBar::ContextPage() const {
    const TAdvCustomToolBar* source = InCompactWindow() ? CompactSource() : this;
    return source ? source->PageHost() : nullptr;
}

bool TAdvCustomToolBar::IsRibbonGroup() const { return PageHost() || InCompactWindow(); }

void TAdvCustomToolBar::HookGlowButtonEvents() {
    if (!PageHost() || HasState(csDesigning)) return;
    ForEachItem([this](TControl* control, IToolBarItem*) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) HookRibbonButton(button);
    });
}

void TAdvCustomToolBar::HookRibbonButton(TAdvCustomGlowButton* button) {
    button->ToolBarFields().OnSetButtonSize = [this](TObject* sender, int& width, int& height) {
        ItemGetButtonSize(sender, width, height);
    };
    HookRibbonKeys(button);
}

// A large button of a ribbon group fills the group above its caption.
void TAdvCustomToolBar::ItemGetButtonSize(TObject* sender, int& width, int& height) {
    (void)width;
    auto* button = dynamic_cast<TAdvCustomGlowButton*>(sender);
    if (button && button->ButtonSizeState() == AdvGlowButton::bsLarge && FAutoPositionControls)
        height = Height() - (FCaptionHeight + 5);
}

void TAdvCustomToolBar::ForEachRibbonGlowButton(const std::function<void(TAdvCustomGlowButton*)>& action) {
    ForEachItem([&](TControl* control, IToolBarItem* item) {
        if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) {
            if (!IsCompact()) action(button);
            return;
        }
        if (!item || item->ToolBarItemKind() != TToolBarItemKind::Container) return;
        auto* container = dynamic_cast<TWinControl*>(control);
        for (int i = 0; container && i < container->ControlCount(); ++i)
            if (auto* inner = dynamic_cast<AdvGlowButton::TAdvGlowButton*>(container->Controls(i))) action(inner);
    });
}

void TAdvCustomToolBar::UpdateColorTones() {
    IToolBarPageHost* page = ContextPage();
    if (!page || !page->PagerUsesTones() || AdvStyleIF::IsEmptyColorTones(RibbonColorTones)) return;
    ForEachRibbonGlowButton([](TAdvCustomGlowButton* button) { button->SetColorTones(RibbonColorTones); });
}

void TAdvCustomToolBar::SetGlowButtonsTransparent() {
    UpdateCompactButtonAppearance();
    ForEachRibbonGlowButton([](TAdvCustomGlowButton* button) { button->SetTransparent(true); });
}

int TAdvCustomToolBar::ToolBarIndex() const {
    IToolBarPageHost* page = PageHost();
    return page ? page->IndexOfToolBar(this) : -1;
}

void TAdvCustomToolBar::SetToolBarIndex(int value) {
    IToolBarPageHost* page = PageHost();
    if (!page || page->ToolBarCount() == 0) return;
    value = std::clamp(value, 0, page->ToolBarCount() - 1);
    if (value != page->IndexOfToolBar(this)) {
        page->MoveToolBar(this, value);
        page->AutoPositionAdvToolBars();
    }
    SetTabOrder(value);
}

void TAdvCustomToolBar::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    RepaintTransparentItems();
}

}  // namespace AdvToolBar
