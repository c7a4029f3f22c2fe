#pragma once
// The colours of a glow button for each of its five looks (normal, hot, down, checked,
// disabled): two gradient halves and a border per look, text colours and the focus frame.
#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Object.h"

namespace AdvGlowButton {

using ClassLib::TColor;

// How one half of a face runs from its first colour to its second.
enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };

}  // namespace AdvGlowButton

template <> struct ClassLib::TEnumNames<AdvGlowButton::TGDIPGradient> {
    static constexpr const wchar_t* TypeName = L"TGDIPGradient";
    static constexpr const wchar_t* Names[] = {L"ggRadial", L"ggVertical", L"ggDiagonalForward", L"ggDiagonalBackward"};
};

namespace AdvGlowButton {

// Every member once: name, kind, initial value. "Told" members announce a real change
// through OnChange; "Silent" ones store without a word.
#define ADVGLOW_APPEARANCE_COLOURS(X)                                                              \
    X(BorderColor, 0xC0C0C0, Told) X(BorderColorHot, 0xFF0000, Told)                               \
    X(BorderColorCheckedHot, ClassLib::clNone, Silent) X(BorderColorDown, 0x800000, Told)          \
    X(BorderColorChecked, 0xFF0000, Told) X(BorderColorDisabled, 0x808080, Told)                   \
    X(BorderColorFocused, 0xE4AD89, Told)                                                          \
    X(Color, 0xFFFFFF, Told) X(ColorTo, 0xFFFFFF, Told)                                            \
    X(ColorChecked, 0xF5D8CA, Told) X(ColorCheckedTo, 0xF9BDA0, Told)                              \
    X(ColorDisabled, 0xF2F2F2, Told) X(ColorDisabledTo, 0xF2F2F2, Told)                            \
    X(ColorDown, 0xF5D8CA, Told) X(ColorDownTo, 0xF9BDA0, Told)                                    \
    X(ColorHot, 0xF5F0E1, Told) X(ColorHotTo, 0xF9D2B2, Told)                                      \
    X(ColorMirror, 0xC0C0C0, Told) X(ColorMirrorTo, 0xFFFFFF, Told)                                \
    X(ColorMirrorHot, 0xF5C8AD, Told) X(ColorMirrorHotTo, 0xFFF8F4, Told)                          \
    X(ColorMirrorDown, 0xF5B49C, Told) X(ColorMirrorDownTo, 0xFFDFDC, Told)                        \
    X(ColorMirrorChecked, 0xF5B49C, Told) X(ColorMirrorCheckedTo, 0xFFDFDC, Told)                  \
    X(ColorMirrorDisabled, 0xB6B6B6, Told) X(ColorMirrorDisabledTo, 0xF2F2F2, Told)                \
    X(TextColorChecked, 0x000000, Told) X(TextColorDown, 0x000000, Told)                           \
    X(TextColorHot, 0x000000, Told) X(TextColorDisabled, 0x808080, Silent)                         \
    X(TextColor, ClassLib::clNone, Told)

#define ADVGLOW_APPEARANCE_GRADIENTS(X)                                                            \
    X(Gradient, ggVertical, Told) X(GradientMirror, ggVertical, Told)                              \
    X(GradientHot, ggRadial, Told) X(GradientMirrorHot, ggRadial, Told)                            \
    X(GradientDown, ggRadial, Told) X(GradientMirrorDown, ggRadial, Told)                          \
    X(GradientChecked, ggRadial, Told) X(GradientMirrorChecked, ggVertical, Told)                  \
    X(GradientDisabled, ggRadial, Told) X(GradientMirrorDisabled, ggRadial, Told)

#define ADVGLOW_APPEARANCE_FLAGS(X)                                                                \
    X(SystemFont, true, Told) X(TranspHover, false, Silent) X(NoBorderDefault, false, Silent)      \
    X(TranspOffice, false, Silent)

class TGlowButtonAppearance : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TGlowButtonAppearance, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TGlowButtonAppearance();

    // Back to the initial values, through the setters (so each real change is announced).
    void Init();
    // Copies every look from another appearance; the focus frame colour stays this one's.
    void Assign(const ClassLib::TPersistent* source) override;

#define ADVGLOW_ACCESSORS(Type, Name, Kind)                                                         \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(Type value) { Store##Kind(F##Name, value); }
#define ADVGLOW_COLOUR_ACCESSORS(Name, Initial, Kind) ADVGLOW_ACCESSORS(TColor, Name, Kind)
#define ADVGLOW_GRADIENT_ACCESSORS(Name, Initial, Kind) ADVGLOW_ACCESSORS(TGDIPGradient, Name, Kind)
#define ADVGLOW_FLAG_ACCESSORS(Name, Initial, Kind) ADVGLOW_ACCESSORS(bool, Name, Kind)
    ADVGLOW_APPEARANCE_COLOURS(ADVGLOW_COLOUR_ACCESSORS)
    ADVGLOW_APPEARANCE_GRADIENTS(ADVGLOW_GRADIENT_ACCESSORS)
    ADVGLOW_APPEARANCE_FLAGS(ADVGLOW_FLAG_ACCESSORS)
#undef ADVGLOW_COLOUR_ACCESSORS
#undef ADVGLOW_GRADIENT_ACCESSORS
#undef ADVGLOW_FLAG_ACCESSORS
#undef ADVGLOW_ACCESSORS

    ClassLib::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    template <class T> void StoreTold(T& field, T value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    template <class T> void StoreSilent(T& field, T value) { field = value; }

#define ADVGLOW_FIELD(Name, Initial, Kind) TColor F##Name = TColor(Initial);
    ADVGLOW_APPEARANCE_COLOURS(ADVGLOW_FIELD)
#undef ADVGLOW_FIELD
#define ADVGLOW_FIELD(Name, Initial, Kind) TGDIPGradient F##Name = Initial;
    ADVGLOW_APPEARANCE_GRADIENTS(ADVGLOW_FIELD)
#undef ADVGLOW_FIELD
#define ADVGLOW_FIELD(Name, Initial, Kind) bool F##Name = Initial;
    ADVGLOW_APPEARANCE_FLAGS(ADVGLOW_FIELD)
#undef ADVGLOW_FIELD
};

// The seven values of one look: two upper colours, two mirror colours, the border and
// the two gradient kinds.
struct TGlowLook {
    TColor Color, ColorTo, ColorMirror, ColorMirrorTo, Border;
    TGDIPGradient Gradient, GradientMirror;
};
enum class TLookKind { Normal, Hot, Down, Checked, Disabled };
TGlowLook LookOf(const TGlowButtonAppearance& appearance, TLookKind kind);

}  // namespace AdvGlowButton
