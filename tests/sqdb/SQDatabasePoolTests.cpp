#include <thread>
#include <vector>

#include "SQTestSupport.h"
#include "platform/foundation/Exception.h"
#include "sqdb/SQDatabasePool.h"

using platform::LogCapture;

class SQDatabasePoolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pool = SQDatabasePool::databasePoolWithPath(folder.file("pool.db"));
        pool->inDatabase([](SQDatabase* db) {
            ASSERT_TRUE(db);
            ASSERT_TRUE(db->executeUpdate("create table t (a)"));
        });
    }
    int count() {
        int n = -1;
        pool->inDatabase([&](SQDatabase* db) { n = db->intForQuery("select count(*) from t"); });
        return n;
    }
    void expectCounts(uint64_t in, uint64_t out) {
        EXPECT_EQ(pool->countOfCheckedInDatabases(), in);
        EXPECT_EQ(pool->countOfCheckedOutDatabases(), out);
        EXPECT_EQ(pool->countOfOpenDatabases(), in + out);
    }

    TemporaryFolder folder;
    std::unique_ptr<SQDatabasePool> pool;
};

class RecordingDelegate : public SQDatabasePoolDelegate {
  public:
    bool databasePoolShouldAddDatabaseToPool(SQDatabasePool&, SQDatabase&) override {
        ++asked;
        return allow;
    }
    void databasePoolDidAddDatabase(SQDatabasePool&, SQDatabase& database) override {
        added.push_back(&database);
    }
    bool allow = true;
    int asked = 0;
    std::vector<SQDatabase*> added;
};

TEST_F(SQDatabasePoolTest, ConsecutiveBorrowersShareOneConnection) {
    EXPECT_EQ(pool->openFlags(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    SQDatabase* first = nullptr;
    SQDatabase* second = nullptr;
    pool->inDatabase([&](SQDatabase* db) { first = db; });
    pool->inDatabase([&](SQDatabase* db) {
        second = db;
        expectCounts(0, 1);
    });
    EXPECT_EQ(first, second);
    expectCounts(1, 0);
}

TEST_F(SQDatabasePoolTest, IdleConnectionsComeBackLastInFirstOut) {
    auto a = pool->db();
    auto b = pool->db();
    auto c = pool->db();
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a, b);
    expectCounts(0, 3);
    pool->pushDatabaseBackInPool(a);
    pool->pushDatabaseBackInPool(b);
    pool->pushDatabaseBackInPool(c);
    expectCounts(3, 0);
    EXPECT_EQ(pool->db(), c);
    EXPECT_EQ(pool->db(), b);
    EXPECT_EQ(pool->db(), a);
    expectCounts(0, 3);
    // A connection closed by its borrower is opened again on the next hand-out.
    a->close();
    pool->pushDatabaseBackInPool(a);
    auto again = pool->db();
    ASSERT_EQ(again, a);
    EXPECT_TRUE(again->goodConnection());
}

TEST_F(SQDatabasePoolTest, TheLimitCountsBothLists) {
    pool->setMaximumNumberOfDatabasesToCreate(1);
    LogCapture log;
    bool innerHadNone = false;
    pool->inDatabase([&](SQDatabase* outer) {
        ASSERT_TRUE(outer);
        pool->inDatabase([&](SQDatabase* inner) { innerHadNone = inner == nullptr; });
    });
    EXPECT_TRUE(innerHadNone);
    EXPECT_TRUE(log.contains("Maximum number of databases (1) has already been reached!"));
    expectCounts(1, 0);

    // Without a connection no transaction begins and no savepoint block runs.
    auto held = pool->db();
    bool called = false;
    EXPECT_FALSE(pool->inTransaction([&](SQDatabase*, bool*) { called = true; }));
    EXPECT_FALSE(pool->inSavePoint([&](SQDatabase*, bool*) { called = true; }));
    EXPECT_FALSE(called);
    pool->pushDatabaseBackInPool(held);

    pool->setMaximumNumberOfDatabasesToCreate(0);
    auto x = pool->db();
    auto y = pool->db();
    EXPECT_TRUE(x && y);
}

TEST_F(SQDatabasePoolTest, ADelegateHearsOfNewConnectionsAndMayRefuse) {
    RecordingDelegate delegate;
    pool->setDelegate(&delegate);
    pool->releaseAllDatabases();
    auto a = pool->db();
    ASSERT_TRUE(a);
    EXPECT_EQ(delegate.added, std::vector<SQDatabase*>{a.get()});
    pool->pushDatabaseBackInPool(a);
    // Reuse is asked about but is no new connection.
    EXPECT_EQ(pool->db(), a);
    EXPECT_EQ(delegate.asked, 2);
    EXPECT_EQ(delegate.added.size(), 1u);
    pool->pushDatabaseBackInPool(a);

    delegate.allow = false;
    EXPECT_FALSE(pool->db());
    // The refused idle connection is closed and no longer counted anywhere.
    EXPECT_FALSE(a->goodConnection());
    expectCounts(0, 0);
    EXPECT_FALSE(pool->db());
    expectCounts(0, 0);
    EXPECT_EQ(delegate.added.size(), 1u);
    pool->setDelegate(nullptr);
}

TEST_F(SQDatabasePoolTest, PushingBackTwiceThrows) {
    auto db = pool->db();
    pool->pushDatabaseBackInPool(db);
    try {
        pool->pushDatabaseBackInPool(db);
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.name(), "Database already in pool");
        EXPECT_EQ(e.reason(),
                  "The SQDatabase being put back into the pool is already present in the pool");
    }
    expectCounts(1, 0);
    pool->pushDatabaseBackInPool(nullptr);
    // A connection the pool never handed out is taken in all the same.
    pool->pushDatabaseBackInPool(SQDatabase::database());
    expectCounts(2, 0);
}

TEST_F(SQDatabasePoolTest, ReleasingLeavesBorrowersTheirConnection) {
    auto borrowed = pool->db();
    pool->inDatabase([](SQDatabase*) {});
    pool->releaseAllDatabases();
    expectCounts(0, 0);
    EXPECT_TRUE(borrowed->executeUpdate("insert into t values (1)"));
    pool->pushDatabaseBackInPool(borrowed);
    expectCounts(1, 0);
    EXPECT_EQ(pool->db(), borrowed);
}

TEST_F(SQDatabasePoolTest, AnUnopenablePathGivesNoConnection) {
    pool->releaseAllDatabases();
    std::string missing = folder.file("gone/pool.db");
    pool->setPath(missing);
    LogCapture log;
    EXPECT_FALSE(pool->db());
    EXPECT_TRUE(log.contains("Could not open up the database at path " + missing));
    expectCounts(0, 0);
}

TEST_F(SQDatabasePoolTest, TransactionsAndSavePointsFollowTheFlag) {
    EXPECT_TRUE(pool->inTransaction(
        [](SQDatabase* db, bool*) { db->executeUpdate("insert into t values (1)"); }));
    EXPECT_TRUE(pool->inDeferredTransaction([](SQDatabase* db, bool* rollback) {
        db->executeUpdate("insert into t values (2)");
        *rollback = true;
    }));
    EXPECT_EQ(count(), 1);

    EXPECT_FALSE(pool->inSavePoint(
        [](SQDatabase* db, bool*) { db->executeUpdate("insert into t values (3)"); }));
    EXPECT_FALSE(pool->inSavePoint([](SQDatabase* db, bool* rollback) {
        db->executeUpdate("insert into t values (4)");
        *rollback = true;
    }));
    EXPECT_EQ(count(), 2);
    expectCounts(1, 0);
}

TEST_F(SQDatabasePoolTest, ThreadsWorkOnConnectionsOfTheirOwn) {
    pool->inDatabase([](SQDatabase* db) { db->executeStatements("pragma journal_mode = wal"); });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 25; ++i) {
                pool->inTransaction([&](SQDatabase* db, bool*) {
                    ASSERT_TRUE(db);
                    db->executeUpdate("insert into t values (?)", t * 100 + i);
                });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(count(), 100);
    EXPECT_LE(pool->countOfOpenDatabases(), 4u);
    expectCounts(pool->countOfOpenDatabases(), 0);
}
