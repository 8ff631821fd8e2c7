#include "platform/ui/gtk/GtkMenuBar.h"

#include <cctype>

#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace platform::gtk {

namespace {

struct ItemBinding {
    std::shared_ptr<Menu> menu;
    std::size_t index;
    Window* window;  // borrowed: the window's host owns the bar
};

void onActivate(GtkMenuItem*, ItemBinding* binding) {
    binding->menu->update(binding->window->firstResponder());
    binding->menu->performActionForItemAtIndex(binding->index, binding->window->firstResponder());
}

void freeBinding(gpointer data, GClosure*) {
    delete static_cast<ItemBinding*>(data);
}

void addAccelerator(GtkWidget* item, const std::string& key, GtkAccelGroup* group) {
    if (key.size() != 1) return;
    unsigned char c = static_cast<unsigned char>(key[0]);
    GdkModifierType mods = GDK_CONTROL_MASK;
    if (std::isupper(c)) mods = GdkModifierType(mods | GDK_SHIFT_MASK);
    guint keyval = gdk_unicode_to_keyval(std::tolower(c));
    gtk_widget_add_accelerator(item, "activate", group, keyval, mods, GTK_ACCEL_VISIBLE);
}

GtkWidget* buildMenu(const std::shared_ptr<Menu>& menu, Window& window, GtkAccelGroup* group,
                     bool bar) {
    GtkWidget* shell = bar ? gtk_menu_bar_new() : gtk_menu_new();
    if (!bar) gtk_menu_set_accel_group(GTK_MENU(shell), group);
    for (std::size_t i = 0; i < menu->numberOfItems(); ++i) {
        MenuItem* item = menu->itemAtIndex(i);
        if (item->isSeparatorItem()) {
            gtk_menu_shell_append(GTK_MENU_SHELL(shell), gtk_separator_menu_item_new());
            continue;
        }
        GtkWidget* widget = gtk_menu_item_new_with_label(item->title().c_str());
        if (item->submenu()) {
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget),
                                      buildMenu(item->submenu(), window, group, false));
        } else {
            g_signal_connect_data(widget, "activate", G_CALLBACK(onActivate),
                                  new ItemBinding{menu, i, &window}, freeBinding, GConnectFlags(0));
            addAccelerator(widget, item->keyEquivalent(), group);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(shell), widget);
    }
    return shell;
}

}  // namespace

GtkWidget* buildMenuBar(const std::shared_ptr<Menu>& menu, Window& window, GtkAccelGroup* group) {
    return buildMenu(menu, window, group, true);
}

}  // namespace platform::gtk
