#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/UI/SourceTextView/SourceParser.h"
#include "platform/foundation/UnicodeString.h"

using namespace zelvo;
using platform::Range;

namespace {

// Each token as "kind:text", the text cut out of the whole string by the reported range.
std::vector<std::string> tokens(const std::string& text, int32_t language,
                                std::optional<Range> range = std::nullopt) {
    std::vector<std::string> out;
    std::u16string units = platform::utf16FromUtf8(text);
    parseSource(
        units, range.value_or(Range{0, units.size()}), language,
        [](const std::u16string& string, uint32_t kind, Range token, void* user) {
            static_cast<std::vector<std::string>*>(user)->push_back(
                std::to_string(kind) + ":" +
                platform::utf8FromUtf16(string.substr(token.location, token.length)));
        },
        &out);
    return out;
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(SourceParser, DoubleDashCommentsOfTheViewersLanguage) {
    EXPECT_EQ(tokens("a -- note\nb", 4), (Tokens{"0:a ", "3:-- note", "0:\nb"}));
    EXPECT_EQ(tokens("a --[[ x\ny ]] b", 4), (Tokens{"0:a ", "4:--[[ x\ny ]]", "0: b"}));
    EXPECT_EQ(tokens("a - b -", 4), (Tokens{"0:a - b -"}));
    // Fewer than two units after the dashes: a line comment.
    EXPECT_EQ(tokens("x--[", 4), (Tokens{"0:x", "3:--["}));
    // An unclosed block runs to the end; a single bracket does not close it.
    EXPECT_EQ(tokens("--[[ a ] b", 4), (Tokens{"0:", "4:--[[ a ] b"}));
    // Other languages see no comment in dashes.
    EXPECT_EQ(tokens("a -- b", 3), (Tokens{"0:a -- b"}));
}

TEST(SourceParser, StringsIncludeTheirQuotesAndRunOnWhenLeftOpen) {
    EXPECT_EQ(tokens("a \"b\" c", 4), (Tokens{"0:a ", "2:\"b\"", "0: c"}));
    EXPECT_EQ(tokens("'x\\'y' z", 0), (Tokens{"1:'x\\'y'", "0: z"}));
    EXPECT_EQ(tokens("\"a\\\"b\" c", 0), (Tokens{"2:\"a\\\"b\"", "0: c"}));
    EXPECT_EQ(tokens("a \"open\nstill", 4), (Tokens{"0:a ", "2:\"open\nstill"}));
    // Quotes of the other kind inside a string, and quotes inside comments, change nothing.
    EXPECT_EQ(tokens("\"it's\" -- 'q\n'", 4),
              (Tokens{"2:\"it's\"", "0: ", "3:-- 'q", "0:\n", "1:'"}));
}

TEST(SourceParser, CommentsAndPreprocessorLinesOfTheCLikeLanguages) {
    EXPECT_EQ(tokens("#include <a>\nint b;", 1), (Tokens{"5:#include <a>\n", "0:int b;"}));
    EXPECT_EQ(tokens("x /* y */ z", 2), (Tokens{"0:x ", "4:/* y */", "0: z"}));
    EXPECT_EQ(tokens("x // y\nz", 3), (Tokens{"0:x ", "3:// y", "0:\nz"}));
    // A comment opener inside a "#" line ends the preprocessor token.
    EXPECT_EQ(tokens("#if a // b\nc", 1), (Tokens{"5:#if a ", "3:// b", "0:\nc"}));
    EXPECT_EQ(tokens("#x /* y */ z", 2), (Tokens{"5:#x ", "4:/* y */", "0: z"}));
    // Language 3 has no preprocessor lines; language 0 no comments.
    EXPECT_EQ(tokens("#a // b", 3), (Tokens{"0:#a ", "3:// b"}));
    EXPECT_EQ(tokens("a // b /* c */", 0), (Tokens{"0:a // b /* c */"}));
    // A lone slash, and a slash at the very end.
    EXPECT_EQ(tokens("a / b /", 1), (Tokens{"0:a / b /"}));
}

TEST(SourceParser, HashCommentsOfLanguageFive) {
    EXPECT_EQ(tokens("a # b\nc", 5), (Tokens{"0:a ", "3:# b", "0:\nc"}));
    EXPECT_EQ(tokens("# a", 5), (Tokens{"3:# a"}));
}

TEST(SourceParser, RangesAreOffsetAndBadArgumentsDoNothing) {
    // Only the range is read, and tokens are reported in whole-string positions.
    EXPECT_EQ(tokens("zz\"q\" r", 0, Range{2, 5}), (Tokens{"2:\"q\"", "0: r"}));
    EXPECT_TRUE(tokens("abc", 0, Range{1, 3}).empty());
    EXPECT_TRUE(tokens("abc", 0, Range{1, 0}).empty());
    std::u16string text = u"abc";
    parseSource(text, Range{0, 3}, 0, nullptr, nullptr);  // no callback: nothing, no crash
    // Units beyond the basic plane are walked as two units each.
    EXPECT_EQ(tokens("\"𝄞\"x", 0), (Tokens{"2:\"𝄞\"", "0:x"}));
}
