#include "ribbon/AdvQuickAccessToolBar.h"

namespace AdvToolBar {

CLASSLIB_IMPLEMENT(TAdvQuickAccessToolBar, ClassLib::TCustomControl)

}  // namespace AdvToolBar
