#include "platform/ui/gtk/GtkDialogs.h"

#include <gtk/gtk.h>

#include <cmath>
#include <functional>
#include <vector>

#include "platform/ui/Alert.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"

namespace platform::gtk {

namespace {

GtkWindow* keyGtkWindow() {
    Window* key = Window::keyWindow();
    auto* host = key ? dynamic_cast<GtkViewHost*>(key->host()) : nullptr;
    return host ? GTK_WINDOW(host->gtkWindow()) : nullptr;
}

// The controls of a view tree as one GTK widget (a dialog's accessory): each control's widget
// at its place, y turned over. The views keep their widgets; `release` takes them out again.
class AccessoryWidget {
  public:
    explicit AccessoryWidget(View& root) : m_fixed(gtk_fixed_new()) {
        gtk_widget_set_size_request(m_fixed, int(root.frame().width()), int(root.frame().height()));
        place(root, root);
        gtk_widget_show(m_fixed);
    }
    GtkWidget* widget() const { return m_fixed; }
    void release() {
        for (GtkWidget* child : m_children) gtk_container_remove(GTK_CONTAINER(m_fixed), child);
        m_children.clear();
    }

  private:
    void place(View& view, View& root) {
        if (view.isHidden()) return;
        if (view.nativeKind().empty()) {
            for (const auto& sub : view.subviews()) place(*sub, root);
            return;
        }
        auto* peer = dynamic_cast<GtkViewPeer*>(view.peer());
        if (!peer || peer->kind() != view.nativeKind()) {
            view.setPeer(nullptr);
            std::unique_ptr<GtkViewPeer> made = makePeer(view);
            peer = made.get();
            view.setPeer(std::move(made));
        }
        if (!peer) return;
        GtkWidget* widget = peer->widget();
        if (GtkWidget* parent = gtk_widget_get_parent(widget))
            gtk_container_remove(GTK_CONTAINER(parent), widget);
        Rect r = view.convertRectToView(view.bounds(), &root);
        r.origin.y = root.bounds().height() - r.maxY();
        gtk_widget_set_size_request(widget, int(std::lround(r.width())),
                                    int(std::lround(r.height())));
        gtk_fixed_put(GTK_FIXED(m_fixed), widget, int(std::lround(r.minX())),
                      int(std::lround(r.minY())));
        gtk_widget_show(widget);
        m_children.push_back(widget);
    }

    GtkWidget* m_fixed;  // owned by the dialog once packed
    std::vector<GtkWidget*> m_children;
};

GtkMessageType messageTypeOf(Alert::Style style) {
    switch (style) {
        case Alert::Style::Informational:
            return GTK_MESSAGE_INFO;
        case Alert::Style::Critical:
            return GTK_MESSAGE_ERROR;
        case Alert::Style::Warning:
        default:
            return GTK_MESSAGE_WARNING;
    }
}

int runAlert(const Alert& alert) {
    GtkWidget* dialog =
        gtk_message_dialog_new(keyGtkWindow(), GTK_DIALOG_MODAL, messageTypeOf(alert.alertStyle()),
                               GTK_BUTTONS_NONE, "%s", alert.messageText().c_str());
    if (!alert.informativeText().empty())
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                                 alert.informativeText().c_str());
    std::vector<std::string> titles = alert.buttonTitles();
    // GTK puts the first button rightmost, as AppKit does with the default button.
    for (int i = int(titles.size()) - 1; i >= 0; --i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), titles[i].c_str(), i);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return response >= 0 ? response : 0;
}

std::optional<std::string> runSaveChooser(SavePanel& panel) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(panel.title().empty() ? "Save" : panel.title().c_str(),
                                    keyGtkWindow(), GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    if (panel.directory()) gtk_file_chooser_set_current_folder(chooser, panel.directory()->c_str());
    if (!panel.nameFieldStringValue().empty())
        gtk_file_chooser_set_current_name(chooser, panel.nameFieldStringValue().c_str());
    if (!panel.allowedFileTypes().empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        std::string name;
        for (const std::string& type : panel.allowedFileTypes()) {
            gtk_file_filter_add_pattern(filter, ("*." + type).c_str());
            name += (name.empty() ? "" : ", ") + type;
        }
        gtk_file_filter_set_name(filter, name.c_str());
        gtk_file_chooser_add_filter(chooser, filter);
    }
    std::unique_ptr<AccessoryWidget> accessory;
    if (panel.accessoryView()) {
        accessory = std::make_unique<AccessoryWidget>(*panel.accessoryView());
        gtk_file_chooser_set_extra_widget(chooser, accessory->widget());
    }
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* path = gtk_file_chooser_get_filename(chooser)) {
            chosen = path;
            g_free(path);
        }
    }
    if (accessory) accessory->release();
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace

void installDialogs() {
    Alert::setRunner(runAlert);
    SavePanel::setRunner(runSaveChooser);
}

}  // namespace platform::gtk
