#pragma once
// Every class the program's window descriptions may name.
#include <vector>

namespace ClassLib {
class TClass;
}

namespace AppClasses {

// Registers the class library's and the editor's components and the program's own.
// Each window calls it before it reads its description, so no class can be missing
// from the link or the registry when a description names it; calling it again is cheap.
// Returns every class it registered.
const std::vector<const ClassLib::TClass*>& RegisterAppClasses();

}  // namespace AppClasses
