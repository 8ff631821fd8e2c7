#pragma once

namespace platform::gtk {

// Draws the preference and about panels with GTK widgets from now on (the display must be open).
void installPanelBackends();

}  // namespace platform::gtk
