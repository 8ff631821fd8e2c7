#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"

using namespace platform;

TEST(NotificationCenter, DeliversByNameWithObjectAndInfo) {
    NotificationCenter center;
    std::vector<std::string> seen;
    auto named = center.addObserver("NOTI_A", [&](const Notification& n) {
        ASSERT_NE(n.objectAs<std::string>(), nullptr);
        seen.push_back("A:" + *n.objectAs<std::string>() + ":" + n.userInfo.at("k").description());
    });
    auto all = center.addObserver("", [&](const Notification& n) { seen.push_back("*" + n.name); });
    center.postNotificationName("NOTI_A", std::string("group_work"), {{"k", Value(3)}});
    center.postNotificationName("NOTI_B");
    EXPECT_EQ(seen, (std::vector<std::string>{"A:group_work:3", "*NOTI_A", "*NOTI_B"}));
    EXPECT_NE(named, all);
}

TEST(NotificationCenter, ObserverRemovedDuringAPostIsNotCalledAfterwards) {
    NotificationCenter center;
    int second = 0;
    NotificationCenter::Token secondToken = 0;
    center.addObserver("N", [&](const Notification&) { center.removeObserver(secondToken); });
    secondToken = center.addObserver("N", [&](const Notification&) { ++second; });
    center.postNotificationName("N");
    center.postNotificationName("N");
    EXPECT_EQ(second, 0);
}

TEST(NotificationCenter, ObserverMayRegisterAnotherWhileBeingCalled) {
    NotificationCenter center;
    int late = 0;
    center.addObserver("N", [&](const Notification&) {
        center.addObserver("N", [&](const Notification&) { ++late; });
    });
    center.postNotificationName("N");  // the new observer joins the next post, not this one
    EXPECT_EQ(late, 0);
    center.postNotificationName("N");
    EXPECT_EQ(late, 1);
}

TEST(NotificationCenter, MainQueueDeliveryWaitsForTheRunLoop) {
    NotificationCenter center;
    int calls = 0;
    auto token = center.addObserver(
        "N", [&](const Notification&) { ++calls; }, NotificationCenter::Delivery::MainQueue);
    center.postNotificationName("N");
    EXPECT_EQ(calls, 0);
    while (RunLoop::mainRunLoop().iterate(false)) {
    }
    EXPECT_EQ(calls, 1);

    // Removed before the loop turns: the queued delivery is dropped.
    center.postNotificationName("N");
    center.removeObserver(token);
    while (RunLoop::mainRunLoop().iterate(false)) {
    }
    EXPECT_EQ(calls, 1);
}
