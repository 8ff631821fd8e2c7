#include "platform/foundation/Value.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "platform/foundation/Log.h"

namespace platform {
namespace {

// A real number as an integer reading: cut towards zero, NaN as 0, and past the ends of the
// range the nearest end; unsigned, a negative number keeps the bits of its signed reading. (A
// plain conversion of a number out of range is undefined.)
template <typename Result>
Result wholeNumber(double v) {
    if constexpr (std::is_floating_point_v<Result>) {
        return static_cast<Result>(v);
    } else if constexpr (std::is_signed_v<Result>) {
        if (std::isnan(v)) return 0;
        // -2^63 and 2^63, both exact as doubles.
        constexpr double lowest = -9223372036854775808.0;
        if (v <= lowest) return std::numeric_limits<Result>::min();
        if (v >= -lowest) return std::numeric_limits<Result>::max();
        return static_cast<Result>(v);
    } else {
        if (std::isnan(v)) return 0;
        if (v < 0) return static_cast<Result>(wholeNumber<int64_t>(v));
        if (v >= 18446744073709551616.0) return std::numeric_limits<Result>::max();  // 2^64
        return static_cast<Result>(v);
    }
}

template <typename Result>
Result numberReading(const Value::Storage& storage) {
    return std::visit(
        [](const auto& v) -> Result {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_floating_point_v<T>) {
                return wholeNumber<Result>(v);
            } else if constexpr (std::is_arithmetic_v<T>) {
                return static_cast<Result>(v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                if constexpr (std::is_floating_point_v<Result>) {
                    return static_cast<Result>(std::strtod(v.c_str(), nullptr));
                } else if constexpr (std::is_signed_v<Result>) {
                    return static_cast<Result>(std::strtoll(v.c_str(), nullptr, 10));
                } else {
                    return static_cast<Result>(std::strtoull(v.c_str(), nullptr, 10));
                }
            } else if constexpr (std::is_same_v<T, Date>) {
                return wholeNumber<Result>(v.timeIntervalSince1970());
            } else {
                return Result{};
            }
        },
        storage);
}

std::string describeDate(const Date& date) {
    time_t whole = static_cast<time_t>(std::floor(date.timeIntervalSince1970()));
    struct tm parts {};
    gmtime_r(&whole, &parts);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &parts);
    return buffer;
}

std::string describeBytes(const Bytes& bytes) {
    std::string out = "<";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 4 == 0) out += ' ';
        out += stringWithFormat("%02x", bytes[i]);
    }
    return out + ">";
}

}  // namespace

int64_t Value::longLongValue() const {
    return numberReading<int64_t>(m_storage);
}

uint64_t Value::unsignedLongLongValue() const {
    if (auto* v = std::get_if<uint64_t>(&m_storage)) return *v;
    if (isIntegral() || type() == Type::Text) {
        return static_cast<uint64_t>(numberReading<int64_t>(m_storage));
    }
    return numberReading<uint64_t>(m_storage);
}

double Value::doubleValue() const {
    return numberReading<double>(m_storage);
}

bool Value::boolValue() const {
    if (type() == Type::Float || type() == Type::Double) return doubleValue() != 0;
    return unsignedLongLongValue() != 0;
}

std::string Value::description() const {
    switch (type()) {
        case Type::Null:
            return "<null>";
        case Type::Bool:
            return std::get<bool>(m_storage) ? "1" : "0";
        case Type::UnsignedLong:
            return stringWithFormat("%" PRIu64, std::get<uint64_t>(m_storage));
        case Type::Float:
            return stringWithFormat("%0.7g", static_cast<double>(std::get<float>(m_storage)));
        case Type::Double:
            return stringWithFormat("%0.16g", std::get<double>(m_storage));
        case Type::Text:
            return std::get<std::string>(m_storage);
        case Type::Bytes:
            return describeBytes(std::get<platform::Bytes>(m_storage));
        case Type::Date:
            return describeDate(std::get<platform::Date>(m_storage));
        default:
            return stringWithFormat("%" PRId64, longLongValue());
    }
}

bool Value::operator==(const Value& other) const {
    if (isNumber() && other.isNumber()) {
        bool floating = !isIntegral() || !other.isIntegral();
        if (floating) return doubleValue() == other.doubleValue();
        bool big = type() == Type::UnsignedLong && unsignedLongLongValue() > INT64_MAX;
        bool otherBig =
            other.type() == Type::UnsignedLong && other.unsignedLongLongValue() > INT64_MAX;
        if (big || otherBig) {
            return big == otherBig && unsignedLongLongValue() == other.unsignedLongLongValue();
        }
        return longLongValue() == other.longLongValue();
    }
    return m_storage == other.m_storage;
}

}  // namespace platform
