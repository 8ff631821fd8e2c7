#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Value.h"

namespace platform {

// One property-list object: a scalar (bool, integer, real, string, data, date; a Value), an array
// or a dictionary with string keys. Dictionaries keep their keys sorted, so walking one is the
// same on every run.
class PropertyValue {
  public:
    using Array = std::vector<PropertyValue>;
    using Dictionary = std::map<std::string, PropertyValue>;

    PropertyValue() = default;
    PropertyValue(Value scalar) : m_storage(std::move(scalar)) {}
    PropertyValue(Array array) : m_storage(std::move(array)) {}
    PropertyValue(Dictionary dictionary) : m_storage(std::move(dictionary)) {}

    const Value* scalar() const { return std::get_if<Value>(&m_storage); }
    const Array* array() const { return std::get_if<Array>(&m_storage); }
    const Dictionary* dictionary() const { return std::get_if<Dictionary>(&m_storage); }
    Array* array() { return std::get_if<Array>(&m_storage); }
    Dictionary* dictionary() { return std::get_if<Dictionary>(&m_storage); }

    // The text of a string scalar; absent for anything else.
    const std::string* text() const { return scalar() ? scalar()->text() : nullptr; }
    // The value under a key of a dictionary; null for a missing key or a non-dictionary.
    const PropertyValue* find(const std::string& key) const;

    bool operator==(const PropertyValue& other) const { return m_storage == other.m_storage; }

  private:
    std::variant<Value, Array, Dictionary> m_storage;
};

// Reading and writing property lists (XML or binary in, XML out) through libplist.
namespace PropertyList {

// Absent when the file is missing or not a property list.
std::optional<PropertyValue> read(const std::filesystem::path& path);
std::optional<PropertyValue> parse(std::string_view data);

// The XML form. A null scalar has no property-list form and is left out of its container.
std::string xml(const PropertyValue& value);
// Writes the XML form atomically (a reader sees the old file or the new one, never a part).
bool write(const PropertyValue& value, const std::filesystem::path& path);

}  // namespace PropertyList

}  // namespace platform
