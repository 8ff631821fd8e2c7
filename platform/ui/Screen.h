#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

// NSScreen: the monitors, in the layer's screen coordinates (origin at the lower left of the main
// screen, y up). The on-screen backend installs the source of monitors; headless there are none
// unless a test installs its own.
class Screen {
  public:
    Rect frame() const { return m_frame; }
    Rect visibleFrame() const { return m_visibleFrame; }

    // The screen with the key window, else the first; absent without screens.
    static std::optional<Screen> mainScreen();
    static std::vector<Screen> screens();

    using Source = std::function<std::vector<Screen>()>;
    // Installs the source of screens and gives back the one it replaces.
    static Source setSource(Source source);

    Screen(Rect frame, Rect visibleFrame) : m_frame(frame), m_visibleFrame(visibleFrame) {}

  private:
    Rect m_frame;
    Rect m_visibleFrame;
};

}  // namespace platform
