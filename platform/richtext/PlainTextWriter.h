#pragma once

#include <string>

#include "platform/richtext/RichText.h"

namespace platform {

// The text of a rich text as the Mac's attributed strings give it: every paragraph ends with a
// line feed (the last one too), a line break inside a paragraph is a line feed, a list item's
// first line starts with a tab, its marker and a tab, and a picture stands as U+FFFC, the object
// replacement character. UTF-8.
std::string plainText(const RichText& text);

}  // namespace platform
