#pragma once

#include <chrono>
#include <compare>

namespace platform {

// NSDate: one moment, held as seconds since 1970-01-01 00:00:00 UTC with a fractional part.
class Date {
  public:
    Date() = default;  // the moment 1970-01-01 00:00:00 UTC
    static Date now() {
        auto since = std::chrono::system_clock::now().time_since_epoch();
        return Date(std::chrono::duration<double>(since).count());
    }
    static Date dateWithTimeIntervalSince1970(double seconds) { return Date(seconds); }

    double timeIntervalSince1970() const { return m_seconds; }
    Date dateByAddingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }
    std::chrono::system_clock::time_point timePoint() const {
        return std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::duration<double>(m_seconds)));
    }

    auto operator<=>(const Date&) const = default;

  private:
    explicit Date(double seconds) : m_seconds(seconds) {}
    double m_seconds = 0;
};

}  // namespace platform
