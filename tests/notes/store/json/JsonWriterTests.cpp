#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "notes/store/json/JsonWriter.h"
#include "tests/notes/store/json/JsonTestSupport.h"

namespace notes {
namespace {

using testing::errorCodes;
using testing::errorTexts;
using testing::nestedArrayValue;

std::string write(const JsonValue& value) {
    JsonWriter writer;
    auto json = writer.stringWithFragment(value);
    EXPECT_TRUE(json.has_value()) << ::testing::PrintToString(errorTexts(writer));
    return json.value_or("");
}

TEST(JsonWriterTest, CompactObjectsKeepTheirOrderWithoutBlanks) {
    JsonWriter writer;
    EXPECT_EQ(writer.stringWithObject(JsonObject{{"n_id", 7}}), R"({"n_id":7})");
    JsonObject note{{"n_text", "<p>a</p>"}, {"n_id", 7}, {"version", "1.0"}};
    EXPECT_EQ(writer.stringWithObject(note), R"({"n_text":"<p>a</p>","n_id":7,"version":"1.0"})");
    EXPECT_EQ(
        writer.stringWithObject(JsonArray{true, false, nullptr, "x", JsonArray{}, JsonObject{}}),
        R"([true,false,null,"x",[],{}])");
    EXPECT_FALSE(writer.errorTrace().has_value());
}

TEST(JsonWriterTest, OnlyContainersAreObjectsButAnyValueIsAFragment) {
    JsonWriter writer;
    EXPECT_FALSE(writer.stringWithObject("text").has_value());
    EXPECT_EQ(errorCodes(writer), std::vector<unsigned>{4});
    EXPECT_EQ(errorTexts(writer), std::vector<std::string>{"Not valid type for JSON"});
    EXPECT_EQ(writer.stringWithFragment("text"), R"("text")");
    EXPECT_FALSE(writer.errorTrace().has_value());
    EXPECT_EQ(writer.stringWithFragment(nullptr), "null");
    EXPECT_EQ(writer.stringWithFragment(false), "false");
    EXPECT_EQ(writer.stringWithFragment(-12), "-12");
}

TEST(JsonWriterTest, StringEscapes) {
    EXPECT_EQ(write("a\tb\"c"), R"("a\tb\"c")");
    EXPECT_EQ(write("\b\f\n\r\\"), R"("\b\f\n\r\\")");
    EXPECT_EQ(write(std::string("\x1f", 1)), R"("\u001f")");
    EXPECT_EQ(write(std::string("a\0b", 3)), R"("a\u0000b")");
    EXPECT_EQ(write("\x01\x0b\x7f"), "\"\\u0001\\u000b\x7f\"");
    // The solidus, Mongolian letters (with the narrow no-break space) and emoji stay as they are.
    EXPECT_EQ(write("a/b ᠮᠣᠩᠭᠣᠯ\u202fᠤᠨ 😀"), "\"a/b ᠮᠣᠩᠭᠣᠯ\u202fᠤᠨ 😀\"");
    EXPECT_EQ(write(""), R"("")");
    // Keys are escaped like values.
    EXPECT_EQ(write(JsonObject{{"a\"b", 1}}), R"({"a\"b":1})");
}

TEST(JsonWriterTest, TextThatIsNotUtf8IsRefused) {
    JsonWriter writer;
    EXPECT_FALSE(writer.stringWithFragment("abc\xff").has_value());
    EXPECT_EQ(errorCodes(writer), std::vector<unsigned>{1});
    EXPECT_FALSE(writer.stringWithFragment("\xed\xa0\x80").has_value());  // a lone surrogate
    EXPECT_FALSE(writer.stringWithObject(JsonObject{{"k\xc3", 1}}).has_value());
    EXPECT_EQ(errorTexts(writer), std::vector<std::string>{"JSON object key must be string"});
}

TEST(JsonWriterTest, HumanReadableLayout) {
    JsonWriter writer;
    writer.setHumanReadable(true);
    EXPECT_EQ(writer.stringWithObject(JsonObject{{"a", JsonArray{}}}), "{\n  \"a\":[]\n}");
    EXPECT_EQ(writer.stringWithObject(JsonArray{1, JsonArray{2, 3}, JsonObject{{"k", "v"}}}),
              "[\n  1,\n  [\n    2,\n    3\n  ],\n  {\n    \"k\":\"v\"\n  }\n]");
    EXPECT_EQ(writer.stringWithObject(JsonObject{}), "{}");
    EXPECT_EQ(writer.stringWithFragment("x"), "\"x\"");
}

TEST(JsonWriterTest, SortedKeysFollowUtf16Order) {
    JsonWriter writer;
    JsonObject object{{"b", 1}, {"a", 2}, {"\uff01", 3}, {"😀", 4}, {"ab", 5}};
    EXPECT_EQ(writer.stringWithObject(object), "{\"b\":1,\"a\":2,\"\uff01\":3,\"😀\":4,\"ab\":5}");
    writer.setSortKeys(true);
    // A surrogate pair sorts before U+FF01, as UTF-16 units compare.
    EXPECT_EQ(writer.stringWithObject(object), "{\"a\":2,\"ab\":5,\"b\":1,\"😀\":4,\"\uff01\":3}");
    writer.setHumanReadable(true);
    EXPECT_EQ(writer.stringWithObject(JsonObject{{"z", JsonObject{{"y", 1}, {"x", 2}}}, {"w", 0}}),
              "{\n  \"w\":0,\n  \"z\":{\n    \"x\":2,\n    \"y\":1\n  }\n}");
}

TEST(JsonWriterTest, NumbersKeepTheirText) {
    EXPECT_EQ(write(0), "0");
    EXPECT_EQ(write(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(write(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(write(1.5), "1.5");
    EXPECT_EQ(write(0.1), "0.1");
    EXPECT_EQ(write(1500.0), "1500");
    EXPECT_EQ(write(-0.0), "-0");
    EXPECT_EQ(write(1e300), "1e+300");
    EXPECT_EQ(write(std::numeric_limits<double>::denorm_min()), "5e-324");
    EXPECT_EQ(write(JsonNumber(std::string("1.5e3"))), "1.5e3");
    EXPECT_EQ(write(JsonNumber(std::string("123456789012345678901234567890.000001E-999"))),
              "123456789012345678901234567890.000001E-999");
}

TEST(JsonWriterTest, NonFiniteAndMalformedNumbersAreErrors) {
    JsonWriter writer;
    for (double value : {std::nan(""), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(writer.stringWithObject(JsonArray{value}).has_value());
        EXPECT_EQ(errorCodes(writer), std::vector<unsigned>{1});
    }
    EXPECT_EQ(errorTexts(writer).front(), "JSON serialisation not supported for -inf");
    for (const char* text : {"", "01", "1.", "+1", "0x10", "1e", " 1", "1 "}) {
        EXPECT_FALSE(writer.stringWithFragment(JsonNumber(std::string(text))).has_value()) << text;
    }
    EXPECT_FALSE(writer.stringWithObject(JsonObject{{"n", std::nan("")}}).has_value());
    EXPECT_EQ(errorTexts(writer),
              (std::vector<std::string>{"JSON serialisation not supported for nan",
                                        "Unsupported value for key n in object"}));
}

TEST(JsonWriterTest, NestingLimit) {
    JsonWriter writer;
    EXPECT_TRUE(writer.stringWithObject(nestedArrayValue(512)).has_value());
    EXPECT_FALSE(writer.stringWithObject(nestedArrayValue(513)).has_value());
    EXPECT_EQ(errorTexts(writer).front(), "Nested too deep");
    EXPECT_EQ(errorCodes(writer), std::vector<unsigned>{7});  // failing elements add nothing

    JsonValue objects = JsonObject{};
    for (int i = 1; i < 513; ++i) objects = JsonObject{{"k", objects}};
    EXPECT_FALSE(writer.stringWithObject(objects).has_value());
    EXPECT_EQ(errorCodes(writer).size(), 513u);

    writer.setMaxDepth(2);
    EXPECT_TRUE(writer.stringWithObject(nestedArrayValue(2)).has_value());
    EXPECT_FALSE(writer.stringWithObject(nestedArrayValue(3)).has_value());
}

TEST(JsonWriterTest, NoLimitStillStopsAtTheHardCap) {
    JsonWriter writer;
    writer.setMaxDepth(0);
    EXPECT_TRUE(writer.stringWithObject(nestedArrayValue(JsonBase::kHardMaxDepth)).has_value());
    EXPECT_FALSE(
        writer.stringWithObject(nestedArrayValue(JsonBase::kHardMaxDepth + 1)).has_value());
    EXPECT_EQ(errorCodes(writer), std::vector<unsigned>{7});
    writer.setMaxDepth(JsonBase::kHardMaxDepth * 2);
    EXPECT_FALSE(
        writer.stringWithObject(nestedArrayValue(JsonBase::kHardMaxDepth + 1)).has_value());
}

TEST(JsonWriterTest, IndentationStaysRightAfterFailuresAndWithoutALimit) {
    JsonWriter writer;
    writer.setHumanReadable(true);
    const std::string expected = "[\n  [\n    1\n  ]\n]";
    // A failure deep inside leaves no nesting behind for the next call.
    EXPECT_FALSE(writer.stringWithObject(JsonArray{JsonArray{std::nan("")}}).has_value());
    EXPECT_EQ(writer.stringWithObject(JsonArray{JsonArray{1}}), expected);
    // Without a limit the nesting is still counted, in and out.
    writer.setMaxDepth(0);
    EXPECT_EQ(writer.stringWithObject(JsonArray{JsonArray{1}}), expected);
    EXPECT_EQ(writer.indent(), "\n");
}

}  // namespace
}  // namespace notes
