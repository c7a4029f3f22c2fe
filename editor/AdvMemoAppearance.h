#pragma once
// The memo's look: the gutter's settings, the active line's colours and the style presets.
#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "classlib/Object.h"
#include "classlib/Properties.h"
#include "graphics/AdvStyleIF.h"

#include <memory>
#include <string>

namespace AdvMemo {

class TAdvCustomMemo;

class TAdvGutter : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvGutter, ClassLib::TPersistent)
public:
    explicit TAdvGutter(TAdvCustomMemo* memo = nullptr);
    ~TAdvGutter() override;
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    int DigitCount() const { return FDigitCount; }
    void SetDigitCount(int value) { FDigitCount = value; Changed(); }
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value) { FFont->Assign(value); }
    ClassLib::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(ClassLib::TColor value) { FBorderColor = value; Changed(); }
    int GutterWidth() const;
    void SetGutterWidth(int value);
    int GutterMargin() const { return FGutterMargin; }
    void SetGutterMargin(int value);
    ClassLib::TColor GutterColor() const { return FGutterColor; }
    void SetGutterColor(ClassLib::TColor value) { if (value != FGutterColor) { FGutterColor = value; Changed(); } }
    ClassLib::TColor GutterColorTo() const { return FGutterColorTo; }
    void SetGutterColorTo(ClassLib::TColor value) { FGutterColorTo = value; Changed(); }
    int LineNumberAt() const { return FLineNumberAt; }
    void SetLineNumberAt(int value) { if (value > 0 && value != FLineNumberAt) { FLineNumberAt = value; Changed(); } }
    int LineNumberStart() const { return FLineNumberStart; }
    void SetLineNumberStart(int value) { if (value >= 0 && value != FLineNumberStart) { FLineNumberStart = value; Changed(); } }
    ClassLib::TColor LineNumberTextColor() const { return FLineNumberTextColor; }
    void SetLineNumberTextColor(ClassLib::TColor value) { if (value != FLineNumberTextColor) { FLineNumberTextColor = value; Changed(); } }
    ClassLib::TColor ModifiedColorBkg() const { return FModifiedColorBkg; }
    void SetModifiedColorBkg(ClassLib::TColor value) { FModifiedColorBkg = value; Changed(); }
    ClassLib::TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(ClassLib::TColor value) { FModifiedColor = value; Changed(); }
    const std::wstring& NumberSuffix() const { return FNumberSuffix; }
    void SetNumberSuffix(const std::wstring& value) { FNumberSuffix = value; Changed(); }
    bool ShowLineNumbers() const { return FShowLineNumbers; }
    void SetShowLineNumbers(bool value) { FShowLineNumbers = value; Changed(); }
    bool ShowModified() const { return FShowModified; }
    void SetShowModified(bool value) { FShowModified = value; Changed(); }
    bool Visible() const;
    void SetVisible(bool value);
    bool ShowLeadingZeros() const { return FShowLeadingZeros; }
    void SetShowLeadingZeros(bool value) { FShowLeadingZeros = value; Changed(); }

    // Presets store their colours quietly; one repaint follows.
    void SetColorsQuiet(ClassLib::TColor from, ClassLib::TColor to) { FGutterColor = from; FGutterColorTo = to; }
    void SetLineNumberColorQuiet(ClassLib::TColor value) { FLineNumberTextColor = value; }
    void SetBorderColorQuiet(ClassLib::TColor value) { FBorderColor = value; }

    // The number's text and where it starts, given the width of "W" in the gutter font.
    std::wstring FormatLineNumber(int number, int charWidth, int& x) const;

protected:
    ClassLib::TPersistent* GetOwner() const override;

private:
    void Changed();
    TAdvCustomMemo* FMemo;
    int FDigitCount = 4;
    std::unique_ptr<ClassLib::TFont> FFont;
    ClassLib::TColor FBorderColor = 0x808080;
    int FGutterWidth = 45;
    int FGutterMargin = 45;
    ClassLib::TColor FGutterColor = ClassLib::clBtnFace;
    ClassLib::TColor FGutterColorTo = ClassLib::clWhite;
    int FLineNumberAt = 1;
    int FLineNumberStart = 1;
    ClassLib::TColor FLineNumberTextColor = ClassLib::clBlack;
    ClassLib::TColor FModifiedColorBkg = 0x00FF00;
    ClassLib::TColor FModifiedColor = 0x00FFFF;
    std::wstring FNumberSuffix;
    bool FShowLineNumbers = true;
    bool FShowModified = false;
    bool FShowLeadingZeros = false;
};

class TAdvActiveLineSettings : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvActiveLineSettings, ClassLib::TPersistent)
public:
    explicit TAdvActiveLineSettings(TAdvCustomMemo* memo = nullptr) : FMemo(memo) {}
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    bool ShowActiveLine() const { return FShowActiveLine; }
    void SetShowActiveLine(bool value) { FShowActiveLine = value; Changed(); }
    bool ShowActiveLineIndicator() const { return FShowActiveLineIndicator; }
    void SetShowActiveLineIndicator(bool value) { if (value != FShowActiveLineIndicator) { FShowActiveLineIndicator = value; Changed(); } }
    ClassLib::TColor ActiveLineColor() const { return FActiveLineColor; }
    void SetActiveLineColor(ClassLib::TColor value) { if (value != FActiveLineColor) { FActiveLineColor = value; Changed(); } }
    bool ActiveLineAtCursor() const;
    void SetActiveLineAtCursor(bool value);
    ClassLib::TColor ActiveLineTextColor() const { return FActiveLineTextColor; }
    void SetActiveLineTextColor(ClassLib::TColor value) { if (value != FActiveLineTextColor) { FActiveLineTextColor = value; Changed(); } }

protected:
    ClassLib::TPersistent* GetOwner() const override;

private:
    void Changed();
    TAdvCustomMemo* FMemo;
    bool FShowActiveLine = false;
    bool FShowActiveLineIndicator = false;
    ClassLib::TColor FActiveLineColor = 0x800000;
    ClassLib::TColor FActiveLineTextColor = 0x00FFFF;
};

// One row of the preset table: gutter colours, border and (for a few) the line-number colour.
struct TMemoStylePreset {
    ClassLib::TColor GutterColor;
    ClassLib::TColor GutterColorTo;
    ClassLib::TColor BorderColor;
    ClassLib::TColor LineNumberColor;
};
// The preset of a style; false for tsCustom (and styles without a row), which change nothing.
bool MemoStylePreset(AdvStyleIF::TOVTStyle style, TMemoStylePreset& preset);

}  // namespace AdvMemo
