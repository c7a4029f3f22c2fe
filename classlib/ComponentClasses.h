#pragma once
// The class library's components that window descriptions create by name.
namespace ClassLib {

// Registers them. A program calls it (through its own registration) before it reads a
// description: naming each class here is also what links its unit in, since a static
// library leaves out a unit nothing refers to, and its self-registration with it.
void RegisterComponentClasses();

}  // namespace ClassLib
