// Composition, marked text, candidate lists and Delete.

#include "tests/inputmethod/ControllerFixture.h"

using namespace fixture;
using platform::imk::KeyCode;
using quillora::WordArray;

TEST_F(ControllerTest, LettersBuildTheCompositionShownAsMarkedText) {
    EXPECT_TRUE(type(u"a"));
    EXPECT_TRUE(type(u"b"));
    EXPECT_EQ(controller.originalBuffer(), u"ab");
    EXPECT_EQ(controller.composedBuffer(), u"ab");
    EXPECT_EQ(controller.insertionIndex(), 2);
    EXPECT_EQ(controller.prefixChar(), u"a");
    ASSERT_EQ(client.marks.size(), 2u);
    EXPECT_EQ(client.marks[0].text, u"a");
    EXPECT_EQ(client.marks[1].text, u"ab");
    const auto& mark = client.marks[1];
    EXPECT_EQ(mark.attributes.underline, platform::imk::UnderlineStyle::Thick);
    // The caret at the end, where the next letter goes.
    EXPECT_EQ(mark.selectionRange, (platform::Range{2, 0}));
    EXPECT_EQ(mark.replacementRange, platform::imk::kNoRange);
    EXPECT_TRUE(client.inserts.empty());

    // The window is placed at the line of the composition's first character.
    EXPECT_FALSE(delegate.window.isHidden());
    EXPECT_EQ(delegate.window.lastCaretRect, client.caretRect);
    ASSERT_FALSE(client.attributeQueries.empty());
    EXPECT_EQ(client.attributeQueries.back(), 0u);
}

TEST_F(ControllerTest, TransliterationLeadsTheListUnlessItIsTheBestWord) {
    type(u"ab");
    EXPECT_EQ(delegate.window.words(), (std::vector<std::string>{A + BA, A + BA + A, A + BA + U}));
    // The transliteration has the word alone; dictionary rows carry all four fields.
    const auto& shown = delegate.window.shown;
    EXPECT_EQ(shown[0].size(), 1u);
    EXPECT_EQ(shown[1].at("bqr_biclg"), "aba");
    EXPECT_EQ(shown[1].at("id"), "aba");
    EXPECT_TRUE(shown[1].contains("relations"));

    controller.reset();
    type(u"ba");
    EXPECT_EQ(delegate.window.words(),
              (std::vector<std::string>{BA + A, BA + A + RA, BA + A + GA + A}));

    // Upper case reads the same table and the same keys.
    controller.reset();
    type(u"Ab");
    EXPECT_EQ(controller.prefixChar(), u"A");
    EXPECT_EQ(delegate.window.words(), (std::vector<std::string>{A + BA, A + BA + A, A + BA + U}));
}

TEST_F(ControllerTest, ListIsCutAtNineAndHoldsTheTransliterationAloneWithoutRows) {
    type(u"m");
    auto words = delegate.window.words();
    ASSERT_EQ(words.size(), 9u);
    EXPECT_EQ(words[0], MA);
    EXPECT_EQ(words[1], mWord(0));
    EXPECT_EQ(words[8], mWord(7));  // the ninth row and the tenth are dropped

    controller.reset();
    type(u"zo");
    EXPECT_EQ(delegate.window.words(), (std::vector<std::string>{"\u183D" + O}));

    // A suffix row keeps its narrow no-break space.
    controller.reset();
    type(u"yi");
    EXPECT_EQ(delegate.window.words(), (std::vector<std::string>{YA + I, NNBSP + YA + I + NA}));
}

TEST_F(ControllerTest, SharedListIsReplacedOnEverySearchAndKeptAfterCommits) {
    type(u"a");
    auto first = WordArray::shared().list();
    type(u"b");
    auto second = WordArray::shared().list();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->size(), 4u);  // "a": transliteration and three rows
    EXPECT_EQ(second->size(), 3u);
    EXPECT_EQ(controller.candidates(), second);

    backspace();
    EXPECT_EQ(WordArray::shared().count(), 4u);
    EXPECT_EQ(delegate.window.words().size(), 4u);

    space();
    EXPECT_EQ(WordArray::shared().count(), 4u);  // a commit leaves the list as it was
    EXPECT_EQ(controller.candidates(), nullptr);
}

TEST_F(ControllerTest, DeleteRemovesTheLastLetterAndSearchesAgain) {
    // a, b, Delete, c, Return: the two letters a and c.
    type(u"ab");
    EXPECT_TRUE(backspace());
    EXPECT_EQ(controller.originalBuffer(), u"a");
    EXPECT_EQ(client.markedText, u"a");
    EXPECT_EQ(controller.insertionIndex(), 1);
    type(u"c");
    EXPECT_TRUE(enter());
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"ac"}));
    EXPECT_TRUE(delegate.window.isHidden());

    // The table stays the one of the first letter, whatever Delete leaves.
    type(u"ba");
    backspace();
    EXPECT_EQ(controller.prefixChar(), u"b");

    // Deleting the last letter ends the composition and its marked text.
    backspace();
    EXPECT_EQ(controller.originalBuffer(), u"");
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_TRUE(delegate.window.isHidden());
    EXPECT_EQ(controller.prefixChar(), std::nullopt);
}

TEST_F(ControllerTest, EditingKeysOnAnEmptyCompositionReachTheClient) {
    EXPECT_FALSE(space());
    EXPECT_FALSE(enter());
    EXPECT_FALSE(escape());
    EXPECT_FALSE(backspace());
    EXPECT_TRUE(client.inserts.empty());
    EXPECT_TRUE(client.marks.empty());
}

TEST_F(ControllerTest, CompositionOfKeysWithoutKeyMapEntryGivesOneEmptyCandidate) {
    type(u"x");
    ASSERT_EQ(delegate.window.shown.size(), 1u);
    EXPECT_EQ(delegate.window.shown[0].at("char_word"), "");
    EXPECT_EQ(client.markedText, u"x");
}
