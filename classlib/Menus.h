#pragma once
// Menu items, the popup menu and a form's main menu: captions, shortcut texts, images,
// check and radio states, sub-items and click handlers, kept in system menus that live
// as long as their items. A menu with OwnerDraw lets its items measure and draw
// themselves through their events when the system asks.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/OwnerDrawState.h"
#include "classlib/WindowDescription.h"

namespace ClassLib {

class TBasicAction;
class TBitmap;
class TCanvas;
class TCustomImageList;
class TMenu;
class TMenuActionLink;

using TShortCut = unsigned short;  // virtual key in the low byte, scShift/scCtrl/scAlt above
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+Shift+F5" style text of a shortcut, and back (0 for text it does not know).
std::wstring ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const std::wstring& text);

// A column break before the item: a plain one or one with a line.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
// Whether redundant separators (first, last, doubled) of a sub-menu are left out.
enum TMenuItemAutoFlag { maAutomatic, maManual, maParent };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

template <> struct TEnumNames<TMenuBreak> {
    static constexpr const wchar_t* TypeName = L"TMenuBreak";
    static constexpr const wchar_t* Names[] = {L"mbNone", L"mbBreak", L"mbBarBreak"};
};
template <> struct TEnumNames<TMenuItemAutoFlag> {
    static constexpr const wchar_t* TypeName = L"TMenuItemAutoFlag";
    static constexpr const wchar_t* Names[] = {L"maAutomatic", L"maManual", L"maParent"};
};
template <> struct TEnumNames<TBiDiMode> {
    static constexpr const wchar_t* TypeName = L"TBiDiMode";
    static constexpr const wchar_t* Names[] = {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign",
                                               L"bdRightToLeftReadingOnly"};
};

using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;
class TMenuItem;
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

class TMenuItem : public TComponent, public IDescriptionParent {
    CLASSLIB_CLASS(TMenuItem, TComponent)
public:
    // An item described inside this one becomes its sub-item.
    bool InsertDescribedChild(TComponent* child) override;
    static const TPropertyList& Published();
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "-" makes a separator.
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value);
    bool IsLine() const { return FCaption == L"-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    // Shown right-aligned after the caption; the shortcut's own text when empty.
    std::wstring ShortCutText() const;
    void SetShortCutText(const std::wstring& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak value);
    TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuItemAutoFlag value);
    // The item's own picture, shown where an image-list image would be; made on first read.
    TBitmap* Bitmap() const;
    void SetBitmap(const TBitmap* value);
    // The action the item shows and runs on a click; its caption, states and image follow it.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(size_t(index)); }
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    // Takes the item out and frees it.
    void Delete(int index);
    void Clear();
    TMenuItem* Find(const std::wstring& caption) const;
    // The menu this item belongs to.
    TMenu* GetParentMenu() const;
    // The parent item, or the menu for a top-level item.
    TComponent* GetParentComponent() const;
    // The images the item's ImageIndex points into: its menu's.
    TCustomImageList* GetImageList() const;

    // The number the system reports for the item (WM_COMMAND, WM_MEASUREITEM ...): unique
    // in the process while the item lives.
    UINT Command() const { return FCommand; }
    // The system menu of the item's sub-items, made (and filled) on first use.
    HMENU Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuDrawItemEvent OnDrawItem;
    // Runs the action, or OnClick without one.
    virtual void Click();
    // Owner-drawn items: the size the item needs (width and height arrive holding the
    // library's own measure), and its painting: OnAdvancedDrawItem, else OnDrawItem, else
    // the library's plain look.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel);

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // A setting changed: the menu hears of it (and rebuilds the system menus it shows in).
    void Changed(bool rebuild);

private:
    friend class TMenu;
    friend class TMenuActionLink;
    void ActionChanged();
    void TurnSiblingsOff();
    void FreeHandle();

    std::wstring FCaption;
    TShortCut FShortCut = 0;
    std::wstring FShortCutText;
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FChecked = false;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    TMenuBreak FBreak = mbNone;
    TMenuItemAutoFlag FAutoLineReduction = maParent;
    mutable std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TMenuActionLink> FActionLink;
    std::vector<TMenuItem*> FItems;  // owned unless a component owner frees them
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;          // set on a menu's root item only
    UINT FCommand = 0;
    HMENU FHandle = nullptr;         // owned; the entries of sub-items' menus are detached first
};

// The visible sub-items of `parent` that a menu shows, in order: with automatic line
// reduction separators at the start, at the end and right after another are left out.
std::vector<TMenuItem*> ItemsToShow(const TMenuItem* parent);
// The top-level items of a menu bar with another menu merged in: a merged item replaces
// the own items of its GroupIndex and goes after the items of lower and equal groups.
std::vector<TMenuItem*> MergedItems(const TMenuItem* own, const TMenuItem* merged);

class TMenu : public TComponent, public IDescriptionParent {
    CLASSLIB_CLASS(TMenu, TComponent)
public:
    // An item described inside the menu joins its top-level items.
    bool InsertDescribedChild(TComponent* child) override;
    static const TPropertyList& Published();
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // Items drawn by their own measure and draw events instead of the system.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
    TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuItemAutoFlag value);
    // The system menu of the top-level items (a menu bar for a main menu).
    HMENU Handle() { return FItems->Handle(); }
    // The window the menu reports to: a main menu's form, a popup menu's popup list.
    HWND WindowHandle() const { return FWindowHandle; }
    virtual void SetWindowHandle(HWND value) { FWindowHandle = value; }

    // Every change of an item arrives here (source: the item; null for the menu as a
    // whole); the base rebuilds the system menus the change touches.
    virtual void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild);
    // Fills every system menu made so far afresh, so the system measures and paints the
    // items again. While the menu is open it is only marked and refilled at its next show.
    void UpdateItems();
    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
    // Runs the item whose command number the system reported.
    bool DispatchCommand(UINT command);

    TMenuChangeEvent OnChange;

    // Library plumbing, for the windows the menu's system menus report to: the measure
    // and draw requests of owner-drawn items (true when an item of this menu took it), a
    // typed character in an open menu of this one (WM_MENUCHAR's result, 0 when none
    // fits), and the menu loop.
    bool DispatchMeasureItem(MEASUREITEMSTRUCT& item);
    bool DispatchDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT ProcessMenuChar(wchar_t key, HMENU menu);
    bool Tracking() const { return FTracking > 0; }
    void BeginTracking() { ++FTracking; }
    // Refills a menu marked while it was open.
    void EndTracking();
    bool RefillPending() const { return FRefillPending; }

protected:
    // Builds a system menu of the visible items of `parent` (apart from the items' own
    // menus); item images of a menu the system draws are kept in FBitmaps until ReleaseMenu.
    HMENU BuildMenu(const TMenuItem* parent, bool popup);
    void ReleaseMenu(HMENU menu);
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // True for a main menu: its top level is a menu bar.
    virtual bool IsMenuBar() const { return false; }
    // The items a menu bar shows at its top level.
    virtual std::vector<TMenuItem*> TopLevelItems() const;
    // Fills `target` afresh with the visible sub-items of `parent`, by the settings of
    // `menu` (plain entries without one).
    static void FillMenu(TMenu* menu, HMENU target, const TMenuItem* parent);
    // Refills `item`'s system menu now, or marks the menu while that is not safe.
    void RefillHandle(TMenuItem* item);
    // The item of this menu (merged ones included) that answers `test`.
    TMenuItem* FindItemWhere(const std::function<bool(const TMenuItem*)>& test) const;
    // Images of the entries of a menu the system draws, by the item whose sub-menu shows them.
    std::vector<std::pair<const TMenuItem*, std::unique_ptr<TBitmap>>> FBitmaps;

private:
    friend class TMenuItem;
    friend class TMainMenu;
    void RefillAll(TMenuItem* item);
    void ScheduleRefill();

    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TMenuItemAutoFlag FAutoLineReduction = maAutomatic;
    HWND FWindowHandle = nullptr;
    int FTracking = 0;      // open menu loops on this menu
    int FDispatching = 0;   // measure or draw requests being answered
    bool FRefillPending = false;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
template <> struct TEnumNames<TPopupAlignment> {
    static constexpr const wchar_t* TypeName = L"TPopupAlignment";
    static constexpr const wchar_t* Names[] = {L"paLeft", L"paRight", L"paCenter"};
};

class TPopupMenu : public TMenu {
    CLASSLIB_CLASS(TPopupMenu, TMenu)
public:
    static const TPropertyList& Published();
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
    // Shows the menu at a screen point, owned by the popup list, and runs the chosen
    // item's click once it has closed. OnClose follows a menu that was shown.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
};

// A form's menu bar (TCustomForm::SetMenu); its commands arrive as the form's WM_COMMAND.
class TMainMenu : public TMenu {
    CLASSLIB_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) override;
    // Shows the top-level items of `menu` in this bar by their GroupIndex (Unmerge or a
    // merge of null takes them out again).
    void Merge(TMainMenu* menu);
    void Unmerge(TMainMenu* menu);
    TMainMenu* MergedMenu() const { return FMerged; }
    // True for a menu that lists an MDI frame's children in its Window menu itself: the
    // frame's client window then keeps its own list out of that menu.
    virtual bool ListsMDIChildren() const { return false; }
protected:
    bool IsMenuBar() const override { return true; }
    std::vector<TMenuItem*> TopLevelItems() const override;
    void Notification(TComponent* component, TOperation operation) override;
private:
    TMainMenu* FMerged = nullptr;
};

// The position in `menu` of the entry with command `command` (a sub-menu's entry too), or -1.
int MenuEntryPosition(HMENU menu, UINT command);

// Command numbers from here up belong to the MDI client's own window list.
constexpr UINT MDIFirstChildCommand = 0xFF00;

// The hidden window that owns every popup menu while it is shown: the measure, draw,
// menu-character and command messages of popups arrive there.
HWND PopupListWindow();

}  // namespace ClassLib
