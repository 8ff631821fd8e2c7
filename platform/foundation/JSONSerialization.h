#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace platform {

// Reading JSON documents into the same object tree a property list gives: null, booleans,
// numbers and strings become scalars (integers as 64-bit integers, the rest as doubles), arrays
// and objects become arrays and dictionaries (a key given twice keeps its last value).
namespace JSONSerialization {

// Absent when the text is not JSON, is not UTF-8, or holds a bare scalar at its top level (a
// document is an array or an object).
std::optional<PropertyValue> JSONObjectWithData(std::string_view data);

}  // namespace JSONSerialization

}  // namespace platform
