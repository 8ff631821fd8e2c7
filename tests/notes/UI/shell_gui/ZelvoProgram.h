#pragma once

#include <sys/types.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"

// The zelvo program started on the environment as it is now, its log and messages read back on
// one pipe and, when a stream is given, copied there as they come.
class ZelvoProgram {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ZelvoProgram(std::ostream* logCopy = nullptr)
        : m_process(std::vector<std::string>{"sh", "-c", "exec \"$0\" 2>&1", ZELVO_PROGRAM}, true),
          m_logCopy(logCopy) {}

    // One line of the output, empty when none came in time.
    std::string readLine(std::chrono::milliseconds timeout) {
        std::string line = m_process.readLine(timeout);
        if (!line.empty()) {
            m_lastLineAt = Clock::now();
            if (m_logCopy) *m_logCopy << line << "\n" << std::flush;
        }
        return line;
    }
    // Reads the output until a line holds the fragment; that line, empty when none did in time.
    std::string waitForLine(const std::string& fragment) {
        const auto deadline = Clock::now() + kPatience;
        while (Clock::now() < deadline) {
            std::string line = readLine(std::chrono::milliseconds(200));
            if (line.find(fragment) != std::string::npos) return line;
        }
        return {};
    }
    // Keeps reading the output (a program must never block on a full pipe) for a while.
    void readFor(std::chrono::milliseconds span) {
        const auto end = Clock::now() + span;
        while (Clock::now() < end) readLine(std::chrono::milliseconds(50));
    }
    // Keeps reading the output until the program ends; whether it did in time.
    bool waitForEnd() {
        return waitUntil(
            [&] {
                readLine(std::chrono::milliseconds(20));
                return !m_process.running();
            },
            kPatience);
    }
    // When the last line came.
    Clock::time_point lastLineAt() const { return m_lastLineAt; }

    pid_t pid() const { return m_process.pid(); }
    bool running() { return m_process.running(); }
    int exitStatus() const { return m_process.exitStatus(); }
    void stop() { m_process.stop(); }

  private:
    ChildProcess m_process;
    std::ostream* m_logCopy;
    Clock::time_point m_lastLineAt;
};
