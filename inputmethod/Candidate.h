#pragma once

#include <map>
#include <string>
#include <vector>

namespace quillora {

// One entry of a candidate list: string keys to UTF-8 string values. A dictionary candidate has
// "id", "char_word" (the Mongolian word, standard Unicode), "relations" and "bqr_biclg" (its
// romanised key); the transliteration of the typed letters has "char_word" alone.
using Candidate = std::map<std::string, std::string>;
using CandidateList = std::vector<Candidate>;

// The key under which a candidate holds the word that is shown and committed.
inline constexpr const char* kCandidateWordKey = "char_word";

// Whether the word is a suffix piece: it begins with U+202F (narrow no-break space), which joins
// a suffix to the word before it. An empty word is not.
inline bool isSuffixPiece(const std::u16string& word) {
    return !word.empty() && word.front() == u'\u202F';
}

// The word as a candidate list shows it. Drawn as it is, a suffix piece looks exactly like the
// same letters without the space before them; it gets a hyphen in front, as dictionaries print
// suffixes. The space stays, so the letters take the forms they will have once committed. Only
// for showing: what is committed is the word itself.
inline std::u16string shownWord(const std::u16string& word) {
    return isSuffixPiece(word) ? u"-" + word : word;
}

}  // namespace quillora
