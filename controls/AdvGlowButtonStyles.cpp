// Style presets and colour tones of the glow button.
#include <cmath>

#include "classlib/Form.h"
#include "controls/AdvGlowButton.h"

namespace AdvGlowButton {

using namespace ClassLib;
using namespace AdvStyleIF;

namespace {

struct TFill { TColor Color, ColorTo, Mirror, MirrorTo; };
struct TPresetLook { TFill Fill; TColor Border; };

// What a preset sets; a member it does not set keeps its value.
enum TPresetPart : unsigned {
    pNormal = 1u << 0,          // the normal look
    pNormalBorder = 1u << 1,
    pStates = 1u << 2,          // hot, down and checked looks
    pBorderChecked = 1u << 3,
    pGradients = 1u << 4,       // the eight gradient kinds of normal, hot, down, checked (all vertical)
    pDisabledFill = 1u << 5,
    pBorderDisabled = 1u << 6,
    pTextChecked = 1u << 7,
    pTextHotDown = 1u << 8,
    pTextDisabled = 1u << 9,
    pBorderCheckedHot = 1u << 10,
    pFontColor = 1u << 11,
};

struct TPreset {
    TOVTStyle Style;
    unsigned Parts;
    TPresetLook Normal, Hot, Down, Checked;
    TColor BorderChecked;
    TFill Disabled;
    TColor BorderDisabled, TextChecked, TextHot, TextDown, TextDisabled, BorderCheckedHot, FontColor;
};

constexpr TFill Flat(TColor c) { return {c, c, c, c}; }
constexpr TFill FlatNone(TColor c) { return {c, clNone, c, clNone}; }
constexpr TPresetLook Look(TFill fill, TColor border) { return {fill, border}; }

// The warm hot, down and checked looks the Office 2003 presets share.
constexpr TPresetLook Office2003Hot = Look({0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF}, 0x99CEDB);
constexpr TPresetLook Office2003Down = Look({0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD}, 0x45667B);
constexpr TPresetLook Office2003Checked = Look({0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE}, 0x45667B);

constexpr unsigned Office2003 = pNormal | pNormalBorder | pGradients;
constexpr unsigned Office2007 = pNormal | pNormalBorder | pStates | pBorderChecked | pGradients;
constexpr unsigned Windows8 = Office2007 | pDisabledFill | pTextChecked;
constexpr unsigned Office2013 = Windows8 | pBorderDisabled;
constexpr unsigned Office2016 = Office2013 | pTextHotDown;

constexpr TFill NoFill = Flat(clNone);

const TPreset Presets[] = {
    {tsOffice2003Blue, Office2003, Look({0xFCE1CB, 0xE0A57D, 0xE0A57D, 0xFCE1CB}, 0xC9662A), Office2003Hot,
     Office2003Down, Office2003Checked, 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2003Silver, Office2003, Look({0xECE2E1, 0xB39698, 0xB39698, 0xECE2E1}, 0x947C7C), Office2003Hot,
     Office2003Down, Office2003Checked, 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2003Olive, Office2003, Look({0xCFF0EA, 0x8CC0B1, 0x8CC0B1, 0xCFF0EA}, 0x588060), Office2003Hot,
     Office2003Down, Office2003Checked, 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2003Classic, pNormal | pNormalBorder | pStates | pGradients,
     Look({0xFFFFFF, 0xC9D1D5, 0xC9D1D5, 0xFFFFFF}, 0x808080), Look(Flat(0xD2BDB6), 0x808080),
     Look(Flat(0xB59285), 0x733800), Look(Flat(0xD8D5D4), 0x808080), 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2007Luna, Office2007, Look({0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0}, 0xE0B99B), Office2003Hot,
     Office2003Down, Office2003Checked, 0x45667B, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2007Obsidian, Office2007, Look({0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0}, 0xC0BCB2), Office2003Hot,
     Office2003Down, Office2003Checked, 0x45667B, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsWindowsXP, Office2007, Look({0xF9F9F9, 0xE4E4E4, 0xE4E4E4, 0xF9F9F9}, 0xA0A0A0),
     Look({0xF2E3DA, 0xE8C8B6, 0xE8C8B6, 0xF2E3DA}, clHighlight), Look(Flat(0xE0B89F), clHighlight),
     Look(Flat(0xE6CDBE), 0x808080), 0x808080, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsWhidbey, Office2003, Look({0xF5F9FA, 0xA8C0C0, 0xA8C0C0, 0xF5F9FA}, 0x962D00), Office2003Hot, Office2003Down,
     Office2003Checked, 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsCustom, 0, {}, {}, {}, {}, 0, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2007Silver, Office2007, Look({0xF3F3F1, 0xF5F5F3, 0xEEEAE7, 0xF8F7F6}, 0xCCCAC9), Office2003Hot,
     Office2003Down, Office2003Checked, 0x45667B, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsWindowsVista, Office2007, Look({0xFDF8F1, 0xFCEFD5, 0xFDEADA, 0xFDF8F1}, 0xFDDE99),
     Look({0xFFFDF9, 0xFFFAF0, 0xFEF0D0, 0xFFF7E6}, 0xFCCA6A), Look({0xFEF4E4, 0xFEE2B6, 0xFEDB9B, 0xFEF1DB}, 0xCEA05C),
     Look({0xFEF4E4, 0xFEE2B6, 0xFEDB9B, 0xFEF1DB}, 0xCEA05C), 0xCEA05C, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsWindows7, Office2007, Look({0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC}, 0xCEA27D),
     Look({0xFDFBFA, 0xFDF3EB, 0xFBEADB, 0xFDF1E7}, 0xE8B385), Look({0xFCE6D4, 0xF7D7BA, 0xF1C9A6, 0xF9E1CB}, 0xC28F5B),
     Look({0xFCE6D4, 0xF7D7BA, 0xF1C9A6, 0xF9E1CB}, 0xC28F5B), clHighlight, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsTerminal, pNormal | pStates | pBorderChecked, Look(Flat(clBtnFace), 0), Look(Flat(0xC0C0C0), clGray),
     Look(Flat(clHighlight), clGray), Look(Flat(0x808080), clGray), clGray, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2010Blue, Office2007, Look({0xFDF6EF, 0xF0DAC7, 0xF0DAC7, 0xFDF6EF}, 0xC7B29F),
     Look({0xDCFFFF, 0x5BC0F7, 0x5BC0F7, 0xDCFFFF}, 0x6CCDFA), Look({0x5FC0FF, 0x5FC0FF, 0x5FC0FF, 0x5FC0FF}, 0x308AC2),
     Look({0x9BE8FF, 0x59C9FE, 0x59C9FE, 0x9BE8FF}, 0x308AC2), 0x308AC2, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2010Silver, Office2007, Look({0xFFFFFF, 0xEDE5E0, 0xEDE5E0, 0xFFFFFF}, 0xD2CDC8),
     Look({0xDCFFFF, 0x5BC0F7, 0x5BC0F7, 0xDCFFFF}, 0x6CCDFA), Look({0x5FC0FF, 0x5FC0FF, 0x5FC0FF, 0x5FC0FF}, 0x308AC2),
     Look({0x9BE8FF, 0x59C9FE, 0x59C9FE, 0x9BE8FF}, 0x308AC2), 0x308AC2, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsOffice2010Black, Office2007, Look({0xBFBFBF, 0x919191, 0x919191, 0xBFBFBF}, 0x6D6D6D),
     Look({0xDCFFFF, 0x5BC0F7, 0x5BC0F7, 0xDCFFFF}, 0x6CCDFA), Look({0x5FC0FF, 0x5FC0FF, 0x5FC0FF, 0x5FC0FF}, 0x308AC2),
     Look({0x9BE8FF, 0x59C9FE, 0x59C9FE, 0x9BE8FF}, 0x308AC2), 0x308AC2, NoFill, 0, 0, 0, 0, 0, 0, 0},
    {tsWindows8, Windows8, Look(FlatNone(0xF7F6F5), 0xE4E3E2), Look(FlatNone(0xF7EFE8), 0xF9CEA4),
     Look(FlatNone(0xF7E0C9), 0xE4A262), Look(FlatNone(0xF9CEA4), 0xE4A262), 0xE4A262, FlatNone(0xF7F7F7), 0,
     0x000000, 0, 0, 0, 0, 0},
    {tsOffice2013White, Office2013, Look(FlatNone(0xFFFFFF), 0xD4D4D4), Look(FlatNone(0xFCF0E4), 0xEAB47E),
     Look(FlatNone(0xFCE1CA), 0xE59D56), Look(FlatNone(0xFCE1CA), 0xE59D56), 0xE59D56, FlatNone(0xFFFFFF), 0xD4D4D4,
     0x000000, 0, 0, 0, 0, 0},
    {tsOffice2013LightGray, Office2013, Look(FlatNone(0xFAFAFA), 0xC6C6C6), Look(FlatNone(0xFCF0E4), 0xEAB47E),
     Look(FlatNone(0xFCE1CA), 0xE59D56), Look(FlatNone(0xFCE1CA), 0xE59D56), 0xE59D56, FlatNone(0xFAFAFA), 0xC6C6C6,
     0x000000, 0, 0, 0, 0, 0},
    {tsOffice2013Gray, Office2013, Look(FlatNone(0xF3F3F3), 0xABABAB), Look(FlatNone(0xFCF0E4), 0xEAB47E),
     Look(FlatNone(0xFCE1CA), 0xE59D56), Look(FlatNone(0xFCE1CA), 0xE59D56), 0xE59D56, FlatNone(0xF3F3F3), 0xABABAB,
     0x000000, 0, 0, 0, 0, 0},
    {tsWindows10, Windows8, Look(FlatNone(0xF7F7F7), 0xE4E4E4), Look(FlatNone(0xF7E6CD), 0xF7E6CD),
     Look(FlatNone(0xF0D1A2), 0xF0D1A2), Look(FlatNone(0xF2D5C2), 0xF2D5C2), 0xF2D5C2, FlatNone(0xF7F7F7), 0,
     0x000000, 0, 0, 0, 0, 0},
    {tsOffice2016White, Office2016 | pBorderCheckedHot | pFontColor, Look(FlatNone(0xFFFFFF), 0xD4D4D4),
     Look(FlatNone(0xF2E1D5), 0xF2E1D5), Look(FlatNone(0xE3BDA3), 0xE3BDA3), Look(FlatNone(0xF2D5C2), 0xF2D5C2),
     0xF2D5C2, FlatNone(0xFFFFFF), 0xD4D4D4, 0x505050, 0x505050, 0x505050, 0, 0xE3BDA3, 0x505050},
    {tsOffice2016Gray, Office2016 | pBorderCheckedHot | pFontColor, Look(FlatNone(0xB2B2B2), 0x444444),
     Look(FlatNone(0xF2E1D5), 0xF2E1D5), Look(FlatNone(0xE3BDA3), 0xE3BDA3), Look(FlatNone(0xF2D5C2), 0xF2D5C2),
     0xF2D5C2, FlatNone(0xB2B2B2), 0x444444, 0x262626, 0x262626, 0x262626, 0, 0xE3BDA3, 0x262626},
    {tsOffice2016Black, Office2016 | pFontColor, Look(Flat(0x363636), 0x444444), Look(Flat(0x6A6A6A), 0x6A6A6A),
     Look(Flat(0x444444), 0x444444), Look(Flat(0x575757), 0x575757), 0x575757, Flat(0x363636), 0x444444, 0xFFFFFF,
     0xFFFFFF, 0xFFFFFF, 0, 0, 0xA6A6A6},
    {tsOffice2019White, Office2016 | pBorderCheckedHot | pTextDisabled, Look(Flat(0xFFFFFF), 0xADB0B3),
     Look(Flat(0xFAECE3), 0xB0784A), Look(Flat(0xB0784A), 0xB0784A), Look(Flat(0xD1B9A5), 0xD1B9A5), 0xD1B9A5,
     FlatNone(0xFFFFFF), 0xD4D4D4, 0x393A3B, 0x232425, 0x232425, 0xD4D4D4, 0xB0784A, 0},
    {tsOffice2019Gray, Office2016 | pBorderCheckedHot | pTextDisabled | pFontColor, Look(Flat(0xE6E6E6), 0x9A9A9A),
     Look(Flat(0xCFCFCF), 0x9A9A9A), Look(Flat(0xB8B8B8), 0x8A8A8A), Look(Flat(0xC4C4C4), 0x8A8A8A), 0x8A8A8A,
     Flat(0xE6E6E6), 0xC0C0C0, 0x232425, 0x232425, 0x232425, 0xA0A0A0, 0x6F6F6F, 0x232425},
    {tsOffice2019Black, Office2016 | pBorderCheckedHot | pTextDisabled | pFontColor, Look(Flat(0x303132), 0x5A5B5C),
     Look(Flat(0x4A4B4C), 0x6A6B6C), Look(Flat(0x626364), 0x7A7B7C), Look(Flat(0x555657), 0x7A7B7C), 0x7A7B7C,
     Flat(0x303132), 0x4A4B4C, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x8A8B8C, 0xFFFFFF},
};

const TPreset* PresetOf(TOVTStyle style) {
    for (const TPreset& preset : Presets)
        if (preset.Style == style) return &preset;
    return nullptr;
}

bool TransparentOfficeStyle(TOVTStyle style) {
    switch (style) {
        case tsOffice2010Blue: case tsOffice2010Silver: case tsOffice2010Black: case tsOffice2013White:
        case tsOffice2013LightGray: case tsOffice2013Gray: case tsOffice2016White: case tsOffice2016Gray:
        case tsOffice2016Black: case tsOffice2019White: case tsOffice2019Gray: case tsOffice2019Black:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TAdvCustomGlowButton::SetComponentStyle(TOVTStyle AStyle) {
    const TPreset* preset = PresetOf(AStyle);
    // A value outside the enumeration (a stored number from a newer program, say) has no
    // preset: the looks stay as they are.
    if (!preset && AStyle != tsCustom) return;
    FUIStyle = AStyle;
    if (AStyle == tsCustom) return;
    TGlowButtonAppearance& a = *FAppearance;
    if (!ParentFont()) {
        if (!HasState(csLoading) && !HasState(csDesigning))
            Font()->SetHeight(int(std::nearbyint(-11 * AdvStyleIF::GetDPIScale(this, nullptr))));
        Font()->SetColor(clWindowText);
    }
    a.SetTextColorChecked(0x000000);
    a.SetTextColorHot(0x000000);
    a.SetTextColorDown(0x000000);
    a.SetTranspOffice(TransparentOfficeStyle(AStyle));
    FCompStyle = AStyle;
    a.SetBorderColorCheckedHot(clNone);
    SetRounded(AStyle < tsWindows8);
    a.SetColorDisabled(0xF2F2F2);
    a.SetColorDisabledTo(0xF2F2F2);
    a.SetColorMirrorDisabled(0xB6B6B6);
    a.SetColorMirrorDisabledTo(0xF2F2F2);
    a.SetBorderColorDisabled(0x808080);

    const TPreset& p = *preset;
    const bool shares2003 = AStyle == tsOffice2003Blue || AStyle == tsOffice2003Silver ||
                            AStyle == tsOffice2003Olive || AStyle == tsWhidbey;
    const auto hot = [&](const TPresetLook& look) {
        a.SetColorHot(look.Fill.Color); a.SetColorHotTo(look.Fill.ColorTo);
        a.SetColorMirrorHot(look.Fill.Mirror); a.SetColorMirrorHotTo(look.Fill.MirrorTo);
        a.SetBorderColorHot(look.Border);
    };
    const auto down = [&](const TPresetLook& look) {
        a.SetColorDown(look.Fill.Color); a.SetColorDownTo(look.Fill.ColorTo);
        a.SetColorMirrorDown(look.Fill.Mirror); a.SetColorMirrorDownTo(look.Fill.MirrorTo);
        a.SetBorderColorDown(look.Border);
    };
    const auto checked = [&](const TPresetLook& look) {
        a.SetColorChecked(look.Fill.Color); a.SetColorCheckedTo(look.Fill.ColorTo);
        a.SetColorMirrorChecked(look.Fill.Mirror); a.SetColorMirrorCheckedTo(look.Fill.MirrorTo);
    };
    const auto verticalStates = [&] {
        a.SetGradientHot(ggVertical); a.SetGradientMirrorHot(ggVertical);
        a.SetGradientDown(ggVertical); a.SetGradientMirrorDown(ggVertical);
        a.SetGradientChecked(ggVertical); a.SetGradientMirrorChecked(ggVertical);
    };
    if (shares2003) {
        hot(Office2003Hot);
        down(Office2003Down);
        checked(Office2003Checked);
        verticalStates();
    }
    if (p.Parts & pNormal) {
        a.SetColor(p.Normal.Fill.Color); a.SetColorTo(p.Normal.Fill.ColorTo);
        a.SetColorMirror(p.Normal.Fill.Mirror); a.SetColorMirrorTo(p.Normal.Fill.MirrorTo);
    }
    if (p.Parts & pNormalBorder) a.SetBorderColor(p.Normal.Border);
    if (p.Parts & pStates) {
        hot(p.Hot);
        down(p.Down);
        checked(p.Checked);
    }
    if (p.Parts & pBorderChecked) a.SetBorderColorChecked(p.BorderChecked);
    if (p.Parts & pGradients) {
        a.SetGradient(ggVertical);
        a.SetGradientMirror(ggVertical);
        verticalStates();
    }
    if (p.Parts & pDisabledFill) {
        a.SetColorDisabled(p.Disabled.Color); a.SetColorDisabledTo(p.Disabled.ColorTo);
        a.SetColorMirrorDisabled(p.Disabled.Mirror); a.SetColorMirrorDisabledTo(p.Disabled.MirrorTo);
    }
    if (p.Parts & pBorderDisabled) a.SetBorderColorDisabled(p.BorderDisabled);
    if (p.Parts & pTextChecked) a.SetTextColorChecked(p.TextChecked);
    if (p.Parts & pTextHotDown) {
        a.SetTextColorHot(p.TextHot);
        a.SetTextColorDown(p.TextDown);
    }
    if (p.Parts & pTextDisabled) a.SetTextColorDisabled(p.TextDisabled);
    if (p.Parts & pBorderCheckedHot) a.SetBorderColorCheckedHot(p.BorderCheckedHot);
    if (p.Parts & pFontColor) Font()->SetColor(p.FontColor);
    Invalidate();
    if (FShortCutHint) {
        FShortCutHint->SetColor(clWhite);
        FShortCutHint->SetColorTo(a.Color());
    }
}

void TAdvCustomGlowButton::SetColorTones(TColorTones ATones) {
    TGlowButtonAppearance& a = *FAppearance;
    const TColorTone& bg = ATones.Background;
    const TColorTone& sel = ATones.Selected;
    const TColorTone& hov = ATones.Hover;
    const TColorTone& dis = ATones.Disabled;
    a.SetColor(bg.BrushColor);
    a.SetColorTo(clNone);
    a.SetBorderColor(bg.BorderColor);
    a.SetColorMirror(bg.BrushColor);
    a.SetColorMirrorTo(bg.BrushColor);
    a.SetColorHot(hov.BrushColor); a.SetColorHotTo(hov.BrushColor);
    a.SetColorMirrorHot(hov.BrushColor); a.SetColorMirrorHotTo(hov.BrushColor);
    a.SetBorderColorHot(hov.BorderColor);
    a.SetColorDown(sel.BrushColor); a.SetColorDownTo(sel.BrushColor);
    a.SetColorMirrorDown(sel.BrushColor); a.SetColorMirrorDownTo(sel.BrushColor);
    a.SetBorderColorDown(sel.BorderColor);
    a.SetColorDisabled(bg.BrushColor); a.SetColorDisabledTo(bg.BrushColor);
    a.SetColorMirrorDisabled(bg.BrushColor); a.SetColorMirrorDisabledTo(bg.BrushColor);
    a.SetBorderColorDisabled(dis.TextColor);
    a.SetColorChecked(sel.BrushColor); a.SetColorCheckedTo(sel.BrushColor);
    a.SetColorMirrorChecked(sel.BrushColor); a.SetColorMirrorCheckedTo(sel.BrushColor);
    a.SetBorderColorChecked(sel.BorderColor);
    // Kept as the style system wants it: tones stop every fade of the application.
    GlowSpeed = 0;
    SetRounded(false);
    a.SetTextColorHot(hov.TextColor);
    a.SetTextColorDown(sel.TextColor);
    a.SetTextColorChecked(sel.TextColor);
    // A disabled text in the disabled brush colour could not be read.
    a.SetTextColorDisabled(dis.TextColor == dis.BrushColor ? TColor(0x808080) : dis.TextColor);
    if (!ParentFont()) {
        if (HasState(csLoading)) Font()->SetHeight(int(std::nearbyint(-11 * AdvStyleIF::GetDPIScale(this, nullptr))));
        Font()->SetColor(bg.TextColor);
        Font()->SetName(GetDefaultFontName());
    }
}

}  // namespace AdvGlowButton
