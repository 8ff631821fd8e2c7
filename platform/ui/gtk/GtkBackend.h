#pragma once

#include <optional>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Backends.h"

namespace platform::gtk {

// The one way a program (or a display-bound test) puts platform/ui on the GTK desktop: opens the
// display and fills the set with the GTK backend of every facility that shows something: windows,
// tables, panels and alerts. False, with the set untouched, when no display can be opened. Main
// thread.
bool install(Backends& backends);

// The main screen's frame in desktop coordinates (origin at the top left); absent while the
// Backends in use have no GTK window backend.
std::optional<Rect> mainScreenOnDesktop();

}  // namespace platform::gtk
