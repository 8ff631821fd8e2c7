#include <gtest/gtest.h>

#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/RegularExpression.h"

using platform::RegularExpression;

namespace {

RegularExpression compiled(const char* pattern, unsigned options = RegularExpression::None) {
    auto expression = RegularExpression::regularExpressionWithPattern(pattern, options);
    EXPECT_TRUE(expression) << pattern;
    return *expression;
}

}  // namespace

TEST(RegularExpression, FollowsIcuSyntax) {
    // "^" inside a pattern is an anchor and "*" repeats the letter before it.
    EXPECT_TRUE(compiled("(gG*)").firstMatch("abgx"));
    EXPECT_FALSE(compiled("(gG*)").firstMatch("G"));
    EXPECT_FALSE(compiled("(gF^)").firstMatch("gF^"));
    EXPECT_FALSE(compiled("(g^)").firstMatch("g^"));
    EXPECT_TRUE(compiled("(gF*)").firstMatch("g"));
    EXPECT_TRUE(compiled(".*\\^$").firstMatch("ab^"));
    EXPECT_FALSE(compiled(".*\\^$").firstMatch("a^b"));
    EXPECT_TRUE(compiled("^\\*.*").firstMatch("*"));
    EXPECT_FALSE(RegularExpression::regularExpressionWithPattern("(unclosed"));
    EXPECT_EQ(compiled("(gG*)").pattern(), "(gG*)");
}

TEST(RegularExpression, MatchesInOrderAndTheLastOne) {
    auto vowels = compiled("([aeqvou])", RegularExpression::CaseInsensitive);
    EXPECT_EQ(vowels.matches("mQrEi"), (std::vector<std::string>{"Q", "E"}));
    EXPECT_EQ(vowels.lastMatch("mQrEi"), "E");
    EXPECT_EQ(vowels.matches("xyz"), std::vector<std::string>{});
    EXPECT_FALSE(vowels.lastMatch("xyz"));
    EXPECT_FALSE(compiled("[aeqvou]").firstMatch("A"));
    // Matches are whole characters of UTF-8 text.
    EXPECT_EQ(compiled("[ᠠ-ᠦ]+").matches("xᠮᠣᠷᠢ ᠠᠬᠠ"),
              (std::vector<std::string>{"ᠣ", "ᠢ", "ᠠ", "ᠠ"}));
    EXPECT_EQ(compiled("ᠬ.").lastMatch("ᠠᠬᠠᠬᠡ"), "ᠬᠡ");
}

TEST(CharacterSet, TrimsUnicodeWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(platform::trimmingWhitespaceAndNewlines(" \t\nᠮᠣᠷᠢ \u202F\u3000\r\n"), "ᠮᠣᠷᠢ");
    EXPECT_EQ(platform::trimmingWhitespaceAndNewlines("a b"), "a b");
    EXPECT_EQ(platform::trimmingWhitespaceAndNewlines("\u00A0\u2028"), "");
    EXPECT_EQ(platform::trimmingWhitespaceAndNewlines(""), "");
    // The vowel separator and the variation selectors are letters' business, not white space.
    EXPECT_EQ(platform::trimmingWhitespaceAndNewlines("\u180Eᠠ\u180B"), "\u180Eᠠ\u180B");
    EXPECT_TRUE(platform::isWhitespaceOrNewline(U'\u202F'));
    EXPECT_FALSE(platform::isWhitespaceOrNewline(U'\u180E'));
}
