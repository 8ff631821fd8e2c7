#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/Date.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

using namespace platform;

namespace {
double secondsSince(Date start) {
    return Date::now().timeIntervalSince1970() - start.timeIntervalSince1970();
}
}  // namespace

TEST(RunLoop, RealTimerFiresWhileTheLoopRuns) {
    RunLoop& loop = RunLoop::mainRunLoop();
    EXPECT_EQ(&loop, &RunLoop::currentRunLoop());
    int fired = 0;
    Date start = Date::now();
    std::weak_ptr<Timer> timer = Timer::scheduledTimerWithTimeInterval(0.02, [&](Timer&) {
        ++fired;
        RunLoop::mainRunLoop().stop();
    });
    loop.runUntilDate(start.dateByAddingTimeInterval(10));
    EXPECT_EQ(fired, 1);
    EXPECT_LT(secondsSince(start), 5.0);  // stopped by the timer, long before the limit
    EXPECT_TRUE(timer.expired());
    EXPECT_FALSE(loop.isRunning());
}

TEST(RunLoop, InvalidatedTimerNeverFires) {
    int fired = 0;
    auto timer = Timer::scheduledTimerWithTimeInterval(0.01, [&](Timer&) { ++fired; });
    timer->invalidate();
    RunLoop::mainRunLoop().runUntilDate(Date::now().dateByAddingTimeInterval(0.05));
    EXPECT_EQ(fired, 0);
}

TEST(RunLoop, RunUntilDateReturnsWhenTheMomentPasses) {
    Date start = Date::now();
    RunLoop::mainRunLoop().runUntilDate(start.dateByAddingTimeInterval(0.05));
    double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, 0.04);
    EXPECT_LT(elapsed, 5.0);
    RunLoop::mainRunLoop().runUntilDate(start);  // already past: returns at once
}

TEST(RunLoop, BlocksRunOnTheNextTurnAndRunsNest) {
    RunLoop& loop = RunLoop::mainRunLoop();
    int ran = 0;
    loop.performBlock([&] { ++ran; });
    EXPECT_EQ(ran, 0);
    while (loop.iterate(false)) {
    }
    EXPECT_EQ(ran, 1);

    // A modal run inside a run: stop() ends the inner one only.
    bool innerReturned = false;
    loop.performBlock([&] {
        loop.performBlock([&] { loop.stop(); });
        loop.run();
        innerReturned = true;
        loop.stop();
    });
    loop.run();
    EXPECT_TRUE(innerReturned);
    EXPECT_FALSE(loop.isRunning());
    loop.stop();  // not running: harmless
}
