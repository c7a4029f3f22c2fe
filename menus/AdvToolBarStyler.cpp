#include "menus/AdvToolBarStyler.h"

#include "classlib/Properties.h"

namespace AdvToolBar {

CLASSLIB_IMPLEMENT(TCustomAdvToolBarStyler, ClassLib::TComponent)

TCustomAdvToolBarStyler::TCustomAdvToolBarStyler(ClassLib::TComponent* owner)
    : ClassLib::TComponent(owner),
      FGlowButtonAppearance(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()),
      FCompactGlowButtonAppearance(std::make_unique<AdvGlowButton::TGlowButtonAppearance>()) {}

TCustomAdvToolBarStyler::~TCustomAdvToolBarStyler() = default;

const ClassLib::TPropertyList& TCustomAdvToolBarStyler::Published() {
    using S = TCustomAdvToolBarStyler;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TComponent::Published())
        .SubObject(L"GlowButtonAppearance", &S::GlowButtonAppearance)
        .SubObject(L"CompactGlowButtonAppearance", &S::CompactGlowButtonAppearance);
    return list;
}

}  // namespace AdvToolBar
