#include <gtest/gtest.h>

#include "platform/graphics/WordTokenizer.h"

using namespace platform;

namespace {

std::vector<Range> wordsOf(const std::u16string& text) {
    WordTokenizer tokenizer(text);
    std::vector<Range> words;
    for (auto token = tokenizer.first(); token; token = tokenizer.next()) words.push_back(*token);
    return words;
}

}  // namespace

TEST(WordTokenizer, SkipsSpacesAndPunctuation) {
    EXPECT_EQ(wordsOf(u"one, two  three."), (std::vector<Range>{{0, 3}, {5, 3}, {10, 5}}));
    EXPECT_EQ(wordsOf(u""), std::vector<Range>{});
    EXPECT_EQ(wordsOf(u"  ... "), std::vector<Range>{});
    EXPECT_EQ(wordsOf(u"x2 42"), (std::vector<Range>{{0, 2}, {3, 2}}));
}

TEST(WordTokenizer, KeepsMongolianSuffixesAndVariantSelectorsInTheWord) {
    // A word, a narrow no-break space and its suffix stay one token.
    std::u16string suffixed = u"\u182E\u1823\u1829\u182D\u1823\u182F\u202F\u1836\u1822\u1828";
    EXPECT_EQ(wordsOf(suffixed), (std::vector<Range>{{0, 10}}));
    // The vowel separator (MVS) and free variation selectors are part of the word.
    std::u16string withMvs = u"\u1828\u1820\u180E\u1820 \u182D\u180B\u1820\u180C";
    EXPECT_EQ(wordsOf(withMvs), (std::vector<Range>{{0, 4}, {5, 4}}));
    // Mongolian punctuation separates words.
    EXPECT_EQ(wordsOf(u"\u1820\u1821\u1803\u1822"), (std::vector<Range>{{0, 2}, {3, 1}}));
}
