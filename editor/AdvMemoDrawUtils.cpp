#include "editor/AdvMemoDrawUtils.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"

namespace AdvMemo {

using namespace ClassLib;

void DrawGradientBands(TCanvas& canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                       int steps) {
    steps = std::max(steps, 1);
    const TColor from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
    const int size = horizontal ? rect.Width() : rect.Height();
    auto channel = [steps](int a, int b, int n) { return a + int(std::nearbyint(double(n) * (b - a) / steps)); };
    for (int n = 0; n < steps; ++n) {
        const TColor color = RGBToColor(channel(ColorRed(from), ColorRed(to), n),
                                        channel(ColorGreen(from), ColorGreen(to), n),
                                        channel(ColorBlue(from), ColorBlue(to), n));
        const int start = int(std::nearbyint(double(n) * size / steps));
        const int span = size / steps + 1;
        TRect band = rect;
        if (horizontal) {
            band.Left = rect.Left + start;
            band.Right = std::min(rect.Right, band.Left + span);
        } else {
            band.Top = rect.Top + start;
            band.Bottom = std::min(rect.Bottom, band.Top + span);
        }
        if (band.Width() <= 0 || band.Height() <= 0) continue;
        canvas.Pen()->SetColor(color);
        canvas.Brush()->SetColor(color);
        canvas.Rectangle(band);
    }
}

bool PointInRectIncl(const TPoint& point, const TRect& rect) {
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top && point.Y <= rect.Bottom;
}

}  // namespace AdvMemo
