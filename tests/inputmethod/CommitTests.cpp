// Commits: Space, digits, Return, Escape, punctuation, the command prefix and "isPUA".

#include <clocale>

#include "platform/foundation/Log.h"
#include "tests/inputmethod/ControllerFixture.h"

using namespace fixture;
using platform::imk::KeyCode;

TEST_F(ControllerTest, SpaceCommitsCandidateOneWithABlankBeforeAMongolianLetter) {
    type(u"ab");
    EXPECT_TRUE(space());
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u" " + u16(A + BA)}));
    EXPECT_EQ(client.inserts[0].replacementRange, platform::imk::kNoRange);
    EXPECT_EQ(client.document, u" " + u16(A + BA));
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_EQ(controller.originalBuffer(), u"");
    EXPECT_EQ(controller.preeditString(), u"");
    EXPECT_TRUE(delegate.window.isHidden());

    // A suffix (narrow no-break space first) and a word outside the basic letters: no blank.
    client = FakeInputClient();
    type(u"yi");
    press(key(u"2"));
    type(u"s");
    press(key(u"2"));
    EXPECT_EQ(insertedTexts(),
              (std::vector<std::u16string>{u16(NNBSP + YA + I + NA), u16("\u1880" + SA)}));
}

TEST_F(ControllerTest, DigitsChooseFromTheListShown) {
    type(u"m");
    EXPECT_TRUE(press(key(u"9")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u" " + u16(mWord(7))}));
    EXPECT_TRUE(delegate.window.isHidden());

    // After a commit the window is hidden: a digit is just a digit.
    EXPECT_TRUE(press(key(u"5")));
    EXPECT_EQ(client.inserts.back().text, u"5");

    // A digit beyond the list, or 0, is text typed after the word: the word first, then it.
    client = FakeInputClient();
    type(u"ab");  // three candidates
    EXPECT_TRUE(press(key(u"4")));
    type(u"ba");
    EXPECT_TRUE(press(key(u"0")));
    EXPECT_EQ(insertedTexts(),
              (std::vector<std::u16string>{u" " + u16(A + BA), u"4", u" " + u16(BA + A), u"0"}));
    EXPECT_EQ(client.document, u" " + u16(A + BA) + u"4 " + u16(BA + A) + u"0");
}

TEST_F(ControllerTest, ReturnAndEscapeCommitTheTypedLettersOnce) {
    setPUA(1);
    type(u"abu");
    EXPECT_TRUE(enter());
    type(u"ma");
    EXPECT_TRUE(escape());
    // The client asking for the composition (a click elsewhere) gets the letters; with nothing
    // composed it gets nothing.
    type(u"ba");
    controller.commitComposition(&client);
    controller.commitComposition(&client);
    // Unconverted, although "isPUA" is set, and each exactly once.
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"abu", u"ma", u"ba"}));
    EXPECT_EQ(client.document, u"abumaba");
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_TRUE(delegate.window.isHidden());
}

TEST_F(ControllerTest, PunctuationFollowsTheWordBeingComposed) {
    // Idle: the key map's mark; a mark the key map lacks is typed as it is.
    EXPECT_TRUE(press(key(u",")));
    EXPECT_TRUE(press(key(u";")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"\u1802", u";"}));

    // Composing: candidate 1 first, then the mark, in reading order.
    client = FakeInputClient();
    type(u"ba");
    EXPECT_TRUE(press(key(u":")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u" " + u16(BA + A), u"\u1804"}));
    EXPECT_EQ(controller.originalBuffer(), u"");
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_TRUE(delegate.window.isHidden());
}

// Beside private-use letters a standard mark would show as a missing glyph: in private-use mode
// the marks go through the converter as words do.
TEST_F(ControllerTest, PrivateUseModeCommitsPrivateUseMarks) {
    setPUA(1);
    type(u"ba");
    EXPECT_TRUE(press(key(u",")));
    EXPECT_TRUE(press(key(u".")));
    EXPECT_TRUE(press(key(u";")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{converted(u" " + u16(BA + A)),
                                                            u"\uE802", u"\uE803", u";"}));
}

TEST_F(ControllerTest, DigitWhileTheWindowIsHiddenFollowsTheComposition) {
    type(u"ab");
    delegate.window.hideCandidates();  // another controller, or the window's owner, hid it
    EXPECT_TRUE(press(key(u"2")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u" " + u16(A + BA), u"2"}));
    EXPECT_FALSE(client.hasMarkedText());
}

TEST_F(ControllerTest, CommandPrefixIsShownNeverLookedUpAndCommittedAsTyped) {
    // BackSpace takes the colon back like a letter, and nothing reaches the client.
    EXPECT_TRUE(type(u":"));
    EXPECT_EQ(client.markedText, u":");
    EXPECT_TRUE(backspace());
    EXPECT_EQ(client.markedText, u"");
    EXPECT_EQ(controller.originalBuffer(), u"");
    EXPECT_TRUE(client.inserts.empty());

    EXPECT_TRUE(type(u":!x1"));
    EXPECT_EQ(controller.originalBuffer(), u":!x1");
    EXPECT_EQ(client.markedText, u":!x1");
    EXPECT_EQ(delegate.window.showCount, 0);
    EXPECT_TRUE(backspace());
    EXPECT_EQ(client.markedText, u":!x");
    EXPECT_EQ(delegate.window.showCount, 0);
    EXPECT_TRUE(enter());
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u":!x"}));

    // Space has no list to choose from here: it gives the typed characters, never an earlier
    // composition's candidate.
    type(u"ab");
    space();
    type(u":!q");
    EXPECT_TRUE(space());
    EXPECT_EQ(client.inserts.back().text, u":!q");

    // The colon alone then a letter is composed (and shown); its table does not exist.
    type(u":a");
    EXPECT_EQ(client.markedText, u":a");
    EXPECT_EQ(delegate.window.words(), (std::vector<std::string>{"\u1804" + A}));
    EXPECT_TRUE(escape());
    EXPECT_EQ(client.inserts.back().text, u":a");
}

TEST_F(ControllerTest, SpaceBeforeAnyListOfThisCompositionCommitsTheTypedLetters) {
    type(u"ab");
    space();
    // ":" then a digit: the colon is not a composition with a list.
    press(key(u":"));
    EXPECT_TRUE(press(key(u"1")));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u" " + u16(A + BA), u":", u"1"}));
}

TEST_F(ControllerTest, EmptyTransliterationCommitsTheTypedLetters) {
    type(u"x");
    EXPECT_TRUE(space());
    type(u"xx");
    EXPECT_TRUE(press(key(u"1")));
    setPUA(1);
    type(u"X");
    EXPECT_TRUE(space());
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"x", u"xx", u"X"}));
    EXPECT_FALSE(quillora::MongolianInputController::isMongolianFirst(u""));
}

TEST_F(ControllerTest, PrivateUseSettingConvertsCandidateCommitsFromTheNextCommitOn) {
    ScopedEnvironment debugging("QUILLORA_LOG", std::string("syslog"));
    platform::LogCapture log;
    setPUA(1);
    type(u"ab");
    space();
    const std::u16string standard = u" " + u16(A + BA);
    const std::u16string privateUse = converted(standard);
    ASSERT_NE(privateUse, standard);
    EXPECT_EQ(client.inserts.back().text, privateUse);
    EXPECT_TRUE(std::any_of(privateUse.begin(), privateUse.end(),
                            [](char16_t c) { return c >= 0xE801 && c <= 0xEAB6; }));
    EXPECT_TRUE(log.contains("提交 非 国际标准编码蒙古文！"));

    type(u"ba");
    press(key(u"2"));
    EXPECT_EQ(client.inserts.back().text, converted(u" " + u16(BA + A + RA)));

    setPUA(0);
    type(u"ab");
    space();
    EXPECT_EQ(client.inserts.back().text, standard);
    EXPECT_TRUE(log.contains("提交国际标准编码蒙古文！"));
}

TEST_F(ControllerTest, ConversionLeavesTheProcessLocaleAlone) {
    std::string before = std::setlocale(LC_CTYPE, nullptr);
    setPUA(1);
    type(u"ab");
    space();
    EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), before);
    EXPECT_EQ(quillora::MongolianInputController::getWCharFromString(u" \u182E\U0001F600"),
              std::wstring(L" \u182E\U0001F600"));
}

// Related words become the list, and a word chosen from the framework's own list is committed as
// its digit would commit it; a word that is not on the list commits nothing.
TEST_F(ControllerTest, RelatedWordsMakeTheListAndAChosenWordIsCommitted) {
    quillora::CandidateList related = controller.getRelationArray(BA + A + ",," + BA + A + RA);
    ASSERT_EQ(related.size(), 2u);
    EXPECT_EQ(related[1].at("char_word"), BA + A + RA);
    EXPECT_EQ(*quillora::WordArray::shared().list(), related);

    type(u"ba");
    controller.candidateSelected(u16(MA + A));
    EXPECT_TRUE(client.inserts.empty());
    controller.candidateSelected(u16(BA + A + GA + A));
    EXPECT_EQ(insertedTexts(), std::vector<std::u16string>{u" " + u16(BA + A + GA + A)});
    EXPECT_EQ(controller.originalBuffer(), u"");
}
