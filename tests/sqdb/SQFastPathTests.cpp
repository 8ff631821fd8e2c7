// The shortcuts that keep the layer close to the engine's own speed must never change an answer:
// arguments bound without a copy, recently used statements taken before the cache, column names
// resolved once per result set, text checked a word at a time.
#include <functional>
#include <thread>

#include "SQTestSupport.h"

using platform::Bytes;
using platform::LogCapture;
using platform::Value;

class SQFastPathTest : public SQDatabaseFileTest {
  protected:
    void SetUp() override {
        SQDatabaseFileTest::SetUp();
        db->setShouldCacheStatements(true);
        ASSERT_TRUE(db->executeUpdate("create table t (id integer primary key, name, data)"));
    }

    std::optional<std::string> nameOf(int64_t id) {
        return db->stringForQuery("select name from t where id = ?", id);
    }
};

// An update lends the caller's text to SQLite; a query copies it, since its rows are read after
// the call returned and the caller's temporaries are gone.
TEST_F(SQFastPathTest, ArgumentsOutliveTheCallOnlyWhereTheyMust) {
    for (int i = 0; i < 3; ++i) {
        std::string name(40, static_cast<char>('a' + i));
        ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", i, name,
                                      Bytes(16, static_cast<uint8_t>(i))));
        name.assign(40, '#');  // the statement ran: changing the text now changes nothing
    }
    EXPECT_EQ(nameOf(1), std::string(40, 'b'));
    EXPECT_EQ(db->dataForQuery("select data from t where id = 2"), Bytes(16, 2));

    auto rs = db->executeQuery("select id from t where name = ? or name = ?", std::string(40, 'a'),
                               std::string(40, 'c').c_str());
    std::vector<int64_t> found;
    while (rs->next()) found.push_back(rs->longLongIntForColumnIndex(0));
    EXPECT_EQ(found, (std::vector<int64_t>{0, 2}));

    // Every kind an argument list takes binds as its Value would.
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", 10u, "literal", Bytes{}));
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", int64_t{11}, nullptr,
                                  std::optional<std::string>()));
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", static_cast<char>(12), 2.5f,
                                  Value("value")));
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", 13, true,
                                  std::optional<std::string>("some")));
    EXPECT_EQ(db->stringForQuery("select typeof(data) || length(data) from t where id = 10"),
              "blob0");
    EXPECT_EQ(db->stringForQuery("select typeof(name) || typeof(data) from t where id = 11"),
              "nullnull");
    EXPECT_EQ(db->doubleForQuery("select name from t where id = 12"), 2.5);
    EXPECT_EQ(db->stringForQuery("select data from t where id = 12"), "value");
    EXPECT_EQ(db->intForQuery("select name from t where id = 13"), 1);
    EXPECT_EQ(db->stringForQuery("select data from t where id = 13"), "some");
    // Too few arguments still fail; extra ones are left unbound.
    LogCapture log;
    EXPECT_FALSE(db->executeUpdate("insert into t values (?, ?, ?)", 20, "x"));
    EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", 21, "x", "y", "z"));
    EXPECT_EQ(db->intForQuery("select count(*) from t where id >= 20"), 1);
}

// Arguments bound straight from the call: values made for the call (an optional becomes a Value)
// outlive it inside a query's result set, tracing shows only what was bound, and a short list
// still reports its count through the error out-parameter.
TEST_F(SQFastPathTest, ArgumentsBoundStraightFromTheCallKeepEveryAnswer) {
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", 1, std::string(64, 'x'),
                                  std::optional<std::string>(std::string(64, 'y'))));
    auto rs = db->executeQuery(
        "select ?, ? from t where data = ?", std::optional<std::string>(std::string(64, 'q')),
        static_cast<const char*>(nullptr), std::optional<std::string>(std::string(64, 'y')));
    ASSERT_TRUE(rs);
    std::string overwrite(64, '#');  // reuses the heap the temporaries had
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), std::string(64, 'q'));
    EXPECT_TRUE(rs->columnIndexIsNull(1));
    rs->close();

    db->setTraceExecution(true);
    LogCapture log;
    EXPECT_TRUE(db->executeUpdate("update t set name = ? where id = 1", "z", Bytes{1, 2}, 3));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               db->description() + " executeUpdate: update t set name = ? where "
                                                   "id = 1",
                               "obj: z",
                           }));
    db->setTraceExecution(false);

    std::optional<platform::Error> error;
    EXPECT_FALSE(db->update("update t set name = ? where id = ?", &error, "z"));
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("bind count (1)"), std::string::npos);
    EXPECT_FALSE(db->executeQuery("select ?, ?", 1));
    EXPECT_EQ(nameOf(1), "z");
}

// Result sets reuse the memory of the last one freed on their thread: sets open side by side,
// freed in any order and on another thread than made them, each keep reading their own rows.
TEST_F(SQFastPathTest, ResultSetsMadeOneAfterAnotherKeepTheirOwnRows) {
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, null)", i, std::to_string(i)));
    }
    auto first = db->executeQuery("select name from t where id >= ? order by id", 0);
    auto second = db->executeQuery("select name from t where id >= ? order by id desc", 2);
    ASSERT_TRUE(first && second && first->next() && second->next());
    first.reset();
    auto third = db->executeQuery("select name from t where id = ?", 1);
    ASSERT_TRUE(third && third->next());
    EXPECT_EQ(second->stringForColumnIndex(0), "3");
    EXPECT_EQ(third->stringForColumnIndex(0), "1");
    EXPECT_EQ(db->openResultSets().size(), 2u);

    std::thread([&] { second.reset(); }).join();
    third.reset();
    auto fourth = db->executeQuery("select count(*) from t");
    ASSERT_TRUE(fourth && fourth->next());
    EXPECT_EQ(fourth->intForColumnIndex(0), 4);
    EXPECT_EQ(db->openResultSets(), std::vector<SQResultSet*>{fourth.get()});
}

// More statements in turn than the recent ones hold, cache changes in between, and a statement
// someone left mid-way: each run still executes its own text from the start.
TEST_F(SQFastPathTest, RecentStatementsNeverStandInForAnother) {
    for (int i = 0; i < 30; ++i) {
        std::string sql = "insert into t (id, name) values (?, '" + std::to_string(i % 7) + "')";
        ASSERT_TRUE(db->executeUpdate(sql, i));
        if (i == 10) db->clearCachedStatements();
        if (i == 20) db->setShouldCacheStatements(false);
        if (i == 22) db->setShouldCacheStatements(true);
    }
    for (int i = 0; i < 30; ++i) EXPECT_EQ(nameOf(i), std::to_string(i % 7)) << i;

    // A set left open keeps its statement; the same text then gets a statement of its own.
    auto open = db->executeQuery("select id from t order by id");
    ASSERT_TRUE(open->next());
    auto second = db->executeQuery("select id from t order by id");
    ASSERT_TRUE(second->next());
    ASSERT_TRUE(second->next());
    EXPECT_EQ(open->intForColumnIndex(0), 0);
    EXPECT_EQ(second->intForColumnIndex(0), 1);
    second->close();
    open->close();
    // Each still names its text after closing, whether its statement came from the cache or not.
    EXPECT_EQ(open->query(), "select id from t order by id");
    EXPECT_EQ(second->query(), "select id from t order by id");
    EXPECT_FALSE(db->hasOpenResultSets());
    // ... also once the cache has let its statements go.
    db->clearCachedStatements();
    EXPECT_EQ(open->query(), "select id from t order by id");

    // A cached statement stepped by hand and left mid-way starts again from its first row.
    auto rs = db->executeQuery("select id from t order by id");
    sqlite3_stmt* handle = rs->statement()->statement();
    rs->close();
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    rs = db->executeQuery("select id from t order by id");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 0);
}

// A closed set goes on naming its text, but never keeps an engine statement alive past the cache:
// however the cache lets its statements go, and whether the set was still reading then, closing
// the connection leaves nothing to be freed twice.
TEST_F(SQFastPathTest, ClosedSetsNameTheirTextWhateverBecomesOfTheCache) {
    const std::string select = "select id from t";
    const std::vector<std::function<void(SQDatabase&)>> letGo = {
        [](SQDatabase& d) { d.setShouldCacheStatements(false); },
        [](SQDatabase& d) { d.setCachedStatements(SQDatabase::CachedStatements{}); },
        [](SQDatabase& d) { d.clearCachedStatements(); },
        [](SQDatabase&) {},
    };
    for (size_t way = 0; way < letGo.size(); ++way) {
        for (bool readingThen : {false, true}) {
            auto connection = SQDatabase::databaseWithPath(path);
            ASSERT_TRUE(connection->open());
            connection->setShouldCacheStatements(true);
            auto closed = connection->executeQuery(select);
            auto reading = connection->executeQuery(select);
            ASSERT_TRUE(closed && reading);
            closed->close();
            if (!readingThen) reading->close();
            letGo[way](*connection);
            reading->close();
            EXPECT_TRUE(connection->close()) << way;
            EXPECT_EQ(closed->query(), select) << way;
            EXPECT_EQ(reading->query(), select) << way;
            connection.reset();
            closed.reset();
            EXPECT_EQ(reading->query(), select) << way;
        }
    }
}

// The cache's statements are not asked whether someone left them mid-way: SQLite refuses to bind
// to such a statement, and the refusal rewinds it. Every way of binding must take its own
// arguments afterwards, also after a statement ran to its end by hand and was never rewound.
TEST_F(SQFastPathTest, StatementsSteppedByHandTakeTheirNewArguments) {
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(db->executeUpdate("insert into t (id, name) values (?, ?)", i, "n"));
    }
    const std::string select = "select id from t where id >= ? order by id";
    auto handleOf = [&](const std::string& sql, const Value& argument) {
        auto rs = db->executeQuery(sql, SQDatabase::Arguments{argument});
        sqlite3_stmt* handle = rs->statement()->statement();
        rs->close();
        return handle;
    };
    auto firstId = [](std::unique_ptr<SQResultSet> rs) {
        return rs && rs->next() ? rs->intForColumnIndex(0) : -1;
    };

    // Left on a row, with the old argument still bound.
    sqlite3_stmt* handle = handleOf(select, Value(1));
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    EXPECT_EQ(firstId(db->executeQuery(select, 3)), 3);
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    EXPECT_EQ(firstId(db->executeQuery(select, SQDatabase::Arguments{Value(4)})), 4);
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    EXPECT_EQ(firstId(db->executeQuery(select, 2)), 2);
    const std::string named = "select id from t where id >= :low order by id";
    handle = handleOf(named, Value(1));
    ASSERT_EQ(sqlite3_step(handle), SQLITE_ROW);
    EXPECT_EQ(firstId(db->executeQuery(named, platform::Dictionary{{"low", Value(5)}})), 5);

    // Run to its end by hand and not rewound: it is no longer busy, yet still refuses.
    const std::string rename = "update t set name = ? where id = ?";
    ASSERT_TRUE(db->executeUpdate(rename, "first", 1));
    sqlite3_stmt* update = nullptr;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db->sqliteHandle(), nullptr); s;
         s = sqlite3_next_stmt(db->sqliteHandle(), s)) {
        if (rename == sqlite3_sql(s)) update = s;
    }
    ASSERT_NE(update, nullptr);
    ASSERT_EQ(sqlite3_step(update), SQLITE_DONE);
    ASSERT_TRUE(db->executeUpdate(rename, "second", 2));
    EXPECT_EQ(nameOf(1), "first");
    EXPECT_EQ(nameOf(2), "second");
    // More arguments than parameters: the extra one is left unbound.
    ASSERT_EQ(sqlite3_step(update), SQLITE_DONE);
    ASSERT_TRUE(db->executeUpdate(rename, "fourth", 4, "extra"));
    EXPECT_EQ(nameOf(4), "fourth");
    ASSERT_EQ(sqlite3_step(update), SQLITE_DONE);
    ASSERT_TRUE(db->executeUpdate(rename, SQDatabase::Arguments{Value("third"), Value(3)}));
    EXPECT_EQ(nameOf(3), "third");
}

// Names are remembered as spelled: any order, any case, repeated names and unknown names.
TEST_F(SQFastPathTest, ColumnNamesResolveTheSameInAnyOrder) {
    ASSERT_TRUE(db->executeUpdate("insert into t values (1, 'one', x'01')"));
    ASSERT_TRUE(db->executeUpdate("insert into t values (2, 'two', x'02')"));
    auto rs = db->executeQuery("select id, name, data from t order by id");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->intForColumn("id"), 1);
    EXPECT_EQ(rs->stringForColumn("name"), "one");
    EXPECT_EQ(rs->dataForColumn("data"), Bytes{1});
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->dataForColumn("DATA"), Bytes{2});
    EXPECT_EQ(rs->stringForColumn("Name"), "two");
    EXPECT_EQ(rs->intForColumn("id"), 2);
    EXPECT_EQ(rs->intForColumn("id"), 2);
    EXPECT_EQ(rs->stringForColumn("name"), "two");
    LogCapture log;
    EXPECT_EQ(rs->columnIndexForName("nothing"), -1);
    EXPECT_EQ(rs->columnIndexForName("nothing"), -1);
    EXPECT_EQ(log.lines().size(), 2u);  // warned each time, never remembered
    EXPECT_EQ(rs->columnIndexForName("data"), 2);
}

// Spellings added while rows are read (the remembered list grows and moves), then read in
// turns of different order and length: each name still gives its own column on every row.
TEST_F(SQFastPathTest, ColumnNamesStayRightWhileTheirListGrows) {
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?)", i, "n" + std::to_string(i),
                                      Bytes{static_cast<uint8_t>(i)}));
    }
    const std::vector<std::string> spellings = {"id", "name", "data", "ID", "Name", "DATA", "iD"};
    auto rs = db->executeQuery("select id, name, data from t order by id");
    for (int row = 0; row < 40; ++row) {
        ASSERT_TRUE(rs->next());
        // Row by row one more spelling joins, then the order turns round and shortens.
        size_t count = std::min<size_t>(spellings.size(), static_cast<size_t>(row % 9) + 1);
        for (size_t k = 0; k < count; ++k) {
            const std::string& name = row % 2 ? spellings[count - 1 - k] : spellings[k];
            int expected = name == "id" || name == "ID" || name == "iD" ? 0
                           : name == "name" || name == "Name"           ? 1
                                                                        : 2;
            ASSERT_EQ(rs->columnIndexForName(name), expected) << name << " row " << row;
        }
        EXPECT_EQ(rs->intForColumn("iD"), row);
        EXPECT_EQ(rs->stringForColumn("Name"), "n" + std::to_string(row));
        EXPECT_EQ(rs->dataForColumn("data"), Bytes{static_cast<uint8_t>(row)});
    }
}

// Long ASCII runs are skipped a word at a time; whatever follows them is still checked.
TEST_F(SQFastPathTest, TextIsCheckedToTheLastByteAfterLongAsciiRuns) {
    struct Case {
        const char* hex;
        bool valid;
    };
    const std::string ascii17 = "6162636465666768696a6b6c6d6e6f7071";  // "a".."q"
    const Case cases[] = {
        {"", true},
        {"e1a0ae", true},  // one Mongolian letter after the run
        {"f09f9880", true},
        {"ff", false},
        {"c0af", false},    // overlong
        {"eda080", false},  // a surrogate
        {"e1a0", false},    // cut short at the very end
        {"e1a0ae61ff", false},
    };
    int id = 100;
    for (const Case& c : cases) {
        for (const std::string& prefix : {std::string(), ascii17, ascii17.substr(0, 14)}) {
            std::string hex = prefix + c.hex;
            ASSERT_TRUE(db->executeUpdate("insert into t (id, name) values (" + std::to_string(id) +
                                          ", cast(x'" + hex + "' as text))"));
            auto text = nameOf(id);
            EXPECT_EQ(text.has_value(), c.valid) << hex;
            if (text) {
                EXPECT_EQ(text->size(), hex.size() / 2) << hex;
            }
            ++id;
        }
    }
    // NULL and the empty text stay apart.
    ASSERT_TRUE(db->executeUpdate("insert into t (id, name) values (1000, '')"));
    ASSERT_TRUE(db->executeUpdate("insert into t (id, name) values (1001, null)"));
    EXPECT_EQ(nameOf(1000), "");
    EXPECT_FALSE(nameOf(1001));
}
