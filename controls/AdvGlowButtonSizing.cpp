// The glow button's paint pipeline: state to face, the parent showing through, auto size
// and the size states of shrinking groups.
#include <cmath>

#include "classlib/UpdateScope.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGlobalStream.h"
#include "graphics/GDIPicture.h"

namespace AdvGlowButton {

using namespace ClassLib;

namespace {

// The face colours blended `percent` of the way from `from` to `to` (percent of `from`).
void Blend(TGlowFace& face, const TGlowLook& from, const TGlowLook& to, int percent, bool border) {
    face.Color = BlendColor(from.Color, to.Color, percent);
    face.ColorTo = BlendColor(from.ColorTo, to.ColorTo, percent);
    face.ColorMirror = BlendColor(from.ColorMirror, to.ColorMirror, percent);
    face.ColorMirrorTo = BlendColor(from.ColorMirrorTo, to.ColorMirrorTo, percent);
    if (border) face.BorderColor = BlendColor(from.Border, to.Border, percent);
}


// A button picture as the painter sees it.
class TPictureOnFace final : public IGlowPicture {
public:
    explicit TPictureOnFace(GDIPicture::TGDIPPicture* picture) : FPicture(picture) {}
    bool Empty() const override { return FPicture->Empty(); }
    TSize Size() const override { return {FPicture->Width(), FPicture->Height()}; }
    void DrawAt(TCanvas* canvas, int x, int y, int maxWidth, int maxHeight) const override {
        AdvGDIP::TGPGraphics graphics(canvas->Handle());
        const int w = ClampSize(maxWidth, FPicture->Width()), h = ClampSize(maxHeight, FPicture->Height());
        if (FPicture->HasSVG()) {
            FPicture->DrawSVG(&graphics, float(x), float(y), float(w), float(h));
            return;
        }
        // No exception may leave a paint: a picture whose memory block cannot be had is skipped.
        const ClassLib::TBytes& bytes = FPicture->Data();
        const AdvGlobalStream::TOpenedImage opened =
            AdvGlobalStream::OpenImage(bytes.data(), bytes.size(), AdvGlobalStream::TNoMemory::Skip);
        if (!opened) return;
        AdvGDIP::TGPImageAttributes attributes;
        if (FPicture->GetPictureFormat() == GDIPicture::pfBMP) {
            // A bitmap's bottom-left pixel is its transparent colour.
            AdvGDIP::TGPBitmap pixels(opened.Stream.get());
            AdvGDIP::ARGB key = 0;
            pixels.GetPixel(0, int(pixels.GetHeight()) - 1, key);
            attributes.SetColorKey(key, key);
        }
        // The clamped part at its clamped size: a picture larger than the face is cut, not squeezed.
        graphics.DrawImageRectRect(opened.Image.get(), AdvGDIP::TGPRectF(float(x), float(y), float(w), float(h)), 0, 0,
                                   float(w), float(h), AdvGDIP::UnitPixel, &attributes);
    }
    void DrawStretched(TCanvas* canvas, const TRect& rect) const override {
        AdvGDIP::TGPGraphics graphics(canvas->Handle());
        FPicture->DrawImageRect(&graphics, rect.Left, rect.Top, rect.Width(), rect.Height());
    }
private:
    GDIPicture::TGDIPPicture* FPicture;
};

bool IsOffice2003(AdvStyleIF::TOVTStyle style) {
    using namespace AdvStyleIF;
    return style == tsOffice2003Blue || style == tsOffice2003Silver || style == tsOffice2003Olive ||
           style == tsOffice2003Classic;
}

}  // namespace

void Take(TGlowFace& face, const TGlowLook& look) {
    face.Color = look.Color;
    face.ColorTo = look.ColorTo;
    face.ColorMirror = look.ColorMirror;
    face.ColorMirrorTo = look.ColorMirrorTo;
    face.BorderColor = look.Border;
    face.Gradient = look.Gradient;
    face.GradientMirror = look.GradientMirror;
}

bool TAdvCustomGlowButton::ShowFocusBorder() const {
    return Focused() && (FFocusType == ftBorder || FFocusType == ftHotBorder);
}

float TAdvCustomGlowButton::Scale() {
    return AdvStyleIF::GetDPIScale(this, Canvas());
}

TGlowFace TAdvCustomGlowButton::FaceForPaint(bool calcOnly) {
    const TGlowButtonAppearance& a = *FAppearance;
    TGlowFace face;
    // State repair: painting is where a re-enabled button finds its state again.
    if (Enabled() && FState == absDisabled) FState = FDownChecked && FGroupIndex != 0 ? absExclusive : absUp;
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    }
    if (FStyle == bsCheck && FDownChecked) FState = absDown;

    const bool disabledLook = (FState == absDisabled || !Enabled()) && FShowDisabled;
    const bool checkedDown = FStyle == bsCheck && FState == absDown;
    if (disabledLook) {
        Take(face, LookOf(a, TLookKind::Disabled));
    } else if (FState == absDown && FStyle == bsButton) {
        Take(face, LookOf(a, TLookKind::Down));
        face.HotOrDown = true;
    } else if (FState == absExclusive || checkedDown) {
        Take(face, LookOf(a, TLookKind::Checked));
        face.BorderColor = FHasMouse && a.BorderColorCheckedHot() != clNone && !FMouseDown ? a.BorderColorCheckedHot()
                                                                                          : a.BorderColorChecked();
        if (FTimer) {
            if (FMouseInControl || (FStyle == bsButton && (FGroupIndex <= 0 || FState == absDown)))
                Blend(face, LookOf(a, TLookKind::Checked), LookOf(a, TLookKind::Down), FStepPush, false);
            if (FMouseEnter && checkedDown)
                Blend(face, LookOf(a, TLookKind::Checked), LookOf(a, TLookKind::Down), FStepPush, false);
        }
    } else if (FHot) {
        Take(face, LookOf(a, TLookKind::Hot));
        face.HotOrDown = true;
    } else {
        Take(face, LookOf(a, TLookKind::Normal));
    }
    if (face.ColorMirror == clNone) face.ColorMirror = face.Color;

    if (FTimer) {
        if (!FDown && !FTransparent && FState != absExclusive && !checkedDown) {
            Blend(face, LookOf(a, TLookKind::Hot), LookOf(a, TLookKind::Normal), FStepHover, true);
        } else if (checkedDown && FDown) {
            if (FMouseEnter) Blend(face, LookOf(a, TLookKind::Checked), LookOf(a, TLookKind::Down), FStepPush, false);
            else Blend(face, LookOf(a, TLookKind::Down), LookOf(a, TLookKind::Checked), FStepPush, false);
        } else if (FDown && FState != absExclusive) {
            Blend(face, LookOf(a, TLookKind::Down), LookOf(a, TLookKind::Hot), FStepPush, true);
        }
    }

    // Image list.
    if (Enabled() || !FDisabledImages) {
        face.Images = FHot && FHotImages ? FHotImages : FImages;
        face.ImageEnabled = Enabled();
    } else {
        face.Images = FDisabledImages;
        face.ImageEnabled = true;
    }
    face.DisabledImages = FDisabledImages;
    face.ImageIndex = FImageIndex;
    if (!face.Images && FInternalImages) {
        face.Images = FInternalImages;
        face.ImageEnabled = true;
    }
    ApplyActionImages(face);
    if (FShowCaption) {
        face.Caption = Caption();
        face.WideCaption = FWideCaption;
    }
    face.DropDownHover = FDropDownButton && (FMouseInControl || FMouseDown) ? (FInButton ? 1 : 2) : 0;
    if (FPosition != bpStandalone && FMouseDown && IsOffice2003(FCompStyle)) face.BorderColor = a.BorderColor();
    if (disabledLook) {
        Take(face, LookOf(a, TLookKind::Disabled));
        face.HotOrDown = false;
    }
    const bool focused = Focused();
    if (focused && (FFocusType == ftHot || FFocusType == ftHotBorder) && !FDown) {
        Take(face, LookOf(a, TLookKind::Hot));
        face.HotOrDown = true;
    }
    face.FocusFrame = ShowFocusBorder();
    const bool focusHot = focused && (FFocusType == ftHot || FFocusType == ftHotBorder);
    face.BorderColorFocused = a.BorderColorFocused();

    const bool transpHover = ParentIsClass(L"TAdvCustomToolBar") ? false : a.TranspHover();
    face.NoBackground = FToolBar.StaticButton ||
                        (FTransparent && (!FMouseEnter || transpHover) && !focusHot && FState != absDown);
    face.Layout = FLayout;
    face.DropDownButton = FDropDownButton;
    face.Enabled = Enabled();
    face.DropDownPosition = FDropDownPosition;
    face.AntiAlias = FAntiAlias;
    face.MouseEnter = FMouseEnter;
    face.Position = FPosition;
    face.DropDownSplit = FDropDownSplit;
    face.HasBorder = HasBorder();
    face.WordWrap = FWordWrap;
    face.CalcOnly = calcOnly;
    face.Rounded = FRounded;
    face.DropDownDirection = FDropDownDirection;
    face.Spacing = FSpacing;
    face.Trimming = FTrimming;
    face.Notes = FNotes.get();
    face.NotesFont = FNotesFont.get();
    face.Down = FDownChecked;
    face.DroppedDown = FDroppedDown;
    face.OnGlassQAT = FToolBar.InternalIsOnGlassQAT;
    face.MarginHorz = FMarginHorz;
    face.MarginVert = FMarginVert;
    face.NoBorderDefault = a.NoBorderDefault();
    face.AlwaysShowAccel = FAlwaysShowAccel;
    face.IsRotated = FIsRotated;
    face.Scale = Scale();
    face.DropDownPartWidth = GetDropDownPartWidth();
    face.MaxWidth = Constraints()->MaxWidth();
    face.MaxHeight = Constraints()->MaxHeight();
    face.ParentIsQuickAccessToolBar = ParentIsClass(L"TAdvQuickAccessToolBar");
    if (HandleAllocated()) {
        HWND top = Handle();
        while (HWND up = ::GetParent(top)) top = up;
        face.HidePrefix = (::SendMessageW(top, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
    }
    return face;
}

GDIPicture::TGDIPPicture* TAdvCustomGlowButton::PictureForPaint() const {
    if (!Enabled() && !FDisabledPicture->Empty()) return FDisabledPicture.get();
    if (FHot && !FHotPicture->Empty()) return FHotPicture.get();
    if (FState == absDown || (FState == absExclusive && FDownChecked && FGroupIndex >= 1))
        return FDownPicture->Empty() ? FPicture.get() : FDownPicture.get();
    return FPicture.get();
}

TSize TAdvCustomGlowButton::PictureGlyphSize(TSize current) const {
    if (FPicture->Empty()) return current;
    if (FPictureWidth > 0 && FPictureHeight > 0) return {FPictureWidth, FPictureHeight};
    if (FPictureWidth == 0 && FPictureHeight == 0) {
        const int h = Height() - 8;
        const int w = FPicture->Height() < 1 ? h : int(std::nearbyint(double(FPicture->Width()) * h / FPicture->Height()));
        return {w, h};
    }
    return current;
}

void TAdvCustomGlowButton::PaintParentBackground(HDC dc, HRGN clip) {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const int saved = ::SaveDC(dc);
    if (clip) ::SelectClipRgn(dc, clip);
    else ::IntersectClipRect(dc, 0, 0, Width(), Height());
    // The parent's point at the button's corner lands on the button's pixel (0, 0).
    POINT origin;
    ::GetWindowOrgEx(dc, &origin);
    ::SetWindowOrgEx(dc, origin.x + Left(), origin.y + Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    parent->Perform(WM_PAINT, WPARAM(dc), 0);
    ::RestoreDC(dc, saved);
}

void TAdvCustomGlowButton::Paint() {
    if (FPainting) return;
    const ClassLib::TFlagScope painting(FPainting);

    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    const TGlowButtonAppearance& a = *FAppearance;
    const bool transpHover = ParentIsClass(L"TAdvCustomToolBar") ? false : a.TranspHover();
    if (FTransparent && (transpHover || !FMouseEnter || FToolBar.StaticButton)) PaintParentBackground(dc, nullptr);

    TGlowFace face = FaceForPaint(false);
    TFont font;
    font.Assign(Font());
    if (a.TextColor() != clNone) font.SetColor(a.TextColor());
    if (font.Color() == clNone) font.SetColor(clWindowText);
    if (FHot) font.SetColor(a.TextColorHot());
    if (FState == absDown) font.SetColor(a.TextColorDown());
    if ((FStyle == bsCheck && FState == absDown) || (FState == absExclusive && FGroupIndex != 0))
        font.SetColor(a.TextColorChecked());
    if (!Enabled()) font.SetColor(a.TextColorDisabled());
    if (a.SystemFont()) font.SetName(AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
    face.Font = &font;
    TBitmap glyph;
    glyph.SetSize(1, 1);
    PrepareGlyphBitmap(&glyph);
    face.Glyph = &glyph;

    TSize glyphSize{0, 0};
    if (FAutoSize && FToolBar.ButtonSizeState < bsLarge) {
        glyphSize = {16, 16};
        if (FToolBar.ButtonSizeState == bsGlyph) {
            face.Caption.clear();
            face.WideCaption.clear();
        }
    }
    GDIPicture::TGDIPPicture* picture = PictureForPaint();
    if (FAutoSize && FToolBar.ButtonSizeState < bsLarge && face.Images && FImageIndex >= 0) picture = nullptr;
    const TPictureOnFace pictureOnFace(picture ? picture : FPicture.get());
    face.Picture = picture ? &pictureOnFace : nullptr;
    face.PictureSize = PictureGlyphSize(glyphSize);
    if (FDoAutoSize || (FFirstPaint && FAutoSize)) {
        face.CalcOnly = true;
        const TSize content = DrawGlowButton(canvas, ClientRect(), face);
        face.CalcOnly = false;
        if (FAutoSize) {
            int w = FShowCaption && !Caption().empty() ? content.cx + 3 * FSpacing + 2 * FMarginHorz + 2
                                                       : content.cx + 2 * FMarginHorz - 1;
            const bool vertical = FLayout == blGlyphTop || FLayout == blGlyphBottom || FLayout == blGlyphTopAdjusted ||
                                  FLayout == blGlyphBottomAdjusted;
            int h = vertical ? content.cy + 2 * FMarginVert : content.cy + 2 * FSpacing + 2 * FMarginVert;
            if (FDropDownButton) {
                if (FDropDownPosition == dpBottom) h += GetDropDownPartWidth();
                else w += GetDropDownPartWidth();
            }
            if (FToolBar.OnSetButtonSize) FToolBar.OnSetButtonSize(this, w, h);
            if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
        }
        FFirstPaint = false;
    }
    DrawGlowButton(canvas, ClientRect(), face);

    AfterDrawButton();
    DrawOverlay(canvas, ClientRect());
    if (OnDrawButton) {
        const TGlowButtonState state = FState == absDown ? gsDown : FMouseEnter ? gsHot : gsNormal;
        OnDrawButton(this, canvas, ClientRect(), state);
    }
    if (!Parent()) return;
    if (FRounded && (!FTransparent || FMouseEnter || FState == absDown || FHot) && FPosition != bpMiddle) {
        const int right = Width(), bottom = Height();
        std::vector<TPoint> corners;
        if (FPosition == bpStandalone) corners = {{0, 0}, {right - 1, 0}, {0, bottom - 1}, {right - 1, bottom - 1}};
        else if (FPosition == bpLeft) corners = {{0, 0}, {0, bottom - 1}};
        else corners = {{right - 1, 0}, {right - 1, bottom - 1}};
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        for (const TPoint& p : corners) {
            HRGN pixel = ::CreateRectRgn(p.X, p.Y, p.X + 1, p.Y + 1);
            ::CombineRgn(region, region, pixel, RGN_OR);
            ::DeleteObject(pixel);
        }
        PaintParentBackground(dc, region);
        ::DeleteObject(region);
    }
}

void TAdvCustomGlowButton::PaintNow() {
    if (!HandleAllocated()) return;
    // A direct paint into a window DC: measures as a WM_PAINT would, without waiting.
    HDC dc = ::GetDC(FHandle);
    if (!dc) return;
    Perform(WM_PAINT, WPARAM(dc), 0);
    ::ReleaseDC(FHandle, dc);
}

void TAdvCustomGlowButton::UpdateAutoSize() {
    if (!FAutoSize) {
        Invalidate();
        return;
    }
    FDoAutoSize = true;
    Repaint();
    if (Parent() && !HasState(csDesigning) && !HasState(csLoading) && HandleAllocated()) PaintNow();
    FDoAutoSize = false;
}

void TAdvCustomGlowButton::SetButtonSizeState(TButtonSizeState value) {
    if (value == FToolBar.ButtonSizeState) return;
    if (FToolBar.ButtonSizeState == bsLarge) {
        FOldLayout = FLayout;
        FOldDropDownPosition = FDropDownPosition;
    }
    FToolBar.ButtonSizeState = value;
    if (FAutoSize) {
        if (value == bsLarge) {
            SetLayout(FOldLayout);
            SetDropDownPosition(FOldDropDownPosition);
        } else {
            SetLayout(blGlyphLeft);
            SetDropDownPosition(dpRight);
        }
    }
    FFirstPaint = true;
    PaintNow();
}

TSize TAdvCustomGlowButton::GetSizeForState(TButtonSizeState state) {
    TGlowFace face = FaceForPaint(true);
    Take(face, LookOf(*FAppearance, TLookKind::Normal));
    face.HotOrDown = false;
    TFont font;
    font.Assign(Font());
    if (FAppearance->SystemFont()) font.SetName(AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
    face.Font = &font;
    TBitmap glyph;
    glyph.SetSize(1, 1);
    PrepareGlyphBitmap(&glyph);
    face.Glyph = &glyph;
    TButtonLayout layout = FLayout;
    TDropDownPosition position = FDropDownPosition;
    if (FAutoSize) {
        if (state < bsLarge) face.PictureSize = {16, 16};
        if (state == bsGlyph) {
            face.Caption.clear();
            face.WideCaption.clear();
        }
        if (state == bsLarge) {
            if (FToolBar.ButtonSizeState != bsLarge) {
                layout = FOldLayout;
                position = FOldDropDownPosition;
            }
        } else {
            layout = blGlyphLeft;
            position = dpRight;
        }
    }
    face.Layout = layout;
    face.DropDownPosition = position;
    // Measuring only: nothing of the face reaches the window outside a paint.
    face.NoBackground = true;
    face.FocusFrame = false;
    const TSize content = DrawGlowButton(Canvas(), ClientRect(), face);
    TSize size{content.cx + 3 * FSpacing + 2 * FMarginHorz + 2, content.cy + 2 * FSpacing + 2 * FMarginVert};
    if (FDropDownButton) {
        if (position == dpBottom) size.cy += GetDropDownPartWidth();
        else size.cx += GetDropDownPartWidth();
    }
    return size;
}

}  // namespace AdvGlowButton
