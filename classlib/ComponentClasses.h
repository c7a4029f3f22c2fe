#pragma once
// The class library's components that window descriptions create by name.
#include <vector>

namespace ClassLib {

class TClass;

// Registers them. A program calls it (through its own registration) before it reads a
// description: naming each class here is also what links its unit in, since a static
// library leaves out a unit nothing refers to, and its self-registration with it.
// Returns the classes it registered.
std::vector<const TClass*> RegisterComponentClasses();

}  // namespace ClassLib
