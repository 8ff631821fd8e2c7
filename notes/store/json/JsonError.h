#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notes {

inline constexpr std::string_view JsonErrorDomain = "org.zelvo.json";

// The codes of the codec's errors; the descriptions say more.
enum JsonErrorCode : unsigned {
    JsonErrorUnsupportedValue = 1,   // a value or key that cannot be written
    JsonErrorMalformedNumber = 2,    //
    JsonErrorMalformedValue = 3,     // a malformed value or structure
    JsonErrorNotContainer = 4,       // the top-level value is not an array or object
    JsonErrorControlCharacter = 5,   // an unescaped control character inside a string
    JsonErrorBadUnicodeEscape = 6,   //
    JsonErrorNestedTooDeep = 7,      // nesting beyond the limit
    JsonErrorIllegalEscape = 8,      //
    JsonErrorTrailingComma = 9,      // a comma right before a closing bracket
    JsonErrorGarbageAfterJson = 10,  // text after the value
    JsonErrorUnexpectedEnd = 11,     // the text ends too early
    JsonErrorNoInput = 12,           //
    JsonErrorInvalidUtf8 = 13,       // string content that is not UTF-8
};

// One entry of an error trace. Every entry after the first of an operation points at the entry
// before it, so following `underlyingError` from the outermost report leads to the first cause.
struct JsonError {
    std::string domain;
    unsigned code = 0;
    std::string localizedDescription;
    std::shared_ptr<const JsonError> underlyingError;

    // "Error Domain=<domain> Code=<code> "<description>"".
    std::string description() const;
};

using JsonErrorPtr = std::shared_ptr<const JsonError>;
// Oldest first; the last entry is the outermost report.
using JsonErrorTrace = std::vector<JsonErrorPtr>;

// One line per error inside parentheses, oldest first, for the log.
std::string describeErrorTrace(const JsonErrorTrace& trace);

}  // namespace notes
