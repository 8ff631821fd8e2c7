#include <gtest/gtest.h>

#include <cmath>

#include "notes/store/json/JsonCodec.h"
#include "notes/store/json/JsonCodecAdditions.h"
#include "platform/foundation/Log.h"
#include "tests/notes/store/json/JsonTestSupport.h"

namespace notes {
namespace {

using testing::errorCodes;
using testing::errorTexts;
using testing::nestedArrayText;
using testing::nestedArrayValue;

TEST(JsonErrorTraceTest, ChainLeadsFromTheOutermostReportToTheFirstCause) {
    JsonParser parser;
    EXPECT_FALSE(parser.objectWithString(R"(["\q"])").has_value());
    EXPECT_EQ(errorCodes(parser), (std::vector<unsigned>{8, 3}));
    EXPECT_EQ(errorTexts(parser), (std::vector<std::string>{"Illegal escape sequence '0x71'",
                                                            "Expected value while parsing array"}));
    const JsonErrorTrace& trace = *parser.errorTrace();
    EXPECT_EQ(trace[0]->domain, JsonErrorDomain);
    EXPECT_EQ(trace[0]->underlyingError, nullptr);
    EXPECT_EQ(trace[1]->underlyingError, trace[0]);
}

TEST(JsonErrorTraceTest, ParserChains) {
    JsonParser parser;
    parser.objectWithString(R"({"a":[1,{"b":"\u12x4"}]})");
    EXPECT_EQ(errorTexts(parser),
              (std::vector<std::string>{
                  "Missing hex digit in quad", "Missing hex quad", "Broken unicode character",
                  "Object value expected for key: b", "Expected value while parsing array",
                  "Object value expected for key: a"}));
    EXPECT_EQ(errorCodes(parser), (std::vector<unsigned>{6, 6, 6, 3, 3, 3}));

    parser.objectWithString(R"({"k\ud800":1})");
    EXPECT_EQ(errorTexts(parser),
              (std::vector<std::string>{"Missing low character in surrogate pair",
                                        "Broken unicode character", "Object key string expected"}));

    parser.objectWithString(nestedArrayText(513));
    auto codes = errorCodes(parser);
    ASSERT_EQ(codes.size(), 513u);
    EXPECT_EQ(codes.front(), 7u);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 3u), 512);

    // The next operation starts with a clean trace.
    EXPECT_TRUE(parser.objectWithString("[]").has_value());
    EXPECT_FALSE(parser.errorTrace().has_value());
}

TEST(JsonErrorTraceTest, WriterChains) {
    JsonWriter writer;
    JsonObject inner{{"b", JsonArray{std::nan("")}}};
    EXPECT_FALSE(writer.stringWithObject(JsonObject{{"a", inner}}).has_value());
    EXPECT_EQ(errorTexts(writer),
              (std::vector<std::string>{"JSON serialisation not supported for nan",
                                        "Unsupported value for key b in object",
                                        "Unsupported value for key a in object"}));
    EXPECT_EQ(errorCodes(writer), (std::vector<unsigned>{1, 1, 1}));
    EXPECT_EQ(writer.errorTrace()->back()->underlyingError->underlyingError,
              writer.errorTrace()->front());
    EXPECT_TRUE(writer.stringWithObject(JsonObject{}).has_value());
    EXPECT_FALSE(writer.errorTrace().has_value());
}

TEST(JsonErrorTraceTest, AddedErrorsChainInOrder) {
    JsonBase base;
    EXPECT_EQ(base.maxDepth(), 512u);
    base.addErrorWithCode(2, "first");
    base.addErrorWithCode(3, "second");
    EXPECT_EQ(errorCodes(base), (std::vector<unsigned>{2, 3}));
    EXPECT_EQ(describeErrorTrace(*base.errorTrace()),
              "(\n    Error Domain=org.zelvo.json Code=2 \"first\",\n"
              "    Error Domain=org.zelvo.json Code=3 \"second\"\n)");
    base.clearErrorTrace();
    EXPECT_FALSE(base.errorTrace().has_value());
}

TEST(JsonErrorTraceTest, CodecHandsOutTheLastErrorAndKeepsACopyOfTheTrace) {
    JsonCodec codec;
    JsonErrorPtr error;
    EXPECT_FALSE(codec.objectWithString("[1,]", &error).has_value());
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, 9u);
    EXPECT_EQ(errorCodes(codec), std::vector<unsigned>{9});
    // A success leaves the codec's trace as it was.
    EXPECT_TRUE(codec.objectWithString("[1]", &error).has_value());
    EXPECT_EQ(errorCodes(codec), std::vector<unsigned>{9});

    EXPECT_FALSE(codec.objectWithString("true", &error).has_value());
    EXPECT_EQ(error->localizedDescription, "Valid fragment, but not JSON");
    EXPECT_EQ(codec.fragmentWithString("true", &error), JsonValue(true));
    EXPECT_EQ(codec.objectWithString("true", true, nullptr), JsonValue(true));
    EXPECT_FALSE(codec.objectWithString(std::nullopt).has_value());
    EXPECT_EQ(errorCodes(codec), std::vector<unsigned>{12});

    EXPECT_FALSE(codec.stringWithObject("s", &error).has_value());
    EXPECT_EQ(error->localizedDescription, "Not valid type for JSON");
    EXPECT_EQ(codec.stringWithFragment("s", &error), "\"s\"");
    EXPECT_EQ(codec.stringWithObject("s", true, nullptr), "\"s\"");
    EXPECT_FALSE(codec.stringWithObject(JsonArray{INFINITY}).has_value());
    EXPECT_EQ(errorTexts(codec),
              std::vector<std::string>{"JSON serialisation not supported for inf"});
}

TEST(JsonErrorTraceTest, CodecForwardsItsSettings) {
    JsonCodec codec;
    EXPECT_EQ(codec.maxDepth(), 512u);
    codec.setMaxDepth(2);
    EXPECT_EQ(codec.maxDepth(), 2u);
    EXPECT_FALSE(codec.objectWithString(nestedArrayText(3)).has_value());
    EXPECT_EQ(errorTexts(codec).front(), "Nested too deep");
    EXPECT_FALSE(codec.stringWithObject(nestedArrayValue(3)).has_value());
    EXPECT_EQ(errorTexts(codec).front(), "Nested too deep");
    EXPECT_TRUE(codec.stringWithObject(nestedArrayValue(2)).has_value());

    codec.setHumanReadable(true);
    codec.setSortKeys(true);
    EXPECT_TRUE(codec.humanReadable() && codec.sortKeys());
    EXPECT_EQ(codec.stringWithObject(JsonObject{{"b", 1}, {"a", 2}}),
              "{\n  \"a\":2,\n  \"b\":1\n}");
}

TEST(JsonErrorTraceTest, ConveniencesLogTheTraceOnFailure) {
    platform::LogCapture log;
    EXPECT_EQ(JSONRepresentation(JsonObject{{"n_text", "<p/>"}, {"n_id", 7}, {"version", "3"}}),
              R"({"n_text":"<p/>","n_id":7,"version":"3"})");
    EXPECT_EQ(JSONFragment(7), "7");
    EXPECT_EQ(JSONValue(R"({"n_id":7})"), JsonValue(JsonObject{{"n_id", 7}}));
    EXPECT_EQ(JSONFragmentValue(" 7 "), JsonValue(7));
    EXPECT_TRUE(log.lines().empty());

    EXPECT_FALSE(JSONRepresentation(JsonObject{{"\xff", 7}}).has_value());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0],
              "-JSONRepresentation failed. Error trace is: (\n"
              "    Error Domain=org.zelvo.json Code=1 \"JSON object key must be string\"\n)");
    EXPECT_FALSE(JSONRepresentation("plain").has_value());
    EXPECT_TRUE(log.contains("Not valid type for JSON"));
    EXPECT_FALSE(JSONFragment(NAN).has_value());
    EXPECT_TRUE(log.contains("-JSONFragment failed. Error trace is: "));
    EXPECT_FALSE(JSONValue("7").has_value());
    EXPECT_TRUE(log.contains("-JSONValue failed. Error trace is: "));
    EXPECT_FALSE(JSONFragmentValue("[1,]").has_value());
    EXPECT_TRUE(log.contains("-JSONFragmentValue failed. Error trace is: "));
    EXPECT_EQ(log.lines().size(), 5u);
}

}  // namespace
}  // namespace notes
