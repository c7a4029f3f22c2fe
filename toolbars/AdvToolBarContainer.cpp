#include "toolbars/AdvToolBarContainer.h"

#include <algorithm>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarButton.h"
#include "toolbars/AdvToolBarButtonLayout.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvToolBarContainer, ClassLib::TCustomControl)
using AdvGlowButton::TAdvCustomGlowButton;

TAdvToolBarContainer::TAdvToolBarContainer(TComponent* owner)
    : TCustomControl(owner),
      FColor(std::make_unique<TGradientBackground>()),
      FOfficeHint(std::make_unique<AdvHintInfo::TAdvHintInfo>()) {
    SetControlStyle((ControlStyle() | csAcceptsControls) & ~csOpaque);
    SetDoubleBuffered(true);
    FColor->OnChange = [this](TObject*) {
        TCustomControl::SetColor(FColor->Color());
        Invalidate();
    };
}

TAdvToolBarContainer::~TAdvToolBarContainer() = default;

const TPropertyList& TAdvToolBarContainer::Published() {
    using T = TAdvToolBarContainer;
    static const TPropertyList list =
        TPropertyList::Extend(TCustomControl::Published())
            .SubObject(L"Color", &T::Color)
            .SubObject(L"OfficeHint", &T::OfficeHint)
            .Colour(L"LineColor", &T::LineColor, &T::SetLineColor, clBtnShadow)
            .Add(L"ParentStyler", &T::ParentStyler, &T::SetParentStyler, true)
            .Add(L"Line3D", &T::Line3D, &T::SetLine3D, true)
            .Add(L"Margins", &T::ContainerMargins, &T::SetContainerMargins, 0)
            .Add(L"ShowBorder", &T::ShowBorder, &T::SetShowBorder, true);
    return list;
}

void TAdvToolBarContainer::Loaded() {
    TCustomControl::Loaded();
    ApplyStylerToControls();
    Invalidate();
}

void TAdvToolBarContainer::SetAdvToolBar(TAdvCustomToolBar* value) {
    if (value == FAdvToolBar) return;
    FAdvToolBar = value;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* item = dynamic_cast<TAdvCustomToolBarControl*>(child)) item->SetToolBarLink(value);
        if (value) HookGlowButton(child);
    }
    Invalidate();
}

void TAdvToolBarContainer::HookGlowButton(TControl* control) {
    auto* button = dynamic_cast<TAdvCustomGlowButton*>(control);
    if (!button || !FAdvToolBar) return;
    TAdvCustomToolBar* toolBar = FAdvToolBar;
    button->ToolBarFields().OnInternalKeyDown = [toolBar](TObject* sender, WORD& key, TShiftState shift) {
        toolBar->ItemGlowButtonKeyDown(sender, key, shift);
    };
}

void TAdvToolBarContainer::ApplyStylerToControls() {
    TCustomAdvToolBarStyler* styler = FAdvToolBar ? FAdvToolBar->CurrentToolBarStyler() : nullptr;
    if (!styler) return;
    auto* stylerStyle = dynamic_cast<AdvStyleIF::IOVTStyle*>(styler);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* glow = dynamic_cast<AdvGlowButton::TAdvGlowButton*>(child))
            glow->Appearance()->Assign(styler->GlowButtonAppearance());
        if (stylerStyle && styler->OVTStyle() != AdvStyleIF::tsCustom)
            if (auto* styled = dynamic_cast<AdvStyleIF::IOVTStyle*>(child)) styled->SetComponentStyle(styler->OVTStyle());
    }
}

void TAdvToolBarContainer::ToolBarStylerChanged() {
    ApplyStylerToControls();
    Invalidate();
}

void TAdvToolBarContainer::SetGradientColor(const TGradientBackground* value) {
    FColor->Assign(value);
    Invalidate();
}

void TAdvToolBarContainer::SetOfficeHint(const AdvHintInfo::TAdvHintInfo* value) { FOfficeHint->Assign(value); }

void TAdvToolBarContainer::SetLineColor(TColor value) {
    FLineColor = value;
    Invalidate();
}

void TAdvToolBarContainer::SetParentStyler(bool value) {
    FParentStyler = value;
    Invalidate();
}

void TAdvToolBarContainer::SetLine3D(bool value) {
    FLine3D = value;
    Invalidate();
}

void TAdvToolBarContainer::SetContainerMargins(int value) {
    if (value < 0 || value > 14 || value == FMargins) return;
    FMargins = value;
    Realign();
    KeepControlsInMargins();
}

void TAdvToolBarContainer::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    rect.Inflate(-FMargins, -FMargins);
}

void TAdvToolBarContainer::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    KeepControlsInMargins();
}

void TAdvToolBarContainer::KeepControlsInMargins() {
    if (FInternalUpdating) return;
    FInternalUpdating = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Left() < FMargins) child->SetLeft(FMargins);
        if (child->Top() < FMargins) child->SetTop(FMargins);
    }
    FInternalUpdating = false;
}

void TAdvToolBarContainer::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_CONTROLCHANGE: {
            TCustomControl::Dispatch(message);
            auto* control = reinterpret_cast<TControl*>(message.WParam);
            if (!message.LParam || !control) return;
            HookGlowButton(control);
            if (HasState(csDesigning)) {
                int right = 0;
                for (int i = 0; i < ControlCount(); ++i)
                    if (Controls(i) != control) right = std::max(right, Controls(i)->Left() + Controls(i)->Width());
                if (right > 0 && right < Width()) control->SetLeft(right);
            }
            return;
        }
        case CM_TEXTCHANGED:
            TCustomControl::Dispatch(message);
            Invalidate();
            return;
        case WM_ERASEBKGND:
            TCustomControl::Dispatch(message);
            message.Result = 1;
            return;
        case CM_MOUSEENTER:
            TCustomControl::Dispatch(message);
            Invalidate();
            return;
        default: TCustomControl::Dispatch(message);
    }
}

void TAdvToolBarContainer::PaintParentBackground(HDC dc) {
    TWinControl* parent = Parent();
    if (!parent || Width() <= 0 || Height() <= 0) return;
    // A device-independent bitmap: the parent's painters (GDI+ among them) draw on it as
    // on any bitmap, whatever the target DC is.
    TBitmap image(Width(), Height());
    HDC memory = image.Canvas()->Handle();
    const TPoint origin = ClientToScreen({0, 0});
    // A toolbar whose styler leaves its background transparent paints nothing there itself:
    // what lies under it is its own parent's, so that one paints first.
    std::vector<TWinControl*> layers;
    if (parent->Parent()) layers.push_back(parent->Parent());
    layers.push_back(parent);
    for (TWinControl* layer : layers) {
        // Each paints in its own client coordinates: its pixel under the container's
        // top-left corner lands on the bitmap's (0, 0).
        const TPoint at = layer->ScreenToClient(origin);
        const int saved = ::SaveDC(memory);
        ::SetViewportOrgEx(memory, -at.X, -at.Y, nullptr);
        layer->Perform(WM_ERASEBKGND, WPARAM(memory), 0);
        layer->Perform(WM_PAINT, WPARAM(memory), 0);
        ::RestoreDC(memory, saved);
    }
    ::BitBlt(dc, 0, 0, Width(), Height(), memory, 0, 0, SRCCOPY);
}

void TAdvToolBarContainer::Paint() {
    TCanvas* canvas = Canvas();
    PaintParentBackground(canvas->Handle());
    const TRect r = ClientRect();
    TColor colour = FLineColor;
    bool line3D = FLine3D;
    TCustomAdvToolBarStyler* styler = FAdvToolBar ? FAdvToolBar->CurrentToolBarStyler() : nullptr;
    if (FAdvToolBar && FParentStyler && styler) {
        colour = styler->ContainerAppearance()->LineColor();
        line3D = styler->ContainerAppearance()->Line3D();
    }
    if (colour == clNone || !FShowBorder) return;
    canvas->Brush()->SetStyle(bsClear);
    int captionRight = -1;
    const std::wstring caption = Caption();
    if (!caption.empty()) {
        canvas->Font()->SetColor(clBlack);
        RECT box{r.Left + 10, r.Top, r.Right, r.Bottom};
        ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &box, DT_CALCRECT | DT_SINGLELINE);
        RECT place{r.Left + 10, r.Top, r.Right, r.Bottom};
        ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &place, DT_SINGLELINE);
        captionRight = int(box.right);
    }
    for (const TLineSegment& line : ContainerFrameLines(r, FMargin, captionRight, line3D)) {
        canvas->Pen()->SetColor(line.White ? clWhite : colour);
        canvas->MoveTo(line.From.X, line.From.Y);
        canvas->LineTo(line.To.X, line.To.Y);
    }
    canvas->Brush()->SetStyle(bsSolid);
}

void TWinCtrl::PaintCtrls(TWinControl* control, HDC dc, TControl* first) {
    if (control) (control->*(&TWinCtrl::PaintControls))(dc, first);
}

}  // namespace AdvToolBar
