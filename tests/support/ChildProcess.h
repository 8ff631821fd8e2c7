#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A helper program a test starts and, at the latest when the object goes, stops by its own pid
// (never by name). Standard output may be read back through a pipe (addresses that daemons print),
// and standard error appended to a file (what a daemon and the programs it starts complain of).
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& argv, bool captureOutput = false,
                          const std::string& errorFile = {}) {
        int pipeFds[2] = {-1, -1};
        if (captureOutput && pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
        const pid_t parent = getpid();
        m_pid = fork();
        if (m_pid < 0) throw std::runtime_error("fork failed");
        if (m_pid == 0) {
            if (captureOutput) {
                dup2(pipeFds[1], STDOUT_FILENO);
                close(pipeFds[0]);
                close(pipeFds[1]);
            }
            if (!errorFile.empty()) {
                const int fd =
                    open(errorFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
                if (fd < 0) _exit(127);
                dup2(fd, STDERR_FILENO);
            }
            setpgid(0, 0);
            // Should the test die without stopping it (a crash, CTest's time-out), the helper
            // goes too rather than outliving the run.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(127);
            std::vector<char*> args;
            for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        if (captureOutput) {
            close(pipeFds[1]);
            m_output = pipeFds[0];
        }
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }

    // Reads one line of the child's standard output (without its newline), waiting up to the
    // time-out; empty when no whole line came. A line only partly written by then is kept for the
    // next call: on a loaded machine the writer or this reader may stop mid-line for a while.
    // At the end of the output, what is left.
    std::string readLine(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        fcntl(m_output, F_SETFL, O_NONBLOCK);
        for (;;) {
            char c;
            ssize_t n = read(m_output, &c, 1);
            if (n == 1 && c == '\n') return std::exchange(m_partialLine, {});
            if (n == 1) {
                m_partialLine += c;
            } else if (n == 0) {
                return std::exchange(m_partialLine, {});
            } else if (std::chrono::steady_clock::now() >= deadline) {
                return {};
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }
    // Everything the child writes to its standard output until it closes it (it ends, say),
    // waiting up to the time-out.
    std::string readToEnd(std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        fcntl(m_output, F_SETFL, O_NONBLOCK);
        std::string output = std::exchange(m_partialLine, {});
        char buffer[4096];
        for (;;) {
            ssize_t n = read(m_output, buffer, sizeof buffer);
            if (n > 0) {
                output.append(buffer, size_t(n));
            } else if (n == 0 || std::chrono::steady_clock::now() >= deadline) {
                return output;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }

    // Whether the child is still running.
    bool running() {
        if (m_pid <= 0) return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return false;
        }
        return true;
    }
    // The status the child exited with once running() saw it end; -1 before, or when a signal
    // ended it.
    int exitStatus() const { return m_exitStatus; }

    // Terminates the child (and the helpers it started in its process group), then reaps it.
    void stop() {
        if (m_output >= 0) {
            close(m_output);
            m_output = -1;
        }
        if (m_pid <= 0) return;
        kill(-m_pid, SIGTERM);
        for (int i = 0; i < 200; ++i) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(-m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

  private:
    pid_t m_pid = -1;
    int m_output = -1;
    int m_exitStatus = -1;
    std::string m_partialLine;
};

// Polls a condition until it holds or the time-out passes.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}
