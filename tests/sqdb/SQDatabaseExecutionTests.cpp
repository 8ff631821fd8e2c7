#include "SQTestSupport.h"

using platform::Dictionary;
using platform::LogCapture;
using platform::Value;

using SQDatabaseExecution = SQDatabaseFileTest;

TEST_F(SQDatabaseExecution, PreparationErrorsAreLoggedAndReported) {
    LogCapture log;
    EXPECT_FALSE(db->executeQuery("selec 1"));
    std::vector<std::string> expected{"DB Error: 1 \"near \"selec\": syntax error\"",
                                      "DB Query: selec 1", "DB Path: " + path};
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(db->lastErrorCode(), SQLITE_ERROR);
    EXPECT_EQ(db->lastError().localizedDescription(), "near \"selec\": syntax error");

    log.clear();
    std::optional<platform::Error> error;
    EXPECT_FALSE(db->executeUpdate("selec 1", SQDatabase::Arguments{}, &error));
    expected[0] = "DB Error: 1 \"near \"selec\": syntax error\"";
    EXPECT_EQ(log.lines(), expected);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, SQLITE_ERROR);
    EXPECT_EQ(error->localizedDescription(), "near \"selec\": syntax error");

    error.reset();
    EXPECT_FALSE(db->executeQuery("selec 1", SQDatabase::Arguments{}, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, "SQDatabase");

    db->setLogsErrors(false);
    log.clear();
    EXPECT_FALSE(db->executeQuery("selec 1"));
    EXPECT_TRUE(log.lines().empty());
    // The connection stays usable, and the in-use flag was cleared on the way out.
    EXPECT_FALSE(db->isExecutingStatement());
    EXPECT_TRUE(db->executeUpdate("create table t (a unique)"));
}

TEST_F(SQDatabaseExecution, StepErrorsOfUpdates) {
    ASSERT_TRUE(db->executeUpdate("create table t (a unique)"));
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    LogCapture log;
    std::optional<platform::Error> error;
    EXPECT_FALSE(db->executeUpdateWithErrorAndBindings("insert into t values (?)", &error, 1));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "Unknown error calling sqlite3_step (19: UNIQUE constraint failed: t.a) eu",
                  "DB Query: insert into t values (?)",
                  "Unknown error finalizing or resetting statement (19: UNIQUE constraint "
                  "failed: t.a)",
                  "DB Query: insert into t values (?)"}));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, SQLITE_CONSTRAINT);
    EXPECT_EQ(error->localizedDescription(), "UNIQUE constraint failed: t.a");
    EXPECT_EQ(db->lastErrorCode(), SQLITE_CONSTRAINT);

    // An update whose statement gives a row is reported and fails.
    log.clear();
    error.reset();
    EXPECT_FALSE(db->update("select a from t", &error));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"A executeUpdate is being called with a query string "
                                        "'select a from t'",
                                        "DB Query: select a from t"}));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(),
              "A executeUpdate is being called with a query string 'select a from t'");
    EXPECT_TRUE(db->executeUpdate("insert into t values (2)"));
}

TEST_F(SQDatabaseExecution, InUseGuardStopsAFunctionQueryingItsOwnConnection) {
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    bool inner = true;
    int64_t rowIdInside = -1;
    db->makeFunctionNamed("reenter", 0, [&](sqlite3_context* context, int, sqlite3_value**) {
        inner = db->executeQuery("select 1") != nullptr;
        inner = inner || db->executeUpdate("insert into t values (9)");
        rowIdInside = db->lastInsertRowId();
        sqlite3_result_int(context, 7);
    });
    LogCapture log;
    ASSERT_TRUE(db->executeUpdate("insert into t values (reenter())"));
    EXPECT_FALSE(inner);
    EXPECT_EQ(rowIdInside, 0);
    std::string inUse = "The SQDatabase " + db->description() + " is currently in use.";
    EXPECT_EQ(log.lines(), std::vector<std::string>(3, inUse));
    // The outer statement was not disturbed, and the flag is clear again.
    EXPECT_EQ(single("select group_concat(a) from t"), Value("7"));
    EXPECT_FALSE(db->isExecutingStatement());
    EXPECT_TRUE(db->executeQuery("select 1"));
}

TEST_F(SQDatabaseExecution, UserFunctionsSeeTheirArguments) {
    db->makeFunctionNamed("joined", -1,
                          [](sqlite3_context* context, int argc, sqlite3_value** argv) {
                              std::string out;
                              for (int i = 0; i < argc; ++i)
                                  out += reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
                              sqlite3_result_text(context, out.c_str(), -1, SQLITE_TRANSIENT);
                          });
    EXPECT_EQ(single("select joined('a', 2, 'c')"), Value("a2c"));
    // Several blocks live side by side.
    db->makeFunctionNamed("twice", 1, [](sqlite3_context* context, int, sqlite3_value** argv) {
        sqlite3_result_int64(context, 2 * sqlite3_value_int64(argv[0]));
    });
    EXPECT_EQ(single("select twice(21) || joined('!')"), Value("42!"));
}

TEST_F(SQDatabaseExecution, ScriptsRunEveryStatementAndFeedTheRowBlock) {
    EXPECT_TRUE(db->executeStatements(
        "create table t (a, b); insert into t values (1, 'x'); insert into t values (2, null)"));
    std::vector<Dictionary> rows;
    EXPECT_TRUE(db->executeStatements("select a, b from t order by a", [&](const Dictionary& row) {
        rows.push_back(row);
        return 0;
    }));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Dictionary{{"a", "1"}, {"b", "x"}}));
    EXPECT_EQ(rows[1], (Dictionary{{"a", "2"}, {"b", Value()}}));

    // A non-zero answer stops the script.
    LogCapture log;
    int calls = 0;
    EXPECT_FALSE(db->executeStatements("select a from t; insert into t values (3, 'z')",
                                       [&](const Dictionary&) { return ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Error inserting batch: query aborted"});
    EXPECT_EQ(single("select count(*) from t"), Value(2));

    log.clear();
    EXPECT_FALSE(db->executeStatements("create table t (a)"));
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"Error inserting batch: table t already exists"});
}

TEST_F(SQDatabaseExecution, ClosedConnectionFailsCleanly) {
    db->close();
    LogCapture log;
    EXPECT_FALSE(db->executeStatements("create table t (a)"));
    EXPECT_FALSE(db->executeStatements("select 1", [](const Dictionary&) { return 0; }));
    db->makeFunctionNamed("f", 0, [](sqlite3_context*, int, sqlite3_value**) {});
    std::optional<platform::Error> error;
    EXPECT_FALSE(db->validateSQL("select 1", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, platform::CocoaErrorDomain);
    error.reset();
    EXPECT_FALSE(db->executeUpdateWithErrorAndBindings("create table t (a)", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, SQLITE_MISUSE);
    EXPECT_FALSE(db->beginTransaction());
    EXPECT_FALSE(db->inTransaction());
    std::string notOpen = "The SQDatabase " + db->description() + " is not open.";
    EXPECT_EQ(log.lines(), std::vector<std::string>(6, notOpen));
}

TEST_F(SQDatabaseExecution, ValidatingCompilesOnlyTheFirstStatement) {
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    std::optional<platform::Error> error;
    EXPECT_TRUE(db->validateSQL("insert into t values (1)", &error));
    EXPECT_FALSE(error);
    EXPECT_EQ(single("select count(*) from t"), Value(0));
    EXPECT_TRUE(db->validateSQL("select 1; this is not sql", nullptr));
    EXPECT_FALSE(db->validateSQL("selec 1", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, platform::CocoaErrorDomain);
    EXPECT_EQ(error->code, SQLITE_ERROR);
}

TEST_F(SQDatabaseExecution, StatementCacheReusesFreeStatements) {
    db->setShouldCacheStatements(true);
    ASSERT_TRUE(db->cachedStatements());
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(db->executeUpdate("insert into t values (?)", i));
    const std::string select = "select a from t order by a";
    auto first = db->executeQuery(select);
    // The first statement is being read: a second query gets a statement of its own.
    auto second = db->executeQuery(select);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->statement(), second->statement());
    EXPECT_TRUE(first->statement()->inUse());
    ASSERT_TRUE(first->next() && second->next() && second->next());
    EXPECT_EQ(first->intForColumnIndex(0), 0);
    EXPECT_EQ(second->intForColumnIndex(0), 1);
    auto statement = first->statement();
    first->close();
    EXPECT_FALSE(statement->inUse());

    auto third = db->executeQuery(select);
    EXPECT_EQ(third->statement(), statement);
    EXPECT_EQ(statement->useCount(), 2);
    EXPECT_EQ(statement->query(), select);
    ASSERT_TRUE(third->next());
    EXPECT_EQ(third->intForColumnIndex(0), 0);
    third.reset();
    second.reset();

    const auto& cache = *db->cachedStatements();
    EXPECT_EQ(cache.at(select).size(), 2u);
    EXPECT_EQ((*cache.at("insert into t values (?)").begin())->useCount(), 3);
    EXPECT_NE(statement->description().find("2 hit(s) for query " + select), std::string::npos);

    db->clearCachedStatements();
    EXPECT_TRUE(db->cachedStatements()->empty());
    EXPECT_EQ(statement->statement(), nullptr);
    db->setShouldCacheStatements(false);
    EXPECT_FALSE(db->cachedStatements());
    EXPECT_EQ(single("select count(*) from t"), Value(3));
}

TEST_F(SQDatabaseExecution, BindCountFailureKeepsTheCachedStatementUsable) {
    db->setShouldCacheStatements(true);
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    const std::string insert = "insert into t values (?)";
    ASSERT_TRUE(db->executeUpdate(insert, 1));
    LogCapture log;
    EXPECT_FALSE(db->executeUpdate(insert));
    EXPECT_TRUE(db->executeUpdate(insert, 2));

    const std::string select = "select a from t where a > ?";
    ASSERT_TRUE(db->executeQuery(select, 0));
    EXPECT_FALSE(db->executeQuery(select));
    auto rs = db->executeQuery(select, 1);
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 2);
    EXPECT_EQ(db->cachedStatements()->at(insert).size(), 1u);
    EXPECT_EQ(db->cachedStatements()->at(select).size(), 1u);
}
