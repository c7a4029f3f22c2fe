// The page that is always there: says what the showcase is for.
#include "classlib/StandardControls.h"
#include "showcase/ShowcasePages.h"

namespace {
const Showcase::TPageRegistration page(L"about", [](ClassLib::TForm* form) {
    auto* label = new ClassLib::TLabel(form);
    label->SetParent(form);
    label->SetBounds(16, 16, 600, 40);
    label->SetCaption(L"Start the showcase with a page name to see that page's controls.");
});
}  // namespace
