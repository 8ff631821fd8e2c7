#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/UnicodeString.h"

// Reads JavaScript string literals the way the engine does, so tests can see exactly what a
// statement hands the page. Strict: a raw line break inside a literal, an unknown or cut escape,
// or a missing closing quote is an error (the engine would throw a SyntaxError).
namespace jsliteral {

inline int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

inline std::optional<uint32_t> readHex(std::string_view text, size_t& i, size_t digits) {
    if (i + digits > text.size()) return std::nullopt;
    uint32_t value = 0;
    for (size_t k = 0; k < digits; ++k) {
        int digit = hexValue(text[i + k]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + uint32_t(digit);
    }
    i += digits;
    return value;
}

// Decodes the literal starting at text[start] (a quotation mark or an apostrophe); `end` is set
// just past its closing quote.
inline std::optional<std::string> decode(std::string_view text, size_t start, size_t& end) {
    if (start >= text.size() || (text[start] != '"' && text[start] != '\'')) return std::nullopt;
    char quote = text[start];
    std::u16string units;
    size_t i = start + 1;
    auto appendRaw = [&](size_t from, size_t to) {
        units += platform::utf16FromUtf8(text.substr(from, to - from));
    };
    size_t rawStart = i;
    while (i < text.size()) {
        char c = text[i];
        if (c == quote) {
            appendRaw(rawStart, i);
            end = i + 1;
            return platform::utf8FromUtf16(units);
        }
        if (c == '\n' || c == '\r') return std::nullopt;
        if (c != '\\') {
            ++i;
            continue;
        }
        appendRaw(rawStart, i);
        if (++i >= text.size()) return std::nullopt;
        char e = text[i++];
        switch (e) {
            case 'n':
                units += u'\n';
                break;
            case 'r':
                units += u'\r';
                break;
            case 't':
                units += u'\t';
                break;
            case 'b':
                units += u'\b';
                break;
            case 'f':
                units += u'\f';
                break;
            case 'v':
                units += u'\v';
                break;
            case '0':
                if (i < text.size() && text[i] >= '0' && text[i] <= '9') return std::nullopt;
                units += u'\0';
                break;
            case 'x': {
                auto value = readHex(text, i, 2);
                if (!value) return std::nullopt;
                units += char16_t(*value);
                break;
            }
            case 'u': {
                std::optional<uint32_t> value;
                if (i < text.size() && text[i] == '{') {
                    size_t close = text.find('}', i);
                    if (close == std::string_view::npos || close == i + 1) return std::nullopt;
                    size_t k = i + 1;
                    value = readHex(text, k, close - i - 1);
                    i = close + 1;
                    if (!value || *value > 0x10FFFF) return std::nullopt;
                    if (*value >= 0x10000) {
                        uint32_t v = *value - 0x10000;
                        units += char16_t(0xD800 + (v >> 10));
                        units += char16_t(0xDC00 + (v & 0x3FF));
                        break;
                    }
                } else {
                    value = readHex(text, i, 4);
                }
                if (!value) return std::nullopt;
                units += char16_t(*value);
                break;
            }
            case '\n':
                break;  // line continuation
            default:
                if (e >= '1' && e <= '9') return std::nullopt;
                // Any other character stands for itself (\\, \", \', and the rest); a multi-byte
                // one is copied whole by the raw run that follows.
                --i;
                rawStart = i;
                ++i;
                while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
                appendRaw(rawStart, i);
                break;
        }
        rawStart = i;
    }
    return std::nullopt;
}

// The string arguments of a call "<function>(<literal>, <literal>...);" making up the whole
// statement; absent when the statement is another one or an argument is not a valid literal.
inline std::optional<std::vector<std::string>> callArguments(std::string_view statement,
                                                             std::string_view function) {
    std::string prefix = std::string(function) + "(";
    if (statement.substr(0, prefix.size()) != prefix) return std::nullopt;
    std::vector<std::string> arguments;
    size_t i = prefix.size();
    auto skipBlanks = [&] {
        while (i < statement.size() && statement[i] == ' ') ++i;
    };
    skipBlanks();
    if (i < statement.size() && statement[i] == ')') {
        ++i;
    } else {
        while (true) {
            size_t end = 0;
            auto argument = decode(statement, i, end);
            if (!argument) return std::nullopt;
            arguments.push_back(*argument);
            i = end;
            skipBlanks();
            if (i < statement.size() && statement[i] == ',') {
                ++i;
                skipBlanks();
                continue;
            }
            if (i < statement.size() && statement[i] == ')') {
                ++i;
                break;
            }
            return std::nullopt;
        }
    }
    if (statement.substr(i) != ";" && statement.substr(i) != "") return std::nullopt;
    return arguments;
}

}  // namespace jsliteral
