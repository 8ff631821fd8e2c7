#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillora::tools {

// One entry of the word list as the build writes it into a database.
struct Entry {
    std::string text;   // the word, or a suffix piece beginning with U+202F
    std::string key;    // its romanised key, read back through the key map
    char table = 'a';   // the key's first letter, in lower case
    int64_t count = 0;  // corpus count
    bool isSuffix = false;
    int64_t id = 0;    // 1 for the best-ranked entry, then 2, 3 ...
    int64_t rank = 0;  // the active_order: larger comes first, unique
};

// Reads the word list ("<text>\t<count>" lines) and the suffix list, gives each entry its key
// and ranks them all together by count (a word before a suffix piece of the same count, then
// list order). Entries whose key cannot be formed are reported on stderr and left out. Absent,
// with *error set, when a file cannot be read or a line is malformed.
std::optional<std::vector<Entry>> readWordList(const std::string& keyMapPath,
                                               const std::string& wordsPath,
                                               const std::string& suffixesPath, std::string* error);

}  // namespace quillora::tools
