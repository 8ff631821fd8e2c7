#include <thread>
#include <vector>

#include "SQTestSupport.h"
#include "sqdb/SQDatabaseQueue.h"

using platform::LogCapture;

namespace {

int firstInt(SQDatabase* db, const std::string& sql) {
    auto rs = db->executeQuery(sql);
    int value = rs && rs->next() ? rs->intForColumnIndex(0) : -1;
    if (rs) rs->close();
    return value;
}

}  // namespace

class SQDatabaseQueueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = folder.file("queue.db");
        queue = SQDatabaseQueue::databaseQueueWithPath(path);
        ASSERT_TRUE(queue);
        queue->inDatabase([](SQDatabase* db) {
            ASSERT_TRUE(db);
            ASSERT_TRUE(db->executeUpdate("create table t (a)"));
        });
    }
    int count() {
        int n = -1;
        queue->inDatabase([&](SQDatabase* db) { n = firstInt(db, "select count(*) from t"); });
        return n;
    }

    TemporaryFolder folder;
    std::string path;
    std::unique_ptr<SQDatabaseQueue> queue;
};

TEST(SQDatabaseQueueCreation, MissingFolderGivesNoQueueAndInMemoryIsFresh) {
    TemporaryFolder folder;
    LogCapture log;
    std::string missing = folder.file("no/such/folder/x.db");
    EXPECT_FALSE(SQDatabaseQueue::databaseQueueWithPath(missing));
    EXPECT_TRUE(log.contains("Could not create database queue for path " + missing));

    auto queue = SQDatabaseQueue::databaseQueue();
    ASSERT_TRUE(queue);
    EXPECT_FALSE(queue->path());
    EXPECT_EQ(queue->openFlags(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    queue->inDatabase([](SQDatabase* db) {
        ASSERT_TRUE(db);
        EXPECT_EQ(firstInt(db, "select count(*) from sqlite_master"), 0);
        EXPECT_EQ(db->sqlitePath(), ":memory:");
    });
}

TEST_F(SQDatabaseQueueTest, EightThreadsInsertingKeepEveryRow) {
    // Each insert is its own transaction; waiting for the disk each time would only slow this.
    queue->inDatabase([](SQDatabase* db) { db->executeStatements("pragma synchronous = off"); });
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 100; ++i) {
                queue->inDatabase([&](SQDatabase* db) {
                    db->executeUpdate("insert into t values (?)", t * 1000 + i);
                });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(count(), 800);
    queue->inDatabase([](SQDatabase* db) {
        EXPECT_EQ(firstInt(db, "select count(distinct a) from t"), 800);
        EXPECT_EQ(firstInt(db, "select count(*) from t where a % 1000 = 99"), 8);
    });
}

TEST_F(SQDatabaseQueueTest, TransactionsCommitOrRollBackByTheFlag) {
    EXPECT_TRUE(queue->inTransaction([](SQDatabase* db, bool*) {
        EXPECT_TRUE(db->inTransaction());
        db->executeUpdate("insert into t values (1)");
    }));
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(queue->inDeferredTransaction([](SQDatabase* db, bool* rollback) {
        db->executeUpdate("insert into t values (2)");
        db->executeUpdate("insert into t values (3)");
        *rollback = true;
    }));
    EXPECT_EQ(count(), 1);
    queue->inDatabase([](SQDatabase* db) { EXPECT_FALSE(db->inTransaction()); });
}

TEST_F(SQDatabaseQueueTest, ABlockNeverRunsOutsideItsTransaction) {
    // A transaction left open by earlier work makes the next begin fail.
    queue->inDatabase([](SQDatabase* db) { ASSERT_TRUE(db->beginTransaction()); });
    LogCapture log;
    bool called = false;
    EXPECT_FALSE(queue->inTransaction([&](SQDatabase*, bool*) { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_TRUE(log.contains("cannot start a transaction within a transaction"));
    queue->inDatabase([](SQDatabase* db) { ASSERT_TRUE(db->rollback()); });
}

TEST_F(SQDatabaseQueueTest, AFailedCommitIsRolledBack) {
    queue->inDatabase([](SQDatabase* db) {
        ASSERT_TRUE(db->executeStatements(
            "pragma foreign_keys = on; create table p (id integer primary key);"
            "create table c (pid references p(id) deferrable initially deferred);"));
    });
    LogCapture log;
    EXPECT_FALSE(queue->inTransaction([](SQDatabase* db, bool*) {
        db->executeUpdate("insert into t values (1)");
        db->executeUpdate("insert into c values (5)");
    }));
    EXPECT_TRUE(log.contains("FOREIGN KEY constraint failed"));
    EXPECT_EQ(count(), 0);
    queue->inDatabase([](SQDatabase* db) { EXPECT_FALSE(db->inTransaction()); });
}

TEST_F(SQDatabaseQueueTest, SavePointsAreNumberedAndRollBackOnRequest) {
    queue->inDatabase([](SQDatabase* db) { db->setTraceExecution(true); });
    LogCapture log;
    EXPECT_FALSE(queue->inSavePoint(
        [](SQDatabase* db, bool*) { db->executeUpdate("insert into t values (1)"); }));
    EXPECT_FALSE(queue->inSavePoint([](SQDatabase* db, bool* rollback) {
        db->executeUpdate("insert into t values (2)");
        *rollback = true;
    }));
    queue->inDatabase([](SQDatabase* db) { db->setTraceExecution(false); });
    EXPECT_EQ(count(), 1);

    std::vector<long> numbers;
    const std::string start = "executeUpdate: savepoint 'savePoint";
    for (const auto& line : log.lines()) {
        auto at = line.find(start);
        if (at != std::string::npos) numbers.push_back(std::stol(line.substr(at + start.size())));
    }
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[1], numbers[0] + 1);
    EXPECT_TRUE(log.contains("rollback transaction to savepoint 'savePoint" +
                             std::to_string(numbers[1]) + "';"));
    EXPECT_TRUE(log.contains("release savepoint 'savePoint" + std::to_string(numbers[1]) + "';"));
}

TEST_F(SQDatabaseQueueTest, AnOpenResultSetIsReportedAndLeftOpen) {
    std::unique_ptr<SQResultSet> kept;
    LogCapture log;
    queue->inDatabase([&](SQDatabase* db) { kept = db->executeQuery("select a from t"); });
    ASSERT_TRUE(kept);
    EXPECT_TRUE(
        log.contains("Warning: there is at least one open result set around after performing "
                     "[SQDatabaseQueue inDatabase:]"));
    EXPECT_TRUE(log.contains("query: 'select a from t'"));
    queue->inDatabase([](SQDatabase* db) { EXPECT_TRUE(db->hasOpenResultSets()); });
    queue->inDatabase([&](SQDatabase*) { kept.reset(); });
    log.clear();
    queue->inDatabase([](SQDatabase*) {});
    EXPECT_FALSE(log.contains("Warning"));
}

TEST_F(SQDatabaseQueueTest, CloseThenWorkReopens) {
    queue->inDatabase([](SQDatabase* db) { db->executeUpdate("insert into t values (1)"); });
    SQDatabase* before = nullptr;
    queue->inDatabase([&](SQDatabase* db) { before = db; });
    queue->close();
    queue->inDatabase([&](SQDatabase* db) {
        ASSERT_TRUE(db);
        EXPECT_TRUE(db->goodConnection());
    });
    EXPECT_EQ(count(), 1);

    // An in-memory database comes back new and empty.
    auto memory = SQDatabaseQueue::databaseQueue();
    memory->inDatabase([](SQDatabase* db) { db->executeUpdate("create table m (a)"); });
    memory->close();
    memory->inDatabase([](SQDatabase* db) {
        ASSERT_TRUE(db);
        EXPECT_EQ(firstInt(db, "select count(*) from sqlite_master"), 0);
    });
}

TEST_F(SQDatabaseQueueTest, AFailedReopenGivesBlocksNoConnection) {
    queue->close();
    std::string missing = folder.file("gone/queue.db");
    queue->setPath(missing);
    LogCapture log;
    bool sawNull = false;
    queue->inDatabase([&](SQDatabase* db) { sawNull = db == nullptr; });
    EXPECT_TRUE(sawNull);
    EXPECT_TRUE(log.contains("SQDatabaseQueue could not reopen database for path " + missing));

    bool called = false;
    EXPECT_FALSE(queue->inTransaction([&](SQDatabase*, bool*) { called = true; }));
    EXPECT_FALSE(queue->inSavePoint([&](SQDatabase*, bool*) { called = true; }));
    EXPECT_FALSE(called);

    // The next piece of work tries again.
    queue->setPath(path);
    EXPECT_EQ(count(), 0);
}

TEST_F(SQDatabaseQueueTest, OtherQueuesMayBeUsedFromABlock) {
    auto other = SQDatabaseQueue::databaseQueue();
    bool inner = false;
    queue->inDatabase(
        [&](SQDatabase*) { other->inDatabase([&](SQDatabase* db) { inner = db != nullptr; }); });
    EXPECT_TRUE(inner);
}

TEST(SQDatabaseQueueDeathTest, NestedInDatabaseStops) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            auto queue = SQDatabaseQueue::databaseQueue();
            queue->inDatabase([&](SQDatabase*) { queue->inDatabase([](SQDatabase*) {}); });
        },
        "inDatabase: was called reentrantly on the same queue, which would lead to a deadlock");
    EXPECT_DEATH(
        {
            auto queue = SQDatabaseQueue::databaseQueue();
            queue->inDatabase([&](SQDatabase*) { queue->close(); });
        },
        "called reentrantly on the same queue");
}
