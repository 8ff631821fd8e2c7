#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Screen.h"

namespace platform {

class Window;
class WindowHost;

// What puts windows on a real display: the screens, the pointer and a host per window. A program
// that shows windows puts one in its Backends at start-up (the GTK backend); tests put in a fake
// or none. Windows that already have a host keep it when the backend changes.
// Without a backend windows stay headless: they keep their frames and visibility and draw only
// when asked to. Main thread only.
class WindowBackend {
  public:
    virtual ~WindowBackend() = default;

    // Every screen, the main screen first, in screen coordinates.
    virtual std::vector<Screen> screens() const = 0;
    // Where the pointer is, in screen coordinates; absent when the backend cannot tell.
    virtual std::optional<Point> mouseLocation() const = 0;
    // The on-screen half of a window, or null when it cannot be shown here.
    virtual std::unique_ptr<WindowHost> createHost(Window& window) = 0;
};

// The pointer position in screen coordinates (NSEvent mouseLocation); absent without a backend.
std::optional<Point> mouseLocation();

}  // namespace platform
