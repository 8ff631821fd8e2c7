#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Event.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"

using platform::Color;
using platform::Rect;
using platform::Window;
using platform::gtk::GtkWindowBackend;

namespace {

// Paints its left half blue and remembers the presses it gets, in its own coordinates.
class ProbeView : public platform::View {
  public:
    using View::View;
    void drawRect(const Rect&) override {
        auto* context = platform::GraphicsContext::current();
        context->setFillColor(Color::blueColor());
        Rect b = bounds();
        context->fillRect(Rect(b.minX(), b.minY(), b.width() / 2, b.height()));
    }
    void mouseDown(const platform::Event& event) override {
        presses.push_back(convertPointFromView(event.locationInWindow(), nullptr));
    }
    std::vector<platform::Point> presses;
};

struct Box {
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    bool empty() const { return maxX < 0; }
};

// The box of pure blue pixels, in image coordinates (rows counted from the bottom).
Box blueBox(const platform::Image& image) {
    Box box;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            Color c = image.pixel(x, y);
            if (c.blue > 0.9 && c.red < 0.1 && c.green < 0.1) {
                box.minX = std::min(box.minX, x), box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y), box.maxY = std::max(box.maxY, y);
            }
        }
    return box;
}

class GtkViewHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend = GtkWindowBackend::create();
        if (!backend) GTEST_SKIP() << "no display (run under xvfb-run -a)";
        installed.emplace();
        (*installed)->windows = backend;
    }
    void TearDown() override { installed.reset(); }
    std::shared_ptr<GtkWindowBackend> backend;
    std::optional<platform::ScopedBackends> installed;
};

}  // namespace

TEST_F(GtkViewHostTest, ScreensAreTheMonitorsWithTheMainOneAtTheOrigin) {
    auto screens = platform::Screen::screens();
    ASSERT_FALSE(screens.empty());
    Rect main = screens[0].frame();
    EXPECT_EQ(main.minX(), 0);
    EXPECT_EQ(main.minY(), 0);
    EXPECT_GT(main.width(), 0);
    EXPECT_GT(main.height(), 0);
    auto pointer = platform::mouseLocation();
    ASSERT_TRUE(pointer.has_value());
}

// A busy program reads the X server's news of a move late: the window moved on in the meantime
// stays where it was last put, and is drawn there.
TEST_F(GtkViewHostTest, NewsOfAnEarlierMoveLeavesTheWindowWhereItWasLastPut) {
    Window window(Rect(100, 200, 120, 80), platform::WindowStyleMask::Borderless);
    window.setContentView(std::make_shared<ProbeView>(Rect(0, 0, 120, 80)));
    window.orderFront();
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));
    auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window.host());
    ASSERT_NE(host, nullptr);

    window.setFrame(Rect(110, 200, 120, 80), true);
    window.setFrame(Rect(120, 200, 120, 80), true);
    // What the server says of the first move, read only now.
    Rect first =
        platform::desktopRectFromScreen(Rect(110, 200, 120, 80), backend->mainScreenOnDesktop());
    GdkEventConfigure news{};
    news.type = GDK_CONFIGURE;
    news.window = gtk_widget_get_window(host->gtkWindow());
    news.x = int(first.minX()), news.y = int(first.minY());
    news.width = int(first.width()), news.height = int(first.height());
    gboolean handled = FALSE;
    g_signal_emit_by_name(host->gtkWindow(), "configure-event", &news, &handled);
    EXPECT_EQ(window.frame().minX(), 120) << "moved back to x " << window.frame().minX();

    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));
    EXPECT_EQ(window.frame().minX(), 120) << "moved back to x " << window.frame().minX();
}

// A popup shows its content where the frame says (screen coordinates, y up), and a press on it
// reaches the view at the point pressed.
TEST_F(GtkViewHostTest, APopupDrawsItsViewsAtItsFrameAndForwardsPresses) {
    Rect mainFrame = platform::Screen::mainScreen()->frame();
    const Rect frame(100, 200, 120, 80);
    Window window(frame, platform::WindowStyleMask::Borderless);
    window.setLevel(platform::WindowLevel::ScreenSaver + 1);
    window.setBackgroundColor(Color::whiteColor());
    auto probe = std::make_shared<ProbeView>(Rect(0, 0, 120, 80));
    window.setContentView(probe);
    window.orderFront();
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));

    // Only the neighbourhood of the window, with the empty desktop around it.
    auto shot = backend->snapshot(Rect(80, 180, 160, 120));
    ASSERT_TRUE(shot.has_value());
    std::string png = testOutputPath("gtk-view-host-popup.png").string();
    shot->writePNG(png);
    Box blue = blueBox(*shot);
    ASSERT_FALSE(blue.empty()) << png;
    EXPECT_EQ(blue.minX, 20) << png;
    EXPECT_EQ(blue.maxX, 79) << png;
    EXPECT_EQ(blue.minY, 20) << png;
    EXPECT_EQ(blue.maxY, 99) << png;

    // Ten points in from the left, twenty up from the bottom of the window; the desktop counts
    // from the top.
    int deskX = 110, deskY = int(mainFrame.height()) - 220;
    std::string click = "xdotool mousemove " + std::to_string(deskX) + " " + std::to_string(deskY) +
                        " click 1 >/dev/null 2>&1";
    // The click moves the pointer: only on a private server, never on a person's desktop.
    const char* authority = std::getenv("XAUTHORITY");
    if (!authority || std::string(authority).find("xvfb-run") == std::string::npos)
        GTEST_SKIP() << "the click runs only under xvfb-run";
    if (std::system(click.c_str()) != 0) GTEST_SKIP() << "xdotool cannot reach the display";
    waitUntil(
        [&] {
            backend->processPendingEvents();
            return !probe->presses.empty();
        },
        kPatience);
    ASSERT_EQ(probe->presses.size(), 1u);
    EXPECT_NEAR(probe->presses[0].x, 10, 1);
    EXPECT_NEAR(probe->presses[0].y, 20, 1);

    window.orderOut();
    backend->processPendingEvents();
    EXPECT_FALSE(window.isVisible());
}
