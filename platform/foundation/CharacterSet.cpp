#include "platform/foundation/CharacterSet.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace platform {

bool isWhitespaceOrNewline(char32_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

std::string trimmingWhitespaceAndNewlines(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !isWhitespaceOrNewline(static_cast<char32_t>(c))) break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !isWhitespaceOrNewline(static_cast<char32_t>(c))) break;
        end = previous;
    }
    return std::string(text.substr(start, end - start));
}

}  // namespace platform
