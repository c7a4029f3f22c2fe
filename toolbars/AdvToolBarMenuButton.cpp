#include "toolbars/AdvToolBarMenuButton.h"

#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvHintInfo.h"
#include "menus/AdvMenus.h"
#include "classlib/Properties.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarQuickAccessLink.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvToolBarMenuButton, TAdvCustomToolBarButton)

TAdvToolBarMenuButton::TAdvToolBarMenuButton(TComponent* owner) : TAdvCustomToolBarButton(owner) {
    SetParentStyler(true);
}

const TPropertyList& TAdvToolBarMenuButton::Published() {
    using T = TAdvCustomToolBarButton;
    static const TPropertyList list =
        TPropertyList::Extend(TGraphicControl::Published())
            .SubObject(L"Appearance", &T::Appearance)
            .Add(L"CanRotate", &T::CanRotate, &T::SetCanRotate, true)
            .Enum(L"GlyphPosition", &T::GlyphPosition, &T::SetGlyphPosition, gpLeft)
            .Add(L"DropDownButton", &T::DropDownButton, &T::SetDropDownButton, false)
            .Reference(L"DropDownMenu", &T::DropDownMenu, &T::SetDropDownMenu)
            .Add(L"DropDownSplit", &T::DropDownSplit, &T::SetDropDownSplit, true)
            .SubObject(L"Glyph", &T::Glyph)
            .SubObject(L"GlyphHot", &T::GlyphHot)
            .SubObject(L"GlyphDown", &T::GlyphDown)
            .SubObject(L"GlyphDisabled", &T::GlyphDisabled)
            .SubObject(L"GlyphChecked", &T::GlyphChecked)
            .Add(L"ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1)
            .SubObject(L"Picture", &T::Picture)
            .Add(L"ParentStyler", &T::ParentStyler, &T::SetParentStyler, true)
            .Enum(L"Position", &T::Position, &T::SetPosition, daTop)
            .Add(L"Shaded", &T::Shaded, &T::SetShaded, true)
            .SubObject(L"OfficeHint", &T::OfficeHint)
            .Add(L"ShowCaption", &T::ShowCaption, &T::SetShowCaption, false)
            .ReadOnly(L"Version", &T::Version)
            .Event(L"OnDropDown", &T::OnDropDown);
    return list;
}

namespace {

struct TFace {
    TColor From = clNone, To = clNone, Text = clNone, Border = clNone, SectionFrom = clNone, SectionTo = clNone;
    bool Horizontal = false;
};

TFace DownFace(const TButtonAppearance& a) {
    return {a.ColorDown(), a.ColorDownTo(), a.CaptionTextColorDown(), a.BorderDownColor(),
            a.ColorHot(),  a.ColorHotTo(),  a.GradientDirectionDown() == gdHorizontal};
}

TFace HotFace(const TButtonAppearance& a) {
    return {a.ColorHot(), a.ColorHotTo(), a.CaptionTextColorHot(), a.BorderHotColor(),
            a.ColorHot(), a.ColorHotTo(), a.GradientDirectionHot() == gdHorizontal};
}

}  // namespace

void TAdvToolBarMenuButton::DrawBackground(TCanvas* canvas) {
    const TRect full = ClientRect();
    // The section keeps its 12 pixels at every DPI, and lies at the bottom on a vertical toolbar.
    const bool bottomStrip = IsVerticalItem();
    const TRect section = DropDownSection(full, FDropDownSectWidth, bottomStrip);
    const TRect content = ContentRect(full, section, FDropDownButton, bottomStrip);
    TCustomAdvToolBarStyler* styler = CurrentStyler();
    // The button's own colours give way to its styler's at every paint.
    if (FAdvToolBar && styler) FAppearance->Assign(styler->ButtonAppearance());
    const TButtonAppearance& a = *FAppearance;
    const bool menuBar = FAdvToolBar && FAdvToolBar->HasMenuBar();
    AdvMenus::TCustomAdvMenuStyler* menuStyler = styler ? styler->CurrentAdvMenuStyler() : nullptr;
    const AdvMenus::TRootItem* r = menuStyler ? menuStyler->RootItem() : nullptr;
    const bool fromRoot = menuBar && r;
    const bool own = !FParentStyler || !styler;
    const bool glass = FAdvQuickAccessToolBar && FAdvQuickAccessToolBar->QATIsGlass();

    TFace face;
    face.Text = a.CaptionTextColor();
    TBitmap* glyph = FGlyph.get();
    const TButtonCase kase = ButtonCase(FState == absDropDown ? absDown : FState, Enabled(), FPropHot,
                                        FMouseDownInControl, FStyle);
    switch (kase) {
        case TButtonCase::Pressed:
        case TButtonCase::DropDown:
            if (own) face = DownFace(a);
            else if (fromRoot)
                face = {r->SelectedColor(), r->SelectedColorTo(), r->SelectedTextColor(), r->SelectedBorderColor(),
                        r->HoverColor(),    r->HoverColorTo(),    r->SelectedGradientDirection() == AdvMenus::gdHorizontal};
            else face = DownFace(*styler->ButtonAppearance());
            glyph = FGlyphDown.get();
            break;
        case TButtonCase::Checked:
            face = {a.ColorChecked(), a.ColorCheckedTo(), a.CaptionTextColorChecked(), a.BorderCheckedColor(),
                    a.ColorChecked(), a.ColorCheckedTo(), a.GradientDirectionChecked() == gdHorizontal};
            glyph = FGlyphChecked.get();
            break;
        case TButtonCase::Hot:
            if (own) face = HotFace(a);
            else if (fromRoot)
                face = {r->HoverColor(), r->HoverColorTo(), r->HoverTextColor(), r->HoverBorderColor(),
                        r->HoverColor(), r->HoverColorTo(), r->HoverGradientDirection() == AdvMenus::gdHorizontal};
            else face = HotFace(*styler->ButtonAppearance());
            glyph = FGlyphHot.get();
            break;
        case TButtonCase::Normal:
            if (FTransparent) {
                if (fromRoot && FParentStyler) face.Text = r->Font()->Color();
            } else if (fromRoot && FParentStyler) {
                face = {r->Color(), r->ColorTo(), r->Font()->Color(), a.BorderColor(),
                        r->Color(), r->ColorTo(), r->GradientDirection() == AdvMenus::gdHorizontal};
            } else {
                face = {a.Color(), a.ColorTo(), a.CaptionTextColor(), a.BorderColor(),
                        a.Color(), a.ColorTo(), a.GradientDirection() == gdHorizontal};
            }
            break;
        case TButtonCase::Disabled:
            if (!FTransparent)
                face = {a.Color(), a.ColorTo(), a.CaptionTextColor(), a.BorderColor(),
                        a.Color(), a.ColorTo(), a.GradientDirection() == gdHorizontal};
            glyph = FGlyphDisabled.get();
            break;
    }
    if (glyph->Empty()) glyph = FGlyph.get();

    if (face.From != clNone) {
        if (face.To != clNone) {
            if (FDropDownButton) DrawGradient(canvas, face.SectionFrom, face.SectionTo, 40, full, face.Horizontal);
            DrawGradient(canvas, face.From, face.To, 40, content, face.Horizontal);
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            if (FDropDownButton) {
                canvas->Brush()->SetColor(face.SectionFrom);
                canvas->Pen()->SetColor(face.SectionFrom);
                canvas->Rectangle(full);
            }
            canvas->Brush()->SetColor(face.From);
            canvas->Pen()->SetColor(face.From);
            canvas->Rectangle(content);
        }
    }
    if (face.Border != clNone) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(face.Border);
        if (FDropDownButton && FDropDownSplit) canvas->Rectangle(full);
        canvas->Rectangle(FDropDownButton && !FDropDownSplit ? TRect(content.Left, content.Top, full.Right, content.Bottom)
                                                             : content);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (FMenuSel && FDropDownSplit) {
        canvas->Pen()->SetColor(TColor(0x800000));
        canvas->MoveTo(content.Left, section.Bottom);
        canvas->LineTo(content.Left, full.Top);
        canvas->LineTo(section.Right - 1, full.Top);
        canvas->LineTo(section.Right - 1, section.Bottom);
    }
    TColor arrow = clBlack;
    if (glass && !HasState(csDesigning) && !FAdvQuickAccessToolBar->QATFullSize() && Enabled() && FState == absUp &&
        !FPropHot) {
        const TCustomForm* form = ParentForm();
        if (form && form->WindowState() == wsMaximized) face.Text = arrow = clWhite;
    }
    if (FDropDownButton) {
        const bool horizontal = !bottomStrip;
        const int x = horizontal ? section.Left + (section.Width() - 5) / 2 : section.Left + (section.Width() - 3) / 2 + 1;
        const int y = horizontal ? section.Top + (section.Height() - 3) / 2 + 1 : section.Top + (section.Height() - 5) / 2;
        if (glass) {
            DrawDropDownArrow(nullptr, canvas, arrow, {x, y});
        } else {
            // Rows (or columns) of 5, 3 and 1 pixels.
            canvas->Pen()->SetColor(arrow);
            for (int i = 0; i < 3; ++i) {
                const int length = 5 - 2 * i;
                if (horizontal) {
                    canvas->MoveTo(x + i, y + i);
                    canvas->LineTo(x + i + length, y + i);
                } else {
                    canvas->MoveTo(x - i, y + i);
                    canvas->LineTo(x - i, y + i + length);
                }
            }
        }
    }
    DrawGlyphAndCaption(canvas, content, face.Text, glyph->Empty() ? nullptr : glyph);
}

}  // namespace AdvToolBar
