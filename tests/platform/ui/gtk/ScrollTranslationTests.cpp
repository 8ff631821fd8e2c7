#include <gtest/gtest.h>

#include "platform/ui/gtk/GdkEventTranslation.h"

using platform::gtk::scrollEventFromGdk;

namespace {

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

TEST(ScrollTranslation, WheelStepsAndSwipesBecomeDeltasWithYUp) {
    auto up = scrollEventFromGdk(scroll(GDK_SCROLL_UP), {5, 6});
    ASSERT_TRUE(up);
    EXPECT_EQ(up->type(), platform::EventType::ScrollWheel);
    EXPECT_EQ(up->scrollingDeltaY(), 10);  // towards the top of the content
    EXPECT_EQ(up->locationInWindow(), (platform::Point{5, 6}));
    EXPECT_DOUBLE_EQ(up->timestamp(), 2.5);
    EXPECT_EQ(scrollEventFromGdk(scroll(GDK_SCROLL_DOWN), {})->scrollingDeltaY(), -10);
    EXPECT_EQ(scrollEventFromGdk(scroll(GDK_SCROLL_LEFT), {})->scrollingDeltaX(), 10);

    // A touchpad swipe down the pad (GDK's y grows downwards) moves towards the end.
    auto swipe = scrollEventFromGdk(scroll(GDK_SCROLL_SMOOTH, 0, 1.5), {});
    ASSERT_TRUE(swipe);
    EXPECT_EQ(swipe->scrollingDeltaY(), -15);
    EXPECT_FALSE(scrollEventFromGdk(scroll(GDK_SCROLL_SMOOTH, 0, 0), {}));  // the swipe's end
}
