#include "SQTestSupport.h"

using platform::LogCapture;
using platform::Value;

class SQDatabaseTransactions : public SQDatabaseFileTest {
  protected:
    void SetUp() override {
        SQDatabaseFileTest::SetUp();
        ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    }
    Value count() { return single("select count(*) from t"); }
};

TEST_F(SQDatabaseTransactions, CommitKeepsAndRollbackUndoes) {
    ASSERT_TRUE(db->beginTransaction());
    EXPECT_TRUE(db->inTransaction());
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->commit());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count(), Value(1));

    ASSERT_TRUE(db->beginDeferredTransaction());
    EXPECT_TRUE(db->inTransaction());
    ASSERT_TRUE(db->executeUpdate("insert into t values (2)"));
    ASSERT_TRUE(db->rollback());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count(), Value(1));

    // A commit without a transaction fails and leaves the flag alone.
    LogCapture log;
    EXPECT_FALSE(db->commit());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_TRUE(log.contains("cannot commit - no transaction is active"));
}

TEST_F(SQDatabaseTransactions, FailedCommitLeavesTheTransactionOpen) {
    ASSERT_TRUE(db->executeStatements(
        "pragma foreign_keys = on; create table p (id integer primary key);"
        "create table c (pid references p(id) deferrable initially deferred);"));
    ASSERT_TRUE(db->beginTransaction());
    // Checked only at commit: the row it refers to does not exist.
    ASSERT_TRUE(db->executeUpdate("insert into c values (5)"));
    LogCapture log;
    EXPECT_FALSE(db->commit());
    EXPECT_TRUE(db->inTransaction());
    EXPECT_TRUE(log.contains("FOREIGN KEY constraint failed"));
    EXPECT_TRUE(db->rollback());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(single("select count(*) from c"), Value(0));
}

TEST_F(SQDatabaseTransactions, SavepointsByNameWithQuotes) {
    const std::string name = "it's a \"point\"";
    EXPECT_EQ(SQDBEscapeSavePointName(name), "it''s a \"point\"");
    std::optional<platform::Error> error;
    ASSERT_TRUE(db->startSavePointWithName(name, &error));
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->rollbackToSavePointWithName(name, &error));
    ASSERT_TRUE(db->releaseSavePointWithName(name, &error));
    EXPECT_FALSE(error);
    EXPECT_EQ(count(), Value(0));

    LogCapture log;
    EXPECT_FALSE(db->releaseSavePointWithName("never started", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), "no such savepoint: never started");
}

TEST_F(SQDatabaseTransactions, InSavePointNamesInOrderAndRollsBackOnRequest) {
    db->setTraceExecution(true);
    LogCapture log;
    auto error = db->inSavePoint([&](bool*) { db->executeUpdate("insert into t values (1)"); });
    EXPECT_FALSE(error);
    error = db->inSavePoint([&](bool* rollback) {
        db->executeUpdate("insert into t values (2)");
        *rollback = true;
    });
    EXPECT_FALSE(error);
    EXPECT_FALSE(db->inSavePoint(nullptr));
    db->setTraceExecution(false);
    EXPECT_EQ(count(), Value(1));

    // The numbers rise by one per call, across all connections of the process.
    std::vector<long> numbers;
    for (const auto& line : log.lines()) {
        auto at = line.find("executeUpdate: savepoint 'dbSavePoint");
        if (at != std::string::npos) numbers.push_back(std::stol(line.substr(at + 37)));
    }
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_EQ(numbers[1], numbers[0] + 1);
    EXPECT_EQ(numbers[2], numbers[1] + 1);
    EXPECT_TRUE(log.contains("rollback transaction to savepoint 'dbSavePoint" +
                             std::to_string(numbers[1]) + "';"));
    EXPECT_TRUE(log.contains("release savepoint 'dbSavePoint" + std::to_string(numbers[1]) + "';"));
}

TEST_F(SQDatabaseTransactions, InSavePointReportsAFailedStart) {
    auto other = SQDatabase::database();
    LogCapture log;
    bool called = false;
    auto error = other->inSavePoint([&](bool*) { called = true; });
    EXPECT_FALSE(called);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, "SQDatabase");
}
