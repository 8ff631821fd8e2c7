#include <gtest/gtest.h>

#include <string>

#include "notes/store/WordCounter.h"

namespace {

struct Counts {
    int32_t lines, words, characters;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.lines << " lines, " << c.words << " words, " << c.characters << " chars";
}

Counts countOf(const std::u16string& text) {
    WordCounter counter(text);
    counter.count();
    return {counter.lines(), counter.words(), counter.characters()};
}

}  // namespace

TEST(WordCounter, StartsAtZero) {
    WordCounter counter(u"a b");
    EXPECT_EQ(counter.lines(), 0);
    EXPECT_EQ(counter.words(), 0);
    EXPECT_EQ(counter.characters(), 0);
}

TEST(WordCounter, BlankAndEmptyTexts) {
    EXPECT_EQ(countOf(u""), (Counts{0, 0, 0}));
    EXPECT_EQ(countOf(u"   "), (Counts{0, 0, 3}));
    EXPECT_EQ(countOf(u"\t \u3000"), (Counts{0, 0, 3}));
}

TEST(WordCounter, LinesEndAtLineFeeds) {
    EXPECT_EQ(countOf(u"a b\n"), (Counts{1, 2, 4}));
    EXPECT_EQ(countOf(u"a\n\nb"), (Counts{3, 2, 4}));
    EXPECT_EQ(countOf(u"\n"), (Counts{1, 0, 1}));
    EXPECT_EQ(countOf(u"\n\n"), (Counts{2, 0, 2}));
    // Blanks after the last line feed start no line; blanks between line feeds do.
    EXPECT_EQ(countOf(u"a\n  \t"), (Counts{1, 1, 5}));
    EXPECT_EQ(countOf(u"a\n  \nb"), (Counts{3, 2, 6}));
}

TEST(WordCounter, WordSeparators) {
    EXPECT_EQ(countOf(u"  x  y\t z"), (Counts{1, 3, 9}));
    EXPECT_EQ(countOf(u"a\tb"), (Counts{1, 2, 3}));
    EXPECT_EQ(countOf(u"a\u00A0b\u3000c\u2009d"), (Counts{1, 4, 7}));
    // A carriage return or a line separator splits words but does not end the line.
    EXPECT_EQ(countOf(u"a\r\nb"), (Counts{2, 2, 4}));
    EXPECT_EQ(countOf(u"a\rb\u2028c\u2029d\u0085e"), (Counts{1, 5, 9}));
    // Punctuation and zero-width joiners are part of the word they touch.
    EXPECT_EQ(countOf(u"one,two.\u200Dthree"), (Counts{1, 1, 14}));
}

TEST(WordCounter, MongolianText) {
    // A narrow no-break space before a suffix makes the suffix a word of its own.
    const std::u16string mongol = u"\u182E\u1823\u1829\u182D\u1823\u182F";
    EXPECT_EQ(countOf(mongol + u"\u202F\u1824\u1828"), (Counts{1, 2, 9}));
    // The Mongolian vowel separator joins the letters on either side.
    const std::u16string newNote =
        u"\u1830\u1822\u1828\u180E\u1821\u0020\u1832\u1821\u182E\u1832\u1821\u182D\u182F\u1821"
        u"\u182F";
    EXPECT_EQ(countOf(newNote), (Counts{1, 2, 15}));
    // A letter outside the Basic Multilingual Plane is two units of one word.
    EXPECT_EQ(countOf(mongol + u"\U00011660" + u"\u202F\u1824\u1828\n" + newNote),
              (Counts{2, 4, 6 + 2 + 3 + 1 + 15}));
}

TEST(WordCounter, CountingAgainAddsLinesAndWords) {
    WordCounter counter(u"a b\nc");
    EXPECT_EQ(&counter.count(), &counter);
    counter.count();
    EXPECT_EQ(counter.lines(), 4);
    EXPECT_EQ(counter.words(), 6);
    EXPECT_EQ(counter.characters(), 5);
}
