// Painting of the page control's tab strip: the tabs in three styles on four sides, the
// sheet border, pictures, captions and close buttons.
#include "controls/AdvPageControl.h"

#include <algorithm>
#include <memory>

#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "controls/AdvPageControlLayout.h"
#include "controls/AdvPageControlShared.h"

namespace AdvPageControl {

using namespace ClassLib;

namespace {
using TOwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, TGdiDeleter>;
}  // namespace

// ---- close buttons ----

TCloseBoxInput TAdvPageControl::CloseBoxOf(const TRect& tab, bool lowered) const {
    TCloseBoxInput in;
    in.Strip = TStrip(TabPosition());
    in.AtEnd = FClosePosition == cpRight || FClosePosition == cpRightActive;
    in.Tab = tab;
    in.LeftMargin = FTabMargin->LeftMargin();
    in.TopMargin = FTabMargin->TopMargin();
    in.RightMargin = FTabMargin->RightMargin();
    in.Width = CloseWidth();
    in.Height = CloseHeight();
    in.Lowered = lowered ? FLowerActive : 0;
    in.ActivePicture = !FTabBackGroundActive->Empty();
    in.Overlap = FTabOverlap;
    return in;
}

bool TAdvPageControl::IsOnCloseButton(int pageIndex, int x, int y) {
    if ((FClosePosition == cpLeftActive || FClosePosition == cpRightActive) && pageIndex != ActivePageIndex())
        return false;
    return CloseBoxHitArea(CloseBoxOf(TabRectOfPage(pageIndex), false)).Contains(TPoint{x, y});
}

void TAdvPageControl::DrawCloseButton(TCanvas* canvas, const TRect& t, bool active, TCloseState state) {
    const TCloseBox place = CloseBoxPlace(CloseBoxOf(t, active));
    TCanvasStateScope keep(canvas);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    if (!FCloseGlyph->Empty()) {
        const int w = std::min(FCloseGlyph->Width(), CloseWidth() - 2), h = std::min(FCloseGlyph->Height(), CloseHeight() - 2);
        StretchTransparentFrom(canvas->Handle(), PictureDC(FCloseGlyph.get()), place.Picture.X, place.Picture.Y, w, h,
                               CornerColour(FCloseGlyph.get(), true), 0, 0, w, h);
        return;
    }
    const TColor brush = state == csPressed ? clSilver : clWhite;
    const TColor outline = state == csNormal ? clGray : clBlack;
    const TColor cross = state == csHot ? clGray : clBlack;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(brush);
    canvas->Pen()->SetColor(outline);
    canvas->Rectangle(place.Box);
    canvas->Brush()->SetColor(cross);
    for (const TPixelRun& run : CloseCross(place.Box, RoundScaled(FDPIScale, 2)))
        canvas->FillRect(TRect{run.Left, run.Y, run.Right, run.Y + 1});
}

void TAdvPageControl::DrawCloseButtonNow(TCloseState state) {
    if (!FActivePage || !HandleAllocated()) return;
    TCanvas* canvas = OwnCanvas();
    DrawCloseButton(canvas, TabRectOfPage(ActivePageIndex()), true, state);
    FCanvas->ReleaseWindowDC();
}

// ---- painting ----

void TAdvPageControl::PaintTabs(TMessage& message) {
    const bool ownPaint = !Designing() && !FTabBorder3D && !FFullRefresh && TabCount() > 0 && FUpdateCount < 1;
    if (ownPaint && !message.WParam) {
        TPaintScope painting(FHandle);
        RECT client;
        ::GetClientRect(FHandle, &client);
        TOffscreenBuffer buffer(painting.Handle(), client.right, client.bottom);
        if (buffer) {
            TCanvas canvas;
            canvas.SetHandle(buffer.Handle());
            canvas.Brush()->SetColor(Color());
            canvas.FillRect(FromRECT(client));
            // The system's own picture of the tabs is left out: DrawAllTabs covers the
            // strip, the tabs and the sheet border, and the pages cover the rest. Under
            // Wine that picture (one owner-draw request per tab) costs most of the paint.
            canvas.Font()->Assign(Font());
            canvas.Pen()->SetWidth(1);
            canvas.Pen()->SetStyle(psSolid);
            DrawAllTabs(&canvas);
            canvas.SetHandle(nullptr);
            buffer.CopyTo(painting.Handle());
        } else {
            TMessage native{WM_PAINT, WPARAM(painting.Handle()), 0, 0};
            DefaultHandler(native);
        }
    } else {
        TCustomTabControl::Dispatch(message);
    }
    if (!FTabBorder3D && HandleAllocated()) {
        message.Result = 0;
        DrawAllTabs(OwnCanvas());
        FCanvas->ReleaseWindowDC();
    }
}

void TAdvPageControl::DrawTabFocus(TCanvas* canvas, const TRect& r, bool active, int shift) {
    if (Designing() || !FShowFocus || !active || !Focused()) return;
    TCanvasStateScope keep(canvas);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psDot);
    if (TabPosition() == tpTop || TabPosition() == tpBottom)
        canvas->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5 - shift, r.Bottom - 3);
    else
        canvas->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5, r.Bottom - 3 - shift);
}

namespace {
// Gives the canvas a font turned by `orientation`; the canvas keeps its GDI font when only
// the colour changes, and a paint switches fonts for every tab.
void UseFont(TCanvas* canvas, const TFont* font, int orientation = 0) {
    if (font->Orientation() == orientation) {
        canvas->UseFont(font);
        return;
    }
    TFont turned;
    turned.Assign(font);
    turned.SetOrientation(orientation);
    canvas->UseFont(&turned);
}

// A font turned for side tabs: upwards on left tabs, downwards on right tabs.
void RotateFont(TCanvas* canvas, const TFont* font, TTabPosition position) {
    UseFont(canvas, font, position == tpLeft ? -2700 : -900);
}
}  // namespace

void TAdvPageControl::DrawTabContent(TCanvas* canvas, TAdvTabSheet* page, const TRect& t, int x0, int y0, bool active,
                                     bool deferred) {
    const TTabPosition position = TabPosition();
    const bool side = position == tpLeft || position == tpRight;
    const bool custom = static_cast<bool>(OnDrawTab);
    if (page->ShowClose() && (deferred || FClosePosition == cpLeft || FClosePosition == cpRight || active))
        DrawCloseButton(canvas, t, active, csNormal);
    if (!custom && FImages && page->ImageIndex() >= 0) {
        const int iw = FImages->Width(), ih = FImages->Height();
        switch (position) {
            case tpTop:
            case tpBottom: {
                int iy = y0;
                if (!deferred && TabHeight() > 0 && ih < TabHeight()) iy = y0 + (TabHeight() - ih) / 2;
                FImages->Draw(canvas, x0 - 2, iy, page->ImageIndex(), page->Enabled());
                x0 += iw;
                break;
            }
            case tpLeft:
                FImages->Draw(canvas, deferred ? x0 : x0 + 1, y0 - 14, page->ImageIndex(), page->Enabled());
                y0 -= ih;
                break;
            case tpRight:
                FImages->Draw(canvas, deferred ? x0 - 14 : x0 - 18, y0, page->ImageIndex(), page->Enabled());
                y0 += ih;
                break;
        }
    }
    if (side) RotateFont(canvas, active ? FActiveFont.get() : Font(), position);
    else UseFont(canvas, active ? FActiveFont.get() : Font());
    if (!active) canvas->Font()->SetColor(page->TextColor());
    if (!page->TabEnable()) canvas->Font()->SetColor(clGray);
    if (!page->Enabled()) canvas->Font()->SetColor(clGrayText);
    if (!custom) {
        canvas->Brush()->SetStyle(bsClear);
        std::wstring caption = page->Caption();
        if (side) {
            canvas->TextOut(x0, y0, caption);
        } else {
            TRect r = t;
            r.Left = x0;
            r.Top = deferred && position == tpBottom ? y0 - 2 : y0;
            if (caption.find(L'\r') != std::wstring::npos && TabHeight() >= 1) {
                TRect measured = r;
                std::wstring text = caption;
                canvas->TextRect(measured, text, TTextFormat{tfWordBreak, tfVerticalCenter, tfCalcRect, tfNoClip});
                r.Top += (TabHeight() - measured.Height()) / 2;
                r.Bottom = r.Top + TabHeight();
                canvas->TextRect(r, caption, TTextFormat{tfWordBreak, tfVerticalCenter, tfNoClip});
            } else {
                canvas->TextRect(r, caption, TTextFormat{tfSingleLine, tfVerticalCenter, tfNoClip});
            }
        }
    }
    if (active) UseFont(canvas, Font());
}

void TAdvPageControl::DrawTabOnCanvas(TCanvas* canvas, int i, int& e, int maxBottom, int minTop, int minLeft,
                                      int maxRight, TBitmap* work, int& deferredPage, TRect& deferredRect) {
    (void)minLeft;
    TAdvTabSheet* page = FPages[size_t(i)];
    const TTabPosition position = TabPosition();
    const int W = Width(), H = Height();
    const TRect t = TabRectOfPage(i);
    TRect r = t;
    const bool active = i == ActivePageIndex();
    const bool custom = static_cast<bool>(OnDrawTab);
    if (custom) OnDrawTab(this, i, t, active);
    if (!FTabBackGround->Empty()) work->SetSize(FTabBackGround->Width(), FTabBackGround->Height());

    // Colours of the body.
    TColor from, to;
    TGradientDirection direction;
    if (active && FActiveColor != clNone) {
        from = FActiveColor, to = FActiveColorTo, direction = page->TabGradientDirection();
    } else if (i == FHoverPage && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
        from = FTabHoverColor, to = FTabHoverColorTo, direction = page->HoverGradientDirection();
    } else {
        from = page->TabColor(), to = page->TabColorTo(), direction = page->TabGradientDirection();
    }
    const bool horizontal = direction == gdHorizontal;

    // Text origin, after the room of a close button at the start.
    const bool closeFirst = page->ShowClose() && (FClosePosition == cpLeft || (FClosePosition == cpLeftActive && active));
    const int cw = closeFirst ? CloseWidth() : 0, ch = closeFirst ? CloseHeight() : 0;
    int x0 = 0, y0 = 0;
    switch (position) {
        case tpTop: x0 = r.Left + 4 + cw; y0 = r.Top + 1 + (active ? FLowerActive : 0); break;
        case tpBottom: r.Bottom += 1; x0 = r.Left + 4 + cw; y0 = r.Top + (active ? FLowerActive + 1 : 0); break;
        case tpLeft: y0 = r.Bottom - 4 - ch; x0 = r.Left + 1 + (active ? FLowerActive : 0); break;
        case tpRight: y0 = r.Top + 4 + ch; x0 = r.Right - 1 - (active ? FLowerActive : 0); break;
    }

    auto body = [&](TRect area, bool shortenRight, bool shortenBottom) {
        if (from == clNone) return;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(from);
        if (to != clNone) {
            if (shortenRight) area.Right -= 1;
            if (shortenBottom) area.Bottom -= 1;
            DrawGradient(canvas, from, to, horizontal, area, 16);
        } else {
            canvas->FillRect(area);
        }
    };
    if (FTabBackGround->Empty()) {
        if (!custom) {
            switch (position) {
                case tpTop: r.Top -= 1; body(r, horizontal, true); break;
                case tpBottom: body(r, horizontal, !horizontal); break;
                case tpLeft: r.Left -= 1; body(r, true, !horizontal); break;
                case tpRight: body(r, false, !active && !horizontal); break;
            }
        }
        if (position == tpRight) r.Right += 1;
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(FTabBorderColor);
        canvas->Pen()->SetWidth(1);
        const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
        bool last = false, nextActive = false;
        if (!active) {
            last = (position == tpTop || position == tpBottom) ? Rt > maxRight - 3 : B > maxBottom - 3;
            nextActive = FindNextPage(page, true, true) == FActivePage && FActivePage;
        }
        const bool separator = !nextActive || last;
        // The edge toward the sheet of an inactive tab in the two flat styles.
        auto inactiveEdge = [&] {
            switch (position) {
                case tpTop: Line(canvas, L, B, Rt, B); break;
                case tpBottom: Line(canvas, L, Tp - 1, Rt, Tp - 1); break;
                case tpLeft: Line(canvas, Rt, Tp, Rt, B); break;
                case tpRight: Line(canvas, L - 1, Tp, L - 1, B); break;
            }
        };
        switch (FTabStyle) {
            case tsClassic:
                if (active) {
                    switch (position) {
                        case tpTop: Poly(canvas, {{L, B - 1}, {L, Tp}, {Rt, Tp}, {Rt, B}}); break;
                        case tpBottom: Poly(canvas, {{L, Tp}, {L, B}, {Rt, B}, {Rt, Tp - 1}}); break;
                        case tpLeft: Poly(canvas, {{Rt - 1, Tp}, {L, Tp}, {L, B}, {Rt, B}}); break;
                        case tpRight: Poly(canvas, {{L, Tp}, {Rt - 1, Tp}, {Rt - 1, B}, {L - 1, B}}); break;
                    }
                } else {
                    // A tab in a row away from the sheet does not reach into its border.
                    if ((position == tpTop && B < maxBottom) || (position == tpBottom && Tp > minTop) ||
                        (position == tpLeft && Rt < maxRight) || (position == tpRight && L > minLeft))
                        e = 0;
                    const int farH = Rt > W - 5 ? 0 : 1;
                    const int farV = B > H - 5 ? 0 : 1;
                    switch (position) {
                        case tpTop: canvas->Rectangle(L, Tp, Rt + farH, B + e); break;
                        case tpBottom: canvas->Rectangle(L, Tp - e, Rt + farH, B); y0 += 2; break;
                        case tpLeft: canvas->Rectangle(L, Tp, Rt + e, B + farV); break;
                        case tpRight: canvas->Rectangle(L - e, Tp, Rt, B + farV); break;
                    }
                    if (!FTabSheet3D && !FTabSplitLine) e = 1;
                }
                break;
            case tsDotNet:
                if (active) {
                    switch (position) {
                        case tpTop: Poly(canvas, {{L, B}, {L, Tp}, {Rt, Tp}, {Rt, B}}); break;
                        case tpBottom: Poly(canvas, {{L, Tp - 1}, {L, B}, {Rt, B}, {Rt, Tp - 1}}); break;
                        case tpLeft: Poly(canvas, {{Rt, Tp}, {L, Tp}, {L, B}, {Rt, B}}); break;
                        case tpRight: Poly(canvas, {{L - 1, Tp}, {Rt - 1, Tp}, {Rt - 1, B}, {L - 1, B}}); break;
                    }
                } else {
                    inactiveEdge();
                    if (separator) {
                        canvas->Pen()->SetColor(FActiveColor);
                        if (position == tpTop || position == tpBottom) {
                            Line(canvas, Rt - 2, B - 3, Rt - 2, Tp + 2);
                            Line(canvas, Rt - 3, B - 3, Rt - 3, Tp + 2);
                        } else {
                            Line(canvas, L + 2, B - 2, Rt - 2, B - 2);
                            Line(canvas, L + 2, B - 3, Rt - 2, B - 3);
                        }
                    }
                }
                break;
            case tsVestra:
                if (active) {
                    switch (position) {
                        case tpTop: Line(canvas, L, B, L, Tp); Line(canvas, Rt, Tp, Rt, B); break;
                        case tpBottom: Line(canvas, L, Tp - 1, L, B); Line(canvas, Rt, B - 1, Rt, Tp - 1); break;
                        case tpLeft: Line(canvas, Rt, Tp, L, Tp); Line(canvas, L, B, Rt, B); break;
                        case tpRight: Line(canvas, L - 1, Tp, Rt - 1, Tp); Line(canvas, Rt - 1, B, L - 1, B); break;
                    }
                } else {
                    inactiveEdge();
                    if (separator) {
                        switch (position) {
                            case tpTop: {
                                const int x = i == 0 ? Rt - 2 : Rt;
                                Line(canvas, x, B, x, Tp);
                                break;
                            }
                            case tpBottom: Line(canvas, Rt - 2, B - 1, Rt - 2, Tp - 1); break;
                            case tpLeft:
                            case tpRight: Line(canvas, L, B - 2, Rt, B - 2); break;
                        }
                    }
                }
                break;
        }
    } else {
        switch (position) {
            case tpTop: break;
            case tpBottom: y0 += 3; break;
            case tpLeft: x0 -= 2; y0 -= 3; break;
            case tpRight: x0 -= TabHeight() / 3; y0 -= 3; break;
        }
        if (!custom) {
            if (active && !FTabBackGroundActive->Empty()) {
                work->Assign(FTabBackGroundActive.get());
                deferredPage = i;
                deferredRect = r;
            } else {
                work->Assign(FTabBackGround.get());
                const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
                switch (position) {
                    case tpTop: DrawSlicedH(work, canvas, L - 1, Rt - L + 2 + FTabOverlap, Tp - 2); break;
                    case tpBottom: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, Tp - 1); break;
                    case tpLeft: DrawSlicedV(work, canvas, L, B - Tp + 3 + FTabOverlap, Tp); break;
                    case tpRight: DrawSlicedV(work, canvas, L - 1, B - Tp + 3 + FTabOverlap, Tp - 2); break;
                }
            }
        }
    }

    // Content: margins first.
    if (position == tpLeft) {
        x0 += FTabMargin->LeftMargin();
        y0 -= FTabMargin->TopMargin();
        if (!FTabBackGroundActive->Empty()) y0 += FTabOverlap + 3;
    } else {
        x0 += FTabMargin->LeftMargin();
        y0 += FTabMargin->TopMargin();
    }
    if (deferredPage == i) {
        deferredRect = r;
        FDeferredOrigin = {x0, y0};
        return;
    }
    DrawTabContent(canvas, page, t, x0, y0, active, false);
    DrawTabFocus(canvas, r, active, 0);
}

void TAdvPageControl::DrawDeferredTab(TCanvas* canvas, int i, TRect r, TBitmap* work) {
    TAdvTabSheet* page = FPages[size_t(i)];
    work->Assign(FTabBackGroundActive.get());
    const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
    const bool lowered = FLowerActive >= 1;
    switch (TabPosition()) {
        case tpTop: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, lowered ? Tp - 1 : Tp - 2); break;
        case tpBottom: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, lowered ? Tp - 3 : Tp - 1); break;
        case tpLeft: DrawSlicedV(work, canvas, lowered ? L + 1 : L, B - Tp + 3 + FTabOverlap, Tp); break;
        case tpRight: DrawSlicedV(work, canvas, lowered ? L - 3 : L - 1, B - Tp + 3 + FTabOverlap, Tp - 2); break;
    }
    DrawTabContent(canvas, page, TabRectOfPage(i), FDeferredOrigin.X, FDeferredOrigin.Y, true, true);
    DrawTabFocus(canvas, r, true, FTabOverlap);
}

void TAdvPageControl::DrawAllTabs(TCanvas* canvas) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    TCanvasStateScope keep(canvas);
    const TTabPosition position = TabPosition();
    const int W = Width(), H = Height();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    UseFont(canvas, Font());

    // Extents of the strip, clearing behind every tab on the way.
    int maxBottom = 0, minTop = TabRect(0).Top, minLeft = W, maxRight = 0;
    bool anyVisible = false;
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!FPages[size_t(i)]->TabVisible()) continue;
        anyVisible = true;
        TRect r = TabRectOfPage(i);
        maxBottom = std::max(maxBottom, r.Bottom);
        minTop = std::min(minTop, r.Top);
        minLeft = std::min(minLeft, r.Left);
        maxRight = std::max(maxRight, r.Right);
        r.Right += 2;
        switch (position) {
            case tpTop: r.Left -= 2; r.Top -= 2; break;
            case tpBottom: r.Left -= 2; r.Bottom += 2; break;
            case tpLeft: r.Left -= 2; r.Top -= 2; r.Right -= 2; r.Bottom += 2; break;
            case tpRight: r.Top -= 2; r.Bottom += 2; break;
        }
        canvas->FillRect(r);
    }
    if (!anyVisible) {
        switch (position) {
            case tpTop: maxBottom = 2; break;
            case tpBottom: minTop = H - 2; break;
            case tpLeft: maxRight = 2; break;
            case tpRight: minLeft = W - 2; break;
        }
    }
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    if (!MultiLine()) {
        if (position == tpTop) {
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(TRect{W - 35, 0, W, maxBottom});
            canvas->Pen()->SetColor(clWhite);
            Line(canvas, std::max(W - 35, maxRight), maxBottom, W, maxBottom);
        } else if (position == tpBottom) {
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(TRect{W - 35, minTop, W, H});
            canvas->Pen()->SetColor(cl3DDkShadow);
            Line(canvas, std::max(W - 35, maxRight), minTop - 1, W, minTop - 1);
        }
    }
    canvas->Brush()->SetColor(FTabBackGroundColor);
    const int sideBottom = FFullRefresh ? H - 1 : H;
    switch (position) {
        case tpTop: canvas->FillRect(TRect{0, 0, W, maxBottom}); break;
        case tpBottom: canvas->FillRect(TRect{0, minTop, W, H}); break;
        case tpLeft: canvas->FillRect(TRect{0, 0, maxRight, sideBottom}); break;
        case tpRight: canvas->FillRect(TRect{minLeft, 0, W, sideBottom}); break;
    }

    // The frame of a coloured page, drawn in a ring just inside the sheet border.
    const int k = FTabSheet3D ? 1 : 0;
    const bool coloured = FActivePage && (FActivePage->Color() != clNone || FActivePage->ColorTo() != clNone);
    if (coloured) {
        TRect outer, inner, band;
        switch (position) {
            case tpTop:
                outer = {1, maxBottom + k, W - 1, H - 1}; inner = {4, maxBottom + 4, W - 4, H - 4};
                band = {1, maxBottom + 1, W - 1, maxBottom + 4};
                break;
            case tpBottom:
                outer = {1, 1, W - 1, minTop - k}; inner = {4, 4, W - 4, minTop - 4}; band = {1, 1, W - 1, 4};
                break;
            case tpLeft:
                outer = {maxRight + k, 1, W - 1, H - 1}; inner = {maxRight + 4, 4, W - 4, H - 4};
                band = {maxRight + k, 1, W - 1, 4};
                break;
            case tpRight:
                outer = {1, 1, minLeft - k, H - 1}; inner = {4, 4, minLeft - 4, H - 4}; band = {1, 1, minLeft - k, 4};
                break;
        }
        HDC dc = canvas->Handle();
        TOwnedRegion ring(::CreateRectRgn(outer.Left, outer.Top, outer.Right, outer.Bottom));
        TOwnedRegion hole(::CreateRectRgn(inner.Left, inner.Top, inner.Right, inner.Bottom));
        if (ring && hole) {
            ::CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
            ::SelectClipRgn(dc, ring.get());
            canvas->Pen()->SetColor(FActivePage->Color());
            canvas->Brush()->SetColor(FActivePage->Color());
            if (FActivePage->ColorTo() != clNone) {
                DrawGradient(canvas, FActivePage->Color(), FActivePage->ColorTo(), false, TRect{0, 0, W, H}, 16);
                canvas->Pen()->SetColor(FActivePage->Color());
                canvas->Brush()->SetColor(FActivePage->Color());
                canvas->Rectangle(band);
            } else {
                canvas->Rectangle(0, 0, W, H);
            }
            ::SelectClipRgn(dc, nullptr);
        }
    }

    if (!FTabSheet3D) {
        canvas->Pen()->SetColor(FTabSheetBorderColor);
        switch (position) {
            case tpTop:
                Line(canvas, 0, maxBottom, 0, H); Line(canvas, 0, H - 1, W, H - 1);
                Line(canvas, W - 1, H - 2, W - 1, maxBottom); Line(canvas, 0, maxBottom, W, maxBottom);
                if (!coloured) {
                    canvas->Pen()->SetColor(Color());
                    Line(canvas, 1, H - 2, W - 1, H - 2); Line(canvas, W - 2, H - 2, W - 2, maxBottom);
                }
                break;
            case tpBottom:
                Line(canvas, 0, 0, 0, minTop); Line(canvas, 0, minTop - 1, W, minTop - 1);
                Line(canvas, W - 1, minTop - 1, W - 1, 0); Line(canvas, 0, 0, W, 0);
                if (!coloured) {
                    canvas->Pen()->SetColor(Color());
                    Line(canvas, 1, minTop - 2, W - 1, minTop - 2); Line(canvas, W - 2, minTop - 2, W - 2, 0);
                }
                break;
            case tpLeft:
                Line(canvas, maxRight, 0, maxRight, H); Line(canvas, maxRight, H - 2, W - 2, H - 2);
                Line(canvas, W - 2, H, W - 2, 0); Line(canvas, W - 2, 0, maxRight, 0);
                canvas->Pen()->SetColor(Color());
                Line(canvas, maxRight, H - 1, W - 1, H - 1); Line(canvas, W - 1, H - 1, W - 1, -1);
                break;
            case tpRight:
                Line(canvas, 0, 0, 0, H); Line(canvas, 0, H - 2, minLeft, H - 2);
                Line(canvas, minLeft - 1, H, minLeft - 1, 0); Line(canvas, minLeft - 1, 0, 0, 0);
                canvas->Pen()->SetColor(Color());
                Line(canvas, 0, H - 1, minLeft, H - 1);
                if (!coloured) Line(canvas, minLeft - 2, H - 3, minLeft - 2, 0);
                break;
        }
        if (FRoundEdges) {
            // The corners away from the strip, given as (along, depth from the far edge);
            // a negative "along" counts from the end.
            const bool sideStrip = position == tpLeft || position == tpRight;
            const int length = sideStrip ? H : W;
            auto at = [&](int along, int depth) -> TPoint {
                const int a = along < 0 ? length + along : along;
                switch (position) {
                    case tpTop: return {a, H - 1 - depth};
                    case tpBottom: return {a, depth};
                    case tpLeft: return {W - 1 - depth, a};
                    case tpRight: return {depth, a};
                }
                return {a, depth};
            };
            auto poly = [&](std::initializer_list<std::pair<int, int>> points) {
                auto it = points.begin();
                const TPoint first = at(it->first, it->second);
                canvas->MoveTo(first.X, first.Y);
                for (++it; it != points.end(); ++it) {
                    const TPoint p = at(it->first, it->second);
                    canvas->LineTo(p.X, p.Y);
                }
            };
            canvas->Pen()->SetColor(Color());
            poly({{0, 3}, {0, 0}, {4, 0}});
            poly({{-4, 0}, {-1, 0}, {-1, 4}});
            canvas->Pen()->SetColor(FTabSheetBorderColor);
            poly({{1, 3}, {1, 1}});
            poly({{2, 1}, {4, 1}});
            poly({{-4, 1}, {-2, 1}});
            poly({{-2, 2}, {-2, 4}});
        }
    }

    int e = 0;
    if (!FTabSheet3D && !FTabSplitLine && PageCount() > 0 && anyVisible) {
        e = 1;
        TColor pen = Color();
        if (coloured) {
            pen = FActivePage->Color();
            if (position == tpBottom && FActivePage->ColorTo() != clNone) pen = FActivePage->ColorTo();
        }
        canvas->Pen()->SetColor(pen);
        switch (position) {
            case tpTop: Line(canvas, 3, maxBottom, maxRight + FTabOverlap, maxBottom); break;
            case tpBottom: Line(canvas, 2, minTop - 1, maxRight + FTabOverlap, minTop - 1); break;
            case tpLeft: {
                const int extra = FTabStyle == tsClassic && !FTabBackGround->Empty() ? 2 : 0;
                Line(canvas, maxRight, 2, maxRight, maxBottom + FTabOverlap + extra);
                break;
            }
            case tpRight: Line(canvas, minLeft - 1, maxBottom + FTabOverlap - 1, minLeft - 1, 2); break;
        }
    }

    TBitmap work;
    int deferredPage = -1;
    TRect deferredRect;
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!FPages[size_t(i)]->TabVisible()) continue;
        DrawTabOnCanvas(canvas, i, e, maxBottom, minTop, minLeft, maxRight, &work, deferredPage, deferredRect);
    }
    if (deferredPage >= 0 && !OnDrawTab) DrawDeferredTab(canvas, deferredPage, deferredRect, &work);

    if (FHoverPage >= 0 && FHoverPage < PageCount() && FTabHoverBorder != clNone && FHoverPage != ActivePageIndex()) {
        TRect r = TabRectOfPage(FHoverPage);
        canvas->Pen()->SetColor(FTabHoverBorder);
        canvas->Pen()->SetWidth(1);
        switch (position) {
            case tpTop:
                r.Top -= 1;
                if (r.Right > W - 5) r.Right -= 1;
                Poly(canvas, {{r.Left, r.Bottom - 2}, {r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom - 1}});
                break;
            case tpBottom:
                if (r.Right > W - 5) r.Right -= 1;
                Poly(canvas, {{r.Left, r.Top + 1}, {r.Left, r.Bottom}, {r.Right, r.Bottom}, {r.Right, r.Top}});
                break;
            case tpLeft:
                r.Left -= 1;
                r.Top -= 2;
                if (r.Bottom > H - 5) r.Bottom -= 1;
                Poly(canvas, {{r.Right - 1, r.Top + 2}, {r.Left, r.Top + 2}, {r.Left, r.Bottom}, {r.Right, r.Bottom}});
                break;
            case tpRight:
                r.Left += 1;
                if (r.Bottom > H - 5) r.Bottom -= 1;
                Poly(canvas, {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
                break;
        }
    }
}

}  // namespace AdvPageControl