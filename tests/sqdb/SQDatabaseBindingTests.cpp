#include <climits>

#include "SQTestSupport.h"

using platform::Bytes;
using platform::Date;
using platform::Dictionary;
using platform::LogCapture;
using platform::Value;

class SQDatabaseBinding : public SQDatabaseFileTest {
  protected:
    void SetUp() override {
        SQDatabaseFileTest::SetUp();
        ASSERT_TRUE(db->executeUpdate("create table t (v)"));
    }

    // Stores one value and reads back its SQL type and its value.
    std::pair<std::string, Value> roundTrip(const Value& value) {
        EXPECT_TRUE(db->executeUpdate("delete from t"));
        EXPECT_TRUE(db->executeUpdate("insert into t values (?)", value));
        auto rs = db->executeQuery("select typeof(v), v from t");
        if (!rs || !rs->next()) return {"", Value()};
        return {*rs->stringForColumnIndex(0), rs->objectForColumnIndex(1)};
    }
};

TEST_F(SQDatabaseBinding, EveryValueKindKeepsItsSQLType) {
    using Expect = std::pair<std::string, Value>;
    EXPECT_EQ(roundTrip(Value()), (Expect{"null", Value()}));
    EXPECT_EQ(roundTrip(nullptr), (Expect{"null", Value()}));
    EXPECT_EQ(roundTrip(true), (Expect{"integer", Value(1)}));
    EXPECT_EQ(roundTrip(false), (Expect{"integer", Value(0)}));
    EXPECT_EQ(roundTrip(static_cast<signed char>(-5)), (Expect{"integer", Value(-5)}));
    EXPECT_EQ(roundTrip(static_cast<unsigned char>(250)), (Expect{"integer", Value(250)}));
    EXPECT_EQ(roundTrip(static_cast<short>(-30000)), (Expect{"integer", Value(-30000)}));
    EXPECT_EQ(roundTrip(static_cast<unsigned short>(65000)), (Expect{"integer", Value(65000)}));
    EXPECT_EQ(roundTrip(INT_MIN), (Expect{"integer", Value(INT_MIN)}));
    // Above the signed 32-bit range: zero-extended, positive.
    EXPECT_EQ(roundTrip(4000000000u), (Expect{"integer", Value(4000000000LL)}));
    EXPECT_EQ(roundTrip(INT64_MIN), (Expect{"integer", Value(INT64_MIN)}));
    EXPECT_EQ(roundTrip(static_cast<long long>(1) << 40), (Expect{"integer", Value(1LL << 40)}));
    // Above the signed 64-bit range: the same bits, read back as signed.
    EXPECT_EQ(roundTrip(UINT64_MAX), (Expect{"integer", Value(-1)}));
    EXPECT_EQ(roundTrip(1.5f), (Expect{"real", Value(1.5)}));
    EXPECT_EQ(roundTrip(0.1), (Expect{"real", Value(0.1)}));
    EXPECT_EQ(roundTrip("Mongol ᠮᠣᠩᠭᠣᠯ"), (Expect{"text", Value("Mongol ᠮᠣᠩᠭᠣᠯ")}));
    EXPECT_EQ(roundTrip(std::string()), (Expect{"text", Value("")}));
    EXPECT_EQ(roundTrip(std::string("a\0b", 3)).second, Value(std::string("a\0b", 3)));
    EXPECT_EQ(roundTrip(Bytes{0, 1, 255}), (Expect{"blob", Value(Bytes{0, 1, 255})}));
    // An empty data object is an empty blob, not NULL (which reads back as the null marker).
    EXPECT_EQ(roundTrip(Bytes{}).first, "blob");
    EXPECT_EQ(roundTrip(Date::dateWithTimeIntervalSince1970(12.25)),
              (Expect{"real", Value(12.25)}));
    EXPECT_EQ(roundTrip(std::optional<std::string>()), (Expect{"null", Value()}));
    EXPECT_EQ(roundTrip(std::optional<std::string>("x")), (Expect{"text", Value("x")}));
}

TEST_F(SQDatabaseBinding, AStringADateAndANumberStoreTextRealAndInteger) {
    ASSERT_TRUE(db->executeUpdate("create table n (s, d, i)"));
    ASSERT_TRUE(db->executeUpdate("insert into n values (?, ?, ?)", "note",
                                  Date::dateWithTimeIntervalSince1970(86400), 7));
    auto rs = db->executeQuery("select typeof(s), typeof(d), typeof(i), d from n");
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "text");
    EXPECT_EQ(rs->stringForColumnIndex(1), "real");
    EXPECT_EQ(rs->stringForColumnIndex(2), "integer");
    EXPECT_EQ(rs->dateForColumnIndex(3), Date::dateWithTimeIntervalSince1970(86400));
}

TEST_F(SQDatabaseBinding, BoundTextOutlivesTheArgumentsOfTheCall) {
    // The texts are long enough to live on the heap; the arguments of executeQuery are gone
    // before the statement is stepped, and their memory is reused in between.
    std::string long1(4000, 'a');
    std::string long2(4000, 'b');
    auto rs =
        db->executeQuery("select ?, ?, ?", std::string(long1), std::string(long2), Bytes(3000, 7));
    ASSERT_TRUE(rs);
    std::vector<std::string> scribble(64, std::string(4000, 'z'));
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), long1);
    EXPECT_EQ(rs->stringForColumnIndex(1), long2);
    EXPECT_EQ(rs->dataForColumnIndex(2), Bytes(3000, 7));

    // The same through an array and a dictionary that die before the step.
    auto fromArray = db->executeQuery("select ?", SQDatabase::Arguments{std::string(5000, 'c')});
    auto fromDictionary = db->executeQuery("select :k", Dictionary{{"k", std::string(5000, 'd')}});
    scribble.assign(64, std::string(5000, 'y'));
    ASSERT_TRUE(fromArray->next());
    ASSERT_TRUE(fromDictionary->next());
    EXPECT_EQ(fromArray->stringForColumnIndex(0), std::string(5000, 'c'));
    EXPECT_EQ(fromDictionary->stringForColumnIndex(0), std::string(5000, 'd'));
}

TEST_F(SQDatabaseBinding, ArgumentListsThatDoNotFitTheParameters) {
    LogCapture log;
    // Too few in a list or an array: nothing runs.
    EXPECT_FALSE(db->executeQuery("select ?, ?", 1));
    EXPECT_FALSE(db->executeQuery("select ?, ?", SQDatabase::Arguments{1}));
    EXPECT_EQ(log.lines(), std::vector<std::string>(
                               2,
                               "Error: the bind count is not correct for the # of variables "
                               "(executeQuery)"));
    log.clear();
    EXPECT_FALSE(db->executeUpdate("insert into t values (?)"));
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"Error: the bind count (0) is not correct for the # of "
                                       "variables in the query (1) (insert into t values (?)) "
                                       "(executeUpdate)"});
    std::optional<platform::Error> error;
    EXPECT_FALSE(
        db->executeUpdate("insert into t values (? + ?)", SQDatabase::Arguments{1}, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, "SQDatabase");
    EXPECT_NE(error->localizedDescription().find("bind count (1)"), std::string::npos);
    EXPECT_EQ(single("select count(*) from t"), Value(0));

    // Surplus elements are ignored.
    log.clear();
    EXPECT_TRUE(db->executeUpdate("insert into t values (?)", SQDatabase::Arguments{1, 2, 3}));
    EXPECT_TRUE(db->executeUpdate("insert into t values (?)", 4, 5));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(single("select group_concat(v) from t"), Value("1,4"));

    // Without logging the update still fails, silently.
    db->setLogsErrors(false);
    EXPECT_FALSE(db->executeUpdate("insert into t values (?)"));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(SQDatabaseBinding, DictionaryArgumentsBindByName) {
    ASSERT_TRUE(db->executeUpdate("create table p (a, b)"));
    EXPECT_TRUE(
        db->executeUpdate("insert into p values (:a, :b)", Dictionary{{"a", 1}, {"b", "x"}}));
    auto rs = db->executeQuery("select b from p where a = :a", Dictionary{{"a", 1}});
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumn("b"), "x");
    rs->close();

    LogCapture log;
    EXPECT_FALSE(db->executeQuery("select :a", Dictionary{{"z", 1}}));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"Could not find index for z",
                                        "Error: the bind count is not correct for the # of "
                                        "variables (executeQuery)"}));
    // A stray key with the counts still agreeing: the query runs.
    log.clear();
    rs = db->executeQuery("select :a", Dictionary{{"a", 1}, {"zz", 2}});
    EXPECT_TRUE(rs);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Could not find index for zz"});
    rs.reset();

    log.clear();
    std::optional<platform::Error> error;
    EXPECT_TRUE(db->executeUpdate("insert into p values (:a, 2)", Dictionary{{"a", 1}}));
    db->setLogsErrors(false);
    EXPECT_FALSE(db->executeUpdate("insert into p values (:a, 2)", Dictionary{{"q", 1}}));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(SQDatabaseBinding, TracingLogsStatementsAndArguments) {
    db->setTraceExecution(true);
    LogCapture log;
    EXPECT_TRUE(db->executeUpdate("insert into t values (?)", Bytes{1, 2, 3}));
    auto rs = db->executeQuery("select ?, ?", 5, Value());
    auto byName = db->executeQuery("select :n", Dictionary{{"n", "x"}});
    std::string self = db->description();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               self + " executeUpdate: insert into t values (?)",
                               "data: 3 bytes",
                               self + " executeQuery: select ?, ?",
                               "obj: 5",
                               "obj: <null>",
                               self + " executeQuery: select :n",
                               ":n = x",
                           }));
}
