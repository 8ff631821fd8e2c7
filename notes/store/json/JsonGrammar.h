#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Lexical pieces that the reader, the writer and the number type share.
namespace notes::json_grammar {

// Blank, tab, line feed, vertical tab, form feed and carriage return.
inline bool isSpace(unsigned char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// Bytes that cannot stand in a string as they are: control characters (NUL included), the
// quotation mark and the backslash. The writer escapes them; the reader ends a run of plain
// content at them.
inline constexpr std::array<bool, 256> kStringSpecialBytes = [] {
    std::array<bool, 256> table{};
    for (int byte = 0; byte < 0x20; ++byte) table[byte] = true;
    table['"'] = true;
    table['\\'] = true;
    return table;
}();

// Result of reading a number from the front of a text: the bytes it spans, or why it is none.
struct NumberScan {
    std::size_t length = 0;
    const char* error = nullptr;  // set when the text does not start with a well-formed number
};

// Reads an optional minus sign, the integer digits (no leading 0 before another digit), an
// optional fraction and an optional exponent.
NumberScan scanNumberText(std::string_view text);

// Reads string content from `begin` on, up to the first special byte or `end`, checking its UTF-8
// on the way; answers where it stopped. `wellFormed` is false when it stopped at bytes that are
// not UTF-8.
const char* scanStringContent(const char* begin, const char* end, bool& wellFormed);

}  // namespace notes::json_grammar
