#pragma once
// Helpers for tests that need real windows: they run only where an X display exists.
#include <gtest/gtest.h>

namespace TestSupport {
// True when Wine can create windows here (an X display was given to the run).
bool HasDisplay();
// Runs the calling thread's message queue until it is empty.
void PumpMessages();
}

#define REQUIRE_DISPLAY() \
    do { if (!TestSupport::HasDisplay()) GTEST_SKIP() << "no X display for window tests"; } while (0)
