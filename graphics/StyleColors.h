#pragma once
// The colour names the style helpers use, taken from the class library.
#include "classlib/Colors.h"

namespace AdvStyleIF {

using ClassLib::TColor;
using ClassLib::ColorToRGB;
using ClassLib::clNone;
using ClassLib::clBlack;
using ClassLib::clWhite;
using ClassLib::clRed;
using ClassLib::clBlue;
using ClassLib::clGreen;
using ClassLib::clNavy;
using ClassLib::clSilver;
using ClassLib::clGray;
using ClassLib::clFuchsia;
using ClassLib::clWindow;
using ClassLib::clWindowText;
using ClassLib::clHighlight;
using ClassLib::clHighlightText;
using ClassLib::clInfoBk;

}  // namespace AdvStyleIF
