#include <gtest/gtest.h>

#include "platform/imk/InputController.h"
#include "tests/support/FakeInputClient.h"

using namespace platform;
using namespace platform::imk;

// A controller that overrides nothing behaves as if no input method were on: every event reaches
// the client, and the framework's own cancel leaves the client's text alone.
TEST(InputController, BaseControllerPassesEverythingOnAndTouchesNoText) {
    FakeInputClient client;
    InputController controller(&client);
    EXPECT_EQ(controller.client(), &client);
    EXPECT_EQ(controller.recognizedEvents(&client), EventMask::KeyDown);
    EXPECT_FALSE(controller.handleEvent(InputEvent::keyDown(0, u"a"), &client));
    EXPECT_FALSE(controller.handleEvent(InputEvent::flagsChanged(ModifierFlags::Shift), &client));
    controller.activateServer(&client);
    controller.commitComposition(&client);
    controller.cancelComposition();
    controller.deactivateServer(&client);
    EXPECT_TRUE(client.inserts.empty());
    EXPECT_TRUE(client.marks.empty());
    EXPECT_EQ(controller.menu(), nullptr);
}

TEST(InputController, SelectedHighlightStylesUnderlineThick) {
    FakeInputClient client;
    InputController controller(&client);
    EXPECT_EQ(controller.markForStyle(HighlightStyle::SelectedRawText, {0, 3}).underline,
              UnderlineStyle::Thick);
    EXPECT_EQ(controller.markForStyle(HighlightStyle::SelectedConvertedText, {0, 3}).underline,
              UnderlineStyle::Thick);
    EXPECT_EQ(controller.markForStyle(HighlightStyle::RawText, {0, 3}).underline,
              UnderlineStyle::Single);
}

TEST(InputEvent, EventsCarryAppKitNumbersAndNonCharacterKeysHaveNoText) {
    InputEvent up = InputEvent::keyDown(KeyCode::UpArrow, u"", ModifierFlags::Function);
    EXPECT_EQ(static_cast<int>(up.type()), 10);
    EXPECT_EQ(up.keyCode(), 126);
    EXPECT_TRUE(up.characters().empty());
    InputEvent shift = InputEvent::flagsChanged(0x20000, KeyCode::Shift);
    EXPECT_EQ(static_cast<int>(shift.type()), 12);
    EXPECT_EQ(shift.modifierFlags(), 0x20000u);
    EXPECT_EQ(EventMask::KeyDown | EventMask::FlagsChanged, 5120u);
}
