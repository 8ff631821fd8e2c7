// The font panel on the desktop: GTK's font chooser dialog, run modally on the main loop.
#include <gtk/gtk.h>

#include "platform/ui/FontPanel.h"
#include "platform/ui/gtk/GtkPanels.h"

namespace platform::gtk {

std::optional<FontPanel::Choice> runFontPanel() {
    GtkWidget* dialog = gtk_font_chooser_dialog_new(nullptr, nullptr);
    std::optional<FontPanel::Choice> choice;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        PangoFontDescription* font = gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(dialog));
        if (font) {
            const char* family = pango_font_description_get_family(font);
            choice = FontPanel::Choice{family ? family : "",
                                       pango_font_description_get_size(font) / double(PANGO_SCALE)};
            pango_font_description_free(font);
        }
    }
    gtk_widget_destroy(dialog);
    return choice;
}

}  // namespace platform::gtk
