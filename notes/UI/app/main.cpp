// Zelvo's program entry: names the program, puts its windows on the GTK desktop and hands control
// to the application loop, whose launch notice reaches the application delegate.
#include <cstdio>
#include <cstring>
#include <utility>

#include "notes/UI/AppDelegate.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Menu.h"
#include "platform/ui/gtk/DesktopApplication.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "platform/web/webkit/WebKitBackend.h"

namespace {

constexpr const char* kUsage =
    "Usage: zelvo [-h|--help]\n"
    "Notes in vertical traditional Mongolian script. Starting zelvo while it runs brings its\n"
    "window back; Zelvo > Quit (Ctrl+Q) ends it.\n"
    "Notes are kept in $ZELVO_DATA_DIR, else $XDG_DATA_HOME/zelvo, else ~/.local/share/zelvo;\n"
    "one Zelvo at a time uses a notes folder.\n";

bool asksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Before the display is opened: the usage is wanted most where there is none.
    if (asksForHelp(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    platform::setLogIdentity("zelvo");
    platform::Bundle::setMain("zelvo", "org.zelvo.Zelvo");
    platform::Backends backends;
    if (!platform::gtk::install(backends)) {
        const char* message = "Zelvo needs a graphical display; none was found.";
        platform::log(message);
        std::fprintf(stderr, "%s\n", message);  // the user who started it from a terminal
        return 1;
    }
    platform::webkit::install(backends);
    backends.application =
        platform::gtk::makeDesktopApplication(platform::Bundle::mainBundle().bundleIdentifier());
    // Everything the delegate makes takes its backends from this set.
    platform::ScopedBackends installed(std::move(backends));

    platform::Application& app = platform::Application::sharedApplication();
    zelvo::AppDelegate delegate;
    app.setDelegate(&delegate);
    app.setMainMenu(delegate.makeMainMenu());
    int status = app.run(argc, argv);
    app.setDelegate(nullptr);
    return delegate.launchRefused() ? 1 : status;
}
