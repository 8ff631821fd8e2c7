#include <gtest/gtest.h>

#include <thread>

#include "platform/foundation/Log.h"
#include "tests/support/ScopedEnvironment.h"

using platform::LogCapture;

TEST(Log, CaptureReceivesLinesVerbatimIncludingChinese) {
    LogCapture capture;
    platform::log("DB Path: /tmp/x.db");
    platform::logf("%s note 插入成功！", "-[DBUtil insertNote:]");
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[1], "-[DBUtil insertNote:] note 插入成功！");
    EXPECT_TRUE(capture.contains("插入成功"));
    capture.clear();
    EXPECT_TRUE(capture.lines().empty());
}

TEST(Log, NestedCaptureTakesLinesUntilItEnds) {
    LogCapture outer;
    {
        LogCapture inner;
        platform::log("inner");
        EXPECT_EQ(inner.lines().size(), 1u);
    }
    platform::log("outer");
    ASSERT_EQ(outer.lines().size(), 1u);
    EXPECT_EQ(outer.lines()[0], "outer");
}

TEST(Log, LinesFromSeveralThreadsAreAllKept) {
    LogCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 100; ++i) platform::log("line");
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(capture.lines().size(), 800u);
}

TEST(Log, FormatHandlesLongTextWithoutTruncation) {
    std::string big(5000, 'x');
    EXPECT_EQ(platform::stringWithFormat("%s|%d", big.c_str(), 7), big + "|7");
}

// Typed text must never reach the system log of a user who did not ask for debugging.
TEST(Log, TypedLinesOnlyWhileDebugging) {
    ScopedEnvironment quillora("QUILLORA_LOG", std::nullopt);
    ScopedEnvironment zelvo("ZELVO_LOG", std::nullopt);
    LogCapture capture;
    platform::logDebug("keyCode is 11");
    platform::logfDebug("current String is %s", "secret");
    EXPECT_FALSE(platform::isDebugLogging());
    EXPECT_TRUE(capture.lines().empty());
    {
        ScopedEnvironment empty("QUILLORA_LOG", std::string());
        platform::logDebug("still off");
        EXPECT_TRUE(capture.lines().empty());
    }
    ScopedEnvironment on("QUILLORA_LOG", std::string("stderr"));
    platform::logfDebug("current String is %s", "bar");
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0], "current String is bar");
}
