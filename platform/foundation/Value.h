#pragma once

#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Date.h"

namespace platform {

// NSData: a run of bytes, owned.
using Bytes = std::vector<uint8_t>;

// One object as the database layer and its users pass it around: the null marker (NSNull, or an
// absent object), a number that remembers the C type it was made from (NSNumber's objCType), a
// text (NSString), bytes (NSData) or a moment (NSDate).
class Value {
  public:
    // In the order of the alternatives of Storage.
    enum class Type {
        Null,
        Bool,
        Char,
        UnsignedChar,
        Short,
        UnsignedShort,
        Int,
        UnsignedInt,
        Long,
        UnsignedLong,
        Float,
        Double,
        Text,
        Bytes,
        Date,
    };
    using Storage = std::variant<std::monostate, bool, signed char, unsigned char, short,
                                 unsigned short, int, unsigned int, int64_t, uint64_t, float,
                                 double, std::string, platform::Bytes, platform::Date>;

    Value() = default;
    Value(std::nullptr_t) {}
    Value(std::nullopt_t) {}
    // Only a real bool: a pointer must not quietly become a boolean number.
    template <std::same_as<bool> B>
    Value(B value) : m_storage(std::in_place_type<bool>, value) {}
    Value(char value) : m_storage(static_cast<signed char>(value)) {}
    Value(signed char value) : m_storage(value) {}
    Value(unsigned char value) : m_storage(value) {}
    Value(short value) : m_storage(value) {}
    Value(unsigned short value) : m_storage(value) {}
    Value(int value) : m_storage(value) {}
    Value(unsigned int value) : m_storage(value) {}
    Value(long value) : m_storage(static_cast<int64_t>(value)) {}
    Value(long long value) : m_storage(static_cast<int64_t>(value)) {}
    Value(unsigned long value) : m_storage(static_cast<uint64_t>(value)) {}
    Value(unsigned long long value) : m_storage(static_cast<uint64_t>(value)) {}
    Value(float value) : m_storage(value) {}
    Value(double value) : m_storage(value) {}
    // A null C string is the null marker.
    Value(const char* text) {
        if (text) m_storage = std::string(text);
    }
    Value(std::string text) : m_storage(std::move(text)) {}
    Value(std::string_view text) : m_storage(std::string(text)) {}
    Value(platform::Bytes bytes) : m_storage(std::move(bytes)) {}
    Value(platform::Date date) : m_storage(date) {}
    // An absent optional is the null marker.
    template <typename T>
    requires std::constructible_from<Value, const T&> Value(const std::optional<T>& value) {
        if (value) *this = Value(*value);
    }

    Type type() const { return static_cast<Type>(m_storage.index()); }
    const Storage& storage() const { return m_storage; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const { return type() >= Type::Bool && type() <= Type::Double; }
    bool isIntegral() const { return type() >= Type::Bool && type() <= Type::UnsignedLong; }

    const std::string* text() const { return std::get_if<std::string>(&m_storage); }
    const platform::Bytes* bytes() const { return std::get_if<platform::Bytes>(&m_storage); }
    const platform::Date* date() const { return std::get_if<platform::Date>(&m_storage); }

    // NSNumber's readings, and NSString's for a text (leading number, else 0); a date reads as its
    // seconds since 1970; null and bytes read as 0.
    int64_t longLongValue() const;
    uint64_t unsignedLongLongValue() const;
    double doubleValue() const;
    int intValue() const { return static_cast<int>(longLongValue()); }
    bool boolValue() const;

    // The object's description: the text itself, a number in decimal, "<null>", a date as
    // "1970-01-01 00:00:00 +0000", bytes as "<01020304 05>".
    std::string description() const;

    // Numbers compare by value whatever their C type (as NSNumber's isEqual:); everything else
    // compares equal only to the same kind with the same content.
    bool operator==(const Value& other) const;

  private:
    Storage m_storage;
};

// A dictionary of objects under text keys (NSDictionary with string keys).
using Dictionary = std::map<std::string, Value>;

}  // namespace platform
