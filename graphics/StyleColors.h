#pragma once
// Colour values the style helpers and stylers use: a local stand-in until the class
// library's colour unit is merged in.
#include <cstdint>

namespace AdvStyleIF {

using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clWindow = TColor(0xFF000005u);
constexpr TColor clWindowText = TColor(0xFF000008u);
constexpr TColor clHighlight = TColor(0xFF00000Du);
constexpr TColor clHighlightText = TColor(0xFF00000Eu);
constexpr TColor clInfoBk = TColor(0xFF000018u);

// System colour references resolved to 0x00BBGGRR.
TColor ColorToRGB(TColor color);

}  // namespace AdvStyleIF
