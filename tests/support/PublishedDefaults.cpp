#include "support/PublishedDefaults.h"

#include <gtest/gtest.h>

#include "classlib/Properties.h"

namespace TestSupport {

int ExpectPublishedDefaults(const ClassLib::TObject* object) {
    int checked = 0;
    for (const ClassLib::TPropInfo& info : object->ClassType().Published()) {
        if (!info.OrdDefault && !info.FloatDefault && !info.StringDefault) continue;
        EXPECT_TRUE(info.IsDefault(object)) << testing::PrintToString(object->ClassName() + L"." + info.Name);
        ++checked;
    }
    return checked;
}

}  // namespace TestSupport
