#pragma once

#include <string>
#include <string_view>

namespace platform {

// NSCharacterSet's whitespaceAndNewlineCharacterSet: the characters Unicode calls white space
// (blanks of every width, the narrow no-break space U+202F among them, tabs and line breaks).
bool isWhitespaceOrNewline(char32_t c);

// The text without white space and line breaks at either end.
std::string trimmingWhitespaceAndNewlines(std::string_view text);

}  // namespace platform
