#pragma once
// The state the system hands to an owner-drawn item (list, combo box or menu item).
#include <cstdint>

namespace ClassLib {

// The bits are the system's own ODS_ values, so a state converts by a mask.
enum TOwnerDrawStateFlag : std::uint32_t {
    odSelected = 0x0001, odGrayed = 0x0002, odDisabled = 0x0004, odChecked = 0x0008,
    odFocused = 0x0010, odDefault = 0x0020, odHotLight = 0x0040, odInactive = 0x0080,
    odNoAccel = 0x0100, odNoFocusRect = 0x0200, odComboBoxEdit = 0x1000,
};
using TOwnerDrawState = std::uint32_t;

// The state of a DRAWITEMSTRUCT's itemState.
constexpr TOwnerDrawState OwnerDrawStateOf(std::uint32_t itemState) {
    return itemState & (odSelected | odGrayed | odDisabled | odChecked | odFocused | odDefault | odHotLight |
                        odInactive | odNoAccel | odNoFocusRect | odComboBoxEdit);
}

}  // namespace ClassLib
