#include "notes/store/json/JsonGrammar.h"

#include <cstdint>
#include <cstring>

namespace notes::json_grammar {
namespace {

bool isDigit(const char* p, const char* end) {
    return p < end && *p >= '0' && *p <= '9';
}

const char* skipDigits(const char* p, const char* end) {
    while (isDigit(p, end)) ++p;
    return p;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

NumberScan scanNumberText(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* p = begin;
    if (p < end && *p == '-') ++p;
    if (p < end && *p == '0') {
        ++p;
        if (isDigit(p, end)) return {0, "Leading 0 disallowed in number"};
    } else {
        if (!isDigit(p, end)) return {0, "No digits after initial minus"};
        p = skipDigits(p, end);
    }
    if (p < end && *p == '.') {
        ++p;
        if (!isDigit(p, end)) return {0, "No digits after decimal point"};
        p = skipDigits(p, end);
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        if (!isDigit(p, end)) return {0, "No digits after exponent"};
        p = skipDigits(p, end);
    }
    return {static_cast<std::size_t>(p - begin), nullptr};
}

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        // Most text is ASCII: step over it eight bytes at a time.
        if (end - p >= 8) {
            std::uint64_t block;
            std::memcpy(&block, p, sizeof block);
            if ((block & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
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
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length) return false;
        if (p[1] < low || p[1] > high) return false;
        for (std::size_t i = 2; i < length; ++i) {
            if (!isContinuation(p[i])) return false;
        }
        p += length;
    }
    return true;
}

}  // namespace notes::json_grammar
