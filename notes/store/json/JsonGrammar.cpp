#include "notes/store/json/JsonGrammar.h"

#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace notes::json_grammar {
namespace {

bool isDigit(const char* p, const char* end) {
    return p < end && *p >= '0' && *p <= '9';
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

std::uint64_t load64(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Eight bytes at a time while there are eight: a byte is a digit when its high half is 3 and
// adding 6 leaves it 3. Carries out of a non-digit only reach later bytes, which are not looked at.
const char* skipDigits(const char* p, const char* end) {
    constexpr std::uint64_t kHighHalves = kOnes * 0xF0;
    constexpr std::uint64_t kThrees = kOnes * 0x30;
    while (end - p >= 8) {
        std::uint64_t w = load64(reinterpret_cast<const unsigned char*>(p));
        std::uint64_t others =
            ((w & kHighHalves) ^ kThrees) | (((w + kOnes * 6) & kHighHalves) ^ kThrees);
        if (others != 0) return p + std::countr_zero(others) / 8;
        p += 8;
    }
    while (isDigit(p, end)) ++p;
    return p;
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

namespace {

std::uint32_t load32(const unsigned char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Non-zero when one of the eight bytes is below 0x20, a quotation mark or a backslash. Bytes
// from 0x80 up are never special, so their high bit is kept out of each test.
std::uint64_t specialBytes(std::uint64_t w) {
    std::uint64_t ascii = ~w & kHighBits;
    std::uint64_t control = (w - kOnes * 0x20) & ascii;
    std::uint64_t quote = w ^ (kOnes * '"');
    std::uint64_t backslash = w ^ (kOnes * '\\');
    return control | ((quote - kOnes) & ~quote & kHighBits) |
           ((backslash - kOnes) & ~backslash & kHighBits);
}

// The length of the well-formed character of any length starting at p (whose lead byte is 0x80
// or above), or 0 when the bytes there are none; byte by byte.
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
        if (!isContinuation(p[i])) return 0;
    }
    return length;
}

// The same, with two- and three-byte characters (Mongolian and most other scripts) checked in
// one word with a mask, inline; only the rarer cases go byte by byte.
inline std::size_t sequenceLength(const unsigned char* p, const unsigned char* end) {
    if (end - p >= 4) {
        // Little-endian: the lead byte is the lowest. 1110xxxx 10xxxxxx 10xxxxxx, neither
        // overlong (E0 needs A0..BF next) nor a surrogate (ED needs 80..9F next).
        std::uint32_t word = load32(p);
        if ((word & 0xC0C0F0) == 0x8080E0) {
            unsigned char lead = *p;
            std::uint32_t second = (word >> 8) & 0xFF;
            bool fine = (lead != 0xE0 || second >= 0xA0) && (lead != 0xED || second <= 0x9F);
            return fine ? 3 : 0;
        }
        // 110xxxxx 10xxxxxx, not overlong (C0, C1).
        if ((word & 0xC0E0) == 0x80C0) return *p >= 0xC2 ? 2 : 0;
    }
    return anySequenceLength(p, end);
}

// Where plain ASCII content (no special byte, nothing from 0x80 up) ends, looked for sixteen
// bytes at a time where the processor has the instructions for it, eight otherwise.
inline const unsigned char* skipPlainAscii(const unsigned char* p, const unsigned char* end) {
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    while (end - p >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)),
                         _mm_cmpeq_epi8(_mm_subs_epu8(v, lastControl), _mm_setzero_si128()));
        // The high bit of each byte marks the start of a multi-byte character.
        auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(special, v)));
        if (stops != 0) return p + std::countr_zero(stops);
        p += 16;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t w = load64(p);
        std::uint64_t stops = (w & kHighBits) | specialBytes(w);
        if (stops != 0) return p + std::countr_zero(stops) / 8;
        p += 8;
    }
    while (p < end && *p < 0x80 && !kStringSpecialBytes[*p]) ++p;
    return p;
}

}  // namespace

// ASCII is stepped over eight bytes at a time, other characters one whole character at a time.
bool isValidUtf8(std::string_view text) {
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

// One pass for both: plain ASCII many bytes at a time, then each run of other characters one
// whole character at a time.
const char* scanStringContent(const char* begin, const char* end, bool& wellFormed) {
    const auto* p = reinterpret_cast<const unsigned char*>(begin);
    const auto* stop = reinterpret_cast<const unsigned char*>(end);
    wellFormed = true;
    for (;;) {
        p = skipPlainAscii(p, stop);
        if (p == stop || *p < 0x80) break;  // the end or a special byte
        do {
            std::size_t length = sequenceLength(p, stop);
            if (length == 0) {
                wellFormed = false;
                return reinterpret_cast<const char*>(p);
            }
            p += length;
        } while (p < stop && *p >= 0x80);
    }
    return reinterpret_cast<const char*>(p);
}

}  // namespace notes::json_grammar
