#pragma once

#include <optional>

#include "platform/graphics/Geometry.h"

namespace platform::gtk {

// The one way a program (or a display-bound test) puts platform/ui on the GTK desktop: opens the
// display and installs the GTK backend of every facility that shows something: windows
// (WindowBackend::shared), tables, panels and alerts. False, with nothing installed, when no
// display can be opened. Main thread; a second call only answers whether the first succeeded.
bool install();

// The main screen's frame in desktop coordinates (origin at the top left); absent until install
// has succeeded.
std::optional<Rect> mainScreenOnDesktop();

}  // namespace platform::gtk
