#include "platform/ui/gtk/ProcessEnvironment.h"

#include <gtk/gtk.h>

#include <set>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

namespace platform::gtk {

namespace {

std::set<std::string>& ownNames() {
    static std::set<std::string> names;
    return names;
}

}  // namespace

void setOwnEnvironment(const char* name, const char* value) {
    if (g_getenv(name)) return;
    g_setenv(name, value, TRUE);
    ownNames().insert(name);
}

GObjectRef<GAppLaunchContext> launchContext() {
    auto context = GObjectRef<GAppLaunchContext>::adopt(g_app_launch_context_new());
    for (const std::string& name : ownNames())
        g_app_launch_context_unsetenv(context.get(), name.c_str());
    return context;
}

bool openWithDefaultApplication(const std::string& url) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(url.c_str(), launchContext().get(), &error)) return true;
    logf("Cannot open %s: %s", url.c_str(), error ? error->message : "no application for it");
    g_clear_error(&error);
    return false;
}

bool openDisplay() {
    // Windows and web views each ask for the display; GLib warns when the names are set twice.
    if (gdk_display_get_default()) return true;
    setOwnEnvironment("GDK_GL", "disable");
    // The desktop names the program's windows after it (WM_CLASS, the top bar's application
    // name), not after the file it was started from ("ibus-engine-quillora"). GDK makes the window
    // class from the program name, capitalised, when it opens the display (and drops a class set
    // before without freeing it).
    const Bundle& bundle = Bundle::mainBundle();
    if (!bundle.bundleIdentifier().empty()) {
        const std::string name = bundle.infoValue("CFBundleName").value_or(bundle.programName());
        g_set_prgname(bundle.programName().c_str());
        g_set_application_name(name.c_str());
    }
    return gtk_init_check(nullptr, nullptr) && gdk_display_get_default();
}

}  // namespace platform::gtk
