#pragma once
// The editor's components that window descriptions create by name.
#include <vector>

namespace ClassLib {
class TClass;
}

namespace AdvMemo {

// Registers the memo, its shared line source, the styler list and the stylers. Naming
// each class here also links its unit into a program (see ClassLib::RegisterComponentClasses).
// Returns the classes it registered.
std::vector<const ClassLib::TClass*> RegisterEditorClasses();

}  // namespace AdvMemo
