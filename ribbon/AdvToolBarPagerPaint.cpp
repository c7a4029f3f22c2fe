// What the pager paints: the styler's background picture, its caption bar (plain, office-tone
// flat or on glass), the tab row with its tab groups and each tab in its state, the selected
// tab's sliding underline, the shadow below the active page and, before Vista, the ribbon
// form's top corners.
#include "ribbon/AdvToolBarPager.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Timer.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "ribbon/AdvQuickAccessToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TGlowLook;

namespace {

int RoundScaled(double value) { return int(std::nearbyint(value)); }

// Wine: where GDI+ measures a text as nothing it draws nothing either; such text goes
// through GDI.
AdvGDIP::TAntiAlias TextAntiAlias(TCanvas* canvas, const std::wstring& text, const TFont* font,
                                  AdvGDIP::TAntiAlias antiAlias) {
    if (antiAlias == AdvGDIP::aaNone || text.empty()) return antiAlias;
    return MeasureTextWidth(canvas, text, L"", antiAlias, font) > 0 ? antiAlias : AdvGDIP::aaNone;
}

// Keeps drawing inside one rectangle of the DC for a scope.
class TClipScope {
public:
    TClipScope(HDC dc, const TRect& rect) : FDC(dc), FSaved(SaveDC(dc)) {
        IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    ~TClipScope() {
        if (FSaved) RestoreDC(FDC, FSaved);
    }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;
private:
    HDC FDC;
    int FSaved;
};

// True when nothing of the rectangle can reach the screen: a fade tick repaints one tab,
// and the GDI+ faces of everything else would be drawn only to be clipped away.
bool OutsideClip(HDC dc, const TRect& rect) {
    RECT box;
    const int kind = GetClipBox(dc, &box);
    if (kind == ERROR) return false;
    if (kind == NULLREGION) return true;
    return rect.Right <= box.left || rect.Left >= box.right || rect.Bottom <= box.top || rect.Top >= box.bottom;
}

void Line(TCanvas* canvas, TColor color, int x1, int y1, int x2, int y2) {
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

TGlowLook Blend(const TGlowLook& a, const TGlowLook& b, int percent) {
    return {BlendColor(a.Color, b.Color, percent),         BlendColor(a.ColorTo, b.ColorTo, percent),
            BlendColor(a.ColorMirror, b.ColorMirror, percent), BlendColor(a.ColorMirrorTo, b.ColorMirrorTo, percent),
            BlendColor(a.Border, b.Border, percent),       a.Gradient,
            a.GradientMirror};
}

// A ribbon form counts as maximised; with a maximum size it only does while that size still
// nearly fills its monitor's work area.
bool FormLooksMaximised(TForm* form) {
    if (form->WindowState() != wsMaximized) return false;
    const TSizeConstraints* limits = form->Constraints();
    if (limits->MaxWidth() <= 0 && limits->MaxHeight() <= 0) return true;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT work{};
    if (HMONITOR monitor = MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST);
        monitor && GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return form->Width() >= work.right - work.left - 10 && form->Height() >= work.bottom - work.top - 30;
}

}  // namespace

// ---------------------------------------------------------------- rules

bool TAdvToolBarPager::IsGlass(bool checkForm) const {
    const bool glass = FTabSettings->Glass() && FIsAeroVista && AdvGDIP::GetScenicRibbonFlag() &&
                       !HasState(csDesigning) && FGroupStyle != gsWindows8;
    if (!glass || !checkForm || IsMaximizedScenicGlass()) return glass;
    TCustomForm* form = ParentFormOf();
    return form && form->WindowState() != wsMaximized;
}

bool TAdvToolBarPager::IsMaximizedScenicGlass() const {
    TCustomForm* form = ParentFormOf();
    return FIsAeroVista && form && form->WindowState() == wsMaximized && FIsWin7 && FTabSettings->Glass() &&
           !HasState(csDesigning) && FTabBackGroundShaded;
}

TRect TAdvToolBarPager::GetCaptionRect() const {
    if (!FCaption->Visible()) return {-1, -1, -1, -1};
    TRect r = ClientRect();
    r.Bottom = r.Top + FCaption->Height();
    return r;
}

TRect TAdvToolBarPager::GetCaptionTextRect(int& alignment) {
    TCaptionTextInput in;
    in.CaptionRect = GetCaptionRect();
    in.Indent = FCaption->Indent();
    in.RightIndent = FCaption->RightIndent();
    in.CaptionOnly = FHideState;
    in.QATInCaption = false;  // the quick access toolbar is not laid out in the caption yet
    TRect headers;
    bool any = false;
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        bool left = true, right = true;
        TRect r;
        if (GetTabGroupRect(g, left, right, r) && left && right) {
            headers = any ? UnionRect(headers, r) : r;
            any = true;
        }
    }
    in.GroupHeadersRight = any ? headers.Right : -1;
    TFont font;
    font.Assign(PagerCaption()->Font());
    font.SetHeight(RoundScaled(font.Height() * DPIScaleFactor));
    const std::wstring& text = FCaption->Caption();
    in.TextWidth = text.empty() ? 0 : PagerTextWidth(Canvas(), text, FCaption->WideCaption(), FAntiAlias, &font);
    in.CentreWithoutHeaders = !AdvGDIP::GetScenicRibbonFlag() || IsGlass(false);
    return CaptionTextRect(in, alignment);
}

// ---------------------------------------------------------------- paint

void TAdvToolBarPager::Paint() {
    if (FUpdateCount > 0) return;
    TCustomControl::Paint();
    FFirstRun = false;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(CurrentTabAppearance()->BackGround()->Color() != clNone
                                  ? CurrentTabAppearance()->BackGround()->Color()
                                  : clBtnFace);
    canvas->FillRect(ClientRect());
    DrawStylerPicture();
    if (!FUseCaptionLayer) PaintGlassCaption();
    DrawCaption();
    DrawTabArea();
    UpdateMDIState();

    // The page's shadow.
    TAdvPage* page = ActivePage();
    TVistaPageBackground* look = FCurrentToolBarStyler->PageAppearance();
    const bool shadowOn = FItones ? FShadow : FCurrentToolBarStyler->ShowShadow();
    if (page && !(FIsAeroVista && IsGlass(false) && AdvGDIP::GetScenicRibbonFlag()) && look->ShadowColor() != clNone &&
        shadowOn) {
        const TRect p = page->BoundsRect();
        const TColor k = canvas->Pixels(p.Left, p.Bottom + 1);
        Line(canvas, DarkenColor(look->ShadowColor(), -15), p.Left + 4, p.Bottom, p.Right, p.Bottom);
        Line(canvas, DarkenColor(k, 10), p.Right, p.Bottom, p.Right, p.Top + 4);
        Line(canvas, DarkenColor(look->ShadowColor(), -20), p.Left + 5, p.Bottom + 1, p.Right + 1, p.Bottom + 1);
        Line(canvas, DarkenColor(k, 5), p.Right + 1, p.Bottom + 1, p.Right + 1, p.Top + 5);
    }
    DrawFormCorners();
}

// The styler's picture under everything the pager paints itself.
void TAdvToolBarPager::DrawStylerPicture() {
    TBitmap* picture = FCurrentToolBarStyler->BackGround();
    if (!picture || picture->Empty()) return;
    TCanvas* canvas = Canvas();
    const int w = picture->Width(), h = picture->Height();
    switch (FCurrentToolBarStyler->BackGroundDisplay()) {
        case bdTile:
            for (int y = 1; y < Height() - 2; y += h)
                for (int x = 1; x < Width() - 2; x += w) canvas->Draw(x, y, picture);
            break;
        case bdCenter: canvas->Draw((Width() - w) / 2, (Height() - h) / 2, picture); break;
        case bdStretch: canvas->StretchDraw(TRect(2, 2, Width() - 2, Height() - 2), picture); break;
    }
}

// Before Vista the ribbon form's frame has square top corners of its own; the pager paints
// them in the styler's border colour so they match the frame. A maximised form has no frame.
void TAdvToolBarPager::DrawFormCorners() {
    auto* form = dynamic_cast<TAdvToolBarForm*>(Parent());
    if (!form || QueryGlassConditions().VistaOrLater || FormLooksMaximised(form)) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(FCurrentToolBarStyler->FormBorderColor());
    canvas->MoveTo(0, 1);
    canvas->LineTo(0, 0);
    canvas->LineTo(2, 0);
    canvas->MoveTo(Width() - 2, 0);
    canvas->LineTo(Width() - 1, 0);
    canvas->LineTo(Width() - 1, 2);
}

void TAdvToolBarPager::DrawCaption() {
    if (FItones) {
        DrawFlatCaption();
        return;
    }
    if (!FCaption->Visible()) return;
    TCanvas* canvas = Canvas();
    const TRect cr = GetCaptionRect();
    if (OutsideClip(canvas->Handle(), Rect(cr.Left, cr.Top, cr.Right, cr.Bottom + 1))) return;
    TVistaTextBackground* look = PagerCaption();
    if (!FIsAeroVista) {
        TRect face = cr;
        face.Bottom += 1;
        const TGlowLook glow{look->Color(),       look->ColorTo(),  look->ColorMirror(), look->ColorMirrorTo(),
                             look->BorderColor(), look->Gradient(), look->GradientMirror()};
        DrawGlowRect(canvas, face, glow, L"", look->Font(), Enabled(), false, FAntiAlias, false);
    }
    int alignment = 0;
    TRect tr = GetCaptionTextRect(alignment);
    if (FIsAeroVista) return;  // the glass caption shows the text
    TFont font;
    font.Assign(look->Font());
    font.SetColor(look->TextColor());
    font.SetHeight(RoundScaled(look->Font()->Height() * DPIScaleFactor));
    canvas->UseFont(&font);
    canvas->Brush()->SetStyle(bsClear);
    const std::wstring& text = FCaption->Caption();
    const std::wstring& wide = FCaption->WideCaption();
    const AdvGDIP::TAntiAlias antiAlias = TextAntiAlias(canvas, text.empty() ? wide : text, &font, FAntiAlias);
    const bool headers = alignment == 2;
    const size_t split = text.find(L" - ");
    if (split == std::wstring::npos && !(text.empty() && wide.find(L'-') != std::wstring::npos)) {
        TRect textRect;
        DrawTextWrapped(canvas, TAlignment(alignment == 2 ? taCenter : taLeftJustify), tr, text, wide, &font,
                        Enabled(), true, antiAlias, false, clNone, false, textRect);
        return;
    }
    // Document name in the extended colour, the rest from the "-" on in the text colour.
    const bool fromWide = split == std::wstring::npos;
    const std::wstring& whole = fromWide ? wide : text;
    const size_t cut = fromWide ? whole.find(L'-') + 1 : split;
    const std::wstring first = whole.substr(0, cut);
    // The rest keeps the space before its "-": drawn from the end of the first part it
    // would otherwise sit on that part's last letter.
    const std::wstring rest = whole.substr(cut);
    const UINT flags = DT_VCENTER | DT_SINGLELINE | DT_PATH_ELLIPSIS;
    // The trimmed text goes straight to DrawText: the DC itself must draw without a background.
    SetBkMode(canvas->Handle(), TRANSPARENT);
    const int wholeWidth = PagerTextWidth(canvas, whole, L"", antiAlias, &font);
    if (wholeWidth < tr.Width() && headers) tr.Left += (tr.Width() - wholeWidth) / 2;
    TRect firstRect = tr;
    firstRect.Right -= PagerTextWidth(canvas, L"W...", L"", antiAlias, &font);
    TFont extended;
    extended.Assign(&font);
    extended.SetColor(look->TextColorExtended());
    canvas->UseFont(&extended);
    TRect drawn;
    DrawTextTrimmed(canvas, taLeftJustify, flags, firstRect, first, L"", &extended, Enabled(), true, antiAlias, true,
                    false, drawn);
    tr.Left = tr.Left + PagerTextWidth(canvas, first, L"", antiAlias, &font);
    canvas->UseFont(&font);
    DrawTextTrimmed(canvas, taLeftJustify, flags, tr, rest, L"", &font, Enabled(), true, antiAlias, true, false,
                    drawn);
}

void TAdvToolBarPager::DrawFlatCaption() {
    if (!FCaptionAppearance || !FTabAppearance) return;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(FCaptionAppearance->CaptionColor());
    canvas->FillRect(ClientRect());
    if (!FOffice2013 || AdvGDIP::GetScenicRibbonFlag()) {
        if (FGroupStyle != gsOffice2019) {
            canvas->Brush()->SetColor(FTabAppearance->BackGround()->Color());
            canvas->FillRect(Rect(0, 0, Width(), 3));
        }
    } else {
        Line(canvas, FGroupStyle == gsOffice2019 ? FCaptionAppearance->CaptionBorderColor()
                                                  : FTabAppearance->TextColorSelected(),
             0, 0, Width(), 0);
    }
    if (FCaption->Caption().empty() && FCaption->WideCaption().empty()) return;
    int alignment = 0;
    TRect tr = GetCaptionTextRect(alignment);
    tr.Top += 3;
    TFont font;
    font.Assign(PagerCaption()->Font());
    font.SetHeight(RoundScaled(font.Height() * DPIScaleFactor));
    font.SetColor(FGroupStyle == gsOffice2019 ? FCaptionAppearance->CaptionTextColor() : FTabAppearance->TextColor());
    TRect drawn;
    DrawTextWrapped(canvas, FOffice2013 ? taCenter : taLeftJustify, tr, FCaption->Caption(), FCaption->WideCaption(),
                    &font, Enabled(), true, FAntiAlias, false, clNone, false, drawn);
}

void TAdvToolBarPager::PaintGlassCaption() {
    if (!FIsAeroVista || HasState(csDesigning) || !FCaption->Visible()) return;
    if (FUseCaptionLayer && !FCaptionLayer) return;
    TWinControl* target = FUseCaptionLayer ? static_cast<TWinControl*>(FCaptionLayer) : this;
    if (!target->HandleAllocated()) return;
    // DrawGlassCaption paints nothing when the composited window's theme cannot be opened
    // (Wine has no such class).
    int alignment = 0;
    TRect r = GetCaptionTextRect(alignment);
    const int x0 = FUseCaptionLayer ? FCaptionLayer->Left() : 0;
    r.Left += 8 - x0;
    r.Right -= x0 + 105;
    r.Top += FIsWin8 ? 4 : 6;
    DrawGlassCaption(target, FCaption->Caption(), target->ClientRect(), false, r, clNone, false);
}

// ---------------------------------------------------------------- tab row

void TAdvToolBarPager::DrawTabArea() {
    TCanvas* canvas = Canvas();
    TRect r = GetTabsArea();
    r.Bottom = ClientRect().Bottom;
    TCustomTabAppearance* look = CurrentTabAppearance();
    if (FIsAeroVista) {
        r.Inflate(1, 0);
        r.Top = IsGlass(true) ? FTabSettings->Height() - 1 : 0;
    }
    const bool shadedGlass = FIsAeroVista && FTabSettings->Glass() && !HasState(csDesigning) &&
                             AdvGDIP::GetScenicRibbonFlag() && FIsWin7 && FTabBackGroundShaded;
    TGradientBackground* band = look->BackGround();
    if (!shadedGlass && band->Color() != clNone) {
        if (band->ColorTo() != clNone) {
            DrawGradient(canvas, band->Color(), band->ColorTo(), band->Steps(), r, band->Direction() == AdvToolBar::gdHorizontal);
        } else {
            canvas->Brush()->SetColor(band->Color());
            TRect fill = r;
            if (FItones) fill.Top += 1;
            canvas->FillRect(fill);
        }
    }
    if (!FItones && FCaption->Visible()) {
        if (FIsAeroVista) {
            Line(canvas, clBlack, r.Left, r.Top, r.Left, r.Bottom);
            Line(canvas, clBlack, r.Left, r.Top + 1, r.Right, r.Top + 1);
            Line(canvas, clBlack, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom);
        } else {
            Line(canvas, BlendColor(clWhite, band->Color(), 70), r.Left, r.Top + 1, r.Right, r.Top + 1);
        }
    }
    DrawTabGroups();
    FTabTextAntiAlias = FAntiAlias == AdvGDIP::aaNone && IsGlass(true) ? AdvGDIP::aaAntiAlias : FAntiAlias;
    for (int i = 0; i < AdvPageCount(); ++i) {
        const std::wstring& text = AdvPages(i)->Caption();
        if (text.empty()) continue;
        FTabTextAntiAlias = TextAntiAlias(canvas, text, look->Font(), FTabTextAntiAlias);
        break;
    }
    for (int i = 0; i < AdvPageCount(); ++i) DrawTab(i);
}

void TAdvToolBarPager::DrawTabGroups() {
    if (FHideState) return;
    TCanvas* canvas = Canvas();
    TCustomTabAppearance* tabLook = CurrentTabAppearance();
    const bool flat = FGroupStyle == gsOffice2013 || FGroupStyle == gsOffice2016 || FGroupStyle == gsOffice2019;
    const bool scrolled = FTabScroller->Position() >= 1;
    const int rowTop = GetTabsArea().Top;
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        bool hasLeft = true, hasRight = true;
        TRect r;
        if (!GetTabGroupRect(g, hasLeft, hasRight, r) || r.Left < 0 || r.Right < 0) continue;
        if (OutsideClip(canvas->Handle(), Rect(r.Left - 2, r.Top, r.Right + 2, r.Bottom + 2))) continue;
        if (FGroupStyle == gsWindows8) r.Left -= 1;
        const TTabGroupItem* item = FTabGroups->GetItem(g);
        TGroupAppearance* look = GroupAppearanceOf(g);
        TColor colorTo = look->ColorTo(), mirror = look->ColorMirror(), mirrorTo = look->ColorMirrorTo();
        TColor textColor = look->TextColor();
        if (flat) {
            colorTo = mirror = mirrorTo = clNone;
            if (item->DefaultAppearance()) textColor = look->Color();
        }
        if (FGroupStyle == gsWindows8) textColor = clBlack;
        TRect b = r;
        b.Bottom = rowTop + (FGroupStyle == gsWindows8 ? 2 : 0);
        if (flat) {
            const TGlowLook stripe{look->Color(), look->Color(), clNone, clNone, clNone, look->Gradient(),
                                   look->GradientMirror()};
            DrawGlowRect(canvas, Rect(b.Left, 1, b.Right, 4), stripe, L"", look->Font(), true, false, FAntiAlias, false);
            canvas->Brush()->SetColor(look->Background());
            canvas->FillRect(Rect(b.Left, 4, b.Right, r.Bottom));
        } else {
            b.Top += FGroupStyle == gsWindows8 ? 4 : 8;
            if (!scrolled) {
                const TGlowLook glow{look->Color(), colorTo, mirror, mirrorTo, clNone, look->Gradient(),
                                     look->GradientMirror()};
                DrawGlowRect(canvas, b, glow, L"", look->Font(), true, false, FAntiAlias, false);
            }
        }
        if (!scrolled && FGroupStyle == gsClassic) {
            Line(canvas, BlendColor(mirrorTo, clBlack, 80), r.Left, b.Bottom, r.Right, b.Bottom);
            DrawGradient(canvas, PagerCaption()->Color(), look->BorderColor(), 40,
                         Rect(r.Left, r.Top + 6, r.Left + 2, b.Bottom + 2), false);
            DrawGradient(canvas, PagerCaption()->Color(), look->BorderColor(), 40,
                         Rect(r.Right - 1, r.Top + 6, r.Right + 1, b.Bottom + 3), false);
        }
        if (!(AdvGDIP::GetScenicRibbonFlag() && FTabScroller->Max() > 0) && !FOffice2013) {
            DrawGradient(canvas, look->BorderColor(), tabLook->BackGround()->Color(), 40,
                         Rect(r.Left, b.Bottom, r.Left + 2, r.Bottom + 1), false);
            if (hasRight)
                DrawGradient(canvas, look->BorderColor(), tabLook->BackGround()->Color(), 40,
                             Rect(r.Right - 1, b.Bottom, r.Right + 1, r.Bottom + 1), false);
        }
        if (scrolled) continue;
        int textLeft = b.Left + 3;
        const bool hasImages = (FImages || FDisabledImages) && item->ImageIndex() >= 0;
        if (hasImages) {
            TCustomImageList* list = Enabled() || !FDisabledImages ? FImages : FDisabledImages;
            if (list) {
                TRect measure{0, 0, 1000, 100};
                std::wstring caption = item->Caption();
                canvas->UseFont(look->Font());
                canvas->TextRect(measure, caption, TTextFormat{tfCalcRect, tfSingleLine});
                const int w = measure.Width() + int(item->Caption().size());
                int x = b.Left + 3;
                if (item->CaptionAlignment() == taRightJustify) x = b.Right - list->Width() - w - 6;
                if (item->CaptionAlignment() == taCenter) x = b.Left + (b.Width() - (list->Width() + 3 + w)) / 2;
                x = std::max(x, b.Left + 3);
                list->Draw(canvas, x, b.Top + (b.Height() - list->Height()) / 2, item->ImageIndex(),
                           Enabled() || list == FDisabledImages);
                textLeft = x + list->Width() + 3;
            }
        }
        TFont font;
        font.Assign(look->Font());
        // Scaled like the tab and caption texts: at 144 dpi the header kept its 96-dpi size.
        font.SetHeight(RoundScaled(look->Font()->Height() * DPIScaleFactor));
        font.SetColor(textColor);
        canvas->UseFont(&font);
        canvas->Brush()->SetStyle(bsClear);
        TRect textRect{textLeft, b.Top, b.Right, b.Bottom};
        if (flat) textRect.Bottom = rowTop + 2;
        TRect drawn;
        SetBkMode(canvas->Handle(), TRANSPARENT);
        DrawTextTrimmed(canvas, hasImages ? taLeftJustify : item->CaptionAlignment(), DT_VCENTER | DT_SINGLELINE,
                        textRect, item->WideCaption().empty() ? item->Caption() : item->WideCaption(), L"", &font,
                        Enabled(), true, TextAntiAlias(canvas, item->Caption(), &font, FAntiAlias), true, false, drawn);
    }
}

void TAdvToolBarPager::DrawTab(int index) {
    if (index < 0 || index >= AdvPageCount() || FTabSettings->Height() <= 0) return;
    TAdvPage* page = AdvPages(index);
    const TRect r = GetTabRect(index);
    const TRect tr = GetTabsRect();
    if (r.Left == -1 && r.Right == -1) return;
    if (r.Right <= tr.Left || r.Left >= tr.Right) return;
    TCanvas* canvas = Canvas();
    // The active tab always runs: it places the underline.
    if (index != FActivePageIndex && OutsideClip(canvas->Handle(), Rect(r.Left - 2, r.Top - 2, r.Right + 2, ClientRect().Bottom)))
        return;
    // A tab cut by the row's ends shows only its part inside the row.
    TClipScope clip(canvas->Handle(), Rect(tr.Left, r.Top - 1, tr.Right, ClientRect().Bottom));

    const int group = GetTabGroupIndex(index);
    TCustomTabAppearance* a = CurrentTabAppearance();
    TColor hotFill = a->ColorHot(), hotBorder = a->BorderColorHot(), selectedText = a->TextColorSelected(),
           hotText = a->TextColorHot(), selectedBorder = a->BorderColorSelected(),
           selectedHotBorder = a->BorderColorSelectedHot();
    if (group >= 0) {
        TGroupAppearance* look = GroupAppearanceOf(group);
        switch (FGroupStyle) {
        case gsClassic:
            a = look->TabAppearance();
            break;
        case gsWindows8:
            selectedBorder = selectedHotBorder = look->Color();
            break;
        default:
            selectedText = hotText = look->Color();
            hotFill = hotBorder = look->Background();
            break;
        }
    }
    TColor highlight = a->HighLightColor();
    FBold = false;

    // Separator left of the tab once the row is squeezed.
    const bool firstVisible = [&] {
        for (int i = 0; i < index; ++i)
            if (AdvPages(i)->TabVisible()) return false;
        return true;
    }();
    if (FRow.Current.Spacing <= FTabSettings->MinSpacing() && FRow.Current.LeftMargin <= FTabSettings->LeftMargin() &&
        FRow.Current.RightMargin <= FTabSettings->RightMargin() && !firstVisible) {
        TCustomTabAppearance* sep = CurrentTabAppearance();
        DrawGradient(canvas, BlendColor(sep->BackGround()->Color(), sep->BorderColorSelected(), 60),
                     sep->BorderColorSelected(), 40, Rect(r.Left - 2, r.Top + 1, r.Left - 1, r.Bottom + 1), false);
    }

    TTabStateInput state;
    state.Active = index == FActivePageIndex;
    state.Hot = index == FHotPageIndex;
    state.Down = index == FDownPageIndex && !HasState(csDesigning);
    state.TabEnabled = page->TabEnabled();
    state.ShowNonSelectedTabs = FShowNonSelectedTabs;
    state.Expanded = FExpanded || IsFloatingRibbonShowing();
    state.Focused = Focused();
    state.Office2019 = FGroupStyle == gsOffice2019;
    state.MouseDown = FMouseDown;
    state.Fading = page->GlowRunning() && page->GlowState() == AdvGlowButton::gsHover;
    const TTabLook choice = ChooseTabLook(state);

    const TGlowLook normal{a->Color(),       a->ColorTo(),  a->ColorMirror(), a->ColorMirrorTo(),
                           a->BorderColor(), a->Gradient(), a->GradientMirror()};
    const TGlowLook hot{hotFill,   a->ColorHotTo(),   a->ColorMirrorHot(), a->ColorMirrorHotTo(),
                        hotBorder, a->GradientHot(), a->GradientMirrorHot()};
    TCustomTabAppearance* bandLook = CurrentTabAppearance();
    const TColor bg = bandLook->BackGround()->Color();
    const TColor bgTo = bandLook->BackGround()->ColorTo() != clNone ? bandLook->BackGround()->ColorTo() : bg;
    const TGlowLook background{bg, bgTo, bg, bg, bg, a->Gradient(), a->GradientMirror()};
    TGlowLook face = normal;
    TColor text = a->TextColor();
    switch (choice.Kind) {
    case TTabLookKind::Selected:
        if (FGroupStyle == gsOffice2019) FLineColor = a->TextColorHot();
        FBold = choice.Bold;
        face = {a->ColorSelected(), a->ColorSelectedTo(), a->ColorMirrorSelected(), a->ColorMirrorSelectedTo(),
                selectedBorder,     a->GradientSelected(), a->GradientMirrorSelected()};
        text = selectedText;
        if (state.Hot) {
            if (choice.UseHotFill) {
                face.Color = hot.Color, face.ColorTo = hot.ColorTo, face.ColorMirror = hot.ColorMirror,
                face.ColorMirrorTo = hot.ColorMirrorTo;
                text = a->TextColorHot();
            }
            face.Border = selectedHotBorder;
            highlight = a->HighLightColorSelectedHot();
        }
        if (page->GlowRunning() && page->GlowState() == AdvGlowButton::gsPush) {
            face = Blend(face, hot, page->StepPush());
        } else if (page->GlowRunning() && page->GlowState() == AdvGlowButton::gsHover) {
            face.Border = BlendColor(a->BorderColorSelectedHot(), a->BorderColorSelected(),
                                     std::clamp(page->StepHover(), 0, 100));
        }
        if (choice.DownBorder) {
            face.Border = a->BorderColorDown();
            highlight = a->HighLightColorDown();
        }
        break;
    case TTabLookKind::Hot:
        face = hot;
        text = hotText;
        FBold = choice.Bold;
        highlight = a->HighLightColorHot();
        if (state.Fading)
            face = Blend(hot, FShowNonSelectedTabs ? normal : background, std::clamp(page->StepHover(), 0, 100));
        break;
    case TTabLookKind::Normal:
        if (state.Fading) face = Blend(hot, normal, std::clamp(page->StepHover(), 0, 100));
        break;
    case TTabLookKind::NoFace:
        text = page->TabEnabled() ? a->TextColor() : a->TextColorDisabled();
        if (state.Fading) face = Blend(hot, background, std::clamp(page->StepHover(), 0, 100));
        break;
    case TTabLookKind::Disabled:
        face = {a->ColorDisabled(), a->ColorDisabledTo(), a->ColorMirrorDisabled(), a->ColorMirrorDisabledTo(),
                a->BorderColorDisabled(), a->GradientDisabled(), a->GradientMirrorDisabled()};
        text = a->TextColorDisabled();
        break;
    }
    if (choice.FocusHot) {
        face = {hot.Color, hot.ColorTo, hot.ColorMirror, hot.ColorMirrorTo, a->BorderColorSelectedHot(),
                hot.Gradient, hot.GradientMirror};
        text = a->TextColorHot();
        highlight = a->HighLightColorSelected();
    }

    const bool show3D = FItones ? FShow3D : FCurrentToolBarStyler->Show3D();
    const bool shadow = FItones ? FShadow : FCurrentToolBarStyler->ShowShadow();
    if (choice.DrawFace) {
        // The corners show the band behind the tab, read from what is already painted.
        const TColor cornerLeft = canvas->Pixels(r.Left - 1, r.Top - 1);
        const TColor cornerRight = canvas->Pixels(r.Right + 1, r.Top);
        DrawGlowRect(canvas, r, face, L"", a->Font(), Enabled(), false, FAntiAlias, FTabRoundEdges);
        if (FTabRoundEdges) {
            canvas->SetPixels(r.Left, r.Top, cornerLeft);
            canvas->SetPixels(r.Left + 1, r.Top, cornerLeft);
            canvas->SetPixels(r.Left, r.Top + 1, cornerLeft);
            canvas->SetPixels(r.Right - 1, r.Top, cornerRight);
            canvas->SetPixels(r.Right - 2, r.Top, cornerRight);
            canvas->SetPixels(r.Right - 1, r.Top + 1, cornerRight);
        }
        if (show3D) {
            const int p = state.Fading || choice.FocusHot ? 20 : 50;
            Line(canvas, BlendColor(clWhite, face.Color, p), r.Left + 3, r.Top + 3, r.Right - 3, r.Top + 3);
        }
        if (FCurrentToolBarStyler->TabAppearance()->ShadowColor() != clNone && !IsGlass(true) && shadow) {
            const TColor shade = FCurrentToolBarStyler->TabAppearance()->ShadowColor();
            Line(canvas, shade, r.Right, r.Top + 3, r.Right, r.Bottom - 4);
            Line(canvas, BlendColor(shade, FCurrentToolBarStyler->TabAppearance()->BackGround()->Color(), 40),
                 r.Right + 1, r.Top + 4, r.Right + 1, r.Bottom - 4);
        }
        if (show3D && highlight != clNone) {
            Line(canvas, BlendColor(face.Color, face.Border, 80), r.Left + 3, r.Top + 1, r.Right - 3, r.Top + 1);
            Line(canvas, highlight, r.Left + 1, r.Top + 3, r.Left + 1, r.Bottom - 5);
            Line(canvas, highlight, r.Right - 2, r.Top + 3, r.Right - 2, r.Bottom - 5);
        }
    }

    // Content: image, then the caption.
    TRect content = r;
    const int groupExtra = group >= 0 ? FTabGroups->GetItem(group)->TabCurrentExtraXMargin() : 0;
    if (FGroupStyle == gsOffice2019) {
        content.Left += groupExtra;
        content.Right -= groupExtra;
    } else {
        content.Left += group >= 0 ? groupExtra + FRow.Current.GroupLeftMargin : FRow.Current.LeftMargin;
    }
    if ((FImages || FDisabledImages) && page->ImageIndex() >= 0) {
        TCustomImageList* list = !page->TabEnabled() && FDisabledImages ? FDisabledImages : FImages;
        if (!list) list = FDisabledImages;
        list->Draw(canvas, content.Left, r.Top + (r.Height() - list->Height()) / 2, page->ImageIndex(),
                   page->TabEnabled() || list == FDisabledImages);
        content.Left += list->Width() + 2;
    }
    content.Right -= 2;
    TFont font;
    font.Assign(a->Font());
    font.SetHeight(RoundScaled(a->Font()->Height() * DPIScaleFactor));
    font.SetColor(text);
    if (FBold) font.SetStyle(font.Style() + fsBold);
    TRect textBox = content;
    if (FGroupStyle == gsOffice2019) textBox.Bottom -= RoundScaled(6 * DPIScaleFactor);
    canvas->UseFont(&font);
    canvas->Brush()->SetStyle(bsClear);
    const AdvGDIP::TAntiAlias antiAlias = FTabTextAntiAlias;
    TRect drawn;
    DrawTextWrapped(canvas, FGroupStyle == gsOffice2019 ? taCenter : taLeftJustify, textBox, page->Caption(),
                    page->WideCaption(), &font, page->Enabled(), true, antiAlias, false, clNone, false, drawn);

    // The 2019 style's underline under the selected tab's caption.
    if (FGroupStyle == gsOffice2019 && index == FActivePageIndex) {
        const int thin = RoundScaled(DPIScaleFactor);
        const int thick = RoundScaled(2 * DPIScaleFactor);
        if (FLine.Animating) {
            canvas->Brush()->SetColor(FLineColor);
            canvas->FillRect(Rect(int(std::lrint(FLine.CurStart)), FLineBottom - thin, int(std::lrint(FLine.CurEnd)),
                                  FLineBottom + thick));
        } else {
            int start = 0, end = 0;
            if (!state.Hot || FMouseDown) {
                // Under the centred caption by its width alone: where GDI+ measures nothing
                // (Wine) the text is drawn by GDI, and the drawn box's place is not the text's.
                const int margin = (content.Width() - drawn.Width()) / 2;
                start = content.Left + margin;
                end = content.Right - margin;
                if (FRow.TabWidth(index) < page->FTabWidth) end -= FTabSettings->LeftMargin();
            } else {
                start = content.Left;
                end = content.Right;
            }
            // Above the page, which covers the tab rectangle's last pixels.
            FLineBottom = std::min(content.Bottom, GetTabsArea().Bottom) - RoundScaled(3 * DPIScaleFactor);
            if (int(std::lrint(FLine.CurStart)) != start) {
                AnimateTabLine(start, end);
            } else {
                canvas->Brush()->SetColor(FLineColor);
                canvas->FillRect(Rect(start, FLineBottom - thin, end, FLineBottom + thick));
            }
        }
    }
}

void TAdvToolBarPager::AnimateTabLine(int newStart, int newEnd) {
    if (HasState(csDesigning)) {
        FLine.CurStart = FLine.NewStart = newStart;
        FLine.CurEnd = FLine.NewEnd = newEnd;
        Invalidate();
        return;
    }
    FLine.Begin(newStart, newEnd);
    if (!FDLTimer) {
        FDLTimer = new TTimer(this);
        FDLTimer->SetInterval(20);
        FDLTimer->SetOnTimer([this](TObject*) { TabLineTick(); });
    }
    FDLTimer->SetEnabled(true);
}

void TAdvToolBarPager::TabLineTick() {
    if (!FLine.Step() && FDLTimer) FDLTimer->SetEnabled(false);
    Invalidate();
}

}  // namespace AdvToolBar
