#include "toolbars/AdvToolBar.h"

#include "classlib/Properties.h"

namespace AdvToolBar {

CLASSLIB_IMPLEMENT(TAdvCustomToolBar, ClassLib::TCustomControl)
CLASSLIB_IMPLEMENT(TAdvToolBar, TAdvCustomToolBar)

const ClassLib::TPropertyList& TAdvToolBar::Published() {
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(TAdvCustomToolBar::Published())
        .Reference(L"ToolBarStyler", &TAdvToolBar::ToolBarStyler, &TAdvToolBar::SetToolBarStyler);
    return list;
}

TAdvToolBar::~TAdvToolBar() {
    if (FToolBarStyler) FToolBarStyler->RemoveControl(this);
}

void TAdvToolBar::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (FToolBarStyler) FToolBarStyler->RemoveControl(this);
    FToolBarStyler = value;
    if (value) value->AddControl(this);
    NotifyControls(ClassLib::CM_STYLECHANGED);
}

void TAdvToolBar::StylerChanged(int /*code*/) { NotifyControls(ClassLib::CM_STYLECHANGED); }

const AdvGlowButton::TGlowButtonAppearance* TAdvToolBar::GlowButtonStylerAppearance() const {
    return FToolBarStyler ? FToolBarStyler->GlowButtonAppearance() : nullptr;
}

void TAdvToolBar::Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) {
    TAdvCustomToolBar::Notification(component, operation);
    if (operation == ClassLib::opRemove && component == FToolBarStyler) FToolBarStyler = nullptr;
}

}  // namespace AdvToolBar
