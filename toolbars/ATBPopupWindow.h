#pragma once
// The check list of a toolbar's items that "Add or Remove Buttons" opens: a cascade of
// small menu-like windows drawn with the toolbar's menu styler; clicking a listed item shows
// or hides that toolbar item at once.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "menus/AdvToolBarAppearance.h"

namespace ClassLib {
class TTimer;
}
namespace AdvMenus {
class TCustomAdvMenuStyler;
}

namespace AdvToolBar {

class TAdvCustomToolBar;
class TATBPopupPanel;

// A node of the item tree; owns its children.
class TATBMenuItem {
public:
    TATBMenuItem() = default;
    ~TATBMenuItem();
    TATBMenuItem(const TATBMenuItem&) = delete;
    TATBMenuItem& operator=(const TATBMenuItem&) = delete;

    TATBMenuItem* Add();
    void Clear();
    bool HasChildren() const { return !FItems.empty(); }
    int Count() const { return int(FItems.size()); }
    // Raises the list's index error out of range.
    TATBMenuItem* Items(int index) const;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value) { FCaption = value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    TATBMenuItem* ParentItem() const { return FParentItem; }
    // The toolbar control the item stands for (not owned).
    ClassLib::TControl* Objects() const { return FObjects; }
    void SetObjects(ClassLib::TControl* value) { FObjects = value; }
    const ClassLib::TRect& BoundRect() const { return FBoundRect; }
    void SetBoundRect(const ClassLib::TRect& value) { FBoundRect = value; }

private:
    bool FEnabled = true;
    ClassLib::TRect FBoundRect;
    std::vector<std::unique_ptr<TATBMenuItem>> FItems;
    TATBMenuItem* FParentItem = nullptr;
    std::wstring FCaption;
    bool FChecked = false;
    bool FAutoCheck = false;
    ClassLib::TControl* FObjects = nullptr;
};

// One level of the cascade: a borderless pop-up form with its drawing panel.
class TATBPopupWindow : public ClassLib::TCustomForm {
    CLASSLIB_CLASS(TATBPopupWindow, ClassLib::TCustomForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TATBPopupWindow(ClassLib::TComponent* owner);
    ~TATBPopupWindow() override;

    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    void SetAdvToolBar(TAdvCustomToolBar* value) { FAdvToolBar = value; }
    TATBPopupPanel* PopupPanel() const { return FPopupPanel; }
    bool HideOnDeActivate() const { return FHideOnDeActivate; }
    void SetHideOnDeActivate(bool value) { FHideOnDeActivate = value; }
    // The root of the item tree; made by CreateItems (sub-windows show a node of their
    // parent's tree and have none).
    TATBMenuItem* Items() const { return FItems.get(); }
    void CreateItems();
    void Prepare();
    void SetWindowSize();
    // Lets the panel close its sub-window first.
    void Hide();

    // Raised after the window hid itself because it lost activation.
    ClassLib::TNotifyEvent OnDeActivateHide;

    void Dispatch(ClassLib::TMessage& message) override;

private:
    HWND OwnerTopWindow() const;

    TAdvCustomToolBar* FAdvToolBar = nullptr;
    TATBPopupPanel* FPopupPanel = nullptr;   // owned as a component
    bool FHideOnDeActivate = true;
    ClassLib::TTimer* FHideTimer = nullptr;  // owned as a component
    std::unique_ptr<TATBMenuItem> FItems;
};

// The cascade's gradient panel (margins 2) with its one-pixel frame.
class TATBCustomPopupPanel : public ClassLib::TCustomPanel {
    CLASSLIB_CLASS(TATBCustomPopupPanel, ClassLib::TCustomPanel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TATBCustomPopupPanel(ClassLib::TComponent* owner);

    ClassLib::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(ClassLib::TColor value) { FColorTo = value; }
    ClassLib::TColor WindowBorderColor() const { return FWindowBorderColor; }
    void SetWindowBorderColor(ClassLib::TColor value) { FWindowBorderColor = value; }
    virtual int GetVisibleHeight() { return Height(); }

protected:
    void Paint() override;

    int FMarginX = 2;
    int FMarginY = 2;

private:
    ClassLib::TColor FColorTo = ClassLib::clNone;
    ClassLib::TColor FWindowBorderColor = ClassLib::TColor(0x808080);
    TGradientDirection FGradientDirection = gdHorizontal;
};

class TATBPopupPanel : public TATBCustomPopupPanel {
    CLASSLIB_CLASS(TATBPopupPanel, TATBCustomPopupPanel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TATBPopupPanel(ClassLib::TComponent* owner);

    TATBMenuItem* Items() const { return FItems; }
    void SetItems(TATBMenuItem* value);
    AdvMenus::TCustomAdvMenuStyler* AdvMenuStyler() const { return FAdvMenuStyler; }
    void SetAdvMenuStyler(AdvMenus::TCustomAdvMenuStyler* value) { FAdvMenuStyler = value; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value) { FItemHeight = value; }
    int HotItem() const { return FHotItem; }
    void SetHotItem(int value);
    bool ShowImageBar() const { return FShowImageBar; }
    void SetShowImageBar(bool value) { FShowImageBar = value; }
    bool ShowIconBar() const { return FShowIconBar; }
    void SetShowIconBar(bool value) { FShowIconBar = value; }
    int ImageBarSize() const { return FImageBarSize; }
    void SetImageBarSize(int value) { FImageBarSize = value; }
    TATBPopupWindow* ItemPopup() const { return FItemPopup; }

    void ArrangeItems();
    int IndexOfItemAt(int x, int y) const;
    void ToggleCheck(int index);
    void InvalidateItem(int index);
    void FinishPopup();
    void Dispatch(ClassLib::TMessage& message) override;

protected:
    void Paint() override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

private:
    void DrawItem(int index);
    void DrawCheck(TATBMenuItem* item, const ClassLib::TRect& rect, bool hot);
    void DrawItemImage(TATBMenuItem* item, const ClassLib::TRect& rect);
    void ShowItemPopup();
    void HideItemPopup();
    int IconBarSize() const;
    TATBPopupWindow* Window() const;

    TATBMenuItem* FItems = nullptr;  // not owned
    AdvMenus::TCustomAdvMenuStyler* FAdvMenuStyler = nullptr;
    int FItemHeight;
    int FHotItem = -1;
    int FPopupItem = -1;
    bool FShowImageBar = false;
    bool FShowIconBar = false;
    int FImageBarSize = 20;
    TATBPopupWindow* FItemPopup = nullptr;  // owned as a component
};

}  // namespace AdvToolBar
