#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/WindowBackend.h"

typedef struct _GdkScreen GdkScreen;

namespace platform::gtk {

// Windows on a GTK 3 desktop: screens are the display's monitors (the primary one first, as the
// main screen), the pointer is the default seat's, and each window gets a GtkViewHost. GTK runs
// on the GLib main loop that RunLoop drives, so nothing here turns the loop by itself except the
// calls that say so.
class GtkWindowBackend : public WindowBackend,
                         public std::enable_shared_from_this<GtkWindowBackend> {
  public:
    // Opens GTK on the default display; null when there is none (no DISPLAY, a broken one).
    static std::shared_ptr<GtkWindowBackend> create();

    std::vector<Screen> screens() const override;
    std::optional<Point> mouseLocation() const override;
    std::unique_ptr<WindowHost> createHost(Window& window) override;

    // The main screen's rectangle in desktop coordinates (top left origin, y down), against
    // which screen coordinates are reckoned; zero when the display has no monitor.
    Rect mainScreenOnDesktop() const;

    // Turns the main loop until no event is pending and the X server has answered.
    void processPendingEvents();
    // Turns the main loop until the window is on screen and its host has drawn what was marked
    // last, or the time is up; whether it got there.
    bool waitUntilDrawn(Window& window, double seconds);
    // What the desktop shows in the rectangle (screen coordinates), or absent when it cannot be
    // read back.
    std::optional<Image> snapshot(const Rect& screenRect) const;

    ~GtkWindowBackend() override;

  private:
    static constexpr std::chrono::milliseconds kWorkAreaLifetime{2000};

    GtkWindowBackend() = default;
    std::vector<Screen> readScreens() const;
    static void onScreensChanged(GdkScreen* screen, void* self);

    // The screens as last read, and when.
    mutable std::optional<std::vector<Screen>> m_screens;
    mutable std::chrono::steady_clock::time_point m_screensRead;
};

}  // namespace platform::gtk
