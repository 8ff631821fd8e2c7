#include "SQTestSupport.h"

using platform::Bytes;
using platform::Date;
using platform::Dictionary;
using platform::LogCapture;
using platform::Value;

class SQResultSetTest : public SQDatabaseFileTest {
  protected:
    void SetUp() override {
        SQDatabaseFileTest::SetUp();
        ASSERT_TRUE(db->executeStatements(
            "create table n (n_id integer primary key, n_summary text, n_date real, big, r, "
            "b blob, absent);"
            "insert into n values (1, 'first', 0.0, 4294967296, 2.75, x'', null);"
            "insert into n values (2, 'second', 86400.5, -3, '12abc', x'00ff', null);"));
    }
};

TEST_F(SQResultSetTest, LifecycleFromFirstStepToClose) {
    auto empty = db->executeQuery("select * from n where n_id > 5");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(db->hasOpenResultSets());
    LogCapture log;
    // No rows: NO, nothing logged, closed and off the connection's list.
    EXPECT_FALSE(empty->next());
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_EQ(empty->statement(), nullptr);

    // Stepping a closed set asks nothing of SQLite and says the connection is gone.
    std::optional<platform::Error> error;
    EXPECT_FALSE(empty->nextWithError(&error));
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"Error calling sqlite3_step (21: bad parameter or other API "
                                       "misuse) rs"});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, "SQDatabase");
    EXPECT_EQ(error->code, SQLITE_MISUSE);
    EXPECT_EQ(error->localizedDescription(), "parentDB does not exist");
    EXPECT_FALSE(empty->hasAnotherRow());

    auto rs = db->executeQuery("select n_id from n order by n_id");
    EXPECT_EQ(rs->query(), "select n_id from n order by n_id");
    ASSERT_TRUE(rs->next());
    EXPECT_TRUE(rs->hasAnotherRow());
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 2);
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(rs->hasAnotherRow());
    EXPECT_FALSE(rs->next());
    rs->close();
    rs->close();

    // Dropped without close: its statement is freed for the cache and it leaves the list.
    db->setShouldCacheStatements(true);
    auto dropped = db->executeQuery("select 1");
    auto statement = dropped->statement();
    ASSERT_TRUE(dropped->next());
    dropped.reset();
    EXPECT_FALSE(statement->inUse());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_EQ(db->executeQuery("select 1")->statement(), statement);
}

TEST_F(SQResultSetTest, StepErrorsCloseTheSet) {
    db->makeFunctionNamed("fail", 0, [](sqlite3_context* context, int, sqlite3_value**) {
        sqlite3_result_error(context, "refused", -1);
    });
    auto rs = db->executeQuery("select fail() from n");
    LogCapture log;
    std::optional<platform::Error> error;
    EXPECT_FALSE(rs->nextWithError(&error));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Error calling sqlite3_step (1: refused) rs"});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, SQLITE_ERROR);
    EXPECT_EQ(error->localizedDescription(), "refused");
    EXPECT_FALSE(db->hasOpenResultSets());

    db->makeFunctionNamed("tooBig", 0, [](sqlite3_context* context, int, sqlite3_value**) {
        sqlite3_result_error_toobig(context);
    });
    rs = db->executeQuery("select tooBig()");
    log.clear();
    EXPECT_FALSE(rs->next());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Unknown error calling sqlite3_step (18: "
                                                    "string or blob too big) rs"});
}

TEST_F(SQResultSetTest, TypedGettersByIndexAndName) {
    auto rs = db->executeQuery("select * from n order by n_id");
    // Before the first row everything reads as NULL.
    EXPECT_EQ(rs->intForColumn("n_id"), 0);
    EXPECT_FALSE(rs->stringForColumn("n_summary"));
    EXPECT_TRUE(rs->columnIsNull("n_id"));
    ASSERT_TRUE(rs->next());

    EXPECT_EQ(rs->columnCount(), 7);
    EXPECT_EQ(rs->columnNameForIndex(1), "n_summary");
    EXPECT_FALSE(rs->columnNameForIndex(7));
    EXPECT_FALSE(rs->columnNameForIndex(-1));
    EXPECT_EQ(rs->stringForColumn("N_SUMMARY"), "first");
    EXPECT_EQ(rs->stringForColumnIndex(0), "1");
    EXPECT_EQ(rs->intForColumn("n_id"), 1);
    // Only the low 32 bits count for int and bool.
    EXPECT_EQ(rs->intForColumn("big"), 0);
    EXPECT_FALSE(rs->boolForColumn("big"));
    EXPECT_EQ(rs->longForColumn("big"), 4294967296L);
    EXPECT_EQ(rs->longLongIntForColumn("big"), 4294967296LL);
    EXPECT_EQ(rs->unsignedLongLongIntForColumn("big"), 4294967296ULL);
    EXPECT_DOUBLE_EQ(rs->doubleForColumn("r"), 2.75);
    EXPECT_EQ(rs->intForColumn("r"), 2);
    EXPECT_EQ(rs->dateForColumn("n_date"), Date());
    EXPECT_FALSE(rs->dateForColumn("absent"));
    // A zero-length blob: no copy, the null marker, but a view of zero bytes.
    EXPECT_FALSE(rs->dataForColumn("b"));
    EXPECT_TRUE(rs->objectForColumnName("b").isNull());
    auto view = rs->dataNoCopyForColumn("b");
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->empty());
    EXPECT_FALSE(rs->dataNoCopyForColumn("absent"));
    EXPECT_STREQ(rs->UTF8StringForColumnName("n_summary"), "first");
    EXPECT_EQ(rs->UTF8StringForColumnIndex(6), nullptr);
    EXPECT_TRUE(rs->columnIndexIsNull(6));
    EXPECT_FALSE(rs->columnIndexIsNull(0));

    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->dataForColumnIndex(5), (Bytes{0x00, 0xff}));
    EXPECT_EQ(rs->dateForColumnIndex(2), Date::dateWithTimeIntervalSince1970(86400.5));
    EXPECT_EQ(rs->intForColumn("r"), 12);
    EXPECT_EQ(rs->unsignedLongLongIntForColumnIndex(3), static_cast<unsigned long long>(-3));
    EXPECT_TRUE(rs->boolForColumnIndex(3));
    EXPECT_EQ((*rs)["n_id"], Value(2));
    EXPECT_EQ((*rs)[2], Value(86400.5));
    EXPECT_EQ((*rs)[5], Value(Bytes{0x00, 0xff}));
    EXPECT_EQ((*rs)[4], Value("12abc"));
    EXPECT_TRUE((*rs)[6].isNull());
    EXPECT_TRUE((*rs)[99].isNull());
}

TEST_F(SQResultSetTest, MissingColumnsReadAsNullWithAWarning) {
    auto rs = db->executeQuery("select n_id from n");
    ASSERT_TRUE(rs->next());
    LogCapture log;
    EXPECT_EQ(rs->intForColumn("No_Such"), 0);
    EXPECT_TRUE(rs->objectForColumnName("no_such").isNull());
    EXPECT_FALSE(rs->stringForColumn("no_such"));
    EXPECT_EQ(rs->columnIndexForName("no_such"), -1);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>(4, "Warning: I could not find the column named 'no_such'."));
    EXPECT_EQ(rs->intForColumnIndex(-1), 0);
    EXPECT_EQ(rs->doubleForColumnIndex(-1), 0.0);
    EXPECT_FALSE(rs->dateForColumnIndex(-1));
}

TEST_F(SQResultSetTest, NamesEqualButForCaseLetTheLaterColumnWin) {
    auto rs = db->executeQuery("select 1 as Value, 2 as value, 3 as other");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->columnIndexForName("VALUE"), 1);
    EXPECT_EQ(rs->columnIndexForName("Value"), 1);
    EXPECT_EQ(rs->columnNameToIndexMap(), (std::map<std::string, int>{{"value", 1}, {"other", 2}}));
    EXPECT_EQ(rs->resultDictionary(), (Dictionary{{"Value", 1}, {"value", 2}, {"other", 3}}));
    EXPECT_EQ(rs->resultDict(), (Dictionary{{"value", 2}, {"other", 3}}));

    // Exactly equal names: the later column replaces the earlier one.
    rs = db->executeQuery("select 1 as a, 2 as a");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->resultDictionary(), (Dictionary{{"a", 2}}));
}

TEST_F(SQResultSetTest, WholeRowsNeedACurrentRow) {
    auto rs = db->executeQuery("select n_id, n_summary, absent from n where n_id = 2");
    LogCapture log;
    EXPECT_FALSE(rs->resultDictionary());
    EXPECT_FALSE(rs->resultDict());
    EXPECT_EQ(log.lines(),
              std::vector<std::string>(2, "Warning: There seem to be no columns in this set."));
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->resultDictionary(),
              (Dictionary{{"n_id", 2}, {"n_summary", "second"}, {"absent", Value()}}));

    std::map<std::string, std::string> set;
    rs->kvcMagic([&](const std::string& key, const std::string& value) { set[key] = value; });
    EXPECT_EQ(set, (std::map<std::string, std::string>{{"n_id", "2"}, {"n_summary", "second"}}));

    EXPECT_FALSE(rs->next());
    log.clear();
    EXPECT_FALSE(rs->resultDictionary());
    EXPECT_EQ(log.lines().size(), 1u);
    // A name map first built after close is empty.
    EXPECT_TRUE(rs->columnNameToIndexMap().empty());
}

TEST_F(SQResultSetTest, TextThatIsNotUTF8ReadsAsAbsent) {
    ASSERT_TRUE(db->executeUpdate("create table raw (t)"));
    ASSERT_TRUE(db->executeUpdate("insert into raw values (cast(x'c328' as text))"));
    ASSERT_TRUE(db->executeUpdate("insert into raw values (cast(x'e1a0aee1a0a3' as text))"));
    auto rs = db->executeQuery("select t from raw order by rowid");
    ASSERT_TRUE(rs->next());
    EXPECT_FALSE(rs->stringForColumnIndex(0));
    EXPECT_TRUE(rs->objectForColumnIndex(0).isNull());
    EXPECT_NE(rs->UTF8StringForColumnIndex(0), nullptr);
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "ᠮᠣ");
}

TEST_F(SQResultSetTest, ParentDetachedSetsStillCloseQuietly) {
    auto rs = db->executeQuery("select n_id from n");
    ASSERT_TRUE(rs->next());
    rs->close();
    rs->setParentDB(nullptr);
    EXPECT_EQ(rs->columnCount(), 0);
    EXPECT_EQ(rs->intForColumnIndex(0), 0);
    EXPECT_FALSE(rs->hasAnotherRow());
    EXPECT_FALSE(db->hasOpenResultSets());
}
