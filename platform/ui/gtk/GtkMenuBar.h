#pragma once

#include <gtk/gtk.h>

#include <memory>

namespace platform {
class Menu;
class Window;
}  // namespace platform

namespace platform::gtk {

// A GTK menu bar showing a menu of ours: each item with a submenu becomes a menu of the bar.
// Choosing an item runs it against the window's first responder; key equivalents become
// Control-key accelerators (an upper-case key adds Shift) in the group. The widgets keep the
// menus alive.
GtkWidget* buildMenuBar(const std::shared_ptr<Menu>& menu, Window& window, GtkAccelGroup* group);

}  // namespace platform::gtk
