#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

// An ibus-daemon of the test's own: its own address, home, XDG folders and session bus, no panel,
// no config or emoji helper, components only from the given folder, read at start and written to
// its own cache as a user's daemon does. It never sees the user's
// daemon or configuration; the test starts it and stops it by its pid. The environment of the
// test process points at it (IBUS_ADDRESS and the XDG folders) while the object lives, so libibus
// clients made by the test, and the engines the daemon starts, use it.
class PrivateIBusDaemon {
  public:
    // Without `withDisplay` the daemon and its engines see no display (DISPLAY and WAYLAND_DISPLAY
    // unset), as on a console or a server. With an `errorFile`, what the daemon and the engines it
    // starts write to standard error is appended to it.
    explicit PrivateIBusDaemon(const std::string& componentFolder, bool withDisplay = false,
                               const std::string& errorFile = {})
        : m_home("mw-ibus") {
        if (!withDisplay) {
            m_environment.push_back(std::make_unique<ScopedEnvironment>("DISPLAY", std::nullopt));
            m_environment.push_back(
                std::make_unique<ScopedEnvironment>("WAYLAND_DISPLAY", std::nullopt));
        }
        for (const char* sub : {"config", "cache", "data", "runtime"}) {
            std::filesystem::create_directories(m_home.path() / sub);
        }
        chmod((m_home.path() / "runtime").c_str(), 0700);
        set("HOME", m_home.path().string());
        set("XDG_CONFIG_HOME", m_home.file("config"));
        set("XDG_CACHE_HOME", m_home.file("cache"));
        set("XDG_DATA_HOME", m_home.file("data"));
        set("XDG_RUNTIME_DIR", m_home.file("runtime"));
        set("IBUS_COMPONENT_PATH", componentFolder);
        set("GSETTINGS_BACKEND", "memory");
        m_address = "unix:path=" + m_home.file("ibus-socket");
        set("IBUS_ADDRESS", m_address);
        m_bus = std::make_unique<PrivateSessionBus>();
        std::vector<std::string> argv = {"ibus-daemon",      "--panel=disable",
                                         "--config=disable", "--emoji-extension=disable",
                                         "--cache=refresh",  "--address=" + m_address};
        // Only a verbose daemon leaves its engines their standard error.
        if (!errorFile.empty()) argv.push_back("--verbose");
        m_daemon = std::make_unique<ChildProcess>(argv, false, errorFile);
        // Ready once the daemon listens on its socket (the file appears a moment before it does);
        // a loaded machine may take a while to get there.
        m_ready =
            waitUntil(
                [this] {
                    return acceptsConnections(m_home.file("ibus-socket")) || !m_daemon->running();
                },
                std::chrono::seconds(60)) &&
            m_daemon->running();
    }
    ~PrivateIBusDaemon() {
        m_daemon.reset();  // stops the daemon and the engines it started (its process group)
        m_bus.reset();
        m_environment.clear();
    }

    bool ready() const { return m_ready; }
    const std::string& address() const { return m_address; }
    const TemporaryFolder& home() const { return m_home; }
    std::string configHome() const { return m_home.file("config"); }

  private:
    static bool acceptsConnections(const std::string& path) {
        sockaddr_un address{};
        if (path.size() >= sizeof(address.sun_path)) return false;
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, path.size());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool connected =
            connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        close(fd);
        return connected;
    }
    void set(const char* name, const std::string& value) {
        m_environment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }

    TemporaryFolder m_home;
    std::vector<std::unique_ptr<ScopedEnvironment>> m_environment;
    std::unique_ptr<PrivateSessionBus> m_bus;
    std::unique_ptr<ChildProcess> m_daemon;
    std::string m_address;
    bool m_ready = false;
};
