#pragma once
// Stand-in for the ribbon's quick access toolbar: the glow-button painter knows it by its
// class name. The ribbon work replaces it with the real one.
#include "classlib/Control.h"

namespace AdvToolBar {

class TAdvQuickAccessToolBar : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TAdvQuickAccessToolBar, ClassLib::TCustomControl)
public:
    explicit TAdvQuickAccessToolBar(ClassLib::TComponent* owner) : ClassLib::TCustomControl(owner) {}
};

}  // namespace AdvToolBar
