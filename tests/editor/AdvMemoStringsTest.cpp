#include "editor/AdvMemo.h"

#include <gtest/gtest.h>

using namespace AdvMemo;

TEST(AdvMemoStrings, NewMemoHasOneEmptyLine) {
    TAdvMemo memo;
    EXPECT_EQ(memo.Lines()->Count(), 1);
    EXPECT_EQ(memo.Lines()->Text(), L"");
}
