// The colour panel on the desktop: GTK's colour chooser dialog, run modally on the main loop.
#include <gtk/gtk.h>

#include "platform/ui/ColorPanel.h"
#include "platform/ui/gtk/GtkPanels.h"

namespace platform::gtk {

std::optional<Color> runColorPanel(const ColorPanel& panel) {
    GtkWidget* dialog = gtk_color_chooser_dialog_new(panel.title().c_str(), nullptr);
    GdkRGBA start{panel.color().red, panel.color().green, panel.color().blue, 1.0};
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(dialog), &start);
    gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(dialog), FALSE);
    std::optional<Color> picked;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        GdkRGBA rgba;
        gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
        picked = Color::calibratedRGB(rgba.red, rgba.green, rgba.blue, 1.0);
    }
    gtk_widget_destroy(dialog);
    return picked;
}

}  // namespace platform::gtk
