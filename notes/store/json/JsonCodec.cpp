#include "notes/store/json/JsonCodec.h"

namespace notes {

JsonCodec::JsonCodec() {
    setMaxDepth(kDefaultMaxDepth);
}

void JsonCodec::setMaxDepth(std::uint64_t maxDepth) {
    JsonBase::setMaxDepth(maxDepth);
    jsonWriter.setMaxDepth(maxDepth);
    jsonParser.setMaxDepth(maxDepth);
}

template <class Result>
Result JsonCodec::adoptFailure(Result result, const JsonBase& part, JsonErrorPtr* error) {
    if (result) return result;
    setErrorTrace(part.errorTrace());
    if (error && part.errorTrace() && !part.errorTrace()->empty()) {
        *error = part.errorTrace()->back();
    }
    return result;
}

std::optional<std::string> JsonCodec::stringWithObject(const JsonValue& value) {
    return adoptFailure(jsonWriter.stringWithObject(value), jsonWriter, nullptr);
}

std::optional<std::string> JsonCodec::stringWithObject(const JsonValue& value, bool allowScalar,
                                                       JsonErrorPtr* error) {
    auto json =
        allowScalar ? jsonWriter.stringWithFragment(value) : jsonWriter.stringWithObject(value);
    return adoptFailure(std::move(json), jsonWriter, error);
}

std::optional<std::string> JsonCodec::stringWithFragment(const JsonValue& value,
                                                         JsonErrorPtr* error) {
    return stringWithObject(value, true, error);
}

std::optional<std::string> JsonCodec::stringWithObject(const JsonValue& value,
                                                       JsonErrorPtr* error) {
    return stringWithObject(value, false, error);
}

std::optional<JsonValue> JsonCodec::objectWithString(std::optional<std::string_view> text) {
    return adoptFailure(jsonParser.objectWithString(text), jsonParser, nullptr);
}

std::optional<JsonValue> JsonCodec::objectWithString(std::optional<std::string_view> text,
                                                     bool allowScalar, JsonErrorPtr* error) {
    auto value =
        allowScalar ? jsonParser.fragmentWithString(text) : jsonParser.objectWithString(text);
    return adoptFailure(std::move(value), jsonParser, error);
}

std::optional<JsonValue> JsonCodec::fragmentWithString(std::optional<std::string_view> text,
                                                       JsonErrorPtr* error) {
    return objectWithString(text, true, error);
}

std::optional<JsonValue> JsonCodec::objectWithString(std::optional<std::string_view> text,
                                                     JsonErrorPtr* error) {
    return objectWithString(text, false, error);
}

}  // namespace notes
