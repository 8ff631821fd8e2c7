#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "notes/store/SQLite/DBUtil.h"
#include "sqdb/SQDatabaseQueue.h"
#include "sqdb/SQResultSet.h"

TEST(DBUtilInstance, OneSharedInstanceForAllThreads) {
    std::vector<DBUtil*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (auto& slot : seen) threads.emplace_back([&slot] { slot = &DBUtil::sharedDB(); });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(std::set<DBUtil*>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_EQ(seen.front(), &DBUtil::sharedDB());
}

TEST(DBUtilInstance, QueueRunsWorkAndCanBeReplaced) {
    DBUtil util;
    ASSERT_NE(util.queue(), nullptr);
    int answer = 0;
    util.queue()->inDatabase([&](SQDatabase* db) {
        ASSERT_NE(db, nullptr);
        ASSERT_TRUE(db->executeUpdate("create table t (a)"));
        ASSERT_TRUE(db->executeUpdate("insert into t values (?)", 42));
        auto rs = db->executeQuery("select a from t");
        if (rs && rs->next()) answer = rs->intForColumnIndex(0);
    });
    EXPECT_EQ(answer, 42);

    auto replacement = SQDatabaseQueue::databaseQueue();
    SQDatabaseQueue* raw = replacement.get();
    util.setQueue(std::move(replacement));
    EXPECT_EQ(util.queue(), raw);
    util.setQueue(nullptr);
    EXPECT_EQ(util.queue(), nullptr);
}
