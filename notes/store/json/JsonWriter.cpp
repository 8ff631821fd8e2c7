#include "notes/store/json/JsonWriter.h"

#include <algorithm>
#include <vector>

#include "notes/store/json/JsonGrammar.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UTF8.h"

namespace notes {
namespace {

// The escape of one string-special byte. Every other byte, the solidus and all of UTF-8 beyond
// ASCII included, is written unchanged.
void appendEscaped(unsigned char byte, std::string& json) {
    switch (byte) {
        case '\b':
            json += "\\b";
            break;
        case '\t':
            json += "\\t";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\r':
            json += "\\r";
            break;
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        default:
            json += platform::stringWithFormat("\\u%04x", byte);
            break;
    }
}

// Key order of the platform's string comparison, which compares UTF-16 units: characters past
// U+FFFF (surrogate pairs) come before U+E000–U+FFFF, unlike in plain UTF-8 byte order.
bool precedesInUtf16Order(std::string_view a, std::string_view b) {
    auto [endA, endB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (endB == b.end()) return false;
    if (endA == a.end()) return true;
    std::size_t at = static_cast<std::size_t>(endA - a.begin());
    std::size_t start = at;  // first byte of the character where the two part
    while (start > 0 && (static_cast<unsigned char>(a[start]) & 0xC0) == 0x80) --start;
    auto leadA = static_cast<unsigned char>(a[start]);
    auto leadB = static_cast<unsigned char>(b[start]);
    bool beyondA = leadA >= 0xF0, beyondB = leadB >= 0xF0;
    bool highA = leadA == 0xEE || leadA == 0xEF, highB = leadB == 0xEE || leadB == 0xEF;
    if (beyondA && highB) return true;
    if (highA && beyondB) return false;
    return static_cast<unsigned char>(a[at]) < static_cast<unsigned char>(b[at]);
}

}  // namespace

std::optional<std::string> JsonWriter::stringWithObject(const JsonValue& value) {
    if (value.isArray() || value.isObject()) return stringWithFragment(value);
    clearErrorTrace();
    addErrorWithCode(JsonErrorNotContainer, "Not valid type for JSON");
    return std::nullopt;
}

std::optional<std::string> JsonWriter::stringWithFragment(const JsonValue& value) {
    clearErrorTrace();
    resetDepth();
    std::string json;
    json.reserve(128);
    if (!appendValue(value, json)) return std::nullopt;
    return json;
}

bool JsonWriter::appendValue(const JsonValue& value, std::string& json) {
    if (const JsonObject* object = value.object()) return appendDictionary(*object, json);
    if (const JsonArray* array = value.array()) return appendArray(*array, json);
    if (const std::string* string = value.string()) return appendString(*string, json);
    if (const JsonNumber* number = value.number()) return appendNumber(*number, json);
    if (auto boolean = value.boolean()) {
        json += *boolean ? "true" : "false";
        return true;
    }
    json += "null";
    return true;
}

bool JsonWriter::appendArray(const JsonArray& array, std::string& json) {
    Nesting nesting(*this);
    if (!nesting.entered()) return false;
    json += '[';
    bool first = true;
    for (const JsonValue& element : array) {
        appendItemStart(first, json);
        if (!appendValue(element, json)) return false;
    }
    appendClosing(nesting, array.empty(), ']', json);
    return true;
}

bool JsonWriter::appendDictionary(const JsonObject& dictionary, std::string& json) {
    Nesting nesting(*this);
    if (!nesting.entered()) return false;
    json += '{';
    std::vector<const JsonObject::Member*> members;
    members.reserve(dictionary.size());
    for (const JsonObject::Member& member : dictionary) members.push_back(&member);
    if (m_sortKeys) {
        std::sort(members.begin(), members.end(), [](const auto* a, const auto* b) {
            return precedesInUtf16Order(a->first, b->first);
        });
    }
    bool first = true;
    for (const JsonObject::Member* member : members) {
        appendItemStart(first, json);
        // A key that is not UTF-8 is no string at all.
        if (!platform::utf8::isValid(member->first)) {
            addErrorWithCode(JsonErrorUnsupportedValue, "JSON object key must be string");
            return false;
        }
        appendString(member->first, json);
        json += ':';
        if (!appendValue(member->second, json)) {
            addErrorWithCode(JsonErrorUnsupportedValue,
                             "Unsupported value for key " + member->first + " in object");
            return false;
        }
    }
    appendClosing(nesting, dictionary.empty(), '}', json);
    return true;
}

bool JsonWriter::appendString(std::string_view string, std::string& json) {
    // Text that is not UTF-8 would make the whole document unreadable.
    if (!platform::utf8::isValid(string)) {
        addErrorWithCode(JsonErrorUnsupportedValue,
                         "JSON serialisation not supported for a string that is not UTF-8");
        return false;
    }
    json += '"';
    std::size_t run = 0;  // start of the bytes not yet copied
    for (std::size_t i = 0; i < string.size(); ++i) {
        auto byte = static_cast<unsigned char>(string[i]);
        if (!json_grammar::kStringSpecialBytes[byte]) continue;
        json.append(string, run, i - run);
        appendEscaped(byte, json);
        run = i + 1;
    }
    json.append(string, run, string.size() - run);
    json += '"';
    return true;
}

bool JsonWriter::appendNumber(const JsonNumber& number, std::string& json) {
    // nan, inf and any other text that is no JSON number would make the document unreadable.
    if (!number.isValid()) {
        addErrorWithCode(JsonErrorUnsupportedValue,
                         "JSON serialisation not supported for " + std::string(number.text()));
        return false;
    }
    json += number.text();
    return true;
}

void JsonWriter::appendItemStart(bool& first, std::string& json) {
    if (!first) json += ',';
    first = false;
    if (m_humanReadable) json += indent();
}

void JsonWriter::appendClosing(Nesting& nesting, bool empty, char bracket, std::string& json) {
    nesting.leave();
    if (m_humanReadable && !empty) json += indent();
    json += bracket;
}

std::string JsonWriter::indent() const {
    std::string text = "\n";
    text.append(2 * depth(), ' ');
    return text;
}

}  // namespace notes
