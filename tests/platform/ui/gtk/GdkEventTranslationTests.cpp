#include <gtest/gtest.h>

#include "platform/ui/gtk/GdkEventTranslation.h"

using platform::EventType;
using platform::ModifierFlags;
using platform::gtk::scrollEventFromGdk;

namespace {

GdkEventKey key(GdkEventType type, guint keyval, guint state) {
    GdkEventKey k{};
    k.type = type;
    k.keyval = keyval;
    k.state = state;
    k.time = 2500;
    return k;
}

GdkEventScroll scroll(GdkScrollDirection direction, double dx = 0, double dy = 0) {
    GdkEventScroll event{};
    event.type = GDK_SCROLL;
    event.direction = direction;
    event.delta_x = dx;
    event.delta_y = dy;
    event.time = 2500;
    return event;
}

}  // namespace

// Ctrl plays Command's part (Ctrl-C copies), Alt is Option; the characters are the key's own,
// with Shift's level, so the views' Command-key equivalents match.
TEST(GdkEventTranslation, KeysBecomeMacKeyEventsWithCtrlAsCommand) {
    auto copy = platform::gtk::keyEventFromGdk(key(GDK_KEY_PRESS, GDK_KEY_c, GDK_CONTROL_MASK));
    EXPECT_EQ(copy.type(), EventType::KeyDown);
    EXPECT_EQ(copy.characters(), "c");
    EXPECT_EQ(copy.charactersIgnoringModifiers(), "c");
    EXPECT_EQ(copy.modifierFlags(), ModifierFlags::Command);
    EXPECT_DOUBLE_EQ(copy.timestamp(), 2.5);

    auto shifted = platform::gtk::keyEventFromGdk(
        key(GDK_KEY_RELEASE, GDK_KEY_A, GDK_SHIFT_MASK | GDK_MOD1_MASK | GDK_LOCK_MASK));
    EXPECT_EQ(shifted.type(), EventType::KeyUp);
    EXPECT_EQ(shifted.characters(), "A");
    EXPECT_EQ(shifted.modifierFlags(),
              ModifierFlags::Shift | ModifierFlags::Option | ModifierFlags::CapsLock);

    // Keys without a character type nothing and carry the Mac key code the views look at.
    auto left = platform::gtk::keyEventFromGdk(key(GDK_KEY_PRESS, GDK_KEY_Left, 0));
    EXPECT_EQ(left.characters(), "");
    EXPECT_EQ(left.keyCode(), 123);
    auto back = platform::gtk::keyEventFromGdk(key(GDK_KEY_PRESS, GDK_KEY_BackSpace, 0));
    EXPECT_EQ(back.keyCode(), 51);
    EXPECT_EQ(back.characters(), "\x7f");  // as the Mac's Delete key types
    EXPECT_EQ(platform::gtk::keyEventFromGdk(key(GDK_KEY_PRESS, GDK_KEY_Delete, 0)).characters(),
              "");
    // A Mongolian keysym types its letter.
    auto mongolian = platform::gtk::keyEventFromGdk(key(GDK_KEY_PRESS, 0x100182E, 0));
    EXPECT_EQ(mongolian.characters(), "\u182E");
}

TEST(ScrollTranslation, WheelStepsAndSwipesBecomeDeltasInLinesWithYUp) {
    auto up = scrollEventFromGdk(scroll(GDK_SCROLL_UP), {5, 6});
    ASSERT_TRUE(up);
    EXPECT_EQ(up->type(), platform::EventType::ScrollWheel);
    EXPECT_EQ(up->scrollingDeltaY(), 1);  // one notch towards the top of the content
    EXPECT_FALSE(up->hasPreciseScrollingDeltas());
    EXPECT_EQ(up->locationInWindow(), (platform::Point{5, 6}));
    EXPECT_DOUBLE_EQ(up->timestamp(), 2.5);
    EXPECT_EQ(scrollEventFromGdk(scroll(GDK_SCROLL_DOWN), {})->scrollingDeltaY(), -1);
    EXPECT_EQ(scrollEventFromGdk(scroll(GDK_SCROLL_LEFT), {})->scrollingDeltaX(), 1);

    // A touchpad swipe down the pad (GDK's y grows downwards) moves towards the end.
    auto swipe = scrollEventFromGdk(scroll(GDK_SCROLL_SMOOTH, 0, 1.5), {});
    ASSERT_TRUE(swipe);
    EXPECT_EQ(swipe->scrollingDeltaY(), -1.5);
    EXPECT_FALSE(swipe->hasPreciseScrollingDeltas());
    EXPECT_FALSE(scrollEventFromGdk(scroll(GDK_SCROLL_SMOOTH, 0, 0), {}));  // the swipe's end
}
