#include "toolbars/ATBPopupWindow.h"

#include <algorithm>
#include <cmath>

#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Timer.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvOptionLayout.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TATBPopupWindow, ClassLib::TCustomForm)
CLASSLIB_IMPLEMENT(TATBCustomPopupPanel, ClassLib::TCustomPanel)
CLASSLIB_IMPLEMENT(TATBPopupPanel, TATBCustomPopupPanel)

namespace {

int PublishedInt(const TObject* object, const wchar_t* name, int fallback) {
    const TPropInfo* info = object->ClassType().Published().Find(name);
    return info && info->IsOrdinal() && info->GetOrd ? int(info->GetOrd(object)) : fallback;
}

void FillBar(TCanvas* canvas, const TRect& rect, TColor color, TColor colorTo, bool horizontal) {
    if (color != clNone && colorTo != clNone) {
        DrawGradient(canvas, color, colorTo, 40, rect, horizontal);
    } else if (color != clNone) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
        canvas->Pen()->SetColor(color);
        canvas->Rectangle(rect);
    }
}

}  // namespace

// ---------------------------------------------------------------- the item tree

TATBMenuItem::~TATBMenuItem() = default;

TATBMenuItem* TATBMenuItem::Add() {
    FItems.push_back(std::make_unique<TATBMenuItem>());
    FItems.back()->FParentItem = this;
    return FItems.back().get();
}

void TATBMenuItem::Clear() { FItems.clear(); }

TATBMenuItem* TATBMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    return FItems[size_t(index)].get();
}

// ---------------------------------------------------------------- the window

const TPropertyList& TATBPopupWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomForm::Published());
    return list;
}

TATBPopupWindow::TATBPopupWindow(TComponent* owner) : TCustomForm(owner) {
    FHideTimer = new TTimer(this);
    FHideTimer->SetEnabled(false);
    FHideTimer->SetInterval(1);
    FHideTimer->SetOnTimer([this](TObject*) {
        Hide();
        FHideTimer->SetEnabled(false);
        FireEvent(OnDeActivateHide, this);
    });
    FPopupPanel = new TATBPopupPanel(this);
    FPopupPanel->SetParent(this);
}

TATBPopupWindow::~TATBPopupWindow() = default;

void TATBPopupWindow::CreateItems() {
    FItems = std::make_unique<TATBMenuItem>();
    FPopupPanel->SetItems(FItems.get());
}

void TATBPopupWindow::Prepare() {
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetVisible(false);
    SetWidth(10);
    SetHeight(10);
}

void TATBPopupWindow::SetWindowSize() {
    SetHeight(FPopupPanel->GetVisibleHeight());
    SetWidth(FPopupPanel->Width());
}

void TATBPopupWindow::Hide() {
    FPopupPanel->FinishPopup();
    TCustomForm::Hide();
}

HWND TATBPopupWindow::OwnerTopWindow() const {
    TWinControl* from = FAdvToolBar;
    if (!from) from = dynamic_cast<TWinControl*>(Owner());
    if (!from || !from->HandleAllocated()) return nullptr;
    return ::GetAncestor(from->Handle(), GA_ROOT);
}

void TATBPopupWindow::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_ACTIVATE:
            if (LOWORD(message.WParam) != WA_INACTIVE) {
                if (FPopupPanel->HandleAllocated()) ::SetFocus(FPopupPanel->Handle());
                if (HWND top = OwnerTopWindow()) ::SendMessageW(top, WM_NCACTIVATE, 1, 0);
            } else if (FHideOnDeActivate && Visible()) {
                FHideTimer->SetEnabled(true);
            }
            return;
        case WM_NCHITTEST: {
            const TPoint p = ScreenToClient({message.XPos(), message.YPos()});
            message.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : 0;
            return;
        }
        default: TCustomForm::Dispatch(message);
    }
}

// ---------------------------------------------------------------- the gradient panel

const TPropertyList& TATBCustomPopupPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomPanel::Published());
    return list;
}

TATBCustomPopupPanel::TATBCustomPopupPanel(TComponent* owner) : TCustomPanel(owner) {
    SetBevelOuter(bvNone);
    SetBevelWidth(1);
    SetShowCaption(false);
    SetColor(TColor(0xF7F8F9));
}

void TATBCustomPopupPanel::Paint() {
    TCustomPanel::Paint();
    TCanvas* canvas = Canvas();
    if (FColorTo != clNone) DrawGradient(canvas, Color(), FColorTo, 40, ClientRect(), FGradientDirection == gdHorizontal);
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

// ---------------------------------------------------------------- the drawing panel

const TPropertyList& TATBPopupPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TATBCustomPopupPanel::Published());
    return list;
}

TATBPopupPanel::TATBPopupPanel(TComponent* owner)
    : TATBCustomPopupPanel(owner), FItemHeight(int(std::lrint(24 * DPIScaleFactor))) {}

TATBPopupWindow* TATBPopupPanel::Window() const { return dynamic_cast<TATBPopupWindow*>(Owner()); }

void TATBPopupPanel::SetItems(TATBMenuItem* value) {
    FItems = value;
    ArrangeItems();
}

int TATBPopupPanel::IconBarSize() const { return FAdvMenuStyler && FShowIconBar ? FAdvMenuStyler->IconBar()->Size() : 0; }

void TATBPopupPanel::ArrangeItems() {
    if (!FItems) return;
    std::vector<TPopupItemText> texts;
    TATBPopupWindow* window = Window();
    TCustomImageList* images = window && window->AdvToolBar() ? window->AdvToolBar()->Images() : nullptr;
    for (int i = 0; i < FItems->Count(); ++i) {
        TATBMenuItem* item = FItems->Items(i);
        texts.push_back({Canvas()->TextWidth(item->Caption()), item->HasChildren()});
        // A picture among the items opens the picture column.
        if (!FShowImageBar && item->Objects() && images && PublishedInt(item->Objects(), L"ImageIndex", -1) >= 0)
            FShowImageBar = true;
    }
    const TPopupLayout layout =
        ArrangePopupItems(texts, IconBarSize(), FShowImageBar ? FImageBarSize : 0, FItemHeight, FMarginY);
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->SetBoundRect(layout.Items[size_t(i)]);
    SetWidth(layout.Width);
    SetHeight(layout.Height);
}

int TATBPopupPanel::IndexOfItemAt(int x, int y) const {
    if (!FItems) return -1;
    for (int i = 0; i < FItems->Count(); ++i) {
        const TRect& r = FItems->Items(i)->BoundRect();
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return i;
    }
    return -1;
}

void TATBPopupPanel::ToggleCheck(int index) {
    if (!FItems || index < 0 || index >= FItems->Count()) return;
    TATBMenuItem* item = FItems->Items(index);
    TControl* control = item->Objects();
    if (!control) return;
    control->SetVisible(!control->Visible());
    item->SetChecked(control->Visible());
    InvalidateItem(index);
    TATBPopupWindow* window = Window();
    TAdvCustomToolBar* toolBar = window ? window->AdvToolBar() : nullptr;
    if (toolBar && toolBar->OnControlVisibleChange) toolBar->OnControlVisibleChange(toolBar, control);
}

void TATBPopupPanel::InvalidateItem(int index) {
    if (!FItems || index < 0 || index >= FItems->Count() || !HandleAllocated()) return;
    const TRect& r = FItems->Items(index)->BoundRect();
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    ::InvalidateRect(Handle(), &rect, TRUE);
}

void TATBPopupPanel::SetHotItem(int value) {
    if (value == FHotItem) return;
    if (FHotItem >= 0) {
        HideItemPopup();
        const int old = FHotItem;
        FHotItem = -1;
        InvalidateItem(old);
    }
    FHotItem = value;
    if (FHotItem >= 0) InvalidateItem(FHotItem);
}

void TATBPopupPanel::FinishPopup() {
    HideItemPopup();
    FHotItem = -1;
    FPopupItem = -1;
}

void TATBPopupPanel::HideItemPopup() {
    if (FItemPopup && FItemPopup->Visible()) FItemPopup->Hide();
}

void TATBPopupPanel::ShowItemPopup() {
    if (!FItems || FHotItem < 0 || FHotItem >= FItems->Count() || FHotItem == FPopupItem) return;
    HideItemPopup();
    TATBMenuItem* hot = FItems->Items(FHotItem);
    if (!hot->HasChildren()) return;
    TATBPopupWindow* window = Window();
    if (!FItemPopup) {
        FItemPopup = new TATBPopupWindow(this);
        FItemPopup->Prepare();
        FItemPopup->SetAdvToolBar(window ? window->AdvToolBar() : nullptr);
        FItemPopup->OnHide = [this](TObject*) {
            if (TATBPopupWindow* own = Window()) own->SetHideOnDeActivate(true);
            FPopupItem = -1;
        };
        // A deactivation anywhere in the cascade closes every level up to the drop-down.
        FItemPopup->OnDeActivateHide = [this](TObject*) {
            if (TATBPopupWindow* own = Window()) {
                own->Hide();
                FireEvent(own->OnDeActivateHide, own);
            }
        };
    }
    TATBPopupPanel* panel = FItemPopup->PopupPanel();
    panel->SetShowIconBar(true);
    panel->SetAdvMenuStyler(FAdvMenuStyler);
    panel->SetItems(hot);
    FPopupItem = FHotItem;
    panel->ArrangeItems();
    FItemPopup->SetWindowSize();
    if (window) window->SetHideOnDeActivate(false);
    const TRect& b = hot->BoundRect();
    const TPoint corner = ClientToScreen({b.Right + 2, b.Top});
    const int leftX = ClientToScreen({b.Left, 0}).X - FItemPopup->Width();
    const TPoint place = KeepOnArea(corner, {FItemPopup->Width(), FItemPopup->Height()}, Screen->WorkAreaRect(), 2, leftX);
    FItemPopup->SetLeft(place.X);
    FItemPopup->SetTop(place.Y);
    FItemPopup->SetVisible(true);
}

void TATBPopupPanel::MouseMove(TShiftState shift, int x, int y) {
    TATBCustomPopupPanel::MouseMove(shift, x, y);
    const int index = IndexOfItemAt(x, y);
    if (index < 0 || index == FHotItem || (shift & ssLeft)) return;
    SetHotItem(index);
    ShowItemPopup();
}

void TATBPopupPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TATBCustomPopupPanel::MouseUp(button, shift, x, y);
    const int index = IndexOfItemAt(x, y);
    if (index >= 0 && FItems->Items(index)->AutoCheck()) ToggleCheck(index);
}

void TATBPopupPanel::Dispatch(TMessage& message) {
    TATBCustomPopupPanel::Dispatch(message);
    if (message.Msg == CM_MOUSELEAVE && FPopupItem < 0) SetHotItem(-1);
}

void TATBPopupPanel::Paint() {
    TATBCustomPopupPanel::Paint();
    if (!FItems) return;
    TCanvas* canvas = Canvas();
    const TRect r{FMarginX, FMarginY, Width() - FMarginX, Height() - FMarginY};
    if (FAdvMenuStyler && (FShowIconBar || FShowImageBar)) {
        const AdvMenus::TIconBar* bar = FAdvMenuStyler->IconBar();
        const int width = IconBarSize() + (FShowImageBar ? FImageBarSize : 0);
        FillBar(canvas, {r.Left, r.Top, r.Left + width, r.Bottom}, bar->Color(), bar->ColorTo(), true);
    }
    for (int i = 0; i < FItems->Count(); ++i) DrawItem(i);
}

void TATBPopupPanel::DrawItem(int index) {
    TATBMenuItem* item = FItems->Items(index);
    TCanvas* canvas = Canvas();
    const TRect b = item->BoundRect();
    const bool hot = index == FHotItem;
    if (hot && FAdvMenuStyler) {
        const AdvMenus::TSelectedItem* selected = FAdvMenuStyler->SelectedItem();
        FillBar(canvas, b, selected->Color(), selected->ColorTo(),
                selected->GradientDirection() == AdvMenus::gdHorizontal);
        if (selected->BorderColor() != clNone) {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Pen()->SetColor(selected->BorderColor());
            canvas->Rectangle(b);
        }
    }
    int x = b.Left;
    const int icon = IconBarSize();
    if (icon > 0) {
        const TRect column{b.Left, b.Top, b.Left + icon, b.Bottom};
        if (item->AutoCheck())
            DrawCheck(item, {column.Left + 1, column.Top + 1, column.Right - 2, column.Bottom - 1}, hot);
        else if (!FShowImageBar)
            DrawItemImage(item, column);
        x += icon;
    }
    if (FShowImageBar) {
        DrawItemImage(item, {x, b.Top, x + FImageBarSize, b.Bottom});
        x += FImageBarSize;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    RECT text{x + 4, b.Top, b.Right, b.Bottom};
    ::DrawTextW(canvas->Handle(), item->Caption().c_str(), int(item->Caption().size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (item->HasChildren() && FAdvMenuStyler) {
        AdvMenus::TMenuGlyphs* glyphs = FAdvMenuStyler->Glyphs();
        if (glyphs->SubMenu()->Empty()) glyphs->UpdateResources(DPIScaleFactor);
        const int y = (b.Top + b.Bottom - 5) / 2;
        TRect box{b.Right - 8, y, b.Right - 5, y + 6};
        CenterRect(box, glyphs->SubMenu()->Width(), glyphs->SubMenu()->Height());
        canvas->Draw(box.Left, box.Top, glyphs->SubMenu());
    }
}

void TATBPopupPanel::DrawCheck(TATBMenuItem* item, const TRect& rect, bool hot) {
    if (!item->Checked() || !item->Enabled() || !FAdvMenuStyler) return;
    TCanvas* canvas = Canvas();
    const AdvMenus::TMarkedBar* bar = hot ? static_cast<const AdvMenus::TMarkedBar*>(FAdvMenuStyler->SelectedItem())
                                          : FAdvMenuStyler->IconBar();
    if (bar->CheckColorTo() != clNone) {
        DrawGradient(canvas, bar->CheckColor(), bar->CheckColorTo(), 16, rect, true);
    } else if (bar->CheckColor() != clNone) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(bar->CheckColor());
        canvas->Pen()->SetColor(bar->CheckColor());
        canvas->Rectangle(rect);
    }
    const TColor frame = hot ? FAdvMenuStyler->SelectedItem()->BorderColor() : FAdvMenuStyler->IconBar()->CheckBorder();
    if (frame != clNone) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(frame);
        canvas->FrameRect(rect);
    }
    TBitmap* check = FAdvMenuStyler->Glyphs()->Check();
    if (check->Empty()) FAdvMenuStyler->Glyphs()->UpdateResources(DPIScaleFactor);
    canvas->Draw(rect.Left + (rect.Width() - check->Width()) / 2, rect.Top + (rect.Height() - check->Height()) / 2,
                 check);
}

void TATBPopupPanel::DrawItemImage(TATBMenuItem* item, const TRect& rect) {
    TControl* control = item->Objects();
    TATBPopupWindow* window = Window();
    if (!control || !window || !window->AdvToolBar()) return;
    TCustomImageList* images = window->AdvToolBar()->Images();
    const int index = PublishedInt(control, L"ImageIndex", -1);
    if (!images || index < 0 || index >= images->Count()) return;
    // Centred when it fits; a larger image is drawn at its size from the column's corner,
    // clipped by the column.
    const int x = rect.Left + std::max(0, (rect.Width() - images->Width()) / 2);
    const int y = rect.Top + std::max(0, (rect.Height() - images->Height()) / 2);
    images->Draw(Canvas(), x, y, index);
}

}  // namespace AdvToolBar
