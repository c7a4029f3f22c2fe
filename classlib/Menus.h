#pragma once
// Menu items and the popup menu: captions, shortcut texts, image indexes, enabled and
// checked states, sub-items and click handlers, shown as a system popup menu.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/Object.h"
#include "classlib/WindowDescription.h"

namespace ClassLib {

class TBitmap;
class TCustomImageList;
class TMenu;

using TShortCut = unsigned short;  // virtual key in the low byte, scShift/scCtrl/scAlt above
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+Shift+F5" style text of a shortcut, and back (0 for text it does not know).
std::wstring ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const std::wstring& text);

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
    void SetCaption(const std::wstring& value) { FCaption = value; }
    bool IsLine() const { return FCaption == L"-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    // Shown right-aligned after the caption; the shortcut's own text when empty.
    std::wstring ShortCutText() const;
    void SetShortCutText(const std::wstring& value) { FShortCutText = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }

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

    TNotifyEvent OnClick;
    virtual void Click();

private:
    friend class TMenu;
    std::wstring FCaption;
    TShortCut FShortCut = 0;
    std::wstring FShortCutText;
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FChecked = false;
    bool FVisible = true;
    bool FDefault = false;
    std::vector<TMenuItem*> FItems;  // owned unless a component owner frees them
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
};

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
    // Runs the item whose command number the system reported.
    bool DispatchCommand(UINT command);
protected:
    // Builds a system menu of the visible items; command numbers index FCommands, item
    // images are kept in FBitmaps until ReleaseMenu.
    HMENU BuildMenu(const TMenuItem* parent, bool popup);
    void ReleaseMenu(HMENU menu);
    void Notification(TComponent* component, TOperation operation) override;
    std::vector<TMenuItem*> FCommands;
    std::vector<std::unique_ptr<TBitmap>> FBitmaps;
private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

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
    // Shows the menu at a screen point and runs the chosen item's click.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
};

}  // namespace ClassLib
