#include "notes/store/json/JsonCodecAdditions.h"

#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonWriter.h"
#include "platform/foundation/Log.h"

namespace notes {
namespace {

template <class Result>
Result loggingFailure(Result result, const JsonBase& codec, std::string_view operation) {
    if (!result) {
        std::string line(operation);
        line += " failed. Error trace is: ";
        line += describeErrorTrace(codec.errorTrace().value_or(JsonErrorTrace{}));
        platform::log(line);
    }
    return result;
}

}  // namespace

std::optional<std::string> JSONRepresentation(const JsonValue& value) {
    JsonWriter writer;
    return loggingFailure(writer.stringWithObject(value), writer, "-JSONRepresentation");
}

std::optional<std::string> JSONFragment(const JsonValue& value) {
    JsonWriter writer;
    return loggingFailure(writer.stringWithFragment(value), writer, "-JSONFragment");
}

std::optional<JsonValue> JSONValue(std::string_view text) {
    JsonParser parser;
    return loggingFailure(parser.objectWithString(text), parser, "-JSONValue");
}

std::optional<JsonValue> JSONFragmentValue(std::string_view text) {
    JsonParser parser;
    return loggingFailure(parser.fragmentWithString(text), parser, "-JSONFragmentValue");
}

}  // namespace notes
