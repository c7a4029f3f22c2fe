#include "classlib/Colors.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "classlib/Exceptions.h"

namespace ClassLib {

TColor ColorToRGB(TColor color) {
    if (color < 0) return TColor(::GetSysColor(color & 0xFF));
    return color;
}

const std::vector<TColorIdent>& ColorIdents() {
    static const std::vector<TColorIdent> idents = {
        {clBlack, L"clBlack"}, {clMaroon, L"clMaroon"}, {clGreen, L"clGreen"}, {clOlive, L"clOlive"},
        {clNavy, L"clNavy"}, {clPurple, L"clPurple"}, {clTeal, L"clTeal"}, {clGray, L"clGray"},
        {clSilver, L"clSilver"}, {clRed, L"clRed"}, {clLime, L"clLime"}, {clYellow, L"clYellow"},
        {clBlue, L"clBlue"}, {clFuchsia, L"clFuchsia"}, {clAqua, L"clAqua"}, {clWhite, L"clWhite"},
        {clMoneyGreen, L"clMoneyGreen"}, {clSkyBlue, L"clSkyBlue"}, {clCream, L"clCream"},
        {clMedGray, L"clMedGray"},
        {clActiveBorder, L"clActiveBorder"}, {clActiveCaption, L"clActiveCaption"},
        {clAppWorkSpace, L"clAppWorkSpace"}, {clBackground, L"clBackground"},
        {clBtnFace, L"clBtnFace"}, {clBtnHighlight, L"clBtnHighlight"}, {clBtnShadow, L"clBtnShadow"},
        {clBtnText, L"clBtnText"}, {clCaptionText, L"clCaptionText"}, {clDefault, L"clDefault"},
        {clGradientActiveCaption, L"clGradientActiveCaption"},
        {clGradientInactiveCaption, L"clGradientInactiveCaption"}, {clGrayText, L"clGrayText"},
        {clHighlight, L"clHighlight"}, {clHighlightText, L"clHighlightText"},
        {clHotLight, L"clHotLight"}, {clInactiveBorder, L"clInactiveBorder"},
        {clInactiveCaption, L"clInactiveCaption"}, {clInactiveCaptionText, L"clInactiveCaptionText"},
        {clInfoBk, L"clInfoBk"}, {clInfoText, L"clInfoText"}, {clMenu, L"clMenu"},
        {clMenuBar, L"clMenuBar"}, {clMenuHighlight, L"clMenuHighlight"}, {clMenuText, L"clMenuText"},
        {clNone, L"clNone"}, {clScrollBar, L"clScrollBar"}, {cl3DDkShadow, L"cl3DDkShadow"},
        {cl3DLight, L"cl3DLight"}, {clWindow, L"clWindow"}, {clWindowFrame, L"clWindowFrame"},
        {clWindowText, L"clWindowText"},
    };
    return idents;
}

bool ColorToIdent(TColor color, std::wstring& ident) {
    for (const TColorIdent& entry : ColorIdents()) {
        if (entry.Value == color) {
            ident = entry.Name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const std::wstring& ident, TColor& color) {
    for (const TColorIdent& entry : ColorIdents()) {
        if (::_wcsicmp(entry.Name, ident.c_str()) == 0) {
            color = entry.Value;
            return true;
        }
    }
    return false;
}

std::wstring ColorToString(TColor color) {
    std::wstring ident;
    if (ColorToIdent(color, ident)) return ident;
    wchar_t text[16];
    std::swprintf(text, 16, L"$%08X", unsigned(color));
    return text;
}

TColor StringToColor(const std::wstring& text) {
    TColor color;
    if (IdentToColor(text, color)) return color;
    std::wstring digits = text;
    while (!digits.empty() && std::iswspace(digits.front())) digits.erase(0, 1);
    while (!digits.empty() && std::iswspace(digits.back())) digits.pop_back();
    bool negative = false;
    if (!digits.empty() && (digits[0] == L'-' || digits[0] == L'+')) {
        negative = digits[0] == L'-';
        digits.erase(0, 1);
    }
    int base = 10;
    if (!digits.empty() && digits[0] == L'$') {
        base = 16;
        digits.erase(0, 1);
    } else if (digits.size() > 1 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    // A colour fills 32 bits: hexadecimal up to 8 digits, decimal within the signed range.
    const bool valid = !digits.empty() && digits.size() <= (base == 16 ? 8u : 10u) &&
                       digits.find_first_not_of(base == 16 ? L"0123456789abcdefABCDEF" : L"0123456789") ==
                           std::wstring::npos;
    long long value = valid ? std::wcstoll(digits.c_str(), nullptr, base) : 0;
    if (!valid || (base == 10 && value > 0x7FFFFFFFLL + (negative ? 1 : 0)))
        throw EConvertError(L"'" + text + L"' is not a valid colour value");
    if (negative) value = -value;
    return TColor(std::uint32_t(value));
}

}  // namespace ClassLib
