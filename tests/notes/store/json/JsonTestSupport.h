#pragma once

#include <string>
#include <vector>

#include "notes/store/json/JsonBase.h"
#include "notes/store/json/JsonValue.h"

namespace notes::testing {

inline std::vector<unsigned> errorCodes(const JsonBase& codec) {
    std::vector<unsigned> codes;
    if (codec.errorTrace()) {
        for (const JsonErrorPtr& error : *codec.errorTrace()) codes.push_back(error->code);
    }
    return codes;
}

inline std::vector<std::string> errorTexts(const JsonBase& codec) {
    std::vector<std::string> texts;
    if (codec.errorTrace()) {
        for (const JsonErrorPtr& error : *codec.errorTrace()) {
            texts.push_back(error->localizedDescription);
        }
    }
    return texts;
}

// The description of the first cause of the last failure.
inline std::string firstErrorText(const JsonBase& codec) {
    auto texts = errorTexts(codec);
    return texts.empty() ? std::string() : texts.front();
}

inline std::string nestedArrayText(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

inline JsonValue nestedArrayValue(std::size_t depth) {
    JsonValue value = JsonArray{};
    for (std::size_t i = 1; i < depth; ++i) {
        JsonArray outer;
        outer.push_back(std::move(value));
        value = std::move(outer);
    }
    return value;
}

}  // namespace notes::testing
