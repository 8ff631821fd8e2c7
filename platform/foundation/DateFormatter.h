#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Date.h"

namespace platform {

// NSDateFormatter for fixed patterns, on ICU's date formatter: turns moments into text and back
// through a Unicode date pattern ("yyyy-MM-dd HH:mm:ss") in the locale's names (en_US until set),
// in a time zone given as a fixed offset from GMT. Neither the caller's TZ nor its LANG matters.
// The pattern letters are ICU's (y, M, d, H, h, a, m, s, S, E, Z with "+HHMM", ZZZZZ "+HH:MM" or
// "Z", ...); text between single quotes is literal ('' is one quote). Parsing takes names in any
// case, short or full, and refuses a text that names no real moment (a 30th of February).
class DateFormatter {
  public:
    DateFormatter() = default;
    explicit DateFormatter(std::string dateFormat) : m_dateFormat(std::move(dateFormat)) {}

    const std::string& dateFormat() const { return m_dateFormat; }
    void setDateFormat(std::string dateFormat) { m_dateFormat = std::move(dateFormat); }
    // The time zone's offset from GMT in seconds (0 until set).
    int secondsFromGMT() const { return m_secondsFromGMT; }
    void setSecondsFromGMT(int seconds) { m_secondsFromGMT = seconds; }
    const std::string& localeIdentifier() const { return m_localeIdentifier; }
    void setLocaleIdentifier(std::string identifier) { m_localeIdentifier = std::move(identifier); }

    std::string stringFromDate(const Date& date) const;
    // Absent when the text does not follow the pattern or names an impossible moment.
    std::optional<Date> dateFromString(const std::string& text) const;

  private:
    std::string m_dateFormat;
    int m_secondsFromGMT = 0;
    std::string m_localeIdentifier = "en_US";
};

}  // namespace platform
