#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notes/store/json/JsonBase.h"
#include "notes/store/json/JsonGrammar.h"
#include "notes/store/json/JsonValue.h"

namespace notes {

// Turns JSON text (UTF-8) into values. The text is read in place; string content is copied in
// whole runs.
class JsonParser : public JsonBase {
  public:
    // The array or object the text holds; absent text, a malformed text or any other value fails.
    std::optional<JsonValue> objectWithString(std::optional<std::string_view> text);
    // The value of any kind the text holds.
    std::optional<JsonValue> fragmentWithString(std::optional<std::string_view> text);

  private:
    // Each scanner reads from the cursor on and answers whether it produced its value.
    bool scanValue(JsonValue& o);
    bool scanRestOfTrue(JsonValue& o);
    bool scanRestOfFalse(JsonValue& o);
    bool scanRestOfNull(JsonValue& o);
    bool scanRestOfArray(JsonValue& o);
    bool scanRestOfDictionary(JsonValue& o);
    bool scanRestOfString(std::string& o);
    bool scanUnicodeChar(std::string& o);
    bool scanHexQuad(char32_t& o);
    bool scanNumber(JsonValue& o);
    bool scanIsAtEnd() const { return c == m_end; }

    bool scanRestOfWord(std::string_view rest, const char* error);
    void skipWhitespace() {
        // Compact text has none: one test settles it.
        while (c < m_end && static_cast<unsigned char>(*c) <= ' ' &&
               json_grammar::isSpace(static_cast<unsigned char>(*c))) {
            ++c;
        }
    }
    bool scanChar(char ch) {
        if (c == m_end || *c != ch) return false;
        ++c;
        return true;
    }
    bool scanSeparator(char closing, const char* trailingCommaError);

    const char* c = nullptr;  // the cursor
    const char* m_end = nullptr;
    // The sizes of the last arrays and objects closed, by depth and place in their parent.
    std::size_t sizeHintSlot(std::vector<std::size_t>& hints);
    static std::size_t sizeHint(const std::vector<std::size_t>& hints, std::size_t slot);
    std::size_t m_place = 0;  // of the value being read, in its array or object
    std::vector<std::size_t> m_arraySizes;
    std::vector<std::size_t> m_objectSizes;
};

}  // namespace notes
