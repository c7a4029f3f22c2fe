#pragma once
// The menu button: the toolbar button a menu bar shows for each top-level menu item. It takes
// its colours from the toolbar's styler and, on a menu bar, from the root-item colours of the
// styler's menu styler, and draws its own face.
#include "toolbars/AdvToolBarButton.h"

namespace AdvToolBar {

class TAdvToolBarMenuButton : public TAdvCustomToolBarButton {
    CLASSLIB_CLASS(TAdvToolBarMenuButton, TAdvCustomToolBarButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarMenuButton(ClassLib::TComponent* owner);

    TToolBarItemKind ToolBarItemKind() const override { return TToolBarItemKind::MenuButton; }
    bool IsMenuButton() const override { return true; }

protected:
    void DrawBackground(ClassLib::TCanvas* canvas) override;
};

}  // namespace AdvToolBar
