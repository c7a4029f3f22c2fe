#include "classlib/SpeedButton.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TSpeedButton, TGraphicControl)

const TPropertyList& TSpeedButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TGraphicControl::Published())
        .Add(L"NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1)
        .Add(L"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
        .Add(L"Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
        .Add(L"GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
        .Add(L"AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
    return list;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
    FControlStyle = csCaptureMouse | csDoubleClicks;
    TControl::SetBounds(0, 0, 23, 22);
    FGlyph->SetOnChange([this](TObject*) { Invalidate(); });
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* value) {
    if (value) FGlyph->Assign(value);
    else FGlyph->SetSize(0, 0);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs) return;
    FNumGlyphs = value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
    if (value == FFlat) return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0) value = false;
    if (value == FDown) return;
    FDown = value;
    FState = value ? bsExclusive : bsUp;
    Invalidate();
}

void TSpeedButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_MOUSEENTER:
            FMouseInControl = true;
            Invalidate();
            break;
        case CM_MOUSELEAVE:
            FMouseInControl = false;
            Invalidate();
            break;
        case CM_ENABLEDCHANGED:
            Invalidate();
            break;
        default: break;
    }
    TGraphicControl::Dispatch(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging) return;
    const TButtonState wanted = FDown ? bsExclusive : (ClientRect().Contains({x, y}) ? bsDown : bsUp);
    if (wanted != FState) {
        FState = wanted;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool wasDragging = FDragging && button == mbLeft;
    if (wasDragging) FDragging = false;
    const bool inside = ClientRect().Contains({x, y});
    if (wasDragging) {
        if (FGroupIndex != 0 && inside) SetDown(!FDown || !FAllowAllUp ? true : false);
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    // The click comes before the release event, as with a push button.
    if (wasDragging && inside) Click();
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::DrawGlyph(TCanvas* canvas, int x, int y) {
    if (FGlyph->Empty()) return;
    const int width = FGlyph->Width() / FNumGlyphs;
    int image = 0;
    switch (Enabled() ? FState : bsDisabled) {
        case bsUp: image = 0; break;
        case bsDisabled: image = 1; break;
        case bsDown: image = 2; break;
        case bsExclusive: image = 3; break;
    }
    if (image >= FNumGlyphs) image = 0;
    HDC source = FGlyph->Canvas()->Handle();
    const COLORREF key = ::GetPixel(source, 0, FGlyph->Height() - 1);
    ::TransparentBlt(canvas->Handle(), x, y, width, FGlyph->Height(), source, image * width, 0, width,
                     FGlyph->Height(), key);
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    RECT r = ToRECT(rect);
    const bool pressed = FState == bsDown || FState == bsExclusive;
    HDC dc = canvas->Handle();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    if (!FFlat) {
        ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (pressed || (FMouseInControl && Enabled())) {
        ::DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    const int shift = pressed ? 1 : 0;
    const std::wstring caption = Caption();
    const int glyphWidth = FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs;
    const int glyphHeight = FGlyph->Empty() ? 0 : FGlyph->Height();
    canvas->Font()->Assign(Font());
    const int textWidth = caption.empty() ? 0 : canvas->TextWidth(caption);
    const int gap = glyphWidth > 0 && textWidth > 0 ? 4 : 0;
    int x = (rect.Width() - glyphWidth - gap - textWidth) / 2 + shift;
    DrawGlyph(canvas, x, (rect.Height() - glyphHeight) / 2 + shift);
    if (!caption.empty()) {
        x += glyphWidth + gap;
        canvas->Brush()->SetStyle(bsClear);
        if (!Enabled()) canvas->Font()->SetColor(clGrayText);
        canvas->TextOut(x, (rect.Height() - canvas->TextHeight(caption)) / 2 + shift, caption);
    }
}

}  // namespace ClassLib
