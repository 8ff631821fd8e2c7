#include "SQTestSupport.h"

using platform::Value;

namespace {

struct Extracted {
    std::string sql;
    SQDatabase::Arguments arguments;
};

template <typename... Args>
Extracted extract(std::string_view format, Args&&... args) {
    const std::array<Value, sizeof...(Args)> list{Value(std::forward<Args>(args))...};
    Extracted out;
    SQDatabase::extractSQL(format, list, out.sql, out.arguments);
    return out;
}

}  // namespace

TEST(SQDatabaseFormat, ConversionsBecomeParametersOfTheirType) {
    auto e = extract("a=%d and b=%@", 5, nullptr);
    EXPECT_EQ(e.sql, "a=? and b=NULL");
    ASSERT_EQ(e.arguments.size(), 1u);
    EXPECT_EQ(e.arguments[0].type(), Value::Type::Int);
    EXPECT_EQ(e.arguments[0], Value(5));

    e = extract("%c %s %i %D %u %U %hi %hu %qi %qu %ld %lu %lld %llu %f %g %@", 'x', "text", -1, 2,
                3u, 4u, 70000, 70000, -6LL, 7ULL, -8L, 9UL, -10LL, 11ULL, 1.25, 0.1, "obj");
    EXPECT_EQ(e.sql, "? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ?");
    using T = Value::Type;
    std::vector<T> types;
    for (const auto& v : e.arguments) types.push_back(v.type());
    EXPECT_EQ(types, (std::vector<T>{T::Text, T::Text, T::Int, T::Int, T::UnsignedInt,
                                     T::UnsignedInt, T::Short, T::UnsignedShort, T::Long,
                                     T::UnsignedLong, T::Long, T::UnsignedLong, T::Long,
                                     T::UnsignedLong, T::Double, T::Double, T::Text}));
    EXPECT_EQ(e.arguments[0], Value("x"));
    // Cut to short as the conversion says.
    EXPECT_EQ(e.arguments[6], Value(static_cast<short>(70000)));
    EXPECT_EQ(e.arguments[7], Value(static_cast<unsigned short>(70000)));
    // %g keeps every digit of its double.
    EXPECT_EQ(e.arguments[15], Value(0.1));
}

TEST(SQDatabaseFormat, PercentSignsAndUnknownLetters) {
    // "%%" is one percent sign and reads no argument, also when a letter follows it.
    auto e = extract("like 'a%%d' and x=%d", 3);
    EXPECT_EQ(e.sql, "like 'a%d' and x=?");
    ASSERT_EQ(e.arguments.size(), 1u);
    EXPECT_EQ(e.arguments[0], Value(3));
    EXPECT_EQ(extract("100%%").sql, "100%");
    EXPECT_EQ(extract("%%%%").sql, "%%");

    // A letter that is no conversion is copied without its "%" and reads nothing.
    e = extract("%x%d", 1);
    EXPECT_EQ(e.sql, "x?");
    EXPECT_EQ(e.arguments.size(), 1u);
    // Size letters without their conversion letter stay text.
    EXPECT_EQ(extract("%hx %qz %lx %llx %h").sql, "hx qz lx llx h");
    EXPECT_TRUE(extract("%hx %qz %lx %llx %h").arguments.empty());
    // A trailing "%" vanishes; UTF-8 passes through.
    EXPECT_EQ(extract("ᠮᠣᠩᠭᠣᠯ %").sql, "ᠮᠣᠩᠭᠣᠯ ");
}

TEST(SQDatabaseFormat, MissingArgumentsFailOnTheBindCount) {
    auto e = extract("%d %@ %s", 1);
    EXPECT_EQ(e.sql, "? ? ?");
    EXPECT_EQ(e.arguments.size(), 1u);

    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("create table t (a, b)"));
    platform::LogCapture log;
    EXPECT_FALSE(db->executeUpdateWithFormat("insert into t values (%d, %d)", 1));
    EXPECT_TRUE(log.contains("the bind count (1) is not correct"));
    EXPECT_FALSE(db->executeQueryWithFormat("select %d, %s", 1));
    EXPECT_TRUE(log.contains("(executeQuery)"));
}

TEST(SQDatabaseFormat, FormattedStatementsRun) {
    auto db = SQDatabase::database();
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("create table t (a, b, c)"));
    // The text argument is bound, never spliced into the SQL.
    ASSERT_TRUE(db->executeUpdateWithFormat("insert into t values (%d, %@, %s)", 42,
                                            "it's; drop table t", nullptr));
    auto rs = db->executeQueryWithFormat("select b, typeof(c) from t where a = %ld", 42L);
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "it's; drop table t");
    EXPECT_EQ(rs->stringForColumnIndex(1), "null");
}
