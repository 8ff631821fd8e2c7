#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Pieces of the statements that search Quillora's word tables (the dictionary and the word
// builder's list). Table names cannot be bound arguments, so only these names ever reach the
// statement text; everything typed is bound.

// The table of a key: its one ASCII letter in lower case, quoted for SQL ("\"a\""). Absent for
// anything else, which names no table.
std::optional<std::string> quotedTableForLetter(std::string_view letter);

// A LIKE pattern, for "like ? escape '\'", that matches every text beginning with `prefix` as it
// stands: "%", "_" and "\" in it are escaped.
std::string likePrefixPattern(std::string_view prefix);

}  // namespace quillora
