#include "toolbars/AdvGlowMenuButton.h"

#include "classlib/Menus.h"
#include "classlib/Properties.h"

namespace AdvToolBar {

using namespace ClassLib;
using namespace AdvGlowButton;

CLASSLIB_IMPLEMENT(TAdvGlowMenuButton, AdvGlowButton::TAdvCustomGlowButton)

TAdvGlowMenuButton::TAdvGlowMenuButton(TComponent* owner) : TAdvCustomGlowButton(owner) {
    SetDropDownButton(true);
    SetWidth(32);
}

const TPropertyList& TAdvGlowMenuButton::Published() {
    using B = TAdvCustomGlowButton;
    // DropDownButton is declared without a default: the constructor turns it on, so a stored
    // window always says which it is.
    static const TPropertyList list =
        TPropertyList::Extend(TAdvCustomGlowButton::Published())
            .SubObject(L"Appearance", &B::Appearance)
            .Add(L"DropDownButton", &B::DropDownButton, &B::SetDropDownButton)
            .Enum(L"DropDownPosition", L"TDropDownPosition", &B::DropDownPosition, &B::SetDropDownPosition,
                  {L"dpRight", L"dpBottom"}, dpRight)
            .Add(L"DropDownSplit", &B::DropDownSplit, &B::SetDropDownSplit, true)
            .Reference(L"DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu)
            .Add(L"DropDownWidth", &B::DropDownWidth, &B::SetDropDownWidth, 14)
            .Enum(L"Layout", L"TButtonLayout", &B::Layout, &B::SetLayout,
                  {L"blGlyphLeft", L"blGlyphTop", L"blGlyphRight", L"blGlyphBottom", L"blGlyphLeftAdjusted",
                   L"blGlyphRightAdjusted", L"blGlyphTopAdjusted", L"blGlyphBottomAdjusted"},
                  blGlyphLeft)
            .Event(L"OnDropDown", &B::OnDropDown);
    return list;
}

}  // namespace AdvToolBar
