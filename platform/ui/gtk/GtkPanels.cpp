#include "platform/ui/gtk/GtkPanels.h"

#include <gtk/gtk.h>

#include <cmath>
#include <functional>
#include <vector>

#include "platform/ui/Alert.h"
#include "platform/ui/ColorPanel.h"
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

bool runFileChooser(SavePanel& panel) {
    bool save = panel.mode() == SavePanel::Mode::Save;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        panel.title().empty() ? (save ? "Save" : "Open") : panel.title().c_str(), keyGtkWindow(),
        save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
        GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_select_multiple(chooser, !save && panel.allowsMultipleSelection());
    if (panel.directory()) gtk_file_chooser_set_current_folder(chooser, panel.directory()->c_str());
    if (save && !panel.nameFieldStringValue().empty())
        gtk_file_chooser_set_current_name(chooser, panel.nameFieldStringValue().c_str());
    if (!panel.allowedFileTypes().empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        for (const std::string& type : panel.allowedFileTypes()) {
            gtk_file_filter_add_pattern(filter, ("*." + type).c_str());
            gtk_file_filter_set_name(filter, type.c_str());
        }
        gtk_file_chooser_add_filter(chooser, filter);
    }
    std::unique_ptr<AccessoryWidget> accessory;
    if (panel.accessoryView()) {
        accessory = std::make_unique<AccessoryWidget>(*panel.accessoryView());
        gtk_file_chooser_set_extra_widget(chooser, accessory->widget());
    }
    bool accepted = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT;
    if (accepted) {
        std::vector<std::string> paths;
        GSList* files = gtk_file_chooser_get_filenames(chooser);
        for (GSList* f = files; f; f = f->next) {
            paths.emplace_back(static_cast<char*>(f->data));
            g_free(f->data);
        }
        g_slist_free(files);
        panel.setChosen(std::move(paths));
    }
    if (accessory) accessory->release();
    gtk_widget_destroy(dialog);
    return accepted;
}

std::optional<Color> runColorChooser(const ColorPanel& panel) {
    GtkWidget* dialog = gtk_color_chooser_dialog_new("Colours", keyGtkWindow());
    Color c = panel.color();
    GdkRGBA rgba{c.red, c.green, c.blue, c.alpha};
    gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(dialog), TRUE);
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
    std::optional<Color> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
        chosen = Color::calibratedRGB(rgba.red, rgba.green, rgba.blue, rgba.alpha);
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

std::optional<Font> runFontChooser(const FontPanel& panel) {
    GtkWidget* dialog = gtk_font_chooser_dialog_new("Fonts", keyGtkWindow());
    if (const std::optional<Font>& font = panel.selectedFont()) {
        std::string name = font->familyName() + " " + std::to_string(int(font->pointSize()));
        gtk_font_chooser_set_font(GTK_FONT_CHOOSER(dialog), name.c_str());
    }
    std::optional<Font> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        PangoFontDescription* description =
            gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(dialog));
        if (description) {
            const char* family = pango_font_description_get_family(description);
            double size = pango_font_description_get_size(description) / double(PANGO_SCALE);
            if (family) chosen = Font::fontWithName(family, size > 0 ? size : 12.0);
            pango_font_description_free(description);
        }
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

}  // namespace

void installPanels() {
    Alert::setRunner(runAlert);
    SavePanel::setRunner(runFileChooser);
    ColorPanel::setRunner(runColorChooser);
    FontPanel::setRunner(runFontChooser);
}

}  // namespace platform::gtk
