#include "menus/AdvToolBarAppearance.h"

#include "classlib/GdiObjects.h"
#include "classlib/Properties.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarBase.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TButtonAppearance, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TGradientBackground, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TMirrorGradient, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TVistaGradientBackground, TGradientBackground)
CLASSLIB_IMPLEMENT(TContainerAppearance, TNotifyingPersistent)

// ---------------------------------------------------------------- TButtonAppearance

const TPropertyList& TButtonAppearance::Published() {
    using A = TButtonAppearance;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
#define ADVTB_PUBLISH(Name, Initial, Kind) .Colour(L## #Name, &A::Name, &A::Set##Name, int32_t(Initial))
        ADVTB_BUTTON_COLOURS(ADVTB_PUBLISH)
#undef ADVTB_PUBLISH
#define ADVTB_PUBLISH(Name, Initial, Kind) .Enum(L## #Name, &A::Name, &A::Set##Name, Initial)
        ADVTB_BUTTON_DIRECTIONS(ADVTB_PUBLISH)
#undef ADVTB_PUBLISH
        .SubObject(L"CaptionFont", &A::CaptionFont)
        .Add(L"SystemFont", &A::SystemFont, &A::SetSystemFont, true);
    return list;
}

TButtonAppearance::TButtonAppearance() : FCaptionFont(std::make_unique<TFont>()) {
    FCaptionFont->SetHeight(-11);
    ApplySystemFont(FCaptionFont.get(), AdvStyleIF::IsVistaOrLater());
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::SetCaptionFont(const TFont* value) {
    FCaptionFont->Assign(value);
    Changed();
}

void TButtonAppearance::SetSystemFont(bool value) {
    if (value == FSystemFont) return;
    FSystemFont = value;
    if (value) ApplySystemFont(FCaptionFont.get(), AdvStyleIF::IsVistaOrLater());
}

void TButtonAppearance::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TButtonAppearance*>(source);
    if (!from) return;
#define ADVTB_COPY(Name, Initial, Kind) F##Name = from->F##Name;
    ADVTB_BUTTON_COLOURS(ADVTB_COPY)
#undef ADVTB_COPY
    FGradientDirection = from->FGradientDirection;
}

// ---------------------------------------------------------------- TGradientBackground

const TPropertyList& TGradientBackground::Published() {
    using G = TGradientBackground;
    // Only Steps declares a default: the colours and the direction are always written.
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"Color", &G::Color, &G::SetColor, clWhite)
        .Stored(L"Color", true)
        .Colour(L"ColorTo", &G::ColorTo, &G::SetColorTo, clBtnFace)
        .Stored(L"ColorTo", true)
        .Enum(L"Direction", &G::Direction, &G::SetDirection, gdHorizontal)
        .Stored(L"Direction", true)
        .Add(L"Steps", &G::Steps, &G::SetSteps, 64)
        .Event(L"OnChange", &G::OnChange);
    return list;
}

TGradientBackground::TGradientBackground() {
    SetColor(clWhite);
    SetColorTo(clBtnFace);
    SetDirection(gdHorizontal);
    SetSteps(64);
}

void TGradientBackground::SetColor(TColor value) { StoreAlways(FColor, value); }
void TGradientBackground::SetColorTo(TColor value) { StoreAlways(FColorTo, value); }
void TGradientBackground::SetDirection(TGradientDirection value) { StoreAlways(FDirection, value); }
void TGradientBackground::SetSteps(int value) { StoreAlways(FSteps, value); }

void TGradientBackground::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TGradientBackground*>(source);
    if (!from) return;
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FDirection = from->FDirection;
    FSteps = from->FSteps;
}

// ---------------------------------------------------------------- TMirrorGradient

const TPropertyList& TMirrorGradient::Published() {
    using M = TMirrorGradient;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"Color", &M::Color, &M::SetColor, clWhite)
        .Colour(L"ColorTo", &M::ColorTo, &M::SetColorTo, clBtnFace)
        .Colour(L"ColorMirror", &M::ColorMirror, &M::SetColorMirror, 0xEDD9C8)
        .Colour(L"ColorMirrorTo", &M::ColorMirrorTo, &M::SetColorMirrorTo, 0xFFF4E3)
        .Stored(L"Color", true)
        .Stored(L"ColorTo", true)
        .Stored(L"ColorMirror", true)
        .Stored(L"ColorMirrorTo", true)
        .Event(L"OnChange", &M::OnChange);
    return list;
}

void TMirrorGradient::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TMirrorGradient*>(source);
    if (!from) {
        TPersistent::Assign(source);
        return;
    }
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FColorMirror = from->FColorMirror;
    FColorMirrorTo = from->FColorMirrorTo;
}

// ---------------------------------------------------------------- TVistaGradientBackground

const TPropertyList& TVistaGradientBackground::Published() {
    using V = TVistaGradientBackground;
    static const TPropertyList list =
        TPropertyList::Extend(TGradientBackground::Published()).SubObject(L"Mirror", &V::Mirror);
    return list;
}

TVistaGradientBackground::TVistaGradientBackground() : FMirror(std::make_unique<TMirrorGradient>()) {}

TVistaGradientBackground::~TVistaGradientBackground() = default;

void TVistaGradientBackground::Assign(const TPersistent* source) {
    TGradientBackground::Assign(source);
    if (const auto* from = dynamic_cast<const TVistaGradientBackground*>(source)) FMirror->Assign(from->FMirror.get());
}

// ---------------------------------------------------------------- TContainerAppearance

const TPropertyList& TContainerAppearance::Published() {
    using C = TContainerAppearance;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"LineColor", &C::LineColor, &C::SetLineColor, clBtnShadow)
        .Stored(L"LineColor", true)
        .Add(L"Line3D", &C::Line3D, &C::SetLine3D, true)
        .Stored(L"Line3D", true)
        .Event(L"OnChange", &C::OnChange);
    return list;
}

void TContainerAppearance::Assign(const TPersistent* source) {
    const auto* from = SameClassSource<TContainerAppearance>(*this, source);
    if (!from) return;
    SetLineColor(from->FLineColor);
    SetLine3D(from->FLine3D);
}

}  // namespace AdvToolBar
