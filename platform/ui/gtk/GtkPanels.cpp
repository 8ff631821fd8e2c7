#include "platform/ui/gtk/GtkPanels.h"

#include <gtk/gtk.h>

#include <map>
#include <string>

#include "platform/ui/gtk/GObjectRef.h"

namespace platform::gtk {
namespace {

// The preference panel as a small utility window: one row per control, changes act at once.
class GtkPreferencePanel final : public PreferencePanel::Backend {
  public:
    ~GtkPreferencePanel() override {
        if (m_window) gtk_widget_destroy(GTK_WIDGET(m_window.get()));
    }

    void show(PreferencePanel& panel) override {
        if (!m_window) build(panel);
        gtk_widget_show_all(GTK_WIDGET(m_window.get()));
        gtk_window_present(m_window.get());
    }

    void hide() override {
        if (m_window) gtk_widget_hide(GTK_WIDGET(m_window.get()));
    }

    void controlChanged(const PreferencePanel::Control& control) override {
        auto widget = m_widgets.find(control.identifier);
        if (widget == m_widgets.end()) return;
        m_updating = true;
        if (control.kind == PreferencePanel::Control::Kind::CheckBox) {
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget->second), control.state);
        } else {
            gtk_font_chooser_set_font(GTK_FONT_CHOOSER(widget->second), fontName(control).c_str());
        }
        m_updating = false;
    }

  private:
    struct Binding {
        GtkPreferencePanel* self;
        PreferencePanel* panel;
        std::string identifier;
    };

    static std::string fontName(const PreferencePanel::Control& control) {
        const double size = control.fontSize > 0 ? control.fontSize : 16;
        return (control.fontFamily.empty() ? std::string("Sans") : control.fontFamily) + " " +
               std::to_string(static_cast<int>(size));
    }

    void build(PreferencePanel& panel) {
        m_window = GObjectRef<GtkWindow>::retain(GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL)));
        gtk_window_set_title(m_window.get(), panel.title().c_str());
        gtk_window_set_type_hint(m_window.get(), GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_set_resizable(m_window.get(), FALSE);
        g_signal_connect(m_window.get(), "delete-event", G_CALLBACK(onDelete), &panel);
        GtkWidget* grid = gtk_grid_new();
        gtk_container_set_border_width(GTK_CONTAINER(grid), 16);
        gtk_grid_set_row_spacing(GTK_GRID(grid), 10);
        gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
        int row = 0;
        for (const auto& control : panel.controls()) {
            auto* binding = new Binding{this, &panel, control.identifier};
            GtkWidget* widget = nullptr;
            if (control.kind == PreferencePanel::Control::Kind::CheckBox) {
                widget = gtk_check_button_new_with_label(control.label.c_str());
                gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), control.state);
                g_signal_connect_data(widget, "toggled", G_CALLBACK(onToggled), binding,
                                      freeBinding, GConnectFlags(0));
                gtk_grid_attach(GTK_GRID(grid), widget, 0, row, 2, 1);
            } else {
                GtkWidget* label = gtk_label_new(control.label.c_str());
                gtk_widget_set_halign(label, GTK_ALIGN_START);
                widget = gtk_font_button_new_with_font(fontName(control).c_str());
                g_signal_connect_data(widget, "font-set", G_CALLBACK(onFontSet), binding,
                                      freeBinding, GConnectFlags(0));
                gtk_grid_attach(GTK_GRID(grid), label, 0, row, 1, 1);
                gtk_grid_attach(GTK_GRID(grid), widget, 1, row, 1, 1);
            }
            gtk_widget_set_name(widget, control.identifier.c_str());
            m_widgets[control.identifier] = widget;
            ++row;
        }
        gtk_container_add(GTK_CONTAINER(m_window.get()), grid);
    }

    static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<PreferencePanel*>(data)->orderOut();
        return TRUE;  // kept for the next time it is shown
    }
    static void onToggled(GtkToggleButton* button, gpointer data) {
        auto* binding = static_cast<Binding*>(data);
        if (binding->self->m_updating) return;
        binding->panel->userToggled(binding->identifier, gtk_toggle_button_get_active(button));
    }
    static void onFontSet(GtkFontButton* button, gpointer data) {
        auto* binding = static_cast<Binding*>(data);
        PangoFontDescription* description =
            gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(button));
        if (!description) return;
        const char* family = pango_font_description_get_family(description);
        const double size = pango_font_description_get_size(description) / double(PANGO_SCALE);
        binding->panel->userChoseFont(binding->identifier, family ? family : "", size);
        pango_font_description_free(description);
    }
    static void freeBinding(gpointer data, GClosure*) { delete static_cast<Binding*>(data); }

    GObjectRef<GtkWindow> m_window;
    std::map<std::string, GtkWidget*> m_widgets;  // borrowed: children of m_window
    bool m_updating = false;
};

class GtkAboutPanel final : public AboutPanel::Backend {
  public:
    ~GtkAboutPanel() override {
        if (m_dialog) gtk_widget_destroy(GTK_WIDGET(m_dialog.get()));
    }

    void show(const AboutPanel::Contents& contents) override {
        if (!m_dialog) {
            m_dialog = GObjectRef<GtkAboutDialog>::retain(GTK_ABOUT_DIALOG(gtk_about_dialog_new()));
            GtkAboutDialog* dialog = m_dialog.get();
            gtk_about_dialog_set_program_name(dialog, contents.name.c_str());
            gtk_about_dialog_set_version(dialog, contents.version.c_str());
            gtk_about_dialog_set_comments(dialog, contents.comments.c_str());
            if (!contents.website.empty()) {
                gtk_about_dialog_set_website(dialog, contents.website.c_str());
            }
            if (contents.iconPath) {
                GdkPixbuf* icon =
                    gdk_pixbuf_new_from_file_at_size(contents.iconPath->c_str(), 96, 96, nullptr);
                if (icon) {
                    gtk_about_dialog_set_logo(dialog, icon);
                    g_object_unref(icon);
                }
            }
            g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_hide), nullptr);
            g_signal_connect(dialog, "delete-event", G_CALLBACK(gtk_widget_hide_on_delete),
                             nullptr);
        }
        gtk_window_present(GTK_WINDOW(m_dialog.get()));
    }

  private:
    GObjectRef<GtkAboutDialog> m_dialog;
};

}  // namespace

std::unique_ptr<PreferencePanel::Backend> makePreferencePanel() {
    return std::make_unique<GtkPreferencePanel>();
}

std::unique_ptr<AboutPanel::Backend> makeAboutPanel() {
    return std::make_unique<GtkAboutPanel>();
}

}  // namespace platform::gtk
