// Alerts on the desktop: GTK's message dialog, run modally on the main loop or shown as a sheet
// answered through its "response" signal.
#include <gtk/gtk.h>

#include "platform/ui/Alert.h"
#include "platform/ui/gtk/GtkPanels.h"

namespace platform::gtk {

namespace {

GtkWidget* newDialog(const Alert& alert, GtkWindow* parent) {
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                               GTK_BUTTONS_NONE, "%s", alert.messageText().c_str());
    if (!alert.informativeText().empty()) {
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                                 alert.informativeText().c_str());
    }
    const auto& buttons = alert.buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), buttons[i].c_str(), static_cast<int>(i));
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    return dialog;
}

// A dialog closed without a button (Escape, the window manager) answers as the first button.
int indexFor(int response) {
    return response >= 0 ? response : 0;
}

GtkWindow* focusedWindow() {
    GtkWindow* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item && !found; item = item->next)
        if (gtk_window_is_active(GTK_WINDOW(item->data))) found = GTK_WINDOW(item->data);
    g_list_free(windows);
    return found;
}

using Answered = std::function<void(int)>;

void onResponse(GtkDialog* dialog, int response, gpointer data) {
    // Taken out first: destroying the dialog frees what the signal holds.
    Answered answered = std::move(*static_cast<Answered*>(data));
    gtk_widget_destroy(GTK_WIDGET(dialog));
    if (answered) answered(indexFor(response));
}

}  // namespace

int runAlert(const Alert& alert) {
    GtkWidget* dialog = newDialog(alert, nullptr);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return indexFor(response);
}

void beginAlertSheet(const Alert& alert, std::function<void(int index)> answered) {
    GtkWidget* dialog = newDialog(alert, focusedWindow());
    g_signal_connect_data(
        dialog, "response", G_CALLBACK(onResponse), new Answered(std::move(answered)),
        [](gpointer data, GClosure*) { delete static_cast<Answered*>(data); }, GConnectFlags(0));
    gtk_window_present(GTK_WINDOW(dialog));
}

}  // namespace platform::gtk
