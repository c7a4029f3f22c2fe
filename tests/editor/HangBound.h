#pragma once
// A bound on the time some work takes, set far above what it needs: it catches work that
// hangs (or has grown quadratic on large input), never a slow machine. No speed assertion.
#include <gtest/gtest.h>

#include <chrono>

namespace EditorTests {

constexpr std::chrono::seconds HangBound{20};

template <typename TWork>
void ExpectNoHang(TWork&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto took = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(took, HangBound) << "took " << took.count() << " s: hangs or grows quadratic";
}

}  // namespace EditorTests
