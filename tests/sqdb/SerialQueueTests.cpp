#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/foundation/SerialQueue.h"

using platform::SerialQueue;

TEST(SerialQueue, RunsBlocksOneAtATimeInOrder) {
    SerialQueue queue("test.order");
    EXPECT_EQ(queue.label(), "test.order");
    std::vector<int> order;
    std::atomic<int> running{0};
    bool overlapped = false;
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0) overlapped = true;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    // sync comes after everything handed in before it.
    queue.sync([&] { order.push_back(-1); });
    ASSERT_EQ(order.size(), 201u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(order.back(), -1);
    EXPECT_FALSE(overlapped);
}

TEST(SerialQueue, ManyThreadsShareItWithoutOverlap) {
    SerialQueue queue("test.threads");
    long total = 0;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 250; ++i) {
                queue.sync([&] {
                    if (running.fetch_add(1) != 0) overlapped = true;
                    ++total;
                    running.fetch_sub(1);
                });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(total, 2000);
    EXPECT_FALSE(overlapped);
}

TEST(SerialQueue, KnowsWhetherTheCallerRunsOnIt) {
    SerialQueue queue("test.current");
    SerialQueue other("test.other");
    EXPECT_FALSE(queue.isCurrent());
    EXPECT_EQ(SerialQueue::current(), nullptr);
    bool inside = false, otherInside = true, nested = false;
    queue.sync([&] {
        inside = queue.isCurrent();
        otherInside = other.isCurrent();
        other.sync([&] { nested = other.isCurrent() && !queue.isCurrent(); });
    });
    EXPECT_TRUE(inside);
    EXPECT_FALSE(otherInside);
    EXPECT_TRUE(nested);
}

TEST(SerialQueue, SyncPassesExceptionsOnAndKeepsWorking) {
    SerialQueue queue("test.throw");
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("boom"); }), std::runtime_error);
    int value = 0;
    queue.sync([&] { value = 1; });
    EXPECT_EQ(value, 1);
}

TEST(SerialQueue, DestructionRunsWhatIsQueued) {
    std::atomic<int> ran{0};
    {
        SerialQueue queue("test.drain");
        for (int i = 0; i < 50; ++i) queue.async([&] { ran.fetch_add(1); });
    }
    EXPECT_EQ(ran.load(), 50);
    // A queue that never ran a block has no worker to stop.
    SerialQueue idle("test.idle");
}
