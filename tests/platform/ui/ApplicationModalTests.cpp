#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowController.h"

using platform::Application;
using platform::Rect;
using platform::RunLoop;
using platform::Window;

namespace {

struct RefusingDelegate : platform::WindowDelegate {
    bool windowShouldClose(Window&) override {
        ++asked;
        return allow;
    }
    void windowWillClose(Window&) override { ++closing; }
    int asked = 0, closing = 0;
    bool allow = false;
};

TEST(ApplicationModal, StopModalEndsTheRunWithItsCode) {
    Window window(Rect(0, 0, 100, 100));
    Application& app = Application::sharedApplication();
    RunLoop::mainRunLoop().performBlock([&] {
        EXPECT_EQ(app.modalWindow(), &window);
        app.stopModalWithCode(7);
        app.stopModal();  // a second stop of the same run changes nothing
    });
    EXPECT_EQ(app.runModalForWindow(window), 7);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(app.modalWindow(), nullptr);
    app.stopModal();  // outside any run: nothing happens
}

TEST(ApplicationModal, ClosingTheWindowEndsItsRunButNotTheOuterOne) {
    Window outer(Rect(0, 0, 100, 100)), inner(Rect(0, 0, 50, 50));
    Application& app = Application::sharedApplication();
    int innerResult = 0;
    bool outerStillRunning = false;
    RunLoop::mainRunLoop().performBlock([&] {
        RunLoop::mainRunLoop().performBlock([&] {
            // Stopping and closing together must end the inner run only.
            app.stopModal();
            inner.close();
        });
        innerResult = app.runModalForWindow(inner);
        outerStillRunning = app.modalWindow() == &outer;
        outer.close();
    });
    EXPECT_EQ(app.runModalForWindow(outer), Application::ModalResponseAbort);
    EXPECT_EQ(innerResult, Application::ModalResponseStop);
    EXPECT_TRUE(outerStillRunning);
    EXPECT_FALSE(inner.isVisible());
}

TEST(ApplicationModal, PerformCloseAsksTheDelegateFirst) {
    Window window(Rect(0, 0, 100, 100));
    RefusingDelegate delegate;
    window.setDelegate(&delegate);
    window.orderFront();
    EXPECT_FALSE(window.performClose());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(delegate.closing, 0);
    delegate.allow = true;
    EXPECT_TRUE(window.performClose());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(delegate.asked, 2);
    EXPECT_EQ(delegate.closing, 1);
}

TEST(ApplicationModal, ReopenWithoutDelegateShowsTheFirstWindow) {
    Application& app = Application::sharedApplication();
    ASSERT_EQ(app.delegate(), nullptr);
    Window window(Rect(0, 0, 100, 100));
    app.reopen();
    EXPECT_TRUE(window.isVisible() || Window::windows().front() != &window);
}

class CountingController : public platform::WindowController {
  public:
    int loads = 0, didLoads = 0;

  protected:
    void loadWindow() override {
        ++loads;
        setWindow(std::make_shared<Window>(Rect(0, 0, 10, 10)));
    }
    void windowDidLoad() override { ++didLoads; }
};

TEST(WindowController, LoadsOnceAndBecomesTheDelegate) {
    CountingController controller;
    EXPECT_FALSE(controller.isWindowLoaded());
    Window* window = controller.window();
    controller.window();
    EXPECT_EQ(controller.loads, 1);
    EXPECT_EQ(controller.didLoads, 1);
    EXPECT_EQ(window->delegate(), &controller);
    controller.showWindow();
    EXPECT_TRUE(window->isKeyWindow());
    controller.close();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
