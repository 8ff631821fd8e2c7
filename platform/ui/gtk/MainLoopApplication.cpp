#include "platform/ui/gtk/MainLoopApplication.h"

#include <glib-unix.h>

#include <csignal>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/gtk/ProcessEnvironment.h"

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
    return openWithDefaultApplication(url);
}

}  // namespace platform::gtk
