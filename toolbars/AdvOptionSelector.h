#pragma once
// The drop-down below a toolbar's overflow handle: a borderless pop-up form holding the
// items that do not fit, in rows, with the entries "Add or Remove Buttons" (the check list
// of every item) and "Options" (the toolbar's options menu, or a window that opens the
// customizer) below them.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "menus/AdvToolBarAppearance.h"
#include "toolbars/AdvOptionLayout.h"
#include "toolbars/AdvToolBarLayout.h"

namespace ClassLib {
class TPopupMenu;
class TTimer;
}  // namespace ClassLib

namespace AdvToolBar {

class TAdvCustomToolBar;
class TAdvToolBarCustomizer;
class TATBPopupWindow;
class TDbgList;
class TOptionSelectorPanel;

// A form that, given a parent control so that it belongs to it, still opens as a top-level
// pop-up; it hides itself one timer tick after it loses activation.
class TOptionSelectorWindow : public ClassLib::TCustomForm {
    CLASSLIB_CLASS(TOptionSelectorWindow, ClassLib::TCustomForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TOptionSelectorWindow(ClassLib::TComponent* owner);
    ~TOptionSelectorWindow() override;

    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    void SetAdvToolBar(TAdvCustomToolBar* value) { FAdvToolBar = value; }
    TOptionSelectorPanel* OptionsPanel() const { return FOptionsPanel; }
    void SetOptionsPanel(TOptionSelectorPanel* value) { FOptionsPanel = value; }
    bool HideOnDeActivate() const { return FHideOnDeActivate; }
    void SetHideOnDeActivate(bool value) { FHideOnDeActivate = value; }
    // Takes the panel's visible height and width.
    void SetWindowSize();
    // Borderless, stay on top, hidden, 10 x 10 (or the size given), no scrolling.
    void Prepare(int width = 10, int height = 10);

    void Dispatch(ClassLib::TMessage& message) override;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void DoHide() override;

private:
    void WMActivate(ClassLib::TMessage& message);
    HWND OwnerTopWindow() const;

    TAdvCustomToolBar* FAdvToolBar = nullptr;
    TOptionSelectorPanel* FOptionsPanel = nullptr;
    bool FHideOnDeActivate = true;
    ClassLib::TTimer* FHideTimer = nullptr;  // owned as a component
};

// The drop-down's gradient panel with its one-pixel frame.
class TOptionSelectorPanel : public ClassLib::TCustomPanel {
    CLASSLIB_CLASS(TOptionSelectorPanel, ClassLib::TCustomPanel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TOptionSelectorPanel(ClassLib::TComponent* owner);

    ClassLib::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(ClassLib::TColor value) { FColorTo = value; }
    ClassLib::TColor WindowBorderColor() const { return FWindowBorderColor; }
    void SetWindowBorderColor(ClassLib::TColor value) { FWindowBorderColor = value; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value) { FGradientDirection = value; }
    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    void SetAdvToolBar(TAdvCustomToolBar* value) { FAdvToolBar = value; }

    // The height the window takes.
    virtual int GetVisibleHeight() { return Height(); }
    // Frees the separator copies made for one showing.
    virtual void ClearSeparators() {}

protected:
    void Paint() override;

    int FMarginX = 3;
    int FMarginY = 3;

private:
    ClassLib::TColor FColorTo = ClassLib::clNone;
    ClassLib::TColor FWindowBorderColor = ClassLib::TColor(0x808080);
    TGradientDirection FGradientDirection = gdHorizontal;
    TAdvCustomToolBar* FAdvToolBar = nullptr;
};

// One text entry drawn by the content panel.
class TSelectorItem {
public:
    TSelectorItem();
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value) { FCaption = value; }
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    // Panel coordinates; empty while the entry is not shown, so it is never hit.
    const ClassLib::TRect& BRect() const { return FBRect; }
    void SetBRect(const ClassLib::TRect& value) { FBRect = value; }

private:
    int FHeight;
    std::wstring FCaption;
    ClassLib::TRect FBRect;
    int FWidth = 30;
};

class TCustomizeOption;

// The drop-down's content: the hidden items in rows, then "Options" and "Add or Remove
// Buttons". Entries open on hover.
class TControlSelectorPanel : public TOptionSelectorPanel {
    CLASSLIB_CLASS(TControlSelectorPanel, TOptionSelectorPanel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TControlSelectorPanel(ClassLib::TComponent* owner);
    ~TControlSelectorPanel() override;

    // Parents the control on the panel; its index in the list (added at the end when new).
    int AddControl(ClassLib::TControl* control);
    // A copy of a toolbar separator, owned by the panel until the drop-down hides.
    ClassLib::TControl* AddSeparator(ClassLib::TControl* separator);
    void RemoveControl(ClassLib::TControl* control);
    void ClearControls();
    int ControlListCount() const;
    ClassLib::TControl* ControlListItem(int index) const;
    void ClearSeparators() override;
    void ArrangeControls();
    void UpdateItemWidths();
    bool IsEmpty() const;

    const TSelectorItem& AddAndRemoveBtn() const { return FAddAndRemoveBtn; }
    const TSelectorItem& OptionsBtn() const { return FOptionsBtn; }
    bool OptionsItemVisible() const { return FOptionsMenu || FCustomizer; }
    bool ShowAddAndRemoveBtn() const { return FShowAddAndRemoveBtn; }
    void SetShowAddAndRemoveBtn(bool value) { FShowAddAndRemoveBtn = value; }
    ClassLib::TPopupMenu* OptionsMenu() const { return FOptionsMenu; }
    void SetOptionsMenu(ClassLib::TPopupMenu* value) { FOptionsMenu = value; }
    TAdvToolBarCustomizer* Customizer() const { return FCustomizer; }
    void SetCustomizer(TAdvToolBarCustomizer* value) { FCustomizer = value; }
    std::wstring TextAutoOptionMenu() const { return FAddAndRemoveBtn.Caption(); }
    void SetTextAutoOptionMenu(const std::wstring& value);
    std::wstring TextOptionMenu() const { return FOptionsBtn.Caption(); }
    void SetTextOptionMenu(const std::wstring& value);

    ClassLib::TColor ItemColorHot = ClassLib::TColor(0xD2BDB6);
    ClassLib::TColor ItemColorHotTo = ClassLib::clNone;
    ClassLib::TColor ItemColorDown = ClassLib::TColor(0x808080);
    ClassLib::TColor ItemColorDownTo = ClassLib::clNone;
    ClassLib::TColor ItemTextColor = ClassLib::TColor(0);
    ClassLib::TColor ItemTextColorHot = ClassLib::TColor(0xFFFFFF);
    ClassLib::TColor ItemTextColorDown = ClassLib::TColor(0);
    int ItemTextFontSize = 8;

    // The windows the entries open (null until first opened).
    TATBPopupWindow* AddAndRemovePopup() const { return FAddAndRemovePopup; }
    TOptionSelectorWindow* CustomizeOptionWindow() const { return FCustomizeOptionWindow; }
    void ShowAddAndRemovePopup();
    void HideAddAndRemovePopup();
    void OpenOptions();
    void Dispatch(ClassLib::TMessage& message) override;

protected:
    void Paint() override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;

private:
    void DrawEntry(const TSelectorItem& item, bool hot, bool down, bool addRemove, double scale);
    void HideCustomizeWindow();
    void HoverTimerTick();
    int OptionsMenuWidth();
    TOptionSelectorWindow* ParentWindow() const;

    std::unique_ptr<TDbgList> FControlList;
    TSelectorItem FAddAndRemoveBtn;
    bool FAddAndRemoveBtnHot = false, FAddAndRemoveBtnDown = false;
    int FSeparatorSize = 8;
    TATBPopupWindow* FAddAndRemovePopup = nullptr;  // owned as a component
    bool FShowAddAndRemoveBtn = true;
    TSelectorItem FOptionsBtn;
    bool FOptionsBtnHot = false, FOptionsBtnDown = false;
    ClassLib::TPopupMenu* FOptionsMenu = nullptr;
    ClassLib::TTimer* FTimer = nullptr;  // owned as a component
    std::unique_ptr<TDbgList> FSeparatorList;
    bool FInternalHiding = false;
    TAdvToolBarCustomizer* FCustomizer = nullptr;
    TCustomizeOption* FCustomizeOptionPanel = nullptr;
    TOptionSelectorWindow* FCustomizeOptionWindow = nullptr;  // owned as a component
};

// The one entry "Customize <caption>" that opens the customizer dialog.
class TCustomizeOption : public TOptionSelectorPanel {
    CLASSLIB_CLASS(TCustomizeOption, TOptionSelectorPanel)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TCustomizeOption(ClassLib::TComponent* owner);

    const std::wstring& CustomizeText() const { return FCustomizeText; }
    void SetCustomizeText(const std::wstring& value) { FCustomizeText = value; }
    void AdjustOptionSize();
    ClassLib::TRect ButtonRect() const;
    void Dispatch(ClassLib::TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

private:
    bool FCustomizeBtnHot = false, FCustomizeBtnDown = false;
    std::wstring FCustomizeText = L"Customize";
};

}  // namespace AdvToolBar
