// The floor under Zelvo's memory figure: a GTK window of Zelvo's size holding one web view on
// Zelvo's own web context and settings, showing one editable line. Whatever this takes, any page
// of ours takes too; started by zelvo_bench as a peer program, it runs until it is killed.
#include <gtk/gtk.h>

#include "platform/ui/gtk/ProcessEnvironment.h"
#include "platform/web/webkit/WebContext.h"

int main() {
    if (!platform::gtk::openDisplay()) return 1;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 1000, 640);
    GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context",
                                              platform::webkit::sharedWebContext(), nullptr));
    webkit_settings_set_hardware_acceleration_policy(
        webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view)),
        WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_html(WEBKIT_WEB_VIEW(view), "<p contenteditable>ᠮᠣᠩᠭᠣᠯ</p>", nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
