#include "controls/AdvGlowButton.h"

#include <algorithm>
#include <cmath>

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Properties.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"
#include "graphics/GDIPicture.h"

namespace AdvGlowButton {

using namespace ClassLib;

int GlowSpeed = 20;

CLASSLIB_IMPLEMENT(TShortCutHintWindow, ClassLib::THintWindow)
CLASSLIB_IMPLEMENT(TAdvCustomGlowButton, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvGlowButton, TAdvCustomGlowButton)

namespace {

constexpr int VersionNumber = 0x02070304;

bool ShiftKeyDown() {
    return (KeyboardShiftState() & (ssShift | ssAlt | ssCtrl)) != 0;
}

}  // namespace

// ---- key tips ----

TPoint ShortCutHintPlace(TShortCutHintPos position, TPoint p, int W, int H, int w, int h) {
    switch (position) {
        case shpLeft: return {p.X + 6, p.Y + (H - h) / 2};
        case shpRight: return {p.X + W - w / 2, p.Y + (H - h) / 2};
        case shpBottom: return {p.X + (W - w) / 2, p.Y + H - h / 2};
        case shpCenter: return {p.X + (W - w) / 2, p.Y + (H - h) / 2};
        case shpTopLeft: return {p.X + 6, p.Y - h / 2};
        case shpTopRight: return {p.X + W - w + 1, p.Y - h / 2};
        case shpAboveTop: return {p.X + (W - w) / 2, p.Y - h};
        case shpAboveTopLeft: return {p.X + 6, p.Y - h};
        case shpAboveTopRight: return {p.X + W - w + 1, p.Y - h};
        case shpBottomLeft: return {p.X + 6, p.Y + H - h / 2};
        case shpBottomRight: return {p.X + W - w + 1, p.Y + H - h / 2};
        case shpBelowBottom: case shpBelowBottomCenter: return {p.X + (W - w) / 2, p.Y + H};
        case shpBelowBottomLeft: return {p.X + 6, p.Y + H};
        case shpBelowBottomRight: return {p.X + W - w + 1, p.Y + H};
        case shpTop: case shpAuto: break;
    }
    return {p.X + (W - w) / 2, p.Y - h / 2};
}

TShortCutHintWindow::TShortCutHintWindow(TComponent* owner) : THintWindow(owner) {}

const TPropertyList& TShortCutHintWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(THintWindow::Published())
        .Colour(L"Color", &TShortCutHintWindow::Color, &TShortCutHintWindow::SetColor, int32_t(clInfoBk))
        .Colour(L"ColorTo", &TShortCutHintWindow::ColorTo, &TShortCutHintWindow::SetColorTo, int32_t(clInfoBk));
    return list;
}

void TShortCutHintWindow::SetColor(TColor value) {
    FColor = value;
    Invalidate();
}

void TShortCutHintWindow::SetColorTo(TColor value) {
    FColorTo = value;
    Invalidate();
}

TSize TShortCutHintWindow::TipSize(const std::wstring& text) {
    Canvas()->Font()->Assign(Font());
    const TSize extent = Canvas()->TextExtent(text);
    const int least = Canvas()->TextWidth(L"O") + 8;
    return {std::max(extent.cx + 6, least), extent.cy + 4};
}

void TShortCutHintWindow::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.WindowClass.style &= ~CS_DROPSHADOW;
    params.ExStyle |= WS_EX_TOPMOST;
}

void TShortCutHintWindow::Paint() {
    const TRect client = ClientRect();
    DrawGradient(Canvas(), FColor, FColorTo, 16, client, false);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Font()->Assign(Font());
    RECT text = ToRECT(client);
    const std::wstring caption = Caption();
    ::SetBkMode(Canvas()->Handle(), TRANSPARENT);
    ::DrawTextW(Canvas()->Handle(), caption.c_str(), int(caption.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Canvas()->Pen()->SetColor(clGray);
    Canvas()->RoundRect(client.Left, client.Top, client.Right, client.Bottom, 3, 3);
}

void TShortCutHintWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    THintWindow::Dispatch(message);
}

// ---- the button ----

TAdvCustomGlowButton::TAdvCustomGlowButton(TComponent* owner)
    : TCustomControl(owner),
      FAppearance(std::make_unique<TGlowButtonAppearance>()),
      FPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FDisabledPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FHotPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FDownPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FNotes(std::make_unique<TStringList>()),
      FNotesFont(std::make_unique<TFont>()),
      FImageChangeLink(std::make_unique<TChangeLink>()),
      FDisabledImageChangeLink(std::make_unique<TChangeLink>()),
      FHotImageChangeLink(std::make_unique<TChangeLink>()) {
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
    SetDoubleBuffered(true);
    SetBounds(0, 0, 100, 41);
    Font()->SetHeight(-11);
    SetParentFont(true);
    FAppearance->OnChange = [this](TObject*) { AppearanceChanged(); };
    // A new normal or disabled picture may change the size the button needs.
    FPicture->SetOnChange([this](TObject*) { UpdateAutoSize(); });
    FDisabledPicture->SetOnChange([this](TObject*) { UpdateAutoSize(); });
    FNotes->OnChange = [this](TObject*) {
        if (FAutoSize) UpdateAutoSize();
    };
    FNotesFont->SetName(L"Tahoma");
    FNotesFont->SetSize(8);
    FImageChangeLink->SetOnChange([this](TObject*) {
        if (HandleAllocated()) Invalidate();
    });
    FDisabledImageChangeLink->SetOnChange([this](TObject*) { Invalidate(); });
    FHotImageChangeLink->SetOnChange([this](TObject*) { Invalidate(); });
    FOldLayout = FLayout;
    FOldDropDownPosition = FDropDownPosition;
}

TAdvCustomGlowButton::~TAdvCustomGlowButton() {
    // The image lists must not call back into a half-destroyed button.
    for (TChangeLink* link : {FImageChangeLink.get(), FDisabledImageChangeLink.get(), FHotImageChangeLink.get()})
        if (link->Sender()) link->Sender()->UnRegisterChanges(link);
}

const TPropertyList& TAdvCustomGlowButton::Published() {
    using B = TAdvCustomGlowButton;
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Enum(L"AntiAlias", L"TAntiAlias", &B::AntiAlias, &B::SetAntiAlias, {L"aaNone", L"aaClearType", L"aaAntiAlias"},
              AdvGDIP::aaClearType)
        .Add(L"AutoSize", &B::AutoSize, &B::SetAutoSize, false)
        .Enum(L"AutoSizeDirection", &B::AutoSizeDirection, &B::SetAutoSizeDirection, asVertical)
        .Add(L"DoubleBuffered", &B::DoubleBuffered, &B::SetDoubleBuffered, true)
        .SubObject(L"Picture", &B::Picture)
        .SubObject(L"DisabledPicture", &B::DisabledPicture)
        .SubObject(L"HotPicture", &B::HotPicture)
        .SubObject(L"DownPicture", &B::DownPicture)
        .Add(L"Cancel", &B::Cancel, &B::SetCancel, false)
        .Add(L"Default", &B::Default, &B::SetDefault, false)
        .Enum(L"FocusType", L"TFocusType", &B::FocusType, &B::SetFocusType,
              {L"ftBorder", L"ftHot", L"ftHotBorder", L"ftNone"}, ftBorder)
        .Add(L"ImageIndex", &B::ImageIndex, &B::SetImageIndex, -1)
        .Reference(L"Images", &B::Images, &B::SetImages)
        .Reference(L"DisabledImages", &B::DisabledImages, &B::SetDisabledImages)
        .Reference(L"HotImages", &B::HotImages, &B::SetHotImages)
        .Add(L"InitRepeatPause", &B::InitRepeatPause, &B::SetInitRepeatPause, 400)
        .Add(L"RepeatPause", &B::RepeatPause, &B::SetRepeatPause, 100)
        .Add(L"MarginHorz", &B::MarginHorz, &B::SetMarginHorz, 1)
        .Add(L"MarginVert", &B::MarginVert, &B::SetMarginVert, 1)
        .Add(L"ModalResult", &B::ModalResult, &B::SetModalResult, 0)
        .Strings(L"Notes", &B::Notes)
        .SubObject(L"NotesFont", &B::NotesFont)
        .Add(L"PictureWidth", &B::PictureWidth, &B::SetPictureWidth, -1)
        .Add(L"PictureHeight", &B::PictureHeight, &B::SetPictureHeight, -1)
        .Enum(L"Position", L"TButtonPosition", &B::Position, &B::SetPosition,
              {L"bpStandalone", L"bpLeft", L"bpMiddle", L"bpRight"}, bpStandalone)
        .Add(L"RepeatClick", &B::RepeatClick, &B::SetRepeatClick, false)
        .Add(L"Rounded", &B::Rounded, &B::SetRounded, true)
        .Stored(L"Rounded", true)
        .Add(L"ShortCutHint", &B::ShortCutHint, &B::SetShortCutHint, L"")
        .Add(L"ShowCaption", &B::ShowCaption, &B::SetShowCaption, true)
        .Add(L"ShowDisabled", &B::ShowDisabled, &B::SetShowDisabled, true)
        .Add(L"Spacing", &B::Spacing, &B::SetSpacing, 2)
        .Add(L"Transparent", &B::Transparent, &B::SetTransparent, false)
        .Add(L"WordWrap", &B::WordWrap, &B::SetWordWrap, true)
        .ReadOnly(L"Version", &B::Version)
        .Event(L"OnDrawButton", &B::OnDrawButton);
    return list;
}

const TPropertyList& TAdvGlowButton::Published() {
    using B = TAdvCustomGlowButton;
    static const TPropertyList list = TPropertyList::Extend(TAdvCustomGlowButton::Published())
        .Add(L"AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Add(L"AlwaysShowAccel", &B::AlwaysShowAccel, &B::SetAlwaysShowAccel, false)
        .SubObject(L"Appearance", &B::Appearance)
        .Add(L"Down", &B::Down, &B::SetDown, false)
        .Add(L"DropDownButton", &B::DropDownButton, &B::SetDropDownButton, false)
        .Enum(L"DropDownDirection", L"TDropDownDirection", &B::DropDownDirection, &B::SetDropDownDirection,
              {L"ddDown", L"ddRight", L"ddUp"}, ddDown)
        .Reference(L"DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu)
        .Enum(L"DropDownPosition", L"TDropDownPosition", &B::DropDownPosition, &B::SetDropDownPosition,
              {L"dpRight", L"dpBottom"}, dpRight)
        .Add(L"DropDownSplit", &B::DropDownSplit, &B::SetDropDownSplit, true)
        .Add(L"DropDownWidth", &B::DropDownWidth, &B::SetDropDownWidth, 14)
        .Add(L"GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .Enum(L"Layout", L"TButtonLayout", &B::Layout, &B::SetLayout,
              {L"blGlyphLeft", L"blGlyphTop", L"blGlyphRight", L"blGlyphBottom", L"blGlyphLeftAdjusted",
               L"blGlyphRightAdjusted", L"blGlyphTopAdjusted", L"blGlyphBottomAdjusted"},
              blGlyphLeft)
        .Enum(L"MaxButtonSizeState", L"TButtonSizeState", &B::MaxButtonSizeState, &B::SetMaxButtonSizeState,
              {L"bsGlyph", L"bsLabel", L"bsLarge"}, bsLarge)
        .Enum(L"MinButtonSizeState", L"TButtonSizeState", &B::MinButtonSizeState, &B::SetMinButtonSizeState,
              {L"bsGlyph", L"bsLabel", L"bsLarge"}, bsGlyph)
        .Enum(L"Style", L"TAdvButtonStyle", &B::Style, &B::SetStyle, {L"bsButton", L"bsCheck"}, bsButton)
        .Add(L"UseAppearance", &B::UseAppearance, &B::SetUseAppearance, false)
        .Enum(L"UIStyle", L"TOVTStyle", &B::UIStyle, &B::SetUIStyle,
              {L"tsOffice2003Blue", L"tsOffice2003Silver", L"tsOffice2003Olive", L"tsOffice2003Classic",
               L"tsOffice2007Luna", L"tsOffice2007Obsidian", L"tsWindowsXP", L"tsWhidbey", L"tsCustom",
               L"tsOffice2007Silver", L"tsWindowsVista", L"tsWindows7", L"tsTerminal", L"tsOffice2010Blue",
               L"tsOffice2010Silver", L"tsOffice2010Black", L"tsWindows8", L"tsOffice2013White",
               L"tsOffice2013LightGray", L"tsOffice2013Gray", L"tsWindows10", L"tsOffice2016White",
               L"tsOffice2016Gray", L"tsOffice2016Black", L"tsOffice2019White", L"tsOffice2019Gray",
               L"tsOffice2019Black"},
              AdvStyleIF::tsCustom)
        .Event(L"OnDropDown", &B::OnDropDown);
    return list;
}

std::wstring TAdvCustomGlowButton::Version() const {
    const unsigned v = VersionNumber;
    return std::to_wstring(v >> 24) + L"." + std::to_wstring((v >> 16) & 0xFF) + L"." +
           std::to_wstring((v >> 8) & 0xFF) + L"." + std::to_wstring(v & 0xFF);
}

// ---- property setters ----

void TAdvCustomGlowButton::SetAppearance(const TGlowButtonAppearance* value) {
    FAppearance->Assign(value);
}

void TAdvCustomGlowButton::SetPicture(const GDIPicture::TGDIPPicture* value) { FPicture->Assign(value); }
void TAdvCustomGlowButton::SetDisabledPicture(const GDIPicture::TGDIPPicture* value) { FDisabledPicture->Assign(value); }
void TAdvCustomGlowButton::SetHotPicture(const GDIPicture::TGDIPPicture* value) { FHotPicture->Assign(value); }
void TAdvCustomGlowButton::SetDownPicture(const GDIPicture::TGDIPPicture* value) { FDownPicture->Assign(value); }

void TAdvCustomGlowButton::AppearanceChanged() {
    Invalidate();
    if (FShortCutHint) {
        FShortCutHint->SetColor(clWhite);
        FShortCutHint->SetColorTo(FAppearance->Color());
    }
}

void TAdvCustomGlowButton::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetAutoSizeDirection(TAutoSizeDirection value) {
    if (FAutoSizeDirection == value) return;
    FAutoSizeDirection = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetMarginHorz(int value) {
    if (FMarginHorz == value) return;
    FMarginHorz = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetMarginVert(int value) {
    if (FMarginVert == value) return;
    FMarginVert = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetShowCaption(bool value) {
    if (FShowCaption == value) return;
    FShowCaption = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetWideCaption(const std::wstring& value) {
    FWideCaption = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetDropDownButton(bool value) {
    if (FDropDownButton == value) return;
    FDropDownButton = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetDropDownPosition(TDropDownPosition value) {
    if (FDropDownPosition == value) return;
    FDropDownPosition = value;
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetDrawSplitLineAlways(bool value) {
    FDrawSplitLineAlways = value;
    AdvGlowButton::DrawSplitLineAlways = value;
    Invalidate();
}

void TAdvCustomGlowButton::SetDoubleClicks(bool value) {
    SetControlStyle(value ? ControlStyle() & ~csDoubleClicks : ControlStyle() | csDoubleClicks);
}

void TAdvCustomGlowButton::SetImageList(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value) {
    if (field) field->UnRegisterChanges(link);
    field = value;
    if (field) {
        field->RegisterChanges(link);
        field->FreeNotification(this);
    }
}

void TAdvCustomGlowButton::SetImages(TCustomImageList* value) {
    SetImageList(FImages, FImageChangeLink.get(), value);
    UpdateAutoSize();
}

void TAdvCustomGlowButton::SetDisabledImages(TCustomImageList* value) {
    SetImageList(FDisabledImages, FDisabledImageChangeLink.get(), value);
    Invalidate();
}

void TAdvCustomGlowButton::SetHotImages(TCustomImageList* value) {
    SetImageList(FHotImages, FHotImageChangeLink.get(), value);
    Invalidate();
}

void TAdvCustomGlowButton::SetDropDownMenu(TPopupMenu* value) {
    FDropDownMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomGlowButton::SetGroupIndex(int value) {
    if (FGroupIndex == value) return;
    FGroupIndex = value;
    NotifyGroup();
}

void TAdvCustomGlowButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) return;
    FAllowAllUp = value;
    NotifyGroup();
}

void TAdvCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState value) {
    if (FMaxButtonSizeState == value) return;
    FMaxButtonSizeState = value;
    SetButtonSizeState(value);
}

void TAdvCustomGlowButton::SetMinButtonSizeState(TButtonSizeState value) {
    if (FMinButtonSizeState == value) return;
    FMinButtonSizeState = value;
    if (FToolBar.ButtonSizeState < value) SetButtonSizeState(value);
}

void TAdvCustomGlowButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FDisabledImages) FDisabledImages = nullptr;
    if (component == FHotImages) FHotImages = nullptr;
    if (component == FDropDownMenu) FDropDownMenu = nullptr;
}

void TAdvCustomGlowButton::ChangeScale(int m, int d) {
    TCustomControl::ChangeScale(m, d);
    FNotesFont->SetSize(::MulDiv(FNotesFont->Size(), m, d));
}

void TAdvCustomGlowButton::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TAdvCustomGlowButton*>(source);
    if (!from) return;  // any other source is ignored, as the designer copies controls
    SetAlign(from->Align());
    SetAnchors(from->Anchors());
    SetAntiAlias(from->FAntiAlias);
    SetAutoSize(from->FAutoSize);
    SetBorderStyle(from->FBorderStyle);
    SetCancel(from->FCancel);
    SetCaption(from->Caption());
    Constraints()->Assign(from->Constraints());
    SetDefault(from->FDefault);
    SetFont(from->Font());
    SetImageIndex(from->FImageIndex);
    SetImages(from->FImages);
    SetDisabledImages(from->FDisabledImages);
    SetDragMode(from->DragMode());
    SetFocusType(from->FFocusType);
    SetHotImages(from->FHotImages);
    SetMarginVert(from->FMarginVert);
    SetMarginHorz(from->FMarginHorz);
    SetModalResult(from->FModalResult);
    FNotes->Assign(from->FNotes.get());
    FNotesFont->Assign(from->FNotesFont.get());
    SetParentFont(from->ParentFont());
    FPicture->Assign(from->FPicture.get());
    FDisabledPicture->Assign(from->FDisabledPicture.get());
    FHotPicture->Assign(from->FHotPicture.get());
    FDownPicture->Assign(from->FDownPicture.get());
    SetPopupMenu(from->PopupMenu());
    SetPosition(from->FPosition);
    SetInitRepeatPause(from->FInitRepeatPause);
    SetRepeatPause(from->FRepeatPause);
    SetRepeatClick(from->FRepeatClick);
    SetRounded(from->FRounded);
    SetShortCutHint(from->FShortCutHintText);
    SetShortCutHintPos(from->FShortCutHintPos);
    SetShowCaption(from->FShowCaption);
    SetShowDisabled(from->FShowDisabled);
    SetSpacing(from->FSpacing);
    SetTransparent(from->FTransparent);
    SetTrimming(from->FTrimming);
    SetWordWrap(from->FWordWrap);
    SetShowHint(from->ShowHint());
    SetParentShowHint(from->ParentShowHint());
    SetTabOrder(from->TabOrder());
    SetTabStop(from->TabStop());
    SetVisible(from->Visible());
    SetDown(from->FDownChecked);
}

// ---- window, loading, styles ----

void TAdvCustomGlowButton::CreateWnd() {
    TCustomControl::CreateWnd();
    FGlowState = gsNone;
    FLeftDown = FMouseInControl = FMouseEnter = FMouseDown = FHot = false;
    if (!FInitialDown) {
        FState = absUp;
        FDown = false;
    }
    FDragging = false;
    FFirstPaint = true;
    FStepHover = 0;
    if (::GetCapture() == FHandle) ::ReleaseCapture();
    StopFadeTimer();
    FUsingStyles = AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), HasState(csDesigning));
}

void TAdvCustomGlowButton::Loaded() {
    TCustomControl::Loaded();
    if (FInitialDown != FDownChecked) SetDown(FInitialDown);
    if (FAutoSize) UpdateAutoSize();
    if (AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), false)) {
        AdvStyleIF::TColorTones tones{};
        AdvStyleIF::GetCustomStyleTones(tones);
        if (tones.Background.BrushColor != clNone) {
            tones.Selected.TextColor = tones.Hover.TextColor;
            SetColorTones(tones);
        }
    }
}

bool TAdvCustomGlowButton::ParentIsClass(const wchar_t* className) const {
    if (!Parent()) return false;
    for (const TClass* cls = &Parent()->ClassType(); cls; cls = cls->ClassParent())
        if (cls->ClassName() == className) return true;
    return false;
}

void TAdvCustomGlowButton::StyleChanged() {
    if (AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), HasState(csDesigning))) {
        AdvStyleIF::TColorTones tones{};
        AdvStyleIF::GetCustomStyleTones(tones);
        if (tones.Background.BrushColor == clNone) return;
        tones.Selected.TextColor = tones.Hover.TextColor;
        SetColorTones(tones);
        FUsingStyles = true;
        return;
    }
    IGlowButtonStyler* styler = nullptr;
    if (ParentIsClass(L"TAdvToolBar") && Supports(static_cast<TObject*>(Parent()), styler)) {
        if (const TGlowButtonAppearance* appearance = styler->GlowButtonStylerAppearance()) {
            FAppearance->Assign(appearance);
            return;
        }
    }
    if (FUsingStyles) {
        FUsingStyles = false;
        FAppearance->Init();
        Font()->SetColor(clWindowText);
        SetRounded(true);
    }
}

// ---- groups ----

void TAdvCustomGlowButton::SetDown(bool value) {
    if (HasState(csLoading) || !HandleAllocated()) FInitialDown = value;
    if (FGroupIndex == 0 && FStyle == bsButton) value = false;
    if (FStyle == bsCheck) {
        FDownChecked = value;
        FState = value ? absDown : absUp;
        Repaint();
        return;
    }
    if (value == FDownChecked) return;
    if (FDownChecked && !FAllowAllUp) return;
    FDownChecked = value;
    if (value) {
        if (FState == absUp) Invalidate();
        FState = absExclusive;
    } else {
        FState = absUp;
        Repaint();
    }
    if (value) NotifyGroup();
}

void TAdvCustomGlowButton::NotifyGroup() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage message{CM_BUTTONPRESSED, WPARAM(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

// ---- fades and the mouse ----

void TAdvCustomGlowButton::StartFadeTimer() {
    if (FTimer || GlowSpeed <= 0) return;
    FTimer = new TTimer(this);
    FTimer->SetInterval(unsigned(GlowSpeed));
    FTimer->SetOnTimer([this](TObject*) { GlowTimerTick(); });
}

void TAdvCustomGlowButton::StopFadeTimer() {
    // The timer may be the caller: its handler is allowed to free it.
    delete FTimer;
    FTimer = nullptr;
}

void TAdvCustomGlowButton::GlowTimerTick() {
    if (FGlowState == gsNone) return;
    int& step = FGlowState == gsHover ? FStepHover : FStepPush;
    step += FTimeInc;
    if ((FTimeInc > 0 && step > 100) || (FTimeInc < 0 && step < 0)) {
        step = std::clamp(step, 0, 100);
        if (FGlowState == gsPush && FTimeInc < 0 && FStyle == bsButton) {
            FDown = FLeftDown = false;
            Perform(CM_MOUSELEAVE);
        }
        FGlowState = gsNone;
        StopFadeTimer();
        Invalidate();
        return;
    }
    Invalidate();
}

void TAdvCustomGlowButton::EnterMouse() {
    if (HasState(csDesigning) || FMouseEnter) return;
    FHot = true;
    FDown = FLeftDown;
    StartFadeTimer();
    if (!FDown && FGlowState != gsPush) {
        FTimeInc = 20;
        FGlowState = gsHover;
    }
    Invalidate();
    FMouseInControl = FMouseEnter = FHasMouse = true;
}

void TAdvCustomGlowButton::LeaveMouse() {
    if (HasState(csDesigning) || !FMouseEnter) return;
    FHasMouse = FMouseEnter = FMouseInControl = FHot = FInButton = false;
    if (FDown && FMouseDown) {
        FDown = false;
        FTimeInc = -20;
        FGlowState = gsHover;
        Invalidate();
        FLeftDown = true;
    } else {
        FDown = false;
        FStepHover = 100;
        FTimeInc = -20;
        FGlowState = gsHover;
        Invalidate();
    }
    StartFadeTimer();
}

void TAdvCustomGlowButton::RefreshMouseTracking() {
    if (!Enabled()) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const bool over = TControl::FindDragTarget({cursor.x, cursor.y}) == this;
    if (over == FMouseInControl) return;
    FMouseInControl = over;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

int TAdvCustomGlowButton::GetDropDownPartWidth() {
    return int(std::nearbyint(FDropDownWidth * AdvStyleIF::GetCanvasTextScale(Canvas(), nullptr)));
}

void TAdvCustomGlowButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FCheckBeforeAction = FDownChecked;
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (FRepeatClick) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->SetOnTimer([this](TObject*) { DoRepeatClick(); });
        }
        FRepeatTimer->SetInterval(unsigned(FInitRepeatPause));
        FRepeatTimer->SetEnabled(true);
    }
    FDown = true;
    FMouseDown = true;
    if (TabStop() && CanFocus()) SetFocus();
    FTimeInc = 20;
    FGlowState = gsPush;
    const int w = GetDropDownPartWidth();
    const bool inDropDown = (FDropDownPosition == dpRight && x > Width() - w) ||
                            (FDropDownPosition == dpBottom && y > Height() - w);
    const bool dropsDown = (!FDropDownButton && IsMenuButton()) || (FDropDownButton && inDropDown && FDropDownSplit) ||
                           (FDropDownButton && !FDropDownSplit && FStyle == bsButton && FGroupIndex <= 0);
    if (dropsDown) {
        FMouseInControl = false;
        FireEvent(OnDropDown, this);
        if (FDropDownMenu) {
            FDropDownMenu->SetPopupComponent(this);
            FDown = !FDropDownSplit;
            FDroppedDown = true;
            FMouseEnter = false;
            Repaint();
            TPoint anchor = FDropDownDirection == ddRight ? TPoint{Left() + Width(), Top()}
                                                          : TPoint{Left(), Top() + Height()};
            if (Parent()) anchor = Parent()->ClientToScreen(anchor);
            if (FDropDownMenu->Alignment() == paRight) anchor.X += Width();
            else if (FDropDownMenu->Alignment() == paCenter) anchor.X += Width() / 2;
            // The press is over once the menu takes the mouse.
            SetMouseCapture(false);
            FDropDownMenu->Popup(anchor.X, anchor.Y);
            FDown = FDroppedDown = FMouseEnter = FMouseInControl = FHot = FInButton = false;
            FMouseDown = false;
            SetControlState(ControlState() & ~csClicked);
            FGotButtonClick = false;
            Repaint();
        }
        Invalidate();
        return;
    }
    FState = absDown;
    if (FStyle == bsCheck) Repaint();
    else Invalidate();
    FDragging = true;
}

void TAdvCustomGlowButton::ReleaseLeft(TMessage& message) {
    const TPoint p{message.XPos(), message.YPos()};
    const bool inside = ClientRect().Contains(p);
    FTimeInc = -10;
    FStepPush = 100;
    if (inside) {
        FGlowState = gsHover;
        FHot = FHasMouse = FMouseEnter = true;
    } else {
        FGlowState = gsNone;
        FHasMouse = FMouseDown = FMouseEnter = FHot = FInButton = false;
    }
    FMouseDown = FLeftDown = false;
    auto* action = dynamic_cast<ClassLib::TCustomAction*>(Action());
    if (FStyle == bsCheck && inside) {
        // An action that toggled the state itself since the press has the last word.
        if (!action || FDownChecked == FCheckBeforeAction) SetDown(!FDownChecked);
        FStepPush = 0;
    }
    bool inheritedRan = false;
    const auto runInherited = [&] {
        if (FGotButtonClick) SetControlState(ControlState() | csClicked);
        FGotButtonClick = false;
        TCustomControl::Dispatch(message);
        inheritedRan = true;
    };
    if (FDragging && (FDropDownButton || !IsMenuButton())) {
        FDragging = false;
        if (FGroupIndex != 0 && action && (FCheckLinked || FGroupIndexLinked)) {
            runInherited();
            return;
        }
        if (FStyle == bsCheck && FGroupIndex == 0 && action) {
            runInherited();
            if (FCheckLinked || FGroupIndexLinked || action->AutoCheck()) return;
        }
        if (FGroupIndex != 0) {
            if (inside) {
                SetDown(!FDownChecked);
                if (FDownChecked) Invalidate();
            } else {
                if (FDownChecked) FState = absExclusive;
                Invalidate();
            }
        } else {
            FState = absUp;
            // A release outside leaves a check button as it was: the gesture was abandoned.
            FMouseInControl = true;
            Invalidate();
            if (inside) Invalidate();
        }
        RefreshMouseTracking();
    }
    if (!inheritedRan && !FDroppedDown) runInherited();
    if (FStyle == bsCheck || FGroupIndex > 0) {
        Repaint();
        Invalidate();
    }
}

void TAdvCustomGlowButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    FDown = false;
    if (FStyle == bsButton) Invalidate();
}

void TAdvCustomGlowButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (HasState(csDesigning)) return;
    const int w = GetDropDownPartWidth();
    const bool inButton = FDropDownButton && ((FDropDownPosition == dpRight && x >= Width() - w) ||
                                              (FDropDownPosition == dpBottom && y >= Height() - w));
    if (inButton != FInButton) {
        FInButton = inButton;
        Invalidate();
    }
    if (FDragging) {
        TAdvButtonState next = FDownChecked ? absExclusive : absUp;
        if (x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight()) next = FDownChecked ? absExclusive : absDown;
        if (FStyle == bsCheck && FDownChecked) next = absDown;
        if (next != FState) {
            FState = next;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        RefreshMouseTracking();
    }
}

void TAdvCustomGlowButton::DoRepeatClick() {
    FRepeatTimer->SetInterval(unsigned(FRepeatPause));
    if (FDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

// ---- drop-down and clicks ----

void TAdvCustomGlowButton::DoDropDown() {
    if (!IsMenuButton() && !FDropDownMenu) return;
    if (FDropDownMenu) {
        FireEvent(FToolBar.OnInternalDropDown, this);
        FDropDownMenu->SetPopupComponent(this);
        FState = absDown;
        FireEvent(OnDropDown, this);
        Invalidate();
        TPoint anchor = FDropDownDirection == ddRight ? TPoint{Left() + Width(), Top()} : TPoint{Left(), Top() + Height()};
        if (Parent()) anchor = Parent()->ClientToScreen(anchor);
        if (FDropDownMenu->Alignment() == paRight) anchor.X += Width();
        else if (FDropDownMenu->Alignment() == paCenter) anchor.X += Width() / 2;
        FDroppedDown = true;
        FDropDownMenu->Popup(anchor.X, anchor.Y);
        FDroppedDown = false;
        FState = absUp;
        Repaint();
    }
    Invalidate();
}

void TAdvCustomGlowButton::InvokeClick() {
    const bool unsplit = FDropDownButton && FStyle == bsButton && FGroupIndex <= 0 && !FDropDownSplit;
    if ((!FDropDownButton && IsMenuButton()) || unsplit) {
        if (FDropDownMenu) DoDropDown();
        else Click();
        return;
    }
    if (FStyle == bsCheck) {
        SetDown(!FDownChecked);
        FState = absDown;
        Repaint();
    }
    Click();
}

void TAdvCustomGlowButton::Click() {
    if (TCustomForm* form = ParentForm(); form && FModalResult != 0) form->SetModalResult(FModalResult);
    FireEvent(FToolBar.OnInternalClick, this);
    TCustomControl::Click();
}

// ---- keyboard ----

void TAdvCustomGlowButton::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    FGotDownKey = true;
    if (key == VK_RETURN || key == VK_SPACE) {
        if (FGroupIndex == 0) FDown = true;
        Repaint();
    }
    if (key == VK_F4 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) DoDropDown();
    if (FToolBar.OnInternalKeyDown) FToolBar.OnInternalKeyDown(this, key, shift);
}

void TAdvCustomGlowButton::KeyPress(wchar_t& key) {
    TCustomControl::KeyPress(key);
    if (key != L' ' && key != L'\r') return;
    if (TCustomForm* form = ParentForm()) form->SetModalResult(FModalResult);
    // Straight to the handler: neither the action nor the toolbars' click hook hear it.
    if (FGroupIndex == 0 && OnClick) OnClick(this);
}

void TAdvCustomGlowButton::KeyUp(WORD& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if ((key == VK_RETURN || key == VK_SPACE) && FGotDownKey) {
        if (FGroupIndex == 0) {
            FDown = false;
            FState = absUp;
        } else {
            if (FState == absDown || FState == absExclusive) {
                FState = absUp;
                FDown = false;
            } else {
                FState = absExclusive;
            }
            FDownChecked = !FDownChecked;
            NotifyGroup();
            if (OnClick) OnClick(this);
        }
    }
    FGotDownKey = false;
    Repaint();
}

void TAdvCustomGlowButton::DialogKey(TMessage& message) {
    const WORD key = WORD(message.WParam);
    TCustomForm* form = ParentForm();
    TWinControl* focus = form ? form->ActiveControl() : nullptr;
    // Enter goes to the focused glow button, else to the default one.
    const bool active = focus == this || (!dynamic_cast<TAdvCustomGlowButton*>(focus) && FDefault);
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && FCancel)) && !ShiftKeyDown() && CanFocus()) {
        if (FGroupIndex == 0) {
            FState = absUp;
        } else if (key == VK_RETURN) {
            FState = FState == absExclusive ? absUp : absExclusive;
            FDownChecked = FDown = FState == absExclusive;
            NotifyGroup();
            Repaint();
        }
        InvokeClick();
        message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(message);
}

void TAdvCustomGlowButton::DialogChar(TMessage& message) {
    const bool alt = (message.LParam & (LPARAM(1) << 29)) != 0;
    // A toolbar handles its own accelerators typed without Alt.
    if (!alt && Parent() && Parent()->ClassName() == L"TAdvToolBar") {
        TCustomControl::Dispatch(message);
        return;
    }
    if (!CanFocus()) return;
    const wchar_t key = wchar_t(message.WParam);
    const std::wstring caption = Caption();
    if (!caption.empty() && IsAccel(key, caption)) {
        if (IsMenuButton() || (FDropDownMenu && !FDropDownSplit)) DoDropDown();
        else Click();
        message.Result = 1;
        return;
    }
    const std::wstring* texts[] = {&FWideCaption, &Hint()};
    for (const std::wstring* text : texts) {
        if (!text->empty() && IsAccel(key, *text)) {
            if (IsMenuButton() || FDropDownMenu) DoDropDown();
            else Click();
            message.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(message);
}

void TAdvCustomGlowButton::DoEnter() {
    TCustomControl::DoEnter();
    FHasFocus = true;
    Invalidate();
}

void TAdvCustomGlowButton::DoExit() {
    TCustomControl::DoExit();
    if (FGroupIndex == 0) {
        FDown = false;
        FState = absUp;
    }
    FHasFocus = false;
    Invalidate();
}

void TAdvCustomGlowButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_MOUSEENTER:
            TCustomControl::Dispatch(message);
            EnterMouse();
            return;
        case CM_MOUSELEAVE:
            TCustomControl::Dispatch(message);
            LeaveMouse();
            return;
        case WM_LBUTTONDOWN:
            FGotButtonClick = true;
            TCustomControl::Dispatch(message);
            return;
        case WM_LBUTTONUP: ReleaseLeft(message); return;
        case CM_DIALOGKEY: DialogKey(message); return;
        case CM_DIALOGCHAR: DialogChar(message); return;
        case CM_BUTTONPRESSED: {
            auto* sender = reinterpret_cast<TAdvCustomGlowButton*>(message.LParam);
            if (int(message.WParam) == FGroupIndex && sender != this && sender && sender->FDownChecked &&
                FDownChecked) {
                FDownChecked = false;
                FState = absUp;
                Invalidate();
            }
            return;
        }
        case CM_ENABLEDCHANGED:
            TCustomControl::Dispatch(message);
            FDown = false;
            FState = absDisabled;
            Invalidate();
            return;
        case CM_STYLECHANGED:
            TCustomControl::Dispatch(message);
            StyleChanged();
            return;
        case CM_TEXTCHANGED: case CM_FONTCHANGED:
            TCustomControl::Dispatch(message);
            Invalidate();
            return;
        case WM_SETTEXT:
            TCustomControl::Dispatch(message);
            if (FAutoSize) UpdateAutoSize();
            return;
        case WM_GETDLGCODE:
            if (FToolBar.OnInternalKeyDown) {
                message.Result = DLGC_WANTARROWS;
                return;
            }
            break;
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(message);
            FHasFocus = false;
            Invalidate();
            return;
        case CN_COMMAND:
            if (HIWORD(message.WParam) == BN_CLICKED) Click();
            return;
        default: break;
    }
    TCustomControl::Dispatch(message);
}

// ---- key tips ----

void TAdvCustomGlowButton::ShowShortCutHint() {
    if (!FShortCutHint) {
        FShortCutHint = new TShortCutHintWindow(this);
        FShortCutHint->SetColor(clWhite);
        FShortCutHint->SetColorTo(FAppearance->Color());
    }
    FShortCutHint->SetCaption(FShortCutHintText);
    const TSize size = FShortCutHint->TipSize(FShortCutHintText);
    TShortCutHintPos position = FShortCutHintPos;
    if (FToolBar.OnGetShortCutHintPos) FToolBar.OnGetShortCutHintPos(this, FToolBar.ButtonSizeState, position);
    const TPoint at = ShortCutHintPlace(position, ClientOrigin(), Width(), Height(), size.cx, size.cy);
    FShortCutHint->ActivateHint(Bounds(at.X, at.Y, size.cx, size.cy), FShortCutHintText);
}

void TAdvCustomGlowButton::HideShortCutHint() {
    if (FShortCutHint) FShortCutHint->ReleaseHandle();
}

}  // namespace AdvGlowButton

namespace AdvGlowButton {

// ---- actions ----

TAdvGlowButtonActionLink::TAdvGlowButtonActionLink(TAdvCustomGlowButton* client)
    : TControlActionLink(client), FButton(client) {}

bool TAdvGlowButtonActionLink::IsCheckedLinked() const {
    const bool linked = TControlActionLink::IsCheckedLinked() && CustomAction()->Checked() == FButton->Down();
    FButton->FCheckLinked = linked;
    return linked;
}

bool TAdvGlowButtonActionLink::IsGroupIndexLinked() const {
    const bool linked = CustomAction() && CustomAction()->GroupIndex() == FButton->GroupIndex();
    FButton->FGroupIndexLinked = linked;
    return linked;
}

bool TAdvGlowButtonActionLink::IsHelpLinked() const {
    const ClassLib::TCustomAction* action = CustomAction();
    return action && action->HelpContext() == FButton->HelpContext() &&
           action->HelpKeyword() == FButton->HelpKeyword() && action->HelpType() == FButton->HelpType();
}

bool TAdvGlowButtonActionLink::IsImageIndexLinked() const {
    return TControlActionLink::IsImageIndexLinked() && CustomAction()->ImageIndex() == FImageIndex;
}

void TAdvGlowButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) FButton->SetDown(value);
}

void TAdvGlowButtonActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) FButton->SetGroupIndex(value);
}

void TAdvGlowButtonActionLink::SetHelpContext(int value) {
    if (IsHelpLinked()) FButton->SetHelpContext(value);
}

void TAdvGlowButtonActionLink::SetHelpKeyword(const std::wstring& value) {
    if (IsHelpLinked()) FButton->SetHelpKeyword(value);
}

void TAdvGlowButtonActionLink::SetHelpType(ClassLib::THelpType value) {
    if (IsHelpLinked()) FButton->SetHelpType(value);
}

void TAdvGlowButtonActionLink::SetImageIndex(int value) {
    // The button follows the action's image only while it still shows the action's image.
    if (!IsImageIndexLinked()) return;
    FImageIndex = value;
    FButton->Invalidate();
    FButton->SetImageIndex(value);
}

void TAdvGlowButtonActionLink::Change() {
    if (const ClassLib::TCustomAction* action = CustomAction()) FImageIndex = action->ImageIndex();
    TControlActionLink::Change();
}

std::unique_ptr<ClassLib::TControlActionLink> TAdvCustomGlowButton::CreateActionLink() {
    return std::make_unique<TAdvGlowButtonActionLink>(this);
}

void TAdvCustomGlowButton::ActionChange(ClassLib::TObject* sender, bool checkDefaults) {
    TCustomControl::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<ClassLib::TCustomAction*>(sender)) {
        if (checkDefaults || FGroupIndex == 0) SetGroupIndex(action->GroupIndex());
        SetImageIndex(action->ImageIndex());
        SetDown(action->Checked());
    }
    if (FAutoSize && Parent() && HandleAllocated()) {
        FDoAutoSize = true;
        PaintNow();
        FDoAutoSize = false;
    }
}

void TAdvCustomGlowButton::ApplyActionImages(TGlowFace& face) {
    auto* action = dynamic_cast<ClassLib::TCustomAction*>(Action());
    if (!action || action->ImageIndex() < 0 || !action->ActionList()) return;
    ClassLib::TCustomActionList* list = action->ActionList();
    const auto take = [&](ClassLib::TCustomImageList* images, bool enabled) {
        if (!images || (face.Images && FImageListType != ipActionList)) return;
        face.Images = images;
        face.ImageEnabled = enabled;
        face.ImageIndex = action->ImageIndex();
        FImageIndex = action->ImageIndex();
    };
    if (auto* manager = dynamic_cast<ClassLib::TCustomActionManager*>(list)) {
        const bool large = FToolBar.ButtonSizeState == bsLarge;
        if (!Enabled()) {
            if (large && manager->LargeDisabledImages()) take(manager->LargeDisabledImages(), true);
            else if (manager->DisabledImages()) take(manager->DisabledImages(), true);
        }
        if (Enabled() || !face.Images)
            take(large && manager->LargeImages() ? manager->LargeImages() : manager->Images(), Enabled());
        return;
    }
    take(list->Images(), Enabled());
}

}  // namespace AdvGlowButton
