#include <gtest/gtest.h>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextLine.h"
#include "tests/platform/graphics/PinnedFonts.h"

using namespace platform;

namespace {

TextAttributes mongolianAttributes() {
    TextAttributes a;
    a.font = *Font::fontWithName(Font::DisplayFontFamily, 22);
    return a;
}

double widthOf(const std::shared_ptr<TextLine>& line) {
    return line->typographicBounds(nullptr, nullptr, nullptr);
}

// "erdem" (virtue): cut after two letters it must not turn into "er" (man).
const std::u16string Erdem = u"\u1821\u1837\u1833\u1821\u182E";
// "mongγol bičig sayin erdem" and a word with a free variation selector.
const std::u16string Sentence =
    u"\u182E\u1823\u1829\u182D\u1823\u182F \u182A\u1822\u1834\u1822\u182D "
    u"\u1830\u1820\u1836\u1822\u1828 \u1821\u1837\u1833\u1821\u182E \u1828\u180B\u1820\u1837";

std::vector<uint32_t> withoutTail(std::vector<uint32_t> glyphs, size_t tail) {
    glyphs.resize(glyphs.size() >= tail ? glyphs.size() - tail : 0);
    return glyphs;
}

std::vector<uint32_t> prefix(const std::vector<uint32_t>& glyphs, size_t count) {
    return {glyphs.begin(), glyphs.begin() + static_cast<long>(std::min(count, glyphs.size()))};
}

}  // namespace

// A truncated line draws its kept letters with the glyphs the uncut line has for them: the last
// kept letter of a word cut in two keeps its initial or medial form.
TEST(TextLineTruncation, KeptLettersKeepTheirFormsFromTheUncutLine) {
    REQUIRE_PINNED_FONTS();
    TextAttributes a = mongolianAttributes();
    auto token = TextLine::create(AttributedString(u"\u2026", a));
    size_t tokenGlyphs = token->glyphs().size();

    auto erdem = TextLine::create(AttributedString(Erdem, a));
    auto whole = erdem->glyphs();
    ASSERT_EQ(whole.size(), 5u);
    double limit = erdem->offsetForStringIndex(2) + widthOf(token);
    auto cut = erdem->truncatedLine(limit + 0.01, TruncationType::End, token);
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->stringRange().length, 2u);
    EXPECT_EQ(withoutTail(cut->glyphs(), tokenGlyphs), prefix(whole, 2));
    // "er" set on its own ends in the final form: the very change the cut must not make.
    auto er = TextLine::create(AttributedString(Erdem.substr(0, 2), a));
    EXPECT_NE(er->glyphs().back(), whole[1]);
    // The joiner that keeps the form is no text of the line.
    EXPECT_EQ(cut->drawnText(), Erdem.substr(0, 2) + u"\u2026");

    // Every cut of a sentence, inside words and between them.
    auto sentence = TextLine::create(AttributedString(Sentence, a));
    auto uncut = sentence->glyphs();
    int insideWords = 0;
    for (double width = widthOf(token) + 1; width < widthOf(sentence); width += 3) {
        auto line = sentence->truncatedLine(width, TruncationType::End, token);
        ASSERT_TRUE(line);
        uint64_t kept = line->stringRange().length;
        auto glyphs = withoutTail(line->glyphs(), tokenGlyphs);
        SCOPED_TRACE("width " + std::to_string(width) + ", " + std::to_string(kept) + " kept");
        EXPECT_EQ(glyphs, prefix(uncut, glyphs.size()));
        EXPECT_LE(widthOf(line), width + 0.01);
        if (kept > 0 && Sentence[kept] != u' ' && Sentence[kept - 1] != u' ') ++insideWords;
    }
    EXPECT_GT(insideWords, 5);
}

// Between words, and after letters that never join onward, nothing is added.
TEST(TextLineTruncation, CutsBetweenWordsAddNoJoiner) {
    REQUIRE_PINNED_FONTS();
    TextAttributes a = mongolianAttributes();
    auto token = TextLine::create(AttributedString(u"\u2026", a));
    std::u16string text = Erdem + u" " + Erdem;
    auto line = TextLine::create(AttributedString(text, a));
    double limit = line->offsetForStringIndex(6) + widthOf(token);
    auto cut = line->truncatedLine(limit + 0.01, TruncationType::End, token);
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->stringRange().length, 6u);
    auto alone = TextLine::create(AttributedString(text.substr(0, 6) + u"\u2026", a));
    EXPECT_EQ(cut->glyphs(), alone->glyphs());
    EXPECT_EQ(cut->drawnText(), text.substr(0, 6) + u"\u2026");
}
