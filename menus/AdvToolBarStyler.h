#pragma once
// Stand-in for the toolbar styler base: only the glow-button looks it hands to toolbars.
// The toolbar work replaces it with the full styler.
#include <memory>

#include "classlib/Object.h"
#include "controls/AdvGlowButtonAppearance.h"

namespace AdvToolBar {

class TCustomAdvToolBarStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TCustomAdvToolBarStyler, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TCustomAdvToolBarStyler(ClassLib::TComponent* owner);
    ~TCustomAdvToolBarStyler() override;
    AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
    AdvGlowButton::TGlowButtonAppearance* CompactGlowButtonAppearance() const {
        return FCompactGlowButtonAppearance.get();
    }
private:
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FGlowButtonAppearance;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FCompactGlowButtonAppearance;
};

}  // namespace AdvToolBar
