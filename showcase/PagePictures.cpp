// Every picture format drawn through TGDIPPicture on coloured panels, so transparency,
// alpha and rotation can be seen: PNG with alpha, JPEG with an APP2 segment first, BMP
// with its corner colour transparent, icon, EMF, placeable WMF, GIF, and a turned PNG.
#include <algorithm>
#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Streams.h"
#include "graphics/GDIPicture.h"
#include "showcase/ShowcasePages.h"
#include "tests/graphics/PictureFixtures.h"

namespace {

using namespace ClassLib;

// One picture on a panel of its own colour, scaled up by whole steps to about 96 pixels
// (GDI+ smooths the enlarged pixels).
class TPictureTile : public TGraphicControl {
public:
    TPictureTile(TComponent* owner, const std::wstring& caption, const TBytes& bytes, TColor background, int angle = 0)
        : TGraphicControl(owner), FCaption(caption), FBackground(background) {
        auto stream = PictureFixtures::StreamOf(bytes);
        FPicture.LoadFromStream(stream.get());
        FPicture.SetAngle(angle);
    }
protected:
    void Paint() override {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(FBackground);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        const int w = std::max(FPicture.Width(), 1), h = std::max(FPicture.Height(), 1);
        // A turned picture turns about the centre of its natural size, so it is shown at that size.
        const int step = FPicture.Angle() ? 1 : std::max(1, 96 / std::max(w, h));
        const int left = (Width() - w * step) / 2, top = 12 + (96 - h * step) / 2;
        FPicture.Draw(canvas, Bounds(left, top, w * step, h * step));
        canvas->Font()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(8, Height() - 22, FCaption);
        canvas->Brush()->SetStyle(bsSolid);
    }
private:
    GDIPicture::TGDIPPicture FPicture;
    std::wstring FCaption;
    TColor FBackground;
};

const Showcase::TPageRegistration page(L"pictures", [](TForm* form) {
    using namespace PictureFixtures;
    struct TTile {
        const wchar_t* Caption;
        TBytes Bytes;
        TColor Background;
        int Angle;
    };
    const TTile tiles[] = {
        {L"PNG, alpha", Png(), TColor(0x804000), 0},
        {L"JPEG FF D8 FF E2", JpegE2(), TColor(0x206020), 0},
        {L"BMP, corner transparent", Bmp(), TColor(0x602060), 0},
        {L"ICO", Ico(), TColor(0x404040), 0},
        {L"EMF", Emf(), TColor(0x006080), 0},
        {L"WMF, placeable", Wmf(), TColor(0x605000), 0},
        {L"GIF, 3 frames", ThreeFrameGif(), TColor(0x203080), 0},
        {L"PNG, Angle 90", ClassLib::EncodePng(TwoBands(80, 40, OpaqueRed, HalfBlue)), TColor(0x804000), 90},
    };
    int index = 0;
    for (const TTile& tile : tiles) {
        auto* control = new TPictureTile(form, tile.Caption, tile.Bytes, tile.Background, tile.Angle);
        control->SetParent(form);
        control->SetBounds(16 + (index % 4) * 190, 16 + (index / 4) * 150, 180, 140);
        ++index;
    }
});

}  // namespace
