#include <chrono>
#include <filesystem>

#include "SQTestSupport.h"

using platform::LogCapture;
using platform::Value;

TEST(SQDatabaseConnection, PathsChooseMemoryTemporaryOrFile) {
    auto memory = SQDatabase::database();
    EXPECT_EQ(memory->sqlitePath(), ":memory:");
    EXPECT_FALSE(memory->databasePath().has_value());
    ASSERT_TRUE(memory->open());
    EXPECT_TRUE(memory->executeUpdate("create table t (a)"));
    EXPECT_TRUE(memory->goodConnection());

    auto temporary = SQDatabase::databaseWithPath("");
    EXPECT_EQ(temporary->sqlitePath(), "");
    ASSERT_TRUE(temporary->open());
    EXPECT_TRUE(temporary->executeUpdate("create table t (a)"));

    TemporaryFolder folder;
    std::string file = folder.file("a.db");
    auto onDisk = SQDatabase::databaseWithPath(file);
    EXPECT_EQ(onDisk->sqlitePath(), file);
    EXPECT_FALSE(onDisk->goodConnection());
    ASSERT_TRUE(onDisk->open());
    EXPECT_TRUE(onDisk->executeUpdate("create table t (a)"));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(SQDatabaseConnection, OpenTwiceKeepsHandleAndCloseIsRepeatable) {
    auto db = SQDatabase::database();
    EXPECT_TRUE(db->close());
    ASSERT_TRUE(db->open());
    sqlite3* handle = db->sqliteHandle();
    EXPECT_TRUE(db->open());
    EXPECT_EQ(db->sqliteHandle(), handle);
    EXPECT_TRUE(db->close());
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_TRUE(db->close());
    // A connection opens again after closing.
    EXPECT_TRUE(db->openWithFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, std::nullopt));
    EXPECT_NE(db->sqliteHandle(), nullptr);
}

TEST(SQDatabaseConnection, FailedOpenLeavesNoHalfOpenHandle) {
    TemporaryFolder folder;
    auto db = SQDatabase::databaseWithPath(folder.file("missing/folder/x.db"));
    LogCapture log;
    EXPECT_FALSE(db->open());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"error opening!: 14"});
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    // A second attempt fails again instead of answering yes on the leftover handle.
    EXPECT_FALSE(db->open());
    EXPECT_FALSE(db->openWithFlags(SQLITE_OPEN_READONLY));
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_FALSE(db->openWithFlags(SQLITE_OPEN_READWRITE, std::string("no-such-vfs")));
    EXPECT_EQ(db->sqliteHandle(), nullptr);
}

TEST(SQDatabaseConnection, CloseFinalizesLeakedStatementsAndOpenResultSets) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeStatements("create table t (a); insert into t values (1), (2);"));
    sqlite3_stmt* leaked[2] = {};
    for (auto*& statement : leaked) {
        ASSERT_EQ(
            sqlite3_prepare_v2(db->sqliteHandle(), "select a from t", -1, &statement, nullptr),
            SQLITE_OK);
    }
    auto rs = db->executeQuery("select a from t");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_TRUE(db->hasOpenResultSets());

    LogCapture log;
    EXPECT_TRUE(db->close());
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"Closing leaked statement", "Closing leaked statement"}));
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_FALSE(db->hasOpenResultSets());
    // The result set was closed and detached by the connection.
    EXPECT_EQ(rs->statement(), nullptr);
    EXPECT_EQ(rs->columnCount(), 0);
}

TEST(SQDatabaseConnection, CloseThatCannotCloseReportsFailure) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    auto target = SQDatabase::database();
    ASSERT_TRUE(target->open());
    // An unfinished backup keeps SQLite from closing its source.
    sqlite3_backup* backup =
        sqlite3_backup_init(target->sqliteHandle(), "main", db->sqliteHandle(), "main");
    ASSERT_NE(backup, nullptr);

    LogCapture log;
    EXPECT_FALSE(db->close());
    EXPECT_TRUE(log.contains("error closing!: 5"));
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    // The connection is released as soon as the backup ends (the sanitizer build sees a leak
    // otherwise).
    sqlite3_backup_finish(backup);
}

TEST(SQDatabaseConnection, BusyWaitIsBoundedByTheRetryInterval) {
    TemporaryFolder folder;
    std::string file = folder.file("busy.db");
    auto holder = SQDatabase::databaseWithPath(file);
    auto waiter = SQDatabase::databaseWithPath(file);
    ASSERT_TRUE(holder->open());
    ASSERT_TRUE(waiter->open());
    ASSERT_TRUE(holder->executeUpdate("create table t (a)"));
    EXPECT_DOUBLE_EQ(waiter->maxBusyRetryTimeInterval(), 2.0);
    // Prepared before the lock, so that the schema is already known.
    auto pending = waiter->executeQuery("select a from t");
    ASSERT_TRUE(pending);
    ASSERT_TRUE(holder->beginTransaction());
    ASSERT_TRUE(holder->executeUpdate("insert into t values (1)"));

    using Clock = std::chrono::steady_clock;
    waiter->setMaxBusyRetryTimeInterval(0.3);
    LogCapture log;
    auto start = Clock::now();
    EXPECT_FALSE(waiter->executeUpdate("insert into t values (2)"));
    double waited = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(waited, 0.25);
    EXPECT_LT(waited, 20.0);
    EXPECT_EQ(waiter->lastErrorCode(), SQLITE_BUSY);
    EXPECT_TRUE(log.contains("Unknown error calling sqlite3_step (5: database is locked) eu"));

    // Without a busy handler the statement fails at once; a stepping result set reports it.
    waiter->setMaxBusyRetryTimeInterval(0);
    log.clear();
    std::optional<platform::Error> error;
    EXPECT_FALSE(pending->nextWithError(&error));
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("-[SQResultSet nextWithError:]:", 0), 0u);
    EXPECT_NE(lines[0].find(" Database busy (" + file + ")"), std::string::npos);
    EXPECT_EQ(lines[1], "Database busy");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, SQLITE_BUSY);
    EXPECT_FALSE(waiter->hasOpenResultSets());

    ASSERT_TRUE(holder->commit());
    EXPECT_TRUE(waiter->executeUpdate("insert into t values (2)"));
}

TEST(SQDatabaseConnection, RetryIntervalSetWhileClosedTakesEffectAtOpen) {
    TemporaryFolder folder;
    std::string file = folder.file("busy.db");
    auto holder = SQDatabase::databaseWithPath(file);
    ASSERT_TRUE(holder->open());
    ASSERT_TRUE(holder->executeUpdate("create table t (a)"));
    auto waiter = SQDatabase::databaseWithPath(file);
    waiter->setMaxBusyRetryTimeInterval(0);
    ASSERT_TRUE(waiter->open());
    ASSERT_TRUE(waiter->executeQuery("select a from t"));
    ASSERT_TRUE(holder->beginTransaction());

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiter->executeUpdate("insert into t values (1)"));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.5);
    EXPECT_TRUE(holder->rollback());
}

TEST(SQDatabaseConnection, ErrorStateAndErrorObjects) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    EXPECT_FALSE(db->hadError());
    LogCapture log;
    EXPECT_FALSE(db->executeUpdate("insert into nowhere values (1)"));
    EXPECT_EQ(db->lastErrorCode(), SQLITE_ERROR);
    EXPECT_TRUE(db->hadError());
    EXPECT_EQ(db->lastErrorMessage(), "no such table: nowhere");
    platform::Error error = db->lastError();
    EXPECT_EQ(error.domain, "SQDatabase");
    EXPECT_EQ(error.code, SQLITE_ERROR);
    EXPECT_EQ(error.localizedDescription(), "no such table: nowhere");
    EXPECT_EQ(db->errorWithMessage("x").userInfo.at(platform::LocalizedDescriptionKey), "x");

    // "row" and "done" are no errors.
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    auto rs = db->executeQuery("select 1");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(db->lastErrorCode(), SQLITE_ROW);
    EXPECT_FALSE(db->hadError());
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(db->hadError());
}

TEST(SQDatabaseConnection, RowInformationAndClosedChecks) {
    auto db = SQDatabase::database();
    LogCapture log;
    EXPECT_FALSE(db->executeQuery("select 1"));
    EXPECT_FALSE(db->executeUpdate("select 1"));
    EXPECT_EQ(db->lastInsertRowId(), 0);
    EXPECT_EQ(db->changes(), 0);
    std::string notOpen = "The SQDatabase " + db->description() + " is not open.";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{notOpen, notOpen}));

    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    ASSERT_TRUE(db->executeUpdate("insert into t values (1), (2), (3)"));
    EXPECT_EQ(db->lastInsertRowId(), 3);
    EXPECT_EQ(db->changes(), 3);
}

TEST(SQDatabaseConnection, KeysVersionsAndObsoleteBusyAccessors) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    EXPECT_FALSE(db->setKey("secret"));
    EXPECT_FALSE(db->rekey("secret"));
    EXPECT_FALSE(db->setKeyWithData({1, 2}));
    EXPECT_FALSE(db->rekeyWithData({1, 2}));
    EXPECT_TRUE(db->executeUpdate("create table t (a)"));

    EXPECT_EQ(SQDatabase::SQDBUserVersion(), "2.6.2");
    EXPECT_EQ(SQDatabase::SQDBVersion(), 0x262);
    EXPECT_EQ(SQDatabase::sqliteLibVersion(), sqlite3_libversion());
    EXPECT_TRUE(SQDatabase::isSQLiteThreadSafe());

    LogCapture log;
    EXPECT_EQ(db->busyRetryTimeout(), -1);
    db->setBusyRetryTimeout(5);
    EXPECT_EQ(
        log.lines(),
        (std::vector<std::string>{
            "-[SQDatabase busyRetryTimeout]:282",
            "SQDB: busyRetryTimeout no longer works, please use maxBusyRetryTimeInterval",
            "-[SQDatabase setBusyRetryTimeout:]:289",
            "SQDB: setBusyRetryTimeout does nothing, please use setMaxBusyRetryTimeInterval:"}));
}

TEST(SQDatabaseConnection, DatesAsSecondsOrThroughAFormatter) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("create table t (d)"));
    EXPECT_FALSE(db->hasDateFormatter());
    EXPECT_FALSE(db->stringFromDate(platform::Date()));
    EXPECT_FALSE(db->dateFromString("2001-01-01"));

    auto moment = platform::Date::dateWithTimeIntervalSince1970(1700000000);
    ASSERT_TRUE(db->executeUpdate("insert into t values (?)", moment));
    db->setDateFormat(SQDatabase::storeableDateFormat("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(db->hasDateFormatter());
    ASSERT_TRUE(db->executeUpdate("insert into t values (?)", moment));

    auto rs = db->executeQuery("select d, typeof(d) from t order by rowid");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(1), "real");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "2023-11-14 22:13:20");
    EXPECT_EQ(rs->dateForColumnIndex(0), moment);
    rs->close();
    // A formatter reads text that does not parse as absent.
    ASSERT_TRUE(db->executeUpdate("insert into t values ('not a date')"));
    rs = db->executeQuery("select d from t where d = 'not a date'");
    ASSERT_TRUE(rs->next());
    EXPECT_FALSE(rs->dateForColumnIndex(0));
}

TEST(SQDatabaseConnection, DestroyingTheLastOwnerClosesEverything) {
    std::unique_ptr<SQResultSet> rs;
    std::weak_ptr<SQDatabase> weak;
    {
        auto db = SQDatabase::database();
        weak = db;
        ASSERT_TRUE(db->open());
        db->setShouldCacheStatements(true);
        rs = db->executeQuery("select 1 union all select 2");
        ASSERT_TRUE(rs && rs->next());
    }
    // The open result set keeps its connection alive and readable.
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(rs->intForColumnIndex(0), 1);
    EXPECT_TRUE(rs->next());
    rs.reset();
    EXPECT_TRUE(weak.expired());
}

TEST(SQDatabaseConnectionDeathTest, CrashOnErrorsStopsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto db = SQDatabase::database();
    db->setCrashOnErrors(true);
    // The child writes its log to stderr so that the message can be matched.
    EXPECT_DEATH(
        {
            setenv("ZELVO_LOG", "stderr", 1);
            db->executeQuery("select 1");
        },
        "The SQDatabase <SQDatabase: 0x[0-9a-f]+> is not open\\.");
    ASSERT_TRUE(db->open());
    EXPECT_DEATH(
        {
            setenv("ZELVO_LOG", "stderr", 1);
            db->executeUpdate("selec 1");
        },
        "DB Error: 1 \"near \"selec\": syntax error\"");
}
