#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedEnvironment.h"

// An X server of the test's own (Xvfb, no window manager), the process's DISPLAY while the object
// lives. For tests that type with xdotool: the keyboard focus is one per server, and display tests
// running in parallel on a shared server would take it away mid-word.
class PrivateXServer {
  public:
    explicit PrivateXServer(const std::string& screen = "1280x800x24") {
        m_server = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten",
                                     "tcp", "-noreset"},
            true);
        // A loaded machine may take a while to start a server: wait generously for its number.
        const std::string number = m_server->readLine(std::chrono::seconds(60));
        if (number.empty()) return;
        m_display = ":" + number;
        m_environment = std::make_unique<ScopedEnvironment>("DISPLAY", m_display);
    }
    ~PrivateXServer() {
        m_environment.reset();
        m_server.reset();
    }

    bool ready() const { return !m_display.empty(); }
    const std::string& display() const { return m_display; }

  private:
    std::unique_ptr<ChildProcess> m_server;
    std::string m_display;
    std::unique_ptr<ScopedEnvironment> m_environment;
};
