#include "classlib/UpdateScope.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/Exceptions.h"
#include "classlib/StringList.h"

using namespace ClassLib;

namespace {

// Counts its updates; EndUpdate throws when asked to, as a change handler may.
struct TUpdateCounter {
    int Depth = 0;
    int Ended = 0;
    bool ThrowOnEnd = false;
    void BeginUpdate() { ++Depth; }
    void EndUpdate() {
        --Depth;
        ++Ended;
        if (ThrowOnEnd) throw std::runtime_error("change handler failed");
    }
};

}  // namespace

TEST(UpdateScope, EndsTheUpdateOnEveryWayOut) {
    TUpdateCounter counter;
    {
        TUpdateScope outer(counter);
        TUpdateScope inner(counter);
        EXPECT_EQ(counter.Depth, 2);
    }
    EXPECT_EQ(counter.Depth, 0);

    EXPECT_THROW(
        {
            TUpdateScope update(counter);
            throw std::logic_error("work failed");
        },
        std::logic_error);
    EXPECT_EQ(counter.Depth, 0);
    EXPECT_EQ(counter.Ended, 3);
}

TEST(UpdateScope, AnExceptionFromEndingReachesTheCaller) {
    TUpdateCounter counter;
    counter.ThrowOnEnd = true;
    EXPECT_THROW({ TUpdateScope update(counter); }, std::runtime_error);
    EXPECT_EQ(counter.Depth, 0);
}

TEST(UpdateScope, WhileUnwindingTheFirstExceptionWins) {
    // A second exception out of a destructor during unwinding would end the program.
    TUpdateCounter counter;
    counter.ThrowOnEnd = true;
    EXPECT_THROW(
        {
            TUpdateScope update(counter);
            throw std::logic_error("work failed");
        },
        std::logic_error);
    EXPECT_EQ(counter.Depth, 0);
}

TEST(UpdateScope, AListThatFailsPartWayStillReportsLaterChanges) {
    TStringList source;
    source.Add(L"b");
    source.Add(L"a");
    source.Add(L"b");
    TStringList target;
    target.SetSorted(true);
    target.SetDuplicates(dupError);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(target.AddStrings(&source), EListError);
    EXPECT_EQ(target.UpdateCount(), 0);
    changes = 0;
    target.Add(L"c");
    EXPECT_EQ(changes, 1);
}
