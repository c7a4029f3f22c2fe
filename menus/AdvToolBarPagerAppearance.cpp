#include "menus/AdvToolBarPagerAppearance.h"

#include "classlib/GdiObjects.h"
#include "classlib/Properties.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarBase.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::ggVertical;

CLASSLIB_IMPLEMENT(TCustomTabAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TTabAppearance, TCustomTabAppearance)
CLASSLIB_IMPLEMENT(TVistaBackground, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TVistaPageBackground, TVistaBackground)
CLASSLIB_IMPLEMENT(TVistaTextBackground, TVistaBackground)
CLASSLIB_IMPLEMENT(TCaptionAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TToolBarAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TGroupAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TQATAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TAppColor, TNotifyingPersistent)

namespace {

// The records' fonts: the system font rule picks the face, then the height is -11 and the
// style plain whatever the rule chose.
std::unique_ptr<TFont> RecordFont() {
    auto font = std::make_unique<TFont>();
    ApplySystemFont(font.get(), AdvStyleIF::IsVistaOrLater());
    font->SetHeight(-11);
    font->SetStyle(TFontStyles{});
    return font;
}

// Switching SystemFont on applies the rule again; it never raises OnChange.
void StoreSystemFont(bool& field, bool value, TFont* font) {
    if (value == field) return;
    field = value;
    if (value) ApplySystemFont(font, AdvStyleIF::IsVistaOrLater());
}

// A colour the record starts with but declares no default for: always written.
template <class Get, class Set>
void AddStartColour(TPropertyList& list, const wchar_t* name, Get get, Set set, int32_t start) {
    list.Colour(name, get, set, start).Stored(name, true);
}
template <class Get, class Set>
void AddStartGradient(TPropertyList& list, const wchar_t* name, Get get, Set set) {
    list.Enum(name, get, set, ggVertical).Stored(name, true);
}

}  // namespace

// ---------------------------------------------------------------- TCustomTabAppearance

const TPropertyList& TCustomTabAppearance::Published() {
    using T = TCustomTabAppearance;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
#define ADVTB_PUBLISH(Name, Initial, Kind) AddStartColour(l, L## #Name, &T::Name, &T::Set##Name, int32_t(Initial));
        ADVTB_TAB_COLOURS(ADVTB_PUBLISH)
#undef ADVTB_PUBLISH
#define ADVTB_PUBLISH(Name) AddStartGradient(l, L## #Name, &T::Name, &T::Set##Name);
        ADVTB_TAB_GRADIENTS(ADVTB_PUBLISH)
#undef ADVTB_PUBLISH
        l.SubObject(L"Font", &T::Font).Add(L"SystemFont", &T::SystemFont, &T::SetSystemFont, true);
        return l;
    }();
    return list;
}

TCustomTabAppearance::TCustomTabAppearance()
    : FFont(RecordFont()), FBackGround(std::make_unique<TGradientBackground>()) {
    FBackGround->OnChange = [this](TObject*) { Changed(); };
}

TCustomTabAppearance::~TCustomTabAppearance() = default;

void TCustomTabAppearance::SetFont(const TFont* value) { FFont->Assign(value); }

void TCustomTabAppearance::SetSystemFont(bool value) { StoreSystemFont(FSystemFont, value, FFont.get()); }

void TCustomTabAppearance::ClearValues() {
#define ADVTB_CLEAR(Name, Initial, Kind) F##Name = clNone;
    ADVTB_TAB_COLOURS(ADVTB_CLEAR)
#undef ADVTB_CLEAR
}

void TCustomTabAppearance::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TCustomTabAppearance*>(source);
    if (!from) return;
    const TColor textColor = from->FTextColor, textColorHot = from->FTextColorHot;
    const TColor ownTextColor = FTextColor, ownTextColorHot = FTextColorHot;
#define ADVTB_COPY(Name, ...) F##Name = from->F##Name;
    ADVTB_TAB_COLOURS(ADVTB_COPY)
    ADVTB_TAB_GRADIENTS(ADVTB_COPY)
#undef ADVTB_COPY
    // The two text colours go through their setters, so they were not copied above.
    FTextColor = ownTextColor;
    FTextColorHot = ownTextColorHot;
    const int height = FFont->Height();
    FFont->Assign(from->FFont.get());
    FFont->SetHeight(height);
    SetTextColor(textColor);
    SetTextColorHot(textColorHot);
    FBackGround->Assign(from->FBackGround.get());
}

const TPropertyList& TTabAppearance::Published() {
    using T = TTabAppearance;
    static const TPropertyList list =
        TPropertyList::Extend(TCustomTabAppearance::Published()).SubObject(L"BackGround", &T::BackGround);
    return list;
}

// ---------------------------------------------------------------- TVistaBackground

const TPropertyList& TVistaBackground::Published() {
    using V = TVistaBackground;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
        AddStartColour(l, L"BorderColor", &V::BorderColor, &V::SetBorderColor, clGray);
        AddStartColour(l, L"Color", &V::Color, &V::SetColor, clWhite);
        AddStartColour(l, L"ColorTo", &V::ColorTo, &V::SetColorTo, clWhite);
        AddStartColour(l, L"ColorMirror", &V::ColorMirror, &V::SetColorMirror, clSilver);
        AddStartColour(l, L"ColorMirrorTo", &V::ColorMirrorTo, &V::SetColorMirrorTo, clWhite);
        AddStartGradient(l, L"Gradient", &V::Gradient, &V::SetGradient);
        AddStartGradient(l, L"GradientMirror", &V::GradientMirror, &V::SetGradientMirror);
        l.Add(L"Steps", &V::Steps, &V::SetSteps, 64).Event(L"OnChange", &V::OnChange);
        return l;
    }();
    return list;
}

void TVistaBackground::Assign(const TPersistent* source) {
    const auto* from = SameClassSource<TVistaBackground>(*this, source);
    if (!from) return;
    FSteps = from->FSteps;
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FColorMirror = from->FColorMirror;
    FColorMirrorTo = from->FColorMirrorTo;
    FBorderColor = from->FBorderColor;
    FShadowColor = from->FShadowColor;
    FHighLightColor = from->FHighLightColor;
    SetGradient(from->FGradient);
    SetGradientMirror(from->FGradientMirror);
}

const TPropertyList& TVistaPageBackground::Published() {
    using P = TVistaPageBackground;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TVistaBackground::Published());
        AddStartColour(l, L"ShadowColor", &P::ShadowColor, &P::SetShadowColor, 0xC4AA96);
        AddStartColour(l, L"HighLightColor", &P::HighLightColor, &P::SetHighLightColor, 0xFDF9CE);
        return l;
    }();
    return list;
}

// ---------------------------------------------------------------- TVistaTextBackground

const TPropertyList& TVistaTextBackground::Published() {
    using T = TVistaTextBackground;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TVistaBackground::Published());
        AddStartColour(l, L"TextColor", &T::TextColor, &T::SetTextColor, clBlue);
        AddStartColour(l, L"TextColorExtended", &T::TextColorExtended, &T::SetTextColorExtended, clGray);
        l.SubObject(L"Font", &T::Font).Add(L"SystemFont", &T::SystemFont, &T::SetSystemFont, true);
        return l;
    }();
    return list;
}

TVistaTextBackground::TVistaTextBackground() : FFont(RecordFont()) {}

TVistaTextBackground::~TVistaTextBackground() = default;

void TVistaTextBackground::SetFont(const TFont* value) { FFont->Assign(value); }

void TVistaTextBackground::SetSystemFont(bool value) { StoreSystemFont(FSystemFont, value, FFont.get()); }

void TVistaTextBackground::Assign(const TPersistent* source) {
    TVistaBackground::Assign(source);
    const auto* from = dynamic_cast<const TVistaTextBackground*>(source);
    if (!from) return;
    SetTextColor(from->FTextColor);
    SetTextColorExtended(from->FTextColorExtended);
    FFont->Assign(from->FFont.get());
}

// ---------------------------------------------------------------- TCaptionAppearance

const TPropertyList& TCaptionAppearance::Published() {
    using C = TCaptionAppearance;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
        AddStartColour(l, L"CaptionColor", &C::CaptionColor, &C::SetCaptionColor, clGray);
        l.Colour(L"CaptionColorTo", &C::CaptionColorTo, &C::SetCaptionColorTo, clNone)
            .Colour(L"CaptionTextColor", &C::CaptionTextColor, &C::SetCaptionTextColor, clWhite)
            .Colour(L"CaptionBorderColor", &C::CaptionBorderColor, &C::SetCaptionBorderColor, clNone)
            .Colour(L"CaptionColorHot", &C::CaptionColorHot, &C::SetCaptionColorHot, clNone)
            .Colour(L"CaptionColorHotTo", &C::CaptionColorHotTo, &C::SetCaptionColorHotTo, clNone)
            .Colour(L"CaptionTextColorHot", &C::CaptionTextColorHot, &C::SetCaptionTextColorHot, clWhite)
            .Colour(L"CaptionBorderColorHot", &C::CaptionBorderColorHot, &C::SetCaptionBorderColorHot, clNone);
        return l;
    }();
    return list;
}

void TCaptionAppearance::Assign(const TPersistent* source) {
    const auto* from = SameClassSource<TCaptionAppearance>(*this, source);
    if (!from) return;
    FCaptionColor = from->FCaptionColor;
    FCaptionColorTo = from->FCaptionColorTo;
    FCaptionTextColor = from->FCaptionTextColor;
    FCaptionBorderColor = from->FCaptionBorderColor;
    FCaptionBorderColorHot = from->FCaptionBorderColorHot;
    FCaptionColorHot = from->FCaptionColorHot;
    SetCaptionColorHotTo(from->FCaptionColorHotTo);
    SetCaptionTextColorHot(from->FCaptionTextColorHot);
}

// ---------------------------------------------------------------- TToolBarAppearance

const TPropertyList& TToolBarAppearance::Published() {
    using T = TToolBarAppearance;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"BorderColor", &T::BorderColor, &T::SetBorderColor, clNone)
        .Colour(L"BorderColorHot", &T::BorderColorHot, &T::SetBorderColorHot, clNone)
        .SubObject(L"Color", &T::Color)
        .SubObject(L"ColorHot", &T::ColorHot);
    return list;
}

TToolBarAppearance::TToolBarAppearance()
    : FColor(std::make_unique<TGradientBackground>()), FColorHot(std::make_unique<TGradientBackground>()) {
    FColorHot->SetColor(clNone);
    FColorHot->SetColorTo(clNone);
}

TToolBarAppearance::~TToolBarAppearance() = default;

void TToolBarAppearance::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TToolBarAppearance*>(source);
    if (!from) {
        TPersistent::Assign(source);
        return;
    }
    FColor->Assign(from->FColor.get());
    FColorHot->Assign(from->FColorHot.get());
    FBorderColor = from->FBorderColor;
    FBorderColorHot = from->FBorderColorHot;
}

// ---------------------------------------------------------------- TGroupAppearance

const TPropertyList& TGroupAppearance::Published() {
    using G = TGroupAppearance;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
        AddStartColour(l, L"Background", &G::Background, &G::SetBackground, clInfoBk);
        AddStartColour(l, L"BorderColor", &G::BorderColor, &G::SetBorderColor, 0xA3B8AC);
        AddStartColour(l, L"Color", &G::Color, &G::SetColor, clWhite);
        AddStartColour(l, L"ColorTo", &G::ColorTo, &G::SetColorTo, clWhite);
        AddStartColour(l, L"ColorMirror", &G::ColorMirror, &G::SetColorMirror, clSilver);
        AddStartColour(l, L"ColorMirrorTo", &G::ColorMirrorTo, &G::SetColorMirrorTo, clWhite);
        l.SubObject(L"Font", &G::Font);
        AddStartGradient(l, L"Gradient", &G::Gradient, &G::SetGradient);
        AddStartGradient(l, L"GradientMirror", &G::GradientMirror, &G::SetGradientMirror);
        AddStartColour(l, L"TextColor", &G::TextColor, &G::SetTextColor, clBlue);
        l.SubObject(L"CaptionAppearance", &G::CaptionAppearance)
            .SubObject(L"PageAppearance", &G::PageAppearance)
            .Add(L"SystemFont", &G::SystemFont, &G::SetSystemFont, true)
            .SubObject(L"TabAppearance", &G::TabAppearance)
            .SubObject(L"ToolBarAppearance", &G::ToolBarAppearance);
        return l;
    }();
    return list;
}

TGroupAppearance::TGroupAppearance()
    : FCaptionAppearance(std::make_unique<TCaptionAppearance>()),
      FPageAppearance(std::make_unique<TVistaPageBackground>()),
      FToolBarAppearance(std::make_unique<TToolBarAppearance>()),
      FTabAppearance(std::make_unique<TCustomTabAppearance>()),
      FFont(RecordFont()) {
    const TNotifyEvent inner = [this](TObject*) { Changed(); };
    FCaptionAppearance->OnChange = inner;
    FPageAppearance->OnChange = inner;
    FToolBarAppearance->OnChange = inner;
    FTabAppearance->OnChange = inner;
}

TGroupAppearance::~TGroupAppearance() = default;

void TGroupAppearance::SetFont(const TFont* value) { FFont->Assign(value); }

void TGroupAppearance::SetSystemFont(bool value) { StoreSystemFont(FSystemFont, value, FFont.get()); }

void TGroupAppearance::Assign(const TPersistent* source) {
    const auto* from = SameClassSource<TGroupAppearance>(*this, source);
    if (!from) return;
    FBackground = from->FBackground;
    FCaptionAppearance->Assign(from->FCaptionAppearance.get());
    FPageAppearance->Assign(from->FPageAppearance.get());
    FTabAppearance->Assign(from->FTabAppearance.get());
    FToolBarAppearance->Assign(from->FToolBarAppearance.get());
    FSteps = from->FSteps;
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FColorMirror = from->FColorMirror;
    FColorMirrorTo = from->FColorMirrorTo;
    FBorderColor = from->FBorderColor;
    FTextColor = from->FTextColor;
    FFont->Assign(from->FFont.get());
    SetGradient(from->FGradient);
    SetGradientMirror(from->FGradientMirror);
}

// ---------------------------------------------------------------- TQATAppearance

const TPropertyList& TQATAppearance::Published() {
    using Q = TQATAppearance;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
        AddStartColour(l, L"BorderColor", &Q::BorderColor, &Q::SetBorderColor, clGray);
        AddStartColour(l, L"Color", &Q::Color, &Q::SetColor, clWhite);
        AddStartColour(l, L"ColorTo", &Q::ColorTo, &Q::SetColorTo, clSilver);
        AddStartColour(l, L"FullSizeBorderColor", &Q::FullSizeBorderColor, &Q::SetFullSizeBorderColor, 0xC59F81);
        AddStartColour(l, L"FullSizeColor", &Q::FullSizeColor, &Q::SetFullSizeColor, 0xE3B28D);
        AddStartColour(l, L"FullSizeColorTo", &Q::FullSizeColorTo, &Q::SetFullSizeColorTo, 0xE3B28D);
        l.Add(L"Steps", &Q::Steps, &Q::SetSteps, 64);
        return l;
    }();
    return list;
}

void TQATAppearance::Assign(const TPersistent* source) {
    const auto* from = SameClassSource<TQATAppearance>(*this, source);
    if (!from) return;
    FBorderColor = from->FBorderColor;
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FFullSizeBorderColor = from->FFullSizeBorderColor;
    FFullSizeColor = from->FFullSizeColor;
    SetFullSizeColorTo(from->FFullSizeColorTo);
}

// ---------------------------------------------------------------- TAppColor

const TPropertyList& TAppColor::Published() {
    using A = TAppColor;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TPersistent::Published());
#define ADVTB_PUBLISH(Name, Initial) AddStartColour(l, L## #Name, &A::Name, &A::Set##Name, int32_t(Initial));
        ADVTB_APP_COLOURS(ADVTB_PUBLISH)
#undef ADVTB_PUBLISH
        l.Event(L"OnChange", &A::OnChange);
        return l;
    }();
    return list;
}

void TAppColor::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TAppColor*>(source);
    if (!from) return;
#define ADVTB_COPY(Name, Initial) F##Name = from->F##Name;
    ADVTB_APP_COLOURS(ADVTB_COPY)
#undef ADVTB_COPY
}

}  // namespace AdvToolBar
