#include "platform/ui/gtk/MainLoopApplication.h"

#include <gio/gio.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace platform::gtk {

int MainLoopApplication::run(int, char**) {
    Application::sharedApplication().finishLaunching();
    RunLoop::mainRunLoop().run();
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
