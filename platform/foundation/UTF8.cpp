#include "platform/foundation/UTF8.h"

namespace platform::utf8 {

std::size_t anySequenceLength(const unsigned char* p, const unsigned char* end) {
    unsigned char lead = *p;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
    }
    return length;
}

// ASCII is stepped over eight bytes at a time, other characters one whole character at a time.
bool isValid(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        if (end - p >= 8 && (load64(p) & kHighBits) == 0) {
            p += 8;
            continue;
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = sequenceLength(p, end);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

}  // namespace platform::utf8
