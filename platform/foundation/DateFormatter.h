#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Date.h"

namespace platform {

// NSDateFormatter for fixed patterns: turns moments into text and back through a Unicode date
// pattern ("yyyy-MM-dd HH:mm:ss"), in a time zone given as a fixed offset from GMT, with English
// month and weekday names. Pattern letters understood: y, M (1-2 digits, 3 short name, 4 full
// name), d, H, h, a, m, s, S (fraction), E (weekday name), Z (offset "+HHMM"; ZZZZZ "+HH:MM" or
// "Z"); text between single quotes is literal ('' is one quote), as is every other character.
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
