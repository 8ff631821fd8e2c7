#pragma once

#include <string>

#include "platform/graphics/Geometry.h"

namespace platform {

// The on-screen half of one Window, made by the window backend when the window is first ordered
// front. The window tells it what changed; the host draws the window's content view when the
// desktop asks and hands the desktop's input back to the window as our events (see
// Window::sendEvent, Window::hostMovedWindow). Owned by its window, which outlives it.
class WindowHost {
  public:
    virtual ~WindowHost() = default;

    // The window's frame, in screen coordinates.
    virtual void setFrame(const Rect& frame) = 0;
    // Shows the window above the others of its level. Borderless windows never take the focus;
    // `makeKey` asks the desktop for it (normal windows only).
    virtual void orderFront(bool makeKey) = 0;
    virtual void orderOut() = 0;
    // Some view of the window needs drawing: the host redraws at the next frame.
    virtual void setNeedsDisplay() = 0;
    virtual void setTitle(const std::string& title) = 0;
    // The window entered or left full screen.
    virtual void setFullScreen(bool fullScreen) { (void)fullScreen; }
    // Views joined, left, moved or were hidden: toolkit widgets that show views follow.
    virtual void layoutChanged() {}
    // While a modal run is on for this window, the program's other windows take no input.
    virtual void setModal(bool modal) { (void)modal; }
    // The smallest content size the user can give the window; zero sides are free.
    virtual void setMinSize(Size size) { (void)size; }
};

}  // namespace platform
