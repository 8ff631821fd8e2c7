#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "notes/store/json/JsonBase.h"
#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonValue.h"
#include "notes/store/json/JsonWriter.h"

namespace notes {

// One writer and one parser behind one object. After a failure the codec's own error trace is a
// copy of the one that failed; a success leaves it as it was.
class JsonCodec : public JsonBase {
  public:
    JsonCodec();

    std::optional<std::string> stringWithObject(const JsonValue& value);
    // A scalar is written only when allowScalar is set. On failure *error, when given, receives
    // the outermost error.
    std::optional<std::string> stringWithObject(const JsonValue& value, bool allowScalar,
                                                JsonErrorPtr* error);
    std::optional<std::string> stringWithFragment(const JsonValue& value, JsonErrorPtr* error);
    std::optional<std::string> stringWithObject(const JsonValue& value, JsonErrorPtr* error);

    std::optional<JsonValue> objectWithString(std::optional<std::string_view> text);
    std::optional<JsonValue> objectWithString(std::optional<std::string_view> text,
                                              bool allowScalar, JsonErrorPtr* error);
    std::optional<JsonValue> fragmentWithString(std::optional<std::string_view> text,
                                                JsonErrorPtr* error);
    std::optional<JsonValue> objectWithString(std::optional<std::string_view> text,
                                              JsonErrorPtr* error);

    // The parser's limit; setting it sets the writer's too.
    std::uint64_t maxDepth() const override { return jsonParser.maxDepth(); }
    void setMaxDepth(std::uint64_t maxDepth) override;

    bool humanReadable() const { return jsonWriter.humanReadable(); }
    void setHumanReadable(bool humanReadable) { jsonWriter.setHumanReadable(humanReadable); }
    bool sortKeys() const { return jsonWriter.sortKeys(); }
    void setSortKeys(bool sortKeys) { jsonWriter.setSortKeys(sortKeys); }

  private:
    // Takes over the trace of a failed operation of `part` and hands out its last error.
    template <class Result>
    Result adoptFailure(Result result, const JsonBase& part, JsonErrorPtr* error);

    JsonWriter jsonWriter;
    JsonParser jsonParser;
};

}  // namespace notes
