#include "inputmethod/wordbuilder/Util.h"
#include "tests/inputmethod/wordbuilder/WordBuilderTestSupport.h"

using namespace wordbuilder_test;
using quillora::wordbuilder::Util;
using quillora::wordbuilder::Word;

namespace {

struct Flags {
    bool dagbar, ehi, tugs, hags, salanh;
};

void expectFlags(const Word& word, Flags flags, const std::string& token) {
    EXPECT_EQ(word.isDagbar(), flags.dagbar) << token;
    EXPECT_EQ(word.isEhi(), flags.ehi) << token;
    EXPECT_EQ(word.isTugs(), flags.tugs) << token;
    EXPECT_EQ(word.isHags(), flags.hags) << token;
    EXPECT_EQ(word.isSalanh(), flags.salanh) << token;
}

}  // namespace

TEST(WordBuilderTokens, MarkersKeyAndExplicitClass) {
    Word suffix = Util::parseWord("*Sdv^_1");
    expectFlags(suffix, {true, false, true, false, false}, "*Sdv^_1");
    EXPECT_EQ(suffix.keyWord(), "Sdv");
    EXPECT_EQ(suffix.sex(), 1);
    EXPECT_TRUE(suffix.isNeedValidateSex());

    Word stem = Util::parseWord("^ire*");
    expectFlags(stem, {false, true, false, true, false}, "^ire*");
    EXPECT_EQ(stem.keyWord(), "ire");
    EXPECT_EQ(stem.sex(), 2);  // from the letters
    EXPECT_FALSE(stem.isNeedValidateSex());

    Word alone = Util::parseWord("Sdu^_2");
    expectFlags(alone, {false, false, true, false, true}, "Sdu^_2");
    EXPECT_EQ(alone.keyWord(), "Sdu");

    Word plain = Util::parseWord("gal");
    expectFlags(plain, {false, false, false, false, false}, "gal");
    EXPECT_EQ(plain.sex(), 1);

    // The class is the leading digits of the part after the first "_"; none gives 0, yet the
    // class must still be checked.
    EXPECT_EQ(Util::parseWord("ab_2_1").sex(), 2);
    EXPECT_EQ(Util::parseWord("ab_12x").sex(), 12);
    Word noDigits = Util::parseWord("ab_x");
    EXPECT_EQ(noDigits.sex(), 0);
    EXPECT_TRUE(noDigits.isNeedValidateSex());
    EXPECT_EQ(Util::parseWord("_2").keyWord(), "");
    // A marker counts only at its end of the token.
    expectFlags(Util::parseWord("a*b^c"), {false, false, false, false, false}, "a*b^c");
    EXPECT_EQ(Util::getRealKeyword("*^a*b^^"), "ab");
    EXPECT_EQ(Util::getRealKeyword("S*"), "S");
}

TEST(WordBuilderTokens, MarkerTestsLookAtTheEnds) {
    EXPECT_TRUE(Util::isDagbar("*a"));
    EXPECT_FALSE(Util::isDagbar("a*"));
    EXPECT_TRUE(Util::isEhi("^"));
    EXPECT_FALSE(Util::isEhi(""));
    EXPECT_TRUE(Util::isTugs("a^"));
    EXPECT_FALSE(Util::isTugs("^a"));
    EXPECT_TRUE(Util::isHags("*"));
    EXPECT_TRUE(Util::isSalanh("Sa"));
    EXPECT_FALSE(Util::isSalanh("sa"));
    EXPECT_FALSE(Util::isSalanh("*Sa"));
}

TEST(WordBuilderTokens, VowelClassComesFromTheLastVowelLetter) {
    // Lower-case a, q, v: back (1); e, o, u in any case, and upper-case A, Q, V: front (2).
    for (const char* text : {"a", "ehea", "mqri", "nvtvg", "iq", "Ev", "bagsi"}) {
        EXPECT_EQ(Util::getSex(text), 1) << text;
    }
    for (const char* text : {"e", "ehe", "ger", "ebul", "aO", "U", "A", "Q", "V", "gaA", "yabvE"}) {
        EXPECT_EQ(Util::getSex(text), 2) << text;
    }
    // No vowel letter: "g" (as ICU reads "(gG*)") makes it front, anything else has no class.
    EXPECT_EQ(Util::getSex("g"), 2);
    EXPECT_EQ(Util::getSex("Sdgi"), 2);
    EXPECT_EQ(Util::getSex("G"), 0);
    EXPECT_EQ(Util::getSex("Syi"), 0);
    EXPECT_EQ(Util::getSex("i"), 0);
    EXPECT_EQ(Util::getSex(""), 0);
    EXPECT_EQ(Util::getSex("ᠠᠭ"), 0);
}

class Key2CharTest : public ShippedResourcesTest {};

TEST_F(Key2CharTest, EachCharacterThroughTheKeyMapOrKeptAsItIs) {
    EXPECT_EQ(Util::key2char(std::string("mqri")), "\u182E\u1823\u1837\u1822");
    EXPECT_EQ(Util::key2char(std::string("ehe")), "\u1821\u182C\u1821");
    EXPECT_EQ(Util::key2char(std::string("mqriSdv")), "\u182E\u1823\u1837\u1822\u202F\u1833\u1824");
    EXPECT_EQ(Util::key2char(std::string("a1é")), "\u18201é");
    EXPECT_EQ(Util::key2char(std::string("")), "");
    EXPECT_EQ(Util::key2char(std::nullopt), std::nullopt);
}
