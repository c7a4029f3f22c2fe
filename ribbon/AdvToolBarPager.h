#pragma once
// The ribbon: a pager at the top of a form with a caption bar, one row of page tabs (with
// contextual tab groups above some of them) and the active page below, whose toolbars are
// the ribbon's groups. Its looks come from a toolbar styler. Geometry that needs no window
// lives in AdvToolBarPagerLayout.h.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/Form.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarPagerAppearance.h"
#include "menus/AdvToolBarPagerSettings.h"
#include "menus/AdvToolBarStyler.h"
#include "ribbon/AdvToolBarPagerKeyTips.h"
#include "ribbon/AdvToolBarPagerLayout.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace ClassLib {
class TCustomImageList;
class TTimer;
}
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

class TAdvToolBar;
class TAdvToolBarPager;
struct TPagerFormHook;
class TAdvQuickAccessToolBar;

using AdvGlowButton::TGlowState;
using ClassLib::TColor;
using ClassLib::TRect;

// Children that want to hear of the pager's style, of the form moving and of presses on
// the pager. The pager calls every child that implements it.
class IRibbonChildNotify {
public:
    static constexpr const wchar_t* IID = L"{41886CF9-1932-4DE4-A90B-6E3D0F181417}";
    virtual void NotifyStyle(bool scenic, int style) = 0;
    virtual void NotifyReserved() = 0;
    virtual void NotifyFormMoved() = 0;
    virtual void NotifyPagerPressed() = 0;
protected:
    ~IRibbonChildNotify() = default;
};

// The form a glass ribbon sits on; the ribbon form work completes it.
class TAdvToolBarForm : public ClassLib::TForm {
    CLASSLIB_CLASS(TAdvToolBarForm, ClassLib::TForm)
public:
    explicit TAdvToolBarForm(ClassLib::TComponent* owner) : ClassLib::TForm(owner) {}
};

using TCaptionLayerMouseEvent = std::function<void(ClassLib::TObject* sender, ClassLib::TMouseButton button,
                                                    ClassLib::TShiftState shift, int x, int y)>;

// A transparent child over the caption bar that carries the caption on glass: it raises
// its paint and mouse events for the pager to handle.
class TCaptionLayer : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TCaptionLayer, ClassLib::TCustomControl)
public:
    explicit TCaptionLayer(ClassLib::TComponent* owner);
    ClassLib::TNotifyEvent OnPaintText;
    TCaptionLayerMouseEvent OnLayerMouseDown;
    TCaptionLayerMouseEvent OnLayerMouseUp;
    TCaptionLayerMouseEvent OnLayerDblClick;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void WndProc(ClassLib::TMessage& message) override;
protected:
    void Paint() override;
};

// What the four glass conditions answer; tests replace the query to reach the glass paths.
struct TGlassConditions {
    bool ComCtl6 = false;
    bool VistaOrLater = false;
    bool Themed = false;
    bool Composition = false;
    bool All() const { return ComCtl6 && VistaOrLater && Themed && Composition; }
};
TGlassConditions QueryGlassConditions();
using TGlassQuery = TGlassConditions (*)();
// Replaces the query until the scope ends.
class TGlassQueryScope {
public:
    explicit TGlassQueryScope(TGlassQuery query);
    ~TGlassQueryScope();
    TGlassQueryScope(const TGlassQueryScope&) = delete;
    TGlassQueryScope& operator=(const TGlassQueryScope&) = delete;
private:
    TGlassQuery FOld;
};

// The width of a caption on one line in `font`: GDI+ when anti-aliased, GDI otherwise, and
// GDI again when GDI+ measures nothing for a text that is not empty.
int PagerTextWidth(ClassLib::TCanvas* canvas, const std::wstring& caption, const std::wstring& wideCaption,
                   AdvGDIP::TAntiAlias antiAlias, const ClassLib::TFont* font);

// How wide a tab's text is; the pager measures with GDI or GDI+, tests give fixed widths.
class ITabTextMeasure {
public:
    virtual int TextWidth(const std::wstring& text, const ClassLib::TFont* font, bool bold) = 0;
protected:
    ~ITabTextMeasure() = default;
};

enum TScrollArrow { saLeft, saTop, saRight, saBottom, saNone };

// An arrow button beside the tab row (and beside a page's toolbars) that repeats while held.
class TAdvPageScrollButton : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TAdvPageScrollButton, ClassLib::TCustomControl)
public:
    explicit TAdvPageScrollButton(ClassLib::TComponent* owner);
    ~TAdvPageScrollButton() override;
    AdvGlowButton::TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(const AdvGlowButton::TGlowButtonAppearance* value);
    AdvGlowButton::TButtonPosition ButtonPosition() const { return FButtonPosition; }
    void SetButtonPosition(AdvGlowButton::TButtonPosition value);
    TScrollArrow ScrollArrow() const { return FScrollArrow; }
    void SetScrollArrow(TScrollArrow value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    bool RepeatClick() const { return FRepeatClick; }
    void SetRepeatClick(bool value) { FRepeatClick = value; }
    bool MouseInside() const { return FMouseEnter; }
    bool IsDown() const { return FMouseDown; }
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void WndProc(ClassLib::TMessage& message) override;
    ClassLib::TNotifyEvent OnScrollMouseEnter;
    ClassLib::TNotifyEvent OnScrollMouseLeave;
protected:
    void Paint() override;
private:
    void RepeatTimerTick();
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FAppearance;
    bool FTransparent = false;
    AdvGlowButton::TButtonPosition FButtonPosition = AdvGlowButton::bpStandalone;
    TScrollArrow FScrollArrow = saLeft;
    bool FMouseEnter = false;
    bool FMouseDown = false;
    ClassLib::TTimer* FRepeatTimer = nullptr;  // owned as a component
    int FInitRepeatPause = 400;
    int FRepeatPause = 100;
    bool FRepeatClick = true;
};

// The caption bar's settings.
class TAdvPageCaption : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvPageCaption, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TAdvPageCaption() = default;
    // From another caption: Caption and Height straight, Visible, Indent and MinWidth
    // through their setters. WideCaption and RightIndent stay.
    void Assign(const ClassLib::TPersistent* source) override;
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value);
    const std::wstring& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const std::wstring& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Height() const { return FHeight; }
    // Tells even an equal value: the pager re-lays itself out on every assignment.
    void SetHeight(int value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int RightIndent() const { return FRightIndent; }
    void SetRightIndent(int value) { FRightIndent = value; }
    // Set while OnChange runs for a change of Height or Visible.
    bool HeightUpdate() const { return FHeightUpdate; }
    // Stores the height without telling (the pager's scaled value).
    void SetHeightSilently(int value) { FHeight = value; }
    ClassLib::TNotifyEvent OnChange;
private:
    void Changed();
    std::wstring FCaption;
    std::wstring FWideCaption;
    bool FVisible = true;
    int FHeight = 26;
    int FIndent = 100;
    int FMinWidth = 100;
    int FRightIndent = 0;
    bool FHeightUpdate = false;
};

// One page of the ribbon: a tab in the pager's row and, while active, the window below
// the tabs that holds the ribbon's toolbar groups.
class TAdvPage : public ClassLib::TCustomControl, public IToolBarPageHost {
    CLASSLIB_CLASS(TAdvPage, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvPage(ClassLib::TComponent* owner);
    ~TAdvPage() override;

    void SetParent(ClassLib::TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(ClassLib::TMessage& message) override;
    void Loaded() override;
    std::wstring GetText() const override { return FCaption; }
    void SetText(const std::wstring& value) override;

    TAdvToolBarPager* AdvToolBarPager() const { return FAdvToolBarPager; }
    void SetAdvToolBarPager(TAdvToolBarPager* value);
    const std::wstring& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const std::wstring& value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    bool TabEnabled() const { return FTabEnabled; }
    void SetTabEnabled(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    const std::wstring& TabHint() const { return FTabHint; }
    void SetTabHint(const std::wstring& value) { FTabHint = value; }
    bool AutoPosition() const { return FAutoPosition; }
    void SetAutoPosition(bool value);
    int PageIndex() const;
    void SetPageIndex(int value);
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    const std::wstring& ShortCutHint() const { return FShortCutHintText; }
    void SetShortCutHint(const std::wstring& value) { FShortCutHintText = value; }

    // ---- toolbars ----
    TAdvToolBar* CreateAdvToolBar();
    int AddAdvToolBar(TAdvToolBar* toolBar);
    void InsertAdvToolBar(int index, TAdvToolBar* toolBar);
    void RemoveAdvToolBar(TAdvToolBar* toolBar);
    void MoveAdvToolBar(int curIndex, int newIndex);
    int IndexOfAdvToolBar(const TAdvToolBar* toolBar) const;
    TAdvToolBar* AdvToolBars(int index) const;
    int AdvToolBarCount() const;
    void HideCompactWindowOfAdvToolBars();
    void InvalidateAdvToolBars();
    void BeginUpdate();
    void EndUpdate();

    // ---- tab state the pager lays out and animates ----
    int TabLeft() const { return FTabLeft; }
    void SetTabLeft(int value) { FTabLeft = value; }
    int TabClientWidth() const { return FTabClientWidth; }
    void SetTabClientWidth(int value) { FTabClientWidth = value; }
    int TabRealClientWidth() const { return FTabRealClientWidth; }
    void SetTabRealClientWidth(int value) { FTabRealClientWidth = value; }
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value) { FTabWidth = value; }
    // The width the tab takes in the row, with the pager's margins.
    int GetTabWidthWithMargins() const;
    bool IsInTabGroup() const;
    // Starts (or turns) a hover or press glow; nothing in office-tone mode.
    void StartGlow(int timeInc, TGlowState state, int interval);
    void GlowTimer();
    bool GlowRunning() const { return FTimer != nullptr; }
    TGlowState GlowState() const { return FGlowState; }
    int StepHover() const { return FStepHover; }
    int StepPush() const { return FStepPush; }
    int TimeInc() const { return FTimeInc; }

    // ---- IToolBarPageHost ----
    bool PageInPager() const override { return FAdvToolBarPager != nullptr; }
    TCustomAdvToolBarStyler* PagerToolBarStyler() const override;
    bool PagerUIStyle(AdvStyleIF::TOVTStyle& style) const override;
    bool PagerUsesTones() const override;
    const TToolBarAppearance* PagerToolBarAppearance() const override;
    TColor PagerToolBarCaptionTextColor() const override;
    const AdvGlowButton::TGlowButtonAppearance* PagerGlowButtonAppearance() const override;
    GDIPicture::TGDIPPicture* PagerOptionPicture() const override;
    GDIPicture::TGDIPPicture* PagerOptionDisabledPicture() const override;
    bool PagerIsGlass() const override;
    bool PagerOffice2013() const override;
    const TGroupAppearance* TabGroupAppearance() const override;
    bool ShowDisabledControlsHint() const override;
    int ToolBarCount() const override { return AdvToolBarCount(); }
    int IndexOfToolBar(const TAdvCustomToolBar* toolBar) const override;
    void MoveToolBar(TAdvCustomToolBar* toolBar, int index) override;
    // Toolbars left to right in their order, 3 pixels apart.
    void AutoPositionAdvToolBars() override;
    void ShrinkAdvToolBars() override;
    void GrowAdvToolBars() override;

    // Key tips
    // The tab's tip: where it sits beside the tab, shown while the pager's tab tips show.
    AdvGlowButton::TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
    void SetShortCutHintPos(AdvGlowButton::TShortCutHintPos value) { FShortCutHintPos = value; }
    void ShowShortCutHint();
    void HideShortCutHint();
    AdvGlowButton::TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHint; }
    // The group key tips of the page's toolbars (the page keeps the mode and typed characters).
    void ShowShortCutHintOfAdvToolBars() override;
    void HideShortCutHintOfAdvToolBars() override;
    bool MatchToolBarShortCut(const std::wstring& chars) override;
    bool ToolBarShortCutShowing() const override { return FToolBarShortCutShowing; }
    const std::wstring& ShortCutChars() const { return FShortCutChars; }
    std::wstring AppendShortCutChar(wchar_t character) override;
    bool TabShortCutHintShowing() const override { return FShortCutHint != nullptr; }
    void ShowPagerTabShortCutHint() override;
    void FocusPagerByKeyPress() override;
    void RestorePagerFocus() override;
    bool PagerFloatingRibbonShowing() const override;
    void HidePagerFloatingRibbon() override;
    std::vector<TAdvCustomToolBar*> ToolBarsByLeft() const override;
    TAdvToolBar* GetFirstAdvToolBar(bool visibleOnly) const;

protected:
    void Paint() override;

private:
    friend class TAdvToolBarPager;
    void PagerTabsChanged(bool measure);
    // Key tips
    AdvGlowButton::TShortCutHintWindow* FShortCutHint = nullptr;  // the pager's, while the tab tip shows
    AdvGlowButton::TShortCutHintPos FShortCutHintPos = AdvGlowButton::shpBottom;
    bool FToolBarShortCutShowing = false;
    std::wstring FShortCutChars;

    std::unique_ptr<TDbgList> FAdvToolBars;
    TAdvToolBarPager* FAdvToolBarPager = nullptr;
    std::wstring FCaption;
    std::wstring FWideCaption;
    bool FTabVisible = true;
    bool FTabEnabled = true;
    int FImageIndex = -1;
    std::wstring FTabHint;
    bool FAutoPosition = true;
    bool FUpdatingATBPosition = false;
    ClassLib::TTimer* FTimer = nullptr;  // glow timer, owned by the pager as a component
    int FTimeInc = 0;
    int FStepHover = 0;
    int FStepPush = 0;
    TGlowState FGlowState = AdvGlowButton::gsNone;
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    bool FUpdatingParent = false;
    std::wstring FShortCutHintText;
    int FTabWidth = 0, FTabLeft = 0, FTabClientWidth = 0, FTabRealClientWidth = 0;
    int FOldWidth = 0;
    bool FCloning = false;
    int FUpdateCount = 0;

    // ---- page toolbar layout: auto compact and the toolbar scroller ----
public:
    void UpdateAllToolBars() override;
    bool PagerTabRoundEdges() const override;
    void CompactWindowClosed(AdvGlowButton::TAdvGlowButton* compactButton) override;
    // The page's shown toolbars (at design time all) by Left, appended to `list`.
    void SortAdvToolBarsByLeft(std::vector<TAdvToolBar*>* list) const;
    int GetFittingToolBarCount(int index, bool forward) const;
    int GetVisibleAdvToolBarCount() const;
    bool AllAdvToolBarsCompact() const;
    void UpdateToolBarScroller();
    void ResetToolBarScroller();
    int ScrollAdvToolBars(int delta);
    void ScrollToAdvToolBar(int index);
    void ScrollLeftClick();
    void ScrollRightClick();
    void InvalidateScrollButtons();
    // The compact button of a compact toolbar on the page whose window is `wnd`.
    AdvGlowButton::TAdvGlowButton* FindCompactButton(HWND wnd) const;
    TATBTabScroller* ToolBarScroller() const { return FToolBarScroller.get(); }
    TAdvPageScrollButton* LeftScrollButton() const { return FLeftScrollBtn; }
    TAdvPageScrollButton* RightScrollButton() const { return FRightScrollBtn; }

private:
    void PageSizeChanged(bool explicitRequest);
    std::unique_ptr<TATBTabScroller> FToolBarScroller = std::make_unique<TATBTabScroller>();
    int FLeftATBIndex = 0;       // the first toolbar shown while scrolled, in Left order
    bool FScrollingATB = false;  // ScrollToAdvToolBar runs
    TAdvPageScrollButton* FLeftScrollBtn = nullptr;   // owned as components
    TAdvPageScrollButton* FRightScrollBtn = nullptr;
};

using TTabChangingEvent = std::function<void(ClassLib::TObject* sender, int fromPage, int toPage, bool& allowChange)>;
using TTabClickEvent = std::function<void(ClassLib::TObject* sender, int page)>;
using TTabGroupClickEvent = std::function<void(ClassLib::TObject* sender, int tabGroup)>;

enum TCaptionButton { cbClose, cbMinimize, cbMaximize };

class TAdvToolBarPager : public ClassLib::TCustomControl,
                         public IToolBarStylerClient,
                         public IToolBarStylerPager,
                         public AdvStyleIF::IOVTStyleEx,
                         public AdvStyleIF::IOVTTones {
    CLASSLIB_CLASS(TAdvToolBarPager, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarPager(ClassLib::TComponent* owner);
    ~TAdvToolBarPager() override;

    void Loaded() override;
    void SetParent(ClassLib::TWinControl* parent) override;
    void Invalidate() override;
    void Update() override;
    void WndProc(ClassLib::TMessage& message) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void Resize() override;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    static constexpr unsigned GetVersionNr() { return 0x06080303; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}
    // The glow interval of every pager's tab animations (milliseconds).
    static void SetGlowSpeed(int speed);
    static int GlowSpeed();

    // ---- pages ----
    int AddAdvPage(TAdvPage* page);
    int AddAdvPage(const std::wstring& pageCaption);
    void RemoveAdvPage(TAdvPage* page);
    void MoveAdvPage(int curIndex, int newIndex);
    int IndexOfPage(const TAdvPage* page) const;
    TAdvPage* AdvPages(int index) const;
    int AdvPageCount() const;
    TAdvPage* ActivePage() const;
    void SetActivePage(TAdvPage* page);
    int ActivePageIndex() const { return FActivePageIndex; }
    void SetActivePageIndex(int value);
    void SelectNextPage(bool goForward);
    TAdvPage* FindNextPage(TAdvPage* curPage, bool goForward, bool checkTabVisible) const;
    void NextActivePage();
    void PrevActivePage();
    bool PageInTabGroup(const TAdvPage* page) const { return PageTabGroupIndex(page) >= 0; }
    int PageTabGroupIndex(const TAdvPage* page) const;
    TRect GetPageRect() const;
    void SetPageBounds(TAdvPage* page);
    void UpdatePageBounds();
    int GetPagePadding() const;
    int HotPageIndex() const { return FHotPageIndex; }
    int DownPageIndex() const { return FDownPageIndex; }

    // ---- tab row ----
    TRect GetTabsArea() const;
    TRect GetTabsRect() const;
    TRect GetTabRect(int pageIndex);
    TRect GetTabRect(const TAdvPage* page) { return GetTabRect(IndexOfPage(page)); }
    TRect GetVisibleTabRect(int pageIndex);
    int TabAtPos(int x, int y);
    void InvalidateTab(int pageIndex);
    void UpdateTabs();
    void MeasureTab(int index);
    int CalcTabWidth(int index, int& clientWidth);
    void CalcTabGroupMargins();
    void FitTabs();
    void PositionTabs();
    void ArrangeAllTabs();
    void ResetTabScroll();
    void UpdateTabScroller();
    int ScrollTabs(int delta);
    void ScrollToTab(int index);
    int StartTabIndex() const { return FRow.Scroll.StartTabIndex; }
    const TTabRow& TabRow() const { return FRow; }
    TAdvPageScrollButton* LeftScrollButton() const { return FLeftScrollBtn; }
    TAdvPageScrollButton* RightScrollButton() const { return FRightScrollBtn; }
    int CurrentTabLeftMargin() const { return FRow.Current.LeftMargin; }
    int CurrentTabRightMargin() const { return FRow.Current.RightMargin; }
    int CurrentGroupTabLeftMargin() const { return FRow.Current.GroupLeftMargin; }
    int CurrentGroupTabRightMargin() const { return FRow.Current.GroupRightMargin; }
    int CurrentTabSpacing() const { return FRow.Current.Spacing; }
    // Tests measure tab texts with fixed widths; null goes back to the canvas.
    void SetTabTextMeasure(ITabTextMeasure* measure) { FTextMeasure = measure; }

    // ---- tab groups ----
    int GetTabGroupIndex(int tabIndex) const;
    int GetTabGroupTabCount(int index) const;
    bool GetTabGroupRect(int index, bool& hasLeftEdge, bool& hasRightEdge, TRect& rect);
    int TabGroupAtPos(int x, int y);
    void RefreshGlassFrame();
    // Hooks of the caption buttons and the quick access toolbar: no rectangle yet.
    TRect GetCaptionButtonsRect() const { return {-1, -1, -1, -1}; }
    TRect GetQATRect() const { return {-1, -1, -1, -1}; }

    // ---- caption ----
    TRect GetCaptionRect() const;
    TRect GetCaptionTextRect(int& alignment);
    bool IsGlass(bool checkForm) const;
    bool IsMaximizedScenicGlass() const;
    int GetParentWindowState() const;
    void CreateCaptionLayer();
    void UpdateCaptionLayer();
    TCaptionLayer* CaptionLayer() const { return FCaptionLayer; }
    bool IsAeroVista() const { return FIsAeroVista; }

    // ---- looks ----
    // The tab appearance in effect: the pager's own copy with office tones, else the styler's.
    TCustomTabAppearance* CurrentTabAppearance() const;
    TVistaPageBackground* CurrentPageAppearance() const;
    // The group's looks: its own, or the styler's when it keeps the default.
    TGroupAppearance* GroupAppearanceOf(int groupIndex) const;
    bool Itones() const { return FItones; }
    TGroupStyle GroupStyle() const { return FGroupStyle; }
    bool Office2013() const { return FOffice2013; }
    void UpdateAppearance();
    // The underline under the selected tab in the 2019 style.
    const TTabLine& TabLine() const { return FLine; }
    void AnimateTabLine(int newStart, int newEnd);
    void TabLineTick();
    bool Expanded() const { return FExpanded; }

    // ---- styler ----
    TStylerClientKind StylerClientKind() const override { return TStylerClientKind::Pager; }
    void StylerChanged(int code) override;
    TCustomAdvToolBarStyler* ToolBarStyler() const override { return FToolBarStyler; }
    void SetToolBarStyler(TCustomAdvToolBarStyler* value) override;
    TCustomAdvToolBarStyler* CurrentToolBarStyler() const override { return FCurrentToolBarStyler; }
    TCustomAdvToolBarStyler* InternalToolBarStyler() const { return FInternalToolBarStyler; }
    AdvStyleIF::TOVTStyle UIStyle() const { return FOVTStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value);
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    void SetComponentStyleAndAppColor(AdvStyleIF::TOVTStyle AStyle, TColor AppColor) override;
    void SetColorTones(AdvStyleIF::TColorTones ATones) override;

    // ---- IToolBarStylerPager ----
    TATBTabSettings* TabSettings() const override { return FTabSettings.get(); }
    bool Win7ScenicRibbon() const override;
    void SetWin7ScenicRibbon(bool value) override;
    void SetTabBackGroundShaded(bool value) override { FTabBackGroundShaded = value; }
    void SetIsAeroVista(bool value) override;
    void SetUpdateHelpButtonRes(bool value) override { FUpdateHelpButtonRes = value; }
    void UpdateHelpButton() override {}
    void ClearOfficeTones() override;
    void SetOfficeTones(const TOfficeTones& tones, TGroupStyle groupStyle) override;
    void UpdateQAT() override;
    TVistaPageBackground* PageAppearance() const override { return FPageAppearance.get(); }
    TTabAppearance* TabAppearance() const override { return FTabAppearance.get(); }
    TGroupAppearance* GroupAppearance() const override { return FGroupAppearance.get(); }
    TCaptionAppearance* CaptionAppearance() const override { return FCaptionAppearance.get(); }
    AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const override { return FGlowButtonAppearance.get(); }
    TVistaTextBackground* PagerCaption() const override;
    TContainerAppearance* ContainerAppearance() const override;

    // ---- plain properties ----
    TAdvPageCaption* Caption() const { return FCaption.get(); }
    void SetCaption(const TAdvPageCaption* value) { FCaption->Assign(value); }
    TTabGroups* TabGroups() const { return FTabGroups.get(); }
    TPagerHints* Hints() const { return FHints.get(); }
    TPersistence* Persistence() const { return FPersistence.get(); }
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    GDIPicture::TGDIPPicture* OptionPicture() const { return FIOptionPicture.get(); }
    GDIPicture::TGDIPPicture* OptionDisabledPicture() const { return FIOptionDisabledPicture.get(); }
    GDIPicture::TGDIPPicture* BrandingPicture() const { return FIBrandingPicture.get(); }
    void SetBrandingPicture(const GDIPicture::TGDIPPicture* value);
    AdvGDIP::TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(AdvGDIP::TAntiAlias value);
    int PageLeftMargin() const { return FPageLeftMargin; }
    void SetPageLeftMargin(int value);
    int PageRightMargin() const { return FPageRightMargin; }
    void SetPageRightMargin(int value);
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(ClassLib::TCustomImageList* value);
    bool ShowNonSelectedTabs() const { return FShowNonSelectedTabs; }
    void SetShowNonSelectedTabs(bool value);
    bool ShowTabHint() const { return FShowTabHint; }
    void SetShowTabHint(bool value) { FShowTabHint = value; }
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool value) { FCanMove = value; }
    bool EnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool value) { FEnableWheel = value; }
    bool HidePagesOnDblClick() const { return FHidePagesOnDblClick; }
    void SetHidePagesOnDblClick(bool value) { FHidePagesOnDblClick = value; }
    bool AutoMDIButtons() const { return FAutoMDIButtons; }
    void SetAutoMDIButtons(bool value);
    bool ShowHelpButton() const { return FShowHelpButton; }
    void SetShowHelpButton(bool value) { FShowHelpButton = value; }
    bool ShowExpandCollapsButton() const { return FShowExpandCollapsButton; }
    void SetShowExpandCollapsButton(bool value) { FShowExpandCollapsButton = value; }
    bool ShowDisabledControlsHint() const { return FShowDisabledControlsHint; }
    void SetShowDisabledControlsHint(bool value) { FShowDisabledControlsHint = value; }
    bool NonActiveMouseWheelOnFocus = false;
    bool BlockHide = false;
    bool MinimizeApp = true;
    bool AutoCompactToolBars() const { return FAutoCompactToolBars; }
    void SetAutoCompactToolBars(bool value);
    int DefTabHeight() const { return FDefTabHeight; }
    int DefTabMargin() const { return FDefTabMargin; }
    bool PropertiesLoaded() const { return FPropertiesLoaded; }
    TAdvQuickAccessToolBar* QuickAccessToolBar() const { return FQuickAccessToolBar; }
    int ClickCount() const { return FClickCount; }
    ClassLib::TTimer* DblClickTimer() const { return FDblClickTimer; }
    // The double-click window ran out.
    void DblClickTimerTick();

    // ---- hooks of later work: they do nothing yet ----
    void Collaps() { FExpanded = false; if (OnCollaps) OnCollaps(this); }
    void Expand() { FExpanded = true; if (OnExpand) OnExpand(this); }
    bool IsFloatingRibbonShowing() const { return false; }
    void ShowFloatingRibbon() {}
    void HideFloatingRibbon() {}
    void UpdateCaptionButtons() {}

    // ---- Tones, scaling and saved state ----
    // Flat looks: no glass, rounded tabs, 3D or shadow while set.
    void SetMetro();
    void RevertMetro();
    bool Metro() const { return FMetro; }
    // The pager's glow-button looks on a caption, MDI, help or expand/collapse button.
    void ApplyGlowButtonAppearance(AdvGlowButton::TAdvCustomGlowButton* button) const;
    TToolBarAppearance* ToolBarAppearance() const { return FToolBarAppearance.get(); }
    AdvGlowButton::TGlowButtonAppearance* PageGlowButtonAppearance() const { return FPageGlowButtonAppearance.get(); }
    TColor ToolBarCaptionTextColor() const { return FToolBarCaptionTextColor; }
    // The 3D and shadow flags in effect: the pager's own with office tones, else the styler's.
    bool GetShow3D() const;
    bool GetShowShadow() const;
    bool TabRoundEdges() const { return FTabRoundEdges; }
    void SetTabRoundEdges(bool value) { FTabRoundEdges = value; }
    void SetShadow(bool value) { FShadow = value; }
    void SetShow3D(bool value) { FShow3D = value; }
    // The assigned styler's preset again, or the pager's UIStyle without one.
    void UpdateStyle();
    // "Minimized" and "ShowQATBelow" in the Persistence store. SaveState raises what the
    // store raises; the destructor swallows it.
    void SaveState();
    void LoadState();
    // Where the quick access toolbar goes; its layout follows with the toolbar itself.
    bool ShowQATBelow() const { return FShowQATBelow; }
    void SetShowQATBelow(bool value) { FShowQATBelow = value; }
    void SetBounds(int left, int top, int width, int height) override;
    void ChangeScale(int m, int d) override { ChangeScale(m, d, false); }
    // `dpiChanged`: the monitor's resolution changed (rather than a form description being scaled).
    void ChangeScale(int m, int d, bool dpiChanged);
    // Glass on or off, as the ribbon form decides.
    void SetAeroVista(bool value);
    int ScaledPagerCaptionHeight() const { return FScaledPagerCaptionHeight; }

    // ---- mouse helpers the form's window procedure hook and the caption layer use ----
    // True when the wheel was taken (the tabs stepped).
    bool HandleMouseWheel(int delta, ClassLib::TPoint screenPoint);
    void CaptionLayerMouseDown(ClassLib::TMouseButton button, int x, int y);
    void CaptionLayerMouseUp(ClassLib::TMouseButton button, int x, int y);
    void CaptionLayerDblClick(int x, int y);
    void PaintGlassCaption();

    // ---- painting ----
    void DrawTabArea();
    void DrawTab(int index);
    void DrawCaption();
    void DrawFlatCaption();
    void DrawTabGroups();

    // ---- events ----
    ClassLib::TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    ClassLib::TNotifyEvent OnTabChanged;
    TTabClickEvent OnTabClick;
    TTabClickEvent OnTabDblClick;
    TTabGroupClickEvent OnTabGroupClick;
    ClassLib::TNotifyEvent OnPagerMouseEnter;
    ClassLib::TNotifyEvent OnPagerMouseLeave;
    ClassLib::TNotifyEvent OnExpand;
    ClassLib::TNotifyEvent OnCollaps;

    // Key tips
    // Alt or F10 alone (or Alt held), then letters: tab tips, then the groups' tips on the
    // chosen page. Ctrl+F1 anywhere in the thread collapses or expands the ribbon.
    void ShowShortCutHint() { ShowTabShortCutHint(); }
    void HideShortCutHint() { HideTabShortCutHint(true); }
    void ShowTabShortCutHint();
    void HideTabShortCutHint(bool hideToolBarHints);
    bool TabShortCutHintShowing() const { return FTabShortCutHintShowing; }
    const std::wstring& TabShortCutChars() const { return FTabShortCutChars; }
    // The focus goes back to the window that had it when Alt or F10 went down.
    void RestoreFocus();
    HWND FocusBeforeKeyTips() const { return FFocusCtrlH; }
    void HookKeyDown(WORD key);
    AdvGlowButton::TShortCutHintWindow* CreateShortCutHintWindow();
    void FreeShortCutHintWindow(AdvGlowButton::TShortCutHintWindow* window);
    // Slots of the tip-window list (a freed window's slot is reused).
    int ShortCutHintWindowSlots() const { return int(FShortCutHintWinList.size()); }
    // The Alt timer's tick (every 50 ms while Alt or F10 is pending).
    void AltKeyTimer();
    ClassLib::TTimer* ShortCutTimer() const { return FShortCutTimer; }
    const TAltKeyMachine& AltKeys() const { return FAltKeys; }
    bool ChangeByKeyPress() const { return FChangeByKeyPress; }
    void SetChangeByKeyPress(bool value) { FChangeByKeyPress = value; }
    // One thread hook per process, installed by the first pager that loads.
    void InstallKeyHook();
    void RemoveKeyHook();
    static TAdvToolBarPager* KeyHookedPager();
    // The pager's take-over of its form's window procedure (one pager per form).
    bool HookForm();
    void UnhookForm();
    bool FormHooked() const { return FSubclassed; }
    bool IsInsideWindow(HWND window) const;

protected:
    void Paint() override;
    void AlignControls(ClassLib::TControl* control, TRect& rect) override;
    void CreateWnd() override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    // ---- Paint: styler picture, form corners, MDI refresh ----
    void DrawStylerPicture();
    void DrawFormCorners();
    void UpdateMDIState() {}  // the MDI buttons refresh here once they exist

    friend class TAdvPage;
    void ChangeActivePage(int index);
    void UpdateLayout();
    void LoadRow();
    void StoreRow();
    void TabSettingsChanged();
    void CaptionChanged();
    void TabGroupsChanged();
    void StartTabAnimation(int index, int timeInc, TGlowState state);
    void SetGlassRegion();
    void ShowSystemMenu(ClassLib::TPoint clientPoint);
    bool MoveFormByCaption(ClassLib::TPoint clientPoint, bool captionDeepened);
    void GroupClick(int group);
    void NotifyChildrenPressed();
    int ScaledTabRowCaptionTop() const;
    ClassLib::TCustomForm* ParentFormOf() const;

    // Styling
    TCustomAdvToolBarStyler* FToolBarStyler = nullptr;
    TCustomAdvToolBarStyler* FInternalToolBarStyler = nullptr;      // owned as a component
    AdvToolBarStylers::TAdvToolBarOfficeStyler* FOfficeToolBarStyler = nullptr;  // owned as a component
    TCustomAdvToolBarStyler* FCurrentToolBarStyler = nullptr;       // never null after construction
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsCustom;
    bool FStylerRemoved = false;
    // Pages
    std::unique_ptr<TDbgList> FAdvPages;
    int FActivePageIndex = -1;   // may point past the list; every reader checks it
    int FHotPageIndex = -1, FOldHotPageIndex = -1, FDownPageIndex = -1, FHintPageIndex = -1;
    bool FPropertiesLoaded = false;
    // Tab row
    std::unique_ptr<TATBTabSettings> FTabSettings;
    TTabRow FRow;
    std::unique_ptr<TATBTabScroller> FTabScroller;
    int FDefTabHeight = 26, FDefTabMargin = 60;
    TAdvPageScrollButton* FLeftScrollBtn = nullptr;   // owned as components
    TAdvPageScrollButton* FRightScrollBtn = nullptr;
    std::unique_ptr<TTabGroups> FTabGroups;
    ITabTextMeasure* FTextMeasure = nullptr;
    // Caption bar
    std::unique_ptr<TAdvPageCaption> FCaption;
    int FOrigCaptionHeight = 26, FScaledPagerCaptionHeight = 26;
    TCaptionLayer* FCaptionLayer = nullptr;  // owned as a component
    bool FUseCaptionLayer = true;
    ClassLib::TPoint FCaptionClickXY{-1, -1};
    bool FHideState = false;
    // Collapse and clicks
    bool FExpanded = true;
    int FExpandedHeight = 0, FDesignedHeight = 149;
    ClassLib::TTimer* FDblClickTimer = nullptr;  // owned as a component
    int FClickCount = 0;
    bool FHidePagesOnDblClick = true;
    // Windows and glass
    bool FIsAeroVista = false;
    // Glass is possible at all: the system offers it and no plain parent took it away.
    // A styler's wish for glass is granted only while this holds.
    bool FGlassAllowed = false;
    bool FIsWin7 = false, FIsWin8 = false, FIsWin10 = false, FIsWin11 = false;
    bool FTabBackGroundShaded = false;
    bool FRegionSet = false;
    // Office tones
    bool FItones = false;
    bool FMetro = false;
    bool FOffice2013 = false;
    TGroupStyle FGroupStyle = gsClassic;
    bool FTabRoundEdges = true, FShow3D = true, FShadow = true;
    std::unique_ptr<TVistaPageBackground> FPageAppearance;
    std::unique_ptr<TTabAppearance> FTabAppearance;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FGlowButtonAppearance;
    std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
    std::unique_ptr<TGroupAppearance> FGroupAppearance;
    // Selected-tab line
    bool FBold = false;
    // What the tab texts are drawn with, decided once per tab row paint.
    AdvGDIP::TAntiAlias FTabTextAntiAlias = AdvGDIP::aaClearType;
    TColor FLineColor = ClassLib::clNone;
    bool FMouseDown = false;
    TTabLine FLine;
    int FLineBottom = 0;
    ClassLib::TTimer* FDLTimer = nullptr;  // owned as a component
    // Other
    TAdvQuickAccessToolBar* FQuickAccessToolBar = nullptr;
    bool FAutoCompactToolBars = true;
    bool FDesignTime = false;
    bool FFirstRun = true;
    int FUpdateCount = 0;
    bool FChangeActiveTab = false;
    bool FUpdateHelpButtonRes = false;
    ClassLib::TCustomImageList* FImages = nullptr;
    ClassLib::TCustomImageList* FDisabledImages = nullptr;
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    AdvGDIP::TAntiAlias FAntiAlias = AdvGDIP::aaClearType;
    int FPageLeftMargin = 0, FPageRightMargin = 0;
    std::unique_ptr<GDIPicture::TGDIPPicture> FIOptionPicture, FIOptionDisabledPicture, FHelpButtonPicture,
        FIBrandingPicture;
    std::unique_ptr<TPagerHints> FHints;
    std::unique_ptr<TPersistence> FPersistence;
    bool FEnableWheel = true, FCanMove = true, FShowTabHint = false, FShowNonSelectedTabs = false;
    bool FShowHelpButton = true, FShowExpandCollapsButton = false, FShowDisabledControlsHint = false;
    bool FAutoMDIButtons = false;
    int FMDIButtonsWidth = 16, FMDIButtonsSpace = 2;
    // Tones, scaling and saved state
    bool FItonesBeingSet = false;  // a tone operation runs: the callbacks it causes must not start another
    bool FOldAeroVista = false;    // glass before flat mode, given back when it ends
    std::unique_ptr<TToolBarAppearance> FToolBarAppearance;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FPageGlowButtonAppearance;
    TColor FToolBarCaptionTextColor = ClassLib::clNone;
    bool FShowQATBelow = false;
    // The scale the tab height and caption height are given in now, and the tab height
    // as designed (at 96 pixels per inch) that the current one was scaled from.
    double FAppliedScale = 1.0;
    int FDesignedTabHeight = 26;
    void ApplyScaledSizes(int designedTabHeight, double scale);
    void SaveStateOnDestroy() noexcept;
    void ApplyToneLooksToWindows();
    // The application button among the children (a control of another library, known by
    // its class name), or null.
    ClassLib::TWinControl* AppButton() const;
    void SendToAppButton(unsigned message, WPARAM wParam);

    // ---- compact windows of the page toolbars ----
public:
    // A compact window closed: a click that went to another compact button opens that one.
    void CompactWindowClosed();
    AdvGlowButton::TAdvGlowButton* LastDroppedCompactButton() const { return FLastDroppedCompactBtn; }
    void SetLastDroppedCompactButton(AdvGlowButton::TAdvGlowButton* value) { FLastDroppedCompactBtn = value; }

private:
    AdvGlowButton::TAdvGlowButton* FLastDroppedCompactBtn = nullptr;  // never owned
    bool FChangeByKeyPress = false;
    // Key tips
    bool KeyTipsWndProc(ClassLib::TMessage& message);  // true when the message was handled
    void KeyTipsDialogKey(ClassLib::TMessage& message);
    void KeyTipsKeyDown(WORD key);
    void TypedTabShortCut(WORD key);
    void KeyTipsFocusChanged();
    void ActivateTabShortCutHint();
    void FormWndProc(ClassLib::TMessage& message);
    TAltKeyMachine FAltKeys;
    ClassLib::TTimer* FShortCutTimer = nullptr;  // owned as a component
    std::vector<AdvGlowButton::TShortCutHintWindow*> FShortCutHintWinList;  // null: a free slot
    bool FTabShortCutHintShowing = false;
    std::wstring FTabShortCutChars;
    HWND FFocusCtrlH = nullptr;
    bool FSubclassed = false;
    friend struct TPagerFormHook;
    std::shared_ptr<TPagerFormHook> FFormHook;  // shared with the procedure put in the form
    ClassLib::TCustomForm* FHookedForm = nullptr;
};

}  // namespace AdvToolBar
