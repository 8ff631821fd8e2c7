#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "notes/store/json/JsonBase.h"
#include "notes/store/json/JsonValue.h"

namespace notes {

// Turns values into JSON text, compact or with one member or element per indented line, with the
// keys in their own order or sorted.
class JsonWriter : public JsonBase {
  public:
    // The text of an array or an object; any other value is error 4.
    std::optional<std::string> stringWithObject(const JsonValue& value);
    // The text of any value.
    std::optional<std::string> stringWithFragment(const JsonValue& value);

    // Each appends one value's text and answers whether it could be written.
    bool appendValue(const JsonValue& value, std::string& json);
    bool appendArray(const JsonArray& array, std::string& json);
    bool appendDictionary(const JsonObject& dictionary, std::string& json);
    bool appendString(std::string_view string, std::string& json);
    // A line feed and two blanks per level of the current nesting.
    std::string indent() const;

    bool humanReadable() const { return m_humanReadable; }
    void setHumanReadable(bool humanReadable) { m_humanReadable = humanReadable; }
    bool sortKeys() const { return m_sortKeys; }
    void setSortKeys(bool sortKeys) { m_sortKeys = sortKeys; }

  private:
    bool appendNumber(const JsonNumber& number, std::string& json);
    // "," before every item but the first; in human-readable mode each item on its own line.
    void appendItemStart(bool& first, std::string& json);
    // Leaves the level; a non-empty container closes on a line of the outer level's indent.
    void appendClosing(Nesting& nesting, bool empty, char bracket, std::string& json);

    bool m_humanReadable = false;
    bool m_sortKeys = false;
};

}  // namespace notes
