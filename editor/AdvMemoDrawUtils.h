#pragma once
// Small drawing routines the memo's gutter and marks share.
#include "classlib/Colors.h"
#include "classlib/Geometry.h"

namespace ClassLib {
class TCanvas;
}

namespace AdvMemo {

// Bands of colour from fromColor to toColor across the rectangle (left to right when
// horizontal, else top to bottom); at least one band.
void DrawGradientBands(ClassLib::TCanvas& canvas, ClassLib::TColor fromColor, ClassLib::TColor toColor,
                       bool horizontal, const ClassLib::TRect& rect, int steps);
// The right and bottom edges count as inside.
bool PointInRectIncl(const ClassLib::TPoint& point, const ClassLib::TRect& rect);

}  // namespace AdvMemo
