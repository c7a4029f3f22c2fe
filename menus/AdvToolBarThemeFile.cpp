// The body of a styler theme file: lines 2 to 304, one Key=Value line per setting in one
// fixed order. The reader takes each line as the next entry of that order and looks only
// for that entry's key in it.
#include <functional>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "menus/AdvToolBarStyler.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TGDIPGradient;
using AdvGlowButton::TGlowButtonAppearance;
using S = TCustomAdvToolBarStyler;

namespace {

// How an entry's value is written and read.
enum class TKind {
    Colour,      // a colour name, else "$" and eight hexadecimal digits
    Integer,
    Direction,   // gdHorizontal or gdVertical; anything else reads as gdVertical
    Gradient,    // a gradient kind's name; an unknown one leaves the value
    Grip,        // a drag grip's name; an unknown one leaves the value
    Boolean,     // "True" in any case is true, anything else false
    FontStyle,   // the set styles' names joined by commas; its key is not looked at
    FontSize,    // points
    FontName,
};

struct TEntry {
    std::wstring Key;
    TKind Kind;
    std::function<std::wstring(const S&)> Value;
    // Converts the value read and applies it through the setter; raises when it does not convert.
    std::function<void(S&, const std::wstring&)> Apply;
};

template <class T>
using TObjectOf = T* (*)(const S&);

// Names of an enumeration, matched in any letter case; -1 when unknown.
template <class E>
int NameIndex(const std::wstring& text) {
    int index = 0;
    for (const wchar_t* name : TEnumNames<E>::Names) {
        if (SameText(text, name)) return index;
        ++index;
    }
    return -1;
}

TColor ReadColour(const std::wstring& value) {
    if (value.empty()) throw EConvertError(L"No colour value");
    return StringToColor(value);
}

class TTableBuilder {
public:
    explicit TTableBuilder(std::vector<TEntry>& entries) : FEntries(entries) {}

    template <class T>
    void Colour(const std::wstring& key, TObjectOf<T> object, TColor (T::*get)() const, void (T::*set)(TColor)) {
        FEntries.push_back({key, TKind::Colour, [=](const S& s) { return ColorToString((object(s)->*get)()); },
                            [=](S& s, const std::wstring& value) { (object(s)->*set)(ReadColour(value)); }});
    }
    template <class T>
    void Integer(const std::wstring& key, TObjectOf<T> object, int (T::*get)() const, void (T::*set)(int)) {
        FEntries.push_back({key, TKind::Integer, [=](const S& s) { return IntToStr((object(s)->*get)()); },
                            [=](S& s, const std::wstring& value) { (object(s)->*set)(StrToInt(value)); }});
    }
    template <class T>
    void Direction(const std::wstring& key, TObjectOf<T> object, TGradientDirection (T::*get)() const,
                   void (T::*set)(TGradientDirection)) {
        FEntries.push_back({key, TKind::Direction,
                            [=](const S& s) { return std::wstring(TEnumNames<TGradientDirection>::Names[(object(s)->*get)()]); },
                            [=](S& s, const std::wstring& value) {
                                (object(s)->*set)(SameText(value, L"gdHorizontal") ? gdHorizontal : gdVertical);
                            }});
    }
    template <class T>
    void Gradient(const std::wstring& key, TObjectOf<T> object, TGDIPGradient (T::*get)() const,
                  void (T::*set)(TGDIPGradient)) {
        FEntries.push_back({key, TKind::Gradient,
                            [=](const S& s) { return std::wstring(TEnumNames<TGDIPGradient>::Names[(object(s)->*get)()]); },
                            [=](S& s, const std::wstring& value) {
                                const int index = NameIndex<TGDIPGradient>(value);
                                if (index >= 0) (object(s)->*set)(TGDIPGradient(index));
                            }});
    }
    void Grip(const std::wstring& key) {
        FEntries.push_back({key, TKind::Grip,
                            [](const S& s) { return std::wstring(TEnumNames<TDragGripStyle>::Names[s.DragGripStyle()]); },
                            [](S& s, const std::wstring& value) {
                                const int index = NameIndex<TDragGripStyle>(value);
                                if (index >= 0) s.SetDragGripStyle(TDragGripStyle(index));
                            }});
    }
    template <class T>
    void Boolean(const std::wstring& key, TObjectOf<T> object, bool (T::*get)() const, void (T::*set)(bool)) {
        FEntries.push_back({key, TKind::Boolean, [=](const S& s) { return std::wstring((object(s)->*get)() ? L"True" : L"False"); },
                            [=](S& s, const std::wstring& value) { (object(s)->*set)(UpperCase(value) == L"TRUE"); }});
    }
    // Color, Style, Size and (unless left out) Name of a font.
    void Font(const std::wstring& prefix, TObjectOf<TFont> font, bool withName = true) {
        Colour<TFont>(prefix + L"Color", font, &TFont::Color, &TFont::SetColor);
        FEntries.push_back({prefix + L"Style", TKind::FontStyle,
                            [=](const S& s) {
                                std::wstring names;
                                const TFontStyles style = font(s)->Style();
                                for (int i = 0; i < 4; ++i) {
                                    if (!style.Contains(TFontStyle(i))) continue;
                                    if (!names.empty()) names += L",";
                                    names += TEnumNames<TFontStyle>::Names[i];
                                }
                                return names;
                            },
                            [=](S& s, const std::wstring& value) {
                                TStringList items;
                                items.SetCommaText(value);
                                TFontStyles style;
                                for (int i = 0; i < 4; ++i)
                                    for (int item = 0; item < items.Count(); ++item)
                                        if (SameText(items[item], TEnumNames<TFontStyle>::Names[i])) style += TFontStyle(i);
                                font(s)->SetStyle(style);
                            }});
        FEntries.push_back({prefix + L"Size", TKind::FontSize, [=](const S& s) { return IntToStr(font(s)->Size()); },
                            [=](S& s, const std::wstring& value) { font(s)->SetSize(StrToInt(value)); }});
        if (withName)
            FEntries.push_back({prefix + L"Name", TKind::FontName, [=](const S& s) { return font(s)->Name(); },
                                [=](S& s, const std::wstring& value) { font(s)->SetName(value); }});
    }
    // Color, ColorTo, Direction and Steps of a gradient background.
    void Gradient(const std::wstring& prefix, TObjectOf<TGradientBackground> object) {
        using G = TGradientBackground;
        Colour<G>(prefix + L"Color", object, &G::Color, &G::SetColor);
        Colour<G>(prefix + L"ColorTo", object, &G::ColorTo, &G::SetColorTo);
        Direction<G>(prefix + L"Direction", object, &G::Direction, &G::SetDirection);
        Integer<G>(prefix + L"Steps", object, &G::Steps, &G::SetSteps);
    }
    void Mirror(const std::wstring& prefix, TObjectOf<TMirrorGradient> object) {
        using M = TMirrorGradient;
        Colour<M>(prefix + L"Color", object, &M::Color, &M::SetColor);
        Colour<M>(prefix + L"ColorTo", object, &M::ColorTo, &M::SetColorTo);
        Colour<M>(prefix + L"ColorMirror", object, &M::ColorMirror, &M::SetColorMirror);
        Colour<M>(prefix + L"ColorMirrorTo", object, &M::ColorMirrorTo, &M::SetColorMirrorTo);
    }
    void Caption(const std::wstring& prefix, TObjectOf<TCaptionAppearance> object) {
        using C = TCaptionAppearance;
        Colour<C>(prefix + L"CaptionColor", object, &C::CaptionColor, &C::SetCaptionColor);
        Colour<C>(prefix + L"CaptionColorTo", object, &C::CaptionColorTo, &C::SetCaptionColorTo);
        Colour<C>(prefix + L"CaptionTextColor", object, &C::CaptionTextColor, &C::SetCaptionTextColor);
        Colour<C>(prefix + L"CaptionBorderColor", object, &C::CaptionBorderColor, &C::SetCaptionBorderColor);
        Colour<C>(prefix + L"CaptionColorHot", object, &C::CaptionColorHot, &C::SetCaptionColorHot);
        Colour<C>(prefix + L"CaptionColorHotTo", object, &C::CaptionColorHotTo, &C::SetCaptionColorHotTo);
        Colour<C>(prefix + L"CaptionTextColorHot", object, &C::CaptionTextColorHot, &C::SetCaptionTextColorHot);
        Colour<C>(prefix + L"CaptionBorderColorHot", object, &C::CaptionBorderColorHot, &C::SetCaptionBorderColorHot);
    }
    void Glow(const std::wstring& prefix, TObjectOf<TGlowButtonAppearance> object) {
        using A = TGlowButtonAppearance;
        const std::pair<const wchar_t*, std::pair<TColor (A::*)() const, void (A::*)(TColor)>> colours[] = {
            {L"BorderColor", {&A::BorderColor, &A::SetBorderColor}},
            {L"BorderColorHot", {&A::BorderColorHot, &A::SetBorderColorHot}},
            {L"BorderColorDown", {&A::BorderColorDown, &A::SetBorderColorDown}},
            {L"BorderColorChecked", {&A::BorderColorChecked, &A::SetBorderColorChecked}},
            {L"BorderColorDisabled", {&A::BorderColorDisabled, &A::SetBorderColorDisabled}},
            {L"Color", {&A::Color, &A::SetColor}},
            {L"ColorTo", {&A::ColorTo, &A::SetColorTo}},
            {L"ColorChecked", {&A::ColorChecked, &A::SetColorChecked}},
            {L"ColorCheckedTo", {&A::ColorCheckedTo, &A::SetColorCheckedTo}},
            {L"ColorDisabled", {&A::ColorDisabled, &A::SetColorDisabled}},
            {L"ColorDisabledTo", {&A::ColorDisabledTo, &A::SetColorDisabledTo}},
            {L"ColorDown", {&A::ColorDown, &A::SetColorDown}},
            {L"ColorDownTo", {&A::ColorDownTo, &A::SetColorDownTo}},
            {L"ColorHot", {&A::ColorHot, &A::SetColorHot}},
            {L"ColorHotTo", {&A::ColorHotTo, &A::SetColorHotTo}},
            {L"ColorMirror", {&A::ColorMirror, &A::SetColorMirror}},
            {L"ColorMirrorTo", {&A::ColorMirrorTo, &A::SetColorMirrorTo}},
            {L"ColorMirrorHot", {&A::ColorMirrorHot, &A::SetColorMirrorHot}},
            {L"ColorMirrorHotTo", {&A::ColorMirrorHotTo, &A::SetColorMirrorHotTo}},
            {L"ColorMirrorDown", {&A::ColorMirrorDown, &A::SetColorMirrorDown}},
            {L"ColorMirrorDownTo", {&A::ColorMirrorDownTo, &A::SetColorMirrorDownTo}},
            {L"ColorMirrorChecked", {&A::ColorMirrorChecked, &A::SetColorMirrorChecked}},
            {L"ColorMirrorCheckedTo", {&A::ColorMirrorCheckedTo, &A::SetColorMirrorCheckedTo}},
            {L"ColorMirrorDisabled", {&A::ColorMirrorDisabled, &A::SetColorMirrorDisabled}},
            {L"ColorMirrorDisabledTo", {&A::ColorMirrorDisabledTo, &A::SetColorMirrorDisabledTo}},
        };
        for (const auto& [name, access] : colours) Colour<A>(prefix + name, object, access.first, access.second);
        const std::pair<const wchar_t*, std::pair<TGDIPGradient (A::*)() const, void (A::*)(TGDIPGradient)>> gradients[] = {
            {L"Gradient", {&A::Gradient, &A::SetGradient}},
            {L"GradientMirror", {&A::GradientMirror, &A::SetGradientMirror}},
            {L"GradientHot", {&A::GradientHot, &A::SetGradientHot}},
            {L"GradientMirrorHot", {&A::GradientMirrorHot, &A::SetGradientMirrorHot}},
            {L"GradientDown", {&A::GradientDown, &A::SetGradientDown}},
            {L"GradientMirrorDown", {&A::GradientMirrorDown, &A::SetGradientMirrorDown}},
            {L"GradientChecked", {&A::GradientChecked, &A::SetGradientChecked}},
            {L"GradientMirrorChecked", {&A::GradientMirrorChecked, &A::SetGradientMirrorChecked}},
            {L"GradientDisabled", {&A::GradientDisabled, &A::SetGradientDisabled}},
            {L"GradientMirrorDisabled", {&A::GradientMirrorDisabled, &A::SetGradientMirrorDisabled}},
        };
        for (const auto& [name, access] : gradients) Gradient<A>(prefix + name, object, access.first, access.second);
    }
    // The 22 state colours of a tab appearance.
    void TabColours(const std::wstring& prefix, TObjectOf<TCustomTabAppearance> object) {
        using T = TCustomTabAppearance;
        const std::pair<const wchar_t*, std::pair<TColor (T::*)() const, void (T::*)(TColor)>> colours[] = {
            {L"BorderColor", {&T::BorderColor, &T::SetBorderColor}},
            {L"BorderColorHot", {&T::BorderColorHot, &T::SetBorderColorHot}},
            {L"BorderColorSelected", {&T::BorderColorSelected, &T::SetBorderColorSelected}},
            {L"BorderColorSelectedHot", {&T::BorderColorSelectedHot, &T::SetBorderColorSelectedHot}},
            {L"BorderColorDown", {&T::BorderColorDown, &T::SetBorderColorDown}},
            {L"BorderColorDisabled", {&T::BorderColorDisabled, &T::SetBorderColorDisabled}},
            {L"Color", {&T::Color, &T::SetColor}},
            {L"ColorTo", {&T::ColorTo, &T::SetColorTo}},
            {L"ColorSelected", {&T::ColorSelected, &T::SetColorSelected}},
            {L"ColorSelectedTo", {&T::ColorSelectedTo, &T::SetColorSelectedTo}},
            {L"ColorDisabled", {&T::ColorDisabled, &T::SetColorDisabled}},
            {L"ColorDisabledTo", {&T::ColorDisabledTo, &T::SetColorDisabledTo}},
            {L"ColorHot", {&T::ColorHot, &T::SetColorHot}},
            {L"ColorHotTo", {&T::ColorHotTo, &T::SetColorHotTo}},
            {L"ColorMirror", {&T::ColorMirror, &T::SetColorMirror}},
            {L"ColorMirrorTo", {&T::ColorMirrorTo, &T::SetColorMirrorTo}},
            {L"ColorMirrorHot", {&T::ColorMirrorHot, &T::SetColorMirrorHot}},
            {L"ColorMirrorHotTo", {&T::ColorMirrorHotTo, &T::SetColorMirrorHotTo}},
            {L"ColorMirrorSelected", {&T::ColorMirrorSelected, &T::SetColorMirrorSelected}},
            {L"ColorMirrorSelectedTo", {&T::ColorMirrorSelectedTo, &T::SetColorMirrorSelectedTo}},
            {L"ColorMirrorDisabled", {&T::ColorMirrorDisabled, &T::SetColorMirrorDisabled}},
            {L"ColorMirrorDisabledTo", {&T::ColorMirrorDisabledTo, &T::SetColorMirrorDisabledTo}},
        };
        for (const auto& [name, access] : colours) Colour<T>(prefix + name, object, access.first, access.second);
    }
    // The 18 entries after a tab appearance's font: its gradients and text, shadow and
    // highlight colours.
    void TabRest(const std::wstring& prefix, TObjectOf<TCustomTabAppearance> object) {
        using T = TCustomTabAppearance;
        const std::pair<const wchar_t*, std::pair<TGDIPGradient (T::*)() const, void (T::*)(TGDIPGradient)>> gradients[] = {
            {L"Gradient", {&T::Gradient, &T::SetGradient}},
            {L"GradientMirror", {&T::GradientMirror, &T::SetGradientMirror}},
            {L"GradientHot", {&T::GradientHot, &T::SetGradientHot}},
            {L"GradientMirrorHot", {&T::GradientMirrorHot, &T::SetGradientMirrorHot}},
            {L"GradientSelected", {&T::GradientSelected, &T::SetGradientSelected}},
            {L"GradientMirrorSelected", {&T::GradientMirrorSelected, &T::SetGradientMirrorSelected}},
            {L"GradientDisabled", {&T::GradientDisabled, &T::SetGradientDisabled}},
            {L"GradientMirrorDisabled", {&T::GradientMirrorDisabled, &T::SetGradientMirrorDisabled}},
        };
        for (const auto& [name, access] : gradients) Gradient<T>(prefix + name, object, access.first, access.second);
        const std::pair<const wchar_t*, std::pair<TColor (T::*)() const, void (T::*)(TColor)>> colours[] = {
            {L"TextColor", {&T::TextColor, &T::SetTextColor}},
            {L"TextColorHot", {&T::TextColorHot, &T::SetTextColorHot}},
            {L"TextColorSelected", {&T::TextColorSelected, &T::SetTextColorSelected}},
            {L"TextColorDisabled", {&T::TextColorDisabled, &T::SetTextColorDisabled}},
            {L"ShadowColor", {&T::ShadowColor, &T::SetShadowColor}},
            {L"HighLightColor", {&T::HighLightColor, &T::SetHighLightColor}},
            {L"HighLightColorHot", {&T::HighLightColorHot, &T::SetHighLightColorHot}},
            {L"HighLightColorSelected", {&T::HighLightColorSelected, &T::SetHighLightColorSelected}},
            {L"HighLightColorSelectedHot", {&T::HighLightColorSelectedHot, &T::SetHighLightColorSelectedHot}},
            {L"HighLightColorDown", {&T::HighLightColorDown, &T::SetHighLightColorDown}},
        };
        for (const auto& [name, access] : colours) Colour<T>(prefix + name, object, access.first, access.second);
    }
    // A vista background's five colours, in the file's order.
    void VistaColours(const std::wstring& prefix, TObjectOf<TVistaBackground> object) {
        using V = TVistaBackground;
        Colour<V>(prefix + L"BorderColor", object, &V::BorderColor, &V::SetBorderColor);
        Colour<V>(prefix + L"Color", object, &V::Color, &V::SetColor);
        Colour<V>(prefix + L"ColorTo", object, &V::ColorTo, &V::SetColorTo);
        Colour<V>(prefix + L"ColorMirror", object, &V::ColorMirror, &V::SetColorMirror);
        Colour<V>(prefix + L"ColorMirrorTo", object, &V::ColorMirrorTo, &V::SetColorMirrorTo);
    }
    void VistaGradients(const std::wstring& prefix, TObjectOf<TVistaBackground> object) {
        using V = TVistaBackground;
        Gradient<V>(prefix + L"Gradient", object, &V::Gradient, &V::SetGradient);
        Gradient<V>(prefix + L"GradientMirror", object, &V::GradientMirror, &V::SetGradientMirror);
    }

private:
    std::vector<TEntry>& FEntries;
};

// The styler itself and its objects, by the path the keys name.
S* Self(const S& s) { return const_cast<S*>(&s); }
TButtonAppearance* Buttons(const S& s) { return s.ButtonAppearance(); }
TFont* ButtonFont(const S& s) { return s.ButtonAppearance()->CaptionFont(); }
TGradientBackground* ColorOf(const S& s) { return s.Color(); }
TMirrorGradient* ColorMirrorOf(const S& s) { return s.Color()->Mirror(); }
TGradientBackground* DockOf(const S& s) { return s.DockColor(); }
TFont* FontOf(const S& s) { return s.Font(); }
TCaptionAppearance* CaptionOf(const S& s) { return s.CaptionAppearance(); }
TGradientBackground* ColorHotOf(const S& s) { return s.ColorHot(); }
TMirrorGradient* ColorHotMirrorOf(const S& s) { return s.ColorHot()->Mirror(); }
TFont* CaptionFontOf(const S& s) { return s.CaptionFont(); }
TContainerAppearance* ContainerOf(const S& s) { return s.ContainerAppearance(); }
TGlowButtonAppearance* GlowOf(const S& s) { return s.GlowButtonAppearance(); }
TVistaBackground* PagerCaptionOf(const S& s) { return s.PagerCaption(); }
TVistaTextBackground* PagerTextOf(const S& s) { return s.PagerCaption(); }
TFont* PagerCaptionFontOf(const S& s) { return s.PagerCaption()->Font(); }
TGradientBackground* TabBackGroundOf(const S& s) { return s.TabAppearance()->BackGround(); }
TCustomTabAppearance* TabOf(const S& s) { return s.TabAppearance(); }
TFont* TabFontOf(const S& s) { return s.TabAppearance()->Font(); }
TVistaBackground* PageOf(const S& s) { return s.PageAppearance(); }
TVistaPageBackground* PageBackgroundOf(const S& s) { return s.PageAppearance(); }
TGroupAppearance* GroupOf(const S& s) { return s.GroupAppearance(); }
TFont* GroupFontOf(const S& s) { return s.GroupAppearance()->Font(); }
TCaptionAppearance* GroupCaptionOf(const S& s) { return s.GroupAppearance()->CaptionAppearance(); }
TVistaBackground* GroupPageOf(const S& s) { return s.GroupAppearance()->PageAppearance(); }
TCustomTabAppearance* GroupTabOf(const S& s) { return s.GroupAppearance()->TabAppearance(); }
TFont* GroupTabFontOf(const S& s) { return s.GroupAppearance()->TabAppearance()->Font(); }
TToolBarAppearance* GroupToolBarOf(const S& s) { return s.GroupAppearance()->ToolBarAppearance(); }
TGradientBackground* GroupToolBarColorOf(const S& s) { return s.GroupAppearance()->ToolBarAppearance()->Color(); }
TGradientBackground* GroupToolBarColorHotOf(const S& s) { return s.GroupAppearance()->ToolBarAppearance()->ColorHot(); }
TGlowButtonAppearance* CompactGlowOf(const S& s) { return s.CompactGlowButtonAppearance(); }
TQATAppearance* QATOf(const S& s) { return s.QATAppearance(); }

std::vector<TEntry> BuildTable() {
    std::vector<TEntry> entries;
    TTableBuilder b(entries);
    b.Boolean<S>(L"AutoThemeAdapt", Self, &S::AutoThemeAdapt, &S::SetAutoThemeAdapt);
    {
        using A = TButtonAppearance;
        const std::pair<const wchar_t*, std::pair<TColor (A::*)() const, void (A::*)(TColor)>> colours[] = {
            {L"Color", {&A::Color, &A::SetColor}},
            {L"ColorTo", {&A::ColorTo, &A::SetColorTo}},
            {L"ColorChecked", {&A::ColorChecked, &A::SetColorChecked}},
            {L"ColorCheckedTo", {&A::ColorCheckedTo, &A::SetColorCheckedTo}},
            {L"ColorDown", {&A::ColorDown, &A::SetColorDown}},
            {L"ColorDownTo", {&A::ColorDownTo, &A::SetColorDownTo}},
            {L"ColorHot", {&A::ColorHot, &A::SetColorHot}},
            {L"ColorHotTo", {&A::ColorHotTo, &A::SetColorHotTo}},
            {L"CaptionTextColor", {&A::CaptionTextColor, &A::SetCaptionTextColor}},
            {L"CaptionTextColorHot", {&A::CaptionTextColorHot, &A::SetCaptionTextColorHot}},
            {L"CaptionTextColorDown", {&A::CaptionTextColorDown, &A::SetCaptionTextColorDown}},
            {L"CaptionTextColorChecked", {&A::CaptionTextColorChecked, &A::SetCaptionTextColorChecked}},
        };
        for (const auto& [name, access] : colours)
            b.Colour<A>(std::wstring(L"ButtonAppearance.") + name, Buttons, access.first, access.second);
        b.Direction<A>(L"ButtonAppearance.GradientDirection", Buttons, &A::GradientDirection, &A::SetGradientDirection);
        b.Direction<A>(L"ButtonAppearance.GradientDirectionHot", Buttons, &A::GradientDirectionHot, &A::SetGradientDirectionHot);
        b.Direction<A>(L"ButtonAppearance.GradientDirectionDown", Buttons, &A::GradientDirectionDown,
                       &A::SetGradientDirectionDown);
        b.Direction<A>(L"ButtonAppearance.GradientDirectionChecked", Buttons, &A::GradientDirectionChecked,
                       &A::SetGradientDirectionChecked);
        b.Colour<A>(L"ButtonAppearance.BorderColor", Buttons, &A::BorderColor, &A::SetBorderColor);
        b.Colour<A>(L"ButtonAppearance.BorderDownColor", Buttons, &A::BorderDownColor, &A::SetBorderDownColor);
        b.Colour<A>(L"ButtonAppearance.BorderHotColor", Buttons, &A::BorderHotColor, &A::SetBorderHotColor);
        b.Colour<A>(L"ButtonAppearance.BorderCheckedColor", Buttons, &A::BorderCheckedColor, &A::SetBorderCheckedColor);
    }
    b.Font(L"ButtonAppearance.CaptionFont.", ButtonFont);
    b.Gradient(L"Color.", ColorOf);
    b.Mirror(L"Color.Mirror.", ColorMirrorOf);
    b.Gradient(L"DockColor.", DockOf);
    b.Font(L"Font.", FontOf);
    b.Grip(L"DragGripStyle");
    b.Colour<S>(L"RightHandleColor", Self, &S::RightHandleColor, &S::SetRightHandleColor);
    b.Colour<S>(L"RightHandleColorHot", Self, &S::RightHandleColorHot, &S::SetRightHandleColorHot);
    b.Colour<S>(L"RightHandleColorTo", Self, &S::RightHandleColorTo, &S::SetRightHandleColorTo);
    b.Colour<S>(L"RightHandleColorHotTo", Self, &S::RightHandleColorHotTo, &S::SetRightHandleColorHotTo);
    b.Colour<S>(L"RightHandleColorDown", Self, &S::RightHandleColorDown, &S::SetRightHandleColorDown);
    b.Colour<S>(L"RightHandleColorDownTo", Self, &S::RightHandleColorDownTo, &S::SetRightHandleColorDownTo);
    b.Colour<S>(L"FloatingWindowBorderColor", Self, &S::FloatingWindowBorderColor, &S::SetFloatingWindowBorderColor);
    b.Integer<S>(L"FloatingWindowBorderWidth", Self, &S::FloatingWindowBorderWidth, &S::SetFloatingWindowBorderWidth);
    b.Caption(L"CaptionAppearance.", CaptionOf);
    b.Colour<S>(L"BorderColor", Self, &S::BorderColor, &S::SetBorderColor);
    b.Colour<S>(L"BorderColorHot", Self, &S::BorderColorHot, &S::SetBorderColorHot);
    b.Gradient(L"ColorHot.", ColorHotOf);
    b.Mirror(L"ColorHot.Mirror.", ColorHotMirrorOf);
    b.Font(L"CaptionFont.", CaptionFontOf, false);
    b.Colour<TContainerAppearance>(L"ContainerAppearance.LineColor", ContainerOf, &TContainerAppearance::LineColor,
                                   &TContainerAppearance::SetLineColor);
    b.Boolean<TContainerAppearance>(L"ContainerAppearance.Line3D", ContainerOf, &TContainerAppearance::Line3D,
                                    &TContainerAppearance::SetLine3D);
    b.Glow(L"GlowButtonAppearance.", GlowOf);
    b.VistaColours(L"PagerCaption.", PagerCaptionOf);
    b.VistaGradients(L"PagerCaption.", PagerCaptionOf);
    b.Integer<TVistaBackground>(L"PagerCaption.Steps", PagerCaptionOf, &TVistaBackground::Steps, &TVistaBackground::SetSteps);
    b.Colour<TVistaTextBackground>(L"PagerCaption.TextColor", PagerTextOf, &TVistaTextBackground::TextColor,
                                   &TVistaTextBackground::SetTextColor);
    b.Font(L"PagerCaption.Font.", PagerCaptionFontOf);
    b.Gradient(L"TabAppearance.BackGround.", TabBackGroundOf);
    b.TabColours(L"TabAppearance.", TabOf);
    b.Font(L"TabAppearance.Font.", TabFontOf);
    b.TabRest(L"TabAppearance.", TabOf);
    b.VistaColours(L"PageAppearance.", PageOf);
    b.Colour<TVistaPageBackground>(L"PageAppearance.ShadowColor", PageBackgroundOf, &TVistaPageBackground::ShadowColor,
                                   &TVistaPageBackground::SetShadowColor);
    b.VistaGradients(L"PageAppearance.", PageOf);
    b.Integer<TVistaBackground>(L"PageAppearance.Steps", PageOf, &TVistaBackground::Steps, &TVistaBackground::SetSteps);
    {
        using G = TGroupAppearance;
        b.Colour<G>(L"GroupAppearance.BorderColor", GroupOf, &G::BorderColor, &G::SetBorderColor);
        b.Colour<G>(L"GroupAppearance.Color", GroupOf, &G::Color, &G::SetColor);
        b.Colour<G>(L"GroupAppearance.ColorTo", GroupOf, &G::ColorTo, &G::SetColorTo);
        b.Colour<G>(L"GroupAppearance.ColorMirror", GroupOf, &G::ColorMirror, &G::SetColorMirror);
        b.Colour<G>(L"GroupAppearance.ColorMirrorTo", GroupOf, &G::ColorMirrorTo, &G::SetColorMirrorTo);
        b.Font(L"GroupAppearance.Font.", GroupFontOf);
        b.Gradient<G>(L"GroupAppearance.Gradient", GroupOf, &G::Gradient, &G::SetGradient);
        b.Gradient<G>(L"GroupAppearance.GradientMirror", GroupOf, &G::GradientMirror, &G::SetGradientMirror);
        b.Colour<G>(L"GroupAppearance.TextColor", GroupOf, &G::TextColor, &G::SetTextColor);
    }
    b.Caption(L"GroupAppearance.CaptionAppearance.", GroupCaptionOf);
    b.VistaColours(L"GroupAppearance.PageAppearance.", GroupPageOf);
    b.VistaGradients(L"GroupAppearance.PageAppearance.", GroupPageOf);
    b.Integer<TVistaBackground>(L"GroupAppearance.PageAppearance.Steps", GroupPageOf, &TVistaBackground::Steps,
                                &TVistaBackground::SetSteps);
    b.TabColours(L"GroupAppearance.TabAppearance.", GroupTabOf);
    b.Font(L"GroupAppearance.TabAppearance.Font.", GroupTabFontOf);
    b.TabRest(L"GroupAppearance.TabAppearance.", GroupTabOf);
    b.Colour<TToolBarAppearance>(L"GroupAppearance.ToolBarAppearance.BorderColor", GroupToolBarOf,
                                 &TToolBarAppearance::BorderColor, &TToolBarAppearance::SetBorderColor);
    b.Colour<TToolBarAppearance>(L"GroupAppearance.ToolBarAppearance.BorderColorHot", GroupToolBarOf,
                                 &TToolBarAppearance::BorderColorHot, &TToolBarAppearance::SetBorderColorHot);
    b.Gradient(L"GroupAppearance.ToolBarAppearance.Color.", GroupToolBarColorOf);
    b.Gradient(L"GroupAppearance.ToolBarAppearance.ColorHot.", GroupToolBarColorHotOf);
    b.Glow(L"CompactGlowButtonAppearance.", CompactGlowOf);
    {
        using Q = TQATAppearance;
        b.Colour<Q>(L"QATAppearance.BorderColor", QATOf, &Q::BorderColor, &Q::SetBorderColor);
        b.Colour<Q>(L"QATAppearance.Color", QATOf, &Q::Color, &Q::SetColor);
        b.Colour<Q>(L"QATAppearance.ColorTo", QATOf, &Q::ColorTo, &Q::SetColorTo);
        b.Colour<Q>(L"QATAppearance.FullSizeBorderColor", QATOf, &Q::FullSizeBorderColor, &Q::SetFullSizeBorderColor);
        b.Colour<Q>(L"QATAppearance.FullSizeColor", QATOf, &Q::FullSizeColor, &Q::SetFullSizeColor);
        b.Colour<Q>(L"QATAppearance.FullSizeColorTo", QATOf, &Q::FullSizeColorTo, &Q::SetFullSizeColorTo);
        b.Integer<Q>(L"QATAppearance.Steps", QATOf, &Q::Steps, &Q::SetSteps);
    }
    b.Colour<S>(L"FormBorderColor", Self, &S::FormBorderColor, &S::SetFormBorderColor);
    return entries;
}

const std::vector<TEntry>& Table() {
    static const std::vector<TEntry> table = BuildTable();
    return table;
}

// A one-item comma text: quoted when the item holds a blank, a comma, a quote or a control character.
std::wstring CommaItem(const std::wstring& item) {
    TStringList list;
    list.Add(item);
    return list.CommaText();
}

}  // namespace

void TCustomAdvToolBarStyler::SaveToTextFile(TThemeLines& file) const {
    for (const TEntry& entry : Table()) {
        const std::wstring line = entry.Key + L"=" + entry.Value(*this);
        const bool commaText = entry.Kind == TKind::Boolean || entry.Kind == TKind::FontName;
        file.WriteLine(commaText ? CommaItem(line) : line);
    }
}

void TCustomAdvToolBarStyler::LoadFromTextFile(TThemeLines& file) {
    const std::vector<TEntry>& table = Table();
    try {
        for (size_t i = 0; i < table.size(); ++i) {
            const TEntry& entry = table[i];
            const std::wstring line = file.ReadLine();
            if (entry.Kind == TKind::FontStyle) {
                const size_t equals = line.find(L'=');
                entry.Apply(*this, equals == std::wstring::npos ? std::wstring() : line.substr(equals + 1));
                continue;
            }
            TStringList items;
            items.SetCommaText(line);
            // The last entry: a line without any item (empty, or the file ended) means black.
            if (i + 1 == table.size() && items.Count() == 0) {
                SetFormBorderColor(clBlack);
                continue;
            }
            entry.Apply(*this, items.Values(entry.Key));
        }
    } catch (...) {
        throw Exception(L"Corrupt file");
    }
}

}  // namespace AdvToolBar
