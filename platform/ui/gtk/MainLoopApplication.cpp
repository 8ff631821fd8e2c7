#include "platform/ui/gtk/MainLoopApplication.h"

#include <gio/gio.h>
#include <glib-unix.h>

#include <csignal>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace platform::gtk {

namespace {

gboolean onTerminateSignal(gpointer) {
    Application::sharedApplication().terminate();
    return G_SOURCE_REMOVE;
}

}  // namespace

int MainLoopApplication::run(int, char**) {
    // A process started by a daemon is told to stop by a signal: it ends as terminate() ends it.
    guint term = g_unix_signal_add(SIGTERM, onTerminateSignal, nullptr);
    guint interrupt = g_unix_signal_add(SIGINT, onTerminateSignal, nullptr);
    Application::sharedApplication().finishLaunching();
    RunLoop::mainRunLoop().run();
    // A source that fired has removed itself already.
    for (guint id : {term, interrupt}) {
        if (GSource* source = g_main_context_find_source_by_id(nullptr, id))
            g_source_destroy(source);
    }
    return 0;
}

void MainLoopApplication::terminate() {
    RunLoop::mainRunLoop().stop();
}

bool MainLoopApplication::openURL(const std::string& url) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(url.c_str(), nullptr, &error)) return true;
    logf("Cannot open %s: %s", url.c_str(), error ? error->message : "no handler");
    if (error) g_error_free(error);
    return false;
}

}  // namespace platform::gtk
