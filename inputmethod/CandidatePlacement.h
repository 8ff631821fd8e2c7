#pragma once

#include <cstddef>

#include "platform/graphics/Geometry.h"

namespace quillora {

// Where the candidate window goes: just below the caret, kept inside the screen that holds the
// caret's origin (else the pointer's screen, else the main screen) at its right, left and bottom
// edges; above the caret when there is no room below. `textSize` is the candidate text as
// measured before it is turned, so the window on screen is textSize.height + 5 wide and
// textSize.width + 5 high; the rectangle returned carries the unturned size, which the caller
// exchanges. The caret of vertical text (wider than tall) has the window beside its column instead,
// right of it (left of it when the screen ends), its top level with the caret's. All in screen
// coordinates. The count is not used.
platform::Rect tuningFrameForScreen(platform::Size textSize, platform::Rect caretRect,
                                    std::size_t count);

}  // namespace quillora
