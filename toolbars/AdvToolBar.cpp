#include "toolbars/AdvToolBar.h"

#include "classlib/Properties.h"
#include "menus/AdvToolBarStyler.h"

namespace AdvToolBar {

CLASSLIB_IMPLEMENT(TAdvCustomToolBar, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvToolBar, TAdvCustomToolBar)

const ClassLib::TPropertyList& TAdvToolBar::Published() {
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(TAdvCustomToolBar::Published())
        .Reference(L"ToolBarStyler", &TAdvToolBar::ToolBarStyler, &TAdvToolBar::SetToolBarStyler);
    return list;
}

void TAdvToolBar::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    FToolBarStyler = value;
    if (value) value->FreeNotification(this);
    NotifyControls(ClassLib::CM_STYLECHANGED);
}

const AdvGlowButton::TGlowButtonAppearance* TAdvToolBar::GlowButtonStylerAppearance() const {
    return FToolBarStyler ? FToolBarStyler->GlowButtonAppearance() : nullptr;
}

void TAdvToolBar::Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) {
    TAdvCustomToolBar::Notification(component, operation);
    if (operation == ClassLib::opRemove && component == FToolBarStyler) FToolBarStyler = nullptr;
}

}  // namespace AdvToolBar
