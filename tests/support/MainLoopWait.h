#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "tests/support/Patience.h"

// Turns the main loop until the condition holds, for as long as the patience lasts; whether it
// held. For tests and benchmarks only: the program itself never waits in a nested loop.
inline bool turnTheLoopUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds patience = kPatience) {
    if (condition()) return true;
    // Each turn waits for something to happen; the timer is what happens when nothing else does.
    bool expired = false;
    std::weak_ptr<platform::Timer> limit = platform::Timer::scheduledTimerWithTimeInterval(
        std::chrono::duration<double>(patience).count(),
        [&expired](platform::Timer&) { expired = true; });
    while (!condition() && !expired) platform::RunLoop::mainRunLoop().iterate(true);
    if (auto timer = limit.lock()) timer->invalidate();
    return condition();
}
