#include "notes/store/json/JsonParser.h"

#include <algorithm>

#include "notes/store/json/JsonGrammar.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"

namespace notes {
namespace {

int hexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

std::string byteDescription(const char* format, unsigned char byte) {
    return platform::stringWithFormat(format, static_cast<unsigned>(byte));
}

}  // namespace

std::optional<JsonValue> JsonParser::objectWithString(std::optional<std::string_view> text) {
    auto value = fragmentWithString(text);
    if (!value) return std::nullopt;
    if (!value->isArray() && !value->isObject()) {
        addErrorWithCode(JsonErrorNotContainer, "Valid fragment, but not JSON");
        return std::nullopt;
    }
    return value;
}

std::optional<JsonValue> JsonParser::fragmentWithString(std::optional<std::string_view> text) {
    clearErrorTrace();
    if (!text) {
        addErrorWithCode(JsonErrorNoInput, "Input was 'nil'");
        return std::nullopt;
    }
    resetDepth();
    m_place = 0;
    c = text->data();
    m_end = c + text->size();
    JsonValue value;
    bool scanned = scanValue(value);
    if (scanned) {
        skipWhitespace();
        if (!scanIsAtEnd()) {
            addErrorWithCode(JsonErrorGarbageAfterJson, "Garbage after JSON");
            scanned = false;
        }
    }
    c = m_end = nullptr;  // the text is the caller's; keep no pointer into it
    if (!scanned) return std::nullopt;
    return value;
}

// After an element or member: an optional comma, which must not come right before the closing
// bracket.
bool JsonParser::scanSeparator(char closing, const char* trailingCommaError) {
    skipWhitespace();
    if (!scanChar(',')) return true;
    skipWhitespace();
    if (c < m_end && *c == closing) {
        addErrorWithCode(JsonErrorTrailingComma, trailingCommaError);
        return false;
    }
    return true;
}

bool JsonParser::scanValue(JsonValue& o) {
    skipWhitespace();
    if (scanIsAtEnd()) {
        addErrorWithCode(JsonErrorUnexpectedEnd, "Unexpected end of string");
        return false;
    }
    switch (*c++) {
        case '"': {
            std::string string;
            if (!scanRestOfString(string)) return false;
            o = std::move(string);
            return true;
        }
        case '+':
            addErrorWithCode(JsonErrorMalformedNumber, "Leading + disallowed in number");
            return false;
        case '-':
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9':
            --c;
            return scanNumber(o);
        case '[':
            return scanRestOfArray(o);
        case '{':
            return scanRestOfDictionary(o);
        case 't':
            return scanRestOfTrue(o);
        case 'f':
            return scanRestOfFalse(o);
        case 'n':
            return scanRestOfNull(o);
        default:
            addErrorWithCode(JsonErrorMalformedValue, "Unrecognised leading character");
            return false;
    }
}

bool JsonParser::scanRestOfWord(std::string_view rest, const char* error) {
    if (static_cast<std::size_t>(m_end - c) < rest.size() ||
        std::string_view(c, rest.size()) != rest) {
        addErrorWithCode(JsonErrorMalformedValue, error);
        return false;
    }
    c += rest.size();
    return true;
}

bool JsonParser::scanRestOfTrue(JsonValue& o) {
    if (!scanRestOfWord("rue", "Expected 'true'")) return false;
    o = true;
    return true;
}

bool JsonParser::scanRestOfFalse(JsonValue& o) {
    if (!scanRestOfWord("alse", "Expected 'false'")) return false;
    o = false;
    return true;
}

bool JsonParser::scanRestOfNull(JsonValue& o) {
    if (!scanRestOfWord("ull", "Expected 'null'")) return false;
    o = JsonNull{};
    return true;
}

// Containers of a document tend to repeat their shape: the elements of one array are alike, and
// the member in the same place of alike objects holds alike values. So the room made for a
// container is what the last one closed at the same depth and the same place in its parent
// needed. The slot is found again at the close, since deeper levels may grow the table. The hint
// is capped: after one huge array, text that alternates it with tiny ones must not make each tiny
// one hold room for the huge one.
std::size_t JsonParser::sizeHintSlot(std::vector<std::size_t>& hints) {
    constexpr std::size_t kPlaces = 16;
    auto slot = static_cast<std::size_t>(depth()) * kPlaces + m_place % kPlaces;
    if (hints.size() <= slot) hints.resize(slot + kPlaces, 0);
    return slot;
}

std::size_t JsonParser::sizeHint(const std::vector<std::size_t>& hints, std::size_t slot) {
    constexpr std::size_t kLargestHint = 1024;
    return std::min(hints[slot], kLargestHint);
}

// Elements need no comma between them: white space alone separates them too. Each element is read
// straight into its place.
bool JsonParser::scanRestOfArray(JsonValue& o) {
    Nesting nesting(*this);
    if (!nesting.entered()) return false;
    const std::size_t slot = sizeHintSlot(m_arraySizes);
    JsonArray array;
    array.reserve(sizeHint(m_arraySizes, slot));
    while (!scanIsAtEnd()) {
        skipWhitespace();
        if (scanChar(']')) {
            m_arraySizes[slot] = array.size();
            o = std::move(array);
            return true;
        }
        m_place = array.size();
        if (!scanValue(array.emplace_back())) {
            addErrorWithCode(JsonErrorMalformedValue, "Expected value while parsing array");
            return false;
        }
        if (!scanSeparator(']', "Trailing comma disallowed in array")) return false;
    }
    addErrorWithCode(JsonErrorUnexpectedEnd, "End of input while parsing array");
    return false;
}

// Members need no comma between them either; a repeated key keeps the last value. Members are
// read in place as the elements of an array are.
bool JsonParser::scanRestOfDictionary(JsonValue& o) {
    Nesting nesting(*this);
    if (!nesting.entered()) return false;
    const std::size_t slot = sizeHintSlot(m_objectSizes);
    std::vector<JsonObject::Member> members;
    members.reserve(sizeHint(m_objectSizes, slot));
    while (!scanIsAtEnd()) {
        skipWhitespace();
        if (scanChar('}')) {
            m_objectSizes[slot] = members.size();
            o = JsonObject(std::move(members));
            return true;
        }
        JsonObject::Member& member = members.emplace_back();
        if (!scanChar('"') || !scanRestOfString(member.first)) {
            addErrorWithCode(JsonErrorMalformedValue, "Object key string expected");
            return false;
        }
        skipWhitespace();
        if (!scanChar(':')) {
            addErrorWithCode(JsonErrorMalformedValue, "Expected ':' separating key and value");
            return false;
        }
        m_place = members.size() - 1;
        if (!scanValue(member.second)) {
            addErrorWithCode(JsonErrorMalformedValue,
                             "Object value expected for key: " + member.first);
            return false;
        }
        if (!scanSeparator('}', "Trailing comma disallowed in object")) return false;
    }
    addErrorWithCode(JsonErrorUnexpectedEnd, "End of input while parsing object");
    return false;
}

bool JsonParser::scanRestOfString(std::string& o) {
    for (;;) {
        const char* run = c;
        bool wellFormed = true;
        c = json_grammar::scanStringContent(c, m_end, wellFormed);
        if (!wellFormed) {
            addErrorWithCode(JsonErrorInvalidUtf8, "Invalid UTF-8 in string");
            return false;
        }
        if (c > run) {
            std::string_view content(run, static_cast<std::size_t>(c - run));
            o.append(content);
        }
        // The end of the text counts as a NUL: an unterminated string is a control character.
        unsigned char byte = c < m_end ? static_cast<unsigned char>(*c) : 0;
        if (byte == '"') {
            ++c;
            return true;
        }
        if (byte != '\\') {
            addErrorWithCode(JsonErrorControlCharacter,
                             byteDescription("Unescaped control character '0x%x'", byte));
            return false;
        }
        if (++c == m_end) {
            addErrorWithCode(JsonErrorUnexpectedEnd, "Unexpected EOF while parsing string");
            return false;
        }
        auto escape = static_cast<unsigned char>(*c++);
        switch (escape) {
            case '"':
            case '/':
            case '\\':
                o += static_cast<char>(escape);
                break;
            case 'b':
                o += '\b';
                break;
            case 'f':
                o += '\f';
                break;
            case 'n':
                o += '\n';
                break;
            case 'r':
                o += '\r';
                break;
            case 't':
                o += '\t';
                break;
            case 'u':
                if (!scanUnicodeChar(o)) {
                    addErrorWithCode(JsonErrorBadUnicodeEscape, "Broken unicode character");
                    return false;
                }
                break;
            default:
                addErrorWithCode(JsonErrorIllegalEscape,
                                 byteDescription("Illegal escape sequence '0x%x'", escape));
                return false;
        }
    }
}

// After "\u": one character, or a surrogate pair written as two escapes.
bool JsonParser::scanUnicodeChar(std::string& o) {
    char32_t high;
    if (!scanHexQuad(high)) {
        addErrorWithCode(JsonErrorBadUnicodeEscape, "Missing hex quad");
        return false;
    }
    if (high < 0xD800 || high > 0xDFFF) {
        platform::appendUtf8(o, high);
        return true;
    }
    if (high >= 0xDC00) {
        addErrorWithCode(JsonErrorBadUnicodeEscape, "Invalid high character in surrogate pair");
        return false;
    }
    char32_t low;
    if (m_end - c < 2 || c[0] != '\\' || c[1] != 'u' || (c += 2, !scanHexQuad(low))) {
        addErrorWithCode(JsonErrorBadUnicodeEscape, "Missing low character in surrogate pair");
        return false;
    }
    if (low < 0xDC00 || low > 0xDFFF) {
        addErrorWithCode(JsonErrorBadUnicodeEscape, "Invalid low surrogate char");
        return false;
    }
    platform::appendUtf8(o, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
    return true;
}

bool JsonParser::scanHexQuad(char32_t& o) {
    o = 0;
    for (int i = 0; i < 4; ++i) {
        int digit = c < m_end ? hexDigitValue(*c) : -1;
        if (digit < 0) {
            addErrorWithCode(JsonErrorBadUnicodeEscape, "Missing hex digit in quad");
            return false;
        }
        o = o * 16 + static_cast<char32_t>(digit);
        ++c;
    }
    return true;
}

bool JsonParser::scanNumber(JsonValue& o) {
    auto scan =
        json_grammar::scanNumberText(std::string_view(c, static_cast<std::size_t>(m_end - c)));
    if (scan.error) {
        addErrorWithCode(JsonErrorMalformedNumber, scan.error);
        return false;
    }
    o.m_storage.emplace<JsonNumber>(std::string_view(c, scan.length));
    c += scan.length;
    return true;
}

}  // namespace notes
