// The toolbar painters on one board: glow faces in each look of a glow-button appearance,
// the pager's Vista faces by position and with drop-down parts, the gradients and the glass
// frame, the caption-button glyphs at scale 1.0 and 1.5, and the caption routines. The
// board takes the unit's scale as a dock panel would, and lays itself out by the screen's
// resolution.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Screen.h"
#include "classlib/Streams.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using AdvGlowButton::TGlowLook;

// A 16 x 16 green page with a folded corner on a transparent ground, made here so the page
// needs no files.
TBytes PagePng() {
    TRasterImage image;
    image.Width = image.Height = 16;
    image.HasAlpha = true;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool sheet = x >= 2 && x <= 13 && y >= 1 && y <= 14 && x - 9 <= y;
            const bool edge = sheet && (x == 2 || x == 13 || y == 1 || y == 14 || x - 9 == y);
            const std::uint8_t shade = edge ? 0x30 : 0x80;
            image.Pixels.insert(image.Pixels.end(), {std::uint8_t(shade / 2), shade, std::uint8_t(shade / 3),
                                                     std::uint8_t(sheet ? 0xFF : 0)});
        }
    return EncodePng(image);
}

class TPaintBoard : public TGraphicControl {
public:
    explicit TPaintBoard(TComponent* owner) : TGraphicControl(owner) {
        const TBytes png = PagePng();
        TMemoryStream stream;
        stream.WriteBuffer(png.data(), int(png.size()));
        stream.SetPosition(0);
        FPicture.LoadFromStream(&stream);
        FScale = double(Screen->PixelsPerInch()) / 96;
        FFont.SetName(L"Tahoma");
        FFont.SetSize(8);
    }
    // A length of the 96-pixel layout on this screen.
    int S(double value) const { return int(value * FScale + 0.5); }
    TRect Box(double x, double y, double w, double h) const { return Bounds(S(x), S(y), S(w), S(h)); }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, Width(), Height()));
        GlowFaces(c);
        VistaFaces(c);
        Gradients(c);
        Glyphs(c);
        Captions(c);
    }

private:
    void Title(TCanvas* c, double x, double y, const std::wstring& text) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(&FFont);
        c->Font()->SetStyle(TFontStyles{fsBold});
        c->TextOut(S(x), S(y), text);
        c->Font()->SetStyle(TFontStyles{});
    }
    void Note(TCanvas* c, double x, double y, const std::wstring& text) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(&FFont);
        c->Font()->SetColor(clGray);
        c->TextOut(S(x), S(y), text);
        c->Font()->SetColor(clBlack);
    }

    void GlowFaces(TCanvas* c) {
        Title(c, 8, 4, L"Glow faces: the looks of a glow-button appearance, a split drop-down and a flat face");
        const AdvGlowButton::TGlowButtonAppearance a;
        struct TLook { const wchar_t* Name; TGlowLook Look; bool Enabled, Focused; };
        const TLook looks[] = {
            {L"normal", {a.Color(), a.ColorTo(), a.ColorMirror(), a.ColorMirrorTo(), a.BorderColor(), a.Gradient(),
                         a.GradientMirror()}, true, false},
            {L"hot", {a.ColorHot(), a.ColorHotTo(), a.ColorMirrorHot(), a.ColorMirrorHotTo(), a.BorderColorHot(),
                      a.GradientHot(), a.GradientMirrorHot()}, true, false},
            {L"down", {a.ColorDown(), a.ColorDownTo(), a.ColorMirrorDown(), a.ColorMirrorDownTo(), a.BorderColorDown(),
                       a.GradientDown(), a.GradientMirrorDown()}, true, false},
            {L"checked", {a.ColorChecked(), a.ColorCheckedTo(), a.ColorMirrorChecked(), a.ColorMirrorCheckedTo(),
                          a.BorderColorChecked(), a.GradientChecked(), a.GradientMirrorChecked()}, true, false},
            {L"disabled", {a.ColorDisabled(), a.ColorDisabledTo(), a.ColorMirrorDisabled(), a.ColorMirrorDisabledTo(),
                           a.BorderColorDisabled(), a.GradientDisabled(), a.GradientMirrorDisabled()}, false, false},
            {L"focused", {a.Color(), a.ColorTo(), a.ColorMirror(), a.ColorMirrorTo(), a.BorderColor(), a.Gradient(),
                          a.GradientMirror()}, true, true},
        };
        double x = 8;
        for (const TLook& look : looks) {
            AdvToolBar::TGlowButtonFace face;
            face.Look = look.Look;
            face.Caption = L"&Paste";
            face.Font = &FFont;
            face.Picture = &FPicture;
            face.Enabled = look.Enabled;
            face.Focused = look.Focused;
            AdvToolBar::DrawGlowButtonFace(c, Box(x, 22, 100, 41), face);
            Note(c, x, 66, look.Name);
            x += 108;
        }
        AdvToolBar::TGlowButtonFace split;
        split.Look = looks[1].Look;
        split.Caption = L"Open";
        split.Font = &FFont;
        split.Picture = &FPicture;
        split.GlyphPosition = 1;
        split.DropDownButton = split.DropDownSplit = true;
        AdvToolBar::DrawGlowButtonFace(c, Box(x, 22, 70, 41), split);
        Note(c, x, 66, L"split, top");
        x += 78;
        AdvToolBar::TGlowButtonFace flat;
        flat.Look = TGlowLook{0xE8D8C8, clNone, clNone, clNone, 0x806040, AdvGlowButton::ggVertical,
                              AdvGlowButton::ggVertical};
        flat.Rounded = false;
        AdvToolBar::DrawGlowButtonFace(c, Box(x, 22, 60, 41), flat);
        Note(c, x, 66, L"flat");
    }

    void VistaFaces(TCanvas* c) {
        Title(c, 8, 86, L"Vista faces: a group left, middle (hot) and right, split drop-downs, arrows and focus");
        const TGlowLook rest{0xF7F7F7, 0xEDEDED, 0xDDDDDD, 0xF4F4F4, 0xA0A0A0, AdvGlowButton::ggVertical,
                             AdvGlowButton::ggVertical};
        const TGlowLook hot{0xF5F0E1, 0xF9D2B2, 0xF5C8AD, 0xFFF8F4, 0xC08040, AdvGlowButton::ggRadial,
                            AdvGlowButton::ggRadial};
        const auto face = [&](const wchar_t* caption, const TGlowLook& look) {
            AdvToolBar::TVistaButtonFace f;
            f.Look = look;
            f.Caption = caption;
            f.Font = &FFont;
            f.AntiAlias = AdvGDIP::aaClearType;
            return f;
        };
        const AdvGlowButton::TButtonPosition positions[] = {AdvGlowButton::bpLeft, AdvGlowButton::bpMiddle,
                                                            AdvGlowButton::bpRight};
        const wchar_t* names[] = {L"Bold", L"Italic", L"Under"};
        for (int i = 0; i < 3; ++i) {
            auto f = face(names[i], i == 1 ? hot : rest);
            f.Position = positions[i];
            f.Hot = i == 1;
            AdvToolBar::DrawVistaButton(c, Box(8 + 60 * i, 104, 60, 26), f);
        }
        auto split = face(L"Save", hot);
        split.Picture = &FPicture;
        split.DropDownButton = split.DropDownSplit = split.HotOrDown = true;
        split.DropDownHover = 2;
        AdvToolBar::DrawVistaButton(c, Box(200, 104, 100, 41), split);
        Note(c, 200, 148, L"on the button");
        split.DropDownHover = 1;
        AdvToolBar::DrawVistaButton(c, Box(320, 104, 100, 41), split);
        Note(c, 320, 148, L"on the drop-down");
        auto below = face(L"Paste", rest);
        below.Picture = &FPicture;
        below.Layout = AdvGlowButton::blGlyphTop;
        below.DropDownButton = true;
        below.DropDownPosition = AdvGlowButton::dpBottom;
        AdvToolBar::DrawVistaButton(c, Box(440, 100, 60, 62), below);
        auto right = face(L"More", rest);
        right.DropDownButton = true;
        right.ArrowDown = false;
        right.Rounded = false;
        AdvToolBar::DrawVistaButton(c, Box(520, 104, 80, 26), right);
        Note(c, 520, 132, L"square, arrow right");
        auto focused = face(L"Focus", rest);
        focused.FocusFrame = true;
        AdvToolBar::DrawVistaButton(c, Box(620, 104, 70, 26), focused);
        AdvToolBar::DrawVistaArrow(c, {S(710), S(112)}, clBlack, true, clWhite);
        AdvToolBar::DrawVistaArrow(c, {S(725), S(110)}, clBlack, false, clWhite);
        AdvToolBar::DrawDropDownArrow(nullptr, c, clNavy, {S(740), S(112)});
    }

    void Gradients(TCanvas* c) {
        Title(c, 8, 170, L"Gradients, glow and the glass frame of the quick access toolbar");
        AdvToolBar::DrawGradient(c, 0xFFE0C0, 0xC06020, 64, Box(8, 188, 120, 30), true);
        AdvToolBar::DrawGradient(c, 0xFFE0C0, 0xC06020, 8, Box(136, 188, 40, 60), false);
        AdvToolBar::DrawVistaGradient(c, Box(184, 188, 90, 60), S(26), 0xFDF7F0, 0xF5E6D6, 0xEAD2BC, 0xF8EADB, 0xA07050,
                                      S(3));
        AdvToolBar::DrawVistaGradient(c, Box(282, 188, 60, 60), S(26), 0xD0F0D0, clNone, clNone, clNone, 0x408040, 0);
        // The alpha fills over a coloured band, so their transparency shows.
        c->Brush()->SetColor(0x804020);
        c->FillRect(Box(350, 188, 330, 60));
        const HDC dc = c->Handle();
        AdvToolBar::FillAlphaGradient(dc, Box(358, 194, 60, 48), clWhite, 0, 220);
        AdvToolBar::FillTwoColorGradient(dc, Box(424, 194, 60, 48), clYellow, clRed, 60, 255);
        AdvToolBar::FillFadingGradient(dc, Box(490, 194, 40, 48), clWhite);
        AdvToolBar::FillGradientFadeRight(dc, Box(536, 194, 136, 20), clWhite, 200, 240);
        AdvToolBar::FillGlowGradient(dc, Box(536, 220, 136, 22));
        c->Brush()->SetColor(0xB0A090);
        c->FillRect(Box(688, 188, 100, 60));
        AdvToolBar::DrawGlassQATFrame(dc, Box(692, 194, 90, 20));
        AdvGDIP::SetScenicRibbonFlag(true);
        AdvToolBar::DrawGlassQATFrame(dc, Box(692, 218, 90, 26));
        AdvGDIP::SetScenicRibbonFlag(false);
        AdvToolBar::DrawButtonGlow(nullptr, c, 0xF5F0E1, 0xF9D2B2, Box(796, 188, 60, 28));
        AdvToolBar::DrawGlowRect(c, Box(796, 220, 60, 28), TGlowLook{0xF5F0E1, 0xF9D2B2, 0xF5C8AD, 0xFFF8F4, 0xC08040,
                                                                       AdvGlowButton::ggRadial, AdvGlowButton::ggRadial},
                                 L"Glow", &FFont, true, false, AdvGDIP::aaClearType, true);
        AdvToolBar::DrawGripLine(c, {S(866), S(190)}, {S(866), S(246)}, true, true);
        AdvToolBar::DrawGripLine(c, {S(874), S(190)}, {S(874), S(246)}, true, false);
        AdvToolBar::DrawRectGDIP(nullptr, c, clNavy, Box(884, 190, 30, 56));
    }

    void Glyphs(TCanvas* c) {
        Title(c, 8, 256, L"Caption-button glyphs at scale 1.0 and 1.5: close (pen 1 and 2), restore, maximize, "
                         L"minimize; scaled, flat, fixed");
        const float saved = AdvToolBar::DPIScaleFactor;
        double y = 274;
        for (const float scale : {1.0f, 1.5f}) {
            AdvToolBar::DPIScaleFactor = scale;
            const double side = 26 * scale;
            double x = 8;
            const auto box = [&](const std::function<void(const TRect&)>& draw) {
                const TRect r = Box(x, y, side, side);
                c->Brush()->SetColor(0xF0E8E0);
                c->FillRect(r);
                draw(r);
                x += side + 6;
            };
            const AdvToolBar::TGroupStyle flat = AdvToolBar::gsOffice2019;
            box([&](const TRect& r) { AdvToolBar::DrawCloseGlyph(c, r, clBlack, AdvToolBar::gsClassic, 1); });
            box([&](const TRect& r) { AdvToolBar::DrawCloseGlyph(c, r, clBlack, AdvToolBar::gsClassic, 2); });
            box([&](const TRect& r) { AdvToolBar::DrawCloseGlyph(c, r, clBlack, flat, 1); });
            for (const auto& draw : {AdvToolBar::DrawRestoreGlyph, AdvToolBar::DrawMaximizeGlyph,
                                     AdvToolBar::DrawMinimizeGlyph}) {
                box([&](const TRect& r) { draw(c, r, clBlack, AdvToolBar::gsClassic, true); });
                box([&](const TRect& r) { draw(c, r, clBlack, flat, true); });
                box([&](const TRect& r) { draw(c, r, clBlack, AdvToolBar::gsClassic, false); });
            }
            y += side + 8;
        }
        AdvToolBar::DPIScaleFactor = saved;
    }

    void Captions(TCanvas* c) {
        Title(c, 8, 356, L"Captions: trimmed (ellipsis, prefix, whole), wrapped, outlined, with a shadow, turned");
        const std::wstring caption = L"Toolbar caption";
        struct TTrim { const wchar_t* Name; bool Ellipsis, KeepWhole; };
        double x = 8;
        TRect textRect;
        for (const TTrim& t : {TTrim{L"ellipsis", true, false}, TTrim{L"prefix", false, false},
                               TTrim{L"whole", false, true}}) {
            const TRect r = Box(x, 374, 70, 34);
            c->Brush()->SetColor(0xF4F4F4);
            c->FillRect(r);
            AdvToolBar::DrawTextTrimmed(c, taLeftJustify, DT_SINGLELINE | DT_VCENTER, r, caption, L"", &FFont, true,
                                        true, AdvGDIP::aaClearType, t.Ellipsis, t.KeepWhole, textRect);
            Note(c, x, 410, t.Name);
            x += 78;
        }
        const TRect wrapped = Box(248, 374, 90, 34);
        c->Brush()->SetColor(0xF4F4F4);
        c->FillRect(wrapped);
        AdvToolBar::DrawTextWrapped(c, taCenter, wrapped, L"Save all files", L"", &FFont, true, true,
                                    AdvGDIP::aaAntiAlias, false, clNone, false, textRect);
        Note(c, 248, 410, L"wrapped");
        TFont big;
        big.Assign(&FFont);
        big.SetSize(11);
        big.SetColor(0x803000);
        AdvToolBar::DrawTextWrapped(c, taCenter, Box(346, 374, 110, 34), L"Outline", L"", &big, true, true,
                                    AdvGDIP::aaAntiAlias, false, clNone, true, textRect);
        Note(c, 346, 410, L"text path");
        c->Brush()->SetColor(0x707070);
        c->FillRect(Box(464, 374, 110, 34));
        AdvToolBar::DrawTextWrapped(c, taCenter, Box(464, 374, 110, 34), L"Bitmap", L"", &big, true, true,
                                    AdvGDIP::aaAntiAlias, true, clWhite, true, textRect);
        Note(c, 464, 410, L"through a bitmap");
        c->Brush()->SetColor(0x404040);
        c->FillRect(Box(582, 374, 110, 34));
        big.SetColor(clWhite);
        AdvToolBar::DrawTextWrappedDC(c->Handle(), taCenter, Box(582, 374, 110, 34), L"Shadow", L"", &big, true, true,
                                      AdvGDIP::aaAntiAlias, clBlack, true, textRect);
        Note(c, 582, 410, L"with a shadow");
        TFont turned;
        turned.Assign(&FFont);
        turned.SetOrientation(2700);
        c->Font()->Assign(&turned);
        c->Brush()->SetStyle(bsClear);
        AdvToolBar::DrawVerticalText(c, L"&Vertical", {S(720), S(360)});
        AdvToolBar::DrawVerticalText(c, L"Tool&&bar", {S(740), S(360)});
        const int width = AdvToolBar::MeasureTextWidth(c, caption, L"", AdvGDIP::aaClearType, &FFont);
        Note(c, 8, 430, L"MeasureTextWidth(\"" + caption + L"\") = " + std::to_wstring(width) + L" pixels");
    }

    GDIPicture::TGDIPPicture FPicture;
    TFont FFont;
    double FScale = 1;
};

const Showcase::TPageRegistration page(L"toolbarpaint", [](TForm* form) {
    // What the first dock panel or pager does when it gets its size.
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    auto* board = new TPaintBoard(form);
    board->SetParent(form);
    board->SetBounds(0, 0, board->S(930), board->S(450));
    form->SetClientSize(board->S(930), board->S(450));
});

}  // namespace
