#include "platform/foundation/DateFormatter.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/foundation/Log.h"

namespace platform {
namespace {

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
constexpr const char* kMonthShortNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
constexpr const char* kWeekdayShortNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Proleptic Gregorian calendar <-> days since 1970-01-01.
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int64_t year;
    int month;
    int day;
};

Civil civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

bool isLeapYear(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// One piece of a pattern: a run of one pattern letter, or literal text (letter 0).
struct Token {
    char letter = 0;
    int count = 0;
    std::string literal;
};

bool isPatternLetter(char c) {
    return std::string_view("yMdHhamsSEZ").find(c) != std::string_view::npos;
}

std::vector<Token> tokenize(const std::string& pattern) {
    std::vector<Token> tokens;
    auto appendLiteral = [&](std::string_view text) {
        if (tokens.empty() || tokens.back().letter != 0) tokens.push_back({});
        tokens.back().literal += text;
    };
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                appendLiteral("'");
                i += 2;
                continue;
            }
            ++i;
            std::string quoted;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        quoted += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                quoted += pattern[i++];
            }
            appendLiteral(quoted);
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (isPatternLetter(c)) {
            tokens.push_back({c, static_cast<int>(run), {}});
        } else {
            appendLiteral(std::string_view(pattern).substr(i, run));
        }
        i += run;
    }
    return tokens;
}

bool isNumericToken(const Token& token) {
    switch (token.letter) {
        case 'y':
        case 'd':
        case 'H':
        case 'h':
        case 'm':
        case 's':
        case 'S':
            return true;
        case 'M':
            return token.count <= 2;
        default:
            return false;
    }
}

std::string padded(int64_t value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    }
    return value < 0 ? "-" + digits : digits;
}

std::string offsetText(int seconds, bool withColon) {
    if (withColon && seconds == 0) return "Z";
    int magnitude = std::abs(seconds) / 60;
    return stringWithFormat("%c%02d%s%02d", seconds < 0 ? '-' : '+', magnitude / 60,
                            withColon ? ":" : "", magnitude % 60);
}

// Matches one of the names at the front of the text, ignoring ASCII case; gives its index.
template <size_t N>
std::optional<int> matchName(std::string_view text, const char* const (&names)[N], size_t& length) {
    for (size_t i = 0; i < N; ++i) {
        std::string_view name = names[i];
        if (text.size() < name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(text[k])) ==
                   std::tolower(static_cast<unsigned char>(name[k]));
        }
        if (same) {
            length = name.size();
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos == m_text.size(); }
    std::string_view rest() const { return m_text.substr(m_pos); }

    // A full or a short name at the front, consumed; gives its index.
    template <size_t N>
    std::optional<int> name(const char* const (&full)[N], const char* const (&abbreviated)[N]) {
        size_t length = 0;
        auto found = matchName(rest(), full, length);
        if (!found) found = matchName(rest(), abbreviated, length);
        if (found) m_pos += length;
        return found;
    }

    bool literal(std::string_view expected) {
        if (rest().substr(0, expected.size()) != expected) return false;
        m_pos += expected.size();
        return true;
    }

    // Up to maxDigits decimal digits, at least one; gives the value and the digit count.
    std::optional<int64_t> number(int maxDigits, int& digits) {
        digits = 0;
        int64_t value = 0;
        while (digits < maxDigits && m_pos < m_text.size() &&
               std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            value = value * 10 + (m_text[m_pos++] - '0');
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        return value;
    }

    std::optional<int> offset() {
        if (literal("Z")) return 0;
        literal("GMT");
        if (m_pos >= m_text.size() || (m_text[m_pos] != '+' && m_text[m_pos] != '-')) {
            return std::nullopt;
        }
        int sign = m_text[m_pos++] == '-' ? -1 : 1;
        int digits = 0;
        auto hours = number(2, digits);
        if (!hours || digits != 2) return std::nullopt;
        literal(":");
        auto minutes = number(2, digits);
        if (!minutes || digits != 2 || *hours > 23 || *minutes > 59) return std::nullopt;
        return sign * static_cast<int>(*hours * 3600 + *minutes * 60);
    }

  private:
    std::string_view m_text;
    size_t m_pos = 0;
};

int64_t twoDigitYear(int64_t value) {
    // The century that puts the year within 80 years before and 20 years after now.
    Civil today = civilFromDays(
        static_cast<int64_t>(std::floor(Date::now().timeIntervalSince1970() / 86400.0)));
    int64_t start = today.year - 80;
    int64_t year = start - start % 100 + value;
    if (year < start) year += 100;
    return year;
}

}  // namespace

std::string DateFormatter::stringFromDate(const Date& date) const {
    double local = date.timeIntervalSince1970() + m_secondsFromGMT;
    double wholeSeconds = std::floor(local);
    double fraction = local - wholeSeconds;
    int64_t seconds = static_cast<int64_t>(wholeSeconds);
    int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    int64_t secondOfDay = seconds - days * 86400;
    Civil civil = civilFromDays(days);
    int hour = static_cast<int>(secondOfDay / 3600);
    int minute = static_cast<int>(secondOfDay / 60 % 60);
    int second = static_cast<int>(secondOfDay % 60);
    int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7);

    std::string out;
    for (const Token& token : tokenize(m_dateFormat)) {
        switch (token.letter) {
            case 0:
                out += token.literal;
                break;
            case 'y':
                out += token.count == 2 ? padded(civil.year % 100, 2)
                                        : padded(civil.year, token.count);
                break;
            case 'M':
                if (token.count >= 4) {
                    out += kMonthNames[civil.month - 1];
                } else if (token.count == 3) {
                    out += kMonthShortNames[civil.month - 1];
                } else {
                    out += padded(civil.month, token.count);
                }
                break;
            case 'd':
                out += padded(civil.day, token.count);
                break;
            case 'H':
                out += padded(hour, token.count);
                break;
            case 'h':
                out += padded(hour % 12 == 0 ? 12 : hour % 12, token.count);
                break;
            case 'a':
                out += hour < 12 ? "AM" : "PM";
                break;
            case 'm':
                out += padded(minute, token.count);
                break;
            case 's':
                out += padded(second, token.count);
                break;
            case 'S':
                out += padded(
                    static_cast<int64_t>(std::floor(fraction * std::pow(10.0, token.count) + 1e-6)),
                    token.count);
                break;
            case 'E':
                out += token.count >= 4 ? kWeekdayNames[weekday] : kWeekdayShortNames[weekday];
                break;
            case 'Z':
                out += offsetText(m_secondsFromGMT, token.count >= 5);
                break;
        }
    }
    return out;
}

std::optional<Date> DateFormatter::dateFromString(const std::string& text) const {
    int64_t year = 1970;
    int month = 1, day = 1, hour = 0, minute = 0, second = 0;
    double fraction = 0;
    std::optional<bool> afternoon;
    bool twelveHour = false;
    std::optional<int> offset;

    Parser parser(text);
    std::vector<Token> tokens = tokenize(m_dateFormat);
    for (size_t k = 0; k < tokens.size(); ++k) {
        const Token& token = tokens[k];
        if (token.letter == 0) {
            if (!parser.literal(token.literal)) return std::nullopt;
            continue;
        }
        if (isNumericToken(token)) {
            bool packed = k + 1 < tokens.size() && isNumericToken(tokens[k + 1]);
            int maxDigits = packed ? token.count
                            : (token.letter == 'y' || token.letter == 'S')
                                ? 9
                                : std::max(2, token.count);
            int digits = 0;
            auto value = parser.number(maxDigits, digits);
            if (!value) return std::nullopt;
            switch (token.letter) {
                case 'y':
                    year = token.count == 2 && digits == 2 ? twoDigitYear(*value) : *value;
                    break;
                case 'M':
                    month = static_cast<int>(*value);
                    break;
                case 'd':
                    day = static_cast<int>(*value);
                    break;
                case 'H':
                    hour = static_cast<int>(*value);
                    break;
                case 'h':
                    hour = static_cast<int>(*value);
                    twelveHour = true;
                    break;
                case 'm':
                    minute = static_cast<int>(*value);
                    break;
                case 's':
                    second = static_cast<int>(*value);
                    break;
                case 'S':
                    fraction = static_cast<double>(*value) / std::pow(10.0, digits);
                    break;
            }
            continue;
        }
        switch (token.letter) {
            case 'M': {
                auto found = parser.name(kMonthNames, kMonthShortNames);
                if (!found) return std::nullopt;
                month = *found + 1;
                break;
            }
            case 'E':
                if (!parser.name(kWeekdayNames, kWeekdayShortNames)) return std::nullopt;
                break;
            case 'a':
                if (parser.literal("AM") || parser.literal("am")) {
                    afternoon = false;
                } else if (parser.literal("PM") || parser.literal("pm")) {
                    afternoon = true;
                } else {
                    return std::nullopt;
                }
                break;
            case 'Z':
                offset = parser.offset();
                if (!offset) return std::nullopt;
                break;
        }
    }
    if (!parser.atEnd()) return std::nullopt;

    if (twelveHour) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour %= 12;
        if (afternoon.value_or(false)) hour += 12;
    } else if (afternoon && *afternoon && hour < 12) {
        hour += 12;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    double seconds = static_cast<double>(daysFromCivil(year, month, day) * 86400 + hour * 3600 +
                                         minute * 60 + second) +
                     fraction - offset.value_or(m_secondsFromGMT);
    return Date::dateWithTimeIntervalSince1970(seconds);
}

}  // namespace platform
