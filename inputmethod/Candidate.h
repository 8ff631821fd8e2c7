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

}  // namespace quillora
