#include "ToolBarTestItems.h"

CLASSLIB_IMPLEMENT(TTestSeparator, ClassLib::TGraphicControl)
