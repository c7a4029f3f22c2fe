#pragma once
// The office page control: a strip of owner-painted tabs over the system tab control,
// one TAdvTabSheet per tab, close buttons, a list of closed pages that can be reopened
// and remembered between runs, and the small drop-down button that lists them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "classlib/SpeedButton.h"
#include "classlib/TabControl.h"
#include "controls/AdvPageControlLayout.h"

namespace ClassLib {
class TBitmap;
class TCanvas;
class TControlCanvas;
class TCustomImageList;
class TImageList;
class TMenuItem;
class TPopupMenu;
}  // namespace ClassLib

namespace AdvPageControl {

using ClassLib::TColor;
using ClassLib::TRect;

enum TTabStyle { tsClassic, tsDotNet, tsVestra };
enum TClosePosition { cpLeft, cpRight, cpLeftActive, cpRightActive };
// Vertical first (the toolbar's twin has the other order).
enum TGradientDirection { gdVertical, gdHorizontal };
enum TPersistenceLocation { plRegistry, plIniFile };
enum TButtonStyle { bsButton, bsDropDown };
using TTabOverlapSize = std::uint8_t;  // 0..15
using TMarginSize = int;

using TCanChangeEvent = std::function<void(ClassLib::TObject* sender, int fromPage, int toPage, bool& allowChange)>;
using TClosedListClick = std::function<void(ClassLib::TObject* sender, int x, int y)>;
using TCanCloseEvent = std::function<void(ClassLib::TObject* sender, bool& canClose)>;

class TAdvPageControl;

// Room left of, above and right of tab content. The page control hears of a change
// (new value, old value, index 0..2) before it is stored.
class TTabMargin : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TTabMargin, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TTabMargin() = default;
    TMarginSize LeftMargin() const { return FMargins[0]; }
    TMarginSize TopMargin() const { return FMargins[1]; }
    TMarginSize RightMargin() const { return FMargins[2]; }
    void SetLeftMargin(TMarginSize value) { SetMargin(0, value); }
    void SetTopMargin(TMarginSize value) { SetMargin(1, value); }
    void SetRightMargin(TMarginSize value) { SetMargin(2, value); }
    void Assign(const ClassLib::TPersistent* source) override;
    std::function<void(TMarginSize newValue, TMarginSize oldValue, int index)> OnMarginChange;
    // After a changed value is stored.
    ClassLib::TNotifyEvent OnChange;
private:
    void SetMargin(int index, TMarginSize value);
    TMarginSize FMargins[3] = {0, 0, 0};
};

// Where a page control keeps its closed pages between runs.
class TPersistence : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TPersistence, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPersistence(ClassLib::TComponent* owner = nullptr) : FOwner(owner) {}
    TPersistenceLocation Location() const { return FLocation; }
    void SetLocation(TPersistenceLocation value);
    // Registry key path (plRegistry) or INI file name (plIniFile).
    const std::wstring& Key() const { return FKey; }
    void SetKey(const std::wstring& value);
    const std::wstring& Section() const { return FSection; }
    void SetSection(const std::wstring& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    void Assign(const ClassLib::TPersistent* source) override;
    ClassLib::TNotifyEvent OnChange;
private:
    void Changed();
    ClassLib::TComponent* FOwner;
    TPersistenceLocation FLocation = plRegistry;
    std::wstring FKey;
    std::wstring FSection;
    bool FEnabled = false;
};

class TAdvTabSheet : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TAdvTabSheet, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvTabSheet(ClassLib::TComponent* owner);
    ~TAdvTabSheet() override;

    TAdvPageControl* AdvPageControl() const { return FAdvPageControl; }
    void SetAdvPageControl(TAdvPageControl* value);
    // -1 without a control or while the tab is not shown.
    int TabIndex() const;
    int PageIndex() const;
    void SetPageIndex(int value);

    void SetText(const std::wstring& value) override;
    // The text handed to the host, which sizes the tab from it.
    const std::wstring& TabText() const { return FTabText; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value);
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor value);
    TColor TabColorTo() const { return FTabColorTo; }
    void SetTabColorTo(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool value);
    TGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
    void SetTabGradientDirection(TGradientDirection value);
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection value) { FHoverGradientDirection = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    bool TabEnable() const { return FTabEnable; }
    void SetTabEnable(bool value);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool value);
    void SetEnabled(bool value) override;
    void SetVisible(bool value) override;
    void SelectFirstControl();

    bool CanCloseTab();
    void DoClose();

    ClassLib::TNotifyEvent OnShow;
    ClassLib::TNotifyEvent OnHide;
    ClassLib::TNotifyEvent OnClose;
    TCanCloseEvent OnCanClose;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void Paint() override;
    void ColorChanged() override;

private:
    friend class TAdvPageControl;
    void SetTabShowing(bool value);
    void UpdateTabShowing();
    void RebuildTabText();

    std::wstring FTabText;
    TColor FTextColor = ClassLib::clBlack;
    TColor FTabColor = ClassLib::clNone;
    TColor FTabColorTo = ClassLib::clNone;
    bool FShowClose = false;
    TGradientDirection FTabGradientDirection = gdVertical;
    TGradientDirection FHoverGradientDirection = gdVertical;
    int FImageIndex = 0;  // invariant: >= -1
    TAdvPageControl* FAdvPageControl = nullptr;
    TAdvPageControl* FClosedBy = nullptr;  // the control whose closed list holds this page
    bool FTabVisible = true;
    bool FTabShowing = false;  // invariant: true exactly while the host holds a tab for this page
    bool FHighlighted = false;
    bool FTabEnable = true;
    TColor FColorTo = ClassLib::clNone;
};

// A speed button in two looks, a push button and a drop-down arrow, themed where the
// system draws visual styles.
class TPCSpeedButton : public ClassLib::TSpeedButton {
    CLASSLIB_CLASS(TPCSpeedButton, ClassLib::TSpeedButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPCSpeedButton(ClassLib::TComponent* owner);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    bool FocusedState() const { return FFocused; }
    void SetFocusedState(bool value);
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle value);
    // From now on the button is never drawn pressed.
    void SetUp() { FUp = true; }
    bool Hot() const { return FHot; }
    // The common controls are version 6 or later (fixed at creation).
    bool ThemesCapable() const { return FCapable; }
    // Themed drawing: capable and the visual styles are on.
    bool Themed() const;
    void Dispatch(ClassLib::TMessage& message) override;
protected:
    void Paint() override;
private:
    bool Pressed() const;
    void PaintDropDown();
    void PaintButton();
    void PaintBase();
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FCapable = false;
    TButtonStyle FButtonStyle = bsButton;
};

// A windowed holder of one TPCSpeedButton that fills it; its width is always 16.
class TPCButton : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TPCButton, ClassLib::TWinControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPCButton(ClassLib::TComponent* owner);
    ~TPCButton() override;
    TPCSpeedButton* SpeedButton() const { return FButton; }
    ClassLib::TBitmap* Glyph() const;
    void SetGlyph(const ClassLib::TBitmap* value);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    std::wstring ButtonCaption() const;
    void SetButtonCaption(const std::wstring& value);
    ClassLib::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(ClassLib::TWinControl* value);
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void Dispatch(ClassLib::TMessage& message) override;
    ClassLib::TNotifyEvent OnClick;
protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
private:
    void ButtonMouseUp(ClassLib::TObject* sender, ClassLib::TMouseButton button, int x, int y);
    TPCSpeedButton* FButton = nullptr;
    ClassLib::TWinControl* FFocusControl = nullptr;
    int FButtonWidth = 16;
};

class TAdvPageControl : public ClassLib::TCustomTabControl {
    CLASSLIB_CLASS(TAdvPageControl, ClassLib::TCustomTabControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvPageControl(ClassLib::TComponent* owner);
    ~TAdvPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TAdvTabSheet* GetPage(int index) const { return FPages.at(size_t(index)); }
    TAdvTabSheet* Pages(int index) const { return GetPage(index); }
    int IndexOfPage(const TAdvTabSheet* page) const;
    TAdvTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TAdvTabSheet* page);
    int ActivePageIndex() const;
    // The writer the main window calls; an index outside the pages leaves no page active.
    void SetActivePageIndex(int value);
    TAdvTabSheet* FindNextPage(TAdvTabSheet* curPage, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);
    // The page index of the tab at a client point, -1 for none.
    int IndexOfTabAtEx(int x, int y);
    TRect TabRectOfPage(int pageIndex);
    virtual int GetTabWidth(int index);
    virtual int GetTotalTabWidth();
    virtual void UpdateTabScroller();
    virtual TColor GetDefaultColor() { return ClassLib::clNone; }
    void DrawAllTabs(ClassLib::TCanvas* canvas);

    // Closed pages.
    bool CloseOpenedTab(TAdvTabSheet* tab);
    bool CloseOpenedTab(const std::wstring& tabName);
    bool OpenClosedTab(const std::wstring& tabName);
    void OpenAllClosedTabs();
    TAdvTabSheet* GetClosedTab(int index) const;
    TAdvTabSheet* ClosedTabs(int index) const { return GetClosedTab(index); }
    int ClosedTabCount() const { return int(FClosedList.size()); }
    void SavePagesState();
    void LoadPagesState();
    TAdvTabSheet* FindPageByName(const std::wstring& name) const;
    TAdvTabSheet* FindPageByCaption(const std::wstring& caption) const;
    bool IsOnCloseButton(int pageIndex, int x, int y);
    bool TabsOverflow();
    TPCButton* ClosedListButton() const { return FClosedListButton; }
    ClassLib::TImageList* PlaceholderImages() const { return FPlaceholder.get(); }
    float DPIScale() const { return FDPIScale; }
    int HoverPage() const { return FHoverPage; }
    bool CloseButtonHot() const { return FCloseButtonHot; }

    // Properties.
    ClassLib::TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(const ClassLib::TFont* value);
    ClassLib::TBitmap* CloseGlyph() const { return FCloseGlyph.get(); }
    void SetCloseGlyph(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* TabBackGround() const { return FTabBackGround.get(); }
    void SetTabBackGround(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* TabBackGroundActive() const { return FTabBackGroundActive.get(); }
    void SetTabBackGroundActive(const ClassLib::TBitmap* value);
    TClosePosition ClosePosition() const { return FClosePosition; }
    void SetClosePosition(TClosePosition value);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool value) { FFreeOnClose = value; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    TColor DefaultTextColor() const { return FDefaultTextColor; }
    void SetDefaultTextColor(TColor value);
    TColor DefaultTabColor() const { return FDefaultTabColor; }
    void SetDefaultTabColor(TColor value);
    TColor DefaultTabColorTo() const { return FDefaultTabColorTo; }
    void SetDefaultTabColorTo(TColor value);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor value);
    TColor ActiveColorTo() const { return FActiveColorTo; }
    void SetActiveColorTo(TColor value);
    bool TabBorder3D() const { return FTabBorder3D; }
    void SetTabBorder3D(bool value);
    TColor TabBorderColor() const { return FTabBorderColor; }
    void SetTabBorderColor(TColor value);
    bool TabSheet3D() const { return FTabSheet3D; }
    void SetTabSheet3D(bool value);
    TColor TabSheetBorderColor() const { return FTabSheetBorderColor; }
    void SetTabSheetBorderColor(TColor value);
    TColor TabHoverColor() const { return FTabHoverColor; }
    void SetTabHoverColor(TColor value) { FTabHoverColor = value; }
    TColor TabHoverColorTo() const { return FTabHoverColorTo; }
    void SetTabHoverColorTo(TColor value) { FTabHoverColorTo = value; }
    TColor TabHoverBorder() const { return FTabHoverBorder; }
    void SetTabHoverBorder(TColor value) { FTabHoverBorder = value; }
    TColor TabBackGroundColor() const { return FTabBackGroundColor; }
    void SetTabBackGroundColor(TColor value);
    TTabMargin* TabMargin() const { return FTabMargin.get(); }
    void SetTabMargin(const TTabMargin* value);
    int TabOverlap() const { return FTabOverlap; }
    void SetTabOverlap(int value);
    bool TabSplitLine() const { return FTabSplitLine; }
    void SetTabSplitLine(bool value);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool value);
    TTabStyle TabStyle() const { return FTabStyle; }
    void SetTabStyle(TTabStyle value);
    int LowerActive() const { return FLowerActive; }
    void SetLowerActive(int value);
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}
    static constexpr int VersionNr = 33555458;
    bool ShowClosedList() const { return FShowClosedList; }
    void SetShowClosedList(bool value);
    ClassLib::TPopupMenu* ClosedListMenu() const { return FClosedListMenu; }
    void SetClosedListMenu(ClassLib::TPopupMenu* value);
    const std::wstring& ClosedListButtonHint() const { return FClosedListButtonHint; }
    void SetClosedListButtonHint(const std::wstring& value);
    TPersistence* PersistPagesState() const { return FPersistPagesState.get(); }
    void SetPersistPagesState(const TPersistence* value);
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    bool FullRefresh() const { return FFullRefresh; }
    void SetFullRefresh(bool value) { FFullRefresh = value; }
    void SetTabPosition(ClassLib::TTabPosition value) override;

    // A dock site takes controls dropped on it, each into a sheet of its own, and closes
    // a page on the press of its close button.
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool value) { FDockSite = value; }
    // Docks a control into a new sheet (owned by this control); the sheet is destroyed
    // and the error raised again when that fails.
    TAdvTabSheet* DockClient(ClassLib::TControl* client);
    // Takes a docked control out to `newParent` (none: no parent) and destroys its sheet;
    // false when the control is not docked here.
    bool UndockClient(ClassLib::TControl* client, ClassLib::TWinControl* newParent);
    // The sheet that hosts a docked control, or none.
    TAdvTabSheet* HostOf(const ClassLib::TControl* client) const;
    void DragOver(ClassLib::TObject* source, int x, int y, ClassLib::TDragState state, bool& accept) override;
    void DragDrop(ClassLib::TObject* source, int x, int y) override;

    // OnDrawTab (the host's event) takes over a tab's body, image and caption.
    TCanChangeEvent OnCanChange;
    TClosedListClick OnClosedListClick;

    void Loaded() override;
    // A sheet described inside the control becomes its page.
    bool InsertDescribedChild(ClassLib::TComponent* child) override;
    void ChangeScale(int m, int d) override;
    void Dispatch(ClassLib::TMessage& message) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    bool CanChange() override;
    void Change() override;
    int GetImageIndex(int tabIndex) override;
    void CreateWindowHandleDone() override;
    bool CanShowTab(int tabIndex) override;
    void DrawTab(int tabIndex, const TRect& rect, bool active) override;
    virtual void UpdateActivePage();

private:
    friend class TAdvTabSheet;
    enum TCloseState { csNormal, csHot, csPressed };
    std::vector<bool> TabVisibility() const;
    TRect HostTabRect(int pageIndex);
    std::wstring ShownTabText(const TAdvTabSheet* page, const std::wstring& text) const;
    void UpdateTabPad();
    void InsertPage(TAdvTabSheet* page);
    void RemovePage(TAdvTabSheet* page);
    void InsertPageTab(TAdvTabSheet* page);
    void DeletePageTab(TAdvTabSheet* page, int index);
    void MovePageTab(int from, int to);
    void ChangeActivePage(TAdvTabSheet* page);
    void UpdateTab(TAdvTabSheet* page);
    void UpdateActiveTabText(TAdvTabSheet* page);
    void BeginTabUpdate();
    void EndTabUpdate();
    void AfterChange();
    void PaintTabs(ClassLib::TMessage& message);
    void DrawTabOnCanvas(ClassLib::TCanvas* canvas, int pageIndex, int& splitExtension, int maxBottom,
                         int minTop, int minLeft, int maxRight, ClassLib::TBitmap* work,
                         int& deferredPage, TRect& deferredRect);
    void DrawDeferredTab(ClassLib::TCanvas* canvas, int pageIndex, TRect r, ClassLib::TBitmap* work);
    void DrawTabFocus(ClassLib::TCanvas* canvas, const TRect& r, bool active, int shift);
    void DrawTabContent(ClassLib::TCanvas* canvas, TAdvTabSheet* page, const TRect& t, int x0, int y0,
                        bool active, bool deferred);
    TCloseBoxInput CloseBoxOf(const TRect& tab, bool lowered) const;
    void DrawCloseButton(ClassLib::TCanvas* canvas, const TRect& tabRect, bool active, TCloseState state);
    void DrawCloseButtonNow(TCloseState state);
    void InvalidatePageTab(int pageIndex);
    void ClosePage(TAdvTabSheet* page, TAdvTabSheet* next, bool changeBeforeStore);
    void AddClosed(TAdvTabSheet* page);
    void ForgetClosed(TAdvTabSheet* page);
    void ClosedPageDestroying(TAdvTabSheet* page, bool teardown);
    void UpdateClosedListButton();
    void ShowClosedListMenu();
    void ClosedListItemClick(ClassLib::TObject* sender);
    void ComputePlaceholder();
    void SetPlaceholderWidth(int value);
    void SetPlaceholderHeight(int value);
    void MarginChange(TMarginSize newValue, TMarginSize oldValue, int index);
    void ReadWriteState(bool save);
    bool Designing() const { return HasState(ClassLib::csDesigning); }
    int CloseWidth() const;
    int CloseHeight() const;
    ClassLib::TCanvas* OwnCanvas();
    void CMDialogKey(ClassLib::TMessage& message);
    void CMDialogChar(ClassLib::TMessage& message);

    float FDPIScale = 1.0f;
    std::vector<TAdvTabSheet*> FPages;  // not owned; page order
    TAdvTabSheet* FActivePage = nullptr;
    std::unique_ptr<TTabMargin> FTabMargin;
    std::vector<std::pair<std::wstring, TAdvTabSheet*>> FClosedList;  // (Name, page); pages not owned
    ClassLib::TCustomImageList* FImages = nullptr;
    std::unique_ptr<ClassLib::TImageList> FPlaceholder;
    TColor FDefaultTextColor = ClassLib::clBlack;
    TColor FDefaultTabColor = ClassLib::clBtnFace;
    TColor FDefaultTabColorTo = ClassLib::clNone;
    TColor FActiveColor = ClassLib::clBtnFace;
    TColor FActiveColorTo = ClassLib::clNone;
    bool FTabBorder3D = false;
    TColor FTabBorderColor = ClassLib::clGray;
    TColor FTabHoverColor = ClassLib::clNone;
    TColor FTabHoverColorTo = ClassLib::clNone;
    TColor FTabHoverBorder = ClassLib::clNone;
    bool FShowFocus = false;
    bool FCloseButtonHot = false;
    int FTabOverlap = 0;  // invariant: 0..15
    bool FTabSheet3D = false;
    TColor FTabSheetBorderColor = ClassLib::clGray;
    TColor FTabBackGroundColor = ClassLib::clBtnFace;
    bool FTabSplitLine = false;
    bool FRoundEdges = false;
    int FHoverPage = -1;
    std::unique_ptr<ClassLib::TBitmap> FTabBackGround;
    std::unique_ptr<ClassLib::TBitmap> FTabBackGroundActive;
    TTabStyle FTabStyle = tsClassic;
    int FLowerActive = 2;
    bool FPropertiesLoaded = false;
    bool FFreeOnClose = false;
    std::unique_ptr<ClassLib::TFont> FActiveFont;
    std::unique_ptr<ClassLib::TBitmap> FCloseGlyph;
    bool FFullRefresh = false;
    int FUpdateCount = 0;
    TClosePosition FClosePosition = cpLeft;
    bool FShowClosedList = false;
    TPCButton* FClosedListButton = nullptr;  // owned as a component
    ClassLib::TPopupMenu* FClosedListMenu = nullptr;
    ClassLib::TPopupMenu* FInternalMenu = nullptr;  // owned as a component
    std::wstring FClosedListButtonHint;
    std::unique_ptr<TPersistence> FPersistPagesState;
    std::unique_ptr<ClassLib::TControlCanvas> FCanvas;
    // The page a selection in progress goes to, when known (mouse press or arrow key).
    int FSelectTarget = -1;
    bool FSelectTargetKnown = false;
    bool FDockSite = false;
    bool FStateSaved = false;  // saved already while the owner tears down
    struct TDocked {
        ClassLib::TControl* Client;
        TAdvTabSheet* Sheet;
        std::function<void(ClassLib::TMessage&)> WindowProc;  // the client's own, put back on undock
    };
    std::vector<TDocked> FDocked;
    void ClientMessage(ClassLib::TControl* client, ClassLib::TMessage& message);
    ClassLib::TPoint FDeferredOrigin;  // text origin of the deferred selected tab, within one paint
    TAdvTabSheet* FPaddedPage = nullptr;  // the last tab, widened to keep clear of the closed-list button
    int FTabPadBlanks = 0;                // blanks the host measures beyond its caption
    int FTabPadWidth = 0;                 // and the pixels they take
};

// Banded gradient: Steps bands (0 counts as 1) from one colour to the other.
void DrawGradient(ClassLib::TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal,
                  const TRect& rect, int steps);
void DrawTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, COLORREF transparentColor,
                           int srcX, int srcY, int width, int height);
void StretchTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, int destWidth, int destHeight,
                              COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight);
// Stretch a picture to a length by its middle, so its ends keep their shape.
void DrawSlicedH(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, int x, int width, int y);
void DrawSlicedV(ClassLib::TBitmap* bitmap, ClassLib::TCanvas* canvas, int x, int height, int y);
// True when kernel32 exports GetLocaleInfoEx.
bool IsVistaOrLaterOS();

}  // namespace AdvPageControl
