#pragma once
// Timing shared by the benchmarks: the best of five runs and one printed row per figure.
#include <chrono>
#include <cstdio>
#include <functional>

namespace BenchSupport {

// The best of five runs, in milliseconds per call.
inline double MillisecondsPerCall(const std::function<void()>& call, int calls) {
    using TClock = std::chrono::steady_clock;
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = TClock::now();
        for (int i = 0; i < calls; ++i) call();
        const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count() / calls;
        if (ms < best) best = ms;
    }
    return best;
}

inline void Row(const char* what, double ms, double goal) {
    std::printf("%-34s %8.3f ms   goal %5.2f ms   ratio %5.2f\n", what, ms, goal, ms / goal);
}

}  // namespace BenchSupport
