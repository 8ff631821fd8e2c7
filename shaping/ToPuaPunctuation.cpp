#include "shaping/ToPua.h"

namespace {

constexpr wchar_t BIRGA = 0x1800;
constexpr wchar_t DIGIT_ZERO = 0x1810;
constexpr wchar_t DIGIT_NINE = 0x1819;
constexpr wchar_t DIGIT_GLYPH_ZERO = 0xE810;

// Glyph of a Mongolian punctuation mark that needs no context, or 0 when it has none.
wchar_t markGlyph(wchar_t c) {
    switch (c) {
        case 0x1801:
            return 0xE801;  // ellipsis
        case 0x1802:
            return 0xE802;  // comma
        case 0x1803:
            return 0xE803;  // full stop
        case 0x1804:
            return 0xE804;  // colon
        case 0x1805:
            return 0xE805;  // four dots
        case 0x1806:
            return 0xE806;  // Todo soft hyphen
        case 0x1807:
            return 0xE807;  // Sibe syllable boundary marker
        case 0x1809:
            return 0xE809;  // Manchu full stop; the Manchu comma has no glyph
        default:
            return 0;
    }
}

}  // namespace

bool CToPua::mapPunctuation(wchar_t c, wchar_t lookAhead, std::wstring& result) {
    wchar_t glyph = c;
    bool tookLookAhead = false;
    if (c == L'!') {
        tookLookAhead = lookAhead == L'?';
        glyph = tookLookAhead ? 0xE81B : 0xE81C;
    } else if (c == L'?') {
        tookLookAhead = lookAhead == L'!';
        glyph = tookLookAhead ? 0xE81A : 0xE81D;
    } else if (c == BIRGA) {
        // A selector after the birga picks its variant and is taken with it.
        tookLookAhead = isFVS(lookAhead);
        if (tookLookAhead) glyph = static_cast<wchar_t>(0xEA24 + (lookAhead - MN_FVS1));
    } else if (c >= DIGIT_ZERO && c <= DIGIT_NINE) {
        glyph = static_cast<wchar_t>(DIGIT_GLYPH_ZERO + (c - DIGIT_ZERO));
    } else if (const wchar_t mark = markGlyph(c); mark != 0) {
        glyph = mark;
    }
    // Appended as the code point itself: anything without a glyph, U+0000 included, passes.
    result.push_back(glyph);
    return tookLookAhead;
}
