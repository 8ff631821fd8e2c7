#pragma once

#include <fstream>
#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

// A D-Bus session bus of the test's own, with no service folders (so nothing is activated), set as
// the process's session bus for the life of the object.
class PrivateSessionBus {
  public:
    PrivateSessionBus() : m_folder("mw-bus") {
        std::string config = m_folder.file("bus.conf");
        std::ofstream(config) << "<busconfig><type>session</type>"
                              << "<listen>unix:dir=" << m_folder.path().string() << "</listen>"
                              << "<auth>EXTERNAL</auth><policy context=\"default\">"
                              << "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              << "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                              << "</busconfig>\n";
        m_daemon = std::make_unique<ChildProcess>(
            std::vector<std::string>{"dbus-daemon", "--nofork", "--print-address=1",
                                     "--config-file=" + config},
            true);
        m_address = m_daemon->readLine(std::chrono::seconds(60));
        m_environment = std::make_unique<ScopedEnvironment>("DBUS_SESSION_BUS_ADDRESS", m_address);
    }

    const std::string& address() const { return m_address; }

  private:
    TemporaryFolder m_folder;
    std::unique_ptr<ChildProcess> m_daemon;
    std::string m_address;
    std::unique_ptr<ScopedEnvironment> m_environment;
};
