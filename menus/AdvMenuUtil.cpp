#include "menus/AdvMenuUtil.h"

#include <windows.h>

#include "classlib/Strings.h"

namespace AdvMenuUtil {

EInvalidPropertyIndex::EInvalidPropertyIndex(int index)
    : Exception(ClassLib::Format(L"Invalid property index %d.", index)) {}

namespace {
void* UpdateLayeredWindowAddress = nullptr;
void* SetLayeredWindowAttributesAddress = nullptr;
bool LayeredAvailable = false;
}  // namespace

void InitLayeredWindowEntries() {
    LayeredAvailable = false;
    HMODULE user32 = ::LoadLibraryW(L"user32.dll");
    if (!user32) return;
    UpdateLayeredWindowAddress = reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow"));
    SetLayeredWindowAttributesAddress = reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes"));
    // user32 stays loaded by the program itself, so the addresses outlive this reference.
    ::FreeLibrary(user32);
    LayeredAvailable = SetLayeredWindowAttributesAddress != nullptr;
}

void* UpdateLayeredWindowEntry() { return UpdateLayeredWindowAddress; }
void* SetLayeredWindowAttributesEntry() { return SetLayeredWindowAttributesAddress; }
bool LayeredWindowsAvailable() { return LayeredAvailable; }

}  // namespace AdvMenuUtil
