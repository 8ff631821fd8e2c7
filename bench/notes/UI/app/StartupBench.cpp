// Start-up of Zelvo: from nothing to the main window drawn on the display. Needs a display (run
// under xvfb-run). Three measures, interleaved in one run:
//  - BM_LaunchToMainWindowShown: in one process, the launch notice (database prepared, main
//    window and its five panels built) until the window is mapped and drawn;
//  - BM_PlainGtkWindowShown: the peer: a bare GTK window of the same size mapped and drawn;
//  - BM_ProgramStartToWindowMapped: the zelvo program started afresh until its window is
//    viewable on the X display, process start and library loading included.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "notes/UI/AppDelegate.h"
#include "notes/UI/MainWindowController.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/Application.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/support/TemporaryFolder.h"

// Last: Xlib's macros (None, Bool, Status) must not meet our headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace {

// The installed GTK backend, installed as the program installs it; null without a display.
platform::gtk::GtkWindowBackend* backend() {
    static platform::gtk::GtkWindowBackend* const installed = [] {
        if (!platform::gtk::install()) return (platform::gtk::GtkWindowBackend*)nullptr;
        platform::webkit::install();
        return dynamic_cast<platform::gtk::GtkWindowBackend*>(platform::WindowBackend::shared());
    }();
    return installed;
}

// Whether a viewable top-level window of the process is on the display (GTK names its windows'
// process in _NET_WM_PID).
bool processHasViewableWindow(Display* display, pid_t pid) {
    Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &value) == Success &&
            value && items == 1)
            found = pid_t(*reinterpret_cast<unsigned long*>(value)) == pid;
        if (value) XFree(value);
    }
    if (children) XFree(children);
    return found;
}

void BM_LaunchToMainWindowShown(benchmark::State& state) {
    if (!backend()) return state.SkipWithError("no display");
    TemporaryFolder folder("zelvo-bench");
    const std::string data = folder.path().string();
    setenv("ZELVO_DATA_DIR", data.c_str(), 1);
    setenv("ZELVO_RESOURCES", ZELVO_BENCH_RESOURCES, 1);
    platform::Bundle::setMain("zelvo", "org.zelvo.Zelvo");
    platform::Application& app = platform::Application::sharedApplication();
    for (auto _ : state) {
        DBUtil::resetLocation();
        auto delegate = std::make_unique<zelvo::AppDelegate>();
        app.setDelegate(delegate.get());
        app.finishLaunching();
        platform::Window& window = *delegate->window()->window();
        if (!backend()->waitUntilDrawn(window, 10.0)) state.SkipWithError("window not drawn");
        state.PauseTiming();
        window.close();
        app.setDelegate(nullptr);
        delegate.reset();
        backend()->processPendingEvents();
        std::filesystem::remove_all(std::filesystem::path(data) / "database");
        state.ResumeTiming();
    }
}

void BM_PlainGtkWindowShown(benchmark::State& state) {
    if (!backend()) return state.SkipWithError("no display");
    for (auto _ : state) {
        GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), 1000, 640);
        bool drawn = false;
        GtkWidget* area = gtk_drawing_area_new();
        g_signal_connect(area, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, bool* flag) {
                             *flag = true;
                             return FALSE;
                         }),
                         &drawn);
        gtk_container_add(GTK_CONTAINER(window), area);
        gtk_widget_show_all(window);
        while (!drawn || !gtk_widget_get_mapped(window)) g_main_context_iteration(nullptr, TRUE);
        state.PauseTiming();
        gtk_widget_destroy(window);
        backend()->processPendingEvents();
        state.ResumeTiming();
    }
}

void BM_ProgramStartToWindowMapped(benchmark::State& state) {
    if (!backend()) return state.SkipWithError("no display");
    TemporaryFolder dataFolder("zelvo-bench-program"), configFolder("zelvo-bench-config");
    const std::string data = dataFolder.path().string(), config = configFolder.path().string();
    Display* xDisplay = XOpenDisplay(nullptr);
    if (!xDisplay) return state.SkipWithError("no X display");
    for (auto _ : state) {
        std::string dataEnv = "ZELVO_DATA_DIR=" + data;
        std::string configEnv = "XDG_CONFIG_HOME=" + config;
        std::string resourcesEnv = std::string("ZELVO_RESOURCES=") + ZELVO_BENCH_RESOURCES;
        std::string display =
            std::string("DISPLAY=") + (getenv("DISPLAY") ? getenv("DISPLAY") : "");
        std::string xauth =
            std::string("XAUTHORITY=") + (getenv("XAUTHORITY") ? getenv("XAUTHORITY") : "");
        char* argv[] = {const_cast<char*>(ZELVO_PROGRAM), nullptr};
        char* envp[] = {dataEnv.data(), configEnv.data(), resourcesEnv.data(),
                        display.data(), xauth.data(),     nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, ZELVO_PROGRAM, nullptr, nullptr, argv, envp) != 0)
            return state.SkipWithError("cannot start zelvo");
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool found = false;
        while (!(found = processHasViewableWindow(xDisplay, pid)) &&
               std::chrono::steady_clock::now() < deadline)
            usleep(1000);
        state.PauseTiming();
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        std::filesystem::remove_all(std::filesystem::path(data) / "database");
        if (!found) state.SkipWithError("the window did not appear");
        state.ResumeTiming();
    }
    XCloseDisplay(xDisplay);
}

}  // namespace

BENCHMARK(BM_LaunchToMainWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PlainGtkWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ProgramStartToWindowMapped)->Unit(benchmark::kMillisecond)->Iterations(10);
