#pragma once

#include <string>
#include <string_view>

namespace platform {

// The UTF-16 helpers that stand in for NSString's unit-counting view of a text. Strings are UTF-8
// elsewhere; where a count or an index is in UTF-16 units, convert through these.

inline bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether a code point is a Unicode scalar value: one that UTF-8 and UTF-16 can hold (no surrogate,
// nothing past U+10FFFF).
inline bool isScalarValue(char32_t c) {
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// Appends the UTF-8 bytes of one code point (a surrogate value is encoded as it stands).
void appendUtf8(std::string& out, char32_t codePoint);
// One code point as a UTF-8 string of its own.
std::string utf8FromCodePoint(char32_t codePoint);

// Decodes the code point starting at unit i and sets units to 1 or 2; a lone surrogate reads as
// U+FFFD, so both encodings stay in step.
char32_t codePointAt(std::u16string_view text, size_t i, size_t& units);

// Whole-text conversions; malformed input becomes U+FFFD rather than being dropped.
std::string utf8FromUtf16(std::u16string_view text);
std::u16string utf16FromUtf8(std::string_view text);
// The code points of a UTF-8 text, one a character, for going through it character by character;
// malformed bytes read as U+FFFD exactly as utf16FromUtf8 reads them.
std::u32string utf32FromUtf8(std::string_view text);
// Text from outside (a stored note, a page, a file) made fit to show and to write out: the text
// itself when it is well-formed, else with each malformed byte read as U+FFFD exactly as
// utf16FromUtf8 reads it, so every reader and writer of one text shows the same characters.
std::string validUtf8(std::string_view text);

// Appends the UTF-16 units of one code point; a value that is no scalar value (a surrogate, or
// beyond U+10FFFF) becomes U+FFFD.
void appendUtf16(std::u16string& out, char32_t codePoint);

// Converter text (one 32-bit unit per code point, wchar_t being 32 bits here) to and from UTF-16.
// Neither touches the process locale; malformed input becomes U+FFFD, so lengths stay honest.
std::wstring wideFromUtf16(std::u16string_view text);
std::u16string utf16FromWide(std::wstring_view text);

}  // namespace platform
