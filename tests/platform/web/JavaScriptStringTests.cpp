#include <gtest/gtest.h>

#include "platform/web/JavaScriptString.h"
#include "tests/support/JavaScriptLiteral.h"
#include "tests/support/TroublesomeText.h"

namespace {

std::string roundTrip(const std::string& text) {
    std::string statement = "f(" + platform::quoteJavaScriptString(text) + ");";
    auto arguments = jsliteral::callArguments(statement, "f");
    EXPECT_TRUE(arguments.has_value()) << statement;
    if (!arguments || arguments->size() != 1) return "<broken statement>";
    return arguments->front();
}

TEST(JavaScriptString, CharactersThatEndOrBreakALiteralAreEscaped) {
    EXPECT_EQ(platform::escapeJavaScriptString("C:\\user"), "C:\\\\user");
    EXPECT_EQ(platform::escapeJavaScriptString("say \"hi\""), "say \\\"hi\\\"");
    EXPECT_EQ(platform::escapeJavaScriptString("it's"), "it\\'s");
    EXPECT_EQ(platform::escapeJavaScriptString("a\r\nb"), "a\\r\\nb");
    EXPECT_EQ(platform::escapeJavaScriptString("\u2028\u2029"), "\\u2028\\u2029");
    EXPECT_EQ(platform::escapeJavaScriptString(std::string("\0\x1f\x7f", 3)),
              "\\u0000\\u001F\\u007F");
    // A backslash that ends the text cannot swallow the closing quote.
    EXPECT_EQ(platform::quoteJavaScriptString("end\\"), "\"end\\\\\"");
}

TEST(JavaScriptString, CurlyQuotesAndMongolianPassUnchanged) {
    std::string text = "\u201Cᠮᠣᠩᠭᠣᠯ\u201D \u2018x\u2019 \u202F\u180E";
    EXPECT_EQ(platform::escapeJavaScriptString(text), text);
}

TEST(JavaScriptString, InjectionAttemptsStayInsideTheLiteral) {
    for (std::string attack : {"\"); alert(1); (\"", "\\\"); alert(1);//", "</script><script>x()",
                               "\u2028alert(1)", "\\u0022)"}) {
        EXPECT_EQ(roundTrip(attack), attack);
    }
}

// Any text, however built from the troublesome characters, arrives exactly.
TEST(JavaScriptString, RandomTextsRoundTripExactly) {
    TroublesomeText texts(20261209);
    for (int round = 0; round < 2000; ++round) {
        std::string text = texts.next(24);
        ASSERT_EQ(roundTrip(text), text) << "round " << round;
    }
}

TEST(JavaScriptLiteralDecoder, RefusesWhatTheEngineRefuses) {
    size_t end = 0;
    EXPECT_FALSE(jsliteral::decode("\"unterminated", 0, end));
    EXPECT_FALSE(jsliteral::decode("\"raw\nbreak\"", 0, end));
    EXPECT_FALSE(jsliteral::decode("\"bad \\u12\"", 0, end));
    EXPECT_FALSE(jsliteral::callArguments("f(\"a\"); g();", "f"));
    EXPECT_EQ(jsliteral::callArguments("f(\"a\", 'b');", "f"),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(*jsliteral::decode("\"\\u{1F600}\\x41\"", 0, end), "😀A");
}

}  // namespace
