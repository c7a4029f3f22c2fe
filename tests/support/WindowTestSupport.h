#pragma once
// Helpers for tests that need real windows: they run only where an X display exists.
#include <gtest/gtest.h>

#include <functional>

namespace TestSupport {
// True when Wine can create windows here (an X display was given to the run).
bool HasDisplay();
// True when the run promised a display (the test script sets ATGEN_REQUIRE_DISPLAY=1),
// so that a broken X set-up fails the window tests instead of skipping them quietly.
bool DisplayRequired();
// Runs the calling thread's message queue until it is empty.
void PumpMessages();
// Runs the queue, waking for sent messages too (a worker thread's sends are delivered
// here), until `done` or the bound; false when the bound came first. The bound only
// catches a hang, it is not a speed goal.
bool PumpUntil(const std::function<bool()>& done, unsigned boundMs = 15000);
}

#define REQUIRE_DISPLAY()                                                              \
    do {                                                                               \
        if (!TestSupport::HasDisplay()) {                                              \
            if (TestSupport::DisplayRequired()) FAIL() << "no usable X display for window tests"; \
            GTEST_SKIP() << "no X display for window tests";                           \
        }                                                                              \
    } while (0)
