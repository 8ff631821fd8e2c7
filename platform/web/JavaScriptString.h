#pragma once

#include <string>
#include <string_view>

namespace platform {

// The body of a double-quoted JavaScript string literal that evaluates to exactly the given UTF-8
// text: backslashes, both quotation marks, line feeds, carriage returns, the line and paragraph
// separators U+2028/U+2029 and every other control character are escaped, so no text can end the
// literal early or break the statement around it. Everything else, curly quotes and Mongolian
// included, passes unchanged. Put the result between double quotation marks.
std::string escapeJavaScriptString(std::string_view text);

// A complete double-quoted literal: "\"" + escapeJavaScriptString(text) + "\"".
std::string quoteJavaScriptString(std::string_view text);

}  // namespace platform
