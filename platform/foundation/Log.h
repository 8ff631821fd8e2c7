#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The values of the program's log variable (QUILLORA_LOG or ZELVO_LOG), each the one place every
// line goes, debugging lines included: "stderr" (nothing reaches the system log) or "syslog".
// Unset or empty, lines go to the system log and debugging lines nowhere; any other value is
// reported on stderr and counts as unset.
inline constexpr const char* kLogToStderr = "stderr";
inline constexpr const char* kLogToSystemLog = "syslog";

// The one diagnostic call of both programs: a line to where the log variable says, the system log
// by default. While a LogCapture is alive the lines go to it instead, so tests can read exactly
// what was logged.
void log(std::string_view message);

// printf-style convenience over log().
void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf-style formatting into a std::string (no truncation).
std::string stringWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The debugging logger. One rule decides between it and log(): a line whose presence, content or
// count follows the keys the user presses (everything written on the way of a key: the key
// itself, the composition, the search, the commit, the candidate window's layout, the mode
// switch) is a debugging line; a record of those in the system log would be a record of
// everything typed, passwords included. Debugging lines are written (and captured) only while
// debugging is switched on, that is while QUILLORA_LOG or ZELVO_LOG names a target above;
// otherwise they are dropped. log() is for start-up, shut-down, the user's own actions
// outside typing, and real errors.
bool isDebugLogging();
void logDebug(std::string_view message);
void logfDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Names the program in the system log ("quillora", "zelvo"); call once at start-up.
void setLogIdentity(const std::string& identity);

// Collects every logged line for its lifetime. Captures nest: the innermost one receives.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // Whether any captured line contains the fragment.
    bool contains(std::string_view fragment) const;
    void clear();

  private:
    friend void log(std::string_view message);
    void append(std::string_view message);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    LogCapture* m_previous = nullptr;
};

}  // namespace platform
