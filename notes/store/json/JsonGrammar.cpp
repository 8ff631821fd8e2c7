#include "notes/store/json/JsonGrammar.h"

#include <bit>
#include <cstdint>

#include "platform/foundation/UTF8.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace notes::json_grammar {
namespace {

bool isDigit(const char* p, const char* end) {
    return p < end && *p >= '0' && *p <= '9';
}

using platform::utf8::kHighBits;
using platform::utf8::load64;
using platform::utf8::sequenceLength;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

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
