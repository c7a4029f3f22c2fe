#pragma once
// What the toolbar painters' tests share: the one GDI+ session of the test executable.
#include "graphics/AdvGDIPStartup.h"

namespace ToolBarPaintTests {

inline const AdvGDIPStartup::TGdiplusSession& GdiplusSession() {
    static const AdvGDIPStartup::TGdiplusSession session;
    return session;
}

}  // namespace ToolBarPaintTests
