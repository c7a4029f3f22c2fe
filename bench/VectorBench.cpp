// Draws shapes through both contexts of the vector drawing object; prints shapes per second.
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

}  // namespace

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    constexpr double Goal = 2000;
    for (bool native : {false, true}) {
        const double rate = ShapesPerSecond(native);
        std::printf("%-7s shapes per second %10.0f   goal >= %.0f   %.2fx the goal\n", native ? "GDI+" : "canvas", rate,
                    Goal, rate / Goal);
    }
    std::printf("HTML captions per second: not measured, the HTML text engine is not built yet\n");
    return 0;
}
