#pragma once
// Stand-ins for the docking toolbar classes the glow button knows: a toolbar parent tells
// its glow buttons its styler's looks. The toolbar work replaces them with the real ones.
#include "classlib/Control.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarPaint.h"  // ColorToARGB and the other painting routines of the unit
#include "menus/AdvToolBarStyler.h"

namespace AdvToolBar {

class TAdvCustomToolBar : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TAdvCustomToolBar, ClassLib::TCustomControl)
public:
    explicit TAdvCustomToolBar(ClassLib::TComponent* owner) : ClassLib::TCustomControl(owner) {}
};

class TAdvToolBar : public TAdvCustomToolBar, public AdvGlowButton::IGlowButtonStyler, public IToolBarStylerClient {
    CLASSLIB_CLASS(TAdvToolBar, TAdvCustomToolBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBar(ClassLib::TComponent* owner) : TAdvCustomToolBar(owner) {}
    ~TAdvToolBar() override;
    TCustomAdvToolBarStyler* ToolBarStyler() const override { return FToolBarStyler; }
    // The buttons take the styler's looks at once, and again at each change it tells.
    void SetToolBarStyler(TCustomAdvToolBarStyler* value) override;
    TStylerClientKind StylerClientKind() const override { return TStylerClientKind::ToolBar; }
    void StylerChanged(int code) override;
    const AdvGlowButton::TGlowButtonAppearance* GlowButtonStylerAppearance() const override;
protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
private:
    TCustomAdvToolBarStyler* FToolBarStyler = nullptr;
};

}  // namespace AdvToolBar
