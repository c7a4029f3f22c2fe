#pragma once
// The docking toolbar: a control that lines up glow buttons and other controls horizontally
// or vertically, sizes itself to them, and paints its caption strip, drag grip and overflow
// handle from a toolbar styler (an assigned one, its own, or one made for a style preset).
// On a ribbon page it is a ribbon group: its caption sits below, small glow buttons stack
// in columns and it fades to its hot colours under the mouse.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/EnumSet.h"
#include "classlib/Menus.h"
#include "classlib/StandardControls.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarPaint.h"  // the unit's painting routines (ColorToARGB and the rest)
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvToolBarCompactSteps.h"
#include "toolbars/AdvToolBarLayout.h"

namespace ClassLib {
class TCustomAction;
class TCustomForm;
class TCustomImageList;
class TPopupMenu;
class TTimer;
}  // namespace ClassLib
namespace GDIPicture {
class TGDIPPicture;
}
namespace AdvHintInfo {
class TAdvHintInfo;
}
namespace AdvToolBarStylers {
class TAdvToolBarOfficeStyler;
}

namespace AdvToolBar {

class TAdvDockPanel;
class TAdvToolBarCustomizer;
class TControlSelectorPanel;
class TFloatingWindow;
class TOptionSelectorWindow;
class TCompactWindow;
class IToolBarItem;
class IToolBarPageHost;

using TDockableTo = ClassLib::TEnumSet<TDockAlign>;
constexpr TDockableTo AllDockSides{daLeft, daTop, daRight, daBottom};

using TOptionEvent = std::function<void(ClassLib::TObject* sender, ClassLib::TPoint clientPoint,
                                        ClassLib::TPoint screenPoint)>;
using TDockedEvent = std::function<void(ClassLib::TObject* sender, TAdvDockPanel* dockPanel)>;
using TCanFloatEvent = std::function<void(ClassLib::TObject* sender, bool& allow)>;
using TControlVisibleChange = std::function<void(ClassLib::TObject* sender, ClassLib::TControl* control)>;
using TCloseQueryEvent = std::function<void(ClassLib::TObject* sender, bool& canClose)>;

class TAdvCustomToolBar : public ClassLib::TCustomControl,
                          public AdvStyleIF::IOVTStyleEx,
                          public IToolBarStylerClient,
                          public AdvGlowButton::IGlowButtonStyler {
    CLASSLIB_CLASS(TAdvCustomToolBar, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvCustomToolBar(ClassLib::TComponent* owner);
    ~TAdvCustomToolBar() override;

    void Loaded() override;
    void SetParent(ClassLib::TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void Update() override;
    void ChangeScale(int m, int d) override;
    void Click() override;

    // ---- styler ----
    TStylerClientKind StylerClientKind() const override { return TStylerClientKind::ToolBar; }
    // Every code gives the toolbar the styler's colour; 2 and 7 restyle the glow buttons,
    // 5 re-lays out; then it repaints.
    void StylerChanged(int code) override;
    // The styler in use besides the toolbar's own: the assigned one, or with ParentStyler
    // the dock panel's or the ribbon pager's.
    TCustomAdvToolBarStyler* ToolBarStyler() const override { return FToolBarStyler; }
    // Assigns a styler and resolves the one in use again; null falls back to the toolbar's own.
    void SetToolBarStyler(TCustomAdvToolBarStyler* value) override;
    // The styler assigned to the toolbar itself (what a window description stores).
    TCustomAdvToolBarStyler* AssignedToolBarStyler() const { return FAssignedStyler; }
    IToolBarStylerClient* CompactCopy() const override;
    // The assigned (dock panel's, pager's) styler's glow-button look; null with the toolbar's own.
    const AdvGlowButton::TGlowButtonAppearance* GlowButtonStylerAppearance() const override;
    // The styler painting reads: assigned, a preset's, or the toolbar's own; never null.
    TCustomAdvToolBarStyler* CurrentToolBarStyler() const { return FCurrentToolBarStyler; }
    TCustomAdvToolBarStyler* InternalToolBarStyler() const { return FInternalToolBarStyler; }
    bool ParentStyler() const { return FParentStyler; }
    void SetParentStyler(bool value);
    // Read from and written to the current styler, so every control of that styler follows.
    TDragGripStyle DragGripStyle() const;
    void SetDragGripStyle(TDragGripStyle value);

    // ---- application style ----
    // Without an assigned styler a preset turns into an office styler the toolbar owns (one,
    // re-applied for each style); on a ribbon page of a pager without a styler of its own
    // the pager's style wins. tsCustom only stores.
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    void SetComponentStyleAndAppColor(AdvStyleIF::TOVTStyle AStyle, ClassLib::TColor AAppColor) override;
    AdvStyleIF::TOVTStyle UIStyle() const { return FOVTStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value);

    // ---- layout ----
    // Places the items for the toolbar's state and parent; with updateSize ends with
    // AdjustToolBarSize. Nothing while loading or inside BeginUpdate.
    void ArrangeItems(bool updateSize);
    // Length, thickness and size constraints from the arranged items.
    void AdjustToolBarSize();
    // The thickness the toolbar takes docked (or as one floating row).
    int GetDockedSize(bool floating);
    int GetFullLength();
    TDockAlign Position() const { return FPosition; }
    // The orientation: the dock panel sets it, floating sets daTop.
    void SetPosition(TDockAlign value);
    TToolBarState GetToolBarState() const { return FToolBarState; }
    int FloatingRows() const { return FFloatingRows; }
    void SetFloatingRows(int value);
    int GetMaxFloatingRows() const;
    void CalcFloatingSize(int& height, int& length) const;
    bool CalcSizeForRows(int rows, int& height, int& length) const;
    int SizeAtDock() const { return FSizeAtDock; }
    int MinLength() const { return FMinLength; }
    int MaxLength() const { return FMaxLength; }
    // The caption strip's thickness: CaptionHeight, scaled by the unit's factor only for a
    // toolbar made before that factor was known (and never on a ribbon page).
    int CaptionSize() const;
    // The frame's rectangles for the toolbar as it is (see AdvToolBarLayout.h).
    TToolBarFrame Frame() const;
    int RightHandleWidth() const;
    // Length that would show every item beyond the present length (the chevron's cue).
    int HiddenLength() const;

    // ---- items ----
    int ToolBarControlCount() const;
    ClassLib::TControl* ToolBarControls(int index) const;
    // The slot an item at (x, y) takes in position order, skipping the item at `index`.
    int IndexByPosition(int index, int x, int y) const;
    int MoveToPositionIndex(int index, int x, int y);
    // Items most recently used first; items hidden because they do not fit.
    const TDbgList* RecentlyUsedControls() const { return FRUControls.get(); }
    const TDbgList* HiddenControls() const { return FLUHidedControls.get(); }
    void EnableAllControls(bool value);
    void UpdateImagesShade();
    void SetItemsRotated(bool value);

    // ---- batching, keys, hints ----
    // Counted in every state; only the window's redraw needs a window. Reaching 0 re-lays
    // out and recomputes the hidden items.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // The toolbar's menu shortcut, or with considerButtons an item's action shortcut.
    bool IsShortCut(WORD key, ClassLib::TShiftState shift, bool considerButtons);
    // The first form up the parent chain, from the dock panel (current, else last) or the parent.
    ClassLib::TCustomForm* GetHostForm() const;
    bool ShowsDisabledControlHints() const;
    void InvalidateCaption();
    void InvalidateCaptionOptionIndicator();

    // ---- ribbon pages ----
    // The toolbar's parent as a ribbon page, or null.
    IToolBarPageHost* PageHost() const;
    // The page whose pager gives the looks: the parent's, or for the copy in a compact
    // window the page of the toolbar it copies.
    IToolBarPageHost* ContextPage() const;
    // On a ribbon page that sits in a pager (the minimized ribbon's copy included).
    bool IsOnRibbonPage() const;
    // On a page or in a compact window: small glow buttons stack, the toolbar fades.
    bool IsRibbonGroup() const;
    void HookGlowButtonEvents();
    // A page that made the toolbar at run time counts it as loaded (eligible for compacting).
    void MarkPropertiesLoaded() { FPropertiesLoaded = true; }
    void UpdateColorTones();
    void SetGlowButtonsTransparent();
    int ToolBarIndex() const;
    void SetToolBarIndex(int value);
    // The toolbar on a page holds the focus: painted hot.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    // Hover fade of a ribbon group: 0 (normal) to 100 (hot).
    int StepHover() const { return FStepHover; }
    bool Hot() const { return FHot; }

    // ---- properties ----
    bool AllowFloating() const { return FAllowFloating; }
    void SetAllowFloating(bool value);
    AdvGDIP::TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(AdvGDIP::TAntiAlias value);
    bool AutoArrangeButtons() const { return FAutoArrangeButtons; }
    void SetAutoArrangeButtons(bool value);
    bool AutoDockOnClose() const { return FAutoDockOnClose; }
    void SetAutoDockOnClose(bool value) { FAutoDockOnClose = value; }
    bool AutoMDIButtons() const { return FAutoMDIButtons; }
    void SetAutoMDIButtons(bool value) { FAutoMDIButtons = value; }
    bool AutoOptionMenu() const { return FAutoOptionMenu; }
    void SetAutoOptionMenu(bool value) { FAutoOptionMenu = value; }
    bool AutoPositionControls() const { return FAutoPositionControls; }
    void SetAutoPositionControls(bool value);
    bool AutoPositionMultiRow() const { return FAutoPositionMultiRow; }
    void SetAutoPositionMultiRow(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Locked() const { return FLocked; }
    void SetLocked(bool value);
    const std::wstring& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const std::wstring& value);
    ClassLib::TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(const ClassLib::TFont* value);
    int CaptionHeight() const { return FCaptionHeight; }
    void SetCaptionHeight(int value);
    TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(TCaptionPosition value);
    ClassLib::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(ClassLib::TAlignment value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    const std::wstring& CompactCaption() const { return FCompactCaption; }
    void SetCompactCaption(const std::wstring& value);
    GDIPicture::TGDIPPicture* CompactPicture() const { return FCompactPicture.get(); }
    void SetCompactPicture(const GDIPicture::TGDIPPicture* value);
    int CompactImageIndex() const { return FCompactImageIndex; }
    void SetCompactImageIndex(int value);
    const std::wstring& CompactShortCutHint() const { return FCompactShortCutHint; }
    void SetCompactShortCutHint(const std::wstring& value) { FCompactShortCutHint = value; }
    const std::wstring& HintOptionButton() const { return FHintOptionButton; }
    void SetHintOptionButton(const std::wstring& value) { FHintOptionButton = value; }
    const std::wstring& HintCloseButton() const { return FHintCloseButton; }
    void SetHintCloseButton(const std::wstring& value) { FHintCloseButton = value; }
    bool ShowRightHandle() const { return FShowRightHandle; }
    void SetShowRightHandle(bool value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool value) { FShowClose = value; }
    bool ShowOptionIndicator() const { return FShowOptionIndicator; }
    void SetShowOptionIndicator(bool value);
    TDockableTo DockableTo() const { return FDockableTo; }
    void SetDockableTo(TDockableTo value) { FDockableTo = value; }
    TDockMode DockMode() const { return FDockMode; }
    void SetDockMode(TDockMode value) { FDockMode = value; }
    bool FullSize() const { return FFullSize; }
    void SetFullSize(bool value);
    const std::wstring& TextAutoOptionMenu() const { return FTextAutoOptionMenu; }
    void SetTextAutoOptionMenu(const std::wstring& value) { FTextAutoOptionMenu = value; }
    const std::wstring& TextOptionMenu() const { return FTextOptionMenu; }
    void SetTextOptionMenu(const std::wstring& value) { FTextOptionMenu = value; }
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(ClassLib::TCustomImageList* value);
    ClassLib::TPopupMenu* OptionMenu() const { return FOptionMenu; }
    void SetOptionMenu(ClassLib::TPopupMenu* value);
    GDIPicture::TGDIPPicture* OptionPicture() const { return FOptionPicture.get(); }
    void SetOptionPicture(const GDIPicture::TGDIPPicture* value);
    GDIPicture::TGDIPPicture* OptionDisabledPicture() const { return FOptionDisabledPicture.get(); }
    void SetOptionDisabledPicture(const GDIPicture::TGDIPPicture* value);
    bool ParentOptionPicture() const { return FParentOptionPicture; }
    void SetParentOptionPicture(bool value);
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value);
    bool HideOnEmpty() const { return FHideOnEmpty; }
    void SetHideOnEmpty(bool value) { FHideOnEmpty = value; }
    TPersistence* Persistence() const { return FPersistence.get(); }
    void SetPersistence(const TPersistence* value);
    static constexpr int GetVersionNr() { return 0x06080303; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}

    ClassLib::TNotifyEvent OnClose;
    ClassLib::TNotifyEvent OnCompactShow;
    TCloseQueryEvent OnCompactCloseQuery;
    TControlVisibleChange OnControlVisibleChange;
    TOptionEvent OnOptionClick;
    TCanFloatEvent OnCanFloat;
    TDockedEvent OnDocked;
    ClassLib::TNotifyEvent OnUnDocked;

    // ---- hidden items, the options drop-down and the customizer ----
    // -1 for null, a listed control or a child already; else the new item's index (last).
    int AddToolBarControl(ClassLib::TControl* control);
    void InsertToolBarControl(int index, ClassLib::TControl* control);
    // Reorders the items; the item keeps its place among the recently used, and a hidden
    // one comes back before the hiding runs again.
    void MoveToolBarControl(int fromIndex, int toIndex);
    int IndexOfToolBarControl(const ClassLib::TControl* control) const;
    ClassLib::TControl* GetToolBarControls(int index) const { return ToolBarControls(index); }
    // The control was used: most recently used first, back from hiding at others' cost.
    void PromoteControl(ClassLib::TControl* control);
    void MoveUpInRUList(ClassLib::TControl* control);
    void RestoreAllHiddenControls();
    void ShowOptionWindow(int x, int y, bool useGivenPoint);
    TOptionSelectorWindow* OptionWindow() const { return FOptionWindow; }
    TControlSelectorPanel* OptionWindowPanel() const { return FOptionWindowPanel; }
    TAdvToolBarCustomizer* Customizer() const { return FCustomizer; }
    // Set by the customizer it links to.
    void SetCustomizer(TAdvToolBarCustomizer* value) { FCustomizer = value; }
    void ShowCustomizer();
    // Items are hidden only while the toolbar is docked in a dock panel.
    bool HidesItems() const;
    // Lets a toolbar outside a dock panel hide items as if docked (for tests and pages
    // that show the overflow without a dock panel).
    void SetDockedStandIn(bool value);
    bool IsSeparatorItem(const ClassLib::TControl* control) const;
    // What the check list shows for an item: a button's text, else its name.
    static std::wstring ItemCaption(const ClassLib::TControl* control);
    // ---- for its item controls ----
    // An item is being clicked: the option drop-down closes first.
    void ItemClicking();
    // An item was clicked: the toolbar records it as used and lays its items out again.
    void ItemClicked(ClassLib::TControl* item);
    // The hot button changed (the menu bar's hot tracking).
    void HotButtonChanged(ClassLib::TControl* button);
    // A menu button asks to drop its menu; true when the menu bar did.
    bool DropMenuButton(ClassLib::TControl* button);
    // The menu loop runs with the menu focused: a button the pointer leaves stays hot.
    bool MenuLoopFocused() const;
    // A menu of the menu bar is dropped down.
    bool MenuDropped() const;
    // The toolbar holds a main menu (it is a menu bar).
    bool HasMenuBar() const { return HasMenu(); }
    bool InDockPanel() const { return DockPanelOf(Parent()) != nullptr; }
    // Where items that do not fit are shown, when it exists.
    ClassLib::TWinControl* ItemOverflowPanel() const;
    // A key went down on a glow button inside a container item.
    void ItemGlowButtonKeyDown(ClassLib::TObject* sender, WORD& key, ClassLib::TShiftState shift);
    // ---- docking and floating ----
    // The dock panel the toolbar is docked in; setting one docks it there when the panel
    // takes it (a panel that would refuse it leaves everything as it was).
    TAdvDockPanel* AdvDockPanel() const { return FCurrentDock; }
    void SetAdvDockPanel(TAdvDockPanel* value);
    TAdvDockPanel* LastDockPanel() const { return FLastDock; }
    // Docks into the panel (null is ignored); a floating window goes.
    void Dock(TAdvDockPanel* newDockSite);
    // The panel's side is one the toolbar docks to, and a locked panel has a row for it.
    bool CanDockTo(const TAdvDockPanel* panel) const;
    // Moves the floating window to p, or floats the toolbar there.
    void SetToolBarFloating(ClassLib::TPoint p);
    void MakeFloating(int x, int y, bool usePoint);
    // The floating close button: back into the last panel with AutoDockOnClose, else hidden.
    void CloseFloating();
    TFloatingWindow* FloatingWindow() const { return FFloatingWindow; }
    // The floating window's place while floating, else the toolbar's own.
    ClassLib::TPoint GetPosition() const;
    int Row() const { return FRow; }
    bool ToolBarDragging() const { return FDragging; }
    // The drag without its message loop: targets collected, the mouse captured; then one
    // ToolBarDragMove per mouse move (client coordinates) and EndToolBarDrag.
    void BeginToolBarDrag(int x, int y);
    void ToolBarDragMove(ClassLib::TShiftState shift, int x, int y);
    void EndToolBarDrag();
    // The floating state, place, rows and item visibility in the toolbar's own store keys.
    void LoadPosition();
    void SavePosition();

    // ---- drawing routines (each draws its part in its present state) ----
    void DrawDragGrip();
    void DrawRightHandle();
    void DrawCloseButton();
    void DrawOptionButton();

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void CreateWnd() override;
    void Paint() override;
    void Dispatch(ClassLib::TMessage& message) override;
    void WndProc(ClassLib::TMessage& message) override;
    void AdjustClientRect(ClassLib::TRect& rect) const override;
    void AlignControls(ClassLib::TControl* control, ClassLib::TRect& rect) override;
    void ControlBoundsChanged(ClassLib::TControl* control) override;
    void Resize() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    virtual void DoCompactShow();

private:
    friend struct TToolBarPainter;
    friend class TOptionSelectorWindow;
    friend class TControlSelectorPanel;
    friend class TAdvDockPanel;       // the rows move a docked toolbar with its bounds guarded
    friend class TFloatingWindow;
    friend class TToolBarDockMember;

    // Cuts the rounded corners: three pixels each take the colour just outside the toolbar.
    void PaintCorners(const ClassLib::TRect& corners, ClassLib::TColor startColour);
    // The caption option indicator of a horizontal toolbar with caption and no right handle.
    void DrawCaptionOptionIndicator();

    // Sets FInternalControlPositioning for a scope: the toolbar moves its own items.
    class TInternalPositioning {
    public:
        explicit TInternalPositioning(TAdvCustomToolBar& toolBar)
            : FToolBar(toolBar), FWas(toolBar.FInternalControlPositioning) {
            toolBar.FInternalControlPositioning = true;
        }
        ~TInternalPositioning() { FToolBar.FInternalControlPositioning = FWas; }
        TInternalPositioning(const TInternalPositioning&) = delete;
        TInternalPositioning& operator=(const TInternalPositioning&) = delete;
    private:
        TAdvCustomToolBar& FToolBar;
        bool FWas;
    };

    // ---- styler binding ----
    void ResolveStyler();
    void ApplyStylerToItems();
    void ApplyStylerToGlowButton(AdvGlowButton::TAdvCustomGlowButton* button, bool withTextColour) const;
    void ApplyComponentStyle(AdvStyleIF::TOVTStyle style, ClassLib::TColor appColor, bool withAppColor);

    // ---- items and layout ----
    // The lists hold their controls as class-library objects.
    static void* Entry(ClassLib::TControl* control);
    static ClassLib::TControl* ItemAt(const TDbgList& list, int index);
    // Each item of the layout list, with its item interface (null for other controls).
    void ForEachItem(const std::function<void(ClassLib::TControl*, IToolBarItem*)>& action) const;
    // The glow buttons the ribbon's tones reach: the items (not while compact) and those
    // inside container items.
    void ForEachRibbonGlowButton(const std::function<void(AdvGlowButton::TAdvCustomGlowButton*)>& action);
    std::vector<TLayoutItem> LayoutItems() const;
    // The items' extents along the length (floating rows).
    std::vector<int> ItemExtents(bool visibleOnly) const;
    bool GripDrawn() const;
    // The first item whose visibility no longer matches its place (shown but parked, or
    // hidden in the row); null when the layout is current.
    ClassLib::TControl* ItemOutOfPlace() const;
    void RebuildControlLists();
    void RebuildSequenceList();
    void AdjustButtonSizes(bool menuButtonsOnly);
    void RegisterItem(ClassLib::TControl* control);
    void UnregisterItem(ClassLib::TControl* control);
    void RepaintTransparentItems();
    void HookRibbonButton(AdvGlowButton::TAdvCustomGlowButton* button);

    // ---- messages and timers ----
    void CMControlChange(ClassLib::TMessage& message);
    void CMDialogChar(ClassLib::TMessage& message);
    void CMHintShow(ClassLib::TMessage& message);
    void CMMouseEnter(ClassLib::TMessage& message);
    void CMMouseLeave(ClassLib::TMessage& message);
    void CMVisibleChanged(ClassLib::TMessage& message);
    void CMShowingChanged(ClassLib::TMessage& message);
    void WMLButtonUp(ClassLib::TMessage& message);
    void StartHoverFade(int step);
    void GlowTimerTick();
    void StartOptionFade(AdvGlowButton::TGlowState state, int step);
    void OptionGlowTimerTick();
    ClassLib::TControl* FindAccelButton(wchar_t key) const;
    void ItemGetButtonSize(ClassLib::TObject* sender, int& width, int& height);

    // ---- hooks: what later work fills; each default is the toolbar without that work ----
    // Dock panels and floating windows (none yet: no toolbar is docked or floating).
    TAdvDockPanel* DockPanelOf(ClassLib::TWinControl* parent) const;
    bool IsFloatingWindow(ClassLib::TWinControl* parent) const;
    bool AttachToDockPanel(TAdvDockPanel* panel);
    void AttachToFloatingWindow();
    void ReleaseFromDockPanel();
    void AdjustBoundsInDockPanel(int& left, int& top, int& width, int& height);
    TCustomAdvToolBarStyler* LastDockPanelStyler() const;
    void TellDockPanelVisible();
    void FloatingWindowFollowsVisible();
    void UpdateDockRows();
    void ArrangeDockRow();
    void DockPanelFullSizeChanged();
    bool FloatingWindowSizedByUser() const;
    void ResizeFloatingWindow();
    bool DockImagePixel(int x, int y, ClassLib::TColor& colour) const;
    void StartToolBarDrag(ClassLib::TShiftState shift, int x, int y);
    void FloatingMouseDown(int x, int y);
    void FloatingMouseMove(int x, int y);
    void FloatingMouseUp();
    void FloatingMouseLeave();
    // The window of a dock panel (for GetHostForm).
    ClassLib::TWinControl* DockPanelWindow(TAdvDockPanel* panel) const;
    void FloatingWatchTimer();
    // Hidden items, the options drop-down and the option menu (nothing is hidden yet).
    void UpdateHiddenControls();
    void RecheckHiddenControls();
    void HideOptionWindow();
    bool OptionWindowShowing() const;
    void OptionIndicatorClick();
    void PopupOptionMenu();
    void RebuildOptionWindow();
    void BuildOptionWindow();
    void OptionWindowHidden();
    // The control back on the toolbar, from the drop-down's panel.
    void ReparentToToolBar(ClassLib::TControl* control);
    ClassLib::TPoint OptionPoint() const;
    // Compact mode and key tips.
    bool InCompactWindow() const;
    TAdvCustomToolBar* CompactSource() const;
    bool IsOwnWindow(const ClassLib::TControl* control) const;
    void UpdateCompactButtonAppearance();
    void HookRibbonKeys(AdvGlowButton::TAdvCustomGlowButton* button);
    // Toolbar items: the separators' own pass over the row.
    void SeparatorPass();
    // Toolbar and glow buttons: the shortcut an action carries (none can carry one yet).
    static ClassLib::TShortCut ActionShortCut(const ClassLib::TCustomAction* action);
    // The menu bar (no toolbar holds a menu yet).
    bool HasMenu() const;
    static bool FormHasMenu(const ClassLib::TCustomForm* form);
    bool MenuIsShortCut(WORD key, ClassLib::TShiftState shift);
    void MenuDialogChar(ClassLib::TMessage& message);
    void DrawMDIButtons();

    // ---- fields ----
    AdvGDIP::TAntiAlias FAntiAlias = AdvGDIP::aaClearType;
    std::unique_ptr<TDbgList> FATBControls;       // every item, in layout order
    std::unique_ptr<TDbgList> FRUControls;        // recently used first
    std::unique_ptr<TDbgList> FLUHidedControls;   // hidden because they do not fit
    std::unique_ptr<TDbgList> FSeqControlList;    // visible items by Left, then Top
    TCustomAdvToolBarStyler* FInternalToolBarStyler = nullptr;  // owned as a component
    TCustomAdvToolBarStyler* FToolBarStyler = nullptr;   // in use: assigned, dock panel's or pager's
    TCustomAdvToolBarStyler* FAssignedStyler = nullptr;  // the ToolBarStyler property
    TCustomAdvToolBarStyler* FCurrentToolBarStyler = nullptr;   // invariant: never null after construction
    AdvToolBarStylers::TAdvToolBarOfficeStyler* FPresetStyler = nullptr;  // owned; at most one
    bool FParentStyler = true;
    int FDragGripWidth = 7;
    int FPopupIndicatorWidth = 14;  // before scaling: 14, or 4 without the right handle
    TAdvDockPanel* FCurrentDock = nullptr;
    TAdvDockPanel* FLastDock = nullptr;
    TDockAlign FPosition = daTop;
    ClassLib::TCursor FOldCursor = ClassLib::crDefault;
    bool FDragging = false;
    int FOldMouseX = 0, FOldMouseY = 0;
    bool FHotPopupIndicator = false, FDownPopupIndicator = false;
    int FRow = -1;
    TToolBarState FToolBarState = tsDocked;
    bool FAllowBoundChange = false;
    bool FFullSize = false;
    TDockableTo FDockableTo = AllDockSides;
    TFloatingWindow* FFloatingWindow = nullptr;
    ClassLib::TComponent* FOwner = nullptr;
    std::wstring FWideCaption;  // drawn while Caption (the control's text) is empty
    std::unique_ptr<ClassLib::TFont> FCaptionFont;
    bool FShowOptionIndicator = true, FShowPopupIndicator = true, FShowClose = true;
    int FCaptionHeight = 16;
    bool FCaptionHeightScaled = false;  // CaptionHeight was already in screen pixels when made
    bool FHotCustomizedBtn = false, FDownCustomizedBtn = false, FHotCloseBtn = false, FDownCloseBtn = false;
    ClassLib::TCustomImageList* FImages = nullptr;
    ClassLib::TCustomImageList* FDisabledImages = nullptr;
    bool FInternalControlPositioning = false;  // the toolbar moves its own items
    bool FInternalControlUpdation = false;     // items move between toolbar and drop-down
    bool FAutoRUL = true;
    int FFloatingRows = 1;
    int FSizeAtDock = 26;
    int FMinLength = 60;
    int FMaxLength = 60;
    TToolBarState FOldState = tsDocked;
    bool FShowRightHandle = true;
    std::unique_ptr<TPersistence> FPersistence;
    bool FPersistSettingLoaded = false;
    ClassLib::TPopupMenu* FOptionMenu = nullptr;
    bool FAllowFloating = true, FLocked = false;
    bool FAutoOptionMenu = false;
    std::wstring FHintOptionButton, FHintCloseButton;
    std::wstring FTextAutoOptionMenu = L"Add or Remove Buttons";
    std::wstring FTextOptionMenu = L"Options";
    bool FAutoArrangeButtons = true;
    bool FAutoMDIButtons = false;
    bool FAutoDockOnClose = false;
    bool FShowCaption = false;
    TCaptionPosition FCaptionPosition = cpTop;
    ClassLib::TAlignment FCaptionAlignment = ClassLib::taLeftJustify;
    // Hover fade of a ribbon group.
    ClassLib::TTimer* FTimer = nullptr;  // exists only while a fade runs; frees itself at its end
    bool FHot = false;
    int FTimeInc = 0;
    int FStepHover = 0;  // 0 .. 100
    AdvGlowButton::TGlowState FGlowState = AdvGlowButton::gsNone;
    bool FAutoSize = true;
    bool FCapOptIndicatorHot = false, FCapOptIndicatorDown = false;
    std::unique_ptr<GDIPicture::TGDIPPicture> FOptionDisabledPicture, FOptionPicture;
    bool FAutoPositionControls = true;
    // Fade of the caption option indicator.
    ClassLib::TTimer* FOptionTimer = nullptr;
    int FOptionStepHover = 0, FOptionStepPush = 0, FOptionTimeInc = 0;
    AdvGlowButton::TGlowState FOptionGlowState = AdvGlowButton::gsNone;
    std::wstring FCompactCaption;
    std::unique_ptr<GDIPicture::TGDIPPicture> FCompactPicture;
    int FCompactMinWidth = 45;
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    bool FActive = false;
    bool FPropertiesLoaded = false;
    bool FParentOptionPicture = true;
    int FCompactImageIndex = -1;
    int FUpdateCount = 0;  // invariant: >= 0; layout and painting wait while above 0
    TDockMode FDockMode = dmAll;
    bool FDoCheckBoundChange = false;
    std::wstring FCompactShortCutHint;
    std::array<int, 3> FButtonRows{-100, -100, -100};
    bool FHideOnEmpty = false;
    bool FFirstRun = true, FFirstShowing = true;
    ClassLib::TControl* FHintCtrl = nullptr;
    bool FSupressClick = false;
    bool FChangingParent = false;
    bool FAutoPositionMultiRow = false;
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsCustom;
    bool FDesignTime = false;
    int FInitPPI = 96;
    UINT_PTR FTimerID = 0;        // the floating window's watch timer on this window, 0 when none
    bool FRedrawOff = false;      // BeginUpdate switched the window's redraw off
    bool FLaidOutWithGrip = false;  // the last layout left room for a drag grip
    static constexpr UINT_PTR FloatingWatchTimerId = 500;
    // Hidden items and the options drop-down.
    bool FUpdatingControls = false;   // items move between toolbar and drop-down
    bool FDockedStandIn = false;
    TOptionSelectorWindow* FOptionWindow = nullptr;        // owned as a component
    TControlSelectorPanel* FOptionWindowPanel = nullptr;   // owned by the window
    ClassLib::TControl* FPrevActiveControl = nullptr;
    TAdvToolBarCustomizer* FCustomizer = nullptr;
    // Separators the separator pass hid itself (it shows them again); never owned.
    std::vector<ClassLib::TControl*> FPassHiddenSeparators;
    bool FInSeparatorPass = false;
    // Docking and dragging.
    ClassLib::TCustomForm* FParentForm = nullptr;  // the form the floating window follows
    bool FAutoHiding = false;                      // the floating window hid with its form
    // A panel the drag may dock into: its screen rectangle, 15 px larger towards the form.
    struct TDockTarget {
        TAdvDockPanel* Panel;
        ClassLib::TRect Rect;
    };
    std::vector<TDockTarget> FDockList;            // during one drag only
    void CollectDockTargets();
    void RefreshDockTargets();
    void FreeFloatingWindow();

    // ---- compact mode: a ribbon group folds into one drop-down button ----
public:
    // Compact because it was asked to: the page then leaves the toolbar alone.
    bool Compact() const { return FCompact; }
    void SetCompact(bool value);
    bool IsCompact() const;
    bool IsAutoCompacted() const { return !FCompactMode; }
    bool PropertiesLoaded() const { return FPropertiesLoaded; }
    const std::wstring& WideCompactCaption() const { return FWideCompactCaption; }
    void SetWideCompactCaption(const std::wstring& value);
    TCompactWindow* CompactWindow() const { return FCompactWindow; }
    AdvGlowButton::TAdvGlowButton* CompactButton() const { return FCompactBtn; }
    // The copy's page toolbar; the page toolbar's copy (while compact).
    TAdvCustomToolBar* SelfClone() const;
    bool CompactSmallest() const { return FCompactSmallest; }
    void SetCompactSmallest(bool value) { FCompactSmallest = value; }
    // The width folded into the compact button, and unfolded again.
    int GetCompactWidth();
    int GetExpandedWidth();
    // One size step of the glow buttons; the width it gives or takes (0: none left).
    int ShrinkButtons(TButtonSizeState& newState, bool apply);
    int GrowButtons(TButtonSizeState& newState, bool apply);
    int GetShrinkWidth(TButtonSizeState& newState) { return ShrinkButtons(newState, false); }
    int GetGrowWidth(TButtonSizeState& newState) { return GrowButtons(newState, false); }
    void ShrinkToSmallest();
    void GrowToLargest();
    // Folds (true) or unfolds the group; only on a page, once loaded, and not in Compact mode.
    virtual void ApplyCompact(bool value);
    void CompactButtonClick(ClassLib::TObject* sender);
    void HideCompactWindow();
    void UpdateControlsVisibility();
    // The copy's window hid: the pager may open the compact button the mouse went to.
    void CompactWindowClosed();
    void PostCompactWindowHide();
    bool HasDroppedDownButton() const;

private:
    void CopyToSelfClone(bool moveControls);
    void CompactPictureChanged();
    void SetCompactButtonImage();
    std::vector<TSizeStepItem> SizeStepItems() const;
    int ApplySizeStep(bool grow, TButtonSizeState& newState, bool apply);
    bool FCompact = false;
    bool FCompactMode = false;       // set through Compact
    bool FCompactChanging = false;   // a switch is under way
    bool FCompactSmallest = false;   // the copy was shrunk to its smallest
    TAdvCustomToolBar* FSelfClone = nullptr;       // on the copy: the page toolbar
    TCompactWindow* FCompactWindow = nullptr;  // owned as a component; it owns the copy
    AdvGlowButton::TAdvGlowButton* FCompactBtn = nullptr;  // owned as a component
    bool FOldAutoPosition = true, FOldAutoSize = true, FOldAutoArrangeButtons = true;
    std::vector<bool> FCtrlVisList;  // the copy's record of its items' Visible
    std::wstring FWideCompactCaption;
    // Key tips
public:
    // A key on a glow button of a ribbon group (and the toolbar's own WM_KEYDOWN): typed
    // key-tip characters while the page shows group tips, arrows between buttons and groups,
    // Escape and Up back to the tab row.
    void ItemKeyDown(ClassLib::TObject* sender, WORD& key, ClassLib::TShiftState shift);
    // The first (last) window control of the tab order that can be a keyboard stop.
    ClassLib::TWinControl* FirstFocusableControl(bool onlyFocusable) const;
    ClassLib::TWinControl* LastFocusableControl(bool onlyFocusable) const;
    // Narrows the group's tips to the typed keys and presses the button they name; partial
    // counts the buttons whose tips begin with the keys.
    bool MatchShortCut(const std::wstring& keys, int& partial);
    void ShowShortCutHint();
    void HideShortCutHint();
    bool CompactShortCutHintShowing() const { return FCompactShortCutHintShowing; }
    // The tops of up to three button rows (-100: none), measured from the visible items.
    void UpdateButtonRows();
    const std::array<int, 3>& ButtonRows() const { return FButtonRows; }
    void ItemGetShortCutHintPos(ClassLib::TObject* sender, AdvGlowButton::TButtonSizeState sizeState,
                                AdvGlowButton::TShortCutHintPos& position);
    void RestorePagerFocus();
private:
    std::vector<ClassLib::TWinControl*> FocusableControls(bool onlyFocusable) const;
    void KeyTipsKeyDown(ClassLib::TMessage& message);
    void KeyTipsFocusChanged(ClassLib::TMessage& message);
    bool FCompactShortCutHintShowing = false;
};

class TAdvToolBar : public TAdvCustomToolBar {
    CLASSLIB_CLASS(TAdvToolBar, TAdvCustomToolBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBar(ClassLib::TComponent* owner) : TAdvCustomToolBar(owner) {}
};

// Registers the toolbar classes for window descriptions; returns the classes registered.
std::vector<const ClassLib::TClass*> RegisterToolBarClasses();

}  // namespace AdvToolBar
