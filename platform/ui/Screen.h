#pragma once

#include <optional>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

// NSScreen: one monitor of the display, in screen coordinates (origin at the lower left of the
// main screen, y up). The list comes from the installed window backend; without one (headless)
// there are no screens.
class Screen {
  public:
    Screen(const Rect& frame, const Rect& visibleFrame) : m_frame(frame), m_visible(visibleFrame) {}

    Rect frame() const { return m_frame; }
    // The frame less the panels and docks the desktop keeps for itself.
    Rect visibleFrame() const { return m_visible; }

    // Every screen, the main screen first.
    static std::vector<Screen> screens();
    // The screen whose lower left corner is the origin of screen coordinates; absent when the
    // display reports no screen.
    static std::optional<Screen> mainScreen();

    bool operator==(const Screen&) const = default;

  private:
    Rect m_frame;
    Rect m_visible;
};

// Screen coordinates against a desktop's own (origin at the top left of the whole desktop, y
// down, as X11 and GDK count): the one place where y is turned over. `mainScreen` is the main
// screen's rectangle in desktop coordinates.
Rect screenRectFromDesktop(const Rect& desktopRect, const Rect& mainScreen);
Rect desktopRectFromScreen(const Rect& screenRect, const Rect& mainScreen);
Point screenPointFromDesktop(Point desktopPoint, const Rect& mainScreen);

}  // namespace platform
