#include "toolbars/AdvToolBarSeparator.h"

#include "classlib/Properties.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvToolBarSeparator, TAdvCustomToolBarControl)

TAdvToolBarSeparator::TAdvToolBarSeparator(TComponent* owner) : TAdvCustomToolBarControl(owner) {
    FAutoSize = true;
    SetBounds(0, 0, 10, 22);
}

const TPropertyList& TAdvToolBarSeparator::Published() {
    using T = TAdvToolBarSeparator;
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicControl::Published())
            .Enum(L"SeparatorStyle", &T::SeparatorStyle, &T::SetSeparatorStyle, ssOffice2003)
            .Colour(L"LineColor", &T::LineColor, &T::SetLineColor, clBtnShadow);
    return list;
}

void TAdvToolBarSeparator::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvToolBarSeparator*>(source)) {
        SetSeparatorStyle(other->FSeparatorStyle);
        SetLineColor(other->FLineColor);
        return;
    }
    TAdvCustomToolBarControl::Assign(source);
}

void TAdvToolBarSeparator::SetSeparatorStyle(TAdvSeparatorStyle value) {
    if (value == FSeparatorStyle) return;
    FSeparatorStyle = value;
    Invalidate();
}

void TAdvToolBarSeparator::SetLineColor(TColor value) {
    if (value == FLineColor) return;
    FLineColor = value;
    Invalidate();
}

void TAdvToolBarSeparator::AdjustSize() {
    if (!FAutoSize) return;
    if (!IsVerticalItem()) {
        int height = Height();
        if (FAdvToolBar && FAdvToolBar->AutoPositionControls())
            height = FAdvToolBar->PageHost() ? FAdvToolBar->Height() - FAdvToolBar->CaptionHeight() - 4
                                             : FAdvToolBar->Height() - 4;
        SetBounds(Left(), Top(), 10, height);
    } else {
        SetBounds(Left(), Top(), FAdvToolBar ? FAdvToolBar->Width() - 4 : Width(), 10);
    }
}

void TAdvToolBarSeparator::Paint() {
    if (FSeparatorStyle == ssBlank) return;
    TCanvas* canvas = Canvas();
    for (const TLineSegment& line : SeparatorLines(ClientRect(), IsVerticalItem())) {
        canvas->Pen()->SetColor(line.White ? clWhite : FLineColor);
        canvas->MoveTo(line.From.X, line.From.Y);
        canvas->LineTo(line.To.X, line.To.Y);
    }
}

}  // namespace AdvToolBar
