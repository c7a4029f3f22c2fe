// Milliseconds per toolbar face and per trimmed caption: a 100 x 41 glow face and a hot Vista
// button face, each with a caption and a 32 x 32 PNG, and an 80-character caption trimmed
// with "..." into 60 pixels. Goals: at most 2 ms per face (a tenth of the 20 ms fade tick),
// and trimming under 5 ms.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "bench/BenchTiming.h"
#include "bench/SamplePicture.h"
#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarText.h"

namespace {

using BenchSupport::MillisecondsPerCall;
using BenchSupport::Row;

}  // namespace

int main() {
    using namespace ClassLib;
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    TBitmap surface(100, 41);
    TCanvas* canvas = surface.Canvas();
    TFont font;
    font.SetName(L"Tahoma");
    font.SetSize(8);
    GDIPicture::TGDIPPicture picture;
    picture.LoadFromFile(BenchSupport::SamplePicturePath());
    const bool hasPicture = !picture.Empty();
    const TRect r{0, 0, 100, 41};
    // The initial looks of a glow-button appearance: vertical halves at rest, radial ones hot.
    const AdvGlowButton::TGlowLook restLook{0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0xC0C0C0, AdvGlowButton::ggVertical,
                                            AdvGlowButton::ggVertical};
    const AdvGlowButton::TGlowLook hotLook{0xF5F0E1, 0xF9D2B2, 0xF5C8AD, 0xFFF8F4, 0xFF0000, AdvGlowButton::ggRadial,
                                           AdvGlowButton::ggRadial};

    AdvToolBar::TGlowButtonFace glow;
    glow.Look = restLook;
    glow.Caption = L"Create files";
    glow.Font = &font;
    glow.Picture = hasPicture ? &picture : nullptr;

    AdvToolBar::TVistaButtonFace vista;
    vista.Look = hotLook;
    vista.Caption = L"Create files";
    vista.Font = &font;
    vista.Picture = hasPicture ? &picture : nullptr;
    vista.Hot = vista.HotOrDown = true;

    const std::wstring caption =
        L"Generate the interpreter's source and header from every command of the list, then save";
    TRect textRect;

    std::printf("Toolbar painting, 100 x 41 faces with a caption%s\n",
                hasPicture ? " and a 32 x 32 PNG" : " (PNG not found: no picture)");
    Row("DrawGlowButtonFace, at rest", MillisecondsPerCall([&] { AdvToolBar::DrawGlowButtonFace(canvas, r, glow); }, 300),
        2.0);
    glow.Look = hotLook;
    Row("DrawGlowButtonFace, hot", MillisecondsPerCall([&] { AdvToolBar::DrawGlowButtonFace(canvas, r, glow); }, 300),
        2.0);
    Row("DrawVistaButton, hot", MillisecondsPerCall([&] { AdvToolBar::DrawVistaButton(canvas, r, vista); }, 300), 2.0);
    std::printf("Caption of %d characters trimmed into 60 pixels with an ellipsis\n", int(caption.size()));
    Row("DrawTextTrimmed", MillisecondsPerCall([&] {
            AdvToolBar::DrawTextTrimmed(canvas, ClassLib::taLeftJustify, DT_SINGLELINE, TRect{0, 10, 60, 30}, caption,
                                        L"", &font, true, true, AdvGDIP::aaClearType, true, false, textRect);
        }, 50), 5.0);
    return 0;
}
