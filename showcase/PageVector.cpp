// The vector drawing object on two panels, left through the canvas and right through GDI+:
// gradients (plain and mirrored), a rounded rectangle with one round corner, an ellipse,
// an arc swept backwards, a dashed outline, a progress bar, turned text, the small UI
// elements in each state and HTML captions, one with a picture and inline controls.
#include <cstdint>
#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Streams.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvTypes.h"
#include "graphics/PictureContainer.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using namespace AdvGraphicsTypes;
using AdvTypes::PointF;
using AdvTypes::RectF;

// A 24 x 24 orange sun on a transparent ground, made here so the page needs no files.
TBytes SunPng() {
    TRasterImage image;
    image.Width = image.Height = 24;
    image.HasAlpha = true;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const int dx = 2 * x - 23, dy = 2 * y - 23, d = dx * dx + dy * dy;
            const bool disc = d <= 18 * 18, ring = d >= 20 * 20 && d <= 23 * 23 && (x + y) % 3 != 0;
            const std::uint8_t alpha = disc || ring ? 0xFF : 0;
            image.Pixels.insert(image.Pixels.end(), {std::uint8_t(disc ? 0x00 : 0x30), std::uint8_t(disc ? 0xA5 : 0x80),
                                                     0xFF, alpha});
        }
    return EncodePng(image);
}

class TVectorPanel : public TGraphicControl {
public:
    TVectorPanel(TComponent* owner, bool native) : TGraphicControl(owner), FNative(native), FPictures(nullptr) {
        PictureContainer::TPictureItem* sun = FPictures.Items()->Add();
        sun->SetName(L"sun");
        const TBytes png = SunPng();
        TMemoryStream stream;
        stream.WriteBuffer(png.data(), int(png.size()));
        stream.SetPosition(0);
        sun->Picture()->LoadFromStream(&stream);
    }
protected:
    void Paint() override {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        AdvGraphics::TAdvGraphics g(canvas, FNative);
        g.BeginScene();
        g.Context()->SetAntiAliasing(true);
        g.Fill()->SetKind(gfkGradient);
        g.Fill()->SetColor(0x008CFF);
        g.Fill()->SetColorTo(0xB48246);
        g.Stroke()->SetColor(0x8B0000);
        g.DrawRectangle(RectF(10, 10, 170, 70));

        g.Fill()->SetColor(0xF0D0A0);
        g.Fill()->SetColorTo(0xE0B070);
        g.Fill()->SetColorMirror(0xC08040);
        g.Fill()->SetColorMirrorTo(0xF0D0A0);
        g.DrawRoundRectangle(RectF(190, 10, 350, 70), 12, 1u << gcTopLeft);

        g.Fill()->SetColorMirror(-1);
        g.Fill()->SetKind(gfkSolid);
        g.Fill()->SetColor(0x60C060);
        g.DrawEllipse(RectF(10, 90, 110, 170));
        g.Fill()->SetKind(gfkNone);
        g.Stroke()->SetWidth(3);
        g.Stroke()->SetColor(clRed);
        g.DrawArc(PointF(180, 130), PointF(40, 40), 0, -120);
        g.Stroke()->SetWidth(1);
        g.Stroke()->SetKind(gskDash);
        g.Stroke()->SetColor(clNavy);
        g.DrawRectangle(RectF(250, 90, 350, 170));
        g.Stroke()->SetKind(gskSolid);

        g.DrawProgressBar(RectF(10, 190, 350, 214), 62, L"%.0f%%", 100, 0x3CB371, clBlack, true, true);
        g.Font()->SetName(L"Arial");
        g.Font()->SetSize(11);
        g.Font()->SetColor(clBlack);
        g.DrawText(RectF(10, 224, 350, 250), FNative ? L"GDI+ context" : L"Canvas context", false, gtaCenter,
                   gtaCenter);
        g.DrawText(RectF(360, 10, 390, 250), L"Turned text", false, gtaCenter, gtaCenter, gttNone, 90);

        // The small UI elements: normal, focused, pressed and disabled, the glyphs drawn
        // from lines in the style's colours.
        AdvGraphics::TAdvGraphics::SetDefaultGraphicColors();
        for (int i = 0; i < 4; ++i) {
            const bool focused = i == 1, down = i == 2, enabled = i != 3;
            const float y = 262 + 24.0f * i;
            g.DrawButton(RectF(10, y, 70, y + 20), down, focused, enabled, true);
            g.DrawCloseButton(RectF(76, y, 96, y + 20), down, focused, enabled, true);
            g.DrawExpanderButton(RectF(102, y, 122, y + 20), i % 2 ? gesExpanded : gesCollapsed, down, focused,
                                 enabled, true);
            g.DrawCompactButton(RectF(128, y, 148, y + 20), i % 2 ? gcsExpanded : gcsCollapsed, down, focused,
                                enabled, true);
            g.DrawDropDownButton(RectF(154, y, 234, y + 20), down, focused, enabled, false, true);
            g.DrawCheckBox(RectF(244, y + 2, 260, y + 18), false, focused, enabled);
            g.DrawCheckBox(RectF(266, y + 2, 282, y + 18), true, focused, enabled);
            g.DrawRadioButton(RectF(292, y + 2, 308, y + 18), false, focused, enabled);
            g.DrawRadioButton(RectF(314, y + 2, 330, y + 18), true, focused, enabled);
        }

        // An HTML caption: styles, colours, a link, a highlight and a bulleted list.
        g.DrawText(RectF(10, 362, 350, 448),
                   L"<B>Bold</B>, <I>italic</I>, <FONT color=\"#C00000\">red</FONT>, "
                   L"<FONT bgcolor=\"#FFFF80\">marked</FONT> and a <A href=\"home\">link</A> "
                   L"with <HI>highlight</HI><UL><LI>first point<LI>second point</UL>",
                   true, gtaLeading, gtaLeading, gttNone, 0, -1, -1, true);

        // A caption with a picture from the panel's picture container, a check box and a button.
        g.SetPictureContainer(&FPictures);
        g.DrawText(RectF(10, 452, 350, 530),
                   L"<IMG src=\"sun\" align=\"middle\"> A <B>picture</B> in the caption<BR>"
                   L"<CONTROL TYPE=\"CHECK\" VALUE=\"TRUE\"> checked <CONTROL TYPE=\"RADIO\" VALUE=\"FALSE\"> "
                   L"option <CONTROL TYPE=\"BUTTON\" WIDTH=\"80\" VALUE=\"&lt;B&gt;Press&lt;/B&gt;\">",
                   true, gtaLeading, gtaLeading, gttNone, 0, -1, -1, true);
        g.EndScene();
    }
private:
    bool FNative;
    PictureContainer::TPictureContainer FPictures;
};

const Showcase::TPageRegistration page(L"vector", [](TForm* form) {
    for (bool native : {false, true}) {
        auto* panel = new TVectorPanel(form, native);
        panel->SetParent(form);
        panel->SetBounds(16 + (native ? 410 : 0), 16, 400, 540);
    }
    form->SetClientSize(16 + 410 + 400 + 16, 16 + 540 + 16);  // both panels whole
});

}  // namespace
