#pragma once
// The office push button: a two-part gradient face that fades between its normal, hot and
// pressed looks, a glyph, a caption with notes, an optional drop-down part with a menu,
// check and radio-group behaviour, auto repeat, key tips and three size states for groups
// that shrink.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Control.h"
#include "classlib/EnumNames.h"
#include "classlib/Form.h"
#include "classlib/HintWindow.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "controls/AdvGlowButtonPaint.h"
#include "graphics/AdvStyleIF.h"

#include "classlib/Actions.h"

namespace ClassLib {
class TChangeLink;
class TCustomImageList;
class TPopupMenu;
class TStringList;
class TTimer;
}

namespace GDIPicture {
class TGDIPPicture;
}

namespace AdvGlowButton {

enum TAdvButtonStyle { bsButton, bsCheck };
enum TButtonSizeState { bsGlyph, bsLabel, bsLarge };
enum TFocusType { ftBorder, ftHot, ftHotBorder, ftNone };
enum TAutoSizeDirection { asVertical, asHorizontal };
}  // namespace AdvGlowButton

template <> struct ClassLib::TEnumNames<AdvGlowButton::TAutoSizeDirection> {
    static constexpr const wchar_t* TypeName = L"TAutoSizeDirection";
    static constexpr const wchar_t* Names[] = {L"asVertical", L"asHorizontal"};
};

namespace AdvGlowButton {

enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };
enum TGlowState { gsHover, gsPush, gsNone };
enum TGlowButtonState { gsNormal, gsHot, gsDown };
enum TShortCutHintPos {
    shpLeft, shpTop, shpRight, shpBottom, shpCenter, shpAuto, shpTopLeft, shpTopRight, shpAboveTop,
    shpAboveTopLeft, shpAboveTopRight, shpBottomLeft, shpBottomRight, shpBelowBottom, shpBelowBottomLeft,
    shpBelowBottomRight, shpBelowBottomCenter
};

// The interval in ms of every fade timer (glow buttons, toolbar buttons, pager tabs); 0
// switches fades off. Colour tones set it to 0; the pager sets it.
extern int GlowSpeed;
// The same variable under the name the toolbars and the pager use for it.
inline int& GlowAnimationInterval = GlowSpeed;

// Where a key tip sits beside a button of size (width, height) whose client origin is at
// `origin` on the screen; the tip is tipWidth x tipHeight. shpAuto is shpTop.
ClassLib::TPoint ShortCutHintPlace(TShortCutHintPos position, ClassLib::TPoint origin, int width, int height,
                                   int tipWidth, int tipHeight);

// The key tip: a small top-most label with a gradient face.
class TShortCutHintWindow : public ClassLib::THintWindow {
    CLASSLIB_CLASS(TShortCutHintWindow, ClassLib::THintWindow)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TShortCutHintWindow(ClassLib::TComponent* owner);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    // The size the text needs: text width + 6 (at least the width of "O" + 8), height + 4.
    ClassLib::TSize TipSize(const std::wstring& text);
protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void Paint() override;
    void Dispatch(ClassLib::TMessage& message) override;
private:
    TColor FColor = ClassLib::clInfoBk;
    TColor FColorTo = ClassLib::clInfoBk;
};

// A parent that styles the glow buttons on it (a toolbar with a styler) hands its
// appearance out through this; null when it has none.
class IGlowButtonStyler {
public:
    virtual const TGlowButtonAppearance* GlowButtonStylerAppearance() const = 0;
protected:
    ~IGlowButtonStyler() = default;
};

class TAdvCustomGlowButton;

// The action link of a glow button: the checked state, group index, image index and help
// of an action reach the button.
class TAdvGlowButtonActionLink : public ClassLib::TControlActionLink {
public:
    explicit TAdvGlowButtonActionLink(TAdvCustomGlowButton* client);
    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsHelpLinked() const override;
    bool IsImageIndexLinked() const override;
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) override;
    void SetHelpContext(int value) override;
    void SetHelpKeyword(const std::wstring& value) override;
    void SetHelpType(ClassLib::THelpType value) override;
    void SetImageIndex(int value) override;
protected:
    void Change() override;
private:
    TAdvCustomGlowButton* FButton;
    int FImageIndex = -1;  // the image index last passed on
};

using TGlowButtonDrawEvent =
    std::function<void(ClassLib::TObject* sender, ClassLib::TCanvas* canvas, ClassLib::TRect rect, TGlowButtonState state)>;
using TSetButtonSizeEvent = std::function<void(ClassLib::TObject* sender, int& width, int& height)>;
using TOnGetShortCutHintPos =
    std::function<void(ClassLib::TObject* sender, TButtonSizeState sizeState, TShortCutHintPos& position)>;

// What toolbars, the pager and the quick-access toolbar reach of a button besides its
// properties; one place, so their use stays visible.
struct TGlowButtonToolBarFields {
    TButtonSizeState ButtonSizeState = bsLarge;
    bool StaticButton = false;          // face background only while dropped down or checked
    bool InternalIsOnGlassQAT = false;  // the quick-access toolbar's glass flag
    int CommandID = -1;
    bool CustomizerCreated = false;
    ClassLib::TNotifyEvent OnInternalClick;
    ClassLib::TNotifyEvent OnInternalDropDown;
    ClassLib::TKeyEvent OnInternalKeyDown;
    TSetButtonSizeEvent OnSetButtonSize;
    TOnGetShortCutHintPos OnGetShortCutHintPos;
};

class TAdvCustomGlowButton : public ClassLib::TCustomControl,
                             public AdvStyleIF::IOVTStyle,
                             public AdvStyleIF::IOVTTones {
    CLASSLIB_CLASS(TAdvCustomGlowButton, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvCustomGlowButton(ClassLib::TComponent* owner);
    ~TAdvCustomGlowButton() override;

    TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
    // Pictures per look; assigning copies.
    GDIPicture::TGDIPPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const GDIPicture::TGDIPPicture* value);
    GDIPicture::TGDIPPicture* DisabledPicture() const { return FDisabledPicture.get(); }
    void SetDisabledPicture(const GDIPicture::TGDIPPicture* value);
    GDIPicture::TGDIPPicture* HotPicture() const { return FHotPicture.get(); }
    void SetHotPicture(const GDIPicture::TGDIPPicture* value);
    GDIPicture::TGDIPPicture* DownPicture() const { return FDownPicture.get(); }
    void SetDownPicture(const GDIPicture::TGDIPPicture* value);
    void SetAppearance(const TGlowButtonAppearance* value);
    ClassLib::TStringList* Notes() const { return FNotes.get(); }
    ClassLib::TFont* NotesFont() const { return FNotesFont.get(); }

    AdvGDIP::TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(AdvGDIP::TAntiAlias value) { SetRepainting(FAntiAlias, value); }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAutoSizeDirection AutoSizeDirection() const { return FAutoSizeDirection; }
    void SetAutoSizeDirection(TAutoSizeDirection value);
    ClassLib::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(ClassLib::TBorderStyle value) { FBorderStyle = value; Invalidate(); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool Down() const { return FDownChecked; }
    void SetDown(bool value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool AlwaysShowAccel() const { return FAlwaysShowAccel; }
    void SetAlwaysShowAccel(bool value) { SetRepainting(FAlwaysShowAccel, value); }
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(ClassLib::TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool value);
    TDropDownDirection DropDownDirection() const { return FDropDownDirection; }
    void SetDropDownDirection(TDropDownDirection value) { SetRepainting(FDropDownDirection, value); }
    ClassLib::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(ClassLib::TPopupMenu* value);
    TDropDownPosition DropDownPosition() const { return FDropDownPosition; }
    void SetDropDownPosition(TDropDownPosition value);
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool value) { SetRepainting(FDropDownSplit, value); }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value) { SetRepainting(FDropDownWidth, value); }
    TFocusType FocusType() const { return FFocusType; }
    void SetFocusType(TFocusType value) { SetRepainting(FFocusType, value); }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int InitRepeatPause() const { return FInitRepeatPause; }
    void SetInitRepeatPause(int value) { FInitRepeatPause = value; }
    int RepeatPause() const { return FRepeatPause; }
    void SetRepeatPause(int value) { FRepeatPause = value; }
    bool RepeatClick() const { return FRepeatClick; }
    void SetRepeatClick(bool value) { FRepeatClick = value; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value) { FLayout = value; Invalidate(); }
    int MarginHorz() const { return FMarginHorz; }
    void SetMarginHorz(int value);
    int MarginVert() const { return FMarginVert; }
    void SetMarginVert(int value);
    TButtonSizeState MaxButtonSizeState() const { return FMaxButtonSizeState; }
    void SetMaxButtonSizeState(TButtonSizeState value);
    TButtonSizeState MinButtonSizeState() const { return FMinButtonSizeState; }
    void SetMinButtonSizeState(TButtonSizeState value);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    int PictureWidth() const { return FPictureWidth; }
    void SetPictureWidth(int value) { SetRepainting(FPictureWidth, value); }
    int PictureHeight() const { return FPictureHeight; }
    void SetPictureHeight(int value) { SetRepainting(FPictureHeight, value); }
    TButtonPosition Position() const { return FPosition; }
    void SetPosition(TButtonPosition value) { FPosition = value; Invalidate(); }
    bool Rounded() const { return FRounded; }
    void SetRounded(bool value) { SetRepainting(FRounded, value); }
    const std::wstring& ShortCutHint() const { return FShortCutHintText; }
    void SetShortCutHint(const std::wstring& value) { FShortCutHintText = value; }
    TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
    void SetShortCutHintPos(TShortCutHintPos value) { FShortCutHintPos = value; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    bool ShowDisabled() const { return FShowDisabled; }
    void SetShowDisabled(bool value) { FShowDisabled = value; Invalidate(); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value) { SetRepainting(FSpacing, value); }
    TAdvButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvButtonStyle value) { FStyle = value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { SetRepainting(FTransparent, value); }
    AdvGDIP::StringTrimming Trimming() const { return FTrimming; }
    void SetTrimming(AdvGDIP::StringTrimming value) { SetRepainting(FTrimming, value); }
    AdvStyleIF::TOVTStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value) { SetComponentStyle(value); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { SetRepainting(FWordWrap, value); }
    const std::wstring& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const std::wstring& value);
    bool DrawSplitLineAlways() const { return FDrawSplitLineAlways; }
    void SetDrawSplitLineAlways(bool value);
    bool IsRotated() const { return FIsRotated; }
    void SetIsRotated(bool value) { FIsRotated = value; }
    // A toolbar's styler leaves the appearance of a button with UseAppearance alone.
    bool UseAppearance() const { return FUseAppearance; }
    void SetUseAppearance(bool value) { FUseAppearance = value; }
    // Set by a ribbon group that holds the button; stored only.
    bool IsOnRibbon() const { return FIsOnRibbon; }
    virtual void SetIsOnRibbon(bool value) { FIsOnRibbon = value; }
    bool DoubleClicks() const { return !(ControlStyle() & ClassLib::csDoubleClicks); }
    void SetDoubleClicks(bool value);
    std::wstring Version() const;

    TAdvButtonState State() const { return FState; }
    bool DroppedDown() const { return FDroppedDown; }
    TButtonSizeState ButtonSizeState() const { return FToolBar.ButtonSizeState; }
    // The fields toolbars, the pager and the quick-access toolbar read and write.
    TGlowButtonToolBarFields& ToolBarFields() { return FToolBar; }

    // The pixels of the drop-down part, both painted and pressed.
    virtual int GetDropDownPartWidth();
    virtual bool IsMenuButton() const { return false; }
    virtual bool HasBorder() const { return FBorderStyle == ClassLib::bsSingle; }
    virtual bool ShowFocusBorder() const;

    // As if clicked from the keyboard (key tips use it).
    void InvokeClick();
    // Opens the drop-down menu below (or beside) the button.
    void DoDropDown();
    void ShowShortCutHint();
    void HideShortCutHint();
    TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHint; }

    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    void SetColorTones(AdvStyleIF::TColorTones ATones) override;
    AdvStyleIF::TOVTStyle ComponentStyleApplied() const { return FCompStyle; }

    void SetButtonSizeState(TButtonSizeState value);
    // The size the button would need in `state`, without changing it.
    ClassLib::TSize GetSizeForState(TButtonSizeState state);
    // Re-measures an auto-sized button, else repaints.
    void UpdateAutoSize();

    void Click() override;
    void Loaded() override;
    // Which list wins when an action brings one: the action list's, or the button's own.
    enum TImageListType { ipActionList, ipOwnLists };
    TImageListType ImageListType() const { return FImageListType; }
    void SetImageListType(TImageListType value) { FImageListType = value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const std::wstring& HelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const std::wstring& value) { FHelpKeyword = value; }
    ClassLib::THelpType HelpType() const { return FHelpType; }
    void SetHelpType(ClassLib::THelpType value) { FHelpType = value; }
    void Assign(const ClassLib::TPersistent* source) override;
    void ChangeScale(int m, int d) override;

    ClassLib::TNotifyEvent OnDropDown;
    TGlowButtonDrawEvent OnDrawButton;

protected:
    friend class TAdvGlowButtonActionLink;
    void ActionChange(ClassLib::TObject* sender, bool checkDefaults) override;
    std::unique_ptr<ClassLib::TControlActionLink> CreateActionLink() override;
    // The action's image list and index take part when it has one (paint and measuring).
    void ApplyActionImages(TGlowFace& face);
    // The internal image list descendants fill (the data button's glyphs); null until made.
    ClassLib::TCustomImageList* FInternalImages = nullptr;
    void Paint() override;
    void CreateWnd() override;
    void Dispatch(ClassLib::TMessage& message) override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, ClassLib::TShiftState shift) override;
    void KeyUp(WORD& key, ClassLib::TShiftState shift) override;
    void KeyPress(wchar_t& key) override;
    void DoEnter() override;
    void DoExit() override;

    virtual void DoRepeatClick();
    virtual void AfterDrawButton() {}
    virtual void DrawOverlay(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect) { (void)canvas; (void)rect; }
    virtual void PrepareGlyphBitmap(ClassLib::TBitmap* bitmap) { (void)bitmap; }
    // The face a state shows, filled as one paint would; tests and descendants read it.
    TGlowFace FaceForPaint(bool calcOnly);

private:
    template <class T> void SetRepainting(T& field, T value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void AppearanceChanged();
    void NotifyGroup();
    void SetImageList(ClassLib::TCustomImageList*& field, ClassLib::TChangeLink* link,
                      ClassLib::TCustomImageList* value);
    void StartFadeTimer();
    void StopFadeTimer();
    void GlowTimerTick();
    void EnterMouse();
    void LeaveMouse();
    void ReleaseLeft(ClassLib::TMessage& message);
    void RefreshMouseTracking();
    void DialogKey(ClassLib::TMessage& message);
    void DialogChar(ClassLib::TMessage& message);
    void StyleChanged();
    void PaintParentBackground(HDC dc, HRGN clip);
    bool ParentIsClass(const wchar_t* className) const;
    void PaintNow();
    float Scale();

    // The glyph size the picture rule gives (fixed, height-scaled or natural: 0, 0).
    ClassLib::TSize PictureGlyphSize(ClassLib::TSize current) const;
    GDIPicture::TGDIPPicture* PictureForPaint() const;

    std::unique_ptr<TGlowButtonAppearance> FAppearance;
    std::unique_ptr<GDIPicture::TGDIPPicture> FPicture, FDisabledPicture, FHotPicture, FDownPicture;
    std::unique_ptr<ClassLib::TStringList> FNotes;
    std::unique_ptr<ClassLib::TFont> FNotesFont;
    std::unique_ptr<ClassLib::TChangeLink> FImageChangeLink, FDisabledImageChangeLink, FHotImageChangeLink;
    TShortCutHintWindow* FShortCutHint = nullptr;  // owned through the component tree
    ClassLib::TTimer* FTimer = nullptr;            // the fade timer; exists only while a fade runs
    ClassLib::TTimer* FRepeatTimer = nullptr;
    ClassLib::TCustomImageList* FImages = nullptr;
    ClassLib::TCustomImageList* FDisabledImages = nullptr;
    ClassLib::TCustomImageList* FHotImages = nullptr;
    ClassLib::TPopupMenu* FDropDownMenu = nullptr;
    TGlowButtonToolBarFields FToolBar;

    AdvGDIP::TAntiAlias FAntiAlias = AdvGDIP::aaClearType;
    bool FAutoSize = false;
    TAutoSizeDirection FAutoSizeDirection = asVertical;
    ClassLib::TBorderStyle FBorderStyle = ClassLib::bsSingle;
    bool FCancel = false, FDefault = false, FAllowAllUp = false, FAlwaysShowAccel = false;
    int FImageIndex = -1;
    bool FDropDownButton = false;
    TDropDownDirection FDropDownDirection = ddDown;
    TDropDownPosition FDropDownPosition = dpRight;
    bool FDropDownSplit = true;
    int FDropDownWidth = 14;
    TFocusType FFocusType = ftBorder;
    int FGroupIndex = 0;
    int FInitRepeatPause = 400, FRepeatPause = 100;
    bool FRepeatClick = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMarginHorz = 1, FMarginVert = 1;
    TButtonSizeState FMaxButtonSizeState = bsLarge, FMinButtonSizeState = bsGlyph;
    int FModalResult = 0;
    int FPictureWidth = -1, FPictureHeight = -1;
    TButtonPosition FPosition = bpStandalone;
    bool FRounded = true;
    std::wstring FShortCutHintText;
    TShortCutHintPos FShortCutHintPos = shpTop;
    bool FShowCaption = true, FShowDisabled = true;
    int FSpacing = 2;
    TAdvButtonStyle FStyle = bsButton;
    bool FTransparent = false;
    AdvGDIP::StringTrimming FTrimming = AdvGDIP::StringTrimmingNone;
    AdvStyleIF::TOVTStyle FUIStyle = AdvStyleIF::tsCustom;
    AdvStyleIF::TOVTStyle FCompStyle = AdvStyleIF::tsCustom;
    bool FWordWrap = true;
    std::wstring FWideCaption;
    bool FDrawSplitLineAlways = false;
    bool FIsRotated = false;
    bool FUseAppearance = false;
    bool FIsOnRibbon = false;

    // The state machine.
    bool FDown = false;           // pressed look of the current gesture
    bool FLeftDown = false;       // the mouse left while pressed
    bool FMouseDown = false;      // left button held on it
    int FStepHover = 0, FStepPush = 0;  // fade positions, 0 .. 100
    int FTimeInc = 0;
    TGlowState FGlowState = gsNone;
    TAdvButtonState FState = absUp;
    bool FMouseInControl = false, FHasMouse = false, FMouseEnter = false;
    bool FDownChecked = false;    // the Down property
    bool FInitialDown = false;
    bool FDragging = false;       // a press that may become a click
    bool FInButton = false;       // the pointer is over the drop-down part
    bool FDroppedDown = false;
    bool FDoAutoSize = false, FFirstPaint = true;
    bool FPainting = false;
    TButtonLayout FOldLayout = blGlyphLeft;
    TDropDownPosition FOldDropDownPosition = dpRight;
    bool FGotButtonClick = false;
    bool FHasFocus = false;
    bool FGotDownKey = false;
    bool FCheckBeforeAction = false;
    bool FUsingStyles = false;
    bool FHot = false;
    bool FCheckLinked = false, FGroupIndexLinked = false;
    TImageListType FImageListType = ipActionList;
    int FHelpContext = 0;
    std::wstring FHelpKeyword;
    ClassLib::THelpType FHelpType = ClassLib::htKeyword;
};

class TAdvGlowButton : public TAdvCustomGlowButton {
    CLASSLIB_CLASS(TAdvGlowButton, TAdvCustomGlowButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvGlowButton(ClassLib::TComponent* owner) : TAdvCustomGlowButton(owner) {}
};

}  // namespace AdvGlowButton
