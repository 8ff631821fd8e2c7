#include <gtest/gtest.h>

#include <cmath>

#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonWriter.h"
#include "tests/notes/store/json/JsonTestSupport.h"

namespace notes {
namespace {

using testing::errorCodes;
using testing::errorTexts;
using testing::firstErrorText;
using testing::nestedArrayText;

JsonValue parse(std::string_view text) {
    JsonParser parser;
    auto value = parser.fragmentWithString(text);
    EXPECT_TRUE(value.has_value()) << text << ": " << ::testing::PrintToString(errorTexts(parser));
    return value ? std::move(*value) : JsonValue();
}

// The first cause and the code of the outermost error of parsing `text` as a fragment.
std::pair<std::string, unsigned> failure(std::string_view text) {
    JsonParser parser;
    EXPECT_FALSE(parser.fragmentWithString(text).has_value()) << text;
    auto codes = errorCodes(parser);
    return {firstErrorText(parser), codes.empty() ? 0u : codes.back()};
}

TEST(JsonParserTest, Values) {
    EXPECT_EQ(parse("true"), JsonValue(true));
    EXPECT_EQ(parse("false"), JsonValue(false));
    EXPECT_EQ(parse("null"), JsonValue());
    EXPECT_EQ(parse(R"("ᠮᠣᠩᠭᠣᠯ")"), JsonValue("ᠮᠣᠩᠭᠣᠯ"));
    EXPECT_EQ(parse(R"([1,"a",[],{},null])"),
              (JsonValue(JsonArray{1, "a", JsonArray{}, JsonObject{}, nullptr})));
    JsonValue object = parse(R"({"n_text":"<p/>","n_id":7,"version":"1.0"})");
    ASSERT_TRUE(object.isObject());
    std::vector<std::string> keys;
    for (const auto& member : *object.object()) keys.push_back(member.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"n_text", "n_id", "version"}));
    EXPECT_EQ(object.object()->find("n_id")->number()->integerValue(), 7);
}

TEST(JsonParserTest, RepeatedKeysKeepTheLastValue) {
    JsonValue object = parse(R"({"a":1,"b":2,"a":3})");
    EXPECT_EQ(object, JsonValue(JsonObject{{"a", 3}, {"b", 2}}));
    // Also once the object is large enough to index its keys.
    std::string text = "{";
    for (int i = 0; i < 100; ++i)
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    text += "\"k5\":\"again\"}";
    JsonValue large = parse(text);
    EXPECT_EQ(large.object()->size(), 100u);
    EXPECT_EQ(*large.object()->find("k5"), JsonValue("again"));
    EXPECT_EQ(*large.object()->find("k99"), JsonValue(99));
    JsonObject copy = *large.object();
    copy.set("k100", true);
    EXPECT_EQ(copy.size(), 101u);
    EXPECT_EQ(*copy.find("k5"), JsonValue("again"));
}

TEST(JsonParserTest, WhiteSpaceAndSeparators) {
    EXPECT_EQ(parse(" \t\n\v\f\r[ 1 , 2 ] \r\n"), JsonValue(JsonArray{1, 2}));
    // Commas between elements and between members may be left out.
    EXPECT_EQ(parse("[1 2]"), JsonValue(JsonArray{1, 2}));
    EXPECT_EQ(parse(R"({"a":1 "b":2})"), JsonValue(JsonObject{{"a", 1}, {"b", 2}}));
    EXPECT_EQ(parse(R"({ "a" : 1 , "b" : [ ] })"),
              JsonValue(JsonObject{{"a", 1}, {"b", JsonArray{}}}));
    EXPECT_EQ(failure("[1,]"),
              std::make_pair(std::string("Trailing comma disallowed in array"), 9u));
    EXPECT_EQ(failure("[1, ]").second, 9u);
    EXPECT_EQ(failure(R"({"a":1,})"),
              std::make_pair(std::string("Trailing comma disallowed in object"), 9u));
    EXPECT_EQ(failure("[1,,2]").first, "Unrecognised leading character");
}

TEST(JsonParserTest, EmptyAndUnfinishedTexts) {
    EXPECT_EQ(failure(""), std::make_pair(std::string("Unexpected end of string"), 11u));
    EXPECT_EQ(failure("   "), std::make_pair(std::string("Unexpected end of string"), 11u));
    EXPECT_EQ(failure("["), std::make_pair(std::string("End of input while parsing array"), 11u));
    EXPECT_EQ(failure("[1 "), std::make_pair(std::string("End of input while parsing array"), 11u));
    EXPECT_EQ(failure("[1,"), std::make_pair(std::string("End of input while parsing array"), 11u));
    EXPECT_EQ(failure(R"({"a":1)"),
              std::make_pair(std::string("End of input while parsing object"), 11u));
    // Blanks after the bracket lead to a missing value first.
    EXPECT_EQ(failure("[ "), std::make_pair(std::string("Unexpected end of string"), 3u));
    EXPECT_EQ(failure("tru"), std::make_pair(std::string("Expected 'true'"), 3u));
    EXPECT_EQ(failure("fals"), std::make_pair(std::string("Expected 'false'"), 3u));
    EXPECT_EQ(failure("nul"), std::make_pair(std::string("Expected 'null'"), 3u));
    EXPECT_EQ(failure("nil"), std::make_pair(std::string("Expected 'null'"), 3u));
    EXPECT_EQ(failure("x"), std::make_pair(std::string("Unrecognised leading character"), 3u));
}

TEST(JsonParserTest, TopLevel) {
    JsonParser parser;
    EXPECT_FALSE(parser.objectWithString("7").has_value());
    EXPECT_EQ(errorTexts(parser), std::vector<std::string>{"Valid fragment, but not JSON"});
    EXPECT_EQ(errorCodes(parser), std::vector<unsigned>{4});
    EXPECT_EQ(parser.fragmentWithString("7"), JsonValue(7));
    EXPECT_FALSE(parser.errorTrace().has_value());
    EXPECT_TRUE(parser.objectWithString("{}").has_value());
    EXPECT_FALSE(parser.objectWithString(std::nullopt).has_value());
    EXPECT_EQ(errorTexts(parser), std::vector<std::string>{"Input was 'nil'"});
    EXPECT_EQ(errorCodes(parser), std::vector<unsigned>{12});
    EXPECT_EQ(failure("[1] x"), std::make_pair(std::string("Garbage after JSON"), 10u));
    EXPECT_EQ(failure("[1][2]").second, 10u);
    EXPECT_EQ(failure(std::string_view("[1]\0", 4)).second, 10u);  // NUL is no terminator
}

TEST(JsonParserTest, Numbers) {
    EXPECT_EQ(parse("0").number()->integerValue(), 0);
    EXPECT_EQ(parse("-0").number()->text(), "-0");
    EXPECT_EQ(parse("-12").number()->integerValue(), -12);
    EXPECT_EQ(parse("1.5e3"), JsonValue(1500));
    EXPECT_EQ(parse("1.5e3").number()->integerValue(), 1500);
    EXPECT_EQ(parse("1.5e3").number()->text(), "1.5e3");
    EXPECT_EQ(parse("15.00E+2"), JsonValue(1500));
    EXPECT_EQ(parse("0.25").number()->doubleValue(), 0.25);
    EXPECT_EQ(parse("2.5E-1").number()->doubleValue(), 0.25);
    EXPECT_FALSE(parse("0.25").number()->integerValue().has_value());
    EXPECT_NE(parse("0.1"), parse("0.10000000000000001"));  // compared exactly, not as doubles
    EXPECT_EQ(parse("[-1,2]"), JsonValue(JsonArray{-1, 2}));

    EXPECT_EQ(failure("01"), std::make_pair(std::string("Leading 0 disallowed in number"), 2u));
    EXPECT_EQ(failure("-01").first, "Leading 0 disallowed in number");
    EXPECT_EQ(failure("-x"), std::make_pair(std::string("No digits after initial minus"), 2u));
    EXPECT_EQ(failure("-").first, "No digits after initial minus");
    EXPECT_EQ(failure("+1"), std::make_pair(std::string("Leading + disallowed in number"), 2u));
    EXPECT_EQ(failure("1."), std::make_pair(std::string("No digits after decimal point"), 2u));
    EXPECT_EQ(failure("1.e5").first, "No digits after decimal point");
    EXPECT_EQ(failure(".5").first, "Unrecognised leading character");
    EXPECT_EQ(failure("1e"), std::make_pair(std::string("No digits after exponent"), 2u));
    EXPECT_EQ(failure("1E+").first, "No digits after exponent");
    EXPECT_EQ(failure("[1e-]").first, "No digits after exponent");
}

TEST(JsonParserTest, NumberLimits) {
    EXPECT_EQ(parse("9223372036854775807").number()->integerValue(), INT64_MAX);
    EXPECT_EQ(parse("-9223372036854775808").number()->integerValue(), INT64_MIN);
    EXPECT_FALSE(parse("9223372036854775808").number()->integerValue().has_value());
    EXPECT_FALSE(parse("1e19").number()->integerValue().has_value());
    EXPECT_EQ(parse("9.2e18").number()->integerValue(), 9'200'000'000'000'000'000);
    // Digits beyond any machine type survive a round trip untouched.
    const std::string big = "123456789012345678901234567890123456789012.5e-3";
    JsonValue value = parse("[" + big + "]");
    EXPECT_EQ(JsonWriter().stringWithObject(value), "[" + big + "]");
    EXPECT_EQ(parse("1e400").number()->doubleValue(), INFINITY);
    EXPECT_EQ(parse("-1e400").number()->doubleValue(), -INFINITY);
    EXPECT_EQ(parse("1e-400").number()->doubleValue(), 0.0);
    EXPECT_EQ(parse("0e99999999999999999999999"), JsonValue(0));
}

TEST(JsonParserTest, StringEscapes) {
    EXPECT_EQ(parse(R"("\"\\\/\b\f\n\r\t")"), JsonValue("\"\\/\b\f\n\r\t"));
    EXPECT_EQ(parse(R"("\u00e9\u00C9\u1820")"), JsonValue("éÉᠠ"));
    EXPECT_EQ(parse(R"("a\u0000b")"), JsonValue(std::string("a\0b", 3)));
    EXPECT_EQ(failure(R"("\x")"),
              std::make_pair(std::string("Illegal escape sequence '0x78'"), 8u));
    EXPECT_EQ(failure("\"a\tb\""),
              std::make_pair(std::string("Unescaped control character '0x9'"), 5u));
    EXPECT_EQ(failure(std::string_view("\"a\0b\"", 5)).first, "Unescaped control character '0x0'");
    EXPECT_EQ(failure("\"abc"),
              std::make_pair(std::string("Unescaped control character '0x0'"), 5u));
    EXPECT_EQ(failure("\"abc\\"),
              std::make_pair(std::string("Unexpected EOF while parsing string"), 11u));
}

TEST(JsonParserTest, SurrogatePairsAndLoneSurrogates) {
    JsonValue emoji = parse(R"("\ud83d\ude00")");
    EXPECT_EQ(emoji, JsonValue("😀"));
    EXPECT_EQ(emoji.string()->size(), 4u);  // one character (two UTF-16 units)
    EXPECT_EQ(parse(R"("\uDBFF\uDFFF")"), JsonValue("\U0010FFFF"));
    EXPECT_EQ(failure(R"("\udc00")"),
              std::make_pair(std::string("Invalid high character in surrogate pair"), 6u));
    EXPECT_EQ(failure(R"("\ud800")"),
              std::make_pair(std::string("Missing low character in surrogate pair"), 6u));
    EXPECT_EQ(failure(R"("\ud800x")").first, "Missing low character in surrogate pair");
    EXPECT_EQ(failure(R"("\ud800\n")").first, "Missing low character in surrogate pair");
    EXPECT_EQ(failure(R"("\ud800\u0041")"),
              std::make_pair(std::string("Invalid low surrogate char"), 6u));
    EXPECT_EQ(failure(R"("\ud800\ud800")").first, "Invalid low surrogate char");
    EXPECT_EQ(failure(R"("\ud800\u12")").first, "Missing hex digit in quad");
    EXPECT_EQ(failure(R"("\u12G4")"), std::make_pair(std::string("Missing hex digit in quad"), 6u));
    EXPECT_EQ(failure(R"("\u12)").first, "Missing hex digit in quad");
}

TEST(JsonParserTest, InvalidUtf8IsAnError) {
    for (std::string_view text :
         {"\"\xff\"", "\"\xc0\xaf\"", "\"\xe0\x80\xaf\"", "\"\xed\xa0\x80\"",
          "\"\xf4\x90\x80\x80\"", "\"\xe1\x80\"", "\"\x80\"", "\"abc\xe1", "{\"\xfe\":1}"}) {
        JsonParser parser;
        EXPECT_FALSE(parser.fragmentWithString(text).has_value());
        EXPECT_EQ(firstErrorText(parser), "Invalid UTF-8 in string");
        EXPECT_EQ(errorCodes(parser).front(), 13u);
    }
    EXPECT_EQ(parse("\"\xc2\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf\""),
              JsonValue("\u0080\uffff\U00010000\U0010FFFF"));
    // Outside strings any byte beyond ASCII is simply unexpected.
    EXPECT_EQ(failure("\xff").first, "Unrecognised leading character");
}

TEST(JsonParserTest, ObjectStructure) {
    EXPECT_EQ(failure("{1:2}"), std::make_pair(std::string("Object key string expected"), 3u));
    EXPECT_EQ(failure(R"({"a" 1})"),
              std::make_pair(std::string("Expected ':' separating key and value"), 3u));
    EXPECT_EQ(failure(R"({"a")").first, "Expected ':' separating key and value");
    EXPECT_EQ(failure(R"({"a":})").first, "Unrecognised leading character");
    EXPECT_EQ(failure(R"({"a":})").second, 3u);
    EXPECT_EQ(failure(R"({"a)").first, "Unescaped control character '0x0'");
}

TEST(JsonParserTest, NestingLimit) {
    JsonParser parser;
    EXPECT_TRUE(parser.objectWithString(nestedArrayText(512)).has_value());
    EXPECT_FALSE(parser.objectWithString(nestedArrayText(513)).has_value());
    EXPECT_EQ(firstErrorText(parser), "Nested too deep");
    EXPECT_EQ(errorCodes(parser).front(), 7u);
    std::string objects;
    for (int i = 0; i < 513; ++i) objects += "{\"k\":";
    EXPECT_FALSE(parser.objectWithString(objects).has_value());
    EXPECT_EQ(firstErrorText(parser), "Nested too deep");
    // Depth is per operation: the same parser reads at the limit again.
    EXPECT_TRUE(parser.objectWithString(nestedArrayText(512)).has_value());
    parser.setMaxDepth(1);
    EXPECT_TRUE(parser.objectWithString("[1]").has_value());
    EXPECT_FALSE(parser.objectWithString("[[1]]").has_value());
}

TEST(JsonParserTest, NoLimitStillStopsHostileNesting) {
    JsonParser parser;
    parser.setMaxDepth(0);
    EXPECT_TRUE(parser.objectWithString(nestedArrayText(JsonBase::kHardMaxDepth)).has_value());
    EXPECT_FALSE(parser.objectWithString(nestedArrayText(JsonBase::kHardMaxDepth + 1)).has_value());
    EXPECT_EQ(firstErrorText(parser), "Nested too deep");
    // Far deeper input fails the same way instead of running out of stack.
    EXPECT_FALSE(parser.objectWithString(std::string(1'000'000, '[')).has_value());
    EXPECT_EQ(firstErrorText(parser), "Nested too deep");
}

TEST(JsonParserTest, WrittenTextReadsBack) {
    JsonValue value = JsonObject{{"n_text", "<p style=\"a\">ᠮᠣᠩᠭᠣᠯ\n\t\x01</p>"},
                                 {"n_id", 7},
                                 {"list", JsonArray{1.25, -3, true, nullptr, JsonObject{}, "😀"}},
                                 {"deep", JsonObject{{"x", JsonArray{JsonArray{}}}}}};
    for (bool humanReadable : {false, true}) {
        JsonWriter writer;
        writer.setHumanReadable(humanReadable);
        auto json = writer.stringWithObject(value);
        ASSERT_TRUE(json.has_value());
        EXPECT_EQ(parse(*json), value) << *json;
    }
}

}  // namespace
}  // namespace notes
