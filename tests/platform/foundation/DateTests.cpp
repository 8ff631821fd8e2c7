#include <gtest/gtest.h>

#include "platform/foundation/Date.h"

using platform::Date;

TEST(Date, KeepsFractionalSecondsAndOrders) {
    Date a = Date::dateWithTimeIntervalSince1970(1700000000.25);
    EXPECT_DOUBLE_EQ(a.timeIntervalSince1970(), 1700000000.25);
    Date b = a.dateByAddingTimeInterval(0.5);
    EXPECT_LT(a, b);
    EXPECT_EQ(
        std::chrono::duration_cast<std::chrono::milliseconds>(b.timePoint().time_since_epoch())
            .count(),
        1700000000750);
    EXPECT_GT(Date::now(), a);
}
