#pragma once
// The menu family's small utilities: the error of an indexed colour property asked for
// an index it does not have, and the layered-window entries the unit looks up at start.
#include "classlib/Exceptions.h"

namespace AdvMenuUtil {

// "Invalid property index %d." with the index.
class EInvalidPropertyIndex : public ClassLib::Exception {
public:
    explicit EInvalidPropertyIndex(int index);
};

// The unit's start-up: looks up UpdateLayeredWindow and SetLayeredWindowAttributes in
// user32.dll. Nothing in the menus calls them; they are kept for code that may.
void InitLayeredWindowEntries();
void* UpdateLayeredWindowEntry();
void* SetLayeredWindowAttributesEntry();
// True once SetLayeredWindowAttributes was found.
bool LayeredWindowsAvailable();

}  // namespace AdvMenuUtil
