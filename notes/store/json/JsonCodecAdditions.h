#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "notes/store/json/JsonValue.h"

// One-call conversions between values and JSON text, each with a fresh writer or parser in its
// default state (compact, keys in their own order, nesting limit 512). A failure logs the error
// trace and gives an absent result.
namespace notes {

// The text of an array or an object.
std::optional<std::string> JSONRepresentation(const JsonValue& value);
// The text of any value.
std::optional<std::string> JSONFragment(const JsonValue& value);
// The array or object a text holds.
std::optional<JsonValue> JSONValue(std::string_view text);
// The value of any kind a text holds.
std::optional<JsonValue> JSONFragmentValue(std::string_view text);

}  // namespace notes
