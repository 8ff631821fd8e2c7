#include "platform/foundation/Log.h"

#include <syslog.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

std::mutex g_logMutex;
LogCapture* g_capture = nullptr;
std::string g_identity = "mongolian-writing";
bool g_opened = false;

// Where the program's lines go, as its log variable names it.
enum class Target { SystemLog, DebuggingToSystemLog, DebuggingToStderr };

// The first of the two variables that is set and not empty; a value that names no target leaves
// debugging off (a misspelt value must not send the keys anywhere) and says so once on stderr.
Target target() {
    for (const char* name : {"QUILLORA_LOG", "ZELVO_LOG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        if (std::strcmp(value, kLogToStderr) == 0) return Target::DebuggingToStderr;
        if (std::strcmp(value, kLogToSystemLog) == 0) return Target::DebuggingToSystemLog;
        static std::atomic<bool> warned{false};
        if (!warned.exchange(true)) {
            std::fprintf(stderr, "%s=%s: unknown value, debugging stays off (values: %s, %s)\n",
                         name, value, kLogToStderr, kLogToSystemLog);
        }
        return Target::SystemLog;
    }
    return Target::SystemLog;
}

std::string vformat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(size));
    return out;
}

}  // namespace

void setLogIdentity(const std::string& identity) {
    std::lock_guard lock(g_logMutex);
    g_identity = identity;
    if (g_opened) closelog();
    openlog(g_identity.c_str(), LOG_PID, LOG_USER);
    g_opened = true;
}

void log(std::string_view message) {
    std::lock_guard lock(g_logMutex);
    if (g_capture) {
        g_capture->append(message);
        return;
    }
    // The one place the variable names: on stderr the system log gets nothing at all, so a
    // debugging session leaves no record of the keys behind.
    if (target() == Target::DebuggingToStderr) {
        std::fprintf(stderr, "%s: %.*s\n", g_identity.c_str(), static_cast<int>(message.size()),
                     message.data());
        return;
    }
    if (!g_opened) {
        openlog(g_identity.c_str(), LOG_PID, LOG_USER);
        g_opened = true;
    }
    syslog(LOG_NOTICE, "%.*s", static_cast<int>(message.size()), message.data());
}

void logf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = vformat(format, args);
    va_end(args);
    log(message);
}

std::string stringWithFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = vformat(format, args);
    va_end(args);
    return out;
}

bool isDebugLogging() {
    return target() != Target::SystemLog;
}

void logDebug(std::string_view message) {
    if (isDebugLogging()) log(message);
}

void logfDebug(const char* format, ...) {
    if (!isDebugLogging()) return;
    va_list args;
    va_start(args, format);
    std::string message = vformat(format, args);
    va_end(args);
    log(message);
}

LogCapture::LogCapture() {
    std::lock_guard lock(g_logMutex);
    m_previous = g_capture;
    g_capture = this;
}

LogCapture::~LogCapture() {
    std::lock_guard lock(g_logMutex);
    g_capture = m_previous;
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

bool LogCapture::contains(std::string_view fragment) const {
    std::lock_guard lock(m_mutex);
    for (const auto& line : m_lines) {
        if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
}

void LogCapture::clear() {
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

void LogCapture::append(std::string_view message) {
    std::lock_guard lock(m_mutex);
    m_lines.emplace_back(message);
}

}  // namespace platform
