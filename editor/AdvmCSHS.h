#pragma once
// The C-family syntax styler, and the settings the main window stores for its C panes.
#include "editor/AdvMemoStylers.h"

namespace AdvmCSHS {

class TAdvCSharpMemoStyler : public AdvMemo::TAdvCustomMemoStyler {
    CLASSLIB_CLASS(TAdvCSharpMemoStyler, AdvMemo::TAdvCustomMemoStyler)
public:
    explicit TAdvCSharpMemoStyler(ClassLib::TComponent* owner);
    static const ClassLib::TPropertyList& Published();
};

// Applies the stored settings of the main window's C styler, as loading its window
// description does: the groups, colours and texts replace the constructor's.
void ApplyCMemoStylerSettings(TAdvCSharpMemoStyler& styler);
// A new styler named "CMemoStyler" with those settings.
TAdvCSharpMemoStyler* CreateCMemoStyler(ClassLib::TComponent* owner);

}  // namespace AdvmCSHS
