#pragma once
// The toolbar's own items: the item base that knows its toolbar and dock side, and the flat
// toolbar button with glyphs or image-list images, a caption in four positions, check and
// radio groups, a split drop-down with a styled menu, action and menu-item links, a hot
// shadow glyph and automatic size, upright or turned on a vertical toolbar.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Actions.h"
#include "classlib/Control.h"
#include "menus/AdvToolBarAppearance.h"
#include "toolbars/AdvToolBarButtonLayout.h"
#include "toolbars/AdvToolBarCustomizedItem.h"
#include "toolbars/AdvToolBarItem.h"

namespace ClassLib {
class TBitmap;
class TCustomImageList;
class TMenuItem;
class TPicture;
class TTimer;
}  // namespace ClassLib
namespace AdvMenus {
class TAdvPopupMenu;
}
namespace AdvHintInfo {
class TAdvHintInfo;
}

namespace AdvToolBar {

class TAdvCustomToolBar;
class TCustomAdvToolBarStyler;
class IQuickAccessToolBarLink;

// A graphic control that belongs to a toolbar (or the ribbon's quick access toolbar) and
// follows the side it docks to.
class TAdvCustomToolBarControl : public ClassLib::TGraphicControl, public IToolBarItem {
    CLASSLIB_CLASS(TAdvCustomToolBarControl, ClassLib::TGraphicControl)
public:
    explicit TAdvCustomToolBarControl(ClassLib::TComponent* owner);

    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    // Moves the item onto the toolbar (its parent); raises "AdvToolBar not set" when the
    // toolbar does not take it, the item then back where it was.
    virtual void SetAdvToolBar(TAdvCustomToolBar* value);
    IQuickAccessToolBarLink* AdvQuickAccessToolBar() const { return FAdvQuickAccessToolBar; }
    void SetAdvQuickAccessToolBar(IQuickAccessToolBarLink* value);
    TDockAlign Position() const { return FPosition; }
    void SetPosition(TDockAlign value);
    // The side is vertical (daLeft, daRight).
    bool IsVerticalItem() const { return IsVertical(FPosition); }

    // ---- IToolBarItem ----
    void SetToolBarLink(TAdvCustomToolBar* toolBar) override { FAdvToolBar = toolBar; }
    void SetDockPosition(TDockAlign position) override { SetPosition(position); }
    void AdjustItemSize() override { AdjustSize(); }

    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);
    // Measures the item again (with AutoSize on).
    virtual void AdjustSize() {}

protected:
    // The styler the item paints with: its toolbar's current one, or the quick access toolbar's.
    TCustomAdvToolBarStyler* CurrentStyler() const;

    TAdvCustomToolBar* FAdvToolBar = nullptr;
    TDockAlign FPosition = daTop;
    IQuickAccessToolBarLink* FAdvQuickAccessToolBar = nullptr;
    bool FAutoSize = false;
};

class TAdvCustomToolBarButton;

// Fixed drawing places that override the computed layout while Enabled.
class TAdvToolBarButtonDrawPosition : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvToolBarButtonDrawPosition, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TAdvToolBarButtonDrawPosition() = default;
    // From another draw position: the five values without a word; anything else is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { Store(FEnabled, value); }
    int TextX() const { return FTextX; }
    void SetTextX(int value) { Store(FTextX, value); }
    int TextY() const { return FTextY; }
    void SetTextY(int value) { Store(FTextY, value); }
    int ImageX() const { return FImageX; }
    void SetImageX(int value) { Store(FImageX, value); }
    int ImageY() const { return FImageY; }
    void SetImageY(int value) { Store(FImageY, value); }

    ClassLib::TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& field, T value) {
        if (field == value) return;
        field = value;
        if (OnChange) OnChange(this);
    }
    bool FEnabled = false;
    int FTextX = 0, FTextY = 0, FImageX = 0, FImageY = 0;
};

// The button's link to its action: besides caption, enabled state, hint and visibility,
// its checked state (Down), group and image follow the action.
class TAdvToolBarButtonActionLink : public ClassLib::TControlActionLink {
public:
    explicit TAdvToolBarButtonActionLink(TAdvCustomToolBarButton* client);
    bool IsCheckedLinked() const override;
    // The group alone decides; the general test is not asked.
    bool IsGroupIndexLinked() const override;
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) override;
    void SetImageIndex(int value) override;
private:
    TAdvCustomToolBarButton* FButton;
};

class TAdvCustomToolBarButton : public TAdvCustomToolBarControl {
    CLASSLIB_CLASS(TAdvCustomToolBarButton, TAdvCustomToolBarControl)
public:
    explicit TAdvCustomToolBarButton(ClassLib::TComponent* owner);
    ~TAdvCustomToolBarButton() override;

    void Loaded() override;
    void Click() override;
    void Dispatch(ClassLib::TMessage& message) override;
    void SetParent(ClassLib::TWinControl* parent) override;
    void SetEnabled(bool value) override;

    // ---- IToolBarItem ----
    TToolBarItemKind ToolBarItemKind() const override { return TToolBarItemKind::Button; }
    void GenerateShade() override;
    bool Stackable() const override { return true; }
    bool CanRotate() const override { return FCanRotate; }
    void PerformAccelerator() override;

    // ---- state ----
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TAdvToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvToolButtonStyle value) { FStyle = value; }
    TAdvButtonState State() const { return FState; }
    void SetState(TAdvButtonState value) { FState = value; }
    bool Hot() const { return FPropHot; }
    void SetHot(bool value);
    bool MouseInControl() const { return FMouseInControl; }
    // Back to idle (the toolbar's menu loop ended).
    void ResetState();
    // Announces a button that went down to the other members of its group.
    void UpdateExclusive();
    // The pointer's real place decides between entering and leaving.
    void UpdateTracking();
    virtual bool IsMenuButton() const { return false; }

    // ---- looks ----
    ClassLib::TBitmap* Glyph() const { return FGlyph.get(); }
    // Also fills an empty GlyphDisabled with a grey copy.
    void SetGlyph(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* GlyphChecked() const { return FGlyphChecked.get(); }
    void SetGlyphChecked(const ClassLib::TBitmap* value);
    // The grey silhouette drawn under the image while hot.
    ClassLib::TBitmap* GlyphShade() const { return FGlyphShade.get(); }
    ClassLib::TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const ClassLib::TPicture* value);
    ClassLib::TPicture* PictureDisabled() const { return FPictureDisabled.get(); }
    void SetPictureDisabled(const ClassLib::TPicture* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TButtonAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(const TButtonAppearance* value);
    TAdvToolBarButtonDrawPosition* DrawPosition() const { return FDrawPosition.get(); }
    void SetDrawPosition(const TAdvToolBarButtonDrawPosition* value);
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value);
    TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
    void SetGlyphPosition(TGlyphPosition value);
    TRotateDirection RotateDirection() const { return FRotateDirection; }
    void SetRotateDirection(TRotateDirection value);
    void SetCanRotate(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ParentStyler() const { return FParentStyler; }
    void SetParentStyler(bool value);
    bool Flat() const { return FFlat; }

    // ---- drop-down ----
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool value);
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool value) { FDropDownSplit = value; }
    AdvMenus::TAdvPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(AdvMenus::TAdvPopupMenu* value);
    // The drop-down menu is open.
    bool MenuSel() const { return FMenuSel; }
    int VisibleMenuItemCount() const;

    // ---- menu item ----
    ClassLib::TMenuItem* MenuItem() const { return FMenuItem; }
    // Takes the item's action, caption, checked and enabled state, hint, image and
    // visibility; null only clears the link.
    void SetMenuItem(ClassLib::TMenuItem* item);

    // The button's place in its toolbar's item list, -1 without a toolbar.
    int Index() const;
    static constexpr int GetVersionNr() { return 0x06080303; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}

    // The toolbar and the customizer keep these.
    int InternalTag() const { return FInternalTag; }
    void SetInternalTag(int value) { FInternalTag = value; }
    bool ToolBarCreated() const { return FToolBarCreated; }
    void SetToolBarCreated(bool value) { FToolBarCreated = value; }
    int CommandID() const { return FCommandID; }
    void SetCommandID(int value) { FCommandID = value; }
    bool CustomizerCreated() const { return FCustomizerCreated; }
    void SetCustomizerCreated(bool value) { FCustomizerCreated = value; }
    // Menu-bar handshake flags, written by the toolbar's menu loop.
    bool FInternalClick = false, FMenuBeingClosed = false, FMenuDisplayed = false;

    // The image list the button draws from: the toolbar's (or quick access toolbar's).
    ClassLib::TCustomImageList* ToolBarImages() const;
    ClassLib::TCustomImageList* ToolBarDisabledImages() const;

    ClassLib::TNotifyEvent OnDropDown;

    void AdjustSize() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void ActionChange(ClassLib::TObject* sender, bool checkDefaults) override;
    std::unique_ptr<ClassLib::TControlActionLink> CreateActionLink() override;

    // The face for the case, ending with the image and caption.
    virtual void DrawBackground(ClassLib::TCanvas* canvas);
    virtual void DrawGlyphAndCaption(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, ClassLib::TColor textColor,
                                     ClassLib::TBitmap* glyph);
    // A menu button drops its menu (the toolbar's menu bar decides).
    void DoDropDown();
    virtual bool CheckMenuDropdown();
    void UnHotTimerTick();

    // The caption font for measuring (draw false) or drawing, its height scaled by s.
    void SetupCaptionFont(ClassLib::TCanvas* canvas, float s, bool forDrawing);
    // The image list and index the button shows (the action's list and image when it has them).
    void ImageSource(ClassLib::TCustomImageList*& images, int& index, bool withForce) const;
    // Drop-down press: the event and the menu below the button.
    void DropDownPress();
    bool IsMenuBarButton() const;
    bool Rotated() const { return IsVerticalItem() && FCanRotate; }

    int FGroupIndex = 0;
    std::unique_ptr<ClassLib::TBitmap> FGlyph, FGlyphDisabled, FGlyphHot, FGlyphDown, FGlyphChecked, FGlyphShade;
    bool FDown = false;
    TRotateDirection FRotateDirection = rdNormal;
    bool FAllowAllUp = false;
    int FSpacing = 4;
    bool FTransparent = true;
    int FOffSet = 4;
    bool FFlat = true;
    bool FMouseInControl = false;
    bool FMenuSel = false;
    bool FShaded = true;
    TAdvToolButtonStyle FStyle = tasButton;
    bool FDropDownButton = false;
    AdvMenus::TAdvPopupMenu* FDropDownMenu = nullptr;
    bool FParentStyler = true;
    TAdvButtonState FState = absUp;
    TGlyphPosition FGlyphPosition = gpLeft;
    bool FMouseDownInControl = false;
    int FDropDownSectWidth = 12;
    ClassLib::TMenuItem* FMenuItem = nullptr;
    int FImageIndex = -1;
    bool FShadedForGlyph = false;
    bool FDragging = false;
    std::unique_ptr<TButtonAppearance> FAppearance;
    bool FShowCaption = false;
    bool FPropHot = false;
    std::unique_ptr<ClassLib::TPicture> FPicture, FPictureDisabled;
    ClassLib::TTimer* FUnHotTimer = nullptr;  // owned as a component of the button
    std::unique_ptr<TAdvToolBarButtonDrawPosition> FDrawPosition;
    bool FInitialDown = false;
    int FInternalTag = 0;
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    bool FDropDownSplit = true;
    bool FForceImageIndex = false;
    bool FCanRotate = true;
    bool FToolBarCreated = false;
    int FCommandID = -1;
    bool FCustomizerCreated = false;

private:
    friend class TAdvToolBarButtonActionLink;
    void CMButtonPressed(ClassLib::TMessage& message);
    void CMMouseEnter(ClassLib::TMessage& message);
    void CMMouseLeave(ClassLib::TMessage& message);
    void CMTextChanged(ClassLib::TMessage& message);
    void CMVisibleChanged(ClassLib::TMessage& message);
    void CMHintShow(ClassLib::TMessage& message);
    // Leaving without the event (the timer saw the pointer go).
    void LeaveQuietly();
    // Asks to hear of the end of the image list the button shows (it then shows none).
    void WatchImages();
    ClassLib::TCustomImageList* FWatchedImages = nullptr;
};

class TAdvToolBarButton : public TAdvCustomToolBarButton, public ICustomizedItem {
    CLASSLIB_CLASS(TAdvToolBarButton, TAdvCustomToolBarButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarButton(ClassLib::TComponent* owner) : TAdvCustomToolBarButton(owner) {}
    // The customizer draws image-list images even when an action has its own.
    bool ForceImageIndex() const { return FForceImageIndex; }
    void SetForceImageIndex(bool value) { FForceImageIndex = value; }
    // The customizer's marks.
    int CustomizerCommandID() const override { return CommandID(); }
    void SetCustomizerCommandID(int value) override { SetCommandID(value); }
    bool CustomizerCreated() const override { return TAdvCustomToolBarButton::CustomizerCreated(); }
    void SetCustomizerCreated(bool value) override { TAdvCustomToolBarButton::SetCustomizerCreated(value); }
    bool CustomizerForceImageIndex() const override { return ForceImageIndex(); }
    void SetCustomizerForceImageIndex(bool value) override { SetForceImageIndex(value); }
};

}  // namespace AdvToolBar
