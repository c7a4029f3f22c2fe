#pragma once
// The office status bar: a row of panels (HTML and plain text, clock, lock keys, a
// progress gauge, images, an animation, ellipsis texts) on office-like gradients taken
// from a styler, with button panels, anchors, hints, a size grip and a 100 ms tick.
#include <windows.h>
// commctrl.h maps DrawStatusText to its own W function; included first, the mapping
// applies to ours in every file alike.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Collections.h"
#include "classlib/Control.h"
#include "classlib/EnumNames.h"
#include "classlib/Lists.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvStyleIF.h"
#include "rendering/AdvHTML.h"

namespace ClassLib {
struct THintInfo;
class TBitmap;
class TCustomImageList;
class TStringList;
}  // namespace ClassLib
namespace AdvHintInfo {
class TAdvHintInfo;
}

namespace AdvOfficeStatusBar {

using String = std::wstring;
using ClassLib::TColor;
using ClassLib::TRect;
using AdvGDIP::TAntiAlias;
using AdvGDIP::aaNone;
using AdvGDIP::aaClearType;
using AdvGDIP::aaAntiAlias;

enum TAdvOfficeStatusPanelStyle {
    psHTML, psText, psOwnerDraw, psTime, psDate, psNumLock, psCapsLock, psScrollLock, psProgress, psImage,
    psImageList, psAnimation, psEllipsText, psFileEllipsText
};
enum TPanelAppearanceStyle { psLight, psDark };
enum TVerticalPanelAlignment { vpaTop, vpaCenter, vpaBottom };
enum TProgressIndication { piPercentage, piAbsolute, piNone };
enum TURLStyle { usUnderline, usNone };
enum TGaugeOrientation { goHorizontal, goVertical };

class TAdvOfficeStatusBar;
class TAdvOfficeStatusPanel;

using TPanelClick = std::function<void(ClassLib::TObject* sender, int panelIndex)>;
using TDrawPanelEvent = std::function<void(TAdvOfficeStatusBar* statusBar, TAdvOfficeStatusPanel* panel, const TRect& rect)>;
using TAnchorClick = std::function<void(ClassLib::TObject* sender, const String& anchor)>;

// The status bar's own engine: the shared one with the bar's option set.
bool DrawHTML(const AdvHTML::THTMLParams& params, AdvHTML::THTMLResults& results);

// ---- drawing routines of the bar (their twins elsewhere follow other rules)

struct TGaugeSettings {
    TColor Level0Color, Level0ColorTo, Level1Color, Level1ColorTo, Level2Color, Level2ColorTo, Level3Color, Level3ColorTo;
    int Level1Perc, Level2Perc;
    TColor BorderColor;
    bool ShowBorder, Stacked, ShowPercentage;
    ClassLib::TFont* Font;
    bool CompletionSmooth, ShowGradient;
    int Steps, Position;
    TColor BackgroundColor;
    TGaugeOrientation Orientation;
    bool IsPercent;
    String Suffix, Prefix, Text;
};

void FillRectColor(ClassLib::TCanvas* canvas, const TRect& rect, TColor color);
void FillGradientSteps(ClassLib::TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect, int steps);
void DrawGradientBox(ClassLib::TCanvas* canvas, const TRect& rect, TColor color, TColor colorTo, TColor colorMirror,
                     TColor colorMirrorTo, TColor borderColor);
// Percent >= 100 gives color1, <= 0 gives color2.
TColor BlendColor(TColor color1, TColor color2, int percent);
unsigned ToOpaqueARGB(TColor color);
bool IsOutlineFont(ClassLib::TCanvas* canvas);
// Alignment: 0 near, 1 far, other centre. EndEllipsis false means path mode.
void DrawStatusText(ClassLib::TCanvas* canvas, int alignment, unsigned flags, TRect& bounds, bool endEllipsis,
                    TAntiAlias antiAlias, bool draw, bool enabled, ClassLib::TFont* font, const String& text, const TRect& rect);
String ShortenPath(const String& fileName, ClassLib::TCanvas* canvas, int maxWidth);
void CutFirstDirectory(String& s);
void DrawProgressGauge(ClassLib::TCanvas* canvas, const TRect& rect, int percent, const TGaugeSettings& settings);

// ---- appearance and stylers

// One panel appearance: normal, hot and down colours, a text style and a separator colour.
class TVistaBackground : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TVistaBackground, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TVistaBackground();
    void Assign(const ClassLib::TPersistent* source) override;

#define ADV_STATUSBAR_COLOUR(Name) \
    TColor Name() const { return F##Name; } \
    void Set##Name(TColor value);
    ADV_STATUSBAR_COLOUR(BorderColor) ADV_STATUSBAR_COLOUR(BorderColorHot) ADV_STATUSBAR_COLOUR(BorderColorDown)
    ADV_STATUSBAR_COLOUR(Color) ADV_STATUSBAR_COLOUR(ColorTo) ADV_STATUSBAR_COLOUR(ColorHot) ADV_STATUSBAR_COLOUR(ColorHotTo)
    ADV_STATUSBAR_COLOUR(ColorDown) ADV_STATUSBAR_COLOUR(ColorDownTo) ADV_STATUSBAR_COLOUR(ColorMirror)
    ADV_STATUSBAR_COLOUR(ColorMirrorTo) ADV_STATUSBAR_COLOUR(ColorMirrorHot) ADV_STATUSBAR_COLOUR(ColorMirrorHotTo)
    ADV_STATUSBAR_COLOUR(ColorMirrorDown) ADV_STATUSBAR_COLOUR(ColorMirrorDownTo) ADV_STATUSBAR_COLOUR(TextColor)
    ADV_STATUSBAR_COLOUR(TextColorHot) ADV_STATUSBAR_COLOUR(TextColorDown) ADV_STATUSBAR_COLOUR(SeperatorColor)
#undef ADV_STATUSBAR_COLOUR
    int Steps() const { return FSteps; }
    void SetSteps(int value);
    ClassLib::TFontStyles TextStyle() const { return FTextStyle; }
    void SetTextStyle(ClassLib::TFontStyles value);
    ClassLib::TNotifyEvent OnChange;

private:
    void Changed();
    int FSteps = 64;
    TColor FColor = ClassLib::clWhite, FColorTo = ClassLib::clWhite;
    TColor FColorMirror = ClassLib::clSilver, FColorMirrorTo = ClassLib::clWhite;
    TColor FBorderColor = ClassLib::clNone;
    TColor FTextColor = ClassLib::clBlack;
    ClassLib::TFontStyles FTextStyle;
    TColor FColorMirrorDownTo = ClassLib::clWhite, FColorHot = ClassLib::clWhite, FColorMirrorDown = ClassLib::clSilver;
    TColor FColorDownTo = ClassLib::clWhite, FTextColorDown = ClassLib::clBlack, FColorDown = ClassLib::clWhite;
    TColor FColorHotTo = ClassLib::clWhite, FBorderColorDown = ClassLib::clGray, FColorMirrorHot = ClassLib::clSilver;
    TColor FBorderColorHot = ClassLib::clGray, FColorMirrorHotTo = ClassLib::clWhite, FTextColorHot = ClassLib::clBlack;
    TColor FSeperatorColor = ClassLib::clWhite;
};

// The bar's list of attached controls; an index past the end raises.
class TDbgList : public ClassLib::TList {
    CLASSLIB_CLASS(TDbgList, ClassLib::TList)
public:
    void* GetItemsEx(int index) const;
    void SetItemsEx(int index, void* value);
};

class TCustomAdvOfficeStatusBarStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TCustomAdvOfficeStatusBarStyler, ClassLib::TComponent)
public:
    explicit TCustomAdvOfficeStatusBarStyler(ClassLib::TComponent* owner);
    ~TCustomAdvOfficeStatusBarStyler() override;
    void Assign(const ClassLib::TPersistent* source) override;

    void AddControl(TAdvOfficeStatusBar* bar);
    void RemoveControl(TAdvOfficeStatusBar* bar);
    void NotifyChange(int code);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    virtual void SetAutoThemeAdapt(bool value);
    virtual void ThemeChanged() {}
    TVistaBackground* PanelAppearanceLight() const { return FPanelAppearanceLight.get(); }
    TVistaBackground* PanelAppearanceDark() const { return FPanelAppearanceDark.get(); }
    void SetPanelAppearanceLight(const TVistaBackground* value) { FPanelAppearanceLight->Assign(value); }
    void SetPanelAppearanceDark(const TVistaBackground* value) { FPanelAppearanceDark->Assign(value); }
    int ControlCount() const { return FControlList->Count(); }

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    std::unique_ptr<TDbgList> FControlList;
    bool FAutoThemeAdapt = false;
    std::unique_ptr<TVistaBackground> FPanelAppearanceLight;
    std::unique_ptr<TVistaBackground> FPanelAppearanceDark;
    TColor FBorderColor = 0x825A3B;
};

// ---- panels

class TProgressStyle : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TProgressStyle, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TProgressStyle(TAdvOfficeStatusPanel* owner = nullptr) : FOwner(owner) {}
    void Assign(const ClassLib::TPersistent* source) override;

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
#define ADV_PROGRESS_VALUE(Type, Name) \
    Type Name() const { return F##Name; } \
    void Set##Name(Type value) { F##Name = value; Changed(); }
    ADV_PROGRESS_VALUE(TProgressIndication, Indication) ADV_PROGRESS_VALUE(TColor, BackGround)
    ADV_PROGRESS_VALUE(TColor, Level0Color) ADV_PROGRESS_VALUE(TColor, Level0ColorTo) ADV_PROGRESS_VALUE(TColor, Level1Color)
    ADV_PROGRESS_VALUE(TColor, Level1ColorTo) ADV_PROGRESS_VALUE(TColor, Level2Color) ADV_PROGRESS_VALUE(TColor, Level2ColorTo)
    ADV_PROGRESS_VALUE(TColor, Level3Color) ADV_PROGRESS_VALUE(TColor, Level3ColorTo) ADV_PROGRESS_VALUE(int, Level1Perc)
    ADV_PROGRESS_VALUE(int, Level2Perc) ADV_PROGRESS_VALUE(TColor, BorderColor) ADV_PROGRESS_VALUE(bool, ShowBorder)
    ADV_PROGRESS_VALUE(bool, Stacked) ADV_PROGRESS_VALUE(bool, ShowPercentage) ADV_PROGRESS_VALUE(bool, CompletionSmooth)
    ADV_PROGRESS_VALUE(bool, ShowGradient) ADV_PROGRESS_VALUE(String, Suffix) ADV_PROGRESS_VALUE(String, Prefix)
#undef ADV_PROGRESS_VALUE
    // The rounded percentage of Position between Min and Max (either order), 0..100.
    int Percentage() const;

private:
    void Changed();
    void PositionChanged();
    int FMin = 0, FPosition = 0, FMax = 100, FOldPerc = 0;
    TProgressIndication FIndication = piPercentage;
    TColor FBackGround = ClassLib::clNone;
    TAdvOfficeStatusPanel* FOwner;
    TColor FLevel0Color = ClassLib::clLime, FLevel0ColorTo = 0xE1FFE1, FLevel1Color = ClassLib::clYellow,
           FLevel1ColorTo = 0xCAFFFF, FLevel2Color = 0x53A9FF, FLevel2ColorTo = 0xA8D3FF, FLevel3Color = ClassLib::clRed,
           FLevel3ColorTo = 0xCACAFF;
    int FLevel1Perc = 70, FLevel2Perc = 90;
    TColor FBorderColor = ClassLib::clBlack;
    bool FShowBorder = false, FStacked = false, FShowPercentage = true, FCompletionSmooth = false, FShowGradient = true;
    String FSuffix, FPrefix;
};

class TAdvOfficeStatusPanel : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TAdvOfficeStatusPanel, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvOfficeStatusPanel(ClassLib::TCollection* collection);
    ~TAdvOfficeStatusPanel() override;
    void Assign(const ClassLib::TPersistent* source) override;
    std::wstring GetDisplayName() const override;

    TAdvOfficeStatusBar* StatusBar() const;
    TRect Rect() const;
    void StepIt();
    int ImageIndexes(int index) const;
    void SetImageIndexes(int index, int value);
    int ImageCount() const;
    void ClearImageIndexes();
    bool UseRightToLeftReading() const;
    bool UseRightToLeftAlignment() const;
    void ParentBiDiModeChanged();

    const String& Text() const { return FText; }
    void SetText(const String& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    ClassLib::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(ClassLib::TAlignment value);
    AdvHTML::TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(AdvHTML::TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    TAdvOfficeStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TAdvOfficeStatusPanelStyle value);
    const String& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& value);
    const String& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const String& value);
    TProgressStyle* Progress() const { return FProgressStyle.get(); }
    void SetProgress(const TProgressStyle* value);
    int HTMLOffsetX() const { return FHTMLOffsetX; }
    void SetHTMLOffsetX(int value);
    int HTMLOffsetY() const { return FHTMLOffsetY; }
    void SetHTMLOffsetY(int value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    ClassLib::TCustomImageList* AnimationImages() const { return FAnimationImages; }
    void SetAnimationImages(ClassLib::TCustomImageList* value);
    int AnimationDelay() const { return FAnimationDelay; }
    void SetAnimationDelay(int value) { if (value >= 0) FAnimationDelay = value; }
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TPanelAppearanceStyle AppearanceStyle() const { return FAppearanceStyle; }
    void SetAppearanceStyle(TPanelAppearanceStyle value);
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value);
    bool Button() const { return FButton; }
    void SetButton(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value) { FMinWidth = value; }
    TVerticalPanelAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVerticalPanelAlignment value);
    intptr_t PanelTag() const { return FTag; }
    void SetPanelTag(intptr_t value) { FTag = value; }
    int AnimIndex() const { return FAnimIndex; }
    void SetAnimIndex(int value) { FAnimIndex = value; }
    bool IsTextStored() const;
    bool IsBiDiModeStored() const { return !FParentBiDiMode; }

private:
    friend class TProgressStyle;
    void CollectionChange();
    String FText;
    int FWidth = 50;
    ClassLib::TAlignment FAlignment = ClassLib::taLeftJustify;
    AdvHTML::TBiDiMode FBiDiMode = AdvHTML::bdLeftToRight;
    bool FParentBiDiMode = true;
    TAdvOfficeStatusPanelStyle FStyle = psHTML;
    String FTimeFormat, FDateFormat;
    int FAnimIndex = 0;
    std::unique_ptr<TProgressStyle> FProgressStyle;
    int FHTMLOffsetY = 1, FHTMLOffsetX = 1, FImageIndex = -1;
    std::unique_ptr<ClassLib::TStringList> FImageIndexes;
    ClassLib::TCustomImageList* FAnimationImages = nullptr;
    int FAnimationDelay = 0;
    bool FAnimated = false, FEnabled = true;
    TPanelAppearanceStyle FAppearanceStyle = psLight;
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
    bool FButton = false, FAutoSize = false;
    int FMinWidth = 20;
    TVerticalPanelAlignment FVAlignment = vpaCenter;
    intptr_t FTag = 0;
};

class TAdvOfficeStatusPanels : public ClassLib::TCollection {
    CLASSLIB_CLASS(TAdvOfficeStatusPanels, ClassLib::TCollection)
public:
    explicit TAdvOfficeStatusPanels(TAdvOfficeStatusBar* statusBar);
    TAdvOfficeStatusPanel* Add() { return static_cast<TAdvOfficeStatusPanel*>(TCollection::Add()); }
    TAdvOfficeStatusPanel* Items(int index) const { return static_cast<TAdvOfficeStatusPanel*>(TCollection::Items(index)); }
    TAdvOfficeStatusPanel* GetItem(int index) const { return Items(index); }
    void SetItem(int index, const TAdvOfficeStatusPanel* value) { SetItems(index, value); }
    TAdvOfficeStatusBar* StatusBar() const { return FStatusBar; }
    ClassLib::TNotifyEvent OnChange;
    void FireChange() { if (OnChange) OnChange(this); }

protected:
    ClassLib::TPersistent* GetOwner() const override;
    void Update(ClassLib::TCollectionItem* item) override;

private:
    TAdvOfficeStatusBar* FStatusBar;
};

// The invisible control that carries the office hint of the panel under the mouse.
class TDummyHintControl : public ClassLib::TControl {
    CLASSLIB_CLASS(TDummyHintControl, ClassLib::TControl)
public:
    explicit TDummyHintControl(ClassLib::TComponent* owner);
    ~TDummyHintControl() override;
    AdvHintInfo::TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value);
private:
    std::unique_ptr<AdvHintInfo::TAdvHintInfo> FOfficeHint;
};

// ---- the bar

class TAdvOfficeStatusBar : public ClassLib::TCustomControl, public AdvStyleIF::IOVTStyleEx, public AdvStyleIF::IOVTTones {
    CLASSLIB_CLASS(TAdvOfficeStatusBar, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvOfficeStatusBar(ClassLib::TComponent* owner);
    ~TAdvOfficeStatusBar() override;
    void Loaded() override;

    TAdvOfficeStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(const TAdvOfficeStatusPanels* value) { FPanels->Assign(value); }
    TCustomAdvOfficeStatusBarStyler* Styler() const { return FOfficeStatusBarStyler; }
    void SetStyler(TCustomAdvOfficeStatusBarStyler* value);
    TCustomAdvOfficeStatusBarStyler* CurrentStyler() const { return FCurrentOfficeStatusBarStyler; }
    void RemoveStyler();
    void StylerChanged(int code) { (void)code; Invalidate(); }

    int GetPanel(int x) const;
    TRect GetPanelRect(int index) const;
    int GetFixedPanelsWidth() const;
    int GetPanelEdgeAt(int x) const;
    void InvalidatePanel(int index);
    void AutoSizePanels();
    virtual void UpdateStatus();
    virtual bool DoHint();
    virtual bool SizeGripAllowed() const;
    bool GripVisible() const;
    bool GetAnchorAt(int x, int y, String& anchor, String& title);
    void FlipChildren(bool allLevels);
    // A hint action (AutoHint): its text goes to the simple panel or panel 0.
    bool ExecuteAction(ClassLib::TComponent* action);

    void SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) override;
    void SetComponentStyleAndAppColor(AdvStyleIF::TOVTStyle AStyle, TColor AppColor) override;
    void SetColorTones(AdvStyleIF::TColorTones ATones) override;
    bool UsesCustomStyle() const;

    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool value) { FAnchorHint = value; }
    TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias value) { FAntiAlias = value; Invalidate(); }
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool value) { FAutoHint = value; }
    ClassLib::TCustomImageList* Images() const { return FImages; }
    void SetImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(ClassLib::TCustomImageList* value);
    PictureContainer::TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(PictureContainer::TPictureContainer* value) { FContainer = value; }
    bool ShowSplitter() const { return FShowSplitter; }
    void SetShowSplitter(bool value);
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const String& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value) { FURLColor = value; Invalidate(); }
    TURLStyle URLStyle() const { return FURLStyle; }
    void SetURLStyle(TURLStyle value) { FURLStyle = value; Invalidate(); }
    int StretchPanel() const { return FStretchPanel; }
    void SetStretchPanel(int value);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool value);
    AdvStyleIF::TOVTStyle UIStyle() const { return FOVTStyle; }
    void SetUIStyle(AdvStyleIF::TOVTStyle value);
    String Version() const { return L"1.7.3.4"; }
    void SetVersion(const String&) {}
    AdvHTML::TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(AdvHTML::TBiDiMode value);
    bool Metro() const { return FMetro; }
    int TimerCount() const { return FTimerCount; }
    int HotPanelIndex() const { return FHotPanelIndex; }
    int DownPanelIndex() const { return FDownPanelIndex; }
    TDummyHintControl* HintCarrier() const { return FDummyHintControl; }

    TPanelClick OnPanelClick, OnPanelDblClick, OnPanelRightClick;
    TAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TDrawPanelEvent OnDrawPanel;
    ClassLib::TNotifyEvent OnHint;

    static constexpr UINT_PTR TimerID = 111;

protected:
    void Paint() override;
    void CreateWnd() override;
    void Dispatch(ClassLib::TMessage& message) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    virtual void DrawPanel(TAdvOfficeStatusPanel* panel, const TRect& rect);
    void DrawPanels();
    void DrawSimplePanel();
    void DrawPanelBackground(TAdvOfficeStatusPanel* panel, const TRect& rect);
    void DrawSizeGrip(const TRect& rect);

private:
    friend class TAdvOfficeStatusPanels;
    AdvHTML::THTMLParams HTMLParams(const String& text, const TRect& r) const;
    void PanelsChanged();
    void SyncToSystemFont();
    void HintShow(ClassLib::THintInfo& info);
    void NCHitTest(ClassLib::TMessage& message);

    TCustomAdvOfficeStatusBarStyler* FInternalOfficeStatusBarStyler = nullptr;   // owned as a component
    TCustomAdvOfficeStatusBarStyler* FOfficeStatusBarStyler = nullptr;
    TCustomAdvOfficeStatusBarStyler* FCurrentOfficeStatusBarStyler = nullptr;
    std::unique_ptr<TAdvOfficeStatusPanels> FPanels;
    String FSimpleText;
    ClassLib::TCursor FOldCursor = ClassLib::crDefault;
    bool FSimplePanel = false, FSizeGrip = true, FUseSystemFont = false, FAutoHint = false;
    TColor FURLColor = ClassLib::clBlue;
    TURLStyle FURLStyle = usUnderline;
    int FTimerCount = 0;   // invariant: 0 <= FTimerCount <= 10
    ClassLib::TCustomImageList* FImages = nullptr;
    int FMousePanel = -1;
    String FAnchor;
    bool FAnchorHint = false;
    PictureContainer::TPictureContainer* FContainer = nullptr;
    int FHotPanelIndex = -1, FDownPanelIndex = -1;
    TDummyHintControl* FDummyHintControl = nullptr;   // owned as a component
    ClassLib::TCustomImageList* FDisabledImages = nullptr;
    TAntiAlias FAntiAlias = aaClearType;
    int FStretchPanel = -1;
    int FSizePanel = -1;
    bool FShowSplitter = true;
    bool FMetro = false;
    bool FFormScaled = true;
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsCustom;
    AdvHTML::TBiDiMode FBiDiMode = AdvHTML::bdLeftToRight;
};

}  // namespace AdvOfficeStatusBar

namespace ClassLib {
template <> struct TEnumNames<AdvOfficeStatusBar::TAdvOfficeStatusPanelStyle> {
    static constexpr const wchar_t* TypeName = L"TAdvOfficeStatusPanelStyle";
    static constexpr const wchar_t* Names[] = {L"psHTML", L"psText", L"psOwnerDraw", L"psTime", L"psDate", L"psNumLock",
        L"psCapsLock", L"psScrollLock", L"psProgress", L"psImage", L"psImageList", L"psAnimation", L"psEllipsText",
        L"psFileEllipsText"};
};
template <> struct TEnumNames<AdvOfficeStatusBar::TPanelAppearanceStyle> {
    static constexpr const wchar_t* TypeName = L"TPanelAppearanceStyle";
    static constexpr const wchar_t* Names[] = {L"psLight", L"psDark"};
};
template <> struct TEnumNames<AdvOfficeStatusBar::TVerticalPanelAlignment> {
    static constexpr const wchar_t* TypeName = L"TVerticalPanelAlignment";
    static constexpr const wchar_t* Names[] = {L"vpaTop", L"vpaCenter", L"vpaBottom"};
};
template <> struct TEnumNames<AdvOfficeStatusBar::TProgressIndication> {
    static constexpr const wchar_t* TypeName = L"TProgressIndication";
    static constexpr const wchar_t* Names[] = {L"piPercentage", L"piAbsolute", L"piNone"};
};
template <> struct TEnumNames<AdvOfficeStatusBar::TURLStyle> {
    static constexpr const wchar_t* TypeName = L"TURLStyle";
    static constexpr const wchar_t* Names[] = {L"usUnderline", L"usNone"};
};
template <> struct TEnumNames<AdvHTML::TBiDiMode> {
    static constexpr const wchar_t* TypeName = L"TBiDiMode";
    static constexpr const wchar_t* Names[] = {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign",
                                               L"bdRightToLeftReadingOnly"};
};
}  // namespace ClassLib
