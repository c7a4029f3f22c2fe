// Draws shapes and HTML captions through both contexts of the vector drawing object; prints
// shapes per second and HTML captions per second.
#include "graphics/AdvGraphics.h"

#include <chrono>
#include <cstdio>

#include "graphics/AdvGDIPStartup.h"
#include "graphics/AdvTypes.h"

namespace {

using AdvTypes::RectF;

// A mix of what controls paint: gradient rectangles, rounded rectangles, ellipses and lines,
// with a drawing object made for each paint as controls do (its making is in the figure).
double ShapesPerSecond(bool native) {
    constexpr int Rounds = 500;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < Rounds; ++round) {
        std::unique_ptr<AdvGraphics::TAdvGraphics> g = AdvGraphics::TAdvGraphics::CreateBitmapCanvas(200, 100, native);
        g->BeginScene();
        g->Fill()->SetKind(AdvGraphicsTypes::gfkGradient);
        g->Fill()->SetColor(0x008CFF);
        g->Fill()->SetColorTo(0xB48246);
        g->DrawRectangle(RectF(0, 0, 200, 100));
        g->Fill()->SetKind(AdvGraphicsTypes::gfkSolid);
        g->DrawRoundRectangle(RectF(10, 10, 190, 90), 8);
        g->DrawEllipse(RectF(20, 20, 80, 80));
        g->DrawLine(AdvTypes::PointF(0, 0), AdvTypes::PointF(200, 100));
        g->EndScene();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return Rounds * 4 / seconds;
}

// A caption as controls show them: styles, a colour, a link, a list and an inline check
// box, wrapped in a 200-pixel box; measured and drawn with a test point, as a paint does.
double CaptionsPerSecond(bool native) {
    constexpr int Rounds = 300;
    const std::wstring caption = L"<B>Bold</B> and <I>italic</I> with <FONT color=\"#C00000\">colour</FONT>, a "
                                 L"<A href=\"home\">link</A><UL><LI>first point<LI>second point</UL>"
                                 L"<CONTROL TYPE=\"CHECK\" VALUE=\"TRUE\"> done";
    std::unique_ptr<AdvGraphics::TAdvGraphics> g = AdvGraphics::TAdvGraphics::CreateBitmapCanvas(220, 160, native);
    g->BeginScene();
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < Rounds; ++round) {
        g->CalculateText(caption, RectF(0, 0, 200, 150), true, true);
        g->DrawText(RectF(0, 0, 200, 150), caption, true, AdvGraphicsTypes::gtaLeading, AdvGraphicsTypes::gtaLeading,
                    AdvGraphicsTypes::gttNone, 0, -1, -1, true, false, 40, 10);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g->EndScene();
    return Rounds / seconds;
}

}  // namespace

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    constexpr double Goal = 2000;
    for (bool native : {false, true}) {
        const double rate = ShapesPerSecond(native);
        std::printf("%-7s shapes per second %10.0f   goal >= %.0f   %.2fx the goal\n", native ? "GDI+" : "canvas", rate,
                    Goal, rate / Goal);
    }
    constexpr double CaptionGoal = 200;  // a window full of captioned controls repaints at once
    for (bool native : {false, true}) {
        const double rate = CaptionsPerSecond(native);
        std::printf("%-7s HTML captions per second %10.0f   goal >= %.0f   %.2fx the goal\n", native ? "GDI+" : "canvas",
                    rate, CaptionGoal, rate / CaptionGoal);
    }
    return 0;
}
