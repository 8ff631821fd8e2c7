#include "notes/UI/SourceTextView/SourceKeywords.h"

#include <sstream>

#include "platform/foundation/PropertyList.h"

namespace zelvo {

namespace {

// A colour component read as a single-precision number, as the list was always read.
float component(const platform::PropertyValue& entry, const char* key) {
    const platform::PropertyValue* value = entry.find(key);
    if (!value || !value->scalar()) return 0.0f;
    return static_cast<float>(value->scalar()->doubleValue());
}

}  // namespace

std::optional<std::map<std::string, platform::Color>> keywordColorsFromKeywordsPropertyList(
    const std::filesystem::path& path) {
    std::optional<platform::PropertyValue> root = platform::PropertyList::read(path);
    if (!root || !root->array()) return std::nullopt;
    std::map<std::string, platform::Color> colors;
    for (const platform::PropertyValue& entry : *root->array()) {
        if (!entry.dictionary()) continue;
        platform::Color color = platform::Color::calibratedRGB(component(entry, "color-red"),
                                                               component(entry, "color-green"),
                                                               component(entry, "color-blue"), 1.0);
        const platform::PropertyValue* keywords = entry.find("keywords");
        if (!keywords || !keywords->text()) continue;
        std::istringstream words(*keywords->text());
        for (std::string word; words >> word;) colors[word] = color;
    }
    return colors;
}

}  // namespace zelvo
