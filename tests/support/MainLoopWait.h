#pragma once

#include <chrono>
#include <functional>

#include "platform/foundation/Date.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/Patience.h"

// Turns the main loop until the condition holds, for as long as the patience lasts; whether it
// held. For tests only: the program itself never waits in a nested loop.
inline bool turnTheLoopUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds patience = kPatience) {
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        platform::RunLoop::mainRunLoop().runUntilDate(
            platform::Date::now().dateByAddingTimeInterval(0.005));
    }
    return true;
}
