#include "tests/inputmethod/wordbuilder/WordBuilderTestSupport.h"

using namespace wordbuilder_test;
using quillora::wordbuilder::Controller;

namespace {

class BuiltWordsTest : public ShippedResourcesTest {};

const std::string kSuffixSpace = "\u202F";

}  // namespace

TEST_F(BuiltWordsTest, CaseEndingsFollowTheVowelClassOfTheStem) {
    // mori (horse) and eke (mother) in the dative: the ending agrees with the stem, whichever
    // of the two spellings of the ending is typed.
    const std::string mori = "\u182E\u1823\u1837\u1822";
    const std::string eke = "\u1821\u182C\u1821";
    const std::string du = kSuffixSpace + "\u1833\u1824";
    const std::string dü = kSuffixSpace + "\u1833\u1826";
    EXPECT_EQ(Controller::execute("mqridv"), Strings{" " + mori + du});
    EXPECT_EQ(Controller::execute("mqridu"), Strings{" " + mori + du});
    EXPECT_EQ(Controller::execute("ehedv"), Strings{" " + eke + dü});
    EXPECT_EQ(Controller::execute("ehedu"), Strings{" " + eke + dü});
    // ger (home): front, and -tü after r; ablative -eče.
    EXPECT_EQ(Controller::execute("gertu"),
              Strings{" \u182D\u1821\u1837" + kSuffixSpace + "\u1832\u1826"});
    EXPECT_EQ(Controller::execute("geraca"),
              Strings{" \u182D\u1821\u1837" + kSuffixSpace + "\u1821\u1834\u1821"});
    // aqa-nar-un: plural written on, then the genitive after the suffix space.
    EXPECT_EQ(Controller::execute("ahanarvn"),
              Strings{" \u1820\u182C\u1820\u1828\u1820\u1837" + kSuffixSpace + "\u1824\u1828"});
}

TEST_F(BuiltWordsTest, VerbStemsTakeEndingsOfTheirClass) {
    EXPECT_EQ(Controller::execute("yabvna"), Strings{" \u1836\u1820\u182A\u1824\u1828\u1820"});
    EXPECT_EQ(Controller::execute("irene"), Strings{" \u1822\u1837\u1821\u1828\u1821"});
    EXPECT_EQ(Controller::execute("irena"), Strings{" \u1822\u1837\u1821\u1828\u1821"});
    EXPECT_EQ(Controller::execute("iregsen"),
              Strings{" \u1822\u1837\u1821\u182D\u1830\u1821\u1828"});
    // Nothing follows an ending.
    EXPECT_EQ(Controller::execute("yabvnadv"), Strings{});
}

TEST_F(BuiltWordsTest, AnEndingTypedAloneBeginsWithTheSuffixSpaceAndNoBlank) {
    EXPECT_EQ(Controller::execute("Sdu"),
              (Strings{kSuffixSpace + "\u1833\u1824", kSuffixSpace + "\u1833\u1826"}));
    // An ending cannot begin a word.
    EXPECT_EQ(Controller::execute("dv"), Strings{});
}

TEST_F(BuiltWordsTest, KeysWithoutAListedPieceBuildNoWord) {
    EXPECT_EQ(Controller::execute("xyz"), Strings{});
    EXPECT_EQ(Controller::execute(""), Strings{});
    EXPECT_EQ(Controller::execute(std::nullopt), Strings{});
    // The listed start stands; the unlisted rest is dropped.
    EXPECT_EQ(Controller::execute("mqrixyz"), Strings{" \u182E\u1823\u1837\u1822"});
}
