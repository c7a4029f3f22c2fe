#pragma once
// The styled menus: a main menu and a popup menu whose owner-drawn items the menu painter
// draws from a menu styler (their own, an external one, or an office styler made for a UI
// style). Popup windows are trimmed and framed as they show, and a main menu on an MDI
// frame lists the frame's children in its Window menu.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Menus.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuStyler.h"

namespace ClassLib {
class TCanvas;
class TControl;
class TCustomForm;
class TCustomImageList;
}

namespace AdvMenuStylers {
class TAdvMenuOfficeStyler;
}

namespace AdvMenus {

// Where PopupAtControl shows a popup, relative to the control.
enum TPopupControlPosition : std::uint8_t { pcpBottomLeft, pcpBottomRight, pcbTopLeft, pcpTopRight, pcpCenter };

// The rest of a styled menu's interface, beside what the styler asks (IAdvMenu): what
// the painter reads and what the toolbars set on the menus they drop down.
class IAdvMenuEx : public IAdvMenu {
public:
    // The external styler, or null.
    virtual TCustomAdvMenuStyler* GetMenuStyler() = 0;
    // The one the menu paints with: external, made for a UI style, or its own.
    virtual TCustomAdvMenuStyler* GetCurrentStyler() = 0;
    virtual void SetMenuStyler(TCustomAdvMenuStyler* value) = 0;
    virtual std::uint8_t GetOpacity() = 0;
    virtual void SetOpacity(std::uint8_t value) = 0;
    virtual bool GetShowNotes() = 0;
    virtual void SetShowNotes(bool value) = 0;
    virtual bool GetIntlKeybShortCuts() = 0;
    virtual void SetIntlKeybShortCuts(bool value) = 0;
    virtual void SetActionImages(TActionImage value) = 0;
    virtual TActionImage GetActionImages() = 0;
    virtual void SetBiDiMode(ClassLib::TBiDiMode value) = 0;
    virtual ClassLib::TBiDiMode GetBiDiMode() = 0;
    virtual ClassLib::TCustomImageList* GetDisabledImages() = 0;
protected:
    ~IAdvMenuEx() = default;
};

// What both styled menus share: their stylers, settings, the item hooks and the measure
// and draw handlers, over the class-library menu `TMenuBase`.
template <class TMenuBase>
class TAdvMenuImpl : public TMenuBase, public IAdvMenuEx, public AdvStyleIF::IOVTStyle {
public:
    explicit TAdvMenuImpl(ClassLib::TComponent* owner);
    ~TAdvMenuImpl() override;
    void Loaded() override;

    ClassLib::TMenu* GetMenu() override { return this; }
    TCustomAdvMenuStyler* GetMenuStyler() override { return FMenuStyler; }
    TCustomAdvMenuStyler* GetCurrentStyler() override { return FCurrentMenuStyler; }
    // An external styler replaces the menu's own, which is made afresh when it goes.
    void SetMenuStyler(TCustomAdvMenuStyler* value) override;
    std::uint8_t GetOpacity() override { return FOpacity; }
    void SetOpacity(std::uint8_t value) override { FOpacity = value; }
    bool GetShowNotes() override { return FShowNotes; }
    void SetShowNotes(bool value) override { FShowNotes = value; }
    bool GetIntlKeybShortCuts() override { return FIntlKeybShortCuts; }
    void SetIntlKeybShortCuts(bool value) override { FIntlKeybShortCuts = value; }
    void SetActionImages(TActionImage value) override { FActionImage = value; }
    TActionImage GetActionImages() override { return FActionImage; }
    void SetBiDiMode(ClassLib::TBiDiMode value) override { ClassLib::TMenu::SetBiDiMode(value); }
    ClassLib::TBiDiMode GetBiDiMode() override { return this->BiDiMode(); }
    ClassLib::TCustomImageList* GetDisabledImages() override { return FDisabledImages; }
    void UpdateItems() override { ClassLib::TMenu::UpdateItems(); }
    // A UI style other than tsCustom makes the menu paint with an office styler of that
    // style, unless an external styler is assigned.
    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;

    TCustomAdvMenuStyler* MenuStyler() const { return FMenuStyler; }
    TCustomAdvMenuStyler* CurrentStyler() const { return FCurrentMenuStyler; }
    ClassLib::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(ClassLib::TCustomImageList* value);
    TActionImage ActionImages() const { return FActionImage; }
    bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }
    bool ShowNotes() const { return FShowNotes; }
    AdvStyleIF::TOVTStyle UIStyle() const { return FOVTStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value);
    // The menus' version, four numbers from the high byte to the low one: "2.7.1.9".
    virtual unsigned GetVersionNr() const { return 0x02070109; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}

    // Batches item changes: the items are hooked once at the end.
    void BeginUpdate();
    virtual void EndUpdate();
    bool Updating() const { return FUpdateRef > 0; }

    // The items' measure and draw handlers.
    void ExpandItemWidth(ClassLib::TObject* sender, ClassLib::TCanvas* canvas, int& width, int& height);
    virtual void AdvancedDrawItem(ClassLib::TObject* sender, ClassLib::TCanvas* canvas, ClassLib::TRect rect,
                                  ClassLib::TOwnerDrawState state) = 0;

protected:
    // The published properties both menus add to their base's.
    static ClassLib::TPropertyList Properties(const ClassLib::TPropertyList& parent);
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void MakeInternalStyler();
    void StylerChanged();

    TCustomAdvMenuStyler* FMenuStyler = nullptr;          // external; not owned
    TCustomAdvMenuStyler* FInternalMenuStyler = nullptr;  // owned by the menu as a component
    TCustomAdvMenuStyler* FCurrentMenuStyler = nullptr;
    AdvMenuStylers::TAdvMenuOfficeStyler* FOfficeStyler = nullptr;        // made for a UI style, kept for the next one
    std::uint8_t FOpacity = 255;
    bool FShowNotes = true;
    bool FMenuUpdating = false;
    int FUpdateRef = 0;   // invariant: >= 0
    ClassLib::TCustomImageList* FDisabledImages = nullptr;
    bool FIntlKeybShortCuts = false;
    TActionImage FActionImage = aiNormal;
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsCustom;
};

// For every item of `menu` (or `item` and its sub-items): the styled menus' measure
// handler where the item has none, and their draw handler where the item draws neither
// way itself. Nothing while the menu loads or for an item that already has that handler.
void HookMenuItems(ClassLib::TMenu& menu, ClassLib::TMenuItem* item);

class TAdvPopupMenu : public TAdvMenuImpl<ClassLib::TPopupMenu> {
    CLASSLIB_CLASS(TAdvPopupMenu, ClassLib::TPopupMenu)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvPopupMenu(ClassLib::TComponent* owner) : TAdvMenuImpl(owner) {}
    void MenuChanged(ClassLib::TObject* sender, ClassLib::TMenuItem* source, bool rebuild) override;
    void AdvancedDrawItem(ClassLib::TObject* sender, ClassLib::TCanvas* canvas, ClassLib::TRect rect,
                          ClassLib::TOwnerDrawState state) override;

    // Shows the menu with its left, right or centre at x, moved for the strip its popup
    // window does not show, and returns when it has closed.
    void Popup(int x, int y) override;
    virtual void Popup(ClassLib::TPoint point) { Popup(point.X, point.Y); }
    void PopupAtCursor();
    void PopupAtControl(ClassLib::TControl* control, TPopupControlPosition position, int deltaX = 0, int deltaY = 0);
};

class TAdvMainMenu : public TAdvMenuImpl<ClassLib::TMainMenu> {
    CLASSLIB_CLASS(TAdvMainMenu, ClassLib::TMainMenu)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvMainMenu(ClassLib::TComponent* owner);
    ~TAdvMainMenu() override;
    void Loaded() override;
    void MenuChanged(ClassLib::TObject* sender, ClassLib::TMenuItem* source, bool rebuild) override;
    void SetWindowHandle(HWND value) override;
    bool ListsMDIChildren() const override { return true; }
    void AdvancedDrawItem(ClassLib::TObject* sender, ClassLib::TCanvas* canvas, ClassLib::TRect rect,
                          ClassLib::TOwnerDrawState state) override;
    void EndUpdate() override;
    // The change notice: hooks the MDI client of the menu's form.
    void MenuChangeNoticed() override;
    bool IsMainMenuWithWindow() override { return WindowHandle() && ::IsWindow(WindowHandle()); }
    // Re-measures and repaints the items.
    void Refresh();

    // The MDI client whose window procedure the menu replaced, or null.
    HWND HookedClient() const { return FOldWndHandle; }
    // Lists the frame's children under a marker in its Window menu (WM_MDIREFRESHMENU);
    // gives the menu bar.
    LRESULT RefreshWindowList(ClassLib::TCustomForm& frame);

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    void HookMDIClient(HWND client);
    void UnhookMDIClient();
    void WindowListClick(ClassLib::TObject* sender);

    HWND FOldWndHandle = nullptr;
    bool FDesignTime = false;
    // Window-list items a refresh took out: freed at a later refresh, since the click of
    // one of them may be what activated a child and asked for the refresh.
    std::vector<ClassLib::TMenuItem*> FRemovedListItems;
    int FListClickDepth = 0;
};

// Run by the painter after each popup item: the first time a popup window shows, its
// region cuts off the strip the items are measured wider than painted, a drop-down moves
// to meet its menu-bar item and a sub-menu its parent; each time, the window is framed in
// the styler's border colour.
void SubclassPopupWindow(ClassLib::TMenuItem* item, ClassLib::TCanvas* canvas);
// True when the sub-menu shown in `window` opens to the right of its parent item.
bool SubMenuOpensRight(ClassLib::TMenuItem* item, HWND window);
// The window procedures put in place for popup windows and an MDI frame's client.
LRESULT CALLBACK PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MDIClientWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers the styled menus and the office menu styler for window descriptions (and
// links their units in); returns the classes registered.
std::vector<const ClassLib::TClass*> RegisterMenuClasses();

}  // namespace AdvMenus
