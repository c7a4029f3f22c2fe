#include "toolbars/AdvToolBarButton.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Timer.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvMenus.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarContainer.h"
#include "toolbars/AdvToolBarQuickAccessLink.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvCustomToolBarControl, ClassLib::TGraphicControl)
CLASSLIB_IMPLEMENT(TAdvToolBarButtonDrawPosition, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TAdvCustomToolBarButton, TAdvCustomToolBarControl)
CLASSLIB_IMPLEMENT(TAdvToolBarButton, TAdvCustomToolBarButton)

// ---------------------------------------------------------------- item base

TAdvCustomToolBarControl::TAdvCustomToolBarControl(TComponent* owner) : TGraphicControl(owner) {}

void TAdvCustomToolBarControl::SetAdvToolBar(TAdvCustomToolBar* value) {
    if (value == FAdvToolBar) return;
    TWinControl* oldParent = Parent();
    // The parent change makes the old toolbar let the item go and the new one take it.
    SetParent(value);
    if (value && FAdvToolBar != value) {
        // Refused: the item goes back where it was rather than staying on a toolbar that
        // does not know it.
        SetParent(oldParent);
        throw Exception(L"AdvToolBar not set");
    }
}

void TAdvCustomToolBarControl::SetAdvQuickAccessToolBar(IQuickAccessToolBarLink* value) {
    if (value != FAdvQuickAccessToolBar) FAdvQuickAccessToolBar = value;
}

void TAdvCustomToolBarControl::SetPosition(TDockAlign value) {
    if (value == FPosition) return;
    FPosition = value;
    AdjustSize();
    Invalidate();
}

void TAdvCustomToolBarControl::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    if (value) AdjustSize();
}

TCustomAdvToolBarStyler* TAdvCustomToolBarControl::CurrentStyler() const {
    if (FAdvToolBar) return FAdvToolBar->CurrentToolBarStyler();
    if (FAdvQuickAccessToolBar) return FAdvQuickAccessToolBar->CurrentQATStyler();
    return nullptr;
}

// ---------------------------------------------------------------- draw position

const TPropertyList& TAdvToolBarButtonDrawPosition::Published() {
    using T = TAdvToolBarButtonDrawPosition;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
                                          .Add(L"Enabled", &T::Enabled, &T::SetEnabled, false)
                                          .Add(L"TextX", &T::TextX, &T::SetTextX, 0)
                                          .Add(L"TextY", &T::TextY, &T::SetTextY, 0)
                                          .Add(L"ImageX", &T::ImageX, &T::SetImageX, 0)
                                          .Add(L"ImageY", &T::ImageY, &T::SetImageY, 0)
                                          .Event(L"OnChange", &T::OnChange);
    return list;
}

void TAdvToolBarButtonDrawPosition::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvToolBarButtonDrawPosition*>(source);
    if (!other) return;
    FTextX = other->FTextX;
    FTextY = other->FTextY;
    FImageX = other->FImageX;
    FImageY = other->FImageY;
    FEnabled = other->FEnabled;
}

// ---------------------------------------------------------------- action link

TAdvToolBarButtonActionLink::TAdvToolBarButtonActionLink(TAdvCustomToolBarButton* client)
    : TControlActionLink(client), FButton(client) {}

bool TAdvToolBarButtonActionLink::IsCheckedLinked() const {
    return TControlActionLink::IsCheckedLinked() && CustomAction()->Checked() == FButton->Down();
}

bool TAdvToolBarButtonActionLink::IsGroupIndexLinked() const {
    return FButton && CustomAction() && CustomAction()->GroupIndex() == FButton->GroupIndex();
}

void TAdvToolBarButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) FButton->SetDown(value);
}

void TAdvToolBarButtonActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) FButton->SetGroupIndex(value);
}

void TAdvToolBarButtonActionLink::SetImageIndex(int value) {
    TControlActionLink::SetImageIndex(value);
    FButton->Invalidate();
}

// ---------------------------------------------------------------- button

TAdvCustomToolBarButton::TAdvCustomToolBarButton(TComponent* owner)
    : TAdvCustomToolBarControl(owner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphChecked(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>()),
      FAppearance(std::make_unique<TButtonAppearance>()),
      FPicture(std::make_unique<TPicture>()),
      FPictureDisabled(std::make_unique<TPicture>()),
      FDrawPosition(std::make_unique<TAdvToolBarButtonDrawPosition>()),
      FOfficeHint(std::make_unique<AdvHintInfo::TAdvHintInfo>()) {
    FGlyph->SetOnChange([this](TObject*) {
        AdjustSize();
        Invalidate();
    });
    FDrawPosition->OnChange = [this](TObject*) { Invalidate(); };
    FAppearance->OnChange = [this](TObject*) { Invalidate(); };
    auto picturesChanged = [this](TObject*) {
        AdjustSize();
        Invalidate();
    };
    FPicture->SetOnChange(picturesChanged);
    FPictureDisabled->SetOnChange(picturesChanged);
    SetBounds(0, 0, 23, 22);
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetParentFont(true);
    FAutoSize = true;
    const bool placedByDesigner = owner && HasState(csDesigning) && !owner->HasState(csReading) &&
                                  !owner->HasState(csLoading);
    if (placedByDesigner) Font()->SetName(L"Tahoma");
    FUnHotTimer = new TTimer(this);
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->SetOnTimer([this](TObject*) { UnHotTimerTick(); });
}

TAdvCustomToolBarButton::~TAdvCustomToolBarButton() {
    if (FUnHotTimer) FUnHotTimer->SetEnabled(false);
}

std::wstring TAdvCustomToolBarButton::Version() const {
    const unsigned number = unsigned(GetVersionNr());
    return std::to_wstring(number >> 24) + L"." + std::to_wstring((number >> 16) & 0xFF) + L"." +
           std::to_wstring((number >> 8) & 0xFF) + L"." + std::to_wstring(number & 0xFF);
}

void TAdvCustomToolBarButton::Loaded() {
    TAdvCustomToolBarControl::Loaded();
    if (FInitialDown != FDown) SetDown(FInitialDown);
    if (FShaded) GenerateShade();
    AdjustSize();
}

int TAdvCustomToolBarButton::Index() const {
    if (!FAdvToolBar) return -1;
    for (int i = 0; i < FAdvToolBar->ToolBarControlCount(); ++i)
        if (FAdvToolBar->ToolBarControls(i) == this) return i;
    return -1;
}

// ---------------------------------------------------------------- down state and groups

void TAdvCustomToolBarButton::SetDown(bool value) {
    if (HasState(csLoading)) FInitialDown = value;
    if (FStyle == tasButton && FGroupIndex == 0) value = false;
    if (FStyle == tasCheck) {
        FDown = value;
        FState = value ? absDown : absUp;
        Repaint();
        return;
    }
    if (value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = value;
    if (value) {
        if (FState == absUp) Invalidate();
        FState = absExclusive;
    } else {
        FState = absUp;
        Repaint();
    }
    if (value) UpdateExclusive();
}

void TAdvCustomToolBarButton::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TAdvCustomToolBarButton::SetAllowAllUp(bool value) {
    if (value == FAllowAllUp) return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TAdvCustomToolBarButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage message;
    message.Msg = CM_BUTTONPRESSED;
    message.WParam = WPARAM(FGroupIndex);
    message.LParam = LPARAM(static_cast<TObject*>(this));
    Parent()->Broadcast(message);
    // Members of the group may also sit in the other place the toolbar keeps its buttons.
    TWinControl* other = nullptr;
    if (FAdvToolBar && Parent() != FAdvToolBar) other = FAdvToolBar;
    else if (FAdvToolBar) other = FAdvToolBar->ItemOverflowPanel();
    else if (FAdvQuickAccessToolBar) other = FAdvQuickAccessToolBar->QATWindow();
    if (other && other != Parent()) {
        message.Result = 0;
        other->Broadcast(message);
    }
}

void TAdvCustomToolBarButton::CMButtonPressed(TMessage& message) {
    if (int(message.WParam) != FGroupIndex || FGroupIndex == 0) return;
    auto* sender = dynamic_cast<TAdvCustomToolBarButton*>(reinterpret_cast<TObject*>(message.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = absUp;
        if (auto* action = dynamic_cast<TCustomAction*>(Action())) action->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

// ---------------------------------------------------------------- hover

void TAdvCustomToolBarButton::SetHot(bool value) {
    if (FState != absUp) value = false;
    if (FAdvToolBar) FAdvToolBar->HotButtonChanged(this);
    else if (!FAdvQuickAccessToolBar) value = false;
    if (value == FPropHot) return;
    FPropHot = value;
    Invalidate();
}

void TAdvCustomToolBarButton::CMMouseEnter(TMessage& message) {
    TAdvCustomToolBarControl::Dispatch(message);
    if (HasState(csDesigning)) return;
    FMouseInControl = true;
    if (Enabled() && (FAdvToolBar || FAdvQuickAccessToolBar)) {
        SetHot(true);
        Invalidate();
    }
    FUnHotTimer->SetEnabled(true);
}

void TAdvCustomToolBarButton::LeaveQuietly() {
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    if (FAdvToolBar || FAdvQuickAccessToolBar) {
        const bool keepHot = FAdvToolBar && FAdvToolBar->MenuLoopFocused();
        if (!keepHot) SetHot(false);
    }
    if (Enabled()) Invalidate();
}

void TAdvCustomToolBarButton::CMMouseLeave(TMessage& message) {
    if (HasState(csDesigning)) {
        TAdvCustomToolBarControl::Dispatch(message);
        return;
    }
    LeaveQuietly();
    TAdvCustomToolBarControl::Dispatch(message);  // raises OnMouseLeave
}

void TAdvCustomToolBarButton::UnHotTimerTick() {
    POINT screen{};
    if (!::GetCursorPos(&screen)) return;
    const TPoint point = ScreenToClient({int(screen.x), int(screen.y)});
    if (ClientRect().Contains(point)) {
        const bool openMenuButton =
            FDropDownButton && IsMenuButton() && FMenuSel && (FDropDownMenu || FMenuItem);
        if (!openMenuButton) return;
    }
    LeaveQuietly();
}

void TAdvCustomToolBarButton::UpdateTracking() {
    if (!FFlat || !Enabled()) return;
    POINT screen{};
    if (!::GetCursorPos(&screen)) return;
    const bool over = TControl::FindDragTarget({int(screen.x), int(screen.y)}) == this;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

// ---------------------------------------------------------------- mouse

bool TAdvCustomToolBarButton::IsMenuBarButton() const {
    return !FDropDownButton && IsMenuButton() && (FDropDownMenu || FMenuItem) && FAdvToolBar;
}

void TAdvCustomToolBarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TAdvCustomToolBarControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled() || HasState(csDesigning)) return;
    FMouseDownInControl = true;
    const bool inZone = InDropDownZone(x, y, Width(), Height(), Rotated(), DPIScaleFactor);
    if (IsMenuBarButton()) {
        Invalidate();
        if ((!FAdvToolBar->MenuDropped() && !FMenuBeingClosed && !FMenuDisplayed) || FInternalClick) {
            if (!(IsMenuButton() && FMenuItem && FMenuItem->Count() == 0)) FInternalClick = false;
            DoDropDown();
            FInternalClick = false;
        } else if (FMenuBeingClosed) {
            FMenuBeingClosed = false;
        }
        return;
    }
    if (FDropDownButton && (inZone || !FDropDownSplit)) {
        DropDownPress();
        return;
    }
    if (!FDown) {
        FState = absDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TAdvCustomToolBarButton::DropDownPress() {
    FState = absUp;
    FMouseInControl = false;
    FMouseDownInControl = false;
    Invalidate();
    FireEvent(OnDropDown, this);
    if (FDropDownMenu) {
        if (FStyle == tasButton) FDown = false;
        if (IsMenuButton()) {
            FMenuSel = true;
            Repaint();
        }
        TCustomAdvToolBarStyler* styler = CurrentStyler();
        if (styler) FDropDownMenu->SetMenuStyler(styler->CurrentAdvMenuStyler());
        TPoint corner{Left(), Top() + Height()};
        if (Parent()) corner = Parent()->ClientToScreen(corner);
        FDropDownMenu->Popup(corner.X, corner.Y);
        if (IsMenuButton()) {
            FMenuSel = false;
            Repaint();
        }
    }
    Invalidate();
}

void TAdvCustomToolBarButton::MouseMove(TShiftState shift, int x, int y) {
    TAdvCustomToolBarControl::MouseMove(shift, x, y);
    if (HasState(csDesigning)) return;
    if (FDragging) {
        TAdvButtonState state;
        if (FDown) state = absExclusive;
        else if (x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight()) state = absDown;
        else state = absUp;
        if (FStyle == tasCheck && FDown) state = absDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TAdvCustomToolBarButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TAdvCustomToolBarControl::MouseUp(button, shift, x, y);
    FMenuBeingClosed = false;
    FMenuDisplayed = false;
    if (HasState(csDesigning)) return;
    FMouseDownInControl = false;
    Invalidate();
    if (IsMenuBarButton() || !FDragging) return;
    FDragging = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (FGroupIndex != 0) {
        if (inside) {
            SetDown(!FDown);
            if (FDown) Repaint();
        } else if (FDown) {
            FState = absExclusive;
            Repaint();
        }
    } else {
        FState = absUp;
        FMouseInControl = false;
        if (FStyle == tasCheck && inside) {
            SetDown(!FDown);
            FState = absUp;
        }
        if (inside && FState != absDown && FState != absExclusive) Invalidate();
    }
    if (inside) Click();
    UpdateTracking();
}

void TAdvCustomToolBarButton::Click() {
    if (FAdvToolBar) FAdvToolBar->ItemClicking();
    else if (FAdvQuickAccessToolBar) FAdvQuickAccessToolBar->HideOverflowWindow();
    TAdvCustomToolBarControl::Click();
    if (FAdvToolBar) FAdvToolBar->ItemClicked(this);
}

void TAdvCustomToolBarButton::PerformAccelerator() {
    if (IsMenuButton() && (FDropDownMenu || FMenuItem)) DoDropDown();
    else Click();
}

void TAdvCustomToolBarButton::DoDropDown() {
    if (!IsMenuButton()) return;
    FState = absDropDown;
    Invalidate();
    CheckMenuDropdown();
}

bool TAdvCustomToolBarButton::CheckMenuDropdown() {
    if (HasState(csDesigning)) return false;
    const bool hasMenu = (FDropDownMenu && FDropDownMenu->AutoPopup()) || FMenuItem;
    if (hasMenu && FAdvToolBar) return FAdvToolBar->DropMenuButton(this);
    return false;
}

void TAdvCustomToolBarButton::ResetState() {
    FMouseDownInControl = false;
    FMouseInControl = false;
    FState = absUp;
    Invalidate();
}

// ---------------------------------------------------------------- messages

void TAdvCustomToolBarButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_BUTTONPRESSED: CMButtonPressed(message); return;
        case CM_MOUSEENTER: CMMouseEnter(message); return;
        case CM_MOUSELEAVE: CMMouseLeave(message); return;
        case CM_TEXTCHANGED: CMTextChanged(message); return;
        case CM_VISIBLECHANGED: CMVisibleChanged(message); return;
        case CM_HINTSHOW: CMHintShow(message); return;
        case CM_DIALOGCHAR:
        case CM_SYSCOLORCHANGE:
        case WM_SETCURSOR: DefaultHandler(message); return;
        case WM_NCLBUTTONDBLCLK:
            DefaultHandler(message);
            ::OutputDebugStringW(L"nc dbl");
            return;
        default: TAdvCustomToolBarControl::Dispatch(message);
    }
}

void TAdvCustomToolBarButton::CMTextChanged(TMessage& message) {
    DefaultHandler(message);
    AdjustSize();
    Invalidate();
    if (HasState(csDesigning) && !HasState(csLoading) && !Caption().empty()) SetShowCaption(true);
}

void TAdvCustomToolBarButton::CMVisibleChanged(TMessage&) {
    // The class library's own visibility handling is not run. A hidden button's old picture
    // is cleared on its parent (a toolbar without AutoSize would keep showing it otherwise).
    if (Parent() && Parent()->HandleAllocated()) {
        const RECT rect{Left(), Top(), Left() + Width(), Top() + Height()};
        ::InvalidateRect(Parent()->Handle(), &rect, TRUE);
    }
    if (FAdvToolBar && FAdvToolBar->AutoSize()) FAdvToolBar->AdjustToolBarSize();
    if (FAdvQuickAccessToolBar && Parent() == FAdvQuickAccessToolBar->QATWindow())
        FAdvQuickAccessToolBar->ItemVisibilityChanged();
}

void TAdvCustomToolBarButton::CMHintShow(TMessage& message) {
    if (Enabled()) return;
    if (auto* info = reinterpret_cast<THintInfo*>(message.LParam)) info->HintStr.clear();
}

void TAdvCustomToolBarButton::SetEnabled(bool value) {
    TAdvCustomToolBarControl::SetEnabled(value);
}

void TAdvCustomToolBarButton::SetParent(TWinControl* parent) {
    TAdvCustomToolBarControl::SetParent(parent);
    if (auto* container = dynamic_cast<TAdvToolBarContainer*>(parent)) FAdvToolBar = container->AdvToolBar();
}

void TAdvCustomToolBarButton::Notification(TComponent* component, TOperation operation) {
    TAdvCustomToolBarControl::Notification(component, operation);
    if (operation != opRemove || HasState(csDestroying)) return;
    if (component == FDropDownMenu) FDropDownMenu = nullptr;
    if (FMenuItem && component == FMenuItem) SetMenuItem(nullptr);
    if (component && component == FWatchedImages) {
        FWatchedImages = nullptr;
        FImageIndex = -1;
    }
}

// ---------------------------------------------------------------- actions and menu items

std::unique_ptr<TControlActionLink> TAdvCustomToolBarButton::CreateActionLink() {
    return std::make_unique<TAdvToolBarButtonActionLink>(this);
}

void TAdvCustomToolBarButton::ActionChange(TObject* sender, bool checkDefaults) {
    TAdvCustomToolBarControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (checkDefaults || FGroupIndex == 0) SetGroupIndex(action->GroupIndex());
    SetImageIndex(action->ImageIndex());
    SetDown(action->Checked());
}

void TAdvCustomToolBarButton::SetMenuItem(TMenuItem* item) {
    if (item) {
        if (item != FMenuItem) item->FreeNotification(this);
        SetAction(item->Action());
        SetCaption(item->Caption());
        SetDown(item->Checked());
        SetEnabled(item->Enabled());
        SetImageIndex(item->ImageIndex());
        SetVisible(item->Visible());
    }
    FMenuItem = item;
}

void TAdvCustomToolBarButton::SetDropDownMenu(AdvMenus::TAdvPopupMenu* value) {
    if (value == FDropDownMenu) return;
    FDropDownMenu = value;
    if (value) value->FreeNotification(this);
}

int TAdvCustomToolBarButton::VisibleMenuItemCount() const {
    const TMenuItem* items = FDropDownMenu ? FDropDownMenu->Items() : FMenuItem;
    if (!items) return 0;
    int count = 0;
    for (int i = 0; i < items->Count(); ++i)
        if (items->Items(i)->Visible()) ++count;
    return count;
}

// ---------------------------------------------------------------- looks

namespace {

// A copy of the glyph whose every pixel is turned into its grey.
void FillDisabledCopy(TBitmap& target, const TBitmap& source) {
    target.Assign(&source);
    target.SetPixelFormat(pf32bit);
    for (int y = 0; y < target.Height(); ++y) {
        auto* row = static_cast<std::uint32_t*>(target.ScanLine(y));
        for (int x = 0; x < target.Width(); ++x) {
            const std::uint32_t bgra = row[x];
            // Scan lines hold blue, green, red: DisabledGrey takes a colour's red-low order.
            const TColor rgb = TColor(((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16));
            const TColor grey = DisabledGrey(rgb);
            row[x] = (bgra & 0xFF000000u) | (std::uint32_t(grey) & 0xFFFFFFu);
        }
    }
}

}  // namespace

void TAdvCustomToolBarButton::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
    if (FGlyphDisabled->Empty() && value && !value->Empty()) FillDisabledCopy(*FGlyphDisabled, *FGlyph);
    Invalidate();
}

void TAdvCustomToolBarButton::SetGlyphHot(const TBitmap* value) { FGlyphHot->Assign(value); }
void TAdvCustomToolBarButton::SetGlyphDown(const TBitmap* value) { FGlyphDown->Assign(value); }
void TAdvCustomToolBarButton::SetGlyphDisabled(const TBitmap* value) { FGlyphDisabled->Assign(value); }
void TAdvCustomToolBarButton::SetGlyphChecked(const TBitmap* value) { FGlyphChecked->Assign(value); }

void TAdvCustomToolBarButton::SetPicture(const TPicture* value) {
    FPicture->Assign(value);
    Invalidate();
}

void TAdvCustomToolBarButton::SetPictureDisabled(const TPicture* value) {
    FPictureDisabled->Assign(value);
    Invalidate();
}

void TAdvCustomToolBarButton::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    if (FShaded) GenerateShade();
    AdjustSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetAppearance(const TButtonAppearance* value) { FAppearance->Assign(value); }
void TAdvCustomToolBarButton::SetDrawPosition(const TAdvToolBarButtonDrawPosition* value) {
    FDrawPosition->Assign(value);
}
void TAdvCustomToolBarButton::SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value) { FOfficeHint->Assign(value); }

void TAdvCustomToolBarButton::SetGlyphPosition(TGlyphPosition value) {
    if (value == FGlyphPosition) return;
    FGlyphPosition = value;
    AdjustSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetRotateDirection(TRotateDirection value) {
    if (value == FRotateDirection) return;
    FRotateDirection = value;
    Invalidate();
}

void TAdvCustomToolBarButton::SetCanRotate(bool value) {
    if (value == FCanRotate) return;
    FCanRotate = value;
    AdjustSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetShowCaption(bool value) {
    FShowCaption = value;
    AdjustSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetShaded(bool value) {
    FShaded = value;
    if (value && !HasState(csLoading)) GenerateShade();
}

void TAdvCustomToolBarButton::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Invalidate();
}

void TAdvCustomToolBarButton::SetParentStyler(bool value) {
    if (value == FParentStyler) return;
    FParentStyler = value;
    Invalidate();
}

void TAdvCustomToolBarButton::SetDropDownButton(bool value) {
    if (value == FDropDownButton) return;
    FDropDownButton = value;
    AdjustSize();
    Invalidate();
}

TCustomImageList* TAdvCustomToolBarButton::ToolBarImages() const {
    if (FAdvToolBar) return FAdvToolBar->Images();
    if (FAdvQuickAccessToolBar) return FAdvQuickAccessToolBar->QATImages();
    return nullptr;
}

TCustomImageList* TAdvCustomToolBarButton::ToolBarDisabledImages() const {
    if (FAdvToolBar) return FAdvToolBar->DisabledImages();
    if (FAdvQuickAccessToolBar) return FAdvQuickAccessToolBar->QATDisabledImages();
    return nullptr;
}

void TAdvCustomToolBarButton::ImageSource(TCustomImageList*& images, int& index, bool withForce) const {
    images = ToolBarImages();
    index = FImageIndex;
    if (auto* action = dynamic_cast<TCustomAction*>(Action())) {
        if (action->ActionList() && action->ActionList()->Images()) images = action->ActionList()->Images();
        index = action->ImageIndex();
    }
    if (withForce && FForceImageIndex && FImageIndex >= 0 && ToolBarImages()) {
        images = ToolBarImages();
        index = FImageIndex;
    }
}

// ---------------------------------------------------------------- shadow glyph

void TAdvCustomToolBarButton::GenerateShade() {
    WatchImages();
    std::unique_ptr<TBitmap> fromList;
    const TBitmap* source = nullptr;
    TCustomImageList* images = ToolBarImages();
    if (FImageIndex >= 0 && images && FImageIndex < images->Count()) {
        fromList = std::make_unique<TBitmap>(images->Width(), images->Height());
        fromList->Canvas()->Brush()->SetColor(TColor(0xFF00FF));
        fromList->Canvas()->FillRect(TRect(0, 0, images->Width(), images->Height()));
        images->Draw(fromList->Canvas(), 0, 0, FImageIndex, true);
        source = fromList.get();
        FShadedForGlyph = false;
    } else if (!FGlyph->Empty()) {
        source = FGlyph.get();
        FShadedForGlyph = true;
    } else {
        return;
    }
    // A grey silhouette of the image on its transparent colour: every pixel that is not the
    // source's bottom-left colour turns grey.
    TBitmap copy;
    copy.Assign(source);
    copy.SetPixelFormat(pf32bit);
    const int w = copy.Width(), h = copy.Height();
    auto pixel = [&copy](int x, int y) { return static_cast<std::uint32_t*>(copy.ScanLine(y))[x] & 0xFFFFFFu; };
    const std::uint32_t transparent = pixel(0, h - 1);
    FGlyphShade->SetPixelFormat(pf32bit);
    FGlyphShade->SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint32_t*>(FGlyphShade->ScanLine(y));
        for (int x = 0; x < w; ++x) row[x] = pixel(x, y) == transparent ? transparent : 0x808080u;
    }
    FGlyphShade->SetTransparentMode(tmAuto);
    FGlyphShade->SetTransparent(true);
}

void TAdvCustomToolBarButton::WatchImages() {
    TCustomImageList* images = ToolBarImages();
    if (images == FWatchedImages) return;
    if (FWatchedImages) FWatchedImages->RemoveFreeNotification(this);
    FWatchedImages = images;
    if (images) images->FreeNotification(this);
}

// ---------------------------------------------------------------- automatic size

void TAdvCustomToolBarButton::SetupCaptionFont(TCanvas* canvas, float s, bool forDrawing) {
    TCustomAdvToolBarStyler* styler = CurrentStyler();
    AdvMenus::TCustomAdvMenuStyler* menuStyler = styler ? styler->CurrentAdvMenuStyler() : nullptr;
    bool scale = true;
    if (FParentStyler && styler && menuStyler) {
        if (IsMenuButton()) {
            canvas->SetFont(menuStyler->RootItem()->Font());
            if (styler->AdvMenuStyler())
                scale = forDrawing && !menuStyler->RootItem()->UseSystemFont();
        } else {
            canvas->SetFont(styler->ButtonAppearance()->CaptionFont());
        }
    } else {
        canvas->SetFont(Font());
    }
    if (scale) canvas->Font()->SetHeight(RoundEven(canvas->Font()->Height() * s));
}

void TAdvCustomToolBarButton::AdjustSize() {
    WatchImages();
    if (!Parent() || !FAutoSize || HasState(csLoading)) return;
    TCanvas* canvas = Canvas();
    const float s = AdvStyleIF::GetDPIScale(this, canvas);
    TButtonSizeInput input;
    input.Rotated = Rotated();
    input.GlyphPosition = FGlyphPosition;
    input.Offset = FOffSet;
    input.Spacing = FSpacing;
    input.Scale = s;
    input.UnitScale = DPIScaleFactor;
    input.DropDownButton = FDropDownButton;
    input.DropDownSectWidth = FDropDownSectWidth;
    input.OnQuickAccess = FAdvQuickAccessToolBar != nullptr;

    TCustomImageList* images = nullptr;
    int index = -1;
    ImageSource(images, index, false);
    if (index >= 0 && images) {
        input.ImageWidth = images->Width();
        input.ImageHeight = images->Height();
    } else {
        for (const TBitmap* glyph : {FGlyph.get(), FGlyphHot.get(), FGlyphDown.get(), FGlyphChecked.get(),
                                     FGlyphDisabled.get()}) {
            if (glyph->Empty()) continue;
            input.ImageWidth = std::max(input.ImageWidth, glyph->Width());
            input.ImageHeight = std::max(input.ImageHeight, glyph->Height());
        }
        const bool noGlyphs = FGlyph->Empty() && FGlyphHot->Empty() && FGlyphDown->Empty() && FGlyphChecked->Empty();
        if (noGlyphs && FPicture->Graphic() && !FPicture->Graphic()->Empty()) {
            input.ImageWidth = FPicture->Width();
            input.ImageHeight = FPicture->Height();
        }
    }

    const std::wstring caption = Caption();
    if (!input.Rotated) {
        SetupCaptionFont(canvas, s, false);
    } else {
        // A turned button measures in the font of its toolbar's styler, scaled only without
        // an explicit menu styler.
        TCustomAdvToolBarStyler* styler = FAdvToolBar ? FAdvToolBar->CurrentToolBarStyler() : nullptr;
        AdvMenus::TCustomAdvMenuStyler* menuStyler = styler ? styler->CurrentAdvMenuStyler() : nullptr;
        if (FParentStyler && styler && menuStyler)
            canvas->SetFont(IsMenuButton() ? menuStyler->RootItem()->Font() : styler->ButtonAppearance()->CaptionFont());
        else
            canvas->SetFont(Font());
        if (!styler || !styler->AdvMenuStyler())
            canvas->Font()->SetHeight(RoundEven(canvas->Font()->Height() * s));
    }
    if (FShowCaption && !caption.empty()) {
        RECT box{0, 0, 1000, 100};
        ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &box, DT_CALCRECT | DT_SINGLELINE);
        input.TextWidth = int(box.right - box.left);
    }
    if (!input.Rotated) canvas->SetFont(Font());
    input.TextHeight = canvas->TextHeight(L"gh");

    const TButtonExtent extent = ButtonExtent(input);
    if (!input.Rotated) {
        int h = extent.Height;
        bool setHeight = false;
        if (FAdvToolBar) {
            TButtonToolBarFit fit;
            fit.Floating = FAdvToolBar->GetToolBarState() == tsFloating;
            fit.SizeAtDock = FAdvToolBar->SizeAtDock();
            fit.ToolBarHeight = FAdvToolBar->Height();
            fit.CaptionHeight = FAdvToolBar->CaptionHeight();
            fit.CaptionCounts = FAdvToolBar->ShowCaption() &&
                                (FAdvToolBar->InDockPanel() || (FShowCaption && !caption.empty()));
            fit.CanRotate = FCanRotate;
            fit.Horizontal = !IsVerticalItem();
            h = FitButtonHeight(h, fit);
            setHeight = FAdvToolBar->AutoPositionControls() || fit.Floating;
        } else if (FAdvQuickAccessToolBar) {
            h = std::max(h, FAdvQuickAccessToolBar->GetControlsRect().Height() - 1);
            setHeight = true;
        }
        SetBounds(Left(), Top(), extent.Width, setHeight ? h : Height());
    } else {
        const bool setWidth = !FAdvToolBar || FAdvToolBar->AutoPositionControls() ||
                              FAdvToolBar->GetToolBarState() == tsFloating;
        SetBounds(Left(), Top(), setWidth ? extent.Width : Width(), extent.Height);
    }
}

// ---------------------------------------------------------------- published

const TPropertyList& TAdvToolBarButton::Published() {
    using T = TAdvCustomToolBarButton;
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicControl::Published())
            .Add(L"AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp, false)
            .Add(L"AutoSize", &T::AutoSize, &T::SetAutoSize, true)
            .SubObject(L"Appearance", &T::Appearance)
            .Add(L"CanRotate", &T::CanRotate, &T::SetCanRotate, true)
            .Enum(L"GlyphPosition", &T::GlyphPosition, &T::SetGlyphPosition, gpLeft)
            .Add(L"GroupIndex", &T::GroupIndex, &T::SetGroupIndex, 0)
            .Add(L"Down", &T::Down, &T::SetDown, false)
            .Add(L"DropDownButton", &T::DropDownButton, &T::SetDropDownButton, false)
            .Reference(L"DropDownMenu", &T::DropDownMenu, &T::SetDropDownMenu)
            .Add(L"DropDownSplit", &T::DropDownSplit, &T::SetDropDownSplit, true)
            .SubObject(L"DrawPosition", &T::DrawPosition)
            .SubObject(L"Glyph", &T::Glyph)
            .SubObject(L"GlyphHot", &T::GlyphHot)
            .SubObject(L"GlyphDown", &T::GlyphDown)
            .SubObject(L"GlyphDisabled", &T::GlyphDisabled)
            .SubObject(L"GlyphChecked", &T::GlyphChecked)
            .Add(L"ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1)
            .SubObject(L"Picture", &T::Picture)
            .SubObject(L"PictureDisabled", &T::PictureDisabled)
            .Add(L"ParentStyler", &T::ParentStyler, &T::SetParentStyler, true)
            .Enum(L"Position", &T::Position, &T::SetPosition, daTop)
            .Add(L"Shaded", &T::Shaded, &T::SetShaded, true)
            .Add(L"ShowCaption", &T::ShowCaption, &T::SetShowCaption, false)
            .SubObject(L"OfficeHint", &T::OfficeHint)
            .Enum(L"RotateDirection", &T::RotateDirection, &T::SetRotateDirection, rdNormal)
            .Enum(L"Style", &T::Style, &T::SetStyle, tasButton)
            .Add(L"Transparent", &T::Transparent, &T::SetTransparent, true)
            .ReadOnly(L"Version", &T::Version)
            .Event(L"OnDropDown", &T::OnDropDown);
    return list;
}


}  // namespace AdvToolBar
