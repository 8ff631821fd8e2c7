// Ignored and non-character keys, the Shift-tap toggle, several controllers, activation and
// deactivation.

#include "tests/inputmethod/ControllerFixture.h"

using namespace fixture;
using platform::ModifierFlags;
using platform::imk::InputEvent;
using platform::imk::KeyCode;
using quillora::MongolianInputController;

TEST_F(ControllerTest, IgnoredKeysDropTheCompositionAndItsMarkedTextAndPassOn) {
    const std::vector<InputEvent> ignored = {
        key(u"", KeyCode::LeftArrow, ModifierFlags::NumericPad | ModifierFlags::Function),
        key(u"", KeyCode::RightArrow),
        key(u"", KeyCode::DownArrow),
        key(u"", KeyCode::ForwardDelete),
        key(u"c", 8, ModifierFlags::Command),
        key(u"\x01", 0, ModifierFlags::Control),
        key(u"\u00E5", 0, ModifierFlags::Option),
        key(u"5", 87, ModifierFlags::NumericPad),
    };
    for (const auto& event : ignored) {
        SCOPED_TRACE(event.keyCode());
        type(u"ab");
        ASSERT_TRUE(client.hasMarkedText());
        EXPECT_FALSE(press(event));
        EXPECT_EQ(controller.originalBuffer(), u"");
        EXPECT_FALSE(client.hasMarkedText());
        EXPECT_TRUE(delegate.window.isHidden());
    }
    EXPECT_TRUE(client.inserts.empty());
    // Shift alone is no reason to ignore a key.
    EXPECT_FALSE(MongolianInputController::shouldIgnoreKey(0, ModifierFlags::Shift));
    EXPECT_TRUE(MongolianInputController::shouldIgnoreKey(
        0, ModifierFlags::Shift | ModifierFlags::Control));
}

TEST_F(ControllerTest, KeysWithoutCharactersCommitTheTypedLettersAndPassOn) {
    const std::vector<std::uint16_t> keys = {KeyCode::UpArrow, KeyCode::Home,     KeyCode::End,
                                             KeyCode::PageUp,  KeyCode::PageDown, KeyCode::F5};
    std::vector<std::u16string> expected;
    for (std::uint16_t code : keys) {
        SCOPED_TRACE(code);
        type(u"ba");
        EXPECT_FALSE(press(key(u"", code, ModifierFlags::Function)));
        expected.push_back(u"ba");
        EXPECT_EQ(insertedTexts(), expected);
        EXPECT_FALSE(client.hasMarkedText());
        EXPECT_TRUE(delegate.window.isHidden());
        // Idle, such a key is the client's alone.
        EXPECT_FALSE(press(key(u"", code, ModifierFlags::Function)));
        EXPECT_EQ(insertedTexts(), expected);
    }
}

TEST_F(ControllerTest, TabCommitsTheLettersAndOtherCharactersFollowThem) {
    // Tab finishes the word and moves on in the client: no tab character in the text.
    type(u"ab");
    EXPECT_FALSE(press(key(u"\t", KeyCode::Tab)));
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"ab"}));
    EXPECT_TRUE(delegate.window.isHidden());
    type(u":!");
    EXPECT_FALSE(press(key(u"\t", KeyCode::Tab)));
    EXPECT_EQ(client.inserts.back().text, u":!");
    // A character of another layout is text after the letters.
    type(u"ab");
    EXPECT_TRUE(press(key(u"\u00E9")));
    EXPECT_EQ(client.inserts.back().text, u"ab\u00E9");
    // Idle, the character is the client's.
    EXPECT_FALSE(press(key(u"\t", KeyCode::Tab)));
    EXPECT_FALSE(press(key(u"\u00E9")));
    EXPECT_EQ(client.inserts.size(), 3u);
}

TEST_F(ControllerTest, LoneShiftTapTogglesEnglishMode) {
    shiftTap();
    EXPECT_TRUE(controller.isEnglishMode());
    EXPECT_EQ(delegate.notices, (std::vector<std::string>{"Switched to English mode"}));
    EXPECT_FALSE(type(u"a"));
    EXPECT_FALSE(space());
    EXPECT_FALSE(press(key(u"1")));
    EXPECT_TRUE(client.marks.empty());
    EXPECT_TRUE(client.inserts.empty());

    shiftTap();
    EXPECT_FALSE(controller.isEnglishMode());
    EXPECT_EQ(delegate.notices.size(), 1u);  // switching back tells nothing
    EXPECT_EQ(delegate.withdrawals, 1);      // and takes the notice back
    EXPECT_TRUE(type(u"a"));
}

TEST_F(ControllerTest, ShiftWithOtherKeysOrCapsLockDoesNotToggle) {
    // Shift held while typing a letter.
    press(InputEvent::flagsChanged(ModifierFlags::Shift));
    press(key(u"A", 0, ModifierFlags::Shift));
    press(InputEvent::flagsChanged(0));
    EXPECT_FALSE(controller.isEnglishMode());

    // Shift released after Control and Shift were held together.
    press(InputEvent::flagsChanged(ModifierFlags::Control));
    press(InputEvent::flagsChanged(ModifierFlags::Control | ModifierFlags::Shift));
    press(InputEvent::flagsChanged(ModifierFlags::Shift));
    press(InputEvent::flagsChanged(0));
    EXPECT_FALSE(controller.isEnglishMode());

    // With Caps Lock on, the flags are never exactly Shift, nor zero on release.
    press(InputEvent::flagsChanged(ModifierFlags::CapsLock));
    press(InputEvent::flagsChanged(ModifierFlags::CapsLock | ModifierFlags::Shift));
    press(InputEvent::flagsChanged(ModifierFlags::CapsLock));
    EXPECT_FALSE(controller.isEnglishMode());
    EXPECT_TRUE(delegate.notices.empty());
}

TEST_F(ControllerTest, SwitchingToEnglishCommitsTheCompositionAsTyped) {
    setPUA(1);
    type(u"ab");
    shiftTap();
    EXPECT_TRUE(controller.isEnglishMode());
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"ab"}));
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_TRUE(delegate.window.isHidden());

    // Also when nothing is on show: the colon of a command prefix is not lost in English mode.
    shiftTap();
    press(key(u":"));
    shiftTap();
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"ab", u":"}));
    EXPECT_EQ(controller.originalBuffer(), u"");
}

TEST_F(ControllerTest, ControllersShareTheWindowAndTheListButKeepTheirOwnState) {
    FakeInputClient otherClient;
    MongolianInputController other(&otherClient, delegate);

    type(u"ab");
    controller.deactivateServer(&client);
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"ab"}));

    type(other, otherClient, u"ba");
    EXPECT_EQ(delegate.window.words().front(), BA + A);
    EXPECT_EQ(quillora::WordArray::shared().list(), other.candidates());
    EXPECT_TRUE(press(other, otherClient, key(u"3")));
    ASSERT_EQ(otherClient.inserts.size(), 1u);
    EXPECT_EQ(otherClient.inserts[0].text, u" " + u16(BA + A + GA + A));
    EXPECT_EQ(client.inserts.size(), 1u);

    // The mode belongs to each controller.
    shiftTap(other, otherClient);
    EXPECT_TRUE(other.isEnglishMode());
    EXPECT_FALSE(controller.isEnglishMode());
    EXPECT_TRUE(type(u"m"));
    EXPECT_EQ(delegate.window.words().size(), 9u);
}

TEST_F(ControllerTest, DeactivationCommitsWhatIsStillComposed) {
    type(u"abu");
    controller.deactivateServer(&client);
    EXPECT_EQ(insertedTexts(), (std::vector<std::u16string>{u"abu"}));
    EXPECT_FALSE(client.hasMarkedText());
    EXPECT_TRUE(delegate.window.isHidden());
    EXPECT_EQ(controller.originalBuffer(), u"");
    EXPECT_EQ(controller.caret(), 3);

    // After Space, nothing is left to commit.
    type(u"ab");
    space();
    controller.deactivateServer(&client);
    EXPECT_EQ(client.inserts.size(), 2u);

    // A command prefix is committed too rather than lost.
    type(u":!w");
    controller.deactivateServer(&client);
    EXPECT_EQ(client.inserts.back().text, u":!w");
}

// The caret of the marked text is at its end on every update, before and after a deactivation
// (which commits and so sets the controller's caret to the committed text's length).
TEST_F(ControllerTest, MarkedTextSelectionStaysInsideItsText) {
    type(u"abu");
    controller.deactivateServer(&client);
    type(u"b");
    EXPECT_EQ(client.marks.back().selectionRange, (platform::Range{1, 0}));
    type(u"aga");
    backspace();
    for (const auto& mark : client.marks) {
        EXPECT_EQ(mark.selectionRange, (platform::Range{mark.text.size(), 0}));
    }
}

TEST_F(ControllerTest, ActivationAndMenuGoThroughTheDelegate) {
    controller.activateServer(&client);
    EXPECT_TRUE(client.keyboardOverrides.empty());
    delegate.usingUSLayout = true;
    controller.activateServer(&client);
    EXPECT_EQ(client.keyboardOverrides, (std::vector<std::string>{"com.apple.keylayout.US"}));

    delegate.inputMenu = std::make_shared<platform::Menu>("Quillora");
    EXPECT_EQ(controller.menu(), delegate.inputMenu);
    controller.showPreferences();
    controller.showAboutUs();
    controller.feedback();
    controller.toggleChinesePuncts();
    controller.toggleFullSymbols();
    EXPECT_EQ(delegate.actions,
              (std::vector<std::string>{"showPreferences", "showAboutUs", "feedback"}));
    EXPECT_EQ(controller.recognizedEvents(&client), 5120u);
}
