#pragma once
// Building menus in the menu tests: one item under a parent, by caption.
#include <string>

#include "classlib/Menus.h"

namespace MenuTestSupport {

inline ClassLib::TMenuItem* Add(ClassLib::TMenuItem* parent, ClassLib::TComponent* owner, const std::wstring& caption) {
    auto* item = new ClassLib::TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

}  // namespace MenuTestSupport
