// Start-up of Zelvo: from nothing to the main window drawn on the display. Needs a display (run
// under xvfb-run, inside dbus-run-session for a session bus). Measured interleaved in one run:
//  - BM_LaunchToMainWindowShown: in one process, the launch notice (database prepared, main
//    window and its five panels built) until the window is mapped and drawn;
//  - BM_PlainGtkWindowShown: the peer: a bare GTK window of the same size mapped and drawn;
//  - BM_ZelvoStartToWindowViewable / BM_GeditStartToWindowViewable: the program started afresh
//    (private home) until its window is viewable on the X display, process start and library
//    loading included; the peer is gedit (installed for benchmarks only, by
//    scripts/bench-setup.sh; without it the gedit cases say so and skip);
//  - BM_ZelvoResidentMemory / BM_GeditResidentMemory / BM_PlainWebWindowResidentMemory: the
//    resident size of all the program's processes (Zelvo's web and network processes included)
//    five seconds after start; the last is the floor under Zelvo's figure, a window holding one
//    web view on Zelvo's web context (bench/notes/UI/app/PlainWebWindow.cpp).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench/support/InterleavedRun.h"
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

// The installed GTK backend, installed as the program installs it, for the whole run; null
// without a display.
platform::gtk::GtkWindowBackend* backend() {
    static platform::gtk::GtkWindowBackend* const installed = [] {
        platform::Backends desktop;
        if (!platform::gtk::install(desktop)) return (platform::gtk::GtkWindowBackend*)nullptr;
        platform::webkit::install(desktop);
        auto* windows = dynamic_cast<platform::gtk::GtkWindowBackend*>(desktop.windows.get());
        static platform::ScopedBackends scope(std::move(desktop));
        return windows;
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

// A program started afresh with a private home, as a user would start it from the desktop.
class FreshProgram {
  public:
    FreshProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv)
        : m_home("startup-bench-home") {
        std::vector<std::string> env = extraEnv;
        const std::string home = m_home.path().string();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            env.push_back(std::string(name) + "=" + home + "/" + name);
        for (const char* name : {"DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "PATH"})
            if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
        std::vector<char*> args, envp;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        envp.push_back(nullptr);
        if (posix_spawnp(&m_pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0)
            m_pid = 0;
    }
    ~FreshProgram() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    pid_t pid() const { return m_pid; }

  private:
    TemporaryFolder m_home;
    pid_t m_pid = 0;
};

// The process and its descendants.
std::vector<pid_t> processTree(pid_t pid) {
    std::vector<pid_t> tree{pid};
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream children(task.path() / "children");
        for (pid_t child; children >> child;) {
            std::vector<pid_t> below = processTree(child);
            tree.insert(tree.end(), below.begin(), below.end());
        }
    }
    return tree;
}

// A figure of a process and all its descendants (a program's helper processes), in kilobytes:
// the line `key` of the /proc file `file` ("status" VmRSS: resident pages, each process counting
// the shared libraries it maps; "smaps_rollup" Pss: shared pages split among their users).
long treeKilobytes(pid_t pid, const char* file, const std::string& key) {
    long total = 0;
    for (pid_t member : processTree(pid)) {
        std::ifstream figures("/proc/" + std::to_string(member) + "/" + file);
        for (std::string line; std::getline(figures, line);)
            if (line.rfind(key, 0) == 0) total += std::stol(line.substr(key.size()));
    }
    return total;
}

// The memory the processes hold together, in kilobytes: each resident physical page once, however
// many of them map it (a library's pages in all three of Zelvo's processes count once, as they
// take memory once). Page frame numbers are readable with CAP_SYS_ADMIN only; without, absent.
std::optional<long> distinctResidentKilobytes(pid_t pid) {
    constexpr uint64_t kPresent = 1ULL << 63, kFrame = (1ULL << 55) - 1;
    const long pageSize = sysconf(_SC_PAGESIZE);
    std::unordered_set<uint64_t> frames;
    bool readable = false;
    for (pid_t member : processTree(pid)) {
        const std::string proc = "/proc/" + std::to_string(member);
        std::ifstream maps(proc + "/maps");
        int pagemap = open((proc + "/pagemap").c_str(), O_RDONLY | O_CLOEXEC);
        if (pagemap < 0) continue;
        std::vector<uint64_t> entries(1 << 16);
        for (std::string line; std::getline(maps, line);) {
            if (line.find("[vsyscall]") != std::string::npos) continue;
            uint64_t page = std::stoull(line, nullptr, 16) / pageSize;
            const uint64_t end =
                std::stoull(line.substr(line.find('-') + 1), nullptr, 16) / pageSize;
            // In pieces: the JavaScript engine reserves many gigabytes it never touches.
            while (page < end) {
                const size_t count = std::min<uint64_t>(end - page, entries.size());
                ssize_t got = pread(pagemap, entries.data(), count * sizeof(uint64_t),
                                    off_t(page * sizeof(uint64_t)));
                if (got <= 0) break;
                for (size_t i = 0; i < size_t(got) / sizeof(uint64_t); ++i) {
                    if (!(entries[i] & kPresent)) continue;
                    readable = readable || (entries[i] & kFrame) != 0;
                    frames.insert(entries[i] & kFrame);
                }
                page += size_t(got) / sizeof(uint64_t);
            }
        }
        close(pagemap);
    }
    if (!readable) return std::nullopt;
    return long(frames.size()) * pageSize / 1024;
}

std::string zelvoEnvironment(const std::string& name, const std::string& value) {
    return name + "=" + value;
}

// The peer, gedit, is installed for benchmarks only; without it its cases say so and skip.
bool skippedWithoutGedit(benchmark::State& state) {
    if (std::system("command -v gedit >/dev/null 2>&1") == 0) return false;
    state.SkipWithError("gedit is not installed (scripts/bench-setup.sh installs it)");
    return true;
}

// Exec to the program's first top-level window viewable on the X display.
void startToViewable(benchmark::State& state, const std::vector<std::string>& argv,
                     const std::vector<std::string>& env) {
    if (!backend()) return state.SkipWithError("no display");
    Display* xDisplay = XOpenDisplay(nullptr);
    if (!xDisplay) return state.SkipWithError("no X display");
    for (auto _ : state) {
        auto program = std::make_unique<FreshProgram>(argv, env);
        if (program->pid() <= 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool found = false;
        while (!(found = processHasViewableWindow(xDisplay, program->pid())) &&
               std::chrono::steady_clock::now() < deadline)
            usleep(1000);
        state.PauseTiming();
        program.reset();
        if (!found) state.SkipWithError("the window did not appear");
        state.ResumeTiming();
        if (!found) break;
    }
    XCloseDisplay(xDisplay);
}

// Resident size of all the program's processes five seconds after it was started: summed over
// the processes (each counting the libraries it maps), proportional (each shared page split among
// all the processes on the machine mapping it) and distinct (each page the program's processes
// hold counted once; where the machine lets us read it).
void residentAfterStart(benchmark::State& state, const std::vector<std::string>& argv,
                        const std::vector<std::string>& env) {
    if (!backend()) return state.SkipWithError("no display");
    double resident = 0, proportional = 0;
    std::optional<long> distinct;
    for (auto _ : state) {
        FreshProgram program(argv, env);
        if (program.pid() <= 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        sleep(5);
        resident = double(treeKilobytes(program.pid(), "status", "VmRSS:")) / 1024;
        proportional = double(treeKilobytes(program.pid(), "smaps_rollup", "Pss:")) / 1024;
        distinct = distinctResidentKilobytes(program.pid());
    }
    state.counters["resident_MB"] = resident;
    state.counters["proportional_MB"] = proportional;
    if (distinct) state.counters["distinct_MB"] = double(*distinct) / 1024;
}

std::vector<std::string> zelvoEnv() {
    static TemporaryFolder data("zelvo-bench-program");
    return {zelvoEnvironment("ZELVO_DATA_DIR", data.path().string()),
            zelvoEnvironment("ZELVO_RESOURCES", ZELVO_BENCH_RESOURCES)};
}

void BM_ZelvoStartToWindowViewable(benchmark::State& state) {
    startToViewable(state, {ZELVO_PROGRAM}, zelvoEnv());
}

// The peer: gedit, a GTK 3 text editor, started the same way.
void BM_GeditStartToWindowViewable(benchmark::State& state) {
    if (skippedWithoutGedit(state)) return;
    startToViewable(state, {"gedit"}, {});
}

void BM_ZelvoResidentMemory(benchmark::State& state) {
    residentAfterStart(state, {ZELVO_PROGRAM}, zelvoEnv());
}

void BM_GeditResidentMemory(benchmark::State& state) {
    if (skippedWithoutGedit(state)) return;
    residentAfterStart(state, {"gedit"}, {});
}

void BM_PlainWebWindowResidentMemory(benchmark::State& state) {
    residentAfterStart(state, {PLAIN_WEB_WINDOW}, {});
}

}  // namespace

BENCHMARK(BM_LaunchToMainWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PlainGtkWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ZelvoStartToWindowViewable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GeditStartToWindowViewable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ZelvoResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GeditResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PlainWebWindowResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Five repetitions of each, shuffled together, so Zelvo and gedit meet the same machine.
int main(int argc, char** argv) {
    return benchsupport::runInterleaved(argc, argv, 5);
}
