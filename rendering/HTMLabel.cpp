#include "rendering/HTMLabel.h"

#include <windows.h>

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Seams.h"
#include "classlib/ShellUrls.h"
#include "classlib/StringList.h"
#include "graphics/PictureContainer.h"

namespace HTMLabel {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(THTMLabel, TCustomLabel)

const TPropertyList& THTMLabel::Published() {
    using L = THTMLabel;
    static const TPropertyList list = TPropertyList::Extend(TCustomLabel::Published())
        .Add(L"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, true)
        .Add(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, false)
        .Add(L"Width", &TControl::Width, &TControl::SetWidth, 120)
        .Enum(L"BiDiMode", L"TBiDiMode", &L::BiDiMode, &L::SetBiDiMode,
              {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign", L"bdRightToLeftReadingOnly"}, AdvHTML::bdLeftToRight)
        .Reference(L"Images", &L::Images, &L::SetImages)
        .Reference(L"PictureContainer", &L::PictureContainer, &L::SetPictureContainer)
        .Colour(L"ColorTo", &L::ColorTo, &L::SetColorTo, clNone)
        .Add(L"AnchorHint", &L::AnchorHint, &L::SetAnchorHint, false)
        .Add(L"AutoSizing", &L::AutoSizing, &L::SetAutoSizing, false)
        .Enum(L"AutoSizeType", L"TAutoSizeType", &L::AutoSizeType, &L::SetAutoSizeType,
              {L"asVertical", L"asHorizontal", L"asBoth"}, asVertical)
        .Enum(L"BevelInner", &L::BevelInner, &L::SetBevelInner, bvNone)
        .Enum(L"BevelOuter", &L::BevelOuter, &L::SetBevelOuter, bvNone)
        .Add(L"BevelWidth", &L::BevelWidth, &L::SetBevelWidth, 1)
        .Add(L"BorderWidth", &L::BorderWidth, &L::SetBorderWidth, 0)
        .Colour(L"BorderColor", &L::BorderColor, &L::SetBorderColor, clBlack)
        .Add(L"Ellipsis", &L::Ellipsis, &L::SetEllipsis, false)
        .Enum(L"GradientType", L"TGradientType", &L::GradientType, &L::SetGradientType,
              {L"gtFullHorizontal", L"gtFullVertical", L"gtBottomLine", L"gtCenterLine", L"gtTopLine"}, gtFullHorizontal)
        .Add(L"HintShowFull", &L::HintShowFull, &L::SetHintShowFull, false)
        .Add(L"Hover", &L::Hover, &L::SetHover, false)
        .Colour(L"HoverColor", &L::HoverColor, &L::SetHoverColor, clNone)
        .Colour(L"HoverFontColor", &L::HoverFontColor, &L::SetHoverFontColor, clNone)
        .Add(L"HTMLHint", &L::HTMLHint, &L::SetHTMLHint, false)
        .Add(L"LineWidth", &L::LineWidth, &L::SetLineWidth, 2)
        .Add(L"LineSpacing", &L::LineSpacing, &L::SetLineSpacing, 0)
        .Colour(L"ShadowColor", &L::ShadowColor, &L::SetShadowColor, clGray)
        .Add(L"ShadowOffset", &L::ShadowOffset, &L::SetShadowOffset, 2)
        .Colour(L"URLColor", &L::URLColor, &L::SetURLColor, clBlue)
        .Enum(L"VAlignment", L"TVAlignment", &L::VAlignment, &L::SetVAlignment, {L"tvaTop", L"tvaCenter", L"tvaBottom"}, tvaTop)
        .Add(L"Version", &L::Version, &L::SetVersion)
        .Stored(L"Version", false)
        .Event(L"OnAnchorClick", &L::OnAnchorClick)
        .Event(L"OnAnchorEnter", &L::OnAnchorEnter)
        .Event(L"OnAnchorExit", &L::OnAnchorExit)
        .Event(L"OnAnchorHint", &L::OnAnchorHint)
        .Event(L"OnNewSize", &L::OnNewSize);
    return list;
}

THTMLabel::THTMLabel(TComponent* owner)
    : TCustomLabel(owner), FHTMLText(std::make_unique<TStringList>()),
      FImageCache(std::make_unique<PictureContainer::THTMLPictureCache>()), FILChangeLink(std::make_unique<TChangeLink>()) {
    SetTransparent(true);
    FHTMLText->OnChange = [this](TObject*) {
        FImageCache->ClearPictures();   // pictures of the old text would be found by the new one's sources
        Invalidate();
    };
    FILChangeLink->SetOnChange([this](TObject*) { Invalidate(); });
    SetCaption(L"");
    SetAutoSize(false);
    SetWidth(120);
    if (HasState(csDesigning) && !(owner && (owner->HasState(csReading) || owner->HasState(csLoading)))) {
        FHTMLText->Add(L"OVT <b>HTML</b> label " + Name());
        SetComponentStyle(AdvStyleIF::GetFormStylerStyle(owner, AdvStyleIF::tsOffice2019White));
        if (AdvStyleIF::IsLightStyle(FOVTStyle)) SetParentFont(true);
    }
    FOVTStyle = AdvStyleIF::tsCustom;
    if (!HasState(csDesigning)) UpdateCustomStyle();
}

THTMLabel::~THTMLabel() {
    FImageCache->ClearPictures();
    if (FImages) FImages->UnRegisterChanges(FILChangeLink.get());
}

void THTMLabel::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) Invalidate();
}

void THTMLabel::SetComponentStyle(AdvStyleIF::TOVTStyle AStyle) {
    FOVTStyle = AStyle;
    switch (AStyle) {
    case AdvStyleIF::tsCustom: return;
    case AdvStyleIF::tsOffice2016Black: Font()->SetColor(clSilver); break;
    case AdvStyleIF::tsOffice2019White: Font()->SetColor(TColor(0x00444648)); break;
    case AdvStyleIF::tsOffice2019Gray: case AdvStyleIF::tsOffice2019Black: Font()->SetColor(clWhite); break;
    default: Font()->SetColor(clWindowText); break;
    }
}

void THTMLabel::UpdateCustomStyle() {
    const AdvStyleIF::IAppStyleServices& services = AdvStyleIF::AppStyleServices();
    FUseCustomStyles = AdvStyleIF::IsCustomStyleActive(services, HasState(csDesigning));
    if (!FUseCustomStyles) return;
    // A label sits on a button face; its text reads like a button's, its border like a grid cell's.
    SetColor(services.GridColors(AdvStyleIF::tgFixedCellNormal).Fill);
    FFontColor = services.StyleFontColor(Enabled() ? AdvStyleIF::sfButtonTextHot : AdvStyleIF::sfButtonTextDisabled);
    FBorderColor = services.GridColors(AdvStyleIF::tgCellNormal).Border;
}

std::wstring THTMLabel::Version() const {
    const unsigned nr = unsigned(const_cast<THTMLabel*>(this)->GetVersionNr());
    return std::to_wstring(nr >> 24) + L"." + std::to_wstring((nr >> 16) & 0xFF) + L"." + std::to_wstring((nr >> 8) & 0xFF) +
           L"." + std::to_wstring(nr & 0xFF);
}

void THTMLabel::SetHTMLText(const TStringList* value) {
    std::wstring text = value ? value->Text() : std::wstring();
    std::erase_if(text, [](wchar_t ch) { return ch == L'\r' || ch == L'\n'; });
    FHTMLText->SetText(text);
    HTMLChanged();
}

void THTMLabel::SetImages(TCustomImageList* value) {
    if (FImages) {
        FImages->UnRegisterChanges(FILChangeLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages) {
        FImages->RegisterChanges(FILChangeLink.get());
        FImages->FreeNotification(this);
    }
    Invalidate();
}

void THTMLabel::SetPictureContainer(PictureContainer::TPictureContainer* value) {
    if (FContainer) FContainer->RemoveFreeNotification(this);
    FContainer = value;
    if (FContainer) FContainer->FreeNotification(this);
    Invalidate();
}

void THTMLabel::Notification(TComponent* component, TOperation operation) {
    TCustomLabel::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FContainer) FContainer = nullptr;
}

void THTMLabel::SetAutoSizing(bool value) {
    FAutoSizing = value;
    if (!HasState(csLoading) && !HasState(csReading) && FAutoSizing && (FAutoSizeType != asVertical || FVAlignment == tvaTop)) {
        // Shrunk first so that Paint grows the label to its text, not to its old size.
        if (Align() == alLeft || Align() == alRight) SetWidth(6);
        if (Align() == alTop || Align() == alBottom) SetHeight(6);
    }
    Invalidate();
}

std::wstring THTMLabel::GetDisplayText() {
    std::wstring result;
    for (int i = 0; i < FHTMLText->Count(); ++i) {
        const std::wstring& line = FHTMLText->Strings(i);
        if (i > 0 && !(!result.empty() && result.back() == L'>' && !line.empty() && line.front() == L'<')) result += L' ';
        result += line;
    }
    return result;
}

std::wstring THTMLabel::Text() { return AdvHTML::HTMLPlainText(GetDisplayText()); }

void THTMLabel::EditText(const std::function<std::wstring(const std::wstring&)>& edit) {
    FHTMLText->SetText(edit(FHTMLText->Text()));
}

void THTMLabel::HilightText(const std::wstring& hiText, bool doCase) {
    EditText([&](const std::wstring& s) { return AdvHTML::HighlightHTML(s, hiText, L"hi", doCase); });
}
void THTMLabel::UnHilightText() { EditText([](const std::wstring& s) { return AdvHTML::UnhighlightHTML(s, L"hi"); }); }
void THTMLabel::MarkText(const std::wstring& hiText, bool doCase) {
    EditText([&](const std::wstring& s) { return AdvHTML::HighlightHTML(s, hiText, L"e", doCase); });
}
void THTMLabel::UnMarkText() { EditText([](const std::wstring& s) { return AdvHTML::UnhighlightHTML(s, L"e"); }); }

bool THTMLabel::DrawHTMLText(const TLabelDraw& draw, AdvHTML::THTMLResults& results) {
    AdvHTML::THTMLParams p;
    p.Canvas = draw.Canvas;
    p.S = draw.S;
    p.R = draw.R;
    p.Images = FImages;
    p.X = draw.X;
    p.Y = draw.Y;
    p.FocusLink = -1;
    p.HoverLink = draw.HoverLink;
    p.ShadowOffset = draw.ShadowOffset;
    p.CheckOnly = draw.CheckOnly;
    p.StopBelowPoint = draw.StopBelowPoint;
    p.MeasureOnly = draw.MeasureOnly;
    p.Print = draw.Print;
    p.KeepColors = false;
    p.BlinkOn = false;
    p.Hover = draw.Hover;
    p.WordWrap = !FEllipsis;
    p.FormScaled = draw.FormScaled;
    p.ResFactor = draw.ResFactor;
    p.URLColor = draw.URLColor;
    p.HoverColor = draw.HoverColor;
    p.HoverFontColor = draw.HoverFontColor;
    p.ShadowColor = draw.ShadowColor;
    p.ImageCache = FImageCache.get();
    p.Container = FContainer;
    p.LineSpacing = FLineSpacing;
    p.BiDiMode = FBiDiMode;
    p.HiBkColor = clHighlight;
    p.HiTextColor = clHighlightText;
    p.DPIScale = FDPIScale;
    const bool hit = AdvHTML::DrawHTML(p, results);
    if (draw.StopBelowPoint) return hit;   // a partial layout: the last sizes stay
    FXSize = results.XSize;
    FYSize = results.YSize;
    return hit;
}

TSize THTMLabel::GetSizeWithMaxWidth(int AMaxWidth) {
    TBitmap scratch(1, 1);
    scratch.Canvas()->SetFont(Font());
    AdvHTML::THTMLResults out;
    TLabelDraw d{.Canvas = scratch.Canvas(), .S = GetDisplayText(), .R = TRect(0, 0, AMaxWidth, 4096)};
    d.CheckOnly = true;
    d.X = d.Y = -1;
    DrawHTMLText(d, out);
    return {out.XSize, out.YSize};
}

TSize THTMLabel::HTMLSize() {
    Canvas()->SetFont(Font());
    AdvHTML::THTMLResults out;
    TLabelDraw d{.Canvas = Canvas(), .S = GetDisplayText(), .R = TRect(0, 0, 4096, 4096)};
    d.CheckOnly = true;
    d.X = d.Y = -1;
    DrawHTMLText(d, out);
    return {out.XSize, out.YSize};
}

void THTMLabel::HTMLPrint(TCanvas* canvas, TRect r) {
    AdvHTML::THTMLResults out;
    TLabelDraw d{.Canvas = canvas, .S = GetDisplayText(), .R = r};
    d.ShadowColor = clGray;
    d.ShadowOffset = 1;
    d.URLColor = FURLColor;
    if (FVAlignment != tvaTop) {
        d.CheckOnly = true;
        DrawHTMLText(d, out);
        r.Top = FVAlignment == tvaCenter ? r.Top + (r.Height() - FYSize) / 2 : r.Bottom - FYSize;
        d.R = r;
        d.CheckOnly = false;
    }
    d.Print = true;
    DrawHTMLText(d, out);
}

void THTMLabel::PaintFill(TCanvas* canvas, const TRect& client) {
    const bool line = FGradientType == gtBottomLine || FGradientType == gtCenterLine || FGradientType == gtTopLine;
    if (!Transparent()) {
        if (FColorTo == clNone || line) {
            canvas->Pen()->SetColor(Color());
            canvas->Brush()->SetColor(Color());
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Rectangle(client);
        } else {
            AdvHTML::GradientFill(canvas, Color(), FColorTo, FGradientType == gtFullHorizontal, client,
                                  std::max(1, client.Width() / 4), clNone);
        }
    }
    if (!line || FColorTo == clNone) return;
    TRect band = client;
    if (FGradientType == gtBottomLine) band.Top = client.Bottom - FLineWidth;
    else if (FGradientType == gtTopLine) band.Bottom = client.Top + FLineWidth;
    else {
        band.Top = client.Top + (client.Height() - FLineWidth) / 2;
        band.Bottom = band.Top + FLineWidth;
    }
    AdvHTML::GradientFill(canvas, Color(), FColorTo, true, band, std::max(1, band.Width() / 4), clNone);
}

void THTMLabel::Paint() {
    FFormScaled = true;
    if (auto* form = dynamic_cast<TForm*>(ParentForm())) FFormScaled = form->Scaled();
    TRect r = ClientRect();
    if (r.Width() <= 0 || r.Height() <= 0) return;
    if (!FText.empty()) FText.clear();
    std::unique_ptr<TBitmap> buffer;
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        buffer = std::make_unique<TBitmap>(r.Width(), r.Height());
        canvas = buffer->Canvas();
    }
    PaintFill(canvas, r);
    canvas->SetFont(Font());
    if (FUseCustomStyles) canvas->Font()->SetColor(FFontColor);
    if (FUpdateCount > 0) return;

    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        const bool lowered = cut == bvLowered;
        Frame3D(canvas, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(canvas, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    const int a = (FBorderWidth + 1) / 2, b = FBorderWidth / 2;
    if (FBorderStyle == bsSingle && FBorderWidth > 0 && FBorderColor != clNone) {
        canvas->Pen()->SetColor(FBorderColor);
        canvas->Pen()->SetWidth(FBorderWidth);
        canvas->Brush()->SetStyle(bsClear);
        const TPoint outline[] = {{r.Left - a, r.Top - a}, {r.Right + b, r.Top - a}, {r.Right + b, r.Bottom + b},
                                  {r.Left - a, r.Bottom + b}, {r.Left - a, r.Top - a}};
        canvas->Polyline(outline);
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (FBevelOuter != bvNone || FBevelInner != bvNone) r = TRect(r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth, r.Bottom - FBevelWidth);
    if (FBorderStyle == bsSingle) r = TRect(r.Left + a, r.Top + a, r.Right - a, r.Bottom - a);

    const std::wstring text = GetDisplayText();
    canvas->Brush()->SetColor(Color());
    TVAlignment align = FVAlignment;
    if (FAutoSizing && (FAutoSizeType == asVertical || FAutoSizeType == asBoth)) align = tvaTop;
    const bool sizing = FAutoSizing && (FAutoSizeType == asHorizontal || align == tvaTop);
    const bool widthFree = Align() == alNone || Align() == alLeft || Align() == alRight;
    const bool heightFree = Align() == alNone || Align() == alTop || Align() == alBottom;
    if (sizing) {
        if (widthFree && FAutoSizeType != asVertical) r.Right += 65535;
        if (heightFree && FAutoSizeType != asHorizontal) r.Bottom += 65535;
    }
    POINT mouse{};
    ::GetCursorPos(&mouse);
    const TPoint point = ScreenToClient(TPoint{mouse.x, mouse.y});
    TLabelDraw d{.Canvas = canvas, .S = text, .R = r, .X = point.X, .Y = point.Y, .HoverLink = FHoverHyperLink,
                 .ShadowOffset = FShadowOffset};
    d.Hover = FHover;
    d.FormScaled = FFormScaled;
    d.URLColor = FURLColor;
    d.HoverColor = FHoverColor;
    d.HoverFontColor = FHoverFontColor;
    d.ShadowColor = FShadowColor;
    AdvHTML::THTMLResults out;
    const int oldWidth = Width(), oldHeight = Height();
    if (FAutoSizing || align != tvaTop) {
        d.CheckOnly = true;
        DrawHTMLText(d, out);
        d.CheckOnly = false;
    }
    if (sizing) {
        if (FVAlignment == tvaCenter) d.R.Top += 3;
        if (FVAlignment == tvaBottom) d.R.Top += 6;
        int xSize = FXSize, ySize = FYSize;
        if (FBorderStyle == bsSingle) {
            xSize += 2 * FBorderWidth;
            ySize += 2 * FBorderWidth;
        }
        // Resizing from inside Paint: the class library takes it without recursion and
        // the new size shows on the next pass.
        if (heightFree && FAutoSizeType != asHorizontal && Height() != ySize + 6) SetHeight(ySize + 6);
        if (widthFree && FAutoSizeType != asVertical && Width() != xSize + 6) SetWidth(xSize + 6);
    }
    if (align == tvaCenter) d.R.Top += (d.R.Bottom - d.R.Top - FYSize) / 2;
    else if (align == tvaBottom) d.R.Top = d.R.Bottom - FYSize;
    DrawHTMLText(d, out);
    if (buffer) Canvas()->Draw(0, 0, buffer.get());
    if (FAutoSizing && OnNewSize && (Width() != oldWidth || Height() != oldHeight)) OnNewSize(this, Width(), Height());
}

std::wstring THTMLabel::IsAnchor(int x, int y, bool title, TRect& hoverRect) {
    TRect r = ClientRect();
    if (FBevelOuter != bvNone || FBevelInner != bvNone) r = TRect(r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth, r.Bottom - FBevelWidth);
    r = TRect(r.Left + FBorderWidth, r.Top + FBorderWidth, r.Right - FBorderWidth, r.Bottom - FBorderWidth);
    hoverRect = TRect(-1, -1, -1, -1);
    Canvas()->SetFont(Font());
    const std::wstring text = GetDisplayText();
    AdvHTML::THTMLResults out;
    TLabelDraw d{.Canvas = Canvas(), .S = text, .R = r, .X = x, .Y = y, .HoverLink = -1, .ShadowOffset = FShadowOffset};
    d.CheckOnly = true;
    d.FormScaled = FFormScaled;
    d.URLColor = clWhite;
    d.ShadowColor = clNone;
    if (FVAlignment != tvaTop) {
        DrawHTMLText(d, out);
        if (FYSize < Height()) {
            if (FVAlignment == tvaCenter) d.R.Top += (d.R.Bottom - d.R.Top - FYSize) / 2;
            else d.R.Top = d.R.Bottom - FYSize;
        }
        out = {};
    }
    // Only the lines down to the pointer matter: a long text need not be laid out whole for
    // every mouse move.
    d.StopBelowPoint = true;
    const bool hit = DrawHTMLText(d, out);
    FHoverHyperLink = out.MouseLink;
    if (!hit) {
        FHoverHyperLink = -1;
        return {};
    }
    hoverRect = out.HoverRect;
    return title && !out.FocusAnchor.empty() ? out.FocusAnchor : out.AnchorVal;
}

void THTMLabel::InvalidateHoverRect(const TRect& rect) {
    // No rectangle: nothing was drawn hovered, so nothing needs repainting; invalidating the
    // whole label here would repaint all of a long text for every anchor entered.
    if (rect.Left == -1 || !Parent() || !Parent()->HandleAllocated()) return;
    const RECT moved{rect.Left + Left(), rect.Top + Top(), rect.Right + Left(), rect.Bottom + Top()};
    ::InvalidateRect(Parent()->Handle(), &moved, TRUE);
}

void THTMLabel::MouseMove(TShiftState shift, int x, int y) {
    TCustomLabel::MouseMove(shift, x, y);
    TRect hoverRect;
    const std::wstring anchor = IsAnchor(x, y, false, hoverRect);
    if (!anchor.empty()) {
        if (FHover && hoverRect.Left != -1 &&
            (anchor != FAnchor || hoverRect != FCurrHoverRect || FHoverHyperLink != FOldHoverHyperLink || FHoverHyperLink == -1))
            InvalidateHoverRect(FCurrHoverRect);
        if (Cursor() == crDefault || anchor != FAnchor || FOldHoverHyperLink != FHoverHyperLink) {
            if (FAnchorHint && Application) Application->CancelHint();
            SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, anchor);
            if (FHover) InvalidateHoverRect(FCurrHoverRect);
        }
        FAnchor = anchor;
        FOldHoverHyperLink = FHoverHyperLink;
        FCurrHoverRect = hoverRect;
        if (FHover) InvalidateHoverRect(FCurrHoverRect);
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
        if (OnAnchorExit) OnAnchorExit(this, L"");
        if (FHover) InvalidateHoverRect(FCurrHoverRect);
        FCurrHoverRect = hoverRect;
        if (FHover) InvalidateHoverRect(FCurrHoverRect);
    }
}

void THTMLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomLabel::MouseDown(button, shift, x, y);
    TRect hoverRect;
    const std::wstring anchor = IsAnchor(x, y, false, hoverRect);
    if (button != mbLeft || anchor.empty()) return;
    DoAnchorClick(anchor);
    // The text may come from a server: only links the shell may safely open go to it,
    // "file://" ones stay with the application's OnAnchorClick.
    const bool looksLikeLink = anchor.find(L"://") != std::wstring::npos || anchor.find(L"mailto:") != std::wstring::npos;
    if (looksLikeLink && UrlOpensInShell(anchor) && Seams().ShellOpen) Seams().ShellOpen(anchor, L"");
}

void THTMLabel::HintShow(THintInfo& info) {
    std::wstring anchor;
    if (FAnchorHint) {
        TRect hoverRect;
        anchor = IsAnchor(info.CursorPos.X, info.CursorPos.Y, true, hoverRect);
        if (!anchor.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, anchor);
            const TPoint screen = ClientToScreen(info.CursorPos);
            info.HintPos = TPoint{screen.X + 10, screen.Y - 10};
            info.HintStr = anchor;
        }
    }
    if (FHintShowFull && (anchor.empty() || !FAnchorHint))
        info.HintStr = FHTMLHint ? GetDisplayText() : AdvHTML::HTMLPlainText(GetDisplayText());
}

void THTMLabel::Loaded() {
    TCustomLabel::Loaded();
    FText.clear();
    SetAutoSizing(FAutoSizing);
    FDPIScale = AdvStyleIF::GetDPIScale(this, Canvas());
    if (!HasState(csDesigning)) UpdateCustomStyle();
}

void THTMLabel::ChangeScale(int m, int d) {
    TCustomLabel::ChangeScale(m, d);
    FDPIScale = AdvStyleIF::GetDPIScale(this, Canvas());
}

void THTMLabel::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (FocusControl() && Enabled() && ShowAccelChar() && IsAccel(wchar_t(message.WParam), FHTMLText->Text()) &&
            FocusControl()->CanFocus()) {
            FocusControl()->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    case CM_STYLECHANGED:
        UpdateCustomStyle();
        Invalidate();
        break;
    case CM_HINTSHOW:
        if (auto* info = reinterpret_cast<THintInfo*>(message.LParam)) HintShow(*info);
        message.Result = 0;
        return;
    case CM_MOUSELEAVE:
        if (FHover && FHoverHyperLink != -1) InvalidateHoverRect(FCurrHoverRect);
        FHoverHyperLink = -1;
        break;   // the inherited handling fires OnMouseLeave
    default:
        break;
    }
    TCustomLabel::Dispatch(message);
}

}  // namespace HTMLabel
