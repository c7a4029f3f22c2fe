#include "toolbars/AdvOptionSelector.h"

#include <algorithm>
#include <cmath>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Menus.h"
#include "classlib/Screen.h"
#include "classlib/Timer.h"
#include "menus/AdvMenus.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/ATBPopupWindow.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarCustomizer.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TOptionSelectorWindow, ClassLib::TCustomForm)
CLASSLIB_IMPLEMENT(TOptionSelectorPanel, ClassLib::TCustomPanel)
CLASSLIB_IMPLEMENT(TControlSelectorPanel, TOptionSelectorPanel)
CLASSLIB_IMPLEMENT(TCustomizeOption, TOptionSelectorPanel)

namespace {

void* Entry(TControl* control) { return static_cast<TObject*>(control); }
TControl* ItemOf(const TDbgList& list, int index) {
    return static_cast<TControl*>(static_cast<TObject*>(list.GetItemsEx(index)));
}

double CanvasScale(TCanvas* canvas) {
    const int ppi = ::GetDeviceCaps(canvas->Handle(), LOGPIXELSX);
    return ppi > 0 ? ppi / 96.0 : 1.0;
}

bool Inside(const TRect& rect, int x, int y) {
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

// The entry's fill: a vertical gradient with a black frame, or one colour framed.
void FillEntry(TCanvas* canvas, const TRect& rect, TColor color, TColor colorTo) {
    if (color == clNone) return;
    canvas->Pen()->SetColor(clBlack);
    if (colorTo != clNone) {
        DrawGradient(canvas, color, colorTo, 40, rect, false);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(rect);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
        canvas->Rectangle(rect);
    }
}

void DrawCentred(TCanvas* canvas, TRect rect, const std::wstring& text) {
    canvas->Brush()->SetStyle(bsClear);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    HDC dc = canvas->Handle();
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace

// ---------------------------------------------------------------- the window

const TPropertyList& TOptionSelectorWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomForm::Published());
    return list;
}

TOptionSelectorWindow::TOptionSelectorWindow(TComponent* owner) : TCustomForm(owner) {
    FHideTimer = new TTimer(this);
    FHideTimer->SetEnabled(false);
    FHideTimer->SetInterval(1);
    FHideTimer->SetOnTimer([this](TObject*) {
        FHideTimer->SetEnabled(false);
        Hide();
    });
}

TOptionSelectorWindow::~TOptionSelectorWindow() = default;

void TOptionSelectorWindow::Prepare(int width, int height) {
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetVisible(false);
    SetWidth(width);
    SetHeight(height);
}

void TOptionSelectorWindow::CreateParams(TCreateParams& params) {
    TCustomForm::CreateParams(params);
    // A parent control makes it belong to that control's window; it still opens on its own.
    params.Style = (params.Style | WS_POPUP) & ~DWORD(WS_CHILD);
    if (Parent() && Parent()->HandleAllocated())
        params.WndParent = ::GetAncestor(Parent()->Handle(), GA_ROOT);
}

void TOptionSelectorWindow::SetWindowSize() {
    if (!FOptionsPanel) return;
    SetHeight(FOptionsPanel->GetVisibleHeight());
    SetWidth(FOptionsPanel->Width());
}

void TOptionSelectorWindow::DoHide() {
    TCustomForm::DoHide();
    if (FOptionsPanel) FOptionsPanel->ClearSeparators();
}

HWND TOptionSelectorWindow::OwnerTopWindow() const {
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (!owner || !owner->HandleAllocated()) return nullptr;
    return ::GetAncestor(owner->Handle(), GA_ROOT);
}

void TOptionSelectorWindow::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_ACTIVATE: WMActivate(message); return;
        case WM_NCHITTEST: {
            const TPoint p = ScreenToClient({message.XPos(), message.YPos()});
            message.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : 0;
            return;
        }
        default: TCustomForm::Dispatch(message);
    }
}

void TOptionSelectorWindow::WMActivate(TMessage& message) {
    if (LOWORD(message.WParam) != WA_INACTIVE) {
        if (!FOptionsPanel) return;
        if (Visible()) {
            if (FOptionsPanel->HandleAllocated() && ::IsWindowVisible(FOptionsPanel->Handle()))
                ::SetFocus(FOptionsPanel->Handle());
            // The owner's form keeps an active caption while its drop-down has the focus.
            if (HWND top = OwnerTopWindow()) ::SendMessageW(top, WM_NCACTIVATE, 1, 0);
        } else if (FAdvToolBar && FAdvToolBar->HandleAllocated() && ::IsWindowVisible(FAdvToolBar->Handle())) {
            ::SetFocus(FAdvToolBar->Handle());
        }
        return;
    }
    if (FHideOnDeActivate && Visible()) {
        FHideTimer->SetEnabled(true);
    } else if (FAdvToolBar && FAdvToolBar->FPrevActiveControl) {
        auto* previous = dynamic_cast<TWinControl*>(FAdvToolBar->FPrevActiveControl);
        // Only within the window being activated: focusing into another window would take
        // the activation from the check list or menu that is opening.
        if (previous && previous->HandleAllocated() && ::IsWindowVisible(previous->Handle()) &&
            ::GetAncestor(previous->Handle(), GA_ROOT) == ::GetForegroundWindow())
            ::SetFocus(previous->Handle());
        FAdvToolBar->FPrevActiveControl = nullptr;
    }
}

// ---------------------------------------------------------------- the gradient panel

const TPropertyList& TOptionSelectorPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomPanel::Published());
    return list;
}

TOptionSelectorPanel::TOptionSelectorPanel(TComponent* owner) : TCustomPanel(owner) {
    SetBevelOuter(bvNone);
    SetBevelWidth(1);
    SetShowCaption(false);
    SetColor(TColor(0xF7F8F9));
}

void TOptionSelectorPanel::Paint() {
    TCustomPanel::Paint();
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (FColorTo != clNone)
        DrawGradient(canvas, Color(), FColorTo, 40, client, FGradientDirection == gdHorizontal);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(FWindowBorderColor);
    const int w = Width(), h = Height();
    canvas->MoveTo(0, 0);
    canvas->LineTo(0, h);
    canvas->MoveTo(0, 0);
    canvas->LineTo(w - 1, 0);
    canvas->MoveTo(0, h - 1);
    canvas->LineTo(w - 1, h - 1);
    canvas->MoveTo(w - 1, h);
    canvas->LineTo(w - 1, -1);
}

// ---------------------------------------------------------------- entries

TSelectorItem::TSelectorItem() : FHeight(int(std::lrint(20 * DPIScaleFactor))) {}

// ---------------------------------------------------------------- the content panel

const TPropertyList& TControlSelectorPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TOptionSelectorPanel::Published());
    return list;
}

TControlSelectorPanel::TControlSelectorPanel(TComponent* owner)
    : TOptionSelectorPanel(owner), FControlList(std::make_unique<TDbgList>()),
      FSeparatorList(std::make_unique<TDbgList>()) {
    FAddAndRemoveBtn.SetCaption(L"Add or Remove Buttons");
    FAddAndRemoveBtn.SetWidth(130);
    FOptionsBtn.SetCaption(L"Options");
    FOptionsBtn.SetWidth(130);
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(1);
    FTimer->SetOnTimer([this](TObject*) { HoverTimerTick(); });
}

TControlSelectorPanel::~TControlSelectorPanel() = default;

int TControlSelectorPanel::AddControl(TControl* control) {
    if (!control) return -1;
    control->SetParent(this);
    int index = FControlList->IndexOf(Entry(control));
    if (index < 0) index = FControlList->Add(Entry(control));
    return index;
}

TControl* TControlSelectorPanel::AddSeparator(TControl* separator) {
    if (!separator || !separator->ClassType().CanCreate()) return nullptr;
    auto* copy = dynamic_cast<TControl*>(separator->ClassType().Create(this));
    if (!copy) return nullptr;
    try {
        copy->Assign(separator);
    } catch (const EAssignError&) {
        // A separator class that cannot copy itself still shows its size and look by default.
    }
    copy->SetBounds(0, 0, separator->Width(), separator->Height());
    FSeparatorList->Add(Entry(copy));
    AddControl(copy);
    return copy;
}

void TControlSelectorPanel::ClearSeparators() {
    std::vector<TControl*> copies;
    for (int i = 0; i < FSeparatorList->Count(); ++i) copies.push_back(ItemOf(*FSeparatorList, i));
    FSeparatorList->Clear();
    for (TControl* copy : copies) {
        FControlList->Remove(Entry(copy));
        delete copy;
    }
}

void TControlSelectorPanel::RemoveControl(TControl* control) {
    if (!control) return;
    if (control->Parent() == this) control->SetParent(nullptr);
    if (FControlList->IndexOf(Entry(control)) < 0) return;
    FControlList->Remove(Entry(control));
    ArrangeControls();
}

void TControlSelectorPanel::ClearControls() { FControlList->Clear(); }

int TControlSelectorPanel::ControlListCount() const { return FControlList->Count(); }

TControl* TControlSelectorPanel::ControlListItem(int index) const {
    return index >= 0 && index < FControlList->Count() ? ItemOf(*FControlList, index) : nullptr;
}

bool TControlSelectorPanel::IsEmpty() const {
    return FControlList->Count() == 0 && !FShowAddAndRemoveBtn && !OptionsItemVisible();
}

void TControlSelectorPanel::SetTextAutoOptionMenu(const std::wstring& value) {
    FAddAndRemoveBtn.SetCaption(value);
    UpdateItemWidths();
}

void TControlSelectorPanel::SetTextOptionMenu(const std::wstring& value) {
    if (value == FOptionsBtn.Caption()) return;
    FOptionsBtn.SetCaption(value);
    UpdateItemWidths();
}

void TControlSelectorPanel::UpdateItemWidths() {
    TCanvas* canvas = Canvas();
    const double scale = CanvasScale(canvas);
    canvas->Font()->SetName(L"Tahoma");
    canvas->Font()->SetSize(int(std::lrint(ItemTextFontSize * scale)));
    auto measure = [canvas](const std::wstring& text) {
        RECT r{0, 0, 1000, 100};
        ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        return int(r.right - r.left);
    };
    const int addRemove = FShowAddAndRemoveBtn ? measure(FAddAndRemoveBtn.Caption()) : -1;
    const int options = OptionsItemVisible() ? measure(FOptionsBtn.Caption()) : -1;
    const int width = SelectorEntryWidth(addRemove, options, scale);
    FAddAndRemoveBtn.SetWidth(width);
    FOptionsBtn.SetWidth(width);
}

void TControlSelectorPanel::ArrangeControls() {
    // Children not listed wait out of view above the panel.
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (FControlList->IndexOf(Entry(child)) < 0) child->SetTop(-child->Height() - 2);
    }
    std::vector<TSize> sizes;
    for (int i = 0; i < FControlList->Count(); ++i) {
        const TControl* control = ItemOf(*FControlList, i);
        sizes.push_back({control->Width(), control->Height()});
    }
    TSelectorParams params;
    params.MarginX = FMarginX;
    params.MarginY = FMarginY;
    params.AddRemoveShown = FShowAddAndRemoveBtn;
    params.OptionsShown = OptionsItemVisible();
    params.EntryWidth = FShowAddAndRemoveBtn ? FAddAndRemoveBtn.Width() : FOptionsBtn.Width();
    params.EntryHeight = FAddAndRemoveBtn.Height();
    params.SeparatorSize = FSeparatorSize;
    const TSelectorLayout layout = ArrangeSelector(sizes, params);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControl* control = ItemOf(*FControlList, i);
        control->SetBounds(layout.Places[size_t(i)].X, layout.Places[size_t(i)].Y, control->Width(),
                           control->Height());
    }
    SetWidth(layout.Width);
    SetHeight(layout.Height);
    FAddAndRemoveBtn.SetBRect(layout.AddRemoveRect);
    FOptionsBtn.SetBRect(layout.OptionsRect);
}

void TControlSelectorPanel::DrawEntry(const TSelectorItem& item, bool hot, bool down, bool addRemove,
                                      double scale) {
    TCanvas* canvas = Canvas();
    const TRect rect = item.BRect();
    TColor text = ItemTextColor;
    if (down) {
        FillEntry(canvas, rect, ItemColorDown, ItemColorDownTo);
        text = ItemTextColorDown;
    } else if (hot) {
        FillEntry(canvas, rect, ItemColorHot, ItemColorHotTo);
        text = ItemTextColorHot;
    }
    if (addRemove) canvas->Font()->SetName(L"Tahoma");
    canvas->Font()->SetSize(int(std::lrint(ItemTextFontSize * scale)));
    canvas->Font()->SetColor(text);
    DrawCentred(canvas, {rect.Left, rect.Top, rect.Right - 8, rect.Bottom}, item.Caption());
    canvas->Pen()->SetColor(text);
    canvas->Brush()->SetColor(text);
    const int r = rect.Right, b = rect.Bottom, t = rect.Top;
    if (addRemove) {
        // A small arrow down: rows of 5, 3 and 1 pixels, with a 7-pixel row on top above 96 dpi.
        if (scale > 1) {
            canvas->MoveTo(r - 10, b - 11);
            canvas->LineTo(r - 3, b - 11);
        }
        canvas->MoveTo(r - 9, b - 10);
        canvas->LineTo(r - 4, b - 10);
        canvas->MoveTo(r - 8, b - 9);
        canvas->LineTo(r - 5, b - 9);
        canvas->SetPixels(r - 7, b - 8, text);
    } else {
        const int s = int(std::lrint(6 * DPIScaleFactor));
        canvas->Brush()->SetStyle(bsSolid);
        const TPoint points[] = {{r - s + 2, t + s}, {r, t + s + s / 2}, {r - s + 2, t + 2 * s}};
        canvas->Polygon(points);
    }
}

void TControlSelectorPanel::Paint() {
    TOptionSelectorPanel::Paint();
    TCanvas* canvas = Canvas();
    const bool options = OptionsItemVisible();
    if (FShowAddAndRemoveBtn || options) {
        const int top = (options ? FOptionsBtn.BRect().Top : FAddAndRemoveBtn.BRect().Top) - 4;
        canvas->Pen()->SetColor(TColor(0x808080));
        canvas->MoveTo(0, top);
        canvas->LineTo(Width(), top);
    }
    const double scale = CanvasScale(canvas);
    if (FShowAddAndRemoveBtn)
        DrawEntry(FAddAndRemoveBtn, FAddAndRemoveBtnHot, FAddAndRemoveBtnDown, true, scale);
    if (options) DrawEntry(FOptionsBtn, FOptionsBtnHot, FOptionsBtnDown, false, scale);
}

void TControlSelectorPanel::HideCustomizeWindow() {
    if (!FCustomizeOptionWindow) return;
    FInternalHiding = true;
    struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
    } clear{FInternalHiding};
    FCustomizeOptionWindow->Hide();
}

void TControlSelectorPanel::MouseMove(TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseMove(shift, x, y);
    const bool held = (shift & ssLeft) != 0;
    if (Inside(FAddAndRemoveBtn.BRect(), x, y)) {
        if (!FAddAndRemoveBtnHot && !held) {
            FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = true;
            Invalidate();
            HideCustomizeWindow();
            ShowAddAndRemovePopup();
        }
    } else if (FAddAndRemoveBtnHot) {
        FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = false;
        Invalidate();
    }
    if (Inside(FOptionsBtn.BRect(), x, y)) {
        if (!FOptionsBtnHot && !held) {
            FOptionsBtnHot = FOptionsBtnDown = true;
            Invalidate();
            OpenOptions();
        }
    } else if (FOptionsBtnHot) {
        FOptionsBtnHot = FOptionsBtnDown = false;
        Invalidate();
        if (FCustomizeOptionWindow && y < FOptionsBtn.BRect().Top - 4) HideCustomizeWindow();
    }
}

void TControlSelectorPanel::Dispatch(TMessage& message) {
    if (message.Msg == CM_CONTROLCHANGE && !message.LParam) {
        // A control that leaves the panel (freed, or taken back) must not stay listed.
        TOptionSelectorPanel::Dispatch(message);
        auto* control = reinterpret_cast<TControl*>(message.WParam);
        FControlList->Remove(Entry(control));
        FSeparatorList->Remove(Entry(control));
        // A toolbar item freed while it waits here is not the toolbar's child: tell the toolbar.
        if (control && control->HasState(csDestroying) && AdvToolBar()) AdvToolBar()->UnregisterItem(control);
        return;
    }
    if (message.Msg == CM_MOUSELEAVE) {
        TOptionSelectorPanel::Dispatch(message);
        bool changed = false;
        if (FAddAndRemoveBtnHot || FAddAndRemoveBtnDown) {
            FAddAndRemoveBtnHot = false;
            // Stays down while its check list shows.
            FAddAndRemoveBtnDown = FAddAndRemovePopup && FAddAndRemovePopup->Visible();
            changed = true;
        }
        if (FOptionsBtnHot || FOptionsBtnDown) {
            FOptionsBtnHot = FOptionsBtnDown = false;
            changed = true;
        }
        if (changed) Invalidate();
        return;
    }
    TOptionSelectorPanel::Dispatch(message);
}

TOptionSelectorWindow* TControlSelectorPanel::ParentWindow() const {
    return dynamic_cast<TOptionSelectorWindow*>(Parent());
}

void TControlSelectorPanel::ShowAddAndRemovePopup() {
    if (!FShowAddAndRemoveBtn || (FAddAndRemovePopup && FAddAndRemovePopup->Visible())) return;
    TOptionSelectorWindow* window = ParentWindow();
    if (!FAddAndRemovePopup) {
        FAddAndRemovePopup = new TATBPopupWindow(this);
        FAddAndRemovePopup->CreateItems();
        FAddAndRemovePopup->Prepare();
        FAddAndRemovePopup->SetAdvToolBar(window ? window->AdvToolBar() : nullptr);
        FAddAndRemovePopup->OnHide = [this](TObject*) {
            if (TOptionSelectorWindow* owner = ParentWindow()) owner->SetHideOnDeActivate(true);
            FAddAndRemoveBtnDown = false;
            Invalidate();
        };
        FAddAndRemovePopup->OnDeActivateHide = [this](TObject*) {
            if (TOptionSelectorWindow* owner = ParentWindow()) owner->Hide();
            FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = false;
        };
    }
    TATBPopupPanel* panel = FAddAndRemovePopup->PopupPanel();
    TATBMenuItem* root = FAddAndRemovePopup->Items();
    root->Clear();
    panel->SetShowIconBar(true);
    if (TAdvCustomToolBar* toolBar = window ? window->AdvToolBar() : nullptr) {
        panel->SetAdvMenuStyler(toolBar->CurrentToolBarStyler()->CurrentAdvMenuStyler());
        TATBMenuItem* caption = root->Add();
        caption->SetCaption(toolBar->Caption());
        for (int i = 0; i < toolBar->ToolBarControlCount(); ++i) {
            TControl* control = toolBar->ToolBarControls(i);
            if (toolBar->IsSeparatorItem(control)) continue;
            TATBMenuItem* item = caption->Add();
            item->SetAutoCheck(true);
            item->SetChecked(control->Visible());
            item->SetObjects(control);
            item->SetCaption(TAdvCustomToolBar::ItemCaption(control));
        }
    }
    panel->ArrangeItems();
    FAddAndRemovePopup->SetWindowSize();
    if (window) window->SetHideOnDeActivate(false);
    const TPoint corner = ClientToScreen({FAddAndRemoveBtn.BRect().Right, FAddAndRemoveBtn.BRect().Top});
    const int leftX = ClientToScreen({FAddAndRemoveBtn.BRect().Left, 0}).X - FAddAndRemovePopup->Width();
    const TPoint place = KeepOnArea(corner, {FAddAndRemovePopup->Width(), FAddAndRemovePopup->Height()},
                                    Screen->WorkAreaRect(), 2, leftX);
    FAddAndRemovePopup->SetLeft(place.X);
    FAddAndRemovePopup->SetTop(place.Y);
    FAddAndRemovePopup->SetVisible(true);
    if (FAddAndRemovePopup->HandleAllocated()) ::SetFocus(FAddAndRemovePopup->Handle());
}

void TControlSelectorPanel::HideAddAndRemovePopup() {
    if (!FAddAndRemovePopup || !FAddAndRemovePopup->Visible()) return;
    FAddAndRemovePopup->Hide();
}

int TControlSelectorPanel::OptionsMenuWidth() {
    if (!FOptionsMenu) return 0;
    TMenuItem* items = FOptionsMenu->Items();
    TMenuItem* widest = nullptr;
    int widestText = -1;
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        const int width = Canvas()->TextWidth(item->Caption());
        if (width > widestText) {
            widestText = width;
            widest = item;
        }
    }
    if (!widest) return 0;
    // Owner-drawn items: the width the menu will take comes from the item's own measure.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = UINT(widest->Command());
    measure.itemWidth = 10;
    measure.itemHeight = 10;
    if (HWND list = PopupListWindow()) ::SendMessageW(list, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    return int(measure.itemWidth);
}

void TControlSelectorPanel::OpenOptions() {
    TAdvCustomToolBar* toolBar = AdvToolBar();
    if (!toolBar || (!FOptionsMenu && !FCustomizer)) return;
    if (FShowAddAndRemoveBtn) {
        HideAddAndRemovePopup();
        FTimer->SetEnabled(true);
    }
    int width = 0;
    if (FOptionsMenu) {
        width = OptionsMenuWidth();
    } else {
        if (!FCustomizeOptionWindow) {
            FCustomizeOptionWindow = new TOptionSelectorWindow(this);
            FCustomizeOptionWindow->SetParent(toolBar);
            FCustomizeOptionWindow->Prepare(100, 40);
            FCustomizeOptionWindow->OnHide = [this](TObject*) {
                if (FInternalHiding) return;
                if (TOptionSelectorWindow* owner = ParentWindow()) owner->Hide();
            };
            FCustomizeOptionPanel = new TCustomizeOption(FCustomizeOptionWindow);
            FCustomizeOptionPanel->SetParent(FCustomizeOptionWindow);
        }
        FCustomizeOptionPanel->SetAdvToolBar(toolBar);
        FCustomizeOptionPanel->SetCustomizeText(FCustomizer->DialogSettings()->Customize + L" " + toolBar->Caption());
        FCustomizeOptionPanel->AdjustOptionSize();
        FCustomizeOptionWindow->SetOptionsPanel(FCustomizeOptionPanel);
        FCustomizeOptionWindow->SetWindowSize();
        width = FCustomizeOptionWindow->Width();
    }
    const TRect entry = FOptionsBtn.BRect();
    TPoint place = ClientToScreen({entry.Right + 3, entry.Top});
    const TMonitor monitor = Screen->MonitorFromPoint(place);
    const int right = monitor.Handle ? monitor.Left() + monitor.Width() : Screen->Width();
    if (place.X + width > right) place = ClientToScreen({entry.Left - width, entry.Top});
    TOptionSelectorWindow* window = ParentWindow();
    if (window) window->SetHideOnDeActivate(false);
    if (FOptionsMenu) {
        FOptionsMenu->Popup(place.X, place.Y);
        FOptionsBtnHot = FOptionsBtnDown = false;
        FTimer->SetEnabled(false);
        const TPoint cursor = ScreenToClient(Mouse->CursorPos());
        if (window && !(FShowAddAndRemoveBtn && Inside(FAddAndRemoveBtn.BRect(), cursor.X, cursor.Y))) window->Hide();
    } else {
        FCustomizeOptionWindow->SetLeft(place.X);
        FCustomizeOptionWindow->SetTop(place.Y);
        FCustomizeOptionWindow->Show();
    }
    if (window) window->SetHideOnDeActivate(true);
    Invalidate();
}

void TControlSelectorPanel::HoverTimerTick() {
    if (!HandleAllocated()) return;
    const TPoint cursor = ScreenToClient(Mouse->CursorPos());
    if (!Inside(FAddAndRemoveBtn.BRect(), cursor.X, cursor.Y)) return;
    FTimer->SetEnabled(false);
    // A click outside the open options menu closes it; the hover then opens the check list.
    const LPARAM point = MAKELPARAM(cursor.X, cursor.Y);
    ::PostMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(Handle(), WM_LBUTTONUP, MK_LBUTTON, point);
}

// ---------------------------------------------------------------- the customize entry

const TPropertyList& TCustomizeOption::Published() {
    static const TPropertyList list = TPropertyList::Extend(TOptionSelectorPanel::Published());
    return list;
}

TCustomizeOption::TCustomizeOption(TComponent* owner) : TOptionSelectorPanel(owner) {}

void TCustomizeOption::AdjustOptionSize() {
    SetHeight(25);
    SetWidth(Canvas()->TextWidth(FCustomizeText) + 2 * FMarginX + 12);
}

TRect TCustomizeOption::ButtonRect() const { return {FMarginX, FMarginY, Width() - FMarginX, Height() - FMarginY}; }

void TCustomizeOption::Paint() {
    TOptionSelectorPanel::Paint();
    TAdvCustomToolBar* toolBar = AdvToolBar();
    if (!toolBar) return;
    TCustomAdvToolBarStyler* styler = toolBar->CurrentToolBarStyler();
    TCanvas* canvas = Canvas();
    const TButtonAppearance* look = styler->ButtonAppearance();
    TColor text = look->CaptionTextColor();
    if (FCustomizeBtnDown) {
        FillEntry(canvas, ButtonRect(), look->ColorDown(), look->ColorDownTo());
        text = look->CaptionTextColorDown();
    } else if (FCustomizeBtnHot) {
        FillEntry(canvas, ButtonRect(), look->ColorHot(), look->ColorHotTo());
        text = look->CaptionTextColorHot();
    }
    canvas->Font()->SetColor(text);
    TRect rect = ButtonRect();
    rect.Left += 4;
    rect.Right -= 4;
    DrawCentred(canvas, rect, FCustomizeText);
}

void TCustomizeOption::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseDown(button, shift, x, y);
    if (Inside(ButtonRect(), x, y) && !FCustomizeBtnDown) {
        FCustomizeBtnHot = FCustomizeBtnDown = true;
        Invalidate();
    }
}

void TCustomizeOption::MouseMove(TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseMove(shift, x, y);
    if (Inside(ButtonRect(), x, y)) {
        if (!FCustomizeBtnHot && !(shift & ssLeft)) {
            FCustomizeBtnHot = FCustomizeBtnDown = true;
            Invalidate();
        }
    } else if (FCustomizeBtnHot) {
        FCustomizeBtnHot = FCustomizeBtnDown = false;
        Invalidate();
    }
}

void TCustomizeOption::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseUp(button, shift, x, y);
    if (!FCustomizeBtnDown || !Inside(ButtonRect(), x, y)) return;
    FCustomizeBtnHot = FCustomizeBtnDown = false;
    Invalidate();
    if (auto* window = dynamic_cast<TOptionSelectorWindow*>(Owner())) window->Hide();
    if (TAdvCustomToolBar* toolBar = AdvToolBar()) toolBar->ShowCustomizer();
}

void TCustomizeOption::Dispatch(TMessage& message) {
    TOptionSelectorPanel::Dispatch(message);
    if (message.Msg == CM_MOUSELEAVE && (FCustomizeBtnHot || FCustomizeBtnDown)) {
        FCustomizeBtnHot = FCustomizeBtnDown = false;
        Invalidate();
    }
}

}  // namespace AdvToolBar
