#pragma once

#include "platform/graphics/Geometry.h"

namespace platform::imk::ibus {

// IBus reports caret rectangles in screen coordinates with the origin at the top left, y down;
// the layer works with the origin at the lower left, y up. This is the one place that turns one
// into the other. Without a screen height (no display) the rectangle is kept as given.
Rect caretRectFromFramework(int x, int y, int width, int height, double screenHeight);

}  // namespace platform::imk::ibus
