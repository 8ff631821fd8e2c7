#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace notes {

class JsonValue;

// The JSON null.
struct JsonNull {
    bool operator==(const JsonNull&) const = default;
};

// A JSON number that keeps the text it was read or made from, so that no digit is lost between
// reading and writing, however long the number is.
class JsonNumber {
  public:
    JsonNumber() : JsonNumber(std::string_view("0")) {}
    // Any text is held; the writer refuses one that is not a JSON number.
    explicit JsonNumber(std::string_view text) { assign(text); }
    template <std::integral T>
    requires(!std::same_as<T, bool>) explicit JsonNumber(T value) { assign(std::to_string(value)); }
    // The shortest text that reads back as the same double; NaN and infinities keep the texts
    // "nan" and "inf", which the writer refuses.
    explicit JsonNumber(double value);

    JsonNumber(const JsonNumber& other) { assign(other.text()); }
    JsonNumber(JsonNumber&& other) noexcept;
    JsonNumber& operator=(const JsonNumber& other);
    JsonNumber& operator=(JsonNumber&& other) noexcept;
    ~JsonNumber() { release(); }

    std::string_view text() const { return {isInline() ? m_inline : m_heap, m_size}; }
    // Whether the text is a JSON number (which rules out nan and inf).
    bool isValid() const;
    // The nearest double; a magnitude beyond the double range gives an infinity or zero.
    double doubleValue() const;
    // The value when it is a whole number that fits 64 bits, whatever its spelling (1.5e3 is 1500).
    std::optional<std::int64_t> integerValue() const;

    // Numbers compare by value, exactly: 1500, 1.5e3 and 15.00E2 are equal.
    bool operator==(const JsonNumber& other) const;

  private:
    // Texts this long or shorter (every 64-bit integer, every double's shortest form, most
    // numbers in documents) are kept inside the number: a document of many numbers would
    // otherwise cost one allocation each.
    static constexpr std::size_t kInlineCapacity = 24;

    bool isInline() const { return m_size <= kInlineCapacity; }
    void assign(std::string_view text);
    void release();

    union {
        char m_inline[kInlineCapacity];
        char* m_heap;
    };
    std::size_t m_size = 0;
};

using JsonArray = std::vector<JsonValue>;

// A JSON object that keeps its members in the order they were first set. Setting a key that is
// already present replaces its value in place.
class JsonObject {
  public:
    using Member = std::pair<std::string, JsonValue>;
    using const_iterator = std::vector<Member>::const_iterator;

    JsonObject();
    JsonObject(std::initializer_list<Member> members);
    JsonObject(const JsonObject& other);
    JsonObject(JsonObject&& other) noexcept;
    JsonObject& operator=(const JsonObject& other);
    JsonObject& operator=(JsonObject&& other) noexcept;
    ~JsonObject();

    // Defined below JsonValue: they need the member type complete, which clang insists on.
    std::size_t size() const;
    bool empty() const;
    const_iterator begin() const;
    const_iterator end() const;

    const JsonValue* find(std::string_view key) const;
    JsonValue* find(std::string_view key);
    bool contains(std::string_view key) const { return find(key) != nullptr; }
    void set(std::string key, JsonValue value);
    void reserve(std::size_t size);

    // Same members with equal values in the same order.
    bool operator==(const JsonObject& other) const;

  private:
    friend class JsonParser;  // which reads members into place before the object is made
    // Takes the members as they stand; a key that comes again replaces the first one's value.
    explicit JsonObject(std::vector<Member>&& members);

    std::optional<std::size_t> indexOf(std::string_view key) const;
    void rebuildIndex();
    void removeRepeatedKeys();

    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    using Index = std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>>;

    std::vector<Member> m_members;
    // Key positions, kept only once an object grows large, so that hostile input with many keys
    // cannot make each insertion a linear search.
    std::unique_ptr<Index> m_index;
};

// One JSON value: null, true or false, a number, a string (UTF-8), an array or an object.
class JsonValue {
  public:
    using Storage = std::variant<JsonNull, bool, JsonNumber, std::string, JsonArray, JsonObject>;

    JsonValue() = default;
    JsonValue(JsonNull) {}
    JsonValue(std::nullptr_t) {}
    JsonValue(bool value) : m_storage(value) {}
    JsonValue(JsonNumber value) : m_storage(std::move(value)) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) JsonValue(T value) : m_storage(JsonNumber(value)) {}
    JsonValue(double value) : m_storage(JsonNumber(value)) {}
    JsonValue(std::string value) : m_storage(std::move(value)) {}
    // A null pointer is the JSON null.
    JsonValue(const char* value) {
        if (value) m_storage = std::string(value);
    }
    JsonValue(JsonArray value) : m_storage(std::move(value)) {}
    JsonValue(JsonObject value) : m_storage(std::move(value)) {}

    bool isNull() const { return std::holds_alternative<JsonNull>(m_storage); }
    bool isBool() const { return std::holds_alternative<bool>(m_storage); }
    bool isNumber() const { return std::holds_alternative<JsonNumber>(m_storage); }
    bool isString() const { return std::holds_alternative<std::string>(m_storage); }
    bool isArray() const { return std::holds_alternative<JsonArray>(m_storage); }
    bool isObject() const { return std::holds_alternative<JsonObject>(m_storage); }

    std::optional<bool> boolean() const;
    const JsonNumber* number() const { return std::get_if<JsonNumber>(&m_storage); }
    const std::string* string() const { return std::get_if<std::string>(&m_storage); }
    const JsonArray* array() const { return std::get_if<JsonArray>(&m_storage); }
    JsonArray* array() { return std::get_if<JsonArray>(&m_storage); }
    const JsonObject* object() const { return std::get_if<JsonObject>(&m_storage); }
    JsonObject* object() { return std::get_if<JsonObject>(&m_storage); }

    const Storage& storage() const { return m_storage; }

    bool operator==(const JsonValue& other) const;

  private:
    friend class JsonParser;  // which makes values in place
    Storage m_storage;
};

inline std::size_t JsonObject::size() const {
    return m_members.size();
}
inline bool JsonObject::empty() const {
    return m_members.empty();
}
inline JsonObject::const_iterator JsonObject::begin() const {
    return m_members.begin();
}
inline JsonObject::const_iterator JsonObject::end() const {
    return m_members.end();
}
inline void JsonObject::reserve(std::size_t size) {
    m_members.reserve(size);
}

}  // namespace notes
