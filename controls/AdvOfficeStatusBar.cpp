#include "controls/AdvOfficeStatusBar.h"

#include <algorithm>
#include <cmath>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/DateTime.h"
#include "classlib/Form.h"
#include "classlib/HintAction.h"
#include "classlib/ImageList.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/ShellUrls.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "graphics/AdvHintInfo.h"

namespace AdvOfficeStatusBar {

using namespace ClassLib;
using AdvHintInfo::TAdvHintInfo;

CLASSLIB_IMPLEMENT(TVistaBackground, TPersistent)
CLASSLIB_IMPLEMENT(TDbgList, TList)
CLASSLIB_IMPLEMENT(TCustomAdvOfficeStatusBarStyler, TComponent)
CLASSLIB_IMPLEMENT(TProgressStyle, TPersistent)
CLASSLIB_IMPLEMENT(TAdvOfficeStatusPanel, TCollectionItem)
CLASSLIB_IMPLEMENT(TAdvOfficeStatusPanels, TCollection)
CLASSLIB_IMPLEMENT(TDummyHintControl, TControl)
CLASSLIB_IMPLEMENT(TAdvOfficeStatusBar, TCustomControl)

#define WIDE2(x) L##x
#define WIDE(x) WIDE2(x)


// ---- TVistaBackground

const TPropertyList& TVistaBackground::Published() {
#define C(Name, Default) .Colour(WIDE(#Name), &TVistaBackground::Name, &TVistaBackground::Set##Name, Default)
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        C(BorderColor, clNone) C(BorderColorHot, clGray) C(BorderColorDown, clGray) C(Color, clWhite) C(ColorTo, clWhite)
        C(ColorHot, clWhite) C(ColorHotTo, clWhite) C(ColorDown, clWhite) C(ColorDownTo, clWhite) C(ColorMirror, clSilver)
        C(ColorMirrorTo, clWhite) C(ColorMirrorHot, clSilver) C(ColorMirrorHotTo, clWhite) C(ColorMirrorDown, clSilver)
        C(ColorMirrorDownTo, clWhite) C(SeperatorColor, clWhite) C(TextColor, clBlack) C(TextColorHot, clBlack)
        C(TextColorDown, clBlack)
        .Add(L"Steps", &TVistaBackground::Steps, &TVistaBackground::SetSteps, 64)
        .SetOf(L"TextStyle", &TVistaBackground::TextStyle, &TVistaBackground::SetTextStyle, TFontStyles());
#undef C
    return list;
}

TVistaBackground::TVistaBackground() = default;

void TVistaBackground::Changed() {
    if (OnChange) OnChange(this);
}

// The hot colours repaint nothing: a bar shows them only once the mouse moves.
#define NOTIFYING(Name) \
    void TVistaBackground::Set##Name(TColor value) { if (F##Name != value) { F##Name = value; Changed(); } }
#define SILENT(Name) \
    void TVistaBackground::Set##Name(TColor value) { F##Name = value; }
NOTIFYING(BorderColor) NOTIFYING(BorderColorDown) NOTIFYING(Color) NOTIFYING(ColorTo) NOTIFYING(ColorDown)
NOTIFYING(ColorDownTo) NOTIFYING(ColorMirror) NOTIFYING(ColorMirrorTo) NOTIFYING(ColorMirrorDown)
NOTIFYING(ColorMirrorDownTo) NOTIFYING(SeperatorColor) NOTIFYING(TextColor) NOTIFYING(TextColorDown)
SILENT(ColorHot) SILENT(ColorHotTo) SILENT(ColorMirrorHot) SILENT(ColorMirrorHotTo) SILENT(TextColorHot) SILENT(BorderColorHot)
#undef NOTIFYING
#undef SILENT

void TVistaBackground::SetSteps(int value) {
    if (FSteps == value) return;
    FSteps = value;
    Changed();
}

void TVistaBackground::SetTextStyle(TFontStyles value) {
    FTextStyle = value;
    Changed();
}

void TVistaBackground::Assign(const TPersistent* source) {
    const auto* o = dynamic_cast<const TVistaBackground*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    FSteps = o->FSteps;
    FColor = o->FColor, FColorTo = o->FColorTo, FColorMirror = o->FColorMirror, FColorMirrorTo = o->FColorMirrorTo;
    FBorderColor = o->FBorderColor, FTextColor = o->FTextColor, FColorMirrorDownTo = o->FColorMirrorDownTo;
    FColorHot = o->FColorHot, FColorMirrorDown = o->FColorMirrorDown, FColorDownTo = o->FColorDownTo;
    FTextColorDown = o->FTextColorDown, FColorDown = o->FColorDown, FColorHotTo = o->FColorHotTo;
    FBorderColorDown = o->FBorderColorDown, FColorMirrorHot = o->FColorMirrorHot, FBorderColorHot = o->FBorderColorHot;
    FColorMirrorHotTo = o->FColorMirrorHotTo, FTextColorHot = o->FTextColorHot;
    SetTextStyle(o->FTextStyle);
    FSeperatorColor = o->FSeperatorColor;
}

// ---- TDbgList

void* TDbgList::GetItemsEx(int index) const {
    if (index >= Count()) throw Exception(L"Index out of bounds in list read access");
    return Items(index);
}

void TDbgList::SetItemsEx(int index, void* value) {
    if (index >= Count()) throw Exception(L"Index out of bounds in list write access");
    SetItems(index, value);
}

// ---- TCustomAdvOfficeStatusBarStyler

TCustomAdvOfficeStatusBarStyler::TCustomAdvOfficeStatusBarStyler(TComponent* owner)
    : TComponent(owner), FControlList(std::make_unique<TDbgList>()),
      FPanelAppearanceLight(std::make_unique<TVistaBackground>()), FPanelAppearanceDark(std::make_unique<TVistaBackground>()) {
    FPanelAppearanceLight->OnChange = [this](TObject*) { NotifyChange(1); };
    FPanelAppearanceDark->OnChange = [this](TObject*) { NotifyChange(1); };
}

TCustomAdvOfficeStatusBarStyler::~TCustomAdvOfficeStatusBarStyler() {
    // Bars that still use this styler fall back to their own.
    while (FControlList->Count() > 0) {
        auto* bar = static_cast<TAdvOfficeStatusBar*>(FControlList->Items(FControlList->Count() - 1));
        FControlList->Delete(FControlList->Count() - 1);
        if (bar->Styler() == this) bar->SetStyler(nullptr);
    }
}

void TCustomAdvOfficeStatusBarStyler::Assign(const TPersistent* source) {
    const auto* o = dynamic_cast<const TCustomAdvOfficeStatusBarStyler*>(source);
    if (!o) {
        TComponent::Assign(source);
        return;
    }
    SetAutoThemeAdapt(o->AutoThemeAdapt());
    FPanelAppearanceLight->Assign(o->PanelAppearanceLight());
    FPanelAppearanceDark->Assign(o->PanelAppearanceDark());
    SetBorderColor(o->BorderColor());
}

void TCustomAdvOfficeStatusBarStyler::AddControl(TAdvOfficeStatusBar* bar) {
    if (FControlList->IndexOf(bar) < 0) FControlList->Add(bar);
}

void TCustomAdvOfficeStatusBarStyler::RemoveControl(TAdvOfficeStatusBar* bar) { FControlList->Remove(bar); }

void TCustomAdvOfficeStatusBarStyler::NotifyChange(int code) {
    for (int i = 0; i < FControlList->Count(); ++i)
        static_cast<TAdvOfficeStatusBar*>(FControlList->Items(i))->StylerChanged(code);
}

void TCustomAdvOfficeStatusBarStyler::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    NotifyChange(1);
}

void TCustomAdvOfficeStatusBarStyler::SetAutoThemeAdapt(bool value) {
    if (FAutoThemeAdapt == value) return;
    FAutoThemeAdapt = value;
    ThemeChanged();
}

void TCustomAdvOfficeStatusBarStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && !HasState(csDestroying)) FControlList->Remove(component);
}

// ---- TProgressStyle

const TPropertyList& TProgressStyle::Published() {
#define C(Name, Default) .Colour(WIDE(#Name), &TProgressStyle::Name, &TProgressStyle::Set##Name, Default)
#define V(Name, Default) .Add(WIDE(#Name), &TProgressStyle::Name, &TProgressStyle::Set##Name, Default)
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        C(BackGround, clNone)
        .Enum(L"Indication", &TProgressStyle::Indication, &TProgressStyle::SetIndication, piPercentage)
        V(Min, 0) V(Max, 100) V(Position, 0)
        C(Level0Color, clLime) C(Level0ColorTo, 0xE1FFE1) C(Level1Color, clYellow) C(Level1ColorTo, 0xCAFFFF)
        C(Level2Color, 0x53A9FF) C(Level2ColorTo, 0xA8D3FF) C(Level3Color, clRed) C(Level3ColorTo, 0xCACAFF)
        V(Level1Perc, 70) V(Level2Perc, 90) C(BorderColor, clBlack) V(ShowBorder, false) V(Stacked, false)
        V(ShowPercentage, true) V(CompletionSmooth, false) V(ShowGradient, true) V(Prefix, String()) V(Suffix, String());
#undef C
#undef V
    return list;
}

void TProgressStyle::Assign(const TPersistent* source) {
    const auto* o = dynamic_cast<const TProgressStyle*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    FMin = o->FMin, FMax = o->FMax, FPosition = o->FPosition, FIndication = o->FIndication, FBackGround = o->FBackGround;
    FLevel0Color = o->FLevel0Color, FLevel0ColorTo = o->FLevel0ColorTo, FLevel1Color = o->FLevel1Color;
    FLevel1ColorTo = o->FLevel1ColorTo, FLevel2Color = o->FLevel2Color, FLevel2ColorTo = o->FLevel2ColorTo;
    FLevel3Color = o->FLevel3Color, FLevel3ColorTo = o->FLevel3ColorTo, FLevel1Perc = o->FLevel1Perc;
    FLevel2Perc = o->FLevel2Perc, FBorderColor = o->FBorderColor, FShowBorder = o->FShowBorder, FStacked = o->FStacked;
    FShowPercentage = o->FShowPercentage, FCompletionSmooth = o->FCompletionSmooth, FShowGradient = o->FShowGradient;
    FSuffix = o->FSuffix, FPrefix = o->FPrefix;
    Changed();
}

void TProgressStyle::SetMin(int value) {
    if (FMin == value) return;
    FMin = value;
    PositionChanged();
}

void TProgressStyle::SetMax(int value) {
    if (FMax == value) return;
    FMax = value;
    PositionChanged();
}

void TProgressStyle::SetPosition(int value) {
    if (FPosition == value) return;
    FPosition = value;
    PositionChanged();
}

int TProgressStyle::Percentage() const {
    if (FMax == FMin) return 0;
    // q = (Position - Min) / (Max - Min) in both orders; the gauge shows 0..100 only.
    const double q = (double(FPosition) - FMin) / (double(FMax) - FMin);
    return std::clamp(AdvHTML::RoundHalfEven(std::clamp(q, -1.0, 2.0) * 100), 0, 100);
}

void TProgressStyle::Changed() {
    if (!FOwner) return;
    if (TAdvOfficeStatusBar* bar = FOwner->StatusBar(); bar && bar->HandleAllocated()) {
        const RECT r = ToRECT(FOwner->Rect());
        ::InvalidateRect(bar->Handle(), &r, FALSE);
    }
}

void TProgressStyle::PositionChanged() {
    if (FMax - FMin <= 0) return;
    const int percentage = Percentage();
    if (percentage != FOldPerc) Changed();
    FOldPerc = percentage;
}

// ---- TAdvOfficeStatusPanel

const TPropertyList& TAdvOfficeStatusPanel::Published() {
    using P = TAdvOfficeStatusPanel;
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Enum(L"Alignment", &P::Alignment, &P::SetAlignment, taLeftJustify)
        .Add(L"Animated", &P::Animated, &P::SetAnimated, false)
        .Reference(L"AnimationImages", &P::AnimationImages, &P::SetAnimationImages)
        .Add(L"AnimationDelay", &P::AnimationDelay, &P::SetAnimationDelay, 0)
        .Enum(L"AppearanceStyle", &P::AppearanceStyle, &P::SetAppearanceStyle, psLight)
        .Add(L"AutoSize", &P::AutoSize, &P::SetAutoSize, false)
        .Enum(L"BiDiMode", &P::BiDiMode, &P::SetBiDiMode, AdvHTML::bdLeftToRight)
        .Stored(L"BiDiMode", &P::IsBiDiModeStored)
        .Add(L"ParentBiDiMode", &P::ParentBiDiMode, &P::SetParentBiDiMode, true)
        .Add(L"Button", &P::Button, &P::SetButton, false)
        .Add(L"DateFormat", &P::DateFormat, &P::SetDateFormat)
        .Add(L"Enabled", &P::Enabled, &P::SetEnabled, true)
        .Add(L"HTMLOffsetX", &P::HTMLOffsetX, &P::SetHTMLOffsetX, 1)
        .Add(L"HTMLOffsetY", &P::HTMLOffsetY, &P::SetHTMLOffsetY, 1)
        .Add(L"ImageIndex", &P::ImageIndex, &P::SetImageIndex, -1)
        .Add(L"MinWidth", &P::MinWidth, &P::SetMinWidth, 20)
        .SubObject(L"OfficeHint", &P::OfficeHint)
        .SubObject(L"Progress", &P::Progress)
        .Enum(L"Style", &P::Style, &P::SetStyle, psHTML)
        .Add(L"Tag", &P::PanelTag, &P::SetPanelTag, intptr_t(0))
        .Add(L"Text", &P::Text, &P::SetText, String())
        .Stored(L"Text", &P::IsTextStored)
        .Add(L"TimeFormat", &P::TimeFormat, &P::SetTimeFormat)
        .Enum(L"VAlignment", &P::VAlignment, &P::SetVAlignment, vpaCenter)
        .Add(L"Width", &P::Width, &P::SetWidth, 50);
    return list;
}

TAdvOfficeStatusPanel::TAdvOfficeStatusPanel(TCollection* collection)
    : TCollectionItem(collection), FTimeFormat(FormatSettings().LongTimeFormat), FDateFormat(FormatSettings().ShortDateFormat),
      FProgressStyle(std::make_unique<TProgressStyle>(this)), FImageIndexes(std::make_unique<TStringList>()),
      FOfficeHint(std::make_unique<TAdvHintInfo>()) {
    ParentBiDiModeChanged();
}

TAdvOfficeStatusPanel::~TAdvOfficeStatusPanel() {
    if (Collection()) Changed(true);   // the bar repaints without this panel
}

TAdvOfficeStatusBar* TAdvOfficeStatusPanel::StatusBar() const {
    auto* panels = dynamic_cast<TAdvOfficeStatusPanels*>(Collection());
    return panels ? panels->StatusBar() : nullptr;
}

void TAdvOfficeStatusPanel::CollectionChange() {
    if (auto* panels = dynamic_cast<TAdvOfficeStatusPanels*>(Collection())) panels->FireChange();
}

void TAdvOfficeStatusPanel::Assign(const TPersistent* source) {
    const auto* o = dynamic_cast<const TAdvOfficeStatusPanel*>(source);
    if (!o) {
        TCollectionItem::Assign(source);
        return;
    }
    SetText(o->FText);
    SetWidth(o->FWidth);
    SetAlignment(o->FAlignment);
    SetStyle(o->FStyle);
    SetDateFormat(o->FDateFormat);
    SetTimeFormat(o->FTimeFormat);
    FProgressStyle->Assign(o->FProgressStyle.get());
    FOfficeHint->Assign(o->FOfficeHint.get());
    SetAppearanceStyle(o->FAppearanceStyle);
    SetAutoSize(o->FAutoSize);
    SetMinWidth(o->FMinWidth);
    SetVAlignment(o->FVAlignment);
    FTag = o->FTag;
}

std::wstring TAdvOfficeStatusPanel::GetDisplayName() const {
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

TRect TAdvOfficeStatusPanel::Rect() const {
    TAdvOfficeStatusBar* bar = StatusBar();
    return bar ? bar->GetPanelRect(Index()) : TRect(-1, -1, -1, -1);
}

void TAdvOfficeStatusPanel::StepIt() {
    if (FProgressStyle->Position() < FProgressStyle->Max()) FProgressStyle->SetPosition(FProgressStyle->Position() + 1);
}

int TAdvOfficeStatusPanel::ImageIndexes(int index) const {
    // -1 for an index past the list, a negative index or an entry that is no number.
    if (index < 0 || index >= FImageIndexes->Count()) return -1;
    const String entry = FImageIndexes->Strings(index);
    if (entry.empty()) return -1;
    std::size_t i = entry[0] == L'-' || entry[0] == L'+' ? 1 : 0;
    if (i >= entry.size()) return -1;
    long long value = 0;
    for (; i < entry.size(); ++i) {
        if (entry[i] < L'0' || entry[i] > L'9') return -1;
        value = std::min<long long>(value * 10 + (entry[i] - L'0'), 0x7FFFFFFF);
    }
    return entry[0] == L'-' ? -int(value) : int(value);
}

void TAdvOfficeStatusPanel::SetImageIndexes(int index, int value) {
    if (index < 0) return;
    while (FImageIndexes->Count() <= index) FImageIndexes->Add(L"-1");
    FImageIndexes->SetStrings(index, std::to_wstring(value));
}

int TAdvOfficeStatusPanel::ImageCount() const { return FImageIndexes->Count(); }
void TAdvOfficeStatusPanel::ClearImageIndexes() { FImageIndexes->Clear(); }

bool TAdvOfficeStatusPanel::UseRightToLeftReading() const {
    return ::GetSystemMetrics(SM_MIDEASTENABLED) && FBiDiMode != AdvHTML::bdLeftToRight;
}

bool TAdvOfficeStatusPanel::UseRightToLeftAlignment() const {
    return ::GetSystemMetrics(SM_MIDEASTENABLED) && FBiDiMode == AdvHTML::bdRightToLeft;
}

void TAdvOfficeStatusPanel::ParentBiDiModeChanged() {
    if (!FParentBiDiMode) return;
    if (TAdvOfficeStatusBar* bar = StatusBar()) {
        SetBiDiMode(bar->BiDiMode());
        FParentBiDiMode = true;
    }
}

bool TAdvOfficeStatusPanel::IsTextStored() const {
    return !(FStyle == psTime || FStyle == psDate || FStyle == psNumLock || FStyle == psCapsLock || FStyle == psScrollLock);
}

void TAdvOfficeStatusPanel::SetText(const String& value) {
    if (FText == value) return;
    FText = value;
    if (TAdvOfficeStatusBar* bar = StatusBar()) {
        bar->Invalidate();
        if (FAutoSize) bar->AutoSizePanels();
    }
}

void TAdvOfficeStatusPanel::SetWidth(int value) {
    if (FWidth == value) return;
    FWidth = value;
    Changed(true);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Changed(false);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetBiDiMode(AdvHTML::TBiDiMode value) {
    if (FBiDiMode == value) return;
    FBiDiMode = value;
    FParentBiDiMode = false;
    Changed(false);
}

void TAdvOfficeStatusPanel::SetParentBiDiMode(bool value) {
    if (FParentBiDiMode == value) return;
    FParentBiDiMode = value;
    if (value) ParentBiDiModeChanged();
}

void TAdvOfficeStatusPanel::SetStyle(TAdvOfficeStatusPanelStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed(false);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetTimeFormat(const String& value) {
    FTimeFormat = value;
    Changed(true);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetDateFormat(const String& value) {
    FDateFormat = value;
    Changed(true);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetProgress(const TProgressStyle* value) {
    FProgressStyle->Assign(value);
    Changed(true);
}

#define PANEL_UPDATE_CHANGE(Type, Name) \
    void TAdvOfficeStatusPanel::Set##Name(Type value) { F##Name = value; Changed(true); CollectionChange(); }
PANEL_UPDATE_CHANGE(int, HTMLOffsetX)
PANEL_UPDATE_CHANGE(int, HTMLOffsetY)
PANEL_UPDATE_CHANGE(int, ImageIndex)
#undef PANEL_UPDATE_CHANGE

void TAdvOfficeStatusPanel::SetAnimationImages(TCustomImageList* value) {
    FAnimationImages = value;
    Changed(true);
}

void TAdvOfficeStatusPanel::SetAnimated(bool value) {
    FAnimated = value;
    Changed(true);
}

void TAdvOfficeStatusPanel::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Changed(false);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetAppearanceStyle(TPanelAppearanceStyle value) {
    if (FAppearanceStyle == value) return;
    FAppearanceStyle = value;
    Changed(true);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetOfficeHint(const TAdvHintInfo* value) { FOfficeHint->Assign(value); }

void TAdvOfficeStatusPanel::SetButton(bool value) {
    if (FButton == value) return;
    FButton = value;
    Changed(true);
    CollectionChange();
}

void TAdvOfficeStatusPanel::SetAutoSize(bool value) {
    FAutoSize = value;
    if (value)
        if (TAdvOfficeStatusBar* bar = StatusBar()) bar->AutoSizePanels();
}

void TAdvOfficeStatusPanel::SetVAlignment(TVerticalPanelAlignment value) {
    if (FVAlignment == value) return;
    FVAlignment = value;
    Changed(true);
}

// ---- TAdvOfficeStatusPanels

TAdvOfficeStatusPanels::TAdvOfficeStatusPanels(TAdvOfficeStatusBar* statusBar)
    : TCollection(&CreateCollectionItem<TAdvOfficeStatusPanel>), FStatusBar(statusBar) {}

TPersistent* TAdvOfficeStatusPanels::GetOwner() const { return FStatusBar; }

void TAdvOfficeStatusPanels::Update(TCollectionItem* item) {
    if (!FStatusBar) return;
    // Invalidated only: one paint, when the next message is handled, shows every change
    // made before it. Painting here made adding n panels one at a time cost n paints of
    // a bar that grew each time.
    if (item) {
        if (FStatusBar->SimplePanel()) FStatusBar->Invalidate();
        else FStatusBar->InvalidatePanel(item->Index());
    }
    FireChange();
}

// ---- TDummyHintControl

TDummyHintControl::TDummyHintControl(TComponent* owner) : TControl(owner), FOfficeHint(std::make_unique<TAdvHintInfo>()) {}
TDummyHintControl::~TDummyHintControl() = default;
void TDummyHintControl::SetOfficeHint(const TAdvHintInfo* value) { FOfficeHint->Assign(value); }

}  // namespace AdvOfficeStatusBar
