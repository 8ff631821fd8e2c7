#pragma once

// UTF-8 checks for text that comes from outside (database columns, JSON documents): plain ASCII
// many bytes at a time, since most text is; other characters one whole character at a time.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform::utf8 {

inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

inline std::uint64_t load64(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

inline std::uint32_t load32(const unsigned char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Whether no byte is 0x80 or above. Blocks of sixteen bytes (where the processor has the
// instructions, else eight) are ORed together without a branch per block; the last block is read
// where the text ends, overlapping bytes already seen, so that no byte is looked at alone.
inline bool isAscii(const unsigned char* p, std::size_t length) {
#ifdef __SSE2__
    if (length >= 16) {
        auto load = [](const unsigned char* at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        };
        __m128i seen = load(p + length - 16);
        for (std::size_t i = 0; i + 16 < length; i += 16) seen = _mm_or_si128(seen, load(p + i));
        return _mm_movemask_epi8(seen) == 0;
    }
#endif
    if (length >= 8) {
        std::uint64_t seen = load64(p + length - 8);
        std::size_t i = 0;
        for (; i + 16 < length; i += 16) seen |= load64(p + i) | load64(p + i + 8);
        if (i + 8 < length) seen |= load64(p + i);
        return (seen & kHighBits) == 0;
    }
    if (length >= 4) return ((load32(p) | load32(p + length - 4)) & 0x80808080U) == 0;
    unsigned char seen = 0;
    for (std::size_t i = 0; i < length; ++i) seen |= p[i];
    return seen < 0x80;
}

// The length of the well-formed character of any length at p (whose lead byte is 0x80 or
// above), or 0 when the bytes there are none; byte by byte.
std::size_t anySequenceLength(const unsigned char* p, const unsigned char* end);

// The same, with two- and three-byte characters (Mongolian and most other scripts) checked in
// one word with a mask; only the rarer cases go byte by byte.
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

// Whether the whole text is well-formed UTF-8: no overlong forms, surrogates or code points past
// U+10FFFF.
bool isValid(std::string_view text);

}  // namespace platform::utf8
