// The toolbar's painting: caption strip, background, bevel, corners and border, and its own
// small parts (drag grip, right handle, caption option indicator, floating caption buttons).
// Every colour comes from the current styler; on a ribbon page some come from the page's pager.
#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPagerAppearance.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using ClassLib::clBtnShadow;
using ClassLib::clNone;
using ClassLib::clWhite;
using ClassLib::TCanvas;
using ClassLib::TPoint;
using ClassLib::TRect;

TColor FadeColour(const TFadeState& fade, TColor normal, TColor hot) {
    if (fade.Fading) return BlendColor(hot, normal, fade.Step);
    if ((fade.Hot || fade.Focused) && hot != clNone) return hot;
    return normal;
}

namespace {

// Each RGB byte complemented: the shadow of a shaded arrow.
TColor InvertedColor(TColor color) {
    const COLORREF rgb = ClassLib::ColorToRGB(color);
    return TColor(RGB(255 - GetRValue(rgb), 255 - GetGValue(rgb), 255 - GetBValue(rgb)));
}

bool Set(TColor colour) { return colour != clNone; }

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void FillFramed(TCanvas* canvas, const TRect& rect, TColor colour) {
    canvas->Brush()->SetStyle(ClassLib::bsSolid);
    canvas->Brush()->SetColor(colour);
    canvas->Pen()->SetColor(colour);
    canvas->Rectangle(rect);
}

void Outline(TCanvas* canvas, const TRect& rect, TColor colour) {
    canvas->Brush()->SetStyle(ClassLib::bsClear);
    canvas->Pen()->SetColor(colour);
    canvas->Rectangle(rect);
    canvas->Brush()->SetStyle(ClassLib::bsSolid);
}

// Styles whose corners stay square and whose caption keeps 7 pixels clear of a missing indicator.
bool SquareCornerStyle(AdvStyleIF::TOVTStyle style) {
    using namespace AdvStyleIF;
    return style == tsWindows7 || style == tsOffice2010Blue || style == tsOffice2010Silver ||
           style == tsOffice2010Black || style == tsWindows8 || style == tsWindows10;
}
bool CaptionMarginStyle(AdvStyleIF::TOVTStyle style) {
    using namespace AdvStyleIF;
    return style == tsWindows7 || (style >= tsOffice2010Blue && style <= tsOffice2019Black);
}

}  // namespace

// ---------------------------------------------------------------- colour sets

// The colours Paint settles on for the background and caption of the toolbar as it is.
struct TToolBarPainter {
    TAdvCustomToolBar& Bar;
    TCustomAdvToolBarStyler* Styler;
    IToolBarPageHost* Page;  // the context page, null off the ribbon
    TFadeState Fade;
    bool Floating;
    bool Vertical;

    explicit TToolBarPainter(TAdvCustomToolBar& bar)
        : Bar(bar), Styler(bar.CurrentToolBarStyler()), Page(bar.ContextPage()),
          Floating(bar.GetToolBarState() == tsFloating), Vertical(IsVertical(bar.Position()) && !Floating) {
        const bool group = bar.IsRibbonGroup();
        Fade.Fading = bar.FTimer != nullptr && (!group || !bar.Active());
        Fade.Step = bar.StepHover();
        Fade.Hot = bar.Hot() && !Fade.Fading;
        Fade.Focused = group && bar.Active() && bar.Enabled();
    }

    const TGroupAppearance* TabGroup() const { return Page && !Floating ? Page->TabGroupAppearance() : nullptr; }
    const TToolBarAppearance* Tones() const {
        return Page && !Floating && Page->PagerUsesTones() ? Page->PagerToolBarAppearance() : nullptr;
    }

    struct TCaptionColours {
        TColor Color, ColorTo, Border, Text;
    };
    TCaptionColours CaptionColours() const {
        const TCaptionAppearance* ca = Styler->CaptionAppearance();
        if (const TGroupAppearance* group = TabGroup()) ca = group->CaptionAppearance();
        if (const TToolBarAppearance* tones = Tones()) {
            const TColor c = tones->Color()->Color();
            return {c, clNone, clNone, Page->PagerToolBarCaptionTextColor()};
        }
        TCaptionColours colours{ca->CaptionColor(), ca->CaptionColorTo(), ca->CaptionBorderColor(),
                                ca->CaptionTextColor()};
        TFadeState fade = Fade;
        if (fade.Fading && !Set(ca->CaptionColorHot())) fade.Fading = false;
        colours.Color = FadeColour(fade, colours.Color, ca->CaptionColorHot());
        colours.ColorTo = FadeColour(fade, colours.ColorTo, ca->CaptionColorHotTo());
        if (!fade.Fading || Set(colours.Border) || Set(ca->CaptionBorderColorHot()))
            colours.Border = FadeColour(fade, colours.Border, ca->CaptionBorderColorHot());
        colours.Text = FadeColour(fade, colours.Text, ca->CaptionTextColorHot());
        return colours;
    }

    struct TBackColours {
        TColor Color, ColorTo, Mirror, MirrorTo, Border;
        int Steps;
        bool Horizontal;
        bool UseMirror;
    };
    TBackColours BackColours() const {
        const TVistaGradientBackground* normal = Styler->Color();
        const TVistaGradientBackground* hot = Styler->ColorHot();
        const bool onPage = Bar.PageHost() != nullptr || Bar.InCompactWindow();
        TBackColours c{};
        c.Color = onPage ? normal->Mirror()->Color() : normal->Color();
        c.ColorTo = onPage ? normal->Mirror()->ColorTo() : normal->ColorTo();
        c.Mirror = normal->Mirror()->ColorMirror();
        c.MirrorTo = normal->Mirror()->ColorMirrorTo();
        c.Border = Styler->BorderColor();
        c.Steps = normal->Steps();
        c.Horizontal = normal->Direction() == gdHorizontal;
        if (Vertical && !Bar.ParentStyler()) c.Horizontal = !c.Horizontal;
        c.UseMirror = true;
        TColor hotColor = onPage ? hot->Mirror()->Color() : hot->Color();
        TColor hotColorTo = onPage ? hot->Mirror()->ColorTo() : hot->ColorTo();
        TColor hotMirror = hot->Mirror()->ColorMirror(), hotMirrorTo = hot->Mirror()->ColorMirrorTo();
        TColor hotBorder = Styler->BorderColorHot();
        int hotSteps = hot->Steps();
        if (const TGroupAppearance* group = TabGroup()) {
            const TToolBarAppearance* ta = group->ToolBarAppearance();
            c.Steps = ta->Color()->Steps();
            c.Color = ta->Color()->Color();
            c.ColorTo = ta->Color()->ColorTo();
            c.Border = ta->BorderColor();
            hotSteps = ta->ColorHot()->Steps();
            hotColor = ta->ColorHot()->Color();
            hotColorTo = ta->ColorHot()->ColorTo();
            hotBorder = ta->BorderColorHot();
        }
        TFadeState fade = Fade;
        if (fade.Fading && !Set(hot->Color())) fade.Fading = false;
        if (fade.Fading || fade.Hot || fade.Focused) {
            c.Color = FadeColour(fade, c.Color, hotColor);
            c.ColorTo = FadeColour(fade, c.ColorTo, hotColorTo);
            c.Mirror = FadeColour(fade, c.Mirror, hotMirror);
            c.MirrorTo = FadeColour(fade, c.MirrorTo, hotMirrorTo);
            if (Set(c.Border) || Set(hotBorder)) {
                c.Border = fade.Fading ? BlendColor(hotBorder, c.Border, fade.Step) : hotBorder;
            }
            c.Steps = hotSteps;
        }
        if (const TToolBarAppearance* tones = Tones()) {
            c.Color = tones->Color()->Color();
            c.ColorTo = tones->Color()->ColorTo();
            c.Border = tones->BorderColor();
            c.UseMirror = false;
        }
        return c;
    }
};

// ---------------------------------------------------------------- Paint

void TAdvCustomToolBar::Paint() {
    if (FUpdateCount > 0 || !FCurrentToolBarStyler) return;
    TCustomControl::Paint();
    if (FFirstRun && FCurrentDock) {
        FFirstRun = false;
        RecheckHiddenControls();
    }
    TCanvas* canvas = Canvas();
    TToolBarPainter painter(*this);
    TCustomAdvToolBarStyler* styler = FCurrentToolBarStyler;
    const TToolBarFrame frame = Frame();
    const TRect client = ClientRect();
    const TRect content = ContentRect(frame);
    const TRect captionRect = CaptionRect(frame);
    const bool floating = frame.Floating;
    const bool vertical = frame.Vertical;
    const bool ribbonGroup = IsRibbonGroup();

    // ---- caption ----
    const std::wstring caption = Caption().empty() ? FWideCaption : Caption();
    if (floating) {
        const TCaptionAppearance* ca = styler->CaptionAppearance();
        if (Set(ca->CaptionColor()) && Set(ca->CaptionColorTo()))
            DrawGradient(canvas, ca->CaptionColor(), ca->CaptionColorTo(), 80, captionRect, false);
        else if (Set(ca->CaptionColor()) || Set(ca->CaptionColorTo()))
            FillFramed(canvas, captionRect, Set(ca->CaptionColor()) ? ca->CaptionColor() : ca->CaptionColorTo());
        if (Set(ca->CaptionBorderColor())) Outline(canvas, captionRect, ca->CaptionBorderColor());
        if (!caption.empty()) {
            canvas->SetFont(FParentStyler ? styler->CaptionFont() : FCaptionFont.get());
            canvas->Font()->SetColor(ca->CaptionTextColor());
            // The caption font is in screen pixels already: scaled as the docked caption
            // text is, or a high-dpi floating caption gets the scale twice.
            canvas->Font()->SetHeight(int(std::lrint(canvas->Font()->Height() * 96.0 / FInitPPI * DPIScaleFactor)));
            TRect text = captionRect;
            text.Left += 3;
            if (FShowOptionIndicator) text.Right = FloatingOptionButtonRect(frame).Left;
            else if (FShowClose) text.Right = FloatingCloseButtonRect(frame).Left;
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            std::wstring shown = caption;
            canvas->TextRect(text, shown, {ClassLib::tfSingleLine, ClassLib::tfVerticalCenter, ClassLib::tfLeft});
            canvas->Brush()->SetStyle(ClassLib::bsSolid);
        }
        DrawOptionButton();
        DrawCloseButton();
    } else if (FShowCaption && !captionRect.IsEmpty()) {
        const auto colours = painter.CaptionColours();
        if (!Set(colours.ColorTo))
            FillFramed(canvas, captionRect, colours.Color);
        else if (!Set(colours.Color))
            FillFramed(canvas, captionRect, colours.ColorTo);
        else
            DrawGradient(canvas, colours.Color, colours.ColorTo, 80, captionRect, false);
        if (Set(colours.Border)) Outline(canvas, captionRect, colours.Border);
        if (!caption.empty()) {
            TRect text = captionRect;
            const int start = GripDrawn() ? FDragGripWidth + 3 : 3;
            (vertical ? text.Top : text.Left) += start;
            if (FShowRightHandle && !FFullSize) (vertical ? text.Bottom : text.Right) -= RightHandleWidth() + 2;
            canvas->SetFont(styler->CaptionFont());
            canvas->Font()->SetHeight(
                int(std::lrint(styler->CaptionFont()->Height() * 96.0 / FInitPPI * DPIScaleFactor)));
            if (!vertical) text.Top -= int(std::lrint((DPIScaleFactor - 1) * 3));
            canvas->Font()->SetColor(colours.Text);
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            if (!vertical) {
                const TRect indicator = CaptionOptionIndicatorRect(frame);
                if (indicator.Left >= 0) text.Right = indicator.Left;
                else if (!FShowOptionIndicator && CaptionMarginStyle(styler->OVTStyle())) text.Right -= 7;
                ClassLib::TTextFormat format{ClassLib::tfSingleLine, ClassLib::tfVerticalCenter,
                                             ClassLib::tfEndEllipsis};
                format += FCaptionAlignment == ClassLib::taRightJustify ? ClassLib::tfRight
                          : FCaptionAlignment == ClassLib::taCenter     ? ClassLib::tfCenter
                                                                        : ClassLib::tfLeft;
                std::wstring shown = caption;
                canvas->TextRect(text, shown, format);
            } else if (!Caption().empty()) {
                LOGFONTW lf{};
                GetObjectW(canvas->Font()->Handle(), sizeof lf, &lf);
                // Counter-clockwise tenths of a degree: on the left the caption reads bottom
                // to top (a quarter turn left), on the right top to bottom.
                lf.lfEscapement = FPosition == daLeft ? 900 : 2700;
                lf.lfOrientation = lf.lfEscapement;
                ClassLib::TFont turned;
                turned.Assign(canvas->Font());
                turned.SetHandle(CreateFontIndirectW(&lf));
                canvas->SetFont(&turned);
                const int w = canvas->TextWidth(Caption());
                const TPoint anchor = VerticalCaptionAnchor(text, w, FPosition, FCaptionAlignment);
                DrawVerticalText(canvas, Caption(), anchor);
            }
            canvas->Brush()->SetStyle(ClassLib::bsSolid);
        }
    }

    // ---- background ----
    TRect back = content;
    back.Bottom += 1;
    if (styler->RoundEdges()) back.Right += 1;
    auto colours = painter.BackColours();
    if (FFullSize) {
        const TGradientBackground* dock = styler->DockColor();
        if (floating) FillFramed(canvas, back, dock->Color());
        else DrawGradient(canvas, dock->Color(), dock->ColorTo(), 256, back, dock->Direction() == gdHorizontal);
        colours.Border = floating ? colours.Border : clNone;
    } else {
        // The styler's BackGroundTransparent is one of its picture settings, not a switch
        // for the background: a default styler (where it is on) paints its gradient.
        if (!Set(colours.ColorTo)) {
            FillFramed(canvas, back, colours.Color);
        } else if (ribbonGroup && PageHost() && !painter.TabGroup() && colours.UseMirror) {
            const int upper = FCaptionPosition == cpBottom ? MirrorSplit(Top()) : 0;
            DrawVistaGradient(canvas, back, upper, colours.Color, colours.ColorTo, colours.Mirror, colours.MirrorTo,
                              clNone, GetCornerRadius());
        } else if (floating && FFloatingRows > 1) {
            for (int y = back.Top; y < back.Bottom; y += FSizeAtDock) {
                const TRect row(back.Left, y, back.Right, std::min(back.Bottom, y + FSizeAtDock));
                DrawGradient(canvas, colours.Color, colours.ColorTo, colours.Steps, row, colours.Horizontal);
            }
        } else {
            DrawGradient(canvas, colours.Color, colours.ColorTo, colours.Steps, back, colours.Horizontal);
        }
        ClassLib::TBitmap* bitmap = styler->BackGround();
        if (bitmap && !bitmap->Empty()) {
            switch (styler->BackGroundDisplay()) {
            case bdTile:
                for (int y = 0; y < Height() - 1; y += bitmap->Height())
                    for (int x = 0; x < Width() - 1; x += bitmap->Width()) canvas->Draw(x, y, bitmap);
                break;
            case bdCenter:
                canvas->Draw((Width() - bitmap->Width()) / 2, (Height() - bitmap->Height()) / 2, bitmap);
                break;
            case bdStretch:
                canvas->StretchDraw(TRect(back.Left + 2, back.Top + 2, back.Right - 2, back.Bottom - 2), bitmap);
                break;
            }
        }
    }

    // ---- bevel ----
    if (styler->UseBevel() && !floating && styler->Bevel() != ClassLib::bvNone) {
        const int w = Width(), h = Height();
        const bool lowered = styler->Bevel() == ClassLib::bvLowered;
        const int o = lowered ? 1 : 0;
        canvas->Pen()->SetColor(lowered ? clBtnShadow : clWhite);
        const TPoint first[] = {{o, h}, {o, o}, {w, o}};
        canvas->Polyline(first);
        canvas->Pen()->SetColor(lowered ? clWhite : clBtnShadow);
        const TPoint second[] = {{w - 1, o}, {w - 1, h - 1}, {o, h - 1}};
        canvas->Polyline(second);
    }

    DrawMDIButtons();
    DrawDragGrip();
    DrawRightHandle();

    // ---- corners ----
    TRect corner = back;
    const bool cornersRun =
        styler->RoundEdges() && styler->Bevel() == ClassLib::bvNone && !SquareCornerStyle(styler->OVTStyle());
    if (cornersRun) {
        if (!floating && FShowCaption) {
            if (!vertical && FCaptionPosition == cpTop) corner.Top = client.Top;
            else if (!vertical) corner.Bottom = client.Bottom + 1;
            else if (FCaptionPosition == cpTop) corner.Left = client.Left;
            else corner.Right = client.Right + 1;
        }
        PaintCorners(corner, colours.Color);
    }

    // ---- border ----
    if (Set(colours.Border) && !floating) {
        const bool scenicOrTones = AdvGDIP::GetScenicRibbonFlag() || painter.Tones();
        if (scenicOrTones) {
            if (PageHost() && PageHost()->PageInPager() && !InCompactWindow()) {
                const TRect b = cornersRun ? corner : back;
                canvas->Pen()->SetWidth(3);
                canvas->Pen()->SetColor(colours.Color);
                Line(canvas, b.Right - 3, b.Top + 5, b.Right - 3, b.Bottom - 5);
                canvas->Pen()->SetWidth(1);
                canvas->Pen()->SetColor(colours.Border);
                Line(canvas, b.Right - 3, b.Top + 6, b.Right - 3, b.Bottom - 6);
            }
        } else {
            const TRect b = cornersRun ? corner : back;
            canvas->Brush()->SetStyle(ClassLib::bsClear);
            canvas->Pen()->SetColor(colours.Border);
            if (styler->RoundEdges() && styler->Bevel() == ClassLib::bvNone)
                canvas->RoundRect(b.Left, b.Top, b.Right - 1, b.Bottom - 1, 6, 6);
            else
                canvas->Rectangle(b.Left, b.Top, b.Right - 1, b.Bottom - 1);
            canvas->Brush()->SetStyle(ClassLib::bsSolid);
        }
    }
}

void TAdvCustomToolBar::PaintCorners(const TRect& b, TColor startColour) {
    TWinControl* parent = Parent();
    if (!parent) return;
    const bool vertical = IsVertical(FPosition) && FToolBarState != tsFloating;
    const bool handleHidden = !FShowRightHandle && FToolBarState != tsFloating && !FFullSize;
    const int L = Left(), T = Top(), W = Width(), H = Height();
    const TPoint tl[3] = {{b.Left, b.Top}, {b.Left + 1, b.Top}, {b.Left, b.Top + 1}};
    const TPoint bl[3] = {{b.Left, b.Bottom - 2}, {b.Left + 1, b.Bottom - 2}, {b.Left, b.Bottom - 3}};
    // A vertical toolbar's top-right corner sits one pixel further out.
    const int trX = vertical ? b.Right - 1 : b.Right - 2;
    const TPoint tr[3] = {{trX, b.Top}, {trX - 1, b.Top}, {trX, b.Top + 1}};
    const TPoint br[3] = {{b.Right - 2, b.Bottom - 2}, {b.Right - 3, b.Bottom - 2}, {b.Right - 2, b.Bottom - 3}};
    TCanvas* canvas = Canvas();
    auto put = [&](const TPoint (&pixels)[3], const TColor (&from)[3]) {
        for (int i = 0; i < 3; ++i)
            if (Set(from[i])) canvas->SetPixels(pixels[i].X, pixels[i].Y, from[i]);
    };
    if (InCompactWindow()) {
        if (vertical) return;
        const TColor s[3] = {startColour, startColour, startColour};
        put(tl, s);
        put(bl, s);
        if (handleHidden) {
            put(tr, s);
            put(br, s);
        }
        return;
    }
    TAdvDockPanel* dock = DockPanelOf(parent);
    const bool page = PageHost() != nullptr;
    if (!dock && !page) return;
    // The parent's own pixels around the toolbar, read from its window.
    HDC dc = parent->HandleAllocated() ? GetDC(parent->Handle()) : nullptr;
    auto at = [&](int x, int y) -> TColor {
        if (!dc) return clNone;
        const COLORREF c = GetPixel(dc, x, y);
        return c == CLR_INVALID ? clNone : TColor(c);
    };
    auto image = [&](int x, int y) -> TColor {
        TColor c = clNone;
        return DockImagePixel(x, y, c) ? c : clNone;
    };
    const bool skipLeft = page && AdvGDIP::GetScenicRibbonFlag() && ContextPage() && ContextPage()->PagerIsGlass();
    if (dock) {
        const TColor a[3] = {at(L - 1, T - 1), at(L + 1, T - 1), at(L - 1, T)};
        put(tl, a);
        if (!vertical) {
            const TColor c = at(L - 1, T + H);
            const TColor b2[3] = {c, c, c};
            put(bl, b2);
            if (handleHidden) {
                const TColor t[3] = {image(L + W - 1, T), image(L + W - 2, T), image(L + W - 1, T)};
                put(tr, t);
                const TColor r[3] = {image(L + W - 1, T + H), image(L + W - 2, T + H), image(L + W - 1, T + H)};
                put(br, r);
            }
        } else {
            if (handleHidden) {
                const TColor b2[3] = {image(L + 1, T + H), image(L + 2, T + H), image(L + 1, T + H)};
                put(bl, b2);
                const TColor r[3] = {image(L + W - 1, T + H), image(L + W - 2, T + H), image(L + W - 1, T + H)};
                put(br, r);
            }
            const TColor t[3] = {image(L + W, T), image(L + W - 1, T), image(L + W, T + 1)};
            put(tr, t);
        }
    } else if (!vertical) {
        if (!skipLeft) {
            const TColor a[3] = {at(L - 1, T - 1), at(L + 1, T - 1), at(L - 1, T)};
            put(tl, a);
            const TColor c = at(L - 1, T + H);
            const TColor b2[3] = {c, c, c};
            put(bl, b2);
        }
        if (handleHidden) {
            const TColor t = at(L + W + 1, T), r = at(L + W + 1, T + H);
            const TColor t3[3] = {t, t, t}, r3[3] = {r, r, r};
            put(tr, t3);
            put(br, r3);
        }
    } else {
        const TColor a[3] = {at(L - 1, T - 1), at(L + 1, T - 1), at(L - 1, T)};
        put(tl, a);
        const TColor t[3] = {at(L + W, T), at(L + W - 1, T), at(L + W, T + 1)};
        put(tr, t);
        if (handleHidden) {
            const TColor c = at(L - 1, T + H), r = at(L + W + 1, T + H);
            const TColor c3[3] = {c, c, c}, r3[3] = {r, r, r};
            put(bl, c3);
            put(br, r3);
        }
    }
    if (dc) ReleaseDC(parent->Handle(), dc);
}

// ---------------------------------------------------------------- drag grip

void TAdvCustomToolBar::DrawDragGrip() {
    if (!FCurrentToolBarStyler || FToolBarState == tsFloating) return;
    TDragGripStyle style = FCurrentToolBarStyler->DragGripStyle();
    if (PageHost() || InCompactWindow()) style = dsNone;
    const bool vertical = IsVertical(FPosition);
    // Beside the caption strip, not in it: the grip belongs to the row of items.
    const TRect c = ContentRect(Frame());
    const TRect g = vertical ? TRect(c.Left + 1, 1, c.Right, FDragGripWidth)
                             : TRect(1, c.Top + 1, FDragGripWidth, c.Bottom);
    // The dots and lines count from one pixel before the grip's start, as without a caption.
    const int gripLength = vertical ? g.Right - g.Left + 1 : g.Bottom - g.Top + 1;
    TCanvas* canvas = Canvas();
    ClassLib::TBitmap* image = FCurrentToolBarStyler->DragGripImage();
    if (style != dsNone && image && !image->Empty()) {
        canvas->StretchDraw(g, image);
        return;
    }
    auto dot = [&](int x, int y) {
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(x + 1, y + 1, x + 3, y + 3));
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FillRect(TRect(x, y, x + 2, y + 2));
    };
    switch (style) {
    case dsDots:
        if (!vertical)
            for (int i = 0, n = (gripLength - 8) / 4; i < n; ++i) dot(g.Left + 3, g.Top + 4 + 4 * i);
        else
            for (int i = 0, n = (gripLength - 8) / 4; i < n; ++i) dot(g.Left + 4 + 4 * i, g.Top + 3);
        break;
    case dsSingleLine:
        if (!vertical) DrawGripLine(canvas, {g.Left + 4, g.Bottom - 4}, {g.Left + 4, g.Top + 3}, true, true);
        else DrawGripLine(canvas, {g.Left + 3, g.Top + 4}, {g.Right - 5, g.Top + 4}, false, true);
        break;
    case dsDoubleLine:
        for (const int d : {2, 5}) {
            if (!vertical) DrawGripLine(canvas, {g.Left + d, g.Bottom - 4}, {g.Left + d, g.Top + 3}, true, true);
            else DrawGripLine(canvas, {g.Left + 3, g.Top + d}, {g.Right - 5, g.Top + d}, false, true);
        }
        break;
    case dsFlatDots:
        canvas->Pen()->SetColor(TColor(RGB(165, 165, 165)));
        if (!vertical)
            for (int i = 0, n = (gripLength - 8) / 2; i < n; ++i) {
                const int y = g.Top + 4 + 2 * i;
                Line(canvas, g.Left + 2, y, g.Left + 5, y);
            }
        else
            for (int i = 0, n = (gripLength - 8) / 2; i < n; ++i) {
                const int x = g.Left + 4 + 2 * i;
                Line(canvas, x, g.Top + 2, x, g.Top + 5);
            }
        break;
    case dsNone:
        break;
    }
}

// ---------------------------------------------------------------- right handle

namespace {

void DrawShadedArrow(TCanvas* canvas, TColor colour, int R, int B) {
    const float s = DPIScaleFactor;
    const TColor inverted = InvertedColor(colour);
    if (s < 1.1f) {
        canvas->Pen()->SetColor(colour);
        Line(canvas, R - 9, B - 11, R - 4, B - 11);
        Line(canvas, R - 9, B - 8, R - 4, B - 8);
        Line(canvas, R - 8, B - 7, R - 5, B - 7);
        canvas->SetPixels(R - 7, B - 6, colour);
        canvas->Pen()->SetColor(inverted);
        Line(canvas, R - 8, B - 10, R - 3, B - 10);
        Line(canvas, R - 5, B - 7, R - 3, B - 7);
        Line(canvas, R - 6, B - 6, R - 4, B - 6);
        canvas->SetPixels(R - 6, B - 5, inverted);
        return;
    }
    auto r = [s](int v) { return int(std::lrint(v * s)); };
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        const TColor c = pass == 0 ? inverted : colour;
        AdvGDIP::TGPPen pen(ColorToARGB(c), pass == 0 ? s : 1.0f);
        graphics.DrawLine(&pen, float(R - r(9) + d), float(B - r(11) + d), float(R - r(4) + d), float(B - r(11) + d));
        AdvGDIP::TGPSolidBrush brush(ColorToARGB(c));
        const AdvGDIP::TGPPointF points[] = {{float(R - r(9) + d), float(B - r(7) + d)},
                                             {float(R - r(4) + 1 + d), float(B - r(7) + d)},
                                             {float(R - r(7) + 1 + d), float(B - r(5) + 1 + d)},
                                             {float(R - r(9) + 1 + d), float(B - r(7) + d)}};
        graphics.FillPolygon(&brush, points, 4);
    }
}

void DrawPlainArrow(TCanvas* canvas, TColor colour, int R, int B) {
    const float s = DPIScaleFactor;
    if (s < 1.2f) {
        canvas->Pen()->SetColor(colour);
        Line(canvas, R - 9, B - 9, R - 4, B - 9);
        Line(canvas, R - 9, B - 7, R - 4, B - 7);
        Line(canvas, R - 8, B - 6, R - 5, B - 6);
        canvas->SetPixels(R - 7, B - 5, colour);
        return;
    }
    auto r = [s](int v) { return int(std::lrint(v * s)); };
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    AdvGDIP::TGPPen pen(ColorToARGB(colour), 1.0f);
    graphics.DrawLine(&pen, float(R - r(9)), float(B - r(9)), float(R - r(4)), float(B - r(9)));
    AdvGDIP::TGPSolidBrush brush(ColorToARGB(colour));
    const AdvGDIP::TGPPointF points[] = {{float(R - r(9)), float(B - r(7))},
                                         {float(R - r(4) + 1), float(B - r(7))},
                                         {float(R - r(7) + 1), float(B - r(5) + 2)},
                                         {float(R - r(9) + 1), float(B - r(7))}};
    graphics.FillPolygon(&brush, points, 4);
}

void DrawVerticalArrow(TCanvas* canvas, TColor colour, int R, int T, bool shaded) {
    canvas->Pen()->SetColor(colour);
    if (shaded) {
        Line(canvas, R - 9, T + 5, R - 9, T + 10);
        Line(canvas, R - 6, T + 5, R - 6, T + 10);
        Line(canvas, R - 5, T + 6, R - 5, T + 9);
        canvas->SetPixels(R - 4, T + 7, colour);
        const TColor inverted = InvertedColor(colour);
        canvas->Pen()->SetColor(inverted);
        Line(canvas, R - 8, T + 6, R - 8, T + 11);
        Line(canvas, R - 5, T + 9, R - 5, T + 11);
        Line(canvas, R - 4, T + 8, R - 2, T + 8);
        canvas->SetPixels(R - 4, T + 9, inverted);
    } else {
        Line(canvas, R - 9, T + 6, R - 9, T + 11);
        Line(canvas, R - 6, T + 6, R - 6, T + 11);
        Line(canvas, R - 5, T + 7, R - 5, T + 10);
        canvas->SetPixels(R - 4, T + 8, colour);
    }
}

void DrawRaisedChevron(TCanvas* canvas, const TRect& h, bool vertical) {
    const int L = h.Left, T = h.Top, R = h.Right;
    struct TSeg {
        int x1, y1, x2, y2;
    };
    auto draw = [&](TColor colour, std::initializer_list<TSeg> segs) {
        canvas->Pen()->SetColor(colour);
        for (const TSeg& s : segs) Line(canvas, s.x1, s.y1, s.x2, s.y2);
    };
    if (!vertical) {
        draw(ClassLib::clBlack, {{R - 6, T + 5, R - 6, T + 8}, {R - 6, T + 6, R - 4, T + 6},
                                 {R - 10, T + 5, R - 10, T + 8}, {R - 10, T + 6, R - 8, T + 6}});
        draw(clWhite, {{R - 5, T + 7, R - 5, T + 9}, {R - 5, T + 7, R - 3, T + 7},
                       {R - 9, T + 7, R - 9, T + 9}, {R - 9, T + 7, R - 7, T + 7}});
    } else {
        draw(ClassLib::clBlack, {{L + 5, T + 5, L + 8, T + 5}, {L + 6, T + 5, L + 6, T + 7},
                                 {L + 5, T + 9, L + 8, T + 9}, {L + 6, T + 9, L + 6, T + 11}});
        draw(clWhite, {{L + 7, T + 6, L + 9, T + 6}, {L + 7, T + 6, L + 7, T + 8},
                       {L + 7, T + 10, L + 9, T + 10}, {L + 7, T + 10, L + 7, T + 12}});
    }
}

void DrawPlainChevron(TCanvas* canvas, const TRect& h, bool vertical, TColor colour) {
    const int L = h.Left, T = h.Top;
    canvas->Pen()->SetColor(colour);
    if (!vertical) {
        Line(canvas, L + 8, T + 3, L + 11, T + 6);
        Line(canvas, L + 11, T + 6, L + 7, T + 10);
        Line(canvas, L + 6, T + 3, L + 9, T + 6);
        Line(canvas, L + 9, T + 6, L + 5, T + 10);
    } else {
        Line(canvas, L + 3, T + 6, L + 5, T + 8);
        Line(canvas, L + 5, T + 8, L + 8, T + 5);
        Line(canvas, L + 3, T + 8, L + 5, T + 10);
        Line(canvas, L + 5, T + 10, L + 8, T + 7);
    }
}

}  // namespace

void TAdvCustomToolBar::DrawRightHandle() {
    if (!FCurrentToolBarStyler || !HandleAllocated()) return;
    if (!FShowPopupIndicator || !FShowRightHandle || FToolBarState == tsFloating || FFullSize) {
        DrawCaptionOptionIndicator();
        return;
    }
    TCustomAdvToolBarStyler* styler = FCurrentToolBarStyler;
    const TButtonAppearance* ba = styler->ButtonAppearance();
    const bool vertical = IsVertical(FPosition);
    const int w = RightHandleWidth();
    TRect h = vertical ? TRect(0, Height() - w, Width(), Height()) : TRect(Width() - w, 1, Width() + 1, Height() + 1);
    const bool round = styler->RoundEdges();
    if (round) h = TRect(h.Left - 1, h.Top + 1, h.Right - 2, h.Bottom - 3);
    else if (!vertical) h = TRect(h.Left - 1, h.Top + 1, h.Right, h.Bottom - 2);
    else h = TRect(h.Left + 1, h.Top, h.Right - 1, h.Bottom - 1);

    TColor fill, fillTo, border, chevron, arrow;
    if (FDownPopupIndicator || OptionWindowShowing()) {
        fill = styler->RightHandleColorDown();
        fillTo = styler->RightHandleColorDownTo();
        border = ba->BorderDownColor();
        chevron = ba->CaptionTextColorDown();
        arrow = ba->CaptionTextColor();
    } else if (FHotPopupIndicator) {
        fill = styler->RightHandleColorHot();
        fillTo = styler->RightHandleColorHotTo();
        border = ba->BorderHotColor();
        chevron = arrow = ba->CaptionTextColorHot();
    } else {
        fill = styler->RightHandleColor();
        fillTo = styler->RightHandleColorTo();
        border = ba->BorderColor();
        chevron = arrow = ba->CaptionTextColor();
    }
    TCanvas* canvas = Canvas();
    ClassLib::TBitmap* image = styler->RightHandleImage();
    if (image && !image->Empty()) {
        canvas->StretchDraw(h, image);
        return;
    }
    TRect area = h;
    (vertical ? area.Top : area.Left) += 3;
    if (!Set(fill) || !Set(fillTo)) {
        canvas->Brush()->SetColor(Set(fill) ? fill : fillTo);
        if (Set(fill) || Set(fillTo)) canvas->FillRect(area);
    } else {
        DrawGradient(canvas, fill, fillTo, 16, area, vertical);
    }
    const bool hidden = HiddenLength() > 0;
    if (round) {
        if (!Set(fillTo)) fillTo = fill;
        if (FCurrentDock) {
            const int L = Left(), T = Top(), W = Width(), H = Height();
            TColor c = clNone;
            auto copy = [&](int x, int y, int fx, int fy) {
                if (DockImagePixel(fx, fy, c)) canvas->SetPixels(x, y, c);
            };
            if (!vertical) {
                copy(h.Right - 2, h.Top, L + W - 1, T);
                copy(h.Right - 3, h.Top, L + W - 2, T);
                copy(h.Right - 2, h.Top + 1, L + W - 1, T);
                copy(h.Right - 2, h.Bottom - 2, L + W - 1, T + H);
                copy(h.Right - 3, h.Bottom - 2, L + W - 2, T + H);
                copy(h.Right - 2, h.Bottom - 3, L + W - 1, T + H);
            } else {
                copy(h.Left, h.Bottom - 1, L + 1, T + H);
                copy(h.Left + 1, h.Bottom - 1, L + 2, T + H);
                copy(h.Left, h.Bottom - 2, L + 1, T + H);
                copy(h.Right - 1, h.Bottom - 1, L + W - 1, T + H);
                copy(h.Right - 2, h.Bottom - 1, L + W - 2, T + H);
                copy(h.Right - 1, h.Bottom - 2, L + W - 1, T + H);
            }
        }
        if (Set(fill)) {
            if (!vertical) {
                for (const TPoint p : {TPoint{h.Left + 1, h.Top}, {h.Left + 2, h.Top}, {h.Left + 2, h.Top + 1}})
                    canvas->SetPixels(p.X, p.Y, fill);
                for (const TPoint p : {TPoint{h.Left + 1, h.Bottom - 2}, {h.Left + 2, h.Bottom - 2}, {h.Left + 2, h.Bottom - 3}})
                    canvas->SetPixels(p.X, p.Y, fillTo);
            } else {
                for (const TPoint p : {TPoint{h.Left, h.Top + 2}, {h.Left + 1, h.Top + 2}, {h.Left, h.Top + 1}})
                    canvas->SetPixels(p.X, p.Y, fill);
                for (const TPoint p : {TPoint{h.Right - 1, h.Top + 2}, {h.Right - 2, h.Top + 2}, {h.Right - 1, h.Top + 1}})
                    canvas->SetPixels(p.X, p.Y, fillTo);
            }
        }
        if (hidden) DrawRaisedChevron(canvas, h, vertical);
        if (FShowOptionIndicator) {
            if (vertical) DrawVerticalArrow(canvas, arrow, h.Right, h.Top, true);
            else DrawShadedArrow(canvas, arrow, h.Right, h.Bottom);
        }
    } else {
        if (Set(border)) {
            Outline(canvas,
                    vertical ? TRect(h.Left, h.Top + 3, h.Right, h.Bottom)
                             : TRect(h.Left + 3, h.Top, h.Right - 1, h.Bottom - 1),
                    border);
        }
        if (hidden) DrawPlainChevron(canvas, h, vertical, chevron);
        if (FShowOptionIndicator) {
            if (vertical) DrawVerticalArrow(canvas, arrow, h.Right, h.Top, false);
            else DrawPlainArrow(canvas, arrow, h.Right, h.Bottom);
        }
    }
}

void TAdvCustomToolBar::DrawCaptionOptionIndicator() {
    const TToolBarFrame frame = Frame();
    const TRect r = CaptionOptionIndicatorRect(frame);
    if (r.Left < 0) return;
    IToolBarPageHost* page = ContextPage();
    const bool tones = page && page->PagerUsesTones();
    const AdvGlowButton::TGlowButtonAppearance* a = FCurrentToolBarStyler->GlowButtonAppearance();
    const bool fading = FOptionTimer != nullptr;
    const TCaptionAppearance* ca = FCurrentToolBarStyler->CaptionAppearance();
    using AdvGlowButton::LookOf;
    using AdvGlowButton::TLookKind;
    TGlowLook look = LookOf(*a, TLookKind::Hot);
    const TGlowLook down = LookOf(*a, TLookKind::Down);
    auto blend = [](TGlowLook to, const TGlowLook& from, int step) {
        to.Color = BlendColor(to.Color, from.Color, step);
        to.ColorTo = BlendColor(to.ColorTo, from.ColorTo, step);
        to.ColorMirror = BlendColor(to.ColorMirror, from.ColorMirror, step);
        to.ColorMirrorTo = BlendColor(to.ColorMirrorTo, from.ColorMirrorTo, step);
        to.Border = BlendColor(to.Border, from.Border, step);
        return to;
    };
    const TColor capTo = Set(ca->CaptionColorTo()) ? ca->CaptionColorTo() : ca->CaptionColor();
    const TGlowLook captionLook{ca->CaptionColor(), capTo, ca->CaptionColor(), capTo, a->BorderColor(),
                                look.Gradient, look.GradientMirror};
    const bool pushFade = fading && FOptionGlowState == AdvGlowButton::gsPush;
    const bool hoverFade = fading && FOptionGlowState == AdvGlowButton::gsHover;
    if (FCapOptIndicatorDown) {
        look = pushFade ? blend(down, look, FOptionStepPush) : down;
    } else if (FCapOptIndicatorHot) {
        if (hoverFade) look = blend(look, captionLook, FOptionStepHover);
        else if (pushFade) look = blend(down, look, FOptionStepPush);
    } else if (hoverFade) {
        look = blend(look, captionLook, FOptionStepHover);
    } else {
        look = {};
    }
    const bool drawFace = FCapOptIndicatorDown || FCapOptIndicatorHot || hoverFade;
    if (drawFace && tones && page->PagerGlowButtonAppearance()) {
        const auto* pa = page->PagerGlowButtonAppearance();
        look.Color = look.ColorTo = look.ColorMirror = look.ColorMirrorTo =
            FCapOptIndicatorDown ? pa->ColorDown() : pa->ColorHot();
        look.Border = FCapOptIndicatorDown ? pa->BorderColorDown() : pa->BorderColorHot();
    }
    TCanvas* canvas = Canvas();
    if (drawFace) DrawGlowRect(canvas, r, look, L"", nullptr, Enabled(), false, FAntiAlias, true);
    GDIPicture::TGDIPPicture* picture = nullptr;
    if (page && page->PageInPager() && FParentOptionPicture) {
        picture = page->PagerOptionPicture();
        if (!Enabled() && page->PagerOptionDisabledPicture() && !page->PagerOptionDisabledPicture()->Empty())
            picture = page->PagerOptionDisabledPicture();
    } else {
        picture = FOptionPicture.get();
        if (!Enabled() && FOptionDisabledPicture && !FOptionDisabledPicture->Empty())
            picture = FOptionDisabledPicture.get();
    }
    if (!picture || picture->Empty()) return;
    picture->GetImageSizes();
    const int x = std::max(0, (r.Width() - picture->Width()) / 2);
    const int y = std::max(0, (r.Height() - picture->Height()) / 2);
    AdvGDIP::TGPGraphics graphics(canvas->Handle());
    picture->DrawImage(&graphics, r.Left + x, r.Top + y);
}

// ---------------------------------------------------------------- floating caption buttons

namespace {

struct TCaptionButtonLook {
    TColor Frame, Fill, Glyph;
};
TCaptionButtonLook CaptionButtonLook(TCustomAdvToolBarStyler* styler, bool down, bool hot) {
    const AdvMenus::TCustomAdvMenuStyler* menu = styler->CurrentAdvMenuStyler();
    const TColor caption = styler->CaptionAppearance()->CaptionColor();
    if (down && menu) return {ClassLib::clBlack, menu->RootItem()->Color(), clWhite};
    if (hot && menu) return {ClassLib::clBlack, menu->RootItem()->HoverColor(), ClassLib::clBlack};
    return {caption, caption, clWhite};
}

}  // namespace

void TAdvCustomToolBar::DrawCloseButton() {
    if (FToolBarState != tsFloating || !FShowClose || !FCurrentToolBarStyler || !HandleAllocated()) return;
    const TRect r = FloatingCloseButtonRect(Frame());
    const auto look = CaptionButtonLook(FCurrentToolBarStyler, FDownCloseBtn, FHotCloseBtn);
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(look.Fill);
    canvas->Pen()->SetColor(look.Frame);
    canvas->Rectangle(r);
    const int L = r.Left + 4, T = r.Top + 4;
    canvas->Pen()->SetColor(look.Glyph);
    Line(canvas, L, T + 7, L + 8, T);
    Line(canvas, L + 1, T + 7, L + 7, T);
    Line(canvas, L, T + 1, L + 8, T + 8);
    Line(canvas, L + 1, T + 1, L + 7, T + 8);
}

void TAdvCustomToolBar::DrawOptionButton() {
    if (FToolBarState != tsFloating || !FShowOptionIndicator || !FCurrentToolBarStyler || !HandleAllocated()) return;
    const TRect r = FloatingOptionButtonRect(Frame());
    const auto look = CaptionButtonLook(FCurrentToolBarStyler, FDownCustomizedBtn, FHotCustomizedBtn);
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(look.Fill);
    canvas->Pen()->SetColor(look.Frame);
    canvas->Rectangle(r);
    const int L = r.Left, B = r.Bottom;
    canvas->Pen()->SetColor(look.Glyph);
    Line(canvas, L + 5, B - 10, L + 12, B - 10);
    Line(canvas, L + 6, B - 9, L + 11, B - 9);
    Line(canvas, L + 7, B - 8, L + 10, B - 8);
    Line(canvas, L + 8, B - 7, L + 9, B - 7);
}

}  // namespace AdvToolBar
