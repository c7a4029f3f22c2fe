#pragma once
// The toolbar family's colour records: a toolbar button's per-state colours and caption
// font, a two-colour gradient, the gradient with a mirrored lower half, and a toolbar
// container's separator line. They hold values and report changes; painters read them.
#include <cstdint>
#include <memory>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Object.h"
#include "menus/AdvToolBarBase.h"

namespace ClassLib {
class TFont;
}

namespace AdvToolBar {

using ClassLib::TColor;

// The toolbar unit's order: horizontal first (the menu unit's runs the other way).
enum TGradientDirection : std::uint8_t { gdHorizontal, gdVertical };

}  // namespace AdvToolBar

template <> struct ClassLib::TEnumNames<AdvToolBar::TGradientDirection> {
    static constexpr const wchar_t* TypeName = L"TGradientDirection";
    static constexpr const wchar_t* Names[] = {L"gdHorizontal", L"gdVertical"};
};

namespace AdvToolBar {

// Every colour of a toolbar button's look once: name, start value, whether a change is
// told ("Told": a differing value raises OnChange; "Silent": stored without a word).
#define ADVTB_BUTTON_COLOURS(X)                                                                      \
    X(Color, ClassLib::clNone, Told) X(ColorTo, ClassLib::clNone, Told)                              \
    X(ColorChecked, 0xD8D5D4, Told) X(ColorCheckedTo, ClassLib::clNone, Told)                        \
    X(ColorDown, 0xB59285, Told) X(ColorDownTo, ClassLib::clNone, Told)                              \
    X(ColorHot, 0xD2BDB6, Told) X(ColorHotTo, ClassLib::clNone, Told)                                \
    X(CaptionTextColor, ClassLib::clBlack, Told) X(CaptionTextColorHot, ClassLib::clBlack, Told)     \
    X(CaptionTextColorDown, ClassLib::clBlack, Told) X(CaptionTextColorChecked, ClassLib::clBlack, Told) \
    X(BorderColor, ClassLib::clNone, Told) X(BorderDownColor, 0x6A240A, Silent)                      \
    X(BorderHotColor, 0x6A240A, Silent) X(BorderCheckedColor, 0x6A240A, Told)

#define ADVTB_BUTTON_DIRECTIONS(X)                                                                   \
    X(GradientDirection, gdVertical, Told) X(GradientDirectionHot, gdVertical, Silent)               \
    X(GradientDirectionDown, gdVertical, Silent) X(GradientDirectionChecked, gdVertical, Silent)

// A toolbar button's colours per state (normal, hot, down, checked) and caption font.
class TButtonAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TButtonAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TButtonAppearance();
    ~TButtonAppearance() override;
    // From another button appearance: the colours, the normal direction and the four
    // borders, straight and without a word; the font, SystemFont and the three state
    // directions stay. Any other source is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

#define ADVTB_COLOUR_ACCESSORS(Name, Initial, Kind) ADVTB_PROPERTY(TColor, Name, Kind)
#define ADVTB_DIRECTION_ACCESSORS(Name, Initial, Kind) ADVTB_PROPERTY(TGradientDirection, Name, Kind)
    ADVTB_BUTTON_COLOURS(ADVTB_COLOUR_ACCESSORS)
    ADVTB_BUTTON_DIRECTIONS(ADVTB_DIRECTION_ACCESSORS)
#undef ADVTB_COLOUR_ACCESSORS
#undef ADVTB_DIRECTION_ACCESSORS

    ClassLib::TFont* CaptionFont() const { return FCaptionFont.get(); }
    // Copies the font, then tells of it whether or not anything differed.
    void SetCaptionFont(const ClassLib::TFont* value);
    // Switched on, the caption font takes the system font rule again; tells nothing.
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);

    // OnChange is set by the owner: a toolbar button repaints, the styler leaves it unset.

private:
#define ADVTB_FIELD(Name, Initial, Kind) TColor F##Name = TColor(Initial);
    ADVTB_BUTTON_COLOURS(ADVTB_FIELD)
#undef ADVTB_FIELD
#define ADVTB_FIELD(Name, Initial, Kind) TGradientDirection F##Name = Initial;
    ADVTB_BUTTON_DIRECTIONS(ADVTB_FIELD)
#undef ADVTB_FIELD
    std::unique_ptr<ClassLib::TFont> FCaptionFont;
    bool FSystemFont = true;
};

// A gradient from Color to ColorTo in Direction, drawn in Steps bands. Every assignment
// raises OnChange, also of the value it already holds.
class TGradientBackground : public TNotifyingPersistent {
    CLASSLIB_CLASS(TGradientBackground, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TGradientBackground();
    // From another gradient background: the four values, straight and without a word;
    // any other source is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection value);
    int Steps() const { return FSteps; }
    void SetSteps(int value);

private:
    template <class T>
    void StoreAlways(T& field, T value) {
        field = value;
        Changed();
    }

    TColor FColor = ClassLib::clWhite;
    TColor FColorTo = ClassLib::clBtnFace;
    TGradientDirection FDirection = gdHorizontal;
    int FSteps = 64;
};

// The four colours of a two-part fill: Color to ColorTo above, ColorMirror to
// ColorMirrorTo below.
class TMirrorGradient : public TNotifyingPersistent {
    CLASSLIB_CLASS(TMirrorGradient, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TMirrorGradient() = default;
    // From another mirror gradient: the four colours without a word; anything else
    // raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, Color, Told)
    ADVTB_PROPERTY(TColor, ColorTo, Told)
    ADVTB_PROPERTY(TColor, ColorMirror, Told)
    ADVTB_PROPERTY(TColor, ColorMirrorTo, Told)

private:
    TColor FColor = ClassLib::clWhite;
    TColor FColorTo = ClassLib::clBtnFace;
    TColor FColorMirror = TColor(0xEDD9C8);
    TColor FColorMirrorTo = TColor(0xFFF4E3);
};

// A gradient with a mirrored lower half. A change of a mirror colour raises nothing here.
class TVistaGradientBackground : public TGradientBackground {
    CLASSLIB_CLASS(TVistaGradientBackground, TGradientBackground)
public:
    static const ClassLib::TPropertyList& Published();
    TVistaGradientBackground();
    ~TVistaGradientBackground() override;
    // The gradient's four values; from another one of this class also its mirror.
    void Assign(const ClassLib::TPersistent* source) override;

    TMirrorGradient* Mirror() const { return FMirror.get(); }
    void SetMirror(const TMirrorGradient* value) { FMirror->Assign(value); }

private:
    std::unique_ptr<TMirrorGradient> FMirror;
};

// The separator line of a toolbar container.
class TContainerAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TContainerAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TContainerAppearance() = default;
    // From another container appearance through the setters (each real change is told);
    // null is ignored, any other source raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, LineColor, Told)
    ADVTB_PROPERTY(bool, Line3D, Told)

private:
    TColor FLineColor = ClassLib::clBtnShadow;
    bool FLine3D = true;
};

}  // namespace AdvToolBar
