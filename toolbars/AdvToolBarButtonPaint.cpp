// How a toolbar button paints itself: the face for its visual case, the drop-down section and
// chevron, the open-menu frame, then its image (with the shadow while hot) and caption.
#include <algorithm>

#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarButton.h"
#include "toolbars/AdvToolBarQuickAccessLink.h"

namespace AdvToolBar {

using namespace ClassLib;

namespace {

UINT DrawTextFormat(unsigned format) {
    UINT flags = 0;
    if (format & cfSingleLine) flags |= DT_SINGLELINE;
    if (format & cfCenter) flags |= DT_CENTER;
    if (format & cfVCenter) flags |= DT_VCENTER;
    if (format & cfRight) flags |= DT_RIGHT;
    if (format & cfBottom) flags |= DT_BOTTOM;
    if (format & cfEndEllipsis) flags |= DT_END_ELLIPSIS;
    return flags;
}

void DrawCaptionText(TCanvas* canvas, const std::wstring& text, TRect rect, UINT format) {
    RECT box = ToRECT(rect);
    ::DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &box, format);
}

void SolidRectangle(TCanvas* canvas, TColor colour, const TRect& rect) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(colour);
    canvas->Pen()->SetColor(colour);
    canvas->Rectangle(rect);
}

}  // namespace

void TAdvCustomToolBarButton::Paint() {
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown) FState = absDown;
    TCanvas* canvas = Canvas();
    DrawBackground(canvas);
    const bool empty = FImageIndex == -1 && (!FShowCaption || Caption().empty()) && FGlyph->Empty() &&
                       (!FPicture->Graphic() || FPicture->Graphic()->Empty());
    if (HasState(csDesigning) && empty) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(TColor(0xFF0000));
        canvas->Pen()->SetStyle(psDot);
        canvas->Rectangle(0, 0, Width() - 1, Height() - 1);
        canvas->Pen()->SetStyle(psSolid);
    }
}

void TAdvCustomToolBarButton::DrawBackground(TCanvas* canvas) {
    const TRect full = ClientRect();
    const bool bottomStrip = Rotated();
    const TRect section = DropDownSection(full, RoundEven(FDropDownSectWidth * DPIScaleFactor), bottomStrip);
    const TRect content = ContentRect(full, section, FDropDownButton, bottomStrip);
    TCustomAdvToolBarStyler* styler = CurrentStyler();
    const TButtonAppearance* a = FAppearance.get();
    const TButtonAppearance* b = FParentStyler && styler ? styler->ButtonAppearance() : a;
    const bool glass = FAdvQuickAccessToolBar && FAdvQuickAccessToolBar->QATIsGlass();

    TColor from = clNone, to = clNone, text = b->CaptionTextColor(), border = clNone;
    TColor sectionFrom = clNone, sectionTo = clNone;
    TGradientDirection direction = gdVertical;
    TBitmap* glyph = FGlyph.get();
    switch (ButtonCase(FState, Enabled(), FPropHot, FMouseDownInControl, FStyle)) {
        case TButtonCase::DropDown: break;
        case TButtonCase::Pressed:
            from = b->ColorDown(), to = b->ColorDownTo(), text = b->CaptionTextColorDown();
            border = b->BorderDownColor(), sectionFrom = b->ColorHot(), sectionTo = b->ColorHotTo();
            direction = b->GradientDirectionDown();
            glyph = FGlyphDown.get();
            break;
        case TButtonCase::Checked:
            from = b->ColorChecked(), to = b->ColorCheckedTo(), text = b->CaptionTextColorChecked();
            border = b->BorderCheckedColor(), sectionFrom = from, sectionTo = to;
            direction = b->GradientDirectionChecked();
            glyph = FGlyphChecked.get();
            break;
        case TButtonCase::Hot:
            from = b->ColorHot(), to = b->ColorHotTo(), text = b->CaptionTextColorHot();
            border = b->BorderHotColor(), sectionFrom = from, sectionTo = to;
            direction = b->GradientDirectionHot();
            glyph = FGlyphHot.get();
            break;
        case TButtonCase::Normal:
        case TButtonCase::Disabled: {
            const bool disabled = !Enabled() || FState == absDisabled;
            if (!FTransparent) {
                from = a->Color(), to = a->ColorTo(), border = a->BorderColor();
                sectionFrom = from, sectionTo = to;
            }
            text = disabled ? a->CaptionTextColor() : b->CaptionTextColor();
            direction = a->GradientDirection();
            glyph = disabled ? FGlyphDisabled.get() : FGlyph.get();
            break;
        }
    }
    if (glyph->Empty()) glyph = FGlyph.get();
    const bool horizontal = direction == gdHorizontal;

    // Fill.
    if (from != clNone) {
        if (to != clNone) {
            if (glass) {
                if (FDropDownButton) DrawButtonGlow(nullptr, canvas, sectionFrom, sectionTo, full);
                DrawButtonGlow(nullptr, canvas, from, to, content);
            } else {
                if (FDropDownButton) DrawGradient(canvas, sectionFrom, sectionTo, 40, full, horizontal);
                DrawGradient(canvas, from, to, 40, content, horizontal);
            }
        } else if (glass) {
            if (FDropDownButton) DrawButtonGlow(nullptr, canvas, sectionFrom, sectionFrom, full);
            DrawButtonGlow(nullptr, canvas, from, from, content);
        } else {
            if (FDropDownButton) SolidRectangle(canvas, sectionFrom, full);
            SolidRectangle(canvas, from, content);
        }
    }

    // Border.
    if (border != clNone) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(border);
        if (FDropDownButton && FDropDownSplit) {
            if (glass) DrawRectGDIP(nullptr, canvas, border, TRect(full.Left, full.Top, full.Right - 1, full.Bottom - 1));
            else canvas->Rectangle(full);
        }
        const bool whole = FDropDownButton && !FDropDownSplit;
        if (glass) {
            const TRect outline = whole ? TRect(content.Left, content.Top, full.Right, full.Bottom)
                                        : TRect(content.Left, content.Top, content.Right - 1, content.Bottom - 1);
            DrawRectGDIP(nullptr, canvas, border, outline);
        } else {
            canvas->Rectangle(whole ? TRect(content.Left, content.Top, full.Right, content.Bottom) : content);
        }
        canvas->Brush()->SetStyle(bsSolid);
    }

    // The open menu: a navy frame over the content and the section, open at the bottom.
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
        if (form && form->WindowState() == wsMaximized) text = arrow = clWhite;
    }

    if (FDropDownButton) {
        if (glass) {
            const bool turned = bottomStrip;
            const int x = turned ? section.Left + (section.Width() - 3) / 2 + (FPosition == daLeft ? 2 : 1)
                                 : section.Left + (section.Width() - 5) / 2;
            const int y = turned ? section.Top + (section.Height() - 5) / 2
                                 : section.Top + (section.Height() - 3) / 2 + 1;
            DrawDropDownArrow(nullptr, canvas, arrow, {x, y});
        } else {
            const int cx = section.Left + section.Width() / 2, cy = section.Top + section.Height() / 2;
            const auto points = ChevronPoints(cx, cy, DPIScaleFactor);
            canvas->Pen()->SetColor(arrow);
            canvas->MoveTo(points[0].X, points[0].Y);
            canvas->LineTo(points[1].X, points[1].Y);
            canvas->LineTo(points[2].X, points[2].Y);
        }
    }
    DrawGlyphAndCaption(canvas, content, text, glyph->Empty() ? nullptr : glyph);
}

void TAdvCustomToolBarButton::DrawGlyphAndCaption(TCanvas* canvas, const TRect& rect, TColor textColor,
                                                   TBitmap* glyph) {
    canvas->SetFont(Font());
    const float s = AdvStyleIF::GetDPIScale(this, canvas);
    const std::wstring caption = Caption();
    const bool showText = FShowCaption && !caption.empty();
    const bool rotated = Rotated();
    const bool enabled = Enabled() && FState != absDisabled;
    const bool glass = FAdvQuickAccessToolBar && FAdvQuickAccessToolBar->QATIsGlass();

    TGlyphCaptionInput input;
    input.Rect = rect;
    input.ButtonHeight = Height();
    input.ButtonWidth = Width();
    input.Spacing = FSpacing;
    input.GlyphPosition = FGlyphPosition;
    input.Rotated = rotated;
    input.AutoSize = FAutoSize;
    if (showText) {
        SetupCaptionFont(canvas, s, true);
        RECT box{0, 0, 1000, 100};
        ::DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &box, DT_CALCRECT | DT_SINGLELINE);
        if (rotated) canvas->Font()->SetOrientation(FRotateDirection == rdNormal ? -900 : 900);
        input.HasText = true;
        input.TextWidth = int(box.right - box.left);
        input.TextHeight = int(box.bottom - box.top);
    }

    // The image: the list, else the state's glyph, else the picture.
    TCustomImageList* images = nullptr;
    int index = -1;
    ImageSource(images, index, true);
    bool fromDisabledList = false;
    if (!enabled && images && ToolBarDisabledImages() && index >= 0) {
        images = ToolBarDisabledImages();
        fromDisabledList = true;
    }
    const bool useList = images && index >= 0 && index < images->Count();
    TGraphic* picture = nullptr;
    if (!useList && !glyph) {
        if (!enabled && FPictureDisabled->Graphic() && !FPictureDisabled->Graphic()->Empty())
            picture = FPictureDisabled->Graphic();
        else if (FPicture->Graphic() && !FPicture->Graphic()->Empty())
            picture = FPicture->Graphic();
    }
    if (useList) {
        input.HasImage = true;
        input.ImageWidth = images->Width();
        input.ImageHeight = images->Height();
    } else if (glyph) {
        input.HasImage = true;
        input.ImageWidth = glyph->Width();
        input.ImageHeight = glyph->Height();
    } else if (picture) {
        input.HasImage = true;
        input.ImageWidth = picture->Width();
        input.ImageHeight = picture->Height();
    }
    if (FDrawPosition->Enabled()) {
        input.FixedPosition = true;
        input.FixedImageX = FDrawPosition->ImageX();
        input.FixedImageY = FDrawPosition->ImageY();
        input.FixedTextX = FDrawPosition->TextX();
        input.FixedTextY = FDrawPosition->TextY();
    }
    const TGlyphCaptionPlace place = PlaceGlyphAndCaption(input);
    const int x = place.Image.X, y = place.Image.Y;

    // The shadow, under the image while hot and at rest.
    if (input.HasImage && FMouseInControl && FPropHot && FShaded && Enabled() && FState == absUp &&
        !FMouseDownInControl && !FGlyphShade->Empty()) {
        // List drawing wants a shadow of the list's image, bitmap or picture drawing one of Glyph.
        if (FShadedForGlyph == useList) GenerateShade();
        if (!glass && !FGlyphShade->Empty()) {
            FGlyphShade->SetTransparent(true);
            canvas->Draw(x + 2, y + 2, FGlyphShade.get());
        }
    }

    if (useList) {
        if (glass) DrawImageListGDIP(nullptr, canvas, {x, y}, images, index, enabled);
        else images->Draw(canvas, x, y, index, fromDisabledList || Enabled());
    } else if (glyph) {
        if (glass) {
            DrawGraphicGDIP(nullptr, canvas, {x, y}, glyph, true);
        } else {
            glyph->SetTransparentMode(tmAuto);
            glyph->SetTransparent(true);
            canvas->Draw(x, y, glyph);
        }
    } else if (picture) {
        if (glass) DrawGraphicGDIP(nullptr, canvas, {x, y}, picture, true);
        else canvas->Draw(x, y, picture);
    }

    if (!showText) return;
    canvas->Font()->SetColor(textColor);
    canvas->Brush()->SetStyle(bsClear);
    const bool styled = IsCustomStyleEnabled();
    if (rotated) {
        TPoint origin = place.TextOrigin;
        if (FRotateDirection == rdReverse) origin = ReverseTextOrigin(place, input.TextWidth, input.TextHeight);
        if (!enabled) {
            canvas->Font()->SetColor(clBtnHighlight);
            if (styled) {
                const TColor colour = GetStyleServices().StyleFontColor(AdvStyleIF::sfButtonTextDisabled);
                canvas->Font()->SetColor(colour != clNone ? colour : clBtnShadow);
            } else {
                DrawVerticalText(canvas, caption, origin);
                canvas->Font()->SetColor(clBtnShadow);
                origin = {origin.X - 1, origin.Y - 1};
            }
        }
        DrawVerticalText(canvas, caption, origin);
    } else {
        const UINT format = DrawTextFormat(place.Format);
        if (enabled) {
            if (glass && !FAdvQuickAccessToolBar->QATFullSize()) {
                TRect textRect;
                DrawTextTrimmed(canvas, taLeftJustify, format, place.TextRect, caption, caption, canvas->Font(), true,
                                true, AdvGDIP::aaClearType, false, false, textRect);
                return;
            }
            DrawCaptionText(canvas, caption, place.TextRect, format);
        } else if (styled) {
            const TColor colour = GetStyleServices().StyleFontColor(AdvStyleIF::sfButtonTextDisabled);
            canvas->Font()->SetColor(colour != clNone ? colour : clBtnShadow);
            DrawCaptionText(canvas, caption, place.TextRect, format);
        } else {
            TRect moved = place.TextRect;
            moved.Offset(1, 1);
            canvas->Font()->SetColor(clBtnHighlight);
            DrawCaptionText(canvas, caption, moved, format);
            canvas->Font()->SetColor(clBtnShadow);
            DrawCaptionText(canvas, caption, place.TextRect, format);
        }
    }
    canvas->Brush()->SetStyle(bsSolid);
}

}  // namespace AdvToolBar
