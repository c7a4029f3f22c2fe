#pragma once
// A glow button that is a menu button: it drops down its menu from a split part, 32 wide.
#include "controls/AdvGlowButton.h"

namespace AdvToolBar {

class TAdvGlowMenuButton : public AdvGlowButton::TAdvCustomGlowButton {
    CLASSLIB_CLASS(TAdvGlowMenuButton, AdvGlowButton::TAdvCustomGlowButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvGlowMenuButton(ClassLib::TComponent* owner);
    bool IsMenuButton() const override { return true; }
};

}  // namespace AdvToolBar
