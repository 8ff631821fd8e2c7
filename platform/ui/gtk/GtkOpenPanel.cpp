// The open panel on the desktop: GTK's file chooser dialog, run modally on the main loop.
#include <gtk/gtk.h>

#include "platform/ui/OpenPanel.h"
#include "platform/ui/gtk/GtkPanels.h"

namespace platform::gtk {

std::optional<std::vector<std::string>> runOpenPanel(const OpenPanel& panel) {
    GtkFileChooserAction action = panel.canChooseDirectories() && !panel.canChooseFiles()
                                      ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER
                                      : GTK_FILE_CHOOSER_ACTION_OPEN;
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(nullptr, nullptr, action, "_Cancel", GTK_RESPONSE_CANCEL,
                                    "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_select_multiple(chooser, panel.allowsMultipleSelection());
    gtk_file_chooser_set_local_only(chooser, TRUE);
    if (panel.isFloatingPanel()) gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    if (!panel.allowedFileTypes().empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        for (const std::string& type : panel.allowedFileTypes())
            gtk_file_filter_add_pattern(filter, ("*." + type).c_str());
        gtk_file_chooser_add_filter(chooser, filter);  // the chooser takes the filter
    }
    std::optional<std::vector<std::string>> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        chosen.emplace();
        GSList* files = gtk_file_chooser_get_filenames(chooser);
        for (GSList* item = files; item; item = item->next) {
            chosen->push_back(static_cast<char*>(item->data));
            g_free(item->data);
        }
        g_slist_free(files);
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace platform::gtk
