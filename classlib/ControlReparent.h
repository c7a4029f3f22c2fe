#pragma once
// Moving a windowed control to another parent while it keeps its window and its children's
// windows, so that a mouse capture it holds survives (a toolbar dragged from its dock into a
// floating window and back). The plain SetParent makes the window again under the new parent.
#include "classlib/Control.h"

namespace ClassLib {

// The window is re-parented and its child or pop-up style follows; without a window (or
// the new parent's) it is the plain SetParent.
void MoveWindowToParent(TWinControl* control, TWinControl* parent);

}  // namespace ClassLib
