#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/Timer.h"

using namespace platform;

TEST(ManualClockTimer, FiresOnceAfterItsIntervalAndNotBefore) {
    ManualClock clock;
    int fired = 0;
    bool validInBlock = true;
    std::weak_ptr<Timer> timer = Timer::scheduledTimerWithTimeInterval(0.5, [&](Timer& t) {
        ++fired;
        validInBlock = t.isValid();
    });
    ASSERT_FALSE(timer.expired());  // the clock holds it
    EXPECT_TRUE(timer.lock()->isValid());
    EXPECT_EQ(timer.lock()->timeInterval(), 0.5);

    clock.advance(0.49);
    EXPECT_EQ(fired, 0);
    clock.advance(0.01);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(validInBlock);
    EXPECT_DOUBLE_EQ(clock.now(), 0.5);
    clock.advance(10);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(timer.expired());  // fired: the clock let it go
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
}

TEST(ManualClockTimer, InvalidateAndFireByHand) {
    ManualClock clock;
    int fired = 0;
    auto held = Timer::scheduledTimerWithTimeInterval(0.5, [&](Timer&) { ++fired; });
    held->invalidate();
    EXPECT_FALSE(held->isValid());
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
    clock.advance(1);
    held->fire();  // an invalid timer does nothing
    held->invalidate();
    EXPECT_EQ(fired, 0);

    auto early = Timer::scheduledTimerWithTimeInterval(2.0, [&](Timer&) { ++fired; });
    early->fire();
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(early->isValid());
    clock.advance(5);
    EXPECT_EQ(fired, 1);
}

TEST(ManualClockTimer, DueOrderNestedSchedulingAndInvalidationFromABlock) {
    ManualClock clock;
    std::vector<int> order;
    std::shared_ptr<Timer> victim;
    Timer::scheduledTimerWithTimeInterval(2.0, [&](Timer&) { order.push_back(2); });
    Timer::scheduledTimerWithTimeInterval(0.5, [&](Timer&) {
        order.push_back(1);
        // Scheduled at 0.5, due at 1.0: within this advance.
        Timer::scheduledTimerWithTimeInterval(0.5, [&](Timer&) { order.push_back(15); });
        victim->invalidate();
    });
    victim = Timer::scheduledTimerWithTimeInterval(0.75, [&](Timer&) { order.push_back(99); });
    Timer::scheduledTimerWithTimeInterval(0.5,
                                          [&](Timer&) { order.push_back(11); });  // same moment
    clock.advance(3);
    EXPECT_EQ(order, (std::vector<int>{1, 11, 15, 2}));
}

TEST(ManualClockTimer, IntervalsThatAreNotPositiveBecomeTheShortest) {
    ManualClock clock;
    int fired = 0;
    auto zero = Timer::scheduledTimerWithTimeInterval(0, [&](Timer&) { ++fired; });
    auto negative = Timer::scheduledTimerWithTimeInterval(-3, [&](Timer&) { ++fired; });
    EXPECT_GT(zero->timeInterval(), 0);
    EXPECT_EQ(negative->timeInterval(), zero->timeInterval());
    clock.advance(0);
    EXPECT_EQ(fired, 0);
    clock.advance(0.001);
    EXPECT_EQ(fired, 2);
}

TEST(ManualClockTimer, ClocksNestAndInvalidateWhatTheyLeaveBehind) {
    int fired = 0;
    ManualClock outer;
    std::shared_ptr<Timer> stranded;
    {
        ManualClock inner;
        stranded = Timer::scheduledTimerWithTimeInterval(1, [&](Timer&) { ++fired; });
        EXPECT_EQ(inner.pendingTimerCount(), 1u);
        EXPECT_EQ(outer.pendingTimerCount(), 0u);
    }
    EXPECT_FALSE(stranded->isValid());
    auto later = Timer::scheduledTimerWithTimeInterval(1, [&](Timer&) { ++fired; });
    EXPECT_EQ(outer.pendingTimerCount(), 1u);  // the outer clock is current again
    outer.advance(1);
    EXPECT_EQ(fired, 1);
}
