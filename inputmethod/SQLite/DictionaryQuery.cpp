#include "inputmethod/SQLite/DictionaryQuery.h"

namespace quillora {

std::optional<std::string> quotedTableForLetter(std::string_view letter) {
    if (letter.size() != 1) return std::nullopt;
    char c = letter[0];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c < 'a' || c > 'z') return std::nullopt;
    return std::string("\"") + c + "\"";
}

std::string likePrefixPattern(std::string_view prefix) {
    std::string pattern;
    for (char c : prefix) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + '%';
}

}  // namespace quillora
