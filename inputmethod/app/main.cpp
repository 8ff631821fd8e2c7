// Quillora's program: an IBus engine process, started by ibus-daemon from its component file
// (with --ibus) or by hand. It registers the engine, builds the delegate with its menu, panels and
// candidate window, and runs the GLib main loop, which GTK and IBus share, until the daemon goes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "inputmethod/FrameworkCandidateList.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/MongolianInputDelegate.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/imk/InputServer.h"
#include "platform/imk/ibus/IBusBackend.h"
#include "platform/notify/libnotify/LibnotifyBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Backends.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "platform/ui/gtk/MainLoopApplication.h"

namespace {

constexpr const char* kBundleIdentifier = "org.mongolianwriting.quillora";

bool hasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
}

// The first argument that is none of the program's options, or null.
const char* unknownArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--ibus") != 0 && std::strcmp(argument, "--help") != 0 &&
            std::strcmp(argument, "-h") != 0)
            return argument;
    }
    return nullptr;
}

// Opens the display for the candidate window and the panels. On a Wayland session the window must
// be placed at the caret, which only X11 allows: the display goes through XWayland. False when
// there is no display at all.
bool openDisplay(platform::Backends& backends) {
    if (std::getenv("WAYLAND_DISPLAY")) setenv("GDK_BACKEND", "x11", 1);
    if (!std::getenv("DISPLAY")) {
        platform::log("No X display (DISPLAY unset): candidates go to IBus's own list");
        return false;
    }
    if (!platform::gtk::install(backends)) {
        platform::log("The X display cannot be opened: candidates go to IBus's own list");
        return false;
    }
    return true;
}

constexpr const char* kUsage =
    "Usage: ibus-engine-quillora [--ibus]\n"
    "Quillora, an IBus input method for traditional Mongolian script.\n"
    "\n"
    "  --ibus   started by ibus-daemon from the component file quillora.xml\n"
    "  --help   print this text and exit\n"
    "\n"
    "Without --ibus the engine registers itself with the running ibus-daemon and runs until\n"
    "that daemon goes or it is stopped (Ctrl+C); without a reachable daemon it says so and\n"
    "exits with status 1. Select it with `ibus engine quillora`.\n"
    "\n"
    "QUILLORA_LOG names the one place every line goes, debugging lines with the keys included:\n"
    "  stderr   the terminal only, nothing to the system log\n"
    "  syslog   the system log\n"
    "Unset, the system log gets the start, the end and real errors, never a key.\n";

}  // namespace

int main(int argc, char** argv) {
    using quillora::MongolianInputDelegate;
    if (const char* unknown = unknownArgument(argc, argv)) {
        std::fprintf(stderr, "ibus-engine-quillora: unknown option %s\n\n", unknown);
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (hasArgument(argc, argv, "--help") || hasArgument(argc, argv, "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    platform::Bundle::setMain("quillora", kBundleIdentifier);
    platform::setLogIdentity("quillora");
    platform::logf("%s", "main");

    quillora::DBUtil::initDBDirectory();

    platform::Backends backends;
    const bool display = openDisplay(backends);
    platform::libnotify::install(backends, "Quillora");
    backends.application = std::make_shared<platform::gtk::MainLoopApplication>();
    // The delegate's panels and windows take their backends from this set when they are made.
    platform::ScopedBackends installed(std::move(backends));

    // Controllers are made only once the loop runs and a client opens a context, by which time
    // the delegate below exists.
    std::unique_ptr<MongolianInputDelegate> delegate;
    platform::imk::InputServer::Options options;
    options.connectionName = MongolianInputDelegate::kConnectionName;
    options.bundleIdentifier = kBundleIdentifier;
    options.engineName = "quillora";
    options.engineLongName = "Quillora";
    options.language = "mn";
    if (auto icon = platform::Bundle::mainBundle().pathForResource("Quillora", "svg")) {
        options.iconPath = icon->string();
    }
    options.startedByFramework = hasArgument(argc, argv, "--ibus");
    options.makeController = [&delegate](platform::imk::InputClient* client) {
        return std::make_unique<quillora::MongolianInputController>(client, *delegate);
    };
    if (display) options.mainScreenOnDesktop = platform::gtk::mainScreenOnDesktop;
    std::unique_ptr<platform::imk::InputServer> server =
        platform::imk::ibus::install(std::move(options));
    platform::log(server ? "OK! Create IMKServer success!" : "Oh, Create IMKServer failed！");
    if (!server) {
        // No client could ever reach the engine: waiting would only leave a silent process
        // behind (the daemon, when it starts later, starts an engine of its own). The system log
        // has the reason.
        std::fputs(
            "ibus-engine-quillora: IBus is not reachable, or refused the engine (is ibus-daemon "
            "running in this session?)\n",
            stderr);
        return 1;
    }

    // What the interface file held: the delegate, its menu, panels and candidate window.
    delegate = std::make_unique<MongolianInputDelegate>();
    auto& application = platform::Application::sharedApplication();
    application.setDelegate(delegate.get());
    if (!display) {
        delegate->setCandidatePresenter(
            std::make_unique<quillora::FrameworkCandidateList>(*server));
    }

    server->setDisconnectedHandler([&application] { application.terminate(); });
    application.run(argc, argv);
    application.setDelegate(nullptr);
    return 0;
}
