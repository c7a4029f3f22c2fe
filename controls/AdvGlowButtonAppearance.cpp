#include "controls/AdvGlowButtonAppearance.h"

#include <string_view>

#include "classlib/Properties.h"

namespace AdvGlowButton {

CLASSLIB_IMPLEMENT(TGlowButtonAppearance, ClassLib::TPersistent)

TGlowButtonAppearance::TGlowButtonAppearance() = default;  // the fields start at the initial values

const ClassLib::TPropertyList& TGlowButtonAppearance::Published() {
    static const ClassLib::TPropertyList published = [] {
        using A = TGlowButtonAppearance;
        ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published());
        // TextColor is public but not published.
#define ADVGLOW_PUBLISH(Name, Initial, Kind) \
        if (std::wstring_view(L## #Name) != L"TextColor") list.Colour(L## #Name, &A::Name, &A::Set##Name, int32_t(Initial));
        ADVGLOW_APPEARANCE_COLOURS(ADVGLOW_PUBLISH)
#undef ADVGLOW_PUBLISH
#define ADVGLOW_PUBLISH(Name, Initial, Kind) list.Enum(L## #Name, &A::Name, &A::Set##Name, Initial);
        ADVGLOW_APPEARANCE_GRADIENTS(ADVGLOW_PUBLISH)
#undef ADVGLOW_PUBLISH
        list.Add(L"SystemFont", &A::SystemFont, &A::SetSystemFont, true);
        // The fill colours have no streaming default: they are always written.
        for (const wchar_t* fill : {L"Color", L"ColorTo", L"ColorChecked", L"ColorCheckedTo", L"ColorDisabled",
                                    L"ColorDisabledTo", L"ColorDown", L"ColorDownTo", L"ColorHot", L"ColorHotTo",
                                    L"ColorMirror", L"ColorMirrorTo", L"ColorMirrorHot", L"ColorMirrorHotTo",
                                    L"ColorMirrorDown", L"ColorMirrorDownTo", L"ColorMirrorChecked",
                                    L"ColorMirrorCheckedTo", L"ColorMirrorDisabled", L"ColorMirrorDisabledTo"})
            list.Stored(fill, true);
        return list;
    }();
    return published;
}

void TGlowButtonAppearance::Changed() {
    if (OnChange) OnChange(this);
}

void TGlowButtonAppearance::Init() {
    SetColor(0xFFFFFF);
    SetColorTo(0xFFFFFF);
    SetColorMirror(0xC0C0C0);
    SetColorMirrorTo(0xFFFFFF);
    SetColorHot(0xF5F0E1);
    SetColorHotTo(0xF9D2B2);
    SetColorMirrorHot(0xF5C8AD);
    SetColorMirrorHotTo(0xFFF8F4);
    SetColorDown(0xF5D8CA);
    SetColorDownTo(0xF9BDA0);
    SetColorMirrorDown(0xF5B49C);
    SetColorMirrorDownTo(0xFFDFDC);
    SetColorChecked(0xF5D8CA);
    SetColorCheckedTo(0xF9BDA0);
    SetColorMirrorChecked(0xF5B49C);
    SetColorMirrorCheckedTo(0xFFDFDC);
    SetColorDisabled(0xF2F2F2);
    SetColorDisabledTo(0xF2F2F2);
    SetColorMirrorDisabled(0xB6B6B6);
    SetColorMirrorDisabledTo(0xF2F2F2);
    SetBorderColorDisabled(0x808080);
    SetBorderColor(0xC0C0C0);
    SetBorderColorHot(0xFF0000);
    SetBorderColorDown(0x800000);
    SetBorderColorChecked(0xFF0000);
    SetBorderColorFocused(0xE4AD89);
    SetBorderColorCheckedHot(ClassLib::clNone);
#define ADVGLOW_INIT(Name, Initial, Kind) Set##Name(Initial);
    ADVGLOW_APPEARANCE_GRADIENTS(ADVGLOW_INIT)
#undef ADVGLOW_INIT
    SetTextColor(ClassLib::clNone);
    SetTextColorHot(0x000000);
    SetTextColorDown(0x000000);
    SetTextColorChecked(0x000000);
    FTextColorDisabled = 0x808080;
    FSystemFont = true;
    FNoBorderDefault = false;
}

void TGlowButtonAppearance::Assign(const ClassLib::TPersistent* source) {
    if (!source) return;
    const auto* from = dynamic_cast<const TGlowButtonAppearance*>(source);
    if (!from) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    SetColor(from->FColor);
    SetColorTo(from->FColorTo);
    SetColorMirror(from->FColorMirror);
    SetColorMirrorTo(from->FColorMirrorTo);
    SetColorHot(from->FColorHot);
    SetColorHotTo(from->FColorHotTo);
    SetColorMirrorHot(from->FColorMirrorHot);
    SetColorMirrorHotTo(from->FColorMirrorHotTo);
    SetColorDown(from->FColorDown);
    SetColorDownTo(from->FColorDownTo);
    SetColorMirrorDown(from->FColorMirrorDown);
    SetColorMirrorDownTo(from->FColorMirrorDownTo);
    SetColorChecked(from->FColorChecked);
    SetColorCheckedTo(from->FColorCheckedTo);
    SetColorMirrorChecked(from->FColorMirrorChecked);
    SetColorMirrorCheckedTo(from->FColorMirrorCheckedTo);
    SetColorDisabled(from->FColorDisabled);
    SetColorDisabledTo(from->FColorDisabledTo);
    SetColorMirrorDisabled(from->FColorMirrorDisabled);
    SetColorMirrorDisabledTo(from->FColorMirrorDisabledTo);
    SetBorderColor(from->FBorderColor);
    SetBorderColorHot(from->FBorderColorHot);
    SetBorderColorDown(from->FBorderColorDown);
    SetBorderColorChecked(from->FBorderColorChecked);
    SetBorderColorDisabled(from->FBorderColorDisabled);
    FBorderColorCheckedHot = from->FBorderColorCheckedHot;
#define ADVGLOW_COPY(Name, Initial, Kind) Set##Name(from->F##Name);
    ADVGLOW_APPEARANCE_GRADIENTS(ADVGLOW_COPY)
#undef ADVGLOW_COPY
    SetTextColorHot(from->FTextColorHot);
    SetTextColorDown(from->FTextColorDown);
    SetTextColorChecked(from->FTextColorChecked);
    FTextColorDisabled = from->FTextColorDisabled;
    SetSystemFont(from->FSystemFont);
    SetTextColor(from->FTextColor);
    FTranspHover = from->FTranspHover;
    FTranspOffice = from->FTranspOffice;
    FNoBorderDefault = from->FNoBorderDefault;
    // BorderColorFocused is not copied: the frame colour belongs to the target.
}

TGlowLook LookOf(const TGlowButtonAppearance& a, TLookKind kind) {
    switch (kind) {
        case TLookKind::Hot:
            return {a.ColorHot(), a.ColorHotTo(), a.ColorMirrorHot(), a.ColorMirrorHotTo(), a.BorderColorHot(),
                    a.GradientHot(), a.GradientMirrorHot()};
        case TLookKind::Down:
            return {a.ColorDown(), a.ColorDownTo(), a.ColorMirrorDown(), a.ColorMirrorDownTo(), a.BorderColorDown(),
                    a.GradientDown(), a.GradientMirrorDown()};
        case TLookKind::Checked:
            return {a.ColorChecked(), a.ColorCheckedTo(), a.ColorMirrorChecked(), a.ColorMirrorCheckedTo(),
                    a.BorderColorChecked(), a.GradientChecked(), a.GradientMirrorChecked()};
        case TLookKind::Disabled:
            return {a.ColorDisabled(), a.ColorDisabledTo(), a.ColorMirrorDisabled(), a.ColorMirrorDisabledTo(),
                    a.BorderColorDisabled(), a.GradientDisabled(), a.GradientMirrorDisabled()};
        case TLookKind::Normal: break;
    }
    return {a.Color(), a.ColorTo(), a.ColorMirror(), a.ColorMirrorTo(), a.BorderColor(), a.Gradient(),
            a.GradientMirror()};
}

}  // namespace AdvGlowButton
