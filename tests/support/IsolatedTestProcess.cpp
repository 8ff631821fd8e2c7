// Every test program runs its cases in a home of their own: CTest starts one process per case, and
// before the first case this sets HOME and the XDG folders to a fresh temporary folder, so GTK,
// GLib and WebKit write their caches, recent files and settings there and never into the user's
// home, nor into a folder that a case running in parallel uses too.
//
// Display programs (built with MW_TEST_OWN_DISPLAY) also get an X server and a session bus of
// their own. On a shared server, cases running in parallel cover each other's windows, read back
// each other's pixels and take each other's keyboard focus; and a shared session bus would be
// autostarted by the first case and outlive the run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"
#ifdef MW_TEST_OWN_DISPLAY
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/PrivateXServer.h"
#endif

namespace {

constexpr const char* kIsolatedVariable = "MW_TEST_ISOLATED";

class IsolatedTestProcess : public ::testing::Environment {
  public:
    void SetUp() override {
        // A death test's child runs the program again: it keeps the home, bus and display of the
        // case that started it, and would leave a home of its own behind when it exits.
        if (std::getenv(kIsolatedVariable)) return;
        m_home = std::make_unique<TemporaryFolder>("mw-home");
        for (const char* sub : {"config", "cache", "data", "state", "runtime"})
            std::filesystem::create_directories(m_home->path() / sub);
        chmod((m_home->path() / "runtime").c_str(), 0700);
        set("HOME", m_home->path().string());
        set("XDG_CONFIG_HOME", m_home->file("config"));
        set("XDG_CACHE_HOME", m_home->file("cache"));
        set("XDG_DATA_HOME", m_home->file("data"));
        set("XDG_STATE_HOME", m_home->file("state"));
        set("XDG_RUNTIME_DIR", m_home->file("runtime"));
        // Settings live in memory: nothing reaches the user's settings database.
        set("GSETTINGS_BACKEND", "memory");
        set(kIsolatedVariable, "1");
        // No accessibility bus: it would be started on the session bus and outlive the case.
        set("NO_AT_BRIDGE", "1");
#ifdef MW_TEST_OWN_DISPLAY
        m_bus = std::make_unique<PrivateSessionBus>();
        ASSERT_FALSE(m_bus->address().empty()) << "no session bus of the test's own";
        // The size of the server CI runs the display tests under.
        m_display = std::make_unique<PrivateXServer>("1600x1000x24");
        ASSERT_TRUE(m_display->ready()) << "no X server of the test's own";
        unset("WAYLAND_DISPLAY");
#else
        // Cases without the display label see no display and no session bus, but a bus address
        // where none listens: GLib would otherwise start a session bus on the display the run
        // shares, which outlives the case, or reach the user's. Cases that need a bus start
        // their own.
        unset("DISPLAY");
        unset("WAYLAND_DISPLAY");
        set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_home->file("runtime") + "/no-bus");
#endif
    }
    void TearDown() override {
#ifdef MW_TEST_OWN_DISPLAY
        m_display.reset();
        m_bus.reset();
#endif
        m_environment.clear();
        m_home.reset();
    }

  private:
    void set(const char* name, const std::string& value) {
        m_environment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }
    void unset(const char* name) {
        m_environment.push_back(std::make_unique<ScopedEnvironment>(name, std::nullopt));
    }

    std::unique_ptr<TemporaryFolder> m_home;
    std::vector<std::unique_ptr<ScopedEnvironment>> m_environment;
#ifdef MW_TEST_OWN_DISPLAY
    std::unique_ptr<PrivateSessionBus> m_bus;
    std::unique_ptr<PrivateXServer> m_display;
#endif
};

// Google Test owns the environment; it is set up before the first case runs (not when the cases
// are only listed) and torn down after the last.
[[maybe_unused]] ::testing::Environment* const isolated =
    ::testing::AddGlobalTestEnvironment(new IsolatedTestProcess);

}  // namespace
