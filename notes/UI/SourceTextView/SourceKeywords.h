#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"

namespace zelvo {

// The keyword colours of a keyword list: a property list whose root is an array of dictionaries,
// each with "color-red", "color-green", "color-blue" (0 to 1) and "keywords" (words separated by
// blanks or line ends). Every word takes its entry's colour; a word in several entries takes the
// last one's. Absent when the file cannot be read or its root is not an array.
std::optional<std::map<std::string, platform::Color>> keywordColorsFromKeywordsPropertyList(
    const std::filesystem::path& path);

}  // namespace zelvo
