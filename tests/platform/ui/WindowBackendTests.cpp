#include <gtest/gtest.h>

#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/support/FakeWindowBackend.h"

using platform::Point;
using platform::Rect;
using platform::Screen;
using platform::Window;

namespace {

void expectRect(const Rect& actual, const Rect& expected) {
    EXPECT_DOUBLE_EQ(actual.minX(), expected.minX());
    EXPECT_DOUBLE_EQ(actual.minY(), expected.minY());
    EXPECT_DOUBLE_EQ(actual.width(), expected.width());
    EXPECT_DOUBLE_EQ(actual.height(), expected.height());
}

}  // namespace

// A desktop of two monitors, the main one 1600×1000 at the top left and a second one 1280×800
// to its right, aligned at the top (desktop coordinates, y down).
TEST(ScreenCoordinates, DesktopRectanglesTurnOverAboutTheMainScreen) {
    const Rect main(0, 0, 1600, 1000);
    expectRect(platform::screenRectFromDesktop(main, main), Rect(0, 0, 1600, 1000));
    // The second monitor's top is level with the main one's; its bottom is 200 above.
    expectRect(platform::screenRectFromDesktop(Rect(1600, 0, 1280, 800), main),
               Rect(1600, 200, 1280, 800));
    // A window 100 high whose top is 10 below the desktop's top.
    expectRect(platform::screenRectFromDesktop(Rect(30, 10, 50, 100), main),
               Rect(30, 890, 50, 100));
    // A main monitor that is not at the desktop's origin still puts (0, 0) at its lower left.
    const Rect shifted(1280, 200, 1600, 1000);
    expectRect(platform::screenRectFromDesktop(shifted, shifted), Rect(0, 0, 1600, 1000));
    expectRect(platform::screenRectFromDesktop(Rect(0, 0, 1280, 800), shifted),
               Rect(-1280, 400, 1280, 800));
    // There and back again.
    for (Rect r : {Rect(30, 10, 50, 100), Rect(-1280, 400, 1280, 800), Rect(5, -20, 1, 1)})
        for (Rect m : {main, shifted})
            expectRect(platform::screenRectFromDesktop(platform::desktopRectFromScreen(r, m), m),
                       r);
    Point p = platform::screenPointFromDesktop(Point{100, 0}, main);
    EXPECT_DOUBLE_EQ(p.x, 100);
    EXPECT_DOUBLE_EQ(p.y, 1000);
    p = platform::screenPointFromDesktop(Point{1290, 1199}, shifted);
    EXPECT_DOUBLE_EQ(p.x, 10);
    EXPECT_DOUBLE_EQ(p.y, 1);
}

TEST(WindowBackend, WithoutABackendThereAreNoScreensNoPointerAndWindowsStayHeadless) {
    EXPECT_TRUE(Screen::screens().empty());
    EXPECT_FALSE(Screen::mainScreen().has_value());
    EXPECT_FALSE(platform::mouseLocation().has_value());
    Window window(Rect(0, 0, 100, 50));
    window.orderFront();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.host(), nullptr);
}

TEST(WindowBackend, ScreensAndPointerComeFromTheInstalledBackend) {
    fakes::ScopedFakeBackend backend;
    backend->setScreens({Rect(0, 0, 1600, 1000), Rect(1600, 200, 1280, 800)});
    backend->pointer = Point{1700, 300};
    ASSERT_EQ(Screen::screens().size(), 2u);
    expectRect(Screen::mainScreen()->frame(), Rect(0, 0, 1600, 1000));
    EXPECT_EQ(platform::mouseLocation()->x, 1700);
}

TEST(WindowBackend, TheFirstOrderFrontMakesOneHostThatFollowsTheWindow) {
    fakes::ScopedFakeBackend backend;
    Window window(Rect(10, 20, 100, 50), platform::WindowStyleMask::Borderless);
    window.setFrame(Rect(1, 2, 3, 4), true);  // before any host: kept by the window alone
    EXPECT_TRUE(backend->hosts.empty());
    window.orderFront();
    ASSERT_EQ(backend->hosts.size(), 1u);
    auto log = backend->hosts[0];
    EXPECT_TRUE(log->shown);
    EXPECT_EQ(log->calls.back(), "front");  // not made key
    ASSERT_EQ(log->frames.size(), 1u);      // made at the frame the window had
    expectRect(log->frames[0], Rect(1, 2, 3, 4));

    log->calls.clear();
    window.setFrame(Rect(5, 6, 70, 80), true);
    ASSERT_EQ(log->frames.size(), 2u);
    expectRect(log->frames[1], Rect(5, 6, 70, 80));
    EXPECT_EQ(log->calls, (std::vector<std::string>{"frame", "display"}));

    // A view marked anywhere in the tree asks the host for a redraw.
    auto child = std::make_shared<platform::View>(Rect(0, 0, 10, 10));
    window.contentView()->addSubview(child);
    log->calls.clear();
    child->setNeedsDisplay(true);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"display"}));

    window.orderOut();
    EXPECT_FALSE(log->shown);
    window.orderFront();
    EXPECT_EQ(backend->hosts.size(), 1u);  // the same host again
    EXPECT_TRUE(log->shown);
}

TEST(WindowBackend, TheDesktopMovingAWindowIsNotSentBackToIt) {
    fakes::ScopedFakeBackend backend;
    Window window(Rect(0, 0, 100, 50));
    window.makeKeyAndOrderFront();
    auto log = backend->hosts.at(0);
    EXPECT_EQ(log->calls.back(), "front key");
    log->calls.clear();
    log->frames.clear();
    window.hostMovedWindow(Rect(40, 30, 200, 150));
    expectRect(window.frame(), Rect(40, 30, 200, 150));
    expectRect(window.contentView()->frame(), Rect(0, 0, 200, 150));
    EXPECT_TRUE(log->frames.empty());
    window.performClose();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(log->shown);
}
