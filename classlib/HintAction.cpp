#include "classlib/HintAction.h"

namespace ClassLib {
CLASSLIB_IMPLEMENT(THintAction, TComponent)
}
