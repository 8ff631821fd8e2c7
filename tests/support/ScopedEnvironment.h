#pragma once

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

// Sets (or, with no value, removes) an environment variable for the life of the object and puts
// the old value back after.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = getenv(name)) m_old = old;
        assign(value);
    }
    ~ScopedEnvironment() { assign(m_old); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void assign(const std::optional<std::string>& value) {
        if (value) {
            setenv(m_name, value->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

    const char* m_name;
    std::optional<std::string> m_old;
};

// Sets the local time zone for the life of the object.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) : m_tz("TZ", std::string(zone)) { tzset(); }

  private:
    // Members go in reverse order: the old TZ is restored first, then the C library rereads it.
    struct Reread {
        ~Reread() { tzset(); }
    } m_reread;
    ScopedEnvironment m_tz;
};
