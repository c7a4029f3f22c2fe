#pragma once
// The showcase: one small program (not shipped) that shows the library's controls before
// the main window uses them, so they can be driven and photographed under Xvfb.
//
// A page is a function that fills an empty window with controls. Each page lives in its own
// file of this folder and registers itself once:
//
//   static const Showcase::TPageRegistration page(L"glow", [](ClassLib::TForm* form) {
//       auto* button = new AdvGlowButton::TAdvGlowButton(form);
//       button->SetParent(form);
//       ...
//   });
//
// "Showcase.exe glow" opens that page; "Showcase.exe" lists the pages and opens the first.
#include <functional>
#include <map>
#include <string>

#include "classlib/Form.h"

namespace Showcase {

using TPageBuilder = std::function<void(ClassLib::TForm* form)>;

// The registered pages by name, in name order.
const std::map<std::wstring, TPageBuilder>& Pages();

struct TPageRegistration {
    TPageRegistration(const wchar_t* name, TPageBuilder build);
};

}  // namespace Showcase
