#include "menus/AdvMenuUtilDraw.h"

#include <cstdint>
#include <cwchar>

#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"

namespace AdvMenuUtil {

LOGFONTW RotatedFontInfo(const ClassLib::TFont& font, int angle) {
    LOGFONTW info{};
    info.lfHeight = font.Height();
    info.lfWidth = 0;
    info.lfEscapement = angle * 10;
    info.lfOrientation = 0;
    const ClassLib::TFontStyles style = font.Style();
    info.lfWeight = style.Contains(ClassLib::fsBold) ? FW_BOLD : FW_NORMAL;
    info.lfItalic = style.Contains(ClassLib::fsItalic);
    info.lfUnderline = style.Contains(ClassLib::fsUnderline);
    info.lfStrikeOut = style.Contains(ClassLib::fsStrikeOut);
    info.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(info.lfFaceName, font.Name().c_str(), LF_FACESIZE - 1);
    switch (font.Pitch()) {
        case ClassLib::fpVariable: info.lfPitchAndFamily = VARIABLE_PITCH; break;
        case ClassLib::fpFixed: info.lfPitchAndFamily = FIXED_PITCH; break;
        default: info.lfPitchAndFamily = DEFAULT_PITCH; break;
    }
    return info;
}

HFONT CreateRotatedFont(const ClassLib::TFont& font, int angle) {
    const LOGFONTW info = RotatedFontInfo(font, angle);
    return ::CreateFontIndirectW(&info);
}

void CenterSizeInRect(TRect& r, int w, int h) {
    r.Right = (r.Left + r.Right + w) / 2;
    r.Left = r.Right - w;
    r.Bottom = (r.Top + r.Bottom + h) / 2;
    r.Top = r.Bottom - h;
}

TRect BitmapRect(const ClassLib::TBitmap* bitmap) {
    if (!bitmap) return {};
    return {0, 0, bitmap->Width(), bitmap->Height()};
}

void SplitColor(TColor color, int& r, int& g, int& b) {
    const auto rgb = std::uint32_t(ClassLib::ColorToRGB(color));
    r = int(rgb & 0xFF);
    g = int((rgb >> 8) & 0xFF);
    b = int((rgb >> 16) & 0xFF);
}

int MakeColorBytes(int r, int g, int b, int a) {
    return int(std::uint32_t(a) << 24 | std::uint32_t(b) << 16 | (std::uint32_t(g) & 0xFF) << 8 | (std::uint32_t(r) & 0xFF));
}

}  // namespace AdvMenuUtil
