#include "platform/foundation/UnicodeString.h"

#include "platform/foundation/UTF8.h"

namespace platform {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf8FromCodePoint(char32_t c) {
    std::string out;
    appendUtf8(out, c);
    return out;
}

// Decodes the code point at i and its unit count; a lone surrogate reads as U+FFFD.
char32_t codePointAt(std::u16string_view text, size_t i, size_t& units) {
    char16_t c = text[i];
    units = 1;
    if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    if (isHighSurrogate(c) || isLowSurrogate(c)) return 0xFFFD;
    return c;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size();) {
        size_t units = 0;
        appendUtf8(out, codePointAt(text, i, units));
        i += units;
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 1   ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                     : extra == 3 ? (b & 0x07)
                                  : b;
        bool valid = extra >= 0 && i + extra < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            unsigned char cont = static_cast<unsigned char>(text[i + k]);
            valid = (cont & 0xC0) == 0x80;
            c = (c << 6) | (cont & 0x3F);
        }
        // Overlong forms are refused: "\xC0\xAF" must not pass for a slash.
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c < kSmallest[extra]) {
            out += u'\uFFFD';
            i += 1;
            continue;
        }
        appendUtf16(out, c);
        i += extra + 1;
    }
    return out;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out += u'\uFFFD';
    } else if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

static_assert(sizeof(wchar_t) == 4, "converter text needs 32-bit wide characters");

std::u32string utf32FromUtf8(std::string_view text) {
    const std::u16string units = utf16FromUtf8(text);
    std::u32string out;
    out.reserve(units.size());
    for (size_t i = 0, n = 0; i < units.size(); i += n) out += codePointAt(units, i, n);
    return out;
}

std::string validUtf8(std::string_view text) {
    if (utf8::isValid(text)) return std::string(text);
    return utf8FromUtf16(utf16FromUtf8(text));
}

std::wstring wideFromUtf16(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t units = 0;
        out += static_cast<wchar_t>(codePointAt(text, i, units));
        i += units;
    }
    return out;
}

std::u16string utf16FromWide(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) appendUtf16(out, static_cast<char32_t>(c));
    return out;
}

}  // namespace platform
