// Alerts on the desktop: GTK's message dialog, run modally on the main loop.
#include <gtk/gtk.h>

#include "platform/ui/Alert.h"
#include "platform/ui/gtk/GtkPanels.h"

namespace platform::gtk {

int runAlert(const Alert& alert) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                               GTK_BUTTONS_NONE, "%s", alert.messageText().c_str());
    if (!alert.informativeText().empty()) {
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                                 alert.informativeText().c_str());
    }
    const auto& buttons = alert.buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), buttons[i].c_str(), static_cast<int>(i));
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return response >= 0 ? response : 0;
}

}  // namespace platform::gtk
