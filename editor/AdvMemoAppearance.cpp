#include "editor/AdvMemoAppearance.h"

#include "editor/AdvMemo.h"

#include <algorithm>
#include <cmath>
#include <windows.h>

namespace AdvMemo {

using ClassLib::TColor;

CLASSLIB_IMPLEMENT(TAdvGutter, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TAdvActiveLineSettings, ClassLib::TPersistent)

// ---------------------------------------------------------------- gutter

TAdvGutter::TAdvGutter(TAdvCustomMemo* memo) : FMemo(memo), FFont(std::make_unique<ClassLib::TFont>()) {
    FFont->SetName(L"Courier New");
    HDC screen = ::GetDC(nullptr);
    const float scale = screen ? AdvStyleIF::GetTextDPIScale(screen, true) : 1.0f;
    if (screen) ::ReleaseDC(nullptr, screen);
    FFont->SetSize(int(std::lround(10.0f / (scale > 0 ? scale : 1.0f))));
    FFont->SetOnChange([this](ClassLib::TObject*) { Changed(); });
}

TAdvGutter::~TAdvGutter() = default;

const ClassLib::TPropertyList& TAdvGutter::Published() {
    using G = TAdvGutter;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"DigitCount", &G::DigitCount, &G::SetDigitCount, 4)
        .SubObject(L"Font", &G::Font)
        .Colour(L"BorderColor", &G::BorderColor, &G::SetBorderColor, TColor(0x808080))
        .Add(L"GutterWidth", &G::GutterWidth, &G::SetGutterWidth, 45)
        .Add(L"GutterMargin", &G::GutterMargin, &G::SetGutterMargin, 45)
        .Colour(L"GutterColor", &G::GutterColor, &G::SetGutterColor, ClassLib::clBtnFace)
        .Colour(L"GutterColorTo", &G::GutterColorTo, &G::SetGutterColorTo, ClassLib::clWhite)
        .Add(L"LineNumberAt", &G::LineNumberAt, &G::SetLineNumberAt, 1)
        .Add(L"LineNumberStart", &G::LineNumberStart, &G::SetLineNumberStart, 1)
        .Colour(L"LineNumberTextColor", &G::LineNumberTextColor, &G::SetLineNumberTextColor, ClassLib::clBlack)
        .Colour(L"ModifiedColorBkg", &G::ModifiedColorBkg, &G::SetModifiedColorBkg, TColor(0x00FF00))
        .Colour(L"ModifiedColor", &G::ModifiedColor, &G::SetModifiedColor, TColor(0x00FFFF))
        .Add(L"NumberSuffix", &G::NumberSuffix, &G::SetNumberSuffix)
        .Add(L"ShowLineNumbers", &G::ShowLineNumbers, &G::SetShowLineNumbers, true)
        .Add(L"ShowModified", &G::ShowModified, &G::SetShowModified, false)
        .Add(L"Visible", &G::Visible, &G::SetVisible, true)
        .Add(L"ShowLeadingZeros", &G::ShowLeadingZeros, &G::SetShowLeadingZeros, false);
    return list;
}

ClassLib::TPersistent* TAdvGutter::GetOwner() const { return FMemo; }

void TAdvGutter::Changed() {
    if (FMemo) FMemo->GutterChanged(false);
}

int TAdvGutter::GutterWidth() const { return FMemo ? FMemo->GutterWidth() : FGutterWidth; }

void TAdvGutter::SetGutterWidth(int value) {
    FGutterWidth = value;
    if (FMemo) {
        FMemo->SetGutterWidth(value);
        FMemo->GutterChanged(!FMemo->Loading());
    }
}

void TAdvGutter::SetGutterMargin(int value) {
    FGutterMargin = std::max(value, GutterWidth() / 2);
    if (FMemo && !FMemo->Loading()) FMemo->Invalidate();
}

bool TAdvGutter::Visible() const { return FMemo ? FMemo->GutterVisible() : true; }

void TAdvGutter::SetVisible(bool value) {
    if (!FMemo) return;
    FMemo->SetGutterVisible(value);
    FMemo->GutterChanged(true);
}

void TAdvGutter::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvGutter*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    SetDigitCount(other->DigitCount());
    SetFont(other->Font());
    SetBorderColor(other->BorderColor());
    SetGutterWidth(other->GutterWidth());
    SetGutterMargin(other->GutterMargin());
    SetGutterColor(other->GutterColor());
    SetGutterColorTo(other->GutterColorTo());
    SetLineNumberAt(other->LineNumberAt());
    SetLineNumberStart(other->LineNumberStart());
    SetLineNumberTextColor(other->LineNumberTextColor());
    SetModifiedColorBkg(other->ModifiedColorBkg());
    SetModifiedColor(other->ModifiedColor());
    SetNumberSuffix(other->NumberSuffix());
    SetShowLineNumbers(other->ShowLineNumbers());
    SetShowModified(other->ShowModified());
    SetVisible(other->Visible());
    SetShowLeadingZeros(other->ShowLeadingZeros());
}

std::wstring TAdvGutter::FormatLineNumber(int number, int charWidth, int& x) const {
    std::wstring text = std::to_wstring(number);
    if (FShowLeadingZeros && int(text.size()) < FDigitCount) text.insert(0, size_t(FDigitCount) - text.size(), L'0');
    const int digits = int(text.size());
    const int width = GutterWidth();
    const int x0 = width - FGutterMargin;
    switch (digits) {
    case 1: x = x0 + 3 * charWidth; break;
    case 2: x = x0 + 2 * charWidth; break;
    case 3: x = x0 + charWidth; break;
    default: x = x0; break;
    }
    if (x + charWidth * digits > width) x = width - charWidth * digits - 2;
    return text;
}

// ---------------------------------------------------------------- active line

const ClassLib::TPropertyList& TAdvActiveLineSettings::Published() {
    using A = TAdvActiveLineSettings;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"ShowActiveLine", &A::ShowActiveLine, &A::SetShowActiveLine, false)
        .Add(L"ShowActiveLineIndicator", &A::ShowActiveLineIndicator, &A::SetShowActiveLineIndicator, false)
        .Colour(L"ActiveLineColor", &A::ActiveLineColor, &A::SetActiveLineColor, TColor(0x800000))
        .Add(L"ActiveLineAtCursor", &A::ActiveLineAtCursor, &A::SetActiveLineAtCursor, false)
        .Colour(L"ActiveLineTextColor", &A::ActiveLineTextColor, &A::SetActiveLineTextColor, TColor(0x00FFFF));
    return list;
}

ClassLib::TPersistent* TAdvActiveLineSettings::GetOwner() const { return FMemo; }

void TAdvActiveLineSettings::Changed() {
    if (FMemo) FMemo->Invalidate();
}

bool TAdvActiveLineSettings::ActiveLineAtCursor() const { return FMemo && FMemo->ActiveLineAtCursor(); }

void TAdvActiveLineSettings::SetActiveLineAtCursor(bool value) {
    if (!FMemo) return;
    FMemo->SetActiveLineAtCursor(value);
    FMemo->SetActiveLine(value ? FMemo->CurY() : -1);
    FMemo->Invalidate();
}

void TAdvActiveLineSettings::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvActiveLineSettings*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    SetShowActiveLine(other->ShowActiveLine());
    SetShowActiveLineIndicator(other->ShowActiveLineIndicator());
    SetActiveLineColor(other->ActiveLineColor());
    SetActiveLineAtCursor(other->ActiveLineAtCursor());
    SetActiveLineTextColor(other->ActiveLineTextColor());
}

// ---------------------------------------------------------------- presets

bool MemoStylePreset(AdvStyleIF::TOVTStyle style, TMemoStylePreset& preset) {
    using namespace AdvStyleIF;
    const TColor face = ClassLib::clBtnFace, black = ClassLib::clBlack;
    struct TRow { TOVTStyle Style; TMemoStylePreset Preset; };
    static const TRow rows[] = {
        {tsOffice2003Blue, {0xFCE1CB, 0xE0A57D, 0x962D00, black}},
        {tsOffice2003Silver, {0xECE2E1, 0xB39698, 0x947C7C, black}},
        {tsOffice2003Olive, {0xCFF0EA, 0x8CC0B1, 0x588060, black}},
        {tsOffice2003Classic, {0xFFFFFF, 0xCCD4D8, 0x808080, black}},
        {tsOffice2007Luna, {0xFFEFE3, 0xFFD2AF, 0xFFD2AF, black}},
        {tsOffice2007Obsidian, {0xF2F1F0, 0xC9C2BD, 0x5C534C, black}},
        {tsWindowsXP, {face, face, 0x000000, black}},
        {tsWhidbey, {0xA8C0C0, 0xF5F9FA, 0x962D00, black}},
        {tsOffice2007Silver, {0xF8F7F6, 0xE8E0DB, 0x74706F, black}},
        {tsWindowsVista, {0xFDF8F1, 0xFCEFD5, 0xFDDE99, black}},
        {tsWindows7, {0xFCDBC1, 0xFCEBDC, 0xCEA27D, black}},
        {tsTerminal, {face, face, 0x808080, black}},
        {tsOffice2010Blue, {0xFDF6EF, 0xF0DAC7, 0xC7B29F, black}},
        {tsOffice2010Silver, {0xFFFFFF, 0xEDE5E0, 0xD2CDC8, black}},
        {tsOffice2010Black, {0xBFBFBF, 0x919191, 0x6D6D6D, black}},
        {tsWindows8, {0xF7F6F5, 0xF7F6F5, 0xE4E3E2, black}},
        {tsOffice2013White, {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, black}},
        {tsOffice2013LightGray, {0xF6F6F6, 0xF6F6F6, 0xC6C6C6, black}},
        {tsOffice2013Gray, {0xE5E5E5, 0xE5E5E5, 0xABABAB, black}},
        {tsWindows10, {0xF7F6F5, 0xF7F6F5, 0xE4E3E2, black}},
        {tsOffice2016White, {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, black}},
        {tsOffice2016Gray, {0xB2B2B2, 0xB2B2B2, 0x444444, 0xFFFFFF}},
        {tsOffice2016Black, {0x363636, 0x363636, 0x444444, 0xDADADA}},
        {tsOffice2019White, {0xFFFFFF, 0xFFFFFF, 0xA3A3A3, 0x3B3B3B}},
        {tsOffice2019Gray, {0xD4D4D4, 0xD4D4D4, 0x808080, 0x3B3B3B}},
        {tsOffice2019Black, {0x444444, 0x444444, 0x686868, 0xF0F0F0}},
    };
    for (const TRow& row : rows) {
        if (row.Style == style) {
            preset = row.Preset;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- memo side

void TAdvCustomMemo::GutterChanged(bool layout) {
    if (layout) UpdateLayout();
    if (layout) Invalidate();
    else InvalidateGutter();
}

void TAdvCustomMemo::SetStyle(AdvStyleIF::TOVTStyle style) {
    FUIStyle = style;
    TMemoStylePreset preset;
    if (!MemoStylePreset(style, preset)) return;
    FGutter->SetLineNumberColorQuiet(ClassLib::clBlack);
    FGutter->SetColorsQuiet(preset.GutterColor, preset.GutterColorTo);
    FBorderColor = preset.BorderColor;
    FGutter->SetLineNumberColorQuiet(preset.LineNumberColor);
    FGutter->SetBorderColorQuiet(FBorderColor);
    Invalidate();
}

void TAdvCustomMemo::SetColorTones(AdvStyleIF::TColorTones tones) {
    SetColor(tones.Background.BrushColor);
    Font()->SetColor(tones.Background.TextColor);
    FGutter->SetColorsQuiet(tones.Selected.BrushColor, tones.Selected.BrushColor);
    FGutter->SetBorderColorQuiet(tones.Selected.BrushColor);
    FGutter->SetLineNumberColorQuiet(tones.Selected.TextColor);
    Invalidate();
}

void TAdvCustomMemo::ApplyStyleColors(bool force) {
    if (AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), false)) {
        const AdvStyleIF::TStyleElementColors edit = AdvStyleIF::AppStyleServices().GridColors(AdvStyleIF::tgCellNormal);
        const AdvStyleIF::TStyleElementColors selected = AdvStyleIF::AppStyleServices().GridColors(AdvStyleIF::tgCellSelected);
        if (edit.Fill != ClassLib::clNone) FBkColor = edit.Fill;
        if (edit.Border != ClassLib::clNone) {
            FBorderColor = edit.Border;
            FGutter->SetBorderColorQuiet(edit.Border);
        }
        if (edit.Text != ClassLib::clNone) {
            Font()->SetColor(edit.Text);
            FGutter->SetLineNumberColorQuiet(edit.Text);
        }
        if (selected.Fill != ClassLib::clNone) FSelBkColor = selected.Fill;
        else if (force) FSelBkColor = ClassLib::clHighlight;
        if (selected.Text != ClassLib::clNone) FSelColor = selected.Text;
        else if (force) FSelColor = ClassLib::clHighlightText;
        if (edit.Fill != ClassLib::clNone) FGutter->SetColorsQuiet(edit.Fill, ClassLib::clNone);
        Invalidate();
        return;
    }
    if (!force) return;
    SetColor(ClassLib::clWindow);
    FBkColor = ClassLib::clWindow;
    FBorderColor = 0x808080;
    Font()->SetColor(ClassLib::clBlack);
    FSelBkColor = ClassLib::clHighlight;
    FSelColor = ClassLib::clHighlightText;
    FGutter->SetColorsQuiet(ClassLib::clBtnFace, ClassLib::clBtnFace);
    FGutter->Font()->SetColor(ClassLib::clWindowText);
    FGutter->SetLineNumberColorQuiet(ClassLib::clWindowText);
    FGutter->SetBorderColorQuiet(0x808080);
    Invalidate();
}

void TAdvCustomMemo::SetAutoThemeAdapt(bool v) {
    FAutoThemeAdapt = v;
    if (v) ThemeAdapt();
}

void TAdvCustomMemo::ThemeAdapt() {
    // 1 NormalColor, 2 HomeStead, 3 Metallic; 0 for any other scheme or no visual style.
    const int kind = AdvStyleIF::StyleEnvironment().XPThemeKind();
    if (kind == 1) FGutter->SetColorsQuiet(0xE0A57D, 0xFCE1CB);
    else if (kind == 2) FGutter->SetColorsQuiet(0x8CC0B1, 0xCFF0EA);
    else if (kind == 3) FGutter->SetColorsQuiet(0xB39698, 0xECE2E1);
    else FGutter->SetColorsQuiet(ClassLib::clWhite, ClassLib::clBtnFace);
}

}  // namespace AdvMemo
