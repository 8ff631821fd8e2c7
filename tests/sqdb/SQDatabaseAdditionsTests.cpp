#include "SQTestSupport.h"

using platform::LogCapture;

class SQDatabaseAdditions : public SQDatabaseFileTest {
  protected:
    void SetUp() override {
        SQDatabaseFileTest::SetUp();
        ASSERT_TRUE(db->executeStatements(
            "create table Notes (ID integer primary key, Title text, Body blob, Score real);"
            "create table empty (a); create view recent as select * from Notes;"
            "create index notes_title on Notes (Title);"));
    }
};

TEST_F(SQDatabaseAdditions, SingleValuesReadTheFirstColumnOfTheFirstRow) {
    EXPECT_EQ(db->intForQuery("select count(*) from empty"), 0);
    EXPECT_EQ(db->intForQuery("select a from empty"), 0);
    ASSERT_TRUE(db->executeUpdate("insert into Notes values (1, 'one', x'0102', 1.5)"));
    ASSERT_TRUE(db->executeUpdate("insert into Notes values (2, null, null, null)"));
    ASSERT_TRUE(db->executeUpdate("insert into Notes values (3, 'three', x'', 0)"));

    EXPECT_EQ(db->stringForQuery("select Title from Notes order by ID"), "one");
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_EQ(db->stringForQuery("select Title from Notes where ID = ?", 2), std::nullopt);
    EXPECT_EQ(db->stringForQuery("select Title from Notes where ID = ?", 9), std::nullopt);
    EXPECT_EQ(db->intForQuery("select max(ID) from Notes"), 3);
    EXPECT_EQ(db->longForQuery("select ? * 1", int64_t{1} << 40), int64_t{1} << 40);
    EXPECT_TRUE(db->boolForQuery("select count(*) from Notes where Title = ?", "three"));
    EXPECT_FALSE(db->boolForQuery("select Score from Notes where ID = 3"));
    EXPECT_DOUBLE_EQ(db->doubleForQuery("select Score from Notes where ID = 1"), 1.5);
    EXPECT_DOUBLE_EQ(db->doubleForQuery("select Score from Notes where ID = 2"), 0.0);
    EXPECT_EQ(db->dataForQuery("select Body from Notes where ID = 1"), platform::Bytes({1, 2}));
    EXPECT_EQ(db->dataForQuery("select Body from Notes where ID = 3"), std::nullopt);
    EXPECT_EQ(db->dateForQuery("select 86400"),
              platform::Date::dateWithTimeIntervalSince1970(86400));
    EXPECT_EQ(db->dateForQuery("select null"), std::nullopt);
    EXPECT_FALSE(db->hasOpenResultSets());

    // A query that cannot run reads as a missing row.
    LogCapture log;
    EXPECT_EQ(db->intForQuery("select x from nowhere"), 0);
    EXPECT_EQ(db->stringForQuery("select x from nowhere"), std::nullopt);
    EXPECT_TRUE(log.contains("no such table: nowhere"));
}

TEST_F(SQDatabaseAdditions, TablesAndColumnsIgnoreCase) {
    EXPECT_TRUE(db->tableExists("notes"));
    EXPECT_TRUE(db->tableExists("NOTES"));
    EXPECT_FALSE(db->tableExists("recent"));
    EXPECT_FALSE(db->tableExists("notes_title"));
    EXPECT_FALSE(db->tableExists("missing"));

    EXPECT_TRUE(db->columnExistsInTableWithName("title", "notes"));
    EXPECT_TRUE(db->columnExistsInTableWithName("SCORE", "Notes"));
    EXPECT_FALSE(db->columnExistsInTableWithName("title", "missing"));
    EXPECT_FALSE(db->columnExistsInTableWithName("nothing", "notes"));
    EXPECT_TRUE(db->columnExistsColumnName("notes", "id"));
    EXPECT_FALSE(db->columnExistsColumnName("id", "notes"));
    EXPECT_FALSE(db->hasOpenResultSets());
}

TEST_F(SQDatabaseAdditions, SchemaListsObjectsInOrder) {
    ASSERT_TRUE(db->executeUpdate("create temp table scratch (x)"));
    auto rs = db->getSchema();
    ASSERT_TRUE(rs);
    std::vector<std::string> rows;
    while (rs->next()) {
        rows.push_back(rs->stringForColumn("type").value_or("") + " " +
                       rs->stringForColumn("name").value_or(""));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"table Notes", "index notes_title", "table empty",
                                              "view recent", "table scratch"}));

    auto columns = db->getTableSchema("Notes");
    ASSERT_TRUE(columns);
    std::vector<std::string> names;
    while (columns->next()) names.push_back(columns->stringForColumn("name").value_or(""));
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "Title", "Body", "Score"}));
}

TEST_F(SQDatabaseAdditions, AHostileTableNameStaysAName) {
    ASSERT_TRUE(db->executeUpdate("create table \"it's\" (\"o'k\")"));
    EXPECT_TRUE(db->tableExists("IT'S"));
    EXPECT_TRUE(db->columnExistsInTableWithName("O'K", "it's"));

    // A name built to close the quote and add a statement of its own is looked up as it is.
    LogCapture log;
    const std::string hostile = "x'); drop table Notes; --";
    auto rs = db->getTableSchema(hostile);
    ASSERT_TRUE(rs);
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(db->columnExistsInTableWithName("id", hostile));
    EXPECT_FALSE(db->tableExists(hostile));
    EXPECT_TRUE(db->tableExists("Notes"));
}

TEST_F(SQDatabaseAdditions, HeaderFieldsRoundTripAndPersist) {
    EXPECT_EQ(db->userVersion(), 0u);
    db->setUserVersion(7);
    EXPECT_EQ(db->userVersion(), 7u);
    db->setApplicationID(4294967295u);
    EXPECT_EQ(db->applicationID(), 4294967295u);
    db->setApplicationIDString("ZLVO");
    EXPECT_EQ(db->applicationID(), 0x5A4C564Fu);
    EXPECT_EQ(db->applicationIDString(), "ZLVO");

    LogCapture log;
    db->setApplicationIDString("ab");
    EXPECT_TRUE(
        log.contains("setApplicationIDString: string passed is not exactly 4 chars long. (was 2)"));
    EXPECT_EQ(db->applicationID(), 0x61620000u);

    ASSERT_TRUE(db->close());
    auto again = SQDatabase::databaseWithPath(path);
    ASSERT_TRUE(again->open());
    EXPECT_EQ(again->userVersion(), 7u);
    EXPECT_EQ(again->applicationID(), 0x61620000u);
}

TEST_F(SQDatabaseAdditions, ValidateSQLPreparesWithoutRunning) {
    std::optional<platform::Error> error;
    EXPECT_FALSE(db->validateSQL("selec 1", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, platform::CocoaErrorDomain);
    EXPECT_EQ(error->code, SQLITE_ERROR);
    EXPECT_EQ(error->localizedDescription(), "near \"selec\": syntax error");

    error.reset();
    EXPECT_TRUE(db->validateSQL("insert into empty values (1)", &error));
    EXPECT_FALSE(error);
    EXPECT_EQ(db->intForQuery("select count(*) from empty"), 0);
    EXPECT_TRUE(db->validateSQL("select 1; this is not sql", nullptr));
}
