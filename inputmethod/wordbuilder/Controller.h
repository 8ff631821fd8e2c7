#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "inputmethod/wordbuilder/Sang.h"
#include "inputmethod/wordbuilder/Word.h"

namespace quillora::wordbuilder {

// The word builder: splits a romanised key into pieces of the stem table, combines their
// alternatives under the marker and vowel-class rules, and turns the results into Mongolian
// letters; it also looks words up in its word list "words.db" (one process-wide connection,
// opened and closed around each search). Nothing in the running input method calls it.
class Controller {
  public:
    // Combining multiplies the alternatives of the pieces, which grows exponentially with the
    // length of the key. At most this many partial words are kept after each piece (the first
    // ones, in the order the rules produce them), which keeps a 30-letter key to about a
    // millisecond.
    static constexpr size_t kMaxPartialWords = 32;

    // With a non-empty Mongolian word: its related words. Otherwise, for a non-empty key: the
    // words of the exact search, then the built words, then the prefix search, each word once, in
    // that order. Otherwise nothing.
    static std::vector<std::string> execute(const std::optional<std::string>& key,
                                            const std::optional<std::string>& mongolianWord);
    // The words built from the key, each with a blank before it unless it begins with the suffix
    // space. A key of which no piece is listed builds no word.
    static std::vector<std::string> execute(const std::optional<std::string>& key);

    // The word list's words whose key is the key (at most 20), or begins with it (at most 5),
    // best first. The key's first character names the table; one that is no ASCII letter names
    // none, and the answer is empty.
    static std::vector<std::string> searchPrecisionFromDB(const std::optional<std::string>& key);
    static std::vector<std::string> searchIllegibilityFromDB(const std::optional<std::string>& key);
    // The related words stored with the word (trimmed of white space), read from the table of
    // the key of its first letter.
    static std::vector<std::string> searchCandidateWordFromDB(
        const std::optional<std::string>& mongolianWord);

    // Splits text (from UTF-16 unit `startIndex` on) into listed pieces, longest first, and
    // appends each piece's tokens to `result`; stops at the first rest with no listed prefix.
    static void keyEachSearch(const std::optional<std::string>& text, int32_t startIndex,
                              std::vector<Sang::Tokens>& result);
    // Every combination of one token per piece that the rules allow (see kMaxPartialWords).
    static std::vector<Word> constructer(const std::vector<Sang::Tokens>& pieces);
    // B appended to A.
    static Word implodePart(const Word& a, const Word& b);

    // Drops the word-list connection, so that the next search looks for the file again; for tests
    // that switch resource folders.
    static void reset();
};

}  // namespace quillora::wordbuilder
