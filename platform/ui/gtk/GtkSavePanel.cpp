// The save panel on the desktop: GTK's file chooser dialog, run modally on the main loop, with the
// panel's accessory view shown as the chooser's extra widget.
#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "platform/ui/SavePanel.h"
#include "platform/ui/View.h"
#include "platform/ui/gtk/GtkPanels.h"
#include "platform/ui/gtk/GtkViewPeer.h"

namespace platform::gtk {

namespace {

// The accessory's controls as widgets at their frames (ours are y up, GTK's y down). The views
// keep their peers only while the panel runs.
GtkWidget* accessoryWidget(View& accessory, std::vector<View*>& peered) {
    GtkWidget* fixed = gtk_fixed_new();
    double height = accessory.frame().height();
    gtk_widget_set_size_request(fixed, int(accessory.frame().width()), int(height));
    for (const std::shared_ptr<View>& view : accessory.subviews()) {
        std::unique_ptr<GtkViewPeer> peer = makePeer(*view);
        if (!peer) continue;
        GtkWidget* widget = peer->widget();
        Rect frame = view->frame();
        gtk_widget_set_size_request(widget, int(frame.width()), int(frame.height()));
        gtk_fixed_put(GTK_FIXED(fixed), widget, int(frame.minX()), int(height - frame.maxY()));
        gtk_widget_show(widget);
        view->setPeer(std::move(peer));
        peered.push_back(view.get());
    }
    gtk_widget_show(fixed);
    return fixed;
}

}  // namespace

std::optional<std::string> runSavePanel(SavePanel& panel) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(panel.message().empty() ? nullptr : panel.message().c_str(),
                                    nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, panel.asksBeforeReplacing());
    gtk_file_chooser_set_create_folders(chooser, panel.canCreateDirectories());
    gtk_file_chooser_set_current_name(chooser, panel.nameFieldStringValue().c_str());
    std::vector<View*> peered;
    if (panel.accessoryView()) {
        gtk_file_chooser_set_extra_widget(chooser, accessoryWidget(*panel.accessoryView(), peered));
    }
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* file = gtk_file_chooser_get_filename(chooser);
        if (file) chosen = file;
        g_free(file);
    }
    for (View* view : peered) view->setPeer(nullptr);
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace platform::gtk
