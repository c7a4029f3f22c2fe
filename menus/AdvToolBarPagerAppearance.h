#pragma once
// The ribbon's colour records: a page tab per state, a page, the caption bar, a tab
// group, a toolbar caption, a toolbar inside a tab group, the quick access toolbar and
// the colours that go with an application colour. The toolbar styler owns one of each,
// the pager its own copies; a setter that stores a differing value raises OnChange
// unless its record says otherwise.
#include <cstdint>
#include <memory>

#include "classlib/Colors.h"
#include "classlib/Events.h"
#include "classlib/Object.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "menus/AdvToolBarAppearance.h"

namespace ClassLib {
class TFont;
}

namespace AdvToolBar {

using AdvGlowButton::TGDIPGradient;

// Every colour of a page tab once: name, start value, whether a change is told ("Told")
// or only stored ("Silent"). All 32 are what ClearValues empties.
#define ADVTB_TAB_COLOURS(X)                                                                         \
    X(BorderColor, ClassLib::clBtnFace, Told) X(BorderColorHot, ClassLib::clBlue, Silent)            \
    X(BorderColorSelected, ClassLib::clBtnFace, Told) X(BorderColorSelectedHot, ClassLib::clNone, Told) \
    X(BorderColorDisabled, ClassLib::clNone, Told) X(BorderColorDown, ClassLib::clNone, Told)        \
    X(Color, ClassLib::clBtnFace, Told) X(ColorTo, ClassLib::clWhite, Told)                          \
    X(ColorSelected, ClassLib::clWhite, Told) X(ColorSelectedTo, ClassLib::clBtnFace, Told)          \
    X(ColorDisabled, ClassLib::clNone, Told) X(ColorDisabledTo, ClassLib::clNone, Told)              \
    X(ColorHot, ClassLib::clYellow, Told) X(ColorHotTo, ClassLib::clNone, Told)                      \
    X(ColorMirror, ClassLib::clWhite, Told) X(ColorMirrorTo, ClassLib::clWhite, Told)                \
    X(ColorMirrorHot, ClassLib::clNone, Told) X(ColorMirrorHotTo, ClassLib::clNone, Told)            \
    X(ColorMirrorSelected, ClassLib::clWhite, Told) X(ColorMirrorSelectedTo, ClassLib::clWhite, Told) \
    X(ColorMirrorDisabled, ClassLib::clNone, Told) X(ColorMirrorDisabledTo, ClassLib::clNone, Told)  \
    X(TextColor, ClassLib::clBlue, Told) X(TextColorHot, ClassLib::clBlue, Told)                     \
    X(TextColorSelected, ClassLib::clBlue, Told) X(TextColorDisabled, ClassLib::clWhite, Told)       \
    X(ShadowColor, 0xE8C7AE, Silent) X(HighLightColor, 0xFFFABF, Silent)                             \
    X(HighLightColorHot, 0xFDF4ED, Silent) X(HighLightColorSelected, 0x63CCF8, Silent)               \
    X(HighLightColorSelectedHot, 0xBDFFFF, Silent) X(HighLightColorDown, 0xFFFBD0, Silent)

#define ADVTB_TAB_GRADIENTS(X)                                                                       \
    X(Gradient) X(GradientMirror) X(GradientHot) X(GradientMirrorHot) X(GradientSelected)            \
    X(GradientMirrorSelected) X(GradientDisabled) X(GradientMirrorDisabled)

// A page tab's colours per state, each an upper gradient and a mirrored lower one.
class TCustomTabAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TCustomTabAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TCustomTabAppearance();
    ~TCustomTabAppearance() override;
    // From another tab appearance: every colour and gradient straight, but TextColor and
    // TextColorHot through their setters; the font keeping this one's height; then the
    // background. SystemFont stays. Any other source (null too) is ignored.
    void Assign(const ClassLib::TPersistent* source) override;
    // All 32 colours become clNone at once, without a word.
    void ClearValues();

#define ADVTB_COLOUR_ACCESSORS(Name, Initial, Kind) ADVTB_PROPERTY(TColor, Name, Kind)
#define ADVTB_GRADIENT_ACCESSORS(Name) ADVTB_PROPERTY(TGDIPGradient, Name, Told)
    ADVTB_TAB_COLOURS(ADVTB_COLOUR_ACCESSORS)
    ADVTB_TAB_GRADIENTS(ADVTB_GRADIENT_ACCESSORS)
#undef ADVTB_COLOUR_ACCESSORS
#undef ADVTB_GRADIENT_ACCESSORS

    // A change of the font object itself raises nothing here.
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);
    // Its changes are this appearance's changes.
    TGradientBackground* BackGround() const { return FBackGround.get(); }
    void SetBackGround(const TGradientBackground* value) { FBackGround->Assign(value); }

private:
#define ADVTB_FIELD(Name, Initial, Kind) TColor F##Name = TColor(Initial);
    ADVTB_TAB_COLOURS(ADVTB_FIELD)
#undef ADVTB_FIELD
#define ADVTB_FIELD(Name) TGDIPGradient F##Name = AdvGlowButton::ggVertical;
    ADVTB_TAB_GRADIENTS(ADVTB_FIELD)
#undef ADVTB_FIELD
    std::unique_ptr<ClassLib::TFont> FFont;
    bool FSystemFont = true;
    std::unique_ptr<TGradientBackground> FBackGround;
};

// The tab appearance of a styler or pager: publishes its background as well.
class TTabAppearance : public TCustomTabAppearance {
    CLASSLIB_CLASS(TTabAppearance, TCustomTabAppearance)
public:
    static const ClassLib::TPropertyList& Published();
};

// A two-part vertical gradient with a border.
class TVistaBackground : public TNotifyingPersistent {
    CLASSLIB_CLASS(TVistaBackground, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TVistaBackground() = default;
    // From another one of this family: the colours and Steps straight, the gradients
    // through their setters. Null is ignored; another class raises the class library's
    // assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, BorderColor, Told)
    ADVTB_PROPERTY(TColor, Color, Told)
    ADVTB_PROPERTY(TColor, ColorTo, Told)
    ADVTB_PROPERTY(TColor, ColorMirror, Told)
    ADVTB_PROPERTY(TColor, ColorMirrorTo, Told)
    ADVTB_PROPERTY(TGDIPGradient, Gradient, Told)
    ADVTB_PROPERTY(TGDIPGradient, GradientMirror, Told)
    ADVTB_PROPERTY(int, Steps, Told)

protected:
    // Published by the page background only; stored without a word.
    TColor FShadowColor = TColor(0xC4AA96);
    TColor FHighLightColor = TColor(0xFDF9CE);

private:
    int FSteps = 64;
    TColor FColor = ClassLib::clWhite;
    TColor FColorTo = ClassLib::clWhite;
    TColor FColorMirror = ClassLib::clSilver;
    TColor FColorMirrorTo = ClassLib::clWhite;
    TColor FBorderColor = ClassLib::clGray;
    TGDIPGradient FGradientMirror = AdvGlowButton::ggVertical;
    TGDIPGradient FGradient = AdvGlowButton::ggVertical;
};

// A page's background with its shadow and highlight.
class TVistaPageBackground : public TVistaBackground {
    CLASSLIB_CLASS(TVistaPageBackground, TVistaBackground)
public:
    static const ClassLib::TPropertyList& Published();
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value) { FShadowColor = value; }
    TColor HighLightColor() const { return FHighLightColor; }
    void SetHighLightColor(TColor value) { FHighLightColor = value; }
};

// The caption bar's background with its text colours and font.
class TVistaTextBackground : public TVistaBackground {
    CLASSLIB_CLASS(TVistaTextBackground, TVistaBackground)
public:
    static const ClassLib::TPropertyList& Published();
    TVistaTextBackground();
    ~TVistaTextBackground() override;
    // The background's values; from another caption background also both text colours
    // (through the setters) and the whole font.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, TextColor, Told)
    ADVTB_PROPERTY(TColor, TextColorExtended, Told)
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);

private:
    TColor FTextColor = ClassLib::clBlue;
    TColor FTextColorExtended = ClassLib::clGray;
    std::unique_ptr<ClassLib::TFont> FFont;
    bool FSystemFont = true;
};

// A toolbar caption's colours, normal and hot.
class TCaptionAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TCaptionAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TCaptionAppearance() = default;
    // From another caption appearance: six colours straight, CaptionColorHotTo and
    // CaptionTextColorHot through their setters. Null is ignored; another class raises
    // the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, CaptionColor, Told)
    ADVTB_PROPERTY(TColor, CaptionColorTo, Told)
    ADVTB_PROPERTY(TColor, CaptionTextColor, Told)
    ADVTB_PROPERTY(TColor, CaptionBorderColor, Told)
    ADVTB_PROPERTY(TColor, CaptionColorHot, Told)
    ADVTB_PROPERTY(TColor, CaptionColorHotTo, Told)
    ADVTB_PROPERTY(TColor, CaptionTextColorHot, Told)
    ADVTB_PROPERTY(TColor, CaptionBorderColorHot, Told)

private:
    TColor FCaptionColor = ClassLib::clGray;
    TColor FCaptionColorTo = ClassLib::clNone;
    TColor FCaptionTextColor = ClassLib::clWhite;
    TColor FCaptionBorderColor = ClassLib::clNone;
    TColor FCaptionColorHot = ClassLib::clNone;
    TColor FCaptionColorHotTo = ClassLib::clNone;
    TColor FCaptionTextColorHot = ClassLib::clWhite;
    TColor FCaptionBorderColorHot = ClassLib::clNone;
};

// A toolbar that sits on a page under a tab group. Its two gradients are not bound:
// their changes raise nothing here.
class TToolBarAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TToolBarAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TToolBarAppearance();
    ~TToolBarAppearance() override;
    // From another toolbar appearance: both gradients by their Assign, then the borders
    // straight. Anything else, null too, raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, BorderColor, Told)
    ADVTB_PROPERTY(TColor, BorderColorHot, Told)
    TGradientBackground* Color() const { return FColor.get(); }
    void SetColor(const TGradientBackground* value) { FColor->Assign(value); }
    TGradientBackground* ColorHot() const { return FColorHot.get(); }
    void SetColorHot(const TGradientBackground* value) { FColorHot->Assign(value); }

private:
    TColor FBorderColor = ClassLib::clNone;
    TColor FBorderColorHot = ClassLib::clNone;
    std::unique_ptr<TGradientBackground> FColor;
    std::unique_ptr<TGradientBackground> FColorHot;
};

// A contextual tab group's own band and the looks of the pages it spans. A change
// anywhere inside is reported as a change of the group appearance.
class TGroupAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TGroupAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TGroupAppearance();
    ~TGroupAppearance() override;
    // From another group appearance; null is ignored, another class raises the class
    // library's assignment error. SystemFont stays.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, Background, Told)
    ADVTB_PROPERTY(TColor, BorderColor, Told)
    ADVTB_PROPERTY(TColor, Color, Told)
    ADVTB_PROPERTY(TColor, ColorTo, Told)
    ADVTB_PROPERTY(TColor, ColorMirror, Told)
    ADVTB_PROPERTY(TColor, ColorMirrorTo, Told)
    ADVTB_PROPERTY(TColor, TextColor, Told)
    ADVTB_PROPERTY(TGDIPGradient, Gradient, Told)
    ADVTB_PROPERTY(TGDIPGradient, GradientMirror, Told)
    // Not published: Assign copies it.
    ADVTB_PROPERTY(int, Steps, Silent)
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);
    TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
    void SetCaptionAppearance(const TCaptionAppearance* value) { FCaptionAppearance->Assign(value); }
    TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
    void SetPageAppearance(const TVistaPageBackground* value) { FPageAppearance->Assign(value); }
    TToolBarAppearance* ToolBarAppearance() const { return FToolBarAppearance.get(); }
    void SetToolBarAppearance(const TToolBarAppearance* value) { FToolBarAppearance->Assign(value); }
    TCustomTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
    void SetTabAppearance(const TCustomTabAppearance* value) { FTabAppearance->Assign(value); }

private:
    std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
    std::unique_ptr<TVistaPageBackground> FPageAppearance;
    std::unique_ptr<TToolBarAppearance> FToolBarAppearance;
    std::unique_ptr<TCustomTabAppearance> FTabAppearance;
    std::unique_ptr<ClassLib::TFont> FFont;
    TColor FBackground = ClassLib::clInfoBk;
    TColor FBorderColor = TColor(0xA3B8AC);
    TColor FColor = ClassLib::clWhite;
    TColor FColorTo = ClassLib::clWhite;
    TColor FColorMirror = ClassLib::clSilver;
    TColor FColorMirrorTo = ClassLib::clWhite;
    TColor FTextColor = ClassLib::clBlue;
    TGDIPGradient FGradient = AdvGlowButton::ggVertical;
    TGDIPGradient FGradientMirror = AdvGlowButton::ggVertical;
    int FSteps = 64;
    bool FSystemFont = true;
};

// The quick access toolbar's colours; the FullSize set when it is shown below the ribbon.
class TQATAppearance : public TNotifyingPersistent {
    CLASSLIB_CLASS(TQATAppearance, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TQATAppearance() = default;
    // From another one: five colours straight, FullSizeColorTo through its setter; Steps
    // stays. Null is ignored; another class raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, BorderColor, Told)
    ADVTB_PROPERTY(TColor, Color, Told)
    ADVTB_PROPERTY(TColor, ColorTo, Told)
    ADVTB_PROPERTY(TColor, FullSizeBorderColor, Told)
    ADVTB_PROPERTY(TColor, FullSizeColor, Told)
    ADVTB_PROPERTY(TColor, FullSizeColorTo, Told)
    ADVTB_PROPERTY(int, Steps, Told)

private:
    TColor FBorderColor = ClassLib::clGray;
    TColor FColor = ClassLib::clWhite;
    TColor FColorTo = ClassLib::clSilver;
    TColor FFullSizeBorderColor = TColor(0xC59F81);
    TColor FFullSizeColor = TColor(0xE3B28D);
    TColor FFullSizeColorTo = TColor(0xE3B28D);
    int FSteps = 64;
};

#define ADVTB_APP_COLOURS(X)                                                                         \
    X(AppButtonColor, 0xE29E00) X(AppButtonHoverColor, 0xFFAC3C) X(TextColor, ClassLib::clWhite)    \
    X(HoverColor, 0xF7E6CD) X(HoverTextColor, ClassLib::clBlack) X(HoverBorderColor, 0xE7BE7A)       \
    X(SelectedColor, 0xE7BE7A) X(SelectedTextColor, ClassLib::clBlack) X(SelectedBorderColor, 0xE7BE7A)

// The colours that go with an application colour: the application button, and a hover
// and a selected tone that office tones lend to the pager.
class TAppColor : public TNotifyingPersistent {
    CLASSLIB_CLASS(TAppColor, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TAppColor() = default;
    // From another application colour: all nine straight, without Changed; any other
    // source is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

#define ADVTB_APP_ACCESSORS(Name, Initial) ADVTB_PROPERTY(TColor, Name, Told)
    ADVTB_APP_COLOURS(ADVTB_APP_ACCESSORS)
#undef ADVTB_APP_ACCESSORS

private:
#define ADVTB_FIELD(Name, Initial) TColor F##Name = TColor(Initial);
    ADVTB_APP_COLOURS(ADVTB_FIELD)
#undef ADVTB_FIELD
};

}  // namespace AdvToolBar
