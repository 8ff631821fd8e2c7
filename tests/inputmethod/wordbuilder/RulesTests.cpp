#include "inputmethod/wordbuilder/Util.h"
#include "tests/inputmethod/wordbuilder/WordBuilderTestSupport.h"

using namespace wordbuilder_test;
using quillora::wordbuilder::Controller;
using quillora::wordbuilder::Util;
using quillora::wordbuilder::Word;

namespace {

Word parsed(const char* token) {
    return Util::parseWord(token);
}

Strings keys(const std::vector<Word>& words) {
    Strings result;
    for (const Word& word : words) result.push_back(word.keyWord().value_or("(none)"));
    return result;
}

}  // namespace

TEST(WordBuilderRules, EachOfTheFiveRules) {
    const Word empty;
    // 1: a "*"-initial piece cannot begin a word.
    EXPECT_FALSE(Util::validate(empty, parsed("*dv")));
    EXPECT_TRUE(Util::validate(parsed("aha"), parsed("*dv")));
    // 2: an explicit class must not meet the other class; class 0 meets both.
    EXPECT_FALSE(Util::validate(parsed("aha"), parsed("*du_2")));
    EXPECT_FALSE(Util::validate(parsed("ehe"), parsed("*dv_1")));
    EXPECT_TRUE(Util::validate(parsed("ehe"), parsed("*du_2")));
    EXPECT_TRUE(Util::validate(parsed("xyz"), parsed("*du_2")));
    EXPECT_TRUE(Util::validate(parsed("aha"), parsed("*du")));  // no explicit class
    // 3: after a "*"-final piece something must follow.
    EXPECT_FALSE(Util::validate(parsed("yabv*"), parsed("_1")));
    EXPECT_FALSE(Util::validate(parsed("yabv*"), empty));
    EXPECT_TRUE(Util::validate(parsed("yabv*"), parsed("*na")));
    // 4: nothing may follow a "^"-final piece.
    EXPECT_FALSE(Util::validate(parsed("aha^"), parsed("*na")));
    EXPECT_TRUE(Util::validate(parsed("aha^"), parsed("_1")));
    // 5: a "^"-initial piece can only begin a word.
    EXPECT_FALSE(Util::validate(parsed("yabv*"), parsed("^aha")));
    EXPECT_TRUE(Util::validate(empty, parsed("^aha")));
}

TEST(WordBuilderRules, JoiningTakesEndsFromBAndStartFromA) {
    Word a = parsed("^Sahq");
    Word b = parsed("*na^_2");
    Word joined = Controller::implodePart(a, b);
    EXPECT_EQ(joined.keyWord(), "Sahqna");
    EXPECT_TRUE(joined.isEhi());
    EXPECT_FALSE(joined.isSalanh());  // "^S..." begins with "^", not with "S"
    EXPECT_TRUE(joined.isTugs());
    EXPECT_FALSE(joined.isHags());
    EXPECT_FALSE(joined.isDagbar());
    EXPECT_FALSE(joined.isNeedValidateSex());
    EXPECT_EQ(joined.sex(), 1);  // the class of the joined letters, not B's given one

    Word salanh = Controller::implodePart(parsed("Sdv"), parsed("*ne*"));
    EXPECT_TRUE(salanh.isSalanh());
    EXPECT_TRUE(salanh.isHags());
    EXPECT_EQ(salanh.sex(), 2);

    // An empty side gives the other side unchanged, flags and given class included.
    Word kept = Controller::implodePart(Word(), b);
    EXPECT_TRUE(kept.isDagbar());
    EXPECT_TRUE(kept.isNeedValidateSex());
    EXPECT_EQ(kept.sex(), 2);
    EXPECT_EQ(Controller::implodePart(a, parsed("_1")).keyWord(), "Sahq");
}

TEST(WordBuilderRules, CombinationKeepsEveryAllowedWordInOrder) {
    EXPECT_EQ(keys(Controller::constructer({})), Strings{"(none)"});
    auto words = Controller::constructer({{"^aha", "^ehe", "*bad"}, {"*Sdv^_1", "*Sdu^_2"}});
    EXPECT_EQ(keys(words), (Strings{"ahaSdv", "eheSdu"}));
    // A stem after a stem, and anything after a final piece, are refused.
    EXPECT_EQ(keys(Controller::constructer({{"^aha"}, {"^ehe"}})), Strings{});
    EXPECT_EQ(keys(Controller::constructer({{"aha^"}, {"*na"}})), Strings{});
    // A bound stem followed by a piece without letters is refused; with an ending it stands.
    EXPECT_EQ(keys(Controller::constructer({{"^yabv*"}, {"_1"}})), Strings{});
    EXPECT_EQ(keys(Controller::constructer({{"^yabv*"}, {"*na^_1", "*ne^_2"}})), Strings{"yabvna"});
}

TEST(WordBuilderRules, CombinationIsCappedForLongKeys) {
    std::vector<quillora::wordbuilder::Sang::Tokens> pieces(30, {"a", "q", "v", "i"});
    auto words = Controller::constructer(pieces);
    ASSERT_EQ(words.size(), Controller::kMaxPartialWords);
    EXPECT_EQ(words.front().keyWord(), std::string(30, 'a'));
    for (const Word& word : words) EXPECT_EQ(word.keyWord()->size(), 30u);
}
