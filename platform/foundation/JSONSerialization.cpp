#include "platform/foundation/JSONSerialization.h"

#include <nlohmann/json.hpp>

namespace platform::JSONSerialization {

namespace {

PropertyValue converted(const nlohmann::json& json) {
    using Kind = nlohmann::json::value_t;
    switch (json.type()) {
        case Kind::boolean:
            return Value(json.get<bool>());
        case Kind::number_integer:
            return Value(json.get<int64_t>());
        case Kind::number_unsigned:
            return Value(json.get<uint64_t>());
        case Kind::number_float:
            return Value(json.get<double>());
        case Kind::string:
            return Value(json.get_ref<const std::string&>());
        case Kind::array: {
            PropertyValue::Array array;
            array.reserve(json.size());
            for (const auto& element : json) array.push_back(converted(element));
            return array;
        }
        case Kind::object: {
            PropertyValue::Dictionary dictionary;
            for (const auto& [key, element] : json.items()) dictionary[key] = converted(element);
            return dictionary;
        }
        default:
            return Value();
    }
}

}  // namespace

std::optional<PropertyValue> JSONObjectWithData(std::string_view data) {
    // Without exceptions a failed parse gives the "discarded" value; invalid UTF-8 in a string
    // fails the parse too.
    nlohmann::json json = nlohmann::json::parse(data, nullptr, /*allow_exceptions=*/false);
    if (json.is_discarded() || !json.is_structured()) return std::nullopt;
    return converted(json);
}

}  // namespace platform::JSONSerialization
