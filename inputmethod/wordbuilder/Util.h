#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "inputmethod/wordbuilder/Word.h"

namespace quillora::wordbuilder {

// The word builder's token parsing, vowel classes, compatibility rules and conversion to
// Mongolian letters. The marker tests and the vowel class use ICU regular expressions.
class Util {
  public:
    // Each character through the key map, or kept as it is when the map has no entry for it;
    // absent for absent input.
    static std::optional<std::string> key2char(const std::optional<std::string>& text);

    // A stem-table token: [*|^|S] letters [^|*] [_class].
    static Word parseWord(std::string_view token);

    static bool isDagbar(std::string_view text);  // begins with "*"
    static bool isSalanh(std::string_view text);  // begins with "S"
    static bool isEhi(std::string_view text);     // begins with "^"
    static bool isTugs(std::string_view text);    // ends with "^"
    static bool isHags(std::string_view text);    // ends with "*"

    // 1 when the last of the vowel letters a e q v o u (in either case) is a lower-case a, q or
    // v; 2 when it is another one; without those letters, 2 when the text holds "g", else 0.
    static int32_t getSex(std::string_view text);

    // The text without any "*" and "^" (an "S" stays).
    static std::string getRealKeyword(std::string_view text);

    // Whether B may follow A.
    static bool validate(const Word& a, const Word& b);
};

}  // namespace quillora::wordbuilder
